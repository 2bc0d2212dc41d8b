// The window's export command: save dialog, progress dialog, the written
// file read back cell by cell, and every way it can end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "calc/testing/worked_example.h"
#include "dialogs/testing/scripted_dialogs.h"
#include "export/export_command.h"
#include "export/progress_dialog.h"
#include "export/tests/test_support.h"
#include "export/workbook.h"
#include "files/testing/faults.h"
#include "translations/interface_language.h"

namespace wormgear {
namespace {

using namespace wormgear::testing;

// Counts the times a widget was shown.
class ShowCounter : public QObject {
 public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) ++shows;
        return false;
    }
};

const SheetKind kKinds[] = {SheetKind::Worm, SheetKind::Hob, SheetKind::Wheel};

TWormDesign ExampleDesign() {
    const DesignInputs texts = WorkedExampleInputs();
    const TCoefficientTable coefficients = WorkedExampleCoefficients();
    CalculationOutcome outcome = Calculate(texts, false, coefficients, '.');
    EXPECT_TRUE(outcome.succeeded()) << outcome.failure;
    return outcome.design;
}

DesignInputs ExampleTexts() {
    DesignInputs texts;
    texts.CentreDistance = "200";
    texts.WheelTeeth = "50";
    texts.WormStarts = "2";
    return texts;
}

class ExportSheetTest : public ::testing::Test {
 protected:
    void SetUp() override {
        ASSERT_TRUE(program_.isValid() && out_.isValid());
        for (const char* name : {"1.xls", "11.xls", "1111.xls", "111.xls"}) {
            WriteFile(ProgramFile(name), ReadFile(TemplatePath(name)));
        }
        progress_.installEventFilter(&counter_);
    }
    std::string ProgramFile(const std::string& name) const { return program_.path().toStdString() + "/" + name; }
    QString ProgramDirectory() const { return program_.path() + "/"; }
    std::string Out(const std::string& name) const { return out_.path().toStdString() + "/" + name; }
    std::vector<std::string> OutFiles() const { return FolderEntries(out_.path().toStdString()); }

    void Export(SheetKind kind, const DesignInputs& texts, const TWormDesign& design) {
        ExportSheet(kind, texts, design, '.', ProgramDirectory(), dialogs_, progress_);
    }
    // The one message, and beneath it the file that failed and why.
    void ExpectFailureMessage(const std::string& file, const char* reason) {
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_EQ(dialogs_.messages[0].caption, ApplicationTitle());
        EXPECT_EQ(dialogs_.messageHeadlines(),
                  QStringList{QString::fromUtf8("导出文件错误,或者您还没安装EXCEL,请核实后重试.........")});
        const QString detail = ScriptedDialogs::Detail(dialogs_.messages[0]);
        EXPECT_TRUE(detail.contains(QString::fromStdString("“" + file + "”"))) << detail;
        EXPECT_TRUE(detail.contains(QString::fromUtf8(reason))) << detail;
    }
    // Every cell of the sheet's table as read back, and the template's own
    // cells (names, units, title) unchanged.
    void ExpectSheet(const std::string& path, SheetKind kind, const DesignInputs& texts, const TWormDesign& design) {
        Workbook written = Workbook::Open(path);
        Workbook source = Workbook::Open(ProgramFile(TemplateName(kind)));
        std::vector<SheetCell> cells = SheetCells(kind, texts, design, '.');
        for (const SheetCell& cell : cells) {
            EXPECT_EQ(written.CellText(cell.row, cell.column, '.'), cell.text) << CellReference(cell.row, cell.column);
        }
        for (int row = 1; row <= 25; ++row) {
            for (int column = 1; column <= 4; ++column) {
                bool inTable = std::any_of(cells.begin(), cells.end(),
                                           [&](const SheetCell& c) { return c.row == row && c.column == column; });
                if (!inTable) {
                    EXPECT_EQ(written.CellText(row, column, '.'), source.CellText(row, column, '.'))
                        << CellReference(row, column);
                }
            }
        }
    }

    QTemporaryDir program_, out_;
    ScriptedDialogs dialogs_;
    TForm2 progress_;
    ShowCounter counter_;
};

TEST_F(ExportSheetTest, EnglishInterfaceExportsFromTheEnglishTwins) {
    for (const char* name : {"1_en.xls", "11_en.xls", "1111_en.xls", "wormgear_en.qm"})
        WriteFile(ProgramFile(name), ReadFile(TemplatePath(name)));
    ASSERT_TRUE(InstallTranslations(*QCoreApplication::instance(), Language::English, ProgramDirectory()));
    const TWormDesign design = ExampleDesign();
    for (SheetKind kind : kKinds) {
        const std::string target = Out(std::string(ProposedFileName(kind)) + ".xlsx");
        dialogs_.saveAnswers.push_back(QString::fromStdString(target));
        Export(kind, WorkedExampleInputs(), design);
    }
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messageTexts().join('\n').toStdString();
    EXPECT_EQ(dialogs_.filters.back(), QStringLiteral("Excel workbook (*.xlsx *.xls)"));
    const Workbook worm = Workbook::Open(Out("rudar.xlsx"));
    EXPECT_EQ(worm.CellText(4, 1, '.'), "Transverse module");
    EXPECT_EQ(worm.CellText(4, 3, '.'), "6.44");
    EXPECT_EQ(worm.CellText(10, 2, '.'), "Right");
    EXPECT_EQ(Workbook::Open(Out("gundao.xlsx")).CellText(12, 1, '.'), "Hob measured tooth thickness");
    EXPECT_EQ(Workbook::Open(Out("wolun.xlsx")).CellText(15, 1, '.'), "Centre distance");
}

TEST_F(ExportSheetTest, ExportsEachSheetAndEveryCellReadsBack) {
    TWormDesign design = ExampleDesign();
    DesignInputs texts = ExampleTexts();
    for (SheetKind kind : kKinds) {
        SCOPED_TRACE(TemplateName(kind));
        std::string target = Out(std::string(ProposedFileName(kind)) + ".xlsx");
        dialogs_.saveAnswers.push_back(QString::fromStdString(target));
        Export(kind, texts, design);
        ExpectSheet(target, kind, texts, design);
        EXPECT_EQ(dialogs_.proposedNames.back(), QString::fromUtf8(ProposedFileName(kind)) + ".xlsx");
        EXPECT_EQ(dialogs_.filters.back(), QString::fromUtf8("Excel 工作簿 (*.xlsx *.xls)"));
        EXPECT_FALSE(progress_.isShowing()) << "hidden by the end of the export";
    }
    EXPECT_EQ(counter_.shows, 3) << "shown once per confirmed export";
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"gundao.xlsx", "rudar.xlsx", "wolun.xlsx"}));
    // The worked example's values as the user sees them in the sheets.
    EXPECT_EQ(Workbook::Open(Out("rudar.xlsx")).CellText(18, 3, '.'), "200.644");
    EXPECT_EQ(Workbook::Open(Out("gundao.xlsx")).CellText(12, 3, '.'), "8.986");
    EXPECT_EQ(Workbook::Open(Out("wolun.xlsx")).CellText(8, 3, '.'), "5.631");
}

TEST_F(ExportSheetTest, CancellingWritesNothingAndLeavesTheTemplate) {
    for (SheetKind kind : kKinds) {
        std::string before = ReadFile(ProgramFile(TemplateName(kind)));
        dialogs_.saveAnswers.push_back(std::nullopt);
        Export(kind, ExampleTexts(), ExampleDesign());
        EXPECT_EQ(ReadFile(ProgramFile(TemplateName(kind))), before) << TemplateName(kind) << " byte for byte";
    }
    EXPECT_TRUE(OutFiles().empty());
    EXPECT_EQ(FolderEntries(program_.path().toStdString()),
              (std::vector<std::string>{"1.xls", "11.xls", "111.xls", "1111.xls"}));
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(counter_.shows, 0) << "the progress dialog is never shown";
    EXPECT_FALSE(progress_.isShowing());
}

TEST_F(ExportSheetTest, AMissingTemplateFailsBeforeAnyDialog) {
    ASSERT_TRUE(QFile::remove(QString::fromStdString(ProgramFile("11.xls"))));
    Export(SheetKind::Hob, ExampleTexts(), ExampleDesign());  // an unscripted save dialog would fail the test
    ExpectFailureMessage(ProgramFile("11.xls"), "没有那个文件或目录");
    EXPECT_TRUE(dialogs_.proposedNames.empty());
    EXPECT_EQ(counter_.shows, 0);
}

TEST_F(ExportSheetTest, AFifoInPlaceOfATemplateIsReportedWithoutWaiting) {
    ASSERT_TRUE(QFile::remove(QString::fromStdString(ProgramFile("1.xls"))));
    ASSERT_EQ(::mkfifo(ProgramFile("1.xls").c_str(), 0600), 0);
    // In a child: opening a FIFO for reading would wait for a writer for ever.
    const int result = wormgear::testing::RunInChildAtMost(60, [&] {
        Export(SheetKind::Worm, ExampleTexts(), ExampleDesign());
        return dialogs_.messages.size() == 1 && ScriptedDialogs::Detail(dialogs_.messages[0]) ==
                                                    QString::fromStdString("不是普通文件“" + ProgramFile("1.xls") + "”")
                   ? 0
                   : 1;
    });
    EXPECT_EQ(result, 0);
}

TEST_F(ExportSheetTest, ADamagedTemplateFailsBeforeAnyDialog) {
    const std::pair<const char*, std::string> kDamaged[] = {
        {"not a workbook", "garbage"},
        {"cut short", ReadFile(TemplatePath("1111.xls")).substr(0, 300)},
    };
    for (const auto& [why, bytes] : kDamaged) {
        dialogs_.messages.clear();
        WriteFile(ProgramFile("1111.xls"), bytes);
        Export(SheetKind::Wheel, ExampleTexts(), ExampleDesign());
        ExpectFailureMessage(ProgramFile("1111.xls"), "");
        EXPECT_TRUE(dialogs_.proposedNames.empty()) << why;
    }
}

TEST_F(ExportSheetTest, AnUnwritableTargetReportsAndLeavesNoFile) {
    dialogs_.saveAnswers.push_back(QString::fromStdString(Out("no such folder/rudar.xlsx")));
    Export(SheetKind::Worm, ExampleTexts(), ExampleDesign());
    ExpectFailureMessage(Out("no such folder/rudar.xlsx"), "没有那个文件或目录");
    EXPECT_TRUE(OutFiles().empty());
    // The failure leaves the progress dialog up until the user dismisses it.
    EXPECT_TRUE(progress_.isShowing());
    QTest::mouseClick(progress_.Button1, Qt::LeftButton);
    EXPECT_FALSE(progress_.isShowing());

    // A folder under the chosen name: no partial file beside it either.
    dialogs_.messages.clear();
    ASSERT_TRUE(QDir(out_.path()).mkdir("taken.xlsx"));
    dialogs_.saveAnswers.push_back(QString::fromStdString(Out("taken.xls")));
    Export(SheetKind::Worm, ExampleTexts(), ExampleDesign());
    ExpectFailureMessage(Out("taken.xlsx"), "是一个目录");
    EXPECT_EQ(OutFiles(), std::vector<std::string>{"taken.xlsx"});
    EXPECT_TRUE(FolderEntries(Out("taken.xlsx")).empty());
}

TEST_F(ExportSheetTest, ReplacingASheetOnAFailingDiskKeepsTheOldOneByteForByte) {
    WriteFile(Out("rudar.xlsx"), "an older sheet");
    dialogs_.saveAnswers.push_back(QString::fromStdString(Out("rudar.xlsx")));
    {
        wormgear::testing::FileSizeLimit full(1024);
        Export(SheetKind::Worm, ExampleTexts(), ExampleDesign());
    }
    ExpectFailureMessage(Out("rudar.xlsx"), "文件过大");
    EXPECT_EQ(ReadFile(Out("rudar.xlsx")), "an older sheet");
    EXPECT_EQ(OutFiles(), std::vector<std::string>{"rudar.xlsx"});
    QTest::mouseClick(progress_.Button1, Qt::LeftButton);
}

TEST_F(ExportSheetTest, BeforeAnyCalculationTheSheetHoldsZeros) {
    DesignInputs texts;  // the window's initial texts: empty centre distance and teeth, one start
    texts.WormStarts = "1";
    dialogs_.saveAnswers.push_back(QString::fromStdString(Out("early.xlsx")));
    Export(SheetKind::Worm, texts, TWormDesign{});
    Workbook book = Workbook::Open(Out("early.xlsx"));
    EXPECT_EQ(book.CellText(2, 3, '.'), "1");
    EXPECT_EQ(book.CellText(3, 3, '.'), "");
    EXPECT_EQ(book.CellText(4, 3, '.'), "0");
    EXPECT_EQ(book.CellText(6, 3, '.'), "") << "no generating-plane text yet";
    EXPECT_EQ(book.CellText(18, 3, '.'), "0");
    EXPECT_EQ(book.CellText(11, 2, '.'), "8j (GB/T16445-1996)");
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(ExportSheetTest, FieldsEditedAfterTheCalculationAppearWithTheOldResults) {
    TWormDesign design = ExampleDesign();
    DesignInputs edited = ExampleTexts();
    edited.CentreDistance = "210";
    edited.WheelTeeth = "60";
    edited.WormStarts = "3";
    dialogs_.saveAnswers.push_back(QString::fromStdString(Out("wolun.xlsx")));
    Export(SheetKind::Wheel, edited, design);
    Workbook book = Workbook::Open(Out("wolun.xlsx"));
    EXPECT_EQ(book.CellText(2, 3, '.'), "3");
    EXPECT_EQ(book.CellText(3, 3, '.'), "60");
    EXPECT_EQ(book.CellText(15, 3, '.'), "210");
    EXPECT_EQ(book.CellText(4, 3, '.'), "6.44") << "the module of the last calculation";
    EXPECT_EQ(book.CellText(17, 3, '.'), "130");
}

TEST_F(ExportSheetTest, TwoExportsInARowEachWriteTheirFile) {
    TWormDesign design = ExampleDesign();
    dialogs_.saveAnswers.push_back(QString::fromStdString(Out("first.xlsx")));
    dialogs_.saveAnswers.push_back(QString::fromStdString(Out("second.xlsx")));
    Export(SheetKind::Worm, ExampleTexts(), design);
    DesignInputs changed = ExampleTexts();
    changed.WormAccuracy = "7";
    Export(SheetKind::Worm, changed, design);
    EXPECT_EQ(Workbook::Open(Out("first.xlsx")).CellText(11, 2, '.'), "8j (GB/T16445-1996)");
    EXPECT_EQ(Workbook::Open(Out("second.xlsx")).CellText(11, 2, '.'), "7");
    EXPECT_EQ(counter_.shows, 2);
    EXPECT_FALSE(progress_.isShowing());
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(ExportSheetTest, TheFileNameTellsWhatTheFileHolds) {
    const struct {
        const char* typed;
        const char* written;
    } kNames[] = {
        {"rudar", "rudar.xlsx"},
        {"hob1.xls", "hob1.xlsx"},  // the name the dialog returned is corrected before the save
        {"HOB2.XLS", "HOB2.xlsx"},
        {"wheel A=200.5", "wheel A=200.5.xlsx"},  // a dot in the name is no extension
        {"hob v1.2", "hob v1.2.xlsx"},
        {"m.XLSM", "m.XLSM"},
        {"design.cqb", "design.cqb.xlsx"},
    };
    // An old binary sheet of the same name stays as it is beside the new one.
    WriteFile(Out("hob1.xls"), "an old binary sheet");
    for (const auto& name : kNames) {
        SCOPED_TRACE(name.typed);
        dialogs_.saveAnswers.push_back(QString::fromStdString(Out(name.typed)));
        Export(SheetKind::Worm, ExampleTexts(), ExampleDesign());
        EXPECT_EQ(Workbook::Open(Out(name.written)).CellText(18, 3, '.'), "200.644");
    }
    EXPECT_TRUE(dialogs_.messages.empty()) << dialogs_.messageTexts().join("|").toStdString();
    EXPECT_EQ(ReadFile(Out("hob1.xls")), "an old binary sheet");
    EXPECT_EQ(OutFiles(), (std::vector<std::string>{"HOB2.xlsx", "design.cqb.xlsx", "hob v1.2.xlsx", "hob1.xls",
                                                    "hob1.xlsx", "m.XLSM", "rudar.xlsx", "wheel A=200.5.xlsx"}));
}

TEST_F(ExportSheetTest, AnExistingFileIsReplacedWithoutAQuestion) {
    WriteFile(Out("gundao.xlsx"), "old");
    dialogs_.saveAnswers.push_back(QString::fromStdString(Out("gundao.xlsx")));
    Export(SheetKind::Hob, ExampleTexts(), ExampleDesign());
    EXPECT_EQ(Workbook::Open(Out("gundao.xlsx")).CellText(12, 3, '.'), "8.986");
    EXPECT_TRUE(dialogs_.questions.empty());
}

TEST_F(ExportSheetTest, AProgramDirectoryWithoutTrailingSeparatorAndUnicodeNames) {
    QTemporaryDir program(QDir::tempPath() + QString::fromUtf8("/程序 目录-XXXXXX"));
    WriteFile(program.path().toStdString() + "/1.xls", ReadFile(TemplatePath("1.xls")));
    dialogs_.saveAnswers.push_back(QString::fromStdString(Out("蜗杆 参数.xls")));
    ExportSheet(SheetKind::Worm, ExampleTexts(), ExampleDesign(), '.', program.path(), dialogs_, progress_);
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_EQ(Workbook::Open(Out("蜗杆 参数.xlsx")).CellText(10, 2, '.'), "右");
}

TEST(WriteSheet, WritesWithoutAWindowAndNothingOnFailure) {
    QTemporaryDir out;
    TWormDesign design = ExampleDesign();
    std::string target = out.path().toStdString() + "/wolun.xlsx";
    WriteSheet(SheetKind::Wheel, ExampleTexts(), design, '.', TemplatePath("1111.xls"), target);
    Workbook book = Workbook::Open(target);
    for (const SheetCell& cell : SheetCells(SheetKind::Wheel, ExampleTexts(), design, '.')) {
        EXPECT_EQ(book.CellText(cell.row, cell.column, '.'), cell.text) << CellReference(cell.row, cell.column);
    }
    EXPECT_THROW(WriteSheet(SheetKind::Wheel, ExampleTexts(), design, '.', out.path().toStdString() + "/none.xls",
                            out.path().toStdString() + "/x.xlsx"),
                 WorkbookError);
    EXPECT_EQ(FolderEntries(out.path().toStdString()), std::vector<std::string>{"wolun.xlsx"});
}

}  // namespace
}  // namespace wormgear
