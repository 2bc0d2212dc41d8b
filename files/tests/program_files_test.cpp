// The program directory and the paths of the files beside the program.
#include <gtest/gtest.h>

#include <unistd.h>

#include "files/program_files.h"

using namespace wormgear;

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
