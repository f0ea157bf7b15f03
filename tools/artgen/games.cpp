// Pictures of the games and the round: operation signs, basket and funnel, trash can, the
// question tile and its mask, the high-to-low strip, the black ground and the score bar.
#include "catalogue.h"
#include "paintkit.h"

#include <cmath>

using namespace kit;

namespace {

QColor opColour(int op) {
    switch (op) {
    case 0:
        return pal::plus;
    case 1:
        return pal::minus;
    case 2:
        return pal::times;
    default:
        return pal::divide;
    }
}

// ---- operation signs: round badges, so they sit well on a basket, a cell or a board -----------

QImage operationBadge(QSize s, int op) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const QPointF c(s.width() / 2.0 - 0.8, s.height() / 2.0 - 1.0);
    const double r = s.width() / 2.0 - 2.6;
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    softShadow(p, disc, QPointF(1.0, 1.6), 3, QColor(10, 30, 70, 130));
    glossyBody(p, disc, opColour(op), 0.6, 1.2);
    const QPainterPath sign = operationSign(op, c, r * 1.3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPath(sign.translated(0.8, 1.2));
    p.setBrush(Qt::white);
    p.setPen(QPen(withAlpha(pal::ink, 80), 0.8));
    p.drawPath(sign);
    return img;
}

// ---- basket and funnel -------------------------------------------------------------------------
// The basket game draws these with white made see-through, so they never use pure white.

QImage basket(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const double w = s.width();
    const double rimY = 15.0;

    QPainterPath body;
    body.moveTo(4, rimY);
    body.lineTo(w - 4, rimY);
    body.lineTo(w - 13, 96);
    body.quadTo(w - 14, 102, w - 22, 102);
    body.lineTo(22, 102);
    body.quadTo(14, 102, 13, 96);
    body.closeSubpath();

    QPainterPath ground;
    ground.addEllipse(QPointF(w / 2, 103), 36, 4.5);
    softShadow(p, ground, QPointF(0, 0), 3, QColor(40, 30, 10, 120));

    QLinearGradient wood(0, 0, w, 0);
    wood.setColorAt(0.0, QColor(0xb0, 0x6e, 0x33));
    wood.setColorAt(0.35, QColor(0xe2, 0xa6, 0x60));
    wood.setColorAt(1.0, QColor(0x9a, 0x5a, 0x25));
    p.setPen(Qt::NoPen);
    p.setBrush(wood);
    p.drawPath(body);

    // Wicker: upright stakes that follow the taper, and strands woven over and under them.
    p.save();
    p.setClipPath(body);
    const int stakes = 8;
    auto stakeX = [&](int k, double y) {
        const double t = (y - rimY) / (102 - rimY);
        const double left = 4 + 9 * t, right = w - 4 - 9 * t;
        return left + (right - left) * k / double(stakes);
    };
    int row = 0;
    for (double y = rimY + 1; y < 104; y += 7.5, ++row) {
        for (int k = 0; k < stakes; ++k) {
            const bool over = (row + k) % 2 == 0;
            const double x0 = stakeX(k, y + 3.5), x1 = stakeX(k + 1, y + 3.5);
            const QRectF strand(x0 - (over ? 1.5 : -0.5), y + (over ? 0.0 : 0.8),
                                x1 - x0 + (over ? 3.0 : -1.0), over ? 7.0 : 5.4);
            QLinearGradient sg(strand.topLeft(), strand.bottomLeft());
            const QColor c = over ? QColor(0xe8, 0xb0, 0x6a) : QColor(0xb5, 0x76, 0x3a);
            sg.setColorAt(0.0, tint(c, 0.25));
            sg.setColorAt(0.5, c);
            sg.setColorAt(1.0, shade(c, 0.3));
            p.setPen(QPen(QColor(0x6e, 0x3a, 0x10, 150), 0.7));
            p.setBrush(sg);
            p.drawRoundedRect(strand, 3.0, 3.0);
        }
    }
    p.restore();
    p.setPen(QPen(QColor(0x6e, 0x3a, 0x10), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);

    // The opening and its thick rim.
    QPainterPath opening;
    opening.addEllipse(QPointF(w / 2, rimY), w / 2 - 6, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5a, 0x2e, 0x0c));
    p.drawPath(opening);
    QPen rim(QColor(0xc9, 0x86, 0x40), 5.0);
    p.setPen(rim);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(w / 2, rimY), w / 2 - 5, 9);
    p.setPen(QPen(QColor(0xf6, 0xd3, 0x98), 1.4));
    p.drawArc(QRectF(7, rimY - 10.5, w - 14, 21), 200 * 16, 140 * 16);
    p.setPen(QPen(QColor(0x6e, 0x3a, 0x10), 1.0));
    p.drawEllipse(QPointF(w / 2, rimY), w / 2 - 2.5, 11.5);
    return img;
}

QImage funnel(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const double w = s.width();
    const double cx = w / 2;
    // The spout lines up with the 34-pixel chute that starts 28 pixels in from the funnel's left.
    const double spoutL = 31, spoutR = 59;

    QPainterPath cone;
    cone.moveTo(3, 11);
    cone.lineTo(w - 3, 11);
    cone.cubicTo(w - 8, 30, spoutR + 4, 40, spoutR, 48);
    cone.lineTo(spoutR, s.height());
    cone.lineTo(spoutL, s.height());
    cone.lineTo(spoutL, 48);
    cone.cubicTo(spoutL - 4, 40, 8, 30, 3, 11);
    cone.closeSubpath();

    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0.0, QColor(0xd8, 0x4a, 0x1e));
    g.setColorAt(0.3, QColor(0xff, 0x9a, 0x5a));
    g.setColorAt(0.55, QColor(0xf5, 0x6e, 0x2c));
    g.setColorAt(1.0, QColor(0xc2, 0x3e, 0x14));
    p.setPen(QPen(QColor(0x8c, 0x2a, 0x08), 1.2));
    p.setBrush(g);
    p.drawPath(cone);

    // A shine running down the left of the cone and the spout.
    p.save();
    p.setClipPath(cone);
    p.setPen(QPen(QColor(255, 236, 220, 170), 3.0, Qt::SolidLine, Qt::RoundCap));
    QPainterPath shine;
    shine.moveTo(16, 16);
    shine.cubicTo(22, 30, 30, 40, 36, 50);
    shine.lineTo(36, s.height());
    p.drawPath(shine);
    p.restore();

    // The wide mouth, seen a little from above.
    p.setPen(QPen(QColor(0x8c, 0x2a, 0x08), 1.2));
    p.setBrush(QColor(0x9e, 0x34, 0x0e));
    p.drawEllipse(QPointF(cx, 11), w / 2 - 3, 8);
    p.setPen(QPen(QColor(0xff, 0xb0, 0x80), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(5, 4, w - 10, 14), 190 * 16, 160 * 16);
    return img;
}

// ---- trash can -------------------------------------------------------------------------------
// The game draws the closed can 43 rows lower than the open one, both stretched to 59x110, so
// the closed can lives in the top 67 rows of its picture and both bodies land on the same rows.

const QColor canColour(0x3d, 0xb3, 0x7a);

void canBody(QPainter& p, double top, double w) {
    const double bottom = top + 51;
    QPainterPath body;
    body.moveTo(5, top);
    body.lineTo(w - 5, top);
    body.lineTo(w - 9, bottom - 4);
    body.quadTo(w - 9.5, bottom, w - 14, bottom);
    body.lineTo(14, bottom);
    body.quadTo(9.5, bottom, 9, bottom - 4);
    body.closeSubpath();
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0.0, shade(canColour, 0.25));
    g.setColorAt(0.32, tint(canColour, 0.35));
    g.setColorAt(1.0, shade(canColour, 0.35));
    p.setPen(QPen(shade(canColour, 0.55), 1.2));
    p.setBrush(g);
    p.drawPath(body);
    // Ridges.
    p.save();
    p.setClipPath(body);
    for (double x : {18.0, 29.5, 41.0}) {
        p.setPen(QPen(shade(canColour, 0.4), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x, top + 8), QPointF(x + (x - 29.5) * -0.06, bottom - 8));
        p.setPen(QPen(withAlpha(tint(canColour, 0.6), 170), 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x + 1.6, top + 8), QPointF(x + 1.6 + (x - 29.5) * -0.06, bottom - 8));
    }
    p.restore();
}

void canLid(QPainter& p, double w) {
    QPainterPath knob = roundedRect(QRectF(w / 2 - 6, 0.5, 12, 6), 2.5);
    glossyBody(p, knob, shade(canColour, 0.1), 0.4, 1.0);
    QPainterPath lid = roundedRect(QRectF(1.5, 5, w - 3, 10), 4);
    glossyBody(p, lid, canColour, 0.6, 1.2);
}

QImage canClosed(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    canBody(p, 15, s.width());
    canLid(p, s.width());
    return img;
}

QImage canOpen(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const double w = s.width();
    const double top = 15 + 43;
    canBody(p, top, w);
    // The dark inside of the open can.
    p.setPen(QPen(shade(canColour, 0.55), 1.2));
    p.setBrush(QColor(0x1f, 0x4a, 0x36));
    p.drawEllipse(QPointF(w / 2, top), w / 2 - 4.5, 4.5);
    // The lid tipped up about its right end, which rests on the rim.
    p.save();
    p.translate(w - 3, top - 2);
    p.rotate(30);
    p.translate(-(w - 1.5), -15);
    canLid(p, w);
    p.restore();
    return img;
}

// ---- question tile and its rounded mask ----------------------------------------------------------

QPainterPath tileShape(QSize s) {
    return roundedRect(QRectF(0, 0, s.width(), s.height()), 7.0);
}

QImage questionTile(QSize s) {
    QImage img = newImage(s, QColor(0xf5, 0xb0, 0x14));
    QPainter p(&img);
    prepare(p);
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0.0, QColor(0xff, 0xe8, 0x86));
    g.setColorAt(1.0, QColor(0xf2, 0xa6, 0x10));
    p.fillRect(img.rect(), g);
    p.setPen(QPen(QColor(0xc2, 0x74, 0x00), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.7, 0.7, s.width() - 1.4, s.height() - 1.4), 6.5, 6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawRoundedRect(QRectF(3, 2, s.width() - 6, s.height() * 0.4), 5, 5);
    const QPainterPath q =
        centredText(QStringLiteral("?"), boldFont(22), QPointF(s.width() / 2.0, s.height() / 2.0 + 0.5));
    outlinedText(p, q, pal::ink, Qt::white, 1.0, false);
    return img;
}

QImage questionMask(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(tileShape(s));
    return alphaAsGrey(img);
}

// ---- high-to-low strip ------------------------------------------------------------------------------

QImage highToLow(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const double w = s.width(), h = s.height();
    QPainterPath wedge;
    wedge.moveTo(1, 4);
    wedge.quadTo(1, 1, 4, 1);
    wedge.lineTo(w - 4, 1);
    wedge.quadTo(w - 1, 1, w - 1, 4);
    wedge.lineTo(w / 2 + 1, h - 3);
    wedge.quadTo(w / 2, h - 1, w / 2 - 1, h - 3);
    wedge.closeSubpath();
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0.0, pal::coral);
    g.setColorAt(0.5, pal::sun);
    g.setColorAt(1.0, pal::sky);
    p.setPen(QPen(QColor(0x50, 0x50, 0x70, 160), 0.8));
    p.setBrush(g);
    p.drawPath(wedge);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.0));
    p.drawLine(QPointF(3, 4), QPointF(w / 2 - 0.5, h - 12));
    return img;
}

// ---- black ground and score bar ---------------------------------------------------------------------

QImage blackGround(QSize s) {
    QImage img = newImage(s, Qt::black);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0.0, QColor(0x1c, 0x1c, 0x22));
    g.setColorAt(1.0, QColor(0x02, 0x02, 0x04));
    p.fillRect(img.rect(), g);
    return img;
}

QImage scoreBar(QSize s) {
    // The bar shows this picture's top part from the fill line down, so the top is what a
    // child sees first: warm gold, turning green as the bar fills.
    QImage img = newImage(s, Qt::white);
    QPainter p(&img);
    prepare(p);
    QLinearGradient v(0, 0, 0, s.height());
    v.setColorAt(0.0, QColor(0xff, 0xb4, 0x1f));
    v.setColorAt(0.45, QColor(0x8f, 0xd6, 0x4a));
    v.setColorAt(1.0, QColor(0x24, 0x9a, 0x50));
    p.fillRect(img.rect(), v);
    QLinearGradient h(0, 0, s.width(), 0);
    h.setColorAt(0.0, QColor(0, 0, 0, 40));
    h.setColorAt(0.3, QColor(255, 255, 255, 120));
    h.setColorAt(0.45, QColor(255, 255, 255, 40));
    h.setColorAt(1.0, QColor(0, 0, 0, 70));
    p.fillRect(img.rect(), h);
    Rng rng(320);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 34; ++i) {
        const QPointF c(rng.uniform(6, s.width() - 6), rng.uniform(6, s.height() - 4));
        p.setBrush(QColor(255, 255, 255, rng.range(70, 130)));
        p.drawEllipse(c, rng.uniform(1.2, 2.6), rng.uniform(1.2, 2.6));
    }
    return img;
}

} // namespace

void addGamePictures(Catalogue& c) {
    const QString opWhy = QStringLiteral("games draw a 48x48 area; the round scales it to 32x32");
    const char* names[4] = {"Prim_Zeri3", "Prim_Minus3", "Prim_Times3", "Prim_Div3"};
    for (int op = 0; op < 4; ++op)
        c.push_back({QString::fromLatin1(names[op]), QString::fromLatin1(names[op]) + QStringLiteral(".png"),
                     QSize(48, 48), opWhy, false, [op](QSize s) {
                         return operationBadge(s, op);
                     }});

    c.push_back({"MathBskt2", "MathBskt2.png", QSize(90, 108), QStringLiteral("basket canvas is 90x108"),
                 false, basket});
    c.push_back({"MathFunnel2", "MathFunnel2.png", QSize(90, 74), QStringLiteral("funnel canvas is 90x74"),
                 false, funnel});
    c.push_back({"can_open3", "can_open3.png", QSize(59, 110),
                 QStringLiteral("trash canvas is 59x110, stretched"), false, canOpen});
    c.push_back({"can_closed3", "can_closed3.png", QSize(59, 110),
                 QStringLiteral("trash canvas is 59x110, drawn 43 rows down"), false, canClosed});
    c.push_back({"TBHelp", "TBHelp.jpg", QSize(30, 28),
                 QStringLiteral("drawn at (4,2) in the 38x32 slots, centred"), true, questionTile});
    c.push_back({"roundTBmask", "roundTBmask.png", QSize(30, 28),
                 QStringLiteral("same as the tile it masks; white = tile shows"), true, questionMask});
    c.push_back({"HiLo", "Hi.Lo.png", QSize(12, 154), QStringLiteral("detective strip canvas is 12x154"),
                 false, highToLow});
    c.push_back({"BlkBkg", "BlkBkg.jpg", QSize(290, 84),
                 QStringLiteral("fills the 290x84 time box unscaled (and covers a 48x48 tile)"), true,
                 blackGround});
    c.push_back({"newProgCnv", "newProgCnv.jpg", QSize(29, 319),
                 QStringLiteral("the size it is stretched to in the 32x320 bar (W-3 x H-1)"), true,
                 scoreBar});
}
