// Older binary workbooks (the OLE2 ".xls" format of spreadsheet programs
// before 2007), read through FreeXL and turned into an equivalent OOXML package
// so the rest of the component deals with one format.
#pragma once

#include <cstdint>
#include <functional>
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

// The part of a sheet a reader keeps: rows 1..lastRow, columns 1..lastColumn
// (a design is column 1 of rows 1 to 13: {13, 1}).
struct SheetRegion {
    int lastRow;
    int lastColumn;
    bool Holds(std::uint64_t row, std::uint64_t column) const {
        return row <= static_cast<std::uint64_t>(lastRow) && column <= static_cast<std::uint64_t>(lastColumn);
    }
};
inline constexpr SheetRegion kWholeSheet{1048576, 16384};

// An OOXML package with one worksheet named `sheetName` holding `cells`
// (numbers as numbers, texts as shared strings, each distinct text once).
PackageEntries PlainWorkbookPackage(const std::string& sheetName, std::vector<PlainCell> cells);

// Reads the first worksheet of the OLE2 workbook `bytes`, the content of the
// file `path` (FreeXL cannot tell which sheet was active), keeping the values
// inside `kept`. Numbers and texts are kept; dates and times become their
// text; formula and boolean cells, which FreeXL does not return, are empty.
// FreeXL parses in a child process of its own, bounded in time, memory and
// the size of its answer. Throws WorkbookError naming the file when FreeXL
// cannot read it, the whole sheet holds more than kMaxLegacyCells values or
// more than kMaxSheetTextBytes of text (TooLarge), or the reader overruns its
// bounds (Damaged: a reader that loops or grows without end met a damaged
// file).
PackageEntries ReadLegacyWorkbook(const std::string& path, const std::string& bytes, SheetRegion kept = kWholeSheet);

// A design file or template holds a few dozen values; a hundred thousand are
// far beyond any that a person keeps by hand.
inline constexpr std::size_t kMaxLegacyCells = 100000;
// The texts of a sheet's values as a workbook stores them (XML escapes
// included) with every repeat spelled out: a cell's text counts once for
// each cell it fills, however briefly the file writes it (an OpenDocument
// cell repeated over 99,990 columns, an old workbook's shared string in every
// cell). 4 MiB is a thousand times a design's texts, and keeps the sheet the
// conversion makes within the memory and the time a design file may take to
// open.
inline constexpr std::uint64_t kMaxSheetTextBytes = 4ull << 20;
inline constexpr const char* kMaxSheetTextShown = "4 MiB";

// What a sheet of converted values costs: the values, their texts as stored,
// and the XML of the package PlainWorkbookPackage makes of them, measured as
// XmlCost measures it (bytes, '<' and '='), repeats spelled out. A text's
// shared string is counted once for each place a file spells it (a repeated
// cell shares one), which is never less than the package holds.
struct SheetCost {
    std::uint64_t cells = 0, textBytes = 0, xmlBytes = 0, tags = 0, attributes = 0;
    SheetCost& operator+=(const SheetCost& other);
    // The cost `times` times over (for counts a tally has let through).
    SheetCost Times(std::uint64_t times) const;
};
// A cell holding a number (nullptr) or a text, its text counted in full.
SheetCost CellCost(const std::string* text);
// The shared string of a text.
SheetCost StringCost(const std::string& text);
// A row that holds values, beside the cost of its values.
SheetCost RowCost();

// The values of a sheet counted as a reader meets them, every repeat spelled
// out, so that the bounds hold for what a file describes before anything of
// it is made: at most kMaxSheetTextBytes of text and kMaxLegacyCells values,
// and a package whose parsed XML, with the other parts and room for a
// design's edits, stays within the bounds of package.h. A sheet that passes
// thus converts to a workbook that loads, and loads again once saved; reading
// only a design's cells of it refuses what reading it whole refuses.
class SheetTally {
 public:
    // Adds `times` times `each`. Throws WorkbookError (TooLarge, without the
    // file's name) when the sheet would pass a bound, the text's first;
    // nothing is added then.
    void Add(std::uint64_t times, const SheetCost& each);

 private:
    SheetCost total_;
};

// What a child process of the binary reader may take.
struct ChildLimits {
    unsigned seconds;           // wall-clock time until it is killed
    std::uint64_t memoryBytes;  // address space beyond what it starts with
    std::uint64_t answerBytes;  // what it may send back
};
// A few seconds: a sound old workbook reads in milliseconds. The answer holds
// at most kMaxSheetTextBytes of text and, per value, its position, kind and
// length (17 bytes).
inline constexpr ChildLimits kLegacyReaderLimits{5, 128ull << 20, kMaxSheetTextBytes + (2ull << 20)};

// Runs `work` in a child process within `limits` and returns the bytes it
// produced. Throws WorkbookError naming the file `path`: Damaged when the
// child ran out of time (it is killed) or ended abnormally, TooLarge when it
// answered more than allowed, Internal when no child could be started.
std::string RunBoundedChild(const std::function<std::string()>& work, const ChildLimits& limits,
                            const std::string& path);

}  // namespace wormgear
