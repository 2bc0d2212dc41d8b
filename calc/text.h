// Small text rules shared by every library that reads or writes text: hex
// digits, UTF-8 encoding and checking, and the _xHHHH_ escape that
// spreadsheet XML uses for characters XML 1.0 cannot hold.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace wormgear {

// '7' -> 7, 'b' -> 11, 'F' -> 15, anything else -> -1.
int HexDigitValue(char c);
// 11 -> 'B'; digit 0..15.
char UpperHexDigit(unsigned digit);

// Appends the UTF-8 bytes of a code point (up to U+10FFFF): 0x4E2D -> "中".
void AppendUtf8(std::string& out, std::uint32_t codePoint);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing beyond U+10FFFF).
bool IsValidUtf8(std::string_view text);

// The bytes at text[at] (at < size): a well-formed character, 1 to 4 bytes
// long, or the ill-formed bytes that one U+FFFD replaces. Those are the
// "maximal subpart" Unicode recommends and most decoders (Python's "replace",
// browsers) use: a byte that can start a character together with the bytes
// that still fit it, else the one byte.
//   "中" -> {3, true}; "\xE4\xB8" at the end -> {2, false}; "\xFF" -> {1, false}
struct Utf8Sequence {
    std::size_t length;
    bool wellFormed;
};
Utf8Sequence Utf8SequenceAt(std::string_view text, std::size_t at);

// The text with every ill-formed sequence replaced by U+FFFD, for outputs
// that must be UTF-8 whatever they were given: "a\xFFb" -> "a\xEF\xBF\xBDb".
std::string WithValidUtf8(std::string_view text);

// Spreadsheet XML writes a control character (below 0x20, other than tab, LF
// and CR) as _xHHHH_, and protects a literal "_xHHHH_" in the text by
// escaping its underscore: "a\x01b" -> "a_x0001_b", "_x0041_" -> "_x005F_x0041_".
std::string EscapeSpreadsheetText(std::string_view text);
// The reverse: "a_x0001_b" -> "a\x01b", "_x4E2D_" -> "中".
std::string UnescapeSpreadsheetText(std::string_view text);

}  // namespace wormgear
