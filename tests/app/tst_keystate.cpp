#include "app/keystate.h"

#include <QLineEdit>
#include <QtTest>

class TestKeyState : public QObject {
    Q_OBJECT
private slots:
    void init();
    void heldUntilReleasedWhereverTheFocusIs();
    void aTapCountsOnlyAfterTheMark();
    void aPressCountsOnceOnItsWayUp();
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
    const KeyState::Mark before = keys.mark(Qt::Key_Space);
    QVERIFY(!keys.isHeld(Qt::Key_Space));
    QVERIFY(!keys.downSince(Qt::Key_Space, before));
    QTest::keyPress(field, Qt::Key_Space);
    QVERIFY(keys.isHeld(Qt::Key_Space));
    // Held, it is down for a mark taken now too.
    QVERIFY(keys.downSince(Qt::Key_Space, keys.mark(Qt::Key_Space)));
    QVERIFY(!keys.isHeld(Qt::Key_A));
    // Released to another control than the one that had the press.
    QTest::keyRelease(other, Qt::Key_Space);
    QVERIFY(!keys.isHeld(Qt::Key_Space));
    QVERIFY(!keys.downSince(Qt::Key_Space, keys.mark(Qt::Key_Space)));
}

void TestKeyState::aTapCountsOnlyAfterTheMark() {
    KeyState& keys = KeyState::instance();
    const KeyState::Mark before = keys.mark(Qt::Key_Space);
    QTest::keyClick(field, Qt::Key_Space);
    QVERIFY(!keys.isHeld(Qt::Key_Space));
    // Asking does not use the tap up: it stays a tap after that mark however often it is asked.
    QVERIFY(keys.downSince(Qt::Key_Space, before));
    QVERIFY(keys.downSince(Qt::Key_Space, before));
    // A mark taken after the tap does not see it, however soon it is asked.
    const KeyState::Mark after = keys.mark(Qt::Key_Space);
    QVERIFY(!keys.downSince(Qt::Key_Space, after));
    // Other keys keep their own history.
    QTest::keyClick(field, Qt::Key_A);
    QVERIFY(!keys.downSince(Qt::Key_Space, after));
}

void TestKeyState::aPressCountsOnceOnItsWayUp() {
    KeyState& keys = KeyState::instance();
    const KeyState::Mark before = keys.mark(Qt::Key_Space);
    // The field leaves Space to its parents; every step sees the same press.
    QTest::keyClick(other, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(keys.mark(Qt::Key_Space), before + 1);
}

void TestKeyState::repeatsChangeNothing() {
    KeyState& keys = KeyState::instance();
    QTest::keyPress(field, Qt::Key_Space);
    const KeyState::Mark pressed = keys.mark(Qt::Key_Space);
    // A held key repeats as release and press pairs marked as repeats.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(field, &release);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(field, &press);
    QVERIFY(keys.isHeld(Qt::Key_Space));
    QCOMPARE(keys.mark(Qt::Key_Space), pressed);
    QTest::keyRelease(field, Qt::Key_Space);
    QVERIFY(!keys.isHeld(Qt::Key_Space));
    QApplication::sendEvent(field, &press);
    QVERIFY(!keys.isHeld(Qt::Key_Space));
    QCOMPARE(keys.mark(Qt::Key_Space), pressed);
}

void TestKeyState::forgottenWhenTheProgramLosesTheFocus() {
    KeyState& keys = KeyState::instance();
    QTest::keyPress(field, Qt::Key_Space);
    const KeyState::Mark held = keys.mark(Qt::Key_Space);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(qApp, &deactivate);
    QVERIFY(!keys.isHeld(Qt::Key_Space));
    QVERIFY(!keys.downSince(Qt::Key_Space, held));
    // The next press after coming back counts again.
    QTest::keyPress(field, Qt::Key_Space);
    QVERIFY(keys.downSince(Qt::Key_Space, held));
    QTest::keyRelease(field, Qt::Key_Space);
}

QTEST_MAIN(TestKeyState)
#include "tst_keystate.moc"
