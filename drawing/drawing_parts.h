// Shared by the builders of the three sheets: the sheets themselves, the rows
// of their parameter tables and their title blocks.
#pragma once

#include <initializer_list>
#include <variant>
#include <vector>

#include "drawing/drawings.h"
#include "drawing/sheet_layout.h"

namespace wormgear::drawing {

Sheet BuildWormSheet(const CalculatedDesign& design, const ShopContext& context);
Sheet BuildHobSheet(const CalculatedDesign& design, const ShopContext& context);
Sheet BuildWheelSheet(const CalculatedDesign& design, const ShopContext& context);

// The true flanks of the worm's thread (kind Worm) or the hob's (Hob) as the
// drawing draws them in the axial section through the throat: in the view's
// coordinates (along the worm axis from the throat, and from the worm axis
// towards the wheel axis), each from tip to root; empty where the flanks
// cannot be placed and the drawing falls back on its schematic.
std::vector<std::vector<Point>> TrueAxialFlanks(const CalculatedDesign& design, DrawingKind kind);

// A row with a name of the drawings' own and a value.
TableRow TextRow(const char* name, const std::string& value, const Translate& translate);

// Rows from where their values come: a result as the window shows it (name,
// symbol, number text, unit), an input field as typed, or a row made already.
using RowSource = std::variant<ResultId, DesignField, TableRow>;
std::vector<TableRow> Rows(const CalculatedDesign& design, std::initializer_list<RowSource> sources,
                           const Translate& translate);

// The rows every shop drawing adds to its parameter table: for the worm and
// the hob the addendum ha and the dedendum hf, for the worm the axial pitch
// px (the record's rounded values, in the window's notation; the hob, made
// to its worm's numbers, keeps the room beneath its table for the tooth
// detail at the worm's enlargement), the mate's drawing
// number, and for the worm and the wheel the upper and lower deviations of
// the tooth thickness at the measuring height from the tolerance table's
// band of the pair's grade (蜗杆精度) and centre distance: "+50", "-120" µm,
// 未填 where the table has none.
void AppendShopRows(std::vector<TableRow>& rows, DrawingKind kind, const CalculatedDesign& design,
                    const ShopContext& context);
// "+50", "-120", "0" (µm, the design's notation) or 未填 for a missing one.
std::string DeviationText(const std::optional<double>& micrometres, char separator, const Translate& translate);

// The roughness the drawings mark (GB/T 131, Ra in µm): ground worm flanks
// and shaft seats, hobbed wheel flanks and the wheel's bore, the hob's
// relieved flanks and its bore; the default 技术要求 name the flanks' too.
inline constexpr const char* kWormFlankRoughness = "Ra 0.8";
inline constexpr const char* kShaftSeatRoughness = "Ra 0.8";
inline constexpr const char* kWheelFlankRoughness = "Ra 1.6";
inline constexpr const char* kWheelBoreRoughness = "Ra 1.6";
inline constexpr const char* kHobFlankRoughness = "Ra 0.4";
inline constexpr const char* kHobBoreRoughness = "Ra 0.8";

// The title block of a sheet at `scale`.
TitleContent MakeTitle(DrawingKind kind, double scale, const ShopContext& context);
// "pair-03": the default drawing number of a sheet of the design.
std::string DrawingNumber(DrawingKind kind, const TitleBlock& title);
// The piece a drawing shows.
inline Piece PieceOf(DrawingKind kind) { return static_cast<Piece>(kind); }

// The text a body dimension shows: the designer's entry as typed, else the
// window's text of the result it defaults to.
inline const std::string& BodyText(const ShownLength& length, const std::string& shownDefault) {
    return length.userSet ? length.text : shownDefault;
}
// A body length for the drawing: the entry, else `fallback`.
inline double BodyValue(const ShownLength& length, double fallback) { return length.value.value_or(fallback); }

}  // namespace wormgear::drawing
