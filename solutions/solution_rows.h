// The calculated designs of a table of solutions, kept small: per design the
// numbers of the key results (as the result lines show them) and the worst
// finding of the design checks. Everything else is calculated again when
// asked, from the design's texts, which its number names.
//
//   SolutionTable table(std::move(plan));          // room for plan.count() rows
//   std::atomic<bool> cancel{false};
//   CalculateSolutions(table, 2, cancel, [](std::uint64_t done) { ... });
//   table.row(0).value(0)                          // β of design 0, 11.025
#pragma once

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "calc/checks.h"
#include "calc/design.h"
#include "solutions/solution_plan.h"

namespace wormgear {

// The results a table shows, in its columns' order: β, α, γ, L, the largest
// diameters of worm and wheel, the tip widths, the measuring values.
inline constexpr std::array<ResultId, 14> kSolutionResults = {
    ResultId::GeneratingPlaneAngle,   ResultId::PressureAngle,        ResultId::ThroatLeadAngle,
    ResultId::WormWorkingLength,      ResultId::WormMaxTipDiameter,   ResultId::WheelMaxOuterDiameter,
    ResultId::WormTipWidth,           ResultId::HobTipWidth,          ResultId::WormMeasuredThickness,
    ResultId::WormMeasuredHeight,     ResultId::HobMeasuredThickness, ResultId::HobMeasuredHeight,
    ResultId::WheelMeasuredThickness, ResultId::WheelMeasuredHeight,
};
inline constexpr int kSolutionResultCount = static_cast<int>(kSolutionResults.size());

// One calculated design. Trivial, so a table of millions is allocated
// without touching its memory until the rows are written.
struct SolutionRow {
    // The number of each result line, NaN where the run wrote no line;
    // FormatReal gives back the line's number text.
    std::array<Real, kSolutionResultCount> values;
    CheckCode worst;  // the worst finding, when there is one
    bool hasFinding;
    bool succeeded;

    bool hasValue(int result) const { return !std::isnan(values[static_cast<std::size_t>(result)]); }
    bool hasError() const { return !succeeded || (hasFinding && Describe(worst).severity == Severity::Error); }
};

// One worker's kept state: each design is calculated as a single
// calculation of its texts (a fresh record) through CalculateInto and
// checked into a kept vector, so a row allocates nothing.
class SolutionCalculator {
 public:
    explicit SolutionCalculator(const SolutionPlan& plan);

    // Calculates and checks design `design`; `row` gets its summary.
    void calculate(std::uint64_t design, SolutionRow& row);
    void calculate(std::uint64_t design);

    // What the last calculation read and gave.
    const DesignInputs& texts() const { return texts_; }
    const CalculationOutcome& outcome() const { return outcome_; }
    const std::vector<Finding>& findings() const { return findings_; }

 private:
    const SolutionPlan& plan_;
    DesignInputs texts_;
    CalculationOutcome outcome_;
    std::vector<Finding> findings_;
};

// A plan and the rows of its designs, filled in design order.
class SolutionTable {
 public:
    // Allocates the rows; std::bad_alloc when they do not fit.
    explicit SolutionTable(SolutionPlan plan);

    const SolutionPlan& plan() const { return plan_; }
    std::uint64_t count() const { return plan_.count(); }

    // Rows 0 .. completed() - 1 are written and stay as they are.
    std::uint64_t completed() const { return completed_.load(std::memory_order_acquire); }
    const SolutionRow& row(std::uint64_t design) const { return rows_[design]; }

 private:
    friend bool CalculateSolutions(SolutionTable&, int, const std::atomic<bool>&,
                                   const std::function<void(std::uint64_t)>&);
    SolutionPlan plan_;
    std::unique_ptr<SolutionRow[]> rows_;
    std::atomic<std::uint64_t> completed_{0};
};

// Calculates every design of `table` on `threads` worker threads, the rows
// completed in design order; `progress` is called (on the calling thread)
// with the number completed after each block. Returns false when `cancel`
// stopped it; the rows completed until then stay.
bool CalculateSolutions(SolutionTable& table, int threads, const std::atomic<bool>& cancel,
                        const std::function<void(std::uint64_t)>& progress);

}  // namespace wormgear
