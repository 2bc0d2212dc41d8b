// The English catalogue of the source tree for the tests of the libraries
// without Qt: translations/wormgear_en.ts read with pugixml (Catalogue), as
// the programs read its .qm. Link the library `catalogue`.
//
//   FindingMessage(finding, English(), '.')   // "The main base circle diameter Db = 400 exceeds ..."
#pragma once

#include "translations/catalogue.h"

namespace wormgear {

inline const Translate& English() {
    static const Translate english = Catalogue::Read(WORMGEAR_CATALOGUE).translation();
    return english;
}

}  // namespace wormgear
