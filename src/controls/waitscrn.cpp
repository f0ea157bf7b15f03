#include "waitscrn.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QWindow>

waitScrn::waitScrn(const QString& text, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), myTxt(text) {
    setObjectName(QStringLiteral("waitScrn"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(300, 102);

    mainTxt = new QLabel(myTxt + QLatin1Char('.'), this);
    mainTxt->setObjectName(QStringLiteral("mainTxt"));
    mainTxt->setTextFormat(Qt::PlainText);
    mainTxt->setGeometry(50, 38, 200, 20);
    mainTxt->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    mainTxt->setAutoFillBackground(true);
    mainTxt->setTextInteractionFlags(Qt::NoTextInteraction);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

QString waitScrn::shownText() const {
    return mainTxt->text();
}

void waitScrn::showNow() {
    show();
    raise();
    // The work that follows blocks the event loop: give the window system a moment to map the box,
    // then paint it at once.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 300 && !(windowHandle() && windowHandle()->isExposed()))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void waitScrn::paintEvent(QPaintEvent*) {
    // Without a title bar the window manager draws no frame: a thin border and a shadowed edge
    // keep the box apart from what lies behind it.
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor(0xB8, 0xB8, 0xB8));
    p.drawLine(2, height() - 2, width() - 2, height() - 2);
    p.drawLine(width() - 2, 2, width() - 2, height() - 2);
}
