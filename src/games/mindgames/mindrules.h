#pragma once

// The rules of the Mind games without a window: two rows of three numbers, each with two operators
// and its bracketed pair worked out first, give X and Y; a fifth operator joins them into the
// answer. Also the difficulty levels and the average time per problem.

#include <QString>

#include <array>
#include <cstdint>

namespace App {
class Random;
}

namespace MindRules {

enum Op { Add = 0, Subtract = 1, Multiply = 2 };

// a op b on 32-bit integers (wrapping, never undefined); an unknown operator gives 0.
std::int32_t performOp(std::int32_t a, std::int32_t b, int op);

// The value of a p b q c with the first pair bracketed, (a p b) q c, or the last, a p (b q c).
std::int32_t rowValue(int a, int p, int b, int q, int c, bool firstPair);

// Where a row's "(" and ")" stand: around the first pair, or around the last.
struct ParenLefts {
    int open;
    int close;
};
ParenLefts parenLefts(bool firstPair);

struct Problem {
    std::array<int, 6> myNum{};   // 0..2 the first row, 3..5 the second
    std::array<int, 5> theFunc{}; // 0, 1 the first row's; 2, 3 the second row's; 4 joins X and Y
    std::array<bool, 2> firstPair{};
    std::array<int, 2> subTot{}; // X and Y
    int corAns = 0;
};

// A new problem with numbers 1..hiNum. Without negatives a row worth 0 or less is drawn again; the
// answer itself is never drawn again, so X - Y may still be 0 or less.
Problem makeProblem(int hiNum, bool allowNeg, App::Random& rnd);

// The question for the joining operator.
QString prompt(int op);

// The difficulty levels 1..4 play with 3, 6, 9 or 12: a level as typed (any text) and the level
// shown for a drill setting's highest number.
inline constexpr int kLowestLevel = 1, kHighestLevel = 4, kHighestNumber = 12;
int hiNumForLevel(const QString& levelText);
int levelForHiNum(int hiNum);

// Fewest finished problems that count a game.
inline constexpr int kCountedProblems = 5;

// The game's average seconds per finished problem for the stored best; a game with no positive time
// or nothing finished counts as no time (99.99).
double average(int totGameTime, int probCt);
// Whether a game's average improves the stored best: strictly lower than the stored number, before
// either is rounded (a stored text that is no positive number counts as no time yet).
bool improves(double average, const QString& storedBest);
// The running average as the clock panel shows it ("##.##"; "0" before a problem is finished).
QString runningAverage(int totGameTime, int probCt);

} // namespace MindRules
