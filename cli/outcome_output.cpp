// JSON and text of a calculated design's outcome and checks.
#include "cli/outcome_output.h"

#include <array>
#include <ostream>

#include "cli/json.h"
#include "sweep/design_table.h"

namespace wormgear {

namespace {

void AppendChecks(std::string& json, const std::vector<Finding>& findings, char separator) {
    json += "\"checks\":[";
    bool firstFinding = true;
    for (const Finding& finding : findings) {
        json += firstFinding ? "{\"severity\":\"" : ",{\"severity\":\"";
        firstFinding = false;
        json += SeverityName(finding.severity());
        json += "\",\"code\":\"";
        json += finding.id();  // codes need no escaping
        json += "\",\"fields\":[";
        bool firstField = true;
        for (DesignField field : FieldsOf(Describe(finding.code).fields)) {
            json += firstField ? "\"" : ",\"";
            firstField = false;
            json += DesignFields()[static_cast<int>(field)].option;
            json += '"';
        }
        json += "],\"message\":";
        json::AppendQuoted(json, FindingMessage(finding, Language::Chinese, separator));
        json += ",\"suggestion\":";
        json::AppendQuoted(json, FindingSuggestion(finding, Language::Chinese, separator));
        json += ",\"values\":{";
        bool firstValue = true;
        char number[kNumberTextCapacity];
        for (const FindingValue& value : FindingValues(finding)) {
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

void AppendOutcomeJson(std::string& json, const CalculationOutcome& outcome, const std::vector<Finding>& findings,
                       char separator, const DesignInputs* inputs) {
    json += '{';
    if (!outcome.succeeded()) {
        json += "\"error\":";
        json::AppendQuoted(json, outcome.failure);
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
            const std::string& text = FieldText(*inputs, field);
            json::AppendQuoted(json, std::string(WithPoint(text, separator, buffer)));
        }
        json += "},";
    }
    json += "\"lines\":[";
    std::array<const ResultLine*, kResultCount> placed{};
    for (const ResultLine& line : outcome.lines) placed[static_cast<std::size_t>(line.id)] = &line;
    // A line is a number text and a fixed suffix: nothing in it needs an
    // escape unless the decimal separator itself does.
    const unsigned char point = static_cast<unsigned char>(separator);
    const bool plain = point >= 0x20 && point != '"' && point != '\\';
    bool first = true;
    for (std::size_t n = 0; n < placed.size(); ++n) {
        if (!placed[n]) continue;
        json.append(first ? "{\"label\":\"" : ",{\"label\":\"");
        first = false;
        json.append(Results()[n].label);  // label names need no escaping
        if (plain) {
            json.append("\",\"text\":\"").append(placed[n]->text).append("\"}");
        } else {
            json.append("\",\"text\":");
            json::AppendQuoted(json, placed[n]->text);
            json += '}';
        }
    }
    json += "],";
    AppendChecks(json, findings, separator);
    json += "}\n";
}

void AppendChecksOnlyJson(std::string& json, const std::vector<Finding>& findings, char separator) {
    json += '{';
    AppendChecks(json, findings, separator);
    json += "}\n";
}

void WriteFindingsText(std::ostream& out, const std::vector<Finding>& findings, char separator) {
    if (findings.empty()) return;
    const Language zh = Language::Chinese;
    out << ChecksTitle(zh) << '\n';
    for (const Finding& finding : findings) {
        out << SeverityWord(finding.severity(), zh) << "：" << FindingMessage(finding, zh, separator) << "（"
            << finding.id() << "）\n";
        const std::string suggestion = FindingSuggestion(finding, zh, separator);
        if (!suggestion.empty()) out << "    " << SuggestionWord(zh) << "：" << suggestion << '\n';
    }
}

}  // namespace wormgear
