#pragma once

// Math Detective without its window: the factors or multiples of a base number hidden among
// distractors on an 8 by 8 board, found by clicking squares or typing into the answer fields. The
// window draws what this holds and forwards clicks, keys and clock ticks.

#include <QString>

#include <array>
#include <vector>

class MDRules {
public:
    static constexpr int kSquares = 64;
    static constexpr int kFields = 12;
    static constexpr int kMisses = 3;
    static constexpr int kLowestHighNumber = 4;
    static constexpr int kHighestHighNumber = 19;

    // What a click or a typed digit did.
    enum class Kind {
        Refused, // no round, a used square or an answer found already: the system beep, nothing changes
        Growing, // a typed entry shorter than its answer: the digit is added
        Found,   // an answer found
        Missed,  // a miss; the round goes on
        Won,     // the last answer found
        Lost,    // the third miss
    };
    struct Outcome {
        Kind kind = Kind::Refused;
        int answer = -1;   // the index of a found answer in answers()
        bool warn = false; // the miss left one more
    };

    // A highest number as the game uses it: held within 4 to 19.
    static int heldHighest(int value);
    // Every divisor of n from 1 to n, ascending.
    static std::vector<int> divisors(int n);
    // The base number a factors draw plays (four drawn numbers are played 4 higher).
    static int playedBase(int drawn);
    // The window place of a square of the board.
    static int squareLeft(int square) { return 60 + 50 * (square % 8); }
    static int squareTop(int square) { return 80 + 50 * (square / 8); }

    void setHighest(int value) { highest_ = heldHighest(value); }
    int highest() const { return highest_; }

    // Draws a factors round (5 to 12 answers) or a multiples round (10 answers, never the previous
    // multiples round's base), deals the board and starts the round.
    void startFactors();
    void startMultiples();
    bool roundDone() const { return roundDone_; }
    bool factors() const { return factors_; }
    // Ends a round without a result (the window closes).
    void stop() { roundDone_ = true; }

    int base() const { return base_; }
    int count() const { return static_cast<int>(answers_.size()); }
    const std::vector<int>& answers() const { return answers_; }
    // The answer field k takes: the largest at the top.
    int fieldAnswer(int field) const;
    // The first line and the second of the round's instructions for a first name.
    QString instructions(const QString& firstName) const;

    // The board: numbers show from the first round on.
    bool showNumbers() const { return showNumbers_; }
    int numberOn(int square) const;
    bool used(int square) const;
    // The square that shows a number, or -1.
    int squareOf(int value) const;

    // A click on a square.
    Outcome click(int square);
    // A digit typed into field k whose text is `text` (the digit already at its end).
    Outcome entry(const QString& text, int field);

    int found() const { return found_; }
    int missesLeft() const { return missesLeft_; }
    void tick() {
        if (!roundDone_)
            ++seconds_;
    }
    int seconds() const { return seconds_; }
    double average() const { return answers_.empty() ? 0.0 : static_cast<double>(seconds_) / count(); }

    // The field the focus goes to from field k, given which of the round's fields are empty.
    static int nextField(int field, const std::vector<bool>& empty);

private:
    void deal();
    void begin(bool factors);
    Outcome correct(int answer);
    Outcome miss();

    int highest_ = 10;
    bool roundDone_ = true;
    bool factors_ = true;
    bool showNumbers_ = false;
    int base_ = 0;
    int lastMultiplesBase_ = 0;
    std::vector<int> answers_;
    std::vector<bool> foundAnswers_;
    std::array<int, kSquares> board_{}; // the number on each square
    std::array<bool, kSquares> used_{};
    int found_ = 0;
    int missesLeft_ = kMisses;
    int seconds_ = 0;
};
