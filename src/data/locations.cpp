#include "locations.h"

#include "dbctrl.h"
#include "durable.h"
#include "globals.h"
#include "outsidefile.h"
#include "prefs.h"
#include "seams.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DBCtrl {
namespace {

enum class Copy { NothingToCopy, Made, ThereAlready, Failed };
// Copies a database file, complete, checked and on the disk, under a temporary name into a folder that
// holds no database (see moveLocalData), for the caller to give it its name; ThereAlready when the
// folder holds one now. A failure has been shown.
Copy copyDatabaseInto(const QString& source, const QString& targetFolder, QString& temporary);

} // namespace
} // namespace DBCtrl

namespace myPrefs {
namespace {

const QString kSameFolderMessage = QStringLiteral("That folder holds this computer's own data.");
const QString kSameFolderExplanation =
    QStringLiteral("Please choose a folder on the shared network drive. Nothing was changed.");

void caution(const QString& message, const QString& explanation) {
    myGlobals::gShowMsg(true, message, explanation);
}

void note(const QString& message, const QString& explanation = QString()) {
    myGlobals::gShowMsg(false, message, explanation);
}

QString child(const QString& folder, const char* name) {
    return QDir(folder).filePath(QString::fromLatin1(name));
}

// Two names of one existing folder (links, "..", a trailing slash) count as the same folder.
bool sameFolder(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

QString localDataFolderPath() {
    const QString base = allUsersDataFolder();
    return base.isEmpty() ? QString() : child(base, kDataFolderName);
}

QString olderPrefFile() {
    for (const QString& folder : allUsersPrefsFolders()) {
        const QString file =
            QDir(child(folder, kDataFolderName)).filePath(QString::fromLatin1(kOldPrefFileName));
        if (QFileInfo::exists(file))
            return file;
    }
    return {};
}

// A new database in the local data folder belongs to this user alone.
constexpr QFileDevice::Permissions kOwnerFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
// A database in the shared folder is used by every computer of the school, under any user.
constexpr QFileDevice::Permissions kEveryone =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
    QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther |
    QFileDevice::ExeOther;

// Takes the group's and everyone's access away and leaves the owner's as it is: a file or folder the
// teacher made read-only on purpose stays read-only.
void closeToOthers(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) == 0 && (st.st_mode & 077) != 0)
        ::chmod(name.constData(), st.st_mode & 07700);
}

// The name whose temporary files a database being made or copied leaves when it is stopped.
QString databaseLeftover() {
    return QString::fromLatin1(DBCtrl::kFileName);
}

// What stopped writes of any computer left in a shared folder: its preferences and its database.
void removeSharedLeftovers(const QString& shared) {
    const QString prefs = QString::fromLatin1(kPrefFileName);
    const QString older = QString::fromLatin1(kOldPrefFileName);
    const QString damaged = QStringLiteral(".damaged");
    Durable::removeLeftovers(shared, {prefs, prefs + damaged, older, older + damaged, databaseLeftover()});
}

// The state to go back to when a move of the data fails half-way.
struct Before {
    Values prefs = current();
    bool passwordUnread = myPrefs::passwordUnread;
    QString database = DBCtrl::isConnected() ? DBCtrl::databasePath() : QString();

    // All preferences, or only the location when the others taken on the way are to stay. The sound
    // player is not told: nothing that fails puts other sound settings in force first, and telling it
    // would undo a choice made in the Sounds tab that is not saved yet.
    void restore(bool restoreAllPrefs = true) const {
        if (restoreAllPrefs) {
            apply(prefs);
            myPrefs::passwordUnread = passwordUnread;
        } else {
            prUseAltLoc = prefs.useAltLoc;
            prAltFileLoc = prefs.altFileLoc;
        }
        if (!database.isEmpty() && (DBCtrl::databasePath() != database || !DBCtrl::isConnected())) {
            DBCtrl::closeDB();
            DBCtrl::connectToDB(database);
        }
    }
};

// Points the connection at the database file, creating it when missing. False when it cannot be
// used (connectToDB has said why).
bool switchDatabase(const QString& file) {
    DBCtrl::closeDB();
    // A file of no bytes was left by a creation that never finished: it is made a database in place.
    const QFileInfo info(file);
    if (!info.exists() || (info.isFile() && info.size() == 0))
        DBCtrl::createNewDBFile(file); // its failure shows as the failure to connect below
    return DBCtrl::connectToDB(file);
}

const QString kNothingChanged = QStringLiteral(" Nothing has been changed.");

// The folder cannot take the file; where the file at a name was the cause, the message names it.
void cannotHoldPreferences(Durable::Failure failure = Durable::Failure::Other, const QString& path = {}) {
    caution(QStringLiteral("Unable to create a Preferences file at the new location."),
            failure == Durable::Failure::Other ? QStringLiteral("Will use the local Preferences instead.")
                                               : whyNotWritten(failure, path) + kNothingChanged);
}

// As a save of the preferences says it.
void cannotWriteLocalPreferences(Durable::Failure failure, const QString& path) {
    caution(QStringLiteral("There was an error in writing a Preference file."), whyNotWritten(failure, path));
}


// The bound the preferences reader puts on a file: no real preferences file comes near it.
constexpr qint64 kMaxPrefsBytes = 1 << 20;

// The database to copy into a new shared folder: the one in use (in network mode the school's), or
// this computer's own when none is open. Empty, after a message, when there is no local data folder.
QString databaseToCopy() {
    if (DBCtrl::isConnected())
        return DBCtrl::databasePath();
    const QString localFolder = localDataFolderPath();
    if (localFolder.isEmpty() || !QFileInfo(localFolder).isDir()) {
        caution(QStringLiteral("Could not find a local data file."),
                QStringLiteral("Please relaunch Numbrook Riza."));
        return {};
    }
    return child(localFolder, DBCtrl::kFileName);
}

} // namespace

QString userPrefsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QStringList allUsersPrefsFolders() {
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    folders.removeAll(userPrefsFolder());
    return folders;
}

QString allUsersDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString localPrefFile() {
    const QString folder = userPrefsFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    return child(folder, kPrefFileName);
}

QString getLocalPrefFol() {
    const QString file = localPrefFile();
    if (file.isEmpty() || Durable::standsThere(file))
        return file;
    // A missing file is made from what is in memory: the defaults on a first start, and later in a
    // run (the file deleted meanwhile) the preferences in use, which must not be reset behind the
    // teacher's back.
    const QString older = olderPrefFile();
    if (!older.isEmpty() && !readPrefFile(older)) {
        // A damaged older file must not keep this computer from ever having preferences again.
        caution(QStringLiteral("Unable to read the preferences"),
                QStringLiteral("Please go to Preferences and reset."));
    }
    writePrefFile(file); // a failure has been shown; the file is still the one to use
    return file;
}

QString getCurrentPrefFol() {
    if (prUseAltLoc) {
        const QString shared = parseGSI(prAltFileLoc);
        if (!shared.isEmpty())
            return shared;
    }
    return getLocalPrefFol();
}

QString sharedPrefsInUse(const QString& shared) {
    // A link planted at a name is found as what stands there, to be refused rather than passed over.
    for (const char* name : {kPrefFileName, kOldPrefFileName}) {
        const QString file = child(shared, name);
        if (Durable::standsThere(file))
            return file;
    }
    return {};
}

QString getNetworkPrefFol() {
    const QString shared = parseGSI(prAltFileLoc);
    return shared.isEmpty() ? QString() : sharedPrefsInUse(shared);
}

bool serverAvail() {
    return !parseGSI(prAltFileLoc).isEmpty();
}

QString createGSI(const QString& folder) {
    if (folder.isEmpty())
        return {};
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

QString parseGSI(const QString& reference) {
    if (reference.isEmpty() || !QDir::isAbsolutePath(reference) || !QFileInfo(reference).isDir())
        return {};
    return QDir::cleanPath(reference);
}

QString getLocalDataFol() {
    const QString base = allUsersDataFolder();
    const QString folder = localDataFolderPath();
    bool ok = !base.isEmpty() && QDir().mkpath(base);
    if (ok && !QFileInfo::exists(folder))
        ok = QDir().mkdir(folder);
    if (!ok || !QFileInfo(folder).isDir()) {
        caution(QStringLiteral("Unable to create the data folder."),
                QStringLiteral("Please contact Orlavo Software: Err#1"));
        return {};
    }
    // Also a folder and database made open to everyone by an earlier version are closed again.
    closeToOthers(folder);
    const QString database = child(folder, DBCtrl::kFileName);
    if (QFileInfo(database).isFile())
        closeToOthers(database);
    return folder;
}

void setDatabaseModes(const QString& file) {
    const QString folder = QFileInfo(file).absolutePath();
    const QString local = localDataFolderPath();
    const bool isLocal =
        !local.isEmpty() && (sameFolder(folder, local) || QDir::cleanPath(folder) == QDir::cleanPath(local));
    QFile::setPermissions(file, isLocal ? kOwnerFile : kEveryone);
}

QString getDataFileLoc() {
    if (!prUseAltLoc)
        return getLocalDataFol();
    const QString shared = parseGSI(prAltFileLoc);
    if (!shared.isEmpty())
        return shared;
    caution(QStringLiteral("Unable to connect to the networked Data File."),
            QStringLiteral("The local database will be used or a new one created."));
    return getLocalDataFol();
}

namespace {

// The sets folder inside the shared folder, when the shared folder is in use and reachable.
QString sharedSetsFolder() {
    const QString current = getCurrentPrefFol();
    return !current.isEmpty() && QFileInfo(current).isDir() ? child(current, kInputSetsFolderName)
                                                            : QString();
}

} // namespace

QString getInputSetsFolder() {
    const QString inside = sharedSetsFolder();
    if (inside.isEmpty()) {
        // With this computer's own preferences the sets lie beside the preferences file.
        const QString local = getLocalPrefFol();
        return local.isEmpty() ? QString() : child(QFileInfo(local).absolutePath(), kInputSetsFolderName);
    }
    // In network mode inside the shared folder: it is the one place every computer of the school
    // reaches (the folder that holds it is often a mount point on this computer's own disk). Sets
    // that earlier versions kept beside the shared folder are read until the shared folder has a
    // sets folder of its own.
    if (QFileInfo(inside).isDir())
        return inside;
    const QString beside =
        child(QFileInfo(QFileInfo(inside).absolutePath()).absolutePath(), kInputSetsFolderName);
    const QStringList sets =
        QDir(beside).entryList({QStringLiteral("*.nbx")}, QDir::Files | QDir::Readable, QDir::NoSort);
    return sets.isEmpty() ? inside : beside;
}

QString makeInputSetsFolder() {
    // New sets never go beside the shared folder: there only this computer might see them.
    const QString inside = sharedSetsFolder();
    const QString folder = inside.isEmpty() ? getInputSetsFolder() : inside;
    // A link planted in its place would have the teacher's sets, and the modes below, go to a folder
    // of the student's choosing.
    if (folder.isEmpty() || Durable::isLink(folder))
        return {};
    // In this computer's own preferences folder the sets are the teacher's, like the data. In the
    // shared folder every account of every computer adds its sets, and the sticky bit keeps each
    // account's sets from being deleted by another. A folder that earlier versions opened to everyone
    // is closed the same way; what its owner may do stays as it is.
    const QByteArray name = QFile::encodeName(folder);
    if (!QFileInfo::exists(folder) && QDir().mkdir(folder))
        ::chmod(name.constData(), inside.isEmpty() ? 0700 : 01777);
    if (!QFileInfo(folder).isDir())
        return {};
    struct stat st {};
    if (inside.isEmpty())
        closeToOthers(folder);
    else if (::stat(name.constData(), &st) == 0 && (st.st_mode & S_IWOTH) && !(st.st_mode & S_ISVTX))
        ::chmod(name.constData(), (st.st_mode & 07777) | S_ISVTX); // only its owner can; others leave it
    return folder;
}

bool askOverwritePrefs() {
    Seams::Question q;
    q.icon = Seams::Icon::Caution;
    q.message = QStringLiteral("There is already a Pref file at that location. Should I replace that file "
                               "with my current preferences?");
    q.explanation = QStringLiteral("Click <Cancel> to use the preferences file on the server.");
    q.defaultCaption = QStringLiteral("Replace");
    q.cancelCaption = QStringLiteral("Cancel");
    return Seams::dialogs().ask(q) == Seams::Answer::Default;
}

namespace {

enum class Attempt { Done, Refused, Crowded };

// Field 1 of a preferences file as stored: its length byte and the bytes it counts.
QByteArray passwordField(const QByteArray& file) {
    return file.left(1 + static_cast<quint8>(file.at(0)));
}

// One try at the move (see createRemoteFileInfo). Crowded, with everything as it was, when another
// computer gave the folder its preferences or its database since this try looked at it.
Attempt moveOnce(const QString& shared, const Before& before) {
    // The preferences in force after the move, made up before anything is written or put in force:
    // whatever stops the move leaves this computer's preferences and the shared folder as they were.
    Values next = before.prefs;
    bool nextPasswordUnread = before.passwordUnread;
    bool takeTheirs = false;
    std::optional<QByteArray> notWhole;     // the folder's file as read, when it was not used whole
    std::optional<QByteArray> keptPassword; // the folder's field 1 as stored, when it holds a password
    bool theirPasswordUnread = false;
    const QString found = sharedPrefsInUse(shared);
    if (!found.isEmpty()) {
        takeTheirs = !askOverwritePrefs();
        const OutsideFile::Contents read =
            OutsideFile::read(found, kMaxPrefsBytes, OutsideFile::Links::Refuse);
        const QString readFailed = QStringLiteral("Unable to read the Preferences file at the new location.");
        if (read.problem == OutsideFile::Problem::Link) {
            caution(takeTheirs ? readFailed
                               : QStringLiteral("Unable to create a Preferences file at the new location."),
                    neverFollowed(found) + kNothingChanged);
            return Attempt::Refused;
        }
        DecodeReport report;
        const auto theirs = read.ok() ? decodeFile(read.bytes, &report) : std::nullopt;
        if (takeTheirs) {
            if (!theirs) {
                caution(readFailed, QStringLiteral("Will use the local Preferences instead."));
                return Attempt::Refused;
            }
            next = *theirs;
            if (!theirs->noAnim)
                next.noAnim = before.prefs.noAnim;
            nextPasswordUnread = false;
            if (!report.whole)
                notWhole = read.bytes;
        }
        // The school's password stays as the folder holds it, whichever the answer and whatever this
        // computer's is: a student who saved a password of their own on this computer must not lock the
        // teacher out of every computer. It is changed with a save in network mode. A field this
        // computer cannot read is kept byte for byte, and the one in use here stays in memory.
        if (theirs && (report.passwordLost || !theirs->passWord.isEmpty())) {
            keptPassword = passwordField(read.bytes);
            theirPasswordUnread = report.passwordLost;
            next.passWord = theirPasswordUnread ? before.prefs.passWord : theirs->passWord;
            nextPasswordUnread = theirPasswordUnread && next.passWord.isEmpty();
        }
    }
    // A password this computer could not read is never written as "no password".
    if (nextPasswordUnread && !keptPassword) {
        caution(QStringLiteral("The administrative password could not be read, so the preferences were "
                               "not written to the new location."),
                QStringLiteral("Please set the password again in Preferences and save, then choose the "
                               "folder again. Nothing was changed."));
        return Attempt::Refused;
    }
    const bool tellKeptPassword =
        !takeTheirs && keptPassword && (theirPasswordUnread || next.passWord != before.prefs.passWord);
    next.useAltLoc = true;
    next.altFileLoc = createGSI(shared);

    // The files are made first, each under a temporary name: a folder that cannot take them is refused
    // before a database is copied into it. What is replaced, or taken and written back, stands under
    // both names of the folder afterwards: other computers read the newer name first, and a replace
    // that left it would change nothing for them. The newer name is given last of the folder's, so
    // that until then every reader still finds the folder's preferences as they were; this computer's
    // own file follows at once. A folder that held no preferences gets its file only if no other
    // computer gave it one meanwhile: that one is then asked about, as any found at the start.
    auto bytes = encodeFile(next);
    if (bytes && keptPassword)
        bytes->replace(0, passwordField(*bytes).size(), *keptPassword);
    Durable::StagedFiles staged(kMaxPrefsBytes);
    QString failedName;
    auto stage = [&](const QString& path, Durable::Access access, bool asNew, const QByteArray& content) {
        const bool ok = asNew ? staged.stageNew(path, content, access) : staged.stage(path, content, access);
        if (!ok)
            failedName = path;
        return ok;
    };
    const auto everyone = Durable::Access::Everyone;
    bool staging = bytes.has_value();
    if (staging && notWhole)
        staging = stage(found + QStringLiteral(".damaged"), everyone, false, *notWhole);
    if (staging)
        staging = stage(child(shared, kOldPrefFileName), everyone, found.isEmpty(), *bytes);
    if (staging && !found.isEmpty())
        staging = stage(child(shared, kPrefFileName), everyone, false, *bytes);
    if (!staging) {
        cannotHoldPreferences(staged.failure(), failedName);
        return Attempt::Refused;
    }
    const QString localFile = localPrefFile();
    if (localFile.isEmpty() || !stage(localFile, Durable::Access::OwnerOnly, false, *bytes)) {
        cannotWriteLocalPreferences(localFile.isEmpty() ? Durable::Failure::Other : staged.failure(),
                                    localFile);
        return Attempt::Refused;
    }

    // A database found there is opened and checked before any name of the folder changes. A copy is
    // made and checked under a temporary name and given its name last of all, once this computer's
    // own file points at the folder: a move stopped before then leaves no database there that another
    // computer, or this one choosing the folder again, would take into use while the data here goes on.
    const QString sharedDatabase = child(shared, DBCtrl::kFileName);
    if (Durable::isLink(sharedDatabase)) {
        caution(QStringLiteral("There was a problem connecting to the database at the new location."),
                neverFollowed(sharedDatabase) + kNothingChanged);
        return Attempt::Refused;
    }
    const QFileInfo databaseInfo(sharedDatabase);
    const bool hadDatabase = databaseInfo.exists();
    // A file of no bytes left by a creation that never finished is made a database (switchDatabase).
    const bool databaseInUse = hadDatabase && !(databaseInfo.isFile() && databaseInfo.size() == 0);
    QString source;
    bool copied = false;
    if (!hadDatabase) {
        source = databaseToCopy();
        QString copy;
        switch (DBCtrl::copyDatabaseInto(source, shared, copy)) {
        case DBCtrl::Copy::Made:
            staged.adopt(copy, sharedDatabase);
            copied = true;
            break;
        case DBCtrl::Copy::NothingToCopy:
            break;
        case DBCtrl::Copy::ThereAlready:
            return Attempt::Crowded;
        case DBCtrl::Copy::Failed:
            return Attempt::Refused;
        }
    }
    if (!copied && !switchDatabase(sharedDatabase)) {
        before.restore();
        return Attempt::Refused;
    }
    if (const QString failed = staged.commit(); !failed.isEmpty()) {
        before.restore();
        if (staged.failure() == Durable::Failure::ThereAlready)
            return Attempt::Crowded;
        if (failed == localFile)
            cannotWriteLocalPreferences(staged.failure(), localFile);
        else
            cannotHoldPreferences(staged.failure(), failed);
        return Attempt::Refused;
    }
    if (copied && !switchDatabase(sharedDatabase)) {
        // connectToDB has said why; the copy this move placed goes again, with the names it gave.
        before.restore();
        staged.undo();
        return Attempt::Refused;
    }
    Durable::syncFolder(shared);

    // The saved preferences point at the shared folder now that the program uses its database.
    apply(next);
    passwordUnread = nextPasswordUnread;
    prefsDirty = false;
    // The sound choice made in the window stays unless the folder's preferences brought their own.
    if (prSndSet != before.prefs.sndSet)
        soundSettingsChanged();
    // What a move stopped half-way left here is of no use now.
    removeSharedLeftovers(shared);

    if (copied) {
        note(sameFolder(QFileInfo(source).absolutePath(), localDataFolderPath())
                 ? QStringLiteral("The local data was copied to the new location.")
                 : QStringLiteral("The shared folder's data was copied to the new location."));
    } else if (databaseInUse) {
        note(QStringLiteral("Numbrook Riza will now use the database at the new location."));
    }
    if (tellKeptPassword) {
        note(
            QStringLiteral("The shared folder's administrative password was kept."),
            theirPasswordUnread
                ? QStringLiteral(
                      "This computer cannot read it, so it stays in the shared folder as it was. To "
                      "change the school's password, type a new one in Preferences and save.")
                : QStringLiteral("It is now used on this computer too. To change the school's password, type "
                                 "a new one in Preferences and save."));
    }
    return Attempt::Done;
}

} // namespace

void createRemoteFileInfo(const QString& folder) {
    if (folder.isEmpty())
        return;
    const Before before;
    const QString shared = parseGSI(createGSI(folder));
    if (shared.isEmpty()) {
        cannotHoldPreferences();
        return;
    }
    // Moving the data onto itself would end with the copy replacing its own source.
    if (sameFolder(shared, localDataFolderPath())) {
        caution(kSameFolderMessage, kSameFolderExplanation);
        return;
    }
    // Another computer may set the folder up between this move's look at it and its names: the move
    // then looks again, and asks about the preferences it finds now. Twice is a folder too busy.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (moveOnce(shared, before) != Attempt::Crowded)
            return;
    }
    caution(QStringLiteral("Another computer was setting up that folder at the same time."),
            QStringLiteral("Nothing has been changed. Please choose the folder again."));
}

void createLocalDataFile() {
    const Before before;
    const QString local = getLocalDataFol();
    if (local.isEmpty()) {
        caution(QStringLiteral("Unable to access the data folder."),
                QStringLiteral("Please contact Orlavo Software: Err #2"));
        return;
    }
    prAltFileLoc.clear();
    prUseAltLoc = false;
    if (!switchDatabase(child(local, DBCtrl::kFileName)) || !writePrefFile(localPrefFile())) {
        before.restore();
        return;
    }
}

void removeCrashLeftovers() {
    const QString prefs = QString::fromLatin1(kPrefFileName);
    Durable::removeLeftovers(userPrefsFolder(), {prefs, prefs + QStringLiteral(".damaged")});
    Durable::removeLeftovers(localDataFolderPath(), {databaseLeftover()});
    const QString shared = prUseAltLoc ? parseGSI(prAltFileLoc) : QString();
    if (!shared.isEmpty())
        removeSharedLeftovers(shared);
}

bool acquirePrefsFromNetworkLoc(const QString& folder) {
    if (folder.isEmpty())
        return false;
    const QString shared = parseGSI(createGSI(folder));
    const QString file = shared.isEmpty() ? QString() : sharedPrefsInUse(shared);
    const QString initialize = QStringLiteral("Will initialize new Preferences instead.");
    if (file.isEmpty()) {
        caution(QStringLiteral("Unable to locate a Preferences file at the new location."), initialize);
        return false;
    }
    if (!readPrefFile(file, Location::KeepOurs)) {
        caution(QStringLiteral("Unable to read the Preferences file at the new location."), initialize);
        return false;
    }
    prAltFileLoc = createGSI(shared);
    prUseAltLoc = true;
    writePrefFile(localPrefFile());
    return true;
}

void acquireDataFromNetworkLoc(const QString& folder) {
    const Before before;
    if (!acquirePrefsFromNetworkLoc(folder))
        return;
    const QString database = child(parseGSI(prAltFileLoc), DBCtrl::kFileName);
    if (!holdsSchoolDatabase(parseGSI(prAltFileLoc))) {
        caution(QStringLiteral("No data was found at this location."),
                QStringLiteral("Please revisit the setup from the Primary Computer's Preferences Screen."));
    } else {
        DBCtrl::closeDB();
        // Said only once the database is in use.
        if (DBCtrl::connectToDB(database)) {
            note(QStringLiteral("Numbrook Riza will now use the database at the new location."));
            return;
        }
    }
    // The preferences taken from the folder stay; the location goes back to the database in use.
    before.restore(false);
    writePrefFile(localPrefFile());
}

bool holdsSchoolDatabase(const QString& folder) {
    // A link planted at the database's name would make every computer open another file of the
    // teacher's as the school's database.
    const QString database = child(folder, DBCtrl::kFileName);
    return !folder.isEmpty() && !Durable::isLink(database) && QFileInfo(database).isFile();
}

} // namespace myPrefs

namespace DBCtrl {
namespace {

// Copies the database file `source` into the empty database file `target` through SQLite itself. The
// copy is one read transaction on the source: what another program writes meanwhile is either all in
// it or not at all, and that program's commit waits (its busy timeout) until the copy is done; a
// journal that a killed program left beside the source is rolled back first. SQLite's result code.
int copyDatabase(const QString& source, const QString& target) {
    sqlite3* from = nullptr;
    sqlite3* to = nullptr;
    auto closeBoth = [&](int rc) {
        sqlite3_close(from);
        sqlite3_close(to);
        return rc;
    };
    int rc = sqlite3_open_v2(QFile::encodeName(source).constData(), &from, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK)
        return closeBoth(rc);
    sqlite3_busy_timeout(from, 5000);
    rc = sqlite3_open_v2(QFile::encodeName(target).constData(), &to, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK)
        return closeBoth(rc);
    // The copy has no use until it is complete and checked: it needs no journal of its own.
    rc = sqlite3_exec(to, "PRAGMA journal_mode = OFF", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return closeBoth(rc);
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        return closeBoth(sqlite3_errcode(to));
    // All pages in one step: the source's read lock is held from the first page to the last.
    rc = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return closeBoth(rc == SQLITE_OK ? SQLITE_ERROR : rc);
    return closeBoth(finished);
}

// Whether a finished copy opens as a sound database with the program's tables.
bool copyIsSound(const QString& file) {
    sqlite3* db = nullptr;
    bool sound = false;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* check = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK &&
            sqlite3_step(check) == SQLITE_ROW) {
            const auto* answer = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
            sound = answer && qstrcmp(answer, "ok") == 0;
        }
        sqlite3_finalize(check);
        sqlite3_stmt* tables = nullptr;
        if (sound &&
            sqlite3_prepare_v2(db,
                               "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                               "('Classes', 'Names', 'theData', 'HallData')",
                               -1, &tables, nullptr) == SQLITE_OK &&
            sqlite3_step(tables) == SQLITE_ROW) {
            sound = sqlite3_column_int(tables, 0) == 4;
        } else {
            sound = false;
        }
        sqlite3_finalize(tables);
    }
    sqlite3_close(db);
    return sound;
}

Copy reportCopyFailure(int code) {
    Seams::dialogs().plainMessage(QStringLiteral("A error of type: ") + QString::number(code) +
                                  QStringLiteral(" occurred.") + QLatin1Char('\n') +
                                  QStringLiteral("Please move the Database file to the server."));
    return Copy::Failed;
}

Copy copyDatabaseInto(const QString& source, const QString& targetFolder, QString& temporary) {
    if (source.isEmpty() || !QFileInfo(source).isFile())
        return Copy::NothingToCopy;
    if (myPrefs::sameFolder(QFileInfo(source).absolutePath(), targetFolder)) {
        myPrefs::caution(myPrefs::kSameFolderMessage, myPrefs::kSameFolderExplanation);
        return Copy::Failed;
    }
    const QString target = QDir(targetFolder).filePath(QString::fromLatin1(kFileName));
    if (Durable::standsThere(target))
        return Copy::ThereAlready; // it appeared meanwhile: never overwritten

    // Made complete under a temporary name beside the target, on the disk and checked before it can
    // be given its name, so that neither a stop half-way nor a power cut leaves a name that the
    // preferences could point at without a whole database behind it.
    QTemporaryFile out(Durable::temporaryPattern(targetFolder, QString::fromLatin1(kFileName)));
    if (!out.open())
        return reportCopyFailure(SQLITE_CANTOPEN);
    out.close();
    if (const int rc = copyDatabase(source, out.fileName()); rc != SQLITE_OK)
        return reportCopyFailure(rc);
    if (!copyIsSound(out.fileName()))
        return reportCopyFailure(SQLITE_CORRUPT);
    // The local file is this user's alone; the shared copy is every computer's.
    QFile::setPermissions(out.fileName(), myPrefs::kEveryone);
    if (!Durable::syncFile(out.fileName()) || !Durable::syncFolder(targetFolder))
        return reportCopyFailure(SQLITE_IOERR);
    out.setAutoRemove(false);
    temporary = out.fileName();
    return Copy::Made;
}

} // namespace

bool moveLocalData(const QString& targetFolder) {
    const QString localFolder = myPrefs::localDataFolderPath();
    if (localFolder.isEmpty() || !QFileInfo(localFolder).isDir()) {
        myPrefs::caution(QStringLiteral("Could not find a local data file."),
                         QStringLiteral("Please relaunch Numbrook Riza."));
        return true; // nothing here that could be lost
    }
    const QString source = QDir(localFolder).filePath(QString::fromLatin1(kFileName));
    if (!QFileInfo(source).isFile())
        return true;
    QString temporary;
    Copy copied = copyDatabaseInto(source, targetFolder, temporary);
    if (copied == Copy::Made) {
        const QString target = QDir(targetFolder).filePath(QString::fromLatin1(kFileName));
        const Durable::Placed placed = Durable::placeWithoutReplacing(temporary, target);
        if (placed == Durable::Placed::Here) {
            Durable::syncFolder(targetFolder);
            myPrefs::note(QStringLiteral("The local data was copied to the new location."));
            return true;
        }
        ::unlink(QFile::encodeName(temporary).constData()); // a copy that did not get its name
        if (placed == Durable::Placed::Failed) {
            reportCopyFailure(SQLITE_IOERR);
            return false;
        }
        copied = Copy::ThereAlready;
    }
    // Another computer's database that appeared meanwhile is never overwritten.
    if (copied == Copy::ThereAlready)
        reportCopyFailure(SQLITE_CANTOPEN);
    return copied == Copy::NothingToCopy;
}

} // namespace DBCtrl
