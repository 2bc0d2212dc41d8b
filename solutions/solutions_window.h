// The table of solutions (方案表): the designer fixes the centre distance and
// the ratio (or lets z1 run over 1 to 4), gives ranges for the main base
// circle's share of A and the worm pitch diameter's factor of R3(A^c[0]),
// optionally for E and the backlash, and every combination is calculated
// with the main window's coefficients on worker threads, the window staying
// usable, with a progress bar and a cancel button. The table sorts by any
// column, hides the designs with errors on request and marks each row by its
// worst finding; a chart shows a result against the share or the factor; a
// double-click takes a design into the main window; the table goes to a
// workbook or a CSV file.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QWidget>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

#include "calc/design.h"
#include "dialogs/dialogs.h"
#include "solutions/solution_table.h"

class QChartView;

namespace wormgear {

class SolutionsModel;

// What the table of solutions needs of the main window.
class SolutionsHost {
 public:
    virtual ~SolutionsHost() = default;
    // The thirteen texts of the main window's fields.
    virtual DesignInputs hostInputs() const = 0;
    // The coefficients it calculates with, and its 取整数.
    virtual TCoefficientTable hostCoefficients() const = 0;
    virtual bool hostRoundsEnvelopedTeeth() const = 0;
    // Puts a design's texts into the main window and calculates it, as an
    // open of a design file does.
    virtual void takeOver(const DesignInputs& texts, bool roundEnvelopedTeeth) = 0;
};

// The texts a refused request is told with: what cannot be used, and what to do.
QString RefusalMessage(SolutionInput input);

class TSolutionsWindow : public QWidget {
    Q_OBJECT

 public:
    // Takes its first texts from `host`; numbers are read and shown with
    // `separator`, the user's.
    TSolutionsWindow(SolutionsHost& host, Dialogs& dialogs, char separator, QWidget* parent = nullptr);
    // A job still running is cancelled and waited for.
    ~TSolutionsWindow() override;

    // The centre distance, ratio, teeth, starts, E, backlash, grinding
    // increment and 取整数 of the main window again.
    void takeFromHost();
    // 计算方案: checks the request, then calculates on worker threads.
    void calculate();
    // 取消: stops the calculation or export under way.
    void cancel();
    // The two exports: a file name, then the work on a thread of its own.
    void exportWorkbook();
    void exportCsv();
    // Takes the design of a row of the view into the main window.
    void takeOverRow(int row);

    // A calculation or an export is under way.
    bool busy() const { return static_cast<bool>(worker_.joinable()); }
    // Worker threads of a calculation or a CSV export (default: every core).
    void setThreads(int threads) { threads_ = threads < 1 ? 1 : threads; }
    SolutionsModel* model() const { return model_; }

    QLineEdit *CentreDistanceEdit, *SpeedRatioEdit, *TeethEdit, *StartsEdit;
    QCheckBox* StartsOneToFourBox;
    QLineEdit *ShareFromEdit, *ShareToEdit, *ShareStepEdit;
    QLineEdit *FactorFromEdit, *FactorToEdit, *FactorStepEdit;
    QLineEdit* EccentricityEdit;
    QCheckBox* EccentricityRangeBox;
    QLineEdit *EccentricityFromEdit, *EccentricityToEdit, *EccentricityStepEdit;
    QLineEdit* BacklashEdit;
    QCheckBox* BacklashRangeBox;
    QLineEdit *BacklashFromEdit, *BacklashToEdit, *BacklashStepEdit;
    QLineEdit* GrindingIncrementEdit;
    QCheckBox* RoundTeethBox;
    QPushButton *TakeFromMainButton, *CalculateButton, *CancelButton;
    QProgressBar* Progress;
    QLabel* StateLabel;
    QCheckBox* WithoutErrorsBox;
    QPushButton *ExportWorkbookButton, *ExportCsvButton;
    QTableView* View;
    QLabel* FindingsLabel;
    QComboBox *ChartAxisBox, *ChartResultBox;
    QChartView* Chart;

 signals:
    // A calculation or an export has ended (completed, cancelled or failed).
    void jobEnded();

 private:
    // The parts of the window, made by the constructor in this order.
    QGroupBox* makeDesignBox();
    QGroupBox* makeRangesBox();
    QHBoxLayout* makeCommands();
    void makeView();
    QWidget* makeChartPane();
    void connectControls();
    // Runs `work` on a thread of its own with the cancel flag and a progress
    // report (rows done of `total`); `ended` runs on the window's thread
    // with whether it completed and what it threw.
    using Work =
        std::function<bool(const std::atomic<bool>& cancel, const std::function<void(std::uint64_t)>& progress)>;
    void startJob(std::uint64_t total, Work work, std::function<void(bool, std::exception_ptr)> ended);
    void showProgress(std::uint64_t done);
    void setBusy(bool busy);
    // The range fields of E and jn, and z2 and z1, as their boxes have them.
    void enableFields();
    void showState();
    // The request the fields describe.
    SolutionRequest request() const;
    // The end of an export: where it went, or its failure in a box.
    void reportExport(const QString& path, bool complete, const std::exception_ptr& failure);
    // Asks for a file name ending in `extension`; empty when cancelled.
    QString chosenFile(const QString& extension);
    void updateChart();
    void showSelectedFindings();

    SolutionsHost& host_;
    Dialogs& dialogs_;
    const char separator_;
    int threads_;
    SolutionsModel* model_;
    std::shared_ptr<SolutionTable> table_;
    bool cancelled_ = false;  // the last calculation was cancelled

    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::uint64_t jobTotal_ = 0;
    std::atomic<std::uint64_t> jobDone_{0};
    std::atomic<bool> progressPosted_{false};
};

}  // namespace wormgear
