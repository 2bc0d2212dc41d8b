// Where the file dialogs start (DialogStartPath, DefaultDialogFolder) and the
// memory of the last folder across runs (RememberedFolder).
#include "dialogs/remembered_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "dialogs/testing/scripted_dialogs.h"

namespace wormgear {
namespace {

class StartPathTest : public ::testing::Test {
 protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        for (const char* name : {"documents", "图纸", "gone"}) ASSERT_TRUE(QDir(root_.path()).mkdir(name));
        ASSERT_TRUE(QDir(path("gone")).removeRecursively());
    }
    QString path(const char* name) const { return root_.path() + QLatin1Char('/') + QString::fromUtf8(name); }

    QTemporaryDir root_;
};

TEST_F(StartPathTest, RuleAsATable) {
    const QString documents = path("documents");
    const struct {
        const char* what;
        QString proposed;
        QString remembered;
        QString expected;
    } kCases[] = {
        {"no folder remembered yet: the documents folder", QString(), QString(), documents},
        {"the remembered folder", QString(), path("图纸"), path("图纸")},
        {"a remembered folder deleted since: the documents folder", QString(), path("gone"), documents},
        {"a remembered file, not a folder: the documents folder", QString(), QDir::rootPath() + "dev/null", documents},
        {"a bare name goes into the remembered folder", QStringLiteral("rudar.xlsx"), path("图纸"),
         path("图纸/rudar.xlsx")},
        {"a bare name with a dot keeps its name", QStringLiteral("pair-蜗杆图"), path("图纸"),
         path("图纸/pair-蜗杆图")},
        {"a bare name with nothing remembered", QStringLiteral("wolun.xlsx"), QString(), path("documents/wolun.xlsx")},
        {"a bare name, remembered folder gone", QStringLiteral("gundao.xlsx"), path("gone"),
         path("documents/gundao.xlsx")},
        {"a full path stays as it is", path("gone/gear.cqb"), path("图纸"), path("gone/gear.cqb")},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(DialogStartPath(c.proposed, c.remembered, documents), c.expected);
    }
}

TEST_F(StartPathTest, AProposalWithARelativeFolderIsTakenFromTheWorkingDirectory) {
    // "wormgear designs/gear.ods" from the shell: the design lies there, not
    // in the folder last used.
    EXPECT_EQ(DialogStartPath(QStringLiteral("designs/gear.cqb"), path("图纸"), path("documents")),
              QDir::current().absoluteFilePath(QStringLiteral("designs/gear.cqb")));
}

// HOME and XDG_CONFIG_HOME pointed at a folder of the test, restored after it.
class HomeFolder {
 public:
    explicit HomeFolder(const QString& home)
        : home_(qgetenv("HOME")),
          config_(qgetenv("XDG_CONFIG_HOME")),
          hadConfig_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        qputenv("HOME", QFile::encodeName(home));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
    }
    ~HomeFolder() {
        qputenv("HOME", home_);
        if (hadConfig_) qputenv("XDG_CONFIG_HOME", config_);
        else qunsetenv("XDG_CONFIG_HOME");
    }

 private:
    QByteArray home_, config_;
    bool hadConfig_;
};

TEST(DefaultDialogFolderTest, TheDocumentsFolderWhenItExistsElseHome) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    HomeFolder pinned(home.path());
    EXPECT_EQ(DefaultDialogFolder(), home.path()) << "no Documents folder yet";
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Documents")));
    EXPECT_EQ(DefaultDialogFolder(), home.path() + QStringLiteral("/Documents"));
    EXPECT_NE(DefaultDialogFolder(), QDir::currentPath());
}

TEST(RememberedFolderTest, TheFolderOfTheChosenFileIsReadBackByTheNextRun) {
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    const QString memory = data.filePath(QStringLiteral("last-folder.txt"));
    const QString chosen = data.filePath(QStringLiteral("图纸 A=200.5/wheel.cqb"));
    {
        RememberedFolder first(memory);
        EXPECT_EQ(first.folder(), QString()) << "nothing remembered yet";
        first.remember(chosen);
        EXPECT_EQ(first.folder(), data.filePath(QStringLiteral("图纸 A=200.5")));
    }
    RememberedFolder restarted(memory);
    EXPECT_EQ(restarted.folder(), data.filePath(QStringLiteral("图纸 A=200.5")));
}

TEST(RememberedFolderTest, AMemoryThatCannotBeUsedLeavesTheDialogsWorking) {
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    // A folder where the file should be: neither read nor replaced.
    const QString blocked = data.filePath(QStringLiteral("last-folder.txt"));
    ASSERT_TRUE(QDir(data.path()).mkdir(QStringLiteral("last-folder.txt")));
    RememberedFolder memory(blocked);
    EXPECT_EQ(memory.folder(), QString());
    memory.remember(QStringLiteral("/srv/designs/gear.cqb"));
    EXPECT_EQ(memory.folder(), QStringLiteral("/srv/designs")) << "remembered for this run";
    EXPECT_TRUE(QFileInfo(blocked).isDir()) << "the folder in the way stays as it was";

    // A kept text that is no absolute path is not taken for a folder.
    const QString garbage = data.filePath(QStringLiteral("garbage.txt"));
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("designs\n");
    file.close();
    EXPECT_EQ(RememberedFolder(garbage).folder(), QString());
}

TEST(RememberedFolderTest, TheWindowProgramKeepsItsFolderBesideAWritableProgram) {
    QTemporaryDir program;
    ASSERT_TRUE(program.isValid());
    ProgramDialogFolder(program.path() + QLatin1Char('/')).remember(QStringLiteral("/srv/designs/gear.cqb"));
    EXPECT_EQ(ProgramDialogFolder(program.path() + QLatin1Char('/')).folder(), QStringLiteral("/srv/designs"));
    EXPECT_TRUE(QFileInfo::exists(
        program.filePath(QString::fromUtf8(kDialogFolderFileName.data(), qsizetype(kDialogFolderFileName.size())))));
}

}  // namespace
}  // namespace wormgear
