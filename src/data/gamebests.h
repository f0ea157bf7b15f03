#pragma once

// The games' bests as the student record keeps them: texts in the list StRecord::myZeriScrs. The
// timed games keep a best average time per problem (lower is better, "99.99" meaning none yet); the
// points games keep a highest score (a plain integer, "0" meaning none yet). Every game reads and
// writes its best here, so that all six agree on what a stored text means.

#include <QString>

#include <optional>

namespace GameBests {

// What "no best yet" is stored as for a timed game.
inline constexpr double kNoAverage = 99.99;

// A stored best average read as a number in any locale (".60" is 0.6). A text that is no positive
// number counts as no best yet, so that the student can still improve on it.
double readAverage(const QString& stored);

// True when `average` beats the stored best: strictly lower than the stored number (7.497 beats "7.50",
// though it is stored as "7.50" again).
bool beatsAverage(double average, const QString& stored);

// "##.00": two decimals, rounded half up, a point whatever the locale, no leading zero
// (2.5 "2.50", 0.6 ".60", 0.625 ".63", 12 "12.00").
QString formatAverage(double value);

// "##.##": at most two decimals, rounded half up, no trailing zeros and no leading zero
// (7.5 "7.5", 7.333 "7.33", 12 "12", 0.5 ".5", 0 "0"); below 0 with a minus sign (-0.6 "-.6", -3 "-3",
// and "0" for what rounds to 0).
QString formatRunningAverage(double value);

// A plain number with at most two decimals, rounded half up, as a stored text that reads back
// anywhere (0.5 "0.5", 3.5 "3.5", 12 "12", -0.5 "-0.5").
QString formatPlain(double value);

// A stored highest score; a text that is no number, or a negative one, reads as 0.
long long readScore(const QString& stored);

// The value rounded half up to two decimals.
double roundToCents(double value);

} // namespace GameBests
