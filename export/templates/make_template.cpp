// Build tool: turns a sheet description (*.sheet, plain text beside this file)
// into the OOXML workbook the program ships under an ".xls" name.
//
//   make_template worm.sheet build/bin/1.xls
//   make_template worm.sheet build/bin/1_en.xls translations/wormgear_en.ts
//
// Given the catalogue, the sheet is made in English: every text with a
// Chinese character (the tab name, titles, names, units, notes) becomes its
// translation in the context wormgear::Sheets, and the columns take the
// english-widths; a text without a finished translation fails the build.
//
// A description is a list of lines "keyword rest", the rest split at "|":
//   sheet   <tab name>
//   widths  <width of column A> | <B> | ...      (character widths; sets the column count)
//   english-widths <A> | <B> | ...               (the same for the English sheet)
//   title   <row> | <text>                       (large, bold, across all columns)
//   value   <row> | C | <name> | <symbol> | <unit>
//           a value cell in column C: name in A, symbol in B, unit in D
//   value   <row> | B | <name> | | <unit>
//           a value cell in column B, merged over B:C: name in A, unit in D
//   section <row> | <text>                       (bold sub-heading across all columns)
//   note    <row> | <text>                       (small text across all columns, no border)
//   warning <row>                                (an empty red, bold cell across all columns: the
//                                                 export writes the design checks' errors into it)
//   field   <row> | <label>                      (design files: empty text cell in A, label in B)
// Blank lines and lines starting with "#" are ignored.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "export/ooxml.h"
#include "files/file_io.h"
#include "translations/catalogue.h"

namespace {

using wormgear::PackageEntries;

// Cell formats of styles.xml, by their index in cellXfs.
enum Style : int {
    kDefault = 0,
    kTitle = 1,
    kName = 2,
    kSymbol = 3,
    kValue = 4,
    kUnit = 5,
    kSection = 6,
    kNote = 7,
    kInput = 8,
    kLabel = 9,
    kWarning = 10,
};

struct Cell {
    int column;
    Style style;
    std::string text;  // empty: a formatted cell without content
};

struct Row {
    double height = 20;
    std::vector<Cell> cells;
};

struct Sheet {
    std::string tabName = "Sheet1";
    std::vector<double> widths;
    std::vector<double> englishWidths;
    std::map<int, Row> rows;
    std::vector<std::string> merges;
};

std::string Trim(const std::string& text) {
    const char* blanks = " \t\r";
    std::string::size_type begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos) return "";
    return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

std::vector<std::string> Fields(const std::string& rest) {
    std::vector<std::string> fields;
    std::stringstream stream(rest);
    std::string field;
    while (std::getline(stream, field, '|')) fields.push_back(Trim(field));
    if (!rest.empty() && rest.back() == '|') fields.emplace_back();
    return fields;
}

std::string ColumnLetter(int column) { return std::string(1, static_cast<char>('A' + column - 1)); }

std::string Reference(int row, int column) { return ColumnLetter(column) + std::to_string(row); }

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    std::cerr << where << ": " << what << "\n";
    std::exit(1);
}

Sheet ReadDescription(const std::string& path) {
    std::ifstream in(path);
    if (!in) Fail(path, "cannot read");
    Sheet sheet;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        std::string where = path + ":" + std::to_string(lineNumber);
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        std::string::size_type space = line.find_first_of(" \t");
        std::string keyword = line.substr(0, space);
        std::vector<std::string> f = Fields(space == std::string::npos ? "" : Trim(line.substr(space)));
        auto need = [&](std::size_t count) {
            if (f.size() < count) Fail(where, keyword + " needs " + std::to_string(count) + " fields");
        };
        auto rowAt = [&](const std::string& text) {
            int row = std::atoi(text.c_str());
            if (row < 1 || row > 1000) Fail(where, "bad row " + text);
            if (sheet.rows.count(row)) Fail(where, "row " + text + " described twice");
            return row;
        };
        int lastColumn = static_cast<int>(sheet.widths.size());
        auto across = [&](int row) {
            if (lastColumn < 2) Fail(where, "widths must come first");
            sheet.merges.push_back(Reference(row, 1) + ":" + Reference(row, lastColumn));
        };
        if (keyword == "sheet") {
            need(1);
            sheet.tabName = f[0];
        } else if (keyword == "widths") {
            for (const std::string& w : f) sheet.widths.push_back(std::atof(w.c_str()));
        } else if (keyword == "english-widths") {
            for (const std::string& w : f) sheet.englishWidths.push_back(std::atof(w.c_str()));
        } else if (keyword == "title" || keyword == "section" || keyword == "note") {
            need(2);
            int row = rowAt(f[0]);
            Style style = keyword == "title" ? kTitle : keyword == "section" ? kSection : kNote;
            Row& r = sheet.rows[row];
            r.height = keyword == "title" ? 36 : keyword == "note" ? 30 : 22;
            r.cells.push_back({1, style, f[1]});
            for (int c = 2; c <= lastColumn; ++c) r.cells.push_back({c, style, ""});
            across(row);
        } else if (keyword == "warning") {
            need(1);
            int row = rowAt(f[0]);
            Row& r = sheet.rows[row];
            r.height = 45;  // three lines of the 11 pt font
            for (int c = 1; c <= lastColumn; ++c) r.cells.push_back({c, kWarning, ""});
            across(row);
        } else if (keyword == "value") {
            need(5);
            if (lastColumn != 4) Fail(where, "value rows need four columns");
            int row = rowAt(f[0]);
            Row& r = sheet.rows[row];
            r.cells.push_back({1, kName, f[2]});
            if (f[1] == "C") {
                r.cells.push_back({2, kSymbol, f[3]});
                r.cells.push_back({3, kValue, ""});
            } else if (f[1] == "B") {
                if (!f[3].empty()) Fail(where, "a value in column B has no room for a symbol");
                r.cells.push_back({2, kValue, ""});
                r.cells.push_back({3, kValue, ""});
                sheet.merges.push_back(Reference(row, 2) + ":" + Reference(row, 3));
            } else {
                Fail(where, "value column must be B or C");
            }
            r.cells.push_back({4, kUnit, f[4]});
        } else if (keyword == "field") {
            need(2);
            int row = rowAt(f[0]);
            Row& r = sheet.rows[row];
            r.cells.push_back({1, kInput, ""});
            r.cells.push_back({2, kLabel, f[1]});
        } else {
            Fail(where, "unknown keyword " + keyword);
        }
    }
    if (sheet.widths.empty()) Fail(path, "no widths");
    return sheet;
}

// Whether `text` holds a CJK character or a full-width form (U+3000 to
// U+9FFF, U+FF00 to U+FFEF): the three-byte sequences that lead with E3 to
// E9, or EF BC to EF BF. "—", "°" and the Greek symbols are none.
bool HasChinese(const std::string& text) {
    for (std::size_t n = 0; n + 1 < text.size(); ++n) {
        const auto byte = static_cast<unsigned char>(text[n]);
        const auto next = static_cast<unsigned char>(text[n + 1]);
        if ((byte >= 0xE3 && byte <= 0xE9) || (byte == 0xEF && next >= 0xBC && next <= 0xBF)) return true;
    }
    return false;
}

// The sheet in English: each Chinese text its translation, the English widths.
void TranslateSheet(Sheet& sheet, const wormgear::Catalogue& catalogue, const std::string& path) {
    auto translated = [&](std::string& text) {
        if (!HasChinese(text)) return;
        const std::string* english = catalogue.find(wormgear::kSheetsContext, text);
        if (!english) Fail(path, "no English for \"" + text + "\" (wormgear::Sheets)");
        text = *english;
    };
    if (sheet.englishWidths.size() != sheet.widths.size()) Fail(path, "english-widths must give every column");
    sheet.widths = sheet.englishWidths;
    translated(sheet.tabName);
    for (auto& [number, row] : sheet.rows)
        for (Cell& cell : row.cells) translated(cell.text);
}

// 宋体 is what Chinese spreadsheet users expect; programs without it substitute
// a CJK font of their own.
const char* const kStyles =
    "<fonts count=\"6\">"
    "<font><sz val=\"11\"/><name val=\"宋体\"/><charset val=\"134\"/><family val=\"3\"/></font>"
    "<font><b/><sz val=\"16\"/><name val=\"宋体\"/><charset val=\"134\"/><family val=\"3\"/></font>"
    "<font><i/><sz val=\"11\"/><name val=\"Times New Roman\"/><family val=\"1\"/></font>"
    "<font><b/><sz val=\"11\"/><name val=\"宋体\"/><charset val=\"134\"/><family val=\"3\"/></font>"
    "<font><sz val=\"9\"/><name val=\"宋体\"/><charset val=\"134\"/><family val=\"3\"/></font>"
    "<font><b/><sz val=\"11\"/><color rgb=\"FFC00000\"/><name val=\"宋体\"/><charset val=\"134\"/>"
    "<family val=\"3\"/></font>"
    "</fonts>"
    "<fills count=\"3\">"
    "<fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill>"
    "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"FFDDE4EE\"/><bgColor indexed=\"64\"/></patternFill></fill>"
    "</fills>"
    "<borders count=\"2\">"
    "<border><left/><right/><top/><bottom/><diagonal/></border>"
    "<border><left style=\"thin\"><color auto=\"1\"/></left><right style=\"thin\"><color auto=\"1\"/></right>"
    "<top style=\"thin\"><color auto=\"1\"/></top><bottom style=\"thin\"><color auto=\"1\"/></bottom><diagonal/></border>"
    "</borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"11\">"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\" applyAlignment=\"1\">"
    "<alignment horizontal=\"center\" vertical=\"center\"/></xf>"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyBorder=\"1\" applyAlignment=\"1\">"
    "<alignment horizontal=\"left\" vertical=\"center\" indent=\"1\"/></xf>"
    "<xf numFmtId=\"0\" fontId=\"2\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyFont=\"1\" applyBorder=\"1\" applyAlignment=\"1\">"
    "<alignment horizontal=\"center\" vertical=\"center\"/></xf>"
    "<xf numFmtId=\"49\" fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" applyBorder=\"1\" applyAlignment=\"1\">"
    "<alignment horizontal=\"center\" vertical=\"center\" shrinkToFit=\"1\"/></xf>"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyBorder=\"1\" applyAlignment=\"1\">"
    "<alignment horizontal=\"center\" vertical=\"center\"/></xf>"
    "<xf numFmtId=\"0\" fontId=\"3\" fillId=\"2\" borderId=\"1\" xfId=\"0\" applyFont=\"1\" applyFill=\"1\" applyBorder=\"1\" applyAlignment=\"1\">"
    "<alignment horizontal=\"left\" vertical=\"center\"/></xf>"
    "<xf numFmtId=\"0\" fontId=\"4\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\" applyAlignment=\"1\">"
    "<alignment horizontal=\"left\" vertical=\"top\" wrapText=\"1\"/></xf>"
    "<xf numFmtId=\"49\" fontId=\"0\" fillId=\"0\" borderId=\"1\" xfId=\"0\" applyNumberFormat=\"1\" applyBorder=\"1\"/>"
    "<xf numFmtId=\"0\" fontId=\"4\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\" applyAlignment=\"1\">"
    "<alignment vertical=\"center\"/></xf>"
    "<xf numFmtId=\"49\" fontId=\"5\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\" applyFont=\"1\" applyAlignment=\"1\">"
    "<alignment horizontal=\"left\" vertical=\"top\" wrapText=\"1\"/></xf>"
    "</cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"常规\" xfId=\"0\" builtinId=\"0\"/></cellStyles>";

PackageEntries BuildPackage(const Sheet& sheet) {
    int lastColumn = static_cast<int>(sheet.widths.size());
    int lastRow = sheet.rows.empty() ? 1 : sheet.rows.rbegin()->first;

    wormgear::OneSheetWorkbook book;
    book.sheetName = sheet.tabName;
    std::string rows;
    for (const auto& [number, row] : sheet.rows) {
        char height[32];
        std::snprintf(height, sizeof height, "%g", row.height);
        rows += "<row r=\"" + std::to_string(number) + "\" ht=\"" + height + "\" customHeight=\"1\">";
        std::vector<Cell> cells = row.cells;
        std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.column < b.column; });
        for (const Cell& cell : cells) {
            rows += "<c r=\"" + Reference(number, cell.column) + "\" s=\"" + std::to_string(cell.style) + "\"";
            if (cell.text.empty()) {
                rows += "/>";
                continue;
            }
            rows += " t=\"s\"><v>" + std::to_string(book.strings.indexOf(cell.text)) + "</v></c>";
        }
        rows += "</row>";
    }

    std::string cols;
    for (int c = 1; c <= lastColumn; ++c) {
        char width[32];
        std::snprintf(width, sizeof width, "%g", sheet.widths[static_cast<std::size_t>(c - 1)]);
        cols += "<col min=\"" + std::to_string(c) + "\" max=\"" + std::to_string(c) + "\" width=\"" + width +
                "\" customWidth=\"1\"/>";
    }
    std::string merges;
    for (const std::string& m : sheet.merges) merges += "<mergeCell ref=\"" + m + "\"/>";
    std::string range = "$A$1:$" + ColumnLetter(lastColumn) + "$" + std::to_string(lastRow);

    book.worksheetContent =
        "<sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr>"
        "<dimension ref=\"A1:" +
        ColumnLetter(lastColumn) + std::to_string(lastRow) +
        "\"/>"
        "<sheetViews><sheetView showGridLines=\"0\" tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
        "<sheetFormatPr defaultRowHeight=\"20\" customHeight=\"1\"/>"
        "<cols>" +
        cols +
        "</cols>"
        "<sheetData>" +
        rows + "</sheetData>" +
        (merges.empty()
             ? std::string()
             : "<mergeCells count=\"" + std::to_string(sheet.merges.size()) + "\">" + merges + "</mergeCells>") +
        "<printOptions horizontalCentered=\"1\"/>"
        "<pageMargins left=\"0.75\" right=\"0.75\" top=\"1\" bottom=\"1\" header=\"0.5\" footer=\"0.5\"/>"
        "<pageSetup paperSize=\"9\" orientation=\"portrait\" fitToWidth=\"1\" fitToHeight=\"1\"/>";
    book.stylesContent = kStyles;
    const std::string quotedTab = "'" + sheet.tabName + "'";
    book.definedNames = "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">" + wormgear::XmlEscaped(quotedTab) +
                        "!" + range + "</definedName>";
    // A fixed date keeps the built files identical from build to build.
    book.date = 1704067200;  // 2024-01-01 00:00 UTC
    return wormgear::OneSheetWorkbookPackage(book);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::cerr << "usage: make_template DESCRIPTION.sheet OUTPUT [CATALOGUE.ts]\n";
        return 2;
    }
    try {
        Sheet sheet = ReadDescription(argv[1]);
        if (argc == 4) TranslateSheet(sheet, wormgear::Catalogue::Read(argv[3]), argv[1]);
        wormgear::ReplaceFileAtomically(argv[2], wormgear::WritePackage(BuildPackage(sheet)));
    } catch (const std::exception& error) {
        std::cerr << argv[2] << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}
