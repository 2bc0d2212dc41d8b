// Speed of one sheet export (template open, fill, save), of reading a
// design-sized workbook and a design LibreOffice saved as .ods, beside the time LibreOffice needs to convert the same
// sheet headless (measured only where soffice is installed).
//
//   build-export/export/export_bench
//   build-export/export/export_bench --warm-heap
//
// A small process that opens and drops a workbook in a loop hands its heap
// back to the kernel every iteration and pays the page faults again (costly
// in a virtual machine); --warm-heap keeps the heap, as the heap of the
// long-running window program is kept, so the figure is the work itself.
#include <benchmark/benchmark.h>

#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <sys/stat.h>

#include "calc/testing/worked_example.h"
#include "export/sheets.h"
#include "export/workbook.h"

namespace wormgear {
namespace {

std::string TemplatePath(const char* name) { return std::string(WORMGEAR_BIN_DIR) + "/" + name; }

TWormDesign ExampleDesign() { return Calculate(WorkedExampleInputs(), false, WorkedExampleCoefficients(), '.').design; }

// A folder on disk (the save flushes the file to the device) or in memory
// (/dev/shm, where the flush costs nothing): the difference is the disk.
std::string Folder(bool inMemory) {
    static QTemporaryDir disk;
    static QTemporaryDir memory(QStringLiteral("/dev/shm/export_bench-XXXXXX"));
    QTemporaryDir& chosen = inMemory && memory.isValid() ? memory : disk;
    return chosen.path().toStdString();
}

void BM_ExportWormSheet(benchmark::State& state) {
    const TWormDesign design = ExampleDesign();
    const DesignInputs texts = WorkedExampleInputs();
    const std::string target = Folder(state.range(0) != 0) + "/rudar.xlsx";
    for (auto _ : state) WriteSheet(SheetKind::Worm, texts, design, '.', TemplatePath("1.xls"), target);
    state.SetLabel(state.range(0) ? "file in /dev/shm" : "file on disk, flushed");
}
BENCHMARK(BM_ExportWormSheet)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same sheet with every cell a text, as the export once wrote it: beside
// BM_ExportWormSheet/1, the cost of the number cells and their formats.
void BM_ExportWormSheetAllTexts(benchmark::State& state) {
    const TWormDesign design = ExampleDesign();
    const DesignInputs texts = WorkedExampleInputs();
    const std::string target = Folder(true) + "/rudar.xlsx";
    for (auto _ : state) {
        Workbook book = Workbook::Open(TemplatePath("1.xls"));
        for (const SheetCell& cell : SheetCells(SheetKind::Worm, texts, design, '.'))
            book.SetCellText(cell.row, cell.column, cell.text);
        book.SaveTo(target);
    }
    state.SetLabel("file in /dev/shm");
}
BENCHMARK(BM_ExportWormSheetAllTexts)->Unit(benchmark::kMicrosecond);

void BM_ExportEachSheetInMemory(benchmark::State& state) {
    const TWormDesign design = ExampleDesign();
    const DesignInputs texts = WorkedExampleInputs();
    const std::string folder = Folder(true);
    for (auto _ : state) {
        WriteSheet(SheetKind::Worm, texts, design, '.', TemplatePath("1.xls"), folder + "/rudar.xlsx");
        WriteSheet(SheetKind::Hob, texts, design, '.', TemplatePath("11.xls"), folder + "/gundao.xlsx");
        WriteSheet(SheetKind::Wheel, texts, design, '.', TemplatePath("1111.xls"), folder + "/wolun.xlsx");
    }
}
BENCHMARK(BM_ExportEachSheetInMemory)->Unit(benchmark::kMicrosecond);

const char* const kDesignFields[13] = {
    "200",     "25",      "50", "2", "130", "0", "78", "0.3", "8j (GB/T16445-1996)", "8j (GB/T16445-1996)",
    "0.3*P/2", "0.2*P/2", "0.2"};

void BM_ReadDesignFile(benchmark::State& state) {
    const std::string path = Folder(false) + "/design.cqb";
    {
        Workbook book = Workbook::Open(TemplatePath("111.xls"));
        for (int row = 1; row <= 13; ++row) book.SetCellValue(row, 1, kDesignFields[row - 1], '.');
        book.SaveTo(path);
    }
    for (auto _ : state) {
        Workbook book = Workbook::Open(path);
        for (int row = 1; row <= 13; ++row) benchmark::DoNotOptimize(book.CellText(row, 1, '.'));
    }
}
BENCHMARK(BM_ReadDesignFile)->Unit(benchmark::kMicrosecond);

// A design LibreOffice saved as OpenDocument (made by it here where soffice
// is installed): the file is turned into a workbook before it is read.
void BM_ReadOpenDocumentDesign(benchmark::State& state) {
    const std::string soffice = QStandardPaths::findExecutable(QStringLiteral("soffice")).toStdString();
    if (soffice.empty()) {
        state.SkipWithError("soffice is not installed");
        return;
    }
    const std::string folder = Folder(false);
    {
        Workbook book = Workbook::Open(TemplatePath("111.xls"));
        for (int row = 1; row <= 13; ++row) book.SetCellValue(row, 1, kDesignFields[row - 1], '.');
        book.SaveTo(folder + "/design.xlsx");
    }
    const std::string command = "'" + soffice + "' -env:UserInstallation=file://" + folder +
                                "/profile --headless --norestore --convert-to ods --outdir '" + folder + "/ods' '" +
                                folder + "/design.xlsx' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        state.SkipWithError("soffice failed");
        return;
    }
    const std::string path = folder + "/ods/design.ods";
    for (auto _ : state) {
        Workbook book = Workbook::Open(path);
        for (int row = 1; row <= 13; ++row) benchmark::DoNotOptimize(book.CellText(row, 1, '.'));
    }
}
BENCHMARK(BM_ReadOpenDocumentDesign)->Unit(benchmark::kMicrosecond);

// The same worm sheet converted to CSV by LibreOffice, its profile made by a
// first, untimed run so that only the conversion itself is measured.
void BM_LibreOfficeConvertsTheSheet(benchmark::State& state) {
    const std::string soffice = QStandardPaths::findExecutable(QStringLiteral("soffice")).toStdString();
    const std::string folder = Folder(false);
    WriteSheet(SheetKind::Worm, WorkedExampleInputs(), ExampleDesign(), '.', TemplatePath("1.xls"),
               folder + "/rudar.xlsx");
    const std::string command = "'" + soffice + "' -env:UserInstallation=file://" + folder +
                                "/profile --headless --norestore --convert-to csv --outdir '" + folder + "/csv' '" +
                                folder + "/rudar.xlsx' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        state.SkipWithError("soffice failed");
        return;
    }
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("soffice failed");
    }
}

}  // namespace
}  // namespace wormgear

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--warm-heap") == 0) {
            mallopt(M_TRIM_THRESHOLD, 256 << 20);
            mallopt(M_MMAP_THRESHOLD, 32 << 20);
            benchmark::AddCustomContext("heap", "kept between iterations (--warm-heap)");
            argv[i--] = argv[--argc];
        }
    }
    benchmark::Initialize(&argc, argv);
    if (!QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()) {
        benchmark::RegisterBenchmark("BM_LibreOfficeConvertsTheSheet", wormgear::BM_LibreOfficeConvertsTheSheet)
            ->Iterations(3)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
