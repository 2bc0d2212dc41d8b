// The rules of the published texts: where the first line ends (LF, CR LF,
// byte 26, the end; a lone CR left out), what a plain-text response is, what
// may count as a version, and how a notice line is decoded and cleaned.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/online/online.h"
#include "app/online/published_text.h"
#include "app/online/tests/test_support.h"
#include "files/file_io.h"

namespace wormgear {
namespace {

QByteArray Bytes(const char* text, qsizetype size) { return QByteArray(text, size); }

// --- first line ---

struct LineCase {
    const char* name;
    QByteArray content;
    QByteArray firstLine;
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }

const LineCase kLines[] = {
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

class FirstLineTest : public ::testing::TestWithParam<LineCase> {
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

TEST_P(FirstLineTest, OfBytes) {
    const LineCase& c = GetParam();
    EXPECT_EQ(QByteArray::fromStdString(FirstLineOf(c.content.toStdString())), c.firstLine);
}

TEST_P(FirstLineTest, OfAFile) {
    const LineCase& c = GetParam();
    EXPECT_EQ(FirstLine(write(c.content)), c.firstLine);
}

INSTANTIATE_TEST_SUITE_P(Texts, FirstLineTest, ::testing::ValuesIn(kLines), testing::ParamName<LineCase>);

TEST_F(FirstLineTest, LongLines) {
    for (qsizetype length : {4095, 4096, 4097, 65536}) {
        const QByteArray line(length, 'x');
        EXPECT_EQ(FirstLine(write(line + "\r\nnext")), line) << length;
        EXPECT_EQ(FirstLine(write(line + "\ry\n")), line + "y") << length;
        EXPECT_EQ(FirstLine(write(line)), line) << length;
    }
}

TEST_F(FirstLineTest, FilesThatCannotBeReadThrow) {
    EXPECT_THROW(FirstLine(dir_.filePath("absent.txt")), FileError);
    ASSERT_TRUE(QDir(dir_.path()).mkdir("folder"));
    EXPECT_THROW(FirstLine(dir_.filePath("folder")), FileError);
    // Far beyond any version file.
    EXPECT_THROW(FirstLine(write(QByteArray(1024 * 1024 + 1, 'x'))), FileError);
}

// A FIFO in place of "v.txt" would block an ordinary open for ever.
TEST_F(FirstLineTest, AFifoThrowsWithoutWaiting) {
    const QString path = dir_.filePath("v.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    EXPECT_THROW(FirstLine(path), FileError);
}

TEST_F(FirstLineTest, UnreadableFileThrows) {
    const QString path = write("7.6\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly)) GTEST_SKIP() << "running with rights that read any file";
    EXPECT_THROW(FirstLine(path), FileError);
}

// A file that opens but cannot be read: the kernel refuses reads of the first
// page of the process's own memory, which is never mapped.
TEST_F(FirstLineTest, ReadErrorThrows) {
    QFile probe("/proc/self/mem");
    if (!probe.open(QIODevice::ReadOnly)) GTEST_SKIP() << "no /proc/self/mem to read from";
    char byte = 0;
    ASSERT_EQ(probe.read(&byte, 1), -1);
    EXPECT_THROW(FirstLine("/proc/self/mem"), FileError);
}

// --- plain text ---

TEST(PlainText, ContentTypes) {
    const struct {
        const char* contentType;
        bool plain;
    } cases[] = {
        {"", true},  // none sent
        {"text/plain", true},
        {"text/plain; charset=GBK", true},
        {"Text/Plain;charset=utf-8", true},
        {" text/plain ", true},
        {"text/html", false},
        {"text/html; charset=utf-8", false},
        {"application/json", false},
        {"application/octet-stream", false},
        {"text/plainx", false},
        {"text", false},
        {"; charset=utf-8", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsPlainTextType(c.contentType), c.plain) << '"' << c.contentType << '"';
}

// --- version ---

TEST(Version, OnlyASaneFirstLineCounts) {
    const struct {
        const char* name;
        std::string line;
        bool sane;
    } cases[] = {
        {"plain version", "7.7", true},
        {"with words", "V7.7 2024-05-01", true},
        {"blanks around", " 7.7 ", true},
        {"GB18030 bytes",
         "\xb0\xe6\xb1\xbe"
         "7.7",
         true},
        {"64 bytes", std::string(64, '7'), true},
        {"65 bytes", std::string(65, '7'), false},
        {"empty", "", false},
        {"HTML", "<!DOCTYPE html>", false},
        {"a tag inside", "7.7<br>", false},
        {"a closing bracket", "7.7 -->", false},
        {"tab", "7.7\t", false},
        {"NUL",
         std::string("7\0"
                     "7",
                     3),
         false},
        {"escape", "\x1b[31m7.7", false},
        {"DEL", "7.7\x7f", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsSaneVersion(c.line), c.sane) << c.name;
}

// --- notice ---

QByteArray Gb18030(const QString& text) {
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

struct NoticeCase {
    const char* name;
    QByteArray line;
    std::optional<QString> shown;
};

void PrintTo(const NoticeCase& c, std::ostream* out) { *out << c.name; }

const NoticeCase kNotices[] = {
    {"ASCII", "Version 7.7 is out", "Version 7.7 is out"},
    {"UTF-8", "欢迎使用蜗轮蜗杆设计程序", "欢迎使用蜗轮蜗杆设计程序"},
    {"UTF-8 with byte-order mark", "\xef\xbb\xbf欢迎使用", "欢迎使用"},
    // 0xBB 0xB6 0xD3 0xAD is "欢迎" in GB2312, a subset of GB18030, and not valid UTF-8
    {"GB18030", "\xbb\xb6\xd3\xad", "欢迎"},
    {"GB18030 four-byte sequence", Gb18030("€ 欢迎 \U0001F600"), "€ 欢迎 \U0001F600"},
    {"empty", "", ""},
    {"markup", "<b>新版本</b> 下载", std::nullopt},
    {"HTML page", "<!DOCTYPE html>", std::nullopt},
    {"right-to-left override", "新版本\u202E7.7 txt.exe", "新版本7.7 txt.exe"},
    {"every bidirectional control", "a\u202Ab\u202Bc\u202Cd\u202De\u2066f\u2067g\u2068h\u2069i\u200Ej\u200Fk\u061Cl",
     "abcdefghijkl"},
    {"control characters",
     "a\tb\x1b[31mc\x7f"
     "d\x01",
     "ab[31mcd"},
    {"C1 control", "a\u0085b", "ab"},
    {"line and paragraph separators", "a\u2028b\u2029c", "abc"},
    {"NUL", Bytes("a\0b", 3), "ab"},
    {"ampersand kept", "买一送一 & 优惠", "买一送一 & 优惠"},
};

class NoticeTextTest : public ::testing::TestWithParam<NoticeCase> {};

TEST_P(NoticeTextTest, DecodesAndCleans) {
    const NoticeCase& c = GetParam();
    EXPECT_EQ(NoticeText(c.line), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Lines, NoticeTextTest, ::testing::ValuesIn(kNotices), testing::ParamName<NoticeCase>);

TEST(NoticeText, KeepsAtMostItsLimitWithoutSplittingACharacter) {
    const QString wide = QString(kMaxNoticeCharacters + 10, QChar(u'长'));
    EXPECT_EQ(NoticeText(wide.toUtf8()), wide.left(kMaxNoticeCharacters));
    // Characters beyond the basic plane take two UTF-16 units: the last one
    // that would not fit whole is left out.
    const QString smiles = QString::fromUtf8("x") + QString::fromUcs4(U"\U0001F600").repeated(kMaxNoticeCharacters);
    const std::optional<QString> kept = NoticeText(smiles.toUtf8());
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->size(), kMaxNoticeCharacters - 1);
    EXPECT_FALSE(kept->back().isHighSurrogate());
}

}  // namespace
}  // namespace wormgear
