// Batch throughput of wormcalc --jsonl: JSON in, 34 result texts out, per design.
#include <benchmark/benchmark.h>

#include <sstream>

#include "cli/wormcalc.h"

namespace {

void BM_JsonlDesigns(benchmark::State& state) {
    const std::string line =
        R"({"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2", "base-diameter": "130", "pitch-diameter": "78"})";
    std::string input;
    for (int n = 0; n < 1000; ++n) input += line + "\n";
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out, err;
        wormgear::RunWormcalc({"--jsonl", "--coefficients", "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,0.9"},
                              in, out, err, {}, '.');
        benchmark::DoNotOptimize(out.str().size());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_JsonlDesigns)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
