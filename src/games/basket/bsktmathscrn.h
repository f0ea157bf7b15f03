#pragma once

// Zuduzo 'd Izuv, the basket game: numbers fall one by one down a chute into a basket, each after
// the first with an operator applied to the basket's total, one number more every round and a
// little faster. When the last has landed the student types the total; a right total gives 100
// points a round and starts the next, a round lost ends the game. The highest points are the
// student's stored best.

#include "app/keystate.h"
#include "games/common/gamewindow.h"

#include <array>

class AnsTimer;
class AnswerField;
class chuteCnv;
class FocusKeeper;
class newCnvBtn;
class NumberCombo;
class ovrCheckBox;
class PictureCanvas;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTimer;

class bsktMathScrn : public GameWindow, public OneWindow<bsktMathScrn> {
    Q_OBJECT
public:
    bsktMathScrn();
    ~bsktMathScrn() override;

    // The game's state, for the panel and for tests.
    int highestNumber() const { return bomHiNum; }
    bool negativesAllowed() const { return bomAllowNeg; }
    int total() const { return corAns; }
    int round() const { return curRound; }
    int points() const { return curPts; }
    int operation() const { return curFunc; }
    int landed() const { return numCt; }
    int rate() const { return fallRate; }
    bool fastDrop() const { return prohibitDrop; }
    bool hasUnsavedBest() const { return dataDirty; }

public slots:
    void StartBtn_MouseUp();
    void CloseBtn_MouseUp();
    void fallingTimer_Action();
    void dropTimer_Action();
    void checkTimer_Action();
    void myChute_bottomReached();

protected:
    void stopTimers() override;
    void aboutToLeave() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeControls();
    void StartBtn_Open();
    void CloseBtn_Open();
    void hiNumFld_Open();
    void allowNegBtn_Open();
    void Event_Open();
    void hiNumFld_Change();

    void checkAns(const QString& typed);
    void ansCorrect();
    void ansWrong();
    void roundLoop();
    void numLoop();
    void startFall();
    void compareBest();
    // Keeps the game's points as the student's best when they beat it; true when they did.
    bool keepIfBest();
    // True while the total of the round is asked and no check can be stale.
    bool answering() const;
    QString closeCaption() const;

    // Game state.
    int bomHiNum = 0;
    bool bomAllowNeg = false;
    int corAns = 0;
    int totTries = 0;
    int curPts = 0;
    int curRound = 0;
    int curFunc = 0;
    int curNumber = 0;
    int numCt = 0;
    int fallRate = 0;
    bool prohibitDrop = false;
    // The Space bar's presses when the number now falling began its fall.
    KeyState::Mark spaceMark = 0;

    // Controls, in the order of the layout.
    PictureCanvas* bkgCnv = nullptr;
    std::array<QLabel*, 2> InfoTxt{};
    QLabel* showTxt1 = nullptr;
    QLabel* showTxt2 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    newCnvBtn* StartBtn = nullptr;
    newCnvBtn* CloseBtn = nullptr;
    QLabel* StaticText3 = nullptr;
    QLabel* StaticText4 = nullptr;
    NumberCombo* hiNumFld = nullptr;
    QLabel* StaticText5 = nullptr;
    QLineEdit* RoundFld = nullptr;
    QLabel* StaticText7 = nullptr;
    QWidget* PtsCnv = nullptr;
    ovrCheckBox* allowNegBtn = nullptr;
    QLabel* InstrFld = nullptr;
    PictureCanvas* basketCnv = nullptr;
    PictureCanvas* funcCnv = nullptr;
    AnswerField* AnsFld = nullptr;
    QLabel* seeAnsFld = nullptr;
    AnsTimer* checkTimer = nullptr;
    QTimer* fallingTimer = nullptr;
    QLabel* attemptFld = nullptr;
    QLabel* StaticText8 = nullptr;
    FocusKeeper* stlFocus = nullptr;
    PictureCanvas* spoutCnv2 = nullptr;
    chuteCnv* myChute = nullptr;
    QTimer* dropTimer = nullptr;
};
