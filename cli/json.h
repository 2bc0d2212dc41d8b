// The little JSON wormcalc needs: string escaping for its output, and a reader
// for the flat objects of its batch input ({"key": "text", "flag": true,
// "list": ["a", "b"]}).
#pragma once

#include <map>
#include <stdexcept>
#include <string>
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

}  // namespace wormgear::json
