#pragma once

// Which operations a random mix may use: four boxes preset from the signed-in student's settings.
// "Save" (or Return, Enter) writes them back only when at least two are checked, and otherwise says
// so in red with a beep and stays open; "Cancel" (or Esc) closes without writing. The record changes
// in memory only: the settings window saves it when the student goes on.

#include <QDialog>
#include <QList>

class QCheckBox;
class QLabel;
class newCnvBtn;

class SetRndFuncScrn : public QDialog {
    Q_OBJECT
public:
    // The one dialog, made on first use and made anew after every close; show it with exec().
    static SetRndFuncScrn* instance();
    static bool exists();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    SetRndFuncScrn();
    ~SetRndFuncScrn() override;

    void saveBtn_Open();
    void saveBtn_MouseUp();
    void cancelBtn_Open();
    void cancelBtn_MouseUp();
    void setBtns();
    bool setVals();

    QLabel* StaticText1;
    QList<QCheckBox*> allowFuncBtn;
    newCnvBtn* cancelBtn;
    newCnvBtn* saveBtn;
    static SetRndFuncScrn* shared_;
};
