#include "setrndfuncscrn.h"

#include "controls/enterkey.h"
#include "controls/newcnvbtn.h"
#include "data/globals.h"
#include "data/seams.h"
#include "data/strecord.h"
#include "drillsettings.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

SetRndFuncScrn* SetRndFuncScrn::shared_ = nullptr;

namespace {

QFont pixelFont(int size) {
    QFont f = QGuiApplication::font();
    f.setPixelSize(size);
    return f;
}

const char* const kOperationCaptions[] = {"Addition", "Subtraction", "Multiplication", "Division"};

} // namespace

SetRndFuncScrn* SetRndFuncScrn::instance() {
    if (!shared_)
        shared_ = new SetRndFuncScrn();
    return shared_;
}

bool SetRndFuncScrn::exists() {
    return shared_ != nullptr;
}

SetRndFuncScrn::SetRndFuncScrn()
    : QDialog(nullptr,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint),
      StaticText1(new QLabel(this)), cancelBtn(new newCnvBtn(this)), saveBtn(new newCnvBtn(this)) {
    setObjectName(QStringLiteral("SetRndFuncScrn"));
    setWindowTitle(QStringLiteral("Select Functions"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setFixedSize(300, 280);

    // The refusal takes three lines at this width, so the label has room for them above the boxes.
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setGeometry(33, 14, 235, 56);
    StaticText1->setTextFormat(Qt::PlainText);
    StaticText1->setWordWrap(true);
    StaticText1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    StaticText1->setFont(pixelFont(12));
    StaticText1->setStyleSheet(QStringLiteral("color: #FF0214;"));
    StaticText1->setText(QStringLiteral("Only CHECKED functions will be used."));

    for (int i = 0; i < 4; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(kOperationCaptions[i]), this);
        box->setObjectName(QStringLiteral("allowFuncBtn"));
        box->setProperty("index", i);
        box->setGeometry(90, 76 + 40 * i, 120, 20);
        box->setFont(pixelFont(12));
        allowFuncBtn << box;
    }

    cancelBtn->setObjectName(QStringLiteral("cancelBtn"));
    cancelBtn->setGeometry(20, 240, 120, 29);
    connect(cancelBtn, &newCnvBtn::Open, this, &SetRndFuncScrn::cancelBtn_Open);
    connect(cancelBtn, &newCnvBtn::MouseUp, this, &SetRndFuncScrn::cancelBtn_MouseUp);

    saveBtn->setObjectName(QStringLiteral("saveBtn"));
    saveBtn->setGeometry(160, 240, 120, 29);
    connect(saveBtn, &newCnvBtn::Open, this, &SetRndFuncScrn::saveBtn_Open);
    connect(saveBtn, &newCnvBtn::MouseUp, this, &SetRndFuncScrn::saveBtn_MouseUp);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setBtns();
}

SetRndFuncScrn::~SetRndFuncScrn() {
    if (shared_ == this)
        shared_ = nullptr;
}

void SetRndFuncScrn::saveBtn_Open() {
    saveBtn->setCaption(QStringLiteral("Save"), 1);
}

void SetRndFuncScrn::saveBtn_MouseUp() {
    saveBtn->hndlMouseUp();
    if (setVals())
        accept();
}

void SetRndFuncScrn::cancelBtn_Open() {
    cancelBtn->setCaption(QStringLiteral("Cancel"), 0);
}

void SetRndFuncScrn::cancelBtn_MouseUp() {
    cancelBtn->hndlMouseUp();
    reject();
}

void SetRndFuncScrn::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event)) {
        event->accept();
        if (setVals())
            accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    event->ignore();
}

void SetRndFuncScrn::setBtns() {
    if (!myGlobals::gCurPlayer)
        return;
    const QStringList parts =
        myGlobals::gCurPlayer->myParams.value(StRecord::AllowedOpsParam).split(QLatin1Char('^'));
    // Only a part that is exactly "1" checks its box; the preset never unchecks one.
    for (int i = 0; i < allowFuncBtn.size(); ++i) {
        if (parts.value(i) == QLatin1String("1"))
            allowFuncBtn[i]->setChecked(true);
    }
}

bool SetRndFuncScrn::setVals() {
    QStringList flags;
    int checked = 0;
    for (QCheckBox* box : allowFuncBtn) {
        flags << (box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        checked += box->isChecked() ? 1 : 0;
    }
    if (checked < 2) {
        StaticText1->setText(QStringLiteral("You must select as least 2 functions. Otherwise, ") +
                             QStringLiteral("no need to use random."));
        Seams::feedback().beep();
        return false;
    }
    if (myGlobals::gCurPlayer) {
        QStringList& params = myGlobals::gCurPlayer->myParams;
        DrillSettings::completeList(params);
        params[StRecord::AllowedOpsParam] = flags.join(QLatin1Char('^'));
    }
    return true;
}
