#include "app/helplink.h"
#include "app/onmodal.h"
#include "controls/newcnvbtn.h"
#include "controls/ovrcheckbox.h"
#include "settingsfixture.h"

#include <QAction>
#include <QGroupBox>
#include <QPushButton>
#include <QtTest>

using namespace SettingsTest;

namespace {

const QString kDefaults = QStringLiteral("0,0,10,1^1^1^1,0,15,10,0,0,0,0");

// Runs a small script of student actions on the settings window, one action per entry:
// "op i", "time i", "num i", "neg i", "display i", "solve i" click that radio button;
// "lower T", "hi T", "prob T" type T into that box; "fam A|B" types both family numbers.
void act(ParamScrn* w, const QStringList& steps) {
    for (const QString& step : steps) {
        const QString verb = step.section(QLatin1Char(' '), 0, 0);
        const QString arg = step.section(QLatin1Char(' '), 1);
        static const QHash<QString, QString> radios = {
            {"op", "FNadd"},   {"time", "TimeBtn"},       {"num", "NumBtn"},
            {"neg", "NegBtn"}, {"display", "DisplayBtn"}, {"solve", "SolveBtn"},
        };
        if (radios.contains(verb)) {
            QAbstractButton* button = member(w, radios[verb], arg.toInt());
            QVERIFY(button);
            click(button);
        } else if (verb == QLatin1String("lower")) {
            typeInto(combo(w, "BotNumFld"), arg);
        } else if (verb == QLatin1String("hi")) {
            typeInto(combo(w, "HiNumFld"), arg);
        } else if (verb == QLatin1String("prob")) {
            typeInto(combo(w, "totProbsFld"), arg);
        } else if (verb == QLatin1String("fam")) {
            typeInto(combo(w, "FactFam", 0), arg.section(QLatin1Char('|'), 0, 0));
            typeInto(combo(w, "FactFam", 1), arg.section(QLatin1Char('|'), 1, 1));
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }
}

// Lets the settling time run out at once; rulesKeepStillWhileSettling waits for the real timer.
void settle(ParamScrn* w) {
    auto* timer = w->findChild<QTimer*>("setTimer");
    QVERIFY(timer);
    if (timer->isActive())
        timer->start(0);
    QTRY_VERIFY(w->isSettled());
}

newCnvBtn* pictureButton(QWidget* w, const char* name) {
    return w->findChild<newCnvBtn*>(QLatin1String(name));
}

} // namespace

class TestParamScrn : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { closeAll(); }

    void opensWithTheStoredSettings_data();
    void opensWithTheStoredSettings();
    void everyControlInItsPlace_data();
    void everyControlInItsPlace();
    void aShortListInMemoryOpensWithTheDefaults();
    void goesOnWithTheCheckedSettings_data();
    void goesOnWithTheCheckedSettings();
    void refusesAndThenStores_data();
    void refusesAndThenStores();
    void progressIsRefusedWithTheSameMessage();
    void leavesWithoutSaving_data();
    void leavesWithoutSaving();
    void otherKeysAndMenuItems();
    void helpOpensThePageOnPlaying();
    void rulesKeepStillWhileSettling();
    void unknownTermLayoutAndSpeech();
    void speechLiftsShortTimes_data();
    void speechLiftsShortTimes();
    void numbersChoiceFollowsTheLowerNumber();
    void pickingAHighestNumber_data();
    void pickingAHighestNumber();
    void typingAHighestNumber_data();
    void typingAHighestNumber();
    void selectOperationsOnlyForRandom();
};

void TestParamScrn::opensWithTheStoredSettings_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QList<int>>("checked"); // FNadd, TimeBtn, NegBtn, DisplayBtn, SolveBtn, NumBtn
    QTest::addColumn<QStringList>("texts");  // BotNumFld, FactFam 0, FactFam 1, HiNumFld, totProbsFld
    QTest::addColumn<bool>("speech");
    QTest::addColumn<bool>("selectEnabled");
    QTest::addColumn<bool>("firstNumberEnabled");
    QTest::addColumn<int>("listTop");
    QTest::addColumn<QString>("afterOpening");

    QTest::newRow("fact family, horizontal, speech")
        << "3/5,2,12,1^1^1^1,0,10,8,1,1,1,0" << QList<int>{2, 2, 1, 1, 0, 2}
        << QStringList{"", "3", "5", "12", "8"} << true << false << true << 12
        << "3/5,2,12,1^1^1^1,0,10,8,1,1,1,0";
    QTest::newRow("fixed number, random mix, unknown seconds, first number unknown")
        << "12,4,10,1^0^1^0,1,20,10,0,1,1,0" << QList<int>{4, 4, 0, 1, 1, 1}
        << QStringList{"12", "", "", "10", "10"} << false << true << true << 10
        << "12,4,10,1^0^1^0,1,0,10,0,1,0,0";
    QTest::newRow("letters read as two random numbers")
        << "abc,1,4,1^1^1^1,0,3,4,0,0,0,0" << QList<int>{1, 0, 0, 0, 0, 0}
        << QStringList{"", "", "", "4", "4"} << false << false << false << 4
        << "abc,1,4,1^1^1^1,0,3,4,0,0,0,0";
    QTest::newRow("a third family number is ignored")
        << "3/5/7,3,19,1^1^1^1,0,5,20,0,0,1,0" << QList<int>{3, 1, 0, 0, 0, 2}
        << QStringList{"", "3", "5", "19", "20"} << true << false << false << 19
        << "3/5/7,3,19,1^1^1^1,0,5,20,0,0,1,0";
    QTest::newRow("unknown term above 1 shows the first number")
        << "0,0,10,1^1^1^1,2,15,10,0,1,1,0" << QList<int>{0, 3, 0, 1, 1, 0}
        << QStringList{"", "", "", "10", "10"} << false << false << true << 10
        << "0,0,10,1^1^1^1,2,15,10,0,1,0,0";
    QTest::newRow("values out of range show the defaults")
        << "7,9,100000,,-3,15,99,5,-1,1" << QList<int>{0, 3, 0, 0, 0, 1}
        << QStringList{"7", "", "", "10", "10"} << true << false << false << 10
        << "7,9,100000,1^1^1^1,-3,15,99,0,0,1,0";
    QTest::newRow("a huge highest number fills short lists")
        << "0,0,99999999999,1^1^1^1,0,15,-5,0,0,0,0" << QList<int>{0, 3, 0, 0, 0, 0}
        << QStringList{"", "", "", "10", "10"} << false << false << false << 10
        << "0,0,99999999999,1^1^1^1,0,15,-5,0,0,0,0";
}

void TestParamScrn::opensWithTheStoredSettings() {
    QFETCH(QString, stored);
    QFETCH(QList<int>, checked);
    QFETCH(QStringList, texts);
    QFETCH(bool, speech);
    QFETCH(bool, selectEnabled);
    QFETCH(bool, firstNumberEnabled);
    QFETCH(int, listTop);
    QFETCH(QString, afterOpening);

    SignedIn ann(stored);
    ParamScrn* w = openSettings();

    QCOMPARE(w->windowTitle(), QStringLiteral("Settings for"));
    QCOMPARE(w->centralWidget()->size(), QSize(740, 600));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QCOMPARE(w->findChild<QLabel*>("PlNameFld")->text(), QStringLiteral("Ann Lee"));
    QCOMPARE(w->findChild<QLabel*>("PlDateFld")->text(), QStringLiteral("1/2/25"));

    const QStringList arrays{"FNadd", "TimeBtn", "NegBtn", "DisplayBtn", "SolveBtn", "NumBtn"};
    for (int i = 0; i < arrays.size(); ++i)
        QCOMPARE(checkedIndex(w, arrays[i]), checked[i]);
    QCOMPARE(combo(w, "BotNumFld")->currentText(), texts[0]);
    QCOMPARE(combo(w, "FactFam", 0)->currentText(), texts[1]);
    QCOMPARE(combo(w, "FactFam", 1)->currentText(), texts[2]);
    QCOMPARE(combo(w, "HiNumFld")->currentText(), texts[3]);
    QCOMPARE(combo(w, "totProbsFld")->currentText(), texts[4]);
    QCOMPARE(w->findChild<ovrCheckBox*>("speakBtn")->value(), speech);
    QCOMPARE(w->findChild<QPushButton*>("selFuncBtn")->isEnabled(), selectEnabled);
    QCOMPARE(member(w, "SolveBtn", 1)->isEnabled(), firstNumberEnabled);

    QCOMPARE(entries(combo(w, "BotNumFld")), numbers(1, listTop));
    QCOMPARE(entries(combo(w, "FactFam", 0)), numbers(2, listTop));
    QCOMPARE(entries(combo(w, "FactFam", 1)), numbers(2, listTop));
    QCOMPARE(entries(combo(w, "HiNumFld")), numbers(4, 19));
    QCOMPARE(entries(combo(w, "totProbsFld")), numbers(4, 20, 2));

    // Opening rewrites what the clicked-at-once rules write, and nothing reaches the database.
    QCOMPARE(SignedIn::fields(), afterOpening);
    QCOMPARE(ann.stored(), stored);
    QVERIFY(ann.dialogs.shown.isEmpty());
}

void TestParamScrn::everyControlInItsPlace_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index"); // -1: not a member of a control array
    QTest::addColumn<QRect>("at");  // from the window's top-left corner, also inside a group box
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pixels"); // 0: the platform's size
    QTest::addColumn<bool>("blue");
    const auto row = [](const char* name, int index, QRect at, const char* text, int pixels,
                        bool blue = false) {
        const QString tag = index < 0 ? QString::fromLatin1(name)
                                      : QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
        QTest::newRow(qPrintable(tag)) << QString::fromLatin1(name) << index << at << QString::fromUtf8(text)
                                       << pixels << blue;
    };
    row("FuncBox", -1, {20, 108, 200, 173}, "Functions:", 12);
    row("FNadd", 0, {32, 128, 80, 20}, "Addition", 12);
    row("FNadd", 1, {32, 158, 95, 20}, "Subtraction", 12);
    row("FNadd", 2, {32, 188, 111, 20}, "Multiplication", 12);
    row("FNadd", 3, {32, 218, 80, 20}, "Division", 12);
    row("FNadd", 4, {32, 248, 84, 20}, "Random", 12);
    row("selFuncBtn", -1, {118, 248, 79, 20}, "Select...", 10);
    row("TimeBox", -1, {20, 294, 200, 173}, "Timer:", 12);
    row("TimeBtn", 0, {32, 313, 80, 20}, "3 seconds", 12);
    row("TimeBtn", 1, {32, 343, 80, 20}, "5 seconds", 12);
    row("TimeBtn", 2, {32, 373, 89, 20}, "10 seconds", 12);
    row("TimeBtn", 3, {32, 403, 89, 20}, "15 seconds", 12);
    row("TimeBtn", 4, {32, 433, 80, 20}, "Timer Off", 12);
    row("NegBox", -1, {270, 108, 200, 80}, "Negative Numbers", 12);
    row("NegBtn", 0, {281, 128, 170, 20}, "No Negative Numbers", 12);
    row("NegBtn", 1, {281, 158, 176, 20}, "Allow Negative Numbers", 12);
    row("DisplayBox", -1, {270, 201, 200, 80}, "Problems to be displayed:", 12);
    row("DisplayBtn", 0, {281, 223, 100, 20}, "Vertically", 12);
    row("DisplayBtn", 1, {281, 253, 100, 20}, "Horizontally", 12);
    row("SolveBox", -1, {270, 294, 200, 80}, "Solve For ...(x):", 12);
    row("SolveBtn", 0, {281, 313, 100, 20}, "2 + 2 = x", 12);
    row("SolveBtn", 1, {281, 343, 100, 20}, "x + 2 = 4", 12);
    row("NumBox", -1, {520, 108, 200, 260}, "Numbers:", 12);
    row("NumBtn", 0, {530, 128, 147, 20}, "2 Random Numbers", 12);
    row("NumBtn", 1, {530, 158, 147, 20}, "Fixed Lower Number", 12);
    row("StatText2", -1, {520, 293, 168, 20}, "Highest Number Allowed:", 12);
    row("BotNumFld", -1, {576, 184, 60, 22}, "", 12);
    row("NumBtn", 2, {530, 218, 147, 20}, "Fact Families", 12);
    row("FactFam", 0, {530, 244, 60, 20}, "", 0);
    row("FactFam", 1, {617, 244, 60, 20}, "", 0);
    row("StaticText4", -1, {593, 244, 20, 20}, "&", 0);
    row("HiNumFld", -1, {566, 324, 80, 22}, "10", 12);
    row("StaticText1", -1, {520, 417, 183, 20}, "Total problems per round:", 12, true);
    row("totProbsFld", -1, {572, 446, 80, 22}, "10", 12);
    row("StaticText2", -1, {12, 50, 166, 20}, "Current Player:", 12, true);
    row("PlNameFld", -1, {182, 50, 400, 20}, "Ann Lee", 14);
    row("StaticText3", -1, {12, 76, 166, 20}, "Last Visit:", 0, true);
    row("PlDateFld", -1, {182, 76, 400, 20}, "1/2/25", 14);
    row("progScrnBtn", -1, {20, 518, 148, 36}, "See My Progress...", 0);
    row("cancelBtn", -1, {440, 518, 120, 36}, "Go Back", 0);
    row("contBtn", -1, {600, 518, 120, 36}, "Go To Game", 0);
    row("speakBtn", -1, {270, 446, 200, 24}, "Speak the problems", 0);
    row("Label1", -1, {450, 556, 100, 16}, "Esc", 10);
    row("Label2", -1, {610, 556, 100, 16}, "Enter", 10);
    row("easyStartCnv", -1, {282, 388, 175, 48}, "", 0);
}

void TestParamScrn::everyControlInItsPlace() {
    QFETCH(QString, name);
    QFETCH(int, index);
    QFETCH(QRect, at);
    QFETCH(QString, text);
    QFETCH(int, pixels);
    QFETCH(bool, blue);

    SignedIn ann(kDefaults);
    ParamScrn* w = openSettings();
    QWidget* content = w->centralWidget();
    QWidget* control = nullptr;
    for (QWidget* c : w->findChildren<QWidget*>(name)) {
        if (index < 0 || c->property("index").toInt() == index)
            control = c;
    }
    QVERIFY(control);
    QCOMPARE(QRect(control->mapTo(content, QPoint(0, 0)), control->size()), at);

    QString shown;
    if (auto* box = qobject_cast<QGroupBox*>(control))
        shown = box->title();
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        shown = button->text();
    else if (auto* label = qobject_cast<QLabel*>(control))
        shown = label->text();
    else if (auto* box = qobject_cast<QComboBox*>(control))
        shown = box->currentText();
    else if (auto* picture = qobject_cast<newCnvBtn*>(control))
        shown = picture->myCaption();
    else if (auto* check = qobject_cast<ovrCheckBox*>(control))
        shown = check->myText();
    QCOMPARE(shown, text);
    if (pixels > 0)
        QCOMPARE(control->font().pixelSize(), pixels);
    if (blue)
        QCOMPARE(control->palette().color(QPalette::WindowText), QColor(0x41, 0x75, 0xBD));
    const bool tipped = name == QLatin1String("DisplayBtn") && index == 0;
    QCOMPARE(control->toolTip(),
             tipped ? QStringLiteral("Uses animated viewing but requires solve for: 2 + 2 = x") : QString());
}

void TestParamScrn::aShortListInMemoryOpensWithTheDefaults() {
    SignedIn ann(kDefaults);
    myGlobals::gCurPlayer->myParams = QStringList{QStringLiteral("5"), QStringLiteral("4")};
    ParamScrn* w = openSettings();

    QCOMPARE(checkedIndex(w, "NumBtn"), 1);
    QCOMPARE(combo(w, "BotNumFld")->currentText(), QStringLiteral("5"));
    QCOMPARE(checkedIndex(w, "FNadd"), 4);
    QCOMPARE(checkedIndex(w, "TimeBtn"), 3);
    QCOMPARE(combo(w, "HiNumFld")->currentText(), QStringLiteral("10"));
    settle(w);
    click(pictureButton(w, "contBtn"));

    // The entries the window set are stored; the reserved entry the list in memory lost stays as stored.
    QCOMPARE(ann.stored(), QStringLiteral("5,4,10,1^1^1^1,0,15,10,0,0,0,0"));
    QVERIFY(!ParamScrn::exists());
    QVERIFY(GameScrn::instance()->isVisible());
}

void TestParamScrn::goesOnWithTheCheckedSettings_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("exit");
    QTest::addColumn<QString>("saved");

    QTest::newRow("button; numbers clamped to the highest number stored in the same go")
        << kDefaults << QStringList{"op 1", "hi 25", "prob 7", "lower 22"} << "button"
        << "19,1,19,1^1^1^1,0,15,7,0,0,0,0";
    QTest::newRow("Return; a number too large for any integer")
        << kDefaults << QStringList{"op 2", "hi 99999999999", "prob 2"} << "return"
        << "0,2,19,1^1^1^1,0,15,4,0,0,0,0";
    QTest::newRow("Enter; a family number above the highest")
        << kDefaults << QStringList{"num 2", "fam 5|25", "prob 25"} << "enter"
        << "5/10,0,10,1^1^1^1,0,15,20,0,0,0,0";
    QTest::newRow("Return typed in a number box; letters")
        << kDefaults << QStringList{"num 2", "fam x|5", "prob abc"} << "return in box"
        << "1/5,0,10,1^1^1^1,0,15,4,0,0,0,0";
    QTest::newRow("progress; a lower number below one")
        << kDefaults << QStringList{"lower 0", "op 3"} << "progress"
        << "1,3,10,1^1^1^1,0,15,10,0,0,0,0";
    QTest::newRow("random mix with no operation allowed gets all four")
        << "0,0,10,0^0^0^0,0,15,10,0,0,0,0" << QStringList{"op 4"} << "button"
        << "0,4,10,1^1^1^1,0,15,10,0,0,0,0";
    QTest::newRow("random mix with one operation allowed gets all four")
        << "0,0,10,0^0^1^0,0,15,10,0,0,0,0" << QStringList{"op 4"} << "button"
        << "0,4,10,1^1^1^1,0,15,10,0,0,0,0";
    QTest::newRow("random mix with two operations keeps them")
        << "0,0,10,1^0^0^1,0,15,10,0,0,0,0" << QStringList{"op 4"} << "button"
        << "0,4,10,1^0^0^1,0,15,10,0,0,0,0";
    QTest::newRow("no random mix: the flags are left alone")
        << "0,4,10,0^0^0^0,0,15,10,0,0,0,0" << QStringList{"op 0"} << "button"
        << "0,0,10,0^0^0^0,0,15,10,0,0,0,0";
}

void TestParamScrn::goesOnWithTheCheckedSettings() {
    QFETCH(QString, stored);
    QFETCH(QStringList, steps);
    QFETCH(QString, exit);
    QFETCH(QString, saved);

    SignedIn ann(stored);
    ParamScrn* w = openSettings();
    settle(w);
    act(w, steps);

    if (exit == QLatin1String("button"))
        click(pictureButton(w, "contBtn"));
    else if (exit == QLatin1String("progress"))
        click(pictureButton(w, "progScrnBtn"));
    else if (exit == QLatin1String("return"))
        QTest::keyClick(w, Qt::Key_Return);
    else if (exit == QLatin1String("enter"))
        QTest::keyClick(w, Qt::Key_Enter);
    else
        QTest::keyClick(combo(w, "totProbsFld"), Qt::Key_Return);

    QVERIFY(ann.dialogs.shown.isEmpty());
    QCOMPARE(ann.stored(), saved);
    QCOMPARE(SignedIn::fields(), saved);
    QVERIFY(!ParamScrn::exists());
    const bool toProgress = exit == QLatin1String("progress");
    QCOMPARE(GameScrn::instance()->isVisible(), !toProgress);
    QCOMPARE(newDataScrn::instance()->isVisible(), toProgress);
    QVERIFY(!NameScrn::instance()->isVisible());
}

void TestParamScrn::refusesAndThenStores_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("beeps");
    QTest::addColumn<QString>("inMemory"); // the list right after the refusal
    QTest::addColumn<QStringList>("familyAfter");
    QTest::addColumn<QStringList>("fix");
    QTest::addColumn<QString>("saved");

    QTest::newRow("fixed number left empty")
        << kDefaults << QStringList{"op 2", "num 1", "lower ", "hi 25"} << "Please set a fixed number." << 0
        << "0,2,19,1^1^1^1,0,15,10,0,0,0,0" << QStringList{"", ""} << QStringList{"lower 6"}
        << "6,2,19,1^1^1^1,0,15,10,0,0,0,0";
    QTest::newRow("one family number missing")
        << kDefaults << QStringList{"num 2", "fam 7|"} << "Please set both numbers of the fact family." << 0
        << kDefaults << QStringList{"7", ""} << QStringList{"fam 7|3"} << "7/3,0,10,1^1^1^1,0,15,10,0,0,0,0";
    QTest::newRow("family numbers written alike")
        << kDefaults << QStringList{"num 2", "fam 3|3", "prob 12"}
        << "The fact family numbers must be different." << 0 << "0,0,10,1^1^1^1,0,15,12,0,0,0,0"
        << QStringList{"3", "3"} << QStringList{"fam 3|4"} << "3/4,0,10,1^1^1^1,0,15,12,0,0,0,0";
    QTest::newRow("family numbers alike once read")
        << kDefaults << QStringList{"num 2", "fam 3|03"} << "Please recheck the Fact Family numbers." << 0
        << kDefaults << QStringList{"3", "3"} << QStringList{"fam 3|5"} << "3/5,0,10,1^1^1^1,0,15,10,0,0,0,0";
    QTest::newRow("family numbers alike once clamped")
        << kDefaults << QStringList{"num 2", "fam 15|12"} << "Please recheck the Fact Family numbers." << 0
        << kDefaults << QStringList{"10", "10"} << QStringList{"fam 10|2"}
        << "10/2,0,10,1^1^1^1,0,15,10,0,0,0,0";
    QTest::newRow("fixed number with the first number unknown")
        << "4,0,10,1^1^1^1,1,15,10,0,1,0,0" << QStringList{}
        << "You must solve for 2+2 = x with a fixed lower number." << 1 << "4,0,10,1^1^1^1,0,15,10,0,1,0,0"
        << QStringList{"", ""} << QStringList{} << "4,0,10,1^1^1^1,0,15,10,0,1,0,0";
}

void TestParamScrn::refusesAndThenStores() {
    QFETCH(QString, stored);
    QFETCH(QStringList, steps);
    QFETCH(QString, message);
    QFETCH(int, beeps);
    QFETCH(QString, inMemory);
    QFETCH(QStringList, familyAfter);
    QFETCH(QStringList, fix);
    QFETCH(QString, saved);

    SignedIn ann(stored);
    ParamScrn* w = openSettings();
    settle(w);
    act(w, steps);
    click(pictureButton(w, "contBtn"));

    QCOMPARE(ann.dialogs.messages(), QStringList{message});
    QCOMPARE(ann.dialogs.shown.first().kind, TestDoubles::Shown::Plain);
    QCOMPARE(ann.feedback.beeps, beeps);
    QVERIFY(ParamScrn::exists());
    QVERIFY(w->isVisible());
    QVERIFY(!GameScrn::instance()->isVisible());
    QCOMPARE(ann.stored(), stored);
    QCOMPARE(SignedIn::fields(), inMemory);
    QCOMPARE(combo(w, "FactFam", 0)->currentText(), familyAfter[0]);
    QCOMPARE(combo(w, "FactFam", 1)->currentText(), familyAfter[1]);
    if (beeps > 0) {
        // The refusal put the unknown term right, as a click would have.
        QCOMPARE(checkedIndex(w, "SolveBtn"), 0);
        QVERIFY(w->findChild<ovrCheckBox*>("speakBtn")->isVisible());
    }

    act(w, fix);
    click(pictureButton(w, "contBtn"));
    QCOMPARE(ann.dialogs.messages().size(), 1);
    QCOMPARE(ann.stored(), saved);
    QVERIFY(!ParamScrn::exists());
    QVERIFY(GameScrn::instance()->isVisible());
}

// "See My Progress..." checks and stores the settings as "Go To Game" does: a refused value keeps the
// student on the settings window, and nothing is saved.
void TestParamScrn::progressIsRefusedWithTheSameMessage() {
    SignedIn ann(kDefaults);
    ParamScrn* w = openSettings();
    settle(w);
    act(w, {"num 1", "lower "});
    click(pictureButton(w, "progScrnBtn"));

    QCOMPARE(ann.dialogs.messages(), QStringList{"Please set a fixed number."});
    QVERIFY(ParamScrn::exists());
    QVERIFY(w->isVisible());
    const auto progressShown = [] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (qobject_cast<newDataScrn*>(top) && top->isVisible())
                return true;
        }
        return false;
    };
    QVERIFY(!progressShown());
    QCOMPARE(ann.stored(), kDefaults);

    act(w, {"lower 6"});
    click(pictureButton(w, "progScrnBtn"));
    QCOMPARE(ann.dialogs.messages().size(), 1);
    QVERIFY(!ParamScrn::exists());
    QVERIFY(progressShown());
    QCOMPARE(ann.stored(), QStringLiteral("6,0,10,1^1^1^1,0,15,10,0,0,0,0"));
}

void TestParamScrn::leavesWithoutSaving_data() {
    QTest::addColumn<QString>("exit");
    QTest::newRow("Go Back") << "button";
    QTest::newRow("Esc") << "escape";
    QTest::newRow("Esc typed in a number box") << "escape in box";
    QTest::newRow("File > Close") << "menu";
    QTest::newRow("window manager's close") << "window manager";
}

void TestParamScrn::leavesWithoutSaving() {
    QFETCH(QString, exit);

    SignedIn ann(kDefaults);
    ParamScrn* w = openSettings();
    settle(w);
    act(w, {"neg 1", "time 1", "hi 15", "op 3"});
    QCOMPARE(SignedIn::field(StRecord::NegativesParam), QStringLiteral("1"));

    if (exit == QLatin1String("button"))
        click(pictureButton(w, "cancelBtn"));
    else if (exit == QLatin1String("escape"))
        QTest::keyClick(w, Qt::Key_Escape);
    else if (exit == QLatin1String("escape in box"))
        QTest::keyClick(combo(w, "HiNumFld"), Qt::Key_Escape);
    else if (exit == QLatin1String("menu"))
        w->findChild<QAction*>("FileClose")->trigger();
    else
        w->close();

    QVERIFY(!ParamScrn::exists());
    QTRY_VERIFY(NameScrn::instance()->isVisible());
    QVERIFY(!GameScrn::instance()->isVisible());
    QVERIFY(ann.dialogs.shown.isEmpty());
    QCOMPARE(ann.stored(), kDefaults);
    // Clicked settings stay in the record in memory; the operation only goes on store.
    QCOMPARE(SignedIn::fields(), QStringLiteral("0,0,10,1^1^1^1,0,5,10,1,0,0,0"));

    closeAll();
    ParamScrn* again = openSettings();
    QVERIFY(again->isVisible());
    QCOMPARE(checkedIndex(again, "NegBtn"), 1);
    QCOMPARE(checkedIndex(again, "TimeBtn"), 1);
    QCOMPARE(checkedIndex(again, "FNadd"), 0);
    QVERIFY(!again->isSettled());
}

void TestParamScrn::helpOpensThePageOnPlaying() {
    SignedIn ann(kDefaults);
    QList<std::pair<int, QWidget*>> opened;
    HelpLink::install([&](int topic, QWidget* from) { opened.append({topic, from}); });
    ParamScrn* w = openSettings();
    auto* help = w->findChild<QAction*>("HelpHelp");
    QVERIFY(help->isEnabled());
    help->trigger();
    HelpLink::install({});
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().first, 1);
    QCOMPARE(opened.first().second, w);
}

void TestParamScrn::otherKeysAndMenuItems() {
    SignedIn ann(kDefaults);
    ParamScrn* w = openSettings();
    settle(w);

    // Only File > Close is handled here; help does not exist yet and says so by being disabled.
    QVERIFY(w->findChild<QAction*>("FileClose")->isEnabled());
    QVERIFY(!w->findChild<QAction*>("HelpHelp")->isEnabled());
    QVERIFY(!w->findChild<QAction*>("FilePrint")->isEnabled());

    QTest::keyClick(w, Qt::Key_A);
    QTest::keyClick(w, Qt::Key_F5);
    QTest::keyClick(w, Qt::Key_Space);
    QVERIFY(ParamScrn::exists());
    QVERIFY(w->isVisible());
    QVERIFY(ann.dialogs.shown.isEmpty());
    QCOMPARE(SignedIn::fields(), kDefaults);

    QCOMPARE(pictureButton(w, "progScrnBtn")->myCaption(), QStringLiteral("See My Progress..."));
    QCOMPARE(pictureButton(w, "progScrnBtn")->kind(), 3);
    QCOMPARE(pictureButton(w, "cancelBtn")->myCaption(), QStringLiteral("Go Back"));
    QCOMPARE(pictureButton(w, "cancelBtn")->kind(), 4);
    QCOMPARE(pictureButton(w, "contBtn")->myCaption(), QStringLiteral("Go To Game"));
    QCOMPARE(pictureButton(w, "contBtn")->kind(), 1);
    QCOMPARE(w->findChild<ovrCheckBox*>("speakBtn")->myText(), QStringLiteral("Speak the problems"));
}

void TestParamScrn::rulesKeepStillWhileSettling() {
    SignedIn ann("0,0,10,1^1^1^1,0,5,10,0,1,1,0");
    ParamScrn* w = openSettings();
    auto* speak = w->findChild<ovrCheckBox*>("speakBtn");
    QVERIFY(!w->isSettled());

    // Nothing here runs the event loop, so the settling timer cannot fire in between.
    click(member(w, "SolveBtn", 1));
    QCOMPARE(checkedIndex(w, "SolveBtn"), 1);
    QCOMPARE(SignedIn::field(StRecord::UnknownParam), QStringLiteral("0"));
    QVERIFY(speak->isVisible());
    QVERIFY(speak->value());
    click(speak);
    click(speak);
    QVERIFY(speak->value());
    QCOMPARE(checkedIndex(w, "TimeBtn"), 1);
    typeInto(combo(w, "BotNumFld"), "9");
    QCOMPARE(checkedIndex(w, "NumBtn"), 0);
    QVERIFY(!w->isSettled());

    auto* timer = w->findChild<QTimer*>("setTimer");
    QVERIFY(timer->isSingleShot());
    QCOMPARE(timer->interval(), 200);
    QTRY_VERIFY(w->isSettled());
    QVERIFY(!timer->isActive());
    click(member(w, "SolveBtn", 0));
    QCOMPARE(SignedIn::field(StRecord::UnknownParam), QStringLiteral("0"));
    QVERIFY(!speak->value());
    QCOMPARE(SignedIn::field(StRecord::SpeechParam), QStringLiteral("0"));
}

void TestParamScrn::unknownTermLayoutAndSpeech() {
    SignedIn ann("0,0,10,1^1^1^1,0,15,10,0,1,1,0");
    ParamScrn* w = openSettings();
    auto* speak = w->findChild<ovrCheckBox*>("speakBtn");
    settle(w);
    QVERIFY(speak->value());

    click(member(w, "SolveBtn", 1));
    QCOMPARE(SignedIn::field(StRecord::UnknownParam), QStringLiteral("1"));
    QCOMPARE(SignedIn::field(StRecord::SpeechParam), QStringLiteral("0"));
    QVERIFY(!speak->isVisible());

    click(member(w, "DisplayBtn", 0));
    QCOMPARE(SignedIn::field(StRecord::HorizontalParam), QStringLiteral("0"));
    QCOMPARE(checkedIndex(w, "SolveBtn"), 0);
    QCOMPARE(SignedIn::field(StRecord::UnknownParam), QStringLiteral("0"));
    QVERIFY(speak->isVisible());
    QVERIFY(!speak->value());
    QVERIFY(!member(w, "SolveBtn", 1)->isEnabled());
    click(member(w, "SolveBtn", 1)); // disabled: no effect
    QCOMPARE(checkedIndex(w, "SolveBtn"), 0);

    click(member(w, "DisplayBtn", 1));
    QCOMPARE(SignedIn::field(StRecord::HorizontalParam), QStringLiteral("1"));
    QVERIFY(member(w, "SolveBtn", 1)->isEnabled());
    QCOMPARE(checkedIndex(w, "SolveBtn"), 0);
    QCOMPARE(ann.stored(), QStringLiteral("0,0,10,1^1^1^1,0,15,10,0,1,1,0"));
}

void TestParamScrn::speechLiftsShortTimes_data() {
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("seconds");
    QTest::newRow("3 seconds") << 0 << 2 << "10";
    QTest::newRow("5 seconds") << 1 << 2 << "10";
    QTest::newRow("10 seconds") << 2 << 2 << "10";
    QTest::newRow("15 seconds") << 3 << 3 << "15";
    QTest::newRow("timer off") << 4 << 4 << "0";
}

void TestParamScrn::speechLiftsShortTimes() {
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(QString, seconds);

    SignedIn ann(kDefaults);
    ParamScrn* w = openSettings();
    auto* speak = w->findChild<ovrCheckBox*>("speakBtn");
    settle(w);
    click(member(w, "TimeBtn", before));
    click(speak);
    QVERIFY(speak->value());
    QCOMPARE(checkedIndex(w, "TimeBtn"), after);
    QCOMPARE(SignedIn::field(StRecord::SecondsParam), seconds);

    // With the box ticked a short time may still be chosen; unticking changes no time.
    click(member(w, "TimeBtn", 0));
    QCOMPARE(SignedIn::field(StRecord::SecondsParam), QStringLiteral("3"));
    click(speak);
    QCOMPARE(checkedIndex(w, "TimeBtn"), 0);
}

void TestParamScrn::numbersChoiceFollowsTheLowerNumber() {
    SignedIn ann(kDefaults);
    ParamScrn* w = openSettings();
    settle(w);
    NumberCombo* lower = combo(w, "BotNumFld");

    typeInto(combo(w, "FactFam", 0), "4");
    QCOMPARE(checkedIndex(w, "NumBtn"), 0);

    click(member(w, "NumBtn", 1));
    QCOMPARE(lower->currentText(), QStringLiteral("2"));
    click(member(w, "NumBtn", 0));
    typeInto(lower, "7");
    QCOMPARE(checkedIndex(w, "NumBtn"), 1);
    click(member(w, "NumBtn", 2));
    click(member(w, "NumBtn", 1));
    QCOMPARE(lower->currentText(), QStringLiteral("7"));

    click(member(w, "NumBtn", 0));
    typeInto(lower, "");
    QCOMPARE(checkedIndex(w, "NumBtn"), 1);
    QCOMPARE(lower->currentText(), QStringLiteral("2"));

    // Typed text never becomes an entry, not even with Return (which here meets a refusal).
    click(member(w, "NumBtn", 2));
    typeInto(combo(w, "FactFam", 0), "77");
    QTest::keyClick(combo(w, "FactFam", 0), Qt::Key_Return);
    QCOMPARE(ann.dialogs.messages(), QStringList{"Please set both numbers of the fact family."});
    QCOMPARE(entries(combo(w, "FactFam", 0)), numbers(2, 10));
    QCOMPARE(entries(lower), numbers(1, 10));
}

void TestParamScrn::pickingAHighestNumber_data() {
    QTest::addColumn<QString>("pick");
    QTest::addColumn<QString>("highest");
    QTest::addColumn<QStringList>("lowerList");
    QTest::addColumn<QString>("lowerText");
    QTest::addColumn<int>("familyTop");

    QTest::newRow("higher: the lower number fits") << "12"
                                                   << "12" << numbers(2, 12) << "9" << 12;
    QTest::newRow("lower: the lower number is dropped") << "6"
                                                        << "6" << numbers(2, 6) << "" << 6;
    QTest::newRow("the same: only the family lists") << "10"
                                                     << "10" << numbers(1, 10) << "9" << 10;
}

void TestParamScrn::pickingAHighestNumber() {
    QFETCH(QString, pick);
    QFETCH(QString, highest);
    QFETCH(QStringList, lowerList);
    QFETCH(QString, lowerText);
    QFETCH(int, familyTop);

    SignedIn ann(kDefaults);
    ParamScrn* w = openSettings();
    settle(w);
    act(w, {"lower 9", "fam 3|5", "num 0"});
    QCOMPARE(checkedIndex(w, "NumBtn"), 0);

    pickEntry(combo(w, "HiNumFld"), pick);

    QCOMPARE(SignedIn::field(StRecord::HighestParam), highest);
    QCOMPARE(entries(combo(w, "BotNumFld")), lowerList);
    QCOMPARE(combo(w, "BotNumFld")->currentText(), lowerText);
    QCOMPARE(entries(combo(w, "FactFam", 0)), numbers(2, familyTop));
    QCOMPARE(entries(combo(w, "FactFam", 1)), numbers(2, familyTop));
    QCOMPARE(combo(w, "FactFam", 0)->currentText(), QStringLiteral("3"));
    QCOMPARE(combo(w, "FactFam", 1)->currentText(), QStringLiteral("5"));
    // The refill chooses no numbers for the student.
    QCOMPARE(checkedIndex(w, "NumBtn"), 0);
    QCOMPARE(SignedIn::field(StRecord::NumbersParam), QStringLiteral("0"));
}

void TestParamScrn::typingAHighestNumber_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("in range") << "12"
                              << "12";
    QTest::newRow("above") << "25"
                           << "19";
    QTest::newRow("below") << "3"
                           << "4";
    QTest::newRow("letters") << "abc"
                             << "4";
    QTest::newRow("too large for any integer") << "99999999999"
                                               << "19";
    QTest::newRow("a comma would split the stored list") << "1,2"
                                                         << "4";
    QTest::newRow("a thousand written with a power of ten") << "1e3"
                                                            << "19";
    QTest::newRow("fifteen written with a power of ten") << "1.5e1"
                                                         << "15";
    QTest::newRow("letters after the number") << "12abc"
                                              << "12";
}

void TestParamScrn::typingAHighestNumber() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);

    SignedIn ann(kDefaults);
    ParamScrn* w = openSettings();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    settle(w);
    NumberCombo* highest = combo(w, "HiNumFld");
    highest->setFocus();
    typeInto(highest, typed);
    combo(w, "totProbsFld")->setFocus();

    QCOMPARE(SignedIn::field(StRecord::HighestParam), stored);
    // Leaving the box refills no list, even when the text is one of its entries.
    QCOMPARE(entries(combo(w, "BotNumFld")), numbers(1, 10));
    QCOMPARE(entries(combo(w, "FactFam", 0)), numbers(2, 10));
    QCOMPARE(entries(highest), numbers(4, 19));
    QCOMPARE(highest->currentText(), typed);

    if (typed == QLatin1String("12")) {
        pickEntry(highest, "12");
        QCOMPARE(entries(combo(w, "BotNumFld")), numbers(1, 10));
        QCOMPARE(entries(combo(w, "FactFam", 0)), numbers(2, 12));
    }
}

void TestParamScrn::selectOperationsOnlyForRandom() {
    SignedIn ann("0,0,10,1^0^1^0,0,15,10,0,0,0,0");
    ParamScrn* w = openSettings();
    settle(w);
    auto* select = w->findChild<QPushButton*>("selFuncBtn");
    QVERIFY(!select->isEnabled());
    click(member(w, "FNadd", 4));
    QVERIFY(select->isEnabled());
    click(member(w, "FNadd", 1));
    QVERIFY(!select->isEnabled());
    click(member(w, "FNadd", 4));
    QCOMPARE(SignedIn::field(StRecord::OperationParam), QStringLiteral("0"));

    QString title;
    onModal([&](QWidget* dialog) {
        title = dialog->windowTitle();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    click(select);
    QCOMPARE(title, QStringLiteral("Select Functions"));
    QVERIFY(w->isVisible());
    QCOMPARE(SignedIn::field(StRecord::AllowedOpsParam), QStringLiteral("1^0^1^0"));
}

QTEST_MAIN(TestParamScrn)
#include "tst_paramscrn.moc"
