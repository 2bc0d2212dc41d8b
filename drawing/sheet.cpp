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
    // half of that.
    static const std::array<LayerDescription, kLayerCount> layers = {{
        {Layer::Outline, "OUTLINE", 7, LineStyle::Continuous, 0.5},
        {Layer::Thin, "THIN", 8, LineStyle::Continuous, 0.25},
        {Layer::Centre, "CENTER", 1, LineStyle::Centre, 0.25},
        {Layer::Hidden, "HIDDEN", 6, LineStyle::Hidden, 0.25},
        {Layer::Dimension, "DIM", 3, LineStyle::Continuous, 0.25},
        {Layer::Table, "TABLE", 4, LineStyle::Continuous, 0.25},
        {Layer::Frame, "FRAME", 7, LineStyle::Continuous, 0.5},
        {Layer::Warning, "WARNING", 1, LineStyle::Continuous, 0.5},  // colour 1: red
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
