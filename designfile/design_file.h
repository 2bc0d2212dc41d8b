// Design files (".cqb"): a workbook whose active sheet holds the thirteen
// input texts in column 1, rows 1 to 13, in the order of DesignFields(). New
// design files start from the template "111.xls" beside the program. No
// window: the window's commands and wormcalc both read and write through here.
#pragma once

#include <string>

#include "calc/fields.h"
#include "export/workbook.h"

namespace wormgear {

inline constexpr const char* kDesignTemplateName = "111.xls";

// The thirteen texts of a design file, each cell read as text (empty, a
// number's FormatReal text with `decimalSeparator`, or the text). Throws
// WorkbookError when the file cannot be read as a workbook.
DesignInputs ReadDesignFile(const std::string& path, char decimalSeparator);

// Puts the thirteen texts, unchecked and exactly as typed, into rows 1..13 of
// column 1 of `book`'s active sheet.
void PutDesignInputs(Workbook& book, const DesignInputs& inputs);

}  // namespace wormgear
