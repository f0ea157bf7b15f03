#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <functional>
#include <initializer_list>
#include <utility>

// The program's one database: the file "NB_Data.rbd" with its tables Classes, Names, theData and
// HallData, and the operations that change classes, students and the hall of fame. Every value is
// bound, never pasted into the SQL text, and every change runs in one transaction that is rolled
// back when any step of it fails.
namespace DBCtrl {

inline constexpr const char* kFileName = "NB_Data.rbd";

// The open connection. It always exists once check4Database has run; it may be unconnected.
QSqlDatabase NBData();
bool isConnected();
// The absolute path of the file the connection points at (empty before any).
QString databasePath();

// Opens or creates the database file in the data folder; an empty folder means none could be had. A
// file of no bytes (left by a creation that never finished) counts as not yet created.
void check4Database(const QString& dataFolder);
// What a failure to open the file tells the teacher to do: at start the program goes on without the
// data until it is started again; later (a move of the data) the same step can simply be done again.
enum class Opening { AtStart, Later };
// Points the connection at an existing file. False (after a message) when it cannot be used. A file
// that holds no tables at all counts as not yet created and is given them (see createNewDBFile).
bool connectToDB(const QString& filePath, Opening when = Opening::Later);
// Creates a new database file with the four tables and the class "Default" and connects to it. Empty
// text on success, otherwise the error text for the caller to show. The file is made complete under
// a temporary name in the same folder, put on the disk, and then put in place without replacing
// anything: when another computer made the file meanwhile, that one is used. A file that is there but
// holds no tables is given them in place; one with tables is only connected to. Only the temporary
// file is ever removed. The
// file in this computer's own data folder is for this user alone; elsewhere (the shared folder)
// every computer's user may read and write it.
QString createNewDBFile(const QString& filePath);
// Closes the connection (for moving the data).
void closeDB();

// What a look-up that decides a write found. A look-up that could not be made is never taken for
// "not there": Failed, with the reason in lastError() (nothing has been shown).
enum class Lookup { Missing, Found, Failed };

// A stored password is typed back at sign-in: one holding a control character (a tab, a line break...)
// could never be typed, so the operations that store passwords refuse it rather than store it
// unusable. Every other character can be a password's.
bool passwordUsable(const QString& password);

// Adds a class unless one of that name is stored; the look and the insert are one transaction. True
// when added; false when a class of that name is stored (nothing is said, and lastError() holds no
// error) or the add failed (said).
bool insertClass(const QString& name, int id = 0);
// Adds a student; on success the new student's id, otherwise 0.
int insertName(const QString& name, const QString& password, const QString& className, int id = 0);
// Whether the class has a student of that name, letter case ignored. Inside the caller's transaction
// when there is one.
Lookup checkForDuplName(const QString& name, const QString& className);
// Adds a student after the duplicate-name question. True when the user chose to go back and nothing
// was added. addedId receives the new student's id, or 0 when nothing was added. A class the database
// does not hold yet is made with its first student, and both are looked for, in the insert's own
// transaction; the question is asked with no lock held.
bool hndlAddName(const QString& name, const QString& password, const QString& className,
                 int* addedId = nullptr);
// Whether a class of that name (as given, or made one line as an add would store it) is stored.
Lookup checkForDuplClass(const QString& name);
// The duplicate-name question of an add: the name is already in the class. True when the user chose to
// add it all the same.
bool askAddDuplicate(const QString& name, const QString& className);
// Adds many students (name, password in clear) to one stored class at once, as an import does: one
// statement, one transaction (the class made in it when another computer deleted it meanwhile),
// results rows left by earlier students with the new ids cleared once. The new ids in order; empty
// when nothing was added (the failure has been shown).
QList<int> insertNames(const QList<std::pair<QString, QString>>& students, const QString& className);
// Rewrites a student's name, class and password, and the star total unless stars is empty: an edit
// leaves the total to the saves that count it.
void updateNames(const QString& name, const QString& className, const QString& stID, const QString& password,
                 const QString& stars);
// A hall of fame entry made inside the caller's transaction: Added, Member (the name is there
// already), or Failed (lastError() says why; nothing shown).
enum class HallEntry { Added, Member, Failed };
HallEntry enterHallOfFame(const QString& name);
// Adds the signed-in student to the hall of fame unless the name is there already; true when added.
// A failure is shown.
bool insertHOF();
bool insertHOF(const QString& name);
// Deletes the class and its students, by the class name as stored.
void deleteClass(const QString& name);
void deleteName(const QString& stID);
// The id of the last student added, or 0 when the last add failed.
int getLastID();

// One student as the class lists show it.
struct StudentRow {
    int id = 0;
    QString name;
    QString className;
    int halfStars = 0;      // clamped to 0 to 8
    QString storedPassword; // as stored (scrambled)
};

// The class names in the database's order, and one class's students (by the class name as stored) or
// all students in theirs. ok, when given, tells whether the database could be read; a list that could
// not be read is empty or cut short, and lastError() says why (nothing is shown).
QStringList classNames(bool* ok = nullptr);
QList<StudentRow> studentsOf(const QString& className, bool* ok = nullptr);
QList<StudentRow> allStudents(bool* ok = nullptr);

// Shows "Database Error: " and SQLite's primary result code, except for constraint violations;
// `afterwards` (what it means for the user) follows the database's own words.
void DisplayDatabaseError(const QSqlError& error, const QString& afterwards = {});
// Whether the error is another connection (another computer) holding the database past the wait.
bool isBusy(const QSqlError& error);
// Tells that a change did not go through. notDone says what was not done ("The class was not
// added"); when another computer held the database past the wait it is told as such, with whatNow
// (by default: nothing has changed, try again in a moment); any other error as DisplayDatabaseError.
void tellNotDone(const QString& notDone, const QSqlError& error, const QString& whatNow = {});
// SQLite's primary result code of an error (extended codes reduced to it); 0 when there is none.
int primaryCode(const QSqlError& error);

// The outcome of one statement: the executed query, kept prepared for the connection's life so that
// repeated calls do not parse the SQL again. Its rows are read through it; when it goes out of scope
// the statement is finished, so no read lock outlives the caller (other computers may be waiting to
// write the same file).
class Result {
public:
    explicit Result(QSqlQuery* query = nullptr) : query_(query) {}
    ~Result();
    Result(Result&& other) noexcept : query_(other.query_) { other.query_ = nullptr; }
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
    Result& operator=(Result&& other) noexcept {
        if (this != &other) {
            finish();
            query_ = other.query_;
            other.query_ = nullptr;
        }
        return *this;
    }

    explicit operator bool() const { return query_ != nullptr; }
    // Ends the statement early, before the next statement of the same operation runs.
    void finish();
    bool next() { return query_ && query_->next(); }
    QVariant value(const QString& column) const { return query_->value(column); }
    QVariant value(int column) const { return query_->value(column); }
    QSqlQuery* operator->() const { return query_; }

private:
    QSqlQuery* query_;
};

// Runs one statement with bound values on the connection; an empty Result on failure, with the
// reason in lastError(). Nothing is shown to the user.
Result exec(const QString& sql, std::initializer_list<QVariant> values = {});
QSqlError lastError();

// A transaction that rolls back unless committed.
class Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool ok() const { return ok_; }
    QSqlError error() const { return error_; }
    bool commit();
    // Ends the transaction at once, before a message is shown.
    void rollback();

private:
    bool ok_ = false;
    bool done_ = false;
    QSqlError error_;
};

// Today's date in the system's short form, as stored in lastDate and dateEnt.
QString todayText();

// Places where another computer's work can fall between two steps of this one. Tests put work there
// to force the races of a school network; the program leaves them empty.
enum class RacePoint {
    BeforeDatabaseCreated,   // the file was found missing; nothing is made yet
    BeforeDatabasePlaced,    // a new file is complete under its temporary name, not yet in place
    BeforeResultsRowCreated, // the student's results row was found missing; nothing is made yet
};
void setRaceHook(RacePoint point, std::function<void()> hook);
void reachRacePoint(RacePoint point);

} // namespace DBCtrl
