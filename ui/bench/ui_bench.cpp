// Speed of the main window: one keystroke in Edit1 (Edit1Change with the
// Edit5Change and Edit7Change it sets off), the window's start in the
// process (creation step and show step with the coefficient load, no
// network), and a table of solutions of 100,000 designs from the click on
// 计算方案 to the painted table (and the calculation alone, per thread count).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "calc/testing/worked_example.h"
#include "solutions/solutions_model.h"
#include "ui/tform1.h"

namespace wormgear {
namespace {

// Dialogs that only count: a benchmark never waits for a person.
class CountingDialogs : public Dialogs {
 public:
    int messages = 0;
    void message(const QString&, const QString&) override { ++messages; }
    bool askYesNo(const QString&, const QString&) override { return false; }
    std::optional<QString> saveFileName(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> openFileName(const QString&) override { return std::nullopt; }
};

// A program directory with the shipped db1.mdb and v.txt.
struct ProgramDirectory {
    QTemporaryDir directory;
    QString path() const { return directory.path() + QLatin1Char('/'); }
    ProgramDirectory() {
        for (const char* name : {"db1.mdb", "v.txt"})
            QFile::copy(QStringLiteral(WORMGEAR_BIN_DIR "/") + QLatin1String(name), path() + QLatin1String(name));
    }
};

// Alternately types a digit after "20" and deletes it again: every iteration
// is one keystroke with all three change handlers.
void BM_KeystrokeInEdit1(benchmark::State& state) {
    ProgramDirectory program;
    CountingDialogs dialogs;
    TForm1 form(dialogs, program.path(), '.', {});
    form.show();
    QTest::keyClicks(form.Edit1, QStringLiteral("20"));
    bool typed = false;
    for (auto _ : state) {
        if (typed) QTest::keyClick(form.Edit1, Qt::Key_Backspace);
        else QTest::keyClick(form.Edit1, Qt::Key_0);
        typed = !typed;
    }
    if (dialogs.messages != 0) state.SkipWithError("a proposal failed");
    benchmark::DoNotOptimize(form.Label47->text());
}
BENCHMARK(BM_KeystrokeInEdit1)->Unit(benchmark::kMicrosecond);

// Construction (creation step) and first showing (show step: coefficient load).
void BM_WindowStart(benchmark::State& state) {
    ProgramDirectory program;
    CountingDialogs dialogs;
    for (auto _ : state) {
        TForm1 form(dialogs, program.path(), '.', {});
        form.show();
        QCoreApplication::processEvents();
        if (!form.isVisible()) state.SkipWithError("the show step failed");
    }
}
BENCHMARK(BM_WindowStart)->Unit(benchmark::kMillisecond);

// 400 shares x 250 factors around the worked example: 100,000 designs.
void TypeHundredThousand(TSolutionsWindow& window) {
    window.ShareFromEdit->setText(QStringLiteral("0.63"));
    window.ShareToEdit->setText(QStringLiteral("0.6699"));
    window.ShareStepEdit->setText(QStringLiteral("0.0001"));
    window.FactorFromEdit->setText(QStringLiteral("0.6"));
    window.FactorToEdit->setText(QStringLiteral("0.7743"));
    window.FactorStepEdit->setText(QStringLiteral("0.0007"));
}

// From the click on 计算方案 until the table of 100,000 designs is calculated
// on every core, in the model and painted. Wall-clock time.
void BM_SolutionsWindow(benchmark::State& state) {
    ProgramDirectory program;
    CountingDialogs dialogs;
    TForm1 form(dialogs, program.path(), '.', {});
    form.show();
    const DesignInputs example = WorkedExampleInputs();
    for (int row = 1; row <= kDesignFieldCount; ++row)
        form.setFieldText(row, QString::fromStdString(example.*DesignFields()[row - 1].text));
    form.N25Click();
    TSolutionsWindow& window = *form.solutionsWindow();
    TypeHundredThousand(window);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        window.CalculateButton->click();
        while (window.busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        window.View->viewport()->repaint();
    }
    if (window.model()->rowCount() != 100000 || dialogs.messages != 0) state.SkipWithError("not 100,000 designs");
    state.counters["designs"] = window.model()->rowCount();
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_SolutionsWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The same designs calculated and checked into their rows, without a window,
// on 1 and 2 threads.
void BM_SolutionRows(benchmark::State& state) {
    SolutionRequest request;
    request.base = WorkedExampleInputs();
    request.coefficients = WorkedExampleCoefficients();
    request.share = {"0.63", "0.6699", "0.0001"};
    request.factor = {"0.6", "0.7743", "0.0007"};
    const SolutionPlan plan(request, '.');
    for (auto _ : state) {
        SolutionTable table(plan);
        std::atomic<bool> cancel{false};
        CalculateSolutions(table, static_cast<int>(state.range(0)), cancel, nullptr);
        benchmark::DoNotOptimize(table.row(99999).values[0]);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(plan.count()));
}
BENCHMARK(BM_SolutionRows)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace wormgear

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
