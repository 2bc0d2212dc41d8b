// Loading the solids module at run time: dlopen beside the program, the
// entry by name. The module stays loaded until the program ends.
#include <dlfcn.h>

#include "solids/step_module.h"

namespace wormgear::solids {

StepResult RunStepModule(const std::string& programDirectory, const StepRequest& request) {
    StepResult result;
    const std::string path = programDirectory + "/" + kSolidsModuleName;
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = dlerror();
        result.error = "the solids module " + path + " cannot be loaded" + (why ? std::string(": ") + why : "");
        return result;
    }
    const auto entry = reinterpret_cast<StepEntry>(dlsym(module, kStepEntryName));
    if (!entry) {
        result.error = "the solids module " + path + " has no entry " + kStepEntryName;
        return result;
    }
    entry(request, result);
    return result;
}

}  // namespace wormgear::solids
