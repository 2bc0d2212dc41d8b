// The window fonts.
#include "dialogs/window_font.h"

namespace wormgear {

QFont WindowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(11);
    return font;
}

QFont ReadoutFont() {
    QFont font;
    font.setFamilies(
        {QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(11);
    return font;
}

}  // namespace wormgear
