// Where a window's frame goes beside the main window's on a desktop, worked
// out by hand for a 1280 x 900 desktop (a 30-pixel panel on top where given).
#include <gtest/gtest.h>

#include "dialogs/window_place.h"

namespace wormgear {
namespace {

struct Case {
    const char* what;
    QSize size;
    QRect anchor, available, expected;
};

const QRect kDesktop(0, 0, 1280, 900);
const QRect kBelowPanel(0, 30, 1280, 870);
// The main window, 840 x 607 with its frame, centred on the desktop.
const QRect kCentredMain(220, 146, 840, 607);

const Case kCases[] = {
    {"room on the right", QSize(300, 400), QRect(0, 100, 800, 600), kDesktop, QRect(800, 100, 300, 400)},
    {"no room right, room left", QSize(300, 400), QRect(600, 100, 600, 600), kDesktop, QRect(300, 100, 300, 400)},
    {"no room beside, room below", QSize(900, 200), QRect(100, 0, 800, 600), kDesktop, QRect(100, 600, 900, 200)},
    {"no room anywhere: centred", QSize(1004, 364), kCentredMain, kDesktop, QRect(138, 268, 1004, 364)},
    {"centred, pushed down below the panel", QSize(1004, 700), QRect(138, 0, 1004, 300), kBelowPanel,
     QRect(138, 30, 1004, 700)},
    {"centred, pushed in from the right edge", QSize(800, 800), QRect(700, 50, 580, 800), kDesktop,
     QRect(480, 50, 800, 800)},
    {"as large as the desktop", QSize(1280, 870), kCentredMain, kBelowPanel, QRect(0, 30, 1280, 870)},
    {"larger than the desktop: its title bar stays in view", QSize(1400, 1000), kCentredMain, kBelowPanel,
     QRect(0, 30, 1400, 1000)},
    {"no anchor: centred on the desktop", QSize(600, 400), QRect(), kDesktop, QRect(340, 250, 600, 400)},
};

TEST(WindowPlaceTest, BesideTheAnchorElseCentredOnItWithinTheDesktop) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PlaceFrame(c.size, c.anchor, c.available), c.expected);
    }
}

}  // namespace
}  // namespace wormgear
