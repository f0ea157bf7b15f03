#include "paintkit.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kit {

std::uint32_t Rng::next() {
    // xorshift32: tiny, fast and the same everywhere.
    std::uint32_t x = m_state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    m_state = x;
    return x;
}

double Rng::uniform(double lo, double hi) {
    return lo + (hi - lo) * (next() / 4294967296.0);
}

int Rng::range(int lo, int hi) {
    return lo + int(next() % std::uint32_t(hi - lo + 1));
}

QImage newImage(QSize size, QColor fill) {
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
}

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(
        float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
        float(a.blueF() + (b.blueF() - a.blueF()) * t), float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor tint(const QColor& c, double t) {
    return mix(c, QColor(255, 255, 255, c.alpha()), t);
}
QColor shade(const QColor& c, double t) {
    return mix(c, QColor(0, 0, 0, c.alpha()), t);
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

namespace {

// One horizontal or vertical box pass over premultiplied ARGB data.
void boxPass(std::vector<float>& ch, int w, int h, int r, bool horizontal) {
    if (r <= 0)
        return;
    const int len = horizontal ? w : h;
    const int lines = horizontal ? h : w;
    std::vector<float> line(len), out(len);
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < len; ++i)
            line[i] = horizontal ? ch[l * w + i] : ch[i * w + l];
        // Outside the image counts as empty, which is what a shadow layer wants.
        double sum = 0;
        const double norm = 1.0 / (2 * r + 1);
        for (int i = 0; i <= std::min(r, len - 1); ++i)
            sum += line[i];
        for (int i = 0; i < len; ++i) {
            out[i] = float(sum * norm);
            const int add = i + r + 1, drop = i - r;
            if (add < len)
                sum += line[add];
            if (drop >= 0)
                sum -= line[drop];
        }
        for (int i = 0; i < len; ++i) {
            if (horizontal)
                ch[l * w + i] = out[i];
            else
                ch[i * w + l] = out[i];
        }
    }
}

} // namespace

void blur(QImage& img, int radius) {
    if (radius <= 0)
        return;
    if (img.format() != QImage::Format_ARGB32_Premultiplied)
        img = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = img.width(), h = img.height();
    std::vector<float> ch[4];
    for (auto& c : ch)
        c.resize(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            ch[0][y * w + x] = qAlpha(row[x]);
            ch[1][y * w + x] = qRed(row[x]);
            ch[2][y * w + x] = qGreen(row[x]);
            ch[3][y * w + x] = qBlue(row[x]);
        }
    }
    // Three box passes of a third of the radius each approximate a Gaussian of that radius.
    const int r = std::max(1, radius / 2);
    for (auto& c : ch) {
        for (int pass = 0; pass < 3; ++pass) {
            boxPass(c, w, h, r, true);
            boxPass(c, w, h, r, false);
        }
    }
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            auto q = [&](int i) {
                return std::clamp(int(std::lround(ch[i][y * w + x])), 0, 255);
            };
            const int a = q(0);
            row[x] = qRgba(std::min(q(1), a), std::min(q(2), a), std::min(q(3), a), a);
        }
    }
}

void softShadow(QPainter& p, const QPainterPath& shape, QPointF offset, int radius, QColor color) {
    const QSize devSize(p.device()->width(), p.device()->height());
    QImage layer = newImage(devSize);
    {
        QPainter lp(&layer);
        prepare(lp);
        lp.setTransform(p.transform());
        lp.translate(offset);
        lp.setPen(Qt::NoPen);
        lp.setBrush(color);
        lp.drawPath(shape);
    }
    blur(layer, radius);
    p.save();
    p.resetTransform();
    p.drawImage(0, 0, layer);
    p.restore();
}

void glossyBody(QPainter& p, const QPainterPath& shape, const QColor& base, double gloss, double rimWidth) {
    const QRectF r = shape.boundingRect();
    p.save();
    p.setPen(Qt::NoPen);

    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0.0, tint(base, 0.30));
    body.setColorAt(0.45, base);
    body.setColorAt(1.0, shade(base, 0.22));
    p.setBrush(body);
    p.drawPath(shape);

    // Gloss: a softly fading band over the upper part, kept inside the body.
    p.setClipPath(shape);
    if (gloss > 0) {
        const double inset = std::max(1.0, std::min(r.width(), r.height()) * 0.06);
        QRectF g(r.left() + inset, r.top() + inset * 0.6, r.width() - 2 * inset, r.height() * 0.48);
        QLinearGradient gl(g.topLeft(), g.bottomLeft());
        gl.setColorAt(0.0, QColor(255, 255, 255, int(200 * gloss)));
        gl.setColorAt(1.0, QColor(255, 255, 255, int(18 * gloss)));
        p.setBrush(gl);
        const double rad = std::min(g.height() * 0.9, r.height() * 0.35);
        p.drawRoundedRect(g, rad, rad);
    }
    // A little glow of reflected light along the bottom edge makes it look rounded.
    QLinearGradient low(QPointF(r.left(), r.bottom() - r.height() * 0.25), r.bottomLeft());
    low.setColorAt(0.0, QColor(255, 255, 255, 0));
    low.setColorAt(1.0, QColor(255, 255, 255, 45));
    p.setBrush(low);
    p.drawRect(r);
    p.setClipping(false);

    if (rimWidth > 0) {
        QPen rim(shade(base, 0.40), rimWidth);
        rim.setJoinStyle(Qt::RoundJoin);
        p.setPen(rim);
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
    }
    p.restore();
}

QPainterPath roundedRect(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath starPath(QPointF c, double outer, double inner, int points, double rotationDeg) {
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const double ang = qDegreesToRadians(rotationDeg + i * 180.0 / points);
        const double rad = (i % 2 == 0) ? outer : inner;
        const QPointF pt(c.x() + rad * std::cos(ang), c.y() + rad * std::sin(ang));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void drawStar(QPainter& p, QPointF c, double radius, double fill) {
    // Slightly plump proportions and round joins make a friendlier star than a sharp one.
    const QPainterPath star = starPath(c, radius, radius * 0.5);
    const double edge = std::max(1.0, radius * 0.11);
    p.save();
    p.setBrush(pal::emptyStarFill);
    QPen soft(pal::emptyStarEdge, edge);
    soft.setJoinStyle(Qt::RoundJoin);
    p.setPen(soft);
    p.drawPath(star);

    if (fill > 0) {
        const QRectF b = star.boundingRect().adjusted(-edge, -edge, edge, edge);
        QRectF clip = b;
        clip.setWidth(b.width() * std::clamp(fill, 0.0, 1.0));
        p.setClipRect(clip);
        QLinearGradient g(b.topLeft(), b.bottomLeft());
        g.setColorAt(0.0, pal::goldLight);
        g.setColorAt(0.55, pal::sun);
        g.setColorAt(1.0, pal::gold);
        QPen rim(pal::goldEdge, edge);
        rim.setJoinStyle(Qt::RoundJoin);
        p.setPen(rim);
        p.setBrush(g);
        p.drawPath(star);
        // A small shine at the upper left.
        QRadialGradient shine(QPointF(c.x() - radius * 0.25, c.y() - radius * 0.3), radius * 0.45);
        shine.setColorAt(0.0, QColor(255, 255, 255, 190));
        shine.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(shine);
        p.setClipPath(star, Qt::IntersectClip);
        p.drawEllipse(QPointF(c.x() - radius * 0.25, c.y() - radius * 0.3), radius * 0.45, radius * 0.45);
    }
    p.restore();
}

QFont boldFont(double pixelSize) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    f.setBold(true);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont plainFont(double pixelSize) {
    QFont f = boldFont(pixelSize);
    f.setBold(false);
    return f;
}

QPainterPath centredText(const QString& text, const QFont& font, QPointF centre) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF b = path.boundingRect();
    path.translate(centre - b.center());
    return path;
}

QPainterPath fittedText(const QString& text, const QFont& font, const QRectF& box) {
    QPainterPath path;
    path.addText(0, 0, font, text);
    QRectF b = path.boundingRect();
    const double s = std::min({1.0, box.width() / b.width(), box.height() / b.height()});
    QTransform t;
    t.scale(s, s);
    path = t.map(path);
    b = path.boundingRect();
    path.translate(box.center() - b.center());
    return path;
}

void outlinedText(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& outline,
                  double outlineWidth, bool shadow) {
    p.save();
    if (shadow) {
        QPainterPathStroker st;
        st.setWidth(outlineWidth * 2);
        st.setJoinStyle(Qt::RoundJoin);
        const QPainterPath fat = st.createStroke(path).united(path);
        softShadow(p, fat, QPointF(outlineWidth * 0.6 + 0.5, outlineWidth * 0.9 + 0.8),
                   int(std::max(2.0, outlineWidth * 1.5)), QColor(0, 0, 0, 90));
    }
    if (outlineWidth > 0) {
        QPen pen(outline, outlineWidth * 2);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(outline);
        p.drawPath(path);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

QPainterPath operationSign(int op, QPointF c, double s) {
    // Built from rounded bars rather than font glyphs, so every sign has the same weight.
    const double bar = s * 0.20; // thickness
    const double len = s * 0.78; // long bar length
    const double r = bar / 2;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    auto hbar = [&](double cy, double l) {
        path.addRoundedRect(QRectF(c.x() - l / 2, cy - bar / 2, l, bar), r, r);
    };
    switch (op) {
    case 0: // plus
        hbar(c.y(), len);
        path.addRoundedRect(QRectF(c.x() - bar / 2, c.y() - len / 2, bar, len), r, r);
        break;
    case 1: // minus
        hbar(c.y(), len);
        break;
    case 2: { // times: a plus turned by 45 degrees
        QPainterPath plus;
        plus.setFillRule(Qt::WindingFill);
        const double l = len * 0.92;
        plus.addRoundedRect(QRectF(-l / 2, -bar / 2, l, bar), r, r);
        plus.addRoundedRect(QRectF(-bar / 2, -l / 2, bar, l), r, r);
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(45);
        path.addPath(t.map(plus));
        break;
    }
    default: { // divide: bar with a dot above and below
        hbar(c.y(), len);
        const double dot = bar * 1.2;
        path.addEllipse(QPointF(c.x(), c.y() - len * 0.34), dot / 2 + 0.3, dot / 2 + 0.3);
        path.addEllipse(QPointF(c.x(), c.y() + len * 0.34), dot / 2 + 0.3, dot / 2 + 0.3);
        break;
    }
    }
    return path.simplified();
}

QImage alphaAsGrey(const QImage& src) {
    const QImage img = src.convertToFormat(QImage::Format_ARGB32);
    QImage out(img.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        uchar* o = out.scanLine(y);
        for (int x = 0; x < img.width(); ++x)
            o[x] = uchar(qAlpha(in[x]));
    }
    return out;
}

} // namespace kit
