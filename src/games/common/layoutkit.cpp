#include "layoutkit.h"

#include "app/media.h"

#include <QFontMetrics>
#include <QLabel>

#include <algorithm>

namespace LayoutKit {

void setTextSize(QWidget* w, int pixels) {
    QFont f = w->font();
    f.setPixelSize(pixels);
    w->setFont(f);
}

void setTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    w->setPalette(p);
}

QLabel* makeLabel(QWidget* parent, QPoint parentOrigin, const QString& name, const QRect& windowRect,
                  const QString& text, int size, const QColor& colour, Qt::Alignment align) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(inParent(windowRect, parentOrigin));
    if (size > 0)
        setTextSize(l, size);
    setTextColour(l, colour);
    l->setAlignment(align | Qt::AlignVCenter);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    return l;
}

void setFittedText(QLabel* label, const QString& text, int pixels) {
    QFont f = label->font();
    int size = pixels;
    for (; size > 6; --size) {
        f.setPixelSize(size);
        const QFontMetrics m(f);
        if (std::max(m.horizontalAdvance(text), m.boundingRect(text).width()) < label->width())
            break;
    }
    f.setPixelSize(size);
    label->setFont(f);
    label->setText(text);
}

QPixmap signPicture(int op) {
    switch (op) {
    case 1:
        return Pictures::Prim_Minus3();
    case 2:
        return Pictures::Prim_Times3();
    case 3:
        return Pictures::Prim_Div3();
    default:
        return Pictures::Prim_Zeri3();
    }
}

QString signName(int op) {
    switch (op) {
    case 1:
        return QStringLiteral("minus");
    case 2:
        return QStringLiteral("times");
    case 3:
        return QStringLiteral("divided by");
    default:
        return QStringLiteral("plus");
    }
}

} // namespace LayoutKit
