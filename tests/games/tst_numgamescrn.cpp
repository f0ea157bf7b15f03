#include "app/helplink.h"
#include "app/media.h"
#include "app/menus.h"
#include "main/routes.h"
#include "app/sounds.h"
#include "controls/newcnvbtn.h"
#include "controls/ovrcheckbox.h"
#include "controls/picturecanvas.h"
#include "controls/printinglb.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/random.h"
#include "data/strecord.h"
#include "games/gamefixture.h"
#include "games/numbers/numgamescrn.h"
#include "settings/numbercombo.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

using GameTest::click;
using GameTest::part;
using GameTest::settle;
using GameTest::shoot;
using TrackingRecord = GameTest::TrackingRecord<numGameScrn>;

QString text(QWidget* w, const QString& name) {
    return part<QLabel>(w, name)->text();
}

QLabel* indexed(QWidget* w, const QString& name, int index) {
    return GameTest::indexed<QLabel>(w, name, index);
}

// The tiles on the board, by index.
QList<numGameTile*> board(QWidget* w) {
    QList<numGameTile*> tiles;
    for (numGameTile* t : w->findChildren<numGameTile*>(QStringLiteral("myCnv"))) {
        if (t->isVisibleTo(w))
            tiles << t;
    }
    std::sort(tiles.begin(), tiles.end(), [](auto* a, auto* b) { return a->index() < b->index(); });
    return tiles;
}

QList<int> numbers(QWidget* w) {
    QList<int> n;
    for (numGameTile* t : board(w))
        n << (t->accessibleName().isEmpty() ? -1 : t->accessibleName().toInt());
    return n;
}

QTimer* checkTimer(QWidget* w) {
    return part<QTimer>(w, QStringLiteral("myAnsTimer"));
}

QTimer* clock(QWidget* w) {
    return part<QTimer>(w, QStringLiteral("gameTimer"));
}

// A pair of tiles that answers the problem on the screen; `right` false gives a wrong pair.
std::pair<int, int> pairFor(numGameScrn* w, bool right) {
    const QString sign = text(w, QStringLiteral("funcFld"));
    const int func = sign == QLatin1String("-")   ? NumGameRules::Minus
                     : sign == QLatin1String("X") ? NumGameRules::Times
                                                  : NumGameRules::Plus;
    const int answer = text(w, QStringLiteral("ansFld")).toInt();
    const QList<int> n = numbers(w);
    for (int a = 0; a < n.size(); ++a) {
        for (int b = 0; b < n.size(); ++b) {
            if (a == b || n[a] < 0 || n[b] < 0)
                continue;
            if ((NumGameRules::combine(func, n[a], n[b]) == answer) == right)
                return {a, b};
        }
    }
    return {-1, -1};
}

// Clicks a pair and lets the check run, as 500 ms after the second pick.
void playPair(numGameScrn* w, std::pair<int, int> pair) {
    QVERIFY(pair.first >= 0);
    const QList<numGameTile*> tiles = board(w);
    click(tiles[pair.first]);
    click(tiles[pair.second]);
    QVERIFY(checkTimer(w)->isActive());
    QCOMPARE(checkTimer(w)->interval(), 500);
    w->myAnsTimer_Action();
}

// The tile as it should look: the face (black when picked) and its number.
QImage expectedFace(const numGameTile* tile, bool picked, int number) {
    QImage image(tile->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    numGameTile::paintFace(p, tile->size(), picked, number, tile->index() != 0);
    p.end();
    return image;
}

bool looks(numGameTile* tile, bool picked, int number) {
    return tile->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
           expectedFace(tile, picked, number);
}

} // namespace

class TestNumGameScrn : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void opensWithTheStudentsRecord_data();
    void opensWithTheStudentsRecord();
    void highestNumberIsClampedAndSavedAtClose_data();
    void highestNumberIsClampedAndSavedAtClose();
    void totalProblemsSetsTheBoard_data();
    void totalProblemsSetsTheBoard();
    void wholeGameThroughTheSignInWindow();
    void picksLookPickedAndAThirdClickReplacesTheSecond();
    void theBoardStaysWhileAGameRuns();
    void closingStopsEverything();
    void helpAndActivation();

private:
    std::unique_ptr<GameTest::TrackedWorld<numGameScrn>> world;

    numGameScrn* open();
    QStringList zeriGames() const { return world->stored(QStringLiteral("zeriGames")); }
    QStringList stParam() const { return world->stored(QStringLiteral("stParam")); }
};

void TestNumGameScrn::init() {
    world = std::make_unique<GameTest::TrackedWorld<numGameScrn>>(11);
}

void TestNumGameScrn::cleanup() {
    world.reset();
}

numGameScrn* TestNumGameScrn::open() {
    numGameScrn* w = numGameScrn::instance();
    w->show();
    // The test ticks the clock itself.
    clock(w)->setInterval(3600 * 1000);
    return w;
}

void TestNumGameScrn::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::newRow("instructions") << "InstrFld" << QRect(100, 2, 348, 40);
    QTest::newRow("star") << "Star" << QRect(582, 10, 32, 32);
    QTest::newRow("bar") << "scrTherm" << QRect(584, 44, 32, 320);
    QTest::newRow("count") << "ctFld" << QRect(580, 376, 40, 20);
    QTest::newRow("problem caption") << "StaticText17" << QRect(143, 467, 100, 20);
    QTest::newRow("problem frame") << "ImageWell2" << QRect(140, 491, 276, 38);
    QTest::newRow("sign") << "funcFld" << QRect(198, 499, 34, 20);
    QTest::newRow("equals") << "funcFld1" << QRect(290, 499, 34, 20);
    QTest::newRow("answer") << "ansFld" << QRect(336, 499, 72, 22);
    QTest::newRow("time caption") << "StaticText16" << QRect(130, 548, 166, 20);
    QTest::newRow("time") << "timeFld" << QRect(309, 548, 63, 32);
    QTest::newRow("seconds") << "StaticText1" << QRect(379, 548, 100, 20);
    QTest::newRow("panel") << "CtrlPCnv" << QRect(639, 0, 232, 480);
    QTest::newRow("player heading") << "showTxt1" << QRect(655, 49, 200, 16);
    QTest::newRow("best heading") << "showTxt2" << QRect(655, 107, 200, 16);
    QTest::newRow("negatives") << "allowNegBox" << QRect(655, 180, 200, 24);
    QTest::newRow("highest caption") << "StaticText11" << QRect(655, 225, 115, 16);
    QTest::newRow("highest") << "hiNumFld" << QRect(782, 223, 80, 22);
    QTest::newRow("total caption") << "StaticText7" << QRect(656, 259, 115, 16);
    QTest::newRow("total") << "totFld" << QRect(783, 257, 80, 20);
    QTest::newRow("group") << "GroupBox1" << QRect(655, 303, 200, 154);
    QTest::newRow("action caption") << "StaticText18" << QRect(662, 312, 100, 20);
    QTest::newRow("start") << "ActionBtn" << QRect(677, 350, 160, 32);
    QTest::newRow("close") << "closeBtn" << QRect(677, 400, 160, 32);
    QTest::newRow("focus keeper") << "stlFocus" << QRect(883, 487, 80, 22);
}

void TestNumGameScrn::layout() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    numGameScrn* w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Numbers Game"));
    QCOMPARE(w->content()->size(), QSize(882, 600));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QWidget* c = part(w, name);
    QCOMPARE(QRect(c->mapTo(w->content(), QPoint(0, 0)), c->size()), place);

    QCOMPARE(text(w, QStringLiteral("showTxt1")), QStringLiteral("-- Current Player --"));
    QCOMPARE(text(w, QStringLiteral("StaticText16")), QStringLiteral("Your average solve time:"));
    QCOMPARE(text(w, QStringLiteral("StaticText1")), QStringLiteral("seconds"));
    QCOMPARE(part<newCnvBtn>(w, QStringLiteral("ActionBtn"))->myCaption(), QStringLiteral("Start Game"));
    QCOMPARE(part<newCnvBtn>(w, QStringLiteral("ActionBtn"))->kind(), 1);
    QCOMPARE(part<newCnvBtn>(w, QStringLiteral("closeBtn"))->myCaption(), QStringLiteral("Close Game"));
    QCOMPARE(part<newCnvBtn>(w, QStringLiteral("closeBtn"))->kind(), 4);
    QCOMPARE(part<ovrCheckBox>(w, QStringLiteral("allowNegBox"))->myText(),
             QStringLiteral("Allow Negative Numbers"));
    auto* totals = part<QComboBox>(w, QStringLiteral("totFld"));
    QCOMPARE(totals->count(), 3);
    QCOMPARE(totals->itemText(0) + totals->itemText(1) + totals->itemText(2), QStringLiteral("32188"));
    auto* highest = part<NumberCombo>(w, QStringLiteral("hiNumFld"));
    QCOMPARE(highest->count(), 16);
    QCOMPARE(highest->itemText(0), QStringLiteral("4"));
    QCOMPARE(highest->itemText(15), QStringLiteral("19"));
}

void TestNumGameScrn::opensWithTheStudentsRecord_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("storedHighest");
    QTest::addColumn<QString>("negatives");
    QTest::addColumn<QString>("best");
    QTest::addColumn<int>("highest");
    QTest::addColumn<QString>("heading");
    QTest::newRow("two words") << "Ann Lee"
                               << "12"
                               << "1"
                               << "3.5" << 12 << "Ann's Best Avg. Time.";
    QTest::newRow("one word, never played") << "Pip"
                                            << "10"
                                            << "0"
                                            << "99.99" << 10 << "Pip's Best Avg. Time.";
    QTest::newRow("a stored 0 is held at 4") << "Ann Lee"
                                             << "0"
                                             << "0"
                                             << "99.99" << 4 << "Ann's Best Avg. Time.";
    QTest::newRow("a stored 25 is held at 19") << "Ann Lee"
                                               << "25"
                                               << "0"
                                               << "99.99" << 19 << "Ann's Best Avg. Time.";
    QTest::newRow("no number") << "Ann Lee"
                               << "x"
                               << "0"
                               << "abc" << 4 << "Ann's Best Avg. Time.";
}

void TestNumGameScrn::opensWithTheStudentsRecord() {
    QFETCH(QString, name);
    QFETCH(QString, storedHighest);
    QFETCH(QString, negatives);
    QFETCH(QString, best);
    QFETCH(int, highest);
    QFETCH(QString, heading);
    world->student->curStudent = name;
    world->student->myParams[StRecord::HighestParam] = storedHighest;
    world->student->myParams[StRecord::NegativesParam] = negatives;
    world->student->myZeriScrs[0] = best;
    world->student->rejoinData();
    world->student->saves = 0;
    const QString rowBefore = stParam().join(',') + zeriGames().join(',');

    numGameScrn* w = open();
    QCOMPARE(indexed(w, QStringLiteral("InfoTxt"), 0)->text(), name);
    QCOMPARE(indexed(w, QStringLiteral("InfoTxt"), 1)->text(), best);
    QCOMPARE(text(w, QStringLiteral("showTxt2")), heading);
    QCOMPARE(part<NumberCombo>(w, QStringLiteral("hiNumFld"))->currentText(), QString::number(highest));
    QCOMPARE(part<ovrCheckBox>(w, QStringLiteral("allowNegBox"))->value(), negatives == QLatin1String("1"));
    const QList<int> n = numbers(w);
    QCOMPARE(n.size(), 64);
    for (const int v : n)
        QVERIFY(v >= 1 && v <= highest);
    QVERIFY(*std::max_element(n.begin(), n.end()) > 1);

    // Leaving untouched writes nothing, though opening wrote the combo's text.
    click(part<newCnvBtn>(w, QStringLiteral("closeBtn")));
    settle();
    QVERIFY(!numGameScrn::exists());
    QCOMPARE(world->student->saves, 0);
    QCOMPARE(stParam().join(',') + zeriGames().join(','), rowBefore);
    QVERIFY(NameScrn::instance()->isVisible());
}

void TestNumGameScrn::highestNumberIsClampedAndSavedAtClose_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("in range") << "15"
                              << "15";
    QTest::newRow("too high") << "25"
                              << "19";
    QTest::newRow("too low") << "2"
                             << "4";
    QTest::newRow("no number") << "x"
                               << "4";
}

void TestNumGameScrn::highestNumberIsClampedAndSavedAtClose() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    numGameScrn* w = open();
    auto* highest = part<NumberCombo>(w, QStringLiteral("hiNumFld"));
    const QList<int> before = numbers(w);
    highest->lineEdit()->selectAll();
    QTest::keyClicks(highest->lineEdit(), typed);
    QCOMPARE(highest->currentText(), typed); // the box keeps what was typed
    QCOMPARE(world->student->myParams[StRecord::HighestParam], stored);
    QCOMPARE(numbers(w), before); // the board waits for the next Start

    click(part<newCnvBtn>(w, QStringLiteral("ActionBtn")));
    for (const int v : numbers(w))
        QVERIFY(v >= 1 && v <= stored.toInt());
    w->FileClose();
    settle();
    QVERIFY(!numGameScrn::exists());
    QCOMPARE(world->student->saves, 1);
    QVERIFY(!world->student->timersRunningAtSave);
    QCOMPARE(stParam()[StRecord::HighestParam], stored);
}

void TestNumGameScrn::totalProblemsSetsTheBoard_data() {
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("tiles");
    QTest::addColumn<QPoint>("origin");
    QTest::newRow("32") << 0 << 64 << QPoint(92, 60);
    QTest::newRow("18") << 1 << 36 << QPoint(142, 110);
    QTest::newRow("8") << 2 << 16 << QPoint(192, 160);
}

void TestNumGameScrn::totalProblemsSetsTheBoard() {
    QFETCH(int, choice);
    QFETCH(int, tiles);
    QFETCH(QPoint, origin);
    numGameScrn* w = open();
    const QList<int> opening = numbers(w);
    part<QComboBox>(w, QStringLiteral("totFld"))->setCurrentIndex(choice);
    const QList<numGameTile*> b = board(w);
    QCOMPARE(b.size(), tiles);
    const int n = static_cast<int>(std::lround(std::sqrt(tiles)));
    for (int i = 0; i < tiles; ++i)
        QCOMPARE(b[i]->geometry(), QRect(origin + QPoint(50 * (i % n), 50 * (i / n)), QSize(48, 48)));
    // The numbers drawn at opening stay: a smaller board shows the first of them.
    QCOMPARE(numbers(w), opening.mid(0, tiles));
    shoot(w, QStringLiteral("numbers-board-%1").arg(tiles));

    // Starting plays that many problems.
    click(part<newCnvBtn>(w, QStringLiteral("ActionBtn")));
    QCOMPARE(w->rules().problems(), tiles / 2);
}

void TestNumGameScrn::wholeGameThroughTheSignInWindow() {
    myGlobals::gCurPlayer.reset();
    Routes::install();
    auto* signIn = NameScrn::instance();
    signIn->show();
    // One visit: signs Ann in, plays 8 problems in `seconds` seconds through the tiles, with a click
    // before Start, one wrong pair and one refused click; returns the window at the game's end.
    const auto play = [&](int seconds) -> numGameScrn* {
        if (!GameTest::chooseStudent(QStringLiteral("Room 5"), QStringLiteral("Ann Lee")) ||
            !GameTest::pressGameButton(0) || !numGameScrn::exists() || NameScrn::exists())
            return nullptr;
        numGameScrn* w = numGameScrn::instance();
        clock(w)->setInterval(3600 * 1000);
        part<QComboBox>(w, QStringLiteral("totFld"))->setCurrentIndex(2); // 8 problems
        world->feedback.sounds.clear();
        world->feedback.beeps = 0;
        world->dialogs.clear();

        // Before Start the board takes no picks and says nothing.
        click(board(w)[0]);
        if (!world->feedback.sounds.isEmpty() || world->feedback.beeps != 0)
            return nullptr;
        click(part<newCnvBtn>(w, QStringLiteral("ActionBtn")));
        if (part<newCnvBtn>(w, QStringLiteral("ActionBtn"))->isVisible() || !clock(w)->isActive())
            return nullptr;
        for (int s = 0; s < seconds; ++s)
            w->gameTimer_Action();

        // One wrong pair: the wrong sound, the same problem.
        const QString answer = text(w, QStringLiteral("ansFld"));
        playPair(w, pairFor(w, false));
        if (GameTest::lastSound(world->feedback.sounds) != QLatin1String("wrong1") ||
            text(w, QStringLiteral("ansFld")) != answer)
            return nullptr;
        for (int problem = 1; problem <= 8; ++problem) {
            if (text(w, QStringLiteral("ctFld")) != QStringLiteral("#%1").arg(problem))
                return nullptr;
            const auto right = pairFor(w, true);
            if (problem == 2) {
                // A refused click: the first tile again beeps and changes nothing.
                click(board(w)[right.first]);
                click(board(w)[right.first]);
                if (world->feedback.beeps != 1 || checkTimer(w)->isActive())
                    return nullptr;
                click(board(w)[right.second]);
                w->myAnsTimer_Action();
            } else {
                playPair(w, right);
            }
        }
        return w;
    };

    // A first game of 12 seconds for 8 problems: 1.50, an improvement on "99.99".
    numGameScrn* w = play(12);
    QVERIFY(w);
    QCOMPARE(w->rules().solved(), 8);
    QCOMPARE(text(w, QStringLiteral("timeFld")), QStringLiteral("1.50"));
    QCOMPARE(text(w, QStringLiteral("ctFld")), QStringLiteral("#8"));
    QVERIFY(!clock(w)->isActive());
    QCOMPARE(world->feedback.sounds.count(QStringLiteral("right1")), 7); // none for the last pair
    QCOMPARE(GameTest::lastSound(world->feedback.sounds), QStringLiteral("round1"));
    QCOMPARE(world->dialogs.messages(),
             QStringList{"Congratulations, Ann!\nYou have improved your average time per problem."});
    QCOMPARE(world->dialogs.shown.last().explanation, QStringLiteral("Try to beat this score next time."));
    QVERIFY(!world->dialogs.shown.last().isCaution);
    QCOMPARE(text(w, QStringLiteral("InstrFld")),
             QStringLiteral("Congratulations! Click <Start Game> to play again or <Close Game> to leave."));
    QCOMPARE(indexed(w, QStringLiteral("InfoTxt"), 1)->text(), QStringLiteral("1.5"));
    QVERIFY(part<newCnvBtn>(w, QStringLiteral("ActionBtn"))->isVisible());
    QVERIFY(part<QComboBox>(w, QStringLiteral("totFld"))->isEnabled());
    for (numGameTile* t : board(w))
        QVERIFY(looks(t, false, NumGameRules::kUsed));
    auto* star = part<PictureCanvas>(w, QStringLiteral("Star"));
    QCOMPARE(star->grab().toImage().convertToFormat(QImage::Format_RGB32),
             Pictures::smallstar().toImage().convertToFormat(QImage::Format_RGB32));
    shoot(w, QStringLiteral("numbers-end"));
    // After the game the board ignores clicks.
    world->feedback.sounds.clear();
    click(board(w)[3]);
    QVERIFY(world->feedback.sounds.isEmpty());
    QCOMPARE(world->feedback.beeps, 1);
    click(part<newCnvBtn>(w, QStringLiteral("closeBtn")));
    settle();
    QVERIFY(!numGameScrn::exists());
    QCOMPARE(zeriGames()[0], QStringLiteral("1.5"));
    QVERIFY(NameScrn::instance()->isVisible());
    QCOMPARE(myGlobals::gCurPlayer->curStudent, QStringLiteral("Ann Lee"));

    // A slower game (2.50) leaves the best.
    const QString rowBefore = world->db.dataColumn(world->id, QStringLiteral("zeriGames"));
    w = play(20);
    QVERIFY(w);
    QCOMPARE(world->dialogs.messages(),
             QStringList{"Sorry, Ann\nYour average time was 2.50 which did not improve your score."});
    QCOMPARE(world->dialogs.shown.last().explanation, QStringLiteral("You can try again at any time."));
    QCOMPARE(indexed(w, QStringLiteral("InfoTxt"), 1)->text(), QStringLiteral("1.5"));
    click(part<newCnvBtn>(w, QStringLiteral("closeBtn")));
    settle();
    QCOMPARE(world->db.dataColumn(world->id, QStringLiteral("zeriGames")), rowBefore);
    QCOMPARE(myGlobals::gCurPlayer->myZeriScrs[0], QStringLiteral("1.5"));
}

void TestNumGameScrn::picksLookPickedAndAThirdClickReplacesTheSecond() {
    numGameScrn* w = open();
    click(part<newCnvBtn>(w, QStringLiteral("ActionBtn")));
    QVERIFY(!part<newCnvBtn>(w, QStringLiteral("ActionBtn"))->isVisible());
    QVERIFY(part<QLineEdit>(w, QStringLiteral("stlFocus"))->hasFocus() || !w->isActiveWindow());
    const QList<numGameTile*> b = board(w);
    const QList<int> n = numbers(w);
    // Three tiles that make no right pair with tile 0 as the first pick, when the board has them.
    const auto wrong = pairFor(w, false);
    QVERIFY(wrong.first >= 0);
    const int first = wrong.first;
    const int second = wrong.second;
    int third = -1;
    for (int t = 0; t < n.size() && third < 0; ++t) {
        if (t != first && t != second)
            third = t;
    }
    world->feedback.sounds.clear();
    click(b[first]);
    QCOMPARE(world->feedback.sounds, QStringList{QStringLiteral("blip")});
    QCOMPARE(indexed(w, QStringLiteral("probFld"), 0)->text(), QString::number(n[first]));
    QVERIFY(looks(b[first], true, n[first]));
    // Only the picked tile looks picked: the others stay readable.
    QVERIFY(looks(b[second], false, n[second]));
    click(b[second]);
    QCOMPARE(world->feedback.sounds, (QStringList{"blip", "blip"}));
    QVERIFY(looks(b[second], true, n[second]));
    shoot(w, QStringLiteral("numbers-picked"));
    click(b[third]);
    QCOMPARE(indexed(w, QStringLiteral("probFld"), 1)->text(), QString::number(n[third]));
    QVERIFY(looks(b[second], false, n[second]));
    QVERIFY(looks(b[third], true, n[third]));
    QCOMPARE(w->rules().secondPick(), third);
    w->myAnsTimer_Action();
    QCOMPARE(GameTest::lastSound(world->feedback.sounds), QStringLiteral("wrong1"));
    QVERIFY(looks(b[first], false, w->rules().numberAt(first)));
    QVERIFY(looks(b[third], false, w->rules().numberAt(third)));
    QVERIFY(indexed(w, QStringLiteral("probFld"), 0)->text().isEmpty());
    QVERIFY(indexed(w, QStringLiteral("probFld"), 1)->text().isEmpty());
}

void TestNumGameScrn::theBoardStaysWhileAGameRuns() {
    numGameScrn* w = open();
    auto* totals = part<QComboBox>(w, QStringLiteral("totFld"));
    totals->setCurrentIndex(2);
    part<NumberCombo>(w, QStringLiteral("hiNumFld"))->setCurrentIndex(5); // 9: new numbers at Start
    click(part<newCnvBtn>(w, QStringLiteral("ActionBtn")));
    QVERIFY(!totals->isEnabled());
    QCOMPARE(board(w).size(), 16);
    QCOMPARE(int(w->rules().numbers().size()), 16);
    for (int p = 0; p < 8; ++p)
        playPair(w, pairFor(w, true));
    QVERIFY(totals->isEnabled());
    // A bigger board after a game shows faces without numbers until Start draws new ones.
    totals->setCurrentIndex(0);
    QCOMPARE(board(w).size(), 64);
    for (const int v : numbers(w))
        QCOMPARE(v, -1);
    click(part<newCnvBtn>(w, QStringLiteral("ActionBtn")));
    for (const int v : numbers(w))
        QVERIFY(v >= 1);
    QCOMPARE(w->rules().problems(), 32);
}

void TestNumGameScrn::closingStopsEverything() {
    numGameScrn* w = open();
    clock(w)->setInterval(10);
    auto* highest = part<NumberCombo>(w, QStringLiteral("hiNumFld"));
    highest->setCurrentIndex(11); // "15"
    click(part<newCnvBtn>(w, QStringLiteral("ActionBtn")));
    const auto pair = pairFor(w, true);
    click(board(w)[pair.first]);
    click(board(w)[pair.second]);
    QVERIFY(checkTimer(w)->isActive());
    world->feedback.sounds.clear();
    // The close box during a pending check: the save runs with every timer stopped, and nothing
    // fires, sounds or asks afterwards.
    w->close();
    QCOMPARE(world->student->saves, 1);
    QVERIFY(!world->student->timersRunningAtSave);
    QCOMPARE(stParam()[StRecord::HighestParam], QStringLiteral("15"));
    QTest::qWait(700);
    QVERIFY(world->feedback.sounds.isEmpty());
    QVERIFY(world->dialogs.shown.isEmpty());
    QVERIFY(NameScrn::instance()->isVisible());
}

void TestNumGameScrn::helpAndActivation() {
    QList<int> topics;
    HelpLink::install([&](int topic, QWidget*) { topics << topic; });
    numGameScrn* w = open();
    QAction* help = w->menuBar()->item(QStringLiteral("HelpHelp"));
    QVERIFY(help && help->isEnabled());
    help->trigger();
    QCOMPARE(topics, QList<int>{10});
    HelpLink::install(nullptr);

    const QString opening =
        QStringLiteral("1) Select the number of problems.\n2) Click <Start Game> to begin");
    QCOMPARE(text(w, QStringLiteral("InstrFld")), opening);
    click(part<newCnvBtn>(w, QStringLiteral("ActionBtn")));
    QCOMPARE(text(w, QStringLiteral("InstrFld")),
             QStringLiteral("Click 2 numbers to complete the Math problem."));
    QCOMPARE(text(w, QStringLiteral("funcFld1")), QStringLiteral("="));
    QCOMPARE(text(w, QStringLiteral("ctFld")), QStringLiteral("#1"));
    // Any activation, also during a game, puts the opening lines back.
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTRY_COMPARE(text(w, QStringLiteral("InstrFld")), opening);
}

QTEST_MAIN(TestNumGameScrn)
#include "tst_numgamescrn.moc"
