// How far the worm ground with the modification set-up departs from the
// worm of the pair, along its thread.
//
// The modified worm is ground by the plane of the set-up (Am, im, Dbm,
// beta m: the wheel taken with z2 + delta teeth) and placed, as the
// unmodified one, for the throat thickness sx1 on the pitch arc of the pair
// that runs at A. Along the thread the worm is cut by its axial section,
// turned by the worm angle e; there each flank crosses the pitch arc
// (radius r2 about the wheel axis) at an angle a about the wheel axis, the
// unmodified one at a, the modified one at a_m. The departure is the
// distance between the two flanks along the unmodified flank's normal,
//
//   r2 (a_m - a) |e_arc . N|        (e_arc the arc's unit tangent),
//
// in micrometres, positive where the modified flank stands proud of the
// unmodified one (the tooth thicker), negative where the grinding takes
// more away. It is 0 at the throat, where both are placed, and exactly 0
// everywhere when the set-up is the pair's own.
#pragma once

#include <vector>

#include "meshing/flank.h"

namespace wormgear::meshing {

struct DeparturePoint {
    double axialPosition = 0;  // y1 of the crossing, mm: along the worm axis from the throat
    double departure = 0;      // micrometres
};

// Along the upper flank, from end to end of the working zone, about
// `points` points. Empty when either worm cannot be placed.
std::vector<DeparturePoint> ModificationDeparture(const PairGeometry& pair, const PairGeometry& modified, int points);

}  // namespace wormgear::meshing
