// JSON and text of a calculated design's outcome and checks.
#include "cli/outcome_output.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <ostream>
#include <utility>

#include "json/json.h"
#include "sweep/design_table.h"

namespace wormgear {

namespace {

// The constant beginning of each check's object, up to its message, made
// once: a batch writes it for every finding of every design.
const std::array<std::string, kCheckCodeCount>& CheckStarts() {
    static const std::array<std::string, kCheckCodeCount> starts = [] {
        std::array<std::string, kCheckCodeCount> made;
        for (int code = 0; code < kCheckCodeCount; ++code) {
            const CheckDescription& check = CheckDescriptions()[static_cast<std::size_t>(code)];
            std::string& json = made[static_cast<std::size_t>(code)];
            json += "{\"severity\":\"";
            json += SeverityName(check.severity);
            json += "\",\"code\":\"";
            json += check.id;  // codes need no escaping
            json += "\",\"fields\":[";
            bool firstField = true;
            for (DesignField field : FieldsOf(check.fields)) {
                json += firstField ? "\"" : ",\"";
                firstField = false;
                json += DesignFields()[static_cast<int>(field)].option;
                json += '"';
            }
            json += "],\"message\":";
        }
        return made;
    }();
    return starts;
}

void AppendChecks(std::string& json, const std::vector<Finding>& findings, char separator, const Translate& translate) {
    json += "\"checks\":[";
    bool firstFinding = true;
    for (const Finding& finding : findings) {
        if (!firstFinding) json += ',';
        firstFinding = false;
        json += CheckStarts()[static_cast<std::size_t>(finding.code)];
        // Kept per thread, as a batch's workers write design after design.
        thread_local std::string text;
        thread_local std::vector<FindingValue> values;
        FindingMessageInto(text, finding, translate, separator);
        json::AppendQuoted(json, text);
        json += ",\"suggestion\":";
        FindingSuggestionInto(text, finding, translate, separator);
        json::AppendQuoted(json, text);
        json += ",\"values\":{";
        bool firstValue = true;
        char number[kNumberTextCapacity];
        FindingValues(finding, values);
        for (const FindingValue& value : values) {
            json += firstValue ? "\"" : ",\"";
            firstValue = false;
            json.append(value.name);
            json += "\":";
            json.append(number, FormatReal(value.number, '.', number));
        }
        json += "}}";
    }
    json += ']';
}

}  // namespace

namespace {

void AppendShownValueStart(std::string& json, std::string_view label, std::string_view symbol, std::string_view name,
                           std::string_view unit) {
    json.append("{\"label\":\"").append(label);
    json.append("\",\"symbol\":\"").append(symbol);
    json.append("\",\"name\":\"").append(name);
    json.append("\",\"unit\":\"").append(unit);
    json.append("\",\"value\":");
}

void AppendValueAndText(std::string& json, std::string_view text, std::size_t numberLength, char separator) {
    const std::size_t start = json.size();
    json.append(text.substr(0, numberLength));
    if (separator != '.') std::replace(json.begin() + static_cast<std::ptrdiff_t>(start), json.end(), separator, '.');
    // The text is a number text and a constant suffix: nothing in it needs
    // an escape unless the separator itself does (or is not ASCII).
    const unsigned char point = static_cast<unsigned char>(separator);
    if (point >= 0x20 && point < 0x80 && point != '"' && point != '\\') {
        json.append(",\"text\":\"").append(text).append("\"}");
    } else {
        json.append(",\"text\":");
        json::AppendQuoted(json, std::string(text));
        json += '}';
    }
}

// The same for a line whose name is a translation: its text always quoted.
void AppendTranslatedValueAndText(std::string& json, const std::string& text, std::size_t numberLength,
                                  char separator) {
    const std::size_t start = json.size();
    json.append(text, 0, numberLength);
    if (separator != '.') std::replace(json.begin() + static_cast<std::ptrdiff_t>(start), json.end(), separator, '.');
    json.append(",\"text\":");
    json::AppendQuoted(json, text);
    json += '}';
}

}  // namespace

OutcomeTexts::OutcomeTexts(Translate translate) : translate_(std::move(translate)) {
    for (std::size_t n = 0; n < names_.size(); ++n) {
        const ResultDescription& result = Results()[n];
        names_[n] = ResultName(result, translate_);
        if (!translate_) {
            AppendShownValueStart(lineStarts_[n], result.label, result.symbol, names_[n], result.unit);
            continue;
        }
        // A translation is no constant of the program's: quoted as any text.
        std::string& start = lineStarts_[n];
        start.append("{\"label\":\"").append(result.label);
        start.append("\",\"symbol\":\"").append(result.symbol).append("\",\"name\":");
        json::AppendQuoted(start, names_[n]);
        start.append(",\"unit\":\"").append(result.unit).append("\",\"value\":");
    }
}

void AppendShownValueJson(std::string& json, std::string_view label, std::string_view symbol, std::string_view name,
                          std::string_view unit, std::string_view text, std::size_t numberLength, char separator) {
    AppendShownValueStart(json, label, symbol, name, unit);
    AppendValueAndText(json, text, numberLength, separator);
}

void AppendOutcomeJson(std::string& json, const CalculationOutcome& outcome, const std::vector<Finding>& findings,
                       char separator, const DesignInputs* inputs, const OutcomeTexts& texts) {
    json += '{';
    if (!outcome.succeeded()) {
        json += "\"error\":";
        json::AppendQuoted(json, CalculationMessage(outcome.failure, texts.translate()));
        json += ',';
    }
    if (inputs) {
        json += "\"inputs\":{";
        std::string buffer;
        bool first = true;
        for (DesignField field : TableFields()) {
            json += first ? "\"" : ",\"";
            first = false;
            json += DesignFields()[static_cast<int>(field)].option;
            json += "\":";
            json::AppendQuoted(json, std::string(FieldTextWithPoint(FieldText(*inputs, field), separator, buffer)));
        }
        json += "},";
    }
    json += "\"lines\":[";
    std::array<const ResultLine*, kResultCount> placed{};
    for (const ResultLine& line : outcome.lines) placed[static_cast<std::size_t>(line.id)] = &line;
    bool first = true;
    for (std::size_t n = 0; n < placed.size(); ++n) {
        if (!placed[n]) continue;
        if (!first) json += ',';
        first = false;
        json += texts.lineStart(n);
        if (texts.translate()) {
            // The same number and hyphens before the translated name.
            const ResultLine& line = *placed[n];
            std::string text(line.number());
            text.append(static_cast<std::size_t>(Results()[n].hyphens), '-');
            text += texts.resultName(n);
            AppendTranslatedValueAndText(json, text, line.number().size(), separator);
        } else {
            AppendValueAndText(json, placed[n]->text, placed[n]->number().size(), separator);
        }
    }
    json += "],";
    AppendChecks(json, findings, separator, texts.translate());
    json += "}\n";
}

void AppendChecksOnlyJson(std::string& json, const std::vector<Finding>& findings, char separator,
                          const Translate& translate) {
    json += '{';
    AppendChecks(json, findings, separator, translate);
    json += "}\n";
}

void CheckOutput(std::ostream& out) {
    if (out) return;
    const int reason = errno;
    throw OutputError(reason != 0 ? std::strerror(reason) : "");
}

void FlushOutput(std::ostream& out) {
    if (out) {
        errno = 0;  // what the flush's own write reports
        out.flush();
    }
    CheckOutput(out);
}

void WriteFindingsText(std::ostream& out, const std::vector<Finding>& findings, char separator,
                       const Translate& translate) {
    if (findings.empty()) return;
    // The Chinese full-width punctuation, or the translation's.
    const std::string line = Translated(translate, kChecksContext,
                                        QT_TRANSLATE_NOOP("wormgear::Checks", "{severity}：{message}（{code}）"));
    const std::string suggestionLine = Translated(translate, kChecksContext,
                                                  QT_TRANSLATE_NOOP("wormgear::Checks", "{suggestion}：{text}"));
    out << ChecksTitle(translate) << '\n';
    for (const Finding& finding : findings) {
        const std::string severity = SeverityWord(finding.severity(), translate);
        const std::string message = FindingMessage(finding, translate, separator);
        out << FillNames(line, {{"severity", severity}, {"message", message}, {"code", finding.id()}}) << '\n';
        const std::string suggestion = FindingSuggestion(finding, translate, separator);
        if (!suggestion.empty())
            out << "    "
                << FillNames(suggestionLine, {{"suggestion", SuggestionWord(translate)}, {"text", suggestion}}) << '\n';
    }
}

}  // namespace wormgear
