// Small painting toolkit shared by every picture of artgen: one palette, one way to make a
// glossy body, a soft shadow, stars and outlined text, so that all pictures look like one family.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSize>
#include <QString>

#include <cstdint>

namespace kit {

// The program's colours. Operation colours are shared by the signs, the operation buttons
// and anything else that stands for an operation, so a child can learn them.
namespace pal {
inline const QColor ink{0x1d, 0x3b, 0x6e}; // dark navy used for outlines and text
inline const QColor sky{0x4f, 0xa8, 0xf0};
inline const QColor deepBlue{0x1e, 0x5b, 0xb8};
inline const QColor sun{0xff, 0xc9, 0x3c};
inline const QColor gold{0xf5, 0xaa, 0x10};
inline const QColor goldLight{0xff, 0xe8, 0x7a};
inline const QColor goldEdge{0xc2, 0x74, 0x00};
inline const QColor orange{0xf2, 0x8c, 0x28};
inline const QColor coral{0xe9, 0x4f, 0x57};
inline const QColor green{0x2f, 0xa8, 0x5a};
inline const QColor violet{0x8e, 0x5b, 0xd0};
inline const QColor pink{0xff, 0x6f, 0xa8};
inline const QColor cream{0xff, 0xf6, 0xe6};
inline const QColor chute{0xf2, 0xf1, 0xd2}; // the basket game's chute colour, also the digit ground
inline const QColor plus{0x2f, 0xa8, 0x5a};
inline const QColor minus{0xf2, 0x8c, 0x28};
inline const QColor times{0x2f, 0x80, 0xed};
inline const QColor divide{0x8e, 0x5b, 0xd0};
inline const QColor emptyStarEdge{0x9a, 0xb0, 0xcf};
inline const QColor emptyStarFill{0xe9, 0xf0, 0xfa};
} // namespace pal

// A deterministic random stream, so that scattered decorations come out the same on every run.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : m_state(seed ? seed : 1u) {}
    std::uint32_t next();
    double uniform(double lo, double hi); // [lo, hi)
    int range(int lo, int hi);            // [lo, hi]
private:
    std::uint32_t m_state;
};

QImage newImage(QSize size, QColor fill = Qt::transparent);
void prepare(QPainter& p);

QColor mix(const QColor& a, const QColor& b, double t);
QColor tint(const QColor& c, double towardsWhite);  // 0 = unchanged, 1 = white
QColor shade(const QColor& c, double towardsBlack); // 0 = unchanged, 1 = black
QColor withAlpha(QColor c, int alpha);

// Blurs all four channels of a premultiplied image (three box passes, close to a Gaussian).
void blur(QImage& img, int radius);

// Paints a blurred copy of `shape` under whatever is drawn next.
void softShadow(QPainter& p, const QPainterPath& shape, QPointF offset, int radius, QColor color);

// A rounded body with a top-lit gradient, a gentle gloss on its upper half and a thin rim.
void glossyBody(QPainter& p, const QPainterPath& shape, const QColor& base, double gloss = 0.6,
                double rimWidth = 1.0);

QPainterPath roundedRect(const QRectF& r, double radius);
QPainterPath starPath(QPointF centre, double outer, double inner, int points = 5, double rotationDeg = -90.0);

// A gold star filled to `fill` (0, 0.5 or 1 from the left); the unfilled part is a soft outline.
void drawStar(QPainter& p, QPointF centre, double radius, double fill);

QFont boldFont(double pixelSize);
QFont plainFont(double pixelSize);

// Path of a text whose ink (not its line box) is centred on `centre`.
QPainterPath centredText(const QString& text, const QFont& font, QPointF centre);
// Same, scaled down as needed so the ink fits in `box`.
QPainterPath fittedText(const QString& text, const QFont& font, const QRectF& box);

// Fills a text path with `fill`, under a rounded outline and an optional soft drop shadow.
void outlinedText(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& outline,
                  double outlineWidth, bool shadow = true);

// The four operation signs as filled shapes centred in a square of side `s` at `centre`.
QPainterPath operationSign(int op, QPointF centre, double s);

// Alpha channel of an image as an opaque grey picture: white where the image shows.
QImage alphaAsGrey(const QImage& img);

} // namespace kit
