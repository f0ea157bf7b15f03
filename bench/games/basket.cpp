// The basket game's fall step, beside a floor that does the same painting by hand. bench/ratios.py
// prints each over its floor.
//
//   ChuteStep           one step of a falling number in the shown game window: the rows it left
//                       painted cream, the digit drawn at its new place, and the changed rows
//                       repainted on screen
//   ChuteStep_Floor     the same by hand in the same window: a plain widget over the chute showing an
//                       image of its size, the rows left painted cream and the digit drawn into the
//                       image, and the same rows of the widget repainted
//   BasketWindowRepaint for scale: the whole game window repainted, which a step must never cost

#include "app/picts.h"
#include "games/basket/bsktmathscrn.h"
#include "games/basket/chutecnv.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalBlocker>

#include <algorithm>

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
    // The step alone: a number passing the bottom would start the game's next step, which the floor
    // does not do.
    const QSignalBlocker stepOnly(chute);
    const QPixmap digit = myPicts::digit(8);
    chute->init(digit, 3);
    for (auto _ : state) {
        if (chute->myTop > chuteCnv::kHeight)
            chute->init(digit, 3);
        chute->update();
    }
}
BENCHMARK(ChuteStep)->Unit(benchmark::kMicrosecond);

// The floor's chute: an image and a widget that shows it, nothing more.
class BareChute : public QWidget {
public:
    explicit BareChute(QWidget* parent)
        : QWidget(parent), image(chuteCnv::kWidth, chuteCnv::kHeight, QImage::Format_RGB32) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        image.fill(chuteCnv::kCream);
    }
    QImage image;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        p.drawImage(event->rect(), image, event->rect());
    }
};

void ChuteStep_Floor(benchmark::State& state) {
    bsktMathScrn* w = shownGame();
    // In the same window, over the chute, at its size.
    auto* chute = w->findChild<chuteCnv*>(QStringLiteral("myChute"));
    BareChute bare(chute->parentWidget());
    bare.setGeometry(chute->geometry());
    bare.show();
    QCoreApplication::processEvents();
    const QPixmap digit = myPicts::digit(8);
    const int rate = 3;
    int top = -chuteCnv::kNumHeight;
    for (auto _ : state) {
        if (top > chuteCnv::kHeight)
            top = -chuteCnv::kNumHeight;
        const int oldTop = top;
        top += rate;
        {
            QPainter p(&bare.image);
            p.fillRect(
                QRect(chuteCnv::kNumLeft, oldTop, chuteCnv::kNumWidth, std::min(rate, chuteCnv::kNumHeight)),
                chuteCnv::kCream);
            p.drawPixmap(chuteCnv::kNumLeft, top, digit);
        }
        const int y0 = std::max(oldTop, 0);
        const int y1 = std::min(top + std::max(chuteCnv::kNumHeight, digit.height()), chuteCnv::kHeight);
        if (y1 > y0)
            bare.repaint(QRect(0, y0, chuteCnv::kWidth, y1 - y0));
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
