// The module's entry: the worm's solid of a request as STEP bytes. Every
// OpenCASCADE exception stays inside: the caller gets an error text.
#include <Standard_Failure.hxx>
#include <exception>
#include <sstream>

#include "solids/step_file.h"
#include "solids/step_module.h"
#include "solids/worm_solid.h"

extern "C" __attribute__((visibility("default"))) void wormgear_solids_step_v1(
    const wormgear::solids::StepRequest& request, wormgear::solids::StepResult& result) {
    using namespace wormgear::solids;
    try {
        std::string error;
        const auto worm = MakeWorm(request.design, request.worm, request.piece == StepPiece::ModifiedWorm, &error);
        if (!worm) {
            result.error = error;
            return;
        }
        result.fitDeviation = worm->fitDeviation;
        auto bytes = StepBytes({{worm->shape, request.name, gp_Trsf()}}, "", &error);
        if (!bytes) {
            result.error = error;
            return;
        }
        result.bytes = std::move(*bytes);
    } catch (const Standard_Failure& e) {
        result.error = std::string("OpenCASCADE failed: ") + e.GetMessageString();
    } catch (const std::exception& e) {
        result.error = e.what();
    }
}
