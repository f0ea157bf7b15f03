#include "app/helplink.h"
#include "app/menus.h"
#include "app/picts.h"
#include "controls/anstimer.h"
#include "controls/mysqrbtn.h"
#include "controls/newcnvbtn.h"
#include "data/dbctrl.h"
#include "data/gamebests.h"
#include "data/globals.h"
#include "data/random.h"
#include "data/strecord.h"
#include "gamefixture.h"
#include "games/common/answerfield.h"
#include "games/mindgames/mindgamesscrn.h"
#include "settings/numbercombo.h"
#include "support/doubles.h"
#include "support/lookcheck.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

namespace {

MindGamesScrn* game() {
    return MindGamesScrn::exists() ? MindGamesScrn::instance() : nullptr;
}

template <typename T = QWidget> T* ctl(const QString& name, int index = -1) {
    QWidget* w = MindGamesScrn::instance();
    return index >= 0 ? GameTest::indexed<T>(w, name, index, "Index") : GameTest::part<T>(w, name);
}

void click(const QString& button) {
    QTest::mouseClick(ctl<newCnvBtn>(button), Qt::LeftButton, {}, QPoint(10, 10));
}

QString text(const QString& name) {
    return ctl<QLabel>(name)->text();
}

QString sign(const QString& name) {
    return name == QLatin1String("plus") ? "+" : name == QLatin1String("minus") ? "-" : "*";
}

// Works a row out from the board as the student sees it: the tiles, the signs between them, and
// where its brackets stand, with ordinary arithmetic.
long long rowFromBoard(int row) {
    const auto n = [row](int i) {
        return ctl(QStringLiteral("mgNum"), row * 3 + i)->accessibleName().toLongLong();
    };
    const auto f = [row](int i) {
        return sign(ctl(QStringLiteral("mgFunc"), row * 2 + i)->accessibleName());
    };
    const auto op = [](long long a, const QString& s, long long b) {
        return s == "+" ? a + b : s == "-" ? a - b : a * b;
    };
    const bool firstPair = ctl(QStringLiteral("paren"), row * 2)->x() == 14;
    return firstPair ? op(op(n(0), f(0), n(1)), f(1), n(2)) : op(n(0), f(0), op(n(1), f(1), n(2)));
}

long long answerFromBoard() {
    const QString joining = sign(ctl(QStringLiteral("mgFunc"), 4)->accessibleName());
    const long long x = rowFromBoard(0), y = rowFromBoard(1);
    return joining == "+" ? x + y : joining == "-" ? x - y : x * y;
}

// Types an answer and lets its check run.
void type(long long answer) {
    QTest::keyClicks(ctl(QStringLiteral("AnsFld")), QString::number(answer));
    auto* check = ctl<AnsTimer>(QStringLiteral("myAnsTimer"));
    QVERIFY(check->isActive());
    QCOMPARE(check->interval(), 500);
    // The check runs now rather than half a second later, so that the clock moves only by tick().
    check->stop();
    game()->myAnsTimer_Action();
}

void tick(int times) {
    for (int i = 0; i < times; ++i)
        game()->gametimer_Action();
}

} // namespace

class TestMindGamesScrn : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layoutInWindowCoordinates_data();
    void layoutInWindowCoordinates();
    void bracketsShowWholeAtTheirSize();
    void openingTakesTheStudentsSettings_data();
    void openingTakesTheStudentsSettings();
    void difficultyBoxHoldsItsChoiceToThisVisit_data();
    void difficultyBoxHoldsItsChoiceToThisVisit();
    void problemsFollowTheBoard();
    void aCountedGameIsStoredAndASlowerOneIsNot();
    void digitsCountOnlyWhileAProblemIsAsked();
    void tabBeepsAndTheAnswerStillLands();
    void timeBelowZeroShowsAndStoresNoBest();
    void passShowsTheAnswerThenChargesThirtySeconds();
    void shortGameAsksToGoOn();
    void endOfGameCancelsAWaitingCheck();
    void closingMidGameScoresNothing();
    void helpKeepsTheClockRunning();
    void tilesAreFramedAndBlankOutsideAGame();

private:
    TestDoubles::ScriptedDialogs dialogs;
    TestDoubles::RecordingFeedback feedback;
    std::unique_ptr<GameTest::Student> student;
};

void TestMindGamesScrn::initTestCase() {
    myPicts::loadPics();
}

void TestMindGamesScrn::init() {
    GameTest::soundsOn();
    dialogs.clear();
    feedback.beeps = 0;
    feedback.sounds.clear();
    App::myRnd().seed(2027);
}

void TestMindGamesScrn::cleanup() {
    if (MindGamesScrn::exists())
        MindGamesScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    student.reset();
    HelpLink::install({});
}

void TestMindGamesScrn::layoutInWindowCoordinates_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("timeBkgCnv") << "timeBkgCnv" << -1 << "CustomBlueBkg" << QRect(124, 420, 290, 84);
    QTest::newRow("StaticText15") << "StaticText15" << -1 << "timeBkgCnv" << QRect(127, 433, 180, 20);
    QTest::newRow("timeFld") << "timeFld" << -1 << "timeBkgCnv" << QRect(309, 430, 66, 26);
    QTest::newRow("timeFld1") << "timeFld1" << -1 << "timeBkgCnv" << QRect(309, 468, 66, 26);
    QTest::newRow("StaticText9") << "StaticText9" << -1 << "timeBkgCnv" << QRect(382, 472, 32, 20);
    QTest::newRow("bkgCnv") << "bkgCnv" << -1 << "CustomBlueBkg" << QRect(568, 0, 232, 520);
    QTest::newRow("InfoTxt 1") << "InfoTxt" << 1 << "bkgCnv" << QRect(592, 138, 189, 20);
    QTest::newRow("showTxt2") << "showTxt2" << -1 << "bkgCnv" << QRect(588, 112, 189, 16);
    QTest::newRow("StartBtn") << "StartBtn" << -1 << "GroupBox1" << QRect(606, 386, 160, 32);
    QTest::newRow("CloseBtn") << "CloseBtn" << -1 << "GroupBox1" << QRect(606, 440, 160, 32);
    QTest::newRow("diffFld") << "diffFld" << -1 << "bkgCnv" << QRect(698, 170, 68, 22);
    QTest::newRow("RightFld") << "RightFld" << -1 << "bkgCnv" << QRect(706, 258, 60, 22);
    QTest::newRow("StaticText6") << "StaticText6" << -1 << "bkgCnv" << QRect(634, 296, 60, 20);
    QTest::newRow("WrongFld") << "WrongFld" << -1 << "bkgCnv" << QRect(706, 296, 60, 22);
    QTest::newRow("passBtn") << "passBtn" << -1 << "bkgCnv" << QRect(608, 211, 152, 22);
    QTest::newRow("StaticText14") << "StaticText14" << -1 << "bkgCnv" << QRect(608, 233, 152, 14);
    QTest::newRow("result1 1") << "result1" << 1 << "CustomBlueBkg" << QRect(470, 232, 64, 60);
    QTest::newRow("mgNum 2") << "mgNum" << 2 << "CustomBlueBkg" << QRect(330, 132, 60, 60);
    QTest::newRow("mgNum 3") << "mgNum" << 3 << "CustomBlueBkg" << QRect(30, 232, 60, 60);
    QTest::newRow("mgFunc 2") << "mgFunc" << 2 << "CustomBlueBkg" << QRect(111, 239, 48, 48);
    QTest::newRow("mgFunc 4") << "mgFunc" << 4 << "CustomBlueBkg" << QRect(426, 188, 48, 48);
    QTest::newRow("InstrFld") << "InstrFld" << -1 << "CustomBlueBkg" << QRect(30, 8, 488, 78);
    QTest::newRow("ctProbsFld") << "ctProbsFld" << -1 << "CustomBlueBkg" << QRect(214, 100, 120, 20);
    QTest::newRow("StaticText17") << "StaticText17" << -1 << "CustomBlueBkg" << QRect(422, 246, 36, 29);
    QTest::newRow("promptTxt") << "promptTxt" << -1 << "CustomBlueBkg" << QRect(124, 348, 283, 20);
    QTest::newRow("AnsFld") << "AnsFld" << -1 << "CustomBlueBkg" << QRect(418, 332, 120, 54);
}

void TestMindGamesScrn::layoutInWindowCoordinates() {
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QString, parent);
    QFETCH(QRect, rect);
    student = std::make_unique<GameTest::Student>(QStringLiteral("Ann Lee"));
    dialogs.clear();
    MindGamesScrn* w = MindGamesScrn::instance();
    w->show();
    QCOMPARE(w->windowTitle(), QStringLiteral("Zezu Zize Duzaz"));
    QCOMPARE(w->content()->size(), QSize(800, 580));
    QWidget* c = ctl(name, index);
    QCOMPARE(c->parentWidget()->objectName(), parent);
    QCOMPARE(QRect(c->mapTo(w->content(), QPoint(0, 0)), c->size()), rect);
    QVERIFY(c->isVisibleTo(w));
    QCOMPARE(w->findChildren<mySqrBtn*>(QStringLiteral("mgNum")).size(), 6);
    QCOMPARE(w->findChildren<QWidget*>(QStringLiteral("mgFunc")).size(), 5);
    QCOMPARE(w->findChildren<QLabel*>(QStringLiteral("paren")).size(), 4);
    // Only the three fields and the box take the keyboard.
    QStringList focusable;
    for (QWidget* x : w->content()->findChildren<QWidget*>()) {
        if (x->focusPolicy() != Qt::NoFocus && !x->objectName().isEmpty() &&
            x->objectName() != "qt_spinbox_lineedit")
            focusable << x->objectName();
    }
    focusable.sort();
    focusable.removeDuplicates();
    QVERIFY2(focusable.size() <= 5, qPrintable(focusable.join(',')));
    for (const char* n : {"AnsFld", "RightFld", "WrongFld", "diffFld"})
        QVERIFY(focusable.contains(QLatin1String(n)));
    QVERIFY(!ctl(QStringLiteral("passBtn"))->isEnabled());
    QVERIFY(!ctl<QTimer>(QStringLiteral("gametimer"))->isActive());
    QVERIFY(!ctl<QTimer>(QStringLiteral("myAnsTimer"))->isActive());
}

void TestMindGamesScrn::bracketsShowWholeAtTheirSize() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Ann Lee"));
    dialogs.clear();
    MindGamesScrn* w = MindGamesScrn::instance();
    w->show();
    // Laid out at (14, 128), (243, 126), (14, 228) and (243, 228), 64 high: at least the 16 pixels of
    // the layout wide, as wide as the sign needs at its size of 48.
    const QPoint laidOut[] = {{14, 128}, {243, 126}, {14, 228}, {243, 228}};
    const auto check = [&](const QString& when) {
        for (int i = 0; i < 4; ++i) {
            auto* p = ctl<QLabel>(QStringLiteral("paren"), i);
            const QString where = when + QStringLiteral(" paren %1").arg(i);
            QVERIFY2(p->font().pixelSize() == 48, qPrintable(where));
            QVERIFY2(p->height() == 64 && p->width() >= 16, qPrintable(where));
            QVERIFY2(p->y() == laidOut[i].y(), qPrintable(where));
            QVERIFY2(Look::neededFor(p).width() <= p->width(), qPrintable(where));
            const QFontMetrics m(p->font());
            QVERIFY2(m.boundingRect(p->text()).right() < p->width(), qPrintable(where));
        }
    };
    check(QStringLiteral("opening"));
    for (int i = 0; i < 4; ++i)
        QCOMPARE(ctl(QStringLiteral("paren"), i)->pos(), laidOut[i]);
    // Moved around the other pair by a problem, they keep their size.
    click(QStringLiteral("StartBtn"));
    for (int problem = 0; problem < 8; ++problem) {
        check(QStringLiteral("problem %1").arg(problem));
        type(answerFromBoard());
    }
}

void TestMindGamesScrn::openingTakesTheStudentsSettings_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("hiNum");
    QTest::addColumn<QString>("negatives");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("plays");
    QTest::newRow("10") << "Ann Lee"
                        << "10"
                        << "0"
                        << "3" << 9;
    QTest::newRow("19") << "Bo"
                        << "19"
                        << "1"
                        << "4" << 12;
    QTest::newRow("4") << "Bo"
                       << "4"
                       << "0"
                       << "1" << 3;
    QTest::newRow("5") << "Bo"
                       << "5"
                       << "0"
                       << "1" << 3;
    QTest::newRow("12") << "Bo"
                        << "12"
                        << "0"
                        << "4" << 12;
    QTest::newRow("0") << "Bo"
                       << "0"
                       << "0"
                       << "0" << 3;
    QTest::newRow("no number") << "Bo"
                               << "abc"
                               << "0"
                               << "0" << 3;
}

void TestMindGamesScrn::openingTakesTheStudentsSettings() {
    QFETCH(QString, name);
    QFETCH(QString, hiNum);
    QFETCH(QString, negatives);
    QFETCH(QString, shown);
    QFETCH(int, plays);
    student = std::make_unique<GameTest::Student>(name, hiNum, negatives);
    dialogs.clear();
    QVERIFY(GameTest::openGame(5));
    MindGamesScrn* w = game();
    QVERIFY(w && w->isVisible());
    QCOMPARE(ctl<QLabel>(QStringLiteral("InfoTxt"), 0)->text(), name);
    QCOMPARE(ctl<QLabel>(QStringLiteral("InfoTxt"), 1)->text(), QStringLiteral("99.99"));
    QCOMPARE(text(QStringLiteral("showTxt2")), name.section(' ', 0, 0) + "'s Best Avg. Time.");
    auto* box = ctl<NumberCombo>(QStringLiteral("diffFld"));
    QCOMPARE(box->count(), 4);
    QCOMPARE(box->currentText(), shown);
    QCOMPARE(w->highestNumber(), plays);
    QCOMPARE(w->negativesAllowed(), negatives == "1");
    QCOMPARE(ctl<newCnvBtn>(QStringLiteral("StartBtn"))->myCaption(), QStringLiteral("Start Game"));
    QCOMPARE(ctl<newCnvBtn>(QStringLiteral("CloseBtn"))->myCaption(), QStringLiteral("Close Screen"));
    QCOMPARE(ctl<newCnvBtn>(QStringLiteral("CloseBtn"))->kind(), 4);
    // The board is blank until a game starts.
    for (int i = 0; i < 6; ++i)
        QCOMPARE(ctl(QStringLiteral("mgNum"), i)->accessibleName(), QString());
    QCOMPARE(myGlobals::gCurPlayer->myParams[2], hiNum);
}

void TestMindGamesScrn::difficultyBoxHoldsItsChoiceToThisVisit_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("plays");
    QTest::newRow("2") << "2" << 6;
    QTest::newRow("7") << "7" << 12;
    QTest::newRow("0") << "0" << 3;
    QTest::newRow("letters") << "abc" << 3;
    QTest::newRow("9") << "9" << 12;
}

void TestMindGamesScrn::difficultyBoxHoldsItsChoiceToThisVisit() {
    QFETCH(QString, typed);
    QFETCH(int, plays);
    student = std::make_unique<GameTest::Student>(QStringLiteral("Cy"));
    dialogs.clear();
    MindGamesScrn* w = MindGamesScrn::instance();
    w->show();
    auto* box = ctl<NumberCombo>(QStringLiteral("diffFld"));
    box->lineEdit()->selectAll();
    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(box->lineEdit(), typed);
    QCOMPARE(box->currentText(), typed);
    QCOMPARE(w->highestNumber(), plays);
    click(QStringLiteral("StartBtn"));
    QVERIFY(!box->isEnabled());
    for (int i = 0; i < 6; ++i) {
        const int n = ctl(QStringLiteral("mgNum"), i)->accessibleName().toInt();
        QVERIFY(n >= 1 && n <= plays);
    }
    QCOMPARE(myGlobals::gCurPlayer->myParams[2], QStringLiteral("10"));
}

void TestMindGamesScrn::problemsFollowTheBoard() {
    student =
        std::make_unique<GameTest::Student>(QStringLiteral("Di"), QStringLiteral("12"), QStringLiteral("1"));
    dialogs.clear();
    MindGamesScrn* w = MindGamesScrn::instance();
    w->show();
    click(QStringLiteral("StartBtn"));
    QVERIFY(w->playing());
    QCOMPARE(ctl<newCnvBtn>(QStringLiteral("CloseBtn"))->myCaption(), QStringLiteral("Stop Game"));
    QVERIFY(!ctl(QStringLiteral("StartBtn"))->isVisibleTo(w));
    QVERIFY(ctl(QStringLiteral("passBtn"))->isEnabled());
    QCOMPARE(ctl<QLineEdit>(QStringLiteral("RightFld"))->text(), QStringLiteral("0"));
    QCOMPARE(
        text(QStringLiteral("InstrFld")),
        QStringLiteral("Solve for X. Solve for Y. Hold each answer in your head.\n"
                       "Then solve the problem X, Y and enter the answer.\nBeware!!! Order of operations"));
    QVERIFY(ctl<QTimer>(QStringLiteral("gametimer"))->isActive());
    bool negativeSeen = false;
    for (int problem = 1; problem <= 12; ++problem) {
        QCOMPARE(text(QStringLiteral("ctProbsFld")), QStringLiteral("Problem #%1").arg(problem));
        QCOMPARE(rowFromBoard(0), w->rowValue(0));
        QCOMPARE(rowFromBoard(1), w->rowValue(1));
        const long long answer = answerFromBoard();
        QCOMPARE(answer, w->answer());
        const QString joining = ctl(QStringLiteral("mgFunc"), 4)->accessibleName();
        QCOMPARE(text(QStringLiteral("promptTxt")),
                 joining == "plus"    ? QStringLiteral("Find the sum of X and Y")
                 : joining == "minus" ? QStringLiteral("Find the difference of X minus Y")
                                      : QStringLiteral("Find the product of X times Y"));
        negativeSeen = negativeSeen || answer < 0;
        type(answer);
        QCOMPARE(w->right(), problem);
    }
    QCOMPARE(ctl<QLineEdit>(QStringLiteral("RightFld"))->text(), QStringLiteral("12"));
    QCOMPARE(w->gameTime(), -12);
}

void TestMindGamesScrn::aCountedGameIsStoredAndASlowerOneIsNot() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Ann Lee"));
    dialogs.clear();
    QVERIFY(GameTest::openGame(5));
    MindGamesScrn* w = game();
    QVERIFY(w);
    App::myRnd().seed(5);
    click(QStringLiteral("StartBtn"));
    const int n = 34;
    tick(n / 2);
    // Four answered right, one with a wrong try first, and one passed.
    type(answerFromBoard() + 1);
    QCOMPARE(w->wrong(), 1);
    QCOMPARE(feedback.sounds, QStringList{QStringLiteral("wrong1")});
    QCOMPARE(text(QStringLiteral("timeFld1")), QStringLiteral("0"));
    for (int i = 0; i < 4; ++i) {
        type(answerFromBoard());
        QCOMPARE(GameTest::lastSound(feedback.sounds), QStringLiteral("right1"));
    }
    auto* pass = ctl<QPushButton>(QStringLiteral("passBtn"));
    pass->click();
    pass->click();
    QCOMPARE(feedback.sounds.size(), 5); // a pass is silent
    tick(n - n / 2);
    QCOMPARE(text(QStringLiteral("timeFld")), QString::number(n - 4 + 30));
    QCOMPARE(w->finished(), 5);
    QCOMPARE(w->right(), 4);
    QCOMPARE(w->wrong(), 2);
    click(QStringLiteral("CloseBtn"));
    // A game with a pass has no end-of-game sound; the new best has its own.
    QCOMPARE(feedback.sounds.size(), 6);
    QCOMPARE(GameTest::lastSound(feedback.sounds), QStringLiteral("round1"));
    QCOMPARE(dialogs.messages(),
             QStringList{
                 QStringLiteral("Congratulations, Ann!\nYou have improved your average time per problem.")});
    QCOMPARE(text(QStringLiteral("timeFld1")), QStringLiteral("12"));
    QCOMPARE(ctl<QLabel>(QStringLiteral("InfoTxt"), 1)->text(), QStringLiteral("12.00"));
    QCOMPARE(text(QStringLiteral("InstrFld")),
             QStringLiteral("Round finished.\nClick <Start Game> to play again."));
    QCOMPARE(ctl<newCnvBtn>(QStringLiteral("CloseBtn"))->myCaption(), QStringLiteral("Close Screen"));
    QVERIFY(!pass->isEnabled());
    QVERIFY(ctl(QStringLiteral("StartBtn"))->isVisibleTo(w));
    QCOMPARE(ctl(QStringLiteral("mgNum"), 0)->accessibleName(), QString());
    click(QStringLiteral("CloseBtn"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!MindGamesScrn::exists());
    QVERIFY(NameScrn::instance()->isVisible());
    QCOMPARE(student->storedBests().split(',').value(5), GameBests::formatAverage((n - 4 + 30) / 5.0));

    // Slower next visit: five right in 61 seconds.
    dialogs.clear();
    const QString stored = student->storedBests();
    QVERIFY(GameTest::openGame(5));
    w = game();
    QCOMPARE(ctl<QLabel>(QStringLiteral("InfoTxt"), 1)->text(), QStringLiteral("12.00"));
    click(QStringLiteral("StartBtn"));
    for (int i = 0; i < 5; ++i)
        type(answerFromBoard());
    tick(66);
    feedback.sounds.clear();
    click(QStringLiteral("CloseBtn"));
    // Five right and no pass: the end-of-game sound, and no second one without a new best.
    QCOMPARE(feedback.sounds, QStringList{QStringLiteral("round1")});
    QCOMPARE(dialogs.messages(),
             QStringList{QStringLiteral(
                 "Sorry, Ann\nYour average time was 12.20 which did not improve your score.")});
    QCOMPARE(dialogs.shown[0].explanation, QStringLiteral("You can try again at any time."));
    // Four finished and "Stop Anyway": nothing recorded, no message.
    dialogs.clear();
    dialogs.answers.push_back(Seams::Answer::Cancel);
    click(QStringLiteral("StartBtn"));
    for (int i = 0; i < 4; ++i)
        type(answerFromBoard());
    tick(5);
    feedback.sounds.clear();
    click(QStringLiteral("CloseBtn"));
    QVERIFY(feedback.sounds.isEmpty());
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].question.defaultCaption, QStringLiteral("Continue Game"));
    QCOMPARE(dialogs.shown[0].question.cancelCaption, QStringLiteral("Stop Anyway"));
    QCOMPARE(ctl<newCnvBtn>(QStringLiteral("CloseBtn"))->myCaption(), QStringLiteral("Close Screen"));
    click(QStringLiteral("CloseBtn"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(student->storedBests(), stored);
}

void TestMindGamesScrn::digitsCountOnlyWhileAProblemIsAsked() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Ed"));
    dialogs.clear();
    MindGamesScrn* w = MindGamesScrn::instance();
    w->show();
    auto* field = ctl<AnswerField>(QStringLiteral("AnsFld"));
    auto* check = ctl<AnsTimer>(QStringLiteral("myAnsTimer"));
    // Before a game: "0" is no answer.
    QTest::keyClicks(field, QStringLiteral("0"));
    QCOMPARE(feedback.beeps, 1);
    QCOMPARE(field->text(), QString());
    QVERIFY(!check->isActive());
    click(QStringLiteral("StartBtn"));
    QTest::keyClicks(field, QStringLiteral("a. "));
    QCOMPARE(feedback.beeps, 4);
    // While a pass shows the answer, typing it back counts nothing.
    const QString shown = QString::number(w->answer());
    ctl<QPushButton>(QStringLiteral("passBtn"))->click();
    QCOMPARE(field->text(), shown);
    QTest::keyClicks(field, QStringLiteral("1"));
    QCOMPARE(field->text(), shown);
    QCOMPARE(feedback.beeps, 5);
    QVERIFY(!check->isActive());
    // The counters take no key.
    QTest::keyClicks(ctl(QStringLiteral("RightFld")), QStringLiteral("9"));
    QCOMPARE(ctl<QLineEdit>(QStringLiteral("RightFld"))->text(), QStringLiteral("0"));
}

void TestMindGamesScrn::tabBeepsAndTheAnswerStillLands() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Eve"));
    dialogs.clear();
    MindGamesScrn* w = MindGamesScrn::instance();
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    click(QStringLiteral("StartBtn"));
    auto* field = ctl<AnswerField>(QStringLiteral("AnsFld"));
    QVERIFY(field->hasFocus());
    QTest::keyClick(field, Qt::Key_Tab);
    QTest::keyClick(field, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(feedback.beeps, 2);
    QVERIFY(field->hasFocus());
    // The answer typed next is taken, as the clock runs.
    type(answerFromBoard());
    QCOMPARE(w->right(), 1);
}

void TestMindGamesScrn::timeBelowZeroShowsAndStoresNoBest() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Lu Chen"));
    dialogs.clear();
    const QString stored = student->storedBests();
    QVERIFY(GameTest::openGame(5));
    MindGamesScrn* w = game();
    QVERIFY(w);
    click(QStringLiteral("StartBtn"));
    // The test ticks the clock itself, also while the screen is photographed.
    ctl<QTimer>(QStringLiteral("gametimer"))->setInterval(3600 * 1000);
    // Six right answers faster than one a second: each takes a second off.
    for (int i = 0; i < 6; ++i)
        type(answerFromBoard());
    QCOMPARE(w->gameTime(), -6);
    QCOMPARE(text(QStringLiteral("timeFld1")), QStringLiteral("-1"));
    tick(1);
    QCOMPARE(text(QStringLiteral("timeFld")), QStringLiteral("-5"));
    type(answerFromBoard());
    QCOMPARE(text(QStringLiteral("timeFld1")), QStringLiteral("-.86"));
    GameTest::shoot(w, QStringLiteral("mind-negative-average"));
    feedback.sounds.clear();
    click(QStringLiteral("CloseBtn"));
    // Such a game counts as no time: 99.99, which the stored 99.99 is not above.
    QCOMPARE(feedback.sounds, QStringList{QStringLiteral("round1")});
    QCOMPARE(dialogs.messages(),
             QStringList{
                 QStringLiteral("Sorry, Lu\nYour average time was 99.99 which did not improve your score.")});
    QCOMPARE(text(QStringLiteral("timeFld1")), QStringLiteral("-.86"));
    // A counted game without a pass that beats the best: the end-of-game sound, then the best's.
    dialogs.clear();
    feedback.sounds.clear();
    click(QStringLiteral("StartBtn"));
    tick(40);
    for (int i = 0; i < 5; ++i)
        type(answerFromBoard());
    click(QStringLiteral("CloseBtn"));
    QCOMPARE(feedback.sounds,
             (QStringList{"right1", "right1", "right1", "right1", "right1", "round1", "round1"}));
    QVERIFY(dialogs.messages().value(0).startsWith(QStringLiteral("Congratulations, Lu!")));
    click(QStringLiteral("CloseBtn"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(student->storedBests().split(',').value(5), QStringLiteral("7.00"));
    QVERIFY(stored != student->storedBests());
}

void TestMindGamesScrn::passShowsTheAnswerThenChargesThirtySeconds() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Fay"));
    dialogs.clear();
    MindGamesScrn* w = MindGamesScrn::instance();
    w->show();
    click(QStringLiteral("StartBtn"));
    tick(3);
    auto* pass = ctl<QPushButton>(QStringLiteral("passBtn"));
    auto* clock = ctl<QTimer>(QStringLiteral("gametimer"));
    auto* check = ctl<AnsTimer>(QStringLiteral("myAnsTimer"));
    // A check waiting when the pass begins is dropped.
    QTest::keyClicks(ctl(QStringLiteral("AnsFld")), QString::number(w->answer()));
    QVERIFY(check->isActive());
    const int x = w->rowValue(0), y = w->rowValue(1), answer = w->answer();
    pass->click();
    QVERIFY(!check->isActive());
    QVERIFY(!clock->isActive());
    QCOMPARE(ctl<QLabel>(QStringLiteral("result1"), 0)->text(), QString::number(x));
    QCOMPARE(ctl<QLabel>(QStringLiteral("result1"), 1)->text(), QString::number(y));
    QCOMPARE(ctl<QLineEdit>(QStringLiteral("AnsFld"))->text(), QString::number(answer));
    QCOMPARE(pass->text(), QStringLiteral("Click To Continue"));
    QCOMPARE(text(QStringLiteral("InstrFld")), QStringLiteral("Click the button to <Continue>."));
    QCOMPARE(w->wrong(), 0);
    QCOMPARE(w->finished(), 0);
    w->myAnsTimer_Action(); // a late check judges nothing
    QCOMPARE(w->right(), 0);
    pass->click();
    QCOMPARE(w->wrong(), 1);
    QCOMPARE(w->finished(), 1);
    QCOMPARE(w->gameTime(), 33);
    QCOMPARE(text(QStringLiteral("timeFld1")), QStringLiteral("33"));
    QCOMPARE(ctl<QLabel>(QStringLiteral("result1"), 0)->text(), QStringLiteral("X"));
    QCOMPARE(ctl<QLineEdit>(QStringLiteral("AnsFld"))->text(), QString());
    QCOMPARE(pass->text(), QStringLiteral("Pass This Problem"));
    QVERIFY(clock->isActive());
    QCOMPARE(text(QStringLiteral("ctProbsFld")), QStringLiteral("Problem #2"));
    tick(1);
    QCOMPARE(text(QStringLiteral("timeFld")), QStringLiteral("34"));
}

void TestMindGamesScrn::shortGameAsksToGoOn() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Gus"));
    dialogs.clear();
    MindGamesScrn* w = MindGamesScrn::instance();
    w->show();
    click(QStringLiteral("StartBtn"));
    for (int i = 0; i < 4; ++i)
        type(answerFromBoard());
    tick(9);
    // A pass under way when the student stops and goes on: its answer stays, the clock stays off.
    auto* pass = ctl<QPushButton>(QStringLiteral("passBtn"));
    pass->click();
    const QString board = ctl(QStringLiteral("mgNum"), 0)->accessibleName();
    dialogs.answers.push_back(Seams::Answer::Default);
    click(QStringLiteral("CloseBtn"));
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].question.message,
             QStringLiteral("Please complete at least 5 problems to improve your average time."));
    QVERIFY(w->playing());
    QCOMPARE(ctl<newCnvBtn>(QStringLiteral("CloseBtn"))->myCaption(), QStringLiteral("Stop Game"));
    QCOMPARE(ctl(QStringLiteral("mgNum"), 0)->accessibleName(), board);
    QCOMPARE(pass->text(), QStringLiteral("Click To Continue"));
    QCOMPARE(ctl<QLineEdit>(QStringLiteral("AnsFld"))->text(), QString::number(w->answer()));
    QVERIFY(!ctl<QTimer>(QStringLiteral("gametimer"))->isActive());
    QVERIFY(!ctl(QStringLiteral("StartBtn"))->isVisibleTo(w));
    pass->click();
    QVERIFY(ctl<QTimer>(QStringLiteral("gametimer"))->isActive());
    // Now five are finished: the game counts, and its end puts the pass to rest for the next game.
    pass->click();
    click(QStringLiteral("CloseBtn"));
    QCOMPARE(dialogs.shown.size(), 2);
    QVERIFY(dialogs.shown[1].message.startsWith(QStringLiteral("Congratulations, Gus!")));
    QCOMPARE(pass->text(), QStringLiteral("Pass This Problem"));
    QCOMPARE(ctl<QLabel>(QStringLiteral("result1"), 1)->text(), QStringLiteral("Y"));
    QCOMPARE(ctl<QLineEdit>(QStringLiteral("AnsFld"))->text(), QString());
    QVERIFY(w->hasUnsavedBest());
}

void TestMindGamesScrn::endOfGameCancelsAWaitingCheck() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Hal"));
    dialogs.clear();
    MindGamesScrn* w = MindGamesScrn::instance();
    w->show();
    click(QStringLiteral("StartBtn"));
    QTest::keyClicks(ctl(QStringLiteral("AnsFld")), QString::number(w->answer()));
    auto* check = ctl<AnsTimer>(QStringLiteral("myAnsTimer"));
    QVERIFY(check->isActive());
    dialogs.answers.push_back(Seams::Answer::Cancel);
    click(QStringLiteral("CloseBtn"));
    QVERIFY(!check->isActive());
    w->myAnsTimer_Action();
    QCOMPARE(w->right(), 0);
    QVERIFY(!w->playing());
}

void TestMindGamesScrn::closingMidGameScoresNothing() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Ida"));
    dialogs.clear();
    const QString stored = student->storedBests();
    QVERIFY(GameTest::openGame(5));
    MindGamesScrn* w = game();
    click(QStringLiteral("StartBtn"));
    for (int i = 0; i < 6; ++i)
        type(answerFromBoard());
    QPointer<QTimer> clock = ctl<QTimer>(QStringLiteral("gametimer"));
    w->close(); // the close box
    QVERIFY(!clock || !clock->isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!MindGamesScrn::exists());
    QCOMPARE(dialogs.messages(), QStringList());
    QCOMPARE(student->storedBests(), stored);
    QVERIFY(NameScrn::instance()->isVisible());
}

void TestMindGamesScrn::helpKeepsTheClockRunning() {
    QList<int> topics;
    HelpLink::install([&topics](int topic, QWidget*) { topics << topic; });
    student = std::make_unique<GameTest::Student>(QStringLiteral("Jo"));
    dialogs.clear();
    MindGamesScrn* w = MindGamesScrn::instance();
    w->show();
    click(QStringLiteral("StartBtn"));
    w->menuBar()->item(QStringLiteral("HelpHelp"))->trigger();
    w->menuBar()->item(QStringLiteral("HelpHelp"))->trigger();
    QCOMPARE(topics, (QList<int>{15, 15}));
    QVERIFY(ctl<QTimer>(QStringLiteral("gametimer"))->isActive());
    // Coming back to the window writes the setup lines again, also mid-game.
    w->activateWindow();
    QApplication::setActiveWindow(w);
    QTRY_COMPARE(
        text(QStringLiteral("InstrFld")),
        QStringLiteral("1) Set the difficulty level.\n2) Click <Start Game> to play, <Stop Game> to end."));
}

void TestMindGamesScrn::tilesAreFramedAndBlankOutsideAGame() {
    student = std::make_unique<GameTest::Student>(QStringLiteral("Kai"));
    MindGamesScrn* w = MindGamesScrn::instance();
    w->show();
    const auto ink = [](const QImage& tile) {
        int dark = 0;
        for (int y = 5; y < 54; ++y) {
            for (int x = 5; x < 54; ++x)
                dark += qGray(tile.pixel(x, y)) < 128;
        }
        return dark;
    };
    QImage tile = ctl(QStringLiteral("mgNum"), 0)->grab().toImage();
    QCOMPARE(QColor(tile.pixel(0, 30)), QColor(Qt::black));
    QCOMPARE(QColor(tile.pixel(58, 30)), QColor(Qt::black));
    QCOMPARE(QColor(tile.pixel(30, 58)), QColor(Qt::black));
    QVERIFY(QColor(tile.pixel(59, 30)) != QColor(Qt::black));
    QCOMPARE(ink(tile), 0);
    QVERIFY(ctl(QStringLiteral("mgFunc"), 4)->grab().toImage().pixelColor(24, 24) ==
            ctl(QStringLiteral("mgFunc"), 4)->grab().toImage().pixelColor(2, 2));
    click(QStringLiteral("StartBtn"));
    tile = ctl(QStringLiteral("mgNum"), 0)->grab().toImage();
    QVERIFY(ink(tile) > 20);
    QVERIFY(!ctl(QStringLiteral("mgFunc"), 4)->accessibleName().isEmpty());
    // The game's end blanks the board again.
    dialogs.answers.push_back(Seams::Answer::Cancel);
    click(QStringLiteral("CloseBtn"));
    QCOMPARE(ink(ctl(QStringLiteral("mgNum"), 0)->grab().toImage()), 0);
    QCOMPARE(ctl(QStringLiteral("mgFunc"), 4)->accessibleName(), QString());
}

QTEST_MAIN(TestMindGamesScrn)
#include "tst_mindgamesscrn.moc"
