#pragma once

// "Reset Scores": the teacher clears chosen results of one student, the right and tried answers of
// any of the four operations and the best of any of the six games. Made anew for each use by the class
// window and shown modally; it closes only through its two buttons. A reset makes the student the
// signed-in student, recounts the stars and saves the record.

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class StRecord;

class resetScoresScrn : public QDialog {
    Q_OBJECT
public:
    static constexpr int kBoxes = 10;
    using Ticks = std::array<bool, kBoxes>;

    // name, id (StID as decimal text) and class of the student, as the class window's form shows them.
    resetScoresScrn(const QString& name, const QString& id, const QString& className,
                    QWidget* parent = nullptr);

    const QString rstName;
    const QString rstID;
    const QString rstClass;

    // The whole reset of a record already made the signed-in student: load it, clear what is ticked,
    // and save it with the stars counted again (with the congratulation or the message that goes with
    // a change), all in one transaction. False when nothing was reset (the reason has been shown).
    static bool resetRecord(StRecord& record, const Ticks& ticked);

    void selAllBox_Action();
    void actionBtn_Action();
    void cancelBtn_Action();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    static void changeData(StRecord& record, const Ticks& ticked);

    bool closing = false;
    QLabel* NameFld = nullptr;
    QCheckBox* selAllBox = nullptr;
    std::array<QCheckBox*, kBoxes> resetBox{};
    QPushButton* actionBtn = nullptr;
    QPushButton* cancelBtn = nullptr;
};
