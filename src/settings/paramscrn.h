#pragma once

#include <QWidget>

// The signed-in student's drill settings, shown before a round.
class ParamScrn : public QWidget {
    Q_OBJECT
public:
    // The one window, made on first use.
    static ParamScrn* instance();

private:
    ParamScrn();
    static ParamScrn* shared_;
};
