#include "app/keystate.h"

#include <QLineEdit>
#include <QtTest>

class TestKeyState : public QObject {
    Q_OBJECT
private slots:
    void init();
    void heldUntilReleasedWhereverTheFocusIs();
    void aTapBetweenTwoPollsCountsOnce();
    void repeatsChangeNothing();
    void forgottenWhenTheProgramLosesTheFocus();

private:
    QWidget window;
    QLineEdit* field = nullptr;
    QWidget* other = nullptr;
};

void TestKeyState::init() {
    KeyState::instance().forget();
    if (!field) {
        field = new QLineEdit(&window);
        other = new QLineEdit(&window);
        other->move(0, 40);
        window.show();
    }
}

void TestKeyState::heldUntilReleasedWhereverTheFocusIs() {
    KeyState& keys = KeyState::instance();
    QVERIFY(!keys.isDown(Qt::Key_Space));
    QTest::keyPress(field, Qt::Key_Space);
    QVERIFY(keys.isDown(Qt::Key_Space));
    QVERIFY(keys.isDown(Qt::Key_Space));
    QVERIFY(!keys.isDown(Qt::Key_A));
    // Released to another control than the one that had the press.
    QTest::keyRelease(other, Qt::Key_Space);
    QVERIFY(!keys.isDown(Qt::Key_Space));
}

void TestKeyState::aTapBetweenTwoPollsCountsOnce() {
    KeyState& keys = KeyState::instance();
    QTest::keyClick(field, Qt::Key_Space);
    QVERIFY(keys.peek(Qt::Key_Space));
    QVERIFY(keys.isDown(Qt::Key_Space));
    QVERIFY(!keys.isDown(Qt::Key_Space));
}

void TestKeyState::repeatsChangeNothing() {
    KeyState& keys = KeyState::instance();
    QTest::keyPress(field, Qt::Key_Space);
    QVERIFY(keys.isDown(Qt::Key_Space));
    // A held key repeats as release and press pairs marked as repeats.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(field, &release);
    QVERIFY(keys.isDown(Qt::Key_Space));
    QTest::keyRelease(field, Qt::Key_Space);
    QVERIFY(!keys.isDown(Qt::Key_Space));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(field, &press);
    QVERIFY(!keys.isDown(Qt::Key_Space));
}

void TestKeyState::forgottenWhenTheProgramLosesTheFocus() {
    KeyState& keys = KeyState::instance();
    QTest::keyPress(field, Qt::Key_Space);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(qApp, &deactivate);
    QVERIFY(!keys.isDown(Qt::Key_Space));
}

QTEST_MAIN(TestKeyState)
#include "tst_keystate.moc"
