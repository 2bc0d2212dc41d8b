// The designs the drawing tests and benchmarks draw: drawing/tests/designs.jsonl,
// one per line with wormcalc's batch keys and a name: the worked example, each
// ratio class, designs with an E value, with whole enveloped teeth and of
// large and small centre distances.
#pragma once

#include <string>
#include <vector>

#include "drawing/calculated_design.h"
#include "drawing/drawings.h"

namespace wormgear::testing {

struct TestDesign {
    std::string name;
    DesignInputs inputs;
    bool roundTeeth = false;
    TCoefficientTable coefficients;
};

std::vector<TestDesign> TestDesigns();
TestDesign WorkedExampleDesign();

// The design calculated with '.' as separator; fails the test when it does
// not calculate.
CalculatedDesign Calculated(const TestDesign& design);

// The particulars of a design whose designer gave none: every default, for
// the title's file name and date.
ShopParticulars NoParticulars(const CalculatedDesign& design, const TitleBlock& title);

}  // namespace wormgear::testing
