#include "newdatascrn.h"

newDataScrn* newDataScrn::shared_ = nullptr;

newDataScrn* newDataScrn::instance() {
    if (!shared_)
        shared_ = new newDataScrn();
    return shared_;
}

newDataScrn::newDataScrn() {
    setObjectName(QStringLiteral("newDataScrn"));
    setWindowTitle(QStringLiteral("Data"));
}
