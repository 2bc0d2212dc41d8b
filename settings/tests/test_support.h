// Program directories for the settings tests: a QTemporaryDir holding db1.mdb
// and db1.ccq (the shipped ones, or tables built for a case), and direct
// access to the stored values that bypasses the code under test.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include "settings/tools/coefficient_db_writer.h"

namespace wormgear::testing {

// The rows of the shipped source, coefficients.tsv.
CoefficientTableSpec ShippedTable();

// `rows` rows of the standard layout; row r (1-based) holds N = reference =
// r + 0.25, so every coefficient is told apart from its neighbours.
CoefficientTableSpec NumberedTable(int rows);

class ProgramDirectory {
 public:
    // With the shipped db1.mdb and db1.ccq copied in.
    ProgramDirectory();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    QString database() const { return file(QStringLiteral("db1.mdb")); }
    void write(const QString& name, const CoefficientTableSpec& table) const;
    void writeBytes(const QString& name, const QByteArray& bytes) const;
    QByteArray bytes(const QString& name) const;
    // Names of the files in the directory, sorted.
    QStringList files() const;

 private:
    QTemporaryDir dir_;
};

// Runs statements on a file through a connection of the test's own.
void Execute(const QString& databasePath, const QStringList& statements);
// N (position 2) of the 1-based row `row`, in the table's own order.
QVariant StoredN(const QString& databasePath, int row);

}  // namespace wormgear::testing
