// The interface language: the locale rule as a table, the remembered choice
// (kept whole, unknown contents ignored), and the translators: Qt's own
// texts in Chinese, the program's texts in English.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "translations/catalogue.h"
#include "translations/interface_language.h"

namespace wormgear {
namespace {

struct EnvironmentCase {
    std::map<std::string, std::string> variables;
    Language expected;
};

EnvironmentLookup Lookup(const std::map<std::string, std::string>& variables) {
    return [variables](const char* name) {
        const auto found = variables.find(name);
        return found == variables.end() ? std::string() : found->second;
    };
}

TEST(InterfaceLanguage, FollowsTheLocaleVariables) {
    const EnvironmentCase cases[] = {
        {{}, Language::Chinese},               // nothing set: the program's own texts
        {{{"LANG", "C"}}, Language::Chinese},  // the C locale
        {{{"LANG", "C.UTF-8"}}, Language::Chinese},
        {{{"LANG", "POSIX"}}, Language::Chinese},
        {{{"LANG", "zh_CN.UTF-8"}}, Language::Chinese},
        {{{"LANG", "zh_TW.UTF-8"}}, Language::Chinese},  // any Chinese
        {{{"LANG", "zh_SG"}}, Language::Chinese},
        {{{"LANG", "en_US.UTF-8"}}, Language::English},
        {{{"LANG", "de_DE.UTF-8"}}, Language::English},  // any other language
        {{{"LANG", "ja_JP.UTF-8"}}, Language::English},
        {{{"LANG", "zh_CN.UTF-8"}, {"LC_MESSAGES", "en_GB.UTF-8"}}, Language::English},    // messages first
        {{{"LC_MESSAGES", "de_DE.UTF-8"}, {"LC_ALL", "zh_CN.UTF-8"}}, Language::Chinese},  // LC_ALL above all
        {{{"LC_ALL", "C"}, {"LANG", "en_US.UTF-8"}}, Language::Chinese},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "zh_CN:en"}}, Language::Chinese},  // the first preferred
        {{{"LANG", "zh_CN.UTF-8"}, {"LANGUAGE", "fr:zh_CN"}}, Language::English},
        {{{"LANG", "C"}, {"LANGUAGE", "en"}}, Language::Chinese},  // LANGUAGE counts only beside a locale
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", ""}}, Language::English},
        {{{"LC_ALL", ""}, {"LANG", "fr_FR.UTF-8"}}, Language::English},  // an empty variable is unset
    };
    for (const EnvironmentCase& c : cases) {
        std::string shown;
        for (const auto& [name, value] : c.variables) shown += name + "=" + value + " ";
        EXPECT_EQ(LanguageOfEnvironment(Lookup(c.variables)), c.expected) << shown;
    }
}

class StoredLanguageTest : public ::testing::Test {
 protected:
    QString directory() const { return folder.path() + QLatin1Char('/'); }
    QString file() const { return directory() + QLatin1String(kLanguageFileName); }
    void write(const QByteArray& bytes) const {
        QFile out(file());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }
    QTemporaryDir folder;
};

TEST_F(StoredLanguageTest, NoChoiceFollowsTheSystem) {
    EXPECT_EQ(StoredLanguage(directory()), std::nullopt);
    EXPECT_EQ(InterfaceLanguage(directory(), Lookup({{"LANG", "de_DE.UTF-8"}})), Language::English);
    EXPECT_EQ(InterfaceLanguage(directory(), Lookup({})), Language::Chinese);
}

TEST_F(StoredLanguageTest, ChoiceIsRememberedAndOutranksTheSystem) {
    StoreLanguage(directory(), Language::English);
    EXPECT_EQ(StoredLanguage(directory()), Language::English);
    EXPECT_EQ(InterfaceLanguage(directory(), Lookup({{"LANG", "zh_CN.UTF-8"}})), Language::English);
    StoreLanguage(directory(), Language::Chinese);
    EXPECT_EQ(StoredLanguage(directory()), Language::Chinese);
    EXPECT_EQ(InterfaceLanguage(directory(), Lookup({{"LANG", "en_US.UTF-8"}})), Language::Chinese);
    // Written whole, nothing else left in the folder.
    EXPECT_EQ(QDir(directory()).entryList(QDir::Files | QDir::Hidden), QStringList{kLanguageFileName});
}

TEST_F(StoredLanguageTest, UnknownContentCountsAsNoChoice) {
    for (const QByteArray& content :
         {QByteArray(""), QByteArray("fr\n"), QByteArray("english"), QByteArray(4096, 'e'), QByteArray("\xff\xfe")}) {
        write(content);
        EXPECT_EQ(StoredLanguage(directory()), std::nullopt) << content.left(16).toStdString();
    }
    write("en\r\n");  // a file edited on another system
    EXPECT_EQ(StoredLanguage(directory()), Language::English);
}

TEST_F(StoredLanguageTest, AFolderInTheWayIsNoChoiceAndAFailedStoreSaysSo) {
    ASSERT_TRUE(QDir(directory()).mkdir(QLatin1String(kLanguageFileName)));
    EXPECT_EQ(StoredLanguage(directory()), std::nullopt);
    EXPECT_THROW(StoreLanguage(directory(), Language::English), std::exception);
}

const QString kProgramDirectory = QStringLiteral(WORMGEAR_BIN_DIR "/");

TEST(Translations, ChineseInterfaceGetsQtsOwnTextsInChinese) {
    ASSERT_TRUE(InstallTranslations(*QCoreApplication::instance(), Language::Chinese, kProgramDirectory))
        << "qtbase_zh_CN.qm (package qt6-translations-l10n) is missing";
    EXPECT_EQ(InstalledLanguage(), Language::Chinese);
    // The buttons and the file dialog's words as Qt shows them.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save"), QStringLiteral("保存"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
    // The program's own texts are written in Chinese and stay so.
    EXPECT_EQ(QCoreApplication::translate("wormgear::TForm1", "计算"), QStringLiteral("计算"));
}

TEST(Translations, EnglishInterfaceGetsTheProgramsTexts) {
    ASSERT_TRUE(InstallTranslations(*QCoreApplication::instance(), Language::English, kProgramDirectory));
    EXPECT_EQ(InstalledLanguage(), Language::English);
    EXPECT_EQ(QCoreApplication::translate("wormgear::TForm1", "计算"), QStringLiteral("Calculate"));
    EXPECT_EQ(QCoreApplication::translate("wormgear::Drawings", "第 %1 页 共 %2 页"), QStringLiteral("Page %1 of %2"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

// The libraries without Qt read the catalogue with pugixml, the programs
// its .qm through Qt: the two readers agree on every text, and the reader
// of the .ts finds as many as the file holds finished.
TEST(Translations, TheCatalogueReadWithoutQtGivesTheTextsOfTheQm) {
    ASSERT_TRUE(InstallTranslations(*QCoreApplication::instance(), Language::English, kProgramDirectory));
    const Catalogue catalogue = Catalogue::Read(WORMGEAR_CATALOGUE);
    const Translate qt = InterfaceTranslation();
    const std::vector<Catalogue::Entry> entries = catalogue.entries();
    EXPECT_GT(entries.size(), 600u);
    for (const Catalogue::Entry& entry : entries)
        EXPECT_EQ(qt(entry.context.c_str(), entry.source.c_str()), entry.translation)
            << entry.context << ": " << entry.source;
    // Blanks around a text are part of it, as the panels' captions keep them.
    EXPECT_EQ(catalogue.translation()("wormgear::Results", "  蜗杆参数  "), "  Worm parameters  ");
    EXPECT_EQ(catalogue.translation()("wormgear::Results", "没有的文字"), "没有的文字");
    EXPECT_EQ(catalogue.find("wormgear::Fields", "  蜗杆参数  "), nullptr) << "the context is part of the key";
    EXPECT_THROW(Catalogue::Read(std::string(WORMGEAR_BIN_DIR) + "/no-such.ts"), std::runtime_error);
}

TEST(Translations, MissingEnglishFileKeepsEverythingChinese) {
    QTemporaryDir empty;
    EXPECT_FALSE(InstallTranslations(*QCoreApplication::instance(), Language::English, empty.path() + "/"));
    EXPECT_EQ(InstalledLanguage(), Language::Chinese);
    EXPECT_EQ(QCoreApplication::translate("wormgear::TForm1", "计算"), QStringLiteral("计算"));
}

}  // namespace
}  // namespace wormgear
