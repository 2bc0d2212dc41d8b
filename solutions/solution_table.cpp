// Cells, order and exports of a table of solutions.
#include "solutions/solution_table.h"

#include <algorithm>

#include "export/table_workbook.h"
#include "sweep/design_table.h"
#include "sweep/ordered_run.h"

namespace wormgear {

namespace {

// Rows between two looks at the cancel flag and two progress reports.
constexpr std::uint64_t kRowsPerReport = 4096;

// The axis that orders a field's values (fixed fields have one value).
std::optional<SolutionAxis> AxisOf(DesignField field) {
    switch (field) {
        case DesignField::WormStarts:
        case DesignField::WheelTeeth: return SolutionAxis::Starts;
        case DesignField::MainBaseDiameter: return SolutionAxis::Share;
        case DesignField::WormPitchDiameter: return SolutionAxis::Factor;
        case DesignField::TipArcEccentricity: return SolutionAxis::Eccentricity;
        case DesignField::Backlash: return SolutionAxis::Backlash;
        default: return std::nullopt;
    }
}

// Errors first when descending: none, info, warning, error; a failed run counts as an error.
int SeverityRank(const SolutionRow& row) {
    if (!row.succeeded && !row.hasFinding) return 3;
    if (!row.hasFinding) return 0;
    switch (Describe(row.worst).severity) {
        case Severity::Info: return 1;
        case Severity::Warning: return 2;
        case Severity::Error: return 3;
    }
    return 0;
}

}  // namespace

const std::vector<SolutionColumn>& SolutionColumns() {
    static const std::vector<SolutionColumn> columns = [] {
        using K = SolutionColumn::Kind;
        using F = DesignField;
        std::vector<SolutionColumn> c = {
            {K::Field, F::CentreDistance},
            {K::Field, F::SpeedRatio},
            {K::Field, F::WormStarts},
            {K::Field, F::WheelTeeth},
            {K::Share},
            {K::Field, F::MainBaseDiameter},
            {K::Factor},
            {K::Field, F::WormPitchDiameter},
            {K::Field, F::TipArcEccentricity},
            {K::Field, F::Backlash},
        };
        for (int n = 0; n < kSolutionResultCount; ++n) c.push_back({K::Result, F::CentreDistance, n});
        c.push_back({K::Check});
        return c;
    }();
    return columns;
}

std::string CellText(const SolutionTable& table, std::uint64_t design, const SolutionColumn& column, char separator) {
    const SolutionPlan& plan = table.plan();
    switch (column.kind) {
        case SolutionColumn::Kind::Field: return plan.text(design, column.field, separator);
        case SolutionColumn::Kind::Share: return plan.shareText(plan.position(design, SolutionAxis::Share), separator);
        case SolutionColumn::Kind::Factor:
            return plan.factorText(plan.position(design, SolutionAxis::Factor), separator);
        case SolutionColumn::Kind::Result: {
            const SolutionRow& row = table.row(design);
            if (!row.hasValue(column.result)) return "";
            return FormatReal(row.values[static_cast<std::size_t>(column.result)], separator);
        }
        case SolutionColumn::Kind::Check: {
            const SolutionRow& row = table.row(design);
            if (!row.hasFinding) return "";
            Finding worst;
            worst.code = row.worst;
            return WorstFindingText(&worst);  // as the CSV writes it
        }
    }
    return "";
}

std::string CellNumber(const SolutionTable& table, std::uint64_t design, const SolutionColumn& column) {
    const SolutionPlan& plan = table.plan();
    switch (column.kind) {
        case SolutionColumn::Kind::Field: {
            // A swept value is an exact decimal already; a fixed field holds
            // what was typed, and the cell the number the calculation reads of it.
            if (plan.sweeps(column.field)) return plan.text(design, column.field, '.');
            try {
                return FormatReal(ParseReal(plan.text(design, column.field, '.'), plan.separator()), '.');
            } catch (const NumericError&) {
                return "";
            }
        }
        case SolutionColumn::Kind::Result: return CellText(table, design, column, '.');
        case SolutionColumn::Kind::Check: return "";
        default: return CellText(table, design, column, '.');
    }
}

std::vector<std::uint32_t> CompletedRows(const SolutionTable& table, bool withoutErrors) {
    const std::uint64_t completed = table.completed();
    std::vector<std::uint32_t> rows;
    rows.reserve(static_cast<std::size_t>(completed));
    for (std::uint64_t design = 0; design < completed; ++design) {
        if (withoutErrors && table.row(design).hasError()) continue;
        rows.push_back(static_cast<std::uint32_t>(design));
    }
    return rows;
}

void SortRows(std::vector<std::uint32_t>& order, const SolutionTable& table, const SolutionColumn& column,
              bool descending) {
    const SolutionPlan& plan = table.plan();
    struct Keyed {
        double key;
        bool missing;
        std::uint32_t design;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(order.size());
    for (std::uint32_t design : order) {
        double key = 0;
        bool missing = false;
        switch (column.kind) {
            case SolutionColumn::Kind::Field:
                // Along an axis the values rise with their place; a fixed field has one value.
                if (const auto axis = AxisOf(column.field)) key = static_cast<double>(plan.position(design, *axis));
                break;
            case SolutionColumn::Kind::Share:
                key = static_cast<double>(plan.position(design, SolutionAxis::Share));
                break;
            case SolutionColumn::Kind::Factor:
                key = static_cast<double>(plan.position(design, SolutionAxis::Factor));
                break;
            case SolutionColumn::Kind::Result: {
                const SolutionRow& row = table.row(design);
                missing = !row.hasValue(column.result);
                if (!missing) key = row.values[static_cast<std::size_t>(column.result)];
                break;
            }
            case SolutionColumn::Kind::Check: {
                const SolutionRow& row = table.row(design);
                key = SeverityRank(row) * 1000.0 + (row.hasFinding ? static_cast<double>(row.worst) : 0);
                break;
            }
        }
        keyed.push_back({descending ? -key : key, missing, design});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.missing != b.missing) return b.missing;  // empty cells last
        return a.key < b.key;
    });
    for (std::size_t n = 0; n < keyed.size(); ++n) order[n] = keyed[n].design;
}

bool SolutionsCsv(const SolutionTable& table, const std::vector<std::uint32_t>& order, int threads,
                  const std::atomic<bool>& cancel, const std::function<void(std::uint64_t)>& progress,
                  std::string& csv) {
    if (threads < 1) threads = 1;
    std::vector<SolutionCalculator> workers;
    workers.reserve(static_cast<std::size_t>(threads));
    for (int t = 0; t < threads; ++t) workers.emplace_back(table.plan());
    csv = DesignTableHeader();
    std::uint64_t done = 0;
    return RunInOrder<std::string>(
        order.size(), threads, 512,
        [&](std::uint64_t first, std::uint64_t count, int worker, std::string& block) {
            SolutionCalculator& calculator = workers[static_cast<std::size_t>(worker)];
            block.reserve(static_cast<std::size_t>(count) * 400);
            for (std::uint64_t n = first; n < first + count; ++n) {
                calculator.calculate(order[static_cast<std::size_t>(n)]);
                AppendDesignRow(block, calculator.texts(), calculator.outcome(), Worst(calculator.findings()),
                                table.plan().separator());
            }
        },
        [&](std::string& block) {
            csv += block;
            done += static_cast<std::uint64_t>(std::count(block.begin(), block.end(), '\n'));
            if (progress) progress(done);
            return true;
        },
        &cancel);
}

std::optional<PackageEntries> SolutionsWorkbook(const SolutionTable& table, const std::vector<std::uint32_t>& order,
                                                const std::string& sheetName, const std::vector<std::string>& headers,
                                                const std::function<std::string(const SolutionRow&)>& checkText,
                                                const std::atomic<bool>& cancel,
                                                const std::function<void(std::uint64_t)>& progress) {
    if (order.size() + 1 > TableWorkbook::kMostRows) {
        throw WorkbookError(WorkbookError::Kind::Cell, "表格有 " + std::to_string(order.size()) + " 行，超过工作表的 " +
                                                           std::to_string(TableWorkbook::kMostRows - 1) + " 行");
    }
    TableWorkbook book(sheetName);
    for (const std::string& header : headers) book.text(header);
    book.endRow();
    const std::vector<SolutionColumn>& columns = SolutionColumns();
    std::uint64_t done = 0;
    for (std::uint32_t design : order) {
        for (const SolutionColumn& column : columns) {
            if (column.kind == SolutionColumn::Kind::Check) {
                book.text(checkText(table.row(design)));
                continue;
            }
            const std::string number = CellNumber(table, design, column);
            if (!number.empty()) {
                book.number(number);
            } else if (column.kind == SolutionColumn::Kind::Field) {
                book.text(table.plan().text(design, column.field, table.plan().separator()));  // not a number: as typed
            } else {
                book.skip();
            }
        }
        book.endRow();
        if (++done % kRowsPerReport == 0) {
            if (cancel.load(std::memory_order_relaxed)) return std::nullopt;
            if (progress) progress(done);
        }
    }
    if (progress) progress(done);
    return book.package();
}

}  // namespace wormgear
