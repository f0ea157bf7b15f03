// The shared network folder is writable by every student account of the school, and so is anything
// a student can plant there: a symbolic link to a teacher's file, a name the program might take for
// its own. These tests plant such things in the shared folder and in this user's preferences folder
// and check that the program's reads, writes, copies and removals never reach through them; that the
// removal of what stopped writes left takes only the program's own temporary files; that the shared
// preferences files are open to every account, and one another account made read-only is named; that
// a commit stopped half-way puts back what it had already replaced; and that the messages of a full
// disk and of a password cleared on another computer say what happened.

#include "data/dbctrl.h"
#include "data/durable.h"
#include "data/globals.h"
#include "data/locations.h"
#include "data/prefs.h"
#include "data/random.h"
#include "datafiles.h"
#include "prefs_file.h"
#include "support/doubles.h"
#include "support/killpoints.h"
#include "support/unprivileged.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using myPrefs::Values;
using TestDoubles::ScriptedDialogs;
using TestDoubles::Shown;
using TestFiles::ageBy;
using TestFiles::modeOf;

using TestPrefs::fileValues;
using TestPrefs::writeValues;

namespace {

const QString kNewer = QStringLiteral("com.orlavo.vavava.plist");
const QString kOlder = QStringLiteral("nbq10.pref");
const QString kDamaged = QStringLiteral(".damaged");
// The shared folder of the read-only test, prepared by the superuser for the unprivileged run.
const char* const kPreparedShare = "NBR_TEST_PREPARED_SHARE";
// Older than any temporary file another computer may still be writing.
constexpr int kADayAndMore = static_cast<int>(Durable::kLeftoverSeconds) + 60 * 60;

QString allShown(const ScriptedDialogs& dialogs) {
    QStringList out;
    for (const Shown& s : dialogs.shown)
        out << s.text();
    return out.isEmpty() ? QStringLiteral("nothing") : out.join(QStringLiteral(" // "));
}

// A caution (a message box, not a question) whose message or explanation names the file and holds
// the given words.
bool cautionNames(const ScriptedDialogs& dialogs, const QString& file, const QString& words) {
    const QString name = QFileInfo(file).fileName();
    for (const Shown& s : dialogs.shown) {
        if (s.kind == Shown::Msg && s.isCaution && s.text().contains(name) &&
            s.text().contains(words, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// The kind and permission bits of a name itself, a link not followed.
mode_t lmodeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}

bool isLink(const QString& path) {
    return S_ISLNK(lmodeOf(path));
}

// Sets a name's own times back, a link's too (TestFiles::ageBy would age what it points at).
bool ageNameBy(const QString& path, int seconds) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (::lstat(name.constData(), &st) != 0)
        return false;
    const timespec times[2] = {{st.st_atime - seconds, 0}, {st.st_mtime - seconds, 0}};
    return ::utimensat(AT_FDCWD, name.constData(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

// Every regular file under `root` that holds `bytes`, with its mode: a copy of a teacher's file.
QStringList copiesOf(const QString& root, const QByteArray& bytes, const QString& original) {
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path != original && TestPrefs::readBytes(path).contains(bytes))
            found << QStringLiteral("%1 (mode %2)").arg(path, QString::number(modeOf(path), 8));
    }
    return found;
}

// Every name of a folder with what stands there: a link as its target, a file as its bytes.
QMap<QString, QByteArray> namesIn(const QString& folder) {
    QMap<QString, QByteArray> out;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = dir.filePath(name);
        out.insert(name, isLink(path) ? "link to " + QFile::encodeName(QFileInfo(path).symLinkTarget())
                                      : TestPrefs::readBytes(path));
    }
    return out;
}

QString modeText(int mode) {
    return QStringLiteral("0") + QString::number(mode, 8);
}

// Where a link is planted, and what the program does next.
enum class At { SharedNewer, SharedOlder, SharedDamagedCopy, LocalFile, LocalDamagedCopy };
enum class Act { Start, Save, Move };
// What the link points at: a preferences file of the teacher's (whose values must never come into
// force), a script the teacher runs, or a file only the teacher may read.
enum class Target { Preferences, Script, OwnerOnly };

Values teachersFileValues() {
    Values v;
    v.passWord = QStringLiteral("Their1");
    v.maxTries = 6;
    v.pctCrit = 70;
    return v;
}

} // namespace

class TestHostileFolder : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void noLinkIsFollowed_data();
    void noLinkIsFollowed();
    void onlyTheProgramsOwnLeftoversGo_data();
    void onlyTheProgramsOwnLeftoversGo();
    void sharedPreferencesAreOpenToEveryAccount_data();
    void sharedPreferencesAreOpenToEveryAccount();
    void aSharedFileMadeReadOnlyIsNamed();
    void aCommitStoppedHalfWayPutsBackWhatItReplaced_data();
    void aCommitStoppedHalfWayPutsBackWhatItReplaced();
    void aFullDiskIsSaidToBeFull_data();
    void aFullDiskIsSaidToBeFull();
    void aPasswordClearedElsewhereIsNotSaidToBeKept_data();
    void aPasswordClearedElsewhereIsNotSaidToBeKept();
    void linksBesideThePreferencesAreNotUsed();

private:
    std::unique_ptr<TestPrefs::Sandbox> sandbox_;
    mode_t umask_ = 022;
};

void TestHostileFolder::init() {
    umask_ = ::umask(022);
    ::umask(umask_);
    sandbox_ = std::make_unique<TestPrefs::Sandbox>();
    myPrefs::setSoundStatesHandler({});
    myPrefs::initPrefs();
    myPrefs::prefsDirty = false;
    App::myRnd().seed(4711);
}

void TestHostileFolder::cleanup() {
    DBCtrl::closeDB();
    ::umask(umask_);
    qunsetenv("NBR_FULL_UNDER");
    myPrefs::setSoundStatesHandler({});
    sandbox_.reset();
}

void TestHostileFolder::noLinkIsFollowed_data() {
    QTest::addColumn<At>("at");
    QTest::addColumn<Act>("act");
    QTest::addColumn<Target>("target");
    QTest::addColumn<Seams::Answer>("answer"); // to the move's Replace question, if it is asked
    QTest::addColumn<bool>("saveRefused");     // a save must not go through at all

    const auto R = Seams::Answer::Default;
    const auto C = Seams::Answer::Cancel;
    QTest::newRow("shared newer name, start")
        << At::SharedNewer << Act::Start << Target::Preferences << R << false;
    QTest::newRow("shared newer name, save")
        << At::SharedNewer << Act::Save << Target::Preferences << R << true;
    QTest::newRow("shared older name, start")
        << At::SharedOlder << Act::Start << Target::Preferences << R << false;
    // The save writes the newer name; what it reads first is the older one, the file in use.
    QTest::newRow("shared older name, save")
        << At::SharedOlder << Act::Save << Target::Preferences << R << false;
    // A student put bytes of their own in the newer name: the start keeps a copy of the file it
    // cannot read, and that copy must not land in the teacher's script.
    QTest::newRow("shared damaged copy, start")
        << At::SharedDamagedCopy << Act::Start << Target::Script << R << false;
    QTest::newRow("local file, start") << At::LocalFile << Act::Start << Target::Preferences << R << false;
    QTest::newRow("local file, save") << At::LocalFile << Act::Save << Target::Preferences << R << true;
    QTest::newRow("local damaged copy, start")
        << At::LocalDamagedCopy << Act::Start << Target::Script << R << false;
    // A copy kept of the file "beside it" would hand its bytes to every account.
    QTest::newRow("shared newer name to an owner-only file, start")
        << At::SharedNewer << Act::Start << Target::OwnerOnly << R << false;
    QTest::newRow("shared newer name to an owner-only file, save")
        << At::SharedNewer << Act::Save << Target::OwnerOnly << R << true;
    QTest::newRow("move, older name a link, Replace")
        << At::SharedOlder << Act::Move << Target::Preferences << R << false;
    QTest::newRow("move, newer name a link, Replace")
        << At::SharedNewer << Act::Move << Target::Preferences << R << false;
    QTest::newRow("move, newer name a link, Cancel")
        << At::SharedNewer << Act::Move << Target::Preferences << C << false;
}

void TestHostileFolder::noLinkIsFollowed() {
    QFETCH(At, at);
    QFETCH(Act, act);
    QFETCH(Target, target);
    QFETCH(Seams::Answer, answer);
    QFETCH(bool, saveRefused);
    ScriptedDialogs dialogs;
    const QString shared = sandbox_->folder("share/Numbrook");
    const QString local = myPrefs::localPrefFile();
    QVERIFY(!local.isEmpty());
    const bool inShared = at == At::SharedNewer || at == At::SharedOlder || at == At::SharedDamagedCopy;
    const bool network = inShared && act != Act::Move;

    // The teacher's file outside both folders.
    const QString teachers = sandbox_->folder("teacher");
    QString targetFile;
    QByteArray targetBytes;
    int targetMode = 0644;
    switch (target) {
    case Target::Preferences:
        targetFile = teachers + "/school-setup.plist";
        targetBytes = *myPrefs::encodeFile(teachersFileValues());
        break;
    case Target::Script:
        targetFile = teachers + "/marks.sh";
        targetBytes = "#!/bin/sh\n# the teacher's marking script\nexec sort -k2 marks.txt\n";
        targetMode = 0755;
        break;
    case Target::OwnerOnly:
        targetFile = teachers + "/report-cards.txt";
        targetBytes = "Report cards, not yet sent home: Ada 4 stars, Alan 2 stars.\n";
        targetMode = 0600;
        break;
    }
    QVERIFY(TestPrefs::writeBytes(targetFile, targetBytes));
    QCOMPARE(::chmod(QFile::encodeName(targetFile).constData(), targetMode), 0);

    // This computer's own preferences, in network mode when the link waits in the shared folder.
    Values mine;
    mine.passWord = QStringLiteral("Teach");
    mine.maxTries = 4;
    mine.useAltLoc = network;
    mine.altFileLoc = network ? shared : QString();
    if (at != At::LocalFile)
        QVERIFY(writeValues(local, mine));
    if (network)
        QVERIFY(TestPrefs::putSchoolDatabase(shared));

    QString linkAt;
    switch (at) {
    case At::SharedNewer:
        linkAt = shared + "/" + kNewer;
        break;
    case At::SharedOlder:
        linkAt = shared + "/" + kOlder;
        break;
    case At::SharedDamagedCopy:
        QVERIFY(TestPrefs::writeBytes(shared + "/" + kNewer, "echo a student's bytes\n"));
        linkAt = shared + "/" + kNewer + kDamaged;
        break;
    case At::LocalFile:
        linkAt = local;
        break;
    case At::LocalDamagedCopy:
        QVERIFY(TestPrefs::writeBytes(local, "\x05garb"));
        linkAt = local + kDamaged;
        break;
    }
    QVERIFY(QFile::link(targetFile, linkAt));

    QStringList wrong;
    if (act == Act::Move) {
        // This computer in local mode with its own data, moving to a folder that holds the link.
        myPrefs::hndlReadingPrefs();
        DBCtrl::check4Database(myPrefs::getDataFileLoc());
        QVERIFY(DBCtrl::isConnected());
        const QString database = DBCtrl::databasePath();
        const Values before = myPrefs::current();
        const QByteArray localBefore = TestPrefs::readBytes(local);
        const QMap<QString, QByteArray> folderBefore = namesIn(shared);
        dialogs.clear();
        dialogs.answers = {answer};
        myPrefs::createRemoteFileInfo(shared);
        if (!cautionNames(dialogs, linkAt, QStringLiteral("link")))
            wrong
                << QStringLiteral("no caution names %1 as a link (shown: %2)").arg(linkAt, allShown(dialogs));
        if (namesIn(shared) != folderBefore)
            wrong << QStringLiteral("the folder changed: %1")
                         .arg(QStringList(namesIn(shared).keys()).join(", "));
        if (myPrefs::current() != before)
            wrong << QStringLiteral("the preferences in force changed");
        if (TestPrefs::readBytes(local) != localBefore)
            wrong << QStringLiteral("this computer's preferences file changed");
        if (DBCtrl::databasePath() != database || !DBCtrl::isConnected())
            wrong << QStringLiteral("the database in use changed to %1").arg(DBCtrl::databasePath());
    } else {
        myPrefs::hndlReadingPrefs();
        // What names the link may be the start's read or the save itself: a save that writes the
        // newer name leaves a link at the older one alone, which the start has named.
        if (act == Act::Save) {
            myPrefs::Changes changes;
            changes.numCrit = 60;
            const bool saved = myPrefs::hndlWritingPrefs(changes);
            if (saved && saveRefused)
                wrong << QStringLiteral("the save went through");
        }
        if (!cautionNames(dialogs, linkAt, QStringLiteral("link")))
            wrong
                << QStringLiteral("no caution names %1 as a link (shown: %2)").arg(linkAt, allShown(dialogs));
    }

    // The teacher's file as it was, and nothing of it anywhere else.
    if (TestPrefs::readBytes(targetFile) != targetBytes)
        wrong << QStringLiteral("the teacher's file now holds \"%1\"")
                     .arg(QString::fromLatin1(TestPrefs::readBytes(targetFile).left(40).toHex(' ')));
    if (lmodeOf(targetFile) != (S_IFREG | static_cast<mode_t>(targetMode)))
        wrong << QStringLiteral("the teacher's file is now mode %1, was %2")
                     .arg(modeText(lmodeOf(targetFile) & 07777), modeText(targetMode));
    const QStringList copies = copiesOf(sandbox_->path(QString()), targetBytes, targetFile);
    if (!copies.isEmpty())
        wrong << QStringLiteral("a copy of the teacher's file: ") + copies.join(QStringLiteral(", "));
    if (target == Target::Preferences && (myPrefs::prMaxTries == teachersFileValues().maxTries ||
                                          myPrefs::prPassWord == teachersFileValues().passWord))
        wrong << QStringLiteral("the teacher's file was read: its values are in force");
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("\n"))));

    if (::geteuid() == 0) {
        // File modes bind everyone but the superuser: the same row again as an unprivileged account.
        const QByteArray row = QByteArray("noLinkIsFollowed:") + QTest::currentDataTag();
        QVERIFY(TestDoubles::passesUnprivileged(row.constData()));
    }
}

void TestHostileFolder::onlyTheProgramsOwnLeftoversGo_data() {
    QTest::addColumn<QString>("folder"); // "shared", "config" (this user's preferences) or "data"
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); // "file", "link" or "folder"
    QTest::addColumn<int>("age");      // seconds since anything touched it
    QTest::addColumn<bool>("removed");

    // A teacher's own copies, old as they may be, and the temporary form of earlier versions, which a
    // teacher's name may take as well.
    const QStringList teachersCopies{"nbq10.pref.backup",
                                     "nbq10.pref.before",
                                     "com.orlavo.vavava.plist.backup",
                                     "com.orlavo.vavava.plist.orig01",
                                     "com.orlavo.vavava.plist.2024Jn",
                                     "NB_Data.rbd.backup",
                                     "com.orlavo.vavava.plist.a1B2c3",
                                     "com.orlavo.vavava.plist.damaged.Qw12Er"};
    for (const QString& name : teachersCopies)
        QTest::addRow("stays: shared %s", qPrintable(name))
            << "shared" << name << "file" << kADayAndMore << false;
    for (const QString& name :
         {QStringLiteral("com.orlavo.vavava.plist.backup"), QStringLiteral("com.orlavo.vavava.plist.a1B2c3"),
          QStringLiteral("com.orlavo.vavava.plist.damaged.orig01")})
        QTest::addRow("stays: config %s", qPrintable(name))
            << "config" << name << "file" << kADayAndMore << false;

    // The program's form, but not to be taken: another computer may be writing it now, or it is not
    // a file the program made.
    const QString newForm = QStringLiteral(".com.orlavo.vavava.plist.nbrtmp-a1B2c3");
    QTest::newRow("stays: fresh") << "shared" << newForm << "file" << 0 << false;
    QTest::newRow("stays: two hours old") << "shared" << newForm << "file" << 2 * 60 * 60 << false;
    QTest::newRow("stays: a link") << "shared" << newForm << "link" << kADayAndMore << false;
    QTest::newRow("stays: a folder") << "shared" << newForm << "folder" << kADayAndMore << false;
    QTest::newRow("stays: five letters") << "shared"
                                         << ".com.orlavo.vavava.plist.nbrtmp-a1B2c"
                                         << "file" << kADayAndMore << false;
    QTest::newRow("stays: not hidden") << "shared"
                                       << "com.orlavo.vavava.plist.nbrtmp-a1B2c3"
                                       << "file" << kADayAndMore << false;

    // What stopped writes of the program leave, a day old.
    const QStringList sharedLeftovers{".com.orlavo.vavava.plist.nbrtmp-a1B2c3",
                                      ".nbq10.pref.nbrtmp-Zz09aa",
                                      ".com.orlavo.vavava.plist.damaged.nbrtmp-k3Lm9Q",
                                      ".nbq10.pref.damaged.nbrtmp-000000",
                                      ".NB_Data.rbd.nbrtmp-Zz09aa",
                                      ".NB_Data.rbd.nbrtmp-Zz09aa-journal"};
    for (const QString& name : sharedLeftovers)
        QTest::addRow("goes: shared %s", qPrintable(name))
            << "shared" << name << "file" << kADayAndMore << true;
    for (const QString& name : {QStringLiteral(".com.orlavo.vavava.plist.nbrtmp-a1B2c3"),
                                QStringLiteral(".com.orlavo.vavava.plist.damaged.nbrtmp-a1B2c3")})
        QTest::addRow("goes: config %s", qPrintable(name))
            << "config" << name << "file" << kADayAndMore << true;
    for (const QString& name :
         {QStringLiteral(".NB_Data.rbd.nbrtmp-Zz09aa"), QStringLiteral(".NB_Data.rbd.nbrtmp-Zz09aa-journal")})
        QTest::addRow("goes: data %s", qPrintable(name)) << "data" << name << "file" << kADayAndMore << true;
}

void TestHostileFolder::onlyTheProgramsOwnLeftoversGo() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(int, age);
    QFETCH(bool, removed);
    ScriptedDialogs dialogs;
    // Network mode, so that the start tidies the shared folder as well as this user's folders.
    const QString shared = sandbox_->folder("share/Numbrook");
    QVERIFY(TestPrefs::putSchoolDatabase(shared));
    myPrefs::prUseAltLoc = true;
    myPrefs::prAltFileLoc = shared;
    const QString in = folder == "shared"   ? shared
                       : folder == "config" ? sandbox_->folder("config")
                                            : sandbox_->folder("data/OVR");
    const QString path = in + "/" + name;
    const QString elsewhere = sandbox_->folder("teacher") + "/notes.txt";
    QVERIFY(TestPrefs::writeBytes(elsewhere, "the teacher's notes"));
    QVERIFY(ageNameBy(elsewhere, age));
    if (kind == "file")
        QVERIFY(TestPrefs::writeBytes(path, "x"));
    else if (kind == "link")
        QVERIFY(QFile::link(elsewhere, path));
    else
        QVERIFY(QDir().mkdir(path));
    QVERIFY(ageNameBy(path, age));

    myPrefs::removeCrashLeftovers();
    QCOMPARE(lmodeOf(path) != 0, !removed);
    QCOMPARE(TestPrefs::readBytes(elsewhere), QByteArray("the teacher's notes"));
    QVERIFY(QFileInfo::exists(shared + "/NB_Data.rbd"));
    QVERIFY2(dialogs.shown.isEmpty(), qPrintable(allShown(dialogs)));
}

void TestHostileFolder::sharedPreferencesAreOpenToEveryAccount_data() {
    QTest::addColumn<int>("mask");
    QTest::newRow("umask 022") << 022;
    QTest::newRow("umask 077") << 077;
}

void TestHostileFolder::sharedPreferencesAreOpenToEveryAccount() {
    QFETCH(int, mask);
    ScriptedDialogs dialogs;
    ::umask(static_cast<mode_t>(mask));
    const QString shared = sandbox_->folder("share/Numbrook");
    const QString local = myPrefs::localPrefFile();
    const QString newer = shared + "/" + kNewer;
    const QString older = shared + "/" + kOlder;
    myPrefs::prPassWord = QStringLiteral("Teach");
    QVERIFY(myPrefs::writePrefFile(local));
    myPrefs::hndlReadingPrefs();
    DBCtrl::check4Database(myPrefs::getDataFileLoc());

    // Each file after each step whose mode is not what it must be.
    QStringList wrong;
    auto look = [&](const QString& step, const QStringList& files, const QStringList& want) {
        for (qsizetype i = 0; i < files.size(); ++i) {
            const QString mode = modeText(modeOf(files[i]));
            if (mode != want[i]) {
                wrong << QStringLiteral("%1: %2 %3 is %4, must be %5")
                             .arg(step, files[i] == local ? "local" : "shared",
                                  QFileInfo(files[i]).fileName(), mode, want[i]);
            }
        }
    };

    // The move writes the older name into the empty folder.
    myPrefs::createRemoteFileInfo(shared);
    QVERIFY2(myPrefs::prUseAltLoc, qPrintable(allShown(dialogs)));
    look("move", {older, local}, {"0666", "0600"});

    // A save in network mode writes the newer name.
    myPrefs::Changes changes;
    changes.numCrit = 60;
    QVERIFY2(myPrefs::hndlWritingPrefs(changes), qPrintable(allShown(dialogs)));
    look("save", {newer, older, local}, {"0666", "0666", "0600"});

    // A file an account's narrow umask left closed to the others is opened at the next write.
    QCOMPARE(::chmod(QFile::encodeName(newer).constData(), 0600), 0);
    changes.numCrit = 70;
    QVERIFY2(myPrefs::hndlWritingPrefs(changes), qPrintable(allShown(dialogs)));
    look("save over 0600", {newer}, {"0666"});

    // A copy kept of a damaged file is read by every computer of the school like the file itself.
    QVERIFY(TestPrefs::writeBytes(newer, "\x05garb"));
    myPrefs::hndlReadingPrefs();
    look("damaged", {newer + kDamaged}, {"0666"});

    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral("\n"))));
}

void TestHostileFolder::aSharedFileMadeReadOnlyIsNamed() {
    if (::geteuid() == 0) {
        // The superuser writes any file. It makes the school's files as another account would, in a
        // folder every account may write, and the save runs as an unprivileged account.
        QTemporaryDir place(QDir::tempPath() + QStringLiteral("/nbr-readonly-share-XXXXXX"));
        QVERIFY(place.isValid());
        QCOMPARE(::chmod(QFile::encodeName(place.path()).constData(), 0755), 0);
        const QString shared = place.filePath(QStringLiteral("Numbrook"));
        QVERIFY(QDir().mkdir(shared));
        QCOMPARE(::chmod(QFile::encodeName(shared).constData(), 0777), 0);
        QVERIFY(TestPrefs::putSchoolDatabase(shared));
        QCOMPARE(::chmod(QFile::encodeName(shared + "/NB_Data.rbd").constData(), 0666), 0);
        const QString newer = shared + "/" + kNewer;
        const QByteArray bytes = TestPrefs::schoolPrefs(QStringLiteral("Principal"));
        QVERIFY(TestPrefs::writeBytes(newer, bytes));
        QCOMPARE(::chmod(QFile::encodeName(newer).constData(), 0644), 0);

        qputenv(kPreparedShare, QFile::encodeName(shared));
        const bool passed = TestDoubles::passesUnprivileged("aSharedFileMadeReadOnlyIsNamed");
        qunsetenv(kPreparedShare);
        QVERIFY(passed);
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(newer).constData(), &st), 0);
        QCOMPARE(st.st_uid, uid_t(0));
        QCOMPARE(modeText(st.st_mode & 07777), QStringLiteral("0644"));
        QCOMPARE(TestPrefs::readBytes(newer), bytes);
        return;
    }

    ScriptedDialogs dialogs;
    QString shared = qEnvironmentVariable(kPreparedShare);
    if (shared.isEmpty()) {
        // Run by an unprivileged user alone: the file made read-only is its own.
        shared = sandbox_->folder("share/Numbrook");
        QVERIFY(TestPrefs::putSchoolDatabase(shared));
        QVERIFY(TestPrefs::writeBytes(shared + "/" + kNewer, TestPrefs::schoolPrefs("Principal")));
        QVERIFY(QFile::setPermissions(shared + "/" + kNewer, QFileDevice::ReadOwner | QFileDevice::ReadGroup |
                                                                 QFileDevice::ReadOther));
    }
    const QString newer = shared + "/" + kNewer;
    const QByteArray before = TestPrefs::readBytes(newer);
    QVERIFY(!before.isEmpty());
    Values mine;
    mine.passWord = QStringLiteral("Principal");
    mine.useAltLoc = true;
    mine.altFileLoc = shared;
    QVERIFY(writeValues(myPrefs::localPrefFile(), mine));
    myPrefs::hndlReadingPrefs();
    QVERIFY2(myPrefs::prUseAltLoc, qPrintable(allShown(dialogs)));
    dialogs.clear();

    myPrefs::Changes changes;
    changes.numCrit = 60;
    QVERIFY(!myPrefs::hndlWritingPrefs(changes));
    QVERIFY2(cautionNames(dialogs, newer, QStringLiteral("read-only")), qPrintable(allShown(dialogs)));
    QCOMPARE(TestPrefs::readBytes(newer), before);
}

void TestHostileFolder::aCommitStoppedHalfWayPutsBackWhatItReplaced_data() {
    QTest::addColumn<bool>("firstExisted");
    QTest::newRow("the first name replaced") << true;
    QTest::newRow("the first name new") << false;
}

void TestHostileFolder::aCommitStoppedHalfWayPutsBackWhatItReplaced() {
    QFETCH(bool, firstExisted);
    const QString folder = sandbox_->folder("share/Numbrook");
    const QString first = folder + "/" + kOlder;
    const QString second = folder + "/" + kNewer;
    const QByteArray firstBefore = TestPrefs::schoolPrefs(QStringLiteral("Principal"));
    const QByteArray secondBefore = TestPrefs::schoolPrefs(QStringLiteral("Vice-principal"));
    if (firstExisted)
        QVERIFY(TestPrefs::writeBytes(first, firstBefore));
    QVERIFY(TestPrefs::writeBytes(second, secondBefore));
    const QStringList namesBefore =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    QString firstTemporary;
    QString secondTemporary;
    {
        Durable::StagedFiles staged(1 << 20);
        auto newName = [&](const QStringList& known) {
            const QStringList now =
                QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            QStringList added;
            for (const QString& name : now) {
                if (!known.contains(name))
                    added << name;
            }
            return added.size() == 1 ? added[0] : QString();
        };
        QVERIFY(staged.stage(first, "the first's new bytes", Durable::Access::Everyone));
        firstTemporary = newName(namesBefore);
        QVERIFY(!firstTemporary.isEmpty());
        QVERIFY(staged.stage(second, "the second's new bytes", Durable::Access::Everyone));
        secondTemporary = newName(namesBefore + QStringList{firstTemporary});
        QVERIFY(!secondTemporary.isEmpty());

        // The second rename cannot go through once the first has.
        QVERIFY(QFile::remove(folder + "/" + secondTemporary));
        QCOMPARE(staged.commit(), second);
        if (firstExisted)
            QCOMPARE(TestPrefs::readBytes(first), firstBefore);
        else
            QVERIFY(lmodeOf(first) == 0);
        QCOMPARE(TestPrefs::readBytes(second), secondBefore);
    }
    // Nothing of the stopped commit is left in the folder.
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), namesBefore);
    // Staged under the program's own temporary form, which the removal of leftovers knows.
    const QRegularExpression form(QStringLiteral("^\\.(.+)\\.nbrtmp-[A-Za-z0-9]{6}$"));
    QCOMPARE(form.match(firstTemporary).captured(1), kOlder);
    QCOMPARE(form.match(secondTemporary).captured(1), kNewer);
}

void TestHostileFolder::aFullDiskIsSaidToBeFull_data() {
    QTest::addColumn<bool>("network");
    QTest::newRow("this computer's preferences folder full") << false;
    QTest::newRow("the shared folder full") << true;
}

void TestHostileFolder::aFullDiskIsSaidToBeFull() {
    QFETCH(bool, network);
    const QString shared = sandbox_->path("share/Numbrook");
    const QString local = myPrefs::localPrefFile();
    {
        // This computer with the teacher's password and a student, moved to the shared folder when
        // the save is to go there.
        ScriptedDialogs dialogs;
        myPrefs::prPassWord = QStringLiteral("Teach");
        QVERIFY(myPrefs::writePrefFile(local));
        myPrefs::hndlReadingPrefs();
        DBCtrl::check4Database(myPrefs::getDataFileLoc());
        DBCtrl::insertName(QStringLiteral("Ada Lovelace"), QString(), QStringLiteral("Default"));
        if (network) {
            QVERIFY(QDir().mkpath(shared));
            myPrefs::createRemoteFileInfo(shared);
            QVERIFY(myPrefs::hndlWritingPrefs()); // the newer name too
            QVERIFY2(myPrefs::prUseAltLoc, qPrintable(allShown(dialogs)));
        }
        DBCtrl::closeDB();
    }
    const QString full = QFileInfo(network ? shared : myPrefs::userPrefsFolder()).canonicalFilePath() + "/";
    const QString saved = network ? shared + "/" + kNewer : local;
    const QByteArray savedBefore = TestPrefs::readBytes(saved);
    const QByteArray localBefore = TestPrefs::readBytes(local);
    QVERIFY(!savedBefore.isEmpty());
    const QStringList namesBefore =
        QDir(full).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    // A second program, the one the teacher runs, saves a new percentage onto the full disk.
    qputenv("NBR_FULL_UNDER", QFile::encodeName(full));
    const KillPoints::Outcome run =
        KillPoints::run(KillPoints::driver(QStringLiteral("data_drv_datafiles")), {"save", "70"});
    qunsetenv("NBR_FULL_UNDER");
    QVERIFY2(run.started && !run.killed && run.exitCode == 1, qPrintable(run.output));
    // The driver prints each caution as "message / explanation".
    QStringList explanations;
    for (const QString& line : run.output.split(QLatin1Char('\n'))) {
        if (line.contains(QStringLiteral(" / ")))
            explanations << line.section(QStringLiteral(" / "), 1);
    }
    QVERIFY2(!run.output.contains(QStringLiteral("You may not have permission")), qPrintable(run.output));
    QVERIFY2(!explanations.filter(QStringLiteral("full"), Qt::CaseInsensitive).isEmpty(),
             qPrintable(run.output));
    QCOMPARE(TestPrefs::readBytes(saved), savedBefore);
    QCOMPARE(TestPrefs::readBytes(local), localBefore);
    QCOMPARE(QDir(full).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), namesBefore);
}

void TestHostileFolder::aPasswordClearedElsewhereIsNotSaidToBeKept_data() {
    QTest::addColumn<bool>("network");
    QTest::newRow("cleared by another computer on the server") << true;
    QTest::newRow("cleared in this computer's file by another program") << false;
}

void TestHostileFolder::aPasswordClearedElsewhereIsNotSaidToBeKept() {
    QFETCH(bool, network);
    ScriptedDialogs dialogs;
    const QString shared = sandbox_->folder("share/Numbrook");
    const QString local = myPrefs::localPrefFile();
    const QString newer = shared + "/" + kNewer;
    Values mine;
    mine.passWord = QStringLiteral("Teach");
    mine.maxTries = 4;
    mine.useAltLoc = network;
    mine.altFileLoc = network ? shared : QString();
    QVERIFY(writeValues(local, mine));
    if (network) {
        QVERIFY(TestPrefs::putSchoolDatabase(shared));
        Values theirs = mine;
        theirs.maxTries = 5;
        QVERIFY(writeValues(newer, theirs) && writeValues(shared + "/" + kOlder, theirs));
    }
    myPrefs::hndlReadingPrefs();
    QVERIFY2(dialogs.shown.isEmpty(), qPrintable(allShown(dialogs)));
    QCOMPARE(myPrefs::prPassWord, QStringLiteral("Teach"));

    // Meanwhile the teacher pressed Clear and saved elsewhere.
    const QString cleared = network ? newer : local;
    auto other = fileValues(cleared);
    QVERIFY(other);
    other->passWord.clear();
    QVERIFY(writeValues(cleared, *other));

    myPrefs::Changes changes;
    changes.numCrit = 60; // the password field left alone
    QVERIFY2(myPrefs::hndlWritingPrefs(changes), qPrintable(allShown(dialogs)));
    QCOMPARE(fileValues(cleared)->passWord, QString());
    QCOMPARE(fileValues(cleared)->numCrit, 60);
    QVERIFY(myPrefs::prPassWord.isEmpty());
    QVERIFY2(!allShown(dialogs).contains(QStringLiteral("was kept")), qPrintable(allShown(dialogs)));
    bool toldCleared = false;
    for (const Shown& s : dialogs.shown)
        toldCleared = toldCleared || (s.kind == Shown::Msg && !s.isCaution && s.message.contains("cleared"));
    QVERIFY2(toldCleared, qPrintable(allShown(dialogs)));
}

void TestHostileFolder::linksBesideThePreferencesAreNotUsed() {
    // A link at the database's name would have every computer open a file of the teacher's as the
    // school's database; one in place of the sets folder would have the teacher's sets, and the
    // folder's modes, go where the student chose.
    ScriptedDialogs dialogs;
    const QString shared = sandbox_->folder("share/Numbrook");
    const QString teachers = sandbox_->folder("teacher");
    const QString teachersDatabase = teachers + "/NB_Data.rbd";
    QVERIFY(TestPrefs::writeBytes(teachersDatabase, QByteArray()));
    QVERIFY(QFile::link(teachersDatabase, shared + "/NB_Data.rbd"));
    QVERIFY(QFile::link(teachers, shared + "/NBQ_InputSets"));
    Values mine;
    mine.passWord = QStringLiteral("Teach");
    mine.useAltLoc = true;
    mine.altFileLoc = shared;
    QVERIFY(writeValues(myPrefs::localPrefFile(), mine));
    QVERIFY(writeValues(shared + "/" + kNewer, mine));
    const mode_t teachersMode = lmodeOf(teachers);

    myPrefs::hndlReadingPrefs();
    QVERIFY2(cautionNames(dialogs, shared + "/NB_Data.rbd", QStringLiteral("link")),
             qPrintable(allShown(dialogs)));
    QVERIFY(!myPrefs::prUseAltLoc); // this run goes on with this computer's own data
    QVERIFY(!myPrefs::holdsSchoolDatabase(shared));

    // Were the folder in use, new sets would still never go through the link.
    myPrefs::prUseAltLoc = true;
    QCOMPARE(myPrefs::makeInputSetsFolder(), QString());
    QCOMPARE(lmodeOf(teachers), teachersMode);
    QVERIFY(isLink(shared + "/NBQ_InputSets"));
    QCOMPARE(TestPrefs::readBytes(teachersDatabase), QByteArray());
}

QTEST_GUILESS_MAIN(TestHostileFolder)
#include "tst_hostilefolder.moc"
