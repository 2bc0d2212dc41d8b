// The three parameter sheets (worm, hob, wheel): which input texts and record
// values go into which cells of which template, and the writing of a sheet
// from its template. No window: the window's export command and wormcalc both
// write through here.
#pragma once

#include <string>
#include <vector>

#include "calc/design.h"

namespace wormgear {

enum class SheetKind { Worm, Hob, Wheel };

struct SheetCell {
    int row;
    int column;
    std::string text;
};

// The cells of a sheet in writing order: input texts as they stand, record
// values as FormatReal text with `decimalSeparator`, the worm sheet's
// modification set-up values rounded to 0.001 first: for the worked example
// the worm sheet's row 18 reads "200.644".
std::vector<SheetCell> SheetCells(SheetKind kind, const DesignInputs& inputs, const TWormDesign& design,
                                  char decimalSeparator);

const char* TemplateName(SheetKind kind);      // "1.xls", "11.xls", "1111.xls"
const char* ProposedFileName(SheetKind kind);  // "rudar", "gundao", "wolun"

// Opens the template, fills the sheet's cells and saves under `outputPath`
// (a name without extension receives ".xlsx"). Throws WorkbookError on any
// failure, and then no file has been written.
void WriteSheet(SheetKind kind, const DesignInputs& inputs, const TWormDesign& design, char decimalSeparator,
                const std::string& templatePath, const std::string& outputPath);

}  // namespace wormgear
