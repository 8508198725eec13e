#pragma once
// A random source for tests that hands out a script of generator values, so that a test
// decides the digits of every problem.

#include "game/GameFlow.h"

#include <cstdint>
#include <deque>
#include <initializer_list>

namespace vostrel::fakes {

class ScriptedRandom {
public:
    // Queues the generator value that DrawDigits turns into each given digit.
    void AddDigits(std::initializer_list<int32_t> digits);
    // Queues generator values as they are.
    void AddRaw(std::initializer_list<int32_t> values);
    size_t Remaining() const { return values_.size(); }

    // Draws from this script; the script must outlive the source. An empty script fails the
    // test and gives 0.
    RandomSource Source();

private:
    int32_t Next();

    std::deque<int32_t> values_;
};

} // namespace vostrel::fakes
