// The sign-in window on a school's worth of students (2,000 in 50 classes of 40), beside floors
// measured in the same run. bench/ratios.py prints each time over its floor. Both floors are lower
// bounds: they do part of the path's work, so a ratio above 1 is the rest of the work plus any waste.
//
//   ListClass               picking a class in the open window: the previous class's students go,
//                           the 40 students of the picked class are read and listed
//   ListClass_Bare          a lower bound: only the same rows through the sqlite3 C API (prepare, bind
//                           the class name, step through every row reading every column, finalise),
//                           nothing listed
//   ShowWindowAndListClass  making and showing a new sign-in window (as every return to it does),
//                           drawing it with its menu bar, class list, buttons and pictures, and listing
//                           a 40-student class; then closing it again
//   ShowWindowAndListClass_Floor  a lower bound: a plain Qt window of the same size with the same
//                           background drawn and one list of the same rows read through the sqlite3 C
//                           API, made, shown, drawn and closed; no menu bar, no class list, no buttons

#include "app/media.h"
#include "app/picts.h"
#include "benchsupport.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QPainter>
#include <QSqlQuery>
#include <QTableWidget>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int kClasses = 50;
constexpr int kPerClass = 40;

QString className(int c) {
    return QStringLiteral("Class %1").arg(c);
}

struct Fixture {
    TestDoubles::ScriptedDialogs dialogs;
    std::unique_ptr<TestDoubles::TempDatabase> db;
    sqlite3* bare = nullptr;

    Fixture() {
        db = std::make_unique<TestDoubles::TempDatabase>();
        BenchSupport::fillSchool(*db, kClasses, kPerClass, className);
        bare = BenchSupport::openBare(db->file());
        myPicts::loadPics();
    }
    ~Fixture() { sqlite3_close(bare); }
};

BenchSupport::Lazy<Fixture> fixture;

int rowOf(printingLB* list, const QString& text) {
    for (int r = 0; r < list->rowCount(); ++r) {
        if (list->item(r, 0)->text() == text)
            return r;
    }
    return -1;
}

void BareQuery(benchmark::State& state) {
    Fixture& f = fixture();
    const std::string cls = className(25).toStdString();
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(
            f.bare, "SELECT StID, StName, StClass, StStars, StPW FROM Names WHERE StClass = ? ORDER BY StID",
            -1, &st, nullptr);
        sqlite3_bind_text(st, 1, cls.c_str(), static_cast<int>(cls.size()), SQLITE_TRANSIENT);
        int rows = 0;
        int rc = 0;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(st, c));
            ++rows;
        }
        if (rc != SQLITE_DONE || rows != kPerClass)
            std::fprintf(stderr, "bare query failed: %s (%d rows)\n", sqlite3_errmsg(f.bare), rows);
        sqlite3_finalize(st);
    }
}

void ListClass(benchmark::State& state) {
    fixture();
    NameScrn* window = NameScrn::instance();
    window->show();
    QCoreApplication::processEvents();
    auto* classes = window->findChild<printingLB*>(QStringLiteral("ClassList"));
    auto* names = window->findChild<printingLB*>(QStringLiteral("NameList"));
    const int rows[] = {rowOf(classes, className(25)), rowOf(classes, className(26))};
    int turn = 0;
    for (auto _ : state) {
        classes->selectRow(rows[turn++ % 2]);
        if (names->rowCount() != kPerClass)
            state.SkipWithError("the class was not listed");
    }
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
BENCHMARK(ListClass)->Unit(benchmark::kMicrosecond);

void ListClass_Bare(benchmark::State& state) {
    BareQuery(state);
}
BENCHMARK(ListClass_Bare)->Unit(benchmark::kMicrosecond);

void ShowWindowAndListClass(benchmark::State& state) {
    fixture();
    for (auto _ : state) {
        NameScrn* window = NameScrn::instance();
        window->show();
        QCoreApplication::processEvents(); // drawn
        auto* classes = window->findChild<printingLB*>(QStringLiteral("ClassList"));
        classes->selectRow(rowOf(classes, className(25)));
        QCoreApplication::processEvents(); // the new names drawn
        if (window->findChild<printingLB*>(QStringLiteral("NameList"))->rowCount() != kPerClass)
            state.SkipWithError("the class was not listed");
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(ShowWindowAndListClass)->Unit(benchmark::kMicrosecond);

// The floor of the window: the same size, the same background picture drawn over it (scaled once and
// kept, as the program keeps its own), one list of the same 40 rows.
class PlainBackdrop : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        static QPixmap scaled;
        if (scaled.size() != size())
            scaled =
                Pictures::CustomBlueBkg().scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QPainter(this).drawPixmap(0, 0, scaled);
    }
};

void ShowWindowAndListClass_Floor(benchmark::State& state) {
    Fixture& f = fixture();
    const std::string cls = className(25).toStdString();
    for (auto _ : state) {
        auto* window = new PlainBackdrop;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->resize(800, 676);
        auto* list = new QTableWidget(0, 2, window);
        list->setGeometry(210, 32, 260, 538);
        window->show();
        QCoreApplication::processEvents();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(f.bare, "SELECT StID, StName FROM Names WHERE StClass = ? ORDER BY StID", -1, &st,
                           nullptr);
        sqlite3_bind_text(st, 1, cls.c_str(), static_cast<int>(cls.size()), SQLITE_TRANSIENT);
        while (sqlite3_step(st) == SQLITE_ROW) {
            const int row = list->rowCount();
            list->insertRow(row);
            list->setItem(row, 0,
                          new QTableWidgetItem(
                              QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)))));
            list->setItem(row, 1, new QTableWidgetItem(QString::number(sqlite3_column_int(st, 0))));
        }
        sqlite3_finalize(st);
        QCoreApplication::processEvents();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(ShowWindowAndListClass_Floor)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWidgetBenchmarks(argc, argv, [] { fixture.reset(); });
}
