// Fuzzes the OpenDocument reader: the input, split at "\n--\n", is the
// content.xml and the settings.xml of a spreadsheet package that is then
// opened, read, written and saved. Only WorkbookError may come out, a saved
// workbook must read back what was written, and no input may take longer
// than its bounds allow (libFuzzer's time-out catches a repeat that runs
// away).
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "export/workbook.h"
#include "files/file_io.h"

using namespace wormgear;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string::size_type split = input.find("\n--\n");
    const std::string content = input.substr(0, split);
    const std::string settings = split == std::string::npos ? std::string() : input.substr(split + 4);
    PackageEntries entries = {
        {"mimetype", "application/vnd.oasis.opendocument.spreadsheet", 0},
        {"content.xml", content, 0},
    };
    if (!settings.empty()) entries.push_back({"settings.xml", settings, 0});
    static const std::string folder = [] {
        char name[] = "/tmp/opendocument_fuzz-XXXXXX";
        return std::string(mkdtemp(name));
    }();
    const std::string path = folder + "/in.cqb";
    try {
        ReplaceFileAtomically(path, WritePackage(entries));
        Workbook book = Workbook::Open(path);
        for (int row = 1; row <= 14; ++row) book.CellText(row, 1, '.');
        book.SetCellValue(1, 1, "168.728", '.');
        book.SetCellValue(2, 1, "0.3*P/2", '.');
        book.SaveTo(folder + "/out.cqb");
        Workbook reread = Workbook::Open(folder + "/out.cqb");
        if (reread.CellText(1, 1, '.') != "168.728" || reread.CellText(2, 1, '.') != "0.3*P/2") std::abort();
    } catch (const WorkbookError&) {
    }
    return 0;
}
