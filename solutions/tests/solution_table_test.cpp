// Calculated tables of solutions: every row equals a single calculation of
// its texts, whatever the threads; cancelling keeps what is done; sorting,
// the filter, and the two exports read back.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <set>

#include "calc/testing/worked_example.h"
#include "export/table_workbook.h"
#include "export/tests/test_support.h"
#include "export/workbook.h"
#include "solutions/solution_table.h"
#include "sweep/design_table.h"

namespace wormgear {
namespace {

// Around the worked example, far beyond the hints: main base circles up to
// 1.7 A (Db 340 exceeds every d2: the pressure angle fails), factors from
// half to twice the hint's, E up to 0.6 mm. Successes with and without
// warnings, and errors, all occur.
SolutionRequest WideRequest() {
    SolutionRequest request;
    request.base = WorkedExampleInputs();
    request.coefficients = WorkedExampleCoefficients();
    request.share = {"0.65", "2", "0.35"};
    request.factor = {"0.3", "1.2", "0.15"};
    request.eccentricity = SolutionRange{"0", "0.6", "0.3"};
    return request;
}

std::unique_ptr<SolutionTable> Calculated(const SolutionRequest& request, int threads) {
    auto table = std::make_unique<SolutionTable>(SolutionPlan(request, '.'));
    std::atomic<bool> cancel{false};
    EXPECT_TRUE(CalculateSolutions(*table, threads, cancel, nullptr));
    EXPECT_EQ(table->completed(), table->count());
    return table;
}

const SolutionColumn& ResultColumn(ResultId id) {
    for (const SolutionColumn& column : SolutionColumns())
        if (column.kind == SolutionColumn::Kind::Result && kSolutionResults[column.result] == id) return column;
    throw std::logic_error("no column");
}

TEST(SolutionTable, EveryRowIsTheSingleCalculationOfItsTexts) {
    const auto table = Calculated(WideRequest(), 2);
    const SolutionPlan& plan = table->plan();
    ASSERT_EQ(plan.count(), 4u * 7 * 3);
    int failed = 0, warned = 0, clean = 0;
    for (std::uint64_t design = 0; design < plan.count(); ++design) {
        SCOPED_TRACE(design);
        const DesignInputs texts = plan.inputs(design);
        // A single calculation as the window runs it, with its own record.
        const CalculationOutcome outcome = Calculate(texts, false, WorkedExampleCoefficients(), '.');
        const std::vector<Finding> findings = CheckDesign(texts, WorkedExampleCoefficients(), outcome, '.');
        const SolutionRow& row = table->row(design);
        EXPECT_EQ(row.succeeded, outcome.succeeded());
        std::map<ResultId, std::string> numbers;
        for (const ResultLine& line : outcome.lines) numbers[line.id] = std::string(line.number());
        for (int n = 0; n < kSolutionResultCount; ++n) {
            const ResultId id = kSolutionResults[n];
            EXPECT_EQ(CellText(*table, design, ResultColumn(id), '.'), numbers.count(id) ? numbers[id] : "")
                << Result(id).symbol;
        }
        const SolutionColumn check{SolutionColumn::Kind::Check};
        EXPECT_EQ(CellText(*table, design, check, '.'), WorstFindingText(Worst(findings)));
        if (!outcome.succeeded()) ++failed;
        else if (!findings.empty()) ++warned;
        else ++clean;
    }
    EXPECT_GT(failed, 0);
    EXPECT_GT(warned, 0);
    EXPECT_GT(clean, 0);
}

TEST(SolutionTable, OneAndTwoThreadsGiveTheSameRows) {
    const auto one = Calculated(WideRequest(), 1);
    const auto two = Calculated(WideRequest(), 2);
    for (std::uint64_t design = 0; design < one->count(); ++design) {
        SCOPED_TRACE(design);
        for (const SolutionColumn& column : SolutionColumns())
            EXPECT_EQ(CellText(*one, design, column, '.'), CellText(*two, design, column, '.'));
    }
}

TEST(SolutionTable, CancelStopsTheRunAndKeepsTheRowsDone) {
    SolutionRequest request = WideRequest();
    request.share.step = "0.001";  // 1351 x 7 x 3 designs, many blocks
    SolutionTable table{SolutionPlan(request, '.')};
    std::atomic<bool> cancel{false};
    std::uint64_t reported = 0;
    const bool complete = CalculateSolutions(table, 2, cancel, [&](std::uint64_t done) {
        reported = done;
        cancel = true;  // after the first block
    });
    EXPECT_FALSE(complete);
    EXPECT_GT(table.completed(), 0u);
    EXPECT_LT(table.completed(), table.count());
    EXPECT_EQ(table.completed(), reported);
    // The rows done are whole.
    const SolutionColumn beta = ResultColumn(ResultId::GeneratingPlaneAngle);
    for (std::uint64_t design = 0; design < table.completed(); design += 97) {
        const CalculationOutcome outcome = Calculate(table.plan().inputs(design), false, WorkedExampleCoefficients(),
                                                     '.');
        std::string expected;
        for (const ResultLine& line : outcome.lines)
            if (line.id == ResultId::GeneratingPlaneAngle) expected = line.number();
        EXPECT_EQ(CellText(table, design, beta, '.'), expected) << design;
    }
}

TEST(SolutionTable, SortingKeepsEmptyCellsLastAndEqualCellsInOrder) {
    const auto table = Calculated(WideRequest(), 2);
    const SolutionColumn beta = ResultColumn(ResultId::GeneratingPlaneAngle);
    for (const bool descending : {false, true}) {
        SCOPED_TRACE(descending);
        std::vector<std::uint32_t> order = CompletedRows(*table, false);
        SortRows(order, *table, beta, descending);
        ASSERT_EQ(order.size(), table->count());
        std::set<std::uint32_t> distinct(order.begin(), order.end());
        EXPECT_EQ(distinct.size(), order.size());
        bool emptySeen = false;
        for (std::size_t n = 0; n < order.size(); ++n) {
            const SolutionRow& row = table->row(order[n]);
            if (!row.hasValue(beta.result)) {
                emptySeen = true;
                if (n > 0 && !table->row(order[n - 1]).hasValue(beta.result)) {
                    EXPECT_LT(order[n - 1], order[n]);  // in design order
                }
                continue;
            }
            EXPECT_FALSE(emptySeen) << "a number after an empty cell";
            if (n == 0) continue;
            const SolutionRow& previous = table->row(order[n - 1]);
            const Real a = previous.values[beta.result], b = row.values[beta.result];
            EXPECT_TRUE(descending ? a >= b : a <= b) << a << " then " << b;
            if (a == b) {
                EXPECT_LT(order[n - 1], order[n]);
            }
        }
        EXPECT_TRUE(emptySeen);
    }

    // By the check, worst first: errors, then warnings, then none.
    std::vector<std::uint32_t> order = CompletedRows(*table, false);
    const SolutionColumn check{SolutionColumn::Kind::Check};
    SortRows(order, *table, check, true);
    auto rank = [&](std::uint32_t design) {
        const SolutionRow& row = table->row(design);
        if (row.hasError()) return 2;
        return row.hasFinding ? 1 : 0;
    };
    for (std::size_t n = 1; n < order.size(); ++n) EXPECT_GE(rank(order[n - 1]), rank(order[n]));
    EXPECT_EQ(rank(order.front()), 2);
    EXPECT_EQ(rank(order.back()), 0);

    // A field by its value: Db, largest first.
    order = CompletedRows(*table, false);
    const SolutionColumn db{SolutionColumn::Kind::Field, DesignField::MainBaseDiameter};
    SortRows(order, *table, db, true);
    EXPECT_EQ(CellText(*table, order.front(), db, '.'), "340");
    EXPECT_EQ(CellText(*table, order.back(), db, '.'), "130");
}

TEST(SolutionTable, TheFilterLeavesOutEveryDesignWithAnError) {
    const auto table = Calculated(WideRequest(), 2);
    const std::vector<std::uint32_t> all = CompletedRows(*table, false);
    const std::vector<std::uint32_t> kept = CompletedRows(*table, true);
    std::size_t errors = 0;
    for (std::uint32_t design : all) {
        const CalculationOutcome outcome = Calculate(table->plan().inputs(design), false, WorkedExampleCoefficients(),
                                                     '.');
        const std::vector<Finding> findings = CheckDesign(table->plan().inputs(design), WorkedExampleCoefficients(),
                                                          outcome, '.');
        const bool error = !outcome.succeeded() || (!findings.empty() && findings[0].severity() == Severity::Error);
        errors += error;
        EXPECT_EQ(std::find(kept.begin(), kept.end(), design) == kept.end(), error) << design;
    }
    EXPECT_GT(errors, 0u);
    EXPECT_EQ(kept.size(), all.size() - errors);
}

TEST(SolutionTable, TheCsvHoldsTheRowsOfSingleCalculationsInTheOrderShown) {
    const auto table = Calculated(WideRequest(), 2);
    std::vector<std::uint32_t> order = CompletedRows(*table, true);
    SortRows(order, *table, ResultColumn(ResultId::PressureAngle), true);
    std::atomic<bool> cancel{false};
    std::string one, two;
    ASSERT_TRUE(SolutionsCsv(*table, order, 1, cancel, nullptr, one));
    ASSERT_TRUE(SolutionsCsv(*table, order, 2, cancel, nullptr, two));
    EXPECT_EQ(one, two);
    std::string expected = DesignTableHeader();
    for (std::uint32_t design : order) {
        const DesignInputs texts = table->plan().inputs(design);
        const CalculationOutcome outcome = Calculate(texts, false, WorkedExampleCoefficients(), '.');
        const std::vector<Finding> findings = CheckDesign(texts, WorkedExampleCoefficients(), outcome, '.');
        AppendDesignRow(expected, texts, outcome, Worst(findings), '.');
    }
    EXPECT_EQ(one, expected);

    cancel = true;
    std::string stopped;
    EXPECT_FALSE(SolutionsCsv(*table, order, 2, cancel, nullptr, stopped));
}

TEST(SolutionTable, TheWorkbookHoldsNumbersAsNumbers) {
    SolutionRequest request = WideRequest();
    request.base.WormAccuracy = "7 <精>";  // travels along, shown nowhere
    const auto table = Calculated(request, 2);
    std::vector<std::uint32_t> order = CompletedRows(*table, false);
    SortRows(order, *table, ResultColumn(ResultId::WormWorkingLength), false);
    std::vector<std::string> headers;
    for (std::size_t n = 0; n < SolutionColumns().size(); ++n) headers.push_back("列 " + std::to_string(n + 1));
    std::atomic<bool> cancel{false};
    const auto package = SolutionsWorkbook(
        *table, order, "方案表", headers, [](const SolutionRow& row) { return row.hasError() ? "错误" : ""; }, cancel,
        nullptr);
    ASSERT_TRUE(package.has_value());
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("table.xlsx")).toStdString();
    ReplaceWorkbookFile(path, WritePackage(*package));

    // Read back through the workbook component: every cell as the table shows it.
    const Workbook book = Workbook::Open(path);
    const std::vector<SolutionColumn>& columns = SolutionColumns();
    for (std::size_t c = 0; c < columns.size(); ++c)
        EXPECT_EQ(book.CellText(1, static_cast<int>(c) + 1, '.'), headers[c]);
    for (std::size_t r = 0; r < order.size(); ++r) {
        for (std::size_t c = 0; c + 1 < columns.size(); ++c) {
            EXPECT_EQ(book.CellText(static_cast<int>(r) + 2, static_cast<int>(c) + 1, '.'),
                      CellText(*table, order[r], columns[c], '.'))
                << "row " << r << " column " << c;
        }
        EXPECT_EQ(book.CellText(static_cast<int>(r) + 2, static_cast<int>(columns.size()), '.'),
                  table->row(order[r]).hasError() ? "错误" : "");
    }

    // Every cell below the header but the check's is a number cell.
    const pugi::xml_document sheet = testing::ParseXml(testing::PartOf(path, "xl/worksheets/sheet1.xml"));
    int numbers = 0, texts = 0;
    for (const pugi::xpath_node& node : sheet.select_nodes("//*[local-name()='c']")) {
        const std::string reference = node.node().attribute("r").value();
        const bool header = reference.size() >= 2 && reference.substr(reference.find_first_of("0123456789")) == "1";
        const bool checkColumn = reference.rfind("Y", 0) == 0;  // the 25th column
        if (header || checkColumn) {
            EXPECT_STREQ(node.node().attribute("t").value(), "s") << reference;
            ++texts;
        } else {
            EXPECT_TRUE(node.node().attribute("t").empty()) << reference;
            ++numbers;
        }
    }
    EXPECT_GT(numbers, static_cast<int>(order.size()) * 10);
    EXPECT_GE(texts, static_cast<int>(columns.size()));
}

// Column widths in characters of the sheet's font, worked by hand: the
// widest cell plus two, a wide (Chinese, full-width, Hangul) character
// counting two, at most sixty.
TEST(TableWorkbookWidths, EachColumnIsAsWideAsItsWidestCell) {
    struct Column {
        const char* header;
        std::vector<const char*> numbers, texts;
        int width;
    };
    const Column kColumns[] = {
        {"A (mm) 中心距", {"200", "1E15"}, {}, 7 + 6 + 2},
        {"i", {"25", "-1234.56789"}, {}, 11 + 2},
        {"β (°) 母平面倾斜角", {"11.025"}, {}, 6 + 12 + 2},
        {"检查", {}, {"错误 pressure-angle-undefined"}, 5 + 24 + 2},
        {"x", {}, {"，。한"}, 6 + 2},
        {"", {}, {}, 2},
        {"long", {}, {"a text longer than any column should be: it would push every other column off the page"}, 60},
    };
    TableWorkbook book("方案表");
    for (const Column& column : kColumns) book.text(column.header);
    book.endRow();
    for (const Column& column : kColumns) {
        if (!column.numbers.empty()) book.number(column.numbers.front());
        else if (!column.texts.empty()) book.text(column.texts.front());
        else book.skip();
    }
    book.endRow();
    for (const Column& column : kColumns) {
        if (column.numbers.size() > 1) book.number(column.numbers[1]);
        else book.skip();
    }
    book.endRow();
    for (std::size_t c = 0; c < std::size(kColumns); ++c)
        EXPECT_EQ(book.columnWidth(static_cast<int>(c)), kColumns[c].width) << kColumns[c].header;
}

TEST(SolutionTable, AWorkbookBeyondTheSheetsRowsIsRefusedBeforeAnyRow) {
    const auto table = Calculated(WideRequest(), 1);
    const std::vector<std::uint32_t> order(TableWorkbook::kMostRows, 0);  // one more than a sheet takes with its header
    std::atomic<bool> cancel{false};
    int called = 0;
    try {
        SolutionsWorkbook(
            *table, order, "方案表", std::vector<std::string>(SolutionColumns().size(), "h"),
            [&](const SolutionRow&) {
                ++called;
                return std::string();
            },
            cancel, nullptr);
        ADD_FAILURE() << "written";
    } catch (const WorkbookError& e) {
        EXPECT_EQ(e.kind(), WorkbookError::Kind::Cell);
    }
    EXPECT_EQ(called, 0);
}

}  // namespace
}  // namespace wormgear
