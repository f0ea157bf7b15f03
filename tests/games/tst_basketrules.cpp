#include "data/random.h"
#include "games/basket/basketrules.h"

#include <QtTest>

#include <climits>

using namespace BasketRules;

class TestBasketRules : public QObject {
    Q_OBJECT
private slots:
    void performOpFollowsIntegerArithmetic_data();
    void performOpFollowsIntegerArithmetic();
    void divisionOnlyWhenExactAndPositive_data();
    void divisionOnlyWhenExactAndPositive();
    void totalsStayInTheBasket_data();
    void totalsStayInTheBasket();
    void fallSpeedsUpEachRoundAndHoldsFrom52_data();
    void fallSpeedsUpEachRoundAndHoldsFrom52();
    void highestNumberAndTriesAreHeld_data();
    void highestNumberAndTriesAreHeld();
    void pointsShowAtLeastTwoDigits_data();
    void pointsShowAtLeastTwoDigits();
    void seededGamesKeepEveryRule_data();
    void seededGamesKeepEveryRule();
};

void TestBasketRules::performOpFollowsIntegerArithmetic_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("result");
    QTest::newRow("add") << 5 << 3 << 0 << 8;
    QTest::newRow("subtract below zero") << 3 << 5 << 1 << -2;
    QTest::newRow("multiply") << -6 << 7 << 2 << -42;
    QTest::newRow("divide exact") << 72 << 9 << 3 << 8;
    QTest::newRow("divide truncates toward zero") << -7 << 2 << 3 << -3;
    QTest::newRow("divide by zero") << 5 << 0 << 3 << 0;
    QTest::newRow("unknown operator") << 5 << 3 << 4 << 0;
    QTest::newRow("negative operator") << 5 << 3 << -1 << 0;
    QTest::newRow("add wraps at 32 bits") << INT_MAX << 1 << 0 << INT_MIN;
    QTest::newRow("multiply wraps at 32 bits") << 65536 << 65536 << 2 << 0;
    QTest::newRow("the one quotient too large wraps") << INT_MIN << -1 << 3 << INT_MIN;
}

void TestBasketRules::performOpFollowsIntegerArithmetic() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, op);
    QFETCH(int, result);
    QCOMPARE(performOp(a, b, op), result);
}

void TestBasketRules::divisionOnlyWhenExactAndPositive_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("op");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("add always") << -90 << 9 << 0 << true;
    QTest::newRow("subtract always") << 0 << 9 << 1 << true;
    QTest::newRow("multiply always") << 90 << 9 << 2 << true;
    QTest::newRow("exact") << 12 << 4 << 3 << true;
    QTest::newRow("by itself") << 7 << 7 << 3 << true;
    QTest::newRow("remainder") << 13 << 4 << 3 << false;
    QTest::newRow("quotient zero") << 3 << 4 << 3 << false;
    QTest::newRow("total zero") << 0 << 5 << 3 << false;
    QTest::newRow("total negative, exact") << -12 << 4 << 3 << false;
    QTest::newRow("number zero") << 12 << 0 << 3 << false;
}

void TestBasketRules::divisionOnlyWhenExactAndPositive() {
    QFETCH(int, total);
    QFETCH(int, number);
    QFETCH(int, op);
    QFETCH(bool, allowed);
    QCOMPARE(allowFunc(total, number, op), allowed);
}

void TestBasketRules::totalsStayInTheBasket_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("hiNum");
    QTest::addColumn<bool>("negatives");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("top of 9") << 90 << 9 << false << true;
    QTest::newRow("past 9") << 91 << 9 << false << false;
    QTest::newRow("top of 4") << 40 << 4 << false << true;
    QTest::newRow("past 4") << 41 << 4 << false << false;
    QTest::newRow("zero") << 0 << 4 << false << true;
    QTest::newRow("below zero without negatives") << -1 << 9 << false << false;
    QTest::newRow("below zero with negatives") << -1 << 9 << true << true;
    QTest::newRow("bottom with negatives") << -90 << 9 << true << true;
    QTest::newRow("past bottom with negatives") << -91 << 9 << true << false;
    QTest::newRow("most negative number") << INT_MIN << 9 << true << false;
}

void TestBasketRules::totalsStayInTheBasket() {
    QFETCH(int, total);
    QFETCH(int, hiNum);
    QFETCH(bool, negatives);
    QFETCH(bool, allowed);
    QCOMPARE(allowCorAns(total, hiNum, negatives), allowed);
}

void TestBasketRules::fallSpeedsUpEachRoundAndHoldsFrom52_data() {
    QTest::addColumn<int>("round");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("period");
    QTest::addColumn<int>("steps");
    QTest::newRow("1") << 1 << 3 << 51 << 98;
    QTest::newRow("5") << 5 << 3 << 47 << 98;
    QTest::newRow("7") << 7 << 3 << 45 << 98;
    QTest::newRow("8") << 8 << 4 << 44 << 74;
    QTest::newRow("9") << 9 << 4 << 43 << 74;
    QTest::newRow("10") << 10 << 5 << 42 << 59;
    QTest::newRow("20") << 20 << 10 << 32 << 30;
    QTest::newRow("40") << 40 << 20 << 12 << 15;
    QTest::newRow("51") << 51 << 25 << 1 << 12;
    QTest::newRow("52 keeps 51's pace") << 52 << 25 << 1 << 12;
    QTest::newRow("60 keeps 51's pace") << 60 << 25 << 1 << 12;
    QTest::newRow("1000") << 1000 << 25 << 1 << 12;
}

void TestBasketRules::fallSpeedsUpEachRoundAndHoldsFrom52() {
    QFETCH(int, round);
    QFETCH(int, rate);
    QFETCH(int, period);
    QFETCH(int, steps);
    QCOMPARE(fallRate(round), rate);
    QCOMPARE(fallPeriod(round), period);
    QCOMPARE(stepsToLand(fallRate(round)), steps);
}

void TestBasketRules::highestNumberAndTriesAreHeld_data() {
    QTest::addColumn<int>("given");
    QTest::addColumn<int>("hiNum");
    QTest::addColumn<int>("tries");
    QTest::newRow("negative") << -5 << 4 << 2;
    QTest::newRow("zero") << 0 << 4 << 2;
    QTest::newRow("three") << 3 << 4 << 3;
    QTest::newRow("six") << 6 << 6 << 6;
    QTest::newRow("nine") << 9 << 9 << 6;
    QTest::newRow("nineteen") << 19 << 9 << 6;
}

void TestBasketRules::highestNumberAndTriesAreHeld() {
    QFETCH(int, given);
    QFETCH(int, hiNum);
    QFETCH(int, tries);
    QCOMPARE(clampHiNum(given), hiNum);
    QCOMPARE(triesAllowed(given), tries);
}

void TestBasketRules::pointsShowAtLeastTwoDigits_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("shown");
    QTest::newRow("none") << 0 << "00";
    QTest::newRow("one round") << 100 << "100";
    QTest::newRow("fifteen rounds") << 1500 << "1500";
}

void TestBasketRules::pointsShowAtLeastTwoDigits() {
    QFETCH(int, points);
    QFETCH(QString, shown);
    QCOMPARE(pointsText(points), shown);
}

void TestBasketRules::seededGamesKeepEveryRule_data() {
    QTest::addColumn<int>("hiNum");
    QTest::addColumn<bool>("negatives");
    for (int hi = kLowestHiNum; hi <= kHighestHiNum; ++hi) {
        QTest::addRow("%d", hi) << hi << false;
        QTest::addRow("%d with negatives", hi) << hi << true;
    }
}

void TestBasketRules::seededGamesKeepEveryRule() {
    QFETCH(int, hiNum);
    QFETCH(bool, negatives);
    App::Random rnd;
    rnd.seed(quint32(hiNum * 2 + negatives));
    QList<int> opsSeen(4, 0);
    int lowest = 0;
    for (int round = 1; round <= 300; ++round) {
        Draw d = firstNumber(hiNum, rnd);
        QVERIFY(d.number >= 1 && d.number <= hiNum);
        QCOMPARE(d.op, int(Add));
        QCOMPARE(d.total, d.number);
        for (int n = 0; n < round % 25 + 1; ++n) {
            const int before = d.total;
            d = nextNumber(before, hiNum, negatives, rnd);
            QVERIFY(d.number >= 1 && d.number <= hiNum);
            QVERIFY(d.op >= Add && d.op <= Divide);
            ++opsSeen[d.op];
            QCOMPARE(d.total, performOp(before, d.number, d.op));
            QVERIFY2(qAbs(d.total) <= 10 * hiNum, qPrintable(QString::number(d.total)));
            QVERIFY(negatives || d.total >= 0);
            if (d.op == Divide)
                QVERIFY(before > 0 && d.total > 0 && d.total * d.number == before);
            lowest = std::min(lowest, d.total);
        }
    }
    for (int op = Add; op <= Divide; ++op)
        QVERIFY2(opsSeen[op] > 0, qPrintable(QString::number(op)));
    // With negatives the basket does go below zero.
    QCOMPARE(lowest < 0, negatives);
}

QTEST_GUILESS_MAIN(TestBasketRules)
#include "tst_basketrules.moc"
