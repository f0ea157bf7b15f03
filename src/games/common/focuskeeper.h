#pragma once

// The text field a game keeps beyond the window's right edge to hold the keyboard focus, so that no
// visible control takes the keys a child types and each key reaches the game wherever the mouse is.
// Nothing typed is ever kept in it; Tab leaves the focus where it is; Ctrl+W, Ctrl+Z and the other
// shortcuts still reach the menus. The game says which keys it takes; every other key is refused
// with a beep.

#include <QLineEdit>

#include <functional>

class QKeyEvent;

class QEvent;

namespace GameKeys {
// True for a key that only changes the next one (Shift, Control, ...): no key of its own yet.
bool isModifierOnly(int key);
// For a field's event(): a Tab or Backtab press goes to the field's own key handling, `keyPress`,
// before Qt moves the focus with it. True when the event was such a key (the field then returns
// true); false for every other event.
bool keepTab(QEvent* event, const std::function<void(QKeyEvent*)>& keyPress);
} // namespace GameKeys

class FocusKeeper : public QLineEdit {
    Q_OBJECT
public:
    // `takes` is asked for each key and returns true when the game took it.
    FocusKeeper(const QString& objectName, QWidget* parent, std::function<bool(QKeyEvent*)> takes = {});

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    std::function<bool(QKeyEvent*)> takes_;
};
