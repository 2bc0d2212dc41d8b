// The table of solutions window: its fields, the run on worker threads, the
// view, the chart and the exports.
#include "solutions/solutions_window.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSplitter>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>
#include <new>

#include "dialogs/window_font.h"
#include "drawing/axis_ticks.h"
#include "export/table_workbook.h"
#include "files/file_io.h"
#include "files/qt_path.h"
#include "solutions/solutions_model.h"
#include "translations/error_text.h"
#include "translations/interface_language.h"

namespace wormgear {

namespace {

class SolutionsText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::Solutions)
};

QLineEdit* MakeEdit(QWidget* parent, const char* name, int width = 80) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(width);
    return edit;
}

QLabel* MakeLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

// The steps of the progress bar, whatever the number of rows.
constexpr int kProgressSteps = 1000;

}  // namespace

QString RefusalMessage(SolutionInput input) {
    const QString rangeRule = SolutionsText::tr("（从、到、步长须为小数，到不小于从，步长大于 0 且使数值有变化）");
    switch (input) {
        case SolutionInput::CentreDistance:
            return SolutionsText::tr("中心距须为大于 0 的小数（如 200 或 200.5），方案表未计算。");
        case SolutionInput::SpeedRatio: return SolutionsText::tr("速比须为大于 0 的小数，方案表未计算。");
        case SolutionInput::Starts:
            return SolutionsText::tr("速比乘以 1～4 的蜗杆头数都得不到整数齿数，方案表未计算。");
        case SolutionInput::Share:
            return SolutionsText::tr("主基圆系数 Db/A 的范围不能使用%1，方案表未计算。").arg(rangeRule);
        case SolutionInput::Factor:
            return SolutionsText::tr("杆分度圆系数 d1/A^c[0] 的范围不能使用%1，方案表未计算。").arg(rangeRule);
        case SolutionInput::Eccentricity:
            return SolutionsText::tr("E 值的范围不能使用%1，方案表未计算。").arg(rangeRule);
        case SolutionInput::Backlash: return SolutionsText::tr("侧隙的范围不能使用%1，方案表未计算。").arg(rangeRule);
        case SolutionInput::Combinations:
            return SolutionsText::tr("方案多于 %1 个，方案表未计算：请加大步长或缩小范围。")
                .arg(SweepPlan::kMostCombinations);
    }
    return QString();
}

TSolutionsWindow::TSolutionsWindow(SolutionsHost& host, Dialogs& dialogs, char separator, QWidget* parent)
    : QWidget(parent, Qt::Window),
      host_(host),
      dialogs_(dialogs),
      separator_(separator),
      threads_(std::max(1, static_cast<int>(std::thread::hardware_concurrency()))) {
    setObjectName(QStringLiteral("SolutionsWindow"));
    setWindowTitle(SolutionsText::tr("方案表"));
    setFont(WindowFont());
    resize(1180, 900);

    auto* design = makeDesignBox();
    auto* ranges = makeRangesBox();
    auto* commands = makeCommands();
    makeView();
    auto* chartPane = makeChartPane();

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(View);
    splitter->addWidget(chartPane);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    splitter->setSizes({360, 300});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(design);
    layout->addWidget(ranges);
    layout->addLayout(commands);
    layout->addWidget(StateLabel);
    layout->addWidget(splitter, 1);

    connectControls();
    takeFromHost();
    enableFields();
    setBusy(false);
}

// The design: A, i, z2, z1, E, jn, the grinding increment.
QGroupBox* TSolutionsWindow::makeDesignBox() {
    auto* design = new QGroupBox(SolutionsText::tr("设计"), this);
    auto* designGrid = new QGridLayout(design);
    CentreDistanceEdit = MakeEdit(design, "CentreDistanceEdit");
    SpeedRatioEdit = MakeEdit(design, "SpeedRatioEdit");
    TeethEdit = MakeEdit(design, "TeethEdit");
    StartsEdit = MakeEdit(design, "StartsEdit");
    StartsOneToFourBox = new QCheckBox(SolutionsText::tr("头数取 1～4（齿数 = 速比 × 头数，为整数时）"), design);
    StartsOneToFourBox->setObjectName(QStringLiteral("StartsOneToFourBox"));
    GrindingIncrementEdit = MakeEdit(design, "GrindingIncrementEdit");
    RoundTeethBox = new QCheckBox(SolutionsText::tr("取整数"), design);
    RoundTeethBox->setObjectName(QStringLiteral("RoundTeethBox"));
    TakeFromMainButton = new QPushButton(SolutionsText::tr("取主窗口数据"), design);
    TakeFromMainButton->setObjectName(QStringLiteral("TakeFromMainButton"));
    designGrid->addWidget(MakeLabel(design, SolutionsText::tr("中心距 A：")), 0, 0);
    designGrid->addWidget(CentreDistanceEdit, 0, 1);
    designGrid->addWidget(MakeLabel(design, SolutionsText::tr("速比 i：")), 0, 2);
    designGrid->addWidget(SpeedRatioEdit, 0, 3);
    designGrid->addWidget(MakeLabel(design, SolutionsText::tr("齿数 z2：")), 0, 4);
    designGrid->addWidget(TeethEdit, 0, 5);
    designGrid->addWidget(MakeLabel(design, SolutionsText::tr("头数 z1：")), 0, 6);
    designGrid->addWidget(StartsEdit, 0, 7);
    designGrid->addWidget(StartsOneToFourBox, 0, 8);
    designGrid->addWidget(MakeLabel(design, SolutionsText::tr("磨齿增量：")), 1, 0);
    designGrid->addWidget(GrindingIncrementEdit, 1, 1);
    designGrid->addWidget(RoundTeethBox, 1, 2, 1, 2);
    designGrid->addWidget(TakeFromMainButton, 1, 8, Qt::AlignLeft);
    designGrid->setColumnStretch(9, 1);

    return design;
}

// The ranges of the share and the factor, the E value and the backlash fixed
// or over ranges; the share's and the factor's proposed in the user's notation.
QGroupBox* TSolutionsWindow::makeRangesBox() {
    auto* ranges = new QGroupBox(SolutionsText::tr("范围"), this);
    auto* rangeGrid = new QGridLayout(ranges);
    rangeGrid->addWidget(MakeLabel(ranges, SolutionsText::tr("从")), 0, 2);
    rangeGrid->addWidget(MakeLabel(ranges, SolutionsText::tr("到")), 0, 3);
    rangeGrid->addWidget(MakeLabel(ranges, SolutionsText::tr("步长")), 0, 4);
    auto rangeRow = [&](int row, const QString& caption, QWidget* fixed, QLineEdit*& from, QLineEdit*& to,
                        QLineEdit*& step, const char* name) {
        rangeGrid->addWidget(MakeLabel(ranges, caption), row, 0);
        if (fixed) rangeGrid->addWidget(fixed, row, 1);
        from = MakeEdit(ranges, (std::string(name) + "FromEdit").c_str());
        to = MakeEdit(ranges, (std::string(name) + "ToEdit").c_str());
        step = MakeEdit(ranges, (std::string(name) + "StepEdit").c_str());
        rangeGrid->addWidget(from, row, 2);
        rangeGrid->addWidget(to, row, 3);
        rangeGrid->addWidget(step, row, 4);
    };
    rangeRow(1, SolutionsText::tr("主基圆系数 Db/A："), nullptr, ShareFromEdit, ShareToEdit, ShareStepEdit, "Share");
    rangeRow(2, SolutionsText::tr("杆分度圆系数 d1/A^c[0]："), nullptr, FactorFromEdit, FactorToEdit, FactorStepEdit,
             "Factor");
    EccentricityEdit = MakeEdit(ranges, "EccentricityEdit");
    EccentricityRangeBox = new QCheckBox(SolutionsText::tr("按范围"), ranges);
    EccentricityRangeBox->setObjectName(QStringLiteral("EccentricityRangeBox"));
    rangeRow(3, SolutionsText::tr("E 值："), EccentricityEdit, EccentricityFromEdit, EccentricityToEdit,
             EccentricityStepEdit, "Eccentricity");
    rangeGrid->addWidget(EccentricityRangeBox, 3, 5);
    BacklashEdit = MakeEdit(ranges, "BacklashEdit");
    BacklashRangeBox = new QCheckBox(SolutionsText::tr("按范围"), ranges);
    BacklashRangeBox->setObjectName(QStringLiteral("BacklashRangeBox"));
    rangeRow(4, SolutionsText::tr("侧隙："), BacklashEdit, BacklashFromEdit, BacklashToEdit, BacklashStepEdit,
             "Backlash");
    rangeGrid->addWidget(BacklashRangeBox, 4, 5);
    rangeGrid->setColumnStretch(6, 1);
    const SolutionRequest defaults;
    ShareFromEdit->setText(QString::fromStdString(defaults.share.from));
    ShareToEdit->setText(QString::fromStdString(defaults.share.to));
    ShareStepEdit->setText(QString::fromStdString(defaults.share.step));
    FactorFromEdit->setText(QString::fromStdString(defaults.factor.from));
    FactorToEdit->setText(QString::fromStdString(defaults.factor.to));
    FactorStepEdit->setText(QString::fromStdString(defaults.factor.step));
    for (QLineEdit* edit : {ShareFromEdit, ShareToEdit, ShareStepEdit, FactorFromEdit, FactorToEdit, FactorStepEdit}) {
        if (separator_ != '.') edit->setText(edit->text().replace(QLatin1Char('.'), QLatin1Char(separator_)));
    }

    return ranges;
}

// The run and the table's commands.
QHBoxLayout* TSolutionsWindow::makeCommands() {
    CalculateButton = new QPushButton(SolutionsText::tr("计算方案"), this);
    CalculateButton->setObjectName(QStringLiteral("CalculateButton"));
    CalculateButton->setDefault(true);
    CancelButton = new QPushButton(SolutionsText::tr("取消"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setEnabled(false);
    Progress = new QProgressBar(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    Progress->setRange(0, kProgressSteps);
    Progress->setValue(0);
    StateLabel = MakeLabel(this, SolutionsText::tr("尚未计算。"));
    StateLabel->setObjectName(QStringLiteral("StateLabel"));
    WithoutErrorsBox = new QCheckBox(SolutionsText::tr("只显示没有错误的方案"), this);
    WithoutErrorsBox->setObjectName(QStringLiteral("WithoutErrorsBox"));
    ExportWorkbookButton = new QPushButton(SolutionsText::tr("导出工作簿…"), this);
    ExportWorkbookButton->setObjectName(QStringLiteral("ExportWorkbookButton"));
    ExportCsvButton = new QPushButton(SolutionsText::tr("导出 CSV…"), this);
    ExportCsvButton->setObjectName(QStringLiteral("ExportCsvButton"));
    auto* commands = new QHBoxLayout;
    commands->addWidget(CalculateButton);
    commands->addWidget(CancelButton);
    commands->addWidget(Progress, 1);
    commands->addWidget(WithoutErrorsBox);
    commands->addWidget(ExportWorkbookButton);
    commands->addWidget(ExportCsvButton);

    return commands;
}

// The table of the designs.
void TSolutionsWindow::makeView() {
    model_ = new SolutionsModel(separator_, this);
    View = new QTableView(this);
    View->setObjectName(QStringLiteral("View"));
    View->setModel(model_);
    View->setSelectionBehavior(QAbstractItemView::SelectRows);
    View->setSelectionMode(QAbstractItemView::SingleSelection);
    View->setEditTriggers(QAbstractItemView::NoEditTriggers);
    View->setWordWrap(false);
    View->horizontalHeader()->setDefaultSectionSize(72);
    View->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    View->horizontalHeader()->setStretchLastSection(true);
    // Each column as wide as its two-line heading, and at least as wide as a
    // number of the table ("101.316", "61.88040"): neither may be cut.
    View->horizontalHeader()->setMinimumSectionSize(
        View->fontMetrics().horizontalAdvance(QStringLiteral("0000.00000")) + 12);
    // Measured with the sort indicator's room, which a sorted column shows.
    View->horizontalHeader()->setSortIndicatorShown(true);
    View->horizontalHeader()->resizeSections(QHeaderView::ResizeToContents);
    View->horizontalHeader()->setSortIndicatorShown(false);
    View->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    View->verticalHeader()->setDefaultSectionSize(View->fontMetrics().height() + 6);
    View->setToolTip(SolutionsText::tr("双击一行，把这个方案放进主窗口并计算"));
}

// The chart, its choice of result and axis, and the findings of the chosen design.
QWidget* TSolutionsWindow::makeChartPane() {
    Chart = new QChartView(this);
    Chart->setObjectName(QStringLiteral("Chart"));
    Chart->setRenderHint(QPainter::Antialiasing);
    Chart->chart()->legend()->hide();
    // Below this the axes' numbers give way to ellipses.
    Chart->setMinimumHeight(200);
    ChartAxisBox = new QComboBox(this);
    ChartAxisBox->setObjectName(QStringLiteral("ChartAxisBox"));
    ChartAxisBox->addItem(SolutionsText::tr("主基圆系数 Db/A"));
    ChartAxisBox->addItem(SolutionsText::tr("杆分度圆系数 d1/A^c[0]"));
    ChartResultBox = new QComboBox(this);
    ChartResultBox->setObjectName(QStringLiteral("ChartResultBox"));
    // Each result by its symbol and its name in the interface's language:
    // the chart's vertical axis is titled with the same words.
    const Translate translate = InterfaceTranslation();
    for (ResultId id : kSolutionResults) {
        const ResultDescription& result = Result(id);
        const QString name = QString::fromStdString(ResultName(result, translate));
        ChartResultBox->addItem(QString::fromUtf8(result.symbol) + QLatin1Char(' ') + name);
    }
    FindingsLabel = MakeLabel(this, QString());
    FindingsLabel->setObjectName(QStringLiteral("FindingsLabel"));
    FindingsLabel->setWordWrap(true);

    auto* chartPane = new QWidget(this);
    auto* chartLayout = new QVBoxLayout(chartPane);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    auto* chartChoice = new QHBoxLayout;
    chartChoice->addWidget(MakeLabel(chartPane, SolutionsText::tr("图表：")));
    chartChoice->addWidget(ChartResultBox);
    chartChoice->addWidget(MakeLabel(chartPane, SolutionsText::tr("随")));
    chartChoice->addWidget(ChartAxisBox);
    chartChoice->addStretch(1);
    chartLayout->addLayout(chartChoice);
    chartLayout->addWidget(Chart, 1);
    chartLayout->addWidget(FindingsLabel);

    return chartPane;
}

// What each control does.
void TSolutionsWindow::connectControls() {
    connect(TakeFromMainButton, &QPushButton::clicked, this, [this] { takeFromHost(); });
    connect(CalculateButton, &QPushButton::clicked, this, [this] { calculate(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { cancel(); });
    connect(ExportWorkbookButton, &QPushButton::clicked, this, [this] { exportWorkbook(); });
    connect(ExportCsvButton, &QPushButton::clicked, this, [this] { exportCsv(); });
    connect(WithoutErrorsBox, &QCheckBox::toggled, this, [this](bool checked) {
        model_->setWithoutErrors(checked);
        showState();
        updateChart();
    });
    connect(View, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { takeOverRow(index.row()); });
    connect(View->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        showSelectedFindings();
        updateChart();
    });
    connect(ChartAxisBox, &QComboBox::currentIndexChanged, this, [this] { updateChart(); });
    connect(ChartResultBox, &QComboBox::currentIndexChanged, this, [this] { updateChart(); });
    for (QCheckBox* box : {EccentricityRangeBox, BacklashRangeBox, StartsOneToFourBox})
        connect(box, &QCheckBox::toggled, this, [this] { enableFields(); });
}

TSolutionsWindow::~TSolutionsWindow() {
    if (worker_.joinable()) {
        cancel_ = true;
        worker_.join();
    }
}

void TSolutionsWindow::enableFields() {
    const bool eccentricityRuns = EccentricityRangeBox->isChecked(), backlashRuns = BacklashRangeBox->isChecked();
    for (QLineEdit* edit : {EccentricityFromEdit, EccentricityToEdit, EccentricityStepEdit})
        edit->setEnabled(eccentricityRuns);
    EccentricityEdit->setEnabled(!eccentricityRuns);
    for (QLineEdit* edit : {BacklashFromEdit, BacklashToEdit, BacklashStepEdit}) edit->setEnabled(backlashRuns);
    BacklashEdit->setEnabled(!backlashRuns);
    TeethEdit->setEnabled(!StartsOneToFourBox->isChecked());
    StartsEdit->setEnabled(!StartsOneToFourBox->isChecked());
}

void TSolutionsWindow::takeFromHost() {
    const DesignInputs inputs = host_.hostInputs();
    CentreDistanceEdit->setText(QString::fromStdString(inputs.CentreDistance));
    SpeedRatioEdit->setText(QString::fromStdString(inputs.SpeedRatio));
    TeethEdit->setText(QString::fromStdString(inputs.WheelTeeth));
    StartsEdit->setText(QString::fromStdString(inputs.WormStarts));
    EccentricityEdit->setText(QString::fromStdString(inputs.TipArcEccentricity));
    BacklashEdit->setText(QString::fromStdString(inputs.Backlash));
    GrindingIncrementEdit->setText(QString::fromStdString(inputs.GrindingIncrement));
    RoundTeethBox->setChecked(host_.hostRoundsEnvelopedTeeth());
    // A range not yet given starts at the fixed value.
    const QString step = QStringLiteral("0") + QLatin1Char(separator_) + QStringLiteral("1");
    if (EccentricityFromEdit->text().isEmpty()) {
        EccentricityFromEdit->setText(EccentricityEdit->text());
        EccentricityToEdit->setText(EccentricityEdit->text());
        EccentricityStepEdit->setText(step);
    }
    if (BacklashFromEdit->text().isEmpty()) {
        BacklashFromEdit->setText(BacklashEdit->text());
        BacklashToEdit->setText(BacklashEdit->text());
        BacklashStepEdit->setText(step);
    }
}

SolutionRequest TSolutionsWindow::request() const {
    SolutionRequest request;
    request.base = host_.hostInputs();
    request.base.CentreDistance = Text(CentreDistanceEdit);
    request.base.SpeedRatio = Text(SpeedRatioEdit);
    request.base.WheelTeeth = Text(TeethEdit);
    request.base.WormStarts = Text(StartsEdit);
    request.base.TipArcEccentricity = Text(EccentricityEdit);
    request.base.Backlash = Text(BacklashEdit);
    request.base.GrindingIncrement = Text(GrindingIncrementEdit);
    request.startsOneToFour = StartsOneToFourBox->isChecked();
    request.share = {Text(ShareFromEdit), Text(ShareToEdit), Text(ShareStepEdit)};
    request.factor = {Text(FactorFromEdit), Text(FactorToEdit), Text(FactorStepEdit)};
    if (EccentricityRangeBox->isChecked()) {
        request.eccentricity = SolutionRange{Text(EccentricityFromEdit), Text(EccentricityToEdit),
                                             Text(EccentricityStepEdit)};
    }
    if (BacklashRangeBox->isChecked()) {
        request.backlash = SolutionRange{Text(BacklashFromEdit), Text(BacklashToEdit), Text(BacklashStepEdit)};
    }
    request.roundEnvelopedTeeth = RoundTeethBox->isChecked();
    request.coefficients = host_.hostCoefficients();
    return request;
}

void TSolutionsWindow::calculate() {
    if (busy()) return;
    std::shared_ptr<SolutionTable> table;
    try {
        table = std::make_shared<SolutionTable>(SolutionPlan(request(), separator_));
    } catch (const SolutionRequestError& error) {
        // Refused before any work: the table on screen stays as it is.
        dialogs_.message(ApplicationTitle(),
                         MessageWithDetail(RefusalMessage(error.input()), QString::fromUtf8(error.what())));
        return;
    } catch (const std::bad_alloc&) {
        dialogs_.message(ApplicationTitle(),
                         SolutionsText::tr("内存不足，容不下这么多方案，方案表未计算：请加大步长或缩小范围。"));
        return;
    }
    table_ = table;
    cancelled_ = false;
    model_->setTable(table);
    View->setSortingEnabled(false);
    View->horizontalHeader()->setSortIndicatorShown(false);
    FindingsLabel->clear();
    updateChart();
    const int threads = threads_;
    startJob(
        table->count(),
        [table, threads](const std::atomic<bool>& cancel, const std::function<void(std::uint64_t)>& progress) {
            return CalculateSolutions(*table, threads, cancel, progress);
        },
        [this](bool complete, const std::exception_ptr& failure) {
            model_->showCompleted();
            cancelled_ = !complete;
            // Sorting only once the rows stand still; no column sorted yet.
            View->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
            View->setSortingEnabled(true);
            if (failure) {
                try {
                    std::rethrow_exception(failure);
                } catch (const std::exception& error) {
                    dialogs_.message(ApplicationTitle(),
                                     MessageWithDetail(SolutionsText::tr("方案表未能算完。"), ErrorText(error)));
                }
            }
            if (model_->rowCount() > 0 && !View->currentIndex().isValid()) View->selectRow(0);
            updateChart();
        });
}

void TSolutionsWindow::cancel() { cancel_ = true; }

void TSolutionsWindow::startJob(std::uint64_t total, Work work, std::function<void(bool, std::exception_ptr)> ended) {
    cancel_ = false;
    jobTotal_ = total;
    jobDone_ = 0;
    progressPosted_ = false;
    Progress->setValue(0);
    setBusy(true);
    worker_ = std::thread([this, work = std::move(work), ended = std::move(ended)]() mutable {
        bool complete = false;
        std::exception_ptr failure;
        try {
            complete = work(cancel_, [this](std::uint64_t done) {
                jobDone_.store(done);
                // One report waits on the window's thread at a time.
                if (!progressPosted_.exchange(true)) {
                    QMetaObject::invokeMethod(
                        this,
                        [this] {
                            progressPosted_ = false;
                            showProgress(jobDone_.load());
                        },
                        Qt::QueuedConnection);
                }
            });
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this,
            [this, complete, failure, ended = std::move(ended)] {
                worker_.join();
                setBusy(false);
                showProgress(jobDone_.load());
                ended(complete, failure);
                showState();
                emit jobEnded();
            },
            Qt::QueuedConnection);
    });
}

void TSolutionsWindow::showProgress(std::uint64_t done) {
    if (jobTotal_ > 0) {
        Progress->setValue(static_cast<int>(std::min<std::uint64_t>(done, jobTotal_) * kProgressSteps / jobTotal_));
    }
    if (busy() && table_ && model_->table() == table_.get()) model_->showCompleted();
    showState();
}

void TSolutionsWindow::setBusy(bool running) {
    for (QWidget* widget : {static_cast<QWidget*>(CalculateButton), static_cast<QWidget*>(ExportWorkbookButton),
                            static_cast<QWidget*>(ExportCsvButton), static_cast<QWidget*>(TakeFromMainButton)})
        widget->setEnabled(!running);
    CancelButton->setEnabled(running);
}

void TSolutionsWindow::showState() {
    if (!table_) return;
    const std::uint64_t completed = table_->completed();
    QString state;
    if (completed < table_->count()) {
        state = SolutionsText::tr("已计算 %1 / %2 个方案").arg(completed).arg(table_->count());
        if (!busy() && cancelled_) state += SolutionsText::tr("（已取消）");
    } else {
        state = SolutionsText::tr("共 %1 个方案").arg(table_->count());
    }
    state += SolutionsText::tr("，显示 %1 个。").arg(model_->rowCount());
    StateLabel->setText(state);
}

QString TSolutionsWindow::chosenFile(const QString& extension) {
    const std::optional<QString> chosen = dialogs_.saveFileName(QStringLiteral("*.") + extension,
                                                                SolutionsText::tr("方案表"));
    if (!chosen || chosen->isEmpty()) return QString();
    return WithExtension(*chosen, ("." + extension).toStdString());
}

void TSolutionsWindow::exportWorkbook() {
    if (busy()) return;
    if (!table_ || model_->rowCount() == 0) {
        dialogs_.message(ApplicationTitle(), SolutionsText::tr("方案表中还没有方案，没有可导出的内容。"));
        return;
    }
    if (model_->order().size() + 1 > TableWorkbook::kMostRows) {
        dialogs_.message(
            ApplicationTitle(),
            SolutionsText::tr("方案表有 %1 行，工作簿最多容纳 %2 行：请只显示没有错误的方案、缩小范围，或导出 CSV。")
                .arg(model_->order().size())
                .arg(TableWorkbook::kMostRows - 1));
        return;
    }
    const QString path = chosenFile(QStringLiteral("xlsx"));
    if (path.isEmpty()) return;
    std::vector<std::string> headers;
    for (const SolutionColumn& column : SolutionColumns())
        headers.push_back(SolutionsModel::header(column).replace(QLatin1Char('\n'), QLatin1Char(' ')).toStdString());
    const std::string sheet = SolutionsText::tr("方案表").toStdString();
    const std::shared_ptr<SolutionTable> table = table_;
    const std::vector<std::uint32_t> order = model_->order();
    const std::string file = LocalPath(path);
    startJob(
        order.size(),
        [table, order, sheet, headers, file](const std::atomic<bool>& cancel,
                                             const std::function<void(std::uint64_t)>& progress) {
            const std::optional<PackageEntries> package = SolutionsWorkbook(
                *table, order, sheet, headers, &SolutionsModel::checkText, cancel, progress);
            if (!package) return false;
            ReplaceWorkbookFile(file, WritePackage(*package));
            return true;
        },
        [this, path](bool complete, const std::exception_ptr& failure) { reportExport(path, complete, failure); });
}

void TSolutionsWindow::exportCsv() {
    if (busy()) return;
    if (!table_ || model_->rowCount() == 0) {
        dialogs_.message(ApplicationTitle(), SolutionsText::tr("方案表中还没有方案，没有可导出的内容。"));
        return;
    }
    const QString path = chosenFile(QStringLiteral("csv"));
    if (path.isEmpty()) return;
    const std::shared_ptr<SolutionTable> table = table_;
    const std::vector<std::uint32_t> order = model_->order();
    const std::string file = LocalPath(path);
    const int threads = threads_;
    startJob(
        order.size(),
        [table, order, file, threads](const std::atomic<bool>& cancel,
                                      const std::function<void(std::uint64_t)>& progress) {
            std::string csv;
            if (!SolutionsCsv(*table, order, threads, cancel, progress, csv)) return false;
            ReplaceFileAtomically(file, csv);
            return true;
        },
        [this, path](bool complete, const std::exception_ptr& failure) { reportExport(path, complete, failure); });
}

void TSolutionsWindow::reportExport(const QString& path, bool complete, const std::exception_ptr& failure) {
    if (!failure) {
        if (complete) StateLabel->setText(SolutionsText::tr("已导出到 %1。").arg(path));
        return;
    }
    // Nothing was written: the file, if there was one, is as it was.
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        dialogs_.message(ApplicationTitle(),
                         MessageWithDetail(SolutionsText::tr("方案表未能导出。"), SolutionsText::tr("内存不足")));
    } catch (const std::exception& error) {
        dialogs_.message(ApplicationTitle(),
                         MessageWithDetail(SolutionsText::tr("方案表未能导出。"), ErrorText(error)));
    }
}

void TSolutionsWindow::takeOverRow(int row) {
    if (!table_ || row < 0 || row >= model_->rowCount()) return;
    const std::uint64_t design = model_->design(row);
    host_.takeOver(table_->plan().inputs(design), table_->plan().request().roundEnvelopedTeeth);
}

void TSolutionsWindow::showSelectedFindings() {
    const QModelIndex current = View->currentIndex();
    if (!current.isValid()) {
        FindingsLabel->clear();
        return;
    }
    const std::uint64_t design = model_->design(current.row());
    FindingsLabel->setText(SolutionsText::tr("方案 %1：").arg(design + 1) + model_->findingsText(design));
}

void TSolutionsWindow::updateChart() {
    QChart* chart = Chart->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    chart->setTitle(QString());
    if (!table_ || table_->completed() == 0) return;
    const SolutionPlan& plan = table_->plan();
    const SolutionAxis axis = ChartAxisBox->currentIndex() == 1 ? SolutionAxis::Factor : SolutionAxis::Share;
    const int result = std::max(0, ChartResultBox->currentIndex());
    // The line through the chosen design (the first without a choice): the
    // chosen axis runs, every other input stays.
    const QModelIndex current = View->currentIndex();
    const std::uint64_t chosen = current.isValid() ? model_->design(current.row()) : 0;
    const std::uint64_t first = chosen - plan.position(chosen, axis) * plan.stride(axis);
    auto xOf = [&](std::uint64_t k) {
        return QString::fromStdString(axis == SolutionAxis::Share ? plan.shareText(k, '.') : plan.factorText(k, '.'))
            .toDouble();
    };
    auto* axisX = new QValueAxis(chart);
    auto* axisY = new QValueAxis(chart);
    axisX->setTitleText(ChartAxisBox->currentText());
    // The result's symbol and unit: the chart's height has no room for its
    // whole name, which the selector above the chart shows.
    const ResultDescription& shown = Result(kSolutionResults[static_cast<std::size_t>(result)]);
    axisY->setTitleText(
        *shown.unit ? SolutionsText::tr("%1 (%2)").arg(QString::fromUtf8(shown.symbol), QString::fromUtf8(shown.unit))
                    : QString::fromUtf8(shown.symbol));
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    // A design without the result breaks the line.
    QLineSeries* segment = nullptr;
    double low = INFINITY, high = -INFINITY, left = INFINITY, right = -INFINITY;
    for (std::uint64_t k = 0; k < plan.size(axis); ++k) {
        const std::uint64_t design = first + k * plan.stride(axis);
        if (design >= table_->completed()) break;
        const SolutionRow& row = table_->row(design);
        const double x = xOf(k);
        left = std::min(left, x);
        right = std::max(right, x);
        if (!row.hasValue(result)) {
            segment = nullptr;
            continue;
        }
        const double y = row.values[static_cast<std::size_t>(result)];
        if (!segment) {
            segment = new QLineSeries(chart);
            chart->addSeries(segment);
            segment->attachAxis(axisX);
            segment->attachAxis(axisY);
        }
        segment->append(x, y);
        low = std::min(low, y);
        high = std::max(high, y);
    }
    const SolutionRow& chosenRow = table_->row(chosen);
    if (chosen < table_->completed() && chosenRow.hasValue(result)) {
        auto* mark = new QScatterSeries(chart);
        mark->setObjectName(QStringLiteral("ChosenDesign"));
        mark->setMarkerSize(9);
        mark->append(xOf(plan.position(chosen, axis)), chosenRow.values[static_cast<std::size_t>(result)]);
        chart->addSeries(mark);
        mark->attachAxis(axisX);
        mark->attachAxis(axisY);
    }
    // Ticks at round numbers, the axes from the tick below the values to the
    // tick above them; a tick's number with as many decimals as its step has.
    const auto roundAxis = [](QValueAxis* axis, double lowest, double highest) {
        const AxisTicks ticks = RoundTicks(lowest, highest);
        // Qt draws the ticks from the anchor while they stay within the
        // range: a millionth of a step more keeps the last one, whose sum of
        // steps may come out a bit above the end (14.45 + 5 x 0.05).
        axis->setRange(ticks.low, ticks.high + ticks.step * 1e-6);
        axis->setTickType(QValueAxis::TicksDynamic);
        axis->setTickAnchor(ticks.low);
        axis->setTickInterval(ticks.step);
        axis->setMinorTickCount(0);
        axis->setLabelFormat(QStringLiteral("%.") + QString::number(ticks.decimals) + QLatin1Char('f'));
    };
    if (left <= right) roundAxis(axisX, left, right);
    if (low <= high) roundAxis(axisY, low, high);
    chart->setTitle(
        SolutionsText::tr("方案 %1 所在的一行：只有%2变化").arg(chosen + 1).arg(ChartAxisBox->currentText()));
}

}  // namespace wormgear
