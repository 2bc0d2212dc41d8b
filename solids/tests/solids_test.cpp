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
#include <STEPControl_Reader.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <cstdio>
#include <fstream>
#include <gp_Pln.hxx>
#include <numbers>

#include "calc/testing/worked_example.h"
#include "meshing/flank_grid.h"
#include "solids/step_file.h"
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
    for (int k = 0; k < 9; ++k) {
        const double t = range->first + (range->second - range->first) * (k + 0.5) / 9;
        const meshing::Line line = flank.contactLine(t);
        for (const auto& [from, to] :
             meshing::InsideIntervals([&](double u) { return pair.zone.inMesh(line.at(u)); }, -reach, reach, 200)) {
            for (double f : {0.25, 0.75}) {
                const meshing::Vec3 w = meshing::RotateY(flank.toWorm(line.at(from + (to - from) * f), t), turn);
                GeomAPI_ProjectPointOnSurf projection(gp_Pnt(w.x, w.y, w.z), fitted.surface);
                EXPECT_GT(projection.NbPoints(), 0);
                if (projection.NbPoints() > 0) largest = std::max(largest, projection.LowerDistance());
                ++measured;
            }
        }
    }
    EXPECT_GE(measured, 12);
    return largest;
}

// The worked example's worm, ground as the pair and with the modification
// set-up.
// A design whose flanks the sections cannot follow along the whole thread
// (one start, i = 40: 200 degrees from the throat the lower flank found
// lies below the upper one) gets no solid, and the reason.
TEST(WormSolid, NoSolidWhereTheFlanksCannotBeFollowed) {
    TWormDesign record;
    const CalculationOutcome outcome = Calculate(PairInputs({"80", "40", "40", "1", "52", "33", "0"}), false,
                                                 WorkedExampleCoefficients(), '.', record);
    ASSERT_TRUE(outcome.succeeded());
    std::string error;
    EXPECT_FALSE(ToothSpaceOf(meshing::PairOf(outcome.design), &error));
    EXPECT_NE(error.find("flanks of the tooth space cross"), std::string::npos) << error;
}

TEST(WormSolid, FittedFlanksLieOnTheGeneratedFlank) {
    const struct {
        const char* name;
        const char *A, *i, *z2, *z1, *Db, *d1, *E;
        bool modified;
    } designs[] = {
        {"worked example", "200", "25", "50", "2", "130", "78", "0", false},
        {"worked example, modified", "200", "25", "50", "2", "130", "78", "0", true},
    };
    for (const auto& t : designs) {
        SCOPED_TRACE(t.name);
        TWormDesign record;
        const CalculationOutcome outcome = Calculate(PairInputs({t.A, t.i, t.z2, t.z1, t.Db, t.d1, t.E}), false,
                                                     WorkedExampleCoefficients(), '.', record);
        ASSERT_TRUE(outcome.succeeded());
        const auto pair = t.modified ? meshing::ModifiedPairOf(outcome.design) : meshing::PairOf(outcome.design);
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
}

// One worm of the worked example for the tests below: the cuts take seconds.
class WormOfWorkedExample : public ::testing::Test {
 protected:
    static void SetUpTestSuite() {
        design_ = new TWormDesign(WorkedExample());
        std::string error;
        auto worm = MakeWorm(*design_, BodyOf(*design_), false, &error);
        if (worm) worm_ = new WormSolid(std::move(*worm));
        error_ = new std::string(error);
    }
    static void TearDownTestSuite() {
        delete worm_;
        delete design_;
        delete error_;
    }
    static TWormDesign* design_;
    static WormSolid* worm_;
    static std::string* error_;
};
TWormDesign* WormOfWorkedExample::design_ = nullptr;
WormSolid* WormOfWorkedExample::worm_ = nullptr;
std::string* WormOfWorkedExample::error_ = nullptr;

Bnd_Box TightBox(const TopoDS_Shape& s) {
    Bnd_Box box;
    BRepBndLib::AddOptimal(s, box, false, false);
    return box;
}

TEST_F(WormOfWorkedExample, IsValidAndLessThanItsBlank) {
    ASSERT_TRUE(worm_) << *error_;
    EXPECT_TRUE(BRepCheck_Analyzer(worm_->shape).IsValid());
    EXPECT_LE(worm_->fitDeviation, kFitTolerance);
    int solids = 0;
    for (TopExp_Explorer e(worm_->shape, TopAbs_SOLID); e.More(); e.Next()) ++solids;
    EXPECT_EQ(solids, 1);
    const double blank = Volume(WormBlank(*design_, BodyOf(*design_)));
    const double volume = Volume(worm_->shape);
    // Two tooth spaces of about 4.7 mm at the root and 16.3 mm at the tip,
    // 12.3 mm deep, along some 3 turns at about 38 mm: 2 x 10.5 x 12.3 x 640 mm^3.
    EXPECT_GT(blank - volume, 0.5 * 165000);
    EXPECT_LT(blank - volume, 1.5 * 165000);
}

TEST_F(WormOfWorkedExample, BoundingBoxIsTheDrawingsLengthsAndLargestTipDiameter) {
    ASSERT_TRUE(worm_) << *error_;
    const TWormDesign& d = *design_;
    const auto length = [&](ParticularId id) { return *DefaultLength(id, d); };
    const double half = static_cast<double>(d.WormWorkingLength) / 2;
    const double left = half + length(ParticularId::WormLeftShoulderLength) + length(ParticularId::WormLeftShaftLength);
    const double right = half + length(ParticularId::WormRightShoulderLength) +
                         length(ParticularId::WormRightShaftLength);
    const double tip = static_cast<double>(d.WormMaxTipDiameter) / 2;  // rounded to 0.001 mm
    double x0, y0, z0, x1, y1, z1;
    TightBox(worm_->shape).Get(x0, y0, z0, x1, y1, z1);
    EXPECT_NEAR(y0, -left, 1e-6);
    EXPECT_NEAR(y1, right, 1e-6);
    for (double r : {-x0, x1, -z0, z1}) EXPECT_NEAR(r, tip, 0.0006);
}

// The axial section z = 0 (the wheel's mid-plane): within the working length
// no point lies deeper than the root arc or above the tip arc, and both arcs
// are reached, on the wheel's side and on the far side, within 1 um.
TEST_F(WormOfWorkedExample, MidPlaneSectionHasTheTipAndRootArcs) {
    ASSERT_TRUE(worm_) << *error_;
    const TWormDesign& d = *design_;
    const double A = static_cast<double>(d.CentreDistance), E = static_cast<double>(d.TipArcEccentricity);
    const double Ra1 = static_cast<double>(d.WormTipArcRadius), Rf1 = static_cast<double>(d.WormRootArcRadius);
    const double half = static_cast<double>(d.WormWorkingLength) / 2;
    BRepAlgoAPI_Section section(worm_->shape, gp_Pln(gp::Origin(), gp::DZ()));
    ASSERT_TRUE(section.IsDone());
    double deepest[2] = {0, 0}, highest[2] = {1e9, 1e9};
    int samples = 0;
    for (TopExp_Explorer e(section.Shape(), TopAbs_EDGE); e.More(); e.Next()) {
        const BRepAdaptor_Curve curve(TopoDS::Edge(e.Current()));
        for (int k = 0; k <= 200; ++k) {
            const gp_Pnt p = curve.Value(curve.FirstParameter() +
                                         (curve.LastParameter() - curve.FirstParameter()) * k / 200);
            if (std::abs(p.Y()) > half - 1e-3) continue;
            ++samples;
            const int side = p.X() < 0 ? 0 : 1;
            const double qx = A - std::abs(p.X());
            deepest[side] = std::max(deepest[side], std::hypot(qx, p.Y()));
            highest[side] = std::min(highest[side], std::hypot(qx + E, p.Y()));
        }
    }
    EXPECT_GT(samples, 1000);
    for (int side : {0, 1}) {
        EXPECT_NEAR(deepest[side], Rf1, 1e-3) << side;
        EXPECT_NEAR(highest[side], Ra1, 1e-3) << side;
    }
}

// Written as STEP and read back by the reader: the same volume and box.
TEST_F(WormOfWorkedExample, StepRoundTripKeepsVolumeAndBox) {
    ASSERT_TRUE(worm_) << *error_;
    std::string error;
    const auto bytes = StepBytes({{worm_->shape, "WG-01 worm", gp_Trsf()}}, "", &error);
    ASSERT_TRUE(bytes) << error;
    EXPECT_NE(bytes->find("AUTOMOTIVE_DESIGN"), std::string::npos);
    EXPECT_NE(bytes->find("SI_UNIT(.MILLI.,.METRE.)"), std::string::npos);
    EXPECT_NE(bytes->find("'WG-01 worm'"), std::string::npos);
    const std::string path = ::testing::TempDir() + "/solids_round_trip.step";
    {
        std::ofstream out(path, std::ios::binary);
        out << *bytes;
    }
    STEPControl_Reader reader;
    ASSERT_EQ(reader.ReadFile(path.c_str()), IFSelect_RetDone);
    ASSERT_GT(reader.TransferRoots(), 0);
    const TopoDS_Shape back = reader.OneShape();
    std::remove(path.c_str());
    EXPECT_TRUE(BRepCheck_Analyzer(back).IsValid());
    EXPECT_NEAR(Volume(back), Volume(worm_->shape), 1e-6 * Volume(worm_->shape));
    double a[6], b[6];
    TightBox(worm_->shape).Get(a[0], a[1], a[2], a[3], a[4], a[5]);
    TightBox(back).Get(b[0], b[1], b[2], b[3], b[4], b[5]);
    for (int k = 0; k < 6; ++k) EXPECT_NEAR(a[k], b[k], 1e-4) << k;
}

}  // namespace
}  // namespace wormgear::solids
