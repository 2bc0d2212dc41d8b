// The calculation's chain as a reviewer reads it: every step in the chain's
// order, its rule in symbols, the same rule with the numbers of this design
// put in, and its result, with the coefficient the rule takes. The numbers
// are the record's (every intermediate value is kept there), written as
// FormatReal writes them; the results are the texts the window shows, or the
// record's value where the window shows none. A step's numbers evaluate to
// its result: R3, R2 and R0 round to 0.001, 0.01 and 1, T truncates, angles
// are in degrees (sin, cos and tan take them, asin and atan give them), ^2
// squares.
//
//   FormulaSteps(inputs, record, table, '.')[0]
//   //  {"d2", "蜗轮分度圆直径", "d2 = R3(2·A − d1)", "R3(2 × 200 − 78)", "322", "mm", -1}
#pragma once

#include <string>
#include <vector>

#include "calc/design.h"
#include "calc/translate.h"  // QT_TRANSLATE_NOOP without Qt

namespace wormgear {

struct FormulaStep {
    const char* symbol;    // "d2"
    const char* name;      // Chinese, marked for the translation: "蜗轮分度圆直径"
    std::string rule;      // "d2 = R3(2·A − d1)"
    std::string numbers;   // "R3(2 × 200 − 78)"
    std::string result;    // "322"
    const char* unit;      // "mm", "°" or ""
    int coefficient = -1;  // the c[k] the rule takes, or -1
};

// The steps of a calculation that completed (the record of its outcome).
std::vector<FormulaStep> FormulaSteps(const DesignInputs& inputs, bool roundEnvelopedTeeth, const TWormDesign& design,
                                      const TCoefficientTable& coefficients, char separator);

}  // namespace wormgear
