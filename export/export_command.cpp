// The export command of the window.
#include "export/export_command.h"

#include <new>

#include "export/progress_dialog.h"
#include "export/workbook.h"
#include "files/qt_path.h"
#include "translations/interface_language.h"

namespace wormgear {

// The export command shares the translation context of its progress dialog.
QString ExportFailureMessage() { return TForm2::tr("导出文件错误,或者您还没安装EXCEL,请核实后重试........."); }

QString SheetFileFilter() { return TForm2::tr("Excel 工作簿") + QStringLiteral(" (*.xlsx *.xls)"); }

void ExportSheet(SheetKind kind, const DesignInputs& inputs, const TWormDesign& design, char decimalSeparator,
                 const QString& programDirectory, Dialogs& dialogs, TForm2& progress,
                 const std::vector<Finding>& findings) {
    try {
        // The sheet in the interface's language: its template and its words.
        const Language language = InstalledLanguage();
        Workbook book = Workbook::Open(LocalPath(ProgramFile(programDirectory, TemplateName(kind, language))));
        FillSheet(book, kind, inputs, design, decimalSeparator, InterfaceTranslation(), findings);

        // "rudar.xlsx": the proposal under the name the file will have.
        std::optional<QString> chosen = dialogs.saveFileName(
            SheetFileFilter(), QString::fromStdString(SpreadsheetFileName(ProposedFileName(kind))));
        if (chosen) {
            progress.show();
            // The name the dialog returned, its extension made to tell what
            // the file holds: "hob1.xls" is written as "hob1.xlsx", a name
            // without one gets ".xlsx".
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
