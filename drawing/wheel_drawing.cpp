// The wheel: the section in the mid-plane (tip, pitch and root circles, the
// outer edge beyond) and beside it, in projection, the section through the
// axis: the rim with its throat arc of radius Ra2 through the throat
// diameter, cut off by the largest outer diameter, over a web and hub drawn
// as a schematic.
#include <cmath>

#include "calc/numeric.h"
#include "drawing/drawing_parts.h"
#include "drawing/drawing_texts.h"

namespace wormgear::drawing {

namespace {

struct WheelShape {
    // Radii, from the wheel axis.
    double outer, throat, pitch, root, rimInside, hub, bore;
    double halfWidth, webHalfWidth;
    double hubHalfLength;  // the hub's half length along the wheel axis
    bool web = false;      // a web between hub and rim (else a disc on its bore)
    // The throat arc's centre height and radius; the arc reaches the outer
    // diameter at +-cut (0 when it reaches the faces first).
    double arcCentre = 0, arcRadius = 0, cut = 0;
    bool arc = false;                  // the throat is an arc (else a straight tip)
    bool outerEdge = false;            // the outer diameter is part of the rim
    double faceTop = 0;                // where the tip meets the faces
    std::optional<double> rootAtFace;  // where the root arc meets the faces
    std::vector<PolyVertex> upper;     // the upper half of the axial section, closed
    std::vector<PolyVertex> hatchUpper;
};

std::optional<WheelShape> ShapeOf(const TWormDesign& d, const WheelBody& body) {
    WheelShape s;
    s.outer = d.WheelMaxOuterDiameter / 2;
    s.throat = d.WheelThroatDiameter / 2;
    s.pitch = d.WheelPitchDiameter / 2;
    s.root = s.pitch - d.Dedendum;
    s.halfWidth = d.RimWorkingWidth / 2.0;
    // The web, hub and bore as the particulars give them; their defaults
    // (particulars/particulars.cpp) are the schematic the drawing has always
    // drawn: the program does not design them.
    s.rimInside = BodyValue(body.rimInsideDiameter, 2 * (s.root - 2 * d.TransverseModule)) / 2;
    s.hub = BodyValue(body.hubDiameter, 2 * (0.35 * s.pitch)) / 2;
    s.bore = BodyValue(body.boreDiameter, 2 * (0.18 * s.pitch)) / 2;
    s.webHalfWidth = BodyValue(body.webThickness, 2 * (0.18 * d.RimWorkingWidth)) / 2;
    s.hubHalfLength = BodyValue(body.hubLength, 2 * s.halfWidth) / 2;
    for (double v : {s.outer, s.throat, s.pitch, s.root, s.halfWidth, s.rimInside, s.hub, s.bore, s.webHalfWidth,
                     s.hubHalfLength, d.WheelTipArcRadius})
        if (!std::isfinite(v)) return std::nullopt;
    if (!(s.halfWidth > 0) || !(s.throat > 0) || !(s.root > 0) || !(s.root < s.throat)) return std::nullopt;
    const bool web = s.bore < s.hub && s.hub < s.rimInside && s.rimInside < s.root && s.webHalfWidth < s.halfWidth &&
                     s.webHalfWidth > 0 && s.hubHalfLength > s.webHalfWidth;
    s.web = web;
    // Without a web the wheel is a disc on its bore, as wide as its rim.
    if (!web) {
        if (!(s.bore > 0 && s.bore < s.root)) s.bore = std::min(0.18 * s.pitch, 0.5 * s.root);
        s.rimInside = s.hub = s.bore;
        s.hubHalfLength = s.halfWidth;
    }

    // The throat arc runs from the outer diameter on one side to the other,
    // or, where it does not reach the outer diameter within the rim, from
    // face to face; a radius too small for either leaves a straight tip.
    const double R = d.WheelTipArcRadius;
    s.arcRadius = R;
    s.arcCentre = s.throat + R;
    s.faceTop = s.throat;
    const double drop = s.arcCentre - s.outer;  // from the arc's centre down to the outer diameter
    if (R > 0 && s.outer > s.throat && drop >= 0 && drop < R) {
        s.cut = std::sqrt(R * R - drop * drop);
        s.outerEdge = s.cut < s.halfWidth;
    }
    s.arc = s.outerEdge || R > s.halfWidth;
    if (s.outerEdge) s.faceTop = s.outer;
    else if (s.arc) s.faceTop = s.arcCentre - std::sqrt(R * R - s.halfWidth * s.halfWidth);
    if (s.arc) {
        const double rootRadius = R + (s.throat - s.root);
        if (rootRadius > s.halfWidth)
            s.rootAtFace = s.arcCentre - std::sqrt(rootRadius * rootRadius - s.halfWidth * s.halfWidth);
        if (s.rootAtFace && !(*s.rootAtFace > s.rimInside && *s.rootAtFace < s.faceTop)) s.rootAtFace.reset();
    }

    // The top of the rim from the left face to the right one.
    const Point centre{0, s.arcCentre};
    std::vector<PolyVertex> top;
    const double b = s.halfWidth;
    if (s.outerEdge) {
        top = {{{-b, s.outer}},
               {{-s.cut, s.outer}, BulgeOf(centre, {-s.cut, s.outer}, {s.cut, s.outer}, true)},
               {{s.cut, s.outer}},
               {{b, s.outer}}};
    } else if (s.arc) {
        top = {{{-b, s.faceTop}, BulgeOf(centre, {-b, s.faceTop}, {b, s.faceTop}, true)}, {{b, s.faceTop}}};
    } else {
        top = {{{-b, s.throat}}, {{b, s.throat}}};
    }
    const auto around = [&](const std::vector<PolyVertex>& rimTop) {
        const double w = s.webHalfWidth, l = s.hubHalfLength;
        std::vector<PolyVertex> v;
        if (web) v = {{{-l, s.bore}}, {{-l, s.hub}}, {{-w, s.hub}}, {{-w, s.rimInside}}, {{-b, s.rimInside}}};
        else v = {{{-b, s.bore}}};
        v.insert(v.end(), rimTop.begin(), rimTop.end());
        if (web) {
            for (PolyVertex p : {PolyVertex{{b, s.rimInside}}, PolyVertex{{w, s.rimInside}}, PolyVertex{{w, s.hub}},
                                 PolyVertex{{l, s.hub}}})
                v.push_back(p);
            v.push_back({{l, s.bore}});
        } else {
            v.push_back({{b, s.bore}});
        }
        return v;
    };
    s.upper = around(top);
    if (s.rootAtFace) {
        const double y = *s.rootAtFace;
        s.hatchUpper = around({{{-b, y}, BulgeOf(centre, {-b, y}, {b, y}, true)}, {{b, y}}});
    } else {
        s.hatchUpper = s.upper;
    }
    return s;
}

// The lower half: the same loop mirrored in the wheel axis.
std::vector<PolyVertex> Mirrored(const std::vector<PolyVertex>& upper) {
    std::vector<PolyVertex> lower;
    lower.reserve(upper.size());
    for (const PolyVertex& v : upper) lower.push_back({{v.at.x, -v.at.y}, -v.bulge});
    return lower;
}

// A full circle as a closed loop of two half arcs.
std::vector<PolyVertex> CircleLoop(double radius) { return {{{radius, 0}, 1}, {{-radius, 0}, 1}}; }

}  // namespace

Sheet BuildWheelSheet(const CalculatedDesign& c, const ShopContext& context) {
    const TWormDesign& d = c.design;
    const Translate& translate = context.translate;
    const TitleBlock& title = context.title;
    const WheelBody& body = context.shop.wheel;
    using R = ResultId;
    using F = DesignField;
    std::vector<TableRow> rows = Rows(
        c,
        {F::WheelTeeth, R::TransverseModule, R::WheelPitchDiameter, F::CentreDistance, R::PressureAngle,
         TextRow(texts::kHand, Tr(translate, texts::kRightHand), translate), R::WheelMeasuredThickness,
         R::WheelMeasuredHeight, TextRow(texts::kAccuracy, c.field(F::WormAccuracy), translate),
         TextRow(texts::kCutting, Tr(translate, texts::kHobbing), translate),
         TextRow(texts::kHobDrawingNumber, context.shop.piece(Piece::Hob).drawingNumber.text, translate)},
        translate);
    AppendShopRows(rows, DrawingKind::Wheel, c, context);
    const RequirementsBlock requirements = LayOutRequirements(
        kA4Landscape, RequirementLines(context.shop.piece(Piece::Wheel), translate));
    const Paper paper = kA4Landscape;
    Sheet sheet;
    sheet.width = paper.width;
    sheet.height = paper.height;
    sheet.title = Tr(translate, DrawingName(DrawingKind::Wheel));
    sheet.subject = title.design;
    const SheetRooms rooms = RoomsBeside(paper, rows.size(), 0, requirements);
    const auto shape = ShapeOf(d, body);

    // Both views side by side at the height of the wheel axis: the mid-plane
    // section left, the axial section right of it with the centre distance
    // in the gap between them, the outer diameter right and the rim width
    // below.
    constexpr double kGap = 24;
    const Margins margins{4, 20, 20, 8};
    const double radius = shape ? std::max(shape->outer, shape->throat) : 0;
    const double top = shape ? std::max(radius, d.CentreDistance) : 0;
    const double width = shape ? 2 * radius + 2 * shape->halfWidth : 0;
    Rect room = rooms.views;
    room.right -= kGap;
    sheet.scale = shape ? ScaleToFit({0, -radius, width, top}, room, margins) : 1;
    SheetBuilder b(sheet);
    DrawSheetFrame(b, paper, DrawingKind::Wheel, context, rows, {}, {}, requirements);
    if (!shape) return sheet;
    const WheelShape& s = *shape;
    const double n = sheet.scale, mm = n;
    const Point origin = PlaceInRoom({0, -radius, width + kGap * n, top}, rooms.views, margins, n);
    const double left = origin.x, axisHeight = origin.y;

    // The mid-plane section.
    b.place({{left + radius, axisHeight}, 1});
    const double reach = 4 * mm;
    b.line({-radius - reach, 0}, {radius + reach, 0}, Layer::Centre);
    b.line({0, -radius - reach}, {0, radius + reach}, Layer::Centre);
    if (s.outer > s.throat) b.circle({0, 0}, s.outer, Layer::Outline);
    b.circle({0, 0}, s.throat, Layer::Outline);
    b.circle({0, 0}, s.pitch, Layer::Centre);
    b.circle({0, 0}, s.root, Layer::Thin);
    // The bore, with its keyway at the top where one was entered and fits
    // the hub: b wide, t deep beyond the bore.
    const double keyWidth = body.keywayWidth.value.value_or(0), keyDepth = body.keywayDepth.value.value_or(0);
    const bool keyway = keyWidth > 0 && keyWidth < 2 * s.bore && keyDepth > 0 &&
                        s.bore + keyDepth < (s.web ? s.hub : s.root);
    std::vector<PolyVertex> bore = CircleLoop(s.bore);
    const double half = keyWidth / 2, floor = s.bore + keyDepth;
    if (keyway) {
        const double edge = std::sqrt(s.bore * s.bore - half * half);
        const Point a{half, edge}, e{-half, edge};
        bore = {{e, BulgeOf({0, 0}, e, a, true)}, {a}, {{half, floor}}, {{-half, floor}}};
        b.outline(bore, Layer::Outline);
    } else {
        b.circle({0, 0}, s.bore, Layer::Outline);
    }
    b.hatch({CircleLoop(s.root), bore}, 3);
    b.diameter(Direction(60) * s.throat, Direction(240) * s.throat, c.shown(R::WheelThroatDiameter));
    b.diameter(Direction(-30) * s.pitch, Direction(150) * s.pitch, c.shown(R::WheelPitchDiameter));
    if (keyway) {
        // The width across the keyway's floor, and d + t from the bore's
        // lowest point to the floor, as a shop measures a hub's keyway.
        b.linear({-half, floor}, {half, floor}, 0, {0, floor + 6 * mm}, body.keywayWidth.text);
        b.linear({half, floor}, {0, -s.bore}, 90, {half + 6 * mm, 0},
                 FormatReal(2 * s.bore + keyDepth, c.decimalSeparator));
    }
    b.text({0, -radius - 14 * mm}, kTextHeight, Tr(translate, texts::kMidPlaneSection), HAlign::Centre, VAlign::Top);

    // The axial section, the wheel axis horizontal.
    b.place({{left + 2 * radius + kGap * n + s.halfWidth, axisHeight}, 1});
    b.outline(s.upper, Layer::Outline);
    b.outline(Mirrored(s.upper), Layer::Outline);
    b.hatch({s.hatchUpper, Mirrored(s.hatchUpper)}, 3);
    if (s.rootAtFace) {
        const Point centre{0, s.arcCentre};
        const double y = *s.rootAtFace;
        const double from = AngleOf(Point{-s.halfWidth, y} - centre), to = AngleOf(Point{s.halfWidth, y} - centre);
        const double rootRadius = Distance(centre, {s.halfWidth, y});
        b.arc(centre, rootRadius, from, to, Layer::Outline);
        b.arc({0, -s.arcCentre}, rootRadius, -to, -from, Layer::Outline);
    }
    b.line({-s.halfWidth - reach, 0}, {s.halfWidth + reach, 0}, Layer::Centre);
    b.line({0, -radius - reach}, {0, d.CentreDistance + reach}, Layer::Centre);
    b.centreMark({0, d.CentreDistance}, 3);
    b.text({reach, d.CentreDistance + reach}, kSmallTextHeight, Tr(translate, texts::kWormAxis));

    const double b2 = s.halfWidth;
    const double faceTop = s.faceTop;
    // Roughness: the flanks at the throat, facing the worm; the bore from its
    // upper line towards the axis. Before the dimensions, which keep clear.
    // On the throat arc left of the middle, the radius's side being the right.
    if (s.arc) {
        const double x = -0.5 * (s.outerEdge ? s.cut : b2);
        const Point on{x, s.arcCentre - std::sqrt(s.arcRadius * s.arcRadius - x * x)};
        b.roughness(on, AngleOf(Point{0, s.arcCentre} - on), kWheelFlankRoughness);
    } else {
        b.roughness({0, s.throat}, 90, kWheelFlankRoughness);
    }
    b.roughness({-0.5 * s.hubHalfLength, s.bore}, -90, kWheelBoreRoughness);
    b.linear({-b2, -faceTop}, {b2, -faceTop}, 0, {0, -faceTop - 6 * mm}, c.shown(R::RimWorkingWidth));
    if (s.outerEdge) {
        b.linear({b2, s.outer}, {b2, -s.outer}, 90, {b2 + 12 * mm, 0}, c.shown(R::WheelMaxOuterDiameter),
                 Decoration::Diameter);
    }
    if (s.arc) {
        const double x = 0.5 * (s.outerEdge ? s.cut : b2);
        const double y = s.arcCentre - std::sqrt(s.arcRadius * s.arcRadius - x * x);
        b.radius({0, s.arcCentre}, {x, y}, c.shown(R::WheelTipArcRadius));
    }
    b.linear({-b2, 0}, {0, d.CentreDistance}, 90, {-b2 - 12 * mm, 0}, c.field(F::CentreDistance));
    // The body where the designer gave it: the bore across the axis, the
    // hub's diameter left of it, the rim's inside diameter in the hollow
    // between web and rim, the web across itself, the hub's length below.
    const double l = s.hubHalfLength, w = s.webHalfWidth;
    if (body.boreDiameter.userSet) {
        b.linear({l, -s.bore}, {l, s.bore}, 90, {l + 6 * mm, 0}, body.boreDiameter.text, Decoration::Diameter);
    }
    if (s.web) {
        if (body.hubDiameter.userSet)
            b.linear({-l, -s.hub}, {-l, s.hub}, 90, {-l - 6 * mm, 0}, body.hubDiameter.text, Decoration::Diameter);
        if (body.rimInsideDiameter.userSet) {
            const double x = (w + b2) / 2;
            b.linear({b2, -s.rimInside}, {b2, s.rimInside}, 90, {x, 0}, body.rimInsideDiameter.text,
                     Decoration::Diameter);
        }
        if (body.webThickness.userSet) {
            const double y = (s.hub + s.rimInside) / 2;
            b.linear({-w, y}, {w, y}, 0, {0, y}, body.webThickness.text);
        }
        if (body.hubLength.userSet) {
            const double y = -(s.bore + s.hub) / 2;
            b.linear({-l, -s.hub}, {l, -s.hub}, 0, {0, y}, body.hubLength.text);
        }
    }
    b.text({0, -radius - 14 * mm}, kTextHeight, Tr(translate, texts::kAxialView), HAlign::Centre, VAlign::Top);
    return sheet;
}

}  // namespace wormgear::drawing
