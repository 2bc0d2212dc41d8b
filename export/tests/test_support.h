// Helpers of the export tests: files, hand-made workbook packages, the
// shipped templates and parsed XML parts.
#pragma once

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <QTemporaryDir>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "export/package.h"

namespace wormgear::testing {

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// Names in a folder, sorted, without "." and "..".
std::vector<std::string> FolderEntries(const std::string& folder);

// Path of a template as the build leaves it in the program directory.
std::string TemplatePath(const std::string& name);

// The unpacked part `name` of a workbook file; fails the test if absent.
std::string PartOf(const std::string& workbookPath, const std::string& name);
bool HasPart(const std::string& workbookPath, const std::string& name);

// A workbook package whose parts are given as (name, content) pairs.
using Parts = std::vector<std::pair<std::string, std::string>>;
std::string PackageBytes(const Parts& parts);

// The parts of a one-sheet workbook around `sheetXml` (a whole worksheet
// part), with `sharedStringsXml` when not empty. Extra parts, relationships
// (full <Relationship> elements) and content-type overrides go in as given.
struct WorkbookSpec {
    std::string sheetXml;
    std::string sharedStringsXml;
    std::string workbookInner =
        "<bookViews><workbookView/></bookViews>"
        "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets>";
    std::string extraRelationships;
    std::string extraOverrides;
    Parts extraParts;
};
Parts WorkbookParts(const WorkbookSpec& spec);

// The parts of an OpenDocument spreadsheet whose <office:spreadsheet> holds
// `tables` (whole <table:table> elements, the usual prefixes declared), with
// settings.xml naming `activeTable` as the active one when it is not empty.
inline constexpr const char* kOpenDocumentSpreadsheetType = "application/vnd.oasis.opendocument.spreadsheet";
Parts OpenDocumentParts(const std::string& tables, const std::string& activeTable = "",
                        const std::string& mimetype = kOpenDocumentSpreadsheetType);
// One table named "Sheet1" with `rows` (whole <table:table-row> elements).
std::string OpenDocumentTable(const std::string& rows, const std::string& name = "Sheet1");

// An old binary workbook (BIFF8 records in an OLE2 compound file, as the
// spreadsheet programs before 2007 wrote it) with one sheet named "Sheet1":
// `strings` its shared-string table (each at most 8000 ASCII characters, so
// that it fits one record), `cells` its values, each a shared string (its
// index) or a number, rows and columns from 1. The sheet's dimension is the
// cells' extent unless `dimension` gives rows and columns of its own.
struct LegacyCell {
    int row, column;
    int string = -1;  // index into the strings, or -1 for `number`
    double number = 0;
};
struct LegacySheetSpec {
    std::vector<std::string> strings;
    std::vector<LegacyCell> cells;
    std::pair<unsigned, unsigned> dimension{0, 0};
};
std::string LegacyWorkbookBytes(const LegacySheetSpec& sheet);

// A worksheet part with `sheetData` as the content of <sheetData>.
std::string SheetXml(const std::string& sheetData, const std::string& before = "", const std::string& after = "");
// A shared-strings part holding these plain items.
std::string SharedStringsXml(const std::vector<std::string>& items);

pugi::xml_document ParseXml(const std::string& text);

// The bound within which any design file must open or be refused: 256 MiB
// beyond what the process holds.
inline constexpr std::uint64_t kOpeningMemoryBound = 256ull << 20;

// Runs `open` in a child process bounded to kOpeningMemoryBound and tells how
// it ended: "opened" when it returned true, "wrong content" when false; for a
// WorkbookError its kind ("too large", "damaged", "not a workbook", "no
// sheet", "other"), or "unclear" when its sentence does not hold both `path`
// and `sentenceHolds`; "out of memory" (std::bad_alloc), "crashed" otherwise.
std::string OutcomeWithinMemory(const std::function<bool()>& open, const std::string& path,
                                const std::string& sentenceHolds);

// A test with a temporary folder of its own.
class FolderTest : public ::testing::Test {
 protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    std::string Path(const std::string& name) const { return folder_.path().toStdString() + "/" + name; }
    // Packs `parts` into the file `name` of the folder and returns its path.
    std::string Write(const std::string& name, const Parts& parts) {
        WriteFile(Path(name), PackageBytes(parts));
        return Path(name);
    }

    QTemporaryDir folder_;
};

}  // namespace wormgear::testing
