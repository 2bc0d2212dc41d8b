// The pair of a design as the meshing takes it, and its tooth zone.
#include "meshing/pair.h"

#include <numbers>

namespace wormgear::meshing {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

}  // namespace

bool ToothZone::onWorm(Vec3 p) const {
    // Squared distances, and the half wrap as a slope (it is below a right
    // angle): the test runs for every sample of every contact line.
    const double dx = p.x - centreDistance;
    const double rho = std::sqrt(dx * dx + p.z * p.z);
    const double qx = centreDistance - rho, qy = p.y;
    const double tx = qx + tipEccentricity;
    return tx * tx + qy * qy >= tipArcRadius * tipArcRadius && qx * qx + qy * qy <= rootArcRadius * rootArcRadius &&
           std::abs(qy) <= workingLength / 2 && qx > 0 && std::abs(qy) <= std::tan(halfWrap) * qx;
}

bool ToothZone::onWheel(Vec3 p) const {
    const double r = std::sqrt(p.x * p.x + p.y * p.y);
    const double tipCentre = throatRadius + wheelTipArcRadius;
    const double fromTipCentre = r - tipCentre;
    return std::abs(p.z) <= rimWidth / 2 && r <= wheelOuterRadius &&
           fromTipCentre * fromTipCentre + p.z * p.z >= wheelTipArcRadius * wheelTipArcRadius;
}

double PairGeometry::angularPitch() const { return 2 * std::numbers::pi / wheelTeeth; }

PairGeometry PairOf(const TWormDesign& d) {
    PairGeometry pair;
    pair.generation = {d.CentreDistance, d.SpeedRatio, d.MainBaseDiameter / 2,
                       d.GeneratingPlaneAngle * kRadiansPerDegree};
    pair.centreDistance = d.CentreDistance;
    pair.ratio = d.SpeedRatio;
    pair.wheelTeeth = d.WheelTeeth;
    pair.wormStarts = d.WormStarts;
    pair.pitchRadius = d.WheelPitchDiameter / 2;
    pair.axialThickness = d.WormAxialThickness;
    pair.pressureAngle = d.PressureAngle * kRadiansPerDegree;
    pair.leadAngle = d.ThroatLeadAngle * kRadiansPerDegree;
    ToothZone& zone = pair.zone;
    zone.centreDistance = d.CentreDistance;
    zone.tipArcRadius = d.WormTipArcRadius;
    zone.tipEccentricity = d.TipArcEccentricity;
    zone.rootArcRadius = d.WormRootArcRadius;
    zone.workingLength = d.WormWorkingLength;
    zone.halfWrap = d.WorkingHalfWrapAngle * kRadiansPerDegree;
    zone.rimWidth = d.RimWorkingWidth;
    zone.wheelOuterRadius = d.WheelMaxOuterDiameter / 2;
    zone.throatRadius = d.WheelThroatDiameter / 2;
    zone.wheelTipArcRadius = d.WheelTipArcRadius;
    return pair;
}

PairGeometry ModifiedPairOf(const TWormDesign& d) {
    PairGeometry pair = PairOf(d);
    pair.generation = {d.ModificationCentreDistance, d.ModificationRatio, d.ModificationBaseDiameter / 2,
                       d.GrindingWheelAngle * kRadiansPerDegree};
    return pair;
}

Speeds SpeedsOf(const PairGeometry& pair, double wormRevolutionsPerMinute) {
    const double worm = wormRevolutionsPerMinute * 2 * std::numbers::pi / 60;
    return {worm, worm / pair.ratio};
}

}  // namespace wormgear::meshing
