// What wormcalc writes of a calculated design besides its lines: the JSON
// object of an outcome with its design checks, and the findings as text.
#pragma once

#include <array>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "calc/checks.h"
#include "calc/design.h"

namespace wormgear {

// The constant texts of the JSON objects in one language, translated once
// for a whole run or batch (a batch writes 34 lines per design): each result
// line's beginning up to its value, and each result's translated name. The
// default is Chinese.
class OutcomeTexts {
 public:
    explicit OutcomeTexts(Translate translate = {});
    const Translate& translate() const { return translate_; }
    const std::string& lineStart(std::size_t result) const { return lineStarts_[result]; }
    const std::string& resultName(std::size_t result) const { return names_[result]; }

 private:
    Translate translate_;
    std::array<std::string, kResultCount> lineStarts_;
    std::array<std::string, kResultCount> names_;
};

// {"error": ..., "inputs": {...}, "lines": [...], "checks": [...]} and a
// newline: "error" only on failure, "inputs" (the texts of the fields the
// calculation reads, numbers with '.') only when `inputs` is given. A line is
// a shown value (AppendShownValueJson) in panel order. A check is
// {"severity", "code", "fields", "message", "suggestion", "values"}: the
// message and suggestion in the texts' language with numbers as the lines
// write them (suggestion "" where there is none), the values as JSON numbers.
// In English the error, the names and the lines' texts are English too
// ("322-----wheel pitch diameter").
void AppendOutcomeJson(std::string& json, const CalculationOutcome& outcome, const std::vector<Finding>& findings,
                       char separator, const DesignInputs* inputs = nullptr,
                       const OutcomeTexts& texts = OutcomeTexts());
// A value the program shows, as a JSON object:
//   {"label":"Label23","symbol":"d2","name":"蜗轮分度圆直径","unit":"mm",
//    "value":322,"text":"322-----蜗轮分度圆直径"}
// `text` is the shown text as the window shows it (numbers with `separator`),
// beginning with the number text of the value, `numberLength` bytes long:
// FormatReal's or FormatInteger's text, which with '.' for the separator is a
// JSON number ("168.728", "6.5E15", "-2") and reads back as the value shown.
// The label, symbol, name and unit are the program's own constants (ASCII,
// or Chinese without quotes, backslashes or control characters) and are
// written as they are.
void AppendShownValueJson(std::string& json, std::string_view label, std::string_view symbol, std::string_view name,
                          std::string_view unit, std::string_view text, std::size_t numberLength, char separator);

// {"checks": [...]} and a newline.
void AppendChecksOnlyJson(std::string& json, const std::vector<Finding>& findings, char separator,
                          const Translate& translate = {});

// What was written to the output did not reach it (a full disk, a closed
// output); what() is the reason the failed write gave ("No space left on
// device"), or empty.
class OutputError : public std::runtime_error {
 public:
    using std::runtime_error::runtime_error;
};

// Throws OutputError when `out` has failed. Called right after writing, so
// that the reason is the failed write's.
void CheckOutput(std::ostream& out);
// Flushes `out`, then CheckOutput.
void FlushOutput(std::ostream& out);

// The findings under a title, one per line with its severity, message and
// code, and its suggestion beneath it; nothing when there is none.
void WriteFindingsText(std::ostream& out, const std::vector<Finding>& findings, char separator,
                       const Translate& translate = {});

}  // namespace wormgear
