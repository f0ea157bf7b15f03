#pragma once

// Whether a key is held at this moment, whatever has the keyboard focus. Qt only tells a window the
// keys typed into it, so the program watches every key press and release of the application and
// keeps the state of the keys asked about. A key held while the program loses the focus counts as
// released (its release goes to another program), and the repeats of a held key change nothing.
//
// A quick tap (pressed and released between two polls) is never missed, but it belongs to a moment:
// the caller takes a mark when the moment begins (a number starts to fall) and asks whether the key
// is down or was pressed since that mark. A tap from before the mark never counts, however recently
// the key was polled.

#include <QHash>
#include <QObject>
#include <QSet>

class KeyState : public QObject {
    Q_OBJECT
public:
    // The one watcher of the application, installed on first use. Call it before the first mark is
    // taken, so that the presses after it are seen.
    static KeyState& instance();

    // A point in the key's history: the presses of it seen so far.
    using Mark = quint64;
    Mark mark(int key) const;

    // True while `key` is held.
    bool isHeld(int key) const;
    // True while `key` is held, or when it was pressed after `since` was taken (even if it has been
    // released again).
    bool downSince(int key, Mark since) const;

    // Forgets which keys are held (as when the program loses the focus). Marks stay valid.
    void forget();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyState();
    QSet<int> held_;
    QHash<int, Mark> presses_;
};
