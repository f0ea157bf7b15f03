#pragma once

// The password prompt. showMessage gives true only when the user typed exactly the right answer
// and accepted it. A wrong entry shows two warning lines and leaves the prompt open for another try;
// Cancel, Escape or the close box end it with false. An optional box "Don't ask again this session"
// lets the teacher switch the administrative password off for the rest of the run
// (myGlobals::gNoPWReq): an accepted entry sets the flag to the box, any wrong entry clears it.

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class newCnvBtn;

class getInputScrn : public QDialog {
    Q_OBJECT
public:
    explicit getInputScrn(QWidget* parent = nullptr);

    // Shows the prompt modally and returns once it has closed.
    bool showMessage(const QString& prompt, const QString& rightAnswer, const QString& acceptCaption,
                     const QString& cancelCaption, bool showDontAskBox);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hndlInput();

    bool theResult = false;
    QString rightAnswer;
    QString myActionCap;
    QString myCancelCap;

    QLabel* promptTxt;
    QLineEdit* theMsgFld;
    QLabel* sorryWarn;
    QLabel* sorryWarn2;
    QCheckBox* setPWBox;
    QLabel* Label1;
    newCnvBtn* cancelBtn;
    newCnvBtn* acceptBtn;
};
