#pragma once

// Small helpers for laying out a game window from its table: every place is given in window
// coordinates, also for a control inside a panel or a group box, so a control is placed at its
// window place less its parent's. Also the operator signs the boards show.

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace LayoutKit {

inline QRect inParent(const QRect& windowRect, QPoint parentOrigin) {
    return windowRect.translated(-parentOrigin);
}

// Text sizes are in pixels, as the layout tables were drawn.
void setTextSize(QWidget* w, int pixels);
void setTextColour(QWidget* w, const QColor& colour);

// A transparent single-line label whose text cannot be selected; size 0 keeps the default size.
QLabel* makeLabel(QWidget* parent, QPoint parentOrigin, const QString& name, const QRect& windowRect,
                  const QString& text, int size, const QColor& colour, Qt::Alignment align);

// Sets a label's text at the largest size up to `pixels` at which it fits the label's width, so that
// a long number or a wide glyph in our font is never cut off.
void setFittedText(QLabel* label, const QString& text, int pixels);

// The operator sign pictures (0 plus, 1 minus, 2 times, 3 divided by) and how they read out.
QPixmap signPicture(int op);
QString signName(int op);

} // namespace LayoutKit
