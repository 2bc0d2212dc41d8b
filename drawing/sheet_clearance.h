// Where a text may stand: its box on the sheet, and whether that box is
// clear of the outlines, the thin lines (hatching, the flanks' construction,
// root lines), the other texts and the other dimensions' lines. The builder
// puts each dimension's text at the first of its places that is clear.
//
//   const TextBox box = BoxOf(text);          // the text's rectangle, model units
//   Clearance clearance(sheet);
//   clearance.clear(box)                       // false: it crosses a line or a text
#pragma once

#include <vector>

#include "drawing/sheet.h"

namespace wormgear::drawing {

// A rectangle turned by the text's angle: its middle, the unit vector along
// the text and half its width and height.
struct TextBox {
    Point middle;
    Point along;
    double halfWidth = 0, halfHeight = 0;
};

// The box of a text by the proportions of the CAD fonts (EstimatedTextWidth)
// from its anchor, alignment and angle, its width times `widen`.
TextBox BoxOf(const TextEntity& text, double widen = 1);
// The same box grown by `margin` on every side.
TextBox Grown(TextBox box, double margin);

// Whether the segment from a to b meets the box.
bool Crosses(const TextBox& box, Point a, Point b);
bool Overlap(const TextBox& a, const TextBox& b);

// What a dimension's text must keep clear of, collected from the sheet as it
// stands: its lines (outlines, hatching, construction, hidden and centre
// lines, the frame and tables, other dimensions' lines; arcs and circles as
// chords of 2 degrees) and every text.
// How strict a clearance is: whether the centre lines count, and whether
// the sheet's own thin lines (hatching, the flanks' construction) do or give
// way to a text placed over them, which then breaks them.
struct Strictness {
    bool centreLines = true;
    bool breakingThinLines = false;
};

class Clearance {
 public:
    explicit Clearance(const Sheet& sheet, Strictness strictness = {});
    bool clear(const TextBox& box) const;
    // A dimension's own lines and text join the obstacles of the next.
    void add(const Dimension& dimension);

 private:
    void addGraphics(const Graphics& graphics, bool dimensionLines);
    void addSegment(Point a, Point b);

    struct Segment {
        Point a, b;
        Point low, high;  // its bounding box
    };
    Strictness strictness_;
    std::vector<Segment> segments_;
    std::vector<TextBox> texts_;
};

// The line less its part inside the box: itself, one piece or two, or none.
std::vector<LineEntity> Broken(const LineEntity& line, const TextBox& box);

}  // namespace wormgear::drawing
