// Calculating the designs of a table of solutions on worker threads.
#include "solutions/solution_rows.h"

#include <limits>
#include <type_traits>

#include "sweep/ordered_run.h"

namespace wormgear {

static_assert(std::is_trivial_v<SolutionRow>, "rows are allocated without being written");

namespace {

// Rows per block handed from a worker to the calling thread: small enough
// for a progress bar that moves, large enough to keep the hand-over cheap.
constexpr std::uint64_t kBlockRows = 512;

// The column of each result in a row, -1 for the results a table leaves out.
const std::array<int, kResultCount>& ResultSlots() {
    static const std::array<int, kResultCount> slots = [] {
        std::array<int, kResultCount> s{};
        s.fill(-1);
        for (int n = 0; n < kSolutionResultCount; ++n) s[static_cast<std::size_t>(kSolutionResults[n])] = n;
        return s;
    }();
    return slots;
}

}  // namespace

SolutionCalculator::SolutionCalculator(const SolutionPlan& plan) : plan_(plan), texts_(plan.request().base) {}

void SolutionCalculator::calculate(std::uint64_t design) {
    plan_.apply(design, texts_);
    outcome_.design = TWormDesign{};  // each design on its own, as a single calculation
    const SolutionRequest& request = plan_.request();
    CalculateInto(outcome_, texts_, request.roundEnvelopedTeeth, request.coefficients, plan_.separator());
    CheckDesign(texts_, request.coefficients, outcome_, plan_.separator(), findings_);
}

void SolutionCalculator::calculate(std::uint64_t design, SolutionRow& row) {
    calculate(design);
    row.values.fill(std::numeric_limits<Real>::quiet_NaN());
    const std::array<int, kResultCount>& slots = ResultSlots();
    for (const ResultLine& line : outcome_.lines) {
        const int slot = slots[static_cast<std::size_t>(line.id)];
        if (slot < 0) continue;
        try {
            // The line's own number text, read back: FormatReal of this number
            // is that text again (15 digits survive the trip through a double).
            row.values[static_cast<std::size_t>(slot)] = ToReal(ParseReal(line.number(), plan_.separator()));
        } catch (const NumericError&) {
            // A line is always a number; should one not read, the cell stays empty.
        }
    }
    const Finding* worst = Worst(findings_);
    row.hasFinding = worst != nullptr;
    row.worst = worst ? worst->code : CheckCode{};
    row.succeeded = outcome_.succeeded();
}

SolutionTable::SolutionTable(SolutionPlan plan)
    : plan_(std::move(plan)), rows_(new SolutionRow[static_cast<std::size_t>(plan_.count())]) {}

bool CalculateSolutions(SolutionTable& table, int threads, const std::atomic<bool>& cancel,
                        const std::function<void(std::uint64_t)>& progress) {
    if (threads < 1) threads = 1;
    std::vector<SolutionCalculator> workers;
    workers.reserve(static_cast<std::size_t>(threads));
    for (int t = 0; t < threads; ++t) workers.emplace_back(table.plan());
    // The rows are written in place by the workers; a block only says which.
    struct Block {
        std::uint64_t first = 0, count = 0;
    };
    SolutionRow* rows = table.rows_.get();
    return RunInOrder<Block>(
        table.count(), threads, kBlockRows,
        [&](std::uint64_t first, std::uint64_t count, int worker, Block& block) {
            SolutionCalculator& calculator = workers[static_cast<std::size_t>(worker)];
            for (std::uint64_t design = first; design < first + count; ++design) {
                calculator.calculate(design, rows[design]);
            }
            block = {first, count};
        },
        [&](Block& block) {
            // In design order: every row below this block's end is written.
            table.completed_.store(block.first + block.count, std::memory_order_release);
            if (progress) progress(block.first + block.count);
            return true;
        },
        &cancel);
}

}  // namespace wormgear
