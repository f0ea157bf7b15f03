#include "numgamescrn.h"

#include "app/media.h"
#include "app/sounds.h"
#include "controls/newcnvbtn.h"
#include "controls/ovrcheckbox.h"
#include "controls/picturecanvas.h"
#include "controls/progresscnv.h"
#include "data/globals.h"
#include "data/seams.h"
#include "data/strecord.h"
#include "games/common/focuskeeper.h"
#include "games/common/gamelayout.h"
#include "settings/numbercombo.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

using GameLayout::kPurple;

namespace {

constexpr int kBestIndex = 0; // the game's entry among the student's bests
constexpr int kClockMs = 1000;
constexpr int kCheckMs = 500;
constexpr int kNumberBaseline = 34;
constexpr int kNumberPixels = 32;
const QColor kNumberColour(0x52, 0x5B, 0xFF);

constexpr std::uint8_t kActionKind = 1;
constexpr std::uint8_t kLightRedKind = 4;

const QString kOpeningInstructions =
    QStringLiteral("1) Select the number of problems.\n2) Click <Start Game> to begin");
const QString kPlayInstructions = QStringLiteral("Click 2 numbers to complete the Math problem.");
const QString kAgainInstructions =
    QStringLiteral("Congratulations! Click <Start Game> to play again or <Close Game> to leave.");

} // namespace

// ---- The tiles

numGameTile::numGameTile(int index, numGameScrn* window, QWidget* parent)
    : QWidget(parent), index_(index), window_(window) {
    setObjectName(QStringLiteral("myCnv"));
    setFocusPolicy(Qt::NoFocus);
    // Every paint covers the whole tile, so nothing under it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(NumGameRules::kTileSize, NumGameRules::kTileSize);
}

void numGameTile::paintFace(QPainter& p, QSize size, bool picked, int number, bool backdrop) {
    const int w = size.width();
    const int h = size.height();
    if (backdrop) {
        const QPixmap back = Pictures::CBoxNorm();
        if (!back.isNull())
            p.drawPixmap(0, 0, back);
    }
    if (picked) {
        const QPixmap black = Pictures::BlkBkg();
        if (black.isNull())
            p.fillRect(0, 0, w, h, Qt::black);
        else
            p.drawPixmap(0, 0, black, 0, 0, w, h);
    } else {
        const QPixmap face = Pictures::selMDBtn();
        if (face.isNull())
            p.fillRect(0, 0, w, h, QColor(0xE8, 0xEC, 0xF8));
        else
            p.drawPixmap(QRect(0, 0, w, h), face);
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.drawRect(0, 0, w - 2, h - 2);
    }
    if (number == NumGameRules::kUsed)
        return;
    static const QFont font = [] {
        QFont f = QGuiApplication::font();
        f.setPixelSize(kNumberPixels);
        return f;
    }();
    p.setFont(font);
    p.setPen(kNumberColour);
    p.drawText(NumGameRules::numberLeft(number), kNumberBaseline, QString::number(number));
}

void numGameTile::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const NumGameRules& rules = window_->rules_;
    paintFace(p, size(), rules.looksPicked(index_), rules.numberAt(index_), index_ != 0);
}

void numGameTile::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void numGameTile::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (!pressed_)
        return;
    pressed_ = false;
    window_->myCnv_MouseUp(index_);
}

// ---- The window

numGameScrn::numGameScrn()
    : GameWindow(QStringLiteral("numGameScrn"), QStringLiteral("Numbers Game"), QSize(882, 600), 10) {
    makeControls();
    fillData();
    fillArray();
    createCnvs();
    showInstructions();
    // Keys typed before anything is clicked reach the field out of sight, where they change nothing:
    // the first focusable control would be "Highest Number", and a child's digits would become the
    // stored setting.
    stlFocus->setFocus();
}

numGameScrn::~numGameScrn() = default;

void numGameScrn::makeControls() {
    using GameLayout::label;
    using GameLayout::TextStyle;
    QWidget* c = content();
    const Qt::Alignment centred = Qt::AlignCenter;

    InstrFld = label(c, c, QStringLiteral("InstrFld"), QString(), {100, 2, 348, 40}, {12, kPurple, centred});
    InstrFld->setWordWrap(true);

    Star = new PictureCanvas(
        QStringLiteral("Star"), [this] { return starEarned_ ? Pictures::smallstar() : Pictures::NoStar(); },
        PictureCanvas::Fit::OwnSize, c);
    GameLayout::placeAt(Star, c, {582, 10, 32, 32});

    scrTherm = new progressCnv(c);
    scrTherm->setObjectName(QStringLiteral("scrTherm"));
    GameLayout::placeAt(scrTherm, c, {584, 44, 32, 320});

    ctFld = label(c, c, QStringLiteral("ctFld"), QString(), {580, 376, 40, 20}, {12, Qt::black, centred});
    label(c, c, QStringLiteral("StaticText17"), QStringLiteral("The Problem:"), {143, 467, 100, 20},
          {0, kPurple});

    auto* well = new QFrame(c);
    well->setObjectName(QStringLiteral("ImageWell2"));
    well->setFrameStyle(QFrame::Box | QFrame::Sunken);
    GameLayout::placeAt(well, c, {140, 491, 276, 38});
    probFld[0] =
        label(well, c, QStringLiteral("probFld"), QString(), {148, 499, 40, 22}, {22, Qt::black, centred});
    funcFld = label(well, c, QStringLiteral("funcFld"), QStringLiteral("+"), {198, 499, 34, 20},
                    {24, Qt::black, centred});
    probFld[1] =
        label(well, c, QStringLiteral("probFld"), QString(), {242, 499, 40, 22}, {22, Qt::black, centred});
    funcFld1 = label(well, c, QStringLiteral("funcFld1"), QStringLiteral("="), {290, 499, 34, 20},
                     {24, Qt::black, centred});
    ansFld =
        label(well, c, QStringLiteral("ansFld"), QString(), {336, 499, 72, 22}, {22, Qt::black, centred});
    probFld[0]->setProperty("index", 0);
    probFld[1]->setProperty("index", 1);
    // The problem line stands on white: a pick then repaints its number alone, not what lies under it.
    for (QWidget* w :
         std::initializer_list<QWidget*>{well, probFld[0], funcFld, probFld[1], funcFld1, ansFld}) {
        QPalette pal = w->palette();
        pal.setColor(QPalette::Window, Qt::white);
        w->setPalette(pal);
        w->setAutoFillBackground(true);
    }

    label(c, c, QStringLiteral("StaticText16"), QStringLiteral("Your average solve time:"),
          {130, 548, 166, 20});
    timeFld = label(c, c, QStringLiteral("timeFld"), QString(), {309, 548, 63, 32},
                    {18, QColor(0xCF, 0x0B, 0x64), Qt::AlignLeft | Qt::AlignTop});
    label(c, c, QStringLiteral("StaticText1"), QStringLiteral("seconds"), {379, 548, 100, 20});

    // The student's panel on the right; its controls lie on it.
    CtrlPCnv = new PictureCanvas(
        QStringLiteral("CtrlPCnv"), [] { return Pictures::CtrlPanel2(); }, PictureCanvas::Fit::OwnSize, c);
    GameLayout::placeAt(CtrlPCnv, c, {639, 0, 232, 480});
    QWidget* panel = CtrlPCnv;
    label(panel, c, QStringLiteral("showTxt1"), QStringLiteral("-- Current Player --"), {655, 49, 200, 16},
          {12, kPurple, centred});
    InfoTxt[0] =
        label(panel, c, QStringLiteral("InfoTxt"), QString(), {655, 75, 200, 20}, {0, Qt::black, centred});
    showTxt2 =
        label(panel, c, QStringLiteral("showTxt2"), QString(), {655, 107, 200, 16}, {12, kPurple, centred});
    InfoTxt[1] =
        label(panel, c, QStringLiteral("InfoTxt"), QString(), {655, 133, 200, 20}, {0, Qt::black, centred});
    InfoTxt[0]->setProperty("index", 0);
    InfoTxt[1]->setProperty("index", 1);

    allowNegBox = new ovrCheckBox(panel);
    allowNegBox->setObjectName(QStringLiteral("allowNegBox"));
    allowNegBox->setMyText(QStringLiteral("Allow Negative Numbers"));
    allowNegBox->groupTotal = 0;
    GameLayout::placeAt(allowNegBox, c, {655, 180, 200, 24});

    label(panel, c, QStringLiteral("StaticText11"), QStringLiteral("Highest Number:"), {655, 225, 115, 16},
          {12});
    hiNumFld = new NumberCombo(QStringLiteral("hiNumFld"), panel);
    GameLayout::setPixelFont(hiNumFld, 12);
    hiNumFld->fillRange(NumGameRules::kLowestHighNumber, NumGameRules::kHighestHighNumber);
    GameLayout::placeAt(hiNumFld, c, {782, 223, 80, 22});

    label(panel, c, QStringLiteral("StaticText7"), QStringLiteral("Total Problems:"), {656, 259, 115, 16},
          {12});
    totFld = new QComboBox(panel);
    totFld->setObjectName(QStringLiteral("totFld"));
    totFld->addItems({QStringLiteral("32"), QStringLiteral("18"), QStringLiteral("8")});
    totFld->setCurrentIndex(0);
    GameLayout::placeAt(totFld, c, {783, 257, 80, 20});

    auto* group = new QFrame(panel);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setFrameShape(QFrame::StyledPanel);
    group->setFrameShadow(QFrame::Sunken);
    GameLayout::placeAt(group, c, {655, 303, 200, 154});
    label(group, c, QStringLiteral("StaticText18"), QStringLiteral("Select Action:"), {662, 312, 100, 20},
          {0, kPurple});
    ActionBtn = new newCnvBtn(group);
    ActionBtn->setObjectName(QStringLiteral("ActionBtn"));
    GameLayout::placeAt(ActionBtn, c, {677, 350, 160, 32});
    closeBtn = new newCnvBtn(group);
    closeBtn->setObjectName(QStringLiteral("closeBtn"));
    GameLayout::placeAt(closeBtn, c, {677, 400, 160, 32});

    // Out of sight beyond the right edge: it holds the focus so that no visible control keeps it. The
    // game takes no key: each beeps.
    stlFocus = new FocusKeeper(QStringLiteral("stlFocus"), c);
    GameLayout::placeAt(stlFocus, c, {883, 487, 80, 22});

    gameTimer = new QTimer(this);
    gameTimer->setObjectName(QStringLiteral("gameTimer"));
    gameTimer->setInterval(kClockMs);
    myAnsTimer = new QTimer(this);
    myAnsTimer->setObjectName(QStringLiteral("myAnsTimer"));
    myAnsTimer->setInterval(kCheckMs);
    myAnsTimer->setSingleShot(true);

    // The handlers come after the layout values, so that the layout's own choices raise nothing.
    connect(ActionBtn, &newCnvBtn::Open, this,
            [this] { ActionBtn->setCaption(QStringLiteral("Start Game"), kActionKind); });
    connect(closeBtn, &newCnvBtn::Open, this,
            [this] { closeBtn->setCaption(QStringLiteral("Close Game"), kLightRedKind); });
    connect(ActionBtn, &newCnvBtn::MouseUp, this, [this] { ActionBtn_MouseUp(); });
    connect(closeBtn, &newCnvBtn::MouseUp, this, [this] { closeBtn_MouseUp(); });
    connect(hiNumFld, &QComboBox::editTextChanged, this, [this] { hiNumFld_Change(); });
    connect(totFld, &QComboBox::currentIndexChanged, this, [this] { totFld_Change(); });
    connect(gameTimer, &QTimer::timeout, this, &numGameScrn::gameTimer_Action);
    connect(myAnsTimer, &QTimer::timeout, this, &numGameScrn::myAnsTimer_Action);
}

void numGameScrn::fillData() {
    InfoTxt[0]->setText(studentName());
    InfoTxt[1]->setText(storedBest(kBestIndex));
    showTxt2->setText(firstName() + QStringLiteral("'s Best Avg. Time."));
    // A stored value outside the game's range (an old or damaged row) is held within it.
    ngHiNum = NumGameRules::heldHighest(myGlobals::conv2Int(StRecord::HighestParam));
    prohibitChg = true;
    hiNumFld->setTextQuietly(QString::number(ngHiNum));
    prohibitChg = false;
    allowNegBox->setValue(myGlobals::conv2Bool(StRecord::NegativesParam));
}

void numGameScrn::showInstructions() {
    InstrFld->setText(kOpeningInstructions);
}

void numGameScrn::changeEvent(QEvent* event) {
    GameWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !leaving())
        showInstructions();
}

// ---- The board

void numGameScrn::fillArray() {
    rules_.fill(totCnvs, ngHiNum);
}

void numGameScrn::createCnvs() {
    QWidget* c = content();
    while (myCnv.size() < totCnvs) {
        auto* tile = new numGameTile(static_cast<int>(myCnv.size()), this, c);
        // Below the panel's pop-ups and the problem line, above the background.
        tile->lower();
        myCnv << tile;
    }
    for (int i = 0; i < myCnv.size(); ++i) {
        myCnv[i]->move(NumGameRules::tilePlace(i, totCnvs));
        myCnv[i]->setVisible(i < totCnvs);
        const int n = rules_.numberAt(i);
        myCnv[i]->setAccessibleName(n == NumGameRules::kUsed ? QString() : QString::number(n));
    }
}

void numGameScrn::DeleteCanvs() {
    while (myCnv.size() > 1)
        delete myCnv.takeLast();
}

void numGameScrn::repaintTile(int tile) {
    if (tile < 0 || tile >= myCnv.size())
        return;
    const int n = rules_.numberAt(tile);
    myCnv[tile]->setAccessibleName(n == NumGameRules::kUsed ? QString() : QString::number(n));
    myCnv[tile]->update();
}

void numGameScrn::myCnv_MouseUp(int tile) {
    if (leaving())
        return;
    switch (rules_.pick(tile)) {
    case NumGameRules::Pick::Ignored:
        return;
    case NumGameRules::Pick::Refused:
        Seams::feedback().beep();
        return;
    case NumGameRules::Pick::First:
        mySounds::playBlip();
        probFld[0]->setText(QString::number(rules_.numberAt(tile)));
        repaintTile(tile);
        return;
    case NumGameRules::Pick::Second:
        mySounds::playBlip();
        probFld[1]->setText(QString::number(rules_.numberAt(tile)));
        repaintTile(rules_.replacedPick());
        repaintTile(tile);
        myAnsTimer->start();
        return;
    }
}

void numGameScrn::myAnsTimer_Action() {
    myAnsTimer->stop();
    if (leaving() || !rules_.pairComplete())
        return;
    checkAns();
}

// ---- Play

void numGameScrn::ActionBtn_MouseUp() {
    ActionBtn->hndlMouseUp();
    if (rules_.running() || leaving())
        return;
    initGame();
    initRound();
    ActionBtn->hide();
    stlFocus->setFocus();
}

void numGameScrn::closeBtn_MouseUp() {
    closeBtn->hndlMouseUp();
    leave();
}

void numGameScrn::FileClose() {
    leave();
}

void numGameScrn::initGame() {
    if (hiNumChged) {
        fillArray();
        hiNumChged = false;
    }
    const int chosen = totFld->currentText().toInt();
    rules_.start(chosen, totCnvs, allowNegBox->value());
    for (int i = 0; i < totCnvs && i < myCnv.size(); ++i)
        repaintTile(i);
    // The board must stay as it is until the game ends: the number of problems waits for the next Start.
    totFld->setEnabled(false);
    ctFld->setText(QStringLiteral("#1"));
    scrTherm->reinit(rules_.problems());
    starEarned_ = false;
    Star->update();
    InstrFld->setText(kPlayInstructions);
    funcFld1->setText(QStringLiteral("="));
    timeFld->clear();
    gameTimer->start();
}

void numGameScrn::initRound() {
    ctFld->setText(QLatin1Char('#') + QString::number(rules_.solved() + 1));
    funcFld->setText(NumGameRules::signOf(rules_.func()));
    ansFld->setText(QString::number(rules_.answer()));
}

void numGameScrn::checkAns() {
    const int first = rules_.firstPick();
    const int second = rules_.secondPick();
    const NumGameRules::Verdict verdict = rules_.check();
    repaintTile(first);
    repaintTile(second);
    if (verdict == NumGameRules::Verdict::Wrong) {
        mySounds::playWrong();
    } else {
        timeFld->setText(rules_.averageText());
        scrTherm->advance(rules_.solved());
        if (verdict == NumGameRules::Verdict::Right) {
            mySounds::playRight();
            initRound();
        } else {
            starEarned_ = true;
            Star->repaint();
        }
    }
    probFld[0]->clear();
    probFld[1]->clear();
    if (verdict == NumGameRules::Verdict::Finished)
        hndlRoundDone();
}

void numGameScrn::gameTimer_Action() {
    if (leaving() || !rules_.running())
        return;
    rules_.tick();
}

void numGameScrn::hndlRoundDone() {
    gameTimer->stop();
    myAnsTimer->stop();
    mySounds::playRound();
    const NumGameRules::Result result = rules_.result(storedBest(kBestIndex), firstName());
    if (result.improved) {
        keepBest(kBestIndex, result.stored);
        InfoTxt[1]->setText(result.stored);
        dataDirty = true;
    }
    myGlobals::gShowMsg(false, result.message, result.explanation);
    if (leaving())
        return;
    ansFld->clear();
    ActionBtn->show();
    totFld->setEnabled(true);
    hiNumChged = true;
    InstrFld->setText(kAgainInstructions);
}

// ---- Settings

void numGameScrn::hiNumFld_Change() {
    if (prohibitChg)
        return;
    keepSetting(StRecord::HighestParam,
                myGlobals::limitEntry(hiNumFld->currentText(), NumGameRules::kHighestHighNumber,
                                      NumGameRules::kLowestHighNumber));
    ngHiNum = NumGameRules::heldHighest(myGlobals::conv2Int(StRecord::HighestParam));
    hiNumChged = true;
    dataDirty = true;
}

void numGameScrn::totFld_Change() {
    if (rules_.running())
        return;
    DeleteCanvs();
    totCnvs = totFld->currentText().toInt() * 2;
    createCnvs();
}

void numGameScrn::stopTimers() {
    gameTimer->stop();
    myAnsTimer->stop();
    rules_.stop();
}
