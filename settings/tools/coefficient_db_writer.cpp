// Coefficient database writer over Qt SQL's SQLite driver.
#include "settings/tools/coefficient_db_writer.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <atomic>
#include <stdexcept>

namespace wormgear {

QStringList StandardCoefficientColumns() {
    return {QStringLiteral("ID INTEGER PRIMARY KEY"), QStringLiteral("JSGS TEXT"), QStringLiteral("N REAL"),
            QStringLiteral("MRZ REAL")};
}

// The source keeps the build independent of the machine's locale: numbers are
// always written with '.', so they are read here with the C locale's rules.
static QVariant SourceValue(const QString& column, const QString& text) {
    if (text.isEmpty()) return QVariant();
    if (column == QLatin1String("JSGS")) return text;
    bool ok = false;
    if (column == QLatin1String("ID")) {
        qlonglong id = text.toLongLong(&ok);
        if (ok) return id;
    } else {
        double value = text.toDouble(&ok);
        if (ok) return value;
    }
    throw std::runtime_error("not a number in column " + column.toStdString() + ": " + text.toStdString());
}

CoefficientTableSpec ReadCoefficientSource(const QString& tsvPath) {
    QFile file(tsvPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read " + tsvPath.toStdString());
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    CoefficientTableSpec table;
    QStringList header;
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (header.isEmpty()) {
            header = fields;
            if (header != QStringList{"ID", "JSGS", "N", "MRZ"})
                throw std::runtime_error("the source must name the columns ID, JSGS, N, MRZ");
            table.columns = StandardCoefficientColumns();
            continue;
        }
        if (fields.size() != header.size())
            throw std::runtime_error("wrong number of fields in: " + line.toStdString());
        QVariantList row;
        for (int i = 0; i < fields.size(); ++i) row << SourceValue(header[i], fields[i]);
        table.rows << row;
    }
    if (header.isEmpty()) throw std::runtime_error("the source names no columns");
    return table;
}

void WriteCoefficientDatabase(const QString& path, const CoefficientTableSpec& table) {
    static std::atomic<int> serial{0};
    const QString connection = QStringLiteral("coefficient-writer-%1").arg(++serial);
    QFile::remove(path);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            QSqlQuery query(db);
            db.transaction();
            if (!query.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(table.name, table.columns.join(", ")))) {
                failure = query.lastError().text();
            }
            QStringList marks;
            for (int i = 0; i < table.columns.size(); ++i) marks << QStringLiteral("?");
            for (const QVariantList& row : table.rows) {
                if (!failure.isEmpty()) break;
                query.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table.name, marks.join(", ")));
                for (const QVariant& value : row) query.addBindValue(value);
                if (!query.exec()) failure = query.lastError().text();
            }
            for (const QString& statement : table.afterwards) {
                if (failure.isEmpty() && !query.exec(statement)) failure = query.lastError().text();
            }
            if (failure.isEmpty() && !db.commit()) failure = db.lastError().text();
            query.finish();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!failure.isEmpty())
        throw std::runtime_error("cannot write " + path.toStdString() + ": " + failure.toStdString());
}

}  // namespace wormgear
