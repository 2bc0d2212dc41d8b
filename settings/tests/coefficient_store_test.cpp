// The coefficient load of the main window's show step, its failures, the
// rules-modified notice and the usability check of settings files.
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QTranslator>
#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

#include "settings/coefficient_rules.h"
#include "settings/coefficient_store.h"
#include "settings/tests/test_support.h"

namespace wormgear {
namespace {

using testing::NumberedTable;
using testing::ProgramDirectory;

// The worked design example's coefficient set (c[0] = 0.875, the shipped
// exponent, and c[1] .. c[14]), which is what db1.mdb ships.
constexpr double kShippedCoefficients[kCoefficientCount] = {0.875, 1.2, 0.7,  0.45, 0,   0.55, 2,  0.5,
                                                            0.2,   0.2, 0.45, 1,    0.5, 1,    0.9};

TEST(ShippedDatabase, HoldsTheExampleCoefficientsWithNEqualToTheReference) {
    ProgramDirectory dir;
    const CoefficientLoad load = LoadCoefficients(dir.path(), '.');
    for (int k = 0; k < kCoefficientCount; ++k) EXPECT_EQ(load.table.c[k], kShippedCoefficients[k]) << "c[" << k << "]";
    EXPECT_FALSE(load.rulesModified);
}

TEST(ShippedDatabase, HasFifteenRulesWithChineseTextsAndIsUsable) {
    const CoefficientTableSpec source = testing::ShippedTable();
    ASSERT_EQ(source.rows.size(), 15);
    for (const QVariantList& row : source.rows) {
        const QString rule = row[1].toString();
        EXPECT_FALSE(rule.isEmpty());
        EXPECT_TRUE(std::any_of(rule.begin(), rule.end(), [](QChar c) {
            return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
        })) << rule.toStdString();
        EXPECT_EQ(row[2], row[3]) << rule.toStdString();
    }
    EXPECT_NO_THROW(CheckUsableCoefficientFile(QStringLiteral(WORMGEAR_SHIPPED_DB), '.'));
}

TEST(ShippedDatabase, DefaultSettingsFileIsAByteCopyOfTheDatabase) {
    ProgramDirectory dir;
    EXPECT_FALSE(dir.bytes("db1.mdb").isEmpty());
    EXPECT_EQ(dir.bytes("db1.mdb"), dir.bytes("db1.ccq"));
}

TEST(LoadCoefficients, ReadsRowKPlusOneIntoCK) {
    ProgramDirectory dir;
    dir.write("db1.mdb", NumberedTable(15));
    const CoefficientLoad load = LoadCoefficients(dir.path(), '.');
    for (int k = 0; k < kCoefficientCount; ++k) EXPECT_EQ(load.table.c[k], k + 1.25) << "c[" << k << "]";
    EXPECT_FALSE(load.rulesModified);
}

TEST(LoadCoefficients, AcceptsTheDirectoryWithOrWithoutTrailingSeparator) {
    ProgramDirectory dir;
    EXPECT_EQ(LoadCoefficients(dir.path() + "/", '.').table.c[0], 0.875);
    EXPECT_EQ(LoadCoefficients(dir.path(), '.').table.c[0], 0.875);
}

TEST(LoadCoefficients, TwelveRowsRepeatTheLastRowForC12ToC14) {
    ProgramDirectory dir;
    dir.write("db1.mdb", NumberedTable(12));
    const CoefficientLoad load = LoadCoefficients(dir.path(), '.');
    for (int k = 0; k < 12; ++k) EXPECT_EQ(load.table.c[k], k + 1.25);
    for (int k = 12; k < 15; ++k) EXPECT_EQ(load.table.c[k], 12.25) << "c[" << k << "]";
    EXPECT_FALSE(load.rulesModified);
}

TEST(LoadCoefficients, TwelveRowsCompareTheLastRowAgain) {
    ProgramDirectory dir;
    CoefficientTableSpec table = NumberedTable(12);
    table.rows[11][3] = 99.0;  // the 12th row's reference differs
    dir.write("db1.mdb", table);
    EXPECT_TRUE(LoadCoefficients(dir.path(), '.').rulesModified);
}

TEST(LoadCoefficients, TwentyRowsReadAndCompareOnlyTheFirstFifteen) {
    ProgramDirectory dir;
    CoefficientTableSpec table = NumberedTable(20);
    table.rows[15][2] = QVariant();           // row 16: empty N, never read
    table.rows[16][2] = QStringLiteral("x");  // row 17: no number, never read
    table.rows[19][3] = 99.0;                 // row 20 differs, never compared
    dir.write("db1.mdb", table);
    const CoefficientLoad load = LoadCoefficients(dir.path(), '.');
    for (int k = 0; k < kCoefficientCount; ++k) EXPECT_EQ(load.table.c[k], k + 1.25);
    EXPECT_FALSE(load.rulesModified);
}

TEST(LoadCoefficients, NoticeShowsWhenAnyOfTheFifteenRowsDiffers) {
    for (int row = 1; row <= 15; ++row) {
        ProgramDirectory dir;
        CoefficientTableSpec table = NumberedTable(15);
        table.rows[row - 1][2] = row + 0.5;
        dir.write("db1.mdb", table);
        const CoefficientLoad load = LoadCoefficients(dir.path(), '.');
        EXPECT_TRUE(load.rulesModified) << "row " << row;
        EXPECT_EQ(load.table.c[row - 1], row + 0.5);
    }
}

TEST(LoadCoefficients, ComparesNumbersNotTheirStoredForm) {
    ProgramDirectory dir;
    CoefficientTableSpec table = NumberedTable(15);
    table.rows[0][2] = QStringLiteral("1.25");   // text N, numeric reference
    table.rows[1][3] = QStringLiteral(" 2.25");  // numeric N, text reference
    table.rows[2][2] = 3;                        // integer N ...
    table.rows[2][3] = 3.0;                      // ... equal to a real reference
    dir.write("db1.mdb", table);
    const CoefficientLoad load = LoadCoefficients(dir.path(), '.');
    EXPECT_EQ(load.table.c[0], 1.25);
    EXPECT_EQ(load.table.c[2], 3.0);
    EXPECT_FALSE(load.rulesModified);
}

TEST(LoadCoefficients, AnEmptyReferenceCountsAsModified) {
    ProgramDirectory dir;
    CoefficientTableSpec table = NumberedTable(15);
    table.rows[4][3] = QVariant();
    dir.write("db1.mdb", table);
    EXPECT_TRUE(LoadCoefficients(dir.path(), '.').rulesModified);
}

TEST(LoadCoefficients, KeepsEachCoefficientsRuleAndShippedValue) {
    ProgramDirectory dir;
    CoefficientTableSpec table = NumberedTable(12);
    table.rows[1][1] = QStringLiteral("齿根高系数");
    table.rows[4][3] = QVariant();           // no shipped value
    table.rows[5][3] = QStringLiteral("x");  // no number
    table.rows[6][3] = QStringLiteral("7,5");
    dir.write("db1.mdb", table);
    const CoefficientLoad load = LoadCoefficients(dir.path(), ',');
    EXPECT_EQ(load.rules[1], "齿根高系数");
    EXPECT_EQ(load.shipped[0], 1.25);
    EXPECT_EQ(load.shipped[4], std::nullopt);
    EXPECT_EQ(load.shipped[5], std::nullopt);
    EXPECT_EQ(load.shipped[6], 7.5);
    // c[12] .. c[14] repeat the last row: its rule and shipped value too.
    for (int k = 11; k < kCoefficientCount; ++k) {
        EXPECT_EQ(load.rules[k], load.rules[11]) << k;
        EXPECT_EQ(load.shipped[k], 12.25) << k;
    }
    EXPECT_NE(load.rules[0], load.rules[2]);
}

TEST(ShippedDatabase, NamesEveryRuleAndItsShippedValue) {
    ProgramDirectory dir;
    const CoefficientLoad load = LoadCoefficients(dir.path(), '.');
    for (int k = 0; k < kCoefficientCount; ++k) {
        EXPECT_FALSE(load.rules[k].empty()) << k;
        EXPECT_EQ(load.shipped[k], kShippedCoefficients[k]) << k;
    }
}

// The program's English catalogue, as the English interface installs it.
class EnglishCatalogue {
 public:
    EnglishCatalogue() {
        loaded_ = translator_.load(QStringLiteral(WORMGEAR_BIN_DIR "/wormgear_en.qm"));
        if (loaded_) QCoreApplication::installTranslator(&translator_);
    }
    ~EnglishCatalogue() { QCoreApplication::removeTranslator(&translator_); }
    bool loaded() const { return loaded_; }

 private:
    QTranslator translator_;
    bool loaded_ = false;
};

bool HasChinese(const std::string& text) {
    static const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return chinese.match(QString::fromStdString(text)).hasMatch();
}

TEST(ShippedDatabase, EveryShippedRuleTextIsInTheCatalogueTable) {
    // The table beside the catalogue and the rows the build writes into db1.mdb.
    const CoefficientTableSpec shipped = testing::ShippedTable();
    ASSERT_EQ(shipped.rows.size(), kCoefficientCount);
    for (int k = 0; k < kCoefficientCount; ++k)
        EXPECT_EQ(shipped.rows[k][1].toString(), QString::fromUtf8(ShippedRuleTexts()[static_cast<std::size_t>(k)]))
            << k;
}

TEST(LoadCoefficients, HandsOutTheShippedRulesInTheInterfacesLanguage) {
    ProgramDirectory dir;
    CoefficientTableSpec table = testing::ShippedTable();
    table.rows[4][1] = QStringLiteral("我自己的备用规则");  // changed by the user: no translation
    dir.write("db1.mdb", table);
    const CoefficientLoad chinese = LoadCoefficients(dir.path(), '.');
    for (int k = 0; k < kCoefficientCount; ++k)
        EXPECT_EQ(QString::fromStdString(chinese.rules[k]), table.rows[k][1].toString()) << k;

    EnglishCatalogue english;
    ASSERT_TRUE(english.loaded());
    const CoefficientLoad load = LoadCoefficients(dir.path(), '.');
    for (int k = 0; k < kCoefficientCount; ++k) {
        SCOPED_TRACE(k);
        if (k == 4) {
            EXPECT_EQ(load.rules[k], "我自己的备用规则");
            continue;
        }
        EXPECT_FALSE(load.rules[k].empty());
        EXPECT_FALSE(HasChinese(load.rules[k])) << load.rules[k];
        EXPECT_NE(load.rules[k], chinese.rules[k]);
        // The coefficient itself is the one the rule names.
        EXPECT_EQ(load.table.c[static_cast<std::size_t>(k)], chinese.table.c[static_cast<std::size_t>(k)]);
    }
    EXPECT_EQ(load.rules[2], "Addendum factor: ha = N·mt (transverse module)");
}

struct FailureCase {
    const char* name;
    std::function<void(const ProgramDirectory&)> prepare;
};

CoefficientTableSpec WithN(int row, const QVariant& n) {
    CoefficientTableSpec table = NumberedTable(15);
    table.rows[row - 1][2] = n;
    return table;
}

const FailureCase kFailures[] = {
    {"missing file", [](const ProgramDirectory& d) { QFile::remove(d.database()); }},
    {"text file", [](const ProgramDirectory& d) { d.writeBytes("db1.mdb", "ID\tJSGS\tN\n1\trule\t0.875\n"); }},
    {"empty file", [](const ProgramDirectory& d) { d.writeBytes("db1.mdb", QByteArray()); }},
    {"missing table",
     [](const ProgramDirectory& d) {
         CoefficientTableSpec other = NumberedTable(15);
         other.name = "coefficients";
         d.write("db1.mdb", other);
     }},
    {"empty table", [](const ProgramDirectory& d) { d.write("db1.mdb", NumberedTable(0)); }},
    {"empty N in row 7", [](const ProgramDirectory& d) { d.write("db1.mdb", WithN(7, QVariant())); }},
    {"blank text N in row 1", [](const ProgramDirectory& d) { d.write("db1.mdb", WithN(1, QStringLiteral("  "))); }},
    {"non-numeric N in row 3", [](const ProgramDirectory& d) { d.write("db1.mdb", WithN(3, QStringLiteral("0.7a"))); }},
    {"binary N in row 15", [](const ProgramDirectory& d) { d.write("db1.mdb", WithN(15, QByteArray("\x01\x02", 2))); }},
    {"infinite N in row 2",
     [](const ProgramDirectory& d) { d.write("db1.mdb", WithN(2, std::numeric_limits<double>::infinity())); }},
    {"empty N in the last of 12 rows",
     [](const ProgramDirectory& d) {
         CoefficientTableSpec table = NumberedTable(12);
         table.rows[11][2] = QVariant();
         d.write("db1.mdb", table);
     }},
    {"only three columns",
     [](const ProgramDirectory& d) {
         CoefficientTableSpec table;
         table.columns = QStringList{"ID INTEGER", "JSGS TEXT", "N REAL"};
         for (int r = 1; r <= 15; ++r) table.rows << QVariantList{r, "rule", 1.0};
         d.write("db1.mdb", table);
     }},
};

TEST(LoadCoefficients, EveryFaultOfTheFileFailsTheLoadAndReleasesTheConnection) {
    for (const FailureCase& failure : kFailures) {
        ProgramDirectory dir;
        failure.prepare(dir);
        EXPECT_THROW(LoadCoefficients(dir.path(), '.'), CoefficientStoreError) << failure.name;
        EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty()) << failure.name;
    }
}

TEST(LoadCoefficients, AMissingFileIsNotCreated) {
    ProgramDirectory dir;
    QFile::remove(dir.database());
    EXPECT_THROW(LoadCoefficients(dir.path(), '.'), CoefficientStoreError);
    EXPECT_FALSE(QFile::exists(dir.database()));
}

TEST(LoadCoefficients, LeavesTheFileFreeToBeReplaced) {
    ProgramDirectory dir;
    EXPECT_EQ(LoadCoefficients(dir.path(), '.').table.c[1], 1.2);
    EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty());
    ASSERT_TRUE(QFile::remove(dir.database()));
    dir.write("db1.mdb", NumberedTable(15));
    EXPECT_EQ(LoadCoefficients(dir.path(), '.').table.c[1], 2.25);
    EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty());
}

TEST(CheckUsableCoefficientFile, RefusesWhatCouldNotServeAsDb1Mdb) {
    ProgramDirectory dir;
    EXPECT_NO_THROW(CheckUsableCoefficientFile(dir.database(), '.'));
    dir.write("twenty.ccq", NumberedTable(20));
    EXPECT_NO_THROW(CheckUsableCoefficientFile(dir.file("twenty.ccq"), '.'));

    for (const FailureCase& failure : kFailures) {
        ProgramDirectory bad;
        failure.prepare(bad);
        EXPECT_THROW(CheckUsableCoefficientFile(bad.database(), '.'), CoefficientStoreError) << failure.name;
    }
    struct Refused {
        const char* name;
        CoefficientTableSpec table;
    };
    CoefficientTableSpec twentyWithEmptyN = NumberedTable(20);
    twentyWithEmptyN.rows[17][2] = QVariant();
    CoefficientTableSpec noRuleText = NumberedTable(15);
    noRuleText.columns[1] = "GS TEXT";
    CoefficientTableSpec nElsewhere = NumberedTable(15);
    nElsewhere.columns[2] = "NN REAL";
    nElsewhere.columns[3] = "N REAL";
    const Refused refused[] = {
        {"12 rows", NumberedTable(12)},
        {"14 rows", NumberedTable(14)},
        {"empty N in row 18 of 20", twentyWithEmptyN},
        {"no JSGS column", noRuleText},
        {"N not at position 2", nElsewhere},
    };
    for (const Refused& r : refused) {
        dir.write("candidate.ccq", r.table);
        EXPECT_THROW(CheckUsableCoefficientFile(dir.file("candidate.ccq"), '.'), CoefficientStoreError) << r.name;
    }
    EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty());
}

TEST(CoefficientValue, ReadsNumbersAndNumberTexts) {
    struct Case {
        QVariant stored;
        double expected;
    };
    const Case cases[] = {
        {0.875, 0.875},
        {QVariant(qlonglong(2)), 2.0},
        {QVariant(7), 7.0},
        {QStringLiteral("0.875"), 0.875},
        {QStringLiteral(" 1.5 "), 1.5},
        {QStringLiteral("1E-5"), 0.00001},
        {QStringLiteral(".5"), 0.5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CoefficientValue(c.stored, '.'), c.expected) << c.stored.toString().toStdString();
}

TEST(CoefficientValue, RefusesEmptyAndNonNumbers) {
    const QVariant refused[] = {
        QVariant(),
        QVariant(QMetaType::fromType<double>()),
        QStringLiteral(""),
        QStringLiteral("   "),
        QStringLiteral("abc"),
        QStringLiteral("1,5,"),
        QStringLiteral("1e99999"),
        QByteArray("1"),
        std::numeric_limits<double>::infinity(),
        std::nan(""),
    };
    for (const QVariant& value : refused)
        EXPECT_THROW(CoefficientValue(value, '.'), CoefficientStoreError) << value.toString().toStdString();
}

}  // namespace
}  // namespace wormgear
