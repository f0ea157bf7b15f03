// Several computers of a school save into one database file in the shared folder at the same time.
// Two copies of this program (this test binary started again as a writer) save different students'
// records into one file at the same moment; every save of both must succeed.

#include "data/dbctrl.h"
#include "data/strecord.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QThread>
#include <QtTest>

#include <cstdio>

namespace {

const char* const kWriterFlag = "--save-student";
constexpr int kSaves = 150;

// The writer: waits for the start signal (a file appearing), then saves the student's record again
// and again, one more right answer each time, the way the drill round saves after every round.
// Exits 0 only when every save went through without a single message to the user.
int saveStudentRepeatedly(const QStringList& args) {
    if (args.size() != 6)
        return 2;
    const QString database = args[2];
    const int studentId = args[3].toInt();
    const int saves = args[4].toInt();
    const QString go = args[5];

    TestDoubles::ScriptedDialogs dialogs;
    if (!DBCtrl::connectToDB(database))
        return 3;
    StRecord student(QStringLiteral("Writer %1").arg(studentId), QStringLiteral("Shared"), studentId, {}, 0);
    student.getStudentData();

    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(go)) {
        if (waited.elapsed() > 20000)
            return 4;
        QThread::usleep(200);
    }
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

} // namespace

class TestSharedDatabase : public QObject {
    Q_OBJECT
private slots:
    void twoProgramsSaveAtTheSameMoment();
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

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], kWriterFlag) == 0)
        return saveStudentRepeatedly(app.arguments());
    TestSharedDatabase test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shareddb.moc"
