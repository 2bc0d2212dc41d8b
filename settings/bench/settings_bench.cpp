// One coefficient load as the main window's show step runs it: open db1.mdb,
// read the fifteen rows, compare, close the connection.
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "settings/coefficient_store.h"

namespace {

void BM_LoadCoefficients(benchmark::State& state) {
    QTemporaryDir dir;
    if (!QFile::copy(QStringLiteral(WORMGEAR_SHIPPED_DB), dir.filePath(QStringLiteral("db1.mdb")))) {
        state.SkipWithError("cannot copy the shipped db1.mdb");
        return;
    }
    for (auto _ : state) {
        const wormgear::CoefficientLoad load = wormgear::LoadCoefficients(dir.path(), '.');
        benchmark::DoNotOptimize(load.table.c[0]);
    }
}
BENCHMARK(BM_LoadCoefficients)->Unit(benchmark::kMicrosecond);

void BM_CheckUsableCoefficientFile(benchmark::State& state) {
    for (auto _ : state) wormgear::CheckUsableCoefficientFile(QStringLiteral(WORMGEAR_SHIPPED_DB), '.');
}
BENCHMARK(BM_CheckUsableCoefficientFile)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // the SQL driver plugins need an application object
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
