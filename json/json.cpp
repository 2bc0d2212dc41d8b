// JSON quoting and the flat-object reader of the batch input.
#include "json/json.h"

#include <algorithm>
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

// The length of the well-formed two- or three-byte character at `n`
// (U+0080..U+FFFF without the surrogates), 0 for anything else, which
// Utf8SequenceAt then reads: most of the checks' texts are Chinese.
std::size_t PlainTwoOrThreeBytes(const std::string& text, std::size_t n) {
    auto continuation = [&](std::size_t k) {
        return k < text.size() && (static_cast<unsigned char>(text[k]) & 0xC0) == 0x80;
    };
    const unsigned char lead = static_cast<unsigned char>(text[n]);
    if (lead >= 0xC2 && lead <= 0xDF) return continuation(n + 1) ? 2 : 0;
    if (lead < 0xE0 || lead > 0xEF || !continuation(n + 1) || !continuation(n + 2)) return 0;
    const unsigned char second = static_cast<unsigned char>(text[n + 1]);
    if (lead == 0xE0 && second < 0xA0) return 0;  // an overlong form
    if (lead == 0xED && second > 0x9F) return 0;  // a surrogate
    return 3;
}

}  // namespace

void AppendQuoted(std::string& out, const std::string& text) {
    out += '"';
    std::size_t plain = 0;  // start of the run not yet copied
    for (std::size_t n = 0; n < text.size(); ++n) {
        // A run of well-formed three-byte characters, which pass as they
        // are: leads E1..EC and EE..EF take any continuation bytes (E0's
        // overlong forms and ED's surrogates are left to the checks below);
        // the Chinese characters and the full-width punctuation are here.
        while (n + 3 <= text.size()) {
            const unsigned lead = static_cast<unsigned char>(text[n]);
            const unsigned second = static_cast<unsigned char>(text[n + 1]);
            const unsigned third = static_cast<unsigned char>(text[n + 2]);
            if (lead < 0xE1 || lead > 0xEF || lead == 0xED || (second & 0xC0) != 0x80 || (third & 0xC0) != 0x80) break;
            n += 3;
        }
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
            if (const std::size_t length = PlainTwoOrThreeBytes(text, n)) {
                n += length - 1;  // a character the run above stopped short of
                continue;
            }
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

// Reads one object into a FlatObject's kept members: each text goes into a
// string that keeps its room from the line before.
class Reader {
 public:
    Reader(std::string_view text, FlatObject& into) : s_(text), into_(into) {}

    void object() {
        into_.count_ = 0;
        skip();
        expect('{');
        skip();
        if (peek() == '}') {
            ++pos_;
        } else {
            for (;;) {
                skip();
                if (into_.count_ == into_.members_.size()) into_.members_.emplace_back();
                FlatObject::Member& member = into_.members_[into_.count_];
                string(member.key);
                skip();
                expect(':');
                skip();
                for (std::size_t n = 0; n < into_.count_; ++n) {
                    if (into_.members_[n].key == member.key) fail("key \"" + member.key + "\" given twice");
                }
                value(member.value);
                ++into_.count_;
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
    }

 private:
    [[noreturn]] void fail(const std::string& why) const {
        into_.count_ = 0;
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
    bool literal(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
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

    void string(std::string& out) {
        expect('"');
        out.clear();
        for (;;) {
            // The run of plain bytes up to the next quote, backslash or control character.
            std::size_t plain = pos_;
            while (plain < s_.size()) {
                const unsigned char c = static_cast<unsigned char>(s_[plain]);
                if (c == '"' || c == '\\' || c < 0x20) break;
                ++plain;
            }
            out.append(s_.data() + pos_, plain - pos_);
            pos_ = plain;
            if (pos_ >= s_.size()) fail("unterminated string");
            const char c = s_[pos_++];
            if (c == '"') return;
            if (static_cast<unsigned char>(c) < 0x20) fail("control character in a string");
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

    void number(std::string& out) {
        const std::size_t start = pos_;
        if (peek() == '-') ++pos_;
        while (pos_ < s_.size() && std::strchr("0123456789.eE+-", s_[pos_]) != nullptr && s_[pos_] != '\0') ++pos_;
        if (pos_ == start) fail("expected a value");
        out.assign(s_.data() + start, pos_ - start);
    }

    // A text into `value`, using the string it may hold already.
    std::string& text(Value& value) {
        if (auto* held = std::get_if<std::string>(&value)) return *held;
        return value.emplace<std::string>();
    }

    void value(Value& value) {
        const char c = peek();
        if (c == '"') return string(text(value));
        if (literal("true")) {
            value = true;
            return;
        }
        if (literal("false")) {
            value = false;
            return;
        }
        if (literal("null")) {
            value = std::monostate{};
            return;
        }
        if (c == '[') {
            ++pos_;
            auto* held = std::get_if<std::vector<std::string>>(&value);
            std::vector<std::string>& items = held ? *held : value.emplace<std::vector<std::string>>();
            std::size_t count = 0;
            skip();
            if (peek() == ']') {
                ++pos_;
                items.clear();
                return;
            }
            for (;;) {
                skip();
                if (count == items.size()) items.emplace_back();
                if (peek() == '"') string(items[count]);
                else number(items[count]);
                ++count;
                skip();
                if (peek() == ',') {
                    ++pos_;
                    continue;
                }
                expect(']');
                items.resize(count);
                return;
            }
        }
        if (c == '{') fail("nested objects are not accepted");
        number(text(value));
    }

    std::string_view s_;
    FlatObject& into_;
    std::size_t pos_ = 0;
};

void FlatObject::Parse(std::string_view text) { Reader(text, *this).object(); }

const std::vector<const FlatObject::Member*>& FlatObject::InKeyOrder() {
    sorted_.clear();
    for (std::size_t n = 0; n < count_; ++n) sorted_.push_back(&members_[n]);
    std::sort(sorted_.begin(), sorted_.end(), [](const Member* a, const Member* b) { return a->key < b->key; });
    return sorted_;
}

Object ParseObject(const std::string& text) {
    FlatObject flat;
    flat.Parse(text);
    Object result;
    for (std::size_t n = 0; n < flat.size(); ++n) result.emplace(flat[n].key, flat[n].value);
    return result;
}

}  // namespace wormgear::json
