// Whole-file reads and atomic replacement: limits, what is not a regular file,
// and that a failed replacement leaves the old file and no temporary behind.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "files/file_io.h"

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
    }
}

TEST_F(FileIoTest, ReplacesWholeAndLeavesNoTemporary) {
    write("t", "old");
    ReplaceFileAtomically(path("t"), "new content");
    EXPECT_EQ(ReadWholeFile(path("t"), 100), "new content");
    EXPECT_EQ(entries(), std::vector<std::string>{"t"});
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

}  // namespace
