#pragma once
// The player's language: the translation of the game's texts chosen from the system's
// languages and installed before the first window.

#include <QLocale>
#include <QString>
#include <QStringList>

namespace vostrel {

// The translation file (":/i18n/vostrel_<language>.qm") for the first of `uiLanguages` that
// the game speaks, or empty: Japanese is the game's own language, and C and POSIX keep it too.
QString TranslationFile(const QStringList& uiLanguages);

// Installs the translation for the player's languages (by default LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG, as Qt reads them), for the windows and for the texts of the flow and
// start-up. Nothing is loaded for Japanese. Returns whether a translation was installed.
bool InstallTranslation(const QStringList& uiLanguages = QLocale::system().uiLanguages());
// Back to the texts as written.
void RemoveTranslation();

} // namespace vostrel
