#pragma once

// Small helpers for laying out a game window's plain controls at their window coordinates. The
// windows were drawn for a screen on which a point is a pixel, so text sizes are pixel sizes.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace GameLayout {

// The widget's font at a pixel size (0 keeps the size), bold and italic as asked.
QFont pixelFont(const QWidget* w, int pixelSize, bool bold = false, bool italic = false);

// The text colour of an enabled control; a disabled one keeps the platform's grey.
void setTextColour(QWidget* w, const QColor& colour);

// A label with its name, text, place, pixel size (0 the default), colour and alignment.
QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& at, int pixelSize,
              const QColor& colour, Qt::Alignment align);

} // namespace GameLayout
