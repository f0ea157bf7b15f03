#include "digitcells.h"

#include "app/picts.h"

#include <QPainter>

namespace {

// A minus sign drawn when its picture is missing.
void drawPlainMinus(QPainter& p, const QRect& r) {
    p.fillRect(QRect(r.left() + 4, r.center().y() - 2, r.width() - 8, 4), QColor(0x1A, 0x1A, 0x1A));
}

} // namespace

DigitCell::DigitCell(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setFixedSize(kWidth, kHeight);
    // The cell erases itself before every paint, so a rising picture leaves no trail.
    setAutoFillBackground(true);
}

void DigitCell::setPicture(int index) {
    pict_ = index;
    update();
}

void DigitCell::setOffset(int y) {
    offset_ = y;
    repaint();
}

void DigitCell::paintEvent(QPaintEvent*) {
    if (offset_ >= kBelow)
        return;
    QPainter p(this);
    const QPixmap picture = myPicts::digit(pict_);
    if (!picture.isNull()) {
        p.drawPixmap(0, offset_, picture);
        return;
    }
    // Without its picture a digit is drawn as a plain figure; an index outside the table draws nothing.
    const QRect area(0, offset_, kWidth, kHeight);
    if (pict_ == myPicts::kMinus) {
        drawPlainMinus(p, area);
    } else if (pict_ >= 0 && pict_ <= 9) {
        QFont f = font();
        f.setPixelSize(28);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(0x1A, 0x1A, 0x1A));
        p.drawText(area, Qt::AlignCenter, QString::number(pict_));
    }
}

SignCell::SignCell(const QString& objectName, QWidget* parent) : QWidget(parent) {
    setObjectName(objectName);
    setFixedSize(DigitCell::kWidth, DigitCell::kHeight);
    // An empty sign cell hides nothing under it (it may stand over the operation sign).
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SignCell::setShowNeg(bool shown) {
    shown_ = shown;
    update();
}

void SignCell::paintEvent(QPaintEvent*) {
    if (!shown_)
        return;
    QPainter p(this);
    const QPixmap minus = myPicts::digit(myPicts::kMinus);
    if (minus.isNull())
        drawPlainMinus(p, rect());
    else
        p.drawPixmap(0, 0, minus);
}
