#include "drillsettings.h"

#include "data/globals.h"
#include "data/strecord.h"

namespace DrillSettings {

namespace {
constexpr int kOperations = 4;
constexpr int kRandomMix = 4;
} // namespace

void completeList(QStringList& params) {
    const QStringList defaults = StRecord::defaultParams();
    while (params.size() < defaults.size())
        params.append(defaults[params.size()]);
}

int allowedOperationCount(const QString& flags) {
    const QStringList parts = flags.split(QLatin1Char('^'));
    int count = 0;
    for (int op = 0; op < kOperations; ++op) {
        if (myGlobals::textToInt(parts.value(op)) != 0)
            ++count;
    }
    return count;
}

void keepRandomMixPlayable(QStringList& params) {
    completeList(params);
    if (myGlobals::textToInt(params[StRecord::OperationParam]) != kRandomMix)
        return;
    if (allowedOperationCount(params[StRecord::AllowedOpsParam]) < 2)
        params[StRecord::AllowedOpsParam] = QStringLiteral("1^1^1^1");
}

} // namespace DrillSettings
