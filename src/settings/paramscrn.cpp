#include "paramscrn.h"

#include "app/helplink.h"
#include "app/media.h"
#include "app/menus.h"
#include "controls/enterkey.h"
#include "controls/newcnvbtn.h"
#include "controls/ovrcheckbox.h"
#include "data/globals.h"
#include "data/seams.h"
#include "data/strecord.h"
#include "drillsettings.h"
#include "numbercombo.h"
#include "presspicture.h"
#include "primsetscrn.h"
#include "progress/newdatascrn.h"
#include "round/gamescrn.h"
#include "setrndfuncscrn.h"
#include "signin/namescrn.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

ParamScrn* ParamScrn::shared_ = nullptr;

namespace {

constexpr int kSettleMs = 200;
constexpr int kRandomMix = 4;
constexpr int kLowestHighest = 4;
constexpr int kHighestHighest = 19;
constexpr int kDefaultHighest = 10;
constexpr int kFewestProblems = 4;
constexpr int kMostProblems = 20;
const char* const kDefaultProblems = "10";
const char* const kCaptionBlue = "color: #4175BD;";

// Seconds per problem by timer button: 3, 5, 10, 15 seconds and off.
const char* const kSeconds[] = {"3", "5", "10", "15", "0"};

QFont pixelFont(int size) {
    QFont f = QGuiApplication::font();
    f.setPixelSize(size);
    return f;
}

// Layout positions are counted from the window's top-left corner, also for the controls inside a
// group box.
QRect inside(const QWidget* box, const QRect& inWindow) {
    return box ? inWindow.translated(-box->pos()) : inWindow;
}

QLabel* label(const QString& name, const QString& text, QWidget* parent, const QRect& at, int pixels,
              Qt::Alignment alignment) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(inside(qobject_cast<QGroupBox*>(parent), at));
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(alignment | Qt::AlignVCenter);
    if (pixels > 0)
        l->setFont(pixelFont(pixels));
    return l;
}

QGroupBox* groupBox(const QString& name, const QString& title, QWidget* parent, const QRect& at) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(name);
    box->setGeometry(at);
    box->setFont(pixelFont(12));
    return box;
}

// What shows when the easy-start picture is missing: a plain rounded button with its caption.
void drawPlainEasyStart(QPainter& p, const QRect& area) {
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(area).adjusted(1.5, 1.5, -1.5, -1.5), 12, 12);
    p.setPen(QPen(QColor(0x1F, 0x5F, 0xB0), 1.5));
    p.setBrush(QColor(0x3A, 0x86, 0xE0));
    p.drawPath(path);
    QFont f = pixelFont(20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(area, Qt::AlignCenter, QStringLiteral("Easy Start"));
}

bool inRange(int value, int lowest, int highest) {
    return value >= lowest && value <= highest;
}

} // namespace

ParamScrn* ParamScrn::instance() {
    if (!shared_)
        shared_ = new ParamScrn();
    return shared_;
}

bool ParamScrn::exists() {
    return shared_ != nullptr;
}

ParamScrn::ParamScrn()
    : QMainWindow(nullptr,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint) {
    setObjectName(QStringLiteral("ParamScrn"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* bar = new MenuBar1(this);
    bar->attachTo(this);
    bar->bindHandlers(this);
    HelpLink::bindHelpItem(bar, this, 1);

    setWindowTitle(QStringLiteral("Settings for"));
    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("content"));
    content->setFixedSize(740, 600);
    setCentralWidget(content);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Every index the window reads or writes must exist, whatever was stored.
    if (myGlobals::gCurPlayer)
        DrillSettings::completeList(myGlobals::gCurPlayer->myParams);

    buildControls();

    BotNumFld_Open();
    FactFam_Open();
    HiNumFld_Open();
    totProbsFld_Open();

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(370, 300));

    setBtns();
}

ParamScrn::~ParamScrn() {
    if (shared_ == this)
        shared_ = nullptr;
    // The controls go after this body has run; none of their last signals may reach the window.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

QRadioButton* ParamScrn::radio(QButtonGroup* group, QList<QRadioButton*>& array, const QString& name,
                               int index, const QString& caption, QWidget* box, const QRect& at) {
    auto* button = new QRadioButton(caption, box);
    button->setObjectName(name);
    button->setProperty("index", index);
    button->setGeometry(inside(box, at));
    button->setFont(pixelFont(12));
    group->addButton(button, index);
    array << button;
    return button;
}

void ParamScrn::buildControls() {
    QWidget* content = centralWidget();
    const auto chosen = [this](QButtonGroup* group, void (ParamScrn::*rule)(int)) {
        connect(group, &QButtonGroup::idToggled, this, [this, rule](int id, bool checked) {
            if (checked)
                (this->*rule)(id);
        });
    };

    FuncBox = groupBox(QStringLiteral("FuncBox"), QStringLiteral("Functions:"), content, {20, 108, 200, 173});
    FNaddGroup = new QButtonGroup(this);
    const QString functions[] = {QStringLiteral("Addition"), QStringLiteral("Subtraction"),
                                 QStringLiteral("Multiplication"), QStringLiteral("Division"),
                                 QStringLiteral("Random")};
    const int functionWidths[] = {80, 95, 111, 80, 84};
    for (int i = 0; i < 5; ++i)
        radio(FNaddGroup, FNadd, QStringLiteral("FNadd"), i, functions[i], FuncBox,
              {32, 128 + 30 * i, functionWidths[i], 20});
    chosen(FNaddGroup, &ParamScrn::FNadd_Action);

    selFuncBtn = new QPushButton(QStringLiteral("Select..."), FuncBox);
    selFuncBtn->setObjectName(QStringLiteral("selFuncBtn"));
    selFuncBtn->setGeometry(inside(FuncBox, {118, 248, 79, 20}));
    selFuncBtn->setFont(pixelFont(10));
    selFuncBtn->setAutoDefault(false);
    selFuncBtn->setDefault(false);
    selFuncBtn->setEnabled(false);
    connect(selFuncBtn, &QPushButton::clicked, this, &ParamScrn::selFuncBtn_Action);

    TimeBox = groupBox(QStringLiteral("TimeBox"), QStringLiteral("Timer:"), content, {20, 294, 200, 173});
    TimeGroup = new QButtonGroup(this);
    const QString times[] = {QStringLiteral("3 seconds"), QStringLiteral("5 seconds"),
                             QStringLiteral("10 seconds"), QStringLiteral("15 seconds"),
                             QStringLiteral("Timer Off")};
    const int timeWidths[] = {80, 80, 89, 89, 80};
    for (int i = 0; i < 5; ++i)
        radio(TimeGroup, TimeBtn, QStringLiteral("TimeBtn"), i, times[i], TimeBox,
              {32, 313 + 30 * i, timeWidths[i], 20});
    chosen(TimeGroup, &ParamScrn::TimeBtn_Action);

    NegBox =
        groupBox(QStringLiteral("NegBox"), QStringLiteral("Negative Numbers"), content, {270, 108, 200, 80});
    NegGroup = new QButtonGroup(this);
    radio(NegGroup, NegBtn, QStringLiteral("NegBtn"), 0, QStringLiteral("No Negative Numbers"), NegBox,
          {281, 128, 170, 20});
    radio(NegGroup, NegBtn, QStringLiteral("NegBtn"), 1, QStringLiteral("Allow Negative Numbers"), NegBox,
          {281, 158, 176, 20});
    chosen(NegGroup, &ParamScrn::NegBtn_Action);

    DisplayBox = groupBox(QStringLiteral("DisplayBox"), QStringLiteral("Problems to be displayed:"), content,
                          {270, 201, 200, 80});
    DisplayGroup = new QButtonGroup(this);
    radio(DisplayGroup, DisplayBtn, QStringLiteral("DisplayBtn"), 0, QStringLiteral("Vertically"), DisplayBox,
          {281, 223, 100, 20})
        ->setToolTip(QStringLiteral("Uses animated viewing but requires solve for: 2 + 2 = x"));
    radio(DisplayGroup, DisplayBtn, QStringLiteral("DisplayBtn"), 1, QStringLiteral("Horizontally"),
          DisplayBox, {281, 253, 100, 20});
    chosen(DisplayGroup, &ParamScrn::DisplayBtn_Action);

    SolveBox = groupBox(QStringLiteral("SolveBox"), QStringLiteral("Solve For ...(x):"), content,
                        {270, 294, 200, 80});
    SolveGroup = new QButtonGroup(this);
    radio(SolveGroup, SolveBtn, QStringLiteral("SolveBtn"), 0, QStringLiteral("2 + 2 = x"), SolveBox,
          {281, 313, 100, 20});
    radio(SolveGroup, SolveBtn, QStringLiteral("SolveBtn"), 1, QStringLiteral("x + 2 = 4"), SolveBox,
          {281, 343, 100, 20})
        ->setEnabled(false);
    chosen(SolveGroup, &ParamScrn::SolveBtn_Action);

    NumBox = groupBox(QStringLiteral("NumBox"), QStringLiteral("Numbers:"), content, {520, 108, 200, 260});
    NumGroup = new QButtonGroup(this);
    radio(NumGroup, NumBtn, QStringLiteral("NumBtn"), 0, QStringLiteral("2 Random Numbers"), NumBox,
          {530, 128, 147, 20});
    radio(NumGroup, NumBtn, QStringLiteral("NumBtn"), 1, QStringLiteral("Fixed Lower Number"), NumBox,
          {530, 158, 147, 20});
    StatText2 = label(QStringLiteral("StatText2"), QStringLiteral("Highest Number Allowed:"), NumBox,
                      {520, 293, 168, 20}, 12, Qt::AlignHCenter);
    BotNumFld = new NumberCombo(QStringLiteral("BotNumFld"), NumBox);
    BotNumFld->setGeometry(inside(NumBox, {576, 184, 60, 22}));
    BotNumFld->setFont(pixelFont(12));
    connect(BotNumFld, &QComboBox::editTextChanged, this, &ParamScrn::BotNumFld_TextChanged);
    radio(NumGroup, NumBtn, QStringLiteral("NumBtn"), 2, QStringLiteral("Fact Families"), NumBox,
          {530, 218, 147, 20});
    for (int i = 0; i < 2; ++i) {
        auto* family = new NumberCombo(QStringLiteral("FactFam"), NumBox);
        family->setProperty("index", i);
        family->setGeometry(inside(NumBox, {i == 0 ? 530 : 617, 244, 60, 20}));
        FactFam << family;
    }
    StaticText4 = label(QStringLiteral("StaticText4"), QStringLiteral("&"), NumBox, {593, 244, 20, 20}, 0,
                        Qt::AlignHCenter);
    HiNumFld = new NumberCombo(QStringLiteral("HiNumFld"), NumBox);
    HiNumFld->setGeometry(inside(NumBox, {566, 324, 80, 22}));
    HiNumFld->setFont(pixelFont(12));
    connect(HiNumFld, &NumberCombo::entryPicked, this, &ParamScrn::HiNumFld_Change);
    connect(HiNumFld, &NumberCombo::lostFocus, this, &ParamScrn::HiNumFld_LostFocus);
    chosen(NumGroup, &ParamScrn::NumBtn_Action);

    StaticText1 = label(QStringLiteral("StaticText1"), QStringLiteral("Total problems per round:"), content,
                        {520, 417, 183, 20}, 12, Qt::AlignLeft);
    StaticText1->setStyleSheet(QString::fromLatin1(kCaptionBlue));
    totProbsFld = new NumberCombo(QStringLiteral("totProbsFld"), content);
    totProbsFld->setGeometry(572, 446, 80, 22);
    totProbsFld->setFont(pixelFont(12));

    StaticText2 = label(QStringLiteral("StaticText2"), QStringLiteral("Current Player:"), content,
                        {12, 50, 166, 20}, 12, Qt::AlignHCenter);
    StaticText2->setStyleSheet(QString::fromLatin1(kCaptionBlue));
    PlNameFld = label(QStringLiteral("PlNameFld"), QStringLiteral("Name"), content, {182, 50, 400, 20}, 14,
                      Qt::AlignLeft);
    StaticText3 = label(QStringLiteral("StaticText3"), QStringLiteral("Last Visit:"), content,
                        {12, 76, 166, 20}, 0, Qt::AlignHCenter);
    StaticText3->setStyleSheet(QString::fromLatin1(kCaptionBlue));
    PlDateFld = label(QStringLiteral("PlDateFld"), QStringLiteral("Date"), content, {182, 76, 400, 20}, 14,
                      Qt::AlignLeft);

    setTimer = new QTimer(this);
    setTimer->setObjectName(QStringLiteral("setTimer"));
    setTimer->setSingleShot(true);
    setTimer->setInterval(kSettleMs);
    connect(setTimer, &QTimer::timeout, this, &ParamScrn::setTimer_Action);
    setTimer->start();

    progScrnBtn = new newCnvBtn(content);
    progScrnBtn->setObjectName(QStringLiteral("progScrnBtn"));
    progScrnBtn->setGeometry(20, 518, 148, 36);
    connect(progScrnBtn, &newCnvBtn::Open, this, &ParamScrn::progScrnBtn_Open);
    connect(progScrnBtn, &newCnvBtn::MouseUp, this, &ParamScrn::progScrnBtn_MouseUp);

    cancelBtn = new newCnvBtn(content);
    cancelBtn->setObjectName(QStringLiteral("cancelBtn"));
    cancelBtn->setGeometry(440, 518, 120, 36);
    connect(cancelBtn, &newCnvBtn::Open, this, &ParamScrn::cancelBtn_Open);
    connect(cancelBtn, &newCnvBtn::MouseUp, this, &ParamScrn::cancelBtn_MouseUp);

    contBtn = new newCnvBtn(content);
    contBtn->setObjectName(QStringLiteral("contBtn"));
    contBtn->setGeometry(600, 518, 120, 36);
    connect(contBtn, &newCnvBtn::Open, this, &ParamScrn::contBtn_Open);
    connect(contBtn, &newCnvBtn::MouseUp, this, &ParamScrn::contBtn_MouseUp);

    speakBtn = new ovrCheckBox(content);
    speakBtn->setObjectName(QStringLiteral("speakBtn"));
    speakBtn->setGeometry(270, 446, 200, 24);
    speakBtn->setFocusPolicy(Qt::NoFocus);
    connect(speakBtn, &ovrCheckBox::Open, this, &ParamScrn::speakBtn_Open);
    connect(speakBtn, &ovrCheckBox::MouseUp, this, &ParamScrn::speakBtn_MouseUp);

    Label1 = label(QStringLiteral("Label1"), QStringLiteral("Esc"), content, {450, 556, 100, 16}, 10,
                   Qt::AlignHCenter);
    Label1->setAutoFillBackground(true);
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("Enter"), content, {610, 556, 100, 16}, 10,
                   Qt::AlignHCenter);
    Label2->setAutoFillBackground(true);

    easyStartCnv = new PressPicture(QStringLiteral("easyStartCnv"), &Pictures::easyStartBtn,
                                    PictureCanvas::Fit::OwnSize, content);
    easyStartCnv->setFallback(drawPlainEasyStart);
    easyStartCnv->setGeometry(282, 388, 175, 48);
    connect(easyStartCnv, &PressPicture::MouseUp, this, &ParamScrn::easyStartCnv_MouseUp);
}

// ---- Reading and writing the settings list ----

int ParamScrn::getVal(int index) const {
    return myGlobals::conv2Int(index);
}

void ParamScrn::setField(int index, const QString& value) {
    if (!myGlobals::gCurPlayer)
        return;
    QStringList& params = myGlobals::gCurPlayer->myParams;
    DrillSettings::completeList(params);
    if (index >= 0 && index < params.size())
        params[index] = value;
}

// The highest number the lists are filled up to: a stored number outside 4..19 fills them as the
// default does, so that no damaged value can ask for a list of any length.
int ParamScrn::highestForLists() const {
    const int highest = getVal(StRecord::HighestParam);
    return inRange(highest, kLowestHighest, kHighestHighest) ? highest : kDefaultHighest;
}

void ParamScrn::setBtns() {
    if (!myGlobals::gCurPlayer)
        return;
    const StRecord& player = *myGlobals::gCurPlayer;
    const QStringList& params = player.myParams;

    // A stored value that no button stands for shows the default, so one button of every group is
    // always selected and the rules write a valid value back.
    const int operation = getVal(StRecord::OperationParam);
    FNadd[inRange(operation, 0, kRandomMix) ? operation : 0]->setChecked(true);
    if (operation == kRandomMix)
        selFuncBtn->setEnabled(true);

    const QString seconds = params.value(StRecord::SecondsParam);
    int timeIndex = 4;
    for (int i = 0; i < 4; ++i) {
        if (seconds == QLatin1String(kSeconds[i]))
            timeIndex = i;
    }
    TimeBtn[timeIndex]->setChecked(true);

    const int negatives = getVal(StRecord::NegativesParam);
    NegBtn[inRange(negatives, 0, 1) ? negatives : 0]->setChecked(true);
    const int horizontal = getVal(StRecord::HorizontalParam);
    DisplayBtn[inRange(horizontal, 0, 1) ? horizontal : 0]->setChecked(true);

    const int unknown = myGlobals::limitValueRange(getVal(StRecord::UnknownParam), 0, 1);
    SolveBtn[unknown]->setChecked(true);

    // Speech goes only with "2 + 2 = x".
    if (unknown == 0 && getVal(StRecord::SpeechParam) == 1) {
        speakBtn->setValue(true);
    } else {
        speakBtn->setValue(false);
        setField(StRecord::SpeechParam, QStringLiteral("0"));
    }
    speakBtn->update();

    const QString numbers = params.value(StRecord::NumbersParam);
    const QStringList family = numbers.split(QLatin1Char('/'));
    if (getVal(StRecord::NumbersParam) == 0) {
        NumBtn[0]->setChecked(true);
    } else if (family.size() >= 2) {
        NumBtn[2]->setChecked(true);
        FactFam[0]->setEditText(family[0]);
        FactFam[1]->setEditText(family[1]);
    } else {
        NumBtn[1]->setChecked(true);
        BotNumFld->setEditText(numbers);
    }

    const QString highest = params.value(StRecord::HighestParam);
    HiNumFld->setEditText(inRange(getVal(StRecord::HighestParam), kLowestHighest, kHighestHighest)
                              ? highest
                              : QString::number(kDefaultHighest));
    const QString problems = params.value(StRecord::ProblemsParam);
    totProbsFld->setEditText(inRange(getVal(StRecord::ProblemsParam), kFewestProblems, kMostProblems)
                                 ? problems
                                 : QString::fromLatin1(kDefaultProblems));

    PlNameFld->setText(player.curStudent);
    PlDateFld->setText(player.curLastDate);
}

bool ParamScrn::setVals() {
    if (!myGlobals::gCurPlayer)
        return false;
    const auto refuse = [](const QString& message) {
        Seams::dialogs().plainMessage(message);
        return false;
    };

    for (int i = 0; i < FNadd.size(); ++i) {
        if (FNadd[i]->isChecked()) {
            setField(StRecord::OperationParam, QString::number(i));
            break;
        }
    }
    DrillSettings::keepRandomMixPlayable(myGlobals::gCurPlayer->myParams);

    setField(StRecord::SpeechParam, speakBtn->value() ? QStringLiteral("1") : QStringLiteral("0"));
    setField(StRecord::HighestParam,
             myGlobals::limitEntry(HiNumFld->currentText(), kHighestHighest, kLowestHighest));
    setField(StRecord::ProblemsParam,
             myGlobals::limitEntry(totProbsFld->currentText(), kMostProblems, kFewestProblems));

    const int highest = getVal(StRecord::HighestParam);
    if (NumBtn[0]->isChecked()) {
        setField(StRecord::NumbersParam, QStringLiteral("0"));
    } else if (NumBtn[1]->isChecked()) {
        const QString lower = BotNumFld->currentText();
        if (lower.isEmpty())
            return refuse(QStringLiteral("Please set a fixed number."));
        setField(StRecord::NumbersParam, myGlobals::limitEntry(lower, highest, 1));
    } else {
        const QString first = FactFam[0]->currentText();
        const QString second = FactFam[1]->currentText();
        if (first.isEmpty() || second.isEmpty())
            return refuse(QStringLiteral("Please set both numbers of the fact family."));
        if (first == second)
            return refuse(QStringLiteral("The fact family numbers must be different."));
        const QString a = myGlobals::limitEntry(first, highest, 1);
        const QString b = myGlobals::limitEntry(second, highest, 1);
        if (a == b) {
            FactFam[0]->setEditText(a);
            FactFam[1]->setEditText(b);
            return refuse(QStringLiteral("Please recheck the Fact Family numbers."));
        }
        setField(StRecord::NumbersParam, a + QLatin1Char('/') + b);
    }

    if (NumBtn[1]->isChecked() && getVal(StRecord::UnknownParam) > 0) {
        setField(StRecord::UnknownParam, QStringLiteral("0"));
        SolveBtn[0]->setChecked(true);
        Seams::feedback().beep();
        return refuse(QStringLiteral("You must solve for 2+2 = x with a fixed lower number."));
    }
    return true;
}

void ParamScrn::updateFactFamPopup() {
    // The texts stay: a student who picks another highest number keeps the family typed so far, and
    // storing clamps it to the new highest number.
    const int highest = highestForLists();
    for (NumberCombo* family : FactFam)
        family->fillRange(2, highest);
}

// ---- The live rules ----

void ParamScrn::FNadd_Action(int index) {
    selFuncBtn->setEnabled(index == kRandomMix);
}

void ParamScrn::selFuncBtn_Action() {
    SetRndFuncScrn::instance()->exec();
}

void ParamScrn::TimeBtn_Action(int index) {
    setField(StRecord::SecondsParam, QString::fromLatin1(kSeconds[index]));
}

void ParamScrn::NegBtn_Action(int index) {
    setField(StRecord::NegativesParam, QString::number(index));
}

void ParamScrn::DisplayBtn_Action(int index) {
    setField(StRecord::HorizontalParam, QString::number(index));
    if (index == 0) {
        // Vertical problems are animated and need the result as the unknown.
        SolveBtn[0]->setChecked(true);
        SolveBtn[1]->setEnabled(false);
    } else {
        SolveBtn[1]->setEnabled(true);
    }
}

void ParamScrn::SolveBtn_Action(int index) {
    if (!allowSet)
        return;
    setField(StRecord::UnknownParam, QString::number(index));
    speakBtn->setVisible(index == 0);
    speakBtn->setValue(false);
    speakBtn->update();
    setField(StRecord::SpeechParam, QStringLiteral("0"));
}

void ParamScrn::NumBtn_Action(int index) {
    if (index == 1 && BotNumFld->currentText().isEmpty())
        BotNumFld->setEditText(QStringLiteral("2"));
}

void ParamScrn::BotNumFld_Open() {
    BotNumFld->fillRange(1, highestForLists());
}

void ParamScrn::BotNumFld_TextChanged() {
    if (!allowSet)
        return;
    NumBtn[1]->setChecked(true);
}

void ParamScrn::FactFam_Open() {
    updateFactFamPopup();
}

void ParamScrn::HiNumFld_Open() {
    HiNumFld->fillRange(kLowestHighest, kHighestHighest);
}

void ParamScrn::HiNumFld_LostFocus() {
    setField(StRecord::HighestParam,
             myGlobals::limitEntry(HiNumFld->currentText(), kHighestHighest, kLowestHighest));
}

void ParamScrn::HiNumFld_Change() {
    if (!allowSet)
        return;
    const QString picked = HiNumFld->currentText();
    if (myGlobals::textToInt(picked) != getVal(StRecord::HighestParam)) {
        // Clamped all the same: whatever the box holds never goes into the list unchecked.
        setField(StRecord::HighestParam, myGlobals::limitEntry(picked, kHighestHighest, kLowestHighest));
        const int highest = getVal(StRecord::HighestParam);
        const QString lower = BotNumFld->currentText();
        BotNumFld->fillRange(2, highest);
        // The refill keeps the text without a word to the rules, so no numbers choice is made; a
        // lower number that no longer fits is dropped.
        if (myGlobals::textToInt(lower) > highest)
            BotNumFld->setTextQuietly(QString());
    }
    updateFactFamPopup();
}

void ParamScrn::totProbsFld_Open() {
    totProbsFld->fillRange(kFewestProblems, kMostProblems, 2);
}

void ParamScrn::speakBtn_Open() {
    speakBtn->setMyText(QStringLiteral("Speak the problems"));
    speakBtn->groupTotal = 0;
    speakBtn->update();
}

void ParamScrn::speakBtn_MouseUp() {
    if (!allowSet)
        return;
    // Spoken problems need time to be heard.
    if (speakBtn->value() && (TimeBtn[0]->isChecked() || TimeBtn[1]->isChecked()))
        TimeBtn[2]->setChecked(true);
}

void ParamScrn::setTimer_Action() {
    allowSet = true;
}

// ---- Buttons, keys, menu and the exits ----

void ParamScrn::progScrnBtn_Open() {
    progScrnBtn->setCaption(QStringLiteral("See My Progress..."), 3);
}

void ParamScrn::progScrnBtn_MouseUp() {
    progScrnBtn->hndlMouseUp();
    if (!setVals())
        return;
    myGlobals::gCurPlayer->updateData();
    newDataScrn::instance()->show();
    leave();
}

void ParamScrn::cancelBtn_Open() {
    cancelBtn->setCaption(QStringLiteral("Go Back"), 4);
}

void ParamScrn::cancelBtn_MouseUp() {
    cancelBtn->hndlMouseUp();
    goBack();
}

void ParamScrn::contBtn_Open() {
    contBtn->setCaption(QStringLiteral("Go To Game"), 1);
}

void ParamScrn::contBtn_MouseUp() {
    contBtn->hndlMouseUp();
    goToGame();
}

void ParamScrn::easyStartCnv_MouseUp() {
    if (!PrimSetScrn::instance()->HndlShowMe())
        return;
    // The dialog stored and saved its set-up; what the boxes here hold unstored is not taken over.
    leave();
    GameScrn::instance()->show();
}

void ParamScrn::goToGame() {
    if (!setVals())
        return;
    myGlobals::gCurPlayer->updateData();
    leave();
    GameScrn::instance()->show();
}

void ParamScrn::goBack() {
    leave();
    NameScrn::instance()->show();
}

void ParamScrn::FileClose() {
    goBack();
}

void ParamScrn::leave() {
    leaving_ = true;
    if (shared_ == this)
        shared_ = nullptr;
    close();
}

void ParamScrn::keyPressEvent(QKeyEvent* event) {
    if (isEnterKey(event))
        goToGame();
    else if (event->key() == Qt::Key_Escape)
        goBack();
    else
        QMainWindow::keyPressEvent(event);
}

void ParamScrn::closeEvent(QCloseEvent* event) {
    event->accept();
    if (leaving_)
        return;
    // Closed by the window manager: that is "Go Back". The sign-in window comes once this close is
    // over, so that a quit closing every window does not meet it half-way.
    leaving_ = true;
    if (shared_ == this)
        shared_ = nullptr;
    QTimer::singleShot(0, qApp, [] { NameScrn::instance()->show(); });
}
