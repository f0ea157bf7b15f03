#pragma once

#include <QByteArray>
#include <QString>

// Files the user chooses (a class list, a problem set, a preferences file, a help page) can be
// anything the file system holds: a named pipe that never sends, a device that never ends, a folder,
// or a file far larger than any the program writes. Every reader of such a file reads it through here,
// so that none of them can block, run out of memory, or take a folder for an empty file.
namespace OutsideFile {

enum class Problem {
    None,
    CannotOpen, // missing, unreadable, or failed while being read
    NotRegular, // a folder, pipe, socket or device
    TooLarge,   // more than the reader's bound
    Link,       // a symbolic link, where links are refused
};

// A file the user picked may be reached through a link. A file in a folder that other accounts can
// write (the shared folder) may not: a link planted there would make the program read another file
// of the teacher's.
enum class Links { Follow, Refuse };

struct Contents {
    QByteArray bytes;
    Problem problem = Problem::None;
    bool ok() const { return problem == Problem::None; }
};

// The whole file, when it is a regular file of at most maxBytes. The kind is judged on the opened
// file itself, so a path swapped for a pipe after a look at it still cannot block the reader.
Contents read(const QString& path, qint64 maxBytes, Links links = Links::Follow);

} // namespace OutsideFile
