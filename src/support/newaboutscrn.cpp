#include "newaboutscrn.h"

#include "app/media.h"
#include "controls/enterkey.h"
#include "controls/newcnvbtn.h"
#include "controls/picturecanvas.h"
#include "controls/staticurl.h"
#include "data/appversion.h"
#include "data/globals.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

void setWhite(QWidget* w, QPalette::ColorRole role) {
    QPalette pal = w->palette();
    pal.setColor(role, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    w->setPalette(pal);
}

} // namespace

newAboutScrn* newAboutScrn::shared_ = nullptr;

QString newAboutScrn::webAddress() {
    return QStringLiteral("http://www.orlavo.com");
}

QString newAboutScrn::creditsText() {
    const QString end = QStringLiteral("\n");
    return QStringLiteral("Orlavo Software") + end +
           QStringLiteral("Software that makes practising arithmetic facts a game.") + end +
           QStringLiteral("Error reporting: the Numbrook Riza team") + end;
}

newAboutScrn* newAboutScrn::instance() {
    if (!shared_)
        shared_ = new newAboutScrn();
    return shared_;
}

bool newAboutScrn::exists() {
    return shared_ != nullptr;
}

newAboutScrn::newAboutScrn()
    : QDialog(nullptr,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("newAboutScrn"));
    setWindowTitle(QStringLiteral("About Numbrook Riza"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    setWhite(this, QPalette::Window);
    setFocusPolicy(Qt::StrongFocus);

    // A missing logo file leaves the area empty.
    Canvas1 = new PictureCanvas(
        QStringLiteral("Canvas1"), [] { return Pictures::OVRInfo(); }, PictureCanvas::Fit::OwnSize, this);
    Canvas1->setGeometry(20, 10, 337, 106);
    Canvas1->setFocusPolicy(Qt::NoFocus);

    myURLFld = new StaticURL(Canvas1);
    myURLFld->setObjectName(QStringLiteral("myURLFld"));
    myURLFld->setGeometry(93 - 20, 89 - 10, 250, 20);
    myURLFld->setAlignment(Qt::AlignCenter);
    myURLFld->setToolTip(QStringLiteral("Launch your internet connection, then click here."));
    myURLFld->setText(webAddress());
    myURLFld->URL = webAddress();

    versTxt = new QLabel(App::LongVersion() + QStringLiteral(" for Linux"), this);
    versTxt->setObjectName(QStringLiteral("versTxt"));
    versTxt->setGeometry(93, 124, 264, 20);
    versTxt->setAlignment(Qt::AlignCenter);
    versTxt->setTextFormat(Qt::PlainText);
    QFont italic = versTxt->font();
    italic.setItalic(true);
    versTxt->setFont(italic);

    StaticText1 = new QLabel(QStringLiteral("Thanks to:"), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setGeometry(20, 296, 84, 20);

    displayFld = new QPlainTextEdit(this);
    displayFld->setObjectName(QStringLiteral("displayFld"));
    displayFld->setGeometry(24, 317, 492, 70);
    displayFld->setReadOnly(true);
    displayFld->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    displayFld->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    displayFld->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWhite(displayFld, QPalette::Base);
    displayFld->setPlainText(creditsText());
    displayFld->installEventFilter(this);

    buildFld = new QLineEdit(QStringLiteral("Build: #") + QString::number(App::NonReleaseVersion()), this);
    buildFld->setObjectName(QStringLiteral("buildFld"));
    buildFld->setGeometry(421, 391, 80, 16);
    buildFld->setFrame(false);
    buildFld->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setWhite(buildFld, QPalette::Base);

    contBtn = new newCnvBtn(this);
    contBtn->setObjectName(QStringLiteral("contBtn"));
    contBtn->setGeometry(396, 420, 120, 29);
    contBtn->setCaption(QStringLiteral("Continue"), 1);
    connect(contBtn, &newCnvBtn::MouseUp, this, [this] {
        contBtn->hndlMouseUp();
        hndlContBtn();
    });
}

newAboutScrn::~newAboutScrn() {
    if (shared_ == this)
        shared_ = nullptr;
}

void newAboutScrn::hndlContBtn() {
    close();
}

void newAboutScrn::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The box itself holds the focus, so that Return closes it at once.
    setFocus(Qt::OtherFocusReason);
}

void newAboutScrn::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event)) {
        event->accept();
        hndlContBtn();
        return;
    }
    // Escape is no way out here: the box is left by Continue, Return, Enter or its close box.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool newAboutScrn::eventFilter(QObject* watched, QEvent* event) {
    if (watched == displayFld && event->type() == QEvent::KeyPress &&
        isEnterKey(static_cast<QKeyEvent*>(event))) {
        hndlContBtn();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
