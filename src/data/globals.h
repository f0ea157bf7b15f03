#pragma once

#include <QString>

#include <cstdint>
#include <memory>

class StRecord;
class rndSet;

// Global state of the run and the small helpers every window uses. Nothing here is saved.
namespace myGlobals {

extern std::shared_ptr<StRecord> gCurPlayer; // the signed-in student
extern std::shared_ptr<rndSet> gMySet;       // the current round's problems, kept for a replay
extern int gLastTot;                         // problems in the last round
extern bool gUseLastGame;                    // "Replay Last Game" is ticked
extern bool gNoPWReq;                        // the administrative password need not be asked again
extern QString gPrinterSettings;             // the page setup kept for the run
extern QString pFile;                        // the file shown as the windows' proxy icon

// The program's message box; returns when the user has closed it.
void gShowMsg(bool isCaution, const QString& message, const QString& explanation);

// Reversible scrambling of stored passwords. Every call draws a new key, so one password is stored
// differently each time. Every character but NUL (and half a surrogate pair alone) can be stored;
// only a text made to defeat all nine keys has no stored form, and scrambleStr then gives empty text.
QString scrambleStr(const QString& text);
bool hasStoredForm(const QString& text);
// A text that scrambleStr did not make gives a password that never matches (see passwordMatches).
QString unscrambleStr(const QString& text);
// The one comparison of a typed password with the expected one: exact, and never true for a
// password that could not be unscrambled.
bool passwordMatches(const QString& expected, const QString& typed);

// The number a text reads as, the way stored settings and typed numbers are read: the number the text
// begins with (leading blanks skipped, an optional sign, digits, an optional fraction and power of
// ten), made whole by dropping its fraction; anything else ends the number, and text that starts with
// no number reads as 0. Saturates at the 32-bit range instead of overflowing.
int textToInt(QStringView text);

QString limitEntry(const QString& text, int highest, int lowest);
int limitValueRange(int value, int lowest, int highest);
int conv2Int(int index);
bool conv2Bool(int index);
QString getFuncName(int operation);
bool getTorF();
bool gIsEnterKey(const QString& key);
QString RTrim(const QString& text, const QString& characters);
void gDeleteAFile(const QString& path);
bool resumeShortRound(std::uint8_t count);

// A half-star total as a number of stars with one decimal, always with a point ("1.5", "2.0"),
// whatever the system's decimal separator: star texts are read back, and must not lose a half.
QString starText(int halfStars);

// Names and class names are stored on one line: tabs and line breaks become blanks.
QString oneLine(const QString& text);

} // namespace myGlobals
