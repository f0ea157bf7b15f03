// The basket game as a student sees it: before a game, while numbers fall (slowly and dropped
// fast), while the total is asked, when the answer is revealed, and the message of a new best.
// Every text fits its control at every step. With NBR_SHOTS_DIR set, each step is also saved there
// as a picture.

#include "app/picts.h"
#include "basketplay.h"
#include "controls/ovrmsgbox.h"
#include "data/random.h"
#include "gamefixture.h"
#include "support/doubles.h"
#include "support/lookcheck.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace BasketPlay;

class TestBsktMathScrnLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyStepReadsWhole();

private:
    void shot(QWidget* w, const QString& name);
    void textsFit();

    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    std::unique_ptr<GameTest::Student> student;
};

void TestBsktMathScrnLook::initTestCase() {
    myPicts::loadPics();
    student = std::make_unique<GameTest::Student>(QStringLiteral("Amelia Fitzgerald-Hernandez"),
                                                  QStringLiteral("9"), QStringLiteral("1"));
}

void TestBsktMathScrnLook::cleanupTestCase() {
    if (bsktMathScrn::exists())
        bsktMathScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    student.reset();
}

void TestBsktMathScrnLook::shot(QWidget* w, const QString& name) {
    textsFit();
    QVERIFY(Look::saveShot(w, QStringLiteral("basket-%1.png").arg(name)));
}

void TestBsktMathScrnLook::textsFit() {
    for (QLabel* label : game()->content()->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(game()))
            continue;
        const QRect needed = Look::neededFor(label);
        QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                 qPrintable(label->objectName() + ": " + label->text()));
    }
    auto* field = ctl<QLineEdit>(QStringLiteral("AnsFld"));
    QVERIFY(field->fontMetrics().horizontalAdvance(QStringLiteral("-90")) <= field->width() - 8);
}

void TestBsktMathScrnLook::everyStepReadsWhole() {
    QVERIFY(GameTest::openGame(4));
    bsktMathScrn* w = game();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    shot(w, QStringLiteral("1-opening"));

    App::myRnd().seed(8);
    click(QStringLiteral("StartBtn"));
    int steps = 0;
    for (int shotAt : {10, 50, 90}) {
        for (; steps < shotAt; ++steps)
            w->fallingTimer_Action();
        shot(w, QStringLiteral("2-round1-step%1").arg(shotAt));
    }
    type(fallRound());
    for (int round = 2; round <= 7; ++round)
        type(fallRound(true));
    QCOMPARE(w->round(), 8);
    QTest::keyPress(ctl(QStringLiteral("stlFocus")), Qt::Key_Space);
    w->fallingTimer_Action();
    for (int i = 0; i < 30; ++i)
        w->dropTimer_Action();
    QTest::keyRelease(ctl(QStringLiteral("stlFocus")), Qt::Key_Space);
    shot(w, QStringLiteral("3-round8-fast-drop"));
    const int total = fallRound();
    QTest::keyClicks(ctl(QStringLiteral("AnsFld")), QString::number(total + 1).left(1));
    shot(w, QStringLiteral("4-answer"));
    click(QStringLiteral("CloseBtn"));
    shot(w, QStringLiteral("5-reveal"));

    ovrMsgBox best(false, QStringLiteral("Congratulations, Amelia!\nYou have increased your total points"),
                   QStringLiteral("Try to beat this score next time."));
    best.show();
    QVERIFY(QTest::qWaitForWindowExposed(&best));
    QVERIFY(Look::saveShot(&best, QStringLiteral("basket-6-best.png")));
    best.close();
}

QTEST_MAIN(TestBsktMathScrnLook)
#include "tst_bsktmathscrn_look.moc"
