#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/prefs.h"
#include "data/strecord.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QSqlQuery>
#include <QtTest>

using TestDoubles::ScriptedDialogs;
using TestDoubles::TempDatabase;

namespace {

const QString kZero = QStringLiteral("0/0,").repeated(19).chopped(1);

std::shared_ptr<StRecord> signIn(TempDatabase& db, const QString& name, int halfStars = 0,
                                 const QString& pw = {}) {
    const int id = db.addStudent(name, "Default", pw, halfStars);
    auto record = std::make_shared<StRecord>(
        name, "Default", id, pw.isEmpty() ? QString() : myGlobals::scrambleStr(pw), halfStars);
    myGlobals::gCurPlayer = record;
    record->getStudentData();
    return record;
}

void setRow(int id, const QString& column, const QString& value) {
    QSqlQuery q(DBCtrl::NBData());
    q.prepare(QStringLiteral("UPDATE theData SET %1 = ? WHERE StID = ?").arg(column));
    q.addBindValue(value);
    q.addBindValue(QString::number(id));
    QVERIFY(q.exec());
}

QString storedStars(int id) {
    QSqlQuery q(DBCtrl::NBData());
    q.prepare("SELECT StStars FROM Names WHERE StID = ?");
    q.addBindValue(id);
    return q.exec() && q.next() ? q.value(0).toString() : QString();
}

// Another program holding a lock on the database file, through a connection of its own.
class OtherComputer {
public:
    explicit OtherComputer(const QString& file) {
        db_ = QSqlDatabase::addDatabase("QSQLITE", "other computer");
        db_.setDatabaseName(file);
        db_.open();
    }
    ~OtherComputer() {
        if (locked_)
            QSqlQuery(db_).exec("ROLLBACK");
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase("other computer");
    }
    bool lock(const QString& kind) {
        locked_ = QSqlQuery(db_).exec("BEGIN " + kind);
        // An exclusive lock is taken only by a write.
        return locked_ &&
               (kind != "EXCLUSIVE" || QSqlQuery(db_).exec("UPDATE Classes SET ClassNm = ClassNm"));
    }

private:
    QSqlDatabase db_;
    bool locked_ = false;
};

// The program waits 5 s for another computer's lock; tests need not wait that long to see it run out.
void shortenTheWait() {
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec("PRAGMA busy_timeout = 150"));
}

QString entry(const QString& counts, int index) {
    return counts.split(',').value(index);
}

// Marks `learned` facts (second numbers 1 to learned) of one operation as learned with the default
// criteria: 34 right of 40 is exactly 85 percent.
void learn(StRecord& r, int op, int learned) {
    for (int i = 0; i < 19; ++i) {
        r.corFor(op)[i] = i < learned ? 34 : 0;
        r.triedFor(op)[i] = i < learned ? 40 : 0;
    }
}

} // namespace

class TestStRecord : public QObject {
    Q_OBJECT
private slots:
    void init() { myPrefs::initPrefs(); }
    void cleanup() { myGlobals::gCurPlayer.reset(); }

    void newStudentGetsDefaultRow();
    void loadKeepsStoredFieldsAndAddsTheReservedOne();
    void damagedListsAreCompleted();
    void countsTextsAreRead_data();
    void countsTextsAreRead();
    void aCountsTextOfTheWrongLengthIsReported();
    void rejoinStoresTheRound();
    void saveWithoutARow();
    void constructorClampsAndUnscrambles();
    void firstName_data();
    void firstName();
    void percentages_data();
    void percentages();
    void starTotals_data();
    void starTotals();
    void starsCountAgainstAnAllowedCriterion_data();
    void starsCountAgainstAnAllowedCriterion();
    void risesAreCongratulatedAndFallsReported();
    void hallOfFameIsEnteredOnce();
    void aStudentLeftAtFourStarsIsEnteredAtTheNextSave();
    void aFailedEntryIsNotTakenForMembership();
    void resetBringsTotalDown();

    void aLockHeldPastTheWaitLeavesTheRecordUnloaded_data();
    void aLockHeldPastTheWaitLeavesTheRecordUnloaded();
    void twoComputersSavingOneStudentKeepEveryRound();
    void settingsAndBestsChangedElsewhereAreKept();
    void aResetElsewhereIsNotUndone();
    void zeroCountsAlsoClearsAnswersSavedMeanwhile();
    void aStarChangeWritesTheStarsAlone();
    void twoComputersSigningInANewStudentMakeOneRow();
};

void TestStRecord::newStudentGetsDefaultRow() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    dialogs.clear();
    auto r = signIn(db, "Ann Lee");
    QVERIFY(dialogs.shown.isEmpty());
    QCOMPARE(r->myParams.join(","), QStringLiteral("0,0,10,1^1^1^1,0,15,10,0,0,0"));
    QCOMPARE(r->myZeriScrs.join(","), QStringLiteral("99.99,99.99,0,99.99,0,99.99"));
    QCOMPARE(r->curLastDate, DBCtrl::todayText());
    for (int op = 0; op < 4; ++op) {
        QCOMPARE(r->dataFor(op), kZero);
        QCOMPARE(r->corFor(op), StRecord::Counts{});
    }
    QCOMPARE(kZero.size(), 75);
    QCOMPARE(db.dataColumn(r->curStID, "stParam"), QStringLiteral("0,0,10,1^1^1^1,0,15,10,0,0,0"));
    QCOMPARE(db.dataColumn(r->curStID, "zeriGames"), QStringLiteral("99.99,99.99,0,99.99,0,99.99"));
    for (const char* col : {"stAdd", "stSub", "stMul", "stDiv"})
        QCOMPARE(db.dataColumn(r->curStID, col), kZero);
    QCOMPARE(db.count("theData"), 1);
}

void TestStRecord::loadKeepsStoredFieldsAndAddsTheReservedOne() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    auto first = signIn(db, "Ann");
    StRecord again("Ann", "Default", first->curStID, QString(), 0);
    again.getStudentData();
    QCOMPARE(again.myParams.size(), 11);
    QCOMPARE(again.myParams[10], QStringLiteral("0"));
    again.updateData();
    QCOMPARE(db.dataColumn(first->curStID, "stParam"), QStringLiteral("0,0,10,1^1^1^1,0,15,10,0,0,0,0"));

    setRow(first->curStID, "stParam", "1,2,12,1^0^1^0,1,5,20,1,1,1,0,extra");
    StRecord third("Ann", "Default", first->curStID, QString(), 0);
    third.getStudentData();
    QCOMPARE(third.myParams.size(), 12);
    third.updateData();
    QCOMPARE(db.dataColumn(first->curStID, "stParam"), QStringLiteral("1,2,12,1^0^1^0,1,5,20,1,1,1,0,extra"));
}

void TestStRecord::damagedListsAreCompleted() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    auto r = signIn(db, "Ann");
    setRow(r->curStID, "stParam", "5,,12");
    setRow(r->curStID, "zeriGames", "12.5,junk");
    StRecord loaded("Ann", "Default", r->curStID, QString(), 0);
    loaded.getStudentData();
    QCOMPARE(loaded.myParams.join(","), QStringLiteral("5,0,12,1^1^1^1,0,15,10,0,0,0,0"));
    QCOMPARE(loaded.myZeriScrs.join(","), QStringLiteral("12.5,99.99,0,99.99,0,99.99"));
}

void TestStRecord::countsTextsAreRead_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("tried");
    QTest::newRow("ordinary") << "12/30" << 12 << 30;
    QTest::newRow("no slash") << "7" << 7 << 0;
    QTest::newRow("letters") << "ab/cd" << 0 << 0;
    QTest::newRow("third part ignored") << "3/4/5" << 3 << 4;
    QTest::newRow("negative is damage") << "-3/-9" << 0 << 0;
    QTest::newRow("huge saturates") << "99999999999/99999999999" << 2147483647 << 2147483647;
}

void TestStRecord::countsTextsAreRead() {
    QFETCH(QString, entry);
    QFETCH(int, right);
    QFETCH(int, tried);
    ScriptedDialogs dialogs;
    TempDatabase db;
    auto r = signIn(db, "Ann");
    QStringList entries(19, "0/0");
    entries[4] = entry;
    setRow(r->curStID, "stMul", entries.join(","));
    StRecord loaded("Ann", "Default", r->curStID, QString(), 0);
    loaded.getStudentData();
    QCOMPARE(loaded.mulCor[4], right);
    QCOMPARE(loaded.mulTried[4], tried);
    loaded.parsePcts(); // never divides by zero or overflows
    QVERIFY(loaded.curPct[2][4] >= 0);
}

void TestStRecord::aCountsTextOfTheWrongLengthIsReported() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    auto r = signIn(db, "Ann");
    QStringList addition(19, "2/3");
    setRow(r->curStID, "stAdd", addition.join(","));
    setRow(r->curStID, "stSub", QStringList(18, "1/1").join(","));
    dialogs.clear();
    StRecord loaded("Ann", "Default", r->curStID, QString(), 0);
    loaded.getStudentData();
    QCOMPARE(dialogs.messages(), QStringList{"Error in the student's <subtraction> data"});
    QCOMPARE(dialogs.shown[0].kind, TestDoubles::Shown::Plain);
    QCOMPARE(loaded.addCor[18], 2);
    QCOMPARE(loaded.subTried, StRecord::Counts{});
}

void TestStRecord::rejoinStoresTheRound() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    auto r = signIn(db, "Ann");
    // 3 + 4 right once, 5 + 4 wrong once: both count under second number 4.
    r->addCor[3] += 1;
    r->addTried[3] += 2;
    r->myParams[2] = "12";
    r->myZeriScrs[4] = "250";
    dialogs.clear();
    r->rejoinData();
    QStringList expected(19, "0/0");
    expected[3] = "1/2";
    QCOMPARE(db.dataColumn(r->curStID, "stAdd"), expected.join(","));
    QCOMPARE(db.dataColumn(r->curStID, "stSub"), kZero);
    QCOMPARE(db.dataColumn(r->curStID, "stParam"), QStringLiteral("0,0,12,1^1^1^1,0,15,10,0,0,0"));
    QCOMPARE(db.dataColumn(r->curStID, "zeriGames"), QStringLiteral("99.99,99.99,0,99.99,250,99.99"));
    QCOMPARE(db.dataColumn(r->curStID, "lastDate"), DBCtrl::todayText());
    QVERIFY(dialogs.shown.isEmpty()); // no star change, nothing to say
}

void TestStRecord::saveWithoutARow() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    auto r = signIn(db, "Ann");
    r->curLastDate = "earlier";
    QSqlQuery(DBCtrl::NBData()).exec("DELETE FROM theData");
    dialogs.clear();
    r->updateData();
    QCOMPARE(dialogs.messages(),
             QStringList{"Database Error\n\nCould not find the selected record in the database."});
    QCOMPARE(r->curLastDate, QStringLiteral("earlier"));
    QCOMPARE(db.count("theData"), 0);
}

void TestStRecord::constructorClampsAndUnscrambles() {
    StRecord r("Ann", "Default", 42, myGlobals::scrambleStr("p@ss"), 12);
    QCOMPARE(r.curStPW, QStringLiteral("p@ss"));
    QCOMPARE(r.curStars, 8);
    QCOMPARE(StRecord("Ann", "Default", 1, QString(), -3).curStars, 0);
    QCOMPARE(StRecord("Ann", "Default", 1, QString(), 0).curStPW, QString());
    QCOMPARE(r.myParams.size(), 10);
    QCOMPARE(r.myZeriScrs.size(), 6);
}

void TestStRecord::firstName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("first");
    QTest::newRow("three words") << "Mary Ann Smith"
                                 << "Mary";
    QTest::newRow("one word") << "Jo"
                              << "Jo";
    QTest::newRow("leading blank") << " Ann"
                                   << "";
}

void TestStRecord::firstName() {
    QFETCH(QString, name);
    QFETCH(QString, first);
    QCOMPARE(StRecord(name, "Default", 1, QString(), 0).getFirstName(), first);
}

void TestStRecord::percentages_data() {
    QTest::addColumn<int>("numCrit");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("tried");
    QTest::addColumn<double>("percent");
    QTest::newRow("34 of 40") << 40 << 34 << 40 << 85.0;
    QTest::newRow("33 of 38 measured against 40") << 40 << 33 << 38 << 82.5;
    QTest::newRow("10 of 10") << 40 << 10 << 10 << 25.0;
    QTest::newRow("45 of 50") << 40 << 45 << 50 << 90.0;
    QTest::newRow("29 of 50 exactly") << 40 << 29 << 50 << 58.0;
    QTest::newRow("nothing tried") << 40 << 0 << 0 << 0.0;
    // Criteria the preferences would refuse count as the nearest they allow (10 to 100).
    QTest::newRow("zero criterion") << 0 << 0 << 0 << 0.0;
    QTest::newRow("zero criterion, answers") << 0 << 3 << 4 << 30.0;
    QTest::newRow("criterion 5, more tries") << 5 << 9 << 12 << 75.0;
    QTest::newRow("negative criterion") << -3 << 8 << 8 << 80.0;
    QTest::newRow("criterion 1000") << 1000 << 90 << 99 << 90.0;
}

void TestStRecord::percentages() {
    QFETCH(int, numCrit);
    QFETCH(int, right);
    QFETCH(int, tried);
    QFETCH(double, percent);
    myPrefs::prNumCrit = numCrit;
    StRecord r("Ann", "Default", 1, QString(), 0);
    r.divCor[6] = right;
    r.divTried[6] = tried;
    r.parsePcts();
    QCOMPARE(r.curPct[3][6], percent); // exact, not within a tolerance
}

void TestStRecord::starTotals_data() {
    QTest::addColumn<int>("hiCrit");
    QTest::addColumn<QList<int>>("learned"); // facts learned per operation, from second number 1 up
    QTest::addColumn<int>("total");
    QTest::newRow("all of 10") << 10 << QList<int>{10, 0, 0, 0} << 2;
    QTest::newRow("5 and 9 of 10") << 10 << QList<int>{5, 9, 4, 0} << 2;
    QTest::newRow("11 to 19 make no difference") << 10 << QList<int>{19, 4, 0, 0} << 2;
    QTest::newRow("mixed makes 3") << 10 << QList<int>{10, 6, 4, 0} << 3;
    QTest::newRow("15: 15, 7, 6") << 15 << QList<int>{15, 7, 6, 14} << 4;
    QTest::newRow("19: 19, 9, 8") << 19 << QList<int>{19, 9, 8, 18} << 4;
    QTest::newRow("everything") << 10 << QList<int>{10, 10, 10, 10} << 8;
    // A highest family a preferences file may hold but the preferences window never stores counts as
    // the nearest one it does.
    QTest::newRow("1 counts as 10") << 1 << QList<int>{1, 5, 9, 10} << 4;
    QTest::newRow("-3 counts as 10") << -3 << QList<int>{3, 5, 0, 10} << 3;
    QTest::newRow("25 counts as 19") << 25 << QList<int>{19, 9, 8, 18} << 4;
}

void TestStRecord::starTotals() {
    QFETCH(int, hiCrit);
    QFETCH(QList<int>, learned);
    QFETCH(int, total);
    ScriptedDialogs dialogs;
    TempDatabase db;
    myPrefs::prHiCrit = hiCrit;
    auto r = signIn(db, "Ann");
    for (int op = 0; op < 4; ++op)
        learn(*r, op, learned[op]);
    r->rejoinData();
    QCOMPARE(r->curStars, total);
    QCOMPARE(storedStars(r->curStID), QString::number(total));
}

void TestStRecord::starsCountAgainstAnAllowedCriterion_data() {
    QTest::addColumn<int>("numCrit");
    QTest::addColumn<int>("right"); // of every fact 1 to 10 of addition
    QTest::addColumn<int>("tried");
    QTest::addColumn<int>("total");
    QTest::newRow("8 of 8 against 5 is 80 percent of 10") << 5 << 8 << 8 << 0;
    QTest::newRow("9 of 9 against 0 is 90 percent of 10") << 0 << 9 << 9 << 2;
    QTest::newRow("99 of 100 against 1000 is 99 percent") << 1000 << 99 << 100 << 2;
}

void TestStRecord::starsCountAgainstAnAllowedCriterion() {
    QFETCH(int, numCrit);
    QFETCH(int, right);
    QFETCH(int, tried);
    QFETCH(int, total);
    ScriptedDialogs dialogs;
    TempDatabase db;
    myPrefs::prNumCrit = numCrit;
    auto r = signIn(db, "Ann");
    for (int i = 0; i < 10; ++i) {
        r->addCor[i] = right;
        r->addTried[i] = tried;
    }
    r->rejoinData();
    QCOMPARE(r->curStars, total);
    QCOMPARE(storedStars(r->curStID), QString::number(total));
}

void TestStRecord::risesAreCongratulatedAndFallsReported() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    {
        auto r = signIn(db, "Mary Ann Smith", 2);
        learn(*r, 0, 10);
        learn(*r, 1, 6);
        learn(*r, 2, 4);
        dialogs.clear();
        r->rejoinData();
        QCOMPARE(
            dialogs.messages(),
            QStringList{"Congratulations, Mary Ann Smith\nYou have added a half of a star to your total\n"
                        "When you have 4 stars, your name will be added to the Numbrook Riza Hall of Fame."});
        QCOMPARE(dialogs.shown[0].explanation, QStringLiteral("Click to Continue"));
        QVERIFY(!dialogs.shown[0].isCaution);
        QCOMPARE(storedStars(r->curStID), QStringLiteral("3"));
        dialogs.clear();
        r->rejoinData(); // the same total again: nothing said
        QVERIFY(dialogs.shown.isEmpty());
    }
    {
        auto r = signIn(db, "Jo", 5);
        learn(*r, 0, 10);
        learn(*r, 1, 6);
        dialogs.clear();
        r->rejoinData();
        QCOMPARE(dialogs.messages(), QStringList{"Jo's stars have been reset to 1.5"});
        QCOMPARE(dialogs.shown[0].kind, TestDoubles::Shown::Plain);
    }
    {
        // A rise of several half stars shows only the lines of the new total.
        auto r = signIn(db, "Cy", 2);
        learn(*r, 0, 10);
        learn(*r, 1, 10);
        dialogs.clear();
        r->rejoinData();
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY(dialogs.messages()[0].contains("\nYou have earned another star!\n"));
    }
    const QList<QPair<int, QString>> lines = {{1, "You have earned your first half of a star."},
                                              {2, "You have earned your first whole star."},
                                              {7, "You have added a half of a star to your total"},
                                              {6, "You have earned another star!"}};
    for (const auto& [total, line] : lines) {
        auto r = signIn(db, "Dee " + QString::number(total), 0);
        for (int op = 0; op < 4; ++op)
            learn(*r, op, total >= 2 * (op + 1) ? 10 : (total == 2 * op + 1 ? 5 : 0));
        dialogs.clear();
        r->rejoinData();
        QCOMPARE(r->curStars, total);
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(dialogs.messages()[0].contains("\n" + line + "\n"), qPrintable(dialogs.messages()[0]));
    }
}

void TestStRecord::hallOfFameIsEnteredOnce() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    auto r = signIn(db, "Sean O'Brien", 0);
    for (int op = 0; op < 4; ++op)
        learn(*r, op, 10);
    dialogs.clear();
    r->rejoinData();
    QCOMPARE(dialogs.messages(),
             QStringList{"Congratulations, Sean O'Brien\nYou have been added to the Numbrook Riza "
                         "Hall of Fame.\nChoose <Show List> from the Hall of Fame menu to see your "
                         "name."});
    learn(*r, 3, 0); // down to 6
    r->rejoinData();
    learn(*r, 3, 10); // and back to 8
    dialogs.clear();
    r->rejoinData();
    QCOMPARE(dialogs.messages(),
             QStringList{"Congratulations, Sean O'Brien\nYou have once again met the standards for "
                         "the Hall of Fame.\nSince you are already a member of the Hall of Fame, "
                         "your name has not been re-added."});
    QCOMPARE(db.count("HallData"), 1);
}

// A student whose 8 half stars were stored without the hall of fame entry (a program stopped between
// the two) gets it, and hears of it, at the next save; after that nothing more is said.
void TestStRecord::aStudentLeftAtFourStarsIsEnteredAtTheNextSave() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    auto r = signIn(db, "Ann", 8);
    for (int op = 0; op < 4; ++op)
        learn(*r, op, 10);
    dialogs.clear();
    r->rejoinData();
    QCOMPARE(storedStars(r->curStID), QStringLiteral("8"));
    QCOMPARE(db.count("HallData", "StName", "Ann"), 1);
    QCOMPARE(dialogs.messages(),
             QStringList{"Congratulations, Ann\nYou have been added to the Numbrook Riza Hall of Fame.\nChoose "
                         "<Show List> from the Hall of Fame menu to see your name."});
    dialogs.clear();
    r->addTried[15] += 1; // a fact beyond the counted ones: still 8
    r->rejoinData();
    QCOMPARE(db.count("HallData"), 1);
    QVERIFY2(dialogs.messages().isEmpty(), qPrintable(dialogs.messages().join(" | ")));
}

// The entry cannot be made: the save does not land without it, and the student is not told that she
// is a member already.
void TestStRecord::aFailedEntryIsNotTakenForMembership() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    auto r = signIn(db, "Ann", 7);
    const QString before = db.dataColumn(r->curStID, "stAdd");
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec("ALTER TABLE HallData RENAME TO Gone"));
    for (int op = 0; op < 4; ++op)
        learn(*r, op, 10);
    dialogs.clear();
    r->rejoinData();
    QCOMPARE(dialogs.messages(), QStringList{"Database Error: 1"});
    QCOMPARE(storedStars(r->curStID), QStringLiteral("7"));
    QCOMPARE(db.dataColumn(r->curStID, "stAdd"), before);
    // Once the table is back, the kept round goes in with the entry.
    QVERIFY(QSqlQuery(DBCtrl::NBData()).exec("ALTER TABLE Gone RENAME TO HallData"));
    dialogs.clear();
    r->rejoinData();
    QCOMPARE(storedStars(r->curStID), QStringLiteral("8"));
    QCOMPARE(db.count("HallData", "StName", "Ann"), 1);
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.messages()[0].contains("You have been added to the Numbrook Riza Hall of Fame."));
}

void TestStRecord::resetBringsTotalDown() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    auto r = signIn(db, "Ann", 8);
    for (int op = 0; op < 4; ++op)
        learn(*r, op, 10);
    r->rejoinData();
    QCOMPARE(db.count("HallData"), 1);
    for (int op = 0; op < 4; ++op)
        r->dataFor(op) = r->createZeroData();
    dialogs.clear();
    r->recheckStarTot();
    r->updateData();
    QCOMPARE(dialogs.messages(), QStringList{"Ann's stars have been reset to 0.0"});
    QCOMPARE(storedStars(r->curStID), QStringLiteral("0"));
    QCOMPARE(db.dataColumn(r->curStID, "stAdd"), kZero);
    QCOMPARE(db.count("HallData"), 1);
}

void TestStRecord::aLockHeldPastTheWaitLeavesTheRecordUnloaded_data() {
    QTest::addColumn<QString>("lock");
    QTest::addColumn<bool>("hasRow");
    // Reading is refused while another program writes the file.
    QTest::newRow("exclusive, stored results") << "EXCLUSIVE" << true;
    // Reading works, but the new row cannot be made.
    QTest::newRow("immediate, no row yet") << "IMMEDIATE" << false;
}

void TestStRecord::aLockHeldPastTheWaitLeavesTheRecordUnloaded() {
    QFETCH(QString, lock);
    QFETCH(bool, hasRow);
    ScriptedDialogs dialogs;
    TempDatabase db;
    const int id = db.addStudent("Ann", "Default", {}, 8);
    if (hasRow)
        db.addResults(id, 50, 50);
    const QString before = db.dataColumn(id, "stAdd");
    shortenTheWait();
    dialogs.clear();
    auto r = std::make_shared<StRecord>("Ann", "Default", id, QString(), 8);
    myGlobals::gCurPlayer = r;
    {
        OtherComputer other(db.file());
        QVERIFY(other.lock(lock));
        r->getStudentData();
    }
    QVERIFY(!r->loaded());
    QCOMPARE(dialogs.messages(),
             QStringList{"The student's results could not be loaded: another computer is using the student data."});
    QCOMPARE(dialogs.shown[0].explanation, QStringLiteral("Nothing has been changed. Please try again in a moment."));
    QCOMPARE(db.count("theData"), hasRow ? 1 : 0);

    // Once the lock is gone, saving the unread record still writes nothing.
    dialogs.clear();
    r->addCor[0] = r->addTried[0] = 1;
    r->rejoinData();
    r->updateData();
    QVERIFY(!r->recheckStarTot());
    QCOMPARE(dialogs.messages().size(), 3);
    QVERIFY(dialogs.messages()[0].startsWith("Database Error\n\n"));
    QCOMPARE(db.count("theData"), hasRow ? 1 : 0);
    QCOMPARE(db.dataColumn(id, "stAdd"), before);
    QCOMPARE(storedStars(id), QStringLiteral("8"));
}

void TestStRecord::twoComputersSavingOneStudentKeepEveryRound() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    dialogs.clear();
    auto a = signIn(db, "Ann");
    StRecord b("Ann", "Default", a->curStID, QString(), 0);
    b.getStudentData();
    QVERIFY(a->loaded() && b.loaded());
    // A plays three rounds, B one, in between A's.
    for (int round = 0; round < 3; ++round) {
        a->mulCor[6] += 1;
        a->mulTried[6] += 1;
        a->rejoinData();
        if (round == 1) {
            b.mulTried[6] += 1;
            b.divCor[2] += 2;
            b.divTried[2] += 2;
            b.rejoinData();
        }
    }
    const QString mul = db.dataColumn(a->curStID, "stMul");
    QCOMPARE(entry(mul, 6), QStringLiteral("3/4"));
    QCOMPARE(entry(db.dataColumn(a->curStID, "stDiv"), 2), QStringLiteral("2/2"));
    QCOMPARE(db.count("theData"), 1);
    // Each record holds what is stored once it has saved.
    QCOMPARE(a->mulTried[6], 4);
    QCOMPARE(a->divCor[2], 2);
    QCOMPARE(a->dataFor(2), mul);
    QCOMPARE(b.mulTried[6], 3); // saved after two of A's rounds: 2/2 and its own 0/1
    QVERIFY2(dialogs.messages().isEmpty(), qPrintable(dialogs.messages().join(" | ")));
}

void TestStRecord::settingsAndBestsChangedElsewhereAreKept() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    dialogs.clear();
    auto student = signIn(db, "Ann");
    StRecord teacher("Ann", "Default", student->curStID, QString(), 0);
    teacher.getStudentData();
    // The teacher sets the drill on one computer while the student plays a game on another.
    teacher.myParams[StRecord::SecondsParam] = "5";
    teacher.myParams[StRecord::ProblemsParam] = "20";
    teacher.updateData();
    student->myParams[StRecord::HighestParam] = "12"; // the game's number range
    student->myZeriScrs[3] = "4.25";
    student->addCor[1] = student->addTried[1] = 1;
    student->rejoinData();
    QCOMPARE(db.dataColumn(student->curStID, "stParam"), QStringLiteral("0,0,12,1^1^1^1,0,5,20,0,0,0,0"));
    QCOMPARE(db.dataColumn(student->curStID, "zeriGames"), QStringLiteral("99.99,99.99,0,4.25,0,99.99"));
    QCOMPARE(student->myParams[StRecord::ProblemsParam], QStringLiteral("20"));

    // A save that changed no setting writes none, even from a record loaded before the change.
    StRecord stale("Ann", "Default", student->curStID, QString(), 0);
    stale.getStudentData();
    teacher.myParams[StRecord::OperationParam] = "2";
    teacher.updateData();
    stale.myZeriScrs[0] = "7.5";
    stale.updateData();
    QCOMPARE(db.dataColumn(student->curStID, "stParam"), QStringLiteral("0,2,12,1^1^1^1,0,5,20,0,0,0,0"));
    QCOMPARE(db.dataColumn(student->curStID, "zeriGames"), QStringLiteral("7.5,99.99,0,4.25,0,99.99"));
    QVERIFY2(dialogs.messages().isEmpty(), qPrintable(dialogs.messages().join(" | ")));
}

void TestStRecord::aResetElsewhereIsNotUndone() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    const int id = db.addStudent("Ann", "Default", {}, 8);
    db.addResults(id, 50, 50);
    setRow(id, "zeriGames", "3.5,99.99,0,99.99,0,99.99");
    auto student = std::make_shared<StRecord>("Ann", "Default", id, QString(), 8);
    myGlobals::gCurPlayer = student;
    student->getStudentData();

    // The teacher resets addition and the numbers game the way the reset dialog may do it by hand: the zero
    // text written by hand, then the recount and the save.
    StRecord reset("Ann", "Default", id, QString(), 8);
    reset.getStudentData();
    reset.addData = reset.createZeroData();
    reset.myZeriScrs[0] = StRecord::defaultZeriScrs()[0];
    dialogs.clear();
    reset.recheckStarTot();
    reset.updateData();
    QCOMPARE(dialogs.messages(), QStringList{"Ann's stars have been reset to 3.0"});
    QCOMPARE(db.dataColumn(id, "stAdd"), kZero);
    QCOMPARE(storedStars(id), QStringLiteral("6"));

    // The student, still signed in elsewhere, finishes a round: only that round is added.
    student->addCor[4] += 1;
    student->addTried[4] += 1;
    student->mulTried[0] += 1;
    dialogs.clear();
    student->rejoinData();
    QStringList expected(19, "0/0");
    expected[4] = "1/1";
    QCOMPARE(db.dataColumn(id, "stAdd"), expected.join(","));
    QCOMPARE(entry(db.dataColumn(id, "stMul"), 0), QStringLiteral("50/51"));
    QCOMPARE(db.dataColumn(id, "zeriGames"), QStringLiteral("99.99,99.99,0,99.99,0,99.99"));
    // The stars follow the merged counts; the total stored by the reset stands, so nothing is said.
    QCOMPARE(student->curStars, 6);
    QCOMPARE(storedStars(id), QStringLiteral("6"));
    QVERIFY2(dialogs.messages().isEmpty(), qPrintable(dialogs.messages().join(" | ")));
}

void TestStRecord::zeroCountsAlsoClearsAnswersSavedMeanwhile() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    dialogs.clear();
    auto student = signIn(db, "Ann");
    StRecord reset("Ann", "Default", student->curStID, QString(), 0);
    reset.getStudentData();
    // The student saves a round and a game best after the reset dialog read the row.
    student->subCor[2] = student->subTried[2] = 4;
    student->myZeriScrs[2] = "140";
    student->rejoinData();

    reset.zeroCounts(1);
    reset.resetGameBest(2);
    reset.recheckStarTot();
    reset.updateData();
    QCOMPARE(db.dataColumn(student->curStID, "stSub"), kZero);
    QCOMPARE(db.dataColumn(student->curStID, "zeriGames"), QStringLiteral("99.99,99.99,0,99.99,0,99.99"));
    QCOMPARE(reset.subTried, StRecord::Counts{});
    // The marks last for one save: the next one merges again.
    student->subTried[2] += 1;
    student->rejoinData();
    reset.subTried[3] = 1;
    reset.rejoinData();
    QCOMPARE(entry(db.dataColumn(student->curStID, "stSub"), 3), QStringLiteral("0/1"));
    QCOMPARE(entry(db.dataColumn(student->curStID, "stSub"), 2), QStringLiteral("0/1"));
    QVERIFY2(dialogs.messages().isEmpty(), qPrintable(dialogs.messages().join(" | ")));
}

void TestStRecord::aStarChangeWritesTheStarsAlone() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    auto r = signIn(db, "Ann", 0, "old");
    // The teacher renames the student, moves her and changes her password on another computer.
    DBCtrl::insertClass("Room 5");
    DBCtrl::updateNames("Ann Lee", "Room 5", QString::number(r->curStID), "new", "0");
    learn(*r, 0, 10);
    r->rejoinData();
    QCOMPARE(r->curStars, 2);
    QSqlQuery q(DBCtrl::NBData());
    q.prepare("SELECT StName, StClass, StPW, StStars FROM Names WHERE StID = ?");
    q.addBindValue(r->curStID);
    QVERIFY(q.exec() && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Ann Lee"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("Room 5"));
    QCOMPARE(myGlobals::unscrambleStr(q.value(2).toString()), QStringLiteral("new"));
    QCOMPARE(q.value(3).toString(), QStringLiteral("2"));
}

void TestStRecord::twoComputersSigningInANewStudentMakeOneRow() {
    ScriptedDialogs dialogs;
    TempDatabase db;
    dialogs.clear();
    const int id = db.addStudent("Ann", "Default");
    StRecord first("Ann", "Default", id, QString(), 0);
    StRecord second("Ann", "Default", id, QString(), 0);
    // Both find no row; the second computer makes it (and saves a round) before the first goes on.
    bool raced = false;
    DBCtrl::setRaceHook(DBCtrl::RacePoint::BeforeResultsRowCreated, [&] {
        if (std::exchange(raced, true))
            return;
        second.getStudentData();
        second.divCor[8] = second.divTried[8] = 1;
        second.myParams[StRecord::HighestParam] = "15";
        second.rejoinData();
    });
    first.getStudentData();
    DBCtrl::setRaceHook(DBCtrl::RacePoint::BeforeResultsRowCreated, {});
    QVERIFY(raced);
    QVERIFY(first.loaded() && second.loaded());
    QCOMPARE(db.count("theData"), 1);
    QCOMPARE(first.divTried[8], 1); // the row the second computer made, with its round
    QCOMPARE(first.myParams[StRecord::HighestParam], QStringLiteral("15"));
    first.divTried[8] += 1;
    first.rejoinData();
    QCOMPARE(entry(db.dataColumn(id, "stDiv"), 8), QStringLiteral("1/2"));
    QVERIFY2(dialogs.messages().isEmpty(), qPrintable(dialogs.messages().join(" | ")));
}

QTEST_GUILESS_MAIN(TestStRecord)
#include "tst_strecord.moc"
