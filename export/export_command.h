// The window's export command (Button6Click, Button11Click, Button13Click and
// their menu items): the template beside the program, the save dialog with the
// proposed name, the progress dialog while the file is written, and the one
// failure message.
#pragma once

#include <QString>

#include "calc/design.h"
#include "dialogs/dialogs.h"
#include "export/sheets.h"

namespace wormgear {

class TForm2;

// The dialog proposes "rudar.xlsx" (gundao, wolun); the file is written under
// SpreadsheetFileName of the chosen name, so "hob1.xls" becomes "hob1.xlsx".
// A failure shows the one message with the file and the reason beneath it;
// a progress dialog already shown stays up until the user dismisses it.
// `findings` are the design's checks: their errors go into the sheet's note.
void ExportSheet(SheetKind kind, const DesignInputs& inputs, const TWormDesign& design, char decimalSeparator,
                 const QString& programDirectory, Dialogs& dialogs, TForm2& progress,
                 const std::vector<Finding>& findings = {});

// "导出文件错误,或者您还没安装EXCEL,请核实后重试........."
QString ExportFailureMessage();

// The save dialog's filter: "Excel 工作簿 (*.xlsx *.xls)".
QString SheetFileFilter();

}  // namespace wormgear
