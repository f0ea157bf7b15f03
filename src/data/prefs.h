#pragma once

#include "durable.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// The teacher's program-wide preferences and the binary preferences file that keeps them. They hold
// their defaults from the start, so that nothing reads a zero criterion before the preferences file
// has been read, or when it cannot be read at all.
//
// Where the files live, and the moves between this computer and a shared network folder, are in
// locations.h.
namespace myPrefs {

extern QString prPassWord;   // administrative password, in clear
extern bool prUseAltLoc;     // the data lives in a shared network folder
extern QString prAltFileLoc; // that folder's reference (see createGSI)
extern bool prNoClass;       // students may add their own name
extern bool prReqStPW;       // students give their password before playing
extern int prMaxTries;       // tries allowed for one problem (2 to 6)
extern int prDataSource;     // 0 the student's results, 1 random, 2 saved sets
extern int prNumCrit;        // fewest problems of a fact that can count as learned (10 to 100)
extern int prPctCrit;        // percent right at which a fact counts as learned (10 to 100)
extern int prHiCrit;         // highest second number counted for stars (10 to 19)
extern QString prSndSet;     // sound settings "state,right,wrong,round"
extern bool prNoAnim;        // numbers appear without animation
extern bool prefsDirty;      // cleared by every complete write
// The administrative password of the preferences in force could not be read from any file: the empty
// one in memory is not the teacher's. Cleared by a file whose password reads, by defaults put in
// force, and by the teacher's own save.
extern bool passwordUnread;

// The values the preferences window lets the teacher store. A file value outside them is kept as read
// and shown so in the preferences window, and is brought to the nearest bound when the preferences are
// saved; until then everything that acts on it takes it from inForce().
inline constexpr int kMinTries = 2, kMaxTries = 6;
inline constexpr int kMinSource = 0, kMaxSource = 2;
inline constexpr int kMinNumCrit = 10, kMaxNumCrit = 100;
inline constexpr int kMinPctCrit = 10, kMaxPctCrit = 100;
inline constexpr int kMinHiCrit = 10, kMaxHiCrit = 19;

// One complete set of preferences, as a file holds them.
struct Values {
    QString passWord;
    bool useAltLoc = false;
    QString altFileLoc;
    bool noClass = true;
    bool reqStPW = false;
    int maxTries = 3;
    int dataSource = 0;
    int numCrit = 40;
    int pctCrit = 85;
    int hiCrit = 10;
    QString sndSet = QStringLiteral("2,0,0,0");
    // Files written before the animation choice existed end without it; reading one leaves the
    // choice in memory as it was.
    std::optional<bool> noAnim = false;

    bool operator==(const Values&) const = default;
};

// The same set with each number held within what the preferences window stores.
Values bounded(Values values);

// What the teacher changed in the preferences window. A field left empty keeps what the file in use
// holds when it is saved, so that a change another computer saved meanwhile survives.
struct Changes {
    std::optional<QString> passWord;
    std::optional<bool> noClass;
    std::optional<bool> reqStPW;
    std::optional<int> maxTries;
    std::optional<int> dataSource;
    std::optional<int> numCrit;
    std::optional<int> pctCrit;
    std::optional<int> hiCrit;
    std::optional<QString> sndSet;
    std::optional<bool> noAnim;

    // Every field of the set.
    static Changes of(const Values& values);
    // The set with these fields in place of its own.
    Values over(Values values) const;
};

// The preferences in memory, and putting a complete set in force.
Values current();
// The preferences as the program acts on them: those in memory with each number held within what the
// preferences window stores, as the next Save would store it. The star recount, the progress window,
// the problem source and the tries all take their numbers from here, so that a number read from a
// file counts the same everywhere; the numbers in memory and in the file stay as read.
Values inForce();
// Whether a file read elsewhere also decides this computer's network mode and shared-folder
// reference. A shared folder's copy does not: each computer reaches the folder by its own path.
enum class Location { FromFile, KeepOurs };
void apply(const Values& values, Location location = Location::FromFile);

// The preferences as this computer last read them from a file or wrote them: what is in memory,
// apart from the choices the preferences window puts in force at once (problem source, sounds).
Values lastFiled();

// What a read made of a file, beyond the values.
struct DecodeReport {
    bool whole = true;               // every field was used as stored
    std::optional<bool> networkMode; // field 2 as stored, when the file got that far
    bool locationLost = false;       // network mode, but the shared folder's reference was unusable
    bool passwordLost = false;       // field 1 held a password that cannot be read
    bool link = false;               // the name was a symbolic link, which is never read through
    bool copyAtLink = false;         // no copy of a file not used whole was kept: its name is a link
};

// The file format, without touching any file. decodeFile gives nothing for bytes that are not a
// preferences file (cut short, or a length that runs past the end); it never reads outside the bytes
// it is given, and ignores any bytes after the last field. A field that cannot be used (a password
// or folder reference that does not decode, a flag or sound setting no save writes) takes its
// default alone; the other fields are kept. Numbers are kept as stored, in range or not.
// encodeFile gives nothing when a text cannot be stored (see passwordFits).
std::optional<Values> decodeFile(const QByteArray& bytes, DecodeReport* report = nullptr);
std::optional<QByteArray> encodeFile(const Values& values);

// Whether the administrative password can be stored: its scrambled form must fit field 1's 255 bytes
// whatever key the scrambling draws, and must read back as the same password.
bool passwordFits(const QString& password);

// The explanation of a preferences file that could not be written, naming it where the file itself
// was the cause (a link at its name, read-only for this account, a full disk).
QString whyNotWritten(Durable::Failure failure, const QString& path);
// The explanation of a file that was not read because a link stands at its name.
QString neverFollowed(const QString& path);

// Puts every preference back to its default and lets the sound settings follow.
void initPrefs();

// Writes the preferences in memory to the file, replacing it only once the new one is complete.
// False (after a message) when nothing was written. A file in this user's preferences folder holds
// the password for this user alone (0600).
bool writePrefFile(const QString& path);
// Reads a preferences file and puts it in force. False, with nothing changed, when there is no file or
// it is unreadable or cut short. A file that was not used whole is first kept beside as
// "<name>.damaged", so that the next write never replaces the teacher's values without a copy. A
// password that cannot be read never replaces the one in use (see passwordUnread). Shows nothing;
// the callers say what a failure means to them.
bool readPrefFile(const QString& path, Location location = Location::FromFile,
                  DecodeReport* report = nullptr);

// The shared folder this computer is set to use: the one in force, or, while the start could not
// reach it, the one this computer's preferences file still names. Empty with data on this computer.
QString networkSetting();

// Saves the changes over the preferences file in use as it stands now (the shared folder's in
// network mode, else the local one), each number held within its bounds, and puts the result in
// force. In network mode the shared folder's file is written first, then the local copy; a shared
// folder that cannot be reached (or an empty folder standing where it is mounted) gets nothing,
// and then nothing is saved at all. An administrative password left unchanged stays as the file
// holds it, also one this computer cannot read. False (after a message) when nothing was saved.
bool hndlWritingPrefs(const Changes& changes);
// The same with every preference as it is in memory.
bool hndlWritingPrefs();
// The local file, then in network mode the shared folder's copy, looking for the folder behind the
// wait window and asking once whether to try again. A shared folder that cannot be reached (or
// holds no school database) turns network mode off for this run only: the local file keeps it. A
// reachable one whose preferences file is missing or unreadable stays in use with the local values,
// and the teacher is told which file. When the administrative password could be read from neither,
// the teacher is told once.
void hndlReadingPrefs();
// The one password of a preferences file, when the file reads and its password field does.
std::optional<QString> passwordIn(const QString& path);
// True when the teacher chose to try the shared folder again.
bool askRetryServer();

// Called whenever a preferences read or reset changed the sound settings, so that the player follows
// them. The sound module lives above the data layer and installs itself here.
void setSoundStatesHandler(std::function<void()> handler);
// Runs that handler; for code that puts a whole set of preferences back in force.
void soundSettingsChanged();

} // namespace myPrefs
