// The three drawings of a calculated design: the worm on A3, the wheel and the
// hob on A4, each with its frame, title block, parameter table and the
// dimensions whose texts are the window's number texts.
//
//   Sheet worm = BuildDrawing(DrawingKind::Worm, calculated, {"pair.cqb", "2024-05-01", "wormgear 7.6"});
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "calc/translate.h"
#include "drawing/calculated_design.h"
#include "drawing/sheet.h"

namespace wormgear {

enum class DrawingKind { Worm, Wheel, Hob };
inline constexpr DrawingKind kDrawingKinds[] = {DrawingKind::Worm, DrawingKind::Wheel, DrawingKind::Hob};

struct TitleBlock {
    std::string design;   // the design's file name; empty for a design not saved
    std::string date;     // "2024-05-01"
    std::string program;  // "wormgear 7.6"
};

// A design whose checks found an error carries ChecksErrorMark in red under
// the frame's upper edge.
inline constexpr double kWarningTextHeight = 5;  // mm on paper
drawing::Sheet BuildDrawing(DrawingKind kind, const CalculatedDesign& design, const TitleBlock& title,
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
