#include "progresscnv.h"

#include "app/media.h"

#include <QPainter>

#include <algorithm>

progressCnv::progressCnv(QWidget* parent) : QWidget(parent) {}

int progressCnv::setUnit(int total) const {
    return total > 0 ? height() / total : 0;
}

void progressCnv::reinit(int total) {
    myUnit = setUnit(total);
    myCt = 0;
    myTot = total;
    update();
}

void progressCnv::advance(int count) {
    myCt = count;
    repaint();
}

void progressCnv::paintEvent(QPaintEvent*) {
    const int w = width();
    const int h = height();
    QPainter p(this);
    p.setPen(QColor(0, 0, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, w - 2, h - 2); // an outline w - 1 by h - 1 pixels
    if (myCt <= 0)
        return;

    // More steps done than there are (or no steps at all) fill the whole bar.
    const long long top =
        std::clamp((static_cast<long long>(myTot) - myCt) * myUnit, 0LL, static_cast<long long>(h));
    // The bar picture is stretched to the full height and pushed down, so it shows its upper part.
    const QRect bar(1, static_cast<int>(top), w - 3, h - 1);
    const QPixmap picture = Pictures::newProgCnv();
    if (picture.isNull())
        p.fillRect(bar, QColor(0x2f, 0x9a, 0x5a));
    else
        p.drawPixmap(bar, picture);
}
