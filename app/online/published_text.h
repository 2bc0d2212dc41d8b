// The rules for the two one-line texts the vendor's server publishes (the
// version and the notice), on bytes as they came: where the first line ends,
// what a plain-text response is, and what may count as a version. No Qt.
//
//   FirstLineOf("7.6\r\n8")       -> "7.6"
//   IsSaneVersion("7.7")          -> true
//   IsSaneVersion("<!DOCTYPE html>") -> false
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wormgear {

// The bytes up to, not including, the first LF, the first CR LF, the first
// byte 26 (the old end-of-text mark) or the end; a CR not followed by LF is
// left out. "7.6\r\n8" -> "7.6", "7.\r6" -> "7.6", "" -> "".
std::string FirstLineOf(std::string_view bytes);

// A response's Content-Type says plain text: none was sent, or text/plain
// with any parameters, in any letter case. "text/plain; charset=GBK" -> true,
// "text/html" -> false.
bool IsPlainTextType(std::string_view contentType);

// A line holds markup when it holds '<' or '>': what an HTML page, an XML
// error or a captive portal sends, never a version or a notice.
bool HoldsMarkup(std::string_view line);

// The longest first line that can be a version text.
inline constexpr std::size_t kMaxVersionBytes = 64;

// A published first line counts as a version only when it is not empty, at
// most kMaxVersionBytes long, holds no control byte (below 32, or 127) and no
// markup. Other bytes (GB18030, UTF-8) are taken as they are.
bool IsSaneVersion(std::string_view firstLine);

}  // namespace wormgear
