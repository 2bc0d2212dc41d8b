// Fuzzes the old binary workbook path through to the converted package: the
// bytes go to a file that the workbook opens by its content, so an OLE2 file
// is read by FreeXL in its bounded child process, its answer decoded and
// turned into a package, which is then loaded, written and saved. Only
// WorkbookError may come out, and a design read from it reads what the
// whole sheet gives.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "export/legacy_workbook.h"
#include "export/workbook.h"
#include "files/file_io.h"

using namespace wormgear;

// Column 1 of rows 1 to 13 as a design reads it, a cell that cannot be
// read marked as such.
std::vector<std::string> DesignColumn(const Workbook& book) {
    std::vector<std::string> texts;
    for (int row = 1; row <= 13; ++row) {
        try {
            texts.push_back(book.CellText(row, 1, '.'));
        } catch (const WorkbookError&) {
            texts.push_back("\x01unreadable");
        }
    }
    return texts;
}

// Reading only a design's cells opens what the whole sheet opens and reads
// the same texts.
void CheckDesignReading(const Workbook& whole, const std::string& path) {
    try {
        if (DesignColumn(Workbook::OpenForReading(path, {13, 1})) != DesignColumn(whole)) std::abort();
    } catch (const WorkbookError&) {
        std::abort();
    }
}

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
        CheckDesignReading(book, folder + "/old.xls");
        book.SetCellText(13, 1, "0.2");
        book.SaveAs(folder + "/new.xlsx");
        if (Workbook::Open(folder + "/new.xlsx").CellText(13, 1, '.') != "0.2") std::abort();
    } catch (const WorkbookError&) {
    } catch (const FileError&) {
    }
    return 0;
}
