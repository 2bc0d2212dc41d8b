// Writing a drawing or the report to a file in the format its name asks for.
// A file is replaced only by a complete copy (written beside it, then
// renamed), so a failed write leaves what was there.
//
//   SaveSheet(BuildDrawing(DrawingKind::Worm, design, title), FileFormat::Dxf, "/tmp/worm.dxf");
#pragma once

#include <string>

#include "drawing/drawings.h"
#include "drawing/report.h"

namespace wormgear {

std::string SheetBytes(const drawing::Sheet& sheet, FileFormat format);

// Throw FileError when the file cannot be written.
void SaveSheet(const drawing::Sheet& sheet, FileFormat format, const std::string& path);
void SaveReport(const ReportContent& content, const std::string& path, const Translate& translate = {});

}  // namespace wormgear
