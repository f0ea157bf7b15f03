// A second copy of the program on the same database file, started by the shared-database tests:
//
//   save <database> <student id> <saves> <go file> [late]
//       waits for the go file, then saves the student's record again and again, one more right answer
//       each time, as the drill round saves after every round; with "late" it signs the student in
//       only at the signal. Exits 0 only when every save went through without a message to the user.
//   create <folder> <marker file>
//       starts making the database in the folder and stops for good once the new file is complete
//       under its temporary name (the test then kills it).
//   restar <database> <started file> <stop file>
//       until the stop file appears, sets every student's stars to one new value per transaction, as
//       fast as it can; writes the started file after its first commit. Exits 0 after at least one
//       commit.
//
// It gets no home of its own: it works in the one of the test that started it.

#include "data/dbctrl.h"
#include "data/strecord.h"
#include "datafiles.h"
#include "support/doubles.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>

#include <cstdio>

namespace {

void touch(const QString& file) {
    QFile signal(file);
    signal.open(QIODevice::WriteOnly);
    signal.close();
}

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
    if (!TestFiles::waitForFile(go))
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

int createAndHang(const QStringList& args) {
    if (args.size() != 4)
        return 2;
    TestDoubles::ScriptedDialogs dialogs;
    const QString marker = args[3];
    DBCtrl::setRaceHook(DBCtrl::RacePoint::BeforeDatabasePlaced, [&] {
        touch(marker);
        QThread::sleep(60);
    });
    DBCtrl::check4Database(args[2]);
    return 6; // never reached while the test runs
}

int restarEveryone(const QStringList& args) {
    if (args.size() != 5)
        return 2;
    const QString started = args[3];
    const QString stop = args[4];
    int commits = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
        db.setDatabaseName(args[2]);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open())
            return 3;
        QSqlQuery q(db);
        for (int value = 1; !QFile::exists(stop); value = value % 8 + 1) {
            if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
                continue;
            q.prepare(QStringLiteral("UPDATE Names SET StStars = ?"));
            q.addBindValue(QString::number(value));
            if (q.exec() && q.exec(QStringLiteral("COMMIT"))) {
                if (++commits == 1)
                    touch(started);
            } else {
                q.exec(QStringLiteral("ROLLBACK"));
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("writer"));
    std::printf("%d commits\n", commits);
    return commits > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);
    if (mode == QStringLiteral("save"))
        return saveStudentRepeatedly(args);
    if (mode == QStringLiteral("create"))
        return createAndHang(args);
    if (mode == QStringLiteral("restar"))
        return restarEveryone(args);
    return 2;
}
