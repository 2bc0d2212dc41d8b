// The tolerance table's editor: Qt's SQL table model holds the pending edits.
#include "settings/tolerance_editor.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSqlError>
#include <QSqlRecord>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "calc/numeric.h"
#include "dialogs/window_font.h"
#include "settings/settings_text.h"
#include "settings/tolerance_schema.h"
#include "settings/tolerance_store.h"

namespace wormgear {

namespace {

const char* const kNoticeCaption = QT_TRANSLATE_NOOP("wormgear::Settings", "提示");

struct ColumnTitle {
    const char* column;
    const char* title;
};
// The grid's titles: what each column holds and its unit.
const ColumnTitle kToleranceTitles[] = {
    {"DJ", QT_TRANSLATE_NOOP("wormgear::Settings", "精度等级")},
    {"A_FROM", QT_TRANSLATE_NOOP("wormgear::Settings", "中心距 >（mm）")},
    {"A_TO", QT_TRANSLATE_NOOP("wormgear::Settings", "中心距 ≤（mm）")},
    {"WORM_ESS", QT_TRANSLATE_NOOP("wormgear::Settings", "蜗杆齿厚上偏差（μm）")},
    {"WORM_ESI", QT_TRANSLATE_NOOP("wormgear::Settings", "蜗杆齿厚下偏差（μm）")},
    {"WHEEL_ESS", QT_TRANSLATE_NOOP("wormgear::Settings", "蜗轮齿厚上偏差（μm）")},
    {"WHEEL_ESI", QT_TRANSLATE_NOOP("wormgear::Settings", "蜗轮齿厚下偏差（μm）")},
    {"FA", QT_TRANSLATE_NOOP("wormgear::Settings", "中心距偏差 ±（μm）")},
    {"FX", QT_TRANSLATE_NOOP("wormgear::Settings", "中间平面偏移 ±（μm）")},
    {"WORM_FR", QT_TRANSLATE_NOOP("wormgear::Settings", "蜗杆径向跳动（μm）")},
    {"WHEEL_FR", QT_TRANSLATE_NOOP("wormgear::Settings", "蜗轮径向跳动（μm）")},
};

bool IsNumber(const QVariant& value) { return !value.isNull() && IsStoredNumber(value); }

}  // namespace

QString MissingValueText() { return SettingsText::tr("未填"); }

QVariant ToleranceTableModel::data(const QModelIndex& index, int role) const {
    const QVariant value = QSqlTableModel::data(index, role);
    if (role != Qt::DisplayRole && role != Qt::EditRole) return value;
    if (value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty()))
        return role == Qt::DisplayRole ? QVariant(MissingValueText()) : QVariant(QString());
    if (IsNumber(value)) return QString::fromStdString(FormatReal(static_cast<Extended>(value.toDouble()), separator_));
    return value;
}

bool ToleranceTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || value.typeId() != QMetaType::QString)
        return QSqlTableModel::setData(index, value, role);
    const QString text = value.toString().trimmed();
    if (text.isEmpty() || text == MissingValueText()) return QSqlTableModel::setData(index, QVariant(), role);
    try {
        const Real number = ToReal(ParseReal(text.toStdString(), separator_));
        return QSqlTableModel::setData(index, number, role);
    } catch (const NumericError&) {
        dialogs_.message(ApplicationTitle(),
                         SettingsText::tr("“%1”不是有效的数字。公差值须为数字，或留空表示未填。").arg(text));
        return false;
    }
}

QVariant ToleranceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const QString name = record().fieldName(section);
        for (const ColumnTitle& title : kToleranceTitles)
            if (name.compare(QLatin1String(title.column), Qt::CaseInsensitive) == 0)
                return SettingsText::tr(title.title);
    }
    return QSqlTableModel::headerData(section, orientation, role);
}

bool ToleranceTableModel::isRemoved(int row) const {
    // The model marks a saved row removed before the next save with "!".
    return QSqlTableModel::headerData(row, Qt::Vertical, Qt::DisplayRole).toString() == QLatin1String("!");
}

TToleranceEditor::TToleranceEditor(const QString& programDirectory, char decimalSeparator, Dialogs& dialogs,
                                   std::function<void()> saved, QWidget* parent)
    : QDialog(parent),
      programDirectory_(programDirectory),
      separator_(decimalSeparator),
      dialogs_(dialogs),
      saved_(std::move(saved)) {
    setObjectName(QStringLiteral("ToleranceEditor"));
    setWindowTitle(SettingsText::tr("公差表"));
    setFont(WindowFont());
    setModal(true);
    resize(1000, 420);

    Grid = new QTableView(this);
    Grid->setObjectName(QStringLiteral("ToleranceGrid"));
    Grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

    AddButton = new QPushButton(SettingsText::tr("添加行"), this);
    RemoveButton = new QPushButton(SettingsText::tr("删除行"), this);
    SaveButton = new QPushButton(SettingsText::tr("保  存"), this);
    CloseButton = new QPushButton(SettingsText::tr("关  闭"), this);
    AddButton->setObjectName(QStringLiteral("AddButton"));
    RemoveButton->setObjectName(QStringLiteral("RemoveButton"));
    SaveButton->setObjectName(QStringLiteral("SaveButton"));
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    for (QPushButton* button : {AddButton, RemoveButton, SaveButton, CloseButton}) button->setAutoDefault(false);
    connect(AddButton, &QPushButton::clicked, this, &TToleranceEditor::addRow);
    connect(RemoveButton, &QPushButton::clicked, this, &TToleranceEditor::removeRow);
    connect(SaveButton, &QPushButton::clicked, this, &TToleranceEditor::save);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);

    auto* note = new QLabel(SettingsText::tr("按所用标准逐项填写；空格表示未填，图样上该项空缺。"), this);
    note->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AddButton);
    buttons->addWidget(RemoveButton);
    buttons->addStretch(1);
    buttons->addWidget(SaveButton);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);
}

TToleranceEditor::~TToleranceEditor() { closeTable(); }

void TToleranceEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    try {
        openTable();
    } catch (const CoefficientStoreError& error) {
        closeTable();
        const QString detail = FileDetail(ShownWorkingDatabasePath(programDirectory_), QString::fromUtf8(error.what()));
        // Closed from the event loop, as the coefficient editor is.
        QTimer::singleShot(0, this, [this, detail] {
            dialogs_.message(SettingsText::tr(kNoticeCaption),
                             MessageWithDetail(SettingsText::tr("公差表无法打开"), detail));
            if (isVisible()) reject();
        });
    }
}

void TToleranceEditor::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) closeTable();
}

void TToleranceEditor::openTable() {
    closeTable();
    auto connection = std::make_unique<CoefficientConnection>(WorkingDatabasePath(programDirectory_),
                                                              CoefficientAccess::ReadWrite);
    connection->startWork();
    // An old db1.mdb gets the table, empty; checked as the loader checks it.
    if (!HasToleranceTable(connection->database())) EnsureToleranceTable(connection->database());
    auto model = std::make_unique<ToleranceTableModel>(separator_, dialogs_, connection->database());
    model->setEditStrategy(QSqlTableModel::OnManualSubmit);
    model->setTable(QLatin1String(kToleranceTableName));
    model->setSort(model->fieldIndex(QLatin1String(kToleranceGradeColumn)), Qt::AscendingOrder);
    if (!model->select()) throw StoreError(model->lastError());
    while (model->canFetchMore()) model->fetchMore();
    connection_ = std::move(connection);
    model_ = std::move(model);
    QItemSelectionModel* oldSelection = Grid->selectionModel();
    Grid->setModel(model_.get());
    delete oldSelection;
    const int id = model_->fieldIndex(QStringLiteral("ID"));
    if (id >= 0) Grid->hideColumn(id);
}

void TToleranceEditor::closeTable() {
    if (model_) {
        QItemSelectionModel* oldSelection = Grid->selectionModel();
        Grid->setModel(nullptr);
        delete oldSelection;
        model_->revertAll();
        model_.reset();
    }
    connection_.reset();
}

void TToleranceEditor::addRow() {
    if (!model_) return;
    const int row = model_->rowCount();
    model_->insertRow(row);
    const int grade = model_->fieldIndex(QLatin1String(kToleranceGradeColumn));
    Grid->setCurrentIndex(model_->index(row, grade));
    Grid->edit(Grid->currentIndex());
}

void TToleranceEditor::removeRow() {
    if (!model_ || !Grid->currentIndex().isValid()) return;
    model_->removeRow(Grid->currentIndex().row());
}

void TToleranceEditor::save() {
    if (!model_) return;
    // The bands as they will be, checked before anything is written: a
    // table the drawings could not read is never stored.
    std::vector<ToleranceBand> bands;
    std::vector<int> rows;
    const auto cell = [&](int row, const char* column) { return model_->record(row).value(QLatin1String(column)); };
    for (int row = 0; row < model_->rowCount(); ++row) {
        if (model_->isRemoved(row)) continue;
        ToleranceBand band;
        const QVariant grade = cell(row, kToleranceGradeColumn), from = cell(row, kToleranceFromColumn),
                       to = cell(row, kToleranceToColumn);
        if (grade.isNull() || from.isNull() || to.isNull()) {
            dialogs_.message(
                ApplicationTitle(),
                MessageWithDetail(SettingsText::tr("数据保存失败......."),
                                  SettingsText::tr("公差表第 %1 行：精度等级和中心距区间必须填写").arg(row + 1)));
            return;
        }
        const double g = grade.toDouble();
        band.grade = g == static_cast<int>(g) ? static_cast<int>(g) : 0;
        band.from = from.toDouble();
        band.to = to.toDouble();
        for (int q = 0; q < kToleranceQuantityCount; ++q) {
            const QVariant v = cell(row, kToleranceQuantityColumns[q]);
            if (!v.isNull()) band.values[static_cast<std::size_t>(q)] = v.toDouble();
        }
        bands.push_back(band);
        rows.push_back(row);
    }
    if (const auto problem = CheckToleranceBands(bands)) {
        // Named by the grid's rows, removed ones counted as the grid shows them.
        ToleranceProblem shown = *problem;
        shown.row = static_cast<std::size_t>(rows[problem->row]);
        shown.other = static_cast<std::size_t>(rows[problem->other]);
        dialogs_.message(ApplicationTitle(),
                         MessageWithDetail(SettingsText::tr("数据保存失败......."), ToleranceProblemText(shown)));
        Grid->setCurrentIndex(model_->index(rows[problem->row], 1));
        return;
    }
    QSqlDatabase db = connection_->database();
    connection_->startWork();
    QString failure;
    if (!db.transaction()) {
        failure = QString::fromUtf8(StoreError(db.lastError()).what());
    } else if (!model_->submitAll()) {
        failure = QString::fromUtf8(StoreError(model_->lastError()).what());
        db.rollback();
    } else if (!db.commit()) {
        failure = QString::fromUtf8(StoreError(db.lastError()).what());
        db.rollback();
    }
    if (!failure.isEmpty()) {
        dialogs_.message(SettingsText::tr(kNoticeCaption),
                         MessageWithDetail(SettingsText::tr("数据保存失败......."),
                                           FileDetail(ShownWorkingDatabasePath(programDirectory_), failure)));
        return;
    }
    dialogs_.message(SettingsText::tr(kNoticeCaption), SettingsText::tr("数据保存成功......"));
    if (saved_) saved_();
}

}  // namespace wormgear
