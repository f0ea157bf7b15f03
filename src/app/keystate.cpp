#include "keystate.h"

#include <QApplication>
#include <QKeyEvent>

KeyState& KeyState::instance() {
    static KeyState* watcher = nullptr;
    if (!watcher) {
        watcher = new KeyState;
        if (QCoreApplication* app = QCoreApplication::instance()) {
            watcher->setParent(app);
            app->installEventFilter(watcher);
        }
    }
    return *watcher;
}

KeyState::KeyState() = default;

bool KeyState::isDown(int key) {
    const bool down = peek(key);
    tapped_.remove(key);
    return down;
}

bool KeyState::peek(int key) const {
    return held_.contains(key) || tapped_.contains(key);
}

void KeyState::forget() {
    held_.clear();
    tapped_.clear();
}

bool KeyState::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        // A key event travels up through the parents of the focus widget; each step sees the same
        // press, which only sets what is already set.
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            held_.insert(key->key());
            tapped_.insert(key->key());
        }
        break;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat())
            held_.remove(key->key());
        break;
    }
    case QEvent::ApplicationDeactivate:
        forget();
        break;
    case QEvent::ApplicationStateChange:
        if (qApp && QGuiApplication::applicationState() != Qt::ApplicationActive)
            forget();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
