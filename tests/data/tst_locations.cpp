// Where the preferences and the data live, the start-up read with the shared folder, and the moves
// of the data to a shared folder and back. Every test runs in its own sandbox of platform folders;
// temporary folders stand in for the shared network folder.

#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "data/random.h"
#include "datafiles.h"
#include "prefs_file.h"
#include "support/doubles.h"
#include "support/fixtures.h"
#include "support/unprivileged.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <QtTest>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using myPrefs::Values;
using TestDoubles::ScriptedDialogs;
using TestDoubles::Shown;
using TestFiles::ageBy;
using TestFiles::modeOf;
using TestFiles::studentsIn;

using TestPrefs::fileValues;
using TestPrefs::writeValues;

namespace {

// A dialogs double that can also change the world while a question is on screen, the way a network
// folder comes back or vanishes while the teacher reads the question.
class ActingDialogs : public ScriptedDialogs {
public:
    std::function<void()> whileAsking;
    Seams::Answer ask(const Seams::Question& question) override {
        if (whileAsking)
            whileAsking();
        return ScriptedDialogs::ask(question);
    }
};

// A preferences file whose password field no program could have written.
QByteArray unreadablePasswordFile(const Values& v) {
    TestPrefs::RawFile f;
    f.password = "Z!";
    f.useAltLoc = v.useAltLoc ? 1 : 0;
    f.reference = v.altFileLoc.toUtf8().toBase64();
    f.maxTries = v.maxTries;
    return f.bytes();
}

// The stored form of an ASCII password under one key of the scrambling, made here by hand so that
// the folder's field is a form the program need not draw again: a field written anew, instead of
// kept, shows as other bytes.
QByteArray storedPassword(const QByteArray& password, int key) {
    QByteArray out(1, static_cast<char>('A' + key));
    for (qsizetype i = 0; i < password.size(); ++i)
        out.append(static_cast<char>(password[i] + (i % 2 == 0 ? -key : key)));
    return out;
}

// Field 1 of a preferences file as stored: its length byte and that many bytes.
QByteArray passwordField(const QByteArray& file) {
    return file.isEmpty() ? QByteArray() : file.left(1 + static_cast<quint8>(file.at(0)));
}

QStringList allMessages(const ScriptedDialogs& d) {
    QStringList out;
    for (const Shown& s : d.shown)
        out << s.text();
    return out;
}

} // namespace

class TestLocations : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void foldersOfThisPlatform();
    void folderReferences_data();
    void folderReferences();
    void firstStartMakesTheLocalFileFromDefaults();
    void fileDeletedDuringTheRunKeepsThePreferencesInUse();
    void olderFileIsTakenOverOnce();
    void damagedOlderFileDoesNotBlockPreferences();
    void damagedLocalFileKeepsDefaultsAndSkipsTheNetwork();
    void unusableSharedFolderReferenceIsToldAndKept();
    void sharedCopyKeepsThisComputersLocation();
    void sharedFolderUnreachable_data();
    void sharedFolderUnreachable();
    void savingInNetworkModeWritesBothFiles();
    void dataFolderOfEachMode();
    void startClosesTheDataToOthersOnly_data();
    void startClosesTheDataToOthersOnly();
    void leftoversOfStoppedWritesGoWhenOld();
    void unreadablePasswordIsToldAtStart_data();
    void unreadablePasswordIsToldAtStart();
    void busyDatabaseSaysWhatToDo_data();
    void busyDatabaseSaysWhatToDo();
    void problemSetsLieBesideThePreferences();
    void problemSetsAreSharedInNetworkMode();

    void movingToAnEmptySharedFolderCopiesTheData();
    void movingToAFolderThatHasPreferences_data();
    void movingToAFolderThatHasPreferences();
    void aReplaceReachesTheComputersThatReadTheNewerName();
    void movingNeverSpreadsAnUnreadPassword();
    void replaceKeepsTheSchoolsPassword_data();
    void replaceKeepsTheSchoolsPassword();
    void movingToAFolderThatHasADatabaseUsesIt();
    void movingWithoutLocalDataMakesANewDatabase();
    void movingFromNetworkModeCopiesTheDatabaseInUse();
    void anEmptyFileInTheSharedFolderIsMadeADatabase();
    void movesLeaveTheFilesAsTheySay_data();
    void movesLeaveTheFilesAsTheySay();
    void refusedMovesChangeNothing_data();
    void refusedMovesChangeNothing();
    void failedMoveTakesBackTheServersPreferences();
    void folderVanishingDuringTheQuestion();
    void copyFailingHalfWayLeavesEverythingAsItWas();
    void readOnlySharedFolder();
    void copyNeverOverwrites();
    void backToThisComputer();
    void backToThisComputerWithoutADataFolder();
    void joiningASharedFolder();

private:
    // Starts the program's data the way start-up does: preferences, then the database.
    void startUp();
    // A local database with one student, in the local data folder.
    QString localDatabaseWithStudent(const QString& name);
    QString sharedFolder(const QString& name = QStringLiteral("share/Numbrook")) const {
        return sandbox_->folder(name);
    }
    QString localDataFolder() const { return sandbox_->path("data/OVR"); }

    std::unique_ptr<TestPrefs::Sandbox> sandbox_;
};

void TestLocations::init() {
    sandbox_ = std::make_unique<TestPrefs::Sandbox>();
    myPrefs::initPrefs();
    App::myRnd().seed(99);
}

void TestLocations::cleanup() {
    DBCtrl::closeDB();
    sandbox_.reset();
}

void TestLocations::startUp() {
    myPrefs::hndlReadingPrefs();
    DBCtrl::check4Database(myPrefs::getDataFileLoc());
}

QString TestLocations::localDatabaseWithStudent(const QString& name) {
    startUp();
    DBCtrl::insertName(name, QString(), QStringLiteral("Default"));
    return QDir(localDataFolder()).filePath("NB_Data.rbd");
}

void TestLocations::foldersOfThisPlatform() {
    QCOMPARE(myPrefs::userPrefsFolder(), sandbox_->path("config"));
    QCOMPARE(myPrefs::allUsersPrefsFolders(), QStringList{sandbox_->path("etc")});
    QCOMPARE(myPrefs::allUsersDataFolder(), sandbox_->path("data"));
    QCOMPARE(myPrefs::localPrefFile(), sandbox_->path("config/com.orlavo.vavava.plist"));
}

void TestLocations::folderReferences_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<bool>("resolves");
    QTest::newRow("a folder") << "share/Numbrook" << true;
    QTest::newRow("trailing slash") << "share/Numbrook/" << true;
    QTest::newRow("with ..") << "share/x/../Numbrook" << true;
    QTest::newRow("a file") << "share/Numbrook/file" << false;
    QTest::newRow("missing") << "share/gone" << false;
}

void TestLocations::folderReferences() {
    QFETCH(QString, given);
    QFETCH(bool, resolves);
    sharedFolder();
    sandbox_->folder("share/x");
    TestPrefs::writeBytes(sandbox_->path("share/Numbrook/file"), "x");
    const QString reference = myPrefs::createGSI(sandbox_->path(given));
    QVERIFY(QDir::isAbsolutePath(reference));
    QCOMPARE(myPrefs::parseGSI(reference), resolves ? sandbox_->path("share/Numbrook") : QString());
    QCOMPARE(myPrefs::createGSI(QString()), QString());
    QCOMPARE(myPrefs::parseGSI(QString()), QString());
    QCOMPARE(myPrefs::parseGSI(QStringLiteral("share/Numbrook")), QString()); // not absolute
}

void TestLocations::firstStartMakesTheLocalFileFromDefaults() {
    ScriptedDialogs dialogs;
    startUp();
    QCOMPARE(fileValues(myPrefs::localPrefFile()), Values{});
    QCOMPARE(myPrefs::current(), Values{});
    // The database is created in the local data folder, which is this user's alone.
    const QString database = QDir(localDataFolder()).filePath("NB_Data.rbd");
    QVERIFY(QFileInfo::exists(database));
    QCOMPARE(modeOf(localDataFolder()), 0700);
    QCOMPARE(modeOf(database), 0600);
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.messages()[0].startsWith("A new Database file was created"));

    // A folder and database that an earlier version left open to everyone are closed at the next start.
    DBCtrl::closeDB();
    QVERIFY(QFile::setPermissions(localDataFolder(), QFileDevice::Permissions(0x7777)));
    QVERIFY(QFile::setPermissions(database, QFileDevice::Permissions(0x6666)));
    QCOMPARE(modeOf(database), 0666);
    dialogs.clear();
    startUp();
    QCOMPARE(modeOf(localDataFolder()), 0700);
    QCOMPARE(modeOf(database), 0600);
    QVERIFY(DBCtrl::isConnected());
    QVERIFY(dialogs.shown.isEmpty());
}

void TestLocations::fileDeletedDuringTheRunKeepsThePreferencesInUse() {
    ScriptedDialogs dialogs;
    startUp();
    myPrefs::prMaxTries = 6;
    myPrefs::prPctCrit = 90;
    QVERIFY(QFile::remove(myPrefs::localPrefFile()));
    // Asking for the preferences location (the drill round does, for the problem-set folder) makes
    // the file again from what is in use, and resets nothing.
    QCOMPARE(myPrefs::getCurrentPrefFol(), myPrefs::localPrefFile());
    QCOMPARE(myPrefs::prMaxTries, 6);
    QCOMPARE(fileValues(myPrefs::localPrefFile())->maxTries, 6);
    QCOMPARE(fileValues(myPrefs::localPrefFile())->pctCrit, 90);
}

void TestLocations::olderFileIsTakenOverOnce() {
    ScriptedDialogs dialogs;
    Values older;
    older.maxTries = 5;
    older.passWord = QStringLiteral("teach");
    const QString olderFile = sandbox_->folder("etc/OVR") + "/nbq10.pref";
    QVERIFY(writeValues(olderFile, older));

    myPrefs::hndlReadingPrefs();
    QCOMPARE(myPrefs::current(), older);
    QCOMPARE(fileValues(myPrefs::localPrefFile()), older);

    // Later starts read the new file only.
    Values changed = older;
    changed.maxTries = 2;
    QVERIFY(writeValues(olderFile, changed));
    myPrefs::initPrefs();
    myPrefs::hndlReadingPrefs();
    QCOMPARE(myPrefs::prMaxTries, 5);
    QVERIFY(dialogs.shown.isEmpty());
}

void TestLocations::damagedOlderFileDoesNotBlockPreferences() {
    ScriptedDialogs dialogs;
    QVERIFY(TestPrefs::writeBytes(sandbox_->folder("etc/OVR") + "/nbq10.pref", "\x05garb"));
    myPrefs::hndlReadingPrefs();
    QCOMPARE(allMessages(dialogs),
             QStringList{"Unable to read the preferences | Please go to Preferences and reset."});
    QCOMPARE(myPrefs::current(), Values{});
    // The defaults now stand in the local file: the damaged file is not read again at every start.
    QCOMPARE(fileValues(myPrefs::localPrefFile()), Values{});
    // The teacher's next save reaches the local file.
    myPrefs::prPctCrit = 95;
    myPrefs::hndlWritingPrefs();
    QCOMPARE(fileValues(myPrefs::localPrefFile())->pctCrit, 95);
}

void TestLocations::damagedLocalFileKeepsDefaultsAndSkipsTheNetwork() {
    ActingDialogs dialogs;
    myPrefs::localPrefFile(); // makes the folder
    // Cut short right after the network mode was switched on: the shared folder cannot be known.
    const QByteArray damaged("\x00\x01\x00\x00", 4);
    QVERIFY(TestPrefs::writeBytes(myPrefs::localPrefFile(), damaged));
    myPrefs::hndlReadingPrefs();
    QCOMPARE(allMessages(dialogs),
             QStringList{"Unable to read the preferences | This computer's data location could not be read: "
                         "results now go to this computer until the teacher sets the shared folder again in "
                         "Preferences."});
    QCOMPARE(TestPrefs::readBytes(myPrefs::localPrefFile() + ".damaged"), damaged);
    QCOMPARE(myPrefs::current(), Values{}); // never zero criteria
    QVERIFY(dialogs.waitTexts.isEmpty());
    // Read again from the sign-in window in network mode: the shared folder is not looked for.
    myPrefs::prUseAltLoc = true;
    myPrefs::prAltFileLoc = sharedFolder();
    dialogs.clear();
    myPrefs::hndlReadingPrefs();
    QCOMPARE(dialogs.messages(), QStringList{"Unable to read the preferences"});
    QVERIFY(dialogs.waitTexts.isEmpty());
    // A folder standing where the file belongs reads the same way.
    QFile::remove(myPrefs::localPrefFile());
    QDir().mkdir(myPrefs::localPrefFile());
    dialogs.clear();
    myPrefs::hndlReadingPrefs();
    QCOMPARE(dialogs.messages(), QStringList{"Unable to read the preferences"});
}

void TestLocations::unusableSharedFolderReferenceIsToldAndKept() {
    ScriptedDialogs dialogs;
    // A file of local mode cut short: nothing is lost but the preferences themselves.
    myPrefs::localPrefFile();
    TestPrefs::RawFile local;
    local.useAltLoc = 0;
    QVERIFY(TestPrefs::writeBytes(myPrefs::localPrefFile(), local.bytes().left(9)));
    myPrefs::hndlReadingPrefs();
    QCOMPARE(allMessages(dialogs),
             QStringList{"Unable to read the preferences | Please go to Preferences and reset."});

    // Network mode whose folder reference does not decode: the other values are kept, this run uses
    // this computer, and the teacher is told why.
    TestPrefs::RawFile network;
    network.useAltLoc = 1;
    network.reference = "!!!!";
    network.maxTries = 6;
    const QString file = myPrefs::localPrefFile();
    QVERIFY(TestPrefs::writeBytes(file, network.bytes()));
    dialogs.clear();
    startUp();
    QCOMPARE(
        allMessages(dialogs).value(0),
        QStringLiteral("Unable to read the preferences | This computer's data location could not be read: "
                       "results now go to this computer until the teacher sets the shared folder again in "
                       "Preferences."));
    QVERIFY(dialogs.waitTexts.isEmpty());
    QVERIFY(!myPrefs::prUseAltLoc);
    QCOMPARE(myPrefs::prMaxTries, 6);
    QCOMPARE(QFileInfo(DBCtrl::databasePath()).absolutePath(), localDataFolder());
    // The teacher's file is kept beside before the next save writes the preferences again.
    myPrefs::hndlWritingPrefs();
    QCOMPARE(TestPrefs::readBytes(file + ".damaged"), network.bytes());
    QCOMPARE(fileValues(file)->maxTries, 6);
}

void TestLocations::sharedCopyKeepsThisComputersLocation() {
    ScriptedDialogs dialogs;
    const QString shared = sharedFolder();
    Values local;
    local.useAltLoc = true;
    local.altFileLoc = shared;
    local.maxTries = 4;
    QVERIFY(writeValues(sandbox_->folder("config") + "/com.orlavo.vavava.plist", local));
    // The copy in the shared folder was saved by a computer that reaches it by another path; the
    // newer file name wins over the older one.
    Values fromServer;
    fromServer.useAltLoc = true;
    fromServer.altFileLoc = QStringLiteral("/Volumes/School/Numbrook");
    fromServer.maxTries = 6;
    fromServer.pctCrit = 90;
    QVERIFY(TestPrefs::putSchoolDatabase(shared));
    QVERIFY(writeValues(shared + "/com.orlavo.vavava.plist", fromServer));
    Values older = fromServer;
    older.maxTries = 2;
    QVERIFY(writeValues(shared + "/nbq10.pref", older));

    myPrefs::hndlReadingPrefs();
    QCOMPARE(myPrefs::prMaxTries, 6);
    QCOMPARE(myPrefs::prPctCrit, 90);
    QVERIFY(myPrefs::prUseAltLoc);
    QCOMPARE(myPrefs::prAltFileLoc, shared);
    QCOMPARE(dialogs.waitTexts, QStringList{"Looking for server..."});
    QVERIFY(!dialogs.waitOpen);
    QVERIFY(dialogs.shown.isEmpty());

    // Without the newer file the older one is read.
    QFile::remove(shared + "/com.orlavo.vavava.plist");
    myPrefs::hndlReadingPrefs();
    QCOMPARE(myPrefs::prMaxTries, 2);
    QCOMPARE(myPrefs::prAltFileLoc, shared);
}

void TestLocations::sharedFolderUnreachable_data() {
    QTest::addColumn<QList<Seams::Answer>>("answers");
    QTest::addColumn<bool>("comesBack");
    QTest::addColumn<bool>("networkAfter");
    QTest::addColumn<int>("waitWindows");
    using A = Seams::Answer;
    QTest::newRow("use local computer") << QList<A>{A::Cancel} << false << false << 1;
    QTest::newRow("retry, still gone") << QList<A>{A::Default} << false << false << 2;
    QTest::newRow("retry, back again") << QList<A>{A::Default} << true << true << 2;
}

void TestLocations::sharedFolderUnreachable() {
    QFETCH(QList<Seams::Answer>, answers);
    QFETCH(bool, comesBack);
    QFETCH(bool, networkAfter);
    QFETCH(int, waitWindows);
    ActingDialogs dialogs;
    dialogs.answers.assign(answers.begin(), answers.end());
    const QString shared = sandbox_->path("share/Numbrook"); // not there yet
    Values local;
    local.useAltLoc = true;
    local.altFileLoc = shared;
    local.hiCrit = 12;
    QVERIFY(writeValues(sandbox_->folder("config") + "/com.orlavo.vavava.plist", local));
    Values onServer = local;
    onServer.hiCrit = 15;
    if (comesBack) {
        dialogs.whileAsking = [&] {
            sharedFolder();
            TestPrefs::putSchoolDatabase(shared);
            writeValues(shared + "/com.orlavo.vavava.plist", onServer);
        };
    }

    myPrefs::hndlReadingPrefs();
    QCOMPARE(dialogs.waitTexts.size(), waitWindows);
    QVERIFY(!dialogs.waitOpen);
    QCOMPARE(dialogs.shown[0].kind, Shown::Question);
    const Seams::Question& q = dialogs.shown[0].question;
    QCOMPARE(q.message, QStringLiteral("The remote server is not available\n You may connect to the server, "
                                       "then click <Retry>, or use the local Preferences file"));
    QCOMPARE(q.explanation, QStringLiteral("You can reset this option in the Preferences Screen"));
    QCOMPARE(q.defaultCaption, QStringLiteral("Retry Server"));
    QCOMPARE(q.cancelCaption, QStringLiteral("Use Local Computer"));
    QVERIFY(q.alternateCaption.isEmpty());
    QCOMPARE(q.icon, Seams::Icon::Caution);

    QCOMPARE(myPrefs::prUseAltLoc, networkAfter);
    QCOMPARE(myPrefs::prHiCrit, networkAfter ? 15 : 12);
    if (networkAfter) {
        QCOMPARE(dialogs.shown.size(), 1);
    } else {
        QCOMPARE(
            allMessages(dialogs).mid(1),
            QStringList{"The remote server is not available. | Local preference settings will be used."});
        QVERIFY(dialogs.shown[1].isCaution);
    }
    // The local file still says network mode: the next start looks for the folder again.
    QVERIFY(fileValues(myPrefs::localPrefFile())->useAltLoc);
}

void TestLocations::savingInNetworkModeWritesBothFiles() {
    ScriptedDialogs dialogs;
    const QString shared = sharedFolder();
    QVERIFY(TestPrefs::putSchoolDatabase(shared));
    myPrefs::prUseAltLoc = true;
    myPrefs::prAltFileLoc = shared;
    myPrefs::prNumCrit = 60;
    QVERIFY(myPrefs::hndlWritingPrefs());
    QCOMPARE(fileValues(myPrefs::localPrefFile())->numCrit, 60);
    QCOMPARE(fileValues(shared + "/com.orlavo.vavava.plist")->numCrit, 60);
    QVERIFY(dialogs.shown.isEmpty());

    // Out of reach, nothing is saved: the next start would take the shared file all the same.
    QDir(shared).removeRecursively();
    myPrefs::prNumCrit = 70;
    QVERIFY(!myPrefs::hndlWritingPrefs());
    QCOMPARE(allMessages(dialogs), QStringList{"Unable to write to the remote location. | Nothing was saved. "
                                               "Please connect to the server and save again."});
    QCOMPARE(fileValues(myPrefs::localPrefFile())->numCrit, 60);
}

void TestLocations::dataFolderOfEachMode() {
    ScriptedDialogs dialogs;
    QCOMPARE(myPrefs::getDataFileLoc(), localDataFolder());
    const QString shared = sharedFolder();
    myPrefs::prUseAltLoc = true;
    myPrefs::prAltFileLoc = shared;
    QCOMPARE(myPrefs::getDataFileLoc(), shared);
    QVERIFY(dialogs.shown.isEmpty());

    QDir(shared).removeRecursively();
    QCOMPARE(myPrefs::getDataFileLoc(), localDataFolder());
    QCOMPARE(allMessages(dialogs), QStringList{"Unable to connect to the networked Data File. | The local "
                                               "database will be used or a new one created."});
    QVERIFY(myPrefs::prUseAltLoc);

    // A file where the data folder belongs.
    myPrefs::prUseAltLoc = false;
    QDir(localDataFolder()).removeRecursively();
    QVERIFY(TestPrefs::writeBytes(localDataFolder(), "not a folder"));
    dialogs.clear();
    QCOMPARE(myPrefs::getLocalDataFol(), QString());
    QCOMPARE(allMessages(dialogs),
             QStringList{"Unable to create the data folder. | Please contact Orlavo Software: Err#1"});
}

void TestLocations::startClosesTheDataToOthersOnly_data() {
    QTest::addColumn<int>("folderBefore");
    QTest::addColumn<int>("databaseBefore");
    QTest::addColumn<int>("folderAfter");
    QTest::addColumn<int>("databaseAfter");
    QTest::newRow("open to everyone") << 0777 << 0666 << 0700 << 0600;
    QTest::newRow("read-only on purpose") << 0555 << 0444 << 0500 << 0400;
    QTest::newRow("read-only database in a writable folder") << 0750 << 0440 << 0700 << 0400;
    QTest::newRow("already this user's alone") << 0700 << 0600 << 0700 << 0600;
}

void TestLocations::startClosesTheDataToOthersOnly() {
    // The bits themselves are compared: as the superuser (in CI) no permission would stop anything.
    QFETCH(int, folderBefore);
    QFETCH(int, databaseBefore);
    QFETCH(int, folderAfter);
    QFETCH(int, databaseAfter);
    ScriptedDialogs dialogs;
    startUp();
    DBCtrl::closeDB();
    const QString database = QDir(localDataFolder()).filePath("NB_Data.rbd");
    QVERIFY(::chmod(QFile::encodeName(database).constData(), static_cast<mode_t>(databaseBefore)) == 0);
    QVERIFY(::chmod(QFile::encodeName(localDataFolder()).constData(), static_cast<mode_t>(folderBefore)) ==
            0);
    QCOMPARE(myPrefs::getLocalDataFol(), localDataFolder());
    const int folderNow = modeOf(localDataFolder());
    const int databaseNow = modeOf(database);
    ::chmod(QFile::encodeName(localDataFolder()).constData(), 0700);
    QCOMPARE(databaseNow, databaseAfter);
    QCOMPARE(folderNow, folderAfter);
}

void TestLocations::leftoversOfStoppedWritesGoWhenOld() {
    ScriptedDialogs dialogs;
    const QString shared = sharedFolder();
    myPrefs::prUseAltLoc = true;
    myPrefs::prAltFileLoc = shared;
    const QString config = sandbox_->folder("config");
    const QString data = sandbox_->folder("data/OVR");
    // Only the hidden form marked as the program's own: a name of the form earlier versions used may
    // be a teacher's own copy ("nbq10.pref.2024Jn"), and stays.
    const QStringList leftovers{
        config + "/.com.orlavo.vavava.plist.nbrtmp-aB3dE9",
        data + "/.NB_Data.rbd.nbrtmp-x1Y2z3",
        data + "/.NB_Data.rbd.nbrtmp-x1Y2z3-journal",
        shared + "/.NB_Data.rbd.nbrtmp-Kk9Lm0",
        shared + "/.nbq10.pref.nbrtmp-Zz9Yy8",
        shared + "/.com.orlavo.vavava.plist.nbrtmp-PpQqRr",
    };
    const QStringList kept{
        config + "/com.orlavo.vavava.plist.aB3dE9",
        config + "/com.orlavo.vavava.plist.damaged.Qw12Er",
        data + "/.NB_Data.rbd.x1Y2z3",
        data + "/.NB_Data.rbd.x1Y2z3-journal",
        shared + "/.NB_Data.rbd.Kk9Lm0",
        shared + "/nbq10.pref.Zz9Yy8",
        shared + "/com.orlavo.vavava.plist.PpQqRr",
        config + "/com.orlavo.vavava.plist",
        config + "/com.orlavo.vavava.plist.damaged",
        config + "/notes.txt.aB3dE9",
        data + "/NB_Data.rbd",
        data + "/NB_Data.rbd-journal", // SQLite's own: it may hold what a stopped write must undo
        data + "/.NB_Data.rbd.short",
        shared + "/NB_Data.rbd",
        shared + "/nbq10.pref",
    };
    const int aDayAndMore = 25 * 60 * 60;
    for (const QString& file : leftovers + kept) {
        QVERIFY(TestPrefs::writeBytes(file, "x"));
        QVERIFY(ageBy(file, aDayAndMore));
    }
    // Another computer is making its files right now; by this computer's clock, which may run hours
    // ahead of that computer's or the file server's, they may look hours old.
    const QStringList fresh{shared + "/.NB_Data.rbd.NowNow", shared + "/.NB_Data.rbd.NowNow-journal",
                            config + "/com.orlavo.vavava.plist.NowNow",
                            shared + "/.nbq10.pref.nbrtmp-NowNow"};
    const QStringList hoursOld{shared + "/.NB_Data.rbd.Ahead2", shared + "/.NB_Data.rbd.Ahead2-journal",
                               shared + "/nbq10.pref.Ahead2", config + "/com.orlavo.vavava.plist.Ahead2"};
    for (const QString& file : fresh + hoursOld)
        QVERIFY(TestPrefs::writeBytes(file, "x"));
    for (const QString& file : hoursOld)
        QVERIFY(ageBy(file, 2 * 60 * 60));
    // A link is nobody's temporary file, whatever its name.
    QVERIFY(QFile::link(data + "/NB_Data.rbd", shared + "/.NB_Data.rbd.LinkLk"));

    myPrefs::removeCrashLeftovers();
    for (const QString& file : leftovers)
        QVERIFY2(!QFileInfo::exists(file), qPrintable(file));
    for (const QString& file : kept + fresh + hoursOld + QStringList{shared + "/.NB_Data.rbd.LinkLk"})
        QVERIFY2(QFileInfo::exists(file) || QFileInfo(file).isSymLink(), qPrintable(file));

    // Out of network mode the shared folder is not this computer's to tidy.
    QVERIFY(TestPrefs::writeBytes(shared + "/.nbq10.pref.nbrtmp-Zz9Yy8", "x"));
    QVERIFY(ageBy(shared + "/.nbq10.pref.nbrtmp-Zz9Yy8", aDayAndMore));
    myPrefs::prUseAltLoc = false;
    myPrefs::removeCrashLeftovers();
    QVERIFY(QFileInfo::exists(shared + "/.nbq10.pref.nbrtmp-Zz9Yy8"));
    QVERIFY(dialogs.shown.isEmpty());
}

void TestLocations::unreadablePasswordIsToldAtStart_data() {
    QTest::addColumn<bool>("networkMode");
    QTest::addColumn<bool>("localReadable");
    QTest::addColumn<bool>("sharedReadable");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("told");
    QTest::newRow("this computer only") << false << false << false << "" << true;
    QTest::newRow("the shared folder's is kept") << true << false << true << "shared" << false;
    QTest::newRow("this computer's is kept") << true << true << false << "local" << false;
    QTest::newRow("neither can be read") << true << false << false << "" << true;
}

void TestLocations::unreadablePasswordIsToldAtStart() {
    QFETCH(bool, networkMode);
    QFETCH(bool, localReadable);
    QFETCH(bool, sharedReadable);
    QFETCH(QString, password);
    QFETCH(bool, told);
    ScriptedDialogs dialogs;
    const QString shared = sharedFolder();
    QVERIFY(TestPrefs::putSchoolDatabase(shared));
    Values local;
    local.passWord = QStringLiteral("local");
    local.useAltLoc = networkMode;
    local.altFileLoc = networkMode ? shared : QString();
    local.maxTries = 5;
    myPrefs::localPrefFile();
    QVERIFY(localReadable ? writeValues(myPrefs::localPrefFile(), local)
                          : TestPrefs::writeBytes(myPrefs::localPrefFile(), unreadablePasswordFile(local)));
    Values onServer = local;
    onServer.passWord = QStringLiteral("shared");
    QVERIFY(sharedReadable ? writeValues(shared + "/com.orlavo.vavava.plist", onServer)
                           : TestPrefs::writeBytes(shared + "/com.orlavo.vavava.plist",
                                                   unreadablePasswordFile(onServer)));

    myPrefs::hndlReadingPrefs();
    QCOMPARE(myPrefs::prPassWord, password);
    QCOMPARE(myPrefs::prMaxTries, 5); // the rest of the file is used
    QCOMPARE(myPrefs::passwordUnread, told);
    const QStringList expected =
        told ? QStringList{"The administrative password could not be read. | Until a new one is saved in "
                           "Preferences, the teacher's windows open without a password."}
             : QStringList{};
    QCOMPARE(allMessages(dialogs), expected);
    if (told)
        QVERIFY(dialogs.shown[0].isCaution);

    // Read again when a student starts to play: nothing new to tell.
    dialogs.clear();
    myPrefs::hndlReadingPrefs();
    QCOMPARE(myPrefs::prPassWord, password);
    QVERIFY(dialogs.shown.isEmpty());

    // The teacher's save stores the password the window holds, and ends the matter.
    myPrefs::prPassWord = QStringLiteral("new");
    myPrefs::hndlWritingPrefs();
    QVERIFY(!myPrefs::passwordUnread);
    QCOMPARE(fileValues(myPrefs::localPrefFile())->passWord, QStringLiteral("new"));
}

void TestLocations::busyDatabaseSaysWhatToDo_data() {
    QTest::addColumn<bool>("atStart");
    QTest::addColumn<QString>("explanation");
    // At start nothing opens the file again: the program runs without the students until it is
    // started again.
    QTest::newRow("at start")
        << true
        << "Nothing has been changed. Please quit Numbrook Riza and start it again in a "
           "moment: until then no student can sign in.";
    // A move can simply be made again.
    QTest::newRow("moving to the shared folder")
        << false << "Please try again in a moment. Nothing has been changed.";
}

void TestLocations::busyDatabaseSaysWhatToDo() {
    QFETCH(bool, atStart);
    QFETCH(QString, explanation);
    ScriptedDialogs dialogs;
    const QString localDb = localDatabaseWithStudent("Local");
    const QString shared = sharedFolder();
    QCOMPARE(DBCtrl::createNewDBFile(shared + "/NB_Data.rbd"), QString());
    const QString busyFile = atStart ? localDb : shared + "/NB_Data.rbd";
    DBCtrl::connectToDB(localDb);
    if (atStart)
        DBCtrl::closeDB();
    TestDoubles::OtherComputer other(busyFile);
    QVERIFY(other.holdExclusiveLock());
    dialogs.clear();

    if (atStart)
        DBCtrl::check4Database(myPrefs::getDataFileLoc());
    else
        myPrefs::createRemoteFileInfo(shared);
    other.release();
    QVERIFY(!dialogs.shown.isEmpty());
    const Shown& busy = dialogs.shown.last();
    QCOMPARE(busy.message, "The student data file at <" + busyFile + "> is in use and could not be opened.");
    QCOMPARE(busy.explanation, explanation);
    if (!atStart)
        QCOMPARE(DBCtrl::databasePath(), localDb); // the move changed nothing
}

void TestLocations::problemSetsLieBesideThePreferences() {
    ScriptedDialogs dialogs;
    const QString local = sandbox_->path("config/NBQ_InputSets");
    // Asking where the sets are makes nothing; only the writer makes the folder.
    QCOMPARE(myPrefs::getInputSetsFolder(), local);
    QVERIFY(!QFileInfo::exists(local));
    QCOMPARE(myPrefs::makeInputSetsFolder(), local);
    QVERIFY(QFileInfo(local).isDir());
    // The teacher's own, like the data: the bits themselves, since the superuser passes any of them.
    QCOMPARE(modeOf(local), 0700);
    // One that an earlier version opened to everyone is closed to others; what the owner may do stays.
    QVERIFY(::chmod(QFile::encodeName(local).constData(), 0777) == 0);
    QCOMPARE(myPrefs::makeInputSetsFolder(), local);
    QCOMPARE(modeOf(local), 0700);
    QVERIFY(::chmod(QFile::encodeName(local).constData(), 0555) == 0);
    QCOMPARE(myPrefs::makeInputSetsFolder(), local);
    QCOMPARE(modeOf(local), 0500);
    ::chmod(QFile::encodeName(local).constData(), 0700);
    // A file where the folder belongs: no folder can be had.
    QVERIFY(QDir(local).removeRecursively());
    QVERIFY(TestPrefs::writeBytes(local, "not a folder"));
    QCOMPARE(myPrefs::makeInputSetsFolder(), QString());
    QVERIFY(dialogs.shown.isEmpty());
}

void TestLocations::problemSetsAreSharedInNetworkMode() {
    ScriptedDialogs dialogs;
    // The shared folder is the one place every computer reaches; the folder that holds it may be a
    // mount point on each computer's own disk.
    const QString shared = sharedFolder();
    const QString inside = QDir(shared).filePath("NBQ_InputSets");
    const QString beside = sandbox_->path("share/NBQ_InputSets");
    myPrefs::prUseAltLoc = true;
    myPrefs::prAltFileLoc = shared;
    QCOMPARE(myPrefs::getInputSetsFolder(), inside);
    // An empty folder beside the shared one (earlier versions made it on every look) holds no sets.
    QVERIFY(QDir().mkpath(beside));
    QCOMPARE(myPrefs::getInputSetsFolder(), inside);
    // Sets kept beside the shared folder are read while the shared folder has no sets folder, but new
    // sets never go there: beside the shared folder is often this computer's own disk.
    QVERIFY(TestPrefs::writeBytes(QDir(beside).filePath("week1.nbx"), "\x05" "9 X 9"));
    QCOMPARE(myPrefs::getInputSetsFolder(), beside);
    QVERIFY(!QFileInfo::exists(inside));
    QCOMPARE(myPrefs::makeInputSetsFolder(), inside);
    QVERIFY(QFileInfo(inside).isDir());
    // Every account of every computer adds sets there, and none may delete another's.
    QCOMPARE(modeOf(inside), 01777);
    // Once the shared folder has one, every computer uses it; the older sets stay where they were.
    QCOMPARE(myPrefs::getInputSetsFolder(), inside);
    QCOMPARE(myPrefs::makeInputSetsFolder(), inside);
    QVERIFY(QFileInfo::exists(QDir(beside).filePath("week1.nbx")));
    // One that an earlier version made open to everyone without the sticky bit is given it.
    QVERIFY(::chmod(QFile::encodeName(inside).constData(), 0777) == 0);
    QCOMPARE(myPrefs::makeInputSetsFolder(), inside);
    QCOMPARE(modeOf(inside), 01777);
    // The shared folder out of reach: this computer's own sets.
    QVERIFY(QDir(shared).removeRecursively());
    QCOMPARE(myPrefs::getInputSetsFolder(), sandbox_->path("config/NBQ_InputSets"));
}

void TestLocations::movingToAnEmptySharedFolderCopiesTheData() {
    ScriptedDialogs dialogs;
    const QString localDb = localDatabaseWithStudent("Ada Lovelace");
    dialogs.clear();
    const QString shared = sharedFolder();

    myPrefs::createRemoteFileInfo(shared);
    QCOMPARE(allMessages(dialogs), QStringList{"The local data was copied to the new location. | "});
    QVERIFY(!dialogs.shown[0].isCaution);
    QCOMPARE(DBCtrl::databasePath(), shared + "/NB_Data.rbd");
    QVERIFY(DBCtrl::isConnected());
    QCOMPARE(DBCtrl::studentsOf("Default").size(), 1);
    QCOMPARE(studentsIn(localDb), QStringList{"Ada Lovelace"}); // the source stays
    QCOMPARE(QDir(shared).entryList(QDir::Files), QStringList({"NB_Data.rbd", "nbq10.pref"}));
    // Every computer of the school, under any user, uses the shared copy; the local one stays private.
    QCOMPARE(modeOf(shared + "/NB_Data.rbd"), 0777);
    QCOMPARE(modeOf(localDb), 0600);

    const auto sharedPrefs = fileValues(shared + "/nbq10.pref");
    QVERIFY(sharedPrefs && sharedPrefs->useAltLoc);
    QCOMPARE(sharedPrefs->altFileLoc, shared);
    const auto localPrefs = fileValues(myPrefs::localPrefFile());
    QVERIFY(localPrefs && localPrefs->useAltLoc);
    QCOMPARE(localPrefs->altFileLoc, shared);

    // Choosing again and cancelling changes nothing.
    const QByteArray prefsNow = TestPrefs::readBytes(myPrefs::localPrefFile());
    myPrefs::createRemoteFileInfo(QString());
    QVERIFY(myPrefs::prUseAltLoc);
    QCOMPARE(myPrefs::prAltFileLoc, shared);
    QCOMPARE(TestPrefs::readBytes(myPrefs::localPrefFile()), prefsNow);
    QCOMPARE(DBCtrl::databasePath(), shared + "/NB_Data.rbd");

    // The next start finds the shared data.
    DBCtrl::closeDB();
    myPrefs::initPrefs();
    dialogs.clear();
    startUp();
    QCOMPARE(DBCtrl::databasePath(), shared + "/NB_Data.rbd");
    QCOMPARE(dialogs.waitTexts.size(), 1);
}

void TestLocations::movingToAFolderThatHasPreferences_data() {
    QTest::addColumn<Seams::Answer>("answer");
    QTest::addColumn<int>("expectedTries");
    QTest::newRow("replace with ours") << Seams::Answer::Default << 3;
    QTest::newRow("take the server's") << Seams::Answer::Cancel << 6;
}

void TestLocations::movingToAFolderThatHasPreferences() {
    QFETCH(Seams::Answer, answer);
    QFETCH(int, expectedTries);
    ScriptedDialogs dialogs;
    localDatabaseWithStudent("Grace Hopper");
    const QString shared = sharedFolder();
    Values onServer;
    onServer.maxTries = 6;
    onServer.useAltLoc = true;
    onServer.altFileLoc = QStringLiteral("/Volumes/Other/Path");
    QVERIFY(writeValues(shared + "/nbq10.pref", onServer));
    dialogs.clear();
    dialogs.answers = {answer};

    myPrefs::createRemoteFileInfo(shared);
    const Seams::Question& q = dialogs.shown[0].question;
    QCOMPARE(q.message, QStringLiteral("There is already a Pref file at that location. Should I replace that "
                                       "file with my current preferences?"));
    QCOMPARE(q.explanation, QStringLiteral("Click <Cancel> to use the preferences file on the server."));
    QCOMPARE(q.defaultCaption, QStringLiteral("Replace"));
    QVERIFY(q.alternateCaption.isEmpty());
    QCOMPARE(myPrefs::prMaxTries, expectedTries);
    // Whichever preferences win, they carry this computer's path to the folder, here and there.
    for (const QString& file :
         {shared + "/nbq10.pref", shared + "/com.orlavo.vavava.plist", myPrefs::localPrefFile()}) {
        const auto v = fileValues(file);
        QVERIFY(v);
        QCOMPARE(v->maxTries, expectedTries);
        QCOMPARE(v->altFileLoc, shared);
        QVERIFY(v->useAltLoc);
    }
    QCOMPARE(DBCtrl::databasePath(), shared + "/NB_Data.rbd");
}

void TestLocations::aReplaceReachesTheComputersThatReadTheNewerName() {
    // The shared folder holds both names: the older one from the first move, the newer one from a
    // save made there since. Other computers read the newer one.
    ScriptedDialogs dialogs;
    localDatabaseWithStudent("Grace Hopper");
    const QString shared = sharedFolder();
    Values first;
    first.maxTries = 5;
    Values saved;
    saved.maxTries = 6;
    saved.pctCrit = 70;
    QVERIFY(writeValues(shared + "/nbq10.pref", first));
    QVERIFY(writeValues(shared + "/com.orlavo.vavava.plist", saved));
    myPrefs::prMaxTries = 2;
    dialogs.clear();
    dialogs.answers = {Seams::Answer::Default}; // "Replace"

    myPrefs::createRemoteFileInfo(shared);
    QCOMPARE(dialogs.shown[0].kind, Shown::Question);
    for (const QString& file : {shared + "/nbq10.pref", shared + "/com.orlavo.vavava.plist"}) {
        const auto v = fileValues(file);
        QVERIFY2(v, qPrintable(file));
        QCOMPARE(v->maxTries, 2);
        QCOMPARE(v->pctCrit, 85);
    }
    // What another computer in network mode reads at its next student's play.
    QCOMPARE(myPrefs::getNetworkPrefFol(), shared + "/com.orlavo.vavava.plist");

    // Taking the folder's preferences takes the ones other computers use, and both names agree after.
    DBCtrl::connectToDB(QDir(localDataFolder()).filePath("NB_Data.rbd"));
    myPrefs::prUseAltLoc = false;
    myPrefs::prAltFileLoc.clear();
    QVERIFY(writeValues(shared + "/nbq10.pref", first));
    QVERIFY(writeValues(shared + "/com.orlavo.vavava.plist", saved));
    dialogs.clear();
    dialogs.answers = {Seams::Answer::Cancel};
    myPrefs::createRemoteFileInfo(shared);
    QCOMPARE(myPrefs::prMaxTries, 6);
    QCOMPARE(myPrefs::prPctCrit, 70);
    QCOMPARE(fileValues(shared + "/nbq10.pref")->maxTries, 6);
    QCOMPARE(fileValues(shared + "/com.orlavo.vavava.plist")->maxTries, 6);
}

void TestLocations::movingNeverSpreadsAnUnreadPassword() {
    ScriptedDialogs dialogs;
    myPrefs::localPrefFile();
    QVERIFY(TestPrefs::writeBytes(myPrefs::localPrefFile(), unreadablePasswordFile(Values{})));
    const QString localDb = localDatabaseWithStudent("Local");
    QVERIFY(myPrefs::passwordUnread);

    // A folder without preferences: nothing is written there, nothing changes here.
    const QString bare = sharedFolder("share/bare");
    const QByteArray localPrefsBefore = TestPrefs::readBytes(myPrefs::localPrefFile());
    dialogs.clear();
    myPrefs::createRemoteFileInfo(bare);
    QCOMPARE(allMessages(dialogs),
             QStringList{"The administrative password could not be read, so the preferences were not written "
                         "to the new location. | Please set the password again in Preferences and save, then "
                         "choose the folder again. Nothing was changed."});
    QVERIFY(QDir(bare).isEmpty());
    QVERIFY(!myPrefs::prUseAltLoc);
    QVERIFY(myPrefs::passwordUnread);
    QCOMPARE(TestPrefs::readBytes(myPrefs::localPrefFile()), localPrefsBefore);
    QCOMPARE(DBCtrl::databasePath(), localDb);

    // A folder whose preferences hold a password: "Replace" keeps that password, here and there.
    const QString shared = sharedFolder();
    Values onServer;
    onServer.passWord = QStringLiteral("Principal's");
    onServer.maxTries = 6;
    QVERIFY(writeValues(shared + "/nbq10.pref", onServer));
    myPrefs::prMaxTries = 4;
    dialogs.clear();
    dialogs.answers = {Seams::Answer::Default};
    myPrefs::createRemoteFileInfo(shared);
    QVERIFY(myPrefs::prUseAltLoc);
    QCOMPARE(myPrefs::prPassWord, QStringLiteral("Principal's"));
    QVERIFY(!myPrefs::passwordUnread);
    for (const QString& file :
         {shared + "/nbq10.pref", shared + "/com.orlavo.vavava.plist", myPrefs::localPrefFile()}) {
        const auto v = fileValues(file);
        QVERIFY2(v, qPrintable(file));
        QCOMPARE(v->passWord, QStringLiteral("Principal's"));
        QCOMPARE(v->maxTries, 4);
    }
}

void TestLocations::replaceKeepsTheSchoolsPassword_data() {
    QTest::addColumn<QByteArray>("folderField"); // field 1 of the folder's preferences, as stored
    QTest::addColumn<QString>("ourPassword");
    QTest::addColumn<Seams::Answer>("answer");
    QTest::addColumn<QString>("passwordAfter"); // null: the folder's field, byte for byte
    QTest::addColumn<QString>("inForce");       // the password in force here after; null: not read
    const auto R = Seams::Answer::Default;      // "Replace"
    const QByteArray principal = QByteArray(1, 10) + storedPassword("Principal", 9);
    const QByteArray unreadable("\x02Z!"); // no save of ours writes it (another version's, a damaged byte)
    const QByteArray empty(1, '\0');
    const QString kept; // a null text
    QTest::newRow("set there, none here") << principal << "" << R << kept << "Principal";
    // A student deleted this computer's preferences file and saved a password of their own.
    QTest::newRow("set there, another here") << principal << "Student's own" << R << kept << "Principal";
    QTest::newRow("unreadable there, one here") << unreadable << "Teacher" << R << kept << kept;
    QTest::newRow("unreadable there, none here") << unreadable << "" << R << kept << kept;
    QTest::newRow("none there, one here") << empty << "Teacher" << R << "Teacher"
                                          << "Teacher";
    QTest::newRow("none on either side") << empty << "" << R << ""
                                         << "";
    QTest::newRow("Cancel, unreadable there, one here")
        << unreadable << "Teacher" << Seams::Answer::Cancel << kept << kept;
}

void TestLocations::replaceKeepsTheSchoolsPassword() {
    QFETCH(QByteArray, folderField);
    QFETCH(QString, ourPassword);
    QFETCH(Seams::Answer, answer);
    QFETCH(QString, passwordAfter);
    QFETCH(QString, inForce);
    ScriptedDialogs dialogs;
    localDatabaseWithStudent("Local Student");
    myPrefs::prPassWord = ourPassword;
    myPrefs::prMaxTries = 4;
    QVERIFY(myPrefs::writePrefFile(myPrefs::localPrefFile()));
    // The school's folder: its database, and its preferences under both names, with settings of
    // its own.
    const QString shared = sharedFolder();
    QCOMPARE(DBCtrl::createNewDBFile(shared + "/NB_Data.rbd"), QString());
    DBCtrl::connectToDB(QDir(localDataFolder()).filePath("NB_Data.rbd"));
    TestPrefs::RawFile school;
    school.useAltLoc = 1;
    school.reference = QByteArray("/Volumes/School/Numbrook").toBase64();
    school.maxTries = 6;
    school.pctCrit = 70;
    school.sndSet = "1,2,3,4";
    const QByteArray schoolFile = folderField + school.bytes().mid(1); // RawFile's own field 1 is empty
    QCOMPARE(passwordField(schoolFile), folderField);
    QVERIFY(TestPrefs::writeBytes(shared + "/nbq10.pref", schoolFile));
    QVERIFY(TestPrefs::writeBytes(shared + "/com.orlavo.vavava.plist", schoolFile));
    dialogs.clear();
    dialogs.answers = {answer};

    myPrefs::createRemoteFileInfo(shared);
    QVERIFY2(myPrefs::prUseAltLoc, qPrintable(allMessages(dialogs).join('\n')));
    QCOMPARE(DBCtrl::databasePath(), shared + "/NB_Data.rbd");
    const bool replaced = answer == Seams::Answer::Default;
    for (const QString& file :
         {shared + "/nbq10.pref", shared + "/com.orlavo.vavava.plist", myPrefs::localPrefFile()}) {
        const QByteArray bytes = TestPrefs::readBytes(file);
        if (passwordAfter.isNull()) {
            QVERIFY2(passwordField(bytes) == folderField,
                     qPrintable(file + ": " + passwordField(bytes).toHex() + ", was " + folderField.toHex()));
        } else {
            QCOMPARE(myGlobals::unscrambleStr(QString::fromUtf8(passwordField(bytes).mid(1))), passwordAfter);
        }
        // The other settings are this computer's after "Replace", the folder's after "Cancel", and
        // carry this computer's path to the folder.
        const auto v = fileValues(file);
        QVERIFY2(v, qPrintable(file));
        QCOMPARE(v->maxTries, replaced ? 4 : 6);
        QCOMPARE(v->pctCrit, replaced ? 85 : 70);
        QCOMPARE(v->sndSet, replaced ? QStringLiteral("2,0,0,0") : QStringLiteral("1,2,3,4"));
        QVERIFY(v->useAltLoc);
        QCOMPARE(v->altFileLoc, shared);
    }
    // The password the files hold, when this computer reads it, is the one in force here too.
    if (!inForce.isNull())
        QCOMPARE(myPrefs::prPassWord, inForce);
    // "Replace" that kept the folder's password says so; one that wrote this computer's says nothing
    // of it.
    if (replaced) {
        const bool toldKept =
            dialogs.messages().contains("The shared folder's administrative password was kept.");
        QVERIFY2(toldKept == passwordAfter.isNull(), qPrintable(allMessages(dialogs).join('\n')));
    }
}

void TestLocations::movingToAFolderThatHasADatabaseUsesIt() {
    ScriptedDialogs dialogs;
    const QString localDb = localDatabaseWithStudent("Local Student");
    const QString shared = sharedFolder();
    QCOMPARE(DBCtrl::createNewDBFile(shared + "/NB_Data.rbd"), QString());
    DBCtrl::insertName("Shared Student", QString(), "Default");
    DBCtrl::connectToDB(localDb);
    dialogs.clear();

    myPrefs::createRemoteFileInfo(shared);
    QCOMPARE(allMessages(dialogs),
             QStringList{"Numbrook Riza will now use the database at the new location. | "});
    QCOMPARE(DBCtrl::databasePath(), shared + "/NB_Data.rbd");
    QCOMPARE(studentsIn(shared + "/NB_Data.rbd"), QStringList{"Shared Student"});
    QCOMPARE(studentsIn(localDb), QStringList{"Local Student"});
}

void TestLocations::anEmptyFileInTheSharedFolderIsMadeADatabase() {
    ScriptedDialogs dialogs;
    localDatabaseWithStudent("Local Student");
    const QString shared = sharedFolder();
    // Left by a computer that stopped while it created the database there.
    QVERIFY(TestPrefs::writeBytes(shared + "/NB_Data.rbd", QByteArray()));
    dialogs.clear();
    myPrefs::createRemoteFileInfo(shared);
    QVERIFY(DBCtrl::isConnected());
    QCOMPARE(DBCtrl::databasePath(), shared + "/NB_Data.rbd");
    QCOMPARE(DBCtrl::classNames(), QStringList{"Default"});
    QVERIFY(myPrefs::prUseAltLoc);
    QVERIFY(dialogs.messages().last().startsWith("A new Database file was created at <"));
    QCOMPARE(modeOf(shared + "/NB_Data.rbd"), 0777);
}

void TestLocations::movingWithoutLocalDataMakesANewDatabase() {
    ScriptedDialogs dialogs;
    myPrefs::hndlReadingPrefs();
    const QString newDatabase = QStringLiteral("A new Database file was created at <");

    // A local data folder without a database.
    myPrefs::getLocalDataFol();
    const QString shared = sharedFolder();
    myPrefs::createRemoteFileInfo(shared);
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.messages()[0].startsWith(newDatabase + shared));
    QCOMPARE(DBCtrl::databasePath(), shared + "/NB_Data.rbd");
    QCOMPARE(DBCtrl::classNames(), QStringList{"Default"});
    QVERIFY(fileValues(myPrefs::localPrefFile())->useAltLoc);

    // No local data folder at all and no database open: the move says so and makes a new one.
    DBCtrl::closeDB();
    QDir(localDataFolder()).removeRecursively();
    dialogs.clear();
    const QString other = sharedFolder("share/other");
    myPrefs::createRemoteFileInfo(other);
    QCOMPARE(dialogs.messages().size(), 2);
    QCOMPARE(dialogs.shown[0].text(),
             QStringLiteral("Could not find a local data file. | Please relaunch Numbrook Riza."));
    QVERIFY(dialogs.messages()[1].startsWith(newDatabase + other));
    QCOMPARE(DBCtrl::databasePath(), other + "/NB_Data.rbd");
}

void TestLocations::movingFromNetworkModeCopiesTheDatabaseInUse() {
    ScriptedDialogs dialogs;
    // This computer's own database was left behind long ago; the school's is in the shared folder.
    localDatabaseWithStudent("Stale Local");
    const QString shared = sharedFolder();
    myPrefs::createRemoteFileInfo(shared);
    DBCtrl::insertName("Added At School", QString(), "Default");
    const QStringList school{"Stale Local", "Added At School"};
    QCOMPARE(studentsIn(shared + "/NB_Data.rbd"), school);

    for (const bool localDataGone : {false, true}) {
        if (localDataGone)
            QDir(localDataFolder()).removeRecursively();
        const QString next = sharedFolder(localDataGone ? "share/third" : "share/second");
        dialogs.clear();
        myPrefs::createRemoteFileInfo(next);
        // The school's data went there, not this computer's own: the message says which.
        QCOMPARE(allMessages(dialogs),
                 QStringList{"The shared folder's data was copied to the new location. | "});
        QCOMPARE(DBCtrl::databasePath(), next + "/NB_Data.rbd");
        QCOMPARE(studentsIn(next + "/NB_Data.rbd"), school);
        QCOMPARE(fileValues(myPrefs::localPrefFile())->altFileLoc, next);
    }
}

void TestLocations::movesLeaveTheFilesAsTheySay_data() {
    QTest::addColumn<QString>("theirPassword"); // both names in the folder hold it; none: no files
    QTest::addColumn<QString>("ourPassword");
    QTest::addColumn<Seams::Answer>("answer");
    QTest::addColumn<QString>("folderHolds"); // "database", "busy database", "damaged database", ...
    QTest::addColumn<bool>("fromNetworkMode");
    QTest::addColumn<QStringList>("expected"); // "%1": the folder's database; "…" ends a beginning
    QTest::addColumn<QString>("passwordAfter"); // none: the move is refused
    const auto R = Seams::Answer::Default;      // "Replace"
    const auto C = Seams::Answer::Cancel;
    const QString question = "There is already a Pref file at that location. Should I replace that file "
                             "with my current preferences? | Click <Cancel> to use the preferences file on "
                             "the server.";
    const QString willUse = "Numbrook Riza will now use the database at the new location. | ";
    const QString kept = "The shared folder's administrative password was kept. | It is now used on this "
                         "computer too. To change the school's password, type a new one in Preferences and "
                         "save.";
    const QString keptBeginning = "The shared folder's administrative password was kept. | …";
    const QString busy = "The student data file at <%1> is in use and could not be opened. | Please try "
                         "again in a moment. Nothing has been changed.";
    const QString damaged = "The file at <%1> is not a Numbrook Riza student data file, or it is damaged.…";
    const QString cannotHold = "Unable to create a Preferences file at the new location. | Will use the "
                               "local Preferences instead.";
    const QString none; // a null text
    QTest::newRow("Cancel takes the folder's") << "Principal" << "Teacher" << C << "database" << false
                                               << QStringList{question, willUse} << "Principal";
    // The folder's password stays whatever this computer's is: a student who saved one of their own
    // here must not lock the teacher out of every computer.
    QTest::newRow("Replace with a password") << "Principal"
                                             << "Teacher" << R << "database" << false
                                             << QStringList{question, willUse, keptBeginning} << "Principal";
    QTest::newRow("Replace from an empty password") << "Principal" << "" << R << "database" << false
                                                    << QStringList{question, willUse, kept} << "Principal";
    QTest::newRow("Replace, none on either side") << "" << "" << R << "database" << false
                                                  << QStringList{question, willUse} << "";
    QTest::newRow("refused: another computer holds the database")
        << "Principal" << "Teacher" << R << "busy database" << false << QStringList{question, busy} << none;
    QTest::newRow("refused: damaged database")
        << "Principal" << "Teacher" << R << "damaged database" << false << QStringList{question, damaged}
        << none;
    QTest::newRow("refused: damaged database, empty password")
        << "Principal" << "" << R << "damaged database" << false << QStringList{question, damaged} << none;
    QTest::newRow("refused: damaged database, Cancel read damaged preferences")
        << "Principal" << "Teacher" << C << "damaged database and preferences" << false
        << QStringList{question, damaged} << none;
    QTest::newRow("refused: a folder where the file must go")
        << none << "Teacher" << R << "a folder named nbq10.pref" << false << QStringList{question, cannotHold}
        << none;
    QTest::newRow("refused: a folder where the newer name must go")
        << "Principal" << "Teacher" << R << "a folder named com.orlavo.vavava.plist" << false
        << QStringList{question, cannotHold} << none;
    // It copies the school's database, not this computer's own.
    QTest::newRow("from network mode to an empty folder")
        << none << "Teacher" << R << "" << true
        << QStringList{"The shared folder's data was copied to the new location. | "} << "Teacher";
}

void TestLocations::movesLeaveTheFilesAsTheySay() {
    QFETCH(QString, theirPassword);
    QFETCH(QString, ourPassword);
    QFETCH(Seams::Answer, answer);
    QFETCH(QString, folderHolds);
    QFETCH(bool, fromNetworkMode);
    QFETCH(QStringList, expected);
    QFETCH(QString, passwordAfter);
    ScriptedDialogs dialogs;
    const QString localDb = localDatabaseWithStudent("Local Student");
    myPrefs::prPassWord = ourPassword;
    myPrefs::prMaxTries = 4;
    QVERIFY(myPrefs::writePrefFile(myPrefs::localPrefFile()));
    QStringList studentsInUse{"Local Student"};
    if (fromNetworkMode) {
        myPrefs::createRemoteFileInfo(sharedFolder("share/School"));
        QVERIFY(myPrefs::prUseAltLoc);
        DBCtrl::insertName("School Student", QString(), "Default");
        studentsInUse << "School Student";
    }
    const QString databaseBefore = DBCtrl::databasePath();

    const QString shared = sharedFolder();
    const QString database = shared + "/NB_Data.rbd";
    if (!theirPassword.isNull()) {
        QVERIFY(TestPrefs::writeBytes(shared + "/nbq10.pref", TestPrefs::schoolPrefs(theirPassword)));
        if (!folderHolds.endsWith("com.orlavo.vavava.plist")) {
            QVERIFY(TestPrefs::writeBytes(shared + "/com.orlavo.vavava.plist",
                                          TestPrefs::schoolPrefs(theirPassword, !folderHolds.contains("preferences"))));
        }
    }
    // A folder where a file must go: the one way to refuse the file that binds the superuser too.
    if (folderHolds.startsWith("a folder named "))
        QVERIFY(QDir().mkpath(shared + "/" + folderHolds.mid(15)));
    if (folderHolds.contains("damaged database")) {
        QVERIFY(TestPrefs::writeBytes(database, QByteArray(4096, 'x')));
    } else if (folderHolds.contains("database")) {
        QCOMPARE(DBCtrl::createNewDBFile(database), QString());
        DBCtrl::insertName("Shared Student", QString(), "Default");
        DBCtrl::connectToDB(databaseBefore);
        studentsInUse = QStringList{"Shared Student"};
    }
    std::unique_ptr<TestDoubles::OtherComputer> other;
    if (folderHolds == "busy database") {
        other = std::make_unique<TestDoubles::OtherComputer>(database);
        QVERIFY(other->holdExclusiveLock());
    }
    const QMap<QString, QByteArray> sharedBefore = TestPrefs::folderContents(shared);
    const QByteArray localPrefsBefore = TestPrefs::readBytes(myPrefs::localPrefFile());
    const Values before = myPrefs::current();
    int soundsTold = 0;
    myPrefs::setSoundStatesHandler([&] { ++soundsTold; });
    dialogs.clear();
    dialogs.answers = {answer};

    myPrefs::createRemoteFileInfo(shared);
    myPrefs::setSoundStatesHandler({});
    const QMap<QString, QByteArray> sharedAfter = TestPrefs::folderContents(shared);
    other.reset();

    const QStringList shown = allMessages(dialogs);
    QCOMPARE(shown.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QString want = expected[i].arg(database);
        if (want.endsWith(QStringLiteral("…")))
            QVERIFY2(shown[i].startsWith(want.chopped(1)), qPrintable(shown[i]));
        else
            QCOMPARE(shown[i], want);
    }

    if (passwordAfter.isNull()) {
        // Refused: the folder byte for byte as it was (no copy kept of a damaged file, no temporary
        // file), and this computer's preferences, in memory and saved, its sounds and its database.
        QCOMPARE(sharedAfter, sharedBefore);
        QCOMPARE(TestPrefs::readBytes(myPrefs::localPrefFile()), localPrefsBefore);
        QCOMPARE(myPrefs::current(), before);
        QCOMPARE(soundsTold, 0);
        QCOMPARE(DBCtrl::databasePath(), databaseBefore);
        QVERIFY(DBCtrl::isConnected());
        return;
    }
    // Moved: the preferences in force stand under both names (one when the folder had none) and in
    // the local file, with this computer's path to the folder.
    const bool tookTheirs = answer == Seams::Answer::Cancel;
    QCOMPARE(myPrefs::prPassWord, passwordAfter);
    QCOMPARE(myPrefs::prMaxTries, tookTheirs ? 6 : 4);
    QCOMPARE(soundsTold, tookTheirs ? 1 : 0);
    QStringList files{myPrefs::localPrefFile(), shared + "/nbq10.pref"};
    if (!theirPassword.isNull())
        files << shared + "/com.orlavo.vavava.plist";
    for (const QString& file : files) {
        const auto v = fileValues(file);
        QVERIFY2(v, qPrintable(file));
        QCOMPARE(v->passWord, passwordAfter);
        QCOMPARE(v->maxTries, tookTheirs ? 6 : 4);
        QCOMPARE(v->sndSet, tookTheirs ? QStringLiteral("1,2,3,4") : QStringLiteral("2,0,0,0"));
        QVERIFY(v->useAltLoc);
        QCOMPARE(v->altFileLoc, shared);
    }
    QStringList names{"NB_Data.rbd", "nbq10.pref"};
    if (!theirPassword.isNull())
        names << "com.orlavo.vavava.plist";
    names.sort();
    QCOMPARE(sharedAfter.keys(), names);
    QCOMPARE(DBCtrl::databasePath(), database);
    QCOMPARE(studentsIn(database), studentsInUse);
}

void TestLocations::refusedMovesChangeNothing_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("damagedServerPrefs"); // written into the chosen folder, if any
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("cancelled choice") << QString() << QString() << QStringList();
    QTest::newRow("folder gone") << "share/gone" << QString()
                                 << QStringList{"Unable to create a Preferences file at the new location. | "
                                                "Will use the local Preferences instead."};
    const QStringList same{
        "That folder holds this computer's own data. | Please choose a folder on the shared "
        "network drive. Nothing was changed."};
    QTest::newRow("the local data folder") << "data/OVR" << QString() << same;
    QTest::newRow("the local data folder by another name") << "data/../data/OVR/" << QString() << same;
    QTest::newRow("the local data folder through a link") << "link-to-data" << QString() << same;
    QTest::newRow("unreadable server preferences")
        << "share/Numbrook"
        << "nbq10.pref"
        << QStringList{"There is already a Pref file at that location. Should I replace that file with my "
                       "current preferences? | Click <Cancel> to use the preferences file on the server.",
                       "Unable to read the Preferences file at the new location. | Will use the local "
                       "Preferences instead."};
}

void TestLocations::refusedMovesChangeNothing() {
    QFETCH(QString, chosen);
    QFETCH(QString, damagedServerPrefs);
    QFETCH(QStringList, expected);
    ScriptedDialogs dialogs;
    const QString localDb = localDatabaseWithStudent("Katherine Johnson");
    QVERIFY(QFile::link(localDataFolder(), sandbox_->path("link-to-data")));
    sharedFolder();
    if (!damagedServerPrefs.isEmpty())
        QVERIFY(TestPrefs::writeBytes(sandbox_->path(chosen + "/" + damagedServerPrefs), "\x01"));
    const QByteArray localPrefsBefore = TestPrefs::readBytes(myPrefs::localPrefFile());
    const Values before = myPrefs::current();
    const QString sharedPath = sandbox_->path("share/Numbrook");
    const QMap<QString, QByteArray> sharedBefore = TestPrefs::folderContents(sharedPath);
    dialogs.clear();
    dialogs.answers = {Seams::Answer::Cancel};

    myPrefs::createRemoteFileInfo(chosen.isEmpty() ? QString() : sandbox_->path(chosen));
    QCOMPARE(allMessages(dialogs), expected);
    // The folder as another computer finds it: no copy of a file that could not be read, nothing else.
    QCOMPARE(TestPrefs::folderContents(sharedPath), sharedBefore);
    QCOMPARE(myPrefs::current(), before);
    QCOMPARE(TestPrefs::readBytes(myPrefs::localPrefFile()), localPrefsBefore);
    QCOMPARE(DBCtrl::databasePath(), localDb);
    QVERIFY(DBCtrl::isConnected());
    QCOMPARE(studentsIn(localDb), QStringList{"Katherine Johnson"});
    QVERIFY(!QFileInfo::exists(sandbox_->path("share/Numbrook/NB_Data.rbd")));
}

void TestLocations::failedMoveTakesBackTheServersPreferences() {
    ScriptedDialogs dialogs;
    const QString localDb = localDatabaseWithStudent("Hypatia");
    const QString shared = sharedFolder();
    Values onServer;
    onServer.sndSet = QStringLiteral("1,1,1,1");
    onServer.maxTries = 6;
    QVERIFY(writeValues(shared + "/nbq10.pref", onServer));
    QVERIFY(QDir().mkpath(shared + "/NB_Data.rbd")); // a database that cannot be opened
    QStringList soundSettings;
    myPrefs::setSoundStatesHandler([&] { soundSettings << myPrefs::prSndSet; });
    dialogs.clear();
    dialogs.answers = {Seams::Answer::Cancel}; // take the server's preferences

    const QByteArray serverPrefsBefore = TestPrefs::readBytes(shared + "/nbq10.pref");
    myPrefs::createRemoteFileInfo(shared);
    myPrefs::setSoundStatesHandler({});
    // The question, then the database that cannot be read: never "will now use" first.
    QCOMPARE(dialogs.messages().size(), 2);
    QVERIFY(dialogs.messages()[1].endsWith("> cannot be read."));
    QCOMPARE(myPrefs::current(), Values{});
    // The server's sounds were never in force: a choice made in the Sounds tab and not yet saved stays.
    QCOMPARE(soundSettings, QStringList{});
    QCOMPARE(QDir(shared).entryList(QDir::Files | QDir::Hidden), QStringList{"nbq10.pref"});
    QCOMPARE(TestPrefs::readBytes(shared + "/nbq10.pref"), serverPrefsBefore);
    QCOMPARE(DBCtrl::databasePath(), localDb);
    QVERIFY(DBCtrl::isConnected());
    QVERIFY(!fileValues(myPrefs::localPrefFile())->useAltLoc);
}

void TestLocations::folderVanishingDuringTheQuestion() {
    ActingDialogs dialogs;
    const QString localDb = localDatabaseWithStudent("Mary Somerville");
    const QString shared = sharedFolder();
    QVERIFY(writeValues(shared + "/nbq10.pref", Values{}));
    const QByteArray localPrefsBefore = TestPrefs::readBytes(myPrefs::localPrefFile());
    dialogs.clear();
    dialogs.whileAsking = [&] {
        QDir(shared).removeRecursively();
    };

    myPrefs::createRemoteFileInfo(shared); // "Replace"
    QCOMPARE(allMessages(dialogs).mid(1), QStringList{"Unable to create a Preferences file at the new "
                                                      "location. | Will use the local Preferences instead."});
    QVERIFY(!myPrefs::prUseAltLoc);
    QVERIFY(myPrefs::prAltFileLoc.isEmpty());
    QCOMPARE(TestPrefs::readBytes(myPrefs::localPrefFile()), localPrefsBefore);
    QCOMPARE(DBCtrl::databasePath(), localDb);
    QCOMPARE(DBCtrl::studentsOf("Default").size(), 1);
}

void TestLocations::copyFailingHalfWayLeavesEverythingAsItWas() {
    ScriptedDialogs dialogs;
    const QString localDb = localDatabaseWithStudent("Emmy Noether");
    const QString shared = sharedFolder();
    const QByteArray localBytes = TestPrefs::readBytes(localDb);
    const QByteArray localPrefsBefore = TestPrefs::readBytes(myPrefs::localPrefFile());
    dialogs.clear();
    {
        // The shared drive fills up: the preferences file fits, the database does not.
        TestPrefs::FileSizeLimit limit(localBytes.size() / 2);
        myPrefs::createRemoteFileInfo(shared);
    }
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].kind, Shown::Plain);
    QVERIFY(dialogs.shown[0].message.startsWith("A error of type: "));
    QVERIFY(dialogs.shown[0].message.endsWith(" occurred.\nPlease move the Database file to the server."));

    QVERIFY(!myPrefs::prUseAltLoc);
    QCOMPARE(TestPrefs::readBytes(myPrefs::localPrefFile()), localPrefsBefore);
    QCOMPARE(DBCtrl::databasePath(), localDb);
    QVERIFY(DBCtrl::isConnected());
    QCOMPARE(TestPrefs::readBytes(localDb), localBytes);
    // Nothing half-copied is left to be taken for a database later, and no preferences that would
    // send other computers to a database that is not there.
    QCOMPARE(QDir(shared).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

void TestLocations::readOnlySharedFolder() {
    if (::geteuid() == 0) {
        // The superuser writes into any folder: the check runs as an unprivileged user instead.
        QVERIFY(TestDoubles::passesUnprivileged("readOnlySharedFolder"));
        return;
    }
    ScriptedDialogs dialogs;
    const QString localDb = localDatabaseWithStudent("Sofia Kovalevskaya");
    const QString shared = sharedFolder();
    QVERIFY(QFile::setPermissions(shared, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    dialogs.clear();
    myPrefs::createRemoteFileInfo(shared);
    QFile::setPermissions(shared, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(allMessages(dialogs), QStringList{"Unable to create a Preferences file at the new location. | "
                                               "Will use the local Preferences instead."});
    QVERIFY(!myPrefs::prUseAltLoc);
    QCOMPARE(DBCtrl::databasePath(), localDb);
    QVERIFY(QDir(shared).isEmpty());
}

void TestLocations::copyNeverOverwrites() {
    ScriptedDialogs dialogs;
    const QString localDb = localDatabaseWithStudent("Local");
    const QString shared = sharedFolder();
    QVERIFY(TestPrefs::writeBytes(shared + "/NB_Data.rbd", "someone else's data"));
    dialogs.clear();
    QVERIFY(!DBCtrl::moveLocalData(shared));
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(TestPrefs::readBytes(shared + "/NB_Data.rbd"), QByteArray("someone else's data"));
    QCOMPARE(studentsIn(localDb), QStringList{"Local"});

    // Onto itself: refused before anything is touched.
    dialogs.clear();
    QVERIFY(!DBCtrl::moveLocalData(localDataFolder()));
    QCOMPARE(dialogs.messages(), QStringList{"That folder holds this computer's own data."});
    QCOMPARE(studentsIn(localDb), QStringList{"Local"});
}

void TestLocations::backToThisComputer() {
    ScriptedDialogs dialogs;
    const QString localDb = localDatabaseWithStudent("Left Behind");
    const QString shared = sharedFolder();
    myPrefs::createRemoteFileInfo(shared);
    DBCtrl::insertName("Added On The Server", QString(), "Default");
    dialogs.clear();

    myPrefs::createLocalDataFile();
    QVERIFY(dialogs.shown.isEmpty());
    QVERIFY(!myPrefs::prUseAltLoc);
    QVERIFY(myPrefs::prAltFileLoc.isEmpty());
    QCOMPARE(DBCtrl::databasePath(), localDb);
    // Nothing is copied back: this computer has its own data as it was left.
    QCOMPARE(studentsIn(localDb), QStringList{"Left Behind"});
    QCOMPARE(studentsIn(shared + "/NB_Data.rbd"), QStringList({"Left Behind", "Added On The Server"}));
    const auto saved = fileValues(myPrefs::localPrefFile());
    QVERIFY(saved && !saved->useAltLoc && saved->altFileLoc.isEmpty());
}

void TestLocations::backToThisComputerWithoutADataFolder() {
    ScriptedDialogs dialogs;
    localDatabaseWithStudent("Local");
    const QString shared = sharedFolder();
    myPrefs::createRemoteFileInfo(shared);
    const QByteArray prefsBefore = TestPrefs::readBytes(myPrefs::localPrefFile());
    DBCtrl::closeDB();
    DBCtrl::connectToDB(shared + "/NB_Data.rbd");
    QDir(localDataFolder()).removeRecursively();
    QVERIFY(TestPrefs::writeBytes(localDataFolder(), "a file in the way"));
    dialogs.clear();

    myPrefs::createLocalDataFile();
    QCOMPARE(allMessages(dialogs),
             QStringList({"Unable to create the data folder. | Please contact Orlavo Software: Err#1",
                          "Unable to access the data folder. | Please contact Orlavo Software: Err #2"}));
    QVERIFY(myPrefs::prUseAltLoc);
    QCOMPARE(myPrefs::prAltFileLoc, shared);
    QCOMPARE(TestPrefs::readBytes(myPrefs::localPrefFile()), prefsBefore);
    QCOMPARE(DBCtrl::databasePath(), shared + "/NB_Data.rbd");

    // The folder is there but its database cannot be opened.
    QFile::remove(localDataFolder());
    QVERIFY(QDir().mkpath(localDataFolder() + "/NB_Data.rbd"));
    dialogs.clear();
    myPrefs::createLocalDataFile();
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.messages()[0].endsWith("> cannot be read."));
    QVERIFY(myPrefs::prUseAltLoc);
    QCOMPARE(TestPrefs::readBytes(myPrefs::localPrefFile()), prefsBefore);
    QCOMPARE(DBCtrl::databasePath(), shared + "/NB_Data.rbd");
    QVERIFY(DBCtrl::isConnected());
}

void TestLocations::joiningASharedFolder() {
    ScriptedDialogs dialogs;
    const QString localDb = localDatabaseWithStudent("Second Computer");
    const QString shared = sharedFolder();
    Values setUp;
    setUp.useAltLoc = true;
    setUp.altFileLoc = QStringLiteral("//server/share");
    setUp.pctCrit = 75;
    QVERIFY(writeValues(shared + "/com.orlavo.vavava.plist", setUp));
    dialogs.clear();

    // Nothing there yet but the preferences: stay where we are.
    myPrefs::acquireDataFromNetworkLoc(shared);
    QCOMPARE(allMessages(dialogs),
             QStringList{"No data was found at this location. | Please revisit the setup "
                         "from the Primary Computer's Preferences Screen."});
    QVERIFY(!myPrefs::prUseAltLoc);
    QCOMPARE(DBCtrl::databasePath(), localDb);
    QVERIFY(!fileValues(myPrefs::localPrefFile())->useAltLoc);

    // A damaged database there: never "will now use" before it is in use.
    QVERIFY(TestPrefs::writeBytes(shared + "/NB_Data.rbd", QByteArray(4096, 'x')));
    dialogs.clear();
    myPrefs::acquireDataFromNetworkLoc(shared);
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.messages()[0].endsWith("is not a Numbrook Riza student data file, or it is damaged."));
    QCOMPARE(DBCtrl::databasePath(), localDb);
    QVERIFY(DBCtrl::isConnected());
    QVERIFY(!fileValues(myPrefs::localPrefFile())->useAltLoc);
    QVERIFY(QFile::remove(shared + "/NB_Data.rbd"));

    QCOMPARE(DBCtrl::createNewDBFile(shared + "/NB_Data.rbd"), QString());
    DBCtrl::connectToDB(localDb);
    dialogs.clear();
    myPrefs::acquireDataFromNetworkLoc(shared);
    QCOMPARE(dialogs.messages(), QStringList{"Numbrook Riza will now use the database at the new location."});
    QCOMPARE(DBCtrl::databasePath(), shared + "/NB_Data.rbd");
    QCOMPARE(myPrefs::prPctCrit, 75);
    const auto saved = fileValues(myPrefs::localPrefFile());
    QVERIFY(saved && saved->useAltLoc);
    QCOMPARE(saved->altFileLoc, shared);

    dialogs.clear();
    QVERIFY(!myPrefs::acquirePrefsFromNetworkLoc(sharedFolder("share/empty")));
    QCOMPARE(allMessages(dialogs),
             QStringList{"Unable to locate a Preferences file at the new location. | Will "
                         "initialize new Preferences instead."});
    QCOMPARE(myPrefs::prAltFileLoc, shared);
}

QTEST_GUILESS_MAIN(TestLocations)
#include "tst_locations.moc"
