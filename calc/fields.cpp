// The table of the thirteen design fields.
#include "calc/fields.h"

namespace wormgear {

const std::array<DesignFieldDescription, kDesignFieldCount>& DesignFields() {
    using F = DesignField;
    using I = DesignInputs;
    static const std::array<DesignFieldDescription, kDesignFieldCount> fields = {{
        {F::CentreDistance, &I::CentreDistance, "centre-distance", "A", QT_TRANSLATE_NOOP("wormgear::Fields", "中心距"),
         "mm", true},
        {F::SpeedRatio, &I::SpeedRatio, "speed-ratio", "i", QT_TRANSLATE_NOOP("wormgear::Fields", "速比"), "", true},
        {F::WheelTeeth, &I::WheelTeeth, "teeth", "z2", QT_TRANSLATE_NOOP("wormgear::Fields", "蜗轮齿数"), "", true},
        {F::WormStarts, &I::WormStarts, "starts", "z1", QT_TRANSLATE_NOOP("wormgear::Fields", "蜗杆头数"), "", true},
        {F::MainBaseDiameter, &I::MainBaseDiameter, "base-diameter", "Db",
         QT_TRANSLATE_NOOP("wormgear::Fields", "主基圆直径"), "mm", true},
        {F::TipArcEccentricity, &I::TipArcEccentricity, "eccentricity", "E",
         QT_TRANSLATE_NOOP("wormgear::Fields", "E值"), "mm", true},
        {F::WormPitchDiameter, &I::WormPitchDiameter, "pitch-diameter", "d1",
         QT_TRANSLATE_NOOP("wormgear::Fields", "蜗杆分度圆直径"), "mm", true},
        {F::Backlash, &I::Backlash, "backlash", "jn", QT_TRANSLATE_NOOP("wormgear::Fields", "侧隙"), "mm", true},
        {F::WormAccuracy, &I::WormAccuracy, "worm-accuracy", "", QT_TRANSLATE_NOOP("wormgear::Fields", "蜗杆精度"), "",
         false},
        {F::HobAccuracy, &I::HobAccuracy, "hob-accuracy", "", QT_TRANSLATE_NOOP("wormgear::Fields", "滚刀精度"), "",
         false},
        {F::EntranceRelief, &I::EntranceRelief, "entrance-relief", "",
         QT_TRANSLATE_NOOP("wormgear::Fields", "入口修缘"), "", false},
        {F::ExitRelief, &I::ExitRelief, "exit-relief", "", QT_TRANSLATE_NOOP("wormgear::Fields", "出口修缘"), "",
         false},
        {F::GrindingIncrement, &I::GrindingIncrement, "grinding-increment", "Δ",
         QT_TRANSLATE_NOOP("wormgear::Fields", "磨齿增量"), QT_TRANSLATE_NOOP("wormgear::Fields", "齿"), true},
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

std::string FieldName(const DesignFieldDescription& field, const Translate& translate) {
    return Translated(translate, kFieldsContext, field.name);
}

const DesignFieldDescription* FieldByOption(std::string_view option) {
    for (const DesignFieldDescription& field : DesignFields()) {
        if (option == field.option) return &field;
    }
    return nullptr;
}

}  // namespace wormgear
