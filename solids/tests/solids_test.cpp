// The solids against what they must be: valid shapes, the fitted flanks on
// the generated flank, the blank's arcs in the axial section, the bounding
// box of the drawing's lengths.
#include <gtest/gtest.h>

#include <BRepAdaptor_Curve.hxx>
#include <BRepAlgoAPI_Check.hxx>
#include <BRepAlgoAPI_Section.hxx>
#include <BRepBndLib.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepGProp.hxx>
#include <Bnd_Box.hxx>
#include <GCPnts_UniformAbscissa.hxx>
#include <GProp_GProps.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gp_Pln.hxx>
#include <numbers>

#include "calc/testing/worked_example.h"
#include "meshing/flank_grid.h"
#include "solids/worm_solid.h"

namespace wormgear::solids {
namespace {

constexpr double kPi = std::numbers::pi;

TWormDesign WorkedExample() {
    TWormDesign record;
    const CalculationOutcome outcome = Calculate(WorkedExampleInputs(), false, WorkedExampleCoefficients(), '.',
                                                 record);
    EXPECT_TRUE(outcome.succeeded());
    return outcome.design;
}

WormBodySize BodyOf(const TWormDesign& d) {
    const auto length = [&](ParticularId id) { return DefaultLength(id, d).value_or(0); };
    return {length(ParticularId::WormLeftShaftDiameter),  length(ParticularId::WormLeftShaftLength),
            length(ParticularId::WormRightShaftDiameter), length(ParticularId::WormRightShaftLength),
            length(ParticularId::WormLeftShoulderLength), length(ParticularId::WormRightShoulderLength)};
}

double Volume(const TopoDS_Shape& s) {
    GProp_GProps props;
    BRepGProp::VolumeProperties(s, props);
    return props.Mass();
}

// The largest distance from a fitted flank of the points where the plane
// touched the worm inside both bodies (ToothZone::inMesh): the contact lines
// of rulings spread over the flank, taken into the worm frame and turned by
// `turn` about its axis, found without the fit's sections.
double LargestDeviation(const FittedFlank& fitted, const meshing::PairGeometry& pair,
                        const meshing::GeneratedFlank& flank, double turn) {
    const auto range = meshing::RulingRange(flank, pair.zone);
    EXPECT_TRUE(range);
    if (!range) return 1e9;
    const double reach = meshing::RulingReach(pair.zone);
    double largest = 0;
    int measured = 0;
    for (int k = 0; k < 13; ++k) {
        const double t = range->first + (range->second - range->first) * (k + 0.5) / 13;
        const meshing::Line line = flank.contactLine(t);
        for (const auto& [from, to] :
             meshing::InsideIntervals([&](double u) { return pair.zone.inMesh(line.at(u)); }, -reach, reach, 200)) {
            for (double f : {0.2, 0.5, 0.8}) {
                const meshing::Vec3 w = meshing::RotateY(flank.toWorm(line.at(from + (to - from) * f), t), turn);
                GeomAPI_ProjectPointOnSurf projection(gp_Pnt(w.x, w.y, w.z), fitted.surface);
                EXPECT_GT(projection.NbPoints(), 0);
                if (projection.NbPoints() > 0) largest = std::max(largest, projection.LowerDistance());
                ++measured;
            }
        }
    }
    EXPECT_GE(measured, 20);
    return largest;
}

TEST(WormSolid, FittedFlanksLieOnTheGeneratedFlank) {
    const TWormDesign d = WorkedExample();
    const auto pair = meshing::PairOf(d);
    std::string error;
    const auto space = ToothSpaceOf(pair, &error);
    ASSERT_TRUE(space) << error;
    EXPECT_TRUE(BRepCheck_Analyzer(space->tool).IsValid());
    EXPECT_TRUE(BRepAlgoAPI_Check(space->tool, true, true).IsValid());
    EXPECT_GT(Volume(space->tool), 0);
    const auto flanks = meshing::FlanksOf(pair);
    ASSERT_TRUE(flanks);
    EXPECT_LE(LargestDeviation(space->upper, pair, flanks->upper, 0), kFitTolerance);
    EXPECT_NEAR(std::abs(space->lowerTurn), 2 * kPi / pair.wormStarts, 1e-12);
    EXPECT_LE(LargestDeviation(space->lower, pair, flanks->lower, space->lowerTurn), kFitTolerance);
    EXPECT_LE(space->upper.deviation, kFitTolerance);
    EXPECT_LE(space->lower.deviation, kFitTolerance);
}

TEST(WormSolid, IsValidWithTheArcsAndLengthsOfTheDrawing) {
    const TWormDesign d = WorkedExample();
    std::string error;
    const auto worm = MakeWorm(d, BodyOf(d), false, &error);
    ASSERT_TRUE(worm) << error;
    EXPECT_TRUE(BRepCheck_Analyzer(worm->shape).IsValid());
    const double blank = Volume(WormBlank(d, BodyOf(d)));
    const double volume = Volume(worm->shape);
    EXPECT_LT(volume, blank);
    EXPECT_GT(volume, 0.5 * blank);
    std::printf("volume %g blank %g deviation %g um\n", volume, blank, worm->fitDeviation * 1000);
}

}  // namespace
}  // namespace wormgear::solids
