#include "numgamerules.h"

#include "data/gamebests.h"
#include "data/random.h"

#include <algorithm>
#include <cmath>

int NumGameRules::heldHighest(int value) {
    return std::clamp(value, kLowestHighNumber, kHighestHighNumber);
}

int NumGameRules::perRow(int tiles) {
    if (tiles <= 0)
        return 1;
    return std::max(1, static_cast<int>(std::lround(std::sqrt(static_cast<double>(tiles)))));
}

QPoint NumGameRules::boardOrigin(int tiles) {
    switch (tiles) {
    case 36:
        return {142, 110};
    case 16:
        return {192, 160};
    default:
        return {92, 60};
    }
}

QPoint NumGameRules::tilePlace(int index, int tiles) {
    const int n = perRow(tiles);
    return boardOrigin(tiles) + QPoint(kTilePitch * (index % n), kTilePitch * (index / n));
}

int NumGameRules::numberLeft(int number) {
    return number >= 0 && number <= 9 ? 10 : 2;
}

QString NumGameRules::signOf(int func) {
    switch (func) {
    case Minus:
        return QStringLiteral("-");
    case Times:
        return QStringLiteral("X");
    default:
        return QStringLiteral("+");
    }
}

int NumGameRules::combine(int func, int first, int second) {
    switch (func) {
    case Minus:
        return first - second;
    case Times:
        return first * second;
    default:
        return first + second;
    }
}

void NumGameRules::fill(int tiles, int highest) {
    const int hi = heldHighest(highest);
    numbers_.clear();
    numbers_.reserve(static_cast<std::size_t>(std::max(tiles, 0)));
    for (int i = 0; i < tiles; ++i)
        numbers_.push_back(App::myRnd().inRange(1, hi));
}

int NumGameRules::numberAt(int tile) const {
    if (tile < 0 || tile >= static_cast<int>(numbers_.size()))
        return kUsed;
    return numbers_[static_cast<std::size_t>(tile)];
}

int NumGameRules::freeTiles() const {
    int free = 0;
    for (int t = 0; t < tiles_; ++t)
        free += numberAt(t) != kUsed ? 1 : 0;
    return free;
}

void NumGameRules::start(int chosen, int tiles, bool allowNegatives) {
    // The game keeps to the tiles that have a number: positions beyond the last fill hold none.
    tiles_ = std::clamp(tiles, 0, static_cast<int>(numbers_.size()));
    allowNegatives_ = allowNegatives;
    problems_ = std::max(0, std::min(chosen, freeTiles() / 2));
    solved_ = 0;
    seconds_ = 0;
    running_ = problems_ > 0;
    firstPick_ = secondPick_ = replaced_ = -1;
    if (running_)
        drawProblem();
}

int NumGameRules::drawFreeTile(int other) {
    for (;;) {
        const int t = App::myRnd().inRange(1, tiles_) - 1;
        if (numberAt(t) != kUsed && t != other)
            return t;
    }
}

void NumGameRules::drawProblem() {
    firstPick_ = secondPick_ = replaced_ = -1;
    // Every right pair uses two tiles and a game has at most half the free tiles as problems, so two
    // free tiles always remain and the draws below end.
    if (freeTiles() < 2) {
        running_ = false;
        return;
    }
    const int firstTile = drawFreeTile(-1);
    const int secondTile = drawFreeTile(firstTile);
    int a = numberAt(firstTile);
    int b = numberAt(secondTile);
    func_ = App::myRnd().inRange(Plus, Times);
    if (func_ == Minus && !allowNegatives_ && a < b)
        std::swap(a, b);
    answer_ = combine(func_, a, b);
}

NumGameRules::Pick NumGameRules::pick(int tile) {
    if (!running_)
        return Pick::Ignored;
    if (tile < 0 || tile >= tiles_ || numberAt(tile) == kUsed)
        return Pick::Refused;
    replaced_ = -1;
    if (firstPick_ < 0) {
        firstPick_ = tile;
        return Pick::First;
    }
    if (tile == firstPick_)
        return Pick::Refused;
    if (secondPick_ >= 0 && secondPick_ != tile)
        replaced_ = secondPick_;
    secondPick_ = tile;
    return Pick::Second;
}

NumGameRules::Verdict NumGameRules::check() {
    if (!pairComplete())
        return Verdict::Wrong;
    const int r = combine(func_, numberAt(firstPick_), numberAt(secondPick_));
    if (r != answer_) {
        firstPick_ = secondPick_ = replaced_ = -1;
        return Verdict::Wrong;
    }
    ++solved_;
    numbers_[static_cast<std::size_t>(firstPick_)] = kUsed;
    numbers_[static_cast<std::size_t>(secondPick_)] = kUsed;
    if (solved_ >= problems_) {
        firstPick_ = secondPick_ = replaced_ = -1;
        running_ = false;
        return Verdict::Finished;
    }
    drawProblem();
    return Verdict::Right;
}

bool NumGameRules::looksPicked(int tile) const {
    return running_ && tile >= 0 && (tile == firstPick_ || tile == secondPick_);
}

QString NumGameRules::averageText() const {
    if (solved_ <= 0)
        return {};
    return GameBests::formatAverage(static_cast<double>(seconds_) / solved_);
}

NumGameRules::Result NumGameRules::result(const QString& storedBest, const QString& firstName) const {
    Result r;
    r.average = GameBests::roundToCents(solved_ > 0 ? static_cast<double>(seconds_) / solved_ : 0.0);
    r.shown = GameBests::formatAverage(r.average);
    r.improved = solved_ > 0 && GameBests::beatsAverage(r.average, storedBest);
    if (r.improved) {
        r.stored = GameBests::formatPlain(r.average);
        r.message = QStringLiteral("Congratulations, ") + firstName + QStringLiteral("!\n") +
                    QStringLiteral("You have improved your average time per problem.");
        r.explanation = QStringLiteral("Try to beat this score next time.");
    } else {
        r.message = QStringLiteral("Sorry, ") + firstName + QLatin1Char('\n') +
                    QStringLiteral("Your average time was ") + r.shown +
                    QStringLiteral(" which did not improve your score.");
        r.explanation = QStringLiteral("You can try again at any time.");
    }
    return r;
}
