#include "mindrules.h"

#include "data/gamebests.h"
#include "data/globals.h"
#include "data/random.h"
#include "games/common/gamearith.h"

#include <algorithm>

namespace MindRules {

static_assert(int(Add) == int(GameArith::Add) && int(Subtract) == int(GameArith::Subtract) &&
              int(Multiply) == int(GameArith::Multiply));

std::int32_t performOp(std::int32_t a, std::int32_t b, int op) {
    // The mind games have no dividing: anything past times is not a sum here.
    return op > Multiply ? 0 : GameArith::performOp(a, b, op);
}

std::int32_t rowValue(int a, int p, int b, int q, int c, bool firstPair) {
    return firstPair ? performOp(performOp(a, b, p), c, q) : performOp(a, performOp(b, c, q), p);
}

ParenLefts parenLefts(bool firstPair) {
    return firstPair ? ParenLefts{14, 243} : ParenLefts{163, 392};
}

Problem makeProblem(int hiNum, bool allowNeg, App::Random& rnd) {
    Problem p;
    auto& n = p.myNum;
    auto& f = p.theFunc;
    const auto number = [&rnd, hiNum] {
        return rnd.inRange(1, hiNum);
    };
    const auto op = [&rnd] {
        return rnd.inRange(Add, Multiply);
    };
    p.firstPair[0] = rnd.inRange(0, 1) == 1;
    do {
        // The second row's first operator is drawn with the first row and kept.
        n[0] = number();
        f[0] = op();
        n[1] = number();
        f[1] = op();
        n[2] = number();
        f[2] = op();
        p.subTot[0] = rowValue(n[0], f[0], n[1], f[1], n[2], p.firstPair[0]);
    } while (!allowNeg && p.subTot[0] <= 0);
    p.firstPair[1] = rnd.inRange(0, 1) == 1;
    do {
        n[3] = number();
        f[3] = op();
        n[4] = number();
        n[5] = number();
        f[4] = op();
        p.subTot[1] = rowValue(n[3], f[2], n[4], f[3], n[5], p.firstPair[1]);
    } while (!allowNeg && p.subTot[1] <= 0);
    p.corAns = performOp(p.subTot[0], p.subTot[1], f[4]);
    return p;
}

QString prompt(int op) {
    switch (op) {
    case Subtract:
        return QStringLiteral("Find the difference of X minus Y");
    case Multiply:
        return QStringLiteral("Find the product of X times Y");
    default:
        return QStringLiteral("Find the sum of X and Y");
    }
}

int hiNumForLevel(const QString& levelText) {
    return myGlobals::textToInt(myGlobals::limitEntry(levelText, kHighestLevel, kLowestLevel)) * 3;
}

int levelForHiNum(int hiNum) {
    return std::min(hiNum, kHighestNumber) / 3;
}

double average(int totGameTime, int probCt) {
    if (totGameTime >= 1 && probCt >= 1)
        return double(totGameTime) / double(probCt);
    return GameBests::kNoAverage;
}

bool improves(double average, const QString& storedBest) {
    return GameBests::beatsAverage(average, storedBest);
}

QString runningAverage(int totGameTime, int probCt) {
    if (probCt <= 0)
        return QStringLiteral("0");
    return GameBests::formatRunningAverage(double(totGameTime) / double(probCt));
}

} // namespace MindRules
