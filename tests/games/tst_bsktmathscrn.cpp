#include "app/helplink.h"
#include "app/media.h"
#include "app/menus.h"
#include "app/picts.h"
#include "basketplay.h"
#include "controls/anstimer.h"
#include "controls/newcnvbtn.h"
#include "controls/ovrcheckbox.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/random.h"
#include "data/strecord.h"
#include "gamefixture.h"
#include "games/basket/basketrules.h"
#include "games/basket/bsktmathscrn.h"
#include "games/basket/chutecnv.h"
#include "games/common/answerfield.h"
#include "settings/numbercombo.h"
#include "support/doubles.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QtTest>

using namespace BasketPlay;

class TestBsktMathScrn : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layoutInWindowCoordinates_data();
    void layoutInWindowCoordinates();
    void openingTakesTheStudentsSettings_data();
    void openingTakesTheStudentsSettings();
    void highestNumberBoxHoldsItsChoiceToThisVisit_data();
    void highestNumberBoxHoldsItsChoiceToThisVisit();
    void roundsFallFasterAndLonger();
    void spaceDropsTheNumberFast();
    void aSpaceFromBeforeThisFallDropsNothing_data();
    void aSpaceFromBeforeThisFallDropsNothing();
    void keysTheGameDoesNotTakeBeep();
    void aGameOfThreeRoundsIsStoredAndALowerOneIsNot();
    void stopGameCancelsAWaitingCheck();
    void closingWhileContinueKeepsTheBestSilently();
    void closingMidGameStopsEverythingAndScoresNothing();
    void failedSaveShowsTheMessageThenSignIn();
    void menusAnswerOnlyHelp();
    void repaintsDoNotShiftASeededGame();
    void everyPictureIsThere();

private:
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    std::unique_ptr<GameTest::Student> student;
};

void TestBsktMathScrn::initTestCase() {
    myPicts::loadPics();
}

void TestBsktMathScrn::init() {
    myPrefs::initPrefs();
    myPrefs::prMaxTries = 3;
    GameTest::soundsOn();
    dialogs.clear();
    feedback.beeps = 0;
    feedback.sounds.clear();
    App::myRnd().seed(2026);
}

void TestBsktMathScrn::cleanup() {
    if (bsktMathScrn::exists())
        bsktMathScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    student.reset();
    HelpLink::install({});
}

void TestBsktMathScrn::layoutInWindowCoordinates_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<bool>("shown");
    QTest::newRow("bkgCnv") << "bkgCnv"
                            << "CustomBlueBkg" << QRect(568, 0, 232, 520) << true;
    QTest::newRow("showTxt1") << "showTxt1"
                              << "bkgCnv" << QRect(592, 54, 189, 16) << true;
    QTest::newRow("showTxt2") << "showTxt2"
                              << "bkgCnv" << QRect(588, 112, 189, 16) << true;
    QTest::newRow("GroupBox1") << "GroupBox1"
                               << "bkgCnv" << QRect(584, 340, 200, 154) << true;
    QTest::newRow("StartBtn") << "StartBtn"
                              << "GroupBox1" << QRect(606, 386, 160, 32) << true;
    QTest::newRow("CloseBtn") << "CloseBtn"
                              << "GroupBox1" << QRect(606, 440, 160, 32) << true;
    QTest::newRow("StaticText3") << "StaticText3"
                                 << "GroupBox1" << QRect(594, 351, 100, 20) << true;
    QTest::newRow("StaticText4") << "StaticText4"
                                 << "bkgCnv" << QRect(592, 172, 108, 16) << true;
    QTest::newRow("hiNumFld") << "hiNumFld"
                              << "bkgCnv" << QRect(708, 170, 68, 22) << true;
    QTest::newRow("StaticText5") << "StaticText5"
                                 << "bkgCnv" << QRect(598, 268, 95, 20) << true;
    QTest::newRow("RoundFld") << "RoundFld"
                              << "bkgCnv" << QRect(706, 268, 60, 22) << true;
    QTest::newRow("StaticText7") << "StaticText7"
                                 << "bkgCnv" << QRect(592, 220, 79, 20) << true;
    QTest::newRow("PtsCnv") << "PtsCnv"
                            << "bkgCnv" << QRect(676, 210, 100, 40) << true;
    QTest::newRow("allowNegBtn") << "allowNegBtn"
                                 << "bkgCnv" << QRect(592, 304, 196, 24) << true;
    QTest::newRow("InstrFld") << "InstrFld"
                              << "CustomBlueBkg" << QRect(30, 8, 488, 34) << true;
    QTest::newRow("basketCnv") << "basketCnv"
                               << "CustomBlueBkg" << QRect(229, 390, 90, 108) << true;
    QTest::newRow("funcCnv") << "funcCnv"
                             << "basketCnv" << QRect(250, 409, 48, 48) << true;
    QTest::newRow("AnsFld") << "AnsFld"
                            << "CustomBlueBkg" << QRect(404, 409, 84, 36) << false;
    QTest::newRow("seeAnsFld") << "seeAnsFld"
                               << "CustomBlueBkg" << QRect(386, 383, 120, 20) << false;
    QTest::newRow("attemptFld") << "attemptFld"
                                << "CustomBlueBkg" << QRect(386, 451, 100, 16) << false;
    QTest::newRow("StaticText8") << "StaticText8"
                                 << "CustomBlueBkg" << QRect(214, 501, 120, 16) << true;
    QTest::newRow("stlFocus") << "stlFocus"
                              << "CustomBlueBkg" << QRect(803, 289, 80, 22) << true;
    QTest::newRow("spoutCnv2") << "spoutCnv2"
                               << "CustomBlueBkg" << QRect(229, 57, 90, 74) << true;
    QTest::newRow("myChute") << "myChute"
                             << "CustomBlueBkg" << QRect(257, 130, 34, 260) << true;
}

void TestBsktMathScrn::layoutInWindowCoordinates() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, rect);
    QFETCH(bool, shown);
    student = std::make_unique<GameTest::Student>(QStringLiteral("Ann Lee"));
    dialogs.clear();
    bsktMathScrn* w = bsktMathScrn::instance();
    w->show();
    QCOMPARE(w->windowTitle(), QStringLiteral("Zuduzo 'd Izuv"));
    QCOMPARE(w->content()->size(), QSize(800, 580));
    QWidget* c = ctl(name);
    QCOMPARE(c->parentWidget()->objectName(), parent);
    QCOMPARE(QRect(c->mapTo(w->content(), QPoint(0, 0)), c->size()), rect);
    QCOMPARE(c->isVisibleTo(w), shown);
    const QList<QLabel*> info = w->findChildren<QLabel*>(QStringLiteral("InfoTxt"));
    QCOMPARE(info.size(), 2);
    QCOMPARE(info[1]->property("Index").toInt(), 1);
    QCOMPARE(info[1]->geometry().translated(568, 0), QRect(592, 138, 189, 20));
    for (const char* t : {"checkTimer", "fallingTimer", "dropTimer"})
        QVERIFY(!w->findChild<QTimer*>(QLatin1String(t))->isActive());
    // Only the fields take the keyboard.
    QCOMPARE(ctl(QStringLiteral("myChute"))->focusPolicy(), Qt::NoFocus);
}

void TestBsktMathScrn::openingTakesTheStudentsSettings_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hiNum");
    QTest::addColumn<QString>("negatives");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("plays");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("default 10") << "Ann Lee"
                                << "10"
                                << "0"
                                << "9" << 9 << false;
    QTest::newRow("19") << "Ann Lee"
                        << "19"
                        << "1"
                        << "9" << 9 << true;
    QTest::newRow("6") << "Bo"
                       << "6"
                       << "1"
                       << "6" << 6 << true;
    QTest::newRow("4") << "Bo"
                       << "4"
                       << "2"
                       << "4" << 4 << false;
    QTest::newRow("no number") << "Bo"
                               << "abc"
                               << "0"
                               << "0" << 4 << false;
    QTest::newRow("0") << "Bo"
                       << "0"
                       << "0"
                       << "0" << 4 << false;
    QTest::newRow("negative") << "Bo"
                              << "-3"
                              << "0"
                              << "-3" << 4 << false;
}

void TestBsktMathScrn::openingTakesTheStudentsSettings() {
    QFETCH(QString, name);
    QFETCH(QString, hiNum);
    QFETCH(QString, negatives);
    QFETCH(QString, shown);
    QFETCH(int, plays);
    QFETCH(bool, ticked);
    student = std::make_unique<GameTest::Student>(name, hiNum, negatives);
    dialogs.clear();
    QVERIFY(GameTest::openGame(4));
    bsktMathScrn* w = game();
    QVERIFY(w && w->isVisible());
    QVERIFY(!NameScrn::exists() || !NameScrn::instance()->isVisible());
    const QList<QLabel*> info = w->findChildren<QLabel*>(QStringLiteral("InfoTxt"));
    QCOMPARE(info[0]->text(), name);
    QCOMPARE(info[1]->text(), QStringLiteral("0"));
    QCOMPARE(ctl<QLabel>(QStringLiteral("showTxt2"))->text(), name.section(' ', 0, 0) + "'s Highest Score.");
    auto* box = ctl<NumberCombo>(QStringLiteral("hiNumFld"));
    QCOMPARE(box->count(), 6);
    QCOMPARE(box->itemText(0), QStringLiteral("4"));
    QCOMPARE(box->itemText(5), QStringLiteral("9"));
    QCOMPARE(box->currentText(), shown);
    QCOMPARE(w->highestNumber(), plays);
    QCOMPARE(ctl<ovrCheckBox>(QStringLiteral("allowNegBtn"))->value(), ticked);
    QCOMPARE(ctl<ovrCheckBox>(QStringLiteral("allowNegBtn"))->myText(),
             QStringLiteral("Allow Negative Numbers"));
    QCOMPARE(caption(QStringLiteral("StartBtn")), QStringLiteral("Start Game"));
    QCOMPARE(ctl<newCnvBtn>(QStringLiteral("StartBtn"))->kind(), 1);
    QCOMPARE(caption(QStringLiteral("CloseBtn")), QStringLiteral("Close Screen"));
    QCOMPARE(ctl<newCnvBtn>(QStringLiteral("CloseBtn"))->kind(), 4);
    QCOMPARE(ctl<QLabel>(QStringLiteral("InstrFld"))->text(),
             QStringLiteral("1) Set the highest number. (4 to 9 for this game)\n"
                            "2) Click <Start Game> to play. Good Luck!!!"));
    QCOMPARE(myGlobals::gCurPlayer->myParams[2], hiNum);
}

void TestBsktMathScrn::highestNumberBoxHoldsItsChoiceToThisVisit_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("plays");
    QTest::newRow("12") << "12" << 9;
    QTest::newRow("3") << "3" << 4;
    QTest::newRow("empty") << "" << 4;
    QTest::newRow("letters") << "abc" << 4;
    QTest::newRow("past 32 bits") << "99999999999" << 9;
    QTest::newRow("5.5") << "5.5" << 5;
    QTest::newRow("7") << "7" << 7;
}

void TestBsktMathScrn::highestNumberBoxHoldsItsChoiceToThisVisit() {
    QFETCH(QString, typed);
    QFETCH(int, plays);
    student = std::make_unique<GameTest::Student>(QStringLiteral("Cy"), QStringLiteral("6"));
    dialogs.clear();
    bsktMathScrn* w = bsktMathScrn::instance();
    w->show();
    auto* box = ctl<NumberCombo>(QStringLiteral("hiNumFld"));
    box->lineEdit()->selectAll();
    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(box->lineEdit(), typed);
    QCOMPARE(box->currentText(), typed);
    QCOMPARE(w->highestNumber(), plays);
    // A game plays with it; every number falls from 1 to it.
    click(QStringLiteral("StartBtn"));
    QVERIFY(!box->isEnabled());
    for (int r = 0; r < 3; ++r) {
        fallRound();
        QVERIFY(qAbs(w->total()) <= 10 * plays);
        type(w->total());
    }
    QCOMPARE(myGlobals::gCurPlayer->myParams[2], QStringLiteral("6"));
    // Picking from the list.
    click(QStringLiteral("CloseBtn"));
    click(QStringLiteral("CloseBtn"));
    QVERIFY(box->isEnabled());
    box->setCurrentIndex(1);
    emit box->entryPicked(1);
    QCOMPARE(w->highestNumber(), 5);
}

void TestBsktMathScrn::roundsFallFasterAndLonger() {
    student =
        std::make_unique<GameTest::Student>(QStringLiteral("Di"), QStringLiteral("9"), QStringLiteral("1"));
    dialogs.clear();
    bsktMathScrn* w = bsktMathScrn::instance();
    w->show();
    auto* fall = ctl<QTimer>(QStringLiteral("fallingTimer"));
    click(QStringLiteral("StartBtn"));
    QCOMPARE(caption(QStringLiteral("CloseBtn")), QStringLiteral("Stop Game"));
    QCOMPARE(ctl<newCnvBtn>(QStringLiteral("CloseBtn"))->kind(), 0);
    QVERIFY(!ctl(QStringLiteral("StartBtn"))->isVisibleTo(w));
    QVERIFY(w->negativesAllowed());
    for (int round = 1; round <= 9; ++round) {
        QCOMPARE(w->round(), round);
        QCOMPARE(ctl<QLineEdit>(QStringLiteral("RoundFld"))->text(), QString::number(round));
        QCOMPARE(ctl<QLabel>(QStringLiteral("InstrFld"))->text(),
                 QStringLiteral("Basket total has been reset to 0"));
        QCOMPARE(ctl<QLabel>(QStringLiteral("attemptFld"))->text(), QStringLiteral("3 tries allowed!"));
        QCOMPARE(ctl(QStringLiteral("funcCnv"))->accessibleName(), QStringLiteral("plus"));
        QVERIFY(fall->isActive());
        QCOMPARE(fall->interval(), 52 - round);
        QCOMPARE(fall->timerType(), Qt::PreciseTimer);
        QCOMPARE(w->rate(), round < 8 ? 3 : 4);
        // Keys typed while numbers fall go to the field out of sight.
        QCOMPARE(w->focusWidget(), ctl(QStringLiteral("stlFocus")));
        int numbers = 0;
        auto* chute = ctl<chuteCnv>(QStringLiteral("myChute"));
        connect(chute, &chuteCnv::bottomReached, this, [&numbers] { ++numbers; });
        const int total = fallRound();
        disconnect(chute, nullptr, this, nullptr);
        QCOMPARE(numbers, round + 1);
        QCOMPARE(total, w->total());
        QCOMPARE(ctl<QLabel>(QStringLiteral("InstrFld"))->text(),
                 QStringLiteral("Calculate the total in the basket."));
        QVERIFY(ctl(QStringLiteral("AnsFld"))->isVisibleTo(w));
        QVERIFY(ctl(QStringLiteral("seeAnsFld"))->isVisibleTo(w));
        QCOMPARE(w->focusWidget(), ctl(QStringLiteral("AnsFld")));
        QVERIFY(!fall->isActive());
        type(total);
        QCOMPARE(w->points(), round * 100);
    }
}

// Waits until the number now falling has gone `steps` steps down at the pace of the timer that
// really runs; false when it does not move.
static bool fell(int steps) {
    auto* chute = ctl<chuteCnv>(QStringLiteral("myChute"));
    const int from = chute->myTop;
    return QTest::qWaitFor([&] { return chute->myTop >= from + 3 * steps; }, 3000);
}

void TestBsktMathScrn::spaceDropsTheNumberFast() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Ed"));
    dialogs.clear();
    bsktMathScrn* w = bsktMathScrn::instance();
    w->show();
    auto* fall = ctl<QTimer>(QStringLiteral("fallingTimer"));
    auto* drop = ctl<QTimer>(QStringLiteral("dropTimer"));
    auto* chute = ctl<chuteCnv>(QStringLiteral("myChute"));
    QWidget* focus = ctl(QStringLiteral("stlFocus"));
    click(QStringLiteral("StartBtn"));
    QVERIFY(fell(3));
    QVERIFY(!w->fastDrop());
    // A tap between two steps of this number's fall drops it.
    QTest::keyClick(focus, Qt::Key_Space);
    QTRY_VERIFY(w->fastDrop());
    QVERIFY(!fall->isActive());
    QVERIFY(drop->isActive());
    QCOMPARE(drop->interval(), 5);
    QCOMPARE(drop->timerType(), Qt::PreciseTimer);
    // Space again changes nothing; the drop goes on by the same step until it lands.
    QTest::keyClick(focus, Qt::Key_Space);
    QVERIFY(drop->isActive() && !fall->isActive());
    QTRY_VERIFY(w->landed() == 1);
    QCOMPARE(chute->myTop, -32);
    // The tap during the drop was for that number: the next falls at the normal pace.
    QVERIFY(!w->fastDrop());
    QVERIFY(fall->isActive() && !drop->isActive());
    QVERIFY(fell(3));
    QVERIFY(!w->fastDrop());
}

void TestBsktMathScrn::aSpaceFromBeforeThisFallDropsNothing_data() {
    QTest::addColumn<QString>("when");
    QTest::newRow("before Start") << "idle";
    QTest::newRow("in the answer field") << "answer";
    QTest::newRow("during the last number's drop") << "drop";
}

void TestBsktMathScrn::aSpaceFromBeforeThisFallDropsNothing() {
    QFETCH(QString, when);
    student = std::make_unique<GameTest::Student>(QStringLiteral("Flo"));
    dialogs.clear();
    bsktMathScrn* w = bsktMathScrn::instance();
    w->show();
    auto* focus = ctl(QStringLiteral("stlFocus"));
    if (when == QLatin1String("idle")) {
        QTest::keyClick(w, Qt::Key_Space);
        QTest::qWait(100);
        click(QStringLiteral("StartBtn"));
    } else if (when == QLatin1String("answer")) {
        click(QStringLiteral("StartBtn"));
        const int total = fallRound();
        auto* field = ctl(QStringLiteral("AnsFld"));
        QTest::keyClick(field, Qt::Key_Space);
        QCOMPARE(feedback.beeps, 1);
        type(total);
        QCOMPARE(w->round(), 2);
    } else {
        click(QStringLiteral("StartBtn"));
        QTest::keyClick(focus, Qt::Key_Space);
        QTRY_VERIFY(w->fastDrop());
        QTest::keyClick(focus, Qt::Key_Space);
        QTRY_VERIFY(w->landed() == 1);
    }
    // The number now falling goes at the normal pace, by the fall timer that really runs.
    QCOMPARE(w->landed(), when == QLatin1String("drop") ? 1 : 0);
    QVERIFY(fell(4));
    QVERIFY(!w->fastDrop());
    QVERIFY(ctl<QTimer>(QStringLiteral("fallingTimer"))->isActive());
    QVERIFY(!ctl<QTimer>(QStringLiteral("dropTimer"))->isActive());
}

void TestBsktMathScrn::keysTheGameDoesNotTakeBeep() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Gil"));
    dialogs.clear();
    bsktMathScrn* w = bsktMathScrn::instance();
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    click(QStringLiteral("StartBtn"));
    auto* focus = ctl<QLineEdit>(QStringLiteral("stlFocus"));
    QCOMPARE(w->focusWidget(), focus);
    // While a number falls: Space is the game's, every other key beeps, Tab too, and the focus stays.
    QTest::keyClick(focus, Qt::Key_Space);
    QCOMPARE(feedback.beeps, 0);
    QTest::keyClicks(focus, QStringLiteral("7a"));
    QTest::keyClick(focus, Qt::Key_Tab);
    QCOMPARE(feedback.beeps, 3);
    QCOMPARE(w->focusWidget(), focus);
    QCOMPARE(focus->text(), QString());
    // In the answer field: Tab beeps and the next digits still land there.
    const int total = fallRound();
    auto* field = ctl<AnswerField>(QStringLiteral("AnsFld"));
    QCOMPARE(w->focusWidget(), field);
    QTest::keyClick(field, Qt::Key_Tab);
    QCOMPARE(feedback.beeps, 4);
    QCOMPARE(w->focusWidget(), field);
    type(total);
    QCOMPARE(w->round(), 2);
    QCOMPARE(GameTest::lastSound(feedback.sounds), QStringLiteral("right1"));
}

void TestBsktMathScrn::aGameOfThreeRoundsIsStoredAndALowerOneIsNot() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Ann Lee"));
    dialogs.clear();
    QVERIFY(GameTest::openGame(4));
    bsktMathScrn* w = game();
    QVERIFY(w);
    App::myRnd().seed(11);
    click(QStringLiteral("StartBtn"));
    for (int round = 1; round <= 3; ++round) {
        type(fallRound(round == 1));
        QCOMPARE(feedback.sounds, QStringList(round, QStringLiteral("right1")));
    }
    QCOMPARE(w->points(), 300);
    const int total = fallRound();
    auto* tries = ctl<QLabel>(QStringLiteral("attemptFld"));
    type(total + 1);
    QCOMPARE(GameTest::lastSound(feedback.sounds), QStringLiteral("wrong1"));
    QCOMPARE(tries->text(), QStringLiteral("2 tries allowed!"));
    QCOMPARE(ctl<QLineEdit>(QStringLiteral("AnsFld"))->text(), QString());
    type(total + 1);
    QCOMPARE(tries->text(), QStringLiteral("1 tries allowed!"));
    type(total + 1);
    QCOMPARE(ctl<QLabel>(QStringLiteral("InstrFld"))->text(),
             QStringLiteral("Sorry, the answer for Round #4 is: %1\nPlease press <Continue>").arg(total));
    QCOMPARE(caption(QStringLiteral("CloseBtn")), QStringLiteral("Continue"));
    QVERIFY(!ctl(QStringLiteral("AnsFld"))->isVisibleTo(w));
    QVERIFY(!ctl(QStringLiteral("StartBtn"))->isVisibleTo(w));
    QVERIFY(ctl(QStringLiteral("hiNumFld"))->isEnabled());
    QCOMPARE(dialogs.messages(), QStringList());
    // The lost round plays no sound of its own: three wrong tries, nothing more.
    QCOMPARE(feedback.sounds.count(QStringLiteral("wrong1")), 3);
    QCOMPARE(feedback.sounds.size(), 6);

    // "Continue": the new best sounds the end of the round, then the message.
    click(QStringLiteral("CloseBtn"));
    QCOMPARE(feedback.sounds.size(), 7);
    QCOMPARE(GameTest::lastSound(feedback.sounds), QStringLiteral("round1"));
    QCOMPARE(dialogs.messages(),
             QStringList{QStringLiteral("Congratulations, Ann!\nYou have increased your total points")});
    QCOMPARE(dialogs.shown[0].explanation, QStringLiteral("Try to beat this score next time."));
    QCOMPARE(w->findChildren<QLabel*>(QStringLiteral("InfoTxt"))[1]->text(), QStringLiteral("300"));
    QCOMPARE(caption(QStringLiteral("CloseBtn")), QStringLiteral("Close Screen"));
    QVERIFY(ctl(QStringLiteral("StartBtn"))->isVisibleTo(w));
    click(QStringLiteral("CloseBtn"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!bsktMathScrn::exists());
    QVERIFY(NameScrn::instance()->isVisible());
    QCOMPARE(student->storedBests().split(',').value(4), QStringLiteral("300"));

    // A second visit: one round right, then stopped while a number falls.
    dialogs.clear();
    const QString stored = student->storedBests();
    QVERIFY(GameTest::openGame(4));
    w = game();
    QCOMPARE(w->findChildren<QLabel*>(QStringLiteral("InfoTxt"))[1]->text(), QStringLiteral("300"));
    click(QStringLiteral("StartBtn"));
    type(fallRound());
    for (int i = 0; i < 40; ++i)
        w->fallingTimer_Action();
    const int falling = w->total();
    feedback.beeps = 0;
    feedback.sounds.clear();
    click(QStringLiteral("CloseBtn"));
    QCOMPARE(feedback.beeps, 1);
    QVERIFY(feedback.sounds.isEmpty());
    QVERIFY(!ctl<QTimer>(QStringLiteral("fallingTimer"))->isActive());
    QVERIFY(!ctl<QTimer>(QStringLiteral("dropTimer"))->isActive());
    const QImage& chute = ctl<chuteCnv>(QStringLiteral("myChute"))->surface();
    for (int y = 0; y < chuteCnv::kHeight; y += 3)
        QCOMPARE(chute.pixelColor(15, y), chuteCnv::kCream);
    QCOMPARE(ctl<QLabel>(QStringLiteral("InstrFld"))->text(),
             QStringLiteral("Sorry, the answer for Round #2 is: %1\nPlease press <Continue>").arg(falling));
    click(QStringLiteral("CloseBtn"));
    QVERIFY(feedback.sounds.isEmpty()); // no new best, no sound
    QCOMPARE(dialogs.messages(),
             QStringList{
                 QStringLiteral("Sorry, Ann\nYour total points were 100 which did not improve your score.")});
    QCOMPARE(dialogs.shown[0].explanation, QStringLiteral("You can try again at any time."));
    click(QStringLiteral("CloseBtn"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!bsktMathScrn::exists());
    QCOMPARE(student->storedBests(), stored);
}

void TestBsktMathScrn::stopGameCancelsAWaitingCheck() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Fay"));
    dialogs.clear();
    bsktMathScrn* w = bsktMathScrn::instance();
    w->show();
    click(QStringLiteral("StartBtn"));
    const int total = fallRound();
    QTest::keyClicks(ctl(QStringLiteral("AnsFld")), QString::number(total));
    auto* check = ctl<AnsTimer>(QStringLiteral("checkTimer"));
    QVERIFY(check->isActive());
    click(QStringLiteral("CloseBtn"));
    QVERIFY(!check->isActive());
    // Even a check that fires late judges nothing.
    w->checkTimer_Action();
    QCOMPARE(w->round(), 1);
    QCOMPARE(w->points(), 0);
    QCOMPARE(caption(QStringLiteral("CloseBtn")), QStringLiteral("Continue"));
    // A new game starts from round 1 with 0 points.
    click(QStringLiteral("CloseBtn"));
    click(QStringLiteral("StartBtn"));
    QCOMPARE(w->round(), 1);
    QCOMPARE(w->landed(), 0);
}

void TestBsktMathScrn::closingWhileContinueKeepsTheBestSilently() {
    student =
        std::make_unique<GameTest::Student>(QStringLiteral("Gus"), QStringLiteral("5"), QStringLiteral("0"),
                                            QStringList{"0", "0", "0", "0", "100", "99.99"});
    dialogs.clear();
    QVERIFY(GameTest::openGame(4));
    bsktMathScrn* w = game();
    click(QStringLiteral("StartBtn"));
    type(fallRound());
    type(fallRound());
    fallRound();
    click(QStringLiteral("CloseBtn")); // Stop Game
    QCOMPARE(caption(QStringLiteral("CloseBtn")), QStringLiteral("Continue"));
    w->close(); // the close box
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!bsktMathScrn::exists());
    QCOMPARE(dialogs.messages(), QStringList());
    QCOMPARE(student->storedBests().split(',').value(4), QStringLiteral("200"));
    QVERIFY(NameScrn::instance()->isVisible());
}

void TestBsktMathScrn::closingMidGameStopsEverythingAndScoresNothing() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Hal"));
    dialogs.clear();
    const QString stored = student->storedBests();
    QVERIFY(GameTest::openGame(4));
    bsktMathScrn* w = game();
    click(QStringLiteral("StartBtn"));
    type(fallRound());
    QPointer<QTimer> fall = ctl<QTimer>(QStringLiteral("fallingTimer"));
    QVERIFY(fall->isActive());
    w->close(); // the close box
    QVERIFY(!fall || !fall->isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!bsktMathScrn::exists());
    QCOMPARE(dialogs.messages(), QStringList());
    QCOMPARE(student->storedBests(), stored);
    QVERIFY(NameScrn::instance()->isVisible());
}

void TestBsktMathScrn::failedSaveShowsTheMessageThenSignIn() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Ida"));
    dialogs.clear();
    QVERIFY(GameTest::openGame(4));
    click(QStringLiteral("StartBtn"));
    type(fallRound());
    fallRound();
    click(QStringLiteral("CloseBtn"));
    click(QStringLiteral("CloseBtn"));
    QVERIFY(dialogs.messages().value(0).startsWith(QStringLiteral("Congratulations, Ida!")));
    QSqlQuery q(DBCtrl::NBData());
    q.prepare(QStringLiteral("DELETE FROM theData WHERE StID = ?"));
    q.addBindValue(QString::number(student->id));
    QVERIFY(q.exec());
    dialogs.clear();
    click(QStringLiteral("CloseBtn"));
    QCOMPARE(dialogs.messages().value(0),
             QStringLiteral("Database Error\n\nCould not find the selected record in the database."));
    QVERIFY(NameScrn::instance()->isVisible());
}

void TestBsktMathScrn::menusAnswerOnlyHelp() {
    QList<int> topics;
    HelpLink::install([&topics](int topic, QWidget*) { topics << topic; });
    student = std::make_unique<GameTest::Student>(QStringLiteral("Jo"));
    dialogs.clear();
    bsktMathScrn* w = bsktMathScrn::instance();
    w->show();
    QAction* help = w->menuBar()->item(QStringLiteral("HelpHelp"));
    QVERIFY(help->isEnabled());
    help->trigger();
    help->trigger();
    QCOMPARE(topics, (QList<int>{14, 14}));
    // Edit > Paste never reaches the answer field.
    click(QStringLiteral("StartBtn"));
    fallRound();
    auto* field = ctl<AnswerField>(QStringLiteral("AnsFld"));
    field->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("12"));
    w->menuBar()->item(QStringLiteral("EditPaste"))->trigger();
    QCOMPARE(field->text(), QString());
    QVERIFY(!ctl<AnsTimer>(QStringLiteral("checkTimer"))->isActive());
    // The round field takes no key.
    QTest::keyClicks(ctl(QStringLiteral("RoundFld")), QStringLiteral("7"));
    QCOMPARE(ctl<QLineEdit>(QStringLiteral("RoundFld"))->text(), QStringLiteral("1"));
}

void TestBsktMathScrn::repaintsDoNotShiftASeededGame() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Kim"));
    bsktMathScrn* w = bsktMathScrn::instance();
    w->show();
    QWidget* points = ctl(QStringLiteral("PtsCnv"));
    QList<int> totals[2];
    for (int run = 0; run < 2; ++run) {
        App::myRnd().seed(99);
        click(QStringLiteral("StartBtn"));
        for (int round = 0; round < 3; ++round) {
            // The second run repaints the points (each paint draws a new colour) between rounds.
            for (int i = 0; i < run * 5; ++i)
                points->grab();
            totals[run] << fallRound();
            type(totals[run].last());
        }
        points->grab();
        QCOMPARE(points->accessibleName(), QStringLiteral("300"));
        click(QStringLiteral("CloseBtn"));
        click(QStringLiteral("CloseBtn"));
        click(QStringLiteral("CloseBtn"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        w = bsktMathScrn::instance();
        w->show();
        points = ctl(QStringLiteral("PtsCnv"));
        points->grab();
        QCOMPARE(points->accessibleName(), QStringLiteral("00"));
    }
    QCOMPARE(totals[1], totals[0]);
}

void TestBsktMathScrn::everyPictureIsThere() {
    for (const QPixmap& p :
         {Pictures::CustomBlueBkg(), Pictures::CtrlPanel2(), Pictures::MathBskt2(), Pictures::MathFunnel2(),
          Pictures::Prim_Zeri3(), Pictures::Prim_Minus3(), Pictures::Prim_Times3(), Pictures::Prim_Div3(),
          Pictures::BlkBkg(), Pictures::ActionLrg(), Pictures::ltRedBtn(), Pictures::CancelLrg()})
        QVERIFY(!p.isNull());
    for (int d = 1; d <= 9; ++d) {
        const QPixmap digit = myPicts::digit(d);
        QVERIFY(!digit.isNull());
        // The chute has room for a digit 29 wide and 32 high.
        QVERIFY(digit.width() <= chuteCnv::kNumWidth && digit.height() <= chuteCnv::kNumHeight);
    }
}

QTEST_MAIN(TestBsktMathScrn)
#include "tst_bsktmathscrn.moc"
