// The two ways a help page is read: by the help window's view, which shows it, and by our own reader
// of the pages' HTML subset, which prints it. Each beside a floor that does the same work with Qt's
// own calls, in the same run. bench/ratios.py prints each time over its floor.
//
//   RenderHelpPage        our reader turning the largest page into the styled text of the hidden print
//                         field, laid out at the field's width
//   RenderHelpPage_Floor  Qt's own HTML reader (QTextDocument::setHtml) reading the same page into a
//                         plain document of the field's font, laid out at the same width
//   ShowHelpPage          a topic picked in the index of a shown help window, until the view has
//                         repainted the page on screen
//   ShowHelpPage_Floor    the same page read from its file into a plain document of the view's font
//                         with its pictures, laid out at the view's width and repainted on screen by a
//                         plain shown widget of the view's visible size
//
//   build/bench/bench_help            (NBR_HELP_DIR may name the help folder)
//   bench/ratios.py build/bench/bench_help

#include "benchsupport.h"
#include "help/helpfolder.h"
#include "help/helpscrn2.h"
#include "help/htmlfield.h"
#include "help/indexctnr.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPaintEvent>
#include <QPainter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

#include <benchmark/benchmark.h>

namespace {

// The shipped pages, largest first. The build puts the folder beside the program, one level up from
// here; the help window is pointed there too.
QFileInfoList shippedPages() {
    for (const QString& folder :
         {HelpFolder::path(), QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../NBQ_Help")}) {
        const QFileInfoList pages =
            QDir(folder).entryInfoList({QStringLiteral("*.html")}, QDir::Files, QDir::Size);
        if (pages.size() < 2)
            continue;
        if (QDir(HelpFolder::path()) != QDir(folder))
            qputenv("NBR_HELP_DIR", QDir(folder).absolutePath().toLocal8Bit());
        return pages;
    }
    return {};
}

QString textOf(const QFileInfo& file) {
    QFile f(file.absoluteFilePath());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

const QString& page() {
    static const QString text = shippedPages().isEmpty() ? QString() : textOf(shippedPages().first());
    return text;
}

// ---- Printing: the page read by our own reader into the hidden field printing uses.

// The print field as the help window makes it: hidden, at the text size of the window's page.
void makePrintField(HTMLField& field) {
    QFont f = field.font();
    f.setPointSize(qMax(f.pointSize(), 11));
    field.setFont(f);
    field.setReadOnly(true);
    field.setGeometry(-364, 288, 352, 120);
}

void RenderHelpPage(benchmark::State& state) {
    if (page().isEmpty()) {
        state.SkipWithError("no help pages found");
        return;
    }
    HTMLField field;
    makePrintField(field);
    for (auto _ : state) {
        field.Render(page());
        // Laid out to its end, as printing and the floor need it.
        benchmark::DoNotOptimize(field.document()->documentLayout()->documentSize());
    }
    state.SetLabel(std::to_string(page().size()) + " characters");
}
BENCHMARK(RenderHelpPage)->Unit(benchmark::kMillisecond);

// The same page read by Qt's own HTML reader into a plain document of the field's font, laid out at
// the width the field gives its text: a slow reader of ours shows here as a ratio above 1.
void RenderHelpPage_Floor(benchmark::State& state) {
    if (page().isEmpty()) {
        state.SkipWithError("no help pages found");
        return;
    }
    HTMLField field;
    makePrintField(field);
    field.Render(page());
    const qreal width = field.document()->textWidth();
    QFont font = field.font();
    font.setPointSize(field.textSize());
    QTextDocument document;
    document.setDefaultFont(font);
    for (auto _ : state) {
        document.setHtml(page());
        document.setTextWidth(width);
        benchmark::DoNotOptimize(document.documentLayout()->documentSize());
    }
}
BENCHMARK(RenderHelpPage_Floor)->Unit(benchmark::kMillisecond);

// ---- Showing: a topic picked in the index of an open help window, until its page is drawn.

// The two largest pages take turns: the view does not load the page it already shows again.
struct Shown {
    Shown() {
        const QFileInfoList pages = shippedPages();
        if (pages.size() < 2)
            return;
        for (int i : {0, 1}) {
            files[i] = pages[i].absoluteFilePath();
            const QStringList& table = indexCtnr::topicTable();
            for (qsizetype row = 0; row < table.size(); ++row)
                if (table[row].section(QLatin1Char(','), 1, 1) == pages[i].fileName())
                    rows[i] = int(row);
        }
    }
    QString files[2];
    int rows[2] = {-1, -1};
    bool ok() const { return rows[0] >= 0 && rows[1] >= 0; }
};

// A help window opened from the sign-in window: the index beside an empty view.
struct OpenWindow {
    OpenWindow() {
        window.show();
        QCoreApplication::processEvents();
        index = window.findChild<indexCtnr*>(QStringLiteral("myIndexCtnr"));
        view = window.findChild<QTextBrowser*>(QStringLiteral("myHTML"));
    }
    helpScrn2 window{0};
    indexCtnr* index = nullptr;
    QTextBrowser* view = nullptr;
};

void ShowHelpPage(benchmark::State& state) {
    const Shown topics;
    if (!topics.ok()) {
        state.SkipWithError("no help pages found");
        return;
    }
    OpenWindow help;
    int turn = 0;
    for (auto _ : state) {
        help.index->list()->setCurrentRow(topics.rows[turn]);
        help.view->viewport()->repaint();
        benchmark::DoNotOptimize(help.window.curDocName());
        turn = 1 - turn;
    }
    state.SetLabel(std::to_string(help.view->viewport()->width()) + " pixels wide");
}
BENCHMARK(ShowHelpPage)->Unit(benchmark::kMillisecond);

// The floor's view: a plain shown widget that paints the visible part of a document on white.
class PlainPageView : public QWidget {
public:
    QTextDocument document;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::white);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(event->rect());
        document.documentLayout()->draw(&painter, context);
    }
};

// The same page read from its file into a document of the view's font with its pictures, laid out at
// the view's width and its visible part repainted on screen, without the view, the window and the
// index.
void ShowHelpPage_Floor(benchmark::State& state) {
    const Shown topics;
    if (!topics.ok()) {
        state.SkipWithError("no help pages found");
        return;
    }
    QSize visible;
    QFont font;
    {
        // The view's visible size (a long page gives it a scroll bar) and font, as the window has them.
        OpenWindow help;
        help.index->list()->setCurrentRow(topics.rows[0]);
        visible = help.view->viewport()->size();
        font = help.view->font();
    }
    state.SetLabel(std::to_string(visible.width()) + " pixels wide");
    PlainPageView view;
    view.setAttribute(Qt::WA_OpaquePaintEvent);
    view.resize(visible);
    view.document.setDefaultFont(font);
    view.show();
    QCoreApplication::processEvents();
    int turn = 0;
    for (auto _ : state) {
        QFile file(topics.files[turn]);
        file.open(QIODevice::ReadOnly);
        // Its pictures come from beside it, as the view's do.
        view.document.setBaseUrl(QUrl::fromLocalFile(topics.files[turn]));
        view.document.setHtml(QString::fromUtf8(file.readAll()));
        view.document.setTextWidth(visible.width());
        // The whole height, which the view's scroll bar needs.
        benchmark::DoNotOptimize(view.document.documentLayout()->documentSize());
        view.repaint();
        turn = 1 - turn;
    }
}
BENCHMARK(ShowHelpPage_Floor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWidgetBenchmarks(argc, argv);
}
