#include "data/gamebests.h"
#include "data/random.h"
#include "games/mindgames/mindrules.h"

#include <QLocale>
#include <QtTest>

#include <climits>

using namespace MindRules;

namespace {

// Ordinary arithmetic on a written expression: brackets first, then times, then plus and minus from
// left to right. It knows nothing of how the game works a row out.
class Evaluator {
public:
    explicit Evaluator(const QString& text) : s_(text) { s_.remove(' '); }
    long long value() {
        const long long v = sum();
        if (pos_ != s_.size())
            qFatal("left over in %s", qPrintable(s_));
        return v;
    }

private:
    long long sum() {
        long long v = product();
        while (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) {
            const QChar op = s_[pos_++];
            const long long r = product();
            v = op == '+' ? v + r : v - r;
        }
        return v;
    }
    long long product() {
        long long v = factor();
        while (pos_ < s_.size() && s_[pos_] == 'x') {
            ++pos_;
            v *= factor();
        }
        return v;
    }
    long long factor() {
        if (s_[pos_] == '(') {
            ++pos_;
            const long long v = sum();
            ++pos_; // ')'
            return v;
        }
        bool negative = false;
        if (s_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        long long v = 0;
        while (pos_ < s_.size() && s_[pos_].isDigit())
            v = v * 10 + s_[pos_++].digitValue();
        return negative ? -v : v;
    }
    QString s_;
    int pos_ = 0;
};

QString sign(int op) {
    return op == Add ? QStringLiteral("+") : op == Subtract ? QStringLiteral("-") : QStringLiteral("x");
}

// A row written as the board shows it: its numbers and signs, and its brackets where their x says.
QString written(int a, int p, int b, int q, int c, int openX, int closeX) {
    const QString na = QString::number(a), nb = QString::number(b), nc = QString::number(c);
    if (openX == 14 && closeX == 243)
        return "(" + na + sign(p) + nb + ")" + sign(q) + nc;
    if (openX == 163 && closeX == 392)
        return na + sign(p) + "(" + nb + sign(q) + nc + ")";
    qFatal("brackets at %d and %d", openX, closeX);
    return {};
}

} // namespace

class TestMindRules : public QObject {
    Q_OBJECT
private slots:
    void performOpFollowsIntegerArithmetic_data();
    void performOpFollowsIntegerArithmetic();
    void bracketedPairFirst_data();
    void bracketedPairFirst();
    void boardAgreesWithOrdinaryArithmetic_data();
    void boardAgreesWithOrdinaryArithmetic();
    void levels_data();
    void levels();
    void levelShownForTheDrillSetting_data();
    void levelShownForTheDrillSetting();
    void averages_data();
    void averages();
    void improvesOnlyWhenStrictlyLower_data();
    void improvesOnlyWhenStrictlyLower();
    void storedAverageIgnoresTheLocale();
};

void TestMindRules::performOpFollowsIntegerArithmetic_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("result");
    QTest::newRow("add") << 5 << 3 << 0 << 8;
    QTest::newRow("subtract") << 2 << 5 << 1 << -3;
    QTest::newRow("multiply") << 1728 << 1728 << 2 << 2985984;
    QTest::newRow("no division") << 12 << 3 << 3 << 0;
    QTest::newRow("wraps at 32 bits") << INT_MIN << 1 << 1 << INT_MAX;
}

void TestMindRules::performOpFollowsIntegerArithmetic() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, op);
    QFETCH(int, result);
    QCOMPARE(performOp(a, b, op), result);
}

void TestMindRules::bracketedPairFirst_data() {
    QTest::addColumn<QList<int>>("row"); // a p b q c
    QTest::addColumn<bool>("firstPair");
    QTest::addColumn<int>("value");
    QTest::newRow("(5 - 3) - 1") << QList<int>{5, 1, 3, 1, 1} << true << 1;
    QTest::newRow("5 - (3 - 1)") << QList<int>{5, 1, 3, 1, 1} << false << 3;
    QTest::newRow("(2 - 3) x 4") << QList<int>{2, 1, 3, 2, 4} << true << -4;
    QTest::newRow("2 - (3 x 4)") << QList<int>{2, 1, 3, 2, 4} << false << -10;
    QTest::newRow("(2 + 3) x 4") << QList<int>{2, 0, 3, 2, 4} << true << 20;
    QTest::newRow("2 x (3 + 4)") << QList<int>{2, 2, 3, 0, 4} << false << 14;
    QTest::newRow("(12 x 12) x 12") << QList<int>{12, 2, 12, 2, 12} << true << 1728;
}

void TestMindRules::bracketedPairFirst() {
    QFETCH(QList<int>, row);
    QFETCH(bool, firstPair);
    QFETCH(int, value);
    QCOMPARE(rowValue(row[0], row[1], row[2], row[3], row[4], firstPair), value);
    const ParenLefts at = parenLefts(firstPair);
    QCOMPARE(Evaluator(written(row[0], row[1], row[2], row[3], row[4], at.open, at.close)).value(), value);
}

void TestMindRules::boardAgreesWithOrdinaryArithmetic_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("negatives");
    for (int level = kLowestLevel; level <= kHighestLevel; ++level) {
        QTest::addRow("level %d", level) << level << false;
        QTest::addRow("level %d with negatives", level) << level << true;
    }
}

void TestMindRules::boardAgreesWithOrdinaryArithmetic() {
    QFETCH(int, level);
    QFETCH(bool, negatives);
    const int hiNum = hiNumForLevel(QString::number(level));
    App::Random rnd;
    rnd.seed(quint32(level * 2 + negatives));
    int bothPlaces[2] = {0, 0};
    int belowOne = 0;
    for (int i = 0; i < 1000; ++i) {
        const Problem p = makeProblem(hiNum, negatives, rnd);
        for (int n : p.myNum)
            QVERIFY(n >= 1 && n <= hiNum);
        for (int f : p.theFunc)
            QVERIFY(f >= Add && f <= Multiply);
        long long rows[2];
        for (int row = 0; row < 2; ++row) {
            const auto& n = p.myNum;
            const auto& f = p.theFunc;
            const int k = row * 3;
            const ParenLefts at = parenLefts(p.firstPair[std::size_t(row)]);
            ++bothPlaces[at.open == 14];
            rows[row] =
                Evaluator(written(n[k], f[row * 2], n[k + 1], f[row * 2 + 1], n[k + 2], at.open, at.close))
                    .value();
            QCOMPARE(p.subTot[std::size_t(row)], int(rows[row]));
            if (!negatives)
                QVERIFY(rows[row] >= 1);
            belowOne += rows[row] < 1;
        }
        const QString joined = QStringLiteral("(%1)%2(%3)").arg(rows[0]).arg(sign(p.theFunc[4])).arg(rows[1]);
        QCOMPARE(p.corAns, int(Evaluator(joined).value()));
        QVERIFY(!prompt(p.theFunc[4]).isEmpty());
    }
    QVERIFY(bothPlaces[0] > 300 && bothPlaces[1] > 300);
    if (negatives)
        QVERIFY(belowOne > 0);
}

void TestMindRules::levels_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("hiNum");
    QTest::newRow("1") << "1" << 3;
    QTest::newRow("2") << "2" << 6;
    QTest::newRow("3") << "3" << 9;
    QTest::newRow("4") << "4" << 12;
    QTest::newRow("7 plays 4") << "7" << 12;
    QTest::newRow("9 plays 4") << "9" << 12;
    QTest::newRow("0 plays 1") << "0" << 3;
    QTest::newRow("letters play 1") << "abc" << 3;
    QTest::newRow("empty plays 1") << "" << 3;
    QTest::newRow("fraction") << "2.5" << 6;
    QTest::newRow("past 32 bits") << "99999999999" << 12;
}

void TestMindRules::levels() {
    QFETCH(QString, typed);
    QFETCH(int, hiNum);
    QCOMPARE(hiNumForLevel(typed), hiNum);
}

void TestMindRules::levelShownForTheDrillSetting_data() {
    QTest::addColumn<int>("setting");
    QTest::addColumn<int>("level");
    QTest::newRow("4") << 4 << 1;
    QTest::newRow("5") << 5 << 1;
    QTest::newRow("6") << 6 << 2;
    QTest::newRow("10") << 10 << 3;
    QTest::newRow("12") << 12 << 4;
    QTest::newRow("19") << 19 << 4;
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("2") << 2 << 0;
}

void TestMindRules::levelShownForTheDrillSetting() {
    QFETCH(int, setting);
    QFETCH(int, level);
    QCOMPARE(levelForHiNum(setting), level);
}

void TestMindRules::averages_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("finished");
    QTest::addColumn<QString>("running");
    QTest::addColumn<double>("average");
    QTest::newRow("7.5") << 45 << 6 << "7.5" << 7.5;
    QTest::newRow("7.33") << 22 << 3 << "7.33" << 22.0 / 3;
    QTest::newRow("whole") << 60 << 5 << "12" << 12.0;
    QTest::newRow("below one") << 1 << 2 << ".5" << 0.5;
    QTest::newRow("nothing finished") << 10 << 0 << "0" << 99.99;
    QTest::newRow("no time") << 0 << 5 << "0" << 99.99;
    QTest::newRow("time below zero") << -3 << 5 << "-.6" << 99.99;
    QTest::newRow("whole below zero") << -10 << 5 << "-2" << 99.99;
}

void TestMindRules::averages() {
    QFETCH(int, seconds);
    QFETCH(int, finished);
    QFETCH(QString, running);
    QFETCH(double, average);
    QCOMPARE(runningAverage(seconds, finished), running);
    QCOMPARE(MindRules::average(seconds, finished), average);
}

void TestMindRules::improvesOnlyWhenStrictlyLower_data() {
    QTest::addColumn<double>("average");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("improves");
    QTest::newRow("12 against none") << 12.0 << "99.99" << true;
    QTest::newRow("equal") << 12.0 << "12.00" << false;
    QTest::newRow("higher") << 12.5 << "12.00" << false;
    QTest::newRow("7.497 against 7.50") << 7.497 << "7.50" << true;
    QTest::newRow("no time against none") << 99.99 << "99.99" << false;
    QTest::newRow("a best that is no number") << 12.0 << "abc" << true;
    QTest::newRow("a best of 0") << 12.0 << "0" << true;
    QTest::newRow("a negative best") << 12.0 << "-3" << true;
}

void TestMindRules::improvesOnlyWhenStrictlyLower() {
    QFETCH(double, average);
    QFETCH(QString, stored);
    QFETCH(bool, improves);
    QCOMPARE(MindRules::improves(average, stored), improves);
}

void TestMindRules::storedAverageIgnoresTheLocale() {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(GameBests::formatAverage(MindRules::average(60, 5)), QStringLiteral("12.00"));
    QCOMPARE(runningAverage(45, 6), QStringLiteral("7.5"));
    QLocale::setDefault(before);
}

QTEST_GUILESS_MAIN(TestMindRules)
#include "tst_mindrules.moc"
