// Interoperability: LibreOffice converts the exported sheets and a design file
// to CSV, and the values it sees are the ones the program wrote. Runs only
// where `soffice` is installed.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "export/sheets.h"
#include "export/tests/test_support.h"
#include "export/workbook.h"

namespace wormgear {
namespace {

using namespace wormgear::testing;

// A CSV file as rows of fields (RFC 4180 quoting, as LibreOffice writes it).
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(field);
            field.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            rows.back().push_back(field);
            field.clear();
            rows.emplace_back();
        } else {
            field += c;
        }
    }
    if (!field.empty() || !rows.back().empty()) rows.back().push_back(field);
    if (rows.back().empty()) rows.pop_back();
    return rows;
}

std::string At(const std::vector<std::vector<std::string>>& rows, int row, int column) {
    if (row < 1 || static_cast<std::size_t>(row) > rows.size()) return "";
    const auto& fields = rows[static_cast<std::size_t>(row - 1)];
    return static_cast<std::size_t>(column) <= fields.size() ? fields[static_cast<std::size_t>(column - 1)] : "";
}

TEST(LibreOffice, ReadsTheExportedSheetsAndADesignFile) {
    QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    QTemporaryDir folder;
    std::string dir = folder.path().toStdString();

    TWormDesign design;
    design.TransverseModule = 6.44;
    design.EnvelopedTeeth = 5.5;
    design.GeneratingPlaneAngleText = "11.025";
    design.WorkingHalfWrapAngle = 18.18;
    design.ThroatLeadAngle = 9.377;
    design.PressureAngle = 23.811;
    design.WormMeasuredThickness = 8.686;
    design.WormMeasuredHeight = 4.448;
    design.Backlash = 0.3;
    design.HobEnvelopingTeeth = 6;
    design.HobMeasuredHeight = 7.024;
    design.WheelMeasuredHeight = 4.604;
    design.WheelMeasuredThickness = 10.979;
    design.MainBaseDiameter = 130;
    design.ModificationCentreDistance = 200.6444;
    design.ModificationRatio = 25.1;
    design.ModificationBaseDiameter = 130.5178;
    design.GrindingWheelAngle = 11.03778;
    DesignInputs texts;
    texts.CentreDistance = "200";
    texts.WheelTeeth = "50";
    texts.WormStarts = "2";
    texts.EntranceRelief = "a \"quoted\", text";

    const std::pair<SheetKind, const char*> kSheets[] = {
        {SheetKind::Worm, "rudar"}, {SheetKind::Hob, "gundao"}, {SheetKind::Wheel, "wolun"}};
    QStringList inputs;
    for (const auto& [kind, name] : kSheets) {
        WriteSheet(kind, texts, design, '.', TemplatePath(TemplateName(kind)), dir + "/" + name);
        inputs << QString::fromStdString(dir + "/" + name + ".xlsx");
    }
    Workbook designFile = Workbook::Open(TemplatePath("111.xls"));
    const char* const kFields[13] = {
        "200",     "25",      "50", "2", "130", "0", "78", "0.3", "8j (GB/T16445-1996)", "8j (GB/T16445-1996)",
        "0.3*P/2", "0.2*P/2", "0.2"};
    for (int row = 1; row <= 13; ++row) designFile.SetCellText(row, 1, kFields[row - 1]);
    designFile.SaveAs(dir + "/design.cqb");
    // LibreOffice picks its import filter by extension before content; the
    // design file goes in under a workbook name.
    WriteFile(dir + "/design.xlsx", ReadFile(dir + "/design.cqb"));
    inputs << QString::fromStdString(dir + "/design.xlsx");

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList arguments{QStringLiteral("-env:UserInstallation=file://") + folder.path() + QStringLiteral("/profile"),
                          QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"),
                          // comma-separated, double quotes, UTF-8 (76), from the first line
                          QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1"), QStringLiteral("--outdir"),
                          folder.path() + QStringLiteral("/csv")};
    process.start(soffice, arguments + inputs);
    ASSERT_TRUE(process.waitForFinished(300000)) << "LibreOffice did not finish";
    ASSERT_EQ(process.exitCode(), 0) << process.readAll().toStdString();

    for (const auto& [kind, name] : kSheets) {
        SCOPED_TRACE(name);
        std::string csvPath = dir + "/csv/" + name + ".csv";
        ASSERT_TRUE(FileExists(csvPath)) << process.readAll().toStdString();
        auto rows = ParseCsv(ReadFile(csvPath));
        for (const SheetCell& cell : SheetCells(kind, texts, design, '.')) {
            EXPECT_EQ(At(rows, cell.row, cell.column), cell.text) << CellReference(cell.row, cell.column);
        }
        Workbook source = Workbook::Open(TemplatePath(TemplateName(kind)));
        EXPECT_EQ(At(rows, 1, 1), source.CellText(1, 1, '.')) << "title";
        EXPECT_EQ(At(rows, 4, 1), source.CellText(4, 1, '.')) << "a name beside its value";
    }
    auto designRows = ParseCsv(ReadFile(dir + "/csv/design.csv"));
    for (int row = 1; row <= 13; ++row) EXPECT_EQ(At(designRows, row, 1), kFields[row - 1]) << "row " << row;
}

}  // namespace
}  // namespace wormgear
