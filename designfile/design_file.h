// Design files (".cqb"): a workbook whose active sheet holds the thirteen
// input texts in column 1, rows 1 to 13, in the order of DesignFields(). New
// design files start from the template "111.xls" beside the program. No
// window: the window's commands and wormcalc both read and write through here.
#pragma once

#include <istream>
#include <string>

#include "calc/fields.h"
#include "export/workbook.h"
#include "particulars/particulars.h"

namespace wormgear {

inline constexpr const char* kDesignTemplateName = "111.xls";
inline constexpr const char* kDesignExtension = ".cqb";

// The thirteen texts of a design file, each cell read as text (empty, a
// number's FormatReal text with `decimalSeparator`, or the text). The file
// may be OOXML, an OpenDocument spreadsheet or an old binary workbook, under
// any name. Throws WorkbookError when the file cannot be read as a workbook.
DesignInputs ReadDesignFile(const std::string& path, char decimalSeparator);

// What stands for standard input where a sentence names the file.
inline constexpr const char* kStandardInputName = "标准输入";

// The thirteen texts of a design file read whole from `in` (standard input:
// a pipe, a redirected file), in any format ReadDesignFile reads, at most
// kMaxWorkbookFileBytes (more is refused unread). Throws WorkbookError, its
// sentences naming kStandardInputName.
DesignInputs ReadDesignStream(std::istream& in, char decimalSeparator);

// Puts the thirteen texts, unchecked and exactly as typed, into rows 1..13 of
// column 1 of `book`'s active sheet: a text that is a plain decimal number in
// the user's notation as a number cell, so spreadsheet programs calculate with
// it, every other one as a text cell; ReadDesignFile gives each back
// character for character ("200.50" stays a text and reads "200.50").
void PutDesignInputs(Workbook& book, const DesignInputs& inputs, char decimalSeparator);

// The particulars (particulars/particulars.h) lie below the thirteen texts:
// a heading in column B of row 15, then from row 16 one row per entry in the
// order of ParticularId, its text in column A (empty: the default) and its
// name in column B. A file without them (every design file written before)
// reads as all defaults; the reader of the thirteen texts never looks there.
inline constexpr int kParticularsHeadingRow = 15;
inline constexpr int kFirstParticularRow = 16;
inline constexpr int kLastParticularRow = kFirstParticularRow + kParticularCount - 1;
inline constexpr const char* kParticularsHeading = "图样资料（A 列为值，留空取默认值）";

// What a design file holds: the thirteen texts and the particulars.
struct DesignFileContent {
    DesignInputs inputs;
    Particulars particulars;
};

// ReadDesignFile and ReadDesignStream with the particulars, each cell read as
// text as the thirteen are; nothing is checked or cut (CheckParticulars tells
// what a save would refuse).
DesignFileContent ReadDesign(const std::string& path, char decimalSeparator);
DesignFileContent ReadDesignFromStream(std::istream& in, char decimalSeparator);

// Puts the particulars into their rows, with their names beside them: a
// length as PutDesignInputs puts a number, every other entry as a text cell,
// an empty entry as an empty cell. The caller has checked them.
void PutParticulars(Workbook& book, const Particulars& particulars, char decimalSeparator);

// The name a design is saved under when the user chose `path`: ".cqb"
// appended unless the name already ends with it (any case), so that picking
// an existing design overwrites it ("abc" -> "abc.cqb", "abc.cqb" stays).
std::string DesignFileName(const std::string& path);

// Writes `book` as a new design file under DesignFileName(chosen) and returns
// that name. A name that names no file ("", "folder/") is refused with
// WorkbookError (File) before anything is written.
std::string SaveDesignAs(Workbook& book, const std::string& chosen);

// Whether `path` is a name OOXML content may be written under: a design
// file's or an OOXML workbook's (".cqb", ".xlsx", ".xlsm", any case).
bool NameTakesDesign(const std::string& path);

// Whether a design opened into `book` is written back into its own file: an
// OOXML file under any name, and a file in another format (an OpenDocument
// spreadsheet, an old binary workbook) under a name NameTakesDesign accepts,
// which then becomes OOXML. Under another name ("gear.ods", "old.xls") OOXML
// content would contradict the name; such a design is saved like a new one.
bool SavesInPlace(const Workbook& book);

// Writes `book` back to its file. A file in another format than OOXML is
// first kept as it was, under "NAME.bak" beside it ("gear.cqb.bak"; when that
// name is taken, "gear.cqb.2.bak", "gear.cqb.3.bak" ...: an earlier backup is
// never replaced), so the first rewrite loses nothing; the rewritten file is
// OOXML and is never backed up again. Returns the backup's path, empty when
// none was made. Throws WorkbookError; when the backup cannot be written the
// design file is left as it was.
std::string SaveDesignInPlace(Workbook& book);

}  // namespace wormgear
