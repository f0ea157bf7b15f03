// The rules of one typed problem: the answer shown while typing, the check at adding, and the row.

#include "setmaker/setentry.h"

#include <QtTest>

using SetEntry::Verdict;

class TestSetEntry : public QObject {
    Q_OBJECT
private slots:
    void signsCycleBothWays();
    void liveAnswer_data();
    void liveAnswer();
    void verify_data();
    void verify();
    void rowsKeepTheNumbersAsTyped();
};

void TestSetEntry::signsCycleBothWays() {
    QStringList drawn, rows;
    int op = 0;
    for (int i = 0; i < 5; ++i) {
        drawn << SetEntry::drawnSign(op);
        rows << SetEntry::rowSign(op);
        op = SetEntry::nextOperation(op);
    }
    QCOMPARE(drawn, (QStringList{"+", "-", "x", QString(QChar(0x00F7)), "+"}));
    QCOMPARE(rows, (QStringList{"+", "-", "X", "/", "+"}));
    QCOMPARE(SetEntry::previousOperation(0), 3);
    QCOMPARE(SetEntry::previousOperation(3), 2);
}

void TestSetEntry::liveAnswer_data() {
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("bottom");
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("answer");
    QTest::newRow("largest product") << "999"
                                     << "99" << 2 << "98901";
    QTest::newRow("decimal product") << ".5"
                                     << "9" << 2 << "4.5";
    QTest::newRow("two negatives") << "-99"
                                   << "-9" << 0 << "-108";
    QTest::newRow("decimals add as written") << ".1"
                                             << ".2" << 0 << "0.3";
    QTest::newRow("plus sign understood") << "+5"
                                          << "3" << 1 << "2";
    QTest::newRow("bottom empty, addition") << "5"
                                            << "" << 0 << "5";
    QTest::newRow("bottom empty, subtraction") << "5"
                                               << "" << 1 << "5";
    QTest::newRow("bottom empty, multiplication") << "5"
                                                  << "" << 2 << "0";
    QTest::newRow("bottom empty, division") << "5"
                                            << "" << 3 << "0";
    QTest::newRow("never minus zero") << "-0"
                                      << "5" << 2 << "0";
    QTest::newRow("negative times zero") << "-5"
                                         << "0" << 2 << "0";
    QTest::newRow("question mark is zero") << "?"
                                           << "4" << 1 << "-4";
    QTest::newRow("a lone minus is zero") << "-"
                                          << "4" << 0 << "4";
    QTest::newRow("text is zero") << "a1"
                                  << "4" << 0 << "4";
    QTest::newRow("division truncates") << "-7"
                                        << "2" << 3 << "-3";
    QTest::newRow("division truncates, negative divisor") << "7"
                                                          << "-2" << 3 << "-3";
    QTest::newRow("whole division") << "-8"
                                    << "2" << 3 << "-4";
    QTest::newRow("division takes whole numbers") << "9.9"
                                                  << "2" << 3 << "4";
    QTest::newRow("division by zero shows zero") << "5"
                                                 << "0" << 3 << "0";
    QTest::newRow("division by less than one") << "5"
                                               << ".5" << 3 << "0";
}

void TestSetEntry::liveAnswer() {
    QFETCH(QString, top);
    QFETCH(QString, bottom);
    QFETCH(int, operation);
    QFETCH(QString, answer);
    QCOMPARE(SetEntry::liveAnswer(top, bottom, operation), answer);
}

void TestSetEntry::verify_data() {
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("bottom");
    QTest::addColumn<int>("operation");
    QTest::addColumn<Verdict>("verdict");
    QTest::newRow("both empty: the top first") << ""
                                               << "" << 0 << Verdict::ResetTop;
    QTest::newRow("bottom empty") << "5"
                                  << "" << 0 << Verdict::ResetBottom;
    QTest::newRow("top question mark") << "?"
                                       << "3" << 0 << Verdict::ResetTop;
    QTest::newRow("bottom question mark") << "3"
                                          << "?" << 2 << Verdict::ResetBottom;
    QTest::newRow("top only a minus") << "-"
                                      << "3" << 1 << Verdict::ResetTop;
    QTest::newRow("bottom only a minus") << "3"
                                         << "-" << 1 << Verdict::ResetBottom;
    QTest::newRow("plus sign") << "+5"
                               << "3" << 0 << Verdict::ResetTop;
    QTest::newRow("letter first") << "a1"
                                  << "3" << 0 << Verdict::ResetTop;
    QTest::newRow("decimal point first") << "3"
                                         << ".5" << 2 << Verdict::ResetBottom;
    QTest::newRow("blank first") << " 12"
                                 << "3" << 0 << Verdict::ResetTop;
    QTest::newRow("another script's digit") << QString(QChar(0x0663)) + "5"
                                            << "3" << 0 << Verdict::ResetTop;
    QTest::newRow("empty bottom before a bad top") << "x"
                                                   << "" << 0 << Verdict::ResetTop;
    QTest::newRow("largest") << "999"
                             << "99" << 2 << Verdict::Accepted;
    QTest::newRow("smallest") << "-99"
                              << "-9" << 0 << Verdict::Accepted;
    QTest::newRow("not whole") << "7"
                               << "3" << 3 << Verdict::NotWhole;
    QTest::newRow("negative, not whole") << "-7"
                                         << "2" << 3 << Verdict::NotWhole;
    QTest::newRow("negative divisor, not whole") << "7"
                                                 << "-2" << 3 << Verdict::NotWhole;
    QTest::newRow("negative, whole") << "-8"
                                     << "2" << 3 << Verdict::Accepted;
    QTest::newRow("zero divided") << "0"
                                  << "5" << 3 << Verdict::Accepted;
    QTest::newRow("divided by zero") << "5"
                                     << "0" << 3 << Verdict::DivideByZero;
    QTest::newRow("divided by minus zero") << "5"
                                           << "-0" << 3 << Verdict::DivideByZero;
    QTest::newRow("zero divided by zero") << "0"
                                          << "0" << 3 << Verdict::DivideByZero;
    QTest::newRow("times zero is fine") << "5"
                                        << "0" << 2 << Verdict::Accepted;
}

void TestSetEntry::verify() {
    QFETCH(QString, top);
    QFETCH(QString, bottom);
    QFETCH(int, operation);
    QFETCH(Verdict, verdict);
    QCOMPARE(SetEntry::verify(top, bottom, operation), verdict);
}

void TestSetEntry::rowsKeepTheNumbersAsTyped() {
    QCOMPARE(SetEntry::rowText("-5", 1, "-3"), QStringLiteral("-5 - -3"));
    QCOMPARE(SetEntry::rowText("007", 3, "7"), QStringLiteral("007 / 7"));
    QCOMPARE(SetEntry::rowText("9", 2, "9"), QStringLiteral("9 X 9"));
}

QTEST_MAIN(TestSetEntry)
#include "tst_setentry.moc"
