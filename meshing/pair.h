// The pair as the meshing sees it: where the axes are, how the two bodies
// turn, how the generating plane stands, and the zone in which the teeth
// exist.
//
// The fixed frame. The wheel axis is z, through the origin O; the worm axis
// is the line through C = (A, 0, 0) parallel to y; the mid-plane of the wheel
// is z = 0 and holds both the line of centres (x) and the worm axis. The
// wheel turns by phi2 about +z (counter-clockwise seen from +z); the worm,
// right-handed, turns by phi1 = -i * phi2 about +y. With the wheel's angular
// speed w2 the velocities are
//
//   v_wheel(X) = w2 e_z x X,    v_worm(X) = -i w2 e_y x (X - C),
//
// and at the pitch point P = (r2, 0, 0) (r2 = d2/2, r1 = A - r2 = d1/2) the
// worm moves along z at i w2 r1 and the wheel along y at w2 r2: the flanks
// slide at |v_worm - v_wheel| = w1 r1 / cos(gamma), tan(gamma) = d2 / (i d1).
//
// The worm frame turns with the worm: a worm point W is at
// X = C + RotateY(W, phi1) in the fixed frame; at phi1 = 0 the worm frame is
// the fixed frame moved to C (x1 = x - A, y1 = y, z1 = z), so the wheel axis
// lies at x1 = -A and the worm's axial section through the wheel axis is
// the plane z1 = 0, the wheel side x1 < 0. The wheel frame turns with the
// wheel: X = RotateZ(Wh, phi2).
//
// The generating plane is fixed to the wheel. In the mid-plane its trace is
// tangent to the main base circle (radius rb = Db/2); it leans by the
// generating-plane angle beta: in the wheel frame its unit normal is
//
//   n = cos(beta) e_r(theta) + sin(beta) e_z,   e_r(theta) = (cos theta, sin theta, 0),
//
// and the plane is n . Wh = rb cos(beta). theta, the angle of its tangency
// with the base circle, places the flank (see flank.h). Leaning this way,
// with beta from the ratio rule with k = 0, the plane touches the worm at
// the pitch point when its trace passes through it: the sign is that of
// the design's beta.
#pragma once

#include "calc/design.h"
#include "meshing/vector3.h"

namespace wormgear::meshing {

// How a worm flank is ground: the plane turning about a wheel axis at
// `centreDistance` from the worm axis, the worm turning `ratio` times as
// fast. For the worm of the design it is the pair itself (A, i, Db, beta);
// for the modified worm the modification set-up (Am, im, Dbm, beta m).
struct GenerationSetUp {
    double centreDistance = 0;  // mm
    double ratio = 0;
    double baseRadius = 0;  // mm: Db / 2
    double planeAngle = 0;  // radians: beta
};

// Where the worm's and the wheel's teeth exist. A worm point is taken into
// the worm's axial section through the wheel axis by turning it about the
// worm axis: at distance rho from the worm axis and y along it, it stands at
// Q = (A - rho, y) from the wheel axis. It is a tooth point when Q lies
// outside the tip arc (radius Ra1 about (-E, 0)), inside the root arc
// (radius Rf1 about O), within the working length (|y| <= L/2) and within
// the working half wrap (|atan2(y, A - rho)| <= phi). A wheel point is one
// within the rim (|z| <= b2/2), inside the largest outer diameter, and
// outside the throat's tip arc (radius Ra2 about the point of the mid-plane
// at da2/2 + Ra2 from the wheel axis, in the wheel's axial section).
struct ToothZone {
    double centreDistance = 0;     // A, mm
    double tipArcRadius = 0;       // Ra1
    double tipEccentricity = 0;    // E
    double rootArcRadius = 0;      // Rf1
    double workingLength = 0;      // L
    double halfWrap = 0;           // phi, radians
    double rimWidth = 0;           // b2
    double wheelOuterRadius = 0;   // de2 / 2
    double throatRadius = 0;       // da2 / 2
    double wheelTipArcRadius = 0;  // Ra2

    // A point of the fixed frame (or of the worm frame shifted back by C:
    // the worm zone turns with the worm).
    bool onWorm(Vec3 fixed) const;
    bool onWheel(Vec3 fixed) const;
    bool inMesh(Vec3 fixed) const { return onWorm(fixed) && onWheel(fixed); }
};

struct PairGeometry {
    GenerationSetUp generation;
    double centreDistance = 0;  // A: how the pair runs
    double ratio = 0;           // i
    int wheelTeeth = 0;         // z2
    int wormStarts = 0;         // z1
    double pitchRadius = 0;     // r2 = d2/2: the arc the throat thickness is measured on
    double axialThickness = 0;  // sx1, on that arc, at the throat
    double pressureAngle = 0;   // alpha, radians
    double leadAngle = 0;       // gamma at the throat, radians
    ToothZone zone;

    // 2 pi / z2: the wheel turns by one pitch while the worm turns by one start.
    double angularPitch() const;
};

// The pair of a calculated design, and the same worm ground with the
// modification set-up (the pair still runs at A and i; only the flank is
// ground at Am, im, Dbm and beta m).
PairGeometry PairOf(const TWormDesign& design);
PairGeometry ModifiedPairOf(const TWormDesign& design);

// The angular speeds of a running pair, rad/s, from the worm's speed.
struct Speeds {
    double worm = 0;   // w1
    double wheel = 0;  // w2 = w1 / i
};
Speeds SpeedsOf(const PairGeometry& pair, double wormRevolutionsPerMinute);

}  // namespace wormgear::meshing
