#pragma once

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <memory>

class AnsTimer;
class DigitCell;
class SignCell;
class QComboBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTimer;
class PictureCanvas;
class ovrCheckBox;
class newCnvBtn;
class progressCnv;
class rndSet;

// The drill round: a timed series of problems for the signed-in student.
//
// The caption of the first action button is the state of the window: "Start Round" or "Play Again"
// (no round runs; a press starts one), "Open Saved Set" (a press asks for a teacher's set), "Stop
// Round" (a round runs; a press ends it and leaves). Every way out saves the student's record first:
// the action buttons, the window manager's close and Quit; File > Close alone leaves without saving.
// The window lives for one visit: closing it drops the instance, and what outlives it (the student's
// record, the kept problem set, the last round's count) lives in myGlobals.
class GameScrn : public QMainWindow {
    Q_OBJECT
public:
    // The one window, made on first use, set up for the signed-in student; the caller shows it.
    static GameScrn* instance();
    // Whether the window exists, without making it.
    static bool exists();

    // Problems per round for the next round: the student's setting, the Total Problems box, or the
    // count of a teacher's set just opened.
    int myTotProbs = 0;
    // The last attempt of this visit to open a teacher's set failed; the next round plays a random set.
    bool openSetFailed = false;

    ~GameScrn() override;

public slots:
    // The round's clock, once a second while a round runs: the round time and the time limit.
    void myTimer_Action();
    // The pending answer check, 300 ms after the typed answer became long enough.
    void checkAnsT_Action();
    // The problem speech, 800 ms after the problem was shown (or Space asked for it again).
    void speakDelay_Action();
    // The result speech, 1500 ms after the end of a round.
    void resultSpeak_Action();
    // One 50 ms step of the roll-in of first-row cell `index` (0 to 2) or second-row cell `index` (0, 1).
    void topTimer_Action(int index);
    void botTimer_Action(int index);

    // File > Close: leaves for the sign-in window without saving.
    void FileClose();

protected:
    // Clears what belongs to one problem, before the next is shown or the round ends.
    virtual void reinitRound();

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Next { SignIn, Settings, Progress };

    GameScrn();
    void CreateControls();
    void Event_Open();

    // Round control
    void initVars();
    void BeginGame();
    void hndlContBtn(int index);
    void contBtn_MouseUp(int index);
    void repeatBtn_Action();
    void openSavedSet();
    std::shared_ptr<rndSet> newSet(int problems, bool forceRandom);
    void leave(Next next);
    void stopRoundTimers();
    void setMainCaption(const QString& caption, std::uint8_t kind);
    void setStar(bool earned);

    // Problem cycle
    void resetNums();
    bool Answer_KeyDown(QKeyEvent* key);
    void Answer_TextChanged();
    void checkAns(const QString& typed);
    void ansCorrect();
    void ansWrong();
    int allowedTries() const;
    bool speaksProblems() const;

    // Results and end of round
    void trackData(bool correct);
    void amIDone();
    void ShowResult(const QString& message);

    // Layout and settings panel
    void scrnSetup();
    void showProblem(int first, int second);
    void initAnimation();
    void stepCell(int cell);
    void startRollIn();
    void setOperandPicture();
    void boxTyped(QComboBox* box, const QString& text);
    void boxChosen(QComboBox* box, int row);
    bool stlFocus_KeyDown(QKeyEvent* key);

    QWidget* content_ = nullptr;

    // The right-hand panel
    PictureCanvas* CtrlPCnv = nullptr;
    QFrame* GroupBox1 = nullptr;
    ovrCheckBox* repeatBtn = nullptr;
    QLabel* repeatTxt = nullptr;
    QLabel* StaticText14 = nullptr;
    std::array<newCnvBtn*, 4> contBtn{};
    std::array<QLabel*, 4> settingTxt{};
    QLabel* warnTxt = nullptr;
    QComboBox* hiNumFld = nullptr;
    QComboBox* totProbFld = nullptr;

    // Missed answers, player, score, time and result
    PictureCanvas* MissBkgCnv = nullptr;
    QLabel* missedBox = nullptr;
    QLabel* NameFld = nullptr;
    PictureCanvas* Star = nullptr;
    progressCnv* ScrTherm = nullptr;
    QLabel* ctFld = nullptr;
    QLabel* totTimeTxt = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* TimeLeft = nullptr;
    QProgressBar* ProgBar = nullptr;
    QLabel* ResultTxt = nullptr;

    // The problem area: three wells of the first number, two of the second, a digit cell in each, the
    // two separate minus signs and the operation sign
    std::array<QFrame*, 3> topWell{};
    std::array<QFrame*, 2> botWell{};
    std::array<DigitCell*, 5> digitCnv{};
    std::array<SignCell*, 2> negCnv{};
    PictureCanvas* OperandCnv = nullptr;
    QFrame* Line1 = nullptr;
    QLineEdit* Answer = nullptr;
    QLabel* EqSign = nullptr;
    QLineEdit* stlFocus = nullptr;

    // Timers
    QTimer* myTimer = nullptr;
    AnsTimer* checkAnsT = nullptr;
    QTimer* speakDelay = nullptr;
    QTimer* resultSpeak = nullptr;
    std::array<QTimer*, 3> topTimer{};
    std::array<QTimer*, 2> botTimer{};

    // Round state
    int counter = 0;         // current problem, from 0; -1 while no problem is current
    int roundTotal_ = 0;     // problems of the running round, fixed when it starts
    int curTime = 0;         // seconds left for the current problem
    int timeDec = 0;         // what the time bar loses each second
    int numCorrect = 0;      // problems of this round answered right
    int totTries = 0;        // wrong tries on the current problem
    int RoundTime = 0;       // seconds since the round started
    int corAns = 0;          // the answer expected for the current problem
    int problemSerial_ = 0;  // counts every problem shown, so a check knows the problem it was armed for
    int armedFor_ = -1;      // the problem the pending check belongs to
    QString funcStr;         // the current operation in words
    QString spkMsg;          // the result text still to be spoken
    QString acceptedAnswer_; // the answer field's last text that was a number being typed

    // Settings of this visit
    int myTime = 0;
    int myHiNum = 0;
    int myFunc = 0;
    int unknownTerm_ = 0; // 0 the result is asked, 1 the first number
    bool mySpeak = false;
    bool isFactFam = false;
    bool isVert = true;
    bool freshSavedSet_ = false; // a teacher's set was opened in this visit and not played yet
    bool leaving_ = false;       // an exit is under way: the close hands over to nobody else
    bool discarding_ = false;    // File > Close: the close saves nothing

    static GameScrn* shared_;
};
