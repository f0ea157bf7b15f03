#pragma once

// The texts of a drill round that are made from its problems: the missed-answers lines, the result
// messages, and what is spoken. Kept apart from the window so that every rule can be checked alone.

#include <QString>

namespace RoundTexts {

// The division sign of the missed-answers list (the one convertTxt turns into words).
inline constexpr QChar kDivisionSign = QChar(0x00F7);

// The spoken words of an operation, a blank on each side: " plus ", " minus ", " times ",
// " divided by "; empty for an operation the program does not know.
QString operationWords(int operation);

// One line of the missed-answers list: the problem as the set holds it, its result and a line end,
// e.g. "9 - 12 = -3\n", "12 ÷ 3 = 4\n".
QString missedLine(int first, int operation, int second, int result);

// "Time for this round: 37 seconds".
QString roundTime(int seconds);

// The end-of-round messages, two lines each.
QString perfectMessage(const QString& firstName);
QString niceTryMessage(const QString& firstName);

// The missed-answers list turned into words to be spoken (signs become words, lines end in ". ").
QString convertTxt(const QString& missed);
// What is spoken after a round with misses.
QString missedSpeech(const QString& missed);

// What is spoken for problem number `number` (counted from 1); the answer is never part of it.
QString problemSpeech(int number, int first, int operation, int second);

// Said after a wrong try that leaves tries.
QString wrongTry();

} // namespace RoundTexts
