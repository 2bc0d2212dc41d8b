// Fuzzes the OpenDocument reader: the input, split at "\n--\n", is the
// content.xml and the settings.xml of a spreadsheet package that is then
// opened, read, written and saved. Only WorkbookError may come out, a saved
// workbook must read back what was written, a design read from it must read
// what the whole sheet gives, and no input may take longer than its bounds
// allow (libFuzzer's time-out catches a repeat that runs away).
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

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
        CheckDesignReading(book, path);
        book.SetCellValue(1, 1, "168.728", '.');
        book.SetCellValue(2, 1, "0.3*P/2", '.');
        book.SaveTo(folder + "/out.cqb");
        Workbook reread = Workbook::Open(folder + "/out.cqb");
        if (reread.CellText(1, 1, '.') != "168.728" || reread.CellText(2, 1, '.') != "0.3*P/2") std::abort();
    } catch (const WorkbookError&) {
    }
    return 0;
}
