// JSON quoting and the flat-object reader of the batch input.
#include "cli/json.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "calc/text.h"

namespace wormgear::json {

namespace {

// Whether one of the eight bytes of `word` is a control character, a quote, a
// backslash or a byte of a multi-byte character, which is checked on its own
// (each test exact for the word as a whole).
bool AnyToLookAt(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
    auto anyZero = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
    const std::uint64_t below20 = (word - kOnes * 0x20) & ~word & kHighs;
    return (below20 | anyZero(word ^ (kOnes * '"')) | anyZero(word ^ (kOnes * '\\')) | (word & kHighs)) != 0;
}

}  // namespace

void AppendQuoted(std::string& out, const std::string& text) {
    out += '"';
    std::size_t plain = 0;  // start of the run not yet copied
    for (std::size_t n = 0; n < text.size(); ++n) {
        // Eight plain ASCII bytes at a time, the common case of numbers and codes.
        while (n + 8 <= text.size()) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + n, sizeof word);
            if (AnyToLookAt(word)) break;
            n += 8;
        }
        if (n >= text.size()) break;
        const unsigned char c = static_cast<unsigned char>(text[n]);
        if (c >= 0x80) {
            // JSON is UTF-8: a well-formed character passes, ill-formed bytes
            // become one U+FFFD each maximal subpart, as most decoders read them.
            const Utf8Sequence sequence = Utf8SequenceAt(text, n);
            if (!sequence.wellFormed) {
                out.append(text, plain, n - plain);
                AppendUtf8(out, 0xFFFD);
                plain = n + sequence.length;
            }
            n += sequence.length - 1;
            continue;
        }
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(text, plain, n - plain);
        plain = n + 1;
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            }
        }
    }
    out.append(text, plain, std::string::npos);
    out += '"';
}

std::string Quote(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 2);
    AppendQuoted(out, text);
    return out;
}

namespace {

class Reader {
 public:
    explicit Reader(const std::string& text) : s_(text) {}

    Object object() {
        Object result;
        skip();
        expect('{');
        skip();
        if (peek() == '}') {
            ++pos_;
        } else {
            for (;;) {
                skip();
                std::string key = string();
                skip();
                expect(':');
                skip();
                if (result.count(key)) fail("key \"" + key + "\" given twice");
                result[key] = value();
                skip();
                if (peek() == ',') {
                    ++pos_;
                    continue;
                }
                expect('}');
                break;
            }
        }
        skip();
        if (pos_ != s_.size()) fail("text after the object");
        return result;
    }

 private:
    [[noreturn]] void fail(const std::string& why) const {
        throw ParseError(why + " at character " + std::to_string(pos_ + 1));
    }
    char peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
    void skip() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r' || s_[pos_] == '\n'))
            ++pos_;
    }
    void expect(char c) {
        if (peek() != c || pos_ >= s_.size()) fail(std::string("expected '") + c + "'");
        ++pos_;
    }
    bool literal(const char* word) {
        const std::string w(word);
        if (s_.compare(pos_, w.size(), w) != 0) return false;
        pos_ += w.size();
        return true;
    }

    unsigned long hex4() {
        if (pos_ + 4 > s_.size()) fail("short \\u escape");
        unsigned long code = 0;
        for (int n = 0; n < 4; ++n) {
            const char c = s_[pos_++];
            code <<= 4;
            if (c >= '0' && c <= '9') code |= c - '0';
            else if (c >= 'a' && c <= 'f') code |= c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') code |= c - 'A' + 10;
            else fail("bad \\u escape");
        }
        return code;
    }

    std::string string() {
        expect('"');
        std::string out;
        for (;;) {
            if (pos_ >= s_.size()) fail("unterminated string");
            const char c = s_[pos_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) fail("control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size()) fail("unterminated escape");
            const char e = s_[pos_++];
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    unsigned long code = hex4();
                    if (code >= 0xD800 && code < 0xDC00 && literal("\\u")) {
                        const unsigned long low = hex4();
                        if (low < 0xDC00 || low > 0xDFFF) fail("bad surrogate pair");
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    } else if (code >= 0xD800 && code < 0xE000) {
                        fail("lone surrogate");
                    }
                    AppendUtf8(out, static_cast<std::uint32_t>(code));
                    break;
                }
                default: fail("bad escape");
            }
        }
    }

    std::string number() {
        const std::size_t start = pos_;
        if (peek() == '-') ++pos_;
        while (pos_ < s_.size() && std::string("0123456789.eE+-").find(s_[pos_]) != std::string::npos) ++pos_;
        if (pos_ == start) fail("expected a value");
        return s_.substr(start, pos_ - start);
    }

    Value value() {
        const char c = peek();
        if (c == '"') return string();
        if (literal("true")) return true;
        if (literal("false")) return false;
        if (literal("null")) return std::monostate{};
        if (c == '[') {
            ++pos_;
            std::vector<std::string> items;
            skip();
            if (peek() == ']') {
                ++pos_;
                return items;
            }
            for (;;) {
                skip();
                items.push_back(peek() == '"' ? string() : number());
                skip();
                if (peek() == ',') {
                    ++pos_;
                    continue;
                }
                expect(']');
                return items;
            }
        }
        if (c == '{') fail("nested objects are not accepted");
        return number();
    }

    const std::string& s_;
    std::size_t pos_ = 0;
};

}  // namespace

Object ParseObject(const std::string& text) { return Reader(text).object(); }

}  // namespace wormgear::json
