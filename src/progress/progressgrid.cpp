#include "progressgrid.h"

#include "data/prefs.h"
#include "data/strecord.h"

#include <algorithm>
#include <cmath>

namespace ProgressGrid {

namespace {

const StRecord::Counts& rightCounts(const StRecord& record, int operation) {
    switch (operation) {
    case 1:
        return record.subCor;
    case 2:
        return record.mulCor;
    case 3:
        return record.divCor;
    default:
        return record.addCor;
    }
}

const StRecord::Counts& triedCounts(const StRecord& record, int operation) {
    switch (operation) {
    case 1:
        return record.subTried;
    case 2:
        return record.mulTried;
    case 3:
        return record.divTried;
    default:
        return record.addTried;
    }
}

bool isCell(int operation, int factIndex) {
    return operation >= 0 && operation < StRecord::kOperations && namesAFamily(factIndex);
}

int channel(QRgb colour, int shift) {
    return int((colour >> shift) & 0xFF);
}

} // namespace

bool namesAFamily(int factIndex) {
    return factIndex >= 0 && factIndex < StRecord::kFacts;
}

Criteria criteria() {
    // The criteria the saved stars were counted by.
    const myPrefs::Values prefs = myPrefs::inForce();
    return {prefs.numCrit, prefs.pctCrit, prefs.hiCrit};
}

double percentOf(const StRecord* record, int operation, int factIndex) {
    if (!record || !isCell(operation, factIndex))
        return 0.0;
    const double pct = record->curPct[operation][factIndex];
    if (!std::isfinite(pct))
        return 0.0;
    return std::clamp(pct, 0.0, 100.0);
}

int wholePercentOf(const StRecord* record, int operation, int factIndex) {
    return int(std::floor(percentOf(record, operation, factIndex)));
}

QString tagText(const StRecord* record, int operation, int factIndex, const Criteria& criteria) {
    if (!isCell(operation, factIndex))
        return {};
    if (factIndex >= criteria.hiCrit)
        return QStringLiteral("not counted");
    const int right = record ? rightCounts(*record, operation)[factIndex] : 0;
    const int tried = record ? triedCounts(*record, operation)[factIndex] : 0;
    // The denominator the percentage was counted against.
    const int divisor = StRecord::divisorFor(tried);
    return QString::number(right) + QStringLiteral(" of ") + QString::number(divisor) +
           QStringLiteral(" = ") + QString::number(wholePercentOf(record, operation, factIndex)) +
           QLatin1Char('%');
}

QColor columnColour(int x, int width) {
    const double p = width > 0 ? std::clamp(double(x) / width, 0.0, 1.0) : 0.0;
    const double q = 1.0 - p;
    const auto mix = [p, q](int shift) {
        return int(channel(kEndColour, shift) * p + channel(kStartColour, shift) * q);
    };
    return QColor(mix(16), mix(8), mix(0));
}

Mark markOf(const StRecord* record, int operation, int factIndex, const Criteria& criteria) {
    if (!isCell(operation, factIndex))
        return Mark::None;
    if (factIndex >= criteria.hiCrit)
        return Mark::Cross;
    if (percentOf(record, operation, factIndex) < criteria.pctCrit)
        return Mark::Try;
    return Mark::Star;
}

} // namespace ProgressGrid
