// A drawing sheet as plain data: lines, arcs, circles, closed outlines,
// texts, filled arrowheads and dimensions on named layers, in model
// millimetres. Parts are drawn at true size (a detail enlarged by its own
// factor); the frame, title block and tables are drawn at the sheet's scale,
// so that the DXF file measures true lengths and the painter divides
// everything by the scale to put it on paper. No Qt: the DXF writer and the
// painter both read this.
//
//   Sheet sheet = BuildDrawing(DrawingKind::Worm, calculated, title, translate);
//   sheet.scale                        // 2 for a sheet at 1:2
//   sheet.dimensions[0].measurement()  // 101: the length its points define
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace wormgear::drawing {

struct Point {
    double x = 0;
    double y = 0;
};
inline Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
inline Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
inline Point operator*(Point a, double k) { return {a.x * k, a.y * k}; }
inline double Length(Point v) { return std::hypot(v.x, v.y); }
inline double Distance(Point a, Point b) { return Length(b - a); }
inline double Dot(Point a, Point b) { return a.x * b.x + a.y * b.y; }
inline double Cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }
inline Point Unit(Point v) { return v * (1 / Length(v)); }
// Turned a quarter counter-clockwise: (1, 0) -> (0, 1).
inline Point Normal(Point v) { return {-v.y, v.x}; }
// The unit vector at `degrees` counter-clockwise from the x axis.
Point Direction(double degrees);
// Counter-clockwise angle of a vector from the x axis, in degrees.
double AngleOf(Point v);

// What a line is in the drawing; each is one DXF layer with its line type.
// Warning holds the red mark of a design whose checks found an error; Text
// the notes (技术要求, the roughness symbols with their values); Hatch the
// section lines.
enum class Layer : std::uint8_t { Outline, Thin, Centre, Hidden, Dimension, Table, Frame, Warning, Text, Hatch };
inline constexpr int kLayerCount = 10;

enum class LineStyle : std::uint8_t { Continuous, Centre, Hidden };

struct LayerDescription {
    Layer layer;
    const char* name;  // the DXF layer name: "OUTLINE"
    int colour;        // AutoCAD colour index
    LineStyle style;
    double width;  // line width on paper, mm
};
const std::array<LayerDescription, kLayerCount>& Layers();
inline const LayerDescription& LayerOf(Layer layer) { return Layers()[static_cast<std::size_t>(layer)]; }

struct LineEntity {
    Point a, b;
    Layer layer;
};
// From `start` counter-clockwise to `end`, degrees.
struct ArcEntity {
    Point centre;
    double radius;
    double start, end;
    Layer layer;
};
struct CircleEntity {
    Point centre;
    double radius;
    Layer layer;
};
// A vertex of an outline; `bulge` describes the segment to the next vertex:
// 0 straight, else tan(sweep / 4) of an arc, positive counter-clockwise.
struct PolyVertex {
    Point at;
    double bulge = 0;
};
// A closed outline: the last vertex joins the first, so every end point is
// shared by two segments exactly.
struct PolylineEntity {
    std::vector<PolyVertex> vertices;
    Layer layer;
};

enum class HAlign : std::uint8_t { Left, Centre, Right };
enum class VAlign : std::uint8_t { Baseline, Middle, Top };

struct TextEntity {
    Point at;
    double height;        // of a capital letter, model units
    double rotation = 0;  // degrees counter-clockwise
    HAlign h = HAlign::Left;
    VAlign v = VAlign::Baseline;
    std::string text;  // UTF-8
    Layer layer = Layer::Dimension;
    double widthFactor = 1;  // < 1 squeezes the text into its room
    double room = 0;         // the width the text must not exceed (0: any); a painter with wider glyphs squeezes
};

// A filled triangle: the arrowheads of dimensions.
struct TriangleEntity {
    Point a, b, c;
    Layer layer = Layer::Dimension;
};

struct Graphics {
    std::vector<LineEntity> lines;
    std::vector<ArcEntity> arcs;
    std::vector<CircleEntity> circles;
    std::vector<PolylineEntity> outlines;
    std::vector<TextEntity> texts;
    std::vector<TriangleEntity> triangles;
};

enum class DimensionKind : std::uint8_t { Linear, Radius, Diameter, Angular };
// What stands around the number: "R156.492", "⌀103.76", "18.18°".
enum class Decoration : std::uint8_t { None, Radius, Diameter, Degrees };

// A dimension with its definition points in the meaning of the DXF
// DIMENSION entity, the window's number text, and its picture.
struct Dimension {
    DimensionKind kind = DimensionKind::Linear;
    Point defpoint;  // linear: on the dimension line; radius: the centre; diameter: the far point; angular: on the arc
    Point first;     // linear: first extension line origin; angular: a point of the first leg
    Point second;    // linear: second extension line origin; angular: a point of the second leg
    Point curve;     // radius, diameter: the point on the curve; angular: the vertex
    double rotation = 0;  // linear: direction of the dimension line, degrees
    Point textAt;         // middle of the text
    std::string value;    // the number text the window shows: "156.492"
    Decoration decoration = Decoration::None;
    // A detail drawn k times enlarged measures k times too long: 1/k.
    double lengthFactor = 1;
    Graphics graphics;  // dimension line, extension lines, arrowheads and text

    // The value the definition points give: lengths times lengthFactor,
    // angles in degrees (counter-clockwise from the first leg to the second).
    double measurement() const;
};

struct Sheet {
    double width = 0, height = 0;  // paper, mm
    double scale = 1;              // model units per paper millimetre: 2 at 1:2
    std::string title;             // "蜗杆图"
    std::string subject;           // the design: its file name
    Graphics graphics;
    std::vector<Dimension> dimensions;
};

}  // namespace wormgear::drawing
