// Where a window of the program opens and how large: beside the main window
// when the screen has room for it there, else centred on it, and always
// within the screen's available area (the desktop without its panels), its
// frame and title bar included.
//
//   PlaceWindow(*checks, mainWindow, QSize(1000, 360));
//     // 1280 x 900 desktop, main window centred: no room beside it, so the
//     // checks window stands centred on the main window, 1000 x 360
//   PlaceWindow(*solutions, mainWindow, QSize(1180, 900));
//     // too high for the desktop: as high as its available area allows
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace wormgear {

// Sizes `window` to `wanted` (its client area), made smaller where the
// screen is smaller, and moves it beside `anchor` (right, then left, then
// below it) where it fits whole, else centred on it; without an anchor,
// centred on the screen. Call it before the first showing; a window shown
// again keeps the place the user gave it.
void PlaceWindow(QWidget& window, const QWidget* anchor, QSize wanted);

// The same rule on plain rectangles, frames included: where a frame of
// `size` goes beside `anchor` within `available`.
QRect PlaceFrame(QSize size, const QRect& anchor, const QRect& available);

}  // namespace wormgear
