// The three parameter sheets (worm, hob, wheel): which input texts and record
// values go into which cells of which template, and the writing of a sheet
// from its template. No window: the window's export command and wormcalc both
// write through here.
#pragma once

#include <string>
#include <vector>

#include "calc/checks.h"
#include "calc/design.h"
#include "calc/language.h"
#include "export/workbook.h"

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
// the worm sheet's row 18 reads "200.644". The sheet's own word, the hand,
// is "右", translated in wormgear::Sheets ("Right").
std::vector<SheetCell> SheetCells(SheetKind kind, const DesignInputs& inputs, const TWormDesign& design,
                                  char decimalSeparator, const Translate& translate = {});

// "1.xls", "11.xls", "1111.xls"; the English ones "1_en.xls", "11_en.xls",
// "1111_en.xls", which the build makes from the Chinese templates and the
// catalogue (context wormgear::Sheets), hold the same cells under English names.
const char* TemplateName(SheetKind kind, Language language = Language::Chinese);
const char* ProposedFileName(SheetKind kind);  // "rudar", "gundao", "wolun"

// A sheet of a design whose checks found an error says so in the row below
// the template's own, held red and bold by the template: ChecksErrorMark, then
// each error's message ("设计检查有错误：主基圆直径 Db = 400 超出…"). Empty
// when no finding is an error.
int ChecksNoteRow(SheetKind kind);  // 25, 17, 21
std::string ChecksNoteText(const std::vector<Finding>& findings, char decimalSeparator,
                           const Translate& translate = {});

// Puts the sheet's cells into `book`: the texts that are plain decimal
// numbers as number cells showing the same text, the others as text cells
// (Workbook::SetCellValue), so that spreadsheet programs calculate with the
// values; and the note of the checks' errors, when `findings` has any.
void FillSheet(Workbook& book, SheetKind kind, const DesignInputs& inputs, const TWormDesign& design,
               char decimalSeparator, const Translate& translate = {}, const std::vector<Finding>& findings = {});

// Opens the template, fills the sheet's cells and saves under
// SpreadsheetFileName(outputPath) ("rudar" -> "rudar.xlsx", "hob1.xls" ->
// "hob1.xlsx"), which it returns. Throws WorkbookError on any failure, and
// then no file has been written.
std::string WriteSheet(SheetKind kind, const DesignInputs& inputs, const TWormDesign& design, char decimalSeparator,
                       const std::string& templatePath, const std::string& outputPath, const Translate& translate = {},
                       const std::vector<Finding>& findings = {});

}  // namespace wormgear
