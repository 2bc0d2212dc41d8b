// The skeleton of a workbook package with one worksheet: content types,
// relationships, core properties, workbook, styles, sheet and shared strings. The template tool
// and the conversion of old binary workbooks both build on it, so the program
// writes one kind of minimal workbook.
#pragma once

#include <cstddef>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "export/package.h"

namespace wormgear {

inline constexpr const char* kSpreadsheetNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr const char* kRelationshipNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// The children of <styleSheet> of a workbook with one plain cell format.
extern const char* const kPlainStylesContent;

// A number as a cell's <v> holds it: the shortest decimal text that reads
// back as the same double (file content, not text for the user).
std::string StoredNumber(double value);

// Texts of the shared-strings part in the order they are first met.
class SharedStrings {
 public:
    // The index of `text`, adding it when new.
    std::size_t indexOf(const std::string& text);
    const std::vector<std::string>& items() const { return items_; }

 private:
    std::vector<std::string> items_;
    std::map<std::string, std::size_t> index_;
};

// The document's own properties (docProps/core.xml): its title, who made it
// and when, as spreadsheet programs show them under File > Properties.
inline constexpr const char* kCorePropertiesPart = "docProps/core.xml";
inline constexpr const char* kCorePropertiesContentType = "application/vnd.openxmlformats-package.core-properties+xml";
inline constexpr const char* kCorePropertiesRelType =
    "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";
// The creator the program writes into the workbooks it makes.
inline constexpr const char* kDocumentCreator = "wormgear";

// "2024-01-01T00:00:00Z": a time as the properties hold it (W3CDTF, UTC).
std::string PropertyTime(std::time_t time);

// The core-properties part: `title`, kDocumentCreator, created and last
// modified at `time`.
std::string CorePropertiesXml(const std::string& title, std::time_t time);

struct OneSheetWorkbook {
    std::string sheetName = "Sheet1";
    // The children of <worksheet>, <sheetData> among them.
    std::string worksheetContent = "<sheetData/>";
    SharedStrings strings;
    // The children of <styleSheet>; empty: one plain cell format.
    std::string stylesContent;
    // The children of <definedNames>; empty: none.
    std::string definedNames;
    // The date every part carries in the zip, and the document's creation.
    std::time_t date = 0;
};

// The package, with its core properties: titled by the sheet's name.
PackageEntries OneSheetWorkbookPackage(const OneSheetWorkbook& workbook);

}  // namespace wormgear
