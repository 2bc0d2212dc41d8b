// The 34 result lines of a calculation and the four panels that show them:
// one table, in the window's panel order, that the window, wormcalc, the
// sheets' readers and the drawings all take names, symbols and units from.
//
//   Result(ResultId::WheelPitchDiameter).label   // "Label23"
//   Result(ResultId::WheelPitchDiameter).suffix  // "-----蜗轮分度圆直径"
//   Result(ResultId::WheelPitchDiameter).name()  // "蜗轮分度圆直径"
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "calc/translate.h"

namespace wormgear {

// In panel order: worm, hob, wheel, modification, each from its first line down.
enum class ResultId : std::uint8_t {
    // worm
    WheelPitchDiameter,
    TipArcEccentricity,
    WormRootArcRadius,
    WormWorkingLength,
    WormTipArcRadius,
    ShaftShoulder,
    MainBaseDiameter,
    GeneratingPlaneAngle,
    PressureAngle,
    WormMeasuredThickness,
    WormMeasuredHeight,
    TransverseModule,
    EnvelopedTeeth,
    WorkingHalfWrapAngle,
    ThroatLeadAngle,
    WormMaxTipDiameter,
    WormTipWidth,
    // hob
    HobBodyTipArcRadius,
    HobBodyRootArcRadius,
    HobEffectiveLength,
    HobMeasuredThickness,
    HobMeasuredHeight,
    HobEnvelopingTeeth,
    HobTipWidth,
    // wheel
    WheelMaxOuterDiameter,
    WheelThroatDiameter,
    RimWorkingWidth,
    WheelMeasuredThickness,
    WheelMeasuredHeight,
    WheelTipArcRadius,
    // worm modification
    GrindingWheelAngle,
    ModificationRatio,
    ModificationCentreDistance,
    ModificationBaseDiameter,
};
inline constexpr int kResultCount = 34;

struct ResultDescription {
    ResultId id;
    const char* label;     // the window's label that shows the line: "Label23"
    const char* symbol;    // "d2", "β", "Rf1"; unique among the 34
    int hyphens;           // before the name on the line: 5, 6 or 4
    const char* nameText;  // the Chinese name, the catalogue's key in wormgear::Results: "蜗轮分度圆直径"
    const char* unit;      // "mm", "°" or ""
    const char* suffix = nullptr;  // the hyphens and the name: "-----蜗轮分度圆直径" (made with the table)

    std::string_view name() const { return nameText; }
};

const std::array<ResultDescription, kResultCount>& Results();
inline const ResultDescription& Result(ResultId id) { return Results()[static_cast<int>(id)]; }

// The length of a result's suffix in bytes, measured once (every line asks).
inline std::size_t SuffixLength(ResultId id) {
    static const std::array<std::size_t, kResultCount> lengths = [] {
        std::array<std::size_t, kResultCount> measured{};
        for (std::size_t n = 0; n < measured.size(); ++n) measured[n] = std::strlen(Results()[n].suffix);
        return measured;
    }();
    return lengths[static_cast<std::size_t>(id)];
}

// The result shown by `label` ("Label23" -> WheelPitchDiameter), or nullptr.
const ResultDescription* ResultByLabel(std::string_view label);

struct PanelDescription {
    const char* name;     // the window's group box: "GroupBox1"
    const char* caption;  // as the window shows it, blanks included: "  蜗杆参数  " (wormgear::Results)
    int first;            // its lines: Results()[first .. first + count)
    int count;
};

// Worm, hob, wheel and modification panels.
const std::array<PanelDescription, 4>& Panels();
// The caption in the output's language: "  蜗杆参数  " or "  Worm parameters  ".
std::string PanelCaption(const PanelDescription& panel, const Translate& translate);
// The result's name in the output's language: "蜗轮分度圆直径" or "wheel pitch diameter".
std::string ResultName(const ResultDescription& result, const Translate& translate);

}  // namespace wormgear
