// The worked example of a design, shared by the tests and benchmarks of every
// library: A = 200, i = 25, z2 = 50, z1 = 2, Db = 130, E = 0, d1 = 78,
// jn = 0.3, delta = 0.2 (ratio class 6), with the example coefficient set
// (c0 = 0.875, the shipped exponent, and the values the example is worked with).
#pragma once

#include "design.h"

namespace wormgear {

inline DesignTexts WorkedExampleTexts() {
    DesignTexts texts;
    texts.CentreDistance = "200";
    texts.SpeedRatio = "25";
    texts.WheelTeeth = "50";
    texts.WormStarts = "2";
    texts.MainBaseDiameter = "130";
    texts.TipArcEccentricity = "0";
    texts.WormPitchDiameter = "78";
    texts.Backlash = "0.3";
    texts.GrindingIncrement = "0.2";
    return texts;
}

inline TCoefficientTable WorkedExampleCoefficients() {
    TCoefficientTable table;
    table.c = {0.875, 1.2, 0.7, 0.45, 0, 0.55, 2, 0.5, 0.2, 0.2, 0.45, 1, 0.5, 1, 0.9};
    return table;
}

}  // namespace wormgear
