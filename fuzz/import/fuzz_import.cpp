// libFuzzer target: any bytes as a student import file. Every student the reader gives has a name,
// a password that can be stored and typed, and fields without line breaks or tabs; what it leaves out
// for its password could not be; a list written back from what it read reads back the same; and the
// file on disk reads as the bytes in memory.

#include "classes/studentlistfile.h"
#include "data/dbctrl.h"
#include "data/globals.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

bool oneField(const QString& text) {
    return !text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('\n')) &&
           !text.contains(QLatin1Char('\r'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    check(dir.isValid());
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const StudentListFile::Contents c = StudentListFile::read(bytes);

    const bool none = c.students.isEmpty() && c.unusablePasswords.isEmpty();
    check((c.problem == StudentListFile::Problem::NoStudents) ==
          (none && c.problem != StudentListFile::Problem::NotText));
    int lastLine = 0;
    for (const StudentListFile::Student& s : c.students) {
        check(!s.name.trimmed().isEmpty());
        check(oneField(s.name) && oneField(s.password));
        check(DBCtrl::passwordUsable(s.password));
        check(myGlobals::unscrambleStr(myGlobals::scrambleStr(s.password)) == s.password);
        check(s.line > lastLine);
        lastLine = s.line;
    }
    for (const StudentListFile::Student& s : c.unusablePasswords) {
        check(s.line >= 1);
        check(!DBCtrl::passwordUsable(s.password));
    }

    // Written back as a list with a heading, in UTF-8 with its mark, the students read back as they were.
    QByteArray list = "\xEF\xBB\xBFStudent Name\tPassword\n";
    for (const StudentListFile::Student& s : c.students)
        list += (s.name + QLatin1Char('\t') + s.password + QLatin1Char('\n')).toUtf8();
    const StudentListFile::Contents again = StudentListFile::read(list);
    check(again.students == c.students);
    check(again.unusablePasswords.isEmpty());

    // The file the teacher chose reads as its bytes.
    const QString path = dir.filePath(QStringLiteral("list.txt"));
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
    file.close();
    const StudentListFile::Contents fromFile = StudentListFile::readFile(path);
    check(fromFile.problem == c.problem && fromFile.students == c.students &&
          fromFile.unusablePasswords.size() == c.unusablePasswords.size());
    return 0;
}
