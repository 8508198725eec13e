#include "fakes/ScriptedRandom.h"

#include <gtest/gtest.h>

#include <utility>

namespace vostrel::fakes {

int32_t ScriptedRandom::ValueOf(int32_t digit) {
    // d * 3277 lies inside the block of generator values that scales to d.
    return digit * 3277;
}

RandomSource ScriptedRandom::Repeating(std::vector<int32_t> digits) {
    return [digits = std::move(digits), next = size_t{0}]() mutable {
        return digits.empty() ? 0 : ValueOf(digits[next++ % digits.size()]);
    };
}

void ScriptedRandom::AddDigits(std::initializer_list<int32_t> digits) {
    for (const int32_t d : digits) {
        values_.push_back(ValueOf(d));
    }
}

void ScriptedRandom::AddRaw(std::initializer_list<int32_t> values) {
    values_.insert(values_.end(), values.begin(), values.end());
}

RandomSource ScriptedRandom::Source() {
    return [this] { return Next(); };
}

int32_t ScriptedRandom::Next() {
    if (values_.empty()) {
        ADD_FAILURE() << "the random script ran out";
        return 0;
    }
    const int32_t v = values_.front();
    values_.pop_front();
    return v;
}

} // namespace vostrel::fakes
