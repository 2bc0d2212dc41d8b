// Tables written as one-sheet workbooks.
#include "export/table_workbook.h"

#include <ctime>

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
    }
    return columns_[static_cast<std::size_t>(column_++)];
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
    cells_.append(text);
    cells_ += "</v></c>";
}

void TableWorkbook::text(const std::string& text) {
    if (text.empty()) {
        skip();
        return;
    }
    openCell(" t=\"s\"");
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
    book_.worksheetContent =
        "<sheetViews><sheetView workbookViewId=\"0\"><pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" "
        "state=\"frozen\"/></sheetView></sheetViews><sheetData>" +
        cells_ + "</sheetData>";
    PackageEntries entries = OneSheetWorkbookPackage(book_);
    book_.worksheetContent.clear();
    return entries;
}

}  // namespace wormgear
