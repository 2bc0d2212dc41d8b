// The zip package beneath an OOXML workbook: its parts read whole into memory
// (within limits that keep a hostile file from exhausting memory) and written
// back as a new zip.
#pragma once

#include <cstdint>
#include <ctime>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace wormgear {

// Every failure of the workbook component: unreadable or damaged files,
// limits exceeded, a sheet that is not there, a save that did not complete.
class WorkbookError : public std::runtime_error {
 public:
    using std::runtime_error::runtime_error;
};

// A parameter sheet or design file is a few kilobytes; 64 MiB of unpacked parts
// is far beyond any real workbook this program meets and still harmless to hold.
inline constexpr std::uint64_t kMaxUnpackedBytes = 64ull << 20;
inline constexpr std::uint64_t kMaxPackageEntries = 10000;

struct PackageEntry {
    std::string name;   // "xl/worksheets/sheet1.xml"; a name ending in "/" is a folder
    std::string data;   // the unpacked bytes
    std::time_t mtime;  // kept so that unchanged parts keep their dates
};

// The parts in their order in the zip.
using PackageEntries = std::vector<PackageEntry>;

// Unpacks a zip held in memory. Throws WorkbookError for anything that is not a
// complete, consistent zip within the limits above (damaged data, CRC errors,
// encryption, too many or too large parts).
PackageEntries ReadPackage(const std::string& zipBytes);

// Packs the entries, in order and deflated, into zip bytes.
std::string WritePackage(const PackageEntries& entries);

// Changes to an existing package: parts replaced (by name), parts added at the
// end, parts removed.
struct PackageChanges {
    std::vector<std::pair<std::string, std::string>> replaced;
    std::vector<std::pair<std::string, std::string>> added;
    std::vector<std::string> removed;
};

// The zip `zipBytes` with `changes` applied. Parts not named in the changes
// are copied as they stand, compressed bytes and dates included, so only the
// changed parts are packed again.
std::string RewritePackage(const std::string& zipBytes, const PackageChanges& changes);

// A file read whole (at most kMaxUnpackedBytes) and a file replaced
// atomically, their failures as WorkbookError with the file's own sentence.
std::string ReadWorkbookFile(const std::string& path);
void ReplaceWorkbookFile(const std::string& path, const std::string& bytes);

// Text for XML content and attribute values: the five specials escaped, and
// control characters, which XML 1.0 cannot hold, written as spreadsheet XML
// writes them (_x0001_). UTF-8 passes through.
std::string XmlEscaped(const std::string& text);

}  // namespace wormgear
