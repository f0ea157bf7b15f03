#pragma once

// The number boxes of the drill settings window: an editable field with a drop-down list of whole
// numbers. Typed text never becomes a list entry. The box tells a choice from its list (picked in the
// drop-down, or stepped to with the arrow keys or the wheel) apart from typed text that merely
// matches an entry when the field is left, which Qt reports the same way.

#include <QComboBox>

class NumberCombo : public QComboBox {
    Q_OBJECT
public:
    NumberCombo(const QString& objectName, QWidget* parent);

    // Replaces the list with the whole numbers from first to last in steps, ascending; the text
    // stays as it was and no signal is raised.
    void fillRange(int first, int last, int step = 1);
    // Sets the text without raising any signal.
    void setTextQuietly(const QString& text);

signals:
    // The student chose an entry of the list.
    void entryPicked(int index);
    // The keyboard focus left the box (not for the box's own drop-down).
    void lostFocus();

protected:
    void hidePopup() override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool picking_ = false;
};
