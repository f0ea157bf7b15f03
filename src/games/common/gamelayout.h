#pragma once

// Small helpers the game windows lay their controls out with. The games were drawn for a screen on
// which a point is a pixel, so text sizes here are pixel sizes; places are window coordinates of the
// game's content area, whatever control holds the new one.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace GameLayout {

inline const QColor kPurple{0xAC, 0x00, 0xE1};

struct TextStyle {
    int pixelSize = 0; // 0: the platform's default size
    QColor colour = Qt::black;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    bool bold = false;
};

// Places `w` at window coordinates of `content` (its parent may be a panel inside it).
void placeAt(QWidget* w, const QWidget* content, const QRect& at);
// The text colour of an enabled control; a disabled one keeps the platform's grey.
void setColour(QWidget* w, const QColor& colour);
// The widget's font at a pixel size (0 keeps the size), bold and italic as asked.
QFont pixelFont(const QWidget* w, int pixelSize, bool bold = false, bool italic = false);
void setPixelFont(QWidget* w, int pixelSize, bool bold = false);
// A transparent label, named, placed at window coordinates of `content` and styled.
QLabel* label(QWidget* parent, const QWidget* content, const QString& name, const QString& text,
              const QRect& at, const TextStyle& style = {});
// A label placed in its parent's own coordinates, with its pixel size (0 the default), colour and
// alignment.
QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& at, int pixelSize,
              const QColor& colour, Qt::Alignment align);

} // namespace GameLayout
