// The first-line rule of the version and notice files: LF, CR LF, byte 26 and
// the end of the file end the line; a CR not followed by LF is left out.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/online/online.h"

namespace wormgear {
namespace {

QByteArray Bytes(const char* text, qsizetype size) { return QByteArray(text, size); }

struct Case {
    const char* name;
    QByteArray content;
    QByteArray firstLine;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

const Case kCases[] = {
    {"empty file", "", ""},
    {"no line end", "7.6", "7.6"},
    {"LF", "7.6\n7.7\n", "7.6"},
    {"CR LF", "7.6\r\n7.7\r\n", "7.6"},
    {"byte 26",
     "7.6\x1a"
     "7.7",
     "7.6"},
    {"byte 26 at the start",
     "\x1a"
     "7.6\n",
     ""},
    {"lone CR left out", "7.\r6\n", "7.6"},
    {"lone CR at the end left out", "7.6\r", "7.6"},
    {"CR CR LF", "7.6\r\r\n7.7", "7.6"},
    {"CR then byte 26",
     "7.6\r\x1a"
     "x",
     "7.6"},
    {"LF CR", "7.6\n\r7.7", "7.6"},
    {"empty first line", "\n7.6", ""},
    {"empty first line, CR LF", "\r\n7.6", ""},
    {"only a CR", "\r", ""},
    {"trailing blank kept", "7.6 \n", "7.6 "},
    {"leading blank and tab kept", " \t7.6\n", " \t7.6"},
    {"NUL kept",
     Bytes("7\0"
           "6\n",
           4),
     Bytes("7\0"
           "6",
           3)},
    {"high bytes as they are", "\xbb\xb6\xd3\xad\r\n", "\xbb\xb6\xd3\xad"},
    {"UTF-8 byte-order mark kept",
     "\xef\xbb\xbf"
     "7.6\n",
     "\xef\xbb\xbf"
     "7.6"},
};

class FirstLineTest : public ::testing::TestWithParam<Case> {
 protected:
    QString write(const QByteArray& content) {
        const QString path = dir_.filePath("v.txt");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }
    QTemporaryDir dir_;
};

TEST_P(FirstLineTest, ReadsTheFirstLine) {
    const Case& c = GetParam();
    EXPECT_EQ(FirstLine(write(c.content)), c.firstLine);
}

INSTANTIATE_TEST_SUITE_P(Files, FirstLineTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

// The file is read in blocks; a CR at the end of one block and its LF (or the
// next byte) at the start of the following one must give the same line.
TEST_F(FirstLineTest, LineEndsAcrossReadBlocks) {
    for (qsizetype length : {4094, 4095, 4096, 4097, 8191, 8192}) {
        const QByteArray line(length, 'x');
        EXPECT_EQ(FirstLine(write(line + "\r\nnext")), line) << length;
        EXPECT_EQ(FirstLine(write(line + "\ry\n")), line + "y") << length;
        EXPECT_EQ(FirstLine(write(line + "\r")), line) << length;
        EXPECT_EQ(FirstLine(write(line)), line) << length;
    }
}

TEST_F(FirstLineTest, MissingFileThrows) { EXPECT_THROW(FirstLine(dir_.filePath("absent.txt")), std::runtime_error); }

TEST_F(FirstLineTest, DirectoryThrows) {
    ASSERT_TRUE(QDir(dir_.path()).mkdir("v.txt"));
    EXPECT_THROW(FirstLine(dir_.filePath("v.txt")), std::runtime_error);
}

TEST_F(FirstLineTest, UnreadableFileThrows) {
    const QString path = write("7.6\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly)) GTEST_SKIP() << "running with rights that read any file";
    EXPECT_THROW(FirstLine(path), std::runtime_error);
}

// A file that opens but cannot be read: the kernel refuses reads of the first
// page of the process's own memory, which is never mapped.
TEST_F(FirstLineTest, ReadErrorThrows) {
    QFile probe("/proc/self/mem");
    if (!probe.open(QIODevice::ReadOnly)) GTEST_SKIP() << "no /proc/self/mem to read from";
    char byte = 0;
    ASSERT_EQ(probe.read(&byte, 1), -1);
    EXPECT_THROW(FirstLine("/proc/self/mem"), std::runtime_error);
}

}  // namespace
}  // namespace wormgear
