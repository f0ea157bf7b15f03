#include "staticurl.h"

#include <QDesktopServices>
#include <QMouseEvent>

namespace {

StaticURL::Opener& opener() {
    static StaticURL::Opener current;
    return current;
}

void openAddress(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid())
        return;
    if (opener())
        opener()(url);
    else
        QDesktopServices::openUrl(url);
}

} // namespace

StaticURL::StaticURL(QWidget* parent) : StaticURL(QString(), parent) {}

StaticURL::StaticURL(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setTextColor(linkBlue());
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
}

const QColor& StaticURL::linkBlue() {
    static const QColor c(0, 0, 255);
    return c;
}
const QColor& StaticURL::hoverMagenta() {
    static const QColor c(255, 0, 255);
    return c;
}
const QColor& StaticURL::pressedRed() {
    static const QColor c(255, 0, 0);
    return c;
}

void StaticURL::setOpener(Opener o) {
    opener() = std::move(o);
}

QColor StaticURL::textColor() const {
    return palette().color(QPalette::WindowText);
}

void StaticURL::setTextColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void StaticURL::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    if (opened)
        return;
    opened = true;
    // Whatever colour the window's layout gave the label, a link is blue and underlined.
    setTextColor(linkBlue());
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    emit Open();
}

void StaticURL::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    setTextColor(hoverMagenta());
    setCursor(Qt::PointingHandCursor);
}

void StaticURL::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    setTextColor(linkBlue());
    setCursor(Qt::ArrowCursor);
}

void StaticURL::mousePressEvent(QMouseEvent* event) {
    setTextColor(pressedRed());
    // Accepted, so the release comes here wherever it happens.
    event->accept();
}

void StaticURL::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (pos.x() > 0 && pos.x() < width() && pos.y() > 0 && pos.y() < height())
        openAddress(URL.isEmpty() ? text() : URL);
    setTextColor(linkBlue());
    event->accept();
}
