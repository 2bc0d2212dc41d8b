// The tolerance table read from SQLite files written by the tests' own
// connection: values and missing values as stored, old files without the
// table, and files the store must refuse.
#include <QFile>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include "settings/coefficient_store.h"
#include "settings/tests/test_support.h"
#include "settings/tolerance_schema.h"
#include "settings/tolerance_store.h"

namespace wormgear {
namespace {

using testing::Execute;
using testing::NumberedTable;
using testing::ProgramDirectory;
using Q = ToleranceQuantity;

std::optional<double> Value(const ToleranceBand& band, Q q) { return band.value(q); }

TEST(ToleranceStore, TheShippedStoreHasTheTableAndItIsEmpty) {
    ProgramDirectory dir;
    {
        CoefficientConnection connection(dir.database(), CoefficientAccess::ReadOnly);
        EXPECT_TRUE(HasToleranceTable(connection.database()));
    }
    EXPECT_TRUE(LoadTolerances(dir.path(), '.').empty());
    // The default settings file is a byte copy: it carries the table too.
    EXPECT_EQ(dir.bytes(QStringLiteral("db1.mdb")), dir.bytes(QStringLiteral("db1.ccq")));
}

TEST(ToleranceStore, AnOldStoreWithoutTheTableReadsAsEmptyAndIsLeftAsItWas) {
    ProgramDirectory dir;
    dir.write(QStringLiteral("db1.mdb"), NumberedTable(15));
    const QByteArray before = dir.bytes(QStringLiteral("db1.mdb"));
    EXPECT_TRUE(LoadTolerances(dir.path(), '.').empty());
    EXPECT_EQ(LoadCoefficients(dir.path(), '.').table.c[0], 1.25);
    EXPECT_EQ(dir.bytes(QStringLiteral("db1.mdb")), before);  // reading never writes
}

TEST(ToleranceStore, StoredValuesComeBackAndMissingOnesStayMissing) {
    ProgramDirectory dir;
    Execute(dir.database(),
            {QStringLiteral("INSERT INTO gongcha (DJ, A_FROM, A_TO, WORM_ESS, WORM_ESI, FA, WHEEL_FR) "
                            "VALUES (8, 160, 250, -60, -140, 65, NULL)"),
             // 0 is a value, not a missing one; a blank text is missing; a
             // number stored as a text reads with the user's separator.
             QStringLiteral(
                 "INSERT INTO gongcha (DJ, A_FROM, A_TO, FA, FX, WORM_FR) VALUES (7, 80, 160, 0, '  ', '12.5')")});
    const ToleranceTable table = LoadTolerances(dir.path(), '.');
    ASSERT_EQ(table.bands.size(), 2u);
    // In the order of grade and band.
    const ToleranceBand& seven = table.bands[0];
    const ToleranceBand& eight = table.bands[1];
    EXPECT_EQ(seven.grade, 7);
    EXPECT_EQ(Value(seven, Q::CentreDistance), 0.0);
    EXPECT_FALSE(Value(seven, Q::MidPlane));
    EXPECT_EQ(Value(seven, Q::WormRunout), 12.5);
    EXPECT_EQ(eight.grade, 8);
    EXPECT_EQ(eight.from, 160);
    EXPECT_EQ(eight.to, 250);
    EXPECT_EQ(Value(eight, Q::WormThicknessUpper), -60);
    EXPECT_EQ(Value(eight, Q::WormThicknessLower), -140);
    EXPECT_EQ(Value(eight, Q::CentreDistance), 65);
    for (Q q : {Q::WheelThicknessUpper, Q::WheelThicknessLower, Q::MidPlane, Q::WormRunout, Q::WheelRunout})
        EXPECT_FALSE(Value(eight, q)) << static_cast<int>(q);
    // The drawings' lookup: "8j (GB/T16445-1996)" at A = 200.
    EXPECT_EQ(TolerancesFor(table, "8j (GB/T16445-1996)", 200)[static_cast<std::size_t>(Q::CentreDistance)], 65);
}

TEST(ToleranceStore, ACopyOfTheStoreCarriesTheTable) {
    ProgramDirectory dir;
    Execute(dir.database(), {QStringLiteral("INSERT INTO gongcha (DJ, A_FROM, A_TO, FX) VALUES (6, 0, 100, 30)")});
    // A settings file is a consistent copy of the store's bytes.
    dir.writeBytes(QStringLiteral("set1.ccq"),
                   QByteArray::fromStdString(CoefficientFileSnapshot(dir.database(), CoefficientAccess::ReadOnly)));
    const ToleranceTable copied = ReadToleranceFile(dir.file(QStringLiteral("set1.ccq")), '.');
    ASSERT_EQ(copied.bands.size(), 1u);
    EXPECT_EQ(Value(copied.bands[0], Q::MidPlane), 30);
    CheckUsableCoefficientFile(dir.file(QStringLiteral("set1.ccq")), '.');  // still a usable settings file
}

struct Refusal {
    const char* what;
    QStringList statements;
    CoefficientStoreError::Kind kind;
    const char* reasonPart;
};

TEST(ToleranceStore, TablesTheDrawingsCouldNotTrustAreRefusedWithTheirRow) {
    using Kind = CoefficientStoreError::Kind;
    const Refusal cases[] = {
        {"a text that is no number",
         {QStringLiteral("INSERT INTO gongcha (DJ, A_FROM, A_TO, FA) VALUES (8, 0, 100, 'abc')")},
         Kind::Content,
         "FA"},
        {"a band without its end",
         {QStringLiteral("INSERT INTO gongcha (DJ, A_FROM, A_TO) VALUES (8, 0, NULL)")},
         Kind::Content,
         "A_TO"},
        {"overlapping bands of one grade",
         {QStringLiteral("INSERT INTO gongcha (DJ, A_FROM, A_TO) VALUES (8, 0, 100)"),
          QStringLiteral("INSERT INTO gongcha (DJ, A_FROM, A_TO) VALUES (8, 50, 200)")},
         Kind::Content,
         "第 1 行"},
        {"a grade of no table",
         {QStringLiteral("INSERT INTO gongcha (DJ, A_FROM, A_TO) VALUES (9, 0, 100)")},
         Kind::Content,
         "5"},
        {"a column missing",
         {QStringLiteral("DROP TABLE gongcha"),
          QStringLiteral("CREATE TABLE gongcha (ID INTEGER PRIMARY KEY, DJ INTEGER)")},
         Kind::Content,
         "A_FROM"},
        {"a view in the table's place",
         {QStringLiteral("DROP TABLE gongcha"), QStringLiteral("CREATE VIEW gongcha AS SELECT 8 AS DJ")},
         Kind::Content,
         "gongcha"},
    };
    for (const Refusal& c : cases) {
        ProgramDirectory dir;
        Execute(dir.database(), c.statements);
        try {
            LoadTolerances(dir.path(), '.');
            ADD_FAILURE() << c.what << ": read";
        } catch (const CoefficientStoreError& error) {
            EXPECT_EQ(error.kind(), c.kind) << c.what;
            EXPECT_NE(std::string(error.what()).find(c.reasonPart), std::string::npos)
                << c.what << ": " << error.what();
        }
        // The coefficients stay readable beside a table that is not.
        EXPECT_NO_THROW(LoadCoefficients(dir.path(), '.')) << c.what;
    }
}

TEST(ToleranceStore, TheTableIsBoundedLikeTheCoefficients) {
    ProgramDirectory dir;
    QStringList statements{
        QStringLiteral("WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < %1) "
                       "INSERT INTO gongcha (DJ, A_FROM, A_TO) SELECT 5 + k % 4, k * 10, k * 10 + 5 FROM n")
            .arg(kMaxCoefficientRows + 1)};
    Execute(dir.database(), statements);
    try {
        LoadTolerances(dir.path(), '.');
        ADD_FAILURE() << "read";
    } catch (const CoefficientStoreError& error) {
        EXPECT_EQ(error.kind(), CoefficientStoreError::Kind::TooLarge);
    }
}

}  // namespace
}  // namespace wormgear
