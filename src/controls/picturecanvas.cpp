#include "picturecanvas.h"

#include <QPainter>

PictureCanvas::PictureCanvas(const QString& objectName, Source source, Fit fit, QWidget* parent)
    : QWidget(parent), source_(std::move(source)), fit_(fit) {
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
}

void PictureCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPixmap picture = source_ ? source_() : QPixmap();
    if (picture.isNull()) {
        if (fallback_)
            fallback_(p, rect());
        return;
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (fit_ == Fit::Stretch)
        p.drawPixmap(rect(), picture);
    else
        p.drawPixmap(0, 0, picture);
}
