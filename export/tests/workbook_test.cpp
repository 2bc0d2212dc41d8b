// The workbook component on hand-made OOXML packages and on the shipped
// templates: reading each kind of cell, writing text cells that every reader
// sees in order, saving, and the failures of bad input.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "calc/numeric.h"
#include "calc/text.h"
#include "export/ooxml.h"
#include "export/tests/test_support.h"
#include "export/workbook.h"
#include "files/testing/faults.h"

namespace wormgear {
namespace {

using namespace wormgear::testing;
using Kind = WorkbookError::Kind;

// Success when `act` fails with a WorkbookError of `kind`.
::testing::AssertionResult FailsAs(Kind kind, const std::function<void()>& act) {
    try {
        act();
    } catch (const WorkbookError& error) {
        if (error.kind() == kind) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "kind " << static_cast<int>(error.kind()) << " instead of "
                                             << static_cast<int>(kind) << ": " << error.what();
    }
    return ::testing::AssertionFailure() << "no WorkbookError";
}

using WorkbookTest = FolderTest;

// --- cell positions and names -------------------------------------------

struct ReferenceCase {
    int row, column;
    const char* reference;
};
const ReferenceCase kReferences[] = {
    {1, 1, "A1"},
    {12, 3, "C12"},
    {1, 26, "Z1"},
    {1, 27, "AA1"},
    {1, 702, "ZZ1"},
    {1, 703, "AAA1"},
    {1048576, 16384, "XFD1048576"},  // the last cell of a sheet
};

TEST(CellReference, NamesRowAndColumn) {
    for (const auto& c : kReferences)
        EXPECT_EQ(CellReference(c.row, c.column), c.reference) << c.row << "," << c.column;
}

TEST(CellReference, RefusesPositionsOutsideASheet) {
    const std::pair<int, int> kOutside[] = {{0, 1}, {1, 0}, {-1, 3}, {1048577, 1}, {1, 16385}};
    for (const auto& cell : kOutside) {
        const int row = cell.first;
        const int column = cell.second;
        EXPECT_TRUE(FailsAs(Kind::Cell, [&] { CellReference(row, column); })) << row << "," << column;
    }
}

struct ExtensionCase {
    const char* given;
    const char* written;
};
const ExtensionCase kExtensions[] = {
    {"/tmp/out/rudar", "/tmp/out/rudar.xlsx"},
    {"/tmp/out/rudar.xlsx", "/tmp/out/rudar.xlsx"},  // the proposed name as the dialog returns it
    {"/tmp/out/Rudar.XLSX", "/tmp/out/Rudar.XLSX"},
    {"/tmp/out/hob1.xls", "/tmp/out/hob1.xlsx"},  // the old format's name would not fit the content
    {"/tmp/out/HOB1.XLS", "/tmp/out/HOB1.xlsx"},
    {"/tmp/out/m.xlsm", "/tmp/out/m.xlsm"},
    {"/tmp/out/M.XlSm", "/tmp/out/M.XlSm"},
    {"/tmp/out/wheel A=200.5", "/tmp/out/wheel A=200.5.xlsx"},  // a dot in the name is no extension
    {"/tmp/out/hob v1.2", "/tmp/out/hob v1.2.xlsx"},
    {"/tmp/out/a.cqb", "/tmp/out/a.cqb.xlsx"},
    {"/tmp/out/a.ods", "/tmp/out/a.ods.xlsx"},
    {"/tmp/out/a.xls.bak", "/tmp/out/a.xls.bak.xlsx"},
    {"/tmp/out/axls", "/tmp/out/axls.xlsx"},
    {"/tmp/a.b/c", "/tmp/a.b/c.xlsx"},  // a dot in a folder name is no extension
    {"/tmp/.hidden", "/tmp/.hidden.xlsx"},
    {"plain", "plain.xlsx"},
};

TEST(SpreadsheetFileName, GivesEveryNameTheExtensionOfItsContent) {
    for (const auto& c : kExtensions) EXPECT_EQ(SpreadsheetFileName(c.given), c.written) << c.given;
}

// --- reading ----------------------------------------------------------------

struct ReadCase {
    int row, column;
    const char* text;
    const char* why;
};

TEST_F(WorkbookTest, ReadsEveryKindOfCellAsText) {
    WorkbookSpec spec;
    spec.sharedStringsXml =
        "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<si><t>蜗杆头数</t></si>"
        "<si><r><t>ab</t></r><r><rPr><b/></rPr><t>cd</t></r><rPh sb=\"0\" eb=\"1\"><t>x</t></rPh></si>"
        "<si><t xml:space=\"preserve\">  8j _x000D_ </t></si>"
        "</sst>";
    spec.sheetXml = SheetXml(
        "<row r=\"1\"><c r=\"A1\"><v>200</v></c><c r=\"B1\"><v>0.1</v></c><c r=\"C1\"><v>1E-5</v></c>"
        "<c r=\"D1\"><v>12.346</v></c><c r=\"E1\"><v>-2.5</v></c><c r=\"F1\"><v>0.33333333333333331</v></c></row>"
        "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>0</v></c><c r=\"B2\" t=\"s\"><v>1</v></c><c r=\"C2\" t=\"s\"><v>2</v></c></row>"
        "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><t>行内</t></is></c><c r=\"B3\" t=\"b\"><v>1</v></c>"
        "<c r=\"C3\" t=\"b\"><v>0</v></c><c r=\"D3\" t=\"e\"><v>#DIV/0!</v></c>"
        "<c r=\"E3\" t=\"str\"><f>\"a\"&amp;\"b\"</f><v>ab</v></c><c r=\"F3\"><f>1+1</f><v>2</v></c></row>"
        "<row r=\"4\"><c r=\"A4\" s=\"3\"/><c r=\"B4\"><f>1+1</f></c></row>");
    std::string path = Write("kinds.xlsx", WorkbookParts(spec));
    Workbook book = Workbook::Open(path);

    const ReadCase kCases[] = {
        {1, 1, "200", "a whole number, FormatReal text"},
        {1, 2, "0.1", "the double nearest 0.1 prints 0.1"},
        {1, 3, "1E-5", "FormatReal switches to E notation below 0.0001"},
        {1, 4, "12.346", ""},
        {1, 5, "-2.5", ""},
        {1, 6, "0.333333333333333", "15 significant digits"},
        {2, 1, "蜗杆头数", "shared string"},
        {2, 2, "abcd", "rich text runs joined, phonetic guide left out"},
        {2, 3, "  8j \r ", "blanks kept, _x000D_ is a carriage return"},
        {3, 1, "行内", "inline string"},
        {3, 2, "TRUE", ""},
        {3, 3, "FALSE", ""},
        {3, 4, "#DIV/0!", "error value"},
        {3, 5, "ab", "string result of a formula"},
        {3, 6, "2", "number result of a formula"},
        {4, 1, "", "formatted but empty"},
        {4, 2, "", "formula without a stored result"},
        {5, 1, "", "row not in the sheet"},
        {1, 7, "", "cell not in the row"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(book.CellText(c.row, c.column, '.'), c.text) << CellReference(c.row, c.column) << " " << c.why;
}

TEST_F(WorkbookTest, ReadsRowsAndCellsWithoutReferences) {
    // Rows and cells may leave out r: each then follows the one before.
    WorkbookSpec spec;
    spec.sheetXml = SheetXml(
        "<row><c><v>1</v></c><c><v>2</v></c></row><row r=\"4\"><c r=\"C4\"><v>3</v></c><c><v>4</v></c></row><row><c><v>5</v></c></row>");
    Workbook book = Workbook::Open(Write("implicit.xlsx", WorkbookParts(spec)));
    EXPECT_EQ(book.CellText(1, 1, '.'), "1");
    EXPECT_EQ(book.CellText(1, 2, '.'), "2");
    EXPECT_EQ(book.CellText(4, 3, '.'), "3");
    EXPECT_EQ(book.CellText(4, 4, '.'), "4");
    EXPECT_EQ(book.CellText(5, 1, '.'), "5");
}

TEST_F(WorkbookTest, ReadsTheActiveSheetOnly) {
    WorkbookSpec spec;
    spec.sheetXml = SheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
    spec.workbookInner =
        "<bookViews><workbookView activeTab=\"1\"/></bookViews>"
        "<sheets><sheet name=\"One\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"Two\" sheetId=\"2\" r:id=\"rId9\"/></sheets>";
    spec.extraRelationships =
        "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
        "Target=\"/xl/worksheets/Second%20Sheet.xml\"/>";
    spec.extraParts = {{"xl/worksheets/Second Sheet.xml", SheetXml("<row r=\"1\"><c r=\"A1\"><v>2</v></c></row>")}};
    Workbook book = Workbook::Open(Write("two.xlsx", WorkbookParts(spec)));
    EXPECT_EQ(book.CellText(1, 1, '.'), "2");
}

TEST_F(WorkbookTest, ReadsAndWritesPrefixedSpreadsheetXml) {
    WorkbookSpec spec;
    spec.sheetXml =
        "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><x:sheetData>"
        "<x:row r=\"2\"><x:c r=\"B2\"><x:v>7</x:v></x:c></x:row></x:sheetData></x:worksheet>";
    std::string path = Write("prefixed.xlsx", WorkbookParts(spec));
    Workbook book = Workbook::Open(path);
    EXPECT_EQ(book.CellText(2, 2, '.'), "7");
    book.SetCellText(1, 1, "新");
    book.SaveAs(path);
    EXPECT_EQ(Workbook::Open(path).CellText(1, 1, '.'), "新");
    EXPECT_NE(PartOf(path, "xl/worksheets/sheet1.xml").find("<x:row r=\"1\"><x:c r=\"A1\" t=\"s\"><x:v>"),
              std::string::npos);
}

// --- writing ----------------------------------------------------------------

const char* const kTexts[] = {
    "2",
    "0.30",
    "右",
    "8j (GB/T16445-1996)",
    "0.3*P/2",
    "  two blanks before and after  ",
    "a<b&c>\"d'",  // XML specials
    "tab\tand\nline break",
    "_x0041_ stays literal",  // looks like an escape, must come back as typed
    "\x01\x1f control",       // characters XML 1.0 cannot hold
    "𝛼 beyond the BMP",
};

TEST_F(WorkbookTest, WrittenTextsReadBackBeforeAndAfterSaving) {
    Workbook book = Workbook::Open(TemplatePath("111.xls"));
    int row = 1;
    for (const char* text : kTexts) book.SetCellText(row++, 1, text);
    row = 1;
    for (const char* text : kTexts) EXPECT_EQ(book.CellText(row++, 1, '.'), text);

    book.SaveTo(Path("texts.cqb"));
    Workbook reopened = Workbook::Open(Path("texts.cqb"));
    row = 1;
    for (const char* text : kTexts) EXPECT_EQ(reopened.CellText(row++, 1, '.'), text) << "row " << row - 1;
}

TEST_F(WorkbookTest, RewritingACellReplacesItsText) {
    Workbook book = Workbook::Open(TemplatePath("111.xls"));
    book.SetCellText(1, 1, "first");
    book.SetCellText(1, 1, "second");
    book.SetCellText(1, 1, "first");
    EXPECT_EQ(book.CellText(1, 1, '.'), "first");
    book.SaveAs(Path("rewrite.xlsx"));
    pugi::xml_document sheet = ParseXml(PartOf(Path("rewrite.xlsx"), "xl/worksheets/sheet1.xml"));
    EXPECT_EQ(sheet.select_nodes("//c[@r='A1']").size(), 1u);
}

// Rows in rising r, cells in rising column, r matching the row: Excel and
// other strict readers ask for a repair otherwise.
void ExpectSheetInOrder(const std::string& sheetXml) {
    pugi::xml_document sheet = ParseXml(sheetXml);
    int previousRow = 0;
    for (pugi::xml_node row : sheet.document_element().child("sheetData").children("row")) {
        int r = row.attribute("r").as_int();
        EXPECT_GT(r, previousRow) << "row " << r << " after row " << previousRow;
        previousRow = r;
        int previousColumn = 0;
        for (pugi::xml_node cell : row.children("c")) {
            std::string ref = cell.attribute("r").value();
            std::string::size_type digits = ref.find_first_of("0123456789");
            ASSERT_NE(digits, std::string::npos) << ref;
            EXPECT_EQ(std::stoi(ref.substr(digits)), r) << ref << " in row " << r;
            int column = 0;
            for (char c : ref.substr(0, digits)) column = column * 26 + (c - 'A' + 1);
            EXPECT_GT(column, previousColumn) << ref;
            previousColumn = column;
        }
    }
}

TEST_F(WorkbookTest, WritingKeepsRowsAndCellsInOrder) {
    WorkbookSpec spec;
    spec.sheetXml = SheetXml("<row r=\"2\"><c r=\"B2\"><v>1</v></c></row><row r=\"10\"><c r=\"C10\"><v>2</v></c></row>",
                             "<dimension ref=\"B2:C10\"/>");
    std::string path = Write("order.xlsx", WorkbookParts(spec));
    Workbook book = Workbook::Open(path);
    const std::pair<int, int> kWrites[] = {{30, 2}, {5, 4}, {5, 2}, {5, 3},   {1, 1},
                                           {30, 1}, {2, 1}, {2, 3}, {10, 27}, {10, 1}};
    for (auto [row, column] : kWrites) book.SetCellText(row, column, CellReference(row, column));
    book.SaveAs(path);

    std::string sheetXml = PartOf(path, "xl/worksheets/sheet1.xml");
    ExpectSheetInOrder(sheetXml);
    EXPECT_STREQ(ParseXml(sheetXml).document_element().child("dimension").attribute("ref").value(), "A1:AA30");
    Workbook reopened = Workbook::Open(path);
    for (auto [row, column] : kWrites) EXPECT_EQ(reopened.CellText(row, column, '.'), CellReference(row, column));
    EXPECT_EQ(reopened.CellText(2, 2, '.'), "1");
    EXPECT_EQ(reopened.CellText(10, 3, '.'), "2");
}

TEST_F(WorkbookTest, WritingPutsAnUnorderedSheetInOrder) {
    WorkbookSpec spec;
    spec.sheetXml = SheetXml(
        "<row r=\"5\"><c r=\"C5\"><v>3</v></c><c r=\"A5\"><v>1</v></c></row>"
        "<row r=\"2\"><c r=\"B2\"><v>2</v></c></row>");
    std::string path = Write("disorder.xlsx", WorkbookParts(spec));
    Workbook book = Workbook::Open(path);
    EXPECT_EQ(book.CellText(5, 1, '.'), "1");  // read as they stand
    book.SetCellText(3, 2, "x");
    book.SaveAs(path);
    ExpectSheetInOrder(PartOf(path, "xl/worksheets/sheet1.xml"));
    Workbook reopened = Workbook::Open(path);
    EXPECT_EQ(reopened.CellText(5, 1, '.'), "1");
    EXPECT_EQ(reopened.CellText(5, 3, '.'), "3");
    EXPECT_EQ(reopened.CellText(2, 2, '.'), "2");
    EXPECT_EQ(reopened.CellText(3, 2, '.'), "x");
}

TEST_F(WorkbookTest, ACellKeepsItsFormatAndANewCellTakesItsRowsOrColumns) {
    WorkbookSpec spec;
    spec.sheetXml = SheetXml(
        "<row r=\"1\" s=\"7\" customFormat=\"1\" spans=\"1:2\"><c r=\"A1\" s=\"4\"><v>5</v></c></row>",
        "<cols><col min=\"2\" max=\"3\" width=\"9\" style=\"6\"/></cols>");
    std::string path = Write("styles.xlsx", WorkbookParts(spec));
    Workbook book = Workbook::Open(path);
    book.SetCellText(1, 1, "kept");
    book.SetCellText(1, 5, "row format");
    book.SetCellText(2, 3, "column format");
    book.SetCellText(2, 4, "none");
    book.SaveAs(path);
    pugi::xml_document sheet = ParseXml(PartOf(path, "xl/worksheets/sheet1.xml"));
    EXPECT_STREQ(sheet.select_node("//c[@r='A1']").node().attribute("s").value(), "4");
    EXPECT_STREQ(sheet.select_node("//c[@r='E1']").node().attribute("s").value(), "7");
    EXPECT_STREQ(sheet.select_node("//c[@r='C2']").node().attribute("s").value(), "6");
    EXPECT_FALSE(sheet.select_node("//c[@r='D2']").node().attribute("s"));
    EXPECT_FALSE(sheet.select_node("//row[@r='1']").node().attribute("spans")) << "a stale span hint is dropped";
}

TEST_F(WorkbookTest, AnEmptyTextEmptiesTheCellButKeepsItsFormat) {
    WorkbookSpec spec;
    spec.sharedStringsXml = SharedStringsXml({"old"});
    spec.sheetXml = SheetXml("<row r=\"16\"><c r=\"C16\" s=\"4\" t=\"s\"><v>0</v></c></row>");
    std::string path = Write("clear.xlsx", WorkbookParts(spec));
    Workbook book = Workbook::Open(path);
    book.SetCellText(16, 3, "");
    EXPECT_EQ(book.CellText(16, 3, '.'), "");
    book.SaveAs(path);
    pugi::xml_document sheet = ParseXml(PartOf(path, "xl/worksheets/sheet1.xml"));
    pugi::xml_node cell = sheet.select_node("//c[@r='C16']").node();
    ASSERT_TRUE(cell);
    EXPECT_STREQ(cell.attribute("s").value(), "4");
    EXPECT_FALSE(cell.attribute("t"));
    EXPECT_FALSE(cell.first_child());
    EXPECT_EQ(Workbook::Open(path).CellText(16, 3, '.'), "");
}

TEST_F(WorkbookTest, OverwritingAFormulaDropsTheCalculationChain) {
    WorkbookSpec spec;
    spec.sheetXml = SheetXml(
        "<row r=\"1\"><c r=\"A1\"><f>B1*2</f><v>4</v></c><c r=\"B1\"><v>2</v></c><c r=\"C1\"><f>B1+1</f><v>3</v></c></row>");
    spec.workbookInner += "<definedNames/>";
    spec.extraRelationships =
        "<Relationship Id=\"rId5\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain\" Target=\"calcChain.xml\"/>";
    spec.extraOverrides =
        "<Override PartName=\"/xl/calcChain.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>";
    spec.extraParts = {
        {"xl/calcChain.xml",
         "<calcChain xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><c r=\"A1\" i=\"1\"/><c r=\"C1\"/></calcChain>"}};
    std::string path = Write("formula.xlsx", WorkbookParts(spec));
    Workbook book = Workbook::Open(path);
    book.SetCellText(1, 1, "text now");
    book.SaveAs(Path("formula_out.xlsx"));
    std::string out = Path("formula_out.xlsx");

    EXPECT_FALSE(HasPart(out, "xl/calcChain.xml"));
    EXPECT_EQ(PartOf(out, "[Content_Types].xml").find("calcChain"), std::string::npos);
    EXPECT_EQ(PartOf(out, "xl/_rels/workbook.xml.rels").find("calcChain"), std::string::npos);
    pugi::xml_document workbook = ParseXml(PartOf(out, "xl/workbook.xml"));
    pugi::xml_node calcPr = workbook.document_element().child("calcPr");
    ASSERT_TRUE(calcPr);
    EXPECT_STREQ(calcPr.attribute("fullCalcOnLoad").value(), "1");
    EXPECT_STREQ(calcPr.previous_sibling().name(), "definedNames") << "calcPr stands where the schema puts it";
    pugi::xml_document sheet = ParseXml(PartOf(out, "xl/worksheets/sheet1.xml"));
    EXPECT_FALSE(sheet.select_node("//c[@r='A1']/f"));
    EXPECT_TRUE(sheet.select_node("//c[@r='C1']/f")) << "other formulas stay";
    EXPECT_EQ(Workbook::Open(out).CellText(1, 1, '.'), "text now");
    // The source keeps its chain: only the saved copy changed.
    EXPECT_TRUE(HasPart(path, "xl/calcChain.xml"));
}

TEST_F(WorkbookTest, RefusesToBreakASharedFormula) {
    WorkbookSpec spec;
    spec.sheetXml = SheetXml(
        "<row r=\"1\"><c r=\"A1\"><f t=\"shared\" ref=\"A1:A2\" si=\"0\">B1</f><v>1</v></c></row>"
        "<row r=\"2\"><c r=\"A2\"><f t=\"shared\" si=\"0\"/><v>1</v></c></row>");
    Workbook book = Workbook::Open(Write("shared.xlsx", WorkbookParts(spec)));
    EXPECT_TRUE(FailsAs(Kind::Cell, [&] { book.SetCellText(1, 1, "x"); }));
    book.SetCellText(2, 1, "y");  // a cell that only uses the formula may be replaced
    EXPECT_EQ(book.CellText(2, 1, '.'), "y");
}

TEST_F(WorkbookTest, CreatesTheSharedStringsPartWhenMissing) {
    WorkbookSpec spec;
    spec.sheetXml = SheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
    std::string path = Write("nosst.xlsx", WorkbookParts(spec));
    Workbook book = Workbook::Open(path);
    book.SetCellText(1, 2, "文字");
    book.SaveAs(path);
    EXPECT_TRUE(HasPart(path, "xl/sharedStrings.xml"));
    EXPECT_NE(PartOf(path, "[Content_Types].xml").find("PartName=\"/xl/sharedStrings.xml\""), std::string::npos);
    EXPECT_NE(PartOf(path, "xl/_rels/workbook.xml.rels").find("Target=\"sharedStrings.xml\""), std::string::npos);
    Workbook reopened = Workbook::Open(path);
    EXPECT_EQ(reopened.CellText(1, 1, '.'), "1");
    EXPECT_EQ(reopened.CellText(1, 2, '.'), "文字");
}

TEST_F(WorkbookTest, SavingRewritesOnlyTheSheetAndItsStrings) {
    Workbook book = Workbook::Open(TemplatePath("1.xls"));
    book.SetCellText(2, 3, "2");
    book.SaveAs(Path("rudar.xls"));
    EXPECT_FALSE(FileExists(Path("rudar.xls"))) << "OOXML content is never named .xls";
    PackageEntries before = ReadPackage(ReadFile(TemplatePath("1.xls")));
    PackageEntries after = ReadPackage(ReadFile(Path("rudar.xlsx")));
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].name, after[i].name) << "parts keep their order";
        if (before[i].name == "xl/worksheets/sheet1.xml" || before[i].name == "xl/sharedStrings.xml") {
            EXPECT_NE(before[i].data, after[i].data) << before[i].name;
        } else if (before[i].name == "docProps/core.xml") {
            continue;  // the dates of the save (DocumentPropertiesTellTitleCreatorAndTheDatesOfWriting)
        } else {
            EXPECT_EQ(before[i].data, after[i].data) << before[i].name << " is carried over unchanged";
        }
    }
}

TEST_F(WorkbookTest, TheOpenedFileIsUntouchedUnlessSaved) {
    WriteFile(Path("design.cqb"), ReadFile(TemplatePath("111.xls")));
    std::string original = ReadFile(Path("design.cqb"));
    {
        Workbook book = Workbook::Open(Path("design.cqb"));
        for (int row = 1; row <= 13; ++row) book.SetCellText(row, 1, "x");
    }
    EXPECT_EQ(ReadFile(Path("design.cqb")), original);
    EXPECT_EQ(FolderEntries(folder_.path().toStdString()), std::vector<std::string>{"design.cqb"});
}

TEST_F(WorkbookTest, SaveWritesBackInPlace) {
    WriteFile(Path("design.cqb"), ReadFile(TemplatePath("111.xls")));
    Workbook book = Workbook::Open(Path("design.cqb"));
    book.SetCellText(1, 1, "200");
    book.Save();
    EXPECT_EQ(book.Path(), Path("design.cqb"));
    EXPECT_EQ(Workbook::Open(Path("design.cqb")).CellText(1, 1, '.'), "200");
    EXPECT_EQ(Workbook::Open(Path("design.cqb")).CellText(1, 2, '.'), "中心距 A (mm)") << "the label beside it stays";
    EXPECT_EQ(FolderEntries(folder_.path().toStdString()), std::vector<std::string>{"design.cqb"})
        << "no temporary file left";
}

TEST_F(WorkbookTest, SaveAsAddsXlsxToANameWithoutExtensionAndFollowsTheNewFile) {
    Workbook book = Workbook::Open(TemplatePath("111.xls"));
    book.SetCellText(1, 1, "a");
    book.SaveAs(Path("noext"));
    EXPECT_EQ(book.Path(), Path("noext.xlsx"));
    EXPECT_TRUE(FileExists(Path("noext.xlsx")));
    EXPECT_FALSE(FileExists(Path("noext")));
    book.SetCellText(1, 1, "b");
    book.Save();
    EXPECT_EQ(Workbook::Open(Path("noext.xlsx")).CellText(1, 1, '.'), "b");
}

TEST_F(WorkbookTest, SaveAsReplacesAnExistingFile) {
    WriteFile(Path("old.xlsx"), "not even a workbook");
    Workbook book = Workbook::Open(TemplatePath("111.xls"));
    book.SetCellText(1, 1, "new");
    book.SaveAs(Path("old.xlsx"));
    EXPECT_EQ(Workbook::Open(Path("old.xlsx")).CellText(1, 1, '.'), "new");
}

// --- failures -----------------------------------------------------------------

TEST_F(WorkbookTest, AFailedSaveLeavesTheTargetAsItWasAndNoTemporaryFile) {
    WriteFile(Path("target.xlsx"), "the old content");
    Workbook book = Workbook::Open(TemplatePath("1.xls"));
    book.SetCellText(2, 3, "2");
    // A file-size limit below the workbook's size makes the write itself fail
    // half-way, as a full disk would.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_TRUE(FailsAs(Kind::File, [&] { book.SaveAs(Path("target.xlsx")); }));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(ReadFile(Path("target.xlsx")), "the old content");
    EXPECT_EQ(FolderEntries(folder_.path().toStdString()), std::vector<std::string>{"target.xlsx"});
    book.SaveAs(Path("target.xlsx"));  // the same workbook saves once the disk allows it
    EXPECT_EQ(Workbook::Open(Path("target.xlsx")).CellText(2, 3, '.'), "2");
}

TEST_F(WorkbookTest, SavingWhereNoFileCanBeMadeFails) {
    Workbook book = Workbook::Open(TemplatePath("111.xls"));
    ASSERT_TRUE(QDir(folder_.path()).mkdir("sub"));
    EXPECT_TRUE(FailsAs(Kind::File, [&] { book.SaveAs(Path("missing/folder/x.xlsx")); }));
    EXPECT_TRUE(FailsAs(Kind::File, [&] { book.SaveAs(Path("sub") + "/"); })) << "no file name";
    EXPECT_TRUE(FailsAs(Kind::File, [&] { book.SaveAs(""); })) << "no file name";
    ASSERT_TRUE(QDir(folder_.path()).mkdir("dir.xlsx"));
    EXPECT_TRUE(FailsAs(Kind::File, [&] { book.SaveAs(Path("dir.xlsx")); })) << "a folder stands under the name";
    EXPECT_EQ(FolderEntries(folder_.path().toStdString()), (std::vector<std::string>{"dir.xlsx", "sub"}));
    EXPECT_EQ(FolderEntries(Path("sub")), std::vector<std::string>{});
    EXPECT_EQ(book.Path(), TemplatePath("111.xls")) << "a failed save does not move the workbook";
}

TEST_F(WorkbookTest, RefusesBadCellInput) {
    Workbook book = Workbook::Open(TemplatePath("111.xls"));
    const struct {
        const char* why;
        Kind kind;
        std::function<void()> act;
    } kCases[] = {
        {"row 0", Kind::Cell, [&] { book.SetCellText(0, 1, "x"); }},
        {"column beyond XFD", Kind::Cell, [&] { book.SetCellText(1, 16385, "x"); }},
        {"reading below the last row", Kind::Cell, [&] { book.CellText(1048577, 1, '.'); }},
        {"not UTF-8", Kind::Text, [&] { book.SetCellText(1, 1, "\xff\xfe not UTF-8"); }},
        {"a lone surrogate", Kind::Text, [&] { book.SetCellText(1, 1, "\xed\xa0\x80 a lone surrogate"); }},
        {"longer than a cell holds", Kind::Text, [&] { book.SetCellText(1, 1, std::string(32768, 'x')); }},
        {"more than a cell holds in four-byte characters", Kind::Text,
         [&] {
             std::string text;
             for (int i = 0; i < 16384; ++i) text += "𝛼";  // 32768 UTF-16 units in 16384 characters
             book.SetCellText(1, 1, text);
         }},
    };
    for (const auto& c : kCases) EXPECT_TRUE(FailsAs(c.kind, c.act)) << c.why;
    book.SetCellText(1, 1, std::string(32767, 'x'));  // the longest text a cell holds
    EXPECT_EQ(book.CellText(1, 1, '.').size(), 32767u);
}

struct BadPackage {
    const char* why;
    Kind kind;
    std::function<Parts()> parts;
};

Parts Replace(Parts parts, const std::string& name, const std::string& data) {
    for (auto& part : parts) {
        if (part.first == name) part.second = data;
    }
    return parts;
}
Parts Without(Parts parts, const std::string& name) {
    std::erase_if(parts, [&](const auto& part) { return part.first == name; });
    return parts;
}
WorkbookSpec PlainSpec() {
    WorkbookSpec spec;
    spec.sheetXml = SheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
    spec.sharedStringsXml = SharedStringsXml({"a"});
    return spec;
}

TEST_F(WorkbookTest, RefusesDamagedPackages) {
    const BadPackage kCases[] = {
        {"no content types", Kind::NotWorkbook,
         [] { return Without(WorkbookParts(PlainSpec()), "[Content_Types].xml"); }},
        {"no package relationships", Kind::NotWorkbook,
         [] { return Without(WorkbookParts(PlainSpec()), "_rels/.rels"); }},
        {"no workbook relationship", Kind::NotWorkbook,
         [] { return Replace(WorkbookParts(PlainSpec()), "_rels/.rels", "<Relationships xmlns=\"x\"/>"); }},
        {"workbook part missing", Kind::Damaged, [] { return Without(WorkbookParts(PlainSpec()), "xl/workbook.xml"); }},
        {"broken workbook XML", Kind::Damaged,
         [] { return Replace(WorkbookParts(PlainSpec()), "xl/workbook.xml", "<workbook><sheets>"); }},
        {"broken sheet XML", Kind::Damaged,
         [] {
             return Replace(WorkbookParts(PlainSpec()), "xl/worksheets/sheet1.xml",
                            "<worksheet><sheetData><row></sheetData>");
         }},
        {"main part is no spreadsheet", Kind::NotWorkbook,
         [] { return Replace(WorkbookParts(PlainSpec()), "xl/workbook.xml", "<document/>"); }},
        {"sheet part holds no worksheet", Kind::NoSheet,
         [] { return Replace(WorkbookParts(PlainSpec()), "xl/worksheets/sheet1.xml", "<chartsheet/>"); }},
        {"sheet without cell data", Kind::NoSheet,
         [] { return Replace(WorkbookParts(PlainSpec()), "xl/worksheets/sheet1.xml", "<worksheet/>"); }},
        {"broken shared strings", Kind::Damaged,
         [] { return Replace(WorkbookParts(PlainSpec()), "xl/sharedStrings.xml", "<sst><si>"); }},
        {"shared strings part missing", Kind::Damaged,
         [] { return Without(WorkbookParts(PlainSpec()), "xl/sharedStrings.xml"); }},
        {"sheet part missing", Kind::Damaged,
         [] { return Without(WorkbookParts(PlainSpec()), "xl/worksheets/sheet1.xml"); }},
        {"active tab beyond the sheets", Kind::NoSheet,
         [] {
             WorkbookSpec spec = PlainSpec();
             spec.workbookInner =
                 "<bookViews><workbookView activeTab=\"3\"/></bookViews>"
                 "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets>";
             return WorkbookParts(spec);
         }},
        {"negative active tab", Kind::NoSheet,
         [] {
             WorkbookSpec spec = PlainSpec();
             spec.workbookInner =
                 "<bookViews><workbookView activeTab=\"-1\"/></bookViews>"
                 "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets>";
             return WorkbookParts(spec);
         }},
        {"no sheets at all", Kind::NoSheet,
         [] {
             WorkbookSpec spec = PlainSpec();
             spec.workbookInner = "<sheets/>";
             return WorkbookParts(spec);
         }},
        {"active sheet is a chart sheet", Kind::NoSheet,
         [] {
             WorkbookSpec spec = PlainSpec();
             spec.workbookInner = "<sheets><sheet name=\"C\" sheetId=\"1\" r:id=\"rId7\"/></sheets>";
             spec.extraRelationships =
                 "<Relationship Id=\"rId7\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/chartsheet\" "
                 "Target=\"chartsheets/sheet1.xml\"/>";
             return WorkbookParts(spec);
         }},
    };
    for (const auto& c : kCases) {
        std::string path = Write("bad.xlsx", c.parts());
        EXPECT_TRUE(FailsAs(c.kind, [&] { Workbook::Open(path); })) << c.why;
    }
}

TEST_F(WorkbookTest, AStringCellPointingNowhereFailsOnReading) {
    WorkbookSpec spec = PlainSpec();
    spec.sheetXml = SheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>5</v></c><c r=\"B1\" t=\"s\"><v>x</v></c></row>");
    Workbook book = Workbook::Open(Write("dangling.xlsx", WorkbookParts(spec)));
    EXPECT_TRUE(FailsAs(Kind::Damaged, [&] { book.CellText(1, 1, '.'); }));
    EXPECT_TRUE(FailsAs(Kind::Damaged, [&] { book.CellText(1, 2, '.'); }));
}

TEST_F(WorkbookTest, RefusesFilesThatAreNoWorkbook) {
    std::string zipBytes = ReadFile(TemplatePath("1.xls"));
    std::string flipped = zipBytes;
    for (std::size_t i = 200; i < 260 && i < flipped.size(); ++i) flipped[i] = static_cast<char>(~flipped[i]);
    const struct {
        const char* why;
        Kind kind;
        std::string bytes;
    } kFiles[] = {
        {"empty file", Kind::NotWorkbook, ""},
        {"text", Kind::NotWorkbook, "中心距,速比\n200,25\n"},
        {"zip signature and nothing else", Kind::Damaged, "PK\x03\x04"},
        {"first half of a workbook", Kind::Damaged, zipBytes.substr(0, zipBytes.size() / 2)},
        {"last half of a workbook", Kind::NotWorkbook, zipBytes.substr(zipBytes.size() / 2)},
        {"damaged compressed data", Kind::Damaged, flipped},
        {"OLE2 signature and garbage", Kind::Damaged,
         std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, 'x')},
        {"a zip that holds no workbook", Kind::NotWorkbook, PackageBytes({{"readme.txt", "hello"}})},
        {"a zip of no parts", Kind::NotWorkbook, std::string("PK\x05\x06", 4) + std::string(18, '\0')},
    };
    ASSERT_NE(zipBytes.compare(zipBytes.size() / 2, 2, "PK"), 0) << "the last half must not look like a zip";
    for (const auto& c : kFiles) {
        WriteFile(Path("bad.xls"), c.bytes);
        EXPECT_TRUE(FailsAs(c.kind, [&] { Workbook::Open(Path("bad.xls")); })) << c.why;
    }
    EXPECT_TRUE(FailsAs(Kind::File, [&] { Workbook::Open(Path("no such file.xls")); }));
    EXPECT_TRUE(FailsAs(Kind::File, [&] { Workbook::Open(folder_.path().toStdString()); })) << "a folder";
}

TEST_F(WorkbookTest, RefusesAPackageThatUnpacksBeyondTheLimit) {
    // 65 MiB of zeros pack into about 64 KiB: a small file, a large load.
    Parts parts = WorkbookParts(PlainSpec());
    parts.push_back({"xl/media/zeros.bin", std::string(kMaxUnpackedBytes + (1 << 20), '\0')});
    std::string bytes = PackageBytes(parts);
    parts.clear();
    EXPECT_LT(bytes.size(), 1u << 20);
    WriteFile(Path("bomb.xlsx"), bytes);
    EXPECT_TRUE(FailsAs(Kind::TooLarge, [&] { Workbook::Open(Path("bomb.xlsx")); }));
}

TEST(ReadPackage, NoBytesAreNoZip) {
    // libzip would keep a buffer of no bytes for ever (the package fuzzer's
    // leak); it never sees one.
    EXPECT_TRUE(FailsAs(Kind::Damaged, [] { ReadPackage(""); }));
    EXPECT_TRUE(FailsAs(Kind::Damaged, [] { RewritePackage("", {}); }));
}

TEST_F(WorkbookTest, RefusesAPackageOfTooManyParts) {
    Parts parts = WorkbookParts(PlainSpec());
    for (std::uint64_t i = 0; i < kMaxPackageEntries; ++i) parts.push_back({"x/" + std::to_string(i), ""});
    WriteFile(Path("many.xlsx"), PackageBytes(parts));
    EXPECT_TRUE(FailsAs(Kind::TooLarge, [&] { Workbook::Open(Path("many.xlsx")); }));
}

// What a child reports of an open and a save in place under a memory bound.
enum MemoryOutcome { kSaved = 0, kRefusedTooLarge = 1, kOtherError = 2, kOutOfMemory = 3 };

int OpenAndSaveInPlace(const std::string& path) {
    try {
        Workbook book = Workbook::Open(path);
        book.SetCellText(1, 1, "200");
        book.Save();
        return kSaved;
    } catch (const WorkbookError& error) {
        return error.kind() == Kind::TooLarge ? kRefusedTooLarge : kOtherError;
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
}

constexpr std::uint64_t kMemoryBound = 256ull << 20;

TEST_F(WorkbookTest, AFewKilobytesThatUnpackToMillionsOfTagsAreRefusedWithinTheMemoryBound) {
    if (!MemoryBoundsMeasurable()) GTEST_SKIP() << "memory is not measurable under the sanitizer";
    // 60 MiB of empty cells pack into about 60 KiB; parsed, they once took
    // more than a gigabyte.
    struct Hungry {
        const char* why;
        std::string sheetData;
    };
    std::string emptyCells = "<row>";
    for (int i = 0; i < (15 << 20); ++i) emptyCells += "<c/>";
    emptyCells += "</row>";
    std::string attributes = "<row><c";
    for (int i = 0; i < (10 << 20); ++i) attributes += " a=\"\"";
    attributes += "/></row>";
    const Hungry kFiles[] = {{"tags", emptyCells}, {"attributes", attributes}};
    for (const Hungry& file : kFiles) {
        WorkbookSpec spec = PlainSpec();
        spec.sheetXml = SheetXml(file.sheetData);
        const std::string path = Write(std::string(file.why) + ".cqb", WorkbookParts(spec));
        EXPECT_LT(ReadFile(path).size(), 200u << 10) << file.why;
        EXPECT_EQ(RunWithMemoryBound(kMemoryBound, [&] { return OpenAndSaveInPlace(path); }), kRefusedTooLarge)
            << file.why;
    }
}

TEST_F(WorkbookTest, TheLargestWorkbookWithinTheBoundsOpensAndSavesWithinTheMemoryBound) {
    if (!MemoryBoundsMeasurable()) GTEST_SKIP() << "memory is not measurable under the sanitizer";
    // Cells without references (saving gives each one), as many as the tag
    // bound lets in, beside a large part that is never parsed.
    std::string rows;
    const int kRows = 1200, kColumns = 100;  // 4 tags a cell: 480 000 in all
    for (int r = 0; r < kRows; ++r) {
        rows += "<row>";
        for (int c = 0; c < kColumns; ++c) rows += "<c><v>1</v></c>";
        rows += "</row>";
    }
    WorkbookSpec spec = PlainSpec();
    spec.sheetXml = SheetXml(rows);
    spec.extraParts.push_back({"xl/media/image.bin", std::string(60 << 20, '\0')});
    const std::string path = Write("large.cqb", WorkbookParts(spec));
    EXPECT_EQ(RunWithMemoryBound(kMemoryBound, [&] { return OpenAndSaveInPlace(path); }), kSaved);
    EXPECT_EQ(Workbook::Open(path).CellText(1, 1, '.'), "200");
    EXPECT_EQ(Workbook::Open(path).CellText(kRows, kColumns, '.'), "1");
}

// The core properties of a written workbook, by their local names.
struct CoreProperties {
    std::string title, creator, created, modified;
};
CoreProperties CorePropertiesOf(const std::string& path) {
    const std::string rels = PartOf(path, "_rels/.rels");
    std::string part;
    pugi::xml_document relations = ParseXml(rels);
    for (pugi::xml_node rel : relations.document_element().children()) {
        if (std::string(rel.attribute("Type").value()).find("/metadata/core-properties") != std::string::npos)
            part = rel.attribute("Target").value();
    }
    EXPECT_NE(PartOf(path, "[Content_Types].xml").find("PartName=\"/" + part + "\""), std::string::npos) << part;
    CoreProperties properties;
    if (part.empty() || !HasPart(path, part)) return properties;
    pugi::xml_document core = ParseXml(PartOf(path, part));
    for (pugi::xml_node child : core.document_element().children()) {
        const std::string name = child.name();
        const std::string local = name.substr(name.find(':') + 1);
        std::string* field = local == "title"      ? &properties.title
                             : local == "creator"  ? &properties.creator
                             : local == "created"  ? &properties.created
                             : local == "modified" ? &properties.modified
                                                   : nullptr;
        if (field) *field = child.text().get();
    }
    return properties;
}

TEST_F(WorkbookTest, DocumentPropertiesTellTitleCreatorAndTheDatesOfWriting) {
    const std::string before = PropertyTime(std::time(nullptr));
    const std::string kOld = "2001-02-03T04:05:06Z";
    const std::string kSomeone =
        "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:t=\"http://purl.org/dc/terms/\" "
        "xmlns:i=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title>Gear A</dc:title>"
        "<dc:creator>Li Wei</dc:creator><t:created i:type=\"t:W3CDTF\">" +
        kOld + "</t:created></cp:coreProperties>";
    auto withCore = [&](const std::string& core) {
        WorkbookSpec layout = PlainSpec();
        if (!core.empty()) {
            layout.extraParts.push_back({"docProps/core.xml", core});
            layout.extraOverrides =
                "<Override PartName=\"/docProps/core.xml\" "
                "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>";
        }
        Parts parts = WorkbookParts(layout);
        if (!core.empty()) {
            // The package's relationships name the part.
            std::string& rels = parts[1].second;
            rels.insert(rels.find("</Relationships>"),
                        "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/"
                        "relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/>");
        }
        return parts;
    };
    const struct {
        const char* what;
        Parts parts;  // empty: the worm sheet's template
        bool inPlace;
        const char* title;
        const char* creator;
        bool keepsCreated;
    } kCases[] = {
        {"a sheet from its template", {}, false, "蜗杆参数表", kDocumentCreator, false},
        {"a workbook of someone's saved in place", withCore(kSomeone), true, "Gear A", "Li Wei", true},
        {"the same saved under a new name", withCore(kSomeone), false, "Gear A", "Li Wei", false},
        {"a workbook without properties", withCore(""), true, "S", kDocumentCreator, false},
        {"a workbook whose properties do not read", withCore("<cp:coreProperties"), true, "S", kDocumentCreator, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        const std::string source = c.parts.empty() ? TemplatePath("1.xls") : Write("source.xlsx", c.parts);
        Workbook book = Workbook::Open(source);
        book.SetCellText(2, 3, "2");
        std::string written = source;
        if (c.inPlace) {
            book.Save();
        } else {
            written = Path("written.xlsx");
            book.SaveTo(written);
        }
        const std::string after = PropertyTime(std::time(nullptr));
        const CoreProperties properties = CorePropertiesOf(written);
        EXPECT_EQ(properties.title, c.title);
        EXPECT_EQ(properties.creator, c.creator);
        if (c.keepsCreated) {
            EXPECT_EQ(properties.created, kOld);
        } else {
            EXPECT_GE(properties.created, before);
            EXPECT_LE(properties.created, after);
        }
        EXPECT_GE(properties.modified, before);
        EXPECT_LE(properties.modified, after);
        EXPECT_EQ(Workbook::Open(written).CellText(2, 3, '.'), "2");
    }
}

// Cells share their strings in OOXML: one long string shown by 99,000 cells
// is held once, and a dimension that names the whole sheet asks for nothing.
TEST_F(WorkbookTest, SharedStringsAndDimensionsCostWhatTheFileHoldsNotWhatItShows) {
    if (!MemoryBoundsMeasurable()) GTEST_SKIP() << "memory is not measurable under the sanitizer";
    std::string longest;
    for (int n = 0; n < 32767; ++n) longest += "右";  // the most a cell holds: 98 kB
    std::string shared;
    for (int r = 1; r <= 396; ++r) {
        shared += "<row r=\"" + std::to_string(r) + "\">";
        for (int c = 1; c <= 250; ++c) shared += "<c r=\"" + CellReference(r, c) + "\" t=\"s\"><v>0</v></c>";
        shared += "</row>";
    }
    const struct {
        const char* what;
        std::string sheetXml;
    } kFiles[] = {
        {"one 32767-character string in 99,000 cells", SheetXml(shared)},
        {"a dimension of every row and column",
         SheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>", "<dimension ref=\"A1:XFD1048576\"/>")},
    };
    for (const auto& file : kFiles) {
        SCOPED_TRACE(file.what);
        WorkbookSpec layout = PlainSpec();
        layout.sheetXml = file.sheetXml;
        layout.sharedStringsXml = SharedStringsXml({longest});
        const std::string path = Write("设计 A.cqb", WorkbookParts(layout));
        EXPECT_EQ(OutcomeWithinMemory(
                      [&] {
                          Workbook book = Workbook::Open(path);
                          const bool read = book.CellText(1, 1, '.') == longest;
                          book.SetCellText(2, 1, "200");
                          book.Save();
                          return read && Workbook::Open(path).CellText(2, 1, '.') == "200";
                      },
                      path, ""),
                  "opened");
        EXPECT_EQ(OutcomeWithinMemory(
                      [&] {
                          return Workbook::OpenForReading(path, {13, 1}).CellText(1, 1, '.') == longest;
                      },
                      path, ""),
                  "opened");
    }
}

TEST_F(WorkbookTest, DetectsTheFormatByContentNotByName) {
    // The templates are OOXML named ".xls"; design files are named ".cqb".
    for (const char* name : {"copy.xls", "copy.cqb", "copy", "copy.xlsx"}) {
        WriteFile(Path(name), ReadFile(TemplatePath("1.xls")));
        EXPECT_EQ(Workbook::Open(Path(name)).CellText(2, 1, '.'), "蜗杆头数") << name;
    }
}

// The code points of UTF-8 text; none for text that is not UTF-8.
std::vector<char32_t> CodePoints(const std::string& text) {
    std::vector<char32_t> points;
    if (!IsValidUtf8(text)) return points;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        points.push_back(point);
        i += static_cast<std::size_t>(length);
    }
    return points;
}

bool HasChineseCharacter(const std::string& text) {
    for (char32_t point : CodePoints(text)) {
        if (point >= 0x4E00 && point <= 0x9FFF) return true;
    }
    return false;
}

void Erase(std::string& text, const std::string& piece) {
    for (std::string::size_type at; !piece.empty() && (at = text.find(piece)) != std::string::npos;) {
        text.erase(at, piece.size());
    }
}

// Two English words in a row ("cannot unpack", "no active sheet") in the
// program's own wording: the sentence without its quoted file, without the
// library detail in full-width parentheses and without `systemReason`.
std::string EnglishWording(std::string text, const std::string& quotedFile, const std::string& systemReason) {
    Erase(text, quotedFile);
    Erase(text, systemReason);
    for (std::string::size_type open; (open = text.find("（")) != std::string::npos;) {
        const std::string::size_type close = text.find("）", open);
        if (close == std::string::npos) break;
        text.erase(open, close + std::strlen("）") - open);
    }
    auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isLetter(text[i]) || (i > 0 && isLetter(text[i - 1]))) continue;
        std::size_t end = i;
        while (end < text.size() && isLetter(text[end])) ++end;
        if (end + 1 < text.size() && text[end] == ' ' && isLetter(text[end + 1])) return text.substr(i);
    }
    return "";
}

TEST(EnglishWording, FindsLeftOverEnglishOnly) {
    const struct {
        const char* text;
        bool english;
    } kCases[] = {
        {"工作簿“/a/no such file.xlsx”已损坏：部件 xl/a.xml 的 XML 有误（Start-end tags mismatch，第 3 字节）", false},
        {"工作簿“/a/x.xlsx”过大：解压后超过 64 MiB", false},
        {"cannot unpack xl/a.xml: CRC error", true},
        {"工作簿“/a/x.xlsx”：the workbook has no active sheet", true},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(!EnglishWording(c.text, "“/a/no such file.xlsx”", "").empty(), c.english) << c.text;
    }
}

TEST(WorkbookFileError, LeadsWithWhatIsWrongWithTheFile) {
    const std::string file = "/home/a/x.cqb";
    const struct {
        Kind kind;
        const char* opening;
        const char* saving;
    } kCases[] = {
        {Kind::File, "细节", "细节"},  // the file layer's sentence names its file already
        {Kind::NotWorkbook, "“/home/a/x.cqb”不是工作簿：细节", "无法保存工作簿“/home/a/x.cqb”：细节"},
        {Kind::Damaged, "工作簿“/home/a/x.cqb”已损坏：细节", "无法保存工作簿“/home/a/x.cqb”：细节"},
        {Kind::TooLarge, "工作簿“/home/a/x.cqb”过大：细节", "无法保存工作簿“/home/a/x.cqb”：细节"},
        {Kind::NoSheet, "工作簿“/home/a/x.cqb”：细节", "无法保存工作簿“/home/a/x.cqb”：细节"},
        {Kind::Cell, "工作簿“/home/a/x.cqb”：细节", "无法保存工作簿“/home/a/x.cqb”：细节"},
        {Kind::Text, "工作簿“/home/a/x.cqb”：细节", "无法保存工作簿“/home/a/x.cqb”：细节"},
        {Kind::Internal, "无法打开工作簿“/home/a/x.cqb”：细节", "无法保存工作簿“/home/a/x.cqb”：细节"},
    };
    for (const auto& c : kCases) {
        const WorkbookError opening = WorkbookFileError(WorkbookError(c.kind, "细节"), file);
        const WorkbookError saving = WorkbookSaveError(WorkbookError(c.kind, "细节"), file);
        EXPECT_EQ(opening.kind(), c.kind);
        EXPECT_STREQ(opening.what(), c.opening);
        EXPECT_EQ(saving.kind(), c.kind);
        EXPECT_STREQ(saving.what(), c.saving);
    }
}

TEST_F(WorkbookTest, FailuresTellTheKindAndNameTheFileInChinese) {
    const std::string good = Path("good.xlsx");
    WriteFile(good, ReadFile(TemplatePath("111.xls")));
    WriteFile(Path("text.xlsx"), "中心距,速比\n200,25\n");
    std::string flipped = ReadFile(TemplatePath("1.xls"));
    for (std::size_t i = 200; i < 260 && i < flipped.size(); ++i) flipped[i] = static_cast<char>(~flipped[i]);
    WriteFile(Path("flipped.xlsx"), flipped);
    Write("broken.xlsx",
          Replace(WorkbookParts(PlainSpec()), "xl/worksheets/sheet1.xml", "<worksheet><sheetData><row></sheetData>"));
    WorkbookSpec noActive = PlainSpec();
    noActive.workbookInner =
        "<bookViews><workbookView activeTab=\"3\"/></bookViews>"
        "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets>";
    Write("inactive.xlsx", WorkbookParts(noActive));
    Parts many = WorkbookParts(PlainSpec());
    for (std::uint64_t i = 0; i < kMaxPackageEntries; ++i) many.push_back({"x/" + std::to_string(i), ""});
    Write("many.xlsx", many);
    WorkbookSpec strayTarget = PlainSpec();
    strayTarget.workbookInner = "<sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId9\"/></sheets>";
    strayTarget.extraRelationships =
        "<Relationship Id=\"rId9\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
        "Target=\"worksheets/%FF%FE.xml\"/>";  // names a part that is not UTF-8 once decoded
    Write("stray.xlsx", WorkbookParts(strayTarget));
    std::string legacy = ReadFile(std::string(EXPORT_TEST_DATA_DIR) + "/two_sheets.xls");
    WriteFile(Path("old.xls"), legacy.substr(0, 1024));
    WorkbookSpec dangling = PlainSpec();
    dangling.sheetXml = SheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>5</v></c></row>");
    Write("dangling.xlsx", WorkbookParts(dangling));

    const struct {
        const char* why;
        Kind kind;
        std::string file;   // the file the sentence must name
        std::string place;  // the part or cell it must name, if any
        std::function<void()> act;
        std::string systemReason;  // the system's own words the file layer appends
    } kCases[] = {
        {"not a zip", Kind::NotWorkbook, Path("text.xlsx"), "", [&] { Workbook::Open(Path("text.xlsx")); }, ""},
        {"damaged part", Kind::Damaged, Path("flipped.xlsx"), "", [&] { Workbook::Open(Path("flipped.xlsx")); }, ""},
        {"broken XML", Kind::Damaged, Path("broken.xlsx"), "xl/worksheets/sheet1.xml",
         [&] { Workbook::Open(Path("broken.xlsx")); }, ""},
        {"no active sheet", Kind::NoSheet, Path("inactive.xlsx"), "", [&] { Workbook::Open(Path("inactive.xlsx")); },
         ""},
        {"a missing part whose name is not UTF-8", Kind::Damaged, Path("stray.xlsx"), "xl/worksheets/??.xml",
         [&] { Workbook::Open(Path("stray.xlsx")); }, ""},
        {"damaged old binary file", Kind::Damaged, Path("old.xls"), ".xls", [&] { Workbook::Open(Path("old.xls")); },
         ""},
        {"too many parts", Kind::TooLarge, Path("many.xlsx"), "", [&] { Workbook::Open(Path("many.xlsx")); }, ""},
        {"missing file", Kind::File, Path("none.xlsx"), "", [&] { Workbook::Open(Path("none.xlsx")); },
         std::strerror(ENOENT)},
        {"bad cell text", Kind::Text, good, "C3", [&] { Workbook::Open(good).SetCellText(3, 3, "\xff"); }, ""},
        {"cell outside the sheet", Kind::Cell, good, "", [&] { Workbook::Open(good).CellText(0, 1, '.'); }, ""},
        {"missing shared string", Kind::Damaged, Path("dangling.xlsx"), "A1",
         [&] { Workbook::Open(Path("dangling.xlsx")).CellText(1, 1, '.'); }, ""},
        {"saving into a missing folder", Kind::File, Path("none/x.xlsx"), "",
         [&] { Workbook::Open(good).SaveAs(Path("none/x.xlsx")); }, std::strerror(ENOENT)},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.why);
        try {
            c.act();
            ADD_FAILURE() << "no failure";
        } catch (const WorkbookError& error) {
            const std::string message = error.what();
            const std::string quoted = "“" + c.file + "”";
            EXPECT_EQ(error.kind(), c.kind) << message;
            EXPECT_TRUE(IsValidUtf8(message)) << message;
            EXPECT_TRUE(HasChineseCharacter(message)) << message;
            const std::string::size_type at = message.find(quoted);
            EXPECT_NE(at, std::string::npos) << message;
            EXPECT_EQ(message.find(quoted, at + 1), std::string::npos) << "the file named once: " << message;
            EXPECT_NE(message.find(c.place), std::string::npos) << message;
            EXPECT_EQ(EnglishWording(message, quoted, c.systemReason), "") << message;
        }
    }
}

}  // namespace
}  // namespace wormgear
