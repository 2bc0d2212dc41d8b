// A design whose calculation succeeded, as the drawings and the report take
// it: the thirteen input texts, the round-to-integer state and the
// coefficients it was calculated with, the record, and the number text of
// every result line exactly as the window shows it. A design that was not
// calculated, or whose calculation failed, has no CalculatedDesign, so it can
// never be drawn. It carries its design checks: a design whose checks find an
// error is drawn only when the designer insists, and then marked.
//
//   auto calculated = CalculatedDesign::From(inputs, false, table, Calculate(...), '.');
//   calculated->shown(ResultId::WheelPitchDiameter)   // "322"
//   calculated->field(DesignField::WormAccuracy)       // "8j (GB/T16445-1996)"
#pragma once

#include <array>
#include <optional>
#include <string>

#include "calc/checks.h"
#include "calc/design.h"

namespace wormgear {

struct CalculatedDesign {
    DesignInputs inputs;
    bool roundEnvelopedTeeth = false;
    TCoefficientTable coefficients;
    TWormDesign design;
    // The number text of each result line (the line without its suffix), in
    // the order of Results().
    std::array<std::string, kResultCount> numbers;
    char decimalSeparator = '.';
    // The design checks of the calculation, the worst first.
    std::vector<Finding> findings;

    // Nothing unless the outcome succeeded and wrote every one of the 34 lines.
    static std::optional<CalculatedDesign> From(const DesignInputs& inputs, bool roundEnvelopedTeeth,
                                                const TCoefficientTable& coefficients,
                                                const CalculationOutcome& outcome, char decimalSeparator);

    const std::string& shown(ResultId id) const { return numbers[static_cast<std::size_t>(id)]; }
    const std::string& field(DesignField field) const { return FieldText(inputs, field); }
    // Some check found an error: what is made of the design carries ChecksErrorMark.
    bool hasErrors() const { return HasErrors(findings); }
};

}  // namespace wormgear
