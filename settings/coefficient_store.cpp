// Reading and checking coefficient databases through Qt SQL's SQLite driver;
// the bounds, the consistent copy and the in-memory check use the SQLite
// handle beneath the Qt connection.
#include "settings/coefficient_store.h"

#include <sqlite3.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>

#include "calc/numeric.h"
#include "files/file_io.h"
#include "files/qt_path.h"
#include "settings/coefficient_rules.h"
#include "translations/error_text.h"

namespace wormgear {

// The end of the time the current piece of work of a connection may take.
struct WorkDeadline {
    std::chrono::steady_clock::time_point end;
};

namespace {

using Kind = CoefficientStoreError::Kind;

// The texts of the store, translated in one context.
class StoreText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::CoefficientStore)
};
// Named here, with their context, because lupdate misreads the function of
// the snapshot that uses them.
const char* const kNotADatabase = QT_TRANSLATE_NOOP("wormgear::CoefficientStore", "文件不是可读的数据库");
const char* const kCannotCopy = QT_TRANSLATE_NOOP("wormgear::CoefficientStore", "无法复制数据库");

[[noreturn]] void Fail(Kind kind, const QString& reason) { throw CoefficientStoreError(kind, reason.toStdString()); }

// A reader that finds the file locked by a writer waits this long before it
// gives up; a writer, this long for the readers to finish. The program's own
// loads and saves hold the file for milliseconds only.
constexpr int kReaderBusyMilliseconds = 1000;
constexpr int kWriterBusyMilliseconds = 2000;
// The progress handler looks at the clock every this many virtual-machine steps.
constexpr int kProgressSteps = 1000;

QString NewConnectionName() {
    static std::atomic<unsigned> serial{0};
    return QStringLiteral("wormgear-coefficients-%1").arg(++serial);
}

int StopWhenLate(void* deadline) {
    return std::chrono::steady_clock::now() > static_cast<WorkDeadline*>(deadline)->end ? 1 : 0;
}

sqlite3* Handle(const QSqlDatabase& db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

// An SQLite URI for a file path: '%', '?' and '#' would otherwise end or
// change the name.
QString FileUri(const QString& path, bool writable) {
    QByteArray encoded;
    for (const char c : QFile::encodeName(QFileInfo(path).absoluteFilePath())) {
        if (c == '%' || c == '?' || c == '#') encoded += QByteArray("%") + QByteArray::number(c, 16);
        else encoded += c;
    }
    return QStringLiteral("file://") + QString::fromUtf8(encoded) +
           (writable ? QStringLiteral("?mode=rw") : QStringLiteral("?mode=ro"));
}

// Whether SQLite may write beside the file, as rolling back an interrupted
// write needs: the file and its folder writable.
bool MayWrite(const QString& path) {
    const std::string file = LocalPath(path);
    const std::string folder = LocalPath(QFileInfo(path).absolutePath());
    return ::access(file.c_str(), W_OK) == 0 && ::access(folder.c_str(), W_OK) == 0;
}

// The file's name and size are checked before SQLite opens it: a FIFO would
// block its open, a huge file its reads.
void CheckFile(const QString& path) {
    try {
        RegularFile file(LocalPath(path), kMaxCoefficientFileBytes);
        // The log of a write-ahead-log database is read as part of it.
        const QString log = path + QStringLiteral("-wal");
        if (QFileInfo(log).exists()) RegularFile sidecar(LocalPath(log), kMaxCoefficientFileBytes);
    } catch (const FileError& error) {
        const Kind kind = error.action() == FileError::Action::TooLarge ? Kind::TooLarge : Kind::File;
        Fail(kind, FileErrorReason(error));
    }
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

void Execute(QSqlQuery& query, const QString& statement) {
    if (!query.exec(statement)) throw StoreError(query.lastError());
}

// nzhi must be a table of its own: a view would run whatever query the file
// stores (a recursive one never ends) and a virtual table a module's code.
// Triggers run on the editor's writes; a file that brings any is refused.
void RequireOwnTable(const QSqlDatabase& db, bool refuseTriggers) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    // The first statement also tells a database from any other file: SQLite
    // opens files lazily.
    Execute(query, QStringLiteral("SELECT type, sql FROM sqlite_master WHERE lower(name) = '%1'")
                       .arg(QLatin1String(kCoefficientTableName)));
    if (!query.next()) {
        if (query.lastError().isValid()) throw StoreError(query.lastError());
        Fail(Kind::Content, StoreText::tr("缺少数据表 %1").arg(QLatin1String(kCoefficientTableName)));
    }
    const QString type = query.value(0).toString();
    const QString sql = query.value(1).toString().trimmed();
    if (type == QLatin1String("view"))
        Fail(Kind::Content, StoreText::tr("%1 是视图，不是数据表").arg(QLatin1String(kCoefficientTableName)));
    if (type != QLatin1String("table"))
        Fail(Kind::Content, StoreText::tr("%1 不是数据表").arg(QLatin1String(kCoefficientTableName)));
    if (sql.startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive))
        Fail(Kind::Content, StoreText::tr("%1 是虚拟表，不是普通数据表").arg(QLatin1String(kCoefficientTableName)));
    if (!refuseTriggers) return;
    Execute(query,
            QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND lower(tbl_name) = '%1'")
                .arg(QLatin1String(kCoefficientTableName)));
    if (query.next() && query.value(0).toLongLong() > 0)
        Fail(Kind::Content, StoreText::tr("数据表 %1 带有触发器").arg(QLatin1String(kCoefficientTableName)));
}

// Opens nzhi for reading; the query stands before the first row.
QSqlQuery SelectCoefficientTable(const QSqlDatabase& db, bool refuseTriggers) {
    RequireOwnTable(db, refuseTriggers);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    Execute(query, QStringLiteral("SELECT * FROM %1").arg(QLatin1String(kCoefficientTableName)));
    if (query.record().count() <= kReferencePosition)
        Fail(Kind::Content, StoreText::tr("数据表 %1 的列数不足 %2 列")
                                .arg(QLatin1String(kCoefficientTableName))
                                .arg(kReferencePosition + 1));
    return query;
}

// The next row; a failure while stepping (a lock, a stopped statement) is
// not the end of the table.
bool NextRow(QSqlQuery& query) {
    if (query.next()) return true;
    if (query.lastError().isValid()) throw StoreError(query.lastError());
    return false;
}

Real RowCoefficient(const QSqlQuery& query, int rowNumber, char separator) {
    try {
        return CoefficientValue(query.value(kCoefficientPosition), separator);
    } catch (const CoefficientStoreError& error) {
        Fail(Kind::Content, StoreText::tr("第 %1 行的 N 值%2").arg(rowNumber).arg(QString::fromUtf8(error.what())));
    }
}

// Row k+1 gives c[k]; when the table runs out, its last row stands for the
// remaining coefficients and is compared again for each of them.
CoefficientLoad ReadOpenTable(QSqlQuery& query, char separator) {
    if (!NextRow(query))
        Fail(Kind::Content, StoreText::tr("数据表 %1 没有数据").arg(QLatin1String(kCoefficientTableName)));
    CoefficientLoad load;
    const int ruleColumn = query.record().indexOf(QLatin1String(kRuleTextColumn));
    // In the interface's language where the catalogue knows the text.
    const auto rule = [&] {
        return ruleColumn < 0 ? std::string() : ShownRuleText(query.value(ruleColumn).toString()).toStdString();
    };
    int rowNumber = 1;
    Real coefficient = RowCoefficient(query, rowNumber, separator);
    std::optional<Real> shipped = ShippedValue(query.value(kReferencePosition), separator);
    std::string text = rule();
    for (int k = 0; k < kCoefficientCount; ++k) {
        if (k > 0 && rowNumber == k && NextRow(query)) {
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

// The header's file-format versions (bytes 18 and 19): 2 marks a
// write-ahead-log database, 1 the ordinary rollback mode.
constexpr std::size_t kWriteVersionOffset = 18;
constexpr std::size_t kReadVersionOffset = 19;

void InRollbackMode(std::string& image) {
    if (image.size() < 100) return;
    if (image[kWriteVersionOffset] == 2) image[kWriteVersionOffset] = 1;
    if (image[kReadVersionOffset] == 2) image[kReadVersionOffset] = 1;
}

}  // namespace

CoefficientStoreError::CoefficientStoreError(Kind kind, const std::string& reason)
    : std::runtime_error(reason), kind_(kind) {}

CoefficientStoreError StoreError(const QSqlError& error) {
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric);
    auto make = [](Kind kind, const QString& text) { return CoefficientStoreError(kind, text.toStdString()); };
    if (!numeric) return make(Kind::Internal, StoreText::tr("数据库错误：%1").arg(error.text()));
    if (code == SQLITE_READONLY_ROLLBACK)
        return make(Kind::Unfinished, StoreText::tr("数据库有一次未完成的写入（留下了 -journal 日志文件），"
                                                    "而文件或其所在文件夹不可写，无法回滚"));
    switch (code & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED: return make(Kind::Busy, StoreText::tr("数据库正被其他程序锁定"));
        case SQLITE_NOTADB: return make(Kind::NotDatabase, StoreText::tr(kNotADatabase));
        case SQLITE_CORRUPT: return make(Kind::NotDatabase, StoreText::tr("数据库已损坏"));
        case SQLITE_INTERRUPT:
            return make(Kind::TooLarge,
                        StoreText::tr("读取数据库超过了 %1 秒，已停止").arg(kCoefficientWorkMilliseconds / 1000));
        case SQLITE_TOOBIG: return make(Kind::TooLarge, StoreText::tr("数据库中的值过大"));
        case SQLITE_NOMEM: return make(Kind::Internal, StoreText::tr("内存不足"));
        case SQLITE_FULL: return make(Kind::File, SystemErrorReason(ENOSPC));
        case SQLITE_IOERR: return make(Kind::File, StoreText::tr("读写数据库时出现输入/输出错误"));
        case SQLITE_CANTOPEN: return make(Kind::File, StoreText::tr("无法打开数据库"));
        case SQLITE_READONLY: return make(Kind::File, StoreText::tr("数据库是只读的"));
        case SQLITE_PERM:
        case SQLITE_AUTH: return make(Kind::File, SystemErrorReason(EACCES));
        default: return make(Kind::Internal, StoreText::tr("数据库错误：%1").arg(error.text()));
    }
}

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
    if (!stored.isValid() || stored.isNull()) Fail(Kind::Content, StoreText::tr("为空"));
    Real value = 0;
    if (IsStoredNumber(stored)) {
        value = stored.toDouble();
    } else if (stored.typeId() == QMetaType::QString) {
        const QString text = stored.toString();
        if (text.trimmed().isEmpty()) Fail(Kind::Content, StoreText::tr("为空"));
        try {
            value = ToReal(ParseReal(text.toStdString(), decimalSeparator));
        } catch (const NumericError&) {
            Fail(Kind::Content, StoreText::tr("“%1”不是数字").arg(text));
        }
    } else {
        Fail(Kind::Content, StoreText::tr("不是数字"));
    }
    if (!std::isfinite(value)) Fail(Kind::Content, StoreText::tr("不是有限的数字"));
    return value;
}

CoefficientConnection::CoefficientConnection(const QString& databasePath, CoefficientAccess access)
    : name_(NewConnectionName()), deadline_(std::make_unique<WorkDeadline>()) {
    // The SQLite driver would create a missing file; a missing store is a fault.
    CheckFile(databasePath);
    const bool writable = access == CoefficientAccess::ReadWrite ||
                          (access == CoefficientAccess::Read && MayWrite(databasePath));
    const int busy = access == CoefficientAccess::ReadWrite ? kWriterBusyMilliseconds : kReaderBusyMilliseconds;
    QString options = QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busy);
    if (!writable) options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    open(FileUri(databasePath, writable), options, access);
}

CoefficientConnection::CoefficientConnection(const std::string& image)
    : name_(NewConnectionName()), deadline_(std::make_unique<WorkDeadline>()) {
    if (image.size() > kMaxCoefficientFileBytes) Fail(Kind::TooLarge, SystemErrorReason(EFBIG));
    open(QStringLiteral(":memory:"), QString(), CoefficientAccess::ReadOnly);
    // SQLite takes a buffer of its own allocation and frees it with the
    // connection; a database in write-ahead-log mode is read as an ordinary one.
    const std::size_t size = image.size();
    auto* data = static_cast<unsigned char*>(sqlite3_malloc64(size == 0 ? 1 : size));
    int result = SQLITE_NOMEM;
    if (data) {
        std::memcpy(data, image.data(), size);
        if (size >= 100) {
            if (data[kWriteVersionOffset] == 2) data[kWriteVersionOffset] = 1;
            if (data[kReadVersionOffset] == 2) data[kReadVersionOffset] = 1;
        }
        result = sqlite3_deserialize(Handle(database()), "main", data, static_cast<sqlite3_int64>(size),
                                     static_cast<sqlite3_int64>(size),
                                     SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY);
    }
    if (result != SQLITE_OK) {
        {
            QSqlDatabase db = database();
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
        Fail(result == SQLITE_NOMEM ? Kind::Internal : Kind::NotDatabase,
             result == SQLITE_NOMEM ? StoreText::tr("内存不足") : StoreText::tr(kNotADatabase));
    }
}

void CoefficientConnection::open(const QString& databaseName, const QString& options, CoefficientAccess access) {
    QString failure;
    Kind kind = Kind::Internal;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(databaseName);
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        db.setConnectOptions(options);
        sqlite3* handle = nullptr;
        if (!db.isValid()) {
            failure = StoreText::tr("SQLite 数据库驱动不可用");
        } else if (!db.open()) {
            const CoefficientStoreError error = StoreError(db.lastError());
            failure = QString::fromUtf8(error.what());
            kind = error.kind();
        } else if (!(handle = Handle(db))) {
            failure = StoreText::tr("SQLite 数据库驱动不可用");
        } else {
            // No value longer than any rule text needs, no views and, except
            // for the editor, no triggers; the schema runs no functions of ours.
            sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, kMaxCoefficientValueBytes);
            sqlite3_db_config(handle, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
            if (access != CoefficientAccess::ReadWrite)
                sqlite3_db_config(handle, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
            sqlite3_db_config(handle, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
            sqlite3_db_config(handle, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
            startWork();
            sqlite3_progress_handler(handle, kProgressSteps, StopWhenLate, deadline_.get());
        }
    }
    if (!failure.isEmpty()) {
        QSqlDatabase::removeDatabase(name_);
        Fail(kind, failure);
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

void CoefficientConnection::startWork() {
    deadline_->end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kCoefficientWorkMilliseconds);
}

bool CoefficientConnection::writable() const {
    sqlite3* handle = Handle(database());
    return handle && sqlite3_db_readonly(handle, "main") == 0;
}

CoefficientLoad ReadCoefficientFile(const QString& databasePath, char decimalSeparator) {
    CoefficientConnection connection(databasePath, CoefficientAccess::Read);
    QSqlQuery query = SelectCoefficientTable(connection.database(), false);
    return ReadOpenTable(query, decimalSeparator);
}

QString WorkingDatabasePath(const QString& programDirectory) {
    try {
        return DataFile(programDirectory, kCoefficientDatabaseName);
    } catch (const DataFolderError& error) {
        Fail(Kind::File, ErrorText(error));
    } catch (const FileError& error) {
        Fail(Kind::File, ErrorText(error));
    }
}

QString ShownWorkingDatabasePath(const QString& programDirectory) {
    try {
        return WorkingDatabasePath(programDirectory);
    } catch (const CoefficientStoreError&) {
        return ProgramFile(programDirectory, kCoefficientDatabaseName);
    }
}

CoefficientLoad LoadCoefficients(const QString& programDirectory, char decimalSeparator) {
    return ReadCoefficientFile(WorkingDatabasePath(programDirectory), decimalSeparator);
}

std::string CoefficientFileSnapshot(const QString& databasePath, CoefficientAccess access) {
    CoefficientConnection connection(databasePath, access);
    const QSqlDatabase db = connection.database();
    std::string image;
    {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        // One read transaction: no writer changes the pages until it ends.
        Execute(query, QStringLiteral("BEGIN"));
        Execute(query, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        query.finish();
        Execute(query, QStringLiteral("PRAGMA page_count"));
        const qint64 pages = query.next() ? query.value(0).toLongLong() : 0;
        Execute(query, QStringLiteral("PRAGMA page_size"));
        const qint64 pageSize = query.next() ? query.value(0).toLongLong() : 0;
        query.finish();
        if (pages <= 0 || pageSize <= 0) Fail(Kind::NotDatabase, StoreText::tr(kNotADatabase));
        if (static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) > kMaxCoefficientFileBytes)
            Fail(Kind::TooLarge, SystemErrorReason(EFBIG));
        sqlite3_int64 size = 0;
        unsigned char* pages_ = sqlite3_serialize(Handle(db), "main", &size, 0);
        if (!pages_) Fail(Kind::Internal, StoreText::tr(kCannotCopy));
        image.assign(reinterpret_cast<const char*>(pages_), static_cast<std::size_t>(size));
        sqlite3_free(pages_);
        Execute(query, QStringLiteral("COMMIT"));
    }
    InRollbackMode(image);
    return image;
}

void CheckCoefficientImage(const std::string& image, char decimalSeparator) {
    CoefficientConnection connection(image);
    const QSqlDatabase db = connection.database();
    {
        // A page that could not be read leaves a hole the tables would trip on later.
        QSqlQuery integrity(db);
        Execute(integrity, QStringLiteral("PRAGMA quick_check"));
        if (!integrity.next() || integrity.value(0).toString() != QLatin1String("ok"))
            Fail(Kind::NotDatabase, StoreText::tr("数据库已损坏"));
    }
    QSqlQuery query = SelectCoefficientTable(db, true);
    const QSqlRecord columns = query.record();
    if (columns.indexOf(QLatin1String(kRuleTextColumn)) < 0)
        Fail(Kind::Content, StoreText::tr("数据表 %1 缺少列 %2")
                                .arg(QLatin1String(kCoefficientTableName), QLatin1String(kRuleTextColumn)));
    if (columns.indexOf(QLatin1String(kCoefficientColumn)) != kCoefficientPosition)
        Fail(Kind::Content, StoreText::tr("数据表 %1 的第 %2 列不是 %3")
                                .arg(QLatin1String(kCoefficientTableName))
                                .arg(kCoefficientPosition + 1)
                                .arg(QLatin1String(kCoefficientColumn)));
    int rows = 0;
    while (NextRow(query)) {
        if (++rows > kMaxCoefficientRows)
            Fail(Kind::TooLarge, StoreText::tr("数据表 %1 超过 %2 行")
                                     .arg(QLatin1String(kCoefficientTableName))
                                     .arg(kMaxCoefficientRows));
        RowCoefficient(query, rows, decimalSeparator);
    }
    if (rows < kCoefficientCount)
        Fail(Kind::Content, StoreText::tr("数据表 %1 只有 %2 行，至少需要 %3 行")
                                .arg(QLatin1String(kCoefficientTableName))
                                .arg(rows)
                                .arg(kCoefficientCount));
}

void CheckUsableCoefficientFile(const QString& databasePath, char decimalSeparator) {
    CheckCoefficientImage(CoefficientFileSnapshot(databasePath, CoefficientAccess::ReadOnly), decimalSeparator);
}

}  // namespace wormgear
