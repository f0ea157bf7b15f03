#include "bsktmathscrn.h"

#include "app/keystate.h"
#include "app/media.h"
#include "app/picts.h"
#include "app/sounds.h"
#include "basketrules.h"
#include "chutecnv.h"
#include "controls/anstimer.h"
#include "controls/newcnvbtn.h"
#include "controls/ovrcheckbox.h"
#include "controls/picturecanvas.h"
#include "data/gamebests.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/random.h"
#include "data/seams.h"
#include "data/strecord.h"
#include "games/common/answerfield.h"
#include "games/common/focuskeeper.h"
#include "games/common/gamelayout.h"
#include "settings/numbercombo.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

#include <random>

using namespace GameLayout;

namespace {

constexpr int kBestEntry = 4; // the basket game's place among the stored game bests

const QString kStopGame = QStringLiteral("Stop Game");
const QString kContinue = QStringLiteral("Continue");
const QString kCloseScreen = QStringLiteral("Close Screen");

// A picture drawn with its pure white left out, so the backdrop shows through.
QPixmap whiteTransparent(const QPixmap& picture) {
    if (picture.isNull())
        return picture;
    static QHash<qint64, QPixmap> made;
    auto it = made.find(picture.cacheKey());
    if (it == made.end()) {
        QPixmap p = picture;
        p.setMask(p.createMaskFromColor(Qt::white));
        it = made.insert(picture.cacheKey(), p);
    }
    return *it;
}

// The points display: the points in large italics over a black copy, in a colour drawn anew at
// every paint. The colours come from a generator of its own, so that repaints never change which
// numbers fall in a seeded game.
class PointsCanvas : public QWidget {
public:
    PointsCanvas(std::function<int()> points, QWidget* parent) : QWidget(parent), points_(std::move(points)) {
        setObjectName(QStringLiteral("PtsCnv"));
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        std::uniform_int_distribution<int> channel(128, 255);
        const QColor colour(channel(colours_), channel(colours_), channel(colours_));
        QPainter p(this);
        QFont f = font();
        f.setItalic(true);
        f.setPixelSize(24);
        p.setFont(f);
        const QString shown = BasketRules::pointsText(points_());
        setAccessibleName(shown);
        const int w = p.fontMetrics().horizontalAdvance(shown);
        const int x = (width() - w) / 2;
        p.setPen(Qt::black);
        p.drawText(x, 30, shown);
        p.setPen(colour);
        p.drawText(x - 2, 28, shown);
    }

private:
    std::function<int()> points_;
    std::minstd_rand colours_{std::random_device{}()};
};

} // namespace

bsktMathScrn::bsktMathScrn()
    : GameWindow(QStringLiteral("bsktMathScrn"), QStringLiteral("Zuduzo 'd Izuv"), QSize(800, 580), 14) {
    // Watch the Space bar from now on, so that every press during a fall is seen.
    KeyState::instance();
    makeControls();
    StartBtn_Open();
    CloseBtn_Open();
    hiNumFld_Open();
    allowNegBtn_Open();
    Event_Open();
}

bsktMathScrn::~bsktMathScrn() = default;

void bsktMathScrn::makeControls() {
    QWidget* window = content();
    const QPoint top(0, 0);
    const QPoint panelAt(568, 0);

    const PlayerPanel panel = makePlayerPanel(window);
    bkgCnv = panel.bkgCnv;
    InfoTxt = panel.InfoTxt;
    showTxt1 = panel.showTxt1;
    showTxt2 = panel.showTxt2;
    GroupBox1 = panel.GroupBox1;
    StartBtn = panel.StartBtn;
    CloseBtn = panel.CloseBtn;
    StaticText3 = panel.StaticText3;
    connect(StartBtn, &newCnvBtn::MouseUp, this, &bsktMathScrn::StartBtn_MouseUp);
    connect(CloseBtn, &newCnvBtn::MouseUp, this, &bsktMathScrn::CloseBtn_MouseUp);

    StaticText4 = makeLabel(bkgCnv, panelAt, QStringLiteral("StaticText4"), QRect(592, 172, 108, 16),
                            QStringLiteral("Highest Number:"), 12, Qt::black, Qt::AlignLeft);
    hiNumFld = new NumberCombo(QStringLiteral("hiNumFld"), bkgCnv);
    hiNumFld->setGeometry(inParent(QRect(708, 170, 68, 22), panelAt));
    setTextSize(hiNumFld, 12);
    connect(hiNumFld, &NumberCombo::entryPicked, this, [this] { hiNumFld_Change(); });
    connect(hiNumFld, &QComboBox::editTextChanged, this, [this] { hiNumFld_Change(); });
    StaticText5 = makeLabel(bkgCnv, panelAt, QStringLiteral("StaticText5"), QRect(598, 268, 95, 20),
                            QStringLiteral("Current Round"), 12, kPurple, Qt::AlignRight);
    RoundFld = new QLineEdit(bkgCnv);
    RoundFld->setObjectName(QStringLiteral("RoundFld"));
    RoundFld->setGeometry(inParent(QRect(706, 268, 60, 22), panelAt));
    RoundFld->setReadOnly(true);
    RoundFld->setContextMenuPolicy(Qt::NoContextMenu);
    RoundFld->setAttribute(Qt::WA_MacShowFocusRect, false);
    RoundFld->setStyleSheet(QStringLiteral("QLineEdit { background: #FFFFFF; color: black; }"));
    setTextSize(RoundFld, 12);
    RoundFld->installEventFilter(this);
    StaticText7 = makeLabel(bkgCnv, panelAt, QStringLiteral("StaticText7"), QRect(592, 220, 79, 20),
                            QStringLiteral("Total Points:"), 12, Qt::black, Qt::AlignHCenter);
    PtsCnv = new PointsCanvas([this] { return curPts; }, bkgCnv);
    PtsCnv->setGeometry(inParent(QRect(676, 210, 100, 40), panelAt));
    allowNegBtn = new ovrCheckBox(bkgCnv);
    allowNegBtn->setObjectName(QStringLiteral("allowNegBtn"));
    // A little wider than drawn, so that its caption reads whole in our font.
    allowNegBtn->setGeometry(inParent(QRect(592, 304, 196, 24), panelAt));

    InstrFld = makeLabel(window, top, QStringLiteral("InstrFld"), QRect(30, 8, 488, 34), {}, 12, Qt::black,
                         Qt::AlignHCenter);
    InstrFld->setWordWrap(true);
    basketCnv = new PictureCanvas(
        QStringLiteral("basketCnv"), [] { return whiteTransparent(Pictures::MathBskt2()); },
        PictureCanvas::Fit::OwnSize, window);
    basketCnv->setGeometry(229, 390, 90, 108);
    funcCnv = new PictureCanvas(
        QStringLiteral("funcCnv"), [this] { return signPicture(curFunc); }, PictureCanvas::Fit::OwnSize,
        basketCnv);
    funcCnv->setGeometry(inParent(QRect(250, 409, 48, 48), QPoint(229, 390)));
    funcCnv->setAccessibleName(signName(curFunc));
    AnsFld = new AnswerField(QStringLiteral("AnsFld"), window);
    AnsFld->setGeometry(404, 409, 84, 36);
    AnsFld->setLargestTextSize(24);
    AnsFld->setAlignment(Qt::AlignRight);
    AnsFld->setAttribute(Qt::WA_MacShowFocusRect, false);
    AnsFld->setStyleSheet(QStringLiteral("QLineEdit { background: #EEE2D7; color: black; }"));
    AnsFld->hide();
    connect(AnsFld, &AnswerField::digitTyped, this, &bsktMathScrn::checkAns);
    seeAnsFld = makeLabel(window, top, QStringLiteral("seeAnsFld"), QRect(386, 383, 120, 20),
                          QStringLiteral("Enter Basket Total"), 0, Qt::black, Qt::AlignLeft);
    seeAnsFld->hide();
    checkTimer = new AnsTimer(this);
    checkTimer->setObjectName(QStringLiteral("checkTimer"));
    checkTimer->setInterval(300);
    connect(checkTimer, &QTimer::timeout, this, &bsktMathScrn::checkTimer_Action);
    fallingTimer = new QTimer(this);
    fallingTimer->setObjectName(QStringLiteral("fallingTimer"));
    fallingTimer->setTimerType(Qt::PreciseTimer);
    fallingTimer->setInterval(50);
    connect(fallingTimer, &QTimer::timeout, this, &bsktMathScrn::fallingTimer_Action);
    attemptFld = makeLabel(window, top, QStringLiteral("attemptFld"), QRect(386, 451, 100, 16), {}, 10,
                           Qt::black, Qt::AlignHCenter);
    attemptFld->hide();
    StaticText8 = makeLabel(window, top, QStringLiteral("StaticText8"), QRect(214, 501, 120, 16),
                            QStringLiteral("Use <Space> to drop"), 9, Qt::black, Qt::AlignHCenter);
    // Holds the keyboard focus while numbers fall, out of sight beyond the window's right edge. The
    // Space bar drops a falling number (its presses are watched wherever the focus is); every other
    // key, and Space while nothing falls, beeps.
    stlFocus = new FocusKeeper(QStringLiteral("stlFocus"), window, [this](QKeyEvent* key) {
        return key->key() == Qt::Key_Space && (fallingTimer->isActive() || dropTimer->isActive());
    });
    stlFocus->setGeometry(803, 289, 80, 22);
    spoutCnv2 = new PictureCanvas(
        QStringLiteral("spoutCnv2"), [] { return whiteTransparent(Pictures::MathFunnel2()); },
        PictureCanvas::Fit::OwnSize, window);
    spoutCnv2->setGeometry(229, 57, 90, 74);
    myChute = new chuteCnv(window);
    myChute->move(257, 130);
    connect(myChute, &chuteCnv::bottomReached, this, &bsktMathScrn::myChute_bottomReached);
    dropTimer = new QTimer(this);
    dropTimer->setObjectName(QStringLiteral("dropTimer"));
    dropTimer->setTimerType(Qt::PreciseTimer);
    dropTimer->setInterval(5);
    connect(dropTimer, &QTimer::timeout, this, &bsktMathScrn::dropTimer_Action);

    // Keyboard order within each parent, as laid out.
    setTabOrder(InstrFld, AnsFld);
    setTabOrder(AnsFld, stlFocus);
    setTabOrder(hiNumFld, RoundFld);
}

// ---- Opening

void bsktMathScrn::StartBtn_Open() {
    StartBtn->setCaption(QStringLiteral("Start Game"), 1);
}

void bsktMathScrn::CloseBtn_Open() {
    CloseBtn->setCaption(kCloseScreen, 4);
}

void bsktMathScrn::hiNumFld_Open() {
    hiNumFld->fillRange(BasketRules::kLowestHiNum, BasketRules::kHighestHiNum);
}

void bsktMathScrn::allowNegBtn_Open() {
    allowNegBtn->setMyText(QStringLiteral("Allow Negative Numbers"));
    allowNegBtn->setValue(false);
    allowNegBtn->groupTotal = 0;
}

void bsktMathScrn::Event_Open() {
    InfoTxt[0]->setText(studentName());
    InfoTxt[1]->setText(storedBest(kBestEntry));
    showTxt2->setText(firstName() + QStringLiteral("'s Highest Score."));
    bomHiNum = std::min(myGlobals::conv2Int(2), BasketRules::kHighestHiNum);
    // The box shows the setting as read; what plays is that, held to 4..9, as for a typed text.
    hiNumFld->setTextQuietly(QString::number(bomHiNum));
    hiNumFld_Change();
    bomAllowNeg = myGlobals::conv2Bool(7);
    allowNegBtn->setValue(bomAllowNeg);
    setTextSize(InstrFld, 12);
    InstrFld->setText(QStringLiteral("1) Set the highest number. (4 to 9 for this game)\n"
                                     "2) Click <Start Game> to play. Good Luck!!!"));
}

void bsktMathScrn::hiNumFld_Change() {
    const QString limited =
        myGlobals::limitEntry(hiNumFld->currentText(), BasketRules::kHighestHiNum, BasketRules::kLowestHiNum);
    bomHiNum = BasketRules::clampHiNum(myGlobals::textToInt(limited));
}

bool bsktMathScrn::eventFilter(QObject* watched, QEvent* event) {
    // The round is shown, never typed.
    if (watched == RoundFld && event->type() == QEvent::KeyPress)
        return true;
    return GameWindow::eventFilter(watched, event);
}

// ---- A game and its rounds

QString bsktMathScrn::closeCaption() const {
    return CloseBtn->myCaption();
}

void bsktMathScrn::StartBtn_MouseUp() {
    StartBtn->hndlMouseUp();
    if (leaving() || closeCaption() != kCloseScreen)
        return;
    hiNumFld->setEnabled(false);
    CloseBtn->setCaption(kStopGame, 0);
    CloseBtn->update();
    curRound = 0;
    bomAllowNeg = allowNegBtn->value();
    StartBtn->hide();
    curPts = 0;
    PtsCnv->update();
    roundLoop();
}

void bsktMathScrn::roundLoop() {
    AnsFld->hide();
    AnsFld->empty();
    seeAnsFld->hide();
    attemptFld->hide();
    stlFocus->setFocus();
    ++curRound;
    totTries = 0;
    numCt = 0;
    attemptFld->setText(QString::number(BasketRules::triesAllowed(myPrefs::inForce().maxTries)) +
                        QStringLiteral(" tries allowed!"));
    RoundFld->setText(QString::number(curRound));
    setTextSize(InstrFld, 12);
    InstrFld->setText(QStringLiteral("Basket total has been reset to 0"));
    const BasketRules::Draw first = BasketRules::firstNumber(bomHiNum, App::myRnd());
    curNumber = first.number;
    curFunc = first.op;
    corAns = first.total;
    fallRate = BasketRules::fallRate(curRound);
    startFall();
}

// The number drawn last starts to fall, its sign shown on the basket.
void bsktMathScrn::startFall() {
    funcCnv->setAccessibleName(signName(curFunc));
    funcCnv->update();
    myChute->init(myPicts::digit(curNumber), fallRate);
    myChute->setAccessibleName(QString::number(curNumber));
    fallingTimer->setInterval(BasketRules::fallPeriod(curRound));
    // Only a Space bar held now, or pressed from here on, drops this number: a tap before (while the
    // game waited, in the answer field, during the last number's fast drop) is not for it.
    spaceMark = KeyState::instance().mark(Qt::Key_Space);
    fallingTimer->start();
}

void bsktMathScrn::fallingTimer_Action() {
    if (leaving())
        return;
    if (KeyState::instance().downSince(Qt::Key_Space, spaceMark)) {
        if (!prohibitDrop) {
            fallingTimer->stop();
            dropTimer->start();
            prohibitDrop = true;
        }
        return;
    }
    myChute->update();
}

void bsktMathScrn::dropTimer_Action() {
    if (leaving())
        return;
    myChute->update();
}

void bsktMathScrn::myChute_bottomReached() {
    dropTimer->stop();
    fallingTimer->stop();
    prohibitDrop = false;
    numLoop();
}

void bsktMathScrn::numLoop() {
    ++numCt;
    InstrFld->setText(QStringLiteral("Calculate the total in the basket."));
    if (numCt > curRound) {
        AnsFld->show();
        seeAnsFld->show();
        attemptFld->show();
        AnsFld->setFocus();
        return;
    }
    const BasketRules::Draw next = BasketRules::nextNumber(corAns, bomHiNum, bomAllowNeg, App::myRnd());
    curNumber = next.number;
    curFunc = next.op;
    corAns = next.total;
    startFall();
}

// ---- Answers and the end of a game

bool bsktMathScrn::answering() const {
    return !leaving() && closeCaption() == kStopGame && numCt > curRound;
}

void bsktMathScrn::checkAns(const QString& typed) {
    if (answering())
        checkTimer->armIfComplete(typed, corAns);
}

void bsktMathScrn::checkTimer_Action() {
    // A check armed before the game stopped or the window began to close has nothing left to judge.
    if (!answering())
        return;
    if (checkTimer->theCorAns == checkTimer->userAns) {
        ansCorrect();
        return;
    }
    mySounds::playWrong();
    ++totTries;
    const int allowed = BasketRules::triesAllowed(myPrefs::inForce().maxTries);
    attemptFld->setText(QString::number(allowed - totTries) + QStringLiteral(" tries allowed!"));
    AnsFld->empty();
    if (totTries >= allowed) {
        ansWrong();
        hiNumFld->setEnabled(true);
    }
}

void bsktMathScrn::ansCorrect() {
    mySounds::playRight();
    curPts = BasketRules::pointsFor(curRound);
    PtsCnv->update();
    roundLoop();
}

void bsktMathScrn::ansWrong() {
    InstrFld->setText(QStringLiteral("Sorry, the answer for Round #") + QString::number(curRound) +
                      QStringLiteral(" is: ") + QString::number(corAns) +
                      QStringLiteral("\nPlease press <Continue>"));
    AnsFld->hide();
    AnsFld->empty();
    seeAnsFld->hide();
    attemptFld->hide();
    stlFocus->setFocus();
    StartBtn->hide();
    CloseBtn->setMyCaption(kContinue);
    CloseBtn->update();
}

void bsktMathScrn::CloseBtn_MouseUp() {
    CloseBtn->hndlMouseUp();
    if (leaving())
        return;
    const QString caption = closeCaption();
    if (caption == kStopGame) {
        fallingTimer->stop();
        dropTimer->stop();
        // A total still waiting for its check would otherwise start a round under "Continue".
        checkTimer->stop();
        prohibitDrop = false;
        myChute->clearNum();
        ansWrong();
        hiNumFld->setEnabled(true);
        Seams::feedback().beep();
    } else if (caption == kContinue) {
        compareBest();
        StartBtn->show();
        CloseBtn->setCaption(kCloseScreen, 4);
        CloseBtn->update();
    } else {
        leave();
    }
}

bool bsktMathScrn::keepIfBest() {
    if (!myGlobals::gCurPlayer || GameBests::readScore(storedBest(kBestEntry)) >= curPts)
        return false;
    keepBest(kBestEntry, QString::number(curPts), QStringLiteral("0"));
    InfoTxt[1]->setText(QString::number(curPts));
    dataDirty = true;
    return true;
}

void bsktMathScrn::compareBest() {
    const QString first = firstName();
    if (keepIfBest()) {
        mySounds::playRound();
        myGlobals::gShowMsg(false,
                            QStringLiteral("Congratulations, ") + first +
                                QStringLiteral("!\nYou have increased your total points"),
                            QStringLiteral("Try to beat this score next time."));
    } else {
        myGlobals::gShowMsg(false,
                            QStringLiteral("Sorry, ") + first + QStringLiteral("\nYour total points were ") +
                                QString::number(curPts) +
                                QStringLiteral(" which did not improve your score."),
                            QStringLiteral("You can try again at any time."));
    }
}

// ---- Leaving

void bsktMathScrn::stopTimers() {
    fallingTimer->stop();
    dropTimer->stop();
    checkTimer->stop();
    prohibitDrop = false;
}

void bsktMathScrn::aboutToLeave() {
    // A game waiting on "Continue" has ended: a higher score is kept as "Continue" would keep it,
    // without its message, since the student is leaving.
    if (closeCaption() == kContinue)
        keepIfBest();
}
