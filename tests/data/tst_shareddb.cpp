// Several computers of a school use one database file in the shared folder at the same time. A second
// copy of the program (the driver data_drv_sharedwriter) saves students' records, creates the file or
// rewrites it while this one works on the same file.

#include "data/dbctrl.h"
#include "data/locations.h"
#include "data/strecord.h"
#include "datafiles.h"
#include "support/doubles.h"
#include "support/fixtures.h"
#include "support/killpoints.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

namespace {

constexpr int kSaves = 150;

// The other copy of the program, in this test's own home (it makes none of its own, so nothing of it
// is left when it is killed).
void startOther(QProcess& process, const QStringList& arguments) {
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(KillPoints::driver(QStringLiteral("data_drv_sharedwriter")), arguments);
}

// What a database file holds, read on a connection of its own: the result of SQLite's integrity check,
// the number of students and the number of different star totals among them.
struct Snapshot {
    QString integrity;
    int students = -1;
    int starValues = -1;
};

Snapshot snapshotOf(const QString& file) {
    Snapshot out;
    out.integrity = TestFiles::integrityOf(file);
    TestFiles::readDatabase(file, [&](const QSqlDatabase& db) {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT StStars) FROM Names")) && q.next()) {
            out.students = q.value(0).toInt();
            out.starValues = q.value(1).toInt();
        }
    });
    return out;
}

} // namespace

class TestSharedDatabase : public QObject {
    Q_OBJECT
private slots:
    void twoProgramsSaveAtTheSameMoment();
    void twoProgramsSaveOneStudentAtTheSameMoment();
    void aProgramKilledWhileCreatingLeavesNoDatabase();
    void theMoveCopiesOneStateWhileAnotherProgramWrites();
};

void TestSharedDatabase::twoProgramsSaveAtTheSameMoment() {
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::TempDatabase db;
    QVERIFY(db.ok());
    const int first = db.addStudent(QStringLiteral("Writer A"), QStringLiteral("Shared"));
    const int second = db.addStudent(QStringLiteral("Writer B"), QStringLiteral("Shared"));
    db.addResults(first, 0, 0);
    db.addResults(second, 0, 0);
    const QString go = db.folder() + QStringLiteral("/go");

    QProcess a, b;
    for (auto [process, id] : {std::pair{&a, first}, std::pair{&b, second}}) {
        startOther(*process,
                   {QStringLiteral("save"), db.file(), QString::number(id), QString::number(kSaves), go});
        QVERIFY(process->waitForStarted());
    }
    QThread::msleep(300); // both have opened the file and read their student
    QFile signal(go);
    QVERIFY(signal.open(QIODevice::WriteOnly));
    signal.close();
    QVERIFY(a.waitForFinished(60000));
    QVERIFY(b.waitForFinished(60000));
    QCOMPARE(a.exitStatus(), QProcess::NormalExit);
    QCOMPARE(b.exitStatus(), QProcess::NormalExit);
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);

    // Every save of both students is in the file, each in its own row.
    for (int id : {first, second}) {
        const QStringList facts = db.dataColumn(id, QStringLiteral("stMul")).split(QLatin1Char(','));
        QCOMPARE(facts.size(), StRecord::kFacts);
        QCOMPARE(facts[6], QStringLiteral("%1/%1").arg(kSaves));
        QCOMPARE(facts[5], QStringLiteral("0/0"));
    }
    QCOMPARE(db.count(QStringLiteral("theData")), 2);
    QSqlQuery mode(DBCtrl::NBData());
    QVERIFY(mode.exec(QStringLiteral("PRAGMA journal_mode")) && mode.next());
    QVERIFY(mode.value(0).toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0);
}

void TestSharedDatabase::twoProgramsSaveOneStudentAtTheSameMoment() {
    // A student with no results yet signs in on two computers at once and plays on both.
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::TempDatabase db;
    QVERIFY(db.ok());
    const int id = db.addStudent(QStringLiteral("Writer A"), QStringLiteral("Shared"));
    const QString go = db.folder() + QStringLiteral("/go");

    QProcess a, b;
    for (QProcess* process : {&a, &b}) {
        startOther(*process, {QStringLiteral("save"), db.file(), QString::number(id), QString::number(kSaves),
                              go, QStringLiteral("late")});
        QVERIFY(process->waitForStarted());
    }
    QThread::msleep(300);
    QFile signal(go);
    QVERIFY(signal.open(QIODevice::WriteOnly));
    signal.close();
    for (QProcess* process : {&a, &b}) {
        QVERIFY(process->waitForFinished(60000));
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0);
    }
    QCOMPARE(db.count(QStringLiteral("theData")), 1);
    const QStringList facts = db.dataColumn(id, QStringLiteral("stMul")).split(QLatin1Char(','));
    QCOMPARE(facts.size(), StRecord::kFacts);
    QCOMPARE(facts[6], QStringLiteral("%1/%1").arg(2 * kSaves));
}

void TestSharedDatabase::aProgramKilledWhileCreatingLeavesNoDatabase() {
    TestDoubles::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("stopped"));
    const QString folder = dir.filePath(QStringLiteral("share"));
    QVERIFY(QDir().mkpath(folder));
    QProcess creator;
    startOther(creator, {QStringLiteral("create"), folder, marker});
    QVERIFY(creator.waitForStarted());
    QVERIFY(TestFiles::waitForFile(marker));
    creator.kill();
    QVERIFY(creator.waitForFinished(10000));
    const QString file = QDir(folder).filePath(QStringLiteral("NB_Data.rbd"));
    QVERIFY(!QFileInfo::exists(file)); // the name never stood for a half-made file

    // The next start creates the database.
    DBCtrl::check4Database(folder);
    QVERIFY(DBCtrl::isConnected());
    QCOMPARE(DBCtrl::databasePath(), file);
    QCOMPARE(DBCtrl::classNames(), QStringList{QStringLiteral("Default")});
    QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("A new Database file was created at <") + file +
                                             QStringLiteral(">.")});
    DBCtrl::closeDB();
}

void TestSharedDatabase::theMoveCopiesOneStateWhileAnotherProgramWrites() {
    // A second copy of the program on this computer gives every student new stars in one transaction
    // after another while the teacher moves the data to the shared folder: each copy must be a sound
    // database holding one of those states, never half of one.
    TestDoubles::ScriptedDialogs dialogs;
    const QString local = myPrefs::getLocalDataFol();
    DBCtrl::check4Database(local);
    QVERIFY(DBCtrl::isConnected());
    constexpr int kStudents = 30000;
    {
        QSqlQuery q(DBCtrl::NBData());
        QVERIFY(q.exec(QStringLiteral("BEGIN")));
        q.prepare(
            QStringLiteral("INSERT INTO Names (StName, StClass, StStars, StPW) VALUES (?, 'Default', '0', "
                           "NULL)"));
        for (int i = 0; i < kStudents; ++i) {
            q.addBindValue(QStringLiteral("Student %1 of a class with a rather long name").arg(i));
            QVERIFY(q.exec());
        }
        QVERIFY(q.exec(QStringLiteral("COMMIT")));
    }
    const QString database = DBCtrl::databasePath();
    QTemporaryDir scratch;
    const QString started = scratch.filePath(QStringLiteral("started"));
    const QString stop = scratch.filePath(QStringLiteral("stop"));
    QProcess writer;
    writer.setProcessChannelMode(QProcess::MergedChannels);
    writer.start(KillPoints::driver(QStringLiteral("data_drv_sharedwriter")),
                 {QStringLiteral("restar"), database, started, stop});
    QVERIFY(writer.waitForStarted());
    QVERIFY(TestFiles::waitForFile(started));

    QStringList problems;
    constexpr int kMoves = 25;
    for (int i = 0; i < kMoves; ++i) {
        const QString shared = scratch.filePath(QStringLiteral("share%1").arg(i));
        QVERIFY(QDir().mkpath(shared));
        dialogs.clear();
        QVERIFY(DBCtrl::moveLocalData(shared));
        QCOMPARE(dialogs.messages(),
                 QStringList{QStringLiteral("The local data was copied to the new location.")});
        const Snapshot copy = snapshotOf(QDir(shared).filePath(QStringLiteral("NB_Data.rbd")));
        if (copy.integrity != QStringLiteral("ok") || copy.students != kStudents || copy.starValues != 1) {
            problems << QStringLiteral("copy %1: integrity %2, %3 students, %4 star values")
                            .arg(i)
                            .arg(copy.integrity.left(60))
                            .arg(copy.students)
                            .arg(copy.starValues);
        }
        // Nothing but the database itself is left in the folder.
        QCOMPARE(QDir(shared).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("NB_Data.rbd")});
    }
    QFile signal(stop);
    QVERIFY(signal.open(QIODevice::WriteOnly));
    signal.close();
    QVERIFY(writer.waitForFinished(30000));
    const QString said = QString::fromLocal8Bit(writer.readAll());
    QCOMPARE(writer.exitCode(), 0);
    qInfo().noquote() << "the other program made" << said.trimmed() << "during" << kMoves << "copies";
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    DBCtrl::closeDB();
}

QTEST_GUILESS_MAIN(TestSharedDatabase)
#include "tst_shareddb.moc"
