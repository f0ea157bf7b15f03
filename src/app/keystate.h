#pragma once

// Whether a key is held at this moment, whatever has the keyboard focus. Qt only tells a window the
// keys typed into it, so the program watches every key press and release of the application and
// keeps the state of the keys asked about. A key held while the program loses the focus counts as
// released (its release goes to another program); the repeats of a held key change nothing; and a
// key pressed and released between two polls still reads as down once, so that a quick tap is never
// missed by a slow poll.

#include <QObject>
#include <QSet>

class KeyState : public QObject {
    Q_OBJECT
public:
    // The one watcher of the application, installed on first use. Call it before the first poll
    // is due, so that a press before that poll counts.
    static KeyState& instance();

    // True while `key` is held, and once after a tap that ended since the last poll of it.
    bool isDown(int key);
    // The same without using up a tap.
    bool peek(int key) const;
    // Forgets every key (as when the program loses the focus).
    void forget();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyState();
    QSet<int> held_;
    QSet<int> tapped_;
};
