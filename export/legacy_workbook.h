// Older binary workbooks (the OLE2 ".xls" format of spreadsheet programs
// before 2007), read through FreeXL and turned into an equivalent OOXML package
// so the rest of the component deals with one format.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "export/package.h"

namespace wormgear {

// True when the bytes begin with the OLE2 compound-file signature D0 CF 11 E0 A1 B1 1A E1.
bool LooksLikeOle2(const std::string& bytes);

// One value of a plain sheet: a number or a text at a 1-based position.
struct PlainCell {
    int row;
    int column;
    std::variant<double, std::string> value;
};

// An OOXML package with one worksheet named `sheetName` holding `cells`
// (numbers as numbers, texts as shared strings).
PackageEntries PlainWorkbookPackage(const std::string& sheetName, const std::vector<PlainCell>& cells);

// Reads the first worksheet of the OLE2 workbook at `path` (FreeXL cannot tell
// which sheet was active). Numbers and texts are kept; dates and times become
// their text; formula and boolean cells, which FreeXL does not return, are
// empty. Throws WorkbookError when FreeXL cannot read the file.
PackageEntries ReadLegacyWorkbook(const std::string& path);

}  // namespace wormgear
