#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

// The first window: the start picture and the version on black for five seconds, or until a click,
// then it hands over, once, to the sign-in window.
class SplashScrn : public QWidget {
    Q_OBJECT
public:
    // The one start window, made (and shown) on first use.
    static SplashScrn* instance();
    static bool exists();

    // The hand-over waits for the application's open step: the sign-in window needs the database.
    // The application calls this when the step has finished.
    void openStepFinished();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    SplashScrn();
    ~SplashScrn() override;
    void hndlStart();

    QWidget* Canvas1;
    QLabel* versTxt;
    QTimer* openTimer;
    bool openStepDone_ = false;
    bool handOverAsked_ = false;
    bool handedOver_ = false;
    static SplashScrn* shared_;
};
