// Older binary workbooks (OLE2 ".xls") opened through FreeXL.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QTemporaryDir>

#include "calc/numeric.h"
#include "export/legacy_workbook.h"
#include "export/tests/test_support.h"
#include "export/workbook.h"
#include "files/testing/faults.h"

namespace wormgear {
namespace {

using namespace wormgear::testing;

// two_sheets.xls was written by LibreOffice 7.4 ("MS Excel 97" filter) from a
// workbook whose second sheet was active. Its first sheet "First" holds:
struct FixtureCell {
    int row, column;
    const char* text;
    const char* why;
};
const FixtureCell kFirstSheet[] = {
    {1, 1, "200", "number"},
    {1, 2, "-2.5", "negative number"},
    {2, 1, "0.1", ""},
    {3, 1, "8j (GB/T16445-1996)", "text"},
    {4, 1, "右", "Chinese text"},
    {5, 1, "0.30", "number-like text stays text"},
    {7, 3, "1234567.125", ""},
    {8, 1, "", "a formula: FreeXL returns nothing for it"},
    {13, 1, "0.2", ""},
    {6, 1, "", "empty"},
};

std::string Fixture() { return std::string(EXPORT_TEST_DATA_DIR) + "/two_sheets.xls"; }

TEST(LegacyWorkbook, ReadsTheFirstSheetOfABinaryWorkbook) {
    Workbook book = Workbook::Open(Fixture());
    for (const auto& c : kFirstSheet)
        EXPECT_EQ(book.CellText(c.row, c.column, '.'), c.text) << CellReference(c.row, c.column) << " " << c.why;
}

TEST(LegacyWorkbook, SavingWritesOoxmlAndLeavesTheBinaryFileAlone) {
    QTemporaryDir folder;
    std::string original = ReadFile(Fixture());
    std::string copy = folder.path().toStdString() + "/old.cqb";
    WriteFile(copy, original);
    Workbook book = Workbook::Open(copy);
    book.SetCellText(6, 1, "新");
    std::string saved = folder.path().toStdString() + "/new.xls";
    book.SaveTo(saved);

    EXPECT_EQ(ReadFile(copy), original);
    EXPECT_EQ(ReadFile(saved).substr(0, 4), std::string("PK\x03\x04", 4)) << "a zip package, whatever the name";
    Workbook reopened = Workbook::Open(saved);
    for (const auto& c : kFirstSheet) {
        if (c.row == 6) continue;
        EXPECT_EQ(reopened.CellText(c.row, c.column, '.'), c.text) << CellReference(c.row, c.column);
    }
    EXPECT_EQ(reopened.CellText(6, 1, '.'), "新");

    // Save in place turns the binary file itself into OOXML.
    Workbook inPlace = Workbook::Open(copy);
    inPlace.SetCellText(1, 1, "201");
    inPlace.Save();
    EXPECT_EQ(ReadFile(copy).substr(0, 2), "PK");
    EXPECT_EQ(Workbook::Open(copy).CellText(1, 1, '.'), "201");
    EXPECT_EQ(Workbook::Open(copy).CellText(4, 1, '.'), "右");
}

TEST(LegacyWorkbook, RefusesADamagedBinaryWorkbook) {
    QTemporaryDir folder;
    std::string bytes = ReadFile(Fixture());
    const std::pair<const char*, std::string> kDamaged[] = {
        {"cut short", bytes.substr(0, 1024)},
        {"signature only", bytes.substr(0, 8)},
        {"sectors overwritten", bytes.substr(0, 512) + std::string(bytes.size() - 512, '\xff')},
    };
    for (const auto& [why, damaged] : kDamaged) {
        std::string path = folder.path().toStdString() + "/damaged.xls";
        WriteFile(path, damaged);
        try {
            Workbook::Open(path);
            ADD_FAILURE() << why << ": opened";
        } catch (const WorkbookError& error) {
            // The refusal crosses from the reader's process with its kind and
            // its sentence, which names the file once.
            const std::string message = error.what();
            EXPECT_EQ(error.kind(), WorkbookError::Kind::Damaged) << why << ": " << message;
            EXPECT_EQ(message.rfind("工作簿“" + path + "”已损坏：", 0), 0u) << why << ": " << message;
            EXPECT_EQ(message.find(path, message.find(path) + 1), std::string::npos) << why << ": " << message;
        }
    }
}

TEST(LegacyWorkbook, ReadsTheWorkbooksTheTestsMake) {
    QTemporaryDir folder;
    const std::string path = folder.path().toStdString() + "/made.xls";
    WriteFile(path,
              LegacyWorkbookBytes({{"右", "0.3*P/2"}, {{1, 1, -1, 200}, {2, 1, 1}, {3, 2, 0}, {13, 1, -1, 0.2}}}));
    const Workbook book = Workbook::Open(path);
    EXPECT_EQ(book.CellText(1, 1, '.'), "200");
    EXPECT_EQ(book.CellText(2, 1, '.'), "0.3*P/2");
    EXPECT_EQ(book.CellText(3, 2, '.'), "右");
    EXPECT_EQ(book.CellText(13, 1, '.'), "0.2");
    EXPECT_EQ(book.SourceFormat(), WorkbookFormat::Binary);
}

// A shared string counts once for every cell that shows it: a file of a
// megabyte cannot make the reader copy it a hundred thousand times. Each is
// refused with the bound it passes, or read, within the memory any design
// file must open in, whether the whole sheet is read or only a design's cells.
TEST(LegacyWorkbook, SheetsAreBoundedByWhatTheirCellsShow) {
    if (!wormgear::testing::MemoryBoundsMeasurable()) GTEST_SKIP() << "memory is not measurable under the sanitizer";
    QTemporaryDir folder;
    auto grid = [](int rows, int columns, int string) {
        std::vector<LegacyCell> cells;
        for (int r = 1; r <= rows; ++r) {
            for (int c = 1; c <= columns; ++c) cells.push_back({r, c, string, 1.0});
        }
        return cells;
    };
    std::vector<LegacyCell> design = grid(13, 1, -1);
    design[0].number = 200;
    const std::string longest(8000, 'x');
    const struct {
        const char* what;
        LegacySheetSpec sheet;
        const char* outcome;
        const char* sentenceHolds;
    } kCases[] = {
        {"one 8000-character string in 99,000 cells", {{longest}, grid(396, 250, 0)}, "too large", "4 MiB"},
        {"100,250 numbers", {{}, grid(401, 250, -1)}, "too large", "100000"},
        {"a short string in 99,000 cells", {{"x"}, grid(396, 250, 0)}, "opened", ""},
        {"a design in a sheet that says it is 4096 rows by 256 columns", {{}, design, {4096, 256}}, "opened", ""},
        // FreeXL holds a cell for every position the dimension names: 65536
        // by 256 of them take more than its process may, and it finds no sheet.
        {"a design in a sheet that says it is 65536 rows by 256 columns", {{}, design, {65536, 256}}, "no sheet", ""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.path().toStdString() + "/设计 A.cqb";
        WriteFile(path, LegacyWorkbookBytes(c.sheet));
        auto firstColumn = [](const Workbook& book) {
            const std::string a1 = book.CellText(1, 1, '.');
            return (a1 == "200" || a1 == "1" || a1 == "x") && !book.CellText(13, 1, '.').empty();
        };
        EXPECT_EQ(OutcomeWithinMemory([&] { return firstColumn(Workbook::Open(path)); }, path, c.sentenceHolds),
                  c.outcome);
        EXPECT_EQ(OutcomeWithinMemory(
                      [&] {
                          return firstColumn(Workbook::OpenForReading(path, {13, 1}));
                      },
                      path, c.sentenceHolds),
                  c.outcome);
    }
}

TEST(BoundedChild, AReaderThatNeverAnswersIsStoppedAndTheFileCalledDamaged) {
    const ChildLimits oneSecond{1, 64ull << 20, 1 << 20};
    try {
        RunBoundedChild(
            [] {
                for (;;) ::pause();
                return std::string();
            },
            oneSecond, "/data/old.cqb");
        ADD_FAILURE() << "the reader's silence went unnoticed";
    } catch (const WorkbookError& error) {
        EXPECT_EQ(error.kind(), WorkbookError::Kind::Damaged);
        EXPECT_STREQ(error.what(), "工作簿“/data/old.cqb”已损坏：读取旧版 .xls 格式超过 1 秒仍未完成，已停止");
    }
}

TEST(BoundedChild, AnAnswerBeyondItsBoundIsRefused) {
    const ChildLimits small{5, 64ull << 20, 1000};
    EXPECT_EQ(RunBoundedChild([] { return std::string(1000, 'x'); }, small, "a.xls"), std::string(1000, 'x'));
    try {
        RunBoundedChild([] { return std::string(1001, 'x'); }, small, "a.xls");
        ADD_FAILURE() << "an answer beyond the bound was taken";
    } catch (const WorkbookError& error) {
        EXPECT_EQ(error.kind(), WorkbookError::Kind::TooLarge);
    }
}

TEST(BoundedChild, TheReaderCannotTakeMoreMemoryThanItsBound) {
    if (!wormgear::testing::MemoryBoundsMeasurable()) GTEST_SKIP() << "memory is not measurable under the sanitizer";
    const ChildLimits limits{5, 64ull << 20, 1 << 20};
    const std::string answer = RunBoundedChild(
        [] {
            try {
                std::string big(512u << 20, 'x');
                return std::string("took ") + std::to_string(big.size());
            } catch (const std::bad_alloc&) {
                return std::string("refused");
            }
        },
        limits, "a.xls");
    EXPECT_EQ(answer, "refused");
}

TEST(PlainWorkbookPackage, HoldsNumbersAndTextsInOrder) {
    QTemporaryDir folder;
    std::string path = folder.path().toStdString() + "/plain.xlsx";
    WriteFile(path, WritePackage(PlainWorkbookPackage(
                        "表", {{3, 2, std::string("c")}, {1, 1, 0.1}, {1, 3, std::string("a<b")}, {3, 1, 1e-5}})));
    Workbook book = Workbook::Open(path);
    EXPECT_EQ(book.CellText(1, 1, '.'), "0.1");
    EXPECT_EQ(book.CellText(1, 3, '.'), "a<b");
    EXPECT_EQ(book.CellText(3, 1, '.'), "1E-5");
    EXPECT_EQ(book.CellText(3, 2, '.'), "c");
    EXPECT_NE(PartOf(path, "xl/worksheets/sheet1.xml").find("<row r=\"1\"><c r=\"A1\"><v>0.1</v></c><c r=\"C1\""),
              std::string::npos);
}

}  // namespace
}  // namespace wormgear
