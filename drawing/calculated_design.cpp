// Taking a successful calculation apart into the texts the drawings show.
#include "drawing/calculated_design.h"

#include <cstring>

namespace wormgear {

std::optional<CalculatedDesign> CalculatedDesign::From(const DesignInputs& inputs, bool roundEnvelopedTeeth,
                                                       const TCoefficientTable& coefficients,
                                                       const CalculationOutcome& outcome, char decimalSeparator) {
    if (!outcome.succeeded()) return std::nullopt;
    CalculatedDesign calculated;
    std::array<bool, kResultCount> written{};
    for (const ResultLine& line : outcome.lines) {
        const auto n = static_cast<std::size_t>(line.id);
        const char* suffix = Result(line.id).suffix;
        const std::size_t suffixLength = std::strlen(suffix);
        // A line is its number text directly followed by its suffix.
        if (line.text.size() < suffixLength ||
            line.text.compare(line.text.size() - suffixLength, suffixLength, suffix) != 0)
            return std::nullopt;
        calculated.numbers[n] = line.text.substr(0, line.text.size() - suffixLength);
        written[n] = true;
    }
    for (bool w : written)
        if (!w) return std::nullopt;
    calculated.inputs = inputs;
    calculated.roundEnvelopedTeeth = roundEnvelopedTeeth;
    calculated.coefficients = coefficients;
    calculated.design = outcome.design;
    calculated.decimalSeparator = decimalSeparator;
    calculated.findings = CheckDesign(inputs, coefficients, outcome, decimalSeparator);
    return calculated;
}

}  // namespace wormgear
