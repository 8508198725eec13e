#pragma once
// The player's language: the translation of the game's texts chosen from the system's
// languages and installed before the first window, with Qt's own texts in the same language.

#include <QLocale>
#include <QString>
#include <QStringList>

namespace vostrel {

// The translation file (":/i18n/vostrel_<language>.qm") for the first of `uiLanguages` that
// the game speaks, or empty for the game's own Japanese: under Japanese, C and POSIX, and when
// no language is named. Languages the game does not speak at all get English, its second one.
QString TranslationFile(const QStringList& uiLanguages);

// Installs the translation for the player's languages (by default LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG, as Qt reads them), for the windows and for the texts of the flow and
// start-up, and Qt's own translation (context menus, standard dialogs) of the same language
// where the system has it. Returns whether the game's texts were translated: never for
// Japanese.
bool InstallTranslation(const QStringList& uiLanguages = QLocale::system().uiLanguages());
// Back to the texts as written, Qt's in English.
void RemoveTranslation();

} // namespace vostrel
