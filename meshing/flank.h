// The worm flank the generating plane grinds, and how the plane touches it.
//
// Meshing condition. The plane moves with the wheel; a point X of it touches
// the worm when the relative velocity lies in the plane:
//
//   Phi(X, t) = n(t) . (v_wheel(X) - v_worm(X)) = 0      (per unit wheel speed)
//
// which is linear in X. At each wheel angle t the contact points are the
// line where the plane meets the plane Phi = 0: the contact line is straight,
// and along it the worm's normal is the plane's. Over t the lines sweep the
// worm flank, a ruled surface whose normal is constant along each ruling:
// the envelope of the planes, a developable surface. Flank points are
// W(t, u) = RotateY(X0(t) + u d(t) - C, i t) in the worm frame (pair.h), the
// ruling of time t, u mm along it.
//
// Placing the flank. The two flanks of a worm tooth are ground by the plane
// and by its mirror in the line of centres (HalfTurnAboutX, vector3.h): the
// pair is symmetric under that half turn with time running backwards, so
// the lower flank at wheel angle t is the mirror of the upper one at -t.
// The upper flank faces +y at the throat. Its plane's tangency angle theta
// is chosen so that in the worm's axial section (z1 = 0, the worm at
// phi1 = 0) the flank crosses the pitch arc (radius r2 about the wheel axis)
// at +sx1/2: the axial tooth thickness at the throat is the design's sx1.
// The normal n points into the worm's tooth, out of the space the wheel's
// tooth fills.
//
// Worked example (A 200, i 25, z2 50, z1 2, Db 130, d1 78): beta = 11.025
// degrees, sx1 = 8.804 on the arc r2 = 161, so the upper flank crosses the
// pitch arc 1.5666 degrees above the line of centres, and its plane touches
// the base circle at theta = -64.588 degrees.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "meshing/pair.h"

namespace wormgear::meshing {

enum class FlankSide { Upper, Lower };

// A line: point + u * direction, direction a unit vector.
struct Line {
    Vec3 point;
    Vec3 direction;
    Vec3 at(double u) const { return point + direction * u; }
};

// The parts of [from, to] where `inside` holds along a line, each end found
// to 1e-9 mm; `steps` samples find the parts.
template <class Inside>
std::vector<std::pair<double, double>> InsideIntervals(const Inside& inside, double from, double to, int steps = 96);

class GeneratedFlank {
 public:
    // The plane in the wheel frame: unit normal `wheelNormal` and n . Wh = offset.
    GeneratedFlank(const GenerationSetUp& setUp, Vec3 wheelNormal, double offset);
    // The upper flank's plane touching the base circle at `tangencyAngle`
    // (radians, wheel frame), or the lower flank's, its mirror.
    static GeneratedFlank Placed(const GenerationSetUp& setUp, double tangencyAngle, FlankSide side);

    const GenerationSetUp& setUp() const { return setUp_; }
    Vec3 wormAxisPoint() const { return {setUp_.centreDistance, 0, 0}; }

    // The plane at wheel angle t, fixed frame.
    Vec3 normal(double t) const { return RotateZ(wheelNormal_, t); }
    double offset() const { return offset_; }
    // The contact line at t, from its point nearest the worm axis.
    Line contactLine(double t) const;

    // The meshing function and its parts at a fixed-frame point X of the
    // plane at t, per unit wheel speed (mm/rad): the velocity of the plane
    // (the wheel) less the worm's.
    Vec3 relativeVelocity(Vec3 X) const;
    double meshing(Vec3 X, double t) const { return Dot(normal(t), relativeVelocity(X)); }

    // The worm flank in the worm frame: the point u along the ruling of t,
    // and the flank's normal along that ruling (into the tooth).
    Vec3 wormPoint(double t, double u) const;
    Vec3 wormNormal(double t) const { return RotateY(normal(t), setUp_.ratio * t); }
    // A fixed-frame point of time t in the worm frame, and back.
    Vec3 toWorm(Vec3 fixed, double t) const { return RotateY(fixed - wormAxisPoint(), setUp_.ratio * t); }
    Vec3 fromWorm(Vec3 worm, double t) const { return wormAxisPoint() + RotateY(worm, -setUp_.ratio * t); }

 private:
    GenerationSetUp setUp_;
    Vec3 wheelNormal_;
    double offset_;
};

// Where the flank's ruling of time t meets the worm's axial section turned
// by `wormTurn` (the section z1 = 0 of the worm turned back by wormTurn):
// the point in that section's own coordinates (z = 0), or nothing when the
// ruling runs parallel to it.
std::optional<Vec3> AxialSectionPoint(const GeneratedFlank& flank, double t, double wormTurn = 0);

// The upper flank's tangency angle for the pair's throat thickness: its
// axial section crosses the pitch arc (radius r2 about the wheel axis of the
// running pair, x1 = -A) at the angle sx1 / (2 r2). Nothing when no angle
// gives that thickness.
std::optional<double> TangencyAngleFor(const PairGeometry& pair);

// Where a flank crosses the pitch arc of the pair in the axial section
// turned by `wormTurn`: the ruling's time, near `guess`, and the angle of
// the crossing about the wheel axis (radians, + towards +y).
struct PitchCrossing {
    double time;
    double angle;
};
std::optional<PitchCrossing> CrossPitchArc(const GeneratedFlank& flank, const PairGeometry& pair, double guess,
                                           double wormTurn = 0);

// The pieces of a ruling that hold tooth points of the worm (ToothZone::onWorm)
// on the wheel's side of the worm axis (fixed frame, x < A). The worm's zone
// is a body of revolution, so the same straight line can meet it again beyond
// the worm axis; the plane moves with the wheel and never reaches there, and
// those points lie on the ruled surface but not on the ground flank.
std::vector<std::pair<double, double>> ToothPieces(const Line& line, const ToothZone& zone, double reach,
                                                   int steps = 96);

// The times of the rulings that hold tooth points of the worm (ToothPieces),
// searched over a half turn of the wheel: nothing when none does.
std::optional<std::pair<double, double>> RulingRange(const GeneratedFlank& flank, const ToothZone& zone);
// How far from its point nearest the worm axis a ruling can hold tooth points, mm.
double RulingReach(const ToothZone& zone);

// Both flanks of the pair's worm (its generation set-up), placed for its
// throat thickness; nothing when the thickness cannot be placed.
struct WormFlanks {
    GeneratedFlank upper, lower;
    double tangencyAngle;
    const GeneratedFlank& of(FlankSide side) const { return side == FlankSide::Upper ? upper : lower; }
};
std::optional<WormFlanks> FlanksOf(const PairGeometry& pair);

}  // namespace wormgear::meshing

#include "meshing/flank_inl.h"
