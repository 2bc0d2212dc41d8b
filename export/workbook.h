// The program's own workbook component: opens a workbook file, reads and
// writes the cells of its active worksheet by row and column as text, and
// saves it under a new name or in place. The opened file is never touched
// unless it is saved. Qt-free; paths are the file system's bytes.
//
//   Workbook book = Workbook::Open(dir + "1.xls");
//   book.SetCellText(2, 3, "2");
//   book.SaveAs("/home/me/rudar");        // writes /home/me/rudar.xlsx
#pragma once

#include <memory>
#include <string>

#include "export/package.h"  // WorkbookError

namespace wormgear {

class Workbook {
 public:
    // Opens an OOXML workbook (a zip package) or an older binary OLE2 workbook
    // (read through FreeXL: its first sheet's values; saving writes OOXML). The
    // format is told by the content, not the name: the templates are named
    // "*.xls" and hold OOXML, design files are named "*.cqb". Throws
    // WorkbookError for a missing file, a file that is not a workbook, a damaged
    // package or XML, parts beyond the size limit, or no active sheet. Every
    // failure of a workbook, here and below, names its file.
    static Workbook Open(const std::string& path);

    Workbook(Workbook&&) noexcept;
    Workbook& operator=(Workbook&&) noexcept;
    ~Workbook();

    // The cell of the active worksheet, row and column from 1, as text: an
    // empty cell gives "", a number its FormatReal text with `decimalSeparator`
    // (200 -> "200", 0.1 -> "0.1"), a text itself, a boolean "TRUE" or
    // "FALSE", an error value its code ("#DIV/0!"). Out-of-range positions
    // throw WorkbookError.
    std::string CellText(int row, int column, char decimalSeparator) const;

    // Makes the cell a text cell holding `text` (an empty text empties the
    // cell). The cell keeps its format; a formula in it is replaced, and the
    // workbook then asks for a full recalculation when it is next opened.
    void SetCellText(int row, int column, const std::string& text);

    // Writes the workbook to `path`; a name without an extension receives
    // ".xlsx", a name with one is used as it stands. The file appears complete
    // or not at all (temporary file in the target folder, then rename), and a
    // failed save leaves an existing file of that name as it was. Afterwards
    // Path() is the written file.
    void SaveAs(const std::string& path);

    // Writes the workbook to exactly `path`, no extension added, the same way;
    // afterwards Path() is that file.
    void SaveTo(const std::string& path);

    // Writes the workbook back to Path() the same way.
    void Save();

    const std::string& Path() const;

 private:
    struct Impl;
    explicit Workbook(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// "C12" for row 12, column 3. Rows 1..1048576, columns 1..16384 (A..XFD);
// outside them WorkbookError.
std::string CellReference(int row, int column);

// The path SaveAs writes: `path` itself when its file name has an extension,
// else `path` + ".xlsx" ("out/rudar" -> "out/rudar.xlsx", "a.b/c" -> "a.b/c.xlsx").
std::string PathWithWorkbookExtension(const std::string& path);

}  // namespace wormgear
