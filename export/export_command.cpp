// The export command of the window.
#include "export/export_command.h"

#include <new>

#include "export/progress_dialog.h"
#include "export/workbook.h"
#include "files/qt_path.h"

namespace wormgear {

// The export command shares the translation context of its progress dialog.
QString ExportFailureMessage() { return TForm2::tr("导出文件错误,或者您还没安装EXCEL,请核实后重试........."); }

void ExportSheet(SheetKind kind, const DesignInputs& inputs, const TWormDesign& design, char decimalSeparator,
                 const QString& programDirectory, Dialogs& dialogs, TForm2& progress) {
    try {
        Workbook book = Workbook::Open(LocalPath(ProgramFile(programDirectory, TemplateName(kind))));
        for (const SheetCell& cell : SheetCells(kind, inputs, design, decimalSeparator))
            book.SetCellText(cell.row, cell.column, cell.text);

        std::optional<QString> chosen = dialogs.saveFileName(QStringLiteral(".xls"),
                                                             QString::fromUtf8(ProposedFileName(kind)));
        if (chosen) {
            progress.show();
            // The name exactly as the dialog returned it; the component adds
            // ".xlsx" only to a name without extension.
            book.SaveAs(LocalPath(*chosen));
        }
        // The template stays as it was: only SaveAs ever writes.
        progress.close();
    } catch (const std::exception& error) {
        // Every failure of the run gets the one message, with what failed
        // beneath it (the workbook component's sentence names the file and
        // the reason). A progress dialog shown before the failure stays up:
        // the user dismisses it with its button.
        const QString detail = dynamic_cast<const std::bad_alloc*>(&error) ? TForm2::tr("内存不足")
                                                                           : QString::fromUtf8(error.what());
        dialogs.message(ApplicationTitle(), MessageWithDetail(ExportFailureMessage(), detail));
    } catch (...) {
        dialogs.message(ApplicationTitle(), ExportFailureMessage());
    }
}

}  // namespace wormgear
