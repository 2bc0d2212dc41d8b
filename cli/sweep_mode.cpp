// The sweep mode of wormcalc.
#include "cli/sweep_mode.h"

#include <atomic>
#include <cerrno>
#include <ostream>
#include <string>
#include <vector>

#include "calc/checks.h"
#include "cli/outcome_output.h"
#include "sweep/design_table.h"
#include "sweep/ordered_run.h"

namespace wormgear {

namespace {

// Rows per block handed from a worker to the writer.
constexpr std::uint64_t kBlockRows = 256;

// What each worker keeps from row to row, so that a row allocates nothing.
struct Worker {
    DesignInputs texts;
    CalculationOutcome outcome;
    std::vector<Finding> findings;
};

}  // namespace

int RunSweep(const SweepJob& job, std::ostream& out, char separator) {
    const int threads = job.threads < 1 ? 1 : job.threads;
    std::vector<Worker> workers(static_cast<std::size_t>(threads));
    for (Worker& worker : workers) worker.texts = job.base;
    std::atomic<bool> anyFailed{false};
    if (job.csv) out << DesignTableHeader();
    int writeError = 0;  // errno of a write that failed, taken on the writer's thread
    RunInOrder<std::string>(
        job.plan.count(), threads, kBlockRows,
        [&](std::uint64_t first, std::uint64_t count, int index, std::string& block) {
            Worker& w = workers[static_cast<std::size_t>(index)];
            block.reserve(static_cast<std::size_t>(count) * (job.csv ? 400 : 3000));
            for (std::uint64_t row = first; row < first + count; ++row) {
                job.plan.apply(row, w.texts, separator);
                w.outcome.design = TWormDesign{};  // each design on its own, as a single calculation
                CalculateInto(w.outcome, w.texts, job.roundTeeth, job.coefficients, separator);
                CheckDesign(w.texts, job.coefficients, w.outcome, separator, w.findings);
                if (!w.outcome.succeeded()) anyFailed = true;
                if (job.csv) {
                    AppendDesignRow(block, w.texts, w.outcome, Worst(w.findings), separator);
                } else {
                    AppendOutcomeJson(block, w.outcome, w.findings, separator, &w.texts, job.texts);
                }
            }
        },
        [&](std::string& block) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            if (!out) writeError = errno;
            return static_cast<bool>(out);  // a failed write cancels the rest
        });
    if (!out) {
        errno = writeError;
        CheckOutput(out);
    }
    return anyFailed ? 1 : 0;
}

}  // namespace wormgear
