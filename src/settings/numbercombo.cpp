#include "numbercombo.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

NumberCombo::NumberCombo(const QString& objectName, QWidget* parent) : QComboBox(parent) {
    setObjectName(objectName);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(16);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (!picking_)
            return; // typed text that happens to match an entry, reported when the field was left
        picking_ = false;
        emit entryPicked(index);
    });
}

void NumberCombo::fillRange(int first, int last, int step) {
    const QSignalBlocker quiet(this);
    const QString text = currentText();
    clear();
    for (int n = first; n <= last; n += std::max(step, 1))
        addItem(QString::number(n));
    // Adding the first entry makes it current and copies it into the field.
    setCurrentIndex(-1);
    setEditText(text);
}

void NumberCombo::setTextQuietly(const QString& text) {
    const QSignalBlocker quiet(this);
    setEditText(text);
}

void NumberCombo::hidePopup() {
    // When the drop-down closes on a choice, Qt reports the choice right after this call returns.
    picking_ = true;
    QComboBox::hidePopup();
    QTimer::singleShot(0, this, [this] { picking_ = false; });
}

void NumberCombo::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool steps =
        key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown;
    const QScopedValueRollback<bool> pick(picking_, picking_ || steps);
    QComboBox::keyPressEvent(event);
}

void NumberCombo::wheelEvent(QWheelEvent* event) {
    const QScopedValueRollback<bool> pick(picking_, true);
    QComboBox::wheelEvent(event);
}

void NumberCombo::focusOutEvent(QFocusEvent* event) {
    if (event->reason() != Qt::PopupFocusReason)
        emit lostFocus();
    QComboBox::focusOutEvent(event);
}
