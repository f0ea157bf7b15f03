// The answer timer: when a typed answer arms the check, and which answer the check compares.

#include "controls/anstimer.h"

#include <QSignalSpy>
#include <QtTest>

class TestAnswerTimer : public QObject {
    Q_OBJECT
private slots:
    void startsOffAndEmpty();
    void armsWhenTheAnswerIsComplete_data();
    void armsWhenTheAnswerIsComplete();
    void checkComparesTheLastAnswerStored();
};

void TestAnswerTimer::startsOffAndEmpty() {
    AnsTimer t;
    QVERIFY(!t.isActive());
    QVERIFY(t.isSingleShot());
    QCOMPARE(t.userAns, 0);
    QCOMPARE(t.theCorAns, 0);
}

void TestAnswerTimer::armsWhenTheAnswerIsComplete_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("correct");
    QTest::addColumn<bool>("armed");
    QTest::addColumn<int>("userAns");

    QTest::newRow("one digit of two") << "1" << 12 << false << 0;
    QTest::newRow("both digits") << "12" << 12 << true << 12;
    QTest::newRow("wrong, complete") << "21" << 12 << true << 21;
    QTest::newRow("longer than the answer") << "123" << 12 << true << 123;
    QTest::newRow("minus sign counts: not yet") << "-1" << -12 << false << 0;
    QTest::newRow("minus sign counts: complete") << "-12" << -12 << true << -12;
    QTest::newRow("not a number checks as 0") << "a" << 0 << true << 0;
    QTest::newRow("letters after digits") << "4x" << 45 << true << 4;
    QTest::newRow("leading blank counts, then skipped") << " 7" << 17 << true << 7;
    QTest::newRow("nothing typed") << "" << 0 << false << 0;
}

void TestAnswerTimer::armsWhenTheAnswerIsComplete() {
    QFETCH(QString, typed);
    QFETCH(int, correct);
    QFETCH(bool, armed);
    QFETCH(int, userAns);
    AnsTimer t;
    t.setInterval(300);
    QCOMPARE(t.armIfComplete(typed, correct), armed);
    QCOMPARE(t.isActive(), armed);
    QCOMPARE(t.userAns, userAns);
    QCOMPARE(t.theCorAns, armed ? correct : 0);
}

void TestAnswerTimer::checkComparesTheLastAnswerStored() {
    AnsTimer t;
    t.setInterval(30);
    QList<bool> checks;
    QObject::connect(&t, &QTimer::timeout, [&] { checks << (t.userAns == t.theCorAns); });
    QVERIFY(t.armIfComplete(QStringLiteral("13"), 12));
    QVERIFY(t.armIfComplete(QStringLiteral("12"), 12)); // typed again before the check fired
    QTRY_COMPARE(checks, QList<bool>{true});
    QTest::qWait(60);
    QCOMPARE(checks, QList<bool>{true}); // one check, not two
    QVERIFY(!t.isActive());
}

QTEST_MAIN(TestAnswerTimer)
#include "tst_anstimer.moc"
