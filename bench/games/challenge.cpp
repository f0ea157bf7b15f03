// Math Challenge: one step of the wild card's flight (the flight timer's action and the repaint it
// causes), beside a floor that is a lower bound: a plain filled widget of the card's size moved the
// same way over the same backdrop and left to repaint, without the card's picture and number and
// without the game's timer and rules.

#include "app/media.h"
#include "controls/picturecanvas.h"
#include "data/random.h"
#include "games/challenge/challengescrn.h"

#include <QCoreApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

challengeScrn::Canvas* canvasOf(challengeScrn* w, const char* name, int index = 0) {
    for (auto* c : w->findChildren<challengeScrn::Canvas*>(QString::fromLatin1(name))) {
        if (c->Index == index)
            return c;
    }
    return nullptr;
}

// Sends the waiting card where it belongs, so that a flight starts.
void sendCard(challengeScrn* w) {
    const int fits = w->game().fittingSlot();
    auto* target = fits >= 0 ? canvasOf(w, "NumCnv", fits) : canvasOf(w, "TrashCnv");
    target->mouseUp();
}

void fire(QTimer* t) {
    QMetaObject::invokeMethod(t, "timeout", Qt::DirectConnection);
}

void BM_ChallengeFlightStep(benchmark::State& state) {
    App::myRnd().seed(1);
    challengeScrn* w = challengeScrn::instance();
    w->show();
    QCoreApplication::processEvents();
    auto* start = w->findChild<QWidget*>(QStringLiteral("StartBtn"));
    QMetaObject::invokeMethod(start, "MouseUp", Qt::DirectConnection, Q_ARG(int, 10), Q_ARG(int, 10));
    QTimer* anim = w->findChild<QTimer*>(QStringLiteral("animTimer"));
    QTimer* pause = w->findChild<QTimer*>(QStringLiteral("delayTimer"));
    w->findChild<QTimer*>(QStringLiteral("totTimer"))->stop();
    sendCard(w);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        fire(anim);
        QCoreApplication::processEvents(); // the repaint of where the card was and is
        if (!anim->isActive()) {
            state.PauseTiming();
            if (pause->isActive())
                fire(pause);
            sendCard(w);
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    w->close();
    QCoreApplication::processEvents();
}
BENCHMARK(BM_ChallengeFlightStep)->Unit(benchmark::kMicrosecond);

void BM_ChallengeFlightStep_Floor(benchmark::State& state) {
    QWidget window;
    window.setFixedSize(challengeScrn::kWidth, challengeScrn::kHeight);
    auto* backdrop = new PictureCanvas(
        QStringLiteral("backdrop"), [] { return Pictures::CustomBlueBkg(); }, PictureCanvas::Fit::Stretch,
        &window);
    backdrop->setGeometry(window.rect());
    auto* card = new QWidget(backdrop);
    card->setGeometry(249, 229, 46, 36);
    card->setAutoFillBackground(true);
    window.show();
    QCoreApplication::processEvents();
    int step = 0;
    for (auto _ : state) {
        card->move(card->pos() + QPoint(-6, -4));
        QCoreApplication::processEvents();
        if (++step == 25) {
            state.PauseTiming();
            step = 0;
            card->move(249, 229);
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_ChallengeFlightStep_Floor)->Unit(benchmark::kMicrosecond);

} // namespace
