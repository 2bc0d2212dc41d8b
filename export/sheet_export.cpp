// Cell tables of the worm, hob and wheel sheets and the export procedure.
#include "sheet_export.h"

#include <QCoreApplication>
#include <QFile>

#include "progress_dialog.h"
#include "workbook.h"

namespace wormgear {
namespace {

// The number text of a record value, as its result line shows it.
std::string Number(Extended value) { return FormatReal(value); }
// The worm sheet's set-up values are kept unrounded in the record and
// shown, like their result lines, to 0.001.
std::string Rounded(Real value) { return FormatReal(DecimalRound(value, -3)); }

// The rotation hand of every pair this program designs.
const char* const kRightHand = "右";

std::vector<SheetCell> WormCells(const SheetInputTexts& texts, const TWormDesign& d) {
    return {
        {2, 3, texts.Edit4},
        {3, 3, texts.Edit3},
        {4, 3, Number(d.TransverseModule)},
        {5, 3, Number(d.EnvelopedTeeth)},
        {6, 3, d.GeneratingPlaneAngleText},
        {7, 3, Number(d.WorkingHalfWrapAngle)},
        {8, 3, Number(d.ThroatLeadAngle)},
        {9, 3, Number(d.PressureAngle)},
        {10, 2, kRightHand},
        {11, 2, texts.Edit9},
        {12, 3, Number(d.WormMeasuredThickness)},
        {13, 3, Number(d.WormMeasuredHeight)},
        {14, 3, texts.Edit11},
        {15, 3, texts.Edit12},
        // row 16 is the template's own
        {17, 3, texts.Edit13},
        {18, 3, Rounded(d.ModificationCentreDistance)},
        {19, 3, Number(d.ModificationRatio)},
        {20, 3, Rounded(d.ModificationBaseDiameter)},
        {21, 3, Rounded(d.GrindingWheelAngle)},
    };
}

std::vector<SheetCell> HobCells(const SheetInputTexts& texts, const TWormDesign& d) {
    return {
        {2, 3, texts.Edit4},
        {3, 3, texts.Edit3},
        {4, 3, Number(d.TransverseModule)},
        {5, 3, Number(d.HobEnvelopingTeeth)},
        {6, 3, d.GeneratingPlaneAngleText},
        {7, 3, Number(d.WorkingHalfWrapAngle)},
        {8, 3, Number(d.ThroatLeadAngle)},
        {9, 3, Number(d.PressureAngle)},
        {10, 2, kRightHand},
        {11, 2, texts.Edit10},
        // The hob's measured thickness, summed here in Extended exactly as the
        // calculation sums it for its result line.
        {12, 3, Number(static_cast<Extended>(d.WormMeasuredThickness) + d.Backlash)},
        {13, 3, Number(d.HobMeasuredHeight)},
    };
}

std::vector<SheetCell> WheelCells(const SheetInputTexts& texts, const TWormDesign& d) {
    return {
        {2, 3, texts.Edit4},
        {3, 3, texts.Edit3},
        {4, 3, Number(d.TransverseModule)},
        {5, 3, Number(d.ThroatLeadAngle)},
        {6, 3, Number(d.PressureAngle)},
        {7, 3, Number(d.WorkingHalfWrapAngle)},
        {8, 3, Number(static_cast<Extended>(d.PressureAngle) - d.WorkingHalfWrapAngle)},
        {9, 3, d.GeneratingPlaneAngleText},
        {10, 2, kRightHand},
        {11, 3, Number(d.EnvelopedTeeth)},
        {12, 3, Number(d.Backlash)},
        {13, 3, Number(d.WheelMeasuredHeight)},
        {14, 3, Number(d.WheelMeasuredThickness)},
        {15, 3, texts.Edit1},
        {16, 3, ""},  // cleared, whatever the template holds there
        {17, 3, Number(d.MainBaseDiameter)},
    };
}

}  // namespace

std::vector<SheetCell> SheetCells(SheetKind kind, const SheetInputTexts& texts, const TWormDesign& design) {
    switch (kind) {
        case SheetKind::Worm: return WormCells(texts, design);
        case SheetKind::Hob: return HobCells(texts, design);
        case SheetKind::Wheel: return WheelCells(texts, design);
    }
    return {};
}

const char* TemplateName(SheetKind kind) {
    switch (kind) {
        case SheetKind::Worm: return "1.xls";
        case SheetKind::Hob: return "11.xls";
        case SheetKind::Wheel: return "1111.xls";
    }
    return "";
}

const char* ProposedFileName(SheetKind kind) {
    switch (kind) {
        case SheetKind::Worm: return "rudar";
        case SheetKind::Hob: return "gundao";
        case SheetKind::Wheel: return "wolun";
    }
    return "";
}

void WriteSheet(SheetKind kind, const SheetInputTexts& texts, const TWormDesign& design,
                const std::string& templatePath, const std::string& outputPath) {
    Workbook book = Workbook::Open(templatePath);
    for (const SheetCell& cell : SheetCells(kind, texts, design)) book.SetCellText(cell.row, cell.column, cell.text);
    book.SaveAs(outputPath);
}

QString ExportFailureMessage() {
    return QCoreApplication::translate("wormgear::ExportSheet",
                                       "导出文件错误,或者您还没安装EXCEL,请核实后重试.........");
}

void ExportSheet(SheetKind kind, const SheetInputTexts& texts, const TWormDesign& design,
                 const QString& programDirectory, Dialogs& dialogs, TForm2& progress) {
    try {
        QString directory = programDirectory;
        if (!directory.isEmpty() && !directory.endsWith(QLatin1Char('/'))) directory += QLatin1Char('/');
        const QString templatePath = directory + QString::fromUtf8(TemplateName(kind));
        Workbook book = Workbook::Open(QFile::encodeName(templatePath).toStdString());
        for (const SheetCell& cell : SheetCells(kind, texts, design)) book.SetCellText(cell.row, cell.column, cell.text);

        std::optional<QString> chosen = dialogs.saveFileName(QStringLiteral(".xls"), QString::fromUtf8(ProposedFileName(kind)));
        if (chosen) {
            progress.show();
            // The name exactly as the dialog returned it; the component adds
            // ".xlsx" only to a name without extension.
            book.SaveAs(QFile::encodeName(*chosen).toStdString());
        }
        // The template stays as it was: only SaveAs ever writes.
        progress.close();
    } catch (...) {
        // Every failure of the run gets the one message. A progress dialog
        // shown before the failure stays up: the user dismisses it with its
        // button.
        dialogs.message(ApplicationTitle(), ExportFailureMessage());
    }
}

}  // namespace wormgear
