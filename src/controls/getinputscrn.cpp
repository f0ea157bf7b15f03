#include "getinputscrn.h"

#include "app/media.h"
#include "controls/enterkey.h"
#include "data/globals.h"
#include "newcnvbtn.h"
#include "ovrmsgbox.h"
#include "picturecanvas.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

#include <limits>

namespace {

// The system font's usual size, and the small type of the warning's second line and the box's label.
constexpr int kStandardSize = 13;
constexpr int kSmallSize = 10;

QFont pixelFont(int size) {
    QFont f = QGuiApplication::font();
    f.setPixelSize(size);
    return f;
}

QLabel* label(const QString& name, const QString& text, const QRect& at, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(at);
    l->setTextFormat(Qt::PlainText);
    return l;
}

} // namespace

getInputScrn::getInputScrn(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Information"));
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(390, 226);
    setModal(true);

    auto* icon = new PictureCanvas(QStringLiteral("Canvas1"), &Pictures::newCaution64,
                                   PictureCanvas::Fit::OwnSize, this);
    icon->setFallback([](QPainter& p, const QRect&) { ovrMsgBox::drawPlainIcon(p, true); });
    icon->setGeometry(10, 10, 64, 64);

    promptTxt = label(QStringLiteral("promptTxt"), QString(), QRect(84, 20, 286, 36), this);
    promptTxt->setWordWrap(true);
    promptTxt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    promptTxt->setFont(pixelFont(kStandardSize));
    promptTxt->setStyleSheet(QStringLiteral("color: #4175BD;"));

    theMsgFld = new QLineEdit(this);
    theMsgFld->setObjectName(QStringLiteral("theMsgFld"));
    theMsgFld->setGeometry(125, 77, 140, 22);
    theMsgFld->setEchoMode(QLineEdit::Password);
    theMsgFld->setMaxLength(std::numeric_limits<int>::max());
    theMsgFld->installEventFilter(this);

    sorryWarn = label(QStringLiteral("sorryWarn"), QStringLiteral("Sorry! Password Invalid."),
                      QRect(105, 100, 180, 20), this);
    sorryWarn->setAlignment(Qt::AlignCenter);
    sorryWarn->setFont(pixelFont(kStandardSize));
    sorryWarn->setStyleSheet(QStringLiteral("color: #FF0000;"));
    sorryWarn->hide();

    sorryWarn2 = label(QStringLiteral("sorryWarn2"), QStringLiteral("Check 'Caps Lock'"),
                       QRect(135, 120, 120, 16), this);
    sorryWarn2->setAlignment(Qt::AlignCenter);
    sorryWarn2->setFont(pixelFont(kSmallSize));
    sorryWarn2->setStyleSheet(QStringLiteral("color: #000000;"));
    sorryWarn2->hide();

    setPWBox = new QCheckBox(this);
    setPWBox->setObjectName(QStringLiteral("setPWBox"));
    setPWBox->setGeometry(20, 149, 16, 16);

    Label1 = label(QStringLiteral("Label1"), QStringLiteral("Don't ask again this session"),
                   QRect(43, 148, 152, 20), this);
    Label1->setFont(pixelFont(kSmallSize));
    Label1->setStyleSheet(QStringLiteral("color: #000000;"));

    cancelBtn = new newCnvBtn(this);
    cancelBtn->setObjectName(QStringLiteral("cancelBtn"));
    cancelBtn->setGeometry(112, 177, 120, 29);
    connect(cancelBtn, &newCnvBtn::MouseUp, this, [this] {
        cancelBtn->hndlMouseUp();
        theResult = false;
        reject();
    });

    acceptBtn = new newCnvBtn(this);
    acceptBtn->setObjectName(QStringLiteral("acceptBtn"));
    acceptBtn->setGeometry(250, 177, 120, 29);
    connect(acceptBtn, &newCnvBtn::MouseUp, this, [this] {
        acceptBtn->hndlMouseUp();
        hndlInput();
    });

    setTabOrder(theMsgFld, setPWBox);
}

bool getInputScrn::showMessage(const QString& prompt, const QString& answer, const QString& acceptCaption,
                               const QString& cancelCaption, bool showDontAskBox) {
    promptTxt->setText(prompt);
    myCancelCap = cancelCaption;
    myActionCap = acceptCaption;
    cancelBtn->move(112, cancelBtn->y());
    cancelBtn->setCaption(myCancelCap, 0);
    cancelBtn->update();
    acceptBtn->move(250, acceptBtn->y());
    acceptBtn->setCaption(myActionCap, 1);
    acceptBtn->update();
    rightAnswer = answer;
    theMsgFld->setVisible(true);
    setPWBox->setVisible(showDontAskBox);
    Label1->setVisible(showDontAskBox);
    // The hidden box carries the flag as it was, so an accepted student password leaves it alone.
    setPWBox->setChecked(myGlobals::gNoPWReq);
    theResult = false;
    theMsgFld->setFocus(Qt::OtherFocusReason);
    exec();
    return theResult;
}

void getInputScrn::hndlInput() {
    if (myGlobals::passwordMatches(rightAnswer, theMsgFld->text())) {
        theResult = true;
        myGlobals::gNoPWReq = setPWBox->isChecked();
        accept();
        return;
    }
    sorryWarn->show();
    sorryWarn2->show();
    myGlobals::gNoPWReq = false;
    theResult = false;
}

bool getInputScrn::eventFilter(QObject* watched, QEvent* event) {
    // Return or Enter in the password field checks the entry once, and goes no further.
    if (watched == theMsgFld && event->type() == QEvent::KeyPress &&
        isEnterKey(static_cast<QKeyEvent*>(event))) {
        hndlInput();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void getInputScrn::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event)) {
        hndlInput();
        return;
    }
    QDialog::keyPressEvent(event);
}

void getInputScrn::paintEvent(QPaintEvent*) {
    const QPixmap background = Pictures::cautionBkg4();
    if (background.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), background);
}
