#include "durable.h"

#include "outsidefile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Durable {
namespace {

// What marks a temporary name as the program's own: no teacher names a copy so.
const QString kTemporaryMark = QStringLiteral(".nbrtmp-");

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

bool syncPath(const QString& path, int flags) {
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

Failure failureOf(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return Failure::NoSpace;
    case ELOOP:
        return Failure::Link;
    case EEXIST:
        return Failure::ThereAlready;
    default:
        return Failure::Other;
    }
}

// A file this account may not write (another account made it read-only, or it is another account's
// with no write for others) is not replaced behind that account's back, although the folder would
// let the rename through. The superuser may write anything.
bool readOnlyForUs(const QString& path) {
    struct stat st {};
    if (::lstat(native(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    return ::faccessat(AT_FDCWD, native(path).constData(), W_OK, AT_EACCESS) != 0 &&
           (errno == EACCES || errno == EPERM);
}

// A folder with the sticky bit (as a school's shared folder may be) lets only a file's owner replace
// it: to this account, that file is as good as read-only.
Failure renameFailure(int error, const QString& path) {
    if ((error == EPERM || error == EACCES) && standsThere(path))
        return Failure::ReadOnly;
    return failureOf(error);
}

// What stands at a name that is to be written: nothing, a regular file, or something that refuses.
Failure refusalAt(const QString& path) {
    struct stat st {};
    if (::lstat(native(path).constData(), &st) != 0)
        return Failure::None;
    if (S_ISLNK(st.st_mode))
        return Failure::Link;
    if (!S_ISREG(st.st_mode))
        return Failure::Other;
    return readOnlyForUs(path) ? Failure::ReadOnly : Failure::None;
}

// The random part of a temporary name, of the form the removal of leftovers knows.
QString randomTail() {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString tail;
    for (int i = 0; i < 6; ++i)
        tail += QLatin1Char(kChars[QRandomGenerator::system()->bounded(62)]);
    return tail;
}

// A file under a new temporary name beside `path`, holding `bytes`, with the modes `access` gives
// whatever the umask, and on the disk. Its name, or empty with `failure` set.
QString writeTemporary(const QString& path, const QByteArray& bytes, mode_t mode, Failure& failure) {
    const QFileInfo info(path);
    const QString pattern = temporaryPattern(info.path(), info.fileName());
    const QString stem = pattern.left(pattern.size() - 6);
    QString temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = stem + randomTail();
        fd = ::open(native(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    S_IRUSR | S_IWUSR);
        if (fd < 0 && errno != EEXIST) {
            failure = failureOf(errno);
            return {};
        }
    }
    if (fd < 0) {
        failure = Failure::Other;
        return {};
    }
    int error = ::fchmod(fd, mode) == 0 ? 0 : errno;
    for (qsizetype done = 0; error == 0 && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            error = n < 0 ? errno : EIO;
        else
            done += n;
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(native(temporary).constData());
        failure = failureOf(error);
        return {};
    }
    failure = Failure::None;
    return temporary;
}

mode_t modeOf(Access access) {
    return access == Access::OwnerOnly ? S_IRUSR | S_IWUSR
                                       : S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
}

// Writes `bytes` at `path` with the given modes by a rename over the name.
Failure replaceWithMode(const QString& path, const QByteArray& bytes, mode_t mode) {
    if (const Failure refused = refusalAt(path); refused != Failure::None)
        return refused;
    Failure failure = Failure::None;
    const QString temporary = writeTemporary(path, bytes, mode, failure);
    if (temporary.isEmpty())
        return failure;
    // A link put there meanwhile is replaced, never followed: rename does not follow the new name.
    if (::rename(native(temporary).constData(), native(path).constData()) != 0) {
        const Failure failure = renameFailure(errno, path);
        ::unlink(native(temporary).constData());
        return failure;
    }
    return Failure::None;
}

} // namespace

bool syncFile(const QString& path) {
    return syncPath(path, 0);
}

bool syncFolder(const QString& folder) {
    return syncPath(folder, O_DIRECTORY);
}

Placed placeWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray src = native(from);
    const QByteArray dst = native(to);
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return Placed::Here;
    if (errno == EEXIST)
        return Placed::ThereAlready;
    if (::link(src.constData(), dst.constData()) == 0) {
        ::unlink(src.constData()); // the file has its name; the temporary one goes, as after a rename
        return Placed::Here;
    }
    return errno == EEXIST ? Placed::ThereAlready : Placed::Failed;
}

Failure replaceFile(const QString& path, const QByteArray& bytes, Access access) {
    return replaceWithMode(path, bytes, modeOf(access));
}

bool isLink(const QString& path) {
    struct stat st {};
    return ::lstat(native(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool standsThere(const QString& path) {
    struct stat st {};
    return ::lstat(native(path).constData(), &st) == 0;
}

QString temporaryPattern(const QString& folder, const QString& name) {
    return QDir(folder).filePath(QLatin1Char('.') + name + kTemporaryMark + QStringLiteral("XXXXXX"));
}

int removeLeftovers(const QString& folder, const QStringList& bases) {
    if (folder.isEmpty() || bases.isEmpty())
        return 0;
    QStringList escaped;
    for (const QString& base : bases)
        escaped << QRegularExpression::escape(base);
    const QRegularExpression leftover(
        QStringLiteral("^\\.(?:%1)%2[A-Za-z0-9]{6}(?:-journal)?$")
            .arg(escaped.join(QLatin1Char('|')), QRegularExpression::escape(kTemporaryMark)));
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    int removed = 0;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!leftover.match(name).hasMatch())
            continue;
        const QString path = dir.filePath(name);
        struct stat st {};
        // A link is nobody's temporary file; a time in the future (another computer's clock) is not old.
        if (::lstat(native(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        const qint64 age = now - static_cast<qint64>(st.st_mtime);
        if (age >= kLeftoverSeconds && ::unlink(native(path).constData()) == 0)
            ++removed;
    }
    return removed;
}

StagedFiles::~StagedFiles() {
    for (const Staged& f : files_) {
        if (!f.temporary.isEmpty())
            ::unlink(native(f.temporary).constData());
    }
}

bool StagedFiles::write(const QString& path, const QByteArray& bytes, Access access, bool exclusive) {
    failure_ = refusalAt(path);
    // A file to be placed new does not ask whether the one there may be written: the commit refuses it.
    if (exclusive && failure_ == Failure::ReadOnly)
        failure_ = Failure::None;
    if (failure_ != Failure::None)
        return false;
    const QString temporary = writeTemporary(path, bytes, modeOf(access), failure_);
    if (temporary.isEmpty())
        return false;
    files_.push_back({path, temporary, exclusive});
    return true;
}

bool StagedFiles::stage(const QString& path, const QByteArray& bytes, Access access) {
    return write(path, bytes, access, false);
}

bool StagedFiles::stageNew(const QString& path, const QByteArray& bytes, Access access) {
    return write(path, bytes, access, true);
}

void StagedFiles::adopt(const QString& temporary, const QString& path) {
    files_.push_back({path, temporary, true});
}

namespace {

// False (with the reason) when what stands at the name could not be put back.
Failure take(StagedFiles::Kept& kept, const QString& path, qint64 largest) {
    kept = StagedFiles::Kept{path, false, {}, 0};
    struct stat st {};
    if (::lstat(native(path).constData(), &st) != 0)
        return errno == ENOENT ? Failure::None : Failure::Other;
    if (S_ISLNK(st.st_mode))
        return Failure::Link;
    if (!S_ISREG(st.st_mode))
        return Failure::Other;
    kept.existed = true;
    kept.mode = st.st_mode & 07777;
    const OutsideFile::Contents read = OutsideFile::read(path, largest, OutsideFile::Links::Refuse);
    kept.bytes = read.bytes;
    return read.ok()                                    ? Failure::None
           : read.problem == OutsideFile::Problem::Link ? Failure::Link
                                                        : Failure::Other;
}

void putBack(const StagedFiles::Kept& kept, qint64 largest) {
    const QByteArray name = native(kept.path);
    if (!kept.existed) {
        ::unlink(name.constData());
        return;
    }
    const OutsideFile::Contents now = OutsideFile::read(kept.path, largest, OutsideFile::Links::Refuse);
    if (now.ok() && now.bytes == kept.bytes)
        return;
    replaceWithMode(kept.path, kept.bytes, kept.mode);
}

} // namespace

QString StagedFiles::commit() {
    failure_ = Failure::None;
    kept_.assign(files_.size(), Kept{});
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (files_[i].exclusive) {
            kept_[i].path = files_[i].path; // nothing stood there: put back is taking the name away
            continue;
        }
        if (failure_ = take(kept_[i], files_[i].path, largestKept_); failure_ != Failure::None) {
            kept_.clear();
            return files_[i].path;
        }
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        Staged& f = files_[i];
        if (f.exclusive) {
            const Placed placed = placeWithoutReplacing(f.temporary, f.path);
            failure_ = placed == Placed::Here           ? Failure::None
                       : placed == Placed::ThereAlready ? Failure::ThereAlready
                                                        : Failure::Other;
        } else if (::rename(native(f.temporary).constData(), native(f.path).constData()) != 0) {
            failure_ = renameFailure(errno, f.path);
        }
        if (failure_ != Failure::None) {
            for (std::size_t j = i; j-- > 0;)
                putBack(kept_[j], largestKept_);
            kept_.clear();
            return f.path; // what is still staged goes with this object
        }
        f.temporary.clear();
    }
    files_.clear();
    return {};
}

void StagedFiles::undo() {
    for (std::size_t j = kept_.size(); j-- > 0;)
        putBack(kept_[j], largestKept_);
    kept_.clear();
}

} // namespace Durable
