#pragma once

// The rules of the basket game without a window: which numbers and operators may fall, what the
// basket then holds, how fast a round falls and how many tries a total gets. The window draws and
// times; everything it decides about numbers comes from here.

#include <QString>

#include <cstdint>

namespace App {
class Random;
}

namespace BasketRules {

enum Op { Add = 0, Subtract = 1, Multiply = 2, Divide = 3 };

// The highest number the game plays with, whatever the setting or the box held: below 4 a draw
// could never end, and 9 keeps every total within the basket's 90.
inline constexpr int kLowestHiNum = 4;
inline constexpr int kHighestHiNum = 9;
int clampHiNum(int hiNum);

// a op b on 32-bit integers (wrapping, never undefined); a division truncates toward zero and gives
// 0 for a zero divisor; an unknown operator gives 0.
std::int32_t performOp(std::int32_t a, std::int32_t b, int op);

// Whether `op` may bring `number` to a basket holding `total`: a division only when the total is
// positive and an exact multiple of the number.
bool allowFunc(int total, int number, int op);

// Whether a basket may hold `total`: within 10 x hiNum either way, and not below 0 without negatives.
bool allowCorAns(int total, int hiNum, bool allowNeg);

struct Draw {
    int number = 0; // 1..hiNum
    int op = Add;   // how it joins the basket
    int total = 0;  // what the basket holds afterwards
};

// The first number of a round: the emptied basket plus a number, shown with the plus sign.
Draw firstNumber(int hiNum, App::Random& rnd);
// A later number: a number, then operators for it until one is allowed; a total out of bounds draws
// both again. Always ends, since multiplying by 1 keeps any allowed total.
Draw nextNumber(int total, int hiNum, bool allowNeg, App::Random& rnd);

// Pixels a number moves per step in a round, and the step's period in milliseconds. From round 52
// on the period would reach 0 (a timer that spins) or below (refused): those rounds keep round 51's
// pace.
inline constexpr int kLastFasterRound = 51;
int fallRate(int round);
int fallPeriod(int round);
// Steps from a number's start above the chute until it has left at the bottom.
int stepsToLand(int rate, int chuteHeight = 260, int pictureHeight = 32);

// The tries a total gets, held to what the preferences allow.
int triesAllowed(int maxTries);

// Points for a game whose last right total was in `round`.
inline int pointsFor(int round) {
    return round * 100;
}

// The points as the panel shows them: at least two digits ("00", "300", "1500").
QString pointsText(int points);

} // namespace BasketRules
