#include "app/SettingsFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A 10 MB settings file made once for the whole run: long lines of every kind, then the real
// keys, so that the loader both splits and stores a lot.
class BigSettingsFile {
public:
    static constexpr size_t kSize = 10u << 20;

    BigSettingsFile() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "vostrel-bench-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) {
            return;
        }
        dir_ = tmpl;
        path_ = dir_ + "/vostrel.dat";
        std::string bytes;
        bytes.reserve(kSize + 4096);
        for (unsigned i = 0; bytes.size() < kSize; ++i) {
            bytes += ":" + std::string(200, 'c') + "\r\n";
            bytes += "junk:" + std::string(1000 + i % 97, 'j') + "\r\n";
            bytes += "hsn2:" + std::string(3000 + i % 13, '\x82') + "\n";
            bytes += "rn:" + std::to_string(i) + "\r\n";
        }
        bytes += "rn:3\r\nnsd:0\r\nnsr:0\r\nrto:1\r\neu:1\r\n"
                 "hsn0:ABC\r\nhss0:500\r\nhsn1:XYZ\r\nhss1:450\r\nhsn2:PYR\r\nhss2:400\r\n"
                 "hsn3:owns\r\nhss3:350\r\nhsn4:ZORVEK\r\nhss4:300\r\n";
        if (FILE* f = std::fopen(path_.c_str(), "wb")) {
            ok_ = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
            ok_ = std::fclose(f) == 0 && ok_;
        }
        size_ = bytes.size();
    }
    ~BigSettingsFile() {
        if (!dir_.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(dir_, ec);
        }
    }

    bool ok() const { return ok_; }
    const std::string& path() const { return path_; }
    size_t size() const { return size_; }

private:
    std::string dir_;
    std::string path_;
    size_t size_ = 0;
    bool ok_ = false;
};

void BM_LoadSettings10MB(benchmark::State& state) {
    static const BigSettingsFile file;
    if (!file.ok()) {
        state.SkipWithError("cannot write the test file");
        return;
    }
    for (auto _ : state) {
        vostrel::SettingsRecord s;
        const int32_t r = vostrel::LoadSettings(file.path(), s);
        benchmark::DoNotOptimize(r);
        if (r != 0 || s.highScores.name[2] != "PYR") {
            state.SkipWithError("the file did not load as written");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_LoadSettings10MB)->Unit(benchmark::kMillisecond);

} // namespace
