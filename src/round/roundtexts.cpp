#include "roundtexts.h"

namespace RoundTexts {

namespace {

QString signOf(int operation) {
    switch (operation) {
    case 0:
        return QStringLiteral(" + ");
    case 1:
        return QStringLiteral(" - ");
    case 2:
        return QStringLiteral(" x ");
    case 3:
        return QLatin1Char(' ') + kDivisionSign + QLatin1Char(' ');
    default:
        return QStringLiteral(" ? ");
    }
}

// A number as it is spoken: its minus sign becomes a word.
QString spokenNumber(int value) {
    return QString::number(value).replace(QLatin1Char('-'), QStringLiteral(" negative "));
}

} // namespace

QString operationWords(int operation) {
    switch (operation) {
    case 0:
        return QStringLiteral(" plus ");
    case 1:
        return QStringLiteral(" minus ");
    case 2:
        return QStringLiteral(" times ");
    case 3:
        return QStringLiteral(" divided by ");
    default:
        return {};
    }
}

QString missedLine(int first, int operation, int second, int result) {
    return QString::number(first) + signOf(operation) + QString::number(second) + QStringLiteral(" = ") +
           QString::number(result) + QLatin1Char('\n');
}

QString roundTime(int seconds) {
    return QStringLiteral("Time for this round: ") + QString::number(seconds) + QStringLiteral(" seconds");
}

QString perfectMessage(const QString& firstName) {
    return QStringLiteral("Well Done, ") + firstName + QStringLiteral(".\nYou were perfect this round!!!");
}

QString niceTryMessage(const QString& firstName) {
    return QStringLiteral("Nice Try, ") + firstName + QStringLiteral(".\nCheck your missed answers.");
}

QString convertTxt(const QString& missed) {
    // The order matters: a subtraction sign has a blank after it and is read as "minus" before every
    // remaining minus sign, which belongs to a negative number, is read as "negative".
    QString text = missed;
    text.replace(QLatin1Char('='), QStringLiteral("equals"));
    text.replace(QLatin1Char('+'), QStringLiteral(" plus "));
    text.replace(QStringLiteral("- "), QStringLiteral(" minus "));
    text.replace(QLatin1Char('-'), QStringLiteral(" negative "));
    text.replace(QLatin1Char('x'), QStringLiteral(" times "));
    text.replace(kDivisionSign, QStringLiteral(" divided by "));
    text.replace(QLatin1Char('\n'), QStringLiteral(". "));
    return text;
}

QString missedSpeech(const QString& missed) {
    return QStringLiteral("Nice Try. The missed problems are: ") + convertTxt(missed);
}

QString problemSpeech(int number, int first, int operation, int second) {
    return QStringLiteral("problem number ") + QString::number(number) + QStringLiteral(". ") +
           spokenNumber(first) + operationWords(operation) + spokenNumber(second);
}

QString wrongTry() {
    return QStringLiteral("Wrong. try again");
}

} // namespace RoundTexts
