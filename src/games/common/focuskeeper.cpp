#include "focuskeeper.h"

#include "data/seams.h"

#include <QKeyEvent>

namespace GameKeys {

bool isModifierOnly(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Meta || key == Qt::Key_Alt ||
           key == Qt::Key_AltGr || key == Qt::Key_CapsLock || key == Qt::Key_NumLock;
}

bool keepTab(QEvent* event, const std::function<void(QKeyEvent*)>& keyPress) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
        return false;
    keyPress(key);
    return true;
}

} // namespace GameKeys

FocusKeeper::FocusKeeper(const QString& objectName, QWidget* parent, std::function<bool(QKeyEvent*)> takes)
    : QLineEdit(parent), takes_(std::move(takes)) {
    setObjectName(objectName);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool FocusKeeper::event(QEvent* event) {
    // The field must not keep Ctrl+Z and Ctrl+W for its own editing: they belong to the menus.
    if (event->type() == QEvent::ShortcutOverride)
        return QWidget::event(event);
    // Tab would otherwise move the focus off the field and away from the keys.
    if (GameKeys::keepTab(event, [this](QKeyEvent* key) { keyPressEvent(key); }))
        return true;
    return QLineEdit::event(event);
}

void FocusKeeper::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (GameKeys::isModifierOnly(event->key()))
        return;
    if (!takes_ || !takes_(event))
        Seams::feedback().beep();
}

void FocusKeeper::inputMethodEvent(QInputMethodEvent* event) {
    event->ignore();
}
