// Math Squares: a new board dealt by the window and painted square by square with its four displays,
// beside a floor that deals the same board and paints the same faces, digits, frames and display
// texts straight into one image.

#include "app/media.h"
#include "controls/newcnvbtn.h"
#include "data/random.h"
#include "games/squares/msqrsscrn.h"
#include "games/squares/squaresrules.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

const QRect kArea(0, 0, 560, 540); // the board and the displays beside it

QImage canvas() {
    QImage image(kArea.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void BM_SquaresNewBoard(benchmark::State& state) {
    App::myRnd().seed(1);
    MSqrsScrn* w = MSqrsScrn::instance();
    // Open, as when a student presses Start: a window that was never shown would be laid out again for
    // every square drawn, which the game never does.
    w->show();
    QCoreApplication::processEvents();
    auto* start = w->findChild<newCnvBtn*>(QStringLiteral("startBtn"));
    QList<QWidget*> painted;
    for (auto* square : w->findChildren<MSqrsScrn::NumCnv*>(QStringLiteral("NumCnv")))
        painted << square;
    for (const char* name : {"TargetCnv", "TotalCnv", "PtsCnv", "ScoreCnv"})
        painted << w->findChild<QWidget*>(QString::fromLatin1(name));
    QImage image = canvas();
    for (auto _ : state) {
        emit start->MouseUp(10, 10); // deals a new board
        QPainter p(&image);
        for (QWidget* c : painted)
            c->render(&p, c->pos(), QRegion(), QWidget::DrawChildren);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["widgets"] = static_cast<double>(painted.size());
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
BENCHMARK(BM_SquaresNewBoard)->Unit(benchmark::kMicrosecond);

void BM_SquaresNewBoard_Floor(benchmark::State& state) {
    App::myRnd().seed(1);
    Squares::Board board([](int low, int high) { return App::myRnd().inRange(low, high); });
    const QPixmap face = Pictures::button64();
    QImage image = canvas();
    QFont digitFont = QGuiApplication::font();
    digitFont.setPixelSize(18);
    digitFont.setBold(true);
    QFont displayFont = QGuiApplication::font();
    displayFont.setPixelSize(24);
    displayFont.setItalic(true);
    QFont smallFont = QGuiApplication::font();
    smallFont.setPixelSize(12);
    const QRect displays[] = {{452, 126, 100, 40}, {452, 202, 100, 40}, {452, 386, 100, 40}};
    for (auto _ : state) {
        board.deal();
        QPainter p(&image);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        for (int k = 0; k < Squares::kSquares; ++k) {
            const QRect r(20 + 50 * (k % 8), 126 + 50 * (k / 8), 48, 48);
            p.drawPixmap(r, face);
            p.setFont(digitFont);
            const QString digit = QString::number(board.digit(k));
            const int x = r.x() + (r.width() - p.fontMetrics().horizontalAdvance(digit)) / 2;
            p.setPen(Qt::black);
            p.drawText(x, r.bottom() + 1 - 17, digit);
            p.setPen(QColor(65, 117, 189));
            p.drawText(x - 2, r.bottom() + 1 - 19, digit);
            p.setPen(Qt::black);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
        const long long values[] = {board.target(), board.total(), board.earned()};
        p.setFont(displayFont);
        for (int i = 0; i < 3; ++i) {
            p.eraseRect(displays[i]);
            const QString text = Squares::formatDisplay(values[i]);
            const int x = displays[i].x() + (100 - p.fontMetrics().horizontalAdvance(text)) / 2;
            p.setPen(Qt::black);
            p.drawText(x, displays[i].y() + 30, text);
            p.setPen(QColor(200, 230, 160));
            p.drawText(x - 2, displays[i].y() + 28, text);
        }
        p.setFont(smallFont);
        p.eraseRect(452, 317, 100, 26);
        p.drawText(490, 337, Squares::formatDisplay(board.available()));
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_SquaresNewBoard_Floor)->Unit(benchmark::kMicrosecond);

} // namespace
