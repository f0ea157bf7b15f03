#include "durable.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Durable {
namespace {

bool syncPath(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

bool syncFile(const QString& path) {
    return syncPath(path, 0);
}

bool syncFolder(const QString& folder) {
    return syncPath(folder, O_DIRECTORY);
}

Placed placeWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray src = QFile::encodeName(from);
    const QByteArray dst = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return Placed::Here;
    if (errno == EEXIST)
        return Placed::ThereAlready;
    if (::link(src.constData(), dst.constData()) == 0)
        return Placed::Here;
    return errno == EEXIST ? Placed::ThereAlready : Placed::Failed;
}

QString temporaryPattern(const QString& folder, const QString& name) {
    return QDir(folder).filePath(QLatin1Char('.') + name + QStringLiteral(".XXXXXX"));
}

int removeLeftovers(const QString& folder, const QStringList& bases) {
    if (folder.isEmpty() || bases.isEmpty())
        return 0;
    QStringList escaped;
    for (const QString& base : bases)
        escaped << QRegularExpression::escape(base);
    const QRegularExpression leftover(
        QStringLiteral("^(?:%1)\\.[A-Za-z0-9]{6}(?:-journal)?$").arg(escaped.join(QLatin1Char('|'))));
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    int removed = 0;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!leftover.match(name).hasMatch())
            continue;
        const QString path = dir.filePath(name);
        struct stat st {};
        // A link is nobody's temporary file; a time in the future (another computer's clock) is not old.
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        const qint64 age = now - static_cast<qint64>(st.st_mtime);
        if (age >= kLeftoverSeconds && QFile::remove(path))
            ++removed;
    }
    return removed;
}

} // namespace Durable
