#include "data/outsidefile.h"

#include <QFile>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace OutsideFile {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

Contents failure(Problem problem) {
    Contents contents;
    contents.problem = problem;
    return contents;
}

} // namespace

Contents read(const QString& path, qint64 maxBytes, Links links) {
    if (path.isEmpty())
        return failure(Problem::CannotOpen);
    const QByteArray native = QFile::encodeName(path);
    // O_NONBLOCK: opening a pipe with no writer would otherwise wait for one for ever. O_NOCTTY: a
    // terminal chosen by mistake must not become the program's controlling terminal.
    const int noFollow = links == Links::Refuse ? O_NOFOLLOW : 0;
    const Descriptor fd(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | noFollow));
    if (fd.get() < 0) {
        if (errno == ELOOP && links == Links::Refuse)
            return failure(Problem::Link);
        return failure(errno == EISDIR ? Problem::NotRegular : Problem::CannotOpen);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return failure(Problem::CannotOpen);
    if (!S_ISREG(st.st_mode))
        return failure(Problem::NotRegular);
    if (st.st_size > maxBytes)
        return failure(Problem::TooLarge);

    // The size can grow while we read (another program still writing); reading one byte past the
    // bound tells that apart from a file that is exactly at it.
    Contents contents;
    contents.bytes.resize(static_cast<qsizetype>(std::min<qint64>(st.st_size, maxBytes) + 1));
    qint64 filled = 0;
    for (;;) {
        const ssize_t got = ::read(fd.get(), contents.bytes.data() + filled,
                                   static_cast<size_t>(contents.bytes.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return failure(Problem::CannotOpen);
        }
        if (got == 0)
            break;
        filled += got;
        if (filled > maxBytes)
            return failure(Problem::TooLarge);
        if (filled == contents.bytes.size())
            contents.bytes.resize(static_cast<qsizetype>(std::min<qint64>(filled * 2, maxBytes + 1)));
    }
    contents.bytes.resize(static_cast<qsizetype>(filled));
    return contents;
}

} // namespace OutsideFile
