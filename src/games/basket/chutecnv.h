#pragma once

// The chute of the basket game: a narrow cream strip down which one number picture falls a few
// pixels a step. The chute keeps what it shows in an image of its own size; a step paints cream over
// the rows the picture left, draws the picture at its new place and repaints only the rows that
// changed, so a fast drop costs a few hundred pixels, not the window.

#include <QImage>
#include <QPixmap>
#include <QWidget>

class chuteCnv : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 34, kHeight = 260;
    // Where a picture falls inside the chute: its left edge, and the area it may cover.
    static constexpr int kNumLeft = 5, kNumWidth = 29, kNumHeight = 32;
    static inline const QColor kCream{0xF2, 0xF1, 0xD2};

    explicit chuteCnv(QWidget* parent = nullptr);

    QPixmap myNum;      // the picture now falling
    int myTop = 0;      // its top edge inside the chute
    int myFallRate = 0; // pixels per step

    // Starts a new picture just above the chute; draws nothing.
    void init(const QPixmap& pic, int rate);
    // One step down; raises bottomReached once the picture's top has passed the chute's bottom.
    void update();
    // Erases the picture where it stands.
    void clearNum();

    // What the chute shows (for tests and the look).
    const QImage& surface() const { return surface_; }

signals:
    void bottomReached();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Rows y0..y1 (half-open) of the chute, clipped.
    void repaintRows(int y0, int y1);

    QImage surface_;
};
