// The fast target, all in memory: arbitrary bytes through the settings loader, compared with the
// byte-at-a-time reference, then the loaded record formatted as the save writes it and read
// back. Any difference in result or record aborts.
//
// Inputs stay within 512 bytes: the small blocks put block ends inside lines of any length, so
// longer inputs only cost time. Ten million inputs on the sanitizer build, after its ctest run
// (about eight minutes on one core):
//   build-asan/fuzz/settings_fuzz -runs=10000000 -max_len=512 -dict=fuzz/settings.dict DIR
// where DIR is a copy of build-asan/fuzz/settings_fuzz_corpus (ctest seeds that one afresh).

#include "app/SettingsFile.h"
#include "fakes/MemoryByteSource.h"
#include "fuzz/SettingsReference.h"

#include <cstdint>
#include <string>
#include <string_view>

using vostrel::SettingsRecord;
using vostrel::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SettingsRecord expected = vostrel::fuzz::Start();
    const int32_t expectedResult = vostrel::fuzz::RefLoad(bytes, expected);

    // One reading an input, its sizes taken from the input's length: every fourth in one block,
    // as a file smaller than the reader's block is read; the rest in small reads into small
    // blocks, so that lines and CR LF straddle both.
    {
        const bool whole = size % 4 == 0;
        SettingsRecord s = vostrel::fuzz::Start();
        vostrel::MemoryByteSource source(bytes, whole ? size + 1 : 1 + size % 31);
        Check(vostrel::LoadSettingsFrom(source, s, whole ? size + 1 : 1 + size % 61) ==
              expectedResult);
        Check(s == expected);
    }

    // Whatever was loaded is saved and read back unchanged.
    const std::string saved = vostrel::FormatSettings(expected);
    SettingsRecord again;
    vostrel::MemoryByteSource source(saved);
    Check(vostrel::LoadSettingsFrom(source, again, 256) == 0);
    Check(again == expected);
    return 0;
}
