// OpenDocument spreadsheets (".ods", LibreOffice's own format): the active
// table read from content.xml and turned into an equivalent one-sheet OOXML
// package, as the older binary workbooks are, so the rest of the component
// deals with one format.
#pragma once

#include "export/legacy_workbook.h"  // SheetRegion
#include "export/package.h"

namespace wormgear {

// Whether an unpacked zip is an OpenDocument package rather than an OOXML one:
// it has content.xml or an OpenDocument mimetype, and no [Content_Types].xml.
bool IsOpenDocumentPackage(const PackageEntries& entries);

// The active table (the one settings.xml names, else the first) of the
// OpenDocument spreadsheet `entries`, as an OOXML package with one worksheet
// holding the values inside `kept`: numbers (float, percentage, currency) as
// numbers, every other value as the text the cell shows (a boolean "TRUE" or
// "FALSE"). Rows and cells repeated by number-rows-repeated and
// number-columns-repeated are repeated; empty ones cost nothing however often
// they repeat. The whole table, every repeat counted, is held to
// kMaxLegacyCells values and kMaxSheetTextBytes of text (TooLarge) before a
// value is repeated, so that a short file cannot ask for gigabytes; values
// outside `kept` are counted but never made. The XML parsed is bounded like
// a workbook's (XmlCost). Throws WorkbookError without the file's name:
// NotWorkbook for another kind of document, Damaged for missing or broken
// parts, a value beyond the sheet or a table missing.
PackageEntries OpenDocumentAsWorkbook(const PackageEntries& entries, SheetRegion kept = kWholeSheet);

}  // namespace wormgear
