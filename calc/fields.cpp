// The table of the thirteen design fields.
#include "calc/fields.h"

namespace wormgear {

const std::array<DesignFieldDescription, kDesignFieldCount>& DesignFields() {
    using F = DesignField;
    using I = DesignInputs;
    static const std::array<DesignFieldDescription, kDesignFieldCount> fields = {{
        {F::CentreDistance, &I::CentreDistance, "centre-distance", "A", "中心距", "mm", true, "centre distance"},
        {F::SpeedRatio, &I::SpeedRatio, "speed-ratio", "i", "速比", "", true, "speed ratio"},
        {F::WheelTeeth, &I::WheelTeeth, "teeth", "z2", "蜗轮齿数", "", true, "wheel teeth"},
        {F::WormStarts, &I::WormStarts, "starts", "z1", "蜗杆头数", "", true, "worm starts"},
        {F::MainBaseDiameter, &I::MainBaseDiameter, "base-diameter", "Db", "主基圆直径", "mm", true,
         "main base circle diameter"},
        {F::TipArcEccentricity, &I::TipArcEccentricity, "eccentricity", "E", "E值", "mm", true, "E value"},
        {F::WormPitchDiameter, &I::WormPitchDiameter, "pitch-diameter", "d1", "蜗杆分度圆直径", "mm", true,
         "worm pitch diameter"},
        {F::Backlash, &I::Backlash, "backlash", "jn", "侧隙", "mm", true, "backlash"},
        {F::WormAccuracy, &I::WormAccuracy, "worm-accuracy", "", "蜗杆精度", "", false, "worm accuracy"},
        {F::HobAccuracy, &I::HobAccuracy, "hob-accuracy", "", "滚刀精度", "", false, "hob accuracy"},
        {F::EntranceRelief, &I::EntranceRelief, "entrance-relief", "", "入口修缘", "", false, "entrance relief"},
        {F::ExitRelief, &I::ExitRelief, "exit-relief", "", "出口修缘", "", false, "exit relief"},
        {F::GrindingIncrement, &I::GrindingIncrement, "grinding-increment", "Δ", "磨齿增量", "齿", true,
         "grinding increment"},
    }};
    return fields;
}

DesignInputs DefaultInputs(char decimalSeparator) {
    DesignInputs inputs;
    for (const DesignFieldDescription& field : DesignFields()) {
        if (!field.calculated) continue;
        for (char& c : inputs.*field.text) {
            if (c == '.') c = decimalSeparator;
        }
    }
    return inputs;
}

const DesignFieldDescription* FieldByOption(std::string_view option) {
    for (const DesignFieldDescription& field : DesignFields()) {
        if (option == field.option) return &field;
    }
    return nullptr;
}

}  // namespace wormgear
