#include "gamescrn.h"

GameScrn* GameScrn::shared_ = nullptr;

GameScrn* GameScrn::instance() {
    if (!shared_)
        shared_ = new GameScrn();
    return shared_;
}

GameScrn::GameScrn() {
    setObjectName(QStringLiteral("GameScrn"));
    setWindowTitle(QStringLiteral("Numbrook Riza"));
}
