// The measuring grid on the worm's flanks.
#include "meshing/flank_grid.h"

#include <charconv>
#include <numbers>

namespace wormgear::meshing {

std::vector<FlankGridPoint> FlankGrid(const PairGeometry& pair, int rulings, int across) {
    const auto flanks = FlanksOf(pair);
    if (!flanks || rulings < 1 || across < 1 || pair.wormStarts <= 0) return {};
    const double reach = RulingReach(pair.zone);
    std::vector<FlankGridPoint> points;
    // Counted in size_t: a fine grid of many starts overflows an int product.
    points.reserve(2 * static_cast<std::size_t>(pair.wormStarts) * static_cast<std::size_t>(rulings) *
                   static_cast<std::size_t>(across));
    for (FlankSide side : {FlankSide::Upper, FlankSide::Lower}) {
        const GeneratedFlank& flank = flanks->of(side);
        const auto range = RulingRange(flank, pair.zone);
        if (!range) continue;
        for (int row = 0; row < rulings; ++row) {
            // Each row in the middle of its share of the rulings: the very
            // first and last rulings only graze the tooth.
            const double t = range->first + (range->second - range->first) * (row + 0.5) / rulings;
            const Line line = flank.contactLine(t);
            const auto parts = ToothPieces(line, pair.zone, reach, 48);
            if (parts.empty()) continue;
            // The longest piece, where the tip or root arc cuts a ruling in two.
            auto part = parts.front();
            for (const auto& p : parts)
                if (p.second - p.first > part.second - part.first) part = p;
            const Vec3 outward = -flank.wormNormal(t);
            for (int k = 0; k < across; ++k) {
                const double u = across == 1 ? (part.first + part.second) / 2
                                             : part.first + (part.second - part.first) * k / (across - 1);
                const Vec3 W = flank.wormPoint(t, u);
                for (int start = 0; start < pair.wormStarts; ++start) {
                    const double turn = -2 * std::numbers::pi * start / pair.wormStarts;
                    points.push_back({RotateY(W, turn), RotateY(outward, turn), side, start, t});
                }
            }
        }
    }
    return points;
}

std::string FlankGridCsv(const std::vector<FlankGridPoint>& points, const std::string& program) {
    std::string csv = "# " + program +
                      " worm flank points: worm frame, mm; origin on the worm axis in the wheel's mid-plane, y along "
                      "the worm axis, x away from the wheel axis (the wheel axis at x = -A), z along the wheel axis; "
                      "nx, ny, nz the outward unit normal; flank upper faces +y at the throat\n"
                      "x,y,z,nx,ny,nz,flank,start\n";
    csv.reserve(csv.size() + points.size() * 96);
    char buffer[32];
    const auto number = [&](double value) {
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 12).ptr;
        csv.append(buffer, end);
        csv += ',';
    };
    for (const FlankGridPoint& p : points) {
        for (double v : {p.position.x, p.position.y, p.position.z, p.normal.x, p.normal.y, p.normal.z}) number(v);
        csv += p.side == FlankSide::Upper ? "upper," : "lower,";
        csv += std::to_string(p.start);
        csv += '\n';
    }
    return csv;
}

}  // namespace wormgear::meshing
