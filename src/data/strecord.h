#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The signed-in student: identity, drill settings, right and tried answers per operation and second
// number, percentages, star total in half stars, and the best result of each game. It loads itself
// from the student's theData row (creating the row when missing) and saves itself back.
//
// Operations are numbered 0 addition, 1 subtraction, 2 multiplication, 3 division. Entry i of every
// per-fact array belongs to second number i + 1.
class StRecord {
public:
    static constexpr int kFacts = 19;
    static constexpr int kOperations = 4;
    static constexpr int kParams = 10;
    static constexpr int kGames = 6;
    static constexpr int kMaxHalfStars = 8;
    using Counts = std::array<int, kFacts>;

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

    virtual void getStudentData();
    virtual QString createZeroData() const;
    virtual void updateData();
    virtual void rejoinData();
    virtual void parsePcts();
    virtual void recheckStarTot();
    virtual QString getFirstName() const;

    // The counts of one operation (0 to 3); out-of-range operations are not counted anywhere.
    Counts& corFor(int operation);
    Counts& triedFor(int operation);
    QString& dataFor(int operation);

    // The defaults of the two stored lists, in their stored form.
    static QStringList defaultParams();
    static QStringList defaultZeriScrs();

private:
    void initData();
    QString createDefParams();
    void parseData();
    QString createDefZeriScrs();
    void checkCompletedTot();
    void showCongrats(int total);
};
