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
    // and the scale; below it the design, the date and the program.
    const double left = inner.right - kTitleBlockWidth, bottom = inner.bottom, top = bottom + kTitleBlockHeight;
    const double row = kTitleBlockHeight / 4;
    b.outline({{{left, bottom}}, {{inner.right, bottom}}, {{inner.right, top}}, {{left, top}}}, Layer::Frame);
    for (int r = 1; r < 4; ++r) b.line({left, bottom + r * row}, {inner.right, bottom + r * row}, Layer::Table);
    const double captionWidth = 16, splitAt = left + 100;
    b.line({left + captionWidth, bottom}, {left + captionWidth, top - row}, Layer::Table);
    b.line({splitAt, bottom}, {splitAt, top}, Layer::Table);
    b.line({splitAt + captionWidth, bottom}, {splitAt + captionWidth, top}, Layer::Table);

    const auto cell = [&](double x0, double x1, int r, const std::string& text, double height = kTextHeight) {
        b.text({(x0 + x1) / 2, bottom + (r + 0.5) * row}, height, text, HAlign::Centre, VAlign::Middle, 0, Layer::Table,
               x1 - x0 - 2);
    };
    cell(left, splitAt, 3, title.part, kTitleTextHeight);
    cell(splitAt, splitAt + captionWidth, 3, Tr(translate, texts::kScale));
    cell(splitAt + captionWidth, inner.right, 3, title.scale);
    cell(left, left + captionWidth, 2, Tr(translate, texts::kDesign));
    cell(left + captionWidth, splitAt, 2, title.design);
    cell(splitAt, splitAt + captionWidth, 2, Tr(translate, texts::kDrawingNumber));
    cell(splitAt + captionWidth, inner.right, 2, title.drawingNumber);
    cell(left, left + captionWidth, 1, Tr(translate, texts::kDate));
    cell(left + captionWidth, splitAt, 1, title.date);
    cell(left, left + captionWidth, 0, Tr(translate, texts::kProgram));
    cell(left + captionWidth, splitAt, 0, title.program);
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

SheetRooms RoomsBeside(Paper paper, std::size_t rows, std::size_t extraRows) {
    const Rect inner = FrameInner(paper);
    // The heading and the column heads, and the second table's heading.
    const std::size_t tableRows = rows + 2 + (extraRows ? extraRows + 1 : 0);
    const double tableBottom = inner.top - static_cast<double>(tableRows) * kTableRowHeight;
    const double column = inner.right - kTableWidth;
    const double aboveTitle = inner.bottom + kTitleBlockHeight;
    return {{inner.left + 8, aboveTitle + 8, column - 8, inner.top - 8},
            {column, aboveTitle + 5, inner.right, tableBottom - 5}};
}

void DrawSheetFrame(SheetBuilder& b, Paper paper, DrawingKind kind, const TitleBlock& title,
                    const std::vector<TableRow>& rows, const std::string& extraHeading,
                    const std::vector<TableRow>& extraRows, const Translate& translate) {
    const Rect inner = FrameInner(paper);
    DrawFrame(b, paper, MakeTitle(kind, b.paper(1), title, translate), translate);
    const double bottom = DrawTable(b, inner.right, inner.top, Tr(translate, texts::kParameterTable), rows, true,
                                    translate);
    if (!extraRows.empty()) DrawTable(b, inner.right, bottom, extraHeading, extraRows, false, translate);
}

}  // namespace wormgear::drawing
