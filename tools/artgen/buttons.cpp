// Button faces: the five large push-button faces and their mask, the check box, the plus/minus
// stepper strip, board squares, the operation buttons of the easy settings and the star cells.
#include "catalogue.h"
#include "paintkit.h"

using namespace kit;

namespace {

// ---- large push-button faces -------------------------------------------------------------

// The body leaves 5 pixels at the right and bottom for the shadow. The pressed look draws
// only the picture minus those 5 pixels, so a pressed button loses its shadow and seems pushed.
QPainterPath largeBody(QSize s) {
    const QRectF body(0.5, 0.5, s.width() - 5.5, s.height() - 5.5);
    return roundedRect(body, body.height() * 0.36);
}

QImage largeFace(QSize s, const QColor& base) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const QPainterPath body = largeBody(s);
    softShadow(p, body, QPointF(2.0, 2.5), 4, QColor(10, 30, 70, 120));
    // A light gloss: the program writes the caption over the face, in a pale colour.
    glossyBody(p, body, base, 0.34, 1.0);
    return img;
}

// ---- check box ----------------------------------------------------------------------------

QPainterPath checkBoxBody(QSize s) {
    return roundedRect(QRectF(1.0, 1.0, s.width() - 4.0, s.height() - 4.0), 5.0);
}

QImage checkBoxFace(QSize s, bool checked) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const QPainterPath body = checkBoxBody(s);
    softShadow(p, body, QPointF(1.0, 1.5), 2, QColor(10, 30, 70, 110));
    QLinearGradient fill(0, 1, 0, s.height() - 3);
    fill.setColorAt(0.0, QColor(255, 255, 255));
    fill.setColorAt(1.0, QColor(0xd9, 0xe8, 0xfa));
    p.setBrush(fill);
    p.setPen(QPen(pal::times, 1.6));
    p.drawPath(body);
    if (checked) {
        QPainterPath tick;
        tick.moveTo(5.6, 10.6);
        tick.lineTo(9.2, 14.6);
        tick.lineTo(16.0, 5.8);
        QPen under(pal::ink, 4.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(under);
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        QPen over(QColor(0x3c, 0xc0, 0x6a), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(over);
        p.drawPath(tick);
    }
    return img;
}

// ---- plus/minus stepper strip: normal, pressed and disabled faces, 22 rows apart ---------------

void stepperBand(QPainter& p, double top, int kind) {
    const QRectF r(0.5, top + 0.5, 44.0, 21.0);
    const QPainterPath body = roundedRect(r, 6.0);
    QColor base, symbol, rim;
    double gloss = 0.5;
    switch (kind) {
    case 0:
        base = QColor(0xcf, 0xe4, 0xfa);
        symbol = pal::ink;
        break;
    case 1:
        base = QColor(0x4f, 0x93, 0xdf);
        symbol = Qt::white;
        gloss = 0.12;
        break;
    default:
        base = QColor(0xe3, 0xe5, 0xe8);
        symbol = QColor(0xb4, 0xb8, 0xbf);
        gloss = 0.2;
        break;
    }
    glossyBody(p, body, base, gloss, 1.0);
    if (kind == 1) {
        // A pressed key is lit from inside its top edge: a soft inner shadow.
        p.save();
        p.setClipPath(body);
        QLinearGradient in(r.topLeft(), QPointF(r.left(), r.top() + 6));
        in.setColorAt(0.0, QColor(0, 20, 60, 110));
        in.setColorAt(1.0, QColor(0, 20, 60, 0));
        p.fillRect(r, in);
        p.restore();
    }
    // The split between the halves.
    p.setPen(QPen(shade(base, 0.35), 1.0));
    p.drawLine(QPointF(22.5, top + 4), QPointF(22.5, top + 18));
    p.setPen(QPen(withAlpha(Qt::white, kind == 2 ? 90 : 150), 1.0));
    p.drawLine(QPointF(23.5, top + 4), QPointF(23.5, top + 18));

    p.setPen(Qt::NoPen);
    p.setBrush(symbol);
    p.drawPath(operationSign(0, QPointF(11.5, top + 11.0), 14.0));
    p.drawPath(operationSign(1, QPointF(34.0, top + 11.0), 14.0));
}

QImage stepperStrip(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    for (int band = 0; band < 3; ++band)
        stepperBand(p, band * 22.0, band);
    return img;
}

// ---- board squares -----------------------------------------------------------------------------
// The games write numbers on these in bold blue (#4175BD) with a black shadow, so every face
// stays light.

QImage roundSquare(QSize s, const QColor& base, const QColor& rim, double rimWidth) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const QPainterPath body = roundedRect(QRectF(1.0, 1.0, s.width() - 4.0, s.height() - 4.0), 8.0);
    softShadow(p, body, QPointF(1.2, 1.8), 3, QColor(10, 30, 70, 120));
    glossyBody(p, body, base, 0.55, 0.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(rim, rimWidth));
    p.drawPath(body);
    return img;
}

QImage freeSquare(QSize s) {
    return roundSquare(s, QColor(0xd2, 0xe7, 0xff), QColor(0x6f, 0x9c, 0xd6), 1.2);
}

QImage currentSquare(QSize s) {
    QImage img = roundSquare(s, QColor(0xc4, 0xf2, 0xb4), pal::green, 2.4);
    QPainter p(&img);
    prepare(p);
    // A little sparkle in the corner says "you are here".
    p.setPen(Qt::NoPen);
    p.setBrush(pal::sun);
    p.drawPath(starPath(QPointF(37.5, 9.5), 5.0, 2.2));
    return img;
}

// Full-bleed tiles, stored as JPEG: they are always drawn over the whole square.
QImage flatTile(QSize s, const QColor& top, const QColor& bottom, const QColor& edge) {
    QImage img = newImage(s, bottom);
    QPainter p(&img);
    prepare(p);
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0.0, top);
    g.setColorAt(1.0, bottom);
    p.fillRect(img.rect(), g);
    const QRectF r(0.5, 0.5, s.width() - 1.0, s.height() - 1.0);
    // Bevel: light along the top and left, darker along the bottom and right.
    p.setPen(QPen(withAlpha(Qt::white, 200), 1.5));
    p.drawLine(QPointF(1.5, 1.5), QPointF(s.width() - 2.0, 1.5));
    p.drawLine(QPointF(1.5, 1.5), QPointF(1.5, s.height() - 2.0));
    p.setPen(QPen(withAlpha(shade(edge, 0.2), 160), 1.5));
    p.drawLine(QPointF(2.0, s.height() - 1.5), QPointF(s.width() - 1.5, s.height() - 1.5));
    p.drawLine(QPointF(s.width() - 1.5, 2.0), QPointF(s.width() - 1.5, s.height() - 1.5));
    p.setPen(QPen(edge, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    return img;
}

QImage usedSquare(QSize s) {
    return flatTile(s, QColor(0xff, 0xf6, 0xd2), QColor(0xf8, 0xde, 0x8e), QColor(0xc9, 0xa2, 0x3c));
}

QImage tileBackdrop(QSize s) {
    return flatTile(s, QColor(0xff, 0xfb, 0xef), QColor(0xf4, 0xec, 0xd6), QColor(0xd9, 0xcc, 0xa8));
}

// ---- operation buttons of the easy settings dialog ------------------------------------------

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

void whiteSign(QPainter& p, int op, QPointF c, double size) {
    const QPainterPath sign = operationSign(op, c, size);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawPath(sign.translated(0.8, 1.2));
    p.setBrush(Qt::white);
    p.setPen(QPen(withAlpha(pal::ink, 90), 0.8));
    p.drawPath(sign);
    p.restore();
}

QImage operationButton(QSize s, int op) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const QPainterPath body = roundedRect(QRectF(1.0, 1.0, s.width() - 4.5, s.height() - 4.5), 10.0);
    softShadow(p, body, QPointF(1.4, 2.0), 3, QColor(10, 30, 70, 130));
    glossyBody(p, body, opColour(op), 0.55, 1.0);
    whiteSign(p, op, QPointF(21.75, 21.75), 27.0);
    return img;
}

QImage mixButton(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const QPainterPath body = roundedRect(QRectF(1.0, 1.0, s.width() - 4.5, s.height() - 4.5), 10.0);
    softShadow(p, body, QPointF(1.4, 2.0), 3, QColor(10, 30, 70, 130));
    glossyBody(p, body, pal::pink, 0.5, 1.0);
    // All four operations together: one little coloured coin for each.
    const QPointF centres[4] = {{13.5, 13.5}, {30.0, 13.5}, {13.5, 30.0}, {30.0, 30.0}};
    for (int op = 0; op < 4; ++op) {
        QPainterPath coin;
        coin.addEllipse(centres[op], 7.6, 7.6);
        glossyBody(p, coin, opColour(op), 0.45, 0.9);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(operationSign(op, centres[op], 10.0));
    }
    return img;
}

QImage easyStart(QSize s) {
    QImage img = newImage(s);
    QPainter p(&img);
    prepare(p);
    const QRectF r(1.0, 1.0, s.width() - 6.0, s.height() - 6.0);
    const QPainterPath body = roundedRect(r, r.height() / 2);
    softShadow(p, body, QPointF(2.0, 2.5), 4, QColor(10, 30, 70, 130));
    glossyBody(p, body, QColor(0x2b, 0x9a, 0xe8), 0.5, 1.0);
    drawStar(p, QPointF(24.0, 21.5), 14.0, 1.0);
    const QPainterPath text =
        fittedText(QStringLiteral("Easy Start"), boldFont(21), QRectF(44, 9, r.right() - 52, 25));
    outlinedText(p, text, Qt::white, pal::ink, 1.3, true);
    return img;
}

// ---- star cells of the progress grid and the round's star box -------------------------------------

// Every star cell sits on the same pale tile, so the grid looks like one whole.
QImage starTile(QSize s) {
    QImage img = newImage(s, Qt::white);
    QPainter p(&img);
    prepare(p);
    QLinearGradient g(0, 0, 0, s.height());
    g.setColorAt(0.0, QColor(0xf7, 0xfb, 0xff));
    g.setColorAt(1.0, QColor(0xda, 0xe9, 0xf9));
    p.fillRect(img.rect(), g);
    p.setPen(QPen(QColor(0xa9, 0xc4, 0xe6), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, s.width() - 1.0, s.height() - 1.0));
    p.setPen(QPen(withAlpha(Qt::white, 220), 1.0));
    p.drawLine(QPointF(1.5, 1.5), QPointF(s.width() - 2.0, 1.5));
    return img;
}

QImage starCell(QSize s, double fill) {
    QImage img = starTile(s);
    QPainter p(&img);
    prepare(p);
    drawStar(p, QPointF(s.width() / 2.0, s.height() / 2.0 + 1.0), s.height() * 0.42, fill);
    return img;
}

QImage crossedStar(QSize s) {
    QImage img = starTile(s);
    QPainter p(&img);
    prepare(p);
    const QPointF c(s.width() / 2.0, s.height() / 2.0 + 0.8);
    QPen edge(QColor(0xb3, 0xbb, 0xc7), 1.0);
    edge.setJoinStyle(Qt::RoundJoin);
    p.setPen(edge);
    p.setBrush(QColor(0xdc, 0xe1, 0xe8));
    p.drawPath(starPath(c, 9.5, 4.8));
    QPen cross(QColor(0xd9, 0x5c, 0x5c), 2.2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(cross);
    p.drawLine(QPointF(c.x() - 5.5, c.y() - 5.5), QPointF(c.x() + 5.5, c.y() + 5.5));
    p.drawLine(QPointF(c.x() + 5.5, c.y() - 5.5), QPointF(c.x() - 5.5, c.y() + 5.5));
    return img;
}

QImage tryButton(QSize s) {
    QImage img = starTile(s);
    QPainter p(&img);
    prepare(p);
    const QPainterPath body = roundedRect(QRectF(2.0, 3.0, s.width() - 4.5, s.height() - 6.0), 8.0);
    softShadow(p, body, QPointF(0.6, 1.0), 2, QColor(10, 30, 70, 110));
    glossyBody(p, body, pal::green, 0.5, 1.0);
    const QPainterPath text = centredText(QStringLiteral("Try"), boldFont(11),
                                          QPointF(s.width() / 2.0 - 0.7, s.height() / 2.0 - 0.4));
    outlinedText(p, text, Qt::white, shade(pal::green, 0.5), 0.6, false);
    return img;
}

} // namespace

void addButtonPictures(Catalogue& c) {
    const QSize large(160, 36);
    const QString largeWhy =
        QStringLiteral("stretched to every button; 160x36 is the most common button size");
    c.push_back({"CancelLrg", "CancelLrg.png", large, largeWhy, true, [](QSize s) {
                     return largeFace(s, QColor(0x86, 0x57, 0xc9));
                 }});
    c.push_back({"ActionLrg", "ActionLrg.png", large, largeWhy, true, [](QSize s) {
                     return largeFace(s, QColor(0x27, 0x77, 0xdb));
                 }});
    c.push_back({"yellowBtn", "yellowBtn.png", large, largeWhy, true, [](QSize s) {
                     return largeFace(s, QColor(0xc4, 0x7a, 0x00));
                 }});
    c.push_back({"GreenBtn", "GreenBtn.png", large, largeWhy, true, [](QSize s) {
                     return largeFace(s, QColor(0x1f, 0x84, 0x40));
                 }});
    c.push_back({"ltRedBtn", "ltRedBtn.png", large, largeWhy, true, [](QSize s) {
                     return largeFace(s, QColor(0xcc, 0x3f, 0x4b));
                 }});
    c.push_back({"MaskLrg", "MaskLrg.png", large,
                 QStringLiteral("same as the five faces it masks; white = face shows"), false, [](QSize s) {
                     return alphaAsGrey(largeFace(s, Qt::gray));
                 }});

    const QSize box(22, 22);
    const QString boxWhy = QStringLiteral("fits the 24-high check box, drawn at (1,1) at own size");
    c.push_back({"blueCheckBox", "blueCheckBox.png", box, boxWhy, true, [](QSize s) {
                     return checkBoxFace(s, false);
                 }});
    c.push_back({"boxWithCheck", "boxWithCheck.png", box, boxWhy, true, [](QSize s) {
                     return checkBoxFace(s, true);
                 }});
    c.push_back({"CkBoxMask", "CkBoxMask.png", box,
                 QStringLiteral("same as the check box faces; white = face shows"), false, [](QSize s) {
                     return alphaAsGrey(checkBoxFace(s, true));
                 }});

    c.push_back({"plusminuspic", "plusminuspic.png", QSize(45, 66),
                 QStringLiteral("stepper is 45x22; three faces stacked 22 rows apart"), false, stepperStrip});

    const QSize sq(48, 48);
    const QString sqWhy = QStringLiteral("board squares and number tiles are 48x48");
    c.push_back({"button64", "button64.png", sq, sqWhy, false, freeSquare});
    c.push_back({"selMDBtn", "selMDBtn.jpg", sq, sqWhy, false, usedSquare});
    c.push_back({"curLocBtn", "curLocBtn.png", sq, sqWhy, false, currentSquare});
    c.push_back({"CBoxNorm", "CBoxNorm.jpg", sq, QStringLiteral("backdrop of the 48x48 number tiles"), false,
                 tileBackdrop});

    const QString opWhy = QStringLiteral("easy settings operation buttons are 48x48");
    c.push_back({"ZeriBtn", "ZeriBtn.png", sq, opWhy, false, [](QSize s) {
                     return operationButton(s, 0);
                 }});
    c.push_back({"MinusBtn", "MinusBtn.png", sq, opWhy, false, [](QSize s) {
                     return operationButton(s, 1);
                 }});
    c.push_back({"TimesBtn", "TimesBtn.png", sq, opWhy, false, [](QSize s) {
                     return operationButton(s, 2);
                 }});
    c.push_back({"DivBtn", "DivBtn.png", sq, opWhy, false, [](QSize s) {
                     return operationButton(s, 3);
                 }});
    c.push_back({"AllBtn", "AllBtn.png", sq, opWhy, false, mixButton});
    c.push_back({"easyStartBtn", "easyStartBtn.png", QSize(175, 48),
                 QStringLiteral("easy-settings picture button is 175x48"), false, easyStart});

    c.push_back({"NoStar", "NoStar.jpg", QSize(32, 32),
                 QStringLiteral("star boxes of the round and games are 32x32"), false, [](QSize s) {
                     return starCell(s, 0.0);
                 }});
    c.push_back({"smallstar", "small star.jpg", QSize(32, 32),
                 QStringLiteral("32x32 star boxes; progress grid draws its top-left 32x32 at 24x24"), false,
                 [](QSize s) {
                     return starCell(s, 1.0);
                 }});
    c.push_back({"XStar", "XStar.jpg", QSize(32, 24), QStringLiteral("progress star cells are 32x24"), false,
                 crossedStar});
    c.push_back({"Click2", "Click2.jpg", QSize(32, 24), QStringLiteral("progress star cells are 32x24"),
                 false, tryButton});
}
