#pragma once

// The two kinds of cell canvas of the progress grid. Each knows only its cell index; what it shows
// depends on the student and the visible tab, which the window knows, so the window paints it (and,
// for a star cell, acts on its release). The drawing itself is in the ProgressPaint functions.

#include "progressgrid.h"

#include "controls/pressshift.h"

#include <QWidget>

#include <functional>

class QPainter;

// The percent bar of one cell.
class GradeBarCnv : public QWidget {
public:
    using PaintHandler = std::function<void(GradeBarCnv&, QPainter&)>;
    GradeBarCnv(int index, PaintHandler paint, QWidget* parent);
    int index() const { return index_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int index_;
    PaintHandler paint_;
};

// The picture of one cell, which is also its practice button: pressed, it moves 2 pixels right and
// down; released anywhere, it moves back and then hands the release to the window.
class StarCnv : public QWidget {
public:
    using PaintHandler = std::function<void(StarCnv&, QPainter&)>;
    using ReleaseHandler = std::function<void(StarCnv&)>;
    StarCnv(int index, PaintHandler paint, ReleaseHandler release, QWidget* parent);
    int index() const { return index_; }
    bool isPressed() const { return shift_.isPressed(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int index_;
    PressShift shift_;
    PaintHandler paint_;
    ReleaseHandler release_;
};

namespace ProgressPaint {
// Columns 0 to wholePercent shaded by their colour, the rest grey; all grey below 1 percent.
void paintBar(QPainter& g, QSize size, int wholePercent);
// The letter size, in pixels, at which every one of the tags fits a bar of that size (bold, from the
// usual 10 down to 8).
int tagPixelSize(const QFont& font, QSize size, const QStringList& tags);
// The tag in bold black over the bar at that letter size, always from the same left edge; a tag too
// long for the bar is drawn narrower.
void paintTag(QPainter& g, QSize size, const QString& tag, int pixels);
// A tag alone: made smaller when it would run past the bar's right edge.
void paintTag(QPainter& g, QSize size, const QString& tag);
// The cell's picture, or a drawn likeness of it when the picture file is missing.
void paintMark(QPainter& g, ProgressGrid::Mark mark);
} // namespace ProgressPaint
