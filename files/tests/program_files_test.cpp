// The program directory, the paths of the files beside the program, and where
// the files the program writes itself lie: beside a writable program, in the
// user's data folder (made and seeded once) beside an installed one.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "files/file_io.h"
#include "files/program_files.h"

using namespace wormgear;

namespace {

class TemporaryFolder {
 public:
    TemporaryFolder() {
        char name[] = "/tmp/program_files_test-XXXXXX";
        if (::mkdtemp(name) != nullptr) path_ = name;
    }
    ~TemporaryFolder() {
        if (!path_.empty()) std::system(("chmod -R u+rwx '" + path_ + "'; rm -rf '" + path_ + "'").c_str());
    }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

 private:
    std::string path_;
};

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool Exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

// Sets or unsets environment variables for one test and restores them after.
class Environment {
 public:
    void set(const char* name, std::optional<std::string> value) {
        if (saved_.find(name) == saved_.end()) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
    ~Environment() {
        for (const auto& [name, value] : saved_) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
    }

 private:
    std::map<std::string, std::optional<std::string>> saved_;
};

// A program directory that ships a coefficient database.
struct InstalledProgram {
    TemporaryFolder root;
    std::string program = root / "usr/lib/wormgear/";
    std::string data = root / "home/li/.local/share/wormgear/";
    InstalledProgram() {
        std::system(("mkdir -p '" + program + "'").c_str());
        Write(program + "db1.mdb", "shipped coefficients");
    }
};

}  // namespace

TEST(ProgramFilesTest, AFileBesideTheProgram) {
    const struct {
        const char* directory;
        const char* name;
        const char* expected;
    } cases[] = {
        {"/opt/wormgear/", "db1.mdb", "/opt/wormgear/db1.mdb"},
        {"/opt/wormgear", "db1.mdb", "/opt/wormgear/db1.mdb"},
        {"/opt/蜗杆 设计/", "111.xls", "/opt/蜗杆 设计/111.xls"},
        {"", "v.txt", "v.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(ProgramFilePath(c.directory, c.name), c.expected) << c.directory;
}

TEST(ProgramFilesTest, TheProgramDirectoryHoldsTheRunningExecutable) {
    const std::string directory = ProgramDirectory();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.back(), '/');
    EXPECT_EQ(::access(ProgramFilePath(directory, "files_tests").c_str(), X_OK), 0) << directory;
}

TEST(DataFolderTest, TheUserDataFolderFollowsTheXdgBaseDirectories) {
    const struct {
        std::optional<std::string> dataHome, home;
        const char* expected;
    } cases[] = {
        {"/srv/data", "/home/li", "/srv/data/wormgear/"},
        {"/srv/data/", "/home/li", "/srv/data/wormgear/"},
        {"/数据 盘", "/home/li", "/数据 盘/wormgear/"},
        {std::nullopt, "/home/li", "/home/li/.local/share/wormgear/"},
        {std::nullopt, "/home/li/", "/home/li/.local/share/wormgear/"},
        {"", "/home/li", "/home/li/.local/share/wormgear/"},         // empty: as unset
        {"data", "/home/li", "/home/li/.local/share/wormgear/"},     // relative: ignored
        {"./share", "/home/li", "/home/li/.local/share/wormgear/"},  // relative: ignored
        {"/srv/data", std::nullopt, "/srv/data/wormgear/"},          // no home needed
    };
    for (const auto& c : cases) {
        Environment environment;
        environment.set("XDG_DATA_HOME", c.dataHome);
        environment.set("HOME", c.home);
        EXPECT_EQ(UserDataDirectory(), c.expected) << c.dataHome.value_or("(unset)");
    }
}

TEST(DataFolderTest, WithoutHomeTheUserDatabaseNamesTheHomeFolder) {
    const passwd* entry = ::getpwuid(::getuid());
    if (entry == nullptr || entry->pw_dir == nullptr || entry->pw_dir[0] == '\0')
        GTEST_SKIP() << "this user has no entry with a home folder in the user database";
    const std::string expected = std::string(entry->pw_dir) + (std::string(entry->pw_dir) == "/" ? "" : "/") +
                                 ".local/share/wormgear/";
    for (const std::optional<std::string>& home : {std::optional<std::string>(), std::optional<std::string>("")}) {
        Environment environment;
        environment.set("XDG_DATA_HOME", std::nullopt);
        environment.set("HOME", home);
        EXPECT_EQ(UserDataDirectory(), expected);
    }
}

TEST(DataFolderTest, AWritableProgramDirectoryKeepsEveryFileBesideTheProgram) {
    InstalledProgram portable;
    for (const char* name : {"db1.mdb", "v-up.txt", "gg"})
        EXPECT_EQ(DataFilePath(portable.program, true, portable.data, name), portable.program + name);
    EXPECT_FALSE(Exists(portable.root / "home")) << "the user's folder was touched";
    EXPECT_EQ(Read(portable.program + "db1.mdb"), "shipped coefficients");
}

TEST(DataFolderTest, AnInstalledProgramSeedsTheUserFolderFromItsOwnCopy) {
    InstalledProgram installed;
    const std::string path = DataFilePath(installed.program, false, installed.data, "db1.mdb");
    EXPECT_EQ(path, installed.data + "db1.mdb");
    EXPECT_EQ(Read(path), "shipped coefficients");
    EXPECT_EQ(Read(installed.program + "db1.mdb"), "shipped coefficients");
    struct stat info;
    ASSERT_EQ(::stat(installed.data.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << "the data folder is the user's own";
    // The downloads have no shipped copy: their paths are given, nothing is made.
    for (const char* name : {"v-up.txt", "gg"}) {
        EXPECT_EQ(DataFilePath(installed.program, false, installed.data, name), installed.data + name);
        EXPECT_FALSE(Exists(installed.data + name)) << name;
    }
}

TEST(DataFolderTest, TheUserCopyIsSeededOnlyOnce) {
    InstalledProgram installed;
    const std::string path = DataFilePath(installed.program, false, installed.data, "db1.mdb");
    Write(path, "the user's own coefficients");
    Write(installed.program + "db1.mdb", "coefficients of a newer version");
    EXPECT_EQ(DataFilePath(installed.program, false, installed.data, "db1.mdb"), path);
    EXPECT_EQ(Read(path), "the user's own coefficients");
    // A copy the user removed comes back from the program directory.
    ASSERT_EQ(::unlink(path.c_str()), 0);
    DataFilePath(installed.program, false, installed.data, "db1.mdb");
    EXPECT_EQ(Read(path), "coefficients of a newer version");
}

TEST(DataFolderTest, AnExistingUserFolderIsUsedAsItIs) {
    InstalledProgram installed;
    ASSERT_EQ(std::system(("mkdir -p '" + installed.data + "' && chmod 0755 '" + installed.data + "'").c_str()), 0);
    Write(installed.data + "gg", "notice");
    EXPECT_EQ(DataFilePath(installed.program, false, installed.data, "db1.mdb"), installed.data + "db1.mdb");
    EXPECT_EQ(Read(installed.data + "gg"), "notice");
    struct stat info;
    ASSERT_EQ(::stat(installed.data.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755u) << "the user's own permissions are left alone";
}

TEST(DataFolderTest, ABrokenDataFolderIsNamedWithItsReason) {
    const struct {
        const char* what;
        const char* blocker;  // a regular file made at this place under the root
        const char* folder;   // the user's data folder under the root
        const char* reason;
    } cases[] = {
        {"the folder is a file", "data/wormgear", "data/wormgear/", "Not a directory"},
        {"a folder above it is a file", "home/li/.local", "home/li/.local/share/wormgear/", "Not a directory"},
    };
    for (const auto& c : cases) {
        InstalledProgram installed;
        const std::string blocker = installed.root / c.blocker;
        ASSERT_EQ(std::system(("mkdir -p \"$(dirname '" + blocker + "')\"").c_str()), 0);
        Write(blocker, "not a folder");
        const std::string folder = installed.root / c.folder;
        try {
            DataFilePath(installed.program, false, folder, "db1.mdb");
            ADD_FAILURE() << c.what << ": no error";
        } catch (const DataFolderError& error) {
            EXPECT_EQ(std::string(error.what()), "无法使用数据文件夹“" + folder + "”：" + c.reason) << c.what;
        }
        EXPECT_EQ(Read(blocker), "not a folder") << c.what;
    }
}

TEST(DataFolderTest, AFolderTheUserMayNotWriteIsRefused) {
    if (::geteuid() == 0) GTEST_SKIP() << "running as root: every folder is writable";
    InstalledProgram installed;
    ASSERT_EQ(std::system(("mkdir -p '" + installed.data + "' && chmod 0500 '" + installed.data + "'").c_str()), 0);
    try {
        DataFilePath(installed.program, false, installed.data, "db1.mdb");
        ADD_FAILURE() << "no error";
    } catch (const DataFolderError& error) {
        EXPECT_EQ(std::string(error.what()), "无法使用数据文件夹“" + installed.data + "”：Permission denied");
    }
}

TEST(DataFolderTest, AShippedCopyThatCannotBeReadLeavesNoPartialFile) {
    InstalledProgram installed;
    ASSERT_EQ(::unlink((installed.program + "db1.mdb").c_str()), 0);
    ASSERT_EQ(::mkdir((installed.program + "db1.mdb").c_str(), 0755), 0);
    try {
        DataFilePath(installed.program, false, installed.data, "db1.mdb");
        ADD_FAILURE() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), installed.program + "db1.mdb");
        EXPECT_NE(std::string(error.what()).find(installed.program + "db1.mdb"), std::string::npos) << error.what();
    }
    EXPECT_EQ(std::system(("test -z \"$(ls -A '" + installed.data + "')\"").c_str()), 0) << "something was left";
}

TEST(DataFolderTest, WhetherTheProgramDirectoryIsWritable) {
    TemporaryFolder folder;
    Write(folder / "file", "x");
    EXPECT_TRUE(IsWritableDirectory(folder.path()));
    EXPECT_TRUE(IsWritableDirectory(folder.path() + "/"));
    EXPECT_FALSE(IsWritableDirectory(folder / "missing/"));
    EXPECT_FALSE(IsWritableDirectory(folder / "file"));
    if (::geteuid() != 0) {
        ASSERT_EQ(::mkdir((folder / "installed").c_str(), 0555), 0);
        EXPECT_FALSE(IsWritableDirectory(folder / "installed/"));
    }
}

TEST(DataFolderTest, TheProgramsRuleLooksAtTheProgramDirectoryAndTheEnvironment) {
    TemporaryFolder folder;
    Environment environment;
    environment.set("XDG_DATA_HOME", folder / "data");
    // A program directory the program cannot write (here: one that does not exist).
    EXPECT_EQ(DataFilePath(folder / "missing/", "gg"), folder / "data/wormgear/gg");
    EXPECT_TRUE(Exists(folder / "data/wormgear"));
    // A writable one.
    EXPECT_EQ(DataFilePath(folder.path() + "/", "gg"), folder / "gg");
}

namespace {

// A session without XDG_RUNTIME_DIR gets the folder Qt would take, private
// to the user; a folder others may enter, or a variable that is set, is left
// alone.
TEST(RuntimeFolderTest, WhereTheSessionNamesNoneTheFolderQtTakesIsNamed) {
    TemporaryFolder temporary;
    Environment environment;
    environment.set("TMPDIR", temporary.path() + "/");
    passwd* user = ::getpwuid(::geteuid());
    ASSERT_NE(user, nullptr);
    const std::string expected = temporary / (std::string("runtime-") + user->pw_name);

    for (const std::optional<std::string>& unset : {std::optional<std::string>(), std::optional<std::string>("")}) {
        environment.set("XDG_RUNTIME_DIR", unset);
        EXPECT_EQ(NameRuntimeFolderWhereUnset(), expected);
        EXPECT_STREQ(std::getenv("XDG_RUNTIME_DIR"), expected.c_str());
        struct stat info;
        ASSERT_EQ(::lstat(expected.c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 07777, 0700u);
    }

    environment.set("XDG_RUNTIME_DIR", "/run/user/1000");
    EXPECT_EQ(NameRuntimeFolderWhereUnset(), "");
    EXPECT_STREQ(std::getenv("XDG_RUNTIME_DIR"), "/run/user/1000");

    // A folder others may enter, or something else under the name: Qt's to judge.
    environment.set("XDG_RUNTIME_DIR", std::nullopt);
    ASSERT_EQ(::chmod(expected.c_str(), 0755), 0);
    EXPECT_EQ(NameRuntimeFolderWhereUnset(), "");
    EXPECT_EQ(std::getenv("XDG_RUNTIME_DIR"), nullptr);
    ASSERT_EQ(::rmdir(expected.c_str()), 0);
    Write(expected, "a file");
    EXPECT_EQ(NameRuntimeFolderWhereUnset(), "");
    EXPECT_EQ(std::getenv("XDG_RUNTIME_DIR"), nullptr);
}

}  // namespace
