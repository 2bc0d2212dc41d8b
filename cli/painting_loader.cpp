// Loading wormcalc's painting module from the program directory.
#include <dlfcn.h>

#include "cli/painting.h"

namespace wormgear {

const PaintingModule& LoadPainting(const std::string& directory) {
    static const PaintingModule* loaded = nullptr;
    if (loaded) return *loaded;
    const std::string path = directory + "/" + kPaintingModuleFile;
    // Kept loaded to the end of the process: the application object and the
    // fonts it made live in the module's libraries.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) throw PaintingMissing("the painting module " + path + " cannot be loaded: " + dlerror());
    using Entry = const PaintingModule* (*)();
    const auto entry = reinterpret_cast<Entry>(dlsym(module, kPaintingEntry));
    if (!entry) throw PaintingMissing("the painting module " + path + " has no entry " + kPaintingEntry);
    const PaintingModule* offered = entry();
    if (!offered || offered->version != kPaintingInterface) {
        throw PaintingMissing("the painting module " + path + " belongs to another build of wormcalc");
    }
    loaded = offered;
    return *loaded;
}

}  // namespace wormgear
