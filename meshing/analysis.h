// The meshing analysis of a design: what the window, the report and
// wormcalc show of how the pair meshes. Upper flank (the lower one mirrors
// it, flank.h); quantities as mesh.h defines them.
//
//   const MeshingAnalysis analysis = AnalyseMeshing(design, {});   // 1500 1/min
//   analysis.teethInContact          // {5, 6} for the worked example
//   analysis.pitch.slidingSpeed      // 6.209 m/s
#pragma once

#include <stdexcept>
#include <vector>

#include "meshing/mesh.h"
#include "meshing/modification.h"

namespace wormgear::meshing {

// The design's flanks cannot be placed for its throat thickness, or it has
// no tooth zone: what() says which.
class MeshingError : public std::runtime_error {
 public:
    using std::runtime_error::runtime_error;
};

struct AnalysisOptions {
    double wormSpeed = 1500;  // 1/min
    int positions = 8;        // wheel angles over one pitch at which the contact lines are given
    int pointsPerLine = 50;
    int contactSamples = 24;  // wheel angles over one pitch for the teeth in contact
    int limitSamples = 24;    // wheel angles the limit lines are traced at
    int departurePoints = 40;
    int wheelFlankRulings = 24;  // the second branch's wheel flank, rulings x points
    int wheelFlankAcross = 12;
};

struct LimitLine {
    bool inToothZone = false;
    std::vector<Vec3> points;  // worm frame, mm
};

// A point of the wheel's tooth, in the wheel frame and as the tooth's
// axial section sees it: z along the wheel axis, r from it.
struct WheelToothPoint {
    Vec3 position;
    double axial = 0, radius = 0;
};

struct MeshingAnalysis {
    double wormSpeed = 0;      // 1/min
    double tangencyAngle = 0;  // radians: where the upper flank's plane touches the base circle
    // Wheel angles: the contact lines of every tooth at `positions` angles a
    // pitch apart, both branches, inside the mesh zone.
    std::vector<ContactCurve> contactLines;
    PitchPoint pitch;
    struct {
        int min = 0, max = 0;
    } teethInContact;
    LimitLine firstLimit, secondLimit;
    std::vector<DeparturePoint> modification;
    // Tooth 0's contact lines over one pitch, on its flank: the first
    // branch on its plane, the second beside it.
    std::vector<std::vector<WheelToothPoint>> wheelContact;
    // The second branch of tooth 0's flank on the wheel, from a grid of worm
    // points each solved for the angle at which it touches the wheel, and
    // how many of the grid's points had no such angle.
    std::vector<WheelToothPoint> wheelFlank;
    int unsolved = 0;
};

MeshingAnalysis AnalyseMeshing(const PairGeometry& pair, const PairGeometry& modified, const AnalysisOptions& options);
MeshingAnalysis AnalyseMeshing(const TWormDesign& design, const AnalysisOptions& options);

}  // namespace wormgear::meshing
