#include "gamelayout.h"

#include <QLabel>
#include <QWidget>

namespace GameLayout {

void placeAt(QWidget* w, const QWidget* content, const QRect& at) {
    QWidget* parent = w->parentWidget();
    const QPoint origin =
        parent == content || !parent ? at.topLeft() : parent->mapFrom(content, at.topLeft());
    w->setGeometry(QRect(origin, at.size()));
}

void setColour(QWidget* w, const QColor& colour) {
    QPalette pal = w->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::WindowText, colour);
        pal.setColor(group, QPalette::Text, colour);
    }
    w->setPalette(pal);
}

void setPixelFont(QWidget* w, int pixelSize, bool bold) {
    QFont f = w->font();
    if (pixelSize > 0)
        f.setPixelSize(pixelSize);
    f.setBold(bold);
    w->setFont(f);
}

QLabel* label(QWidget* parent, const QWidget* content, const QString& name, const QString& text,
              const QRect& at, const TextStyle& style) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    setPixelFont(l, style.pixelSize, style.bold);
    l->setAlignment(style.align);
    setColour(l, style.colour);
    placeAt(l, content, at);
    return l;
}

} // namespace GameLayout
