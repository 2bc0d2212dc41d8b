// Speed of one full calculation (nine texts in, 34 result texts out) and of
// the number-to-text conversion that every line goes through.
#include <benchmark/benchmark.h>

#include "calc/design.h"
#include "calc/testing/worked_example.h"

using namespace wormgear;

namespace {

void BM_FullCalculation(benchmark::State& state) {
    const DesignInputs texts = WorkedExampleInputs();
    const TCoefficientTable table = WorkedExampleCoefficients();
    for (auto _ : state) {
        auto out = Calculate(texts, false, table, '.');
        benchmark::DoNotOptimize(out.lines.data());
    }
}
BENCHMARK(BM_FullCalculation);

// The same into an outcome kept from run to run, as a batch or sweep does:
// no allocation per design.
void BM_FullCalculationInto(benchmark::State& state) {
    const DesignInputs texts = WorkedExampleInputs();
    const TCoefficientTable table = WorkedExampleCoefficients();
    CalculationOutcome out;
    for (auto _ : state) {
        CalculateInto(out, texts, false, table, '.');
        benchmark::DoNotOptimize(out.lines.data());
    }
}
BENCHMARK(BM_FullCalculationInto);

void BM_FormatReal(benchmark::State& state) {
    Extended value = 168.728L;
    for (auto _ : state) {
        auto text = FormatReal(value, '.');
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_FormatReal);

void BM_ParseReal(benchmark::State& state) {
    for (auto _ : state) {
        auto value = ParseReal("12.3456", '.');
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ParseReal);

}  // namespace

BENCHMARK_MAIN();
