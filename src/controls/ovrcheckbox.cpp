#include "ovrcheckbox.h"

#include "app/media.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

// A face with the box mask laid over its top-left corner: white in the mask shows the face, black hides
// it. The mask is drawn at its own size; beyond it the face keeps its own transparency.
QPixmap maskedFace(const QPixmap& face, const QPixmap& mask) {
    if (face.isNull() || mask.isNull())
        return face;
    QImage out = face.toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage m = mask.toImage().convertToFormat(QImage::Format_Grayscale8);
    const int w = std::min(out.width(), m.width());
    const int h = std::min(out.height(), m.height());
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        const uchar* grey = m.constScanLine(y);
        for (int x = 0; x < w; ++x)
            row[x] = qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), grey[x]);
    }
    return QPixmap::fromImage(out);
}

// Drawn when a box picture is missing, so that the box still shows its state.
void drawPlainBox(QPainter& p, bool checked) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(1.5, 1.5, 20, 20);
    p.setPen(QPen(QColor(0x2a, 0x5c, 0xa8), 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(box, 3, 3);
    if (checked) {
        QPainterPath tick;
        tick.moveTo(5.5, 11.5);
        tick.lineTo(9.5, 16);
        tick.lineTo(17, 6);
        p.setPen(QPen(QColor(0x1f, 0x84, 0x40), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
    }
    p.restore();
}

} // namespace

ovrCheckBox::ovrCheckBox(QWidget* parent) : QWidget(parent) {
    setCursor(Qt::PointingHandCursor);
}

void ovrCheckBox::prepareFaces() {
    // A picture that could not be loaded is asked for again at the next paint.
    if (myValuePict.isNull())
        myValuePict = maskedFace(Pictures::boxWithCheck(), Pictures::CkBoxMask());
    if (myUnselPict.isNull())
        myUnselPict = maskedFace(Pictures::blueCheckBox(), Pictures::CkBoxMask());
}

void ovrCheckBox::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (opened_)
        return;
    opened_ = true;
    prepareFaces();
    emit Open();
}

void ovrCheckBox::paintEvent(QPaintEvent*) {
    prepareFaces();
    QPainter p(this);
    const QPixmap& face = mvalue ? myValuePict : myUnselPict;
    // A box made smaller than its pictures (the round's 16-pixel repeat box) shows them scaled down
    // whole rather than cut off.
    const int room = std::min(width(), height());
    const bool small = room < 24;
    if (small) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.scale(room / 24.0, room / 24.0);
    }
    if (face.isNull())
        drawPlainBox(p, mvalue);
    else
        p.drawPixmap(1, 1, face);
    if (small)
        p.resetTransform();

    QFont f = font();
    f.setPixelSize(12);
    p.setFont(f);
    p.setPen(QColor(0, 0, 0));
    p.drawText(42, 20, mmyText);
}

void ovrCheckBox::mousePressEvent(QMouseEvent* event) {
    // A checked member of a radio group cannot be unchecked by a click: its press is dropped, and no
    // release follows.
    pressAccepted_ = event->button() == Qt::LeftButton && !(groupTotal > 0 && mvalue);
}

void ovrCheckBox::mouseReleaseEvent(QMouseEvent* event) {
    if (!pressAccepted_ || event->button() != Qt::LeftButton)
        return;
    pressAccepted_ = false;
    // Wherever the pointer was released: the press chose the box.
    mvalue = !mvalue;
    update();
    const int members = std::min<qsizetype>(groupTotal, myGroup.size());
    for (int i = 0; i < members; ++i) {
        if (ovrCheckBox* partner = myGroup[i]) {
            partner->mvalue = !mvalue;
            partner->update();
        }
    }
    emit MouseUp();
}
