#pragma once

// Easy settings: a greeting and five picture buttons, one per kind of problem. A click writes a
// beginner set-up for that kind into the signed-in student's settings, saves the record at once and
// closes the dialog a moment later with true; "Go Back" closes it with false.

#include <QDialog>
#include <QList>

class QLabel;
class QTimer;
class newCnvBtn;
class PressPicture;

class PrimSetScrn : public QDialog {
    Q_OBJECT
public:
    // The one dialog, made on first use and made anew after every close.
    static PrimSetScrn* instance();
    static bool exists();

    // Shows the dialog modally and returns, once it has closed, whether a set-up was chosen. The
    // dialog is gone when this returns.
    bool HndlShowMe();

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    PrimSetScrn();
    ~PrimSetScrn() override;

    void infoTxt_Open();
    void clickTimer_Action();
    void cancelBtn_Open();
    void cancelBtn_MouseUp();
    void myBtn_MouseUp(int index);

    QList<PressPicture*> myBtn;
    QLabel* infoTxt;
    newCnvBtn* cancelBtn;
    QTimer* clickTimer;
    bool doCont = false;
    static PrimSetScrn* shared_;
};
