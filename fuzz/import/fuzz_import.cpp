// libFuzzer target: any bytes as a student import file. Every student the reader gives has a name,
// a password that can be stored and typed, and fields without line breaks or tabs; what it leaves out
// for its password could not be; a list written back from what it read reads back the same; the
// file on disk reads as the bytes in memory; and the students go into a class of a database of the
// harness's own as the class window stores them, all of them, and the class lists them back with the
// same names and passwords. Nothing may be said to the user on the way: every message aborts.

#include "classes/studentlistfile.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/seams.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
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

// A store that went wrong says so to the user: here that is a failure of its own.
class NothingToSay : public Seams::Dialogs {
public:
    void showMsg(bool, const QString& message, const QString& explanation) override {
        std::fprintf(stderr, "said: %s %s\n", qPrintable(message), qPrintable(explanation));
        std::abort();
    }
    void plainMessage(const QString& message, const QString& explanation) override {
        std::fprintf(stderr, "said: %s %s\n", qPrintable(message), qPrintable(explanation));
        std::abort();
    }
    Seams::Answer ask(const Seams::Question&) override { std::abort(); }
    QString openFile(const Seams::FileRequest&) override { std::abort(); }
    QString saveFile(const Seams::FileRequest&) override { std::abort(); }
    QString selectFolder(const Seams::FileRequest&) override { std::abort(); }
    void showWaitWindow(const QString&) override { std::abort(); }
    void closeWaitWindow() override { std::abort(); }
};

class NoSound : public Seams::Feedback {
public:
    void beep() override { std::abort(); }
    void playSound(const QString&) override { std::abort(); }
};

// The class the students go into; it is deleted again after every input, so the database stays small.
const QString kClass = QStringLiteral("Room 5");

// Stores the students as the class window stores an import, then reads the class back.
void importIntoDatabase(const QList<StudentListFile::Student>& students) {
    QList<std::pair<QString, QString>> toAdd;
    for (const StudentListFile::Student& s : students)
        toAdd.append({s.name, s.password});
    const QList<int> ids = DBCtrl::insertNames(toAdd, kClass);
    check(ids.size() == students.size());
    bool read = false;
    const QList<DBCtrl::StudentRow> rows = DBCtrl::studentsOf(kClass, &read);
    check(read && rows.size() == students.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        check(rows[i].id == ids[i]);
        check(rows[i].name == students[i].name);
        check(rows[i].className == kClass);
        check(rows[i].halfStars == 0);
        check(myGlobals::unscrambleStr(rows[i].storedPassword) == students[i].password);
    }
    DBCtrl::deleteClass(kClass);
    check(DBCtrl::studentsOf(kClass, &read).isEmpty() && read);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The database driver is a plugin, which only an application object loads.
    static QCoreApplication app(*argc, *argv);
    static QTemporaryDir folder;
    check(folder.isValid());
    // Made with the quiet default seams, which tell of the new file in the log.
    DBCtrl::check4Database(folder.path());
    check(DBCtrl::isConnected());
    // Closed before the statics go, so that the leak check at the end sees the connection let go.
    std::atexit([] { DBCtrl::closeDB(); });
    // Millions of inputs each commit a transaction: the disk need not be waited for here.
    check(bool(DBCtrl::exec(QStringLiteral("PRAGMA synchronous = OFF"))));
    static NothingToSay dialogs;
    static NoSound feedback;
    Seams::setDialogs(&dialogs);
    Seams::setFeedback(&feedback);
    return 0;
}

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

    if (!c.students.isEmpty())
        importIntoDatabase(c.students);
    return 0;
}
