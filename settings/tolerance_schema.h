// The tolerance table of the coefficient store, gongcha: one row per
// accuracy grade (5 to 8) and centre-distance band (A_FROM < A <= A_TO, mm),
// each quantity of ToleranceQuantity (particulars/tolerances.h) in µm in a
// column of its own, NULL where nobody entered it. Shipped empty: the
// standard's tables are the designer's to enter. No Qt: the generator of the
// shipped db1.mdb creates it from here too.
#pragma once

#include "particulars/tolerances.h"

namespace wormgear {

inline constexpr const char* kToleranceTableName = "gongcha";
inline constexpr const char* kToleranceGradeColumn = "DJ";
inline constexpr const char* kToleranceFromColumn = "A_FROM";
inline constexpr const char* kToleranceToColumn = "A_TO";
// The quantities' columns in the order of ToleranceQuantity.
inline constexpr const char* kToleranceQuantityColumns[kToleranceQuantityCount] = {
    "WORM_ESS", "WORM_ESI", "WHEEL_ESS", "WHEEL_ESI", "FA", "FX", "WORM_FR", "WHEEL_FR",
};

inline constexpr const char* kCreateToleranceTable =
    "CREATE TABLE IF NOT EXISTS gongcha ("
    "ID INTEGER PRIMARY KEY, DJ INTEGER, A_FROM REAL, A_TO REAL, "
    "WORM_ESS REAL, WORM_ESI REAL, WHEEL_ESS REAL, WHEEL_ESI REAL, "
    "FA REAL, FX REAL, WORM_FR REAL, WHEEL_FR REAL)";

}  // namespace wormgear
