#pragma once

// Math Detective: every factor of a number, or ten of its multiples, hidden among other numbers on an
// 8 by 8 board, found by clicking the squares or typing into the answer fields; the third miss ends
// the round. The best average seconds per answer is the student's best for this game. The rules live
// in MDRules; this window draws them and forwards clicks, keys and ticks.

#include "controls/mysqrbtn.h"
#include "games/common/gamewindow.h"
#include "mdrules.h"

#include <QLineEdit>
#include <QList>

class NumberCombo;
class PictureCanvas;
class QLabel;
class QTimer;
class newCnvBtn;
class newMDScrn;

// A square of the board; its number is its accessible name.
class mdSquare : public mySqrBtn {
    Q_OBJECT
public:
    mdSquare(int index, newMDScrn* window, QWidget* parent);
    int index() const { return index_; }
    // Paints a square's look (face, number, frame): shared with the benchmark's floor.
    static void paintFace(QPainter& p, const mySqrBtn& square, bool used, const QString& number);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int index_;
    newMDScrn* window_;
    bool pressed_ = false;
};

// An answer field: every key goes to the window first; nothing reaches it by pasting or dropping.
class mdAnsFld : public QLineEdit {
    Q_OBJECT
public:
    mdAnsFld(int index, newMDScrn* window, QWidget* parent);
    int index() const { return index_; }

    // Sets the text as the game judged it.
    void setEntry(const QString& text);

public slots:
    // The Edit menu's changes: refused, like a typed key that is no digit.
    void paste();
    void undo();
    void redo();
    void cut();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int index_;
    newMDScrn* window_;
    bool writing_ = false; // the text changes by the game or by Backspace
    QString kept_;
};

class newMDScrn : public GameWindow, public OneWindow<newMDScrn> {
    Q_OBJECT
public:
    newMDScrn();
    ~newMDScrn() override;

    const MDRules& rules() const { return rules_; }

public slots:
    // The timers' actions; public so that tests can drive the clock.
    void mdGameTimer_Action();
    void delayTimer_Action();
    void restoreTimer_Action();
    void dlyMsgBoxtimer_Action();

protected:
    void stopTimers() override;

private:
    friend class mdSquare;
    friend class mdAnsFld;

    void makeControls();
    void fillData();
    void startRound(bool factors);
    void initGame();
    void hndlOutcome(const MDRules::Outcome& outcome, bool fromClick);
    void hndlDone(bool won);
    void advFocus(int field);
    void chgBtnStates(bool visible);
    void repaintSquare(int square);
    void repaintBoard();

    void MDBtn_MouseUp(int square);
    // True when the key is to be dropped.
    bool AnsFld_KeyDown(int field, QKeyEvent* event);
    void AnsFld_GotFocus(int field);
    void hiNumFld_Change();

    MDRules rules_;
    QString setupInstr;

    PictureCanvas* mdCtrlCnv = nullptr;
    QLabel* InfoTxt[2] = {nullptr, nullptr};
    QLabel* showTxt2 = nullptr;
    newCnvBtn* factorBtn = nullptr;
    newCnvBtn* multBtn = nullptr;
    newCnvBtn* closeBtn = nullptr;
    QLineEdit* missFld = nullptr;
    NumberCombo* hiNumFld = nullptr;
    QList<mdSquare*> MDBtn;
    QLabel* InstrFld = nullptr;
    QList<mdAnsFld*> AnsFld;
    PictureCanvas* StarPict = nullptr;
    bool starEarned_ = false;
    QTimer* mdGameTimer = nullptr;
    QTimer* delayTimer = nullptr;
    QTimer* restoreTimer = nullptr;
    QTimer* dlyMsgBoxtimer = nullptr;
};
