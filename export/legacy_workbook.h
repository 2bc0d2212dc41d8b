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

// An OOXML package with one worksheet named `sheetName` holding `cells`
// (numbers as numbers, texts as shared strings).
PackageEntries PlainWorkbookPackage(const std::string& sheetName, const std::vector<PlainCell>& cells);

// Reads the first worksheet of the OLE2 workbook `bytes`, the content of the
// file `path` (FreeXL cannot tell which sheet was active). Numbers and texts
// are kept; dates and times become their text; formula and boolean cells,
// which FreeXL does not return, are empty. FreeXL parses in a child process
// of its own, bounded in time, memory and the size of its answer. Throws
// WorkbookError when FreeXL cannot read the file, the sheet holds more than
// kMaxLegacyCells values (TooLarge), or the reader overruns its bounds
// (Damaged: a reader that loops or grows without end met a damaged file).
PackageEntries ReadLegacyWorkbook(const std::string& path, const std::string& bytes);

// A design file or template holds a few dozen values; a hundred thousand keep
// the converted sheet within the workbook's bounds on parsed XML.
inline constexpr std::size_t kMaxLegacyCells = 100000;

// What a child process of the binary reader may take.
struct ChildLimits {
    unsigned seconds;           // wall-clock time until it is killed
    std::uint64_t memoryBytes;  // address space beyond what it starts with
    std::uint64_t answerBytes;  // what it may send back
};
// A few seconds: a sound old workbook reads in milliseconds.
inline constexpr ChildLimits kLegacyReaderLimits{5, 128ull << 20, 16ull << 20};

// Runs `work` in a child process within `limits` and returns the bytes it
// produced. Throws WorkbookError naming the file `path`: Damaged when the
// child ran out of time (it is killed) or ended abnormally, TooLarge when it
// answered more than allowed, Internal when no child could be started.
std::string RunBoundedChild(const std::function<std::string()>& work, const ChildLimits& limits,
                            const std::string& path);

}  // namespace wormgear
