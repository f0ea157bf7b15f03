#include "roundfixture.h"
#include "support/lookcheck.h"
#include "support/outsideinputs.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>

using namespace RoundTest;

namespace {

QList<Problem> fivePlay() {
    return {{7, 0, 5}, {9, 1, 12}, {6, 2, 7}, {12, 3, 3}, {5, 0, -3}};
}

// Plays the kept set: what a student gets with "Replay Last Game" after a round of that many problems.
GameScrn* replaying(const QList<Problem>& problems, int lastTot) {
    myGlobals::gMySet = std::make_shared<FixedSet>(problems);
    myGlobals::gUseLastGame = true;
    myGlobals::gLastTot = lastTot;
    return openRound();
}

void typeInto(QComboBox* box, const QString& text) {
    box->lineEdit()->selectAll();
    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(box->lineEdit(), text);
}

} // namespace

class TestGameRound : public QObject {
    Q_OBJECT
private slots:
    void wholeTeacherSetRoundIsSaved();
    void timeLimitsTriesAndMisses();
    void lastProblemTimingOutAddsNoSecond();
    void windowUsesTheRealIntervals();
    void everyExitSavesOnceWithTheRoundStopped_data();
    void everyExitSavesOnceWithTheRoundStopped();
    void replayPlaysTheKeptSetsCount_data();
    void replayPlaysTheKeptSetsCount();
    void boxesChangeTheNextRoundOnly();
    void triesAreKeptWithinTwoToSix_data();
    void triesAreKeptWithinTwoToSix();
    void teachersSets_data();
    void teachersSets();
    void repeatBoxChoosesTheNextSet();
    void savedSetThatIsNoSetFailsAtOnce_data();
    void savedSetThatIsNoSetFailsAtOnce();
    void savedSetWithoutWholeDivisions();
    void answerFieldTakesOnlyANumber_data();
    void answerFieldTakesOnlyANumber();
    void caretAndPasteCannotFoolTheCheck();
    void returnActsAsTheFirstButton();
};

// The acceptance round: a teacher's set of ten problems played by key clicks, one of them right only
// on the second try, then the student leaves through "New Player" and the row is read back.
void TestGameRound::wholeTeacherSetRoundIsSaved() {
    World world;
    myPrefs::prDataSource = 2;
    world.dialogs.paths.push_back(world.savedSet(
        {"7 + 5", "9 - 12", "6 X 7", "12 / 3", "5 + -3", "3 + 1", "4 + 2", "8 + 4", "10 + 5", "2 + 3"}));
    GameScrn* w = openRound();
    QCOMPARE(caption(w), QStringLiteral("Open Saved Set"));
    QVERIFY(part(w, "warnTxt")->isVisible());
    QCOMPARE(textOf(w, "warnTxt"), QStringLiteral("Using Teacher-Created Set!"));
    QVERIFY(!part(w, "hiNumFld")->isEnabled());
    QVERIFY(!part(w, "totProbFld")->isEnabled());

    press(w, 0);
    QCOMPARE(caption(w), QStringLiteral("Start Round"));
    QCOMPARE(part<QComboBox>(w, "totProbFld")->currentText(), QStringLiteral("10"));

    press(w, 0);
    QCOMPARE(caption(w), QStringLiteral("Stop Round"));
    QCOMPARE(textOf(w, "ctFld"), QStringLiteral("#1"));
    QCOMPARE(textOf(w, "TimeLeft"), QStringLiteral("Off"));
    QVERIFY(!part(w, "StaticText1")->isVisible());
    QVERIFY(answerField(w)->isVisible());
    QVERIFY(!actionButton(w, 2)->isVisible());
    QVERIFY(!part(w, "warnTxt")->isVisible());

    for (const char* typed : {"12", "-3", "41", "42", "4", "2"})
        answer(w, QString::fromLatin1(typed));
    QCOMPARE(textOf(w, "ctFld"), QStringLiteral("#6"));
    for (int s = 0; s < 37; ++s)
        w->myTimer_Action();
    for (const char* typed : {"4", "6", "12", "15"})
        answer(w, QString::fromLatin1(typed));
    QVERIFY(roundRunning(w));
    answer(w, QStringLiteral("5"));

    QCOMPARE(caption(w), QStringLiteral("Open Saved Set"));
    QCOMPARE(textOf(w, "ResultTxt"), QStringLiteral("Well Done, Ann.\nYou were perfect this round!!!"));
    QVERIFY(part(w, "ResultTxt")->isVisible());
    QCOMPARE(part(w, "Star")->property("picture").toString(), QStringLiteral("smallstar"));
    QCOMPARE(textOf(w, "totTimeTxt"), QStringLiteral("Time for this round: 37 seconds"));
    QVERIFY(textOf(w, "missedBox").isEmpty());
    QVERIFY(!answerField(w)->isVisible());
    QVERIFY(actionButton(w, 2)->isVisible());
    QVERIFY(part(w, "repeatBtn")->isEnabled());
    QCOMPARE(myGlobals::gLastTot, 10);
    QStringList sounds(9, QStringLiteral("right1"));
    sounds << QStringLiteral("round1");
    QCOMPARE(world.feedback.sounds, sounds);

    press(w, 3);
    QCOMPARE(world.student->saves, 1);
    QVERIFY(!world.student->timersRunningAtSave);
    QVERIFY(!GameScrn::exists());
    QVERIFY(NameScrn::instance()->isVisible());

    // Every problem counted once under its operation and second number; the student's earlier 8 of 9
    // stay where nothing was asked.
    const QStringList add = world.stored(QStringLiteral("stAdd"));
    QCOMPARE(add.mid(0, 6), (QStringList{"9/10", "9/10", "10/11", "9/10", "10/11", "8/9"}));
    QCOMPARE(world.stored(QStringLiteral("stSub")).value(11), QStringLiteral("9/10"));
    QCOMPARE(world.stored(QStringLiteral("stSub")).value(2), QStringLiteral("8/9"));
    QCOMPARE(world.stored(QStringLiteral("stMul")).value(6), QStringLiteral("9/10"));
    QCOMPARE(world.stored(QStringLiteral("stDiv")).value(2), QStringLiteral("9/10"));
    // Five addition facts of the ten that count are now known: half a star, saved and congratulated.
    QCOMPARE(world.storedStars(), QStringLiteral("1"));
    QVERIFY(world.dialogs.messages().join('|').contains(
        QStringLiteral("You have earned your first half of a star.")));
}

void TestGameRound::timeLimitsTriesAndMisses() {
    World world;
    world.setParam(StRecord::SecondsParam, QStringLiteral("10"));
    GameScrn* w = replaying(fivePlay(), 5);
    QVERIFY(part<ovrCheckBox>(w, "repeatBtn")->value());
    QVERIFY(!part(w, "repeatBtn")->isEnabled());
    auto* bar = part<QProgressBar>(w, "ProgBar");
    press(w, 0);
    QCOMPARE(textOf(w, "TimeLeft"), QStringLiteral("10"));
    QVERIFY(part(w, "StaticText1")->isVisible());
    QCOMPARE(bar->value(), 300);

    // 7 + 5: two wrong tries empty the field without a sound, the third ends the problem as missed.
    w->myTimer_Action();
    QCOMPARE(bar->value(), 270);
    QCOMPARE(textOf(w, "TimeLeft"), QStringLiteral("9"));
    answer(w, QStringLiteral("11"));
    QVERIFY(answerField(w)->text().isEmpty());
    answer(w, QStringLiteral("13"));
    QVERIFY(world.feedback.sounds.isEmpty());
    QCOMPARE(problemNumber(w), 1);
    answer(w, QStringLiteral("14"));
    QCOMPARE(problemNumber(w), 2);
    QCOMPARE(textOf(w, "missedBox"), QStringLiteral("7 + 5 = 12\n"));
    QCOMPARE(bar->value(), 300);
    QCOMPARE(textOf(w, "TimeLeft"), QStringLiteral("10"));

    // 9 - 12: the answer is typed but the time runs out before its check: the problem is missed, and
    // the late check touches neither it nor the next problem.
    checkTimer(w)->setInterval(300);
    QTest::keyClicks(answerField(w), QStringLiteral("-3"));
    QVERIFY(checkTimer(w)->isActive());
    for (int s = 0; s < 10; ++s)
        w->myTimer_Action();
    QCOMPARE(problemNumber(w), 3);
    QTest::qWait(400);
    QCOMPARE(problemNumber(w), 3);
    QCOMPARE(world.feedback.sounds, (QStringList{"wrong1", "wrong1"}));
    checkTimer(w)->setInterval(0);

    answer(w, QStringLiteral("41")); // 6 x 7, right on the second try
    answer(w, QStringLiteral("42"));
    for (const char* wrong : {"1", "2", "3"}) // 12 ÷ 3 missed on the third try
        answer(w, QString::fromLatin1(wrong));
    answer(w, QStringLiteral("2")); // 5 + -3

    QCOMPARE(caption(w), QStringLiteral("Play Again"));
    QCOMPARE(world.feedback.sounds, (QStringList{"wrong1", "wrong1", "right1", "wrong1", "right1"}));
    QCOMPARE(textOf(w, "missedBox"), QStringLiteral("7 + 5 = 12\n9 - 12 = -3\n12 \u00F7 3 = 4\n"));
    QCOMPARE(textOf(w, "ResultTxt"), QStringLiteral("Nice Try, Ann.\nCheck your missed answers."));
    QCOMPARE(part(w, "Star")->property("picture").toString(), QStringLiteral("NoStar"));
    QCOMPARE(textOf(w, "totTimeTxt"), QStringLiteral("Time for this round: 11 seconds"));
    QVERIFY(textOf(w, "TimeLeft").isEmpty());
    QCOMPARE(bar->value(), 0);

    const TrackingRecord& s = *world.student;
    QCOMPARE(s.addTried[4], 10);
    QCOMPARE(s.addCor[4], 8);
    QCOMPARE(s.subTried[11], 10);
    QCOMPARE(s.subCor[11], 8);
    QCOMPARE(s.mulTried[6], 10);
    QCOMPARE(s.mulCor[6], 9);
    QCOMPARE(s.divTried[2], 10);
    QCOMPARE(s.divCor[2], 8);
    QCOMPARE(s.addTried[2], 10); // 5 + -3 counts under 3
    QCOMPARE(s.addCor[2], 9);
    QCOMPARE(world.student->saves, 0); // nothing reaches the database before the student leaves
}

// Two problems of 5 seconds both left to time out: the clock ticked 10 times, and the round reads the
// 9 seconds before the tick that ended it (the problem's first second may be short; the last tick is
// the end of the round, not a second of it).
void TestGameRound::lastProblemTimingOutAddsNoSecond() {
    World world;
    world.setParam(StRecord::SecondsParam, QStringLiteral("5"));
    GameScrn* w = replaying({{7, 0, 5}, {9, 1, 2}}, 2);
    press(w, 0);
    for (int s = 0; s < 10; ++s)
        w->myTimer_Action();
    QCOMPARE(caption(w), QStringLiteral("Play Again"));
    QCOMPARE(textOf(w, "totTimeTxt"), QStringLiteral("Time for this round: 9 seconds"));
    Look::saveShot(w, QStringLiteral("round-end.png"));
    // The clock has stopped with the round: a late tick changes nothing.
    w->myTimer_Action();
    QCOMPARE(textOf(w, "totTimeTxt"), QStringLiteral("Time for this round: 9 seconds"));
}

// The fixture shortens both timers for speed; the window itself must check an answer 300 ms after it
// is complete and tick its clock once a second.
void TestGameRound::windowUsesTheRealIntervals() {
    World world;
    myGlobals::gMySet = std::make_shared<FixedSet>(fivePlay());
    myGlobals::gUseLastGame = true;
    myGlobals::gLastTot = 5;
    GameScrn* w = GameScrn::instance();
    w->show();
    QCOMPARE(checkTimer(w)->interval(), 300);
    QVERIFY(checkTimer(w)->isSingleShot());
    auto* clock = part<QTimer>(w, QStringLiteral("myTimer"));
    QCOMPARE(clock->interval(), 1000);
    QVERIFY(!clock->isSingleShot());
    w->close();
}

void TestGameRound::everyExitSavesOnceWithTheRoundStopped_data() {
    QTest::addColumn<QString>("stage");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("next");
    QTest::newRow("before a round, My Settings") << "before" << 1 << "ParamScrn";
    QTest::newRow("before a round, My Progress") << "before" << 2 << "newDataScrn";
    QTest::newRow("before a round, New Player") << "before" << 3 << "NameScrn";
    QTest::newRow("during a round, Stop Round") << "during" << 0 << "NameScrn";
    QTest::newRow("during a round, My Settings") << "during" << 1 << "ParamScrn";
    QTest::newRow("during a round, New Player") << "during" << 3 << "NameScrn";
    QTest::newRow("after a round, My Settings") << "after" << 1 << "ParamScrn";
    QTest::newRow("after a round, My Progress") << "after" << 2 << "newDataScrn";
    QTest::newRow("after a round, New Player") << "after" << 3 << "NameScrn";
}

void TestGameRound::everyExitSavesOnceWithTheRoundStopped() {
    QFETCH(QString, stage);
    QFETCH(int, button);
    QFETCH(QString, next);
    World world;
    world.setParam(StRecord::SecondsParam, QStringLiteral("5"));
    GameScrn* w = replaying(fivePlay(), 0);
    if (stage != QLatin1String("before")) {
        press(w, 0);
        answer(w, QStringLiteral("12")); // 7 + 5 right
        for (int s = 0; s < 5; ++s)      // 9 - 12 missed when its time is up
            w->myTimer_Action();
        checkTimer(w)->setInterval(300);
        QTest::keyClicks(answerField(w), QStringLiteral("42")); // a check pending when the student leaves
        QVERIFY(checkTimer(w)->isActive());
    }
    if (stage == QLatin1String("after")) {
        checkTimer(w)->setInterval(0);
        QTRY_COMPARE(problemNumber(w), 4);
        finishRight(w);
        QVERIFY(!roundRunning(w));
    }
    QCOMPARE(actionButton(w, 2)->isVisible(), stage != QLatin1String("during"));

    press(w, button);
    QCOMPARE(world.student->saves, 1);
    QVERIFY(!world.student->timersRunningAtSave);
    QVERIFY(!GameScrn::exists());
    QWidget* shown = next == QLatin1String("ParamScrn")     ? static_cast<QWidget*>(ParamScrn::instance())
                     : next == QLatin1String("newDataScrn") ? static_cast<QWidget*>(newDataScrn::instance())
                                                            : static_cast<QWidget*>(NameScrn::instance());
    QVERIFY(shown->isVisible());
    QTest::qWait(350); // the check that was pending must not count after the save
    const QString add4 = world.stored(QStringLiteral("stAdd")).value(4);
    const QString sub11 = world.stored(QStringLiteral("stSub")).value(11);
    if (stage == QLatin1String("before")) {
        QCOMPARE(add4, QStringLiteral("8/9"));
        QCOMPARE(sub11, QStringLiteral("8/9"));
    } else {
        QCOMPARE(add4, QStringLiteral("9/10"));
        QCOMPARE(sub11, QStringLiteral("8/10"));
        QCOMPARE(world.stored(QStringLiteral("stMul")).value(6),
                 stage == QLatin1String("after") ? "9/10" : "8/9");
        QCOMPARE(world.student->mulTried[6], stage == QLatin1String("after") ? 10 : 9);
    }
    // Only a round that reached its end counts as the last round.
    QCOMPARE(myGlobals::gLastTot, stage == QLatin1String("after") ? 5 : 0);
}

void TestGameRound::replayPlaysTheKeptSetsCount_data() {
    QTest::addColumn<int>("lastTot");
    QTest::addColumn<int>("played");
    QTest::newRow("first round was stopped") << 0 << 4;
    QTest::newRow("last round longer than the set") << 10 << 4;
    QTest::newRow("last round shorter") << 3 << 3;
}

// A replay plays at most the kept set, and a round with a miss never earns the star.
void TestGameRound::replayPlaysTheKeptSetsCount() {
    QFETCH(int, lastTot);
    QFETCH(int, played);
    World world;
    GameScrn* w = replaying({{2, 0, 3}, {4, 0, 4}, {6, 0, 5}, {8, 0, 6}}, lastTot);
    press(w, 0);
    for (const char* wrong : {"1", "2", "3"})
        answer(w, QString::fromLatin1(wrong));
    QCOMPARE(roundRunning(w), played > 1);
    QCOMPARE(finishRight(w), played - 1);
    QCOMPARE(textOf(w, "ResultTxt"), QStringLiteral("Nice Try, Ann.\nCheck your missed answers."));
    QCOMPARE(part(w, "Star")->property("picture").toString(), QStringLiteral("NoStar"));
    QCOMPARE(myGlobals::gLastTot, played);
    QCOMPARE(world.student->addTried[2], 10);
    QCOMPARE(world.student->addTried[5], played == 4 ? 10 : 9);
}

// Highest Number and Total Problems store what they read at once; the round under way keeps the
// count it started with.
void TestGameRound::boxesChangeTheNextRoundOnly() {
    World world;
    myPrefs::prDataSource = 1;
    world.setParam(StRecord::ProblemsParam, QStringLiteral("4"));
    GameScrn* w = openRound();
    auto* total = part<QComboBox>(w, "totProbFld");
    auto* highest = part<QComboBox>(w, "hiNumFld");
    QCOMPARE(total->currentText(), QStringLiteral("4"));
    QCOMPARE(highest->currentText(), QStringLiteral("10"));

    press(w, 0);
    answerRight(w);
    typeInto(total, QStringLiteral("6"));
    QCOMPARE(world.student->myParams[StRecord::ProblemsParam], QStringLiteral("6"));
    QCOMPARE(finishRight(w), 3);
    QCOMPARE(part(w, "Star")->property("picture").toString(), QStringLiteral("smallstar"));

    press(w, 0); // "Play Again" with the box unticked: a new set of the new count
    QCOMPARE(myGlobals::gMySet->getTotProblems(), 5);
    answer(w, QStringLiteral("999")); // a miss, then the count lowered under the problems already played
    answer(w, QStringLiteral("999"));
    answer(w, QStringLiteral("999"));
    answerRight(w);
    typeInto(total, QStringLiteral("2"));
    QCOMPARE(world.student->myParams[StRecord::ProblemsParam], QStringLiteral("4"));
    QCOMPARE(finishRight(w), 4);
    QCOMPARE(part(w, "Star")->property("picture").toString(), QStringLiteral("NoStar"));

    typeInto(highest, QStringLiteral("25"));
    QCOMPARE(world.student->myParams[StRecord::HighestParam], QStringLiteral("19"));
    QCOMPARE(highest->currentText(), QStringLiteral("25"));
    typeInto(highest, QStringLiteral("abc"));
    QCOMPARE(world.student->myParams[StRecord::HighestParam], QStringLiteral("4"));
    highest->setCurrentIndex(3); // a row chosen from the list
    emit highest->activated(3);
    QCOMPARE(world.student->myParams[StRecord::HighestParam], QStringLiteral("7"));
}

void TestGameRound::triesAreKeptWithinTwoToSix_data() {
    QTest::addColumn<int>("maxTries");
    QTest::addColumn<int>("allowed");
    QTest::newRow("none stored") << 0 << 2;
    QTest::newRow("one") << 1 << 2;
    QTest::newRow("three") << 3 << 3;
    QTest::newRow("nine") << 9 << 6;
}

void TestGameRound::triesAreKeptWithinTwoToSix() {
    QFETCH(int, maxTries);
    QFETCH(int, allowed);
    World world;
    myPrefs::prMaxTries = maxTries;
    GameScrn* w = replaying({{7, 0, 5}, {1, 0, 1}}, 2);
    press(w, 0);
    for (int t = 1; t < allowed; ++t)
        answer(w, QStringLiteral("99"));
    QCOMPARE(problemNumber(w), 1);
    answer(w, QStringLiteral("99"));
    QCOMPARE(problemNumber(w), 2);
    QCOMPARE(textOf(w, "missedBox"), QStringLiteral("7 + 5 = 12\n"));
}

void TestGameRound::teachersSets_data() {
    QTest::addColumn<int>("problems"); // problems in the file; -1 the file chooser is cancelled
    QTest::addColumn<int>("played");
    QTest::addColumn<bool>("opened");
    QTest::newRow("eight, student plays ten") << 8 << 8 << true;
    QTest::newRow("two, fewer than any setting") << 2 << 2 << true;
    QTest::newRow("twenty-five") << 25 << 20 << true;
    QTest::newRow("empty file") << 0 << 10 << false;
    QTest::newRow("chooser cancelled") << -1 << 10 << false;
}

void TestGameRound::teachersSets() {
    QFETCH(int, problems);
    QFETCH(int, played);
    QFETCH(bool, opened);
    World world;
    myPrefs::prDataSource = 2;
    if (problems >= 0) {
        QStringList texts;
        for (int i = 0; i < problems; ++i)
            texts << QStringLiteral("%1 + %2").arg(i + 1).arg(i % 9 + 1);
        world.dialogs.paths.push_back(world.savedSet(texts));
    }
    GameScrn* w = openRound();
    press(w, 0);
    const QString failure =
        QStringLiteral("Unable to open a saved number set.\nA random set will be created.");
    QCOMPARE(world.dialogs.messages().contains(failure), !opened);
    QCOMPARE(caption(w), QStringLiteral("Start Round"));
    QCOMPARE(part(w, "totProbFld")->isEnabled(), !opened);
    if (opened) {
        QCOMPARE(part<QComboBox>(w, "totProbFld")->currentText(), QString::number(played));
        QCOMPARE(textOf(w, "warnTxt"), QStringLiteral("Using Teacher-Created Set!"));
    } else {
        QVERIFY(!myGlobals::gMySet);
        QCOMPARE(textOf(w, "warnTxt"), QStringLiteral("Unable to get a set."));
        QVERIFY(part(w, "warnTxt")->isVisible());
        QCOMPARE(textOf(w, "settingTxt0"), QStringLiteral("Addition"));
    }

    press(w, 0);
    QVERIFY(myGlobals::gMySet);
    if (opened)
        QCOMPARE(myGlobals::gMySet->getTopNum(0), 1); // the file's problems in the file's order
    QCOMPARE(finishRight(w), played);
    QCOMPARE(myGlobals::gLastTot, played);
    QCOMPARE(caption(w), QStringLiteral("Open Saved Set"));
    // The student's own problems per round are not the set's.
    QCOMPARE(world.student->myParams[StRecord::ProblemsParam], QStringLiteral("10"));
}

void TestGameRound::savedSetThatIsNoSetFailsAtOnce_data() {
    OutsideInputs::addRows();
}

// "Open Saved Set" on a pipe, a folder, a device or an oversize file: the round's own message at once,
// and the round goes on with a random set of the student's settings.
void TestGameRound::savedSetThatIsNoSetFailsAtOnce() {
    QFETCH(QString, kind);
    World world;
    myPrefs::prDataSource = 2;
    const QString path = OutsideInputs::make(kind, world.files.path(), rndSet::kMaxSetFileBytes);
    QVERIFY(!path.isEmpty());
    const OutsideInputs::PipeRelease release(path);
    world.dialogs.paths.push_back(path);
    GameScrn* w = openRound();
    QCOMPARE(caption(w), QStringLiteral("Open Saved Set"));
    QElapsedTimer clock;
    clock.start();
    press(w, 0);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    QCOMPARE(
        world.dialogs.messages(),
        QStringList{QStringLiteral("Unable to open a saved number set.\nA random set will be created.")});
    QCOMPARE(caption(w), QStringLiteral("Start Round"));
    QCOMPARE(textOf(w, "warnTxt"), QStringLiteral("Unable to get a set."));
    press(w, 0);
    QCOMPARE(finishRight(w), 10);
}

// A division that does not come out whole, or divides by 0, is never played as right.
void TestGameRound::savedSetWithoutWholeDivisions() {
    World world;
    myPrefs::prDataSource = 2;
    world.dialogs.paths.push_back(world.savedSet({"7 / 2", "56 / 8", "5 / 0", "3 + 4"}));
    GameScrn* w = openRound();
    press(w, 0);
    QCOMPARE(world.dialogs.messages(),
             QStringList{QStringLiteral("2 divisions of this set do not give a whole number or divide by 0.\n"
                                        "They were left out.")});
    QCOMPARE(part<QComboBox>(w, "totProbFld")->currentText(), QStringLiteral("2"));
    press(w, 0);
    QCOMPARE(myGlobals::gMySet->getCorAns(0), 7);
    QCOMPARE(myGlobals::gMySet->getCorAns(1), 7);
    QCOMPARE(finishRight(w), 2);
}

void TestGameRound::repeatBoxChoosesTheNextSet() {
    {
        World world;
        myPrefs::prDataSource = 1;
        world.setParam(StRecord::ProblemsParam, QStringLiteral("4"));
        GameScrn* w = openRound();
        auto* repeat = part<ovrCheckBox>(w, "repeatBtn");
        press(w, 0);
        finishRight(w);
        const std::shared_ptr<rndSet> first = myGlobals::gMySet;

        QTest::mouseClick(repeat, Qt::LeftButton);
        QVERIFY(repeat->value());
        QCOMPARE(caption(w), QStringLiteral("Play Again")); // the box swaps captions only for teacher's sets
        press(w, 0);
        QCOMPARE(myGlobals::gMySet, first);
        QVERIFY(!repeat->isEnabled());
        finishRight(w);
        QTest::mouseClick(repeat, Qt::LeftButton);
        press(w, 0);
        QVERIFY(myGlobals::gMySet != first);
    }

    // Teacher's sets: after a round that ends in "Open Saved Set" the box swaps it with "Start Round",
    // which replays the kept set without asking for a file.
    World world;
    myPrefs::prDataSource = 2;
    world.dialogs.paths.push_back(world.savedSet({"2 + 2", "3 + 3", "4 + 4", "5 + 5"}));
    GameScrn* w = openRound();
    auto* repeat = part<ovrCheckBox>(w, "repeatBtn");
    press(w, 0);
    press(w, 0);
    finishRight(w);
    world.dialogs.clear();
    QCOMPARE(caption(w), QStringLiteral("Open Saved Set"));
    QTest::mouseClick(repeat, Qt::LeftButton);
    QCOMPARE(caption(w), QStringLiteral("Start Round"));
    QTest::mouseClick(repeat, Qt::LeftButton);
    QCOMPARE(caption(w), QStringLiteral("Open Saved Set"));
    QTest::mouseClick(repeat, Qt::LeftButton);
    const std::shared_ptr<rndSet> kept = myGlobals::gMySet;
    press(w, 0);
    QCOMPARE(myGlobals::gMySet, kept);
    QCOMPARE(finishRight(w), 4);
    QCOMPARE(caption(w), QStringLiteral("Play Again"));
    QVERIFY(world.dialogs.shown.isEmpty());
}

void TestGameRound::answerFieldTakesOnlyANumber_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<bool>("armed");
    QTest::addColumn<int>("checked"); // the typed value the pending check will compare
    QTest::addColumn<bool>("speech");
    QTest::newRow("one digit answer, one digit") << 7 << "7"
                                                 << "7" << 0 << true << 7 << false;
    QTest::newRow("two digits, first digit") << 12 << "1"
                                             << "1" << 0 << false << 0 << false;
    QTest::newRow("two digits") << 12 << "34"
                                << "34" << 0 << true << 34 << false;
    QTest::newRow("negative answer, digits only") << -12 << "12"
                                                  << "12" << 0 << false << 0 << false;
    QTest::newRow("negative answer") << -12 << "-12"
                                     << "-12" << 0 << true << -12 << false;
    QTest::newRow("negative answer, three digits") << -12 << "123"
                                                   << "123" << 0 << true << 123 << false;
    QTest::newRow("minus then digit") << 5 << "-5"
                                      << "-5" << 0 << true << -5 << false;
    QTest::newRow("letters") << 12 << "a1b"
                             << "1" << 2 << false << 0 << false;
    QTest::newRow("second minus") << 5 << "--"
                                  << "-" << 1 << false << 0 << false;
    QTest::newRow("minus after a digit") << 12 << "1-"
                                         << "1" << 1 << false << 0 << false;
    QTest::newRow("space, speech off") << 12 << " 1"
                                       << "1" << 1 << false << 0 << false;
    QTest::newRow("space, speech on") << 12 << " 12"
                                      << "12" << 0 << true << 12 << true;
}

void TestGameRound::answerFieldTakesOnlyANumber() {
    QFETCH(int, answer);
    QFETCH(QString, keys);
    QFETCH(QString, field);
    QFETCH(int, beeps);
    QFETCH(bool, armed);
    QFETCH(int, checked);
    QFETCH(bool, speech);
    World world;
    world.setParam(StRecord::SpeechParam, speech ? QStringLiteral("1") : QStringLiteral("0"));
    const Problem problem = answer < 0 ? Problem{3, 1, 3 - answer} : Problem{answer - 2, 0, 2};
    GameScrn* w = replaying({problem}, 1);
    press(w, 0);
    checkTimer(w)->setInterval(3600 * 1000);
    QTest::keyClicks(answerField(w), keys);
    QCOMPARE(answerField(w)->text(), field);
    QCOMPARE(world.feedback.beeps, beeps);
    QCOMPARE(checkTimer(w)->isActive(), armed);
    if (armed)
        QCOMPARE(checkTimer(w)->userAns, checked);

    // Keys that are no part of a number never reach the field.
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Left})
        QTest::keyClick(answerField(w), key);
    QCOMPARE(answerField(w)->text(), field);
    QCOMPARE(world.feedback.beeps, beeps + 4);
    QVERIFY(roundRunning(w));
}

// The check reads what the field shows, wherever the caret stands and whatever was pasted.
void TestGameRound::caretAndPasteCannotFoolTheCheck() {
    World world;
    GameScrn* w = replaying({{10, 0, 2}, {10, 0, 5}}, 2);
    press(w, 0);
    checkTimer(w)->setInterval(3600 * 1000);
    QLineEdit* field = answerField(w);
    QTest::keyClicks(field, QStringLiteral("2"));
    field->setCursorPosition(0);
    QTest::keyClicks(field, QStringLiteral("1"));
    QCOMPARE(field->text(), QStringLiteral("12"));
    QCOMPARE(checkTimer(w)->userAns, 12);
    QTest::keyClicks(field, QStringLiteral("-")); // a minus in the middle of the number
    QCOMPARE(field->text(), QStringLiteral("12"));

    checkTimer(w)->setInterval(0);
    QTRY_COMPARE(problemNumber(w), 2);
    checkTimer(w)->setInterval(3600 * 1000);
    QGuiApplication::clipboard()->setText(QStringLiteral("1 5"));
    field->paste();
    QVERIFY(field->text().isEmpty());
    QGuiApplication::clipboard()->setText(QStringLiteral("1"));
    field->paste();
    QCOMPARE(field->text(), QStringLiteral("1"));
    QVERIFY(!checkTimer(w)->isActive());
    QTest::keyClicks(field, QStringLiteral("5"));
    QCOMPARE(checkTimer(w)->userAns, 15);
}

void TestGameRound::returnActsAsTheFirstButton() {
    World world;
    GameScrn* w = replaying(fivePlay(), 5);
    QLineEdit* hidden = part<QLineEdit>(w, "stlFocus");
    QCOMPARE(w->focusWidget(), hidden);
    QTest::keyClicks(hidden, QStringLiteral("ab3"));
    QCOMPARE(caption(w), QStringLiteral("Start Round"));
    QTest::keyClick(hidden, Qt::Key_Return);
    QVERIFY(roundRunning(w));
    QCOMPARE(w->focusWidget(), answerField(w));
    finishRight(w);
    QCOMPARE(w->focusWidget(), hidden);
    QTest::keyClick(hidden, Qt::Key_Enter);
    QVERIFY(roundRunning(w));
    // In a settings box Return is the first button too, here "Stop Round".
    QTest::keyClick(part<QComboBox>(w, "totProbFld")->lineEdit(), Qt::Key_Return);
    QCOMPARE(world.student->saves, 1);
    QVERIFY(!GameScrn::exists());
    QVERIFY(NameScrn::instance()->isVisible());
}

QTEST_MAIN(TestGameRound)
#include "tst_gameround.moc"
