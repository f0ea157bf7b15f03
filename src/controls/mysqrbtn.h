#pragma once

#include <QWidget>

class QPainter;

// A square tile of the game boards. The holding window paints the tile (its Paint signal carries the
// tile's painter) and writes the tile's number with drawMyNum; mouse events are left to the window, to
// which they pass on.
class mySqrBtn : public QWidget {
    Q_OBJECT

public:
    explicit mySqrBtn(QWidget* parent = nullptr);

    // Writes the text centred on the tile in bold blue over a black shadow, its baseline 17 pixels above
    // the bottom edge whatever the size. The font stays set on the painter.
    void drawMyNum(QPainter& g, const QString& text, int size) const;

    QSize sizeHint() const override { return {48, 48}; }

signals:
    void Paint(QPainter& g);

protected:
    void paintEvent(QPaintEvent* event) override;
};
