// The problem-set maker driven as a teacher drives it: typing, checking and adding problems, the
// sign and the live answer, the full list and Delete, saving and opening sets, the question that
// protects unsaved changes on every way out, and the way in from the sign-in window.

#include "app/menus.h"
#include "app/onmodal.h"
#include "main/routes.h"
#include "controls/newcnvbtn.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "data/rndset.h"
#include "help/helpscrn2.h"
#include "setmaker/creategamescrn.h"
#include "setmaker/setfile.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"
#include "support/outsideinputs.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <memory>

using Seams::Answer;
using TestDoubles::Shown;

namespace {

createGameScrn* maker() {
    return createGameScrn::instance();
}

template <typename T> T* part(const char* name) {
    T* w = maker()->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

QLineEdit* topFld() {
    return part<QLineEdit>("topFld");
}
QLineEdit* botFld() {
    return part<QLineEdit>("botFld");
}
QLineEdit* nameFld() {
    return part<QLineEdit>("nameFld");
}
QListWidget* probList() {
    return part<QListWidget>("probList");
}
QLabel* resultFld() {
    return part<QLabel>("resultFld");
}
QLabel* InstrTxt() {
    return part<QLabel>("InstrTxt");
}
newCnvBtn* addBtn() {
    return part<newCnvBtn>("addBtn");
}
QWidget* funcCnv() {
    return part<QWidget>("funcCnv");
}
QAction* item(const char* name) {
    return maker()->menuBar()->item(QString::fromLatin1(name));
}

QStringList rows() {
    QStringList texts;
    for (int i = 0; i < probList()->count(); ++i)
        texts << probList()->item(i)->text();
    return texts;
}

QColor textColour(QLabel* l) {
    return l->palette().color(QPalette::WindowText);
}

const QColor kPurple(0xAC, 0x00, 0xE1);

// Where Tab goes from a control.
QWidget* nextTabStop(QWidget* from) {
    for (QWidget* w = from->nextInFocusChain(); w != from; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled())
            return w;
    }
    return nullptr;
}

void press(newCnvBtn* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
}

void clickSign() {
    QTest::mouseClick(funcCnv(), Qt::LeftButton, {}, QPoint(12, 12));
}

void chooseOperation(int operation) {
    for (int i = 0; i < 4 && maker()->operation() != operation; ++i)
        clickSign();
    QCOMPARE(maker()->operation(), operation);
}

// Types the two numbers as keys into emptied fields, chooses the operation and presses Return.
void addProblem(const QString& top, int operation, const QString& bottom) {
    topFld()->clear();
    botFld()->clear();
    QTest::keyClicks(topFld(), top);
    QTest::keyClicks(botFld(), bottom);
    chooseOperation(operation);
    QTest::keyClick(botFld(), Qt::Key_Return);
}

QString setsFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath("NBQ_InputSets");
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString writeSetFile(const QString& fileName, const QByteArray& bytes) {
    QDir().mkpath(setsFolder());
    const QString path = QDir(setsFolder()).filePath(fileName);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

QByteArray records(int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        const QByteArray text = QByteArray::number(i + 1) + " + 1";
        bytes += char(text.size()) + text;
    }
    return bytes;
}

} // namespace

class TestCreateGameScrn : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensEmptyWithItsControls_data();
    void opensEmptyWithItsControls();
    void numberFieldsRefuseWhatDoesNotFit_data();
    void numberFieldsRefuseWhatDoesNotFit();
    void addingChecksTheEntry_data();
    void addingChecksTheEntry();
    void returnInTheNameFieldAddsNothing();
    void theAnswerFollowsTheTyping();
    void clickingTheSignStepsItOnRelease();
    void heldArrowKeysStepTheSign();
    void twentyRowsCloseTheEntryAndDeleteOpensIt();
    void saveWritesTheSet();
    void saveRefusesAndKeepsEverything_data();
    void saveRefusesAndKeepsEverything();
    void withoutAPreferencesFolder();
    void openReadsASet();
    void openTakesWhatADamagedFileHolds_data();
    void openTakesWhatADamagedFileHolds();
    void noSetPassesTwentyRows();
    void openMakesNoFolder();
    void setsLieInTheSharedFolder();
    void openRefusesWhatIsNoSetAtOnce_data();
    void openRefusesWhatIsNoSetAtOnce();
    void theQuestion_data();
    void theQuestion();
    void aRefusedCloseLeavesNewAndOpenClearing();
    void timersStopAtClose();
    void adminMenuOpensTheMakerAndQuitStopsForIt();
    void helpOutlivesTheMaker();

private:
    std::unique_ptr<TestDoubles::ScriptedDialogs> dialogs;
    std::unique_ptr<TestDoubles::RecordingFeedback> feedback;
    QString proxyFile;
};

void TestCreateGameScrn::initTestCase() {
    // The modified mark shows only while the program has its proxy-icon file.
    proxyFile = QDir::home().filePath("NBQProxyIcon.png");
    QFile f(proxyFile);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("icon");
}

void TestCreateGameScrn::init() {
    dialogs = std::make_unique<TestDoubles::ScriptedDialogs>();
    feedback = std::make_unique<TestDoubles::RecordingFeedback>();
    myPrefs::initPrefs();
    myGlobals::pFile = proxyFile;
    QDir(setsFolder()).removeRecursively();
    maker()->show();
    QVERIFY(QTest::qWaitForWindowExposed(maker()));
    maker()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(maker()));
}

void TestCreateGameScrn::cleanup() {
    if (createGameScrn::exists()) {
        dialogs->answers = {Answer::Alternate};
        maker()->close();
        QTRY_VERIFY(!createGameScrn::exists());
    }
    if (NameScrn::exists())
        NameScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    feedback.reset();
    dialogs.reset();
}

// ---- The window

void TestCreateGameScrn::opensEmptyWithItsControls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");
    QTest::newRow("StaticText2") << "StaticText2" << QRect(37, 18, 100, 20) << "-- Current Set --";
    QTest::newRow("probList") << "probList" << QRect(36, 39, 100, 328) << "";
    QTest::newRow("InstrTxt") << "InstrTxt" << QRect(163, 18, 160, 20) << "Enter Math Problem";
    QTest::newRow("topFld") << "topFld" << QRect(229, 39, 40, 22) << "";
    QTest::newRow("StaticText6") << "StaticText6" << QRect(285, 41, 50, 20) << "<=999";
    QTest::newRow("funcCnv") << "funcCnv" << QRect(193, 65, 24, 24) << "";
    QTest::newRow("botFld") << "botFld" << QRect(229, 67, 40, 22) << "";
    QTest::newRow("StaticText7") << "StaticText7" << QRect(285, 68, 50, 20) << "<=99";
    QTest::newRow("resultFld") << "resultFld" << QRect(229, 101, 40, 20) << "";
    QTest::newRow("StaticText1") << "StaticText1" << QRect(158, 137, 200, 30)
                                 << "Click on the function picture, or use the arrow keys, to cycle thru the "
                                    "functions";
    QTest::newRow("addBtn") << "addBtn" << QRect(198, 186, 120, 29) << "Add";
    QTest::newRow("Label1") << "Label1" << QRect(198, 217, 120, 16) << "Enter";
    QTest::newRow("StaticText5") << "StaticText5" << QRect(188, 253, 140, 20) << "< Current Set Name >";
    QTest::newRow("nameFld") << "nameFld" << QRect(178, 276, 160, 22) << "";
    QTest::newRow("CloseBtn") << "CloseBtn" << QRect(193, 337, 120, 29) << "Close";
}

void TestCreateGameScrn::opensEmptyWithItsControls() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    QWidget* w = maker()->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w->geometry(), place);
    QCOMPARE(w->parentWidget()->size(), QSize(400, 387));
    QVERIFY(w->isVisible());
    if (auto* l = qobject_cast<QLabel*>(w))
        QCOMPARE(l->text(), text);
    else if (auto* f = qobject_cast<QLineEdit*>(w))
        QCOMPARE(f->text(), text);
    else if (auto* b = qobject_cast<newCnvBtn*>(w))
        QCOMPARE(b->myCaption(), text);

    if (name != QLatin1String("probList"))
        return;
    // Once: what every opening starts with.
    createGameScrn* m = maker();
    QCOMPARE(m->windowTitle().remove(QLatin1String("[*]")), QStringLiteral("Create Problem Sets"));
    QCOMPARE(m->windowModality(), Qt::ApplicationModal);
    QVERIFY(!(m->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(m->minimumSize(), m->maximumSize());
    QCOMPARE(probList()->count(), 0);
    QCOMPARE(m->operation(), 0);
    QCOMPARE(m->focusWidget(), topFld());
    QCOMPARE(textColour(InstrTxt()), kPurple);
    QVERIFY(!m->dirty());
    QVERIFY(!m->isWindowModified());
    QCOMPARE(part<newCnvBtn>("addBtn")->kind(), 1);
    QCOMPARE(part<newCnvBtn>("CloseBtn")->kind(), 0);
    QCOMPARE(part<QLabel>("StaticText6")->toolTip(),
             QStringLiteral("Enter a number less than or equal to 999"));
    QCOMPARE(part<QLabel>("StaticText7")->toolTip(),
             QStringLiteral("Enter a number less than or equal to 99"));
    QStringList numbers;
    for (QLabel* n : m->findChildren<QLabel*>(QStringLiteral("NumTxt")))
        numbers << n->text();
    QCOMPARE(numbers.size(), 20);
    QCOMPARE(numbers.first(), QStringLiteral("1)"));
    QCOMPARE(numbers.last(), QStringLiteral("20)"));
    // Focus order; the sign and the picture buttons never take the keyboard.
    QCOMPARE(nextTabStop(probList()), topFld());
    QCOMPARE(nextTabStop(topFld()), botFld());
    QCOMPARE(nextTabStop(botFld()), nameFld());
    QCOMPARE(nextTabStop(nameFld()), probList());
    QCOMPARE(funcCnv()->focusPolicy(), Qt::NoFocus);
    // The File items read as the maker's; items it does not handle are off.
    QCOMPARE(item("FileNew")->text(), QStringLiteral("New Set"));
    QCOMPARE(item("FileOpen")->text(), QStringLiteral("Open Set"));
    QCOMPARE(item("FileSave")->text(), QStringLiteral("Save Set"));
    for (const char* off : {"FileImport", "FileExport", "FilePageSetup", "FilePrint"})
        QVERIFY2(!item(off)->isEnabled(), off);
    for (const char* on : {"FileNew", "FileOpen", "FileSave", "FileClose", "EditClear", "FileQuit"})
        QVERIFY2(item(on)->isEnabled(), on);
}

void TestCreateGameScrn::numberFieldsRefuseWhatDoesNotFit_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("three digits") << "topFld"
                                  << "1234"
                                  << "123";
    QTest::newRow("a minus first") << "topFld"
                                   << "-999"
                                   << "-99";
    QTest::newRow("a minus later") << "topFld"
                                   << "5-5"
                                   << "55";
    QTest::newRow("a letter first") << "topFld"
                                    << "a12"
                                    << "a12";
    QTest::newRow("a letter later") << "topFld"
                                    << "1a2"
                                    << "12";
    QTest::newRow("a point first") << "topFld"
                                   << ".5"
                                   << ".5";
    QTest::newRow("a plus first") << "topFld"
                                  << "+5"
                                  << "+5";
    QTest::newRow("bottom: two digits") << "botFld"
                                        << "123"
                                        << "12";
    QTest::newRow("bottom: a minus first") << "botFld"
                                           << "-99"
                                           << "-9";
    QTest::newRow("bottom: two minus signs") << "botFld"
                                             << "--"
                                             << "-";
}

void TestCreateGameScrn::numberFieldsRefuseWhatDoesNotFit() {
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    auto* f = part<QLineEdit>(qPrintable(field));
    QTest::keyClicks(f, keys);
    QCOMPARE(f->text(), text);
}

// ---- Adding a problem

void TestCreateGameScrn::addingChecksTheEntry_data() {
    QTest::addColumn<QString>("top");
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("bottom");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("row");      // the row added, or empty
    QTest::addColumn<QString>("topAfter"); // the fields after a refusal
    QTest::addColumn<QString>("botAfter");
    QTest::addColumn<QString>("alert"); // the plain message, or empty
    QTest::newRow("largest") << "999" << 2 << "99"
                             << "Return"
                             << "999 X 99"
                             << ""
                             << ""
                             << "";
    QTest::newRow("smallest, by Enter") << "-99" << 0 << "-9"
                                        << "Enter"
                                        << "-99 + -9"
                                        << ""
                                        << ""
                                        << "";
    QTest::newRow("by the Add button") << "-5" << 1 << "-3"
                                       << "Add"
                                       << "-5 - -3"
                                       << ""
                                       << ""
                                       << "";
    QTest::newRow("whole division") << "-8" << 3 << "2"
                                    << "Return"
                                    << "-8 / 2"
                                    << ""
                                    << ""
                                    << "";
    QTest::newRow("zero divided") << "0" << 3 << "5"
                                  << "Return"
                                  << "0 / 5"
                                  << ""
                                  << ""
                                  << "";
    QTest::newRow("times zero") << "5" << 2 << "0"
                                << "Add"
                                << "5 X 0"
                                << ""
                                << ""
                                << "";
    QTest::newRow("both empty") << "" << 0 << ""
                                << "Return"
                                << ""
                                << "?"
                                << ""
                                << "";
    QTest::newRow("bottom empty") << "5" << 0 << ""
                                  << "Add"
                                  << ""
                                  << "5"
                                  << "?"
                                  << "";
    QTest::newRow("plus sign") << "+5" << 0 << "3"
                               << "Return"
                               << ""
                               << "?"
                               << "3"
                               << "";
    QTest::newRow("only a minus") << "-" << 1 << "3"
                                  << "Return"
                                  << ""
                                  << "?"
                                  << "3"
                                  << "";
    QTest::newRow("bottom only a minus") << "4" << 1 << "-"
                                         << "Return"
                                         << ""
                                         << "4"
                                         << "?"
                                         << "";
    QTest::newRow("not whole") << "7" << 3 << "3"
                               << "Return"
                               << ""
                               << "7"
                               << "3"
                               << "The answer must be a whole number.";
    QTest::newRow("not whole, negative") << "-7" << 3 << "2"
                                         << "Add"
                                         << ""
                                         << "-7"
                                         << "2"
                                         << "The answer must be a whole number.";
    QTest::newRow("not whole, negative divisor") << "7" << 3 << "-2"
                                                 << "Return"
                                                 << ""
                                                 << "7"
                                                 << "-2"
                                                 << "The answer must be a whole number.";
    QTest::newRow("divided by zero") << "5" << 3 << "0"
                                     << "Return"
                                     << ""
                                     << "5"
                                     << "0"
                                     << "A number cannot be divided by 0.";
}

void TestCreateGameScrn::addingChecksTheEntry() {
    QFETCH(QString, top);
    QFETCH(int, operation);
    QFETCH(QString, bottom);
    QFETCH(QString, how);
    QFETCH(QString, row);
    QFETCH(QString, topAfter);
    QFETCH(QString, botAfter);
    QFETCH(QString, alert);

    QTest::keyClicks(topFld(), top);
    QTest::keyClicks(botFld(), bottom);
    chooseOperation(operation);
    if (!top.isEmpty() || !bottom.isEmpty())
        QTRY_VERIFY(!resultFld()->text().isEmpty());
    const QString answer = resultFld()->text();
    if (how == QLatin1String("Add"))
        press(addBtn());
    else
        QTest::keyClick(botFld(), how == QLatin1String("Enter") ? Qt::Key_Enter : Qt::Key_Return);

    QCOMPARE(maker()->operation(), operation); // kept for the next problem
    if (!row.isEmpty()) {
        QCOMPARE(rows(), QStringList{row});
        QVERIFY(topFld()->text().isEmpty() && botFld()->text().isEmpty() && resultFld()->text().isEmpty());
        QCOMPARE(InstrTxt()->text(), QStringLiteral("Enter Math Problem"));
        QCOMPARE(textColour(InstrTxt()), QColor(Qt::black));
        QVERIFY(maker()->dirty());
        QVERIFY(maker()->isWindowModified());
        QCOMPARE(maker()->focusWidget(), topFld());
        QCOMPARE(feedback->beeps, 0);
        QVERIFY(dialogs->shown.isEmpty());
        return;
    }
    QVERIFY(rows().isEmpty());
    QVERIFY(!maker()->dirty());
    QVERIFY(!maker()->isWindowModified());
    QCOMPARE(topFld()->text(), topAfter);
    QCOMPARE(botFld()->text(), botAfter);
    if (!alert.isEmpty()) {
        // Told in an alert; the fields, the answer and the instruction line stay as they were.
        QCOMPARE(dialogs->messages(), QStringList{alert});
        QCOMPARE(dialogs->shown[0].kind, Shown::Plain);
        QCOMPARE(feedback->beeps, 0);
        QCOMPARE(resultFld()->text(), answer);
        QCOMPARE(InstrTxt()->text(), QStringLiteral("Enter Math Problem"));
        QCOMPARE(textColour(InstrTxt()), kPurple);
        return;
    }
    // One beep, the "?" selected in the field at fault, and a red "Entry Error".
    QCOMPARE(feedback->beeps, 1);
    QVERIFY(dialogs->shown.isEmpty());
    QLineEdit* reset = topAfter == QLatin1String("?") ? topFld() : botFld();
    QCOMPARE(reset->selectedText(), QStringLiteral("?"));
    QCOMPARE(InstrTxt()->text(), QStringLiteral("Entry Error"));
    QCOMPARE(textColour(InstrTxt()), QColor(0xFF, 0, 0));
}

void TestCreateGameScrn::returnInTheNameFieldAddsNothing() {
    QTest::keyClicks(topFld(), "4");
    QTest::keyClicks(botFld(), "4");
    QTest::keyClicks(nameFld(), "week1");
    QTest::keyClick(nameFld(), Qt::Key_Return);
    QVERIFY(rows().isEmpty());
    QCOMPARE(feedback->beeps, 0);
}

// ---- The sign and the live answer

void TestCreateGameScrn::theAnswerFollowsTheTyping() {
    auto* calc = maker()->findChild<QTimer*>(QStringLiteral("calcTimer"));
    QVERIFY(calc && calc->isSingleShot());
    QCOMPARE(calc->interval(), 100);
    QTest::keyClicks(topFld(), "999");
    // Worked out a moment after the last key, not at once.
    QVERIFY(calc->isActive());
    QVERIFY(resultFld()->text().isEmpty());
    QTRY_COMPARE(resultFld()->text(), QStringLiteral("999"));
    QTest::keyClicks(botFld(), "99");
    QTRY_COMPARE(resultFld()->text(), QStringLiteral("1098"));
    // A new sign works the answer out again.
    chooseOperation(2);
    QCOMPARE(resultFld()->text(), QStringLiteral("98901"));
    chooseOperation(3);
    QCOMPARE(resultFld()->text(), QStringLiteral("10"));
    QTest::keyClick(botFld(), Qt::Key_Backspace);
    QTest::keyClick(botFld(), Qt::Key_Backspace);
    QTest::keyClicks(botFld(), "0");
    QTRY_COMPARE(resultFld()->text(), QStringLiteral("0"));
    // After an added problem the answer stays empty until the next key, whatever the sign does.
    chooseOperation(0);
    QTest::keyClick(botFld(), Qt::Key_Return);
    QCOMPARE(rows(), QStringList{"999 + 0"});
    QVERIFY(resultFld()->text().isEmpty());
    clickSign();
    QVERIFY(resultFld()->text().isEmpty());
}

void TestCreateGameScrn::clickingTheSignStepsItOnRelease() {
    const QPoint home = funcCnv()->pos();
    QStringList seen;
    for (int i = 0; i < 5; ++i) {
        QTest::mousePress(funcCnv(), Qt::LeftButton, {}, QPoint(12, 12));
        QCOMPARE(funcCnv()->pos(), home + QPoint(2, 2));
        QCOMPARE(maker()->operation(), i % 4); // not yet
        QTest::mouseRelease(funcCnv(), Qt::LeftButton, {}, QPoint(14, 14));
        QCOMPARE(funcCnv()->pos(), home);
        seen << QString::number(maker()->operation());
    }
    QCOMPARE(seen, (QStringList{"1", "2", "3", "0", "1"}));
    // Changing the sign leaves the fields alone.
    QTest::keyClicks(topFld(), "12");
    clickSign();
    QCOMPARE(topFld()->text(), QStringLiteral("12"));
}

void TestCreateGameScrn::heldArrowKeysStepTheSign() {
    auto* keys = maker()->findChild<QTimer*>(QStringLiteral("keyTimer"));
    QVERIFY(keys && keys->isActive() && !keys->isSingleShot());
    QCOMPARE(keys->interval(), 250);

    // Held: once every tick, whichever control has the keyboard.
    QTest::keyPress(topFld(), Qt::Key_Up);
    QTRY_COMPARE_WITH_TIMEOUT(maker()->operation(), 1, 1000);
    QTRY_COMPARE_WITH_TIMEOUT(maker()->operation(), 2, 1000);
    QTest::keyRelease(topFld(), Qt::Key_Up);
    const int after = maker()->operation();
    QTest::qWait(600);
    QCOMPARE(maker()->operation(), after);

    // Down steps back, and wraps below addition; Up wins when both are held.
    chooseOperation(0);
    QTest::keyPress(nameFld(), Qt::Key_Down);
    QTRY_COMPARE_WITH_TIMEOUT(maker()->operation(), 3, 1000);
    QTest::keyPress(nameFld(), Qt::Key_Up);
    QTRY_COMPARE_WITH_TIMEOUT(maker()->operation(), 0, 1000);
    QTest::keyRelease(nameFld(), Qt::Key_Up);
    QTest::keyRelease(nameFld(), Qt::Key_Down);

    // A press that begins and ends between two ticks changes nothing.
    const int before = maker()->operation();
    QTest::keyClick(topFld(), Qt::Key_Up);
    QTest::qWait(600);
    QCOMPARE(maker()->operation(), before);

    // Only while the maker is the active window (a help window over it takes the keys for itself).
    QWidget help(maker(), Qt::Window);
    help.show();
    help.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&help));
    QTest::keyPress(&help, Qt::Key_Up);
    QTest::qWait(600);
    QCOMPARE(maker()->operation(), before);
    QTest::keyRelease(&help, Qt::Key_Up);
}

// ---- The list

void TestCreateGameScrn::twentyRowsCloseTheEntryAndDeleteOpensIt() {
    // Delete with no row selected: a beep, and the set is not marked changed.
    item("EditClear")->trigger();
    QCOMPARE(feedback->beeps, 1);
    QVERIFY(!maker()->dirty());

    for (int i = 1; i <= 20; ++i)
        addProblem(QString::number(i), 0, "1");
    QCOMPARE(rows().size(), 20);
    QCOMPARE(rows().last(), QStringLiteral("20 + 1"));
    QVERIFY(!topFld()->isEnabled() && !botFld()->isEnabled());
    QVERIFY(topFld()->text().isEmpty());
    QVERIFY(!addBtn()->isVisible());
    QVERIFY(part<QLabel>("Label1")->isVisible());
    // Return and "Add" can no longer reach the entry.
    QTest::keyClicks(topFld(), "5");
    QTest::keyClick(topFld(), Qt::Key_Return);
    QCOMPARE(rows().size(), 20);

    // Saved, then a row deleted from the full list: entry open again and the set changed again.
    QTest::keyClicks(nameFld(), "twenty");
    item("FileSave")->trigger();
    QVERIFY(!maker()->dirty());
    probList()->setCurrentRow(4);
    item("EditClear")->trigger();
    QCOMPARE(rows().size(), 19);
    QCOMPARE(rows().at(4), QStringLiteral("6 + 1"));
    QVERIFY(topFld()->isEnabled() && botFld()->isEnabled() && addBtn()->isVisible());
    QVERIFY(maker()->dirty());
    QVERIFY(maker()->isWindowModified());
    // The fields, the answer and the sign were not touched.
    QVERIFY(topFld()->text().isEmpty());
    QCOMPARE(maker()->operation(), 0);
    // Ctrl+D from the keyboard, the row picked in the list.
    probList()->setFocus();
    probList()->setCurrentRow(0);
    QTest::keyClick(probList(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(rows().size(), 18);
    QCOMPARE(rows().first(), QStringLiteral("2 + 1"));
    addProblem("21", 1, "1");
    addProblem("22", 1, "1");
    QCOMPARE(rows().size(), 20);
    QVERIFY(!topFld()->isEnabled());
    QCOMPARE(feedback->beeps, 1);
}

// ---- Save Set

void TestCreateGameScrn::saveWritesTheSet() {
    addProblem("12", 0, "7");
    addProblem("-5", 1, "-3");
    addProblem("100", 3, "10");
    addProblem("9", 2, "9");
    QVERIFY(maker()->isWindowModified());
    QTest::keyClicks(nameFld(), "week1");
    item("FileSave")->trigger();
    QCOMPARE(dialogs->messages(),
             QStringList{"The problem set <week1> was saved into the <NBQ_InputSets> folder."});
    QCOMPARE(dialogs->shown[0].kind, Shown::Plain);
    const QString week1 = QDir(setsFolder()).filePath("week1.nbx");
    QCOMPARE(fileBytes(week1).toHex(' '), QByteArray("06 31 32 20 2b 20 37 07 2d 35 20 2d 20 2d 33 "
                                                     "08 31 30 30 20 2f 20 31 30 05 39 20 58 20 39"));
    // Made by the first save, the teacher's own like the data: no other account reads or changes it.
    QCOMPARE(QFile::permissions(setsFolder()) & 0x7777, QFileDevice::Permissions(0x7700));
    QVERIFY(!maker()->dirty());
    QVERIFY(!maker()->isWindowModified());
    QCOMPARE(rows().size(), 4);

    // A round drawing from saved sets finds the set where its chooser starts, as the same problems.
    myPrefs::prDataSource = 2;
    dialogs->paths = {week1};
    const rndSet round(10, 10, 0, false, false, myPrefs::getInputSetsFolder());
    QCOMPARE(dialogs->shown.last().file.folder, setsFolder());
    QCOMPARE(round.roundReport().myTotProbs, std::optional<int>(4));
    QStringList drawn;
    for (int i = 0; i < 4; ++i)
        drawn << QStringLiteral("%1 %2 %3")
                     .arg(round.getTopNum(i))
                     .arg(round.getFunc(i))
                     .arg(round.getBotNum(i));
    QCOMPARE(drawn, (QStringList{"12 0 7", "-5 1 -3", "100 3 10", "9 2 9"}));

    // A second save under one name, with or without changes, writes nothing.
    dialogs->clear();
    item("FileSave")->trigger();
    addProblem("1", 0, "1");
    item("FileSave")->trigger();
    QCOMPARE(dialogs->messages(), (QStringList{"There was an error in saving the current set.",
                                               "There was an error in saving the current set."}));
    // Told apart from a failing disk: the name is the teacher's to change.
    for (const Shown& refusal : dialogs->shown)
        QCOMPARE(refusal.explanation, QStringLiteral("A set named <week1> is saved already, and a saved set "
                                                     "is never replaced. Please choose a new name for this "
                                                     "set."));
    QCOMPARE(fileBytes(week1).size(), 30);
    QVERIFY(maker()->dirty());

    // A name ending in ".nbx" (any case) is not given a second one; the message names it as typed.
    dialogs->clear();
    nameFld()->setText("week2.NBX");
    item("FileSave")->trigger();
    QCOMPARE(dialogs->messages(),
             QStringList{"The problem set <week2.NBX> was saved into the <NBQ_InputSets> folder."});
    QCOMPARE(QDir(setsFolder()).entryList(QDir::Files), (QStringList{"week1.nbx", "week2.nbx"}));

    // An empty set is an empty file.
    item("FileNew")->trigger();
    nameFld()->setText("empty");
    item("FileSave")->trigger();
    QCOMPARE(fileBytes(QDir(setsFolder()).filePath("empty.nbx")), QByteArray());
}

void TestCreateGameScrn::saveRefusesAndKeepsEverything_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("no name") << ""
                             << "Please provide a name for this set.";
    QTest::newRow("a parent folder") << "../x"
                                     << "A set name cannot contain / or \\ or begin with a dot.";
    QTest::newRow("a sub folder") << "a/b"
                                  << "A set name cannot contain / or \\ or begin with a dot.";
    QTest::newRow("a backslash") << "a\\b"
                                 << "A set name cannot contain / or \\ or begin with a dot.";
    QTest::newRow("a hidden file") << ".week1"
                                   << "A set name cannot contain / or \\ or begin with a dot.";
    QTest::newRow("a control character") << "a\tb"
                                         << "A set name cannot contain / or \\ or begin with a dot.";
    QTest::newRow("a name too long for a file")
        << QString(300, QLatin1Char('w')) << "There was an error in saving the current set.";
}

void TestCreateGameScrn::saveRefusesAndKeepsEverything() {
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    addProblem("3", 0, "4");
    nameFld()->setText(name);
    item("FileSave")->trigger();
    QCOMPARE(dialogs->messages(), QStringList{refusal});
    QCOMPARE(dialogs->shown.last().explanation, QString()); // no name taken: no word about one
    QCOMPARE(rows(), QStringList{"3 + 4"});
    QCOMPARE(nameFld()->text(), name);
    QVERIFY(maker()->dirty() && maker()->isWindowModified());
    // Nothing written, inside the sets folder or beside it.
    const QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    QVERIFY(QDir(setsFolder()).entryList(QDir::Files).isEmpty());
    QVERIFY(!config.exists("x.nbx") && !config.exists("x"));
}

void TestCreateGameScrn::withoutAPreferencesFolder() {
    // No preferences folder can be had: Save says so, and the chooser starts in the home folder.
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    const QString blocker = QDir::home().filePath("not-a-folder");
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker + "/config"));
    addProblem("3", 0, "4");
    nameFld()->setText("week1");
    item("FileSave")->trigger();
    item("FileOpen")->trigger(); // dirty: the question first, answered with cancel
    qputenv("XDG_CONFIG_HOME", config);
    QFile::remove(blocker);
    QCOMPARE(dialogs->messages().first(), QStringLiteral("There was an error in saving the current set."));
    QVERIFY(maker()->dirty());
    QCOMPARE(dialogs->shown.last().kind, Shown::OpenFile);
    QCOMPARE(dialogs->shown.last().file.folder, QDir::homePath());
}

// ---- Open Set

void TestCreateGameScrn::openReadsASet() {
    QStringList twenty;
    for (int i = 1; i <= 20; ++i) {
        addProblem(QString::number(i * 2), 3, "2");
        twenty << QString::number(i * 2) + " / 2";
    }
    nameFld()->setText("week1");
    item("FileSave")->trigger();
    item("FileNew")->trigger(); // clean: cleared without a question
    QVERIFY(rows().isEmpty() && nameFld()->text().isEmpty());
    QVERIFY(topFld()->isEnabled() && addBtn()->isVisible());

    dialogs->clear();
    dialogs->paths = {QDir(setsFolder()).filePath("week1.nbx")};
    item("FileOpen")->trigger();
    QCOMPARE(dialogs->shown.size(), 1);
    const Seams::FileRequest asked = dialogs->shown[0].file;
    QCOMPARE(asked.title, QStringLiteral("Select a 'Numbrook Riza' set file"));
    QCOMPARE(asked.fileTypes, QStringList{"SavedSet"});
    QCOMPARE(asked.folder, setsFolder());
    QCOMPARE(rows(), twenty);
    QCOMPARE(nameFld()->text(), QStringLiteral("week1"));
    QVERIFY(!maker()->dirty());
    QVERIFY(!topFld()->isEnabled() && !botFld()->isEnabled() && !addBtn()->isVisible());

    // Open again, the chooser dismissed: the clean window was cleared and stays empty.
    dialogs->paths.clear();
    item("FileOpen")->trigger();
    QVERIFY(rows().isEmpty());
    QVERIFY(nameFld()->text().isEmpty());
    QVERIFY(topFld()->isEnabled() && addBtn()->isVisible());
    QVERIFY(!maker()->dirty());
}

void TestCreateGameScrn::openTakesWhatADamagedFileHolds_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << QStringList{} << "";
    QTest::newRow("a record cut off")
        << QByteArray::fromHex("05 39 20 58 20 39 07 2D 35") << QStringList{"9 X 9"} << "";
    QTest::newRow("more than 20") << records(25)
                                  << QStringList{"1 + 1",  "2 + 1",  "3 + 1",  "4 + 1",  "5 + 1",
                                                 "6 + 1",  "7 + 1",  "8 + 1",  "9 + 1",  "10 + 1",
                                                 "11 + 1", "12 + 1", "13 + 1", "14 + 1", "15 + 1",
                                                 "16 + 1", "17 + 1", "18 + 1", "19 + 1", "20 + 1"}
                                  << "Only 20 problems fit in a set; the rest of this file was not added.";
    // Its first byte announces a record of 137 bytes where 19 follow: no record is whole.
    QTest::newRow("a picture") << QByteArray::fromHex(
                                      "89 50 4E 47 0D 0A 1A 0A 00 00 00 0D 49 48 44 52 00 00 00 10")
                               << QStringList{} << "";
    // A picture whose first byte announces a short record: its bytes come in as rows, unchecked, as
    // the records of any file do.
    QTest::newRow("a picture read as records")
        << QByteArray::fromHex("05 50 4E 47 0D 0A 03 1A 0A 00 01 49")
        << QStringList{QString::fromLatin1("PNG\r\n"), QString::fromLatin1("\x1a\n\0", 3), "I"} << "";
}

void TestCreateGameScrn::openTakesWhatADamagedFileHolds() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    QFETCH(QString, message);
    dialogs->paths = {writeSetFile("odd.nbx", bytes)};
    item("FileOpen")->trigger();
    QVERIFY(rows().size() <= 20);
    QCOMPARE(rows(), expected);
    QCOMPARE(nameFld()->text(), QStringLiteral("odd"));
    QCOMPARE(topFld()->isEnabled(), expected.size() < 20);
    const QStringList said = dialogs->messages();
    QCOMPARE(said, message.isEmpty() ? QStringList{} : QStringList{message});
}

void TestCreateGameScrn::noSetPassesTwentyRows() {
    // A chosen file that cannot be read.
    dialogs->paths = {QDir(setsFolder()).filePath("gone.nbx")};
    item("FileOpen")->trigger();
    QCOMPARE(dialogs->messages(), QStringList{"That set file could not be read."});
    QVERIFY(nameFld()->text().isEmpty());

    // Unsaved rows kept by a cancelled question: the file's rows follow them, up to the 20th.
    for (int i = 1; i <= 15; ++i)
        addProblem(QString::number(i), 2, "3");
    dialogs->clear();
    dialogs->answers = {Answer::Cancel};
    dialogs->paths = {writeSetFile("eight.nbx", records(8))};
    item("FileOpen")->trigger();
    QCOMPARE(dialogs->messages(),
             (QStringList{"Do you want to save this problem set before closing?",
                          "Only 20 problems fit in a set; the rest of this file was not added."}));
    QCOMPARE(rows().size(), 20);
    QCOMPARE(rows().at(14), QStringLiteral("15 X 3"));
    QCOMPARE(rows().at(15), QStringLiteral("1 + 1"));
    QCOMPARE(rows().last(), QStringLiteral("5 + 1"));
    QCOMPARE(nameFld()->text(), QStringLiteral("eight"));
    QVERIFY(maker()->dirty());
    QVERIFY(!topFld()->isEnabled() && !addBtn()->isVisible());
}

void TestCreateGameScrn::openMakesNoFolder() {
    // Before the first save there is no sets folder; the chooser starts where it will be.
    item("FileOpen")->trigger();
    QCOMPARE(dialogs->shown.size(), 1);
    QCOMPARE(dialogs->shown[0].file.folder, QFileInfo(setsFolder()).absolutePath());
    QVERIFY(!QFileInfo::exists(setsFolder()));
    QVERIFY(rows().isEmpty());
}

void TestCreateGameScrn::setsLieInTheSharedFolder() {
    // With the data in a shared folder every computer reaches, so do the sets.
    const QString shared = QDir::home().filePath("school/Numbrook");
    QVERIFY(QDir().mkpath(shared));
    myPrefs::prUseAltLoc = true;
    myPrefs::prAltFileLoc = shared;
    const QString sets = QDir(shared).filePath("NBQ_InputSets");
    addProblem("12", 0, "7");
    nameFld()->setText("shared1");
    item("FileSave")->trigger();
    QCOMPARE(dialogs->messages(),
             QStringList{"The problem set <shared1> was saved into the <NBQ_InputSets> folder."});
    QCOMPARE(fileBytes(QDir(sets).filePath("shared1.nbx")).toHex(' '), QByteArray("06 31 32 20 2b 20 37"));
    QVERIFY(!QFileInfo::exists(QDir::home().filePath("school/NBQ_InputSets")));
    // Open Set and a round's chooser look there too.
    dialogs->clear();
    item("FileOpen")->trigger();
    QCOMPARE(dialogs->shown.last().file.folder, sets);
    myPrefs::prDataSource = 2;
    dialogs->paths = {QDir(sets).filePath("shared1.nbx")};
    const rndSet round(10, 10, 0, false, false, myPrefs::getInputSetsFolder());
    QCOMPARE(dialogs->shown.last().file.folder, sets);
    QCOMPARE(round.roundReport().myTotProbs, std::optional<int>(1));
    QVERIFY(QDir(QDir::home().filePath("school")).removeRecursively());
}

void TestCreateGameScrn::openRefusesWhatIsNoSetAtOnce_data() {
    OutsideInputs::addRows();
}

// Open Set on a pipe, a folder, a device or an oversize file: the maker's message at once, and the
// window as it was.
void TestCreateGameScrn::openRefusesWhatIsNoSetAtOnce() {
    QFETCH(QString, kind);
    QDir().mkpath(setsFolder());
    const QString path = OutsideInputs::make(kind, setsFolder(), rndSet::kMaxSetFileBytes);
    QVERIFY(!path.isEmpty());
    const OutsideInputs::PipeRelease release(path);
    dialogs->paths = {path};
    QElapsedTimer clock;
    clock.start();
    item("FileOpen")->trigger();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
    QCOMPARE(dialogs->messages(), QStringList{kind == QLatin1String("one byte too many")
                                                  ? "That file is too large to be a problem set."
                                                  : "That set file could not be read."});
    QVERIFY(rows().isEmpty());
    QVERIFY(nameFld()->text().isEmpty());
    QVERIFY(topFld()->isEnabled() && addBtn()->isVisible());
}

// ---- The question on every way out

void TestCreateGameScrn::theQuestion_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("name");      // a save fails without one
    QTest::addColumn<bool>("stays");        // the window is still open
    QTest::addColumn<QStringList>("after"); // its rows afterwards
    QTest::addColumn<bool>("dirty");
    QTest::addColumn<bool>("saved"); // "week1.nbx" was written

    const QStringList mine{"1 + 2", "3 X 4"};
    const QStringList other{"7 - 5", "8 / 4"};
    const QStringList both = mine + other;
    const char* closes[] = {"close box", "Close button", "File > Close"};
    for (const char* c : closes) {
        const QString close = QString::fromLatin1(c);
        QTest::addRow("%s, Save", c) << close << Answer::Default << "week1" << false << mine << false << true;
        QTest::addRow("%s, Don't Save", c)
            << close << Answer::Alternate << "week1" << false << mine << false << false;
        QTest::addRow("%s, cancel", c) << close << Answer::Cancel << "week1" << true << mine << true << false;
        QTest::addRow("%s, failed save", c)
            << close << Answer::Default << "" << true << mine << true << false;
    }
    QTest::newRow("New, Save") << "New" << Answer::Default << "week1" << true << QStringList{} << false
                               << true;
    QTest::newRow("New, Don't Save") << "New" << Answer::Alternate << "week1" << true << QStringList{}
                                     << false << false;
    QTest::newRow("New, cancel") << "New" << Answer::Cancel << "week1" << true << mine << true << false;
    QTest::newRow("New, failed save") << "New" << Answer::Default << "" << true << mine << true << false;
    QTest::newRow("Open, Save") << "Open" << Answer::Default << "week1" << true << other << false << true;
    QTest::newRow("Open, Don't Save")
        << "Open" << Answer::Alternate << "week1" << true << other << false << false;
    QTest::newRow("Open, cancel") << "Open" << Answer::Cancel << "week1" << true << both << true << false;
    QTest::newRow("Open, failed save") << "Open" << Answer::Default << "" << true << both << true << false;
}

void TestCreateGameScrn::theQuestion() {
    QFETCH(QString, command);
    QFETCH(Answer, answer);
    QFETCH(QString, name);
    QFETCH(bool, stays);
    QFETCH(QStringList, after);
    QFETCH(bool, dirty);
    QFETCH(bool, saved);

    addProblem("1", 0, "2");
    addProblem("3", 2, "4");
    nameFld()->setText(name);
    const QString otherSet =
        writeSetFile("other.nbx", QByteArray::fromHex("05 37 20 2D 20 35 05 38 20 2F 20 34"));
    dialogs->answers = {answer};
    dialogs->paths = {otherSet};

    if (command == QLatin1String("close box"))
        maker()->close();
    else if (command == QLatin1String("Close button"))
        press(part<newCnvBtn>("CloseBtn"));
    else if (command == QLatin1String("File > Close"))
        item("FileClose")->trigger();
    else if (command == QLatin1String("New"))
        item("FileNew")->trigger();
    else
        item("FileOpen")->trigger();

    QCOMPARE(dialogs->shown.size() > 0, true);
    const Shown question = dialogs->shown[0];
    QCOMPARE(question.kind, Shown::Question);
    QCOMPARE(question.question.icon, Seams::Icon::Caution);
    QCOMPARE(question.question.message,
             QStringLiteral("Do you want to save this problem set before closing?"));
    QCOMPARE(question.question.explanation, QStringLiteral("If you don't save, your changes will be lost. "));
    QCOMPARE(question.question.defaultCaption, QStringLiteral("Save"));
    QCOMPARE(question.question.alternateCaption, QStringLiteral("Don't Save"));
    QVERIFY(!question.question.cancelCaption.isEmpty());
    QCOMPARE(QFile::exists(QDir(setsFolder()).filePath("week1.nbx")), saved);
    if (name.isEmpty())
        QVERIFY(dialogs->messages().contains(QStringLiteral("Please provide a name for this set.")));

    if (!stays) {
        QTRY_VERIFY(!createGameScrn::exists());
        return;
    }
    QTest::qWait(20); // a close that was not to come would have come by now
    QVERIFY(createGameScrn::exists());
    QVERIFY(maker()->isVisible());
    QCOMPARE(rows(), after);
    QCOMPARE(maker()->dirty(), dirty);
    QCOMPARE(maker()->isWindowModified(), dirty);
    if (command == QLatin1String("Open"))
        QCOMPARE(nameFld()->text(), QStringLiteral("other"));
    else if (dirty)
        QCOMPARE(nameFld()->text(), name);
    else
        QVERIFY(nameFld()->text().isEmpty());
    const bool opened = std::any_of(dialogs->shown.cbegin(), dialogs->shown.cend(),
                                    [](const Shown& s) { return s.kind == Shown::OpenFile; });
    QCOMPARE(opened, command == QLatin1String("Open"));
}

void TestCreateGameScrn::aRefusedCloseLeavesNewAndOpenClearing() {
    addProblem("6", 0, "6");
    dialogs->answers = {Answer::Cancel};
    press(part<newCnvBtn>("CloseBtn"));
    QTest::qWait(20);
    QVERIFY(createGameScrn::exists());
    // New after the refused close: "Don't Save" clears the window rather than closing it.
    dialogs->answers = {Answer::Alternate};
    item("FileNew")->trigger();
    QTest::qWait(20);
    QVERIFY(createGameScrn::exists());
    QVERIFY(rows().isEmpty());
    QVERIFY(!maker()->dirty());
    // And a clean set closes at once, without a question.
    dialogs->clear();
    item("FileClose")->trigger();
    QTRY_VERIFY(!createGameScrn::exists());
    QVERIFY(dialogs->shown.isEmpty());
}

void TestCreateGameScrn::timersStopAtClose() {
    QPointer<QTimer> keys = maker()->findChild<QTimer*>(QStringLiteral("keyTimer"));
    QPointer<QTimer> calc = maker()->findChild<QTimer*>(QStringLiteral("calcTimer"));
    QTest::keyClicks(topFld(), "5");
    QVERIFY(keys->isActive() && calc->isActive());
    maker()->close();
    // Stopped with the close, before the window is gone.
    QVERIFY(keys && calc);
    QVERIFY(!keys->isActive() && !calc->isActive());
    QTRY_VERIFY(!createGameScrn::exists());
    // The next opening starts afresh.
    maker()->show();
    QVERIFY(rows().isEmpty() && topFld()->text().isEmpty());
    QCOMPARE(textColour(InstrTxt()), kPurple);
}

// ---- From the sign-in window, and Quit

void TestCreateGameScrn::adminMenuOpensTheMakerAndQuitStopsForIt() {
    maker()->close();
    QTRY_VERIFY(!createGameScrn::exists());
    TestDoubles::TempDatabase db;
    NameScrn::links() = {};
    Routes::install();
    myPrefs::prPassWord = QStringLiteral("Owl9");
    myGlobals::gNoPWReq = false;
    NameScrn* signIn = NameScrn::instance();
    signIn->show();
    QVERIFY(QTest::qWaitForWindowExposed(signIn));

    // The password first, then the maker, modal over the sign-in window.
    onModal([](QWidget* prompt) {
        auto* field = prompt->findChild<QLineEdit*>(QStringLiteral("theMsgFld"));
        QTest::keyClicks(field, "Owl9");
        QTest::keyClick(field, Qt::Key_Return);
    });
    QAction* create = signIn->findChild<MenuBar1*>()->item(QStringLiteral("AdminCreate"));
    QVERIFY(create->isEnabled());
    QCOMPARE(create->shortcut(), QKeySequence(QStringLiteral("Ctrl+2")));
    create->trigger();
    QVERIFY(createGameScrn::exists());
    QVERIFY(maker()->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), maker());
    QVERIFY(signIn->isVisible());

    // Quit with a changed set asks; cancel stops the quit with every window still open.
    addProblem("2", 0, "2");
    dialogs->clear();
    dialogs->answers = {Answer::Cancel};
    item("FileQuit")->trigger();
    QCOMPARE(dialogs->messages(), QStringList{"Do you want to save this problem set before closing?"});
    QTest::qWait(20);
    QVERIFY(!Menus::quitting());
    QVERIFY(createGameScrn::exists() && maker()->isVisible());
    QCOMPARE(rows(), QStringList{"2 + 2"});
    QVERIFY(NameScrn::exists() && signIn->isVisible());

    // "Don't Save": the maker closes, but the program goes on until told to quit again.
    dialogs->answers = {Answer::Alternate};
    item("FileQuit")->trigger();
    QTRY_VERIFY(!createGameScrn::exists());
    QVERIFY(!Menus::quitting());
    QVERIFY(NameScrn::exists() && signIn->isVisible());
    NameScrn::links() = {};
}

void TestCreateGameScrn::helpOutlivesTheMaker() {
    maker()->close();
    QTRY_VERIFY(!createGameScrn::exists());
    Routes::install();
    maker()->show();
    QVERIFY(QTest::qWaitForWindowExposed(maker()));
    QCOMPARE(QApplication::activeModalWidget(), maker());

    QVERIFY(item("HelpHelp")->isEnabled());
    item("HelpHelp")->trigger();
    QPointer<helpScrn2> help;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<helpScrn2*>(w))
            help = h;
    QVERIFY(help);
    QVERIFY(QTest::qWaitForWindowExposed(help));
    QTRY_COMPARE(help->curDocName(), QStringLiteral("nbq_psets.html"));
    // Clicks reach it through the window system while the modal maker is open, and after it closed.
    const auto clickHideButton = [&] {
        auto* hide = help->findChild<newCnvBtn*>(QStringLiteral("hideBtn"));
        QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {}, hide->mapTo(help, hide->rect().center()));
    };
    clickHideButton();
    QTRY_VERIFY(help->indexVisible());
    maker()->close();
    QTRY_VERIFY(!createGameScrn::exists());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(help);
    QVERIFY(help->isVisible());
    clickHideButton();
    QTRY_VERIFY(!help->indexVisible());
    help->close();
    QTRY_VERIFY(!help);
}

QTEST_MAIN(TestCreateGameScrn)
#include "tst_creategamescrn.moc"
