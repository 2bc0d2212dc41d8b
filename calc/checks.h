// Design checks: why a calculation failed, whether the calculated pair can be
// made, and where it leaves the usual ranges of the input hints. A pure
// function of the input texts, the coefficients and the calculation's
// outcome; it never changes a result text or a message of the calculation,
// it only explains them.
//
// Each finding has a severity, a stable code ("pressure-angle-undefined"),
// the fields it concerns (DesignFields() order; their long option names are
// the machine names), the values involved, and a message and, where one
// exists, a suggestion. Both texts are kept as data in one table, in Chinese
// (the catalogue gives their English), and are filled in when asked:
//
//   const CalculationOutcome outcome = Calculate(inputs, false, table, separator, record);
//   const std::vector<Finding> findings = CheckDesign(inputs, table, outcome, separator);
//   // Db = 400 with d2 = 322 fails; beneath the calculation's own message the
//   // window lists the causes, the worst first:
//   for (const Finding& finding : findings) {
//       if (finding.severity() != Severity::Error) break;
//       causes += FindingMessage(finding, {}, separator);  // {}: Chinese
//       // "主基圆直径 Db = 400 超出蜗轮分度圆直径 d2 = 322（d2 = 2A − d1）：
//       //  压力角 α = asin(Db/d2) 无定义（须 |Db| ≤ d2）"
//   }
//   // A status line after a successful calculation shows CountBySeverity and
//   // the message of Worst(findings); a findings window every finding with
//   // FindingSuggestion, and Describe(finding.code).fields marks the fields.
//
// A batch or sweep keeps one vector and calls the form that fills it, which
// reuses the vector's room from design to design.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/design.h"
#include "calc/translate.h"

namespace wormgear {

enum class Severity : std::uint8_t {
    Info,     // worth knowing, nothing to change
    Warning,  // outside the usual range of a hint
    Error,    // the design cannot be calculated or cannot be made
};
const char* SeverityName(Severity severity);  // "info", "warning", "error"

// Words for listing findings as text, in the output's language: the title
// ("设计检查"), each severity ("错误", "警告", "提示") and the lead of a
// suggestion ("建议").
std::string ChecksTitle(const Translate& translate);
std::string SeverityWord(Severity severity, const Translate& translate);
std::string SuggestionWord(const Translate& translate);
// The mark on whatever is made of a design whose checks found an error, when
// the designer makes it anyway: "设计检查有错误" (and in the output's language).
inline constexpr const char* kChecksErrorMark = QT_TRANSLATE_NOOP("wormgear::Checks", "设计检查有错误");
std::string ChecksErrorMark(const Translate& translate);

// Every check, by the stable code its description gives (Describe(code).id).
enum class CheckCode : std::uint8_t {
    // a field the calculation cannot read
    CentreDistanceEmpty,
    CentreDistanceNotANumber,
    CentreDistanceTooLarge,
    SpeedRatioEmpty,
    SpeedRatioNotANumber,
    SpeedRatioTooLarge,
    TeethEmpty,
    TeethNotAWholeNumber,
    StartsEmpty,
    StartsNotAWholeNumber,
    BaseDiameterEmpty,
    BaseDiameterNotANumber,
    BaseDiameterTooLarge,
    EccentricityEmpty,
    EccentricityNotANumber,
    EccentricityTooLarge,
    PitchDiameterEmpty,
    PitchDiameterNotANumber,
    PitchDiameterTooLarge,
    BacklashEmpty,
    BacklashNotANumber,
    BacklashTooLarge,
    GrindingIncrementEmpty,
    GrindingIncrementNotANumber,
    GrindingIncrementTooLarge,
    // the speed-ratio check
    StartsZero,
    RatioMismatch,
    // the chains, in the order of the run: one code per operation that can fail
    WheelPitchDiameterOutOfRange,
    TeethZero,
    DedendumOutOfRange,
    ThroatRootDiameterOutOfRange,
    RootArcRadiusOutOfRange,
    AddendumOutOfRange,
    TipArcRadiusOutOfRange,
    HalfWrapAngleOutOfRange,
    ShaftShoulderOutOfRange,
    LeadAngleRatioZero,
    LeadAnglePitchDiameterZero,
    WheelPitchDiameterZero,
    PressureAngleUndefined,
    CircularPitchOutOfRange,
    GeneratingPlaneCentreDistanceZero,
    GeneratingPlaneUndefined,
    AxialThicknessOutOfRange,
    WormMeasuringHeightUndefined,
    WormMeasuringHeightOutOfRange,
    HobTipArcRadiusOutOfRange,
    HobEnvelopingTeethOutOfRange,
    HobHalfWrapAngleOutOfRange,
    HobAxialThicknessOutOfRange,
    HobMeasuringHeightOutOfRange,
    WheelOuterDiameterOutOfRange,
    WheelArcThicknessOutOfRange,
    WheelMeasuringHeightUndefined,
    WheelMeasuringHeightOutOfRange,
    RimWidthOutOfRange,
    WheelThroatDiameterOutOfRange,
    WormTipDiameterUndefined,
    WormTipDiameterOutOfRange,
    WheelTipArcUndefined,
    WheelTipArcRadiusOutOfRange,
    WormTipWidthUndefined,
    WormTipWidthOutOfRange,
    HobTipWidthUndefined,
    HobTipWidthOutOfRange,
    ModificationRatioOutOfRange,
    ModificationTeethZero,
    GrindingWheelCentreDistanceZero,
    GrindingWheelAngleUndefined,
    // inputs no pair can have
    CentreDistanceNotPositive,
    SpeedRatioNotPositive,
    TeethNotPositive,
    StartsNegative,
    BaseDiameterNotPositive,
    PitchDiameterNotPositive,
    // a calculated pair that cannot be made
    WormTipWidthNotPositive,
    HobTipWidthNotPositive,
    WormMeasuringThicknessNotPositive,
    WormMeasuringHeightNotPositive,
    HobMeasuringThicknessNotPositive,
    HobMeasuringHeightNotPositive,
    WheelMeasuringThicknessNotPositive,
    WheelMeasuringHeightNotPositive,
    GeneratingPlaneAngleNotPositive,
    GrindingWheelAngleNotPositive,
    // the usual ranges of the hints
    BaseDiameterShareOutsideHint,
    PitchDiameterFactorOutsideHint,
    EccentricityAboveRatioTen,
    EccentricityOutsideHint,
    BacklashOutsideHint,
    BacklashWithoutHint,
};
inline constexpr int kCheckCodeCount = static_cast<int>(CheckCode::BacklashWithoutHint) + 1;

// A set of fields, one bit per DesignField.
using FieldSet = std::uint16_t;
constexpr FieldSet FieldBit(DesignField field) { return static_cast<FieldSet>(1u << static_cast<unsigned>(field)); }

// What a check is, once for every finding of its code.
struct CheckDescription {
    CheckCode code;
    const char* id;  // the stable code: "pressure-angle-undefined"
    Severity severity;
    FieldSet fields;         // the fields it concerns
    const char* numbers;     // names of its values, blank-separated: "Db d2 A d1"
    const char* texts;       // names of its texts: "typed proposal"
    const char* message;     // Chinese, the catalogue's key; "{Db}" stands for the value named Db
    const char* suggestion;  // "" where there is none
};

// Every check in CheckCode order.
const std::array<CheckDescription, kCheckCodeCount>& CheckDescriptions();
inline const CheckDescription& Describe(CheckCode code) { return CheckDescriptions()[static_cast<int>(code)]; }

// The description whose id is `id`, or nullptr.
const CheckDescription* CheckById(std::string_view id);

// The fields of a set, in DesignFields() order.
std::vector<DesignField> FieldsOf(FieldSet fields);

inline constexpr int kFindingNumbers = 8;
inline constexpr int kFindingTexts = 2;

// One finding: its code and the values its texts name, in the order of the
// description's names.
struct Finding {
    CheckCode code{};
    std::array<Extended, kFindingNumbers> numbers{};
    std::array<std::string, kFindingTexts> texts;  // what was typed, a proposal, a band ...

    Severity severity() const { return Describe(code).severity; }
    const char* id() const { return Describe(code).id; }
};

// The findings of one calculated design, the worst first; within a severity
// in the order of the run. `separator` is the calculation's.
std::vector<Finding> CheckDesign(const DesignInputs& inputs, const TCoefficientTable& coefficients,
                                 const CalculationOutcome& outcome, char separator);
void CheckDesign(const DesignInputs& inputs, const TCoefficientTable& coefficients, const CalculationOutcome& outcome,
                 char separator, std::vector<Finding>& findings);

// The worst finding, or nullptr when there is none.
const Finding* Worst(const std::vector<Finding>& findings);

// Whether a finding is an error: the design cannot be calculated or made as
// it stands. Findings come worst first, so the first one tells.
bool HasErrors(const std::vector<Finding>& findings);

// How many findings there are of each severity, for a status line.
struct SeverityCounts {
    int errors = 0, warnings = 0, infos = 0;
};
SeverityCounts CountBySeverity(const std::vector<Finding>& findings);

// The message and the suggestion ("" where there is none) in the output's
// language (Chinese for an empty `translate`), numbers written with
// `separator` as FormatReal writes them. The form is translated, then filled.
std::string FindingMessage(const Finding& finding, const Translate& translate, char separator);
std::string FindingSuggestion(const Finding& finding, const Translate& translate, char separator);
// The same into `out` (emptied first), reusing its room: a batch's form.
void FindingMessageInto(std::string& out, const Finding& finding, const Translate& translate, char separator);
void FindingSuggestionInto(std::string& out, const Finding& finding, const Translate& translate, char separator);

// The values a finding names, in its description's order: ("Db", 400), ("d2", 322).
struct FindingValue {
    std::string_view name;
    Extended number;
};
std::vector<FindingValue> FindingValues(const Finding& finding);
// The same into `values`, reusing its room.
void FindingValues(const Finding& finding, std::vector<FindingValue>& values);

}  // namespace wormgear
