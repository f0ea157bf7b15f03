#include "splashscrn.h"

#include "app/media.h"
#include "data/appversion.h"
#include "signin/namescrn.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

SplashScrn* SplashScrn::shared_ = nullptr;

namespace {

// The start picture, drawn unscaled from its canvas's top-left corner.
class SplashCanvas : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        const QPixmap picture = Pictures::NBQ2007Splash();
        if (!picture.isNull())
            QPainter(this).drawPixmap(0, 0, picture);
    }
};

} // namespace

SplashScrn* SplashScrn::instance() {
    if (!shared_)
        shared_ = new SplashScrn();
    return shared_;
}

bool SplashScrn::exists() {
    return shared_ != nullptr;
}

SplashScrn::SplashScrn()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), Canvas1(new SplashCanvas(this)),
      versTxt(new QLabel(this)), openTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("SplashScrn"));
    setWindowTitle(QStringLiteral("Splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(800, 600);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    // The picture and the label take no clicks: a click anywhere hands over.
    Canvas1->setObjectName(QStringLiteral("Canvas1"));
    Canvas1->setGeometry(80, 1, 640, 480);
    Canvas1->setAttribute(Qt::WA_TransparentForMouseEvents);

    versTxt->setObjectName(QStringLiteral("versTxt"));
    versTxt->setGeometry(80, 490, 640, 20);
    versTxt->setAlignment(Qt::AlignCenter);
    // Sized in pixels like every other text of the program, so the line fits its 20 pixels on any
    // screen resolution.
    QFont font = versTxt->font();
    font.setPixelSize(18);
    versTxt->setFont(font);
    versTxt->setStyleSheet(QStringLiteral("color: white;"));
    versTxt->setAttribute(Qt::WA_TransparentForMouseEvents);
    versTxt->setText(App::LongVersion());

    openTimer->setObjectName(QStringLiteral("openTimer"));
    openTimer->setSingleShot(true);
    openTimer->setInterval(5000);
    connect(openTimer, &QTimer::timeout, this, &SplashScrn::hndlStart);
    openTimer->start();

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

SplashScrn::~SplashScrn() {
    if (shared_ == this)
        shared_ = nullptr;
}

void SplashScrn::openStepFinished() {
    openStepDone_ = true;
    if (handOverAsked_)
        hndlStart();
}

void SplashScrn::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void SplashScrn::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    hndlStart();
}

void SplashScrn::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Qt::black);
}

void SplashScrn::hndlStart() {
    if (handedOver_)
        return;
    if (!openStepDone_) {
        handOverAsked_ = true; // the open step calls back when the database is there
        return;
    }
    handedOver_ = true;
    openTimer->stop();
    close(); // deletes the window and releases the shared instance
    NameScrn::instance()->show();
}
