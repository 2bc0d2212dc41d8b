// Drawings and the report into files.
#include "drawing/drawing_files.h"

#include "drawing/dxf_writer.h"
#include "drawing/report_writer.h"
#include "drawing/sheet_painter.h"
#include "files/file_io.h"

namespace wormgear {

std::string SheetBytes(const drawing::Sheet& sheet, FileFormat format) {
    switch (format) {
        case FileFormat::Dxf: return DxfDocument(sheet);
        case FileFormat::Svg: return SheetSvg(sheet).toStdString();
        case FileFormat::Pdf: return SheetPdf(sheet).toStdString();
    }
    return {};
}

void SaveSheet(const drawing::Sheet& sheet, FileFormat format, const std::string& path) {
    ReplaceFileAtomically(path, SheetBytes(sheet, format));
}

void SaveReport(const ReportContent& content, const std::string& path, const Translate& translate) {
    ReplaceFileAtomically(path, ReportPdf(content, translate).toStdString());
}

}  // namespace wormgear
