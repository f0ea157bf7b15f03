// The Math Squares window driven through its controls: what it shows on opening, the function keys,
// whole games played by a student signed in on the sign-in window (walks found by a small search over
// the squares' digits), stopping, undo, the menus and what reaches the database.

#include "app/helplink.h"
#include "app/menus.h"
#include "app/picts.h"
#include "main/routes.h"
#include "app/sounds.h"
#include "controls/newcnvbtn.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/random.h"
#include "data/strecord.h"
#include "gamefixture.h"
#include "games/squares/msqrsscrn.h"
#include "signin/namescrn.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

using GameTest::press;

namespace {

MSqrsScrn* win() {
    return MSqrsScrn::instance();
}

template <typename T = QWidget> T* part(const QString& name) {
    return GameTest::part<T>(win(), name);
}

std::vector<MSqrsScrn::NumCnv*> squares() {
    std::vector<MSqrsScrn::NumCnv*> all(Squares::kSquares, nullptr);
    for (auto* s : win()->findChildren<MSqrsScrn::NumCnv*>(QStringLiteral("NumCnv")))
        all[static_cast<std::size_t>(s->Index)] = s;
    return all;
}

QToolButton* modeBtn(int i) {
    return GameTest::indexed<QToolButton>(win(), QStringLiteral("modeBtn"), i);
}

QLabel* infoTxt(int i) {
    return GameTest::indexed<QLabel>(win(), QStringLiteral("InfoTxt"), i);
}

QString shown(const char* display) {
    return part(QString::fromLatin1(display))->accessibleName();
}

long long value(const char* display) {
    return shown(display).toLongLong();
}

QString instruction() {
    return part<QLabel>(QStringLiteral("instrFld"))->text();
}

newCnvBtn* button(const char* name) {
    return part<newCnvBtn>(QString::fromLatin1(name));
}

void clickSquare(int k) {
    QTest::mouseClick(squares()[static_cast<std::size_t>(k)], Qt::LeftButton, {}, QPoint(24, 24));
}

void key(char c) {
    QTest::keyClick(part(QStringLiteral("stlFocus")), c);
}

QAction* menuItem(const char* name) {
    return win()->findChild<MenuBar1*>()->item(QString::fromLatin1(name));
}

// What the board shows, read from the squares as a screen reader would.
struct Seen {
    std::array<int, Squares::kSquares> digit{};
    std::array<bool, Squares::kSquares> used{};
    int current = -1;
    long long total = 0;
    long long target = 0;
};

Seen look() {
    Seen s;
    for (auto* sq : squares()) {
        const auto k = static_cast<std::size_t>(sq->Index);
        s.digit[k] = sq->accessibleName().toInt();
        s.used[k] = sq->accessibleDescription() != QLatin1String("free");
        if (sq->accessibleDescription() == QLatin1String("current"))
            s.current = sq->Index;
    }
    s.total = value("TotalCnv");
    s.target = value("TargetCnv");
    return s;
}

struct Step {
    int function;
    int square;
};

std::vector<int> neighbours(int k) {
    std::vector<int> n;
    for (int m : {k - 8, k + 8, k - 1, k + 1}) {
        if (Squares::isAdjacent(k, m))
            n.push_back(m);
    }
    return n;
}

bool search(const Seen& s, std::array<bool, Squares::kSquares>& used, int at, long long total, int depth,
            std::vector<Step>& path) {
    if (depth == 0)
        return false;
    for (int m : neighbours(at)) {
        if (used[static_cast<std::size_t>(m)])
            continue;
        for (int f = 0; f < 4; ++f) {
            const long long next = Squares::applyFunction(f, total, s.digit[static_cast<std::size_t>(m)]);
            if (std::llabs(next) > Squares::kTotalLimit)
                continue;
            path.push_back({f, m});
            if (next == s.target)
                return true;
            used[static_cast<std::size_t>(m)] = true;
            const bool found = search(s, used, m, next, depth - 1, path);
            used[static_cast<std::size_t>(m)] = false;
            if (found)
                return true;
            path.pop_back();
        }
    }
    return false;
}

// A walk to the target from where the board stands: from the current square, or on a fresh board from
// a square to click first (returned as a step with function -1).
std::optional<std::vector<Step>> planHit(const Seen& s) {
    std::vector<Step> path;
    auto used = s.used;
    if (s.current >= 0) {
        if (search(s, used, s.current, s.total, 4, path))
            return path;
        return std::nullopt;
    }
    for (int start = 0; start < Squares::kSquares; ++start) {
        path = {{-1, start}};
        used[static_cast<std::size_t>(start)] = true;
        if (s.digit[static_cast<std::size_t>(start)] != s.target &&
            search(s, used, start, s.digit[static_cast<std::size_t>(start)], 3, path))
            return path;
        used[static_cast<std::size_t>(start)] = false;
    }
    return std::nullopt;
}

// Plays a step as the student does: the function's key, then the square.
void play(const Step& step) {
    if (step.function >= 0)
        key(static_cast<char>('1' + step.function));
    clickSquare(step.square);
}

// Plays a planned walk; the last step must hit.
void playPlan(const std::vector<Step>& plan) {
    for (const Step& step : plan)
        play(step);
}

} // namespace

class TestMSqrsScrn : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensReadyForAGame();
    void controlsAreMadeInTheirOrder();
    void controlsStandWhereTheLayoutPutsThem_data();
    void controlsStandWhereTheLayoutPutsThem();
    void numberKeysChooseTheFunction_data();
    void numberKeysChooseTheFunction();
    void studentPlaysTwoBoardsAndKeepsTheBest();
    void undoButtonAndMenuAgree();
    void fileCloseStopsAGameThenCloses();
    void closeBoxRecordsNoRunningGameButKeepsAnEarlierBest();
    void activationBringsBackTheStartLine();
    void repaintsDoNotChangeWhatASeedDeals();
    void helpOpensTopicTwelve();
    void screenshots();

private:
    void openFor(const QString& best = QStringLiteral("0"));
    std::vector<Step> hitOnce();

    std::unique_ptr<GameTest::World> world;
};

void TestMSqrsScrn::initTestCase() {
    myPicts::loadPics();
}

void TestMSqrsScrn::init() {
    world = std::make_unique<GameTest::World>();
    QVERIFY(world->db.ok());
}

void TestMSqrsScrn::cleanup() {
    if (MSqrsScrn::exists())
        MSqrsScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!MSqrsScrn::exists());
    world.reset();
}

// The window opened straight for a loaded student (the sign-in window's part is its own test).
void TestMSqrsScrn::openFor(const QString& best) {
    world->signIn([&](StRecord& r) { r.myZeriScrs[2] = best; });
    win()->show();
    QVERIFY(QTest::qWaitForWindowExposed(win()));
}

// Hits the current target (dealing new boards while no short walk reaches it) and returns the walk.
std::vector<Step> TestMSqrsScrn::hitOnce() {
    for (int tries = 0; tries < 20; ++tries) {
        if (const auto plan = planHit(look())) {
            playPlan(*plan);
            return *plan;
        }
        press(button("startBtn"));
    }
    qFatal("no walk to the target found");
    return {};
}

void TestMSqrsScrn::opensReadyForAGame() {
    openFor(QStringLiteral("340"));
    QCOMPARE(win()->windowTitle(), QStringLiteral("Math Squares"));
    QCOMPARE(win()->content()->size(), QSize(800, 540));
    QVERIFY(!(win()->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(win()->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(win()->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(MSqrsScrn::instance(), win()); // one window while it is open

    const QStringList captions{"+", QStringLiteral("\u2013"), "X", QStringLiteral("\u00F7")};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(modeBtn(i)->text(), captions[i]);
        QCOMPARE(modeBtn(i)->isChecked(), i == 0);
        QCOMPARE(modeBtn(i)->font().bold(), i == 0);
        QCOMPARE(modeBtn(i)->focusPolicy(), Qt::NoFocus);
    }
    QCOMPARE(button("startBtn")->myCaption(), QStringLiteral("Start Game"));
    QCOMPARE(button("startBtn")->kind(), std::uint8_t(1));
    QCOMPARE(button("closeBtn")->myCaption(), QStringLiteral("Close Screen"));
    QCOMPARE(button("closeBtn")->kind(), std::uint8_t(4));
    auto* diff = part<QComboBox>(QStringLiteral("diffMenu"));
    QCOMPARE(diff->count(), 4);
    QCOMPARE(diff->currentText(), QStringLiteral("2"));
    QCOMPARE(diff->focusPolicy(), Qt::NoFocus);
    QCOMPARE(win()->board().difficulty(), 2);
    auto* undo = part<QPushButton>(QStringLiteral("undoBtn"));
    QCOMPARE(undo->text(), QStringLiteral("Undo Last Move"));
    QVERIFY(!undo->isEnabled());
    QCOMPARE(infoTxt(0)->text(), QStringLiteral("Ann Lee"));
    QCOMPARE(infoTxt(1)->text(), QStringLiteral("340"));
    QCOMPARE(part<QLabel>(QStringLiteral("showTxt2"))->text(), QStringLiteral("Ann's Highest Score"));
    QCOMPARE(instruction(), QStringLiteral("Click the <Start Game> button to begin."));
    for (const char* d : {"TargetCnv", "TotalCnv", "PtsCnv", "ScoreCnv"})
        QCOMPARE(shown(d), QStringLiteral("00"));
    // The widest total the game lets through fits its display.
    QFont displayFont = part(QStringLiteral("TotalCnv"))->font();
    displayFont.setPixelSize(24);
    displayFont.setItalic(true);
    QVERIFY(QFontMetrics(displayFont).horizontalAdvance(Squares::formatDisplay(-Squares::kTotalLimit)) <=
            100);

    // 64 squares, no digits, and clicks do nothing until the first start.
    const auto all = squares();
    for (int k = 0; k < Squares::kSquares; ++k) {
        QVERIFY(all[static_cast<std::size_t>(k)]);
        QCOMPARE(all[static_cast<std::size_t>(k)]->geometry(),
                 QRect(20 + 50 * (k % 8), 126 + 50 * (k / 8), 48, 48));
        QVERIFY(all[static_cast<std::size_t>(k)]->accessibleName().isEmpty());
        QCOMPARE(all[static_cast<std::size_t>(k)]->cursor().shape(), Qt::PointingHandCursor);
    }
    clickSquare(0);
    clickSquare(9);
    QVERIFY(world->feedback.sounds.isEmpty());
    QCOMPARE(instruction(), QStringLiteral("Click the <Start Game> button to begin."));
    menuItem("EditUndo")->trigger();
    QCOMPARE(shown("TotalCnv"), QStringLiteral("00"));
    QVERIFY(win()->board().current() < 0);
}

// A control made later lies in front of one made before it.
void TestMSqrsScrn::controlsAreMadeInTheirOrder() {
    openFor();
    QStringList made;
    for (QObject* c : win()->content()->children())
        made << c->objectName();
    QStringList expected{"NumCnv",      "StaticText1", "StaticText2", "modeBtn",  "modeBtn",
                         "modeBtn",     "modeBtn",     "TargetCnv",   "TotalCnv", "PtsCnv",
                         "StaticText3", "StaticText4", "ScoreCnv",    "instrFld", "sqrsCtrlPanel",
                         "InfoTxt",     "InfoTxt",     "showTxt1",    "showTxt2", "sqrsGroupBox",
                         "StaticText5", "closeBtn",    "startBtn",    "undoBtn",  "diffMenu",
                         "StaticText7", "Line1",       "StaticText6", "stlFocus", "smNum",
                         "smNum",       "smNum",       "smNum"};
    QCOMPARE(expected.size(), 33);
    for (int k = 1; k < Squares::kSquares; ++k)
        expected << QStringLiteral("NumCnv"); // the rest of the board, made as the window opens
    QCOMPARE(made, expected);
}

void TestMSqrsScrn::controlsStandWhereTheLayoutPutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::newRow("target") << "TargetCnv" << QRect(452, 126, 100, 40);
    QTest::newRow("total") << "TotalCnv" << QRect(452, 202, 100, 40);
    QTest::newRow("points") << "PtsCnv" << QRect(452, 386, 100, 40);
    QTest::newRow("available") << "ScoreCnv" << QRect(452, 317, 100, 26);
    QTest::newRow("instruction") << "instrFld" << QRect(40, 3, 512, 46);
    QTest::newRow("panel") << "sqrsCtrlPanel" << QRect(568, 0, 232, 520);
    QTest::newRow("group") << "sqrsGroupBox" << QRect(588, 336, 192, 150);
    QTest::newRow("start") << "startBtn" << QRect(602, 375, 160, 32);
    QTest::newRow("close") << "closeBtn" << QRect(602, 429, 160, 32);
    QTest::newRow("undo") << "undoBtn" << QRect(622, 271, 120, 22);
    QTest::newRow("difficulty") << "diffMenu" << QRect(682, 208, 60, 20);
    QTest::newRow("focus field beyond the edge") << "stlFocus" << QRect(899, 79, 80, 22);
}

void TestMSqrsScrn::controlsStandWhereTheLayoutPutsThem() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    openFor();
    QWidget* w = part(name);
    QCOMPARE(w->parentWidget(), win()->content());
    QCOMPARE(w->geometry(), place);
}

void TestMSqrsScrn::numberKeysChooseTheFunction_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("function");
    QTest::newRow("1 adds") << "31" << 0;
    QTest::newRow("2 subtracts") << "2" << 1;
    QTest::newRow("3 multiplies") << "3" << 2;
    QTest::newRow("4 divides") << "4" << 3;
    QTest::newRow("5 does nothing") << "35" << 2;
    QTest::newRow("a letter does nothing") << "4a" << 3;
    QTest::newRow("Return does nothing") << "2\r" << 1;
    QTest::newRow("0 does nothing") << "0" << 0;
}

void TestMSqrsScrn::numberKeysChooseTheFunction() {
    QFETCH(QString, keys);
    QFETCH(int, function);
    openFor();
    press(button("startBtn"));
    const auto before = look();
    for (const QChar c : keys) {
        if (c == QLatin1Char('\r'))
            QTest::keyClick(part(QStringLiteral("stlFocus")), Qt::Key_Return);
        else
            key(c.toLatin1());
    }
    QCOMPARE(win()->board().function(), function);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(modeBtn(i)->isChecked(), i == function);
    // The keys reach nothing else: the difficulty, the board and the captions stay.
    QCOMPARE(part<QComboBox>(QStringLiteral("diffMenu"))->currentText(), QStringLiteral("2"));
    QCOMPARE(look().digit, before.digit);
    QCOMPARE(button("startBtn")->myCaption(), QStringLiteral("New Game Board"));
    QVERIFY(part(QStringLiteral("stlFocus"))->hasFocus() || !win()->isActiveWindow());

    // A click on a button chooses too, and pressing the chosen one changes nothing.
    QTest::mouseClick(modeBtn(1), Qt::LeftButton);
    QTest::mouseClick(modeBtn(1), Qt::LeftButton);
    QCOMPARE(win()->board().function(), 1);
    QVERIFY(modeBtn(1)->isChecked());
}

void TestMSqrsScrn::studentPlaysTwoBoardsAndKeepsTheBest() {
    // Signed in on the sign-in window, through game button 2.
    GameTest::enterThroughGameButton(2);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(MSqrsScrn::exists());
    QVERIFY(win()->isVisible());
    QVERIFY(!NameScrn::exists());
    QCOMPARE(myGlobals::gCurPlayer->curStudent, QStringLiteral("Ann Lee"));
    QCOMPARE(infoTxt(1)->text(), QStringLiteral("0"));

    App::myRnd().seed(77);
    press(button("startBtn"));
    QCOMPARE(button("startBtn")->myCaption(), QStringLiteral("New Game Board"));
    QCOMPARE(button("closeBtn")->myCaption(), QStringLiteral("Stop The Game"));
    QCOMPARE(instruction(), QStringLiteral("Click on any square to begin"));
    QCOMPARE(shown("ScoreCnv"), QStringLiteral("55"));
    QVERIFY(value("TargetCnv") >= 9 && value("TargetCnv") <= 96);
    for (auto* sq : squares())
        QVERIFY(sq->accessibleName().toInt() >= 1 && sq->accessibleName().toInt() <= 9);

    // First board: a walk found from the digits; before it, a refused click and a step taken back.
    std::optional<std::vector<Step>> plan;
    for (int tries = 0; tries < 20 && !plan; ++tries) {
        plan = planHit(look());
        if (!plan)
            press(button("startBtn"));
    }
    QVERIFY(plan);
    const int start = plan->front().square;
    clickSquare(start);
    QCOMPARE(instruction(), QStringLiteral("Set function,\nClick adjacent square."));
    QCOMPARE(value("TotalCnv"), look().digit[static_cast<std::size_t>(start)]);
    QCOMPARE(GameTest::lastSound(world->feedback.sounds), QStringLiteral("blip"));
    QVERIFY(!part<QPushButton>(QStringLiteral("undoBtn"))->isEnabled());

    const int far = start < 32 ? start + 18 : start - 18; // two rows away
    clickSquare(far);
    QCOMPARE(instruction(), QStringLiteral("Can only click an ADJACENT square.\nMay NOT click diagonal."));
    QCOMPARE(GameTest::lastSoundKind(world->feedback.sounds), QStringLiteral("wrong"));
    clickSquare(start);
    QCOMPARE(instruction(), QStringLiteral("That square has already been used!"));
    QCOMPARE(GameTest::lastSoundKind(world->feedback.sounds), QStringLiteral("wrong"));
    QCOMPARE(shown("ScoreCnv"), QStringLiteral("55"));

    // A step that misses, then Undo: the square is free again and the total is the one before.
    const long long startTotal = value("TotalCnv");
    const Seen seen = look();
    int missFunction = -1;
    int missSquare = -1;
    for (int m : neighbours(start)) {
        for (int f = 0; f < 4 && missSquare < 0; ++f) {
            if (Squares::applyFunction(f, startTotal, seen.digit[static_cast<std::size_t>(m)]) !=
                seen.target) {
                missFunction = f;
                missSquare = m;
            }
        }
    }
    play({missFunction, missSquare});
    QCOMPARE(shown("ScoreCnv"), QStringLiteral("50"));
    QVERIFY(part<QPushButton>(QStringLiteral("undoBtn"))->isEnabled());
    QCOMPARE(squares()[static_cast<std::size_t>(missSquare)]->accessibleDescription(),
             QStringLiteral("current"));
    QCOMPARE(squares()[static_cast<std::size_t>(start)]->accessibleDescription(), QStringLiteral("used"));
    QTest::mouseClick(part<QPushButton>(QStringLiteral("undoBtn")), Qt::LeftButton);
    QCOMPARE(value("TotalCnv"), startTotal);
    QCOMPARE(squares()[static_cast<std::size_t>(missSquare)]->accessibleDescription(),
             QStringLiteral("free"));
    QCOMPARE(squares()[static_cast<std::size_t>(start)]->accessibleDescription(), QStringLiteral("current"));
    QVERIFY(!part<QPushButton>(QStringLiteral("undoBtn"))->isEnabled());
    QCOMPARE(shown("ScoreCnv"), QStringLiteral("50")); // the step taken back still cost its points

    // The planned walk from the start square hits.
    const std::vector<Step> rest(plan->begin() + 1, plan->end());
    playPlan(rest);
    const long long firstBoard = 55 - 5 * static_cast<long long>(rest.size() + 1);
    QCOMPARE(instruction(), QStringLiteral("Correct!\nCan you keep going?"));
    QCOMPARE(GameTest::lastSoundKind(world->feedback.sounds), QStringLiteral("right"));
    QCOMPARE(value("PtsCnv"), firstBoard);
    QCOMPARE(shown("ScoreCnv"), QStringLiteral("105"));
    QCOMPARE(value("TotalCnv"), look().digit[static_cast<std::size_t>(rest.back().square)]);
    QVERIFY(!part<QPushButton>(QStringLiteral("undoBtn"))->isEnabled());

    // A new board keeps the points; a hit there adds to them.
    press(button("startBtn"));
    QCOMPARE(value("PtsCnv"), firstBoard);
    QCOMPARE(shown("ScoreCnv"), QStringLiteral("55"));
    const std::vector<Step> second = hitOnce();
    const long long points = value("PtsCnv");
    QVERIFY(points > firstBoard);
    QCOMPARE(instruction(), QStringLiteral("Correct!\nCan you keep going?"));

    // Stopping sets the first best.
    world->dialogs.clear();
    press(button("closeBtn"));
    QCOMPARE(world->dialogs.shown.size(), 1);
    QCOMPARE(world->dialogs.shown[0].message,
             QStringLiteral("Congratulations, Ann!\nYou have achieved a new HIGH SCORE"));
    QCOMPARE(world->dialogs.shown[0].explanation, QStringLiteral("Try to beat this score next time."));
    QVERIFY(!world->dialogs.shown[0].isCaution);
    QCOMPARE(GameTest::lastSoundKind(world->feedback.sounds), QStringLiteral("round"));
    QCOMPARE(infoTxt(1)->text(), QString::number(points));
    QCOMPARE(button("closeBtn")->myCaption(), QStringLiteral("Close Screen"));
    QCOMPARE(button("startBtn")->myCaption(), QStringLiteral("Start Game"));

    // The board stays playable after a stop; those points are compared with nothing.
    const Seen after = look();
    QVERIFY(after.current >= 0);

    press(button("closeBtn"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!MSqrsScrn::exists());
    QVERIFY(NameScrn::exists() && NameScrn::instance()->isVisible());
    QCOMPARE(world->storedBest(2), QString::number(points));

    // A second visit with fewer points: "Sorry, ", and the best stays.
    GameTest::waitForSignIn();
    press(GameTest::gameButton(2));
    QVERIFY(MSqrsScrn::exists());
    QCOMPARE(infoTxt(1)->text(), QString::number(points));
    press(button("startBtn"));
    world->dialogs.clear();
    press(button("closeBtn"));
    QCOMPARE(world->dialogs.shown.size(), 1);
    QCOMPARE(world->dialogs.shown[0].message,
             QStringLiteral("Sorry, Ann\nYour total points were 0 which did not improve your score."));
    QCOMPARE(world->dialogs.shown[0].explanation, QStringLiteral("You can try again at any time."));
    QCOMPARE(infoTxt(1)->text(), QString::number(points));
    press(button("closeBtn"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!MSqrsScrn::exists());
    QCOMPARE(myGlobals::gCurPlayer->myZeriScrs.value(2), QString::number(points));
    QCOMPARE(world->storedBest(2), QString::number(points));
    Q_UNUSED(second);
}

void TestMSqrsScrn::undoButtonAndMenuAgree() {
    openFor();
    QAction* undoItem = menuItem("EditUndo");
    auto* undo = part<QPushButton>(QStringLiteral("undoBtn"));
    press(button("startBtn"));
    // A fresh board where the first step from square 0 to square 1 misses (dealt anew until it does).
    for (int i = 0; i < 20; ++i) {
        const Seen s = look();
        if (s.digit[0] + s.digit[1] != s.target)
            break;
        press(button("startBtn"));
    }
    clickSquare(0);
    undoItem->trigger(); // nothing to take back after the first square
    QCOMPARE(win()->board().current(), 0);
    key('1');
    clickSquare(1);
    QVERIFY(undo->isEnabled());
    QVERIFY(win()->board().canUndo());
    const long long before = look().digit[0];
    undoItem->trigger();
    QCOMPARE(value("TotalCnv"), before);
    QCOMPARE(win()->board().current(), 0);
    QVERIFY(!undo->isEnabled());
    undoItem->trigger(); // once only
    QCOMPARE(win()->board().current(), 0);
    QCOMPARE(value("TotalCnv"), before);

    // Ctrl+Z reaches the menu, not the hidden field that holds the keys.
    win()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(win()));
    key('1');
    clickSquare(1);
    QVERIFY(win()->board().canUndo());
    QTest::keyClick(part(QStringLiteral("stlFocus")), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(win()->board().current(), 0);
    QCOMPARE(value("TotalCnv"), before);
}

void TestMSqrsScrn::fileCloseStopsAGameThenCloses() {
    openFor(QStringLiteral("0"));
    press(button("startBtn"));
    menuItem("FileClose")->trigger();
    QVERIFY(MSqrsScrn::exists());
    QCOMPARE(world->dialogs.messages(),
             QStringList{
                 QStringLiteral("Sorry, Ann\nYour total points were 0 which did not improve your score.")});
    QCOMPARE(button("closeBtn")->myCaption(), QStringLiteral("Close Screen"));
    QCOMPARE(button("startBtn")->myCaption(), QStringLiteral("Start Game"));
    // An equal score is no new best.
    QVERIFY(world->feedback.sounds.filter(QStringLiteral("round")).isEmpty());

    menuItem("FileClose")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!MSqrsScrn::exists());
    QCOMPARE(world->student->saves, 0); // nothing changed
    QVERIFY(NameScrn::exists() && NameScrn::instance()->isVisible());
}

void TestMSqrsScrn::closeBoxRecordsNoRunningGameButKeepsAnEarlierBest() {
    openFor(QStringLiteral("0"));
    press(button("startBtn"));
    hitOnce();
    const long long best = value("PtsCnv");
    press(button("closeBtn")); // a new best
    QCOMPARE(world->student->myZeriScrs[2], QString::number(best));

    // Another game, left by the close box while it runs: not compared, not recorded.
    press(button("startBtn"));
    QCOMPARE(value("PtsCnv"), 0LL);
    hitOnce();
    hitOnce();
    world->dialogs.clear();
    win()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!MSqrsScrn::exists());
    QVERIFY(world->dialogs.shown.isEmpty());
    QCOMPARE(world->student->saves, 1);
    QCOMPARE(world->storedBest(2), QString::number(best));
}

void TestMSqrsScrn::activationBringsBackTheStartLine() {
    openFor();
    win()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(win()));
    press(button("startBtn"));
    QCOMPARE(instruction(), QStringLiteral("Click on any square to begin"));
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    win()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(win()));
    QCOMPARE(instruction(), QStringLiteral("Click the <Start Game> button to begin."));
    // The game goes on.
    QCOMPARE(button("closeBtn")->myCaption(), QStringLiteral("Stop The Game"));
}

void TestMSqrsScrn::repaintsDoNotChangeWhatASeedDeals() {
    openFor();
    App::myRnd().seed(11);
    press(button("startBtn"));
    const Seen first = look();

    App::myRnd().seed(11);
    for (int i = 0; i < 5; ++i)
        win()->grab(); // paints the displays with their changing colours
    press(button("startBtn"));
    const Seen second = look();
    QCOMPARE(second.digit, first.digit);
    QCOMPARE(second.target, first.target);
}

void TestMSqrsScrn::helpOpensTopicTwelve() {
    openFor();
    QVERIFY(!menuItem("HelpHelp")->isEnabled()); // no help window yet
    win()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QList<int> topics;
    HelpLink::install([&topics](int topic, QWidget*) { topics << topic; });
    openFor();
    QVERIFY(menuItem("HelpHelp")->isEnabled());
    menuItem("HelpHelp")->trigger();
    menuItem("HelpHelp")->trigger();
    QCOMPARE(topics, (QList<int>{12, 12}));
    // The items the window handles, and an item it does not.
    QVERIFY(menuItem("FileClose")->isEnabled());
    QVERIFY(menuItem("EditUndo")->isEnabled());
    QVERIFY(!menuItem("FileExport")->isEnabled());
}

// With NBR_SHOTS_DIR set, saves the window at the moments worth looking at.
void TestMSqrsScrn::screenshots() {
    if (Look::shotsFolder().isEmpty())
        QSKIP("NBR_SHOTS_DIR not set");
    const auto save = [&](const QString& name, const QImage& image) {
        QVERIFY(Look::saveShot(image, QStringLiteral("squares-") + name + QStringLiteral(".png")));
    };
    const auto shot = [&] {
        return win()->grab().toImage();
    };
    const auto withBox = [&](const TestDoubles::Shown& s) {
        return GameTest::withMessageBox(shot(), s.isCaution, s.message, s.explanation);
    };

    openFor(QStringLiteral("0"));
    save(QStringLiteral("1-start"), shot());

    App::myRnd().seed(3);
    press(button("startBtn"));
    hitOnce();
    save(QStringLiteral("2-after-hit"), shot());

    // A walk that goes below zero and leaves a step to take back.
    const Seen s = look();
    key('2');
    int at = s.current;
    for (int step = 0; step < 6 && value("TotalCnv") >= 0; ++step) {
        const Seen now = look();
        bool moved = false;
        for (int m : neighbours(at)) {
            if (!now.used[static_cast<std::size_t>(m)] &&
                now.total - now.digit[static_cast<std::size_t>(m)] != now.target) {
                clickSquare(m);
                at = m;
                moved = true;
                break;
            }
        }
        if (!moved)
            break;
    }
    save(QStringLiteral("3-mid-game"), shot());

    press(button("closeBtn"));
    save(QStringLiteral("4-high-score"), withBox(world->dialogs.shown.last()));
    press(button("startBtn"));
    press(button("closeBtn"));
    save(QStringLiteral("5-sorry"), withBox(world->dialogs.shown.last()));
}

QTEST_MAIN(TestMSqrsScrn)
#include "tst_msqrsscrn.moc"
