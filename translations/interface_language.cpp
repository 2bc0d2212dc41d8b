// The interface language: the locale rule, the remembered choice, the
// translators.
#include "translations/interface_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <atomic>
#include <cstdlib>

#include "files/file_io.h"
#include "files/qt_path.h"

namespace wormgear {

namespace {

std::atomic<Language> installed{Language::Chinese};
// The translator the last call installed: a new language replaces it.
QPointer<QTranslator> installedTranslator;

bool StartsWithChinese(const std::string& name) { return name.rfind("zh", 0) == 0; }

// "zh_CN\n" is one byte short of anything the file may reasonably hold.
constexpr std::uint64_t kLanguageFileLimit = 64;

}  // namespace

std::string ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

Language LanguageOfEnvironment(const EnvironmentLookup& environment) {
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = environment(name);
        if (!locale.empty()) break;
    }
    if (locale.empty() || locale == "C" || locale.rfind("C.", 0) == 0 || locale == "POSIX") return Language::Chinese;
    std::string preferred = environment("LANGUAGE");
    preferred = preferred.substr(0, preferred.find(':'));
    if (preferred.empty()) preferred = locale;
    return StartsWithChinese(preferred) ? Language::Chinese : Language::English;
}

std::optional<Language> StoredLanguage(const QString& programDirectory) {
    try {
        const std::string text = ReadWholeFile(LocalPath(DataFile(programDirectory, kLanguageFileName)),
                                               kLanguageFileLimit);
        const std::string word = text.substr(0, text.find_first_of("\r\n"));
        if (word == "zh_CN") return Language::Chinese;
        if (word == "en") return Language::English;
    } catch (const std::exception&) {
        // No choice remembered, or none readable: the system's language holds.
    }
    return std::nullopt;
}

void StoreLanguage(const QString& programDirectory, Language language) {
    ReplaceFileAtomically(LocalPath(DataFile(programDirectory, kLanguageFileName)),
                          language == Language::English ? "en\n" : "zh_CN\n", LinkHandling::ReplaceLink);
}

Language InterfaceLanguage(const QString& programDirectory, const EnvironmentLookup& environment) {
    return StoredLanguage(programDirectory).value_or(LanguageOfEnvironment(environment));
}

bool InstallTranslations(QCoreApplication& app, Language language, const QString& programDirectory) {
    if (installedTranslator) {
        QCoreApplication::removeTranslator(installedTranslator);
        delete installedTranslator;
    }
    auto* translator = new QTranslator(&app);
    bool loaded = false;
    if (language == Language::English) {
        loaded = translator->load(ProgramFile(programDirectory, kEnglishTranslationFile));
    } else {
        loaded = translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    if (!loaded) {
        // Without the English file every text stays Chinese: so do the lines.
        delete translator;
        installed = Language::Chinese;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installedTranslator = translator;
    installed = language;
    return true;
}

Language InstalledLanguage() { return installed; }

Translate InterfaceTranslation() {
    return [](const char* context, const char* source) {
        return QCoreApplication::translate(context, source).toStdString();
    };
}

}  // namespace wormgear
