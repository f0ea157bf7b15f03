// What every game window owes the child alike, each game opened through the sign-in window: File >
// Close and Ctrl+W only where the game answers them, the clock the window really runs, keys typed
// before anything is clicked, and whatever is pressed in whatever order leaving no timer behind the
// closed window.

#include "app/menus.h"
#include "controls/newcnvbtn.h"
#include "gamefixture.h"
#include "games/basket/bsktmathscrn.h"
#include "games/common/gamewindow.h"
#include "games/mindgames/mindgamesscrn.h"
#include "signin/namescrn.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// The game window on the screen, if one is.
GameWindow* shownGame() {
    for (QWidget* t : QApplication::topLevelWidgets()) {
        if (auto* g = qobject_cast<GameWindow*>(t); g && g->isVisible())
            return g;
    }
    return nullptr;
}

// Opens game `index` from the sign-in window and makes it the active window, as the child finds it.
GameWindow* openActive(int index) {
    if (!GameTest::openGame(index))
        return nullptr;
    GameTest::settle();
    GameWindow* w = shownGame();
    if (!w)
        return nullptr;
    w->activateWindow();
    return QTest::qWaitForWindowActive(w) ? w : nullptr;
}

QList<QPointer<QTimer>> timersOf(QWidget* w) {
    QList<QPointer<QTimer>> timers;
    for (QTimer* t : w->findChildren<QTimer*>())
        timers << t;
    return timers;
}

QStringList running(const QList<QPointer<QTimer>>& timers) {
    QStringList names;
    for (const QPointer<QTimer>& t : timers) {
        if (t && t->isActive())
            names << t->objectName();
    }
    return names;
}

void pressButton(QWidget* w, const QString& name) {
    auto* b = GameTest::part<newCnvBtn>(w, name);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
}

} // namespace

class TestGameWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void fileCloseOnlyWhereTheGameAnswersIt_data();
    void fileCloseOnlyWhereTheGameAnswersIt();
    void clocksRunAtTheirPeriods_data();
    void clocksRunAtTheirPeriods();
    void keysBeforeAnyClickStoreNothing_data();
    void keysBeforeAnyClickStoreNothing();
    void noTimerOutlivesTheWindow_data();
    void noTimerOutlivesTheWindow();

private:
    std::unique_ptr<TestDoubles::ScriptedDialogs> dialogs;
    std::unique_ptr<TestDoubles::RecordingFeedback> feedback;
    std::unique_ptr<GameTest::Student> student;
};

void TestGameWindows::init() {
    dialogs = std::make_unique<TestDoubles::ScriptedDialogs>();
    feedback = std::make_unique<TestDoubles::RecordingFeedback>();
    GameTest::soundsOn();
    student = std::make_unique<GameTest::Student>(QStringLiteral("Ann Lee"));
    dialogs->clear();
}

void TestGameWindows::cleanup() {
    if (GameWindow* w = shownGame())
        w->close();
    GameTest::settle();
    student.reset();
    feedback.reset();
    dialogs.reset();
}

void TestGameWindows::fileCloseOnlyWhereTheGameAnswersIt_data() {
    QTest::addColumn<int>("game");
    QTest::addColumn<bool>("answers");
    QTest::addColumn<QString>("start"); // a game is running when Ctrl+W comes, where it is not answered
    QTest::newRow("numbers") << 0 << true << QString();
    QTest::newRow("detective") << 1 << false << "factorBtn";
    QTest::newRow("squares") << 2 << true << QString();
    QTest::newRow("challenge") << 3 << true << QString();
    QTest::newRow("basket") << 4 << false << "StartBtn";
    QTest::newRow("mind games") << 5 << false << "StartBtn";
}

void TestGameWindows::fileCloseOnlyWhereTheGameAnswersIt() {
    QFETCH(int, game);
    QFETCH(bool, answers);
    QFETCH(QString, start);
    GameWindow* w = openActive(game);
    QVERIFY(w);
    QAction* close = w->menuBar()->item(QStringLiteral("FileClose"));
    QVERIFY(close);
    QCOMPARE(close->isEnabled(), answers);
    QCOMPARE(close->shortcut(), QKeySequence(QStringLiteral("Ctrl+W")));
    if (!start.isEmpty())
        pressButton(w, start);
    const QList<QPointer<QTimer>> timers = timersOf(w);
    const QStringList before = running(timers);
    QTest::keyClick(w, Qt::Key_W, Qt::ControlModifier);
    GameTest::settle();
    if (answers) {
        QVERIFY(!shownGame());
        QVERIFY(NameScrn::instance()->isVisible());
        return;
    }
    // Nothing happens: the window stays, and so does the game running in it.
    QCOMPARE(shownGame(), w);
    QCOMPARE(running(timers), before);
    QVERIFY(!before.isEmpty());
    QVERIFY(dialogs->shown.isEmpty());
    // The close box still closes it.
    w->close();
    GameTest::settle();
    QVERIFY(!shownGame());
    QVERIFY(NameScrn::instance()->isVisible());
}

void TestGameWindows::clocksRunAtTheirPeriods_data() {
    QTest::addColumn<int>("game");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("clock");
    QTest::addColumn<int>("period");
    QTest::newRow("numbers") << 0 << "ActionBtn"
                             << "gameTimer" << 1000;
    QTest::newRow("detective") << 1 << "factorBtn"
                               << "mdGameTimer" << 1000;
    QTest::newRow("challenge") << 3 << "StartBtn"
                               << "totTimer" << 1000;
    QTest::newRow("basket, round 1") << 4 << "StartBtn"
                                     << "fallingTimer" << 51;
    QTest::newRow("mind games") << 5 << "StartBtn"
                                << "gametimer" << 1000;
}

void TestGameWindows::clocksRunAtTheirPeriods() {
    QFETCH(int, game);
    QFETCH(QString, start);
    QFETCH(QString, clock);
    QFETCH(int, period);
    GameWindow* w = openActive(game);
    QVERIFY(w);
    auto* timer = GameTest::part<QTimer>(w, clock);
    QVERIFY(!timer->isActive());
    pressButton(w, start);
    // The period it runs at once the game has started, nothing set by the test.
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), period);
    QVERIFY(!timer->isSingleShot());
}

void TestGameWindows::keysBeforeAnyClickStoreNothing_data() {
    QTest::addColumn<int>("game");
    QTest::addColumn<QString>("setting"); // the stored highest number before
    QTest::addColumn<QString>("highest"); // the stored highest number afterwards
    QTest::addColumn<int>("plays");       // the highest number the window then plays with; 0: none kept
    QTest::newRow("numbers") << 0 << "10"
                             << "10" << 0;
    // The Detective opens with the cursor in "Highest Number" under "1) Set the Highest Number.":
    // digits typed there set it, held within 4 to 19.
    QTest::newRow("detective") << 1 << "10"
                               << "19" << 0;
    QTest::newRow("squares") << 2 << "10"
                             << "10" << 0;
    QTest::newRow("challenge") << 3 << "10"
                               << "10" << 0;
    // The basket game and the Mind games store no setting, but open with the cursor in their own
    // box (the highest number, held to 4..9; the level, held to 1..4): the keys change what the game
    // plays with, never what is stored. From 5, "573ab -." plays with 9; from level 1 (a highest
    // number of 3), "173ab -." is level 4, which plays with 12.
    QTest::newRow("basket") << 4 << "5"
                            << "5" << 9;
    QTest::newRow("mind games") << 5 << "3"
                                << "3" << 12;
}

void TestGameWindows::keysBeforeAnyClickStoreNothing() {
    QFETCH(int, game);
    QFETCH(QString, setting);
    QFETCH(QString, highest);
    QFETCH(int, plays);
    student.reset(); // signs the student of init() out before this one is signed in
    student = std::make_unique<GameTest::Student>(QStringLiteral("Ann Lee"), setting);
    const QString bests = student->storedBests();
    GameWindow* w = openActive(game);
    QVERIFY(w);
    const QStringList idle = running(timersOf(w));
    for (const QString& keys : {QStringLiteral("73"), QStringLiteral("ab -.")})
        QTest::keyClicks(QApplication::focusWidget(), keys);
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Up, Qt::Key_Delete})
        QTest::keyClick(QApplication::focusWidget(), key);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("58"));
    QVERIFY(shownGame());
    // No key started a game: no clock began to run and nothing sounded.
    QCOMPARE(running(timersOf(w)), idle);
    QCOMPARE(feedback->sounds, QStringList());
    if (auto* basket = qobject_cast<bsktMathScrn*>(w)) {
        QCOMPARE(basket->highestNumber(), plays);
        QCOMPARE(basket->round(), 0);
    } else if (auto* mind = qobject_cast<MindGamesScrn*>(w)) {
        QCOMPARE(mind->highestNumber(), plays);
        QVERIFY(!mind->playing());
    } else {
        QCOMPARE(plays, 0);
    }
    w->close();
    GameTest::settle();
    QCOMPARE(student->db->dataColumn(student->id, QStringLiteral("stParam")).split(',').value(2), highest);
    QCOMPARE(student->storedBests(), bests);
    QVERIFY(NameScrn::instance()->isVisible());
}

void TestGameWindows::noTimerOutlivesTheWindow_data() {
    QTest::addColumn<int>("game");
    QTest::addColumn<quint32>("seed");
    for (int game = 0; game < 6; ++game) {
        for (quint32 seed : {1u, 2u})
            QTest::newRow(qPrintable(QStringLiteral("game %1, seed %2").arg(game).arg(seed))) << game << seed;
    }
}

// The child clicks whatever shows (but the settings boxes and the buttons that close), types
// whatever key, in a random order, with the game's own timers running; then the close box. Every
// timer of the window has stopped by then, and nothing sounds, asks or shows afterwards.
void TestGameWindows::noTimerOutlivesTheWindow() {
    QFETCH(int, game);
    QFETCH(quint32, seed);
    GameWindow* w = openActive(game);
    QVERIFY(w);
    QRandomGenerator random(seed);
    const QList<Qt::Key> keys{Qt::Key_1,     Qt::Key_5,   Qt::Key_0,         Qt::Key_Minus,  Qt::Key_A,
                              Qt::Key_Space, Qt::Key_Tab, Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Escape};
    const auto clickable = [w] {
        QList<QWidget*> targets;
        for (QWidget* c : w->content()->findChildren<QWidget*>()) {
            if (!c->isVisible() || !c->isEnabled() || qobject_cast<QComboBox*>(c) ||
                qobject_cast<QComboBox*>(c->parentWidget()))
                continue;
            if (auto* b = qobject_cast<newCnvBtn*>(c); b && b->myCaption().startsWith(QLatin1String("Close")))
                continue;
            targets << c;
        }
        return targets;
    };
    for (int step = 0; step < 60 && shownGame() == w; ++step) {
        if (random.bounded(3) == 0) {
            QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : w;
            QTest::keyClick(focus, keys[random.bounded(int(keys.size()))]);
        } else {
            const QList<QWidget*> targets = clickable();
            QWidget* target = targets[random.bounded(int(targets.size()))];
            QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
        }
        QTest::qWait(random.bounded(40));
    }
    if (shownGame() == w) {
        const QList<QPointer<QTimer>> timers = timersOf(w);
        w->close();
        QCOMPARE(running(timers), QStringList());
    }
    GameTest::settle();
    QVERIFY(!shownGame());
    const int sounds = int(feedback->sounds.size());
    const int beeps = feedback->beeps;
    const int shown = int(dialogs->shown.size());
    QTest::qWait(300);
    QCOMPARE(int(feedback->sounds.size()), sounds);
    QCOMPARE(feedback->beeps, beeps);
    QCOMPARE(int(dialogs->shown.size()), shown);
    QVERIFY(NameScrn::instance()->isVisible());
}

QTEST_MAIN(TestGameWindows)
#include "tst_gamewindows.moc"
