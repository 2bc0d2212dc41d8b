// The tables' names, found by their Chinese text and translated in their context.
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

std::optional<std::string> TranslatedTableText(std::string_view chinese, const Translate& translate) {
    if (chinese.empty()) return std::nullopt;
    // A field's name before a result's: 主基圆直径 names both.
    for (const DesignFieldDescription& field : DesignFields()) {
        if (chinese == field.name) return FieldName(field, translate);
        // The one unit that is a word (齿); "mm" and "°" read the same in English.
        if (chinese == field.unit && chinese != "mm" && chinese != "°")
            return Translated(translate, kFieldsContext, field.unit);
    }
    for (const ResultDescription& result : Results())
        if (chinese == result.name()) return ResultName(result, translate);
    for (const PanelDescription& panel : Panels())
        if (Trimmed(chinese) == Trimmed(panel.caption)) return std::string(Trimmed(PanelCaption(panel, translate)));
    if (chinese == kChecksErrorMark) return ChecksErrorMark(translate);
    return std::nullopt;
}

}  // namespace wormgear
