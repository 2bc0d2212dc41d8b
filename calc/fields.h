// The thirteen input texts of a design, by meaning: what the window's fields
// hold, what a design file stores (rows 1 to 13 in this order), what the
// sheets take and what wormcalc's options set. The window's default texts
// are the member initialisers, written with '.'; DefaultInputs gives them in
// the user's notation.
//
//   DesignInputs in;                 // WormStarts "1", Backlash "0.3", ...
//   DefaultInputs(',').Backlash      // "0,3"
//   FieldText(in, DesignField::CentreDistance) = "200";
//   DesignFields()[0].option         // "centre-distance"
//   FieldName(DesignFields()[0], translate)  // "中心距", in English "centre distance"
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "calc/translate.h"

namespace wormgear {

struct DesignInputs {
    std::string CentreDistance;                        // A, mm
    std::string SpeedRatio;                            // i
    std::string WheelTeeth;                            // z2
    std::string WormStarts = "1";                      // z1
    std::string MainBaseDiameter;                      // Db, mm
    std::string TipArcEccentricity = "0";              // E, mm
    std::string WormPitchDiameter;                     // d1, mm
    std::string Backlash = "0.3";                      // jn, mm
    std::string WormAccuracy = "8j (GB/T16445-1996)";  // worm accuracy grade, a text
    std::string HobAccuracy = "8j (GB/T16445-1996)";   // hob accuracy grade, a text
    std::string EntranceRelief = "0.3*P/2";            // a text
    std::string ExitRelief = "0.2*P/2";                // a text
    std::string GrindingIncrement = "0.2";             // Δ, teeth
};

// The fields in their one order: the window's rows, the design file's rows.
enum class DesignField {
    CentreDistance,
    SpeedRatio,
    WheelTeeth,
    WormStarts,
    MainBaseDiameter,
    TipArcEccentricity,
    WormPitchDiameter,
    Backlash,
    WormAccuracy,
    HobAccuracy,
    EntranceRelief,
    ExitRelief,
    GrindingIncrement,
};
inline constexpr int kDesignFieldCount = 13;

struct DesignFieldDescription {
    DesignField field;
    std::string DesignInputs::*text;
    const char* option;  // wormcalc's long option and batch key: "centre-distance"
    const char* symbol;  // "A"; "" for the texts that have none
    const char* name;    // Chinese name, the catalogue's key in wormgear::Fields: "中心距"
    const char* unit;    // "mm", "°", "齿" (translated in wormgear::Fields) or ""
    bool calculated;     // read by the calculation (the other four only travel to sheets and files)
};

// The thirteen fields in their order.
const std::array<DesignFieldDescription, kDesignFieldCount>& DesignFields();

inline std::string& FieldText(DesignInputs& inputs, DesignField field) {
    return inputs.*DesignFields()[static_cast<int>(field)].text;
}
inline const std::string& FieldText(const DesignInputs& inputs, DesignField field) {
    return inputs.*DesignFields()[static_cast<int>(field)].text;
}

// The default texts with `decimalSeparator` in the numbers the calculation
// reads ("0.3" -> "0,3"); the texts it does not read ("0.3*P/2", the grades)
// stay as they are.
DesignInputs DefaultInputs(char decimalSeparator);

// The field's name in the output's language: "中心距", or "centre distance"
// through the English catalogue.
std::string FieldName(const DesignFieldDescription& field, const Translate& translate);

// The field whose option is `option` ("teeth" -> WheelTeeth), or nullptr.
const DesignFieldDescription* FieldByOption(std::string_view option);

}  // namespace wormgear
