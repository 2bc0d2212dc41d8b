// Speed of the drawings and the report, for the worked example: a sheet
// ready to paint (goal 2 ms), a DXF file's bytes and the file itself written
// and flushed (goal 5 ms), a sheet as SVG and PDF, and the whole report with
// its three drawings (goal 150 ms).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include "drawing/drawing_files.h"
#include "drawing/dxf_writer.h"
#include "drawing/report_writer.h"
#include "drawing/testing/test_designs.h"

namespace {

using namespace wormgear;

const TitleBlock kTitle{"pair.cqb", "2024-05-01", "wormgear 7.6"};

const CalculatedDesign& Example() {
    static const CalculatedDesign design = testing::Calculated(testing::WorkedExampleDesign());
    return design;
}

DrawingKind KindOf(const benchmark::State& state) { return kDrawingKinds[state.range(0)]; }

void BM_BuildDrawing(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            BuildDrawing(KindOf(state), Example(), kTitle, testing::NoParticulars(Example(), kTitle), {}));
}
BENCHMARK(BM_BuildDrawing)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_DxfDocument(benchmark::State& state) {
    const drawing::Sheet sheet = BuildDrawing(KindOf(state), Example(), kTitle,
                                              testing::NoParticulars(Example(), kTitle), {});
    for (auto _ : state) benchmark::DoNotOptimize(DxfDocument(sheet));
}
BENCHMARK(BM_DxfDocument)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// From the calculated design to the DXF file on disk, as wormcalc and the
// preview's save do it.
void BM_SaveDxf(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("drawing.dxf")).toStdString();
    for (auto _ : state)
        SaveSheet(BuildDrawing(KindOf(state), Example(), kTitle, testing::NoParticulars(Example(), kTitle), {}),
                  FileFormat::Dxf, path);
}
BENCHMARK(BM_SaveDxf)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_SheetSvgAndPdf(benchmark::State& state) {
    const drawing::Sheet sheet = BuildDrawing(DrawingKind::Worm, Example(), kTitle,
                                              testing::NoParticulars(Example(), kTitle), {});
    const FileFormat format = state.range(0) == 0 ? FileFormat::Svg : FileFormat::Pdf;
    for (auto _ : state) benchmark::DoNotOptimize(SheetBytes(sheet, format));
}
BENCHMARK(BM_SheetSvgAndPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ReportPdf(benchmark::State& state) {
    const ReportContent content{Example(), kTitle, {}, {}, {}};
    for (auto _ : state) benchmark::DoNotOptimize(ReportPdf(content));
}
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Painting needs fonts, which a QGuiApplication brings; no window is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
