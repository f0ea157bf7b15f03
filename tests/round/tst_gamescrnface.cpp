#include "roundfixture.h"

#include "app/helplink.h"
#include "app/menus.h"
#include "app/picts.h"
#include "controls/picturecanvas.h"
#include "round/digitcells.h"
#include "round/problemdisplay.h"

#include <QMenu>
#include <QMenuBar>
#include <QWindow>

using namespace RoundTest;
using ProblemDisplay::kBlank;
using ProblemDisplay::kMinus;

namespace {

using Picts = std::array<int, 5>;

GameScrn* replaying(const QList<Problem>& problems) {
    myGlobals::gMySet = std::make_shared<FixedSet>(problems);
    myGlobals::gUseLastGame = true;
    myGlobals::gLastTot = static_cast<int>(problems.size());
    return openRound();
}

DigitCell* cell(QWidget* w, int i) {
    return part<DigitCell>(w, QStringLiteral("digitCnv%1").arg(i));
}

Picts shownPicts(QWidget* w) {
    Picts p{};
    for (int i = 0; i < 5; ++i)
        p[i] = cell(w, i)->whichPict();
    return p;
}

Picts offsets(QWidget* w) {
    Picts p{};
    for (int i = 0; i < 5; ++i)
        p[i] = cell(w, i)->offset();
    return p;
}

// A control's top-left corner in the window's content.
QPoint at(QWidget* w, const QString& name) {
    QWidget* c = part(w, name);
    return c->mapTo(part(w, QStringLiteral("content")), QPoint(0, 0));
}

QTimer* rollTimer(QWidget* w, int cellIndex) {
    return part<QTimer>(w, cellIndex < 3 ? QStringLiteral("topTimer%1").arg(cellIndex)
                                         : QStringLiteral("botTimer%1").arg(cellIndex - 3));
}

// One 50 ms step of every roll-in timer that is running: the timers that run when the step begins
// each step their cell once.
void rollStep(GameScrn* w) {
    std::array<bool, 5> running{};
    for (int i = 0; i < 5; ++i)
        running[i] = rollTimer(w, i)->isActive();
    for (int i = 0; i < 3; ++i) {
        if (running[i])
            w->topTimer_Action(i);
    }
    for (int i = 0; i < 2; ++i) {
        if (running[3 + i])
            w->botTimer_Action(i);
    }
}

bool anyRolling(QWidget* w) {
    for (int i = 0; i < 5; ++i) {
        if (rollTimer(w, i)->isActive())
            return true;
    }
    return false;
}

QString operandPicture(QWidget* w) {
    return part(w, "OperandCnv")->property("picture").toString();
}

void typeInto(QComboBox* box, const QString& text) {
    box->lineEdit()->selectAll();
    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(box->lineEdit(), text);
}

QAction* menuItem(QMainWindow* w, const char* name) {
    return static_cast<Menus::Bar*>(w->menuBar())->item(QString::fromLatin1(name));
}

} // namespace

Q_DECLARE_METATYPE(Picts)

class TestGameScrnFace : public QObject {
    Q_OBJECT
private slots:
    void digitCells_data();
    void digitCells();
    void windowLayout_data();
    void windowLayout();
    void settingsReadOut_data();
    void settingsReadOut();
    void problemsShowInTheirCells();
    void digitsRollIn();
    void firstNumberAskedOnlyInTheHorizontalLayout_data();
    void firstNumberAskedOnlyInTheHorizontalLayout();
    void roundIsSpoken();
    void silentWithoutSpeech();
    void fileCloseLeavesWithoutSaving_data();
    void fileCloseLeavesWithoutSaving();
    void menusWhileTheRoundIsInFront();
    void helpOpensThePageOnPlaying();
    void closedFromOutsideSaves_data();
    void closedFromOutsideSaves();
};

void TestGameScrnFace::digitCells_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("unknown");
    QTest::addColumn<Picts>("picts");
    QTest::addColumn<bool>("neg0");
    QTest::addColumn<bool>("neg1");
    QTest::addColumn<int>("operandLeft");
    QTest::addColumn<int>("neg1Left"); // -1: sign cell 1 stays where it is

    const int B = kBlank, M = kMinus;
    QTest::newRow("7 over 5") << 7 << 5 << true << 0 << Picts{B, B, 7, B, 5} << false << false << 320 << -1;
    QTest::newRow("42 over 13") << 42 << 13 << true << 0 << Picts{B, 4, 2, 1, 3} << false << false << 320
                                << -1;
    QTest::newRow("144") << 144 << 1 << true << 0 << Picts{1, 4, 4, B, 1} << false << false << 320 << -1;
    QTest::newRow("0") << 0 << 0 << true << 0 << Picts{B, B, 0, B, 0} << false << false << 320 << -1;
    QTest::newRow("105") << 105 << 7 << true << 0 << Picts{1, 0, 5, B, 7} << false << false << 320 << -1;
    QTest::newRow("100 over 10") << 100 << 10 << true << 0 << Picts{1, 0, 0, 1, 0} << false << false << 320
                                 << -1;
    QTest::newRow("-5") << -5 << 2 << true << 0 << Picts{B, M, 5, B, 2} << false << false << 320 << -1;
    QTest::newRow("-42") << -42 << 2 << true << 0 << Picts{M, 4, 2, B, 2} << false << false << 320 << -1;
    QTest::newRow("-144") << -144 << 2 << true << 0 << Picts{1, 4, 4, B, 2} << true << false << 320 << -1;
    QTest::newRow("bottom -5, vertical")
        << 9 << -5 << true << 0 << Picts{B, B, 9, M, 5} << false << false << 321 << 237;
    QTest::newRow("bottom -12, vertical")
        << 9 << -12 << true << 0 << Picts{B, B, 9, 1, 2} << false << true << 296 << 337;
    QTest::newRow("bottom -5, horizontal")
        << 9 << -5 << false << 0 << Picts{B, B, 9, M, 5} << false << false << 335 << -1;
    QTest::newRow("bottom -12, horizontal")
        << 9 << -12 << false << 0 << Picts{B, B, 9, 1, 2} << false << true << 321 << 368;
    QTest::newRow("bottom 5, horizontal, first asked")
        << 12 << 5 << false << 1 << Picts{B, 1, 2, B, 5} << false << false << 283 << -1;
    QTest::newRow("bottom -12, horizontal, first asked")
        << 12 << -12 << false << 1 << Picts{B, 1, 2, 1, 2} << false << true << 269 << 312;
    // Numbers the cells cannot hold show as a blank row, never as a picture past the table.
    QTest::newRow("first row past 999")
        << 1150 << 5 << true << 0 << Picts{B, B, B, B, 5} << false << false << 320 << -1;
    QTest::newRow("first row below -999")
        << -4321 << 5 << false << 1 << Picts{B, B, B, B, 5} << false << false << 283 << -1;
    QTest::newRow("second row past 99")
        << 5 << 120 << true << 0 << Picts{B, B, 5, B, B} << false << false << 320 << -1;
    QTest::newRow("second row below -99")
        << 5 << -150 << false << 0 << Picts{B, B, 5, B, B} << false << false << 335 << -1;
}

void TestGameScrnFace::digitCells() {
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(bool, vertical);
    QFETCH(int, unknown);
    QFETCH(Picts, picts);
    QFETCH(bool, neg0);
    QFETCH(bool, neg1);
    QFETCH(int, operandLeft);
    QFETCH(int, neg1Left);
    const ProblemDisplay::Cells c = ProblemDisplay::cellsFor(first, second, vertical, unknown);
    QCOMPARE(c.whichPict, picts);
    QCOMPARE(c.showNeg[0], neg0);
    QCOMPARE(c.showNeg[1], neg1);
    QCOMPARE(c.operandLeft, operandLeft);
    QCOMPARE(c.negCnv1Left.value_or(-1), neg1Left);
}

void TestGameScrnFace::windowLayout_data() {
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<int>("unknown");
    QTest::newRow("vertical") << false << 0;
    QTest::newRow("vertical, first number stored as asked") << false << 1;
    QTest::newRow("horizontal, result asked") << true << 0;
    QTest::newRow("horizontal, first number asked") << true << 1;
}

void TestGameScrnFace::windowLayout() {
    QFETCH(bool, horizontal);
    QFETCH(int, unknown);
    World world;
    world.setParam(StRecord::HorizontalParam, horizontal ? QStringLiteral("1") : QStringLiteral("0"));
    world.setParam(StRecord::UnknownParam, QString::number(unknown));
    GameScrn* w = openRound();
    QCOMPARE(w->windowTitle(), QStringLiteral("Numbrook Riza"));
    QCOMPARE(part(w, "content")->size(), QSize(876, 560));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(!(w->windowFlags() & Qt::WindowCloseButtonHint));

    const ProblemDisplay::Area area = ProblemDisplay::area(!horizontal, horizontal ? unknown : 0);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(at(w, QStringLiteral("topWell%1").arg(i)), area.topWell[i]);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(at(w, QStringLiteral("botWell%1").arg(i)), area.botWell[i]);
    // The digit cells stand inside their wells.
    QCOMPARE(at(w, "digitCnv2"), area.topWell[2] + QPoint(6, 6));
    QCOMPARE(at(w, "digitCnv4"), area.botWell[1] + QPoint(6, 7));
    QCOMPARE(at(w, "OperandCnv"), area.operand);
    QCOMPARE(at(w, "negCnv0"), area.negCnv0);
    QCOMPARE(at(w, "negCnv1"), area.negCnv1);
    QCOMPARE(at(w, "Answer"), area.answer);
    QCOMPARE(part(w, "Line1")->isVisible(), !horizontal);
    QCOMPARE(part(w, "EqSign")->isVisible(), horizontal);
    if (horizontal)
        QCOMPARE(at(w, "EqSign"), area.eqSign);
    if (!horizontal) {
        QCOMPARE(area.topWell[0], QPoint(330, 60));
        QCOMPARE(area.answer, QPoint(350, 180));
    } else if (unknown == 0) {
        QCOMPARE(area.answer, QPoint(494, 116));
        QCOMPARE(area.eqSign, QPoint(469, 114));
    } else {
        QCOMPARE(area.answer, QPoint(172, 116));
        QCOMPARE(area.topWell[0], QPoint(471, 112));
    }
    QVERIFY(!answerField(w)->isVisible());

    // The panel and the fixed controls.
    QCOMPARE(at(w, "CtrlPCnv"), QPoint(630, 0));
    QCOMPARE(at(w, "contBtn0"), QPoint(680, 304));
    QCOMPARE(at(w, "contBtn3"), QPoint(680, 462));
    QCOMPARE(QRect(at(w, "repeatBtn"), part(w, "repeatBtn")->size()), QRect(695, 340, 16, 16));
    QCOMPARE(QRect(at(w, "repeatTxt"), part(w, "repeatTxt")->size()), QRect(723, 338, 100, 20));
    QCOMPARE(at(w, "settingTxt3"), QPoint(767, 136));
    QCOMPARE(at(w, "hiNumFld"), QPoint(767, 164));
    QCOMPARE(at(w, "totProbFld"), QPoint(768, 194));
    QCOMPARE(at(w, "ScrTherm"), QPoint(588, 43));
    QCOMPARE(at(w, "MissBkgCnv"), QPoint(16, 32));
    QCOMPARE(at(w, "missedBox"), QPoint(26, 40));
    QCOMPARE(part<QComboBox>(w, "hiNumFld")->count(), 16);
    QCOMPARE(part<QComboBox>(w, "totProbFld")->count(), 9);
    QCOMPARE(part<QComboBox>(w, "totProbFld")->itemText(8), QStringLiteral("20"));
    // The keyboard field lies beyond the content's right edge, so it is never seen.
    QVERIFY(at(w, "stlFocus").x() >= 876);
    QCOMPARE(textOf(w, "NameFld"), QStringLiteral("Ann Lee"));
    QCOMPARE(operandPicture(w), QStringLiteral("NoStar"));
    QCOMPARE(shownPicts(w), (Picts{kBlank, kBlank, kBlank, kBlank, kBlank}));
}

void TestGameScrnFace::settingsReadOut_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<QString>("negatives");
    QTest::addColumn<QStringList>("readOut");
    QTest::newRow("random mix, fact family, negatives")
        << 0 << "4"
        << "3/7"
        << "1" << QStringList{"Random", "15", "Yes", "3 and 7"};
    QTest::newRow("fixed number") << 1 << "2"
                                  << "7"
                                  << "0" << QStringList{"Multiplication", "15", "No", "7"};
    QTest::newRow("two random numbers") << 0 << "3"
                                        << "0"
                                        << "2" << QStringList{"Division", "15", "No", "No"};
    QTest::newRow("teacher's sets") << 2 << "1"
                                    << "7"
                                    << "1" << QStringList{"", "15", "", ""};
}

void TestGameScrnFace::settingsReadOut() {
    QFETCH(int, source);
    QFETCH(QString, operation);
    QFETCH(QString, numbers);
    QFETCH(QString, negatives);
    QFETCH(QStringList, readOut);
    World world;
    myPrefs::prDataSource = source;
    world.setParam(StRecord::OperationParam, operation);
    world.setParam(StRecord::NumbersParam, numbers);
    world.setParam(StRecord::NegativesParam, negatives);
    world.setParam(StRecord::SecondsParam, QStringLiteral("15"));
    GameScrn* w = openRound();
    QStringList shown;
    for (int i = 0; i < 4; ++i)
        shown << textOf(w, QStringLiteral("settingTxt%1").arg(i));
    QCOMPARE(shown, readOut);
    QCOMPARE(part(w, "warnTxt")->isVisible(), source == 2);
}

// Each problem's numbers in their cells, the operation's picture, and the separate minus signs placed
// and cleared problem by problem.
void TestGameScrnFace::problemsShowInTheirCells() {
    World world;
    myPicts::loadPics();
    GameScrn* w = replaying({{-144, 1, -12}, {7, 0, 5}, {56, 3, 8}});
    press(w, 0);
    QCOMPARE(shownPicts(w), (Picts{1, 4, 4, 1, 2}));
    QCOMPARE(offsets(w), (Picts{0, 0, 0, 0, 0})); // no animation: in place at once
    QVERIFY(part<SignCell>(w, "negCnv0")->showNeg());
    QVERIFY(part<SignCell>(w, "negCnv1")->showNeg());
    QCOMPARE(at(w, "OperandCnv").x(), 296);
    QCOMPARE(at(w, "negCnv1").x(), 337);
    QCOMPARE(operandPicture(w), QStringLiteral("Prim_Minus3"));

    answer(w, QStringLiteral("-132"));
    QCOMPARE(shownPicts(w), (Picts{kBlank, kBlank, 7, kBlank, 5}));
    QVERIFY(!part<SignCell>(w, "negCnv0")->showNeg());
    QVERIFY(!part<SignCell>(w, "negCnv1")->showNeg());
    QCOMPARE(at(w, "OperandCnv").x(), 320);
    QCOMPARE(operandPicture(w), QStringLiteral("Prim_Zeri3"));
    answer(w, QStringLiteral("12"));
    QCOMPARE(operandPicture(w), QStringLiteral("Prim_Div3"));
    answer(w, QStringLiteral("7"));

    // After the round: blank cells, the empty star in the operation cell, no minus signs.
    QVERIFY(!roundRunning(w));
    QCOMPARE(shownPicts(w), (Picts{kBlank, kBlank, kBlank, kBlank, kBlank}));
    QCOMPARE(operandPicture(w), QStringLiteral("NoStar"));

    // Every cell draws its digit's picture, and a plain figure when the picture is missing.
    press(w, 0);
    const auto shown = [w](const QString& name) {
        return part(w, name)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    for (int i = 0; i < 5; ++i) {
        const QImage picture = myPicts::digit(cell(w, i)->whichPict()).toImage();
        QVERIFY(!picture.isNull());
        QCOMPARE(shown(QStringLiteral("digitCnv%1").arg(i)), picture.convertToFormat(QImage::Format_RGB32));
    }
    QCOMPARE(shown("negCnv0"), myPicts::digit(myPicts::kMinus).toImage().convertToFormat(QImage::Format_RGB32));
    myPicts::numPicts() = {};
    const auto ink = [](const QImage& image) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 80 ? 1 : 0;
        }
        return dark;
    };
    // Cells 1 and 2 both show a 4, cell 0 a 1: the same figure alike, another figure otherwise.
    const QImage one = shown("digitCnv0"), four = shown("digitCnv1");
    QVERIFY(ink(one) > 20 && ink(four) > ink(one));
    QCOMPARE(shown("digitCnv2"), four);
    // A plain minus sign: a bar across the middle, nothing at the top.
    const QImage minus = shown("negCnv0");
    QVERIFY(qGray(minus.pixel(12, 16)) < 80);
    QVERIFY(qGray(minus.pixel(12, 2)) > 80);
}

void TestGameScrnFace::digitsRollIn() {
    World world;
    myPrefs::prNoAnim = false;
    GameScrn* w = replaying({{42, 0, 13}, {7, 0, 5}});
    QCOMPARE(rollTimer(w, 0)->interval(), 50);
    // The test steps the roll-in itself.
    for (int i = 0; i < 5; ++i)
        rollTimer(w, i)->setInterval(3600 * 1000);
    // The blanks of the opening roll in; let them settle.
    while (anyRolling(w))
        rollStep(w);
    press(w, 0);
    QCOMPARE(shownPicts(w), (Picts{kBlank, 4, 2, 1, 3}));
    QCOMPARE(offsets(w), (Picts{32, 32, 32, 32, 32}));
    QVERIFY(rollTimer(w, 0)->isActive() && rollTimer(w, 3)->isActive());
    QVERIFY(!rollTimer(w, 1)->isActive() && !rollTimer(w, 2)->isActive() && !rollTimer(w, 4)->isActive());

    // 4 pixels a step, 50 ms a step; the next cell of a row starts when the one before is halfway.
    const QList<std::pair<int, Picts>> expected{
        {4, {16, 32, 32, 16, 32}}, {8, {0, 16, 32, 0, 16}}, {12, {0, 0, 16, 0, 0}}, {16, {0, 0, 0, 0, 0}}};
    int steps = 0;
    for (const auto& [after, at] : expected) {
        while (steps < after) {
            rollStep(w);
            ++steps;
        }
        QCOMPARE(offsets(w), at);
    }
    QVERIFY(!anyRolling(w));

    // A problem answered while its digits still rise: the next problem starts its own roll-in.
    answer(w, QStringLiteral("55"));
    rollStep(w);
    rollStep(w);
    answer(w, QStringLiteral("12"));
    QVERIFY(!roundRunning(w));
    QCOMPARE(offsets(w), (Picts{32, 32, 32, 32, 32}));
    QVERIFY(rollTimer(w, 0)->isActive());

    // With animation off the digits stand in place at once, and the blanking still rolls in.
    myPrefs::prNoAnim = true;
    press(w, 0);
    QCOMPARE(offsets(w), (Picts{0, 0, 0, 0, 0}));
    finishRight(w);
    QCOMPARE(offsets(w), (Picts{32, 32, 32, 32, 32}));
    QVERIFY(rollTimer(w, 0)->isActive());

    // The real timers take the cells all the way.
    for (int i = 0; i < 5; ++i)
        rollTimer(w, i)->setInterval(50);
    QTRY_COMPARE_WITH_TIMEOUT(offsets(w), (Picts{0, 0, 0, 0, 0}), 3000);
    QVERIFY(!anyRolling(w));
}

void TestGameScrnFace::firstNumberAskedOnlyInTheHorizontalLayout_data() {
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<Picts>("picts");
    QTest::addColumn<QString>("right");
    QTest::newRow("horizontal: the result stands in the first row")
        << true << Picts{kBlank, kBlank, 7, kBlank, 4} << "3";
    QTest::newRow("vertical: the result is asked") << false << Picts{kBlank, kBlank, 3, kBlank, 4} << "7";
}

void TestGameScrnFace::firstNumberAskedOnlyInTheHorizontalLayout() {
    QFETCH(bool, horizontal);
    QFETCH(Picts, picts);
    QFETCH(QString, right);
    World world;
    world.setParam(StRecord::HorizontalParam, horizontal ? QStringLiteral("1") : QStringLiteral("0"));
    world.setParam(StRecord::UnknownParam, QStringLiteral("1"));
    world.setParam(StRecord::SpeechParam, QStringLiteral("1"));
    GameScrn* w = replaying({{3, 0, 4}});
    press(w, 0);
    QCOMPARE(shownPicts(w), picts);
    // The problem is spoken only while the result is asked: spoken, it would give the first number away.
    QCOMPARE(part<QTimer>(w, "speakDelay")->isActive(), !horizontal);
    w->speakDelay_Action();
    QCOMPARE(world.speech.said.isEmpty(), horizontal);
    answer(w, right);
    QVERIFY(!roundRunning(w));
    QCOMPARE(part(w, "Star")->property("picture").toString(), QStringLiteral("smallstar"));
}

// Everything a round with speech says, in order, word for word.
void TestGameScrnFace::roundIsSpoken() {
    World world;
    world.setParam(StRecord::SpeechParam, QStringLiteral("1"));
    GameScrn* w = replaying({{7, 0, 5}, {9, 1, -12}, {-6, 2, 7}, {12, 3, 3}});
    auto* speak = part<QTimer>(w, "speakDelay");
    auto* result = part<QTimer>(w, "resultSpeak");
    QCOMPARE(speak->interval(), 800);
    QCOMPARE(result->interval(), 1500);
    press(w, 0);
    QVERIFY(speak->isActive());
    w->speakDelay_Action();
    QVERIFY(!speak->isActive());

    // Space twice before the speech is due: one repetition, and no blank in the answer.
    speak->setInterval(20);
    QTest::keyClick(answerField(w), Qt::Key_Space);
    QTest::keyClick(answerField(w), Qt::Key_Space);
    QVERIFY(answerField(w)->text().isEmpty());
    QCOMPARE(world.feedback.beeps, 0);
    QTRY_COMPARE(world.speech.said.size(), 2);
    QTest::qWait(60);
    QCOMPARE(world.speech.said.size(), 2);
    speak->setInterval(3600 * 1000);
    answer(w, QStringLiteral("11")); // a wrong try that leaves tries
    answer(w, QStringLiteral("12"));
    // Problem 2 is answered before its speech is due: it is never spoken, and problem 3 is.
    QVERIFY(speak->isActive());
    for (const char* wrong : {"11", "22", "33"})
        answer(w, QString::fromLatin1(wrong)); // the last try ends the problem and says nothing
    w->speakDelay_Action();
    answer(w, QStringLiteral("-42"));
    answer(w, QStringLiteral("5"));
    answer(w, QStringLiteral("6"));
    answer(w, QStringLiteral("7"));
    QVERIFY(!roundRunning(w));
    QVERIFY(!speak->isActive());
    w->speakDelay_Action(); // a late problem speech after the round says nothing
    QVERIFY(result->isActive());
    w->resultSpeak_Action();
    QCOMPARE(
        world.speech.said,
        (QStringList{"problem number 1. 7 plus 5", "problem number 1. 7 plus 5", "Wrong. try again",
                     "Wrong. try again", "Wrong. try again", "problem number 3.  negative 6 times 7",
                     "Wrong. try again", "Wrong. try again",
                     "Nice Try. The missed problems are: 9  minus  negative 12 equals 21. 12  divided by  3 "
                     "equals 4. "}));
    QCOMPARE(world.speech.stops, 0); // nothing is ever cut off

    // A perfect round speaks its shown message; a new round keeps the old result from being spoken.
    world.speech.said.clear();
    press(w, 0);
    QVERIFY(!result->isActive());
    w->speakDelay_Action();
    answer(w, QStringLiteral("12"));
    answer(w, QStringLiteral("21"));
    answer(w, QStringLiteral("-42"));
    answer(w, QStringLiteral("4"));
    w->resultSpeak_Action();
    QCOMPARE(world.speech.said.last(), QStringLiteral("Well Done, Ann.\nYou were perfect this round!!!"));
}

void TestGameScrnFace::silentWithoutSpeech() {
    World world;
    GameScrn* w = replaying({{7, 0, 5}, {9, 1, 12}});
    press(w, 0);
    QVERIFY(!part<QTimer>(w, "speakDelay")->isActive());
    QTest::keyClick(answerField(w), Qt::Key_Space);
    QCOMPARE(world.feedback.beeps, 1);
    answer(w, QStringLiteral("11"));
    answer(w, QStringLiteral("12"));
    for (const char* wrong : {"1", "2", "3"})
        answer(w, QString::fromLatin1(wrong));
    QVERIFY(!part<QTimer>(w, "resultSpeak")->isActive());
    QVERIFY(world.speech.said.isEmpty());
}

void TestGameScrnFace::fileCloseLeavesWithoutSaving_data() {
    QTest::addColumn<QString>("stage");
    QTest::newRow("before a round") << "before";
    QTest::newRow("during a round") << "during";
    QTest::newRow("after a round") << "after";
}

void TestGameScrnFace::fileCloseLeavesWithoutSaving() {
    QFETCH(QString, stage);
    World world;
    world.setParam(StRecord::SpeechParam, QStringLiteral("1"));
    GameScrn* w = replaying({{7, 0, 5}, {9, 1, 12}, {6, 2, 7}});
    if (stage != QLatin1String("before")) {
        press(w, 0);
        answer(w, QStringLiteral("12"));
    }
    if (stage == QLatin1String("after"))
        finishRight(w);
    // A typed setting is given up with the counts.
    typeInto(part<QComboBox>(w, "totProbFld"), QStringLiteral("6"));
    QPointer<GameScrn> window(w);
    menuItem(w, "FileClose")->trigger();
    QVERIFY(!GameScrn::exists());
    QVERIFY(NameScrn::instance()->isVisible());
    QCOMPARE(world.student->saves, 0);
    QCOMPARE(world.stored(QStringLiteral("stAdd")).value(4), QStringLiteral("8/9"));
    QCOMPARE(world.stored(QStringLiteral("stParam")).value(StRecord::ProblemsParam), QStringLiteral("10"));
    // The round's timers end with the window: nothing is spoken or counted afterwards.
    const int said = world.speech.said.size();
    QTRY_VERIFY(window.isNull());
    QTest::qWait(100);
    QCOMPARE(world.speech.said.size(), said);
}

void TestGameScrnFace::menusWhileTheRoundIsInFront() {
    World world;
    GameScrn* w = replaying({{7, 0, 5}});
    QVERIFY(qobject_cast<MenuBar1*>(w->menuBar()));
    QVERIFY(menuItem(w, "FileClose")->isEnabled());
    QVERIFY(menuItem(w, "FileQuit")->isEnabled());
    emit static_cast<Menus::Bar*>(w->menuBar())->menu(QStringLiteral("AdminMenu"))->aboutToShow();
    QVERIFY(!menuItem(w, "AdminPreferences")->isEnabled());
    // Commands of windows that are not there are offered by nobody here.
    for (const char* item : {"HelpHelp", "AdminClassLists", "AdminCreate", "FilePrint", "HallofFameShowList"})
        QVERIFY2(!menuItem(w, item)->isEnabled(), item);
    press(w, 0);
    QVERIFY(!menuItem(w, "AdminPreferences")->isEnabled());
}

void TestGameScrnFace::helpOpensThePageOnPlaying() {
    World world;
    QList<std::pair<int, QWidget*>> opened;
    HelpLink::install([&](int topic, QWidget* from) { opened.append({topic, from}); });
    GameScrn* w = replaying({{7, 0, 5}});
    QVERIFY(menuItem(w, "HelpHelp")->isEnabled());
    menuItem(w, "HelpHelp")->trigger();
    HelpLink::install({});
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().first, 1);
    QCOMPARE(opened.first().second, w);
}

void TestGameScrnFace::closedFromOutsideSaves_data() {
    QTest::addColumn<bool>("quit");
    QTest::addColumn<bool>("finished");
    // The rows that quit come last: the program stays quitting for the rest of the run.
    QTest::newRow("window manager, after a perfect round") << false << true;
    QTest::newRow("window manager, during a round") << false << false;
    QTest::newRow("quit, after a perfect round") << true << true;
    QTest::newRow("quit, during a round") << true << false;
}

// The window manager's close box (or Alt+F4) and Quit close the round window the way the action
// buttons leave it: the counts and the typed settings are stored, once, with the round stopped. After
// a close box the sign-in window takes over; after Quit no window does.
void TestGameScrnFace::closedFromOutsideSaves() {
    QFETCH(bool, quit);
    QFETCH(bool, finished);
    World world;
    world.setParam(StRecord::SpeechParam, QStringLiteral("1"));
    GameScrn* w = replaying({{7, 0, 5}, {9, 1, 12}});
    press(w, 0);
    answer(w, QStringLiteral("12"));
    if (finished) {
        finishRight(w);
        QCOMPARE(caption(w), QStringLiteral("Play Again"));
    }
    typeInto(part<QComboBox>(w, "totProbFld"), QStringLiteral("6"));
    NameScrn::instance()->hide();
    QPointer<GameScrn> window(w);
    if (quit) {
        menuItem(w, "FileQuit")->trigger();
        QVERIFY(Menus::quitting());
    } else {
        // What the window manager's close box does: a close event from the platform, not from us.
        QVERIFY(w->windowHandle()->close());
    }
    QVERIFY(!GameScrn::exists());
    QCOMPARE(world.student->saves, 1);
    QVERIFY(!world.student->timersRunningAtSave);
    QCOMPARE(world.stored(QStringLiteral("stAdd")).value(4), QStringLiteral("9/10"));
    QCOMPARE(world.stored(QStringLiteral("stSub")).value(11),
             finished ? QStringLiteral("9/10") : QStringLiteral("8/9"));
    QCOMPARE(world.stored(QStringLiteral("stParam")).value(StRecord::ProblemsParam), QStringLiteral("6"));
    QCOMPARE(NameScrn::instance()->isVisible(), !quit);
    const int said = world.speech.said.size();
    QTRY_VERIFY(window.isNull());
    QTest::qWait(100);
    QCOMPARE(world.speech.said.size(), said);
    QCOMPARE(world.student->saves, 1);
}

QTEST_MAIN(TestGameScrnFace)
#include "tst_gamescrnface.moc"
