// Putting a sheet together: geometry in the coordinates of the view it
// belongs to, placed on the sheet, and dimensions, texts and hatching whose
// sizes are given in paper millimetres (3.5 mm text, 3 mm arrowheads), so
// they look the same at every scale.
//
//   SheetBuilder b(sheet);
//   b.place({origin, 1});                             // a view at true size
//   b.linear({-50.5, -y}, {50.5, -y}, 0, {0, -y - b.paper(10)}, "101");
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "drawing/sheet.h"

namespace wormgear::drawing {

// Text heights and arrowheads on paper, mm.
inline constexpr double kTextHeight = 3.5;
inline constexpr double kSmallTextHeight = 2.5;
inline constexpr double kTitleTextHeight = 5;
inline constexpr double kArrowLength = 3;

// Where a view stands on the sheet: model point = origin + local * factor.
struct Placement {
    Point origin;
    double factor = 1;
};

// The circle an outline segment with a bulge runs on, and its angles.
struct BulgeArc {
    Point centre;
    double radius;
    double start, end;  // counter-clockwise from start to end, degrees
};
// Nothing for a straight segment (bulge 0).
std::optional<BulgeArc> ArcOfBulge(Point a, Point b, double bulge);
// The bulge of the arc about `centre` from a to b, counter-clockwise when
// `counterClockwise`, along the shorter way otherwise chosen by the sign.
double BulgeOf(Point centre, Point a, Point b, bool counterClockwise);

// Width of a text on paper by the proportions of the CAD fonts the DXF names:
// 0.7 of the height for a Latin letter or digit, the full height for a
// Chinese character.
double EstimatedTextWidth(const std::string& utf8, double height);

// A text broken into lines of at most `width` mm at `height`, by the
// proportions of EstimatedTextWidth: between any two Chinese characters,
// after a blank or a hyphen in Latin text, and never before the Chinese
// punctuation that closes a clause. A word longer than a line is broken
// where it must; a line break in the text ends a line. Nothing is left out:
// the lines joined again are the text but for the blanks at the breaks.
std::vector<std::string> WrappedLines(const std::string& text, double height, double width);

// The number text with what stands around it: "R" + "156.492".
std::string DecoratedText(const std::string& value, Decoration decoration);

class SheetBuilder {
 public:
    explicit SheetBuilder(Sheet& sheet) : sheet_(sheet) {}

    // Model units for a length on paper.
    double paper(double millimetres) const { return millimetres * sheet_.scale; }
    // Where the following geometry goes; dimensions drawn now measure in
    // the view's own units (lengthFactor 1 / factor).
    void place(Placement placement) { placement_ = placement; }
    const Placement& placement() const { return placement_; }
    Point at(Point local) const { return placement_.origin + local * placement_.factor; }
    // A local length in model units.
    double model(double local) const { return local * placement_.factor; }

    void line(Point a, Point b, Layer layer);
    void arc(Point centre, double radius, double start, double end, Layer layer);
    void circle(Point centre, double radius, Layer layer);
    // A closed outline; its last vertex joins the first.
    void outline(const std::vector<PolyVertex>& vertices, Layer layer);
    // Paper height; `room` (paper mm, 0: any) squeezes a text that would be wider.
    void text(Point at, double height, const std::string& text, HAlign h = HAlign::Left, VAlign v = VAlign::Baseline,
              double rotation = 0, Layer layer = Layer::Dimension, double room = 0);
    // A centre mark: two short centre lines through the point, `reach` paper mm each way.
    void centreMark(Point centre, double reach);
    // The surface roughness symbol after GB/T 131 for a surface machined
    // (material removed): its tip on the surface at `on`, standing on the
    // side `outward` points to (degrees from the x axis), the check mark's
    // legs at 60 degrees to the surface, the short one 5 mm and the long one
    // 10.5 mm high for the 3.5 mm text of `value` ("Ra 0.8") under the line
    // that leaves the long leg's top.
    void roughness(Point on, double outward, const std::string& value);
    // The same on a leader for a surface too small to carry it: the leader's
    // arrow on the surface at `on`, its line `reach` paper mm along
    // `direction` (degrees) to a shelf towards the same side, on which the
    // symbol stands.
    void roughnessOnLeader(Point on, double direction, double reach, const std::string& value);

    // Each dimension's text stands at the first of its places that keeps
    // clear of the lines and texts drawn before it.
    //
    // A linear dimension of p1 and p2 along `direction` (degrees), its
    // dimension line through `through`.
    void linear(Point p1, Point p2, double direction, Point through, const std::string& value,
                Decoration decoration = Decoration::None);
    // A radius from the centre to a point of the arc, its text along the line near the arc.
    void radius(Point centre, Point onCurve, const std::string& value);
    // A diameter between two opposite points of a circle.
    void diameter(Point onCurve, Point opposite, const std::string& value);
    // The angle at `vertex` counter-clockwise from the leg through `first` to
    // the leg through `second`, its arc at `arcRadius` (local units).
    void angular(Point vertex, Point first, Point second, double arcRadius, const std::string& value);

    // Section lines at 45 degrees, `spacing` paper mm apart, inside the
    // closed loops (even-odd: a loop inside another is a hole).
    void hatch(const std::vector<std::vector<PolyVertex>>& loops, double spacing);

 private:
    // A dimension of the current view with its number text.
    Dimension newDimension(DimensionKind kind, const std::string& value, Decoration decoration) const;
    // The arrowhead with its tip at `tip`, pointing along `towards`.
    void arrow(Graphics& graphics, Point tip, Point towards) const;
    // The dimension's number text with its middle at `middle`, turned by `angle`.
    TextEntity dimensionText(const Dimension& dimension, Point middle, double angle) const;
    // The first of the places of a text whose box keeps clear of the
    // sheet's lines and texts (sheet_clearance.h); else the first clear but
    // for hatching and construction lines, which addText then breaks; else
    // the first.
    std::size_t firstClear(const std::vector<TextEntity>& places);
    // Adds the text to the dimension and the dimension to the sheet.
    void addText(Dimension& dimension, TextEntity text);

    Sheet& sheet_;
    Placement placement_;
    bool breakLines_ = false;  // the text chosen last breaks the thin lines under it
};

}  // namespace wormgear::drawing
