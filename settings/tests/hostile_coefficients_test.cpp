// Coefficient databases that once hung the program, ate its memory or locked
// it out: views and triggers on nzhi, huge values, what is no regular file,
// the journal of a write that was killed, a lock held by another program, and
// the consistent copy of a database in write-ahead-log mode.
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include "files/testing/faults.h"
#include "settings/coefficient_store.h"
#include "settings/tests/test_support.h"

namespace wormgear {
namespace {

using testing::Execute;
using testing::NumberedTable;
using testing::ProgramDirectory;
using Kind = CoefficientStoreError::Kind;

// Stands for "no failure" among the kinds a child reports.
constexpr int kLoaded = 100;

// The kind of the store's failure, or kLoaded.
int KindOfFailure(const std::function<void()>& act) {
    try {
        act();
        return kLoaded;
    } catch (const CoefficientStoreError& error) {
        return static_cast<int>(error.kind());
    }
}

// db1.mdb and nzhi as a view, a virtual table or a table with triggers: none
// is the program's own table.
struct HostileSchema {
    const char* name;
    QStringList statements;  // run on a database holding only `other`, the numbered rows
};

const char* const kRows = "SELECT ID, JSGS, N, MRZ FROM other";

const HostileSchema kNotATable[] = {
    {"a view", {QStringLiteral("CREATE VIEW nzhi AS %1").arg(kRows)}},
    {"a recursive view that never ends",
     {"CREATE VIEW nzhi AS WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r) "
      "SELECT n AS ID, 'x' AS JSGS, 1.0 AS N, 1.0 AS MRZ FROM r"}},
    {"a view of a huge value", {"CREATE VIEW nzhi AS SELECT ID, zeroblob(1000000000) AS JSGS, N, MRZ FROM other"}},
    {"a virtual table",
     {"CREATE VIRTUAL TABLE nzhi USING fts4(ID, JSGS, N, MRZ)", QStringLiteral("INSERT INTO nzhi %1").arg(kRows)}},
};

// The numbered rows under another name, then the statements.
void WriteHostile(const ProgramDirectory& dir, const QString& name, const QStringList& statements) {
    CoefficientTableSpec other = NumberedTable(15);
    other.name = "other";
    dir.write(name, other);
    Execute(dir.file(name), statements);
}

TEST(HostileCoefficientFile, ANzhiThatIsNoTableOfItsOwnIsRefusedByTheLoadAndTheCheck) {
    for (const HostileSchema& schema : kNotATable) {
        SCOPED_TRACE(schema.name);
        ProgramDirectory dir;
        WriteHostile(dir, "db1.mdb", schema.statements);
        // In a child: before these bounds, the recursive view never ended.
        EXPECT_EQ(wormgear::testing::RunInChildAtMost(
                      60, [&] { return KindOfFailure([&] { CheckUsableCoefficientFile(dir.database(), '.'); }); }),
                  static_cast<int>(Kind::Content));
        EXPECT_EQ(wormgear::testing::RunInChildAtMost(
                      60, [&] { return KindOfFailure([&] { LoadCoefficients(dir.path(), '.'); }); }),
                  static_cast<int>(Kind::Content));
    }
}

TEST(HostileCoefficientFile, TriggersOnNzhiKeepASettingsFileOut) {
    ProgramDirectory dir;
    dir.write("set.ccq", NumberedTable(15));
    Execute(dir.file("set.ccq"),
            {"CREATE TABLE log (x)", "CREATE TRIGGER spy AFTER UPDATE ON nzhi BEGIN INSERT INTO log VALUES (1); END"});
    try {
        CheckUsableCoefficientFile(dir.file("set.ccq"), '.');
        ADD_FAILURE() << "a file with a trigger on nzhi passed the check";
    } catch (const CoefficientStoreError& error) {
        EXPECT_EQ(error.kind(), Kind::Content);
        EXPECT_STREQ(error.what(), "数据表 nzhi 带有触发器");
    }
    // A trigger elsewhere is none of nzhi's business.
    dir.write("other.ccq", NumberedTable(15));
    Execute(dir.file("other.ccq"), {"CREATE TABLE log (x)", "CREATE TABLE t (y)",
                                    "CREATE TRIGGER t_log AFTER INSERT ON t BEGIN INSERT INTO log VALUES (1); END"});
    EXPECT_NO_THROW(CheckUsableCoefficientFile(dir.file("other.ccq"), '.'));
}

TEST(HostileCoefficientFile, AValueBeyondTheBoundIsRefusedWithinTheMemoryBound) {
    if (!wormgear::testing::MemoryBoundsMeasurable()) GTEST_SKIP() << "memory is not measurable under the sanitizer";
    ProgramDirectory dir;
    // A real table whose computed column makes a 500 MB value at every read.
    dir.write("db1.mdb", NumberedTable(15));
    Execute(dir.database(), {"ALTER TABLE nzhi ADD COLUMN X AS (zeroblob(500000000))"});
    EXPECT_EQ(wormgear::testing::RunWithMemoryBound(
                  256ull << 20, [&] { return KindOfFailure([&] { LoadCoefficients(dir.path(), '.'); }); }),
              static_cast<int>(Kind::TooLarge));
    // The same for a view of a 1 GB value, 8 KiB on disk.
    ProgramDirectory viewDir;
    WriteHostile(viewDir, "db1.mdb", kNotATable[2].statements);
    EXPECT_EQ(wormgear::testing::RunWithMemoryBound(
                  256ull << 20, [&] { return KindOfFailure([&] { LoadCoefficients(viewDir.path(), '.'); }); }),
              static_cast<int>(Kind::Content));
}

TEST(HostileCoefficientFile, TooManyRowsOrTooLargeAFileAreRefused) {
    ProgramDirectory dir;
    dir.write("many.ccq", NumberedTable(kMaxCoefficientRows + 1));
    EXPECT_EQ(KindOfFailure([&] { CheckUsableCoefficientFile(dir.file("many.ccq"), '.'); }),
              static_cast<int>(Kind::TooLarge));
    dir.write("enough.ccq", NumberedTable(kMaxCoefficientRows));
    EXPECT_EQ(KindOfFailure([&] { CheckUsableCoefficientFile(dir.file("enough.ccq"), '.'); }), kLoaded);

    QByteArray big = dir.bytes("db1.mdb");
    big.append(QByteArray(static_cast<qsizetype>(kMaxCoefficientFileBytes), '\0'));
    dir.writeBytes("db1.mdb", big);
    EXPECT_EQ(KindOfFailure([&] { LoadCoefficients(dir.path(), '.'); }), static_cast<int>(Kind::TooLarge));
}

TEST(HostileCoefficientFile, WhatIsNoRegularFileNeverBlocksTheLoad) {
    ProgramDirectory dir;
    QFile::remove(dir.database());
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.database()).constData(), 0600), 0);
    int kind = -1;
    EXPECT_NE(wormgear::testing::RunInChildAtMost(60,
                                                  [&] {
                                                      try {
                                                          LoadCoefficients(dir.path(), '.');
                                                      } catch (const CoefficientStoreError& error) {
                                                          return std::string(error.what()) == "不是普通文件" ? 0 : 1;
                                                      }
                                                      return 2;
                                                  }),
              wormgear::testing::kChildOverran);
    kind = KindOfFailure([&] { CheckUsableCoefficientFile(dir.database(), '.'); });
    EXPECT_EQ(kind, static_cast<int>(Kind::File));
    try {
        LoadCoefficients(dir.path(), '.');
    } catch (const CoefficientStoreError& error) {
        EXPECT_STREQ(error.what(), "不是普通文件");
    }
}

// db1.mdb with room for a write that spills pages into the file before its
// commit: 400 rows of filler beside the fifteen rules.
void WithFiller(const ProgramDirectory& dir) {
    QStringList statements{"CREATE TABLE filler (t TEXT)"};
    statements << "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r WHERE n < 400) "
                  "INSERT INTO filler SELECT printf('%.200c', 'a') FROM r";
    Execute(dir.database(), statements);
}

// Starts a write of every rule and every filler row in a child, with a page
// cache so small that the changed pages reach the file, and kills the child
// before it commits: the file holds half a write, its journal the rest.
void KillAWriterHalfWay(const QString& database) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    wormgear::testing::RunInChild(
        [&] {
            ::close(ready[0]);
            sqlite3* db = nullptr;
            if (sqlite3_open(QFile::encodeName(database).constData(), &db) != SQLITE_OK) return 1;
            sqlite3_exec(db, "PRAGMA cache_size = 2", nullptr, nullptr, nullptr);
            if (sqlite3_exec(db, "BEGIN; UPDATE nzhi SET N = N + 100; UPDATE filler SET t = upper(t);", nullptr,
                             nullptr, nullptr) != SQLITE_OK)
                return 2;
            [[maybe_unused]] const ssize_t told = ::write(ready[1], "x", 1);
            ::pause();
            return 3;
        },
        [&](pid_t child) {
            ::close(ready[1]);
            char byte;
            [[maybe_unused]] const ssize_t heard = ::read(ready[0], &byte, 1);
            ::close(ready[0]);
            ::kill(child, SIGKILL);
        });
}

TEST(InterruptedWrite, TheLoadRollsBackTheJournalOfAKilledWriter) {
    ProgramDirectory dir;
    WithFiller(dir);
    KillAWriterHalfWay(dir.database());
    const QString journal = dir.database() + "-journal";
    ASSERT_TRUE(QFile::exists(journal)) << "the killed writer left no journal";
    ASSERT_GT(QFile(journal).size(), 0);
    const CoefficientLoad load = LoadCoefficients(dir.path(), '.');
    EXPECT_EQ(load.table.c[0], 0.875);  // as before the write
    EXPECT_EQ(load.table.c[6], 2.0);
    EXPECT_FALSE(load.rulesModified);
    EXPECT_FALSE(QFile::exists(journal));
}

TEST(InterruptedWrite, WhereTheJournalCannotBeRolledBackTheLoadSaysSo) {
    wormgear::testing::SmallFileSystem disk(2 << 20);
    if (!disk.available()) GTEST_SKIP() << "mounting a small file system needs the superuser";
    ProgramDirectory dir;
    WithFiller(dir);
    const QString program = QString::fromStdString(disk.path());
    ASSERT_TRUE(QFile::copy(dir.database(), program + "db1.mdb"));
    KillAWriterHalfWay(program + "db1.mdb");
    ASSERT_TRUE(QFile::exists(program + "db1.mdb-journal"));
    ASSERT_TRUE(disk.setReadOnly(true));
    try {
        // The file itself: a program directory that cannot be written keeps
        // its working database elsewhere.
        ReadCoefficientFile(program + "db1.mdb", '.');
        ADD_FAILURE() << "a half-written file loaded";
    } catch (const CoefficientStoreError& error) {
        EXPECT_EQ(error.kind(), Kind::Unfinished) << error.what();
        EXPECT_NE(std::string(error.what()).find("未完成的写入"), std::string::npos) << error.what();
    }
    ASSERT_TRUE(disk.setReadOnly(false));
    EXPECT_EQ(ReadCoefficientFile(program + "db1.mdb", '.').table.c[0], 0.875);
}

TEST(LockedFile, TheLoadTellsALockFromADamagedFile) {
    ProgramDirectory dir;
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "locker");
        other.setDatabaseName(dir.database());
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
        try {
            LoadCoefficients(dir.path(), '.');
            ADD_FAILURE() << "a locked file loaded";
        } catch (const CoefficientStoreError& error) {
            EXPECT_EQ(error.kind(), Kind::Busy);
            EXPECT_STREQ(error.what(), "数据库正被其他程序锁定");
        }
        EXPECT_TRUE(lock.exec("ROLLBACK"));
    }
    QSqlDatabase::removeDatabase("locker");
    EXPECT_EQ(LoadCoefficients(dir.path(), '.').table.c[0], 0.875);
}

TEST(Snapshot, IsTheFileByteForByteInRollbackMode) {
    ProgramDirectory dir;
    const QByteArray file = dir.bytes("db1.mdb");
    const std::string copy = CoefficientFileSnapshot(dir.database(), CoefficientAccess::ReadOnly);
    EXPECT_EQ(QByteArray::fromStdString(copy), file);
    EXPECT_NO_THROW(CheckCoefficientImage(copy, '.'));
}

TEST(Snapshot, TakesWhatTheWriteAheadLogHoldsAndComesOutInRollbackMode) {
    ProgramDirectory dir;
    dir.write("wal.ccq", NumberedTable(15));
    const QByteArray path = QFile::encodeName(dir.file("wal.ccq"));
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(path.constData(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer,
                           "PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0; "
                           "UPDATE nzhi SET N = 0.777 WHERE ID = 1",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    // The writer stays open: the change lives in wal.ccq-wal only.
    ASSERT_GT(QFile(dir.file("wal.ccq-wal")).size(), 0);
    const std::string copy = CoefficientFileSnapshot(dir.file("wal.ccq"), CoefficientAccess::ReadOnly);
    sqlite3_close(writer);
    ASSERT_GE(copy.size(), 100u);
    EXPECT_EQ(copy[18], 1);
    EXPECT_EQ(copy[19], 1);
    dir.writeBytes("copy.mdb", QByteArray::fromStdString(copy));
    EXPECT_EQ(ReadCoefficientFile(dir.file("copy.mdb"), '.').table.c[0], 0.777);
    EXPECT_FALSE(QFile::exists(dir.file("copy.mdb-wal")));
}

TEST(CheckCoefficientImage, RefusesDamagedBytes) {
    ProgramDirectory dir;
    const std::string good = CoefficientFileSnapshot(dir.database(), CoefficientAccess::ReadOnly);
    std::string damaged = good;
    // Zeroes where the rows of nzhi lie (the second page onwards).
    for (std::size_t i = 4096 + 8; i < damaged.size() && i < 4096 + 600; ++i) damaged[i] = '\0';
    const struct {
        const char* why;
        std::string bytes;
    } kCases[] = {
        {"empty", ""},
        {"text", "JSGS\tN\n"},
        {"the first half", good.substr(0, good.size() / 2)},
        {"zeroed rows", damaged},
    };
    for (const auto& c : kCases) {
        EXPECT_THROW(CheckCoefficientImage(c.bytes, '.'), CoefficientStoreError) << c.why;
    }
    EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty());
}

}  // namespace
}  // namespace wormgear
