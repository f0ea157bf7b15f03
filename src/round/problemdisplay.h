#pragma once

// Where the drill round's problem area stands, and what its digit cells show for a problem. Pure
// functions of the problem and the layout, so that every case of the display can be checked without
// a window.
//
// The first number fills three digit cells (hundreds, tens, units: cells 0 to 2), the second number
// two (tens and units: cells 3 and 4). A minus that has no room in its row goes into a separate sign
// cell before the row: sign cell 0 for the first number, sign cell 1 for the second.

#include <QPoint>

#include <array>
#include <optional>

namespace ProblemDisplay {

inline constexpr int kCells = 5;
inline constexpr int kTopCells = 3;
inline constexpr int kBottomCells = 2;
// Picture indexes of a cell besides the digits 0 to 9.
inline constexpr int kBlank = 10;
inline constexpr int kMinus = 11;
// The largest numbers each row can show.
inline constexpr int kMaxFirst = 999;
inline constexpr int kMaxSecond = 99;

// The places of the problem area's controls (top-left corners in window coordinates).
struct Area {
    QPoint negCnv0;
    std::array<QPoint, kTopCells> topWell;
    QPoint operand;
    QPoint negCnv1;
    std::array<QPoint, kBottomCells> botWell;
    QPoint eqSign;
    QPoint answer;
};

// The vertical layout (the second number under the first, a line, the answer under it), or one of the
// two rows of the horizontal layout: unknown term 0 reads "first sign second = answer", unknown term 1
// reads "answer sign second = result".
Area area(bool vertical, int unknownTerm);

// The operation sign's left edge in the horizontal layout, and where sign cell 1 goes when the second
// number is a negative number of two digits (the only case in which that cell shows its minus).
struct HorizontalSign {
    int operandLeft;
    std::optional<int> negCnv1Left;
};
HorizontalSign horizontalSign(int unknownTerm, bool twoDigitNegative);

// What the cells show for one problem: the number in the first row and the number in the second.
struct Cells {
    std::array<int, kCells> whichPict{}; // 0 to 9 a digit, kBlank, kMinus
    std::array<bool, 2> showNeg{};       // each sign cell shows its minus
    int operandLeft = 0;                 // the operation sign's left edge for this problem
    std::optional<int> negCnv1Left;      // sign cell 1 moves here (it stays where it is otherwise)
};
// A number too large for its row shows as a blank row.
Cells cellsFor(int firstRow, int secondRow, bool vertical, int unknownTerm);

} // namespace ProblemDisplay
