#pragma once

// The answer field of the timed games: the student types a whole number and the game checks it once
// enough characters stand. Digits, "-" and Backspace are taken, always at the end of the text
// whatever is selected or wherever the insertion point is, so the text checked is exactly the text
// shown; every other key is refused with a beep, Tab too: the focus stays, so the next answer typed
// still lands here while the clock runs. Nothing else reaches the text: no paste (by key, context
// menu or Edit > Paste), no drop, no undo.

#include <QLineEdit>

#include <functional>

class AnswerField : public QLineEdit {
    Q_OBJECT
public:
    AnswerField(const QString& objectName, QWidget* parent);

    // Asked before a digit is taken; a digit refused here beeps. By default every digit is taken.
    void setDigitGate(std::function<bool()> gate) { gate_ = std::move(gate); }

    // The largest text size; a longer answer is shown smaller so that it stays whole.
    void setLargestTextSize(int pixels);

    // Empties the field, or writes the program's own text into it (taken without a beep).
    void empty();
    void display(const QString& text);

signals:
    // A digit was taken; `text` is the field's text with it, as now shown.
    void digitTyped(const QString& text);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void takeBack();

    void fitText();

    std::function<bool()> gate_;
    int largest_ = 0;
    QString accepted_;
};
