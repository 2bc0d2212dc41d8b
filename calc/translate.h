// How a text reaches the language of an output. Every text the user sees is
// written once, in Chinese, where it is used, under a context that names the
// part of the program it belongs to ("wormgear::Checks"); its English lives
// only in the catalogue, translations/wormgear_en.ts. The libraries without
// Qt mark their texts with QT_TRANSLATE_NOOP, so that lupdate finds them,
// and are handed a Translate function by their caller:
//
//   Translate translate = InterfaceTranslation();   // or {} for Chinese
//   Translated(translate, kChecksContext, "设计检查")   // "Design checks"
//   Translated({}, kChecksContext, "设计检查")          // "设计检查"
//
// The windows and wormcalc make it from QCoreApplication::translate with the
// program's .qm installed (InterfaceTranslation, translations/interface_language.h); a program or test
// without Qt reads the .ts itself (translations/catalogue.h).
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

// lupdate finds each text by this marker and files it under its context; in
// the libraries without Qt the marker is the text itself, as in Qt.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x  // spelled as Qt spells it: a repeat is no redefinition
#endif

namespace wormgear {

// A text of `context`, Chinese as written, in the output's language: the
// catalogue's translation, or the text itself where it has none. An empty
// function keeps every text Chinese.
using Translate = std::function<std::string(const char* context, const char* source)>;

inline std::string Translated(const Translate& translate, const char* context, const char* source) {
    return translate ? translate(context, source) : std::string(source);
}

// The contexts of the calculation's texts; lupdate reads the literal at each
// QT_TRANSLATE_NOOP, so these only name them for the code that translates.
inline constexpr const char* kFieldsContext = "wormgear::Fields";            // the thirteen fields' names
inline constexpr const char* kResultsContext = "wormgear::Results";          // result names, panel captions
inline constexpr const char* kCalculationContext = "wormgear::Calculation";  // the calculation's messages
inline constexpr const char* kChecksContext = "wormgear::Checks";            // the design checks
inline constexpr const char* kDrawingsContext = "wormgear::Drawings";        // drawings, report, particulars
inline constexpr const char* kSheetsContext = "wormgear::Sheets";            // the sheet templates' cells

// `form` with each {name} replaced by its value: ("{a} to {b}", {{"a", "1"},
// {"b", "2"}}) -> "1 to 2". A name without a value stays as written.
std::string FillNames(std::string_view form,
                      std::initializer_list<std::pair<std::string_view, std::string_view>> values);

}  // namespace wormgear
