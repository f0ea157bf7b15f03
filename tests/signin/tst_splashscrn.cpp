#include "signin/namescrn.h"
#include "signin/splashscrn.h"

#include "data/appversion.h"

#include <QLabel>
#include <QtTest>

class TestSplashScrn : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void showsTheVersionOnBlack();
    void clickHandsOverOnceTheOpenStepHasFinished();
    void timerHandsOverAndALaterClickDoesNothing();
    void typingDoesNotHandOver();
};

void TestSplashScrn::cleanup() {
    if (SplashScrn::exists())
        SplashScrn::instance()->close();
    NameScrn::instance()->hide();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestSplashScrn::showsTheVersionOnBlack() {
    SplashScrn* splash = SplashScrn::instance();
    QVERIFY(splash->isVisible());
    QCOMPARE(splash->size(), QSize(800, 600));
    auto* version = splash->findChild<QLabel*>("versTxt");
    QVERIFY(version);
    QCOMPARE(version->text(), App::LongVersion());
    QCOMPARE(version->geometry(), QRect(80, 490, 640, 20));
    QCOMPARE(version->font().pixelSize(), 18);
    // The whole line fits its height: nothing of the text is cut at the bottom.
    QVERIFY(QFontMetrics(version->font()).height() <= 22);
    const QImage shot = splash->grab().toImage();
    QCOMPARE(shot.pixelColor(5, 595), QColor(Qt::black));
}

void TestSplashScrn::clickHandsOverOnceTheOpenStepHasFinished() {
    SplashScrn* splash = SplashScrn::instance();
    QPointer<SplashScrn> watch(splash);
    QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(400, 300));
    // The sign-in window needs the database: nothing happens until the open step is done.
    QVERIFY(watch);
    QVERIFY(!NameScrn::instance()->isVisible());
    splash->openStepFinished();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!watch);
    QVERIFY(!SplashScrn::exists());
    QVERIFY(NameScrn::instance()->isVisible());
    QCOMPARE(NameScrn::instance()->windowTitle(), QStringLiteral("Numbrook Riza Start"));
}

void TestSplashScrn::timerHandsOverAndALaterClickDoesNothing() {
    SplashScrn* splash = SplashScrn::instance();
    splash->openStepFinished();
    QPointer<SplashScrn> watch(splash);
    auto* timer = splash->findChild<QTimer*>("openTimer");
    QVERIFY(timer);
    QVERIFY(timer->isActive() && timer->isSingleShot());
    QCOMPARE(timer->interval(), 5000);
    QTest::mousePress(splash, Qt::LeftButton, {}, QPoint(10, 10)); // a press held across the five seconds
    timer->start(1);
    QTRY_VERIFY(!watch);
    QVERIFY(NameScrn::instance()->isVisible());
    NameScrn::instance()->hide();
    QVERIFY(!SplashScrn::exists()); // the later release finds no start window
}

void TestSplashScrn::typingDoesNotHandOver() {
    SplashScrn* splash = SplashScrn::instance();
    splash->openStepFinished();
    QTest::keyClick(splash, Qt::Key_Return);
    QTest::keyClick(splash, Qt::Key_A);
    QVERIFY(SplashScrn::exists());
    QVERIFY(!NameScrn::instance()->isVisible());
}

QTEST_MAIN(TestSplashScrn)
#include "tst_splashscrn.moc"
