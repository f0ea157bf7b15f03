#pragma once

#include <QWidget>

// The signed-in student's progress per operation and fact family.
class newDataScrn : public QWidget {
    Q_OBJECT
public:
    // The one window, made on first use.
    static newDataScrn* instance();

private:
    newDataScrn();
    static newDataScrn* shared_;
};
