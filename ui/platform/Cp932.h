#pragma once
// High-score names are kept as code page 932 bytes, and where those cannot hold a name, as
// UTF-8 beside them; these functions are the only place where they meet the Unicode text of the
// widgets.

#include "app/SettingsRecord.h"

#include <QString>

#include <string>

namespace vostrel {

// Windows mapping; a character that code page 932 cannot hold becomes "?".
std::string Cp932FromUnicode(const QString& text);

// Invalid or truncated byte sequences show as U+FFFD; decoding goes on after the bad byte.
QString UnicodeFromCp932(const std::string& bytes);

// A typed name as the high-score table keeps it.
StoredName StoreName(const QString& typed);

// The name a stored pair stands for: the UTF-8 one when the bytes are what it was stored with
// (a full name left beside other bytes by another program is not shown), else the bytes.
QString ShownName(const std::string& bytes, const std::string& full);

// False when the text holds a character no file can keep: half of a surrogate pair.
bool NameCanBeKept(const QString& typed);

} // namespace vostrel
