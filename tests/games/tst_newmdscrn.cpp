#include "app/helplink.h"
#include "app/media.h"
#include "app/menus.h"
#include "main/routes.h"
#include "app/sounds.h"
#include "controls/newcnvbtn.h"
#include "controls/picturecanvas.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/random.h"
#include "data/strecord.h"
#include "games/detective/newmdscrn.h"
#include "games/gamefixture.h"
#include "settings/numbercombo.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QAction>
#include <QBackingStore>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

using GameTest::click;
using GameTest::part;
using GameTest::settle;
using GameTest::shoot;
using TrackingRecord = GameTest::TrackingRecord<newMDScrn>;

QString text(QWidget* w, const QString& name) {
    return part<QLabel>(w, name)->text();
}

QList<mdSquare*> squares(QWidget* w) {
    QList<mdSquare*> s = w->findChildren<mdSquare*>(QStringLiteral("MDBtn"));
    std::sort(s.begin(), s.end(), [](auto* a, auto* b) { return a->index() < b->index(); });
    return s;
}

QList<mdAnsFld*> fields(QWidget* w) {
    QList<mdAnsFld*> f = w->findChildren<mdAnsFld*>(QStringLiteral("AnsFld"));
    std::sort(f.begin(), f.end(), [](auto* a, auto* b) { return a->index() < b->index(); });
    return f;
}

QString best(QWidget* w) {
    return GameTest::indexed<QLabel>(w, QStringLiteral("InfoTxt"), 1)->text();
}

// The square showing a number, by what it tells a screen reader.
mdSquare* squareShowing(QWidget* w, int value) {
    for (mdSquare* s : squares(w)) {
        if (s->accessibleName() == QString::number(value))
            return s;
    }
    return nullptr;
}

// A square whose number is none of the round's answers and that is not used yet.
mdSquare* wrongSquare(newMDScrn* w) {
    const auto& answers = w->rules().answers();
    for (mdSquare* s : squares(w)) {
        const int n = s->accessibleName().toInt();
        if (std::find(answers.begin(), answers.end(), n) == answers.end() && !w->rules().used(s->index()))
            return s;
    }
    return nullptr;
}

} // namespace

class TestNewMDScrn : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void opensReadyAndRefusesUntilARound();
    void typingJudgesTheWholeEntry();
    void missesWarnAndTheThirdLoses();
    void twoVisitsThroughTheSignInWindow();
    void closingStopsEveryTimerBeforeTheSave();
    void bigBoardsLook();
    void helpAndAFailedSave();
    void focusRestsWhenNoFieldIsEmpty();
    void aNewRoundDropsAPendingCongratulation();
    void squaresShowTheBackgroundInTheirCorners();

private:
    std::unique_ptr<GameTest::TrackedWorld<newMDScrn>> world;

    newMDScrn* open();
    // Starts a factors round on base 60 at highest number 10 (seeds tried in turn).
    void factorsOn60(newMDScrn* w);
    QStringList zeriGames() const { return world->stored(QStringLiteral("zeriGames")); }
    QStringList stParam() const { return world->stored(QStringLiteral("stParam")); }
};

void TestNewMDScrn::init() {
    world = std::make_unique<GameTest::TrackedWorld<newMDScrn>>(3);
}

void TestNewMDScrn::cleanup() {
    world.reset();
}

newMDScrn* TestNewMDScrn::open() {
    newMDScrn* w = newMDScrn::instance();
    w->show();
    // Active, as the child finds it: the focus moves only in the active window.
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w))
        qWarning("the Detective window did not become active");
    // The test ticks the clock itself (its own period is read by tst_gamewindows).
    part<QTimer>(w, QStringLiteral("mdGameTimer"))->setInterval(3600 * 1000);
    return w;
}

void TestNewMDScrn::factorsOn60(newMDScrn* w) {
    for (quint32 seed = 1; seed < 20000; ++seed) {
        App::myRnd().seed(seed);
        click(part<newCnvBtn>(w, QStringLiteral("factorBtn")));
        if (w->rules().base() == 60)
            return;
        while (!w->rules().roundDone())
            click(wrongSquare(w));
        QTest::qWait(0);
    }
    QFAIL("no round on 60");
}

void TestNewMDScrn::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::newRow("panel") << "mdCtrlCnv" << QRect(610, 0, 232, 480);
    QTest::newRow("best heading") << "showTxt2" << QRect(630, 118, 189, 16);
    QTest::newRow("player heading") << "showTxt1" << QRect(634, 60, 189, 16);
    QTest::newRow("group") << "GroupBox1" << QRect(630, 272, 192, 187);
    QTest::newRow("action caption") << "StaticText1" << QRect(636, 280, 100, 20);
    QTest::newRow("factors") << "factorBtn" << QRect(644, 310, 160, 32);
    QTest::newRow("multiples") << "multBtn" << QRect(644, 360, 160, 32);
    QTest::newRow("close") << "closeBtn" << QRect(644, 410, 160, 32);
    QTest::newRow("highest caption") << "StaticText2" << QRect(634, 222, 108, 16);
    QTest::newRow("misses caption") << "StaticText3" << QRect(634, 183, 108, 20);
    QTest::newRow("misses") << "missFld" << QRect(750, 184, 68, 22);
    QTest::newRow("highest") << "hiNumFld" << QRect(750, 220, 68, 22);
    QTest::newRow("instructions") << "InstrFld" << QRect(40, 3, 461, 65);
    QTest::newRow("star") << "StarPict" << QRect(527, 36, 32, 32);
    QTest::newRow("hi-lo") << "Canvas1" << QRect(572, 163, 12, 154);
}

void TestNewMDScrn::layout() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    newMDScrn* w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Math Detective"));
    QCOMPARE(w->content()->size(), QSize(843, 530));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QWidget* c = part(w, name);
    QCOMPARE(QRect(c->mapTo(w->content(), QPoint(0, 0)), c->size()), place);

    const QList<mdSquare*> s = squares(w);
    QCOMPARE(s.size(), 64);
    for (int i = 0; i < 64; ++i)
        QCOMPARE(s[i]->geometry(), QRect(60 + 50 * (i % 8), 80 + 50 * (i / 8), 48, 48));
    const QList<mdAnsFld*> f = fields(w);
    QCOMPARE(f.size(), 12);
    for (int k = 0; k < 12; ++k)
        QCOMPARE(f[k]->geometry(), QRect(520, 80 + 34 * k, 46, 26));
}

void TestNewMDScrn::opensReadyAndRefusesUntilARound() {
    world->student->myParams[StRecord::HighestParam] = QStringLiteral("2"); // damaged: held at 4
    world->student->myZeriScrs[1] = QStringLiteral("3.5");
    newMDScrn* w = open();
    QCOMPARE(part<newCnvBtn>(w, QStringLiteral("factorBtn"))->myCaption(), QStringLiteral("Find Factors"));
    QCOMPARE(part<newCnvBtn>(w, QStringLiteral("multBtn"))->myCaption(), QStringLiteral("Find Multiples"));
    QCOMPARE(part<newCnvBtn>(w, QStringLiteral("closeBtn"))->myCaption(), QStringLiteral("Close Screen"));
    QCOMPARE(part<newCnvBtn>(w, QStringLiteral("closeBtn"))->kind(), 4);
    QCOMPARE(text(w, QStringLiteral("showTxt1")), QStringLiteral("-- Current Player --"));
    QCOMPARE(text(w, QStringLiteral("showTxt2")), QStringLiteral("Ann's Best Avg. Time."));
    QCOMPARE(text(w, QStringLiteral("InstrFld")),
             QStringLiteral(
                 "1) Set the Highest Number.\n2) Select the <Factors> or <Multiples> button to begin."));
    auto* hi = part<NumberCombo>(w, QStringLiteral("hiNumFld"));
    QCOMPARE(hi->currentText(), QStringLiteral("4"));
    QCOMPARE(hi->count(), 16);
    for (mdSquare* s : squares(w))
        QVERIFY(s->accessibleName().isEmpty());
    for (mdAnsFld* f : fields(w))
        QVERIFY(f->isVisible() && f->text().isEmpty());

    // Clicks and keys only beep.
    click(squares(w)[5]);
    QTest::keyClick(fields(w)[0], Qt::Key_3);
    QTest::keyClick(fields(w)[0], Qt::Key_Escape);
    QCOMPARE(world->feedback.beeps, 3);
    QVERIFY(fields(w)[0]->text().isEmpty());
    QVERIFY(world->feedback.sounds.isEmpty());
    QVERIFY(newMDScrn::exists() && w->isVisible());

    // Highest number 4 deals full boards of distinct numbers.
    click(part<newCnvBtn>(w, QStringLiteral("factorBtn")));
    QVERIFY(!part<newCnvBtn>(w, QStringLiteral("factorBtn"))->isVisible());
    QVERIFY(!part<newCnvBtn>(w, QStringLiteral("multBtn"))->isVisible());
    QStringList shown;
    for (mdSquare* s : squares(w))
        shown << s->accessibleName();
    shown.removeDuplicates();
    QCOMPARE(shown.size(), 64);
    QCOMPARE(part<QLineEdit>(w, QStringLiteral("missFld"))->text(), QStringLiteral("3"));
    QVERIFY(w->isActiveWindow());
    QVERIFY(fields(w)[0]->hasFocus());

    // Leaving untouched saves nothing: the held value was only read.
    QCOMPARE(best(w), QStringLiteral("3.5"));
    click(part<newCnvBtn>(w, QStringLiteral("closeBtn")));
    QCOMPARE(world->student->saves, 0);
}

void TestNewMDScrn::typingJudgesTheWholeEntry() {
    newMDScrn* w = open();
    factorsOn60(w);
    QCOMPARE(text(w, QStringLiteral("InstrFld")),
             QStringLiteral("Ann: Find 12 factors of 60\nClick a number or type into the field."));
    const QList<mdAnsFld*> f = fields(w);
    world->feedback.beeps = 0;
    // Field 0 expects 60: "1" grows, then "12" is a miss (another field's answer: no square used).
    QTest::keyClick(f[0], Qt::Key_1);
    QCOMPARE(f[0]->text(), QStringLiteral("1"));
    f[0]->setCursorPosition(0); // the digit still goes to the end
    QTest::keyClick(f[0], Qt::Key_2);
    QVERIFY(f[0]->text().isEmpty());
    QCOMPARE(GameTest::lastSound(world->feedback.sounds), QStringLiteral("wrong1"));
    QVERIFY(!w->rules().used(squareShowing(w, 12)->index()));
    // Letters and pasting change nothing.
    QTest::keyClick(f[0], Qt::Key_A);
    QGuiApplication::clipboard()->setText(QStringLiteral("60"));
    QTest::keyClick(f[0], Qt::Key_V, Qt::ControlModifier);
    QMetaObject::invokeMethod(f[0], "paste");
    QVERIFY(f[0]->text().isEmpty());
    QCOMPARE(world->feedback.beeps, 3);
    QCOMPARE(f[0]->contextMenuPolicy(), Qt::NoContextMenu);
    QVERIFY(!f[0]->acceptDrops());
    // "60" is right: the field keeps it, the square is used, the focus moves on.
    f[0]->setFocus();
    QTest::keyClicks(f[0], QStringLiteral("60"));
    QCOMPARE(f[0]->text(), QStringLiteral("60"));
    QVERIFY(w->rules().used(squareShowing(w, 60)->index()));
    QCOMPARE(GameTest::lastSound(world->feedback.sounds), QStringLiteral("right1"));
    // The Edit menu's changes (Cut, Clear, Undo) are put back: a found answer neither vanishes nor
    // counts twice, even when Backspace took a digit and the student types it again.
    const int beepsBefore = world->feedback.beeps;
    QMetaObject::invokeMethod(f[0], "cut");
    QMetaObject::invokeMethod(f[0], "undo");
    f[0]->setCursorPosition(1);
    f[0]->del();
    QCOMPARE(f[0]->text(), QStringLiteral("60"));
    QCOMPARE(world->feedback.beeps, beepsBefore + 3);
    QTest::keyClick(f[0], Qt::Key_Backspace);
    QCOMPARE(f[0]->text(), QStringLiteral("6"));
    QTest::keyClick(f[0], Qt::Key_0);
    QCOMPARE(w->rules().found(), 1);
    QCOMPARE(world->feedback.beeps, beepsBefore + 4);
    // Field 2 expects 20: "1" then Tab leaves an unfinished entry; a click on 20 fills it.
    f[2]->setFocus();
    QTest::keyClick(f[2], Qt::Key_1);
    QTest::keyClick(f[2], Qt::Key_Tab);
    QVERIFY(f[3]->hasFocus());
    click(squareShowing(w, 20));
    QCOMPARE(f[2]->text(), QStringLiteral("20"));
    QCOMPARE(f[2]->selectedText(), QString());
    // Clicking the same square again beeps without a miss.
    const int beeps = world->feedback.beeps;
    click(squareShowing(w, 20));
    QCOMPARE(world->feedback.beeps, beeps + 1);
    QCOMPARE(w->rules().missesLeft(), 2);
}

void TestNewMDScrn::missesWarnAndTheThirdLoses() {
    newMDScrn* w = open();
    click(part<newCnvBtn>(w, QStringLiteral("multBtn")));
    const QString setup = text(w, QStringLiteral("InstrFld"));
    QVERIFY(setup.contains(QStringLiteral("multiples of")));
    click(wrongSquare(w));
    click(wrongSquare(w));
    QCOMPARE(text(w, QStringLiteral("InstrFld")), QStringLiteral("Careful!!! Only 1 more miss allowed."));
    auto* restore = part<QTimer>(w, QStringLiteral("restoreTimer"));
    QVERIFY(restore->isActive());
    QCOMPARE(restore->interval(), 3000);
    w->restoreTimer_Action();
    QCOMPARE(text(w, QStringLiteral("InstrFld")), setup);
    fields(w)[1]->setFocus();
    click(wrongSquare(w));
    QCOMPARE(text(w, QStringLiteral("InstrFld")),
             QStringLiteral(
                 "Sorry! Too many misses. Your time was not counted.\nClick <Factors> or <Multiples> to "
                 "play again."));
    QVERIFY(!restore->isActive());
    QVERIFY(!part<QTimer>(w, QStringLiteral("mdGameTimer"))->isActive());
    QVERIFY(part<newCnvBtn>(w, QStringLiteral("factorBtn"))->isVisible());
    QVERIFY(w->isActiveWindow());
    QVERIFY(!fields(w).contains(static_cast<mdAnsFld*>(w->focusWidget())));
    auto* delay = part<QTimer>(w, QStringLiteral("delayTimer"));
    QVERIFY(delay->isActive());
    QCOMPARE(delay->interval(), 100);
    w->delayTimer_Action();
    const QList<mdAnsFld*> f = fields(w);
    for (int k = 0; k < 10; ++k)
        QCOMPARE(f[k]->text(), QString::number(w->rules().fieldAnswer(k)));
    QVERIFY(!f[10]->isVisible() && !f[11]->isVisible());
    shoot(w, QStringLiteral("detective-lost"));
    // A new round stops the pending answers, so they never land on its fields.
    click(wrongSquare(w)); // refused: no round
    click(part<newCnvBtn>(w, QStringLiteral("factorBtn")));
    QVERIFY(!delay->isActive());
    QVERIFY(world->dialogs.shown.isEmpty());
}

void TestNewMDScrn::twoVisitsThroughTheSignInWindow() {
    myGlobals::gCurPlayer.reset();
    Routes::install();
    NameScrn::instance()->show();
    const auto visit = [&]() -> newMDScrn* {
        if (!GameTest::chooseStudent(QStringLiteral("Room 5"), QStringLiteral("Ann Lee")) ||
            !GameTest::pressGameButton(1) || !newMDScrn::exists() || NameScrn::exists())
            return nullptr;
        newMDScrn* w = newMDScrn::instance();
        part<QTimer>(w, QStringLiteral("mdGameTimer"))->setInterval(3600 * 1000);
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w))
            return nullptr;
        world->dialogs.clear();
        world->feedback.sounds.clear();
        return w;
    };
    // Finds every answer: the even fields by typing, the others by clicking; `seconds` on the clock.
    const auto win = [&](newMDScrn* w, int seconds) {
        for (int s = 0; s < seconds; ++s)
            w->mdGameTimer_Action();
        const int n = w->rules().count();
        for (int k = 0; k < n; ++k) {
            const int a = w->rules().fieldAnswer(k);
            if (k % 2 == 0) {
                fields(w)[k]->setFocus();
                QTest::keyClicks(fields(w)[k], QString::number(a));
            } else {
                click(squareShowing(w, a));
            }
        }
    };

    // First visit: highest number 12 picked, a factors round won in 3 seconds a little.
    newMDScrn* w = visit();
    QVERIFY(w);
    part<NumberCombo>(w, QStringLiteral("hiNumFld"))->setCurrentIndex(8); // "12"
    click(part<newCnvBtn>(w, QStringLiteral("factorBtn")));
    const int n = w->rules().count();
    QVERIFY(w->rules().base() >= 14 && w->rules().base() <= 144);
    win(w, n * 3);
    QVERIFY(w->rules().roundDone());
    QCOMPARE(text(w, QStringLiteral("InstrFld")),
             QStringLiteral("Congratulations! You were perfect this round."));
    QCOMPARE(GameTest::lastSound(world->feedback.sounds), QStringLiteral("round1"));
    QCOMPARE(part<PictureCanvas>(w, QStringLiteral("StarPict"))
                 ->grab()
                 .toImage()
                 .convertToFormat(QImage::Format_RGB32),
             Pictures::smallstar().toImage().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(best(w), QStringLiteral("3.00"));
    // No field keeps the focus, not even the window's own memory of it.
    QVERIFY(w->isActiveWindow());
    QVERIFY(!fields(w).contains(static_cast<mdAnsFld*>(w->focusWidget())));
    for (mdAnsFld* f : fields(w))
        QVERIFY(!f->hasFocus());
    auto* message = part<QTimer>(w, QStringLiteral("dlyMsgBoxtimer"));
    QVERIFY(message->isActive());
    QCOMPARE(message->interval(), 400);
    QVERIFY(world->dialogs.shown.isEmpty());
    w->dlyMsgBoxtimer_Action();
    QCOMPARE(world->dialogs.messages(),
             QStringList{"Congratulations, Ann!\nYou have improved your average time per problem."});
    QCOMPARE(world->dialogs.shown.last().explanation, QStringLiteral("Try to beat this score next time."));
    shoot(w, QStringLiteral("detective-won"));
    click(part<newCnvBtn>(w, QStringLiteral("closeBtn")));
    settle();
    QVERIFY(!newMDScrn::exists());
    QVERIFY(NameScrn::instance()->isVisible());
    QCOMPARE(zeriGames()[1], QStringLiteral("3.00"));
    QCOMPARE(stParam()[StRecord::HighestParam], QStringLiteral("12"));

    // Second visit: a multiples round lost, then one won more slowly: nothing shown, nothing saved.
    const QString row = world->db.dataColumn(world->id, QStringLiteral("zeriGames")) +
                        world->db.dataColumn(world->id, QStringLiteral("stParam"));
    w = visit();
    QVERIFY(w);
    click(part<newCnvBtn>(w, QStringLiteral("multBtn")));
    const int firstBase = w->rules().base();
    for (int m = 0; m < 3; ++m)
        click(wrongSquare(w));
    QVERIFY(w->rules().roundDone());
    click(part<newCnvBtn>(w, QStringLiteral("multBtn")));
    QVERIFY(w->rules().base() != firstBase);
    win(w, 40);
    QVERIFY(w->rules().roundDone());
    QVERIFY(!part<QTimer>(w, QStringLiteral("dlyMsgBoxtimer"))->isActive());
    QCOMPARE(text(w, QStringLiteral("InstrFld")),
             QStringLiteral("Congratulations! You were perfect this round."));
    click(part<newCnvBtn>(w, QStringLiteral("closeBtn")));
    settle();
    QVERIFY(world->dialogs.shown.isEmpty());
    QCOMPARE(world->db.dataColumn(world->id, QStringLiteral("zeriGames")) +
                 world->db.dataColumn(world->id, QStringLiteral("stParam")),
             row);
}

void TestNewMDScrn::closingStopsEveryTimerBeforeTheSave() {
    newMDScrn* w = open();
    auto* hi = part<NumberCombo>(w, QStringLiteral("hiNumFld"));
    hi->lineEdit()->selectAll();
    QTest::keyClicks(hi->lineEdit(), QStringLiteral("99999999999"));
    QCOMPARE(world->student->myParams[StRecord::HighestParam], QStringLiteral("19"));
    QCOMPARE(hi->currentText(), QStringLiteral("99999999999"));
    click(part<newCnvBtn>(w, QStringLiteral("multBtn")));
    click(wrongSquare(w));
    click(wrongSquare(w)); // the warning's restore is pending
    QVERIFY(part<QTimer>(w, QStringLiteral("restoreTimer"))->isActive());
    // Escape in an answer field during a round closes the window.
    fields(w)[0]->setFocus();
    QTest::keyClick(fields(w)[0], Qt::Key_Escape);
    QCOMPARE(world->student->saves, 1);
    QVERIFY(!world->student->timersRunningAtSave);
    settle();
    QVERIFY(!newMDScrn::exists());
    QCOMPARE(stParam()[StRecord::HighestParam], QStringLiteral("19"));
    QVERIFY(NameScrn::instance()->isVisible());
}

void TestNewMDScrn::bigBoardsLook() {
    world->student->myParams[StRecord::HighestParam] = QStringLiteral("19");
    newMDScrn* w = open();
    shoot(w, QStringLiteral("detective-start"));
    for (quint32 seed = 1; seed < 5000; ++seed) {
        App::myRnd().seed(seed);
        click(part<newCnvBtn>(w, QStringLiteral("factorBtn")));
        if (w->rules().count() == 12)
            break;
        while (!w->rules().roundDone())
            click(wrongSquare(w));
    }
    QCOMPARE(w->rules().count(), 12);
    for (mdAnsFld* f : fields(w))
        QVERIFY(f->isVisible());
    // Every square shows its number: a three-digit number fits the square.
    for (mdSquare* s : squares(w)) {
        QVERIFY(!s->accessibleName().isEmpty());
        QFont f = QGuiApplication::font();
        f.setPixelSize(18);
        f.setBold(true);
        QVERIFY(QFontMetrics(f).horizontalAdvance(s->accessibleName()) <= 46);
    }
    shoot(w, QStringLiteral("detective-hi19"));
    // Mid round at 10: a found answer, a used square, an unfinished entry, the warning.
    click(part<newCnvBtn>(w, QStringLiteral("closeBtn")));
    settle();
    world->student->myParams[StRecord::HighestParam] = QStringLiteral("10");
    w = open();
    factorsOn60(w);
    click(squareShowing(w, 30));
    click(wrongSquare(w));
    click(wrongSquare(w));
    fields(w)[2]->setFocus();
    QTest::keyClick(fields(w)[2], Qt::Key_1);
    shoot(w, QStringLiteral("detective-mid"));
}

void TestNewMDScrn::helpAndAFailedSave() {
    QList<int> topics;
    HelpLink::install([&](int topic, QWidget*) { topics << topic; });
    newMDScrn* w = open();
    QAction* help = w->menuBar()->item(QStringLiteral("HelpHelp"));
    QVERIFY(help && help->isEnabled());
    help->trigger();
    help->trigger();
    QCOMPARE(topics, (QList<int>{11, 11}));
    HelpLink::install(nullptr);

    // "abc" stores "4"; the save then fails: the record's own message, and back to the sign-in window.
    auto* hi = part<NumberCombo>(w, QStringLiteral("hiNumFld"));
    hi->lineEdit()->selectAll();
    QTest::keyClicks(hi->lineEdit(), QStringLiteral("abc"));
    QCOMPARE(world->student->myParams[StRecord::HighestParam], QStringLiteral("4"));
    DBCtrl::closeDB();
    click(part<newCnvBtn>(w, QStringLiteral("closeBtn")));
    settle();
    QCOMPARE(world->student->saves, 1);
    QVERIFY(!world->dialogs.shown.isEmpty());
    QVERIFY(!newMDScrn::exists());
    QVERIFY(NameScrn::exists());
    QVERIFY(DBCtrl::connectToDB(world->db.file()));
}

void TestNewMDScrn::focusRestsWhenNoFieldIsEmpty() {
    newMDScrn* w = open();
    QVERIFY(w->isActiveWindow());
    click(part<newCnvBtn>(w, QStringLiteral("multBtn")));
    const QList<mdAnsFld*> f = fields(w);
    const int n = w->rules().count();
    // Every field holds something: the one-digit answer found, the others an unfinished first digit.
    for (int k = 0; k < n; ++k) {
        const QString answer = QString::number(w->rules().fieldAnswer(k));
        if (answer.size() == 1)
            click(squareShowing(w, answer.toInt()));
        else
            f[k]->setEntry(answer.left(1));
    }
    QVERIFY(!w->rules().roundDone());
    // A filled field taking the focus keeps it: there is no empty field to pass it to.
    f[0]->setFocus();
    QVERIFY(f[0]->hasFocus());
    f[3]->setFocus();
    QVERIFY(f[3]->hasFocus());
    QTest::keyClick(f[3], Qt::Key_Tab);
    QVERIFY(f[4]->hasFocus());
    QVERIFY(!w->rules().roundDone());
    QCOMPARE(w->rules().missesLeft(), 3);
}

void TestNewMDScrn::aNewRoundDropsAPendingCongratulation() {
    newMDScrn* w = open();
    click(part<newCnvBtn>(w, QStringLiteral("multBtn")));
    for (int s = 0; s < 20; ++s)
        w->mdGameTimer_Action();
    for (int k = 0; k < w->rules().count(); ++k)
        click(squareShowing(w, w->rules().fieldAnswer(k)));
    QVERIFY(w->rules().roundDone());
    auto* message = part<QTimer>(w, QStringLiteral("dlyMsgBoxtimer"));
    QVERIFY(message->isActive());
    // The child starts the next round within the 400 ms: the congratulation would land on it, with
    // its clock running. The best stays stored and shown.
    click(part<newCnvBtn>(w, QStringLiteral("factorBtn")));
    QVERIFY(!w->rules().roundDone());
    QVERIFY(!message->isActive());
    QTest::qWait(500);
    QVERIFY(world->dialogs.shown.isEmpty());
    QCOMPARE(best(w), QStringLiteral("2.00"));
    QVERIFY(fields(w)[0]->hasFocus());
}

void TestNewMDScrn::squaresShowTheBackgroundInTheirCorners() {
    newMDScrn* w = open();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    // What the screen shows: the window's backing store, where a square repainted alone lands.
    QPaintDevice* device = w->backingStore()->paintDevice();
    QCOMPARE(device->devType(), int(QInternal::Image));
    const auto* screen = static_cast<const QImage*>(device);
    // The face's rounded corner, just inside the frame, against the background just outside it.
    const auto cornersShowTheBackground = [&](const QString& when) {
        for (mdSquare* s : squares(w)) {
            const QPoint at = s->mapTo(w, QPoint(0, 0));
            const QColor corner = screen->pixelColor(at + QPoint(1, 1));
            const QColor outside = screen->pixelColor(at - QPoint(1, 1));
            const int off = qAbs(corner.red() - outside.red()) + qAbs(corner.green() - outside.green()) +
                            qAbs(corner.blue() - outside.blue());
            if (off > 60)
                return QStringLiteral("%1: square %2 shows %3 in its corner over %4")
                    .arg(when)
                    .arg(s->index())
                    .arg(corner.name(), outside.name());
        }
        return QString();
    };
    QTRY_COMPARE(cornersShowTheBackground(QStringLiteral("first board")), QString());
    shoot(w, QStringLiteral("detective-first-board"));
    // A round lost, its clicked squares used (the yellow face), then the next round's plain faces.
    click(part<newCnvBtn>(w, QStringLiteral("multBtn")));
    QTRY_COMPARE(cornersShowTheBackground(QStringLiteral("first round")), QString());
    shoot(w, QStringLiteral("detective-first-round"));
    for (int m = 0; m < 3; ++m)
        click(wrongSquare(w));
    QVERIFY(w->rules().roundDone());
    QTest::qWait(20);
    shoot(w, QStringLiteral("detective-first-round-lost"));
    click(part<newCnvBtn>(w, QStringLiteral("factorBtn")));
    QTRY_COMPARE(cornersShowTheBackground(QStringLiteral("second board")), QString());
    shoot(w, QStringLiteral("detective-second-board"));
}

QTEST_MAIN(TestNewMDScrn)
#include "tst_newmdscrn.moc"
