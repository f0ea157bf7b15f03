#include "zeriminuscontainer.h"

#include "app/media.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

namespace {

const QColor kRingOuter(147, 186, 220);
const QColor kRingInner(206, 219, 230);

enum class Face { Normal, Down, Disabled };

// A face drawn here when the picture strip is missing: a rounded two-part button with a plus and a
// minus, lighter when up, darker when pressed, grey when disabled.
QPixmap drawnFace(Face face) {
    const int w = ZeriMinusContainer::kWidth, h = ZeriMinusContainer::kHeight;
    QPixmap pix(w, h);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, h);
    QColor border, glyph;
    switch (face) {
    case Face::Normal:
        fill.setColorAt(0, QColor(252, 253, 255));
        fill.setColorAt(1, QColor(214, 224, 238));
        border = QColor(120, 140, 168);
        glyph = QColor(38, 72, 120);
        break;
    case Face::Down:
        fill.setColorAt(0, QColor(160, 184, 216));
        fill.setColorAt(1, QColor(196, 212, 234));
        border = QColor(86, 108, 140);
        glyph = QColor(20, 44, 84);
        break;
    case Face::Disabled:
        fill.setColorAt(0, QColor(244, 244, 244));
        fill.setColorAt(1, QColor(228, 228, 228));
        border = QColor(190, 190, 190);
        glyph = QColor(176, 176, 176);
        break;
    }
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 4, 4);
    p.drawLine(QPointF(ZeriMinusContainer::kHalfPixels + 0.5, 1),
               QPointF(ZeriMinusContainer::kHalfPixels + 0.5, h - 1));
    p.setPen(QPen(glyph, 2, Qt::SolidLine, Qt::FlatCap));
    const qreal cy = h / 2.0;
    const qreal plusX = ZeriMinusContainer::kHalfPixels / 2.0;
    const qreal minusX = ZeriMinusContainer::kHalfPixels + (w - ZeriMinusContainer::kHalfPixels) / 2.0;
    p.drawLine(QPointF(plusX - 5, cy), QPointF(plusX + 5, cy));
    p.drawLine(QPointF(plusX, cy - 5), QPointF(plusX, cy + 5));
    p.drawLine(QPointF(minusX - 5, cy), QPointF(minusX + 5, cy));
    return pix;
}

// One band of the picture strip, the faces being stacked 22 rows apart.
QPixmap band(const QPixmap& strip, int index) {
    QPixmap pix(ZeriMinusContainer::kWidth, ZeriMinusContainer::kHeight);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.drawPixmap(0, 0, strip, 0, index * ZeriMinusContainer::kHeight, ZeriMinusContainer::kWidth,
                 ZeriMinusContainer::kHeight);
    return pix;
}

} // namespace

ZeriMinusContainer::ZeriMinusContainer(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidth, kHeight);
    setFocusPolicy(Qt::TabFocus);
    makeFaces();
    windowEnabled_ = true;
}

void ZeriMinusContainer::makeFaces() {
    const QPixmap strip = Pictures::plusminuspic();
    if (strip.width() >= kWidth && strip.height() >= 3 * kHeight) {
        normalpic = band(strip, 0);
        downpic = band(strip, 1);
        disabledpic = band(strip, 2);
    } else {
        normalpic = drawnFace(Face::Normal);
        downpic = drawnFace(Face::Down);
        disabledpic = drawnFace(Face::Disabled);
    }
}

void ZeriMinusContainer::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!opened) {
        opened = true;
        emit Open();
    }
}

bool ZeriMinusContainer::isActive() const {
    return windowEnabled_ && isEnabled();
}

void ZeriMinusContainer::SetWindowEnabled(bool enabled) {
    windowEnabled_ = enabled;
    repaint();
}

void ZeriMinusContainer::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        const bool active = isActiveWindow();
        windowEnabled_ = active;
        repaint();
        if (active)
            emit Activate();
        else
            emit Deactivate();
    } else if (event->type() == QEvent::EnabledChange) {
        update();
    }
}

void ZeriMinusContainer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int h = normalpic.height();
    const QRect leftHalf(0, 0, kHalfPixels, h);
    const QRect rightHalf(kHalfPixels + 1, 0, kHalfPixels, h);
    if (isActive()) {
        p.drawPixmap(0, 0, normalpic);
        if (pushZeri)
            p.drawPixmap(leftHalf, downpic, leftHalf);
        if (pushMinus)
            p.drawPixmap(rightHalf, downpic, rightHalf);
        if (!zeriEnabled)
            p.drawPixmap(leftHalf, disabledpic, leftHalf);
        if (!minusEnabled)
            p.drawPixmap(rightHalf, disabledpic, rightHalf);
    } else {
        p.drawPixmap(0, 0, disabledpic);
    }

    // The ring shows around a focused half that is enabled, whether the control is active or not.
    QRect ring;
    if (focusedbutton == ZeriHalf && zeriEnabled)
        ring = QRect(0, 0, kHalfPixels + 1, kHeight);
    else if (focusedbutton == MinusHalf && minusEnabled)
        ring = QRect(kHalfPixels, 0, kWidth - kHalfPixels, kHeight);
    if (!ring.isNull()) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kRingOuter, 2));
        p.drawRect(QRectF(ring).adjusted(1, 1, -1, -1));
        p.setPen(QPen(kRingInner, 1));
        p.drawRect(QRectF(ring).adjusted(1.5, 1.5, -1.5, -1.5));
    }
}

void ZeriMinusContainer::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isActive()) {
        event->ignore();
        return;
    }
    pressAccepted = true;
    const qreal x = event->position().x();
    if (x < kHalf && zeriEnabled) {
        pushZeri = true;
        pushMinus = false;
    } else if (x >= kHalf && minusEnabled) {
        pushZeri = false;
        pushMinus = true;
    }
    repaint();
}

void ZeriMinusContainer::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressAccepted) {
        event->ignore();
        return;
    }
    pressAccepted = false;
    const qreal x = event->position().x();
    const qreal y = event->position().y();
    // A click counts only when released over the half where it was pressed.
    const bool zeri = y >= 0 && y <= kHeight && x >= 0 && x < kHalf && pushZeri;
    const bool minus = y >= 0 && y <= kHeight && x > kHalf && x <= kWidth && pushMinus;
    pushZeri = pushMinus = false;
    repaint();
    if (zeri)
        emit ZeriPressed();
    if (minus)
        emit MinusPressed();
}

void ZeriMinusContainer::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (zeriEnabled)
        focusedbutton = ZeriHalf;
    else if (minusEnabled)
        focusedbutton = MinusHalf;
    repaint();
}

void ZeriMinusContainer::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    focusedbutton = NoHalf;
    repaint();
}

bool ZeriMinusContainer::handleTab(bool backwards) {
    if (backwards) {
        if (focusedbutton == MinusHalf && zeriEnabled) {
            focusedbutton = ZeriHalf;
            repaint();
            return true;
        }
        return false;
    }
    if (focusedbutton == ZeriHalf && minusEnabled) {
        focusedbutton = MinusHalf;
        repaint();
        return true;
    }
    focusedbutton = NoHalf;
    repaint();
    return false;
}

bool ZeriMinusContainer::event(QEvent* event) {
    // Tab never reaches keyPressEvent: Qt moves the focus first. Moving between the halves comes
    // before that; only a Tab that leaves the control goes on to Qt.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool plainOrShift =
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (plainOrShift && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const bool backwards = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            if (handleTab(backwards)) {
                key->accept();
                return true;
            }
        }
    }
    return QWidget::event(event);
}

void ZeriMinusContainer::pressFocusedHalf() {
    // Space presses the half that holds the focus, whatever its state: the ring is the user's guide.
    bool& pushed = focusedbutton == ZeriHalf ? pushZeri : pushMinus;
    pushed = true;
    repaint();
    if (focusedbutton == ZeriHalf)
        emit ZeriPressed();
    else
        emit MinusPressed();
    // The pressed half stays on screen a moment, without holding up the event loop.
    QTimer::singleShot(kSpaceHoldMs, this, [this] {
        pushZeri = pushMinus = false;
        update();
    });
}

void ZeriMinusContainer::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && focusedbutton != NoHalf)
        pressFocusedHalf();
    // No key is taken: the window sees it as well.
    event->ignore();
}
