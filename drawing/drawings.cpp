// The three drawings: dispatch, names, table rows and title blocks.
#include "drawing/drawings.h"

#include <cctype>
#include <cmath>

#include "calc/numeric.h"
#include "drawing/drawing_parts.h"
#include "drawing/drawing_texts.h"
#include "drawing/sheet_layout.h"
#include "particulars/particulars.h"

#ifndef WORMGEAR_VERSION
#error "WORMGEAR_VERSION names the program's version"
#endif

namespace wormgear {

namespace {

drawing::Sheet BuildSheet(DrawingKind kind, const CalculatedDesign& design, const drawing::ShopContext& context) {
    switch (kind) {
        case DrawingKind::Worm: return drawing::BuildWormSheet(design, context);
        case DrawingKind::Wheel: return drawing::BuildWheelSheet(design, context);
        case DrawingKind::Hob: return drawing::BuildHobSheet(design, context);
    }
    return {};
}

}  // namespace

drawing::Sheet BuildDrawing(DrawingKind kind, const CalculatedDesign& design, const TitleBlock& title,
                            const ShopParticulars& shop, const ToleranceTable& tolerances, const Translate& translate) {
    drawing::Sheet sheet = BuildSheet(kind, design, {title, shop, tolerances, translate});
    if (design.hasErrors()) {
        // In the 8 mm the views leave free under the frame's upper edge, left
        // of the parameter table: the first thing a reader of the sheet sees.
        drawing::SheetBuilder b(sheet);
        drawing::PlaceOnPaper(b);
        const drawing::Rect inner = drawing::FrameInner({sheet.width, sheet.height});
        b.text({inner.left + 4, inner.top - 6.5}, kWarningTextHeight, drawing::Tr(translate, kChecksErrorMark),
               drawing::HAlign::Left, drawing::VAlign::Baseline, 0, drawing::Layer::Warning);
    }
    return sheet;
}

std::optional<FileFormat> FormatOfPath(const std::string& path) {
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return std::nullopt;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == "dxf") return FileFormat::Dxf;
    if (extension == "svg") return FileFormat::Svg;
    if (extension == "pdf") return FileFormat::Pdf;
    return std::nullopt;
}

const char* DrawingName(DrawingKind kind) {
    switch (kind) {
        case DrawingKind::Worm: return texts::kWormDrawing;
        case DrawingKind::Wheel: return texts::kWheelDrawing;
        case DrawingKind::Hob: return texts::kHobDrawing;
    }
    return "";
}

std::string ProgramNameAndVersion() { return std::string("wormgear ") + WORMGEAR_VERSION; }

namespace drawing {

namespace {

TableRow ResultRow(const CalculatedDesign& design, ResultId id, const Translate& translate) {
    const ResultDescription& result = Result(id);
    return {Tr(translate, result.name()), result.symbol, design.shown(id), Tr(translate, result.unit)};
}

TableRow FieldRow(const CalculatedDesign& design, DesignField field, const Translate& translate) {
    const DesignFieldDescription& description = DesignFields()[static_cast<std::size_t>(field)];
    return {Tr(translate, description.name), description.symbol, design.field(field), Tr(translate, description.unit)};
}

}  // namespace

TableRow TextRow(const char* name, const std::string& value, const Translate& translate) {
    return {Tr(translate, name), "", value, ""};
}

std::vector<TableRow> Rows(const CalculatedDesign& design, std::initializer_list<RowSource> sources,
                           const Translate& translate) {
    std::vector<TableRow> rows;
    rows.reserve(sources.size());
    for (const RowSource& source : sources) {
        if (const auto* result = std::get_if<ResultId>(&source)) rows.push_back(ResultRow(design, *result, translate));
        else if (const auto* field = std::get_if<DesignField>(&source))
            rows.push_back(FieldRow(design, *field, translate));
        else rows.push_back(std::get<TableRow>(source));
    }
    return rows;
}

std::string DeviationText(const std::optional<double>& micrometres, char separator, const Translate& translate) {
    if (!micrometres) return Tr(translate, texts::kMissing);
    const std::string number = FormatReal(*micrometres, separator);
    return *micrometres > 0 ? "+" + number : number;
}

namespace {

// A deviation the table holds as one value for both sides ("±30"), or a
// tolerance that has no sign (a runout): the table's µm, or 未填.
std::string SymmetricText(const std::optional<double>& micrometres, char separator, const Translate& translate) {
    if (!micrometres) return Tr(translate, texts::kMissing);
    return "±" + FormatReal(std::abs(*micrometres), separator);
}
std::string ToleranceText(const std::optional<double>& micrometres, char separator, const Translate& translate) {
    return micrometres ? FormatReal(*micrometres, separator) : Tr(translate, texts::kMissing);
}

}  // namespace

void AppendShopRows(std::vector<TableRow>& rows, DrawingKind kind, const CalculatedDesign& c,
                    const ShopContext& context) {
    const Translate& translate = context.translate;
    const TWormDesign& d = c.design;
    const auto row = [&](const char* name, const char* symbol, std::string value, const char* unit) {
        rows.push_back({Tr(translate, name), symbol, std::move(value), unit});
    };
    if (kind != DrawingKind::Wheel) {
        // R3-rounded values of the record, written as the window writes its
        // numbers; the worm's axial pitch is the wheel's circular pitch p.
        row(texts::kAddendum, "ha", FormatReal(d.Addendum, c.decimalSeparator), texts::kMillimetre);
        row(texts::kDedendum, "hf", FormatReal(d.Dedendum, c.decimalSeparator), texts::kMillimetre);
        if (kind == DrawingKind::Worm)
            row(texts::kAxialPitch, "px", FormatReal(d.CircularPitch, c.decimalSeparator), texts::kMillimetre);
    }
    row(texts::kMateDrawingNumber, "", context.shop.piece(PieceOf(kind)).mateDrawingNumber, "");
    if (kind == DrawingKind::Hob) return;
    // The pair's grade is the worm's accuracy text (the wheel's table shows it too).
    const auto tolerances = TolerancesFor(context.tolerances, c.field(DesignField::WormAccuracy), d.CentreDistance);
    const bool worm = kind == DrawingKind::Worm;
    const auto value = [&](ToleranceQuantity q) { return tolerances[static_cast<std::size_t>(q)]; };
    row(texts::kThicknessUpper, worm ? "Ess1" : "Ess2",
        DeviationText(value(worm ? ToleranceQuantity::WormThicknessUpper : ToleranceQuantity::WheelThicknessUpper),
                      c.decimalSeparator, translate),
        texts::kMicrometre);
    row(texts::kThicknessLower, worm ? "Esi1" : "Esi2",
        DeviationText(value(worm ? ToleranceQuantity::WormThicknessLower : ToleranceQuantity::WheelThicknessLower),
                      c.decimalSeparator, translate),
        texts::kMicrometre);
    row(texts::kRadialRunout, worm ? "Fr1" : "Fr2",
        ToleranceText(value(worm ? ToleranceQuantity::WormRunout : ToleranceQuantity::WheelRunout), c.decimalSeparator,
                      translate),
        texts::kMicrometre);
    if (worm) return;
    // The pair's: the wheel is placed in the housing to them.
    row(texts::kCentreDistanceDeviation, "fa",
        SymmetricText(value(ToleranceQuantity::CentreDistance), c.decimalSeparator, translate), texts::kMicrometre);
    row(texts::kMidPlaneDeviation, "fx",
        SymmetricText(value(ToleranceQuantity::MidPlane), c.decimalSeparator, translate), texts::kMicrometre);
}

std::string DrawingNumber(DrawingKind kind, const TitleBlock& title) {
    // The parts are in the order of the drawings.
    return DefaultDrawingNumber(static_cast<Piece>(kind), title.design);
}

TitleContent MakeTitle(DrawingKind kind, double scale, const ShopContext& context) {
    const ShopParticulars& shop = context.shop;
    const Translate& translate = context.translate;
    const char* part = kind == DrawingKind::Worm    ? texts::kWormPart
                       : kind == DrawingKind::Wheel ? texts::kWheelPart
                                                    : texts::kHobPart;
    const PieceParticulars& piece = shop.piece(PieceOf(kind));
    TitleContent title;
    title.part = Tr(translate, part);
    title.scale = ScaleText(scale);
    title.drawingNumber = piece.drawingNumber.text;
    title.material = piece.material.text;
    title.company = shop.company.text;
    title.designer = shop.designer.text;
    title.checker = shop.checker.text;
    title.approver = shop.approver.text;
    title.date = shop.date.text;
    title.program = context.title.program;
    return title;
}

}  // namespace drawing
}  // namespace wormgear
