#include "progresscells.h"

#include "app/media.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include <cmath>

namespace {

// The tag's place and its largest and smallest letters, in pixels.
constexpr int kTagLeft = 10;
constexpr int kTagBaseline = 16;
constexpr int kTagSize = 10;
constexpr int kSmallestTagSize = 8;
// A learned family's star: the top-left part of the picture, drawn smaller.
constexpr int kStarSource = 32;
constexpr int kStarSize = 24;

QPainterPath starPath(const QRectF& box) {
    QPainterPath path;
    const QPointF centre = box.center();
    const double outer = box.width() / 2.0;
    const double inner = outer * 0.45;
    for (int i = 0; i < 10; ++i) {
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const double r = i % 2 == 0 ? outer : inner;
        const QPointF point(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

// Likenesses of the three pictures for a resources folder that lacks them: a gold star, a green
// "Try" button, a red cross.
void drawPlainMark(QPainter& g, ProgressGrid::Mark mark) {
    g.save();
    g.setRenderHint(QPainter::Antialiasing);
    switch (mark) {
    case ProgressGrid::Mark::Star:
        g.setPen(QPen(QColor(0xB5, 0x7A, 0x00), 1));
        g.setBrush(QColor(0xFF, 0xC8, 0x2E));
        g.drawPath(starPath(QRectF(1, 1, kStarSize - 2, kStarSize - 2)));
        break;
    case ProgressGrid::Mark::Try: {
        g.setPen(QPen(QColor(0x1B, 0x6B, 0x2F), 1));
        g.setBrush(QColor(0x2E, 0x9E, 0x4A));
        g.drawRoundedRect(QRectF(1.5, 2.5, 29, 19), 8, 8);
        QFont f = g.font();
        f.setPixelSize(12);
        f.setBold(true);
        g.setFont(f);
        g.setPen(Qt::white);
        g.drawText(QRect(0, 2, 32, 20), Qt::AlignCenter, QStringLiteral("Try"));
        break;
    }
    case ProgressGrid::Mark::Cross:
        g.setPen(QPen(QColor(0xD8, 0x3A, 0x3A), 3, Qt::SolidLine, Qt::RoundCap));
        g.drawLine(QPointF(9, 5), QPointF(23, 19));
        g.drawLine(QPointF(23, 5), QPointF(9, 19));
        break;
    case ProgressGrid::Mark::None:
        break;
    }
    g.restore();
}

} // namespace

GradeBarCnv::GradeBarCnv(int index, PaintHandler paint, QWidget* parent)
    : QWidget(parent), index_(index), paint_(std::move(paint)) {
    setObjectName(QStringLiteral("gradeBarCnv(%1)").arg(index));
    setFocusPolicy(Qt::NoFocus);
}

void GradeBarCnv::paintEvent(QPaintEvent*) {
    QPainter g(this);
    if (paint_)
        paint_(*this, g);
}

StarCnv::StarCnv(int index, PaintHandler paint, ReleaseHandler release, QWidget* parent)
    : QWidget(parent), index_(index), paint_(std::move(paint)), release_(std::move(release)) {
    setObjectName(QStringLiteral("starCnv(%1)").arg(index));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void StarCnv::paintEvent(QPaintEvent*) {
    QPainter g(this);
    if (paint_)
        paint_(*this, g);
}

void StarCnv::mousePressEvent(QMouseEvent* event) {
    shift_.press(*this, event);
}

void StarCnv::mouseReleaseEvent(QMouseEvent* event) {
    if (shift_.release(*this, event) && release_)
        release_(*this);
}

void StarCnv::hideEvent(QHideEvent* event) {
    // A hidden cell gets no release: put it back now.
    shift_.moveBack(*this);
    QWidget::hideEvent(event);
}

namespace ProgressPaint {

void paintBar(QPainter& g, QSize size, int wholePercent) {
    const QColor remainder = QColor::fromRgb(ProgressGrid::kRemainderColour);
    if (wholePercent < 1) {
        g.fillRect(QRect(QPoint(0, 0), size), remainder);
        return;
    }
    // One column per percent, from column 0 up to and including the percent's own column; at 100
    // percent the last one and the grey fall outside the bar.
    for (int x = 0; x <= wholePercent; ++x) {
        g.setPen(ProgressGrid::columnColour(x, size.width()));
        g.drawLine(x, 0, x, size.height());
    }
    g.fillRect(QRect(wholePercent + 1, 0, size.width(), size.height()), remainder);
}

int tagPixelSize(const QFont& font, QSize size, const QStringList& tags) {
    QFont f = font;
    f.setBold(true);
    const int room = size.width() - kTagLeft - 1;
    int pixels = kTagSize;
    for (; pixels > kSmallestTagSize; --pixels) {
        f.setPixelSize(pixels);
        const QFontMetrics metrics(f);
        if (std::all_of(tags.begin(), tags.end(),
                        [&](const QString& tag) { return metrics.horizontalAdvance(tag) <= room; }))
            break;
    }
    return pixels;
}

void paintTag(QPainter& g, QSize size, const QString& tag, int pixels) {
    if (tag.isEmpty())
        return;
    QFont f = g.font();
    f.setBold(true);
    f.setPixelSize(pixels);
    const int room = size.width() - kTagLeft - 1;
    const int width = QFontMetrics(f).horizontalAdvance(tag);
    g.save();
    g.setFont(f);
    g.setPen(Qt::black);
    g.translate(kTagLeft, kTagBaseline);
    // A tag too long even in the smallest letters keeps its place and its height and is drawn
    // narrower, so that its end (the percent) still shows inside the bar.
    if (width > room)
        g.scale(double(room) / width, 1.0);
    g.drawText(0, 0, tag);
    g.restore();
}

void paintTag(QPainter& g, QSize size, const QString& tag) {
    paintTag(g, size, tag, tagPixelSize(g.font(), size, {tag}));
}

void paintMark(QPainter& g, ProgressGrid::Mark mark) {
    QPixmap picture;
    switch (mark) {
    case ProgressGrid::Mark::None:
        return;
    case ProgressGrid::Mark::Cross:
        picture = Pictures::XStar();
        break;
    case ProgressGrid::Mark::Try:
        picture = Pictures::Click2();
        break;
    case ProgressGrid::Mark::Star:
        picture = Pictures::smallstar();
        break;
    }
    if (picture.isNull()) {
        drawPlainMark(g, mark);
        return;
    }
    if (mark == ProgressGrid::Mark::Star) {
        g.setRenderHint(QPainter::SmoothPixmapTransform);
        // A smaller picture keeps the same scale, so the star never stretches.
        const QRect source = QRect(0, 0, kStarSource, kStarSource) & picture.rect();
        g.drawPixmap(
            QRect(0, 0, source.width() * kStarSize / kStarSource, source.height() * kStarSize / kStarSource),
            picture, source);
    } else {
        g.drawPixmap(0, 0, picture);
    }
}

} // namespace ProgressPaint
