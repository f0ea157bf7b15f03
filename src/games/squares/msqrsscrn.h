#pragma once

// The Math Squares window: the board of 64 digit squares with the four function buttons above it,
// the target, total and points displays beside it, and the panel with the student's best, the
// difficulty, Undo and the start and close buttons, whose captions say whether a game runs. The game
// itself lives in Squares::Board; this window draws it and hands it the student's clicks and keys.

#include "controls/mysqrbtn.h"
#include "games/common/gamewindow.h"
#include "games/squares/squaresrules.h"

#include <QRandomGenerator>

#include <array>
#include <functional>

class FocusKeeper;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;
class newCnvBtn;

class MSqrsScrn : public GameWindow, public OneWindow<MSqrsScrn> {
    Q_OBJECT
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 540;
    static constexpr int kHelpTopic = 12;

    // A board square: knows its place on the board and hands presses and releases to the window.
    class NumCnv : public mySqrBtn {
    public:
        NumCnv(int index, QWidget* parent);
        const int Index;
        std::function<void(int index)> released;

    protected:
        void mousePressEvent(QMouseEvent* event) override;
        void mouseReleaseEvent(QMouseEvent* event) override;
    };

    // One of the number displays: the window paints it.
    class Display : public QWidget {
    public:
        Display(const QString& name, QWidget* parent, std::function<void(QPainter&)> paint);

    protected:
        void paintEvent(QPaintEvent* event) override;

    private:
        std::function<void(QPainter&)> paint_;
    };

    const Squares::Board& board() const { return board_; }
    bool gameRunning() const;

public slots:
    // Menu handlers, named as their items: File > Close ends a running game first; Edit > Undo takes
    // the last missed step back.
    void FileClose();
    void EditUndo();

protected:
    void stopTimers() override {}
    void changeEvent(QEvent* event) override;

private:
    friend class OneWindow<MSqrsScrn>;
    MSqrsScrn();

    void createControls();
    void createNumCnv();
    void Event_Open();
    void Event_Activate();

    void NumCnv_MouseUp(int index);
    void NumCnv_Paint(const NumCnv* square, QPainter& g) const;
    void modeBtn_Action(int index);
    void paintNumber(QPainter& g, const QWidget* canvas, long long value);
    void ScoreCnv_Paint(QPainter& g, const QWidget* canvas) const;
    void startBtn_MouseUp();
    void closeBtn_MouseUp();
    void undoBtn_Action();
    void diffMenu_Change(int row);
    bool stlFocus_KeyDown(const QString& key);

    void newGame(bool freshGame);
    void hndlGuess(int square, Squares::Outcome outcome);
    void hndlUndo();
    void setUndoState(bool canUndo);
    void hndlDone();
    void stopGame();
    void setInstruction(const QString& text);
    void refreshSquare(int square);
    void refreshDisplays();

    Squares::Board board_;
    // The displays' light colours change at every repaint; they come from this generator, so that
    // painting never moves the program's own generator and a seeded game deals the same boards.
    QRandomGenerator paintColours_;

    std::array<NumCnv*, Squares::kSquares> squares_{};
    std::array<QToolButton*, 4> modeBtn_{};
    QButtonGroup* modes_ = nullptr;
    Display* targetCnv_ = nullptr;
    Display* totalCnv_ = nullptr;
    Display* ptsCnv_ = nullptr;
    Display* scoreCnv_ = nullptr;
    QLabel* instrFld_ = nullptr;
    std::array<QLabel*, 2> infoTxt_{};
    QLabel* showTxt2_ = nullptr;
    newCnvBtn* closeBtn_ = nullptr;
    newCnvBtn* startBtn_ = nullptr;
    QPushButton* undoBtn_ = nullptr;
    QComboBox* diffMenu_ = nullptr;
    FocusKeeper* stlFocus_ = nullptr;
};
