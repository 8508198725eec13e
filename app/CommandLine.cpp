#include "app/CommandLine.h"

#include "app/Version.h"

#include <string_view>

namespace vostrel {

namespace {

// For players; the one place where the program's options are written.
constexpr char kUsage[] =
    "usage: vostrel [--help | --version]\n"
    "\n"
    "Vostrel, an arithmetic puzzle: make 10 from four digits. The game opens its window on\n"
    "the desktop (X11 or Wayland) and takes no arguments. F1 in the game opens its help. The\n"
    "game is in English where the desktop's language (LANGUAGE, LC_ALL, LC_MESSAGES, LANG) is\n"
    "English, in Japanese otherwise.\n"
    "\n"
    "  -h, --help     print this help and exit\n"
    "      --version  print the version and exit\n"
    "\n"
    "Settings and high scores are kept in vostrel.dat beside the program or, where that\n"
    "folder cannot be written, in $XDG_DATA_HOME/vostrel (by default ~/.local/share/vostrel).\n"
    "\n"
    "Exit status: 0 after a normal end, 1 when the settings file cannot be read or saved or\n"
    "there is no desktop, 2 for an unknown argument.\n";

bool IsSet(CommandLine::Environment env, const char* name) {
    const char* v = env(name);
    return v != nullptr && *v != '\0';
}

// A platform named in QT_QPA_PLATFORM (a list separated by ';', options after ':') that
// draws without an X11 or Wayland server, such as offscreen or linuxfb.
bool NamesServerlessPlatform(CommandLine::Environment env) {
    const char* v = env("QT_QPA_PLATFORM");
    std::string_view rest = v != nullptr ? v : "";
    while (!rest.empty()) {
        const size_t end = rest.find(';');
        std::string_view entry = rest.substr(0, end);
        entry = entry.substr(0, entry.find(':'));
        if (!entry.empty() && entry != "xcb" && !entry.starts_with("wayland")) {
            return true;
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return false;
}

CommandLine Ended(int status, std::string out, std::string err) {
    CommandLine c;
    c.play = false;
    c.status = status;
    c.out = std::move(out);
    c.err = std::move(err);
    return c;
}

} // namespace

CommandLine CommandLine::Check(int argc, const char* const* argv, Environment env) {
    bool help = false;
    bool version = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] != nullptr ? argv[i] : "";
        if (arg == "-h" || arg == "--help") {
            help = true;
        } else if (arg == "--version") {
            version = true;
        } else {
            const char* what = arg.starts_with('-') ? "unknown option" : "unexpected argument";
            return Ended(2, {},
                         "vostrel: " + std::string(what) + " '" + std::string(arg) +
                             "' (see vostrel --help)\n");
        }
    }
    if (help) {
        return Ended(0, kUsage, {});
    }
    if (version) {
        return Ended(0, "vostrel " + std::string(kVersion) + "\n", {});
    }
    if (!IsSet(env, "DISPLAY") && !IsSet(env, "WAYLAND_DISPLAY") && !IsSet(env, "WAYLAND_SOCKET") &&
        !NamesServerlessPlatform(env)) {
        return Ended(1, {},
                     "vostrel: the game needs a graphical desktop, but neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set.\n");
    }
    return {};
}

} // namespace vostrel
