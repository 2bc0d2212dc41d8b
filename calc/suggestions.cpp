// Input suggestions: proposals derived from the centre distance and the
// coefficient read-outs under the two proposed fields.
#include "suggestions.h"

namespace wormgear {

std::string ProposeMainBaseDiameter(const std::string& centreDistanceText) {
    const Extended a = ParseReal(centreDistanceText);
    // The Extended product goes to RoundNearest without a Real in between.
    return std::to_string(RoundNearest(a * kBaseDiameterShare));
}

std::string ProposeWormPitchDiameter(const std::string& centreDistanceText, Real exponent) {
    const Extended a = ParseReal(centreDistanceText);
    return FormatReal(R3(PowerReal(a, exponent) * kPitchDiameterFactor));
}

std::string MainBaseDiameterShare(const std::string& baseDiameterText, const std::string& centreDistanceText) {
    return FormatReal(Divide(ParseReal(baseDiameterText), ParseReal(centreDistanceText)));
}

std::string WormPitchDiameterFactor(const std::string& pitchDiameterText, const std::string& centreDistanceText,
                                    Real exponent) {
    const Extended a = ParseReal(centreDistanceText);
    const Real b = R3(PowerReal(a, exponent));
    return FormatReal(Divide(ParseReal(pitchDiameterText), b));
}

}  // namespace wormgear
