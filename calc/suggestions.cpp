// Input suggestions: proposals derived from the centre distance and the
// coefficient read-outs under the two proposed fields.
#include "calc/suggestions.h"

namespace wormgear {

std::string ProposeMainBaseDiameter(const std::string& centreDistanceText, char separator) {
    const Extended a = ParseReal(centreDistanceText, separator);
    // The Extended product goes to RoundNearest without a Real in between;
    // the whole number is written as every number is, so a proposal beyond
    // fifteen digits takes the exponent form too (6.5E15, not 6500000000000000).
    return FormatReal(static_cast<Extended>(RoundNearest(a * kBaseDiameterShare)), separator);
}

std::string ProposeWormPitchDiameter(const std::string& centreDistanceText, Real exponent, char separator) {
    const Extended a = ParseReal(centreDistanceText, separator);
    return FormatReal(R3(PowerReal(a, exponent) * kPitchDiameterFactor), separator);
}

std::string MainBaseDiameterShare(const std::string& baseDiameterText, const std::string& centreDistanceText,
                                  char separator) {
    return FormatReal(Divide(ParseReal(baseDiameterText, separator), ParseReal(centreDistanceText, separator)),
                      separator);
}

std::string WormPitchDiameterFactor(const std::string& pitchDiameterText, const std::string& centreDistanceText,
                                    Real exponent, char separator) {
    const Extended a = ParseReal(centreDistanceText, separator);
    const Real b = R3(PowerReal(a, exponent));
    return FormatReal(Divide(ParseReal(pitchDiameterText, separator), b), separator);
}

}  // namespace wormgear
