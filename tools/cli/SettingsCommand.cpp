#include "tools/cli/Commands.h"

#include "app/FileReasons.h"
#include "app/SaveFailure.h"
#include "app/SettingsFile.h"

#include <cstdio>
#include <string>

namespace vostrel::cli {

int RunSettings(int argc, char** argv) {
    if (argc != 1) {
        std::fputs("vostrel-cli: usage: vostrel-cli settings FILE\n", stderr);
        return 2;
    }
    // As at program start: numbers 0, names empty.
    SettingsRecord s;
    LoadReport report;
    const int32_t r = LoadSettings(argv[0], s, &report);
    const std::string out = "load " + std::to_string(r) + "\n" + FormatSettings(s);
    // Names are raw bytes, so the output is written as a block, never as C text.
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
        std::fputs("vostrel-cli: cannot write the output\n", stderr);
        return 1;
    }
    // A file that is missing or could not be read whole is a failure, named on standard error.
    if (r != 0 || report.CutShort()) {
        std::fputs(SaveFailureLine(argv[0], r != 0 ? report.reason : kCutShort, true).c_str(),
                   stderr);
        return 1;
    }
    return 0;
}

} // namespace vostrel::cli
