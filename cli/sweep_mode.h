// wormcalc --sweep: every combination of the swept fields calculated and
// checked on worker threads, written in order as CSV rows or JSON lines.
#pragma once

#include <iosfwd>

#include "calc/design.h"
#include "cli/outcome_output.h"
#include "sweep/sweep.h"

namespace wormgear {

struct SweepJob {
    SweepPlan plan;
    DesignInputs base;  // the texts of the fields no axis sweeps
    bool roundTeeth = false;
    TCoefficientTable coefficients;
    bool csv = false;  // else JSON lines
    int threads = 1;
    OutcomeTexts texts;  // of the JSON lines (Chinese unless given)
};

// Writes the header (CSV) and one row per combination; returns 1 when a
// combination's calculation failed, else 0. A failed write of `out` stops the
// work and throws OutputError.
int RunSweep(const SweepJob& job, std::ostream& out, char separator);

}  // namespace wormgear
