#include "picturecanvas.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

PictureCanvas::PictureCanvas(const QString& objectName, Source source, Fit fit, QWidget* parent)
    : QWidget(parent), source_(std::move(source)), fit_(fit) {
    setObjectName(objectName);
    setFocusPolicy(Qt::NoFocus);
}

void PictureCanvas::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QPixmap picture = source_ ? source_() : QPixmap();
    if (picture.isNull()) {
        if (fallback_)
            fallback_(p, rect());
        return;
    }
    if (fit_ == Fit::OwnSize) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(0, 0, picture);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (stretched_.isNull() || stretchedKey_ != picture.cacheKey() || stretched_.size() != pixels) {
        stretched_ = QPixmap(pixels);
        stretched_.setDevicePixelRatio(ratio);
        // An opaque picture stays opaque, so that its parts are plain copies rather than blends.
        stretched_.fill(picture.hasAlphaChannel() ? QColor(Qt::transparent) : QColor(Qt::white));
        QPainter sp(&stretched_);
        sp.setRenderHint(QPainter::SmoothPixmapTransform);
        sp.drawPixmap(rect(), picture);
        stretchedKey_ = picture.cacheKey();
    }
    // Part by part: the region left between opaque children is many small rectangles, each a plain copy,
    // in bands low enough that the copy stays on this thread (Qt hands taller ones to its thread pool,
    // whose hand-over costs more than such a copy).
    constexpr int kBand = 64;
    for (const QRect& part : event->region()) {
        for (int top = part.top(); top <= part.bottom(); top += kBand) {
            const QRect band(part.left(), top, part.width(), std::min(kBand, part.bottom() + 1 - top));
            p.drawPixmap(band, stretched_,
                         QRectF(QPointF(band.topLeft()) * ratio, QSizeF(band.size()) * ratio));
        }
    }
}
