#include "app/picts.h"
#include "games/basket/chutecnv.h"

#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A digit-sized picture with no cream anywhere: every row of it is told from the chute.
QPixmap solidDigit() {
    QPixmap p(24, 32);
    p.fill(QColor(20, 40, 200));
    QPainter g(&p);
    g.fillRect(0, 0, 24, 2, Qt::red); // a top edge of its own colour, to see the picture is whole
    return p;
}

bool isCream(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == chuteCnv::kCream;
}

} // namespace

class TestChuteCnv : public QObject {
    Q_OBJECT
private slots:
    void landsAfterItsSteps_data();
    void landsAfterItsSteps();
    void leavesNoTrail_data();
    void leavesNoTrail();
    void firstStepShowsTheBottomRows();
    void clearNumErasesThePicture();
    void aStepRepaintsOnlyItsRows();
};

void TestChuteCnv::landsAfterItsSteps_data() {
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("lastTop");
    QTest::newRow("3 px") << 3 << 98 << 262;
    QTest::newRow("4 px") << 4 << 74 << 264;
    QTest::newRow("10 px") << 10 << 30 << 268;
    QTest::newRow("25 px") << 25 << 12 << 268;
    QTest::newRow("1 px: 260 is not past the bottom") << 1 << 293 << 261;
}

void TestChuteCnv::landsAfterItsSteps() {
    QFETCH(int, rate);
    QFETCH(int, steps);
    QFETCH(int, lastTop);
    chuteCnv chute;
    QSignalSpy landed(&chute, &chuteCnv::bottomReached);
    chute.init(solidDigit(), rate);
    QCOMPARE(chute.myTop, -32);
    for (int i = 1; i < steps; ++i)
        chute.update();
    QCOMPARE(landed.count(), 0);
    chute.update();
    QCOMPARE(landed.count(), 1);
    QCOMPARE(chute.myTop, lastTop);
    // Nothing of the landed number is left in the chute.
    for (int y = 0; y < chuteCnv::kHeight; ++y)
        QVERIFY2(isCream(chute.surface(), 10, y), qPrintable(QString::number(y)));
    // The chute does not stop by itself.
    chute.update();
    QCOMPARE(landed.count(), 2);
}

void TestChuteCnv::leavesNoTrail_data() {
    QTest::addColumn<int>("rate");
    QTest::newRow("3 px") << 3;
    QTest::newRow("4 px") << 4;
    QTest::newRow("10 px") << 10;
    QTest::newRow("25 px") << 25;
}

void TestChuteCnv::leavesNoTrail() {
    QFETCH(int, rate);
    chuteCnv chute;
    chute.init(solidDigit(), rate);
    const QImage& s = chute.surface();
    while (chute.myTop <= chuteCnv::kHeight) {
        chute.update();
        for (int y = 0; y < chuteCnv::kHeight; ++y) {
            const bool underPicture = y >= chute.myTop && y < chute.myTop + 32;
            // The picture shows whole where it stands, the chute is cream everywhere else.
            for (int x : {0, 4, 5, 28, 29, 33}) {
                const bool onPicture = underPicture && x >= 5 && x < 29;
                QVERIFY2(isCream(s, x, y) != onPicture,
                         qPrintable(QStringLiteral("top %1, x %2, y %3").arg(chute.myTop).arg(x).arg(y)));
            }
        }
        if (chute.myTop >= 0 && chute.myTop < chuteCnv::kHeight)
            QCOMPARE(s.pixelColor(10, chute.myTop), QColor(Qt::red));
    }
}

void TestChuteCnv::firstStepShowsTheBottomRows() {
    chuteCnv chute;
    chute.init(solidDigit(), 3);
    chute.update();
    QCOMPARE(chute.myTop, -29);
    QCOMPARE(chute.surface().pixelColor(10, 2), QColor(20, 40, 200));
    QVERIFY(isCream(chute.surface(), 10, 3));
}

void TestChuteCnv::clearNumErasesThePicture() {
    chuteCnv chute;
    chute.init(solidDigit(), 10);
    for (int i = 0; i < 10; ++i)
        chute.update();
    QVERIFY(!isCream(chute.surface(), 10, chute.myTop + 5));
    chute.clearNum();
    for (int y = 0; y < chuteCnv::kHeight; ++y)
        QVERIFY(isCream(chute.surface(), 10, y));
}

void TestChuteCnv::aStepRepaintsOnlyItsRows() {
    QWidget window;
    window.resize(100, 300);
    auto* chute = new chuteCnv(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    struct Spy : QObject {
        QRegion painted;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } spy;
    chute->installEventFilter(&spy);
    chute->init(solidDigit(), 4);
    for (int i = 0; i < 40; ++i)
        chute->update();
    QTRY_VERIFY(!spy.painted.isEmpty());
    QTest::qWait(20);
    spy.painted = QRegion();
    chute->update();
    QTRY_VERIFY(!spy.painted.isEmpty());
    // The four rows left and the picture's new place, nothing else.
    QCOMPARE(spy.painted.boundingRect(), QRect(0, chute->myTop - 4, 34, 36));
    // The shown chute is what the image holds.
    QCOMPARE(chute->grab().toImage().convertToFormat(QImage::Format_RGB32), chute->surface());
}

QTEST_MAIN(TestChuteCnv)
#include "tst_chutecnv.moc"
