// The one translation context of the settings commands and the coefficient
// editor: every text they show goes through SettingsText::tr.
#pragma once

#include <QCoreApplication>

namespace wormgear {

class SettingsText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::Settings)
};

}  // namespace wormgear
