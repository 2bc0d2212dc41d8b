// Geometry, dimensions, texts and hatching of a sheet.
#include "drawing/sheet_builder.h"

#include <algorithm>
#include <numbers>

#include "drawing/sheet_clearance.h"

namespace wormgear::drawing {

namespace {

// Paper millimetres of the dimension drawing: the gap between a line and its
// text, and how far extension lines reach beyond the dimension line.
constexpr double kTextGap = 1;
constexpr double kExtensionOvershoot = 2;
constexpr double kArrowHalfWidth = 0.5;
// A dimension's text keeps this far (paper mm) from every other line and
// text, its box widened by the share that the painter's glyphs (WenQuanYi
// Micro Hei, DejaVu Sans) are wider than the CAD fonts' proportions.
constexpr double kTextClearance = 0.5;
constexpr double kPainterWidening = 1.15;

double Wrapped360(double degrees) {
    double wrapped = std::fmod(degrees, 360.0);
    return wrapped < 0 ? wrapped + 360 : wrapped;
}

// Whether `angle` lies on the arc from start counter-clockwise to end.
bool OnArc(double angle, double start, double end) {
    return Wrapped360(angle - start) <= Wrapped360(end - start) + 1e-12;
}

// Texts read from below or from the right: a direction turned into (-90, 90].
double ReadingAngle(Point along) {
    double angle = AngleOf(along);
    if (angle > 90 + 1e-9) angle -= 180;
    if (angle <= -90 + 1e-9) angle += 180;
    return angle;
}

}  // namespace

std::optional<BulgeArc> ArcOfBulge(Point a, Point b, double bulge) {
    const Point chord = b - a;
    const double length = Length(chord);
    if (bulge == 0 || length == 0) return std::nullopt;
    const Point middle = (a + b) * 0.5;
    BulgeArc arc;
    arc.centre = middle + Normal(chord * (1 / length)) * (length / 2 * (1 - bulge * bulge) / (2 * bulge));
    arc.radius = length / 2 * (1 + bulge * bulge) / (2 * std::abs(bulge));
    const double from = AngleOf(a - arc.centre), to = AngleOf(b - arc.centre);
    arc.start = bulge > 0 ? from : to;
    arc.end = bulge > 0 ? to : from;
    return arc;
}

double BulgeOf(Point centre, Point a, Point b, bool counterClockwise) {
    double sweep = AngleOf(b - centre) - AngleOf(a - centre);
    if (counterClockwise && sweep <= 0) sweep += 360;
    if (!counterClockwise && sweep >= 0) sweep -= 360;
    return std::tan(sweep * std::numbers::pi / 180 / 4);
}

double EstimatedTextWidth(const std::string& utf8, double height) {
    double width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (lead == ' ') width += 0.5 * height;
        else if (length < 3) width += 0.7 * height;  // Latin, Greek, signs
        else width += height;                        // Chinese and other wide characters
        i += length;
    }
    return width;
}

std::string DecoratedText(const std::string& value, Decoration decoration) {
    switch (decoration) {
        case Decoration::None: return value;
        case Decoration::Radius: return "R" + value;
        case Decoration::Diameter: return "\u2300" + value;
        case Decoration::Degrees: return value + "\u00B0";
    }
    return value;
}

std::vector<std::string> WrappedLines(const std::string& text, double height, double width) {
    static constexpr std::string_view kNoLineStart[] = {"，", "。", "、", "；", "：", "）", "」", "？", "！"};
    std::vector<std::string> lines;
    std::string line;
    std::size_t breakAt = 0;  // in `line`: where it may end, 0 for nowhere
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = std::min<std::size_t>(lead < 0x80   ? 1
                                                         : lead < 0xE0 ? 2
                                                         : lead < 0xF0 ? 3
                                                                       : 4,
                                                         text.size() - i);
        const std::string_view character(text.data() + i, length);
        i += length;
        if (character == "\n") {
            lines.push_back(std::move(line));
            line.clear();
            breakAt = 0;
            continue;
        }
        const bool wide = length >= 3;
        const bool closing = std::find(std::begin(kNoLineStart), std::end(kNoLineStart), character) !=
                             std::end(kNoLineStart);
        if (wide && !closing && !line.empty()) breakAt = line.size();
        line += character;
        if (EstimatedTextWidth(line, height) > width && !closing) {
            const std::size_t at = breakAt ? breakAt : line.size() - length;
            if (at > 0) {
                std::string rest = line.substr(at);
                line.erase(at);
                while (!line.empty() && line.back() == ' ') line.pop_back();
                lines.push_back(std::move(line));
                line = rest.substr(std::min(rest.find_first_not_of(' '), rest.size()));
                breakAt = 0;
            }
        }
        if (character == " " || character == "-" || wide) breakAt = line.size();
    }
    if (!line.empty() || lines.empty()) lines.push_back(std::move(line));
    return lines;
}

void SheetBuilder::line(Point a, Point b, Layer layer) { sheet_.graphics.lines.push_back({at(a), at(b), layer}); }

void SheetBuilder::arc(Point centre, double radius, double start, double end, Layer layer) {
    sheet_.graphics.arcs.push_back({at(centre), model(radius), start, end, layer});
}

void SheetBuilder::circle(Point centre, double radius, Layer layer) {
    sheet_.graphics.circles.push_back({at(centre), model(radius), layer});
}

void SheetBuilder::outline(const std::vector<PolyVertex>& vertices, Layer layer) {
    PolylineEntity outline{{}, layer};
    outline.vertices.reserve(vertices.size());
    // A uniform scale keeps every bulge.
    for (const PolyVertex& vertex : vertices) outline.vertices.push_back({at(vertex.at), vertex.bulge});
    sheet_.graphics.outlines.push_back(std::move(outline));
}

void SheetBuilder::text(Point position, double height, const std::string& text, HAlign h, VAlign v, double rotation,
                        Layer layer, double room) {
    if (text.empty()) return;
    TextEntity entity;
    entity.at = at(position);
    entity.height = paper(height);
    entity.rotation = rotation;
    entity.h = h;
    entity.v = v;
    entity.text = text;
    entity.layer = layer;
    if (room > 0) {
        entity.room = paper(room);
        const double estimated = EstimatedTextWidth(text, height);
        if (estimated > room) entity.widthFactor = std::max(0.3, room / estimated);
    }
    sheet_.graphics.texts.push_back(std::move(entity));
}

void SheetBuilder::centreMark(Point centre, double reach) {
    const double r = paper(reach) / placement_.factor;
    line(centre - Point{r, 0}, centre + Point{r, 0}, Layer::Centre);
    line(centre - Point{0, r}, centre + Point{0, r}, Layer::Centre);
}

void SheetBuilder::roughness(Point on, double outward, const std::string& value) {
    // Paper millimetres about the tip, "up" along `outward`: H1 = 1.4 h,
    // H2 = 3 h (GB/T 131, h = 3.5 mm).
    constexpr double h = kTextHeight, H1 = 1.4 * h, H2 = 3 * h;
    const double k = 1 / std::sqrt(3.0);  // the legs' run per height, 60 degrees to the surface
    // Texts read from below or from the right: on a surface facing down the
    // symbol stands mirrored, its long leg still to the reader's right.
    const double turn = outward - 90;
    const bool upsideDown = std::cos(turn * std::numbers::pi / 180) < -1e-9;
    const Point up = Direction(outward), right = Direction(upsideDown ? outward + 90 : outward - 90);
    const Point tip = at(on);
    const auto p = [&](double across, double height) { return tip + (right * across + up * height) * paper(1); };
    const double width = EstimatedTextWidth(value, h) + 2;
    const Point shortTop = p(-H1 * k, H1), barEnd = p(H1 * k, H1), longTop = p(H2 * k, H2);
    Graphics& g = sheet_.graphics;
    g.lines.push_back({tip, shortTop, Layer::Text});
    g.lines.push_back({tip, longTop, Layer::Text});
    g.lines.push_back({shortTop, barEnd, Layer::Text});
    g.lines.push_back({longTop, p(H2 * k + width, H2), Layer::Text});
    TextEntity text;
    // Between the line and the surface, reading upright.
    text.at = p(H2 * k + 1, H2 - 0.8);
    text.height = paper(h);
    text.rotation = upsideDown ? turn + 180 : turn;
    text.h = HAlign::Left;
    text.v = upsideDown ? VAlign::Baseline : VAlign::Top;
    text.text = value;
    text.layer = Layer::Text;
    g.texts.push_back(std::move(text));
}

void SheetBuilder::roughnessOnLeader(Point on, double direction, double reach, const std::string& value) {
    const Point tip = at(on), knee = tip + Direction(direction) * paper(reach);
    const bool leftwards = Direction(direction).x < 0;
    const double shelf = 3 * kTextHeight / std::sqrt(3.0) + EstimatedTextWidth(value, kTextHeight) + 4;
    const Point end = knee + Point{leftwards ? -paper(shelf) : paper(shelf), 0};
    sheet_.graphics.lines.push_back({knee, tip, Layer::Text});
    sheet_.graphics.lines.push_back({knee, end, Layer::Text});
    arrow(sheet_.graphics, tip, tip - knee);
    sheet_.graphics.triangles.back().layer = Layer::Text;
    // The symbol's tip on the shelf, clear of the knee.
    const Placement kept = placement_;
    placement_ = {{0, 0}, 1};
    const Point foot = leftwards ? end + Point{paper(2), 0} : knee + Point{paper(2), 0};
    roughness(foot, 90, value);
    placement_ = kept;
}

Dimension SheetBuilder::newDimension(DimensionKind kind, const std::string& value, Decoration decoration) const {
    Dimension dimension;
    dimension.kind = kind;
    dimension.value = value;
    dimension.decoration = decoration;
    dimension.lengthFactor = 1 / placement_.factor;
    return dimension;
}

void SheetBuilder::arrow(Graphics& graphics, Point tip, Point towards) const {
    const Point u = Unit(towards);
    const Point base = tip - u * paper(kArrowLength);
    const Point side = Normal(u) * paper(kArrowHalfWidth);
    graphics.triangles.push_back({tip, base + side, base - side, Layer::Dimension});
}

TextEntity SheetBuilder::dimensionText(const Dimension& dimension, Point middle, double angle) const {
    TextEntity text;
    text.at = middle;
    text.height = paper(kTextHeight);
    text.rotation = angle;
    text.h = HAlign::Centre;
    text.v = VAlign::Middle;
    text.text = DecoratedText(dimension.value, dimension.decoration);
    text.layer = Layer::Dimension;
    return text;
}

std::size_t SheetBuilder::firstClear(const std::vector<TextEntity>& places) {
    breakLines_ = false;
    const auto box = [&](const TextEntity& text) {
        return Grown(BoxOf(text, kPainterWidening), paper(kTextClearance));
    };
    // Clear of every line if it can, else of all but the centre lines; else
    // over hatching or construction lines, which give way to the text.
    const Strictness order[] = {{true, false}, {false, false}, {true, true}, {false, true}};
    for (const Strictness& strictness : order) {
        const Clearance clearance(sheet_, strictness);
        for (std::size_t i = 0; i < places.size(); ++i) {
            if (clearance.clear(box(places[i]))) {
                breakLines_ = strictness.breakingThinLines;
                return i;
            }
        }
    }
    return 0;
}

void SheetBuilder::addText(Dimension& dimension, TextEntity text) {
    if (breakLines_) {
        const TextBox box = Grown(BoxOf(text, kPainterWidening), paper(kTextClearance));
        std::vector<LineEntity> kept;
        kept.reserve(sheet_.graphics.lines.size());
        for (const LineEntity& line : sheet_.graphics.lines) {
            if (line.layer != Layer::Thin && line.layer != Layer::Hatch) kept.push_back(line);
            else
                for (const LineEntity& piece : Broken(line, box)) kept.push_back(piece);
        }
        sheet_.graphics.lines = std::move(kept);
        breakLines_ = false;
    }
    dimension.textAt = text.at;
    dimension.graphics.texts.push_back(std::move(text));
    sheet_.dimensions.push_back(std::move(dimension));
}

void SheetBuilder::linear(Point p1Local, Point p2Local, double direction, Point throughLocal, const std::string& value,
                          Decoration decoration) {
    const Point p1 = at(p1Local), p2 = at(p2Local), through = at(throughLocal);
    const Point d = Direction(direction), n = Normal(d);
    const Point f1 = p1 + n * Dot(through - p1, n);
    const Point f2 = p2 + n * Dot(through - p2, n);
    const double length = Distance(f1, f2);
    if (!(length > paper(0.01))) return;

    Dimension dim = newDimension(DimensionKind::Linear, value, decoration);
    dim.first = p1;
    dim.second = p2;
    dim.defpoint = f2;
    dim.rotation = direction;
    Graphics& g = dim.graphics;
    for (auto [origin, foot] : {std::pair{p1, f1}, std::pair{p2, f2}}) {
        const Point reach = foot - origin;
        const double distance = Length(reach);
        if (distance > paper(0.01)) {
            g.lines.push_back({origin, foot + reach * (paper(kExtensionOvershoot) / distance), Layer::Dimension});
        }
    }
    const Point along = (f2 - f1) * (1 / length);
    const double textWidth = paper(EstimatedTextWidth(DecoratedText(value, decoration), kTextHeight));
    const double angle = ReadingAngle(along);
    const Point up = Normal(Direction(angle)) * paper(kTextGap + kTextHeight / 2);
    // Arrows and text between the extension lines when there is room for
    // them, else the arrows point in from outside.
    const bool inside = length >= textWidth + paper(2 * kArrowLength + 2);
    const double outside = paper(kArrowLength + 2);
    // Where the text may stand, the first that is clear taken: above the
    // line between the arrows (the middle first, then towards either end),
    // beyond the second extension line, beyond the first; then the same
    // below the line. `reach` is how far the line runs on beyond f2 (> 0)
    // or before f1 (< 0) to carry it.
    struct Place {
        Point middle;
        double reach;
    };
    std::vector<Place> places;
    if (inside) {
        const double room = length - textWidth - paper(2 * kArrowLength + 2);
        for (double share : {0.5, 0.25, 0.75, 0.0, 1.0})
            places.push_back({f1 + along * (paper(kArrowLength + 1) + textWidth / 2 + room * share), 0});
    }
    const double beyond = outside + paper(0.5) + textWidth / 2;
    places.push_back({f2 + along * beyond, outside + textWidth + paper(1)});
    places.push_back({f1 - along * beyond, -(outside + textWidth + paper(1))});
    std::vector<TextEntity> texts;
    for (double side : {1.0, -1.0})
        for (const Place& place : places) texts.push_back(dimensionText(dim, place.middle + up * side, angle));
    const std::size_t chosen = firstClear(texts);
    const Place& place = places[chosen % places.size()];

    double before = inside ? 0 : outside, after = inside ? 0 : outside;
    if (place.reach > 0) after = std::max(after, place.reach);
    if (place.reach < 0) before = std::max(before, -place.reach);
    g.lines.push_back({f1 - along * before, f2 + along * after, Layer::Dimension});
    arrow(g, f1, inside ? along * -1 : along);
    arrow(g, f2, inside ? along : along * -1);
    addText(dim, texts[chosen]);
}

void SheetBuilder::radius(Point centreLocal, Point onCurveLocal, const std::string& value) {
    const Point centre = at(centreLocal), point = at(onCurveLocal);
    const double r = Distance(centre, point);
    if (!(r > paper(0.01))) return;
    const Point u = (point - centre) * (1 / r);

    Dimension dim = newDimension(DimensionKind::Radius, value, Decoration::Radius);
    dim.defpoint = centre;
    dim.curve = point;
    Graphics& g = dim.graphics;
    const double textWidth = paper(EstimatedTextWidth(DecoratedText(value, Decoration::Radius), kTextHeight));
    const double angle = ReadingAngle(u);
    const Point up = Normal(Direction(angle)) * paper(kTextGap + kTextHeight / 2);
    arrow(g, point, u);
    // Along the radius from the arc towards the centre when the text fits
    // there, beyond the arc, or beyond the centre (the line through it),
    // each further out in steps; beside the line on either side. `from` and `to` are the line's ends
    // along u, measured from the centre.
    struct Place {
        double middle, from, to;
    };
    std::vector<Place> places;
    const double inner = paper(kArrowLength + 1) + textWidth / 2;
    if (r >= textWidth + paper(kArrowLength + 3)) {
        for (double share : {0.0, 0.35, 0.6}) {
            const double middle = r - inner - share * (r - inner - textWidth / 2 - paper(1));
            places.push_back({middle, 0, r});
        }
    }
    for (double further : {0.0, 3.0, 6.0, 10.0}) {
        places.push_back({r + paper(1.5 + further) + textWidth / 2, 0, r + paper(2 + further) + textWidth});
        places.push_back({-(paper(1.5 + further) + textWidth / 2), -(paper(2 + further) + textWidth), r});
    }
    std::vector<TextEntity> texts;
    for (double side : {1.0, -1.0})
        for (const Place& place : places)
            texts.push_back(dimensionText(dim, centre + u * place.middle + up * side, angle));
    const std::size_t chosen = firstClear(texts);
    const Place& place = places[chosen % places.size()];
    g.lines.push_back({centre + u * place.from, centre + u * place.to, Layer::Dimension});
    addText(dim, texts[chosen]);
}

void SheetBuilder::diameter(Point onCurveLocal, Point oppositeLocal, const std::string& value) {
    const Point a = at(onCurveLocal), b = at(oppositeLocal);
    const double length = Distance(a, b);
    if (!(length > paper(0.01))) return;
    const Point u = (b - a) * (1 / length);

    Dimension dim = newDimension(DimensionKind::Diameter, value, Decoration::Diameter);
    dim.curve = a;
    dim.defpoint = b;
    Graphics& g = dim.graphics;
    arrow(g, a, u * -1);
    arrow(g, b, u);
    const double textWidth = paper(EstimatedTextWidth(DecoratedText(value, Decoration::Diameter), kTextHeight));
    const double angle = ReadingAngle(u);
    const Point up = Normal(Direction(angle)) * paper(kTextGap + kTextHeight / 2);
    // A quarter of the way in keeps the text off the centre lines; else
    // further along the line, else beyond the circle at either end (the
    // line carried out to it), further out in steps, on either side of the
    // line. Positions along
    // u from a, and the line's ends.
    struct Place {
        double middle, from, to;
    };
    std::vector<Place> places;
    const double least = paper(kArrowLength + 1) + textWidth / 2;
    const double most = std::max(least, length - least);
    for (double share : {0.25, 0.75, 0.15, 0.85, 0.4, 0.6})
        places.push_back({std::clamp(length * share, least, most), 0, length});
    for (double further : {0.0, 3.0, 6.0, 10.0}) {
        const double out = paper(1.5 + further) + textWidth / 2, reach = paper(2 + further) + textWidth;
        places.push_back({length + out, 0, length + reach});
        places.push_back({-out, -reach, length});
    }
    std::vector<TextEntity> texts;
    for (double side : {1.0, -1.0})
        for (const Place& place : places) texts.push_back(dimensionText(dim, a + u * place.middle + up * side, angle));
    const std::size_t chosen = firstClear(texts);
    const Place& place = places[chosen % places.size()];
    g.lines.push_back({a + u * place.from, a + u * place.to, Layer::Dimension});
    addText(dim, texts[chosen]);
}

void SheetBuilder::angular(Point vertexLocal, Point firstLocal, Point secondLocal, double arcRadius,
                           const std::string& value) {
    const Point vertex = at(vertexLocal), first = at(firstLocal), second = at(secondLocal);
    const double given = model(arcRadius);
    if (!(given > paper(0.01)) || Distance(vertex, first) == 0 || Distance(vertex, second) == 0) return;
    const double start = AngleOf(first - vertex);
    const double sweep = Wrapped360(AngleOf(second - vertex) - start);
    const double end = start + sweep;

    Dimension dim = newDimension(DimensionKind::Angular, value, Decoration::Degrees);
    dim.first = first;
    dim.second = second;
    dim.curve = vertex;
    // Angles are written horizontally, outside the arc at its middle, else
    // elsewhere along it, else inside it; the arc at the radius given, else
    // nearer the vertex or further out.
    const std::string shown = DecoratedText(value, Decoration::Degrees);
    const double width = paper(EstimatedTextWidth(shown, kTextHeight)), height = paper(kTextHeight);
    std::vector<TextEntity> texts;
    std::vector<double> radii;
    for (double factor : {1.0, 0.7, 0.45, 1.3}) {
        const double r = given * factor;
        for (double side : {1.0, -1.0}) {
            for (double share : {0.5, 0.3, 0.7, 0.15, 0.85}) {
                const Point towards = Direction(start + sweep * share);
                const double extent = paper(1.5) + 0.5 * (std::abs(towards.x) * width + std::abs(towards.y) * height);
                if (side < 0 && !(r > 2 * extent)) continue;
                texts.push_back(dimensionText(dim, vertex + towards * (r + side * extent), 0));
                radii.push_back(r);
            }
        }
    }
    const std::size_t chosen = firstClear(texts);
    const double r = radii[chosen];
    dim.defpoint = vertex + Direction(start + sweep / 2) * r;
    Graphics& g = dim.graphics;
    g.arcs.push_back({vertex, r, start, end, Layer::Dimension});
    arrow(g, vertex + Direction(start) * r, Direction(start - 90));
    arrow(g, vertex + Direction(end) * r, Direction(end + 90));
    for (auto [leg, legAngle] : {std::pair{first, start}, std::pair{second, end}}) {
        const double reach = Distance(vertex, leg);
        if (reach < r) {
            g.lines.push_back({leg, vertex + Direction(legAngle) * (r + paper(kExtensionOvershoot)), Layer::Dimension});
        }
    }
    addText(dim, texts[chosen]);
}

void SheetBuilder::hatch(const std::vector<std::vector<PolyVertex>>& loops, double spacing) {
    struct Edge {
        Point a, b;
        std::optional<BulgeArc> arc;
    };
    std::vector<Edge> edges;
    const Point d = Direction(45), n = Normal(d);
    double low = INFINITY, high = -INFINITY;
    for (const auto& loop : loops) {
        for (std::size_t i = 0; i < loop.size(); ++i) {
            const PolyVertex& from = loop[i];
            const Point to = loop[(i + 1) % loop.size()].at;
            Edge edge{at(from.at), at(to), ArcOfBulge(at(from.at), at(to), from.bulge)};
            const double reach = edge.arc ? edge.arc->radius : 0;
            const Point probe = edge.arc ? edge.arc->centre : edge.a;
            low = std::min({low, Dot(edge.a, n), Dot(probe, n) - reach});
            high = std::max({high, Dot(edge.a, n), Dot(probe, n) + reach});
            edges.push_back(edge);
        }
    }
    const double step = paper(spacing);
    if (edges.empty() || !(step > 0) || !std::isfinite(low) || !std::isfinite(high)) return;
    // The odd offset keeps hatch lines off the vertices of the outlines. The
    // lines are counted, not added up: a step lost in a huge coordinate
    // would never end the loop.
    constexpr int kMostLines = 2000;
    std::vector<double> crossings;
    for (int line = 0; line < kMostLines; ++line) {
        const double c = low + step * (line + 0.5371);
        if (!(c < high)) break;
        crossings.clear();
        for (const Edge& edge : edges) {
            if (!edge.arc) {
                const double da = Dot(edge.a, n) - c, db = Dot(edge.b, n) - c;
                if ((da < 0) != (db < 0)) crossings.push_back(Dot(edge.a + (edge.b - edge.a) * (da / (da - db)), d));
                continue;
            }
            const double dc = Dot(edge.arc->centre, n) - c;
            if (std::abs(dc) >= edge.arc->radius) continue;
            const double half = std::sqrt(edge.arc->radius * edge.arc->radius - dc * dc);
            const Point foot = edge.arc->centre - n * dc;
            for (double sign : {-1.0, 1.0}) {
                const Point crossing = foot + d * (sign * half);
                if (OnArc(AngleOf(crossing - edge.arc->centre), edge.arc->start, edge.arc->end))
                    crossings.push_back(Dot(crossing, d));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            sheet_.graphics.lines.push_back({n * c + d * crossings[i], n * c + d * crossings[i + 1], Layer::Hatch});
        }
    }
}

}  // namespace wormgear::drawing
