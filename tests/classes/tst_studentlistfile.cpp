#include "classes/studentlistfile.h"

#include <QTemporaryDir>
#include <QtTest>

using StudentListFile::Problem;
using StudentListFile::Student;
using Students = QList<Student>;

Q_DECLARE_METATYPE(Students)
Q_DECLARE_METATYPE(StudentListFile::Problem)

namespace QTest {
template <> char* toString(const Students& list) {
    QStringList out;
    for (const Student& s : list)
        out << QStringLiteral("[%1|%2]").arg(s.name, s.password);
    return qstrdup(out.join(QLatin1Char(' ')).toUtf8().constData());
}
} // namespace QTest

namespace {

QByteArray utf16(const QString& text, bool littleEndian) {
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
    for (const QChar c : text) {
        const char lo = static_cast<char>(c.unicode() & 0xFF);
        const char hi = static_cast<char>(c.unicode() >> 8);
        bytes.append(littleEndian ? lo : hi);
        bytes.append(littleEndian ? hi : lo);
    }
    return bytes;
}

} // namespace

class TestStudentListFile : public QObject {
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
    void readFileReportsWhatItCannotRead();
    void unusablePasswordsAreLeftOutWithTheirLines();
};

void TestStudentListFile::reads_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Students>("students");
    QTest::addColumn<Problem>("problem");
    QTest::addColumn<int>("blankNames");
    QTest::addColumn<bool>("heading");

    const Students annBob{{"Ann", "pw"}, {"Bob", ""}};
    // clang-format off
    QTest::newRow("LF") << QByteArray("Ann\tpw\nBob\t\n") << annBob << Problem::None << 0 << false;
    QTest::newRow("CRLF") << QByteArray("Ann\tpw\r\nBob\t\r\n") << annBob << Problem::None << 0 << false;
    QTest::newRow("CR") << QByteArray("Ann\tpw\rBob\t\r") << annBob << Problem::None << 0 << false;
    QTest::newRow("no line end at the end") << QByteArray("Ann\tpw\nBob\t") << annBob << Problem::None << 0
        << false;
    QTest::newRow("third field ignored, blanks kept") << QByteArray(" Cy \t p2 \tz\tq\n")
        << Students{{" Cy ", " p2 "}} << Problem::None << 0 << false;
    QTest::newRow("tab-less and empty lines skipped") << QByteArray("Room 4\n\nAnn\tpw\njust text\n\n")
        << Students{{"Ann", "pw"}} << Problem::None << 0 << false;
    QTest::newRow("empty and blank names skipped") << QByteArray("\tx\n   \ty\nAnn\tpw\n")
        << Students{{"Ann", "pw"}} << Problem::None << 2 << false;

    QTest::newRow("UTF-8 without mark") << QByteArray("Zo\xC3\xAB\tcaf\xC3\xA9\n")
        << Students{{QStringLiteral("Zoë"), QStringLiteral("café")}} << Problem::None << 0 << false;
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFZo\xC3\xAB\tpw\r\n")
        << Students{{QStringLiteral("Zoë"), "pw"}} << Problem::None << 0 << false;
    QTest::newRow("UTF-16 LE with mark") << utf16(QStringLiteral("Name\tPassword\r\nŁucja\tżółw\r\n"), true)
        << Students{{QStringLiteral("Łucja"), QStringLiteral("żółw")}} << Problem::None << 0 << true;
    QTest::newRow("UTF-16: half a surrogate pair alone") << QByteArray("\xFF\xFE" "A\0\x00\xD8\t\0q\0\x3D\xD8\x00\xDE\n\0", 16)
        << Students{{QStringLiteral("A\uFFFD"), QStringLiteral("q\U0001F600")}} << Problem::None << 0 << false;
    QTest::newRow("UTF-16 BE with mark") << utf16(QStringLiteral("Zoë\t€5\n"), false)
        << Students{{QStringLiteral("Zoë"), QStringLiteral("€5")}} << Problem::None << 0 << false;
    QTest::newRow("Windows-1252") << QByteArray("Zo\xEB\t\x80\x39\x39\nRen\xE9\x65 \x93R\x94\t\n")
        << Students{{QStringLiteral("Zoë"), QStringLiteral("€99")}, {QStringLiteral("Renée “R”"), ""}}
        << Problem::None << 0 << false;

    // A list the program exported: title, heading with a trailing tab, rows with clear passwords.
    QTest::newRow("exported list reads back")
        << QByteArray("Room 4\nStudent Name\tPassword\tStars\t\nAnn\tapple\t1.5\nBob\t\t.0\n")
        << Students{{"Ann", "apple"}, {"Bob", ""}} << Problem::None << 0 << true;
    QTest::newRow("heading by name, any case") << QByteArray(" student \tsecret\nAnn\tpw\n")
        << Students{{"Ann", "pw"}} << Problem::None << 0 << true;
    QTest::newRow("heading by password") << QByteArray("Kids\tPASSWORD\nAnn\tpw\n") << Students{{"Ann", "pw"}}
        << Problem::None << 0 << true;
    QTest::newRow("only the first tabbed line can be a heading") << QByteArray("Ann\tpw\nName\tx\n")
        << Students{{"Ann", "pw"}, {"Name", "x"}} << Problem::None << 0 << false;
    QTest::newRow("a mark inside the text is no part of a name")
        << QByteArray("Ann\tpw\n\xEF\xBB\xBF" "Bob\tq\n") << Students{{"Ann", "pw"}, {"Bob", "q"}}
        << Problem::None << 0 << false;

    QTest::newRow("NUL bytes: not text") << QByteArray("PK\x03\x04\0\0Ann\tpw\n", 13) << Students{}
        << Problem::NotText << 0 << false;
    QTest::newRow("UTF-16 without mark: not text") << utf16(QStringLiteral("Ann\tpw\n"), true).mid(2)
        << Students{} << Problem::NotText << 0 << false;
    QTest::newRow("no student line") << QByteArray("Ann\nBob\n") << Students{} << Problem::NoStudents << 0
        << false;
    QTest::newRow("only a heading and blank names") << QByteArray("Student Name\tPassword\n\tx\n")
        << Students{} << Problem::NoStudents << 1 << true;
    QTest::newRow("empty file") << QByteArray() << Students{} << Problem::NoStudents << 0 << false;
    // clang-format on
}

void TestStudentListFile::reads() {
    QFETCH(QByteArray, bytes);
    QFETCH(Students, students);
    QFETCH(Problem, problem);
    QFETCH(int, blankNames);
    QFETCH(bool, heading);
    const StudentListFile::Contents c = StudentListFile::read(bytes);
    QCOMPARE(c.students, students);
    QCOMPARE(c.problem, problem);
    QCOMPARE(c.blankNames, blankNames);
    QCOMPARE(c.headingSkipped, heading);
    for (const Student& s : c.students) {
        for (const QString& field : {s.name, s.password}) {
            QVERIFY(!field.contains(QLatin1Char('\r')));
            QVERIFY(!field.contains(QChar(0xFEFF)));
        }
    }
}

void TestStudentListFile::readFileReportsWhatItCannotRead() {
    QTemporaryDir dir;
    QCOMPARE(StudentListFile::readFile(dir.filePath("missing.txt")).problem, Problem::CannotOpen);
    QCOMPARE(StudentListFile::readFile(dir.path()).problem, Problem::CannotOpen);
    QFile large(dir.filePath("large.txt"));
    QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(StudentListFile::kMaxBytes + 1));
    large.close();
    QCOMPARE(StudentListFile::readFile(large.fileName()).problem, Problem::TooLarge);
    QVERIFY(large.resize(StudentListFile::kMaxBytes)); // at the bound: read (and found not text)
    QCOMPARE(StudentListFile::readFile(large.fileName()).problem, Problem::NotText);
    QFile file(dir.filePath("list.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Ann\tpw\r\n");
    file.close();
    const StudentListFile::Contents c = StudentListFile::readFile(file.fileName());
    QCOMPARE(c.problem, Problem::None);
    QCOMPARE(c.students, (Students{{"Ann", "pw"}}));
}

// Lines count from 1 in every line-end convention, blank and tab-less lines included.
void TestStudentListFile::unusablePasswordsAreLeftOutWithTheirLines() {
    const StudentListFile::Contents c =
        StudentListFile::read("Room 4\r\nAnn\tp\x01w\r\n\r\nBob\tok\rCy\t\x7F\nDee\t\xC2\x85\n");
    QCOMPARE(c.problem, Problem::None);
    QCOMPARE(c.students, (Students{{"Bob", "ok"}}));
    QCOMPARE(c.students[0].line, 4);
    QCOMPARE(c.unusablePasswords.size(), 3);
    QCOMPARE(c.unusablePasswords[0].name, QStringLiteral("Ann"));
    QCOMPARE(c.unusablePasswords[0].line, 2);
    QCOMPARE(c.unusablePasswords[1].line, 5);
    QCOMPARE(c.unusablePasswords[2].line, 6);
    // A file of nothing but such lines is still a list: the window names them.
    const StudentListFile::Contents only = StudentListFile::read("Ann\t\x01\n");
    QCOMPARE(only.problem, Problem::None);
    QVERIFY(only.students.isEmpty());
    QCOMPARE(only.unusablePasswords.size(), 1);
}

QTEST_GUILESS_MAIN(TestStudentListFile)
#include "tst_studentlistfile.moc"
