// The translation of the sheets' texts.
#include "drawing/drawings_text.h"

#include "calc/language.h"
#include "translations/interface_language.h"

namespace wormgear {

Translate DrawingsTranslation() {
    return [](const char* text) {
        // The names of fields, results and panels have their English twin in
        // the calculation's tables; the drawings' own texts are translated.
        if (InstalledLanguage() == Language::English) {
            const std::string_view english = EnglishTableText(text);
            if (!english.empty()) return std::string(english);
        }
        return DrawingsText::tr(text).toStdString();
    };
}

}  // namespace wormgear
