#pragma once
// Texts the player reads or hears, written in Japanese where they are used and translated
// through the window layer's translator. Tr(context, text) marks and translates a text;
// VOSTREL_TR_NOOP(context, text) only marks one kept in a table, translated later with Tr. The
// translation tools know both by name. Without a translator every text stays as written.

#include <initializer_list>
#include <string>
#include <string_view>

#define VOSTREL_TR_NOOP(context, text) text

namespace vostrel {

// Returns the translation of `source` (UTF-8) in `context`, or an empty string for none.
using TextTranslator = std::string (*)(const char* context, const char* source);

// Installed once at start-up, before the first window; nullptr for the texts as written.
void SetTextTranslator(TextTranslator translator);

std::string Tr(const char* context, const char* source);

// `pattern` with %1..%9 replaced by args[0..8] in one pass: an argument's own "%1" stays.
// Sentences with numbers are translated whole, so each language puts them where it needs.
std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> args);

} // namespace vostrel
