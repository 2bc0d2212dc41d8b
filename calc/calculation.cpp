// The Calculate operation: parses the inputs, checks the speed ratio, and runs
// the worm, hob, wheel and modification chains in their fixed order. Every
// value is stored to its record field and every line written at its own step,
// so that a failure leaves exactly what was done before it.
#include <cmath>

#include "calc/design.h"

namespace wormgear {

namespace {

using R = ResultId;
using C = Coefficient;

// Throws out of the chains to end a run with the ratio message.
struct RatioMismatch {};

class Run {
 public:
    Run(const DesignInputs& inputs, bool roundEnvelopedTeeth, const TCoefficientTable& table, char separator,
        CalculationOutcome& out)
        : in_(inputs),
          round_(roundEnvelopedTeeth),
          c_(table),
          separator_(separator),
          d_(out.design),
          lines_(out.lines) {}

    void execute() {
        inputs();
        wormChain();
        hobChain();
        wheelChain();
        lateWormAndWheelSteps();
        modificationChain();
    }

 private:
    // The number text followed by the line's suffix.
    void line(ResultId id, const std::string& number) {
        const char* suffix = Result(id).suffix;
        std::string text;
        text.reserve(number.size() + std::char_traits<char>::length(suffix));
        text.append(number).append(suffix);
        lines_.push_back({id, std::move(text)});
    }

    Extended Parse(const std::string& text) const { return ParseReal(text, separator_); }
    std::string Format(Extended value) const { return FormatReal(value, separator_); }

    static Extended Sin(Extended degrees) { return Sine(DegreesToRadians(degrees)); }
    static Extended Cos(Extended degrees) { return Cosine(DegreesToRadians(degrees)); }
    static Extended Tan(Extended degrees) { return Tangent(DegreesToRadians(degrees)); }

    // Inputs, the speed-ratio check and the ratio class.
    void inputs() {
        d_.CentreDistance = ToReal(Parse(in_.CentreDistance));
        d_.SpeedRatio = ToReal(Parse(in_.SpeedRatio));
        d_.WheelTeeth = ParseInteger(in_.WheelTeeth);
        d_.WormStarts = ParseInteger(in_.WormStarts);

        // z1 = 0 divides here and fails with the catch-all message.
        const Extended ratio = Divide(d_.WheelTeeth, d_.WormStarts);
        if (!(fabsl(d_.SpeedRatio - ratio) <= 0.001L)) throw RatioMismatch{};

        const Real i = d_.SpeedRatio;
        d_.RatioClassAngle = i < 10 ? 4 : (i > 30 ? 8 : 6);

        d_.MainBaseDiameter = ToReal(Parse(in_.MainBaseDiameter));
        d_.TipArcEccentricity = ToReal(Parse(in_.TipArcEccentricity));
        d_.WormPitchDiameter = ToReal(Parse(in_.WormPitchDiameter));
        d_.Backlash = ToReal(Parse(in_.Backlash));
        line(R::TipArcEccentricity, Format(d_.TipArcEccentricity));
    }

    // Worm chain up to the throat lead angle line.
    void wormChain() {
        const Extended A = d_.CentreDistance, d1 = d_.WormPitchDiameter, E = d_.TipArcEccentricity;

        d_.WheelPitchDiameter = R3(2 * A - d1);
        line(R::WheelPitchDiameter, Format(d_.WheelPitchDiameter));
        const Extended d2 = d_.WheelPitchDiameter;

        d_.TransverseModule = R3(Divide(d2, d_.WheelTeeth));
        const Extended mt = d_.TransverseModule;
        d_.Dedendum = R3(c_[C::DedendumFactor] * mt);
        d_.ThroatRootDiameter = R3(d1 - 2 * static_cast<Extended>(d_.Dedendum));
        d_.WormRootArcRadius = R3(A - static_cast<Extended>(d_.ThroatRootDiameter) / 2);
        line(R::WormRootArcRadius, Format(DecimalRound(d_.WormRootArcRadius, -3)));

        d_.Addendum = R3(c_[C::AddendumFactor] * mt);
        d_.ThroatTipDiameter = ToReal(d1 + 2 * static_cast<Extended>(d_.Addendum));
        d_.WormTipArcRadius = R3(A - static_cast<Extended>(d_.ThroatTipDiameter) / 2 + E);
        line(R::WormTipArcRadius, Format(d_.WormTipArcRadius));

        d_.AngularPitch = R3(Divide(360, d_.WheelTeeth));
        // z2/10 + 0.5 truncated is z2/10 rounded half up.
        const std::int64_t wholeTeeth = TruncateToInteger(Divide(d_.WheelTeeth, 10) + 0.5L);
        d_.EnvelopedTeeth = round_ ? ToReal(wholeTeeth)
                                   : ToReal(wholeTeeth + static_cast<Extended>(c_[C::EnvelopedTeethAddition]));
        d_.WorkingHalfWrapAngle = R3(0.5L * d_.AngularPitch *
                                     (static_cast<Extended>(d_.EnvelopedTeeth) - c_[C::WrapTeethDeduction]));
        d_.WormWorkingLength = R0(d2 * Sin(d_.WorkingHalfWrapAngle) + 1);
        line(R::WormWorkingLength, Format(d_.WormWorkingLength));

        // Stored in a 32-bit field: the low 32 bits of the truncated value.
        d_.ShaftShoulder = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(TruncateToInteger(c_[C::ShaftShoulderFactor] * mt)));
        line(R::ShaftShoulder, FormatInteger(d_.ShaftShoulder));
        line(R::MainBaseDiameter, Format(d_.MainBaseDiameter));

        d_.ThroatLeadAngle = R3(RadiansToDegrees(ArcTangent(Divide(Divide(d2, d_.SpeedRatio), d1))));
        d_.PressureAngle = R3(RadiansToDegrees(ArcSine(Divide(d_.MainBaseDiameter, d2))));
        line(R::PressureAngle, Format(d_.PressureAngle));
        d_.CircularPitch = R3(Pi * mt);

        d_.GeneratingPlaneAngle = ToReal(GeneratingPlaneAngle(d_.RatioClassAngle, d_.PressureAngle,
                                                              d_.WheelPitchDiameter, d_.CentreDistance, d_.SpeedRatio));
        d_.GeneratingPlaneAngleText = Format(DecimalRound(d_.GeneratingPlaneAngle, -3));
        line(R::GeneratingPlaneAngle, d_.GeneratingPlaneAngleText);

        const Extended p = d_.CircularPitch;
        d_.WormAxialThickness = R3(p - c_[C::WheelToothShare] * p - d_.Backlash);
        d_.WormMeasuredThickness = R3(Cos(d_.ThroatLeadAngle) * d_.WormAxialThickness);
        line(R::WormMeasuredThickness, Format(d_.WormMeasuredThickness));
        // The arc sine stays in radians and goes straight into the cosine.
        d_.WormMeasuredHeight = R3(d_.Addendum -
                                   (1 - Cosine(ArcSine(Divide(d_.WormAxialThickness, d2)))) * (0.5L * d2));
        line(R::WormMeasuredHeight, Format(d_.WormMeasuredHeight));

        line(R::TransverseModule, Format(d_.TransverseModule));
        line(R::EnvelopedTeeth, Format(d_.EnvelopedTeeth));
        line(R::WorkingHalfWrapAngle, Format(d_.WorkingHalfWrapAngle));
        line(R::ThroatLeadAngle, Format(d_.ThroatLeadAngle));
    }

    void hobChain() {
        const Extended mt = d_.TransverseModule, d2 = d_.WheelPitchDiameter;

        d_.HobBodyTipArcRadius = R3((d_.WormTipArcRadius - 0.2L * mt) - c_[C::HobTipExtension] * mt);
        line(R::HobBodyTipArcRadius, Format(d_.HobBodyTipArcRadius));
        // Shown from the Extended sum, stored as a double.
        const Extended rootArcRadius = static_cast<Extended>(d_.WormRootArcRadius) + c_[C::HobRootArcAddition];
        d_.HobBodyRootArcRadius = ToReal(rootArcRadius);
        line(R::HobBodyRootArcRadius, Format(rootArcRadius));

        d_.HobEnvelopingTeeth = ToReal(TruncateToInteger(d_.EnvelopedTeeth) +
                                       static_cast<Extended>(c_[C::HobEnvelopingTeethAddition]));
        d_.HobHalfWrapAngle = R3(0.5L * d_.AngularPitch *
                                 (static_cast<Extended>(d_.HobEnvelopingTeeth) - c_[C::HobWrapTeethDeduction]));
        d_.HobEffectiveLength = R0(d2 * Sin(d_.HobHalfWrapAngle) + 0.5L);
        line(R::HobEffectiveLength, Format(d_.HobEffectiveLength));

        const Extended measuredThickness = static_cast<Extended>(d_.WormMeasuredThickness) + d_.Backlash;
        d_.HobMeasuredThickness = ToReal(measuredThickness);
        line(R::HobMeasuredThickness, Format(measuredThickness));
        d_.HobAxialThickness = R3(Divide(measuredThickness, Cos(d_.ThroatLeadAngle)));

        d_.HobMeasuredHeight = R3(0.2L * mt + d_.WormMeasuredHeight + c_[C::HobTipExtension] * mt);
        line(R::HobMeasuredHeight, Format(d_.HobMeasuredHeight));
        line(R::HobEnvelopingTeeth, Format(d_.HobEnvelopingTeeth));
    }

    void wheelChain() {
        const Extended mt = d_.TransverseModule, d2 = d_.WheelPitchDiameter, ha = d_.Addendum;

        d_.WheelMaxOuterDiameter = R0(2 * ha + d2 + c_[C::WheelOuterDiameterAddition] * mt);
        d_.WheelArcThickness = R3(static_cast<Extended>(d_.CircularPitch) * c_[C::WheelToothShare]);
        d_.WheelMeasuredThickness = R3(Cos(d_.ThroatLeadAngle) * d_.WheelArcThickness);
        line(R::WheelMeasuredThickness, Format(d_.WheelMeasuredThickness));
        d_.WheelMeasuredHeight = R3((1 - Cosine(ArcSine(Divide(d_.WheelArcThickness, d2)))) * (0.5L * d2) + ha);
        line(R::WheelMeasuredHeight, Format(d_.WheelMeasuredHeight));
        line(R::WheelMaxOuterDiameter, Format(d_.WheelMaxOuterDiameter));

        d_.RimWorkingWidth = static_cast<std::int32_t>(static_cast<std::uint32_t>(
            TruncateToInteger(static_cast<Extended>(c_[C::RimWidthFactor]) * d_.WormPitchDiameter)));
        line(R::RimWorkingWidth, Format(d_.RimWorkingWidth));
        d_.WheelThroatDiameter = R3(2 * ha + d2);
        line(R::WheelThroatDiameter, Format(d_.WheelThroatDiameter));
    }

    // Largest worm tip diameter, wheel tip arc radius, worm tip width and hob
    // tip width, in this order.
    void lateWormAndWheelSteps() {
        const Extended A = d_.CentreDistance, E = d_.TipArcEccentricity;
        const Extended Ra1 = d_.WormTipArcRadius, Rf1 = d_.WormRootArcRadius;
        const Extended halfLength = static_cast<Extended>(d_.WormWorkingLength) / 2;

        d_.WormMaxTipDiameter = R3(2 * ((A + E) - SquareRoot(Ra1 * Ra1 - halfLength * halfLength)));
        line(R::WormMaxTipDiameter, Format(d_.WormMaxTipDiameter));

        d_.WheelTipArcRadius = R0((A - SquareRoot(Rf1 * Rf1 - halfLength * halfLength)) *
                                  (2 * static_cast<Extended>(c_[C::WheelTipArcFactor])));
        line(R::WheelTipArcRadius, Format(d_.WheelTipArcRadius));

        d_.WormTipWidth = TipWidth(d_.WormAxialThickness, Ra1, d_.WormMeasuredHeight);
        line(R::WormTipWidth, Format(d_.WormTipWidth));

        d_.HobTipWidth = TipWidth(d_.HobAxialThickness, d_.HobBodyTipArcRadius, d_.HobMeasuredHeight);
        line(R::HobTipWidth, Format(d_.HobTipWidth));
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
        d_.GrindingIncrement = ToReal(Parse(in_.GrindingIncrement));
        const Extended delta = d_.GrindingIncrement, mt = d_.TransverseModule;
        const Extended teeth = d_.WheelTeeth + delta;

        d_.ModificationRatio = R3(Divide(teeth, d_.WormStarts));
        d_.ModificationCentreDistance = ToReal(delta * mt / 2 + d_.CentreDistance);
        d_.ModificationPitchDiameter = ToReal(teeth * mt);
        d_.ModificationBaseDiameter = ToReal(Sin(d_.PressureAngle) * d_.ModificationPitchDiameter);
        d_.ModificationPressureAngle = ToReal(
            RadiansToDegrees(ArcSine(Divide(d_.ModificationBaseDiameter, d_.ModificationPitchDiameter))));
        d_.GrindingWheelAngle = ToReal(GeneratingPlaneAngle(d_.RatioClassAngle, d_.ModificationPressureAngle,
                                                            d_.ModificationPitchDiameter, d_.ModificationCentreDistance,
                                                            d_.ModificationRatio));

        line(R::GrindingWheelAngle, Format(DecimalRound(d_.GrindingWheelAngle, -3)));
        line(R::ModificationRatio, Format(d_.ModificationRatio));
        line(R::ModificationCentreDistance, Format(DecimalRound(d_.ModificationCentreDistance, -3)));
        line(R::ModificationBaseDiameter, Format(DecimalRound(d_.ModificationBaseDiameter, -3)));
    }

    const DesignInputs& in_;
    const bool round_;
    const TCoefficientTable& c_;
    const char separator_;
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

CalculationOutcome Calculate(const DesignInputs& inputs, bool roundEnvelopedTeeth,
                             const TCoefficientTable& coefficients, char decimalSeparator,
                             const TWormDesign& previous) {
    CalculationOutcome out{previous, {}, {}};
    out.lines.reserve(kResultCount);
    try {
        Run(inputs, roundEnvelopedTeeth, coefficients, decimalSeparator, out).execute();
    } catch (const RatioMismatch&) {
        out.failure = kRatioMismatchMessage;
    } catch (const NumericError&) {
        out.failure = kInvalidInputMessage;
    }
    return out;
}

}  // namespace wormgear
