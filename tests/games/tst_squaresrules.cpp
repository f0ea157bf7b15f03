// The Math Squares game without its window: walks on boards laid out by hand, the points a target is
// worth, the one step of undo, and seeded games played at random that must keep the game's promises.

#include "games/squares/squaresrules.h"

#include "scripteddraw.h"

#include <QtTest>

#include <deque>
#include <random>

using GameTest::ScriptedDraw;
using Squares::Board;
using Squares::Outcome;

namespace {

// A board of ones with the given digits put in, the walk not started, and the target set.
Board boardOf(std::initializer_list<std::pair<int, int>> digits, int target, int function = Squares::Add) {
    Board b([](int low, int) { return low; });
    b.startGame();
    std::array<int, Squares::kSquares> d{};
    d.fill(1);
    for (const auto& [square, digit] : digits)
        d[static_cast<std::size_t>(square)] = digit;
    b.setDigits(d);
    b.setTarget(target);
    b.setFunction(function);
    return b;
}

int usedCount(const Board& b) {
    int n = 0;
    for (int k = 0; k < Squares::kSquares; ++k)
        n += b.isUsed(k) ? 1 : 0;
    return n;
}

} // namespace

class TestSquaresRules : public QObject {
    Q_OBJECT
private slots:
    void adjacency_data();
    void adjacency();
    void displayPattern_data();
    void displayPattern();
    void functions_data();
    void functions();
    void bestIsBeatenOnlyByMore_data();
    void bestIsBeatenOnlyByMore();
    void clicksBeforeAndAtTheStartOfAWalk();
    void pointsPerTarget_data();
    void pointsPerTarget();
    void secondTargetIsWorthMore();
    void multiplyingPastTheDisplaysIsRefused();
    void undoGivesBackTheTotalTheStudentHad();
    void undoOnlyRightAfterAMiss();
    void newBoardKeepsPointsNewGameClearsThem();
    void targetsFollowTheDifficulty();
    void seededGamesKeepTheirPromises();
};

void TestSquaresRules::adjacency_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("adjacent");
    QTest::newRow("end of a row to the start of the next") << 7 << 8 << false;
    QTest::newRow("start of a row back to the end of the one before") << 8 << 7 << false;
    QTest::newRow("below") << 15 << 23 << true;
    QTest::newRow("above") << 9 << 1 << true;
    QTest::newRow("left") << 9 << 8 << true;
    QTest::newRow("right") << 9 << 10 << true;
    QTest::newRow("down") << 9 << 17 << true;
    QTest::newRow("diagonal up left") << 9 << 0 << false;
    QTest::newRow("diagonal up right") << 9 << 2 << false;
    QTest::newRow("diagonal down left") << 9 << 16 << false;
    QTest::newRow("diagonal down right") << 9 << 18 << false;
    QTest::newRow("two along") << 9 << 11 << false;
    QTest::newRow("itself") << 9 << 9 << false;
    QTest::newRow("last square, left") << 63 << 62 << true;
    QTest::newRow("off the board") << 63 << 64 << false;
    QTest::newRow("no current square") << -1 << 0 << false;
}

void TestSquaresRules::adjacency() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, adjacent);
    QCOMPARE(Squares::isAdjacent(from, to), adjacent);
}

void TestSquaresRules::displayPattern_data() {
    QTest::addColumn<qlonglong>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("zero") << 0LL << "00";
    QTest::newRow("one digit") << 5LL << "05";
    QTest::newRow("two digits") << 42LL << "42";
    QTest::newRow("three digits") << 123LL << "123";
    QTest::newRow("negative") << -5LL << "-05";
    QTest::newRow("negative, three digits") << -120LL << "-120";
    QTest::newRow("widest") << -999999LL << "-999999";
}

void TestSquaresRules::displayPattern() {
    QFETCH(qlonglong, value);
    QFETCH(QString, shown);
    QCOMPARE(Squares::formatDisplay(value), shown);
}

void TestSquaresRules::functions_data() {
    QTest::addColumn<int>("function");
    QTest::addColumn<qlonglong>("total");
    QTest::addColumn<int>("digit");
    QTest::addColumn<qlonglong>("result");
    QTest::newRow("add") << int(Squares::Add) << 7LL << 5 << 12LL;
    QTest::newRow("subtract below zero") << int(Squares::Subtract) << 3LL << 8 << -5LL;
    QTest::newRow("multiply") << int(Squares::Multiply) << -4LL << 6 << -24LL;
    QTest::newRow("divide truncates") << int(Squares::Divide) << 7LL << 2 << 3LL;
    QTest::newRow("divide truncates toward zero") << int(Squares::Divide) << -7LL << 2 << -3LL;
}

void TestSquaresRules::functions() {
    QFETCH(int, function);
    QFETCH(qlonglong, total);
    QFETCH(int, digit);
    QFETCH(qlonglong, result);
    QCOMPARE(Squares::applyFunction(function, total, digit), result);
}

void TestSquaresRules::bestIsBeatenOnlyByMore_data() {
    QTest::addColumn<qlonglong>("points");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("beats");
    QTest::newRow("no best yet, no points") << 0LL << "0" << false;
    QTest::newRow("no best yet") << 10LL << "0" << true;
    QTest::newRow("equal") << 150LL << "150" << false;
    QTest::newRow("one more") << 151LL << "150" << true;
    QTest::newRow("fewer") << 90LL << "150" << false;
    QTest::newRow("stored text no number") << 5LL << "abc" << true;
    QTest::newRow("large") << 1234LL << "999" << true;
}

void TestSquaresRules::bestIsBeatenOnlyByMore() {
    QFETCH(qlonglong, points);
    QFETCH(QString, stored);
    QFETCH(bool, beats);
    QCOMPARE(Squares::beatsBest(points, stored), beats);
}

void TestSquaresRules::clicksBeforeAndAtTheStartOfAWalk() {
    Board fresh([](int low, int) { return low; });
    QCOMPARE(fresh.click(0), Outcome::Ignored); // no board dealt yet
    QCOMPARE(fresh.total(), 0LL);

    // The first click takes the square's digit and is never judged, even when it is the target.
    Board b = boardOf({{9, 9}}, 9);
    QCOMPARE(b.click(9), Outcome::Started);
    QCOMPARE(b.total(), 9LL);
    QCOMPARE(b.earned(), 0LL);
    QCOMPARE(b.available(), 55);
    QVERIFY(!b.canUndo());

    QCOMPARE(b.click(9), Outcome::Used); // the current square counts as used
    QCOMPARE(b.click(0), Outcome::NotAdjacent);
    QCOMPARE(b.click(18), Outcome::NotAdjacent);
    QCOMPARE(b.current(), 9);
    QCOMPARE(usedCount(b), 1);
    QCOMPARE(b.available(), 55);

    QCOMPARE(b.click(10), Outcome::Missed); // 9 + 1
    QCOMPARE(b.click(9), Outcome::Used);    // a square earlier in the walk
    QCOMPARE(b.click(-1), Outcome::Ignored);
    QCOMPARE(b.click(64), Outcome::Ignored);
}

void TestSquaresRules::pointsPerTarget_data() {
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("points");
    QTest::newRow("first step") << 1 << 50;
    QTest::newRow("second step") << 2 << 45;
    QTest::newRow("tenth step") << 10 << 5;
    QTest::newRow("eleventh step") << 11 << 0;
    QTest::newRow("fourteenth step") << 14 << 0;
}

// A walk of ones along the board's rows (snaking back on the next row), adding: after k steps the
// total is k + 1, so the target k + 1 is hit on step k.
void TestSquaresRules::pointsPerTarget() {
    QFETCH(int, steps);
    QFETCH(int, points);
    Board b = boardOf({}, steps + 1);
    const int walk[] = {0, 1, 2, 3, 4, 5, 6, 7, 15, 14, 13, 12, 11, 10, 9, 8};
    QCOMPARE(b.click(walk[0]), Outcome::Started);
    for (int s = 1; s < steps; ++s)
        QCOMPARE(b.click(walk[s]), Outcome::Missed);
    QCOMPARE(b.click(walk[steps]), Outcome::Hit);
    QCOMPARE(b.earned(), qlonglong(points));
    QCOMPARE(Squares::pointsForHit(1, steps), points);
    // The next target is worth 105 and the walk goes on from the square reached, at its digit.
    QCOMPARE(b.targetNumber(), 2);
    QCOMPARE(b.available(), 105);
    QCOMPARE(b.total(), 1LL);
    QCOMPARE(b.current(), walk[steps]);
    QVERIFY(!b.canUndo());
}

void TestSquaresRules::secondTargetIsWorthMore() {
    Board b = boardOf({{0, 3}, {1, 4}, {2, 5}}, 7);
    QCOMPARE(b.click(0), Outcome::Started);
    QCOMPARE(b.click(1), Outcome::Hit);
    QCOMPARE(b.earned(), 50LL);
    QCOMPARE(b.total(), 4LL);
    b.setTarget(9);
    QCOMPARE(b.click(2), Outcome::Hit);
    QCOMPARE(b.earned(), 150LL);
    QCOMPARE(b.available(), 155);
    QCOMPARE(b.total(), 5LL);
}

void TestSquaresRules::multiplyingPastTheDisplaysIsRefused() {
    Board b([](int low, int) { return low; });
    b.startGame();
    std::array<int, Squares::kSquares> nines{};
    nines.fill(9);
    b.setDigits(nines);
    b.setTarget(10);
    b.setFunction(Squares::Multiply);
    QCOMPARE(b.click(0), Outcome::Started);
    long long expected = 9;
    for (int k = 1; k <= 5; ++k) {
        QCOMPARE(b.click(k), Outcome::Missed);
        expected *= 9;
        QCOMPARE(b.total(), expected);
    }
    QCOMPARE(b.total(), 531441LL);
    QVERIFY(b.canUndo());
    // 531441 x 9 passes 999,999: refused, and nothing changes.
    QCOMPARE(b.click(6), Outcome::TooBig);
    QCOMPARE(b.total(), 531441LL);
    QCOMPARE(b.current(), 5);
    QVERIFY(!b.isUsed(6));
    QCOMPARE(b.available(), 30);
    QVERIFY(b.canUndo());
    QCOMPARE(usedCount(b), 6);
    // Another function still steps there.
    b.setFunction(Squares::Divide);
    QCOMPARE(b.click(6), Outcome::Missed);
    QCOMPARE(b.total(), 59049LL);

    // The same guard below zero.
    Board neg = boardOf({{0, 1}}, 10, Squares::Subtract);
    std::array<int, Squares::kSquares> d{};
    d.fill(9);
    neg.setDigits(d);
    neg.setTarget(10);
    QCOMPARE(neg.click(0), Outcome::Started);
    QCOMPARE(neg.click(1), Outcome::Missed); // 0
    QCOMPARE(neg.click(2), Outcome::Missed); // -9
    neg.setFunction(Squares::Multiply);
    for (int k = 3; k <= 7; ++k)
        QCOMPARE(neg.click(k), Outcome::Missed); // down to -531441
    QCOMPARE(neg.total(), -531441LL);
    QCOMPARE(neg.click(15), Outcome::TooBig);
    QCOMPARE(Squares::formatDisplay(neg.total()), QStringLiteral("-531441"));
}

void TestSquaresRules::undoGivesBackTheTotalTheStudentHad() {
    Board b = boardOf({{0, 7}, {1, 2}}, 50, Squares::Divide);
    QCOMPARE(b.click(0), Outcome::Started);
    QCOMPARE(b.click(1), Outcome::Missed);
    QCOMPARE(b.total(), 3LL);
    QCOMPARE(b.available(), 50);
    QVERIFY(b.undo());
    QCOMPARE(b.total(), 7LL); // not 3 x 2
    QCOMPARE(b.current(), 0);
    QVERIFY(b.isUsed(0));
    QVERIFY(!b.isUsed(1));
    QCOMPARE(b.available(), 50); // the step taken back still cost its points
    QCOMPARE(b.targetNumber(), 1);
    QCOMPARE(b.target(), 50);
    // The square is free again: the walk can take it, or another neighbour.
    QCOMPARE(b.click(8), Outcome::Missed);
    QCOMPARE(b.total(), 7LL); // 7 / 1
    QCOMPARE(b.available(), 45);
}

void TestSquaresRules::undoOnlyRightAfterAMiss() {
    Board b = boardOf({{0, 3}, {1, 4}}, 7);
    QVERIFY(!b.undo()); // nothing walked
    QCOMPARE(b.click(0), Outcome::Started);
    QVERIFY(!b.undo()); // the first square cannot be taken back
    QCOMPARE(b.click(1), Outcome::Hit);
    QVERIFY(!b.undo()); // a hit cannot
    QCOMPARE(b.current(), 1);
    b.setTarget(60);
    QCOMPARE(b.click(2), Outcome::Missed);
    QCOMPARE(b.click(3), Outcome::Missed);
    QVERIFY(b.undo()); // only the last step
    QCOMPARE(b.current(), 2);
    QCOMPARE(b.total(), 5LL);
    QVERIFY(!b.undo()); // and only once
    QCOMPARE(b.current(), 2);
    QCOMPARE(b.click(10), Outcome::Missed);
    b.deal();
    QVERIFY(!b.undo()); // nor across boards
    QCOMPARE(b.previous(), -1);
}

void TestSquaresRules::newBoardKeepsPointsNewGameClearsThem() {
    Board b = boardOf({{0, 3}, {1, 4}}, 7);
    b.click(0);
    QCOMPARE(b.click(1), Outcome::Hit);
    QCOMPARE(b.earned(), 50LL);
    b.setFunction(Squares::Divide);
    b.deal();
    QCOMPARE(b.earned(), 50LL);
    QCOMPARE(b.available(), 55);
    QCOMPARE(b.targetNumber(), 1);
    QCOMPARE(b.total(), 0LL);
    QCOMPARE(b.current(), -1);
    QVERIFY(b.isFirstClick());
    QCOMPARE(usedCount(b), 0);
    QCOMPARE(b.function(), int(Squares::Divide)); // the function stays across boards
    b.startGame();
    QCOMPARE(b.earned(), 0LL);
}

void TestSquaresRules::targetsFollowTheDifficulty() {
    ScriptedDraw draw;
    Board b(std::ref(draw));
    QCOMPARE(b.difficulty(), 2);
    b.startGame();
    const int highest[] = {0, 64, 96, 128, 160};
    for (int level = 1; level <= 4; ++level) {
        b.setDifficulty(level);
        int seenHighest = 0;
        int seenLowest = 1000;
        for (int i = 0; i < 2000; ++i) {
            b.drawTarget();
            seenHighest = std::max(seenHighest, b.target());
            seenLowest = std::min(seenLowest, b.target());
        }
        QCOMPARE(seenHighest, highest[level]);
        QCOMPARE(seenLowest, 9);
    }
    // A change takes effect at the next draw, not on the present target.
    b.setDifficulty(1);
    draw.script = {40};
    b.drawTarget();
    b.setDifficulty(4);
    QCOMPARE(b.target(), 40);
}

// Many seeded games of random clicks, functions, undos and boards: the state always stays one the
// window can show.
void TestSquaresRules::seededGamesKeepTheirPromises() {
    int hits = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 dealRng(seed);
        std::mt19937 play(seed * 7919u);
        Board b(
            [&dealRng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(dealRng); });
        b.setDifficulty(static_cast<int>(seed % 4) + 1);
        b.startGame();
        long long earned = 0;
        for (int move = 0; move < 3000; ++move) {
            const int r = std::uniform_int_distribution<int>(0, 99)(play);
            if (r < 3) {
                b.deal();
                QCOMPARE(usedCount(b), 0);
            } else if (r < 10) {
                const int before = usedCount(b);
                const bool could = b.canUndo();
                QCOMPARE(b.undo(), could);
                QCOMPARE(usedCount(b), could ? before - 1 : before);
            } else if (r < 25) {
                b.setFunction(std::uniform_int_distribution<int>(0, 3)(play));
            } else {
                // Mostly neighbours of the current square, sometimes anywhere.
                int square = std::uniform_int_distribution<int>(0, 63)(play);
                if (b.current() >= 0 && r < 85) {
                    const int steps[] = {-8, 8, -1, 1};
                    square = b.current() + steps[std::uniform_int_distribution<int>(0, 3)(play)];
                }
                const int before = usedCount(b);
                const Outcome o = b.click(square);
                const bool grew = o == Outcome::Started || o == Outcome::Hit || o == Outcome::Missed;
                QCOMPARE(usedCount(b), grew ? before + 1 : before);
                hits += o == Outcome::Hit ? 1 : 0;
            }
            QVERIFY(std::llabs(b.total()) <= Squares::kTotalLimit);
            QVERIFY(b.available() >= 0);
            QVERIFY(b.earned() >= earned);
            earned = b.earned();
            QVERIFY(b.target() >= 9 && b.target() <= Squares::highestTarget(b.difficulty()));
            if (b.current() >= 0)
                QVERIFY(b.isUsed(b.current()));
            QCOMPARE(b.current() < 0, b.isFirstClick());
        }
        for (int k = 0; k < Squares::kSquares; ++k)
            QVERIFY(b.digit(k) >= 1 && b.digit(k) <= 9);
    }
    QVERIFY2(hits > 10, "random walks hit targets now and then");

    // The same seed deals the same boards.
    auto dealWith = [](unsigned seed) {
        std::mt19937 rng(seed);
        Board b([&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); });
        b.startGame();
        std::vector<int> digits;
        for (int k = 0; k < Squares::kSquares; ++k)
            digits.push_back(b.digit(k));
        digits.push_back(b.target());
        return digits;
    };
    QCOMPARE(dealWith(5), dealWith(5));
    QVERIFY(dealWith(5) != dealWith(6));
}

QTEST_GUILESS_MAIN(TestSquaresRules)
#include "tst_squaresrules.moc"
