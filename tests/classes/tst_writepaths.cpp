// Every write path of the teacher's and the student's windows (writepaths.h), run against another
// computer that holds the database past the wait, and killed before each of its file writes: each
// either lands whole or leaves everything as it was, and says only what is true.

#include "writepaths.h"

#include "support/fixtures.h"
#include "support/keptwaiting.h"
#include "support/killpoints.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using TestDoubles::OtherComputer;
using TestDoubles::ScriptedDialogs;
using TestDoubles::TempDatabase;
using TestDoubles::WhenKeptWaiting;

namespace {

const QString kBusy = QStringLiteral(": another computer is using the student data.");

// The program waits 5 s for another computer's lock; most cases need not wait that long to see it
// run out.
void shortenTheWait() {
    QSqlQuery(DBCtrl::NBData()).exec(QStringLiteral("PRAGMA busy_timeout = 150"));
}

// A school in a database of its own, with the rows as they stand before any path.
struct School {
    ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    TempDatabase db;
    QTemporaryDir files;
    WritePaths::Context context;

    School() {
        myPrefs::initPrefs();
        WritePaths::fillSchool();
        context.dialogs = &dialogs;
        context.importFile = files.filePath(QStringLiteral("list.txt"));
    }
    ~School() { WritePaths::closeWindows(context); }
    QString rows() const { return WritePaths::dumpTables(DBCtrl::NBData()); }
};

// The rows of a database file read on a connection of the test's own (which also rolls back what a
// killed program left in its journal).
QString rowsOf(const QString& file) {
    QString rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("inspector"));
        db.setDatabaseName(file);
        rows = db.open() ? WritePaths::dumpTables(db) : QStringLiteral("cannot open");
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("inspector"));
    return rows;
}

void copyFresh(const QString& from, const QString& to) {
    QFile::remove(to);
    QFile::remove(to + QStringLiteral("-journal"));
    QVERIFY(QFile::copy(from, to));
    QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace

class TestWritePaths : public QObject {
    Q_OBJECT
private slots:
    void aLockHeldPastTheWaitWritesNothing_data();
    void aLockHeldPastTheWaitWritesNothing();
    void theRealWaitRunsOut();
    void aKillBeforeAnyFileWriteLeavesNothingHalf_data();
    void aKillBeforeAnyFileWriteLeavesNothingHalf();
};

void TestWritePaths::aLockHeldPastTheWaitWritesNothing_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("letGoOnceGivenUp");
    for (const WritePaths::Path& p : WritePaths::paths()) {
        // The lock held for the whole action: reading goes on, writing waits and gives up.
        QTest::addRow("%s, lock held", p.name) << QString::fromLatin1(p.name) << false;
        // Nobody may even read until this computer gives up; then the lock goes at once, so that a
        // step after a failed look would go through.
        QTest::addRow("%s, let go once given up", p.name) << QString::fromLatin1(p.name) << true;
    }
}

void TestWritePaths::aLockHeldPastTheWaitWritesNothing() {
    QFETCH(QString, path);
    QFETCH(bool, letGoOnceGivenUp);
    School s;
    const WritePaths::Path* p = WritePaths::pathNamed(path);
    QVERIFY(p);
    p->prepare(s.context);
    const QString before = s.rows();
    const std::shared_ptr<StRecord> playing = myGlobals::gCurPlayer;
    s.dialogs.clear();
    {
        OtherComputer other(s.db.file());
        shortenTheWait();
        if (letGoOnceGivenUp) {
            QVERIFY(other.holdExclusiveLock());
            WhenKeptWaiting race([&other] { other.release(); }, WhenKeptWaiting::Then::GiveUp);
            p->act(s.context);
            QVERIFY(race.waits() > 0);
        } else {
            QVERIFY(other.holdWriteLock());
            p->act(s.context);
        }
    }
    QCOMPARE(s.rows(), before);
    QCOMPARE(WritePaths::told(s.dialogs), QStringList{QString::fromLatin1(p->notDone) + kBusy});
    if (path == QLatin1String("reset scores")) {
        // A reset that did not happen leaves no half-reset record to play on with.
        QVERIFY(!myGlobals::gCurPlayer);
    } else if (playing) {
        // The round stays with the signed-in student, to go with the next save, and she is told so.
        QCOMPARE(s.dialogs.shown.last().explanation,
                 QStringLiteral("It is kept while you stay signed in, and is saved with your next round or "
                                "game."));
        QCOMPARE(myGlobals::gCurPlayer, playing);
        QCOMPARE(playing->divTried[9], 40);
        s.dialogs.clear();
        playing->rejoinData();
        QCOMPARE(s.db.dataColumn(playing->curStID, "stDiv").split(',').value(9), QStringLiteral("34/40"));
        QCOMPARE(s.db.count("HallData"), 1);
        QCOMPARE(s.dialogs.messages().size(), 1);
        QVERIFY(s.dialogs.messages()[0].contains("You have been added to the Numbrook Riza Hall of Fame."));
    }
}

// Once, the whole wait of the program: another computer holds the lock for longer than 5 seconds
// while the teacher resets a student's scores.
void TestWritePaths::theRealWaitRunsOut() {
    School s;
    const WritePaths::Path* p = WritePaths::pathNamed(QStringLiteral("reset scores"));
    p->prepare(s.context);
    const QString before = s.rows();
    s.dialogs.clear();
    QElapsedTimer waited;
    {
        OtherComputer other(s.db.file());
        QVERIFY(other.holdWriteLock());
        waited.start();
        p->act(s.context);
    }
    QVERIFY2(waited.elapsed() >= 4900, qPrintable(QString::number(waited.elapsed())));
    QCOMPARE(s.rows(), before);
    QCOMPARE(WritePaths::told(s.dialogs), QStringList{QStringLiteral("Nothing was reset") + kBusy});
    QCOMPARE(s.dialogs.shown.last().explanation,
             QStringLiteral("The scores and stars are as they were. Please try again in a moment."));
}

void TestWritePaths::aKillBeforeAnyFileWriteLeavesNothingHalf_data() {
    QTest::addColumn<QString>("path");
    for (const WritePaths::Path& p : WritePaths::paths()) {
        if (p.changesRows)
            QTest::newRow(p.name) << QString::fromLatin1(p.name);
    }
}

void TestWritePaths::aKillBeforeAnyFileWriteLeavesNothingHalf() {
    QFETCH(QString, path);
    QString templateFile;
    QString before;
    School s;
    templateFile = s.db.file();
    before = s.rows();
    DBCtrl::closeDB();
    const QString work = s.files.filePath(QStringLiteral("work.rbd"));
    const QString importFile = s.files.filePath(QStringLiteral("import.txt"));
    const QString program = KillPoints::driver(QStringLiteral("classes_drv_writepath"));
    const QStringList args = {work, path, importFile};

    // A first run settles whatever the program writes once (caches); the second counts the points.
    copyFresh(templateFile, work);
    KillPoints::run(program, args);
    copyFresh(templateFile, work);
    const KillPoints::Outcome whole = KillPoints::run(program, args);
    QVERIFY2(whole.started && whole.exitCode == 0, qPrintable(whole.output));
    const QString after = rowsOf(work);
    QVERIFY2(after != before, "the path changed nothing");
    QVERIFY(whole.points > 0);

    int consistent = 0;
    for (int at = 1; at <= whole.points; ++at) {
        copyFresh(templateFile, work);
        const KillPoints::Outcome killed = KillPoints::run(program, args, at);
        QVERIFY(killed.started);
        const QString left = rowsOf(work);
        if (left == before || left == after)
            ++consistent;
        else
            qWarning("%s: killed before file write %d of %d, half written:\n%s", qPrintable(path), at,
                     whole.points, qPrintable(left));
    }
    qInfo("%s: %d kill points, %d left the rows whole", qPrintable(path), whole.points, consistent);
    QCOMPARE(consistent, whole.points);
}

QTEST_MAIN(TestWritePaths)
#include "tst_writepaths.moc"
