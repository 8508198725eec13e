#include "game/GameCommands.h"

#include "app/Tr.h"

#include <cctype>

namespace vostrel {

std::span<const CommandDef> Commands() {
    return kCommandTable;
}

const CommandDef& CommandOf(Command id) {
    for (const CommandDef& c : kCommandTable) {
        if (c.id == id) {
            return c;
        }
    }
    return kCommandTable[0]; // every command but TakeList is in the table
}

std::string CommandText(const CommandDef& c) {
    return Tr(kCommandContext, c.text);
}

std::string CommandKey(const CommandDef& c) {
    if (c.key != nullptr) {
        return c.key;
    }
    const std::string text = CommandText(c);
    const size_t amp = text.find('&');
    if (amp == std::string::npos || amp + 1 >= text.size()) {
        return {};
    }
    return "Alt+" + std::string(1, static_cast<char>(
                                       std::toupper(static_cast<unsigned char>(text[amp + 1]))));
}

} // namespace vostrel
