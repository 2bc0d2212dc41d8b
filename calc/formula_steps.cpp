// The chain's steps with their numbers, from the record of a calculation.
#include "calc/formula_steps.h"

#include <map>

#include "calc/results.h"

namespace wormgear {

namespace {

// A rule written once with its operands in braces: "R3(2·{A} − {d1})". The
// rule shows the symbols, the numbers their values.
class Steps {
 public:
    Steps(char separator) : separator_(separator) {}

    void value(const std::string& symbol, Extended v) { values_[symbol] = FormatReal(v, separator_); }

    // A step whose value has a result line takes the result's name (no name
    // given); the others, the intermediate values, name themselves.
    void add(const char* symbol, const char* name, const char* unit, const std::string& formula, Extended result,
             int coefficient = -1) {
        if (!name) {
            for (const ResultDescription& r : Results())
                if (std::string_view(r.symbol) == symbol) name = r.name().data();
        }
        FormulaStep step{symbol,
                         name,
                         std::string(symbol) + " = " + Filled(formula, false),
                         Filled(formula, true),
                         FormatReal(result, separator_),
                         unit,
                         coefficient};
        steps_.push_back(std::move(step));
        value(symbol, result);
    }
    std::vector<FormulaStep> take() { return std::move(steps_); }

 private:
    std::string Filled(const std::string& formula, bool numbers) const {
        std::string out;
        for (std::size_t k = 0; k < formula.size();) {
            if (formula[k] == '{') {
                const std::size_t end = formula.find('}', k);
                const std::string symbol = formula.substr(k + 1, end - k - 1);
                out += numbers ? values_.at(symbol) : symbol;
                k = end + 1;
            } else if (numbers && formula.compare(k, 2, "·") == 0) {
                out += " × ";
                k += 2;
            } else {
                out += formula[k++];
            }
        }
        return out;
    }

    char separator_;
    std::map<std::string, std::string> values_;
    std::vector<FormulaStep> steps_;
};

}  // namespace

std::vector<FormulaStep> FormulaSteps(const DesignInputs&, bool roundEnvelopedTeeth, const TWormDesign& d,
                                      const TCoefficientTable& table, char separator) {
    Steps s(separator);
    for (const auto& [symbol, v] : {std::pair{"A", static_cast<Extended>(d.CentreDistance)},
                                    {"i", d.SpeedRatio},
                                    {"z2", d.WheelTeeth},
                                    {"z1", d.WormStarts},
                                    {"Db", d.MainBaseDiameter},
                                    {"E", d.TipArcEccentricity},
                                    {"d1", d.WormPitchDiameter},
                                    {"jn", d.Backlash},
                                    {"Δ", d.GrindingIncrement},
                                    {"k", d.RatioClassAngle}})
        s.value(symbol, v);
    for (int k = 0; k < kCoefficientCount; ++k) s.value("c" + std::to_string(k), table.c[static_cast<std::size_t>(k)]);
    using F = const char*;
    constexpr F mm = "mm", deg = "°", none = "";
    // The names are the drawings' texts: the report shows them.
    // The worm.
    s.add("d2", nullptr, mm, "R3(2·{A} − {d1})", d.WheelPitchDiameter);
    s.add("mt", nullptr, mm, "R3({d2} / {z2})", d.TransverseModule);
    s.add("hf", QT_TRANSLATE_NOOP("wormgear::Drawings", "齿根高"), mm, "R3({c1}·{mt})", d.Dedendum, 1);
    s.add("df1", QT_TRANSLATE_NOOP("wormgear::Drawings", "喉部齿根圆直径"), mm, "R3({d1} − 2·{hf})",
          d.ThroatRootDiameter);
    s.add("Rf1", nullptr, mm, "R3({A} − {df1} / 2)", d.WormRootArcRadius);
    s.add("ha", QT_TRANSLATE_NOOP("wormgear::Drawings", "齿顶高"), mm, "R3({c2}·{mt})", d.Addendum, 2);
    s.add("da1", QT_TRANSLATE_NOOP("wormgear::Drawings", "喉部齿顶圆直径"), mm, "{d1} + 2·{ha}", d.ThroatTipDiameter);
    s.add("Ra1", nullptr, mm, "R3({A} − {da1} / 2 + {E})", d.WormTipArcRadius);
    s.add("τ", QT_TRANSLATE_NOOP("wormgear::Drawings", "齿距角"), deg, "R3(360 / {z2})", d.AngularPitch);
    if (roundEnvelopedTeeth) s.add("K", nullptr, none, "T({z2} / 10 + 0.5)", d.EnvelopedTeeth);
    else s.add("K", nullptr, none, "T({z2} / 10 + 0.5) + {c7}", d.EnvelopedTeeth, 7);
    s.add("φ", nullptr, deg, "R3(0.5·{τ}·({K} − {c3}))", d.WorkingHalfWrapAngle, 3);
    s.add("L", nullptr, mm, "R0({d2}·sin({φ}) + 1)", d.WormWorkingLength);
    s.add("ls", nullptr, mm, "T({c6}·{mt})", d.ShaftShoulder, 6);
    s.add("γ", nullptr, deg, "R3(atan({d2} / {i} / {d1}))", d.ThroatLeadAngle);
    s.add("α", nullptr, deg, "R3(asin({Db} / {d2}))", d.PressureAngle);
    s.add("p", QT_TRANSLATE_NOOP("wormgear::Drawings", "周节"), mm, "R3(π·{mt})", d.CircularPitch);
    s.add("β", nullptr, deg,
          "atan(cos({α})·cos({k} + {α})·{d2} / (2·{A}) / ((cos({k} + {α}) − cos({α})·{d2} / (2·{A}))·{i}))",
          d.GeneratingPlaneAngle);
    s.add("sx1", QT_TRANSLATE_NOOP("wormgear::Drawings", "轴向齿厚"), mm, "R3({p} − {c5}·{p} − {jn})",
          d.WormAxialThickness, 5);
    s.add("sn1", nullptr, mm, "R3(cos({γ})·{sx1})", d.WormMeasuredThickness);
    s.add("h1", nullptr, mm, "R3({ha} − (1 − cos(asin({sx1} / {d2})))·(0.5·{d2}))", d.WormMeasuredHeight);
    // The hob.
    s.add("Ra0", nullptr, mm, "R3(({Ra1} − 0.2·{mt}) − {c8}·{mt})", d.HobBodyTipArcRadius, 8);
    s.add("Rf0", nullptr, mm, "{Rf1} + {c9}", d.HobBodyRootArcRadius, 9);
    s.add("K0", nullptr, none, "T({K}) + {c11}", d.HobEnvelopingTeeth, 11);
    s.add("φ0", QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀工作半包角"), deg, "R3(0.5·{τ}·({K0} − {c10}))",
          d.HobHalfWrapAngle, 10);
    s.add("L0", nullptr, mm, "R0({d2}·sin({φ0}) + 0.5)", d.HobEffectiveLength);
    s.add("sn0", nullptr, mm, "{sn1} + {jn}", d.HobMeasuredThickness);
    s.add("sx0", QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀轴向齿厚"), mm, "R3(({sn1} + {jn}) / cos({γ}))",
          d.HobAxialThickness);
    s.add("h0", nullptr, mm, "R3(0.2·{mt} + {h1} + {c8}·{mt})", d.HobMeasuredHeight, 8);
    // The wheel.
    s.add("de2", nullptr, mm, "R0(2·{ha} + {d2} + {c13}·{mt})", d.WheelMaxOuterDiameter, 13);
    s.add("s2", QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮弧齿厚"), mm, "R3({p}·{c5})", d.WheelArcThickness, 5);
    s.add("sn2", nullptr, mm, "R3(cos({γ})·{s2})", d.WheelMeasuredThickness);
    s.add("h2", nullptr, mm, "R3((1 − cos(asin({s2} / {d2})))·(0.5·{d2}) + {ha})", d.WheelMeasuredHeight);
    s.add("b2", nullptr, mm, "T({c14}·{d1})", d.RimWorkingWidth, 14);
    s.add("da2", nullptr, mm, "R3(2·{ha} + {d2})", d.WheelThroatDiameter);
    // The steps that take the working length.
    s.add("da1max", nullptr, mm, "R3(2·(({A} + {E}) − sqrt({Ra1}^2 − ({L} / 2)^2)))", d.WormMaxTipDiameter);
    s.add("Ra2", nullptr, mm, "R0(({A} − sqrt({Rf1}^2 − ({L} / 2)^2))·(2·{c12}))", d.WheelTipArcRadius, 12);
    // The tip widths: the angle of the flank at the tip, then the width.
    const Extended theta1 = RadiansToDegrees(
        ArcTangent((static_cast<Extended>(d.WormAxialThickness) / 2) /
                   (static_cast<Extended>(d.WormTipArcRadius) - d.TipArcEccentricity + d.WormMeasuredHeight)));
    s.add("θ1", QT_TRANSLATE_NOOP("wormgear::Drawings", "齿顶处齿形角"), deg,
          "atan(({sx1} / 2) / ({Ra1} − {E} + {h1}))", theta1);
    s.add("sa1", nullptr, mm, "R2(2·({sx1} / 2 − {h1}·tan({θ1} + {α})))", d.WormTipWidth);
    const Extended theta0 = RadiansToDegrees(
        ArcTangent((static_cast<Extended>(d.HobAxialThickness) / 2) /
                   (static_cast<Extended>(d.HobBodyTipArcRadius) - d.TipArcEccentricity + d.HobMeasuredHeight)));
    s.add("θ0", QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀齿顶处齿形角"), deg,
          "atan(({sx0} / 2) / ({Ra0} − {E} + {h0}))", theta0);
    s.add("sa0", nullptr, mm, "R2(2·({sx0} / 2 − {h0}·tan({θ0} + {α})))", d.HobTipWidth);
    // The modification: the wheel taken with z2 + Δ teeth.
    s.add("im", nullptr, none, "R3(({z2} + {Δ}) / {z1})", d.ModificationRatio);
    s.add("Am", nullptr, mm, "{Δ}·{mt} / 2 + {A}", d.ModificationCentreDistance);
    s.add("d2m", QT_TRANSLATE_NOOP("wormgear::Drawings", "修形蜗轮分度圆直径"), mm, "({z2} + {Δ})·{mt}",
          d.ModificationPitchDiameter);
    s.add("Dbm", nullptr, mm, "sin({α})·{d2m}", d.ModificationBaseDiameter);
    s.add("αm", QT_TRANSLATE_NOOP("wormgear::Drawings", "修形压力角"), deg, "asin({Dbm} / {d2m})",
          d.ModificationPressureAngle);
    s.add("βm", nullptr, deg,
          "atan(cos({αm})·cos({k} + {αm})·{d2m} / (2·{Am}) / ((cos({k} + {αm}) − cos({αm})·{d2m} / (2·{Am}))·{im}))",
          d.GrindingWheelAngle);
    return s.take();
}

}  // namespace wormgear
