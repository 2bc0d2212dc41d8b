// Speed of the main window: one keystroke in Edit1 (Edit1Change with the
// Edit5Change and Edit7Change it sets off), and the window's start in the
// process (creation step and show step with the coefficient load, no network).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
