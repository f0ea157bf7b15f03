#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QIODevice;

// The problems of one drill round: at most 20, each a first number, an operation (0 addition,
// 1 subtraction, 2 multiplication, 3 division) and a second number. The constructor decides where they
// come from: the signed-in student's weak facts, a fact family, a teacher's saved set or chance. A set
// is filled once and only read afterwards.
//
// The set never talks to a window: what the drill round must know about the construction (a saved set
// that could not be opened, the number of problems a saved set held) is in roundReport().
class rndSet {
public:
    static constexpr int kMaxProblems = 20;
    static constexpr int kMinHighest = 4;
    static constexpr int kMaxHighest = 19;
    static constexpr int kOperations = 4;
    static constexpr int kRandomOperation = 4;
    // The largest numbers the round can show: three digit cells for the first number, two for the second.
    static constexpr int kMaxFirstShown = 999;
    static constexpr int kMaxSecondShown = 99;

    // What the drill round learns from the set it constructed.
    struct RoundReport {
        bool openSetFailed = false;    // no saved set was got: drop this set and build a random one
        std::optional<int> myTotProbs; // a saved set was read: the round runs this many problems
    };

    struct Problem {
        int top = 0;
        int func = 0;
        int bot = 0;
    };

    // The records of a saved-set file, read with bounds.
    struct SavedSetRecords {
        QStringList texts;    // complete records in file order, at most kMaxProblems
        bool leftOut = false; // the file held further complete records that were not kept
        bool readable = true; // false: no regular file of at most kMaxSetFileBytes could be read
        bool tooLarge = false; // why it was not readable: it is larger than kMaxSetFileBytes
    };
    // A set file holds 20 records of at most 256 bytes; a file far larger is no set.
    static constexpr qint64 kMaxSetFileBytes = 64 * 1024;

    // highest: the student's highest number; problems: problems per round; operation: 0 to 3, or any
    // other value for a random operation per problem; factFamily: the numbers setting is "a/b";
    // forceRandom: this set replaces a saved set that could not be opened. savedSetsFolder is where the
    // file chooser starts when the problems come from saved sets.
    rndSet(int highest, int problems, int operation, bool factFamily, bool forceRandom,
           const QString& savedSetsFolder = QString());
    virtual ~rndSet() = default;

    virtual int getCorAns(int i) const;
    virtual int getTopNum(int i) const;
    virtual int getBotNum(int i) const;
    virtual int getFunc(int i) const;
    virtual bool allFuncComplete() const;
    // The index of the last problem, one less than the number of problems.
    virtual int getTotProblems() const;

    const RoundReport& roundReport() const { return report_; }
    // How many numbers the construction drew (benchmarks compare a set with drawing that many alone).
    int drawCount() const { return draws_; }

    // Reads the length-prefixed records of a saved set. A truncated last record ends the reading.
    static SavedSetRecords readSavedSet(QIODevice& in);
    // The same from the file a user chose: only a regular file within kMaxSetFileBytes, read at once
    // (a pipe, a device or a folder is refused without a wait).
    static SavedSetRecords readSavedSetFile(const QString& path);
    // The problem one record describes, its numbers as written, or nothing when the text holds none of
    // the four signs.
    static std::optional<Problem> parseProblem(const QString& text);
    // Whether the round's digit cells can show the problem's numbers.
    static bool canShow(const Problem& p);
    // Whether the problem has one whole answer: a division must come out even and not divide by 0.
    static bool hasWholeAnswer(const Problem& p);
    // Whether a round plays the problem: it can show it and check its answer.
    static bool canPlay(const Problem& p) { return canShow(p) && hasWholeAnswer(p); }

    static QString openTitle() { return QStringLiteral("Select a 'Numbrook Riza' set file"); }
    // The problem-set files' name in the program's file type table.
    static constexpr const char* kSetFileType = "SavedSet";

private:
    int GetRnd(int a, int b);
    int getRndFunc(int n);
    int drawOperation(const std::array<bool, kOperations>& allowed);
    void initAllowRnd();
    void createFamSet();
    int allowRndNeg(int v);
    void createDataSet();
    void setCriticalPt();
    bool openInputSet(const QString& folder);
    void parseReadSet();
    void hndlDiv(int i);
    void createRndSet2();
    void createRndFunc(int i);
    bool validIndex(int i) const { return i >= 0 && i < kMaxProblems; }

    std::array<int, kMaxProblems> topNumSet{};
    std::array<int, kMaxProblems> botNumSet{};
    std::array<int, kMaxProblems> funcSet{};
    int rsTotProbs = 0;
    int rsHiNum = 0;
    int rsFunc = 0;
    std::array<bool, kOperations> rsAllowRnd{};
    std::array<int, 2> rsFactFam{};
    int rsFixed = 0; // fixed second number; 0 none; -1 the set is a fact family
    bool rsUseNeg = false;
    std::array<std::array<int, kMaxHighest + 1>, kOperations> critPt{}; // cumulative weights by fact
    std::array<bool, kOperations> funcComplete{};
    QStringList readSet;

    RoundReport report_;
    int draws_ = 0;
};
