// The problem-set file as written: byte for byte, never over an existing set, and read back by the
// drill's reader as the same problems.

#include "data/rndset.h"
#include "setmaker/setfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A device that takes only so many bytes, like a disk that fills up.
class ShortDevice : public QIODevice {
public:
    explicit ShortDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }
    QByteArray taken;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 len) override {
        const qint64 n = std::min(len, room_ - qint64(taken.size()));
        if (n <= 0)
            return -1;
        taken.append(data, n);
        return n;
    }

private:
    qint64 room_;
};

} // namespace

class TestSetFile : public QObject {
    Q_OBJECT
private slots:
    void recordsByteForByte_data();
    void recordsByteForByte();
    void rowsThatCannotBeRecords();
    void aShortWriteIsAFailure();
    void fileNames_data();
    void fileNames();
    void namesThatLeadOutOfTheFolder_data();
    void namesThatLeadOutOfTheFolder();
    void saveNeverReplacesASet();
    void aFailedSaveLeavesTheNameFree();
    void theDrillReadsTheSameProblems();
};

void TestSetFile::recordsByteForByte_data() {
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("addition") << QStringList{"12 + 7"} << QByteArray::fromHex("06 31 32 20 2B 20 37");
    QTest::newRow("subtraction of a negative")
        << QStringList{"-5 - -3"} << QByteArray::fromHex("07 2D 35 20 2D 20 2D 33");
    QTest::newRow("division") << QStringList{"100 / 10"} << QByteArray::fromHex("08 31 30 30 20 2F 20 31 30");
    QTest::newRow("multiplication") << QStringList{"9 X 9"} << QByteArray::fromHex("05 39 20 58 20 39");
    QTest::newRow("back to back in list order")
        << QStringList{"9 X 9", "12 + 7"} << QByteArray::fromHex("05 39 20 58 20 39 06 31 32 20 2B 20 37");
    QTest::newRow("empty set") << QStringList{} << QByteArray();
}

void TestSetFile::recordsByteForByte() {
    QFETCH(QStringList, rows);
    QFETCH(QByteArray, bytes);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QVERIFY(SetFile::writeRecords(out, rows));
    QCOMPARE(out.data().toHex(' '), bytes.toHex(' '));
    // The same through a saved file.
    QTemporaryDir dir;
    QVERIFY(SetFile::save(dir.path(), "set", rows));
    QCOMPARE(fileBytes(dir.filePath("set.nbx")).toHex(' '), bytes.toHex(' '));
}

void TestSetFile::rowsThatCannotBeRecords() {
    // One length byte: a row of 256 bytes has no record; one of 255 has.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QVERIFY(SetFile::writeRecords(out, {QString(255, QLatin1Char('1'))}));
    QCOMPARE(out.data().size(), 256);
    QCOMPARE(quint8(out.data().at(0)), quint8(255));
    QBuffer longer;
    longer.open(QIODevice::WriteOnly);
    QVERIFY(!SetFile::writeRecords(longer, {"1 + 1", QString(256, QLatin1Char('1'))}));
    // A character no byte stands for (rows read from a file come back byte for byte, so Latin-1 is kept).
    QBuffer wide;
    wide.open(QIODevice::WriteOnly);
    QVERIFY(!SetFile::writeRecords(wide, {QStringLiteral("5 \u2212 5")}));
}

void TestSetFile::aShortWriteIsAFailure() {
    ShortDevice full(9);
    QVERIFY(!SetFile::writeRecords(full, {"12 + 7", "9 X 9"}));
    QCOMPARE(full.taken.size(), 9);
    ShortDevice roomy(13);
    QVERIFY(SetFile::writeRecords(roomy, {"12 + 7", "9 X 9"}));
}

void TestSetFile::fileNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("openedAs");
    QTest::newRow("plain") << "week1"
                           << "week1.nbx"
                           << "week1";
    QTest::newRow("already ends in .nbx") << "week1.nbx"
                                          << "week1.nbx"
                                          << "week1";
    QTest::newRow("upper-case ending") << "week1.NBX"
                                       << "week1.nbx"
                                       << "week1";
    QTest::newRow("mixed-case ending") << "Set.NbX"
                                       << "Set.nbx"
                                       << "Set";
    QTest::newRow("blanks are a name") << "  "
                                       << "  .nbx"
                                       << "  ";
    QTest::newRow("other dots stay") << "4.2 tables"
                                     << "4.2 tables.nbx"
                                     << "4.2 tables";
    QTest::newRow("nbx inside") << "nbx"
                                << "nbx.nbx"
                                << "nbx";
}

void TestSetFile::fileNames() {
    QFETCH(QString, name);
    QFETCH(QString, file);
    QFETCH(QString, openedAs);
    QCOMPARE(SetFile::fileNameFor(name), file);
    QCOMPARE(SetFile::setNameOf(file), openedAs);
}

void TestSetFile::namesThatLeadOutOfTheFolder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("plain") << "week 1" << true;
    QTest::newRow("inner dot") << "week.1" << true;
    QTest::newRow("colon") << "Room 12: week 1" << true;
    QTest::newRow("parent folder") << "../x" << false;
    QTest::newRow("sub folder") << "a/b" << false;
    QTest::newRow("absolute") << "/tmp/x" << false;
    QTest::newRow("backslash") << "a\\b" << false;
    QTest::newRow("hidden file") << ".week1" << false;
    QTest::newRow("only the ending") << ".nbx" << false;
    QTest::newRow("tab") << "a\tb" << false;
    QTest::newRow("line break") << "a\nb" << false;
    QTest::newRow("delete character") << "a\x7f" << false;
}

void TestSetFile::namesThatLeadOutOfTheFolder() {
    QFETCH(QString, name);
    QFETCH(bool, allowed);
    QCOMPARE(SetFile::nameAllowed(name), allowed);
}

void TestSetFile::saveNeverReplacesASet() {
    QTemporaryDir dir;
    const QString week1 = dir.filePath("week1.nbx");
    QVERIFY(SetFile::save(dir.path(), "week1", {"9 X 9"}));
    QCOMPARE(fileBytes(week1), QByteArray::fromHex("05 39 20 58 20 39"));
    // A second save under one name, changed or not, changes nothing and says the name is taken;
    // "week1.nbx" is that name too.
    bool taken = false;
    QVERIFY(!SetFile::save(dir.path(), "week1", {"1 + 1", "2 + 2"}, &taken));
    QVERIFY(taken);
    QVERIFY(!SetFile::save(dir.path(), "week1.nbx", {"9 X 9"}, &taken));
    QVERIFY(taken);
    QVERIFY(!SetFile::save(dir.path(), "week1.NBX", {}));
    QCOMPARE(fileBytes(week1), QByteArray::fromHex("05 39 20 58 20 39"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"week1.nbx"});

    // An empty set is an empty file.
    QVERIFY(SetFile::save(dir.path(), "nothing yet", {}));
    QCOMPARE(fileBytes(dir.filePath("nothing yet.nbx")), QByteArray());
    // No folder (no preferences location), a missing folder, a folder where the file would go.
    // None of these is a name taken by a set.
    QVERIFY(!SetFile::save(QString(), "week2", {"9 X 9"}, &taken));
    QVERIFY(!taken);
    taken = true;
    QVERIFY(!SetFile::save(dir.filePath("missing"), "week2", {"9 X 9"}, &taken));
    QVERIFY(!taken);
    QVERIFY(QDir(dir.path()).mkdir("taken.nbx"));
    taken = true;
    QVERIFY(!SetFile::save(dir.path(), "taken", {"9 X 9"}, &taken));
    QVERIFY(!taken);
}

void TestSetFile::aFailedSaveLeavesTheNameFree() {
    QTemporaryDir dir;
    // The second row cannot be written after the first was: the part-written file goes again.
    QVERIFY(!SetFile::save(dir.path(), "week3", {"1 + 1", QString(300, QLatin1Char('2'))}));
    QVERIFY(!QFile::exists(dir.filePath("week3.nbx")));
    QVERIFY(SetFile::save(dir.path(), "week3", {"1 + 1"}));
    QCOMPARE(fileBytes(dir.filePath("week3.nbx")), QByteArray::fromHex("05 31 20 2B 20 31"));
}

void TestSetFile::theDrillReadsTheSameProblems() {
    QTemporaryDir dir;
    const QStringList rows{"12 + 7",   "-5 - -3", "100 / 10", "9 X 9",
                           "-99 + -9", "0 / 5",   "999 X 99", "-8 / 2"};
    QVERIFY(SetFile::save(dir.path(), "mixed", rows));
    QFile file(dir.filePath("mixed.nbx"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const rndSet::SavedSetRecords read = rndSet::readSavedSet(file);
    QCOMPARE(read.texts, rows);
    QVERIFY(!read.leftOut);
    const int expected[][3] = {{12, 0, 7},   {-5, 1, -3}, {100, 3, 10}, {9, 2, 9},
                               {-99, 0, -9}, {0, 3, 5},   {999, 2, 99}, {-8, 3, 2}};
    for (int i = 0; i < rows.size(); ++i) {
        const std::optional<rndSet::Problem> p = rndSet::parseProblem(read.texts[i]);
        QVERIFY2(p, qPrintable(rows[i]));
        QCOMPARE((QList<int>{p->top, p->func, p->bot}),
                 (QList<int>{expected[i][0], expected[i][1], expected[i][2]}));
    }
}

QTEST_MAIN(TestSetFile)
#include "tst_setfile.moc"
