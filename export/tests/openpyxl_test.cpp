// openpyxl, an independent reader, loads every kind of workbook the program
// writes without a warning, and sees each written value as the program meant
// it: numbers as numbers with the format that shows their text, texts as
// texts. Skipped where /usr/bin/python3 or its openpyxl is missing.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <ctime>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "calc/testing/worked_example.h"
#include "export/number_cells.h"
#include "export/ooxml.h"
#include "export/sheets.h"
#include "export/table_workbook.h"
#include "export/tests/test_support.h"
#include "export/workbook.h"
#include "translations/testing/english.h"

namespace wormgear {
namespace {

// The English sheets' words from the catalogue, as the programs' .qm gives them.
Translate TranslationOf(Language language) { return language == Language::English ? English() : Translate(); }

using namespace wormgear::testing;

struct SeenCell {
    std::string type, value, format, colour;
};
// file -> cell reference -> what openpyxl saw
using Seen = std::map<std::string, std::map<std::string, SeenCell>>;

std::string Unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[++i];
            out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(Openpyxl, LoadsEveryWorkbookTheProgramWritesWithoutAWarning) {
    if (!QFileInfo::exists(QStringLiteral("/usr/bin/python3"))) GTEST_SKIP() << "/usr/bin/python3 is not installed";
    QTemporaryDir folder;
    const std::string dir = folder.path().toStdString();
    std::vector<std::string> outputs;
    const std::string start = PropertyTime(std::time(nullptr));

    // The three sheets of the worked example, and the worm sheet as a
    // decimal-comma user writes it.
    const CalculationOutcome example = Calculate(WorkedExampleInputs(), false, WorkedExampleCoefficients(), '.');
    ASSERT_TRUE(example.succeeded());
    DesignInputs commaInputs = WorkedExampleInputs();
    commaInputs.Backlash = "0,3";
    commaInputs.GrindingIncrement = "0,2";
    const CalculationOutcome commaExample = Calculate(commaInputs, false, WorkedExampleCoefficients(), ',');
    ASSERT_TRUE(commaExample.succeeded());
    // d1 = 5 calculates, but two checks find errors: the sheets say so.
    DesignInputs faultyInputs = WorkedExampleInputs();
    faultyInputs.WormPitchDiameter = "5";
    const CalculationOutcome faulty = Calculate(faultyInputs, false, WorkedExampleCoefficients(), '.');
    ASSERT_TRUE(faulty.succeeded());
    const std::vector<Finding> faultyFindings = CheckDesign(faultyInputs, WorkedExampleCoefficients(), faulty, '.');
    ASSERT_TRUE(HasErrors(faultyFindings));
    struct Sheet {
        SheetKind kind;
        const char* name;
        char separator;
        Language language = Language::Chinese;
        bool faulty = false;
    };
    const Sheet kSheets[] = {{SheetKind::Worm, "rudar", '.'},
                             {SheetKind::Hob, "gundao", '.'},
                             {SheetKind::Wheel, "wolun", '.'},
                             {SheetKind::Worm, "rudar-comma", ','},
                             {SheetKind::Worm, "worm-en", '.', Language::English},
                             {SheetKind::Hob, "hob-en", '.', Language::English},
                             {SheetKind::Wheel, "wheel-en", '.', Language::English},
                             {SheetKind::Worm, "rudar-errors", '.', Language::Chinese, true},
                             {SheetKind::Hob, "gundao-errors", '.', Language::Chinese, true},
                             {SheetKind::Wheel, "wheel-errors-en", '.', Language::English, true}};
    for (const Sheet& sheet : kSheets) {
        const bool comma = sheet.separator == ',';
        outputs.push_back(WriteSheet(sheet.kind,
                                     comma          ? commaInputs
                                     : sheet.faulty ? faultyInputs
                                                    : WorkedExampleInputs(),
                                     comma          ? commaExample.design
                                     : sheet.faulty ? faulty.design
                                                    : example.design,
                                     sheet.separator, TemplatePath(TemplateName(sheet.kind, sheet.language)),
                                     dir + "/" + sheet.name, TranslationOf(sheet.language),
                                     sheet.faulty ? faultyFindings : std::vector<Finding>{}));
    }

    // A new design file, and designs opened from the other formats and
    // saved: each becomes OOXML.
    const std::vector<std::string> kFields = {"200", "25", "50",     "2",       "130", "1E-5", "78",
                                              "0.3", "8j", "200.50", "0.3*P/2", "0.2", "右"};
    Workbook design = Workbook::Open(TemplatePath("111.xls"));
    for (int row = 1; row <= 13; ++row) design.SetCellValue(row, 1, kFields[row - 1], '.');
    design.SaveTo(dir + "/new.cqb");
    outputs.push_back(dir + "/new.cqb");
    WriteFile(dir + "/from-ods.cqb",
              PackageBytes(OpenDocumentParts(OpenDocumentTable(
                  "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"160\"/>"
                  "</table:table-row>"))));
    WriteFile(dir + "/from-xls.cqb", ReadFile(std::string(EXPORT_TEST_DATA_DIR) + "/two_sheets.xls"));
    for (const char* name : {"from-ods.cqb", "from-xls.cqb"}) {
        Workbook converted = Workbook::Open(dir + "/" + name);
        converted.SetCellValue(2, 1, "25.5", '.');
        converted.Save();
        outputs.push_back(dir + "/" + name);
    }
    // A workbook that had no cell formats before a number was written.
    WorkbookSpec plain;
    plain.sheetXml = SheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
    WriteFile(dir + "/plain.xlsx", PackageBytes(WorkbookParts(plain)));
    {
        Workbook book = Workbook::Open(dir + "/plain.xlsx");
        book.SetCellValue(2, 1, "4.75", '.');
        book.SaveAs(dir + "/plain.xlsm");
        outputs.push_back(dir + "/plain.xlsm");
    }
    // The table of solutions' workbook.
    TableWorkbook table("方案表");
    table.text("β (°)");
    table.endRow();
    table.number("11.025");
    table.endRow();
    ReplaceWorkbookFile(dir + "/table.xlsx", WritePackage(table.package()));
    outputs.push_back(dir + "/table.xlsx");
    const std::size_t firstTemplate = outputs.size();
    for (const char* name : {"1.xls", "11.xls", "1111.xls", "111.xls", "1_en.xls", "11_en.xls", "1111_en.xls"})
        outputs.push_back(TemplatePath(name));

    QProcess python;
    QStringList arguments{QStringLiteral(OPENPYXL_READER)};
    for (const std::string& output : outputs) arguments << QString::fromStdString(output);
    python.start(QStringLiteral("/usr/bin/python3"), arguments);
    ASSERT_TRUE(python.waitForFinished(120000));
    const std::string errors = python.readAllStandardError().toStdString();
    if (python.exitCode() == 77) GTEST_SKIP() << errors;
    ASSERT_EQ(python.exitCode(), 0) << errors;

    Seen seen;
    std::istringstream lines(python.readAllStandardOutput().toStdString());
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        fields.resize(6);
        seen[fields[0]][fields[1]] = {fields[2], Unescaped(fields[3]), fields[4], fields[5]};
    }

    // What openpyxl sees of a cell written with `text`.
    auto expectCell = [&](const std::string& file, int row, int column, const std::string& text, char separator) {
        const std::string reference = CellReference(row, column);
        SCOPED_TRACE(file + " " + reference + " \"" + text + "\"");
        const auto found = seen[file].find(reference);
        if (text.empty()) {
            EXPECT_EQ(found, seen[file].end());
            return;
        }
        ASSERT_NE(found, seen[file].end());
        const SeenCell& cell = found->second;
        if (const std::optional<NumberCell> number = NumberCellOf(text, separator)) {
            EXPECT_EQ(cell.type, "n");
            EXPECT_EQ(std::stod(cell.value), number->value);
            EXPECT_EQ(cell.format, number->formatCode);
        } else {
            EXPECT_EQ(cell.type, "s");
            EXPECT_EQ(cell.value, text);
        }
    };
    for (std::size_t i = 0; i < std::size(kSheets); ++i) {
        const Sheet& sheet = kSheets[i];
        const bool comma = sheet.separator == ',';
        for (const SheetCell& cell : SheetCells(sheet.kind,
                                                comma          ? commaInputs
                                                : sheet.faulty ? faultyInputs
                                                               : WorkedExampleInputs(),
                                                comma          ? commaExample.design
                                                : sheet.faulty ? faulty.design
                                                               : example.design,
                                                sheet.separator, TranslationOf(sheet.language)))
            expectCell(outputs[i], cell.row, cell.column, cell.text, sheet.separator);
        // The note of the checks' errors, red, below the template's rows; none on a sound design.
        const std::string note = CellReference(ChecksNoteRow(sheet.kind), 1);
        const auto found = seen[outputs[i]].find(note);
        ASSERT_EQ(found != seen[outputs[i]].end(), sheet.faulty) << outputs[i];
        if (!sheet.faulty) continue;
        const Translate translate = TranslationOf(sheet.language);
        const std::string expected = ChecksErrorMark(translate) + (sheet.language == Language::Chinese ? "：" : ": ") +
                                     FindingMessage(faultyFindings[0], translate, '.');
        EXPECT_EQ(found->second.value.rfind(expected, 0), 0u) << found->second.value;
        EXPECT_NE(found->second.value.find(FindingMessage(faultyFindings[1], translate, '.')), std::string::npos);
        EXPECT_EQ(found->second.value.find(FindingMessage(faultyFindings[2], translate, '.')), std::string::npos)
            << "a warning is no error";
        EXPECT_EQ(found->second.colour, "FFC00000");
    }
    for (int row = 1; row <= 13; ++row) expectCell(dir + "/new.cqb", row, 1, kFields[row - 1], '.');
    // A number read from the other format keeps the general format it had.
    EXPECT_EQ(seen[dir + "/from-ods.cqb"]["A1"].type, "n");
    EXPECT_EQ(seen[dir + "/from-ods.cqb"]["A1"].value, "160");
    expectCell(dir + "/from-ods.cqb", 2, 1, "25.5", '.');
    expectCell(dir + "/from-xls.cqb", 2, 1, "25.5", '.');
    expectCell(dir + "/plain.xlsm", 2, 1, "4.75", '.');
    // The English worm sheet: English names beside the same numbers.
    const auto& english = seen[dir + "/worm-en.xlsx"];
    EXPECT_EQ(english.at("A4").value, "Transverse module");
    EXPECT_EQ(english.at("C4").type, "n");
    EXPECT_EQ(english.at("C4").value, "6.44");
    EXPECT_EQ(english.at("A10").value, "Hand of helix");
    EXPECT_EQ(english.at("B10").value, "Right");
    EXPECT_EQ(english.at("A16").value, "Worm modification (general drive)");
    EXPECT_EQ(english.at("C18").value, "200.644");
    EXPECT_EQ(seen[dir + "/wheel-en.xlsx"].at("A17").value, "Main base circle diameter");
    EXPECT_EQ(seen[dir + "/wheel-en.xlsx"].at("C17").value, "130");
    // The comma user's 0,3 is the number 0.3 to every reader.
    EXPECT_EQ(seen[dir + "/rudar-comma.xlsx"]["C17"].value, "0.2");

    // Every workbook says what it is, that the program made it, and when:
    // the templates when they were built, the others when they were written.
    const std::map<std::string, std::string> kTitles = {
        {"/rudar.xlsx", "蜗杆参数表"},        {"/gundao.xlsx", "滚刀参数表"}, {"/wolun.xlsx", "蜗轮参数表"},
        {"/worm-en.xlsx", "Worm parameters"}, {"/new.cqb", "设计数据"},       {"/from-ods.cqb", "Sheet1"},
        {"/from-xls.cqb", "First"},           {"/plain.xlsm", "S"},           {"/table.xlsx", "方案表"},
    };
    for (std::size_t n = 0; n < outputs.size(); ++n) {
        SCOPED_TRACE(outputs[n]);
        auto& properties = seen[outputs[n]];
        EXPECT_EQ(properties["@creator"].value, kDocumentCreator);
        EXPECT_FALSE(properties["@title"].value.empty());
        const std::string name = outputs[n].substr(outputs[n].rfind('/'));
        if (const auto title = kTitles.find(name); title != kTitles.end()) {
            EXPECT_EQ(properties["@title"].value, title->second);
        }
        if (n >= firstTemplate) {
            EXPECT_EQ(properties["@created"].value, "2024-01-01T00:00:00Z");
        } else {
            EXPECT_GE(properties["@created"].value, start);
            EXPECT_LE(properties["@created"].value, PropertyTime(std::time(nullptr)));
        }
    }
}

}  // namespace
}  // namespace wormgear
