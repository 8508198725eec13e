#include "fakes/ScriptedRandom.h"

#include <gtest/gtest.h>

namespace vostrel::fakes {

void ScriptedRandom::AddDigits(std::initializer_list<int32_t> digits) {
    // d * 3277 lies inside the block of generator values that scales to d.
    for (const int32_t d : digits) {
        values_.push_back(d * 3277);
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
