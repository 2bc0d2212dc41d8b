// Coefficient editor: Qt's SQL table model holds the pending edits, a widget
// mapper binds DBEdit1 and DBText1 to the grid's current row.
#include "settings/coefficient_editor.h"

#include <QDataWidgetMapper>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSqlError>
#include <QSqlRecord>
#include <QTableView>
#include <QTimer>
#include <algorithm>

#include "calc/numeric.h"
#include "dialogs/window_font.h"
#include "files/qt_path.h"
#include "settings/coefficient_rules.h"
#include "settings/settings_text.h"

namespace wormgear {
namespace {

const char* const kNoticeCaption = QT_TRANSLATE_NOOP("wormgear::Settings", "提示");

// The grid's titles for the columns of nzhi: what each holds, in the
// interface's language; a column of another name keeps its name.
struct ColumnTitle {
    const char* column;
    const char* title;
};
const ColumnTitle kColumnTitles[] = {
    {"ID", QT_TRANSLATE_NOOP("wormgear::Settings", "序号")},
    {kRuleTextColumn, QT_TRANSLATE_NOOP("wormgear::Settings", "计算法则")},
    {kCoefficientColumn, QT_TRANSLATE_NOOP("wormgear::Settings", "N值")},
    {"MRZ", QT_TRANSLATE_NOOP("wormgear::Settings", "出厂值")},
};

}  // namespace

QVariant CoefficientTableModel::data(const QModelIndex& index, int role) const {
    QVariant value = QSqlTableModel::data(index, role);
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && IsStoredNumber(value))
        return QString::fromStdString(FormatReal(static_cast<Extended>(value.toDouble()), separator_));
    // A shipped rule in the interface's language; the dialog never writes
    // this column, so the stored text stays as it is in the file.
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && index.column() == fieldIndex(kRuleTextColumn) &&
        value.typeId() == QMetaType::QString)
        return ShownRuleText(value.toString());
    return value;
}

QVariant CoefficientTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section == indicatorRow_ ? QStringLiteral("▶") : QString();
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const QString name = record().fieldName(section);
        for (const ColumnTitle& title : kColumnTitles)
            if (name.compare(QLatin1String(title.column), Qt::CaseInsensitive) == 0)
                return SettingsText::tr(title.title);
    }
    return QSqlTableModel::headerData(section, orientation, role);
}

void CoefficientTableModel::setIndicatorRow(int row) {
    indicatorRow_ = row;
    if (rowCount() > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
}

bool CoefficientTableModel::updateRowInTable(int row, const QSqlRecord& values) {
    const bool written = QSqlTableModel::updateRowInTable(row, values);
    if (written) ++rowsWritten_;
    return written;
}

TForm5::TForm5(const QString& programDirectory, char decimalSeparator, Dialogs& dialogs,
               std::function<void()> reloadMainWindow, QWidget* parent)
    : QDialog(parent),
      programDirectory_(programDirectory),
      separator_(decimalSeparator),
      dialogs_(dialogs),
      reloadMainWindow_(std::move(reloadMainWindow)) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(SettingsText::tr("计算设置"));
    setFont(WindowFont());
    setFixedSize(627, 384);
    setModal(true);

    GroupBox1 = new QGroupBox(SettingsText::tr("  参数设置  "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 513, 369);

    // The caption, the value box and the rule text in one line: a caption
    // wider than its 33 pixels ("N value:") moves the two others right.
    Label1 = new QLabel(SettingsText::tr("N值："), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    const int captionWidth = std::max(33, Label1->fontMetrics().horizontalAdvance(Label1->text()) + 2);
    const int shift = captionWidth - 33;
    Label1->setGeometry(32, 27, captionWidth, 13);

    DBEdit1 = new QLineEdit(GroupBox1);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setGeometry(64 + shift, 24, 57, 21);
    // Like the edit control of a numeric column: only characters that can be
    // part of a number get in; whether they form one is checked at commit.
    DBEdit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9eE+\\-.,]*")), DBEdit1));

    DBText1 = new QLabel(GroupBox1);
    DBText1->setObjectName(QStringLiteral("DBText1"));
    DBText1->setGeometry(128 + shift, 29, 369 - shift, 13);
    DBText1->setTextFormat(Qt::PlainText);  // rule texts come from the file

    DBGrid1 = new QTableView(GroupBox1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(40, 48, 465, 313);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setShowGrid(true);
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Rows as low as the 8 pt grid lines, so fifteen rules fit without scroll bars.
    DBGrid1->verticalHeader()->setMinimumSectionSize(17);
    DBGrid1->verticalHeader()->setDefaultSectionSize(18);
    DBGrid1->verticalHeader()->setMinimumWidth(14);

    Button1 = new QPushButton(SettingsText::tr("保  存"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(536, 312, 75, 25);
    Button1->setAutoDefault(false);  // Enter in DBEdit1 saves nothing
    Button2 = new QPushButton(SettingsText::tr("关  闭"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(536, 344, 75, 25);
    Button2->setAutoDefault(false);

    DataSource1 = new QDataWidgetMapper(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    // DBEdit1 is committed by this dialog, which checks the number first.
    DataSource1->setSubmitPolicy(QDataWidgetMapper::ManualSubmit);

    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
}

TForm5::~TForm5() { FormClose(); }

void TForm5::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;  // restored from minimised: the table is still open
    centreOnScreen();
    FormShow();
}

void TForm5::centreOnScreen() {
    QScreen* screen = this->screen();
    if (!screen) return;
    // The whole window, frame and title bar included, at the centre. Its
    // frame is known from the first showing on; before, the client area
    // stands for it.
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void TForm5::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) FormClose();
}

void TForm5::keyPressEvent(QKeyEvent* event) {
    // The dialog has no cancel button: Escape does not close it.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm5::FormShow() {
    FormClose();
    try {
        openTable();
    } catch (const CoefficientStoreError& error) {
        FormClose();
        // Closed from the event loop: a dialog closed inside its own show
        // would leave exec() waiting on a hidden window.
        const QString detail = FileDetail(ShownWorkingDatabasePath(programDirectory_), QString::fromUtf8(error.what()));
        QTimer::singleShot(0, this, [this, detail] {
            dialogs_.message(SettingsText::tr(kNoticeCaption),
                             MessageWithDetail(SettingsText::tr(kDataInitFailedMessage), detail));
            if (isVisible()) reject();
        });
    }
    DBGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TForm5::openTable() {
    // Built aside and put in place only once the table is read: a failed
    // reopening leaves the open table and its pending changes as they were.
    auto connection = std::make_unique<CoefficientConnection>(WorkingDatabasePath(programDirectory_),
                                                              CoefficientAccess::ReadWrite);
    auto table = std::make_unique<CoefficientTableModel>(separator_, connection->database());
    table->setEditStrategy(QSqlTableModel::OnManualSubmit);
    table->setTable(QLatin1String(kCoefficientTableName));
    connection->startWork();
    if (!table->select()) throw StoreError(table->lastError());
    // Rows are few; fetch them all, so no open statement keeps the file locked.
    while (table->canFetchMore()) table->fetchMore();
    const int coefficientColumn = table->fieldIndex(QLatin1String(kCoefficientColumn));
    const int ruleColumn = table->fieldIndex(QLatin1String(kRuleTextColumn));
    if (coefficientColumn < 0 || ruleColumn < 0)
        throw CoefficientStoreError(CoefficientStoreError::Kind::Content,
                                    SettingsText::tr("数据表 %1 缺少列 %2 或 %3")
                                        .arg(QLatin1String(kCoefficientTableName), QLatin1String(kCoefficientColumn),
                                             QLatin1String(kRuleTextColumn))
                                        .toStdString());
    closeTable();
    ADOConnection1 = std::move(connection);
    ADOTable1 = std::move(table);
    coefficientColumn_ = coefficientColumn;

    QItemSelectionModel* oldSelection = DBGrid1->selectionModel();
    DBGrid1->setModel(ADOTable1.get());
    delete oldSelection;
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TForm5::onCurrentRowChanged);
    // The numbers' columns as wide as they are, the rule the rest of the
    // grid (the grid has no scroll bars): a rule longer than that is cut
    // with an ellipsis and stands whole above the grid for its row.
    QHeaderView* header = DBGrid1->horizontalHeader();
    header->resizeSections(QHeaderView::ResizeToContents);
    int others = 0;
    for (int column = 0; column < ADOTable1->columnCount(); ++column)
        if (column != ruleColumn) others += header->sectionSize(column);
    const int room = DBGrid1->viewport()->width() - others;
    header->resizeSection(ruleColumn, std::max(room, header->minimumSectionSize()));

    DataSource1->setModel(ADOTable1.get());
    DataSource1->addMapping(DBEdit1, coefficientColumn_);
    DataSource1->addMapping(DBText1, ruleColumn, "text");
    showRow(ADOTable1->rowCount() > 0 ? 0 : -1);
}

// Makes `row` current in all three data controls without committing anything.
void TForm5::showRow(int row) {
    editedRow_ = row;
    ADOTable1->setIndicatorRow(row);
    if (row < 0) {
        DBEdit1->clear();
        DBText1->clear();
        return;
    }
    DataSource1->setCurrentIndex(row);
    if (DBGrid1->currentIndex().row() != row) {
        movingBack_ = true;
        DBGrid1->setCurrentIndex(ADOTable1->index(row, 0));
        DBGrid1->selectRow(row);
        movingBack_ = false;
    }
}

void TForm5::onCurrentRowChanged(const QModelIndex& current, const QModelIndex&) {
    if (movingBack_ || !ADOTable1 || current.row() == editedRow_) return;
    // Leaving a row commits its edit; a refused value keeps the user on it.
    if (!commitEditedRow()) {
        const int row = editedRow_;
        QTimer::singleShot(0, this, [this, row] {
            if (ADOTable1 && editedRow_ == row) {
                movingBack_ = true;
                DBGrid1->setCurrentIndex(ADOTable1->index(row, 0));
                DBGrid1->selectRow(row);
                movingBack_ = false;
                DBEdit1->setFocus();
            }
        });
        return;
    }
    showRow(current.row());
}

// The row being edited into the pending changes. An unchanged box commits
// nothing; a text that is not a number is refused with a message, and the
// text stays in the box for correction.
bool TForm5::commitEditedRow() {
    if (!ADOTable1 || editedRow_ < 0) return true;
    const QModelIndex index = ADOTable1->index(editedRow_, coefficientColumn_);
    const QString text = DBEdit1->text();
    if (text == ADOTable1->data(index, Qt::EditRole).toString()) return true;
    Real value = 0;
    try {
        if (text.trimmed().isEmpty()) throw EConvertError("empty");
        value = ToReal(ParseReal(text.toStdString(), separator_));
    } catch (const NumericError&) {
        dialogs_.message(ApplicationTitle(),
                         SettingsText::tr("“%1”不是有效的数字。N值必须是一个数字，本行的修改未被接受。").arg(text));
        return false;
    }
    if (!ADOTable1->setData(index, value)) {
        dialogs_.message(ApplicationTitle(), SettingsText::tr("N值无法修改：%1").arg(ADOTable1->lastError().text()));
        return false;
    }
    pending_[editedRow_] = value;
    return true;
}

QString TForm5::writePendingChanges() {
    QSqlDatabase db = ADOConnection1->database();
    ADOConnection1->startWork();
    // One transaction: the file receives every changed row or none.
    if (!db.transaction()) return QString::fromUtf8(StoreError(db.lastError()).what());
    ADOTable1->startBatch();
    if (!ADOTable1->submitAll()) {
        const QString reason = QString::fromUtf8(StoreError(ADOTable1->lastError()).what());
        db.rollback();
        restorePendingChanges(ADOTable1->rowsWritten() > 0);
        return reason;
    }
    if (!db.commit()) {
        const QString reason = QString::fromUtf8(StoreError(db.lastError()).what());
        db.rollback();
        restorePendingChanges(true);
        return reason;
    }
    pending_.clear();
    return QString();
}

// After a failed write every pending value is applied anew, so the next save
// sends them all. The model believes rows it sent before the failure are
// written, although the rollback took them back, and only reading the table
// again makes it forget; so does a model that read the table back inside the
// transaction before the commit failed. When nothing reached the file, the
// model's own copy of the table is still the file's, and it is kept: the file
// may be locked against reading too.
void TForm5::restorePendingChanges(bool readAgain) {
    const std::map<int, Real> pending = pending_;
    ADOTable1->revertAll();
    if (readAgain) {
        ADOConnection1->startWork();
        ADOTable1->select();
        while (ADOTable1->canFetchMore()) ADOTable1->fetchMore();
    }
    for (const auto& [row, value] : pending) ADOTable1->setData(ADOTable1->index(row, coefficientColumn_), value);
}

void TForm5::Button1Click() {
    // A value in the box that is no number has had its own message: nothing
    // is written and the file is not to blame.
    bool valueRefused = false;
    QString failure;
    if (!ADOTable1) {
        failure = SettingsText::tr("数据表未打开");
    } else if (!commitEditedRow()) {
        valueRefused = true;
    } else {
        const int row = editedRow_;
        try {
            if (lastSaveFailed_) reopenTable();
            failure = writePendingChanges();
        } catch (const CoefficientStoreError& error) {
            failure = QString::fromUtf8(error.what());
        }
        lastSaveFailed_ = !failure.isEmpty();
        // Reading the table again resets the grid; the same row stays current.
        if (ADOTable1) showRow(row < ADOTable1->rowCount() ? row : -1);
    }
    const bool saved = !valueRefused && failure.isEmpty();
    const QString detail = failure.isEmpty() ? QString()
                                             : FileDetail(ShownWorkingDatabasePath(programDirectory_), failure);
    dialogs_.message(SettingsText::tr(kNoticeCaption),
                     saved ? SettingsText::tr("数据保存成功......")
                           : MessageWithDetail(SettingsText::tr("数据保存失败......."), detail));
    // Only a save that reached the file changes what the main window reads;
    // after a failure its coefficients stay, and so do the edits here.
    if (saved && reloadMainWindow_) reloadMainWindow_();
}

void TForm5::reopenTable() {
    const std::map<int, Real> pending = pending_;
    const int row = editedRow_;
    closeTable();
    openTable();
    for (const auto& [pendingRow, value] : pending) {
        if (pendingRow < ADOTable1->rowCount())
            ADOTable1->setData(ADOTable1->index(pendingRow, coefficientColumn_), value);
    }
    pending_ = pending;
    showRow(row < ADOTable1->rowCount() ? row : -1);
}

void TForm5::Button2Click() { close(); }

void TForm5::FormClose() {
    // Pending changes die with the model; the connection goes after it.
    pending_.clear();
    lastSaveFailed_ = false;
    closeTable();
}

void TForm5::closeTable() {
    editedRow_ = -1;
    DataSource1->clearMapping();
    if (ADOTable1) {
        QItemSelectionModel* oldSelection = DBGrid1->selectionModel();
        DBGrid1->setModel(nullptr);
        delete oldSelection;
        ADOTable1->revertAll();
        ADOTable1.reset();
    }
    ADOConnection1.reset();
    DBEdit1->clear();
    DBText1->clear();
}

}  // namespace wormgear
