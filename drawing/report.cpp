// The report's text pages, laid out as tables flowing down A4 pages, its
// drawing pages, and its JSON.
#include "drawing/report.h"

#include <algorithm>
#include <charconv>

#include "calc/formula_steps.h"
#include "drawing/drawing_texts.h"
#include "drawing/meshing_sheet.h"
#include "drawing/sheet_builder.h"
#include "json/json.h"

namespace wormgear {

namespace {

using namespace drawing;

constexpr Paper kA4Portrait{210, 297};
// Text pages: margins, rows and texts, mm.
constexpr double kLeft = 20, kRight = 195, kTop = 282, kBottom = 20;
constexpr double kRow = 5.6, kCellText = 3, kHeadingText = 4.5, kTitleText = 7;
// From one line of a wrapped cell to the next.
constexpr double kLineStep = 4.4;

// Flows headings and table rows down the pages, starting a page where the
// next block does not fit; a table's column heads stand again at the top of
// every page it continues on.
class PageFlow {
 public:
    PageFlow() { newPage(); }

    std::vector<ReportPage>& pages() { return pages_; }
    // Drawing directly places what waits first.
    SheetBuilder& builder() {
        placePending(0);
        return *builder_;
    }
    double& y() {
        placePending(0);
        return y_;
    }

    void newPage() {
        ReportPage page;
        page.sheet.width = kA4Portrait.width;
        page.sheet.height = kA4Portrait.height;
        page.sheet.scale = 1;
        pages_.push_back(std::move(page));
        builder_.emplace(pages_.back().sheet);
        y_ = kTop;
        if (head_ && !headPending_) cells(head_->widths, head_->cells, head_->leftColumns);
    }
    // Room for `height` mm below what waits to be placed, on a new page
    // together with it if this one is too full.
    void need(double height) {
        if (pendingHeading_ || headPending_) placePending(height);
        else if (y_ - height < kBottom) newPage();
    }

    // A section's heading waits for what follows it, and a table's column
    // heads for its first row, so that neither stands alone at the foot of a
    // page; the heads stand again at the top of every page the table
    // continues on, until the table ends (at the next heading, or endTable).
    void heading(const std::string& text) {
        endTable();
        placePending(0);
        pendingHeading_ = text;
    }
    void tableHead(const std::vector<double>& widths, const std::vector<std::string>& heads, unsigned leftColumns = 1) {
        if (headPending_) placePending(0);  // the heads of a table without rows
        head_ = Head{widths, heads, leftColumns};
        headPending_ = true;
    }
    void endTable() {
        placePending(0);
        head_.reset();
    }

    // One row of cells, `widths` mm each; the columns whose bits are set in
    // `leftColumns` stand at the left of their cells, the others in the middle.
    // A text too long for its cell wraps, and the row grows with it.
    void row(const std::vector<double>& widths, const std::vector<std::string>& texts, unsigned leftColumns = 1) {
        const double height = HeightOf(widths, texts);
        need(height);
        cells(widths, texts, leftColumns);
    }

    void gap(double height) { y_ -= height; }

 private:
    struct Head {
        std::vector<double> widths;
        std::vector<std::string> cells;
        unsigned leftColumns;
    };

    static constexpr double kHeadingHeight = kHeadingText + 5;

    // Places the waiting heading and heads with `following` mm after them.
    void placePending(double following) {
        if (!pendingHeading_ && !headPending_) return;
        const double heads = headPending_ ? HeightOf(head_->widths, head_->cells) : 0;
        const bool headsWait = headPending_;
        headPending_ = false;
        if (y_ - (pendingHeading_ ? kHeadingHeight : 0) - heads - following < kBottom) {
            // The new page shows no heads of its own: they follow here.
            std::optional<Head> head = std::move(head_);
            head_.reset();
            newPage();
            head_ = std::move(head);
        }
        if (pendingHeading_) {
            y_ -= kHeadingText + 2;
            builder_->text({kLeft, y_}, kHeadingText, *pendingHeading_, HAlign::Left, VAlign::Baseline, 0,
                           Layer::Table);
            y_ -= 3;
            pendingHeading_.reset();
        }
        if (headsWait) cells(head_->widths, head_->cells, head_->leftColumns);
    }

    static double RowHeight(std::size_t lines) { return kRow + static_cast<double>(lines - 1) * kLineStep; }
    static double HeightOf(const std::vector<double>& widths, const std::vector<std::string>& texts) {
        std::size_t lines = 1;
        for (std::size_t c = 0; c < widths.size() && c < texts.size(); ++c)
            lines = std::max(lines, WrappedLines(texts[c], kCellText, widths[c] - 3).size());
        return RowHeight(lines);
    }

    void cells(const std::vector<double>& widths, const std::vector<std::string>& texts, unsigned leftColumns) {
        std::vector<std::vector<std::string>> wrapped;
        std::size_t lines = 1;
        for (std::size_t c = 0; c < widths.size(); ++c) {
            wrapped.push_back(c < texts.size() ? WrappedLines(texts[c], kCellText, widths[c] - 3)
                                               : std::vector<std::string>{});
            lines = std::max(lines, wrapped.back().size());
        }
        SheetBuilder& b = *builder_;
        const double top = y_, bottom = y_ - RowHeight(lines);
        double x = kLeft;
        b.line({kLeft, top}, {kRight, top}, Layer::Table);
        b.line({kLeft, bottom}, {kRight, bottom}, Layer::Table);
        b.line({kLeft, top}, {kLeft, bottom}, Layer::Table);
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const double w = widths[c];
            const bool left = (leftColumns >> c) & 1;
            // A single line in the middle of its row; more from the top down.
            double line = wrapped[c].size() == 1 ? (top + bottom) / 2 : top - kRow / 2;
            for (const std::string& text : wrapped[c]) {
                b.text({left ? x + 1.5 : x + w / 2, line}, kCellText, text, left ? HAlign::Left : HAlign::Centre,
                       VAlign::Middle, 0, Layer::Table, w - 2);
                line -= kLineStep;
            }
            x += w;
            b.line({x, top}, {x, bottom}, Layer::Table);
        }
        y_ = bottom;
    }

    std::vector<ReportPage> pages_;
    std::optional<SheetBuilder> builder_;
    double y_ = kTop;
    std::optional<Head> head_;
    bool headPending_ = false;
    std::optional<std::string> pendingHeading_;
};

std::string Number(double value) {
    if (!std::isfinite(value)) return "null";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first, last - first + 1));
}

std::string PageNumber(const Translate& translate, std::size_t page, std::size_t count) {
    std::string text = Tr(translate, texts::kPage);
    for (const auto& [mark, number] : {std::pair{"%1", page}, std::pair{"%2", count}}) {
        if (const auto at = text.find(mark); at != std::string::npos) text.replace(at, 2, std::to_string(number));
    }
    return text;
}

}  // namespace

bool ReportContent::differs(int k) const {
    const auto& reference = shipped[static_cast<std::size_t>(k)];
    return !reference || *reference != design.coefficients.c[static_cast<std::size_t>(k)];
}

std::vector<ReportPage> ReportPages(const ReportContent& content, const Translate& translate) {
    const CalculatedDesign& d = content.design;
    const auto tr = [&](auto text) { return Tr(translate, text); };
    PageFlow flow;
    SheetBuilder* b = &flow.builder();

    // Title block.
    flow.y() -= kTitleText;
    b->text({(kLeft + kRight) / 2, flow.y()}, kTitleText, tr(texts::kReportTitle), HAlign::Centre, VAlign::Baseline, 0,
            Layer::Table);
    flow.gap(6);
    const std::vector<double> info = {30, 145};
    flow.row(info,
             {tr(texts::kDesign), content.title.design.empty() ? tr(texts::kUnsavedDesign) : content.title.design});
    const ShopParticulars shop = ShopOf(content, translate);
    flow.row(info, {tr(texts::kDate), content.title.date});
    flow.row(info, {tr(texts::kProgram), content.title.program});
    if (!shop.company.text.empty()) flow.row(info, {tr(texts::kCompanyName), shop.company.text});
    // Who designed, checked and approved it, on the date of the drawings;
    // empty names leave the cells to sign in.
    flow.gap(3);
    const std::vector<double> review = {30, 85, 60};
    flow.tableHead(review, {tr(texts::kReview), tr(texts::kPersonName), tr(texts::kDate)});
    for (const auto& [role, person] :
         {std::pair{texts::kDesign, &shop.designer}, std::pair{texts::kChecker, &shop.checker},
          std::pair{texts::kApprover, &shop.approver}})
        flow.row(review, {tr(role), person->text, shop.date.text});
    flow.endTable();
    if (d.hasErrors()) {
        flow.gap(kWarningTextHeight + 2);
        flow.builder().text({kLeft, flow.y()}, kWarningTextHeight, tr(kChecksErrorMark), HAlign::Left, VAlign::Baseline,
                            0, Layer::Warning);
    }

    // The thirteen inputs and the round-to-integer box.
    flow.heading("1  " + tr(texts::kInputsSection));
    const std::vector<double> inputs = {50, 25, 75, 25};
    flow.tableHead(inputs, {tr(texts::kName), tr(texts::kSymbol), tr(texts::kValue), tr(texts::kUnit)});
    for (const DesignFieldDescription& field : DesignFields())
        flow.row(inputs, {tr(field.name), field.symbol, d.field(field.field), tr(field.unit)});
    flow.row(inputs, {tr(texts::kRoundTeeth), "", tr(d.roundEnvelopedTeeth ? texts::kYes : texts::kNo), ""});

    // The coefficients, marked where they are not the shipped ones.
    flow.heading("2  " + tr(texts::kCoefficientsSection));
    const std::vector<double> rules = {16, 100, 22, 22, 15};
    flow.tableHead(rules, {tr(texts::kSymbol), tr(texts::kRule), tr(texts::kValue), tr(texts::kShippedValue), ""},
                   0b11);
    bool anyDiffers = false;
    for (int k = 0; k < kCoefficientCount; ++k) {
        const auto n = static_cast<std::size_t>(k);
        const bool differs = content.differs(k);
        anyDiffers = anyDiffers || differs;
        flow.row(rules,
                 {"c[" + std::to_string(k) + "]", content.rules[n], FormatReal(d.coefficients.c[n], d.decimalSeparator),
                  content.shipped[n] ? FormatReal(*content.shipped[n], d.decimalSeparator) : tr(texts::kShippedUnknown),
                  differs ? tr(texts::kModifiedMark) : std::string()},
                 0b11);
    }
    flow.endTable();
    if (anyDiffers) {
        flow.need(kRow);
        flow.y() -= 4.5;
        flow.builder().text({kLeft, flow.y()}, kCellText, tr(texts::kModifiedNote), HAlign::Left, VAlign::Baseline, 0,
                            Layer::Table);
        flow.gap(1.5);
    }

    // The results, panel by panel.
    flow.heading("3  " + tr(texts::kResultsSection));
    const std::vector<double> results = {25, 80, 45, 25};
    for (const PanelDescription& panel : Panels()) {
        flow.endTable();
        flow.need(3 * kRow);
        flow.y() -= 5;
        flow.builder().text({kLeft, flow.y()}, kCellText + 0.5, tr(Trimmed(panel.caption)), HAlign::Left,
                            VAlign::Baseline, 0, Layer::Table);
        flow.gap(1.5);
        flow.tableHead(results, {tr(texts::kSymbol), tr(texts::kName), tr(texts::kValue), tr(texts::kUnit)});
        for (int i = panel.first; i < panel.first + panel.count; ++i) {
            const ResultDescription& result = Results()[static_cast<std::size_t>(i)];
            flow.row(results, {result.symbol, tr(result.name()), d.shown(result.id), tr(result.unit)});
        }
    }

    // Every step of the chain with its numbers put in, in the chain's order.
    int section = 4;
    {
        flow.heading(std::to_string(section++) + "  " + tr(texts::kStepsSection));
        const std::vector<double> steps = {14, 36, 105, 20};
        flow.tableHead(steps, {tr(texts::kSymbol), tr(texts::kName), tr(texts::kCalculation), tr(texts::kRule)}, 0b110);
        for (const FormulaStep& step :
             FormulaSteps(d.inputs, d.roundEnvelopedTeeth, d.design, d.coefficients, d.decimalSeparator)) {
            std::string unit = step.unit;
            if (!unit.empty() && unit != "°") unit = " " + unit;
            flow.row(steps,
                     {step.symbol, tr(step.name), step.rule + " = " + step.numbers + " = " + step.result + unit,
                      step.coefficient >= 0 ? "c[" + std::to_string(step.coefficient) + "]" : std::string()},
                     0b110);
        }
        flow.endTable();
    }

    // The design checks, every finding with its suggestion beneath its message.
    if (!d.findings.empty()) {
        flow.heading(std::to_string(section++) + "  " + tr(texts::kChecksSection));
        const std::vector<double> checks = {18, 42, 115};
        flow.tableHead(checks, {tr(texts::kSeverity), tr(texts::kCode), tr(texts::kMessage)}, 0b110);
        for (const Finding& finding : d.findings) {
            std::string text = FindingMessage(finding, translate, d.decimalSeparator);
            const std::string suggestion = FindingSuggestion(finding, translate, d.decimalSeparator);
            if (!suggestion.empty())
                text += "\n" + FillNames(Translated(translate, kChecksContext,
                                                    QT_TRANSLATE_NOOP("wormgear::Checks", "{suggestion}：{text}")),
                                         {{"suggestion", SuggestionWord(translate)}, {"text", suggestion}});
            flow.row(checks, {SeverityWord(finding.severity(), translate), finding.id(), text}, 0b110);
        }
        flow.endTable();
    }

    // The meshing analysis: its key values here, its plots on a page across
    // after the drawings.
    std::optional<Sheet> plots;
    {
        flow.heading(std::to_string(section++) + "  " + tr(texts::kMeshing));
        std::optional<meshing::MeshingAnalysis> analysis;
        const char* refusal = nullptr;
        if (d.hasErrors()) {
            refusal = texts::kNoMeshingForErrors;
        } else {
            try {
                analysis = meshing::AnalyseMeshing(d.design, {});
            } catch (const meshing::MeshingError&) {
                refusal = texts::kNoMeshingForFlanks;
            }
        }
        if (refusal) {
            flow.row({175}, {tr(refusal)});
        } else {
            const meshing::MeshingAnalysis& a = *analysis;
            double sliding = 0, lubrication = 90, curvature = 0;
            for (const meshing::ContactCurve& c : a.contactLines)
                for (const meshing::ContactPoint& p : c.points) {
                    sliding = std::max(sliding, p.slidingSpeed);
                    lubrication = std::min(lubrication, p.lubricationAngle);
                    curvature = std::max(curvature, p.inducedCurvature);
                }
            const auto fixed = [](double v, int decimals) {
                char buffer[32];
                return std::string(
                    buffer, std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals).ptr);
            };
            const auto zone = [&](const meshing::LimitLine& l) {
                return tr(l.inToothZone ? texts::kInToothZone : texts::kOutsideToothZone);
            };
            const std::vector<double> values = {70, 105};
            flow.tableHead(values, {tr(texts::kName), tr(texts::kValue)}, 0b11);
            flow.row(values, {tr(texts::kWormSpeed), fixed(a.wormSpeed, 0) + " r/min"}, 0b11);
            flow.row(values,
                     {tr(texts::kTeethInContact),
                      std::to_string(a.teethInContact.min) + " – " + std::to_string(a.teethInContact.max)},
                     0b11);
            flow.row(values,
                     {tr(texts::kPitchPoint) + " " + tr(texts::kSlidingSpeed), fixed(a.pitch.slidingSpeed, 3) + " m/s"},
                     0b11);
            flow.row(
                values,
                {tr(texts::kPitchPoint) + " " + tr(texts::kLubricationAngle), fixed(a.pitch.lubricationAngle, 1) + "°"},
                0b11);
            flow.row(values, {tr(texts::kLargestSliding), fixed(sliding, 3) + " m/s"}, 0b11);
            flow.row(values, {tr(texts::kLeastLubrication), fixed(lubrication, 1) + "°"}, 0b11);
            flow.row(values, {tr(texts::kLargestCurvature), fixed(curvature, 4) + " 1/mm"}, 0b11);
            flow.row(values, {tr(texts::kFirstLimit), zone(a.firstLimit)}, 0b11);
            flow.row(values, {tr(texts::kSecondLimit), zone(a.secondLimit)}, 0b11);
            if (!a.modification.empty())
                flow.row(values,
                         {tr(texts::kModificationEnds), fixed(a.modification.front().departure, 1) + " / " +
                                                            fixed(a.modification.back().departure, 1) + " μm"},
                         0b11);
            flow.row(values, {tr(texts::kUnsolvedPoints), std::to_string(a.unsolved)}, 0b11);
            flow.endTable();
            const meshing::PairGeometry pair = meshing::PairOf(d.design);
            const meshing::Mesh mesh(pair, meshing::FlanksOf(pair)->upper, a.wormSpeed);
            plots = BuildMeshingSheet(d, a, ContactAt(mesh, 0), content.title, translate);
        }
    }

    // What the calculation and the drawings follow.
    flow.heading(std::to_string(section++) + "  " + tr(texts::kReferencesSection));
    {
        const char* references[] = {texts::kReferenceAccuracy,  texts::kReferenceTolerances, texts::kReferenceMeshing,
                                    texts::kReferenceCurvature, texts::kReferenceSheets,     texts::kReferenceLayers,
                                    texts::kReferenceRoughness};
        const std::vector<double> list = {10, 165};
        int n = 1;
        for (const char* reference : references) flow.row(list, {"[" + std::to_string(n++) + "]", tr(reference)}, 0b11);
        flow.endTable();
    }

    // The drawings, each on an A4 page across.
    std::vector<ReportPage>& pages = flow.pages();
    for (DrawingKind kind : kDrawingKinds) {
        ReportPage page;
        page.sheet.width = kA4Landscape.width;
        page.sheet.height = kA4Landscape.height;
        page.sheet.scale = 1;
        page.drawing = kind;
        page.area = {8, 14, kA4Landscape.width - 8, kA4Landscape.height - 6};
        pages.push_back(std::move(page));
    }
    if (plots) {
        ReportPage page;
        page.sheet = std::move(*plots);
        page.plots = true;
        pages.push_back(std::move(page));
    }

    // Headers and page numbers, now that the count is known.
    for (std::size_t i = 0; i < pages.size(); ++i) {
        Sheet& sheet = pages[i].sheet;
        sheet.title = tr(texts::kReport);
        sheet.subject = content.title.design;
        SheetBuilder page(sheet);
        page.text({sheet.width / 2, 7}, kCellText, PageNumber(translate, i + 1, pages.size()), HAlign::Centre,
                  VAlign::Baseline, 0, Layer::Frame);
        if (i > 0 && !pages[i].drawing && !pages[i].plots) {
            page.text({kRight, sheet.height - 8}, kCellText, tr(texts::kReportTitle), HAlign::Right, VAlign::Baseline,
                      0, Layer::Frame);
        }
    }
    return pages;
}

ShopParticulars ShopOf(const ReportContent& content, const Translate& translate) {
    return ResolveParticulars(content.particulars, content.design.design, content.title.design, content.title.date,
                              content.design.decimalSeparator, translate);
}

ReportDocument BuildReport(const ReportContent& content, const Translate& translate) {
    ReportDocument document;
    document.pages = ReportPages(content, translate);
    const ShopParticulars shop = ShopOf(content, translate);
    for (DrawingKind kind : kDrawingKinds)
        document.drawings[static_cast<std::size_t>(kind)] = BuildDrawing(kind, content.design, content.title, shop,
                                                                         content.tolerances, translate);
    return document;
}

std::string ReportJson(const ReportContent& content, const Translate& translate) {
    const CalculatedDesign& d = content.design;
    using json::AppendQuoted;
    std::string out = "{\"program\":";
    AppendQuoted(out, content.title.program);
    out += ",\"date\":";
    AppendQuoted(out, content.title.date);
    out += ",\"design\":";
    AppendQuoted(out, content.title.design);
    out += ",\"inputs\":{";
    for (const DesignFieldDescription& field : DesignFields()) {
        if (field.field != DesignFields().front().field) out += ',';
        AppendQuoted(out, field.option);
        out += ':';
        AppendQuoted(out, d.field(field.field));
    }
    out += "},\"round-teeth\":";
    out += d.roundEnvelopedTeeth ? "true" : "false";
    out += ",\"coefficients\":[";
    for (int k = 0; k < kCoefficientCount; ++k) {
        if (k) out += ',';
        out += Number(d.coefficients.c[static_cast<std::size_t>(k)]);
    }
    out += "],\"shipped-coefficients\":[";
    for (int k = 0; k < kCoefficientCount; ++k) {
        if (k) out += ',';
        const auto& shipped = content.shipped[static_cast<std::size_t>(k)];
        out += shipped ? Number(*shipped) : "null";
    }
    out += "],\"results\":[";
    for (const ResultDescription& result : Results()) {
        if (&result != &Results().front()) out += ',';
        out += "{\"label\":";
        AppendQuoted(out, result.label);
        out += ",\"symbol\":";
        AppendQuoted(out, result.symbol);
        out += ",\"name\":";
        AppendQuoted(out, std::string(result.name()));
        out += ",\"text\":";
        AppendQuoted(out, d.shown(result.id));
        out += ",\"unit\":";
        AppendQuoted(out, result.unit);
        out += '}';
    }
    out += "],\"checks\":[";
    for (const Finding& finding : d.findings) {
        if (&finding != &d.findings.front()) out += ',';
        out += "{\"severity\":";
        AppendQuoted(out, SeverityName(finding.severity()));
        out += ",\"code\":";
        AppendQuoted(out, finding.id());
        out += ",\"message\":";
        AppendQuoted(out, FindingMessage(finding, translate, '.'));
        out += ",\"suggestion\":";
        AppendQuoted(out, FindingSuggestion(finding, translate, '.'));
        out += '}';
    }
    out += "]}\n";
    return out;
}

}  // namespace wormgear
