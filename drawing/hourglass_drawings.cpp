// The worm and the hob: both are hourglass bodies in the axial section
// through the throat, their tip arc centred on the wheel axis side at A + E,
// their root arc at A. The thread is drawn on the wheel's side in its true
// form: each flank where the flank the generating plane grinds
// (meshing/flank.h) crosses the axial section, from root to tip. Where that
// surface cannot be placed the thread is a schematic, and marked so:
// straight flanks through the tooth's pitch points, tangent to the main base
// circle, at the angular pitch within the working wrap. A detail
// shows one tooth enlarged with the measuring values, the worm's and the
// hob's at one enlargement.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "calc/numeric.h"
#include "drawing/drawing_parts.h"
#include "drawing/drawing_texts.h"
#include "meshing/flank.h"

namespace wormgear::drawing {

namespace {

constexpr double kDegree = std::numbers::pi / 180;

// What the two bodies share, in the view's coordinates: the worm axis is the
// x axis, the throat at x = 0, the wheel axis at (0, A).
struct HourglassBody {
    double A, E;
    double tipRadius;                              // Ra1 or Ra0, centred at (0, A + E)
    double rootRadius;                             // Rf1 or the hob body root arc radius, centred at (0, A)
    double halfLength;                             // L / 2 or L0 / 2
    double pitchRadius;                            // d2 / 2
    double baseRadius;                             // Db / 2
    double pressureAngle, angularPitch, halfWrap;  // degrees
    double axialThickness;                         // chord on the pitch circle
    // The body beyond the working length, as the particulars give it (left
    // and right): the shoulders (the worm's, or the hob's hubs), their
    // diameter, the shafts (0 long: none, as on a bored hob).
    double collarLeft, collarRight;
    double shoulderRadius;  // NaN: the tip radius at the ends of the working length
    double shaftLeft, shaftRight;
    double shaftLeftRadius, shaftRightRadius;  // NaN: as the shaft has always been drawn
    // A keyway in the right shaft, in the middle of its length, facing up:
    // its depth and length (NaN: none).
    double keywayDepth = std::numeric_limits<double>::quiet_NaN();
    double keywayLength = std::numeric_limits<double>::quiet_NaN();
    double keywayWidth = std::numeric_limits<double>::quiet_NaN();  // shown in a section beside the shaft
    // The body's pair for the true flanks: its generation set-up, its axial
    // thickness and its tooth zone.
    std::optional<meshing::PairGeometry> pair;
    // A bored body (the hob) whose bore has a keyway shows its end beside
    // it, the hub's circle with the bore and the keyway.
    bool endSection = false;
};

// A flank in the view from its tip to its root: two points for a straight
// schematic flank (and the point where it touches the base circle), or the
// true profile.
struct Flank {
    Point tip, root, tangent;
    std::vector<Point> curve;  // tip to root
    bool schematic = true;
};

struct HourglassShape {
    std::vector<PolyVertex> outline;
    double endRadius = 0;  // tip radius at the ends of the working length
    double throatTip = 0;  // tip radius at the throat
    // Left (x < 0) and right of the throat: where the shoulders and the
    // shafts end, the shafts' radii; the shoulders' radius.
    double xShoulderLeft = 0, xShoulderRight = 0, xEndLeft = 0, xEndRight = 0;
    double shaftLeftRadius = 0, shaftRightRadius = 0, shoulderRadius = 0;
    // The keyway's ends along the axis and its floor; none: keyway false.
    bool keyway = false;
    double keywayFrom = 0, keywayTo = 0, keywayFloor = 0;
    // The section through the keyway right of the shaft's end: its centre on
    // the worm axis and the keyway's half width; none without a width.
    std::optional<double> sectionX;
    double sectionRadius = 0;
    double keywayHalfWidth = 0;
    std::vector<Flank> flanks;
    Point tipPoint;   // on the tip arc, for its radius
    Point rootPoint;  // on the root arc, for its radius
    bool teeth = false;
    bool schematic = false;  // the teeth drawn are straight-flanked schematics
    Point throatToothTip;    // middle of the tooth at the throat
};

bool Finite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

// The nearest crossing of the ray from `from` along `u` with a circle, on the
// side `sign` (+1 ahead, -1 behind).
std::optional<double> RayCircle(Point from, Point u, Point centre, double radius, double sign) {
    const Point w = from - centre;
    const double b = Dot(u, w);
    const double disc = b * b - Dot(w, w) + radius * radius;
    if (!(disc >= 0)) return std::nullopt;
    const double root = std::sqrt(disc);
    const double t1 = -b - root, t2 = -b + root;
    if (sign > 0) {
        if (t1 > 0) return t1;
        if (t2 > 0) return t2;
    } else {
        if (t2 < 0) return t2;
        if (t1 < 0) return t1;
    }
    return std::nullopt;
}

// The flank through the pitch point at angle theta (degrees from the throat,
// positive towards +x); the right flank of a tooth leans towards the tooth's
// middle as it rises to the tip, the left one the other way.
std::optional<Flank> MakeFlank(const HourglassBody& h, double theta, bool rightFlank) {
    const Point wheel{0, h.A}, tipCentre{0, h.A + h.E};
    const Point pitch = wheel + Point{std::sin(theta * kDegree), -std::cos(theta * kDegree)} * h.pitchRadius;
    const double away = 90 - h.pressureAngle;
    const double at = AngleOf(pitch - wheel) + (rightFlank ? -away : away);
    Flank flank;
    flank.tangent = wheel + Direction(at) * h.baseRadius;
    const Point u = Unit(flank.tangent - pitch);
    const auto toTip = RayCircle(pitch, u, tipCentre, h.tipRadius, 1);
    const auto toRoot = RayCircle(pitch, u, wheel, h.rootRadius, -1);
    if (!toTip || !toRoot) return std::nullopt;
    flank.tip = pitch + u * *toTip;
    flank.root = pitch + u * *toRoot;
    return flank;
}

// The true flank of tooth j in the axial section through the throat, the
// worm at phi1 = 0: the upper flank of the worm (facing +y of the worm axis,
// the right flank of the tooth in the view). Tooth j is the tooth the plane
// of wheel tooth j grinds: start 0 ground j pitches later, turned back by
// j / z1 of a turn. Sampled from the tip arc to the root arc.
std::optional<Flank> TrueFlank(const HourglassBody& h, const meshing::GeneratedFlank& upper, int j) {
    const meshing::PairGeometry& pair = *h.pair;
    const double tau = pair.angularPitch(), turn = -2 * std::numbers::pi * j / pair.wormStarts;
    const auto crossing = meshing::CrossPitchArc(upper, pair, j * tau, turn);
    if (!crossing) return std::nullopt;
    // In the section's own coordinates the wheel axis is at x = -A and the
    // tip arc's centre E beyond it; the view has the worm axis across and the
    // wheel above.
    const auto at = [&](double t) { return meshing::AxialSectionPoint(upper, t, turn); };
    const auto inside = [&](double t) {
        const auto q = at(t);
        return q && std::hypot(q->x + h.A, q->y) <= h.rootRadius && std::hypot(q->x + h.A + h.E, q->y) >= h.tipRadius;
    };
    if (!inside(crossing->time)) return std::nullopt;
    // Out along the rulings on both sides of the crossing to the arcs.
    const double step = tau / 400;
    double ends[2];
    for (int side = 0; side < 2; ++side) {
        const double direction = side == 0 ? 1 : -1;
        double in = crossing->time, out = in;
        int k = 0;
        for (; k < 4000; ++k) {
            out = in + direction * step;
            if (!inside(out)) break;
            in = out;
        }
        if (k == 4000) return std::nullopt;
        for (int b = 0; b < 50; ++b) {
            const double middle = (in + out) / 2;
            (inside(middle) ? in : out) = middle;
        }
        ends[side] = in;
    }
    Flank flank;
    flank.schematic = false;
    constexpr int kPoints = 17;
    for (int k = 0; k < kPoints; ++k) {
        const auto q = at(ends[0] + (ends[1] - ends[0]) * k / (kPoints - 1));
        if (!q) return std::nullopt;
        flank.curve.push_back({q->y, -q->x});
    }
    // Tip first: the end nearer the tip arc's centre side is the tip.
    const Point wheel{0, h.A};
    if (Distance(flank.curve.front(), wheel) > Distance(flank.curve.back(), wheel))
        std::reverse(flank.curve.begin(), flank.curve.end());
    flank.tip = flank.curve.front();
    flank.root = flank.curve.back();
    // A flank that leaves the tooth at the tip on both ends folds back inside
    // it: the plane undercuts this worm (its first limit line crosses the
    // tooth), and the drawing keeps the schematic, marked so.
    const Point tipCentre{0, h.A + h.E};
    if (std::abs(Distance(flank.root, wheel) - h.rootRadius) > 1e-6 ||
        std::abs(Distance(flank.tip, tipCentre) - h.tipRadius) > 1e-6)
        return std::nullopt;
    flank.tangent = flank.tip;
    return flank;
}

// The mirror in the line of centres: the lower flank of the worm (the left
// flank of a tooth in the view) is the upper flank of the tooth mirrored.
Flank Mirrored(Flank flank) {
    for (Point& p : flank.curve) p.x = -p.x;
    flank.tip.x = -flank.tip.x;
    flank.root.x = -flank.root.x;
    flank.tangent.x = -flank.tangent.x;
    return flank;
}

std::optional<HourglassShape> ShapeOf(const HourglassBody& h) {
    if (!Finite({h.A, h.E, h.tipRadius, h.rootRadius, h.halfLength, h.collarLeft, h.collarRight, h.shaftLeft,
                 h.shaftRight}))
        return std::nullopt;
    if (!(h.halfLength > 0) || !(h.tipRadius > h.halfLength)) return std::nullopt;
    HourglassShape s;
    s.throatTip = h.A + h.E - h.tipRadius;
    s.endRadius = h.A + h.E - std::sqrt(h.tipRadius * h.tipRadius - h.halfLength * h.halfLength);
    if (!(s.throatTip > 0) || !(s.endRadius > 0)) return std::nullopt;
    s.xShoulderLeft = h.halfLength + std::max(h.collarLeft, 0.0);
    s.xShoulderRight = h.halfLength + std::max(h.collarRight, 0.0);
    const double throatRoot = h.A - h.rootRadius;
    const double shaftRadius = 0.55 * std::min(s.throatTip, throatRoot > 0 ? throatRoot / 0.9 : s.throatTip);
    s.shaftLeftRadius = std::isfinite(h.shaftLeftRadius) ? h.shaftLeftRadius : shaftRadius;
    s.shaftRightRadius = std::isfinite(h.shaftRightRadius) ? h.shaftRightRadius : shaftRadius;
    s.shoulderRadius = std::isfinite(h.shoulderRadius) && h.shoulderRadius > 0 ? h.shoulderRadius : s.endRadius;
    // A shaft of no diameter is none.
    s.xEndLeft = s.xShoulderLeft + (s.shaftLeftRadius > 0 ? std::max(h.shaftLeft, 0.0) : 0.0);
    s.xEndRight = s.xShoulderRight + (s.shaftRightRadius > 0 ? std::max(h.shaftRight, 0.0) : 0.0);

    const Point wheel{0, h.A}, tipCentre{0, h.A + h.E};
    const double L = h.halfLength;
    const Point leftEnd{-L, s.endRadius}, rightEnd{L, s.endRadius};

    // The spaces of the thread within the working wrap, between tooth j and j + 1.
    struct Space {
        Flank left, right;  // the right flank of tooth j, the left flank of tooth j + 1
    };
    std::vector<Space> spaces;
    const bool toothable = h.rootRadius > h.pitchRadius && h.pitchRadius > h.baseRadius && h.baseRadius > 0 &&
                           h.pressureAngle > 0 && h.pressureAngle < 90 && h.angularPitch > 0 && h.axialThickness > 0 &&
                           h.axialThickness < 2 * h.pitchRadius && h.halfWrap > 0 &&
                           Finite({h.pitchRadius, h.baseRadius, h.pressureAngle, h.angularPitch, h.halfWrap});
    const std::optional<meshing::WormFlanks> flanks = toothable && h.pair && h.pair->wormStarts > 0
                                                          ? meshing::FlanksOf(*h.pair)
                                                          : std::nullopt;
    if (toothable) {
        const double halfChord = std::asin(h.axialThickness / (2 * h.pitchRadius)) / kDegree;
        const int most = static_cast<int>(std::min(h.halfWrap / h.angularPitch + 1, 1000.0));
        for (int j = -most - 1; j <= most; ++j) {
            const double middle = (j + 0.5) * h.angularPitch;
            if (std::abs(middle) > h.halfWrap) continue;
            // The true flanks where the plane's flank can be placed.
            std::optional<Flank> left, right;
            if (flanks) {
                left = TrueFlank(h, flanks->upper, j);
                if (const auto mirror = TrueFlank(h, flanks->upper, -(j + 1))) right = Mirrored(*mirror);
            }
            if (!left || !right) {
                left = MakeFlank(h, j * h.angularPitch + halfChord, true);
                right = MakeFlank(h, (j + 1) * h.angularPitch - halfChord, false);
            }
            if (!left || !right) continue;
            const bool inside = std::abs(left->tip.x) < L && std::abs(left->root.x) < L && std::abs(right->tip.x) < L &&
                                std::abs(right->root.x) < L;
            const bool ordered = left->root.x < right->root.x && left->tip.x < right->tip.x;
            if (inside && ordered) spaces.push_back({*left, *right});
        }
        // Teeth between the spaces must keep a tip.
        for (std::size_t i = 0; i + 1 < spaces.size(); ++i)
            if (!(spaces[i].right.tip.x < spaces[i + 1].left.tip.x)) spaces.clear();
    }
    s.teeth = !spaces.empty();
    for (const Space& space : spaces) s.schematic = s.schematic || space.left.schematic || space.right.schematic;

    std::vector<PolyVertex>& o = s.outline;
    const double rl = s.shaftLeftRadius, rr = s.shaftRightRadius, rs = s.shoulderRadius;
    const double xl = s.xShoulderLeft, xr = s.xShoulderRight;
    const bool leftShaft = s.xEndLeft > xl, rightShaft = s.xEndRight > xr;
    // Left end, up to the upper shoulder.
    if (leftShaft) {
        o.push_back({{-s.xEndLeft, -rl}});
        o.push_back({{-s.xEndLeft, rl}});
        o.push_back({{-xl, rl}});
    } else {
        o.push_back({{-xl, -rs}});
    }
    if (xl > L) o.push_back({{-xl, rs}});
    if (rs != s.endRadius) o.push_back({{-L, rs}});
    // The upper side: tip arcs, flanks and root arcs from left to right.
    Point current = leftEnd;
    for (const Space& space : spaces) {
        o.push_back({current, BulgeOf(tipCentre, current, space.left.tip, true)});
        // Down the left flank, along the root arc, up the right flank.
        const std::vector<Point> down = space.left.curve.empty() ? std::vector<Point>{space.left.tip, space.left.root}
                                                                 : space.left.curve;
        for (std::size_t k = 0; k + 1 < down.size(); ++k) o.push_back({down[k]});
        o.push_back({space.left.root, BulgeOf(wheel, space.left.root, space.right.root, true)});
        const std::vector<Point> up = space.right.curve.empty() ? std::vector<Point>{space.right.tip, space.right.root}
                                                                : space.right.curve;
        for (std::size_t k = up.size() - 1; k >= 1; --k) o.push_back({up[k]});
        current = space.right.tip;
        s.flanks.push_back(space.left);
        s.flanks.push_back(space.right);
    }
    o.push_back({current, BulgeOf(tipCentre, current, rightEnd, true)});
    o.push_back({rightEnd});
    if (rs != s.endRadius) o.push_back({{L, rs}});
    if (xr > L) o.push_back({{xr, rs}});
    if (rightShaft) {
        o.push_back({{xr, rr}});
        // The keyway: as long as entered, in the middle of the shaft, its
        // depth below the shaft's top; only where it fits the shaft.
        const double run = s.xEndRight - xr;
        if (h.keywayDepth > 0 && h.keywayDepth < rr && h.keywayLength > 0 && h.keywayLength < run) {
            s.keyway = true;
            s.keywayFrom = xr + (run - h.keywayLength) / 2;
            s.keywayTo = s.keywayFrom + h.keywayLength;
            s.keywayFloor = rr - h.keywayDepth;
            o.push_back({{s.keywayFrom, rr}});
            o.push_back({{s.keywayFrom, s.keywayFloor}});
            o.push_back({{s.keywayTo, s.keywayFloor}});
            o.push_back({{s.keywayTo, rr}});
            if (h.keywayWidth > 0 && h.keywayWidth < 2 * rr) {
                s.sectionX = s.xEndRight + 2.5 * rr;
                s.sectionRadius = rr;
                s.keywayHalfWidth = h.keywayWidth / 2;
            }
        }
        o.push_back({{s.xEndRight, rr}});
        o.push_back({{s.xEndRight, -rr}});
        o.push_back({{xr, -rr}});
    }
    if (xr > L) o.push_back({{xr, -rs}});
    if (rs != s.endRadius) o.push_back({{L, -rs}});
    // The lower side in view: one tip arc from right to left.
    const Point lowerCentre{0, -(h.A + h.E)};
    o.push_back({{L, -s.endRadius}, BulgeOf(lowerCentre, {L, -s.endRadius}, {-L, -s.endRadius}, true)});
    o.push_back({{-L, -s.endRadius}});
    if (rs != s.endRadius) o.push_back({{-L, -rs}});
    if (leftShaft) {
        if (xl > L) o.push_back({{-xl, -rs}});
        o.push_back({{-xl, -rl}});
    }
    if (h.endSection) {
        s.sectionX = s.xEndRight + 1.6 * rs;
        s.sectionRadius = rs;
    }
    // Without a shoulder or a shaft two corners fall together: a vertex that
    // starts a segment of no length goes, the next one keeps its bulge.
    for (std::size_t i = 0; i < o.size() && o.size() > 2;) {
        const Point next = o[(i + 1) % o.size()].at;
        if (o[i].at.x == next.x && o[i].at.y == next.y) o.erase(o.begin() + static_cast<std::ptrdiff_t>(i));
        else ++i;
    }

    // Points for the two radii, right of the throat, clear of the working
    // half wrap angle drawn on the left: the middle of the last tooth tip
    // and of the root of the last space; on the plain arcs without teeth.
    s.throatToothTip = {0, s.throatTip};
    s.tipPoint = s.throatToothTip;
    s.rootPoint = {0, h.A - h.rootRadius};
    if (spaces.size() >= 2) {
        const std::size_t n = spaces.size();
        const double a = AngleOf(spaces[n - 2].right.tip - tipCentre), b = AngleOf(spaces[n - 1].left.tip - tipCentre);
        s.tipPoint = tipCentre + Direction((a + b) / 2) * h.tipRadius;
        const Space& last = spaces.back();
        const double c = AngleOf(last.left.root - wheel), d = AngleOf(last.right.root - wheel);
        s.rootPoint = wheel + Direction((c + d) / 2) * h.rootRadius;
    }
    return s;
}

// The lines of the view beside the outline: centre lines, pitch and root
// lines, the base circle with the construction of the flanks.
void DrawBodyLines(SheetBuilder& b, const HourglassBody& h, const HourglassShape& s, const Translate& translate) {
    const Point wheel{0, h.A};
    const double reach = b.paper(4) / b.placement().factor;
    b.line({-s.xEndLeft - reach, 0}, {s.xEndRight + reach, 0}, Layer::Centre);
    b.line({0, -s.endRadius - reach}, {0, h.A + h.baseRadius + reach}, Layer::Centre);
    b.line({-h.baseRadius - reach, h.A}, {h.baseRadius + reach, h.A}, Layer::Centre);
    if (h.E != 0) b.centreMark({0, h.A + h.E}, 2);
    if (h.baseRadius > 0) b.circle(wheel, h.baseRadius, Layer::Centre);
    b.text({-reach, h.A + reach}, kSmallTextHeight, Tr(translate, texts::kWheelAxis), HAlign::Right);

    // Pitch lines within the working length, both sides.
    const double span = h.halfLength + reach;
    if (h.pitchRadius > span) {
        const double half = std::asin(span / h.pitchRadius) / kDegree;
        b.arc(wheel, h.pitchRadius, -90 - half, -90 + half, Layer::Centre);
        b.arc({0, -h.A}, h.pitchRadius, 90 - half, 90 + half, Layer::Centre);
    }
    // Root lines: in view on the lower side, and on the upper side when no
    // thread is drawn there.
    if (h.rootRadius > h.halfLength) {
        const double half = std::asin(h.halfLength / h.rootRadius) / kDegree;
        b.arc({0, -h.A}, h.rootRadius, 90 - half, 90 + half, Layer::Thin);
        if (!s.teeth) b.arc(wheel, h.rootRadius, -90 - half, -90 + half, Layer::Thin);
    }
    for (const Flank& flank : s.flanks)
        if (flank.schematic) b.line(flank.tip, flank.tangent, Layer::Thin);
}

// One tooth enlarged in the normal section: the flanks straight, leaning by
// theta + alpha as the tip width formula has them in the axial section,
// squeezed across the tooth by cos(gamma), so that the chord `height` below
// the tip is the measuring tooth thickness.
struct ToothDetail {
    double chord, height;
    double lean;       // tan of the flank's angle to the tooth's middle, in the section drawn
    double depth;      // whole tooth height
    double neighbour;  // how far the root reaches on each side
    double tipHalf;    // half the tip's width
};

// The flank's lean in the axial section by the tip width formula: the angle
// the pitch point makes at the wheel axis plus the pressure angle.
double AxialLean(double axialThickness, double tipRadius, double E, double height, double alpha) {
    const double theta = std::atan((axialThickness / 2) / (tipRadius - E + height));
    return std::tan(theta + alpha * kDegree);
}

// The worm's tooth (sn1 at h1, from sx1 and Ra1) or the hob's (sn0 at h0,
// from sx0 and Ra0); nothing where the tooth has no tip.
std::optional<ToothDetail> NormalSectionTooth(double chord, double height, double axialThickness, double tipRadius,
                                              double rootRadius, const TWormDesign& d) {
    ToothDetail t;
    t.chord = chord;
    t.height = height;
    t.lean = AxialLean(axialThickness, tipRadius, d.TipArcEccentricity, height, d.PressureAngle) *
             std::cos(d.ThroatLeadAngle * kDegree);
    t.depth = rootRadius - (tipRadius - d.TipArcEccentricity);
    t.neighbour = 0.35 * t.chord;
    t.tipHalf = t.chord / 2 - t.height * t.lean;
    if (!Finite({t.tipHalf, t.chord, t.height, t.lean, t.depth}) || !(t.tipHalf > 0) || !(t.depth > t.height) ||
        !(t.height > 0))
        return std::nullopt;
    return t;
}

std::optional<ToothDetail> WormTooth(const TWormDesign& d) {
    return NormalSectionTooth(d.WormMeasuredThickness, d.WormMeasuredHeight, d.WormAxialThickness, d.WormTipArcRadius,
                              d.WormRootArcRadius, d);
}
std::optional<ToothDetail> HobTooth(const TWormDesign& d) {
    return NormalSectionTooth(d.HobMeasuredThickness, d.HobMeasuredHeight, d.HobAxialThickness, d.HobBodyTipArcRadius,
                              d.HobBodyRootArcRadius, d);
}

double HalfSide(const ToothDetail& t) { return t.chord / 2 + (t.depth - t.height) * t.lean + t.neighbour; }

// The largest standard scale at which the tooth with its dimensions fills the room.
double ToothScale(const ToothDetail& t, const Rect& room) {
    return ChooseScale(2 * HalfSide(t), 1.8 * t.depth, room.width() - 30, room.height() - 22);
}

// Draws the tooth with its tip middle at the local origin.
void DrawTooth(SheetBuilder& b, const ToothDetail& t) {
    const double rootHalf = t.chord / 2 + (t.depth - t.height) * t.lean;
    const double side = HalfSide(t), bottom = -1.5 * t.depth;
    b.outline({{{-side, bottom}},
               {{-side, -t.depth}},
               {{-rootHalf, -t.depth}},
               {{-t.tipHalf, 0}},
               {{t.tipHalf, 0}},
               {{rootHalf, -t.depth}},
               {{side, -t.depth}},
               {{side, bottom}}},
              Layer::Outline);
    b.line({-t.chord / 2, -t.height}, {t.chord / 2, -t.height}, Layer::Thin);
    b.line({0, 0.3 * t.depth}, {0, bottom - 0.2 * t.depth}, Layer::Centre);
}

struct HourglassSheet {
    DrawingKind kind;
    Paper paper;
    HourglassBody body;
    std::vector<TableRow> rows, extraRows;
    std::string extraHeading;
    std::optional<ToothDetail> tooth;   // the detail
    std::string chordText, heightText;  // its measuring thickness and height as the window shows them
    RequirementsBlock requirements;
    const char* flankRoughness = kWormFlankRoughness;
};

Rect BoxOf(const HourglassBody& h, const HourglassShape& s) {
    const double below = std::max({s.endRadius, s.shoulderRadius, s.shaftLeftRadius, s.shaftRightRadius});
    const double right = s.sectionX ? *s.sectionX + s.sectionRadius : s.xEndRight;
    return {-s.xEndLeft, -below, right, h.A + std::max(h.baseRadius, std::abs(h.E)) + 1};
}

}  // namespace

namespace {

HourglassSheet WormSpec(const CalculatedDesign& c, const ShopContext& context) {
    const Translate& translate = context.translate;
    const WormBody& body = context.shop.worm;
    const TWormDesign& d = c.design;
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    const auto radius = [&](const ShownLength& diameter) { return diameter.value ? *diameter.value / 2 : kNone; };
    using R = ResultId;
    using F = DesignField;
    HourglassSheet spec;
    spec.kind = DrawingKind::Worm;
    spec.paper = kA3Landscape;
    const double shoulder = static_cast<double>(d.ShaftShoulder), shaft = 0.6 * d.WormWorkingLength;
    spec.body = {d.CentreDistance,
                 d.TipArcEccentricity,
                 d.WormTipArcRadius,
                 d.WormRootArcRadius,
                 d.WormWorkingLength / 2,
                 d.WheelPitchDiameter / 2,
                 d.MainBaseDiameter / 2,
                 d.PressureAngle,
                 d.AngularPitch,
                 d.WorkingHalfWrapAngle,
                 d.WormAxialThickness,
                 BodyValue(body.leftShoulderLength, shoulder),
                 BodyValue(body.rightShoulderLength, shoulder),
                 body.shoulderDiameter.userSet ? radius(body.shoulderDiameter) : kNone,
                 BodyValue(body.leftShaftLength, shaft),
                 BodyValue(body.rightShaftLength, shaft),
                 radius(body.leftShaftDiameter),
                 radius(body.rightShaftDiameter),
                 body.keywayDepth.value.value_or(kNone),
                 body.keywayLength.value.value_or(kNone),
                 body.keywayWidth.value.value_or(kNone),
                 meshing::PairOf(d)};
    const TableRow hand = TextRow(texts::kHand, Tr(translate, texts::kRightHand), translate);
    spec.rows = Rows(c,
                     {F::CentreDistance, F::WormStarts, F::WheelTeeth, F::SpeedRatio, R::TransverseModule,
                      F::WormPitchDiameter, R::MainBaseDiameter, R::GeneratingPlaneAngle, R::PressureAngle,
                      R::ThroatLeadAngle, hand, R::EnvelopedTeeth, R::WorkingHalfWrapAngle, R::WormMeasuredThickness,
                      R::WormMeasuredHeight, F::WormAccuracy, F::EntranceRelief, F::ExitRelief},
                     translate);
    AppendShopRows(spec.rows, DrawingKind::Worm, c, context);
    spec.extraRows = Rows(c,
                          {R::GrindingWheelAngle, R::ModificationRatio, R::ModificationCentreDistance,
                           R::ModificationBaseDiameter, F::GrindingIncrement},
                          translate);
    const std::string_view caption = Panels()[3].caption;
    spec.extraHeading = Tr(translate, caption.substr(0, caption.find_last_not_of(' ') + 1));
    spec.requirements = LayOutRequirements(spec.paper, RequirementLines(context.shop.piece(Piece::Worm), translate));
    spec.tooth = WormTooth(d);
    spec.chordText = c.shown(R::WormMeasuredThickness);
    spec.heightText = c.shown(R::WormMeasuredHeight);
    return spec;
}

HourglassSheet HobSpec(const CalculatedDesign& c, const ShopContext& context) {
    const Translate& translate = context.translate;
    const HobBody& body = context.shop.hob;
    const TWormDesign& d = c.design;
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    const double hub = BodyValue(body.hubLength, 2 * d.TransverseModule);
    using R = ResultId;
    using F = DesignField;
    HourglassSheet spec;
    spec.kind = DrawingKind::Hob;
    spec.paper = kA4Landscape;
    spec.body = {d.CentreDistance,
                 d.TipArcEccentricity,
                 d.HobBodyTipArcRadius,
                 d.HobBodyRootArcRadius,
                 d.HobEffectiveLength / 2,
                 d.WheelPitchDiameter / 2,
                 d.MainBaseDiameter / 2,
                 d.PressureAngle,
                 d.AngularPitch,
                 d.HobHalfWrapAngle,
                 d.HobAxialThickness,
                 hub,
                 hub,
                 body.hubDiameter.userSet && body.hubDiameter.value ? *body.hubDiameter.value / 2 : kNone,
                 0,
                 0,
                 kNone,
                 kNone,
                 kNone,
                 kNone,
                 kNone,
                 meshing::PairOf(d)};
    // The hob is the worm's twin ground by the same plane, thicker by the
    // backlash: its own axial thickness on the same pitch arc.
    spec.body.pair->axialThickness = d.HobAxialThickness;
    spec.body.endSection = body.keywayWidth.value && body.keywayDepth.value;
    const TableRow hand = TextRow(texts::kHand, Tr(translate, texts::kRightHand), translate);
    spec.rows = Rows(c,
                     {R::HobEnvelopingTeeth, R::HobMeasuredThickness, R::HobMeasuredHeight, F::CentreDistance,
                      F::SpeedRatio, F::WormStarts, F::WheelTeeth, R::TransverseModule, R::MainBaseDiameter,
                      R::GeneratingPlaneAngle, R::PressureAngle, hand, F::HobAccuracy},
                     translate);
    AppendShopRows(spec.rows, DrawingKind::Hob, c, context);
    spec.requirements = LayOutRequirements(spec.paper, RequirementLines(context.shop.piece(Piece::Hob), translate));
    spec.tooth = HobTooth(d);
    spec.flankRoughness = kHobFlankRoughness;
    spec.chordText = c.shown(R::HobMeasuredThickness);
    spec.heightText = c.shown(R::HobMeasuredHeight);
    return spec;
}

// The worm's and the hob's details at one enlargement, so that the two
// teeth a shop compares look alike: the larger standard scale of the two at
// which each tooth fills its own sheet's room.
std::optional<double> SharedDetailScale(const CalculatedDesign& c, const ShopContext& context) {
    std::optional<double> scale;
    for (const HourglassSheet& spec : {WormSpec(c, context), HobSpec(c, context)}) {
        if (!spec.tooth) continue;
        const Rect room = RoomsBeside(spec.paper, spec.rows.size(), spec.extraRows.size(), spec.requirements).detail;
        scale = std::max(scale.value_or(0.0), ToothScale(*spec.tooth, room));
    }
    return scale;
}

Sheet BuildHourglassSheet(const HourglassSheet& spec, const CalculatedDesign& c, const ShopContext& context,
                          const std::function<void(SheetBuilder&, const HourglassShape&)>& dimensions) {
    const Translate& translate = context.translate;
    const TitleBlock& title = context.title;
    const auto shape = ShapeOf(spec.body);
    Sheet sheet;
    sheet.width = spec.paper.width;
    sheet.height = spec.paper.height;
    sheet.title = Tr(translate, DrawingName(spec.kind));
    sheet.subject = title.design;
    const SheetRooms rooms = RoomsBeside(spec.paper, spec.rows.size(), spec.extraRows.size(), spec.requirements);
    // Room around the view for the dimensions, paper mm on each side.
    // The centre distance left, the tip diameter right and the lengths
    // below take room around the view.
    const Margins margins{18, 18, 18, 4};
    const Rect box = shape ? BoxOf(spec.body, *shape) : Rect{};
    sheet.scale = shape ? ScaleToFit(box, rooms.views, margins) : 1;
    SheetBuilder b(sheet);
    DrawSheetFrame(b, spec.paper, spec.kind, context, spec.rows, spec.extraHeading, spec.extraRows, spec.requirements);
    if (!shape) return sheet;

    b.place({PlaceInRoom(box, rooms.views, margins, sheet.scale), 1});
    b.outline(shape->outline, Layer::Outline);
    DrawBodyLines(b, spec.body, *shape, translate);
    if (shape->teeth && shape->schematic) {
        b.text({-shape->xEndLeft, -shape->endRadius - b.paper(22)}, kSmallTextHeight,
               Tr(translate, texts::kToothFormSchematic));
    }
    // The detail: the tooth at the throat in the normal section, enlarged
    // as the other body's; its marker around the throat tooth in the main
    // view stands before the dimensions, which keep clear of it.
    const auto detailScale = SharedDetailScale(c, context);
    const bool detail = spec.tooth && detailScale && *detailScale < sheet.scale;  // else the main view shows it
    if (detail) {
        const ToothDetail& t = *spec.tooth;
        const double markRadius = std::max(t.depth, t.chord) * 0.9;
        b.circle({0, shape->throatTip - 0.4 * t.depth}, markRadius, Layer::Thin);
        b.text({markRadius * 0.75, shape->throatTip - 0.4 * t.depth + markRadius * 0.75}, kTextHeight, texts::kDetail);
    }
    // Without the detail the flanks' roughness stands on the tip arc of the
    // main view, the air side towards the tip arc's centre.
    if (!detail && shape->teeth)
        b.roughness(shape->tipPoint, AngleOf(Point{0, spec.body.A + spec.body.E} - shape->tipPoint),
                    spec.flankRoughness);
    dimensions(b, *shape);
    if (!detail) return sheet;
    const ToothDetail& t = *spec.tooth;

    const double factor = sheet.scale / *detailScale;
    const Point middle{(rooms.detail.left + rooms.detail.right) / 2 * sheet.scale,
                       (rooms.detail.bottom + rooms.detail.top) / 2 * sheet.scale};
    b.place({middle + Point{0, 0.6 * t.depth * factor}, factor});
    DrawTooth(b, t);
    // The roughness of the flanks on the left flank, clear of the measuring
    // dimensions on the right: 0.4 of the way from the tip to the root.
    {
        const double rootHalf = t.chord / 2 + (t.depth - t.height) * t.lean;
        const Point tip{-t.tipHalf, 0}, root{-rootHalf, -t.depth};
        b.roughnessOnLeader(tip + (root - tip) * 0.4, 150, 8, spec.flankRoughness);
    }
    const double below = -1.5 * t.depth - b.paper(5) / factor;
    b.text({0, below}, kTextHeight, std::string(texts::kDetail) + "  " + ScaleText(*detailScale), HAlign::Centre,
           VAlign::Top);
    b.text({0, below - b.paper(6) / factor}, kSmallTextHeight, Tr(translate, texts::kNormalSection), HAlign::Centre,
           VAlign::Top);
    // The measuring thickness across the chord, the measuring height from
    // the tip down to it, beside the tooth.
    const double mm = b.paper(1) / factor;
    b.linear({-t.chord / 2, -t.height}, {t.chord / 2, -t.height}, 0, {0, 8 * mm}, spec.chordText);
    b.linear({t.tipHalf, 0}, {t.chord / 2, -t.height}, 90, {HalfSide(t) + 8 * mm, 0}, spec.heightText);
    return sheet;
}

}  // namespace

std::vector<std::vector<Point>> TrueAxialFlanks(const CalculatedDesign& c, DrawingKind kind) {
    // The flanks do not depend on the body: any particulars do.
    const TitleBlock title;
    const ShopParticulars shop = ResolveParticulars({}, c.design, "", "", c.decimalSeparator);
    const ToleranceTable tolerances;
    const Translate translate;
    const ShopContext context{title, shop, tolerances, translate};
    const HourglassSheet spec = kind == DrawingKind::Hob ? HobSpec(c, context) : WormSpec(c, context);
    std::vector<std::vector<Point>> flanks;
    if (const auto shape = ShapeOf(spec.body))
        for (const Flank& flank : shape->flanks)
            if (!flank.schematic) flanks.push_back(flank.curve);
    return flanks;
}

Sheet BuildWormSheet(const CalculatedDesign& c, const ShopContext& context) {
    using R = ResultId;
    using F = DesignField;
    const HourglassSheet spec = WormSpec(c, context);
    const HourglassBody& h = spec.body;
    const WormBody& body = context.shop.worm;
    const auto dimensions = [&](SheetBuilder& b, const HourglassShape& s) {
        const double mm = b.paper(1);
        const double y = s.endRadius, rs = s.shoulderRadius, L = h.halfLength;
        const double xl = s.xShoulderLeft, xr = s.xShoulderRight;
        // Lengths below the worm in one chain: the working length, the
        // shoulders (the right one always, as the calculation sizes it; the
        // left one where it was entered) and the shafts where entered.
        const Point below{0, -std::max(y, rs) - 12 * mm};
        // The shaft seats' roughness on top of each shaft, before the
        // dimensions, which keep clear of it.
        if (s.xEndLeft > xl) b.roughness({-xl - 0.15 * (s.xEndLeft - xl), s.shaftLeftRadius}, 90, kShaftSeatRoughness);
        if (s.xEndRight > xr)
            b.roughness({xr + 0.15 * (s.xEndRight - xr), s.shaftRightRadius}, 90, kShaftSeatRoughness);
        b.linear({-L, -y}, {L, -y}, 0, below, c.shown(R::WormWorkingLength));
        if (xr > L)
            b.linear({L, -rs}, {xr, -rs}, 0, below, BodyText(body.rightShoulderLength, c.shown(R::ShaftShoulder)));
        if (xl > L && body.leftShoulderLength.userSet)
            b.linear({-xl, -rs}, {-L, -rs}, 0, below, body.leftShoulderLength.text);
        const struct {
            const ShownLength &length, &diameter;
            double from, to, radius;
        } shafts[] = {{body.leftShaftLength, body.leftShaftDiameter, -s.xEndLeft, -xl, s.shaftLeftRadius},
                      {body.rightShaftLength, body.rightShaftDiameter, xr, s.xEndRight, s.shaftRightRadius}};
        for (const auto& shaft : shafts) {
            if (!(shaft.to > shaft.from)) continue;
            if (shaft.length.userSet)
                b.linear({shaft.from, -shaft.radius}, {shaft.to, -shaft.radius}, 0, below, shaft.length.text);
            // The diameter from the corners of the shaft's end face (its top
            // may hold the keyway), its line across the middle of the shaft.
            const double end = shaft.from < 0 ? shaft.from : shaft.to, x = (shaft.from + shaft.to) / 2;
            if (shaft.diameter.userSet)
                b.linear({end, -shaft.radius}, {end, shaft.radius}, 90, {x, 0}, shaft.diameter.text,
                         Decoration::Diameter);
        }
        // The keyway: its length along the shaft's top, its depth at its
        // right end; its width in the section beside the shaft's end, the
        // shaft's circle with the keyway at its top.
        if (s.keyway) {
            const double rr = s.shaftRightRadius;
            b.linear({s.keywayFrom, rr}, {s.keywayTo, rr}, 0, {(s.keywayFrom + s.keywayTo) / 2, rr + 8 * mm},
                     body.keywayLength.text);
            b.linear({s.keywayTo, s.keywayFloor}, {s.keywayTo, rr}, 90, {s.keywayTo + 6 * mm, rr},
                     body.keywayDepth.text);
            if (s.sectionX) {
                const double half = s.keywayHalfWidth;
                const Point centre{*s.sectionX, 0};
                const double top = std::sqrt(rr * rr - half * half);
                const Point a = centre + Point{half, top}, c = centre + Point{-half, top};
                // The arc runs the long way round, clockwise from a to c.
                const std::vector<PolyVertex> section = {{a, BulgeOf(centre, a, c, false)},
                                                         {c},
                                                         {centre + Point{-half, s.keywayFloor}},
                                                         {centre + Point{half, s.keywayFloor}}};
                b.outline(section, Layer::Outline);
                b.hatch({section}, 3);
                b.centreMark(centre, rr / mm + 3);
                b.linear(centre + Point{-half, s.keywayFloor}, centre + Point{half, s.keywayFloor}, 0,
                         centre + Point{0, rr + 8 * mm}, body.keywayWidth.text);
            }
        }
        // Right of the worm, and of the keyway's section where there is one:
        const double right = s.sectionX ? *s.sectionX + s.sectionRadius : s.xEndRight;
        // the largest tip diameter, at the shoulders; at
        // the end of the working length where the shoulders have a diameter
        // of their own.
        if (body.shoulderDiameter.userSet) {
            b.linear({xr, rs}, {xr, -rs}, 90, {right + 12 * mm, 0}, body.shoulderDiameter.text, Decoration::Diameter);
            b.linear({L, y}, {L, -y}, 90, {right + 24 * mm, 0}, c.shown(R::WormMaxTipDiameter), Decoration::Diameter);
        } else {
            b.linear({xr, y}, {xr, -y}, 90, {right + 12 * mm, 0}, c.shown(R::WormMaxTipDiameter), Decoration::Diameter);
        }
        // The pitch diameter at the throat.
        b.linear({0, -(h.A - h.pitchRadius)}, {0, h.A - h.pitchRadius}, 90, {0, 0}, c.field(F::WormPitchDiameter),
                 Decoration::Diameter);
        // The centre distance, left of the worm.
        b.linear({-s.xEndLeft, 0}, {0, h.A}, 90, {-s.xEndLeft - 12 * mm, 0}, c.field(F::CentreDistance));
        if (h.E != 0) b.linear({0, h.A}, {0, h.A + h.E}, 90, {12 * mm, h.A}, c.shown(R::TipArcEccentricity));
        b.radius({0, h.A + h.E}, s.tipPoint, c.shown(R::WormTipArcRadius));
        b.radius({0, h.A}, s.rootPoint, c.shown(R::WormRootArcRadius));
        if (h.baseRadius > 0) {
            b.diameter(Point{0, h.A} + Direction(30) * h.baseRadius, Point{0, h.A} + Direction(210) * h.baseRadius,
                       c.shown(R::MainBaseDiameter));
        }
        // The working half wrap angle at the wheel axis, from the end of the
        // wrap on the left to the throat, its arc just outside the base circle.
        if (h.halfWrap > 0 && h.halfWrap < 90) {
            const Point wheel{0, h.A};
            const Point end = wheel +
                              Point{-std::sin(h.halfWrap * kDegree), -std::cos(h.halfWrap * kDegree)} * h.pitchRadius;
            b.line(wheel, end, Layer::Thin);
            const double arcRadius = std::min(h.baseRadius + 12 * mm, (h.baseRadius + h.tipRadius - h.E) / 2);
            b.angular(wheel, end, wheel - Point{0, h.pitchRadius}, arcRadius, c.shown(R::WorkingHalfWrapAngle));
        }
    };
    return BuildHourglassSheet(spec, c, context, dimensions);
}

Sheet BuildHobSheet(const CalculatedDesign& c, const ShopContext& context) {
    using R = ResultId;
    using F = DesignField;
    const HourglassSheet spec = HobSpec(c, context);
    const HourglassBody& h = spec.body;
    const HobBody& body = context.shop.hob;
    const auto dimensions = [&](SheetBuilder& b, const HourglassShape& s) {
        const double mm = b.paper(1);
        const double y = s.endRadius, rs = s.shoulderRadius, L = h.halfLength;
        // The bore, hidden in the view, before the dimensions, whose texts keep clear of it.
        const double bore = BodyValue(body.boreDiameter, 2 * (0.45 * s.throatTip)) / 2;
        b.line({-s.xEndLeft, bore}, {s.xEndRight, bore}, Layer::Hidden);
        b.line({-s.xEndLeft, -bore}, {s.xEndRight, -bore}, Layer::Hidden);
        // The bore's roughness hangs from its upper line towards the axis.
        b.roughness({-0.5 * L, bore}, -90, kHobBoreRoughness);
        // A keyway through the bore at its top, hidden: its floor t beyond
        // the bore, dimensioned d + t from the bore's lower line as a shop
        // measures it. Its width shows in no view of this sheet.
        const double keyDepth = body.keywayDepth.value.value_or(0);
        if (keyDepth > 0 && bore + keyDepth < h.A - h.rootRadius) {
            b.line({-s.xEndLeft, bore + keyDepth}, {s.xEndRight, bore + keyDepth}, Layer::Hidden);
            b.linear({-s.xEndLeft, -bore}, {-s.xEndLeft, bore + keyDepth}, 90, {-s.xEndLeft - 24 * mm, 0},
                     FormatReal(2 * bore + keyDepth, c.decimalSeparator));
        }
        const Point below{0, -std::max(y, rs) - 12 * mm};
        b.linear({-L, -y}, {L, -y}, 0, below, c.shown(R::HobEffectiveLength));
        if (body.hubLength.userSet && s.xShoulderRight > L)
            b.linear({L, -rs}, {s.xShoulderRight, -rs}, 0, below, body.hubLength.text);
        // The end beside the hob where its bore has a keyway: the hub's
        // circle, the bore with the keyway at its top (its width across the
        // floor), hatched between them.
        // The hub's and the bore's diameters right of the hob, in the gap
        // before its end where that is drawn.
        const double hubAt = s.sectionX ? s.xEndRight + 0.45 * rs : s.xEndRight + 12 * mm;
        const double boreAt = s.sectionX ? s.xEndRight + 0.2 * rs : s.xEndRight + 24 * mm;
        if (s.sectionX) {
            const double half = BodyValue(body.keywayWidth, 0) / 2, floor = bore + BodyValue(body.keywayDepth, 0);
            const Point centre{*s.sectionX, 0};
            b.circle(centre, rs, Layer::Outline);
            b.centreMark(centre, rs / mm + 3);
            std::vector<PolyVertex> hole{{centre + Point{bore, 0}, 1}, {centre + Point{-bore, 0}, 1}};
            if (half > 0 && half < bore && floor < rs) {
                const double edge = std::sqrt(bore * bore - half * half);
                const Point a = centre + Point{half, edge}, e = centre + Point{-half, edge};
                hole = {{e, BulgeOf(centre, e, a, true)},
                        {a},
                        {centre + Point{half, floor}},
                        {centre + Point{-half, floor}}};
                b.outline(hole, Layer::Outline);
                b.hatch({{{centre + Point{rs, 0}, 1}, {centre + Point{-rs, 0}, 1}}, hole}, 3);
                b.linear(centre + Point{-half, floor}, centre + Point{half, floor}, 0, centre + Point{0, rs + 8 * mm},
                         body.keywayWidth.text);
            } else {
                b.circle(centre, bore, Layer::Outline);
            }
        }
        if (body.hubDiameter.userSet && s.xShoulderRight > L)
            b.linear({s.xShoulderRight, rs}, {s.xShoulderRight, -rs}, 90, {hubAt, 0}, body.hubDiameter.text,
                     Decoration::Diameter);
        if (body.boreDiameter.userSet)
            b.linear({s.xEndRight, -bore}, {s.xEndRight, bore}, 90, {boreAt, 0}, body.boreDiameter.text,
                     Decoration::Diameter);
        b.linear({-s.xEndLeft, 0}, {0, h.A}, 90, {-s.xEndLeft - 12 * mm, 0}, c.field(F::CentreDistance));
        b.radius({0, h.A + h.E}, s.tipPoint, c.shown(R::HobBodyTipArcRadius));
        b.radius({0, h.A}, s.rootPoint, c.shown(R::HobBodyRootArcRadius));
        if (h.baseRadius > 0) {
            b.diameter(Point{0, h.A} + Direction(30) * h.baseRadius, Point{0, h.A} + Direction(210) * h.baseRadius,
                       c.shown(R::MainBaseDiameter));
        }
    };
    return BuildHourglassSheet(spec, c, context, dimensions);
}

}  // namespace wormgear::drawing
