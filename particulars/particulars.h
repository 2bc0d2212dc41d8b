// What a shop drawing needs besides the calculated numbers: the title block
// (设计, 审核, 批准, 日期, 单位), for each part (蜗杆, 蜗轮, 滚刀) its drawing number,
// material, heat treatment and 技术要求, and the body dimensions the drawings
// dimension but the calculation does not design (shafts, hub, web, bore,
// keyways). No Qt: the design file keeps them, the window edits them, the
// drawings read them.
//
// `Particulars` is what the designer gave, one text per entry, empty where he
// gave none; `ResolveParticulars` fills every empty entry with its default for
// a calculated design and tells which ones the user set:
//
//   Particulars given;
//   Text(given, ParticularId::WormMaterial) = "20CrMnTi";
//   ShopParticulars shop = ResolveParticulars(given, design, "pair.cqb", "2024-05-01", '.');
//   shop.piece(Piece::Worm).material          // {"20CrMnTi", userSet true}
//   shop.piece(Piece::Wheel).drawingNumber    // {"pair-02", userSet false}
//   shop.piece(Piece::Worm).mateDrawingNumber // "pair-02": the worm's mate is the wheel
//   shop.worm.leftShaftLength.value           // 0.6 L, as the drawing has always drawn it
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calc/design.h"
#include "calc/translate.h"

// lupdate finds each text by this marker and files it under its context; in
// the libraries without Qt the marker is the text itself, as in Qt.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x  // spelled as Qt spells it: a repeat is no redefinition
#endif

namespace wormgear {

// The three parts a drawing is made of, in the order of the drawings.
enum class Piece { Worm, Wheel, Hob };
inline constexpr Piece kPieces[] = {Piece::Worm, Piece::Wheel, Piece::Hob};

// Every entry, in the one order of the dialog and of the design file's rows.
enum class ParticularId {
    Designer,
    Checker,
    Approver,
    Date,
    Company,
    WormDrawingNumber,
    WormMaterial,
    WormHeatTreatment,
    WormRequirements,
    WheelDrawingNumber,
    WheelMaterial,
    WheelHeatTreatment,
    WheelRequirements,
    HobDrawingNumber,
    HobMaterial,
    HobHeatTreatment,
    HobRequirements,
    WormLeftShaftDiameter,
    WormLeftShaftLength,
    WormRightShaftDiameter,
    WormRightShaftLength,
    WormLeftShoulderLength,
    WormRightShoulderLength,
    WormShoulderDiameter,
    WormKeywayWidth,
    WormKeywayDepth,
    WormKeywayLength,
    WheelHubDiameter,
    WheelHubLength,
    WheelWebThickness,
    WheelRimInsideDiameter,
    WheelBoreDiameter,
    WheelKeywayWidth,
    WheelKeywayDepth,
    HobBoreDiameter,
    HobHubDiameter,
    HobHubLength,
    HobKeywayWidth,
    HobKeywayDepth,
};
inline constexpr int kParticularCount = 39;

enum class ParticularKind {
    Line,    // one line of text: a title block cell
    Lines,   // numbered lines: 技术要求
    Length,  // a length in mm, a number >= 0 in the user's notation
};

// What a title block cell holds: 40 characters (a Chinese character counts
// one) fill the widest cell of the title block at the 3.5 mm text height.
inline constexpr int kMaxLineCharacters = 40;
// 技术要求 above the title block: at most 12 lines of at most 60 characters,
// the width of the A4 title block at 3.5 mm.
inline constexpr int kMaxRequirementLines = 12;
inline constexpr int kMaxRequirementLineCharacters = 60;
// A length as typed: "1234.567" and far beyond fits.
inline constexpr int kMaxLengthCharacters = 20;

struct ParticularDescription {
    ParticularId id;
    ParticularKind kind;
    std::optional<Piece> piece;  // none for the title block
    const char* name;            // Chinese, with the part's name: "蜗杆材料"
};

// The descriptions in the order of ParticularId.
const std::array<ParticularDescription, kParticularCount>& ParticularDescriptions();
const ParticularDescription& Describe(ParticularId id);

// The designer's entries, by ParticularId; an empty text takes the default.
struct Particulars {
    std::array<std::string, kParticularCount> texts;
    bool operator==(const Particulars&) const = default;
};
inline std::string& Text(Particulars& p, ParticularId id) { return p.texts[static_cast<std::size_t>(id)]; }
inline const std::string& Text(const Particulars& p, ParticularId id) { return p.texts[static_cast<std::size_t>(id)]; }

// Why an entry cannot be kept: the first fault of CheckParticulars.
struct ParticularProblem {
    enum class Kind {
        TooLong,       // a Line or Length text beyond its characters
        TooManyLines,  // 技术要求 beyond kMaxRequirementLines
        LineTooLong,   // one of its lines beyond kMaxRequirementLineCharacters
        NotALength,    // a Length that is no number >= 0
        InvalidText,   // bytes that are no UTF-8, or a control character
    };
    ParticularId id;
    Kind kind;
    int limit = 0;  // the bound exceeded (characters or lines), 0 for the others
    int line = 0;   // for LineTooLong: the line, from 1
};

// The first entry that cannot be kept as it is, or none. Nothing is ever cut:
// a caller refuses the whole change and names the entry and its limit.
std::optional<ParticularProblem> CheckParticulars(const Particulars& particulars, char decimalSeparator);

// Characters as a reader counts them: code points of the UTF-8 text.
std::size_t CharacterCount(const std::string& text);

// "pair-02": the drawing number a part gets from the design file's name
// ("pair.cqb"; "WG" for a design not saved): -01 worm, -02 wheel, -03 hob.
std::string DefaultDrawingNumber(Piece piece, const std::string& designFileName);

// The default 技术要求 of a part, Chinese as written (QT_TRANSLATE_NOOP in the
// context wormgear::Drawings): generic notes true of every such part.
const std::vector<const char*>& DefaultRequirementLines(Piece piece);

// The default 技术要求 as one text, its lines joined by '\n', translated in
// wormgear::Drawings (an empty `translate` keeps the Chinese).
std::string DefaultRequirementsText(Piece piece, const Translate& translate = {});

// ---------------------------------------------------------------- resolved

struct ShownText {
    std::string text;
    bool userSet = false;
};

// A body dimension: its value in mm (none: not drawn, a keyway by default)
// and its text for a dimension line: as the user typed it, or the default
// rounded to 0.1 mm; the value of a default is exact, so the body is drawn
// where it has always been drawn.
struct ShownLength {
    std::optional<double> value;
    std::string text;
    bool userSet = false;
};

struct PieceParticulars {
    ShownText drawingNumber, material, heatTreatment;
    std::vector<std::string> requirements;  // the lines, numbered as written
    bool requirementsUserSet = false;
    std::string mateDrawingNumber;  // worm <-> wheel; the hob's is the wheel it cuts
};

// The worm: a shaft each side of the shoulders, the shoulders beyond the
// working length, a keyway on a shaft end.
struct WormBody {
    ShownLength leftShaftDiameter, leftShaftLength, rightShaftDiameter, rightShaftLength;
    ShownLength leftShoulderLength, rightShoulderLength, shoulderDiameter;
    ShownLength keywayWidth, keywayDepth, keywayLength;
};

// The wheel: rim, web and hub in the axial section, the bore with its keyway.
struct WheelBody {
    ShownLength hubDiameter, hubLength, webThickness, rimInsideDiameter, boreDiameter;
    ShownLength keywayWidth, keywayDepth;
};

// The hob: a bored body with a hub beyond the effective length each side.
struct HobBody {
    ShownLength boreDiameter, hubDiameter, hubLength;
    ShownLength keywayWidth, keywayDepth;
};

// Everything a drawing reads of the particulars, every entry filled.
struct ShopParticulars {
    ShownText designer, checker, approver, date, company;
    std::array<PieceParticulars, 3> pieces;
    WormBody worm;
    WheelBody wheel;
    HobBody hob;

    const PieceParticulars& piece(Piece p) const { return pieces[static_cast<std::size_t>(p)]; }
};

// The entries filled for `design` (a successful calculation's record): an
// empty drawing number by DefaultDrawingNumber, an empty date by `today`,
// empty 技术要求 by DefaultRequirementLines (translated), empty body
// dimensions by DefaultLength. Entries that fail CheckParticulars are taken
// as given where they are texts and as defaults where they are no length.
ShopParticulars ResolveParticulars(const Particulars& particulars, const TWormDesign& design,
                                   const std::string& designFileName, const std::string& today, char decimalSeparator,
                                   const Translate& translate = {});

// The default of a Length entry for `design`, as today's schematic drawings
// size the body; none for the keyways, which they do not draw.
std::optional<double> DefaultLength(ParticularId id, const TWormDesign& design);

// The text of a default length: rounded to 0.1 mm in the user's notation
// ("37.8"; "38" for 38.0).
std::string DefaultLengthText(double value, char decimalSeparator);

}  // namespace wormgear
