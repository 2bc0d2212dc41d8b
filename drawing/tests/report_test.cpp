// The report's design checks and its tables, read back from the PDF by
// poppler (pdftotext for the text, pdfdetach for the attached JSON), and the
// drawings' mark of a design with errors.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <numbers>
#include <regex>
#include <set>

#include "calc/formula_steps.h"
#include "drawing/drawing_files.h"
#include "drawing/drawing_texts.h"
#include "drawing/testing/test_designs.h"

namespace wormgear {
namespace {

using namespace drawing;

const TitleBlock kTitle{"pair.cqb", "2024-05-01", "wormgear 7.6"};
constexpr double kSectionHeadingHeight = 4.5;  // mm: "1  输入参数"

// The worked example with other texts in some fields.
testing::TestDesign Changed(std::initializer_list<std::pair<DesignField, const char*>> changes) {
    testing::TestDesign design = testing::WorkedExampleDesign();
    for (const auto& [field, text] : changes) design.inputs.*DesignFields()[static_cast<int>(field)].text = text;
    return design;
}

struct ChecksCase {
    const char* what;
    testing::TestDesign design;
    std::size_t findings;  // as wormcalc --check lists them
    bool errors;
};
const ChecksCase kChecksCases[] = {
    {"worked example: no findings", testing::WorkedExampleDesign(), 0, false},
    // The backlash 0.3 lies below the hint 0.6 to 1.5 for A >= 315.
    {"A = 500: a warning",
     Changed({{DesignField::CentreDistance, "500"},
              {DesignField::MainBaseDiameter, "325"},
              {DesignField::WormPitchDiameter, "174.748"}}),
     1, false},
    // beta = -50.547 degrees and the grinding wheel's angle below 0.
    {"d1 = 5: two errors and a warning", Changed({{DesignField::WormPitchDiameter, "5"}}), 3, true},
};

std::optional<QString> Poppler(const QString& tool, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) return std::nullopt;
    QProcess process;
    process.start(tool, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// pdftotext puts line breaks and blanks where the report wraps its cells,
// and takes the hyphen of a line that ends in one for a word's hyphenation.
QString WithoutBlanks(QString text) {
    text.remove(QRegularExpression(QStringLiteral("[\\s-]")));
    return text;
}

TEST(Report, ListsEveryFindingWithItsSuggestionAndMarksErrors) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdfdetach")).isEmpty())
        GTEST_SKIP() << "pdftotext and pdfdetach (poppler-utils) are not installed";
    QTemporaryDir dir;
    for (const ChecksCase& c : kChecksCases) {
        SCOPED_TRACE(c.what);
        const CalculatedDesign design = testing::Calculated(c.design);
        ASSERT_EQ(design.findings.size(), c.findings);
        ASSERT_EQ(design.hasErrors(), c.errors);
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        SaveReport(ReportContent{design, kTitle, {}, {}, {}}, path.toStdString());
        const QString text = WithoutBlanks(*Poppler(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}));
        EXPECT_EQ(text.contains(QString::fromUtf8(texts::kChecksSection)), c.findings > 0);
        EXPECT_EQ(text.contains(QString::fromUtf8(kChecksErrorMark)), c.errors);
        for (const Finding& finding : design.findings) {
            for (const std::string& expected :
                 {FindingMessage(finding, {}, '.'), FindingSuggestion(finding, {}, '.'), std::string(finding.id())})
                EXPECT_TRUE(text.contains(WithoutBlanks(QString::fromStdString(expected)))) << expected;
        }

        // The attachment names the same findings.
        ASSERT_TRUE(
            Poppler(QStringLiteral("pdfdetach"), {QStringLiteral("-saveall"), QStringLiteral("-o"), dir.path(), path}));
        QFile attached(dir.filePath(QStringLiteral("design.json")));
        ASSERT_TRUE(attached.open(QIODevice::ReadOnly));
        const QJsonArray checks =
            QJsonDocument::fromJson(attached.readAll()).object()[QStringLiteral("checks")].toArray();
        ASSERT_EQ(static_cast<std::size_t>(checks.size()), design.findings.size());
        for (std::size_t i = 0; i < design.findings.size(); ++i) {
            const QJsonObject check = checks[static_cast<int>(i)].toObject();
            EXPECT_EQ(check[QStringLiteral("code")].toString().toStdString(), design.findings[i].id());
            EXPECT_EQ(check[QStringLiteral("severity")].toString().toStdString(),
                      SeverityName(design.findings[i].severity()));
        }
    }
}

TEST(Report, ReviewBlockAndReferencesAsPopplerReadsThem) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    const CalculatedDesign design = testing::Calculated(testing::WorkedExampleDesign());
    ReportContent content{design, kTitle, {}, {}, {}};
    Text(content.particulars, ParticularId::Designer) = "李工";
    Text(content.particulars, ParticularId::Checker) = "王工";
    Text(content.particulars, ParticularId::Approver) = "张总";
    Text(content.particulars, ParticularId::Date) = "2025-03-08";
    // The English report: every text of the drawings through the translation.
    const std::map<std::string, std::string> english = {
        {texts::kReview, "Review"}, {texts::kReferencesSection, "References"}, {texts::kChecker, "Checked"}};
    const Translate translate = [&](const char*, const char* text) {
        const auto found = english.find(text);
        return found == english.end() ? std::string(text) : found->second;
    };
    struct Case {
        Translate translate;
        std::vector<std::string> texts;
    };
    const Case kCases[] = {
        {{},
         {"审阅", "设计李工2025-03-08", "审核王工2025-03-08", "批准张总2025-03-08", "参考资料", "GB/T131-2006",
          "GB/T14665-2012", "GearGeometryandAppliedTheory"}},
        {translate, {"Review", "Checked王工2025-03-08", "References"}},
    };
    for (const Case& c : kCases) {
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        SaveReport(content, path.toStdString(), c.translate);
        const QString text = WithoutBlanks(
            *Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")}));
        for (const std::string& expected : c.texts)
            EXPECT_TRUE(text.contains(WithoutBlanks(QString::fromStdString(expected)))) << expected;
    }
}

TEST(Report, TablesRepeatTheirHeadsOnEveryPageAndSqueezeNoText) {
    // The column heads of the report's tables, by their first two words.
    const std::set<std::pair<std::string, std::string>> heads = {{texts::kName, texts::kSymbol},
                                                                 {texts::kSymbol, texts::kRule},
                                                                 {texts::kSymbol, texts::kName},
                                                                 {texts::kSeverity, texts::kCode},
                                                                 {texts::kName, texts::kValue}};
    int continued = 0;
    for (const ChecksCase& c : kChecksCases) {
        SCOPED_TRACE(c.what);
        const std::vector<ReportPage> pages = ReportPages({testing::Calculated(c.design), kTitle, {}, {}, {}});
        for (std::size_t p = 0; p < pages.size(); ++p) {
            if (pages[p].drawing || pages[p].plots) continue;
            double top = -1;
            for (const TextEntity& text : pages[p].sheet.graphics.texts) {
                // A cell's text is squeezed only where it would not wrap.
                EXPECT_EQ(text.widthFactor, 1) << text.text;
                if (text.layer == Layer::Table) top = std::max(top, text.at.y);
            }
            // A section's heading never stands last on its page.
            for (const TextEntity& heading : pages[p].sheet.graphics.texts) {
                if (heading.height != kSectionHeadingHeight) continue;
                const auto& all = pages[p].sheet.graphics.texts;
                EXPECT_TRUE(std::any_of(
                    all.begin(), all.end(),
                    [&](const TextEntity& text) { return text.layer == Layer::Table && text.at.y < heading.at.y; }))
                    << heading.text << " alone at the foot of page " << p + 1;
            }
            if (p == 0) continue;
            // The texts of the highest row, left to right.
            std::vector<const TextEntity*> row;
            for (const TextEntity& text : pages[p].sheet.graphics.texts)
                if (text.layer == Layer::Table && text.at.y == top && text.v == VAlign::Middle) row.push_back(&text);
            if (row.empty()) continue;  // the page begins with a heading
            std::sort(row.begin(), row.end(), [](auto* a, auto* b) { return a->at.x < b->at.x; });
            ++continued;
            ASSERT_GE(row.size(), 2u);
            EXPECT_TRUE(heads.count({row[0]->text, row[1]->text}))
                << "page " << p + 1 << " begins with " << row[0]->text;
        }
    }
    // The results run over a page in every case: the test sees a continued table.
    EXPECT_GT(continued, 0);
}

// The numbers of a formula step as the report prints them: + − × · / ^,
// parentheses, R3 R2 R0 (round half to even to 0.001, 0.01, 1), T (truncate),
// sin cos tan taking degrees, asin atan giving them, sqrt, π.
class Expression {
 public:
    explicit Expression(std::string text) : s_(std::move(text)) {
        for (const auto& [from, to] : {std::pair{"×", "*"}, {"·", "*"}, {"−", "-"}, {"π", "p"}}) {
            for (auto at = s_.find(from); at != std::string::npos; at = s_.find(from))
                s_.replace(at, std::strlen(from), to);
        }
    }
    double value() {
        const double v = sum();
        blank();
        if (k_ != s_.size()) throw std::runtime_error("left over: " + s_.substr(k_));
        return v;
    }

 private:
    void blank() {
        while (k_ < s_.size() && s_[k_] == ' ') ++k_;
    }
    bool take(char c) {
        blank();
        if (k_ < s_.size() && s_[k_] == c) return ++k_, true;
        return false;
    }
    double sum() {
        double v = product();
        for (;;) {
            if (take('+')) v += product();
            else if (take('-')) v -= product();
            else return v;
        }
    }
    double product() {
        double v = power();
        for (;;) {
            if (take('*')) v *= power();
            else if (take('/')) v /= power();
            else return v;
        }
    }
    double power() {
        const double v = unary();
        return take('^') ? std::pow(v, unary()) : v;
    }
    double unary() { return take('-') ? -unary() : atom(); }
    double atom() {
        blank();
        if (take('(')) {
            const double v = sum();
            if (!take(')')) throw std::runtime_error("no ) in " + s_);
            return v;
        }
        if (take('p')) return std::numbers::pi;
        static const std::pair<const char*, std::function<double(double)>> kFunctions[] = {
            {"R3", [](double x) { return std::nearbyint(x * 1000) / 1000; }},
            {"R2", [](double x) { return std::nearbyint(x * 100) / 100; }},
            {"R0", [](double x) { return std::nearbyint(x); }},
            {"T", [](double x) { return std::trunc(x); }},
            {"sqrt", [](double x) { return std::sqrt(x); }},
            {"asin", [](double x) { return std::asin(x) * 180 / std::numbers::pi; }},
            {"atan", [](double x) { return std::atan(x) * 180 / std::numbers::pi; }},
            {"sin", [](double x) { return std::sin(x * std::numbers::pi / 180); }},
            {"cos", [](double x) { return std::cos(x * std::numbers::pi / 180); }},
            {"tan", [](double x) { return std::tan(x * std::numbers::pi / 180); }},
        };
        for (const auto& [name, f] : kFunctions) {
            if (s_.compare(k_, std::strlen(name), name) == 0 && s_[k_ + std::strlen(name)] == '(') {
                k_ += std::strlen(name);
                return f(atom());
            }
        }
        std::size_t used = 0;
        const double v = std::stod(s_.substr(k_), &used);
        k_ += used;
        return v;
    }

    std::string s_;
    std::size_t k_ = 0;
};

// Every step of the chain recomputes, from the numbers the report prints, to
// the result it prints: read from the PDF by pdftotext.
TEST(Report, EveryFormulaStepRecomputesFromItsPrintedNumbers) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    for (const ChecksCase& c : {kChecksCases[0], kChecksCases[1]}) {
        SCOPED_TRACE(c.what);
        const CalculatedDesign design = testing::Calculated(c.design);
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        SaveReport(ReportContent{design, kTitle, {}, {}, {}}, path.toStdString());
        std::string text =
            Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")})->toStdString();
        const auto from = text.find(texts::kStepsSection), to = text.find(texts::kMeshing, from);
        ASSERT_NE(from, std::string::npos);
        text = text.substr(from, to - from);
        std::replace(text.begin(), text.end(), '\n', ' ');
        // "= numbers = result": numbers without a symbol's letter, so that the
        // rule before them is passed over.
        const std::regex step(
            "= ((?:R3|R2|R0|T|sqrt|asin|atan|sin|cos|tan|[0-9.() ^/+*-]|×|·|−|π)+?) = (-?[0-9.]+(?:E[-+]?[0-9]+)?)");
        int steps = 0;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), step); it != std::sregex_iterator(); ++it) {
            const std::string numbers = (*it)[1], printed = (*it)[2];
            SCOPED_TRACE(numbers + " = " + printed);
            const double result = std::stod(printed);
            EXPECT_NEAR(Expression(numbers).value(), result, 1e-9 * (1 + std::abs(result)));
            ++steps;
        }
        EXPECT_EQ(steps,
                  static_cast<int>(FormulaSteps(design.inputs, false, design.design, design.coefficients, '.').size()));
    }
}

// pdffonts lists each font with "emb sub uni": embedded, a subset (its name
// tagged "ABCDEF+"), a ToUnicode map. Every one must say yes three times.
TEST(Pdf, EveryEmbeddedFontIsATaggedSubset) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty())
        GTEST_SKIP() << "pdffonts (poppler-utils) is not installed";
    QTemporaryDir dir;
    const CalculatedDesign design = testing::Calculated(testing::WorkedExampleDesign());
    const QString report = dir.filePath(QStringLiteral("report.pdf"));
    const QString drawing = dir.filePath(QStringLiteral("wheel.pdf"));
    SaveReport(ReportContent{design, kTitle, {}, {}, {}}, report.toStdString());
    SaveSheet(BuildDrawing(DrawingKind::Wheel, design, kTitle, testing::NoParticulars(design, kTitle), {}),
              FileFormat::Pdf, drawing.toStdString());
    for (const QString& path : {report, drawing}) {
        SCOPED_TRACE(path.toStdString());
        const QStringList lines =
            Poppler(QStringLiteral("pdffonts"), {path})->split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_GT(lines.size(), 2);  // the heads, then a line per font
        for (qsizetype i = 2; i < lines.size(); ++i) {
            const QStringList columns = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
            ASSERT_GE(columns.size(), 7) << lines[i].toStdString();
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-Z]{6}\\+")).match(columns[0]).hasMatch())
                << lines[i].toStdString();
            const qsizetype n = columns.size();
            EXPECT_EQ(columns.mid(n - 5, 3), (QStringList{"yes", "yes", "yes"})) << lines[i].toStdString();
        }
    }
}

TEST(Drawings, MarkADesignWithErrorsInRedAndNoOther) {
    for (const ChecksCase& c : kChecksCases) {
        SCOPED_TRACE(c.what);
        const CalculatedDesign design = testing::Calculated(c.design);
        for (DrawingKind kind : kDrawingKinds) {
            const Sheet sheet = BuildDrawing(kind, design, kTitle, testing::NoParticulars(design, kTitle), {});
            int marks = 0;
            for (const TextEntity& text : sheet.graphics.texts) {
                if (text.text != kChecksErrorMark) continue;
                ++marks;
                EXPECT_EQ(text.layer, Layer::Warning);
                EXPECT_EQ(LayerOf(text.layer).colour, 1);  // red
                // On the paper, inside the frame.
                const Rect inner = FrameInner({sheet.width, sheet.height});
                EXPECT_GT(text.at.x / sheet.scale, inner.left);
                EXPECT_LT(text.at.y / sheet.scale + kWarningTextHeight, inner.top);
            }
            EXPECT_EQ(marks, c.errors ? 1 : 0);
        }
    }
}

}  // namespace
}  // namespace wormgear
