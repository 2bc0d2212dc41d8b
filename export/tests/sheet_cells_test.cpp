// The cell tables of the worm, hob and wheel sheets: sources, number texts
// and writing order.
#include <gtest/gtest.h>

#include <map>

#include "calc/design.h"
#include "calc/testing/worked_example.h"
#include "export/sheets.h"

namespace wormgear {
namespace {

struct ExpectedCell {
    int row, column;
    const char* text;
};

std::vector<SheetCell> Cells(std::initializer_list<ExpectedCell> cells) {
    std::vector<SheetCell> out;
    for (const auto& c : cells) out.push_back({c.row, c.column, c.text});
    return out;
}

void ExpectCells(const std::vector<SheetCell>& actual, const std::vector<SheetCell>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].row, expected[i].row) << "entry " << i;
        EXPECT_EQ(actual[i].column, expected[i].column) << "row " << expected[i].row;
        EXPECT_EQ(actual[i].text, expected[i].text) << "row " << expected[i].row << ", column " << expected[i].column;
    }
}

// The worked example of a design: A = 200, i = 25, z2 = 50, z1 = 2, Db = 130,
// E = 0, d1 = 78, jn = 0.3, delta = 0.2, with the example coefficients and the
// round-to-integer box clear. The expected texts are the number texts of the
// example's result lines.
CalculationOutcome WorkedExample() {
    const DesignInputs texts = WorkedExampleInputs();
    const TCoefficientTable coefficients = WorkedExampleCoefficients();
    return Calculate(texts, false, coefficients, '.');
}

class SheetCellsTest : public ::testing::Test {};

TEST_F(SheetCellsTest, WormSheetOfTheWorkedExample) {
    CalculationOutcome outcome = WorkedExample();
    ASSERT_TRUE(outcome.succeeded()) << outcome.failure;
    ExpectCells(SheetCells(SheetKind::Worm, WorkedExampleInputs(), outcome.design, '.'),
                Cells({{2, 3, "2"},
                       {3, 3, "50"},
                       {4, 3, "6.44"},    // Label25 端面模数
                       {5, 3, "5.5"},     // Label26 包围齿数
                       {6, 3, "11.025"},  // Label13 母平面倾斜角
                       {7, 3, "18.18"},   // Label27 工作半包角
                       {8, 3, "9.377"},   // Label28 蜗杆喉部导程角
                       {9, 3, "23.811"},  // Label14 压力角
                       {10, 2, "右"},
                       {11, 2, "8j (GB/T16445-1996)"},
                       {12, 3, "8.686"},  // Label16 测量齿厚
                       {13, 3, "4.448"},  // Label17 测量齿高
                       {14, 3, "0.3*P/2"},
                       {15, 3, "0.2*P/2"},
                       {17, 3, "0.2"},
                       {18, 3, "200.644"},    // Label51 修形中心距, rounded by the export
                       {19, 3, "25.1"},       // Label42 修形传动比
                       {20, 3, "130.518"},    // Label52 修形主基圆直径, rounded
                       {21, 3, "11.038"}}));  // Label41 修形砂轮角, rounded
}

TEST_F(SheetCellsTest, HobSheetOfTheWorkedExample) {
    CalculationOutcome outcome = WorkedExample();
    ASSERT_TRUE(outcome.succeeded()) << outcome.failure;
    DesignInputs texts = WorkedExampleInputs();
    texts.HobAccuracy = "7 (GB/T16445-1996)";
    ExpectCells(SheetCells(SheetKind::Hob, texts, outcome.design, '.'),
                Cells({{2, 3, "2"},
                       {3, 3, "50"},
                       {4, 3, "6.44"},
                       {5, 3, "6"},  // Label29 滚刀包络齿数
                       {6, 3, "11.025"},
                       {7, 3, "18.18"},
                       {8, 3, "9.377"},
                       {9, 3, "23.811"},
                       {10, 2, "右"},
                       {11, 2, "7 (GB/T16445-1996)"},  // the hob's grade, not the worm's
                       {12, 3, "8.986"},               // Label21 滚刀测量齿厚 = 8.686 + 0.3
                       {13, 3, "7.024"}}));            // Label22 滚刀测量齿高
    // Row 12 is the number of the hob's own result line.
    EXPECT_EQ(SheetCells(SheetKind::Hob, texts, outcome.design, '.')[10].text,
              FormatReal(outcome.design.HobMeasuredThickness, '.'));
}

TEST_F(SheetCellsTest, WheelSheetOfTheWorkedExample) {
    CalculationOutcome outcome = WorkedExample();
    ASSERT_TRUE(outcome.succeeded()) << outcome.failure;
    ExpectCells(SheetCells(SheetKind::Wheel, WorkedExampleInputs(), outcome.design, '.'),
                Cells({{2, 3, "2"},
                       {3, 3, "50"},
                       {4, 3, "6.44"},
                       {5, 3, "9.377"},
                       {6, 3, "23.811"},
                       {7, 3, "18.18"},
                       {8, 3, "5.631"},  // 23.811 - 18.18, subtracted by the export
                       {9, 3, "11.025"},
                       {10, 2, "右"},
                       {11, 3, "5.5"},
                       {12, 3, "0.3"},
                       {13, 3, "4.604"},   // Label45 蜗轮测量齿高
                       {14, 3, "10.979"},  // Label44 蜗轮测量齿厚
                       {15, 3, "200"},
                       {16, 3, ""},
                       {17, 3, "130"}}));
}

TEST_F(SheetCellsTest, BeforeAnyCalculationEveryValueIsZeroAndRowSixEmpty) {
    DesignInputs texts;  // the window's initial texts
    texts.WormStarts = "1";
    TWormDesign initial;
    for (SheetKind kind : {SheetKind::Worm, SheetKind::Hob, SheetKind::Wheel}) {
        std::map<std::string, std::string> byCell;
        for (const SheetCell& cell : SheetCells(kind, texts, initial, '.'))
            byCell[std::to_string(cell.row) + "," + std::to_string(cell.column)] = cell.text;
        EXPECT_EQ(byCell["2,3"], "1");
        EXPECT_EQ(byCell["3,3"], "");
        EXPECT_EQ(byCell["4,3"], "0");
        EXPECT_EQ(byCell["10,2"], "右");
        int generatingPlaneRow = kind == SheetKind::Wheel ? 9 : 6;
        EXPECT_EQ(byCell[std::to_string(generatingPlaneRow) + ",3"], "") << TemplateName(kind);
    }
    std::vector<SheetCell> worm = SheetCells(SheetKind::Worm, texts, initial, '.');
    for (int index : {2, 3, 5, 6, 7, 10, 11, 15, 16, 17, 18})
        EXPECT_EQ(worm[static_cast<std::size_t>(index)].text, "0")
            << "row " << worm[static_cast<std::size_t>(index)].row;
    EXPECT_EQ(worm[9].text, "8j (GB/T16445-1996)");
    EXPECT_EQ(worm[12].text, "0.3*P/2");
    EXPECT_EQ(worm[13].text, "0.2*P/2");
    EXPECT_EQ(worm[14].text, "0.2");
}

// Values that the export itself combines or rounds, from the edge cases of
// the sheets: 4.5 + 0.3 and 20 - 12.5 in Extended, the rounding ties of
// DecimalRound to 0.001 on the stored double.
struct DerivedCase {
    SheetKind kind;
    int row;
    void (*set)(TWormDesign&);
    const char* text;
};
const DerivedCase kDerived[] = {
    {SheetKind::Hob, 12,
     [](TWormDesign& d) {
         d.WormMeasuredThickness = 4.5;
         d.Backlash = 0.3;
     },
     "4.8"},
    {SheetKind::Wheel, 8,
     [](TWormDesign& d) {
         d.PressureAngle = 20;
         d.WorkingHalfWrapAngle = 12.5;
     },
     "7.5"},
    {SheetKind::Wheel, 12, [](TWormDesign& d) { d.Backlash = 0.30; }, "0.3"},
    {SheetKind::Worm, 18, [](TWormDesign& d) { d.ModificationCentreDistance = 200.6444999; }, "200.644"},
    {SheetKind::Worm, 18, [](TWormDesign& d) { d.ModificationCentreDistance = 1.0005; }, "1"},  // just below the tie
    {SheetKind::Worm, 20, [](TWormDesign& d) { d.ModificationBaseDiameter = 45.0005; },
     "45.001"},                                                                         // just above the tie
    {SheetKind::Worm, 21, [](TWormDesign& d) { d.GrindingWheelAngle = 0.0005; }, "0"},  // exact tie, to even
    {SheetKind::Worm, 19, [](TWormDesign& d) { d.ModificationRatio = 25.1234567; }, "25.1234567"},  // not rounded
    {SheetKind::Worm, 7, [](TWormDesign& d) { d.WorkingHalfWrapAngle = 1.0 / 3; }, "0.333333333333333"},
    {SheetKind::Wheel, 17, [](TWormDesign& d) { d.MainBaseDiameter = 130.25; }, "130.25"},
};

TEST_F(SheetCellsTest, ValuesTheExportDerives) {
    for (const auto& c : kDerived) {
        TWormDesign design;
        c.set(design);
        bool found = false;
        for (const SheetCell& cell : SheetCells(c.kind, DesignInputs{}, design, '.')) {
            if (cell.row == c.row && cell.column == 3) {
                EXPECT_EQ(cell.text, c.text) << TemplateName(c.kind) << " row " << c.row;
                found = true;
            }
        }
        EXPECT_TRUE(found) << TemplateName(c.kind) << " row " << c.row;
    }
}

TEST_F(SheetCellsTest, InputCellsTakeTheTextsAsTheyStand) {
    DesignInputs texts;
    texts.CentreDistance = " 210 ";
    texts.WheelTeeth = "5O";  // a letter O: the sheet does not check
    texts.WormStarts = "";
    texts.WormAccuracy = "7";
    texts.EntranceRelief = "";
    TWormDesign design;
    std::vector<SheetCell> worm = SheetCells(SheetKind::Worm, texts, design, '.');
    EXPECT_EQ(worm[0].text, "");
    EXPECT_EQ(worm[1].text, "5O");
    EXPECT_EQ(worm[9].text, "7");
    EXPECT_EQ(worm[12].text, "");
    EXPECT_EQ(SheetCells(SheetKind::Wheel, texts, design, '.')[13].text, " 210 ");
}

TEST_F(SheetCellsTest, RowsAndWritingOrder) {
    struct Layout {
        SheetKind kind;
        std::vector<std::pair<int, int>> cells;
    };
    const Layout kLayouts[] = {
        {SheetKind::Worm,
         {{2, 3},
          {3, 3},
          {4, 3},
          {5, 3},
          {6, 3},
          {7, 3},
          {8, 3},
          {9, 3},
          {10, 2},
          {11, 2},
          {12, 3},
          {13, 3},
          {14, 3},
          {15, 3},
          {17, 3},
          {18, 3},
          {19, 3},
          {20, 3},
          {21, 3}}},
        {SheetKind::Hob,
         {{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}, {8, 3}, {9, 3}, {10, 2}, {11, 2}, {12, 3}, {13, 3}}},
        {SheetKind::Wheel,
         {{2, 3},
          {3, 3},
          {4, 3},
          {5, 3},
          {6, 3},
          {7, 3},
          {8, 3},
          {9, 3},
          {10, 2},
          {11, 3},
          {12, 3},
          {13, 3},
          {14, 3},
          {15, 3},
          {16, 3},
          {17, 3}}},
    };
    for (const auto& layout : kLayouts) {
        std::vector<SheetCell> cells = SheetCells(layout.kind, DesignInputs{}, TWormDesign{}, '.');
        ASSERT_EQ(cells.size(), layout.cells.size()) << TemplateName(layout.kind);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            EXPECT_EQ(std::make_pair(cells[i].row, cells[i].column), layout.cells[i])
                << TemplateName(layout.kind) << " entry " << i;
        }
    }
}

TEST(SheetNames, TemplatesAndProposedNames) {
    EXPECT_STREQ(TemplateName(SheetKind::Worm), "1.xls");
    EXPECT_STREQ(TemplateName(SheetKind::Hob), "11.xls");
    EXPECT_STREQ(TemplateName(SheetKind::Wheel), "1111.xls");
    EXPECT_STREQ(ProposedFileName(SheetKind::Worm), "rudar");
    EXPECT_STREQ(ProposedFileName(SheetKind::Hob), "gundao");
    EXPECT_STREQ(ProposedFileName(SheetKind::Wheel), "wolun");
}

}  // namespace
}  // namespace wormgear
