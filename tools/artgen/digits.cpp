// Digit pictures (the drill round builds its numbers from them, the basket game drops them down
// its chute) and the star-total pictures.
#include "catalogue.h"
#include "paintkit.h"

using namespace kit;

namespace {

// The digits stand on the basket chute's own cream, so a falling digit shows no box around it.
const QColor digitGround = pal::chute;

QBrush digitInk(const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, QColor(0x3f, 0x86, 0xea));
    g.setColorAt(1.0, QColor(0x1a, 0x46, 0xa6));
    return g;
}

void paintGlyph(QPainter& p, const QPainterPath& glyph) {
    softShadow(p, glyph, QPointF(0.8, 1.2), 2, QColor(40, 40, 0, 90));
    p.setPen(QPen(pal::ink, 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(digitInk(glyph.boundingRect()));
    p.drawPath(glyph);
    // A thin light line inside the top of each stroke makes the digit look rounded.
    p.save();
    p.setClipPath(glyph);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawPath(glyph.translated(0, 1.4).subtracted(glyph.translated(0, 2.6)));
    p.restore();
}

QImage digitCell(QSize s, int digit) {
    QImage img = newImage(s, digitGround);
    QPainter p(&img);
    prepare(p);
    if (digit >= 0) {
        // One font size for all ten digits, so a number's digits line up.
        const QPainterPath glyph =
            centredText(QString::number(digit), boldFont(34), QPointF(s.width() / 2.0, s.height() / 2.0));
        paintGlyph(p, glyph);
    } else if (digit == -1) {
        paintGlyph(p, operationSign(1, QPointF(s.width() / 2.0, s.height() / 2.0), 24.0));
    }
    return img;
}

QImage starTotal(QSize s, int halfStars) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const double r = s.height() * 0.47;
    const double step = s.width() / 4.0;
    QPainterPath all;
    for (int i = 0; i < 4; ++i)
        all.addPath(starPath(QPointF(step * (i + 0.5), s.height() / 2.0 + 0.3), r, r * 0.5));
    softShadow(p, all, QPointF(0.6, 1.0), 2, QColor(20, 40, 80, 60));
    for (int i = 0; i < 4; ++i) {
        const int left = halfStars - 2 * i;
        const double fill = left >= 2 ? 1.0 : (left == 1 ? 0.5 : 0.0);
        drawStar(p, QPointF(step * (i + 0.5), s.height() / 2.0 + 0.3), r, fill);
    }
    return img;
}

void sparkle(QPainter& p, QPointF c, double r, const QColor& col) {
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawPath(starPath(c, r, r * 0.28, 4, -90));
}

QImage hallStars(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const double radii[9] = {11, 8.5, 12.5, 9.5, 15, 9.5, 12.5, 8.5, 11};
    const double cy = s.height() / 2.0 + 0.5;
    QPainterPath all;
    for (int i = 0; i < 9; ++i)
        all.addPath(starPath(QPointF(18 + 33 * i, cy), radii[i], radii[i] * 0.5));
    softShadow(p, all, QPointF(0.8, 1.3), 3, QColor(20, 40, 80, 70));
    for (int i = 0; i < 9; ++i)
        drawStar(p, QPointF(18 + 33 * i, cy), radii[i], 1.0);
    for (int i = 0; i < 8; ++i)
        sparkle(p, QPointF(34.5 + 33 * i, (i % 2) ? 7.0 : s.height() - 7.0), 3.6, QColor(0xff, 0xb3, 0x1a));
    return img;
}

} // namespace

void addDigitAndStarPictures(Catalogue& c) {
    const QSize cell(24, 32);
    const QString why = QStringLiteral("drill round digit cells are 24x32 (basket chute: at most 29x32)");
    const char* names[10] = {"zero", "One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight", "Nine"};
    for (int d = 0; d < 10; ++d) {
        c.push_back({QString::fromLatin1(names[d]), QString::fromLatin1(names[d]) + QStringLiteral(".jpg"),
                     cell, why, false, [d](QSize s) {
                         return digitCell(s, d);
                     }});
    }
    c.push_back({"Blank", "Blank.jpg", cell, why, false, [](QSize s) {
                     return digitCell(s, -2);
                 }});
    c.push_back(
        {"neg", "neg.jpg", cell, why + QStringLiteral("; also the 24x32 sign cells"), false, [](QSize s) {
             return digitCell(s, -1);
         }});

    const QString starWhy = QStringLiteral("fits the 101x24 sign-in star canvas, drawn at own size");
    for (int half = 0; half <= 8; ++half) {
        const QString name = QStringLiteral("new%1stars").arg(half * 5);
        c.push_back({name, name + QStringLiteral(".png"), QSize(100, 24), starWhy, true, [half](QSize s) {
                         return starTotal(s, half);
                     }});
    }
    c.push_back({"HOF10Stars", "HOF10Stars.png", QSize(300, 34),
                 QStringLiteral("hall of fame stars canvas is 300x34"), false, hallStars});
}
