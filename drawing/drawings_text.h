// The one translation context of the drawings, the report and their
// preview: wormgear::Drawings. The Qt-free sheets keep their texts as data
// (drawing/drawing_texts.h) and are handed InterfaceTranslation().
#pragma once

#include <QCoreApplication>

#include "drawing/drawings.h"
#include "translations/interface_language.h"

namespace wormgear {

class DrawingsText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::Drawings)
};

}  // namespace wormgear
