#pragma once

#include <QString>

// The teacher's program-wide preferences. They hold their documented defaults from the start, so
// that nothing reads a zero criterion before the preferences file has been read.
namespace myPrefs {

extern QString prPassWord;   // administrative password, in clear
extern bool prUseAltLoc;     // the data lives in a shared network folder
extern QString prAltFileLoc; // that folder's reference
extern bool prNoClass;       // students may add their own name
extern bool prReqStPW;       // students give their password before playing
extern int prMaxTries;       // tries allowed for one problem (2 to 6)
extern int prDataSource;     // 0 the student's results, 1 random, 2 saved sets
extern int prNumCrit;        // fewest problems of a fact that can count as learned (10 to 100)
extern int prPctCrit;        // percent right at which a fact counts as learned (10 to 100)
extern int prHiCrit;         // highest second number counted for stars (10 to 19)
extern QString prSndSet;     // sound settings "state,right,wrong,round"
extern bool prNoAnim;        // numbers appear without animation
extern bool prefsDirty;

// Puts every preference back to its default.
void initPrefs();

} // namespace myPrefs
