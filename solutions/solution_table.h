// The columns of a table of solutions, the text of each cell, the order of
// the rows (sorted by a column, designs with errors left out) and the two
// files a table is exported to: a workbook of the columns (numbers stored as
// numbers) and the CSV table of wormcalc --sweep --csv.
//
//   SolutionColumns()[0]                     // A, a field column
//   CellText(table, 7, column, '.')          // "11.025"
//   std::vector<std::uint32_t> order = AllRows(table);
//   SortRows(order, table, column, true);    // largest first, empty cells last
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "export/package.h"
#include "solutions/solution_rows.h"

namespace wormgear {

struct SolutionColumn {
    enum class Kind : std::uint8_t {
        Field,   // a field's text: A, i, z1, z2, Db, d1, E, jn
        Share,   // Db / A
        Factor,  // d1 / R3(A^c[0])
        Result,  // a result's number
        Check,   // the worst finding
    };
    Kind kind;
    DesignField field = DesignField::CentreDistance;  // Field
    int result = 0;                                   // Result: its place in kSolutionResults
};

// Every column in its order: A, i, z1, z2, Db/A, Db, d1/A^c[0], d1, E, jn,
// the results of kSolutionResults, the check.
const std::vector<SolutionColumn>& SolutionColumns();

// The text of a cell, numbers written with `separator`: a field's text (a
// swept value as its exact decimal, a fixed one as typed), a result's number
// as its line shows it ("" where the run wrote none), and the check as
// "severity:code" ("" when there is none).
std::string CellText(const SolutionTable& table, std::uint64_t design, const SolutionColumn& column, char separator);

// The same as a number a spreadsheet stores, with '.': what the calculation
// reads of a field's text, a result's number; "" for a cell that holds no
// number (a text, the check, a result that is missing).
std::string CellNumber(const SolutionTable& table, std::uint64_t design, const SolutionColumn& column);

// Designs 0 .. completed() - 1 in design order, those with an error left out
// when `withoutErrors`.
std::vector<std::uint32_t> CompletedRows(const SolutionTable& table, bool withoutErrors);

// Sorts `order` by a column, stable (equal cells keep their order): fields
// by their value, results by their number with empty cells last either way,
// the check by its severity, then its code.
void SortRows(std::vector<std::uint32_t>& order, const SolutionTable& table, const SolutionColumn& column,
              bool descending);

// The CSV table of the designs in `order`, as wormcalc --csv writes it (the
// header, the field texts, the 34 numbers, the worst finding): each design
// is calculated again on `threads` threads. `progress` gets the rows done.
// Returns false when `cancel` stopped it.
bool SolutionsCsv(const SolutionTable& table, const std::vector<std::uint32_t>& order, int threads,
                  const std::atomic<bool>& cancel, const std::function<void(std::uint64_t)>& progress,
                  std::string& csv);

// The workbook of the designs in `order`, one sheet named `sheetName`: a
// header row of `headers` (one per column of SolutionColumns()), then one row
// per design, numbers stored as numbers and the check column as `checkText`
// words it; nothing when `cancel` stopped it. Refused with WorkbookError
// (Cell) beyond a sheet's rows.
std::optional<PackageEntries> SolutionsWorkbook(const SolutionTable& table, const std::vector<std::uint32_t>& order,
                                                const std::string& sheetName, const std::vector<std::string>& headers,
                                                const std::function<std::string(const SolutionRow&)>& checkText,
                                                const std::atomic<bool>& cancel,
                                                const std::function<void(std::uint64_t)>& progress);

}  // namespace wormgear
