// The tolerance table gongcha of the coefficient store (settings/tolerance_schema.h),
// read into the Qt-free ToleranceTable the drawings take. It travels with
// db1.mdb and with every settings file (byte copies of it). A database made
// before the table existed has none: it reads as an empty table, and the
// tolerance editor creates the table empty when it first opens it.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include "particulars/tolerances.h"
#include "settings/coefficient_store.h"

namespace wormgear {

// The table of the working db1.mdb of `programDirectory`. Throws
// CoefficientStoreError for a file the coefficients could not be read from
// either, a gongcha that is no table of its own, more than
// kMaxCoefficientRows rows, a value that is neither empty nor a number, and
// bands that CheckToleranceBands refuses (the reason names the row).
ToleranceTable LoadTolerances(const QString& programDirectory, char decimalSeparator);

// The same from any coefficient database file.
ToleranceTable ReadToleranceFile(const QString& databasePath, char decimalSeparator);

// The same from an open connection's database; empty where it has no gongcha.
ToleranceTable ReadToleranceTable(const QSqlDatabase& database, char decimalSeparator);

// Whether the database has a table gongcha.
bool HasToleranceTable(const QSqlDatabase& database);

// Creates gongcha, empty, where the database has none. Throws CoefficientStoreError.
void EnsureToleranceTable(const QSqlDatabase& database);

// Why CheckToleranceBands refused a table, naming the row (from 1, in the
// table's order): "第 3 行：中心距区间应满足 0 ≤ 起 < 止".
QString ToleranceProblemText(const ToleranceProblem& problem);

}  // namespace wormgear
