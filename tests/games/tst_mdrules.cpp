#include "data/random.h"
#include "games/detective/mdrules.h"

#include <QtTest>

#include <algorithm>
#include <set>

namespace {

using Kind = MDRules::Kind;

// A factors round on base `base` at highest number `highest`, found by trying seeds.
bool roundOn(MDRules& r, int highest, int base) {
    for (quint32 seed = 1; seed < 20000; ++seed) {
        App::myRnd().seed(seed);
        r = MDRules();
        r.setHighest(highest);
        r.startFactors();
        if (r.base() == base)
            return true;
    }
    return false;
}

void checkBoard(const MDRules& r) {
    std::set<int> numbers;
    for (int s = 0; s < MDRules::kSquares; ++s)
        numbers.insert(r.numberOn(s));
    QCOMPARE(int(numbers.size()), 64);
    for (const int a : r.answers())
        QVERIFY(numbers.count(a) == 1);
    const int top = std::max((r.highest() + 2) * 10, 70);
    for (const int n : numbers) {
        if (std::find(r.answers().begin(), r.answers().end(), n) != r.answers().end())
            continue;
        QVERIFY2(n >= 2 && n <= top, qPrintable(QString::number(n)));
        if (r.factors())
            QVERIFY(r.base() % n != 0);
    }
}

} // namespace

class TestMDRules : public QObject {
    Q_OBJECT
private slots:
    void factorsDraws_data();
    void factorsDraws();
    void seededRoundsDealFullBoards();
    void multiplesNeverRepeatTheBase();
    void fieldsAndInstructions();
    void typedEntries_data();
    void typedEntries();
    void clicksAndMisses();
    void focusMovesToTheNextEmptyField_data();
    void focusMovesToTheNextEmptyField();
};

void TestMDRules::factorsDraws_data() {
    QTest::addColumn<int>("drawn");
    QTest::addColumn<int>("played");
    QTest::addColumn<int>("divisors");
    QTest::newRow("60") << 60 << 60 << 12;
    QTest::newRow("120 is played as 124") << 120 << 124 << 6;
    QTest::newRow("144 is played as 148") << 144 << 148 << 6;
    QTest::newRow("168 is played as 172") << 168 << 172 << 6;
    QTest::newRow("180 is played as 184") << 180 << 184 << 8;
    QTest::newRow("a prime") << 7 << 7 << 2;
    QTest::newRow("192 has too many") << 192 << 192 << 14;
    QTest::newRow("210 has too many") << 210 << 210 << 16;
}

void TestMDRules::factorsDraws() {
    QFETCH(int, drawn);
    QFETCH(int, played);
    QFETCH(int, divisors);
    QCOMPARE(MDRules::playedBase(drawn), played);
    const std::vector<int> d = MDRules::divisors(played);
    QCOMPARE(int(d.size()), divisors);
    QVERIFY(std::is_sorted(d.begin(), d.end()));
    QCOMPARE(d.front(), 1);
    QCOMPARE(d.back(), played);
}

void TestMDRules::seededRoundsDealFullBoards() {
    std::set<int> counts;
    for (int hi = 2; hi <= 25; ++hi) {
        for (quint32 seed = 1; seed <= 25; ++seed) {
            App::myRnd().seed(seed * 100 + static_cast<quint32>(hi));
            MDRules r;
            r.setHighest(hi);
            QCOMPARE(r.highest(), std::clamp(hi, 4, 19));
            r.startFactors();
            QVERIFY(!r.roundDone());
            QVERIFY(r.count() >= 5 && r.count() <= 12);
            counts.insert(r.count());
            QVERIFY(r.base() >= r.highest() + 2 && r.base() <= (r.highest() + 2) * 10 + 4);
            QVERIFY(r.answers() == MDRules::divisors(r.base()));
            checkBoard(r);
            r.startMultiples();
            QCOMPARE(r.count(), 10);
            QVERIFY(r.base() >= 2 && r.base() <= r.highest());
            checkBoard(r);
        }
    }
    QVERIFY(counts.count(5) && counts.count(12));
}

void TestMDRules::multiplesNeverRepeatTheBase() {
    App::myRnd().seed(5);
    MDRules r;
    r.setHighest(4); // only 2, 3 and 4 to choose from
    int previous = 0;
    for (int round = 0; round < 200; ++round) {
        r.startMultiples();
        QVERIFY(r.base() != previous);
        previous = r.base();
        if (round % 3 == 0) {
            r.startFactors(); // a factors round in between does not count
            QCOMPARE(r.count() >= 5, true);
        }
    }
}

void TestMDRules::fieldsAndInstructions() {
    MDRules r;
    QVERIFY(roundOn(r, 10, 60));
    const int expected[] = {60, 30, 20, 15, 12, 10, 6, 5, 4, 3, 2, 1};
    for (int k = 0; k < 12; ++k)
        QCOMPARE(r.fieldAnswer(k), expected[k]);
    QCOMPARE(r.instructions(QStringLiteral("Ann")),
             QStringLiteral("Ann: Find 12 factors of 60\nClick a number or type into the field."));

    for (quint32 seed = 1; seed < 500; ++seed) {
        App::myRnd().seed(seed);
        MDRules m;
        m.setHighest(10);
        m.startMultiples();
        if (m.base() != 7)
            continue;
        QCOMPARE(
            m.instructions(QStringLiteral("Ann")),
            QStringLiteral("Ann: Find 10 multiples of 7 below 71\nClick a number or type into the field."));
        QCOMPARE(m.fieldAnswer(0), 70);
        QCOMPARE(m.fieldAnswer(9), 7);
        QCOMPARE(m.fieldAnswer(10), -1);
        return;
    }
    QFAIL("no multiples of 7 drawn");
}

void TestMDRules::typedEntries_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("crossedOff"); // the number whose square becomes used, 0 for none
    QTest::newRow("a first digit grows") << 0 << "1" << int(Kind::Growing) << 0;
    QTest::newRow("another field's answer: no square") << 0 << "12" << int(Kind::Missed) << 0;
    QTest::newRow("no answer: its square") << 0 << "85" << int(Kind::Missed) << 85;
    QTest::newRow("the field's answer") << 0 << "60" << int(Kind::Found) << 60;
    QTest::newRow("a leading zero is judged at once") << 11 << "0" << int(Kind::Missed) << 0;
    QTest::newRow("one digit") << 11 << "1" << int(Kind::Found) << 1;
}

void TestMDRules::typedEntries() {
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(int, crossedOff);
    MDRules r;
    QVERIFY(roundOn(r, 10, 60));
    std::vector<bool> before;
    for (int s = 0; s < 64; ++s)
        before.push_back(r.used(s));
    const MDRules::Outcome o = r.entry(text, field);
    QCOMPARE(int(o.kind), kind);
    for (int s = 0; s < 64; ++s) {
        const bool crossed = crossedOff != 0 && r.numberOn(s) == crossedOff;
        QCOMPARE(r.used(s), crossed);
    }
    QCOMPARE(r.missesLeft(), kind == int(Kind::Missed) ? 2 : 3);
}

void TestMDRules::clicksAndMisses() {
    MDRules r;
    QCOMPARE(int(r.click(0).kind), int(Kind::Refused)); // before any round
    QVERIFY(roundOn(r, 10, 60));
    // Two misses, the second warns; the answers then still win the round.
    int missesMade = 0;
    for (int s = 0; s < 64 && missesMade < 2; ++s) {
        if (60 % r.numberOn(s) == 0)
            continue;
        const MDRules::Outcome o = r.click(s);
        ++missesMade;
        QCOMPARE(int(o.kind), int(Kind::Missed));
        QCOMPARE(o.warn, missesMade == 2);
        QCOMPARE(int(r.click(s).kind), int(Kind::Refused)); // used: no second miss
    }
    for (int i = 0; i < r.count(); ++i) {
        const int s = r.squareOf(r.answers()[static_cast<std::size_t>(i)]);
        const MDRules::Outcome o = r.click(s);
        QCOMPARE(o.answer, i);
        QCOMPARE(int(o.kind), int(i == r.count() - 1 ? Kind::Won : Kind::Found));
    }
    QVERIFY(r.roundDone());
    QCOMPARE(int(r.entry(QStringLiteral("5"), 7).kind), int(Kind::Refused));

    // The third miss loses.
    QVERIFY(roundOn(r, 10, 60));
    MDRules::Outcome last;
    for (int s = 0, made = 0; s < 64 && made < 3; ++s) {
        if (60 % r.numberOn(s) != 0) {
            last = r.click(s);
            ++made;
        }
    }
    QCOMPARE(int(last.kind), int(Kind::Lost));
    QVERIFY(r.roundDone());
    QCOMPARE(r.missesLeft(), 0);
    r.tick();
    QCOMPARE(r.seconds(), 0); // the clock counts only in a round
}

void TestMDRules::focusMovesToTheNextEmptyField_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("empty"); // one character per field: 1 empty
    QTest::addColumn<int>("next");
    QTest::newRow("the next one") << 0 << "11111" << 1;
    QTest::newRow("skips filled fields") << 1 << "10001" << 4;
    QTest::newRow("wraps round to the top") << 3 << "10010" << 0;
    QTest::newRow("none other empty: the next field") << 2 << "00100" << 3;
    QTest::newRow("none other empty at the last field: stays") << 4 << "00001" << 4;
}

void TestMDRules::focusMovesToTheNextEmptyField() {
    QFETCH(int, field);
    QFETCH(QString, empty);
    QFETCH(int, next);
    std::vector<bool> e;
    for (const QChar c : empty)
        e.push_back(c == QLatin1Char('1'));
    QCOMPARE(MDRules::nextField(field, e), next);
}

QTEST_GUILESS_MAIN(TestMDRules)
#include "tst_mdrules.moc"
