// The design checks: the table of every check with its texts in Chinese
// (their English is in the catalogue, context wormgear::Checks), and the
// checker that finds them in a calculated design.
#include "calc/checks.h"

#include <algorithm>
#include <initializer_list>
#include <stdexcept>

#include "calc/hints.h"
#include "calc/suggestions.h"

namespace wormgear {

namespace {

using C = CheckCode;
using F = DesignField;
using S = CalculationStep;

constexpr FieldSet Fields(std::initializer_list<F> fields) {
    FieldSet set = 0;
    for (F field : fields) set = static_cast<FieldSet>(set | FieldBit(field));
    return set;
}

constexpr Severity kError = Severity::Error;
constexpr Severity kWarning = Severity::Warning;

// Texts shared by the fields' reading checks; {field} is the field's name and symbol.
constexpr const char* kEmpty = QT_TRANSLATE_NOOP("wormgear::Checks", "{field} 未填写：只能输入合法数字，且不能为空");
constexpr const char* kNotANumber = QT_TRANSLATE_NOOP("wormgear::Checks", "{field} 不是合法数字：输入的是“{typed}”");
constexpr const char* kNotAWholeNumber = QT_TRANSLATE_NOOP(
    "wormgear::Checks", "{field} 须为 -2147483648～2147483647 之间的整数：输入的是“{typed}”");
constexpr const char* kTooLarge = QT_TRANSLATE_NOOP(
    "wormgear::Checks", "{field} {typed} 超出可计算的范围（绝对值须小于 1.79769313486232E308）");
constexpr const char* kTryProposal = QT_TRANSLATE_NOOP("wormgear::Checks", "{field} 可取 {proposal}");
constexpr const char* kNoSuggestion = "";

#define READ_CHECKS(prefix, id, field)                                                                                \
    {C::prefix##Empty, id "-empty", kError, Fields({field}), "", "typed proposal", kEmpty, kTryProposal},             \
        {C::prefix##NotANumber, id "-not-a-number", kError,      Fields({field}), "",                                 \
         "typed proposal",      kNotANumber,        kTryProposal},                                                    \
    {                                                                                                                 \
        C::prefix##TooLarge, id "-too-large", kError, Fields({field}), "", "typed proposal", kTooLarge, kNoSuggestion \
    }

// clang-format off
const std::array<CheckDescription, kCheckCodeCount> kDescriptions = {{
    READ_CHECKS(CentreDistance, "centre-distance", F::CentreDistance),
    READ_CHECKS(SpeedRatio, "speed-ratio", F::SpeedRatio),
    {C::TeethEmpty, "teeth-empty", kError, Fields({F::WheelTeeth}), "", "typed proposal", kEmpty, kTryProposal},
    {C::TeethNotAWholeNumber, "teeth-not-a-whole-number", kError, Fields({F::WheelTeeth}), "", "typed proposal",
     kNotAWholeNumber, kTryProposal},
    {C::StartsEmpty, "starts-empty", kError, Fields({F::WormStarts}), "", "typed proposal", kEmpty, kTryProposal},
    {C::StartsNotAWholeNumber, "starts-not-a-whole-number", kError, Fields({F::WormStarts}), "", "typed proposal",
     kNotAWholeNumber, kTryProposal},
    READ_CHECKS(BaseDiameter, "base-diameter", F::MainBaseDiameter),
    READ_CHECKS(Eccentricity, "eccentricity", F::TipArcEccentricity),
    READ_CHECKS(PitchDiameter, "pitch-diameter", F::WormPitchDiameter),
    READ_CHECKS(Backlash, "backlash", F::Backlash),
    READ_CHECKS(GrindingIncrement, "grinding-increment", F::GrindingIncrement),

    {C::StartsZero, "starts-zero", kError, Fields({F::WormStarts}), "z2", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆头数 z1 = 0：速比 z2/z1 无法计算"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆头数至少取 1")},
    {C::RatioMismatch, "ratio-mismatch", kError, Fields({F::SpeedRatio, F::WheelTeeth, F::WormStarts}),
     "i z2 z1 ratio difference", "proposal",
     QT_TRANSLATE_NOOP("wormgear::Checks", "速比 i = {i} 与齿数/头数 z2/z1 = {z2}/{z1} = {ratio} 相差 {difference}，超过 0.001"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "速比取 {proposal}，或改齿数与头数")},

    {C::WheelPitchDiameterOutOfRange, "wheel-pitch-diameter-out-of-range", kError,
     Fields({F::CentreDistance, F::WormPitchDiameter}), "A d1", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗轮分度圆直径 d2 = 2A − d1 超出可计算的范围（取整后须小于 9.22E15）：A = {A}，d1 = {d1}"), kNoSuggestion},
    {C::TeethZero, "teeth-zero", kError, Fields({F::WheelTeeth, F::SpeedRatio}), "d2", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗轮齿数 z2 = 0：端面模数 mt = d2/z2 无法计算"),
     kNoSuggestion},
    {C::DedendumOutOfRange, "dedendum-out-of-range", kError, 0, "c1 mt", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "齿根高 hf = c[1]·mt 超出可计算的范围（取整后须小于 9.22E15）：c[1] = {c1}，mt = {mt}"), kNoSuggestion},
    {C::ThroatRootDiameterOutOfRange, "throat-root-diameter-out-of-range", kError, Fields({F::WormPitchDiameter}),
     "d1 hf", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "喉部齿根圆直径 df1 = d1 − 2hf 超出可计算的范围（取整后须小于 9.22E15）：d1 = {d1}，hf = {hf}"), kNoSuggestion},
    {C::RootArcRadiusOutOfRange, "root-arc-radius-out-of-range", kError,
     Fields({F::CentreDistance, F::WormPitchDiameter}), "A df1", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆齿根圆弧半径 Rf1 = A − df1/2 超出可计算的范围（取整后须小于 9.22E15）：A = {A}，df1 = {df1}"), kNoSuggestion},
    {C::AddendumOutOfRange, "addendum-out-of-range", kError, 0, "c2 mt", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "齿顶高 ha = c[2]·mt 超出可计算的范围（取整后须小于 9.22E15）：c[2] = {c2}，mt = {mt}"), kNoSuggestion},
    {C::TipArcRadiusOutOfRange, "tip-arc-radius-out-of-range", kError,
     Fields({F::CentreDistance, F::TipArcEccentricity, F::WormPitchDiameter}), "A da1 E", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆齿顶圆弧半径 Ra1 = A − da1/2 + E 超出可计算的范围（取整后须小于 9.22E15）：A = {A}，da1 = {da1}，E = {E}"),
     kNoSuggestion},
    {C::HalfWrapAngleOutOfRange, "half-wrap-angle-out-of-range", kError, Fields({F::WheelTeeth}), "tau K c3", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "工作半包角 φ = 0.5·τ·(K − c[3]) 超出可计算的范围（取整后须小于 9.22E15）：τ = {tau}，K = {K}，c[3] = {c3}"),
     kNoSuggestion},
    {C::ShaftShoulderOutOfRange, "shaft-shoulder-out-of-range", kError, 0, "c6 mt", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "轴肩 c[6]·mt 超出可取整的范围（须小于 9.22E18）：c[6] = {c6}，mt = {mt}"),
     kNoSuggestion},
    {C::LeadAngleRatioZero, "lead-angle-ratio-zero", kError, Fields({F::SpeedRatio, F::WheelTeeth, F::WormStarts}),
     "z2 z1", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "速比 i = 0：喉部导程角 γ = atan(d2/i/d1) 无法计算（z2/z1 = {z2}/{z1} 与 0 相差不超过 0.001，速比检查因此通过）"),
     kNoSuggestion},
    {C::LeadAnglePitchDiameterZero, "lead-angle-pitch-diameter-zero", kError, Fields({F::WormPitchDiameter}), "",
     "proposal",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆分度圆直径 d1 = 0：喉部导程角 γ = atan(d2/i/d1) 无法计算"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆分度圆直径可取 {proposal}（按中心距的建议值）")},
    {C::WheelPitchDiameterZero, "wheel-pitch-diameter-zero", kError,
     Fields({F::CentreDistance, F::WormPitchDiameter}), "A d1", "proposal",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗轮分度圆直径 d2 = 2A − d1 = 0（A = {A}，d1 = {d1}）：压力角 α = asin(Db/d2) 无法计算"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆分度圆直径可取 {proposal}（按中心距的建议值）")},
    {C::PressureAngleUndefined, "pressure-angle-undefined", kError,
     Fields({F::CentreDistance, F::MainBaseDiameter, F::WormPitchDiameter}), "Db d2", "proposal",
     QT_TRANSLATE_NOOP("wormgear::Checks", "主基圆直径 Db = {Db} 超出蜗轮分度圆直径 d2 = {d2}（d2 = 2A − d1）：压力角 α = asin(Db/d2) 无定义（须 |Db| ≤ d2）"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "主基圆直径可取 {proposal}（按中心距的建议值）")},
    {C::CircularPitchOutOfRange, "circular-pitch-out-of-range", kError,
     Fields({F::CentreDistance, F::WormPitchDiameter, F::WheelTeeth}), "mt", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "周节 p = π·mt 超出可计算的范围（取整后须小于 9.22E15）：mt = {mt}"),
     kNoSuggestion},
    {C::GeneratingPlaneCentreDistanceZero, "generating-plane-centre-distance-zero", kError,
     Fields({F::CentreDistance}), "", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "中心距 A = 0：母平面倾斜角 β 的公式中 d2/A 无法计算"),
     kNoSuggestion},
    {C::GeneratingPlaneUndefined, "generating-plane-undefined", kError,
     Fields({F::CentreDistance, F::SpeedRatio, F::MainBaseDiameter, F::WormPitchDiameter}), "alpha k d2 A i", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "母平面倾斜角 β 无定义：公式的分母 (cos(α+k) − cos α·d2/(2A))·i 为 0（α = {alpha}°，k = {k}°，d2 = {d2}，A = {A}，i = {i}）"),
     kNoSuggestion},
    {C::AxialThicknessOutOfRange, "axial-thickness-out-of-range", kError, Fields({F::Backlash}), "p c5 jn", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆轴向齿厚 sx1 = p − c[5]·p − jn 超出可计算的范围（取整后须小于 9.22E15）：p = {p}，c[5] = {c5}，侧隙 jn = {jn}"),
     kNoSuggestion},
    {C::WormMeasuringHeightUndefined, "worm-measuring-height-undefined", kError,
     Fields({F::Backlash, F::CentreDistance, F::WormPitchDiameter}), "sx1 d2 jn", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆轴向齿厚 sx1 = {sx1} 超出蜗轮分度圆直径 d2 = {d2}：测量齿高中的 asin(sx1/d2) 无定义（sx1 = p − c[5]·p − jn，侧隙 jn = {jn}）"),
     kNoSuggestion},
    {C::WormMeasuringHeightOutOfRange, "worm-measuring-height-out-of-range", kError,
     Fields({F::CentreDistance, F::WormPitchDiameter}), "ha d2", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆测量齿高 h1 超出可计算的范围（取整后须小于 9.22E15）：ha = {ha}，d2 = {d2}"), kNoSuggestion},
    {C::HobTipArcRadiusOutOfRange, "hob-tip-arc-radius-out-of-range", kError, 0, "Ra1 mt c8", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "刀体齿顶圆弧半径 Ra0 = Ra1 − 0.2mt − c[8]·mt 超出可计算的范围（取整后须小于 9.22E15）：Ra1 = {Ra1}，mt = {mt}，c[8] = {c8}"),
     kNoSuggestion},
    {C::HobEnvelopingTeethOutOfRange, "hob-enveloping-teeth-out-of-range", kError, 0, "K", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "包围齿数 K = {K} 超出可取整的范围（须小于 9.22E18），滚刀包络齿数 K0 = T(K) + c[11] 无法计算"),
     kNoSuggestion},
    {C::HobHalfWrapAngleOutOfRange, "hob-half-wrap-angle-out-of-range", kError, Fields({F::WheelTeeth}),
     "tau K0 c10", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "滚刀半包角 φ0 = 0.5·τ·(K0 − c[10]) 超出可计算的范围（取整后须小于 9.22E15）：τ = {tau}，K0 = {K0}，c[10] = {c10}"),
     kNoSuggestion},
    {C::HobAxialThicknessOutOfRange, "hob-axial-thickness-out-of-range", kError,
     Fields({F::Backlash, F::WormPitchDiameter, F::SpeedRatio}), "sn0 gamma", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "滚刀轴向齿厚 sx0 = (sn1 + jn)/cos γ 超出可计算的范围（取整后须小于 9.22E15）：sn1 + jn = {sn0}，γ = {gamma}°"),
     kNoSuggestion},
    {C::HobMeasuringHeightOutOfRange, "hob-measuring-height-out-of-range", kError, 0, "mt h1 c8", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "滚刀测量齿高 h0 = 0.2mt + h1 + c[8]·mt 超出可计算的范围（取整后须小于 9.22E15）：mt = {mt}，h1 = {h1}，c[8] = {c8}"),
     kNoSuggestion},
    {C::WheelOuterDiameterOutOfRange, "wheel-outer-diameter-out-of-range", kError, 0, "ha d2 c13 mt", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗轮最大外圆 de2 = 2ha + d2 + c[13]·mt 超出可取整的范围（须小于 9.22E18）：ha = {ha}，d2 = {d2}，c[13] = {c13}，mt = {mt}"),
     kNoSuggestion},
    {C::WheelArcThicknessOutOfRange, "wheel-arc-thickness-out-of-range", kError, 0, "p c5", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗轮弧齿厚 s2 = p·c[5] 超出可计算的范围（取整后须小于 9.22E15）：p = {p}，c[5] = {c5}"), kNoSuggestion},
    {C::WheelMeasuringHeightUndefined, "wheel-measuring-height-undefined", kError,
     Fields({F::CentreDistance, F::WormPitchDiameter}), "s2 d2 c5", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗轮弧齿厚 s2 = {s2} 超出蜗轮分度圆直径 d2 = {d2}：蜗轮测量齿高中的 asin(s2/d2) 无定义（s2 = c[5]·p，c[5] = {c5}）"),
     kNoSuggestion},
    {C::WheelMeasuringHeightOutOfRange, "wheel-measuring-height-out-of-range", kError,
     Fields({F::CentreDistance, F::WormPitchDiameter}), "ha d2", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗轮测量齿高 超出可计算的范围（取整后须小于 9.22E15）：ha = {ha}，d2 = {d2}"), kNoSuggestion},
    {C::RimWidthOutOfRange, "rim-width-out-of-range", kError, Fields({F::WormPitchDiameter}), "c14 d1", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "齿圈工作宽度 b2 = c[14]·d1 超出可取整的范围（须小于 9.22E18）：c[14] = {c14}，d1 = {d1}"),
     kNoSuggestion},
    {C::WheelThroatDiameterOutOfRange, "wheel-throat-diameter-out-of-range", kError,
     Fields({F::CentreDistance, F::WormPitchDiameter}), "ha d2", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗轮喉径 2ha + d2 超出可计算的范围（取整后须小于 9.22E15）：ha = {ha}，d2 = {d2}"), kNoSuggestion},
    {C::WormTipDiameterUndefined, "worm-tip-diameter-undefined", kError,
     Fields({F::CentreDistance, F::TipArcEccentricity, F::WormPitchDiameter, F::WheelTeeth}), "halfL Ra1", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆工作长度的一半 L/2 = {halfL} 超过蜗杆齿顶圆弧半径 Ra1 = {Ra1}：最大齿顶圆直径中的 √(Ra1² − (L/2)²) 无定义"),
     kNoSuggestion},
    {C::WormTipDiameterOutOfRange, "worm-tip-diameter-out-of-range", kError,
     Fields({F::CentreDistance, F::TipArcEccentricity}), "A E Ra1 halfL", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆最大齿顶圆直径 2((A + E) − √(Ra1² − (L/2)²)) 超出可计算的范围（取整后须小于 9.22E15）：A = {A}，E = {E}，Ra1 = {Ra1}，L/2 = {halfL}"),
     kNoSuggestion},
    {C::WheelTipArcUndefined, "wheel-tip-arc-undefined", kError,
     Fields({F::CentreDistance, F::WormPitchDiameter, F::WheelTeeth}), "halfL Rf1", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆工作长度的一半 L/2 = {halfL} 超过蜗杆齿根圆弧半径 Rf1 = {Rf1}：蜗轮齿顶圆弧半径中的 √(Rf1² − (L/2)²) 无定义"),
     kNoSuggestion},
    {C::WheelTipArcRadiusOutOfRange, "wheel-tip-arc-radius-out-of-range", kError, 0, "A Rf1 halfL c12", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗轮齿顶圆弧半径 (A − √(Rf1² − (L/2)²))·2c[12] 超出可取整的范围（须小于 9.22E18）：A = {A}，Rf1 = {Rf1}，L/2 = {halfL}，c[12] = {c12}"),
     kNoSuggestion},
    {C::WormTipWidthUndefined, "worm-tip-width-undefined", kError, Fields({F::TipArcEccentricity, F::Backlash}),
     "Ra1 E h1", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆齿顶宽无法计算：Ra1 − E + h1 = 0（Ra1 = {Ra1}，E = {E}，h1 = {h1}）"),
     kNoSuggestion},
    {C::WormTipWidthOutOfRange, "worm-tip-width-out-of-range", kError, Fields({F::MainBaseDiameter}),
     "sx1 h1 angle", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆齿顶宽 sx1 − 2h1·tan(θ + α) 超出可计算的范围（取整后须小于 9.22E16）：sx1 = {sx1}，h1 = {h1}，θ + α = {angle}°"),
     kNoSuggestion},
    {C::HobTipWidthUndefined, "hob-tip-width-undefined", kError, Fields({F::TipArcEccentricity}), "Ra0 E h0", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "滚刀齿顶宽无法计算：Ra0 − E + h0 = 0（Ra0 = {Ra0}，E = {E}，h0 = {h0}）"),
     kNoSuggestion},
    {C::HobTipWidthOutOfRange, "hob-tip-width-out-of-range", kError, Fields({F::MainBaseDiameter}), "sx0 h0 angle",
     "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "滚刀齿顶宽 sx0 − 2h0·tan(θ0 + α) 超出可计算的范围（取整后须小于 9.22E16）：sx0 = {sx0}，h0 = {h0}，θ0 + α = {angle}°"),
     kNoSuggestion},
    {C::ModificationRatioOutOfRange, "modification-ratio-out-of-range", kError,
     Fields({F::GrindingIncrement, F::WheelTeeth, F::WormStarts}), "z2 delta z1", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "修形传动比 im = (z2 + Δ)/z1 超出可计算的范围（取整后须小于 9.22E15）：z2 = {z2}，Δ = {delta}，z1 = {z1}"),
     kNoSuggestion},
    {C::ModificationTeethZero, "modification-teeth-zero", kError, Fields({F::GrindingIncrement, F::WheelTeeth}),
     "z2 delta", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "z2 + Δ = 0（z2 = {z2}，磨齿增量 Δ = {delta}）：修形蜗轮分度圆直径 d2m = 0，修形压力角无法计算"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "磨齿增量取默认值 0.2")},
    {C::GrindingWheelCentreDistanceZero, "grinding-wheel-centre-distance-zero", kError,
     Fields({F::GrindingIncrement, F::CentreDistance}), "delta mt A", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "修形中心距 Am = Δ·mt/2 + A = 0（Δ = {delta}，mt = {mt}，A = {A}）：修形砂轮角无法计算"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "磨齿增量取默认值 0.2")},
    {C::GrindingWheelAngleUndefined, "grinding-wheel-angle-undefined", kError, Fields({F::GrindingIncrement}),
     "alpham k d2m Am im", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "修形砂轮角 βm 无定义：公式的分母 (cos(αm+k) − cos αm·d2m/(2Am))·im 为 0（αm = {alpham}°，k = {k}°，d2m = {d2m}，Am = {Am}，im = {im}）"),
     kNoSuggestion},

    {C::CentreDistanceNotPositive, "centre-distance-not-positive", kError, Fields({F::CentreDistance}), "A", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "中心距 A = {A} 须大于 0"), kNoSuggestion},
    {C::SpeedRatioNotPositive, "speed-ratio-not-positive", kError, Fields({F::SpeedRatio}), "i", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "速比 i = {i} 须大于 0"), kNoSuggestion},
    {C::TeethNotPositive, "teeth-not-positive", kError, Fields({F::WheelTeeth}), "z2", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗轮齿数 z2 = {z2} 须大于 0"), kNoSuggestion},
    {C::StartsNegative, "starts-negative", kError, Fields({F::WormStarts}), "z1", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆头数 z1 = {z1} 须为正整数"), kNoSuggestion},
    {C::BaseDiameterNotPositive, "base-diameter-not-positive", kError, Fields({F::MainBaseDiameter}), "Db",
     "proposal", QT_TRANSLATE_NOOP("wormgear::Checks", "主基圆直径 Db = {Db} 须大于 0"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "主基圆直径可取 {proposal}（按中心距的建议值）")},
    {C::PitchDiameterNotPositive, "pitch-diameter-not-positive", kError, Fields({F::WormPitchDiameter}), "d1",
     "proposal", QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆分度圆直径 d1 = {d1} 须大于 0"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆分度圆直径可取 {proposal}（按中心距的建议值）")},

    {C::WormTipWidthNotPositive, "worm-tip-width-not-positive", kError, Fields({F::MainBaseDiameter, F::Backlash}),
     "sa1 alpha", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆齿顶宽 sa1 = {sa1} ≤ 0：齿顶已变尖，无法加工（压力角 α = {alpha}°）"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "减小主基圆直径 Db（压力角随之减小）或减小侧隙")},
    {C::HobTipWidthNotPositive, "hob-tip-width-not-positive", kError, Fields({F::MainBaseDiameter}), "sa0 alpha",
     "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "滚刀齿顶宽 sa0 = {sa0} ≤ 0：滚刀齿顶已变尖，无法加工（压力角 α = {alpha}°）"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "减小主基圆直径 Db（压力角随之减小）")},
    {C::WormMeasuringThicknessNotPositive, "worm-measuring-thickness-not-positive", kError, Fields({F::Backlash}),
     "sn1 sx1 jn", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆测量齿厚 sn1 = {sn1} ≤ 0，无法加工（轴向齿厚 sx1 = p − c[5]·p − jn = {sx1}，侧隙 jn = {jn}）"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "减小侧隙")},
    {C::WormMeasuringHeightNotPositive, "worm-measuring-height-not-positive", kError, 0, "h1 ha", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆测量齿高 h1 = {h1} ≤ 0，无法加工（齿顶高 ha = {ha}）"),
     kNoSuggestion},
    {C::HobMeasuringThicknessNotPositive, "hob-measuring-thickness-not-positive", kError, Fields({F::Backlash}),
     "sn0 sn1 jn", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "滚刀测量齿厚 sn1 + jn = {sn0} ≤ 0，无法加工（sn1 = {sn1}，侧隙 jn = {jn}）"),
     kNoSuggestion},
    {C::HobMeasuringHeightNotPositive, "hob-measuring-height-not-positive", kError, 0, "h0 h1", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "滚刀测量齿高 h0 = {h0} ≤ 0，无法加工（h1 = {h1}）"),
     kNoSuggestion},
    {C::WheelMeasuringThicknessNotPositive, "wheel-measuring-thickness-not-positive", kError, 0, "sn2 s2", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗轮测量齿厚 = {sn2} ≤ 0，无法加工（弧齿厚 s2 = c[5]·p = {s2}）"),
     kNoSuggestion},
    {C::WheelMeasuringHeightNotPositive, "wheel-measuring-height-not-positive", kError, 0, "h2 ha", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗轮测量齿高 = {h2} ≤ 0，无法加工（齿顶高 ha = {ha}）"),
     kNoSuggestion},
    {C::GeneratingPlaneAngleNotPositive, "generating-plane-angle-not-positive", kError,
     Fields({F::CentreDistance, F::SpeedRatio, F::MainBaseDiameter, F::WormPitchDiameter}),
     "beta alpha k ck cu i", "proposal",
     QT_TRANSLATE_NOOP("wormgear::Checks", "母平面倾斜角 β = {beta}° ≤ 0，母平面无法如此倾斜：tan β = cos α·cos(α+k)·d2/(2A) / ((cos(α+k) − cos α·d2/(2A))·i) 不为正（α = {alpha}°，k = {k}°，cos(α+k) = {ck}，cos α·d2/(2A) = {cu}，i = {i}）"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "主基圆直径可取 {proposal}（按中心距的建议值）")},
    {C::GrindingWheelAngleNotPositive, "grinding-wheel-angle-not-positive", kError,
     Fields({F::GrindingIncrement}), "betam im Am", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "修形砂轮角 βm = {betam}° ≤ 0，砂轮无法如此倾斜（修形传动比 im = {im}，修形中心距 Am = {Am}）"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "磨齿增量取默认值 0.2")},

    {C::BaseDiameterShareOutsideHint, "base-diameter-share-outside-hint", kWarning,
     Fields({F::MainBaseDiameter, F::CentreDistance}), "share", "proposal",
     QT_TRANSLATE_NOOP("wormgear::Checks", "主基圆直径系数 Db/A = {share}，不在提示的 0.63～0.67 之间"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "主基圆直径可取 {proposal}（按中心距的建议值；小传动比时取小值）")},
    {C::PitchDiameterFactorOutsideHint, "pitch-diameter-factor-outside-hint", kWarning,
     Fields({F::WormPitchDiameter, F::CentreDistance}), "factor c0", "proposal",
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆分度圆直径系数 d1/A^c[0] = {factor}（c[0] = {c0}），不在提示的 0.6～0.78 之间"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "蜗杆分度圆直径可取 {proposal}（按中心距的建议值）")},
    {C::EccentricityAboveRatioTen, "eccentricity-above-ratio-ten", kWarning,
     Fields({F::TipArcEccentricity, F::SpeedRatio}), "E i", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "速比 i = {i} > 10 时 E 值取 0，现为 {E}"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "E 值取 0")},
    {C::EccentricityOutsideHint, "eccentricity-outside-hint", kWarning,
     Fields({F::TipArcEccentricity, F::SpeedRatio, F::CentreDistance}), "E i low high", "",
     QT_TRANSLATE_NOOP("wormgear::Checks", "速比 i = {i} < 10 时 E 值取 0.1A～0.3A（{low}～{high}），现为 {E}"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "E 值取 {low}～{high} 之间")},
    {C::BacklashOutsideHint, "backlash-outside-hint", kWarning, Fields({F::Backlash, F::CentreDistance}),
     "jn A low high", "band",
     QT_TRANSLATE_NOOP("wormgear::Checks", "侧隙 jn = {jn} 不在中心距 A = {A} 的提示范围 {low}～{high} 之间（{band}）"),
     QT_TRANSLATE_NOOP("wormgear::Checks", "侧隙取 {low}～{high} 之间")},
    {C::BacklashWithoutHint, "backlash-without-hint", Severity::Info, Fields({F::Backlash, F::CentreDistance}), "A",
     "", QT_TRANSLATE_NOOP("wormgear::Checks", "侧隙提示只给出中心距 80～1000 的范围，A = {A} 不在其中"),
     kNoSuggestion},
}};
// clang-format on

#undef READ_CHECKS

// The hints' numbers (calc/hints.h) read once, as the calculation reads typed
// texts, so that a typed edge value lies on the edge. Where backlash bands
// overlap, a backlash in any of them is usual.
struct HintBounds {
    Extended shareLow, shareHigh, factorLow, factorHigh, eccentricityLow, eccentricityHigh;
    struct Band {
        Real fromCentreDistance, toCentreDistance, low, high;
        std::string text;  // "A≥80～200"
    };
    std::vector<Band> bands;
};
const HintBounds& Bounds() {
    static const HintBounds bounds = [] {
        auto typed = [](const char* text) { return ParseReal(text, '.'); };
        HintBounds b{typed(kBaseDiameterShareHint.low),
                     typed(kBaseDiameterShareHint.high),
                     typed(kPitchDiameterFactorHint.low),
                     typed(kPitchDiameterFactorHint.high),
                     typed(kEccentricityShareHint.low),
                     typed(kEccentricityShareHint.high),
                     {}};
        for (const BacklashHintBand& band : kBacklashHintBands) {
            b.bands.push_back({ToReal(typed(band.fromCentreDistance)), ToReal(typed(band.toCentreDistance)),
                               ToReal(typed(band.low)), ToReal(typed(band.high)),
                               std::string("A≥") + band.fromCentreDistance + "～" + band.toCentreDistance});
        }
        return b;
    }();
    return bounds;
}

// A field the way the calculation reads it: its value, or why it has none.
struct ReadField {
    bool ok = false;
    Extended value = 0;  // as stored in the record (a Real, or a whole number)
};

class Checker {
 public:
    Checker(const DesignInputs& inputs, const TCoefficientTable& table, const CalculationOutcome& outcome,
            char separator, std::vector<Finding>& findings)
        : in_(inputs), c_(table), out_(outcome), d_(outcome.design), separator_(separator), findings_(findings) {}

    // Findings in the order of the run: each field where the run reads it,
    // the ratio check after the four fields it needs, a failing operation of
    // the chains where it stopped the run; then the pair, then the hints.
    void run() {
        for (F field : {F::CentreDistance, F::SpeedRatio, F::WheelTeeth, F::WormStarts}) read(field);
        if (out_.failedAt == S::RatioQuotient) {
            add(C::StartsZero, {static_cast<Extended>(d_.WheelTeeth)});
        } else if (out_.failedAt == S::RatioCheck) {
            ratioMismatch();
        }
        for (F field : {F::MainBaseDiameter, F::TipArcEccentricity, F::WormPitchDiameter, F::Backlash}) read(field);
        if (out_.failedAt > S::ParseBacklash && out_.failedAt < S::ParseGrindingIncrement) chainFailure();
        read(F::GrindingIncrement);
        if (out_.failedAt > S::ParseGrindingIncrement) chainFailure();
        if (out_.succeeded()) pairThatCannotBeMade();
        usualRanges();
        // Worst first, the order of the run kept within a severity: a stable
        // insertion sort (few findings, and no buffer to allocate).
        for (std::size_t n = 1; n < findings_.size(); ++n) {
            for (std::size_t k = n; k > 0 && findings_[k - 1].severity() < findings_[k].severity(); --k) {
                std::swap(findings_[k - 1], findings_[k]);
            }
        }
    }

 private:
    Finding& add(CheckCode code) {
        findings_.emplace_back();
        findings_.back().code = code;
        return findings_.back();
    }
    Finding& add(CheckCode code, std::initializer_list<Extended> numbers) {
        Finding& finding = add(code);
        std::copy(numbers.begin(), numbers.end(), finding.numbers.begin());
        return finding;
    }

    // The calculation stored the field when its run got past the step that reads it.
    bool stored(CalculationStep readStep) const { return out_.failedAt == S::None || out_.failedAt > readStep; }

    // Where the run reads each field, the step, and the first of its reading
    // checks (empty; then not a number or not a whole number; then too large).
    struct FieldReading {
        F field;
        S step;
        C empty;
    };
    static const FieldReading& Reading(F field) {
        static constexpr FieldReading kReadings[] = {
            {F::CentreDistance, S::ParseCentreDistance, C::CentreDistanceEmpty},
            {F::SpeedRatio, S::ParseSpeedRatio, C::SpeedRatioEmpty},
            {F::WheelTeeth, S::ParseWheelTeeth, C::TeethEmpty},
            {F::WormStarts, S::ParseWormStarts, C::StartsEmpty},
            {F::MainBaseDiameter, S::ParseMainBaseDiameter, C::BaseDiameterEmpty},
            {F::TipArcEccentricity, S::ParseTipArcEccentricity, C::EccentricityEmpty},
            {F::WormPitchDiameter, S::ParseWormPitchDiameter, C::PitchDiameterEmpty},
            {F::Backlash, S::ParseBacklash, C::BacklashEmpty},
            {F::GrindingIncrement, S::ParseGrindingIncrement, C::GrindingIncrementEmpty},
        };
        for (const FieldReading& reading : kReadings) {
            if (reading.field == field) return reading;
        }
        throw std::logic_error("a field the calculation does not read");
    }

    // The field's value as the run stored it, or as the run would read it
    // where the run stopped before; a finding when it does not read.
    void read(F field) {
        const FieldReading& reading = Reading(field);
        ReadField& read = fields_[static_cast<int>(field)];
        const bool whole = field == F::WheelTeeth || field == F::WormStarts;
        if (stored(reading.step)) {
            read = {true, StoredValue(field)};
        } else {
            const std::string& text = FieldText(in_, field);
            const int empty = static_cast<int>(reading.empty);
            try {
                if (whole) {
                    read = {true, static_cast<Extended>(ParseInteger(text))};
                } else {
                    const Extended parsed = ParseReal(text, separator_);
                    try {
                        read = {true, ToReal(parsed)};
                    } catch (const NumericError&) {
                        add(static_cast<C>(empty + 2)).texts[0] = text;
                    }
                }
            } catch (const NumericError&) {
                Finding& finding = add(static_cast<C>(IsBlank(text) ? empty : empty + 1));
                finding.texts[0] = text;
                finding.texts[1] = ProposalFor(field, text);
            }
        }
        if (read.ok) noPairCanHave(field, read.value);
    }

    Extended StoredValue(F field) const {
        switch (field) {
            case F::CentreDistance: return d_.CentreDistance;
            case F::SpeedRatio: return d_.SpeedRatio;
            case F::WheelTeeth: return d_.WheelTeeth;
            case F::WormStarts: return d_.WormStarts;
            case F::MainBaseDiameter: return d_.MainBaseDiameter;
            case F::TipArcEccentricity: return d_.TipArcEccentricity;
            case F::WormPitchDiameter: return d_.WormPitchDiameter;
            case F::Backlash: return d_.Backlash;
            case F::GrindingIncrement: return d_.GrindingIncrement;
            default: return 0;
        }
    }

    static bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

    // What to type instead of a text that does not read: the text with the
    // other decimal separator where that reads, the window's proposal for the
    // two proposed fields, the window's default for the fields that have one.
    std::string ProposalFor(F field, const std::string& typed) const {
        const char other = separator_ == '.' ? ',' : '.';
        if (typed.find(other) != std::string::npos && typed.find(separator_) == std::string::npos) {
            std::string mended = typed;
            std::replace(mended.begin(), mended.end(), other, separator_);
            try {
                if (field == F::WheelTeeth || field == F::WormStarts) {
                    ParseInteger(mended);
                } else {
                    ToReal(ParseReal(mended, separator_));
                }
                return mended;
            } catch (const NumericError&) {
            }
        }
        if (field == F::MainBaseDiameter || field == F::WormPitchDiameter) return Proposal(field);
        const DesignInputs defaults;
        return FieldText(defaults, field);
    }

    // The window's proposal for the main base circle or the worm pitch
    // diameter from the typed centre distance; "" when it has none.
    // A sweep asks again and again for the same centre distance: the last
    // proposals are kept (per thread).
    std::string Proposal(F field) const {
        struct Last {
            bool known = false;
            std::string centreDistance;
            Real exponent = 0;
            char separator = '.';
            std::string base, pitch;
        };
        thread_local Last last;
        // No proposal from a centre distance that no pair can have (A is read first).
        if (!has(F::CentreDistance) || value(F::CentreDistance) <= 0) return "";
        const Real exponent = c_[Coefficient::PitchDiameterExponent];
        if (!last.known || last.centreDistance != in_.CentreDistance || last.exponent != exponent ||
            last.separator != separator_) {
            auto propose = [&](auto&& make) -> std::string {
                try {
                    return make();
                } catch (const NumericError&) {
                    return "";
                }
            };
            last.base = propose([&] { return ProposeMainBaseDiameter(in_.CentreDistance, separator_); });
            last.pitch = propose([&] { return ProposeWormPitchDiameter(in_.CentreDistance, exponent, separator_); });
            last.centreDistance = in_.CentreDistance;
            last.exponent = exponent;
            last.separator = separator_;
            last.known = true;
        }
        return field == F::MainBaseDiameter ? last.base : last.pitch;
    }

    bool has(F field) const { return fields_[static_cast<int>(field)].ok; }
    Extended value(F field) const { return fields_[static_cast<int>(field)].value; }

    void ratioMismatch() {
        const Extended ratio = Divide(d_.WheelTeeth, d_.WormStarts);
        Finding& finding = add(C::RatioMismatch,
                               {d_.SpeedRatio, static_cast<Extended>(d_.WheelTeeth),
                                static_cast<Extended>(d_.WormStarts), ratio, fabsl(d_.SpeedRatio - ratio)});
        finding.texts[0] = FormatReal(ratio, separator_);
    }

    // The operation that stopped the run, with the values that drive it.
    void chainFailure() {
        const TWormDesign& d = d_;
        const TCoefficientTable& c = c_;
        using K = Coefficient;
        const Extended halfLength = static_cast<Extended>(d.WormWorkingLength) / 2;
        switch (out_.failedAt) {
            case S::WheelPitchDiameter:
                add(C::WheelPitchDiameterOutOfRange, {d.CentreDistance, d.WormPitchDiameter});
                break;
            case S::TransverseModule: add(C::TeethZero, {d.WheelPitchDiameter}); break;
            case S::Dedendum: add(C::DedendumOutOfRange, {c[K::DedendumFactor], d.TransverseModule}); break;
            case S::ThroatRootDiameter: add(C::ThroatRootDiameterOutOfRange, {d.WormPitchDiameter, d.Dedendum}); break;
            case S::WormRootArcRadius: add(C::RootArcRadiusOutOfRange, {d.CentreDistance, d.ThroatRootDiameter}); break;
            case S::Addendum: add(C::AddendumOutOfRange, {c[K::AddendumFactor], d.TransverseModule}); break;
            case S::WormTipArcRadius:
                add(C::TipArcRadiusOutOfRange, {d.CentreDistance, d.ThroatTipDiameter, d.TipArcEccentricity});
                break;
            case S::WorkingHalfWrapAngle:
                add(C::HalfWrapAngleOutOfRange, {d.AngularPitch, d.EnvelopedTeeth, c[K::WrapTeethDeduction]});
                break;
            case S::ShaftShoulder:
                add(C::ShaftShoulderOutOfRange, {c[K::ShaftShoulderFactor], d.TransverseModule});
                break;
            case S::ThroatLeadAngleRatio:
                add(C::LeadAngleRatioZero, {static_cast<Extended>(d.WheelTeeth), static_cast<Extended>(d.WormStarts)});
                break;
            case S::ThroatLeadAngleDivisor:
                add(C::LeadAnglePitchDiameterZero).texts[0] = Proposal(F::WormPitchDiameter);
                break;
            case S::PressureAngleQuotient:
                add(C::WheelPitchDiameterZero, {d.CentreDistance, d.WormPitchDiameter}).texts[0] = Proposal(
                    F::WormPitchDiameter);
                break;
            case S::PressureAngleArcSine:
                add(C::PressureAngleUndefined, {d.MainBaseDiameter, d.WheelPitchDiameter}).texts[0] = Proposal(
                    F::MainBaseDiameter);
                break;
            case S::CircularPitch: add(C::CircularPitchOutOfRange, {d.TransverseModule}); break;
            case S::GeneratingPlaneCentreDistance: add(C::GeneratingPlaneCentreDistanceZero); break;
            case S::GeneratingPlaneQuotient:
                add(C::GeneratingPlaneUndefined, {d.PressureAngle, static_cast<Extended>(d.RatioClassAngle),
                                                  d.WheelPitchDiameter, d.CentreDistance, d.SpeedRatio});
                break;
            case S::WormAxialThickness:
                add(C::AxialThicknessOutOfRange, {d.CircularPitch, c[K::WheelToothShare], d.Backlash});
                break;
            case S::WormMeasuredHeightArcSine:
                add(C::WormMeasuringHeightUndefined, {d.WormAxialThickness, d.WheelPitchDiameter, d.Backlash});
                break;
            case S::WormMeasuredHeight:
                add(C::WormMeasuringHeightOutOfRange, {d.Addendum, d.WheelPitchDiameter});
                break;
            case S::HobBodyTipArcRadius:
                add(C::HobTipArcRadiusOutOfRange, {d.WormTipArcRadius, d.TransverseModule, c[K::HobTipExtension]});
                break;
            case S::HobEnvelopingTeeth: add(C::HobEnvelopingTeethOutOfRange, {d.EnvelopedTeeth}); break;
            case S::HobHalfWrapAngle:
                add(C::HobHalfWrapAngleOutOfRange, {d.AngularPitch, d.HobEnvelopingTeeth, c[K::HobWrapTeethDeduction]});
                break;
            case S::HobAxialThickness:
                add(C::HobAxialThicknessOutOfRange,
                    {static_cast<Extended>(d.WormMeasuredThickness) + d.Backlash, d.ThroatLeadAngle});
                break;
            case S::HobMeasuredHeight:
                add(C::HobMeasuringHeightOutOfRange, {d.TransverseModule, d.WormMeasuredHeight, c[K::HobTipExtension]});
                break;
            case S::WheelMaxOuterDiameter:
                add(C::WheelOuterDiameterOutOfRange,
                    {d.Addendum, d.WheelPitchDiameter, c[K::WheelOuterDiameterAddition], d.TransverseModule});
                break;
            case S::WheelArcThickness:
                add(C::WheelArcThicknessOutOfRange, {d.CircularPitch, c[K::WheelToothShare]});
                break;
            case S::WheelMeasuredHeightArcSine:
                add(C::WheelMeasuringHeightUndefined,
                    {d.WheelArcThickness, d.WheelPitchDiameter, c[K::WheelToothShare]});
                break;
            case S::WheelMeasuredHeight:
                add(C::WheelMeasuringHeightOutOfRange, {d.Addendum, d.WheelPitchDiameter});
                break;
            case S::RimWorkingWidth: add(C::RimWidthOutOfRange, {c[K::RimWidthFactor], d.WormPitchDiameter}); break;
            case S::WheelThroatDiameter:
                add(C::WheelThroatDiameterOutOfRange, {d.Addendum, d.WheelPitchDiameter});
                break;
            case S::WormMaxTipDiameterRoot: add(C::WormTipDiameterUndefined, {halfLength, d.WormTipArcRadius}); break;
            case S::WormMaxTipDiameter:
                add(C::WormTipDiameterOutOfRange,
                    {d.CentreDistance, d.TipArcEccentricity, d.WormTipArcRadius, halfLength});
                break;
            case S::WheelTipArcRoot: add(C::WheelTipArcUndefined, {halfLength, d.WormRootArcRadius}); break;
            case S::WheelTipArcRadius:
                add(C::WheelTipArcRadiusOutOfRange,
                    {d.CentreDistance, d.WormRootArcRadius, halfLength, c[K::WheelTipArcFactor]});
                break;
            case S::WormTipWidthQuotient:
                add(C::WormTipWidthUndefined, {d.WormTipArcRadius, d.TipArcEccentricity, d.WormMeasuredHeight});
                break;
            case S::WormTipWidth:
                add(C::WormTipWidthOutOfRange,
                    {d.WormAxialThickness, d.WormMeasuredHeight,
                     TipAngle(d.WormAxialThickness, d.WormTipArcRadius, d.WormMeasuredHeight)});
                break;
            case S::HobTipWidthQuotient:
                add(C::HobTipWidthUndefined, {d.HobBodyTipArcRadius, d.TipArcEccentricity, d.HobMeasuredHeight});
                break;
            case S::HobTipWidth:
                add(C::HobTipWidthOutOfRange,
                    {d.HobAxialThickness, d.HobMeasuredHeight,
                     TipAngle(d.HobAxialThickness, d.HobBodyTipArcRadius, d.HobMeasuredHeight)});
                break;
            case S::ModificationRatio:
                add(C::ModificationRatioOutOfRange,
                    {static_cast<Extended>(d.WheelTeeth), d.GrindingIncrement, static_cast<Extended>(d.WormStarts)});
                break;
            case S::ModificationPressureAngle:
                add(C::ModificationTeethZero, {static_cast<Extended>(d.WheelTeeth), d.GrindingIncrement});
                break;
            case S::GrindingWheelAngleCentreDistance:
                add(C::GrindingWheelCentreDistanceZero, {d.GrindingIncrement, d.TransverseModule, d.CentreDistance});
                break;
            case S::GrindingWheelAngleQuotient:
                add(C::GrindingWheelAngleUndefined,
                    {d.ModificationPressureAngle, static_cast<Extended>(d.RatioClassAngle), d.ModificationPitchDiameter,
                     d.ModificationCentreDistance, d.ModificationRatio});
                break;
            default: break;  // the reading steps and the ratio check have their own findings
        }
    }

    // θ + α of a tip width, in degrees, as the tip width takes them.
    Extended TipAngle(Real axialThickness, Real tipArcRadius, Real measuredHeight) const {
        const Extended halfThickness = static_cast<Extended>(axialThickness) / 2;
        const Extended theta = RadiansToDegrees(ArcTangent(
            Divide(halfThickness, static_cast<Extended>(tipArcRadius) - d_.TipArcEccentricity + measuredHeight)));
        return theta + d_.PressureAngle;
    }

    // A value no pair can have, unless the operation that stopped the run
    // already names it (d1 = 0 in the throat lead angle).
    void noPairCanHave(F field, Extended v) {
        const CalculationStep at = out_.failedAt;
        switch (field) {
            case F::CentreDistance:
                if (v <= 0 && at != S::GeneratingPlaneCentreDistance) add(C::CentreDistanceNotPositive, {v});
                break;
            case F::SpeedRatio:
                if (v <= 0 && at != S::ThroatLeadAngleRatio) add(C::SpeedRatioNotPositive, {v});
                break;
            case F::WheelTeeth:
                if (v <= 0 && at != S::TransverseModule) add(C::TeethNotPositive, {v});
                break;
            case F::WormStarts:
                if (v < 0) add(C::StartsNegative, {v});
                break;
            case F::MainBaseDiameter:
                if (v <= 0) add(C::BaseDiameterNotPositive, {v}).texts[0] = Proposal(F::MainBaseDiameter);
                break;
            case F::WormPitchDiameter:
                if (v <= 0 && at != S::ThroatLeadAngleDivisor && at != S::PressureAngleQuotient) {
                    add(C::PitchDiameterNotPositive, {v}).texts[0] = Proposal(F::WormPitchDiameter);
                }
                break;
            default: break;
        }
    }

    // Tip widths, measuring values and inclinations as shown: a value shown
    // as 0 or less cannot be made.
    void pairThatCannotBeMade() {
        const TWormDesign& d = d_;
        if (d.WormTipWidth <= 0) add(C::WormTipWidthNotPositive, {d.WormTipWidth, d.PressureAngle});
        if (d.HobTipWidth <= 0) add(C::HobTipWidthNotPositive, {d.HobTipWidth, d.PressureAngle});
        if (d.WormMeasuredThickness <= 0) {
            add(C::WormMeasuringThicknessNotPositive, {d.WormMeasuredThickness, d.WormAxialThickness, d.Backlash});
        }
        if (d.WormMeasuredHeight <= 0) add(C::WormMeasuringHeightNotPositive, {d.WormMeasuredHeight, d.Addendum});
        if (d.HobMeasuredThickness <= 0) {
            add(C::HobMeasuringThicknessNotPositive, {d.HobMeasuredThickness, d.WormMeasuredThickness, d.Backlash});
        }
        if (d.HobMeasuredHeight <= 0) {
            add(C::HobMeasuringHeightNotPositive, {d.HobMeasuredHeight, d.WormMeasuredHeight});
        }
        if (d.WheelMeasuredThickness <= 0) {
            add(C::WheelMeasuringThicknessNotPositive, {d.WheelMeasuredThickness, d.WheelArcThickness});
        }
        if (d.WheelMeasuredHeight <= 0) add(C::WheelMeasuringHeightNotPositive, {d.WheelMeasuredHeight, d.Addendum});
        const Real beta = DecimalRound(d.GeneratingPlaneAngle, -3);
        if (beta <= 0) {
            const Extended alpha = d.PressureAngle, k = d.RatioClassAngle;
            const Extended ck = Cosine((k + alpha) * PiOver180);
            const Extended cu = Cosine(alpha * PiOver180) * (Divide(d.WheelPitchDiameter, d.CentreDistance) / 2);
            add(C::GeneratingPlaneAngleNotPositive, {beta, alpha, k, ck, cu, d.SpeedRatio}).texts[0] = Proposal(
                F::MainBaseDiameter);
        }
        const Real betaM = DecimalRound(d.GrindingWheelAngle, -3);
        if (betaM <= 0) {
            add(C::GrindingWheelAngleNotPositive, {betaM, d.ModificationRatio, d.ModificationCentreDistance});
        }
    }

    // A quotient as a read-out shows it, to 15 significant digits, so that a
    // typed edge value (Db 126 for A 200: 0.63) lies on the edge.
    Extended Shown(Extended quotient) const {
        char text[kNumberTextCapacity];
        return ParseReal(std::string_view(text, FormatReal(quotient, separator_, text)), separator_);
    }
    // Whether a quotient, as shown, lies outside [low, high]. Showing moves a
    // value by less than 10^-14 of itself, and the quotient of the stored
    // Reals lies within 10^-15 of that of the typed texts: only a quotient
    // that close to an edge needs the texts, which `exact` works out.
    template <class Exact>
    bool Outside(Extended roughly, Extended low, Extended high, Exact exact) const {
        constexpr Extended kNear = 1e-13L;
        if (roughly > low * (1 + kNear) && roughly < high * (1 - kNear)) return false;
        const Extended shown = Shown(exact());
        return shown < low || shown > high;
    }

    // R3(A^c[0]) of the worm pitch diameter read-out, A as typed. A sweep
    // asks for the same A again and again, so the last one is kept (per thread).
    Real PitchDiameterBase(Real exponent) const {
        struct Last {
            bool known = false;
            std::string centreDistance;
            char separator = '.';
            Real exponent = 0, base = 0;
        };
        thread_local Last last;
        if (!last.known || last.centreDistance != in_.CentreDistance || last.separator != separator_ ||
            last.exponent != exponent) {
            last.known = false;  // until the power below has not thrown
            last.base = R3(PowerReal(ParseReal(in_.CentreDistance, separator_), exponent));
            last.centreDistance = in_.CentreDistance;
            last.separator = separator_;
            last.exponent = exponent;
            last.known = true;
        }
        return last.base;
    }

    // The main base circle share and the worm pitch diameter factor as the
    // read-outs under the two fields show them (MainBaseDiameterShare and
    // WormPitchDiameterFactor), from the typed texts.
    void usualRanges() {
        const HintBounds& bounds = Bounds();
        const bool positiveA = has(F::CentreDistance) && value(F::CentreDistance) > 0;
        const Extended A = positiveA ? value(F::CentreDistance) : 1;
        auto typedA = [this] { return ParseReal(in_.CentreDistance, separator_); };
        if (positiveA && has(F::MainBaseDiameter) && value(F::MainBaseDiameter) > 0) {
            auto share = [&] { return Divide(ParseReal(in_.MainBaseDiameter, separator_), typedA()); };
            if (Outside(value(F::MainBaseDiameter) / A, bounds.shareLow, bounds.shareHigh, share)) {
                add(C::BaseDiameterShareOutsideHint, {share()}).texts[0] = Proposal(F::MainBaseDiameter);
            }
        }
        if (positiveA && has(F::WormPitchDiameter) && value(F::WormPitchDiameter) > 0) {
            const Real exponent = c_[Coefficient::PitchDiameterExponent];
            Real base = 0;
            try {
                base = PitchDiameterBase(exponent);
            } catch (const NumericError&) {
                // A^c[0] beyond the numbers: the read-out shows its message instead.
            }
            if (base != 0) {  // else the read-out has no factor to show either
                auto factor = [&] { return Divide(ParseReal(in_.WormPitchDiameter, separator_), base); };
                if (Outside(value(F::WormPitchDiameter) / base, bounds.factorLow, bounds.factorHigh, factor)) {
                    add(C::PitchDiameterFactorOutsideHint, {factor(), exponent}).texts[0] = Proposal(
                        F::WormPitchDiameter);
                }
            }
        }
        if (has(F::SpeedRatio) && has(F::TipArcEccentricity)) {
            const Extended i = value(F::SpeedRatio), E = value(F::TipArcEccentricity);
            if (i > 10 && E != 0) add(C::EccentricityAboveRatioTen, {E, i});
            if (i < 10 && i > 0 && positiveA) {
                auto share = [&] { return Divide(ParseReal(in_.TipArcEccentricity, separator_), typedA()); };
                if (Outside(E / A, bounds.eccentricityLow, bounds.eccentricityHigh, share)) {
                    const Extended a = typedA();
                    add(C::EccentricityOutsideHint, {E, i, a * bounds.eccentricityLow, a * bounds.eccentricityHigh});
                }
            }
        }
        if (positiveA && has(F::Backlash)) backlash();
    }

    void backlash() {
        const Real a = static_cast<Real>(value(F::CentreDistance)), jn = static_cast<Real>(value(F::Backlash));
        bool anyBand = false;
        Real low = 0, high = 0;
        std::string bands;
        for (const HintBounds::Band& band : Bounds().bands) {
            if (a < band.fromCentreDistance || a > band.toCentreDistance) continue;
            low = anyBand ? std::min(low, band.low) : band.low;
            high = anyBand ? std::max(high, band.high) : band.high;
            if (anyBand) bands += "、";
            bands += band.text;
            anyBand = true;
        }
        if (!anyBand) {
            add(C::BacklashWithoutHint, {a});
        } else if (jn < low || jn > high) {
            add(C::BacklashOutsideHint, {jn, a, low, high}).texts[0] = bands;
        }
    }

    const DesignInputs& in_;
    const TCoefficientTable& c_;
    const CalculationOutcome& out_;
    const TWormDesign& d_;
    const char separator_;
    std::vector<Finding>& findings_;
    std::array<ReadField, kDesignFieldCount> fields_{};
};

// The names of a blank-separated list, in order, as many as a finding has
// values: kept in place, so that filling a text allocates nothing.
class NameList {
 public:
    explicit NameList(const char* list) {
        const std::string_view all(list);
        std::size_t start = 0;
        while (start < all.size()) {
            const std::size_t end = std::min(all.find(' ', start), all.size());
            if (end > start) {
                if (count_ == names_.size()) throw std::logic_error("a check names more values than a finding holds");
                names_[count_++] = all.substr(start, end - start);
            }
            start = end + 1;
        }
    }
    std::size_t size() const { return count_; }
    std::string_view operator[](std::size_t n) const { return names_[n]; }
    // The place of `name` in the list, or size() when it is not there.
    std::size_t find(std::string_view name) const {
        return static_cast<std::size_t>(std::find(names_.begin(), names_.begin() + count_, name) - names_.begin());
    }

 private:
    std::array<std::string_view, std::max(kFindingNumbers, kFindingTexts)> names_{};
    std::size_t count_ = 0;
};

void AppendFieldNameAndSymbol(std::string& out, F field, const Translate& translate) {
    const DesignFieldDescription& description = DesignFields()[static_cast<int>(field)];
    if (translate) {
        out += FieldName(description, translate);
    } else {
        out += description.name;
    }
    if (*description.symbol) out.append(" ").append(description.symbol);
}

// A template with its {names} filled in, into `out` (emptied first); false,
// and `out` empty, when it names a text that is empty. The Chinese form
// (an empty `translate`) is filled without a single allocation once `out`
// has room.
bool FillInto(std::string& out, const char* chineseForm, const Finding& finding, const Translate& translate,
              char separator) {
    out.clear();
    if (!*chineseForm) return false;
    const std::string translated = translate ? translate(kChecksContext, chineseForm) : std::string();
    const char* form = translate ? translated.c_str() : chineseForm;
    const CheckDescription& description = Describe(finding.code);
    const NameList numbers(description.numbers);
    const NameList texts(description.texts);
    const std::string_view all(form);
    std::size_t at = 0;
    while (at < all.size()) {
        const std::size_t open = all.find('{', at);
        if (open == std::string_view::npos) {
            out.append(all.substr(at));
            break;
        }
        out.append(all.substr(at, open - at));
        const std::size_t close = all.find('}', open);
        const std::string_view name = all.substr(open + 1, close - open - 1);
        at = close + 1;
        if (name == "field") {
            // The first field of the check, in the fields' order.
            for (const DesignFieldDescription& field : DesignFields()) {
                if (description.fields & FieldBit(field.field)) {
                    AppendFieldNameAndSymbol(out, field.field, translate);
                    break;
                }
            }
            continue;
        }
        if (const std::size_t n = numbers.find(name); n < numbers.size()) {
            char number[kNumberTextCapacity];
            out.append(number, FormatReal(finding.numbers[n], separator, number));
            continue;
        }
        if (const std::size_t t = texts.find(name); t < texts.size()) {
            const std::string& text = finding.texts[t];
            if (text.empty() && name != "typed") {
                out.clear();
                return false;
            }
            out += text;
            continue;
        }
        throw std::logic_error("a check's text names an unknown value: " + std::string(name));
    }
    return true;
}

std::string Fill(const char* chineseForm, const Finding& finding, const Translate& translate, char separator) {
    std::string out;
    FillInto(out, chineseForm, finding, translate, separator);
    return out;
}

}  // namespace

const char* SeverityName(Severity severity) {
    switch (severity) {
        case Severity::Info: return "info";
        case Severity::Warning: return "warning";
        case Severity::Error: return "error";
    }
    return "";
}

std::string ChecksTitle(const Translate& translate) {
    return Translated(translate, kChecksContext, QT_TRANSLATE_NOOP("wormgear::Checks", "设计检查"));
}

std::string SeverityWord(Severity severity, const Translate& translate) {
    static constexpr const char* kWords[3] = {QT_TRANSLATE_NOOP("wormgear::Checks", "提示"),
                                              QT_TRANSLATE_NOOP("wormgear::Checks", "警告"),
                                              QT_TRANSLATE_NOOP("wormgear::Checks", "错误")};
    return Translated(translate, kChecksContext, kWords[static_cast<int>(severity)]);
}

std::string SuggestionWord(const Translate& translate) {
    return Translated(translate, kChecksContext, QT_TRANSLATE_NOOP("wormgear::Checks", "建议"));
}

std::string ChecksErrorMark(const Translate& translate) {
    return Translated(translate, kChecksContext, kChecksErrorMark);
}

const std::array<CheckDescription, kCheckCodeCount>& CheckDescriptions() { return kDescriptions; }

const CheckDescription* CheckById(std::string_view id) {
    for (const CheckDescription& description : kDescriptions) {
        if (id == description.id) return &description;
    }
    return nullptr;
}

std::vector<DesignField> FieldsOf(FieldSet fields) {
    std::vector<DesignField> list;
    for (const DesignFieldDescription& field : DesignFields()) {
        if (fields & FieldBit(field.field)) list.push_back(field.field);
    }
    return list;
}

std::vector<Finding> CheckDesign(const DesignInputs& inputs, const TCoefficientTable& coefficients,
                                 const CalculationOutcome& outcome, char separator) {
    std::vector<Finding> findings;
    CheckDesign(inputs, coefficients, outcome, separator, findings);
    return findings;
}

void CheckDesign(const DesignInputs& inputs, const TCoefficientTable& coefficients, const CalculationOutcome& outcome,
                 char separator, std::vector<Finding>& findings) {
    findings.clear();
    Checker(inputs, coefficients, outcome, separator, findings).run();
}

const Finding* Worst(const std::vector<Finding>& findings) { return findings.empty() ? nullptr : &findings.front(); }

bool HasErrors(const std::vector<Finding>& findings) {
    return !findings.empty() && findings.front().severity() == Severity::Error;
}

SeverityCounts CountBySeverity(const std::vector<Finding>& findings) {
    SeverityCounts counts;
    for (const Finding& finding : findings) {
        switch (finding.severity()) {
            case Severity::Error: ++counts.errors; break;
            case Severity::Warning: ++counts.warnings; break;
            case Severity::Info: ++counts.infos; break;
        }
    }
    return counts;
}

std::string FindingMessage(const Finding& finding, const Translate& translate, char separator) {
    return Fill(Describe(finding.code).message, finding, translate, separator);
}

std::string FindingSuggestion(const Finding& finding, const Translate& translate, char separator) {
    return Fill(Describe(finding.code).suggestion, finding, translate, separator);
}

void FindingMessageInto(std::string& out, const Finding& finding, const Translate& translate, char separator) {
    FillInto(out, Describe(finding.code).message, finding, translate, separator);
}

void FindingSuggestionInto(std::string& out, const Finding& finding, const Translate& translate, char separator) {
    FillInto(out, Describe(finding.code).suggestion, finding, translate, separator);
}

std::vector<FindingValue> FindingValues(const Finding& finding) {
    std::vector<FindingValue> values;
    FindingValues(finding, values);
    return values;
}

void FindingValues(const Finding& finding, std::vector<FindingValue>& values) {
    values.clear();
    const NameList names(Describe(finding.code).numbers);
    for (std::size_t n = 0; n < names.size(); ++n) values.push_back({names[n], finding.numbers[n]});
}

}  // namespace wormgear
