// The two languages of the program's texts. Chinese is the program's own;
// English is the twin every text of the calculation's tables carries beside it
// (field and result names, panel captions, messages, design checks).
#pragma once

#include <cstdint>

namespace wormgear {

enum class Language : std::uint8_t { Chinese, English };

}  // namespace wormgear

#include <string_view>

namespace wormgear {

// The English twin of a name the calculation's tables hold, as the drawings,
// the report and the sheets hand them to their translation: a field's name
// ("中心距" -> "centre distance"), a result's name ("蜗轮分度圆直径" ->
// "wheel pitch diameter"), a panel's caption without its blanks, a unit
// ("齿" -> "teeth"), the design checks' error mark. Empty for any other text.
std::string_view EnglishTableText(std::string_view chinese);

}  // namespace wormgear
