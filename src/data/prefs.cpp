#include "prefs.h"

namespace myPrefs {

QString prPassWord;
bool prUseAltLoc = false;
QString prAltFileLoc;
bool prNoClass = true;
bool prReqStPW = false;
int prMaxTries = 3;
int prDataSource = 0;
int prNumCrit = 40;
int prPctCrit = 85;
int prHiCrit = 10;
QString prSndSet = QStringLiteral("2,0,0,0");
bool prNoAnim = false;
bool prefsDirty = false;

void initPrefs() {
    prPassWord.clear();
    prUseAltLoc = false;
    prAltFileLoc.clear();
    prNoClass = true;
    prReqStPW = false;
    prMaxTries = 3;
    prDataSource = 0;
    prNumCrit = 40;
    prPctCrit = 85;
    prHiCrit = 10;
    prSndSet = QStringLiteral("2,0,0,0");
    prNoAnim = false;
}

} // namespace myPrefs
