#pragma once

// The numbers game without its window: the tile numbers, the problems, the picking of two tiles, the
// judging of a pair and the result of a game. The window only draws what this holds and forwards
// clicks and clock ticks, so every rule can be tested by tables and seeded games.

#include <QPoint>
#include <QString>

#include <vector>

class NumGameRules {
public:
    static constexpr int kLowestHighNumber = 4;
    static constexpr int kHighestHighNumber = 19;
    static constexpr int kUsed = -1; // the number of a tile used in a solved pair
    static constexpr int kTileSize = 48;
    static constexpr int kTilePitch = 50;

    enum Func { Plus = 1, Minus = 2, Times = 3 };

    // What a click on a tile did.
    enum class Pick {
        Ignored, // no game runs: nothing happens, no sound
        Refused, // a used tile, a tile without a number, or the first pick again: the system beep
        First,   // the first tile of a pair
        Second,  // the second tile (or a newer second tile, which replaces the earlier one)
    };

    // What the check of a pair found.
    enum class Verdict { Right, Wrong, Finished };

    // The result of a finished game against the stored best.
    struct Result {
        double average = 0; // seconds per problem, rounded to cents as shown
        QString shown;      // the average as "##.00"
        bool improved = false;
        QString stored; // the new best as stored, when improved
        QString message;
        QString explanation;
    };

    // A highest number as the game uses it: held within 4 to 19.
    static int heldHighest(int value);
    // The top-left corner of the board for a number of tiles (the three boards share one centre).
    static QPoint boardOrigin(int tiles);
    // The window place of a tile on a board of that many tiles.
    static QPoint tilePlace(int index, int tiles);
    // The tiles per row: the square root of the count.
    static int perRow(int tiles);
    // Where a tile's number starts: one digit further in, so that it stands in the middle.
    static int numberLeft(int number);
    // The operation's sign as the problem line shows it.
    static QString signOf(int func);
    // The first number combined with the second by the operation.
    static int combine(int func, int first, int second);

    // Draws a new number from 1 to the highest number for every tile (numbers may repeat).
    void fill(int tiles, int highest);
    // Plays on numbers laid out beforehand instead of drawn ones.
    void deal(std::vector<int> numbers) { numbers_ = std::move(numbers); }
    const std::vector<int>& numbers() const { return numbers_; }
    // The tile's number, or kUsed for a used tile or one the last fill gave no number.
    int numberAt(int tile) const;

    // Starts a game on a board of `tiles` tiles: at most `chosen` problems, never more than the free
    // tiles of the board can pair. Then draws the first problem.
    void start(int chosen, int tiles, bool allowNegatives);
    bool running() const { return running_; }
    // Ends the game without a result (the window closes).
    void stop() { running_ = false; }

    // A click on a tile.
    Pick pick(int tile);
    // The pair waits for its check.
    bool pairComplete() const { return running_ && firstPick_ >= 0 && secondPick_ >= 0; }
    // Judges the picked pair. A right pair uses both tiles and draws the next problem (or finishes
    // the game); a wrong pair frees the picks and keeps the problem.
    Verdict check();
    // One more second of the game's clock.
    void tick() { ++seconds_; }

    // A tile shows the picked look while it is part of a pair that is not yet judged.
    bool looksPicked(int tile) const;
    int firstPick() const { return firstPick_; }
    int secondPick() const { return secondPick_; }
    // The second tile a newer second pick replaced (-1 when none): it must lose its picked look.
    int replacedPick() const { return replaced_; }

    int func() const { return func_; }
    int answer() const { return answer_; }
    int solved() const { return solved_; }
    int problems() const { return problems_; }
    int seconds() const { return seconds_; }
    // Seconds per solved problem so far, as shown ("##.00"); empty before the first.
    QString averageText() const;

    // The game's result against the stored best, for the student's first name.
    Result result(const QString& storedBest, const QString& firstName) const;

private:
    void drawProblem();
    int freeTiles() const;
    int drawFreeTile(int other);

    std::vector<int> numbers_;
    int tiles_ = 0; // the board the game runs on
    bool allowNegatives_ = false;
    bool running_ = false;
    int firstPick_ = -1;
    int secondPick_ = -1;
    int replaced_ = -1;
    int func_ = Plus;
    int answer_ = 0;
    int solved_ = 0;
    int problems_ = 0;
    int seconds_ = 0;
};
