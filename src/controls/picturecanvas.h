#pragma once

// A small canvas that shows one project picture: at its own size from the top left corner, or
// stretched over the whole canvas. The picture is asked for at every paint, so one that was missing
// appears as soon as its file does; while it is missing the canvas draws its fallback, if any.

#include <QPixmap>
#include <QWidget>

#include <functional>

class PictureCanvas : public QWidget {
    Q_OBJECT
public:
    enum class Fit { OwnSize, Stretch };
    using Source = std::function<QPixmap()>;
    using Fallback = std::function<void(QPainter&, const QRect&)>;

    PictureCanvas(const QString& objectName, Source source, Fit fit, QWidget* parent);
    void setFallback(Fallback fallback) { fallback_ = std::move(fallback); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Source source_;
    Fit fit_;
    Fallback fallback_;
    // The stretched picture at the canvas's size, made once: a window repainting a small part of a
    // stretched background (a tile, a label) then copies that part instead of scaling it all again.
    QPixmap stretched_;
    qint64 stretchedKey_ = 0;
};
