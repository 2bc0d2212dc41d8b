// Fuzzes the drawings and the report's pages from arbitrary texts: the input
// is split at newlines into the thirteen field texts; the first byte sets the
// round-to-integer box. Every design that calculates is drawn: never a crash,
// never a coordinate or a measurement that is not a number, and the DXF file
// is written whatever the texts hold.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "calc/testing/worked_example.h"
#include "drawing/dxf_writer.h"
#include "drawing/report.h"

using namespace wormgear;

static void CheckFinite(double value) {
    if (!std::isfinite(value)) std::abort();
}

static void CheckGraphics(const drawing::Graphics& g) {
    for (const auto& line : g.lines) CheckFinite(line.a.x + line.a.y + line.b.x + line.b.y);
    for (const auto& arc : g.arcs) CheckFinite(arc.centre.x + arc.centre.y + arc.radius + arc.start + arc.end);
    for (const auto& circle : g.circles) CheckFinite(circle.centre.x + circle.centre.y + circle.radius);
    for (const auto& outline : g.outlines)
        for (const auto& v : outline.vertices) CheckFinite(v.at.x + v.at.y + v.bulge);
    for (const auto& text : g.texts) CheckFinite(text.at.x + text.at.y + text.height);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool round = data[0] & 1;
    // The fields the input gives, in their order; the rest keep the window's defaults.
    DesignInputs inputs;
    std::vector<std::string> texts(1);
    for (std::size_t n = 1; n < size && texts.size() <= static_cast<std::size_t>(kDesignFieldCount); ++n) {
        if (data[n] == '\n') texts.emplace_back();
        else texts.back() += static_cast<char>(data[n]);
    }
    for (std::size_t k = 0; k < texts.size() && k < static_cast<std::size_t>(kDesignFieldCount); ++k)
        FieldText(inputs, static_cast<DesignField>(k)) = texts[k];
    const TCoefficientTable coefficients = WorkedExampleCoefficients();
    const auto design = CalculatedDesign::From(inputs, round, coefficients, Calculate(inputs, round, coefficients, '.'),
                                               '.');
    if (!design) return 0;
    const TitleBlock title{"fuzz.cqb", "2024-05-01", "wormgear"};
    for (DrawingKind kind : kDrawingKinds) {
        const drawing::Sheet sheet = BuildDrawing(
            kind, *design, title, ResolveParticulars({}, design->design, title.design, title.date, '.'), {});
        CheckFinite(sheet.scale);
        CheckGraphics(sheet.graphics);
        for (const auto& dimension : sheet.dimensions) {
            CheckFinite(dimension.measurement());
            CheckGraphics(dimension.graphics);
        }
        if (DxfDocument(sheet).empty()) std::abort();
    }
    const ReportContent content{*design, title, {}, {}, {}};
    for (const auto& page : ReportPages(content)) CheckGraphics(page.sheet.graphics);
    if (ReportJson(content).empty()) std::abort();
    return 0;
}
