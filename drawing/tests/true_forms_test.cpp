// The thread the worm and hob drawings draw is the worm flank the generating
// plane grinds: every drawn point lies on a ruling of the flank (on the
// plane of its wheel angle and where the plane touches the worm), found here
// from the plane and the meshing condition alone.
#include <gtest/gtest.h>

#include <numbers>

#include "drawing/drawing_parts.h"
#include "drawing/testing/test_designs.h"
#include "meshing/flank.h"

namespace wormgear {
namespace {

using meshing::Vec3;

// How far a worm point (worm frame) is from the upper flank of start 0. A
// point of the flank is where the plane, turning with the wheel, touches the
// worm: at the wheel angle at which the point meshes (the meshing function
// of its place changes sign), the plane passes through it. The distance is
// the point's from the plane at that angle, in mm; the least over the angles
// at which it meshes, infinity when it never does.
double OffTheFlank(const meshing::GeneratedFlank& flank, Vec3 W, double from, double to) {
    const auto meshes = [&](double t) { return flank.meshing(flank.fromWorm(W, t), t); };
    const auto planeOff = [&](double t) {
        return meshing::Dot(flank.normal(t), flank.fromWorm(W, t)) - flank.offset();
    };
    double best = std::numeric_limits<double>::infinity();
    const int steps = 2000;
    double a = from, fa = meshes(a);
    for (int k = 1; k <= steps; ++k) {
        const double b = from + (to - from) * k / steps, fb = meshes(b);
        if ((fa > 0) != (fb > 0)) {
            double lo = a, hi = b, flo = fa;
            for (int n = 0; n < 100; ++n) {
                const double mid = (lo + hi) / 2, fm = meshes(mid);
                if ((fm > 0) == (flo > 0)) lo = mid, flo = fm;
                else hi = mid;
            }
            best = std::min(best, std::abs(planeOff((lo + hi) / 2)));
        }
        a = b;
        fa = fb;
    }
    return best;
}

TEST(TrueForms, EveryDrawnFlankPointLiesOnTheGroundFlank) {
    int checked = 0;
    for (const testing::TestDesign& t : testing::TestDesigns()) {
        SCOPED_TRACE(t.name);
        const CalculatedDesign c = testing::Calculated(t);
        for (DrawingKind kind : {DrawingKind::Worm, DrawingKind::Hob}) {
            SCOPED_TRACE(kind == DrawingKind::Worm ? "worm" : "hob");
            meshing::PairGeometry pair = meshing::PairOf(c.design);
            if (kind == DrawingKind::Hob) pair.axialThickness = c.design.HobAxialThickness;
            const auto flanks = meshing::FlanksOf(pair);
            ASSERT_TRUE(flanks);
            // A hob of few enveloping teeth has no whole tooth space in its
            // wrap and is drawn without teeth.
            const auto drawn = drawing::TrueAxialFlanks(c, kind);
            const int z1 = c.design.WormStarts;
            for (const auto& curve : drawn) {
                for (const drawing::Point& p : curve) {
                    // The view's point in the worm frame: the axial section z = 0,
                    // the wheel on the side of negative x.
                    const Vec3 W{-p.y, p.x, 0};
                    double best = std::numeric_limits<double>::infinity();
                    // On a start's upper flank, or on its lower flank (the upper one mirrored).
                    for (int start = 0; start < z1; ++start) {
                        for (const Vec3& onUpper : {W, meshing::HalfTurnAboutX(W)}) {
                            const Vec3 w0 = meshing::RotateY(onUpper, 2 * std::numbers::pi * start / z1);
                            best = std::min(best, OffTheFlank(flanks->upper, w0, -1.5, 1.5));
                        }
                    }
                    EXPECT_LT(best, 1e-3) << "(" << p.x << ", " << p.y << ") is " << best << " mm off the flank";
                    ++checked;
                }
            }
        }
    }
    // Every design's worm, and most hobs, draw their thread.
    EXPECT_GT(checked, 1000);
}

}  // namespace
}  // namespace wormgear
