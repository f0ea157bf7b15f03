#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// Files that a power cut or a killed program must never leave half made: a new file is finished under
// a temporary name beside its final one, put on the disk, and only then given its name, without ever
// replacing a file that is there. What such a stop leaves behind under a temporary name is removed by
// a later start.
namespace Durable {

// Asks the system to put a file's contents, or a folder's list of names, on the disk. False when it
// could not be asked or refused.
bool syncFile(const QString& path);
bool syncFolder(const QString& folder);

enum class Placed { Here, ThereAlready, Failed };
// Gives a complete file its final name, never replacing a file that is there (another computer may
// have made one meanwhile). Some file systems (network shares among them) know no such rename; a hard
// link is just as exclusive, and the temporary name is then removed.
Placed placeWithoutReplacing(const QString& from, const QString& to);

// Why a file could not be written at its name.
enum class Failure {
    None,
    Link,         // the name is a symbolic link, which is never written through
    ReadOnly,     // the file there is read-only for this account (another account made it so)
    NoSpace,      // the disk (or this account's quota) is full
    ThereAlready, // a file to be placed without replacing found one at its name
    Other,        // anything else: permissions of the folder, a folder at the name, a failing disk
};

// Who may read and write a file the program makes: this user alone (the preferences folder, where
// the file holds the administrative password), or every account of the school (the shared folder,
// where every computer's user saves the school's preferences, as it writes the database beside them).
enum class Access { OwnerOnly, Everyone };

// Replaces the file at `path` by a complete new one, written and put on the disk under a temporary
// name beside it and then renamed over the name, so that the old file stays whole until the new one
// is. Nothing is ever written through a link: a link at the name is refused and left as it is, and so
// is a file this account may not write.
Failure replaceFile(const QString& path, const QByteArray& bytes, Access access);

// Whether a name is a symbolic link (dangling or not).
bool isLink(const QString& path);
// Whether anything stands at a name, a dangling link included.
bool standsThere(const QString& path);

// Files that must change together (a move's preferences files: the shared folder's, then this
// computer's own, then the database copy), each written whole and put on the disk under a temporary
// name beside its own first, and given its name only when the caller commits, in the order staged,
// one rename each, so that nothing else happens between two names given; dropped uncommitted, they
// leave nothing behind. Should the commit stop half-way, what stood at the names already given is put
// back as it was. No name is written through a link.
class StagedFiles {
public:
    // A file as it stood before a commit wrote over its name, to be put back byte for byte.
    struct Kept {
        QString path;
        bool existed = false;
        QByteArray bytes;
        unsigned mode = 0;
    };

    // What stands at a name must be at most `largestKept` bytes to be put back.
    explicit StagedFiles(qint64 largestKept) : largestKept_(largestKept) {}
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    ~StagedFiles();

    // A file to replace whatever stands at its name. False when the folder cannot take it (see
    // failure()).
    bool stage(const QString& path, const QByteArray& bytes, Access access);
    // A file to be given its name only when nothing stands there at the commit: a name another
    // computer gave meanwhile makes the commit fail with ThereAlready, and that file stays.
    bool stageNew(const QString& path, const QByteArray& bytes, Access access);
    // A complete file another step made under a temporaryName(), to be given its name in turn without
    // replacing anything; it is removed with the rest when the files are dropped uncommitted.
    void adopt(const QString& temporary, const QString& path);
    // Gives every file its name. The name that failed (see failure()), or empty when all went through.
    QString commit();
    // Puts back what stood at every name of a commit that went through, for a step after it that
    // failed.
    void undo();
    // Why the last stage() or commit() failed.
    Failure failure() const { return failure_; }

private:
    struct Staged {
        QString path;
        QString temporary;
        bool exclusive = false;
    };
    bool write(const QString& path, const QByteArray& bytes, Access access, bool exclusive);
    qint64 largestKept_;
    std::vector<Staged> files_;
    std::vector<Kept> kept_;
    Failure failure_ = Failure::None;
};

// A new temporary name beside the file `name` of `folder`: hidden, so that nobody takes it for the
// real file, and marked as the program's own, so that the removal of leftovers never takes a file of
// the teacher's for one. For QTemporaryFile, the pattern with "XXXXXX" in place of the random part.
QString temporaryPattern(const QString& folder, const QString& name);

// How long a temporary file must have been left untouched before a start takes it for a leftover. A
// computer of the school may be making one in the shared folder right now, and the time the file
// carries is that computer's (or the file server's), not ours: a school's clocks may be hours wrong (one
// set to local time as if it were UTC), never a day. A home folder on a school's server is written by
// other computers too. Copying a large database over a slow network takes minutes.
inline constexpr qint64 kLeftoverSeconds = 24 * 60 * 60;

// Removes the files of `folder` that a stopped write left behind: the temporary names of the files
// named `bases` (see temporaryPattern) and their SQLite journals ("-journal" after them), when they are
// regular files that nothing has changed for kLeftoverSeconds. Nothing else is touched: a teacher's
// "nbq10.pref.backup" stays. The number removed.
int removeLeftovers(const QString& folder, const QStringList& bases);

} // namespace Durable
