// Files on disk are never half made: the start, the moves of the data to the shared folder and back,
// and the preferences' Save are each run in a second program that is killed just before each of its
// file writes in turn (as a power cut or a killed program stops it). After every kill the next start
// must open a sound database and readable preferences with the teacher's password, use nothing half
// made, tell the teacher nothing alarming, and leave nothing behind once it is old. After a stopped
// move to the shared folder a round is played and the folder chosen again: the round must be in the
// data in use afterwards. Two computers moving into one folder at once are run with one held at each
// of its writes in turn while the other moves.

#include "data/dbctrl.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "data/random.h"
#include "data/strecord.h"
#include "datafiles.h"
#include "prefs_file.h"
#include "support/doubles.h"
#include "support/killpoints.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QtTest>

#include <algorithm>
#include <functional>
#include <memory>

#include <csignal>

using myPrefs::Values;
using TestDoubles::ScriptedDialogs;
using TestDoubles::Shown;
using TestFiles::studentsIn;

using TestPrefs::fileValues;
using TestPrefs::writeValues;

namespace {

const QString kPassword = QStringLiteral("Secret1");
const QString kStudent = QStringLiteral("Ada Lovelace");
const QString kCreated = QStringLiteral("A new Database file was created at <");
const QString kNotAvailable = QStringLiteral("The remote server is not available");
// A student the teacher adds in the run after a stop: present only in the data that run used.
const QString kAddedAfterTheStop = QStringLiteral("Added After The Stop");

// The folders of one run; a fresh one for every kill.
struct World {
    TestPrefs::Sandbox sandbox;
    QString shared() const { return sandbox.path(QStringLiteral("share/Numbrook")); }
    QString localData() const { return sandbox.path(QStringLiteral("data/OVR")); }
    QString localDatabase() const { return localData() + QStringLiteral("/NB_Data.rbd"); }
    QString sharedDatabase() const { return shared() + QStringLiteral("/NB_Data.rbd"); }
};

// Puts every file of the world back by two days, so that the next start takes whatever a stopped
// write left behind for the leftover it is.
void ageEverything(const World& world) {
    QDirIterator it(world.sandbox.path(QString()), QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        TestFiles::ageBy(it.next(), 2 * 24 * 60 * 60);
}

// What the database in use holds: SQLite's integrity check and the students' names.
QString integrity() {
    DBCtrl::Result check = DBCtrl::exec(QStringLiteral("PRAGMA integrity_check"));
    return check && check.next() ? check.value(0).toString() : QStringLiteral("<no answer>");
}

// This computer with its preferences (the teacher's password) and a database holding one student.
void thisComputerWithData() {
    ScriptedDialogs dialogs;
    myPrefs::initPrefs();
    myPrefs::prPassWord = kPassword;
    myPrefs::writePrefFile(myPrefs::localPrefFile());
    DBCtrl::check4Database(myPrefs::getLocalDataFol());
    DBCtrl::insertName(kStudent, QString(), QStringLiteral("Default"));
    DBCtrl::closeDB();
}

// The same, moved to the shared folder.
void inTheSharedFolder(const World& world) {
    thisComputerWithData();
    ScriptedDialogs dialogs;
    QDir().mkpath(world.shared());
    myPrefs::hndlReadingPrefs();
    DBCtrl::check4Database(myPrefs::getDataFileLoc());
    myPrefs::createRemoteFileInfo(world.shared());
    myPrefs::hndlWritingPrefs(); // the newer name too, as a save in network mode writes it
    DBCtrl::closeDB();
}

// What a stopped write left under a temporary name: the program's hidden form ("." + name + ".nbrtmp-"
// and six letters or digits), the plain "<name>." + six of them that older writes used, either with
// SQLite's "-journal" after it, and a database's own journal.
QStringList leftoversIn(const QString& folder) {
    static const QRegularExpression leftover(QStringLiteral(
        "^(?:\\.?(?:NB_Data\\.rbd|com\\.orlavo\\.vavava\\.plist|nbq10\\.pref)(?:\\.damaged)?\\."
        "(?:nbrtmp-)?[A-Za-z0-9]{6}(?:-journal)?|.*-journal)$"));
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (leftover.match(it.fileName()).hasMatch())
            found << it.filePath();
    }
    return found;
}

// Whether this computer's preferences file names a shared folder that holds no database: what a move
// stopped after this computer's own file and before the database's name leaves. The start then finds
// no school there, says so, and uses this computer's own data for that run.
bool localFileNamesAFolderWithoutDatabase() {
    const auto local = fileValues(myPrefs::localPrefFile());
    return local && local->useAltLoc && !myPrefs::holdsSchoolDatabase(myPrefs::parseGSI(local->altFileLoc));
}

// The next start, and what a teacher and the files would show of a half-made file. Empty when all is
// well. With `keepOpen` the database the start chose stays open, for what the run does next.
QString nextStartProblems(const World& world, const QString& password, bool keepOpen = false) {
    ScriptedDialogs dialogs;
    const bool noSchoolThere = localFileNamesAFolderWithoutDatabase();
    myPrefs::initPrefs();
    myPrefs::hndlReadingPrefs();
    myPrefs::removeCrashLeftovers();
    DBCtrl::check4Database(myPrefs::getDataFileLoc());
    QStringList problems;
    for (const Shown& shown : dialogs.shown) {
        // The one thing a start may say there: the question whether to try the folder again, then
        // that it is not available.
        const bool serverNotThere =
            noSchoolThere && shown.isCaution &&
            ((shown.kind == Shown::Question && shown.message.startsWith(kNotAvailable)) ||
             (shown.kind == Shown::Msg && shown.message == kNotAvailable + QLatin1Char('.')));
        if (serverNotThere)
            continue;
        if (shown.isCaution || shown.kind != Shown::Msg || !shown.message.startsWith(kCreated))
            problems << QStringLiteral("told \"%1 / %2\"").arg(shown.message, shown.explanation);
    }
    if (!DBCtrl::isConnected()) {
        problems << QStringLiteral("no database");
    } else {
        if (integrity() != QStringLiteral("ok"))
            problems << QStringLiteral("database damaged: ") + integrity();
        if (DBCtrl::classNames().isEmpty())
            problems << QStringLiteral("database without classes");
    }
    if (myPrefs::prPassWord != password || myPrefs::passwordUnread)
        problems << QStringLiteral("password \"%1\"").arg(myPrefs::prPassWord);
    if (!fileValues(myPrefs::localPrefFile()))
        problems << QStringLiteral("local preferences unreadable");
    for (const QString& name : {QStringLiteral("nbq10.pref"), QStringLiteral("com.orlavo.vavava.plist")}) {
        const QString file = world.shared() + QLatin1Char('/') + name;
        if (QFileInfo::exists(file) && !fileValues(file))
            problems << name + QStringLiteral(" in the shared folder unreadable");
    }
    // Leftovers, and any sign that something half made was read. A shared folder that is not in use
    // is not this start's to tidy (the next move to it is).
    for (const QString& file : leftoversIn(world.sandbox.path(QString()))) {
        if (myPrefs::prUseAltLoc || !file.startsWith(world.shared() + QLatin1Char('/')))
            problems << QStringLiteral("left behind: ") + QFileInfo(file).fileName();
    }
    if (!keepOpen)
        DBCtrl::closeDB();
    return problems.join(QStringLiteral("; "));
}

// A round on the database in use: the student signs in and answers 3 x 7 right once, and the teacher
// adds a student. Empty when it was saved without a word.
QString playARound() {
    ScriptedDialogs dialogs;
    const QList<DBCtrl::StudentRow> students = DBCtrl::studentsOf(QStringLiteral("Default"));
    const auto found = std::find_if(students.cbegin(), students.cend(),
                                    [](const DBCtrl::StudentRow& row) { return row.name == kStudent; });
    if (found == students.cend())
        return QStringLiteral("the round: no student to sign in");
    StRecord record(found->name, found->className, found->id, found->storedPassword, found->halfStars);
    record.getStudentData();
    if (!record.loaded())
        return QStringLiteral("the round: the student could not sign in");
    record.mulCor[6] += 1;
    record.mulTried[6] += 1;
    record.rejoinData();
    DBCtrl::insertName(kAddedAfterTheStop, QString(), QStringLiteral("Default"));
    if (!dialogs.shown.isEmpty())
        return QStringLiteral("the round said: ") + dialogs.messages().join(QLatin1Char('|'));
    return {};
}

// Whether a database file holds what playARound saved: the answer in the student's results and the
// student added.
bool holdsTheRound(const QString& databaseFile) {
    QString times;
    TestFiles::readDatabase(databaseFile, [&](const QSqlDatabase& db) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT d.stMul FROM theData d JOIN Names n ON CAST(d.StID AS INTEGER) = "
                                 "n.StID WHERE n.StName = ?"));
        q.addBindValue(kStudent);
        if (q.exec() && q.next())
            times = q.value(0).toString();
    });
    return times.split(QLatin1Char(',')).value(6) == QStringLiteral("1/1") &&
           studentsIn(databaseFile).contains(kAddedAfterTheStop);
}

// One computer of the school for the tests of two at once: its own home and preferences and data
// folders, its own preferences (its own password and number of tries) and its own database with a
// student of its own.
struct Computer {
    QString root;
    QString password;
    int maxTries = 3;
    QString student;

    QString config() const { return root + QStringLiteral("/config"); }
    QString data() const { return root + QStringLiteral("/data"); }
    QString prefsFile() const { return config() + QStringLiteral("/com.orlavo.vavava.plist"); }
    QString database() const { return data() + QStringLiteral("/OVR/NB_Data.rbd"); }

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config());
        env.insert(QStringLiteral("XDG_DATA_HOME"), data());
        return env;
    }

    // Makes the computer's files through the program itself, in this process pointed at its folders.
    void setUp() const {
        const QByteArray homeBefore = qgetenv("HOME");
        const QByteArray configBefore = qgetenv("XDG_CONFIG_HOME");
        const QByteArray dataBefore = qgetenv("XDG_DATA_HOME");
        QDir().mkpath(root + QStringLiteral("/home"));
        qputenv("HOME", QFile::encodeName(root + QStringLiteral("/home")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config()));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data()));
        {
            ScriptedDialogs dialogs;
            myPrefs::initPrefs();
            myPrefs::prPassWord = password;
            myPrefs::prMaxTries = maxTries;
            myPrefs::writePrefFile(myPrefs::localPrefFile());
            DBCtrl::check4Database(myPrefs::getLocalDataFol());
            DBCtrl::insertName(student, QString(), QStringLiteral("Default"));
            DBCtrl::closeDB();
        }
        qputenv("HOME", homeBefore);
        qputenv("XDG_CONFIG_HOME", configBefore);
        qputenv("XDG_DATA_HOME", dataBefore);
        myPrefs::initPrefs();
    }
};

// What one run of the driver's move said and did.
struct MoveRun {
    bool ended = false; // it ran to its end (not stopped for good, not killed)
    int exitCode = -1;
    QString output;

    bool asked() const { return output.contains(QStringLiteral("asked: There is already a Pref file")); }
    QString inUse() const {
        static const QRegularExpression line(QStringLiteral("^in use: (.*)$"),
                                             QRegularExpression::MultilineOption);
        return line.match(output).captured(1).trimmed();
    }
    QStringList told() const {
        QStringList lines;
        for (const QString& l : output.split(QLatin1Char('\n'))) {
            if (l.startsWith(QStringLiteral("told: ")))
                lines << l.mid(6);
        }
        return lines;
    }
};

MoveRun finish(QProcess& process) {
    MoveRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
    }
    run.output = QString::fromLocal8Bit(process.readAll());
    run.ended = process.exitStatus() == QProcess::NormalExit;
    run.exitCode = run.ended ? process.exitCode() : -1;
    return run;
}

// Field 1 of a preferences file as stored: its length byte and that many bytes.
QByteArray passwordField(const QByteArray& file) {
    return file.isEmpty() ? QByteArray() : file.left(1 + static_cast<quint8>(file.at(0)));
}

} // namespace

class TestStoppedWrites : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void start_data();
    void start();
    void movingToTheSharedFolder_data();
    void movingToTheSharedFolder();
    void movingBackToThisComputer_data();
    void movingBackToThisComputer();
    void savingThePreferences();
    void twoMovesIntoOneFolderAtOnce();

private:
    // Runs the driver once to count its kill points, then once killed before each; `check` says what
    // is wrong after a kill, or nothing. Logs the figures.
    void killAtEveryPoint(const std::function<void(const World&)>& setUp,
                          const std::function<QStringList(const World&)>& arguments,
                          const std::function<QString(const World&)>& check);

    std::unique_ptr<World> world_;
};

void TestStoppedWrites::init() {
    App::myRnd().seed(7);
    myPrefs::initPrefs();
}

void TestStoppedWrites::cleanup() {
    DBCtrl::closeDB();
    world_.reset();
}

void TestStoppedWrites::killAtEveryPoint(const std::function<void(const World&)>& setUp,
                                         const std::function<QStringList(const World&)>& arguments,
                                         const std::function<QString(const World&)>& check) {
    const QString driver = KillPoints::driver(QStringLiteral("data_drv_datafiles"));
    world_ = std::make_unique<World>();
    setUp(*world_);
    myPrefs::initPrefs();
    const KillPoints::Outcome whole = KillPoints::run(driver, arguments(*world_));
    QVERIFY2(whole.started && !whole.killed && whole.exitCode == 0, qPrintable(whole.output));
    QVERIFY(whole.points > 0);
    ageEverything(*world_);
    const QString afterWhole = check(*world_);
    QVERIFY2(afterWhole.isEmpty(), qPrintable(afterWhole));

    QStringList failures;
    int good = 0;
    for (int at = 1; at <= whole.points; ++at) {
        world_ = std::make_unique<World>();
        setUp(*world_);
        myPrefs::initPrefs();
        const KillPoints::Outcome killed = KillPoints::run(driver, arguments(*world_), at);
        if (!killed.killed) {
            failures << QStringLiteral("point %1: not killed (%2)").arg(at).arg(killed.output);
            continue;
        }
        ageEverything(*world_);
        const QString problems = check(*world_);
        if (problems.isEmpty())
            ++good;
        else
            failures << QStringLiteral("point %1: %2").arg(at).arg(problems);
    }
    qInfo("%s: %d kill points, %d left a good state", QTest::currentDataTag() ? QTest::currentDataTag() : "",
          whole.points, good);
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
}

void TestStoppedWrites::start_data() {
    QTest::addColumn<bool>("emptyDatabaseFile");
    QTest::newRow("first start") << false;
    // Left by a computer that stopped as it began to create the database.
    QTest::newRow("a database file of no bytes") << true;
}

void TestStoppedWrites::start() {
    QFETCH(bool, emptyDatabaseFile);
    killAtEveryPoint(
        [&](const World& world) {
            if (!emptyDatabaseFile)
                return;
            ScriptedDialogs dialogs;
            myPrefs::prPassWord = kPassword;
            myPrefs::writePrefFile(myPrefs::localPrefFile());
            QDir().mkpath(world.localData());
            TestPrefs::writeBytes(world.localDatabase(), QByteArray());
        },
        [](const World&) { return QStringList{QStringLiteral("start")}; },
        [&](const World& world) {
            QString problems = nextStartProblems(world, emptyDatabaseFile ? kPassword : QString());
            DBCtrl::connectToDB(world.localDatabase());
            if (DBCtrl::classNames() != QStringList{QStringLiteral("Default")})
                problems += QStringLiteral("; classes ") + DBCtrl::classNames().join(QLatin1Char(','));
            DBCtrl::closeDB();
            return problems;
        });
}

void TestStoppedWrites::movingToTheSharedFolder_data() {
    QTest::addColumn<bool>("folderHasPreferences");
    QTest::newRow("to an empty folder") << false;
    // Another computer's preferences under both names, replaced by ours.
    QTest::newRow("to a folder with preferences") << true;
}

void TestStoppedWrites::movingToTheSharedFolder() {
    QFETCH(bool, folderHasPreferences);
    Values other;
    other.passWord = QStringLiteral("Other");
    other.maxTries = 6;
    QMap<QString, int> tally; // what the shared folder's preferences read as, the whole run included
    killAtEveryPoint(
        [&](const World& world) {
            thisComputerWithData();
            QDir().mkpath(world.shared());
            if (folderHasPreferences) {
                for (const char* name : {"/nbq10.pref", "/com.orlavo.vavava.plist"})
                    TestPrefs::writeBytes(world.shared() + QLatin1String(name), *myPrefs::encodeFile(other));
            }
        },
        [](const World& world) {
            return QStringList{QStringLiteral("move"), world.shared()};
        },
        [&](const World& world) {
            // The folder's preferences as other computers read them (the newer name first), and each
            // name: the other computer's as they were, or this computer's as the move writes them.
            QString problems;
            if (folderHasPreferences) {
                // "Replace" keeps the school's password; the rest is this computer's.
                Values ours;
                ours.passWord = other.passWord;
                ours.useAltLoc = true;
                ours.altFileLoc = world.shared();
                const QString newer = world.shared() + QStringLiteral("/com.orlavo.vavava.plist");
                const QString older = world.shared() + QStringLiteral("/nbq10.pref");
                auto neither = [&](const QString& file) {
                    const auto v = fileValues(file);
                    return !v || (*v != other && *v != ours);
                };
                const QString read = QFileInfo::exists(newer) ? newer : older;
                if (neither(read))
                    problems += QStringLiteral("; the shared folder reads neither as before nor as after");
                for (const QString& file : {newer, older}) {
                    if (neither(file))
                        problems +=
                            QStringLiteral("; ") + QFileInfo(file).fileName() + QStringLiteral(" half made");
                }
                const auto readValues = fileValues(read);
                const bool moved = fileValues(myPrefs::localPrefFile()).value_or(Values{}).useAltLoc;
                ++tally[(readValues == other  ? QStringLiteral("reads as before")
                         : readValues == ours ? QStringLiteral("reads as after")
                                              : QStringLiteral("reads neither")) +
                        (moved ? QStringLiteral(", this computer moved")
                               : QStringLiteral(", this computer not moved"))];
                if (fileValues(newer) != fileValues(older))
                    ++tally[QStringLiteral("the two names disagree")];
            }
            // The next start uses the data the preferences name, or, when the folder they name holds
            // no database, this computer's own; the student is in it, and a copy in the shared folder
            // is never half made.
            const bool moved = fileValues(myPrefs::localPrefFile()).value_or(Values{}).useAltLoc;
            const bool schoolThere = QFileInfo(world.sharedDatabase()).isFile();
            const QString expectedInUse =
                moved && schoolThere ? world.sharedDatabase() : world.localDatabase();
            const QString password = moved && folderHasPreferences ? other.passWord : kPassword;
            const QString start = nextStartProblems(world, password, true);
            if (!start.isEmpty())
                problems += QStringLiteral("; ") + start;
            const QString inUse = DBCtrl::isConnected() ? DBCtrl::databasePath() : QString();
            if (inUse != expectedInUse)
                problems += QStringLiteral("; the start uses \"%1\"").arg(inUse);
            if (studentsIn(inUse) != QStringList{kStudent})
                problems += QStringLiteral("; students in use: ") + studentsIn(inUse).join(QLatin1Char(','));
            if (schoolThere && studentsIn(world.sharedDatabase()) != QStringList{kStudent})
                problems += QStringLiteral("; shared copy: ") +
                            studentsIn(world.sharedDatabase()).join(QLatin1Char(','));

            // Rounds are played on the data in use; then the teacher chooses the folder again
            // ("Replace" when asked). The move goes through, the rounds played since the stop are in
            // the data in use, and nothing of the stopped move stays.
            if (const QString round = playARound(); !round.isEmpty())
                problems += QStringLiteral("; ") + round;
            {
                ScriptedDialogs dialogs;
                myPrefs::createRemoteFileInfo(world.shared());
                if (!myPrefs::prUseAltLoc || !DBCtrl::isConnected() ||
                    DBCtrl::databasePath() != world.sharedDatabase())
                    problems += QStringLiteral("; the move again failed: ") +
                                dialogs.messages().join(QLatin1Char('|'));
                else if (!holdsTheRound(DBCtrl::databasePath())) {
                    problems += QStringLiteral("; the round played after the stop is not in the data in "
                                               "use after the move again (told: %1)")
                                    .arg(dialogs.messages().join(QLatin1Char('|')));
                    ++tally[QStringLiteral("the round lost by the move again")];
                }
                DBCtrl::closeDB();
            }
            for (const QString& file : leftoversIn(world.shared()))
                problems += QStringLiteral("; left behind: ") + QFileInfo(file).fileName();
            problems.remove(0, problems.startsWith(QStringLiteral("; ")) ? 2 : 0);
            return problems;
        });
    for (auto it = tally.cbegin(); it != tally.cend(); ++it)
        qInfo("%s: %d", qPrintable(it.key()), it.value());
    // The folder's names are given before this computer's own, one rename after the other: only a
    // stop between those two renames leaves the folder replaced by a move this computer did not make.
    const int replacedWithoutTheMove = tally.value(QStringLiteral("reads as after, this computer not moved"));
    QVERIFY2(replacedWithoutTheMove <= 1, qPrintable(QString::number(replacedWithoutTheMove)));
    QVERIFY(tally.value(QStringLiteral("reads as before, this computer moved")) == 0);
}

void TestStoppedWrites::movingBackToThisComputer_data() {
    QTest::addColumn<bool>("dataLeftHere");
    QTest::newRow("to the data left here") << true;
    // A computer that has only ever used the shared folder: its database is created.
    QTest::newRow("to no data here") << false;
}

void TestStoppedWrites::movingBackToThisComputer() {
    QFETCH(bool, dataLeftHere);
    killAtEveryPoint(
        [&](const World& world) {
            inTheSharedFolder(world);
            if (!dataLeftHere)
                QFile::remove(world.localDatabase());
        },
        [](const World&) { return QStringList{QStringLiteral("back")}; },
        [&](const World& world) {
            QString problems = nextStartProblems(world, kPassword);
            const bool back = !fileValues(myPrefs::localPrefFile()).value_or(Values{}).useAltLoc;
            const QStringList expected = back && !dataLeftHere ? QStringList{} : QStringList{kStudent};
            const QString inUse = back ? world.localDatabase() : world.sharedDatabase();
            if (studentsIn(inUse) != expected)
                problems += QStringLiteral("; students in use: ") + studentsIn(inUse).join(QLatin1Char(','));
            return problems;
        });
}

void TestStoppedWrites::savingThePreferences() {
    killAtEveryPoint([](const World& world) { inTheSharedFolder(world); },
                     [](const World&) {
                         return QStringList{QStringLiteral("save"), QStringLiteral("70")};
                     },
                     [](const World& world) {
                         QString problems = nextStartProblems(world, kPassword);
                         if (myPrefs::prPctCrit != 85 && myPrefs::prPctCrit != 70)
                             problems += QStringLiteral("; percentage %1").arg(myPrefs::prPctCrit);
                         if (!myPrefs::prUseAltLoc)
                             problems += QStringLiteral("; network mode lost");
                         // The shared file is the save's commit point: this computer's copy never
                         // holds the new value while the share still holds the old one.
                         const int shared =
                             fileValues(world.shared() + QStringLiteral("/com.orlavo.vavava.plist"))
                                 .value_or(Values{})
                                 .pctCrit;
                         const int local = fileValues(myPrefs::localPrefFile()).value_or(Values{}).pctCrit;
                         if ((shared != 85 && shared != 70) || (local == 70 && shared != 70))
                             problems +=
                                 QStringLiteral("; shared %1, this computer %2").arg(shared).arg(local);
                         return problems;
                     });
}

void TestStoppedWrites::twoMovesIntoOneFolderAtOnce() {
    // Two computers choose the same empty folder at once: computer A's move is held at each of its
    // file-changing calls in turn, from its look into the folder to its end, while computer B's move
    // into the folder runs to its end; then A goes on. Whichever commits second either is asked the
    // Replace question or is refused in words; the folder holds one school's preferences and one
    // whole database; and each computer's own file says network mode only when it uses that database.
    const QString driver = KillPoints::driver(QStringLiteral("data_drv_datafiles"));
    auto computers = [](const World& world) {
        return std::pair<Computer, Computer>{{world.sandbox.path(QStringLiteral("a")),
                                              QStringLiteral("PassA"), 4, QStringLiteral("Student A")},
                                             {world.sandbox.path(QStringLiteral("b")),
                                              QStringLiteral("PassB"), 5, QStringLiteral("Student B")}};
    };
    // A's points: those of its start, then those of its move.
    auto countPoints = [&](const QString& action) {
        World world;
        const auto [a, b] = computers(world);
        a.setUp();
        QDir().mkpath(world.shared());
        QTemporaryDir scratch;
        const QString countFile = scratch.filePath(QStringLiteral("count"));
        QProcess process;
        process.setProcessEnvironment(KillPoints::underShim(a.environment(), countFile, 0));
        process.setProcessChannelMode(QProcess::MergedChannels);
        QStringList arguments{action};
        if (action == QStringLiteral("move"))
            arguments << world.shared();
        process.start(driver, arguments);
        const MoveRun run = finish(process);
        if (!run.ended || run.exitCode != 0)
            qWarning("%s", qPrintable(run.output));
        return TestPrefs::readBytes(countFile).trimmed().toInt();
    };
    const int startPoints = countPoints(QStringLiteral("start"));
    const int allPoints = countPoints(QStringLiteral("move"));
    QVERIFY2(allPoints > startPoints && startPoints >= 0,
             qPrintable(QStringLiteral("%1 and %2 points").arg(startPoints).arg(allPoints)));

    QMap<QString, int> tally;
    QStringList failures;
    for (int at = startPoints + 1; at <= allPoints; ++at) {
        World world;
        const auto [a, b] = computers(world);
        a.setUp();
        b.setUp();
        QDir().mkpath(world.shared());

        QProcess first;
        first.setProcessEnvironment(KillPoints::underShim(a.environment(), QString(), 0, at));
        first.setProcessChannelMode(QProcess::MergedChannels);
        first.start(driver, {QStringLiteral("move"), world.shared()});
        if (!first.waitForStarted(10000) || !KillPoints::waitUntilStopped(first.processId(), 20000)) {
            failures
                << QStringLiteral("point %1: A did not stop there (%2)").arg(at).arg(finish(first).output);
            continue;
        }
        QProcess second;
        second.setProcessEnvironment(b.environment());
        second.setProcessChannelMode(QProcess::MergedChannels);
        second.start(driver, {QStringLiteral("move"), world.shared()});
        const MoveRun runB = finish(second);
        ::kill(static_cast<pid_t>(first.processId()), SIGCONT);
        const MoveRun runA = finish(first);

        // Each computer: its own file, the database it used at its end, what it was told.
        struct Seen {
            const Computer& computer;
            const MoveRun& run;
            const char* name;
            bool saysNetwork = false;
        };
        Seen seen[] = {{a, runA, "A"}, {b, runB, "B"}};
        QStringList problems;
        for (Seen& s : seen) {
            const auto own = fileValues(s.computer.prefsFile());
            s.saysNetwork = own && own->useAltLoc && own->altFileLoc == world.shared();
            const bool usesShared = s.run.inUse() == world.sharedDatabase();
            if (!s.run.ended)
                problems << QStringLiteral("%1 did not end: %2").arg(QLatin1String(s.name), s.run.output);
            if (s.saysNetwork != usesShared)
                problems << QStringLiteral("%1's own file says network mode %2 while it uses \"%3\"")
                                .arg(QLatin1String(s.name))
                                .arg(s.saysNetwork ? QStringLiteral("on") : QStringLiteral("off"),
                                     s.run.inUse());
            if (!usesShared && studentsIn(s.computer.database()) != QStringList{s.computer.student})
                problems << QStringLiteral("%1's own data: %2")
                                .arg(QLatin1String(s.name),
                                     studentsIn(s.computer.database()).join(QLatin1Char(',')));
            if (s.run.output.contains(QStringLiteral("A error of type: 14 occurred.")))
                problems
                    << QStringLiteral("%1 told \"A error of type: 14 occurred.\"").arg(QLatin1String(s.name));
        }

        // The folder: preferences that name it, under both names alike, and one whole database with
        // the student of the computer that set it up.
        const QString older = world.shared() + QStringLiteral("/nbq10.pref");
        const QString newer = world.shared() + QStringLiteral("/com.orlavo.vavava.plist");
        const auto folderPrefs = fileValues(older);
        if (!folderPrefs || !folderPrefs->useAltLoc || folderPrefs->altFileLoc != world.shared())
            problems << QStringLiteral("nbq10.pref in the folder does not name it");
        if (QFileInfo::exists(newer) && fileValues(newer) != folderPrefs)
            problems << QStringLiteral("the folder's two preferences names disagree");
        const QStringList inFolder = studentsIn(world.sharedDatabase());
        if (inFolder != QStringList{a.student} && inFolder != QStringList{b.student})
            problems << QStringLiteral("the folder's database holds: ") + inFolder.join(QLatin1Char(','));
        for (const QString& file : leftoversIn(world.shared()))
            problems << QStringLiteral("left behind: ") + QFileInfo(file).fileName();

        // Who committed second, and how it went.
        QString outcome;
        if (seen[0].saysNetwork && seen[1].saysNetwork) {
            // Both moved: the folder holds the preferences of the one that committed second.
            const int last = folderPrefs && folderPrefs->maxTries == a.maxTries ? 0 : 1;
            const Seen& second = seen[last];
            const Seen& firstOne = seen[1 - last];
            if (second.run.asked()) {
                outcome = QStringLiteral("%1 committed second and was asked").arg(QLatin1String(second.name));
                // "Replace" keeps the school's password that the first one set there.
                if (passwordField(TestPrefs::readBytes(older)) !=
                    passwordField(TestPrefs::readBytes(firstOne.computer.prefsFile())))
                    problems << QStringLiteral("%1's Replace took away the password %2 set")
                                    .arg(QLatin1String(second.name), QLatin1String(firstOne.name));
            } else {
                outcome = QStringLiteral("%1 replaced %2's preferences without the question")
                              .arg(QLatin1String(second.name), QLatin1String(firstOne.name));
                problems << outcome;
            }
        } else if (seen[0].saysNetwork != seen[1].saysNetwork) {
            const Seen& refused = seen[seen[0].saysNetwork ? 1 : 0];
            const QString said = refused.run.told().join(QLatin1Char('|'));
            if (said.contains(QStringLiteral("another computer"), Qt::CaseInsensitive) &&
                said.contains(QStringLiteral("Nothing has been changed"))) {
                outcome = QStringLiteral("%1 refused in words").arg(QLatin1String(refused.name));
            } else {
                outcome = QStringLiteral("%1 refused: %2").arg(QLatin1String(refused.name), said);
                problems << outcome;
            }
        } else {
            outcome = QStringLiteral("neither moved");
            problems << outcome;
        }
        // The figures by outcome; the refusals' own words vary with the point, so they count alike.
        QString kind = outcome;
        kind.replace(QRegularExpression(QStringLiteral("^([AB]) refused: .*")),
                     QStringLiteral("\\1 refused, not in words"));
        ++tally[kind];
        qInfo("point %d: %s", at,
              qPrintable(problems.isEmpty() ? outcome : problems.join(QStringLiteral("; "))));
        if (!problems.isEmpty())
            failures << QStringLiteral("point %1: %2").arg(at).arg(problems.join(QStringLiteral("; ")));
    }
    for (auto it = tally.cbegin(); it != tally.cend(); ++it)
        qInfo("%s: %d", qPrintable(it.key()), it.value());
    qInfo("%d stop points, %d left a good state", allPoints - startPoints,
          allPoints - startPoints - static_cast<int>(failures.size()));
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestStoppedWrites)
#include "tst_stoppedwrites.moc"
