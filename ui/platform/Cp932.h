#pragma once
// High-score names are kept as code page 932 bytes; these two functions are the only place
// where they meet the Unicode text of the widgets.

#include <QString>

#include <string>

namespace vostrel {

// Windows mapping; a character that code page 932 cannot hold becomes "?".
std::string Cp932FromUnicode(const QString& text);

// Invalid or truncated byte sequences show as U+FFFD; decoding goes on after the bad byte.
QString UnicodeFromCp932(const std::string& bytes);

} // namespace vostrel
