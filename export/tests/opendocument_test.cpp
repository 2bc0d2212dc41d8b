// OpenDocument spreadsheets on hand-made packages: each kind of cell, the
// repeats of rows and cells, the active table, and hostile or damaged files
// that must be refused quickly, within bounded memory, with the file named.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "export/legacy_workbook.h"  // kMaxLegacyCells, kMaxSheetTextBytes
#include "export/tests/test_support.h"
#include "export/workbook.h"
#include "files/testing/faults.h"

namespace wormgear {
namespace {

using namespace wormgear::testing;
using Kind = WorkbookError::Kind;

std::string Float(const char* value, const char* shown = nullptr) {
    return std::string("<table:table-cell office:value-type=\"float\" office:value=\"") + value +
           "\" calcext:value-type=\"float\"><text:p>" + (shown ? shown : value) + "</text:p></table:table-cell>";
}
std::string Text(const std::string& paragraphs) {
    return "<table:table-cell office:value-type=\"string\" calcext:value-type=\"string\">" + paragraphs +
           "</table:table-cell>";
}
std::string Row(const std::string& cells, const std::string& attributes = "") {
    return "<table:table-row" + attributes + ">" + cells + "</table:table-row>";
}
const std::string kEmpty = "<table:table-cell/>";

// The kind of a refusal, or "opened".
std::string Outcome(const std::string& path) {
    try {
        Workbook::Open(path);
        return "opened";
    } catch (const WorkbookError& error) {
        switch (error.kind()) {
            case Kind::NotWorkbook: return "not a workbook";
            case Kind::Damaged: return "damaged";
            case Kind::TooLarge: return "too large";
            case Kind::NoSheet: return "no sheet";
            default: return "other";
        }
    }
}

class OpenDocumentTest : public FolderTest {
 protected:
    std::string WriteTable(const std::string& name, const std::string& rows) {
        return Write(name, OpenDocumentParts(OpenDocumentTable(rows)));
    }
};

TEST_F(OpenDocumentTest, ReadsEveryKindOfCellAsTheWorkbookShowsIt) {
    const std::string rows =
        Row(Float("200") + Float("0.1") + Float("1E-05", "0.00001") + Float("-2.5")) +
        Row("<table:table-cell office:value-type=\"percentage\" office:value=\"0.25\"><text:p>25%</text:p>"
            "</table:table-cell>"
            "<table:table-cell office:value-type=\"currency\" office:currency=\"CNY\" office:value=\"12.5\">"
            "<text:p>¥12.50</text:p></table:table-cell>"
            "<table:table-cell office:value-type=\"boolean\" office:boolean-value=\"true\"><text:p>TRUE</text:p>"
            "</table:table-cell>"
            "<table:table-cell office:value-type=\"date\" office:date-value=\"2024-03-01\"><text:p>2024/3/1</text:p>"
            "</table:table-cell>") +
        Row(Text("<text:p>8j (GB/T16445-1996)</text:p>") +
            Text("<text:p>a<text:s text:c=\"3\"/>b<text:tab/>c</text:p>") +
            Text("<text:p>line one</text:p><text:p>line two</text:p>") +
            Text("<text:p><text:span text:style-name=\"T1\">蜗</text:span> <text:span>杆</text:span>"
                 "<text:line-break/>x</text:p>")) +
        Row(Text("<text:p>  collapsed   blanks  </text:p>") +
            "<table:table-cell office:value-type=\"string\" office:string-value=\"stored\"><text:p>shown</text:p>"
            "</table:table-cell>" +
            "<table:table-cell table:formula=\"of:=1/0\" office:value-type=\"float\" office:value=\"0\" "
            "calcext:value-type=\"error\"><text:p>#DIV/0!</text:p></table:table-cell>" +
            Text("<text:p>note<office:annotation><text:p>hidden</text:p></office:annotation></text:p>"));
    const std::string path = WriteTable("kinds.cqb", rows);
    const Workbook book = Workbook::Open(path);
    const struct {
        int row, column;
        const char* text;
    } kCells[] = {
        {1, 1, "200"},
        {1, 2, "0.1"},
        {1, 3, "1E-5"},
        {1, 4, "-2.5"},
        {2, 1, "0.25"},  // the value, as a number cell of a workbook reads
        {2, 2, "12.5"},
        {2, 3, "TRUE"},
        {2, 4, "2024/3/1"},  // a date as it is shown
        {3, 1, "8j (GB/T16445-1996)"},
        {3, 2, "a   b\tc"},
        {3, 3, "line one\nline two"},
        {3, 4, "蜗 杆\nx"},
        {4, 1, "collapsed blanks"},
        {4, 2, "stored"},
        {4, 3, "#DIV/0!"},
        {4, 4, "note"},
        {5, 1, ""},
    };
    for (const auto& c : kCells)
        EXPECT_EQ(book.CellText(c.row, c.column, '.'), c.text) << CellReference(c.row, c.column);
    EXPECT_EQ(book.CellText(1, 2, ','), "0,1");
    EXPECT_EQ(book.SourceFormat(), WorkbookFormat::OpenDocument);
    EXPECT_EQ(book.SourceBytes(), ReadFile(path));
}

TEST_F(OpenDocumentTest, RepeatedRowsAndCellsAreRepeatedAndEmptyOnesCostNothing) {
    const std::string rows =
        Row(Float("1") + "<table:table-cell table:number-columns-repeated=\"2\"/>" +
            "<table:table-cell table:number-columns-repeated=\"3\" office:value-type=\"string\"><text:p>r</text:p>"
            "</table:table-cell>" +
            "<table:covered-table-cell/>" + Float("7") +
            // as LibreOffice ends a row: the rest of the columns, empty
            "<table:table-cell table:number-columns-repeated=\"16376\"/>") +
        Row("<table:table-cell table:number-columns-repeated=\"16384\"/>", " table:number-rows-repeated=\"3\"") +
        "<table:table-row-group><table:table-header-rows>" + Row(Float("2"), " table:number-rows-repeated=\"2\"") +
        "</table:table-header-rows></table:table-row-group>" +
        // as LibreOffice ends a table: the rest of the rows, empty
        Row("<table:table-cell table:number-columns-repeated=\"16384\"/>", " table:number-rows-repeated=\"1048570\"");
    const Workbook book = Workbook::Open(WriteTable("repeats.ods", rows));
    const struct {
        int row, column;
        const char* text;
    } kCells[] = {
        {1, 1, "1"}, {1, 3, ""}, {1, 4, "r"}, {1, 5, "r"}, {1, 6, "r"}, {1, 7, ""},  // a covered cell takes its column
        {1, 8, "7"}, {4, 1, ""}, {5, 1, "2"}, {6, 1, "2"}, {7, 1, ""},
    };
    for (const auto& c : kCells)
        EXPECT_EQ(book.CellText(c.row, c.column, '.'), c.text) << CellReference(c.row, c.column);
}

TEST_F(OpenDocumentTest, ReadsTheActiveTableElseTheFirst) {
    const std::string tables = OpenDocumentTable(Row(Float("1")), "Notes") +
                               OpenDocumentTable(Row(Float("200")), "设计数据") +
                               OpenDocumentTable(Row(Float("3")), "Third");
    EXPECT_EQ(Workbook::Open(Write("active.ods", OpenDocumentParts(tables, "设计数据"))).CellText(1, 1, '.'), "200");
    EXPECT_EQ(Workbook::Open(Write("first.ods", OpenDocumentParts(tables))).CellText(1, 1, '.'), "1");
    EXPECT_EQ(Workbook::Open(Write("unknown.ods", OpenDocumentParts(tables, "Gone"))).CellText(1, 1, '.'), "1");
}

TEST_F(OpenDocumentTest, SavingWritesOoxmlAndLeavesTheOpenedFileAlone) {
    const std::string path = WriteTable("design.ods", Row(Float("200")) + Row(Text("<text:p>25</text:p>")));
    const std::string before = ReadFile(path);
    Workbook book = Workbook::Open(path);
    book.SetCellValue(1, 1, "210", '.');
    book.SaveAs(Path("converted"));
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(ReadFile(Path("converted.xlsx")).substr(0, 2), "PK");
    const Workbook converted = Workbook::Open(Path("converted.xlsx"));
    EXPECT_EQ(converted.SourceFormat(), WorkbookFormat::Ooxml);
    EXPECT_EQ(converted.CellText(1, 1, '.'), "210");
    EXPECT_EQ(converted.CellText(2, 1, '.'), "25");
}

// A hostile or damaged file is refused in time, whatever it asks for.
struct HostileCase {
    const char* what;
    const char* outcome;
    std::function<Parts()> parts;
};

TEST_F(OpenDocumentTest, RefusesHostileAndDamagedFilesWithinBounds) {
    std::string deep = "<text:p>";
    for (int i = 0; i < 100000; ++i) deep += "<text:span>";
    deep += "deep";
    for (int i = 0; i < 100000; ++i) deep += "</text:span>";
    deep += "</text:p>";
    const HostileCase kCases[] = {
        {"a value repeated over a million rows and every column", "too large",
         [] {
             return OpenDocumentParts(OpenDocumentTable(
                 Row("<table:table-cell table:number-columns-repeated=\"16384\" office:value-type=\"float\" "
                     "office:value=\"1\"/>",
                     " table:number-rows-repeated=\"1048576\"")));
         }},
        {"a value repeated four billion times in one row", "too large",
         [] {
             return OpenDocumentParts(OpenDocumentTable(
                 Row("<table:table-cell table:number-columns-repeated=\"4000000000\" office:value-type=\"float\" "
                     "office:value=\"1\"/>")));
         }},
        {"a value beyond the last row", "damaged",
         [] {
             return OpenDocumentParts(
                 OpenDocumentTable(Row(kEmpty, " table:number-rows-repeated=\"1048576\"") + Row(Float("1"))));
         }},
        {"a value beyond the last column", "damaged",
         [] {
             return OpenDocumentParts(
                 OpenDocumentTable(Row("<table:table-cell table:number-columns-repeated=\"16384\"/>" + Float("1"))));
         }},
        // Repeats that pass the 64 bits of a count stay beyond the sheet.
        {"a value after empty rows repeated 2^64 - 1 times", "damaged",
         [] {
             return OpenDocumentParts(OpenDocumentTable(
                 Row(kEmpty, " table:number-rows-repeated=\"1\"") +
                 Row(kEmpty, " table:number-rows-repeated=\"18446744073709551615\"") + Row(Float("1"))));
         }},
        {"a value after empty cells repeated 2^64 - 1 times", "damaged",
         [] {
             return OpenDocumentParts(OpenDocumentTable(Row(
                 kEmpty + "<table:table-cell table:number-columns-repeated=\"18446744073709551615\"/>" + Float("1"))));
         }},
        {"four billion spaces", "too large",
         [] {
             return OpenDocumentParts(OpenDocumentTable(Row(Text("<text:p><text:s text:c=\"4000000000\"/></text:p>"))));
         }},
        {"spans nested a hundred thousand deep", "opened",
         [&deep] { return OpenDocumentParts(OpenDocumentTable(Row(Text(deep)))); }},
        {"content.xml missing", "damaged",
         [] {
             Parts parts = OpenDocumentParts(OpenDocumentTable(Row(Float("1"))));
             parts.erase(parts.begin() + 2);
             return parts;
         }},
        {"content.xml cut short", "damaged",
         [] {
             Parts parts = OpenDocumentParts(OpenDocumentTable(Row(Float("1"))));
             parts[2].second.resize(parts[2].second.size() / 2);
             return parts;
         }},
        {"no table", "no sheet", [] { return OpenDocumentParts(""); }},
        {"a text document", "not a workbook",
         [] { return OpenDocumentParts("", "", "application/vnd.oasis.opendocument.text"); }},
        {"content of a text document without mimetype", "not a workbook",
         [] {
             return Parts{{"content.xml",
                           "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\">"
                           "<office:body><office:text/></office:body></office:document-content>"}};
         }},
        {"damaged settings.xml", "opened",
         [] {
             Parts parts = OpenDocumentParts(OpenDocumentTable(Row(Float("1"))), "Sheet1");
             parts.back().second = "<office:document-settings";
             return parts;
         }},
    };
    for (const HostileCase& c : kCases) {
        SCOPED_TRACE(c.what);
        const std::string path = Write("hostile.cqb", c.parts());
        // A hang or a runaway allocation fails the test instead of holding it.
        const int result = RunInChildAtMost(20, [&] { return Outcome(path) == c.outcome ? 0 : 1; });
        EXPECT_EQ(result, 0) << "outcome " << Outcome(path);
    }
}

TEST_F(OpenDocumentTest, AZipBombInContentXmlIsRefusedWithinTheMemoryBound) {
    if (!MemoryBoundsMeasurable()) GTEST_SKIP() << "memory is not measurable under the sanitizer";
    // Tens of megabytes of markup pack into a few dozen kilobytes.
    std::string cells;
    for (int i = 0; i < (1 << 20); ++i) cells += "<table:table-cell/>";
    const struct {
        const char* why;
        std::string rows;
    } kBombs[] = {
        {"beyond the parsed-XML bound: a million cells", Row(cells)},
        {"beyond the unpacked bound: 70 MiB of blanks", Row(std::string(70u << 20, ' '))},
    };
    for (const auto& bomb : kBombs) {
        SCOPED_TRACE(bomb.why);
        const std::string path = Write("bomb.ods", OpenDocumentParts(OpenDocumentTable(bomb.rows)));
        EXPECT_LT(ReadFile(path).size(), 1u << 20);
        const int result = RunWithMemoryBound(256ull << 20, [&] {
            try {
                Workbook::Open(path);
                return 1;
            } catch (const WorkbookError& error) {
                return error.kind() == Kind::TooLarge ? 0 : 2;
            } catch (const std::bad_alloc&) {
                return 3;
            }
        });
        EXPECT_EQ(result, 0);
    }
}

// A cell of `paragraphs` repeated over `columns` columns.
std::string RepeatedText(const std::string& paragraphs, std::uint64_t columns) {
    return "<table:table-cell table:number-columns-repeated=\"" + std::to_string(columns) +
           "\" office:value-type=\"string\">" + paragraphs + "</table:table-cell>";
}
std::string Rows(std::uint64_t count) { return " table:number-rows-repeated=\"" + std::to_string(count) + "\""; }
const std::string kLongParagraph = "<text:p>x<text:s text:c=\"131063\"/></text:p>";  // the longest cell text

// Short files that describe huge sheets: each is refused (the sheet named
// with the bound it passes) or opened, within the memory any design file must
// open in, whether the whole sheet is read or only a design's cells.
TEST_F(OpenDocumentTest, RepeatsAreBoundedByWhatTheyExpandToBeforeTheyExpand) {
    if (!MemoryBoundsMeasurable()) GTEST_SKIP() << "memory is not measurable under the sanitizer";
    std::string distinct;  // 200 cells, each a long text of its own: 26 MB of text from 6 kB
    for (int n = 0; n < 200; ++n)
        distinct += Text("<text:p>" + std::to_string(n) + "<text:s text:c=\"131000\"/></text:p>");
    std::string justUnder;  // 30 of the longest texts: 3.9 MB, under the 4 MiB bound
    for (int n = 0; n < 30; ++n)
        justUnder += Text("<text:p>" + std::to_string(n) + "<text:s text:c=\"131000\"/></text:p>");
    const std::string textBound = "4 MiB", cellBound = "100000";
    const struct {
        const char* what;
        std::string rows;
        const char* outcome;
        std::string sentenceHolds;
    } kCases[] = {
        {"the longest text repeated over 99,990 columns", Row(RepeatedText(kLongParagraph, 99990)), "too large",
         textBound},
        {"the longest text in a row repeated 99,990 times", Row(Text(kLongParagraph), Rows(99990)), "too large",
         textBound},
        {"a kilobyte text over 300 columns of 300 rows",
         Row(RepeatedText("<text:p>x<text:s text:c=\"999\"/></text:p>", 300), Rows(300)), "too large", textBound},
        {"a number over 300 columns of 334 rows",
         Row("<table:table-cell table:number-columns-repeated=\"300\" office:value-type=\"float\" office:value=\"1\"/>",
             Rows(334)),
         "too large", cellBound},
        {"repeated rows in row groups nested in header rows",
         "<table:table-row-group><table:table-header-rows><table:table-row-group>" +
             Row(RepeatedText(kLongParagraph, 10), Rows(200)) +
             "</table:table-row-group></table:table-header-rows></table:table-row-group>",
         "too large", textBound},
        {"200 long texts each spelled out by one element", Row(distinct), "too large", textBound},
        {"30 of the longest texts, under the bound", Row(justUnder), "opened", ""},
        {"a design with a short text repeated over 75,000 cells beside it",
         Row(Float("200") + RepeatedText("<text:p>x</text:p>", 300)) +
             Row(Float("25") + RepeatedText("<text:p>y</text:p>", 300), Rows(249)),
         "opened", ""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        const std::string path = Write("设计 A.cqb", OpenDocumentParts(OpenDocumentTable(c.rows)));
        EXPECT_LT(ReadFile(path).size(), 16u << 10);
        auto firstColumn = [](const Workbook& book) {
            const std::string a1 = book.CellText(1, 1, '.');
            return a1 == "200" ? book.CellText(2, 1, '.') == "25" && book.CellText(13, 1, '.') == "25"
                               : a1.rfind("0", 0) == 0;
        };
        EXPECT_EQ(OutcomeWithinMemory([&] { return firstColumn(Workbook::Open(path)); }, path, c.sentenceHolds),
                  c.outcome);
        EXPECT_EQ(OutcomeWithinMemory(
                      [&] {
                          return firstColumn(Workbook::OpenForReading(path, {13, 1}));
                      },
                      path, c.sentenceHolds),
                  c.outcome);
    }
}

// A sheet at the bounds of the workbook it converts to: distinct texts, as
// many as the XML of that workbook may hold. It opens whole and in part
// within the memory a design file may take, and the workbook saved from it
// opens again; a few values more are refused, whole and in part alike.
TEST_F(OpenDocumentTest, ASheetAtTheBoundsOpensAndItsSavedWorkbookOpensAgain) {
    if (!MemoryBoundsMeasurable()) GTEST_SKIP() << "memory is not measurable under the sanitizer";
    // Each text a shared string of its own: eight tags a value in the
    // converted workbook, two a row; 300 rows of 207 values come to 497,400
    // of the 500,000 its XML may hold, with room for the other parts.
    auto table = [](int columns) {
        std::string rows;
        for (int r = 0; r < 300; ++r) {
            rows += "<table:table-row>";
            for (int c = 0; c < columns; ++c) {
                rows += "<table:table-cell office:value-type=\"string\"><text:p>" + std::to_string(r * 1000 + c) +
                        "&lt;</text:p></table:table-cell>";
            }
            rows += "</table:table-row>";
        }
        return rows;
    };
    const std::string path = WriteTable("bounds.ods", table(207));
    const std::string saved = Path("bounds.cqb");
    EXPECT_EQ(OutcomeWithinMemory(
                  [&] {
                      Workbook book = Workbook::Open(path);
                      if (book.CellText(300, 207, '.') != "299206<") return false;
                      book.SetCellText(1, 1, "200");
                      book.SaveTo(saved);
                      const Workbook again = Workbook::Open(saved);
                      return again.CellText(1, 1, '.') == "200" && again.CellText(300, 207, '.') == "299206<";
                  },
                  path, ""),
              "opened");
    EXPECT_EQ(OutcomeWithinMemory(
                  [&] {
                      return Workbook::OpenForReading(path, {13, 1}).CellText(13, 1, '.') == "12000<";
                  },
                  path, ""),
              "opened");
    const std::string more = WriteTable("more.ods", table(208));
    EXPECT_EQ(OutcomeWithinMemory([&] { return Workbook::Open(more).CellText(1, 1, '.').empty(); }, more, "500000"),
              "too large");
    EXPECT_EQ(OutcomeWithinMemory(
                  [&] {
                      return Workbook::OpenForReading(more, {13, 1}).CellText(1, 1, '.').empty();
                  },
                  more, "500000"),
              "too large");
}

TEST_F(OpenDocumentTest, ReadingADesignsCellsGivesWhatTheWholeSheetGives) {
    const std::string rows = Row(Float("200") + RepeatedText("<text:p>a</text:p>", 5)) +
                             Row(Text("<text:p>右</text:p>"), Rows(3)) + Row(kEmpty, Rows(4)) +
                             Row(RepeatedText("<text:p>0.3*P/2</text:p>", 2) + Float("7"), Rows(6));
    const std::string path = WriteTable("design.ods", rows);
    const Workbook whole = Workbook::Open(path);
    const Workbook design = Workbook::OpenForReading(path, {13, 1});
    for (int row = 1; row <= 13; ++row)
        EXPECT_EQ(design.CellText(row, 1, '.'), whole.CellText(row, 1, '.')) << "row " << row;
    EXPECT_EQ(design.CellText(8, 1, '.'), "");
    EXPECT_EQ(design.CellText(13, 1, '.'), "0.3*P/2");
    EXPECT_EQ(whole.CellText(13, 3, '.'), "7");
    // Outside what was read nothing is made up, and what was not read is never saved.
    EXPECT_THROW(design.CellText(1, 2, '.'), WorkbookError);
    EXPECT_THROW(design.CellText(14, 1, '.'), WorkbookError);
    Workbook partial = Workbook::OpenForReading(path, {13, 1});
    try {
        partial.SaveTo(Path("partial.cqb"));
        ADD_FAILURE() << "a workbook read in part was saved";
    } catch (const WorkbookError& error) {
        EXPECT_EQ(error.kind(), Kind::Internal);
    }
    EXPECT_FALSE(FileExists(Path("partial.cqb")));
}

TEST_F(OpenDocumentTest, AFailureNamesTheFileAndWhatIsWrong) {
    Parts parts = OpenDocumentParts(OpenDocumentTable(Row(Float("1"))));
    parts[2].second = "<office:document-content";
    const std::string path = Write("设计 A.cqb", parts);
    try {
        Workbook::Open(path);
        FAIL() << "a damaged file opened";
    } catch (const WorkbookError& error) {
        const std::string what = error.what();
        EXPECT_EQ(what.rfind("工作簿“" + path + "”已损坏：部件 content.xml 的 XML 有误", 0), 0u) << what;
    }
}

}  // namespace
}  // namespace wormgear
