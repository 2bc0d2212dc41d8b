// The three drawings as data: which dimensions each carries, that every
// dimension measures the value whose window text it shows, that the tables
// carry the window's texts, that outlines close, and that designs far from
// the usual ones still give a sheet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "calc/testing/worked_example.h"
#include "drawing/drawings.h"
#include "drawing/dxf_writer.h"
#include "drawing/sheet_builder.h"
#include "drawing/sheet_layout.h"
#include "drawing/testing/test_designs.h"

namespace wormgear {
namespace {

using namespace drawing;
using testing::Calculated;
using testing::TestDesigns;
using R = ResultId;
using F = DesignField;

const TitleBlock kTitle{"pair.cqb", "2024-05-01", "wormgear 7.6"};

// Where a dimension's number comes from: a result line or an input field.
struct Source {
    std::optional<ResultId> result;
    std::optional<DesignField> field;
    Decoration decoration;
};
std::string TextOf(const CalculatedDesign& d, const Source& s) {
    return s.result ? d.shown(*s.result) : d.field(*s.field);
}

// The dimensions each drawing shows: the values a shop turns and grinds to.
const std::map<DrawingKind, std::vector<Source>> kDimensions = {
    {DrawingKind::Worm,
     {{R::WormWorkingLength, {}, Decoration::None},
      {R::ShaftShoulder, {}, Decoration::None},
      {R::WormMaxTipDiameter, {}, Decoration::Diameter},
      {{}, F::WormPitchDiameter, Decoration::Diameter},
      {{}, F::CentreDistance, Decoration::None},
      {R::WormTipArcRadius, {}, Decoration::Radius},
      {R::WormRootArcRadius, {}, Decoration::Radius},
      {R::MainBaseDiameter, {}, Decoration::Diameter},
      {R::WorkingHalfWrapAngle, {}, Decoration::Degrees},
      {R::WormMeasuredThickness, {}, Decoration::None},
      {R::WormMeasuredHeight, {}, Decoration::None}}},
    {DrawingKind::Wheel,
     {{R::WheelThroatDiameter, {}, Decoration::Diameter},
      {R::WheelPitchDiameter, {}, Decoration::Diameter},
      {R::RimWorkingWidth, {}, Decoration::None},
      {R::WheelMaxOuterDiameter, {}, Decoration::Diameter},
      {R::WheelTipArcRadius, {}, Decoration::Radius},
      {{}, F::CentreDistance, Decoration::None}}},
    {DrawingKind::Hob,
     {{R::HobEffectiveLength, {}, Decoration::None},
      {{}, F::CentreDistance, Decoration::None},
      {R::HobBodyTipArcRadius, {}, Decoration::Radius},
      {R::HobBodyRootArcRadius, {}, Decoration::Radius},
      {R::MainBaseDiameter, {}, Decoration::Diameter},
      {R::HobMeasuredThickness, {}, Decoration::None},
      {R::HobMeasuredHeight, {}, Decoration::None}}},
};

// The rows of each parameter table: name as the sheet shows it, and where the value comes from.
struct Row {
    const char* name;
    std::optional<ResultId> result;
    std::optional<DesignField> field;
    const char* text = nullptr;  // a fixed text instead
};
const std::map<DrawingKind, std::vector<Row>> kTables = {
    {DrawingKind::Worm,
     {{"中心距", {}, F::CentreDistance},
      {"蜗杆头数", {}, F::WormStarts},
      {"蜗轮齿数", {}, F::WheelTeeth},
      {"速比", {}, F::SpeedRatio},
      {"端面模数", R::TransverseModule, {}},
      {"主基圆直径", R::MainBaseDiameter, {}},
      {"母平面倾斜角", R::GeneratingPlaneAngle, {}},
      {"压力角", R::PressureAngle, {}},
      {"蜗杆喉部导程角", R::ThroatLeadAngle, {}},
      {"螺旋方向", {}, {}, "右"},
      {"包围齿数", R::EnvelopedTeeth, {}},
      {"工作半包角", R::WorkingHalfWrapAngle, {}},
      {"测量齿厚", R::WormMeasuredThickness, {}},
      {"测量齿高", R::WormMeasuredHeight, {}},
      {"蜗杆精度", {}, F::WormAccuracy},
      {"入口修缘", {}, F::EntranceRelief},
      {"出口修缘", {}, F::ExitRelief},
      {"修形砂轮角", R::GrindingWheelAngle, {}},
      {"修形传动比", R::ModificationRatio, {}},
      {"修形中心距", R::ModificationCentreDistance, {}},
      {"修形主基圆直径", R::ModificationBaseDiameter, {}},
      {"磨齿增量", {}, F::GrindingIncrement}}},
    {DrawingKind::Wheel,
     {{"蜗轮齿数", {}, F::WheelTeeth},
      {"端面模数", R::TransverseModule, {}},
      {"蜗轮分度圆直径", R::WheelPitchDiameter, {}},
      {"中心距", {}, F::CentreDistance},
      {"压力角", R::PressureAngle, {}},
      {"螺旋方向", {}, {}, "右"},
      {"蜗轮测量齿厚", R::WheelMeasuredThickness, {}},
      {"蜗轮测量齿高", R::WheelMeasuredHeight, {}},
      {"精度等级", {}, F::WormAccuracy},
      {"加工方法", {}, {}, "滚刀加工"},
      {"滚刀图号", {}, {}, "pair-03"}}},
    {DrawingKind::Hob,
     {{"滚刀包络齿数", R::HobEnvelopingTeeth, {}},
      {"滚刀测量齿厚", R::HobMeasuredThickness, {}},
      {"滚刀测量齿高", R::HobMeasuredHeight, {}},
      {"中心距", {}, F::CentreDistance},
      {"速比", {}, F::SpeedRatio},
      {"主基圆直径", R::MainBaseDiameter, {}},
      {"母平面倾斜角", R::GeneratingPlaneAngle, {}},
      {"滚刀精度", {}, F::HobAccuracy}}},
};

std::string Decorated(const Dimension& d) { return DecoratedText(d.value, d.decoration); }

TEST(CalculatedDesign, TakesTheNumberTextsOfTheWindowsLines) {
    const CalculationOutcome outcome = Calculate(WorkedExampleInputs(), false, WorkedExampleCoefficients(), '.');
    const auto d = CalculatedDesign::From(WorkedExampleInputs(), false, WorkedExampleCoefficients(), outcome, '.');
    ASSERT_TRUE(d);
    // The worked example's lines, without their suffixes.
    const std::pair<ResultId, const char*> kShown[] = {{R::WheelPitchDiameter, "322"},
                                                       {R::WormTipArcRadius, "156.492"},
                                                       {R::ShaftShoulder, "12"},
                                                       {R::GeneratingPlaneAngle, "11.025"},
                                                       {R::WormMaxTipDiameter, "103.76"},
                                                       {R::HobBodyRootArcRadius, "168.928"},
                                                       {R::WheelMeasuredThickness, "10.979"},
                                                       {R::ModificationBaseDiameter, "130.518"}};
    for (const auto& [id, text] : kShown) EXPECT_EQ(d->shown(id), text) << Result(id).label;
    EXPECT_EQ(d->field(F::WormAccuracy), "8j (GB/T16445-1996)");
}

TEST(CalculatedDesign, IsNeverMadeOfAFailedOrIncompleteCalculation) {
    DesignInputs inputs = WorkedExampleInputs();
    inputs.GrindingIncrement = "";  // fails at the last step, every other line written
    const CalculationOutcome failed = Calculate(inputs, false, WorkedExampleCoefficients(), '.');
    ASSERT_FALSE(failed.succeeded());
    EXPECT_FALSE(CalculatedDesign::From(inputs, false, WorkedExampleCoefficients(), failed, '.'));

    CalculationOutcome outcome = Calculate(WorkedExampleInputs(), false, WorkedExampleCoefficients(), '.');
    CalculationOutcome missing = outcome;
    missing.lines.pop_back();
    EXPECT_FALSE(CalculatedDesign::From(WorkedExampleInputs(), false, WorkedExampleCoefficients(), missing, '.'));
    CalculationOutcome altered = outcome;
    altered.lines[3].text += "x";
    EXPECT_FALSE(CalculatedDesign::From(WorkedExampleInputs(), false, WorkedExampleCoefficients(), altered, '.'));
}

TEST(Drawings, EachShowsItsDimensionsWithTheWindowsTextsAndTheirTrueMeasures) {
    for (const auto& design : TestDesigns()) {
        const CalculatedDesign d = Calculated(design);
        for (const auto& [kind, expected] : kDimensions) {
            SCOPED_TRACE(design.name + ", " + DrawingName(kind));
            const Sheet sheet = BuildDrawing(kind, d, kTitle, testing::NoParticulars(d, kTitle), {});
            std::multiset<std::string> shown, wanted;
            for (const Dimension& dim : sheet.dimensions) shown.insert(Decorated(dim));
            for (const Source& source : expected) wanted.insert(DecoratedText(TextOf(d, source), source.decoration));
            // The E value is drawn where there is one.
            if (kind == DrawingKind::Worm && d.design.TipArcEccentricity != 0)
                wanted.insert(d.shown(R::TipArcEccentricity));
            EXPECT_EQ(shown, wanted);
            for (const Dimension& dim : sheet.dimensions) {
                // The window's texts are rounded to 0.001 at most; a drawn
                // length measures the value before that rounding.
                const double value = static_cast<double>(ParseReal(dim.value, '.'));
                EXPECT_NEAR(dim.measurement(), value, 5e-4 + 1e-9) << Decorated(dim);
            }
        }
    }
}

// A text's rectangle on the sheet by the CAD fonts' proportions, a tenth
// wider for the painter's glyphs: its middle, the unit vector along it, half
// its width and height. Worked out here from the text's anchor, alignment
// and angle, apart from the builder's own box.
struct Box {
    Point middle, along;
    double halfWidth, halfHeight;
    bool holds(Point p) const {
        const Point d = p - middle;
        return std::abs(Dot(d, along)) < halfWidth && std::abs(Cross(along, d)) < halfHeight;
    }
    Point corner(double u, double v) const {
        return middle + along * (u * halfWidth) + Normal(along) * (v * halfHeight);
    }
};
Box BoxOfText(const TextEntity& t) {
    const double width = EstimatedTextWidth(t.text, t.height) * t.widthFactor * 1.1;
    const Point along = Direction(t.rotation);
    Point anchor = t.at;
    if (t.h == HAlign::Left) anchor = anchor + along * (width / 2);
    if (t.h == HAlign::Right) anchor = anchor - along * (width / 2);
    if (t.v == VAlign::Baseline) anchor = anchor + Normal(along) * (t.height / 2);
    if (t.v == VAlign::Top) anchor = anchor - Normal(along) * (t.height / 2);
    return {anchor, along, width / 2, t.height / 2};
}

// Points every `step` along the outlines, thin lines (hatching, the
// flanks' construction, root lines) and the hidden lines of a graphics.
void SamplePoints(const Graphics& g, double step, std::vector<Point>& out) {
    const auto kept = [](Layer layer) {
        return layer == Layer::Outline || layer == Layer::Thin || layer == Layer::Hatch || layer == Layer::Hidden;
    };
    const auto segment = [&](Point a, Point b) {
        const int n = 1 + static_cast<int>(Distance(a, b) / step);
        for (int i = 0; i <= n; ++i) out.push_back(a + (b - a) * (static_cast<double>(i) / n));
    };
    const auto arc = [&](Point centre, double radius, double from, double sweep) {
        const int n = 1 + static_cast<int>(std::abs(sweep) * M_PI / 180 * radius / step);
        for (int i = 0; i <= n; ++i) out.push_back(centre + Direction(from + sweep * i / n) * radius);
    };
    for (const LineEntity& l : g.lines)
        if (kept(l.layer)) segment(l.a, l.b);
    for (const ArcEntity& a : g.arcs)
        if (kept(a.layer)) arc(a.centre, a.radius, a.start, std::fmod(a.end - a.start + 720, 360.0));
    for (const CircleEntity& c : g.circles)
        if (kept(c.layer)) arc(c.centre, c.radius, 0, 360);
    for (const PolylineEntity& o : g.outlines) {
        if (!kept(o.layer)) continue;
        for (std::size_t i = 0; i < o.vertices.size(); ++i) {
            const PolyVertex& v = o.vertices[i];
            const Point next = o.vertices[(i + 1) % o.vertices.size()].at;
            if (v.bulge == 0) {
                segment(v.at, next);
            } else {
                // The chord's middle and its sagitta give the arc's centre.
                const double sweep = 4 * std::atan(v.bulge);
                const double chord = Distance(v.at, next), radius = chord / (2 * std::sin(std::abs(sweep) / 2));
                const Point middle = (v.at + next) * 0.5, u = Unit(next - v.at);
                const Point centre = middle + Normal(u) * (radius * std::cos(sweep / 2) * (sweep > 0 ? 1 : -1));
                arc(centre, radius, AngleOf(v.at - centre), sweep * 180 / M_PI);
            }
        }
    }
}

TEST(Drawings, DimensionTextsKeepClearOfTheLinesAndOfEachOther) {
    for (const auto& design : TestDesigns()) {
        const CalculatedDesign d = Calculated(design);
        for (DrawingKind kind : kDrawingKinds) {
            SCOPED_TRACE(design.name + ", " + DrawingName(kind));
            const Sheet sheet = BuildDrawing(kind, d, kTitle, testing::NoParticulars(d, kTitle), {});
            const double step = 0.1 * sheet.scale;  // a tenth of a paper millimetre
            std::vector<Point> lines;
            SamplePoints(sheet.graphics, step, lines);
            std::vector<std::pair<Box, std::string>> others;  // every text of the sheet
            for (const TextEntity& t : sheet.graphics.texts) others.push_back({BoxOfText(t), t.text});
            for (const Dimension& dim : sheet.dimensions)
                for (const TextEntity& t : dim.graphics.texts) others.push_back({BoxOfText(t), t.text});
            for (const Dimension& dim : sheet.dimensions) {
                for (const TextEntity& t : dim.graphics.texts) {
                    const Box box = BoxOfText(t);
                    const auto crossing = std::find_if(lines.begin(), lines.end(),
                                                       [&](Point p) { return box.holds(p); });
                    EXPECT_EQ(crossing, lines.end()) << t.text << " crosses a line at " << crossing->x / sheet.scale
                                                     << ", " << crossing->y / sheet.scale << " (paper mm)";
                    for (const auto& [other, text] : others) {
                        if (&text == &t.text || (Distance(other.middle, box.middle) == 0 && text == t.text)) continue;
                        bool overlap = false;
                        for (double u = -1; u <= 1 && !overlap; u += 0.1)
                            for (double v = -1; v <= 1 && !overlap; v += 0.1) overlap = box.holds(other.corner(u, v));
                        EXPECT_FALSE(overlap) << t.text << " overlaps " << text;
                    }
                }
            }
        }
    }
}

TEST(Drawings, WormAndHobDetailsAtOneEnlargementWithTheirMeasuringValues) {
    for (const auto& design : TestDesigns()) {
        SCOPED_TRACE(design.name);
        const CalculatedDesign d = Calculated(design);
        // A detail's dimensions measure with 1 / its enlargement in the
        // model; on paper the detail stands at lengthFactor times the sheet's scale.
        std::map<DrawingKind, std::set<double>> paperScales;
        std::map<DrawingKind, std::set<std::string>> detailTexts;
        for (DrawingKind kind : {DrawingKind::Worm, DrawingKind::Hob}) {
            const Sheet sheet = BuildDrawing(kind, d, kTitle, testing::NoParticulars(d, kTitle), {});
            for (const Dimension& dim : sheet.dimensions) {
                if (dim.lengthFactor == 1) continue;
                paperScales[kind].insert(dim.lengthFactor * sheet.scale);
                detailTexts[kind].insert(dim.value);
            }
        }
        ASSERT_EQ(paperScales[DrawingKind::Worm].size(), 1u);
        EXPECT_EQ(paperScales[DrawingKind::Hob], paperScales[DrawingKind::Worm]);
        EXPECT_EQ(detailTexts[DrawingKind::Worm],
                  (std::set<std::string>{d.shown(R::WormMeasuredThickness), d.shown(R::WormMeasuredHeight)}));
        EXPECT_EQ(detailTexts[DrawingKind::Hob],
                  (std::set<std::string>{d.shown(R::HobMeasuredThickness), d.shown(R::HobMeasuredHeight)}));
    }
}

TEST(Drawings, ExactValuesAreDrawnExactly) {
    const CalculatedDesign d = Calculated(TestDesigns().front());
    const Sheet worm = BuildDrawing(DrawingKind::Worm, d, kTitle, testing::NoParticulars(d, kTitle), {});
    std::map<std::string, double> measured;
    for (const Dimension& dim : worm.dimensions) measured[Decorated(dim)] = dim.measurement();
    EXPECT_NEAR(measured["101"], 101, 1e-9);
    EXPECT_NEAR(measured["R156.492"], 156.492, 1e-9);
    EXPECT_NEAR(measured["18.18\u00B0"], 18.18, 1e-9);
    EXPECT_NEAR(measured["8.686"], 8.686, 1e-9);               // the normal section's chord, enlarged and measured back
    EXPECT_NEAR(measured["\u2300103.76"], 103.7602588, 1e-6);  // the tip diameter at the ends, before rounding
}

// The texts of a table row by row: texts on the table layer at one height.
std::vector<std::set<std::string>> TableRows(const Sheet& sheet) {
    std::map<long long, std::set<std::string>> rows;
    for (const TextEntity& t : sheet.graphics.texts)
        if (t.layer == Layer::Table) rows[std::llround(t.at.y / sheet.scale * 10)].insert(t.text);
    std::vector<std::set<std::string>> out;
    for (auto& [y, texts] : rows) out.push_back(texts);
    return out;
}

TEST(Drawings, ParameterTablesCarryTheWindowsTexts) {
    for (const auto& design : TestDesigns()) {
        const CalculatedDesign d = Calculated(design);
        for (const auto& [kind, rows] : kTables) {
            SCOPED_TRACE(design.name + ", " + DrawingName(kind));
            const auto table = TableRows(BuildDrawing(kind, d, kTitle, testing::NoParticulars(d, kTitle), {}));
            for (const Row& row : rows) {
                const std::string value = row.text ? row.text : row.result ? d.shown(*row.result) : d.field(*row.field);
                const bool found = std::any_of(table.begin(), table.end(), [&](const std::set<std::string>& texts) {
                    return texts.count(row.name) && texts.count(value);
                });
                EXPECT_TRUE(found) << row.name << " " << value;
            }
        }
    }
}

std::set<std::string> TextsOf(const Sheet& sheet) {
    std::set<std::string> texts;
    for (const TextEntity& t : sheet.graphics.texts) texts.insert(t.text);
    return texts;
}

TEST(Drawings, TitleBlockShowsTheParticularsOrTheDefaults) {
    const CalculatedDesign d = Calculated(TestDesigns().front());
    Particulars given;
    Text(given, ParticularId::Designer) = "李工";
    Text(given, ParticularId::Checker) = "王工";
    Text(given, ParticularId::Approver) = "张总";
    Text(given, ParticularId::Date) = "2025-03-08";
    Text(given, ParticularId::Company) = "某某减速机厂";
    Text(given, ParticularId::WormDrawingNumber) = "QE-01";
    Text(given, ParticularId::WheelDrawingNumber) = "QE-02";
    Text(given, ParticularId::HobDrawingNumber) = "QE-03";
    Text(given, ParticularId::WormMaterial) = "20CrMnTi";
    Text(given, ParticularId::WheelMaterial) = "ZCuSn10Pb1";
    Text(given, ParticularId::HobMaterial) = "W18Cr4V";
    Text(given, ParticularId::WormHeatTreatment) = "渗碳淬火 HRC58～62";
    const ShopParticulars shop = ResolveParticulars(given, d.design, "pair.cqb", "2024-05-01", '.');
    struct Expected {
        DrawingKind kind;
        std::vector<std::string> texts;
    };
    const Expected kExpected[] = {
        {DrawingKind::Worm, {"QE-01", "20CrMnTi", "QE-02", "5. 热处理：渗碳淬火 HRC58～62"}},
        {DrawingKind::Wheel, {"QE-02", "ZCuSn10Pb1", "QE-01", "QE-03"}},
        {DrawingKind::Hob, {"QE-03", "W18Cr4V", "QE-02"}},
    };
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(DrawingName(e.kind));
        const Sheet sheet = BuildDrawing(e.kind, d, kTitle, shop, {});
        const auto texts = TextsOf(sheet);
        for (const std::string& text : e.texts) EXPECT_TRUE(texts.count(text)) << text;
        for (const char* text : {"李工", "王工", "张总", "2025-03-08", "某某减速机厂", "设计", "审核", "批准", "日期",
                                 "单位名称", "材料", "图号", "技术要求", "wormgear 7.6"})
            EXPECT_TRUE(texts.count(text)) << text;
        EXPECT_TRUE(texts.count(ScaleText(sheet.scale))) << ScaleText(sheet.scale);
        EXPECT_FALSE(texts.count("2024-05-01"));  // the given date, not today
    }
    // Without entries: the file's drawing numbers, today's date, the default 技术要求.
    const Sheet plain = BuildDrawing(DrawingKind::Wheel, d, kTitle, testing::NoParticulars(d, kTitle), {});
    const auto texts = TextsOf(plain);
    for (const char* text : {"pair-02", "pair-01", "pair-03", "2024-05-01", "1. 未注倒角 C1。"})
        EXPECT_TRUE(texts.count(text)) << text;
}

TEST(Drawings, EveryBodyDimensionEnteredIsDrawnAndMeasuresItsValue) {
    const CalculatedDesign d = Calculated(TestDesigns().front());
    using P = ParticularId;
    struct Entry {
        P id;
        const char* text;
        Decoration decoration;
        const char* shown = nullptr;  // a hub's keyway: d + t, its depth with the bore's diameter
    };
    const std::map<DrawingKind, std::vector<Entry>> kEntries = {
        {DrawingKind::Worm,
         {{P::WormLeftShaftDiameter, "45.5", Decoration::Diameter},
          {P::WormLeftShaftLength, "80", Decoration::None},
          {P::WormRightShaftDiameter, "40", Decoration::Diameter},
          {P::WormRightShaftLength, "62.5", Decoration::None},
          {P::WormLeftShoulderLength, "15", Decoration::None},
          {P::WormRightShoulderLength, "12.5", Decoration::None},
          {P::WormShoulderDiameter, "95", Decoration::Diameter},
          {P::WormKeywayWidth, "12", Decoration::None},
          {P::WormKeywayDepth, "5", Decoration::None},
          {P::WormKeywayLength, "50", Decoration::None}}},
        {DrawingKind::Wheel,
         {{P::WheelHubDiameter, "125", Decoration::Diameter},
          {P::WheelHubLength, "60", Decoration::None},
          {P::WheelWebThickness, "22", Decoration::None},
          {P::WheelRimInsideDiameter, "270", Decoration::Diameter},
          {P::WheelBoreDiameter, "70", Decoration::Diameter},
          {P::WheelKeywayWidth, "20", Decoration::None},
          {P::WheelKeywayDepth, "4.9", Decoration::None, "74.9"}}},
        {DrawingKind::Hob,
         {{P::HobBoreDiameter, "40", Decoration::Diameter},
          {P::HobHubDiameter, "88", Decoration::Diameter},
          {P::HobHubLength, "20", Decoration::None},
          {P::HobKeywayDepth, "3.3", Decoration::None, "43.3"},
          {P::HobKeywayWidth, "12", Decoration::None}}},
    };
    for (const auto& [kind, entries] : kEntries) {
        SCOPED_TRACE(DrawingName(kind));
        Particulars given;
        for (const Entry& e : entries) Text(given, e.id) = e.text;
        ASSERT_FALSE(CheckParticulars(given, '.'));
        const Sheet plain = BuildDrawing(kind, d, kTitle, testing::NoParticulars(d, kTitle), {});
        const Sheet sheet = BuildDrawing(kind, d, kTitle, ResolveParticulars(given, d.design, "pair.cqb", "", '.'), {});
        // The worm's right shoulder is dimensioned anyway: its entry changes the text.
        EXPECT_EQ(sheet.dimensions.size(), plain.dimensions.size() + entries.size() - (kind == DrawingKind::Worm));
        for (const Entry& e : entries) {
            SCOPED_TRACE(e.text);
            const std::string shown = e.shown ? e.shown : e.text;
            const auto found = std::find_if(
                sheet.dimensions.begin(), sheet.dimensions.end(),
                [&](const Dimension& dim) { return dim.value == shown && dim.decoration == e.decoration; });
            ASSERT_NE(found, sheet.dimensions.end());
            EXPECT_NEAR(found->measurement(), std::stod(shown), 1e-9);
        }
    }
}

TEST(Drawings, ATitleTextTooLongForItsCellIsWrappedNeverCut) {
    const CalculatedDesign d = Calculated(TestDesigns().front());
    Particulars given;
    // 40 characters each: the most an entry holds.
    const std::string number = "QE-2025-0001-ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string company = "某某省某某市某某区某某重型机械减速机制造有限责任公司第一分厂设计研究所技术科";
    Text(given, ParticularId::WormDrawingNumber) = number + "1";
    Text(given, ParticularId::Company) = company;
    ASSERT_FALSE(CheckParticulars(given, '.'));
    const ShopParticulars shop = ResolveParticulars(given, d.design, "pair.cqb", "2024-05-01", '.');
    const Sheet sheet = BuildDrawing(DrawingKind::Worm, d, kTitle, shop, {});
    // The number fits its cell at 2.5 mm; the company's name takes two lines.
    for (const auto& [whole, count] : {std::pair{number + "1", 1u}, std::pair{company, 2u}}) {
        SCOPED_TRACE(whole);
        // Its lines, top first: together they are the whole text.
        std::vector<const TextEntity*> lines;
        for (const TextEntity& t : sheet.graphics.texts)
            if (t.layer == Layer::Table && !t.text.empty() && whole.find(t.text) != std::string::npos &&
                t.text.size() > 9)  // not a caption such as 设计
                lines.push_back(&t);
        ASSERT_EQ(lines.size(), count);
        std::sort(lines.begin(), lines.end(), [](auto* a, auto* b) { return a->at.y > b->at.y; });
        std::string joined;
        for (const TextEntity* line : lines) joined += line->text;
        EXPECT_EQ(joined, whole);
        for (const TextEntity* line : lines) {
            EXPECT_EQ(line->height, kSmallTextHeight * sheet.scale);
            // Within its cell as the CAD fonts measure it, squeezed at most.
            EXPECT_LE(EstimatedTextWidth(line->text, kSmallTextHeight) * line->widthFactor,
                      line->room / sheet.scale + 1e-9);
        }
    }
}

TEST(Drawings, ToleranceRowsShowTheTablesMicrometresOrMissing) {
    const CalculatedDesign d = Calculated(TestDesigns().front());  // 8j, A = 200
    ToleranceTable table;
    ToleranceBand band{8, 160, 250, {}};
    band.values[static_cast<std::size_t>(ToleranceQuantity::WormThicknessUpper)] = -50;
    band.values[static_cast<std::size_t>(ToleranceQuantity::WormThicknessLower)] = -120;
    band.values[static_cast<std::size_t>(ToleranceQuantity::WheelThicknessUpper)] = 0;
    band.values[static_cast<std::size_t>(ToleranceQuantity::CentreDistance)] = 48;
    band.values[static_cast<std::size_t>(ToleranceQuantity::WheelRunout)] = 40;
    table.bands.push_back(band);
    ToleranceBand other = band;  // another grade's band never answers for grade 8
    other.grade = 7;
    other.values.fill(33);
    table.bands.insert(table.bands.begin(), other);
    const ShopParticulars shop = testing::NoParticulars(d, kTitle);
    struct Case {
        DrawingKind kind;
        const ToleranceTable* table;
        std::vector<std::pair<std::string, std::string>> rows;
    };
    const ToleranceTable empty;
    const Case kCases[] = {
        {DrawingKind::Worm, &table, {{"齿厚上偏差", "-50"}, {"齿厚下偏差", "-120"}, {"配对件图号", "pair-02"}}},
        {DrawingKind::Wheel,
         &table,
         {{"齿厚上偏差", "0"},
          {"齿厚下偏差", "未填"},
          {"配对件图号", "pair-01"},
          {"中心距偏差", "±48"},
          {"中间平面偏移", "未填"},
          {"径向跳动", "40"}}},
        {DrawingKind::Worm, &empty, {{"齿厚上偏差", "未填"}, {"齿厚下偏差", "未填"}, {"径向跳动", "未填"}}},
        {DrawingKind::Hob, &table, {{"配对件图号", "pair-02"}, {"齿顶高", "4.508"}, {"齿根高", "7.728"}}},
        {DrawingKind::Worm, &table, {{"轴向齿距", "20.232"}, {"蜗杆分度圆直径", "78"}}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(DrawingName(c.kind));
        const auto rows = TableRows(BuildDrawing(c.kind, d, kTitle, shop, *c.table));
        for (const auto& [name, value] : c.rows) {
            EXPECT_TRUE(
                std::any_of(rows.begin(), rows.end(), [&](const auto& r) { return r.count(name) && r.count(value); }))
                << name << " " << value;
        }
    }
    // A positive deviation with its sign, as a shop reads it.
    table.bands.back().values[static_cast<std::size_t>(ToleranceQuantity::WormThicknessUpper)] = 25;
    const auto rows = TableRows(BuildDrawing(DrawingKind::Worm, d, kTitle, shop, table));
    EXPECT_TRUE(
        std::any_of(rows.begin(), rows.end(), [](const auto& r) { return r.count("齿厚上偏差") && r.count("+25"); }));
}

TEST(Drawings, PaperSizesAreA3ForTheWormAndA4ForWheelAndHob) {
    const CalculatedDesign d = Calculated(TestDesigns().front());
    const std::map<DrawingKind, std::pair<double, double>> kPaper = {
        {DrawingKind::Worm, {420, 297}}, {DrawingKind::Wheel, {297, 210}}, {DrawingKind::Hob, {297, 210}}};
    for (const auto& [kind, paper] : kPaper) {
        const Sheet sheet = BuildDrawing(kind, d, kTitle, testing::NoParticulars(d, kTitle), {});
        EXPECT_EQ(sheet.width, paper.first);
        EXPECT_EQ(sheet.height, paper.second);
    }
}

double SignedArea(const PolylineEntity& outline) {
    double area = 0;
    const auto& v = outline.vertices;
    for (std::size_t i = 0; i < v.size(); ++i) area += Cross(v[i].at, v[(i + 1) % v.size()].at);
    return area / 2;
}

TEST(Drawings, OutlinesCloseWithoutSegmentsOfNoLength) {
    for (const auto& design : TestDesigns()) {
        const CalculatedDesign d = Calculated(design);
        for (DrawingKind kind : kDrawingKinds) {
            SCOPED_TRACE(design.name + ", " + DrawingName(kind));
            const Sheet sheet = BuildDrawing(kind, d, kTitle, testing::NoParticulars(d, kTitle), {});
            int parts = 0;
            for (const PolylineEntity& outline : sheet.graphics.outlines) {
                ASSERT_GE(outline.vertices.size(), 3u);
                for (std::size_t i = 0; i < outline.vertices.size(); ++i) {
                    const Point a = outline.vertices[i].at, b = outline.vertices[(i + 1) % outline.vertices.size()].at;
                    EXPECT_GT(Distance(a, b), 0) << "vertex " << i;
                    EXPECT_TRUE(std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(outline.vertices[i].bulge));
                }
                EXPECT_NE(SignedArea(outline), 0);
                if (outline.layer == Layer::Outline) ++parts;
            }
            // The part itself: the worm, the hob and the tooth detail; the wheel's two halves.
            EXPECT_GE(parts, kind == DrawingKind::Wheel ? 2 : 2);
        }
    }
}

TEST(Drawings, TheWormsThreadIsDrawnWithinTheWorkingLength) {
    const CalculatedDesign d = Calculated(TestDesigns().front());
    const Sheet sheet = BuildDrawing(DrawingKind::Worm, d, kTitle, testing::NoParticulars(d, kTitle), {});
    // The worm's outline: the largest one on the outline layer. Its upper
    // side runs down each flank to the root arc and up again.
    const PolylineEntity* worm = nullptr;
    for (const PolylineEntity& o : sheet.graphics.outlines)
        if (o.layer == Layer::Outline && (!worm || o.vertices.size() > worm->vertices.size())) worm = &o;
    ASSERT_NE(worm, nullptr);
    // Arcs: a tip arc before, between and after the spaces, a root arc in
    // each, and one tip arc on the lower side.
    std::size_t arcs = 0;
    for (const PolyVertex& v : worm->vertices) arcs += v.bulge != 0;
    const std::size_t spaces = (arcs - 2) / 2;
    EXPECT_EQ(spaces, 4u);  // the spaces whose flanks lie within the working length of 101
}

TEST(Drawings, TranslatedHeadingsForAnotherLanguage) {
    const CalculatedDesign d = Calculated(TestDesigns().front());
    const std::map<std::string, std::string> english = {{"参数表", "Parameters"},
                                                        {"名称", "Name"},
                                                        {"中心距", "Centre distance"},
                                                        {"螺旋方向", "Hand"},
                                                        {"右", "right"}};
    const Translate translate = [&](const char*, const char* text) {
        const auto found = english.find(text);
        return found == english.end() ? std::string(text) : found->second;
    };
    const Sheet sheet = BuildDrawing(DrawingKind::Worm, d, kTitle, testing::NoParticulars(d, kTitle), {}, translate);
    const auto rows = TableRows(sheet);
    const auto has = [&](const char* a, const std::string& b) {
        return std::any_of(rows.begin(), rows.end(), [&](const auto& r) { return r.count(a) && r.count(b); });
    };
    EXPECT_TRUE(has("Centre distance", d.field(F::CentreDistance)));
    EXPECT_TRUE(has("Hand", "right"));
    for (const auto& row : rows) {
        EXPECT_FALSE(row.count("参数表"));
        EXPECT_FALSE(row.count("中心距"));
    }
}

TEST(Drawings, DesignsFarFromTheUsualStillGiveASheet) {
    // Calculated designs whose geometry cannot be drawn in part: a three-tooth
    // wheel with a negative root diameter, a zero working length, an E larger
    // than the tip, a huge centre distance.
    struct Odd {
        const char* name;
        std::vector<std::pair<F, const char*>> fields;
    };
    const Odd kOdd[] = {
        {"three teeth", {{F::SpeedRatio, "3"}, {F::WheelTeeth, "3"}, {F::WormStarts, "1"}}},
        {"tiny centre distance",
         {{F::CentreDistance, "40"}, {F::MainBaseDiameter, "26"}, {F::WormPitchDiameter, "15"}}},
        {"large E", {{F::TipArcEccentricity, "90"}}},
        {"negative E", {{F::TipArcEccentricity, "-30"}}},
        {"huge", {{F::CentreDistance, "1e9"}, {F::MainBaseDiameter, "6.5e8"}, {F::WormPitchDiameter, "3.9e8"}}},
        {"pressure angle 90", {{F::MainBaseDiameter, "322"}}},
    };
    for (const Odd& odd : kOdd) {
        SCOPED_TRACE(odd.name);
        DesignInputs inputs = WorkedExampleInputs();
        for (const auto& [field, text] : odd.fields) FieldText(inputs, field) = text;
        const CalculationOutcome outcome = Calculate(inputs, false, WorkedExampleCoefficients(), '.');
        const auto d = CalculatedDesign::From(inputs, false, WorkedExampleCoefficients(), outcome, '.');
        if (!d) continue;  // not calculated: never drawn
        for (DrawingKind kind : kDrawingKinds) {
            const Sheet sheet = BuildDrawing(kind, *d, kTitle, testing::NoParticulars(*d, kTitle), {});
            EXPECT_GT(sheet.scale, 0);
            EXPECT_FALSE(sheet.graphics.texts.empty());
            const std::string dxf = DxfDocument(sheet);
            EXPECT_EQ(dxf.find("nan"), std::string::npos);
            EXPECT_EQ(dxf.find("inf"), std::string::npos);
            for (const Dimension& dim : sheet.dimensions) EXPECT_TRUE(std::isfinite(dim.measurement()));
        }
    }
}

TEST(Scale, TheLargestStandardScaleThatFits) {
    struct Case {
        double width, height, roomWidth, roomHeight, scale;
        const char* text;
    };
    const Case kCases[] = {
        {100, 50, 200, 200, 0.5, "2:1"}, {100, 50, 100, 100, 1, "1:1"},   {101, 50, 100, 100, 1.5, "1:1.5"},
        {300, 50, 100, 100, 3, "1:3"},   {610, 50, 100, 100, 10, "1:10"}, {10, 10, 100, 100, 0.1, "10:1"},
        {2, 1, 100, 100, 0.02, "50:1"},  {350, 250, 100, 100, 4, "1:4"},  {1e9, 1, 100, 100, 1e7, "1:10000000"},
        {0, 10, 100, 100, 1, "1:1"},     {NAN, 10, 100, 100, 1, "1:1"},
    };
    for (const Case& c : kCases) {
        const double scale = ChooseScale(c.width, c.height, c.roomWidth, c.roomHeight);
        EXPECT_DOUBLE_EQ(scale, c.scale) << c.width << " x " << c.height;
        EXPECT_EQ(ScaleText(scale), c.text);
    }
}

TEST(DxfText, ChineseInGbkSignsAsControlCodesTheRestEscaped) {
    const std::pair<const char*, const char*> kCases[] = {
        {"R156.492", "R156.492"},
        {"中心距", "\xD6\xD0\xD0\xC4\xBE\xE0"},
        {"\u2300103.76", "%%c103.76"},
        {"18.18\u00B0", "18.18%%d"},
        {"\u00B10.02", "%%p0.02"},
        {"α β γ φ Δ", "\xA6\xC1 \xA6\xC2 \xA6\xC3 \xA6\xD5 \xA6\xA4"},
        {"\xF0\x9F\x98\x80", "\\U+1F600"},
        {"50% of", "50% of"},
        {"a%%c", "a%%%%%%c"},
        {"C:\\U+4E2D", "C:\\U+005CU+4E2D"},
        {"a\nb\tc", "a b c"},
        {"\xFF", "\\U+FFFD"},
    };
    for (const auto& [text, dxf] : kCases) EXPECT_EQ(DxfText(text), dxf) << text;
    // At most 250 bytes, and never half a character.
    const std::string longText(200, 'x');
    EXPECT_EQ(
        DxfText(longText + "中中中中中中中中中中中中中中中中中中中中中中中中中中中中"),
        longText +
            std::string(
                "\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0"
                "\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0"));
}

TEST(Geometry, BulgesAndTheirArcs) {
    // A half circle counter-clockwise from (1, 0) to (-1, 0) about the origin.
    const auto half = ArcOfBulge({1, 0}, {-1, 0}, 1);
    ASSERT_TRUE(half);
    EXPECT_NEAR(half->centre.x, 0, 1e-12);
    EXPECT_NEAR(half->centre.y, 0, 1e-12);
    EXPECT_NEAR(half->radius, 1, 1e-12);
    EXPECT_NEAR(half->start, 0, 1e-12);
    EXPECT_NEAR(half->end, 180, 1e-12);
    // A quarter clockwise: the same arc counter-clockwise from the end.
    const double bulge = BulgeOf({0, 0}, {0, 1}, {1, 0}, false);
    EXPECT_NEAR(bulge, -std::tan(M_PI / 8), 1e-12);
    const auto quarter = ArcOfBulge({0, 1}, {1, 0}, bulge);
    ASSERT_TRUE(quarter);
    EXPECT_NEAR(quarter->start, 0, 1e-9);
    EXPECT_NEAR(quarter->end, 90, 1e-9);
    EXPECT_FALSE(ArcOfBulge({0, 0}, {1, 0}, 0));
}

TEST(Geometry, DimensionsMeasureTheirDefinitionPoints) {
    Dimension linear;
    linear.kind = DimensionKind::Linear;
    linear.first = {0, 0};
    linear.second = {3, 4};
    linear.rotation = 90;
    EXPECT_DOUBLE_EQ(linear.measurement(), 4);
    linear.lengthFactor = 0.25;
    EXPECT_DOUBLE_EQ(linear.measurement(), 1);
    Dimension radius;
    radius.kind = DimensionKind::Radius;
    radius.defpoint = {1, 1};
    radius.curve = {4, 5};
    EXPECT_DOUBLE_EQ(radius.measurement(), 5);
    Dimension angle;
    angle.kind = DimensionKind::Angular;
    angle.curve = {0, 0};
    angle.first = {0, -1};
    angle.second = {1, 0};
    EXPECT_NEAR(angle.measurement(), 90, 1e-12);
    std::swap(angle.first, angle.second);
    EXPECT_NEAR(angle.measurement(), 270, 1e-12);  // counter-clockwise from the first leg
}

TEST(Geometry, HatchingStaysInsideItsLoopAndLeavesHoles) {
    Sheet sheet;
    sheet.scale = 1;
    SheetBuilder b(sheet);
    const std::vector<PolyVertex> square = {{{0, 0}}, {{30, 0}}, {{30, 30}}, {{0, 30}}};
    const std::vector<PolyVertex> hole = {{{10, 15}, 1}, {{20, 15}, 1}};  // a circle of radius 5 about (15, 15)
    b.hatch({square, hole}, 3);
    ASSERT_GT(sheet.graphics.lines.size(), 10u);
    double length = 0;
    for (const LineEntity& line : sheet.graphics.lines) {
        for (Point p : {line.a, line.b}) {
            EXPECT_GE(p.x, -1e-9);
            EXPECT_LE(p.x, 30 + 1e-9);
            EXPECT_GE(p.y, -1e-9);
            EXPECT_LE(p.y, 30 + 1e-9);
        }
        const Point middle = (line.a + line.b) * 0.5;
        EXPECT_GT(Distance(middle, {15, 15}), 5 - 1e-9) << "a line crosses the hole";
        length += Distance(line.a, line.b);
    }
    // Lines 3 apart cover the area less the hole: length × spacing ≈ area.
    EXPECT_NEAR(length * 3, 900 - M_PI * 25, 60);
}

}  // namespace
}  // namespace wormgear
