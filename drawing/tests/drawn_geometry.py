"""What a DXF drawing draws, as ezdxf reads it, measured against the design.

The entities of the model space become segments, arcs (ARC entities and the
bulges of LWPOLYLINE outlines, converted by ezdxf) and circles on their
layers. The expected geometry comes from the design's values as wormcalc
prints them (--json, by symbol) and from its field texts, never from the
drawing code: the wheel's throat arc of radius Ra2 through the throat
(da2 / 2 from the wheel axis, its centre da2 / 2 + Ra2 away on the mid-plane
line), the wheel's circles, the worm's and hob's tip arcs about the point E
beyond the wheel axis and their root arcs about the wheel axis, their lengths,
and every dimension's definition points on the geometry it names.

    geometry = Geometry(doc.modelspace())
    failures = check_wheel(geometry, values, fields, coefficients)
"""
import math

from ezdxf.math import bulge_to_arc

# Model millimetres: the writer prints every number in its shortest
# round-trip form, so the drawn geometry is exact but for the arithmetic of
# placing it on the sheet.
TOLERANCE = 1e-6

# The drawings' layers after GB/T 14665, their number first, and their
# colours (AutoCAD's index): thick lines white, thin green, dashed yellow,
# chain lines red; the mark of a design with errors red.
OUTLINE, THIN, HIDDEN, CENTER = "01_OUTLINE", "02_THIN", "04_HIDDEN", "05_CENTER"
TABLE, TEXT, HATCH = "02_TABLE", "11_TEXT", "10_HATCH"
LAYERS = {OUTLINE: 7, "01_FRAME": 7, THIN: 3, TABLE: 3, HIDDEN: 2, CENTER: 1, "08_DIM": 3, HATCH: 3, TEXT: 3,
          "WARNING": 1}


def close(a, b, tolerance=TOLERANCE):
    return abs(a - b) <= tolerance * max(1.0, abs(a), abs(b))


def near(p, q, tolerance=TOLERANCE):
    return math.dist(p, q) <= tolerance * max(1.0, abs(p[0]), abs(p[1]))


class Arc:
    """From `start` counter-clockwise to `end`, degrees."""

    def __init__(self, layer, centre, radius, start, end):
        self.layer, self.centre, self.radius = layer, (centre[0], centre[1]), radius
        self.start, self.end = start % 360, end % 360

    def sweep(self):
        return (self.end - self.start) % 360 or 360

    def covers(self, degrees, slack=1e-7):
        return (degrees - self.start) % 360 <= self.sweep() + slack or (self.start - degrees) % 360 <= slack

    def point(self, degrees):
        return (self.centre[0] + self.radius * math.cos(math.radians(degrees)),
                self.centre[1] + self.radius * math.sin(math.radians(degrees)))

    def ends(self):
        return self.point(self.start), self.point(self.end)

    def middle(self):
        return self.point(self.start + self.sweep() / 2)

    def contains(self, p):
        dx, dy = p[0] - self.centre[0], p[1] - self.centre[1]
        return close(math.hypot(dx, dy), self.radius) and self.covers(math.degrees(math.atan2(dy, dx)))

    def __repr__(self):
        return f"arc r={self.radius:.6g} at ({self.centre[0]:.6g}, {self.centre[1]:.6g})"


class Circle:
    def __init__(self, layer, centre, radius):
        self.layer, self.centre, self.radius = layer, (centre[0], centre[1]), radius

    def contains(self, p):
        return close(math.dist(p, self.centre), self.radius)


class Segment:
    def __init__(self, layer, a, b):
        self.layer, self.a, self.b = layer, (a[0], a[1]), (b[0], b[1])

    def contains(self, p):
        (ax, ay), (bx, by) = self.a, self.b
        length = math.hypot(bx - ax, by - ay)
        if length == 0:
            return near(p, self.a)
        t = ((p[0] - ax) * (bx - ax) + (p[1] - ay) * (by - ay)) / (length * length)
        t = min(1.0, max(0.0, t))
        return near(p, (ax + t * (bx - ax), ay + t * (by - ay)))


class Outline:
    """A closed LWPOLYLINE: its vertices, straight segments and arcs."""

    def __init__(self, entity):
        self.layer = entity.dxf.layer
        points = [tuple(p) for p in entity.get_points("xyb")]
        self.vertices = [(x, y) for x, y, _ in points]
        self.segments, self.arcs = [], []
        for i, (x, y, bulge) in enumerate(points):
            following = points[(i + 1) % len(points)]
            if bulge:
                centre, start, end, radius = bulge_to_arc((x, y), following[:2], bulge)
                self.arcs.append(Arc(self.layer, centre, radius, math.degrees(start), math.degrees(end)))
            else:
                self.segments.append(Segment(self.layer, (x, y), following[:2]))


class Geometry:
    def __init__(self, msp):
        self.segments = [Segment(e.dxf.layer, e.dxf.start, e.dxf.end) for e in msp.query("LINE")]
        self.arcs = [Arc(e.dxf.layer, e.dxf.center, e.dxf.radius, e.dxf.start_angle, e.dxf.end_angle)
                     for e in msp.query("ARC")]
        self.circles = [Circle(e.dxf.layer, e.dxf.center, e.dxf.radius) for e in msp.query("CIRCLE")]
        self.outlines = [Outline(e) for e in msp.query("LWPOLYLINE")]
        for outline in self.outlines:
            self.segments += outline.segments
            self.arcs += outline.arcs

    def circles_of(self, layer, radius):
        return [c for c in self.circles if c.layer == layer and close(c.radius, radius)]

    def drawn_at(self, p):
        """Whether a point lies on the part's lines: an outline, centre or
        hidden line, a thin arc or circle, or the end of a thin line (the
        measuring chord of a detail; hatching ends on outlines anyway)."""
        shapes = [s for s in self.segments + self.arcs + self.circles if s.layer in (OUTLINE, CENTER, HIDDEN)]
        shapes += [s for s in self.arcs + self.circles if s.layer == THIN]
        if any(s.contains(p) for s in shapes):
            return True
        return any(near(p, s.a) or near(p, s.b) for s in self.segments if s.layer == THIN)


def xy(vector):
    return (vector[0], vector[1])


def rounded(value, places=3):
    """Half to even at `places` decimals of the decimal text, as the chains round."""
    from decimal import ROUND_HALF_EVEN, Decimal
    return float(Decimal(str(value)).quantize(Decimal(1).scaleb(-places), rounding=ROUND_HALF_EVEN))


class Findings:
    def __init__(self, name):
        self.name, self.failures = name, []

    def check(self, condition, message):
        if not condition:
            self.failures.append(f"{self.name}: {message}")
        return condition


def check_wheel(g, v, fields, coefficients, found):
    """The wheel: the mid-plane section's circles about one centre on the
    wheel axis; beside it the axial section, its throat arcs of radius Ra2
    through the throat, their centres on the mid-plane line da2 / 2 + Ra2
    from the wheel axis, the rim b2 wide, the root arcs concentric."""
    da2, d2, de2, Ra2, b2 = v["da2"], v["d2"], v["de2"], v["Ra2"], v["b2"]
    hf = rounded(coefficients[1] * v["mt"])  # the dedendum, c[1] times the module
    root = d2 / 2 - hf
    throats = g.circles_of(OUTLINE, da2 / 2)
    if not found.check(len(throats) == 1, f"{len(throats)} throat circles of diameter {da2}"):
        return {}
    centre = throats[0].centre
    wanted = [(CENTER, d2 / 2, "pitch"), (THIN, root, "root")]
    if de2 > da2:
        wanted.append((OUTLINE, de2 / 2, "outer"))
    for layer, radius, what in wanted:
        found.check(any(near(c.centre, centre) for c in g.circles_of(layer, radius)),
                    f"no {what} circle of radius {radius} about the throat circle's centre")

    tips = sorted((a for a in g.arcs if a.layer == OUTLINE and close(a.radius, Ra2)), key=lambda a: a.centre[1])
    if not found.check(len(tips) == 2, f"{len(tips)} throat arcs of radius {Ra2}, expected 2: "
                                       f"{[a for a in g.arcs if a.layer == OUTLINE]}"):
        return {}
    lower, upper = tips
    middle = upper.centre[0]
    axis = centre[1]
    for arc, side in ((upper, 1), (lower, -1)):
        found.check(near(arc.centre, (middle, axis + side * (da2 / 2 + Ra2))),
                    f"the throat arc's centre {arc.centre}, expected da2/2 + Ra2 = {da2 / 2 + Ra2} from the axis")
        found.check(arc.contains((middle, axis + side * da2 / 2)), "the throat arc misses the throat")
        for end in arc.ends():
            found.check(close(abs(end[1] - axis), de2 / 2) or close(abs(end[0] - middle), b2 / 2),
                        f"the throat arc ends at {end}, neither on the outer diameter nor on a face")
    for outline in g.outlines:
        if any(a in outline.arcs for a in tips):
            xs = [x for x, _ in outline.vertices]
            found.check(close(min(xs), middle - b2 / 2) and close(max(xs), middle + b2 / 2),
                        f"the rim spans {min(xs) - middle} to {max(xs) - middle}, expected +-{b2 / 2}")
    for arc in g.arcs:
        if arc.layer == OUTLINE and arc not in tips and not close(arc.radius, Ra2):
            side = 1 if arc.centre[1] > axis else -1
            found.check(any(near(arc.centre, t.centre) for t in tips) and close(arc.radius, Ra2 + da2 / 2 - root)
                        and arc.contains((middle, axis + side * root)) and arc.sweep() < 180,
                        f"a root arc {arc} is not the throat arc's, through the root")
    worm_axis = (middle, axis + float(fields["centre-distance"]))
    found.check(any(s.layer == CENTER and s.contains(worm_axis) for s in g.segments),
                "no centre line marks the worm axis")
    return {"R": {Ra2: upper.centre}, "diameter": {da2: centre, d2: centre}}


def check_hourglass(g, v, fields, found, tip, root, length, shoulder):
    """The worm or the hob in the axial section: the wheel axis (the base
    circle's centre) A above the worm axis; the upper tip arcs of radius
    `tip` about the point E beyond the wheel axis, the root arcs of radius
    `root` about the wheel axis, one lower tip arc about the point as far
    below, ending at +-length / 2; pitch arcs d2 / 2 and the lower root line."""
    A, E, d2, Db = float(fields["centre-distance"]), v["E"], v["d2"], v["Db"]
    bases = g.circles_of(CENTER, Db / 2)
    if not found.check(len(bases) == 1, f"{len(bases)} base circles of diameter {Db}"):
        return {}
    wheel = bases[0].centre
    axis = (wheel[0], wheel[1] - A)
    tip_centre, lower_centre = (wheel[0], wheel[1] + E), (axis[0], axis[1] - A - E)
    body = max((o for o in g.outlines if o.layer == OUTLINE), key=lambda o: len(o.vertices))
    kinds = {"tip": 0, "root": 0, "lower": 0}
    for arc in body.arcs:
        for kind, centre, radius in (("tip", tip_centre, tip), ("root", wheel, root), ("lower", lower_centre, tip)):
            if near(arc.centre, centre) and close(arc.radius, radius):
                kinds[kind] += 1
                # Every arc of the body bulges towards the worm axis.
                found.check(math.dist(arc.middle(), axis) < math.dist(arc.centre, axis) - arc.radius * 0.5,
                            f"the {kind} arc {arc} turns away from the worm axis")
                if kind == "lower":
                    ends = sorted(arc.ends())
                    height = A + E - math.sqrt(tip * tip - length * length / 4)
                    found.check(near(ends[0], (axis[0] - length / 2, axis[1] - height))
                                and near(ends[1], (axis[0] + length / 2, axis[1] - height)),
                                f"the lower tip arc ends at {ends}, expected x = +-{length / 2}")
                break
        else:
            found.check(False, f"the body's {arc} is neither a tip nor a root arc")
    found.check(kinds["tip"] >= 1 and kinds["lower"] == 1, f"body arcs {kinds}")
    if shoulder:
        xs = {round(x - axis[0], 6) for x, _ in body.vertices}
        found.check(round(length / 2 + shoulder, 6) in xs and round(-length / 2 - shoulder, 6) in xs,
                    f"no shoulder {shoulder} beyond the working length")
    for centre, degrees, what in ((wheel, -90, "upper pitch"), ((axis[0], axis[1] - A), 90, "lower pitch")):
        found.check(any(a.layer == CENTER and near(a.centre, centre) and close(a.radius, d2 / 2) and a.covers(degrees)
                        and a.sweep() < 180 for a in g.arcs), f"no {what} arc of radius {d2 / 2} across the throat")
    found.check(any(a.layer == THIN and near(a.centre, (axis[0], axis[1] - A)) and close(a.radius, root)
                    and a.covers(90) and a.sweep() < 180 for a in g.arcs), "no lower root line")
    return {"R": {tip: tip_centre, root: wheel}, "diameter": {Db: wheel}}


def check_dimension(g, dim, number, named, found):
    """A dimension's definition points on the geometry it names: a radius
    from the centre of an arc of that radius to a point of it, a diameter
    across a circle through its middle, lengths and angles between points of
    the drawing's lines."""
    dxf = dim.dxf
    kind = dim.dimtype
    defpoint, defpoint2, defpoint3, defpoint4 = (xy(dxf.get(a, (0, 0))) for a in
                                                 ("defpoint", "defpoint2", "defpoint3", "defpoint4"))
    points = []
    if kind in (0, 1):
        points = [defpoint2, defpoint3]
    elif kind == 5:
        points = [defpoint2, defpoint3, defpoint4]
    elif kind == 4:
        centre, on = defpoint, defpoint4
        radius = math.dist(centre, on)
        found.check(any(s.contains(on) and near(s.centre, centre) and close(s.radius, radius)
                        for s in g.arcs + g.circles), f"the radius {dxf.text} points at no arc about its centre")
        expected = named.get("R", {}).get(number)
        found.check(expected is None or near(centre, expected),
                    f"the radius {dxf.text} is centred at {centre}, its arc at {expected}")
    elif kind == 3:
        a, b = defpoint4, defpoint
        middle = ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2)
        found.check(any(c.contains(a) and c.contains(b) and near(c.centre, middle) for c in g.circles),
                    f"the diameter {dxf.text} lies across no circle")
        expected = named.get("diameter", {}).get(number)
        found.check(expected is None or near(middle, expected), f"the diameter {dxf.text} is not the one named")
    for p in points:
        found.check(g.drawn_at(p), f"the dimension {dxf.text} starts at {tuple(p)}, on no line of the drawing")
