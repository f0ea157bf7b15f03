#include "dbctrl.h"

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
        if (rc != SQLITE_DONE)
            setError(QStringLiteral("Unable to fetch row"), rc);
        return false;
    }
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
bool failed(const QSqlError& error) {
    DisplayDatabaseError(error);
    return false;
}

// The same inside a transaction: the write lock is let go before the message waits for the user, so
// that other computers are not kept waiting on it.
bool failed(Transaction& tx, QSqlError error) {
    tx.rollback();
    return failed(error);
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

// Makes the four tables and the class "Default" in the open connection, unless the file has tables
// already (another computer made them first; the write lock makes the look certain).
bool makeSchema() {
    Transaction tx;
    if (!tx.ok())
        return false;
    Result tables = exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'"));
    if (!tables || !tables.next())
        return false;
    const bool empty = tables.value(0).toInt() == 0;
    tables.finish();
    if (!empty)
        return true;
    for (const char* statement : kSchema) {
        if (!exec(QString::fromLatin1(statement)))
            return false;
    }
    if (!exec(QStringLiteral("INSERT INTO Classes (ClassNm) VALUES (?)"), {QStringLiteral("Default")}))
        return false;
    return tx.commit();
}

enum class Placed { Here, ThereAlready, Failed };

// Gives the complete file its final name without ever replacing a file that is there.
Placed placeWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray src = QFile::encodeName(from);
    const QByteArray dst = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE) == 0)
        return Placed::Here;
    if (errno == EEXIST)
        return Placed::ThereAlready;
    // Some file systems (network shares among them) know no such rename; a hard link is just as
    // exclusive. The temporary name goes when its file does.
    if (::link(src.constData(), dst.constData()) == 0)
        return Placed::Here;
    return errno == EEXIST ? Placed::ThereAlready : Placed::Failed;
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

void DisplayDatabaseError(const QSqlError& error) {
    const int code = primaryCode(error);
    if (code == 19) // a constraint refused the change; the caller has already not committed
        return;
    QString explanation = error.driverText();
    if (!error.databaseText().isEmpty())
        explanation = error.databaseText();
    myGlobals::gShowMsg(true, QStringLiteral("Database Error: ") + QString::number(code), explanation);
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
            connectToDB(file);
        else
            errorText = createNewDBFile(file);
    }
    if (!errorText.isEmpty())
        myGlobals::gShowMsg(true, errorText, QStringLiteral("Please contact Orlavo Software for assistance"));
}

bool connectToDB(const QString& filePath) {
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
    // Opening succeeds for any file; the first read tells whether it is really our database.
    Result tables = exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    QStringList names;
    while (tables.next())
        names << tables.value(0).toString();
    const bool readable = static_cast<bool>(tables);
    tables.finish();
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
        myGlobals::gShowMsg(
            true,
            busy ? QStringLiteral("The student data file at <") + info.absoluteFilePath() +
                       QStringLiteral("> is in use and could not be opened.")
                 : QStringLiteral("The file at <") + info.absoluteFilePath() +
                       QStringLiteral("> is not a Numbrook Riza student data file, or it is damaged."),
            busy ? QStringLiteral("Please try again in a moment. Nothing has been changed.")
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
        // Never overwritten; only a file of no bytes, which holds nothing yet, is given its tables,
        // under the database's own lock so that two computers cannot both do it.
        if (!existing.isFile() || existing.size() != 0)
            return failure;
        closeConnection();
        if (!openAt(path) || !makeSchema()) {
            closeConnection();
            return failure;
        }
        myPrefs::setDatabaseModes(path);
        closeConnection();
        return connectToDB(path) ? created() : QString();
    }
    reachRacePoint(RacePoint::BeforeDatabaseCreated);
    closeConnection();

    // Complete under a name of its own in the same folder first, so that the database's name never
    // stands for a half-made file, whatever stops this program on the way.
    QTemporaryFile temp(QDir(folder).filePath(QStringLiteral(".") + QString::fromLatin1(kFileName) +
                                              QStringLiteral(".XXXXXX")));
    if (!temp.open())
        return failure;
    temp.close();
    if (!openAt(temp.fileName()) || !makeSchema()) {
        closeConnection();
        return failure; // the temporary file goes with `temp`
    }
    closeConnection();
    myPrefs::setDatabaseModes(temp.fileName());
    reachRacePoint(RacePoint::BeforeDatabasePlaced);
    switch (placeWithoutReplacing(temp.fileName(), path)) {
    case Placed::Here:
        break;
    case Placed::ThereAlready:
        // Another computer made it meanwhile: that one is the database, and ours is dropped.
        connectToDB(path);
        return {};
    case Placed::Failed:
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

} // namespace

bool insertClass(const QString& name, int /*id*/) {
    if (!isConnected()) {
        myGlobals::gShowMsg(true, QStringLiteral("Error in writing to the new Database."), QString());
        return false;
    }
    Transaction tx;
    if (!tx.ok())
        return failed(tx.error());
    if (!exec(QStringLiteral("INSERT INTO Classes (ClassNm) VALUES (?)"), {myGlobals::oneLine(name)}))
        return failed(tx, lastErrorRef());
    return tx.commit() || failed(tx.error());
}

int insertName(const QString& name, const QString& password, const QString& className, int /*id*/) {
    lastAddedId() = 0;
    if (!isConnected()) {
        Seams::feedback().beep();
        return 0;
    }
    if (!passwordUsable(password)) {
        refusePassword();
        return 0;
    }
    Transaction tx;
    if (!tx.ok())
        return failed(tx.error());
    Result added =
        exec(QStringLiteral("INSERT INTO Names (StName, StPW, StClass, StStars) VALUES (?, ?, ?, ?)"),
             {myGlobals::oneLine(name), storedPassword(password), myGlobals::oneLine(className),
              QStringLiteral("0")});
    if (!added)
        return failed(tx, lastErrorRef());
    const int newId = added->lastInsertId().toInt();
    added.finish();
    // Ids are reused after the highest one is deleted; a results row left by an earlier student with
    // this id must not become the new student's.
    if (!exec(QStringLiteral("DELETE FROM theData WHERE StID = ?"), {QString::number(newId)}))
        return failed(tx, lastErrorRef());
    if (!tx.commit())
        return failed(tx.error());
    lastAddedId() = newId;
    return newId;
}

bool checkForDuplName(const QString& typedName, const QString& typedClass) {
    // Compared as they would be stored, so that "Cy\tLee" meets the stored "Cy Lee".
    const QString name = myGlobals::oneLine(typedName);
    const QString className = myGlobals::oneLine(typedClass);
    Result cls = exec(QStringLiteral("SELECT ClassID FROM Classes WHERE ClassNm = ?"), {className});
    if (cls && !cls.next()) {
        cls.finish();
        insertClass(className, 0);
        return false;
    }
    cls.finish();
    Result names = exec(QStringLiteral("SELECT StName FROM Names WHERE StClass = ?"), {className});
    while (names.next()) {
        if (names.value(0).toString().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool hndlAddName(const QString& typedName, const QString& password, const QString& typedClass, int* addedId) {
    if (addedId)
        *addedId = 0;
    const QString name = myGlobals::oneLine(typedName);
    const QString className = myGlobals::oneLine(typedClass);
    if (!passwordUsable(password)) {
        refusePassword();
        return false;
    }
    if (checkForDuplName(name, className) && !askAddDuplicate(name, className))
        return true;
    const int id = insertName(name, password, className, 0);
    if (addedId)
        *addedId = id;
    return false;
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
    return Seams::dialogs().ask(q) == Seams::Answer::Cancel;
}

QList<int> insertNames(const QList<std::pair<QString, QString>>& students, const QString& className) {
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
        failed(tx.error());
        return {};
    }
    const QString cls = myGlobals::oneLine(className);
    BulkStatement insert("INSERT INTO Names (StName, StPW, StClass, StStars) VALUES (?, ?, ?, '0')");
    if (!insert) {
        failed(tx, lastErrorRef());
        return {};
    }
    insert.bind(3, cls);
    QList<int> ids;
    ids.reserve(students.size());
    for (const auto& [name, password] : students) {
        insert.bind(1, myGlobals::oneLine(name));
        insert.bind(2, storedPassword(password));
        if (!insert.run()) {
            failed(tx, lastErrorRef());
            return {};
        }
        ids.append(static_cast<int>(insert.lastInsertId()));
    }
    // The write lock is held throughout, so the new ids follow one another above every older id: one
    // statement clears whatever results rows earlier students with these ids left behind.
    const auto [lowest, highest] = std::minmax_element(ids.cbegin(), ids.cend());
    if (!exec(QStringLiteral("DELETE FROM theData WHERE CAST(StID AS INTEGER) BETWEEN ? AND ?"),
              {*lowest, *highest})) {
        failed(tx, lastErrorRef());
        return {};
    }
    if (!tx.commit()) {
        failed(tx.error());
        return {};
    }
    return ids;
}

bool checkForDuplClass(const QString& name) {
    Result r =
        exec(QStringLiteral("SELECT ClassID FROM Classes WHERE ClassNm = ?"), {myGlobals::oneLine(name)});
    return r.next();
}

void updateNames(const QString& name, const QString& className, const QString& stID, const QString& password,
                 const QString& stars) {
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
        failed(tx.error());
        return;
    }
    Result row = exec(QStringLiteral("SELECT StID FROM Names WHERE StID = ?"), {stID});
    if (!row) {
        failed(tx, lastErrorRef());
        return;
    }
    if (!row.next()) {
        row.finish();
        tx.rollback(); // nothing is shown while the write lock is held: other computers wait for it
        Seams::dialogs().plainMessage(QStringLiteral("Unable to update record"));
        return;
    }
    row.finish();
    if (!exec(
            QStringLiteral("UPDATE Names SET StName = ?, StClass = ?, StPW = ?, StStars = ? WHERE StID = ?"),
            {myGlobals::oneLine(name), myGlobals::oneLine(className), storedPassword(password), stars,
             stID})) {
        failed(tx, lastErrorRef());
        return;
    }
    if (!tx.commit())
        failed(tx.error());
}

bool insertHOF() {
    return myGlobals::gCurPlayer && insertHOF(myGlobals::gCurPlayer->curStudent);
}

bool insertHOF(const QString& name) {
    // Without a database the entry is quietly not made: the student's own save says what failed.
    if (!isConnected())
        return false;
    Transaction tx;
    if (!tx.ok())
        return failed(tx.error());
    Result member = exec(QStringLiteral("SELECT HallID FROM HallData WHERE StName = ?"), {name});
    if (!member || member.next())
        return false;
    member.finish();
    if (!exec(QStringLiteral("INSERT INTO HallData (StName, dateEnt) VALUES (?, ?)"), {name, todayText()}))
        return failed(tx, lastErrorRef());
    return tx.commit() || failed(tx.error());
}

void deleteClass(const QString& typedName) {
    const QString name = myGlobals::oneLine(typedName);
    Transaction tx;
    if (!tx.ok()) {
        failed(tx.error());
        return;
    }
    // The students' results go with them, so that a later student given a freed id starts afresh.
    const bool ok =
        exec(QStringLiteral("DELETE FROM theData WHERE StID IN (SELECT CAST(StID AS TEXT) FROM Names "
                            "WHERE StClass = ?)"),
             {name}) &&
        exec(QStringLiteral("DELETE FROM Classes WHERE ClassNm = ?"), {name}) &&
        exec(QStringLiteral("DELETE FROM Names WHERE StClass = ?"), {name});
    if (!ok) {
        failed(tx, lastErrorRef());
        return;
    }
    if (!tx.commit())
        failed(tx.error());
}

void deleteName(const QString& stID) {
    Transaction tx;
    if (!tx.ok()) {
        failed(tx.error());
        return;
    }
    const bool ok = exec(QStringLiteral("DELETE FROM theData WHERE StID = ?"), {stID}) &&
                    exec(QStringLiteral("DELETE FROM Names WHERE StID = ?"), {stID});
    if (!ok) {
        failed(tx, lastErrorRef());
        return;
    }
    if (!tx.commit())
        failed(tx.error());
}

int getLastID() {
    return lastAddedId();
}

QStringList classNames() {
    QStringList names;
    Result r = exec(QStringLiteral("SELECT ClassNm FROM Classes ORDER BY ClassID"));
    while (r.next())
        names << r.value(0).toString();
    return names;
}

namespace {

// The students a prepared statement selects, as StID, StName, StClass, StStars, StPW; when the database
// cannot be read, those read before the error.
QList<StudentRow> readStudents(BulkStatement& select) {
    QList<StudentRow> rows;
    if (!select)
        return rows;
    while (select.next()) {
        rows.append({static_cast<int>(select.integer(0)), select.text(1), select.text(2),
                     std::clamp(myGlobals::textToInt(select.text(3)), 0, 8), select.text(4)});
    }
    return rows;
}

} // namespace

QList<StudentRow> studentsOf(const QString& className) {
    BulkStatement select(
        "SELECT StID, StName, StClass, StStars, StPW FROM Names WHERE StClass = ? ORDER BY StID");
    select.bind(1, myGlobals::oneLine(className));
    return readStudents(select);
}

QList<StudentRow> allStudents() {
    BulkStatement select("SELECT StID, StName, StClass, StStars, StPW FROM Names ORDER BY StID");
    return readStudents(select);
}

} // namespace DBCtrl
