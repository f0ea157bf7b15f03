#include "gamebests.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace GameBests {
namespace {

// Cents, rounded half up. The tiny nudge keeps a value like 7.495, which binary floating point
// holds as 7.4949999..., rounding up the way a person writing it down would.
long long cents(double value) {
    return static_cast<long long>(std::floor(value * 100.0 + 0.5 + 1e-7));
}

QString withoutLeadingZero(QString text) {
    if (text.startsWith(QLatin1String("0.")))
        text.remove(0, 1);
    return text;
}

} // namespace

double roundToCents(double value) {
    if (!std::isfinite(value))
        return value;
    return static_cast<double>(cents(value)) / 100.0;
}

double readAverage(const QString& stored) {
    bool ok = false;
    const double v = QLocale::c().toDouble(stored.trimmed(), &ok);
    if (!ok || !std::isfinite(v) || v <= 0.0)
        return kNoAverage;
    return v;
}

bool beatsAverage(double average, const QString& stored) {
    if (!std::isfinite(average) || average < 0.0)
        return false;
    return average < readAverage(stored);
}

QString formatAverage(double value) {
    if (!std::isfinite(value) || value < 0.0)
        value = 0.0;
    const long long c = cents(value);
    const QString text = QString::number(c / 100) + QLatin1Char('.') +
                         QStringLiteral("%1").arg(c % 100, 2, 10, QLatin1Char('0'));
    return withoutLeadingZero(text);
}

QString formatRunningAverage(double value) {
    if (!std::isfinite(value))
        value = 0.0;
    // A negative value is written as its size with a minus sign, rounded alike either side of 0.
    const long long c = cents(std::fabs(value));
    QString text = QString::number(c / 100);
    if (c % 100 != 0) {
        QString decimals = QStringLiteral("%1").arg(c % 100, 2, 10, QLatin1Char('0'));
        if (decimals.endsWith(QLatin1Char('0')))
            decimals.chop(1);
        text += QLatin1Char('.') + decimals;
    }
    text = withoutLeadingZero(text);
    return value < 0.0 && c != 0 ? QLatin1Char('-') + text : text;
}

QString formatPlain(double value) {
    QString text = formatRunningAverage(value);
    const qsizetype point = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.mid(point).startsWith(QLatin1Char('.')))
        text.insert(point, QLatin1Char('0'));
    return text;
}

long long readScore(const QString& stored) {
    bool ok = false;
    const long long v = QLocale::c().toLongLong(stored.trimmed(), &ok);
    if (ok)
        return v < 0 ? 0 : v;
    const double d = QLocale::c().toDouble(stored.trimmed(), &ok);
    if (!ok || !std::isfinite(d) || d < 0.0)
        return 0;
    return static_cast<long long>(std::min(d, 9.0e18));
}

} // namespace GameBests
