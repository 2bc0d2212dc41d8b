// The report's text pages, laid out as tables flowing down A4 pages, its
// drawing pages, and its JSON.
#include "drawing/report.h"

#include <charconv>

#include "cli/json.h"
#include "drawing/drawing_texts.h"
#include "drawing/sheet_builder.h"

namespace wormgear {

namespace {

using namespace drawing;

constexpr Paper kA4Portrait{210, 297};
// Text pages: margins, rows and texts, mm.
constexpr double kLeft = 20, kRight = 195, kTop = 282, kBottom = 20;
constexpr double kRow = 5.6, kCellText = 3, kHeadingText = 4.5, kTitleText = 7;

// Flows headings and table rows down the pages, starting a page where the
// next block does not fit.
class PageFlow {
 public:
    PageFlow() { newPage(); }

    std::vector<ReportPage>& pages() { return pages_; }
    SheetBuilder& builder() { return *builder_; }
    double& y() { return y_; }

    void newPage() {
        ReportPage page;
        page.sheet.width = kA4Portrait.width;
        page.sheet.height = kA4Portrait.height;
        page.sheet.scale = 1;
        pages_.push_back(std::move(page));
        builder_.emplace(pages_.back().sheet);
        y_ = kTop;
    }
    // Room for `height` mm, on a new page if this one is too full.
    void need(double height) {
        if (y_ - height < kBottom) newPage();
    }

    void heading(const std::string& text) {
        need(kHeadingText + 4 + 2 * kRow);
        y_ -= kHeadingText + 2;
        builder_->text({kLeft, y_}, kHeadingText, text, HAlign::Left, VAlign::Baseline, 0, Layer::Table);
        y_ -= 3;
    }

    // One row of cells, `widths` mm each; the columns whose bits are set in
    // `leftColumns` stand at the left of their cells, the others in the middle.
    void row(const std::vector<double>& widths, const std::vector<std::string>& cells, unsigned leftColumns = 1) {
        need(kRow);
        SheetBuilder& b = *builder_;
        const double top = y_, bottom = y_ - kRow;
        double x = kLeft;
        b.line({kLeft, top}, {kRight, top}, Layer::Table);
        b.line({kLeft, bottom}, {kRight, bottom}, Layer::Table);
        b.line({kLeft, top}, {kLeft, bottom}, Layer::Table);
        for (std::size_t c = 0; c < widths.size(); ++c) {
            const double w = widths[c];
            if (c < cells.size()) {
                const bool left = (leftColumns >> c) & 1;
                b.text({left ? x + 1.5 : x + w / 2, (top + bottom) / 2}, kCellText, cells[c],
                       left ? HAlign::Left : HAlign::Centre, VAlign::Middle, 0, Layer::Table, w - 2);
            }
            x += w;
            b.line({x, top}, {x, bottom}, Layer::Table);
        }
        y_ = bottom;
    }

    void gap(double height) { y_ -= height; }

 private:
    std::vector<ReportPage> pages_;
    std::optional<SheetBuilder> builder_;
    double y_ = kTop;
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
    flow.row(info, {tr(texts::kDate), content.title.date});
    flow.row(info, {tr(texts::kProgram), content.title.program});

    // The thirteen inputs and the round-to-integer box.
    flow.heading("1  " + tr(texts::kInputsSection));
    const std::vector<double> inputs = {50, 25, 75, 25};
    flow.row(inputs, {tr(texts::kName), tr(texts::kSymbol), tr(texts::kValue), tr(texts::kUnit)});
    for (const DesignFieldDescription& field : DesignFields())
        flow.row(inputs, {tr(field.name), field.symbol, d.field(field.field), tr(field.unit)});
    flow.row(inputs, {tr(texts::kRoundTeeth), "", tr(d.roundEnvelopedTeeth ? texts::kYes : texts::kNo), ""});

    // The coefficients, marked where they are not the shipped ones.
    flow.heading("2  " + tr(texts::kCoefficientsSection));
    const std::vector<double> rules = {16, 100, 22, 22, 15};
    flow.row(rules, {tr(texts::kSymbol), tr(texts::kRule), tr(texts::kValue), tr(texts::kShippedValue), ""}, 0b11);
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
        flow.need(3 * kRow);
        flow.y() -= 5;
        flow.builder().text({kLeft, flow.y()}, kCellText + 0.5, tr(Trimmed(panel.caption)), HAlign::Left,
                            VAlign::Baseline, 0, Layer::Table);
        flow.gap(1.5);
        flow.row(results, {tr(texts::kSymbol), tr(texts::kName), tr(texts::kValue), tr(texts::kUnit)});
        for (int i = panel.first; i < panel.first + panel.count; ++i) {
            const ResultDescription& result = Results()[static_cast<std::size_t>(i)];
            flow.row(results, {result.symbol, tr(result.name()), d.shown(result.id), tr(result.unit)});
        }
    }

    // The design checks, when there are any.
    if (!content.findings.empty()) {
        flow.heading("4  " + tr(texts::kChecksSection));
        const std::vector<double> checks = {25, 30, 120};
        flow.row(checks, {tr(texts::kSeverity), tr(texts::kCode), tr(texts::kMessage)}, 0b101);
        for (const ReportFinding& finding : content.findings)
            flow.row(checks, {finding.severity, finding.code, finding.message}, 0b101);
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

    // Headers and page numbers, now that the count is known.
    for (std::size_t i = 0; i < pages.size(); ++i) {
        Sheet& sheet = pages[i].sheet;
        sheet.title = tr(texts::kReport);
        sheet.subject = content.title.design;
        SheetBuilder page(sheet);
        page.text({sheet.width / 2, 7}, kCellText, PageNumber(translate, i + 1, pages.size()), HAlign::Centre,
                  VAlign::Baseline, 0, Layer::Frame);
        if (i > 0 && !pages[i].drawing) {
            page.text({kRight, sheet.height - 8}, kCellText, tr(texts::kReportTitle), HAlign::Right, VAlign::Baseline,
                      0, Layer::Frame);
        }
    }
    return pages;
}

ReportDocument BuildReport(const ReportContent& content, const Translate& translate) {
    ReportDocument document;
    document.pages = ReportPages(content, translate);
    for (DrawingKind kind : kDrawingKinds)
        document.drawings[static_cast<std::size_t>(kind)] = BuildDrawing(kind, content.design, content.title,
                                                                         translate);
    return document;
}

std::string ReportJson(const ReportContent& content) {
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
    for (const ReportFinding& finding : content.findings) {
        if (&finding != &content.findings.front()) out += ',';
        out += "{\"severity\":";
        AppendQuoted(out, finding.severity);
        out += ",\"code\":";
        AppendQuoted(out, finding.code);
        out += ",\"message\":";
        AppendQuoted(out, finding.message);
        out += '}';
    }
    out += "]}\n";
    return out;
}

}  // namespace wormgear
