// The coefficient store: db1.mdb beside the executable, an SQLite database read
// through Qt SQL, whose table nzhi holds one calculation rule per row (JSGS the
// rule text, N at position 2 the coefficient, position 3 its shipped value).
// The editor and the settings-file commands reach the file through the same
// connection and checks as the main window's load.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <array>
#include <optional>
#include <stdexcept>
#include <string>

#include "calc/design.h"

namespace wormgear {

// Every failure of the store; what() is a short Chinese reason in UTF-8, fit
// to be shown after a message of the caller's own.
class CoefficientStoreError : public std::runtime_error {
 public:
    using runtime_error::runtime_error;
};

struct CoefficientLoad {
    TCoefficientTable table;
    bool rulesModified = false;  // some N differs from its shipped value: Label50 visible
    // For each coefficient, from the row it was read from: the rule text
    // (JSGS, empty without that column) and the shipped value (position 3;
    // none when it is empty or no number).
    std::array<std::string, kCoefficientCount> rules;
    std::array<std::optional<Real>, kCoefficientCount> shipped;
};

inline constexpr const char* kCoefficientDatabaseName = "db1.mdb";
inline constexpr const char* kDefaultSettingsName = "db1.ccq";
inline constexpr const char* kCoefficientTableName = "nzhi";
inline constexpr const char* kRuleTextColumn = "JSGS";
inline constexpr const char* kCoefficientColumn = "N";
inline constexpr int kCoefficientPosition = 2;
inline constexpr int kReferencePosition = 3;
inline constexpr const char* kDataInitFailedMessage = "数据初始化失败，程序将关闭";

// The main window's load: the working db1.mdb of programDirectory (DataFile:
// beside the program, or in the user's data folder), the first 15 rows of
// nzhi in the table's own order. A table of fewer rows repeats its last row
// for the remaining coefficients; rows after the 15th are not read. Throws
// CoefficientStoreError for a missing file, a file that is not a database, a
// missing table, an empty table and an empty or non-numeric N. The connection
// is closed when this returns, whatever happened.
CoefficientLoad LoadCoefficients(const QString& programDirectory, char decimalSeparator);

// The same load from any coefficient database file.
CoefficientLoad ReadCoefficientFile(const QString& databasePath, char decimalSeparator);

// Whether a file may replace db1.mdb: it loads, its nzhi has the columns JSGS
// and N (N at position 2), at least 15 rows, and a number in N in every row.
// Throws CoefficientStoreError naming the first fault found.
void CheckUsableCoefficientFile(const QString& databasePath, char decimalSeparator);

// A stored value as a coefficient: numbers as they are, texts read by
// ParseReal with `decimalSeparator`. Empty (NULL or blank) and non-numeric
// values throw CoefficientStoreError; so do infinities, which no formula could
// use.
Real CoefficientValue(const QVariant& stored, char decimalSeparator);
// Whether a stored value is held as a number (not a text to be read).
bool IsStoredNumber(const QVariant& value);

// One named Qt SQL connection to a coefficient database, open while this
// object lives; the destructor closes it and removes the connection name, so
// the file is free to be replaced. Anything built on database() (queries,
// models) must be gone before this object is.
class CoefficientConnection {
 public:
    enum class Access { ReadOnly, ReadWrite };
    // Throws CoefficientStoreError when the file is missing or cannot be opened.
    CoefficientConnection(const QString& databasePath, Access access);
    ~CoefficientConnection();
    CoefficientConnection(const CoefficientConnection&) = delete;
    CoefficientConnection& operator=(const CoefficientConnection&) = delete;

    QSqlDatabase database() const;
    const QString& connectionName() const { return name_; }

 private:
    QString name_;
};

}  // namespace wormgear
