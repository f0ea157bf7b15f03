#pragma once

#include <QWidget>

// The drill round: a timed series of problems for the signed-in student.
class GameScrn : public QWidget {
    Q_OBJECT
public:
    // The one window, made on first use.
    static GameScrn* instance();

private:
    GameScrn();
    static GameScrn* shared_;
};
