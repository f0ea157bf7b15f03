#pragma once

// The sums the games build their problems from, worked out as the boards show them.

#include <cstdint>

namespace GameArith {

enum Op { Add = 0, Subtract = 1, Multiply = 2, Divide = 3 };

// a op b in 32-bit two's complement: a result that does not fit wraps round, as the games always
// did. Dividing by 0 and an unknown op give 0.
std::int32_t performOp(std::int32_t a, std::int32_t b, int op);

} // namespace GameArith
