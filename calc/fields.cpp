// The table of the thirteen design fields.
#include "calc/fields.h"

namespace wormgear {

const std::array<DesignFieldDescription, kDesignFieldCount>& DesignFields() {
    using F = DesignField;
    using I = DesignInputs;
    static const std::array<DesignFieldDescription, kDesignFieldCount> fields = {{
        {F::CentreDistance, &I::CentreDistance, "centre-distance", "A", "中心距", "mm", true},
        {F::SpeedRatio, &I::SpeedRatio, "speed-ratio", "i", "速比", "", true},
        {F::WheelTeeth, &I::WheelTeeth, "teeth", "z2", "蜗轮齿数", "", true},
        {F::WormStarts, &I::WormStarts, "starts", "z1", "蜗杆头数", "", true},
        {F::MainBaseDiameter, &I::MainBaseDiameter, "base-diameter", "Db", "主基圆直径", "mm", true},
        {F::TipArcEccentricity, &I::TipArcEccentricity, "eccentricity", "E", "E值", "mm", true},
        {F::WormPitchDiameter, &I::WormPitchDiameter, "pitch-diameter", "d1", "蜗杆分度圆直径", "mm", true},
        {F::Backlash, &I::Backlash, "backlash", "jn", "侧隙", "mm", true},
        {F::WormAccuracy, &I::WormAccuracy, "worm-accuracy", "", "蜗杆精度", "", false},
        {F::HobAccuracy, &I::HobAccuracy, "hob-accuracy", "", "滚刀精度", "", false},
        {F::EntranceRelief, &I::EntranceRelief, "entrance-relief", "", "入口修缘", "", false},
        {F::ExitRelief, &I::ExitRelief, "exit-relief", "", "出口修缘", "", false},
        {F::GrindingIncrement, &I::GrindingIncrement, "grinding-increment", "Δ", "磨齿增量", "齿", true},
    }};
    return fields;
}

const DesignFieldDescription* FieldByOption(std::string_view option) {
    for (const DesignFieldDescription& field : DesignFields()) {
        if (option == field.option) return &field;
    }
    return nullptr;
}

}  // namespace wormgear
