#pragma once

// A small box without a title bar that shows one line of text while the program does something
// slow ("Looking for server..."). It does not react to the mouse or the keyboard; its caller shows,
// hides and closes it.

#include <QWidget>

class QLabel;

class waitScrn : public QWidget {
    Q_OBJECT
public:
    // One full stop is added to the text, whatever it ends with.
    explicit waitScrn(const QString& text, QWidget* parent = nullptr);

    QString text() const { return myTxt; }
    QString shownText() const;

    // Shows the box and sees that it is drawn before the caller goes on with blocking work.
    void showNow();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString myTxt;
    QLabel* mainTxt;
};
