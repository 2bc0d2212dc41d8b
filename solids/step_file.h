// Solids as a STEP file: AP214, millimetres, each part named (XCAF), several
// parts as an assembly with their placements.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <TopoDS_Shape.hxx>
#include <gp_Trsf.hxx>

namespace wormgear::solids {

struct StepPart {
    TopoDS_Shape shape;
    std::string name;  // UTF-8
    gp_Trsf placement;
};

// The bytes of the STEP file of one part (its placement applied to nothing:
// the part in its own frame) or, with `assembly` named, of the assembly of
// the parts at their placements. Nothing, with `error` set, on failure.
std::optional<std::string> StepBytes(const std::vector<StepPart>& parts, const std::string& assembly,
                                     std::string* error);

}  // namespace wormgear::solids
