#include "ghostef.h"

#include <QKeyEvent>
#include <QTimer>

ghostEF::ghostEF(QWidget* parent) : QLineEdit(parent) {
    setTextColor(Qt::black);
}

const QColor& ghostEF::hintColor() {
    static const QColor c(204, 204, 204);
    return c;
}

QColor ghostEF::textColor() const {
    return palette().color(QPalette::Text);
}

void ghostEF::setTextColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Text, color);
    setPalette(p);
}

void ghostEF::setMyText(const QString& value, const QString& hint) {
    if (!value.isEmpty()) {
        setTextColor(Qt::black);
        setText(value);
        setToValue = true;
    } else if (!hint.isEmpty()) {
        setTextColor(hintColor());
        setText(hint);
        setToValue = false;
    } else {
        clear();
    }
}

void ghostEF::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (setToValue) {
        // A click places the cursor after the focus arrives; select once that is done.
        QTimer::singleShot(0, this, &QLineEdit::selectAll);
    } else {
        clear();
        setTextColor(Qt::black);
    }
}

void ghostEF::noteKey() {
    setToValue = true;
    emit myTextChanged(static_cast<int>(text().size()));
}

bool ghostEF::event(QEvent* event) {
    // Tab moves the focus before keyPressEvent would see it, yet it counts as a key like any other.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
            noteKey();
    }
    return QLineEdit::event(event);
}

void ghostEF::keyPressEvent(QKeyEvent* event) {
    // A Tab that got this far was noted on its way through event().
    if (event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab) {
        // The hint can come back while the field keeps the focus (after its value was used up);
        // the next key then starts a new value instead of editing the hint.
        if (!setToValue && textColor() == hintColor()) {
            clear();
            setTextColor(Qt::black);
        }
        noteKey();
    }
    QLineEdit::keyPressEvent(event);
}
