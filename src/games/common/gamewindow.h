#pragma once

// What the six game windows share: a fixed window with the main menu bar, the blue background under
// the controls, the Help item on the game's topic, and the one way out. A game leaves only through
// leave() (its close button, the close box, Quit, and File > Close in the games that answer it with a
// slot of their own named FileClose; in the others the item stays disabled): every timer the game owns
// stops first, so that nothing fires under a message the save may show, then the student's record is
// saved when the visit changed it, the window closes and the sign-in window shows again (unless the
// program is quitting).

#include <QWidget>

class MenuBar1;

class GameWindow : public QWidget {
    Q_OBJECT
public:
    // The content area's size (the window's, less its menu bar).
    QSize designSize() const { return design_; }
    MenuBar1* menuBar() const { return bar_; }
    // Where the controls go, at the window coordinates of the game's layout.
    QWidget* content() const { return content_; }

    // True once a leave began: a timer or answer arriving afterwards must do nothing.
    bool leaving() const { return leaving_; }

    // The signed-in student's first name ("" without one).
    static QString firstName();
    // The signed-in student's whole name.
    static QString studentName();
    // The signed-in student's stored best of game `entry`; `none` without a student or such an entry.
    static QString storedBest(int entry, const QString& none = QString());
    // Keeps `best` as the signed-in student's best of game `entry`, any entries missing before it
    // filled with `filler`. Does nothing without a signed-in student.
    static void keepBest(int entry, const QString& best, const QString& filler = QString());
    // Keeps `value` as the signed-in student's setting `param`, any settings missing before it left
    // empty. False, changing nothing, without a signed-in student.
    static bool keepSetting(int param, const QString& value);

    // Connects the menu items to the window's handlers (the game's own included) and Help to the
    // game's topic. OneWindow calls it when the window is made.
    void bindMenus();

protected:
    GameWindow(const QString& objectName, const QString& title, QSize design, int helpTopic);
    ~GameWindow() override;

    // Stops every timer the window owns. Called before any save and on every way out.
    virtual void stopTimers() = 0;
    // Called after the timers stopped and before the save; a game may record a finished result here.
    virtual void aboutToLeave() {}

    // Leaves for the sign-in window as described above. Safe to call more than once.
    void leave();

    // Set when the visit changed what the student's record keeps (a best, a setting).
    bool dataDirty = false;

    void closeEvent(QCloseEvent* event) override;

private:
    QSize design_;
    int helpTopic_ = 0;
    MenuBar1* bar_ = nullptr;
    QWidget* content_ = nullptr;
    bool leaving_ = false;
};

// The one-window life every game shares: instance() makes the window when there is none, exists()
// asks without making it, and the window drops the instance when it is deleted (games close with
// WA_DeleteOnClose, so each visit starts fresh).
template <class Window> class OneWindow {
public:
    static Window* instance() {
        if (!shared_) {
            shared_ = new Window;
            // Bound once the window is whole, so that the game's own handlers are found too.
            shared_->bindMenus();
        }
        return shared_;
    }
    static bool exists() { return shared_ != nullptr; }

protected:
    ~OneWindow() {
        if (shared_ == static_cast<Window*>(this))
            shared_ = nullptr;
    }
    static void forget(Window* w) {
        if (shared_ == w)
            shared_ = nullptr;
    }

private:
    static inline Window* shared_ = nullptr;
};
