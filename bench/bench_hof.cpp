// The hall of fame with 10,000 entries made over ten years of school days (five a day, so 2,000
// different dates), beside a floor that does the same work in the same run. bench/ratios.py prints
// each time over its floor.
//
//   OpenHallOfFame        Show List: the window made, every entry read and listed, the Date column
//                         fitted to the widest date, the window shown and drawn; then closed again
//   OpenHallOfFame_Floor  the same work done bare: a plain Qt window of the same size and background
//                         with the same two pictures drawn, the same statement's rows read through
//                         the sqlite3 C API into a plain two-column QTreeWidget (items made and added
//                         in one call), the Date column as wide as the widest date text by the list's
//                         font metrics (each different date measured once), a plain Close button;
//                         shown, drawn, closed

#include "app/media.h"
#include "app/picts.h"
#include "benchsupport.h"
#include "controls/hofscrn.h"
#include "data/dbctrl.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QDate>
#include <QHeaderView>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <memory>

namespace {

constexpr int kEntries = 10000;
constexpr int kPerDay = 5;

struct Fixture {
    TestDoubles::ScriptedDialogs dialogs;
    std::unique_ptr<TestDoubles::TempDatabase> db;
    sqlite3* bare = nullptr;

    Fixture() {
        db = std::make_unique<TestDoubles::TempDatabase>();
        // As the program writes them: the system's short date of the day of entry.
        const QDate first(2016, 9, 1);
        QSqlDatabase conn = DBCtrl::NBData();
        conn.transaction();
        for (int i = 0; i < kEntries; ++i) {
            const QString date = QLocale::system().toString(first.addDays(i / kPerDay), QLocale::ShortFormat);
            DBCtrl::exec(QStringLiteral("INSERT INTO HallData (StName, dateEnt) VALUES (?, ?)"),
                         {QStringLiteral("Student %1 of class %2").arg(i).arg(i % 50), date});
        }
        conn.commit();
        bare = BenchSupport::openBare(db->file());
        myPicts::loadPics();
    }
    ~Fixture() { sqlite3_close(bare); }
};

BenchSupport::Lazy<Fixture> fixture;

void OpenHallOfFame(benchmark::State& state) {
    fixture();
    for (auto _ : state) {
        HOFScrn::showList();
        QPointer<HOFScrn> window = HOFScrn::current();
        QCoreApplication::processEvents(); // drawn
        if (window->findChild<QTreeWidget*>(QStringLiteral("HOFList"))->topLevelItemCount() != kEntries)
            state.SkipWithError("the hall was not listed");
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (window)
            state.SkipWithError("the window stayed");
    }
}
BENCHMARK(OpenHallOfFame)->Unit(benchmark::kMillisecond);

// The floor's window: the background and the two pictures, painted by hand.
class PlainHall : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xDD, 0xDD, 0xDD));
        p.drawPixmap(30, 8, Pictures::HOF10Stars());
        p.drawPixmap(30, 43, Pictures::HOF10Title());
    }
};

void OpenHallOfFame_Floor(benchmark::State& state) {
    Fixture& f = fixture();
    const auto text = [](sqlite3_stmt* st, int column) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, column)),
                                 sqlite3_column_bytes(st, column));
    };
    for (auto _ : state) {
        auto* window = new PlainHall;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setFixedSize(360, 540);
        auto* list = new QTreeWidget(window);
        list->setGeometry(30, 100, 300, 381);
        list->setColumnCount(2);
        list->setHeaderLabels({QStringLiteral("Student's Name"), QStringLiteral("Date")});
        list->setRootIsDecorated(false);
        list->header()->setStretchLastSection(false);
        list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        list->header()->setSectionResizeMode(1, QHeaderView::Fixed);
        auto* close = new QPushButton(QStringLiteral("Close"), window);
        close->setGeometry(114, 493, 120, 29);

        QList<QTreeWidgetItem*> rows;
        rows.reserve(kEntries);
        const QFontMetrics metrics(list->font());
        int widest = 0;
        QSet<QString> measured;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(f.bare, "SELECT * FROM HallData", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            const QString date = text(st, 2);
            if (!measured.contains(date)) {
                measured.insert(date);
                widest = std::max(widest, metrics.horizontalAdvance(date));
            }
            rows.append(new QTreeWidgetItem({text(st, 1), date}));
        }
        sqlite3_finalize(st);
        list->addTopLevelItems(rows);
        list->header()->resizeSection(1, widest + 8);

        window->show();
        QCoreApplication::processEvents(); // drawn
        if (list->topLevelItemCount() != kEntries)
            state.SkipWithError("the hall was not listed");
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(OpenHallOfFame_Floor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWidgetBenchmarks(argc, argv, [] { fixture.reset(); });
}
