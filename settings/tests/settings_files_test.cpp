// The settings-file commands: save under a ".ccq" name, restore db1.ccq, load
// a chosen file; checked sources, all-or-nothing copies, failures reported.
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "dialogs/testing/scripted_dialogs.h"
#include "files/testing/faults.h"
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

TEST(SaveUserSettings, AppendsCcqOnlyToANameWithoutIt) {
    struct Case {
        const char* chosen;
        const char* written;
    };
    const Case cases[] = {
        {"set1", "set1.ccq"},
        {"set1.ccq", "set1.ccq"},  // typed with its extension, or an existing file picked
        {"SET1.CCQ", "SET1.CCQ"},
        {"设置 二", "设置 二.ccq"},
        {"v1.2 rules", "v1.2 rules.ccq"},  // a dot in the name is no extension
        {"rules.cqb", "rules.cqb.ccq"},
    };
    for (const Case& c : cases) {
        ProgramDirectory dir;
        ScriptedDialogs dialogs;
        dialogs.saveAnswers.push_back(dir.file(QString::fromUtf8(c.chosen)));
        SaveUserSettings(dialogs, dir.path());
        EXPECT_EQ(dialogs.filters, std::vector<QString>{"*.ccq"});
        EXPECT_EQ(dialogs.proposedNames, std::vector<QString>{QString()});
        EXPECT_EQ(dir.bytes(QString::fromUtf8(c.written)), dir.bytes("db1.mdb")) << c.written;
        EXPECT_FALSE(QFile::exists(dir.file(QString::fromUtf8(c.written) + ".ccq"))) << c.written;
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
        {"nzhi a view",
         [](const ProgramDirectory& d) {
             CoefficientTableSpec other = NumberedTable(15);
             other.name = "other";
             d.write("wrong.ccq", other);
             Execute(d.file("wrong.ccq"), {"CREATE VIEW nzhi AS SELECT * FROM other"});
         }},
        {"a trigger on nzhi",
         [](const ProgramDirectory& d) {
             d.write("wrong.ccq", NumberedTable(15));
             Execute(d.file("wrong.ccq"), {"CREATE TRIGGER t BEFORE UPDATE ON nzhi BEGIN SELECT 1; END"});
         }},
        {"a FIFO",
         [](const ProgramDirectory& d) { ::mkfifo(QFile::encodeName(d.file("wrong.ccq")).constData(), 0600); }},
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

// The three commands, each replacing a file: the one it replaces and the
// dialog answers it needs.
struct ReplacingCommand {
    const char* name;
    const char* replaced;
    std::function<void(ScriptedDialogs&, const ProgramDirectory&)> run;
};

const ReplacingCommand kReplacingCommands[] = {
    {"restore", "db1.mdb",
     [](ScriptedDialogs& dialogs, const ProgramDirectory& dir) { RestoreDefaultSettings(dialogs, dir.path(), '.'); }},
    {"load", "db1.mdb",
     [](ScriptedDialogs& dialogs, const ProgramDirectory& dir) {
         dialogs.openAnswers.push_back(dir.file("mine.ccq"));
         LoadUserSettings(dialogs, dir.path(), '.');
     }},
    {"save", "old.ccq",
     [](ScriptedDialogs& dialogs, const ProgramDirectory& dir) {
         dialogs.saveAnswers.push_back(dir.file("old"));
         SaveUserSettings(dialogs, dir.path());
     }},
};

// db1.ccq and mine.ccq differ from db1.mdb, and old.ccq is an older copy, so
// that every command would change its target.
void PrepareReplacements(const ProgramDirectory& dir) {
    dir.write("db1.ccq", NumberedTable(15));
    dir.write("mine.ccq", NumberedTable(16));
    dir.writeBytes("old.ccq", QByteArray(6000, 'o'));
}

TEST(SettingsOnAFailingDisk, TheReplacedFileStaysByteForByteAndTheBoxSaysWhy) {
    for (const ReplacingCommand& command : kReplacingCommands) {
        SCOPED_TRACE(command.name);
        ProgramDirectory dir;
        PrepareReplacements(dir);
        const QByteArray before = dir.bytes(command.replaced);
        const QStringList files = dir.files();
        ScriptedDialogs dialogs;
        {
            // No file may grow beyond 4 KiB: every write of a 12 KiB database fails.
            wormgear::testing::FileSizeLimit full(4096);
            command.run(dialogs, dir);
        }
        EXPECT_EQ(dir.bytes(command.replaced), before);
        EXPECT_EQ(dir.files(), files) << "a temporary file was left";
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
        EXPECT_EQ(ScriptedDialogs::Detail(dialogs.messages[0]), dir.file(command.replaced) + "：文件过大");
    }
}

TEST(SettingsOnAFailingDisk, AFullFileSystemKeepsDb1Mdb) {
    wormgear::testing::SmallFileSystem disk(256 << 10);
    if (!disk.available()) GTEST_SKIP() << "mounting a small file system needs the superuser";
    ProgramDirectory source;
    const QString program = QString::fromStdString(disk.path());
    ASSERT_TRUE(QFile::copy(source.database(), program + "db1.mdb"));
    source.write("db1.ccq", NumberedTable(15));
    ASSERT_TRUE(QFile::copy(source.file("db1.ccq"), program + "db1.ccq"));
    const QByteArray before = source.bytes("db1.mdb");
    disk.fill();
    ScriptedDialogs dialogs;
    EXPECT_TRUE(RestoreDefaultSettings(dialogs, program, '.'));
    QFile db(program + "db1.mdb");
    ASSERT_TRUE(db.open(QIODevice::ReadOnly));
    EXPECT_EQ(db.readAll(), before);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(ScriptedDialogs::Detail(dialogs.messages[0]), program + "db1.mdb：设备上没有空间");
    EXPECT_EQ(LoadCoefficients(program, '.').table.c[0], 0.875);
}

TEST(LoadUserSettings, ASettingsFileInWriteAheadLogModeIsInstalledAsItWasChecked) {
    ProgramDirectory dir;
    dir.write("wal.ccq", NumberedTable(15));
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(dir.file("wal.ccq")).constData(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer,
                           "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0; "
                           "UPDATE nzhi SET N = 0.777 WHERE ID = 1",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ScriptedDialogs dialogs;
    dialogs.openAnswers.push_back(dir.file("wal.ccq"));
    EXPECT_TRUE(LoadUserSettings(dialogs, dir.path(), '.'));
    sqlite3_close(writer);
    EXPECT_TRUE(dialogs.messages.empty());
    const CoefficientLoad loaded = LoadCoefficients(dir.path(), '.');
    EXPECT_EQ(loaded.table.c[0], 0.777);  // what the check saw, not the file without its log
    EXPECT_EQ(loaded.table.c[1], 2.25);
    EXPECT_EQ(dir.bytes("db1.mdb").at(18), 1);  // an ordinary database, no log of its own
    EXPECT_FALSE(QFile::exists(dir.file("db1.mdb-wal")));
}

TEST(RestoreDefaultSettings, ALinkAtDb1MdbIsReplacedNotWrittenThrough) {
    ProgramDirectory dir;
    dir.write("db1.ccq", NumberedTable(15));
    dir.writeBytes("elsewhere", "someone's file");
    ASSERT_TRUE(QFile::remove(dir.database()));
    ASSERT_EQ(
        ::symlink(QFile::encodeName(dir.file("elsewhere")).constData(), QFile::encodeName(dir.database()).constData()),
        0);
    ScriptedDialogs dialogs;
    EXPECT_TRUE(RestoreDefaultSettings(dialogs, dir.path(), '.'));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(QFileInfo(dir.database()).isSymLink());
    EXPECT_EQ(dir.bytes("db1.mdb"), dir.bytes("db1.ccq"));
    EXPECT_EQ(dir.bytes("elsewhere"), "someone's file");
}

TEST(SaveUserSettings, AChosenLinkLeadsToItsFileWhichKeepsItsPermissions) {
    ProgramDirectory dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("private"));
    dir.writeBytes("private/mine.ccq", "an older copy");
    ASSERT_TRUE(QFile::setPermissions(dir.file("private/mine.ccq"), QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_EQ(::symlink("private/mine.ccq", QFile::encodeName(dir.file("link.ccq")).constData()), 0);
    ScriptedDialogs dialogs;
    dialogs.saveAnswers.push_back(dir.file("link"));
    SaveUserSettings(dialogs, dir.path());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(QFileInfo(dir.file("link.ccq")).isSymLink());
    EXPECT_EQ(dir.bytes("private/mine.ccq"), dir.bytes("db1.mdb"));
    EXPECT_EQ(QFile::permissions(dir.file("private/mine.ccq")),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

TEST(RestoreDefaultSettings, TheJournalOfAnInterruptedWriteDoesNotReachTheRestoredFile) {
    ProgramDirectory dir;
    dir.write("db1.ccq", NumberedTable(15));
    // A write to db1.mdb killed half-way: its journal lies beside it.
    Execute(dir.database(), {"CREATE TABLE filler (t TEXT)",
                             "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r WHERE n < 400) "
                             "INSERT INTO filler SELECT printf('%.200c', 'a') FROM r"});
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    wormgear::testing::RunInChild(
        [&] {
            sqlite3* db = nullptr;
            sqlite3_open(QFile::encodeName(dir.database()).constData(), &db);
            sqlite3_exec(db,
                         "PRAGMA cache_size = 2; BEGIN; UPDATE nzhi SET N = N + 100; UPDATE filler SET t = upper(t);",
                         nullptr, nullptr, nullptr);
            [[maybe_unused]] const ssize_t told = ::write(ready[1], "x", 1);
            ::pause();
            return 0;
        },
        [&](pid_t child) {
            char byte;
            [[maybe_unused]] const ssize_t heard = ::read(ready[0], &byte, 1);
            ::kill(child, SIGKILL);
        });
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_TRUE(QFile::exists(dir.database() + "-journal"));
    ScriptedDialogs dialogs;
    EXPECT_TRUE(RestoreDefaultSettings(dialogs, dir.path(), '.'));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(QFile::exists(dir.database() + "-journal"));
    EXPECT_EQ(dir.bytes("db1.mdb"), dir.bytes("db1.ccq"));
    const CoefficientLoad loaded = LoadCoefficients(dir.path(), '.');
    for (int k = 0; k < kCoefficientCount; ++k) EXPECT_EQ(loaded.table.c[k], k + 1.25) << k;
}

}  // namespace
}  // namespace wormgear
