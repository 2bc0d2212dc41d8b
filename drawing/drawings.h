// The three drawings of a calculated design: the worm on A3, the wheel and the
// hob on A4, each with its frame, title block (设计, 审核, 批准 with the names and
// the date, 单位, 图号, 材料), parameter table, 技术要求 and the dimensions whose
// texts are the window's number texts; the body (shafts, hub, web, bore) as
// the particulars give it, every entered length dimensioned with its text.
//
//   const TitleBlock title{"pair.cqb", "2024-05-01", "wormgear 7.6"};
//   Sheet worm = BuildDrawing(DrawingKind::Worm, calculated, title,
//                             ResolveParticulars({}, calculated.design, title.design, title.date, '.'), {});
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "calc/translate.h"
#include "drawing/calculated_design.h"
#include "drawing/sheet.h"
#include "particulars/particulars.h"
#include "particulars/tolerances.h"

namespace wormgear {

enum class DrawingKind { Worm, Wheel, Hob };
inline constexpr DrawingKind kDrawingKinds[] = {DrawingKind::Worm, DrawingKind::Wheel, DrawingKind::Hob};

struct TitleBlock {
    std::string design;   // the design's file name; empty for a design not saved
    std::string date;     // "2024-05-01": today, the date a drawing shows when the particulars give none
    std::string program;  // "wormgear 7.6"
};

// A design whose checks found an error carries ChecksErrorMark in red under
// the frame's upper edge.
inline constexpr double kWarningTextHeight = 5;  // mm on paper
// `shop` is every particular filled (ResolveParticulars, with {} where the
// designer gave none); `tolerances` the store's table, whose band for the
// design's accuracy grade and centre distance gives the tooth-thickness
// deviations (未填 where it has none).
drawing::Sheet BuildDrawing(DrawingKind kind, const CalculatedDesign& design, const TitleBlock& title,
                            const ShopParticulars& shop, const ToleranceTable& tolerances,
                            const Translate& translate = {});

// The file formats of the drawings: DXF for CAD programs, SVG and PDF to
// view and print. The report is a PDF.
enum class FileFormat { Dxf, Svg, Pdf };
// By the file name's extension in any letter case: "a/worm.DXF" -> Dxf;
// nothing for another or no extension.
std::optional<FileFormat> FormatOfPath(const std::string& path);

// "蜗杆图", "蜗轮图", "滚刀图", untranslated.
const char* DrawingName(DrawingKind kind);

// "wormgear 7.6": the program and its version, for title blocks.
std::string ProgramNameAndVersion();

}  // namespace wormgear
