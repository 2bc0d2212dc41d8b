// The bodies of the worm and the wheel beside their teeth, in millimetres,
// as the drawings size them (ShopParticulars: the designer's entries, else
// DefaultLength). No OpenCASCADE here: wormcalc fills these before it loads
// the solids module.
#pragma once

#include "particulars/particulars.h"

namespace wormgear::solids {

// The worm along its axis (y, from the throat): the working length L, then
// on each side a shoulder of the largest tip diameter and a shaft end. A
// length of 0 leaves that step out.
struct WormBodySize {
    double leftShaftDiameter = 0, leftShaftLength = 0;    // -y end
    double rightShaftDiameter = 0, rightShaftLength = 0;  // +y end
    double leftShoulderLength = 0, rightShoulderLength = 0;
};

// The wheel in its axial section: the rim (inside diameter) carried by a
// web on a hub with its bore; where no web fits, a plain disc on its bore
// (rimInsideDiameter = hubDiameter = boreDiameter, as WheelOf draws it).
struct WheelBodySize {
    double hubDiameter = 0, hubLength = 0, webThickness = 0, rimInsideDiameter = 0, boreDiameter = 0;
};

inline double LengthOr0(const ShownLength& length) { return length.value && *length.value > 0 ? *length.value : 0; }

inline WormBodySize WormBodyOf(const WormBody& b) {
    return {LengthOr0(b.leftShaftDiameter), LengthOr0(b.leftShaftLength),    LengthOr0(b.rightShaftDiameter),
            LengthOr0(b.rightShaftLength),  LengthOr0(b.leftShoulderLength), LengthOr0(b.rightShoulderLength)};
}

inline WheelBodySize WheelBodyOf(const WheelBody& b) {
    return {LengthOr0(b.hubDiameter), LengthOr0(b.hubLength), LengthOr0(b.webThickness), LengthOr0(b.rimInsideDiameter),
            LengthOr0(b.boreDiameter)};
}

}  // namespace wormgear::solids
