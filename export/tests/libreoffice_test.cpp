// Interoperability with LibreOffice, both ways: it converts the exported
// sheets and a design file to CSV, showing each value as the program wrote it
// and calculating with the numbers (ISNUMBER, SUM); and the designs it saves
// as .ods, .xls and .xlsx open with the texts they hold. Runs only where
// `soffice` is installed (CI installs it).
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <optional>
#include <sstream>

#include "export/number_cells.h"
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

// Runs `soffice --headless --convert-to FILTER` on `inputs` into `outdir`,
// with a profile of its own in `folder`; fails the test with LibreOffice's
// output when it does not finish or fails.
::testing::AssertionResult Convert(const QString& soffice, const QString& folder, const QString& filter,
                                   const QString& outdir, const QStringList& inputs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QStringList arguments{QStringLiteral("-env:UserInstallation=file://") + folder + QStringLiteral("/profile"),
                                QStringLiteral("--headless"),
                                QStringLiteral("--norestore"),
                                QStringLiteral("--convert-to"),
                                filter,
                                QStringLiteral("--outdir"),
                                outdir};
    process.start(soffice, arguments + inputs);
    if (!process.waitForFinished(300000)) return ::testing::AssertionFailure() << "LibreOffice did not finish";
    if (process.exitCode() != 0)
        return ::testing::AssertionFailure() << "LibreOffice failed: " << process.readAll().toStdString();
    return ::testing::AssertionSuccess();
}

// comma-separated, double quotes, UTF-8 (76), from the first line; each cell
// as it is shown
const QString kCsvFilter = QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1");

// Adds formulas to the written sheet at `path`, for LibreOffice to calculate
// when it opens the file: in column 6 of every written row ISNUMBER of the
// written cell, and in F1 the SUM of every written cell.
void AddCheckingFormulas(const std::string& path, const std::vector<SheetCell>& cells) {
    const std::string part = "xl/worksheets/sheet1.xml";
    pugi::xml_document sheet = ParseXml(PartOf(path, part));
    pugi::xml_node data = sheet.document_element().child("sheetData");
    auto add = [&](int row, const std::string& formula) {
        pugi::xml_node rowNode = data.find_child_by_attribute("row", "r", std::to_string(row).c_str());
        ASSERT_TRUE(rowNode) << row;
        pugi::xml_node cell = rowNode.append_child("c");
        cell.append_attribute("r").set_value(CellReference(row, 6).c_str());
        cell.append_child("f").text().set(formula.c_str());
    };
    std::string sum = "SUM(";
    for (const SheetCell& cell : cells) {
        add(cell.row, "ISNUMBER(" + CellReference(cell.row, cell.column) + ")");
        sum += CellReference(cell.row, cell.column) + ",";
    }
    sum.back() = ')';
    add(1, sum);
    std::ostringstream xml;
    sheet.save(xml, "", pugi::format_raw);
    PackageChanges changes;
    changes.replaced.emplace_back(part, xml.str());
    WriteFile(path, RewritePackage(ReadFile(path), changes));
}

TEST(LibreOffice, CalculatesWithTheExportedSheetsAndShowsEveryCellAsWritten) {
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
    design.WheelMeasuredThickness = 1.0 / 3;  // fifteen significant digits
    design.MainBaseDiameter = 1e15;           // shown with an exponent
    design.ModificationCentreDistance = 200.6444;
    design.ModificationRatio = 0.00001;
    design.ModificationBaseDiameter = 130.5178;
    design.GrindingWheelAngle = 11.03778;
    DesignInputs texts;
    texts.CentreDistance = "200";
    texts.WheelTeeth = "50";
    texts.WormStarts = "2";
    texts.EntranceRelief = "a \"quoted\", text";
    texts.GrindingIncrement = "0.20";  // typed with a trailing zero: a text, shown as typed

    const std::pair<SheetKind, const char*> kSheets[] = {
        {SheetKind::Worm, "rudar"}, {SheetKind::Hob, "gundao"}, {SheetKind::Wheel, "wolun"}};
    QStringList inputs;
    for (const auto& [kind, name] : kSheets) {
        const std::string written = WriteSheet(kind, texts, design, '.', TemplatePath(TemplateName(kind)),
                                               dir + "/" + name);
        ASSERT_EQ(written, dir + "/" + name + ".xlsx");
        AddCheckingFormulas(written, SheetCells(kind, texts, design, '.'));
        inputs << QString::fromStdString(written);
    }
    Workbook designFile = Workbook::Open(TemplatePath("111.xls"));
    const char* const kFields[13] = {
        "200",     "25",      "50", "2", "130", "0", "78", "0.3", "8j (GB/T16445-1996)", "8j (GB/T16445-1996)",
        "0.3*P/2", "0.2*P/2", "0.2"};
    for (int row = 1; row <= 13; ++row) designFile.SetCellValue(row, 1, kFields[row - 1], '.');
    designFile.SaveTo(dir + "/design.cqb");
    // LibreOffice picks its import filter by extension before content; the
    // design file goes in under a workbook name.
    WriteFile(dir + "/design.xlsx", ReadFile(dir + "/design.cqb"));
    inputs << QString::fromStdString(dir + "/design.xlsx");

    ASSERT_TRUE(Convert(soffice, folder.path(), kCsvFilter, folder.path() + QStringLiteral("/csv"), inputs));

    for (const auto& [kind, name] : kSheets) {
        SCOPED_TRACE(name);
        std::string csvPath = dir + "/csv/" + name + ".csv";
        ASSERT_TRUE(FileExists(csvPath));
        auto rows = ParseCsv(ReadFile(csvPath));
        double sum = 0;
        for (const SheetCell& cell : SheetCells(kind, texts, design, '.')) {
            const std::string reference = CellReference(cell.row, cell.column);
            // Shown exactly as the window shows the value.
            EXPECT_EQ(At(rows, cell.row, cell.column), cell.text) << reference;
            // A number to LibreOffice exactly when it reads as one.
            const std::optional<NumberCell> number = NumberCellOf(cell.text, '.');
            EXPECT_EQ(At(rows, cell.row, 6), number ? "TRUE" : "FALSE") << "ISNUMBER(" << reference << ")";
            if (number) sum += number->value;
        }
        // LibreOffice shows the sum with its general format's digits.
        EXPECT_NEAR(std::stod(At(rows, 1, 6)), sum, std::fabs(sum) * 1e-12) << "SUM of the written cells";
        Workbook source = Workbook::Open(TemplatePath(TemplateName(kind)));
        EXPECT_EQ(At(rows, 1, 1), source.CellText(1, 1, '.')) << "title";
        EXPECT_EQ(At(rows, 4, 1), source.CellText(4, 1, '.')) << "a name beside its value";
    }
    auto designRows = ParseCsv(ReadFile(dir + "/csv/design.csv"));
    for (int row = 1; row <= 13; ++row) EXPECT_EQ(At(designRows, row, 1), kFields[row - 1]) << "row " << row;
}

// The thirteen texts of the active sheet's column 1.
std::vector<std::string> DesignTexts(const std::string& path) {
    const Workbook book = Workbook::Open(path);
    std::vector<std::string> texts;
    for (int row = 1; row <= 13; ++row) texts.push_back(book.CellText(row, 1, '.'));
    return texts;
}

TEST(LibreOffice, DesignsItSavesAsXlsxXlsOrOdsOpen) {
    QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    QTemporaryDir folder;
    const std::string dir = folder.path().toStdString();
    // Numbers, texts that look like numbers, and texts.
    const std::vector<std::string> kFields = {"200.50",
                                              "25",
                                              "50",
                                              "2",
                                              "130",
                                              "1E-5",
                                              "78",
                                              "0.3",
                                              "8j (GB/T16445-1996)",
                                              "7 级",
                                              "0.3*P/2",
                                              "0.2*P/2",
                                              "0.333333333333333"};
    Workbook design = Workbook::Open(TemplatePath("111.xls"));
    for (int row = 1; row <= 13; ++row) design.SetCellValue(row, 1, kFields[row - 1], '.');
    design.SaveTo(dir + "/gear.xlsx");

    const struct {
        const char* filter;
        const char* extension;
        WorkbookFormat format;
    } kFormats[] = {
        {"ods", "ods", WorkbookFormat::OpenDocument},
        {"xls:MS Excel 97", "xls", WorkbookFormat::Binary},
        {"xlsx:Calc MS Excel 2007 XML", "xlsx", WorkbookFormat::Ooxml},
    };
    for (const auto& format : kFormats) {
        SCOPED_TRACE(format.filter);
        const QString outdir = folder.path() + QStringLiteral("/") + QLatin1String(format.extension);
        ASSERT_TRUE(Convert(soffice, folder.path(), QString::fromLatin1(format.filter), outdir,
                            {QString::fromStdString(dir + "/gear.xlsx")}));
        const std::string saved = outdir.toStdString() + "/gear." + format.extension;
        EXPECT_EQ(Workbook::Open(saved).SourceFormat(), format.format);
        EXPECT_EQ(DesignTexts(saved), kFields);
        // Saved by LibreOffice under the design file's own name.
        WriteFile(dir + "/gear-" + format.extension + ".cqb", ReadFile(saved));
        EXPECT_EQ(DesignTexts(dir + "/gear-" + format.extension + ".cqb"), kFields);
    }
}

}  // namespace
}  // namespace wormgear
