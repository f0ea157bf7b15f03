#pragma once

// The signed-in student's drill settings, shown before a round: operation or a random mix, numbers,
// highest number, unknown term, seconds per problem, problems per round, negatives, layout and
// speech. Seconds, negatives, layout and the unknown term reach the student's record the moment they
// are clicked; the rest is checked and stored when the student goes on to the round ("Go To Game",
// Return, Enter) or to the progress window, and only those two save the record. "Go Back", Esc,
// File > Close and the window manager's close return to the sign-in window without saving.
//
// The window exists at most once and is dropped when it closes, so every opening starts afresh.
// While it settles (the first 200 milliseconds) the rules that must not take the window's own
// filling for the student's choices keep still.

#include <QList>
#include <QMainWindow>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTimer;
class NumberCombo;
class PressPicture;
class newCnvBtn;
class ovrCheckBox;

class ParamScrn : public QMainWindow {
    Q_OBJECT
public:
    // The one window, made on first use.
    static ParamScrn* instance();
    static bool exists();

    // True once the window has settled and every rule reacts to changes.
    bool isSettled() const { return allowSet; }

public slots:
    // File > Close: back to the sign-in window, as "Go Back".
    void FileClose();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    ParamScrn();
    ~ParamScrn() override;

    void buildControls();
    QRadioButton* radio(QButtonGroup* group, QList<QRadioButton*>& array, const QString& name, int index,
                        const QString& caption, QWidget* box, const QRect& at);

    // The live rules.
    void FNadd_Action(int index);
    void selFuncBtn_Action();
    void TimeBtn_Action(int index);
    void NegBtn_Action(int index);
    void DisplayBtn_Action(int index);
    void SolveBtn_Action(int index);
    void NumBtn_Action(int index);
    void BotNumFld_Open();
    void BotNumFld_TextChanged();
    void FactFam_Open();
    void HiNumFld_Open();
    void HiNumFld_LostFocus();
    void HiNumFld_Change();
    void totProbsFld_Open();
    void speakBtn_Open();
    void speakBtn_MouseUp();
    void setTimer_Action();

    // The buttons and the exits.
    void progScrnBtn_Open();
    void progScrnBtn_MouseUp();
    void cancelBtn_Open();
    void cancelBtn_MouseUp();
    void contBtn_Open();
    void contBtn_MouseUp();
    void easyStartCnv_MouseUp();
    void goToGame();
    void goBack();
    void leave();

    // Loading and storing.
    void setBtns();
    bool setVals();
    int getVal(int index) const;
    void updateFactFamPopup();
    void setField(int index, const QString& value);
    int highestForLists() const;

    bool allowSet = false;
    bool leaving_ = false;

    QGroupBox* FuncBox = nullptr;
    QList<QRadioButton*> FNadd;
    QPushButton* selFuncBtn = nullptr;
    QGroupBox* TimeBox = nullptr;
    QList<QRadioButton*> TimeBtn;
    QGroupBox* NegBox = nullptr;
    QList<QRadioButton*> NegBtn;
    QGroupBox* DisplayBox = nullptr;
    QList<QRadioButton*> DisplayBtn;
    QGroupBox* SolveBox = nullptr;
    QList<QRadioButton*> SolveBtn;
    QGroupBox* NumBox = nullptr;
    QList<QRadioButton*> NumBtn;
    QLabel* StatText2 = nullptr;
    NumberCombo* BotNumFld = nullptr;
    QList<NumberCombo*> FactFam;
    QLabel* StaticText4 = nullptr;
    NumberCombo* HiNumFld = nullptr;
    QLabel* StaticText1 = nullptr;
    NumberCombo* totProbsFld = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* PlNameFld = nullptr;
    QLabel* StaticText3 = nullptr;
    QLabel* PlDateFld = nullptr;
    QTimer* setTimer = nullptr;
    newCnvBtn* progScrnBtn = nullptr;
    newCnvBtn* cancelBtn = nullptr;
    newCnvBtn* contBtn = nullptr;
    ovrCheckBox* speakBtn = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    PressPicture* easyStartCnv = nullptr;

    QButtonGroup* FNaddGroup = nullptr;
    QButtonGroup* TimeGroup = nullptr;
    QButtonGroup* NegGroup = nullptr;
    QButtonGroup* DisplayGroup = nullptr;
    QButtonGroup* SolveGroup = nullptr;
    QButtonGroup* NumGroup = nullptr;

    static ParamScrn* shared_;
};
