#pragma once
// Serves bytes held in memory, at most chunk bytes per read, so that callers can exercise every
// way a line may straddle two reads.

#include "app/IByteSource.h"

#include <string_view>

namespace vostrel {

class MemoryByteSource : public IByteSource {
public:
    explicit MemoryByteSource(std::string_view bytes, size_t chunk = SIZE_MAX)
        : bytes_(bytes), chunk_(chunk == 0 ? 1 : chunk) {}
    int64_t Read(char* dst, size_t cap) override;

private:
    std::string_view bytes_;
    size_t chunk_;
};

} // namespace vostrel
