#pragma once
// The read loop of the subcommands that answer standard input one line at a time, and the
// splitting of a line into words.

#include <cstddef>
#include <functional>
#include <string_view>

namespace vostrel::cli {

// The longest line read; a longer one is answered "error: line too long", and only this much of
// it is ever held.
inline constexpr size_t kMaxInputLine = 4096;

// Answers a line (without its "\n" or "\r\n") on standard output, or returns why it cannot.
using LineAnswer = std::function<const char*(std::string_view line)>;

// Calls answer for every line of standard input; a line it refuses gets "error: REASON" in its
// place. Returns the exit status: 0, or 1 after a refused line or a read or write failure,
// which is also reported on standard error under "vostrel-cli COMMAND".
int RunLineLoop(const char* command, const LineAnswer& answer);

// Splits a line at blanks and tabs into at most `most` words; returns how many it stored.
int SplitWords(std::string_view line, std::string_view* words, int most);

} // namespace vostrel::cli
