#pragma once

// What one cell of the progress grid shows: the whole percent of its bar, the bar's tag, the colour
// of each column of the bar, and whether its picture is a star, a "Try" picture or a cross. Kept
// apart from the window so that every rule can be checked without painting.
//
// A cell is numbered 0 to 39: ten rows per operation, the operations left to right (0 addition,
// 1 subtraction, 2 multiplication, 3 division). The row plus the tab's offset (0 or 10) is the fact
// index, whose fact family is one more.

#include <QColor>
#include <QString>

class StRecord;

namespace ProgressGrid {

inline constexpr int kRows = 10;
inline constexpr int kColumns = 4;
inline constexpr int kCells = kRows * kColumns;
// Shading of the bars: the left edge, the right edge, and the part beyond the percent.
inline constexpr QRgb kStartColour = 0x849CFF;
inline constexpr QRgb kEndColour = 0x79FF63;
inline constexpr QRgb kRemainderColour = 0xD0D0D0;

inline int operationOf(int cell) {
    return cell / kRows;
}
inline int factIndexOf(int cell, int tierLev) {
    return cell % kRows + tierLev;
}
// The record counts families 1 to 19: fact index 19 (the tenth row of the second tab) is no family.
bool namesAFamily(int factIndex);

// The teacher's criteria as the grid uses them: those in force (myPrefs::inForce), each within the
// range the preferences window allows whatever the preferences in memory hold.
struct Criteria {
    int numCrit; // fewest problems a percentage is counted against
    int pctCrit; // percent at which a family is learned
    int hiCrit;  // highest family that is counted
};
Criteria criteria();

// The record's percentage of one operation and fact index, kept within 0 to 100 so that a damaged
// count never draws outside its bar; 0 for a cell that names no family or when there is no record.
double percentOf(const StRecord* record, int operation, int factIndex);
// The percentage as shown: its fraction dropped (66.67 shows as 66).
int wholePercentOf(const StRecord* record, int operation, int factIndex);

// "C of D = P%", "not counted" above the highest counted family, and empty for a cell that names
// no family.
QString tagText(const StRecord* record, int operation, int factIndex, const Criteria& criteria);

// The colour of column x of a bar of the given width: blue at the left edge to green at the right,
// whatever the bar's percent.
QColor columnColour(int x, int width);

enum class Mark { None, Cross, Try, Star };
// Cross for a family that is not counted, Try below the required percent, the star at or above it.
// The comparison keeps the percentage's fraction, so a star stands exactly where the shown whole
// percent reaches the requirement.
Mark markOf(const StRecord* record, int operation, int factIndex, const Criteria& criteria);

} // namespace ProgressGrid
