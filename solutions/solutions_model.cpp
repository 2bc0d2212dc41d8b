// The table of solutions as a Qt model.
#include "solutions/solutions_model.h"

#include <QBrush>
#include <QColor>
#include <QCoreApplication>
#include <QStringList>

#include "translations/interface_language.h"

namespace wormgear {

namespace {

class SolutionsText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::Solutions)
};

// The tints of a row by its worst finding.
const QColor kErrorTint(255, 226, 226);
const QColor kWarningTint(255, 243, 210);
const QColor kErrorText(190, 0, 0);
const QColor kWarningText(150, 80, 0);

std::optional<Severity> WorstSeverity(const SolutionRow& row) {
    if (row.hasFinding) return Describe(row.worst).severity;
    if (!row.succeeded) return Severity::Error;
    return std::nullopt;
}

}  // namespace

SolutionsModel::SolutionsModel(char separator, QObject* parent) : QAbstractTableModel(parent), separator_(separator) {}

void SolutionsModel::setTable(std::shared_ptr<const SolutionTable> table) {
    beginResetModel();
    table_ = std::move(table);
    order_.clear();
    looked_ = 0;
    sorted_.reset();
    endResetModel();
}

void SolutionsModel::showCompleted() {
    if (!table_) return;
    const std::uint64_t completed = table_->completed();
    if (completed == looked_) return;
    if (sorted_) {
        rebuild();
        return;
    }
    std::vector<std::uint32_t> added;
    for (std::uint64_t design = looked_; design < completed; ++design) {
        if (withoutErrors_ && table_->row(design).hasError()) continue;
        added.push_back(static_cast<std::uint32_t>(design));
    }
    looked_ = completed;
    if (added.empty()) return;
    const int first = static_cast<int>(order_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(added.size()) - 1);
    order_.insert(order_.end(), added.begin(), added.end());
    endInsertRows();
}

void SolutionsModel::setWithoutErrors(bool withoutErrors) {
    if (withoutErrors == withoutErrors_) return;
    withoutErrors_ = withoutErrors;
    rebuild();
}

void SolutionsModel::rebuild() {
    beginResetModel();
    if (table_) {
        order_ = CompletedRows(*table_, withoutErrors_);
        looked_ = table_->completed();
        if (sorted_) {
            SortRows(order_, *table_, SolutionColumns()[static_cast<std::size_t>(sorted_->first)],
                     sorted_->second == Qt::DescendingOrder);
        }
    }
    endResetModel();
}

void SolutionsModel::sort(int column, Qt::SortOrder order) {
    if (!table_ || column < 0 || column >= columnCount()) return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::uint32_t> designs;
    for (const QModelIndex& index : before) designs.push_back(order_[static_cast<std::size_t>(index.row())]);
    sorted_ = {column, order};
    SortRows(order_, *table_, SolutionColumns()[static_cast<std::size_t>(column)], order == Qt::DescendingOrder);
    // The selection and the current row follow their designs.
    if (!before.isEmpty()) {
        std::vector<int> rowOf(static_cast<std::size_t>(table_->count()), -1);
        for (std::size_t row = 0; row < order_.size(); ++row) rowOf[order_[row]] = static_cast<int>(row);
        QModelIndexList after;
        for (qsizetype n = 0; n < before.size(); ++n)
            after << index(rowOf[designs[static_cast<std::size_t>(n)]], before[n].column());
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QString SolutionsModel::header(const SolutionColumn& column) {
    auto lines = [](const QString& symbol, const char* unit, const QString& name) {
        const QString top = *unit ? SolutionsText::tr("%1 (%2)").arg(symbol, QString::fromUtf8(unit)) : symbol;
        return top + QLatin1Char('\n') + name;
    };
    switch (column.kind) {
        case SolutionColumn::Kind::Field: {
            const DesignFieldDescription& field = DesignFields()[static_cast<int>(column.field)];
            return lines(QString::fromUtf8(field.symbol), field.unit,
                         QString::fromStdString(FieldName(field, InterfaceTranslation())));
        }
        case SolutionColumn::Kind::Share: return SolutionsText::tr("Db/A\n主基圆系数");
        case SolutionColumn::Kind::Factor: return SolutionsText::tr("d1/A^c[0]\n杆分度圆系数");
        case SolutionColumn::Kind::Result: {
            const ResultDescription& result = Result(kSolutionResults[static_cast<std::size_t>(column.result)]);
            return lines(QString::fromUtf8(result.symbol), result.unit,
                         QString::fromStdString(ResultName(result, InterfaceTranslation())));
        }
        case SolutionColumn::Kind::Check: return SolutionsText::tr("检查\n最重的问题");
    }
    return QString();
}

std::string SolutionsModel::checkText(const SolutionRow& row) {
    if (!row.hasFinding) return "";
    const CheckDescription& description = Describe(row.worst);
    return SeverityWord(description.severity, InterfaceTranslation()) + " " + description.id;
}

QString SolutionsModel::findingsText(std::uint64_t design) const {
    if (!table_ || design >= table_->completed()) return QString();
    SolutionCalculator calculator(table_->plan());
    calculator.calculate(design);
    QStringList lines;
    if (!calculator.outcome().succeeded())
        lines << QString::fromStdString(CalculationMessage(calculator.outcome().failure, InterfaceTranslation()));
    for (const Finding& finding : calculator.findings()) {
        lines << SolutionsText::tr("%1：%2（%3）")
                     .arg(QString::fromStdString(SeverityWord(finding.severity(), InterfaceTranslation())),
                          QString::fromStdString(FindingMessage(finding, InterfaceTranslation(), separator_)),
                          QString::fromUtf8(finding.id()));
    }
    if (lines.isEmpty()) lines << SolutionsText::tr("没有发现问题");
    return lines.join(QLatin1Char('\n'));
}

int SolutionsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int SolutionsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(SolutionColumns().size());
}

QVariant SolutionsModel::data(const QModelIndex& index, int role) const {
    if (!table_ || !index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const std::uint64_t designNumber = design(index.row());
    const SolutionColumn& column = SolutionColumns()[static_cast<std::size_t>(index.column())];
    const SolutionRow& row = table_->row(designNumber);
    const bool checkColumn = column.kind == SolutionColumn::Kind::Check;
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(checkColumn ? checkText(row)
                                                      : CellText(*table_, designNumber, column, separator_));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(checkColumn ? Qt::AlignLeft | Qt::AlignVCenter
                                                   : Qt::AlignRight | Qt::AlignVCenter);
        case Qt::BackgroundRole: {
            const std::optional<Severity> worst = WorstSeverity(row);
            if (worst == Severity::Error) return QBrush(kErrorTint);
            if (worst == Severity::Warning) return QBrush(kWarningTint);
            return {};
        }
        case Qt::ForegroundRole: {
            if (!checkColumn) return {};
            const std::optional<Severity> worst = WorstSeverity(row);
            if (worst == Severity::Error) return QBrush(kErrorText);
            if (worst == Severity::Warning) return QBrush(kWarningText);
            return {};
        }
        case Qt::ToolTipRole: return checkColumn ? findingsText(designNumber) : QVariant();
        case DesignRole: return QVariant::fromValue<qulonglong>(designNumber);
        default: return {};
    }
}

QVariant SolutionsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole && section >= 0 && section < rowCount())
            return QString::number(design(section) + 1);
        return {};
    }
    if (role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
    return header(SolutionColumns()[static_cast<std::size_t>(section)]);
}

}  // namespace wormgear
