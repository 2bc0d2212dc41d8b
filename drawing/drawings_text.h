// The one translation context of the drawings, the report and their
// preview: wormgear::Drawings. The Qt-free sheets keep their texts as data
// (drawing/drawing_texts.h) and are handed this translation.
#pragma once

#include <QCoreApplication>

#include "drawing/drawings.h"

namespace wormgear {

class DrawingsText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::Drawings)
};

// Each text of the sheets through QCoreApplication::translate in the context
// wormgear::Drawings; without a translator installed the Chinese stays.
Translate DrawingsTranslation();

}  // namespace wormgear
