#pragma once

// The Math Challenge window: four problems in a square, the wild card between them, the trash under
// it, the marker that points where a card belonged, and the panel with the best average, the highest
// number, the three counters and the Start and Close buttons. The game's rules live in
// Challenge::Game; this window runs the clock, the pause and the card's flight, and draws.

#include "games/challenge/challengerules.h"
#include "games/common/gamewindow.h"

#include <array>
#include <functional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QTimer;
class newCnvBtn;

class challengeScrn : public GameWindow, public OneWindow<challengeScrn> {
    Q_OBJECT
public:
    static constexpr int kWidth = 780;
    static constexpr int kHeight = 542;
    static constexpr int kHelpTopic = 13;
    static constexpr int kClockMs = 1000;
    static constexpr int kPauseMs = 1500;
    static constexpr int kFlightStepMs = 20;

    // A canvas the window paints and, for the slots and the trash, clicks on.
    class Canvas : public QWidget {
    public:
        Canvas(const QString& name, int index, QWidget* parent);
        const int Index;
        std::function<void(QPainter&)> paint;
        // Called on the press: true takes the press, so that the release follows.
        std::function<bool()> mouseDown;
        std::function<void()> mouseUp;

    protected:
        void paintEvent(QPaintEvent* event) override;
        void mousePressEvent(QMouseEvent* event) override;
        void mouseReleaseEvent(QMouseEvent* event) override;
    };

    const Challenge::Game& game() const { return game_; }
    bool gameRunning() const;
    bool boardInPlay() const;

    // The question tile of the slots and of an idle card: the tile picture in its rounded mask.
    static QPixmap questionTile();

public slots:
    // File > Close: ends a running game first (as the Close button does).
    void FileClose();

protected:
    void stopTimers() override;
    void changeEvent(QEvent* event) override;

private:
    friend class OneWindow<challengeScrn>;
    challengeScrn();

    void createControls();
    void Event_Open();
    void Event_Activate();

    void StartBtn_MouseUp();
    void CloseBtn_MouseUp();
    void hiNumFld_Change(const QString& text);
    bool WildCnv_MouseDown();
    void totTimer_Action();
    void delayTimer_Action();
    void animTimer_Action();

    void initGame();
    void gameLoop();
    void hndlClick(int target);
    void hndlDone();
    void finish();
    void showWrong(int target);
    void doAnim(int target);
    void arrive();
    void cardHome();
    void showCounters();
    void showSlots();
    void setInstruction(const QString& text);

    void paintSlot(QPainter& g, int slot) const;
    void paintCard(QPainter& g) const;
    void paintTrash(QPainter& g) const;
    void paintFunction(QPainter& g, int slot) const;

    Challenge::Game game_;
    Challenge::Flight flight_;
    int flightTarget_ = -1;

    std::array<QLabel*, Challenge::kSlots> topNum_{};
    std::array<Canvas*, Challenge::kSlots> numCnv_{};
    std::array<QLabel*, Challenge::kSlots> ansFld_{};
    std::array<Canvas*, Challenge::kSlots> func_{};
    Canvas* wildCnv_ = nullptr;
    Canvas* trashCnv_ = nullptr;
    Canvas* showWrongCnv_ = nullptr;
    QLabel* instrFld_ = nullptr;
    std::array<QLabel*, 2> infoTxt_{};
    QLabel* showTxt2_ = nullptr;
    newCnvBtn* startBtn_ = nullptr;
    newCnvBtn* closeBtn_ = nullptr;
    QLineEdit* rightFld_ = nullptr;
    QLineEdit* wrongFld_ = nullptr;
    QLineEdit* missedFld_ = nullptr;
    QComboBox* hiNumFld_ = nullptr;
    QTimer* totTimer_ = nullptr;
    QTimer* delayTimer_ = nullptr;
    QTimer* animTimer_ = nullptr;
};
