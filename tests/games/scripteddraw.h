#pragma once

// Whole numbers for a game's rules as a test wants them: from a script first, then from a seeded
// generator, each within the range asked for.

#include <deque>
#include <random>

namespace GameTest {

struct ScriptedDraw {
    explicit ScriptedDraw(unsigned seed = 1) : rng(seed) {}
    std::deque<int> script;
    std::mt19937 rng;
    int operator()(int low, int high) {
        if (!script.empty()) {
            const int v = script.front();
            script.pop_front();
            return v;
        }
        return std::uniform_int_distribution<int>(low, high)(rng);
    }
};

} // namespace GameTest
