// The table of solutions from the tools menu, driven as a designer does:
// its fields from the main window, the run on worker threads with its
// progress and cancel, sorting by a header click, the filter, the marks of
// the worst finding, the chart, the take-over into the main window by a
// double-click, the two exports read back by other programs' readers, and
// the ranges refused before any work.
#include <QChartView>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineSeries>
#include <QProcess>
#include <QScatterSeries>
#include <QValueAxis>
#include <cmath>

#include "solutions/solutions_model.h"
#include "solutions/solutions_window.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

// The columns of the table, as SolutionColumns() orders them.
constexpr int kStartsColumn = 2, kShareColumn = 4, kDiameterColumn = 5, kFactorColumn = 6, kPitchColumn = 7;
constexpr int kFirstResultColumn = 10, kCheckColumn = 24;

int ResultColumn(ResultId id) {
    for (int n = 0; n < kSolutionResultCount; ++n)
        if (kSolutionResults[n] == id) return kFirstResultColumn + n;
    return -1;
}

class SolutionsTest : public WindowTest {
 protected:
    TSolutionsWindow& openSolutions() {
        openWindow();
        typeWorkedExample();
        form->N25->trigger();
        TSolutionsWindow* window = form->solutionsWindow();
        EXPECT_NE(window, nullptr);
        return *window;
    }

    static void run(TSolutionsWindow& window) {
        window.CalculateButton->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.busy(); }, 60000));
    }

    static QString cell(const TSolutionsWindow& window, int row, int column, int role = Qt::DisplayRole) {
        return window.model()->data(window.model()->index(row, column), role).toString();
    }

    // Designs around the worked example far beyond the hints: main base
    // circles up to 1.7 A (Db 340 exceeds every wheel pitch diameter), factors
    // from half to twice the hint's, E over 0 to 0.6.
    static void typeWideRanges(TSolutionsWindow& window) {
        Retype(window.ShareFromEdit, QStringLiteral("0.65"));
        Retype(window.ShareToEdit, QStringLiteral("2"));
        Retype(window.ShareStepEdit, QStringLiteral("0.35"));
        Retype(window.FactorFromEdit, QStringLiteral("0.3"));
        Retype(window.FactorToEdit, QStringLiteral("1.2"));
        Retype(window.FactorStepEdit, QStringLiteral("0.15"));
        window.EccentricityRangeBox->click();
        Retype(window.EccentricityFromEdit, QStringLiteral("0"));
        Retype(window.EccentricityToEdit, QStringLiteral("0.6"));
        Retype(window.EccentricityStepEdit, QStringLiteral("0.3"));
    }

    static void clickHeader(QTableView* view, int column) {
        view->scrollTo(view->model()->index(0, column));
        QHeaderView* header = view->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    static void doubleClickRow(QTableView* view, int row) {
        const QModelIndex index = view->model()->index(row, 0);
        view->scrollTo(index);
        const QPoint at = view->visualRect(index).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }

    // The rows of an exported file as another program reads them; nullopt
    // when that reader is missing.
    static std::optional<QJsonArray> readBack(const char* kind, const QString& path) {
        QProcess reader;
        reader.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral(WORMGEAR_UI_TESTS_DIR "/read_back_table.py"), QLatin1String(kind), path});
        EXPECT_TRUE(reader.waitForFinished(60000));
        if (reader.exitCode() == 77) return std::nullopt;
        EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
        return QJsonDocument::fromJson(reader.readAllStandardOutput()).array();
    }

    // The texts and results of a direct calculation of a table's design, as
    // the main window calculates it.
    CalculationOutcome direct(const TSolutionsWindow& window, std::uint64_t design) const {
        const SolutionPlan& plan = window.model()->table()->plan();
        return Calculate(plan.inputs(design), plan.request().roundEnvelopedTeeth, form->coefficients(), '.');
    }
};

TEST_F(SolutionsTest, TheWindowStartsFromTheMainWindowsDesignAndTheHintsRanges) {
    TSolutionsWindow& window = openSolutions();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("方案表"));
    const std::pair<QLineEdit*, const char*> kTexts[] = {
        {window.CentreDistanceEdit, "200"},
        {window.SpeedRatioEdit, "25"},
        {window.TeethEdit, "50"},
        {window.StartsEdit, "2"},
        {window.EccentricityEdit, "0"},
        {window.BacklashEdit, "0.3"},
        {window.GrindingIncrementEdit, "0.2"},
        {window.ShareFromEdit, "0.63"},
        {window.ShareToEdit, "0.67"},
        {window.ShareStepEdit, "0.01"},
        {window.FactorFromEdit, "0.6"},
        {window.FactorToEdit, "0.78"},
        {window.FactorStepEdit, "0.01"},
    };
    for (const auto& [edit, text] : kTexts) EXPECT_EQ(edit->text(), QString::fromUtf8(text)) << edit->objectName();
    EXPECT_FALSE(window.RoundTeethBox->isChecked());
    EXPECT_FALSE(window.EccentricityFromEdit->isEnabled());
    EXPECT_EQ(window.model()->rowCount(), 0);

    // The menu shows the same window again.
    form->N25->trigger();
    EXPECT_EQ(form->solutionsWindow(), &window);
}

TEST_F(SolutionsTest, EveryRowIsTheCalculationOfItsDesign) {
    TSolutionsWindow& window = openSolutions();
    window.setThreads(2);
    run(window);
    ASSERT_EQ(window.model()->rowCount(), 5 * 19);
    EXPECT_EQ(window.StateLabel->text(), QStringLiteral("共 95 个方案，显示 95 个。"));
    EXPECT_EQ(window.Progress->value(), window.Progress->maximum());
    EXPECT_TRUE(window.CalculateButton->isEnabled());
    EXPECT_FALSE(window.CancelButton->isEnabled());
    // The design of row 2 x 19 + 16: Db = 0.65 x 200, d1 = 0.76 x R3(200^0.875) = 0.76 x 103.134.
    const int row = 2 * 19 + 16;
    EXPECT_EQ(cell(window, row, kShareColumn), QStringLiteral("0.65"));
    EXPECT_EQ(cell(window, row, kDiameterColumn), QStringLiteral("130"));
    EXPECT_EQ(cell(window, row, kFactorColumn), QStringLiteral("0.76"));
    EXPECT_EQ(cell(window, row, kPitchColumn), QStringLiteral("78.38184"));
    for (int r = 0; r < window.model()->rowCount(); ++r) {
        SCOPED_TRACE(r);
        const CalculationOutcome outcome = direct(window, window.model()->design(r));
        for (const ResultLine& line : outcome.lines) {
            const int column = ResultColumn(line.id);
            if (column >= 0) {
                EXPECT_EQ(cell(window, r, column), QString::fromStdString(std::string(line.number())));
            }
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SolutionsTest, RowsAreMarkedByTheirWorstFindingAndTheFilterHidesErrors) {
    TSolutionsWindow& window = openSolutions();
    typeWideRanges(window);
    run(window);
    const int all = window.model()->rowCount();
    ASSERT_EQ(all, 4 * 7 * 3);
    int errors = 0, warnings = 0, clean = 0;
    for (int r = 0; r < all; ++r) {
        SCOPED_TRACE(r);
        const std::uint64_t design = window.model()->design(r);
        const SolutionPlan& plan = window.model()->table()->plan();
        const CalculationOutcome outcome = direct(window, design);
        const std::vector<Finding> findings = CheckDesign(plan.inputs(design), form->coefficients(), outcome, '.');
        const QString mark = cell(window, r, kCheckColumn);
        const QVariant tint = window.model()->data(window.model()->index(r, 0), Qt::BackgroundRole);
        if (findings.empty()) {
            EXPECT_TRUE(mark.isEmpty());
            EXPECT_FALSE(tint.isValid());
            ++clean;
            continue;
        }
        EXPECT_EQ(mark, QString::fromStdString(SeverityWord(findings[0].severity(), {})) + QLatin1Char(' ') +
                            QString::fromUtf8(findings[0].id()));
        EXPECT_TRUE(tint.isValid());
        // The tooltip lists every finding of the design.
        const QString tip = cell(window, r, kCheckColumn, Qt::ToolTipRole);
        for (const Finding& finding : findings)
            EXPECT_TRUE(tip.contains(QString::fromUtf8(finding.id()))) << finding.id();
        (findings[0].severity() == Severity::Error ? errors : warnings)++;
    }
    EXPECT_GT(errors, 0);
    EXPECT_GT(warnings, 0);
    EXPECT_GT(clean, 0);

    window.WithoutErrorsBox->click();
    EXPECT_EQ(window.model()->rowCount(), all - errors);
    for (int r = 0; r < window.model()->rowCount(); ++r)
        EXPECT_FALSE(cell(window, r, kCheckColumn).startsWith(QStringLiteral("错误"))) << r;
    EXPECT_EQ(window.StateLabel->text(), QStringLiteral("共 84 个方案，显示 %1 个。").arg(all - errors));
    window.WithoutErrorsBox->click();
    EXPECT_EQ(window.model()->rowCount(), all);
}

TEST_F(SolutionsTest, NoHeadingAndNoNumberIsCutByItsColumn) {
    TSolutionsWindow& window = openSolutions();
    run(window);
    ASSERT_GT(window.model()->rowCount(), 0);
    const QHeaderView* header = window.View->horizontalHeader();
    for (int column = 0; column < window.model()->columnCount(); ++column) {
        const QString heading = window.model()->headerData(column, Qt::Horizontal).toString();
        EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << heading.toStdString();
        // Every text of the rows calculated, with the cell's margins on both sides.
        const QFontMetrics metrics = window.View->fontMetrics();
        for (int row = 0; row < window.model()->rowCount(); ++row) {
            const QString text = cell(window, row, column);
            EXPECT_GE(header->sectionSize(column), metrics.horizontalAdvance(text) + 6)
                << heading.toStdString() << ": " << text.toStdString();
        }
    }
}

TEST_F(SolutionsTest, AHeaderClickSortsByThatColumn) {
    TSolutionsWindow& window = openSolutions();
    typeWideRanges(window);
    run(window);
    const int beta = ResultColumn(ResultId::GeneratingPlaneAngle);
    auto number = [&](int r) { return cell(window, r, beta).toDouble(); };
    clickHeader(window.View, beta);
    const int rows = window.model()->rowCount();
    int filled = 0;
    while (filled < rows && !cell(window, filled, beta).isEmpty()) ++filled;
    ASSERT_GT(filled, 1);
    for (int r = filled; r < rows; ++r) EXPECT_TRUE(cell(window, r, beta).isEmpty()) << "empty cells last";
    for (int r = 1; r < filled; ++r) EXPECT_LE(number(r - 1), number(r)) << r;
    const double smallest = number(0);

    clickHeader(window.View, beta);  // again: descending
    for (int r = 1; r < filled; ++r) EXPECT_GE(number(r - 1), number(r)) << r;
    EXPECT_EQ(number(filled - 1), smallest);
    EXPECT_TRUE(cell(window, rows - 1, beta).isEmpty());

    // The filter keeps the order.
    window.WithoutErrorsBox->click();
    for (int r = 1; r < window.model()->rowCount(); ++r) {
        if (cell(window, r, beta).isEmpty()) break;
        EXPECT_GE(number(r - 1), number(r)) << r;
    }

    // By the field Db: its values, not its texts ("340" above "1000" would be text order).
    clickHeader(window.View, kDiameterColumn);
    EXPECT_EQ(cell(window, 0, kDiameterColumn), QStringLiteral("130"));
}

TEST_F(SolutionsTest, CancelStopsTheRunAndKeepsTheRowsDone) {
    TSolutionsWindow& window = openSolutions();
    window.setThreads(1);
    Retype(window.ShareStepEdit, QStringLiteral("0.000002"));  // 20,001 x 19 designs
    window.CalculateButton->click();
    ASSERT_TRUE(window.busy());
    EXPECT_TRUE(window.CancelButton->isEnabled());
    EXPECT_FALSE(window.CalculateButton->isEnabled());
    // The window answers while the workers calculate: rows arrive, the cancel button is pressed.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.model()->rowCount() > 0; }, 60000));
    window.CancelButton->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.busy(); }, 60000));
    const SolutionTable* table = window.model()->table();
    EXPECT_LT(table->completed(), table->count());
    EXPECT_EQ(static_cast<std::uint64_t>(window.model()->rowCount()), table->completed());
    EXPECT_TRUE(window.StateLabel->text().contains(QStringLiteral("（已取消）"))) << window.StateLabel->text();
    EXPECT_TRUE(window.CalculateButton->isEnabled());
    EXPECT_FALSE(window.CancelButton->isEnabled());
    EXPECT_TRUE(window.View->isSortingEnabled());
    // The rows done stay, whole.
    const int last = window.model()->rowCount() - 1;
    const CalculationOutcome outcome = direct(window, window.model()->design(last));
    for (const ResultLine& line : outcome.lines)
        if (line.id == ResultId::PressureAngle) {
            EXPECT_EQ(cell(window, last, ResultColumn(line.id)), QString::fromStdString(std::string(line.number())));
        }
}

TEST_F(SolutionsTest, ADoubleClickTakesTheDesignIntoTheMainWindow) {
    TSolutionsWindow& window = openSolutions();
    window.RoundTeethBox->click();  // the table is calculated with 取整数
    run(window);
    clickHeader(window.View, ResultColumn(ResultId::WormWorkingLength));
    const int row = 7;
    const std::uint64_t design = window.model()->design(row);
    const SolutionPlan& plan = window.model()->table()->plan();
    Retype(form->Edit9, QStringLiteral("7j"));  // typed after the run: stays
    doubleClickRow(window.View, row);

    // Nothing was calculated before: no unsaved design, no question.
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_TRUE(dialogs.messages.empty());
    DesignInputs expected = plan.inputs(design);
    expected.WormAccuracy = "7j";
    EXPECT_EQ(form->hostInputs().MainBaseDiameter, expected.MainBaseDiameter);
    for (const DesignFieldDescription& field : DesignFields())
        EXPECT_EQ(form->hostInputs().*field.text, expected.*field.text) << field.option;
    EXPECT_TRUE(form->CheckBox1->isChecked());
    const CalculationOutcome outcome = Calculate(expected, true, form->coefficients(), '.');
    ASSERT_TRUE(outcome.succeeded());
    for (const ResultLine& line : outcome.lines)
        EXPECT_EQ(form->resultLabel(line.label())->text(), QString::fromStdString(line.text)) << line.label();
    EXPECT_TRUE(form->GroupBox1->isVisible());
    EXPECT_FALSE(form->designSaved());
    // The row's key results are the main window's.
    EXPECT_EQ(cell(window, row, ResultColumn(ResultId::WormWorkingLength)) + QStringLiteral("-----蜗杆工作长度"),
              form->Label10->text());

    // The design on screen is now calculated and unsaved: the next take-over asks first.
    dialogs.answers.push_back(false);  // No: give it up
    doubleClickRow(window.View, 0);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0], QStringLiteral("Warning: 数据尚未保存，是否保存？"));
    EXPECT_EQ(form->Edit5->text().toStdString(), plan.inputs(window.model()->design(0)).MainBaseDiameter);
}

TEST_F(SolutionsTest, ADesignWithAnErrorTakenOverShowsTheCalculationsMessage) {
    TSolutionsWindow& window = openSolutions();
    typeWideRanges(window);
    run(window);
    int failing = -1;
    for (int r = 0; r < window.model()->rowCount() && failing < 0; ++r)
        if (cell(window, r, kCheckColumn) == QStringLiteral("错误 pressure-angle-undefined")) failing = r;
    ASSERT_GE(failing, 0);
    doubleClickRow(window.View, failing);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    // Every field a number, the arcsine beyond 1: the window's headline for it.
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{QStringLiteral("无法用这些数值完成计算。")});
    EXPECT_TRUE(ScriptedDialogs::Detail(dialogs.messages[0]).startsWith(QStringLiteral("主基圆直径 Db = ")));
    EXPECT_FALSE(form->GroupBox1->isVisible());
}

TEST_F(SolutionsTest, TheChartShowsAResultAlongTheChosenDesignsLine) {
    TSolutionsWindow& window = openSolutions();
    run(window);
    const int row = 3 * 19 + 4;  // share 0.66, factor 0.64
    window.View->selectRow(row);
    window.ChartResultBox->setCurrentIndex(1);  // α
    window.ChartAxisBox->setCurrentIndex(0);    // against the share
    QList<QAbstractSeries*> series = window.Chart->chart()->series();
    QList<QPointF> points;
    for (QAbstractSeries* s : series)
        if (auto* line = qobject_cast<QLineSeries*>(s); line && !qobject_cast<QScatterSeries*>(s))
            points += line->points();
    ASSERT_EQ(points.size(), 5);
    for (int k = 0; k < 5; ++k) {
        SCOPED_TRACE(k);
        const int r = k * 19 + 4;  // the same factor, the share running
        EXPECT_DOUBLE_EQ(points[k].x(), cell(window, r, kShareColumn).toDouble());
        EXPECT_DOUBLE_EQ(points[k].y(), cell(window, r, ResultColumn(ResultId::PressureAngle)).toDouble());
    }
    // Against the factor: 19 points through the same design, which is marked.
    window.ChartAxisBox->setCurrentIndex(1);
    points.clear();
    QPointF chosen;
    for (QAbstractSeries* s : window.Chart->chart()->series()) {
        if (auto* mark = qobject_cast<QScatterSeries*>(s)) chosen = mark->points().value(0);
        else if (auto* line = qobject_cast<QLineSeries*>(s)) points += line->points();
    }
    ASSERT_EQ(points.size(), 19);
    EXPECT_DOUBLE_EQ(chosen.x(), 0.64);
    EXPECT_DOUBLE_EQ(chosen.y(), cell(window, row, ResultColumn(ResultId::PressureAngle)).toDouble());

    // Both axes tick at round numbers (1, 2 or 5 times a power of ten) from
    // a tick below the points to one above them.
    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        SCOPED_TRACE(orientation == Qt::Horizontal ? "x" : "y");
        const QList<QAbstractAxis*> axes = window.Chart->chart()->axes(orientation);
        ASSERT_EQ(axes.size(), 1);
        const auto* axis = qobject_cast<const QValueAxis*>(axes.front());
        ASSERT_NE(axis, nullptr);
        EXPECT_EQ(axis->tickType(), QValueAxis::TicksDynamic);
        const double step = axis->tickInterval();
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 5) < 1e-9)
            << step;
        EXPECT_NEAR(axis->min() / step, std::round(axis->min() / step), 1e-6) << axis->min();
        EXPECT_NEAR(axis->max() / step, std::round(axis->max() / step), 1e-5) << axis->max();
        EXPECT_DOUBLE_EQ(axis->tickAnchor(), axis->min());
        EXPECT_LE((axis->max() - axis->min()) / step, 6 + 1e-5);
        for (const QPointF& p : points) {
            const double v = orientation == Qt::Horizontal ? p.x() : p.y();
            EXPECT_LE(axis->min(), v + step * 1e-6);
            EXPECT_GE(axis->max(), v - step * 1e-6);
        }
    }
}

TEST_F(SolutionsTest, TheWorkbookHasColumnsAsWideAsTheirCellsAndPrintsAcrossWithItsHeader) {
    TSolutionsWindow& window = openSolutions();
    typeWideRanges(window);
    run(window);
    const QString path = directory_.filePath(QStringLiteral("table.xlsx"));
    dialogs.saveAnswers.push_back(path);
    window.ExportWorkbookButton->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.busy(); }, 60000));
    ASSERT_TRUE(dialogs.messages.empty());
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(WORMGEAR_UI_TESTS_DIR "/read_back_table.py"), QStringLiteral("layout"), path});
    ASSERT_TRUE(reader.waitForFinished(60000));
    if (reader.exitCode() == 77) GTEST_SKIP() << "openpyxl (python3-openpyxl) is missing";
    ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    const QJsonObject layout = QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    const QJsonObject columns = layout[QStringLiteral("columns")].toObject();
    EXPECT_EQ(columns.size(), kCheckColumn + 1);
    for (auto column = columns.begin(); column != columns.end(); ++column) {
        SCOPED_TRACE(column.key().toStdString());
        const QJsonObject c = column.value().toObject();
        const double width = c[QStringLiteral("width")].toDouble(), needed = c[QStringLiteral("needed")].toDouble();
        EXPECT_TRUE(c[QStringLiteral("custom")].toBool());
        // Room for the widest cell, header included, with a little margin, and not much more.
        EXPECT_GE(width, std::min(needed + 1, 60.0)) << "needs " << needed;
        EXPECT_LE(width, needed + 4);
    }
    // "β (°) 母平面倾斜角": six characters and six Chinese ones of two.
    EXPECT_EQ(columns[QStringLiteral("K")].toObject()[QStringLiteral("needed")].toDouble(), 18);
    // The header row repeated on every printed page (openpyxl writes the range absolute).
    EXPECT_EQ(layout[QStringLiteral("print_title_rows")].toString().remove(QLatin1Char('$')), QStringLiteral("1:1"));
    EXPECT_EQ(layout[QStringLiteral("orientation")].toString(), QStringLiteral("landscape"));
    EXPECT_EQ(layout[QStringLiteral("paper_size")].toInt(), 9);  // A4
    EXPECT_TRUE(layout[QStringLiteral("grid_lines")].toBool());
    EXPECT_EQ(layout[QStringLiteral("frozen")].toString(), QStringLiteral("A2"));
}

TEST_F(SolutionsTest, TheExportsReadBackWithNumbersAsNumbers) {
    TSolutionsWindow& window = openSolutions();
    typeWideRanges(window);
    run(window);
    clickHeader(window.View, ResultColumn(ResultId::PressureAngle));
    window.WithoutErrorsBox->click();
    const int rows = window.model()->rowCount();
    ASSERT_GT(rows, 10);

    // The workbook: the view's columns and rows in its order, numbers as numbers.
    dialogs.saveAnswers.push_back(directory_.filePath(QStringLiteral("table")));  // the extension is added
    window.ExportWorkbookButton->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.busy(); }, 60000));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.filters.back(), QStringLiteral("*.xlsx"));
    const std::optional<QJsonArray> book = readBack("xlsx", directory_.filePath(QStringLiteral("table.xlsx")));
    if (book) {
        ASSERT_EQ(book->size(), rows + 1);
        const QJsonArray header = (*book)[0].toArray();
        EXPECT_EQ(header[kShareColumn].toString(), QStringLiteral("Db/A 主基圆系数"));
        EXPECT_EQ(header[ResultColumn(ResultId::GeneratingPlaneAngle)].toString(),
                  QStringLiteral("β (°) 母平面倾斜角"));
        for (int r = 0; r < rows; ++r) {
            const QJsonArray cells = (*book)[r + 1].toArray();
            for (int c = 0; c < kCheckColumn; ++c) {
                const QString shown = cell(window, r, c);
                if (shown.isEmpty()) {
                    EXPECT_TRUE(cells[c].isNull()) << r << ' ' << c;
                    continue;
                }
                ASSERT_TRUE(cells[c].isDouble()) << "row " << r << " column " << c << " holds " << shown;
                EXPECT_DOUBLE_EQ(cells[c].toDouble(), shown.toDouble()) << r << ' ' << c;
            }
            const QString mark = cell(window, r, kCheckColumn);
            EXPECT_EQ(cells[kCheckColumn].toString(), mark) << r;
        }
    } else {
        std::cout << "openpyxl is missing: the workbook is not read back\n";
    }

    // The CSV: wormcalc's table of the same rows.
    dialogs.saveAnswers.push_back(directory_.filePath(QStringLiteral("table.csv")));
    window.ExportCsvButton->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.busy(); }, 60000));
    EXPECT_TRUE(dialogs.messages.empty());
    const std::optional<QJsonArray> csv = readBack("csv", directory_.filePath(QStringLiteral("table.csv")));
    ASSERT_TRUE(csv);
    ASSERT_EQ(csv->size(), rows + 1);
    const QJsonArray header = (*csv)[0].toArray();
    ASSERT_EQ(header.size(), 9 + kResultCount + 1);
    EXPECT_EQ(header[4].toString(), QStringLiteral("base-diameter"));
    EXPECT_EQ(header[9 + 7].toString(), QStringLiteral("β"));
    EXPECT_EQ(header.last().toString(), QStringLiteral("check"));
    const SolutionPlan& plan = window.model()->table()->plan();
    for (int r = 0; r < rows; ++r) {
        SCOPED_TRACE(r);
        const QJsonArray fields = (*csv)[r + 1].toArray();
        const DesignInputs texts = plan.inputs(window.model()->design(r));
        EXPECT_EQ(fields[4].toString().toStdString(), texts.MainBaseDiameter);
        EXPECT_EQ(fields[6].toString().toStdString(), texts.WormPitchDiameter);
        const CalculationOutcome outcome = direct(window, window.model()->design(r));
        for (const ResultLine& line : outcome.lines)
            EXPECT_EQ(fields[9 + static_cast<int>(line.id)].toString().toStdString(), std::string(line.number()));
        const QString check = fields.last().toString();
        EXPECT_EQ(check.isEmpty(), cell(window, r, kCheckColumn).isEmpty());
        EXPECT_FALSE(check.startsWith(QStringLiteral("error")));
    }
}

TEST_F(SolutionsTest, AnExportThatCannotBeWrittenSaysSoAndTheTableStays) {
    TSolutionsWindow& window = openSolutions();
    run(window);
    dialogs.saveAnswers.push_back(directory_.filePath(QStringLiteral("no-such-folder/table.csv")));
    window.ExportCsvButton->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.busy(); }, 60000));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{QStringLiteral("方案表未能导出。")});
    EXPECT_TRUE(ScriptedDialogs::Detail(dialogs.messages[0]).contains(QStringLiteral("no-such-folder")));
    EXPECT_EQ(window.model()->rowCount(), 95);
}

// Each refused with its message before any work; the table on screen stays.
TEST_F(SolutionsTest, BadRangesAreRefusedBeforeAnyWork) {
    TSolutionsWindow& window = openSolutions();
    run(window);
    ASSERT_EQ(window.model()->rowCount(), 95);
    using Edit = QLineEdit* TSolutionsWindow::*;
    struct Case {
        const char* what;
        std::vector<std::pair<Edit, const char*>> typed;
        SolutionInput input;
        const char* reason;
    };
    const Case kCases[] = {
        {"a zero step", {{&TSolutionsWindow::ShareStepEdit, "0"}}, SolutionInput::Share, "must be greater than 0"},
        {"a negative step",
         {{&TSolutionsWindow::FactorStepEdit, "-0.01"}},
         SolutionInput::Factor,
         "must be greater than 0"},
        {"a step too small to change Db",
         {{&TSolutionsWindow::ShareToEdit, "0.63000000000000001"},
          {&TSolutionsWindow::ShareStepEdit, "0.00000000000000001"}},
         SolutionInput::Share,
         "too small"},
        {"TO below FROM", {{&TSolutionsWindow::ShareToEdit, "0.6"}}, SolutionInput::Share, "lies below FROM"},
        {"more than ten million",
         {{&TSolutionsWindow::ShareStepEdit, "0.00000001"}},
         SolutionInput::Combinations,
         "more than 10000000 combinations"},
        {"an E range without a step",
         {{&TSolutionsWindow::EccentricityStepEdit, ""}},
         SolutionInput::Eccentricity,
         "not a number"},
        {"no centre distance",
         {{&TSolutionsWindow::CentreDistanceEdit, ""}},
         SolutionInput::CentreDistance,
         "not a plain decimal"},
    };
    window.EccentricityRangeBox->click();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        std::vector<QString> kept;
        for (const auto& [edit, text] : c.typed) {
            kept.push_back((window.*edit)->text());
            Retype(window.*edit, QString::fromUtf8(text));
        }
        dialogs.messages.clear();
        window.CalculateButton->click();
        EXPECT_FALSE(window.busy());
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
        EXPECT_EQ(dialogs.messageHeadlines(), QStringList{RefusalMessage(c.input)});
        EXPECT_TRUE(ScriptedDialogs::Detail(dialogs.messages[0]).contains(QString::fromUtf8(c.reason)))
            << ScriptedDialogs::Detail(dialogs.messages[0]);
        EXPECT_EQ(window.model()->rowCount(), 95);
        EXPECT_EQ(window.model()->table()->count(), 95u);
        for (std::size_t n = 0; n < c.typed.size(); ++n) Retype(window.*c.typed[n].first, kept[n]);
    }
    EXPECT_EQ(RefusalMessage(SolutionInput::Combinations),
              QStringLiteral("方案多于 10000000 个，方案表未计算：请加大步长或缩小范围。"));
}

TEST_F(SolutionsTest, StartsOverOneToFourTabulateEveryWholePair) {
    TSolutionsWindow& window = openSolutions();
    window.StartsOneToFourBox->click();
    EXPECT_FALSE(window.TeethEdit->isEnabled());
    Retype(window.SpeedRatioEdit, QStringLiteral("10.5"));
    run(window);
    ASSERT_EQ(window.model()->rowCount(), 2 * 95);
    EXPECT_EQ(cell(window, 0, kStartsColumn), QStringLiteral("2"));
    EXPECT_EQ(cell(window, 0, kStartsColumn + 1), QStringLiteral("21"));
    EXPECT_EQ(cell(window, 95, kStartsColumn), QStringLiteral("4"));
    EXPECT_EQ(cell(window, 95, kStartsColumn + 1), QStringLiteral("42"));
}

}  // namespace
}  // namespace wormgear::testing
