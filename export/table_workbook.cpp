// Tables written as one-sheet workbooks.
#include "export/table_workbook.h"

#include <algorithm>
#include <ctime>

#include "export/package.h"
#include "export/workbook.h"

namespace wormgear {

namespace {

// Whether `text` is a number as FormatReal writes it with '.', and so a value
// every spreadsheet reads: an optional minus, digits with at most one point,
// and an optional exponent.
bool IsStoredNumber(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && text[at] == '-') ++at;
    auto digits = [&] {
        const std::size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        return at > start;
    };
    bool any = digits();
    if (at < text.size() && text[at] == '.') {
        ++at;
        any = digits() || any;
    }
    if (!any) return false;
    if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
        ++at;
        if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
        if (!digits()) return false;
    }
    return at == text.size();
}

// The characters a text takes in a cell: two for an East Asian wide or
// full-width one (汉字, "，"), one for any other; a byte that starts no
// character of UTF-8 counts as one.
std::size_t DisplayWidth(const std::string& text) {
    std::size_t width = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length && at + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[at + k]) & 0x3F);
        const bool wide = (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
                          (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
                          (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
                          (code >= 0xFFE0 && code <= 0xFFE6) || code >= 0x20000;
        width += wide ? 2 : 1;
        at += length;
    }
    return width;
}

// A sheet's name in a formula: quoted, a quote inside doubled ('方案表'!$1:$1).
std::string QuotedSheetName(const std::string& name) {
    std::string quoted = "'";
    for (char c : name) {
        quoted += c;
        if (c == '\'') quoted += c;
    }
    return quoted + "'";
}

}  // namespace

TableWorkbook::TableWorkbook(std::string sheetName) {
    book_.sheetName = std::move(sheetName);
    book_.date = std::time(nullptr);
    rowNumber_ = "1";
}

const std::string& TableWorkbook::nextColumn() {
    if (column_ == kMostColumns) {
        throw WorkbookError(WorkbookError::Kind::Cell, "表格的一行超过 " + std::to_string(kMostColumns) + " 列");
    }
    if (column_ == 0) cells_ += "<row r=\"" + rowNumber_ + "\">";
    if (static_cast<std::size_t>(column_) == columns_.size()) {
        // "A1" without its row number.
        const std::string reference = CellReference(1, column_ + 1);
        columns_.push_back(reference.substr(0, reference.size() - 1));
        widths_.push_back(0);
    }
    return columns_[static_cast<std::size_t>(column_++)];
}

void TableWorkbook::noteWidth(std::size_t width) {
    std::size_t& widest = widths_[static_cast<std::size_t>(column_ - 1)];
    if (width > widest) widest = width;
}

int TableWorkbook::columnWidth(int column) const {
    const std::size_t widest = column >= 0 && static_cast<std::size_t>(column) < widths_.size()
                                   ? widths_[static_cast<std::size_t>(column)]
                                   : 0;
    // Two characters of margin: the cell's padding and a sort or filter
    // button's room in the header.
    return static_cast<int>(std::min<std::size_t>(kWidestColumn, widest + 2));
}

void TableWorkbook::openCell(const char* attributes) {
    const std::string& column = nextColumn();  // opens the row at its first cell
    cells_ += "<c r=\"";
    cells_ += column;
    cells_ += rowNumber_;
    cells_ += '"';
    cells_ += attributes;
    cells_ += "><v>";
}

void TableWorkbook::number(std::string_view text) {
    if (!IsStoredNumber(text)) {
        throw WorkbookError(WorkbookError::Kind::Cell, "“" + std::string(text) + "”不是可以存为数值的数字");
    }
    openCell("");
    noteWidth(text.size());
    cells_.append(text);
    cells_ += "</v></c>";
}

void TableWorkbook::text(const std::string& text) {
    if (text.empty()) {
        skip();
        return;
    }
    openCell(" t=\"s\"");
    noteWidth(DisplayWidth(text));
    cells_ += std::to_string(book_.strings.indexOf(text));
    cells_ += "</v></c>";
}

// An empty cell is not written: the next cell names its own column.
void TableWorkbook::skip() { nextColumn(); }

void TableWorkbook::endRow() {
    if (rows_ == kMostRows) {
        throw WorkbookError(WorkbookError::Kind::Cell, "表格超过工作表的 " + std::to_string(kMostRows) + " 行");
    }
    if (column_ == 0) cells_ += "<row r=\"" + rowNumber_ + "\">";
    cells_ += "</row>";
    column_ = 0;
    ++rows_;
    rowNumber_ = std::to_string(rows_ + 1);
}

PackageEntries TableWorkbook::package() {
    std::string columns;
    for (std::size_t c = 0; c < widths_.size(); ++c) {
        // A whole number of characters: written without the C library's
        // locale, whose decimal separator may be a comma.
        const std::string width = std::to_string(columnWidth(static_cast<int>(c)));
        const std::string number = std::to_string(c + 1);
        columns += "<col min=\"" + number + "\" max=\"" + number + "\" width=\"" + width + "\" customWidth=\"1\"/>";
    }
    if (!columns.empty()) columns = "<cols>" + columns + "</cols>";
    // Printed across A4 (paper size 9) with gridlines; the header row
    // stands on every page, and a page takes whole columns, as many as fit.
    book_.worksheetContent =
        "<sheetViews><sheetView workbookViewId=\"0\"><pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" "
        "state=\"frozen\"/></sheetView></sheetViews>" +
        columns + "<sheetData>" + cells_ +
        "</sheetData><printOptions gridLines=\"1\"/>"
        "<pageMargins left=\"0.5\" right=\"0.5\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/>"
        "<pageSetup paperSize=\"9\" orientation=\"landscape\" pageOrder=\"overThenDown\"/>";
    book_.definedNames = "<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">" +
                         XmlEscaped(QuotedSheetName(book_.sheetName) + "!$1:$1") + "</definedName>";
    PackageEntries entries = OneSheetWorkbookPackage(book_);
    book_.worksheetContent.clear();
    book_.definedNames.clear();
    return entries;
}

}  // namespace wormgear
