// The language of the window program's interface: the system's (the usual
// locale variables), unless the user chose one in the menu, which is
// remembered in the program's data folder; and the translations installed
// for it before the first window.
//
//   LanguageOfEnvironment(...)  // LANG=de_DE.UTF-8 -> English, LANG=zh_TW.UTF-8 or unset -> Chinese
//   InstallTranslations(app, Language::English, dir)  // wormgear_en.qm beside the program
//   InstallTranslations(app, Language::Chinese, dir)  // Qt's own dialogs in Chinese (qtbase_zh_CN)
//   FindingMessage(finding, InterfaceTranslation(), separator)  // in the installed language
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "calc/language.h"

class QCoreApplication;

namespace wormgear {

// A variable of the environment, "" when unset.
using EnvironmentLookup = std::function<std::string(const char* name)>;
std::string ProcessEnvironment(const char* name);

// The interface language the locale variables ask for, as gettext reads them:
// the locale is the first set of LC_ALL, LC_MESSAGES, LANG; when it is unset,
// C or POSIX the program keeps its own texts (Chinese). Otherwise LANGUAGE,
// when set, names the preferred languages in order (the first counts), else
// the locale does: one starting "zh" is Chinese, any other English.
Language LanguageOfEnvironment(const EnvironmentLookup& environment = ProcessEnvironment);

// The file that remembers the user's choice, in the program's data folder.
inline constexpr const char* kLanguageFileName = "language";
// The choice the user made in the menu, if any: "zh_CN" or "en" in the file.
// A missing, unreadable or unknown file counts as no choice.
std::optional<Language> StoredLanguage(const QString& programDirectory);
// Remembers the choice, replacing the file whole. Throws FileError or
// DataFolderError.
void StoreLanguage(const QString& programDirectory, Language language);

// The stored choice, else the environment's.
Language InterfaceLanguage(const QString& programDirectory, const EnvironmentLookup& environment = ProcessEnvironment);

// The name of the program's own translation file beside the program.
inline constexpr const char* kEnglishTranslationFile = "wormgear_en.qm";

// Installs the translators of `language` into `app` (they live as long as
// it, or until the next call, whose language replaces them): Qt's own texts
// in Chinese for Chinese, the program's English texts for English. Returns false when a file is missing; the texts then
// stay as they are written (Chinese) and Qt's stay English.
bool InstallTranslations(QCoreApplication& app, Language language, const QString& programDirectory);

// The language whose translators were installed last (Chinese before any).
Language InstalledLanguage();

// The installed translators as the Translate function the libraries without
// Qt take: QCoreApplication::translate of each text in its context
// ("wormgear::Checks", "设计检查" -> "Design checks" with the program's .qm
// installed; the text as written, Chinese, without it).
Translate InterfaceTranslation();

}  // namespace wormgear
