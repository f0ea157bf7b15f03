#pragma once

// The program's own message box: an icon, a bold message of one or more lines, an explanation in
// small type (one line in the layout, with room for a few) and a Close button. The box grows
// downward with the number of lines the message takes, and with an explanation longer than its room;
// a message that begins with "Cong" (any case) gets the congratulation backdrop. Only the
// Close button, Return or Enter close it: not Escape, not the title bar.

#include <QDialog>

class QPainter;
class QPlainTextEdit;

class ovrMsgBox : public QDialog {
    Q_OBJECT
public:
    ovrMsgBox(bool isCaution, const QString& message, const QString& explanation, QWidget* parent = nullptr);

    // The lines the message takes, at least 3: the unit the box's height is counted in.
    int lineCount() const { return lines; }

    static QFont messageFont();
    static QFont explanationFont();
    // The 64-pixel icon drawn when its picture is missing: a yellow warning triangle or a blue note disc.
    static void drawPlainIcon(QPainter& p, bool caution);

    static constexpr int kWidth = 420;
    static constexpr int kMessageWidth = 288;
    static constexpr int kLineHeight = 16;
    static constexpr int kExplanationSize = 10;
    // From the explanation's top to the Close button's; a longer explanation moves the button down.
    static constexpr int kExplanationRoom = 50;

public slots:
    void reject() override; // Escape does not close this box

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void closeBox();

    bool isCautionIcon;
    bool congrats = false;
    bool closing = false;
    int lines = 3;
    QPlainTextEdit* testFld = nullptr;
};
