// The three parameter sheets (worm, hob, wheel): which window texts and record
// values go into which cells, the non-interactive write used by wormcalc, and
// the window's export command with its save dialog, progress dialog and
// failure message.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "design.h"
#include "dialogs.h"

namespace wormgear {

enum class SheetKind { Worm, Hob, Wheel };

// The window texts the sheets read, exactly as they stand at export time.
// The defaults are the window's initial texts of the fields no calculation reads.
struct SheetInputTexts {
    std::string Edit1;   // centre distance
    std::string Edit3;   // wheel teeth
    std::string Edit4;   // worm starts
    std::string Edit9 = "8j (GB/T16445-1996)";   // worm accuracy grade
    std::string Edit10 = "8j (GB/T16445-1996)";  // hob accuracy grade
    std::string Edit11 = "0.3*P/2";              // entrance relief
    std::string Edit12 = "0.2*P/2";              // exit relief
    std::string Edit13 = "0.2";                  // grinding increment
};

struct SheetCell {
    int row;
    int column;
    std::string text;
};

// The cells of a sheet in writing order. Record values become FormatReal
// text, the worm sheet's modification set-up values rounded to 0.001 first:
// for the worked example the worm sheet's row 18 reads "200.644".
std::vector<SheetCell> SheetCells(SheetKind kind, const SheetInputTexts& texts, const TWormDesign& design);

const char* TemplateName(SheetKind kind);      // "1.xls", "11.xls", "1111.xls"
const char* ProposedFileName(SheetKind kind);  // "rudar", "gundao", "wolun"

// Opens the template, fills the sheet's cells and saves under `outputPath`
// (a name without extension receives ".xlsx"). Throws WorkbookError on any
// failure, and then no file has been written.
void WriteSheet(SheetKind kind, const SheetInputTexts& texts, const TWormDesign& design,
                const std::string& templatePath, const std::string& outputPath);

class TForm2;

// The window's export command (Button6Click, Button11Click, Button13Click and
// their menu items): the template from `programDirectory`, the save dialog
// with the proposed name, the progress dialog while the file is written, and
// the one failure message, after which a progress dialog already shown stays
// up until the user dismisses it.
void ExportSheet(SheetKind kind, const SheetInputTexts& texts, const TWormDesign& design,
                 const QString& programDirectory, Dialogs& dialogs, TForm2& progress);

// "导出文件错误,或者您还没安装EXCEL,请核实后重试........."
QString ExportFailureMessage();

}  // namespace wormgear
