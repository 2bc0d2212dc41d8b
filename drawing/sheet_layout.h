// What every sheet shares: paper sizes, the frame with its binding margin,
// the title block, parameter tables and the choice of a standard scale. The
// frame, title block and tables are laid out in paper millimetres on a
// builder placed at the sheet's scale.
#pragma once

#include <string>
#include <vector>

#include "drawing/drawings.h"
#include "drawing/sheet_builder.h"

namespace wormgear::drawing {

struct Paper {
    double width, height;  // mm
};
inline constexpr Paper kA3Landscape{420, 297};
inline constexpr Paper kA4Landscape{297, 210};

struct Rect {
    double left, bottom, right, top;
    double width() const { return right - left; }
    double height() const { return top - bottom; }
};

// Inside the frame: 25 mm binding margin on the left, 5 mm elsewhere.
Rect FrameInner(Paper paper);

// Model units per paper millimetre of the largest standard scale (1:1, 1:1.5,
// 1:2, 1:2.5, 1:3, 1:4, 1:5, 1:6 and their tenfold, or 2:1, 2.5:1, 4:1, 5:1
// and their tenfold) at which a box of width × height fits into the room
// (paper mm). A box without a finite positive size takes 1:1.
double ChooseScale(double width, double height, double roomWidth, double roomHeight);
// 2 -> "1:2", 1.5 -> "1:1.5", 0.25 -> "4:1".
std::string ScaleText(double scale);

// The paper millimetres kept free around a view for its dimensions.
struct Margins {
    double left, bottom, right, top;
};
// The standard scale at which a view's box (its own coordinates, true size)
// with its margins fits the room (paper mm).
double ScaleToFit(const Rect& box, const Rect& room, const Margins& margins);
// Where the view's origin goes (model units) so that the box with its
// margins stands in the middle of the room.
Point PlaceInRoom(const Rect& box, const Rect& room, const Margins& margins, double scale);

// What a sheet's builder reads besides the design.
struct ShopContext {
    const TitleBlock& title;
    const ShopParticulars& shop;
    const ToleranceTable& tolerances;
    const Translate& translate;
};

// A row of a parameter table, every text as the sheet shows it.
struct TableRow {
    std::string name;
    std::string symbol;
    std::string value;
    std::string unit;
};
// Rows of a parameter table, 5 mm each, their texts 3.5 mm: the worm's
// table of some thirty rows leaves the tooth detail its room beneath.
inline constexpr double kTableRowHeight = 5;
inline constexpr double kTableWidth = 100;

// Everything a title block shows, already in the interface's language.
struct TitleContent {
    std::string part;  // "蜗杆"
    std::string scale;
    std::string drawingNumber;
    std::string material;
    std::string company;
    std::string designer, checker, approver;
    std::string date;
    std::string program;
};
// Four rows of 8 mm: the part and its drawing number; 设计 with the date and
// the material; 审核 with the scale and the company; 批准 and the program.
inline constexpr double kTitleBlockWidth = 180;
inline constexpr double kTitleBlockHeight = 32;

// 技术要求 in the lower left corner, left of the title block: its heading and
// its lines, each wrapped to the room, at 3.5 mm.
struct RequirementsBlock {
    Rect area;                       // paper mm; of no height without lines
    std::vector<std::string> lines;  // as drawn, after wrapping
};
RequirementsBlock LayOutRequirements(Paper paper, const std::vector<std::string>& requirements);
// The lines a piece's 技术要求 shows: the lines as written, then its heat
// treatment, numbered after them, when one is given.
std::vector<std::string> RequirementLines(const PieceParticulars& piece, const Translate& translate);

// A builder placed so that local coordinates are paper millimetres.
void PlaceOnPaper(SheetBuilder& builder);

// The frame and the title block in the lower right corner.
void DrawFrame(SheetBuilder& builder, Paper paper, const TitleContent& title, const Translate& translate);

// A table with its upper right corner at (right, top), paper mm: a heading
// row across the table, then the rows; `columnHeads` adds a row naming the
// columns. Returns the lower edge.
double DrawTable(SheetBuilder& builder, double right, double top, const std::string& heading,
                 const std::vector<TableRow>& rows, bool columnHeads, const Translate& translate);

// Where the views go on a sheet whose parameter table has `rows` rows (and a
// second table of `extraRows` rows under it) in the upper right corner: the
// main views left of the tables, a detail under them.
struct SheetRooms {
    Rect views;
    Rect detail;
};
// The views keep clear of the 技术要求 block too.
SheetRooms RoomsBeside(Paper paper, std::size_t rows, std::size_t extraRows, const RequirementsBlock& requirements);

// The frame, the title block at the sheet's scale, the parameter table with
// its column heads and, when there are extra rows, a second table under it,
// and the 技术要求.
void DrawSheetFrame(SheetBuilder& builder, Paper paper, DrawingKind kind, const ShopContext& context,
                    const std::vector<TableRow>& rows, const std::string& extraHeading,
                    const std::vector<TableRow>& extraRows, const RequirementsBlock& requirements);

// A text of the drawings in the output's language: a name of the
// calculation's tables in its own context (TranslatedTableText), any other
// text in wormgear::Drawings; Chinese for an empty `translate`.
std::string Tr(const Translate& translate, const char* text);
std::string Tr(const Translate& translate, std::string_view text);

}  // namespace wormgear::drawing
