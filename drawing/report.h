// The calculation report (计算书) as data: the title block, the thirteen input
// texts with their captions, the fifteen coefficients with their rules and
// whether each differs from the shipped value, the 34 results grouped as the
// window's four panels, the meshing analysis (its key values, and its plots on
// a page across: drawing/meshing_sheet.h), the design checks (every finding with its suggestion,
// the design's own, so no caller can leave them out; a design with an error
// is marked in red under the title), and the three drawings, each on a page
// of its own, every page numbered. A table that runs onto the next page
// repeats its column heads there. The pages are
// sheets, so the one painter routine puts them into the PDF; the design
// itself goes with it as JSON.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "drawing/drawings.h"
#include "drawing/sheet.h"
#include "drawing/sheet_layout.h"
#include "particulars/particulars.h"
#include "particulars/tolerances.h"

namespace wormgear {

struct ReportContent {
    CalculatedDesign design;
    TitleBlock title;
    // Each coefficient's rule as the coefficient store words it, and the
    // shipped value it is compared with (none when the store lacks it).
    std::array<std::string, kCoefficientCount> rules;
    std::array<std::optional<Real>, kCoefficientCount> shipped;
    // What the designer gave for the shop drawings (empty entries take their
    // defaults: ResolveParticulars with this design and the title's file
    // name and date), and the tolerance table of the coefficient store.
    Particulars particulars{};
    ToleranceTable tolerances{};

    // Whether c[k] is not the shipped value (or no shipped value is known).
    bool differs(int k) const;
};

// The particulars the drawings of `content` show: its entries resolved for
// its design, the title's file name and date.
ShopParticulars ShopOf(const ReportContent& content, const Translate& translate = {});

// A page of the report: its paper, texts and lines (the page number
// included); a drawing page names the drawing to paint into `area`.
struct ReportPage {
    drawing::Sheet sheet;
    std::optional<DrawingKind> drawing;
    drawing::Rect area{};
    bool plots = false;  // the meshing analysis's plots, across, drawn on the page itself
};

// The report's pages, A4: text pages upright, drawing pages across.
std::vector<ReportPage> ReportPages(const ReportContent& content, const Translate& translate = {});

// The pages with the three drawings they show, built once.
struct ReportDocument {
    std::vector<ReportPage> pages;
    std::array<drawing::Sheet, 3> drawings;  // by DrawingKind

    const drawing::Sheet& drawing(DrawingKind kind) const { return drawings[static_cast<std::size_t>(kind)]; }
};
ReportDocument BuildReport(const ReportContent& content, const Translate& translate = {});

// The design as JSON: inputs (keyed as wormcalc's options), the
// round-to-integer state, coefficients, shipped values, results (label,
// symbol, name, text, unit) and the checks ({"severity": "warning", "code",
// "message", "suggestion"}).
std::string ReportJson(const ReportContent& content, const Translate& translate = {});

}  // namespace wormgear
