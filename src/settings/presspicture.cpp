#include "presspicture.h"

#include <QMouseEvent>

namespace {
constexpr int kPressShift = 2;
}

PressPicture::PressPicture(const QString& objectName, Source source, Fit fit, QWidget* parent)
    : PictureCanvas(objectName, std::move(source), fit, parent) {
    setCursor(Qt::PointingHandCursor);
}

void PressPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    if (pressed_)
        return;
    pressed_ = true;
    move(pos() + QPoint(kPressShift, kPressShift));
}

void PressPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        event->ignore();
        return;
    }
    event->accept();
    moveBack();
    emit MouseUp();
}

void PressPicture::hideEvent(QHideEvent* event) {
    // A hidden picture gets no release: put it back now.
    moveBack();
    PictureCanvas::hideEvent(event);
}

void PressPicture::moveBack() {
    if (!pressed_)
        return;
    pressed_ = false;
    move(pos() - QPoint(kPressShift, kPressShift));
}
