#pragma once

#include <QString>
#include <QStringList>

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
