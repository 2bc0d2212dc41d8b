// The batch reader's flat JSON objects and the output quoting.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "calc/text.h"
#include "json/json.h"

using namespace wormgear::json;

namespace {

TEST(JsonTest, QuoteEscapesWhatJsonNeeds) {
    EXPECT_EQ(Quote("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(Quote("x\ny\t\x01"), "\"x\\ny\\t\\u0001\"");
    EXPECT_EQ(Quote("蜗轮"), "\"蜗轮\"");
}

// JSON quoting in its plainest form: the text made UTF-8 by the rule of
// calc/text.h, then each byte escaped on its own.
std::string PlainQuote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : wormgear::WithValidUtf8(text)) {
        if (c == '"') out += "\\\"";
        else if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c < 0x20) out += "\\u00" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
        else out += static_cast<char>(c);
    }
    return out + "\"";
}

TEST(JsonTest, QuoteFindsEveryEscapeInLongTexts) {
    // Plain runs are passed over eight bytes at a time: put each character
    // that needs an escape at every place of a long text.
    const std::string base = "168.728-----蜗杆齿根圆弧半径 and more plain text ~~ \x7f \xff";
    for (const char* special : {"\"", "\\", "\n", "\x01", "\x1f", "\xE8\x9C", "\xC0", "\xF0\x9F\x98\x80"}) {
        for (std::size_t at = 0; at <= base.size(); ++at) {
            std::string text = base;
            text.insert(at, special);
            ASSERT_EQ(Quote(text), PlainQuote(text)) << at;
        }
    }
    EXPECT_EQ(Quote(std::string(64, ' ')), "\"" + std::string(64, ' ') + "\"");
}

TEST(JsonTest, QuoteReadsEveryLeadByteWithEverySecondByteAndTheBoundaryThirds) {
    // Well-formed characters of two and three bytes are checked on a path of
    // their own: every lead byte from 0x80 with every second byte, and a third
    // byte on each side of every boundary the decoder tells apart (ASCII, the
    // continuation bytes and their sub-ranges that lead bytes E0, ED, F0 and F4
    // allow, lead bytes), at the end of a text. Every third byte would take
    // minutes under the address sanitizer.
    static constexpr int kThirds[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F,
                                      0xA0, 0xBF, 0xC0, 0xC2, 0xE0, 0xF4, 0xFF};
    std::string text(3, '\0');
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (int second = 0; second <= 0xFF; ++second) {
            for (int third : kThirds) {
                text[0] = static_cast<char>(lead);
                text[1] = static_cast<char>(second);
                text[2] = static_cast<char>(third);
                const std::string quoted = Quote(text);
                if (quoted != PlainQuote(text)) FAIL() << lead << " " << second << " " << third << ": " << quoted;
            }
        }
    }
    EXPECT_EQ(Quote("\xE8\x9C\x97x\xE8\x9C"), "\"蜗x\xEF\xBF\xBD\"");
}

TEST(JsonTest, QuoteWritesUtf8WhateverItIsGiven) {
    // One U+FFFD for each ill-formed sequence, as Python's decoder with
    // errors="replace" reads the same bytes.
    const std::pair<const char*, const char*> cases[] = {
        {"a\xFF"
         "b",
         "\"a\xEF\xBF\xBD"
         "b\""},
        {"\xE8\x9C\x97\xE8\x9C", "\"蜗\xEF\xBF\xBD\""},
        {"\xC0\xAF\"", "\"\xEF\xBF\xBD\xEF\xBF\xBD\\\"\""},
        {"\xED\xA0\x80x", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDx\""},
        {"\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},
    };
    for (const auto& [text, quoted] : cases) {
        EXPECT_EQ(Quote(text), quoted) << text;
        EXPECT_TRUE(wormgear::IsValidUtf8(Quote(text))) << text;
    }
}

TEST(JsonTest, ParsesFlatObjects) {
    const Object o = ParseObject(
        R"( {"centre-distance": "200", "round-teeth": true, "coefficients": ["0.875", 1.2], "x": null,)"
        R"( "u": "\u8717\ud83d\ude00"} )");
    EXPECT_EQ(std::get<std::string>(o.at("centre-distance")), "200");
    EXPECT_TRUE(std::get<bool>(o.at("round-teeth")));
    EXPECT_EQ(std::get<std::vector<std::string>>(o.at("coefficients")), (std::vector<std::string>{"0.875", "1.2"}));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(o.at("x")));
    EXPECT_EQ(std::get<std::string>(o.at("u")), "蜗\xF0\x9F\x98\x80");
    EXPECT_TRUE(ParseObject("{}").empty());
}

TEST(JsonTest, AKeptObjectReadsEachLineAsParseObjectDoes) {
    // One FlatObject reads line after line, its kept texts and lists of
    // longer lines before shorter ones, as the batch uses it.
    const char* const kLines[] = {
        R"({"teeth": "50", "coefficients": ["0.875", 1.2, "x"], "z": "a\"b\u00e9\n", "round-teeth": true})",
        R"({"teeth": true, "coefficients": "1,2", "z": null})",
        R"({"coefficients": [], "a": [1], "teeth": "5"})",
        R"({})",
        R"({"teeth": "50", "teeth": "51"})",
        R"({"b": "x", "a": 1e5, "c": -2})",
    };
    FlatObject kept;
    for (const char* line : kLines) {
        SCOPED_TRACE(line);
        std::optional<Object> expected;
        std::string expectedError;
        try {
            expected = ParseObject(line);
        } catch (const ParseError& e) {
            expectedError = e.what();
        }
        try {
            kept.Parse(line);
            ASSERT_TRUE(expected) << "read what ParseObject refuses";
            Object got;
            for (std::size_t n = 0; n < kept.size(); ++n) got.emplace(kept[n].key, kept[n].value);
            EXPECT_EQ(got, *expected);
            std::vector<std::string> keys;
            for (const FlatObject::Member* member : kept.InKeyOrder()) keys.push_back(member->key);
            EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
            EXPECT_EQ(keys.size(), expected->size());
        } catch (const ParseError& e) {
            EXPECT_EQ(e.what(), expectedError);
            EXPECT_EQ(kept.size(), 0u);
        }
    }
}

TEST(JsonTest, RefusesMalformedInput) {
    for (const char* text : {"", "{", "[]", R"({"a": })", R"({"a": "b")", R"({"a": {"b": 1}})", R"({"a": "b"} x)",
                             R"({"a": "\ud800"})", R"({"a": 1, "a": 2})", "{\"a\": \"\x01\"}"}) {
        EXPECT_THROW(ParseObject(text), ParseError) << text;
    }
}

}  // namespace
