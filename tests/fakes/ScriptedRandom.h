#pragma once
// A random source for tests that hands out a script of generator values, so that a test
// decides the digits of every problem.

#include "game/GameFlow.h"

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <vector>

namespace vostrel::fakes {

class ScriptedRandom {
public:
    // A generator value that DrawDigits turns into digit (0 to 9).
    static int32_t ValueOf(int32_t digit);
    // Draws the given digits in turn, over and over, for a window that draws as it likes.
    static RandomSource Repeating(std::vector<int32_t> digits);

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
