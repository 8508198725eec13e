// The slow target, through real files: the bytes written to a file and loaded from it, compared
// with the byte-at-a-time reference; then the record saved with the crash-safe save (fsync and
// rename on every input), its file compared byte for byte with the formatted record, and loaded
// again.

#include "app/SettingsFile.h"
#include "fuzz/SettingsReference.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>

using vostrel::SettingsRecord;
using vostrel::fuzz::Check;

namespace {

// One directory per process, removed at exit.
struct Scratch {
    std::string dir;
    Scratch() {
        const char* base = std::getenv("TMPDIR");
        std::string tmpl =
            std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/vostrel-fuzz-XXXXXX";
        Check(::mkdtemp(tmpl.data()) != nullptr);
        dir = tmpl;
    }
    ~Scratch() {
        ::unlink((dir + "/in.dat").c_str());
        ::unlink((dir + "/out.dat").c_str());
        ::rmdir(dir.c_str());
    }
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Scratch scratch;
    const std::string in = scratch.dir + "/in.dat";
    const std::string out = scratch.dir + "/out.dat";
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    {
        std::ofstream f(in, std::ios::binary | std::ios::trunc);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        Check(f.good());
    }
    SettingsRecord expected = vostrel::fuzz::Start();
    const int32_t expectedResult = vostrel::fuzz::RefLoad(bytes, expected);
    SettingsRecord s = vostrel::fuzz::Start();
    Check(vostrel::LoadSettings(in, s) == expectedResult);
    Check(s == expected);

    Check(vostrel::SaveSettings(out, s) == 0);
    Check(ReadAll(out) == vostrel::FormatSettings(s));
    SettingsRecord again;
    Check(vostrel::LoadSettings(out, again) == 0);
    Check(again == s);
    return 0;
}
