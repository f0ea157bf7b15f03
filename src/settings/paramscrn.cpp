#include "paramscrn.h"

ParamScrn* ParamScrn::shared_ = nullptr;

ParamScrn* ParamScrn::instance() {
    if (!shared_)
        shared_ = new ParamScrn();
    return shared_;
}

ParamScrn::ParamScrn() {
    setObjectName(QStringLiteral("ParamScrn"));
    setWindowTitle(QStringLiteral("Settings for"));
}
