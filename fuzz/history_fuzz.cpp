// The record of games from any bytes, in blocks of any size: never a crash or a leak, and what
// was read writes out as bytes that read back as the same record.

#include "app/GameHistory.h"
#include "fakes/MemoryByteSource.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace vostrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the block size: block ends fall inside lines.
    const size_t block = 1 + data[0] % 64;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    GameHistory h;
    HistoryReport report;
    MemoryByteSource source(bytes, block);
    if (LoadHistoryFrom(source, h, report, block) != 0) {
        std::abort(); // memory never fails to read
    }
    if (h.games.size() > GameHistory::kKeptGames) {
        std::abort();
    }
    const std::string written = FormatHistory(h);
    if (written.size() > GameHistory::kMaxBytes && !h.games.empty()) {
        std::abort();
    }
    GameHistory again;
    HistoryReport second;
    MemoryByteSource back(written, block);
    if (LoadHistoryFrom(back, again, second, block) != 0 || second.skipped != 0 || !(again == h)) {
        std::abort();
    }
    (void)FiguresOf(h, SettingsSet{"0001", 3});
    return 0;
}
