// The settings-file commands: save under a ".ccq" name, restore db1.ccq, load
// a chosen file; checked sources, all-or-nothing copies, failures reported.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "dialogs/testing/scripted_dialogs.h"
#include "settings/coefficient_store.h"
#include "settings/settings_files.h"
#include "settings/tests/test_support.h"

namespace wormgear {
namespace {

using testing::Execute;
using testing::NumberedTable;
using testing::ProgramDirectory;

// db1.mdb with rule 3 changed away from its reference: the notice is on.
void ModifyRuleThree(const ProgramDirectory& dir, double value = 0.8) {
    Execute(dir.database(), {QStringLiteral("UPDATE nzhi SET N = %1 WHERE ID = 3").arg(value)});
}

TEST(SaveUserSettings, AppendsCcqToTheChosenNameAlways) {
    struct Case {
        const char* chosen;
        const char* written;
    };
    const Case cases[] = {{"set1", "set1.ccq"}, {"set1.ccq", "set1.ccq.ccq"}, {"设置 二", "设置 二.ccq"}};
    for (const Case& c : cases) {
        ProgramDirectory dir;
        ScriptedDialogs dialogs;
        dialogs.saveAnswers.push_back(dir.file(QString::fromUtf8(c.chosen)));
        SaveUserSettings(dialogs, dir.path());
        EXPECT_EQ(dialogs.filters, std::vector<QString>{"*.ccq"});
        EXPECT_EQ(dialogs.proposedNames, std::vector<QString>{QString()});
        EXPECT_EQ(dir.bytes(QString::fromUtf8(c.written)), dir.bytes("db1.mdb")) << c.written;
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST(SaveUserSettings, ReplacesAnExistingFileWithoutAQuestion) {
    ProgramDirectory dir;
    dir.writeBytes("old.ccq", "an older settings file");
    ScriptedDialogs dialogs;  // an unexpected question would fail the test
    dialogs.saveAnswers.push_back(dir.file("old"));
    SaveUserSettings(dialogs, dir.path());
    EXPECT_EQ(dir.bytes("old.ccq"), dir.bytes("db1.mdb"));
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(SaveUserSettings, CancellingWritesNothing) {
    ProgramDirectory dir;
    const QStringList before = dir.files();
    ScriptedDialogs dialogs;
    dialogs.saveAnswers.push_back(std::nullopt);
    SaveUserSettings(dialogs, dir.path());
    EXPECT_EQ(dir.files(), before);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(SaveUserSettings, AFailedCopySaysSo) {
    ProgramDirectory dir;
    ScriptedDialogs dialogs;
    dialogs.saveAnswers.push_back(dir.file("no such folder/set1"));
    SaveUserSettings(dialogs, dir.path());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_TRUE(dialogs.messages[0].text.contains("set1.ccq")) << dialogs.messages[0].text.toStdString();
}

TEST(SaveUserSettings, AMissingDatabaseIsReportedNotSavedAsEmpty) {
    ProgramDirectory dir;
    QFile::remove(dir.database());
    ScriptedDialogs dialogs;
    dialogs.saveAnswers.push_back(dir.file("set1"));
    SaveUserSettings(dialogs, dir.path());
    EXPECT_FALSE(QFile::exists(dir.file("set1.ccq")));
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST(RestoreDefaultSettings, CopiesDb1CcqOverDb1MdbAndAsksForTheReload) {
    ProgramDirectory dir;
    ModifyRuleThree(dir);
    ASSERT_TRUE(LoadCoefficients(dir.path(), '.').rulesModified);
    ScriptedDialogs dialogs;
    EXPECT_TRUE(RestoreDefaultSettings(dialogs, dir.path(), '.'));
    EXPECT_EQ(dir.bytes("db1.mdb"), dir.bytes("db1.ccq"));
    const CoefficientLoad reload = LoadCoefficients(dir.path(), '.');
    EXPECT_FALSE(reload.rulesModified);  // Label50 hidden again
    EXPECT_EQ(reload.table.c[2], 0.7);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.filters.empty());  // no dialog, no question
}

TEST(RestoreDefaultSettings, LeavesNoTemporaryFileBehind) {
    ProgramDirectory dir;
    const QStringList before = dir.files();
    ScriptedDialogs dialogs;
    ASSERT_TRUE(RestoreDefaultSettings(dialogs, dir.path(), '.'));
    EXPECT_EQ(dir.files(), before);
}

TEST(RestoreDefaultSettings, AnUnusableDefaultFileIsRefusedAndDb1MdbKept) {
    struct Case {
        const char* name;
        std::function<void(const ProgramDirectory&)> spoil;
    };
    const Case cases[] = {
        {"missing", [](const ProgramDirectory& d) { QFile::remove(d.file("db1.ccq")); }},
        {"text", [](const ProgramDirectory& d) { d.writeBytes("db1.ccq", "not a database"); }},
        {"12 rows", [](const ProgramDirectory& d) { d.write("db1.ccq", NumberedTable(12)); }},
    };
    for (const Case& c : cases) {
        ProgramDirectory dir;
        ModifyRuleThree(dir);
        c.spoil(dir);
        const QByteArray before = dir.bytes("db1.mdb");
        ScriptedDialogs dialogs;
        EXPECT_FALSE(RestoreDefaultSettings(dialogs, dir.path(), '.')) << c.name;
        EXPECT_EQ(dir.bytes("db1.mdb"), before) << c.name;
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.name;
        EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
        EXPECT_TRUE(dialogs.messages[0].text.contains("db1.ccq")) << dialogs.messages[0].text.toStdString();
        EXPECT_EQ(LoadCoefficients(dir.path(), '.').table.c[2], 0.8) << c.name;
    }
}

TEST(RestoreDefaultSettings, AFailedCopySaysSoAndStillAsksForTheReload) {
    ProgramDirectory dir;
    // A folder where db1.mdb should be: nothing can be renamed onto it.
    QFile::remove(dir.database());
    ASSERT_TRUE(QDir(dir.path()).mkdir("db1.mdb"));
    ScriptedDialogs dialogs;
    EXPECT_TRUE(RestoreDefaultSettings(dialogs, dir.path(), '.'));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_TRUE(QFileInfo(dir.database()).isDir());
}

TEST(LoadUserSettings, BringsBackTheCoefficientsAndNoticeOfASavedSet) {
    ProgramDirectory dir;
    ModifyRuleThree(dir, 0.65);
    ScriptedDialogs dialogs;
    dialogs.saveAnswers.push_back(dir.file("set1"));
    SaveUserSettings(dialogs, dir.path());
    const CoefficientLoad saved = LoadCoefficients(dir.path(), '.');

    ASSERT_TRUE(RestoreDefaultSettings(dialogs, dir.path(), '.'));
    ASSERT_FALSE(LoadCoefficients(dir.path(), '.').rulesModified);

    dialogs.openAnswers.push_back(dir.file("set1.ccq"));
    EXPECT_TRUE(LoadUserSettings(dialogs, dir.path(), '.'));
    EXPECT_EQ(dialogs.filters.back(), "*.ccq");
    const CoefficientLoad loaded = LoadCoefficients(dir.path(), '.');
    EXPECT_EQ(loaded.table.c, saved.table.c);
    EXPECT_EQ(loaded.table.c[2], 0.65);
    EXPECT_TRUE(loaded.rulesModified);
    EXPECT_EQ(dir.bytes("db1.mdb"), dir.bytes("set1.ccq"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(LoadUserSettings, CancellingChangesNothing) {
    ProgramDirectory dir;
    const QByteArray before = dir.bytes("db1.mdb");
    ScriptedDialogs dialogs;
    dialogs.openAnswers.push_back(std::nullopt);
    EXPECT_FALSE(LoadUserSettings(dialogs, dir.path(), '.'));
    EXPECT_EQ(dir.bytes("db1.mdb"), before);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(LoadUserSettings, AFileThatIsNoCoefficientDatabaseIsRefused) {
    struct Case {
        const char* name;
        std::function<void(const ProgramDirectory&)> make;  // writes wrong.ccq
    };
    const Case cases[] = {
        {"text", [](const ProgramDirectory& d) { d.writeBytes("wrong.ccq", "JSGS\tN\nrule\t1\n"); }},
        {"missing", [](const ProgramDirectory&) {}},
        {"no nzhi",
         [](const ProgramDirectory& d) {
             CoefficientTableSpec other = NumberedTable(15);
             other.name = "other";
             d.write("wrong.ccq", other);
         }},
        {"12 rows", [](const ProgramDirectory& d) { d.write("wrong.ccq", NumberedTable(12)); }},
        {"text N",
         [](const ProgramDirectory& d) {
             CoefficientTableSpec table = NumberedTable(15);
             table.rows[6][2] = QStringLiteral("七");
             d.write("wrong.ccq", table);
         }},
    };
    for (const Case& c : cases) {
        ProgramDirectory dir;
        c.make(dir);
        const QByteArray before = dir.bytes("db1.mdb");
        ScriptedDialogs dialogs;
        dialogs.openAnswers.push_back(dir.file("wrong.ccq"));
        EXPECT_FALSE(LoadUserSettings(dialogs, dir.path(), '.')) << c.name;
        EXPECT_EQ(dir.bytes("db1.mdb"), before) << c.name;
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.name;
        EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
        EXPECT_TRUE(dialogs.messages[0].text.contains("wrong.ccq")) << dialogs.messages[0].text.toStdString();
        // The program keeps running with its coefficients.
        EXPECT_EQ(LoadCoefficients(dir.path(), '.').table.c[0], 0.875) << c.name;
    }
}

TEST(CopyFileReplacing, CopiesBytesOrFailsLeavingTheTargetAsItWas) {
    ProgramDirectory dir;
    dir.writeBytes("source", QByteArray("\x00\x01 settings \xff", 13));
    dir.writeBytes("target", "old");
    QString failure;
    ASSERT_TRUE(CopyFileReplacing(dir.file("source"), dir.file("target"), &failure)) << failure.toStdString();
    EXPECT_EQ(dir.bytes("target"), dir.bytes("source"));

    EXPECT_FALSE(CopyFileReplacing(dir.file("missing"), dir.file("target"), &failure));
    EXPECT_FALSE(failure.isEmpty());
    EXPECT_EQ(dir.bytes("target"), dir.bytes("source"));

    failure.clear();
    EXPECT_FALSE(CopyFileReplacing(dir.file("source"), dir.file("no folder/target"), &failure));
    EXPECT_FALSE(failure.isEmpty());
    EXPECT_EQ(dir.files(), (QStringList{"db1.ccq", "db1.mdb", "source", "target"}));
}

}  // namespace
}  // namespace wormgear
