// The real start of the window program in the system's language: a Chinese
// (or unset) locale gives the Chinese window with Qt's own words in Chinese,
// any other language the English window. Each test runs in a process of its
// own (ctest), so each start installs its translators afresh.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdlib>

#include "app/program.h"
#include "files/qt_path.h"
#include "translations/interface_language.h"
#include "ui/tform1.h"

namespace {

struct Seen {
    wormgear::Language language = wormgear::Language::Chinese;
    QString calculate, cancel, lookIn;
};

// Starts the program with these locale variables (the others unset) and
// notes what its window and Qt say once it is shown.
Seen StartWith(const char* lcAll, const char* lang) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) unsetenv(name);
    if (lcAll) setenv("LC_ALL", lcAll, 1);
    if (lang) setenv("LANG", lang, 1);
    setenv("WORMGEAR_SERVER", "http://127.0.0.1:9", 1);  // port 9 is closed: no server is asked
    Seen seen;
    wormgear::ProgramHooks hooks;
    hooks.whenShown = [&](wormgear::TForm1& form) {
        seen.language = form.language();
        seen.calculate = form.Button1->text();
        seen.cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
        seen.lookIn = QCoreApplication::translate("QFileDialog", "Look in:");
        QCoreApplication::exit(0);
    };
    int argc = 1;
    char name[] = "wormgear";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(wormgear::RunWindowProgram(argc, argv, hooks), 0);
    return seen;
}

class StartupLanguageTest : public ::testing::Test {
 protected:
    void SetUp() override {
        // A choice made in the menu of the program beside this test would
        // decide instead of the locale.
        const QString chosen = wormgear::DataFile(wormgear::FromLocalPath(wormgear::ProgramDirectory()),
                                                  wormgear::kLanguageFileName);
        if (QFileInfo::exists(chosen)) GTEST_SKIP() << chosen.toStdString() << " holds a language chosen in the menu";
    }
};

TEST_F(StartupLanguageTest, UnsetLocaleStartsChineseWithQtsOwnWordsInChinese) {
    const Seen seen = StartWith(nullptr, nullptr);
    EXPECT_EQ(seen.language, wormgear::Language::Chinese);
    EXPECT_EQ(seen.calculate, QStringLiteral("计   算"));
    EXPECT_EQ(seen.cancel, QStringLiteral("取消"));
    EXPECT_NE(seen.lookIn, QStringLiteral("Look in:"));
}

TEST_F(StartupLanguageTest, ChineseLocaleStartsChinese) {
    const Seen seen = StartWith(nullptr, "zh_CN.UTF-8");
    EXPECT_EQ(seen.language, wormgear::Language::Chinese);
    EXPECT_EQ(seen.cancel, QStringLiteral("取消"));
}

TEST_F(StartupLanguageTest, AnotherLanguageStartsEnglish) {
    const Seen seen = StartWith("en_GB.UTF-8", "zh_CN.UTF-8");
    EXPECT_EQ(seen.language, wormgear::Language::English);
    EXPECT_EQ(seen.calculate, QStringLiteral("Calculate"));
    EXPECT_EQ(seen.cancel, QStringLiteral("Cancel"));
}

}  // namespace
