// The usual ranges the window's hints give beside the fields (Memo1 to Memo4),
// as the hints write them: the one home of these numbers. The design checks
// read them as typed texts, so that a typed edge value lies on the edge
// (Db 126 for A 200: 0.63); the table of solutions proposes the two factor
// ranges as its defaults; the window's hint boxes show them (a window test
// holds the boxes' lines to these numbers).
//
//   kBaseDiameterShareHint.low               // "0.63": Db / A from 0.63 ...
//   kBacklashHintBands[0].high               // "0.5": A 80 to 200 takes jn 0.15 to 0.5
#pragma once

namespace wormgear {

struct HintRange {
    const char* low;
    const char* high;
};

// Db / A (Memo1: "系数：0.63～0.67,小传动比时取小值").
inline constexpr HintRange kBaseDiameterShareHint{"0.63", "0.67"};
// d1 / R3(A^c[0]) (Memo3: "系数取0.6～0.78之间").
inline constexpr HintRange kPitchDiameterFactorHint{"0.6", "0.78"};
// E / A below speed ratio 10; above it E is 0 (Memo2: "速比>10 取0，速比<10取0.1a至0.3a").
inline constexpr HintRange kEccentricityShareHint{"0.1", "0.3"};

// Backlash by centre distance (Memo4: "A≥80～200", "Cn=0.15～0.5", ...). The
// bands share their edges and 600 to 630 lies in two of them; below 80 and
// above 1000 the hint says nothing.
struct BacklashHintBand {
    const char* fromCentreDistance;
    const char* toCentreDistance;
    const char* low;
    const char* high;
};
inline constexpr BacklashHintBand kBacklashHintBands[] = {
    {"80", "200", "0.15", "0.5"}, {"200", "315", "0.35", "0.8"}, {"315", "630", "0.6", "1.5"},
    {"600", "800", "0.8", "2"},   {"800", "1000", "1", "1.25"},
};

}  // namespace wormgear
