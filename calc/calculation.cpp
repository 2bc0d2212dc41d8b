// The Calculate operation: parses the inputs, checks the speed ratio, and runs
// the worm, hob, wheel and modification chains in their fixed order. Every
// value is stored to its record field and every line written at its own step,
// so that a failure leaves exactly what was done before it.
#include <cmath>

#include "design.h"

namespace wormgear {

namespace {

// Result-line suffixes: five hyphens for worm, hob and wheel lines, six for the
// two wheel measuring lines, four for the modification lines.
struct Suffix {
    const char* label;
    const char* text;
};

// Throws out of the chains to end a run with the ratio message.
struct RatioMismatch {};

class Run {
 public:
    Run(const DesignTexts& texts, bool roundEnvelopedTeeth, const TCoefficientTable& table,
        CalculationOutcome& out)
        : in_(texts), round_(roundEnvelopedTeeth), c_(table.c), d_(out.design), lines_(out.lines) {}

    void execute() {
        inputs();
        wormChain();
        hobChain();
        wheelChain();
        lateWormAndWheelSteps();
        modificationChain();
    }

 private:
    void line(const char* label, const std::string& number, const char* suffix) {
        std::string text;
        text.reserve(number.size() + std::char_traits<char>::length(suffix));
        text.append(number).append(suffix);
        lines_.push_back({label, std::move(text)});
    }

    static Extended Sin(Extended degrees) { return Sine(DegreesToRadians(degrees)); }
    static Extended Cos(Extended degrees) { return Cosine(DegreesToRadians(degrees)); }
    static Extended Tan(Extended degrees) { return Tangent(DegreesToRadians(degrees)); }

    // Inputs, the speed-ratio check and the ratio class.
    void inputs() {
        d_.CentreDistance = ToReal(ParseReal(in_.CentreDistance));
        d_.SpeedRatio = ToReal(ParseReal(in_.SpeedRatio));
        d_.WheelTeeth = ParseInteger(in_.WheelTeeth);
        d_.WormStarts = ParseInteger(in_.WormStarts);

        // z1 = 0 divides here and fails with the catch-all message.
        const Extended ratio = Divide(d_.WheelTeeth, d_.WormStarts);
        if (!(fabsl(d_.SpeedRatio - ratio) <= 0.001L)) throw RatioMismatch{};

        const Real i = d_.SpeedRatio;
        d_.RatioClassAngle = i < 10 ? 4 : (i > 30 ? 8 : 6);

        d_.MainBaseDiameter = ToReal(ParseReal(in_.MainBaseDiameter));
        d_.TipArcEccentricity = ToReal(ParseReal(in_.TipArcEccentricity));
        d_.WormPitchDiameter = ToReal(ParseReal(in_.WormPitchDiameter));
        d_.Backlash = ToReal(ParseReal(in_.Backlash));
        line("Label24", FormatReal(d_.TipArcEccentricity), "-----E值");
    }

    // Worm chain up to the throat lead angle line.
    void wormChain() {
        const Extended A = d_.CentreDistance, d1 = d_.WormPitchDiameter, E = d_.TipArcEccentricity;

        d_.WheelPitchDiameter = R3(2 * A - d1);
        line("Label23", FormatReal(d_.WheelPitchDiameter), "-----蜗轮分度圆直径");
        const Extended d2 = d_.WheelPitchDiameter;

        d_.TransverseModule = R3(Divide(d2, d_.WheelTeeth));
        const Extended mt = d_.TransverseModule;
        d_.Dedendum = R3(c_[1] * mt);
        d_.ThroatRootDiameter = R3(d1 - 2 * static_cast<Extended>(d_.Dedendum));
        d_.WormRootArcRadius = R3(A - static_cast<Extended>(d_.ThroatRootDiameter) / 2);
        line("Label8", FormatReal(DecimalRound(d_.WormRootArcRadius, -3)), "-----蜗杆齿根圆弧半径");

        d_.Addendum = R3(c_[2] * mt);
        d_.ThroatTipDiameter = ToReal(d1 + 2 * static_cast<Extended>(d_.Addendum));
        d_.WormTipArcRadius = R3(A - static_cast<Extended>(d_.ThroatTipDiameter) / 2 + E);
        line("Label9", FormatReal(d_.WormTipArcRadius), "-----蜗杆齿顶圆弧半径");

        d_.AngularPitch = R3(Divide(360, d_.WheelTeeth));
        // z2/10 + 0.5 truncated is z2/10 rounded half up.
        const std::int64_t wholeTeeth = TruncateToInteger(Divide(d_.WheelTeeth, 10) + 0.5L);
        d_.EnvelopedTeeth = round_ ? ToReal(wholeTeeth) : ToReal(wholeTeeth + static_cast<Extended>(c_[7]));
        d_.WorkingHalfWrapAngle =
            R3(0.5L * d_.AngularPitch * (static_cast<Extended>(d_.EnvelopedTeeth) - c_[3]));
        d_.WormWorkingLength = R0(d2 * Sin(d_.WorkingHalfWrapAngle) + 1);
        line("Label10", FormatReal(d_.WormWorkingLength), "-----蜗杆工作长度");

        // Stored in a 32-bit field: the low 32 bits of the truncated value.
        d_.ShaftShoulder = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(TruncateToInteger(c_[6] * mt)));
        line("Label11", FormatInteger(d_.ShaftShoulder), "-----轴肩");
        line("Label12", FormatReal(d_.MainBaseDiameter), "-----主基圆直径");

        d_.ThroatLeadAngle = R3(RadiansToDegrees(ArcTangent(Divide(Divide(d2, d_.SpeedRatio), d1))));
        d_.PressureAngle = R3(RadiansToDegrees(ArcSine(Divide(d_.MainBaseDiameter, d2))));
        line("Label14", FormatReal(d_.PressureAngle), "-----压力角");
        d_.CircularPitch = R3(Pi * mt);

        d_.GeneratingPlaneAngle = ToReal(GeneratingPlaneAngle(d_.RatioClassAngle, d_.PressureAngle,
                                                              d_.WheelPitchDiameter, d_.CentreDistance,
                                                              d_.SpeedRatio));
        d_.GeneratingPlaneAngleText = FormatReal(DecimalRound(d_.GeneratingPlaneAngle, -3));
        line("Label13", d_.GeneratingPlaneAngleText, "-----母平面倾斜角");

        const Extended p = d_.CircularPitch;
        d_.WormAxialThickness = R3(p - c_[5] * p - d_.Backlash);
        d_.WormMeasuredThickness = R3(Cos(d_.ThroatLeadAngle) * d_.WormAxialThickness);
        line("Label16", FormatReal(d_.WormMeasuredThickness), "-----测量齿厚");
        // The arc sine stays in radians and goes straight into the cosine.
        d_.WormMeasuredHeight = R3(d_.Addendum - (1 - Cosine(ArcSine(Divide(d_.WormAxialThickness, d2)))) *
                                                     (0.5L * d2));
        line("Label17", FormatReal(d_.WormMeasuredHeight), "-----测量齿高");

        line("Label25", FormatReal(d_.TransverseModule), "-----端面模数");
        line("Label26", FormatReal(d_.EnvelopedTeeth), "-----包围齿数");
        line("Label27", FormatReal(d_.WorkingHalfWrapAngle), "-----工作半包角");
        line("Label28", FormatReal(d_.ThroatLeadAngle), "-----蜗杆喉部导程角");
    }

    void hobChain() {
        const Extended mt = d_.TransverseModule, d2 = d_.WheelPitchDiameter;

        d_.HobBodyTipArcRadius = R3((d_.WormTipArcRadius - 0.2L * mt) - c_[8] * mt);
        line("Label18", FormatReal(d_.HobBodyTipArcRadius), "-----刀体齿顶圆弧半径");
        // Shown from the Extended sum, stored as a double.
        const Extended rootArcRadius = static_cast<Extended>(d_.WormRootArcRadius) + c_[9];
        d_.HobBodyRootArcRadius = ToReal(rootArcRadius);
        line("Label19", FormatReal(rootArcRadius), "-----刀体齿跟圆弧半径");

        d_.HobEnvelopingTeeth = ToReal(TruncateToInteger(d_.EnvelopedTeeth) + static_cast<Extended>(c_[11]));
        d_.HobHalfWrapAngle =
            R3(0.5L * d_.AngularPitch * (static_cast<Extended>(d_.HobEnvelopingTeeth) - c_[10]));
        d_.HobEffectiveLength = R0(d2 * Sin(d_.HobHalfWrapAngle) + 0.5L);
        line("Label20", FormatReal(d_.HobEffectiveLength), "-----滚刀有效长度");

        const Extended measuredThickness = static_cast<Extended>(d_.WormMeasuredThickness) + d_.Backlash;
        d_.HobMeasuredThickness = ToReal(measuredThickness);
        line("Label21", FormatReal(measuredThickness), "-----滚刀测量齿厚");
        d_.HobAxialThickness = R3(Divide(measuredThickness, Cos(d_.ThroatLeadAngle)));

        d_.HobMeasuredHeight = R3(0.2L * mt + d_.WormMeasuredHeight + c_[8] * mt);
        line("Label22", FormatReal(d_.HobMeasuredHeight), "-----滚刀测量齿高");
        line("Label29", FormatReal(d_.HobEnvelopingTeeth), "-----滚刀包络齿数");
    }

    void wheelChain() {
        const Extended mt = d_.TransverseModule, d2 = d_.WheelPitchDiameter, ha = d_.Addendum;

        d_.WheelMaxOuterDiameter = R0(2 * ha + d2 + c_[13] * mt);
        d_.WheelArcThickness = R3(static_cast<Extended>(d_.CircularPitch) * c_[5]);
        d_.WheelMeasuredThickness = R3(Cos(d_.ThroatLeadAngle) * d_.WheelArcThickness);
        line("Label44", FormatReal(d_.WheelMeasuredThickness), "------蜗轮测量齿厚");
        d_.WheelMeasuredHeight =
            R3((1 - Cosine(ArcSine(Divide(d_.WheelArcThickness, d2)))) * (0.5L * d2) + ha);
        line("Label45", FormatReal(d_.WheelMeasuredHeight), "------蜗轮测量齿高");
        line("Label33", FormatReal(d_.WheelMaxOuterDiameter), "-----蜗轮最大外圆");

        d_.RimWorkingWidth = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(TruncateToInteger(static_cast<Extended>(c_[14]) * d_.WormPitchDiameter)));
        line("Label34", FormatReal(d_.RimWorkingWidth), "-----齿圈工作宽度");
        d_.WheelThroatDiameter = R3(2 * ha + d2);
        line("Label35", FormatReal(d_.WheelThroatDiameter), "-----蜗轮喉径");
    }

    // Largest worm tip diameter, wheel tip arc radius, worm tip width and hob
    // tip width, in this order.
    void lateWormAndWheelSteps() {
        const Extended A = d_.CentreDistance, E = d_.TipArcEccentricity;
        const Extended Ra1 = d_.WormTipArcRadius, Rf1 = d_.WormRootArcRadius;
        const Extended halfLength = static_cast<Extended>(d_.WormWorkingLength) / 2;

        d_.WormMaxTipDiameter = R3(2 * ((A + E) - SquareRoot(Ra1 * Ra1 - halfLength * halfLength)));
        line("Label48", FormatReal(d_.WormMaxTipDiameter), "-----蜗杆最大齿顶圆直径");

        d_.WheelTipArcRadius = R0((A - SquareRoot(Rf1 * Rf1 - halfLength * halfLength)) * (2 * static_cast<Extended>(c_[12])));
        line("Label40", FormatReal(d_.WheelTipArcRadius), "-----蜗轮齿顶圆弧半径");

        d_.WormTipWidth = TipWidth(d_.WormAxialThickness, Ra1, d_.WormMeasuredHeight);
        line("Label43", FormatReal(d_.WormTipWidth), "-----蜗杆齿顶宽");

        d_.HobTipWidth = TipWidth(d_.HobAxialThickness, d_.HobBodyTipArcRadius, d_.HobMeasuredHeight);
        line("Label49", FormatReal(d_.HobTipWidth), "-----滚刀齿顶宽");
    }

    // Tooth tip width from the axial thickness, the tip arc radius and the
    // measuring height, rounded to hundredths.
    Real TipWidth(Real axialThickness, Real tipArcRadius, Real measuredHeight) const {
        const Extended halfThickness = static_cast<Extended>(axialThickness) / 2;
        const Extended theta = RadiansToDegrees(ArcTangent(
            Divide(halfThickness, static_cast<Extended>(tipArcRadius) - d_.TipArcEccentricity + measuredHeight)));
        return R2(2 * (halfThickness - measuredHeight * Tan(theta + d_.PressureAngle)));
    }

    void modificationChain() {
        d_.GrindingIncrement = ToReal(ParseReal(in_.GrindingIncrement));
        const Extended delta = d_.GrindingIncrement, mt = d_.TransverseModule;
        const Extended teeth = d_.WheelTeeth + delta;

        d_.ModificationRatio = R3(Divide(teeth, d_.WormStarts));
        d_.ModificationCentreDistance = ToReal(delta * mt / 2 + d_.CentreDistance);
        d_.ModificationPitchDiameter = ToReal(teeth * mt);
        d_.ModificationBaseDiameter = ToReal(Sin(d_.PressureAngle) * d_.ModificationPitchDiameter);
        d_.ModificationPressureAngle = ToReal(
            RadiansToDegrees(ArcSine(Divide(d_.ModificationBaseDiameter, d_.ModificationPitchDiameter))));
        d_.GrindingWheelAngle = ToReal(GeneratingPlaneAngle(
            d_.RatioClassAngle, d_.ModificationPressureAngle, d_.ModificationPitchDiameter,
            d_.ModificationCentreDistance, d_.ModificationRatio));

        line("Label41", FormatReal(DecimalRound(d_.GrindingWheelAngle, -3)), "----修形砂轮角");
        line("Label42", FormatReal(d_.ModificationRatio), "----修形传动比");
        line("Label51", FormatReal(DecimalRound(d_.ModificationCentreDistance, -3)), "----修形中心距");
        line("Label52", FormatReal(DecimalRound(d_.ModificationBaseDiameter, -3)), "----修形主基圆直径");
    }

    const DesignTexts& in_;
    const bool round_;
    const std::array<Real, kCoefficientCount>& c_;
    TWormDesign& d_;
    std::vector<ResultLine>& lines_;
};

}  // namespace

Extended GeneratingPlaneAngle(std::int32_t k, Real alpha, Real d, Real a, Real i) {
    const Extended ck = Cosine((k + static_cast<Extended>(alpha)) * PiOver180);
    const Extended ca = Cosine(alpha * PiOver180);
    const Extended numerator = ca * (Divide(Divide(ck * d, a), 2));
    const Extended denominator = (ck - ca * (Divide(d, a) / 2)) * i;
    return RadiansToDegrees(ArcTangent(Divide(numerator, denominator)));
}

CalculationOutcome Calculate(const DesignTexts& texts, bool roundEnvelopedTeeth,
                             const TCoefficientTable& coefficients, const TWormDesign& previous) {
    CalculationOutcome out{previous, {}, {}};
    out.lines.reserve(34);
    try {
        Run(texts, roundEnvelopedTeeth, coefficients, out).execute();
    } catch (const RatioMismatch&) {
        out.failure = kRatioMismatchMessage;
    } catch (const NumericError&) {
        out.failure = kInvalidInputMessage;
    }
    return out;
}

const std::vector<std::string>& PanelOrder() {
    static const std::vector<std::string> order = {
        // worm
        "Label23", "Label24", "Label8", "Label10", "Label9", "Label11", "Label12", "Label13", "Label14",
        "Label16", "Label17", "Label25", "Label26", "Label27", "Label28", "Label48", "Label43",
        // hob
        "Label18", "Label19", "Label20", "Label21", "Label22", "Label29", "Label49",
        // wheel
        "Label33", "Label35", "Label34", "Label44", "Label45", "Label40",
        // modification
        "Label41", "Label42", "Label51", "Label52"};
    return order;
}

}  // namespace wormgear
