// Reading, filling and saving design files.
#include "designfile/design_file.h"

#include <cerrno>

#include "files/file_io.h"
#include "files/file_names.h"

namespace wormgear {
namespace {

// Backup names tried before giving up: far more than anyone keeps.
constexpr int kBackupNames = 1000;

std::string KeepOriginal(const Workbook& book) {
    const std::string& path = book.Path();
    for (int n = 1; n <= kBackupNames; ++n) {
        const std::string backup = path + (n == 1 ? std::string() : "." + std::to_string(n)) + ".bak";
        try {
            CreateFileAtomically(backup, book.SourceBytes());
            return backup;
        } catch (const FileError& error) {
            if (error.systemError() != EEXIST || n == kBackupNames)
                throw WorkbookError(WorkbookError::Kind::File, error.what());
        }
    }
    return "";
}

// Only column 1 of rows 1 to 13 is read: values repeated elsewhere in a
// converted sheet are counted against its bounds but never made.
constexpr SheetRegion kDesignCells{kDesignFieldCount, 1};

DesignInputs DesignTexts(const Workbook& book, char decimalSeparator) {
    DesignInputs inputs;
    for (int row = 1; row <= kDesignFieldCount; ++row)
        inputs.*DesignFields()[row - 1].text = book.CellText(row, 1, decimalSeparator);
    return inputs;
}

// The thirteen texts and the particulars' rows, column A only.
constexpr SheetRegion kDesignWithParticulars{kLastParticularRow, 1};

DesignFileContent ContentOf(const Workbook& book, char decimalSeparator) {
    DesignFileContent content{DesignTexts(book, decimalSeparator), {}};
    for (const ParticularDescription& d : ParticularDescriptions()) {
        const int row = kFirstParticularRow + static_cast<int>(d.id);
        Text(content.particulars, d.id) = book.CellText(row, 1, decimalSeparator);
    }
    return content;
}

}  // namespace

DesignFileContent ReadDesign(const std::string& path, char decimalSeparator) {
    return ContentOf(Workbook::OpenForReading(path, kDesignWithParticulars), decimalSeparator);
}

DesignFileContent ReadDesignFromStream(std::istream& in, char decimalSeparator) {
    return ContentOf(Workbook::OpenBytesForReading(ReadWorkbookStream(in, kStandardInputName), kStandardInputName,
                                                   kDesignWithParticulars),
                     decimalSeparator);
}

void PutParticulars(Workbook& book, const Particulars& particulars, char decimalSeparator) {
    book.SetCellText(kParticularsHeadingRow, 2, kParticularsHeading);
    for (const ParticularDescription& d : ParticularDescriptions()) {
        const int row = kFirstParticularRow + static_cast<int>(d.id);
        const std::string& text = Text(particulars, d.id);
        // A drawing number "2024" stays a text; a length is a number a
        // spreadsheet program calculates with.
        if (d.kind == ParticularKind::Length) book.SetCellValue(row, 1, text, decimalSeparator);
        else book.SetCellText(row, 1, text);
        book.SetCellText(row, 2, d.name);
    }
}

DesignInputs ReadDesignFile(const std::string& path, char decimalSeparator) {
    return DesignTexts(Workbook::OpenForReading(path, kDesignCells), decimalSeparator);
}

DesignInputs ReadDesignStream(std::istream& in, char decimalSeparator) {
    return DesignTexts(
        Workbook::OpenBytesForReading(ReadWorkbookStream(in, kStandardInputName), kStandardInputName, kDesignCells),
        decimalSeparator);
}

void PutDesignInputs(Workbook& book, const DesignInputs& inputs, char decimalSeparator) {
    for (int row = 1; row <= kDesignFieldCount; ++row)
        book.SetCellValue(row, 1, inputs.*DesignFields()[row - 1].text, decimalSeparator);
}

std::string DesignFileName(const std::string& path) { return WithExtension(path, kDesignExtension); }

std::string SaveDesignAs(Workbook& book, const std::string& chosen) {
    // ".cqb" appended to "folder/" would make a hidden file of the folder.
    if (chosen.empty() || chosen.back() == '/')
        throw WorkbookError(WorkbookError::Kind::File, FileError(FileError::Action::NoFileName, chosen).what());
    book.SaveTo(DesignFileName(chosen));
    return book.Path();
}

bool NameTakesDesign(const std::string& path) {
    return HasExtension(path, kDesignExtension) || HasExtension(path, ".xlsx") || HasExtension(path, ".xlsm");
}

bool SavesInPlace(const Workbook& book) {
    return book.SourceFormat() == WorkbookFormat::Ooxml || NameTakesDesign(book.Path());
}

std::string SaveDesignInPlace(Workbook& book) {
    std::string backup;
    if (book.SourceFormat() != WorkbookFormat::Ooxml) backup = KeepOriginal(book);
    book.Save();
    return backup;
}

}  // namespace wormgear
