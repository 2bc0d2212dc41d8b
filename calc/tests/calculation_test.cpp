// The whole calculation against the worked example of a design (A = 200,
// i = 25, z2 = 50, z1 = 2) and the edge cases of each chain.
#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <set>

#include "calc/design.h"
#include "calc/testing/worked_example.h"

using namespace wormgear;

namespace {

TCoefficientTable ExampleCoefficients() { return WorkedExampleCoefficients(); }
DesignInputs ExampleInputs() { return WorkedExampleInputs(); }

std::map<std::string, std::string> ByLabel(const CalculationOutcome& out) {
    std::map<std::string, std::string> lines;
    for (const auto& line : out.lines) lines[line.label()] = line.text;
    return lines;
}

struct ExampleLine {
    const char* label;
    const char* clear;    // number text with the round-to-integer box clear
    const char* checked;  // ... and ticked
    const char* suffix;
};

// The worked example, panel by panel, each from its first line down.
const ExampleLine kExample[] = {
    {"Label23", "322", "322", "-----蜗轮分度圆直径"},
    {"Label24", "0", "0", "-----E值"},
    {"Label8", "168.728", "168.728", "-----蜗杆齿根圆弧半径"},
    {"Label10", "101", "92", "-----蜗杆工作长度"},
    {"Label9", "156.492", "156.492", "-----蜗杆齿顶圆弧半径"},
    {"Label11", "12", "12", "-----轴肩"},
    {"Label12", "130", "130", "-----主基圆直径"},
    {"Label13", "11.025", "11.025", "-----母平面倾斜角"},
    {"Label14", "23.811", "23.811", "-----压力角"},
    {"Label16", "8.686", "8.686", "-----测量齿厚"},
    {"Label17", "4.448", "4.448", "-----测量齿高"},
    {"Label25", "6.44", "6.44", "-----端面模数"},
    {"Label26", "5.5", "5", "-----包围齿数"},
    {"Label27", "18.18", "16.38", "-----工作半包角"},
    {"Label28", "9.377", "9.377", "-----蜗杆喉部导程角"},
    {"Label48", "103.76", "100.843", "-----蜗杆最大齿顶圆直径"},
    {"Label43", "4.58", "4.58", "-----蜗杆齿顶宽"},
    {"Label18", "153.916", "153.916", "-----刀体齿顶圆弧半径"},
    {"Label19", "168.928", "168.928", "-----刀体齿跟圆弧半径"},
    {"Label20", "111", "111", "-----滚刀有效长度"},
    {"Label21", "8.986", "8.986", "-----滚刀测量齿厚"},
    {"Label22", "7.024", "7.024", "-----滚刀测量齿高"},
    {"Label29", "6", "6", "-----滚刀包络齿数"},
    {"Label49", "2.43", "2.43", "-----滚刀齿顶宽"},
    {"Label33", "337", "337", "-----蜗轮最大外圆"},
    {"Label35", "331.016", "331.016", "-----蜗轮喉径"},
    {"Label34", "70", "70", "-----齿圈工作宽度"},
    {"Label44", "10.979", "10.979", "------蜗轮测量齿厚"},
    {"Label45", "4.604", "4.604", "------蜗轮测量齿高"},
    {"Label40", "39", "38", "-----蜗轮齿顶圆弧半径"},
    {"Label41", "11.038", "11.038", "----修形砂轮角"},
    {"Label42", "25.1", "25.1", "----修形传动比"},
    {"Label51", "200.644", "200.644", "----修形中心距"},
    {"Label52", "130.518", "130.518", "----修形主基圆直径"},
};

class CalculationTest : public ::testing::Test {
 protected:
    void SetUp() override { ASSERT_EQ(std::numeric_limits<long double>::digits, 64); }
};

TEST_F(CalculationTest, WorkedExampleAllLinesBothBoxStates) {
    for (bool checked : {false, true}) {
        const auto out = Calculate(ExampleInputs(), checked, ExampleCoefficients(), '.');
        ASSERT_TRUE(out.succeeded()) << out.failure;
        ASSERT_EQ(out.lines.size(), 34u);
        auto lines = ByLabel(out);
        for (const auto& e : kExample) {
            EXPECT_EQ(lines[e.label], std::string(checked ? e.checked : e.clear) + e.suffix)
                << e.label << (checked ? " (box ticked)" : " (box clear)");
        }
    }
}

TEST_F(CalculationTest, WorkedExampleIntermediateValues) {
    const auto out = Calculate(ExampleInputs(), false, ExampleCoefficients(), '.');
    const TWormDesign& d = out.design;
    EXPECT_EQ(d.RatioClassAngle, 6);
    // Rounded values are stored as n * 0.001, which may differ in the last bit
    // from the double nearest the decimal: compare their texts.
    const std::pair<double, const char*> rounded[] = {
        {d.Dedendum, "7.728"},           {d.ThroatRootDiameter, "62.544"}, {d.Addendum, "4.508"},
        {d.ThroatTipDiameter, "87.016"}, {d.AngularPitch, "7.2"},          {d.CircularPitch, "20.232"},
        {d.WormAxialThickness, "8.804"}, {d.HobEnvelopingTeeth, "6"},      {d.HobHalfWrapAngle, "19.98"},
        {d.HobAxialThickness, "9.108"},  {d.WheelArcThickness, "11.128"},
    };
    for (const auto& [value, text] : rounded) EXPECT_EQ(FormatReal(value, '.'), text);
    EXPECT_NEAR(d.ModificationPitchDiameter, 323.288, 1e-9);
    EXPECT_NEAR(d.GeneratingPlaneAngle, 11.02531, 5e-6);
    EXPECT_NEAR(d.GrindingWheelAngle, 11.03778, 5e-6);
    EXPECT_EQ(d.GeneratingPlaneAngleText, "11.025");
    EXPECT_EQ(d.ShaftShoulder, 12);
    EXPECT_EQ(d.RimWorkingWidth, 70);
}

TEST_F(CalculationTest, LinesAreWrittenInStepOrder) {
    const auto out = Calculate(ExampleInputs(), false, ExampleCoefficients(), '.');
    const char* expected[] = {"Label24", "Label23", "Label8",  "Label9",  "Label10", "Label11", "Label12",
                              "Label14", "Label13", "Label16", "Label17", "Label25", "Label26", "Label27",
                              "Label28", "Label18", "Label19", "Label20", "Label21", "Label22", "Label29",
                              "Label44", "Label45", "Label33", "Label34", "Label35", "Label48", "Label40",
                              "Label43", "Label49", "Label41", "Label42", "Label51", "Label52"};
    ASSERT_EQ(out.lines.size(), std::size(expected));
    for (std::size_t n = 0; n < out.lines.size(); ++n) EXPECT_STREQ(out.lines[n].label(), expected[n]) << n;
}

TEST_F(CalculationTest, ResultTableNamesEveryLineOnceInPanelOrder) {
    const auto out = Calculate(ExampleInputs(), false, ExampleCoefficients(), '.');
    auto lines = ByLabel(out);
    ASSERT_EQ(Results().size(), std::size(kExample));
    std::set<std::string> symbols;
    for (std::size_t n = 0; n < Results().size(); ++n) {
        const ResultDescription& result = Results()[n];
        EXPECT_EQ(static_cast<std::size_t>(result.id), n);
        EXPECT_STREQ(result.label, kExample[n].label);
        EXPECT_STREQ(result.suffix, kExample[n].suffix);
        EXPECT_EQ(lines.count(result.label), 1u);
        EXPECT_EQ(ResultByLabel(result.label), &result);
        EXPECT_TRUE(symbols.insert(result.symbol).second) << "symbol used twice: " << result.symbol;
    }
    // The panels cover the table once, in order.
    int next = 0;
    for (const PanelDescription& panel : Panels()) {
        EXPECT_EQ(panel.first, next) << panel.caption;
        next += panel.count;
    }
    EXPECT_EQ(next, kResultCount);
    EXPECT_EQ(Result(ResultId::WheelMeasuredThickness).name(), "蜗轮测量齿厚");
    EXPECT_EQ(Result(ResultId::ModificationRatio).name(), "修形传动比");
}

struct RatioCase {
    const char* ratio;
    const char* teeth;
    const char* starts;
    const char* failure;  // nullptr: passes the check
    int classAngle;
};

TEST_F(CalculationTest, SpeedRatioCheckAndRatioClass) {
    const RatioCase cases[] = {
        {"10.3333", "31", "3", nullptr, 6},  // difference about 0.00003
        {"10.5", "31", "3", kRatioMismatchMessage, 0},
        {"3.001", "3", "1", nullptr, 4},  // the bound itself passes
        {"3.0011", "3", "1", kRatioMismatchMessage, 0},
        {"9.995", "1999", "200", nullptr, 4},
        {"10", "10", "1", nullptr, 6},
        {"30", "30", "1", nullptr, 6},
        {"30.5", "61", "2", nullptr, 8},
        {"25", "50", "0", kInvalidInputMessage, 0},  // z1 = 0 divides by zero
        {"0", "0", "0", kInvalidInputMessage, 0},    // 0/0
    };
    for (const auto& c : cases) {
        DesignInputs t = ExampleInputs();
        t.SpeedRatio = c.ratio;
        t.WheelTeeth = c.teeth;
        t.WormStarts = c.starts;
        t.MainBaseDiameter = "1";  // small enough for any d2 of these cases
        const auto out = Calculate(t, false, ExampleCoefficients(), '.');
        if (c.failure) {
            EXPECT_EQ(out.failure, c.failure) << c.ratio;
            EXPECT_TRUE(out.lines.empty()) << c.ratio;
        } else {
            EXPECT_EQ(out.design.RatioClassAngle, c.classAngle) << c.ratio;
            EXPECT_NE(out.failure, kRatioMismatchMessage) << c.ratio;
        }
    }
}

TEST_F(CalculationTest, RatioMismatchStoresOnlyTheFourParsedInputs) {
    TWormDesign previous = Calculate(ExampleInputs(), false, ExampleCoefficients(), '.').design;
    DesignInputs t = ExampleInputs();
    t.CentreDistance = "210";
    t.SpeedRatio = "24";
    t.MainBaseDiameter = "140";
    const auto out = Calculate(t, false, ExampleCoefficients(), '.', previous);
    EXPECT_EQ(out.failure, kRatioMismatchMessage);
    EXPECT_EQ(out.design.CentreDistance, 210);
    EXPECT_EQ(out.design.SpeedRatio, 24);
    EXPECT_EQ(out.design.MainBaseDiameter, 130);  // not reached
    EXPECT_EQ(out.design.WheelPitchDiameter, 322);
}

struct FailureCase {
    const char* what;
    void (*edit)(DesignInputs&);
    const char* lastLine;  // label of the last line written before the failure, or ""
};

const FailureCase kFailures[] = {
    {"empty centre distance", [](DesignInputs& t) { t.CentreDistance = ""; }, ""},
    {"teeth not an integer", [](DesignInputs& t) { t.WheelTeeth = "50.0"; }, ""},
    {"empty backlash", [](DesignInputs& t) { t.Backlash = ""; }, ""},
    {"Db greater than d2", [](DesignInputs& t) { t.MainBaseDiameter = "323"; }, "Label12"},
    {"d1 = 0", [](DesignInputs& t) { t.WormPitchDiameter = "0"; }, "Label12"},
    {"empty grinding increment", [](DesignInputs& t) { t.GrindingIncrement = ""; }, "Label49"},
    {"z2 + delta = 0", [](DesignInputs& t) { t.GrindingIncrement = "-50"; }, "Label49"},
    {"centre distance beyond a double", [](DesignInputs& t) { t.CentreDistance = "1e400"; }, ""},
};

TEST_F(CalculationTest, FailuresKeepWhatWasWrittenBefore) {
    for (const auto& f : kFailures) {
        DesignInputs t = ExampleInputs();
        f.edit(t);
        const auto out = Calculate(t, false, ExampleCoefficients(), '.');
        EXPECT_EQ(out.failure, kInvalidInputMessage) << f.what;
        if (*f.lastLine) {
            ASSERT_FALSE(out.lines.empty()) << f.what;
            EXPECT_STREQ(out.lines.back().label(), f.lastLine) << f.what;
        } else {
            EXPECT_TRUE(out.lines.empty()) << f.what;
        }
        for (const auto& line : out.lines) {
            EXPECT_EQ(line.text.find("nan"), std::string::npos) << f.what;
            EXPECT_EQ(line.text.find("inf"), std::string::npos) << f.what;
        }
    }
}

TEST_F(CalculationTest, EmptyGrindingIncrementFailsAfterEveryOtherResult) {
    DesignInputs t = ExampleInputs();
    t.GrindingIncrement = "";
    const auto out = Calculate(t, false, ExampleCoefficients(), '.');
    EXPECT_EQ(out.failure, kInvalidInputMessage);
    EXPECT_EQ(out.lines.size(), 30u);
    EXPECT_EQ(out.design.HobTipWidth, 2.43);
}

TEST_F(CalculationTest, WorkingLengthBeyondTipArcFailsAtTheSquareRoot) {
    // A wide wrap makes half the working length exceed the tip arc radius.
    TCoefficientTable c = ExampleCoefficients();
    c.c[7] = 20.45;  // wrap angle near 90 degrees: L/2 = 161.5 > Ra1 = 156.492
    const auto out = Calculate(ExampleInputs(), false, c, '.');
    EXPECT_EQ(out.failure, kInvalidInputMessage);
    ASSERT_FALSE(out.lines.empty());
    EXPECT_STREQ(out.lines.back().label(), "Label35");
}

TEST_F(CalculationTest, DbEqualToD2GivesNinetyDegrees) {
    DesignInputs t = ExampleInputs();
    t.MainBaseDiameter = "322";
    const auto out = Calculate(t, false, ExampleCoefficients(), '.');
    EXPECT_EQ(out.design.PressureAngle, 90);
}

TEST_F(CalculationTest, InputsShownAsParsed) {
    DesignInputs t = ExampleInputs();
    t.MainBaseDiameter = "130.50";
    t.TipArcEccentricity = "0.10";
    auto lines = ByLabel(Calculate(t, false, ExampleCoefficients(), '.'));
    EXPECT_EQ(lines["Label12"], "130.5-----主基圆直径");
    EXPECT_EQ(lines["Label24"], "0.1-----E值");
}

TEST_F(CalculationTest, TwentyFiveTeethRoundHalfUpAndBoxDropsCoefficient) {
    DesignInputs t = ExampleInputs();
    t.SpeedRatio = "25";
    t.WheelTeeth = "25";
    t.WormStarts = "1";
    const auto clear = Calculate(t, false, ExampleCoefficients(), '.');
    const auto ticked = Calculate(t, true, ExampleCoefficients(), '.');
    EXPECT_EQ(clear.design.EnvelopedTeeth, 3.5);
    EXPECT_EQ(ticked.design.EnvelopedTeeth, 3);
    EXPECT_EQ(clear.design.HobEnvelopingTeeth, ticked.design.HobEnvelopingTeeth);  // T(3.5) = T(3)
    EXPECT_EQ(clear.design.HobEnvelopingTeeth, 4);
    t.WheelTeeth = "24";
    t.SpeedRatio = "24";
    EXPECT_EQ(Calculate(t, true, ExampleCoefficients(), '.').design.EnvelopedTeeth, 2);
}

TEST_F(CalculationTest, HobRootArcRadiusIsShownUnrounded) {
    TCoefficientTable c = ExampleCoefficients();
    c.c[9] = 0.5;
    auto lines = ByLabel(Calculate(ExampleInputs(), false, c, '.'));
    EXPECT_EQ(lines["Label19"], "169.228-----刀体齿跟圆弧半径");
}

TEST_F(CalculationTest, ModificationEdgeCases) {
    // z2 = 40, z1 = 1, mt = 5 (d2 = 200), default delta = 0.2.
    DesignInputs t = ExampleInputs();
    t.CentreDistance = "150";
    t.SpeedRatio = "40";
    t.WheelTeeth = "40";
    t.WormStarts = "1";
    t.MainBaseDiameter = "97";
    t.WormPitchDiameter = "100";
    auto out = Calculate(t, false, ExampleCoefficients(), '.');
    ASSERT_TRUE(out.succeeded()) << out.failure;
    EXPECT_EQ(out.design.TransverseModule, 5);
    EXPECT_EQ(out.design.ModificationRatio, 40.2);
    EXPECT_EQ(out.design.ModificationCentreDistance, 150.5);
    EXPECT_EQ(out.design.ModificationPitchDiameter, 201);

    t.GrindingIncrement = "0";
    out = Calculate(t, false, ExampleCoefficients(), '.');
    EXPECT_EQ(out.design.ModificationRatio, 40);
    EXPECT_EQ(out.design.ModificationCentreDistance, 150);
    EXPECT_NEAR(out.design.GrindingWheelAngle, out.design.GeneratingPlaneAngle, 1e-9);

    t.GrindingIncrement = "-1.5";  // a negative increment is accepted
    out = Calculate(t, false, ExampleCoefficients(), '.');
    ASSERT_TRUE(out.succeeded()) << out.failure;
    EXPECT_EQ(out.design.ModificationRatio, 38.5);
    EXPECT_LT(out.design.ModificationCentreDistance, 150);
}

TEST_F(CalculationTest, RatioClassStaysWithTheTypedRatio) {
    // i just below 10 (k = 4) while im = 10.05 lies in the next class.
    DesignInputs t = ExampleInputs();
    t.SpeedRatio = "9.95";
    t.WheelTeeth = "199";
    t.WormStarts = "20";
    t.MainBaseDiameter = "100";
    t.GrindingIncrement = "2";
    const auto out = Calculate(t, false, ExampleCoefficients(), '.');
    ASSERT_TRUE(out.succeeded()) << out.failure;
    EXPECT_EQ(out.design.RatioClassAngle, 4);
    EXPECT_EQ(out.design.ModificationRatio, 10.05);
    EXPECT_NEAR(static_cast<double>(
                    GeneratingPlaneAngle(4, out.design.ModificationPressureAngle, out.design.ModificationPitchDiameter,
                                         out.design.ModificationCentreDistance, out.design.ModificationRatio)),
                out.design.GrindingWheelAngle, 0);
}

TEST_F(CalculationTest, FailedRunAfterSuccessKeepsEarlierValuesOfTheRecord) {
    const auto first = Calculate(ExampleInputs(), false, ExampleCoefficients(), '.');
    DesignInputs t = ExampleInputs();
    t.WormPitchDiameter = "80";
    t.GrindingIncrement = "x";
    const auto second = Calculate(t, false, ExampleCoefficients(), '.', first.design);
    EXPECT_EQ(second.failure, kInvalidInputMessage);
    EXPECT_EQ(second.design.WheelPitchDiameter, 320);  // rewritten before the failure
    EXPECT_EQ(second.design.GrindingIncrement, 0.2);   // kept from the first run
    EXPECT_EQ(second.design.ModificationRatio, first.design.ModificationRatio);
}

}  // namespace
