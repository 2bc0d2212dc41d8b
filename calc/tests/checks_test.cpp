// The design checks: a design for every check code (each operation of the
// chains that can fail reached at least once, each usual range at both
// edges), with the fields and the message expected; the order of the
// findings; and that checking a design never changes its calculation.
//
// Designs start from the worked example (A 200, i 25, z2 50, z1 2, Db 130,
// E 0, d1 78, jn 0.3, delta 0.2) and change what each case names. The
// far-out designs reach range limits of the rounding (|x| / 0.001 < 2^63, so
// about 9.22E15) with large texts or coefficients; the four that hit an exact
// zero or a tangent pole were found by a search over E, Db and A and are
// kept as the texts that reach them.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "calc/checks.h"
#include "calc/suggestions.h"
#include "calc/testing/worked_example.h"
#include "translations/testing/english.h"

using namespace wormgear;

namespace {

using S = CalculationStep;

struct Texts {
    std::vector<std::pair<const char*, const char*>> fields;  // option -> text
    std::vector<std::pair<int, double>> coefficients = {};    // c[k] -> value
};

DesignInputs Inputs(const Texts& texts) {
    DesignInputs inputs = WorkedExampleInputs();
    for (const auto& [option, text] : texts.fields) {
        const DesignFieldDescription* field = FieldByOption(option);
        EXPECT_NE(field, nullptr) << option;
        if (field) inputs.*field->text = text;
    }
    return inputs;
}

TCoefficientTable Coefficients(const Texts& texts) {
    TCoefficientTable table = WorkedExampleCoefficients();
    for (const auto& [k, value] : texts.coefficients) table.c[static_cast<std::size_t>(k)] = value;
    return table;
}

std::string Options(FieldSet fields) {
    std::string options;
    for (DesignField field : FieldsOf(fields)) {
        options += options.empty() ? "" : " ";
        options += DesignFields()[static_cast<int>(field)].option;
    }
    return options;
}

struct CheckCase {
    Texts texts;
    const char* code;
    S stoppedAt;                       // where the calculation stops (None: it completes)
    const char* fields;                // the finding's fields, by option name
    std::vector<const char*> message;  // parts of the Chinese message, in order
};

// clang-format off
const CheckCase kCases[] = {
    // A field the calculation cannot read: which one and what was typed.
    {{{{"centre-distance", ""}}}, "centre-distance-empty", S::ParseCentreDistance, "centre-distance",
     {"中心距 A 未填写：只能输入合法数字，且不能为空"}},
    {{{{"centre-distance", "2OO"}}}, "centre-distance-not-a-number", S::ParseCentreDistance, "centre-distance",
     {"中心距 A 不是合法数字：输入的是“2OO”"}},
    {{{{"centre-distance", "1e400"}}}, "centre-distance-too-large", S::ParseCentreDistance, "centre-distance",
     {"中心距 A 1e400 超出可计算的范围"}},
    {{{{"speed-ratio", "   "}}}, "speed-ratio-empty", S::ParseSpeedRatio, "speed-ratio", {"速比 i 未填写"}},
    {{{{"speed-ratio", "25a"}}}, "speed-ratio-not-a-number", S::ParseSpeedRatio, "speed-ratio", {"“25a”"}},
    {{{{"speed-ratio", "-1e309"}}}, "speed-ratio-too-large", S::ParseSpeedRatio, "speed-ratio", {"-1e309"}},
    {{{{"teeth", ""}}}, "teeth-empty", S::ParseWheelTeeth, "teeth", {"蜗轮齿数 z2 未填写"}},
    {{{{"teeth", "50.0"}}}, "teeth-not-a-whole-number", S::ParseWheelTeeth, "teeth",
     {"蜗轮齿数 z2 须为 -2147483648～2147483647 之间的整数：输入的是“50.0”"}},
    {{{{"starts", ""}}}, "starts-empty", S::ParseWormStarts, "starts", {"蜗杆头数 z1 未填写"}},
    {{{{"starts", "2 "}}}, "starts-not-a-whole-number", S::ParseWormStarts, "starts", {"“2 ”"}},
    {{{{"base-diameter", ""}}}, "base-diameter-empty", S::ParseMainBaseDiameter, "base-diameter",
     {"主基圆直径 Db 未填写"}},
    {{{{"base-diameter", "130,5"}}}, "base-diameter-not-a-number", S::ParseMainBaseDiameter, "base-diameter",
     {"主基圆直径 Db 不是合法数字：输入的是“130,5”"}},
    {{{{"base-diameter", "1e999"}}}, "base-diameter-too-large", S::ParseMainBaseDiameter, "base-diameter", {"1e999"}},
    {{{{"eccentricity", ""}}}, "eccentricity-empty", S::ParseTipArcEccentricity, "eccentricity", {"E值 E 未填写"}},
    {{{{"eccentricity", "0..1"}}}, "eccentricity-not-a-number", S::ParseTipArcEccentricity, "eccentricity",
     {"“0..1”"}},
    {{{{"eccentricity", "2e308"}}}, "eccentricity-too-large", S::ParseTipArcEccentricity, "eccentricity", {"2e308"}},
    {{{{"pitch-diameter", ""}}}, "pitch-diameter-empty", S::ParseWormPitchDiameter, "pitch-diameter",
     {"蜗杆分度圆直径 d1 未填写"}},
    {{{{"pitch-diameter", "78mm"}}}, "pitch-diameter-not-a-number", S::ParseWormPitchDiameter, "pitch-diameter",
     {"“78mm”"}},
    {{{{"pitch-diameter", "-1e400"}}}, "pitch-diameter-too-large", S::ParseWormPitchDiameter, "pitch-diameter",
     {"-1e400"}},
    {{{{"backlash", ""}}}, "backlash-empty", S::ParseBacklash, "backlash", {"侧隙 jn 未填写"}},
    {{{{"backlash", "0,3"}}}, "backlash-not-a-number", S::ParseBacklash, "backlash", {"“0,3”"}},
    {{{{"backlash", "1e400"}}}, "backlash-too-large", S::ParseBacklash, "backlash", {"1e400"}},
    {{{{"grinding-increment", ""}}}, "grinding-increment-empty", S::ParseGrindingIncrement, "grinding-increment",
     {"磨齿增量 Δ 未填写"}},
    {{{{"grinding-increment", "0.2.1"}}}, "grinding-increment-not-a-number", S::ParseGrindingIncrement,
     "grinding-increment", {"“0.2.1”"}},
    {{{{"grinding-increment", "-1e400"}}}, "grinding-increment-too-large", S::ParseGrindingIncrement,
     "grinding-increment", {"-1e400"}},

    // The speed-ratio check, with both numbers.
    {{{{"starts", "0"}}}, "starts-zero", S::RatioQuotient, "starts", {"蜗杆头数 z1 = 0：速比 z2/z1 无法计算"}},
    {{{{"speed-ratio", "24"}}}, "ratio-mismatch", S::RatioCheck, "speed-ratio teeth starts",
     {"速比 i = 24 与齿数/头数 z2/z1 = 50/2 = 25 相差 1，超过 0.001"}},

    // Every operation of the chains that can fail, in the order of the run.
    {{{{"centre-distance", "1e16"}}}, "wheel-pitch-diameter-out-of-range", S::WheelPitchDiameter,
     "centre-distance pitch-diameter", {"蜗轮分度圆直径 d2 = 2A − d1", "A = 1E16，d1 = 78"}},
    {{{{"teeth", "0"}, {"speed-ratio", "0"}}}, "teeth-zero", S::TransverseModule, "speed-ratio teeth",
     {"蜗轮齿数 z2 = 0：端面模数 mt = d2/z2 无法计算"}},
    {{{}, {{1, 1e300}}}, "dedendum-out-of-range", S::Dedendum, "", {"齿根高 hf = c[1]·mt", "c[1] = 1E300，mt = 6.44"}},
    {{{{"centre-distance", "5e16"}, {"pitch-diameter", "1e17"}}}, "throat-root-diameter-out-of-range",
     S::ThroatRootDiameter, "pitch-diameter", {"喉部齿根圆直径 df1 = d1 − 2hf", "d1 = 1E17，hf = 0"}},
    {{{{"centre-distance", "1.35e16"}, {"pitch-diameter", "1.8e16"}, {"teeth", "1000000"}, {"starts", "1"},
       {"speed-ratio", "1000000"}}, {{1, 1e6}}},
     "root-arc-radius-out-of-range", S::WormRootArcRadius, "centre-distance pitch-diameter",
     {"蜗杆齿根圆弧半径 Rf1 = A − df1/2", "A = 1.35E16，df1 = 0"}},
    {{{}, {{2, 1e300}}}, "addendum-out-of-range", S::Addendum, "", {"c[2] = 1E300，mt = 6.44"}},
    {{{{"eccentricity", "1e17"}}}, "tip-arc-radius-out-of-range", S::WormTipArcRadius,
     "centre-distance eccentricity pitch-diameter", {"A = 200，da1 = 87.016，E = 1E17"}},
    {{{}, {{3, -1e300}}}, "half-wrap-angle-out-of-range", S::WorkingHalfWrapAngle, "teeth",
     {"τ = 7.2，K = 5.5，c[3] = -1E300"}},
    {{{}, {{6, 1e300}}}, "shaft-shoulder-out-of-range", S::ShaftShoulder, "", {"c[6] = 1E300，mt = 6.44"}},
    {{{{"teeth", "1"}, {"starts", "2000"}, {"speed-ratio", "0"}}}, "lead-angle-ratio-zero", S::ThroatLeadAngleRatio,
     "speed-ratio teeth starts", {"速比 i = 0：喉部导程角", "z2/z1 = 1/2000"}},
    {{{{"pitch-diameter", "0"}}}, "lead-angle-pitch-diameter-zero", S::ThroatLeadAngleDivisor, "pitch-diameter",
     {"蜗杆分度圆直径 d1 = 0：喉部导程角 γ = atan(d2/i/d1) 无法计算"}},
    {{{{"centre-distance", "39"}}}, "wheel-pitch-diameter-zero", S::PressureAngleQuotient,
     "centre-distance pitch-diameter", {"d2 = 2A − d1 = 0（A = 39，d1 = 78）"}},
    {{{{"base-diameter", "400"}}}, "pressure-angle-undefined", S::PressureAngleArcSine,
     "centre-distance base-diameter pitch-diameter",
     {"主基圆直径 Db = 400 超出蜗轮分度圆直径 d2 = 322（d2 = 2A − d1）：压力角 α = asin(Db/d2) 无定义（须 |Db| ≤ d2）"}},
    {{{{"centre-distance", "1e16"}, {"pitch-diameter", "1.5e16"}, {"teeth", "1"}, {"starts", "1"},
       {"speed-ratio", "1"}}},
     "circular-pitch-out-of-range", S::CircularPitch, "centre-distance teeth pitch-diameter", {"周节 p = π·mt", "mt = 5E15"}},
    {{{{"centre-distance", "0"}, {"pitch-diameter", "-78"}, {"base-diameter", "30"}}},
     "generating-plane-centre-distance-zero", S::GeneratingPlaneCentreDistance, "centre-distance",
     {"中心距 A = 0：母平面倾斜角 β 的公式中 d2/A 无法计算"}},
    // cos(alpha + k) = cos alpha * d2/(2A) exactly: found near A = d2 cos(alpha) / (2 cos(alpha + 6)).
    {{{{"centre-distance", "177.10647026488147"}, {"pitch-diameter", "32.212940529762932"},
       {"base-diameter", "203.816"}}},
     "generating-plane-undefined", S::GeneratingPlaneQuotient, "centre-distance speed-ratio base-diameter pitch-diameter",
     {"母平面倾斜角 β 无定义：公式的分母 (cos(α+k) − cos α·d2/(2A))·i 为 0", "k = 6°，d2 = 322"}},
    {{{{"backlash", "1e17"}}}, "axial-thickness-out-of-range", S::WormAxialThickness, "backlash",
     {"蜗杆轴向齿厚 sx1 = p − c[5]·p − jn", "p = 20.232，c[5] = 0.55，侧隙 jn = 1E17"}},
    {{{{"backlash", "-400"}}}, "worm-measuring-height-undefined", S::WormMeasuredHeightArcSine,
     "centre-distance pitch-diameter backlash", {"蜗杆轴向齿厚 sx1 = 409.104 超出蜗轮分度圆直径 d2 = 322"}},
    {{{{"centre-distance", "1e16"}, {"pitch-diameter", "1.5e16"}, {"teeth", "10"}, {"starts", "1"},
       {"speed-ratio", "10"}, {"eccentricity", "-1e16"}, {"backlash", "-1.79e15"}}, {{1, 6}, {2, -18}}},
     "worm-measuring-height-out-of-range", S::WormMeasuredHeight, "centre-distance pitch-diameter",
     {"蜗杆测量齿高 h1", "ha = -9E15，d2 = 5E15"}},
    {{{}, {{8, 1e300}}}, "hob-tip-arc-radius-out-of-range", S::HobBodyTipArcRadius, "",
     {"Ra1 = 156.492，mt = 6.44，c[8] = 1E300"}},
    {{{{"teeth", "1000000"}, {"starts", "1"}, {"speed-ratio", "1000000"}}, {{7, 1e300}}},
     "hob-enveloping-teeth-out-of-range", S::HobEnvelopingTeeth, "", {"包围齿数 K = 1E300 超出可取整的范围"}},
    {{{}, {{10, 1e300}}}, "hob-half-wrap-angle-out-of-range", S::HobHalfWrapAngle, "teeth",
     {"τ = 7.2，K0 = 6，c[10] = 1E300"}},
    {{{{"pitch-diameter", "1e-30"}}}, "hob-axial-thickness-out-of-range", S::HobAxialThickness,
     "speed-ratio pitch-diameter backlash", {"滚刀轴向齿厚 sx0 = (sn1 + jn)/cos γ", "sn1 + jn = 0.3，γ = 90°"}},
    {{{{"eccentricity", "1e15"}}, {{8, 1.475e15}}}, "hob-measuring-height-out-of-range", S::HobMeasuredHeight, "",
     {"滚刀测量齿高 h0 = 0.2mt + h1 + c[8]·mt", "c[8] = 1.475E15"}},
    {{{}, {{13, 1e300}}}, "wheel-outer-diameter-out-of-range", S::WheelMaxOuterDiameter, "",
     {"c[13] = 1E300，mt = 6.44"}},
    {{{{"centre-distance", "9e15"}, {"pitch-diameter", "9e15"}, {"teeth", "28"}, {"starts", "1"},
       {"speed-ratio", "28"}}, {{5, 9.606}}},
     "wheel-arc-thickness-out-of-range", S::WheelArcThickness, "", {"蜗轮弧齿厚 s2 = p·c[5]", "c[5] = 9.606"}},
    {{{{"backlash", "-383.768"}}, {{5, 20}}}, "wheel-measuring-height-undefined", S::WheelMeasuredHeightArcSine,
     "centre-distance pitch-diameter", {"蜗轮弧齿厚 s2 = 404.64 超出蜗轮分度圆直径 d2 = 322"}},
    {{{{"centre-distance", "4e15"}, {"pitch-diameter", "4e15"}, {"teeth", "40"}, {"starts", "1"},
       {"speed-ratio", "40"}, {"eccentricity", "7e15"}}, {{2, 91}, {5, 6.366}}},
     "wheel-measuring-height-out-of-range", S::WheelMeasuredHeight, "centre-distance pitch-diameter",
     {"蜗轮测量齿高 超出可计算的范围", "ha = 9.1E15，d2 = 4E15"}},
    {{{}, {{14, 1e300}}}, "rim-width-out-of-range", S::RimWorkingWidth, "pitch-diameter", {"c[14] = 1E300，d1 = 78"}},
    {{{{"eccentricity", "5e15"}}, {{2, 7.8e14}}}, "wheel-throat-diameter-out-of-range", S::WheelThroatDiameter,
     "centre-distance pitch-diameter", {"蜗轮喉径 2ha + d2", "d2 = 322"}},
    {{{{"eccentricity", "-150"}}}, "worm-tip-diameter-undefined", S::WormMaxTipDiameterRoot,
     "centre-distance teeth eccentricity pitch-diameter",
     {"蜗杆工作长度的一半 L/2 = 50.5 超过蜗杆齿顶圆弧半径 Ra1 = 6.492"}},
    {{{{"eccentricity", "-9e15"}}}, "worm-tip-diameter-out-of-range", S::WormMaxTipDiameter,
     "centre-distance eccentricity", {"A = 200，E = -9E15"}},
    {{{}, {{1, -1}, {7, 16}}}, "wheel-tip-arc-undefined", S::WheelTipArcRoot, "centre-distance teeth pitch-diameter",
     {"L/2 = 155 超过蜗杆齿根圆弧半径 Rf1 = 154.56"}},
    {{{}, {{12, 1e300}}}, "wheel-tip-arc-radius-out-of-range", S::WheelTipArcRadius, "", {"c[12] = 1E300"}},
    // sx1 = d2 makes h1 = ha - d2/2 = -(A - da1/2): Ra1 - E + h1 = 0.
    {{{{"backlash", "-312.8956"}}}, "worm-tip-width-undefined", S::WormTipWidthQuotient, "eccentricity backlash",
     {"蜗杆齿顶宽无法计算：Ra1 − E + h1 = 0（Ra1 = 156.492，E = 0，h1 = -156.492）"}},
    // theta + alpha on 90 degrees to a few units of the 64th bit: tan beyond 10^16.
    {{{{"base-diameter", "321.87414300990082"}, {"backlash", "0.10200000000000008"},
       {"eccentricity", "-1.4266717303544285e-05"}}},
     "worm-tip-width-out-of-range", S::WormTipWidth, "base-diameter", {"蜗杆齿顶宽 sx1 − 2h1·tan(θ + α)", "θ + α = 90°"}},
    {{{{"backlash", "-312.8956"}, {"eccentricity", "-0.0010000000000047748"}}}, "hob-tip-width-undefined",
     S::HobTipWidthQuotient, "eccentricity", {"滚刀齿顶宽无法计算：Ra0 − E + h0 = 0"}},
    {{{{"base-diameter", "321.87114013489895"}, {"backlash", "0.31100000000000022"},
       {"eccentricity", "-0.00016005859706178308"}}},
     "hob-tip-width-out-of-range", S::HobTipWidth, "base-diameter", {"滚刀齿顶宽 sx0 − 2h0·tan(θ0 + α)"}},
    {{{{"grinding-increment", "1e17"}}}, "modification-ratio-out-of-range", S::ModificationRatio,
     "teeth starts grinding-increment", {"修形传动比 im = (z2 + Δ)/z1", "z2 = 50，Δ = 1E17，z1 = 2"}},
    {{{{"grinding-increment", "-50"}}}, "modification-teeth-zero", S::ModificationPressureAngle,
     "teeth grinding-increment", {"z2 + Δ = 0（z2 = 50，磨齿增量 Δ = -50）"}},
    {{{{"pitch-diameter", "150"}, {"grinding-increment", "-80"}}}, "grinding-wheel-centre-distance-zero",
     S::GrindingWheelAngleCentreDistance, "centre-distance grinding-increment",
     {"修形中心距 Am = Δ·mt/2 + A = 0（Δ = -80，mt = 5，A = 200）"}},
    {{{{"grinding-increment", "-49.9999"}}}, "grinding-wheel-angle-undefined", S::GrindingWheelAngleQuotient,
     "grinding-increment", {"修形砂轮角 βm 无定义", "im = 0"}},

    // Inputs no pair can have.
    {{{{"centre-distance", "-200"}}}, "centre-distance-not-positive", S::None, "centre-distance",
     {"中心距 A = -200 须大于 0"}},
    {{{{"speed-ratio", "-25"}, {"starts", "-2"}}}, "speed-ratio-not-positive", S::None, "speed-ratio",
     {"速比 i = -25 须大于 0"}},
    {{{{"teeth", "-50"}, {"starts", "-2"}}}, "teeth-not-positive", S::None, "teeth", {"蜗轮齿数 z2 = -50 须大于 0"}},
    {{{{"speed-ratio", "-25"}, {"starts", "-2"}}}, "starts-negative", S::None, "starts", {"蜗杆头数 z1 = -2 须为正整数"}},
    {{{{"base-diameter", "0"}}}, "base-diameter-not-positive", S::None, "base-diameter", {"主基圆直径 Db = 0 须大于 0"}},
    {{{{"pitch-diameter", "-10"}}}, "pitch-diameter-not-positive", S::None, "pitch-diameter",
     {"蜗杆分度圆直径 d1 = -10 须大于 0"}},

    // A calculated pair that cannot be made.
    {{{{"base-diameter", "250"}}}, "worm-tip-width-not-positive", S::None, "base-diameter backlash",
     {"蜗杆齿顶宽 sa1 = -2.79 ≤ 0：齿顶已变尖，无法加工（压力角 α = 50.932°）"}},
    {{{{"base-diameter", "250"}}}, "hob-tip-width-not-positive", S::None, "base-diameter",
     {"滚刀齿顶宽 sa0 = -9.23 ≤ 0"}},
    {{{{"backlash", "10"}}}, "worm-measuring-thickness-not-positive", S::None, "backlash",
     {"蜗杆测量齿厚 sn1 = -0.884 ≤ 0", "侧隙 jn = 10"}},
    {{{}, {{2, 0}}}, "worm-measuring-height-not-positive", S::None, "", {"蜗杆测量齿高 h1 = -0.06 ≤ 0", "ha = 0"}},
    {{{}, {{5, 1.5}}}, "hob-measuring-thickness-not-positive", S::None, "backlash", {"滚刀测量齿厚 sn1 + jn = -9.977 ≤ 0"}},
    {{{}, {{8, -5}}}, "hob-measuring-height-not-positive", S::None, "", {"滚刀测量齿高 h0 = -26.464 ≤ 0"}},
    {{{}, {{5, -0.1}}}, "wheel-measuring-thickness-not-positive", S::None, "", {"蜗轮测量齿厚 = -1.996 ≤ 0"}},
    {{{}, {{2, -1}}}, "wheel-measuring-height-not-positive", S::None, "", {"蜗轮测量齿高 = -6.344 ≤ 0"}},
    {{{{"base-diameter", "322"}}}, "generating-plane-angle-not-positive", S::None,
     "centre-distance speed-ratio base-diameter pitch-diameter", {"母平面倾斜角 β = 0° ≤ 0", "α = 90°，k = 6°"}},
    {{{{"base-diameter", "322"}}}, "grinding-wheel-angle-not-positive", S::None, "grinding-increment",
     {"修形砂轮角 βm = 0° ≤ 0"}},

    // Outside the usual ranges of the hints.
    {{{{"base-diameter", "125.99"}}}, "base-diameter-share-outside-hint", S::None, "centre-distance base-diameter",
     {"主基圆直径系数 Db/A = 0.62995，不在提示的 0.63～0.67 之间"}},
    {{{{"base-diameter", "134.01"}}}, "base-diameter-share-outside-hint", S::None, "centre-distance base-diameter",
     {"Db/A = 0.67005"}},
    // 200^0.875 = 103.1338..., rounded to 103.134: d1 61.8803 lies below 0.6 of it.
    {{{{"pitch-diameter", "61.8803"}}}, "pitch-diameter-factor-outside-hint", S::None, "centre-distance pitch-diameter",
     {"蜗杆分度圆直径系数 d1/A^c[0] = 0.599999030387651（c[0] = 0.875），不在提示的 0.6～0.78 之间"}},
    {{{{"pitch-diameter", "80.4446"}}}, "pitch-diameter-factor-outside-hint", S::None, "centre-distance pitch-diameter",
     {"d1/A^c[0] = 0.780000775689879"}},
    {{{{"eccentricity", "0.001"}}}, "eccentricity-above-ratio-ten", S::None, "speed-ratio eccentricity",
     {"速比 i = 25 > 10 时 E 值取 0，现为 0.001"}},
    {{{{"centre-distance", "100"}, {"speed-ratio", "8"}, {"teeth", "8"}, {"starts", "1"}, {"base-diameter", "65"},
       {"pitch-diameter", "42.738"}, {"eccentricity", "9.99"}}},
     "eccentricity-outside-hint", S::None, "centre-distance speed-ratio eccentricity",
     {"速比 i = 8 < 10 时 E 值取 0.1A～0.3A（10～30），现为 9.99"}},
    {{{{"centre-distance", "100"}, {"speed-ratio", "8"}, {"teeth", "8"}, {"starts", "1"}, {"base-diameter", "65"},
       {"pitch-diameter", "42.738"}, {"eccentricity", "30.01"}}},
     "eccentricity-outside-hint", S::None, "centre-distance speed-ratio eccentricity", {"现为 30.01"}},
    {{{{"centre-distance", "100"}, {"base-diameter", "65"}, {"pitch-diameter", "42.738"}, {"backlash", "0.149"}}},
     "backlash-outside-hint", S::None, "centre-distance backlash",
     {"侧隙 jn = 0.149 不在中心距 A = 100 的提示范围 0.15～0.5 之间（A≥80～200）"}},
    {{{{"centre-distance", "100"}, {"base-diameter", "65"}, {"pitch-diameter", "42.738"}, {"backlash", "0.501"}}},
     "backlash-outside-hint", S::None, "centre-distance backlash", {"jn = 0.501"}},
    // 200 ends one band and starts the next: either band's backlash is usual.
    {{{{"backlash", "0.81"}}}, "backlash-outside-hint", S::None, "centre-distance backlash",
     {"0.15～0.8 之间（A≥80～200、A≥200～315）"}},
    {{{{"centre-distance", "900"}, {"base-diameter", "585"}, {"pitch-diameter", "280"}, {"backlash", "1.26"}}},
     "backlash-outside-hint", S::None, "centre-distance backlash", {"1～1.25 之间（A≥800～1000）"}},
    {{{{"centre-distance", "610"}, {"base-diameter", "396.5"}, {"pitch-diameter", "200"}, {"backlash", "2.01"}}},
     "backlash-outside-hint", S::None, "centre-distance backlash", {"0.6～2 之间（A≥315～630、A≥600～800）"}},
    {{{{"centre-distance", "79.99"}, {"base-diameter", "52"}, {"pitch-diameter", "32"}}}, "backlash-without-hint",
     S::None, "centre-distance backlash", {"侧隙提示只给出中心距 80～1000 的范围，A = 79.99 不在其中"}},
    {{{{"centre-distance", "1000.5"}, {"base-diameter", "650"}, {"pitch-diameter", "300"}, {"backlash", "1"}}},
     "backlash-without-hint", S::None, "centre-distance backlash", {"A = 1000.5 不在其中"}},
};
// clang-format on

// Every field of the records the same, bit for bit.
bool SameRecord(const TWormDesign& a, const TWormDesign& b) {
    using T = TWormDesign;
    for (Real T::*field : {&T::CentreDistance,
                           &T::SpeedRatio,
                           &T::MainBaseDiameter,
                           &T::TipArcEccentricity,
                           &T::WormPitchDiameter,
                           &T::Backlash,
                           &T::WheelPitchDiameter,
                           &T::TransverseModule,
                           &T::Dedendum,
                           &T::ThroatRootDiameter,
                           &T::WormRootArcRadius,
                           &T::Addendum,
                           &T::ThroatTipDiameter,
                           &T::WormTipArcRadius,
                           &T::AngularPitch,
                           &T::EnvelopedTeeth,
                           &T::WorkingHalfWrapAngle,
                           &T::WormWorkingLength,
                           &T::ThroatLeadAngle,
                           &T::PressureAngle,
                           &T::CircularPitch,
                           &T::GeneratingPlaneAngle,
                           &T::WormAxialThickness,
                           &T::WormMeasuredThickness,
                           &T::WormMeasuredHeight,
                           &T::WormMaxTipDiameter,
                           &T::WormTipWidth,
                           &T::HobBodyTipArcRadius,
                           &T::HobBodyRootArcRadius,
                           &T::HobEnvelopingTeeth,
                           &T::HobHalfWrapAngle,
                           &T::HobEffectiveLength,
                           &T::HobMeasuredThickness,
                           &T::HobAxialThickness,
                           &T::HobMeasuredHeight,
                           &T::HobTipWidth,
                           &T::WheelMaxOuterDiameter,
                           &T::WheelArcThickness,
                           &T::WheelMeasuredThickness,
                           &T::WheelMeasuredHeight,
                           &T::WheelThroatDiameter,
                           &T::WheelTipArcRadius,
                           &T::GrindingIncrement,
                           &T::ModificationRatio,
                           &T::ModificationCentreDistance,
                           &T::ModificationPitchDiameter,
                           &T::ModificationBaseDiameter,
                           &T::ModificationPressureAngle,
                           &T::GrindingWheelAngle}) {
        if (std::bit_cast<std::uint64_t>(a.*field) != std::bit_cast<std::uint64_t>(b.*field)) return false;
    }
    for (std::int32_t T::*field :
         {&T::WheelTeeth, &T::WormStarts, &T::RatioClassAngle, &T::ShaftShoulder, &T::RimWorkingWidth}) {
        if (a.*field != b.*field) return false;
    }
    return a.GeneratingPlaneAngleText == b.GeneratingPlaneAngleText;
}

class ChecksTest : public ::testing::Test {
 protected:
    void SetUp() override { ASSERT_EQ(std::numeric_limits<long double>::digits, 64); }
};

const Finding* Find(const std::vector<Finding>& findings, std::string_view id) {
    for (const Finding& finding : findings) {
        if (finding.id() == id) return &finding;
    }
    return nullptr;
}

std::string Codes(const std::vector<Finding>& findings) {
    std::string codes;
    for (const Finding& finding : findings) codes += std::string(" ") + finding.id();
    return codes;
}

TEST_F(ChecksTest, EveryCheckFromItsDesign) {
    for (const CheckCase& c : kCases) {
        const DesignInputs inputs = Inputs(c.texts);
        const TCoefficientTable table = Coefficients(c.texts);
        const CalculationOutcome outcome = Calculate(inputs, false, table, '.');
        EXPECT_EQ(outcome.failedAt, c.stoppedAt) << c.code;
        EXPECT_EQ(outcome.succeeded(), c.stoppedAt == S::None) << c.code;
        const std::vector<Finding> findings = CheckDesign(inputs, table, outcome, '.');
        const Finding* finding = Find(findings, c.code);
        ASSERT_NE(finding, nullptr) << c.code << " missing; found" << Codes(findings);
        EXPECT_EQ(Options(Describe(finding->code).fields), c.fields) << c.code;
        const std::string message = FindingMessage(*finding, {}, '.');
        std::size_t at = 0;
        for (const char* part : c.message) {
            const std::size_t found = message.find(part, at);
            EXPECT_NE(found, std::string::npos) << c.code << ": \"" << part << "\" not in \"" << message << '"';
            if (found != std::string::npos) at = found + std::string_view(part).size();
        }
        // A failed run is explained by an error, listed first.
        if (!outcome.succeeded()) {
            ASSERT_FALSE(findings.empty()) << c.code;
            EXPECT_EQ(findings.front().severity(), Severity::Error) << c.code;
        }
    }
}

TEST_F(ChecksTest, EveryCodeAndEveryFailingStepHasADesign) {
    std::set<std::string> codes;
    std::set<S> steps;
    for (const CheckCase& c : kCases) {
        codes.insert(c.code);
        steps.insert(c.stoppedAt);
    }
    for (const CheckDescription& description : CheckDescriptions()) {
        EXPECT_TRUE(codes.count(description.id)) << description.id << " has no design in the table";
    }
    for (int step = 0; step <= static_cast<int>(S::GrindingWheelAngleQuotient); ++step) {
        EXPECT_TRUE(steps.count(static_cast<S>(step))) << "step " << step << " is reached by no design";
    }
}

TEST_F(ChecksTest, TheTableIsComplete) {
    std::set<std::string> ids;
    for (int n = 0; n < kCheckCodeCount; ++n) {
        const CheckDescription& description = CheckDescriptions()[static_cast<std::size_t>(n)];
        EXPECT_EQ(static_cast<int>(description.code), n) << description.id;
        EXPECT_TRUE(ids.insert(description.id).second) << description.id << " twice";
        EXPECT_EQ(std::string(description.id).find_first_not_of("abcdefghijklmnopqrstuvwxyz-"), std::string::npos)
            << description.id;
        EXPECT_EQ(CheckById(description.id), &description);
        // Both languages, every name the texts use known: filling them in
        // with made-up values neither throws nor leaves a brace.
        Finding finding;
        finding.code = description.code;
        finding.texts = {"typed", "proposal"};
        for (const Translate& translate : {Translate(), English()}) {
            const std::string message = FindingMessage(finding, translate, '.');
            EXPECT_FALSE(message.empty()) << description.id;
            EXPECT_EQ(message.find_first_of("{}"), std::string::npos) << message;
            EXPECT_EQ(FindingSuggestion(finding, translate, '.').empty(), *description.suggestion == '\0')
                << description.id;
        }
        EXPECT_NE(English()(kChecksContext, description.message), description.message) << description.id;
    }
    EXPECT_EQ(CheckById("no-such-check"), nullptr);
}

TEST_F(ChecksTest, UsualRangesHoldTheirEdges) {
    struct Edge {
        Texts texts;
        const char* code;
    };
    // clang-format off
    const Edge inside[] = {
        {{{{"base-diameter", "126"}}}, "base-diameter-share-outside-hint"},
        {{{{"base-diameter", "134"}}}, "base-diameter-share-outside-hint"},
        {{{{"centre-distance", "200.5"}, {"base-diameter", "126.315"}, {"pitch-diameter", "79"}}},
         "base-diameter-share-outside-hint"},   // 0.63 A with fractions
        {{{{"centre-distance", "200.5"}, {"base-diameter", "134.335"}, {"pitch-diameter", "79"}}},
         "base-diameter-share-outside-hint"},   // 0.67 A
        {{{{"pitch-diameter", "61.8804"}}}, "pitch-diameter-factor-outside-hint"},  // 0.6 * 103.134
        {{{{"pitch-diameter", "80.44452"}}}, "pitch-diameter-factor-outside-hint"},  // 0.78 * 103.134
        {{{{"eccentricity", "0"}}}, "eccentricity-above-ratio-ten"},
        {{{{"speed-ratio", "10"}, {"teeth", "50"}, {"starts", "5"}, {"eccentricity", "5"}}},
         "eccentricity-above-ratio-ten"},  // i = 10 is not above 10 ...
        {{{{"speed-ratio", "10"}, {"teeth", "50"}, {"starts", "5"}, {"eccentricity", "5"}}},
         "eccentricity-outside-hint"},     // ... nor below
        {{{{"centre-distance", "100"}, {"speed-ratio", "8"}, {"teeth", "8"}, {"starts", "1"}, {"base-diameter", "65"},
           {"pitch-diameter", "42.738"}, {"eccentricity", "10"}}}, "eccentricity-outside-hint"},
        {{{{"centre-distance", "100"}, {"speed-ratio", "8"}, {"teeth", "8"}, {"starts", "1"}, {"base-diameter", "65"},
           {"pitch-diameter", "42.738"}, {"eccentricity", "30"}}}, "eccentricity-outside-hint"},
        {{{{"centre-distance", "100"}, {"base-diameter", "65"}, {"pitch-diameter", "42.738"}, {"backlash", "0.15"}}},
         "backlash-outside-hint"},
        {{{{"centre-distance", "100"}, {"base-diameter", "65"}, {"pitch-diameter", "42.738"}, {"backlash", "0.5"}}},
         "backlash-outside-hint"},
        {{{{"backlash", "0.15"}}}, "backlash-outside-hint"},  // A 200: both bands
        {{{{"backlash", "0.8"}}}, "backlash-outside-hint"},
        {{{{"centre-distance", "610"}, {"base-diameter", "396.5"}, {"pitch-diameter", "200"}, {"backlash", "2"}}},
         "backlash-outside-hint"},
        {{{{"centre-distance", "610"}, {"base-diameter", "396.5"}, {"pitch-diameter", "200"}, {"backlash", "0.6"}}},
         "backlash-outside-hint"},
        {{{{"centre-distance", "900"}, {"base-diameter", "585"}, {"pitch-diameter", "280"}, {"backlash", "1.25"}}},
         "backlash-outside-hint"},
        {{{{"centre-distance", "80"}, {"base-diameter", "52"}, {"pitch-diameter", "32"}, {"backlash", "0.15"}}},
         "backlash-without-hint"},
        {{{{"centre-distance", "1000"}, {"base-diameter", "650"}, {"pitch-diameter", "300"}, {"backlash", "1"}}},
         "backlash-without-hint"},
        {{{{"centre-distance", "1000"}, {"base-diameter", "650"}, {"pitch-diameter", "300"}, {"backlash", "1"}}},
         "backlash-outside-hint"},
    };
    // clang-format on
    for (const Edge& edge : inside) {
        const DesignInputs inputs = Inputs(edge.texts);
        const TCoefficientTable table = Coefficients(edge.texts);
        const std::vector<Finding> findings = CheckDesign(inputs, table, Calculate(inputs, false, table, '.'), '.');
        EXPECT_EQ(Find(findings, edge.code), nullptr)
            << edge.code << " for " << edge.texts.fields.front().second << ":" << Codes(findings);
    }
    // The worked example itself is a usual design.
    const CalculationOutcome example = Calculate(WorkedExampleInputs(), false, WorkedExampleCoefficients(), '.');
    EXPECT_EQ(Codes(CheckDesign(WorkedExampleInputs(), WorkedExampleCoefficients(), example, '.')), "");
}

TEST_F(ChecksTest, SharesAndFactorsAreTheReadOutsUnderTheFields) {
    // The values the hints are checked with are the ones the window shows
    // under the two proposed fields, to the last digit.
    const char* centres[] = {"80", "125.5", "200", "333.3", "710", "1000"};
    const char* shares[] = {"0.5", "0.62999", "0.7", "0.81234567"};
    const char* factors[] = {"0.4", "0.59999", "0.8", "0.912345678"};
    const TCoefficientTable table = WorkedExampleCoefficients();
    for (const char* a : centres) {
        for (int n = 0; n < 4; ++n) {
            const Extended centre = ParseReal(a, '.');
            const std::string db = FormatReal(centre * ParseReal(shares[n], '.'), '.');
            const std::string d1 = FormatReal(R3(PowerReal(centre, 0.875L)) * ParseReal(factors[n], '.'), '.');
            const DesignInputs inputs = Inputs({{{"centre-distance", a},
                                                 {"base-diameter", db.c_str()},
                                                 {"pitch-diameter", d1.c_str()},
                                                 {"speed-ratio", "25"}}});
            const std::vector<Finding> findings = CheckDesign(inputs, table, Calculate(inputs, false, table, '.'), '.');
            const Finding* share = Find(findings, "base-diameter-share-outside-hint");
            const Finding* factor = Find(findings, "pitch-diameter-factor-outside-hint");
            ASSERT_NE(share, nullptr) << a << " " << db;
            ASSERT_NE(factor, nullptr) << a << " " << d1;
            EXPECT_EQ(FormatReal(share->numbers[0], '.'), MainBaseDiameterShare(db, a, '.')) << a << " " << db;
            EXPECT_EQ(FormatReal(factor->numbers[0], '.'), WormPitchDiameterFactor(d1, a, 0.875, '.'))
                << a << " " << d1;
        }
    }
}

TEST_F(ChecksTest, TheWorstComesFirstThenTheOrderOfTheRun) {
    // A mismatched ratio, an empty E and a far main base circle: the errors
    // in the order the run reads them, then the warning.
    const DesignInputs inputs = Inputs({{{"speed-ratio", "24"}, {"eccentricity", ""}, {"base-diameter", "100"}}});
    const TCoefficientTable table = WorkedExampleCoefficients();
    const CalculationOutcome outcome = Calculate(inputs, false, table, '.');
    const std::vector<Finding> findings = CheckDesign(inputs, table, outcome, '.');
    EXPECT_EQ(Codes(findings), " ratio-mismatch eccentricity-empty base-diameter-share-outside-hint");
    EXPECT_EQ(Worst(findings), &findings.front());
    EXPECT_EQ(Worst({}), nullptr);
    const SeverityCounts counts = CountBySeverity(findings);
    EXPECT_EQ(counts.errors, 2);
    EXPECT_EQ(counts.warnings, 1);
    EXPECT_EQ(counts.infos, 0);
}

TEST_F(ChecksTest, MessagesAndSuggestionsInBothLanguages) {
    const DesignInputs inputs = Inputs({{{"base-diameter", "400"}}});
    const TCoefficientTable table = WorkedExampleCoefficients();
    const std::vector<Finding> findings = CheckDesign(inputs, table, Calculate(inputs, false, table, '.'), '.');
    ASSERT_FALSE(findings.empty());
    const Finding& f = findings.front();
    EXPECT_STREQ(f.id(), "pressure-angle-undefined");
    EXPECT_EQ(FindingMessage(f, English(), '.'),
              "The main base circle diameter Db = 400 exceeds the wheel pitch diameter d2 = 322 (d2 = 2A − d1): the "
              "pressure angle α = asin(Db/d2) is undefined (|Db| ≤ d2 is needed)");
    EXPECT_EQ(FindingSuggestion(f, {}, '.'), "主基圆直径可取 130（按中心距的建议值）");
    const std::vector<FindingValue> values = FindingValues(f);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].name, "Db");
    EXPECT_EQ(values[0].number, 400);
    EXPECT_EQ(values[1].name, "d2");
    EXPECT_EQ(values[1].number, 322);

    // Numbers follow the separator they are asked with; what was typed stays as typed.
    const DesignInputs typed = Inputs({{{"backlash", "0.3"}, {"base-diameter", "125,99"}}});
    const std::vector<Finding> comma = CheckDesign(typed, table, Calculate(typed, false, table, ','), ',');
    const Finding* share = Find(comma, "base-diameter-share-outside-hint");
    ASSERT_NE(share, nullptr) << Codes(comma);
    EXPECT_NE(FindingMessage(*share, {}, ',').find("Db/A = 0,62995"), std::string::npos);
    const Finding* backlash = Find(comma, "backlash-not-a-number");
    ASSERT_NE(backlash, nullptr) << Codes(comma);
    EXPECT_EQ(FindingSuggestion(*backlash, {}, ','), "侧隙 jn 可取 0,3");

    // No proposal from a centre distance no pair can have.
    const DesignInputs negative = Inputs({{{"centre-distance", "-200"}, {"base-diameter", "0"}}});
    const std::vector<Finding> fromNegative = CheckDesign(negative, table, Calculate(negative, false, table, '.'), '.');
    const Finding* zeroBase = Find(fromNegative, "base-diameter-not-positive");
    ASSERT_NE(zeroBase, nullptr) << Codes(fromNegative);
    EXPECT_EQ(FindingSuggestion(*zeroBase, {}, '.'), "");

    // A suggestion that needs a proposal is left out when there is none.
    const DesignInputs noCentre = Inputs({{{"centre-distance", "x"}, {"base-diameter", ""}}});
    const std::vector<Finding> none = CheckDesign(noCentre, table, Calculate(noCentre, false, table, '.'), '.');
    const Finding* empty = Find(none, "base-diameter-empty");
    ASSERT_NE(empty, nullptr) << Codes(none);
    EXPECT_EQ(FindingSuggestion(*empty, {}, '.'), "");
}

TEST_F(ChecksTest, CheckingNeverChangesTheCalculation) {
    for (const CheckCase& c : kCases) {
        const DesignInputs inputs = Inputs(c.texts);
        const TCoefficientTable table = Coefficients(c.texts);
        const CalculationOutcome outcome = Calculate(inputs, false, table, '.');
        const CalculationOutcome copy = outcome;
        std::vector<Finding> findings;
        CheckDesign(inputs, table, outcome, '.', findings);
        ASSERT_EQ(outcome.lines.size(), copy.lines.size()) << c.code;
        for (std::size_t n = 0; n < outcome.lines.size(); ++n) EXPECT_EQ(outcome.lines[n].text, copy.lines[n].text);
        EXPECT_EQ(outcome.failure, copy.failure);
        EXPECT_TRUE(SameRecord(outcome.design, copy.design)) << c.code;
        // The form that fills a kept vector gives the same findings.
        EXPECT_EQ(Codes(findings), Codes(CheckDesign(inputs, table, outcome, '.'))) << c.code;
    }
}

}  // namespace
