// Reading the tolerance table through the coefficient store's connection.
#include "settings/tolerance_store.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>

#include "calc/numeric.h"
#include "settings/tolerance_schema.h"

namespace wormgear {

namespace {

using Kind = CoefficientStoreError::Kind;

class ToleranceText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::CoefficientStore)
};

[[noreturn]] void Fail(Kind kind, const QString& reason) { throw CoefficientStoreError(kind, reason.toStdString()); }

void Execute(QSqlQuery& query, const QString& statement) {
    if (!query.exec(statement)) throw StoreError(query.lastError());
}

// NULL or a blank text is missing; a number is itself; a text is read as a
// number with the user's separator, as the coefficients are.
std::optional<double> StoredValue(const QVariant& stored, char separator, int row, const char* column) {
    if (!stored.isValid() || stored.isNull()) return std::nullopt;
    if (stored.typeId() == QMetaType::QString && stored.toString().trimmed().isEmpty()) return std::nullopt;
    try {
        return CoefficientValue(stored, separator);
    } catch (const CoefficientStoreError& error) {
        Fail(Kind::Content, ToleranceText::tr("数据表 %1 第 %2 行的 %3 值%4")
                                .arg(QLatin1String(kToleranceTableName))
                                .arg(row)
                                .arg(QLatin1String(column))
                                .arg(QString::fromUtf8(error.what())));
    }
}

double RequiredValue(const QVariant& stored, char separator, int row, const char* column) {
    const std::optional<double> value = StoredValue(stored, separator, row, column);
    if (!value)
        Fail(Kind::Content, ToleranceText::tr("数据表 %1 第 %2 行的 %3 值为空")
                                .arg(QLatin1String(kToleranceTableName))
                                .arg(row)
                                .arg(QLatin1String(column)));
    return *value;
}

}  // namespace

bool HasToleranceTable(const QSqlDatabase& database) {
    QSqlQuery query(database);
    query.setForwardOnly(true);
    Execute(query, QStringLiteral("SELECT type, sql FROM sqlite_master WHERE lower(name) = '%1'")
                       .arg(QLatin1String(kToleranceTableName)));
    if (!query.next()) {
        if (query.lastError().isValid()) throw StoreError(query.lastError());
        return false;
    }
    // A view would run whatever query the file stores, a virtual table a
    // module's code: only a table of its own is read.
    if (query.value(0).toString() != QLatin1String("table") ||
        query.value(1).toString().trimmed().startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive))
        Fail(Kind::Content, ToleranceText::tr("%1 不是数据表").arg(QLatin1String(kToleranceTableName)));
    return true;
}

void EnsureToleranceTable(const QSqlDatabase& database) {
    QSqlQuery query(database);
    Execute(query, QString::fromLatin1(kCreateToleranceTable));
}

ToleranceTable ReadToleranceTable(const QSqlDatabase& database, char decimalSeparator) {
    ToleranceTable table;
    if (!HasToleranceTable(database)) return table;
    QSqlQuery query(database);
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    // Sorted here, after the columns are known to be there.
    Execute(query, QStringLiteral("SELECT * FROM %1").arg(QLatin1String(kToleranceTableName)));
    const QSqlRecord record = query.record();
    const auto column = [&](const char* name) {
        const int at = record.indexOf(QLatin1String(name));
        if (at < 0)
            Fail(Kind::Content,
                 ToleranceText::tr("数据表 %1 缺少列 %2").arg(QLatin1String(kToleranceTableName), QLatin1String(name)));
        return at;
    };
    const int grade = column(kToleranceGradeColumn), from = column(kToleranceFromColumn),
              to = column(kToleranceToColumn);
    std::array<int, kToleranceQuantityCount> quantities{};
    for (int q = 0; q < kToleranceQuantityCount; ++q)
        quantities[static_cast<std::size_t>(q)] = column(kToleranceQuantityColumns[q]);
    int row = 0;
    while (query.next()) {
        if (++row > kMaxCoefficientRows)
            Fail(Kind::TooLarge, ToleranceText::tr("数据表 %1 超过 %2 行")
                                     .arg(QLatin1String(kToleranceTableName))
                                     .arg(kMaxCoefficientRows));
        ToleranceBand band;
        const double gradeValue = RequiredValue(query.value(grade), decimalSeparator, row, kToleranceGradeColumn);
        band.grade = gradeValue == std::floor(gradeValue) && std::abs(gradeValue) < 1000 ? static_cast<int>(gradeValue)
                                                                                         : 0;
        band.from = RequiredValue(query.value(from), decimalSeparator, row, kToleranceFromColumn);
        band.to = RequiredValue(query.value(to), decimalSeparator, row, kToleranceToColumn);
        for (int q = 0; q < kToleranceQuantityCount; ++q) {
            band.values[static_cast<std::size_t>(q)] = StoredValue(query.value(quantities[static_cast<std::size_t>(q)]),
                                                                   decimalSeparator, row, kToleranceQuantityColumns[q]);
        }
        table.bands.push_back(band);
    }
    if (query.lastError().isValid()) throw StoreError(query.lastError());
    // In the order of grade and band, the table's own order among equals.
    std::stable_sort(table.bands.begin(), table.bands.end(), [](const ToleranceBand& a, const ToleranceBand& b) {
        return a.grade != b.grade ? a.grade < b.grade : a.from < b.from;
    });
    if (const auto problem = CheckToleranceBands(table.bands)) Fail(Kind::Content, ToleranceProblemText(*problem));
    return table;
}

ToleranceTable ReadToleranceFile(const QString& databasePath, char decimalSeparator) {
    CoefficientConnection connection(databasePath, CoefficientAccess::Read);
    return ReadToleranceTable(connection.database(), decimalSeparator);
}

ToleranceTable LoadTolerances(const QString& programDirectory, char decimalSeparator) {
    return ReadToleranceFile(WorkingDatabasePath(programDirectory), decimalSeparator);
}

QString ToleranceProblemText(const ToleranceProblem& problem) {
    const QString row = ToleranceText::tr("公差表第 %1 行：").arg(problem.row + 1);
    using K = ToleranceProblem::Kind;
    switch (problem.kind) {
        case K::Grade:
            return row +
                   ToleranceText::tr("精度等级应为 %1 至 %2").arg(kLowestToleranceGrade).arg(kHighestToleranceGrade);
        case K::Band: return row + ToleranceText::tr("中心距区间应满足 0 ≤ 起 < 止");
        case K::WormOrder: return row + ToleranceText::tr("蜗杆齿厚下偏差大于上偏差");
        case K::WheelOrder: return row + ToleranceText::tr("蜗轮齿厚下偏差大于上偏差");
        case K::Overlap:
            return row + ToleranceText::tr("中心距区间与第 %1 行重叠（同一精度等级）").arg(problem.other + 1);
    }
    return row;
}

}  // namespace wormgear
