// The meshing core against what the geometry of gearing demands of it:
// contact points on the plane and meshing (both branches, by two methods for
// the second), the kinematics at the pitch point, the throat profile of a
// plane leaning by the rule with k = 0, normals and curvatures of the flank
// by finite differences, the undercut edge where the flank folds, the mirror
// symmetry of the two flanks, the repetition of the contact pattern, and a
// modification that changes nothing. Designs of each ratio class, with and
// without an E value.
#include <gtest/gtest.h>

#include <algorithm>
#include <numbers>

#include "calc/testing/worked_example.h"
#include "meshing/analysis.h"
#include "meshing/flank_grid.h"

namespace wormgear::meshing {
namespace {

constexpr double kPi = std::numbers::pi;

struct TestDesign {
    const char* name;
    const char *A, *i, *z2, *z1, *Db, *d1, *E;
};
// drawing/tests/designs.jsonl holds the same designs: every ratio class
// (k = 4 below i = 10, 6 up to 30, 8 above), an E value, large and small.
const TestDesign kDesigns[] = {
    {"worked example", "200", "25", "50", "2", "130", "78", "0"},
    {"ratio class 4 with E", "100", "8", "32", "4", "63", "40", "15"},
    {"ratio class 4, large E", "160", "6.25", "25", "4", "101", "60", "32"},
    {"ratio class 8", "500", "45", "45", "1", "330", "160", "0"},
    {"ratio class 8, small", "80", "40", "40", "1", "52", "33", "0"},
};

TWormDesign Calculated(const TestDesign& t) {
    TWormDesign record;
    const CalculationOutcome outcome = Calculate(PairInputs({t.A, t.i, t.z2, t.z1, t.Db, t.d1, t.E}), false,
                                                 WorkedExampleCoefficients(), '.', record);
    EXPECT_TRUE(outcome.succeeded()) << t.name;
    return outcome.design;
}

// The velocities of the running pair per unit wheel speed, written out here
// from the frame's definition, not taken from the code under test.
Vec3 WheelVelocity(Vec3 X) { return {-X.y, X.x, 0}; }
Vec3 WormVelocity(const PairGeometry& pair, Vec3 X) {
    // -i e_y x (X - C)
    const Vec3 r{X.x - pair.centreDistance, X.y, X.z};
    return {-pair.ratio * r.z, 0, pair.ratio * r.x};
}

TEST(Meshing, ContactPointsLieOnThePlaneAndMeshBothBranches) {
    for (const TestDesign& t : kDesigns) {
        SCOPED_TRACE(t.name);
        const PairGeometry pair = PairOf(Calculated(t));
        const auto flanks = FlanksOf(pair);
        ASSERT_TRUE(flanks);
        const Mesh mesh(pair, flanks->upper, 1500);
        const double tau = pair.angularPitch();
        int first = 0, second = 0;
        for (int k = 0; k < 4; ++k) {
            const double phi2 = tau * k / 4;
            for (int tooth = -6; tooth <= 6; ++tooth) {
                const double t0 = phi2 + tooth * tau;
                const Vec3 n = mesh.flank().normal(t0);
                for (const ContactCurve& c : mesh.firstContact(phi2, tooth, 20)) {
                    for (const ContactPoint& p : c.points) {
                        ++first;
                        EXPECT_NEAR(Dot(n, p.position), mesh.flank().offset(), 1e-9);
                        const Vec3 v12 = WheelVelocity(p.position) - WormVelocity(pair, p.position);
                        EXPECT_NEAR(Dot(n, v12), 0, 1e-9);
                        EXPECT_TRUE(pair.zone.inMesh(p.position));
                    }
                }
            }
            for (const ContactCurve& c : mesh.secondContact(phi2, 10)) {
                for (const ContactPoint& p : c.points) {
                    ++second;
                    // Where the ruling's point touches the wheel at phi2 (or at
                    // phi2 plus whole pitches, for the other starts) ...
                    const double T = p.time;
                    EXPECT_NEAR(std::remainder(T - phi2, tau), 0, 1e-12);
                    const auto u = mesh.secondContactOnRuling(p.rulingTime, T);
                    EXPECT_NEAR(mesh.secondMeshing(p.rulingTime, *u, T), 0, 1e-9);
                    // ... and the 1-D root solve of that worm point finds the same angle.
                    const auto solved = mesh.secondContactTime(p.rulingTime, *u);
                    ASSERT_TRUE(solved);
                    EXPECT_NEAR(std::remainder(*solved - T, 2 * kPi / pair.ratio), 0, 1e-9);
                    EXPECT_TRUE(pair.zone.inMesh(p.position));
                }
            }
        }
        EXPECT_GT(first, 50);
        EXPECT_GT(second, 10);
    }
}

TEST(Meshing, AtThePitchPointTheFlanksSlideAtTheWormSpeedOverTheLeadAngle) {
    for (const TestDesign& t : kDesigns) {
        SCOPED_TRACE(t.name);
        const TWormDesign d = Calculated(t);
        const PairGeometry pair = PairOf(d);
        const auto flanks = FlanksOf(pair);
        ASSERT_TRUE(flanks);
        for (double rpm : {1500.0, 960.0}) {
            const Mesh mesh(pair, flanks->upper, rpm);
            const double w1 = rpm * 2 * kPi / 60;
            const double r1 = d.WormPitchDiameter / 2;
            const double gamma = std::atan(d.WheelPitchDiameter / d.SpeedRatio / d.WormPitchDiameter);
            EXPECT_NEAR(mesh.pitchPoint().slidingSpeed, w1 * r1 / std::cos(gamma) / 1000, 1e-12);
        }
    }
}

// The plane leaning by the rule with k = 0 touches the worm at the pitch
// point as it passes through it, and there the worm's axial profile has the
// pressure angle and, extended, touches the main base circle.
TEST(Meshing, WithKZeroTheThroatFlankHasThePressureAngleAndTouchesTheBaseCircle) {
    for (const TestDesign& t : kDesigns) {
        SCOPED_TRACE(t.name);
        const TWormDesign d = Calculated(t);
        PairGeometry pair = PairOf(d);
        // The exact pressure angle of Db and d2, and beta by the rule with k = 0.
        pair.pressureAngle = std::asin(d.MainBaseDiameter / d.WheelPitchDiameter);
        pair.generation.planeAngle = static_cast<double>(GeneratingPlaneAngle(0, pair.pressureAngle * 180 / kPi,
                                                                              d.WheelPitchDiameter, d.CentreDistance,
                                                                              d.SpeedRatio)) *
                                     kPi / 180;
        const auto flanks = FlanksOf(pair);
        ASSERT_TRUE(flanks);
        const Mesh mesh(pair, flanks->upper, 1500);
        const PitchPoint pitch = mesh.pitchPoint();
        EXPECT_LT(pitch.offLine, 1e-9);
        // The worm stands at -i t there: its axial section is the mid-plane.
        const double turn = -pair.ratio * pitch.time;
        const auto near = [&](double dt) { return *AxialSectionPoint(flanks->upper, pitch.time + dt, turn); };
        const Vec3 at = near(0), slope = near(1e-6) - near(-1e-6);
        // The section point, in the worm frame turned back: the pitch point.
        EXPECT_NEAR(at.x + pair.centreDistance, pair.pitchRadius, 1e-9);
        EXPECT_NEAR(at.y, 0, 1e-9);
        // The profile's angle with the line of centres, and its tangent's distance from the wheel axis.
        const double angle = std::atan2(std::abs(slope.y), std::abs(slope.x));
        EXPECT_NEAR(angle, pair.pressureAngle, 1e-6);
        const Vec3 direction = Unit(slope), fromAxis{at.x + pair.centreDistance, at.y, 0};
        EXPECT_NEAR(std::abs(Cross(fromAxis, direction).z), d.MainBaseDiameter / 2, 1e-5);
    }
}

// The flank by finite differences of W(t, u): its normal is the plane's
// (the envelope), it lies between the tip and root arcs, its curvature
// across a ruling is the induced curvature the mesh reports, and where the
// first limit line crosses a ruling the flank folds (W_t parallel to W_u).
TEST(Meshing, TheFlankIsTheEnvelopeOfThePlaneWithTheReportedCurvature) {
    for (const TestDesign& t : kDesigns) {
        SCOPED_TRACE(t.name);
        const TWormDesign d = Calculated(t);
        const PairGeometry pair = PairOf(d);
        const auto flanks = FlanksOf(pair);
        ASSERT_TRUE(flanks);
        for (FlankSide side : {FlankSide::Upper, FlankSide::Lower}) {
            const GeneratedFlank& flank = flanks->of(side);
            const Mesh mesh(pair, flank, 1500);
            for (int row = 1; row < 8; ++row) {
                const double ta = mesh.firstRuling() + (mesh.lastRuling() - mesh.firstRuling()) * row / 8;
                const Line line = flank.contactLine(ta);
                const auto parts = InsideIntervals([&](double u) { return pair.zone.onWorm(line.at(u)); },
                                                   -RulingReach(pair.zone), RulingReach(pair.zone));
                ASSERT_FALSE(parts.empty());
                const double u = (parts.front().first + parts.front().second) / 2;
                const double h = 1e-6;
                const Vec3 Wt = (flank.wormPoint(ta + h, u) - flank.wormPoint(ta - h, u)) * (1 / (2 * h));
                const Vec3 Wu = flank.wormPoint(ta, u + 1) - flank.wormPoint(ta, u);
                const Vec3 N = flank.wormNormal(ta);
                EXPECT_NEAR(Dot(N, Unit(Wu)), 0, 1e-12);
                EXPECT_NEAR(Dot(N, Unit(Wt)), 0, 1e-7);
                // Across the ruling: the curve of W along the tangent
                // direction perpendicular to it, curvature N . W'' / |W'|^2.
                const Vec3 across = Wt - Wu * (Dot(Wt, Wu) / Dot(Wu, Wu));
                const double b = -Dot(Wt, Wu) / Dot(Wu, Wu);  // d/dt of u along `across`
                const auto W = [&](double s) { return flank.wormPoint(ta + s, u + b * s); };
                const double h2 = 1e-5;
                const Vec3 second = (W(h2) - W(0) * 2 + W(-h2)) * (1 / (h2 * h2));
                const double curvature = Dot(N, second) / Dot(across, across);
                const ContactPoint p = mesh.firstPoint(ta, line.at(u));
                // To the second difference's own accuracy, which falls near a
                // limit line, where the curvature grows without bound.
                EXPECT_NEAR(std::abs(curvature), p.inducedCurvature, 1e-4 * (1 + p.inducedCurvature));
                // Between the arcs, in the axial section: written out from the design's values.
                const Vec3 Wp = flank.wormPoint(ta, u);
                const double rho = std::hypot(Wp.x, Wp.z), qx = d.CentreDistance - rho;
                EXPECT_GE(std::hypot(qx + d.TipArcEccentricity, Wp.y), d.WormTipArcRadius - 1e-9);
                EXPECT_LE(std::hypot(qx, Wp.y), d.WormRootArcRadius + 1e-9);
            }
            // The flank folds along the first limit line.
            const double ta = (mesh.firstRuling() + mesh.lastRuling()) / 2;
            const auto limit = mesh.firstLimitPoint(ta);
            ASSERT_TRUE(limit);
            const Line line = flank.contactLine(ta);
            const double uL = Dot(limit->fixed - line.point, line.direction), h = 1e-5;
            const Vec3 Wt = (flank.wormPoint(ta + h, uL) - flank.wormPoint(ta - h, uL)) * (1 / (2 * h));
            const Vec3 Wu = flank.wormPoint(ta, uL + 1) - flank.wormPoint(ta, uL);
            EXPECT_LT(Norm(Cross(Unit(Wt), Unit(Wu))), 1e-6);
            // Elsewhere on the ruling it does not.
            const Vec3 Wt2 = (flank.wormPoint(ta + h, uL + 5) - flank.wormPoint(ta - h, uL + 5)) * (1 / (2 * h));
            EXPECT_GT(Norm(Cross(Unit(Wt2), Unit(Wu))), 1e-3);
        }
    }
}

// The tangent the second branch reports (the gradient of its meshing
// function turned a right angle, with the worm's curvature in it) follows
// the points of the line.
TEST(Meshing, TheSecondBranchsTangentFollowsItsPoints) {
    const PairGeometry pair = PairOf(Calculated(kDesigns[0]));
    const auto flanks = FlanksOf(pair);
    const Mesh mesh(pair, flanks->upper, 1500);
    int checked = 0;
    for (const ContactCurve& c : mesh.secondContact(0.01, 41)) {
        for (std::size_t k = 1; k + 1 < c.points.size(); ++k) {
            const Vec3 chord = Unit(c.points[k + 1].position - c.points[k - 1].position);
            EXPECT_GT(std::abs(Dot(chord, c.points[k].tangent)), 1 - 1e-5);
            ++checked;
        }
    }
    EXPECT_GT(checked, 50);
}

// The half turn about the line of centres maps the pair onto itself with
// time running backwards: the lower flank's contact lines at -phi2 are the
// mirror of the upper flank's at phi2, tooth j's those of tooth -j.
TEST(Meshing, TheLowerFlankMirrorsTheUpper) {
    for (const TestDesign& t : kDesigns) {
        SCOPED_TRACE(t.name);
        const PairGeometry pair = PairOf(Calculated(t));
        const auto flanks = FlanksOf(pair);
        const Mesh upper(pair, flanks->upper, 1500), lower(pair, flanks->lower, 1500);
        const double phi2 = 0.3 * pair.angularPitch();
        for (int tooth = -4; tooth <= 4; ++tooth) {
            const auto a = upper.firstContact(phi2, tooth, 9), b = lower.firstContact(-phi2, -tooth, 9);
            ASSERT_EQ(a.size(), b.size());
            // The pieces and their points run the other way round in the mirror.
            for (std::size_t k = 0; k < a.size(); ++k) {
                const ContactCurve& mirror = b[b.size() - 1 - k];
                ASSERT_EQ(a[k].points.size(), mirror.points.size());
                for (std::size_t m = 0; m < a[k].points.size(); ++m) {
                    const Vec3 q = HalfTurnAboutX(mirror.points[mirror.points.size() - 1 - m].position);
                    EXPECT_LT(Norm(a[k].points[m].position - q), 1e-7);
                }
            }
        }
    }
}

// After the wheel turns by 360 / i degrees the worm has turned once: the
// pattern of contact repeats. The second mesh's flank is the plane of the
// tooth z1 pitches back, so that the same lines come from other planes at
// other angles.
TEST(Meshing, TheContactPatternRepeatsAfterOneWormTurn) {
    const PairGeometry pair = PairOf(Calculated(kDesigns[1]));
    const auto flanks = FlanksOf(pair);
    const double back = -pair.wormStarts * pair.angularPitch();
    const GeneratedFlank shifted(pair.generation, RotateZ(flanks->upper.normal(0), back), flanks->upper.offset());
    const Mesh mesh(pair, flanks->upper, 1500), other(pair, shifted, 1500);
    const double phi2 = 0.2, turn = 2 * kPi / pair.ratio;
    std::vector<Vec3> here, there;
    for (int tooth = -6; tooth <= 6; ++tooth) {
        for (const ContactCurve& c : mesh.firstContact(phi2, tooth, 5))
            for (const ContactPoint& p : c.points) here.push_back(p.position);
        for (const ContactCurve& c : other.firstContact(phi2 + turn, tooth, 5))
            for (const ContactPoint& p : c.points) there.push_back(p.position);
    }
    ASSERT_FALSE(here.empty());
    ASSERT_EQ(here.size(), there.size());
    for (const Vec3& p : here) {
        double nearest = 1e9;
        for (const Vec3& q : there) nearest = std::min(nearest, Norm(p - q));
        EXPECT_LT(nearest, 1e-7);
    }
}

TEST(Meshing, AModificationSetUpEqualToThePairDepartsNowhere) {
    for (const TestDesign& t : kDesigns) {
        SCOPED_TRACE(t.name);
        const TWormDesign d = Calculated(t);
        const PairGeometry pair = PairOf(d);
        const auto same = ModificationDeparture(pair, pair, 20);
        ASSERT_GE(same.size(), 10u);
        for (const DeparturePoint& p : same) EXPECT_NEAR(p.departure, 0, 1e-6);
        // The design's own set-up departs, from zero at the throat.
        const auto modified = ModificationDeparture(pair, ModifiedPairOf(d), 20);
        ASSERT_GE(modified.size(), 10u);
        double largest = 0;
        for (const DeparturePoint& p : modified) largest = std::max(largest, std::abs(p.departure));
        EXPECT_GT(largest, 0.5);
        const auto throat = std::min_element(modified.begin(), modified.end(), [&](auto& a, auto& b) {
            return std::abs(a.axialPosition - pair.axialThickness / 2) <
                   std::abs(b.axialPosition - pair.axialThickness / 2);
        });
        EXPECT_LT(std::abs(throat->departure), 0.05 * largest);
    }
}

// The measuring grid: on the flank (normal perpendicular to the ruling it
// was taken along), outward normals of unit length, reaching the tip and
// the root arcs, every start the first turned.
TEST(FlankGrid, CoversBothFlanksOfEveryStartBetweenTipAndRoot) {
    for (const TestDesign& t : kDesigns) {
        SCOPED_TRACE(t.name);
        const TWormDesign d = Calculated(t);
        const PairGeometry pair = PairOf(d);
        const auto grid = FlankGrid(pair, 12, 9);
        ASSERT_EQ(grid.size(), static_cast<std::size_t>(2 * d.WormStarts * 12 * 9));
        double nearestTip = 1e9, nearestRoot = 1e9;
        for (const FlankGridPoint& p : grid) {
            EXPECT_NEAR(Norm(p.normal), 1, 1e-12);
            const double rho = std::hypot(p.position.x, p.position.z), qx = d.CentreDistance - rho;
            const double tip = std::hypot(qx + d.TipArcEccentricity, p.position.y) - d.WormTipArcRadius;
            const double root = d.WormRootArcRadius - std::hypot(qx, p.position.y);
            EXPECT_GE(tip, -1e-8);
            EXPECT_GE(root, -1e-8);
            nearestTip = std::min(nearestTip, tip);
            nearestRoot = std::min(nearestRoot, root);
            // The outward normal of the upper flank points to +y on the
            // wheel's side, the lower flank's to -y.
            const double facing = p.side == FlankSide::Upper ? p.normal.y : -p.normal.y;
            EXPECT_GT(facing, 0);
            // Ground where the plane was: at its ruling's time the point (of
            // the first start; the others are turned copies) stands on the
            // wheel's side of the worm axis. The ruling meets the worm's zone,
            // a body of revolution, again beyond the axis, where no plane
            // that turns with the wheel reaches.
            if (p.start == 0) {
                const Vec3 fixed = RotateY(p.position, -d.SpeedRatio * p.time) + Vec3{d.CentreDistance, 0, 0};
                EXPECT_LT(fixed.x, d.CentreDistance) << fixed.x << " " << fixed.y << " " << fixed.z;
            }
        }
        EXPECT_LT(nearestTip, 1e-6);
        EXPECT_LT(nearestRoot, 1e-6);
    }
}

TEST(Analysis, TheWorkedExampleMeshesOnSeveralTeethWithoutUndercut) {
    const TWormDesign d = Calculated(kDesigns[0]);
    const MeshingAnalysis a = AnalyseMeshing(d, {});
    // Between the wrap's whole teeth: K = 5.5 teeth are enveloped.
    EXPECT_GE(a.teethInContact.min, 4);
    EXPECT_LE(a.teethInContact.max, 7);
    EXPECT_LE(a.teethInContact.min, a.teethInContact.max);
    EXPECT_FALSE(a.firstLimit.inToothZone);
    EXPECT_FALSE(a.firstLimit.points.empty());
    EXPECT_EQ(a.unsolved, 0);
    bool first = false, second = false;
    for (const ContactCurve& c : a.contactLines) (c.branch == Branch::First ? first : second) = true;
    EXPECT_TRUE(first && second);
}

TEST(Analysis, AFlankThatCannotBePlacedIsRefusedWithAReason) {
    TWormDesign d = Calculated(kDesigns[0]);
    d.WormAxialThickness = 4 * d.WheelPitchDiameter;  // more than the pitch arc holds
    EXPECT_THROW(AnalyseMeshing(d, {}), MeshingError);
}

}  // namespace
}  // namespace wormgear::meshing
