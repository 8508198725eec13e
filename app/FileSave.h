#pragma once
// Writing one of the game's files, whole or not at all, in a folder reached as TrustedPath
// reaches it; and mending a file whose rewrite in place was cut off. Any file of the game in
// the settings file's folder is saved through these, by its own path.

#include "app/IFileCalls.h"
#include "app/InPlaceRewrite.h"

#include <string>
#include <string_view>

namespace vostrel {

// 0 written; otherwise the errno value or reason of FileReasons.h, and the file is left as it
// was. The bytes go to a temporary file beside it, renamed into its place (with the file's
// mode, and with this game's lock when it holds the file); where the folder refuses a new file
// but the file may be written, they are written in place (InPlaceRewrite) through `calls`.
int SaveFileBytes(const std::string& path, std::string_view bytes, IFileCalls& calls);
int SaveFileBytes(const std::string& path, std::string_view bytes);
// Finishes or undoes a rewrite of the file at path that was cut off (InPlaceRewrite::Mend).
InPlaceRewrite::Outcome MendCutSave(const std::string& path, int& why);

} // namespace vostrel
