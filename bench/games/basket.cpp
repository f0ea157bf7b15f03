// The basket game's fall step, beside a floor that draws the same digit into an image of the
// chute's size. bench/ratios.py prints each over its floor.
//
//   ChuteStep           one step of a falling number in the shown game window: the rows it left
//                       painted cream, the digit drawn at its new place, and the changed rows
//                       repainted on screen
//   ChuteStep_Floor     the digit drawn into a 34 x 260 image at the same places
//   BasketWindowRepaint for scale: the whole game window repainted, which a step must never cost

#include "app/picts.h"
#include "games/basket/bsktmathscrn.h"
#include "games/basket/chutecnv.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

bsktMathScrn* shownGame() {
    static bool ready = false;
    if (!ready) {
        myPicts::loadPics();
        ready = true;
    }
    bsktMathScrn* w = bsktMathScrn::instance();
    if (!w->isVisible()) {
        w->show();
        QCoreApplication::processEvents();
    }
    return w;
}

void ChuteStep(benchmark::State& state) {
    bsktMathScrn* w = shownGame();
    auto* chute = w->findChild<chuteCnv*>(QStringLiteral("myChute"));
    const QPixmap digit = myPicts::digit(8);
    chute->init(digit, 3);
    for (auto _ : state) {
        if (chute->myTop > chuteCnv::kHeight)
            chute->init(digit, 3);
        chute->update();
    }
}
BENCHMARK(ChuteStep)->Unit(benchmark::kMicrosecond);

void ChuteStep_Floor(benchmark::State& state) {
    QImage image(chuteCnv::kWidth, chuteCnv::kHeight, QImage::Format_RGB32);
    image.fill(chuteCnv::kCream);
    const QPixmap digit = myPicts::digit(8);
    int top = -32;
    for (auto _ : state) {
        if (top > chuteCnv::kHeight)
            top = -32;
        top += 3;
        QPainter p(&image);
        p.drawPixmap(chuteCnv::kNumLeft, top, digit);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(ChuteStep_Floor)->Unit(benchmark::kMicrosecond);

void BasketWindowRepaint(benchmark::State& state) {
    bsktMathScrn* w = shownGame();
    for (auto _ : state)
        w->repaint();
}
BENCHMARK(BasketWindowRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
