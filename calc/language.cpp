// The English twins of the tables' names, found by their Chinese text.
#include "calc/language.h"

#include "calc/checks.h"
#include "calc/fields.h"
#include "calc/results.h"

namespace wormgear {

namespace {

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string_view EnglishTableText(std::string_view chinese) {
    if (chinese.empty()) return {};
    for (const DesignFieldDescription& field : DesignFields())
        if (chinese == field.name) return field.english;
    for (const ResultDescription& result : Results())
        if (chinese == result.name()) return result.english;
    for (const PanelDescription& panel : Panels())
        if (Trimmed(chinese) == Trimmed(panel.caption)) return Trimmed(panel.englishCaption);
    if (chinese == "齿") return "teeth";
    if (chinese == ChecksErrorMark(Language::Chinese)) return ChecksErrorMark(Language::English);
    return {};
}

}  // namespace wormgear
