#include "app/helplink.h"
#include "app/menus.h"
#include "app/onmodal.h"
#include "app/picts.h"
#include "controls/hofscrn.h"
#include "controls/newcnvbtn.h"
#include "controls/printinglb.h"
#include "data/appversion.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "data/prefs_file.h"
#include "data/rndset.h"
#include "data/strecord.h"
#include "help/helpscrn2.h"
#include "main/routes.h"
#include "round/gamescrn.h"
#include "settings/paramscrn.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

template <typename T> T* child(const QString& name) {
    T* w = NameScrn::instance()->findChild<T*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

QList<newCnvBtn*> gameButtons() {
    return NameScrn::instance()->findChildren<newCnvBtn*>(QStringLiteral("gamesBtn"));
}

QAction* menuItem(const QString& name) {
    return NameScrn::instance()->findChild<MenuBar1*>()->item(name);
}

// Clicks a row of one of the lists as a student would.
void clickRow(printingLB* list, int row) {
    const QRect cell = list->visualItemRect(list->item(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

int rowOf(printingLB* list, const QString& text) {
    for (int r = 0; r < list->rowCount(); ++r) {
        if (list->item(r, 0)->text() == text)
            return r;
    }
    return -1;
}

void pick(const QString& className, const QString& name = {}) {
    auto* classes = child<printingLB>(QStringLiteral("ClassList"));
    const int c = rowOf(classes, className);
    QVERIFY2(c >= 0, qPrintable(className));
    clickRow(classes, c);
    if (name.isEmpty())
        return;
    auto* names = child<printingLB>(QStringLiteral("NameList"));
    const int n = rowOf(names, name);
    QVERIFY2(n >= 0, qPrintable(name));
    clickRow(names, n);
}

QStringList column(printingLB* list, int c) {
    QStringList texts;
    for (int r = 0; r < list->rowCount(); ++r)
        texts << list->item(r, c)->text();
    return texts;
}

QString selectedText(printingLB* list) {
    const QList<QTableWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? QString() : items.first()->text();
}

void press(newCnvBtn* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
}

// Answers the next password prompt: the text typed (with Return), then cancelled if still open.
void answerPrompt(const QString& typed, bool tickDontAsk = false, QString* promptText = nullptr,
                  bool* boxShown = nullptr) {
    onModal([=](QWidget* modal) {
        if (promptText)
            *promptText = modal->findChild<QLabel*>(QStringLiteral("promptTxt"))->text();
        auto* box = modal->findChild<QCheckBox*>(QStringLiteral("setPWBox"));
        if (boxShown)
            *boxShown = box->isVisible();
        if (box->isVisible())
            box->setChecked(tickDontAsk);
        auto* field = modal->findChild<QLineEdit*>(QStringLiteral("theMsgFld"));
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
    });
}

// Closes a modal window that opens when none should, so that the test fails instead of hanging.
class NoPrompt {
public:
    NoPrompt() {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                seen_ = true;
                modal->close();
            }
        });
        timer_.start(0);
    }
    bool prompted() const { return seen_; }

private:
    QTimer timer_;
    bool seen_ = false;
};

// A stand-in for the desktop's xdg-mime on a PATH of its own while it lives: it sees an .rtf file as
// `rtfType` (as `file` does: "text/rtf"; some desktops say "application/rtf"), and answers "query
// default <type>" only for `handledType`, with what the script prints. Without a script there is no
// xdg-mime at all.
class StandInDesktop {
public:
    StandInDesktop(const QByteArray& rtfType, const QByteArray& handledType, const QByteArray& script)
        : path_(qgetenv("PATH")) {
        if (!script.isEmpty()) {
            QFile tool(bin_.filePath(QStringLiteral("xdg-mime")));
            if (!tool.open(QIODevice::WriteOnly))
                qFatal("cannot write the stand-in xdg-mime");
            const QString answers = QStringLiteral("case \"$1 $2 $3\" in\n"
                                                   "\"query filetype \"*.rtf) echo '%1'; exit 0;;\n"
                                                   "\"query default %2\") ;;\n"
                                                   "*) exit 0;;\n"
                                                   "esac\n")
                                        .arg(QString::fromLatin1(rtfType), QString::fromLatin1(handledType));
            tool.write("#!/bin/sh\n" + answers.toLatin1() + script + "\n");
            tool.close();
            tool.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        qputenv("PATH", bin_.path().toLocal8Bit());
    }
    ~StandInDesktop() { qputenv("PATH", path_); }

private:
    QTemporaryDir bin_;
    QByteArray path_;
};

} // namespace

class TestNameScrn : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listsClassesAndNamesThroughTheirSteps();
    void starPictureOfTheRow_data();
    void starPictureOfTheRow();
    void rowsAreStriped();
    void layoutFollowsTheWidth_data();
    void layoutFollowsTheWidth();
    void heightMovesTheBottomControls();
    void setUpFromTheGlobalState_data();
    void setUpFromTheGlobalState();
    void playOpensTheNextWindow_data();
    void playOpensTheNextWindow();
    void playReadsTheSharedPreferencesAgain();
    void aSourceNoWindowStoresIsTheNearestOne_data();
    void aSourceNoWindowStoresIsTheNearestOne();
    void unreadableResultsKeepTheStudentHere();
    void studentPassword();
    void returningStudentPlaysOnByHisId();
    void returningStudentWhoWasChangedSignsInAfresh_data();
    void returningStudentWhoWasChangedSignsInAfresh();
    void addedStudentIsSelectedInTheClassUsed();
    void gameButtonsAndAddMeFollowTheirWindows();
    void adminItemsAskForThePassword();
    void windowsNotThereYetAreDisabled();
    void helpOpensTheIndexAlone();
    void disabledButtonIsFaded();
    void gettingStartedOpensTheGuideOrSaysItIsMissing();
    void gettingStartedAsksTheDesktopForAProgramFirst_data();
    void gettingStartedAsksTheDesktopForAProgramFirst();
    void hallOfFameListOpens();

private:
    TestDoubles::ScriptedDialogs dialogs;
    std::unique_ptr<TestDoubles::TempDatabase> db;

    void open();
    void addClasses(const QStringList& names);
    void setStoredStars(int id, const QString& stored);
};

void TestNameScrn::initTestCase() {
    myPicts::loadPics();
}

void TestNameScrn::init() {
    db = std::make_unique<TestDoubles::TempDatabase>();
    QVERIFY(db->ok());
    dialogs.clear();
    myPrefs::initPrefs();
    myGlobals::gCurPlayer.reset();
    myGlobals::gMySet.reset();
    myGlobals::gUseLastGame = false;
    myGlobals::gNoPWReq = false;
    NameScrn::links() = {};
    NameScrn::setDocumentOpener([](const QString&) {
        qFatal("a test opened a document for real");
        return false;
    });
}

void TestNameScrn::cleanup() {
    if (NameScrn::exists())
        NameScrn::instance()->close();
    GameScrn::instance()->hide();
    ParamScrn::instance()->hide();
    if (HOFScrn::current())
        HOFScrn::current()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    db.reset();
}

void TestNameScrn::open() {
    NameScrn* w = NameScrn::instance();
    w->show();
    auto* timer = w->findChild<QTimer*>(QStringLiteral("openTimer"));
    QVERIFY(timer && timer->isSingleShot() && timer->interval() == 50);
    QTRY_VERIFY(!timer->isActive()); // set up
}

void TestNameScrn::addClasses(const QStringList& names) {
    for (const QString& n : names)
        QVERIFY(DBCtrl::insertClass(n));
}

void TestNameScrn::setStoredStars(int id, const QString& stored) {
    QSqlQuery q(DBCtrl::NBData());
    q.prepare(QStringLiteral("UPDATE Names SET StStars = ? WHERE StID = ?"));
    q.addBindValue(stored);
    q.addBindValue(id);
    QVERIFY(q.exec());
}

void TestNameScrn::listsClassesAndNamesThroughTheirSteps() {
    addClasses({QStringLiteral("Room 5"), QStringLiteral("Mrs O'Neil's"), QStringLiteral("Empty")});
    const int ann = db->addStudent(QStringLiteral("Ann O'Hara"), QStringLiteral("Mrs O'Neil's"));
    const int bo = db->addStudent(QStringLiteral("Bo \"B\" Li"), QStringLiteral("Mrs O'Neil's"), {}, 3);
    db->addStudent(QStringLiteral("Cy Room"), QStringLiteral("Room 5"), {}, 5);
    myGlobals::gMySet = std::make_shared<rndSet>(10, 10, 0, false, true);
    open();

    auto* classes = child<printingLB>(QStringLiteral("ClassList"));
    auto* names = child<printingLB>(QStringLiteral("NameList"));
    auto* instr = child<QLabel>(QStringLiteral("InstrFld"));
    auto* play = child<newCnvBtn>(QStringLiteral("ContBtn"));
    auto* replay = child<QCheckBox>(QStringLiteral("repeatBtn1"));
    QCOMPARE(column(classes, 0), (QStringList{"Default", "Room 5", "Mrs O'Neil's", "Empty"}));
    QCOMPARE(classes->horizontalHeaderItem(0)->text(), QStringLiteral("My Class"));
    QCOMPARE(names->horizontalHeaderItem(0)->text(), QStringLiteral("My Name"));
    QCOMPARE(names->horizontalHeaderItem(1)->text(), QStringLiteral("ID#"));
    QCOMPARE(names->rowCount(), 0);
    QCOMPARE(instr->text(), QString());
    QVERIFY(!play->isVisible());

    // A class whose name holds an apostrophe lists its students.
    pick(QStringLiteral("Mrs O'Neil's"));
    QCOMPARE(column(names, 0), (QStringList{"Ann O'Hara", "Bo \"B\" Li"}));
    QCOMPARE(column(names, 1), (QStringList{QString::number(ann), QString::number(bo)}));
    QCOMPARE(child<QLineEdit>(QStringLiteral("ClNameFld"))->text(), QStringLiteral("Mrs O'Neil's"));
    QCOMPARE(instr->text(), QStringLiteral("Select your <Name>"));
    QVERIFY(!play->isVisible());

    pick(QStringLiteral("Mrs O'Neil's"), QStringLiteral("Bo \"B\" Li"));
    QCOMPARE(child<QLineEdit>(QStringLiteral("StNameFld"))->text(), QStringLiteral("Bo \"B\" Li"));
    QCOMPARE(instr->text(), QStringLiteral("Click <Play> or <Select> a game."));
    QVERIFY(play->isVisible());
    QVERIFY(child<QLabel>(QStringLiteral("probSrcTxt"))->isVisible());
    QCOMPARE(gameButtons().size(), 6);
    for (newCnvBtn* b : gameButtons())
        QVERIFY(b->isVisible());
    QVERIFY(replay->isEnabled()); // a set of an earlier round exists

    // Clicking below the last row lets the name go again.
    QTest::mouseClick(names->viewport(), Qt::LeftButton, {}, QPoint(20, names->viewport()->height() - 5));
    QCOMPARE(names->selectedItems().size(), 0);
    QVERIFY(!play->isVisible());
    QCOMPARE(instr->text(), QStringLiteral("Select your <Name>"));
    QVERIFY(!replay->isEnabled());

    // Another class while a name is picked: the panel empties before the new students are listed.
    pick(QStringLiteral("Mrs O'Neil's"), QStringLiteral("Ann O'Hara"));
    pick(QStringLiteral("Empty"));
    QCOMPARE(names->rowCount(), 0);
    QCOMPARE(child<QLineEdit>(QStringLiteral("StNameFld"))->text(), QString());
    QCOMPARE(child<QLineEdit>(QStringLiteral("ClNameFld"))->text(), QStringLiteral("Empty"));
    QVERIFY(!play->isVisible());
    for (newCnvBtn* b : gameButtons())
        QVERIFY(!b->isVisible());
    QVERIFY(!replay->isEnabled());
    QCOMPARE(instr->text(), QStringLiteral("Select your <Name>"));
}

void TestNameScrn::starPictureOfTheRow_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("picture");
    QTest::newRow("none") << "0" << 0;
    QTest::newRow("one and a half") << "3" << 3;
    QTest::newRow("four stars") << "8" << 8;
    QTest::newRow("damaged: too many") << "12" << 8;
    QTest::newRow("damaged: negative") << "-2" << 0;
    QTest::newRow("damaged: no number") << "lots" << 0;
}

void TestNameScrn::starPictureOfTheRow() {
    QFETCH(QString, stored);
    QFETCH(int, picture);
    const int id = db->addStudent(QStringLiteral("Dee"), QStringLiteral("Default"));
    setStoredStars(id, stored);
    open();
    pick(QStringLiteral("Default"), QStringLiteral("Dee"));

    // The canvas draws the picture at its own size over nothing else (a grab fills in the window colour).
    auto* stars = child<QWidget>(QStringLiteral("starCnv"));
    const auto drawn = [&](int k) {
        QPixmap expected(stars->size());
        expected.fill(stars->palette().color(QPalette::Window));
        QPainter(&expected).drawPixmap(0, 0, myPicts::myStarPict()[static_cast<std::size_t>(k)]);
        return expected.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    const QImage shown = stars->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(shown, drawn(picture));
    QVERIFY(shown != drawn(picture == 8 ? 7 : picture + 1));
}

void TestNameScrn::rowsAreStriped() {
    for (const char* n : {"Al", "Bea", "Cal"})
        db->addStudent(QString::fromLatin1(n), QStringLiteral("Default"));
    open();
    pick(QStringLiteral("Default"));
    auto* names = child<printingLB>(QStringLiteral("NameList"));
    // Far right of the name column, where no text is drawn.
    const int x = names->columnViewportPosition(0) + names->columnWidth(0) - 4;
    const auto colourOfRow = [&](const QImage& shot, int row) {
        return shot.pixelColor(x, names->rowViewportPosition(row) + names->rowHeight(row) / 2);
    };
    const QImage plain = names->viewport()->grab().toImage();
    QCOMPARE(colourOfRow(plain, 0), QColor(Qt::white));
    QCOMPARE(colourOfRow(plain, 1), QColor(0xDD, 0xEE, 0xFF));
    QCOMPARE(colourOfRow(plain, 2), QColor(Qt::white));

    // A picked odd row shows the selection over its stripe.
    pick(QStringLiteral("Default"), QStringLiteral("Bea"));
    const QImage picked = names->viewport()->grab().toImage();
    QVERIFY(colourOfRow(picked, 1) != QColor(0xDD, 0xEE, 0xFF));
    QVERIFY(colourOfRow(picked, 1) != QColor(Qt::white));
    QCOMPARE(colourOfRow(picked, 2), QColor(Qt::white));
}

void TestNameScrn::layoutFollowsTheWidth_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("classWidth");
    QTest::addColumn<int>("nameLeft");
    QTest::addColumn<int>("nameWidth");
    QTest::addColumn<int>("instrWidth");
    QTest::addColumn<int>("addMeLeft");
    QTest::addColumn<int>("panel");
    QTest::addColumn<int>("versionWidth");
    QTest::newRow("design width") << 800 << 180 << 210 << 260 << 450 << 260 << 490 << 440;
    QTest::newRow("1000") << 1000 << 225 << 255 << 325 << 560 << 337 << 645 << 640;
    QTest::newRow("widest") << 1280 << 288 << 318 << 416 << 714 << 446 << 862 << 920;
    QTest::newRow("wider than allowed") << 1500 << 288 << 318 << 416 << 714 << 446 << 862 << 920;
}

void TestNameScrn::layoutFollowsTheWidth() {
    QFETCH(int, width);
    QFETCH(int, classWidth);
    QFETCH(int, nameLeft);
    QFETCH(int, nameWidth);
    QFETCH(int, instrWidth);
    QFETCH(int, addMeLeft);
    QFETCH(int, panel);
    QFETCH(int, versionWidth);
    db->addStudent(QStringLiteral("Al"), QStringLiteral("Default"));

    NameScrn* w = NameScrn::instance();
    auto* content = child<QWidget>(QStringLiteral("content"));
    w->show();
    // Before the set-up the controls stand at their design places.
    QCOMPARE(content->size(), QSize(800, 676));
    QCOMPARE(child<QLabel>(QStringLiteral("probSrcTxt"))->x(), 489);
    QCOMPARE(gameButtons().first()->x(), 544);
    open();
    pick(QStringLiteral("Default"), QStringLiteral("Al"));
    w->resize(width, w->height());
    QCOMPARE(content->width(), std::min(width, 1280));
    QCOMPARE(content->height(), 676);

    const auto left = [](const char* name) {
        return child<QWidget>(QString::fromLatin1(name))->x();
    };
    QCOMPARE(child<QWidget>(QStringLiteral("ClassList"))->geometry(), QRect(20, 32, classWidth, 538));
    QCOMPARE(child<QWidget>(QStringLiteral("NameList"))->geometry(), QRect(nameLeft, 32, nameWidth, 538));
    QCOMPARE(child<QWidget>(QStringLiteral("InstrFld"))->geometry(), QRect(20, 580, instrWidth, 22));
    QCOMPARE(child<QWidget>(QStringLiteral("AddMeBtn"))->geometry(), QRect(addMeLeft, 620, 160, 36));
    QCOMPARE(child<QWidget>(QStringLiteral("platTxt"))->geometry(), QRect(180, 4, versionWidth, 16));
    for (const char* name :
         {"StNameFld", "ClNameFld", "StaticText3", "StaticText4", "StaticText7", "probSrcTxt"})
        QCOMPARE(left(name), panel);
    QCOMPARE(left("curStudTitle"), panel + 13);
    QCOMPARE(left("ImageWell1"), panel + 85);
    QCOMPARE(left("ContBtn"), panel + 65);
    QCOMPARE(left("repeatBtn1"), panel + 65);
    QCOMPARE(left("rptTxt"), panel + 89);
    QCOMPARE(left("gamesTitle"), panel + 40);
    for (newCnvBtn* b : gameButtons())
        QCOMPARE(b->x(), panel + 55);
    QCOMPARE(gameButtons().last()->geometry(), QRect(panel + 55, 618, 180, 36));
    // The star canvas keeps its place inside its frame.
    QCOMPARE(child<QWidget>(QStringLiteral("starCnv"))->geometry(), QRect(9, 8, 101, 24));
}

void TestNameScrn::heightMovesTheBottomControls() {
    open();
    NameScrn* w = NameScrn::instance();
    auto* content = child<QWidget>(QStringLiteral("content"));
    const int bar = w->height() - content->height();
    w->resize(1000, 960 + bar);
    QCOMPARE(content->size(), QSize(1000, 960));
    QCOMPARE(child<QWidget>(QStringLiteral("ClassList"))->height(), 960 - 138);
    QCOMPARE(child<QWidget>(QStringLiteral("NameList"))->height(), 960 - 138);
    QCOMPARE(child<QWidget>(QStringLiteral("InstrFld"))->y(), 960 - 96);
    QCOMPARE(child<QWidget>(QStringLiteral("AddMeBtn"))->geometry(), QRect(337, 960 - 56, 160, 36));
    QCOMPARE(child<QWidget>(QStringLiteral("ContBtn"))->y(), 288);
    QCOMPARE(gameButtons().first()->y(), 418);
    w->resize(300, 300);
    QCOMPARE(content->size(), QSize(800, 676));
}

void TestNameScrn::setUpFromTheGlobalState_data() {
    QTest::addColumn<bool>("earlierSet");
    QTest::addColumn<bool>("useLastGame");
    QTest::addColumn<bool>("mayAddName");
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("replayEnabled");
    QTest::addColumn<bool>("replayTicked");
    QTest::addColumn<QString>("sourceLine");
    QTest::newRow("first visit") << false << false << true << 0 << false << false
                                 << "Problems selected using player's past performance.";
    QTest::newRow("no set: replay stays off")
        << false << true << false << 1 << false << false << "Problems selected at random.";
    QTest::newRow("set, not replaying")
        << true << false << true << 2 << true << false << "Problems selected from <Saved Sets>";
    QTest::newRow("set, replaying") << true << true << false << 0 << true << true
                                    << "Problems selected using player's past performance.";
}

void TestNameScrn::setUpFromTheGlobalState() {
    QFETCH(bool, earlierSet);
    QFETCH(bool, useLastGame);
    QFETCH(bool, mayAddName);
    QFETCH(int, source);
    QFETCH(bool, replayEnabled);
    QFETCH(bool, replayTicked);
    QFETCH(QString, sourceLine);
    if (earlierSet)
        myGlobals::gMySet = std::make_shared<rndSet>(10, 10, 0, false, true);
    myGlobals::gUseLastGame = useLastGame;
    myPrefs::prNoClass = mayAddName;
    myPrefs::prDataSource = source;
    open();
    QCOMPARE(NameScrn::instance()->windowTitle(), QStringLiteral("Numbrook Riza Start"));
    QCOMPARE(child<QLabel>(QStringLiteral("platTxt"))->text(),
             App::LongVersion() + QStringLiteral(" for Linux"));
    QCOMPARE(child<QCheckBox>(QStringLiteral("repeatBtn1"))->isEnabled(), replayEnabled);
    QCOMPARE(child<QCheckBox>(QStringLiteral("repeatBtn1"))->isChecked(), replayTicked);
    QCOMPARE(child<QLabel>(QStringLiteral("rptTxt"))->text(), QStringLiteral("Replay Last Game"));
    QCOMPARE(child<newCnvBtn>(QStringLiteral("AddMeBtn"))->isVisible(), mayAddName);
    QCOMPARE(child<QLabel>(QStringLiteral("probSrcTxt"))->text(), sourceLine);
    QCOMPARE(child<newCnvBtn>(QStringLiteral("ContBtn"))->myCaption(), QStringLiteral("Play Numbrook"));
    QStringList captions;
    for (newCnvBtn* b : gameButtons())
        captions << b->myCaption();
    QCOMPARE(captions, (QStringList{"Number Game", "Math Detective", "Math Squares", "Math Challenge",
                                    "Zuduzo D' Izuv", "Mind Games"}));
}

void TestNameScrn::playOpensTheNextWindow_data() {
    QTest::addColumn<bool>("replayTicked");
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("toRound");
    QTest::newRow("replay") << true << 0 << true;
    QTest::newRow("student's results") << false << 0 << false;
    QTest::newRow("random") << false << 1 << false;
    QTest::newRow("saved sets") << false << 2 << true;
}

void TestNameScrn::playOpensTheNextWindow() {
    QFETCH(bool, replayTicked);
    QFETCH(int, source);
    QFETCH(bool, toRound);
    const int id =
        db->addStudent(QStringLiteral("Eve Ames"), QStringLiteral("Default"), QStringLiteral("owl"));
    myPrefs::prDataSource = source;
    myPrefs::prReqStPW = false; // a password is asked only when the teacher requires it
    myGlobals::gMySet = std::make_shared<rndSet>(10, 10, 0, false, true);
    myGlobals::gUseLastGame = replayTicked;
    open();
    pick(QStringLiteral("Default"), QStringLiteral("Eve Ames"));
    QCOMPARE(child<QCheckBox>(QStringLiteral("repeatBtn1"))->isChecked(), replayTicked);

    QPointer<NameScrn> signIn(NameScrn::instance());
    NoPrompt none;
    press(child<newCnvBtn>(QStringLiteral("ContBtn")));
    QVERIFY(!none.prompted());
    QCOMPARE(myGlobals::gUseLastGame, replayTicked);
    QCOMPARE(GameScrn::instance()->isVisible(), toRound);
    QCOMPARE(ParamScrn::instance()->isVisible(), !toRound);
    QVERIFY(!NameScrn::exists());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!signIn);

    // Signed in: the record was loaded (and its results row made).
    QVERIFY(myGlobals::gCurPlayer);
    QCOMPARE(myGlobals::gCurPlayer->curStID, id);
    QCOMPARE(myGlobals::gCurPlayer->curStudent, QStringLiteral("Eve Ames"));
    QCOMPARE(myGlobals::gCurPlayer->curClass, QStringLiteral("Default"));
    QCOMPARE(myGlobals::gCurPlayer->curStPW, QStringLiteral("owl"));
    QCOMPARE(myGlobals::gCurPlayer->myParams.size(), StRecord::kParams);
    QVERIFY(!db->dataColumn(id, QStringLiteral("stParam")).isNull());
}

void TestNameScrn::unreadableResultsKeepTheStudentHere() {
    const int id = db->addStudent(QStringLiteral("Eve Ames"), QStringLiteral("Default"), {}, 8);
    db->addResults(id, 50, 50);
    open();
    pick(QStringLiteral("Default"), QStringLiteral("Eve Ames"));
    // Another computer writes the file for longer than this one waits (shortened for the test).
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec(QStringLiteral("PRAGMA busy_timeout = 100")));
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(db->file());
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("UPDATE Classes SET ClassNm = ClassNm")));
        press(child<newCnvBtn>(QStringLiteral("ContBtn")));
        QSqlQuery(other).exec(QStringLiteral("ROLLBACK"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    QCOMPARE(dialogs.messages(),
             QStringList{QStringLiteral(
                 "The student's results could not be loaded: another computer is using the student data.")});
    QVERIFY(!myGlobals::gCurPlayer);
    QVERIFY(NameScrn::exists() && NameScrn::instance()->isVisible());
    QVERIFY(!ParamScrn::instance()->isVisible());
    QVERIFY(!GameScrn::instance()->isVisible());
    QCOMPARE(db->count(QStringLiteral("theData")), 1);
    QCOMPARE(db->dataColumn(id, QStringLiteral("stAdd")).split(QLatin1Char(',')).value(0),
             QStringLiteral("50/50"));
}

void TestNameScrn::playReadsTheSharedPreferencesAgain() {
    // This computer read "student's results" from the shared folder; another computer has since set
    // saved sets there.
    QTemporaryDir shared;
    // The school's database is what makes the folder the shared one; nothing opens it here.
    QFile database(QDir(shared.path()).filePath(QString::fromLatin1(DBCtrl::kFileName)));
    QVERIFY(database.open(QIODevice::WriteOnly));
    database.close();
    myPrefs::Values local = myPrefs::current();
    local.useAltLoc = true;
    local.altFileLoc = myPrefs::createGSI(shared.path());
    myPrefs::apply(local);
    QVERIFY(myPrefs::writePrefFile(myPrefs::localPrefFile()));
    myPrefs::prDataSource = 2;
    QVERIFY(
        myPrefs::writePrefFile(QDir(shared.path()).filePath(QString::fromLatin1(myPrefs::kPrefFileName))));
    myPrefs::prDataSource = 0;
    QVERIFY(myPrefs::prUseAltLoc);

    db->addStudent(QStringLiteral("Fay"), QStringLiteral("Default"));
    open();
    pick(QStringLiteral("Default"), QStringLiteral("Fay"));
    press(child<newCnvBtn>(QStringLiteral("ContBtn")));
    QCOMPARE(myPrefs::prDataSource, 2);
    QVERIFY(dialogs.waitTexts.contains(QStringLiteral("Looking for server...")));
    QVERIFY(GameScrn::instance()->isVisible());
    QVERIFY(!ParamScrn::instance()->isVisible());

    // With the replay box ticked the round opens at once, without looking for the server.
    GameScrn::instance()->hide();
    dialogs.waitTexts.clear();
    myGlobals::gMySet = std::make_shared<rndSet>(10, 10, 0, false, true);
    myGlobals::gUseLastGame = true;
    open();
    press(child<newCnvBtn>(QStringLiteral("ContBtn")));
    QVERIFY(dialogs.waitTexts.isEmpty());
    QVERIFY(GameScrn::instance()->isVisible());
}

void TestNameScrn::aSourceNoWindowStoresIsTheNearestOne_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("sourceLine");
    QTest::addColumn<bool>("savedSets");
    const QString results = QStringLiteral("Problems selected using player's past performance.");
    const QString saved = QStringLiteral("Problems selected from <Saved Sets>");
    QTest::newRow("3") << 3 << saved << true;
    QTest::newRow("7") << 7 << saved << true;
    QTest::newRow("32767") << 32767 << saved << true;
    QTest::newRow("-1") << -1 << results << false;
    QTest::newRow("-32768") << -32768 << results << false;
}

// A problem source that a preferences file holds but the preferences window does not offer: the line
// of the sign-in window, the window Play opens, the round's panel and the set it plays all take the
// same source, the nearest one offered. The number read stays as it is until the teacher saves.
void TestNameScrn::aSourceNoWindowStoresIsTheNearestOne() {
    QFETCH(int, stored);
    QFETCH(QString, sourceLine);
    QFETCH(bool, savedSets);
    // The round window as a new visit finds it: made when Play opens it.
    if (GameScrn::exists())
        GameScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("com.orlavo.vavava.plist"));
    TestPrefs::RawFile raw;
    raw.dataSource = stored;
    QVERIFY(TestPrefs::writeBytes(file, raw.bytes()));
    QVERIFY(myPrefs::readPrefFile(file));
    QCOMPARE(myPrefs::prDataSource, stored);

    db->addStudent(QStringLiteral("Eve Ames"), QStringLiteral("Default"));
    open();
    QCOMPARE(child<QLabel>(QStringLiteral("probSrcTxt"))->text(), sourceLine);
    pick(QStringLiteral("Default"), QStringLiteral("Eve Ames"));
    press(child<newCnvBtn>(QStringLiteral("ContBtn")));
    QCOMPARE(GameScrn::instance()->isVisible(), savedSets);
    QCOMPARE(ParamScrn::instance()->isVisible(), !savedSets);
    GameScrn* round = GameScrn::instance();
    if (!savedSets)
        round->show();
    auto* start = round->findChild<newCnvBtn*>(QStringLiteral("contBtn0"));
    QCOMPARE(start->myCaption(),
             savedSets ? QStringLiteral("Open Saved Set") : QStringLiteral("Start Round"));
    QCOMPARE(round->findChild<QLabel*>(QStringLiteral("warnTxt"))->isVisible(), savedSets);
    if (savedSets) {
        // The round's set is a saved one: a file is asked for (the double has none to give).
        dialogs.clear();
        QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(20, 10));
        QVERIFY(!dialogs.shown.isEmpty());
        QCOMPARE(dialogs.shown.first().kind, TestDoubles::Shown::OpenFile);
    }
    QCOMPARE(myPrefs::prDataSource, stored);
    QCOMPARE(TestPrefs::readBytes(file), raw.bytes());
}

void TestNameScrn::studentPassword() {
    db->addStudent(QStringLiteral("Gus"), QStringLiteral("Default"), QStringLiteral("Tiger7"));
    db->addStudent(QStringLiteral("Hal"), QStringLiteral("Default"));
    myPrefs::prReqStPW = true;
    myGlobals::gNoPWReq = true; // the teacher chose not to be asked again
    open();
    pick(QStringLiteral("Default"), QStringLiteral("Gus"));

    // Cancelled: nothing changes, the window stays with its choice.
    QString prompt;
    bool boxShown = true;
    answerPrompt(QStringLiteral("tiger7"), false, &prompt, &boxShown);
    press(child<newCnvBtn>(QStringLiteral("ContBtn")));
    QCOMPARE(prompt, QStringLiteral("Please enter your student password"));
    QVERIFY(!boxShown);
    QVERIFY(!myGlobals::gCurPlayer);
    QVERIFY(NameScrn::exists() && NameScrn::instance()->isVisible());
    QCOMPARE(selectedText(child<printingLB>(QStringLiteral("NameList"))), QStringLiteral("Gus"));
    QVERIFY(!ParamScrn::instance()->isVisible());
    QVERIFY(!myGlobals::gNoPWReq); // a wrong password ends the teacher's "don't ask again"

    answerPrompt(QStringLiteral("Tiger7"));
    press(child<newCnvBtn>(QStringLiteral("ContBtn")));
    QVERIFY(myGlobals::gCurPlayer);
    QCOMPARE(myGlobals::gCurPlayer->curStudent, QStringLiteral("Gus"));
    QVERIFY(ParamScrn::instance()->isVisible());
    QVERIFY(!NameScrn::exists());

    // A student without a password is not asked.
    ParamScrn::instance()->hide();
    open();
    pick(QStringLiteral("Default"), QStringLiteral("Hal"));
    NoPrompt none;
    press(child<newCnvBtn>(QStringLiteral("ContBtn")));
    QVERIFY(!none.prompted());
    QCOMPARE(myGlobals::gCurPlayer->curStudent, QStringLiteral("Hal"));
}

void TestNameScrn::returningStudentPlaysOnByHisId() {
    addClasses({QStringLiteral("Room 5")});
    db->addStudent(QStringLiteral("Sam Lee"), QStringLiteral("Room 5"), QStringLiteral("one"), 2);
    const int second =
        db->addStudent(QStringLiteral("Sam Lee"), QStringLiteral("Room 5"), QStringLiteral("two"), 6);
    myPrefs::prReqStPW = true;
    open();
    auto* names = child<printingLB>(QStringLiteral("NameList"));
    pick(QStringLiteral("Room 5"));
    clickRow(names, 1); // the second Sam Lee
    answerPrompt(QStringLiteral("two"));
    press(child<newCnvBtn>(QStringLiteral("ContBtn")));
    const std::shared_ptr<StRecord> signedIn = myGlobals::gCurPlayer;
    QVERIFY(signedIn);
    QCOMPARE(signedIn->curStID, second);
    signedIn->myParams[StRecord::ProblemsParam] = QStringLiteral("17"); // the round changed it in memory

    // Back from the round: a new window, the same student picked, by id.
    ParamScrn::instance()->hide();
    open();
    names = child<printingLB>(QStringLiteral("NameList"));
    QCOMPARE(selectedText(child<printingLB>(QStringLiteral("ClassList"))), QStringLiteral("Room 5"));
    QCOMPARE(names->selectionModel()->selectedRows().value(0).row(), 1);
    QCOMPARE(child<QLineEdit>(QStringLiteral("StNameFld"))->text(), QStringLiteral("Sam Lee"));
    QVERIFY(child<newCnvBtn>(QStringLiteral("ContBtn"))->isVisible());
    // Stars are drawn once more a moment after opening.
    auto* starRefresh = child<QTimer>(QStringLiteral("starRefTimer"));
    QVERIFY(starRefresh->isActive() && starRefresh->isSingleShot());
    QCOMPARE(starRefresh->interval(), 400);

    // Plays on with the record in memory, without a password.
    NoPrompt none;
    press(child<newCnvBtn>(QStringLiteral("ContBtn")));
    QVERIFY(!none.prompted());
    QCOMPARE(myGlobals::gCurPlayer, signedIn);
    QCOMPARE(myGlobals::gCurPlayer->myParams[StRecord::ProblemsParam], QStringLiteral("17"));

    // Picking the row again signs in afresh, password and all.
    ParamScrn::instance()->hide();
    open();
    names = child<printingLB>(QStringLiteral("NameList"));
    clickRow(names, 1);
    bool asked = false;
    onModal([&](QWidget*) { asked = true; });
    press(child<newCnvBtn>(QStringLiteral("ContBtn")));
    QVERIFY(asked);
    QCOMPARE(myGlobals::gCurPlayer, signedIn); // the prompt was closed: nothing changed
}

void TestNameScrn::returningStudentWhoWasChangedSignsInAfresh_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("rowSelected");
    QTest::newRow("deleted") << "delete" << false;
    QTest::newRow("deleted and added again") << "re-add" << false;
    QTest::newRow("moved to another class") << "move" << false;
    QTest::newRow("renamed") << "rename" << true;
    QTest::newRow("new password") << "password" << true;
}

void TestNameScrn::returningStudentWhoWasChangedSignsInAfresh() {
    QFETCH(QString, change);
    QFETCH(bool, rowSelected);
    addClasses({QStringLiteral("Room 5"), QStringLiteral("Room 7")});
    const int id = db->addStudent(QStringLiteral("Ida"), QStringLiteral("Room 5"), QStringLiteral("pw"));
    db->addStudent(QStringLiteral("Jo"), QStringLiteral("Room 5"));
    open();
    pick(QStringLiteral("Room 5"), QStringLiteral("Ida"));
    press(child<newCnvBtn>(QStringLiteral("ContBtn")));
    const std::shared_ptr<StRecord> signedIn = myGlobals::gCurPlayer;
    QVERIFY(signedIn);
    ParamScrn::instance()->hide();

    // The teacher changes the student while the round runs.
    const QString sid = QString::number(id);
    if (change == QLatin1String("delete")) {
        DBCtrl::deleteName(sid);
    } else if (change == QLatin1String("re-add")) {
        DBCtrl::deleteName(sid);
        db->addStudent(QStringLiteral("Ida"), QStringLiteral("Room 5"), QStringLiteral("pw"));
    } else if (change == QLatin1String("move")) {
        DBCtrl::updateNames(QStringLiteral("Ida"), QStringLiteral("Room 7"), sid, QStringLiteral("pw"), "0");
    } else if (change == QLatin1String("rename")) {
        DBCtrl::updateNames(QStringLiteral("Ida Bell"), QStringLiteral("Room 5"), sid, QStringLiteral("pw"),
                            "0");
    } else {
        DBCtrl::updateNames(QStringLiteral("Ida"), QStringLiteral("Room 5"), sid, QStringLiteral("new"), "0");
    }

    open();
    auto* names = child<printingLB>(QStringLiteral("NameList"));
    QCOMPARE(selectedText(child<printingLB>(QStringLiteral("ClassList"))), QStringLiteral("Room 5"));
    QCOMPARE(names->selectedItems().isEmpty(), !rowSelected);
    QCOMPARE(child<newCnvBtn>(QStringLiteral("ContBtn"))->isVisible(), rowSelected);
    if (!rowSelected)
        return;
    // The row is picked, but the stale record is not played on: Play loads the student afresh.
    press(child<newCnvBtn>(QStringLiteral("ContBtn")));
    QVERIFY(myGlobals::gCurPlayer != signedIn);
    QCOMPARE(myGlobals::gCurPlayer->curStID, id);
    QCOMPARE(myGlobals::gCurPlayer->curStudent, names->item(0, 0)->text());
}

void TestNameScrn::addedStudentIsSelectedInTheClassUsed() {
    addClasses({QStringLiteral("Room 5"), QStringLiteral("Room 7")});
    db->addStudent(QStringLiteral("Kit"), QStringLiteral("Room 5"));
    db->addStudent(QStringLiteral("Lou"), QStringLiteral("Room 7"));
    open();
    pick(QStringLiteral("Room 5"));

    // The student chose Room 7 in the dialog, and someone else was added to it just after.
    int added = 0;
    QVERIFY(!DBCtrl::hndlAddName(QStringLiteral("Max"), {}, QStringLiteral("Room 7"), &added));
    QVERIFY(added > 0);
    db->addStudent(QStringLiteral("Ned"), QStringLiteral("Room 7"));
    NameScrn::instance()->refreshData(true);
    auto* names = child<printingLB>(QStringLiteral("NameList"));
    QCOMPARE(selectedText(child<printingLB>(QStringLiteral("ClassList"))), QStringLiteral("Room 7"));
    QCOMPARE(column(names, 0), (QStringList{"Lou", "Max", "Ned"}));
    QCOMPARE(selectedText(names), QStringLiteral("Max"));
    QCOMPARE(child<QLineEdit>(QStringLiteral("StNameFld"))->text(), QStringLiteral("Max"));
    QVERIFY(child<newCnvBtn>(QStringLiteral("ContBtn"))->isVisible());

    // A failed add selects the class, and no student.
    DBCtrl::closeDB();
    DBCtrl::hndlAddName(QStringLiteral("Oz"), {}, QStringLiteral("Room 7"), &added);
    QCOMPARE(added, 0);
    QVERIFY(DBCtrl::connectToDB(db->file()));
    NameScrn::instance()->refreshData(true);
    QCOMPARE(selectedText(child<printingLB>(QStringLiteral("ClassList"))), QStringLiteral("Room 7"));
    QVERIFY(names->selectedItems().isEmpty());

    // With no class chosen, "Default".
    NameScrn::instance()->close();
    open();
    NameScrn::instance()->refreshData(true);
    QCOMPARE(selectedText(child<printingLB>(QStringLiteral("ClassList"))), QStringLiteral("Default"));
}

void TestNameScrn::gameButtonsAndAddMeFollowTheirWindows() {
    db->addStudent(QStringLiteral("Pip"), QStringLiteral("Default"));
    QStringList opened;
    NameScrn::links().games[3] = [&] {
        opened << QStringLiteral("challenge");
    };
    NameScrn::links().addMyName = [&](const QString& className) {
        opened << QStringLiteral("add to ") + className;
    };
    myGlobals::gMySet = std::make_shared<rndSet>(10, 10, 0, false, true);
    myGlobals::gUseLastGame = true;
    open();
    pick(QStringLiteral("Default"), QStringLiteral("Pip"));
    const QList<newCnvBtn*> games = gameButtons();
    for (int i = 0; i < games.size(); ++i)
        QCOMPARE(games[i]->isEnabled(), i == 3);
    auto* addMe = child<newCnvBtn>(QStringLiteral("AddMeBtn"));
    QVERIFY(addMe->isEnabled());
    press(addMe);
    QCOMPARE(opened, QStringList{"add to Default"});

    press(games[0]); // disabled: nothing happens
    QVERIFY(NameScrn::exists());
    QVERIFY(!myGlobals::gCurPlayer);

    press(games[3]);
    QCOMPARE(opened.last(), QStringLiteral("challenge"));
    QCOMPARE(myGlobals::gCurPlayer->curStudent, QStringLiteral("Pip"));
    QVERIFY(myGlobals::gUseLastGame); // the games leave it as the last Play set it
    QVERIFY(!NameScrn::exists());
    QVERIFY(!GameScrn::instance()->isVisible());
}

void TestNameScrn::adminItemsAskForThePassword() {
    QStringList opened;
    NameScrn::links().classLists = [&] {
        opened << QStringLiteral("classes");
    };
    NameScrn::links().preferences = [&] {
        opened << QStringLiteral("preferences");
    };
    NameScrn::links().createSets = [&] {
        QVERIFY(NameScrn::instance()->isVisible()); // the maker opens over the sign-in window
        opened << QStringLiteral("sets");
    };
    myPrefs::prPassWord = QStringLiteral("Owl9");
    open();

    // Wrong, then cancelled: nothing opens.
    QString prompt;
    bool boxShown = false;
    answerPrompt(QStringLiteral("owl9"), true, &prompt, &boxShown);
    menuItem(QStringLiteral("AdminClassLists"))->trigger();
    QCOMPARE(prompt, QStringLiteral("Please enter the administrative password."));
    QVERIFY(boxShown);
    QVERIFY(opened.isEmpty());
    QVERIFY(NameScrn::exists());

    // Right, with "Don't ask again": the problem-set maker opens over this window...
    answerPrompt(QStringLiteral("Owl9"), true);
    menuItem(QStringLiteral("AdminCreate"))->trigger();
    QCOMPARE(opened, QStringList{"sets"});
    QVERIFY(NameScrn::exists());
    QVERIFY(myGlobals::gNoPWReq);

    // ...and the next commands ask nothing; class lists and preferences take this window's place.
    NoPrompt none;
    menuItem(QStringLiteral("AdminClassLists"))->trigger();
    QVERIFY(!none.prompted());
    QCOMPARE(opened.last(), QStringLiteral("classes"));
    QVERIFY(!NameScrn::exists());
    open();
    menuItem(QStringLiteral("AdminPreferences"))->trigger();
    QCOMPARE(opened.last(), QStringLiteral("preferences"));
    QVERIFY(!NameScrn::exists());

    // Accepted without the box: asked again next time. No password at all: never asked.
    myGlobals::gNoPWReq = false;
    open();
    answerPrompt(QStringLiteral("Owl9"), false);
    menuItem(QStringLiteral("AdminCreate"))->trigger();
    QVERIFY(!myGlobals::gNoPWReq);
    bool asked = false;
    onModal([&](QWidget*) { asked = true; });
    menuItem(QStringLiteral("AdminCreate"))->trigger();
    QVERIFY(asked);
    myPrefs::prPassWord.clear();
    NoPrompt none2;
    menuItem(QStringLiteral("AdminCreate"))->trigger();
    QVERIFY(!none2.prompted());
    QCOMPARE(opened, (QStringList{"sets", "classes", "preferences", "sets", "sets"}));
}

void TestNameScrn::windowsNotThereYetAreDisabled() {
    open();
    for (const char* name : {"HelpAboutNumbrookZeri", "HelpHelp", "HelpCheckVersion", "AdminClassLists",
                             "AdminPreferences", "AdminCreate"})
        QVERIFY2(!menuItem(QString::fromLatin1(name))->isEnabled(), name);
    for (const char* name : {"HelpGettingStarted", "HallofFameShowList", "FileQuit"})
        QVERIFY2(menuItem(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(!child<newCnvBtn>(QStringLiteral("AddMeBtn"))->isEnabled());
    QVERIFY(child<newCnvBtn>(QStringLiteral("AddMeBtn"))->isVisible());
    for (newCnvBtn* b : gameButtons())
        QVERIFY(!b->isEnabled());

    // Once a window is there, the next sign-in window offers it.
    int helps = 0;
    NameScrn::links().help = [&] {
        ++helps;
    };
    NameScrn::links().about = [&] {
        ++helps;
    };
    NameScrn::instance()->close();
    open();
    QVERIFY(menuItem(QStringLiteral("HelpHelp"))->isEnabled());
    menuItem(QStringLiteral("HelpHelp"))->trigger();
    menuItem(QStringLiteral("HelpHelp"))->trigger();
    menuItem(QStringLiteral("HelpAboutNumbrookZeri"))->trigger();
    QCOMPARE(helps, 3);
    QVERIFY(!menuItem(QStringLiteral("HelpCheckVersion"))->isEnabled());
}

void TestNameScrn::helpOpensTheIndexAlone() {
    Routes::install();
    open();
    QVERIFY(menuItem(QStringLiteral("HelpHelp"))->isEnabled());
    menuItem(QStringLiteral("HelpHelp"))->trigger();
    HelpLink::install({});
    helpScrn2* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<helpScrn2*>(w); h && h->isVisible())
            help = h;
    QVERIFY(help);
    QVERIFY(help->indexVisible());
    QTest::qWait(250);
    QVERIFY(help->indexVisible());
    QVERIFY(help->curDocName().isEmpty());
    help->close();
}

void TestNameScrn::disabledButtonIsFaded() {
    newCnvBtn button;
    button.setCaption(QStringLiteral("Mind Games"), 2);
    button.resize(180, 36);
    const QImage usable = button.grab().toImage();
    button.setEnabled(false);
    const QImage faded = button.grab().toImage();
    const QColor back = button.palette().color(QPalette::Window);
    // The face's middle, left of the caption: nearer the background once the button cannot be used.
    const auto distance = [&](const QColor& c) {
        return std::abs(c.red() - back.red()) + std::abs(c.green() - back.green()) +
               std::abs(c.blue() - back.blue());
    };
    const QPoint at(8, 18);
    QVERIFY(distance(faded.pixelColor(at)) * 3 < distance(usable.pixelColor(at)) * 2);
}

void TestNameScrn::gettingStartedOpensTheGuideOrSaysItIsMissing() {
    const StandInDesktop desktop("text/rtf", "text/rtf", "echo writer.desktop");
    QStringList openedPaths;
    bool opens = true;
    NameScrn::setDocumentOpener([&](const QString& path) {
        openedPaths << path;
        return opens;
    });
    QCOMPARE(QFileInfo(NameScrn::quickStartGuidePath()).absolutePath(),
             QCoreApplication::applicationDirPath());
    // A program folder of the test's own, so that the guide the test writes never lands in the build.
    QTemporaryDir programDir;
    qputenv("NBR_PROGRAM_DIR", programDir.path().toLocal8Bit());
    const QString guide = NameScrn::quickStartGuidePath();
    QCOMPARE(guide, programDir.filePath(QStringLiteral("NBQ Quick Start Guide.rtf")));
    open();

    menuItem(QStringLiteral("HelpGettingStarted"))->trigger();
    QCOMPARE(dialogs.messages(),
             QStringList{"Could not find the <NBQ Quick Start Guide> in the Numbrook Riza folder."});
    QCOMPARE(dialogs.shown.first().kind, TestDoubles::Shown::Plain);
    QVERIFY(openedPaths.isEmpty());

    QFile file(guide);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 Numbrook Riza}");
    file.close();
    dialogs.clear();
    menuItem(QStringLiteral("HelpGettingStarted"))->trigger();
    QCOMPARE(openedPaths, QStringList{guide});
    QVERIFY(dialogs.messages().isEmpty());
    QVERIFY(NameScrn::instance()->isVisible());

    // A computer with no program for the guide's kind of file: the message names the file and where
    // it is, so the teacher can open it another way.
    opens = false;
    dialogs.clear();
    menuItem(QStringLiteral("HelpGettingStarted"))->trigger();
    qunsetenv("NBR_PROGRAM_DIR");
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.messages().first().contains(QStringLiteral("NBQ Quick Start Guide.rtf")));
    QVERIFY(dialogs.messages().first().contains(QDir::toNativeSeparators(programDir.path())));
}

void TestNameScrn::gettingStartedAsksTheDesktopForAProgramFirst_data() {
    // The kind of file the desktop sees the guide as, the kind its table of default programs names a
    // program for, and whether the guide is then handed over.
    QTest::addColumn<QByteArray>("rtfType");
    QTest::addColumn<QByteArray>("handledType");
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("handed");
    const QByteArray rtf("text/rtf");
    const QByteArray names("echo writer.desktop");
    QTest::newRow("names a program") << rtf << rtf << names << true;
    QTest::newRow("names a program, type with parameters")
        << QByteArray("application/rtf; charset=us-ascii") << QByteArray("application/rtf") << names << true;
    QTest::newRow("names none") << rtf << rtf << QByteArray("exit 0") << false;
    QTest::newRow("names one for another type only") << rtf << QByteArray("text/html") << names << false;
    QTest::newRow("cannot tell the file's type") << QByteArray("") << rtf << names << false;
    QTest::newRow("fails") << rtf << rtf << QByteArray("echo writer.desktop; exit 4") << false;
    QTest::newRow("not installed") << rtf << rtf << QByteArray() << false;
}

// The desktop's launcher says yes to any file, a program behind it or not: only the desktop's own
// table of default programs tells the teacher's click would end in nothing.
void TestNameScrn::gettingStartedAsksTheDesktopForAProgramFirst() {
    QFETCH(QByteArray, rtfType);
    QFETCH(QByteArray, handledType);
    QFETCH(QByteArray, script);
    QFETCH(bool, handed);
    QTemporaryDir programDir;
    qputenv("NBR_PROGRAM_DIR", programDir.path().toLocal8Bit());
    const QString guide = NameScrn::quickStartGuidePath();
    QFile file(guide);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1 Numbrook Riza}");
    file.close();
    // As the real one does while the desktop's launcher is installed: it starts, so it says yes.
    QStringList openedPaths;
    NameScrn::setDocumentOpener([&](const QString& path) {
        openedPaths << path;
        return true;
    });
    open();
    {
        const StandInDesktop desktop(rtfType, handledType, script);
        menuItem(QStringLiteral("HelpGettingStarted"))->trigger();
    }
    qunsetenv("NBR_PROGRAM_DIR");
    QCOMPARE(openedPaths, handed ? QStringList{guide} : QStringList{});
    if (handed) {
        QVERIFY(dialogs.messages().isEmpty());
        return;
    }
    QCOMPARE(dialogs.messages().size(), 1);
    QCOMPARE(dialogs.shown.first().kind, TestDoubles::Shown::Plain);
    QVERIFY(dialogs.messages().first().startsWith(
        QStringLiteral("No program on this computer could open the <NBQ Quick Start Guide.rtf>.")));
    QVERIFY(dialogs.messages().first().contains(QDir::toNativeSeparators(programDir.path())));
}

void TestNameScrn::hallOfFameListOpens() {
    QVERIFY(DBCtrl::insertHOF(QStringLiteral("Quin Ray")));
    open();
    menuItem(QStringLiteral("HallofFameShowList"))->trigger();
    QVERIFY(HOFScrn::current());
    QVERIFY(HOFScrn::current()->isVisible());
    QVERIFY(NameScrn::instance()->isVisible());
}

QTEST_MAIN(TestNameScrn)
#include "tst_namescrn.moc"
