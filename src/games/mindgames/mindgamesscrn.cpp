#include "mindgamesscrn.h"

#include "app/media.h"
#include "app/sounds.h"
#include "controls/anstimer.h"
#include "controls/mysqrbtn.h"
#include "controls/newcnvbtn.h"
#include "controls/picturecanvas.h"
#include "data/gamebests.h"
#include "data/globals.h"
#include "data/random.h"
#include "data/strecord.h"
#include "games/common/answerfield.h"
#include "games/common/gamelayout.h"
#include "settings/numbercombo.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

using namespace GameLayout;

namespace {

constexpr int kBestEntry = 5; // the Mind games' place among the stored game bests

const QString kStopGame = QStringLiteral("Stop Game");
const QString kCloseScreen = QStringLiteral("Close Screen");
const QString kPassProblem = QStringLiteral("Pass This Problem");
const QString kClickToContinue = QStringLiteral("Click To Continue");

QString inGameInstructions() {
    return QStringLiteral("Solve for X. Solve for Y. Hold each answer in your head.\n"
                          "Then solve the problem X, Y and enter the answer.\n"
                          "Beware!!! Order of operations");
}

QLineEdit* makeCounter(QWidget* parent, QPoint origin, const QString& name, const QRect& rect) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(name);
    f->setGeometry(inParent(rect, origin));
    f->setReadOnly(true);
    f->setContextMenuPolicy(Qt::NoContextMenu);
    f->setAttribute(Qt::WA_MacShowFocusRect, false);
    f->setStyleSheet(QStringLiteral("QLineEdit { background: #FFFFFF; color: black; }"));
    setTextSize(f, 12);
    return f;
}

} // namespace

MindGamesScrn::MindGamesScrn()
    : GameWindow(QStringLiteral("MindGamesScrn"), QStringLiteral("Zezu Zize Duzaz"), QSize(800, 580), 15) {
    makeControls();
    StartBtn_Open();
    CloseBtn_Open();
    diffFld_Open();
    Event_Open();
}

MindGamesScrn::~MindGamesScrn() = default;

void MindGamesScrn::makeControls() {
    QWidget* window = content();
    const QPoint top(0, 0);
    const QPoint timeAt(124, 420);
    const QPoint panelAt(568, 0);

    timeBkgCnv = new PictureCanvas(
        QStringLiteral("timeBkgCnv"), [] { return Pictures::BlkBkg(); }, PictureCanvas::Fit::OwnSize, window);
    timeBkgCnv->setGeometry(124, 420, 290, 84);
    timeBkgCnv->setFallback([](QPainter& p, const QRect& r) { p.fillRect(r, Qt::black); });
    StaticText15 = makeLabel(timeBkgCnv, timeAt, QStringLiteral("StaticText15"), QRect(127, 433, 180, 20),
                             QStringLiteral("This Game's Elapsed Time:"), 0, Qt::white, Qt::AlignRight);
    timeFld = makeLabel(timeBkgCnv, timeAt, QStringLiteral("timeFld"), QRect(309, 430, 66, 26), {}, 24,
                        QColor(0xFF, 0, 0), Qt::AlignRight);
    StaticText7 = makeLabel(timeBkgCnv, timeAt, QStringLiteral("StaticText7"), QRect(382, 433, 32, 20),
                            QStringLiteral("sec."), 0, Qt::white, Qt::AlignLeft);
    StaticText8 = makeLabel(timeBkgCnv, timeAt, QStringLiteral("StaticText8"), QRect(127, 472, 180, 20),
                            QStringLiteral("Average time per problem:"), 0, Qt::white, Qt::AlignRight);
    timeFld1 = makeLabel(timeBkgCnv, timeAt, QStringLiteral("timeFld1"), QRect(309, 468, 66, 26), {}, 24,
                         QColor(0, 0, 0xFF), Qt::AlignRight);
    StaticText9 = makeLabel(timeBkgCnv, timeAt, QStringLiteral("StaticText9"), QRect(382, 472, 32, 20),
                            QStringLiteral("sec."), 0, Qt::white, Qt::AlignLeft);

    const PlayerPanel panel = makePlayerPanel(window);
    bkgCnv = panel.bkgCnv;
    InfoTxt = panel.InfoTxt;
    showTxt1 = panel.showTxt1;
    showTxt2 = panel.showTxt2;
    GroupBox1 = panel.GroupBox1;
    StartBtn = panel.StartBtn;
    CloseBtn = panel.CloseBtn;
    StaticText3 = panel.StaticText3;
    connect(StartBtn, &newCnvBtn::MouseUp, this, &MindGamesScrn::StartBtn_MouseUp);
    connect(CloseBtn, &newCnvBtn::MouseUp, this, &MindGamesScrn::CloseBtn_MouseUp);
    StaticText4 = makeLabel(bkgCnv, panelAt, QStringLiteral("StaticText4"), QRect(582, 172, 108, 16),
                            QStringLiteral("Difficulty:"), 12, Qt::black, Qt::AlignRight);
    diffFld = new NumberCombo(QStringLiteral("diffFld"), bkgCnv);
    diffFld->setGeometry(inParent(QRect(698, 170, 68, 22), panelAt));
    setTextSize(diffFld, 12);
    connect(diffFld, &NumberCombo::entryPicked, this, [this] { diffFld_Change(); });
    connect(diffFld, &QComboBox::editTextChanged, this, [this] { diffFld_Change(); });
    StaticText5 = makeLabel(bkgCnv, panelAt, QStringLiteral("StaticText5"), QRect(633, 258, 60, 20),
                            QStringLiteral("Correct"), 12, kPurple, Qt::AlignRight);
    RightFld = makeCounter(bkgCnv, panelAt, QStringLiteral("RightFld"), QRect(706, 258, 60, 22));
    RightFld->installEventFilter(this);
    StaticText6 = makeLabel(bkgCnv, panelAt, QStringLiteral("StaticText6"), QRect(634, 296, 60, 20),
                            QStringLiteral("Wrong"), 12, kPurple, Qt::AlignRight);
    WrongFld = makeCounter(bkgCnv, panelAt, QStringLiteral("WrongFld"), QRect(706, 296, 60, 22));
    WrongFld->installEventFilter(this);
    passBtn = new QPushButton(kPassProblem, bkgCnv);
    passBtn->setObjectName(QStringLiteral("passBtn"));
    passBtn->setGeometry(inParent(QRect(608, 211, 152, 22), panelAt));
    passBtn->setFocusPolicy(Qt::NoFocus);
    passBtn->setEnabled(false);
    connect(passBtn, &QPushButton::clicked, this, &MindGamesScrn::passBtn_Action);
    StaticText14 = makeLabel(bkgCnv, panelAt, QStringLiteral("StaticText14"), QRect(608, 233, 152, 14),
                             QStringLiteral("30 second penalty"), 9, Qt::black, Qt::AlignHCenter);

    for (int i = 0; i < 2; ++i) {
        result1[std::size_t(i)] = makeLabel(
            window, top, QStringLiteral("result1"), QRect(470, i == 0 ? 132 : 232, 64, 60),
            i == 0 ? QStringLiteral("X") : QStringLiteral("Y"), 36, QColor(0xFF, 0, 0xFF), Qt::AlignHCenter);
        result1[std::size_t(i)]->setProperty("Index", i);
    }
    myAnsTimer = new AnsTimer(this);
    myAnsTimer->setObjectName(QStringLiteral("myAnsTimer"));
    myAnsTimer->setInterval(500);
    connect(myAnsTimer, &QTimer::timeout, this, &MindGamesScrn::myAnsTimer_Action);

    const auto makeTile = [this, window](int i, int x, int y) {
        auto* tile = new mySqrBtn(window);
        tile->setObjectName(QStringLiteral("mgNum"));
        tile->setProperty("Index", i);
        tile->setGeometry(x, y, 60, 60);
        tile->setFocusPolicy(Qt::NoFocus);
        connect(tile, &mySqrBtn::Paint, this, [this, i](QPainter& g) { mgNum_Paint(i, g); });
        mgNum[std::size_t(i)] = tile;
    };
    const auto makeSign = [this, window](int i, int x, int y) {
        auto* sign = new PictureCanvas(
            QStringLiteral("mgFunc"),
            [this, i] { return inProgress ? signPicture(problem.theFunc[std::size_t(i)]) : QPixmap(); },
            PictureCanvas::Fit::OwnSize, window);
        sign->setProperty("Index", i);
        sign->setGeometry(x, y, 48, 48);
        mgFunc[std::size_t(i)] = sign;
    };
    const auto makeParen = [this, window](int i, int x, int y) {
        const QString sign = i % 2 == 0 ? QStringLiteral("(") : QStringLiteral(")");
        QLabel* l = makeLabel(window, QPoint(0, 0), QStringLiteral("paren"), QRect(x, y, 16, 64), sign, 48,
                              QColor(0xFF, 0, 0), Qt::AlignLeft);
        // The bracket keeps its size of 48; where our font draws it wider than the 16 pixels laid
        // out, the label grows to the right from the same left edge, so that it shows whole.
        const QFontMetrics m(l->font());
        const QRect ink = m.boundingRect(sign);
        l->resize(std::max({16, m.horizontalAdvance(sign) + 1, ink.right() + 2}), 64);
        l->setProperty("Index", i);
        paren[std::size_t(i)] = l;
    };
    makeTile(0, 30, 132);
    makeTile(1, 180, 132);
    makeTile(2, 330, 132);
    makeSign(0, 111, 139);
    makeSign(1, 261, 139);
    makeSign(2, 111, 239);
    InstrFld = makeLabel(window, top, QStringLiteral("InstrFld"), QRect(30, 8, 488, 78), {}, 14, Qt::black,
                         Qt::AlignHCenter);
    InstrFld->setWordWrap(true);
    gametimer = new QTimer(this);
    gametimer->setObjectName(QStringLiteral("gametimer"));
    gametimer->setInterval(1000);
    connect(gametimer, &QTimer::timeout, this, &MindGamesScrn::gametimer_Action);
    ctProbsFld = makeLabel(window, top, QStringLiteral("ctProbsFld"), QRect(214, 100, 120, 20), {}, 0,
                           kPurple, Qt::AlignHCenter);
    makeParen(0, 14, 128);
    makeParen(2, 14, 228);
    makeParen(1, 243, 126);
    makeParen(3, 243, 228);
    StaticText16 = makeLabel(window, top, QStringLiteral("StaticText16"), QRect(422, 146, 36, 29),
                             QStringLiteral("="), 36, Qt::black, Qt::AlignHCenter);
    makeTile(3, 30, 232);
    makeTile(4, 180, 232);
    makeTile(5, 330, 232);
    makeSign(3, 261, 239);
    StaticText17 = makeLabel(window, top, QStringLiteral("StaticText17"), QRect(422, 246, 36, 29),
                             QStringLiteral("="), 36, Qt::black, Qt::AlignHCenter);
    makeSign(4, 426, 188);
    Line1 = new QFrame(window);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setGeometry(440, 311, 100, 2);
    Line1->setAutoFillBackground(true);
    QPalette black = Line1->palette();
    black.setColor(QPalette::Window, Qt::black);
    Line1->setPalette(black);
    promptTxt = makeLabel(window, top, QStringLiteral("promptTxt"), QRect(124, 348, 283, 20),
                          QStringLiteral("Solve For X, Y"), 0, Qt::black, Qt::AlignRight);
    AnsFld = new AnswerField(QStringLiteral("AnsFld"), window);
    AnsFld->setGeometry(418, 332, 120, 54);
    AnsFld->setLargestTextSize(36);
    AnsFld->setAlignment(Qt::AlignCenter);
    AnsFld->setStyleSheet(QStringLiteral("QLineEdit { background: #EEE2D7; color: black; }"));
    AnsFld->setCursor(Qt::IBeamCursor);
    // Digits count only while a problem is asked; not before a game, after it, or while a pass
    // shows the answer.
    AnsFld->setDigitGate([this] { return inProgress && passAtRest() && !leaving(); });
    connect(AnsFld, &AnswerField::digitTyped, this, &MindGamesScrn::checkAns);

    // Only the fields take the keyboard, in the layout's order.
    setTabOrder(diffFld, RightFld);
    setTabOrder(RightFld, WrongFld);
    setTabOrder(WrongFld, AnsFld);
}

// ---- Opening, difficulty and activation

void MindGamesScrn::StartBtn_Open() {
    StartBtn->setCaption(QStringLiteral("Start Game"), 1);
}

void MindGamesScrn::CloseBtn_Open() {
    CloseBtn->setCaption(kCloseScreen, 4);
}

void MindGamesScrn::diffFld_Open() {
    diffFld->fillRange(MindRules::kLowestLevel, MindRules::kHighestLevel);
}

void MindGamesScrn::Event_Open() {
    InfoTxt[0]->setText(studentName());
    InfoTxt[1]->setText(storedBest(kBestEntry));
    showTxt2->setText(firstName() + QStringLiteral("'s Best Avg. Time."));
    mgHiNum = std::min(myGlobals::conv2Int(2), MindRules::kHighestNumber);
    mgAllowNeg = myGlobals::conv2Bool(7);
    // The box shows the level as read; what plays is that level held to 1..4, as for a typed text.
    diffFld->setTextQuietly(QString::number(MindRules::levelForHiNum(mgHiNum)));
    diffFld_Change();
}

void MindGamesScrn::diffFld_Change() {
    mgHiNum = MindRules::hiNumForLevel(diffFld->currentText());
}

void MindGamesScrn::Event_Activate() {
    setTextSize(InstrFld, 12);
    InstrFld->setText(QStringLiteral("1) Set the difficulty level.\n"
                                     "2) Click <Start Game> to play, <Stop Game> to end."));
}

void MindGamesScrn::changeEvent(QEvent* event) {
    GameWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Event_Activate();
}

bool MindGamesScrn::eventFilter(QObject* watched, QEvent* event) {
    // The counters are shown, never typed.
    if ((watched == RightFld || watched == WrongFld) && event->type() == QEvent::KeyPress)
        return true;
    return GameWindow::eventFilter(watched, event);
}

// ---- A game and its problems

void MindGamesScrn::StartBtn_MouseUp() {
    StartBtn->hndlMouseUp();
    if (leaving() || inProgress)
        return;
    reinitRound();
    AnsFld->setFocus();
    gametimer->start();
    diffFld->setEnabled(false);
    StartBtn->hide();
    CloseBtn->setMyCaption(kStopGame);
    CloseBtn->update();
    inProgress = true;
    gameLoop();
}

void MindGamesScrn::reinitRound() {
    probCt = 0;
    corCt = 0;
    wrongCt = 0;
    RightFld->setText(QStringLiteral("0"));
    WrongFld->setText(QStringLiteral("0"));
    totGameTime = 0;
    timeFld->clear();
    timeFld1->clear();
    passBtn->setEnabled(true);
    // A game that ended mid-pass must not leave its answer and the pass's second step behind.
    restPass();
    setTextSize(InstrFld, 12);
    InstrFld->setText(inGameInstructions());
}

void MindGamesScrn::gameLoop() {
    problem = MindRules::makeProblem(mgHiNum, mgAllowNeg, App::myRnd());
    for (int row = 0; row < 2; ++row) {
        const MindRules::ParenLefts at = MindRules::parenLefts(problem.firstPair[std::size_t(row)]);
        QLabel* open = paren[std::size_t(row * 2)];
        QLabel* close = paren[std::size_t(row * 2 + 1)];
        open->move(at.open, open->y());
        close->move(at.close, close->y());
    }
    corAns = problem.corAns;
    promptTxt->setText(MindRules::prompt(problem.theFunc[4]));
    doFillCnv();
    ctProbsFld->setText(QStringLiteral("Problem #") + QString::number(probCt + 1));
}

void MindGamesScrn::doFillCnv() {
    for (int i = 0; i < 6; ++i) {
        mySqrBtn* tile = mgNum[std::size_t(i)];
        tile->setAccessibleName(inProgress ? QString::number(problem.myNum[std::size_t(i)]) : QString());
        tile->update();
        if (i < 5) {
            PictureCanvas* sign = mgFunc[std::size_t(i)];
            sign->setAccessibleName(inProgress ? signName(problem.theFunc[std::size_t(i)]) : QString());
            sign->update();
        }
    }
}

void MindGamesScrn::mgNum_Paint(int index, QPainter& g) {
    mySqrBtn* tile = mgNum[std::size_t(index)];
    const QString text = inProgress ? QString::number(problem.myNum[std::size_t(index)]) : QString();
    tile->drawMyNum(g, text, 28);
    g.setPen(Qt::black);
    g.setBrush(Qt::NoBrush);
    g.drawRect(0, 0, tile->width() - 2, tile->height() - 2);
}

// ---- Answers, passes and the clock

bool MindGamesScrn::passAtRest() const {
    return passBtn->text() == kPassProblem;
}

void MindGamesScrn::checkAns(const QString& typed) {
    if (inProgress && passAtRest() && !leaving())
        myAnsTimer->armIfComplete(typed, corAns);
}

void MindGamesScrn::myAnsTimer_Action() {
    // A check armed before the game ended, a pass began or the window began to close judges nothing.
    if (!inProgress || !passAtRest() || leaving())
        return;
    ansCorrect = myAnsTimer->theCorAns == myAnsTimer->userAns;
    hndlResult();
}

void MindGamesScrn::hndlResult() {
    if (ansCorrect) {
        mySounds::playRight();
        ++corCt;
        RightFld->setText(QString::number(corCt));
        ++probCt;
        AnsFld->empty();
        --totGameTime;
        gameLoop();
    } else {
        mySounds::playWrong();
        ++wrongCt;
        WrongFld->setText(QString::number(wrongCt));
        AnsFld->empty();
    }
    setFittedText(timeFld1, MindRules::runningAverage(totGameTime, probCt), 24);
}

void MindGamesScrn::passBtn_Action() {
    if (!inProgress || leaving())
        return;
    if (passAtRest()) {
        gametimer->stop();
        myAnsTimer->stop();
        setFittedText(result1[0], QString::number(problem.subTot[0]), 36);
        setFittedText(result1[1], QString::number(problem.subTot[1]), 36);
        AnsFld->display(QString::number(corAns));
        passBtn->setText(kClickToContinue);
        InstrFld->setText(QStringLiteral("Click the button to <Continue>."));
        return;
    }
    ++wrongCt;
    WrongFld->setText(QString::number(wrongCt));
    restPass();
    InstrFld->setText(inGameInstructions());
    ++probCt;
    totGameTime += 30;
    setFittedText(timeFld1, MindRules::runningAverage(totGameTime, probCt), 24);
    gametimer->start();
    gameLoop();
}

void MindGamesScrn::restPass() {
    setFittedText(result1[0], QStringLiteral("X"), 36);
    setFittedText(result1[1], QStringLiteral("Y"), 36);
    AnsFld->empty();
    passBtn->setText(kPassProblem);
}

void MindGamesScrn::gametimer_Action() {
    if (!inProgress || leaving())
        return;
    ++totGameTime;
    setFittedText(timeFld, QString::number(totGameTime), 24);
}

// ---- The end of a game

void MindGamesScrn::CloseBtn_MouseUp() {
    CloseBtn->hndlMouseUp();
    if (leaving())
        return;
    if (CloseBtn->myCaption() == kStopGame)
        hndlDone();
    else
        leave();
}

void MindGamesScrn::endShown() {
    InstrFld->setText(QStringLiteral("Round finished.\nClick <Start Game> to play again."));
    CloseBtn->setMyCaption(kCloseScreen);
    CloseBtn->update();
    passBtn->setEnabled(false);
    restPass();
    doFillCnv();
}

void MindGamesScrn::hndlDone() {
    inProgress = false;
    StartBtn->show();
    diffFld->setEnabled(true);
    gametimer->stop();
    // A check still waiting would otherwise fire inside the question below.
    myAnsTimer->stop();
    setFittedText(timeFld1, MindRules::runningAverage(totGameTime, probCt), 24);
    if (probCt >= MindRules::kCountedProblems && probCt == corCt)
        mySounds::playRound();
    const double average = MindRules::average(totGameTime, probCt);

    if (probCt < MindRules::kCountedProblems) {
        if (myGlobals::resumeShortRound(MindRules::kCountedProblems)) {
            // The game goes on as it stood; a pass showing its answer keeps the clock off until
            // its second click.
            if (passAtRest())
                gametimer->start();
            inProgress = true;
            StartBtn->hide();
            diffFld->setEnabled(false);
            doFillCnv();
        } else {
            endShown();
        }
        return;
    }

    endShown();
    const QString first = firstName();
    if (myGlobals::gCurPlayer && MindRules::improves(average, storedBest(kBestEntry))) {
        keepBest(kBestEntry, GameBests::formatAverage(average),
                 GameBests::formatAverage(GameBests::kNoAverage));
        InfoTxt[1]->setText(GameBests::formatAverage(average));
        mySounds::playRound();
        myGlobals::gShowMsg(false,
                            QStringLiteral("Congratulations, ") + first +
                                QStringLiteral("!\nYou have improved your average time per problem."),
                            QStringLiteral("Try to beat this score next time."));
        dataDirty = true;
    } else {
        myGlobals::gShowMsg(false,
                            QStringLiteral("Sorry, ") + first + QStringLiteral("\nYour average time was ") +
                                GameBests::formatAverage(average) +
                                QStringLiteral(" which did not improve your score."),
                            QStringLiteral("You can try again at any time."));
    }
}

// ---- Leaving

void MindGamesScrn::stopTimers() {
    gametimer->stop();
    myAnsTimer->stop();
}
