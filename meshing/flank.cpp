// The generating plane, its contact lines with the worm, and the placing of
// the worm's flanks for the throat thickness.
#include "meshing/flank.h"

#include <numbers>

namespace wormgear::meshing {

namespace {

// A root of f in [a, b], where f(a) and f(b) differ in sign: the Illinois
// variant of the false position, to `tolerance` in the argument.
template <class F>
double Root(const F& f, double a, double b, double fa, double fb, double tolerance) {
    int side = 0;
    double c = a;
    for (int k = 0; k < 200 && std::abs(b - a) > tolerance; ++k) {
        c = (a * fb - b * fa) / (fb - fa);
        const double fc = f(c);
        if (fc == 0) return c;
        if ((fc > 0) == (fb > 0)) {
            b = c;
            fb = fc;
            if (side == -1) fa /= 2;
            side = -1;
        } else {
            a = c;
            fa = fc;
            if (side == 1) fb /= 2;
            side = 1;
        }
    }
    return c;
}

}  // namespace

GeneratedFlank::GeneratedFlank(const GenerationSetUp& setUp, Vec3 wheelNormal, double offset)
    : setUp_(setUp), wheelNormal_(Unit(wheelNormal)), offset_(offset) {}

GeneratedFlank GeneratedFlank::Placed(const GenerationSetUp& setUp, double tangencyAngle, FlankSide side) {
    const double beta = setUp.planeAngle;
    Vec3 normal{std::cos(beta) * std::cos(tangencyAngle), std::cos(beta) * std::sin(tangencyAngle), std::sin(beta)};
    if (side == FlankSide::Lower) normal = HalfTurnAboutX(normal);
    return GeneratedFlank(setUp, normal, setUp.baseRadius * std::cos(beta));
}

Vec3 GeneratedFlank::relativeVelocity(Vec3 X) const {
    const Vec3 wormSpin{0, -setUp_.ratio, 0};
    return Cross(kAxisZ, X) - Cross(wormSpin, X - wormAxisPoint());
}

Line GeneratedFlank::contactLine(double t) const {
    // Phi(X) = n . (e_z x X) - n . (w1 x (X - C)) = m . X - q with
    // m = n x (e_z - w1), q = -C . (n x w1): the plane of contact points.
    const Vec3 n = normal(t);
    const Vec3 wormSpin{0, -setUp_.ratio, 0};
    const Vec3 m = Cross(n, kAxisZ - wormSpin);
    const double q = -Dot(wormAxisPoint(), Cross(n, wormSpin));
    const Vec3 d = Unit(Cross(n, m));
    // n, m and d are orthogonal: the point of both planes nearest C.
    const Vec3 point = n * offset_ + m * (q / Dot(m, m)) + d * Dot(d, wormAxisPoint());
    return {point, d};
}

Vec3 GeneratedFlank::wormPoint(double t, double u) const { return toWorm(contactLine(t).at(u), t); }

std::optional<Vec3> AxialSectionPoint(const GeneratedFlank& flank, double t, double wormTurn) {
    const Line line = flank.contactLine(t);
    const Vec3 p = RotateY(flank.toWorm(line.point, t), wormTurn);
    const Vec3 d = RotateY(RotateY(line.direction, flank.setUp().ratio * t), wormTurn);
    if (std::abs(d.z) < 1e-12) return std::nullopt;
    Vec3 s = p + d * (-p.z / d.z);
    s.z = 0;
    return s;
}

std::optional<PitchCrossing> CrossPitchArc(const GeneratedFlank& flank, const PairGeometry& pair, double guess,
                                           double wormTurn) {
    const double A = pair.centreDistance, r2 = pair.pitchRadius;
    const auto offArc = [&](double t) {
        const auto s = AxialSectionPoint(flank, t, wormTurn);
        return s ? std::hypot(s->x + A, s->y) - r2 : std::nan("");
    };
    // Outwards from the guess, on both hands in turn, until the arc lies
    // between two rulings: the crossing nearest the guess.
    const double step = 0.002;
    const double f0 = offArc(guess);
    if (!std::isfinite(f0)) return std::nullopt;
    double previous[2] = {guess, guess}, fp[2] = {f0, f0};
    bool open[2] = {true, true};
    for (int k = 1; k <= 400 && (open[0] || open[1]); ++k) {
        for (int hand = 0; hand < 2; ++hand) {
            if (!open[hand]) continue;
            const double next = guess + (hand == 0 ? k : -k) * step, fn = offArc(next);
            if (!std::isfinite(fn)) {
                open[hand] = false;
                continue;
            }
            if (fn == 0 || (fn > 0) != (fp[hand] > 0)) {
                const double t = fn == 0 ? next : Root(offArc, previous[hand], next, fp[hand], fn, 1e-15);
                // Only a crossing on the wheel's side of the worm, facing the
                // wheel: a ruling meets the section on the far side too.
                const auto s = AxialSectionPoint(flank, t, wormTurn);
                if (s && std::abs(std::atan2(s->y, s->x + A)) < std::numbers::pi / 3)
                    return PitchCrossing{t, std::atan2(s->y, s->x + A)};
            }
            previous[hand] = next;
            fp[hand] = fn;
        }
    }
    return std::nullopt;
}

std::optional<double> TangencyAngleFor(const PairGeometry& pair) {
    const double half = pair.axialThickness / (2 * pair.pitchRadius);
    if (!(pair.pitchRadius > 0) || !std::isfinite(half)) return std::nullopt;
    // The plane through the crossing at t = 0: its trace meets the pitch arc
    // at +half and touches the base circle a right angle less the pressure
    // angle further round.
    double guessTime = 0;
    const auto missed = [&](double theta) -> std::optional<double> {
        const auto crossing = CrossPitchArc(GeneratedFlank::Placed(pair.generation, theta, FlankSide::Upper), pair,
                                            guessTime);
        if (!crossing) return std::nullopt;
        guessTime = crossing->time;
        return crossing->angle - half;
    };
    double a = half - (std::numbers::pi / 2 - pair.pressureAngle), b = a + 1e-3;
    auto fa = missed(a), fb = missed(b);
    for (int k = 0; k < 50 && fa && fb; ++k) {
        if (std::abs(*fb) < 1e-14) return b;
        if (*fb == *fa) break;
        const double c = b - *fb * (b - a) / (*fb - *fa);
        a = b;
        fa = fb;
        b = c;
        fb = missed(b);
    }
    if (fb && std::abs(*fb) < 1e-11) return b;
    return std::nullopt;
}

double RulingReach(const ToothZone& z) {
    // Tooth points lie within the worm's largest tip radius of its axis and
    // half the working length along it.
    const double tipEnd = z.tipArcRadius * z.tipArcRadius - z.workingLength * z.workingLength / 4;
    const double largest = tipEnd > 0 ? z.centreDistance + z.tipEccentricity - std::sqrt(tipEnd) : z.centreDistance;
    return 1.5 * std::hypot(largest, z.workingLength / 2) + 1;
}

std::vector<std::pair<double, double>> ToothPieces(const Line& line, const ToothZone& zone, double reach, int steps) {
    return InsideIntervals(
        [&](double u) {
            const Vec3 p = line.at(u);
            return p.x < zone.centreDistance && zone.onWorm(p);
        },
        -reach, reach, steps);
}

std::optional<std::pair<double, double>> RulingRange(const GeneratedFlank& flank, const ToothZone& zone) {
    const double reach = RulingReach(zone);
    const auto holdsTooth = [&](double t) { return !ToothPieces(flank.contactLine(t), zone, reach).empty(); };
    // A hundredth of a radian between rulings: far less than the wheel
    // turns while a tooth passes the worm.
    const double step = 0.01;
    std::optional<double> first, last;
    for (double t = -std::numbers::pi / 2; t <= std::numbers::pi / 2; t += step) {
        if (!holdsTooth(t)) continue;
        if (!first) first = t;
        last = t;
    }
    if (!first) return std::nullopt;
    const auto edge = [&](double in, double out) {
        for (int k = 0; k < 50; ++k) {
            const double middle = (in + out) / 2;
            (holdsTooth(middle) ? in : out) = middle;
        }
        return in;
    };
    return std::pair{edge(*first, *first - step), edge(*last, *last + step)};
}

std::optional<WormFlanks> FlanksOf(const PairGeometry& pair) {
    const auto theta = TangencyAngleFor(pair);
    if (!theta) return std::nullopt;
    return WormFlanks{GeneratedFlank::Placed(pair.generation, *theta, FlankSide::Upper),
                      GeneratedFlank::Placed(pair.generation, *theta, FlankSide::Lower), *theta};
}

}  // namespace wormgear::meshing
