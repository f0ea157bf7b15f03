// Student data operations beside the bare SQLite work they need: the same statements, in the same
// transactions, through the sqlite3 C API, on the same file in the same run. bench/ratios.py prints
// each operation's time over its floor.
//
// The database: 40 classes and 2,000 students, each with a full results row.

#include "data/dbctrl.h"
#include "data/globals.h"
#include "data/strecord.h"
#include "support/doubles.h"
#include "support/fixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kClasses = 40;
constexpr int kPerClass = 50;

struct Fixture {
    TestDoubles::ScriptedDialogs dialogs;
    std::unique_ptr<TestDoubles::TempDatabase> db;
    sqlite3* bare = nullptr;
    int someStudent = 0;

    Fixture() {
        db = std::make_unique<TestDoubles::TempDatabase>();
        QSqlDatabase conn = DBCtrl::NBData();
        conn.transaction();
        for (int c = 0; c < kClasses; ++c) {
            const QString cls = QStringLiteral("Class %1").arg(c);
            QSqlQuery(conn).exec(QStringLiteral("INSERT INTO Classes (ClassNm) VALUES ('%1')").arg(cls));
            for (int s = 0; s < kPerClass; ++s) {
                const int id = db->addStudent(QStringLiteral("Student %1 %2").arg(c).arg(s), cls, "pw", 3);
                db->addResults(id, 17, 25);
                if (c == kClasses / 2 && s == kPerClass / 2)
                    someStudent = id;
            }
        }
        conn.commit();
        sqlite3_open_v2(db->file().toUtf8().constData(), &bare, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(bare, 5000);
    }
    ~Fixture() { sqlite3_close(bare); }
};

// The fixture's database, connected again when another benchmark (creating files) moved the
// connection away.
Fixture& fixture() {
    static Fixture f;
    if (!DBCtrl::isConnected() || DBCtrl::databasePath() != f.db->file())
        DBCtrl::connectToDB(f.db->file());
    return f;
}

void bareExec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        std::fprintf(stderr, "bare statement failed: %s\n", sqlite3_errmsg(db));
}

// A prepared statement, finalised when it goes; the save floor keeps its statements for the whole
// run, as the program keeps its own.
struct Prepared {
    sqlite3_stmt* st = nullptr;
    Prepared(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &st, nullptr); }
    ~Prepared() { sqlite3_finalize(st); }
    Prepared& text(int i, const std::string& v) {
        sqlite3_bind_text(st, i, v.c_str(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Prepared& integer(int i, sqlite3_int64 v) {
        sqlite3_bind_int64(st, i, v);
        return *this;
    }
    // Steps through every row, reading every column, and resets the statement.
    void run(sqlite3* db) {
        int rc = 0;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(st, c));
        }
        if (rc != SQLITE_DONE)
            std::fprintf(stderr, "bare statement failed: %s\n", sqlite3_errmsg(db));
        sqlite3_reset(st);
    }
};

// Prepares, binds text values, steps through every row reading every column, finalises.
void bareQuery(sqlite3* db, const char* sql, std::initializer_list<std::string> values) {
    Prepared st(db, sql);
    int i = 1;
    for (const std::string& v : values)
        st.text(i++, v);
    st.run(db);
}

void LoadRecord(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        auto r = std::make_shared<StRecord>("Student", "Class 20", f.someStudent, "Cpw", 3);
        r->getStudentData();
        benchmark::DoNotOptimize(r->addCor);
    }
}
BENCHMARK(LoadRecord);

void LoadRecord_Bare(benchmark::State& state) {
    Fixture& f = fixture();
    const std::string id = std::to_string(f.someStudent);
    for (auto _ : state) {
        bareQuery(f.bare,
                  "SELECT DataID, lastDate, stAdd, stSub, stMul, stDiv, stParam, zeriGames FROM theData "
                  "WHERE StID = ? "
                  "ORDER BY DataID LIMIT 1",
                  {id});
    }
}
BENCHMARK(LoadRecord_Bare);

void SaveAfterRound(benchmark::State& state) {
    Fixture& f = fixture();
    auto r = std::make_shared<StRecord>("Student", "Class 20", f.someStudent, "Cpw", 3);
    myGlobals::gCurPlayer = r;
    r->getStudentData();
    r->rejoinData(); // the stored star total follows the counts from here on
    f.dialogs.clear();
    for (auto _ : state) {
        r->addTried[3] += 1; // a round's worth of change; the star total stays where it is
        r->rejoinData();
    }
    if (!r->loaded() || !f.dialogs.shown.isEmpty())
        state.SkipWithError("the save did not go through");
}
BENCHMARK(SaveAfterRound);

// The statements of a save after a round, exactly as the program runs them: the row read again
// under the write lock, the merged row written, the stored star total read; the total is unchanged,
// so the Names row is not written.
void SaveAfterRound_Bare(benchmark::State& state) {
    Fixture& f = fixture();
    const std::string id = std::to_string(f.someStudent);
    const std::string counts =
        "17/25,17/25,17/25,17/25,17/25,17/25,17/25,17/25,17/25,17/25,17/25,17/25,17/25,"
        "17/25,17/25,17/25,17/25,17/25,17/25";
    Prepared select(f.bare, "SELECT DataID, lastDate, stAdd, stSub, stMul, stDiv, stParam, zeriGames FROM "
                            "theData WHERE StID = ? ORDER BY DataID LIMIT 1");
    Prepared update(f.bare, "UPDATE theData SET lastDate = ?, stAdd = ?, stSub = ?, stMul = ?, stDiv = ?, "
                            "stParam = ?, zeriGames = ? WHERE DataID = ?");
    Prepared stars(f.bare, "SELECT StStars FROM Names WHERE StID = ?");
    sqlite3_int64 dataId = 0;
    {
        Prepared find(f.bare, "SELECT DataID FROM theData WHERE StID = ?");
        find.text(1, id);
        if (sqlite3_step(find.st) == SQLITE_ROW)
            dataId = sqlite3_column_int64(find.st, 0);
    }
    long round = 1000;
    for (auto _ : state) {
        // Each save stores new counts, as after a real round.
        const std::string changed = "17/" + std::to_string(++round) + counts.substr(5);
        bareExec(f.bare, "BEGIN IMMEDIATE");
        select.text(1, id).run(f.bare);
        update.text(1, "12/10/26")
            .text(2, changed)
            .text(3, counts)
            .text(4, counts)
            .text(5, counts)
            .text(6, "0,0,10,1^1^1^1,0,15,10,0,0,0,0")
            .text(7, "99.99,99.99,0,99.99,0,99.99")
            .integer(8, dataId)
            .run(f.bare);
        stars.integer(1, f.someStudent).run(f.bare);
        bareExec(f.bare, "COMMIT");
    }
}
BENCHMARK(SaveAfterRound_Bare);

void ListClass(benchmark::State& state) {
    fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(DBCtrl::studentsOf(QStringLiteral("Class 20")));
}
BENCHMARK(ListClass);

void ListClass_Bare(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        bareQuery(f.bare,
                  "SELECT StID, StName, StClass, StStars, StPW FROM Names WHERE StClass = ? ORDER BY StID",
                  {"Class 20"});
}
BENCHMARK(ListClass_Bare);

void ClassNames(benchmark::State& state) {
    fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(DBCtrl::classNames());
}
BENCHMARK(ClassNames);

void ClassNames_Bare(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state)
        bareQuery(f.bare, "SELECT ClassNm FROM Classes ORDER BY ClassID", {});
}
BENCHMARK(ClassNames_Bare);

void CreateDatabase(benchmark::State& state) {
    TestDoubles::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("NB_Data.rbd"));
    for (auto _ : state) {
        DBCtrl::createNewDBFile(file);
        state.PauseTiming();
        DBCtrl::closeDB();
        QFile::remove(file);
        dialogs.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(CreateDatabase);

// Brings a file or a folder to the disk, as the program's durable writes do.
void syncToDisk(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    ::fsync(fd);
    ::close(fd);
}

// The same steps as the program: the file made complete under a temporary name in the folder, its
// modes set and the file brought to the disk, then put in place without replacing anything, the
// folder brought to the disk, and the file opened.
void CreateDatabase_Bare(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string file = dir.filePath(QStringLiteral("NB_Data.rbd")).toStdString();
    const std::string pattern = dir.filePath(QStringLiteral(".NB_Data.rbd.XXXXXX")).toStdString();
    for (auto _ : state) {
        std::string temp = pattern;
        const int fd = ::mkstemp(temp.data());
        ::close(fd);
        sqlite3* db = nullptr;
        sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        bareExec(db, "BEGIN IMMEDIATE");
        bareQuery(db, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'", {});
        bareExec(db, "CREATE TABLE Classes ( ClassID INTEGER PRIMARY KEY, ClassNm VarChar )");
        bareExec(db,
                 "CREATE TABLE Names ( StID INTEGER PRIMARY KEY, StName VarChar, StClass VarChar, StStars "
                 "VarChar, StPW VarChar)");
        bareExec(
            db, "CREATE TABLE theData ( DataID INTEGER PRIMARY KEY, StID VarChar, lastDate VarChar, stAdd "
                "VarChar, stSub VarChar, stMul VarChar, stDiv VarChar, stParam VarChar, zeriGames VarChar )");
        bareExec(db, "CREATE TABLE HallData ( HallID INTEGER PRIMARY KEY, StName VarChar, dateEnt VarChar )");
        bareQuery(db, "INSERT INTO Classes (ClassNm) VALUES (?)", {"Default"});
        bareExec(db, "COMMIT");
        sqlite3_close(db);
        ::chmod(temp.c_str(), 0777);
        syncToDisk(temp, 0);
        ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, file.c_str(), RENAME_NOREPLACE);
        syncToDisk(folder, O_DIRECTORY);
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        state.PauseTiming();
        sqlite3_close(db);
        std::remove(file.c_str());
        state.ResumeTiming();
    }
}
BENCHMARK(CreateDatabase_Bare);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
