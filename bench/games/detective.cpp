// Math Detective's board, beside a floor that paints the same faces and numbers into one image:
//
//   DetectiveDeal        "Find Factors": a round drawn, the board dealt and all 64 squares painted
//                        in the shown window, with the window's other controls that the deal changes
//   DetectiveDeal_Floor  a lower bound: only the 64 square faces with their numbers and frames
//                        painted into one image; no round drawn, no window, no flush to the screen

#include "../benchsupport.h"
#include "data/globals.h"
#include "data/strecord.h"
#include "games/detective/newmdscrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QtTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

// Ann plays with numbers up to 19.
struct DetectiveFixture : BenchSupport::SignedInStudent {
    DetectiveFixture()
        : SignedInStudent([](StRecord& r) { r.myParams[StRecord::HighestParam] = QStringLiteral("19"); }) {}
};

void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(20, 12));
}

void DetectiveDeal(benchmark::State& state) {
    DetectiveFixture f;
    newMDScrn* w = newMDScrn::instance();
    w->show();
    w->findChild<QTimer*>(QStringLiteral("mdGameTimer"))->setInterval(3600 * 1000);
    QCoreApplication::processEvents();
    QWidget* factors = w->findChild<QWidget*>(QStringLiteral("factorBtn"));
    QList<mdSquare*> squares = w->findChildren<mdSquare*>(QStringLiteral("MDBtn"));
    for (auto _ : state) {
        click(factors);
        QCoreApplication::processEvents(); // painted
        state.PauseTiming();
        if (w->rules().roundDone())
            state.SkipWithError("no round started");
        // Three misses end the round, so that the button is there again.
        const auto& answers = w->rules().answers();
        for (mdSquare* s : squares) {
            if (w->rules().roundDone())
                break;
            if (std::find(answers.begin(), answers.end(), w->rules().numberOn(s->index())) == answers.end())
                click(s);
        }
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
BENCHMARK(DetectiveDeal)->Unit(benchmark::kMicrosecond);

void DetectiveDeal_Floor(benchmark::State& state) {
    mySqrBtn square;
    square.resize(48, 48);
    QImage image(400, 400, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&image);
        for (int i = 0; i < 64; ++i) {
            p.save();
            p.translate(50 * (i % 8), 50 * (i / 8));
            mdSquare::paintFace(p, square, false, QString::number(2 + i * 3));
            p.restore();
        }
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(DetectiveDeal_Floor)->Unit(benchmark::kMicrosecond);

} // namespace
