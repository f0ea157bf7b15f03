#pragma once

// Kill tests: a write path is run in a child process with a shim preloaded that counts every call
// that changes a file (write, fsync, truncate, rename, link, unlink) and can kill the child with
// SIGKILL just before the N-th of them, as a power cut or a killed program stops it. A test counts the
// kill points of a path once, then runs it killed at each point and checks what is left on disk.
//
// The child inherits this test's environment, so it works in the same fresh home and XDG folders
// (tests/support/isolation.cpp), which this test removes at its end.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace KillPoints {

struct Outcome {
    bool started = false;  // the program could be run at all
    bool killed = false;   // it died of the shim's SIGKILL
    int exitCode = -1;     // when it ran to its end
    int points = 0;        // the kill points it passed (all of them when it ran to its end)
    QString output;        // what it printed, for a failing test's message
};

// Runs the program to its end with the shim counting; killAt 0 kills nowhere.
Outcome run(const QString& program, const QStringList& arguments, int killAt = 0);

// `base` with the shim preloaded: the count of points written to `countFile` at exit (when it is not
// empty), the program killed just before point `killAt`, or stopped (SIGSTOP) just before point
// `stopAt` (0: nowhere), for a test that runs a second program at exactly that point.
QProcessEnvironment underShim(QProcessEnvironment base, const QString& countFile, int killAt, int stopAt = 0);

// Waits up to `milliseconds` for the process to stop itself at its stop point. False when it ended, or
// ran on, instead.
bool waitUntilStopped(qint64 pid, int milliseconds);

// The path of a driver program built beside the test programs (tests/<folder>/drv_<name>.cpp is
// built as <folder>_drv_<name>).
QString driver(const QString& name);

} // namespace KillPoints
