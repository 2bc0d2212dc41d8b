// Plots of the meshing analysis on a sheet.
#include "drawing/meshing_sheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

#include "drawing/axis_ticks.h"
#include "drawing/drawing_texts.h"
#include "drawing/sheet_layout.h"

namespace wormgear {

namespace {

using namespace drawing;
using meshing::Branch;
using meshing::ContactCurve;
using meshing::ContactPoint;
using meshing::Vec3;

constexpr double kDegrees = 180 / std::numbers::pi;
constexpr double kLabel = 2.5, kCaption = 3.2;

std::string Fixed(double value, int decimals) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr;
    return std::string(buffer, end);
}

// Where a point stands in the worm's axial section: along the worm axis,
// and from the wheel axis along the line of centres (the point turned about
// the worm axis into the mid-plane).
Point AxialOfFixed(Vec3 X, double A) { return {X.y, A - std::hypot(X.x - A, X.z)}; }
Point AxialOfWorm(Vec3 W, double A) { return {W.y, A - std::hypot(W.x, W.z)}; }

// The range of values, widened by a share of itself on both ends.
struct Range {
    double low = std::numeric_limits<double>::infinity(), high = -std::numeric_limits<double>::infinity();
    void add(double v) {
        if (!std::isfinite(v)) return;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    bool empty() const { return !(high >= low); }
};

// A plot in a rectangle of the sheet: round ticks on both axes, the data
// mapped into the room inside them, at one scale on both when the plot is a
// picture of geometry.
class Plot {
 public:
    Plot(SheetBuilder& b, Rect area, Range x, Range y, bool sameScale, const std::string& title,
         const std::string& xName, const std::string& yName)
        : b_(b) {
        if (x.empty()) x = {0, 1};
        if (y.empty()) y = {0, 1};
        xt_ = RoundTicks(x.low, x.high);
        yt_ = RoundTicks(y.low, y.high);
        // Room for the caption above, the tick numbers and names below and left.
        room_ = {area.left + 12, area.bottom + 9, area.right - 2, area.top - 6};
        kx_ = room_.width() / (xt_.high - xt_.low);
        ky_ = room_.height() / (yt_.high - yt_.low);
        if (sameScale) {
            const double k = std::min(kx_, ky_);
            // The spare room goes to the data range, so that the axes stay
            // at round ticks and the picture keeps its proportions.
            kx_ = ky_ = k;
            // Below the caption, in the middle across.
            const double width = k * (xt_.high - xt_.low), height = k * (yt_.high - yt_.low);
            room_.left += (room_.width() - width) / 2;
            room_.right = room_.left + width;
            room_.bottom = room_.top - height;
        }
        b_.text({area.left, area.top - kCaption}, kCaption, title, HAlign::Left, VAlign::Baseline, 0, Layer::Table);
        b_.outline({{{room_.left, room_.bottom}},
                    {{room_.right, room_.bottom}},
                    {{room_.right, room_.top}},
                    {{room_.left, room_.top}}},
                   Layer::Table);
        for (int k = 0; k <= xt_.intervals; ++k) {
            const double v = xt_.low + k * xt_.step, px = at({v, yt_.low}).x;
            b_.line({px, room_.bottom}, {px, room_.bottom + 1.2}, Layer::Table);
            b_.text({px, room_.bottom - 1.2}, kLabel, Fixed(v, xt_.decimals), HAlign::Centre, VAlign::Top, 0,
                    Layer::Table);
        }
        for (int k = 0; k <= yt_.intervals; ++k) {
            const double v = yt_.low + k * yt_.step, py = at({xt_.low, v}).y;
            b_.line({room_.left, py}, {room_.left + 1.2, py}, Layer::Table);
            b_.text({room_.left - 1.2, py}, kLabel, Fixed(v, yt_.decimals), HAlign::Right, VAlign::Middle, 0,
                    Layer::Table);
        }
        b_.text({(room_.left + room_.right) / 2, room_.bottom - 5.5}, kLabel, xName, HAlign::Centre, VAlign::Top, 0,
                Layer::Table);
        b_.text({room_.left - 10, (room_.bottom + room_.top) / 2}, kLabel, yName, HAlign::Centre, VAlign::Baseline, 90,
                Layer::Table);
    }

    Point at(Point v) const { return {room_.left + (v.x - xt_.low) * kx_, room_.bottom + (v.y - yt_.low) * ky_}; }
    bool inside(Point v) const { return v.x >= xt_.low && v.x <= xt_.high && v.y >= yt_.low && v.y <= yt_.high; }
    // A polyline of data points; the pieces outside the axes are left out.
    void polyline(const std::vector<Point>& points, Layer layer) {
        for (std::size_t k = 1; k < points.size(); ++k)
            if (inside(points[k - 1]) && inside(points[k])) b_.line(at(points[k - 1]), at(points[k]), layer);
    }
    // A small cross at a data point inside the axes.
    void mark(Point v, Layer layer) {
        if (!inside(v)) return;
        const Point c = at(v);
        b_.line({c.x - 0.8, c.y - 0.8}, {c.x + 0.8, c.y + 0.8}, layer);
        b_.line({c.x - 0.8, c.y + 0.8}, {c.x + 0.8, c.y - 0.8}, layer);
    }
    const Rect& room() const { return room_; }

 private:
    SheetBuilder& b_;
    AxisTicks xt_, yt_;
    Rect room_;
    double kx_ = 1, ky_ = 1;
};

// A curve y(x) sampled: the arc of radius r about (cx, 0), where it exists.
std::vector<Point> Arc(double cx, double r, double from, double to, bool upper, int n = 60) {
    std::vector<Point> points;
    for (int k = 0; k <= n; ++k) {
        const double y = from + (to - from) * k / n, under = r * r - y * y;
        if (under < 0) continue;
        points.push_back({y, cx + (upper ? 1 : -1) * std::sqrt(under)});
    }
    return points;
}

Layer BranchLayer(Branch branch) { return branch == Branch::First ? Layer::Outline : Layer::Hidden; }

}  // namespace

MeshingAtAngle ContactAt(const meshing::Mesh& mesh, double phi2, int points) {
    MeshingAtAngle now{phi2, {}};
    const meshing::PairGeometry& pair = mesh.pair();
    const int reach = static_cast<int>(std::ceil((pair.zone.halfWrap + 0.2) / pair.angularPitch())) + 1;
    for (int tooth = -reach; tooth <= reach; ++tooth)
        for (ContactCurve& c : mesh.firstContact(phi2, tooth, points)) now.lines.push_back(std::move(c));
    for (ContactCurve& c : mesh.secondContact(phi2, points)) now.lines.push_back(std::move(c));
    return now;
}

Sheet BuildMeshingSheet(const CalculatedDesign& c, const meshing::MeshingAnalysis& a, const MeshingAtAngle& now,
                        const TitleBlock& title, const Translate& translate) {
    const TWormDesign& d = c.design;
    const double A = d.CentreDistance;
    const auto tr = [&](const char* text) { return Tr(translate, text); };
    Sheet sheet;
    sheet.width = kA4Landscape.width;
    sheet.height = kA4Landscape.height;
    sheet.scale = 1;
    sheet.title = tr(texts::kMeshing);
    sheet.subject = title.design;
    SheetBuilder b(sheet);
    b.outline({{{0, 0}}, {{sheet.width, 0}}, {{sheet.width, sheet.height}}, {{0, sheet.height}}}, Layer::Thin);
    const std::string heading = tr(texts::kMeshing) + "  " +
                                (title.design.empty() ? tr(texts::kUnsavedDesign) : title.design) + "   " +
                                tr(texts::kWheelAngle) + " φ2 = " + Fixed(now.phi2 * kDegrees, 2) + "°   " +
                                tr(texts::kWormSpeed) + " " + Fixed(a.wormSpeed, 0) + " r/min";
    b.text({10, sheet.height - 10}, 4, heading, HAlign::Left, VAlign::Baseline, 0, Layer::Table);

    // 1. The worm's axial section.
    {
        const double half = d.WormWorkingLength / 2;
        Range x, y;
        x.add(-half - 2);
        x.add(half + 2);
        y.add(d.WormTipArcRadius - d.TipArcEccentricity - 1);
        y.add(d.WormRootArcRadius + 1);
        y.add(-d.TipArcEccentricity + std::sqrt(std::max(0.0, d.WormTipArcRadius * d.WormTipArcRadius - half * half)));
        Plot p(b, {8, 142, 150, 192}, x, y, true, tr(texts::kWormAxialContact), tr(texts::kAlongWormAxis) + " (mm)",
               tr(texts::kFromWheelAxis) + " (mm)");
        p.polyline(Arc(-d.TipArcEccentricity, d.WormTipArcRadius, -half, half, true), Layer::Thin);
        p.polyline(Arc(0, d.WormRootArcRadius, -half, half, true), Layer::Thin);
        for (const ContactCurve& line : now.lines) {
            std::vector<Point> points;
            for (const ContactPoint& q : line.points) points.push_back(AxialOfFixed(q.position, A));
            p.polyline(points, BranchLayer(line.branch));
        }
        // The first limit line in the order of its rulings; the second limit
        // line's points, found on the second contact lines of many wheel
        // angles, as marks.
        std::vector<Point> first;
        for (const Vec3& w : a.firstLimit.points) first.push_back(AxialOfWorm(w, A));
        p.polyline(first, Layer::Centre);
        for (const Vec3& w : a.secondLimit.points) p.mark(AxialOfWorm(w, A), Layer::Outline);
    }

    // 2. The wheel's tooth.
    {
        const double half = d.RimWorkingWidth / 2.0;
        const double throat = d.WheelThroatDiameter / 2, root = d.WheelPitchDiameter / 2 - d.Dedendum;
        Range x, y;
        x.add(-half - 2);
        x.add(half + 2);
        y.add(root - 2);
        y.add(d.WheelMaxOuterDiameter / 2 + 1);
        Plot p(b, {158, 142, 290, 192}, x, y, true, tr(texts::kWheelToothContact), tr(texts::kAlongWheelAxis) + " (mm)",
               tr(texts::kWheelRadius) + " (mm)");
        // The throat's arc about its centre beyond the throat, and the root.
        std::vector<Point> tip;
        const double R = d.WheelTipArcRadius, centre = throat + R;
        for (int k = 0; k <= 60; ++k) {
            const double z = -half + 2 * half * k / 60, under = R * R - z * z;
            if (under >= 0) tip.push_back({z, std::min(centre - std::sqrt(under), d.WheelMaxOuterDiameter / 2)});
        }
        p.polyline(tip, Layer::Thin);
        p.polyline({{-half, root}, {half, root}}, Layer::Thin);
        p.polyline({{-half, root}, {-half, d.WheelMaxOuterDiameter / 2}}, Layer::Thin);
        p.polyline({{half, root}, {half, d.WheelMaxOuterDiameter / 2}}, Layer::Thin);
        for (const auto& line : a.wheelContact) {
            std::vector<Point> points;
            points.reserve(line.size());
            for (const meshing::WheelToothPoint& q : line) points.push_back({q.axial, q.radius});
            p.polyline(points, Layer::Thin);
        }
        for (const ContactCurve& line : now.lines) {
            std::vector<Point> points;
            for (const ContactPoint& q : line.points)
                points.push_back({q.position.z, std::hypot(q.position.x, q.position.y)});
            p.polyline(points, BranchLayer(line.branch));
        }
    }

    // 3. Along the lines: lubrication angle and sliding speed.
    {
        Range x, speed;
        for (const ContactCurve& line : now.lines)
            for (const ContactPoint& q : line.points) {
                x.add(AxialOfFixed(q.position, A).x);
                speed.add(q.slidingSpeed);
            }
        Plot lub(b, {8, 80, 150, 136}, x, {0, 90}, false, tr(texts::kAlongLines), tr(texts::kAlongWormAxis) + " (mm)",
                 tr(texts::kLubricationAngle) + " (°)");
        Plot slide(b, {8, 14, 150, 74}, x, speed, false, "", tr(texts::kAlongWormAxis) + " (mm)",
                   tr(texts::kSlidingSpeed) + " (m/s)");
        for (const ContactCurve& line : now.lines) {
            std::vector<Point> angles, speeds;
            for (const ContactPoint& q : line.points) {
                const double along = AxialOfFixed(q.position, A).x;
                angles.push_back({along, q.lubricationAngle});
                speeds.push_back({along, q.slidingSpeed});
            }
            lub.polyline(angles, BranchLayer(line.branch));
            slide.polyline(speeds, BranchLayer(line.branch));
        }
    }

    // 4. The modification.
    {
        Range x, y;
        y.add(0);
        for (const meshing::DeparturePoint& q : a.modification) {
            x.add(q.axialPosition);
            y.add(q.departure);
        }
        Plot p(b, {158, 40, 290, 136}, x, y, false, tr(texts::kModificationAlongThread),
               tr(texts::kAlongWormAxis) + " (mm)", tr(texts::kDeparture) + " (μm)");
        std::vector<Point> points;
        for (const meshing::DeparturePoint& q : a.modification) points.push_back({q.axialPosition, q.departure});
        p.polyline(points, Layer::Outline);
    }

    // The key values and the legend.
    const double left = 160;
    double y = 33;
    const auto line = [&](const std::string& text) {
        b.text({left, y}, kLabel + 0.3, text, HAlign::Left, VAlign::Baseline, 0, Layer::Table);
        y -= 4.2;
    };
    line(tr(texts::kTeethInContact) + ": " + std::to_string(a.teethInContact.min) + " – " +
         std::to_string(a.teethInContact.max));
    line(tr(texts::kPitchPoint) + ": " + tr(texts::kSlidingSpeed) + " " + Fixed(a.pitch.slidingSpeed, 3) + " m/s, " +
         tr(texts::kLubricationAngle) + " " + Fixed(a.pitch.lubricationAngle, 1) + "°");
    line(tr(texts::kFirstLimit) + ": " + tr(a.firstLimit.inToothZone ? texts::kInToothZone : texts::kOutsideToothZone) +
         "    " + tr(texts::kSecondLimit) + ": " +
         tr(a.secondLimit.inToothZone ? texts::kInToothZone : texts::kOutsideToothZone));
    line(tr(texts::kUnsolvedPoints) + ": " + std::to_string(a.unsolved));
    // The legend: a short stroke of each line kind.
    const struct {
        Layer layer;
        const char* name;
    } legend[] = {{Layer::Outline, texts::kFirstBranch},
                  {Layer::Hidden, texts::kSecondBranch},
                  {Layer::Centre, texts::kFirstLimit}};
    double x = left;
    for (const auto& item : legend) {
        b.line({x, y + 1}, {x + 8, y + 1}, item.layer);
        b.text({x + 10, y}, kLabel, tr(item.name), HAlign::Left, VAlign::Baseline, 0, Layer::Table);
        x += 33;
    }
    b.line({x + 3.2, y + 0.2}, {x + 4.8, y + 1.8}, Layer::Outline);
    b.line({x + 3.2, y + 1.8}, {x + 4.8, y + 0.2}, Layer::Outline);
    b.text({x + 10, y}, kLabel, tr(texts::kSecondLimit), HAlign::Left, VAlign::Baseline, 0, Layer::Table);
    if (c.hasErrors())
        b.text({sheet.width - 10, sheet.height - 10}, kWarningTextHeight, tr(kChecksErrorMark), HAlign::Right,
               VAlign::Baseline, 0, Layer::Warning);
    return sheet;
}

}  // namespace wormgear
