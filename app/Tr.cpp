#include "app/Tr.h"

#include <cstddef>

namespace vostrel {

namespace {

TextTranslator gTranslator = nullptr;

} // namespace

void SetTextTranslator(TextTranslator translator) {
    gTranslator = translator;
}

std::string Tr(const char* context, const char* source) {
    if (gTranslator != nullptr) {
        std::string t = gTranslator(context, source);
        if (!t.empty()) {
            return t;
        }
    }
    return source;
}

std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(pattern.size() + 16);
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const size_t n = static_cast<size_t>(pattern[i + 1] - '1');
            if (n < args.size()) {
                out += args.begin()[n];
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace vostrel
