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
// link is just as exclusive, and then the temporary name stays for its owner to remove.
Placed placeWithoutReplacing(const QString& from, const QString& to);

// Files that must change together (a move's preferences files: the shared folder's, then this
// computer's own), each written whole and put on the disk under a temporary name beside its own
// first, and given its name only when the caller commits, in the order staged, one rename each, so
// that nothing else happens between two names given; dropped uncommitted, they leave nothing behind.
// Should the commit stop half-way, what stood at the names already given is put back as it was.
class StagedFiles {
public:
    // What stands at a name must be at most `largestKept` bytes to be put back.
    explicit StagedFiles(qint64 largestKept) : largestKept_(largestKept) {}
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    ~StagedFiles();

    // False when the folder cannot take the file. A file of this user's own is this user's alone; a
    // file that is replaced keeps its modes, and a new one gets the modes any new file gets here.
    bool stage(const QString& path, const QByteArray& bytes, bool ownerOnly = false);
    // Gives every file its name. The name that failed, or empty when all went through.
    QString commit();

private:
    struct Staged {
        QString path;
        QString temporary;
    };
    qint64 largestKept_;
    std::vector<Staged> files_;
};

// The temporary name pattern of a file to be named `name` in `folder`: hidden, so that nobody takes it
// for the real file, and of the form the removal of leftovers knows.
QString temporaryPattern(const QString& folder, const QString& name);

// How long a temporary file must have been left untouched before a start takes it for a leftover. A
// computer of the school may be making one in the shared folder right now, and the time the file
// carries is that computer's (or the file server's), not ours: a school's clocks may be hours wrong (one
// set to local time as if it were UTC), never a day. A home folder on a school's server is written by
// other computers too. Copying a large database over a slow network takes minutes.
inline constexpr qint64 kLeftoverSeconds = 24 * 60 * 60;

// Removes the files of `folder` that a stopped write left behind: "<base>.XXXXXX" (the temporary
// names of QTemporaryFile and QSaveFile, the leading "." included in `base` where there is one) and
// their SQLite journals "<base>.XXXXXX-journal", when nothing has changed them for kLeftoverSeconds.
// Nothing else is touched. The number removed.
int removeLeftovers(const QString& folder, const QStringList& bases);

} // namespace Durable
