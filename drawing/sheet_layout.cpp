// Frame, title block, parameter tables and standard scales.
#include "drawing/sheet_layout.h"

#include <optional>

#include "calc/language.h"

#include <charconv>
#include <cmath>

#include "drawing/drawing_parts.h"
#include "drawing/drawing_texts.h"

namespace wormgear::drawing {

namespace {

// Column widths of a parameter table: name, symbol, value, unit.
constexpr double kColumns[] = {38, 14, 36, 12};

// 1.5 -> "1.5", 1e7 -> "10000000".
std::string ShortNumber(double value) {
    char buffer[64];
    const auto format = value == std::floor(value) && value < 1e15 ? std::chars_format::fixed
                                                                   : std::chars_format::general;
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format,
                                      format == std::chars_format::fixed ? 0 : 6);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string Tr(const Translate& translate, const char* text) {
    if (!translate) return text;
    // The names of fields, results and panels are translated in the
    // calculation's contexts; the drawings' own texts in wormgear::Drawings.
    if (std::optional<std::string> name = TranslatedTableText(text, translate)) return *std::move(name);
    return translate(kDrawingsContext, text);
}

std::string Tr(const Translate& translate, std::string_view text) { return Tr(translate, std::string(text).c_str()); }

Rect FrameInner(Paper paper) { return {25, 5, paper.width - 5, paper.height - 5}; }

double ChooseScale(double width, double height, double roomWidth, double roomHeight) {
    if (!(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height) || !(roomWidth > 0) ||
        !(roomHeight > 0))
        return 1;
    const double needed = std::max(width / roomWidth, height / roomHeight);
    // Enlargements 10:1, 5:1, 4:1, 2.5:1, 2:1 and their tenfold, then the
    // reductions 1:1 to 1:6 and their tenfold, in model units per paper mm.
    static const double kEnlargements[] = {10, 5, 4, 2.5, 2};
    static const double kReductions[] = {1, 1.5, 2, 2.5, 3, 4, 5, 6};
    for (int decade = 6; decade >= 0; --decade) {
        for (double step : kEnlargements) {
            const double scale = 1 / (step * std::pow(10.0, decade));
            if (scale >= needed) return scale;
        }
    }
    for (int decade = 0; decade <= 12; ++decade) {
        for (double step : kReductions) {
            const double scale = step * std::pow(10.0, decade);
            if (scale >= needed) return scale;
        }
    }
    return std::pow(10.0, 13);
}

double ScaleToFit(const Rect& box, const Rect& room, const Margins& margins) {
    return ChooseScale(box.right - box.left, box.top - box.bottom, room.width() - margins.left - margins.right,
                       room.height() - margins.bottom - margins.top);
}

Point PlaceInRoom(const Rect& box, const Rect& room, const Margins& margins, double scale) {
    // The middle of the room less its margins, in model units, less the middle of the box.
    const Point middle{(room.left + margins.left + room.right - margins.right) / 2 * scale,
                       (room.bottom + margins.bottom + room.top - margins.top) / 2 * scale};
    return middle - Point{(box.left + box.right) / 2, (box.bottom + box.top) / 2};
}

std::string ScaleText(double scale) {
    if (scale >= 1) return "1:" + ShortNumber(scale);
    return ShortNumber(1 / scale) + ":1";
}

void PlaceOnPaper(SheetBuilder& builder) { builder.place({{0, 0}, builder.paper(1)}); }

namespace {

// A title text in its cell: at 3.5 mm where it fits the cell, else wrapped
// into two lines at 2.5 mm, the next height of the series, and squeezed
// where even two lines are too narrow for it: never cut.
void TitleCell(SheetBuilder& b, double x0, double x1, double bottom, double height, const std::string& text,
               double textHeight = kTextHeight) {
    const double room = x1 - x0 - 2, middle = (x0 + x1) / 2;
    if (text.empty()) return;
    if (EstimatedTextWidth(text, textHeight) <= room) {
        b.text({middle, bottom + height / 2}, textHeight, text, HAlign::Centre, VAlign::Middle, 0, Layer::Table, room);
        return;
    }
    double width = room;
    std::vector<std::string> lines = WrappedLines(text, kSmallTextHeight, width);
    while (lines.size() > 2) {
        width *= 1.1;
        lines = WrappedLines(text, kSmallTextHeight, width);
    }
    // Two lines 3.5 mm apart, about the cell's middle.
    const double step = 3.5;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double y = bottom + height / 2 + (lines.size() == 1 ? 0 : (i == 0 ? step / 2 : -step / 2));
        b.text({middle, y}, kSmallTextHeight, lines[i], HAlign::Centre, VAlign::Middle, 0, Layer::Table, room);
    }
}

// "%1. 热处理：%2" with its number and text.
std::string Filled(std::string pattern, const std::string& first, const std::string& second) {
    if (const auto at = pattern.find("%1"); at != std::string::npos) pattern.replace(at, 2, first);
    if (const auto at = pattern.find("%2"); at != std::string::npos) pattern.replace(at, 2, second);
    return pattern;
}

// The 技术要求 block: 5 mm heading, lines at 3.5 mm, 5 mm apart.
constexpr double kRequirementsHeading = 8, kRequirementsLine = 5;

}  // namespace

void DrawFrame(SheetBuilder& b, Paper paper, const TitleContent& title, const Translate& translate) {
    PlaceOnPaper(b);
    const Rect inner = FrameInner(paper);
    // The trimmed sheet edge (thin) and the frame (thick).
    b.outline({{{0, 0}}, {{paper.width, 0}}, {{paper.width, paper.height}}, {{0, paper.height}}}, Layer::Thin);
    b.outline({{{inner.left, inner.bottom}},
               {{inner.right, inner.bottom}},
               {{inner.right, inner.top}},
               {{inner.left, inner.top}}},
              Layer::Frame);

    // Title block, 180 × 32: four rows of 8 mm. The top row names the part
    // and its drawing number; beneath, for each of 设计, 审核 and 批准 the name
    // and beside it the date, the scale (caption 12, entry 32, caption 12,
    // entry 28), and on the right the material, the company and the
    // program (caption 18, entry 78).
    const double left = inner.right - kTitleBlockWidth, bottom = inner.bottom, top = bottom + kTitleBlockHeight;
    const double row = kTitleBlockHeight / 4;
    const double x1 = left + 12, x2 = x1 + 32, x3 = x2 + 12, x4 = x3 + 28, x5 = x4 + 18;
    b.outline({{{left, bottom}}, {{inner.right, bottom}}, {{inner.right, top}}, {{left, top}}}, Layer::Frame);
    for (int r = 1; r < 4; ++r) b.line({left, bottom + r * row}, {inner.right, bottom + r * row}, Layer::Table);
    for (double x : {x1, x2, x3}) b.line({x, bottom}, {x, top - row}, Layer::Table);
    for (double x : {x4, x5}) b.line({x, bottom}, {x, top}, Layer::Table);

    const auto cell = [&](double from, double to, int r, const std::string& text, double height = kTextHeight) {
        TitleCell(b, from, to, bottom + r * row, row, text, height);
    };
    cell(left, x4, 3, title.part, kTitleTextHeight);
    cell(x4, x5, 3, Tr(translate, texts::kDrawingNumber));
    cell(x5, inner.right, 3, title.drawingNumber);
    const struct {
        const char *caption, *middleCaption, *rightCaption;
        const std::string &name, &middle, &right;
    } rows[] = {
        {texts::kDesign, texts::kDate, texts::kMaterial, title.designer, title.date, title.material},
        {texts::kChecker, texts::kScale, texts::kCompanyName, title.checker, title.scale, title.company},
        {texts::kApprover, nullptr, texts::kProgram, title.approver, title.date, title.program},
    };
    for (int r = 2; r >= 0; --r) {
        const auto& line = rows[2 - r];
        cell(left, x1, r, Tr(translate, line.caption));
        cell(x1, x2, r, line.name);
        if (line.middleCaption) {
            cell(x2, x3, r, Tr(translate, line.middleCaption));
            cell(x3, x4, r, line.middle);
        }
        cell(x4, x5, r, Tr(translate, line.rightCaption));
        cell(x5, inner.right, r, line.right);
    }
}

std::vector<std::string> RequirementLines(const PieceParticulars& piece, const Translate& translate) {
    std::vector<std::string> lines;
    for (const std::string& line : piece.requirements)
        if (!line.empty()) lines.push_back(line);
    if (!piece.heatTreatment.text.empty())
        lines.push_back(Filled(Tr(translate, texts::kHeatTreatmentLine), std::to_string(lines.size() + 1),
                               piece.heatTreatment.text));
    return lines;
}

RequirementsBlock LayOutRequirements(Paper paper, const std::vector<std::string>& requirements) {
    const Rect inner = FrameInner(paper);
    RequirementsBlock block;
    const double left = inner.left + 4, right = inner.right - kTitleBlockWidth - 4;
    for (const std::string& line : requirements)
        for (std::string& piece : WrappedLines(line, kTextHeight, right - left - 4)) block.lines.push_back(piece);
    const double height = block.lines.empty()
                              ? 0
                              : kRequirementsHeading + static_cast<double>(block.lines.size()) * kRequirementsLine;
    block.area = {left, inner.bottom + 3, right, inner.bottom + 3 + height};
    return block;
}

void DrawRequirements(SheetBuilder& b, const RequirementsBlock& block, const Translate& translate) {
    if (block.lines.empty()) return;
    PlaceOnPaper(b);
    const Rect& a = block.area;
    b.text({a.left, a.top - 5}, kTitleTextHeight, Tr(translate, texts::kRequirements), HAlign::Left, VAlign::Baseline,
           0, Layer::Text);
    double y = a.top - kRequirementsHeading - kTextHeight;
    for (const std::string& line : block.lines) {
        b.text({a.left + 4, y}, kTextHeight, line, HAlign::Left, VAlign::Baseline, 0, Layer::Text, a.width() - 4);
        y -= kRequirementsLine;
    }
}

double DrawTable(SheetBuilder& b, double right, double top, const std::string& heading,
                 const std::vector<TableRow>& rows, bool columnHeads, const Translate& translate) {
    PlaceOnPaper(b);
    const double left = right - kTableWidth;
    const int count = static_cast<int>(rows.size()) + 1 + (columnHeads ? 1 : 0);
    const double bottom = top - count * kTableRowHeight;
    b.outline({{{left, bottom}}, {{right, bottom}}, {{right, top}}, {{left, top}}}, Layer::Table);
    for (int r = 1; r < count; ++r)
        b.line({left, top - r * kTableRowHeight}, {right, top - r * kTableRowHeight}, Layer::Table);
    // Column lines below the heading row.
    double x = left;
    for (std::size_t c = 0; c + 1 < std::size(kColumns); ++c) {
        x += kColumns[c];
        b.line({x, bottom}, {x, top - kTableRowHeight}, Layer::Table);
    }
    b.text({(left + right) / 2, top - kTableRowHeight / 2}, kTextHeight, heading, HAlign::Centre, VAlign::Middle, 0,
           Layer::Table, kTableWidth - 2);

    const auto put = [&](int r, const std::array<std::string, 4>& cells) {
        double x0 = left;
        const double y = top - (r + 0.5) * kTableRowHeight;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            // Names stand at the left of their cell, the rest in the middle.
            const double width = kColumns[c];
            if (c == 0)
                b.text({x0 + 1, y}, kTextHeight, cells[c], HAlign::Left, VAlign::Middle, 0, Layer::Table, width - 2);
            else
                b.text({x0 + width / 2, y}, kTextHeight, cells[c], HAlign::Centre, VAlign::Middle, 0, Layer::Table,
                       width - 2);
            x0 += width;
        }
    };
    int r = 1;
    if (columnHeads) {
        put(r++, {Tr(translate, texts::kName), Tr(translate, texts::kSymbol), Tr(translate, texts::kValue),
                  Tr(translate, texts::kUnit)});
    }
    for (const TableRow& row : rows) put(r++, {row.name, row.symbol, row.value, row.unit});
    return bottom;
}

SheetRooms RoomsBeside(Paper paper, std::size_t rows, std::size_t extraRows, const RequirementsBlock& requirements) {
    const Rect inner = FrameInner(paper);
    // The heading and the column heads, and the second table's heading.
    const std::size_t tableRows = rows + 2 + (extraRows ? extraRows + 1 : 0);
    const double tableBottom = inner.top - static_cast<double>(tableRows) * kTableRowHeight;
    const double column = inner.right - kTableWidth;
    const double aboveTitle = inner.bottom + kTitleBlockHeight;
    const double belowViews = std::max(aboveTitle, requirements.area.top);
    return {{inner.left + 8, belowViews + 8, column - 8, inner.top - 8},
            {column, aboveTitle + 5, inner.right, tableBottom - 5}};
}

void DrawSheetFrame(SheetBuilder& b, Paper paper, DrawingKind kind, const ShopContext& context,
                    const std::vector<TableRow>& rows, const std::string& extraHeading,
                    const std::vector<TableRow>& extraRows, const RequirementsBlock& requirements) {
    const Translate& translate = context.translate;
    const Rect inner = FrameInner(paper);
    DrawFrame(b, paper, MakeTitle(kind, b.paper(1), context), translate);
    const double bottom = DrawTable(b, inner.right, inner.top, Tr(translate, texts::kParameterTable), rows, true,
                                    translate);
    if (!extraRows.empty()) DrawTable(b, inner.right, bottom, extraHeading, extraRows, false, translate);
    DrawRequirements(b, requirements, translate);
}

}  // namespace wormgear::drawing
