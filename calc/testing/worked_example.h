// The worked example of a design, shared by the tests and benchmarks of every
// library: A = 200, i = 25, z2 = 50, z1 = 2, Db = 130, E = 0, d1 = 78,
// jn = 0.3, delta = 0.2 (ratio class 6), with the example coefficient set
// (c0 = 0.875, the shipped exponent, and the values the example is worked with).
#pragma once

#include "calc/design.h"

namespace wormgear {

// The thirteen texts: the nine above, the other four at the window's defaults.
inline DesignInputs WorkedExampleInputs() {
    DesignInputs inputs;
    inputs.CentreDistance = "200";
    inputs.SpeedRatio = "25";
    inputs.WheelTeeth = "50";
    inputs.WormStarts = "2";
    inputs.MainBaseDiameter = "130";
    inputs.TipArcEccentricity = "0";
    inputs.WormPitchDiameter = "78";
    inputs.Backlash = "0.3";
    inputs.GrindingIncrement = "0.2";
    return inputs;
}

// A pair named by its seven main texts, the rest as in the worked example:
// the designs the geometry's tests run over.
struct PairTexts {
    const char *A, *i, *z2, *z1, *Db, *d1, *E;
};
inline DesignInputs PairInputs(const PairTexts& t) {
    DesignInputs inputs = WorkedExampleInputs();
    inputs.CentreDistance = t.A;
    inputs.SpeedRatio = t.i;
    inputs.WheelTeeth = t.z2;
    inputs.WormStarts = t.z1;
    inputs.MainBaseDiameter = t.Db;
    inputs.WormPitchDiameter = t.d1;
    inputs.TipArcEccentricity = t.E;
    return inputs;
}

inline TCoefficientTable WorkedExampleCoefficients() {
    TCoefficientTable table;
    table.c = {0.875, 1.2, 0.7, 0.45, 0, 0.55, 2, 0.5, 0.2, 0.2, 0.45, 1, 0.5, 1, 0.9};
    return table;
}

}  // namespace wormgear
