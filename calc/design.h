// The design record, the coefficient table and the calculation core: the
// input texts, the round-to-integer state and fifteen coefficients in; the
// filled record and the result lines out, or one of the two failure messages.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/fields.h"
#include "calc/language.h"
#include "calc/numeric.h"
#include "calc/results.h"

namespace wormgear {

// Every input of the calculation and every value it derives. Reals are
// doubles, counts 32-bit integers; all zero (and the text empty) before the
// first calculation.
struct TWormDesign {
    Real CentreDistance = 0;           // A, mm
    Real SpeedRatio = 0;               // i
    std::int32_t WheelTeeth = 0;       // z2
    std::int32_t WormStarts = 0;       // z1
    std::int32_t RatioClassAngle = 0;  // k: 4, 6 or 8 degrees
    Real MainBaseDiameter = 0;         // Db, mm
    Real TipArcEccentricity = 0;       // E, mm
    Real WormPitchDiameter = 0;        // d1, mm
    Real Backlash = 0;                 // jn, mm
    // worm
    Real WheelPitchDiameter = 0;    // d2
    Real TransverseModule = 0;      // mt
    Real Dedendum = 0;              // hf
    Real ThroatRootDiameter = 0;    // df1
    Real WormRootArcRadius = 0;     // Rf1
    Real Addendum = 0;              // ha
    Real ThroatTipDiameter = 0;     // da1
    Real WormTipArcRadius = 0;      // Ra1
    Real AngularPitch = 0;          // tau, degrees
    Real EnvelopedTeeth = 0;        // K
    Real WorkingHalfWrapAngle = 0;  // phi, degrees
    Real WormWorkingLength = 0;     // L
    std::int32_t ShaftShoulder = 0;
    Real ThroatLeadAngle = 0;              // gamma, degrees
    Real PressureAngle = 0;                // alpha, degrees
    Real CircularPitch = 0;                // p
    Real GeneratingPlaneAngle = 0;         // beta, degrees, unrounded
    std::string GeneratingPlaneAngleText;  // FormatReal of R3(beta)
    Real WormAxialThickness = 0;           // sx1
    Real WormMeasuredThickness = 0;        // sn1
    Real WormMeasuredHeight = 0;           // h1
    Real WormMaxTipDiameter = 0;
    Real WormTipWidth = 0;
    // hob
    Real HobBodyTipArcRadius = 0;  // Ra0
    Real HobBodyRootArcRadius = 0;
    Real HobEnvelopingTeeth = 0;  // K0
    Real HobHalfWrapAngle = 0;    // phi0
    Real HobEffectiveLength = 0;  // L0
    Real HobMeasuredThickness = 0;
    Real HobAxialThickness = 0;  // sx0
    Real HobMeasuredHeight = 0;  // h0
    Real HobTipWidth = 0;
    // wheel
    Real WheelMaxOuterDiameter = 0;  // de2
    Real WheelArcThickness = 0;      // s2
    Real WheelMeasuredThickness = 0;
    Real WheelMeasuredHeight = 0;
    std::int32_t RimWorkingWidth = 0;  // b2
    Real WheelThroatDiameter = 0;
    Real WheelTipArcRadius = 0;
    // worm modification
    Real GrindingIncrement = 0;           // delta, teeth
    Real ModificationRatio = 0;           // im
    Real ModificationCentreDistance = 0;  // Am, unrounded
    Real ModificationPitchDiameter = 0;   // d2m
    Real ModificationBaseDiameter = 0;    // Dbm, unrounded
    Real ModificationPressureAngle = 0;   // alpha m
    Real GrindingWheelAngle = 0;          // beta m, unrounded
};

inline constexpr int kCoefficientCount = 15;

// What each calculation-rule coefficient does, by its place in the table.
enum class Coefficient {
    PitchDiameterExponent = 0,        // exponent of A in the proposed worm pitch diameter
    DedendumFactor = 1,               // hf = R3(c * mt)
    AddendumFactor = 2,               // ha = R3(c * mt)
    WrapTeethDeduction = 3,           // teeth deducted from K in the working half wrap angle
    Spare = 4,                        // read into the table, used by no calculation
    WheelToothShare = 5,              // share of the circular pitch given to the wheel tooth
    ShaftShoulderFactor = 6,          // shaft shoulder in modules, truncated
    EnvelopedTeethAddition = 7,       // added to the rounded K unless 取整数 is ticked
    HobTipExtension = 8,              // hob tip extension in modules beyond a fixed 0.2 module
    HobRootArcAddition = 9,           // mm from Rf1 to the hob body root arc radius
    HobWrapTeethDeduction = 10,       // teeth deducted from K0 in the hob half wrap angle
    HobEnvelopingTeethAddition = 11,  // added to the truncated K for K0
    WheelTipArcFactor = 12,           // factor of the wheel tip arc radius
    WheelOuterDiameterAddition = 13,  // modules added to the wheel throat diameter for de2
    RimWidthFactor = 14,              // b2 as a multiple of d1, truncated
};

// The calculation-rule coefficients c[0] .. c[14], one per row of the store.
struct TCoefficientTable {
    std::array<Real, kCoefficientCount> c{};

    Real operator[](Coefficient role) const { return c[static_cast<std::size_t>(role)]; }
};

// One line of a result panel: which result it is and its text.
struct ResultLine {
    ResultId id;
    std::string text;  // "322-----蜗轮分度圆直径"

    const char* label() const { return Result(id).label; }  // "Label23"
    // The number text alone: "322".
    std::string_view number() const { return std::string_view(text).substr(0, text.size() - SuffixLength(id)); }
};

// The line in the output's language: the text itself in Chinese (an empty
// `translate`); else the same number and hyphens before the translated name,
// "322-----wheel pitch diameter".
std::string ResultLineText(const ResultLine& line, const Translate& translate);

// The two messages a calculation can end with (context wormgear::Calculation).
inline constexpr const char* kRatioMismatchMessage = QT_TRANSLATE_NOOP("wormgear::Calculation",
                                                                       "输入参数不正确......（速比=齿数/头数）");
inline constexpr const char* kInvalidInputMessage = QT_TRANSLATE_NOOP(
    "wormgear::Calculation", "您输入的内容不符合要求......（只能输入合法数字，且不能为空）");
// `failure` (one of the two messages, or empty) in the output's language.
std::string CalculationMessage(const std::string& failure, const Translate& translate);

// Every operation of a run that can fail, in the order the run reaches them.
// A failed run names the one that stopped it (the design checks explain it to
// the designer); the name says what is computed there.
enum class CalculationStep : std::uint8_t {
    None,  // the run completed
    // inputs and the speed-ratio check
    ParseCentreDistance,
    ParseSpeedRatio,
    ParseWheelTeeth,
    ParseWormStarts,
    RatioQuotient,  // z2 / z1
    RatioCheck,     // |i - z2/z1| > 0.001: the ratio message
    ParseMainBaseDiameter,
    ParseTipArcEccentricity,
    ParseWormPitchDiameter,
    ParseBacklash,
    // worm chain; a quantity's name alone is the rounding (or truncation,
    // or storing) of its value, which fails when the value is out of range
    WheelPitchDiameter,             // R3(2A - d1)
    TransverseModule,               // d2 / z2
    Dedendum,                       // R3(c1 mt)
    ThroatRootDiameter,             // R3(d1 - 2 hf)
    WormRootArcRadius,              // R3(A - df1/2)
    Addendum,                       // R3(c2 mt)
    WormTipArcRadius,               // R3(A - da1/2 + E)
    WorkingHalfWrapAngle,           // R3(0.5 tau (K - c3))
    ShaftShoulder,                  // T(c6 mt)
    ThroatLeadAngleRatio,           // d2 / i
    ThroatLeadAngleDivisor,         // (d2 / i) / d1
    PressureAngleQuotient,          // Db / d2
    PressureAngleArcSine,           // asin(Db / d2)
    CircularPitch,                  // R3(pi mt)
    GeneratingPlaneCentreDistance,  // (ck d) / A
    GeneratingPlaneQuotient,        // numerator / denominator
    WormAxialThickness,             // R3(p - c5 p - jn)
    WormMeasuredHeightArcSine,      // asin(sx1 / d2)
    WormMeasuredHeight,             // R3(ha - (1 - cos(asin(sx1 / d2))) 0.5 d2)
    // hob chain
    HobBodyTipArcRadius,  // R3((Ra1 - 0.2 mt) - c8 mt)
    HobEnvelopingTeeth,   // T(K)
    HobHalfWrapAngle,     // R3(0.5 tau (K0 - c10))
    HobAxialThickness,    // R3((sn1 + jn) / cos gamma)
    HobMeasuredHeight,    // R3(0.2 mt + h1 + c8 mt)
    // wheel chain
    WheelMaxOuterDiameter,       // R0(2 ha + d2 + c13 mt)
    WheelArcThickness,           // R3(p c5)
    WheelMeasuredHeightArcSine,  // asin(s2 / d2)
    WheelMeasuredHeight,         // R3((1 - cos(asin(s2 / d2))) 0.5 d2 + ha)
    RimWorkingWidth,             // T(c14 d1)
    WheelThroatDiameter,         // R3(2 ha + d2)
    // the late steps
    WormMaxTipDiameterRoot,  // sqrt(Ra1^2 - (L/2)^2)
    WormMaxTipDiameter,      // R3(2 ((A + E) - root))
    WheelTipArcRoot,         // sqrt(Rf1^2 - (L/2)^2)
    WheelTipArcRadius,       // R0((A - root) 2 c12)
    WormTipWidthQuotient,    // (sx1/2) / (Ra1 - E + h1)
    WormTipWidth,            // R2(2 (sx1/2 - h1 tan(theta + alpha)))
    HobTipWidthQuotient,     // (sx0/2) / (Ra0 - E + h0)
    HobTipWidth,             // R2(2 (sx0/2 - h0 tan(theta0 + alpha)))
    // modification chain
    ParseGrindingIncrement,
    ModificationRatio,                 // R3((z2 + delta) / z1)
    ModificationPressureAngle,         // Dbm / d2m
    GrindingWheelAngleCentreDistance,  // (ck d2m) / Am
    GrindingWheelAngleQuotient,        // numerator / denominator
};

struct CalculationOutcome {
    // The record as the run left it: on failure, the fields stored before the
    // failing step hold their new values and the rest keep the values of the
    // record passed in.
    TWormDesign design;
    // Lines in the order they were written; on failure only those written
    // before the failing step.
    std::vector<ResultLine> lines;
    // Empty on success, else one of the two messages above.
    std::string failure;
    // Where a failed run stopped; None on success.
    CalculationStep failedAt = CalculationStep::None;

    bool succeeded() const { return failure.empty(); }
};

// Runs the whole calculation on the nine texts it reads of `inputs`, numbers
// read and written with `decimalSeparator`. `previous` is the record of the
// last calculation: a failing run keeps what it did not overwrite.
CalculationOutcome Calculate(const DesignInputs& inputs, bool roundEnvelopedTeeth,
                             const TCoefficientTable& coefficients, char decimalSeparator,
                             const TWormDesign& previous = TWormDesign{});

// The same run into an outcome the caller keeps: its record plays the part of
// `previous`, and its lines are rewritten in place, so from the second run on
// nothing is allocated (a batch or sweep calculates each design this way):
//
//   CalculationOutcome outcome;
//   for (const DesignInputs& texts : designs) {
//       CalculateInto(outcome, texts, false, table, '.');
//       use(outcome.lines);
//   }
void CalculateInto(CalculationOutcome& outcome, const DesignInputs& inputs, bool roundEnvelopedTeeth,
                   const TCoefficientTable& coefficients, char decimalSeparator);

// The generating-plane inclination in degrees, unrounded, for an integer angle
// k, a pressure angle alpha (degrees), a pitch diameter d, a centre distance a
// and a ratio i.
Extended GeneratingPlaneAngle(std::int32_t k, Real alpha, Real d, Real a, Real i);

}  // namespace wormgear
