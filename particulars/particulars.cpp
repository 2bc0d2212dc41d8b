// The particulars' table, their checks, their defaults and their resolution.
#include "particulars/particulars.h"

#include <algorithm>
#include <cmath>

#include "calc/numeric.h"
#include "calc/text.h"

namespace wormgear {

namespace {

using Id = ParticularId;
using K = ParticularKind;

const std::array<ParticularDescription, kParticularCount> kDescriptions = {{
    {Id::Designer, K::Line, std::nullopt, QT_TRANSLATE_NOOP("wormgear::Drawings", "设计")},
    {Id::Checker, K::Line, std::nullopt, QT_TRANSLATE_NOOP("wormgear::Drawings", "审核")},
    {Id::Approver, K::Line, std::nullopt, QT_TRANSLATE_NOOP("wormgear::Drawings", "批准")},
    {Id::Date, K::Line, std::nullopt, QT_TRANSLATE_NOOP("wormgear::Drawings", "日期")},
    {Id::Company, K::Line, std::nullopt, QT_TRANSLATE_NOOP("wormgear::Drawings", "单位")},
    {Id::WormDrawingNumber, K::Line, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆图号")},
    {Id::WormMaterial, K::Line, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆材料")},
    {Id::WormHeatTreatment, K::Line, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆热处理")},
    {Id::WormRequirements, K::Lines, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆技术要求")},
    {Id::WheelDrawingNumber, K::Line, Piece::Wheel, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮图号")},
    {Id::WheelMaterial, K::Line, Piece::Wheel, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮材料")},
    {Id::WheelHeatTreatment, K::Line, Piece::Wheel, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮热处理")},
    {Id::WheelRequirements, K::Lines, Piece::Wheel, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮技术要求")},
    {Id::HobDrawingNumber, K::Line, Piece::Hob, QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀图号")},
    {Id::HobMaterial, K::Line, Piece::Hob, QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀材料")},
    {Id::HobHeatTreatment, K::Line, Piece::Hob, QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀热处理")},
    {Id::HobRequirements, K::Lines, Piece::Hob, QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀技术要求")},
    {Id::WormLeftShaftDiameter, K::Length, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆左轴颈直径")},
    {Id::WormLeftShaftLength, K::Length, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆左轴颈长度")},
    {Id::WormRightShaftDiameter, K::Length, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆右轴颈直径")},
    {Id::WormRightShaftLength, K::Length, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆右轴颈长度")},
    {Id::WormLeftShoulderLength, K::Length, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆左轴肩长度")},
    {Id::WormRightShoulderLength, K::Length, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆右轴肩长度")},
    {Id::WormShoulderDiameter, K::Length, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆轴肩直径")},
    {Id::WormKeywayWidth, K::Length, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆键槽宽度")},
    {Id::WormKeywayDepth, K::Length, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆键槽深度")},
    {Id::WormKeywayLength, K::Length, Piece::Worm, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗杆键槽长度")},
    {Id::WheelHubDiameter, K::Length, Piece::Wheel, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮轮毂直径")},
    {Id::WheelHubLength, K::Length, Piece::Wheel, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮轮毂长度")},
    {Id::WheelWebThickness, K::Length, Piece::Wheel, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮辐板厚度")},
    {Id::WheelRimInsideDiameter, K::Length, Piece::Wheel, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮轮缘内径")},
    {Id::WheelBoreDiameter, K::Length, Piece::Wheel, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮轴孔直径")},
    {Id::WheelKeywayWidth, K::Length, Piece::Wheel, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮键槽宽度")},
    {Id::WheelKeywayDepth, K::Length, Piece::Wheel, QT_TRANSLATE_NOOP("wormgear::Drawings", "蜗轮键槽深度")},
    {Id::HobBoreDiameter, K::Length, Piece::Hob, QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀内孔直径")},
    {Id::HobHubDiameter, K::Length, Piece::Hob, QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀轴台直径")},
    {Id::HobHubLength, K::Length, Piece::Hob, QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀轴台长度")},
    {Id::HobKeywayWidth, K::Length, Piece::Hob, QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀键槽宽度")},
    {Id::HobKeywayDepth, K::Length, Piece::Hob, QT_TRANSLATE_NOOP("wormgear::Drawings", "滚刀键槽深度")},
}};

// Generic notes, true of every such part and bound to no standard's table:
// the designer writes his own where the shop needs more.
const std::vector<const char*> kWormRequirements = {
    QT_TRANSLATE_NOOP("wormgear::Drawings", "1. 未注倒角 C1。"),
    QT_TRANSLATE_NOOP("wormgear::Drawings", "2. 齿面粗糙度 Ra 0.8 μm。"),
    QT_TRANSLATE_NOOP("wormgear::Drawings", "3. 锐边倒钝，去除毛刺。"),
    QT_TRANSLATE_NOOP("wormgear::Drawings", "4. 与配对蜗轮成对加工，成对使用。"),
};
const std::vector<const char*> kWheelRequirements = {
    QT_TRANSLATE_NOOP("wormgear::Drawings", "1. 未注倒角 C1。"),
    QT_TRANSLATE_NOOP("wormgear::Drawings", "2. 齿面粗糙度 Ra 1.6 μm。"),
    QT_TRANSLATE_NOOP("wormgear::Drawings", "3. 锐边倒钝，去除毛刺。"),
    QT_TRANSLATE_NOOP("wormgear::Drawings", "4. 用配对滚刀加工，与配对蜗杆成对使用。"),
};
const std::vector<const char*> kHobRequirements = {
    QT_TRANSLATE_NOOP("wormgear::Drawings", "1. 未注倒角 C1。"),
    QT_TRANSLATE_NOOP("wormgear::Drawings", "2. 切削刃锋利，不得有崩刃、裂纹。"),
    QT_TRANSLATE_NOOP("wormgear::Drawings", "3. 锐边倒钝，去除毛刺。"),
    QT_TRANSLATE_NOOP("wormgear::Drawings", "4. 齿形按配对蜗杆的参数制造。"),
};

std::string DrawingsText(const Translate& translate, const char* text) {
    return Translated(translate, kDrawingsContext, text);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    // A line break after the last line ends it; it starts no empty line.
    while (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

// A control character other than the line break of 技术要求 (and its CR) is
// nothing a title block can show.
bool HasControlCharacter(const std::string& text, bool linesAllowed) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0x7F || (byte < 0x20 && !(linesAllowed && (c == '\n' || c == '\r')))) return true;
    }
    return false;
}

std::optional<double> LengthOf(const std::string& text, char separator) {
    try {
        const Extended value = ParseReal(text, separator);
        if (!std::isfinite(static_cast<double>(value)) || value < 0) return std::nullopt;
        return static_cast<double>(value);
    } catch (const NumericError&) {
        return std::nullopt;
    }
}

std::optional<ParticularProblem> CheckOne(const ParticularDescription& d, const std::string& text, char separator) {
    if (text.empty()) return std::nullopt;
    using P = ParticularProblem::Kind;
    if (!IsValidUtf8(text) || HasControlCharacter(text, d.kind == K::Lines))
        return ParticularProblem{d.id, P::InvalidText};
    switch (d.kind) {
        case K::Line:
            if (CharacterCount(text) > kMaxLineCharacters)
                return ParticularProblem{d.id, P::TooLong, kMaxLineCharacters};
            return std::nullopt;
        case K::Lines: {
            const std::vector<std::string> lines = SplitLines(text);
            if (lines.size() > static_cast<std::size_t>(kMaxRequirementLines))
                return ParticularProblem{d.id, P::TooManyLines, kMaxRequirementLines};
            for (std::size_t n = 0; n < lines.size(); ++n) {
                if (CharacterCount(lines[n]) > kMaxRequirementLineCharacters)
                    return ParticularProblem{d.id, P::LineTooLong, kMaxRequirementLineCharacters,
                                             static_cast<int>(n + 1)};
            }
            return std::nullopt;
        }
        case K::Length:
            if (CharacterCount(text) > kMaxLengthCharacters)
                return ParticularProblem{d.id, P::TooLong, kMaxLengthCharacters};
            if (!LengthOf(text, separator)) return ParticularProblem{d.id, P::NotALength};
            return std::nullopt;
    }
    return std::nullopt;
}

// The bodies as today's schematic drawings size them
// (drawing/hourglass_drawings.cpp, drawing/wheel_drawing.cpp), in the same
// double arithmetic, so that a design without particulars draws as it did.
struct HourglassEnds {
    double throatTip, endRadius;
};
HourglassEnds EndsOf(double A, double E, double tipRadius, double halfLength) {
    return {A + E - tipRadius, A + E - std::sqrt(tipRadius * tipRadius - halfLength * halfLength)};
}

double WormShaftDiameter(const TWormDesign& d) {
    const double throatTip = d.CentreDistance + d.TipArcEccentricity - d.WormTipArcRadius;
    const double throatRoot = d.CentreDistance - d.WormRootArcRadius;
    return 2 * (0.55 * std::min(throatTip, throatRoot > 0 ? throatRoot / 0.9 : throatTip));
}

struct WheelSchematic {
    double hub, bore, rimInside, webThickness, hubLength;  // diameters and lengths
};
WheelSchematic WheelOf(const TWormDesign& d) {
    const double pitch = d.WheelPitchDiameter / 2;
    const double root = pitch - d.Dedendum;
    const double halfWidth = d.RimWorkingWidth / 2.0;
    double rimInside = root - 2 * d.TransverseModule, hub = 0.35 * pitch, bore = 0.18 * pitch;
    const double webHalfWidth = 0.18 * d.RimWorkingWidth;
    const bool web = bore < hub && hub < rimInside && rimInside < root && webHalfWidth < halfWidth;
    // Where no web fits the drawing makes the wheel a plain disc on its bore.
    if (!web) rimInside = hub = bore = std::min(bore, 0.5 * root);
    return {2 * hub, 2 * bore, 2 * rimInside, web ? 2 * webHalfWidth : 2 * halfWidth, 2 * halfWidth};
}

std::optional<double> Finite(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

const std::array<ParticularDescription, kParticularCount>& ParticularDescriptions() { return kDescriptions; }

const ParticularDescription& Describe(ParticularId id) { return kDescriptions[static_cast<std::size_t>(id)]; }

std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += Utf8SequenceAt(text, at).length) ++count;
    return count;
}

std::optional<ParticularProblem> CheckParticulars(const Particulars& particulars, char decimalSeparator) {
    for (const ParticularDescription& d : kDescriptions) {
        if (auto problem = CheckOne(d, Text(particulars, d.id), decimalSeparator)) return problem;
    }
    return std::nullopt;
}

std::string DefaultDrawingNumber(Piece piece, const std::string& designFileName) {
    std::string base = designFileName.empty() ? std::string("WG") : designFileName;
    if (const auto dot = base.rfind('.'); dot != std::string::npos && dot > 0) base.erase(dot);
    const char* suffix = piece == Piece::Worm ? "-01" : piece == Piece::Wheel ? "-02" : "-03";
    return base + suffix;
}

const std::vector<const char*>& DefaultRequirementLines(Piece piece) {
    switch (piece) {
        case Piece::Worm: return kWormRequirements;
        case Piece::Wheel: return kWheelRequirements;
        case Piece::Hob: return kHobRequirements;
    }
    return kWormRequirements;
}

std::string DefaultRequirementsText(Piece piece, const Translate& translate) {
    std::string text;
    for (const char* line : DefaultRequirementLines(piece)) {
        if (!text.empty()) text += '\n';
        text += DrawingsText(translate, line);
    }
    return text;
}

std::optional<double> DefaultLength(ParticularId id, const TWormDesign& d) {
    switch (id) {
        case Id::WormLeftShaftDiameter:
        case Id::WormRightShaftDiameter: return Finite(WormShaftDiameter(d));
        case Id::WormLeftShaftLength:
        case Id::WormRightShaftLength: return Finite(std::max(0.6 * d.WormWorkingLength, 0.0));
        case Id::WormLeftShoulderLength:
        case Id::WormRightShoulderLength: return Finite(std::max(static_cast<double>(d.ShaftShoulder), 0.0));
        case Id::WormShoulderDiameter:
            return Finite(
                2 *
                EndsOf(d.CentreDistance, d.TipArcEccentricity, d.WormTipArcRadius, d.WormWorkingLength / 2).endRadius);
        case Id::WheelHubDiameter: return Finite(WheelOf(d).hub);
        case Id::WheelHubLength: return Finite(WheelOf(d).hubLength);
        case Id::WheelWebThickness: return Finite(WheelOf(d).webThickness);
        case Id::WheelRimInsideDiameter: return Finite(WheelOf(d).rimInside);
        case Id::WheelBoreDiameter: return Finite(WheelOf(d).bore);
        case Id::HobBoreDiameter:
            return Finite(2 * (0.45 * EndsOf(d.CentreDistance, d.TipArcEccentricity, d.HobBodyTipArcRadius,
                                             d.HobEffectiveLength / 2)
                                          .throatTip));
        case Id::HobHubDiameter:
            return Finite(
                2 * EndsOf(d.CentreDistance, d.TipArcEccentricity, d.HobBodyTipArcRadius, d.HobEffectiveLength / 2)
                        .endRadius);
        case Id::HobHubLength: return Finite(std::max(2 * d.TransverseModule, 0.0));
        default: return std::nullopt;
    }
}

std::string DefaultLengthText(double value, char decimalSeparator) {
    return FormatReal(DecimalRound(value, -1), decimalSeparator);
}

ShopParticulars ResolveParticulars(const Particulars& particulars, const TWormDesign& design,
                                   const std::string& designFileName, const std::string& today, char decimalSeparator,
                                   const Translate& translate) {
    const auto text = [&](Id id, const std::string& fallback) {
        const std::string& given = Text(particulars, id);
        return given.empty() ? ShownText{fallback, false} : ShownText{given, true};
    };
    const auto length = [&](Id id) {
        const std::string& given = Text(particulars, id);
        if (!given.empty()) {
            if (auto value = LengthOf(given, decimalSeparator)) return ShownLength{value, given, true};
        }
        ShownLength shown;
        shown.value = DefaultLength(id, design);
        if (shown.value) shown.text = DefaultLengthText(*shown.value, decimalSeparator);
        return shown;
    };
    ShopParticulars shop;
    shop.designer = text(Id::Designer, "");
    shop.checker = text(Id::Checker, "");
    shop.approver = text(Id::Approver, "");
    shop.date = text(Id::Date, today);
    shop.company = text(Id::Company, "");
    struct PieceIds {
        Id number, material, heat, requirements;
    };
    const PieceIds ids[] = {
        {Id::WormDrawingNumber, Id::WormMaterial, Id::WormHeatTreatment, Id::WormRequirements},
        {Id::WheelDrawingNumber, Id::WheelMaterial, Id::WheelHeatTreatment, Id::WheelRequirements},
        {Id::HobDrawingNumber, Id::HobMaterial, Id::HobHeatTreatment, Id::HobRequirements},
    };
    for (const Piece piece : kPieces) {
        const PieceIds& p = ids[static_cast<std::size_t>(piece)];
        PieceParticulars& out = shop.pieces[static_cast<std::size_t>(piece)];
        out.drawingNumber = text(p.number, DefaultDrawingNumber(piece, designFileName));
        out.material = text(p.material, "");
        out.heatTreatment = text(p.heat, "");
        const std::string& requirements = Text(particulars, p.requirements);
        out.requirementsUserSet = !requirements.empty();
        out.requirements = SplitLines(requirements.empty() ? DefaultRequirementsText(piece, translate) : requirements);
    }
    // The worm's mate is the wheel and the wheel's the worm; the hob's is the
    // wheel it cuts.
    shop.pieces[0].mateDrawingNumber = shop.pieces[1].drawingNumber.text;
    shop.pieces[1].mateDrawingNumber = shop.pieces[0].drawingNumber.text;
    shop.pieces[2].mateDrawingNumber = shop.pieces[1].drawingNumber.text;

    shop.worm = {length(Id::WormLeftShaftDiameter),  length(Id::WormLeftShaftLength),
                 length(Id::WormRightShaftDiameter), length(Id::WormRightShaftLength),
                 length(Id::WormLeftShoulderLength), length(Id::WormRightShoulderLength),
                 length(Id::WormShoulderDiameter),   length(Id::WormKeywayWidth),
                 length(Id::WormKeywayDepth),        length(Id::WormKeywayLength)};
    shop.wheel = {length(Id::WheelHubDiameter),       length(Id::WheelHubLength),    length(Id::WheelWebThickness),
                  length(Id::WheelRimInsideDiameter), length(Id::WheelBoreDiameter), length(Id::WheelKeywayWidth),
                  length(Id::WheelKeywayDepth)};
    shop.hob = {length(Id::HobBoreDiameter), length(Id::HobHubDiameter), length(Id::HobHubLength),
                length(Id::HobKeywayWidth), length(Id::HobKeywayDepth)};
    return shop;
}

}  // namespace wormgear
