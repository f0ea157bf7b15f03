#include "app/media.h"
#include "controls/zeriminuscontainer.h"

#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// Face colours of the picture strip the tests draw: one plain colour per band.
const QColor kNormal(200, 40, 40);
const QColor kDown(40, 160, 40);
const QColor kDisabled(40, 40, 200);
const QColor kRingOuter(147, 186, 220);
const QColor kRingInner(206, 219, 230);

struct Click {
    QPoint press;
    QPoint release;
};

} // namespace

Q_DECLARE_METATYPE(Click)

class TestZeriMinusContainer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void facesComeFromTheStrip();
    void missingStripStillDraws();
    void clicks_data();
    void clicks();
    void pressedLookFollowsTheMouse();
    void inactiveControlRefusesPresses();
    void focusRing();
    void tabMovesBetweenHalves();
    void bothHalvesDisabledTakeNoRing();
    void spacePressesTheFocusedHalf();

private:
    QTemporaryDir resources_;
    QByteArray savedResources_;
};

void TestZeriMinusContainer::initTestCase() {
    // A strip of three plain bands stands in for the picture, so each face can be told by its colour.
    QImage strip(45, 66, QImage::Format_RGB32);
    QPainter p(&strip);
    p.fillRect(0, 0, 45, 22, kNormal);
    p.fillRect(0, 22, 45, 22, kDown);
    p.fillRect(0, 44, 45, 22, kDisabled);
    p.end();
    QVERIFY(strip.save(resources_.filePath("plusminuspic.png")));
    savedResources_ = qgetenv("NBR_RESOURCES_DIR");
    qputenv("NBR_RESOURCES_DIR", resources_.path().toUtf8());
    ProjectMedia::forgetAll();
}

void TestZeriMinusContainer::cleanupTestCase() {
    qputenv("NBR_RESOURCES_DIR", savedResources_);
    ProjectMedia::forgetAll();
}

void TestZeriMinusContainer::facesComeFromTheStrip() {
    ZeriMinusContainer c;
    QCOMPARE(c.size(), QSize(45, 22));
    auto shot = [&c] {
        return c.grab().toImage();
    };

    QImage face = shot();
    QCOMPARE(face.pixelColor(5, 5), kNormal);
    QCOMPARE(face.pixelColor(40, 20), kNormal);

    // Pressed plus: the left half from the pressed face; the middle column and the right half stay.
    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(5, 10));
    face = shot();
    QCOMPARE(face.pixelColor(0, 10), kDown);
    QCOMPARE(face.pixelColor(21, 10), kDown);
    QCOMPARE(face.pixelColor(22, 10), kNormal);
    QCOMPARE(face.pixelColor(23, 10), kNormal);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(5, 10));

    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(30, 10));
    face = shot();
    QCOMPARE(face.pixelColor(21, 10), kNormal);
    QCOMPARE(face.pixelColor(23, 10), kDown);
    QCOMPARE(face.pixelColor(44, 10), kDown);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(30, 10));

    // A disabled half shows the disabled face's half.
    c.minusEnabled = false;
    face = shot();
    QCOMPARE(face.pixelColor(10, 10), kNormal);
    QCOMPARE(face.pixelColor(30, 10), kDisabled);

    // An inactive window shows the whole disabled face.
    c.minusEnabled = true;
    c.SetWindowEnabled(false);
    face = shot();
    QCOMPARE(face.pixelColor(10, 10), kDisabled);
    QCOMPARE(face.pixelColor(30, 10), kDisabled);
    c.SetWindowEnabled(true);
    c.setEnabled(false);
    QCOMPARE(shot().pixelColor(10, 10), kDisabled);
}

void TestZeriMinusContainer::missingStripStillDraws() {
    const QByteArray saved = qgetenv("NBR_RESOURCES_DIR");
    QTemporaryDir empty;
    qputenv("NBR_RESOURCES_DIR", empty.path().toUtf8());
    ProjectMedia::forgetAll();
    ZeriMinusContainer c;
    const QImage up = c.grab().toImage();
    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(5, 10));
    const QImage down = c.grab().toImage();
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(5, 10));
    c.SetWindowEnabled(false);
    const QImage disabled = c.grab().toImage();
    qputenv("NBR_RESOURCES_DIR", saved);
    ProjectMedia::forgetAll();

    // Drawn faces, different for each state, and the plus half differs from the minus half.
    QVERIFY(up != down);
    QVERIFY(up != disabled);
    QVERIFY(up.copy(0, 0, 22, 22) != up.copy(23, 0, 22, 22));
}

void TestZeriMinusContainer::clicks_data() {
    QTest::addColumn<Click>("click");
    QTest::addColumn<bool>("zeriEnabled");
    QTest::addColumn<bool>("minusEnabled");
    QTest::addColumn<int>("zeri");
    QTest::addColumn<int>("minus");
    QTest::newRow("plus") << Click{{5, 10}, {8, 12}} << true << true << 1 << 0;
    QTest::newRow("minus") << Click{{30, 10}, {40, 5}} << true << true << 0 << 1;
    QTest::newRow("last plus column") << Click{{22, 10}, {22, 10}} << true << true << 1 << 0;
    QTest::newRow("first minus column") << Click{{23, 10}, {23, 10}} << true << true << 0 << 1;
    QTest::newRow("plus, released on minus") << Click{{5, 10}, {30, 10}} << true << true << 0 << 0;
    QTest::newRow("minus, released on plus") << Click{{30, 10}, {5, 10}} << true << true << 0 << 0;
    QTest::newRow("released above") << Click{{5, 10}, {5, -1}} << true << true << 0 << 0;
    QTest::newRow("released below") << Click{{5, 10}, {5, 23}} << true << true << 0 << 0;
    QTest::newRow("released on the bottom row") << Click{{5, 10}, {5, 22}} << true << true << 1 << 0;
    QTest::newRow("minus released at the right bound") << Click{{30, 10}, {45, 10}} << true << true << 0 << 1;
    QTest::newRow("minus released beyond it") << Click{{30, 10}, {46, 10}} << true << true << 0 << 0;
    QTest::newRow("plus released left of it") << Click{{5, 10}, {-1, 10}} << true << true << 0 << 0;
    QTest::newRow("disabled plus") << Click{{5, 10}, {5, 10}} << false << true << 0 << 0;
    QTest::newRow("disabled minus") << Click{{30, 10}, {30, 10}} << true << false << 0 << 0;
}

void TestZeriMinusContainer::clicks() {
    QFETCH(Click, click);
    QFETCH(bool, zeriEnabled);
    QFETCH(bool, minusEnabled);
    QFETCH(int, zeri);
    QFETCH(int, minus);
    ZeriMinusContainer c;
    c.zeriEnabled = zeriEnabled;
    c.minusEnabled = minusEnabled;
    QSignalSpy zeriSpy(&c, &ZeriMinusContainer::ZeriPressed);
    QSignalSpy minusSpy(&c, &ZeriMinusContainer::MinusPressed);
    QTest::mousePress(&c, Qt::LeftButton, {}, click.press);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, click.release);
    QCOMPARE(zeriSpy.size(), zeri);
    QCOMPARE(minusSpy.size(), minus);
    QVERIFY(!c.zeriPushed() && !c.minusPushed());
}

void TestZeriMinusContainer::pressedLookFollowsTheMouse() {
    ZeriMinusContainer c;
    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(5, 10));
    QVERIFY(c.zeriPushed() && !c.minusPushed());
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(30, 10));
    QVERIFY(!c.zeriPushed());

    // A press on a disabled half is taken but draws nothing pressed.
    c.zeriEnabled = false;
    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(5, 10));
    QVERIFY(!c.zeriPushed() && !c.minusPushed());
    QCOMPARE(c.grab().toImage().pixelColor(5, 10), kDisabled);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(5, 10));
}

void TestZeriMinusContainer::inactiveControlRefusesPresses() {
    ZeriMinusContainer c;
    QSignalSpy zeriSpy(&c, &ZeriMinusContainer::ZeriPressed);
    c.SetWindowEnabled(false);
    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(5, 10));
    QVERIFY(!c.zeriPushed());
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(5, 10));
    QCOMPARE(zeriSpy.size(), 0);

    // Back to active: a press that began while inactive does not count on a later release.
    c.SetWindowEnabled(true);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(5, 10));
    QCOMPARE(zeriSpy.size(), 0);
}

void TestZeriMinusContainer::focusRing() {
    ZeriMinusContainer c;
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&c, &in);
    QCOMPARE(c.focusedButton(), int(ZeriMinusContainer::ZeriHalf));
    QImage face = c.grab().toImage();
    QCOMPARE(face.pixelColor(0, 10), kRingOuter);
    QCOMPARE(face.pixelColor(1, 10), kRingInner);
    QCOMPARE(face.pixelColor(10, 0), kRingOuter);
    QCOMPARE(face.pixelColor(10, 10), kNormal);
    QCOMPARE(face.pixelColor(44, 10), kNormal);

    // Inactive: the disabled face, with the ring still around the focused half.
    c.SetWindowEnabled(false);
    face = c.grab().toImage();
    QCOMPARE(face.pixelColor(0, 10), kRingOuter);
    QCOMPARE(face.pixelColor(10, 10), kDisabled);

    // A half disabled while it holds the focus loses its ring at the next paint.
    c.SetWindowEnabled(true);
    c.zeriEnabled = false;
    face = c.grab().toImage();
    QCOMPARE(face.pixelColor(0, 10), kDisabled);

    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&c, &out);
    QCOMPARE(c.focusedButton(), int(ZeriMinusContainer::NoHalf));
}

void TestZeriMinusContainer::tabMovesBetweenHalves() {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* before = new QLineEdit(&window);
    auto* c = new ZeriMinusContainer(&window);
    auto* after = new QLineEdit(&window);
    layout->addWidget(before);
    layout->addWidget(c);
    layout->addWidget(after);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    c->setFocus(Qt::TabFocusReason);
    QVERIFY(c->hasFocus());
    QCOMPARE(c->focusedButton(), 1);
    QTest::keyClick(c, Qt::Key_Tab);
    QVERIFY(c->hasFocus());
    QCOMPARE(c->focusedButton(), 2);
    // Tab from minus leaves the control.
    QTest::keyClick(c, Qt::Key_Tab);
    QVERIFY(after->hasFocus());
    QCOMPARE(c->focusedButton(), 0);

    c->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c, Qt::Key_Tab);
    QTest::keyClick(c, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(c->hasFocus());
    QCOMPARE(c->focusedButton(), 1);
    // Shift-Tab from plus goes back to the control before.
    QTest::keyClick(c, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(before->hasFocus());

    // With minus disabled, Tab from plus leaves at once.
    c->minusEnabled = false;
    c->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c, Qt::Key_Tab);
    QVERIFY(after->hasFocus());
}

void TestZeriMinusContainer::bothHalvesDisabledTakeNoRing() {
    ZeriMinusContainer c;
    c.zeriEnabled = false;
    c.minusEnabled = false;
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&c, &in);
    QCOMPARE(c.focusedButton(), 0);
    const QImage face = c.grab().toImage();
    QCOMPARE(face.pixelColor(0, 10), kDisabled);
    QCOMPARE(face.pixelColor(44, 10), kDisabled);
}

void TestZeriMinusContainer::spacePressesTheFocusedHalf() {
    ZeriMinusContainer c;
    QSignalSpy zeriSpy(&c, &ZeriMinusContainer::ZeriPressed);
    QSignalSpy minusSpy(&c, &ZeriMinusContainer::MinusPressed);

    // Without the focus, Space does nothing.
    QTest::keyClick(&c, Qt::Key_Space);
    QCOMPARE(zeriSpy.size() + minusSpy.size(), 0);

    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(&c, &in);
    QTest::keyClick(&c, Qt::Key_Space);
    QCOMPARE(zeriSpy.size(), 1);
    // The pressed half shows for a moment, then comes up again.
    QVERIFY(c.zeriPushed());
    QCOMPARE(c.grab().toImage().pixelColor(5, 10), kDown);
    QTRY_VERIFY_WITH_TIMEOUT(!c.zeriPushed(), 1000);

    // Space presses the focused half even once it has been disabled.
    QTest::keyClick(&c, Qt::Key_Tab);
    QCOMPARE(c.focusedButton(), 2);
    c.minusEnabled = false;
    QTest::keyClick(&c, Qt::Key_Space);
    QCOMPARE(minusSpy.size(), 1);
    QCOMPARE(zeriSpy.size(), 1);
}

QTEST_MAIN(TestZeriMinusContainer)
#include "tst_zeriminuscontainer.moc"
