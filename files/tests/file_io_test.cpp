// Whole-file reads and atomic replacement: limits, what is not a regular file,
// that a failed or killed replacement leaves the old file and no temporary
// behind, and that a replaced file keeps its permissions, owner and links.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "files/file_io.h"
#include "files/testing/faults.h"

using namespace wormgear;

namespace {

class FileIoTest : public ::testing::Test {
 protected:
    void SetUp() override {
        char name[] = "/tmp/file_io_test-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        folder_ = name;
    }
    void TearDown() override { std::system(("rm -rf '" + folder_ + "'").c_str()); }

    std::string path(const std::string& name) const { return folder_ + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const { return ReadWholeFile(path(name), 1 << 30); }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(folder_.c_str())) {
            while (dirent* entry = ::readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") names.push_back(name);
            }
            ::closedir(dir);
        }
        return names;
    }

    std::string folder_;
};

FileError::Action ReadFailure(const std::string& path, std::uint64_t limit) {
    try {
        ReadWholeFile(path, limit);
    } catch (const FileError& error) {
        return error.action();
    }
    ADD_FAILURE() << "no failure reading " << path;
    return FileError::Action::NoFileName;
}

TEST_F(FileIoTest, ReadsTheWholeFileWithinItsLimit) {
    const std::string bytes(200000, 'x');
    write("a", bytes);
    EXPECT_EQ(ReadWholeFile(path("a"), bytes.size()), bytes);
    EXPECT_EQ(ReadFailure(path("a"), bytes.size() - 1), FileError::Action::TooLarge);
}

TEST_F(FileIoTest, RefusesWhatIsNotARegularFile) {
    ASSERT_EQ(::mkdir(path("folder").c_str(), 0755), 0);
    EXPECT_EQ(ReadFailure(path("folder"), 100), FileError::Action::NotRegular);
    EXPECT_EQ(ReadFailure(path("missing"), 100), FileError::Action::Open);
    // A FIFO with no writer: opening it for reading would wait for ever.
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    auto read = std::async(std::launch::async, [&] { return ReadFailure(path("fifo"), 100); });
    ASSERT_EQ(read.wait_for(std::chrono::seconds(5)), std::future_status::ready) << "the read waited on a FIFO";
    EXPECT_EQ(read.get(), FileError::Action::NotRegular);
}

TEST_F(FileIoTest, TheErrorNamesTheFileAndTheReason) {
    try {
        ReadWholeFile(path("missing"), 100);
        FAIL();
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), path("missing"));
        EXPECT_EQ(error.systemError(), ENOENT);
        EXPECT_NE(std::string(error.what()).find(path("missing")), std::string::npos);
        // The reason in the interface's language.
        EXPECT_NE(std::string(error.what()).find("没有那个文件或目录"), std::string::npos) << error.what();
    }
}

TEST(SystemErrorText, GivesTheReasonInChineseAndFallsBackToTheSystem) {
    const struct {
        int error;
        const char* text;
    } kCases[] = {
        {ENOSPC, "设备上没有空间"}, {EACCES, "权限不够"},   {EROFS, "只读文件系统"},
        {EIO, "输入/输出错误"},     {EFBIG, "文件过大"},    {ENAMETOOLONG, "文件名过长"},
        {EDQUOT, "超出磁盘配额"},   {EISDIR, "是一个目录"}, {ENOENT, "没有那个文件或目录"},
    };
    for (const auto& c : kCases) EXPECT_EQ(SystemErrorText(c.error), c.text) << c.error;
    EXPECT_EQ(SystemErrorText(EDOM), std::strerror(EDOM));
}

TEST_F(FileIoTest, ReplacesWholeAndLeavesNoTemporary) {
    write("t", "old");
    ReplaceFileAtomically(path("t"), "new content");
    EXPECT_EQ(ReadWholeFile(path("t"), 100), "new content");
    EXPECT_EQ(entries(), std::vector<std::string>{"t"});
}

TEST_F(FileIoTest, CreatesANewFileButNeverTakesANameInUse) {
    CreateFileAtomically(path("new"), "first");
    EXPECT_EQ(read("new"), "first");
    write("taken", "kept");
    ASSERT_EQ(::mkdir(path("dir").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("nowhere", path("link").c_str()), 0);
    for (const char* name : {"new", "taken", "dir", "link"}) {
        try {
            CreateFileAtomically(path(name), "second");
            ADD_FAILURE() << name << " was replaced";
        } catch (const FileError& error) {
            EXPECT_EQ(error.systemError(), EEXIST) << name;
            EXPECT_EQ(error.reason(), "文件已存在") << name;
        }
    }
    EXPECT_EQ(read("new"), "first");
    EXPECT_EQ(read("taken"), "kept");
    auto names = entries();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"dir", "link", "new", "taken"}));  // no temporary left
}

TEST_F(FileIoTest, AFailedReplacementKeepsTheOldFile) {
    write("t", "old");
    // A folder in the way of the rename: the new content cannot take the name.
    ASSERT_EQ(::mkdir(path("dir").c_str(), 0755), 0);
    EXPECT_THROW(ReplaceFileAtomically(path("dir"), "new"), FileError);
    EXPECT_THROW(ReplaceFileAtomically(path("missing/t"), "new"), FileError);
    EXPECT_THROW(ReplaceFileAtomically(folder_ + "/", "new"), FileError);
    EXPECT_EQ(ReadWholeFile(path("t"), 100), "old");
    auto names = entries();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"dir", "t"}));
}

TEST_F(FileIoTest, AWriteTheDiskRefusesLeavesTheOldFileByteForByte) {
    const std::string old(3000, 'o');
    write("t", old);
    {
        // Files may not grow beyond 4 KiB: the write of 64 KiB fails half-way.
        wormgear::testing::FileSizeLimit full(4096);
        try {
            ReplaceFileAtomically(path("t"), std::string(65536, 'n'));
            ADD_FAILURE() << "the replacement reported success";
        } catch (const FileError& error) {
            EXPECT_EQ(error.action(), FileError::Action::Write);
            EXPECT_EQ(error.systemError(), EFBIG);
            EXPECT_NE(std::string(error.what()).find(path("t")), std::string::npos);
        }
    }
    EXPECT_EQ(read("t"), old);
    EXPECT_EQ(entries(), std::vector<std::string>{"t"});
}

TEST(FullDisk, AReplacementOnAFullFileSystemFailsAndKeepsTheOldFile) {
    wormgear::testing::SmallFileSystem disk(256 << 10);
    if (!disk.available()) GTEST_SKIP() << "mounting a small file system needs the superuser";
    const std::string target = disk.path() + "db1.mdb";
    const std::string old(12288, 'o');
    ReplaceFileAtomically(target, old);
    disk.fill();
    try {
        ReplaceFileAtomically(target, std::string(12288, 'n'));
        ADD_FAILURE() << "the replacement reported success";
    } catch (const FileError& error) {
        EXPECT_EQ(error.systemError(), ENOSPC) << error.what();
        EXPECT_NE(std::string(error.what()).find("设备上没有空间"), std::string::npos) << error.what();
    }
    EXPECT_EQ(ReadWholeFile(target, 1 << 20), old);
    disk.makeRoom();
    ReplaceFileAtomically(target, "new");
    EXPECT_EQ(ReadWholeFile(target, 1 << 20), "new");
}

TEST_F(FileIoTest, AReplacedFileKeepsItsPermissionBits) {
    const mode_t kModes[] = {0600, 0640, 0444, 0755};
    for (mode_t mode : kModes) {
        write("t", "old");
        ASSERT_EQ(::chmod(path("t").c_str(), mode), 0);
        ReplaceFileAtomically(path("t"), "new");
        struct stat info;
        ASSERT_EQ(::stat(path("t").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode) << std::oct << mode;
        EXPECT_EQ(read("t"), "new");
    }
    // A new file takes the usual permissions of the process.
    const mode_t mask = ::umask(022);
    ReplaceFileAtomically(path("fresh"), "x");
    ::umask(mask);
    struct stat info;
    ASSERT_EQ(::stat(path("fresh").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

TEST_F(FileIoTest, AReplacedFileKeepsItsOwnerWhereTheProcessMayGiveIt) {
    if (::geteuid() != 0) GTEST_SKIP() << "only the superuser gives files to other users";
    write("t", "old");
    ASSERT_EQ(::chown(path("t").c_str(), 4321, 4322), 0);
    ReplaceFileAtomically(path("t"), "new");
    struct stat info;
    ASSERT_EQ(::stat(path("t").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4322u);
}

TEST_F(FileIoTest, ALinkTheUserNamedLeadsToTheReplacedFile) {
    ASSERT_EQ(::mkdir(path("real").c_str(), 0755), 0);
    write("real/design.cqb", "old");
    ASSERT_EQ(::chmod(path("real/design.cqb").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("real/design.cqb", path("link.cqb").c_str()), 0);          // relative
    ASSERT_EQ(::symlink(path("link.cqb").c_str(), path("chain.cqb").c_str()), 0);  // a link to a link
    ReplaceFileAtomically(path("chain.cqb"), "new");
    struct stat info;
    ASSERT_EQ(::lstat(path("link.cqb").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::lstat(path("chain.cqb").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(read("real/design.cqb"), "new");
    ASSERT_EQ(::stat(path("real/design.cqb").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);

    // A link to a file not yet there makes that file.
    ASSERT_EQ(::symlink("real/later.cqb", path("dangling.cqb").c_str()), 0);
    ReplaceFileAtomically(path("dangling.cqb"), "made");
    EXPECT_EQ(read("real/later.cqb"), "made");
    ASSERT_EQ(::lstat(path("dangling.cqb").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));

    // A loop of links is refused without writing anything.
    ASSERT_EQ(::symlink("loop.b", path("loop.a").c_str()), 0);
    ASSERT_EQ(::symlink("loop.a", path("loop.b").c_str()), 0);
    EXPECT_THROW(ReplaceFileAtomically(path("loop.a"), "x"), FileError);
}

TEST_F(FileIoTest, AFileOfTheProgramReplacesALinkAndLeavesItsTargetAlone) {
    write("elsewhere", "someone's file");
    ASSERT_EQ(::symlink(path("elsewhere").c_str(), path("db1.mdb").c_str()), 0);
    ReplaceFileAtomically(path("db1.mdb"), "coefficients", LinkHandling::ReplaceLink);
    struct stat info;
    ASSERT_EQ(::lstat(path("db1.mdb").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(read("db1.mdb"), "coefficients");
    EXPECT_EQ(read("elsewhere"), "someone's file");
}

TEST_F(FileIoTest, NamesAsLongAsTheFileSystemTakesCanBeReplaced) {
    // 255 bytes: the longest name of the common Linux file systems, here in
    // three-byte Chinese characters and ASCII.
    std::string name;
    while (name.size() + 3 <= 250) name += "蜗";
    name += std::string(255 - name.size() - 4, 'x') + ".cqb";
    ASSERT_EQ(name.size(), 255u);
    write(name, "old");
    ASSERT_EQ(read(name), "old") << "the file system takes no name this long";
    ReplaceFileAtomically(path(name), "new");
    EXPECT_EQ(read(name), "new");
    EXPECT_EQ(entries(), std::vector<std::string>{name});
}

// A process id that is certainly not running: a child that has ended.
long EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

TEST_F(FileIoTest, TemporaryFilesOfEndedReplacementsAreRemoved) {
    const std::string ended = std::to_string(EndedProcess());
    const std::string running = std::to_string(::getppid());
    write("t", "old");
    const std::vector<std::string> stale = {".t.wgtmp" + ended + "-0", ".other.cqb.wgtmp" + ended + "-17",
                                            ".t.tmp" + ended + "-3-12345"};  // an earlier version's name
    const std::vector<std::string> kept = {".t.wgtmp" + running + "-0", ".t.tmp", ".config", "t.wgtmp" + ended + "-0"};
    for (const std::string& name : stale) write(name, "left behind");
    for (const std::string& name : kept) write(name, "keep");
    ReplaceFileAtomically(path("t"), "new");
    auto names = entries();
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = kept;
    expected.push_back("t");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

TEST(ReplacementTemporaryName, TellsTheNamesAndTheirProcess) {
    const struct {
        const char* name;
        bool temporary;
        long process;
    } kCases[] = {
        {".design.cqb.wgtmp1234-0", true, 1234},
        {".蜗杆.wgtmp99-12", true, 99},
        {".design.cqb.tmp4321-7-99999", true, 4321},  // an earlier version's
        {"design.cqb.wgtmp1234-0", false, 0},         // not hidden
        {".design.cqb.wgtmp-0", false, 0},
        {".design.cqb.wgtmp12x-0", false, 0},
        {".design.cqb.wgtmp12-", false, 0},
        {".design.cqb.tmp12-3", false, 0},
        {".bashrc", false, 0},
    };
    for (const auto& c : kCases) {
        long process = 0;
        EXPECT_EQ(IsReplacementTemporaryName(c.name, &process), c.temporary) << c.name;
        if (c.temporary) {
            EXPECT_EQ(process, c.process) << c.name;
        }
    }
}

// Whether the process `child` holds a file of `folder` open.
bool HoldsFileIn(pid_t child, const std::string& folder) {
    const std::string fds = "/proc/" + std::to_string(child) + "/fd";
    DIR* dir = ::opendir(fds.c_str());
    if (!dir) return false;
    bool holds = false;
    while (dirent* entry = ::readdir(dir)) {
        char target[4096];
        const ssize_t length = ::readlink((fds + "/" + entry->d_name).c_str(), target, sizeof target - 1);
        if (length > 0 && std::string(target, static_cast<std::size_t>(length)).rfind(folder + "/", 0) == 0)
            holds = true;
    }
    ::closedir(dir);
    return holds;
}

TEST_F(FileIoTest, AReplacementKilledWhileWritingLeavesNoNameBehind) {
    const std::string old = "old";
    write("t", old);
    const std::string big(64 << 20, 'n');
    bool killedWhileWriting = false;
    wormgear::testing::RunInChild(
        [&] {
            ReplaceFileAtomically(path("t"), big);
            return 0;
        },
        [&](pid_t child) {
            // Killed as soon as it has its new file open, long before the
            // 64 MiB are written.
            for (int poll = 0; poll < 200000 && !killedWhileWriting; ++poll) {
                if (HoldsFileIn(child, folder_)) {
                    ::kill(child, SIGKILL);
                    killedWhileWriting = true;
                }
            }
        });
    if (!killedWhileWriting) GTEST_SKIP() << "the write was not seen under way";
    EXPECT_EQ(entries(), std::vector<std::string>{"t"});
    EXPECT_EQ(read("t"), old);
}

}  // namespace
