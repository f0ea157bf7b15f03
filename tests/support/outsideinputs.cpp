#include "outsideinputs.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <chrono>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace OutsideInputs {

void addRows() {
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"named pipe", "folder", "endless device", "one byte too many"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

QString make(const QString& kind, const QString& folder, qint64 bound) {
    const QDir dir(folder);
    if (kind == QLatin1String("named pipe")) {
        const QString path = dir.filePath(QStringLiteral("list.txt"));
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 ? path : QString();
    }
    if (kind == QLatin1String("folder")) {
        const QString path = dir.filePath(QStringLiteral("chosen.txt"));
        return dir.mkdir(QStringLiteral("chosen.txt")) ? path : QString();
    }
    if (kind == QLatin1String("endless device"))
        return QStringLiteral("/dev/zero");
    if (kind == QLatin1String("one byte too many")) {
        // Sparse: no test writes megabytes to make one.
        QFile file(dir.filePath(QStringLiteral("large.txt")));
        return file.open(QIODevice::WriteOnly) && file.resize(bound + 1) ? file.fileName() : QString();
    }
    return {};
}

PipeRelease::PipeRelease(const QString& path, int afterMs) {
    const QByteArray native = QFile::encodeName(path);
    thread_ = std::thread([this, native, afterMs] {
        std::unique_lock lock(mutex_);
        if (stop_.wait_for(lock, std::chrono::milliseconds(afterMs), [this] { return stopping_; }))
            return;
        // Without a reader this fails at once (ENXIO); with one blocked in open or read, both ends meet
        // and the close gives the reader the end of the file.
        const int fd = ::open(native.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
    });
}

PipeRelease::~PipeRelease() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_all();
    thread_.join();
}

} // namespace OutsideInputs
