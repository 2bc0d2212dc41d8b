// Fuzzes the workbook component below the zip layer, where a damaged file
// gets past the CRC checks: the input is split at "\n--\n" into the workbook
// part, its relationships, the worksheet and the shared strings of a package
// that is then opened, read, written and saved. Only WorkbookError may come out.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "files/file_io.h"

#include "export/workbook.h"

using namespace wormgear;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    while (fields.size() < 3) {
        std::string::size_type end = input.find("\n--\n", start);
        if (end == std::string::npos) break;
        fields.push_back(input.substr(start, end - start));
        start = end + 4;
    }
    fields.push_back(input.substr(start));
    fields.resize(4);

    const std::string ct = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
    PackageEntries entries = {
        {"[Content_Types].xml",
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Override PartName=\"/xl/calcChain.xml\" ContentType=\"" +
             ct + "calcChain+xml\"/></Types>",
         0},
        {"_rels/.rels",
         "<Relationships><Relationship Id=\"rId1\" Type=\"x/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>",
         0},
        {"xl/workbook.xml", fields[0], 0},
        {"xl/_rels/workbook.xml.rels", fields[1], 0},
        {"xl/worksheets/sheet1.xml", fields[2], 0},
        {"xl/sharedStrings.xml", fields[3], 0},
        {"xl/calcChain.xml", "<calcChain/>", 0},
    };
    static const std::string folder = [] {
        char name[] = "/tmp/workbook_fuzz-XXXXXX";
        return std::string(mkdtemp(name));
    }();
    const std::string path = folder + "/in.xlsx";
    try {
        ReplaceFileAtomically(path, WritePackage(entries));
        Workbook book = Workbook::Open(path);
        for (int row = 1; row <= 4; ++row) {
            for (int column = 1; column <= 4; ++column) {
                try {
                    book.CellText(row, column, '.');
                } catch (const WorkbookError&) {
                }
            }
        }
        book.SetCellText(2, 3, "x");
        book.SetCellText(1, 1, "");
        book.SetCellText(30, 2, " y ");
        book.SetCellValue(31, 2, "168.728", '.');
        book.SaveAs(folder + "/out.xlsx");
        Workbook reread = Workbook::Open(folder + "/out.xlsx");
        if (reread.CellText(2, 3, '.') != "x" || reread.CellText(30, 2, '.') != " y " ||
            reread.CellText(31, 2, '.') != "168.728")
            std::abort();
    } catch (const WorkbookError&) {
    }
    return 0;
}
