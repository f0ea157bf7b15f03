#include "challengerules.h"

#include <algorithm>

namespace Challenge {

Problem makeProblem(int missing, int function, int high, const std::function<int(int, int)>& draw) {
    Problem p;
    p.missing = missing;
    p.function = function;
    switch (function) {
    case Subtract:
        // The top must exceed the missing number, so that the result is at least 1.
        do {
            p.top = draw(1, high + 1);
        } while (p.top <= missing);
        p.result = p.top - missing;
        break;
    case Multiply:
        p.top = draw(1, high);
        p.result = missing * p.top;
        break;
    case Divide:
        p.result = draw(1, 9);
        p.top = missing * p.result;
        break;
    default:
        p.function = Add;
        p.top = draw(1, high);
        p.result = missing + p.top;
        break;
    }
    return p;
}

bool completes(const Problem& p, int x) {
    switch (p.function) {
    case Subtract:
        return p.top - x == p.result;
    case Multiply:
        return p.top * x == p.result;
    case Divide:
        return x != 0 && p.top % x == 0 && p.top / x == p.result;
    default:
        return p.top + x == p.result;
    }
}

Flight flightTo(int target) {
    switch (target) {
    case 0:
        return {-6, -4, 129};
    case 1:
        return {6, -4, 129};
    case 2:
        return {-6, 4, 329};
    case 3:
        return {6, 4, 329};
    default:
        return {0, 4, 400};
    }
}

QPoint flightStep(QPoint at, const Flight& flight, bool* arrived) {
    at.rx() += flight.xDelta;
    at.ry() += flight.yDelta;
    if (arrived)
        *arrived = flight.yDelta < 0 ? at.y() <= flight.yStop : at.y() >= flight.yStop;
    return at;
}

QPoint markerAt(int target) {
    switch (target) {
    case 0:
        return {178, 129};
    case 1:
        return {458, 129};
    case 2:
        return {178, 329};
    case 3:
        return {458, 329};
    case kTrash:
        return {319, 440};
    default:
        return {0, 0};
    }
}

int clampHigh(int high) {
    return std::clamp(high, kLowestHigh, kHighestHigh);
}

Game::Game(Draw draw) : draw_(std::move(draw)) {}

void Game::start() {
    empty_.fill(true);
    right_ = 0;
    wrong_ = 0;
    missed_ = 0;
    curTime_ = 0;
    inProgress_ = true;
    isOK_ = false;
    isTrash_ = false;
    marker_ = -1;
    landed_ = -1;
    flyingTo_ = -1;
    deal();
}

int Game::createNewWC() {
    const int d = draw_(0, 10);
    if (d < kSlots && !empty_[static_cast<std::size_t>(d)])
        return problems_[static_cast<std::size_t>(d)].missing;
    return draw_(1, high_);
}

void Game::deal() {
    // Drawn before the empty slots are refilled, so a card never comes from the slot just emptied.
    do {
        curWildCard_ = createNewWC();
    } while (curWildCard_ == lastWildCard_);
    lastWildCard_ = curWildCard_;
    allowClick_ = true;
    isOK_ = false;
    landed_ = -1;
    setProbs();
}

bool Game::checkDuplProb(int top, int result, int slot) const {
    const QString topText = QString::number(top);
    const QString resultText = QString::number(result);
    for (int i = 0; i < kSlots; ++i) {
        if (i != slot && topText_[static_cast<std::size_t>(i)] == topText &&
            resultText_[static_cast<std::size_t>(i)] == resultText)
            return true;
    }
    return false;
}

void Game::setProbs() {
    for (int i = 0; i < kSlots; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!empty_[at])
            continue;
        Problem p;
        do {
            const int x = draw_(1, high_);
            const int f = draw_(0, 3);
            p = makeProblem(x, f, high_, draw_);
        } while (checkDuplProb(p.top, p.result, i));
        setProblem(i, p);
    }
}

void Game::setProblem(int slot, const Problem& p) {
    const auto at = static_cast<std::size_t>(slot);
    problems_[at] = p;
    empty_[at] = false;
    topText_[at] = QString::number(p.top);
    resultText_[at] = QString::number(p.result);
}

int Game::fittingSlot() const {
    for (int i = 0; i < kSlots; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!empty_[at] && problems_[at].missing == curWildCard_)
            return i;
    }
    return -1;
}

Outcome Game::click(int target) {
    if (!allowClick_ || target < 0 || target > kTrash)
        return Outcome::Ignored;
    allowClick_ = false;
    const int fits = fittingSlot();
    if (target < kSlots) {
        const auto at = static_cast<std::size_t>(target);
        if (!empty_[at] && problems_[at].missing == curWildCard_) {
            empty_[at] = true;
            flyingTo_ = target;
            return Outcome::ToSlot;
        }
        ++wrong_;
        curTime_ += kWrongPenalty;
        marker_ = fits >= 0 ? fits : kTrash;
        return Outcome::Wrong;
    }
    if (fits >= 0) {
        ++missed_;
        curTime_ += kMissedPenalty;
        marker_ = fits;
        return Outcome::Missed;
    }
    isTrash_ = true;
    flyingTo_ = kTrash;
    return Outcome::ToTrash;
}

void Game::landInSlot() {
    ++right_;
    isOK_ = true;
    landed_ = flyingTo_;
    flyingTo_ = -1;
}

void Game::landInTrash() {
    isTrash_ = false;
    flyingTo_ = -1;
    // The bonus second never takes the clock below zero: a negative time is no average.
    curTime_ = std::max(0, curTime_ - 1);
}

void Game::endPause() {
    isOK_ = false;
    landed_ = -1;
    marker_ = -1;
}

void Game::stop() {
    inProgress_ = false;
    allowClick_ = false;
}

void Game::resume() {
    inProgress_ = true;
}

double Game::average() const {
    const int n = answered();
    return n > 0 ? static_cast<double>(curTime_) / n : 0.0;
}

} // namespace Challenge
