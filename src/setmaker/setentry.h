#pragma once

// The rules of one problem typed into the problem-set maker, without any window: the signs of the
// four operations, the answer shown while the teacher types, the check before a problem joins the
// set, and the text of its row (which is also the text of its record in the set file).

#include <QString>

namespace SetEntry {

inline constexpr int kOperations = 4; // 0 addition, 1 subtraction, 2 multiplication, 3 division

// The sign drawn beside the bottom number ("+", "-", "x", "÷") and the sign written into a row
// ("+", "-", "X", "/").
QString drawnSign(int operation);
QString rowSign(int operation);

// The next operation (division wraps to addition) and the previous one (addition wraps to division).
int nextOperation(int operation);
int previousOperation(int operation);

// The number a field shows, read from its start: an optional sign, digits and a decimal point; text
// that begins with no number (empty, "?", "-") reads as 0.
double leadingNumber(const QString& text);

// The answer shown under the bar: sum, difference or product in its shortest decimal form, never
// "-0"; a division truncated toward zero, and 0 for a division by 0.
QString liveAnswer(const QString& top, const QString& bottom, int operation);

enum class Verdict {
    Accepted,
    ResetTop,     // the top number is missing or is no number
    ResetBottom,  // the same for the bottom number
    NotWhole,     // a division that leaves a remainder
    DivideByZero, // a division whose bottom number is 0
};

// The checks in the order they are tried; the first that fails decides. A number must begin with
// "-" or a digit and hold at least one digit.
Verdict verify(const QString& top, const QString& bottom, int operation);

// The row of a problem: the two numbers exactly as typed, the row sign between, one blank each side.
QString rowText(const QString& top, int operation, const QString& bottom);

} // namespace SetEntry
