#include "fakes/MemoryByteSource.h"

#include <algorithm>
#include <cstring>

namespace vostrel {

int64_t MemoryByteSource::Read(char* dst, size_t cap) {
    const size_t n = std::min({cap, chunk_, bytes_.size()});
    if (n > 0) {
        std::memcpy(dst, bytes_.data(), n);
    }
    bytes_.remove_prefix(n);
    return static_cast<int64_t>(n);
}

} // namespace vostrel
