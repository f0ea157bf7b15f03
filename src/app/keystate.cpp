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

KeyState::Mark KeyState::mark(int key) const {
    return presses_.value(key, 0);
}

bool KeyState::isHeld(int key) const {
    return held_.contains(key);
}

bool KeyState::downSince(int key, Mark since) const {
    return isHeld(key) || mark(key) > since;
}

void KeyState::forget() {
    held_.clear();
}

bool KeyState::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        // A key event travels up through the parents of the focus widget and each step sees the same
        // press: it counts once, while the key is not held yet.
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && !held_.contains(key->key())) {
            held_.insert(key->key());
            ++presses_[key->key()];
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
