// Builds coefficient databases: the shipped db1.mdb from its text source, and
// the deliberately odd databases the tests need (short, long, broken tables).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace wormgear {

struct CoefficientTableSpec {
    QString name = QStringLiteral("nzhi");
    // Column definitions in table order: "ID INTEGER PRIMARY KEY", "JSGS TEXT", ...
    QStringList columns;
    // One list of values per row, in column order; a null QVariant stores NULL.
    QList<QVariantList> rows;
    // Statements run after the table is filled, in the same transaction: the
    // shipped database adds the empty tolerance table (kCreateToleranceTable).
    QStringList afterwards;
};

// The shipped layout: ID, JSGS, N (position 2), MRZ (position 3, the reference).
QStringList StandardCoefficientColumns();

// Reads the tab-separated source: '#' lines are comments, the first other line
// names the columns, then one line per row. Numbers are written with '.'.
// Throws std::runtime_error on a malformed source.
CoefficientTableSpec ReadCoefficientSource(const QString& tsvPath);

// Creates an SQLite database at `path` (an existing file is replaced) holding
// the one table. Throws std::runtime_error on failure.
void WriteCoefficientDatabase(const QString& path, const CoefficientTableSpec& table);

}  // namespace wormgear
