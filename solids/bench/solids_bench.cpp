// How long the worked example's solids take: the tooth space alone (the
// flanks followed and fitted, the faces sewn) and the whole worm (the cuts).
#include <benchmark/benchmark.h>

#include "calc/testing/worked_example.h"
#include "solids/worm_solid.h"

namespace wormgear::solids {
namespace {

TWormDesign WorkedExample() {
    TWormDesign record;
    return Calculate(WorkedExampleInputs(), false, WorkedExampleCoefficients(), '.', record).design;
}

void BM_ToothSpace(benchmark::State& state) {
    const auto pair = meshing::PairOf(WorkedExample());
    for (auto _ : state) {
        std::string error;
        benchmark::DoNotOptimize(ToothSpaceOf(pair, &error));
    }
}
BENCHMARK(BM_ToothSpace)->Unit(benchmark::kMillisecond);

void BM_Worm(benchmark::State& state) {
    const TWormDesign d = WorkedExample();
    for (auto _ : state) {
        std::string error;
        benchmark::DoNotOptimize(MakeWorm(d, WormBodySize{}, false, &error));
    }
}
BENCHMARK(BM_Worm)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wormgear::solids

BENCHMARK_MAIN();
