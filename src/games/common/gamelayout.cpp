#include "gamelayout.h"

#include <QLabel>
#include <QPalette>

namespace GameLayout {

QFont pixelFont(const QWidget* w, int pixelSize, bool bold, bool italic) {
    QFont f = w->font();
    if (pixelSize > 0)
        f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void setTextColour(QWidget* w, const QColor& colour) {
    QPalette pal = w->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::WindowText, colour);
        pal.setColor(group, QPalette::Text, colour);
    }
    w->setPalette(pal);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& at, int pixelSize,
              const QColor& colour, Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(pixelFont(l, pixelSize));
    l->setAlignment(align);
    setTextColour(l, colour);
    l->setGeometry(at);
    return l;
}

} // namespace GameLayout
