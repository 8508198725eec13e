#pragma once
// The game's running total of points.

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vostrel {

// A total plus a problem's points; a sum past the 32-bit range stays at its end.
inline int32_t SaturatingAdd(int32_t total, int32_t points) {
    const int64_t sum = static_cast<int64_t>(total) + points;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace vostrel
