#include "dbctrl.h"

#include "durable.h"
#include "globals.h"
#include "locations.h"
#include "seams.h"
#include "strecord.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDriver>
#include <QTemporaryFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <map>

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace DBCtrl {
namespace {

const QString kConnection = QStringLiteral("NBData");

// The schema; run in this order when a file is created. Other programs make files from the same
// statements, and those files are opened as they are.
const char* const kSchema[] = {
    "CREATE TABLE Classes ( ClassID INTEGER PRIMARY KEY, ClassNm VarChar )",
    "CREATE TABLE Names ( StID INTEGER PRIMARY KEY, StName VarChar, StClass VarChar, StStars VarChar, "
    "StPW VarChar)",
    "CREATE TABLE theData ( DataID INTEGER PRIMARY KEY, StID VarChar, lastDate VarChar, stAdd VarChar, "
    "stSub VarChar, stMul VarChar, stDiv VarChar, stParam VarChar, zeriGames VarChar )",
    "CREATE TABLE HallData ( HallID INTEGER PRIMARY KEY, StName VarChar, dateEnt VarChar )",
};

// Prepared statements of the current connection, by SQL text. Cleared whenever the connection
// closes or is re-pointed, since a prepared statement belongs to one open file.
std::map<QString, QSqlQuery>& statementCache() {
    static std::map<QString, QSqlQuery> cache;
    return cache;
}

QSqlError& lastErrorRef() {
    static QSqlError error;
    return error;
}

int& lastAddedId() {
    static int id = 0;
    return id;
}

QSqlDatabase connection() {
    if (!QSqlDatabase::contains(kConnection)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
        // Several computers may share one file over the network: wait for a busy lock a while
        // instead of failing at once.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        return db;
    }
    return QSqlDatabase::database(kConnection, false);
}

// The class lists read and write thousands of students at once. Those few statements run straight on
// SQLite, through the connection's own handle (Qt's driver is built on the same library): the driver
// wraps every value in a QVariant and looks up every bound position by name, which costs several times
// the work SQLite itself does. Errors land in lastErrorRef() as the driver would put them.
class BulkStatement {
public:
    explicit BulkStatement(const char* sql) {
        const QVariant handle = connection().driver()->handle();
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
            db_ = *static_cast<sqlite3* const*>(handle.constData());
        if (!db_) {
            lastErrorRef() =
                QSqlError(QStringLiteral("The database is not open."), {}, QSqlError::ConnectionError);
            return;
        }
        const int rc = sqlite3_prepare_v2(db_, sql, -1, &stmt_, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
            setError(QStringLiteral("Unable to execute statement"), rc);
        }
    }
    ~BulkStatement() { sqlite3_finalize(stmt_); }
    BulkStatement(const BulkStatement&) = delete;
    BulkStatement& operator=(const BulkStatement&) = delete;

    explicit operator bool() const { return stmt_ != nullptr; }

    // Binds position (from 1) to text; a null string is stored as NULL, as the driver stores it. The
    // text is kept until the position is bound again, so SQLite need not copy it.
    void bind(int position, const QString& text) {
        if (!stmt_ || position < 1)
            return;
        if (text.isNull()) {
            sqlite3_bind_null(stmt_, position);
            return;
        }
        if (bound_.size() < position)
            bound_.resize(position);
        QByteArray& utf8 = bound_[position - 1];
        utf8 = text.toUtf8();
        sqlite3_bind_text(stmt_, position, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_STATIC);
    }

    // Steps to the next row: true while there is one. False at the end, and on an error, which is then
    // in lastErrorRef().
    bool next() {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW)
            return true;
        done_ = rc == SQLITE_DONE;
        if (!done_)
            setError(QStringLiteral("Unable to fetch row"), rc);
        return false;
    }
    // Whether next() went through every row (false once a step failed).
    bool done() const { return done_; }
    // Runs a statement that returns no rows and makes it ready to run again with new values.
    bool run() {
        const int rc = sqlite3_step(stmt_);
        const bool ran = rc == SQLITE_DONE || rc == SQLITE_ROW;
        if (!ran)
            setError(QStringLiteral("Unable to execute statement"), rc);
        sqlite3_reset(stmt_);
        return ran;
    }

    qint64 integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    QString text(int column) const {
        const auto* chars = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        if (!chars)
            return {};
        return QString::fromUtf8(chars, sqlite3_column_bytes(stmt_, column));
    }
    qint64 lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

private:
    void setError(const QString& what, int code) {
        lastErrorRef() = QSqlError(what, QString::fromUtf8(sqlite3_errmsg(db_)), QSqlError::StatementError,
                                   QString::number(code));
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    QList<QByteArray> bound_;
    bool done_ = false;
};

void closeConnection() {
    statementCache().clear();
    QSqlDatabase db = connection();
    if (db.isOpen())
        db.close();
}

bool openAt(const QString& filePath) {
    closeConnection();
    QSqlDatabase db = connection();
    db.setDatabaseName(filePath);
    if (!db.open()) {
        lastErrorRef() = db.lastError();
        return false;
    }
    return true;
}

// Shows a failed change and reports false, for the common "error: show it, otherwise commit" step.
bool failed(const QString& notDone, const QSqlError& error) {
    tellNotDone(notDone, error);
    return false;
}

// The same inside a transaction: the write lock is let go before the message waits for the user, so
// that other computers are not kept waiting on it.
bool failed(Transaction& tx, const QString& notDone, QSqlError error) {
    tx.rollback();
    return failed(notDone, error);
}

std::array<std::function<void()>, 3>& raceHooks() {
    static std::array<std::function<void()>, 3> hooks;
    return hooks;
}

// The columns the program reads and writes, and which of them is the table's key. A file whose tables
// lack one of them is not ours, whatever its table names.
struct TableShape {
    const char* table;
    const char* key;
    std::initializer_list<const char*> columns;
};
const TableShape kShapes[] = {
    {"Classes", "ClassID", {"ClassNm"}},
    {"Names", "StID", {"StName", "StClass", "StStars", "StPW"}},
    {"theData", "DataID", {"StID", "lastDate", "stAdd", "stSub", "stMul", "stDiv", "stParam", "zeriGames"}},
    {"HallData", "HallID", {"StName", "dateEnt"}},
};

// False when the read itself failed (lastErrorRef() says why); shapeOk tells whether every table
// has the program's columns.
bool readShape(bool& shapeOk) {
    shapeOk = true;
    for (const TableShape& shape : kShapes) {
        Result info = exec(QStringLiteral("SELECT name, pk FROM pragma_table_info(?)"),
                           {QString::fromLatin1(shape.table)});
        if (!info)
            return false;
        QStringList columns;
        QString key;
        while (info.next()) {
            columns << info.value(0).toString().toLower();
            if (info.value(1).toInt() == 1)
                key = info.value(0).toString();
        }
        if (key.compare(QLatin1String(shape.key), Qt::CaseInsensitive) != 0)
            shapeOk = false;
        for (const char* column : shape.columns) {
            if (!columns.contains(QString::fromLatin1(column).toLower()))
                shapeOk = false;
        }
    }
    return true;
}

// Whether a file begins as every SQLite database does; anything else is never written into.
bool isSqliteFile(const QString& path) {
    QFile file(path);
    static const QByteArray header("SQLite format 3\0", 16);
    return file.open(QIODevice::ReadOnly) && file.read(header.size()) == header;
}

enum class Schema { Made, ThereAlready, Failed };

// Makes the four tables and the class "Default" in the open connection, unless the file has tables
// already (another computer made them first; the write lock makes the look certain).
Schema makeSchema() {
    Transaction tx;
    if (!tx.ok())
        return Schema::Failed;
    Result tables = exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'"));
    if (!tables || !tables.next())
        return Schema::Failed;
    const bool empty = tables.value(0).toInt() == 0;
    tables.finish();
    if (!empty)
        return Schema::ThereAlready;
    for (const char* statement : kSchema) {
        if (!exec(QString::fromLatin1(statement)))
            return Schema::Failed;
    }
    if (!exec(QStringLiteral("INSERT INTO Classes (ClassNm) VALUES (?)"), {QStringLiteral("Default")}))
        return Schema::Failed;
    return tx.commit() ? Schema::Made : Schema::Failed;
}

} // namespace

Result::~Result() {
    finish();
}

void Result::finish() {
    if (query_)
        query_->finish();
    query_ = nullptr;
}

QSqlDatabase NBData() {
    return connection();
}

bool isConnected() {
    return QSqlDatabase::contains(kConnection) && connection().isOpen();
}

QString databasePath() {
    if (!QSqlDatabase::contains(kConnection))
        return {};
    return connection().databaseName();
}

QSqlError lastError() {
    return lastErrorRef();
}

Result exec(const QString& sql, std::initializer_list<QVariant> values) {
    if (!isConnected()) {
        lastErrorRef() =
            QSqlError(QStringLiteral("The database is not open."), {}, QSqlError::ConnectionError);
        return Result();
    }
    auto& cache = statementCache();
    auto it = cache.find(sql);
    if (it == cache.end()) {
        QSqlQuery query(connection());
        query.setForwardOnly(true);
        if (!query.prepare(sql)) {
            lastErrorRef() = query.lastError();
            return Result();
        }
        it = cache.emplace(sql, std::move(query)).first;
    }
    QSqlQuery& query = it->second;
    int index = 0;
    for (const QVariant& v : values)
        query.bindValue(index++, v);
    if (!query.exec()) {
        lastErrorRef() = query.lastError();
        query.finish();
        return Result();
    }
    return Result(&query);
}

Transaction::Transaction() {
    if (!isConnected()) {
        error_ = QSqlError(QStringLiteral("The database is not open."), {}, QSqlError::ConnectionError);
        return;
    }
    // Every transaction here writes. Taking the write lock at the start lets a second program on the
    // same file wait for it (the busy timeout); a transaction that reads first and then asks for the
    // write lock while the other waits would be refused at once, since neither could go on.
    ok_ = static_cast<bool>(exec(QStringLiteral("BEGIN IMMEDIATE")));
    if (!ok_)
        error_ = lastErrorRef();
}

Transaction::~Transaction() {
    rollback();
}

void Transaction::rollback() {
    if (!ok_ || done_)
        return;
    done_ = true;
    exec(QStringLiteral("ROLLBACK"));
}

bool Transaction::commit() {
    if (!ok_ || done_)
        return false;
    done_ = true;
    if (exec(QStringLiteral("COMMIT")))
        return true;
    error_ = lastErrorRef();
    exec(QStringLiteral("ROLLBACK"));
    return false;
}

void setRaceHook(RacePoint point, std::function<void()> hook) {
    raceHooks()[static_cast<std::size_t>(point)] = std::move(hook);
}

void reachRacePoint(RacePoint point) {
    if (const auto& hook = raceHooks()[static_cast<std::size_t>(point)])
        hook();
}

QString todayText() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

int primaryCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xFF) : 0;
}

void DisplayDatabaseError(const QSqlError& error, const QString& afterwards) {
    const int code = primaryCode(error);
    if (code == 19) // a constraint refused the change; the caller has already not committed
        return;
    QString explanation = error.driverText();
    if (!error.databaseText().isEmpty())
        explanation = error.databaseText();
    if (!afterwards.isEmpty())
        explanation += QLatin1Char('\n') + afterwards;
    myGlobals::gShowMsg(true, QStringLiteral("Database Error: ") + QString::number(code), explanation);
}

bool isBusy(const QSqlError& error) {
    const int code = primaryCode(error);
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

void tellNotDone(const QString& notDone, const QSqlError& error, const QString& whatNow) {
    if (!isBusy(error)) {
        DisplayDatabaseError(error);
        return;
    }
    myGlobals::gShowMsg(true, notDone + QStringLiteral(": another computer is using the student data."),
                        whatNow.isEmpty()
                            ? QStringLiteral("Nothing has been changed. Please try again in a moment.")
                            : whatNow);
}

void check4Database(const QString& dataFolder) {
    connection(); // the connection exists from here on, even when no file can be opened
    QString errorText;
    if (dataFolder.isEmpty() || !QFileInfo(dataFolder).isDir()) {
        errorText = QStringLiteral("There was an error accessing the Database.");
    } else {
        const QString file = QDir(dataFolder).absoluteFilePath(QString::fromLatin1(kFileName));
        const QFileInfo info(file);
        // A file of no bytes holds nothing: a creation that never finished left it.
        if (info.exists() && !(info.isFile() && info.size() == 0))
            connectToDB(file, Opening::AtStart);
        else
            errorText = createNewDBFile(file);
    }
    if (!errorText.isEmpty())
        myGlobals::gShowMsg(true, errorText, QStringLiteral("Please contact Orlavo Software for assistance"));
}

bool connectToDB(const QString& filePath, Opening when) {
    const QFileInfo info(filePath);
    if (info.isDir() || !info.isReadable()) {
        myGlobals::gShowMsg(
            true,
            QStringLiteral("The student data file at <") + info.absoluteFilePath() +
                QStringLiteral("> cannot be read."),
            QStringLiteral("Please check that the file may be read and written by everyone."));
        closeConnection();
        return false;
    }
    if (!openAt(info.absoluteFilePath())) {
        DisplayDatabaseError(lastErrorRef());
        return false;
    }
    // Opening succeeds for any file; the first read tells whether it is really our database. It also
    // rolls back what a program killed in the middle of a write left in the file's journal.
    Result tables = exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    QStringList names;
    while (tables.next())
        names << tables.value(0).toString();
    const bool readable = static_cast<bool>(tables);
    tables.finish();
    if (readable && names.isEmpty()) {
        // No tables at all: a creation that was stopped before it was done (what it had begun is now
        // rolled back), or an empty file. Such a file is not yet created, never damaged.
        closeConnection();
        const QString failure = createNewDBFile(info.absoluteFilePath());
        if (!failure.isEmpty())
            myGlobals::gShowMsg(true, failure,
                                QStringLiteral("Please contact Orlavo Software for assistance"));
        return isConnected();
    }
    bool ours = readable && names.contains(QStringLiteral("Classes"), Qt::CaseInsensitive) &&
                names.contains(QStringLiteral("Names"), Qt::CaseInsensitive) &&
                names.contains(QStringLiteral("theData"), Qt::CaseInsensitive) &&
                names.contains(QStringLiteral("HallData"), Qt::CaseInsensitive);
    bool shapeRead = true;
    if (ours) {
        bool shapeOk = false;
        shapeRead = readShape(shapeOk);
        ours = shapeRead && shapeOk;
    }
    if (!ours) {
        const bool busy = (!readable || !shapeRead) && primaryCode(lastErrorRef()) == 5;
        closeConnection();
        // At start nothing opens the file again: the program goes on without the students' data until
        // it is started again. Later (a move of the data) the teacher can simply do the step again.
        const QString busyAdvice =
            when == Opening::AtStart
                ? QStringLiteral("Nothing has been changed. Please quit Numbrook Riza and start it again in "
                                 "a moment: until then no student can sign in.")
                : QStringLiteral("Please try again in a moment. Nothing has been changed.");
        myGlobals::gShowMsg(
            true,
            busy ? QStringLiteral("The student data file at <") + info.absoluteFilePath() +
                       QStringLiteral("> is in use and could not be opened.")
                 : QStringLiteral("The file at <") + info.absoluteFilePath() +
                       QStringLiteral("> is not a Numbrook Riza student data file, or it is damaged."),
            busy ? busyAdvice
                 : QStringLiteral(
                       "The file has been left as it is. Please contact Orlavo Software for assistance"));
        return false;
    }
    // The write-ahead log does not work on network file systems; a file left in that mode by another
    // program is put back into the ordinary journal mode.
    if (Result mode = exec(QStringLiteral("PRAGMA journal_mode"));
        mode.next() && mode.value(0).toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) == 0) {
        mode.finish();
        exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
    }
    if (!info.isWritable() || !QFileInfo(info.absolutePath()).isWritable()) {
        myGlobals::gShowMsg(true,
                            QStringLiteral("The student data file at <") + info.absoluteFilePath() +
                                QStringLiteral("> is read-only."),
                            QStringLiteral("Students can sign in, but their results cannot be saved until "
                                           "the file and its folder may be written."));
    }
    return true;
}

QString createNewDBFile(const QString& filePath) {
    const QString path = QFileInfo(filePath).absoluteFilePath();
    const QString folder = QFileInfo(path).absolutePath();
    const QString failure = QStringLiteral("Database Error") + QLatin1Char('\n') +
                            QStringLiteral("There was an error when creating the database at <") + path +
                            QLatin1Char('>');
    auto created = [&] {
        myGlobals::gShowMsg(
            false, QStringLiteral("A new Database file was created at <") + path + QStringLiteral(">."),
            QStringLiteral("Enter player names as needed."));
        return QString();
    };
    if (!QFileInfo(folder).isDir())
        return failure; // folders are never made here
    const QFileInfo existing(path);
    if (existing.exists()) {
        // Never overwritten; only a file without tables (of no bytes, or left so by a creation that
        // was stopped) is given its tables, under the database's own lock so that two computers cannot
        // both do it.
        if (!existing.isFile() || (existing.size() != 0 && !isSqliteFile(path)))
            return failure;
        closeConnection();
        const Schema schema = openAt(path) ? makeSchema() : Schema::Failed;
        closeConnection();
        if (schema == Schema::Failed)
            return failure;
        if (schema == Schema::Made) {
            myPrefs::setDatabaseModes(path);
            Durable::syncFile(path);
        }
        // Tables that were there already are the database's own, and nothing was created.
        return connectToDB(path) && schema == Schema::Made ? created() : QString();
    }
    reachRacePoint(RacePoint::BeforeDatabaseCreated);
    closeConnection();

    // Complete under a name of its own in the same folder first, so that the database's name never
    // stands for a half-made file, whatever stops this program on the way.
    QTemporaryFile temp(Durable::temporaryPattern(folder, QString::fromLatin1(kFileName)));
    if (!temp.open())
        return failure;
    temp.close();
    if (!openAt(temp.fileName()) || makeSchema() != Schema::Made) {
        closeConnection();
        return failure; // the temporary file goes with `temp`
    }
    closeConnection();
    myPrefs::setDatabaseModes(temp.fileName());
    // On the disk before it has its name: after a power cut the name never stands for pages that
    // were still in the system's cache.
    if (!Durable::syncFile(temp.fileName()))
        return failure;
    reachRacePoint(RacePoint::BeforeDatabasePlaced);
    switch (Durable::placeWithoutReplacing(temp.fileName(), path)) {
    case Durable::Placed::Here:
        Durable::syncFolder(folder);
        break;
    case Durable::Placed::ThereAlready:
        // Another computer made it meanwhile: that one is the database, and ours is dropped.
        connectToDB(path);
        return {};
    case Durable::Placed::Failed:
        return failure;
    }
    if (!openAt(path)) {
        DisplayDatabaseError(lastErrorRef());
        return {};
    }
    return created();
}

void closeDB() {
    closeConnection();
}

bool passwordUsable(const QString& password) {
    for (qsizetype i = 0; i < password.size(); ++i) {
        const QChar c = password[i];
        // Half of a surrogate pair alone is no character at all: it could be neither stored nor typed.
        if (c.isHighSurrogate() && i + 1 < password.size() && password[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate() || c.category() == QChar::Other_Control)
            return false;
    }
    return myGlobals::hasStoredForm(password);
}

namespace {

// A password as the Names table holds it: scrambled, and no password as NULL.
QString storedPassword(const QString& password) {
    return password.isEmpty() ? QString() : myGlobals::scrambleStr(password);
}

void refusePassword() {
    myGlobals::gShowMsg(true, QStringLiteral("That password cannot be used."),
                        QStringLiteral("A password cannot hold a tab, a line break or another control "
                                       "character. Please type it again without them."));
}

const QString kClassNotAdded = QStringLiteral("The class was not added");
const QString kStudentNotAdded = QStringLiteral("The student was not added");

// The stored class a class name given for a write stands for: the class stored under exactly that
// text (a class picked in a list, whatever it holds), else the one stored under the one-line form that
// an add stores (a typed name). When neither is stored, `stored` is that one-line form, under which
// the class is to be made.
struct ClassFound {
    Lookup lookup = Lookup::Failed;
    QString stored;
};

ClassFound findClass(const QString& given) {
    const QString line = myGlobals::oneLine(given);
    Result r = exec(QStringLiteral("SELECT ClassNm FROM Classes WHERE ClassNm = ? OR ClassNm = ? "
                                   "ORDER BY ClassNm = ? DESC, ClassID LIMIT 1"),
                    {given, line, given});
    if (!r)
        return {};
    if (!r.next())
        return {r->lastError().isValid() ? Lookup::Failed : Lookup::Missing, line};
    return {Lookup::Found, r.value(0).toString()};
}

// Inside the caller's transaction: stores a class under the name found for it.
bool storeClass(const ClassFound& found) {
    return static_cast<bool>(exec(QStringLiteral("INSERT INTO Classes (ClassNm) VALUES (?)"), {found.stored}));
}

// Inside the caller's transaction: the class as stored, made first when it is not there. Empty when
// the database failed (lastErrorRef() says why).
QString classForAdd(const QString& given) {
    const ClassFound found = findClass(given);
    if (found.lookup == Lookup::Failed)
        return {};
    if (found.lookup == Lookup::Missing && !storeClass(found))
        return {};
    return found.stored;
}

// Inside the caller's transaction: the student's Names row, with any results row an earlier student
// of the reused id left behind removed. The new id, or 0 when the database failed.
int addStudentRow(const QString& name, const QString& password, const QString& className) {
    Result added =
        exec(QStringLiteral("INSERT INTO Names (StName, StPW, StClass, StStars) VALUES (?, ?, ?, ?)"),
             {myGlobals::oneLine(name), storedPassword(password), className, QStringLiteral("0")});
    if (!added)
        return 0;
    const int newId = added->lastInsertId().toInt();
    added.finish();
    // Ids are reused after the highest one is deleted; a results row left by an earlier student with
    // this id must not become the new student's.
    if (!exec(QStringLiteral("DELETE FROM theData WHERE StID = ?"), {QString::number(newId)}))
        return 0;
    return newId;
}

} // namespace

bool insertClass(const QString& name, int /*id*/) {
    if (!isConnected()) {
        lastErrorRef() =
            QSqlError(QStringLiteral("The database is not open."), {}, QSqlError::ConnectionError);
        myGlobals::gShowMsg(true, QStringLiteral("Error in writing to the new Database."), QString());
        return false;
    }
    Transaction tx;
    if (!tx.ok())
        return failed(kClassNotAdded, tx.error());
    // Looked for under the write lock: another computer cannot add it between the look and the insert.
    const ClassFound found = findClass(name);
    if (found.lookup == Lookup::Failed)
        return failed(tx, kClassNotAdded, lastErrorRef());
    if (found.lookup == Lookup::Found) {
        lastErrorRef() = QSqlError(); // refused, not failed
        return false;
    }
    if (!storeClass(found))
        return failed(tx, kClassNotAdded, lastErrorRef());
    return tx.commit() || failed(kClassNotAdded, tx.error());
}

namespace {

// Adds one student, with the class when it is not stored yet. The class and (when asked for) the
// duplicate are looked for under the write lock of the insert itself, so that what they found still
// holds when the student goes in. The question waits with no lock held; the look is then made again.
// The new id; 0 when nothing was added (wentBack tells whether the user chose to go back).
int addOneStudent(const QString& name, const QString& password, const QString& givenClass, bool askAboutDuplicate,
                  bool& wentBack) {
    wentBack = false;
    lastAddedId() = 0;
    bool duplicateAllowed = !askAboutDuplicate;
    for (;;) {
        Transaction tx;
        if (!tx.ok())
            return failed(kStudentNotAdded, tx.error());
        const ClassFound cls = findClass(givenClass);
        if (cls.lookup == Lookup::Failed)
            return failed(tx, kStudentNotAdded, lastErrorRef());
        // A class not stored yet has no students to meet: it is made with its first one.
        if (cls.lookup == Lookup::Found && !duplicateAllowed) {
            const Lookup duplicate = checkForDuplName(name, cls.stored);
            if (duplicate == Lookup::Failed)
                return failed(tx, kStudentNotAdded, lastErrorRef());
            if (duplicate == Lookup::Found) {
                tx.rollback();
                if (!askAddDuplicate(myGlobals::oneLine(name), cls.stored)) {
                    wentBack = true;
                    return 0;
                }
                duplicateAllowed = true;
                continue;
            }
        }
        if (cls.lookup == Lookup::Missing && !storeClass(cls))
            return failed(tx, kStudentNotAdded, lastErrorRef());
        const int id = addStudentRow(name, password, cls.stored);
        if (id == 0)
            return failed(tx, kStudentNotAdded, lastErrorRef());
        if (!tx.commit())
            return failed(kStudentNotAdded, tx.error());
        lastAddedId() = id;
        return id;
    }
}

// Whether a student may be added at all: a database to add to, and a password that can be typed.
bool mayAddStudent(const QString& password) {
    lastAddedId() = 0;
    if (!isConnected()) {
        Seams::feedback().beep();
        return false;
    }
    if (!passwordUsable(password)) {
        refusePassword();
        return false;
    }
    return true;
}

} // namespace

int insertName(const QString& name, const QString& password, const QString& className, int /*id*/) {
    bool wentBack = false;
    return mayAddStudent(password) ? addOneStudent(name, password, className, false, wentBack) : 0;
}

Lookup checkForDuplName(const QString& typedName, const QString& className) {
    // Compared as it would be stored, so that "Cy\tLee" meets the stored "Cy Lee".
    const QString name = myGlobals::oneLine(typedName);
    Result names = exec(QStringLiteral("SELECT StName FROM Names WHERE StClass = ?"), {className});
    if (!names)
        return Lookup::Failed;
    while (names.next()) {
        if (names.value(0).toString().compare(name, Qt::CaseInsensitive) == 0)
            return Lookup::Found;
    }
    return names->lastError().isValid() ? Lookup::Failed : Lookup::Missing;
}

bool hndlAddName(const QString& name, const QString& password, const QString& className, int* addedId) {
    if (addedId)
        *addedId = 0;
    if (!mayAddStudent(password))
        return false;
    bool wentBack = false;
    const int id = addOneStudent(name, password, className, true, wentBack);
    if (addedId)
        *addedId = id;
    return wentBack;
}

bool askAddDuplicate(const QString& name, const QString& className) {
    Seams::Question q;
    q.icon = Seams::Icon::Question;
    q.message = QStringLiteral("The name ") + name + QStringLiteral(" already exists in the ") + className +
                QStringLiteral(" Class. ") +
                QStringLiteral("It is advised that you change this name before adding to this class.");
    q.explanation = QStringLiteral("Click <Cancel> to go back and change the Name. ");
    q.defaultCaption = QStringLiteral("Cancel");
    q.cancelCaption = QStringLiteral("Continue to Save");
    // Escape adds the student, as the platform's cancel position always did; a box closed from
    // outside goes back and adds nothing.
    q.closedAnswer = Seams::Answer::Default;
    return Seams::dialogs().ask(q) == Seams::Answer::Cancel;
}

QList<int> insertNames(const QList<std::pair<QString, QString>>& students, const QString& className) {
    const QString notAdded = QStringLiteral("No students were added");
    if (students.isEmpty())
        return {};
    if (!isConnected()) {
        Seams::feedback().beep();
        return {};
    }
    for (const auto& student : students) {
        if (!passwordUsable(student.second)) {
            refusePassword();
            return {};
        }
    }
    Transaction tx;
    if (!tx.ok()) {
        failed(notAdded, tx.error());
        return {};
    }
    // Another computer may have deleted the class since the list was read: it is made again, so that
    // the students are never stored in a class no list shows.
    const QString cls = classForAdd(className);
    if (cls.isEmpty()) {
        failed(tx, notAdded, lastErrorRef());
        return {};
    }
    BulkStatement insert("INSERT INTO Names (StName, StPW, StClass, StStars) VALUES (?, ?, ?, '0')");
    if (!insert) {
        failed(tx, notAdded, lastErrorRef());
        return {};
    }
    insert.bind(3, cls);
    QList<int> ids;
    ids.reserve(students.size());
    for (const auto& [name, password] : students) {
        insert.bind(1, myGlobals::oneLine(name));
        insert.bind(2, storedPassword(password));
        if (!insert.run()) {
            failed(tx, notAdded, lastErrorRef());
            return {};
        }
        ids.append(static_cast<int>(insert.lastInsertId()));
    }
    // The write lock is held throughout, so the new ids follow one another above every older id: one
    // statement clears whatever results rows earlier students with these ids left behind.
    const auto [lowest, highest] = std::minmax_element(ids.cbegin(), ids.cend());
    if (!exec(QStringLiteral("DELETE FROM theData WHERE CAST(StID AS INTEGER) BETWEEN ? AND ?"),
              {*lowest, *highest})) {
        failed(tx, notAdded, lastErrorRef());
        return {};
    }
    if (!tx.commit()) {
        failed(notAdded, tx.error());
        return {};
    }
    return ids;
}

Lookup checkForDuplClass(const QString& name) {
    return findClass(name).lookup;
}

void updateNames(const QString& name, const QString& className, const QString& stID, const QString& password,
                 const QString& stars) {
    const QString notSaved = QStringLiteral("The student's changes were not saved");
    if (!isConnected()) {
        Seams::dialogs().plainMessage(QStringLiteral("Unable to update record"));
        return;
    }
    if (!passwordUsable(password)) {
        refusePassword();
        return;
    }
    Transaction tx;
    if (!tx.ok()) {
        failed(notSaved, tx.error());
        return;
    }
    Result row = exec(QStringLiteral("SELECT StID FROM Names WHERE StID = ?"), {stID});
    if (!row) {
        failed(tx, notSaved, lastErrorRef());
        return;
    }
    if (!row.next()) {
        row.finish();
        tx.rollback(); // nothing is shown while the write lock is held: other computers wait for it
        Seams::dialogs().plainMessage(QStringLiteral("Unable to update record"));
        return;
    }
    row.finish();
    // A class picked from the list keeps its stored text; one typed is stored as one line.
    const ClassFound cls = findClass(className);
    if (cls.lookup == Lookup::Failed) {
        failed(tx, notSaved, lastErrorRef());
        return;
    }
    const bool ok =
        stars.isEmpty()
            ? static_cast<bool>(exec(QStringLiteral("UPDATE Names SET StName = ?, StClass = ?, StPW = ? "
                                                    "WHERE StID = ?"),
                                     {myGlobals::oneLine(name), cls.stored, storedPassword(password), stID}))
            : static_cast<bool>(exec(QStringLiteral("UPDATE Names SET StName = ?, StClass = ?, StPW = ?, "
                                                    "StStars = ? WHERE StID = ?"),
                                     {myGlobals::oneLine(name), cls.stored, storedPassword(password), stars,
                                      stID}));
    if (!ok) {
        failed(tx, notSaved, lastErrorRef());
        return;
    }
    if (!tx.commit())
        failed(notSaved, tx.error());
}

HallEntry enterHallOfFame(const QString& name) {
    Result member = exec(QStringLiteral("SELECT HallID FROM HallData WHERE StName = ?"), {name});
    if (!member)
        return HallEntry::Failed;
    if (member.next())
        return HallEntry::Member;
    if (member->lastError().isValid())
        return HallEntry::Failed;
    member.finish();
    if (!exec(QStringLiteral("INSERT INTO HallData (StName, dateEnt) VALUES (?, ?)"), {name, todayText()}))
        return HallEntry::Failed;
    return HallEntry::Added;
}

bool insertHOF() {
    return myGlobals::gCurPlayer && insertHOF(myGlobals::gCurPlayer->curStudent);
}

bool insertHOF(const QString& name) {
    const QString notAdded = QStringLiteral("The name was not added to the Hall of Fame");
    // Without a database the entry is quietly not made: the student's own save says what failed.
    if (!isConnected())
        return false;
    Transaction tx;
    if (!tx.ok())
        return failed(notAdded, tx.error());
    switch (enterHallOfFame(name)) {
    case HallEntry::Member:
        return false;
    case HallEntry::Failed:
        return failed(tx, notAdded, lastErrorRef());
    case HallEntry::Added:
        break;
    }
    return tx.commit() || failed(notAdded, tx.error());
}

void deleteClass(const QString& name) {
    const QString notDeleted = QStringLiteral("The class was not deleted");
    Transaction tx;
    if (!tx.ok()) {
        failed(notDeleted, tx.error());
        return;
    }
    // The name as stored, whatever it holds: a class is deleted as it was picked. The students'
    // results go with them, so that a later student given a freed id starts afresh.
    const bool ok =
        exec(QStringLiteral("DELETE FROM theData WHERE StID IN (SELECT CAST(StID AS TEXT) FROM Names "
                            "WHERE StClass = ?)"),
             {name}) &&
        exec(QStringLiteral("DELETE FROM Classes WHERE ClassNm = ?"), {name}) &&
        exec(QStringLiteral("DELETE FROM Names WHERE StClass = ?"), {name});
    if (!ok) {
        failed(tx, notDeleted, lastErrorRef());
        return;
    }
    if (!tx.commit())
        failed(notDeleted, tx.error());
}

void deleteName(const QString& stID) {
    const QString notDeleted = QStringLiteral("The student was not deleted");
    Transaction tx;
    if (!tx.ok()) {
        failed(notDeleted, tx.error());
        return;
    }
    const bool ok = exec(QStringLiteral("DELETE FROM theData WHERE StID = ?"), {stID}) &&
                    exec(QStringLiteral("DELETE FROM Names WHERE StID = ?"), {stID});
    if (!ok) {
        failed(tx, notDeleted, lastErrorRef());
        return;
    }
    if (!tx.commit())
        failed(notDeleted, tx.error());
}

int getLastID() {
    return lastAddedId();
}

QStringList classNames(bool* ok) {
    // Read at every sign-in window refresh, for every pop-up of classes: straight on SQLite, like the
    // class lists (see BulkStatement).
    QStringList names;
    BulkStatement select("SELECT ClassNm FROM Classes ORDER BY ClassID");
    bool read = static_cast<bool>(select);
    if (read) {
        while (select.next())
            names << select.text(0);
        read = select.done();
    }
    if (ok)
        *ok = read;
    return names;
}

namespace {

// The students a prepared statement selects, as StID, StName, StClass, StStars, StPW; when the database
// cannot be read, those read before the error, and ok (when given) false.
QList<StudentRow> readStudents(BulkStatement& select, bool* ok) {
    QList<StudentRow> rows;
    bool read = static_cast<bool>(select);
    if (read) {
        while (select.next()) {
            rows.append({static_cast<int>(select.integer(0)), select.text(1), select.text(2),
                         std::clamp(myGlobals::textToInt(select.text(3)), 0, 8), select.text(4)});
        }
        read = select.done();
    }
    if (ok)
        *ok = read;
    return rows;
}

} // namespace

QList<StudentRow> studentsOf(const QString& className, bool* ok) {
    BulkStatement select(
        "SELECT StID, StName, StClass, StStars, StPW FROM Names WHERE StClass = ? ORDER BY StID");
    // The class as stored: a class picked in a list is found whatever its name holds.
    select.bind(1, className);
    return readStudents(select, ok);
}

QList<StudentRow> allStudents(bool* ok) {
    BulkStatement select("SELECT StID, StName, StClass, StStars, StPW FROM Names ORDER BY StID");
    return readStudents(select, ok);
}

} // namespace DBCtrl
