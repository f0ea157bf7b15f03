#pragma once

#include <cstdint>
#include <random>

namespace App {

// The program's one source of random numbers. Everything draws whole numbers in an inclusive range
// from it, so a test that seeds it gets the same problems, keys and games every time.
class Random {
public:
    Random();
    // A whole number from low to high, both included. A reversed range is taken the right way round.
    int inRange(int low, int high);
    void seed(std::uint32_t value);

private:
    std::mt19937 engine_;
};

Random& myRnd();

} // namespace App
