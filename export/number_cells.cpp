// Number texts as number cells.
#include "export/number_cells.h"

#include <cfloat>
#include <cmath>

#include "calc/numeric.h"

namespace wormgear {
namespace {

// The largest magnitude spreadsheet programs hold in a cell; beyond it Excel
// refuses the value.
constexpr double kLargestCellNumber = 9.99999999999999E307;

}  // namespace

std::optional<NumberCell> NumberCellOf(const std::string& text, char decimalSeparator) {
    // A cheap refusal of the texts that are plainly no number ("右", grades):
    // every number text FormatReal writes starts with a digit or a minus sign.
    if (text.empty() || !(text[0] == '-' || (text[0] >= '0' && text[0] <= '9'))) return std::nullopt;
    double value = 0;
    try {
        const Extended parsed = ParseReal(text, decimalSeparator);
        if (!std::isfinite(parsed)) return std::nullopt;
        value = static_cast<double>(parsed);
    } catch (const NumericError&) {
        return std::nullopt;
    }
    const double magnitude = std::fabs(value);
    if (magnitude != 0 && (magnitude < DBL_MIN || magnitude > kLargestCellNumber)) return std::nullopt;
    if (FormatReal(value, decimalSeparator) != text) return std::nullopt;

    // The text is FormatReal's: digits, at most one separator, at most one "E".
    const std::string::size_type exponent = text.find('E');
    const std::string mantissa = text.substr(0, exponent);
    const std::string::size_type point = mantissa.find(decimalSeparator);
    const std::size_t decimals = point == std::string::npos ? 0 : mantissa.size() - point - 1;
    std::string format = decimals == 0 ? "0" : "0." + std::string(decimals, '0');
    if (exponent != std::string::npos) format += "E-0";
    return NumberCell{value, format};
}

}  // namespace wormgear
