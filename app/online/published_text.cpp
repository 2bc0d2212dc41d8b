// The published-text rules on plain bytes.
#include "app/online/published_text.h"

#include <algorithm>
#include <cctype>

namespace wormgear {

namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kEndOfTextMark = 26;  // Ctrl-Z, the old DOS end-of-text byte

bool IsControlByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value < 32 || value == 127;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

}  // namespace

std::string FirstLineOf(std::string_view bytes) {
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char byte = bytes[i];
        if (byte == kLineFeed || byte == kEndOfTextMark) break;
        if (byte == kCarriageReturn) {
            if (i + 1 < bytes.size() && bytes[i + 1] == kLineFeed) break;
            continue;  // a lone CR is left out
        }
        line.push_back(byte);
    }
    return line;
}

bool IsPlainTextType(std::string_view contentType) {
    std::string_view mediaType = Trimmed(contentType.substr(0, contentType.find(';')));
    if (mediaType.empty()) return Trimmed(contentType).empty();
    constexpr std::string_view kPlainText = "text/plain";
    return std::equal(mediaType.begin(), mediaType.end(), kPlainText.begin(), kPlainText.end(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

bool HoldsMarkup(std::string_view line) { return line.find_first_of("<>") != std::string_view::npos; }

bool IsSaneVersion(std::string_view firstLine) {
    return !firstLine.empty() && firstLine.size() <= kMaxVersionBytes &&
           std::none_of(firstLine.begin(), firstLine.end(), IsControlByte) && !HoldsMarkup(firstLine);
}

}  // namespace wormgear
