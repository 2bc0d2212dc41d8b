// The Calculate operation: parses the inputs, checks the speed ratio, and runs
// the worm, hob, wheel and modification chains in their fixed order. Every
// value is stored to its record field and every line written at its own step,
// so that a failure leaves exactly what was done before it. Before each
// operation that can fail the run notes its step, so a failed outcome names
// the operation that stopped it.
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "calc/design.h"

namespace wormgear {

namespace {

using R = ResultId;
using C = Coefficient;
using S = CalculationStep;

// Throws out of the chains to end a run with the ratio message.
struct RatioMismatch {};

// The longest suffix a line holds (the longest is 35 bytes).
constexpr std::size_t kLongestSuffix = 64;

// Cosines the generating-plane formula took last: the grinding-wheel angle
// often asks for the very arguments of the generating-plane angle again.
struct CosineMemory {
    Extended argument[2] = {0, 0};
    Extended value[2] = {1, 1};  // cos 0

    Extended operator()(int slot, Extended radians) {
        if (radians != argument[slot]) {
            argument[slot] = radians;
            value[slot] = Cosine(radians);
        }
        return value[slot];
    }
};

// The generating-plane formula, noting the two divisions that can fail as
// `centreDistanceStep` and `quotientStep`.
Extended GeneratingPlane(std::int32_t k, Real alpha, Real d, Real a, Real i, CosineMemory& cosine, CalculationStep& at,
                         CalculationStep centreDistanceStep, CalculationStep quotientStep) {
    const Extended ck = cosine(0, (k + static_cast<Extended>(alpha)) * PiOver180);
    const Extended ca = cosine(1, alpha * PiOver180);
    at = centreDistanceStep;
    const Extended numerator = ca * (Divide(Divide(ck * d, a), 2));
    const Extended denominator = (ck - ca * (Divide(d, a) / 2)) * i;
    at = quotientStep;
    return RadiansToDegrees(ArcTangent(Divide(numerator, denominator)));
}

class Run {
 public:
    Run(const DesignInputs& inputs, bool roundEnvelopedTeeth, const TCoefficientTable& table, char separator,
        CalculationOutcome& out)
        : in_(inputs),
          round_(roundEnvelopedTeeth),
          c_(table),
          separator_(separator),
          d_(out.design),
          lines_(out.lines),
          at_(out.failedAt) {}

    void execute() {
        inputs();
        wormChain();
        hobChain();
        wheelChain();
        lateWormAndWheelSteps();
        modificationChain();
        at_ = S::None;
    }

    // Lines written by this run; the outcome's vector may hold more from an
    // earlier one.
    std::size_t written() const { return written_; }

 private:
    // The number text followed by the line's suffix, written over the text of
    // an earlier run where there is one, so that its storage is reused.
    void line(ResultId id, const char* number, std::size_t length) {
        if (written_ == lines_.size()) lines_.emplace_back();
        ResultLine& slot = lines_[written_++];
        const std::size_t suffixLength = SuffixLength(id);
        if (slot.id == id && slot.text.size() == length + suffixLength) {
            // An earlier run wrote this line with a number as long: its suffix is in place.
            std::memcpy(slot.text.data(), number, length);
            return;
        }
        slot.id = id;
        if (suffixLength > kLongestSuffix) throw std::logic_error("a result suffix is longer than a line allows");
        char text[kNumberTextCapacity + kLongestSuffix];
        std::memcpy(text, number, length);
        std::memcpy(text + length, Result(id).suffix, suffixLength);
        slot.text.assign(text, length + suffixLength);
    }
    void line(ResultId id, Extended value) {
        char number[kNumberTextCapacity];
        line(id, number, FormatReal(value, separator_, number));
    }
    void integerLine(ResultId id, std::int32_t value) {
        char number[kNumberTextCapacity];
        line(id, number, FormatInteger(value, number));
    }

    // R3, R2 or R0 of a value that has a line: the integer it scales to is
    // kept, and the line is written from it (the same text FormatReal gives).
    Real rounded(ResultId id, Extended x, int digit) {
        Shown& shown = shown_[static_cast<std::size_t>(id)];
        shown.digit = digit;
        return DecimalRound(ToReal(x), digit, shown.scaled);
    }
    void roundedLine(ResultId id, Real value) {
        const Shown& shown = shown_[static_cast<std::size_t>(id)];
        char number[kNumberTextCapacity];
        line(id, number, FormatRounded(value, shown.scaled, shown.digit, separator_, number));
    }
    // A line that shows a stored value rounded once more to thousandths.
    void thousandthsLine(ResultId id, Real value) {
        std::int64_t scaled;
        const Real shown = DecimalRound(value, -3, scaled);
        char number[kNumberTextCapacity];
        line(id, number, FormatRounded(shown, scaled, -3, separator_, number));
    }

    Real parsed(CalculationStep step, const std::string& text) {
        at_ = step;
        return ToReal(ParseReal(text, separator_));
    }
    std::int32_t parsedInteger(CalculationStep step, const std::string& text) {
        at_ = step;
        return ParseInteger(text);
    }

    static Extended Sin(Extended degrees) { return Sine(DegreesToRadians(degrees)); }
    static Extended Cos(Extended degrees) { return Cosine(DegreesToRadians(degrees)); }
    static Extended Tan(Extended degrees) { return Tangent(DegreesToRadians(degrees)); }

    // Inputs, the speed-ratio check and the ratio class.
    void inputs() {
        d_.CentreDistance = parsed(S::ParseCentreDistance, in_.CentreDistance);
        d_.SpeedRatio = parsed(S::ParseSpeedRatio, in_.SpeedRatio);
        d_.WheelTeeth = parsedInteger(S::ParseWheelTeeth, in_.WheelTeeth);
        d_.WormStarts = parsedInteger(S::ParseWormStarts, in_.WormStarts);

        // z1 = 0 divides here and fails with the catch-all message.
        at_ = S::RatioQuotient;
        const Extended ratio = Divide(d_.WheelTeeth, d_.WormStarts);
        at_ = S::RatioCheck;
        if (!(fabsl(d_.SpeedRatio - ratio) <= 0.001L)) throw RatioMismatch{};

        const Real i = d_.SpeedRatio;
        d_.RatioClassAngle = i < 10 ? 4 : (i > 30 ? 8 : 6);

        d_.MainBaseDiameter = parsed(S::ParseMainBaseDiameter, in_.MainBaseDiameter);
        d_.TipArcEccentricity = parsed(S::ParseTipArcEccentricity, in_.TipArcEccentricity);
        d_.WormPitchDiameter = parsed(S::ParseWormPitchDiameter, in_.WormPitchDiameter);
        d_.Backlash = parsed(S::ParseBacklash, in_.Backlash);
        line(R::TipArcEccentricity, d_.TipArcEccentricity);
    }

    // Worm chain up to the throat lead angle line.
    void wormChain() {
        const Extended A = d_.CentreDistance, d1 = d_.WormPitchDiameter, E = d_.TipArcEccentricity;

        at_ = S::WheelPitchDiameter;
        d_.WheelPitchDiameter = rounded(R::WheelPitchDiameter, 2 * A - d1, -3);
        roundedLine(R::WheelPitchDiameter, d_.WheelPitchDiameter);
        const Extended d2 = d_.WheelPitchDiameter;

        at_ = S::TransverseModule;
        d_.TransverseModule = rounded(R::TransverseModule, Divide(d2, d_.WheelTeeth), -3);
        const Extended mt = d_.TransverseModule;
        at_ = S::Dedendum;
        d_.Dedendum = R3(c_[C::DedendumFactor] * mt);
        at_ = S::ThroatRootDiameter;
        d_.ThroatRootDiameter = R3(d1 - 2 * static_cast<Extended>(d_.Dedendum));
        at_ = S::WormRootArcRadius;
        d_.WormRootArcRadius = R3(A - static_cast<Extended>(d_.ThroatRootDiameter) / 2);
        thousandthsLine(R::WormRootArcRadius, d_.WormRootArcRadius);

        at_ = S::Addendum;
        d_.Addendum = R3(c_[C::AddendumFactor] * mt);
        // d1 + 2 ha stays below the Real range: d1 passed the rounding of d2.
        d_.ThroatTipDiameter = ToReal(d1 + 2 * static_cast<Extended>(d_.Addendum));
        at_ = S::WormTipArcRadius;
        d_.WormTipArcRadius = rounded(R::WormTipArcRadius, A - static_cast<Extended>(d_.ThroatTipDiameter) / 2 + E, -3);
        roundedLine(R::WormTipArcRadius, d_.WormTipArcRadius);

        d_.AngularPitch = R3(Divide(360, d_.WheelTeeth));
        // z2/10 + 0.5 truncated is z2/10 rounded half up.
        const std::int64_t wholeTeeth = TruncateToInteger(Divide(d_.WheelTeeth, 10) + 0.5L);
        d_.EnvelopedTeeth = round_ ? ToReal(wholeTeeth)
                                   : ToReal(wholeTeeth + static_cast<Extended>(c_[C::EnvelopedTeethAddition]));
        at_ = S::WorkingHalfWrapAngle;
        d_.WorkingHalfWrapAngle = rounded(
            R::WorkingHalfWrapAngle,
            0.5L * d_.AngularPitch * (static_cast<Extended>(d_.EnvelopedTeeth) - c_[C::WrapTeethDeduction]), -3);
        d_.WormWorkingLength = rounded(R::WormWorkingLength, d2 * Sin(d_.WorkingHalfWrapAngle) + 1, 0);
        roundedLine(R::WormWorkingLength, d_.WormWorkingLength);

        // Stored in a 32-bit field: the low 32 bits of the truncated value.
        at_ = S::ShaftShoulder;
        d_.ShaftShoulder = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(TruncateToInteger(c_[C::ShaftShoulderFactor] * mt)));
        integerLine(R::ShaftShoulder, d_.ShaftShoulder);
        line(R::MainBaseDiameter, d_.MainBaseDiameter);

        at_ = S::ThroatLeadAngleRatio;
        const Extended ratioQuotient = Divide(d2, d_.SpeedRatio);
        at_ = S::ThroatLeadAngleDivisor;
        d_.ThroatLeadAngle = rounded(R::ThroatLeadAngle, RadiansToDegrees(ArcTangent(Divide(ratioQuotient, d1))), -3);
        cosLeadAngle_ = Cos(d_.ThroatLeadAngle);  // taken three times below
        at_ = S::PressureAngleQuotient;
        const Extended sinAlpha = Divide(d_.MainBaseDiameter, d2);
        at_ = S::PressureAngleArcSine;
        d_.PressureAngle = rounded(R::PressureAngle, RadiansToDegrees(ArcSine(sinAlpha)), -3);
        roundedLine(R::PressureAngle, d_.PressureAngle);
        at_ = S::CircularPitch;
        d_.CircularPitch = R3(Pi * mt);

        d_.GeneratingPlaneAngle = ToReal(GeneratingPlane(d_.RatioClassAngle, d_.PressureAngle, d_.WheelPitchDiameter,
                                                         d_.CentreDistance, d_.SpeedRatio, cosine_, at_,
                                                         S::GeneratingPlaneCentreDistance, S::GeneratingPlaneQuotient));
        std::int64_t scaled;
        const Real shownAngle = DecimalRound(d_.GeneratingPlaneAngle, -3, scaled);
        char number[kNumberTextCapacity];
        const std::size_t length = FormatRounded(shownAngle, scaled, -3, separator_, number);
        d_.GeneratingPlaneAngleText.assign(number, length);
        line(R::GeneratingPlaneAngle, number, length);

        const Extended p = d_.CircularPitch;
        at_ = S::WormAxialThickness;
        d_.WormAxialThickness = R3(p - c_[C::WheelToothShare] * p - d_.Backlash);
        d_.WormMeasuredThickness = rounded(R::WormMeasuredThickness, cosLeadAngle_ * d_.WormAxialThickness, -3);
        roundedLine(R::WormMeasuredThickness, d_.WormMeasuredThickness);
        // The arc sine stays in radians and goes straight into the cosine.
        at_ = S::WormMeasuredHeightArcSine;
        const Extended wormArc = ArcSine(Divide(d_.WormAxialThickness, d2));
        at_ = S::WormMeasuredHeight;
        d_.WormMeasuredHeight = rounded(R::WormMeasuredHeight, d_.Addendum - (1 - Cosine(wormArc)) * (0.5L * d2), -3);
        roundedLine(R::WormMeasuredHeight, d_.WormMeasuredHeight);

        roundedLine(R::TransverseModule, d_.TransverseModule);
        line(R::EnvelopedTeeth, d_.EnvelopedTeeth);
        roundedLine(R::WorkingHalfWrapAngle, d_.WorkingHalfWrapAngle);
        roundedLine(R::ThroatLeadAngle, d_.ThroatLeadAngle);
    }

    void hobChain() {
        const Extended mt = d_.TransverseModule, d2 = d_.WheelPitchDiameter;

        at_ = S::HobBodyTipArcRadius;
        d_.HobBodyTipArcRadius = rounded(R::HobBodyTipArcRadius,
                                         (d_.WormTipArcRadius - 0.2L * mt) - c_[C::HobTipExtension] * mt, -3);
        roundedLine(R::HobBodyTipArcRadius, d_.HobBodyTipArcRadius);
        // Shown from the Extended sum, stored as a double.
        const Extended rootArcRadius = static_cast<Extended>(d_.WormRootArcRadius) + c_[C::HobRootArcAddition];
        d_.HobBodyRootArcRadius = ToReal(rootArcRadius);
        line(R::HobBodyRootArcRadius, rootArcRadius);

        at_ = S::HobEnvelopingTeeth;
        d_.HobEnvelopingTeeth = ToReal(TruncateToInteger(d_.EnvelopedTeeth) +
                                       static_cast<Extended>(c_[C::HobEnvelopingTeethAddition]));
        at_ = S::HobHalfWrapAngle;
        d_.HobHalfWrapAngle = R3(0.5L * d_.AngularPitch *
                                 (static_cast<Extended>(d_.HobEnvelopingTeeth) - c_[C::HobWrapTeethDeduction]));
        d_.HobEffectiveLength = rounded(R::HobEffectiveLength, d2 * Sin(d_.HobHalfWrapAngle) + 0.5L, 0);
        roundedLine(R::HobEffectiveLength, d_.HobEffectiveLength);

        const Extended measuredThickness = static_cast<Extended>(d_.WormMeasuredThickness) + d_.Backlash;
        d_.HobMeasuredThickness = ToReal(measuredThickness);
        line(R::HobMeasuredThickness, measuredThickness);
        at_ = S::HobAxialThickness;
        d_.HobAxialThickness = R3(Divide(measuredThickness, cosLeadAngle_));

        at_ = S::HobMeasuredHeight;
        d_.HobMeasuredHeight = rounded(R::HobMeasuredHeight,
                                       0.2L * mt + d_.WormMeasuredHeight + c_[C::HobTipExtension] * mt, -3);
        roundedLine(R::HobMeasuredHeight, d_.HobMeasuredHeight);
        line(R::HobEnvelopingTeeth, d_.HobEnvelopingTeeth);
    }

    void wheelChain() {
        const Extended mt = d_.TransverseModule, d2 = d_.WheelPitchDiameter, ha = d_.Addendum;

        at_ = S::WheelMaxOuterDiameter;
        d_.WheelMaxOuterDiameter = rounded(R::WheelMaxOuterDiameter,
                                           2 * ha + d2 + c_[C::WheelOuterDiameterAddition] * mt, 0);
        at_ = S::WheelArcThickness;
        d_.WheelArcThickness = R3(static_cast<Extended>(d_.CircularPitch) * c_[C::WheelToothShare]);
        d_.WheelMeasuredThickness = rounded(R::WheelMeasuredThickness, cosLeadAngle_ * d_.WheelArcThickness, -3);
        roundedLine(R::WheelMeasuredThickness, d_.WheelMeasuredThickness);
        at_ = S::WheelMeasuredHeightArcSine;
        const Extended wheelArc = ArcSine(Divide(d_.WheelArcThickness, d2));
        at_ = S::WheelMeasuredHeight;
        d_.WheelMeasuredHeight = rounded(R::WheelMeasuredHeight, (1 - Cosine(wheelArc)) * (0.5L * d2) + ha, -3);
        roundedLine(R::WheelMeasuredHeight, d_.WheelMeasuredHeight);
        roundedLine(R::WheelMaxOuterDiameter, d_.WheelMaxOuterDiameter);

        at_ = S::RimWorkingWidth;
        d_.RimWorkingWidth = static_cast<std::int32_t>(static_cast<std::uint32_t>(
            TruncateToInteger(static_cast<Extended>(c_[C::RimWidthFactor]) * d_.WormPitchDiameter)));
        line(R::RimWorkingWidth, d_.RimWorkingWidth);
        at_ = S::WheelThroatDiameter;
        d_.WheelThroatDiameter = rounded(R::WheelThroatDiameter, 2 * ha + d2, -3);
        roundedLine(R::WheelThroatDiameter, d_.WheelThroatDiameter);
    }

    // Largest worm tip diameter, wheel tip arc radius, worm tip width and hob
    // tip width, in this order.
    void lateWormAndWheelSteps() {
        const Extended A = d_.CentreDistance, E = d_.TipArcEccentricity;
        const Extended Ra1 = d_.WormTipArcRadius, Rf1 = d_.WormRootArcRadius;
        const Extended halfLength = static_cast<Extended>(d_.WormWorkingLength) / 2;

        at_ = S::WormMaxTipDiameterRoot;
        const Extended tipRoot = SquareRoot(Ra1 * Ra1 - halfLength * halfLength);
        at_ = S::WormMaxTipDiameter;
        d_.WormMaxTipDiameter = rounded(R::WormMaxTipDiameter, 2 * ((A + E) - tipRoot), -3);
        roundedLine(R::WormMaxTipDiameter, d_.WormMaxTipDiameter);

        at_ = S::WheelTipArcRoot;
        const Extended rootRoot = SquareRoot(Rf1 * Rf1 - halfLength * halfLength);
        at_ = S::WheelTipArcRadius;
        d_.WheelTipArcRadius = rounded(R::WheelTipArcRadius,
                                       (A - rootRoot) * (2 * static_cast<Extended>(c_[C::WheelTipArcFactor])), 0);
        roundedLine(R::WheelTipArcRadius, d_.WheelTipArcRadius);

        d_.WormTipWidth = TipWidth(R::WormTipWidth, d_.WormAxialThickness, d_.WormTipArcRadius, d_.WormMeasuredHeight,
                                   S::WormTipWidthQuotient, S::WormTipWidth);
        roundedLine(R::WormTipWidth, d_.WormTipWidth);

        d_.HobTipWidth = TipWidth(R::HobTipWidth, d_.HobAxialThickness, d_.HobBodyTipArcRadius, d_.HobMeasuredHeight,
                                  S::HobTipWidthQuotient, S::HobTipWidth);
        roundedLine(R::HobTipWidth, d_.HobTipWidth);
    }

    // Tooth tip width from the axial thickness, the tip arc radius and the
    // measuring height, rounded to hundredths.
    Real TipWidth(ResultId id, Real axialThickness, Real tipArcRadius, Real measuredHeight,
                  CalculationStep quotientStep, CalculationStep roundingStep) {
        const Extended halfThickness = static_cast<Extended>(axialThickness) / 2;
        at_ = quotientStep;
        const Extended theta = RadiansToDegrees(ArcTangent(
            Divide(halfThickness, static_cast<Extended>(tipArcRadius) - d_.TipArcEccentricity + measuredHeight)));
        at_ = roundingStep;
        return rounded(id, 2 * (halfThickness - measuredHeight * Tan(theta + d_.PressureAngle)), -2);
    }

    void modificationChain() {
        d_.GrindingIncrement = parsed(S::ParseGrindingIncrement, in_.GrindingIncrement);
        const Extended delta = d_.GrindingIncrement, mt = d_.TransverseModule;
        const Extended teeth = d_.WheelTeeth + delta;

        at_ = S::ModificationRatio;
        d_.ModificationRatio = rounded(R::ModificationRatio, Divide(teeth, d_.WormStarts), -3);
        // Neither can leave the Real range once the ratio is in range.
        d_.ModificationCentreDistance = ToReal(delta * mt / 2 + d_.CentreDistance);
        d_.ModificationPitchDiameter = ToReal(teeth * mt);
        d_.ModificationBaseDiameter = ToReal(Sin(d_.PressureAngle) * d_.ModificationPitchDiameter);
        at_ = S::ModificationPressureAngle;
        d_.ModificationPressureAngle = ToReal(
            RadiansToDegrees(ArcSine(Divide(d_.ModificationBaseDiameter, d_.ModificationPitchDiameter))));
        d_.GrindingWheelAngle = ToReal(
            GeneratingPlane(d_.RatioClassAngle, d_.ModificationPressureAngle, d_.ModificationPitchDiameter,
                            d_.ModificationCentreDistance, d_.ModificationRatio, cosine_, at_,
                            S::GrindingWheelAngleCentreDistance, S::GrindingWheelAngleQuotient));

        thousandthsLine(R::GrindingWheelAngle, d_.GrindingWheelAngle);
        roundedLine(R::ModificationRatio, d_.ModificationRatio);
        thousandthsLine(R::ModificationCentreDistance, d_.ModificationCentreDistance);
        thousandthsLine(R::ModificationBaseDiameter, d_.ModificationBaseDiameter);
    }

    const DesignInputs& in_;
    const bool round_;
    const TCoefficientTable& c_;
    const char separator_;
    TWormDesign& d_;
    std::vector<ResultLine>& lines_;
    CalculationStep& at_;
    std::size_t written_ = 0;
    Extended cosLeadAngle_ = 0;  // cos(gamma)
    CosineMemory cosine_;
    struct Shown {
        std::int64_t scaled = 0;
        int digit = 0;
    };
    std::array<Shown, kResultCount> shown_{};
};

}  // namespace

Extended GeneratingPlaneAngle(std::int32_t k, Real alpha, Real d, Real a, Real i) {
    CosineMemory cosine;
    CalculationStep ignored = CalculationStep::None;
    return GeneratingPlane(k, alpha, d, a, i, cosine, ignored, CalculationStep::None, CalculationStep::None);
}

void CalculateInto(CalculationOutcome& out, const DesignInputs& inputs, bool roundEnvelopedTeeth,
                   const TCoefficientTable& coefficients, char decimalSeparator) {
    out.failure.clear();
    Run run(inputs, roundEnvelopedTeeth, coefficients, decimalSeparator, out);
    try {
        run.execute();
    } catch (const RatioMismatch&) {
        out.failure = kRatioMismatchMessage;
    } catch (const NumericError&) {
        out.failure = kInvalidInputMessage;
    }
    out.lines.resize(run.written());  // drops the lines of an earlier, longer run
}

std::string ResultLineText(const ResultLine& line, const Translate& translate) {
    if (!translate) return line.text;
    const ResultDescription& result = Result(line.id);
    std::string text(line.number());
    text.append(static_cast<std::size_t>(result.hyphens), '-');
    text += ResultName(result, translate);
    return text;
}

std::string CalculationMessage(const std::string& failure, const Translate& translate) {
    if (failure.empty()) return failure;
    return Translated(translate, kCalculationContext, failure.c_str());
}

CalculationOutcome Calculate(const DesignInputs& inputs, bool roundEnvelopedTeeth,
                             const TCoefficientTable& coefficients, char decimalSeparator,
                             const TWormDesign& previous) {
    CalculationOutcome out;
    out.design = previous;
    out.lines.reserve(kResultCount);
    CalculateInto(out, inputs, roundEnvelopedTeeth, coefficients, decimalSeparator);
    return out;
}

}  // namespace wormgear
