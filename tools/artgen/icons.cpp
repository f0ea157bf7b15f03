// The program's icon (message box notices), the caution icon and the document proxy icon.
#include "catalogue.h"
#include "paintkit.h"

#include <algorithm>
#include <cmath>

using namespace kit;

namespace {

// The program's mark: a blue tile with a brook along the bottom and three number blocks.
void programMark(QPainter& p, const QRectF& r) {
    const double u = r.width() / 64.0;
    const QPainterPath tile = roundedRect(r, 13 * u);
    softShadow(p, tile, QPointF(1.2 * u, 2.0 * u), int(std::max(1.0, 3 * u)), QColor(10, 30, 70, 120));
    glossyBody(p, tile, QColor(0x3a, 0x94, 0xe6), 0.5, std::max(0.8, 1.2 * u));

    p.save();
    p.setClipPath(tile);
    QPainterPath water;
    water.moveTo(r.left(), r.bottom());
    for (double x = 0; x <= 64; x += 1)
        water.lineTo(r.left() + x * u, r.top() + (50 + 2.2 * std::sin(x / 64 * 4 * M_PI)) * u);
    water.lineTo(r.right(), r.bottom());
    water.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1e, 0x5b, 0xb8));
    p.drawPath(water);
    p.setPen(QPen(QColor(255, 255, 255, 160), 1.2 * u));
    p.setBrush(Qt::NoBrush);
    p.drawPath(water);
    p.restore();

    const QColor cols[3] = {pal::coral, pal::sun, pal::plus};
    const double xs[3] = {5.5, 23.5, 41.5};
    const double ys[3] = {24, 18, 24};
    for (int i = 0; i < 3; ++i) {
        const QRectF b(r.left() + xs[i] * u, r.top() + ys[i] * u, 17 * u, 20 * u);
        const QPainterPath block = roundedRect(b, 4 * u);
        glossyBody(p, block, cols[i], 0.45, std::max(0.7, 1.0 * u));
        const QPainterPath t =
            centredText(QString::number(i + 1), boldFont(16 * u), b.center() + QPointF(0, 0.3 * u));
        outlinedText(p, t, Qt::white, shade(cols[i], 0.5), 0.8 * u, false);
    }
    drawStar(p, QPointF(r.left() + 53 * u, r.top() + 10.5 * u), 6.5 * u, 1.0);
}

QImage programIcon(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    programMark(p, QRectF(2, 2, s.width() - 6, s.height() - 6));
    return img;
}

QImage cautionIcon(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    // A rounded triangle: warm and clear without looking alarming.
    QPainterPath tri;
    tri.moveTo(32, 5);
    tri.lineTo(59, 55);
    tri.lineTo(5, 55);
    tri.closeSubpath();
    QPainterPathStroker round;
    round.setWidth(9);
    round.setJoinStyle(Qt::RoundJoin);
    const QPainterPath body = round.createStroke(tri).united(tri).simplified();
    softShadow(p, body, QPointF(1.5, 2.5), 3, QColor(60, 40, 0, 120));
    glossyBody(p, body, QColor(0xff, 0xbf, 0x1f), 0.55, 1.4);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::ink);
    p.drawRoundedRect(QRectF(28.5, 20, 7, 22), 3.5, 3.5);
    p.drawEllipse(QPointF(32, 49), 4.2, 4.2);
    return img;
}

QImage proxyIcon(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    // A page with a folded corner and the program's mark on it, drawn for 32 pixels and scaled to
    // the size asked for (the desktop's larger icons are the same picture).
    const double u = s.width() / 32.0;
    const double w = s.width(), h = s.height();
    const double side = 4.5 * u, edge = 1.5 * u;
    const double fold = 8 * u;
    QPainterPath page;
    page.moveTo(side, edge);
    page.lineTo(w - side - fold, edge);
    page.lineTo(w - side, edge + fold);
    page.lineTo(w - side, h - edge);
    page.lineTo(side, h - edge);
    page.closeSubpath();
    softShadow(p, page, QPointF(0.6 * u, 1.0 * u), std::max(1, qRound(u)), QColor(0, 0, 0, 90));
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0.0, Qt::white);
    g.setColorAt(1.0, QColor(0xe8, 0xee, 0xf6));
    p.setPen(QPen(QColor(0x7a, 0x8a, 0xa3), 1.0 * u));
    p.setBrush(g);
    p.drawPath(page);
    QPainterPath corner;
    corner.moveTo(w - side - fold, edge);
    corner.lineTo(w - side - fold, edge + fold);
    corner.lineTo(w - side, edge + fold);
    corner.closeSubpath();
    p.setBrush(QColor(0xd2, 0xdb, 0xe8));
    p.drawPath(corner);
    programMark(p, QRectF(7 * u, 11 * u, 18 * u, 18 * u));
    return img;
}

} // namespace

void addIconPictures(Catalogue& c) {
    c.push_back({"new10Icon64", "new10Icon64.png", QSize(64, 64), QStringLiteral("message box icon, 64x64"),
                 false, programIcon});
    c.push_back({"newCaution64", "newCaution64.png", QSize(64, 64),
                 QStringLiteral("message box and password prompt icon canvases, 64x64"), false, cautionIcon});
    c.push_back({"NBQProxyIcon", "NBQProxyIcon.png", QSize(32, 32),
                 QStringLiteral("window proxy icon of document windows"), true, proxyIcon});
    // The same picture at the sizes a desktop asks a program's icon for; the program does not load
    // them, cmake --install puts them in share/icons/hicolor/<n>x<n>/apps/.
    for (const int n : {48, 64, 128, 256}) {
        const QString name = QStringLiteral("NBQProxyIcon%1").arg(n);
        c.push_back({name, name + QStringLiteral(".png"), QSize(n, n),
                     QStringLiteral("the program's icon for the desktop, %1x%1").arg(n), true, proxyIcon});
    }
}
