// Speed of the drawings and the report, for the worked example: a sheet
// ready to paint (goal 2 ms), a DXF file's bytes and the file itself written
// and flushed (goal 5 ms), a sheet as SVG and PDF, the whole report with its
// three drawings (goal 150 ms), and one frame of the meshing window's
// animation: the contact lines at the slider's next angle, the sheet of plots
// and its painting at the window's size (goal 16 ms).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "drawing/drawing_files.h"
#include "drawing/dxf_writer.h"
#include "drawing/meshing_sheet.h"
#include "drawing/report_writer.h"
#include "drawing/sheet_painter.h"
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

// As the window redraws when its slider moves: 1100 x 800 pixels, each
// frame at the next of the window's 72 steps over one angular pitch.
void BM_MeshingAnimationFrame(benchmark::State& state) {
    const TWormDesign& d = Example().design;
    const meshing::MeshingAnalysis analysis = meshing::AnalyseMeshing(d, {});
    const meshing::PairGeometry pair = meshing::PairOf(d);
    const auto flanks = meshing::FlanksOf(pair);
    const meshing::Mesh mesh(pair, flanks->upper, analysis.wormSpeed);
    QImage image(1100, 800, QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        const double phi2 = mesh.pair().angularPitch() * (step++ % 72) / 72;
        const drawing::Sheet sheet = BuildMeshingSheet(Example(), analysis, ContactAt(mesh, phi2), kTitle);
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintSheet(painter, sheet, QRectF(0, 0, image.width(), image.height()));
    }
}
BENCHMARK(BM_MeshingAnimationFrame)->Unit(benchmark::kMillisecond);

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
