#include "squaresrules.h"

#include "data/gamebests.h"

#include <algorithm>
#include <cstdlib>

namespace Squares {

QString instructionFor(Outcome outcome) {
    switch (outcome) {
    case Outcome::Ignored:
        return {};
    case Outcome::Used:
        return QStringLiteral("That square has already been used!");
    case Outcome::NotAdjacent:
        return QStringLiteral("Can only click an ADJACENT square.\nMay NOT click diagonal.");
    case Outcome::TooBig:
        return QStringLiteral("That total would be too big!\nChoose another function.");
    case Outcome::Hit:
        return QStringLiteral("Correct!\nCan you keep going?");
    case Outcome::Started:
    case Outcome::Missed:
        break;
    }
    return QStringLiteral("Set function,\nClick adjacent square.");
}

QString startInstruction() {
    return QStringLiteral("Click the <Start Game> button to begin.");
}

QString newBoardInstruction() {
    return QStringLiteral("Click on any square to begin");
}

QString formatDisplay(long long value) {
    const QString digits = QStringLiteral("%1").arg(std::llabs(value), 2, 10, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

bool isAdjacent(int from, int to) {
    if (from < 0 || to < 0 || from >= kSquares || to >= kSquares)
        return false;
    const int diff = std::abs(to - from);
    if (diff == kRow)
        return true;
    return diff == 1 && from / kRow == to / kRow;
}

long long applyFunction(int function, long long total, int digit) {
    switch (function) {
    case Subtract:
        return total - digit;
    case Multiply:
        return total * digit;
    case Divide:
        return digit == 0 ? 0 : total / digit; // C++ division truncates toward zero
    default:
        return total + digit;
    }
}

int highestTarget(int difficulty) {
    return 32 * (difficulty + 1);
}

int pointsForHit(int targetNumber, int steps) {
    return std::max(0, 50 * targetNumber + 5 - kStepCost * steps);
}

bool beatsBest(long long points, const QString& storedBest) {
    return points > GameBests::readScore(storedBest);
}

Board::Board(Draw draw) : draw_(std::move(draw)) {}

void Board::drawTarget() {
    targetVal_ = draw_(9, highestTarget(diffLev_));
}

void Board::deal() {
    for (int& d : digits_)
        d = draw_(1, 9);
    curSelection_ = -1;
    drawTarget();
    isFirstClick_ = true;
    allowClick_ = true;
    used_.fill(false);
    curTotal_ = 0;
    totalBeforeStep_ = 0;
    curScore_ = kFirstTargetPoints;
    roundCt_ = 1;
    // The previous board's squares mean nothing on this one.
    lastSel_ = -1;
    allowUndo_ = false;
}

void Board::startGame() {
    earnedPts_ = 0;
    deal();
}

void Board::setDigits(const std::array<int, kSquares>& digits) {
    digits_ = digits;
    used_.fill(false);
    curSelection_ = -1;
    lastSel_ = -1;
    isFirstClick_ = true;
    allowClick_ = true;
    curTotal_ = 0;
    allowUndo_ = false;
}

void Board::setFunction(int function) {
    if (function >= Add && function <= Divide)
        mathMode_ = function;
}

void Board::setDifficulty(int difficulty) {
    diffLev_ = std::clamp(difficulty, 1, 4);
}

Outcome Board::click(int square) {
    if (!allowClick_ || square < 0 || square >= kSquares)
        return Outcome::Ignored;
    const auto at = static_cast<std::size_t>(square);
    if (used_[at])
        return Outcome::Used;

    if (isFirstClick_) {
        curSelection_ = square;
        used_[at] = true;
        curTotal_ = digits_[at];
        isFirstClick_ = false;
        allowUndo_ = false;
        return Outcome::Started;
    }

    if (!isAdjacent(curSelection_, square))
        return Outcome::NotAdjacent;
    const long long next = applyFunction(mathMode_, curTotal_, digits_[at]);
    if (std::llabs(next) > kTotalLimit)
        return Outcome::TooBig;

    used_[at] = true;
    lastSel_ = curSelection_;
    curSelection_ = square;
    totalBeforeStep_ = curTotal_;
    curTotal_ = next;
    curScore_ = std::max(0, curScore_ - kStepCost);

    if (curTotal_ == targetVal_) {
        earnedPts_ += curScore_;
        ++roundCt_;
        curScore_ = roundCt_ * 50 + kStepCost;
        curTotal_ = digits_[at];
        drawTarget();
        allowUndo_ = false;
        return Outcome::Hit;
    }
    allowUndo_ = true;
    lastFunc_ = mathMode_;
    return Outcome::Missed;
}

bool Board::undo() {
    if (!allowUndo_ || lastSel_ < 0 || curSelection_ < 0)
        return false;
    used_[static_cast<std::size_t>(curSelection_)] = false;
    curTotal_ = totalBeforeStep_;
    curSelection_ = lastSel_;
    lastSel_ = -1;
    allowUndo_ = false;
    return true;
}

} // namespace Squares
