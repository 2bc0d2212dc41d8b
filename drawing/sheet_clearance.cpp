// Text boxes and their clearance from the lines and texts of a sheet.
#include "drawing/sheet_clearance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "drawing/sheet_builder.h"

namespace wormgear::drawing {

namespace {

// Chords of an arc at most this many degrees apart: on a circle of 100 mm
// on paper they stray 0.015 mm from it.
constexpr double kChordDegrees = 2;

// A point in the box's own frame: x along the text, y across.
Point Local(const TextBox& box, Point p) {
    const Point d = p - box.middle;
    return {Dot(d, box.along), Cross(box.along, d)};
}

bool Inside(const TextBox& box, Point p) {
    const Point q = Local(box, p);
    return std::abs(q.x) <= box.halfWidth && std::abs(q.y) <= box.halfHeight;
}

std::array<Point, 4> Corners(const TextBox& box) {
    const Point u = box.along * box.halfWidth, v = Normal(box.along) * box.halfHeight;
    return {box.middle - u - v, box.middle + u - v, box.middle + u + v, box.middle - u + v};
}

}  // namespace

TextBox BoxOf(const TextEntity& text, double widen) {
    const double width = EstimatedTextWidth(text.text, text.height) * text.widthFactor * widen;
    const double height = text.height;
    const Point along = Direction(text.rotation), up = Normal(along);
    const double x = text.h == HAlign::Left ? width / 2 : text.h == HAlign::Centre ? 0 : -width / 2;
    const double y = text.v == VAlign::Baseline ? height / 2 : text.v == VAlign::Middle ? 0 : -height / 2;
    return {text.at + along * x + up * y, along, width / 2, height / 2};
}

TextBox Grown(TextBox box, double margin) {
    box.halfWidth += margin;
    box.halfHeight += margin;
    return box;
}

bool Crosses(const TextBox& box, Point a, Point b) {
    // The segment clipped to the box in the box's frame (Liang and Barsky).
    const Point p = Local(box, a), q = Local(box, b), d = q - p;
    double enter = 0, leave = 1;
    const auto clip = [&](double towards, double room) {
        if (towards == 0) return room >= 0;
        const double t = room / towards;
        if (towards < 0) enter = std::max(enter, t);
        else leave = std::min(leave, t);
        return enter <= leave;
    };
    return clip(-d.x, p.x + box.halfWidth) && clip(d.x, box.halfWidth - p.x) && clip(-d.y, p.y + box.halfHeight) &&
           clip(d.y, box.halfHeight - p.y);
}

bool Overlap(const TextBox& a, const TextBox& b) {
    if (Inside(a, b.middle) || Inside(b, a.middle)) return true;
    const auto corners = Corners(b);
    for (std::size_t i = 0; i < corners.size(); ++i)
        if (Crosses(a, corners[i], corners[(i + 1) % corners.size()])) return true;
    return false;
}

Clearance::Clearance(const Sheet& sheet, Strictness strictness) : strictness_(strictness) {
    addGraphics(sheet.graphics, false);
    for (const Dimension& dimension : sheet.dimensions) add(dimension);
}

void Clearance::add(const Dimension& dimension) { addGraphics(dimension.graphics, true); }

void Clearance::addSegment(Point a, Point b) {
    segments_.push_back({a, b, {std::min(a.x, b.x), std::min(a.y, b.y)}, {std::max(a.x, b.x), std::max(a.y, b.y)}});
}

void Clearance::addGraphics(const Graphics& g, bool dimensionLines) {
    const auto keep = [&](Layer layer) {
        return (layer != Layer::Centre || strictness_.centreLines) && (dimensionLines || layer != Layer::Dimension);
    };
    const auto arc = [&](Point centre, double radius, double start, double sweep) {
        const int steps = std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / kChordDegrees)));
        Point previous = centre + Direction(start) * radius;
        for (int i = 1; i <= steps; ++i) {
            const Point next = centre + Direction(start + sweep * i / steps) * radius;
            addSegment(previous, next);
            previous = next;
        }
    };
    for (const LineEntity& line : g.lines)
        if (keep(line.layer) && !(strictness_.breakingThinLines && !dimensionLines &&
                                  (line.layer == Layer::Thin || line.layer == Layer::Hatch)))
            addSegment(line.a, line.b);
    for (const ArcEntity& a : g.arcs) {
        if (!keep(a.layer)) continue;
        double sweep = std::fmod(a.end - a.start, 360.0);
        if (sweep <= 0) sweep += 360;
        arc(a.centre, a.radius, a.start, sweep);
    }
    for (const CircleEntity& c : g.circles)
        if (keep(c.layer)) arc(c.centre, c.radius, 0, 360);
    for (const PolylineEntity& outline : g.outlines) {
        if (!keep(outline.layer)) continue;
        const auto& v = outline.vertices;
        for (std::size_t i = 0; i < v.size(); ++i) {
            const Point a = v[i].at, b = v[(i + 1) % v.size()].at;
            if (const auto bulge = ArcOfBulge(a, b, v[i].bulge)) {
                arc(bulge->centre, bulge->radius, AngleOf(a - bulge->centre),
                    4 * std::atan(v[i].bulge) * 180 / std::numbers::pi);
            } else {
                addSegment(a, b);
            }
        }
    }
    for (const TextEntity& text : g.texts) texts_.push_back(BoxOf(text));
}

std::vector<LineEntity> Broken(const LineEntity& line, const TextBox& box) {
    const Point p = Local(box, line.a), q = Local(box, line.b), d = q - p;
    double enter = 0, leave = 1;
    bool inside = true;
    for (auto [towards, room] : {std::pair{-d.x, p.x + box.halfWidth}, std::pair{d.x, box.halfWidth - p.x},
                                 std::pair{-d.y, p.y + box.halfHeight}, std::pair{d.y, box.halfHeight - p.y}}) {
        if (towards == 0) {
            inside = inside && room >= 0;
        } else if (towards < 0) {
            enter = std::max(enter, room / towards);
        } else {
            leave = std::min(leave, room / towards);
        }
    }
    if (!inside || enter > leave) return {line};
    std::vector<LineEntity> pieces;
    const Point along = line.b - line.a;
    if (enter > 0) pieces.push_back({line.a, line.a + along * enter, line.layer});
    if (leave < 1) pieces.push_back({line.a + along * leave, line.b, line.layer});
    return pieces;
}

bool Clearance::clear(const TextBox& box) const {
    const double reach = std::hypot(box.halfWidth, box.halfHeight);
    const Point low = box.middle - Point{reach, reach}, high = box.middle + Point{reach, reach};
    for (const Segment& s : segments_) {
        if (s.high.x < low.x || s.low.x > high.x || s.high.y < low.y || s.low.y > high.y) continue;
        if (Crosses(box, s.a, s.b)) return false;
    }
    for (const TextBox& text : texts_)
        if (Overlap(box, text)) return false;
    return true;
}

}  // namespace wormgear::drawing
