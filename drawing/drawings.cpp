// The three drawings: dispatch, names, table rows and title blocks.
#include "drawing/drawings.h"

#include <cctype>

#include "drawing/drawing_parts.h"
#include "drawing/drawing_texts.h"
#include "drawing/sheet_layout.h"
#include "particulars/particulars.h"

#ifndef WORMGEAR_VERSION
#error "WORMGEAR_VERSION names the program's version"
#endif

namespace wormgear {

namespace {

drawing::Sheet BuildSheet(DrawingKind kind, const CalculatedDesign& design, const TitleBlock& title,
                          const Translate& translate) {
    switch (kind) {
        case DrawingKind::Worm: return drawing::BuildWormSheet(design, title, translate);
        case DrawingKind::Wheel: return drawing::BuildWheelSheet(design, title, translate);
        case DrawingKind::Hob: return drawing::BuildHobSheet(design, title, translate);
    }
    return {};
}

}  // namespace

drawing::Sheet BuildDrawing(DrawingKind kind, const CalculatedDesign& design, const TitleBlock& title,
                            const Translate& translate) {
    drawing::Sheet sheet = BuildSheet(kind, design, title, translate);
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

std::string DrawingNumber(DrawingKind kind, const TitleBlock& title) {
    // The parts are in the order of the drawings.
    return DefaultDrawingNumber(static_cast<Piece>(kind), title.design);
}

TitleContent MakeTitle(DrawingKind kind, double scale, const TitleBlock& title, const Translate& translate) {
    const char* part = kind == DrawingKind::Worm    ? texts::kWormPart
                       : kind == DrawingKind::Wheel ? texts::kWheelPart
                                                    : texts::kHobPart;
    return {Tr(translate, part),
            ScaleText(scale),
            title.design.empty() ? Tr(translate, texts::kUnsavedDesign) : title.design,
            DrawingNumber(kind, title),
            title.date,
            title.program};
}

}  // namespace drawing
}  // namespace wormgear
