// The Math Challenge window driven through its controls: what it shows on opening, whole games played
// by a student signed in on the sign-in window (the problems, operators and card read from the
// controls, the clock, the flight and the pause run by firing their timers), stopping short games and
// stopping in the middle of a flight or a pause, the highest-number box, the menus and what reaches the
// database.

#include "app/helplink.h"
#include "app/menus.h"
#include "app/onmodal.h"
#include "app/picts.h"
#include "main/routes.h"
#include "app/sounds.h"
#include "main/uiseams.h"
#include "controls/newcnvbtn.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/gamebests.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/random.h"
#include "data/strecord.h"
#include "gamefixture.h"
#include "games/challenge/challengescrn.h"
#include "signin/namescrn.h"

#include <QAction>
#include <QBackingStore>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QtTest>

#include <memory>

using GameTest::press;

namespace {

challengeScrn* win() {
    return challengeScrn::instance();
}

template <typename T = QWidget> T* part(const QString& name, int index = -1) {
    for (T* w : win()->findChildren<T*>(name)) {
        if (index < 0 || w->property("index").toInt() == index)
            return w;
    }
    qFatal("no control %s %d", qPrintable(name), index);
    return nullptr;
}

challengeScrn::Canvas* canvas(const char* name, int index = 0) {
    for (auto* c : win()->findChildren<challengeScrn::Canvas*>(QString::fromLatin1(name))) {
        if (c->Index == index)
            return c;
    }
    qFatal("no canvas %s", name);
    return nullptr;
}

QLabel* label(const char* name, int index = -1) {
    return part<QLabel>(QString::fromLatin1(name), index);
}

QTimer* timer(const char* name) {
    return win()->findChild<QTimer*>(QString::fromLatin1(name));
}

// Runs one action of a timer, as its period ending would.
void fire(QTimer* t) {
    QVERIFY(QMetaObject::invokeMethod(t, "timeout", Qt::DirectConnection));
}

bool anyTimerOn() {
    for (const char* t : {"totTimer", "delayTimer", "animTimer"}) {
        if (timer(t)->isActive())
            return true;
    }
    return false;
}

newCnvBtn* button(const char* name) {
    return part<newCnvBtn>(QString::fromLatin1(name));
}

void clickOn(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
}

void clickTarget(int target) {
    clickOn(target < 4 ? canvas("NumCnv", target) : canvas("TrashCnv"));
}

QString counter(const char* name) {
    return part<QLineEdit>(QString::fromLatin1(name))->text();
}

QAction* menuItem(const char* name) {
    return win()->findChild<MenuBar1*>()->item(QString::fromLatin1(name));
}

int card() {
    return canvas("WildCnv")->accessibleName().toInt();
}

// The missing number of a slot, worked out from what it shows.
int missingOf(int slot) {
    const int top = label("TopNum", slot)->text().toInt();
    const int result = label("AnsFld", slot)->text().toInt();
    const QString op = canvas("func", slot)->accessibleName();
    if (op == QLatin1String("+"))
        return result - top;
    if (op == QLatin1String("-"))
        return top - result;
    if (op == QLatin1String("x"))
        return result != 0 && top != 0 && result % top == 0 ? result / top : -1;
    if (op == QLatin1String("/"))
        return result != 0 && top % result == 0 ? top / result : -1;
    return -1;
}

int fittingSlot() {
    for (int i = 0; i < 4; ++i) {
        if (missingOf(i) == card())
            return i;
    }
    return -1;
}

// Flies the card to its end, step by step; returns the steps taken.
int flyToTheEnd() {
    int steps = 0;
    while (timer("animTimer")->isActive() && steps < 100) {
        fire(timer("animTimer"));
        ++steps;
    }
    return steps;
}

} // namespace

class TestChallengeScrn : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensIdle();
    void controlsAreMadeInTheirOrder();
    void controlsStandWhereTheLayoutPutsThem_data();
    void controlsStandWhereTheLayoutPutsThem();
    void studentPlaysAGameAndKeepsTheBest();
    void shortGameAsksAndStopAnywayRecordsNothing();
    void stopMidFlightOrMidPauseLeavesNothingRunning_data();
    void stopMidFlightOrMidPauseLeavesNothingRunning();
    void cardBeepsAndCountersTakeNoKeys();
    void highestNumberBox_data();
    void highestNumberBox();
    void storedHighestNumberOutsideItsRangeIsClamped();
    void closeBoxRecordsNoRunningGame();
    void helpOpensTopicThirteen();
    void operatorStaysWholeThroughThePause();
    void screenshots();

private:
    void openFor(const QString& best = QStringLiteral("99.99"), const QString& high = QStringLiteral("10"));
    struct Played {
        int ticks = 0;
        int right = 0;
        int wrong = 0;
        int missed = 0;
        int trashes = 0;
        int answers() const { return right + wrong + missed; }
    };
    // Plays until `answers` answers (with one wrong slot and one missed chance on the way, and every
    // right trash offered), `ticksPerCard` clock seconds before each choice.
    Played playGame(int answers, int ticksPerCard);
    void playCard(Played& p, bool wantWrong, bool wantMissed);

    std::unique_ptr<GameTest::World> world;
};

void TestChallengeScrn::initTestCase() {
    myPicts::loadPics();
}

void TestChallengeScrn::init() {
    world = std::make_unique<GameTest::World>();
    QVERIFY(world->db.ok());
}

void TestChallengeScrn::cleanup() {
    if (challengeScrn::exists())
        challengeScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!challengeScrn::exists());
    world.reset();
}

void TestChallengeScrn::openFor(const QString& best, const QString& high) {
    world->signIn([&](StRecord& r) {
        r.myZeriScrs[3] = best;
        r.myParams[2] = high;
    });
    world->student->timersRunning = [] {
        for (const QTimer* t : win()->findChildren<QTimer*>()) {
            if (t->isActive())
                return true;
        }
        return false;
    };
    win()->show();
    QVERIFY(QTest::qWaitForWindowExposed(win()));
}

void TestChallengeScrn::playCard(Played& p, bool wantWrong, bool wantMissed) {
    QVERIFY(win()->game().allowClick());
    const int fits = fittingSlot();
    QCOMPARE(fits, win()->game().fittingSlot()); // what the controls show is what the game judges
    if (fits >= 0 && wantMissed) {
        clickTarget(4);
        ++p.missed;
        QCOMPARE(GameTest::lastSoundKind(world->feedback.sounds), QStringLiteral("wrong"));
        QVERIFY(canvas("showWrongCnv")->isVisible());
        QCOMPARE(canvas("showWrongCnv")->pos(), Challenge::markerAt(fits));
        QVERIFY(timer("delayTimer")->isActive());
        fire(timer("delayTimer"));
        QVERIFY(!canvas("showWrongCnv")->isVisible());
    } else if (wantWrong) {
        const int wrongSlot = fits == 0 ? 1 : 0;
        if (missingOf(wrongSlot) == card())
            return playCard(p, false, false);
        world->feedback.sounds.clear();
        clickTarget(wrongSlot);
        ++p.wrong;
        QCOMPARE(world->feedback.sounds.size(), 1);
        QCOMPARE(GameTest::lastSoundKind(world->feedback.sounds), QStringLiteral("wrong"));
        QCOMPARE(canvas("showWrongCnv")->pos(), Challenge::markerAt(fits >= 0 ? fits : 4));
        fire(timer("delayTimer"));
    } else if (fits >= 0) {
        clickTarget(fits);
        QVERIFY(!canvas("NumCnv", fits)->isVisible());
        const bool fromHome = canvas("WildCnv")->pos() == Challenge::kCardHome;
        QCOMPARE(flyToTheEnd(), 25);
        const QPoint stops[] = {{99, 129}, {399, 129}, {99, 329}, {399, 329}};
        if (fromHome)
            QCOMPARE(canvas("WildCnv")->pos(), stops[fits]);
        QCOMPARE(GameTest::lastSoundKind(world->feedback.sounds), QStringLiteral("right"));
        ++p.right;
        QCOMPARE(counter("RightFld"), QString::number(p.right));
        QVERIFY(timer("delayTimer")->isActive());
        QVERIFY(!win()->game().allowClick());
        fire(timer("delayTimer"));
        QCOMPARE(canvas("WildCnv")->pos(), Challenge::kCardHome);
        QVERIFY(canvas("NumCnv", fits)->isVisible());
    } else {
        clickTarget(4);
        QVERIFY(win()->game().isTrash());
        QCOMPARE(flyToTheEnd(), 43);
        QVERIFY(!win()->game().isTrash());
        QCOMPARE(GameTest::lastSound(world->feedback.sounds), QStringLiteral("blip"));
        QCOMPARE(canvas("WildCnv")->pos(), Challenge::kCardHome);
        ++p.trashes;
        QVERIFY(!timer("delayTimer")->isActive()); // the next card at once
    }
    QCOMPARE(counter("WrongFld"), QString::number(p.wrong));
    QCOMPARE(counter("MissedFld"), QString::number(p.missed));
}

TestChallengeScrn::Played TestChallengeScrn::playGame(int answers, int ticksPerCard) {
    Played p;
    press(button("StartBtn"));
    for (int cards = 0; p.answers() < answers && cards < 300; ++cards) {
        for (int t = 0; t < ticksPerCard; ++t) {
            fire(timer("totTimer"));
            ++p.ticks;
        }
        const bool needWrong = p.wrong == 0 && p.answers() >= 2;
        const bool needMissed = p.missed == 0 && p.answers() >= 4;
        playCard(p, needWrong, needMissed);
        if (QTest::currentTestFailed())
            return p;
        if (p.answers() > 0 && label("showTxt2")->text() != QLatin1String("Current Average Time")) {
            QTest::qFail("no running average shown", __FILE__, __LINE__);
            return p;
        }
    }
    return p;
}

void TestChallengeScrn::opensIdle() {
    openFor(QStringLiteral("12.5"), QStringLiteral("12"));
    QCOMPARE(win()->windowTitle(), QStringLiteral("Math Challenge"));
    QCOMPARE(win()->content()->size(), QSize(780, 542));
    QVERIFY(!(win()->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(challengeScrn::instance(), win());
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(label("TopNum", i)->text(), QString::number(i));
        QCOMPARE(label("AnsFld", i)->text(), QStringLiteral("X"));
        QVERIFY(canvas("func", i)->accessibleName().isEmpty());
    }
    QCOMPARE(canvas("WildCnv")->pos(), QPoint(251, 229));
    QVERIFY(!canvas("showWrongCnv")->isVisible());
    QCOMPARE(timer("totTimer")->interval(), 1000);
    QCOMPARE(timer("delayTimer")->interval(), 1500);
    QVERIFY(timer("delayTimer")->isSingleShot());
    QCOMPARE(timer("animTimer")->interval(), 20);
    QVERIFY(!anyTimerOn());
    for (const char* c : {"RightFld", "WrongFld", "MissedFld"}) {
        QVERIFY(counter(c).isEmpty());
        QVERIFY(part<QLineEdit>(QString::fromLatin1(c))->isReadOnly());
    }
    auto* box = part<QComboBox>(QStringLiteral("hiNumFld"));
    QCOMPARE(box->count(), 16);
    QCOMPARE(box->itemText(0), QStringLiteral("4"));
    QCOMPARE(box->itemText(15), QStringLiteral("19"));
    QCOMPARE(box->currentText(), QStringLiteral("12"));
    QCOMPARE(win()->game().high(), 12);
    QCOMPARE(label("InfoTxt", 0)->text(), QStringLiteral("Ann Lee"));
    QCOMPARE(label("InfoTxt", 1)->text(), QStringLiteral("12.5")); // as stored
    QCOMPARE(label("showTxt2")->text(), QStringLiteral("Ann's Best Avg. Time."));
    QCOMPARE(
        label("InstrFld")->text(),
        QStringLiteral("1) Set the highest number.\n2) Click <Start Game> to play, <Stop Game> to end."));
    QCOMPARE(button("StartBtn")->myCaption(), QStringLiteral("Start Game"));
    QCOMPARE(button("StartBtn")->kind(), std::uint8_t(1));
    QCOMPARE(button("CloseBtn")->myCaption(), QStringLiteral("Close Screen"));
    QCOMPARE(button("CloseBtn")->kind(), std::uint8_t(4));

    // Clicks before a game do nothing.
    clickTarget(0);
    clickTarget(4);
    clickOn(canvas("WildCnv"));
    QVERIFY(world->feedback.sounds.isEmpty());
    QCOMPARE(world->feedback.beeps, 0);
    QVERIFY(!anyTimerOn());

    // Showing the setting is no change: closing saves nothing.
    win()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(world->student->saves, 0);
}

// A control made later lies in front of one made before it: the card in front of the slots, the
// results, the trash and the marker in front of the card.
void TestChallengeScrn::controlsAreMadeInTheirOrder() {
    openFor();
    QStringList made;
    for (QObject* c : win()->content()->children())
        made << c->objectName();
    const QStringList expected{
        "TopNum",      "TopNum",      "TopNum",   "TopNum",      "NumCnv",       "NumCnv",      "NumCnv",
        "NumCnv",      "StaticText1", "WildCnv",  "AnsFld",      "Line1",        "AnsFld",      "Line1",
        "AnsFld",      "Line1",       "AnsFld",   "Line1",       "InstrFld",     "TrashCnv",    "StaticText3",
        "func",        "func",        "func",     "func",        "showWrongCnv", "bkgCnv",      "InfoTxt",
        "InfoTxt",     "showTxt1",    "showTxt2", "GroupBox1",   "StartBtn",     "CloseBtn",    "StaticText7",
        "StaticText8", "StaticText4", "RightFld", "StaticText5", "WrongFld",     "StaticText6", "MissedFld",
        "hiNumFld"};
    QCOMPARE(made, expected);
    QStringList timers;
    for (const QTimer* t : win()->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly))
        timers << t->objectName();
    QCOMPARE(timers, (QStringList{"totTimer", "delayTimer", "animTimer"}));
}

void TestChallengeScrn::controlsStandWhereTheLayoutPutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QRect>("place");
    QTest::newRow("slot 0") << "NumCnv" << 0 << QRect(101, 129, 38, 32);
    QTest::newRow("slot 3") << "NumCnv" << 3 << QRect(401, 329, 38, 32);
    QTest::newRow("operator 1") << "func" << 1 << QRect(363, 129, 32, 32);
    QTest::newRow("operator 2") << "func" << 2 << QRect(63, 329, 32, 32);
    QTest::newRow("result 1") << "AnsFld" << 1 << QRect(380, 168, 80, 32);
    QTest::newRow("rule 2") << "Line1" << 2 << QRect(85, 368, 70, 1);
    QTest::newRow("top 3, as wide as its result") << "TopNum" << 3 << QRect(380, 289, 80, 32);
    QTest::newRow("card") << "WildCnv" << 0 << QRect(251, 229, 46, 36);
    QTest::newRow("trash") << "TrashCnv" << 0 << QRect(244, 402, 59, 110);
    QTest::newRow("marker") << "showWrongCnv" << 0 << QRect(253, 68, 40, 32);
    QTest::newRow("instructions") << "InstrFld" << -1 << QRect(30, 8, 488, 40);
    QTest::newRow("panel") << "bkgCnv" << -1 << QRect(548, 0, 232, 520);
    QTest::newRow("start") << "StartBtn" << -1 << QRect(586, 390, 160, 32);
    QTest::newRow("close") << "CloseBtn" << -1 << QRect(586, 440, 160, 32);
    QTest::newRow("correct") << "RightFld" << -1 << QRect(686, 220, 60, 22);
    QTest::newRow("missed") << "MissedFld" << -1 << QRect(686, 296, 60, 22);
    QTest::newRow("highest number") << "hiNumFld" << -1 << QRect(688, 170, 68, 22);
}

void TestChallengeScrn::controlsStandWhereTheLayoutPutsThem() {
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QRect, place);
    openFor();
    QWidget* w = nullptr;
    for (QWidget* c : win()->findChildren<QWidget*>(name)) {
        const auto* cv = dynamic_cast<challengeScrn::Canvas*>(c);
        const int i = cv ? cv->Index : c->property("index").toInt();
        if (index < 0 || i == index)
            w = c;
    }
    QVERIFY(w);
    QCOMPARE(w->parentWidget(), win()->content());
    QCOMPARE(w->geometry(), place);
}

void TestChallengeScrn::studentPlaysAGameAndKeepsTheBest() {
    GameTest::enterThroughGameButton(3);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(challengeScrn::exists() && win()->isVisible());
    QVERIFY(!NameScrn::exists());
    QCOMPARE(label("InfoTxt", 1)->text(), QStringLiteral("99.99"));

    App::myRnd().seed(5);
    const Played p = playGame(12, 2);
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(p.answers() >= 12);
    QCOMPARE(p.wrong, 1);
    QCOMPARE(p.missed, 1);
    QVERIFY2(p.trashes > 0, "a card that fits nowhere came along");
    QVERIFY(!button("StartBtn")->isVisible());
    QCOMPARE(button("CloseBtn")->myCaption(), QStringLiteral("Stop Game"));

    const double average = double(p.ticks + 20 + 15 - p.trashes) / p.answers();
    QCOMPARE(win()->game().seconds(), p.ticks + 20 + 15 - p.trashes);
    world->dialogs.clear();
    press(button("CloseBtn"));
    QCOMPARE(world->dialogs.shown.size(), 1);
    QCOMPARE(world->dialogs.shown[0].message,
             QStringLiteral("Congratulations, Ann!\nYou have improved your average time per problem."));
    QCOMPARE(world->dialogs.shown[0].explanation, QStringLiteral("Try to beat this score next time."));
    QCOMPARE(GameTest::lastSoundKind(world->feedback.sounds), QStringLiteral("round"));
    QCOMPARE(label("InfoTxt", 1)->text(), GameBests::formatAverage(average));
    QCOMPARE(label("showTxt2")->text(), QStringLiteral("Ann's Best Avg. Time."));
    QCOMPARE(label("InstrFld")->text(), QStringLiteral("Round finished.\nClick <Start Game> to play again."));
    QCOMPARE(button("CloseBtn")->myCaption(), QStringLiteral("Close Screen"));
    QVERIFY(button("StartBtn")->isVisible());
    QVERIFY(!anyTimerOn());

    press(button("CloseBtn"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!challengeScrn::exists());
    QVERIFY(NameScrn::exists() && NameScrn::instance()->isVisible());
    QCOMPARE(world->storedBest(3), GameBests::formatAverage(average));

    // A slower game: "Sorry, ", the best stays.
    GameTest::waitForSignIn();
    press(GameTest::gameButton(3));
    const Played slow = playGame(10, 30);
    QVERIFY(!QTest::currentTestFailed());
    const double slowAverage = double(slow.ticks + 20 + 15 - slow.trashes) / slow.answers();
    world->dialogs.clear();
    press(button("CloseBtn"));
    QCOMPARE(world->dialogs.shown.size(), 1);
    QCOMPARE(world->dialogs.shown[0].message, QStringLiteral("Sorry, Ann\nYour average time was ") +
                                                  GameBests::formatAverage(slowAverage) +
                                                  QStringLiteral(" which did not improve your score."));
    QCOMPARE(world->dialogs.shown[0].explanation, QStringLiteral("You can try again at any time."));
    QCOMPARE(label("showTxt2")->text(), QStringLiteral("Current Average Time"));
    press(button("CloseBtn"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(world->storedBest(3), GameBests::formatAverage(average));
}

void TestChallengeScrn::shortGameAsksAndStopAnywayRecordsNothing() {
    openFor(QStringLiteral("40.00"));
    App::myRnd().seed(8);
    playGame(9, 1);
    QCOMPARE(win()->game().answered(), 9);

    // File > Close asks; "Continue Game" plays on.
    world->dialogs.answers = {Seams::Answer::Default};
    menuItem("FileClose")->trigger();
    QCOMPARE(world->dialogs.shown.size(), 1);
    QCOMPARE(world->dialogs.shown[0].question.message,
             QStringLiteral("Please complete at least 10 problems to improve your average time."));
    QCOMPARE(world->dialogs.shown[0].question.defaultCaption, QStringLiteral("Continue Game"));
    QCOMPARE(world->dialogs.shown[0].question.cancelCaption, QStringLiteral("Stop Anyway"));
    QCOMPARE(button("CloseBtn")->myCaption(), QStringLiteral("Stop Game"));
    QVERIFY(timer("totTimer")->isActive());
    QVERIFY(win()->game().allowClick());

    // The Close button asks too; "Stop Anyway" finishes and records nothing.
    world->dialogs.clear();
    world->dialogs.answers = {Seams::Answer::Cancel};
    press(button("CloseBtn"));
    QCOMPARE(world->dialogs.shown.size(), 1);
    QCOMPARE(button("CloseBtn")->myCaption(), QStringLiteral("Close Screen"));
    QCOMPARE(label("InstrFld")->text(), QStringLiteral("Round finished.\nClick <Start Game> to play again."));
    QVERIFY(!anyTimerOn());
    QCOMPARE(world->student->myZeriScrs[3], QStringLiteral("40.00"));

    // Stopping at once: no answers, no division, the same question.
    world->dialogs.clear();
    world->dialogs.answers = {Seams::Answer::Cancel};
    press(button("StartBtn"));
    press(button("CloseBtn"));
    QCOMPARE(world->dialogs.shown.size(), 1);
    QCOMPARE(world->student->myZeriScrs[3], QStringLiteral("40.00"));
    press(button("CloseBtn"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(world->student->saves, 0);
}

void TestChallengeScrn::stopMidFlightOrMidPauseLeavesNothingRunning_data() {
    QTest::addColumn<QString>("moment");
    QTest::addColumn<bool>("carryOn");
    QTest::newRow("flight to a slot, stop anyway") << "slot" << false;
    QTest::newRow("flight to a slot, continue") << "slot" << true;
    QTest::newRow("flight to the trash, stop anyway") << "trash" << false;
    QTest::newRow("flight to the trash, continue") << "trash" << true;
    QTest::newRow("pause after a landing, continue") << "landed" << true;
    QTest::newRow("marker pause, stop anyway") << "marker" << false;
}

void TestChallengeScrn::stopMidFlightOrMidPauseLeavesNothingRunning() {
    QFETCH(QString, moment);
    QFETCH(bool, carryOn);
    openFor();
    App::myRnd().seed(21);
    press(button("StartBtn"));
    // Deal until the card suits the moment wanted.
    const auto suits = [&] {
        const int fits = fittingSlot();
        return moment == QLatin1String("trash") ? fits < 0 : fits >= 0;
    };
    Played played;
    for (int i = 0; i < 200 && !suits(); ++i) {
        playCard(played, false, false);
    }
    QVERIFY(suits());
    const int rightBefore = win()->game().right();
    const int secondsBefore = win()->game().seconds();
    const int fits = fittingSlot();
    if (moment == QLatin1String("marker")) {
        clickTarget(4); // a missed chance
        QVERIFY(timer("delayTimer")->isActive());
    } else {
        clickTarget(moment == QLatin1String("trash") ? 4 : fits);
        fire(timer("animTimer"));
        fire(timer("animTimer"));
        if (moment == QLatin1String("landed")) {
            flyToTheEnd();
            QVERIFY(timer("delayTimer")->isActive());
        } else {
            QVERIFY(timer("animTimer")->isActive());
        }
    }

    world->dialogs.answers = {carryOn ? Seams::Answer::Default : Seams::Answer::Cancel};
    press(button("CloseBtn"));
    QCOMPARE(world->dialogs.shown.size(), 1); // fewer than 10 answers
    QVERIFY(!timer("animTimer")->isActive());
    // A card in flight landed and counted.
    if (moment == QLatin1String("slot"))
        QCOMPARE(win()->game().right(), rightBefore + 1);
    if (moment == QLatin1String("trash"))
        QCOMPARE(win()->game().seconds(), std::max(0, secondsBefore - 1));

    if (!carryOn) {
        QVERIFY(!anyTimerOn());
        QVERIFY(!canvas("showWrongCnv")->isVisible());
        QCOMPARE(canvas("WildCnv")->pos(), Challenge::kCardHome);
        for (int i = 0; i < 4; ++i)
            QVERIFY(canvas("NumCnv", i)->isVisible());
        QVERIFY(!win()->game().isTrash());
        QVERIFY(!win()->game().isOK());
        const int right = win()->game().right();
        clickTarget(0);
        QCOMPARE(win()->game().right(), right);
        QVERIFY(!anyTimerOn());
        return;
    }

    QVERIFY(timer("totTimer")->isActive());
    QCOMPARE(button("CloseBtn")->myCaption(), QStringLiteral("Stop Game"));
    if (moment == QLatin1String("trash")) {
        // The next card came at once.
        QVERIFY(win()->game().allowClick());
        QCOMPARE(canvas("WildCnv")->pos(), Challenge::kCardHome);
    } else {
        // The pause runs again and clicks wait for the card it deals.
        QVERIFY(timer("delayTimer")->isActive());
        QVERIFY(!win()->game().allowClick());
        const int answered = win()->game().answered();
        clickTarget(4);
        QCOMPARE(win()->game().answered(), answered);
        fire(timer("delayTimer"));
        QVERIFY(win()->game().allowClick());
        QCOMPARE(canvas("WildCnv")->pos(), Challenge::kCardHome);
    }
}

void TestChallengeScrn::cardBeepsAndCountersTakeNoKeys() {
    openFor();
    press(button("StartBtn"));
    QCOMPARE(counter("RightFld"), QStringLiteral("0"));
    clickOn(canvas("WildCnv"));
    QCOMPARE(world->feedback.beeps, 1);
    QCOMPARE(label("InstrFld")->text(), QStringLiteral("Click on the destination"));
    QCOMPARE(win()->game().answered(), 0);
    QVERIFY(win()->game().allowClick());

    auto* right = part<QLineEdit>(QStringLiteral("RightFld"));
    right->setFocus();
    QTest::keyClicks(right, QStringLiteral("57"));
    QTest::keyClick(right, Qt::Key_Backspace);
    QTest::keyClick(right, Qt::Key_Delete);
    QCOMPARE(right->text(), QStringLiteral("0"));
}

void TestChallengeScrn::highestNumberBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("in range") << "12"
                              << "12";
    QTest::newRow("too low") << "2"
                             << "4";
    QTest::newRow("too high") << "25"
                              << "19";
    QTest::newRow("no number") << "abc"
                               << "4";
}

void TestChallengeScrn::highestNumberBox() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    openFor();
    auto* box = part<QComboBox>(QStringLiteral("hiNumFld"));
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), typed);
    QCOMPARE(box->currentText(), typed); // the box keeps what was typed
    QCOMPARE(world->student->myParams[2], stored);
    QCOMPARE(win()->game().high(), stored.toInt());

    // Used at once for the cards of a game.
    press(button("StartBtn"));
    Played played;
    for (int i = 0; i < 30; ++i) {
        QVERIFY(card() >= 1 && card() <= stored.toInt());
        playCard(played, false, false);
    }
    win()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(world->student->saves, 1);
    QVERIFY(!world->student->timersRunningAtSave);
    QCOMPARE(world->db.dataColumn(world->id, QStringLiteral("stParam")).split(QLatin1Char(',')).value(2),
             stored);
}

void TestChallengeScrn::storedHighestNumberOutsideItsRangeIsClamped() {
    openFor(QStringLiteral("99.99"), QStringLiteral("1"));
    QCOMPARE(win()->game().high(), 4);
    QCOMPARE(part<QComboBox>(QStringLiteral("hiNumFld"))->currentText(), QStringLiteral("4"));
    press(button("StartBtn"));
    Played played;
    for (int i = 0; i < 20; ++i) {
        playCard(played, false, false); // never stuck on a card that may not repeat
    }
}

void TestChallengeScrn::closeBoxRecordsNoRunningGame() {
    openFor(QStringLiteral("99.99"));
    App::myRnd().seed(4);
    playGame(10, 1);
    world->dialogs.clear();
    win()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!challengeScrn::exists());
    QVERIFY(world->dialogs.shown.isEmpty());
    QCOMPARE(world->student->saves, 0);
    QCOMPARE(world->student->myZeriScrs[3], QStringLiteral("99.99"));
}

void TestChallengeScrn::helpOpensTopicThirteen() {
    QList<int> topics;
    HelpLink::install([&topics](int topic, QWidget*) { topics << topic; });
    openFor();
    menuItem("HelpHelp")->trigger();
    QCOMPARE(topics, QList<int>{13});
    QVERIFY(menuItem("FileClose")->isEnabled());
    QVERIFY(!menuItem("FileExport")->isEnabled());
}

void TestChallengeScrn::operatorStaysWholeThroughThePause() {
    openFor();
    App::myRnd().seed(5);
    press(button("StartBtn"));
    Played p;
    for (int i = 0; i < 300 && fittingSlot() != 1; ++i)
        playCard(p, false, false);
    QCOMPARE(fittingSlot(), 1);
    // What the screen shows of the operator of slot 1, which the card flies over on its way there.
    QCoreApplication::processEvents();
    const QPaintDevice* device = win()->backingStore()->paintDevice();
    QCOMPARE(device->devType(), int(QInternal::Image));
    const auto* screen = static_cast<const QImage*>(device);
    QWidget* sign = canvas("func", 1);
    const QRect area(sign->mapTo(win(), QPoint(0, 0)), sign->size());
    const QImage before = screen->copy(area);
    const QImage drawn = sign->grab().toImage();
    // The test ends the pause itself, also while the screen is photographed.
    timer("delayTimer")->setInterval(3600 * 1000);
    clickTarget(1);
    while (timer("animTimer")->isActive()) {
        fire(timer("animTimer"));
        QCoreApplication::processEvents();
    }
    // The pause: the card stands over its slot, and the sign beside it is whole, however it is
    // painted again.
    QVERIFY(timer("delayTimer")->isActive());
    QCOMPARE(screen->copy(area), before);
    QCOMPARE(sign->grab().toImage(), drawn);
    GameTest::shoot(win(), QStringLiteral("challenge-pause-slot1"));
    fire(timer("delayTimer"));
}

void TestChallengeScrn::screenshots() {
    if (Look::shotsFolder().isEmpty())
        QSKIP("NBR_SHOTS_DIR not set");
    const auto save = [&](const QString& name, const QImage& image) {
        QVERIFY(Look::saveShot(image, QStringLiteral("challenge-") + name + QStringLiteral(".png")));
    };
    const auto shot = [&] {
        return win()->grab().toImage();
    };
    const auto withBox = [&](const QImage& under, const QString& message, const QString& explanation,
                             bool caution) {
        return GameTest::withMessageBox(under, caution, message, explanation);
    };

    openFor(QStringLiteral("99.99"), QStringLiteral("12"));
    save(QStringLiteral("1-start"), shot());
    App::myRnd().seed(12);
    // Mid-game with all four operators and a running average.
    press(button("StartBtn"));
    Played p;
    for (int i = 0; i < 200; ++i) {
        QSet<QString> ops;
        for (int s = 0; s < 4; ++s)
            ops << canvas("func", s)->accessibleName();
        if (ops.size() == 4 && p.answers() >= 3)
            break;
        fire(timer("totTimer"));
        playCard(p, false, false);
    }
    save(QStringLiteral("2-mid-game"), shot());
    // The marker at a slot, then at the trash.
    for (int i = 0; i < 50 && fittingSlot() < 0; ++i)
        playCard(p, false, false);
    clickTarget(4);
    ++p.missed;
    save(QStringLiteral("3-marker-at-slot"), shot());
    fire(timer("delayTimer"));
    for (int i = 0; i < 50 && fittingSlot() >= 0; ++i)
        playCard(p, false, false);
    clickTarget(0);
    ++p.wrong;
    save(QStringLiteral("4-marker-at-trash"), shot());
    fire(timer("delayTimer"));
    // A card on its way into the open can.
    for (int i = 0; i < 50 && fittingSlot() >= 0; ++i)
        playCard(p, false, false);
    clickTarget(4);
    for (int i = 0; i < 20; ++i)
        fire(timer("animTimer"));
    save(QStringLiteral("5-flight-to-trash"), shot());
    flyToTheEnd();
    while (win()->game().answered() < 10)
        playCard(p, false, false);
    press(button("CloseBtn"));
    const auto best = world->dialogs.shown.last();
    save(QStringLiteral("6-best"), withBox(shot(), best.message, best.explanation, best.isCaution));
    // The short-game question as the program asks it.
    press(button("StartBtn"));
    UiSeams::Dialogs real;
    Seams::setDialogs(&real);
    QImage questionShot;
    onModal([&](QWidget* modal) {
        questionShot = shot();
        const QImage boxImage = modal->grab().toImage();
        QPainter p(&questionShot);
        p.drawImage((questionShot.width() - boxImage.width()) / 2,
                    (questionShot.height() - boxImage.height()) / 2, boxImage);
    });
    press(button("CloseBtn"));
    Seams::setDialogs(&world->dialogs);
    save(QStringLiteral("7-short-game"), questionShot);
    world->dialogs.answers = {Seams::Answer::Cancel};
    press(button("CloseBtn"));
    win()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    openFor(QStringLiteral("1.00"));
    press(button("StartBtn"));
    Played q;
    while (win()->game().answered() < 10) {
        fire(timer("totTimer"));
        fire(timer("totTimer"));
        playCard(q, false, false);
    }
    press(button("CloseBtn"));
    const auto sorry = world->dialogs.shown.last();
    save(QStringLiteral("8-sorry"), withBox(shot(), sorry.message, sorry.explanation, sorry.isCaution));
}

QTEST_MAIN(TestChallengeScrn)
#include "tst_challengescrn.moc"
