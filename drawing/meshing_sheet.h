// The meshing analysis drawn on an A4 sheet across, for the window, its
// PNG, SVG and PDF, and the report: four plots and the key values.
//
//   1. the worm's axial section (along the worm axis, and out from the wheel
//      axis): the tooth zone between the tip and root arcs, the contact lines
//      at one wheel angle (first branch drawn through, second dashed) and
//      both limit lines (dash-dotted);
//   2. the wheel's tooth in its axial section (along the wheel axis, and the
//      radius): the rim and throat, the contact lines of one tooth over a
//      pitch (thin) and those at the wheel angle (thick);
//   3. along those lines: the lubrication angle and the sliding speed;
//   4. the modification's departure along the thread.
// Every point comes from the meshing core (meshing/analysis.h); ticks are
// round (axis_ticks.h).
//
//   const meshing::MeshingAnalysis analysis = meshing::AnalyseMeshing(design.design, {});
//   const MeshingAtAngle now = ContactAt(mesh, 0.02);
//   drawing::Sheet sheet = BuildMeshingSheet(design, analysis, now, title, translate);
#pragma once

#include <vector>

#include "drawing/drawings.h"
#include "meshing/analysis.h"

namespace wormgear {

// The contact lines of every tooth at one wheel angle.
struct MeshingAtAngle {
    double phi2 = 0;  // radians
    std::vector<meshing::ContactCurve> lines;
};
MeshingAtAngle ContactAt(const meshing::Mesh& mesh, double phi2, int points = 40);

drawing::Sheet BuildMeshingSheet(const CalculatedDesign& design, const meshing::MeshingAnalysis& analysis,
                                 const MeshingAtAngle& now, const TitleBlock& title, const Translate& translate = {});

}  // namespace wormgear
