// Drawn problem sets: the rules of random sets over many seeds, the choice of generator, fact families,
// the adaptive weights against a worked example, and settings that no window would store.

#include "data/globals.h"
#include "data/prefs.h"
#include "data/random.h"
#include "data/rndset.h"
#include "data/strecord.h"
#include "support/doubles.h"

#include <QSet>
#include <QtTest>

#include <cmath>
#include <memory>
#include <vector>

using TestDoubles::ScriptedDialogs;
using Problem = rndSet::Problem;

namespace {

constexpr int kSeeds = 300;

struct Drill {
    QString numbers = QStringLiteral("0");
    int op = 0;
    int hi = 10;
    QString allowed = QStringLiteral("1^1^1^1");
    int probs = 10;
    bool negatives = false;
};

std::shared_ptr<StRecord> signIn(const Drill& d) {
    auto player =
        std::make_shared<StRecord>(QStringLiteral("Ann Lee"), QStringLiteral("Default"), 1, QString(), 0);
    player->myParams = StRecord::defaultParams();
    player->myParams[StRecord::NumbersParam] = d.numbers;
    player->myParams[StRecord::OperationParam] = QString::number(d.op);
    player->myParams[StRecord::HighestParam] = QString::number(d.hi);
    player->myParams[StRecord::AllowedOpsParam] = d.allowed;
    player->myParams[StRecord::ProblemsParam] = QString::number(d.probs);
    player->myParams[StRecord::NegativesParam] = d.negatives ? QStringLiteral("1") : QStringLiteral("0");
    myGlobals::gCurPlayer = player;
    return player;
}

std::unique_ptr<rndSet> build(const Drill& d, bool factFamily = false, bool forceRandom = false) {
    return std::make_unique<rndSet>(d.hi, d.probs, d.op, factFamily, forceRandom);
}

std::vector<Problem> problemsOf(const rndSet& set) {
    std::vector<Problem> out;
    for (int i = 0; i <= set.getTotProblems(); ++i)
        out.push_back({set.getTopNum(i), set.getFunc(i), set.getBotNum(i)});
    return out;
}

QSet<int> valuesOf(const std::vector<Problem>& ps, int Problem::*field) {
    QSet<int> out;
    for (const Problem& p : ps)
        out.insert(p.*field);
    return out;
}

QSet<int> range(int lo, int hi) {
    QSet<int> out;
    for (int v = lo; v <= hi; ++v)
        out.insert(v);
    return out;
}

// Sets the right and tried counts of one operation's facts 1 to 10 (entry i is fact i + 1).
void setCounts(StRecord& r, int op, const std::vector<std::pair<int, int>>& rightTried) {
    for (int i = 0; i < StRecord::kFacts; ++i) {
        const auto [right, tried] = i < int(rightTried.size()) ? rightTried[i] : std::pair{0, 0};
        r.corFor(op)[i] = right;
        r.triedFor(op)[i] = tried;
    }
}

// Every fact 1 to 19 of the operation at 100 percent.
void learnAll(StRecord& r, int op) {
    r.corFor(op).fill(40);
    r.triedFor(op).fill(40);
}

// How often each second number comes over many seeded sets, as shares of all problems.
std::map<int, double> secondShares(const Drill& d, int seeds) {
    std::map<int, int> counts;
    int total = 0;
    for (int seed = 1; seed <= seeds; ++seed) {
        App::myRnd().seed(seed);
        for (const Problem& p : problemsOf(*build(d))) {
            ++counts[p.bot];
            ++total;
        }
    }
    std::map<int, double> shares;
    for (const auto& [v, n] : counts)
        shares[v] = double(n) / total;
    return shares;
}

} // namespace

class TestRndSet : public QObject {
    Q_OBJECT
private slots:
    void init() {
        myPrefs::initPrefs();
        myPrefs::prDataSource = 1;
    }
    void cleanup() { myGlobals::gCurPlayer.reset(); }

    void randomSetRules_data();
    void randomSetRules();
    void distinctModeUsesEveryNumberOnce();
    void negativesComeOneTimeInThree();
    void generatorChoice_data();
    void generatorChoice();
    void settingsNoWindowStoresStayBounded_data();
    void settingsNoWindowStoresStayBounded();
    void factFamilyAlternates_data();
    void factFamilyAlternates();
    void adaptiveWeightsFollowTheWorkedExample_data();
    void adaptiveWeightsFollowTheWorkedExample();
    void adaptiveKeepsFirstNumbersApart();
    void adaptiveSkipsCompleteOperations();
    void adaptiveFallsBackWithItsMessages_data();
    void adaptiveFallsBackWithItsMessages();
    void adaptiveWithWeakFactsAboveTheHighestNumber();
    void adaptiveLeavesOutFactsAtNinetyOnePercent();
    void adaptiveWeighsByTheCriteriaInForce_data();
    void adaptiveWeighsByTheCriteriaInForce();
    void adaptiveNegativesSpareTheFirstProblem();
};

// The rules every random set keeps, checked over many seeds.
void TestRndSet::randomSetRules_data() {
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("allowed");
    QTest::addColumn<int>("hi");
    QTest::addColumn<int>("probs");
    QTest::addColumn<bool>("negatives");

    QTest::newRow("addition, distinct") << "0" << 0 << "1^1^1^1" << 10 << 10 << false;
    QTest::newRow("addition, neighbour") << "0" << 0 << "1^1^1^1" << 10 << 12 << false;
    QTest::newRow("subtraction, distinct") << "0" << 1 << "1^1^1^1" << 19 << 15 << false;
    QTest::newRow("subtraction, neighbour") << "0" << 1 << "1^1^1^1" << 4 << 20 << false;
    QTest::newRow("multiplication, negatives") << "0" << 2 << "1^1^1^1" << 12 << 20 << true;
    QTest::newRow("division, neighbour") << "0" << 3 << "1^1^1^1" << 9 << 20 << false;
    QTest::newRow("division, fixed 4") << "4" << 3 << "1^1^1^1" << 9 << 10 << false;
    QTest::newRow("addition, fixed 7") << "7" << 0 << "1^1^1^1" << 12 << 10 << false;
    QTest::newRow("subtraction, fixed 7, negatives") << "7" << 1 << "1^1^1^1" << 12 << 10 << true;
    QTest::newRow("random of + and /") << "0" << 4 << "1^0^0^1" << 10 << 20 << false;
    QTest::newRow("random of all, negatives") << "0" << 4 << "1^1^1^1" << 19 << 20 << true;
    QTest::newRow("random of - and x, fixed 3") << "3" << 4 << "0^1^1^0" << 6 << 8 << false;
}

void TestRndSet::randomSetRules() {
    QFETCH(QString, numbers);
    QFETCH(int, op);
    QFETCH(QString, allowed);
    QFETCH(int, hi);
    QFETCH(int, probs);
    QFETCH(bool, negatives);
    signIn({numbers, op, hi, allowed, probs, negatives});
    const int fixed = numbers.toInt();
    const bool distinct = probs <= hi;
    QSet<int> opsAllowed;
    for (int k = 0; k < 4; ++k) {
        if (op == k || (op == 4 && allowed.split('^')[k] == "1"))
            opsAllowed.insert(k);
    }
    QSet<int> opsSeen;

    for (int seed = 1; seed <= kSeeds; ++seed) {
        App::myRnd().seed(seed);
        const auto set = build({numbers, op, hi, allowed, probs, negatives});
        QVERIFY(!set->roundReport().openSetFailed);
        const std::vector<Problem> ps = problemsOf(*set);
        QCOMPARE(int(ps.size()), probs);
        for (int i = 0; i < probs; ++i) {
            const Problem& p = ps[i];
            const int answer = set->getCorAns(i);
            QVERIFY2(opsAllowed.contains(p.func), qPrintable(QString::number(p.func)));
            opsSeen.insert(p.func);
            QVERIFY(p.bot != 0);
            if (fixed)
                QCOMPARE(std::abs(p.bot), fixed);
            else
                QVERIFY(std::abs(p.bot) >= 1 && std::abs(p.bot) <= hi);
            if (!negatives) {
                QVERIFY(p.top > 0 && p.bot > 0 && answer >= 0);
            }
            if (p.func == 3) {
                // Exact, and the answer is the drawn number.
                QCOMPARE(p.top, answer * p.bot);
                QVERIFY(std::abs(answer) >= 1 && std::abs(answer) <= hi);
            }
            if (p.func == 1 && !negatives)
                QVERIFY(p.top >= p.bot && answer <= hi);
            if (p.func != 1 && p.func != 3)
                QVERIFY(std::abs(p.top) >= 1 && std::abs(p.top) <= hi);

            if (i == 0 || negatives)
                continue;
            const Problem& before = ps[i - 1];
            if (!distinct) {
                if (!fixed)
                    QVERIFY2(p.bot != before.bot,
                             qPrintable(QStringLiteral("seed %1 problem %2").arg(seed).arg(i)));
                // The rule holds for the drawn first number, which a division turns into its answer.
                const int drawn = p.func == 3 ? answer : p.top;
                const int drawnBefore = before.func == 3 ? set->getCorAns(i - 1) : before.top;
                QVERIFY2(drawn != drawnBefore,
                         qPrintable(QStringLiteral("seed %1 problem %2").arg(seed).arg(i)));
            }
        }
        if (distinct && !negatives && (op == 0 || op == 1 || op == 2)) {
            QCOMPARE(int(valuesOf(ps, &Problem::top).size()), probs);
            if (!fixed)
                QCOMPARE(int(valuesOf(ps, &Problem::bot).size()), probs);
        }
    }
    QCOMPARE(opsSeen, opsAllowed);
}

void TestRndSet::distinctModeUsesEveryNumberOnce() {
    // As many problems as the highest number: the seconds and the firsts are each 1..10 in some order.
    signIn({});
    for (int seed = 1; seed <= 50; ++seed) {
        App::myRnd().seed(seed);
        const std::vector<Problem> ps = problemsOf(*build({}));
        QCOMPARE(valuesOf(ps, &Problem::bot), range(1, 10));
        QCOMPARE(valuesOf(ps, &Problem::top), range(1, 10));
    }
}

void TestRndSet::negativesComeOneTimeInThree() {
    const Drill d{QStringLiteral("7"), 0, 12, QStringLiteral("1^1^1^1"), 10, true};
    signIn(d);
    int negativeSeconds = 0;
    int negativeFirsts = 0;
    int total = 0;
    for (int seed = 1; seed <= 600; ++seed) {
        App::myRnd().seed(seed);
        for (const Problem& p : problemsOf(*build(d))) {
            QCOMPARE(std::abs(p.bot), 7);
            negativeSeconds += p.bot < 0;
            negativeFirsts += p.top < 0;
            ++total;
        }
    }
    QVERIFY(std::abs(double(negativeSeconds) / total - 1.0 / 3) < 0.02);
    QVERIFY(std::abs(double(negativeFirsts) / total - 1.0 / 3) < 0.02);
}

// Which generator the constructor chooses, told apart by what each one makes for a student who has
// learned every fact except multiplication fact 3.
enum Made { Adaptive, Fixed, Family, Random, FailedOpen };
Q_DECLARE_METATYPE(Made)

void TestRndSet::generatorChoice_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<bool>("familyFlag");
    QTest::addColumn<bool>("force");
    QTest::addColumn<Made>("made");
    QTest::addColumn<int>("value"); // the fixed number, or the family's first number

    QTest::newRow("results, two random numbers") << 0 << "0" << false << false << Adaptive << 0;
    QTest::newRow("results, fixed number overrides") << 0 << "5" << false << false << Fixed << 5;
    QTest::newRow("results, family overrides") << 0 << "3/5" << true << false << Family << 3;
    QTest::newRow("random") << 1 << "0" << false << false << Random << 0;
    QTest::newRow("random, fixed") << 1 << "8" << false << false << Fixed << 8;
    QTest::newRow("random, family") << 1 << "6/2" << true << false << Family << 6;
    QTest::newRow("family text without the flag") << 1 << "3/5" << false << false << Fixed << 3;
    QTest::newRow("forced random beats saved sets") << 2 << "0" << false << true << Random << 0;
    QTest::newRow("forced random beats results") << 0 << "0" << false << true << Random << 0;
    QTest::newRow("saved sets, chooser cancelled") << 2 << "7" << false << false << FailedOpen << 0;
    // Stored texts no settings window writes.
    QTest::newRow("family of equal numbers") << 1 << "5/5" << true << false << Random << 0;
    QTest::newRow("family with a 0") << 1 << "4/0" << true << false << Random << 0;
    QTest::newRow("family with a negative") << 1 << "4/-2" << true << false << Random << 0;
    QTest::newRow("family beyond any highest number") << 1 << "3/90000" << true << false << Random << 0;
    QTest::newRow("negative fixed number, results") << 0 << "-3" << false << false << Adaptive << 0;
    QTest::newRow("negative fixed number, random") << 1 << "-3" << false << false << Random << 0;
    QTest::newRow("huge fixed number") << 1 << "2147483647" << false << false << Fixed << 19;
    // A source the preferences window does not offer counts as the nearest one it does, as it does
    // for the sign-in window and the round's panel.
    QTest::newRow("source 3 is saved sets") << 3 << "0" << false << false << FailedOpen << 0;
    QTest::newRow("negative source is the results") << -1 << "0" << false << false << Adaptive << 0;
}

void TestRndSet::generatorChoice() {
    QFETCH(int, source);
    QFETCH(QString, numbers);
    QFETCH(bool, familyFlag);
    QFETCH(bool, force);
    QFETCH(Made, made);
    QFETCH(int, value);
    ScriptedDialogs dialogs;
    myPrefs::prDataSource = source;
    const Drill d{numbers, 2, 10, QStringLiteral("1^1^1^1"), 10, false};
    auto player = signIn(d);
    for (int op = 0; op < 4; ++op)
        learnAll(*player, op);
    player->corFor(2)[2] = 0; // multiplication fact 3 never answered right

    App::myRnd().seed(11);
    const auto set = build(d, familyFlag, force);
    const std::vector<Problem> ps = problemsOf(*set);
    const QSet<int> seconds = valuesOf(ps, &Problem::bot);
    QCOMPARE(set->roundReport().openSetFailed, made == FailedOpen);
    QVERIFY(!set->roundReport().myTotProbs);
    const bool choseAFile =
        !dialogs.shown.isEmpty() && dialogs.shown.first().kind == TestDoubles::Shown::OpenFile;
    QCOMPARE(choseAFile, made == FailedOpen);
    if (made != FailedOpen)
        QVERIFY(dialogs.shown.isEmpty());
    switch (made) {
    case Adaptive:
        QCOMPARE(seconds, QSet<int>{3});
        break;
    case Fixed:
        QCOMPARE(seconds, QSet<int>{value});
        break;
    case Family:
        QCOMPARE(seconds.size(), 2);
        QVERIFY(seconds.contains(value));
        break;
    case Random:
        QCOMPARE(seconds, range(1, 10));
        break;
    case FailedOpen:
        QCOMPARE(
            dialogs.messages(),
            QStringList{QStringLiteral("Unable to open a saved number set.\nA random set will be created.")});
        QCOMPARE(seconds, QSet<int>{0}); // no problems were made
        break;
    }
}

// Settings a damaged or hand-edited record could hold: each still gives a playable set, promptly.
void TestRndSet::settingsNoWindowStoresStayBounded_data() {
    QTest::addColumn<int>("hi");
    QTest::addColumn<int>("probs");
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("allowed");
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<int>("source");
    QTest::addColumn<int>("expectedProblems");

    QTest::newRow("no operation allowed") << 10 << 10 << 4 << "0^0^0^0"
                                          << "0" << 1 << 10;
    QTest::newRow("empty operations list") << 10 << 10 << 4 << ""
                                           << "0" << 1 << 10;
    QTest::newRow("operations list of letters") << 10 << 10 << 4 << "a^b"
                                                << "0" << 1 << 10;
    QTest::newRow("highest number 1") << 1 << 20 << 0 << "1^1^1^1"
                                      << "0" << 1 << 20;
    QTest::newRow("highest number negative") << -5 << 10 << 1 << "1^1^1^1"
                                             << "0" << 1 << 10;
    QTest::newRow("highest number huge") << 1000000 << 20 << 2 << "1^1^1^1"
                                         << "0" << 1 << 20;
    QTest::newRow("no problems") << 10 << 0 << 0 << "1^1^1^1"
                                 << "0" << 1 << 1;
    QTest::newRow("negative problems") << 10 << -3 << 0 << "1^1^1^1"
                                       << "0" << 0 << 1;
    QTest::newRow("too many problems") << 10 << 500 << 3 << "1^1^1^1"
                                       << "0" << 1 << 20;
    QTest::newRow("too many, adaptive") << 19 << 21 << 4 << "0^0^0^0"
                                        << "0" << 0 << 20;
    QTest::newRow("operation 99") << 10 << 10 << 99 << "0^1^0^0"
                                  << "0" << 0 << 10;
    QTest::newRow("operation -1") << 10 << 10 << -1 << "1^1^1^1"
                                  << "0" << 0 << 10;
    QTest::newRow("family 5/5, highest 1") << 1 << 20 << 0 << "1^1^1^1"
                                           << "5/5" << 1 << 20;
}

void TestRndSet::settingsNoWindowStoresStayBounded() {
    QFETCH(int, hi);
    QFETCH(int, probs);
    QFETCH(int, op);
    QFETCH(QString, allowed);
    QFETCH(QString, numbers);
    QFETCH(int, source);
    QFETCH(int, expectedProblems);
    ScriptedDialogs dialogs;
    myPrefs::prDataSource = source;
    for (int seed = 1; seed <= 50; ++seed) {
        signIn({numbers, op, hi, allowed, probs, true});
        App::myRnd().seed(seed);
        const rndSet set(hi, probs, op, numbers.contains('/'), false);
        QCOMPARE(set.getTotProblems(), expectedProblems - 1);
        for (int i = 0; i < expectedProblems; ++i) {
            const int f = set.getFunc(i);
            QVERIFY(f >= 0 && f <= 3);
            QVERIFY(set.getBotNum(i) != 0);
            QVERIFY(std::abs(set.getBotNum(i)) <= rndSet::kMaxHighest);
            if (f == 3)
                QCOMPARE(set.getTopNum(i), set.getCorAns(i) * set.getBotNum(i));
            if (op >= 0 && op <= 3)
                QCOMPARE(f, op);
        }
        // An index past the set reads as an empty problem, never as memory beyond it.
        QCOMPARE(set.getCorAns(rndSet::kMaxProblems), 0);
        QCOMPARE(set.getTopNum(-1), 0);
    }
}

void TestRndSet::factFamilyAlternates_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("op");
    QTest::addColumn<bool>("negatives");
    QTest::addColumn<QSet<int>>("ops");

    QTest::newRow("4/7, division") << "4/7" << 3 << false << QSet<int>{2, 3};
    QTest::newRow("3/5, subtraction") << "3/5" << 1 << false << QSet<int>{0, 1};
    QTest::newRow("3/5, addition, negatives") << "3/5" << 0 << true << QSet<int>{0, 1};
    QTest::newRow("12/9, multiplication") << "12/9" << 2 << false << QSet<int>{2, 3};
    QTest::newRow("2/19, random") << "2/19" << 4 << false << QSet<int>{0, 1, 2, 3};
    QTest::newRow("6/8, random, negatives") << "6/8" << 4 << true << QSet<int>{0, 1, 2, 3};
}

void TestRndSet::factFamilyAlternates() {
    QFETCH(QString, family);
    QFETCH(int, op);
    QFETCH(bool, negatives);
    QFETCH(QSet<int>, ops);
    const int a = family.section('/', 0, 0).toInt();
    const int b = family.section('/', 1, 1).toInt();
    // The highest number plays no part: 4 is below both numbers of some families.
    const Drill d{family, op, 4, QStringLiteral("1^0^0^0"), 20, negatives};
    signIn(d);
    QSet<int> opsSeen;
    for (int seed = 1; seed <= kSeeds; ++seed) {
        App::myRnd().seed(seed);
        const auto set = build(d, true);
        const std::vector<Problem> ps = problemsOf(*set);
        QCOMPARE(int(ps.size()), 20);
        for (int i = 0; i < 20; ++i) {
            const Problem& p = ps[i];
            opsSeen.insert(p.func);
            // The second number is one family number, so the first number came from the other.
            QVERIFY(std::abs(p.bot) == a || std::abs(p.bot) == b);
            const int given = std::abs(p.bot) == a ? b : a;
            if (i > 0)
                QVERIFY(std::abs(p.bot) != std::abs(ps[i - 1].bot));
            switch (p.func) {
            case 1:
                if (negatives)
                    QCOMPARE(std::abs(p.top), given);
                else // 3 - 5 becomes 8 - 5; 5 - 3 stays
                    QCOMPARE(p.top, given < p.bot ? given + p.bot : given);
                break;
            case 3:
                QCOMPARE(std::abs(p.top), given * std::abs(p.bot));
                break;
            default:
                QCOMPARE(std::abs(p.top), given);
            }
            if (!negatives) {
                QVERIFY(p.top > 0 && p.bot > 0);
                QVERIFY(set->getCorAns(i) >= 0);
            }
        }
    }
    QCOMPARE(opsSeen, ops);
}

// Multiplication results of the worked example: facts 1 to 5 at 100 %, 6 at 50 %, 7 at 80 %, 8 never
// tried, 9 at 90 %, 10 at 30 %; weights 5, 2, 10 and 7 for facts 6, 7, 8 and 10.
void TestRndSet::adaptiveWeightsFollowTheWorkedExample_data() {
    QTest::addColumn<int>("hi");
    QTest::addColumn<QList<int>>("facts");
    QTest::addColumn<QList<int>>("weights");
    QTest::newRow("highest 12: total 24") << 12 << QList<int>{6, 7, 8, 10} << QList<int>{5, 2, 10, 7};
    QTest::newRow("highest 8: total 17") << 8 << QList<int>{6, 7, 8} << QList<int>{5, 2, 10};
}

void TestRndSet::adaptiveWeightsFollowTheWorkedExample() {
    QFETCH(int, hi);
    QFETCH(QList<int>, facts);
    QFETCH(QList<int>, weights);
    myPrefs::prDataSource = 0;
    const Drill d{QStringLiteral("0"), 2, hi, QStringLiteral("1^1^1^1"), 10, false};
    auto player = signIn(d);
    setCounts(
        *player, 2,
        {{40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}, {20, 40}, {32, 40}, {0, 0}, {36, 40}, {12, 40}});
    ScriptedDialogs dialogs;
    const std::map<int, double> shares = secondShares(d, 3000);
    QVERIFY(dialogs.messages().isEmpty());
    int total = 0;
    for (int w : weights)
        total += w;
    QCOMPARE(int(shares.size()), int(facts.size())); // no other fact ever comes
    for (int k = 0; k < facts.size(); ++k) {
        QVERIFY2(shares.count(facts[k]), qPrintable(QString::number(facts[k])));
        // 30,000 draws: a standard error below 0.003, so 0.015 is five of them.
        const double expected = double(weights[k]) / total;
        QVERIFY2(std::abs(shares.at(facts[k]) - expected) < 0.015,
                 qPrintable(QStringLiteral("fact %1: %2, expected %3")
                                .arg(facts[k])
                                .arg(shares.at(facts[k]))
                                .arg(expected)));
    }
}

void TestRndSet::adaptiveKeepsFirstNumbersApart() {
    myPrefs::prDataSource = 0;
    for (const int probs : {10, 12, 20}) {
        const Drill d{QStringLiteral("0"), 2, 12, QStringLiteral("1^1^1^1"), probs, false};
        signIn(d);
        for (int seed = 1; seed <= 100; ++seed) {
            App::myRnd().seed(seed);
            const std::vector<Problem> ps = problemsOf(*build(d));
            QCOMPARE(int(ps.size()), probs);
            for (size_t i = 0; i < ps.size(); ++i) {
                QVERIFY(ps[i].top >= 1 && ps[i].top <= 12);
                if (i > 0)
                    QVERIFY(ps[i].top != ps[i - 1].top);
            }
            if (probs <= 12)
                QCOMPARE(int(valuesOf(ps, &Problem::top).size()), probs);
        }
    }
}

void TestRndSet::adaptiveSkipsCompleteOperations() {
    myPrefs::prDataSource = 0;
    const Drill d{QStringLiteral("0"), 4, 10, QStringLiteral("1^1^1^1"), 20, false};
    auto player = signIn(d);
    learnAll(*player, 0);
    ScriptedDialogs dialogs;
    QSet<int> ops;
    for (int seed = 1; seed <= 200; ++seed) {
        App::myRnd().seed(seed);
        const auto set = build(d);
        for (const Problem& p : problemsOf(*set)) {
            ops.insert(p.func);
            if (p.func == 1)
                QVERIFY(p.top >= p.bot && p.top - p.bot <= 10);
            if (p.func == 3)
                QCOMPARE(p.top % p.bot, 0);
        }
    }
    QCOMPARE(ops, (QSet<int>{1, 2, 3}));
    QVERIFY(dialogs.messages().isEmpty());
}

void TestRndSet::adaptiveFallsBackWithItsMessages_data() {
    QTest::addColumn<int>("op");
    QTest::addColumn<QString>("allowed");
    QTest::addColumn<QList<int>>("learned"); // operations whose every fact is learned
    QTest::addColumn<QString>("message");
    QTest::addColumn<QSet<int>>("ops");

    const QString all =
        QStringLiteral("You have completed all required facts. Problems will be randomly selected.");
    QTest::newRow("multiplication complete")
        << 2 << "1^1^1^1" << QList<int>{2}
        << QStringLiteral("You have completed Multiplication facts. Problems will be randomly selected.")
        << QSet<int>{2};
    QTest::newRow("subtraction complete")
        << 1 << "1^1^1^1" << QList<int>{1, 3}
        << QStringLiteral("You have completed Subtraction facts. Problems will be randomly selected.")
        << QSet<int>{1};
    QTest::newRow("all complete, one operation")
        << 0 << "1^1^1^1" << QList<int>{0, 1, 2, 3} << all << QSet<int>{0};
    QTest::newRow("all complete, random")
        << 4 << "0^1^0^1" << QList<int>{0, 1, 2, 3} << all << QSet<int>{1, 3};
    // The allowed operations are done even though another one is not: nothing the student asked for
    // is left, and the draw of an operation must not wait for one that can never come.
    QTest::newRow("allowed ones complete") << 4 << "1^1^0^0" << QList<int>{0, 1} << all << QSet<int>{0, 1};
}

void TestRndSet::adaptiveFallsBackWithItsMessages() {
    QFETCH(int, op);
    QFETCH(QString, allowed);
    QFETCH(QList<int>, learned);
    QFETCH(QString, message);
    QFETCH(QSet<int>, ops);
    myPrefs::prDataSource = 0;
    const Drill d{QStringLiteral("0"), op, 10, allowed, 10, false};
    auto player = signIn(d);
    for (int k : learned)
        learnAll(*player, k);
    for (int seed = 1; seed <= 40; ++seed) {
        ScriptedDialogs dialogs;
        App::myRnd().seed(seed);
        const auto set = build(d);
        QCOMPARE(dialogs.messages(), QStringList{message});
        QCOMPARE(dialogs.shown.first().kind, TestDoubles::Shown::Plain);
        // A random set of the student's settings follows.
        const std::vector<Problem> ps = problemsOf(*set);
        QCOMPARE(int(ps.size()), 10);
        QCOMPARE(valuesOf(ps, &Problem::bot), range(1, 10));
        for (const Problem& p : ps)
            QVERIFY(ops.contains(p.func));
    }
}

void TestRndSet::adaptiveWithWeakFactsAboveTheHighestNumber() {
    // Highest number 5, facts 1 to 5 learned, 6 to 10 weak: the operation is not complete, yet no fact
    // the student plays has a weight. Every fact 1..5 comes about equally often.
    myPrefs::prDataSource = 0;
    const Drill d{QStringLiteral("0"), 0, 5, QStringLiteral("1^1^1^1"), 10, false};
    auto player = signIn(d);
    setCounts(*player, 0, {{40, 40}, {40, 40}, {40, 40}, {40, 40}, {40, 40}});
    ScriptedDialogs dialogs;
    const std::map<int, double> shares = secondShares(d, 500);
    QVERIFY(dialogs.messages().isEmpty());
    QCOMPARE(int(shares.size()), 5);
    for (int fact = 1; fact <= 5; ++fact)
        QVERIFY(std::abs(shares.at(fact) - 0.2) < 0.03);
}

void TestRndSet::adaptiveLeavesOutFactsAtNinetyOnePercent() {
    // With the criterion at 100 %, 95 % is not learned, but it weighs nothing.
    myPrefs::prDataSource = 0;
    myPrefs::prPctCrit = 100;
    const Drill d{QStringLiteral("0"), 2, 10, QStringLiteral("1^1^1^1"), 10, false};
    auto player = signIn(d);
    learnAll(*player, 2);
    player->corFor(2)[3] = 38; // fact 4 at 95 %
    player->corFor(2)[5] = 0;  // fact 6 at 0 %
    ScriptedDialogs dialogs;
    QCOMPARE(secondShares(d, 50), (std::map<int, double>{{6, 1.0}}));
    QVERIFY(dialogs.messages().isEmpty());

    player->corFor(2)[5] = 40; // only the 95 % fact is left: nothing to practise
    App::myRnd().seed(1);
    build(d);
    QCOMPARE(dialogs.messages(),
             QStringList{"You have completed Multiplication facts. Problems will be randomly selected."});
}

// Criteria read from a preferences file beyond what the preferences window stores weigh the facts as
// the nearest criteria it stores, as they count the stars.
void TestRndSet::adaptiveWeighsByTheCriteriaInForce_data() {
    QTest::addColumn<int>("pctCrit");
    QTest::addColumn<int>("hiCrit");
    QTest::addColumn<int>("weakFact"); // of multiplication, at 5 %; every other fact at 100 %
    QTest::newRow("percentage 0 is 10") << 0 << 10 << 6;
    QTest::newRow("percentage -40 is 10") << -40 << 10 << 4;
    QTest::newRow("highest family 1 is 10") << 85 << 1 << 7;
    QTest::newRow("highest family 0 is 10") << 85 << 0 << 9;
}

void TestRndSet::adaptiveWeighsByTheCriteriaInForce() {
    QFETCH(int, pctCrit);
    QFETCH(int, hiCrit);
    QFETCH(int, weakFact);
    myPrefs::prDataSource = 0;
    myPrefs::prPctCrit = pctCrit;
    myPrefs::prHiCrit = hiCrit;
    const Drill d{QStringLiteral("0"), 2, 10, QStringLiteral("1^1^1^1"), 10, false};
    auto player = signIn(d);
    learnAll(*player, 2);
    player->corFor(2)[weakFact - 1] = 2;
    ScriptedDialogs dialogs;
    QCOMPARE(secondShares(d, 50), (std::map<int, double>{{weakFact, 1.0}}));
    QVERIFY(dialogs.messages().isEmpty());
}

void TestRndSet::adaptiveNegativesSpareTheFirstProblem() {
    myPrefs::prDataSource = 0;
    const Drill d{QStringLiteral("0"), 0, 12, QStringLiteral("1^1^1^1"), 12, true};
    signIn(d);
    int laterNegatives = 0;
    for (int seed = 1; seed <= 200; ++seed) {
        App::myRnd().seed(seed);
        const std::vector<Problem> ps = problemsOf(*build(d));
        QVERIFY(ps[0].top > 0);
        for (size_t i = 1; i < ps.size(); ++i)
            laterNegatives += ps[i].top < 0;
    }
    QVERIFY(laterNegatives > 0);
}

QTEST_GUILESS_MAIN(TestRndSet)
#include "tst_rndset.moc"
