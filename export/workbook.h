// The program's own workbook component: opens a workbook file, reads and
// writes the cells of its active worksheet by row and column as text, and
// saves it under a new name or in place. The opened file is never touched
// unless it is saved. Qt-free; paths are the file system's bytes.
//
//   Workbook book = Workbook::Open(dir + "1.xls");
//   book.SetCellValue(4, 3, "6.44", '.');  // a number cell showing 6.44
//   book.SetCellText(11, 2, "8j");
//   book.SaveAs("/home/me/rudar");        // writes /home/me/rudar.xlsx
#pragma once

#include <memory>
#include <string>

#include "export/legacy_workbook.h"  // SheetRegion
#include "export/package.h"          // WorkbookError

namespace wormgear {

// The format of the file a workbook was opened from.
enum class WorkbookFormat {
    Ooxml,         // a zip package of OOXML parts (.xlsx)
    Binary,        // the older binary OLE2 format (.xls)
    OpenDocument,  // an OpenDocument spreadsheet (.ods)
};

class Workbook {
 public:
    // Opens an OOXML workbook (a zip package), an OpenDocument spreadsheet (a
    // zip package with content.xml: its active table's values) or an older
    // binary OLE2 workbook (read through FreeXL: its first sheet's values);
    // saving always writes OOXML. The format is told by the content, not the
    // name: the templates are named "*.xls" and hold OOXML, design files are
    // named "*.cqb" and may hold any of the three. Throws
    // WorkbookError for a missing file, a file that is not a workbook, a damaged
    // package or XML, parts beyond the size limit, or no active sheet. Every
    // failure of a workbook, here and below, names its file.
    static Workbook Open(const std::string& path);

    // Opens as Open does, to read the cells of `region` only: of a sheet
    // converted from an OpenDocument spreadsheet or an old binary workbook
    // only the values inside it are made, so that values repeated far beyond
    // it cost nothing. The whole sheet is held to the same bounds, so this
    // refuses what Open refuses and opens what Open opens. CellText outside
    // the region throws WorkbookError (Cell); the workbook cannot be saved
    // (Internal). A design file is read this way ({13, 1}).
    static Workbook OpenForReading(const std::string& path, SheetRegion region);

    // The same for the bytes of a workbook read from elsewhere (standard
    // input): `name` stands for the file in every sentence.
    static Workbook OpenBytesForReading(std::string bytes, const std::string& name, SheetRegion region);

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

    // Writes a text as spreadsheet programs store what a user types: a plain
    // decimal number (NumberCellOf: "168.728", "200", "1E-5") becomes a number
    // cell, its format that of the cell with the number format that shows the
    // text again ("0.000", "0", "0E-0"); every other text ("右", "0.3*P/2",
    // "200.50", "") a text cell as SetCellText writes it. CellText gives the
    // text back character for character either way.
    void SetCellValue(int row, int column, const std::string& text, char decimalSeparator);

    // Writes the workbook to SpreadsheetFileName(path). The file appears
    // complete or not at all (temporary file in the target folder, then
    // rename), and a failed save leaves an existing file of that name as it
    // was. Afterwards Path() is the written file.
    void SaveAs(const std::string& path);

    // Writes the workbook to exactly `path`, no extension added, the same way;
    // afterwards Path() is that file. Under an ".xlsm" name the workbook is
    // declared macro-enabled, as Excel requires of that name.
    void SaveTo(const std::string& path);

    // Writes the workbook back to Path() the same way.
    void Save();

    const std::string& Path() const;

    // The format of the file Open read, and its bytes as read: saving in
    // place writes OOXML whatever the source was.
    WorkbookFormat SourceFormat() const;
    const std::string& SourceBytes() const;

 private:
    struct Impl;
    explicit Workbook(std::unique_ptr<Impl> impl);
    static Workbook Opened(std::string bytes, const std::string& path, SheetRegion kept);
    std::unique_ptr<Impl> impl_;
};

// "C12" for row 12, column 3. Rows 1..1048576, columns 1..16384 (A..XFD);
// outside them WorkbookError.
std::string CellReference(int row, int column);

// The name a workbook is saved under, so that its extension tells what it
// holds: a name ending in ".xlsx" or ".xlsm" (any case) stays; one ending in
// ".xls", the older binary format, becomes ".xlsx"; any other name gets
// ".xlsx" appended, a dot elsewhere in it being part of the name:
//   "out/rudar" -> "out/rudar.xlsx", "hob1.xls" -> "hob1.xlsx",
//   "wheel A=200.5" -> "wheel A=200.5.xlsx", "a.XLSX" -> "a.XLSX".
std::string SpreadsheetFileName(const std::string& path);

}  // namespace wormgear
