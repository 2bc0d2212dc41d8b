// The running pair's contact lines, both branches, the quantities at their
// points and the limit lines.
#include "meshing/mesh.h"

#include <algorithm>
#include <numbers>

namespace wormgear::meshing {

namespace {

constexpr double kDegrees = 180 / std::numbers::pi;
constexpr double kMetresPerMillimetre = 1e-3;

// The angle between a line and a velocity, 0 to 90 degrees.
double AngleToLine(Vec3 tangent, Vec3 velocity) {
    const double speed = Norm(velocity);
    if (speed == 0) return 90;
    return std::acos(std::min(1.0, std::abs(Dot(tangent, velocity)) / speed)) * kDegrees;
}

// Bisection of a sign change of f between a and b, to 1e-12 of a wheel
// angle: a worm point moves by i r 1e-12, far below a nanometre.
template <class F>
double Bisect(const F& f, double a, double b) {
    double fa = f(a);
    for (int k = 0; k < 80 && std::abs(b - a) > 1e-12; ++k) {
        const double c = (a + b) / 2, fc = f(c);
        if ((fc > 0) == (fa > 0)) {
            a = c;
            fa = fc;
        } else {
            b = c;
        }
    }
    return (a + b) / 2;
}

}  // namespace

// Everything of the second branch at one worm point and wheel angle.
struct Mesh::SecondParts {
    Vec3 position, normal;
    Vec3 relative;  // v_worm - v_wheel, per unit wheel speed
    Vec3 gradient;  // n x w12 - S1 v12 on the worm
    double phi, phiRate;
};

Mesh::Mesh(const PairGeometry& pair, const GeneratedFlank& flank, double wormRevolutionsPerMinute)
    : pair_(pair), flank_(flank), wheelSpeed_(SpeedsOf(pair, wormRevolutionsPerMinute).wheel) {
    reach_ = RulingReach(pair_.zone);
    rulings_ = RulingRange(flank_, pair_.zone).value_or(std::pair{0.0, 0.0});
    // The rulings the second branch is scanned on, kept.
    constexpr int kScan = 512;
    scan_.reserve(kScan + 1);
    for (int k = 0; k <= kScan; ++k)
        scan_.push_back(rulingAt(rulings_.first + (rulings_.second - rulings_.first) * k / kScan));
}

ContactPoint Mesh::firstPoint(double t, Vec3 X) const {
    const Vec3 n = flank_.normal(t);
    const Vec3 spin12{0, pair_.ratio, 1};  // the wheel's spin less the worm's
    const Vec3 v12 = flank_.relativeVelocity(X);
    const Vec3 gradient = Cross(n, spin12);
    const double g = Norm(gradient);
    const Vec3 across = gradient * (1 / g);
    const double phiRate = Dot(Cross(kAxisZ, n), v12) + Dot(n, Cross(spin12, Cross(kAxisZ, X)));
    const double psi = Dot(v12, gradient) - phiRate;
    const double overPlane = -phiRate / g;  // the contact point's speed across the line over the plane
    ContactPoint p;
    p.position = X;
    p.tangent = flank_.contactLine(t).direction;
    p.slidingSpeed = Norm(v12) * wheelSpeed_ * kMetresPerMillimetre;
    p.lubricationAngle = AngleToLine(p.tangent, v12);
    p.entrainmentSpeed = std::abs(-(2 * overPlane + Dot(v12, across)) / 2) * wheelSpeed_ * kMetresPerMillimetre;
    p.inducedCurvature = std::abs(g * g / psi);
    p.rulingTime = t;
    p.time = t;
    return p;
}

double Mesh::firstPsi(double t, Vec3 X) const {
    const Vec3 n = flank_.normal(t);
    const Vec3 spin12{0, pair_.ratio, 1};
    const Vec3 v12 = flank_.relativeVelocity(X);
    const double phiRate = Dot(Cross(kAxisZ, n), v12) + Dot(n, Cross(spin12, Cross(kAxisZ, X)));
    return Dot(v12, Cross(n, spin12)) - phiRate;
}

Vec3 Mesh::wormPointAt(double ta, double u, double T) const {
    const Vec3 C = flank_.wormAxisPoint();
    return C + RotateY(flank_.contactLine(ta).at(u) - C, pair_.ratio * (ta - T));
}

double Mesh::secondMeshing(double ta, double u, double T) const {
    const Vec3 X = wormPointAt(ta, u, T);
    const Vec3 N = RotateY(flank_.normal(ta), pair_.ratio * (ta - T));
    return -Dot(N, flank_.relativeVelocity(X));
}

Mesh::SecondParts Mesh::secondParts(double ta, double u, double T) const { return secondParts(rulingAt(ta), u, T); }

Mesh::SecondParts Mesh::secondParts(const Ruling& r, double u, double T) const {
    const double turn = pair_.ratio * (r.t - T);
    const Vec3 C = flank_.wormAxisPoint();
    const Vec3 Xa = C + r.arm + r.direction * u;
    SecondParts s;
    s.position = C + RotateY(Xa - C, turn);
    s.normal = RotateY(r.normal, turn);
    s.relative = -flank_.relativeVelocity(s.position);
    const Vec3 wormSpin{0, -pair_.ratio, 0};
    const Vec3 spin12 = wormSpin - kAxisZ;  // the worm's spin less the wheel's
    // The worm's shape operator is that of its contact with the plane: its
    // normal curvature is k across the ruling and 0 along it (signed for the
    // normal n, as the first branch gives it).
    const Vec3 planeSpin{0, pair_.ratio, 1};
    const Vec3 planeGradient = Cross(r.normal, planeSpin);
    const Vec3 across = RotateY(Unit(planeGradient), turn);
    const Vec3 v12a = flank_.relativeVelocity(Xa);
    const double phiRateA = Dot(Cross(kAxisZ, r.normal), v12a) + Dot(r.normal, Cross(planeSpin, Cross(kAxisZ, Xa)));
    const double k = Dot(planeGradient, planeGradient) / (Dot(v12a, planeGradient) - phiRateA);
    const Vec3 shaped = across * (k * Dot(s.relative, across));
    s.gradient = Cross(s.normal, spin12) - shaped;
    s.phi = Dot(s.normal, s.relative);
    const Vec3 wormVelocity = Cross(wormSpin, s.position - C);
    s.phiRate = Dot(Cross(wormSpin, s.normal), s.relative) + Dot(s.normal, Cross(spin12, wormVelocity));
    return s;
}

ContactPoint Mesh::secondPoint(double ta, double u, double T) const {
    const SecondParts s = secondParts(ta, u, T);
    const double g = Norm(s.gradient);
    const Vec3 across = s.gradient * (1 / g);
    const double psi = Dot(s.relative, s.gradient) - s.phiRate;
    ContactPoint p;
    p.position = s.position;
    p.tangent = Unit(Cross(s.normal, s.gradient));
    p.slidingSpeed = Norm(s.relative) * wheelSpeed_ * kMetresPerMillimetre;
    p.lubricationAngle = AngleToLine(p.tangent, s.relative);
    p.entrainmentSpeed = std::abs(-(2 * (-s.phiRate / g) + Dot(s.relative, across)) / 2) * wheelSpeed_ *
                         kMetresPerMillimetre;
    p.inducedCurvature = std::abs(g * g / psi);
    p.rulingTime = ta;
    p.time = T;
    return p;
}

Mesh::Ruling Mesh::rulingAt(double t) const {
    const Line line = flank_.contactLine(t);
    return {t, line.point - flank_.wormAxisPoint(), line.direction, flank_.normal(t)};
}

std::optional<double> Mesh::secondOn(const Ruling& r, double T, Vec3* position) const {
    // Along the ruling the worm point is X0 + u D with its normal N fixed,
    // and the relative velocity affine in X: Phi2 = -N . (v12(X0) + u L(D)).
    const double turn = pair_.ratio * (r.t - T);
    const double c = std::cos(turn), s = std::sin(turn);
    const auto rotate = [&](Vec3 v) { return Vec3{c * v.x + s * v.z, v.y, -s * v.x + c * v.z}; };
    const Vec3 C = flank_.wormAxisPoint();
    const Vec3 X0 = C + rotate(r.arm), D = rotate(r.direction), N = rotate(r.normal);
    const Vec3 wormSpin{0, -pair_.ratio, 0};
    const double at0 = -Dot(N, flank_.relativeVelocity(X0));
    const double slope = -Dot(N, Cross(kAxisZ, D) - Cross(wormSpin, D));
    // A slope this small leaves no point within reach of the tooth.
    if (!(std::abs(slope) * reach_ > 1e-12 * (std::abs(at0) + 1))) return std::nullopt;
    const double u = -at0 / slope;
    if (position) *position = X0 + D * u;
    return u;
}

std::optional<double> Mesh::secondContactOnRuling(double ta, double T) const { return secondOn(rulingAt(ta), T); }

std::optional<double> Mesh::secondContactTime(double ta, double u) const {
    // Phi2 does not see the wheel turn, only the worm: it repeats every worm
    // turn (2 pi / i of wheel angle), and the first contact with it. The
    // second contact is the other root within half a turn either way.
    const double span = 0.999 * std::numbers::pi / pair_.ratio;
    const Vec3 C = flank_.wormAxisPoint();
    const Vec3 arm = flank_.contactLine(ta).at(u) - C, normal = flank_.normal(ta);
    const auto phi2 = [&](double T) {
        const double turn = pair_.ratio * (ta - T);
        return -Dot(RotateY(normal, turn), flank_.relativeVelocity(C + RotateY(arm, turn)));
    };
    // Its quotient by (T - ta) keeps only the second root, and near ta tends
    // to dPhi2/dT.
    const auto quotient = [&](double T) {
        const double dT = T - ta;
        if (std::abs(dT) < 1e-7) {
            const double h = 1e-5;
            return (phi2(ta + h) - phi2(ta - h)) / (2 * h);
        }
        return phi2(T) / dT;
    };
    // 64 steps over the turn find the changes of sign; the nearest to ta is
    // refined.
    constexpr int kSteps = 64;
    std::optional<double> best;
    double previous = ta - span, fp = quotient(previous);
    for (int k = 1; k <= kSteps; ++k) {
        const double next = ta - span + 2 * span * k / kSteps, fn = quotient(next);
        if (!std::isfinite(fn)) return std::nullopt;
        if ((fn > 0) != (fp > 0)) {
            const double T = Bisect(quotient, previous, next);
            // A root of the quotient, not a pole of it: Phi2 itself vanishes there.
            if (std::abs(phi2(T)) <= 1e-9 * (1 + std::abs(T - ta)) * reach_ &&
                (!best || std::abs(T - ta) < std::abs(*best - ta)))
                best = T;
        }
        previous = next;
        fp = fn;
    }
    return best;
}

std::vector<ContactCurve> Mesh::firstContact(double phi2, int tooth, int points) const {
    const double t = phi2 + tooth * pair_.angularPitch();
    const Line line = flank_.contactLine(t);
    std::vector<ContactCurve> curves;
    for (const auto& [from, to] :
         InsideIntervals([&](double u) { return pair_.zone.inMesh(line.at(u)); }, -reach_, reach_)) {
        ContactCurve curve{Branch::First, tooth, phi2, {}};
        const int n = std::max(points, 2);
        for (int k = 0; k < n; ++k) curve.points.push_back(firstPoint(t, line.at(from + (to - from) * k / (n - 1))));
        curves.push_back(std::move(curve));
    }
    return curves;
}

std::vector<ContactCurve> Mesh::secondContact(double phi2, int points, int scan) const {
    // The second contact lines lie nearly along the rulings: a fine scan over
    // the rulings (the kept ones, every `stride`-th) finds the windows of
    // rulings whose point is in the mesh zone, their ends are refined, and
    // each window is sampled anew.
    const double tau = pair_.angularPitch();
    const int stride = std::max(1, static_cast<int>(scan_.size() - 1) / std::max(scan, 1));
    std::vector<ContactCurve> curves;
    // Every start of the worm: start s at phi2 stands where start 0 stands at phi2 + s tau.
    for (int start = 0; start < pair_.wormStarts; ++start) {
        const double T = phi2 + start * tau;
        const auto insideRuling = [&](const Ruling& r) {
            if (std::abs(r.t - T) < 1e-6) return false;
            Vec3 X;
            return secondOn(r, T, &X).has_value() && pair_.zone.inMesh(X);
        };
        const auto inside = [&](double ta) { return insideRuling(rulingAt(ta)); };
        const auto edge = [&](double in, double out) {
            for (int k = 0; k < 50 && std::abs(out - in) > 1e-13; ++k) {
                const double middle = (in + out) / 2;
                (inside(middle) ? in : out) = middle;
            }
            return in;
        };
        std::vector<std::pair<double, double>> windows;
        bool was = false;
        double from = 0, previous = scan_.front().t;
        for (std::size_t k = 0; k < scan_.size(); k += static_cast<std::size_t>(stride)) {
            const bool is = insideRuling(scan_[k]);
            if (is && !was) from = k == 0 ? scan_[k].t : edge(scan_[k].t, previous);
            if (!is && was) windows.emplace_back(from, edge(previous, scan_[k].t));
            was = is;
            previous = scan_[k].t;
        }
        if (was) windows.emplace_back(from, previous);
        for (const auto& [first, last] : windows) {
            ContactCurve curve{Branch::Second, 0, phi2, {}};
            const int n = std::max(points, 2);
            for (int k = 0; k < n; ++k) {
                const double ta = first + (last - first) * k / (n - 1);
                if (const auto u = secondContactOnRuling(ta, T)) curve.points.push_back(secondPoint(ta, *u, T));
            }
            if (curve.points.empty()) continue;
            curve.tooth = ToothOf(curve.points[curve.points.size() / 2].position, phi2);
            curves.push_back(std::move(curve));
        }
    }
    return curves;
}

int Mesh::ToothOf(Vec3 X, double phi2) const {
    // The wheel tooth whose plane passes nearest: the second branch of a
    // flank lies close beside its plane, and the planes are a pitch apart.
    const double tau = pair_.angularPitch();
    int best = 0;
    double nearest = 0;
    // Only the teeth within the worm's wrap: the planes of the others pass
    // near the point too, far from the wheel's material.
    const int reachTeeth = static_cast<int>(std::ceil((pair_.zone.halfWrap + 0.2) / tau)) + 1;
    for (int j = -reachTeeth; j <= reachTeeth; ++j) {
        const double off = std::abs(Dot(flank_.normal(phi2 + j * tau), X) - flank_.offset());
        if (j == -reachTeeth || off < nearest) {
            nearest = off;
            best = j;
        }
    }
    return best;
}

std::optional<LimitPoint> Mesh::firstLimitPoint(double t) const {
    const Line line = flank_.contactLine(t);
    const double at0 = firstPsi(t, line.at(0)), slope = firstPsi(t, line.at(1)) - at0;
    if (slope == 0) return std::nullopt;
    const Vec3 X = line.at(-at0 / slope);
    return LimitPoint{X, flank_.toWorm(X, t)};
}

std::vector<LimitPoint> Mesh::secondLimitPoints(double phi2, int samples) const {
    std::vector<LimitPoint> points;
    const int stride = std::max(1, static_cast<int>(scan_.size() - 1) / std::max(samples, 1));
    for (int start = 0; start < pair_.wormStarts; ++start) {
        const double T = phi2 + start * pair_.angularPitch();
        const auto psiOn = [&](const Ruling& r) -> std::optional<double> {
            if (std::abs(r.t - T) < 1e-6) return std::nullopt;
            const auto u = secondOn(r, T);
            if (!u) return std::nullopt;
            const SecondParts s = secondParts(r, *u, T);
            return Dot(s.relative, s.gradient) - s.phiRate;
        };
        const auto psiAt = [&](double ta) { return psiOn(rulingAt(ta)); };
        std::optional<double> previous;
        double previousTa = 0;
        for (std::size_t k = 0; k < scan_.size(); k += static_cast<std::size_t>(stride)) {
            const double ta = scan_[k].t;
            const auto psi = psiOn(scan_[k]);
            // A change of sign across T itself is the first contact's, not a
            // limit; nor is one where the ruling's point runs off to infinity
            // (Psi passes through a pole there).
            if (psi && previous && (*psi > 0) != (*previous > 0) && (previousTa - T) * (ta - T) > 0) {
                const double root = Bisect([&](double x) { return psiAt(x).value_or(0); }, previousTa, ta);
                const Ruling r = rulingAt(root);
                Vec3 X;
                const auto u = secondOn(r, T, &X);
                const auto atRoot = psiOn(r);
                // Only where the worm has a flank.
                if (u && atRoot && std::abs(*atRoot) <= 1e-6 * (std::abs(*psi) + std::abs(*previous)) &&
                    pair_.zone.onWorm(X))
                    points.push_back({X, flank_.toWorm(X, T)});
            }
            previous = psi;
            previousTa = ta;
        }
    }
    return points;
}

PitchPoint Mesh::pitchPoint() const {
    // The plane holds P when its trace, tangent to the base circle, passes
    // through it: cos(theta + t) = rb / r2 = sin(alpha), the root a right
    // angle less the pressure angle below the line of centres.
    const Vec3 P{pair_.pitchRadius, 0, 0};
    const Vec3 wheelNormal = flank_.normal(0);
    const double theta = std::atan2(wheelNormal.y, wheelNormal.x);
    const double cosine = pair_.generation.baseRadius / pair_.pitchRadius;
    PitchPoint pitch;
    pitch.position = P;
    // Of the two roots, the one beside the line of centres.
    const double turn = std::acos(std::clamp(cosine, -1.0, 1.0));
    pitch.time = std::abs(turn - theta) < std::abs(-turn - theta) ? turn - theta : -turn - theta;
    const Line line = flank_.contactLine(pitch.time);
    const Vec3 v12 = flank_.relativeVelocity(P);
    pitch.slidingSpeed = Norm(v12) * wheelSpeed_ * kMetresPerMillimetre;
    pitch.lubricationAngle = AngleToLine(line.direction, v12);
    pitch.offLine = Norm(Cross(P - line.point, line.direction));
    return pitch;
}

}  // namespace wormgear::meshing
