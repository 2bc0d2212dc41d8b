// Fuzzes the package layer on arbitrary bytes: the zip structure, and through
// the workbook the content types, relationships and part names it follows.
// A package that unpacks is also rewritten, and a workbook that opens is
// written, saved and read back. Only WorkbookError may come out.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "export/workbook.h"
#include "files/file_io.h"

using namespace wormgear;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    static const std::string folder = [] {
        char name[] = "/tmp/package_fuzz-XXXXXX";
        return std::string(::mkdtemp(name));
    }();
    try {
        const PackageEntries entries = ReadPackage(bytes);
        // Unchanged parts are copied as they are packed; the result unpacks again.
        const std::string rewritten = RewritePackage(bytes, {});
        if (ReadPackage(rewritten).size() != entries.size()) std::abort();
    } catch (const WorkbookError&) {
    }
    try {
        ReplaceFileAtomically(folder + "/in.xlsx", bytes);
        Workbook book = Workbook::Open(folder + "/in.xlsx");
        for (int row = 1; row <= 13; ++row) {
            try {
                book.CellText(row, 1, '.');
            } catch (const WorkbookError&) {
            }
        }
        book.SetCellText(1, 1, "200");
        book.SaveAs(folder + "/out.xlsx");
        if (Workbook::Open(folder + "/out.xlsx").CellText(1, 1, '.') != "200") std::abort();
    } catch (const WorkbookError&) {
    } catch (const FileError&) {
    }
    return 0;
}
