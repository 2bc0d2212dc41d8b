// The sheets as DXF files (AutoCAD 2000, AC1015) of the program's own
// writing: one layer per kind of line, dimensions as DIMENSION entities whose
// definition points measure the true value and whose text is the window's,
// each with the block that pictures it (an enlarged detail's measure with
// DIMLFAC = 1 / enlargement, in a dimension style of that factor and as the
// entity's own override); closed outlines as LWPOLYLINE;
// text in the GBK code page ($DWGCODEPAGE ANSI_936): numbers and Latin
// letters with the Chinese drafting fonts gbenor.shx and gbcbig.shx, texts
// with Chinese or Greek in a TrueType style that LibreCAD and programs
// without those fonts draw as well.
#pragma once

#include <string>

#include "drawing/sheet.h"

namespace wormgear {

// The whole file.
std::string DxfDocument(const drawing::Sheet& sheet);

// Writes the file through a temporary beside it, so that `path` holds either
// its old content or the whole new drawing. Throws FileError.
void SaveDxf(const drawing::Sheet& sheet, const std::string& path);

// A text as a DXF string in the GBK code page: "⌀" "°" "±" as the control
// codes %%c %%d %%p, a character GBK lacks as \U+XXXX, control characters as
// blanks, at most 250 bytes. Exposed for the tests.
std::string DxfText(const std::string& utf8);

}  // namespace wormgear
