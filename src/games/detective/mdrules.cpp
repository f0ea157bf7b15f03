#include "mdrules.h"

#include "data/globals.h"
#include "data/random.h"

#include <algorithm>

int MDRules::heldHighest(int value) {
    return std::clamp(value, kLowestHighNumber, kHighestHighNumber);
}

std::vector<int> MDRules::divisors(int n) {
    std::vector<int> d;
    for (int i = 1; i <= n; ++i) {
        if (n % i == 0)
            d.push_back(i);
    }
    return d;
}

int MDRules::playedBase(int drawn) {
    switch (drawn) {
    case 120:
    case 144:
    case 168:
    case 180:
        return drawn + 4;
    default:
        return drawn;
    }
}

void MDRules::startFactors() {
    const int low = highest_ + 2;
    const int high = (highest_ + 2) * 10;
    // Fewer than 5 divisors makes too easy a round; more than 12 (192, 210) would not fit the fields.
    do {
        base_ = playedBase(App::myRnd().inRange(low, high));
        answers_ = divisors(base_);
    } while (count() < 5 || count() > kFields);
    begin(true);
}

void MDRules::startMultiples() {
    do {
        base_ = App::myRnd().inRange(2, highest_);
    } while (base_ == lastMultiplesBase_);
    lastMultiplesBase_ = base_;
    answers_.clear();
    for (int i = 1; i <= 10; ++i)
        answers_.push_back(i * base_);
    begin(false);
}

void MDRules::deal() {
    used_.fill(false);
    std::vector<int> numbers(answers_);
    // Each distractor is drawn among the numbers not yet on the board, so dealing always ends, even
    // where the range holds few more numbers than the board needs.
    std::vector<int> candidates;
    for (int v = 2; v <= std::max((highest_ + 2) * 10, 70); ++v) {
        if (std::find(numbers.begin(), numbers.end(), v) == numbers.end())
            candidates.push_back(v);
    }
    while (static_cast<int>(numbers.size()) < kSquares && !candidates.empty()) {
        const int pick = App::myRnd().inRange(0, static_cast<int>(candidates.size()) - 1);
        numbers.push_back(candidates[static_cast<std::size_t>(pick)]);
        candidates.erase(candidates.begin() + pick);
    }
    // Each number goes to a free square drawn at random.
    std::vector<int> free(kSquares);
    for (int s = 0; s < kSquares; ++s)
        free[static_cast<std::size_t>(s)] = s;
    for (const int n : numbers) {
        const int pick = App::myRnd().inRange(0, static_cast<int>(free.size()) - 1);
        board_[static_cast<std::size_t>(free[static_cast<std::size_t>(pick)])] = n;
        free.erase(free.begin() + pick);
    }
    showNumbers_ = true;
}

void MDRules::begin(bool factors) {
    factors_ = factors;
    deal();
    found_ = 0;
    foundAnswers_.assign(answers_.size(), false);
    missesLeft_ = kMisses;
    seconds_ = 0;
    roundDone_ = false;
}

int MDRules::fieldAnswer(int field) const {
    const int i = count() - 1 - field;
    return i >= 0 && i < count() ? answers_[static_cast<std::size_t>(i)] : -1;
}

QString MDRules::instructions(const QString& firstName) const {
    const QString task =
        factors_ ? QStringLiteral("Find %1 factors of %2").arg(count()).arg(base_)
                 : QStringLiteral("Find 10 multiples of %1 below %2").arg(base_).arg(base_ * 10 + 1);
    return firstName + QStringLiteral(": ") + task + QLatin1Char('\n') +
           QStringLiteral("Click a number or type into the field.");
}

int MDRules::numberOn(int square) const {
    return square >= 0 && square < kSquares ? board_[static_cast<std::size_t>(square)] : 0;
}

bool MDRules::used(int square) const {
    return square >= 0 && square < kSquares && used_[static_cast<std::size_t>(square)];
}

int MDRules::squareOf(int value) const {
    if (!showNumbers_)
        return -1;
    for (int s = 0; s < kSquares; ++s) {
        if (board_[static_cast<std::size_t>(s)] == value)
            return s;
    }
    return -1;
}

MDRules::Outcome MDRules::correct(int answer) {
    foundAnswers_[static_cast<std::size_t>(answer)] = true;
    ++found_;
    Outcome o{found_ == count() ? Kind::Won : Kind::Found, answer, false};
    if (o.kind == Kind::Won)
        roundDone_ = true;
    return o;
}

MDRules::Outcome MDRules::miss() {
    --missesLeft_;
    Outcome o{missesLeft_ <= 0 ? Kind::Lost : Kind::Missed, -1, missesLeft_ == 1};
    if (o.kind == Kind::Lost)
        roundDone_ = true;
    return o;
}

MDRules::Outcome MDRules::click(int square) {
    if (roundDone_ || square < 0 || square >= kSquares || used(square))
        return {};
    used_[static_cast<std::size_t>(square)] = true;
    const auto it = std::find(answers_.begin(), answers_.end(), numberOn(square));
    if (it != answers_.end())
        return correct(static_cast<int>(it - answers_.begin()));
    return miss();
}

MDRules::Outcome MDRules::entry(const QString& text, int field) {
    if (roundDone_ || field < 0 || field >= count())
        return {};
    const int a = fieldAnswer(field);
    if (text.size() < QString::number(a).size())
        return {Kind::Growing, -1, false};
    const int value = myGlobals::textToInt(text);
    if (value == a && foundAnswers_[static_cast<std::size_t>(count() - 1 - field)])
        return {};
    if (value == a) {
        if (const int s = squareOf(a); s >= 0)
            used_[static_cast<std::size_t>(s)] = true;
        return correct(count() - 1 - field);
    }
    // A number that is no answer of the round is crossed off the board; another field's answer stays
    // to be found.
    if (std::find(answers_.begin(), answers_.end(), value) == answers_.end()) {
        if (const int s = squareOf(value); s >= 0)
            used_[static_cast<std::size_t>(s)] = true;
    }
    return miss();
}

int MDRules::nextField(int field, const std::vector<bool>& empty) {
    const int n = static_cast<int>(empty.size());
    for (int step = 1; step <= n; ++step) {
        const int k = (field + step) % n;
        if (k != field && empty[static_cast<std::size_t>(k)])
            return k;
    }
    return field < n - 1 ? field + 1 : field;
}
