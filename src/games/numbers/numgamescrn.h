#pragma once

// The numbers game: a square board of number tiles from which the student picks two whose numbers
// give the shown answer, against the clock. The best average time per problem is the student's best
// for this game. The rules live in NumGameRules; this window draws them and forwards clicks and ticks.

#include "games/common/gamewindow.h"
#include "numgamerules.h"

#include <QList>
#include <QPixmap>

class NumberCombo;
class PictureCanvas;
class QComboBox;
class QLabel;
class FocusKeeper;
class QLineEdit;
class QTimer;
class newCnvBtn;
class ovrCheckBox;
class progressCnv;
class numGameScrn;

// One tile of the board: the tile face with its number, or the black face while it is picked. Its
// number is its accessible name ("" for a used tile), so that a reader of the screen hears it.
class numGameTile : public QWidget {
    Q_OBJECT
public:
    numGameTile(int index, numGameScrn* window, QWidget* parent);
    int index() const { return index_; }

    // Paints one tile's look into a painter at (0, 0): shared with the benchmark's floor.
    static void paintFace(QPainter& p, QSize size, bool picked, int number, bool backdrop);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int index_;
    numGameScrn* window_;
    bool pressed_ = false;
};

class numGameScrn : public GameWindow, public OneWindow<numGameScrn> {
    Q_OBJECT
public:
    numGameScrn();
    ~numGameScrn() override;

    // Ends a game and keeps the best (after the last right pair).
    virtual void hndlRoundDone();

    const NumGameRules& rules() const { return rules_; }
    int tileCount() const { return totCnvs; }

public slots:
    // The clock's second and the check of a pair; public so that tests can drive them.
    void gameTimer_Action();
    void myAnsTimer_Action();
    // File > Close: closes the window at any time, as "Close Game" does.
    void FileClose();

protected:
    void stopTimers() override;
    void changeEvent(QEvent* event) override;

private:
    friend class numGameTile;

    void makeControls();
    void fillData();
    void fillArray();
    void createCnvs();
    void DeleteCanvs();
    void initGame();
    void initRound();
    void checkAns();
    void showInstructions();
    void repaintTile(int tile);

    void ActionBtn_MouseUp();
    void closeBtn_MouseUp();
    void hiNumFld_Change();
    void totFld_Change();
    void myCnv_MouseUp(int tile);

    NumGameRules rules_;
    int totCnvs = 64;
    int ngHiNum = 0;
    bool hiNumChged = false;
    bool prohibitChg = false;

    QLabel* InstrFld = nullptr;
    QList<numGameTile*> myCnv;
    PictureCanvas* Star = nullptr;
    bool starEarned_ = false;
    progressCnv* scrTherm = nullptr;
    QLabel* ctFld = nullptr;
    QLabel* probFld[2] = {nullptr, nullptr};
    QLabel* funcFld = nullptr;
    QLabel* funcFld1 = nullptr;
    QLabel* ansFld = nullptr;
    QLabel* timeFld = nullptr;
    PictureCanvas* CtrlPCnv = nullptr;
    QLabel* InfoTxt[2] = {nullptr, nullptr};
    QLabel* showTxt2 = nullptr;
    ovrCheckBox* allowNegBox = nullptr;
    NumberCombo* hiNumFld = nullptr;
    QComboBox* totFld = nullptr;
    newCnvBtn* ActionBtn = nullptr;
    newCnvBtn* closeBtn = nullptr;
    FocusKeeper* stlFocus = nullptr;
    QTimer* gameTimer = nullptr;
    QTimer* myAnsTimer = nullptr;
};
