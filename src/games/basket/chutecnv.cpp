#include "chutecnv.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

chuteCnv::chuteCnv(QWidget* parent) : QWidget(parent), surface_(kWidth, kHeight, QImage::Format_RGB32) {
    setObjectName(QStringLiteral("myChute"));
    setFixedSize(kWidth, kHeight);
    // The image covers every pixel, so nothing under the chute need be drawn first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    surface_.fill(kCream);
}

void chuteCnv::init(const QPixmap& pic, int rate) {
    myNum = pic;
    myTop = -kNumHeight;
    myFallRate = rate;
}

void chuteCnv::update() {
    const int oldTop = myTop;
    myTop += myFallRate;
    {
        QPainter p(&surface_);
        // Cream over the rows the picture leaves, so that no stripe of it stays behind.
        p.fillRect(QRect(kNumLeft, oldTop, kNumWidth, std::min(myFallRate, kNumHeight)), kCream);
        if (!myNum.isNull())
            p.drawPixmap(kNumLeft, myTop, myNum);
    }
    repaintRows(oldTop, myTop + std::max(kNumHeight, myNum.height()));
    if (myTop > kHeight)
        emit bottomReached();
}

void chuteCnv::clearNum() {
    {
        QPainter p(&surface_);
        p.fillRect(QRect(kNumLeft, myTop, kNumWidth, kNumHeight), kCream);
    }
    repaintRows(myTop, myTop + kNumHeight);
}

void chuteCnv::repaintRows(int y0, int y1) {
    y0 = std::max(y0, 0);
    y1 = std::min(y1, kHeight);
    // Painted at once rather than queued: at the fastest pace a step comes every millisecond, and
    // each must show where the number is.
    if (y1 > y0)
        QWidget::repaint(QRect(0, y0, kWidth, y1 - y0));
}

void chuteCnv::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = event->rect();
    p.drawImage(r, surface_, r);
}
