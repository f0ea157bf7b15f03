// Reading a help page for printing, beside Qt's own reading of the same page as HTML.
//
//   build/bench/bench_help            (NBR_HELP_DIR may name the help folder)
//   bench/ratios.py build/bench/bench_help

#include "benchsupport.h"
#include "help/helpfolder.h"
#include "help/htmlfield.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextDocument>

#include <benchmark/benchmark.h>

namespace {

// The largest shipped page: the build puts the folder beside the program, one level up from here.
QString largestPage() {
    for (const QString& folder :
         {HelpFolder::path(), QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../NBQ_Help")}) {
        const QFileInfoList pages =
            QDir(folder).entryInfoList({QStringLiteral("*.html")}, QDir::Files, QDir::Size);
        if (pages.isEmpty())
            continue;
        QFile f(pages.first().absoluteFilePath());
        if (f.open(QIODevice::ReadOnly))
            return QString::fromUtf8(f.readAll());
    }
    return {};
}

const QString& page() {
    static const QString text = largestPage();
    return text;
}

void RenderHelpPage(benchmark::State& state) {
    if (page().isEmpty()) {
        state.SkipWithError("no help pages found");
        return;
    }
    HTMLField field;
    for (auto _ : state) {
        field.Render(page());
        benchmark::DoNotOptimize(field.document()->characterCount());
    }
    state.SetLabel(std::to_string(page().size()) + " characters");
}
BENCHMARK(RenderHelpPage)->Unit(benchmark::kMillisecond);

// The same page made into a styled document by Qt's HTML reader.
void RenderHelpPage_Floor(benchmark::State& state) {
    if (page().isEmpty()) {
        state.SkipWithError("no help pages found");
        return;
    }
    QTextDocument document;
    for (auto _ : state) {
        document.setHtml(page());
        benchmark::DoNotOptimize(document.characterCount());
    }
}
BENCHMARK(RenderHelpPage_Floor)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return BenchSupport::runWidgetBenchmarks(argc, argv);
}
