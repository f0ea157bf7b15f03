#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/random.h"
#include "data/strecord.h"
#include "prefs_file.h"
#include "support/doubles.h"
#include "support/fixtures.h"
#include "support/unprivileged.h"

#include <QSqlQuery>
#include <QtTest>

#include <unistd.h>

using TestDoubles::ScriptedDialogs;
using TestDoubles::TempDatabase;

class TestDBCtrl : public QObject {
    Q_OBJECT
private slots:
    void newFileHasTheSchemaAndDefaultClass();
    void failedCreationLeavesNoFile();
    void noFolderIsReported();
    void aFileMadeByAnotherComputerMeanwhileIsUsed();
    void aFileOfNoBytesIsCreatedInPlace();
    void opensAFileMadeElsewhere();
    void refusesAFileThatIsNotOurs_data();
    void refusesAFileThatIsNotOurs();
    void readOnlyFileIsOpenedWithAWarning();
    void apostrophesWorkEverywhere();
    void duplicateNameAsks_data();
    void duplicateNameAsks();
    void addingToAMissingClassCreatesIt();
    void whatChangedWhileTheQuestionWaitedIsLookedAtAgain();
    void deletionsTakeTheResultsWithThem();
    void reusedIdStartsAfresh();
    void updateNamesOfAMissingStudent();
    void hallOfFameOnce();
    void errorCodes_data();
    void errorCodes();
    void namesKeepOneLine();
    void namesMeetAsStored();
    void aStoredNameWithLineBreaksIsUsedAsStored();
    void passwordsWithControlCharactersAreRefused();
    void passwordsOfAnyCharacterAreKept_data();
    void passwordsOfAnyCharacterAreKept();
    void withoutADatabase();
    void failedAddReportsNoId();
    void listsClassesAndStudents();
    void noMessageWaitsWithTheWriteLockHeld();
    void aFailedBatchStoresNothing_data();
    void aFailedBatchStoresNothing();
};

void TestDBCtrl::newFileHasTheSchemaAndDefaultClass() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    QVERIFY(db.ok());
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].message,
             QStringLiteral("A new Database file was created at <") + db.file() + ">.");
    QCOMPARE(dialogs.shown[0].explanation, QStringLiteral("Enter player names as needed."));
    QVERIFY(!dialogs.shown[0].isCaution);

    QSqlQuery q(DBCtrl::NBData());
    QVERIFY(q.exec("SELECT sql FROM sqlite_master WHERE type = 'table' ORDER BY rowid"));
    QStringList schema;
    while (q.next())
        schema << q.value(0).toString();
    QCOMPARE(schema,
             QStringList({
                 "CREATE TABLE Classes ( ClassID INTEGER PRIMARY KEY, ClassNm VarChar )",
                 "CREATE TABLE Names ( StID INTEGER PRIMARY KEY, StName VarChar, StClass VarChar, "
                 "StStars VarChar, StPW VarChar)",
                 "CREATE TABLE theData ( DataID INTEGER PRIMARY KEY, StID VarChar, lastDate VarChar, "
                 "stAdd VarChar, stSub VarChar, stMul VarChar, stDiv VarChar, stParam VarChar, "
                 "zeriGames VarChar )",
                 "CREATE TABLE HallData ( HallID INTEGER PRIMARY KEY, StName VarChar, dateEnt VarChar )",
             }));
    QCOMPARE(db.count("Classes"), 1);
    QCOMPARE(db.count("Classes", "ClassNm", "Default"), 1);
    QCOMPARE(db.count("Names") + db.count("theData") + db.count("HallData"), 0);
    QVERIFY(QFileInfo(db.file()).permissions() & QFileDevice::WriteOther);
}

void TestDBCtrl::failedCreationLeavesNoFile() {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString missingFolder = dir.filePath("nowhere/NB_Data.rbd");
    const QString error = DBCtrl::createNewDBFile(missingFolder);
    QCOMPARE(error, QStringLiteral("Database Error\nThere was an error when creating the database at <") +
                        QFileInfo(missingFolder).absoluteFilePath() + ">");
    QVERIFY(!QFileInfo::exists(missingFolder));

    // The tables cannot be written (the disk is full): nothing is left behind, not even the file the
    // creation worked in, and the creation is reported as failed.
    const QString target = dir.filePath("NB_Data.rbd");
    {
        TestPrefs::FileSizeLimit fullDisk(512);
        QVERIFY(!DBCtrl::createNewDBFile(target).isEmpty());
    }
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QVERIFY(!DBCtrl::isConnected());
    QVERIFY(dialogs.messages().isEmpty());

    // An existing file is never overwritten.
    QFile existing(target);
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
    existing.close();
    QVERIFY(!DBCtrl::createNewDBFile(target).isEmpty());
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("keep me"));
}

// Makes the database file the way another computer's copy of the program would, with a class of its own.
void makeDatabaseElsewhere(const QString& file, const QString& className) {
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "elsewhere");
        other.setDatabaseName(file);
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY(q.exec("CREATE TABLE Classes ( ClassID INTEGER PRIMARY KEY, ClassNm VarChar )"));
        QVERIFY(
            q.exec("CREATE TABLE Names ( StID INTEGER PRIMARY KEY, StName VarChar, StClass VarChar, StStars "
                   "VarChar, StPW VarChar)"));
        QVERIFY(q.exec(
            "CREATE TABLE theData ( DataID INTEGER PRIMARY KEY, StID VarChar, lastDate VarChar, stAdd "
            "VarChar, stSub VarChar, stMul VarChar, stDiv VarChar, stParam VarChar, zeriGames VarChar )"));
        QVERIFY(
            q.exec("CREATE TABLE HallData ( HallID INTEGER PRIMARY KEY, StName VarChar, dateEnt VarChar )"));
        q.prepare("INSERT INTO Classes (ClassNm) VALUES (?)");
        q.addBindValue(className);
        QVERIFY(q.exec());
        other.close();
    }
    QSqlDatabase::removeDatabase("elsewhere");
}

void TestDBCtrl::aFileMadeByAnotherComputerMeanwhileIsUsed() {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString file = dir.filePath("NB_Data.rbd");
    // This computer found no file; another one makes it before this one has made its own.
    DBCtrl::setRaceHook(DBCtrl::RacePoint::BeforeDatabaseCreated,
                        [&] { makeDatabaseElsewhere(file, "Room 4"); });
    DBCtrl::check4Database(dir.path());
    DBCtrl::setRaceHook(DBCtrl::RacePoint::BeforeDatabaseCreated, {});
    QVERIFY(DBCtrl::isConnected());
    QCOMPARE(DBCtrl::databasePath(), file);
    QCOMPARE(DBCtrl::classNames(), QStringList{"Room 4"});
    QVERIFY(dialogs.shown.isEmpty()); // no note of a new file: none was made
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"NB_Data.rbd"});

    // Also once the new file is complete, it never takes the place of the other computer's.
    DBCtrl::closeDB();
    QVERIFY(QFile::remove(file));
    DBCtrl::setRaceHook(DBCtrl::RacePoint::BeforeDatabasePlaced,
                        [&] { makeDatabaseElsewhere(file, "Room 9"); });
    QCOMPARE(DBCtrl::createNewDBFile(file), QString());
    DBCtrl::setRaceHook(DBCtrl::RacePoint::BeforeDatabasePlaced, {});
    QCOMPARE(DBCtrl::classNames(), QStringList{"Room 9"});
    QVERIFY(dialogs.shown.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"NB_Data.rbd"});
    DBCtrl::closeDB();
}

void TestDBCtrl::aFileOfNoBytesIsCreatedInPlace() {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString file = dir.filePath("NB_Data.rbd");
    QFile empty(file);
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    DBCtrl::check4Database(dir.path());
    QVERIFY(DBCtrl::isConnected());
    QCOMPARE(DBCtrl::classNames(), QStringList{"Default"});
    QCOMPARE(dialogs.messages(), QStringList{"A new Database file was created at <" + file + ">."});
    DBCtrl::closeDB();
    // The next start opens it as it is.
    dialogs.clear();
    DBCtrl::check4Database(dir.path());
    QVERIFY(DBCtrl::isConnected());
    QVERIFY(dialogs.shown.isEmpty());
    DBCtrl::closeDB();
}

void TestDBCtrl::noFolderIsReported() {
    ScriptedDialogs dialogs;
    DBCtrl::check4Database(QString());
    QVERIFY(!DBCtrl::isConnected());
    QCOMPARE(dialogs.messages(), QStringList{"There was an error accessing the Database."});
    QCOMPARE(dialogs.shown[0].explanation, QStringLiteral("Please contact Orlavo Software for assistance"));
}

void TestDBCtrl::opensAFileMadeElsewhere() {
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString file = dir.filePath("NB_Data.rbd");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "elsewhere");
        other.setDatabaseName(file);
        QVERIFY(other.open());
        QSqlQuery q(other);
        QVERIFY(q.exec("CREATE TABLE Classes ( ClassID INTEGER PRIMARY KEY, ClassNm VarChar )"));
        QVERIFY(
            q.exec("CREATE TABLE Names ( StID INTEGER PRIMARY KEY, StName VarChar, StClass VarChar, StStars "
                   "VarChar, StPW VarChar)"));
        QVERIFY(q.exec(
            "CREATE TABLE theData ( DataID INTEGER PRIMARY KEY, StID VarChar, lastDate VarChar, stAdd "
            "VarChar, stSub VarChar, stMul VarChar, stDiv VarChar, stParam VarChar, zeriGames VarChar )"));
        QVERIFY(
            q.exec("CREATE TABLE HallData ( HallID INTEGER PRIMARY KEY, StName VarChar, dateEnt VarChar )"));
        QVERIFY(q.exec("INSERT INTO Classes (ClassNm) VALUES ('Room 4')"));
        QVERIFY(
            q.exec("INSERT INTO Names (StName, StClass, StStars, StPW) VALUES ('Jo', 'Room 4', '3', '')"));
        other.close();
    }
    QSqlDatabase::removeDatabase("elsewhere");
    DBCtrl::check4Database(dir.path());
    QVERIFY(DBCtrl::isConnected());
    QVERIFY(dialogs.messages().isEmpty());
    QCOMPARE(DBCtrl::checkForDuplClass("Room 4"), DBCtrl::Lookup::Found);
    QCOMPARE(DBCtrl::checkForDuplClass("Default"), DBCtrl::Lookup::Missing);
    QCOMPARE(DBCtrl::checkForDuplName("JO", "Room 4"), DBCtrl::Lookup::Found);
    DBCtrl::closeDB();
}

void TestDBCtrl::refusesAFileThatIsNotOurs_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("text") << QByteArray("just some notes, not a database\n").repeated(100);
    QTest::newRow("random bytes") << QByteArray::fromHex("00ff13a7").repeated(1000);
    QTest::newRow("another sqlite file") << QByteArray("recipes"); // made below
    QTest::newRow("our table names, other columns") << QByteArray("names only");
    QTest::newRow("our columns, another key") << QByteArray("other key");
}

void TestDBCtrl::refusesAFileThatIsNotOurs() {
    QFETCH(QByteArray, content);
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString file = dir.filePath("NB_Data.rbd");
    const QMap<QByteArray, QStringList> foreignSchemas = {
        {"recipes", {"CREATE TABLE recipes (name TEXT)"}},
        {"names only",
         {"CREATE TABLE Classes (id INTEGER PRIMARY KEY, title TEXT)", "CREATE TABLE Names (who TEXT)",
          "CREATE TABLE theData (what TEXT)", "CREATE TABLE HallData (when_ TEXT)"}},
        {"other key",
         {"CREATE TABLE Classes ( ClassID INTEGER PRIMARY KEY, ClassNm VarChar )",
          "CREATE TABLE Names ( StID VarChar, StName VarChar, StClass VarChar, StStars VarChar, StPW "
          "VarChar)",
          "CREATE TABLE theData ( DataID INTEGER PRIMARY KEY, StID VarChar, lastDate VarChar, stAdd VarChar, "
          "stSub VarChar, stMul VarChar, stDiv VarChar, stParam VarChar, zeriGames VarChar )",
          "CREATE TABLE HallData ( HallID INTEGER PRIMARY KEY, StName VarChar, dateEnt VarChar )"}},
    };
    if (foreignSchemas.contains(content)) {
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "foreign");
            other.setDatabaseName(file);
            QVERIFY(other.open());
            for (const QString& statement : foreignSchemas[content])
                QVERIFY(QSqlQuery(other).exec(statement));
            other.close();
        }
        QSqlDatabase::removeDatabase("foreign");
    } else {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    DBCtrl::check4Database(dir.path());
    QVERIFY(!DBCtrl::isConnected());
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.messages()[0].contains("is not a Numbrook Riza student data file"));
    QVERIFY(dialogs.shown[0].isCaution);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before); // nothing overwritten

    // An unconnected database answers quietly: no crash, nothing added.
    QCOMPARE(DBCtrl::checkForDuplClass("Default"), DBCtrl::Lookup::Failed); // not taken for "not there"
    DBCtrl::insertName("Ann", "", "Default");
    QCOMPARE(DBCtrl::getLastID(), 0);
}

void TestDBCtrl::readOnlyFileIsOpenedWithAWarning() {
    if (::geteuid() == 0) {
        // The superuser writes into any file: the check runs as an unprivileged user instead.
        QVERIFY(TestDoubles::passesUnprivileged("readOnlyFileIsOpenedWithAWarning"));
        return;
    }
    ScriptedDialogs dialogs;
    QString folder;
    {
        TempDatabase db;
        folder = db.folder();
        const int id = db.addStudent("Ann", "Default");
        QVERIFY(id > 0);
        DBCtrl::closeDB();
        QFile::setPermissions(db.file(),
                              QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
        QVERIFY(!QFileInfo(db.file()).isWritable());
        dialogs.clear();
        DBCtrl::check4Database(folder);
        QVERIFY(DBCtrl::isConnected());
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY(dialogs.messages()[0].endsWith("is read-only."));
        QCOMPARE(DBCtrl::checkForDuplName("Ann", "Default"), DBCtrl::Lookup::Found); // reading still works
        dialogs.clear();
        DBCtrl::deleteName(QString::number(id));
        QCOMPARE(dialogs.messages(), QStringList{"Database Error: 8"});
        QCOMPARE(DBCtrl::checkForDuplName("Ann", "Default"), DBCtrl::Lookup::Found);
        QFile::setPermissions(db.file(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
}

void TestDBCtrl::apostrophesWorkEverywhere() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    dialogs.clear();
    const QString cls = "Mrs O'Neil's";
    const QString name = "Sean O'Brien";
    QVERIFY(DBCtrl::insertClass(cls));
    QCOMPARE(DBCtrl::checkForDuplClass(cls), DBCtrl::Lookup::Found);
    int id = 0;
    QVERIFY(!DBCtrl::hndlAddName(name, "it's", cls, &id));
    QVERIFY(id > 0);
    QCOMPARE(DBCtrl::checkForDuplName("sean o'brien", cls), DBCtrl::Lookup::Found);
    DBCtrl::updateNames(name, cls, QString::number(id), "it's", "8");
    QVERIFY(DBCtrl::insertHOF(name));
    QVERIFY(!DBCtrl::insertHOF(name));
    QCOMPARE(db.count("HallData", "StName", name), 1);

    QSqlQuery q(DBCtrl::NBData());
    q.prepare("SELECT StPW, StStars FROM Names WHERE StID = ?");
    q.addBindValue(id);
    QVERIFY(q.exec() && q.next());
    QCOMPARE(myGlobals::unscrambleStr(q.value(0).toString()), QStringLiteral("it's"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("8"));
    q.finish();

    DBCtrl::deleteName(QString::number(id));
    DBCtrl::deleteClass(cls);
    QCOMPARE(db.count("Names"), 0);
    QCOMPARE(DBCtrl::checkForDuplClass(cls), DBCtrl::Lookup::Missing);
    QVERIFY(dialogs.messages().isEmpty());
}

void TestDBCtrl::duplicateNameAsks_data() {
    QTest::addColumn<Seams::Answer>("answer");
    QTest::addColumn<bool>("wentBack");
    QTest::addColumn<int>("students");
    QTest::newRow("cancel") << Seams::Answer::Default << true << 1;
    QTest::newRow("continue to save") << Seams::Answer::Cancel << false << 2;
}

void TestDBCtrl::duplicateNameAsks() {
    QFETCH(Seams::Answer, answer);
    QFETCH(bool, wentBack);
    QFETCH(int, students);
    ScriptedDialogs dialogs;
    TempDatabase db;
    db.addStudent("Mary Ann", "Default");
    dialogs.clear();
    dialogs.answers = {answer};
    int id = -1;
    QCOMPARE(DBCtrl::hndlAddName("MARY ANN", "", "Default", &id), wentBack);
    QCOMPARE(id > 0, !wentBack);
    QCOMPARE(db.count("Names"), students);
    QCOMPARE(dialogs.shown.size(), 1);
    const Seams::Question& q = dialogs.shown[0].question;
    QCOMPARE(q.message,
             QStringLiteral("The name MARY ANN already exists in the Default Class. It is advised that you "
                            "change this name before adding to this class."));
    QCOMPARE(q.explanation, QStringLiteral("Click <Cancel> to go back and change the Name. "));
    QCOMPARE(q.defaultCaption, QStringLiteral("Cancel"));
    QCOMPARE(q.cancelCaption, QStringLiteral("Continue to Save"));
    QCOMPARE(q.icon, Seams::Icon::Question);
}

void TestDBCtrl::addingToAMissingClassCreatesIt() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    dialogs.clear();
    QVERIFY(!DBCtrl::hndlAddName("Ann", "", "Room 9"));
    QCOMPARE(db.count("Classes", "ClassNm", "Room 9"), 1);
    QCOMPARE(db.count("Names", "StClass", "Room 9"), 1);
    QVERIFY(dialogs.shown.isEmpty());
}

// The duplicate question waits with no lock held. Another computer deletes the class meanwhile: the
// student the teacher still adds goes in with the class made again, never into a class no list shows.
void TestDBCtrl::whatChangedWhileTheQuestionWaitedIsLookedAtAgain() {
    struct DeletingDialogs : ScriptedDialogs {
        QString file;
        bool lockFree = false;
        Seams::Answer ask(const Seams::Question& q) override {
            ScriptedDialogs::ask(q);
            TestDoubles::OtherComputer other(file);
            lockFree = other.holdWriteLock();
            other.exec("DELETE FROM Classes WHERE ClassNm = 'Room 4'");
            other.exec("COMMIT");
            return Seams::Answer::Cancel; // "Continue to Save"
        }
    };
    DeletingDialogs dialogs;
    TempDatabase db;
    dialogs.file = db.file();
    QVERIFY(DBCtrl::insertClass("Room 4"));
    db.addStudent("Ann", "Room 4");
    dialogs.clear();
    int id = 0;
    QVERIFY(!DBCtrl::hndlAddName("ann", "", "Room 4", &id));
    QVERIFY(id > 0);
    QVERIFY(dialogs.lockFree);
    QCOMPARE(dialogs.shown.size(), 1); // the question, once
    QCOMPARE(db.count("Classes", "ClassNm", "Room 4"), 1);
    QCOMPARE(db.nameColumn(id, "StClass"), QStringLiteral("Room 4"));
}

void TestDBCtrl::deletionsTakeTheResultsWithThem() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    DBCtrl::insertClass("Room 4");
    const int a = db.addStudent("Ann", "Room 4");
    const int b = db.addStudent("Ben", "Room 4");
    const int c = db.addStudent("Cy", "Default");
    for (int id : {a, b, c})
        db.addResults(id, 1, 2);
    DBCtrl::deleteName(QString::number(c));
    QCOMPARE(db.count("theData", "StID", QString::number(c)), 0);
    QCOMPARE(db.count("theData"), 2);
    DBCtrl::deleteClass("Room 4");
    QCOMPARE(db.count("theData"), 0);
    QCOMPARE(db.count("Names"), 0);
    QCOMPARE(db.count("Classes", "ClassNm", "Default"), 1);
}

void TestDBCtrl::reusedIdStartsAfresh() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    const int first = db.addStudent("Ann", "Default");
    const int last = db.addStudent("Ben", "Default");
    db.addResults(last, 30, 40);
    // A results row left behind by some older program for the id that comes next.
    QSqlQuery(DBCtrl::NBData()).exec("DELETE FROM Names WHERE StID = " + QString::number(last));
    QCOMPARE(db.count("theData", "StID", QString::number(last)), 1);
    int id = 0;
    QVERIFY(!DBCtrl::hndlAddName("Cy", "", "Default", &id));
    QCOMPARE(id, last);                                            // SQLite reuses the freed id ...
    QCOMPARE(db.count("theData", "StID", QString::number(id)), 0); // ... but not its results
    QVERIFY(first != id);
}

void TestDBCtrl::updateNamesOfAMissingStudent() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    dialogs.clear();
    DBCtrl::updateNames("Ghost", "Default", "999", "", "2");
    QCOMPARE(dialogs.messages(), QStringList{"Unable to update record"});
    QCOMPARE(dialogs.shown[0].kind, TestDoubles::Shown::Plain);
    QCOMPARE(db.count("Names"), 0);
}

void TestDBCtrl::hallOfFameOnce() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    myGlobals::gCurPlayer = std::make_shared<StRecord>("Zoë Ng", "Default", 1, QString(), 0);
    QVERIFY(DBCtrl::insertHOF());
    QVERIFY(!DBCtrl::insertHOF());
    QCOMPARE(db.count("HallData"), 1);
    QSqlQuery q(DBCtrl::NBData());
    QVERIFY(q.exec("SELECT StName, dateEnt FROM HallData") && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Zoë Ng"));
    QCOMPARE(q.value(1).toString(), DBCtrl::todayText());
    myGlobals::gCurPlayer.reset();
}

void TestDBCtrl::errorCodes_data() {
    QTest::addColumn<QString>("nativeCode");
    QTest::addColumn<QString>("shown");
    QTest::newRow("constraint") << "19"
                                << "";
    QTest::newRow("extended constraint") << "2067"
                                         << "";
    QTest::newRow("plain error") << "1"
                                 << "Database Error: 1";
    QTest::newRow("extended read-only") << "1032"
                                        << "Database Error: 8";
    QTest::newRow("busy") << "5"
                          << "Database Error: 5";
}

void TestDBCtrl::errorCodes() {
    QFETCH(QString, nativeCode);
    QFETCH(QString, shown);
    ScriptedDialogs dialogs;
    DBCtrl::DisplayDatabaseError(
        QSqlError("driver", "the database's words", QSqlError::StatementError, nativeCode));
    if (shown.isEmpty()) {
        QVERIFY(dialogs.shown.isEmpty());
    } else {
        QCOMPARE(dialogs.messages(), QStringList{shown});
        QCOMPARE(dialogs.shown[0].explanation, QStringLiteral("the database's words"));
        QVERIFY(dialogs.shown[0].isCaution);
    }
}

void TestDBCtrl::namesKeepOneLine() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    int id = 0;
    DBCtrl::hndlAddName("Ann\tLee\nSmith", "", "Default", &id);
    QSqlQuery q(DBCtrl::NBData());
    QVERIFY(q.exec("SELECT StName FROM Names") && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Ann Lee Smith"));
}

// Names and classes are made one line where they enter, so every look-up sees what is stored.
void TestDBCtrl::namesMeetAsStored() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    QVERIFY(DBCtrl::insertClass("Room\t4"));
    QCOMPARE(DBCtrl::checkForDuplClass("Room\t4"), DBCtrl::Lookup::Found);
    QCOMPARE(DBCtrl::checkForDuplClass("Room 4"), DBCtrl::Lookup::Found);
    int cy = 0;
    DBCtrl::hndlAddName("Cy Lee", "", "Room\t4", &cy);
    QVERIFY(cy > 0);
    QCOMPARE(db.count("Classes", "ClassNm", "Room 4"), 1);
    QCOMPARE(db.count("Classes"), 2); // "Default" and one "Room 4"
    QCOMPARE(DBCtrl::studentsOf("Room 4").size(), 1);
    // "Cy\tLee" is the stored "Cy Lee": the duplicate question is asked, and Cancel adds nothing.
    dialogs.clear();
    dialogs.answers.push_back(Seams::Answer::Default);
    int again = -1;
    QVERIFY(DBCtrl::hndlAddName("Cy\tLee", "", "Room 4", &again));
    QCOMPARE(again, 0);
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].kind, TestDoubles::Shown::Question);
    QCOMPARE(db.count("Names"), 1);
    DBCtrl::deleteClass("Room 4");
    QCOMPARE(db.count("Names"), 0);
    QCOMPARE(db.count("Classes", "ClassNm", "Room 4"), 0);
}

// A class another program stored with a tab in its name: picked from a list, it is the class itself
// for every look-up, add, edit and delete; nothing ends up in a look-alike "Room 5".
void TestDBCtrl::aStoredNameWithLineBreaksIsUsedAsStored() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    const QString stored = QStringLiteral("Room\t5");
    QSqlQuery q(DBCtrl::NBData());
    q.prepare("INSERT INTO Classes (ClassNm) VALUES (?)");
    q.addBindValue(stored);
    QVERIFY(q.exec());
    const int ann = db.addStudent("Ann", stored);
    dialogs.clear();
    QCOMPARE(DBCtrl::studentsOf(stored).size(), 1);
    int bo = 0;
    QVERIFY(!DBCtrl::hndlAddName("Bo", "", stored, &bo));
    QVERIFY(bo > 0);
    QCOMPARE(DBCtrl::insertNames({{"Cy", ""}}, stored).size(), 1);
    DBCtrl::updateNames("Ann Lee", stored, QString::number(ann), "", QString());
    QCOMPARE(db.nameColumn(ann, "StClass"), stored);
    QCOMPARE(db.nameColumn(bo, "StClass"), stored);
    QCOMPARE(DBCtrl::studentsOf(stored).size(), 3);
    QCOMPARE(db.count("Classes"), 2); // no "Room 5" was made
    db.addResults(ann, 1, 2);
    DBCtrl::deleteClass(stored);
    QCOMPARE(db.count("Classes"), 1);
    QCOMPARE(db.count("Names"), 0);
    QCOMPARE(db.count("theData"), 0);
    QVERIFY2(dialogs.messages().isEmpty(), qPrintable(dialogs.messages().join(" | ")));
}

void TestDBCtrl::passwordsWithControlCharactersAreRefused() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    dialogs.clear();
    int id = -1;
    QVERIFY(!DBCtrl::hndlAddName("Ann", "ab\tc", "Default", &id));
    QCOMPARE(id, 0);
    QCOMPARE(db.count("Names"), 0);
    QCOMPARE(dialogs.messages(), QStringList{"That password cannot be used."});
    dialogs.clear();
    QVERIFY(DBCtrl::insertNames({{"Bo", "ok"}, {"Cy", QStringLiteral("x") + QChar(7)}}, "Default").isEmpty());
    QCOMPARE(db.count("Names"), 0);
    QCOMPARE(dialogs.messages(), QStringList{"That password cannot be used."});
    DBCtrl::hndlAddName("Ann", "abc", "Default", &id);
    QVERIFY(id > 0);
    dialogs.clear();
    DBCtrl::updateNames("Ann", "Default", QString::number(id), "new\nline", "0");
    QCOMPARE(dialogs.messages(), QStringList{"That password cannot be used."});
    QSqlQuery q(DBCtrl::NBData());
    QVERIFY(q.exec("SELECT StPW FROM Names") && q.next());
    QCOMPARE(myGlobals::unscrambleStr(q.value(0).toString()), QStringLiteral("abc"));
}

void TestDBCtrl::passwordsOfAnyCharacterAreKept_data() {
    QTest::addColumn<QString>("password");
    const auto text = [](std::initializer_list<char32_t> codes) {
        return QString::fromUcs4(std::data(codes), qsizetype(codes.size()));
    };
    QTest::newRow("U+E000 first") << text({0xE000});
    QTest::newRow("U+D7FF second") << text({'p', 0xD7FF});
    QTest::newRow("U+10FFFF second") << text({'p', 0x10FFFF, 'w'});
    QTest::newRow("all three, twice") << text({0xE000, 0xD7FF, 0xE000, 0x10FFFF, 0xE000, 0xD7FF});
    QTest::newRow("non-characters") << text({0xFFFF, 0xFFFE});
}

// Whatever key the scrambling draws, a password of valid characters is stored, and never as none: by
// an add, by an update and by an import.
void TestDBCtrl::passwordsOfAnyCharacterAreKept() {
    QFETCH(QString, password);
    ScriptedDialogs dialogs;
    TempDatabase db;
    dialogs.clear();
    const auto storedOf = [](int id) {
        QSqlQuery q(DBCtrl::NBData());
        q.prepare("SELECT StPW FROM Names WHERE StID = ?");
        q.addBindValue(id);
        return q.exec() && q.next() ? q.value(0).toString() : QStringLiteral("(no row)");
    };
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        App::myRnd().seed(seed);
        int id = 0;
        QVERIFY(!DBCtrl::hndlAddName(QStringLiteral("Ann %1").arg(seed), password, "Default", &id));
        QVERIFY(id > 0);
        QVERIFY(!storedOf(id).isEmpty());
        QCOMPARE(myGlobals::unscrambleStr(storedOf(id)), password);
        DBCtrl::updateNames(QStringLiteral("Ann %1").arg(seed), "Default", QString::number(id),
                            password + password, "0");
        QCOMPARE(myGlobals::unscrambleStr(storedOf(id)), password + password);
        const QList<int> ids =
            DBCtrl::insertNames({{QStringLiteral("Bo %1").arg(seed), password}}, "Default");
        QCOMPARE(ids.size(), 1);
        QCOMPARE(myGlobals::unscrambleStr(storedOf(ids[0])), password);
    }
    QCOMPARE(dialogs.messages(), QStringList{});
}

// With no database open, an update says so in the record's own words (not a database error code of
// 0) and the hall of fame entry is quietly not made.
void TestDBCtrl::withoutADatabase() {
    ScriptedDialogs dialogs;
    DBCtrl::closeDB();
    QVERIFY(!DBCtrl::isConnected());
    DBCtrl::updateNames("Ann", "Default", "1", "", "2");
    QCOMPARE(dialogs.messages(), QStringList{"Unable to update record"});
    QCOMPARE(dialogs.shown[0].kind, TestDoubles::Shown::Plain);
    dialogs.clear();
    QVERIFY(!DBCtrl::insertHOF(QStringLiteral("Ann")));
    QVERIFY(dialogs.messages().isEmpty());
}

void TestDBCtrl::failedAddReportsNoId() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    int id = 0;
    DBCtrl::hndlAddName("Ann", "", "Default", &id);
    QVERIFY(id > 0);
    QCOMPARE(DBCtrl::getLastID(), id);
    // Break the table so that the next insert fails: the id of the last good add must not be reused.
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec("ALTER TABLE Names RENAME TO Gone"));
    dialogs.clear();
    int second = -1;
    QVERIFY(!DBCtrl::hndlAddName("Ben", "", "Default", &second));
    QCOMPARE(second, 0);
    QCOMPARE(DBCtrl::getLastID(), 0);
    QCOMPARE(dialogs.messages().size(), 1);
    QCOMPARE(dialogs.messages()[0], QStringLiteral("Database Error: 1"));
}

void TestDBCtrl::listsClassesAndStudents() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    DBCtrl::insertClass("Mrs O'Neil's");
    db.addStudent("Sean O'Brien", "Mrs O'Neil's", "pw", 3);
    db.addStudent("Ann", "Mrs O'Neil's", {}, 99); // a damaged star count
    db.addStudent("Ben", "Default");
    QCOMPARE(DBCtrl::classNames(), QStringList({"Default", "Mrs O'Neil's"}));
    const QList<DBCtrl::StudentRow> rows = DBCtrl::studentsOf("Mrs O'Neil's");
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].name, QStringLiteral("Sean O'Brien"));
    QCOMPARE(rows[0].halfStars, 3);
    QCOMPARE(myGlobals::unscrambleStr(rows[0].storedPassword), QStringLiteral("pw"));
    QCOMPARE(rows[1].halfStars, 8);
    QVERIFY(rows[1].storedPassword.isNull());
    QVERIFY(DBCtrl::studentsOf("Nobody").isEmpty());

    // Text beyond ASCII comes back as stored, and every class's students in the order they came.
    DBCtrl::insertNames({{QStringLiteral("Zoë Ångström"), QStringLiteral("日本")}}, QStringLiteral("Année 2"));
    const QList<DBCtrl::StudentRow> all = DBCtrl::allStudents();
    QCOMPARE(all.size(), 4);
    QCOMPARE(all[2].name, QStringLiteral("Ben"));
    QCOMPARE(all[3].name, QStringLiteral("Zoë Ångström"));
    QCOMPARE(all[3].className, QStringLiteral("Année 2"));
    QCOMPARE(myGlobals::unscrambleStr(all[3].storedPassword), QStringLiteral("日本"));
    QCOMPARE(DBCtrl::studentsOf(QStringLiteral("Année 2")).size(), 1);
}

// Records, for every message, whether another computer could have written the file meanwhile.
class LockCheckingDialogs : public ScriptedDialogs {
public:
    QString file;
    QList<bool> lockFree;
    void showMsg(bool isCaution, const QString& message, const QString& explanation) override {
        check();
        ScriptedDialogs::showMsg(isCaution, message, explanation);
    }
    void plainMessage(const QString& message, const QString& explanation) override {
        check();
        ScriptedDialogs::plainMessage(message, explanation);
    }

private:
    void check() {
        {
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other computer");
            other.setDatabaseName(file);
            other.setConnectOptions("QSQLITE_BUSY_TIMEOUT=0");
            other.open();
            QSqlQuery q(other);
            const bool free = q.exec("BEGIN IMMEDIATE");
            lockFree << free;
            if (free)
                q.exec("ROLLBACK");
            other.close();
        }
        QSqlDatabase::removeDatabase("other computer");
    }
};

void TestDBCtrl::noMessageWaitsWithTheWriteLockHeld() {
    LockCheckingDialogs dialogs;
    TempDatabase db;
    dialogs.file = db.file();
    dialogs.clear();
    dialogs.lockFree.clear();
    const int id = db.addStudent("Ann", "Default");
    auto record = std::make_shared<StRecord>("Ann", "Default", id, QString(), 0);
    myGlobals::gCurPlayer = record;
    record->getStudentData();
    // A star rise (congratulation), a missing Names row, a missing results row, failed changes.
    record->addCor.fill(34);
    record->addTried.fill(40);
    record->rejoinData();
    DBCtrl::updateNames("Ghost", "Default", "999", "", "2");
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec("DELETE FROM theData"));
    record->updateData();
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec("ALTER TABLE Names RENAME TO Gone"));
    DBCtrl::hndlAddName("Ben", "", "Default");
    record->rejoinData();
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec("ALTER TABLE HallData RENAME TO Gone2"));
    DBCtrl::insertHOF("Ann"); // its look-up fails: said, nothing added
    DBCtrl::deleteName(QString::number(id));
    QCOMPARE(
        dialogs.messages(),
        QStringList(
            {"Congratulations, Ann\nYou have earned your first whole star.\nWhen you have 4 stars, "
             "your name will be added to the Numbrook Riza Hall of Fame.",
             "Unable to update record",
             "Database Error\n\nCould not find the selected record in the database.", "Database Error: 1",
             "Database Error\n\nCould not find the selected record in the database.", "Database Error: 1",
             "Database Error: 1"}));
    QCOMPARE(dialogs.lockFree, QList<bool>(7, true));
    myGlobals::gCurPlayer.reset();
}

// A list of students goes in whole or not at all; whatever stops it is said once, with no lock held,
// and the students before the failure are not left behind.
void TestDBCtrl::aFailedBatchStoresNothing_data() {
    QTest::addColumn<QString>("breakage");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("no students table") << "ALTER TABLE Names RENAME TO Gone" << QStringList{"Database Error: 1"};
    QTest::newRow("no results table") << "ALTER TABLE theData RENAME TO Gone" << QStringList{"Database Error: 1"};
    // A student refused halfway through the list (here by a rule of the file's own).
    QTest::newRow("refused halfway")
        << "CREATE TRIGGER refuse BEFORE INSERT ON Names WHEN NEW.StName = 'Cy' BEGIN SELECT RAISE(ABORT, 'no'); END"
        << QStringList{};
}

void TestDBCtrl::aFailedBatchStoresNothing() {
    QFETCH(QString, breakage);
    QFETCH(QStringList, messages);
    LockCheckingDialogs dialogs;
    TempDatabase db;
    dialogs.file = db.file();
    db.addStudent("Ann", "Default");
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec(breakage));
    dialogs.clear();
    dialogs.lockFree.clear();
    QVERIFY(DBCtrl::insertNames({{"Bo", "pw"}, {"Cy", ""}, {"Di", "x"}}, "Default").isEmpty());
    QCOMPARE(dialogs.messages(), messages);
    QCOMPARE(dialogs.lockFree, QList<bool>(messages.size(), true));
    QSqlQuery q(DBCtrl::NBData());
    QVERIFY(q.exec(breakage.contains("Names RENAME") ? "SELECT StName FROM Gone" : "SELECT StName FROM Names"));
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    QCOMPARE(names, QStringList{"Ann"});
}

QTEST_GUILESS_MAIN(TestDBCtrl)
#include "tst_dbctrl.moc"
