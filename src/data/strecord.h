#pragma once

#include <QString>
#include <QStringList>

#include <array>

class QSqlError;
namespace DBCtrl {
class Result;
}

// The signed-in student: identity, drill settings, right and tried answers per operation and second
// number, percentages, star total in half stars, and the best result of each game. It loads itself
// from the student's theData row (creating the row when missing) and saves itself back.
//
// Operations are numbered 0 addition, 1 subtraction, 2 multiplication, 3 division. Entry i of every
// per-fact array belongs to second number i + 1.
//
// Several computers may have the same student signed in at once (a school's shared folder), so a
// save never writes the memory's row over the stored one. Inside the save's write transaction the
// row is read again and merged with what this visit did since it last loaded or saved:
//   - counts: this visit's new answers (memory minus what was loaded or saved last) are added to the
//     stored counts; an operation whose counts in memory fell below what was loaded, or that
//     zeroCounts() marked, replaces the stored counts instead (a score reset);
//   - drill settings and game bests: each entry this visit changed (or resetGameBest() marked) is
//     written; the others keep what is stored, so a teacher's change made on another computer
//     stays;
//   - the star total is worked out from the merged counts and stored alone (StStars), and a total of
//     8 half stars enters the student into the hall of fame unless the name is there already.
// All of it is one transaction: a save lands whole or not at all. After a save the memory holds the
// merged row, so callers simply change counts, myParams or myZeriScrs and call rejoinData() or
// updateData() as before. A save that did not go through keeps this visit's changes in memory, and
// the next save stores them.
//
// A score reset, as the reset-scores dialog does it:
//     auto record = std::make_shared<StRecord>(name, className, id, storedPassword, stars);
//     record->getStudentData();
//     if (!record->loaded()) return;                  // the database said why
//     myGlobals::gCurPlayer = record;                  // the reset record takes the old one's place
//     record->zeroCounts(op);                          // for each chosen operation
//     record->resetGameBest(game);                     // for each chosen game
//     if (!record->recheckStarTot())                   // zeros and the stars counted from them, stored
//         myGlobals::gCurPlayer.reset();               // nothing was reset, and the record is not kept
// Writing createZeroData() into a counts text by hand also resets that operation when it held
// answers, but only zeroCounts() also clears answers another computer saved meanwhile.
class StRecord {
public:
    static constexpr int kFacts = 19;
    static constexpr int kOperations = 4;
    static constexpr int kParams = 10;
    static constexpr int kGames = 6;
    static constexpr int kMaxHalfStars = 8;
    using Counts = std::array<int, kFacts>;
    // One operation's right and tried counts.
    struct OpCounts {
        Counts right{}, tried{};
    };

    // Drill settings list indexes.
    enum Param {
        NumbersParam = 0,
        OperationParam = 1,
        HighestParam = 2,
        AllowedOpsParam = 3,
        UnknownParam = 4,
        SecondsParam = 5,
        ProblemsParam = 6,
        NegativesParam = 7,
        HorizontalParam = 8,
        SpeechParam = 9,
        ReservedParam = 10,
    };

    StRecord(const QString& name, const QString& className, int id, const QString& storedPassword, int stars);
    virtual ~StRecord() = default;

    QString curClass;
    QString curStudent;
    int curStID = 0;
    QStringList myParams;
    QString curLastDate;
    QString addData, subData, mulData, divData;
    Counts addCor{}, addTried{};
    Counts subCor{}, subTried{};
    Counts mulCor{}, mulTried{};
    Counts divCor{}, divTried{};
    QString curStPW;
    std::array<std::array<double, kFacts>, kOperations> curPct{};
    int curStars = 0;
    QStringList myZeriScrs;

    // Reads the student's row, creating it when there is none. A row that cannot be read (the
    // database busy past its wait, or not open) is reported and leaves the record not loaded.
    virtual void getStudentData();
    virtual QString createZeroData() const;
    virtual void updateData();
    virtual void rejoinData();
    virtual void parsePcts();
    // After a score reset: the counts are read again from their texts, and the record is saved with
    // the star total counted from them, in one transaction. False when nothing was stored (told to the
    // user as nothing reset).
    virtual bool recheckStarTot();
    virtual QString getFirstName() const;

    // Whether the record holds the student's stored row. A record that is not loaded is never saved:
    // its saves report the fault and write nothing.
    bool loaded() const { return loaded_; }

    // Score reset: the operation's counts become zero (text and arrays), and the next save stores
    // zeros in place of whatever the row holds by then.
    void zeroCounts(int operation);
    // Score reset: the game's best goes back to its default, and the next save stores it even when
    // the loaded best was the default already.
    void resetGameBest(int game);

    // The counts of one operation (0 to 3); out-of-range operations are not counted anywhere.
    Counts& corFor(int operation);
    Counts& triedFor(int operation);
    QString& dataFor(int operation);

    // What a fact's right answers are counted against: its tries, but never fewer than the teacher's
    // minimum number of problems, taken within the range the preferences allow (10 to 100) whatever
    // the preferences in memory hold. The percentages, and so the stars, and the progress window's
    // tags all count with it.
    static int divisorFor(int tried);

    // The defaults of the two stored lists, in their stored form.
    static QStringList defaultParams();
    static QStringList defaultZeriScrs();

private:
    // The counts, settings and bests as last loaded or saved: what this visit changed is measured
    // from here.
    struct Saved {
        std::array<Counts, kOperations> right{}, tried{};
        QStringList params, bests;
    };
    // How the star total came out of a save, for the messages shown once the database is free.
    struct StarChange {
        bool changed = false;
        bool rose = false;
        bool namesRowFound = true;
        bool enteredHallOfFame = false;
    };
    // What a save stores, for the words of a save that did not go through.
    enum class SaveKind { Play, Settings, Reset };

    bool initData();
    // Takes the stored row a read of the results row stands on.
    void takeRow(const DBCtrl::Result& row);
    void remember();
    // One operation's counts as the save stores them (text) and holds them (merged).
    QString mergeCounts(int operation, const QString& storedText, OpCounts& merged);
    bool saveMerged(SaveKind kind, StarChange& stars);
    // Compares the star total with the stored one and stores it when they differ, and makes the hall of
    // fame entry that 8 half stars earn, inside the caller's transaction. False when the database
    // failed (DBCtrl::lastError() says why).
    bool storeStarTotal(int total, StarChange& stars);
    void tellStars(const StarChange& stars);
    void tellNotSaved(SaveKind kind, const QSqlError& error);
    void parseData();
    void showCongrats(int total, bool enteredHallOfFame);

    bool loaded_ = false;
    Saved saved_;
    std::array<bool, kOperations> zeroed_{};
    std::array<bool, kGames> bestReset_{};
};
