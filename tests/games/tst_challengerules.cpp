// The Math Challenge game without its window: the problems a highest number allows, the card draw,
// the judgement of clicks with their penalties, the clock's bonus, and the card's flight and marker
// positions.

#include "games/challenge/challengerules.h"

#include "scripteddraw.h"

#include <QtTest>

#include <deque>
#include <random>

using Challenge::Game;
using Challenge::Outcome;
using Challenge::Problem;
using GameTest::ScriptedDraw;

namespace {

Problem problem(int top, int function, int missing, int result) {
    return {top, function, missing, result};
}

// A running game whose four problems and card are laid out by hand.
Game gameWith(ScriptedDraw& draw, std::array<Problem, 4> problems, int card) {
    Game g(std::ref(draw));
    g.setHigh(10);
    g.start();
    for (int i = 0; i < 4; ++i)
        g.setProblem(i, problems[static_cast<std::size_t>(i)]);
    g.setCard(card);
    return g;
}

const std::array<Problem, 4> kBoard{problem(6, Challenge::Add, 3, 9), problem(9, Challenge::Subtract, 4, 5),
                                    problem(5, Challenge::Multiply, 4, 20),
                                    problem(24, Challenge::Divide, 8, 3)};

} // namespace

class TestChallengeRules : public QObject {
    Q_OBJECT
private slots:
    void flights_data();
    void flights();
    void flightFromTheLayoutPlaceStopsTwoPixelsRight();
    void markers_data();
    void markers();
    void problemsStayInTheirRanges();
    void clicks_data();
    void clicks();
    void landingsCountAndTheTrashGivesASecond();
    void cardTakenFromASlotOrDrawnFreely();
    void duplicateProblemsAreDrawnAgain();
    void seededGamesNeverRepeatACardOrAProblem();
    void averageOnlyFromAnswers();
    void highestNumberIsKeptWithinItsRange_data();
    void highestNumberIsKeptWithinItsRange();
};

void TestChallengeRules::flights_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<QPoint>("stop");
    QTest::addColumn<int>("steps");
    QTest::newRow("upper left") << 0 << QPoint(99, 129) << 25;
    QTest::newRow("upper right") << 1 << QPoint(399, 129) << 25;
    QTest::newRow("lower left") << 2 << QPoint(99, 329) << 25;
    QTest::newRow("lower right") << 3 << QPoint(399, 329) << 25;
    QTest::newRow("trash") << 4 << QPoint(249, 401) << 43;
}

void TestChallengeRules::flights() {
    QFETCH(int, target);
    QFETCH(QPoint, stop);
    QFETCH(int, steps);
    const Challenge::Flight f = Challenge::flightTo(target);
    QPoint at = Challenge::kCardHome;
    bool arrived = false;
    int taken = 0;
    while (!arrived && taken < 100) {
        at = Challenge::flightStep(at, f, &arrived);
        ++taken;
    }
    QCOMPARE(taken, steps);
    QCOMPARE(at, stop);
}

void TestChallengeRules::flightFromTheLayoutPlaceStopsTwoPixelsRight() {
    QPoint at(251, 229);
    bool arrived = false;
    while (!arrived)
        at = Challenge::flightStep(at, Challenge::flightTo(0), &arrived);
    QCOMPARE(at, QPoint(101, 129));
}

void TestChallengeRules::markers_data() {
    QTest::addColumn<int>("target");
    QTest::addColumn<QPoint>("at");
    QTest::newRow("0") << 0 << QPoint(178, 129);
    QTest::newRow("1") << 1 << QPoint(458, 129);
    QTest::newRow("2") << 2 << QPoint(178, 329);
    QTest::newRow("3") << 3 << QPoint(458, 329);
    QTest::newRow("trash") << 4 << QPoint(319, 440);
    QTest::newRow("other") << 5 << QPoint(0, 0);
    QTest::newRow("none") << -1 << QPoint(0, 0);
}

void TestChallengeRules::markers() {
    QFETCH(int, target);
    QFETCH(QPoint, at);
    QCOMPARE(Challenge::markerAt(target), at);
}

void TestChallengeRules::problemsStayInTheirRanges() {
    std::mt19937 rng(9);
    const auto draw = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    for (int high = 4; high <= 19; ++high) {
        for (int i = 0; i < 400; ++i) {
            const int x = draw(1, high);
            const int f = draw(0, 3);
            const Problem p = Challenge::makeProblem(x, f, high, draw);
            QCOMPARE(p.missing, x);
            QVERIFY(Challenge::completes(p, x));
            switch (f) {
            case Challenge::Add:
                QVERIFY(p.top >= 1 && p.top <= high && p.result >= 2 && p.result <= 2 * high);
                break;
            case Challenge::Subtract:
                QVERIFY(p.top > x && p.top <= high + 1 && p.result >= 1 && p.result <= high);
                break;
            case Challenge::Multiply:
                QVERIFY(p.top >= 1 && p.top <= high && p.result <= high * high);
                break;
            default:
                QVERIFY(p.result >= 1 && p.result <= 9 && p.top == x * p.result);
            }
        }
    }
    QVERIFY(!Challenge::completes(problem(24, Challenge::Divide, 8, 3), 5));
    QVERIFY(!Challenge::completes(problem(24, Challenge::Divide, 8, 3), 0));
}

void TestChallengeRules::clicks_data() {
    QTest::addColumn<int>("card");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("wrong");
    QTest::addColumn<int>("missed");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("marker");
    QTest::addColumn<bool>("slotEmptied");
    // kBoard: slot 0 misses 3, slot 1 misses 4, slot 2 misses 4, slot 3 misses 8.
    QTest::newRow("right slot") << 3 << 0 << int(Outcome::ToSlot) << 0 << 0 << 0 << -1 << true;
    QTest::newRow("fits two slots: the first") << 4 << 1 << int(Outcome::ToSlot) << 0 << 0 << 0 << -1 << true;
    QTest::newRow("fits two slots: the second")
        << 4 << 2 << int(Outcome::ToSlot) << 0 << 0 << 0 << -1 << true;
    QTest::newRow("wrong slot: marker at the lowest fitting")
        << 4 << 3 << int(Outcome::Wrong) << 1 << 0 << 20 << 1 << false;
    QTest::newRow("wrong slot, fits none: marker at the trash")
        << 7 << 0 << int(Outcome::Wrong) << 1 << 0 << 20 << 4 << false;
    QTest::newRow("trash while a slot fits") << 8 << 4 << int(Outcome::Missed) << 0 << 1 << 15 << 3 << false;
    QTest::newRow("trash, rightly") << 7 << 4 << int(Outcome::ToTrash) << 0 << 0 << 0 << -1 << false;
}

void TestChallengeRules::clicks() {
    QFETCH(int, card);
    QFETCH(int, target);
    QFETCH(int, outcome);
    QFETCH(int, wrong);
    QFETCH(int, missed);
    QFETCH(int, seconds);
    QFETCH(int, marker);
    QFETCH(bool, slotEmptied);
    ScriptedDraw draw;
    Game g = gameWith(draw, kBoard, card);
    QVERIFY(g.allowClick());
    QCOMPARE(int(g.click(target)), outcome);
    QVERIFY(!g.allowClick()); // the next click waits for the next card
    QCOMPARE(g.click(target), Outcome::Ignored);
    QCOMPARE(g.wrong(), wrong);
    QCOMPARE(g.missed(), missed);
    QCOMPARE(g.right(), 0); // a placement counts when it lands
    QCOMPARE(g.seconds(), seconds);
    if (marker >= 0)
        QCOMPARE(g.markerTarget(), marker);
    if (target < 4)
        QCOMPARE(g.slotEmpty(target), slotEmptied);
    QCOMPARE(g.isTrash(), outcome == int(Outcome::ToTrash));
}

void TestChallengeRules::landingsCountAndTheTrashGivesASecond() {
    ScriptedDraw draw;
    Game g = gameWith(draw, kBoard, 3);
    for (int i = 0; i < 5; ++i)
        g.tick();
    QCOMPARE(g.click(0), Outcome::ToSlot);
    g.landInSlot();
    QCOMPARE(g.right(), 1);
    QVERIFY(g.isOK());
    QCOMPARE(g.landedSlot(), 0);
    g.endPause();
    QVERIFY(!g.isOK());
    g.deal();
    QVERIFY(!g.slotEmpty(0)); // refilled after the card was drawn
    QVERIFY(g.allowClick());

    // A right trash: a second off, no answer.
    Game t = gameWith(draw, kBoard, 7);
    t.tick();
    t.tick();
    QCOMPARE(t.click(4), Outcome::ToTrash);
    t.landInTrash();
    QVERIFY(!t.isTrash());
    QCOMPARE(t.seconds(), 1);
    QCOMPARE(t.answered(), 0);
    // Never below zero: from 1 second, two more right trashes leave 0.
    for (int trash = 0; trash < 2; ++trash) {
        t.deal();
        t.setCard(7);
        for (int i = 0; i < 4; ++i)
            t.setProblem(i, kBoard[static_cast<std::size_t>(i)]);
        QCOMPARE(t.click(4), Outcome::ToTrash);
        t.landInTrash();
        QCOMPARE(t.seconds(), 0);
    }
}

void TestChallengeRules::cardTakenFromASlotOrDrawnFreely() {
    ScriptedDraw draw;
    Game g = gameWith(draw, kBoard, 5);
    draw.script = {2}; // d = 2: slot 2 is filled, the card is its missing number
    g.deal();
    QCOMPARE(g.card(), 4);
    draw.script = {9, 6}; // d = 9: a free draw
    g.deal();
    QCOMPARE(g.card(), 6);
    draw.script = {7, 6, 10, 6, 1}; // the same card again is drawn anew
    g.deal();
    QCOMPARE(g.card(), 4); // d = 1: slot 1's missing number
    QCOMPARE(g.lastCard(), 4);

    // A new game starts with empty slots: its first card is a free draw, and never the last card.
    ScriptedDraw fresh;
    Game h(std::ref(fresh));
    h.setHigh(10);
    fresh.script = {0, 5};
    h.start();
    QCOMPARE(h.card(), 5); // d = 0 finds slot 0 empty
    fresh.script = {3, 5, 3, 8};
    h.start();
    QCOMPARE(h.card(), 8);
}

void TestChallengeRules::duplicateProblemsAreDrawnAgain() {
    ScriptedDraw draw;
    Game g(std::ref(draw));
    g.setHigh(10);
    // Card: d 5, then 3. Slot 0: x 6, +, top 6 (6 + x = 12). Slot 1: x 2, x, top 6 (6 x x = 12), the same top
    // and result: drawn again as x 3, +, top 4.
    draw.script = {5, 3, 6, 0, 6, 2, 2, 6, 3, 0, 4};
    g.start();
    QCOMPARE(g.topText(0), QStringLiteral("6"));
    QCOMPARE(g.resultText(0), QStringLiteral("12"));
    QCOMPARE(g.problem(1).missing, 3);
    QCOMPARE(g.topText(1), QStringLiteral("4"));
    QCOMPARE(g.resultText(1), QStringLiteral("7"));
}

void TestChallengeRules::seededGamesNeverRepeatACardOrAProblem() {
    for (int high = 4; high <= 19; ++high) {
        std::mt19937 rng(static_cast<unsigned>(high));
        Game g([&rng](int low, int hi) { return std::uniform_int_distribution<int>(low, hi)(rng); });
        g.setHigh(high);
        int last = -1;
        for (int game = 0; game < 3; ++game) {
            if (game > 0)
                last = g.card(); // the last card of the game before
            g.start();
            for (int card = 0; card < 200; ++card) {
                QVERIFY(g.card() != last);
                QVERIFY(g.card() >= 1 && g.card() <= high);
                last = g.card();
                for (int i = 0; i < 4; ++i) {
                    QVERIFY(!g.slotEmpty(i));
                    QVERIFY(Challenge::completes(g.problem(i), g.problem(i).missing));
                    for (int j = i + 1; j < 4; ++j)
                        QVERIFY(g.topText(i) != g.topText(j) || g.resultText(i) != g.resultText(j));
                }
                // Play the card rightly, so that slots empty and refill.
                const int fits = g.fittingSlot();
                const Outcome o = g.click(fits >= 0 ? fits : 4);
                if (o == Outcome::ToSlot) {
                    g.landInSlot();
                    g.endPause();
                } else {
                    QCOMPARE(o, Outcome::ToTrash);
                    g.landInTrash();
                }
                g.deal();
            }
            QCOMPARE(g.wrong() + g.missed(), 0);
        }
    }
}

void TestChallengeRules::averageOnlyFromAnswers() {
    ScriptedDraw draw;
    Game g(std::ref(draw));
    g.setHigh(10);
    g.start();
    QCOMPARE(g.answered(), 0);
    QCOMPARE(g.average(), 0.0); // no division by nothing
    QVERIFY(!g.longEnough());
    for (int i = 0; i < 4; ++i)
        g.setProblem(i, kBoard[static_cast<std::size_t>(i)]);
    for (int i = 0; i < 9; ++i) {
        g.setCard(7);
        g.setAllowClick(true);
        QCOMPARE(g.click(0), Outcome::Wrong);
    }
    QCOMPARE(g.answered(), 9);
    QVERIFY(!g.longEnough());
    g.setCard(8);
    g.setAllowClick(true);
    QCOMPARE(g.click(4), Outcome::Missed);
    QVERIFY(g.longEnough());
    QCOMPARE(g.seconds(), 9 * 20 + 15);
    QCOMPARE(g.average(), 19.5);
    g.stop();
    QVERIFY(!g.inProgress());
    QVERIFY(!g.allowClick());
}

void TestChallengeRules::highestNumberIsKeptWithinItsRange_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("used");
    QTest::newRow("none") << 0 << 4;
    QTest::newRow("1") << 1 << 4;
    QTest::newRow("4") << 4 << 4;
    QTest::newRow("12") << 12 << 12;
    QTest::newRow("19") << 19 << 19;
    QTest::newRow("40") << 40 << 19;
    QTest::newRow("negative") << -3 << 4;
}

void TestChallengeRules::highestNumberIsKeptWithinItsRange() {
    QFETCH(int, stored);
    QFETCH(int, used);
    std::mt19937 rng(1);
    Game g([&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); });
    g.setHigh(stored);
    QCOMPARE(g.high(), used);
    g.start(); // a card other than the last always exists
    for (int i = 0; i < 50; ++i)
        g.deal();
    QVERIFY(g.card() >= 1 && g.card() <= used);
}

QTEST_GUILESS_MAIN(TestChallengeRules)
#include "tst_challengerules.moc"
