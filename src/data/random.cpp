#include "random.h"

#include <utility>

namespace App {

Random::Random() : engine_(std::random_device{}()) {}

int Random::inRange(int low, int high) {
    if (low > high)
        std::swap(low, high);
    return std::uniform_int_distribution<int>(low, high)(engine_);
}

void Random::seed(std::uint32_t value) {
    engine_.seed(value);
}

Random& myRnd() {
    static Random instance;
    return instance;
}

} // namespace App
