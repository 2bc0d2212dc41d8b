// The shipped templates: every value cell of a sheet's table is an empty cell
// with its name beside it, and the design template leaves column 1 free.
#include <gtest/gtest.h>

#include <set>

#include "export/sheets.h"
#include "export/tests/test_support.h"
#include "export/workbook.h"

namespace wormgear {
namespace {

using namespace wormgear::testing;

struct TemplateCase {
    SheetKind kind;
    Language language;
    const char* title;
    int lastTableRow;
};
// Each sheet and its English twin: the same cells, the same look.
const TemplateCase kTemplates[] = {
    {SheetKind::Worm, Language::Chinese, "平面包络环面蜗杆参数表", 21},
    {SheetKind::Hob, Language::Chinese, "滚刀参数表", 13},
    {SheetKind::Wheel, Language::Chinese, "蜗轮参数表", 17},
    {SheetKind::Worm, Language::English, "Enveloping worm parameters (inclined-plane generated)", 21},
    {SheetKind::Hob, Language::English, "Hob parameters", 13},
    {SheetKind::Wheel, Language::English, "Wheel parameters", 17},
};

TEST(Templates, EveryValueCellIsEmptyAndNamed) {
    for (const auto& t : kTemplates) {
        SCOPED_TRACE(TemplateName(t.kind, t.language));
        Workbook book = Workbook::Open(TemplatePath(TemplateName(t.kind, t.language)));
        EXPECT_EQ(book.CellText(1, 1, '.'), t.title);
        for (const SheetCell& cell : SheetCells(t.kind, DesignInputs{}, TWormDesign{}, '.')) {
            EXPECT_EQ(book.CellText(cell.row, cell.column, '.'), "") << "row " << cell.row << " value cell";
            EXPECT_NE(book.CellText(cell.row, 1, '.'), "") << "row " << cell.row << " has a name";
            if (cell.column == 3) {
                EXPECT_EQ(book.CellText(cell.row, 4, '.').empty(), cell.row == 16) << "row " << cell.row << " unit";
            }
        }
    }
}

TEST(Templates, SheetsAreBorderedMergedAndPrintOnOnePage) {
    for (const auto& t : kTemplates) {
        SCOPED_TRACE(TemplateName(t.kind, t.language));
        std::string path = TemplatePath(TemplateName(t.kind, t.language));
        pugi::xml_document sheet = ParseXml(PartOf(path, "xl/worksheets/sheet1.xml"));
        pugi::xml_document styles = ParseXml(PartOf(path, "xl/styles.xml"));
        pugi::xml_node root = sheet.document_element();
        EXPECT_STREQ(root.child("sheetPr").child("pageSetUpPr").attribute("fitToPage").value(), "1");
        EXPECT_STREQ(root.child("pageSetup").attribute("fitToWidth").value(), "1");
        EXPECT_STREQ(root.child("pageSetup").attribute("fitToHeight").value(), "1");
        EXPECT_EQ(root.child("cols").select_nodes("col[@customWidth='1']").size(), 4u);

        std::vector<pugi::xml_node> formats;
        for (pugi::xml_node xf : styles.document_element().child("cellXfs").children("xf")) formats.push_back(xf);
        std::set<std::string> merges;
        for (pugi::xml_node merge : root.child("mergeCells").children("mergeCell"))
            merges.insert(merge.attribute("ref").value());
        EXPECT_TRUE(merges.count("A1:D1")) << "title across the table";

        for (const SheetCell& cell : SheetCells(t.kind, DesignInputs{}, TWormDesign{}, '.')) {
            std::string ref = CellReference(cell.row, cell.column);
            pugi::xml_node node = sheet.select_node(("//c[@r='" + ref + "']").c_str()).node();
            ASSERT_TRUE(node) << ref << " is a formatted cell of the template";
            std::size_t style = node.attribute("s").as_uint();
            ASSERT_LT(style, formats.size());
            EXPECT_STREQ(formats[style].attribute("borderId").value(), "1") << ref << " has a border";
            if (cell.column == 2) {
                EXPECT_TRUE(merges.count(ref + ":" + CellReference(cell.row, 3))) << ref << " spans the value column";
            }
        }
        pugi::xml_document workbook = ParseXml(PartOf(path, "xl/workbook.xml"));
        std::string printArea = workbook.select_node("//definedName[@name='_xlnm.Print_Area']").node().text().get();
        EXPECT_NE(printArea.find("!$A$1:$D$"), std::string::npos) << printArea;
    }
}

TEST(Templates, EnglishTwinsHoldNoChineseAndTheSameSymbolsAndUnits) {
    for (SheetKind kind : {SheetKind::Worm, SheetKind::Hob, SheetKind::Wheel}) {
        SCOPED_TRACE(TemplateName(kind, Language::English));
        Workbook chinese = Workbook::Open(TemplatePath(TemplateName(kind)));
        Workbook english = Workbook::Open(TemplatePath(TemplateName(kind, Language::English)));
        for (int row = 1; row <= 24; ++row) {
            const std::string name = english.CellText(row, 1, '.');
            for (unsigned char c : name) EXPECT_LT(c, 0xE0) << "row " << row << ": " << name;  // no CJK
            EXPECT_EQ(name.empty(), chinese.CellText(row, 1, '.').empty()) << "row " << row;
            for (int column : {2, 4}) {
                // Symbols and units are the same, but for the grinding increment's 齿.
                const std::string unit = chinese.CellText(row, column, '.');
                EXPECT_EQ(english.CellText(row, column, '.'), unit == "齿" ? "teeth" : unit)
                    << "row " << row << " column " << column;
            }
        }
    }
}

TEST(Templates, DesignTemplateLeavesColumnOneEmpty) {
    Workbook book = Workbook::Open(TemplatePath("111.xls"));
    for (int row = 1; row <= 13; ++row) {
        EXPECT_EQ(book.CellText(row, 1, '.'), "") << "row " << row;
        EXPECT_NE(book.CellText(row, 2, '.'), "") << "row " << row << " is named in column 2";
    }
    EXPECT_EQ(book.CellText(1, 2, '.'), "中心距 A (mm)");
    EXPECT_EQ(book.CellText(13, 2, '.'), "磨齿增量 Δ (齿)");
    for (int row = 14; row <= 30; ++row) EXPECT_EQ(book.CellText(row, 1, '.'), "") << "row " << row;
}

TEST(Templates, AreOoxmlUnderTheirOldNames) {
    for (const char* name : {"1.xls", "11.xls", "1111.xls", "111.xls"}) {
        EXPECT_EQ(ReadFile(TemplatePath(name)).substr(0, 4), std::string("PK\x03\x04", 4)) << name;
    }
}

}  // namespace
}  // namespace wormgear
