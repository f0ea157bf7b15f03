#include "presspicture.h"

#include <QMouseEvent>

PressPicture::PressPicture(const QString& objectName, Source source, Fit fit, QWidget* parent)
    : PictureCanvas(objectName, std::move(source), fit, parent) {
    setCursor(Qt::PointingHandCursor);
}

void PressPicture::mousePressEvent(QMouseEvent* event) {
    shift_.press(*this, event);
}

void PressPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (shift_.release(*this, event))
        emit MouseUp();
}

void PressPicture::hideEvent(QHideEvent* event) {
    // A hidden picture gets no release: put it back now.
    shift_.moveBack(*this);
    PictureCanvas::hideEvent(event);
}
