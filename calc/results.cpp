// The table of the 34 result lines and the four panels.
#include "calc/results.h"

#include <string>

namespace wormgear {

const std::array<ResultDescription, kResultCount>& Results() {
    using R = ResultId;
    // Five hyphens before the name, six for the two wheel measuring lines,
    // four for the modification lines.
    static const std::array<ResultDescription, kResultCount> results = [] {
        std::array<ResultDescription, kResultCount> table = {{
            {R::WheelPitchDiameter, "Label23", "d2", 5, QT_TRANSLATE_NOOP("wormgear::Results", "蜗轮分度圆直径"), "mm"},
            {R::TipArcEccentricity, "Label24", "E", 5, QT_TRANSLATE_NOOP("wormgear::Results", "E值"), "mm"},
            {R::WormRootArcRadius, "Label8", "Rf1", 5, QT_TRANSLATE_NOOP("wormgear::Results", "蜗杆齿根圆弧半径"),
             "mm"},
            {R::WormWorkingLength, "Label10", "L", 5, QT_TRANSLATE_NOOP("wormgear::Results", "蜗杆工作长度"), "mm"},
            {R::WormTipArcRadius, "Label9", "Ra1", 5, QT_TRANSLATE_NOOP("wormgear::Results", "蜗杆齿顶圆弧半径"), "mm"},
            {R::ShaftShoulder, "Label11", "ls", 5, QT_TRANSLATE_NOOP("wormgear::Results", "轴肩"), "mm"},
            {R::MainBaseDiameter, "Label12", "Db", 5, QT_TRANSLATE_NOOP("wormgear::Results", "主基圆直径"), "mm"},
            {R::GeneratingPlaneAngle, "Label13", "β", 5, QT_TRANSLATE_NOOP("wormgear::Results", "母平面倾斜角"), "°"},
            {R::PressureAngle, "Label14", "α", 5, QT_TRANSLATE_NOOP("wormgear::Results", "压力角"), "°"},
            {R::WormMeasuredThickness, "Label16", "sn1", 5, QT_TRANSLATE_NOOP("wormgear::Results", "测量齿厚"), "mm"},
            {R::WormMeasuredHeight, "Label17", "h1", 5, QT_TRANSLATE_NOOP("wormgear::Results", "测量齿高"), "mm"},
            {R::TransverseModule, "Label25", "mt", 5, QT_TRANSLATE_NOOP("wormgear::Results", "端面模数"), "mm"},
            {R::EnvelopedTeeth, "Label26", "K", 5, QT_TRANSLATE_NOOP("wormgear::Results", "包围齿数"), ""},
            {R::WorkingHalfWrapAngle, "Label27", "φ", 5, QT_TRANSLATE_NOOP("wormgear::Results", "工作半包角"), "°"},
            {R::ThroatLeadAngle, "Label28", "γ", 5, QT_TRANSLATE_NOOP("wormgear::Results", "蜗杆喉部导程角"), "°"},
            {R::WormMaxTipDiameter, "Label48", "da1max", 5,
             QT_TRANSLATE_NOOP("wormgear::Results", "蜗杆最大齿顶圆直径"), "mm"},
            {R::WormTipWidth, "Label43", "sa1", 5, QT_TRANSLATE_NOOP("wormgear::Results", "蜗杆齿顶宽"), "mm"},
            {R::HobBodyTipArcRadius, "Label18", "Ra0", 5, QT_TRANSLATE_NOOP("wormgear::Results", "刀体齿顶圆弧半径"),
             "mm"},
            {R::HobBodyRootArcRadius, "Label19", "Rf0", 5, QT_TRANSLATE_NOOP("wormgear::Results", "刀体齿跟圆弧半径"),
             "mm"},
            {R::HobEffectiveLength, "Label20", "L0", 5, QT_TRANSLATE_NOOP("wormgear::Results", "滚刀有效长度"), "mm"},
            {R::HobMeasuredThickness, "Label21", "sn0", 5, QT_TRANSLATE_NOOP("wormgear::Results", "滚刀测量齿厚"),
             "mm"},
            {R::HobMeasuredHeight, "Label22", "h0", 5, QT_TRANSLATE_NOOP("wormgear::Results", "滚刀测量齿高"), "mm"},
            {R::HobEnvelopingTeeth, "Label29", "K0", 5, QT_TRANSLATE_NOOP("wormgear::Results", "滚刀包络齿数"), ""},
            {R::HobTipWidth, "Label49", "sa0", 5, QT_TRANSLATE_NOOP("wormgear::Results", "滚刀齿顶宽"), "mm"},
            {R::WheelMaxOuterDiameter, "Label33", "de2", 5, QT_TRANSLATE_NOOP("wormgear::Results", "蜗轮最大外圆"),
             "mm"},
            {R::WheelThroatDiameter, "Label35", "da2", 5, QT_TRANSLATE_NOOP("wormgear::Results", "蜗轮喉径"), "mm"},
            {R::RimWorkingWidth, "Label34", "b2", 5, QT_TRANSLATE_NOOP("wormgear::Results", "齿圈工作宽度"), "mm"},
            {R::WheelMeasuredThickness, "Label44", "sn2", 6, QT_TRANSLATE_NOOP("wormgear::Results", "蜗轮测量齿厚"),
             "mm"},
            {R::WheelMeasuredHeight, "Label45", "h2", 6, QT_TRANSLATE_NOOP("wormgear::Results", "蜗轮测量齿高"), "mm"},
            {R::WheelTipArcRadius, "Label40", "Ra2", 5, QT_TRANSLATE_NOOP("wormgear::Results", "蜗轮齿顶圆弧半径"),
             "mm"},
            {R::GrindingWheelAngle, "Label41", "βm", 4, QT_TRANSLATE_NOOP("wormgear::Results", "修形砂轮角"), "°"},
            {R::ModificationRatio, "Label42", "im", 4, QT_TRANSLATE_NOOP("wormgear::Results", "修形传动比"), ""},
            {R::ModificationCentreDistance, "Label51", "Am", 4, QT_TRANSLATE_NOOP("wormgear::Results", "修形中心距"),
             "mm"},
            {R::ModificationBaseDiameter, "Label52", "Dbm", 4, QT_TRANSLATE_NOOP("wormgear::Results", "修形主基圆直径"),
             "mm"},
        }};
        // Each suffix made once, hyphens and name, and kept for the program's life.
        static std::array<std::string, kResultCount> suffixes;
        for (std::size_t n = 0; n < table.size(); ++n) {
            suffixes[n] = std::string(static_cast<std::size_t>(table[n].hyphens), '-') + table[n].nameText;
            table[n].suffix = suffixes[n].c_str();
        }
        return table;
    }();
    return results;
}

const ResultDescription* ResultByLabel(std::string_view label) {
    for (const ResultDescription& result : Results()) {
        if (label == result.label) return &result;
    }
    return nullptr;
}

std::string PanelCaption(const PanelDescription& panel, const Translate& translate) {
    return Translated(translate, kResultsContext, panel.caption);
}

std::string ResultName(const ResultDescription& result, const Translate& translate) {
    return Translated(translate, kResultsContext, result.nameText);
}

const std::array<PanelDescription, 4>& Panels() {
    static const std::array<PanelDescription, 4> panels = {{
        {"GroupBox1", QT_TRANSLATE_NOOP("wormgear::Results", "  蜗杆参数  "), 0, 17},
        {"GroupBox2", QT_TRANSLATE_NOOP("wormgear::Results", "  滚刀参数  "), 17, 7},
        {"GroupBox3", QT_TRANSLATE_NOOP("wormgear::Results", "  蜗轮参数  "), 24, 6},
        {"GroupBox4", QT_TRANSLATE_NOOP("wormgear::Results", "蜗杆修形（一般型传动）  "), 30, 4},
    }};
    return panels;
}

}  // namespace wormgear
