#include "basketrules.h"

#include "data/prefs.h"
#include "data/random.h"
#include "games/common/gamearith.h"

#include <algorithm>
#include <cstdlib>

namespace BasketRules {

static_assert(int(Add) == int(GameArith::Add) && int(Subtract) == int(GameArith::Subtract) &&
              int(Multiply) == int(GameArith::Multiply) && int(Divide) == int(GameArith::Divide));

int clampHiNum(int hiNum) {
    return std::clamp(hiNum, kLowestHiNum, kHighestHiNum);
}

std::int32_t performOp(std::int32_t a, std::int32_t b, int op) {
    return GameArith::performOp(a, b, op);
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
