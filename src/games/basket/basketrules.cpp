#include "basketrules.h"

#include "data/prefs.h"
#include "data/random.h"

#include <algorithm>
#include <cstdlib>

namespace BasketRules {

int clampHiNum(int hiNum) {
    return std::clamp(hiNum, kLowestHiNum, kHighestHiNum);
}

std::int32_t performOp(std::int32_t a, std::int32_t b, int op) {
    const auto wrap = [](std::int64_t v) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    };
    switch (op) {
    case Add:
        return wrap(std::int64_t(a) + b);
    case Subtract:
        return wrap(std::int64_t(a) - b);
    case Multiply:
        return wrap(std::int64_t(a) * b);
    case Divide:
        // The one quotient that does not fit wraps like the others.
        return b == 0 ? 0 : wrap(std::int64_t(a) / b);
    default:
        return 0;
    }
}

bool allowFunc(int total, int number, int op) {
    if (op < Divide)
        return true;
    const int q = number == 0 ? 0 : total / number;
    return q > 0 && q * number == total;
}

bool allowCorAns(int total, int hiNum, bool allowNeg) {
    if (!allowNeg && total < 0)
        return false;
    return std::llabs(static_cast<long long>(total)) <= 10LL * hiNum;
}

Draw firstNumber(int hiNum, App::Random& rnd) {
    Draw d;
    d.number = rnd.inRange(1, hiNum);
    d.op = Add;
    d.total = d.number;
    return d;
}

Draw nextNumber(int total, int hiNum, bool allowNeg, App::Random& rnd) {
    for (;;) {
        Draw d;
        d.number = rnd.inRange(1, hiNum);
        do
            d.op = rnd.inRange(Add, Divide);
        while (!allowFunc(total, d.number, d.op));
        d.total = performOp(total, d.number, d.op);
        if (allowCorAns(d.total, hiNum, allowNeg))
            return d;
    }
}

int fallRate(int round) {
    return round < 6 ? 3 : std::min(round, kLastFasterRound) / 2;
}

int fallPeriod(int round) {
    return 52 - std::clamp(round, 1, kLastFasterRound);
}

int stepsToLand(int rate, int chuteHeight, int pictureHeight) {
    return rate > 0 ? (chuteHeight + pictureHeight) / rate + 1 : 0;
}

int triesAllowed(int maxTries) {
    return std::clamp(maxTries, myPrefs::kMinTries, myPrefs::kMaxTries);
}

QString pointsText(int points) {
    return QString::number(points).rightJustified(2, QLatin1Char('0'));
}

} // namespace BasketRules
