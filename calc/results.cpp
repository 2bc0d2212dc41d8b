// The table of the 34 result lines and the four panels.
#include "calc/results.h"

namespace wormgear {

const std::array<ResultDescription, kResultCount>& Results() {
    using R = ResultId;
    // Five hyphens before the name, six for the two wheel measuring lines,
    // four for the modification lines.
    static const std::array<ResultDescription, kResultCount> results = {{
        {R::WheelPitchDiameter, "Label23", "d2", "-----蜗轮分度圆直径", "mm", "wheel pitch diameter"},
        {R::TipArcEccentricity, "Label24", "E", "-----E值", "mm", "E value"},
        {R::WormRootArcRadius, "Label8", "Rf1", "-----蜗杆齿根圆弧半径", "mm", "worm root arc radius"},
        {R::WormWorkingLength, "Label10", "L", "-----蜗杆工作长度", "mm", "worm working length"},
        {R::WormTipArcRadius, "Label9", "Ra1", "-----蜗杆齿顶圆弧半径", "mm", "worm tip arc radius"},
        {R::ShaftShoulder, "Label11", "ls", "-----轴肩", "mm", "shaft shoulder"},
        {R::MainBaseDiameter, "Label12", "Db", "-----主基圆直径", "mm", "main base diameter"},
        {R::GeneratingPlaneAngle, "Label13", "β", "-----母平面倾斜角", "°", "generating plane angle"},
        {R::PressureAngle, "Label14", "α", "-----压力角", "°", "pressure angle"},
        {R::WormMeasuredThickness, "Label16", "sn1", "-----测量齿厚", "mm", "measured thickness"},
        {R::WormMeasuredHeight, "Label17", "h1", "-----测量齿高", "mm", "measured height"},
        {R::TransverseModule, "Label25", "mt", "-----端面模数", "mm", "transverse module"},
        {R::EnvelopedTeeth, "Label26", "K", "-----包围齿数", "", "enveloped teeth"},
        {R::WorkingHalfWrapAngle, "Label27", "φ", "-----工作半包角", "°", "half wrap angle"},
        {R::ThroatLeadAngle, "Label28", "γ", "-----蜗杆喉部导程角", "°", "throat lead angle"},
        {R::WormMaxTipDiameter, "Label48", "da1max", "-----蜗杆最大齿顶圆直径", "mm", "worm max tip diameter"},
        {R::WormTipWidth, "Label43", "sa1", "-----蜗杆齿顶宽", "mm", "worm tip width"},
        {R::HobBodyTipArcRadius, "Label18", "Ra0", "-----刀体齿顶圆弧半径", "mm", "hob tip arc radius"},
        {R::HobBodyRootArcRadius, "Label19", "Rf0", "-----刀体齿跟圆弧半径", "mm", "hob root arc radius"},
        {R::HobEffectiveLength, "Label20", "L0", "-----滚刀有效长度", "mm", "hob effective length"},
        {R::HobMeasuredThickness, "Label21", "sn0", "-----滚刀测量齿厚", "mm", "hob measured thickness"},
        {R::HobMeasuredHeight, "Label22", "h0", "-----滚刀测量齿高", "mm", "hob measured height"},
        {R::HobEnvelopingTeeth, "Label29", "K0", "-----滚刀包络齿数", "", "hob enveloping teeth"},
        {R::HobTipWidth, "Label49", "sa0", "-----滚刀齿顶宽", "mm", "hob tip width"},
        {R::WheelMaxOuterDiameter, "Label33", "de2", "-----蜗轮最大外圆", "mm", "wheel max outer diameter"},
        {R::WheelThroatDiameter, "Label35", "da2", "-----蜗轮喉径", "mm", "wheel throat diameter"},
        {R::RimWorkingWidth, "Label34", "b2", "-----齿圈工作宽度", "mm", "rim working width"},
        {R::WheelMeasuredThickness, "Label44", "sn2", "------蜗轮测量齿厚", "mm", "wheel measured thickness"},
        {R::WheelMeasuredHeight, "Label45", "h2", "------蜗轮测量齿高", "mm", "wheel measured height"},
        {R::WheelTipArcRadius, "Label40", "Ra2", "-----蜗轮齿顶圆弧半径", "mm", "wheel tip arc radius"},
        {R::GrindingWheelAngle, "Label41", "βm", "----修形砂轮角", "°", "grinding wheel angle"},
        {R::ModificationRatio, "Label42", "im", "----修形传动比", "", "modification ratio"},
        {R::ModificationCentreDistance, "Label51", "Am", "----修形中心距", "mm", "modification centre distance"},
        {R::ModificationBaseDiameter, "Label52", "Dbm", "----修形主基圆直径", "mm", "modification base diameter"},
    }};
    return results;
}

const ResultDescription* ResultByLabel(std::string_view label) {
    for (const ResultDescription& result : Results()) {
        if (label == result.label) return &result;
    }
    return nullptr;
}

const char* PanelCaption(const PanelDescription& panel, Language language) {
    return language == Language::English ? panel.englishCaption : panel.caption;
}

const std::array<PanelDescription, 4>& Panels() {
    static const std::array<PanelDescription, 4> panels = {{
        {"GroupBox1", "  蜗杆参数  ", "  Worm parameters  ", 0, 17},
        {"GroupBox2", "  滚刀参数  ", "  Hob parameters  ", 17, 7},
        {"GroupBox3", "  蜗轮参数  ", "  Wheel parameters  ", 24, 6},
        {"GroupBox4", "蜗杆修形（一般型传动）  ", "Worm modification (general)  ", 30, 4},
    }};
    return panels;
}

}  // namespace wormgear
