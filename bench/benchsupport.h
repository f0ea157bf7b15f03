#pragma once

// What the benchmark programs share: the run itself, a fixture made once on first use, and the
// school database most of them measure against.

#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/strecord.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <functional>
#include <memory>

namespace BenchSupport {

// A fixture made on first use (so a filtered run that needs none makes none) and dropped by
// reset() before the application object goes, which its widgets and database need.
template <class F> class Lazy {
public:
    F& operator()() {
        if (!made)
            made = std::make_unique<F>();
        return *made;
    }
    void reset() { made.reset(); }

private:
    std::unique_ptr<F> made;
};

// Runs the benchmarks named on the command line in a widgets application, offscreen unless a
// platform is asked for. beforeQuit runs after the last benchmark, while the application still stands.
inline int runWidgetBenchmarks(int argc, char** argv, const std::function<void()>& beforeQuit = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeQuit)
        beforeQuit();
    return 0;
}

// Adds `classes` classes named by className(c) and `perClass` students in each, in one transaction.
// The classes take turns, so each class's students are spread over the whole table, as when a school
// adds its students over the years.
inline void fillSchool(TestDoubles::TempDatabase& db, int classes, int perClass,
                       const std::function<QString(int)>& className) {
    QSqlDatabase conn = DBCtrl::NBData();
    conn.transaction();
    for (int c = 0; c < classes; ++c) {
        QSqlQuery q(conn);
        q.prepare(QStringLiteral("INSERT INTO Classes (ClassNm) VALUES (?)"));
        q.addBindValue(className(c));
        q.exec();
    }
    for (int s = 0; s < perClass; ++s) {
        for (int c = 0; c < classes; ++c)
            db.addStudent(QStringLiteral("Student %1 of class %2").arg(s).arg(c), className(c), "pw", s % 9);
    }
    conn.commit();
}

// The database file opened straight through SQLite, for the floors that measure the bare work.
inline sqlite3* openBare(const QString& file) {
    sqlite3* bare = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &bare, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(bare, 5000);
    return bare;
}

// A game's world: the doubles, a fresh database and Ann Lee of Room 5 signed in, her record loaded as
// the sign-in window would and then changed by adjust. Leaving signs her out.
struct SignedInStudent {
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    TestDoubles::TempDatabase db;
    explicit SignedInStudent(const std::function<void(StRecord&)>& adjust = {}) {
        const int id = db.addStudent(QStringLiteral("Ann Lee"), QStringLiteral("Room 5"));
        auto student =
            std::make_shared<StRecord>(QStringLiteral("Ann Lee"), QStringLiteral("Room 5"), id, QString(), 0);
        student->getStudentData();
        if (adjust)
            adjust(*student);
        myGlobals::gCurPlayer = student;
    }
    ~SignedInStudent() { myGlobals::gCurPlayer.reset(); }
};

} // namespace BenchSupport
