// Proposals for the main base circle and the worm pitch diameter while the
// centre distance is typed, and the coefficient read-outs under both fields.
// Each function reads field texts and returns the text to show, numbers read
// and written with `separator`, or throws one of the numeric errors (the
// window shows its one message for all of them).
#pragma once

#include <string>

#include "calc/numeric.h"
#include "calc/translate.h"

namespace wormgear {

// Rules of thumb, each the Extended value nearest its decimal. The one for
// 0.65 lies just below 0.65: that is why A = 710 proposes 461, not 462.
inline constexpr Extended kBaseDiameterShare = 0.65L;
inline constexpr Extended kPitchDiameterFactor = 0.76L;

// The one message of a failing suggestion handler (context wormgear::Calculation).
inline constexpr const char* kSuggestionMessage = QT_TRANSLATE_NOOP("wormgear::Calculation",
                                                                    "数字输入有误,请核实.........");

// Edit5 proposal: RoundNearest(A * 0.65), a whole number written by
// FormatReal: "292" for A = 450, "6.5E15" for A = 1E16.
std::string ProposeMainBaseDiameter(const std::string& centreDistanceText, char separator);
// Edit7 proposal: R3(A^c0 * 0.76), "159.358" for A = 450, c0 = 0.875.
std::string ProposeWormPitchDiameter(const std::string& centreDistanceText, Real exponent, char separator);
// Label46: Db / A, "0.648888888888889" for 292 and 450.
std::string MainBaseDiameterShare(const std::string& baseDiameterText, const std::string& centreDistanceText,
                                  char separator);
// Label47: d1 / R3(A^c0), "0.759998473879494" for 159.358, 450 and 0.875.
std::string WormPitchDiameterFactor(const std::string& pitchDiameterText, const std::string& centreDistanceText,
                                    Real exponent, char separator);

}  // namespace wormgear
