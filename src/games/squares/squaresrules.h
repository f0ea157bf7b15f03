#pragma once

// The Math Squares game without its window: an 8 by 8 board of digits 1 to 9, a walk from square to
// neighbouring square that applies the chosen function to a running total at each step, targets
// worth fewer points the longer the walk to them takes, and one step of undo after a miss. The window
// draws this state and forwards clicks, keys and buttons to it; tests drive it directly.

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

namespace Squares {

inline constexpr int kRow = 8;                   // squares per row and rows per board
inline constexpr int kSquares = kRow * kRow;     // 64
inline constexpr int kStepCost = 5;              // points a step takes from the current target
inline constexpr int kFirstTargetPoints = 55;    // points available for a board's first target
inline constexpr long long kTotalLimit = 999999; // the displays' widest number, either sign

enum Function { Add = 0, Subtract = 1, Multiply = 2, Divide = 3 };

// What a click on a square did.
enum class Outcome {
    Ignored,     // the board takes no clicks yet
    Used,        // the square is part of the walk already (the current one too)
    NotAdjacent, // not beside, above or below the current square
    TooBig,      // the step would take the total beyond what the game shows
    Started,     // the first square of the walk on this board
    Hit,         // a step that reached the target
    Missed,      // a step that did not
};

// The two lines of the instruction line after an outcome (empty for Ignored).
QString instructionFor(Outcome outcome);

// Texts the window shows outside a click.
QString startInstruction();    // on every activation of the window
QString newBoardInstruction(); // on a fresh board

// "#00": at least two digits, a minus sign before a negative number's magnitude (-5 "-05").
QString formatDisplay(long long value);

// True when `to` lies directly beside `from` in the same row, or directly above or below it.
bool isAdjacent(int from, int to);

// The total after a step with `digit`; division truncates toward zero.
long long applyFunction(int function, long long total, int digit);

// The highest target of a difficulty (1 to 4): 32 x (difficulty + 1).
int highestTarget(int difficulty);

// Points a hit adds on the k-th step towards target n: max(0, 50n + 5 - 5k).
int pointsForHit(int targetNumber, int steps);

// The stored best as points, and whether a game's points beat it (strictly more).
bool beatsBest(long long points, const QString& storedBest);

class Board {
public:
    // Draws whole numbers from low to high inclusive; the window passes the program's generator.
    using Draw = std::function<int(int low, int high)>;

    explicit Board(Draw draw);

    // A fresh board: new digits, a first target, nothing used, 55 points available; the game's points,
    // the function and the difficulty stay.
    void deal();
    // A new game: the points go back to 0 and a board is dealt.
    void startGame();
    // Draws the next target from the present difficulty.
    void drawTarget();

    Outcome click(int square);
    // Takes the last missed step back; false (and nothing changes) when there is none.
    bool undo();

    void setFunction(int function);
    void setDifficulty(int difficulty);

    // State, read by the window and the tests.
    bool allowClick() const { return allowClick_; }
    bool isFirstClick() const { return isFirstClick_; }
    bool canUndo() const { return allowUndo_; }
    int digit(int square) const { return digits_[static_cast<std::size_t>(square)]; }
    bool isUsed(int square) const { return used_[static_cast<std::size_t>(square)]; }
    int current() const { return curSelection_; }
    int previous() const { return lastSel_; }
    int function() const { return mathMode_; }
    int difficulty() const { return diffLev_; }
    long long total() const { return curTotal_; }
    int target() const { return targetVal_; }
    int available() const { return curScore_; }
    int targetNumber() const { return roundCt_; }
    long long earned() const { return earnedPts_; }

    // For tests and benchmarks: a board laid out by hand, with the walk not yet started.
    void setDigits(const std::array<int, kSquares>& digits);
    void setTarget(int target) { targetVal_ = target; }

private:
    Draw draw_;
    std::array<int, kSquares> digits_{};
    std::array<bool, kSquares> used_{};
    bool allowClick_ = false;
    bool isFirstClick_ = false;
    int curSelection_ = -1;
    int lastSel_ = -1;
    int lastFunc_ = Add;
    int mathMode_ = Add;
    long long curTotal_ = 0;
    long long totalBeforeStep_ = 0; // what undo gives back: the total the student had
    int targetVal_ = 0;
    int diffLev_ = 2;
    int curScore_ = 0;
    int roundCt_ = 0;
    long long earnedPts_ = 0;
    bool allowUndo_ = false;
};

} // namespace Squares
