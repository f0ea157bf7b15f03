#pragma once

// The Math Challenge game without its window: four problems that each miss one operand, a wild card
// that belongs in the problem it completes or in the trash, the counters, the clock with its
// penalties, and the card's flight and the marker's places as numbers. The window moves the card,
// runs the timers and draws; it asks this class what a click, an arrival, the end of a pause or a
// stop means.

#include <QPoint>
#include <QString>

#include <array>
#include <functional>

namespace Challenge {

inline constexpr int kSlots = 4;
inline constexpr int kTrash = 4;       // the target number of the trash
inline constexpr int kMinAnswers = 10; // fewer answers are not compared with the best
inline constexpr int kWrongPenalty = 20;
inline constexpr int kMissedPenalty = 15;
inline constexpr int kLowestHigh = 4;
inline constexpr int kHighestHigh = 19;

enum Function { Add = 0, Subtract = 1, Multiply = 2, Divide = 3 };

// A problem as its slot shows it: top, function, the missing operand x, result (top f x = result).
struct Problem {
    int top = 0;
    int function = Add;
    int missing = 0;
    int result = 0;
};

// Draws a problem for a missing operand and a function with the highest number `high`.
Problem makeProblem(int missing, int function, int high, const std::function<int(int, int)>& draw);
// True when x completes the problem: top f x = result.
bool completes(const Problem& p, int x);

// What a click on a slot or the trash did.
enum class Outcome {
    Ignored, // no card waits for a choice
    ToSlot,  // the card fits the slot: it flies there
    Wrong,   // a slot the card does not fit: +20 s, the marker shows where it belonged
    Missed,  // the trash while a slot fits: +15 s, the marker shows the slot
    ToTrash, // the trash, rightly: the card flies into it
};

// The card's flight to a target (0 to 3 a slot, 4 the trash): pixels per step and where it ends.
struct Flight {
    int xDelta = 0;
    int yDelta = 0;
    int yStop = 0;
};
Flight flightTo(int target);
// The card's place after one step; `arrived` tells whether the flight ends there.
QPoint flightStep(QPoint at, const Flight& flight, bool* arrived);
// Where the marker stands for a target: right of the slot's tile or of the trash.
QPoint markerAt(int target);

inline const QPoint kCardHome(249, 229);

// The highest number a stored or typed text stands for, within 4 to 19.
int clampHigh(int high);

class Game {
public:
    using Draw = std::function<int(int low, int high)>;
    explicit Game(Draw draw);

    void setHigh(int high) { high_ = clampHigh(high); }
    int high() const { return high_; }

    // A new game: empty slots, counters and clock at 0, the first card dealt.
    void start();
    // Deals the next card (never the one before) and refills the empty slots.
    void deal();
    // One second of the clock.
    void tick() { ++curTime_; }

    Outcome click(int target);
    // The slot or trash the marker shows after the last Wrong or Missed.
    int markerTarget() const { return marker_; }

    // The card reached the slot it was sent to: it counts, and the pause follows.
    void landInSlot();
    // The card reached the trash: a second off the clock (never below 0); the caller deals next.
    void landInTrash();
    // The pause after a landing or a marker ended; the caller deals next.
    void endPause();

    // Stopping: no clicks, no game in progress. `resume` undoes it for a game that goes on.
    void stop();
    void resume();
    void setAllowClick(bool allow) { allowClick_ = allow; }

    // Answers are the three counters; a right trash is none.
    int answered() const { return right_ + wrong_ + missed_; }
    bool longEnough() const { return answered() >= kMinAnswers; }
    // Seconds per answer; only meaningful with answers.
    double average() const;

    // The first slot the card completes, or -1.
    int fittingSlot() const;

    int card() const { return curWildCard_; }
    int lastCard() const { return lastWildCard_; }
    const Problem& problem(int slot) const { return problems_[static_cast<std::size_t>(slot)]; }
    bool slotEmpty(int slot) const { return empty_[static_cast<std::size_t>(slot)]; }
    // What the slot shows: the placeholders until its first problem.
    QString topText(int slot) const { return topText_[static_cast<std::size_t>(slot)]; }
    QString resultText(int slot) const { return resultText_[static_cast<std::size_t>(slot)]; }
    int right() const { return right_; }
    int wrong() const { return wrong_; }
    int missed() const { return missed_; }
    int seconds() const { return curTime_; }
    bool inProgress() const { return inProgress_; }
    bool allowClick() const { return allowClick_; }
    bool isOK() const { return isOK_; }
    bool isTrash() const { return isTrash_; }
    // The slot the card flew into and stands over during the pause; -1 when none.
    int landedSlot() const { return landed_; }

    // For tests: a problem put into a slot, and the card in play (which the next may not repeat).
    void setProblem(int slot, const Problem& p);
    void setCard(int card) { curWildCard_ = lastWildCard_ = card; }

private:
    int createNewWC();
    void setProbs();
    bool checkDuplProb(int top, int result, int slot) const;

    Draw draw_;
    int high_ = 10;
    std::array<Problem, kSlots> problems_{};
    std::array<bool, kSlots> empty_{true, true, true, true};
    std::array<QString, kSlots> topText_{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                         QStringLiteral("3")};
    std::array<QString, kSlots> resultText_{QStringLiteral("X"), QStringLiteral("X"), QStringLiteral("X"),
                                            QStringLiteral("X")};
    int curWildCard_ = 0;
    int lastWildCard_ = 0;
    int right_ = 0;
    int wrong_ = 0;
    int missed_ = 0;
    int curTime_ = 0;
    bool inProgress_ = false;
    bool allowClick_ = false;
    bool isOK_ = false;
    bool isTrash_ = false;
    int marker_ = -1;
    int landed_ = -1;
    int flyingTo_ = -1;
};

} // namespace Challenge
