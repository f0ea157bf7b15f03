#pragma once

// The signed-in student's progress: for each operation and fact family a percent bar with its count
// and a star, a "Try" picture or a cross, judged by the teacher's criteria shown at the top. Two tabs
// show families 1 to 10 and 11 to 19. A click on a cell's picture stores a practice round on that
// operation and family in the student's settings, saves the record and opens the drill round.
//
// The window changes nothing else in the record. There is at most one window; it is dropped when it
// closes, so every opening starts on the first tab with the details shown and counts the
// percentages afresh.

#include <QWidget>

#include <array>

class GradeBarCnv;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
class QTabBar;
class StarCnv;
class newCnvBtn;

class newDataScrn : public QWidget {
    Q_OBJECT
public:
    // The one window, made on first use; the opener shows it.
    static newDataScrn* instance();
    ~newDataScrn() override;

    // The controls of the grid by index: rows 0 to 9, cells 0 to 39 (ten per operation).
    QLabel* numTxt(int row) const { return numTxt_.at(row); }
    GradeBarCnv* gradeBarCnv(int cell) const { return gradeBarCnv_.at(cell); }
    StarCnv* starCnv(int cell) const { return starCnv_.at(cell); }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Next { SignIn, Settings, Round };

    newDataScrn();
    void CreateControls(QWidget* content);
    void Event_Open();

    void levelTab_Change(int index);
    void resetRowHead(int first);
    void hideDetBtn_Action();
    void closeBtn_MouseUp();
    void paramsBtn_MouseUp();
    void gradeBarCnv_Paint(GradeBarCnv& bar, QPainter& g);
    void starCnv_Paint(StarCnv& cell, QPainter& g);
    void starCnv_MouseUp(StarCnv& cell);
    QString setTag(int index) const;
    // Closes this window and shows the next one.
    void leaveFor(Next next);

    static newDataScrn* shared_;

    int tierLev = 0;          // 0 on the tab "1 - 10", 10 on "11 - 19"
    bool hideDetails = false; // the bars are drawn without their tags
    int tagPixels_ = 0;       // the tags' one letter size on this tab; 0 until worked out
    bool opened = false;
    bool leaving = false;

    std::array<QLabel*, 10> numTxt_{};
    std::array<GradeBarCnv*, 40> gradeBarCnv_{};
    std::array<StarCnv*, 40> starCnv_{};
    QTabBar* levelTab = nullptr;
    QLabel* stNameFld = nullptr;
    QLabel* lastDateFld = nullptr;
    QLineEdit* reqTotFld = nullptr;
    QLineEdit* reqPctFld = nullptr;
    QPushButton* hideDetBtn = nullptr;
    newCnvBtn* closeBtn = nullptr;
    newCnvBtn* paramsBtn = nullptr;
    QLineEdit* stlFocus = nullptr;
};
