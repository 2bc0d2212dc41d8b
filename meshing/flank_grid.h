// The points a measuring machine takes on the worm's flanks: a grid over
// both flanks of every start, each point with its outward unit normal, in
// the worm's own frame, and as CSV.
//
// The worm frame (pair.h): origin on the worm axis in the wheel's mid-plane,
// y along the worm axis, x from the worm axis away from the wheel axis when
// the worm stands at phi1 = 0 (the wheel axis lies at x = -A). The grid's
// rows are the flank's rulings, straight lines on the flank (flank.h), each
// in the middle of an equal share of the wheel angles that ground the tooth;
// each row holds equally spaced points across the tooth from end to end of
// the ruling's part within the tooth zone.
// Start s is start 0 turned by -2 pi s / z1 about y.
//
//   # wormgear 7.6 worm flank points: worm frame, mm; ...
//   x,y,z,nx,ny,nz,flank,start
//   -31.402117,2.5120843,-1.0293411,-0.40121,0.8918,-0.2093,upper,0
#pragma once

#include <string>
#include <vector>

#include "meshing/flank.h"

namespace wormgear::meshing {

struct FlankGridPoint {
    Vec3 position;  // worm frame, mm
    Vec3 normal;    // outward unit normal: out of the tooth
    FlankSide side = FlankSide::Upper;
    int start = 0;
    double time = 0;  // the wheel angle of the ruling it lies on, radians (the first start's)
};

// `rulings` rows of `across` points on each flank of each start. Empty
// when the flanks cannot be placed.
std::vector<FlankGridPoint> FlankGrid(const PairGeometry& pair, int rulings, int across);

// The grid as CSV, its comment lines naming the program, units and frame.
std::string FlankGridCsv(const std::vector<FlankGridPoint>& points, const std::string& program);

}  // namespace wormgear::meshing
