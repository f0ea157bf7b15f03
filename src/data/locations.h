#pragma once

#include <QString>
#include <QStringList>

// Where the preferences file, the database and the problem sets live, and the moves of the data
// between this computer and a shared network folder that several computers of a school use together.
//
// On this platform:
//   the user's preferences folder      the XDG config folder ($XDG_CONFIG_HOME, ~/.config)
//   the all-users preferences folders  the XDG config search folders ($XDG_CONFIG_DIRS, /etc/xdg)
//   the all-users application data     the XDG data folder ($XDG_DATA_HOME, ~/.local/share)
//
//   ~/.config/com.orlavo.vavava.plist   the local preferences file
//   /etc/xdg/OVR/nbq10.pref              an older preferences file, taken over once
//   ~/.local/share/OVR/NB_Data.rbd       the local database
//   ~/.config/NBQ_InputSets/             problem sets (in network mode: inside the shared folder)
//
// A folder reference (myPrefs::prAltFileLoc) is the folder's absolute path.
namespace myPrefs {

inline constexpr const char* kPrefFileName = "com.orlavo.vavava.plist";
inline constexpr const char* kOldPrefFileName = "nbq10.pref";
inline constexpr const char* kDataFolderName = "OVR";
inline constexpr const char* kInputSetsFolderName = "NBQ_InputSets";

// The platform folders; empty when there is none.
QString userPrefsFolder();
QStringList allUsersPrefsFolders();
QString allUsersDataFolder();

// The path of the local preferences file, its folder made when missing; empty when it cannot be had.
QString localPrefFile();
// The local preferences file, on first use made from the older file or from the defaults; empty when
// no preferences folder can be had.
QString getLocalPrefFol();
// The shared folder in network mode when it can be reached, otherwise the local preferences file.
QString getCurrentPrefFol();
// The shared folder's preferences file ("com.orlavo.vavava.plist", else "nbq10.pref"); empty when
// it has none.
QString getNetworkPrefFol();
// The preferences file of the given shared folder that other computers read: the newer name
// ("com.orlavo.vavava.plist") when it is there, else the older one; empty when it has neither.
QString sharedPrefsInUse(const QString& shared);
// Whether the shared folder can be reached.
bool serverAvail();

// A folder's reference, and the folder a reference designates (empty when it does not resolve).
QString createGSI(const QString& folder);
QString parseGSI(const QString& reference);

// The local data folder, made when missing; empty (after a message) when it cannot be had. It and the
// database in it are this user's alone: other accounts of the computer must not rewrite the results,
// so whatever the group and everyone may do with them is taken away (what the owner may do stays as
// it is: a database made read-only on purpose stays read-only).
QString getLocalDataFol();
// Gives a database file the modes of its folder: in this computer's own data folder this user's alone,
// elsewhere (the shared folder) every computer's user may read and write it.
void setDatabaseModes(const QString& file);
// The folder of the database in the current mode. In network mode with the shared folder out of
// reach, the local data folder after a message; network mode stays on.
QString getDataFileLoc();
// The folder of the teacher's problem sets, where choosers of a set start; it may not exist yet.
// Beside the local preferences file, or in network mode inside the shared folder (an older folder
// beside the shared folder that holds sets is read while the shared folder has none of its own).
// Empty when no place can be had.
QString getInputSetsFolder();
// The folder new sets are saved into, made when missing: beside the local preferences file, this
// user's alone (0700); in network mode always inside the shared folder, where every account adds sets
// and none deletes another's (1777). Empty when it cannot be had.
QString makeInputSetsFolder();

// Makes the chosen folder the shared folder: its preferences file (asking before replacing one), and
// the database found there or a copy of the one in use. The database is opened before any preferences
// file is given its name, and whatever fails puts everything back: the program stays on the database
// it had, this computer's preferences stay as they were, in memory and saved, and the folder's
// preferences files stay byte for byte as they were. An empty folder (the choice was cancelled)
// changes nothing. Preferences found in the folder, whether replaced or taken, are written there under
// both names that other computers read. "Replace" never puts an empty or unread password over one
// set in the folder: the folder's own is kept, and the teacher is told. A password this computer could
// not read is never written there: without one in the folder the move is refused.
void createRemoteFileInfo(const QString& folder);
// True when the preferences file found in the new shared folder is to be replaced by ours.
bool askOverwritePrefs();
// Goes back to the database on this computer (the one left here when the data moved; nothing is
// copied back).
void createLocalDataFile();

// Removes what writes stopped by a killed program or a power cut left under temporary names, once
// nothing has touched them for a day (see Durable::kLeftoverSeconds): in this user's preferences
// folder, the local data folder and, in network mode, the shared folder. Part of the start.
void removeCrashLeftovers();

// Joining a shared folder that another computer set up: its preferences, then its database.
bool acquirePrefsFromNetworkLoc(const QString& folder);
void acquireDataFromNetworkLoc(const QString& folder);

// Whether a folder is the school's shared folder as it stands now: it holds the school's database.
// An empty folder where the share is mounted when it is there is not.
bool holdsSchoolDatabase(const QString& folder);

} // namespace myPrefs

namespace DBCtrl {
// Copies the local database into the target folder, which must not hold one yet (a move to a shared
// folder copies the database in use the same way). The copy is taken
// through SQLite in one read transaction (a second program writing the local file meanwhile is either
// wholly in it or not at all), made under a temporary name, put on the disk, checked, and only then
// given its name; nothing is ever deleted or overwritten. True when there was nothing to copy (no
// local data folder, after a message, or no database in it) or the copy is complete.
bool moveLocalData(const QString& targetFolder);
} // namespace DBCtrl
