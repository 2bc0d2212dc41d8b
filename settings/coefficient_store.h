// The coefficient store: db1.mdb beside the executable, an SQLite database read
// through Qt SQL, whose table nzhi holds one calculation rule per row (JSGS the
// rule text, N at position 2 the coefficient, position 3 its shipped value).
// The editor and the settings-file commands reach the file through the same
// connection and checks as the main window's load. Every connection is
// bounded: the file's size, the length of a value, the rows a check reads and
// the time one piece of work may take, so no file can hang the program or
// exhaust its memory.
#pragma once

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "calc/design.h"

namespace wormgear {

// Every failure of the store; what() is a short Chinese reason in UTF-8, fit
// to be shown after a message of the caller's own or after the file's name.
class CoefficientStoreError : public std::runtime_error {
 public:
    enum class Kind {
        File,         // missing, not a regular file, unreadable, too large, not writable
        NotDatabase,  // no SQLite database, or a damaged one
        Busy,         // locked by another program for longer than a reader waits
        Unfinished,   // an interrupted write that cannot be rolled back here
        Content,      // the table, its columns, rows or values do not fit
        TooLarge,     // beyond the bounds on rows, value length or time
        Internal,     // the database driver itself, or memory
    };
    CoefficientStoreError(Kind kind, const std::string& reason);
    Kind kind() const { return kind_; }

 private:
    Kind kind_;
};

struct CoefficientLoad {
    TCoefficientTable table;
    bool rulesModified = false;  // some N differs from its shipped value: Label50 visible
    // For each coefficient, from the row it was read from: the rule text
    // (JSGS, empty without that column) as the interface shows it
    // (ShownRuleText: a shipped rule in the interface's language) and the
    // shipped value (position 3; none when it is empty or no number).
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
// In the context wormgear::Settings, also where the main window shows it.
inline constexpr const char* kDataInitFailedMessage = QT_TRANSLATE_NOOP("wormgear::Settings",
                                                                        "数据初始化失败，程序将关闭");

// The shipped database is 12 KiB with fifteen rows; these bounds are far
// beyond any real one and keep every read within a few megabytes and seconds.
inline constexpr std::uint64_t kMaxCoefficientFileBytes = 16ull << 20;
inline constexpr int kMaxCoefficientRows = 1000;
inline constexpr int kMaxCoefficientValueBytes = 1 << 20;
inline constexpr int kCoefficientWorkMilliseconds = 3000;

// The main window's load: the working db1.mdb of programDirectory (DataFile:
// beside the program, or in the user's data folder), the first 15 rows of
// nzhi in the table's own order. A table of fewer rows repeats its last row
// for the remaining coefficients; rows after the 15th are not read. An
// interrupted write that left its journal beside the file is rolled back
// first, where the file and its folder are writable. Throws
// CoefficientStoreError for a missing file, a file that is not a database, a
// file locked by another program, a journal that cannot be rolled back, an
// nzhi that is no table of its own (a view), a missing or empty table and an
// empty or non-numeric N. The connection is closed when this returns,
// whatever happened.
CoefficientLoad LoadCoefficients(const QString& programDirectory, char decimalSeparator);

// Where the working db1.mdb of `programDirectory` lies (DataFile: beside the
// program, or in the user's data folder, made on first use). Throws
// CoefficientStoreError (File) when that folder cannot be used.
QString WorkingDatabasePath(const QString& programDirectory);
// The same for naming the file in a message: never throws; where the data
// folder cannot be used, the file beside the program.
QString ShownWorkingDatabasePath(const QString& programDirectory);

// The same load from any coefficient database file.
CoefficientLoad ReadCoefficientFile(const QString& databasePath, char decimalSeparator);

// How a connection may use its file.
enum class CoefficientAccess {
    ReadOnly,   // never writes: a user's settings file
    Read,       // reads, and rolls back an interrupted write where it may: db1.mdb
    ReadWrite,  // the editor
};

// One consistent copy of the database at `databasePath`, as bytes: the pages
// as SQLite reads them inside one read transaction, so no writer changes them
// meanwhile, and a database in write-ahead-log mode comes with what its log
// holds. For a database in the ordinary rollback mode the copy is the file
// byte for byte; one in write-ahead-log mode comes out in rollback mode.
// Throws CoefficientStoreError.
std::string CoefficientFileSnapshot(const QString& databasePath, CoefficientAccess access);

// Whether the database held in `image` (a file's bytes) may replace db1.mdb:
// it is an undamaged SQLite database whose nzhi is a table of its own (no
// view, no triggers on it) with the columns JSGS and N (N at position 2), at
// least 15 and at most kMaxCoefficientRows rows, and a number in N in every
// row. Throws CoefficientStoreError naming the first fault found.
void CheckCoefficientImage(const std::string& image, char decimalSeparator);

// CheckCoefficientImage of a snapshot of the file.
void CheckUsableCoefficientFile(const QString& databasePath, char decimalSeparator);

// A stored value as a coefficient: numbers as they are, texts read by
// ParseReal with `decimalSeparator`. Empty (NULL or blank) and non-numeric
// values throw CoefficientStoreError; so do infinities, which no formula could
// use.
Real CoefficientValue(const QVariant& stored, char decimalSeparator);
// Whether a stored value is held as a number (not a text to be read).
bool IsStoredNumber(const QVariant& value);

// A failure that Qt SQL reported for a coefficient database, told as what it
// is: a lock, an interrupted write, a damaged file, a full disk ...
CoefficientStoreError StoreError(const QSqlError& error);

struct WorkDeadline;

// One named Qt SQL connection to a coefficient database, open while this
// object lives; the destructor closes it and removes the connection name, so
// the file is free to be replaced. Anything built on database() (queries,
// models) must be gone before this object is.
class CoefficientConnection {
 public:
    // Throws CoefficientStoreError when the file is missing, not a regular
    // file, larger than kMaxCoefficientFileBytes or cannot be opened.
    CoefficientConnection(const QString& databasePath, CoefficientAccess access);
    // A read-only database in memory holding `image`, a database file's bytes.
    explicit CoefficientConnection(const std::string& image);
    ~CoefficientConnection();
    CoefficientConnection(const CoefficientConnection&) = delete;
    CoefficientConnection& operator=(const CoefficientConnection&) = delete;

    QSqlDatabase database() const;
    const QString& connectionName() const { return name_; }
    // Gives the next piece of work kCoefficientWorkMilliseconds; a statement
    // that runs longer is stopped (and fails).
    void startWork();
    // Whether the connection may write (the file was writable when opened).
    bool writable() const;

 private:
    void open(const QString& databaseName, const QString& options, CoefficientAccess access);

    QString name_;
    std::unique_ptr<WorkDeadline> deadline_;
};

}  // namespace wormgear
