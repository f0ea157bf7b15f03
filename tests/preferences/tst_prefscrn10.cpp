// The preferences window driven through its controls: what it shows at opening, what Save stores in
// the preferences file, the edits that act at once without writing anything, and the moves of the
// data to a shared folder and back, with a second temporary folder standing in for the share.

#include "app/helplink.h"
#include "app/menus.h"
#include "main/routes.h"
#include "app/sounds.h"
#include "controls/newcnvbtn.h"
#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "data/prefs_file.h"
#include "preferences/prefscrn10.h"
#include "signin/namescrn.h"
#include "support/doubles.h"
#include "support/lookcheck.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QtTest>

#include <memory>
#include <unistd.h>

using myPrefs::Values;

Q_DECLARE_METATYPE(std::optional<myPrefs::Values>)

using TestPrefs::fileValues;
using TestPrefs::writeValues;

namespace {

template <typename T> T* control(QWidget* w, const char* name, int index = -1) {
    const auto all = w->findChildren<T*>(QLatin1String(name));
    for (T* c : all) {
        if (index < 0 || c->property("index").toInt() == index)
            return c;
    }
    return nullptr;
}

QString localPrefs() {
    return myPrefs::localPrefFile();
}

Values storedValues() {
    const auto v = myPrefs::decodeFile(TestPrefs::readBytes(localPrefs()));
    return v.value_or(Values{});
}

// Every table of a database file, row by row in key order, each row as its values joined.
QMap<QString, QStringList> dump(const QString& file) {
    QMap<QString, QStringList> tables;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("dump"));
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            const char* keys[][2] = {
                {"Classes", "ClassID"}, {"Names", "StID"}, {"theData", "DataID"}, {"HallData", "HallID"}};
            for (const auto& [table, key] : keys) {
                QSqlQuery q(db);
                q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                           .arg(QLatin1String(table), QLatin1String(key)));
                QStringList rows;
                while (q.next()) {
                    QStringList values;
                    for (int i = 0; i < q.record().count(); ++i)
                        values << q.value(i).toString();
                    rows << values.join(QLatin1Char('|'));
                }
                tables.insert(QLatin1String(table), rows);
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("dump"));
    return tables;
}

QString inFolder(const QString& folder, const char* name) {
    return QDir(folder).filePath(QLatin1String(name));
}

// The general fields of a set, its location left out: each computer writes its own.
Values general(Values v) {
    v.useAltLoc = false;
    v.altFileLoc.clear();
    return v;
}

std::optional<Values> generalIn(const QString& file) {
    const auto v = myPrefs::decodeFile(TestPrefs::readBytes(file));
    return v ? std::optional<Values>(general(*v)) : std::nullopt;
}

// A school's shared folder set up by another computer: its preferences under the older name.
Values theirs() {
    Values v;
    v.passWord = QStringLiteral("Theirs");
    v.maxTries = 5;
    v.numCrit = 70;
    v.dataSource = 2;
    v.sndSet = QStringLiteral("1,4,4,4");
    return v;
}

// What the window's save meets.
enum class Scene {
    MoveCancelThenSave,     // the share's preferences taken by a move from this window, then Save
    EditMoveCancelThenSave, // the same with a field edited before the move
    OtherComputerSaved,     // network mode; another computer saves while the window is open
    ShareGone,              // network mode; the share goes out of reach while the window is open
    ShareUnmounted,         // network mode; an empty folder stands where the share was mounted
    NoSharedFile,           // network mode; the share holds the database but no preferences
    OutOfRange,             // this computer's file holds numbers outside the window's bounds
};

} // namespace

class TestPrefScrn10 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensOnGeneralWithTheValuesInForce();
    void closingShowsTheSignInWindowAndHelpOpensItsTopic();
    void saveClampsAndStores_data();
    void saveClampsAndStores();
    void noticeOnlyForTheCriteria();
    void password_data();
    void password();
    void passwordTooLongIsRefused();
    void immediateEditsStayInForceWithoutAWrite();
    void soundControls();
    void savingTheChosenSounds();
    void damagedValuesSelectNoButton();

    void textSizes_data();
    void textSizes();
    void nothingCutOffOrCovered_data();
    void nothingCutOffOrCovered();

    void cancelledFolderChooserChangesNothing();
    void movingOutAndBackForReal();
    void shareAlreadyHoldingPreferences_data();
    void shareAlreadyHoldingPreferences();
    void refusedFolders();
    void refusedFolderWhileShared();
    void saveWritesOnlyWhatWasEdited_data();
    void saveWritesOnlyWhatWasEdited();
    void unreachableAtStartKeepsNetworkMode();

private:
    PrefScrn10* open();
    void closeBox(PrefScrn10* w);
    void save(PrefScrn10* w);
    QString localDatabase() const { return inFolder(myPrefs::getLocalDataFol(), DBCtrl::kFileName); }
    // What a restart would open: the preferences read from the local file, the database where they
    // point.
    QString databaseAfterRestart() const;

    std::unique_ptr<TestPrefs::Sandbox> sandbox_;
    // A temporary folder with a long path, which a test may put its sandbox under.
    std::unique_ptr<QTemporaryDir> deepTemp_;
    std::unique_ptr<TestDoubles::ScriptedDialogs> dialogs_;
    std::unique_ptr<TestDoubles::RecordingFeedback> feedback_;
};

void TestPrefScrn10::initTestCase() {
    mySounds::loadMySnds();
    myPrefs::setSoundStatesHandler([] { mySounds::setStates(); });
}

void TestPrefScrn10::init() {
    dialogs_ = std::make_unique<TestDoubles::ScriptedDialogs>();
    feedback_ = std::make_unique<TestDoubles::RecordingFeedback>();
    sandbox_ = std::make_unique<TestPrefs::Sandbox>();
    myPrefs::initPrefs();
    mySounds::setStates();
    myPrefs::hndlWritingPrefs();
    DBCtrl::check4Database(myPrefs::getLocalDataFol());
    QVERIFY(DBCtrl::isConnected());
    dialogs_->clear();
}

void TestPrefScrn10::cleanup() {
    if (PrefScrn10::exists())
        PrefScrn10::instance()->close();
    if (NameScrn::exists())
        NameScrn::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    DBCtrl::closeDB();
    sandbox_.reset();
    deepTemp_.reset();
    feedback_.reset();
    dialogs_.reset();
}

PrefScrn10* TestPrefScrn10::open() {
    PrefScrn10* w = PrefScrn10::instance();
    w->show();
    return w;
}

void TestPrefScrn10::closeBox(PrefScrn10* w) {
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestPrefScrn10::save(PrefScrn10* w) {
    QTest::mouseClick(control<newCnvBtn>(w, "saveBtn"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString TestPrefScrn10::databaseAfterRestart() const {
    const Values v = storedValues();
    const QString folder = v.useAltLoc ? myPrefs::parseGSI(v.altFileLoc) : myPrefs::getLocalDataFol();
    return QFileInfo(inFolder(folder, DBCtrl::kFileName)).absoluteFilePath();
}

// ---- Opening, closing, help

void TestPrefScrn10::opensOnGeneralWithTheValuesInForce() {
    myPrefs::prPassWord = QStringLiteral("Sesame ");
    myPrefs::prNoClass = false;
    myPrefs::prReqStPW = true;
    myPrefs::prNoAnim = true;
    myPrefs::prMaxTries = 4;
    myPrefs::prDataSource = 2;
    myPrefs::prNumCrit = 5; // from an older file: shown as held, clamped only by a Save
    myPrefs::prPctCrit = 90;
    myPrefs::prHiCrit = 12;

    PrefScrn10* w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("Numbrook Riza Preferences"));
    QCOMPARE(w->findChild<QWidget*>(QStringLiteral("prefContent"))->size(), QSize(640, 600));
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    auto* tabs = control<QTabWidget>(w, "TabPanel1");
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(tabs->geometry(), QRect(20, 40, 600, 496));
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    QCOMPARE(titles, (QStringList{"General", "Sounds", "Networking"}));
    // Controls stand at their places in the window's content, whatever the tab's frame.
    auto* content = w->findChild<QWidget*>(QStringLiteral("prefContent"));
    auto* pw = control<QLineEdit>(w, "pwFld");
    QCOMPARE(QRect(pw->mapTo(content, QPoint()), pw->size()), QRect(346, 86, 160, 22));
    QCOMPARE(pw->echoMode(), QLineEdit::Normal);
    QCOMPARE(pw->text(), QStringLiteral("Sesame "));
    QVERIFY(!control<QCheckBox>(w, "allowNoClass")->isChecked());
    QVERIFY(control<QCheckBox>(w, "reqPWbtn")->isChecked());
    QVERIFY(control<QCheckBox>(w, "noAnimBox")->isChecked());
    QVERIFY(control<QRadioButton>(w, "probSrcBtn", 2)->isChecked());
    QVERIFY(!control<QRadioButton>(w, "probSrcBtn", 0)->isChecked());
    QCOMPARE(control<QComboBox>(w, "numCritFld")->currentText(), QStringLiteral("5"));
    QCOMPARE(control<QComboBox>(w, "pctCritFld")->currentText(), QStringLiteral("90"));
    QCOMPARE(control<QComboBox>(w, "hiCritFld")->currentText(), QStringLiteral("12"));
    QCOMPARE(control<QComboBox>(w, "NumTries")->currentText(), QStringLiteral("4"));
    QVERIFY(control<QLabel>(w, "noticeFld")->isHidden());
    QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("This Computer"));
    QCOMPARE(control<QLineEdit>(w, "remoteLocFld")->toolTip(),
             QDir::toNativeSeparators(QFileInfo(localPrefs()).absolutePath()));
    QVERIFY(control<QLineEdit>(w, "remoteLocFld")->isReadOnly());
    QVERIFY(!control<QPushButton>(w, "useLocalBtn")->isEnabled());
    QCOMPARE(control<QComboBox>(w, "pctCritFld")->itemText(0), QStringLiteral("100"));
    QCOMPARE(control<QComboBox>(w, "pctCritFld")->itemText(6), QStringLiteral("70"));
    QCOMPARE(control<QComboBox>(w, "sndSelect", 1)->itemText(2), QStringLiteral("Air Horn"));
}

void TestPrefScrn10::closingShowsTheSignInWindowAndHelpOpensItsTopic() {
    // Admin > Preferences... (past the password) hands over from the sign-in window. The help window
    // is stood in for after the routes, which install the real one.
    Routes::install();
    QList<int> topics;
    HelpLink::install([&topics](int topic, QWidget*) { topics << topic; });
    NameScrn::instance()->show();
    NameScrn::instance()->hndlEvent(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(PrefScrn10::exists() && PrefScrn10::instance()->isVisible());
    QVERIFY(!NameScrn::exists());

    PrefScrn10* w = open();
    auto* bar = w->findChild<Menus::Bar*>();
    QVERIFY(bar);
    QAction* help = bar->item(QStringLiteral("HelpHelp"));
    QVERIFY(help->isEnabled());
    help->trigger();
    help->trigger();
    QCOMPARE(topics, (QList<int>{6, 6}));
    QVERIFY(PrefScrn10::exists());
    HelpLink::install({});

    // Edits waiting for Save are dropped by the close box; the next opening starts afresh.
    control<QTabWidget>(w, "TabPanel1")->setCurrentIndex(2);
    control<QCheckBox>(w, "reqPWbtn")->setChecked(true);
    closeBox(w);
    QVERIFY(!PrefScrn10::exists());
    QVERIFY(NameScrn::exists() && NameScrn::instance()->isVisible());
    QCOMPARE(myPrefs::prReqStPW, false);
    w = open();
    QCOMPARE(control<QTabWidget>(w, "TabPanel1")->currentIndex(), 0);
    QVERIFY(!control<QCheckBox>(w, "reqPWbtn")->isChecked());
}

// ---- Save

void TestPrefScrn10::saveClampsAndStores_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::newRow("tries abc") << "NumTries"
                               << "abc" << 2;
    QTest::newRow("tries empty") << "NumTries"
                                 << "" << 2;
    QTest::newRow("tries 7") << "NumTries"
                             << "7" << 6;
    QTest::newRow("problems 500") << "numCritFld"
                                  << "500" << 100;
    QTest::newRow("problems 55") << "numCritFld"
                                 << "55" << 55;
    QTest::newRow("percent 5") << "pctCritFld"
                               << "5" << 10;
    QTest::newRow("highest 25") << "hiCritFld"
                                << "25" << 19;
    QTest::newRow("highest 12abc") << "hiCritFld"
                                   << "12abc" << 12;
}

void TestPrefScrn10::saveClampsAndStores() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(int, stored);
    PrefScrn10* w = open();
    auto* box = control<QComboBox>(w, field.toLatin1().constData());
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), typed);
    QCOMPARE(box->currentText(), typed);
    control<QCheckBox>(w, "noAnimBox")->setChecked(true);
    control<QLineEdit>(w, "pwFld")->setText(QStringLiteral("abc"));
    save(w);

    QVERIFY(!PrefScrn10::exists());
    QVERIFY(NameScrn::exists() && NameScrn::instance()->isVisible());
    QVERIFY(dialogs_->shown.isEmpty()); // clamped without a word
    const Values v = storedValues();
    const int inFile = field == "NumTries"     ? v.maxTries
                       : field == "numCritFld" ? v.numCrit
                       : field == "pctCritFld" ? v.pctCrit
                                               : v.hiCrit;
    QCOMPARE(inFile, stored);
    QCOMPARE(v.passWord, QStringLiteral("abc"));
    QCOMPARE(v.noAnim, std::optional<bool>(true));
    QCOMPARE(v, myPrefs::current());

    // The next opening shows what was stored, also a value that is no list item.
    w = open();
    QCOMPARE(control<QComboBox>(w, field.toLatin1().constData())->currentText(), QString::number(stored));
}

void TestPrefScrn10::noticeOnlyForTheCriteria() {
    PrefScrn10* w = open();
    auto* notice = control<QLabel>(w, "noticeFld");
    QVERIFY(notice->isHidden());
    QTest::keyClicks(control<QComboBox>(w, "NumTries")->lineEdit(), QStringLiteral("5"));
    QVERIFY(notice->isHidden());

    // A pick from the list (the arrow key steps to the next entry).
    auto* num = control<QComboBox>(w, "numCritFld");
    num->setFocus();
    QTest::keyClick(num, Qt::Key_Down);
    QVERIFY(!notice->isHidden());
    // Typing the old value back leaves it shown.
    num->lineEdit()->setText(QStringLiteral("40"));
    QVERIFY(!notice->isHidden());
    closeBox(w);

    for (const char* field : {"pctCritFld", "hiCritFld"}) {
        w = open();
        QVERIFY(control<QLabel>(w, "noticeFld")->isHidden());
        QTest::keyClicks(control<QComboBox>(w, field)->lineEdit(), QStringLiteral("1"));
        QVERIFY2(!control<QLabel>(w, "noticeFld")->isHidden(), field);
        closeBox(w);
    }
}

void TestPrefScrn10::password_data() {
    QTest::addColumn<QString>("typed"); // after Clear
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("expected");
    QTest::newRow("clear, close box") << "" << false << "Old";
    QTest::newRow("clear, save") << "" << true << "";
    QTest::newRow("trailing blank") << "New one " << true << "New one ";
}

void TestPrefScrn10::password() {
    QFETCH(QString, typed);
    QFETCH(bool, saved);
    QFETCH(QString, expected);
    myPrefs::prPassWord = QStringLiteral("Old");
    myPrefs::hndlWritingPrefs();
    PrefScrn10* w = open();
    control<QPushButton>(w, "clearBtn")->click();
    QCOMPARE(control<QLineEdit>(w, "pwFld")->text(), QString());
    QCOMPARE(myPrefs::prPassWord, QStringLiteral("Old"));
    QTest::keyClicks(control<QLineEdit>(w, "pwFld"), typed);
    if (saved)
        save(w);
    else
        closeBox(w);
    QCOMPARE(myPrefs::prPassWord, expected);
    QCOMPARE(storedValues().passWord, expected);
}

void TestPrefScrn10::passwordTooLongIsRefused() {
    myPrefs::prPassWord = QStringLiteral("Old");
    myPrefs::hndlWritingPrefs();
    const QByteArray before = TestPrefs::readBytes(localPrefs());
    PrefScrn10* w = open();
    control<QLineEdit>(w, "pwFld")->setText(QString(300, QLatin1Char('k')));
    control<QCheckBox>(w, "reqPWbtn")->setChecked(true);
    save(w);
    QCOMPARE(dialogs_->messages(), QStringList{"The administrative password is too long to be saved."});
    QCOMPARE(dialogs_->shown.first().explanation,
             QStringLiteral("Please choose a shorter password. The preferences were not saved."));
    QVERIFY(PrefScrn10::exists() && w->isVisible());
    QCOMPARE(myPrefs::prPassWord, QStringLiteral("Old"));
    QVERIFY(!myPrefs::prReqStPW);
    QCOMPARE(TestPrefs::readBytes(localPrefs()), before);

    // A shorter one then goes through.
    control<QLineEdit>(w, "pwFld")->setText(QString(40, QLatin1Char('k')));
    save(w);
    QVERIFY(!PrefScrn10::exists());
    QCOMPARE(storedValues().passWord, QString(40, QLatin1Char('k')));
}

void TestPrefScrn10::immediateEditsStayInForceWithoutAWrite() {
    const QByteArray before = TestPrefs::readBytes(localPrefs());
    PrefScrn10* w = open();
    control<QRadioButton>(w, "probSrcBtn", 1)->click();
    QCOMPARE(myPrefs::prDataSource, 1);
    control<QRadioButton>(w, "sndStateBtn", 1)->click();
    control<QComboBox>(w, "sndSelect", 1)->setCurrentIndex(2);
    closeBox(w);

    QCOMPARE(myPrefs::prDataSource, 1);
    QCOMPARE(mySounds::getSndState(), 1);
    QCOMPARE(mySounds::getWrgSndVal(), 1);
    QCOMPARE(myPrefs::prSndSet, QStringLiteral("2,0,0,0"));
    QVERIFY(!myPrefs::prefsDirty);
    QCOMPARE(TestPrefs::readBytes(localPrefs()), before);

    // A restart reads the stored values back.
    QVERIFY(myPrefs::readPrefFile(localPrefs()));
    QCOMPARE(myPrefs::prDataSource, 0);
    QCOMPARE(mySounds::getSndState(), 2);
    QCOMPARE(mySounds::getWrgSndVal(), 0);
}

void TestPrefScrn10::soundControls() {
    // The defaults: random sounds, the first of each set.
    PrefScrn10* w = open();
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!control<QComboBox>(w, "sndSelect", i)->isEnabled());
        QVERIFY(control<QPushButton>(w, "hearSndBtn", i)->isHidden());
    }
    QVERIFY(control<QRadioButton>(w, "sndStateBtn", 2)->isChecked());
    QCOMPARE(control<QComboBox>(w, "sndSelect", 0)->currentText(), QStringLiteral("Laugh"));

    control<QRadioButton>(w, "sndStateBtn", 1)->click();
    QCOMPARE(mySounds::getSndState(), 1);
    const QStringList shown{"Laugh", "Oops", "TaDa"};
    for (int i = 0; i < 3; ++i) {
        auto* picker = control<QComboBox>(w, "sndSelect", i);
        auto* hear = control<QPushButton>(w, "hearSndBtn", i);
        QVERIFY(picker->isEnabled());
        QCOMPARE(picker->currentText(), shown.at(i));
        QVERIFY(!hear->isHidden());
        QVERIFY(hear->isEnabled());
    }

    control<QComboBox>(w, "sndSelect", 1)->setCurrentText(QStringLiteral("Air Horn"));
    control<QPushButton>(w, "hearSndBtn", 1)->click();
    QCOMPARE(feedback_->sounds, QStringList{"wrong2"});
    // In force for the whole program at once.
    mySounds::playWrong();
    QCOMPARE(feedback_->sounds, (QStringList{"wrong2", "wrong2"}));

    // "Select" keeps the choice in force and only disables Hear.
    control<QComboBox>(w, "sndSelect", 0)->setCurrentText(QStringLiteral("Bing"));
    control<QComboBox>(w, "sndSelect", 0)->setCurrentIndex(0);
    QVERIFY(!control<QPushButton>(w, "hearSndBtn", 0)->isEnabled());
    QCOMPARE(mySounds::getCorSnd(), 2);

    // Sound Off: pickers disabled on the choices, Hear hidden; Use Selected brings them back.
    control<QRadioButton>(w, "sndStateBtn", 0)->click();
    QCOMPARE(mySounds::getSndState(), 0);
    QVERIFY(!control<QComboBox>(w, "sndSelect", 1)->isEnabled());
    QVERIFY(control<QPushButton>(w, "hearSndBtn", 1)->isHidden());
    QCOMPARE(control<QComboBox>(w, "sndSelect", 0)->currentText(), QStringLiteral("Bing"));
    QCOMPARE(control<QComboBox>(w, "sndSelect", 1)->currentText(), QStringLiteral("Air Horn"));
    save(w);
    QCOMPARE(storedValues().sndSet, QStringLiteral("0,2,1,0"));

    // Opened in state 0: the choices shown, disabled, Hear hidden.
    w = open();
    QVERIFY(control<QRadioButton>(w, "sndStateBtn", 0)->isChecked());
    QCOMPARE(control<QComboBox>(w, "sndSelect", 1)->currentText(), QStringLiteral("Air Horn"));
    QVERIFY(!control<QComboBox>(w, "sndSelect", 1)->isEnabled());
    QVERIFY(control<QPushButton>(w, "hearSndBtn", 1)->isHidden());
    control<QRadioButton>(w, "sndStateBtn", 1)->click();
    QCOMPARE(control<QComboBox>(w, "sndSelect", 0)->currentText(), QStringLiteral("Bing"));
}

void TestPrefScrn10::savingTheChosenSounds() {
    PrefScrn10* w = open();
    control<QRadioButton>(w, "sndStateBtn", 1)->click();
    control<QComboBox>(w, "sndSelect", 0)->setCurrentText(QStringLiteral("Bing"));
    control<QComboBox>(w, "sndSelect", 1)->setCurrentText(QStringLiteral("Truck Horn"));
    control<QComboBox>(w, "sndSelect", 2)->setCurrentText(QStringLiteral("Drums"));
    save(w);
    QCOMPARE(myPrefs::prSndSet, QStringLiteral("1,2,2,2"));
    QCOMPARE(storedValues().sndSet, QStringLiteral("1,2,2,2"));
}

void TestPrefScrn10::damagedValuesSelectNoButton() {
    myPrefs::prDataSource = 7;
    mySounds::setSndState(9);
    PrefScrn10* w = open();
    for (int i = 0; i < 3; ++i) {
        QVERIFY(!control<QRadioButton>(w, "probSrcBtn", i)->isChecked());
        QVERIFY(!control<QRadioButton>(w, "sndStateBtn", i)->isChecked());
        QVERIFY(!control<QComboBox>(w, "sndSelect", i)->isEnabled());
    }
    // A click mends it.
    control<QRadioButton>(w, "probSrcBtn", 0)->click();
    control<QRadioButton>(w, "sndStateBtn", 2)->click();
    save(w);
    QCOMPARE(storedValues().dataSource, 0);
    QCOMPARE(storedValues().sndSet, QStringLiteral("2,0,0,0"));
}

// ---- Look

void TestPrefScrn10::textSizes_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("sized"); // the controls of the given size; "*" for all of the tab
    QTest::addColumn<int>("size");          // in pixels; every other control has the window's size
    QTest::addColumn<QStringList>("italic");
    QTest::newRow("general") << 0 << QStringList{"clearBtn", "StaticText3", "noticeFld"} << 10
                             << QStringList{"StaticText3"};
    QTest::newRow("sounds") << 1 << QStringList{"*"} << 12 << QStringList{};
    QTest::newRow("networking") << 2 << QStringList{"localLocFld", "remoteLocFld", "chgLocBtn", "useLocalBtn"}
                                << 10 << QStringList{};
}

void TestPrefScrn10::textSizes() {
    QFETCH(int, tab);
    QFETCH(QStringList, sized);
    QFETCH(int, size);
    QFETCH(QStringList, italic);
    PrefScrn10* w = open();
    const int standard = w->font().pixelSize();
    QVERIFY(standard > 0 && standard != size);
    QWidget* page = control<QTabWidget>(w, "TabPanel1")->widget(tab);
    int seen = 0;
    for (QWidget* c : page->findChildren<QWidget*>()) {
        if (c->objectName().isEmpty() || c->parentWidget()->parentWidget() != page)
            continue;
        ++seen;
        const bool isSized = sized.contains(QStringLiteral("*")) || sized.contains(c->objectName());
        QVERIFY2(c->font().pixelSize() == (isSized ? size : standard),
                 qPrintable(c->objectName() + QStringLiteral(": ") + QString::number(c->font().pixelSize())));
        QCOMPARE(c->font().italic(), italic.contains(c->objectName()));
    }
    QVERIFY(seen >= 6);
}

void TestPrefScrn10::nothingCutOffOrCovered_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("soundState");
    QTest::addColumn<bool>("shared");
    QTest::newRow("general") << 0 << 2 << false;
    QTest::newRow("sounds, chosen") << 1 << 1 << false;
    QTest::newRow("sounds, off") << 1 << 0 << false;
    QTest::newRow("networking, local") << 2 << 2 << false;
    QTest::newRow("networking, shared") << 2 << 2 << true;
}

void TestPrefScrn10::nothingCutOffOrCovered() {
    QFETCH(int, tab);
    QFETCH(int, soundState);
    QFETCH(bool, shared);
    // The paths the window shows are as long as the temporary folder of the computer the tests run on
    // makes them: here longer than any field, whatever that folder is.
    DBCtrl::closeDB();
    deepTemp_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/numbrook-riza-") +
                                                QString(100, QLatin1Char('d')) + QStringLiteral("-XXXXXX"));
    QVERIFY(deepTemp_->isValid());
    const QByteArray tempBefore = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(deepTemp_->path()));
    sandbox_ = std::make_unique<TestPrefs::Sandbox>();
    qputenv("TMPDIR", tempBefore);
    QVERIFY(sandbox_->path({}).startsWith(deepTemp_->path()));
    myPrefs::initPrefs();
    myPrefs::hndlWritingPrefs();
    DBCtrl::check4Database(myPrefs::getLocalDataFol());
    QVERIFY(DBCtrl::isConnected());
    dialogs_->clear();

    mySounds::setSndState(soundState);
    mySounds::setTheSnd(2, 7); // the longest name of a set
    const QString share = sandbox_->folder(QStringLiteral("Shared Drive/Numbrook Riza Data"));
    if (shared) {
        dialogs_->paths.push_back(share);
        PrefScrn10* first = open();
        control<QPushButton>(first, "chgLocBtn")->click();
        closeBox(first);
        QVERIFY(myPrefs::prUseAltLoc);
    }
    PrefScrn10* w = open();
    auto* tabs = control<QTabWidget>(w, "TabPanel1");
    tabs->setCurrentIndex(tab);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QWidget* page = tabs->currentWidget();
    const QRect pageArea(page->mapTo(tabs->parentWidget(), QPoint()), page->size());

    QList<QWidget*> shown;
    for (QWidget* c : page->findChildren<QWidget*>()) {
        if (c->isVisible() && !c->objectName().isEmpty() && c->parentWidget()->parentWidget() == page)
            shown << c;
    }
    QVERIFY(shown.size() >= 5);
    auto* content = tabs->parentWidget();
    auto area = [content](QWidget* c) {
        return QRect(c->mapTo(content, QPoint()), c->size());
    };
    for (QWidget* c : shown) {
        QVERIFY2(pageArea.contains(area(c)), qPrintable(c->objectName()));
        if (auto* label = qobject_cast<QLabel*>(c)) {
            const QRect needed = label->fontMetrics().boundingRect(
                QRect(0, 0, label->width(), 1000),
                int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0), label->text());
            QVERIFY2(needed.width() <= label->width() && needed.height() <= label->height(),
                     qPrintable(label->objectName()));
        } else if (auto* button = qobject_cast<QAbstractButton*>(c)) {
            QVERIFY2(button->sizeHint().width() <= button->width() + 2 ||
                         button->fontMetrics().horizontalAdvance(button->text()) <= button->width() - 20,
                     qPrintable(button->text()));
        } else if (auto* field = qobject_cast<QLineEdit*>(c)) {
            QVERIFY2(field->fontMetrics().horizontalAdvance(field->text()) <= field->width() - 8,
                     qPrintable(c->objectName()));
            if (field->objectName() == QLatin1String("remoteLocFld")) {
                // A path too long for the field keeps its start and its last folder, the part left out
                // marked in the middle; the whole path is in the field's tip.
                const QString full = QDir::toNativeSeparators(
                    shared ? share : QFileInfo(myPrefs::localPrefFile()).absolutePath());
                QCOMPARE(field->toolTip(), full);
                const QStringList ends = field->text().split(QChar(0x2026));
                QCOMPARE(ends.size(), 2);
                QVERIFY2(ends[0].size() > 1 && full.startsWith(ends[0]), qPrintable(field->text()));
                QVERIFY2(full.endsWith(ends[1]) && ends[1].endsWith(QFileInfo(full).fileName()),
                         qPrintable(field->text()));
            }
        } else if (auto* box = qobject_cast<QComboBox*>(c)) {
            QVERIFY2(box->fontMetrics().horizontalAdvance(box->currentText()) <= box->width() - 24,
                     qPrintable(box->currentText()));
        }
    }
    // No two controls lie on each other (group boxes frame others, and are left out).
    for (int i = 0; i < shown.size(); ++i) {
        for (int j = i + 1; j < shown.size(); ++j) {
            if (qobject_cast<QGroupBox*>(shown[i]) || qobject_cast<QGroupBox*>(shown[j]))
                continue;
            QVERIFY2(!area(shown[i]).adjusted(1, 1, -1, -1).intersects(area(shown[j]).adjusted(1, 1, -1, -1)),
                     qPrintable(shown[i]->objectName() + QStringLiteral(" / ") + shown[j]->objectName()));
        }
    }

    const QString name =
        QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1String(", "), QLatin1String("-"));
    Look::saveShot(w, QStringLiteral("prefs-%1.png").arg(name));
}

// ---- Networking

void TestPrefScrn10::cancelledFolderChooserChangesNothing() {
    const QByteArray before = TestPrefs::readBytes(localPrefs());
    const QString database = DBCtrl::databasePath();
    PrefScrn10* w = open();
    control<QPushButton>(w, "chgLocBtn")->click();
    QCOMPARE(dialogs_->shown.size(), 1);
    const Seams::FileRequest asked = dialogs_->shown.first().file;
    QCOMPARE(dialogs_->shown.first().kind, TestDoubles::Shown::SelectFolder);
    QCOMPARE(asked.title, QStringLiteral("Select A Folder"));
    QCOMPARE(asked.prompt, QStringLiteral("Choose an alternate location for the data"));
    QCOMPARE(asked.folder, QStringLiteral("/"));
    QCOMPARE(asked.acceptCaption, QStringLiteral("Select"));
    QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("This Computer"));
    QVERIFY(!myPrefs::prUseAltLoc);
    QCOMPARE(DBCtrl::databasePath(), database);
    QCOMPARE(TestPrefs::readBytes(localPrefs()), before);
}

void TestPrefScrn10::movingOutAndBackForReal() {
    // A school's worth of data on this computer.
    for (const char* c : {"Room 12", "Mrs O'Neil's Class"})
        QVERIFY(DBCtrl::insertClass(QLatin1String(c)));
    for (int i = 0; i < 40; ++i) {
        const QString name = QStringLiteral("Student %1").arg(i, 2, 10, QLatin1Char('0'));
        const int id =
            DBCtrl::insertName(name, i % 3 ? QStringLiteral("pw%1").arg(i) : QString(),
                               i % 2 ? QStringLiteral("Room 12") : QStringLiteral("Mrs O'Neil's Class"));
        QVERIFY(id > 0);
        QStringList counts;
        for (int f = 0; f < 19; ++f)
            counts << QStringLiteral("%1/%2").arg((i + f) % 7).arg(7 + i % 5);
        QVERIFY(
            DBCtrl::exec(QStringLiteral("INSERT INTO theData (StID, lastDate, stAdd, stSub, stMul, stDiv, "
                                        "stParam, zeriGames) VALUES (?, '3/4/26', ?, ?, ?, ?, ?, ?)"),
                         {QString::number(id), counts.join(','), counts.join(','), counts.join(','),
                          counts.join(','), QStringLiteral("0,0,10,1^1^1^1,0,15,10,0,0,0,0"),
                          QStringLiteral("12.5,99.99,3,99.99,0,99.99")}));
        if (i % 8 == 0)
            QVERIFY(DBCtrl::insertHOF(name));
    }
    const QString local = localDatabase();
    QCOMPARE(DBCtrl::databasePath(), local);
    const auto localTables = dump(local);
    QCOMPARE(localTables.value("Names").size(), 40);
    QCOMPARE(localTables.value("HallData").size(), 5);
    const QString share = sandbox_->folder(QStringLiteral("server/NumbrookShare"));
    const QString shared = inFolder(share, DBCtrl::kFileName);

    // Out through the button.
    PrefScrn10* w = open();
    dialogs_->paths.push_back(share);
    control<QPushButton>(w, "chgLocBtn")->click();
    QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("Remote Server"));
    QCOMPARE(control<QLineEdit>(w, "remoteLocFld")->toolTip(), QDir::toNativeSeparators(share));
    QVERIFY(!control<QPushButton>(w, "useLocalBtn")->isEnabled()); // until the window opens again
    QVERIFY(dialogs_->messages().contains(QStringLiteral("The local data was copied to the new location.")));
    QCOMPARE(DBCtrl::databasePath(), shared);
    QCOMPARE(dump(shared), localTables);
    QCOMPARE(databaseAfterRestart(), shared);
    closeBox(w);

    // A student saved in network mode goes to the share; the local file stays as it was.
    const QByteArray localBytes = TestPrefs::readBytes(local);
    QVERIFY(DBCtrl::insertName(QStringLiteral("Newcomer"), QString(), QStringLiteral("Room 12")) > 0);
    const auto sharedTables = dump(shared);
    QCOMPARE(sharedTables.value("Names").size(), 41);
    QCOMPARE(TestPrefs::readBytes(local), localBytes);

    // Back to this computer: opened in network mode, the button is there.
    w = open();
    QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("Remote Server"));
    QCOMPARE(control<QLineEdit>(w, "remoteLocFld")->toolTip(), QDir::toNativeSeparators(share));
    auto* useLocal = control<QPushButton>(w, "useLocalBtn");
    QVERIFY(useLocal->isEnabled());
    useLocal->click();
    QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("This Computer"));
    QCOMPARE(control<QLineEdit>(w, "remoteLocFld")->toolTip(),
             QDir::toNativeSeparators(QFileInfo(localPrefs()).absolutePath()));
    QVERIFY(!useLocal->isEnabled());
    QCOMPARE(DBCtrl::databasePath(), local);
    QCOMPARE(dump(local), localTables);
    QCOMPARE(dump(shared), sharedTables);
    QCOMPARE(databaseAfterRestart(), local);

    // Out again: the share's preferences are replaced, its database (the newcomer too) is used.
    dialogs_->clear();
    dialogs_->paths.push_back(share);
    dialogs_->answers.push_back(Seams::Answer::Default); // "Replace"
    control<QPushButton>(w, "chgLocBtn")->click();
    QVERIFY(dialogs_->messages().contains(
        QStringLiteral("Numbrook Riza will now use the database at the new location.")));
    QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("Remote Server"));
    QCOMPARE(DBCtrl::databasePath(), shared);
    QCOMPARE(dump(shared), sharedTables);
    QCOMPARE(dump(local), localTables);
    QCOMPARE(databaseAfterRestart(), shared);
}

void TestPrefScrn10::shareAlreadyHoldingPreferences_data() {
    QTest::addColumn<bool>("replace");
    QTest::newRow("Replace") << true;
    QTest::newRow("Cancel") << false;
}

void TestPrefScrn10::shareAlreadyHoldingPreferences() {
    QFETCH(bool, replace);
    const QString share = sandbox_->folder(QStringLiteral("server/Other"));
    Values theirs;
    theirs.numCrit = 70;
    theirs.dataSource = 2;
    theirs.sndSet = QStringLiteral("1,4,4,4");
    const auto bytes = myPrefs::encodeFile(theirs);
    QVERIFY(bytes && TestPrefs::writeBytes(inFolder(share, myPrefs::kOldPrefFileName), *bytes));

    PrefScrn10* w = open();
    dialogs_->paths.push_back(share);
    dialogs_->answers.push_back(replace ? Seams::Answer::Default : Seams::Answer::Cancel);
    control<QPushButton>(w, "chgLocBtn")->click();
    QCOMPARE(
        dialogs_->shown.at(1).message,
        QStringLiteral("There is already a Pref file at that location. Should I replace that file with my "
                       "current preferences?"));
    QCOMPARE(dialogs_->shown.at(1).question.defaultCaption, QStringLiteral("Replace"));
    QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("Remote Server"));
    const auto inShare =
        myPrefs::decodeFile(TestPrefs::readBytes(inFolder(share, myPrefs::kOldPrefFileName)));
    QVERIFY(inShare);
    QCOMPARE(inShare->numCrit, replace ? 40 : 70);
    QCOMPARE(myPrefs::prNumCrit, replace ? 40 : 70);
    QCOMPARE(myPrefs::prDataSource, replace ? 0 : 2);
    QCOMPARE(mySounds::getWrgSndVal(), replace ? 0 : 4);
    // The window shows the preferences now in force, the problem source and sounds with them.
    QCOMPARE(control<QComboBox>(w, "numCritFld")->currentText(),
             replace ? QStringLiteral("40") : QStringLiteral("70"));
    QCOMPARE(control<QRadioButton>(w, "probSrcBtn", replace ? 0 : 2)->isChecked(), true);
    QCOMPARE(control<QRadioButton>(w, "sndStateBtn", replace ? 2 : 1)->isChecked(), true);
    QCOMPARE(control<QComboBox>(w, "sndSelect", 1)->isEnabled(), !replace);
    QCOMPARE(DBCtrl::databasePath(), inFolder(share, DBCtrl::kFileName));
}

void TestPrefScrn10::refusedFolders() {
    const QByteArray before = TestPrefs::readBytes(localPrefs());
    const QString database = DBCtrl::databasePath();
    // Something that is no folder at all: refused for everyone, the superuser too.
    const QString notAFolder = sandbox_->path(QStringLiteral("server/plain-file"));
    QDir().mkpath(QFileInfo(notAFolder).absolutePath());
    QVERIFY(TestPrefs::writeBytes(notAFolder, "x"));
    // A folder where a folder stands in the preferences file's place cannot take the file, whoever
    // runs the program, the superuser too.
    const QString blocked = sandbox_->folder(QStringLiteral("server/blocked"));
    QVERIFY(QDir(blocked).mkdir(QString::fromLatin1(myPrefs::kOldPrefFileName)));
    QStringList folders{notAFolder, blocked};
    // A folder without write permission binds everyone but the superuser.
    QString readOnly;
    if (::geteuid() != 0) {
        readOnly = sandbox_->folder(QStringLiteral("server/locked"));
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        folders << readOnly;
    }

    PrefScrn10* w = open();
    for (const QString& folder : folders) {
        dialogs_->clear();
        dialogs_->paths.push_back(folder);
        control<QPushButton>(w, "chgLocBtn")->click();
        QVERIFY2(dialogs_->shown.size() >= 2, qPrintable(folder)); // the chooser, then the data layer's word
        QVERIFY2(dialogs_->messages().contains(
                     QStringLiteral("Unable to create a Preferences file at the new location.")),
                 qPrintable(dialogs_->messages().join(QStringLiteral(" / "))));
        QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("This Computer"));
        QCOMPARE(control<QLineEdit>(w, "remoteLocFld")->toolTip(),
                 QDir::toNativeSeparators(QFileInfo(localPrefs()).absolutePath()));
        QVERIFY(!myPrefs::prUseAltLoc);
        QCOMPARE(DBCtrl::databasePath(), database);
        QCOMPARE(TestPrefs::readBytes(localPrefs()), before);
    }
    // Nothing of the move is left in the folder that could not take it.
    QCOMPARE(QDir(blocked).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QString::fromLatin1(myPrefs::kOldPrefFileName)});
    if (!readOnly.isEmpty()) {
        QVERIFY(!QFileInfo::exists(inFolder(readOnly, DBCtrl::kFileName)));
        QFile::setPermissions(readOnly,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

void TestPrefScrn10::refusedFolderWhileShared() {
    const QString share = sandbox_->folder(QStringLiteral("server/Share"));
    PrefScrn10* w = open();
    dialogs_->paths.push_back(share);
    control<QPushButton>(w, "chgLocBtn")->click();
    QCOMPARE(DBCtrl::databasePath(), inFolder(share, DBCtrl::kFileName));
    closeBox(w);

    // From network mode, a refused folder leaves the share in force, in memory and on disk alike.
    const QString notAFolder = sandbox_->path(QStringLiteral("server/plain-file"));
    QVERIFY(TestPrefs::writeBytes(notAFolder, "x"));
    w = open();
    dialogs_->clear();
    dialogs_->paths.push_back(notAFolder);
    control<QPushButton>(w, "chgLocBtn")->click();
    QVERIFY(dialogs_->messages().contains(
        QStringLiteral("Unable to create a Preferences file at the new location.")));
    QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("Remote Server"));
    QCOMPARE(control<QLineEdit>(w, "remoteLocFld")->toolTip(), QDir::toNativeSeparators(share));
    QVERIFY(control<QPushButton>(w, "useLocalBtn")->isEnabled());
    QCOMPARE(DBCtrl::databasePath(), inFolder(share, DBCtrl::kFileName));
    QCOMPARE(databaseAfterRestart(), DBCtrl::databasePath());

    // The share out of reach: the field still names it.
    closeBox(w);
    QVERIFY(QDir(share).removeRecursively());
    w = open();
    QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("Remote Server"));
    QCOMPARE(control<QLineEdit>(w, "remoteLocFld")->toolTip(), QDir::toNativeSeparators(share));
}

void TestPrefScrn10::saveWritesOnlyWhatWasEdited_data() {
    QTest::addColumn<int>("scene");
    QTest::addColumn<QString>("field"); // the number field the teacher edits, if any
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("messages"); // those of the save
    QTest::addColumn<bool>("closes");
    // The general fields of this computer's file and the share's newer name after the save; none:
    // byte for byte as before it.
    QTest::addColumn<std::optional<Values>>("local");
    QTest::addColumn<std::optional<Values>>("shared");

    auto with = [](Values v, auto change) {
        change(v);
        return std::optional<Values>(v);
    };
    const std::optional<Values> unchanged;
    const QString notSaved = QStringLiteral("Unable to write to the remote location.");

    const auto adoptedHi = with(theirs(), [](Values& v) { v.hiCrit = 15; });
    QTest::newRow("move with Cancel, then Save") << int(Scene::MoveCancelThenSave) << "hiCritFld"
                                                 << "15" << QStringList{} << true << adoptedHi << adoptedHi;
    const auto adoptedEdit = with(theirs(), [](Values& v) { v.numCrit = 30; });
    QTest::newRow("edit, move with Cancel, then Save")
        << int(Scene::EditMoveCancelThenSave) << "numCritFld"
        << "30" << QStringList{} << true << adoptedEdit << adoptedEdit;

    Values other = theirs();
    other.passWord = QStringLiteral("Changed");
    other.pctCrit = 70;
    const auto bothSaves = with(other, [](Values& v) { v.numCrit = 60; });
    QTest::newRow("two computers' saves")
        << int(Scene::OtherComputerSaved) << "numCritFld"
        << "60" << QStringList{"The administrative password saved on the server was kept."} << true
        << bothSaves << bothSaves;
    QTest::newRow("share unreachable") << int(Scene::ShareGone) << "numCritFld"
                                       << "60" << QStringList{notSaved} << false << unchanged << unchanged;
    QTest::newRow("share unmounted") << int(Scene::ShareUnmounted) << "numCritFld"
                                     << "60" << QStringList{notSaved} << false << unchanged << unchanged;
    const auto ours = with(Values{}, [](Values& v) { v.numCrit = 60; });
    QTest::newRow("share without preferences") << int(Scene::NoSharedFile) << "numCritFld"
                                               << "60" << QStringList{} << true << ours << ours;
    QTest::newRow("out-of-range values") << int(Scene::OutOfRange) << ""
                                         << "" << QStringList{} << true
                                         << with(Values{},
                                                 [](Values& v) {
                                                     v.numCrit = 10;
                                                     v.hiCrit = 19;
                                                     v.maxTries = 6;
                                                 })
                                         << unchanged;
}

void TestPrefScrn10::saveWritesOnlyWhatWasEdited() {
    QFETCH(int, scene);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);
    QFETCH(bool, closes);
    QFETCH(std::optional<Values>, local);
    QFETCH(std::optional<Values>, shared);
    const Scene at = Scene(scene);
    const QString share = sandbox_->folder(QStringLiteral("server/School"));
    const QString plist = inFolder(share, myPrefs::kPrefFileName);
    const QString older = inFolder(share, myPrefs::kOldPrefFileName);
    auto edit = [&](PrefScrn10* w) {
        if (field.isEmpty())
            return;
        auto* box = control<QComboBox>(w, field.toLatin1().constData());
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), typed);
    };

    PrefScrn10* w = nullptr;
    if (at == Scene::MoveCancelThenSave || at == Scene::EditMoveCancelThenSave) {
        QVERIFY(writeValues(older, theirs()));
        w = open();
        if (at == Scene::EditMoveCancelThenSave)
            edit(w);
        dialogs_->paths.push_back(share);
        dialogs_->answers.push_back(Seams::Answer::Cancel); // take the share's preferences
        control<QPushButton>(w, "chgLocBtn")->click();
        QVERIFY(myPrefs::prUseAltLoc);
        // The window shows the preferences in force, and the teacher's edit.
        QCOMPARE(control<QLineEdit>(w, "pwFld")->text(), QStringLiteral("Theirs"));
        QCOMPARE(control<QComboBox>(w, "NumTries")->currentText(), QStringLiteral("5"));
        QCOMPARE(control<QComboBox>(w, "numCritFld")->currentText(),
                 at == Scene::EditMoveCancelThenSave ? typed : QStringLiteral("70"));
        QVERIFY(control<QRadioButton>(w, "probSrcBtn", 2)->isChecked());
        QVERIFY(control<QRadioButton>(w, "sndStateBtn", 1)->isChecked());
        QCOMPARE(control<QComboBox>(w, "sndSelect", 1)->currentIndex(), 5);
        if (at == Scene::MoveCancelThenSave)
            edit(w);
    } else if (at == Scene::OutOfRange) {
        TestPrefs::RawFile raw;
        raw.numCrit = 5, raw.hiCrit = 25, raw.maxTries = 8;
        QVERIFY(TestPrefs::writeBytes(localPrefs(), raw.bytes()));
        myPrefs::hndlReadingPrefs();
        QVERIFY(!QFileInfo::exists(localPrefs() + ".damaged"));
        w = open();
        QCOMPARE(control<QComboBox>(w, "numCritFld")->currentText(), QStringLiteral("5"));
        QCOMPARE(control<QComboBox>(w, "hiCritFld")->currentText(), QStringLiteral("25"));
        QCOMPARE(control<QComboBox>(w, "NumTries")->currentText(), QStringLiteral("8"));
    } else {
        // Network mode as a start finds it: this computer's file names the share, which holds the
        // school's database and, but for one scene, its preferences.
        Values mine;
        mine.useAltLoc = true;
        mine.altFileLoc = share;
        QVERIFY(writeValues(localPrefs(), mine));
        QVERIFY(TestPrefs::putSchoolDatabase(share));
        Values onShare = theirs();
        onShare.useAltLoc = true;
        onShare.altFileLoc = share;
        if (at != Scene::NoSharedFile)
            QVERIFY(writeValues(plist, onShare) && writeValues(older, onShare));
        myPrefs::hndlReadingPrefs();
        QVERIFY(myPrefs::prUseAltLoc);
        QCOMPARE(dialogs_->messages(), at == Scene::NoSharedFile
                                           ? QStringList{"No preferences file was found on the server."}
                                           : QStringList{});
        w = open();
        QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("Remote Server"));
        edit(w);
        if (at == Scene::OtherComputerSaved) {
            Values saved = onShare;
            saved.altFileLoc = QStringLiteral("/Volumes/School");
            saved.passWord = QStringLiteral("Changed");
            saved.pctCrit = 70;
            QVERIFY(writeValues(plist, saved));
        } else if (at == Scene::ShareGone) {
            QVERIFY(QDir(share).removeRecursively());
        } else if (at == Scene::ShareUnmounted) {
            QVERIFY(QDir(share).removeRecursively());
            sandbox_->folder(QStringLiteral("server/School"));
        }
    }

    const QByteArray localBefore = TestPrefs::readBytes(localPrefs());
    const QByteArray plistBefore = TestPrefs::readBytes(plist);
    const QByteArray olderBefore = TestPrefs::readBytes(older);
    const QStringList shareBefore =
        QDir(share).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    dialogs_->clear();
    save(w);

    QCOMPARE(dialogs_->messages(), messages);
    QCOMPARE(PrefScrn10::exists(), !closes);
    if (local)
        QCOMPARE(generalIn(localPrefs()), local);
    else
        QCOMPARE(TestPrefs::readBytes(localPrefs()), localBefore);
    if (shared) {
        QCOMPARE(generalIn(plist), shared);
        QCOMPARE(myPrefs::decodeFile(TestPrefs::readBytes(plist))->altFileLoc, share);
    } else {
        QCOMPARE(TestPrefs::readBytes(plist), plistBefore);
        QCOMPARE(QDir(share).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), shareBefore);
    }
    QCOMPARE(TestPrefs::readBytes(older), olderBefore);
    if (closes) {
        // What was saved is in force, the sounds with it.
        QCOMPARE(general(myPrefs::current()), *local);
        QCOMPARE(mySounds::createSndSet(), local->sndSet);
    } else {
        // Nothing saved: the window stays with the teacher's edit, to be saved again or closed.
        QCOMPARE(control<QComboBox>(w, field.toLatin1().constData())->currentText(), typed);
        QCOMPARE(myPrefs::prNumCrit, theirs().numCrit);
    }
    // Network mode is this computer's setting, whatever the save met.
    QCOMPARE(myPrefs::decodeFile(TestPrefs::readBytes(localPrefs()))->useAltLoc, at != Scene::OutOfRange);
}

void TestPrefScrn10::unreachableAtStartKeepsNetworkMode() {
    // A start that finds the share out of reach works on this computer for the run; the teacher's
    // Save then saves nothing, and "Use This Computer" is there to leave the share on purpose.
    const QString share = sandbox_->path(QStringLiteral("server/School"));
    Values mine;
    mine.useAltLoc = true;
    mine.altFileLoc = share;
    QVERIFY(writeValues(localPrefs(), mine));
    dialogs_->answers.push_back(Seams::Answer::Cancel); // "Use Local Computer"
    myPrefs::hndlReadingPrefs();
    QVERIFY(!myPrefs::prUseAltLoc);
    const QByteArray before = TestPrefs::readBytes(localPrefs());

    PrefScrn10* w = open();
    QCOMPARE(control<QLabel>(w, "localLocFld")->text(), QStringLiteral("This Computer"));
    control<QCheckBox>(w, "reqPWbtn")->setChecked(true);
    dialogs_->clear();
    save(w);
    QCOMPARE(dialogs_->messages(), QStringList{"Unable to write to the remote location."});
    QCOMPARE(TestPrefs::readBytes(localPrefs()), before);
    QVERIFY(!QFileInfo::exists(share));

    auto* useLocal = control<QPushButton>(w, "useLocalBtn");
    QVERIFY(useLocal->isEnabled());
    useLocal->click();
    QVERIFY(!storedValues().useAltLoc);
    QVERIFY(!useLocal->isEnabled());
    // Now a Save reaches this computer's file.
    save(w);
    QVERIFY(!PrefScrn10::exists());
    QVERIFY(storedValues().reqStPW);
}

QTEST_MAIN(TestPrefScrn10)
#include "tst_prefscrn10.moc"
