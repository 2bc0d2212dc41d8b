// The table of calculated designs in comma-separated values.
#include "sweep/design_table.h"

#include <algorithm>
#include <array>

#include "calc/text.h"

namespace wormgear {

const std::vector<DesignField>& TableFields() {
    static const std::vector<DesignField> fields = [] {
        std::vector<DesignField> calculated;
        for (const DesignFieldDescription& field : DesignFields()) {
            if (field.calculated) calculated.push_back(field.field);
        }
        return calculated;
    }();
    return fields;
}

std::string DesignTableHeader() {
    std::string header;
    for (DesignField field : TableFields()) {
        header += DesignFields()[static_cast<int>(field)].option;
        header += ',';
    }
    for (const ResultDescription& result : Results()) {
        header += result.symbol;
        header += ',';
    }
    header += "check\n";
    return header;
}

void AppendCsvField(std::string& csv, std::string_view text) {
    // The table is UTF-8 whatever a text holds, as JSON is.
    if (!IsValidUtf8(text)) {
        AppendCsvField(csv, WithValidUtf8(text));
        return;
    }
    const bool plain = std::none_of(text.begin(), text.end(),
                                    [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
    if (plain) {
        csv.append(text);
        return;
    }
    csv += '"';
    for (char c : text) {
        if (c == '"') csv += '"';
        csv += c;
    }
    csv += '"';
}

std::string_view WithPoint(std::string_view number, char separator, std::string& buffer) {
    if (separator == '.' || number.find(separator) == std::string_view::npos) return number;
    buffer.assign(number);
    std::replace(buffer.begin(), buffer.end(), separator, '.');
    return buffer;
}

std::string_view FieldTextWithPoint(const std::string& text, char separator, std::string& buffer) {
    if (separator == '.' || text.find(separator) == std::string::npos) return text;
    try {
        ParseReal(text, separator);
    } catch (const NumericError&) {
        return text;
    }
    return WithPoint(text, separator, buffer);
}

std::string WorstFindingText(const Finding* worst) {
    if (!worst) return "";
    return std::string(SeverityName(worst->severity())) + ":" + worst->id();
}

void AppendDesignRow(std::string& csv, const DesignInputs& inputs, const CalculationOutcome& outcome,
                     const Finding* worst, char separator) {
    std::string buffer;
    for (DesignField field : TableFields()) {
        AppendCsvField(csv, FieldTextWithPoint(FieldText(inputs, field), separator, buffer));
        csv += ',';
    }
    // The numbers and the check gathered in one buffer and appended at once:
    // each number is at most kNumberTextCapacity long.
    std::array<const ResultLine*, kResultCount> placed{};
    for (const ResultLine& line : outcome.lines) placed[static_cast<std::size_t>(line.id)] = &line;
    char cells[kResultCount * (kNumberTextCapacity + 1) + 96];
    char* out = cells;
    for (const ResultLine* line : placed) {
        if (line) {
            const std::string_view number = line->number();
            for (char c : number) *out++ = c == separator ? '.' : c;
        }
        *out++ = ',';
    }
    if (worst) {
        const std::string_view severity = SeverityName(worst->severity()), id = worst->id();
        out = std::copy(severity.begin(), severity.end(), out);
        *out++ = ':';
        out = std::copy(id.begin(), id.end(), out);
    }
    *out++ = '\n';
    csv.append(cells, static_cast<std::size_t>(out - cells));
}

}  // namespace wormgear
