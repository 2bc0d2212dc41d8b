// What wormcalc writes of a meshing analysis: a summary as text, one JSON
// object, and the measuring grid as CSV (meshing/flank_grid.h).
//
// JSON (numbers in mm, m/s, degrees, micrometres, as the keys say):
//   {"worm_speed_rpm": 1500, "flank": "upper",
//    "frame": "...",                                   the fixed frame, in words
//    "teeth_in_contact": {"min": 5, "max": 6},
//    "pitch_point": {"x", "y", "z", "sliding_speed_m_s", "lubrication_angle_deg", "off_line_mm"},
//    "contact_lines": [{"phi2_deg", "tooth", "branch": "first"|"second",
//                       "points": [{"x", "y", "z", "sliding_speed_m_s", "lubrication_angle_deg",
//                                   "entrainment_speed_m_s", "induced_curvature_per_mm"}]}],
//    "limit_lines": {"frame": "worm", "first": {"in_tooth_zone", "points": [{"x", "y", "z"}]},
//                    "second": {...}},
//    "modification": {"flank": "upper", "points": [{"y_mm", "departure_um"}]},
//    "wheel_flank": {"unsolved": 0, "points": [{"x", "y", "z"}]}}
// Contact points are where the contact is in space at that wheel angle, in
// the fixed frame; limit lines lie on the worm, in the worm's frame.
#pragma once

#include <iosfwd>
#include <string>

#include "calc/translate.h"
#include "meshing/analysis.h"

namespace wormgear {

void AppendMeshingJson(std::string& json, const meshing::MeshingAnalysis& analysis);
// The summary in the output's language (Chinese for an empty `translate`;
// its texts are in the context wormgear::Meshing).
void WriteMeshingText(std::ostream& out, const meshing::MeshingAnalysis& analysis, const Translate& translate = {});

}  // namespace wormgear
