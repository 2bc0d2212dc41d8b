// Reading and checking coefficient databases through Qt SQL's SQLite driver.
#include "settings/coefficient_store.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <cmath>

#include "calc/numeric.h"
#include "files/qt_path.h"

namespace wormgear {
namespace {

// The texts of the store, translated in one context.
class StoreText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::CoefficientStore)
};

[[noreturn]] void Fail(const QString& reason) { throw CoefficientStoreError(reason.toStdString()); }

// A writer that finds the file locked by another connection waits this long
// before its write fails; the program's own loads hold the file for
// milliseconds only.
constexpr int kBusyTimeoutMilliseconds = 2000;

QString NewConnectionName() {
    static std::atomic<unsigned> serial{0};
    return QStringLiteral("wormgear-coefficients-%1").arg(++serial);
}

// A reference that is empty or no number is no shipped value: it equals no
// coefficient, and the notice then tells the user the rules are not the
// shipped ones.
std::optional<Real> ShippedValue(const QVariant& reference, char separator) {
    try {
        return CoefficientValue(reference, separator);
    } catch (const CoefficientStoreError&) {
        return std::nullopt;
    }
}

// Opens nzhi for reading; the query stands before the first row.
QSqlQuery SelectCoefficientTable(const QSqlDatabase& db) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    // SQLite opens files lazily: the first statement tells a database from
    // any other file.
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) Fail(StoreText::tr("文件不是可读的数据库"));
    query.finish();
    if (!query.exec(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(kCoefficientTableName))))
        Fail(StoreText::tr("缺少数据表 %1").arg(QLatin1String(kCoefficientTableName)));
    if (query.record().count() <= kReferencePosition)
        Fail(StoreText::tr("数据表 %1 的列数不足 %2 列")
                 .arg(QLatin1String(kCoefficientTableName))
                 .arg(kReferencePosition + 1));
    return query;
}

Real RowCoefficient(const QSqlQuery& query, int rowNumber, char separator) {
    try {
        return CoefficientValue(query.value(kCoefficientPosition), separator);
    } catch (const CoefficientStoreError& error) {
        Fail(StoreText::tr("第 %1 行的 N 值%2").arg(rowNumber).arg(QString::fromUtf8(error.what())));
    }
}

// Row k+1 gives c[k]; when the table runs out, its last row stands for the
// remaining coefficients and is compared again for each of them.
CoefficientLoad ReadOpenTable(QSqlQuery& query, char separator) {
    if (!query.next()) Fail(StoreText::tr("数据表 %1 没有数据").arg(QLatin1String(kCoefficientTableName)));
    CoefficientLoad load;
    const int ruleColumn = query.record().indexOf(QLatin1String(kRuleTextColumn));
    const auto rule = [&] { return ruleColumn < 0 ? std::string() : query.value(ruleColumn).toString().toStdString(); };
    int rowNumber = 1;
    Real coefficient = RowCoefficient(query, rowNumber, separator);
    std::optional<Real> shipped = ShippedValue(query.value(kReferencePosition), separator);
    std::string text = rule();
    for (int k = 0; k < kCoefficientCount; ++k) {
        if (k > 0 && rowNumber == k && query.next()) {
            ++rowNumber;
            coefficient = RowCoefficient(query, rowNumber, separator);
            shipped = ShippedValue(query.value(kReferencePosition), separator);
            text = rule();
        }
        const auto n = static_cast<std::size_t>(k);
        load.table.c[n] = coefficient;
        load.shipped[n] = shipped;
        load.rules[n] = text;
        if (!shipped || *shipped != coefficient) load.rulesModified = true;
    }
    return load;
}

}  // namespace

bool IsStoredNumber(const QVariant& value) {
    if (value.isNull()) return false;
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong: return true;
        default: return false;
    }
}

Real CoefficientValue(const QVariant& stored, char decimalSeparator) {
    if (!stored.isValid() || stored.isNull()) Fail(StoreText::tr("为空"));
    Real value = 0;
    if (IsStoredNumber(stored)) {
        value = stored.toDouble();
    } else if (stored.typeId() == QMetaType::QString) {
        const QString text = stored.toString();
        if (text.trimmed().isEmpty()) Fail(StoreText::tr("为空"));
        try {
            value = ToReal(ParseReal(text.toStdString(), decimalSeparator));
        } catch (const NumericError&) {
            Fail(StoreText::tr("“%1”不是数字").arg(text));
        }
    } else {
        Fail(StoreText::tr("不是数字"));
    }
    if (!std::isfinite(value)) Fail(StoreText::tr("不是有限的数字"));
    return value;
}

CoefficientConnection::CoefficientConnection(const QString& databasePath, Access access) : name_(NewConnectionName()) {
    // The SQLite driver would create a missing file; a missing store is a fault.
    if (!QFileInfo(databasePath).isFile()) Fail(StoreText::tr("文件“%1”不存在").arg(databasePath));
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(databasePath);
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        db.setConnectOptions(access == Access::ReadOnly
                                 ? QStringLiteral("QSQLITE_OPEN_READONLY")
                                 : QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMilliseconds));
        if (!db.isValid()) failure = StoreText::tr("SQLite 数据库驱动不可用");
        else if (!db.open()) failure = StoreText::tr("无法打开数据库“%1”：%2").arg(databasePath, db.lastError().text());
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

CoefficientLoad ReadCoefficientFile(const QString& databasePath, char decimalSeparator) {
    CoefficientConnection connection(databasePath, CoefficientConnection::Access::ReadOnly);
    QSqlQuery query = SelectCoefficientTable(connection.database());
    return ReadOpenTable(query, decimalSeparator);
}

CoefficientLoad LoadCoefficients(const QString& programDirectory, char decimalSeparator) {
    return ReadCoefficientFile(DataFile(programDirectory, kCoefficientDatabaseName), decimalSeparator);
}

void CheckUsableCoefficientFile(const QString& databasePath, char decimalSeparator) {
    CoefficientConnection connection(databasePath, CoefficientConnection::Access::ReadOnly);
    QSqlQuery query = SelectCoefficientTable(connection.database());
    const QSqlRecord columns = query.record();
    if (columns.indexOf(QLatin1String(kRuleTextColumn)) < 0)
        Fail(StoreText::tr("数据表 %1 缺少列 %2")
                 .arg(QLatin1String(kCoefficientTableName), QLatin1String(kRuleTextColumn)));
    if (columns.indexOf(QLatin1String(kCoefficientColumn)) != kCoefficientPosition)
        Fail(StoreText::tr("数据表 %1 的第 %2 列不是 %3")
                 .arg(QLatin1String(kCoefficientTableName))
                 .arg(kCoefficientPosition + 1)
                 .arg(QLatin1String(kCoefficientColumn)));
    int rows = 0;
    while (query.next()) RowCoefficient(query, ++rows, decimalSeparator);
    if (rows < kCoefficientCount)
        Fail(StoreText::tr("数据表 %1 只有 %2 行，至少需要 %3 行")
                 .arg(QLatin1String(kCoefficientTableName))
                 .arg(rows)
                 .arg(kCoefficientCount));
}

}  // namespace wormgear
