#pragma once

// Zezu Zize Duzaz, the Mind games: two rows of three numbers, each with its bracketed pair worked
// out first, make X and Y; the student types X joined with Y by a fifth operator while the clock
// runs. A right answer takes a second off the game's time, a pass adds 30. The student's best
// average seconds per problem, over a game of at least five, is stored.

#include "games/common/gamewindow.h"
#include "games/mindgames/mindrules.h"

#include <array>

class AnsTimer;
class AnswerField;
class mySqrBtn;
class newCnvBtn;
class NumberCombo;
class PictureCanvas;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QTimer;

class MindGamesScrn : public GameWindow, public OneWindow<MindGamesScrn> {
    Q_OBJECT
public:
    MindGamesScrn();
    ~MindGamesScrn() override;

    // The game's state, for tests.
    int highestNumber() const { return mgHiNum; }
    bool negativesAllowed() const { return mgAllowNeg; }
    bool playing() const { return inProgress; }
    int answer() const { return corAns; }
    int right() const { return corCt; }
    int wrong() const { return wrongCt; }
    int finished() const { return probCt; }
    int gameTime() const { return totGameTime; }
    int rowValue(int row) const { return problem.subTot[std::size_t(row)]; }
    bool hasUnsavedBest() const { return dataDirty; }

public slots:
    void StartBtn_MouseUp();
    void CloseBtn_MouseUp();
    void passBtn_Action();
    void gametimer_Action();
    void myAnsTimer_Action();

protected:
    void stopTimers() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void makeControls();
    void StartBtn_Open();
    void CloseBtn_Open();
    void diffFld_Open();
    void Event_Open();
    void Event_Activate();
    void diffFld_Change();
    void mgNum_Paint(int index, QPainter& g);

    void hndlDone();
    void reinitRound();
    void gameLoop();
    void doFillCnv();
    void hndlResult();
    void checkAns(const QString& typed);
    // Puts the pass button, X, Y and the answer field back to rest.
    void restPass();
    bool passAtRest() const;
    void endShown();

    // Game state.
    int mgHiNum = 0;
    int corAns = 0;
    int corCt = 0;
    int wrongCt = 0;
    int probCt = 0;
    int totGameTime = 0;
    bool inProgress = false;
    bool mgAllowNeg = false;
    bool ansCorrect = false;
    MindRules::Problem problem;

    // Controls, in the order of the layout.
    PictureCanvas* timeBkgCnv = nullptr;
    QLabel* StaticText15 = nullptr;
    QLabel* timeFld = nullptr;
    QLabel* StaticText7 = nullptr;
    QLabel* StaticText8 = nullptr;
    QLabel* timeFld1 = nullptr;
    QLabel* StaticText9 = nullptr;
    PictureCanvas* bkgCnv = nullptr;
    std::array<QLabel*, 2> InfoTxt{};
    QLabel* showTxt1 = nullptr;
    QLabel* showTxt2 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    newCnvBtn* StartBtn = nullptr;
    newCnvBtn* CloseBtn = nullptr;
    QLabel* StaticText3 = nullptr;
    QLabel* StaticText4 = nullptr;
    NumberCombo* diffFld = nullptr;
    QLabel* StaticText5 = nullptr;
    QLineEdit* RightFld = nullptr;
    QLabel* StaticText6 = nullptr;
    QLineEdit* WrongFld = nullptr;
    QPushButton* passBtn = nullptr;
    QLabel* StaticText14 = nullptr;
    std::array<QLabel*, 2> result1{};
    AnsTimer* myAnsTimer = nullptr;
    std::array<mySqrBtn*, 6> mgNum{};
    std::array<PictureCanvas*, 5> mgFunc{};
    QLabel* InstrFld = nullptr;
    QTimer* gametimer = nullptr;
    QLabel* ctProbsFld = nullptr;
    std::array<QLabel*, 4> paren{};
    QLabel* StaticText16 = nullptr;
    QLabel* StaticText17 = nullptr;
    QFrame* Line1 = nullptr;
    QLabel* promptTxt = nullptr;
    AnswerField* AnsFld = nullptr;
};
