#include "problemdisplay.h"

#include <cstdlib>

namespace ProblemDisplay {

namespace {

constexpr int kWellStep = 36;

template <std::size_t N> std::array<QPoint, N> row(int left, int top) {
    std::array<QPoint, N> wells;
    for (std::size_t i = 0; i < N; ++i)
        wells[i] = QPoint(left + kWellStep * static_cast<int>(i), top);
    return wells;
}

// The vertical layout's sign places for a second number: at or above 0, from -9 to -1, -10 or below.
constexpr int kVerticalOperand = 320;
constexpr int kVerticalOperandOneDigitNegative = 321;
constexpr int kVerticalOperandTwoDigitNegative = 296;
constexpr int kVerticalNegOneDigit = 237;
constexpr int kVerticalNegTwoDigits = 337;

} // namespace

Area area(bool vertical, int unknownTerm) {
    if (vertical) {
        return {QPoint(300, 66),  row<kTopCells>(330, 60),     QPoint(321, 113),
                QPoint(237, 113), row<kBottomCells>(366, 108), QPoint(436, 518),
                QPoint(350, 180)};
    }
    if (unknownTerm == 1) {
        return {QPoint(443, 118), row<kTopCells>(471, 112),    QPoint(269, 118),
                QPoint(312, 118), row<kBottomCells>(340, 112), QPoint(415, 114),
                QPoint(172, 116)};
    }
    return {QPoint(172, 118), row<kTopCells>(200, 112),    QPoint(335, 118),
            QPoint(368, 118), row<kBottomCells>(396, 112), QPoint(469, 114),
            QPoint(494, 116)};
}

HorizontalSign horizontalSign(int unknownTerm, bool twoDigitNegative) {
    if (unknownTerm == 1)
        return twoDigitNegative ? HorizontalSign{269, 312} : HorizontalSign{283, std::nullopt};
    return twoDigitNegative ? HorizontalSign{321, 368} : HorizontalSign{335, std::nullopt};
}

Cells cellsFor(int firstRow, int secondRow, bool vertical, int unknownTerm) {
    Cells c;
    c.whichPict.fill(kBlank);

    if (std::abs(firstRow) <= kMaxFirst) {
        const int t = std::abs(firstRow);
        c.whichPict[0] = t / 100;
        c.whichPict[1] = (t % 100) / 10;
        c.whichPict[2] = t % 10;
        // Leading zeros are blank; the units always show a digit, so 0 shows as one 0.
        if (c.whichPict[0] == 0)
            c.whichPict[0] = kBlank;
        if (c.whichPict[1] == 0 && c.whichPict[0] == kBlank)
            c.whichPict[1] = kBlank;
        if (firstRow <= -100)
            c.showNeg[0] = true;
        else if (firstRow <= -10)
            c.whichPict[0] = kMinus;
        else if (firstRow < 0)
            c.whichPict[1] = kMinus;
    }

    const bool secondFits = std::abs(secondRow) <= kMaxSecond;
    if (secondFits) {
        const int b = std::abs(secondRow);
        c.whichPict[3] = b / 10 == 0 ? kBlank : b / 10;
        c.whichPict[4] = b % 10;
    }
    const bool oneDigitNegative = secondFits && secondRow < 0 && secondRow >= -9;
    const bool twoDigitNegative = secondFits && secondRow <= -10;
    if (oneDigitNegative)
        c.whichPict[3] = kMinus;
    if (twoDigitNegative)
        c.showNeg[1] = true;

    if (vertical) {
        if (twoDigitNegative) {
            c.operandLeft = kVerticalOperandTwoDigitNegative;
            c.negCnv1Left = kVerticalNegTwoDigits;
        } else if (oneDigitNegative) {
            c.operandLeft = kVerticalOperandOneDigitNegative;
            c.negCnv1Left = kVerticalNegOneDigit;
        } else {
            c.operandLeft = kVerticalOperand;
        }
    } else {
        const HorizontalSign sign = horizontalSign(unknownTerm, twoDigitNegative);
        c.operandLeft = sign.operandLeft;
        c.negCnv1Left = sign.negCnv1Left;
    }
    return c;
}

} // namespace ProblemDisplay
