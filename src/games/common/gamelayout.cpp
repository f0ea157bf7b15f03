#include "gamelayout.h"

#include "app/media.h"
#include "controls/newcnvbtn.h"
#include "controls/picturecanvas.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include <algorithm>

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

PlayerPanel makePlayerPanel(QWidget* window) {
    const QPoint panelAt(568, 0);
    PlayerPanel panel;
    panel.bkgCnv = new PictureCanvas(
        QStringLiteral("bkgCnv"), [] { return Pictures::CtrlPanel2(); }, PictureCanvas::Fit::Stretch, window);
    panel.bkgCnv->setGeometry(568, 0, 232, 520);
    for (int i = 0; i < 2; ++i) {
        panel.InfoTxt[std::size_t(i)] =
            makeLabel(panel.bkgCnv, panelAt, QStringLiteral("InfoTxt"),
                      QRect(592, i == 0 ? 80 : 138, 189, 20), {}, 0, Qt::black, Qt::AlignHCenter);
        panel.InfoTxt[std::size_t(i)]->setProperty("Index", i);
    }
    panel.showTxt1 = makeLabel(panel.bkgCnv, panelAt, QStringLiteral("showTxt1"), QRect(592, 54, 189, 16),
                               QStringLiteral("-- Current Player --"), 12, kPurple, Qt::AlignHCenter);
    panel.showTxt2 = makeLabel(panel.bkgCnv, panelAt, QStringLiteral("showTxt2"), QRect(588, 112, 189, 16),
                               QString(31, ' '), 12, kPurple, Qt::AlignHCenter);

    const QPoint groupAt(584, 340);
    panel.GroupBox1 = new QGroupBox(panel.bkgCnv);
    panel.GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    panel.GroupBox1->setGeometry(inParent(QRect(584, 340, 200, 154), panelAt));
    panel.StartBtn = new newCnvBtn(panel.GroupBox1);
    panel.StartBtn->setObjectName(QStringLiteral("StartBtn"));
    panel.StartBtn->setGeometry(inParent(QRect(606, 386, 160, 32), groupAt));
    panel.CloseBtn = new newCnvBtn(panel.GroupBox1);
    panel.CloseBtn->setObjectName(QStringLiteral("CloseBtn"));
    panel.CloseBtn->setGeometry(inParent(QRect(606, 440, 160, 32), groupAt));
    panel.StaticText3 =
        makeLabel(panel.GroupBox1, groupAt, QStringLiteral("StaticText3"), QRect(594, 351, 100, 20),
                  QStringLiteral("Select Action:"), 0, kPurple, Qt::AlignLeft);
    return panel;
}

} // namespace GameLayout
