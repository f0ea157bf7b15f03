#include "newcnvbtn.h"

#include "app/buttonfaces.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>

namespace {

constexpr int kPressShift = 4;
constexpr int kPressedShrink = 5;
constexpr int kCaptionMargin = 4;
constexpr int kSmallestCaption = 9;

QColor captionColour(std::uint8_t kind) {
    return kind <= 1 ? QColor(0xFF, 0xF6, 0xE6) : QColor(0xBD, 0xD8, 0xFF);
}

// Drawn when a face picture is missing: a plain rounded face in the kind's colour, dark enough for
// the light caption.
void drawPlainFace(QPainter& p, const QRect& area, std::uint8_t kind) {
    static const QColor colours[] = {QColor(0x86, 0x57, 0xC9), QColor(0x27, 0x77, 0xDB),
                                     QColor(0xC4, 0x7A, 0x00), QColor(0x1F, 0x84, 0x40),
                                     QColor(0xCC, 0x3F, 0x4B)};
    const QColor base = kind < 5 ? colours[kind] : QColor(0x70, 0x70, 0x70);
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0.0, base.lighter(130));
    fill.setColorAt(1.0, base.darker(115));
    QPainterPath path;
    const qreal radius = qMin(area.height() / 2.0, 8.0);
    path.addRoundedRect(QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(base.darker(140));
    p.setBrush(fill);
    p.drawPath(path);
}

// Assistive technology sees a push button named by its caption, which it can press.
class AccessibleButton : public QAccessibleWidget {
public:
    explicit AccessibleButton(newCnvBtn* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return button()->myCaption();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction())
            emit button()->MouseUp(button()->width() / 2, button()->height() / 2);
    }

private:
    newCnvBtn* button() const { return static_cast<newCnvBtn*>(widget()); }
};

QAccessibleInterface* accessibleFactory(const QString& key, QObject* object) {
    if (key == QLatin1String("newCnvBtn") && object && object->isWidgetType())
        return new AccessibleButton(static_cast<newCnvBtn*>(object));
    return nullptr;
}

} // namespace

newCnvBtn::newCnvBtn(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void newCnvBtn::setCaption(const QString& caption, std::uint8_t kind) {
    setMyCaption(caption);
    myType = kind;
}

void newCnvBtn::hndlMouseUp() {
    // Only a pressed button moves back: a second call must not walk it up and to the left.
    if (!isDepr)
        return;
    isDepr = false;
    move(pos() - QPoint(kPressShift, kPressShift));
    update();
}

int newCnvBtn::getSize(int width) {
    if (width <= 100)
        return 12;
    if (width <= 160)
        return 14;
    return 18;
}

int newCnvBtn::getHgt(int height, int ascent) {
    const int k = height > 25 ? 2 : 1;
    return height - (height - ascent) / 2 - height / 10 - k;
}

void newCnvBtn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // A button that cannot be used shows it by fading.
    if (!isEnabled())
        p.setOpacity(0.45);
    const int w = width();
    const int h = height();
    const QPixmap face =
        myType < myGlobals::gActionBtn().size() ? myGlobals::gActionBtn()[myType] : QPixmap();
    if (face.isNull()) {
        const QRect area = isDepr ? QRect(0, 0, w - kPressedShrink, h - kPressedShrink) : rect();
        drawPlainFace(p, area, myType);
    } else {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        if (isDepr)
            p.drawPixmap(QRect(0, 0, w - kPressedShrink, h - kPressedShrink), face,
                         QRect(0, 0, face.width() - kPressedShrink, face.height() - kPressedShrink));
        else
            p.drawPixmap(rect(), face, face.rect());
    }
    if (mMycaption.isEmpty())
        return;

    QFont f = font();
    f.setPixelSize(getSize(w));
    f.setBold(true);
    // A caption longer than the face is made smaller rather than cut off at both ends.
    while (f.pixelSize() > kSmallestCaption &&
           QFontMetrics(f).horizontalAdvance(mMycaption) > w - 2 * kCaptionMargin)
        f.setPixelSize(f.pixelSize() - 1);
    p.setFont(f);
    const QFontMetrics fm(f);
    const int textWidth = fm.horizontalAdvance(mMycaption);
    const int x = (w - textWidth) / 2;
    const int y = getHgt(h, fm.ascent());
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(Qt::black);
    p.drawText(x, y, mMycaption);
    p.setPen(captionColour(myType));
    p.drawText(x - 1, y - 1, mMycaption);
}

void newCnvBtn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept(); // so that the release comes to this button wherever it happens
    if (isDepr)
        return;
    isDepr = true;
    move(pos() + QPoint(kPressShift, kPressShift));
    update();
}

void newCnvBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isDepr) {
        event->ignore();
        return;
    }
    event->accept();
    const QPoint at = event->position().toPoint();
    const QPointer<newCnvBtn> self(this);
    emit MouseUp(at.x(), at.y());
    // A window that forgot hndlMouseUp must not leave the button pressed for good.
    if (self)
        hndlMouseUp();
}

void newCnvBtn::showEvent(QShowEvent* event) {
    if (!opened) {
        opened = true;
        emit Open();
    }
    QWidget::showEvent(event);
}

void newCnvBtn::hideEvent(QHideEvent* event) {
    // A hidden button gets no release: put it back now.
    hndlMouseUp();
    QWidget::hideEvent(event);
}
