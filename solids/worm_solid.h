// The worm as a solid: the blank turned from its axial section, less one
// tooth space per start whose flanks are fitted to the generated flank
// W(t, u) of meshing/flank.h.
//
// Frame: the worm frame of meshing/pair.h (worm axis y through the origin,
// the wheel's mid-plane z = 0, the wheel axis at x = -A when the worm stands
// at phi1 = 0). In the axial section a point at distance rho from the axis
// and y along it lies at Q = (A - rho, y) from the wheel axis: the blank's
// tip is the arc |Q + (E, 0)| = Ra1 over |y| <= L/2, the tooth spaces end on
// the root arc |Q| = Rf1; beyond L/2 each side a shoulder of the largest tip
// diameter and a shaft end (WormBodySize).
//
// A tooth space is bounded by the upper flank of start 0 and the lower flank
// of the start next to it on the +y side at the throat (start 0's lower
// flank turned by `lowerTurn`, one start, about the worm axis). Both are
// taken section by section: in the worm's axial section turned by an angle
// e (meshing/flank.h, AxialSectionPoint) each flank crosses the section
// along its profile, and a row of the fit is that profile's points from
// 0.3 mm below the root arc to 1 mm above the tip arc, in equal steps of a
// blend of the distances to the two arcs. The rows follow the thread
// through the sections 10 degrees apart until both flanks' profiles lie
// wholly beyond the working length, and three rows further. Each flank face
// is the B-spline surface through the rows (GeomAPI_PointsToBSplineSurface,
// cubic both ways, one parameter step a row); two ruled faces close the space over the tip and under
// the root, lying in the sections, and two more at its ends. The space is
// then kept only outside the root arc's body of revolution and within
// |y| <= L/2, and cut from the blank.
//
// Worked example (A 200, i 25, z2 50, z1 2, Db 130, d1 78): Ra1 = 156.492,
// Rf1 = 168.728, L = 101; each fitted flank keeps within 1.1 um of the
// generated one.
#pragma once

#include <optional>
#include <string>

#include <Geom_BSplineSurface.hxx>
#include <TopoDS_Shape.hxx>

#include "calc/design.h"
#include "meshing/flank.h"
#include "solids/body.h"

namespace wormgear::solids {

// The largest deviation a fitted flank may have from the generated flank, mm.
inline constexpr double kFitTolerance = 0.005;

// One flank face of a tooth space: the fitted surface and the analytic
// flank it follows, for measuring the fit.
struct FittedFlank {
    Handle(Geom_BSplineSurface) surface;
    // The section of each row (the angle e the axial section is turned by).
    std::vector<double> turns;
    // The largest distance from the surface of the generated flank's points
    // midway between the rows and between the points of a row, within the
    // working length, mm.
    double deviation = 0;
};

struct ToothSpace {
    TopoDS_Shape tool;  // the closed space of start 0, before it is kept within the worm's zone
    FittedFlank upper, lower;
    double lowerTurn = 0;  // radians about the worm axis: the lower flank fitted is start 0's turned by it
};

// The tooth space of start 0 of `pair` (a pair whose generation set-up grinds
// the worm: PairOf, or ModifiedPairOf for the modified worm), or nothing
// with `error` set when the flanks cannot be placed or closed.
std::optional<ToothSpace> ToothSpaceOf(const meshing::PairGeometry& pair, std::string* error);

struct WormSolid {
    TopoDS_Shape shape;
    double fitDeviation = 0;  // mm: the larger of the two flanks' deviations
};

// The blank alone, and the worm: nothing with `error` when a step fails;
// a fit over kFitTolerance is reported as an error naming the deviation.
TopoDS_Shape WormBlank(const TWormDesign& design, const WormBodySize& body);
std::optional<WormSolid> MakeWorm(const TWormDesign& design, const WormBodySize& body, bool modified,
                                  std::string* error);

}  // namespace wormgear::solids
