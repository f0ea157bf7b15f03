#include "controls/waitscrn.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

class TestWaitScrn : public QObject {
    Q_OBJECT
private slots:
    void addsOneFullStop_data();
    void addsOneFullStop();
    void ignoresMouseAndKeyboard();
};

void TestWaitScrn::addsOneFullStop_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("looking for the server") << "Looking for server..."
                                            << "Looking for server....";
    QTest::newRow("empty") << ""
                           << ".";
    QTest::newRow("ends in a stop") << "Please wait."
                                    << "Please wait..";
}

void TestWaitScrn::addsOneFullStop() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    waitScrn box(text);
    QCOMPARE(box.text(), text);
    QCOMPARE(box.shownText(), shown);
    QCOMPARE(box.findChild<QLabel*>(QStringLiteral("mainTxt"))->text(), shown);
    QCOMPARE(box.size(), QSize(300, 102));
}

void TestWaitScrn::ignoresMouseAndKeyboard() {
    waitScrn box(QStringLiteral("Looking for server..."));
    box.showNow();
    QVERIFY(box.isVisible());
    QVERIFY(box.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(box.testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(box.focusPolicy(), Qt::NoFocus);
    QTest::mouseClick(&box, Qt::LeftButton);
    QTest::keyClick(&box, Qt::Key_Escape);
    QTest::keyClick(&box, Qt::Key_Return);
    QVERIFY(box.isVisible());
    box.close();
}

QTEST_MAIN(TestWaitScrn)
#include "tst_waitscrn.moc"
