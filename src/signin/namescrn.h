#pragma once

#include <QWidget>

// The sign-in window: the hub of the student side.
class NameScrn : public QWidget {
    Q_OBJECT
public:
    static NameScrn* instance();

private:
    NameScrn();
    static NameScrn* shared_;
};
