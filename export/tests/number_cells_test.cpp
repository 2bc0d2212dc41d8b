// Number cells: which texts become numbers and with which format, that the
// template's look stays, that formats are shared rather than added at every
// save, and that every cell reads back as the text written.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <string>

#include "export/number_cells.h"
#include "export/tests/test_support.h"
#include "export/workbook.h"

namespace wormgear {
namespace {

using namespace wormgear::testing;

struct NumberCase {
    const char* text;
    char separator;
    double value;
    const char* format;  // nullptr: the text stays a text
};

// Each number text as FormatReal writes it, and texts that look like numbers
// but read back differently, so they must stay texts.
const NumberCase kNumbers[] = {
    {"168.728", '.', 168.728, "0.000"},
    {"200", '.', 200, "0"},
    {"0", '.', 0, "0"},
    {"-2.5", '.', -2.5, "0.0"},
    {"6.44", '.', 6.44, "0.00"},
    {"0.333333333333333", '.', 0.333333333333333, "0.000000000000000"},  // 15 significant digits
    {"123456789012345", '.', 123456789012345, "0"},
    {"0.0001", '.', 0.0001, "0.0000"},  // the smallest FormatReal writes fixed
    {"0.000123", '.', 0.000123, "0.000000"},
    {"1E15", '.', 1e15, "0E-0"},  // the first FormatReal writes with an exponent
    {"1E-5", '.', 1e-5, "0E-0"},
    {"1.5E-7", '.', 1.5e-7, "0.0E-0"},
    {"-1.23456789012346E19", '.', -1.23456789012346e19, "0.00000000000000E-0"},
    {"9.99999999999999E307", '.', 9.99999999999999e307, "0.00000000000000E-0"},  // the largest a cell holds
    {"168,728", ',', 168.728, "0.000"},  // the user's separator; the format keeps the file's '.'
    {"1,5E-7", ',', 1.5e-7, "0.0E-0"},
    // Texts: FormatReal would show them otherwise.
    {"200.50", '.', 0, nullptr},
    {"0.30", '.', 0, nullptr},
    {"200.", '.', 0, nullptr},
    {".5", '.', 0, nullptr},
    {"+5", '.', 0, nullptr},
    {" 200", '.', 0, nullptr},
    {"200 ", '.', 0, nullptr},
    {"-0", '.', 0, nullptr},
    {"007", '.', 0, nullptr},
    {"1e3", '.', 0, nullptr},
    {"1E+15", '.', 0, nullptr},
    {"1000000000000000", '.', 0, nullptr},  // FormatReal writes 1E15
    {"0.00001", '.', 0, nullptr},           // FormatReal writes 1E-5
    {"1.00000000000000001", '.', 0, nullptr},
    {"1E308", '.', 0, nullptr},    // beyond what a spreadsheet cell holds
    {"1E-320", '.', 0, nullptr},   // subnormal: spreadsheets store zero
    {"168.728", ',', 0, nullptr},  // another notation than the user's
    {"168,728", '.', 0, nullptr},
    // Texts that are no numbers at all.
    {"", '.', 0, nullptr},
    {"右", '.', 0, nullptr},
    {"0.3*P/2", '.', 0, nullptr},
    {"8j (GB/T16445-1996)", '.', 0, nullptr},
    {"$1F", '.', 0, nullptr},
    {"1.2.3", '.', 0, nullptr},
};

TEST(NumberCellOf, NumbersAreTheTextsFormatRealGivesBack) {
    for (const NumberCase& c : kNumbers) {
        SCOPED_TRACE(std::string(c.text) + " with '" + c.separator + "'");
        const std::optional<NumberCell> cell = NumberCellOf(c.text, c.separator);
        if (!c.format) {
            EXPECT_FALSE(cell) << "became a number, format " << cell->formatCode;
            continue;
        }
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->value, c.value);
        EXPECT_EQ(cell->formatCode, c.format);
    }
}

using NumberCellsTest = FolderTest;

// The cell format <xf> a cell of the sheet uses, and the code of its number format.
struct CellFormat {
    pugi::xml_node xf;
    std::string code;
};

class Styles {
 public:
    explicit Styles(const std::string& workbookPath)
        : sheet_(ParseXml(PartOf(workbookPath, "xl/worksheets/sheet1.xml"))),
          styles_(ParseXml(PartOf(workbookPath, "xl/styles.xml"))) {}

    pugi::xml_node Cell(const std::string& reference) const {
        return sheet_.select_node(("//c[@r='" + reference + "']").c_str()).node();
    }
    CellFormat FormatOf(const std::string& reference) const {
        return FormatAt(Cell(reference).attribute("s").as_uint());
    }
    CellFormat FormatAt(unsigned index) const {
        unsigned i = 0;
        for (pugi::xml_node xf : styles_.document_element().child("cellXfs").children("xf")) {
            if (i++ != index) continue;
            const std::string id = xf.attribute("numFmtId").value();
            pugi::xml_node format = styles_.select_node(("//numFmts/numFmt[@numFmtId='" + id + "']").c_str()).node();
            return {xf, format ? format.attribute("formatCode").value() : "builtin " + id};
        }
        ADD_FAILURE() << "no cell format " << index;
        return {};
    }
    std::size_t Count(const char* path) const { return styles_.select_nodes(path).size(); }

 private:
    pugi::xml_document sheet_, styles_;
};

TEST_F(NumberCellsTest, NumbersKeepTheTemplatesLookAndReadBackAsWritten) {
    Workbook book = Workbook::Open(TemplatePath("1.xls"));
    const struct {
        int row, column;
        const char* text;
        const char* format;  // nullptr: a text cell
    } kCells[] = {
        {2, 3, "2", "0"},          {4, 3, "6.44", "0.00"},      {5, 3, "5.5", "0.0"},
        {6, 3, "11.025", "0.000"}, {7, 3, "1E-5", "0E-0"},      {8, 3, "200.50", nullptr},
        {10, 2, "右", nullptr},    {14, 3, "0.3*P/2", nullptr}, {9, 3, "23.811", "0.000"},
    };
    for (const auto& c : kCells) book.SetCellValue(c.row, c.column, c.text, '.');
    for (const auto& c : kCells) EXPECT_EQ(book.CellText(c.row, c.column, '.'), c.text) << "before saving";
    book.SaveAs(Path("worm"));

    const Styles written(Path("worm.xlsx"));
    const Styles shipped(TemplatePath("1.xls"));
    for (const auto& c : kCells) {
        const std::string reference = CellReference(c.row, c.column);
        SCOPED_TRACE(reference);
        pugi::xml_node cell = written.Cell(reference);
        if (!c.format) {
            EXPECT_STREQ(cell.attribute("t").value(), "s");
            continue;
        }
        EXPECT_FALSE(cell.attribute("t")) << "a number cell has no type";
        EXPECT_EQ(std::stod(cell.child_value("v")), std::stod(c.text));
        const CellFormat format = written.FormatOf(reference);
        EXPECT_EQ(format.code, c.format);
        EXPECT_STREQ(format.xf.attribute("applyNumberFormat").value(), "1");
        // Border, font and alignment are the template cell's.
        const CellFormat before = shipped.FormatOf(reference);
        for (const char* attribute : {"fontId", "fillId", "borderId", "xfId"})
            EXPECT_STREQ(format.xf.attribute(attribute).value(), before.xf.attribute(attribute).value()) << attribute;
        EXPECT_STREQ(format.xf.child("alignment").attribute("horizontal").value(),
                     before.xf.child("alignment").attribute("horizontal").value());
    }
    Workbook reopened = Workbook::Open(Path("worm.xlsx"));
    for (const auto& c : kCells) EXPECT_EQ(reopened.CellText(c.row, c.column, '.'), c.text) << "after saving";
    EXPECT_EQ(reopened.CellText(2, 1, '.'), "蜗杆头数") << "the template's labels stay";
}

TEST_F(NumberCellsTest, FormatsAreSharedSoSavingAgainAddsNothing) {
    Workbook book = Workbook::Open(TemplatePath("111.xls"));
    for (int row = 1; row <= 13; ++row) book.SetCellValue(row, 1, std::to_string(row) + ".5", '.');
    book.SaveTo(Path("design.cqb"));
    const Styles once(Path("design.cqb"));
    const std::size_t formats = once.Count("//numFmts/numFmt"), cellFormats = once.Count("//cellXfs/xf");
    EXPECT_EQ(formats, 1u) << "thirteen numbers of one decimal share one format";
    const std::string stylesOnce = PartOf(Path("design.cqb"), "xl/styles.xml");

    for (int save = 0; save < 3; ++save) {
        Workbook again = Workbook::Open(Path("design.cqb"));
        for (int row = 1; row <= 13; ++row) again.SetCellValue(row, 1, std::to_string(row + save) + ".5", '.');
        again.Save();
    }
    const Styles later(Path("design.cqb"));
    EXPECT_EQ(PartOf(Path("design.cqb"), "xl/styles.xml"), stylesOnce);
    EXPECT_EQ(later.Count("//numFmts/numFmt"), formats);
    EXPECT_EQ(later.Count("//cellXfs/xf"), cellFormats);
    EXPECT_EQ(std::stoul(ParseXml(PartOf(Path("design.cqb"), "xl/styles.xml"))
                             .select_node("//cellXfs")
                             .node()
                             .attribute("count")
                             .value()),
              cellFormats);
    EXPECT_EQ(Workbook::Open(Path("design.cqb")).CellText(13, 1, '.'), "15.5");
}

TEST_F(NumberCellsTest, ANumberOverwrittenByATextBecomesATextAndBack) {
    Workbook book = Workbook::Open(TemplatePath("111.xls"));
    book.SetCellValue(1, 1, "200", '.');
    book.SetCellValue(1, 1, "200.50", '.');
    book.SetCellValue(2, 1, "x", '.');
    book.SetCellValue(2, 1, "0,25", ',');
    book.SaveTo(Path("mixed.cqb"));
    const Styles written(Path("mixed.cqb"));
    EXPECT_STREQ(written.Cell("A1").attribute("t").value(), "s");
    EXPECT_FALSE(written.Cell("A2").attribute("t"));
    EXPECT_STREQ(written.Cell("A2").child_value("v"), "0.25");
    Workbook reopened = Workbook::Open(Path("mixed.cqb"));
    EXPECT_EQ(reopened.CellText(1, 1, '.'), "200.50");
    EXPECT_EQ(reopened.CellText(2, 1, ','), "0,25");
    EXPECT_EQ(reopened.CellText(2, 1, '.'), "0.25");
}

TEST_F(NumberCellsTest, AWorkbookWithoutStylesGetsThem) {
    WorkbookSpec spec;
    spec.sheetXml = SheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
    Workbook book = Workbook::Open(Write("plain.xlsx", WorkbookParts(spec)));
    book.SetCellValue(2, 1, "4.75", '.');
    book.Save();
    ASSERT_TRUE(HasPart(Path("plain.xlsx"), "xl/styles.xml"));
    EXPECT_NE(PartOf(Path("plain.xlsx"), "[Content_Types].xml").find("/xl/styles.xml"), std::string::npos);
    EXPECT_NE(PartOf(Path("plain.xlsx"), "xl/_rels/workbook.xml.rels").find("relationships/styles"), std::string::npos);
    const Styles written(Path("plain.xlsx"));
    EXPECT_EQ(written.FormatOf("A2").code, "0.00");
    EXPECT_EQ(Workbook::Open(Path("plain.xlsx")).CellText(2, 1, '.'), "4.75");
}

TEST_F(NumberCellsTest, AnXlsmNameDeclaresAMacroWorkbookAndAnyOtherAPlainOne) {
    Workbook book = Workbook::Open(TemplatePath("1.xls"));
    book.SaveAs(Path("sheet.xlsm"));
    EXPECT_NE(PartOf(Path("sheet.xlsm"), "[Content_Types].xml").find("sheet.macroEnabled.main+xml"), std::string::npos);
    Workbook again = Workbook::Open(Path("sheet.xlsm"));
    again.SaveAs(Path("sheet"));
    const std::string types = PartOf(Path("sheet.xlsx"), "[Content_Types].xml");
    EXPECT_EQ(types.find("macroEnabled"), std::string::npos);
    EXPECT_NE(types.find("spreadsheetml.sheet.main+xml"), std::string::npos);
}

}  // namespace
}  // namespace wormgear
