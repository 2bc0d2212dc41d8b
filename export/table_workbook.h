// A table as a workbook of one sheet: a header row, then rows of numbers and
// texts, the numbers stored as numbers so that a spreadsheet sorts, sums and
// charts them. Rows are appended one by one, so a table of a million rows is
// written without a cell object per value. Each column is as wide as its
// widest cell, the header's included (a Chinese character counting two);
// the sheet prints across (landscape A4), its header row repeated on every
// page, each page holding whole columns.
//
//   TableWorkbook table("方案表");
//   table.text("β (°)");
//   table.text("检查");
//   table.endRow();
//   table.number("11.025");        // <c r="A2"><v>11.025</v></c>
//   table.text("警告 …");          // a shared string
//   table.endRow();
//   ReplaceWorkbookFile(path, WritePackage(table.package()));
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "export/ooxml.h"

namespace wormgear {

class TableWorkbook {
 public:
    // The rows and columns a worksheet holds (2^20 rows, A..XFD).
    static constexpr std::uint64_t kMostRows = 1048576;
    static constexpr int kMostColumns = 16384;

    // `sheetName` as the sheet's tab shows it; the first row stays in view
    // while the table scrolls.
    explicit TableWorkbook(std::string sheetName);

    // The next cell of the row: a number written as FormatReal writes it with
    // '.' ("11.025", "-0.5", "1E15"); anything else throws WorkbookError (Cell).
    void number(std::string_view text);
    // A text cell; an empty text leaves the cell empty.
    void text(const std::string& text);
    // An empty cell.
    void skip();
    // Ends the row; the next cell starts the row beneath. Beyond kMostRows
    // rows or kMostColumns cells in a row: WorkbookError (Cell).
    void endRow();

    std::uint64_t rows() const { return rows_; }
    // The width a column is given, in characters of the sheet's font: its
    // widest cell and a margin of two, at most kWidestColumn.
    int columnWidth(int column) const;

    // Beyond this a column would crowd out the rest of a page.
    static constexpr int kWidestColumn = 60;

    // The package of the table as it stands.
    PackageEntries package();

 private:
    // The letters of the next cell's column, opening the row at its first cell.
    const std::string& nextColumn();
    void openCell(const char* attributes);
    // Notes a cell of `width` characters in the column just opened.
    void noteWidth(std::size_t width);

    OneSheetWorkbook book_;
    std::string cells_;                 // the rows written so far
    std::vector<std::string> columns_;  // column letters: "A", "B", ...
    std::vector<std::size_t> widths_;   // each column's widest cell, in characters
    std::string rowNumber_;             // the number of the row being written
    std::uint64_t rows_ = 0;            // rows ended
    int column_ = 0;                    // cells in the row being written
};

}  // namespace wormgear
