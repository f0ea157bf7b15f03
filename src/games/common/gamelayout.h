#pragma once

// Small helpers the game windows lay their controls out with. The games were drawn for a screen on
// which a point is a pixel, so text sizes here are pixel sizes; places are window coordinates of the
// game's content area, whatever control holds the new one: a control inside a panel or a group box
// is placed at its window place less its parent's. Also the operator signs the boards show.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <array>

class PictureCanvas;
class QGroupBox;
class QLabel;
class newCnvBtn;
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

// For the windows whose tables give each parent's window place.

// The window rect in the coordinates of a parent whose window place is parentOrigin.
inline QRect inParent(const QRect& windowRect, QPoint parentOrigin) {
    return windowRect.translated(-parentOrigin);
}

// Text sizes are in pixels, as the layout tables were drawn.
void setTextSize(QWidget* w, int pixels);
// Colours the text in every state, also when disabled (setColour leaves a disabled control grey).
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

// The current-player panel down the right of the basket and Mind games: the control-panel picture
// (bkgCnv) with "-- Current Player --", the student's name (InfoTxt 0), a caption for the best
// (showTxt2) and the best itself (InfoTxt 1), and at its foot the action group (GroupBox1) with
// "Select Action:" over the Start and Close buttons. The labels start empty and the buttons without
// captions; the game fills them in and connects the buttons.
struct PlayerPanel {
    PictureCanvas* bkgCnv = nullptr;
    std::array<QLabel*, 2> InfoTxt{};
    QLabel* showTxt1 = nullptr;
    QLabel* showTxt2 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    newCnvBtn* StartBtn = nullptr;
    newCnvBtn* CloseBtn = nullptr;
    QLabel* StaticText3 = nullptr;
};
PlayerPanel makePlayerPanel(QWidget* window);

} // namespace GameLayout
