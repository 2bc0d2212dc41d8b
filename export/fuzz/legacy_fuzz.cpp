// Fuzzes the old binary workbook path through to the converted package: the
// bytes go to a file that the workbook opens by its content, so an OLE2 file
// is read by FreeXL in its bounded child process, its answer decoded and
// turned into a package, which is then loaded, written and saved. Only
// WorkbookError may come out.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "export/legacy_workbook.h"
#include "export/workbook.h"
#include "files/file_io.h"

using namespace wormgear;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // Most inputs should reach the binary reader: lend them its signature.
    static const std::string kSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (!LooksLikeOle2(bytes)) bytes = kSignature + bytes;
    static const std::string folder = [] {
        char name[] = "/tmp/legacy_fuzz-XXXXXX";
        return std::string(::mkdtemp(name));
    }();
    try {
        ReplaceFileAtomically(folder + "/old.xls", bytes);
        Workbook book = Workbook::Open(folder + "/old.xls");
        for (int row = 1; row <= 13; ++row) {
            try {
                book.CellText(row, 1, '.');
            } catch (const WorkbookError&) {
            }
        }
        book.SetCellText(13, 1, "0.2");
        book.SaveAs(folder + "/new.xlsx");
        if (Workbook::Open(folder + "/new.xlsx").CellText(13, 1, '.') != "0.2") std::abort();
    } catch (const WorkbookError&) {
    } catch (const FileError&) {
    }
    return 0;
}
