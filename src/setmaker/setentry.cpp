#include "setentry.h"

#include <cmath>

namespace SetEntry {
namespace {

int wrap(int operation) {
    return ((operation % kOperations) + kOperations) % kOperations;
}

// Only the digits 0 to 9 make numbers: the drill reads its sets as plain ASCII.
bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool hasDigit(const QString& text) {
    for (const QChar c : text) {
        if (isDigit(c))
            return true;
    }
    return false;
}

bool startsAsNumber(const QString& text) {
    return !text.isEmpty() && (text.front() == QLatin1Char('-') || isDigit(text.front()));
}

// The whole number of a checked field: "-" or a digit first, then digits.
int wholeNumber(const QString& text) {
    return static_cast<int>(leadingNumber(text));
}

} // namespace

QString drawnSign(int operation) {
    static const QString signs[kOperations] = {QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("x"),
                                               QString(QChar(0x00F7))};
    return signs[wrap(operation)];
}

QString rowSign(int operation) {
    static const QString signs[kOperations] = {QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("X"),
                                               QStringLiteral("/")};
    return signs[wrap(operation)];
}

int nextOperation(int operation) {
    return wrap(operation + 1);
}

int previousOperation(int operation) {
    return wrap(operation - 1);
}

double leadingNumber(const QString& text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    double value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i)
        value = value * 10 + (text[i].unicode() - '0');
    if (i < text.size() && text[i] == QLatin1Char('.')) {
        double scale = 0.1;
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            value += (text[i].unicode() - '0') * scale;
            scale /= 10;
        }
    }
    return negative ? -value : value;
}

QString liveAnswer(const QString& top, const QString& bottom, int operation) {
    const double a = leadingNumber(top);
    const double b = leadingNumber(bottom);
    double answer = 0;
    switch (wrap(operation)) {
    case 0:
        answer = a + b;
        break;
    case 1:
        answer = a - b;
        break;
    case 2:
        answer = a * b;
        break;
    default: {
        // The fields hold at most three characters, so both numbers fit a 32-bit integer.
        const int divisor = static_cast<int>(b);
        return QString::number(divisor == 0 ? 0 : static_cast<int>(a) / divisor);
    }
    }
    if (answer == 0)
        return QStringLiteral("0"); // also for -0
    // Fifteen significant digits: the sums of decimals typed here show as written (.1 + .2 is 0.3).
    return QString::number(answer, 'g', 15);
}

Verdict verify(const QString& top, const QString& bottom, int operation) {
    // A field with no digit ("", "?", "-") counts as an empty one.
    if (!hasDigit(top))
        return Verdict::ResetTop;
    if (!hasDigit(bottom))
        return Verdict::ResetBottom;
    if (!startsAsNumber(top))
        return Verdict::ResetTop;
    if (!startsAsNumber(bottom))
        return Verdict::ResetBottom;
    if (wrap(operation) == 3) {
        const int divisor = wholeNumber(bottom);
        // A round would otherwise teach that a number divided by 0 gives 0.
        if (divisor == 0)
            return Verdict::DivideByZero;
        if (wholeNumber(top) % divisor != 0)
            return Verdict::NotWhole;
    }
    return Verdict::Accepted;
}

QString rowText(const QString& top, int operation, const QString& bottom) {
    return top + QLatin1Char(' ') + rowSign(operation) + QLatin1Char(' ') + bottom;
}

} // namespace SetEntry
