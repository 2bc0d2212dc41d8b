// The worm solid: blank, tooth spaces fitted to the generated flank, one cut.
#include "solids/worm_solid.h"

#include <BRepAlgoAPI_Common.hxx>
#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepBuilderAPI_Sewing.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepCheck_Analyzer.hxx>
#include <BRepLib.hxx>
#include <BRepPrimAPI_MakeRevol.hxx>
#include <GC_MakeArcOfCircle.hxx>
#include <GeomAPI_PointsToBSplineSurface.hxx>
#include <GeomAPI_ProjectPointOnSurf.hxx>
#include <GeomFill.hxx>
#include <Geom_BSplineCurve.hxx>
#include <ShapeAnalysis_Surface.hxx>
#include <ShapeFix_Solid.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_ListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Shell.hxx>
#include <cmath>
#include <numbers>
#include <sstream>
#include <vector>

namespace wormgear::solids {

namespace {

using meshing::FlankSide;
using meshing::GeneratedFlank;
using meshing::Line;
using meshing::PairGeometry;
using meshing::Vec3;

constexpr double kPi = std::numbers::pi;
// How far the tooth space runs past the tip and the root, mm: past the tip
// so that the cut leaves the blank's tip arc whole, past the root so that
// the root arc's body bounds it there, not so far that the two flanks,
// converging below the root, meet.
constexpr double kPastTip = 1.0;
constexpr double kPastRoot = 0.3;
// The rows of the fit: one axial section every 10 degrees of the worm, so
// that the cubic through them follows the thread within about a micrometre
// (1.1 um in the worked example); five points on each section's profile.
constexpr double kTurnPerRow = 10 * kPi / 180;
constexpr int kAcross = 5;
// The ends of the space stand this far beyond the working length, mm.
constexpr double kPastEnd = 1.0;

gp_Pnt P(Vec3 v) { return {v.x, v.y, v.z}; }

// Where a flank crosses the axial section turned by `turn`: the ruling's time
// whose section point lies at `level` between the root's (0) and the tip's
// (1) line of the band, found by the secant method from `guess`.
class Profile {
 public:
    Profile(const GeneratedFlank& flank, const PairGeometry& pair) : flank_(flank), zone_(pair.zone) {}

    // The section point (section coordinates, z = 0) of the ruling of time t.
    std::optional<Vec3> at(double t, double turn) const { return meshing::AxialSectionPoint(flank_, t, turn); }

    double offLevel(double t, double turn, double level) const {
        const auto s = at(t, turn);
        if (!s) return std::nan("");
        const double qx = s->x + zone_.centreDistance, qy = s->y;
        const double root = std::hypot(qx, qy) - (zone_.rootArcRadius + kPastRoot);
        const double tip = std::hypot(qx + zone_.tipEccentricity, qy) - (zone_.tipArcRadius - kPastTip);
        return (1 - level) * root + level * tip;
    }

    std::optional<double> solve(double turn, double level, double guess) const {
        if (auto t = secant(turn, level, guess)) return t;
        // Far from the guess (the first row's levels from the pitch arc's
        // crossing): outwards on both hands until the level lies between two
        // rulings on the wheel's side, then by bisection.
        const double step = 0.002;
        double previous[2] = {guess, guess}, fp[2];
        fp[0] = fp[1] = offLevel(guess, turn, level);
        for (int k = 1; k <= 800; ++k) {
            for (int hand = 0; hand < 2; ++hand) {
                const double next = guess + (hand == 0 ? k : -k) * step, fn = offLevel(next, turn, level);
                if (std::isfinite(fn) && std::isfinite(fp[hand]) && (fn > 0) != (fp[hand] > 0)) {
                    double in = previous[hand], out = next, fin = fp[hand];
                    for (int n = 0; n < 80; ++n) {
                        const double middle = (in + out) / 2, fm = offLevel(middle, turn, level);
                        if ((fm > 0) == (fin > 0)) {
                            in = middle;
                            fin = fm;
                        } else {
                            out = middle;
                        }
                    }
                    if (auto t = secant(turn, level, (in + out) / 2)) return t;
                }
                previous[hand] = next;
                fp[hand] = fn;
            }
        }
        return std::nullopt;
    }

 private:
    std::optional<double> secant(double turn, double level, double guess) const {
        double a = guess, b = guess + 1e-4;
        double fa = offLevel(a, turn, level), fb = offLevel(b, turn, level);
        for (int k = 0; k < 60; ++k) {
            if (!std::isfinite(fa) || !std::isfinite(fb) || fa == fb) return std::nullopt;
            const double c = b - fb * (b - a) / (fb - fa);
            a = b;
            fa = fb;
            b = c;
            fb = offLevel(b, turn, level);
            if (std::abs(fb) < 1e-12 || std::abs(b - a) < 1e-15) break;
        }
        if (!(std::abs(fb) < 1e-9)) return std::nullopt;
        // Only the crossing on the wheel's side, facing the wheel, near the guess.
        const auto s = at(b, turn);
        if (!s || std::abs(std::atan2(s->y, s->x + zone_.centreDistance)) > kPi / 3) return std::nullopt;
        return b;
    }

 private:
    const GeneratedFlank& flank_;
    meshing::ToothZone zone_;
};

// One flank's rows, followed from section to section: the times of the
// previous row's points are the next row's guesses.
class FlankRows {
 public:
    FlankRows(const GeneratedFlank& flank, const PairGeometry& pair, double sectionShift)
        : profile_(flank, pair), shift_(sectionShift) {}

    // The row of the section turned by `turn` (the flank's own section turned
    // by turn + shift), in the worm frame at the section `turn`.
    // Nothing, with `level` the first level not found, when the flank does
    // not reach it in that section.
    bool row(double turn, std::vector<double>& times, std::vector<Vec3>& points, double* level = nullptr) const {
        points.clear();
        for (int j = 0; j < kAcross; ++j) {
            const auto t = profile_.solve(turn + shift_, static_cast<double>(j) / (kAcross - 1),
                                          times[static_cast<std::size_t>(j)]);
            if (!t) {
                if (level) *level = static_cast<double>(j) / (kAcross - 1);
                return false;
            }
            times[static_cast<std::size_t>(j)] = *t;
            points.push_back(meshing::RotateY(*profile_.at(*t, turn + shift_), -turn));
        }
        return true;
    }
    const Profile& profile() const { return profile_; }
    double shift() const { return shift_; }

 private:
    Profile profile_;
    double shift_;
};

struct Rows {
    std::vector<double> turns;
    std::vector<std::vector<double>> times;
    std::vector<std::vector<Vec3>> points;
};

std::optional<FittedFlank> Fit(const Rows& rows, const FlankRows& flank, double halfLength, std::string* error) {
    FittedFlank fitted;
    fitted.turns = rows.turns;
    const int n = static_cast<int>(rows.turns.size());
    TColgp_Array2OfPnt points(1, n, 1, kAcross);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < kAcross; ++j)
            points.SetValue(i + 1, j + 1, P(rows.points[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]));
    GeomAPI_PointsToBSplineSurface fit;
    // One parameter step a row on both flanks: the ruled faces between them
    // then join points of the same section.
    fit.Interpolate(points, Approx_IsoParametric);
    if (!fit.IsDone()) {
        if (error) *error = "the flank could not be fitted";
        return std::nullopt;
    }
    fitted.surface = fit.Surface();
    // The generated flank midway between the rows and between the points of
    // a row, where it is kept: within the working length. Each point is
    // found on the surface from the one before.
    ShapeAnalysis_Surface onSurface(fitted.surface);
    gp_Pnt2d previous;
    bool first = true;
    const Profile& profile = flank.profile();
    for (int i = 0; i + 1 < n; ++i) {
        const double turn = (rows.turns[static_cast<std::size_t>(i)] + rows.turns[static_cast<std::size_t>(i + 1)]) / 2;
        const std::vector<double>& times = rows.times[static_cast<std::size_t>(i)];
        for (int j = 0; j + 1 < kAcross; ++j) {
            const double level = (j + 0.5) / (kAcross - 1);
            const auto t = profile.solve(
                turn + flank.shift(), level,
                (times[static_cast<std::size_t>(j)] + times[static_cast<std::size_t>(j + 1)]) / 2);
            if (!t) {
                if (error) *error = "the generated flank could not be followed between the rows";
                return std::nullopt;
            }
            const gp_Pnt p = P(meshing::RotateY(*profile.at(*t, turn + flank.shift()), -turn));
            if (std::abs(p.Y()) > halfLength) continue;
            previous = first ? onSurface.ValueOfUV(p, 1e-9) : onSurface.NextValueOfUV(previous, p, 1e-9, -1);
            first = false;
            fitted.deviation = std::max(fitted.deviation, onSurface.Gap());
        }
    }
    return fitted;
}

TopoDS_Face FaceOf(const Handle(Geom_Surface) & surface) {
    return BRepBuilderAPI_MakeFace(surface, Precision::Confusion()).Face();
}

// The profile of a body of revolution about y in the plane z = 0 (x = rho),
// turned about the axis once.
TopoDS_Shape Revolved(const TopoDS_Wire& profile) {
    const TopoDS_Face face = BRepBuilderAPI_MakeFace(profile, true).Face();
    return BRepPrimAPI_MakeRevol(face, gp_Ax1(gp::Origin(), gp::DY()), 2 * kPi, true).Shape();
}

// A closed profile of straight segments and arcs: points, with an arc's
// middle point after the point where it starts.
class Outline {
 public:
    void lineTo(gp_Pnt p) {
        if (!points_.empty() && points_.back().Distance(p) < Precision::Confusion()) return;
        flush(p);
    }
    void arcTo(gp_Pnt middle, gp_Pnt end) {
        wire_.Add(BRepBuilderAPI_MakeEdge(GC_MakeArcOfCircle(points_.back(), middle, end).Value()).Edge());
        points_.push_back(end);
    }
    TopoDS_Wire close() {
        flush(points_.front());
        return wire_.Wire();
    }

 private:
    void flush(gp_Pnt p) {
        if (!points_.empty()) wire_.Add(BRepBuilderAPI_MakeEdge(points_.back(), p).Edge());
        points_.push_back(p);
    }
    std::vector<gp_Pnt> points_;
    BRepBuilderAPI_MakeWire wire_;
};

double TipRho(const TWormDesign& d, double y) {
    const double ra = static_cast<double>(d.WormTipArcRadius);
    return static_cast<double>(d.CentreDistance + d.TipArcEccentricity) - std::sqrt(ra * ra - y * y);
}
double RootRho(const TWormDesign& d, double y) {
    const double rf = static_cast<double>(d.WormRootArcRadius);
    return static_cast<double>(d.CentreDistance) - std::sqrt(rf * rf - y * y);
}

// Where the root arc's body of revolution ends: the tooth spaces are kept
// between it and a radius well above the tip, within |y| <= L/2.
TopoDS_Shape SpaceZone(const TWormDesign& d) {
    const double h = static_cast<double>(d.WormWorkingLength) / 2;
    const double outside = TipRho(d, h) + 10;
    Outline p;
    p.lineTo({RootRho(d, -h), -h, 0});
    p.arcTo({RootRho(d, 0), 0, 0}, {RootRho(d, h), h, 0});
    p.lineTo({outside, h, 0});
    p.lineTo({outside, -h, 0});
    return Revolved(p.close());
}

}  // namespace

std::optional<ToothSpace> ToothSpaceOf(const PairGeometry& pair, std::string* error) {
    const auto fail = [&](const char* why) -> std::optional<ToothSpace> {
        if (error) *error = why;
        return std::nullopt;
    };
    const auto flanks = meshing::FlanksOf(pair);
    if (!flanks || pair.wormStarts <= 0) return fail("the worm flanks cannot be placed for the throat thickness");
    const double startTurn = 2 * kPi / pair.wormStarts;
    // The start next to start 0 on the +y side: its lower flank crosses the
    // pitch arc of the throat's section at an angle above the upper flank's.
    const auto upperCrossing = meshing::CrossPitchArc(flanks->upper, pair, 0);
    if (!upperCrossing) return fail("the upper flank does not cross the pitch arc");
    double lowerTurn = 0, lowerTime = 0, lowerAngle = 1e9;
    for (double turn : {startTurn, -startTurn}) {
        // Start 0's lower flank turned by `turn` crosses the section 0 where
        // start 0's crosses the section turned by `turn`.
        for (double guess : {0.0, turn / pair.generation.ratio, -turn / pair.generation.ratio}) {
            const auto c = meshing::CrossPitchArc(flanks->lower, pair, guess, turn);
            if (c && c->angle > upperCrossing->angle && c->angle < lowerAngle) {
                lowerAngle = c->angle;
                lowerTurn = turn;
                lowerTime = c->time;
            }
        }
    }
    if (lowerAngle > kPi) return fail("the next start's lower flank does not cross the pitch arc");
    const FlankRows upperRows(flanks->upper, pair, 0), lowerRows(flanks->lower, pair, lowerTurn);

    // From the throat's section both ways along the thread.
    const double half = pair.zone.workingLength / 2 + kPastEnd;
    struct Way {
        std::vector<double> turns;
        std::vector<std::vector<double>> upperTimes, lowerTimes;
        std::vector<std::vector<Vec3>> upper, lower;
    };
    const auto beyond = [&](const std::vector<Vec3>& row, double side) {
        for (const Vec3& v : row)
            if (side * v.y < half) return false;
        return true;
    };
    Way ways[2];
    double sides[2] = {0, 0};
    for (int w = 0; w < 2; ++w) {
        const double step = w == 0 ? kTurnPerRow : -kTurnPerRow;
        std::vector<double> upperTimes(kAcross, upperCrossing->time), lowerTimes(kAcross, lowerTime);
        std::vector<Vec3> upper, lower;
        int past = -1;
        for (int k = w == 0 ? 0 : 1; k < 4000 && past < 3; ++k) {
            const double turn = k * step;
            double level = 0;
            const bool upperFound = upperRows.row(turn, upperTimes, upper, &level);
            if (!upperFound || !lowerRows.row(turn, lowerTimes, lower, &level)) {
                if (error) {
                    std::ostringstream text;
                    text << "the generated " << (upperFound ? "lower" : "upper") << " flank does not reach from "
                         << kPastRoot << " mm below the root to " << kPastTip
                         << " mm above the tip in the axial section turned by " << turn * 180 / kPi
                         << " degrees (not at " << level * 100 << "% of the way)";
                    *error = text.str();
                }
                return std::nullopt;
            }
            // In each section the next start's lower flank lies on the +y side
            // of the upper flank at every level: where it does not, the two
            // flanks have crossed and the rows follow no tooth space.
            for (int j = 0; j < kAcross; ++j) {
                if (!(lower[static_cast<std::size_t>(j)].y > upper[static_cast<std::size_t>(j)].y)) {
                    if (error) {
                        std::ostringstream text;
                        text << "the flanks of the tooth space cross in the axial section turned by "
                             << turn * 180 / kPi << " degrees";
                        *error = text.str();
                    }
                    return std::nullopt;
                }
            }
            Way& way = ways[w];
            way.turns.push_back(turn);
            way.upperTimes.push_back(upperTimes);
            way.lowerTimes.push_back(lowerTimes);
            way.upper.push_back(upper);
            way.lower.push_back(lower);
            if (w == 0 && k == 1) sides[0] = upper.front().y > way.upper.front().front().y ? 1 : -1;
            if (w == 1) sides[1] = -sides[0];
            if (past >= 0) ++past;
            else if (k > 0 && sides[w] != 0 && beyond(upper, sides[w]) && beyond(lower, sides[w])) past = 0;
        }
        if (past < 3) return fail("the tooth space does not close beyond the working length");
    }
    // The rows in order of the turn: the way back reversed, then the way on.
    Rows upperFit, lowerFit;
    for (int w : {1, 0}) {
        const Way& way = ways[w];
        const std::size_t n = way.turns.size();
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t i = w == 1 ? n - 1 - k : k;
            upperFit.turns.push_back(way.turns[i]);
            upperFit.times.push_back(way.upperTimes[i]);
            upperFit.points.push_back(way.upper[i]);
            lowerFit.turns.push_back(way.turns[i]);
            lowerFit.times.push_back(way.lowerTimes[i]);
            lowerFit.points.push_back(way.lower[i]);
        }
    }
    auto upper = Fit(upperFit, upperRows, pair.zone.workingLength / 2, error);
    if (!upper) return std::nullopt;
    auto lower = Fit(lowerFit, lowerRows, pair.zone.workingLength / 2, error);
    if (!lower) return std::nullopt;

    // Six faces: the two flanks, ruled faces over the tip and under the root,
    // and the two ends.
    const Handle(Geom_BSplineSurface)& a = upper->surface, &b = lower->surface;
    double u0, u1, v0, v1, bu0, bu1, bv0, bv1;
    a->Bounds(u0, u1, v0, v1);
    b->Bounds(bu0, bu1, bv0, bv1);
    BRepBuilderAPI_Sewing sewing(1e-4);
    sewing.Add(FaceOf(a));
    sewing.Add(FaceOf(b));
    sewing.Add(FaceOf(GeomFill::Surface(a->VIso(v0), b->VIso(bv0))));
    sewing.Add(FaceOf(GeomFill::Surface(a->VIso(v1), b->VIso(bv1))));
    sewing.Add(FaceOf(GeomFill::Surface(a->UIso(u0), b->UIso(bu0))));
    sewing.Add(FaceOf(GeomFill::Surface(a->UIso(u1), b->UIso(bu1))));
    sewing.Perform();
    TopoDS_Shape sewn = sewing.SewedShape();
    TopExp_Explorer shells(sewn, TopAbs_SHELL);
    if (!shells.More()) {
        if (error) *error = "the tooth space's faces do not close";
        return std::nullopt;
    }
    TopoDS_Solid solid = ShapeFix_Solid().SolidFromShell(TopoDS::Shell(shells.Current()));
    if (!solid.IsNull()) BRepLib::OrientClosedSolid(solid);
    if (solid.IsNull() || !BRepCheck_Analyzer(solid).IsValid()) {
        if (error) *error = "the tooth space is no valid solid";
        return std::nullopt;
    }
    return ToothSpace{solid, std::move(*upper), std::move(*lower), lowerTurn};
}

TopoDS_Shape WormBlank(const TWormDesign& d, const WormBodySize& body) {
    const double h = static_cast<double>(d.WormWorkingLength) / 2;
    const double end = TipRho(d, h);
    const double leftShoulder = h + body.leftShoulderLength, rightShoulder = h + body.rightShoulderLength;
    const double leftEnd = leftShoulder + (body.leftShaftDiameter > 0 ? body.leftShaftLength : 0);
    const double rightEnd = rightShoulder + (body.rightShaftDiameter > 0 ? body.rightShaftLength : 0);
    Outline p;
    p.lineTo({0, -leftEnd, 0});
    if (leftEnd > leftShoulder) {
        p.lineTo({body.leftShaftDiameter / 2, -leftEnd, 0});
        p.lineTo({body.leftShaftDiameter / 2, -leftShoulder, 0});
    }
    p.lineTo({end, -leftShoulder, 0});
    p.lineTo({end, -h, 0});
    p.arcTo({TipRho(d, 0), 0, 0}, {end, h, 0});
    p.lineTo({end, rightShoulder, 0});
    if (rightEnd > rightShoulder) {
        p.lineTo({body.rightShaftDiameter / 2, rightShoulder, 0});
        p.lineTo({body.rightShaftDiameter / 2, rightEnd, 0});
    }
    p.lineTo({0, rightEnd, 0});
    return Revolved(p.close());
}

std::optional<WormSolid> MakeWorm(const TWormDesign& design, const WormBodySize& body, bool modified,
                                  std::string* error) {
    const PairGeometry pair = modified ? meshing::ModifiedPairOf(design) : meshing::PairOf(design);
    auto space = ToothSpaceOf(pair, error);
    if (!space) return std::nullopt;
    WormSolid worm;
    worm.fitDeviation = std::max(space->upper.deviation, space->lower.deviation);
    if (worm.fitDeviation > kFitTolerance) {
        if (error) {
            std::ostringstream text;
            text << "the fitted flank deviates by " << worm.fitDeviation * 1000
                 << " um from the generated flank (at most " << kFitTolerance * 1000 << " um)";
            *error = text.str();
        }
        return std::nullopt;
    }
    TopTools_ListOfShape spaces;
    for (int start = 0; start < pair.wormStarts; ++start) {
        gp_Trsf turn;
        turn.SetRotation(gp_Ax1(gp::Origin(), gp::DY()), -2 * kPi * start / pair.wormStarts);
        spaces.Append(BRepBuilderAPI_Transform(space->tool, turn, true).Shape());
    }
    // The spaces within the zone of the teeth, then one cut of the blank.
    BRepAlgoAPI_Common kept;
    TopTools_ListOfShape zone;
    zone.Append(SpaceZone(design));
    kept.SetArguments(spaces);
    kept.SetTools(zone);
    kept.SetUseOBB(true);
    kept.Build();
    if (!kept.IsDone()) {
        if (error) *error = "the tooth spaces could not be bounded by the root arc";
        return std::nullopt;
    }
    BRepAlgoAPI_Cut cut;
    TopTools_ListOfShape blank, tools;
    blank.Append(WormBlank(design, body));
    tools.Append(kept.Shape());
    cut.SetArguments(blank);
    cut.SetTools(tools);
    cut.SetUseOBB(true);
    cut.Build();
    if (!cut.IsDone()) {
        if (error) *error = "the tooth spaces could not be cut from the blank";
        return std::nullopt;
    }
    worm.shape = cut.Shape();
    return worm;
}

}  // namespace wormgear::solids
