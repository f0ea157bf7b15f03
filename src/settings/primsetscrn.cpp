#include "primsetscrn.h"

#include "app/media.h"
#include "controls/newcnvbtn.h"
#include "data/globals.h"
#include "data/strecord.h"
#include "drillsettings.h"
#include "presspicture.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

PrimSetScrn* PrimSetScrn::shared_ = nullptr;

namespace {

constexpr int kClosingDelayMs = 100;

struct OperationButton {
    const char* name; // the picture's project name
    PictureCanvas::Source picture;
    const char* sign; // drawn when the picture is missing
    QColor colour;
};

const OperationButton kButtons[] = {
    {"ZeriBtn", &Pictures::ZeriBtn, "+", QColor(0x2E, 0x9E, 0x3C)},
    {"MinusBtn", &Pictures::MinusBtn, "\u2212", QColor(0xD9, 0x3A, 0x3A)},
    {"TimesBtn", &Pictures::TimesBtn, "\u00D7", QColor(0x2F, 0x6F, 0xD0)},
    {"DivBtn", &Pictures::DivBtn, "\u00F7", QColor(0xE0, 0x8A, 0x00)},
    {"AllBtn", &Pictures::AllBtn, "?", QColor(0x8A, 0x4F, 0xC8)},
};

QFont pixelFont(int size, bool bold = false) {
    QFont f = QGuiApplication::font();
    f.setPixelSize(size);
    f.setBold(bold);
    return f;
}

// A plain rounded square with the operation's sign, so that a missing picture still shows a button.
void drawPlainButton(QPainter& p, const QRect& area, const OperationButton& button) {
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(area).adjusted(1.5, 1.5, -1.5, -1.5), 8, 8);
    p.setPen(QPen(button.colour.darker(140), 1.5));
    p.setBrush(button.colour);
    p.drawPath(path);
    p.setPen(Qt::white);
    p.setFont(pixelFont(30, true));
    p.drawText(area, Qt::AlignCenter, QString::fromUtf8(button.sign));
}

} // namespace

PrimSetScrn* PrimSetScrn::instance() {
    if (!shared_)
        shared_ = new PrimSetScrn();
    return shared_;
}

bool PrimSetScrn::exists() {
    return shared_ != nullptr;
}

PrimSetScrn::PrimSetScrn()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), infoTxt(new QLabel(this)),
      cancelBtn(new newCnvBtn(this)), clickTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("PrimSetScrn"));
    setWindowTitle(QStringLiteral("Easy Settings"));
    setModal(true);
    setFixedSize(310, 267);

    for (int i = 0; i < 5; ++i) {
        const OperationButton& kind = kButtons[i];
        auto* button =
            new PressPicture(QStringLiteral("myBtn"), kind.picture, PictureCanvas::Fit::Stretch, this);
        button->setProperty("index", i);
        button->setProperty("picture", QString::fromLatin1(kind.name));
        button->setGeometry(22 + 54 * i, 10, 48, 48);
        // The buttons are pictures only: the pointer stays an arrow over them.
        button->unsetCursor();
        button->setFallback([i](QPainter& p, const QRect& area) { drawPlainButton(p, area, kButtons[i]); });
        connect(button, &PressPicture::MouseUp, this, [this, i] { myBtn_MouseUp(i); });
        myBtn << button;
    }

    infoTxt->setObjectName(QStringLiteral("infoTxt"));
    infoTxt->setGeometry(30, 93, 250, 80);
    infoTxt->setTextFormat(Qt::PlainText);
    infoTxt->setWordWrap(true);
    infoTxt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    infoTxt->setFont(pixelFont(14));
    infoTxt->setStyleSheet(QStringLiteral("color: #000000;"));

    cancelBtn->setObjectName(QStringLiteral("cancelBtn"));
    cancelBtn->setGeometry(87, 211, 120, 29);
    connect(cancelBtn, &newCnvBtn::Open, this, &PrimSetScrn::cancelBtn_Open);
    connect(cancelBtn, &newCnvBtn::MouseUp, this, &PrimSetScrn::cancelBtn_MouseUp);

    clickTimer->setObjectName(QStringLiteral("clickTimer"));
    clickTimer->setSingleShot(true);
    clickTimer->setInterval(kClosingDelayMs);
    connect(clickTimer, &QTimer::timeout, this, &PrimSetScrn::clickTimer_Action);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    infoTxt_Open();
}

PrimSetScrn::~PrimSetScrn() {
    if (shared_ == this)
        shared_ = nullptr;
}

bool PrimSetScrn::HndlShowMe() {
    exec();
    const bool chosen = doCont;
    // Every opening starts afresh, with doCont false.
    if (shared_ == this)
        shared_ = nullptr;
    deleteLater();
    return chosen;
}

void PrimSetScrn::done(int result) {
    // Closed in any way, the dialog must not close a second time when a pending choice comes due.
    clickTimer->stop();
    QDialog::done(result);
}

void PrimSetScrn::keyPressEvent(QKeyEvent* event) {
    // Only the buttons close this dialog: Return, Enter and Esc do nothing.
    event->accept();
}

void PrimSetScrn::infoTxt_Open() {
    const QString firstName = myGlobals::gCurPlayer ? myGlobals::gCurPlayer->getFirstName() : QString();
    infoTxt->setText(QStringLiteral("Hello ") + firstName + QStringLiteral(", ") + QStringLiteral("\n\n") +
                     QStringLiteral("Click on the kind of math problem you want to practice."));
}

void PrimSetScrn::clickTimer_Action() {
    doCont = true;
    done(QDialog::Accepted);
}

void PrimSetScrn::cancelBtn_Open() {
    cancelBtn->setCaption(QStringLiteral("Go Back"), 4);
}

void PrimSetScrn::cancelBtn_MouseUp() {
    cancelBtn->hndlMouseUp();
    clickTimer->stop();
    doCont = false;
    done(QDialog::Rejected);
}

void PrimSetScrn::myBtn_MouseUp(int index) {
    if (myGlobals::gCurPlayer) {
        QStringList& params = myGlobals::gCurPlayer->myParams;
        DrillSettings::completeList(params);
        params[StRecord::OperationParam] = QString::number(index);
        params[StRecord::NegativesParam] = QStringLiteral("0");
        params[StRecord::NumbersParam] = QStringLiteral("0");
        params[StRecord::SpeechParam] = QStringLiteral("0");
        params[StRecord::HighestParam] = QStringLiteral("10");
        params[StRecord::ProblemsParam] = QStringLiteral("10");
        params[StRecord::UnknownParam] = QStringLiteral("0");
        DrillSettings::keepRandomMixPlayable(params);
        myGlobals::gCurPlayer->updateData();
    }
    // A second choice before the dialog closes counts in full and starts the wait again.
    clickTimer->start();
}
