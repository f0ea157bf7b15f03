// The class list with 2,000 students: filling it, scrolling it and laying out its printed pages, each
// beside a floor measured in the same run. bench/ratios.py prints each time over its floor.
//
//   FillList      the panel reading all 2,000 students into its list, beside the same rows read with
//                 SQLite's own calls and put into a plain Qt table of the same size, each cell an item
//                 as light as the panel's: its text and tag in members of its own, answered from there
//                 without Qt's per-value store
//   ScrollList    drawing the list's visible rows after a jump, beside the same on a 60-row list
//   PrintList     the page layout of all 2,000 rows into a PDF, beside drawing the same texts at the
//                 same places with the same page breaks straight from prepared strings

#include "benchsupport.h"
#include "controls/namelistctr.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kStudents = 2000;

struct Fixture {
    TestDoubles::ScriptedDialogs dialogs;
    std::unique_ptr<TestDoubles::TempDatabase> db;
    std::unique_ptr<nameListCtr> panel; // all 2,000 students
    std::unique_ptr<printingLB> shortList;
    std::unique_ptr<QTableWidget> plainList; // the same list filled with plain Qt calls
    sqlite3* bare = nullptr;

    Fixture() {
        db = std::make_unique<TestDoubles::TempDatabase>();
        DBCtrl::insertClass("Big");
        DBCtrl::insertClass("Small");
        QSqlDatabase conn = DBCtrl::NBData();
        conn.transaction();
        for (int i = 0; i < kStudents; ++i)
            db->addStudent(QStringLiteral("Student number %1").arg(i), i < 60 ? "Small" : "Big",
                           QStringLiteral("pw%1").arg(i), i % 9);
        conn.commit();
        panel = std::make_unique<nameListCtr>();
        panel->show();
        shortList = std::make_unique<printingLB>();
        shortList->setColumnCount(3);
        for (int i = 0; i < 60; ++i)
            shortList->addRow({QStringLiteral("Student number %1").arg(i), "Hx@", "1.5"});
        shortList->resize(panel->list()->size());
        shortList->show();
        plainList = std::make_unique<QTableWidget>(0, 3);
        plainList->resize(panel->list()->size());
        plainList->show();
        bare = BenchSupport::openBare(db->file());
    }
    ~Fixture() { sqlite3_close(bare); }
};

BenchSupport::Lazy<Fixture> fixture;

// The lightest table item that shows a text and keeps a tag (a student's id, or a class name), as the
// panel's cells are: the id is made a text only when asked for.
class PlainCell final : public QTableWidgetItem {
public:
    explicit PlainCell(const QString& text, int id = 0, const QString& tag = QString())
        : QTableWidgetItem(QTableWidgetItem::UserType), text_(text), id_(id), tag_(tag) {}
    QTableWidgetItem* clone() const override { return new PlainCell(*this); }
    QVariant data(int role) const override {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return text_;
        if (role == printingLB::TagRole && id_ != 0)
            return QString::number(id_);
        if (role == printingLB::TagRole && !tag_.isEmpty())
            return tag_;
        return QTableWidgetItem::data(role);
    }

private:
    QString text_;
    int id_;
    QString tag_;
};

void FillList(benchmark::State& state) {
    Fixture& f = fixture();
    QComboBox* popup = f.panel->classPopup();
    const int empty = popup->findText("Default");
    for (auto _ : state) {
        state.PauseTiming();
        popup->setCurrentIndex(empty);
        state.ResumeTiming();
        popup->setCurrentIndex(0); // "All Classes": every student
        benchmark::DoNotOptimize(f.panel->list()->rowCount());
    }
}
BENCHMARK(FillList)->Unit(benchmark::kMillisecond);

void FillList_Floor(benchmark::State& state) {
    Fixture& f = fixture();
    const QString stars[] = {".0", ".5", "1.0", "1.5", "2.0", "2.5", "3.0", "3.5", "4.0"};
    struct Row {
        int id;
        QString name, className, password;
        int halfStars;
    };
    const auto text = [](sqlite3_stmt* st, int column) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, column)),
                                 sqlite3_column_bytes(st, column));
    };
    for (auto _ : state) {
        state.PauseTiming();
        f.plainList->setRowCount(0);
        state.ResumeTiming();
        QList<Row> rows;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(f.bare, "SELECT StID, StName, StClass, StStars, StPW FROM Names ORDER BY StID", -1,
                           &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            rows.append({sqlite3_column_int(st, 0), text(st, 1), text(st, 2), text(st, 4),
                         std::clamp(text(st, 3).toInt(), 0, 8)});
        }
        sqlite3_finalize(st);
        f.plainList->setUpdatesEnabled(false);
        f.plainList->setRowCount(static_cast<int>(rows.size()));
        {
            const QSignalBlocker quiet(f.plainList->model());
            for (int r = 0; r < rows.size(); ++r) {
                f.plainList->setItem(r, 0, new PlainCell(rows[r].name, rows[r].id));
                f.plainList->setItem(r, 1, new PlainCell(rows[r].password, 0, rows[r].className));
                f.plainList->setItem(r, 2, new PlainCell(stars[rows[r].halfStars]));
            }
        }
        f.plainList->setUpdatesEnabled(true);
        f.plainList->viewport()->update();
        benchmark::DoNotOptimize(f.plainList->rowCount());
    }
}
BENCHMARK(FillList_Floor)->Unit(benchmark::kMillisecond);

void scrollAndDraw(benchmark::State& state, printingLB& list) {
    QImage canvas(list.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    QScrollBar* bar = list.verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        bar->setValue(bar->maximum() * (step++ % 7) / 6);
        list.viewport()->render(&canvas);
    }
}

void ScrollList(benchmark::State& state) {
    Fixture& f = fixture();
    f.panel->classPopup()->setCurrentIndex(0);
    scrollAndDraw(state, *f.panel->list());
}
BENCHMARK(ScrollList)->Unit(benchmark::kMillisecond);

void ScrollList_Floor(benchmark::State& state) {
    scrollAndDraw(state, *fixture().shortList);
}
BENCHMARK(ScrollList_Floor)->Unit(benchmark::kMillisecond);

// A PDF page in points, A4 with half-inch margins, like a printed class list.
struct PdfPage {
    QBuffer buffer;
    QPdfWriter writer{&buffer};
    QRectF printable;
    PdfPage() {
        buffer.open(QIODevice::WriteOnly);
        writer.setResolution(72);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(36, 36, 36, 36), QPageLayout::Point));
        printable = writer.pageLayout().paintRect(QPageLayout::Point);
    }
};

void PrintList(benchmark::State& state) {
    Fixture& f = fixture();
    f.panel->classPopup()->setCurrentIndex(0);
    const QStringList headings{"Student Name", "Password", "Stars", ""};
    for (auto _ : state) {
        PdfPage page;
        QPainter g(&page.writer);
        g.translate(-page.printable.topLeft());
        f.panel->list()->printOneCopy(g, page.printable, "All Classes", headings,
                                      [&] { page.writer.newPage(); });
        g.end();
        benchmark::DoNotOptimize(page.buffer.size());
    }
}
BENCHMARK(PrintList)->Unit(benchmark::kMillisecond);

void PrintList_Floor(benchmark::State& state) {
    Fixture& f = fixture();
    f.panel->classPopup()->setCurrentIndex(0);
    const printingLB& list = *f.panel->list();
    QList<QStringList> rows;
    for (int r = 0; r < list.rowCount(); ++r)
        rows << QStringList{list.outputText(r, 0), list.outputText(r, 1), list.outputText(r, 2)};
    QFont font = QApplication::font();
    font.setPixelSize(12);
    for (auto _ : state) {
        PdfPage page;
        QPainter g(&page.writer);
        g.translate(-page.printable.topLeft());
        g.setFont(font);
        const qreal L = page.printable.left(), T = page.printable.top(), H = page.printable.bottom();
        const qreal cw = std::floor(page.printable.width() / 3);
        g.drawText(QPointF(L, T + 16), "All Classes");
        g.drawText(QPointF(L, T + 32), DBCtrl::todayText());
        for (int k = 0; k < 3; ++k)
            g.drawText(QPointF(L + k * cw, T + 64), QStringLiteral("Heading"));
        qreal y = T + 80;
        for (int r = 0; r < rows.size(); ++r) {
            if (r > 0 && (y += 16) > H) {
                page.writer.newPage();
                y = T;
            }
            for (int k = 0; k < 3; ++k)
                g.drawText(QPointF(L + k * cw, y), rows[r][k]);
        }
        g.end();
        benchmark::DoNotOptimize(page.buffer.size());
    }
}
BENCHMARK(PrintList_Floor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWidgetBenchmarks(argc, argv, [] { fixture.reset(); });
}
