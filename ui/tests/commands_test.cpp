// The window's commands that reach the other libraries: sheet exports, design
// files (also from the command line), the Close question, the settings files
// and the coefficient editor.
#include <QFile>
#include <QTimer>

#include "export/progress_dialog.h"
#include "settings/coefficient_editor.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

struct ExportCommand {
    const char* item;          // menu item
    const char* button;        // its button
    const char* proposedName;  // the save dialog's proposal
};
const ExportCommand kExports[] = {
    {"N3", "Button6", "rudar"},    // worm sheet
    {"N14", "Button13", "wolun"},  // wheel sheet
    {"N4", "Button11", "gundao"},  // hob sheet
};

TEST_F(WindowTest, ExportMenuItemsWorkBeforeAnyCalculation) {
    openWindow();
    for (const ExportCommand& command : kExports) {
        SCOPED_TRACE(command.item);
        auto* button = form->findChild<QPushButton*>(QString::fromLatin1(command.button));
        ASSERT_FALSE(button->isEnabled());
        const QString output = programDirectory() + QLatin1String(command.proposedName) + ".xlsx";
        dialogs.saveAnswers.push_back(output);
        form->findChild<QAction*>(QString::fromLatin1(command.item))->trigger();
        EXPECT_EQ(dialogs.proposedNames.back(), QString::fromLatin1(command.proposedName) + ".xlsx");
        EXPECT_EQ(dialogs.filters.back(), QString::fromUtf8("Excel 工作簿 (*.xlsx *.xls)"));
        EXPECT_TRUE(QFile::exists(output));
        EXPECT_FALSE(form->form2()->isVisible());
    }
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(form->designSaved());  // exporting does not touch the saved flag
}

TEST_F(WindowTest, ExportButtonsAfterACalculationAskForTheFileName) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    for (const ExportCommand& command : kExports) {
        SCOPED_TRACE(command.button);
        dialogs.saveAnswers.push_back(std::nullopt);  // cancelled: nothing written, nothing said
        QTest::mouseClick(form->findChild<QPushButton*>(QString::fromLatin1(command.button)), Qt::LeftButton);
        EXPECT_EQ(dialogs.proposedNames.back(), QString::fromLatin1(command.proposedName) + ".xlsx");
    }
    EXPECT_EQ(dialogs.proposedNames.size(), 3u);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, AMissingTemplateIsReportedByTheExport) {
    openWindow();
    QFile::remove(programDirectory() + "1.xls");
    form->Button6Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("导出文件错误,或者您还没安装EXCEL,请核实后重试.........\n"
                                                       "无法打开文件“%1”：没有那个文件或目录")
                                            .arg(programDirectory() + "1.xls"));
}

// Saves the worked example as `name`.cqb through the menu and returns its path.
QString SaveWorkedExample(TForm1& form, ScriptedDialogs& dialogs, const QString& directory, const QString& name) {
    dialogs.saveAnswers.push_back(directory + name);
    form.N5->trigger();
    return directory + name + ".cqb";
}

TEST_F(WindowTest, ASavedDesignOpensFromTheCommandLineAfterTheShowStep) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    ASSERT_FALSE(form->designSaved());
    const QString path = SaveWorkedExample(*form, dialogs, programDirectory(), "my design");
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_TRUE(form->designSaved());
    form.reset();

    // Unquoted, the path arrives split at its blank.
    const int blank = path.indexOf(QLatin1Char(' '));
    const QStringList arguments{path.left(blank), path.mid(blank + 1)};
    int versionChecks = 0;
    bool calculatedBeforeShowStep = false;
    OnlineServices online;
    online.checkVersion = [&](const QString&, QObject*, std::function<void()>) {
        ++versionChecks;
        calculatedBeforeShowStep = form && !form->resultLabel("Label23")->text().isEmpty();
    };
    openWindow(arguments, online);
    EXPECT_EQ(versionChecks, 1);
    EXPECT_FALSE(calculatedBeforeShowStep);
    EXPECT_EQ(form->Edit5->text(), QStringLiteral("130"));  // the stored text, not the proposal
    EXPECT_EQ(form->Edit7->text(), QStringLiteral("78"));
    EXPECT_EQ(form->resultLabel("Label52")->text(), QStringLiteral("130.518----修形主基圆直径"));
    EXPECT_TRUE(form->GroupBox1->isVisible());
    EXPECT_TRUE(form->designSaved());
    EXPECT_EQ(form->designFileState().CurrentDesignFile, path);
    EXPECT_TRUE(dialogs.messages.empty());

    // The next open asks for its file; cancelling changes nothing.
    dialogs.openAnswers.push_back(std::nullopt);
    form->N11->trigger();
    EXPECT_EQ(dialogs.filters.back(), QString::fromUtf8("*.cqb;;所有文件 (*)"));
    EXPECT_EQ(form->designFileState().CurrentDesignFile, path);
}

TEST_F(WindowTest, ShowStepFailureDuringTheCommandLineOpenEndsTheProgramQuietly) {
    openWindow();
    typeWorkedExample();
    const QString path = SaveWorkedExample(*form, dialogs, programDirectory(), "design");
    form.reset();
    dialogs.messages.clear();
    QFile::remove(programDirectory() + "db1.mdb");
    form = std::make_unique<TForm1>(dialogs, programDirectory(), '.', QStringList{path});
    EXPECT_TRUE(form->hasEnded());
    EXPECT_FALSE(form->isVisible());
    // Only the show step's box: no calculation message for a program that ends.
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{QStringLiteral("数据初始化失败，程序将关闭")});
}

TEST_F(WindowTest, OpenFromTheMenuReadsTheChosenFile) {
    openWindow();
    typeWorkedExample();
    const QString path = SaveWorkedExample(*form, dialogs, programDirectory(), "design");
    Retype(form->Edit1, QStringLiteral("150"));
    dialogs.openAnswers.push_back(path);
    form->N11->trigger();
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("200"));
    EXPECT_EQ(form->resultLabel("Label23")->text(), QStringLiteral("322-----蜗轮分度圆直径"));
    EXPECT_TRUE(form->designSaved());
}

TEST_F(WindowTest, CloseButtonAsksAboutAnUnsavedCalculation) {
    const bool kAnswers[] = {false, true};
    for (bool yes : kAnswers) {
        SCOPED_TRACE(yes ? "Yes, then cancel the save" : "No");
        openWindow();
        typeWorkedExample();
        form->Button1->click();
        dialogs.questions.clear();
        dialogs.answers.push_back(yes);
        if (yes) dialogs.saveAnswers.push_back(std::nullopt);
        QTest::mouseClick(form->Button10, Qt::LeftButton);
        EXPECT_EQ(dialogs.questions, std::vector<QString>{QStringLiteral("Warning: 数据尚未保存，是否保存？")});
        EXPECT_TRUE(form->hasEnded());
        EXPECT_FALSE(form->isVisible());
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, RestoringTheDefaultsReloadsWithoutRecalculating) {
    Coefficients modified = kExampleCoefficients;
    modified[12] = 0.6;
    WriteProgramFiles(programDirectory(), modified);
    WriteCoefficientFile(programDirectory() + "db1.ccq", kExampleCoefficients);
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    ASSERT_TRUE(form->Label50->isVisible());
    const QString wheelTip = form->resultLabel("Label40")->text();
    form->N15->trigger();
    EXPECT_FALSE(form->Label50->isVisible());
    EXPECT_EQ(form->coefficients().c[12], 0.5);
    EXPECT_EQ(form->resultLabel("Label40")->text(), wheelTip);  // results stay until the next Calculate
    form->Button1->click();
    EXPECT_EQ(form->resultLabel("Label40")->text(), QStringLiteral("39-----蜗轮齿顶圆弧半径"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, UserSettingsAreSavedAndLoaded) {
    openWindow();
    dialogs.saveAnswers.push_back(programDirectory() + "mine");
    form->N17->trigger();
    EXPECT_TRUE(QFile::exists(programDirectory() + "mine.ccq"));
    EXPECT_EQ(dialogs.filters.back(), QStringLiteral("*.ccq"));

    Coefficients modified = kExampleCoefficients;
    modified[0] = 0.9;
    WriteCoefficientFile(programDirectory() + "other.ccq", modified);
    dialogs.openAnswers.push_back(programDirectory() + "other.ccq");
    form->N16->trigger();
    EXPECT_EQ(form->coefficients().c[0], 0.9);
    EXPECT_TRUE(form->Label50->isVisible());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, TheEditorOpensModally) {
    openWindow();
    QWidget* modalSeen = nullptr;
    QTimer::singleShot(0, [&] {
        modalSeen = QApplication::activeModalWidget();
        if (modalSeen) modalSeen->close();
    });
    form->N13->trigger();
    EXPECT_EQ(modalSeen, form->form5());
    EXPECT_FALSE(form->form5()->isVisible());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace wormgear::testing
