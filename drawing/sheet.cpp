// Layers of the drawings and what a dimension's definition points measure.
#include "drawing/sheet.h"

#include <numbers>

namespace wormgear::drawing {

Point Direction(double degrees) {
    const double radians = degrees * std::numbers::pi / 180;
    return {std::cos(radians), std::sin(radians)};
}

double AngleOf(Point v) { return std::atan2(v.y, v.x) * 180 / std::numbers::pi; }

const std::array<LayerDescription, kLayerCount>& Layers() {
    // Widths after the Chinese drawing rules: thick lines 0.5 mm, thin ones
    // half of that. Names and colours after GB/T 14665's layers, their
    // number first: 01 thick lines (white, 7), 02 thin lines (green, 3), 04
    // dashed lines (yellow, 2), 05 chain lines (red, 1), 08 dimensions and
    // symbols, 10 section lines, 11 texts; the frame a thick line of its
    // own, the title block and tables thin lines of their own.
    static const std::array<LayerDescription, kLayerCount> layers = {{
        {Layer::Outline, "01_OUTLINE", 7, LineStyle::Continuous, 0.5},
        {Layer::Thin, "02_THIN", 3, LineStyle::Continuous, 0.25},
        {Layer::Centre, "05_CENTER", 1, LineStyle::Centre, 0.25},
        {Layer::Hidden, "04_HIDDEN", 2, LineStyle::Hidden, 0.25},
        {Layer::Dimension, "08_DIM", 3, LineStyle::Continuous, 0.25},
        {Layer::Table, "02_TABLE", 3, LineStyle::Continuous, 0.25},
        {Layer::Frame, "01_FRAME", 7, LineStyle::Continuous, 0.5},
        {Layer::Warning, "WARNING", 1, LineStyle::Continuous, 0.5},  // colour 1: red
        {Layer::Text, "11_TEXT", 3, LineStyle::Continuous, 0.25},
        {Layer::Hatch, "10_HATCH", 3, LineStyle::Continuous, 0.25},
    }};
    return layers;
}

double Dimension::measurement() const {
    switch (kind) {
        case DimensionKind::Linear: {
            const Point along = Direction(rotation);
            return std::abs(Dot(second - first, along)) * lengthFactor;
        }
        case DimensionKind::Radius:
        case DimensionKind::Diameter: return Distance(defpoint, curve) * lengthFactor;
        case DimensionKind::Angular: {
            double angle = AngleOf(second - curve) - AngleOf(first - curve);
            if (angle < 0) angle += 360;
            return angle;
        }
    }
    return 0;
}

}  // namespace wormgear::drawing
