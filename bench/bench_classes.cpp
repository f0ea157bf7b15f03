// Importing a student list of 2,000 lines into an empty class of a school that already has 2,000
// students (50 classes of 40), beside the bare work in the same run. bench/ratios.py prints each time
// over its floor.
//
//   ImportList        the class window's File > Import with the file chosen: the file read and
//                     decoded, each name checked against the class, the students stored in one
//                     transaction, and the class's list refilled and shown
//   ImportList_Floor  a lower bound: the file read and split into lines and fields, the rows inserted
//                     through the sqlite3 C API with one prepared statement in one transaction; no
//                     check of the names against the class, no list refilled or drawn
//
// Between rounds (not timed) the imported students are deleted again.

#include "benchsupport.h"
#include "classes/classscrn.h"
#include "controls/namelistctr.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int kClasses = 50;
constexpr int kPerClass = 40;
constexpr int kLines = 2000;
const QString kTarget = QStringLiteral("New Class");

struct Fixture {
    TestDoubles::ScriptedDialogs dialogs;
    std::unique_ptr<TestDoubles::TempDatabase> db;
    sqlite3* bare = nullptr;
    QString listPath;

    Fixture() {
        db = std::make_unique<TestDoubles::TempDatabase>();
        BenchSupport::fillSchool(*db, kClasses, kPerClass,
                                 [](int c) { return QStringLiteral("Class %1").arg(c); });
        DBCtrl::insertClass(kTarget);

        listPath = QDir(db->folder()).filePath(QStringLiteral("list.txt"));
        QFile file(listPath);
        file.open(QIODevice::WriteOnly);
        for (int i = 0; i < kLines; ++i)
            file.write(QStringLiteral("Newcomer %1 Ségolène\tpass%1\r\n").arg(i).toUtf8());
        file.close();

        bare = BenchSupport::openBare(db->file());
    }
    ~Fixture() { sqlite3_close(bare); }

    void removeImported() {
        const std::string cls = kTarget.toStdString();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare, "DELETE FROM Names WHERE StClass = ?", -1, &st, nullptr);
        sqlite3_bind_text(st, 1, cls.c_str(), static_cast<int>(cls.size()), SQLITE_TRANSIENT);
        sqlite3_step(st);
        sqlite3_finalize(st);
    }
    int importedCount() {
        QSqlQuery q(DBCtrl::NBData());
        q.prepare(QStringLiteral("SELECT COUNT(*) FROM Names WHERE StClass = ?"));
        q.addBindValue(kTarget);
        return q.exec() && q.next() ? q.value(0).toInt() : -1;
    }
};

BenchSupport::Lazy<Fixture> fixture;

void ImportList(benchmark::State& state) {
    Fixture& f = fixture();
    ClassScrn* window = ClassScrn::instance();
    window->show();
    QCoreApplication::processEvents();
    auto* panel = window->findChild<nameListCtr*>(QStringLiteral("myNameCtr"));
    panel->classPopup()->setCurrentIndex(panel->classPopup()->findText(kTarget));
    for (auto _ : state) {
        f.dialogs.paths.push_back(f.listPath);
        window->importNames();
        QCoreApplication::processEvents(); // the list drawn
        state.PauseTiming();
        if (panel->list()->rowCount() != kLines || f.importedCount() != kLines)
            state.SkipWithError("the list was not imported");
        f.removeImported();
        // The next round starts as the first: the window showing the class empty again.
        panel->refreshList();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    window->close();
    if (NameScrn::exists())
        NameScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
BENCHMARK(ImportList)->Unit(benchmark::kMillisecond);

void ImportList_Floor(benchmark::State& state) {
    Fixture& f = fixture();
    const std::string cls = kTarget.toStdString();
    for (auto _ : state) {
        QFile file(f.listPath);
        file.open(QIODevice::ReadOnly);
        const QString text = QString::fromUtf8(file.readAll());
        file.close();
        sqlite3_exec(f.bare, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(f.bare, "INSERT INTO Names (StName, StPW, StClass, StStars) VALUES (?, ?, ?, '0')",
                           -1, &st, nullptr);
        int added = 0;
        for (const QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
            const QStringView trimmed = line.endsWith(QLatin1Char('\r')) ? line.chopped(1) : line;
            const qsizetype tab = trimmed.indexOf(QLatin1Char('\t'));
            if (tab < 0)
                continue;
            const QByteArray name = trimmed.left(tab).toUtf8();
            const QByteArray password = trimmed.mid(tab + 1).toUtf8();
            sqlite3_bind_text(st, 1, name.constData(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 2, password.constData(), static_cast<int>(password.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 3, cls.c_str(), static_cast<int>(cls.size()), SQLITE_TRANSIENT);
            if (sqlite3_step(st) == SQLITE_DONE)
                ++added;
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(f.bare, "COMMIT", nullptr, nullptr, nullptr);
        state.PauseTiming();
        if (added != kLines)
            state.SkipWithError("the bare import failed");
        f.removeImported();
        state.ResumeTiming();
    }
}
BENCHMARK(ImportList_Floor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWidgetBenchmarks(argc, argv, [] { fixture.reset(); });
}
