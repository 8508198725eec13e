// The fast target, all in memory: arbitrary bytes through the settings loader, compared with the
// byte-at-a-time reference, then the loaded record formatted as the save writes it and read
// back. Any difference in result or record aborts.
//
// Inputs stay within 1024 bytes: the small blocks put block ends inside lines of any length, so
// longer inputs only cost time. Ten million inputs on the sanitizer build, after its ctest run
// (about ten minutes on one core):
//   build-asan/fuzz/settings_fuzz -runs=10000000 -max_len=1024 -dict=fuzz/settings.dict DIR
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

    // Whole, in one block as a file smaller than the reader's block is read; then in small
    // reads into small blocks, so that lines and CR LF straddle both.
    {
        SettingsRecord s = vostrel::fuzz::Start();
        vostrel::MemoryByteSource source(bytes);
        Check(vostrel::LoadSettingsFrom(source, s, size + 1) == expectedResult);
        Check(s == expected);
    }
    {
        SettingsRecord s = vostrel::fuzz::Start();
        vostrel::MemoryByteSource source(bytes, 1 + size % 31);
        Check(vostrel::LoadSettingsFrom(source, s, 1 + size % 61) == expectedResult);
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
