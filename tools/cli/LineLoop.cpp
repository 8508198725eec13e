#include "tools/cli/LineLoop.h"

#include <cstdio>
#include <cstdlib>

namespace vostrel::cli {

int RunLineLoop(const char* command, const LineAnswer& answer) {
    int status = 0;
    char* buf = nullptr;
    size_t cap = 0;
    ssize_t len;
    while ((len = getline(&buf, &cap, stdin)) >= 0) {
        std::string_view line(buf, static_cast<size_t>(len));
        if (!line.empty() && line.back() == '\n') {
            line.remove_suffix(1);
        }
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (const char* error = answer(line)) {
            std::fprintf(stdout, "error: %s\n", error);
            status = 1;
        }
    }
    std::free(buf);
    if (std::ferror(stdin)) {
        std::fprintf(stderr, "vostrel-cli %s: cannot read standard input\n", command);
        status = 1;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "vostrel-cli %s: cannot write standard output\n", command);
        return 1;
    }
    return status;
}

int SplitWords(std::string_view line, std::string_view* words, int most) {
    int n = 0;
    size_t i = 0;
    while (n < most) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        if (i == line.size()) {
            break;
        }
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            ++i;
        }
        words[n++] = line.substr(start, i - start);
    }
    return n;
}

} // namespace vostrel::cli
