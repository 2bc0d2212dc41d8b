// Speed of the meshing core on the worked example: the whole analysis (the
// contact lines of both branches at 8 wheel angles, 50 points a line, the
// teeth in contact, both limit lines, the modification and the wheel flank's
// second branch), the measuring grid of 10,000 points, and one wheel angle's
// contact lines of every tooth, as the window redraws them when its slider
// moves.
#include <benchmark/benchmark.h>

#include "calc/testing/worked_example.h"
#include "meshing/analysis.h"
#include "meshing/flank_grid.h"

namespace wormgear::meshing {
namespace {

TWormDesign Example() {
    TWormDesign record;
    return Calculate(WorkedExampleInputs(), false, WorkedExampleCoefficients(), '.', record).design;
}

void WholeAnalysis(benchmark::State& state) {
    const TWormDesign design = Example();
    for (auto _ : state) benchmark::DoNotOptimize(AnalyseMeshing(design, {}));
}
BENCHMARK(WholeAnalysis)->Unit(benchmark::kMillisecond);

void MeasuringGrid(benchmark::State& state) {
    const PairGeometry pair = PairOf(Example());
    // 2 flanks x 2 starts x 50 rulings x 25 points = 5,000 ... x 2 = 10,000
    for (auto _ : state) benchmark::DoNotOptimize(FlankGrid(pair, 50, 50));
    state.counters["points"] = static_cast<double>(FlankGrid(pair, 50, 50).size());
}
BENCHMARK(MeasuringGrid)->Unit(benchmark::kMillisecond);

void OneWheelAngle(benchmark::State& state) {
    const PairGeometry pair = PairOf(Example());
    const auto flanks = FlanksOf(pair);
    const Mesh mesh(pair, flanks->upper, 1500);
    double phi2 = 0;
    for (auto _ : state) {
        std::size_t points = 0;
        for (int tooth = -5; tooth <= 5; ++tooth)
            for (const ContactCurve& c : mesh.firstContact(phi2, tooth, 50)) points += c.points.size();
        for (const ContactCurve& c : mesh.secondContact(phi2, 50)) points += c.points.size();
        benchmark::DoNotOptimize(points);
        phi2 += 0.001;
    }
}
BENCHMARK(OneWheelAngle)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wormgear::meshing

BENCHMARK_MAIN();
