#include "durable.h"

#include "outsidefile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>

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

// A file as it stood before a commit of staged files wrote over it, to be put back byte for byte when
// the commit does not go through.
struct KeptFile {
    QString path;
    bool existed = false;
    QByteArray bytes;

    // False when something stands at the name that cannot be read back, and so could not be put back.
    bool take(const QString& name, qint64 largest) {
        path = name;
        existed = QFileInfo::exists(name) || QFileInfo(name).isSymLink();
        if (!existed)
            return true;
        const OutsideFile::Contents read = OutsideFile::read(name, largest);
        bytes = read.bytes;
        return read.ok();
    }
    void putBack(qint64 largest) const {
        if (!existed) {
            QFile::remove(path);
            return;
        }
        const OutsideFile::Contents now = OutsideFile::read(path, largest);
        if (now.ok() && now.bytes == bytes)
            return;
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
            return;
        file.cancelWriting();
    }
};

// The random part of a temporary name, of the form the removal of leftovers knows.
QString randomTail() {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString tail;
    for (int i = 0; i < 6; ++i)
        tail += QLatin1Char(kChars[QRandomGenerator::system()->bounded(62)]);
    return tail;
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

StagedFiles::~StagedFiles() {
    for (const Staged& f : files_) {
        if (!f.temporary.isEmpty())
            ::unlink(QFile::encodeName(f.temporary).constData());
    }
}

bool StagedFiles::stage(const QString& path, const QByteArray& bytes, bool ownerOnly) {
    if (QFileInfo(path).isDir())
        return false;
    Staged f{path, QString()};
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        f.temporary = path + QLatin1Char('.') + randomTail();
        fd =
            ::open(QFile::encodeName(f.temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    files_.push_back(f);
    struct stat st {};
    bool ok = true;
    if (ownerOnly)
        ok = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    else if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777); // a replaced file keeps its modes
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += ok ? n : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    return ok;
}

QString StagedFiles::commit() {
    std::vector<KeptFile> kept(files_.size());
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (!kept[i].take(files_[i].path, largestKept_))
            return files_[i].path;
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (::rename(QFile::encodeName(files_[i].temporary).constData(),
                     QFile::encodeName(files_[i].path).constData()) != 0) {
            for (std::size_t j = i; j-- > 0;)
                kept[j].putBack(largestKept_);
            return files_[i].path; // what is still staged goes with this object
        }
        files_[i].temporary.clear();
    }
    files_.clear();
    return {};
}

} // namespace Durable
