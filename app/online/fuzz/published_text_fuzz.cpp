// libFuzzer target over what a server's bytes go through before the window
// shows anything: the first-line rule, the version check's sanity rule, the
// Content-Type test and the notice's decoding and cleaning. Each rule's
// promise is checked on every input, so a broken promise is a crash.
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/online/online.h"
#include "app/online/published_text.h"

namespace {

void Require(bool promise) {
    if (!promise) std::abort();
}

bool Hidden(char32_t c) {
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0x061c || c == 0x200e || c == 0x200f ||
           (c >= 0x2028 && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string line = wormgear::FirstLineOf(bytes);
    Require(line.size() <= bytes.size());
    Require(line.find_first_of(std::string_view("\n\r\x1a", 3)) == std::string::npos);
    // The line is the input's start with its lone CRs left out.
    std::string prefix;
    for (const char byte : bytes.substr(0, bytes.find_first_of(std::string_view("\n\x1a", 2))))
        if (byte != '\r') prefix.push_back(byte);
    Require(prefix.starts_with(line));

    if (wormgear::IsSaneVersion(line)) {
        Require(!line.empty() && line.size() <= wormgear::kMaxVersionBytes);
        Require(!wormgear::HoldsMarkup(line));
        for (const char byte : line) Require(static_cast<unsigned char>(byte) >= 32 && byte != 127);
    }
    (void)wormgear::IsPlainTextType(bytes);

    const std::optional<QString> notice = wormgear::NoticeText(QByteArrayView(line.data(), qsizetype(line.size())));
    Require(notice.has_value() != wormgear::HoldsMarkup(line));
    if (notice) {
        Require(notice->size() <= wormgear::kMaxNoticeCharacters);
        for (const char32_t c : notice->toUcs4()) Require(!Hidden(c) && c != U'<' && c != U'>');
    }
    return 0;
}
