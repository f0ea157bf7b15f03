#pragma once

// A one-line text field that shows either a value in black or a hint in light grey. The hint goes
// away when the field gets the keyboard focus; the field remembers whether it shows a real value.

#include <QLineEdit>

class ghostEF : public QLineEdit {
    Q_OBJECT
public:
    explicit ghostEF(QWidget* parent = nullptr);

    // A value shows in black; otherwise a hint shows in grey; with neither the field is emptied and
    // keeps its colour and state.
    void setMyText(const QString& value, const QString& hint);
    // True while the field holds a value rather than a hint or nothing.
    bool holdsValue() const { return setToValue; }
    QColor textColor() const;

    static const QColor& hintColor();

signals:
    // Every key that reaches the field, with the length of the text before the key is applied.
    void myTextChanged(int length);

protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setTextColor(const QColor& color);
    void noteKey();

    bool setToValue = false;
};
