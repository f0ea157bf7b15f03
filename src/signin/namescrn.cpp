#include "namescrn.h"

NameScrn* NameScrn::shared_ = nullptr;

NameScrn* NameScrn::instance() {
    if (!shared_)
        shared_ = new NameScrn();
    return shared_;
}

NameScrn::NameScrn() {
    setObjectName(QStringLiteral("NameScrn"));
    setWindowTitle(QStringLiteral("Numbrook Riza Start"));
    resize(800, 676);
}
