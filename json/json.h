// The little JSON the programs need: string escaping for wormcalc's output and
// the report's attached design, and a reader for the flat objects of
// wormcalc's batch input ({"key": "text", "flag": true, "list": ["a", "b"]}).
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace wormgear::json {

class ParseError : public std::runtime_error {
 public:
    using std::runtime_error::runtime_error;
};

// A value of a flat object: text, number (kept as its text), boolean, null
// (std::monostate) or a list of texts and numbers.
using Value = std::variant<std::monostate, std::string, bool, std::vector<std::string>>;
using Object = std::map<std::string, Value>;

// "a\"b" -> "\"a\\\"b\""; UTF-8 passes through unchanged, and bytes that are
// not UTF-8 become U+FFFD (one for each maximal subpart, WithValidUtf8's
// rule), so the output is UTF-8 whatever the text: "a\xFF" -> "\"a�\"".
std::string Quote(const std::string& text);
void AppendQuoted(std::string& out, const std::string& text);

// Parses one flat object; nested objects are refused. Numbers are returned as
// their text in a std::string. Throws ParseError with a reason.
Object ParseObject(const std::string& text);

// The same reading into storage kept from object to object, so that a batch
// of similar lines allocates nothing once the first has made room. The
// members stay in the order the text gives them; InKeyOrder() lists them as
// an Object would iterate them.
class FlatObject {
 public:
    struct Member {
        std::string key;
        Value value;
    };

    // Reads `text` as ParseObject does, with the same errors at the same
    // places; after an error the object is empty.
    void Parse(std::string_view text);

    std::size_t size() const { return count_; }
    const Member& operator[](std::size_t n) const { return members_[n]; }
    // The members sorted by key.
    const std::vector<const Member*>& InKeyOrder();

 private:
    friend class Reader;
    std::vector<Member> members_;
    std::size_t count_ = 0;
    std::vector<const Member*> sorted_;
};

}  // namespace wormgear::json
