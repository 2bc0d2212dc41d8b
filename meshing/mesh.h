// How the running pair meshes: the contact lines between worm and wheel at
// any wheel angle, both branches, and what happens at each contact point.
//
// Two branches. The wheel is cut by a hob shaped as the worm, so its flank
// holds the generating plane itself where the worm touched it (the first
// branch: the first contact line, on the plane) and, beside it, the
// envelope of the worm (the second branch: worm points that touch the wheel
// a second time, at another wheel angle). A worm point of the ruling of time
// ta (flank.h) is at wheel angle T at C + RotateY(X(ta) - C, i (ta - T)),
// its normal turned alike, and touches the wheel when
//
//   Phi2(T) = N . (v_worm - v_wheel) = 0,
//
// which holds at T = ta (the first contact) and at one other angle, the
// second contact. Along one ruling at one T, Phi2 is affine in u: each
// ruling holds one point of the second contact line of T.
//
// Wheel tooth j at wheel angle phi2 stands where tooth 0 stands at
// phi2 + j tau (tau = 2 pi / z2), and the worm, turned by one start, is the
// same worm: tooth j's contact lines at phi2 are tooth 0's at phi2 + j tau,
// in the fixed frame.
//
// At a contact point (Litvin's theory of gearing, for line contact; v12 the
// velocity of the generating body less that of the generated one, w12 their
// spins' difference, Phi = n . v12):
//
//   sliding speed       |v12|, m/s at the worm's speed.
//   lubrication angle   the angle between the contact line and v12, 0 to 90
//                       degrees; 90 draws oil across the whole line.
//   entrainment speed   the mean speed of both surfaces across the contact
//                       line, relative to it: -(v1r + v2r)/2 . e, e the unit
//                       normal of the line in the tangent plane, v1r, v2r the
//                       contact point's velocities over each surface.
//   induced curvature   |k2 - k1| across the contact line, 1/mm: with
//                       g = n x w12 - S1 v12 (S1 the generating surface's
//                       shape operator, 0 for the plane),
//                       k2 - k1 = |g|^2 / Psi, Psi = v12 . g - dPhi/dt, where
//                       dPhi/dt is taken at a point fixed on the generating
//                       body. Psi = 0 is a limit line: there the contact lines
//                       have an envelope on the generated surface, which
//                       is undercut beyond it.
//
// For the first branch the generating body is the wheel with its plane and
// the generated one the worm; for the second the worm generates the wheel.
//
//   first limit line    on the worm flank, the envelope of the first
//                       contact lines (Psi = 0 of the first branch): the
//                       plane undercuts the worm beyond it.
//   second limit line   on the worm flank, the points where the second
//                       contact lines have their envelope on the wheel (Psi = 0
//                       of the second branch): the hob undercuts the wheel.
//
// Worked example, upper flank, worm at 1500 1/min: at the pitch point the
// flanks slide at w1 r1 / cos(gamma) = 157.08 * 39 / cos(9.377) = 6.209 m/s;
// the contact line of the plane through it passes 3.67 mm beside it (k = 6
// keeps the first contact lines off the mid-plane) at 58.3 degrees to the
// sliding; five or six teeth are in contact, each along two lines.
#pragma once

#include <optional>
#include <vector>

#include "meshing/flank.h"

namespace wormgear::meshing {

enum class Branch { First, Second };

struct ContactPoint {
    Vec3 position;                // fixed frame, mm
    Vec3 tangent;                 // unit, along the contact line
    double slidingSpeed = 0;      // m/s
    double lubricationAngle = 0;  // degrees
    double entrainmentSpeed = 0;  // m/s
    double inducedCurvature = 0;  // 1/mm
    double rulingTime = 0;        // ta: the worm ruling the point lies on
    // The wheel angle at which tooth 0 and start 0 of the worm stand as the
    // point shows them (phi2 plus whole pitches).
    double time = 0;
};

// A point of a limit line: where it is at the instant it is found, and on
// the worm (worm frame).
struct LimitPoint {
    Vec3 fixed, worm;
};

struct PitchPoint {
    Vec3 position;
    double time = 0;              // the wheel angle at which the plane holds it
    double slidingSpeed = 0;      // m/s
    double lubricationAngle = 0;  // degrees
    double offLine = 0;           // mm
};

// One piece of a contact line inside the tooth zone, its points in order.
struct ContactCurve {
    Branch branch = Branch::First;
    int tooth = 0;
    double phi2 = 0;  // radians
    std::vector<ContactPoint> points;
};

class Mesh {
 public:
    // The running pair with its worm flank on one side; the pair's generation
    // set-up must be the pair itself (an unmodified worm).
    Mesh(const PairGeometry& pair, const GeneratedFlank& flank, double wormRevolutionsPerMinute);

    const PairGeometry& pair() const { return pair_; }
    const GeneratedFlank& flank() const { return flank_; }
    // The rulings' times whose rulings hold worm tooth points.
    double firstRuling() const { return rulings_.first; }
    double lastRuling() const { return rulings_.second; }

    // The pieces of wheel tooth j's first contact line at phi2 inside the
    // mesh zone (ToothZone::inMesh), `points` points a piece.
    std::vector<ContactCurve> firstContact(double phi2, int tooth, int points) const;
    // The second branch at phi2, every start of the worm, each piece with
    // `points` points and the wheel tooth it lies on. The pieces lie nearly
    // along the rulings: `scan` rulings over the flank find them (a piece
    // narrower than their spacing can be missed).
    std::vector<ContactCurve> secondContact(double phi2, int points, int scan = 512) const;

    // The quantities at a point X of the first contact line of time t
    // (tooth 0), and at the point u of the ruling ta at wheel angle T when
    // it is in second contact there.
    ContactPoint firstPoint(double t, Vec3 X) const;
    ContactPoint secondPoint(double ta, double u, double T) const;

    // Where the ruling ta touches the wheel at T (second contact), or
    // nothing when Phi2 does not change along it.
    std::optional<double> secondContactOnRuling(double ta, double T) const;
    // The second branch's meshing function of the worm point (ta, u) at T,
    // per unit wheel speed (mm/rad), and the position it then has.
    double secondMeshing(double ta, double u, double T) const;
    Vec3 wormPointAt(double ta, double u, double T) const;

    // The wheel tooth whose plane at phi2 passes nearest to X.
    int ToothOf(Vec3 X, double phi2) const;

    // The wheel angle at which the worm point (ta, u) touches the wheel a
    // second time: a 1-D root solve within half a worm turn of ta (Phi2
    // repeats with every worm turn). Nothing when it has no such root or
    // does not converge: the point is unsolved.
    std::optional<double> secondContactTime(double ta, double u) const;

    // The first limit line's point on the ruling of t, if Psi changes along it.
    std::optional<LimitPoint> firstLimitPoint(double t) const;
    // The second limit line's points on the second contact lines at phi2
    // where the worm has a flank, found on `samples` rulings.
    std::vector<LimitPoint> secondLimitPoints(double phi2, int samples) const;

    // The pitch point P = (r2, 0, 0) as the plane passes through it: the
    // sliding speed there and the angle it makes with the contact line of
    // that instant. For k = 0 in the plane's rule that line passes through
    // P; for the usual k (4 to 8 degrees) it passes beside it, `offLine` mm
    // away, and the contact lines keep off the mid-plane.
    PitchPoint pitchPoint() const;

    // Psi of the first branch at X of the plane at t (per unit wheel speed).
    double firstPsi(double t, Vec3 X) const;

 private:
    struct SecondParts;
    // A ruling of the flank at generation: its time, its point nearest the
    // worm axis less C, its direction and the flank's normal along it.
    struct Ruling {
        double t;
        Vec3 arm, direction, normal;
    };
    Ruling rulingAt(double t) const;
    SecondParts secondParts(const Ruling& ruling, double u, double T) const;
    // The second contact point on a ruling at T: u along it, and where it is.
    std::optional<double> secondOn(const Ruling& ruling, double T, Vec3* position = nullptr) const;
    SecondParts secondParts(double ta, double u, double T) const;
    double reach() const { return reach_; }

    PairGeometry pair_;
    GeneratedFlank flank_;
    double wheelSpeed_;  // rad/s
    double reach_;       // mm: how far along a contact line tooth points can lie
    std::pair<double, double> rulings_;
    std::vector<Ruling> scan_;
};

}  // namespace wormgear::meshing
