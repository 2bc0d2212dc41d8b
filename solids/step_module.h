// The solids module as wormcalc sees it: no OpenCASCADE here. The module
// (wormgear-solids.so beside the program) is loaded only when a STEP file is
// asked for, so the calculation and every other output run without it.
#pragma once

#include <string>

#include "calc/design.h"
#include "solids/body.h"

namespace wormgear::solids {

enum class StepPiece { Worm, ModifiedWorm };

struct StepRequest {
    StepPiece piece = StepPiece::Worm;
    TWormDesign design;  // a successful calculation's record
    WormBodySize worm;
    std::string name;  // the part's name in the file
};

// The STEP file's bytes, or why there are none (`error` not empty); the fit's
// deviation, mm, when a worm was built.
struct StepResult {
    std::string bytes;
    std::string error;
    double fitDeviation = 0;
};

// The module's one entry, by this name.
using StepEntry = void (*)(const StepRequest& request, StepResult& result);
inline constexpr const char* kStepEntryName = "wormgear_solids_step_v1";
inline constexpr const char* kSolidsModuleName = "wormgear-solids.so";

// Loads the module from `programDirectory` and runs the request; a module
// that cannot be loaded is an error of the result.
StepResult RunStepModule(const std::string& programDirectory, const StepRequest& request);

}  // namespace wormgear::solids
