// The fonts of every window of the program: MS Sans Serif 8 pt (11 pixels at
// 96 dots per inch) where it exists, with WenQuanYi Micro Hei behind it for
// the Chinese glyphs; the coefficient read-outs of the main window in SimSun.
#pragma once

#include <QFont>
#include <QStringList>

namespace wormgear {

QFont WindowFont();
// SimSun 8 pt, then the nearest fonts with Chinese glyphs.
QFont ReadoutFont();

}  // namespace wormgear
