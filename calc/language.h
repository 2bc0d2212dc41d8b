// The two languages of the program's texts. Chinese is the program's own;
// English is the catalogue's translation (translations/wormgear_en.ts), which
// reaches the code as a Translate function (calc/translate.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calc/translate.h"

namespace wormgear {

enum class Language : std::uint8_t { Chinese, English };

// A name of the calculation's tables, found by its Chinese text as the
// drawings, the report and the sheets hand it to their translation, and
// translated in its own context: a field's name ("中心距" -> "centre
// distance"), a result's name ("蜗轮分度圆直径" -> "wheel pitch diameter"), a
// panel's caption without its blanks, a field's unit ("齿" -> "teeth"), the
// design checks' error mark. Nothing for any other text.
std::optional<std::string> TranslatedTableText(std::string_view chinese, const Translate& translate);

}  // namespace wormgear
