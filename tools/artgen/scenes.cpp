// Backgrounds, panels, the start picture, the message box pictures and the picture titles.
#include "catalogue.h"
#include "paintkit.h"

#include <QFontMetricsF>
#include <QtMath>

#include <cmath>

using namespace kit;

namespace {

// ---- shared bits -------------------------------------------------------------------------

void softBlob(QPainter& p, QPointF c, double r, const QColor& col) {
    QRadialGradient g(c, r);
    g.setColorAt(0.0, col);
    g.setColorAt(0.7, withAlpha(col, col.alpha() / 2));
    g.setColorAt(1.0, withAlpha(col, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

QPainterPath wave(double width, double baseY, double amp, double length, double phase, double bottom) {
    QPainterPath path;
    path.moveTo(0, bottom);
    for (double x = 0; x <= width + 1; x += 2)
        path.lineTo(x, baseY + amp * std::sin((x / length) * 2 * M_PI + phase));
    path.lineTo(width, bottom);
    path.closeSubpath();
    return path;
}

void sparkle(QPainter& p, QPointF c, double r, const QColor& col) {
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawPath(starPath(c, r, r * 0.28, 4, -90));
}

// ---- window background -------------------------------------------------------------------------

QImage blueBackground(QSize s) {
    QImage img = newImage(s, Qt::white);
    QPainter p(&img);
    prepare(p);
    QLinearGradient sky(0, 0, 0, s.height());
    sky.setColorAt(0.0, QColor(0xe8, 0xf4, 0xfe));
    sky.setColorAt(1.0, QColor(0xb7, 0xd8, 0xf5));
    p.fillRect(img.rect(), sky);

    // Big, faint bubbles: enough to feel friendly, too soft to fight with text.
    Rng rng(20070);
    for (int i = 0; i < 16; ++i) {
        const QPointF c(rng.uniform(0, s.width()), rng.uniform(0, s.height()));
        softBlob(p, c, rng.uniform(50, 150), QColor(255, 255, 255, rng.range(26, 50)));
    }

    // A bright haze low over the water. The sign-in window writes its instruction line there in blue
    // (#4175BD), which is easy to read only on a ground close to white; the band covers that line at
    // every window size the picture is stretched to (800x676 up to 1280x960: rows 576 to 634 here).
    const double hazeTop = s.height() - 112, hazeBottom = s.height() - 38;
    const double fadeAbove = 56, fadeBelow = 10;
    const QRectF band(0, hazeTop - fadeAbove, s.width(), hazeBottom - hazeTop + fadeAbove + fadeBelow);
    const QColor mist(0xfd, 0xfe, 0xff);
    QLinearGradient haze(band.topLeft(), band.bottomLeft());
    haze.setColorAt(0.0, withAlpha(mist, 0));
    haze.setColorAt(fadeAbove / band.height(), mist);
    haze.setColorAt(1.0 - fadeBelow / band.height(), mist);
    haze.setColorAt(1.0, withAlpha(mist, 0));
    p.fillRect(band, haze);

    // Gentle water at the bottom, below the haze: the "brook" of the program's name.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9d, 0xc9, 0xf0, 110));
    p.drawPath(wave(s.width(), s.height() - 30, 5, 260, 0.6, s.height()));
    p.setBrush(QColor(0x8a, 0xbd, 0xec, 110));
    p.drawPath(wave(s.width(), s.height() - 16, 4, 200, 2.4, s.height()));
    return img;
}

// ---- right-hand control panel -----------------------------------------------------------

QImage controlPanel(QSize s) {
    QImage img = newImage(s, Qt::white);
    QPainter p(&img);
    prepare(p);
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0.0, QColor(0xf8, 0xf5, 0xff));
    g.setColorAt(1.0, QColor(0xe2, 0xeb, 0xfd));
    p.fillRect(img.rect(), g);

    // Title band at the top, above the panel's first line of text.
    QLinearGradient band(0, 0, 0, 34);
    band.setColorAt(0.0, QColor(0x6c, 0xb9, 0xf5));
    band.setColorAt(1.0, QColor(0x3a, 0x8e, 0xe0));
    p.fillRect(QRectF(0, 0, s.width(), 32), band);
    p.setBrush(QColor(0x3a, 0x8e, 0xe0));
    p.setPen(Qt::NoPen);
    p.drawPath(wave(s.width(), 32, 2.5, 120, 0.0, 0).translated(0, 0));
    p.setPen(QPen(withAlpha(Qt::white, 120), 1.0));
    p.drawLine(QPointF(0, 1.5), QPointF(s.width(), 1.5));
    const double stars[][3] = {{30, 16, 6}, {62, 10, 3.5}, {118, 17, 5}, {170, 9, 3.5}, {205, 18, 6}};
    for (const auto& st : stars)
        sparkle(p, QPointF(st[0], st[1]), st[2], QColor(255, 255, 255, 200));

    // A soft shade along the left edge, where the panel meets the play area.
    QLinearGradient edge(0, 0, 8, 0);
    edge.setColorAt(0.0, QColor(0x5d, 0x7f, 0xb8, 110));
    edge.setColorAt(1.0, QColor(0x5d, 0x7f, 0xb8, 0));
    p.fillRect(QRectF(0, 0, 8, s.height()), edge);
    return img;
}

// ---- start picture ----------------------------------------------------------------------------

void cloud(QPainter& p, QPointF c, double scale) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    const double blobs[][3] = {{-34, 6, 18}, {-14, -6, 24}, {12, -10, 26}, {34, 2, 19}, {0, 10, 20}};
    for (const auto& b : blobs)
        path.addEllipse(QPointF(c.x() + b[0] * scale, c.y() + b[1] * scale), b[2] * scale, b[2] * scale);
    path = path.simplified();
    softShadow(p, path, QPointF(0, 4 * scale), int(6 * scale), QColor(60, 110, 170, 70));
    QLinearGradient g(0, c.y() - 36 * scale, 0, c.y() + 30 * scale);
    g.setColorAt(0.0, Qt::white);
    g.setColorAt(1.0, QColor(0xe4, 0xf0, 0xfc));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(path);
}

void numberBalloon(QPainter& p, QPointF c, double r, const QColor& col, const QString& text, int op = -1) {
    QPainterPath ball;
    ball.addEllipse(c, r, r);
    softShadow(p, ball, QPointF(2, 3), 5, QColor(20, 50, 100, 80));
    glossyBody(p, ball, col, 0.6, 1.2);
    p.setPen(Qt::NoPen);
    if (op >= 0) {
        p.setBrush(Qt::white);
        p.drawPath(operationSign(op, c, r * 1.15));
    } else {
        const QPainterPath t = centredText(text, boldFont(r * 1.25), c);
        outlinedText(p, t, Qt::white, shade(col, 0.45), 1.0, false);
    }
}

QImage splash(QSize s) {
    QImage img = newImage(s, Qt::white);
    QPainter p(&img);
    prepare(p);
    const double w = s.width(), h = s.height();

    QLinearGradient sky(0, 0, 0, h * 0.62);
    sky.setColorAt(0.0, QColor(0x6f, 0xbf, 0xf6));
    sky.setColorAt(1.0, QColor(0xd9, 0xef, 0xff));
    p.fillRect(img.rect(), sky);

    // Sun with a soft halo and rays.
    const QPointF sun(w - 78, 70);
    softBlob(p, sun, 110, QColor(255, 244, 190, 150));
    p.save();
    p.translate(sun);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 226, 120, 120));
    for (int i = 0; i < 12; ++i) {
        p.rotate(30);
        QPainterPath ray;
        ray.moveTo(46, -6);
        ray.lineTo(78, 0);
        ray.lineTo(46, 6);
        ray.closeSubpath();
        p.drawPath(ray);
    }
    p.restore();
    QPainterPath sunDisc;
    sunDisc.addEllipse(sun, 38, 38);
    glossyBody(p, sunDisc, QColor(0xff, 0xc8, 0x2e), 0.55, 0.0);

    cloud(p, QPointF(92, 62), 1.0);
    cloud(p, QPointF(400, 46), 0.7);
    cloud(p, QPointF(250, 250), 0.55);

    // Hills.
    QPainterPath far;
    far.moveTo(0, h);
    far.lineTo(0, 300);
    far.cubicTo(120, 250, 230, 282, 330, 292);
    far.cubicTo(450, 304, 540, 258, w, 276);
    far.lineTo(w, h);
    far.closeSubpath();
    QLinearGradient farG(0, 250, 0, h);
    farG.setColorAt(0.0, QColor(0x9c, 0xdc, 0x86));
    farG.setColorAt(1.0, QColor(0x6c, 0xc0, 0x62));
    p.setPen(Qt::NoPen);
    p.setBrush(farG);
    p.drawPath(far);

    QPainterPath nearHill;
    nearHill.moveTo(0, h);
    nearHill.lineTo(0, 350);
    nearHill.cubicTo(140, 318, 260, 352, 380, 344);
    nearHill.cubicTo(500, 336, 580, 318, w, 330);
    nearHill.lineTo(w, h);
    nearHill.closeSubpath();
    QLinearGradient nearG(0, 318, 0, h);
    nearG.setColorAt(0.0, QColor(0x6f, 0xca, 0x62));
    nearG.setColorAt(1.0, QColor(0x3f, 0xa2, 0x4a));
    p.setBrush(nearG);
    p.drawPath(nearHill);

    // The brook winds from the hills to the front.
    QPainterPath brook;
    brook.moveTo(300, 300);
    brook.cubicTo(280, 330, 380, 350, 330, 380);
    brook.cubicTo(270, 415, 210, 440, 230, h + 2);
    brook.lineTo(420, h + 2);
    brook.cubicTo(380, 440, 420, 405, 450, 382);
    brook.cubicTo(500, 346, 340, 330, 316, 300);
    brook.closeSubpath();
    QLinearGradient water(0, 300, 0, h);
    water.setColorAt(0.0, QColor(0x8d, 0xcf, 0xf7));
    water.setColorAt(1.0, QColor(0x2f, 0x86, 0xd9));
    p.setBrush(water);
    p.setPen(QPen(QColor(0xe6, 0xf6, 0xff), 2.0));
    p.drawPath(brook);
    p.save();
    p.setClipPath(brook);
    p.setPen(QPen(QColor(255, 255, 255, 170), 2.2, Qt::SolidLine, Qt::RoundCap));
    const double ripples[][3] = {{318, 332, 16}, {352, 372, 22}, {300, 404, 26},
                                 {270, 436, 30}, {330, 452, 34}, {290, 470, 24}};
    for (const auto& r : ripples) {
        QPainterPath rp;
        rp.moveTo(r[0] - r[2] / 2, r[1]);
        rp.quadTo(r[0], r[1] - 4, r[0] + r[2] / 2, r[1]);
        p.drawPath(rp);
    }
    p.restore();

    // Stepping stones with numbers on them.
    const double stones[][3] = {{246, 446, 1}, {318, 420, 2}, {386, 446, 3}};
    for (const auto& st : stones) {
        QPainterPath stone;
        stone.addEllipse(QPointF(st[0], st[1]), 26, 14);
        softShadow(p, stone, QPointF(0, 3), 3, QColor(0, 40, 80, 90));
        glossyBody(p, stone, QColor(0xc9, 0xc3, 0xb8), 0.5, 1.0);
        const QPainterPath t = centredText(QString::number(int(st[2])), boldFont(20), QPointF(st[0], st[1]));
        outlinedText(p, t, pal::deepBlue, Qt::white, 1.0, false);
    }

    // Flowers dotted on the grass.
    Rng rng(2007);
    for (int i = 0; i < 26; ++i) {
        const QPointF c(rng.uniform(10, w - 10), rng.uniform(372, h - 10));
        if (c.x() > 200 && c.x() < 450)
            continue; // keep the brook clear
        const QColor cols[] = {pal::pink, pal::sun, Qt::white, pal::coral};
        const QColor col = cols[rng.range(0, 3)];
        p.setPen(Qt::NoPen);
        p.setBrush(col);
        for (int k = 0; k < 5; ++k) {
            const double a = k * 2 * M_PI / 5;
            p.drawEllipse(QPointF(c.x() + 3.2 * std::cos(a), c.y() + 3.2 * std::sin(a)), 2.6, 2.6);
        }
        p.setBrush(QColor(0xff, 0xa8, 0x00));
        p.drawEllipse(c, 2.0, 2.0);
    }

    // Number balloons floating in the sky.
    numberBalloon(p, QPointF(58, 214), 24, pal::coral, QStringLiteral("7"));
    numberBalloon(p, QPointF(130, 268), 18, pal::plus, QString(), 0);
    numberBalloon(p, QPointF(548, 250), 22, pal::violet, QStringLiteral("3"));
    numberBalloon(p, QPointF(606, 300), 16, pal::times, QString(), 2);
    numberBalloon(p, QPointF(470, 272), 16, pal::orange, QString(), 1);
    numberBalloon(p, QPointF(186, 38), 17, pal::pink, QStringLiteral("5"));

    // The name.
    const QPainterPath title =
        fittedText(QStringLiteral("Numbrook Riza"), boldFont(76), QRectF(40, 104, w - 80, 78));
    QLinearGradient tg(0, 104, 0, 182);
    tg.setColorAt(0.0, QColor(0xff, 0xe5, 0x5c));
    tg.setColorAt(0.5, QColor(0xff, 0xb0, 0x1f));
    tg.setColorAt(1.0, QColor(0xf2, 0x6b, 0x1d));
    QPainterPathStroker glow;
    glow.setWidth(14);
    glow.setJoinStyle(Qt::RoundJoin);
    softShadow(p, glow.createStroke(title).united(title), QPointF(0, 0), 8, QColor(255, 255, 255, 200));
    outlinedText(p, title, tg, pal::ink, 3.2, true);

    const QPainterPath sub =
        fittedText(QStringLiteral("Practice your math facts!"), boldFont(28), QRectF(120, 192, w - 240, 30));
    outlinedText(p, sub, Qt::white, pal::deepBlue, 2.0, true);

    for (const auto& sp : {QPointF(30, 96), QPointF(612, 196), QPointF(596, 224), QPointF(24, 180)})
        sparkle(p, sp, 7, QColor(255, 255, 255, 230));
    return img;
}

// ---- message box pictures -----------------------------------------------------------------------

QImage congratsBackdrop(QSize s) {
    QImage img = newImage(s, Qt::white);
    QPainter p(&img);
    prepare(p);
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0.0, QColor(0xff, 0xfb, 0xea));
    g.setColorAt(1.0, QColor(0xff, 0xee, 0xd2));
    p.fillRect(img.rect(), g);

    // Confetti thickest along the edges, thin where the message is written.
    const QColor cols[] = {pal::pink, pal::sun, pal::sky, pal::plus, pal::violet, pal::orange};
    Rng rng(4242);
    int placed = 0;
    while (placed < 150) {
        const QPointF c(rng.uniform(0, s.width()), rng.uniform(0, s.height()));
        const double dx = std::min(c.x(), s.width() - c.x());
        const double dy = std::min(c.y(), 184.0 - c.y());
        const double nearEdge = std::min(dx / 60.0, std::max(0.0, dy) / 26.0);
        if (rng.uniform(0, 1) < nearEdge * 0.9)
            continue;
        ++placed;
        QColor col = cols[rng.range(0, 5)];
        col.setAlpha(rng.range(120, 200));
        p.save();
        p.translate(c);
        p.rotate(rng.uniform(0, 180));
        p.setPen(Qt::NoPen);
        p.setBrush(col);
        switch (rng.range(0, 2)) {
        case 0:
            p.drawRoundedRect(QRectF(-4, -1.6, 8, 3.2), 1.2, 1.2);
            break;
        case 1:
            p.drawEllipse(QPointF(0, 0), 2.4, 2.4);
            break;
        default:
            p.drawPath(starPath(QPointF(0, 0), 4.2, 2.0));
            break;
        }
        p.restore();
    }
    for (const auto& st : {QPointF(392, 22), QPointF(26, 150), QPointF(404, 160), QPointF(96, 12)})
        drawStar(p, st, 8, 1.0);
    return img;
}

QImage boxOverlay(QSize s) {
    // Drawn stretched over every message box and the password prompt, on top of the plain grey
    // or the confetti backdrop, so it stays see-through: a light wash and a rounded frame.
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    QLinearGradient wash(0, 0, 0, s.height());
    wash.setColorAt(0.0, QColor(255, 255, 255, 110));
    wash.setColorAt(0.35, QColor(255, 255, 255, 40));
    wash.setColorAt(1.0, QColor(255, 255, 255, 15));
    p.fillRect(img.rect(), wash);

    // A halo behind the icon in the top left corner.
    softBlob(p, QPointF(48, 48), 52, QColor(255, 255, 255, 120));

    const QRectF frame(4.5, 4.5, s.width() - 9.0, s.height() - 9.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x6f, 0xa8, 0xe6, 200), 2.0));
    p.drawRoundedRect(frame, 12, 12);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.0));
    p.drawRoundedRect(frame.adjusted(2, 2, -2, -2), 10, 10);
    return img;
}

// ---- picture titles --------------------------------------------------------------------------

QImage purpleTitle(QSize s, const QString& text) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const QPainterPath t = fittedText(text, boldFont(28), QRectF(26, 4, s.width() - 52, s.height() - 10));
    QLinearGradient g(0, t.boundingRect().top(), 0, t.boundingRect().bottom());
    g.setColorAt(0.0, QColor(0xc8, 0x6b, 0xf7));
    g.setColorAt(1.0, QColor(0x82, 0x22, 0xc4));
    outlinedText(p, t, g, Qt::white, 1.8, true);
    drawStar(p, QPointF(12, s.height() / 2.0), 9, 1.0);
    drawStar(p, QPointF(s.width() - 13, s.height() / 2.0), 9, 1.0);
    return img;
}

QImage rainbowTitle(QSize s, const QString& text) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const QFont f = boldFont(26);
    // Lay the letters out as one word, then colour them one by one.
    QPainterPath whole = fittedText(text, f, QRectF(4, 3, s.width() - 8, s.height() - 8));
    QPainterPathStroker st;
    st.setWidth(4.0);
    st.setJoinStyle(Qt::RoundJoin);
    softShadow(p, st.createStroke(whole).united(whole), QPointF(1, 1.6), 3, QColor(0, 0, 0, 90));
    p.setPen(QPen(Qt::white, 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(whole);

    const QColor cols[] = {pal::coral,  pal::orange, QColor(0xe0, 0xa8, 0x00), pal::plus, pal::times,
                           pal::violet, pal::pink};
    // Split the text path into letters by drawing each glyph's own path at the same scale.
    QPainterPath raw;
    raw.addText(0, 0, f, text);
    const QRectF rawBox = raw.boundingRect();
    const QRectF fitBox = whole.boundingRect();
    const double scale = fitBox.width() / rawBox.width();
    QTransform t;
    t.translate(fitBox.left(), fitBox.top());
    t.scale(scale, scale);
    t.translate(-rawBox.left(), -rawBox.top());
    double x = 0;
    int colour = 0;
    const QFontMetricsF fm(f);
    for (int i = 0; i < text.size(); ++i) {
        const QString ch = text.mid(i, 1);
        if (ch != QLatin1String(" ")) {
            QPainterPath glyph;
            glyph.addText(x, 0, f, ch);
            const QPainterPath placed = t.map(glyph);
            const QColor col = cols[colour++ % 7];
            QLinearGradient g(0, placed.boundingRect().top(), 0, placed.boundingRect().bottom());
            g.setColorAt(0.0, tint(col, 0.25));
            g.setColorAt(1.0, shade(col, 0.1));
            p.setPen(QPen(shade(col, 0.45), 0.8));
            p.setBrush(g);
            p.drawPath(placed);
        }
        x += fm.horizontalAdvance(ch);
    }
    return img;
}

QImage hallTitle(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const QPainterPath t =
        fittedText(QStringLiteral("Hall of Fame"), boldFont(40), QRectF(34, 5, s.width() - 68, 40));
    QLinearGradient g(0, t.boundingRect().top(), 0, t.boundingRect().bottom());
    g.setColorAt(0.0, pal::goldLight);
    g.setColorAt(0.5, pal::sun);
    g.setColorAt(1.0, QColor(0xe8, 0x8a, 0x00));
    outlinedText(p, t, g, pal::ink, 2.0, true);
    drawStar(p, QPointF(16, 25), 12, 1.0);
    drawStar(p, QPointF(s.width() - 17, 25), 12, 1.0);
    return img;
}

// ---- drill round missed-answers plate ---------------------------------------------------------

QImage missPlate(QSize s) {
    QImage img = newImage(s, QColor(0xee, 0xee, 0xee));
    QPainter p(&img);
    prepare(p);
    const QPainterPath plate = roundedRect(QRectF(2.5, 2.5, s.width() - 7.0, s.height() - 7.0), 12);
    softShadow(p, plate, QPointF(1.5, 2.0), 3, QColor(40, 40, 80, 90));
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0.0, QColor(0xff, 0xfe, 0xf8));
    g.setColorAt(1.0, QColor(0xff, 0xf3, 0xdc));
    p.setBrush(g);
    p.setPen(QPen(QColor(0xdc, 0x8c, 0xf0), 2.0));
    p.drawPath(plate);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(roundedRect(QRectF(4.5, 4.5, s.width() - 11.0, s.height() - 11.0), 10));
    return img;
}

// ---- the maker's logo for the about box ---------------------------------------------------------

QImage makerLogo(QSize s) {
    QImage img = newImage(s, Qt::white);
    QPainter p(&img);
    prepare(p);
    // Emblem: a round badge with a ring and a swoosh. The lower 27 rows stay white: the
    // about box lays its web link over them.
    const QPointF c(40, 38);
    QPainterPath badge;
    badge.addEllipse(c, 32, 32);
    softShadow(p, badge, QPointF(1.5, 2.5), 4, QColor(20, 40, 90, 90));
    QLinearGradient g(c.x(), c.y() - 32, c.x(), c.y() + 32);
    g.setColorAt(0.0, QColor(0x4f, 0xa8, 0xf0));
    g.setColorAt(1.0, QColor(0x5b, 0x3f, 0xc4));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(badge);
    p.setPen(QPen(Qt::white, 7.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 16, 16);
    QPainterPath swoosh;
    swoosh.moveTo(c.x() - 28, c.y() + 10);
    swoosh.cubicTo(c.x() - 8, c.y() + 26, c.x() + 18, c.y() + 8, c.x() + 30, c.y() - 14);
    p.setPen(QPen(pal::sun, 5.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(swoosh);

    QPainterPath name = fittedText(QStringLiteral("Orlavo"), boldFont(44), QRectF(86, 6, 200, 40));
    name.translate(84 - name.boundingRect().left(), 0);
    QLinearGradient ng(0, 6, 0, 46);
    ng.setColorAt(0.0, QColor(0x2a, 0x5d, 0xb5));
    ng.setColorAt(1.0, pal::ink);
    p.setPen(Qt::NoPen);
    p.setBrush(ng);
    p.drawPath(name);
    QPainterPath word = fittedText(QStringLiteral("S O F T W A R E"), boldFont(15),
                                   QRectF(86, 54, name.boundingRect().width(), 15));
    word.translate(86 - word.boundingRect().left(), 0);
    p.setBrush(QColor(0x41, 0x75, 0xbd));
    p.drawPath(word);
    return img;
}

QImage indexBorder(QSize s) {
    QImage img = newImage(s, Qt::white);
    QPainter p(&img);
    prepare(p);
    QLinearGradient g(0, 0, s.width(), 0);
    g.setColorAt(0.0, QColor(0x2f, 0x7f, 0xd8));
    g.setColorAt(0.45, QColor(0x7c, 0xbd, 0xf7));
    g.setColorAt(1.0, QColor(0x3a, 0x8e, 0xe0));
    p.fillRect(img.rect(), g);
    QLinearGradient v(0, 0, 0, s.height());
    v.setColorAt(0.0, QColor(255, 255, 255, 60));
    v.setColorAt(1.0, QColor(0, 0, 60, 40));
    p.fillRect(img.rect(), v);
    return img;
}

} // namespace

void addScenePictures(Catalogue& c) {
    c.push_back({"CustomBlueBkg", "CustomBlueBkg.png", QSize(900, 680),
                 QStringLiteral("covers the largest window it backs unscaled (882x600, 800x676)"), true,
                 blueBackground});
    c.push_back({"CtrlPanel2", "CtrlPanel2.jpg", QSize(241, 520),
                 QStringLiteral("drill round panel is 241x520; game panels 232x480/520 show its left part"),
                 false, controlPanel});
    c.push_back({"NBQ2007Splash", "NBQ2007Splash.jpg", QSize(640, 480),
                 QStringLiteral("start window canvas is 640x480, drawn unscaled"), false, splash});
    c.push_back({"congratsBKG2", "congratsBKG2.png", QSize(420, 300),
                 QStringLiteral("message box is 420 wide, 184 high and more for long messages"), true,
                 congratsBackdrop});
    c.push_back({"cautionBkg4", "cautionBkg4.png", QSize(420, 184),
                 QStringLiteral("stretched over the 420x184 message box and 390x226 prompt"), true,
                 boxOverlay});
    c.push_back({"CurStudGraphic", "CurStudGraphic.png", QSize(262, 38),
                 QStringLiteral("sign-in title canvas is 262x38"), false, [](QSize s) {
                     return purpleTitle(s, QStringLiteral("Current Student"));
                 }});
    c.push_back({"funWMath", "funWMath.png", QSize(210, 34),
                 QStringLiteral("sign-in games title canvas is 210x34"), false, [](QSize s) {
                     return rainbowTitle(s, QStringLiteral("Fun With Math"));
                 }});
    c.push_back({"HOF10Title", "HOF10Title.png", QSize(300, 50),
                 QStringLiteral("hall of fame title canvas is 300x50"), false, hallTitle});
    c.push_back({"newerMissPlt", "newerMissPlt.jpg", QSize(144, 335),
                 QStringLiteral("missed-answers canvas is 144x335"), false, missPlate});
    c.push_back({"OVRInfo", "OVRInfo.jpg", QSize(337, 106),
                 QStringLiteral("about box logo canvas is 337x106"), false, makerLogo});
    c.push_back({"newIndxbdr", "newIndxbdr.png", QSize(8, 540),
                 QStringLiteral("help index border canvas is 8x540"), false, indexBorder});
}
