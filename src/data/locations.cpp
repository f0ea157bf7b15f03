#include "locations.h"

#include "dbctrl.h"
#include "globals.h"
#include "prefs.h"
#include "seams.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace myPrefs {
namespace {

const QString kSameFolderMessage = QStringLiteral("That folder holds this computer's own data.");
const QString kSameFolderExplanation =
    QStringLiteral("Please choose a folder on the shared network drive. Nothing was changed.");

void caution(const QString& message, const QString& explanation) {
    myGlobals::gShowMsg(true, message, explanation);
}

void note(const QString& message) {
    myGlobals::gShowMsg(false, message, QString());
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

// The local data folder and its database belong to this user alone.
constexpr QFileDevice::Permissions kOwnerFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions kOwnerFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
// A database in the shared folder is used by every computer of the school, under any user.
constexpr QFileDevice::Permissions kEveryone =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
    QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther |
    QFileDevice::ExeOther;

// The state to go back to when a move of the data fails half-way.
struct Before {
    Values prefs = current();
    QString database = DBCtrl::isConnected() ? DBCtrl::databasePath() : QString();

    // All preferences, or only the location when the others taken on the way are to stay.
    void restore(bool restoreAllPrefs = true) const {
        if (restoreAllPrefs) {
            const bool soundsChanged = prSndSet != prefs.sndSet;
            apply(prefs);
            if (soundsChanged)
                soundSettingsChanged();
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
    if (file.isEmpty() || QFileInfo::exists(file))
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

QString getNetworkPrefFol() {
    const QString shared = parseGSI(prAltFileLoc);
    if (shared.isEmpty())
        return {};
    for (const char* name : {kPrefFileName, kOldPrefFileName}) {
        const QString file = child(shared, name);
        if (QFileInfo::exists(file))
            return file;
    }
    return {};
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
    QFile::setPermissions(folder, kOwnerFolder);
    const QString database = child(folder, DBCtrl::kFileName);
    if (QFileInfo(database).isFile())
        QFile::setPermissions(database, kOwnerFile);
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

QString getInputSetsFolder() {
    const QString current = getCurrentPrefFol();
    if (current.isEmpty())
        return {};
    // With this computer's own preferences the sets lie beside the preferences file.
    if (!QFileInfo(current).isDir())
        return child(QFileInfo(current).absolutePath(), kInputSetsFolderName);
    // In network mode inside the shared folder: it is the one place every computer of the school
    // reaches (the folder that holds it is often a mount point on this computer's own disk). Sets
    // that earlier versions kept beside the shared folder stay in use until the shared folder has
    // a sets folder of its own.
    const QString inside = child(current, kInputSetsFolderName);
    if (QFileInfo(inside).isDir())
        return inside;
    const QString beside = child(QFileInfo(current).absolutePath(), kInputSetsFolderName);
    const QStringList sets =
        QDir(beside).entryList({QStringLiteral("*.nbx")}, QDir::Files | QDir::Readable, QDir::NoSort);
    return sets.isEmpty() ? inside : beside;
}

QString makeInputSetsFolder() {
    const QString folder = getInputSetsFolder();
    if (folder.isEmpty())
        return {};
    // Every teacher account (and in network mode every computer) writes its sets here; a folder that
    // is already there keeps the permissions someone gave it.
    if (!QFileInfo::exists(folder) && QDir().mkdir(folder))
        QFile::setPermissions(folder, kEveryone);
    return QFileInfo(folder).isDir() ? folder : QString();
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

void createRemoteFileInfo(const QString& folder) {
    if (folder.isEmpty())
        return;
    const Before before;
    const QString shared = parseGSI(createGSI(folder));
    if (shared.isEmpty()) {
        caution(QStringLiteral("Unable to create a Preferences file at the new location."),
                QStringLiteral("Will use the local Preferences instead."));
        return;
    }
    // Moving the data onto itself would end with the copy replacing its own source.
    if (sameFolder(shared, localDataFolderPath())) {
        caution(kSameFolderMessage, kSameFolderExplanation);
        return;
    }

    prAltFileLoc = createGSI(shared);
    prUseAltLoc = true;
    const QString sharedPrefs = child(shared, kOldPrefFileName);
    if (QFileInfo::exists(sharedPrefs) && !askOverwritePrefs()) {
        if (!readPrefFile(sharedPrefs, Location::KeepOurs)) {
            caution(QStringLiteral("Unable to read the Preferences file at the new location."),
                    QStringLiteral("Will use the local Preferences instead."));
            before.restore();
            return;
        }
    }
    // A folder that cannot take the preferences file cannot take the database either.
    if (!writePrefFile(sharedPrefs)) {
        before.restore();
        return;
    }

    const QString sharedDatabase = child(shared, DBCtrl::kFileName);
    if (QFileInfo::exists(sharedDatabase)) {
        note(QStringLiteral("Numbrook Riza will now use the database at the new location."));
    } else if (!DBCtrl::moveLocalData(shared)) {
        before.restore();
        return;
    }
    // The saved preferences point at the shared folder only once the program uses its database.
    if (!switchDatabase(sharedDatabase) || !writePrefFile(localPrefFile())) {
        before.restore();
        return;
    }
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

bool acquirePrefsFromNetworkLoc(const QString& folder) {
    if (folder.isEmpty())
        return false;
    const QString shared = parseGSI(createGSI(folder));
    QString file;
    if (!shared.isEmpty()) {
        for (const char* name : {kPrefFileName, kOldPrefFileName}) {
            if (QFileInfo::exists(child(shared, name))) {
                file = child(shared, name);
                break;
            }
        }
    }
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
    if (!QFileInfo::exists(database)) {
        caution(QStringLiteral("No data was found at this location."),
                QStringLiteral("Please revisit the setup from the Primary Computer's Preferences Screen."));
    } else {
        note(QStringLiteral("Numbrook Riza will now use the database at the new location."));
        DBCtrl::closeDB();
        if (DBCtrl::connectToDB(database))
            return;
    }
    // The preferences taken from the folder stay; the location goes back to the database in use.
    before.restore(false);
    writePrefFile(localPrefFile());
}

} // namespace myPrefs

namespace DBCtrl {

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
    if (myPrefs::sameFolder(localFolder, targetFolder)) {
        myPrefs::caution(myPrefs::kSameFolderMessage, myPrefs::kSameFolderExplanation);
        return false;
    }

    auto reportFailure = [](int code) {
        Seams::dialogs().plainMessage(QStringLiteral("A error of type: ") + QString::number(code) +
                                      QStringLiteral(" occurred.") + QLatin1Char('\n') +
                                      QStringLiteral("Please move the Database file to the server."));
        return false;
    };
    const QString target = QDir(targetFolder).filePath(QString::fromLatin1(kFileName));
    if (QFileInfo::exists(target))
        return reportFailure(QFileDevice::CopyError); // it appeared meanwhile: never overwritten

    // A closed file is a complete one: nothing of it waits in the connection or a journal.
    if (myPrefs::sameFolder(QFileInfo(databasePath()).absolutePath(), localFolder))
        closeDB();

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return reportFailure(in.error());
    QTemporaryFile out(target + QStringLiteral(".XXXXXX.part"));
    if (!out.open())
        return reportFailure(out.error());
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty()) {
        if (out.write(chunk) != chunk.size())
            return reportFailure(out.error());
    }
    if (in.error() != QFileDevice::NoError)
        return reportFailure(in.error());
    if (!out.flush() || out.size() != in.size())
        return reportFailure(out.error() != QFileDevice::NoError ? out.error() : QFileDevice::WriteError);
    // rename never replaces a file that is already there.
    if (!out.rename(target))
        return reportFailure(out.error());
    out.setAutoRemove(false);
    // The local file is this user's alone; the shared copy is every computer's.
    QFile::setPermissions(target, myPrefs::kEveryone);
    myPrefs::note(QStringLiteral("The local data was copied to the new location."));
    return true;
}

} // namespace DBCtrl
