#include "mysqrbtn.h"

#include <QGuiApplication>
#include <QPainter>

mySqrBtn::mySqrBtn(QWidget* parent) : QWidget(parent) {}

void mySqrBtn::paintEvent(QPaintEvent*) {
    QPainter g(this);
    emit Paint(g);
}

void mySqrBtn::drawMyNum(QPainter& g, const QString& text, int size) const {
    QFont f = QGuiApplication::font();
    f.setPixelSize(std::max(size, 1));
    f.setBold(true);
    g.setFont(f);
    if (text.isEmpty())
        return;
    const int tw = g.fontMetrics().horizontalAdvance(text);
    const int x = (width() - tw) / 2; // a text wider than the tile starts left of it and is cut on both sides
    const int y = height() - 17;
    g.setPen(QColor(0, 0, 0));
    g.drawText(x, y, text);
    g.setPen(QColor(65, 117, 189));
    g.drawText(x - 2, y - 2, text);
}
