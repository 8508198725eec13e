#include "tools/cli/LineLoop.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vostrel::cli {

int RunLineLoop(const char* command, const LineAnswer& answer) {
    int status = 0;
    // No line the commands take is near this long: a longer one is refused, not held whole.
    std::string line;
    bool tooLong = false;
    bool any = false;
    for (int c = std::getc(stdin);; c = std::getc(stdin)) {
        if (c != EOF && c != '\n') {
            any = true;
            if (line.size() < kMaxInputLine) {
                line += static_cast<char>(c);
            } else {
                tooLong = true;
            }
            continue;
        }
        if (c == EOF && !any) {
            break;
        }
        std::string_view text(line);
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        const char* error = tooLong ? "line too long" : answer(text);
        if (error != nullptr) {
            std::fprintf(stdout, "error: %s\n", error);
            status = 1;
        }
        line.clear();
        tooLong = false;
        any = false;
        if (c == EOF) {
            break;
        }
    }
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
