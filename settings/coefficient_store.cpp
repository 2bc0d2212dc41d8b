// Reading and checking coefficient databases through Qt SQL's SQLite driver.
#include "coefficient_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <cmath>

#include "numeric.h"

namespace wormgear {
namespace {

[[noreturn]] void Fail(const QString& reason) { throw CoefficientStoreError(reason.toStdString()); }

// A writer that finds the file locked by another connection waits this long
// before its write fails; the program's own loads hold the file for
// milliseconds only.
constexpr int kBusyTimeoutMilliseconds = 2000;

QString NewConnectionName() {
    static std::atomic<unsigned> serial{0};
    return QStringLiteral("wormgear-coefficients-%1").arg(++serial);
}

bool DiffersFromReference(Real coefficient, const QVariant& reference) {
    // A reference that is empty or no number cannot equal the coefficient:
    // the notice then tells the user the rules are not the shipped ones.
    try {
        return CoefficientValue(reference) != coefficient;
    } catch (const CoefficientStoreError&) {
        return true;
    }
}

// Opens nzhi for reading; the query stands before the first row.
QSqlQuery SelectCoefficientTable(const QSqlDatabase& db) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    // SQLite opens files lazily: the first statement tells a database from
    // any other file.
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        Fail(QStringLiteral("文件不是可读的数据库"));
    query.finish();
    if (!query.exec(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(kCoefficientTableName))))
        Fail(QStringLiteral("缺少数据表 %1").arg(QLatin1String(kCoefficientTableName)));
    if (query.record().count() <= kReferencePosition)
        Fail(QStringLiteral("数据表 %1 的列数不足 %2 列").arg(QLatin1String(kCoefficientTableName)).arg(kReferencePosition + 1));
    return query;
}

Real RowCoefficient(const QSqlQuery& query, int rowNumber) {
    try {
        return CoefficientValue(query.value(kCoefficientPosition));
    } catch (const CoefficientStoreError& error) {
        Fail(QStringLiteral("第 %1 行的 N 值%2").arg(rowNumber).arg(QString::fromUtf8(error.what())));
    }
}

// Row k+1 gives c[k]; when the table runs out, its last row stands for the
// remaining coefficients and is compared again for each of them.
CoefficientLoad ReadOpenTable(QSqlQuery& query) {
    if (!query.next()) Fail(QStringLiteral("数据表 %1 没有数据").arg(QLatin1String(kCoefficientTableName)));
    CoefficientLoad load;
    int rowNumber = 1;
    Real coefficient = RowCoefficient(query, rowNumber);
    QVariant reference = query.value(kReferencePosition);
    for (int k = 0; k < kCoefficientCount; ++k) {
        if (k > 0 && rowNumber == k && query.next()) {
            ++rowNumber;
            coefficient = RowCoefficient(query, rowNumber);
            reference = query.value(kReferencePosition);
        }
        load.table.c[static_cast<std::size_t>(k)] = coefficient;
        if (DiffersFromReference(coefficient, reference)) load.rulesModified = true;
    }
    return load;
}

}  // namespace

QString ProgramFilePath(const QString& programDirectory, const QString& fileName) {
    return QDir(programDirectory).filePath(fileName);
}

bool IsStoredNumber(const QVariant& value) {
    if (value.isNull()) return false;
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return true;
        default:
            return false;
    }
}

Real CoefficientValue(const QVariant& stored) {
    if (!stored.isValid() || stored.isNull()) Fail(QStringLiteral("为空"));
    Real value = 0;
    if (IsStoredNumber(stored)) {
        value = stored.toDouble();
    } else if (stored.typeId() == QMetaType::QString) {
        const QString text = stored.toString();
        if (text.trimmed().isEmpty()) Fail(QStringLiteral("为空"));
        try {
            value = ToReal(ParseReal(text.toStdString()));
        } catch (const NumericError&) {
            Fail(QStringLiteral("“%1”不是数字").arg(text));
        }
    } else {
        Fail(QStringLiteral("不是数字"));
    }
    if (!std::isfinite(value)) Fail(QStringLiteral("不是有限的数字"));
    return value;
}

CoefficientConnection::CoefficientConnection(const QString& databasePath, Access access) : name_(NewConnectionName()) {
    // The SQLite driver would create a missing file; a missing store is a fault.
    if (!QFileInfo(databasePath).isFile()) Fail(QStringLiteral("文件“%1”不存在").arg(databasePath));
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(databasePath);
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        db.setConnectOptions(access == Access::ReadOnly
                                 ? QStringLiteral("QSQLITE_OPEN_READONLY")
                                 : QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMilliseconds));
        if (!db.isValid())
            failure = QStringLiteral("SQLite 数据库驱动不可用");
        else if (!db.open())
            failure = QStringLiteral("无法打开数据库“%1”：%2").arg(databasePath, db.lastError().text());
    }
    if (!failure.isEmpty()) {
        QSqlDatabase::removeDatabase(name_);
        Fail(failure);
    }
}

CoefficientConnection::~CoefficientConnection() {
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

QSqlDatabase CoefficientConnection::database() const { return QSqlDatabase::database(name_, false); }

CoefficientLoad ReadCoefficientFile(const QString& databasePath) {
    CoefficientConnection connection(databasePath, CoefficientConnection::Access::ReadOnly);
    QSqlQuery query = SelectCoefficientTable(connection.database());
    return ReadOpenTable(query);
}

CoefficientLoad LoadCoefficients(const QString& programDirectory) {
    return ReadCoefficientFile(ProgramFilePath(programDirectory, QLatin1String(kCoefficientDatabaseName)));
}

void CheckUsableCoefficientFile(const QString& databasePath) {
    CoefficientConnection connection(databasePath, CoefficientConnection::Access::ReadOnly);
    QSqlQuery query = SelectCoefficientTable(connection.database());
    const QSqlRecord columns = query.record();
    if (columns.indexOf(QLatin1String(kRuleTextColumn)) < 0)
        Fail(QStringLiteral("数据表 %1 缺少列 %2").arg(QLatin1String(kCoefficientTableName), QLatin1String(kRuleTextColumn)));
    if (columns.indexOf(QLatin1String(kCoefficientColumn)) != kCoefficientPosition)
        Fail(QStringLiteral("数据表 %1 的第 %2 列不是 %3")
                 .arg(QLatin1String(kCoefficientTableName))
                 .arg(kCoefficientPosition + 1)
                 .arg(QLatin1String(kCoefficientColumn)));
    int rows = 0;
    while (query.next()) RowCoefficient(query, ++rows);
    if (rows < kCoefficientCount)
        Fail(QStringLiteral("数据表 %1 只有 %2 行，至少需要 %3 行")
                 .arg(QLatin1String(kCoefficientTableName))
                 .arg(rows)
                 .arg(kCoefficientCount));
}

}  // namespace wormgear
