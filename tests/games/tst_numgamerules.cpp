#include "data/random.h"
#include "games/numbers/numgamerules.h"

#include <QtTest>

#include <utility>
#include <vector>

namespace {

using Pick = NumGameRules::Pick;
using Verdict = NumGameRules::Verdict;

// Every ordered pair of free tiles that gives the current answer.
std::vector<std::pair<int, int>> rightPairs(const NumGameRules& g, int tiles) {
    std::vector<std::pair<int, int>> pairs;
    for (int a = 0; a < tiles; ++a) {
        for (int b = 0; b < tiles; ++b) {
            if (a == b || g.numberAt(a) == NumGameRules::kUsed || g.numberAt(b) == NumGameRules::kUsed)
                continue;
            if (NumGameRules::combine(g.func(), g.numberAt(a), g.numberAt(b)) == g.answer())
                pairs.emplace_back(a, b);
        }
    }
    return pairs;
}

Verdict play(NumGameRules& g, int first, int second) {
    if (g.pick(first) != Pick::First || g.pick(second) != Pick::Second)
        return Verdict::Wrong;
    return g.check();
}

// A game of `problems` problems on twice as many tiles, `seconds` seconds long, solved to the end.
NumGameRules finishedGame(int seconds, int problems) {
    App::myRnd().seed(7);
    NumGameRules g;
    g.fill(problems * 2, 12);
    g.start(problems, problems * 2, false);
    for (int s = 0; s < seconds; ++s)
        g.tick();
    while (g.running()) {
        const auto pairs = rightPairs(g, problems * 2);
        if (pairs.empty())
            break;
        play(g, pairs.front().first, pairs.front().second);
    }
    return g;
}

} // namespace

class TestNumGameRules : public QObject {
    Q_OBJECT
private slots:
    void boardPlaces_data();
    void boardPlaces();
    void numbersStandInTheTile();
    void operations_data();
    void operations();
    void picking();
    void anyPairGivingTheAnswerCounts();
    void seededGamesEndAndKeepTheirRules();
    void results_data();
    void results();
    void boardChangedAfterAFillPlaysOnlyNumberedTiles();
};

void TestNumGameRules::boardPlaces_data() {
    QTest::addColumn<int>("tiles");
    QTest::addColumn<int>("index");
    QTest::addColumn<QPoint>("place");
    QTest::newRow("64 first") << 64 << 0 << QPoint(92, 60);
    QTest::newRow("64 second row") << 64 << 8 << QPoint(92, 110);
    QTest::newRow("64 last") << 64 << 63 << QPoint(442, 410);
    QTest::newRow("36 first") << 36 << 0 << QPoint(142, 110);
    QTest::newRow("36 row end") << 36 << 5 << QPoint(392, 110);
    QTest::newRow("36 last") << 36 << 35 << QPoint(392, 360);
    QTest::newRow("16 first") << 16 << 0 << QPoint(192, 160);
    QTest::newRow("16 next row") << 16 << 4 << QPoint(192, 210);
    QTest::newRow("16 last") << 16 << 15 << QPoint(342, 310);
}

void TestNumGameRules::boardPlaces() {
    QFETCH(int, tiles);
    QFETCH(int, index);
    QFETCH(QPoint, place);
    QCOMPARE(NumGameRules::tilePlace(index, tiles), place);
    // The three boards share one centre.
    const QPoint last = NumGameRules::tilePlace(tiles - 1, tiles) + QPoint(48, 48);
    QCOMPARE((NumGameRules::boardOrigin(tiles) + last) / 2, QPoint(291, 259));
}

void TestNumGameRules::numbersStandInTheTile() {
    QCOMPARE(NumGameRules::numberLeft(1), 10);
    QCOMPARE(NumGameRules::numberLeft(9), 10);
    QCOMPARE(NumGameRules::numberLeft(10), 2);
    QCOMPARE(NumGameRules::numberLeft(19), 2);
    QCOMPARE(NumGameRules::heldHighest(0), 4);
    QCOMPARE(NumGameRules::heldHighest(2), 4);
    QCOMPARE(NumGameRules::heldHighest(12), 12);
    QCOMPARE(NumGameRules::heldHighest(25), 19);
}

void TestNumGameRules::operations_data() {
    QTest::addColumn<int>("func");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("sign");
    QTest::newRow("sum") << int(NumGameRules::Plus) << 7 << 9 << 16 << "+";
    QTest::newRow("difference, first minus second") << int(NumGameRules::Minus) << 9 << 6 << 3 << "-";
    QTest::newRow("difference the other way") << int(NumGameRules::Minus) << 6 << 9 << -3 << "-";
    QTest::newRow("equal numbers give 0") << int(NumGameRules::Minus) << 5 << 5 << 0 << "-";
    QTest::newRow("product") << int(NumGameRules::Times) << 12 << 19 << 228 << "X";
}

void TestNumGameRules::operations() {
    QFETCH(int, func);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, result);
    QFETCH(QString, sign);
    QCOMPARE(NumGameRules::combine(func, first, second), result);
    QCOMPARE(NumGameRules::signOf(func), sign);
}

void TestNumGameRules::picking() {
    NumGameRules g;
    g.deal({3, 3, 3, 3, 3, 3});
    QCOMPARE(g.pick(0), Pick::Ignored); // no game yet
    g.start(3, 6, false);
    QVERIFY(g.running());
    QCOMPARE(g.problems(), 3);

    QCOMPARE(g.pick(2), Pick::First);
    QVERIFY(g.looksPicked(2));
    QCOMPARE(g.pick(2), Pick::Refused); // the first tile again
    QCOMPARE(g.pick(4), Pick::Second);
    QCOMPARE(g.replacedPick(), -1);
    // A newer second pick replaces the older one, which loses its picked look.
    QCOMPARE(g.pick(5), Pick::Second);
    QCOMPARE(g.replacedPick(), 4);
    QCOMPARE(g.secondPick(), 5);
    for (int t = 0; t < 6; ++t)
        QCOMPARE(g.looksPicked(t), t == 2 || t == 5);

    // With all numbers 3 the answer is 6, 0 or 9 and any pair is right.
    QCOMPARE(g.check(), Verdict::Right);
    QCOMPARE(g.numberAt(2), NumGameRules::kUsed);
    QCOMPARE(g.numberAt(5), NumGameRules::kUsed);
    QVERIFY(!g.looksPicked(2));
    QCOMPARE(g.pick(5), Pick::Refused);  // used
    QCOMPARE(g.pick(42), Pick::Refused); // off the board
    QCOMPARE(play(g, 0, 1), Verdict::Right);
    QCOMPARE(play(g, 3, 4), Verdict::Finished);
    QVERIFY(!g.running());
    QCOMPARE(g.pick(0), Pick::Ignored);
}

void TestNumGameRules::anyPairGivingTheAnswerCounts() {
    // Tiles 2, 6, 3, 4 and the problem "X 12": both 2 and 6 and 3 and 4 are right, in either order.
    bool found = false;
    for (quint32 seed = 1; seed < 2000 && !found; ++seed) {
        App::myRnd().seed(seed);
        NumGameRules g;
        g.deal({2, 6, 3, 4});
        g.start(2, 4, false);
        if (g.func() != NumGameRules::Times || g.answer() != 12)
            continue;
        found = true;
        QCOMPARE(play(g, 0, 3), Verdict::Wrong); // 2 X 4
        QCOMPARE(g.answer(), 12);                // the same problem stays
        QVERIFY(!g.looksPicked(0));
        QCOMPARE(play(g, 3, 2), Verdict::Right); // 4 X 3
        QCOMPARE(g.solved(), 1);
    }
    QVERIFY(found);

    // With negatives off, "- 3" is solved by the larger number first; the smaller first is wrong.
    found = false;
    for (quint32 seed = 1; seed < 2000 && !found; ++seed) {
        App::myRnd().seed(seed);
        NumGameRules g;
        g.deal({5, 8, 1, 1});
        g.start(1, 4, false);
        if (g.func() != NumGameRules::Minus || g.answer() != 3)
            continue;
        found = true;
        QCOMPARE(play(g, 0, 1), Verdict::Wrong);
        QCOMPARE(play(g, 1, 0), Verdict::Finished);
    }
    QVERIFY(found);
}

void TestNumGameRules::seededGamesEndAndKeepTheirRules() {
    int games = 0;
    for (quint32 seed = 1; seed <= 6; ++seed) {
        for (int hi = 4; hi <= 19; ++hi) {
            for (const int tiles : {16, 36, 64}) {
                for (const bool negatives : {false, true}) {
                    App::myRnd().seed(seed * 1000 + static_cast<quint32>(hi * 10 + tiles));
                    NumGameRules g;
                    g.fill(tiles, hi);
                    QCOMPARE(int(g.numbers().size()), tiles);
                    for (const int n : g.numbers())
                        QVERIFY(n >= 1 && n <= hi);
                    g.start(tiles / 2, tiles, negatives);
                    QCOMPARE(g.problems(), tiles / 2);
                    int checks = 0;
                    while (g.running() && checks < tiles * 2) {
                        ++checks;
                        if (!negatives && g.func() == NumGameRules::Minus)
                            QVERIFY(g.answer() >= 0);
                        const auto pairs = rightPairs(g, tiles);
                        QVERIFY2(!pairs.empty(), "a problem without a pair on the board");
                        const int solvedBefore = g.solved();
                        const auto& p = pairs[static_cast<std::size_t>(
                            App::myRnd().inRange(0, static_cast<int>(pairs.size()) - 1))];
                        const Verdict v = play(g, p.first, p.second);
                        QCOMPARE(g.solved(), solvedBefore + 1);
                        QCOMPARE(v, g.solved() == tiles / 2 ? Verdict::Finished : Verdict::Right);
                    }
                    QVERIFY(!g.running());
                    QCOMPARE(g.solved(), tiles / 2);
                    for (int t = 0; t < tiles; ++t)
                        QCOMPARE(g.numberAt(t), NumGameRules::kUsed);
                    ++games;
                }
            }
        }
    }
    QCOMPARE(games, 6 * 16 * 3 * 2);
}

void TestNumGameRules::results_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("problems");
    QTest::addColumn<QString>("best");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("improved");
    QTest::addColumn<QString>("stored");
    QTest::newRow("first game") << 10 << 4 << "99.99"
                                << "2.50" << true << "2.5";
    QTest::newRow("below a second") << 2 << 4 << "99.99"
                                    << ".50" << true << "0.5";
    QTest::newRow("whole seconds") << 12 << 1 << "99.99"
                                   << "12.00" << true << "12";
    QTest::newRow("thirds round half up") << 2 << 3 << "99.99"
                                          << ".67" << true << "0.67";
    QTest::newRow("equal is no improvement") << 7 << 2 << "3.5"
                                             << "3.50" << false << "";
    QTest::newRow("lower than 3.5") << 6 << 2 << "3.5"
                                    << "3.00" << true << "3";
    QTest::newRow("a best stored as .5") << 2 << 4 << ".5"
                                         << ".50" << false << "";
    QTest::newRow("a best that is no number") << 10 << 4 << "abc"
                                              << "2.50" << true << "2.5";
    QTest::newRow("a best of 0") << 10 << 4 << "0"
                                 << "2.50" << true << "2.5";
    QTest::newRow("an empty best") << 10 << 4 << ""
                                   << "2.50" << true << "2.5";
}

void TestNumGameRules::results() {
    QFETCH(int, seconds);
    QFETCH(int, problems);
    QFETCH(QString, best);
    QFETCH(QString, shown);
    QFETCH(bool, improved);
    QFETCH(QString, stored);
    const NumGameRules g = finishedGame(seconds, problems);
    QCOMPARE(g.solved(), problems);
    QCOMPARE(g.averageText(), shown);
    const NumGameRules::Result r = g.result(best, QStringLiteral("Ann"));
    QCOMPARE(r.shown, shown);
    QCOMPARE(r.improved, improved);
    QCOMPARE(r.stored, stored);
    if (improved) {
        QCOMPARE(r.message,
                 QStringLiteral("Congratulations, Ann!\nYou have improved your average time per problem."));
        QCOMPARE(r.explanation, QStringLiteral("Try to beat this score next time."));
    } else {
        QCOMPARE(r.message,
                 QStringLiteral("Sorry, Ann\nYour average time was %1 which did not improve your score.")
                     .arg(shown));
        QCOMPARE(r.explanation, QStringLiteral("You can try again at any time."));
    }
}

void TestNumGameRules::boardChangedAfterAFillPlaysOnlyNumberedTiles() {
    // 16 numbers drawn, then a board of 64: the game keeps to the 16 tiles that have a number.
    App::myRnd().seed(3);
    NumGameRules g;
    g.fill(16, 9);
    g.start(32, 64, false);
    QCOMPARE(g.problems(), 8);
    QCOMPARE(g.pick(40), Pick::Refused);
    QCOMPARE(g.numberAt(40), NumGameRules::kUsed);
    // A board of 16 over 64 numbers plays the first 16.
    g.fill(64, 9);
    g.start(8, 16, false);
    QCOMPARE(g.problems(), 8);
    QCOMPARE(g.pick(20), Pick::Refused);
}

QTEST_GUILESS_MAIN(TestNumGameRules)
#include "tst_numgamerules.moc"
