// What wormcalc writes of a calculated design besides its lines: the JSON
// object of an outcome with its design checks, and the findings as text.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "calc/checks.h"
#include "calc/design.h"

namespace wormgear {

// {"error": ..., "inputs": {...}, "lines": [...], "checks": [...]} and a
// newline: "error" only on failure, "inputs" (the texts of the fields the
// calculation reads, numbers with '.') only when `inputs` is given. A check is
// {"severity", "code", "fields", "message", "suggestion", "values"}: the
// message and suggestion in Chinese with numbers as the lines write them
// (suggestion "" where there is none), the values as JSON numbers.
void AppendOutcomeJson(std::string& json, const CalculationOutcome& outcome, const std::vector<Finding>& findings,
                       char separator, const DesignInputs* inputs = nullptr);
// {"checks": [...]} and a newline.
void AppendChecksOnlyJson(std::string& json, const std::vector<Finding>& findings, char separator);

// The findings under a title, one per line with its severity, message and
// code, and its suggestion beneath it; nothing when there is none.
void WriteFindingsText(std::ostream& out, const std::vector<Finding>& findings, char separator);

}  // namespace wormgear
