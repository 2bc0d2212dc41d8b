// OpenDocument spreadsheets (".ods", LibreOffice's own format): the active
// table read from content.xml and turned into an equivalent one-sheet OOXML
// package, as the older binary workbooks are, so the rest of the component
// deals with one format.
#pragma once

#include "export/package.h"

namespace wormgear {

// Whether an unpacked zip is an OpenDocument package rather than an OOXML one:
// it has content.xml or an OpenDocument mimetype, and no [Content_Types].xml.
bool IsOpenDocumentPackage(const PackageEntries& entries);

// The active table (the one settings.xml names, else the first) of the
// OpenDocument spreadsheet `entries`, as an OOXML package with one worksheet:
// numbers (float, percentage, currency) as numbers, every other value as the
// text the cell shows (a boolean "TRUE" or "FALSE"). Rows and cells repeated
// by number-rows-repeated and number-columns-repeated are repeated; empty
// ones cost nothing however often they repeat, and more than
// kMaxLegacyCells values are refused (TooLarge). The XML parsed is bounded
// like a workbook's (XmlCost). Throws WorkbookError without the file's name:
// NotWorkbook for another kind of document, Damaged for missing or broken
// parts, a value beyond the sheet or a table missing.
PackageEntries OpenDocumentAsWorkbook(const PackageEntries& entries);

}  // namespace wormgear
