#pragma once

// The reader of a student import file: a plain text file, one student on each line, the name and the
// password separated by a tab. It only reads; what to say about what it found is the window's
// business.
//
// Files come from many programs: UTF-8 with or without a byte order mark, UTF-16 with one, and, from
// older spreadsheets, Windows-1252. Lines may end in LF, CRLF or CR. A list the program exported reads
// back: its title line holds no tab, and its heading line is recognised and skipped.
//
// A file is read whole, and only a regular file within kMaxBytes: a pipe, a device or a folder chosen
// by mistake is refused at once instead of blocking or filling the memory.

#include <QByteArray>
#include <QList>
#include <QString>

namespace StudentListFile {

// A list of a whole school is a few hundred kilobytes at most.
inline constexpr qint64 kMaxBytes = 2 * 1024 * 1024;

struct Student {
    QString name;     // the text before the first tab, unchanged
    QString password; // the text after it up to the next tab, unchanged (clear text)
    int line = 0;     // where in the file, counted from 1
    // The same student: the line says only where it was found.
    bool operator==(const Student& other) const { return name == other.name && password == other.password; }
};

enum class Problem {
    None,
    CannotOpen, // the file could not be read at all: missing, unreadable, a folder, a pipe, a device
    TooLarge,   // larger than kMaxBytes
    NotText,    // it holds NUL characters: a word-processor or spreadsheet file, a picture...
    NoStudents, // no line with a tab and a name
};

struct Contents {
    QList<Student> students; // in file order
    Problem problem = Problem::None;
    int blankNames = 0;          // tabbed lines skipped because the name was empty or blank
    bool headingSkipped = false; // the first tabbed line was a heading
    // Students left out because their password could never be typed at sign-in (it holds a control
    // character); the rest of the file is read as usual.
    QList<Student> unusablePasswords;
};

// The file's bytes as text: a byte order mark decides; without one, text that is valid UTF-8 is
// UTF-8, anything else Windows-1252. The mark itself is not part of the text.
QString decode(const QByteArray& bytes);

// Whether a tabbed line is the heading of a list: its first field "Student Name", "Name" or "Student",
// or its second "Password", letter case and surrounding blanks ignored.
bool isHeading(const QString& name, const QString& password);

Contents read(const QByteArray& bytes);
Contents readFile(const QString& path);

} // namespace StudentListFile
