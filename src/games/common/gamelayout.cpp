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

QFont pixelFont(const QWidget* w, int pixelSize, bool bold, bool italic) {
    QFont f = w->font();
    if (pixelSize > 0)
        f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void setPixelFont(QWidget* w, int pixelSize, bool bold) {
    w->setFont(pixelFont(w, pixelSize, bold));
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

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& at, int pixelSize,
              const QColor& colour, Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(pixelFont(l, pixelSize));
    l->setAlignment(align);
    setColour(l, colour);
    l->setGeometry(at);
    return l;
}

} // namespace GameLayout
