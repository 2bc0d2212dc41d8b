// Shared by the builders of the three sheets: the sheets themselves, the rows
// of their parameter tables and their title blocks.
#pragma once

#include <initializer_list>
#include <variant>
#include <vector>

#include "drawing/drawings.h"
#include "drawing/sheet_layout.h"

namespace wormgear::drawing {

Sheet BuildWormSheet(const CalculatedDesign& design, const TitleBlock& title, const Translate& translate);
Sheet BuildHobSheet(const CalculatedDesign& design, const TitleBlock& title, const Translate& translate);
Sheet BuildWheelSheet(const CalculatedDesign& design, const TitleBlock& title, const Translate& translate);

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

// The title block of a sheet at `scale`.
TitleContent MakeTitle(DrawingKind kind, double scale, const TitleBlock& title, const Translate& translate);
// "pair-03": the drawing number of a sheet of the design.
std::string DrawingNumber(DrawingKind kind, const TitleBlock& title);

}  // namespace wormgear::drawing
