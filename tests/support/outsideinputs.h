#pragma once

// What a user may choose by mistake in a file chooser, for the tests of every reader of such files: a
// named pipe that no one writes, a folder, an endless device and a file one byte over the reader's
// bound. Each reader must refuse each of them at once with its own message.

#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace OutsideInputs {

// Adds the column "kind" and one row per kind of input to the running test's data table.
void addRows();

// The input of that kind inside folder (which must exist); the oversize file has bound + 1 bytes.
// Empty when it could not be made.
QString make(const QString& kind, const QString& folder, qint64 bound);

// A reader that still opens a pipe as any file would wait for a writer for ever, and the test with
// it. While this lives, a reader blocked on the pipe is let go after a while (a writer comes and
// leaves at once), so that such a reader fails the test by its time instead of hanging it.
class PipeRelease {
public:
    explicit PipeRelease(const QString& path, int afterMs = 3000);
    ~PipeRelease();
    PipeRelease(const PipeRelease&) = delete;
    PipeRelease& operator=(const PipeRelease&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable stop_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace OutsideInputs
