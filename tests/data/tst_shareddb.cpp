// Several computers of a school save into one database file in the shared folder at the same time.
// Two copies of this program (this test binary started again as a writer) save students' records
// into one file at the same moment; every save of both must succeed and every round must count.

#include "data/dbctrl.h"
#include "data/strecord.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cstdio>

namespace {

const char* const kWriterFlag = "--save-student";
const char* const kCreatorFlag = "--create-database";
constexpr int kSaves = 150;

bool waitFor(const QString& file) {
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(file)) {
        if (waited.elapsed() > 20000)
            return false;
        QThread::usleep(200);
    }
    return true;
}

// The writer: waits for the start signal (a file appearing), then saves the student's record again
// and again, one more right answer each time, the way the drill round saves after every round. With
// "late" it signs the student in only at the signal, at the same moment as the other writer.
// Exits 0 only when every save went through without a single message to the user.
int saveStudentRepeatedly(const QStringList& args) {
    if (args.size() != 6 && args.size() != 7)
        return 2;
    const QString database = args[2];
    const int studentId = args[3].toInt();
    const int saves = args[4].toInt();
    const QString go = args[5];
    const bool signInLate = args.size() == 7 && args[6] == QStringLiteral("late");

    TestDoubles::ScriptedDialogs dialogs;
    if (!DBCtrl::connectToDB(database))
        return 3;
    StRecord student(QStringLiteral("Writer %1").arg(studentId), QStringLiteral("Shared"), studentId, {}, 0);
    if (!signInLate)
        student.getStudentData();
    if (!waitFor(go))
        return 4;
    if (signInLate)
        student.getStudentData();
    if (!student.loaded())
        return 5;
    for (int i = 0; i < saves; ++i) {
        ++student.mulCor[6];
        ++student.mulTried[6];
        student.rejoinData();
        if (!dialogs.shown.isEmpty()) {
            std::fprintf(stderr, "save %d: %s / %s\n", i, qPrintable(dialogs.shown.first().message),
                         qPrintable(dialogs.shown.first().explanation));
            return 1;
        }
    }
    DBCtrl::closeDB();
    return 0;
}

// The creator: starts making the database in the folder and stops for good once the new file is
// complete under its temporary name, the moment at which it is then killed.
int createAndHang(const QStringList& args) {
    if (args.size() != 4)
        return 2;
    TestDoubles::ScriptedDialogs dialogs;
    const QString marker = args[3];
    DBCtrl::setRaceHook(DBCtrl::RacePoint::BeforeDatabasePlaced, [&] {
        QFile signal(marker);
        signal.open(QIODevice::WriteOnly);
        signal.close();
        QThread::sleep(60);
    });
    DBCtrl::check4Database(args[2]);
    return 6; // never reached while the test runs
}

} // namespace

class TestSharedDatabase : public QObject {
    Q_OBJECT
private slots:
    void twoProgramsSaveAtTheSameMoment();
    void twoProgramsSaveOneStudentAtTheSameMoment();
    void aProgramKilledWhileCreatingLeavesNoDatabase();
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
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(
            QCoreApplication::applicationFilePath(),
            {QString::fromLatin1(kWriterFlag), db.file(), QString::number(id), QString::number(kSaves), go});
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
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start(QCoreApplication::applicationFilePath(),
                       {QString::fromLatin1(kWriterFlag), db.file(), QString::number(id),
                        QString::number(kSaves), go, QStringLiteral("late")});
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
    creator.setProcessChannelMode(QProcess::ForwardedChannels);
    creator.start(QCoreApplication::applicationFilePath(),
                  {QString::fromLatin1(kCreatorFlag), folder, marker});
    QVERIFY(creator.waitForStarted());
    QVERIFY(waitFor(marker));
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

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], kWriterFlag) == 0)
        return saveStudentRepeatedly(app.arguments());
    if (argc > 1 && qstrcmp(argv[1], kCreatorFlag) == 0)
        return createAndHang(app.arguments());
    TestSharedDatabase test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shareddb.moc"
