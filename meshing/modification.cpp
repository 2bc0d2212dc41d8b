// The modified worm's departure from the unmodified one, traced along the thread.
#include "meshing/modification.h"

#include <algorithm>
#include <numbers>

namespace wormgear::meshing {

std::vector<DeparturePoint> ModificationDeparture(const PairGeometry& pair, const PairGeometry& modified, int points) {
    const auto plain = FlanksOf(pair), ground = FlanksOf(modified);
    if (!plain || !ground || points < 2 || pair.wormStarts <= 0) return {};
    const double r2 = pair.pitchRadius;
    // The thread advances one lead (z1 axial pitches) a worm turn: a step of
    // the worm angle for about `points` points over the working length.
    const double lead = pair.wormStarts * 2 * std::numbers::pi * r2 / pair.wheelTeeth;
    const double step = pair.zone.workingLength / points * 2 * std::numbers::pi / lead;
    std::vector<DeparturePoint> out;
    for (double hand : {1.0, -1.0}) {
        double guessPlain = 0, guessGround = 0;
        for (int k = hand > 0 ? 0 : 1; k <= 4 * points; ++k) {
            const double turn = hand * k * step;
            const auto a = CrossPitchArc(plain->upper, pair, guessPlain, turn);
            const auto m = CrossPitchArc(ground->upper, modified, guessGround, turn);
            if (!a || !m || std::abs(a->angle) > pair.zone.halfWrap) break;
            guessPlain = a->time;
            guessGround = m->time;
            const Vec3 normal = RotateY(plain->upper.wormNormal(a->time), turn);
            const Vec3 alongArc{-std::sin(a->angle), std::cos(a->angle), 0};
            out.push_back(
                {r2 * std::sin(a->angle), r2 * (m->angle - a->angle) * std::abs(Dot(alongArc, normal)) * 1e3});
        }
    }
    std::sort(out.begin(), out.end(),
              [](const DeparturePoint& p, const DeparturePoint& q) { return p.axialPosition < q.axialPosition; });
    return out;
}

}  // namespace wormgear::meshing
