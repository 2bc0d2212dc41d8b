// The meshing analysis of a design, put together from the mesh.
#include "meshing/analysis.h"

#include <algorithm>
#include <set>

namespace wormgear::meshing {

namespace {

WheelToothPoint OnWheel(Vec3 fixed, double phi2) {
    const Vec3 p = RotateZ(fixed, -phi2);
    return {p, p.z, std::hypot(p.x, p.y)};
}

}  // namespace

MeshingAnalysis AnalyseMeshing(const PairGeometry& pair, const PairGeometry& modified, const AnalysisOptions& o) {
    const auto flanks = FlanksOf(pair);
    if (!flanks) throw MeshingError("the flanks cannot be placed for the throat's axial thickness");
    const Mesh mesh(pair, flanks->upper, o.wormSpeed);
    if (!(mesh.lastRuling() > mesh.firstRuling())) throw MeshingError("no ruling of the flank reaches the tooth zone");
    const double tau = pair.angularPitch();
    // The teeth that can be in mesh: those within the worm's wrap.
    const int reach = static_cast<int>(std::ceil((pair.zone.halfWrap + 0.2) / tau)) + 1;

    MeshingAnalysis a;
    a.wormSpeed = o.wormSpeed;
    a.tangencyAngle = flanks->tangencyAngle;
    a.pitch = mesh.pitchPoint();
    for (int k = 0; k < o.positions; ++k) {
        const double phi2 = tau * k / o.positions;
        for (int tooth = -reach; tooth <= reach; ++tooth)
            for (ContactCurve& c : mesh.firstContact(phi2, tooth, o.pointsPerLine))
                a.contactLines.push_back(std::move(c));
        for (ContactCurve& c : mesh.secondContact(phi2, o.pointsPerLine)) a.contactLines.push_back(std::move(c));
    }
    // Tooth 0 over one pitch, on its own flank.
    for (const ContactCurve& c : a.contactLines) {
        if (c.tooth != 0) continue;
        std::vector<WheelToothPoint> line;
        for (const ContactPoint& p : c.points) line.push_back(OnWheel(p.position, c.phi2));
        a.wheelContact.push_back(std::move(line));
    }

    // Teeth in contact: those with a piece of either branch, over one pitch.
    for (int k = 0; k < o.contactSamples; ++k) {
        const double phi2 = tau * k / o.contactSamples;
        std::set<int> teeth;
        for (int tooth = -reach; tooth <= reach; ++tooth)
            if (!mesh.firstContact(phi2, tooth, 2).empty()) teeth.insert(tooth);
        for (const ContactCurve& c : mesh.secondContact(phi2, 2, 128)) teeth.insert(c.tooth);
        const int count = static_cast<int>(teeth.size());
        a.teethInContact.min = k == 0 ? count : std::min(a.teethInContact.min, count);
        a.teethInContact.max = k == 0 ? count : std::max(a.teethInContact.max, count);
    }

    // The limit lines on the worm flank.
    for (int k = 0; k < o.limitSamples; ++k) {
        const double t = mesh.firstRuling() +
                         (mesh.lastRuling() - mesh.firstRuling()) * k / std::max(o.limitSamples - 1, 1);
        if (const auto L = mesh.firstLimitPoint(t)) {
            a.firstLimit.points.push_back(L->worm);
            a.firstLimit.inToothZone = a.firstLimit.inToothZone || pair.zone.onWorm(L->fixed);
        }
        for (const LimitPoint& L : mesh.secondLimitPoints(t, 96)) {
            a.secondLimit.points.push_back(L.worm);
            a.secondLimit.inToothZone = a.secondLimit.inToothZone || pair.zone.inMesh(L.fixed);
        }
    }

    a.modification = ModificationDeparture(pair, modified, o.departurePoints);

    const GeneratedFlank& flank = flanks->upper;
    // The wheel flank's second branch: each worm point of a grid solved for
    // the wheel angle of its second contact.
    const double span = mesh.lastRuling() - mesh.firstRuling();
    for (int row = 0; row < o.wheelFlankRulings; ++row) {
        const double ta = mesh.firstRuling() + span * (row + 0.5) / o.wheelFlankRulings;
        const Line line = flank.contactLine(ta);
        const auto parts = ToothPieces(line, pair.zone, RulingReach(pair.zone), 48);
        if (parts.empty()) continue;
        const auto [from, to] = parts.front();
        for (int k = 0; k < o.wheelFlankAcross; ++k) {
            const double u = from + (to - from) * (k + 0.5) / o.wheelFlankAcross;
            const auto T = mesh.secondContactTime(ta, u);
            if (!T) {
                ++a.unsolved;
                continue;
            }
            const Vec3 X = mesh.wormPointAt(ta, u, *T);
            if (pair.zone.inMesh(X)) a.wheelFlank.push_back(OnWheel(X, *T));
        }
    }
    return a;
}

MeshingAnalysis AnalyseMeshing(const TWormDesign& design, const AnalysisOptions& options) {
    return AnalyseMeshing(PairOf(design), ModifiedPairOf(design), options);
}

}  // namespace wormgear::meshing
