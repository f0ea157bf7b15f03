// The numbers game's board, beside floors that paint the same tile pictures and numbers into one
// image:
//
//   NumbersPick        a first pick on the shown board, until the window has painted it
//   NumbersPick_Floor  a lower bound: only one tile's face and number painted into an image
//   NumbersStart       Start on the 64-tile board (a game dealt, the problem shown), until the window
//                      has painted it
//   NumbersStart_Floor a lower bound: only 64 tiles' faces and numbers painted into one image; no
//                      game dealt, no window, no flush to the screen

#include "../benchsupport.h"
#include "data/globals.h"
#include "data/strecord.h"
#include "games/numbers/numgamescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QtTest>

#include <benchmark/benchmark.h>

#include <memory>
#include <utility>

namespace {

using NumbersFixture = BenchSupport::SignedInStudent;

numGameScrn* openGame() {
    numGameScrn* w = numGameScrn::instance();
    w->show();
    w->findChild<QTimer*>(QStringLiteral("gameTimer"))->setInterval(3600 * 1000);
    w->findChild<QTimer*>(QStringLiteral("myAnsTimer"))->setInterval(3600 * 1000);
    QCoreApplication::processEvents();
    return w;
}

void closeGame(numGameScrn* w) {
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

numGameTile* tile(numGameScrn* w, int index) {
    for (numGameTile* t : w->findChildren<numGameTile*>(QStringLiteral("myCnv"))) {
        if (t->index() == index)
            return t;
    }
    return nullptr;
}

void click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(20, 20));
}

// A pair of free tiles that does (or does not) answer the problem.
std::pair<int, int> pairFor(const NumGameRules& r, int tiles, bool right) {
    for (int a = 0; a < tiles; ++a) {
        for (int b = 0; b < tiles; ++b) {
            if (a == b || r.numberAt(a) == NumGameRules::kUsed || r.numberAt(b) == NumGameRules::kUsed)
                continue;
            if ((NumGameRules::combine(r.func(), r.numberAt(a), r.numberAt(b)) == r.answer()) == right)
                return {a, b};
        }
    }
    return {-1, -1};
}

void paintTiles(QImage& image, int count) {
    QPainter p(&image);
    for (int i = 0; i < count; ++i) {
        p.save();
        p.translate(50 * (i % 8), 50 * (i / 8));
        numGameTile::paintFace(p, QSize(48, 48), false, 1 + i % 19, i != 0);
        p.restore();
    }
}

void NumbersPick(benchmark::State& state) {
    NumbersFixture f;
    numGameScrn* w = openGame();
    click(w->findChild<QWidget*>(QStringLiteral("ActionBtn")));
    QCoreApplication::processEvents();
    const auto wrong = pairFor(w->rules(), w->tileCount(), false);
    if (wrong.first < 0) {
        state.SkipWithError("no wrong pair on the board");
        closeGame(w);
        return;
    }
    numGameTile* first = tile(w, wrong.first);
    numGameTile* second = tile(w, wrong.second);
    for (auto _ : state) {
        click(first);
        QCoreApplication::processEvents(); // painted
        state.PauseTiming();
        if (!w->rules().looksPicked(wrong.first))
            state.SkipWithError("the pick was not taken");
        // A wrong pair frees the picks again and keeps the problem.
        click(second);
        w->myAnsTimer_Action();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    closeGame(w);
}
BENCHMARK(NumbersPick)->Unit(benchmark::kMicrosecond);

void NumbersPick_Floor(benchmark::State& state) {
    QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&image);
        numGameTile::paintFace(p, QSize(48, 48), true, 12, true);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(NumbersPick_Floor)->Unit(benchmark::kMicrosecond);

void NumbersStart(benchmark::State& state) {
    NumbersFixture f;
    numGameScrn* w = openGame();
    QWidget* start = w->findChild<QWidget*>(QStringLiteral("ActionBtn"));
    for (auto _ : state) {
        click(start);
        QCoreApplication::processEvents(); // painted
        state.PauseTiming();
        // Plays the game to its end, so that Start is there again.
        while (w->rules().running()) {
            const auto right = pairFor(w->rules(), w->tileCount(), true);
            if (right.first < 0)
                break;
            click(tile(w, right.first));
            click(tile(w, right.second));
            w->myAnsTimer_Action();
        }
        if (w->rules().running())
            state.SkipWithError("the game did not end");
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    closeGame(w);
}
BENCHMARK(NumbersStart)->Unit(benchmark::kMicrosecond);

void NumbersStart_Floor(benchmark::State& state) {
    QImage image(400, 400, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        paintTiles(image, 64);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(NumbersStart_Floor)->Unit(benchmark::kMicrosecond);

} // namespace
