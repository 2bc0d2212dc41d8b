// Hex digits, UTF-8 and the spreadsheet escape.
#include "calc/text.h"

namespace wormgear {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char UpperHexDigit(unsigned digit) { return "0123456789ABCDEF"[digit & 0xF]; }

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

Utf8Sequence Utf8SequenceAt(std::string_view text, std::size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return {1, true};
    // The well-formed sequences (Unicode's table of them): how many bytes
    // follow the lead, and the range of the first of them, which shuts out
    // overlong forms, surrogates and code points beyond U+10FFFF.
    std::size_t following = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        following = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        following = 2;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        following = 3;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {1, false};  // a continuation byte, C0, C1, F5..FF
    }
    std::size_t length = 1;
    for (; length <= following; ++length) {
        if (at + length >= text.size()) return {length, false};
        const unsigned char next = static_cast<unsigned char>(text[at + length]);
        if (next < low || next > high) return {length, false};
        low = 0x80;
        high = 0xBF;
    }
    return {length, true};
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {  // the common case, without a call
            ++i;
            continue;
        }
        const Utf8Sequence sequence = Utf8SequenceAt(text, i);
        if (!sequence.wellFormed) return false;
        i += sequence.length;
    }
    return true;
}

std::string WithValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size();) {
        const Utf8Sequence sequence = Utf8SequenceAt(text, i);
        if (sequence.wellFormed) {
            out.append(text, i, sequence.length);
        } else {
            AppendUtf8(out, 0xFFFD);
        }
        i += sequence.length;
    }
    return out;
}

namespace {

bool IsEscapeAt(std::string_view text, std::size_t i) {
    if (i + 7 > text.size() || text[i] != '_' || text[i + 1] != 'x' || text[i + 6] != '_') return false;
    for (std::size_t k = 2; k < 6; ++k) {
        if (HexDigitValue(text[i + k]) < 0) return false;
    }
    return true;
}

bool NeedsEscape(unsigned char c) { return c < 0x20 && c != '\t' && c != '\n' && c != '\r'; }

}  // namespace

std::string EscapeSpreadsheetText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (NeedsEscape(c) || IsEscapeAt(text, i)) {
            out += "_x00";
            out += UpperHexDigit(c >> 4);
            out += UpperHexDigit(c & 0xF);
            out += '_';
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string UnescapeSpreadsheetText(std::string_view text) {
    if (text.find("_x") == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsEscapeAt(text, i)) {
            std::uint32_t code = 0;
            for (std::size_t k = 2; k < 6; ++k)
                code = code * 16 + static_cast<std::uint32_t>(HexDigitValue(text[i + k]));
            AppendUtf8(out, code);
            i += 6;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace wormgear
