// Reading the test designs.
#include "drawing/testing/test_designs.h"

#include <fstream>
#include <stdexcept>

#include "json/json.h"

namespace wormgear::testing {

std::vector<TestDesign> TestDesigns() {
    std::ifstream file(WORMGEAR_TEST_DESIGNS);
    if (!file) throw std::runtime_error("cannot read " WORMGEAR_TEST_DESIGNS);
    std::vector<TestDesign> designs;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty()) continue;
        TestDesign design;
        for (const auto& [key, value] : json::ParseObject(line)) {
            if (key == "name") design.name = std::get<std::string>(value);
            else if (key == "round-teeth") design.roundTeeth = std::get<bool>(value);
            else if (key == "coefficients") {
                const auto& list = std::get<std::vector<std::string>>(value);
                for (std::size_t k = 0; k < list.size() && k < design.coefficients.c.size(); ++k)
                    design.coefficients.c[k] = std::stod(list[k]);
            } else if (const DesignFieldDescription* field = FieldByOption(key)) {
                design.inputs.*field->text = std::get<std::string>(value);
            } else {
                throw std::runtime_error("unknown key " + key);
            }
        }
        designs.push_back(std::move(design));
    }
    return designs;
}

TestDesign WorkedExampleDesign() { return TestDesigns().front(); }

CalculatedDesign Calculated(const TestDesign& design) {
    const CalculationOutcome outcome = Calculate(design.inputs, design.roundTeeth, design.coefficients, '.');
    auto calculated = CalculatedDesign::From(design.inputs, design.roundTeeth, design.coefficients, outcome, '.');
    if (!calculated) throw std::runtime_error(design.name + " does not calculate: " + outcome.failure);
    return *calculated;
}

ShopParticulars NoParticulars(const CalculatedDesign& design, const TitleBlock& title) {
    return ResolveParticulars({}, design.design, title.design, title.date, design.decimalSeparator);
}

}  // namespace wormgear::testing
