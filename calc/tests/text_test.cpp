// Hex digits, UTF-8 and the spreadsheet escape shared by the workbook engine,
// wormcalc's JSON and the number reader.
#include <gtest/gtest.h>

#include "calc/text.h"

using namespace wormgear;

TEST(TextTest, HexDigits) {
    const std::pair<char, int> cases[] = {{'0', 0},  {'9', 9},  {'a', 10}, {'f', 15}, {'A', 10},
                                          {'F', 15}, {'g', -1}, {'G', -1}, {'/', -1}, {':', -1}};
    for (const auto& [c, value] : cases) EXPECT_EQ(HexDigitValue(c), value) << c;
    EXPECT_EQ(UpperHexDigit(11), 'B');
    EXPECT_EQ(UpperHexDigit(0), '0');
}

TEST(TextTest, Utf8EncodesEveryLength) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x41, "A"}, {0xE9, "\xC3\xA9"}, {0x4E2D, "中"}, {0xFFFF, "\xEF\xBF\xBF"}, {0x1F600, "\xF0\x9F\x98\x80"}};
    for (const auto& [code, bytes] : cases) {
        std::string out;
        AppendUtf8(out, code);
        EXPECT_EQ(out, bytes) << std::hex << code;
        EXPECT_TRUE(IsValidUtf8(out));
    }
}

TEST(TextTest, Utf8CheckRefusesMalformedBytes) {
    for (const char* bad :
         {"\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xE4\xB8", "a\xFF"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("蜗轮分度圆直径 8j (GB/T16445-1996)"));
}

TEST(TextTest, IllFormedUtf8IsReplacedByOneReplacementCharacterPerMaximalSubpart) {
    const std::string kReplacement = "\xEF\xBF\xBD";
    struct Case {
        std::string bytes, expected;
    };
    const Case cases[] = {
        // The example of the Unicode standard (chapter 3, "U+FFFD Substitution of Maximal Subparts"):
        // 61 F1 80 80 E1 80 C2 62 80 63 80 BF 64 -> a FFFD FFFD FFFD b FFFD c FFFD FFFD d.
        {"a\xF1\x80\x80\xE1\x80\xC2"
         "b\x80"
         "c\x80\xBF"
         "d",
         "a" + kReplacement + kReplacement + kReplacement + "b" + kReplacement + "c" + kReplacement + kReplacement +
             "d"},
        // Overlong forms, surrogates and code points beyond U+10FFFF: each byte on its own.
        {"\xC0\xAF", kReplacement + kReplacement},
        {"\xE0\x80\xAF", kReplacement + kReplacement + kReplacement},
        {"\xED\xA0\x80", kReplacement + kReplacement + kReplacement},
        {"\xF4\x90\x80\x80", kReplacement + kReplacement + kReplacement + kReplacement},
        {"\xF5", kReplacement},
        // A character cut short at the end, and well-formed text left alone.
        {"\xE8\x9C", kReplacement},
        {"\xF0\x9F\x98", kReplacement},
        {"蜗\xF0\x9F\x98\x80 \x7F", "蜗\xF0\x9F\x98\x80 \x7F"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithValidUtf8(c.bytes), c.expected) << c.bytes;
        EXPECT_TRUE(IsValidUtf8(WithValidUtf8(c.bytes)));
        EXPECT_EQ(IsValidUtf8(c.bytes), c.bytes == c.expected) << c.bytes;
    }
    EXPECT_EQ(Utf8SequenceAt("\xE4\xB8\xAD", 0).length, 3u);
    EXPECT_TRUE(Utf8SequenceAt("\xE4\xB8\xAD", 0).wellFormed);
    EXPECT_EQ(Utf8SequenceAt("x\xE4\xB8", 1).length, 2u);
    EXPECT_FALSE(Utf8SequenceAt("x\xE4\xB8", 1).wellFormed);
}

TEST(TextTest, SpreadsheetEscapeRoundTrips) {
    struct Case {
        std::string plain;
        std::string escaped;
    };
    const Case cases[] = {
        {"a\x01"
         "b",
         "a_x0001_b"},
        {std::string("x\0y", 3), "x_x0000_y"},
        {"_x0041_", "_x005F_x0041_"},  // a literal escape is protected
        {"tab\tand\nlines\r", "tab\tand\nlines\r"},
        {"_x00_", "_x00_"},  // not an escape: too short
        {"中文", "中文"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EscapeSpreadsheetText(c.plain), c.escaped);
        EXPECT_EQ(UnescapeSpreadsheetText(c.escaped), c.plain);
    }
    EXPECT_EQ(UnescapeSpreadsheetText("_x4E2D_"), "中");
}
