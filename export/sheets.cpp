// Cell tables of the worm, hob and wheel sheets and the writing of a sheet.
#include "export/sheets.h"

namespace wormgear {
namespace {

// Number texts as the result lines show them, and the sheet's one word.
struct Numbers {
    char separator;
    // The rotation hand of every pair this program designs.
    const char* rightHand;
    // The number text of a record value.
    std::string operator()(Extended value) const { return FormatReal(value, separator); }
    // The worm sheet's set-up values are kept unrounded in the record and
    // shown, like their result lines, to 0.001.
    std::string rounded(Real value) const { return FormatReal(DecimalRound(value, -3), separator); }
};

std::vector<SheetCell> WormCells(const DesignInputs& texts, const TWormDesign& d, Numbers number) {
    return {
        {2, 3, texts.WormStarts},
        {3, 3, texts.WheelTeeth},
        {4, 3, number(d.TransverseModule)},
        {5, 3, number(d.EnvelopedTeeth)},
        {6, 3, d.GeneratingPlaneAngleText},
        {7, 3, number(d.WorkingHalfWrapAngle)},
        {8, 3, number(d.ThroatLeadAngle)},
        {9, 3, number(d.PressureAngle)},
        {10, 2, number.rightHand},
        {11, 2, texts.WormAccuracy},
        {12, 3, number(d.WormMeasuredThickness)},
        {13, 3, number(d.WormMeasuredHeight)},
        {14, 3, texts.EntranceRelief},
        {15, 3, texts.ExitRelief},
        // row 16 is the template's own
        {17, 3, texts.GrindingIncrement},
        {18, 3, number.rounded(d.ModificationCentreDistance)},
        {19, 3, number(d.ModificationRatio)},
        {20, 3, number.rounded(d.ModificationBaseDiameter)},
        {21, 3, number.rounded(d.GrindingWheelAngle)},
    };
}

std::vector<SheetCell> HobCells(const DesignInputs& texts, const TWormDesign& d, Numbers number) {
    return {
        {2, 3, texts.WormStarts},
        {3, 3, texts.WheelTeeth},
        {4, 3, number(d.TransverseModule)},
        {5, 3, number(d.HobEnvelopingTeeth)},
        {6, 3, d.GeneratingPlaneAngleText},
        {7, 3, number(d.WorkingHalfWrapAngle)},
        {8, 3, number(d.ThroatLeadAngle)},
        {9, 3, number(d.PressureAngle)},
        {10, 2, number.rightHand},
        {11, 2, texts.HobAccuracy},
        // The hob's measured thickness, summed here in Extended exactly as the
        // calculation sums it for its result line.
        {12, 3, number(static_cast<Extended>(d.WormMeasuredThickness) + d.Backlash)},
        {13, 3, number(d.HobMeasuredHeight)},
    };
}

std::vector<SheetCell> WheelCells(const DesignInputs& texts, const TWormDesign& d, Numbers number) {
    return {
        {2, 3, texts.WormStarts},
        {3, 3, texts.WheelTeeth},
        {4, 3, number(d.TransverseModule)},
        {5, 3, number(d.ThroatLeadAngle)},
        {6, 3, number(d.PressureAngle)},
        {7, 3, number(d.WorkingHalfWrapAngle)},
        {8, 3, number(static_cast<Extended>(d.PressureAngle) - d.WorkingHalfWrapAngle)},
        {9, 3, d.GeneratingPlaneAngleText},
        {10, 2, number.rightHand},
        {11, 3, number(d.EnvelopedTeeth)},
        {12, 3, number(d.Backlash)},
        {13, 3, number(d.WheelMeasuredHeight)},
        {14, 3, number(d.WheelMeasuredThickness)},
        {15, 3, texts.CentreDistance},
        {16, 3, ""},  // cleared, whatever the template holds there
        {17, 3, number(d.MainBaseDiameter)},
    };
}

}  // namespace

std::vector<SheetCell> SheetCells(SheetKind kind, const DesignInputs& inputs, const TWormDesign& design,
                                  char decimalSeparator, const Translate& translate) {
    const std::string hand = Translated(translate, kSheetsContext, QT_TRANSLATE_NOOP("wormgear::Sheets", "右"));
    const Numbers numbers{decimalSeparator, hand.c_str()};
    switch (kind) {
        case SheetKind::Worm: return WormCells(inputs, design, numbers);
        case SheetKind::Hob: return HobCells(inputs, design, numbers);
        case SheetKind::Wheel: return WheelCells(inputs, design, numbers);
    }
    return {};
}

const char* TemplateName(SheetKind kind, Language language) {
    const bool english = language == Language::English;
    switch (kind) {
        case SheetKind::Worm: return english ? "1_en.xls" : "1.xls";
        case SheetKind::Hob: return english ? "11_en.xls" : "11.xls";
        case SheetKind::Wheel: return english ? "1111_en.xls" : "1111.xls";
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

int ChecksNoteRow(SheetKind kind) {
    // Two rows below each template's last note.
    switch (kind) {
        case SheetKind::Worm: return 25;
        case SheetKind::Hob: return 17;
        case SheetKind::Wheel: return 21;
    }
    return 0;
}

std::string ChecksNoteText(const std::vector<Finding>& findings, char decimalSeparator, const Translate& translate) {
    if (!HasErrors(findings)) return {};
    // The mark, a colon, the errors separated by semicolons, with the
    // language's own punctuation.
    const std::string lead = Translated(translate, kSheetsContext,
                                        QT_TRANSLATE_NOOP("wormgear::Sheets", "{mark}：{error}"));
    const std::string more = Translated(translate, kSheetsContext,
                                        QT_TRANSLATE_NOOP("wormgear::Sheets", "{errors}；{error}"));
    std::string text;
    for (const Finding& finding : findings) {
        if (finding.severity() != Severity::Error) break;
        const std::string message = FindingMessage(finding, translate, decimalSeparator);
        text = text.empty() ? FillNames(lead, {{"mark", ChecksErrorMark(translate)}, {"error", message}})
                            : FillNames(more, {{"errors", text}, {"error", message}});
    }
    return text;
}

void FillSheet(Workbook& book, SheetKind kind, const DesignInputs& inputs, const TWormDesign& design,
               char decimalSeparator, const Translate& translate, const std::vector<Finding>& findings) {
    for (const SheetCell& cell : SheetCells(kind, inputs, design, decimalSeparator, translate))
        book.SetCellValue(cell.row, cell.column, cell.text, decimalSeparator);
    const std::string note = ChecksNoteText(findings, decimalSeparator, translate);
    if (!note.empty()) book.SetCellText(ChecksNoteRow(kind), 1, note);
}

std::string WriteSheet(SheetKind kind, const DesignInputs& inputs, const TWormDesign& design, char decimalSeparator,
                       const std::string& templatePath, const std::string& outputPath, const Translate& translate,
                       const std::vector<Finding>& findings) {
    Workbook book = Workbook::Open(templatePath);
    FillSheet(book, kind, inputs, design, decimalSeparator, translate, findings);
    book.SaveAs(outputPath);
    return book.Path();
}

}  // namespace wormgear
