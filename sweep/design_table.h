// Calculated designs as a table of comma-separated values, the form
// wormcalc --csv writes and a table of solutions exports: a header row, then
// one row per design. Numbers always use '.', whatever the user's separator.
//
//   centre-distance,speed-ratio,teeth,starts,base-diameter,eccentricity,pitch-diameter,backlash,
//   grinding-increment,d2,E,Rf1,L,...,Dbm,check
//   200,25,50,2,130,0,78,0.3,0.2,322,0,168.728,101,...,130.518,
//   200,25,50,2,400,0,78,0.3,0.2,322,0,168.728,101,,,...,,error:pressure-angle-undefined
//
// The columns: the texts of the nine fields the calculation reads (named by
// their long options), the number of each of the 34 results (named by their
// symbols, empty where a failed run wrote no line), and the worst finding as
// "severity:code" (empty when there is none).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calc/checks.h"
#include "calc/design.h"

namespace wormgear {

// The fields whose texts the table shows, in their order.
const std::vector<DesignField>& TableFields();

// The header row, ending in a newline.
std::string DesignTableHeader();

// One row, ending in a newline, appended to `csv`; `separator` is the one the
// texts were calculated with.
void AppendDesignRow(std::string& csv, const DesignInputs& inputs, const CalculationOutcome& outcome,
                     const Finding* worst, char separator);

// "error:pressure-angle-undefined", "" for none.
std::string WorstFindingText(const Finding* worst);

// A field of a row: as it is, or quoted when it holds a comma, a quote or a
// line break ("a,b" -> "\"a,b\"", a quote doubled); bytes that are not UTF-8
// become U+FFFD (WithValidUtf8), so the table is UTF-8 whatever it holds.
void AppendCsvField(std::string& csv, std::string_view text);

// A number text with '.' for `separator`: "0,65" -> "0.65" for ','.
std::string_view WithPoint(std::string_view number, char separator, std::string& buffer);

// A field's text as machine-readable outputs write it: a text that reads as a
// number with `separator` with '.' ("1,5" -> "1.5" for ','), any other text as
// typed ("1,5x", "8j (GB/T16445-1996)").
std::string_view FieldTextWithPoint(const std::string& text, char separator, std::string& buffer);

}  // namespace wormgear
