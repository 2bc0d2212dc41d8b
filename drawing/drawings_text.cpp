// The translation of the sheets' texts.
#include "drawing/drawings_text.h"

namespace wormgear {

Translate DrawingsTranslation() {
    return [](const char* text) { return DrawingsText::tr(text).toStdString(); };
}

}  // namespace wormgear
