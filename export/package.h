// The zip package beneath an OOXML workbook: its parts read whole into memory
// (within limits that keep a hostile file from exhausting memory) and written
// back as a new zip.
#pragma once

#include <cstdint>
#include <ctime>
#include <istream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace wormgear {

// Every failure of the workbook component: unreadable or damaged files,
// limits exceeded, a sheet that is not there, a save that did not complete.
// what() is the whole sentence for the user, in the interface's language and
// naming the file whenever the component knows it; kind() tells a caller what
// went wrong without reading the sentence.
class WorkbookError : public std::runtime_error {
 public:
    enum class Kind {
        File,         // the file cannot be read or written (the file layer's own sentence)
        NotWorkbook,  // the content is no workbook at all
        Damaged,      // a damaged zip, part, XML, binary workbook or string table
        TooLarge,     // more parts or unpacked bytes than the limits allow
        NoSheet,      // no active sheet, not a worksheet, no cell data
        Cell,         // a cell position outside a sheet, a formula that cannot be replaced
        Text,         // a text that is not UTF-8 or longer than a cell holds
        Internal,     // packing failed, out of memory, the binary reader did not start (kept last)
    };

    WorkbookError(Kind kind, const std::string& message);

    Kind kind() const { return kind_; }

 private:
    Kind kind_;
};

// `error`, raised by a step that did not know the file, told of the workbook
// file `path`: same kind, the sentence led by what is wrong with the file
// ("工作簿“/a/x.xlsx”已损坏：部件 … 的 XML 有误（…）"). A File failure names
// its file already and comes back as it is.
WorkbookError WorkbookFileError(const WorkbookError& error, const std::string& path);

// The same for a failure while writing the workbook to `path`:
// "无法保存工作簿“/a/x.xlsx”：…".
WorkbookError WorkbookSaveError(const WorkbookError& error, const std::string& path);

// A part name from a file as a sentence may show it: the name itself when it
// is UTF-8, else with each byte outside ASCII as "?", so that the sentence
// stays UTF-8 whatever the file holds.
std::string ShownPartName(const std::string& name);

// A parameter sheet or design file is a few kilobytes; 64 MiB of unpacked parts
// is far beyond any real workbook this program meets and still harmless to hold.
inline constexpr std::uint64_t kMaxUnpackedBytes = 64ull << 20;
inline constexpr std::uint64_t kMaxPackageEntries = 10000;
// The file itself, packed: a quarter of what its parts may unpack to.
inline constexpr std::uint64_t kMaxWorkbookFileBytes = 16ull << 20;
inline constexpr const char* kMaxWorkbookFileShown = "16 MiB";
// The XML parts a workbook parses (content types, relationships, workbook,
// active sheet, shared strings) together. Parsed XML costs up to about 64
// bytes per element and 40 per attribute beside its text, so their markup is
// bounded too: half a million tags ('<') and attributes ('=') each keep the
// parsed tree under 100 MiB, and still hold a sheet of a hundred thousand cells.
inline constexpr std::uint64_t kMaxParsedXmlBytes = 16ull << 20;
inline constexpr std::uint64_t kMaxXmlTags = 500000;
inline constexpr std::uint64_t kMaxXmlAttributes = 500000;

// What the XML parts a workbook parses have cost so far, against the bounds
// above.
struct XmlCost {
    std::uint64_t bytes = 0, tags = 0, attributes = 0;
    // Adds the markup of the part `part` before it is parsed: the parsed tree
    // costs many times its text, so a few kilobytes packed cannot demand
    // gigabytes. Throws WorkbookError (TooLarge) naming the part when a bound
    // is passed; the caller names the file.
    void Add(const std::string& xml, const std::string& part);
};

struct PackageEntry {
    std::string name;   // "xl/worksheets/sheet1.xml"; a name ending in "/" is a folder
    std::string data;   // the unpacked bytes
    std::time_t mtime;  // kept so that unchanged parts keep their dates
};

// The parts in their order in the zip.
using PackageEntries = std::vector<PackageEntry>;

// Unpacks a zip held in memory. Throws WorkbookError for anything that is not a
// complete, consistent zip within the limits above (damaged data, CRC errors,
// encryption, too many or too large parts). The package functions do not know
// the file; their sentences name the part, and callers add the file with
// WorkbookFileError or WorkbookSaveError.
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

// A file read whole (at most kMaxWorkbookFileBytes) and a file replaced
// atomically, their failures as WorkbookError of kind File with the file
// layer's sentence, which names the file.
std::string ReadWorkbookFile(const std::string& path);
// A workbook read whole from a stream (standard input), at most
// kMaxWorkbookFileBytes: more is refused as TooLarge, a stream that fails as
// File, each sentence naming `name`, which stands for the file.
std::string ReadWorkbookStream(std::istream& in, const std::string& name);
void ReplaceWorkbookFile(const std::string& path, const std::string& bytes);

// Text for XML content and attribute values: the five specials escaped, and
// control characters, which XML 1.0 cannot hold, written as spreadsheet XML
// writes them (_x0001_). UTF-8 passes through.
std::string XmlEscaped(const std::string& text);

}  // namespace wormgear
