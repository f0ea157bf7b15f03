#include "gamearith.h"

namespace GameArith {

std::int32_t performOp(std::int32_t a, std::int32_t b, int op) {
    const auto wrap = [](std::int64_t v) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    };
    switch (op) {
    case Add:
        return wrap(std::int64_t(a) + b);
    case Subtract:
        return wrap(std::int64_t(a) - b);
    case Multiply:
        return wrap(std::int64_t(a) * b);
    case Divide:
        // The one quotient that does not fit wraps like the others.
        return b == 0 ? 0 : wrap(std::int64_t(a) / b);
    default:
        return 0;
    }
}

} // namespace GameArith
