// The window of a user whose numbers are written with a decimal comma (de_DE
// and most of Europe): its own default texts calculate, results, sheets and
// design files carry the comma where the user reads them, and the files hold
// real numbers.
#include <QDir>
#include <QFile>

#include "designfile/design_file.h"
#include "export/workbook.h"
#include "files/qt_path.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

class CommaWindowTest : public WindowTest {
 protected:
    void SetUp() override {
        WindowTest::SetUp();
        separator = ',';
    }
};

TEST_F(CommaWindowTest, TheDefaultTextsAreWrittenWithTheUsersSeparator) {
    openWindow();
    EXPECT_EQ(form->Edit8->text(), QStringLiteral("0,3"));
    EXPECT_EQ(form->Edit13->text(), QStringLiteral("0,2"));
    EXPECT_EQ(form->Edit4->text(), QStringLiteral("1"));
    EXPECT_EQ(form->Edit6->text(), QStringLiteral("0"));
    // Texts the calculation does not read stay as they are.
    EXPECT_EQ(form->Edit11->text(), QStringLiteral("0.3*P/2"));
    EXPECT_EQ(form->Edit12->text(), QStringLiteral("0.2*P/2"));
    EXPECT_EQ(form->Edit9->text(), QStringLiteral("8j (GB/T16445-1996)"));
}

TEST_F(CommaWindowTest, TheWorkedExampleCalculatesWithTheDefaultsAndShowsCommas) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().join(QLatin1Char('|'));
    const struct {
        const char* label;
        const char* line;
    } kLines[] = {
        {"Label8", "168,728-----蜗杆齿根圆弧半径"}, {"Label23", "322-----蜗轮分度圆直径"},
        {"Label25", "6,44-----端面模数"},           {"Label26", "5,5-----包围齿数"},
        {"Label21", "8,986-----滚刀测量齿厚"},      {"Label44", "10,979------蜗轮测量齿厚"},
        {"Label42", "25,1----修形传动比"},          {"Label52", "130,518----修形主基圆直径"},
    };
    for (const auto& line : kLines) EXPECT_EQ(form->resultLabel(line.label)->text(), QString::fromUtf8(line.line));
    EXPECT_TRUE(form->Button6->isEnabled());
}

TEST_F(CommaWindowTest, SheetsAndDesignFilesHoldNumbersThatReadBackWithCommas) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    ASSERT_TRUE(dialogs.messages.empty());

    const QString sheet = programDirectory() + QStringLiteral("rudar.xlsx");
    dialogs.saveAnswers.push_back(sheet);
    form->Button6->click();
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().join(QLatin1Char('|'));
    const Workbook written = Workbook::Open(LocalPath(sheet));
    EXPECT_EQ(written.CellText(18, 3, ','), "200,644");
    EXPECT_EQ(written.CellText(17, 3, ','), "0,2") << "the default grinding increment";
    EXPECT_EQ(written.CellText(14, 3, ','), "0.3*P/2");
    // Stored as numbers: read with the file's own '.', they are plain numbers.
    EXPECT_EQ(written.CellText(18, 3, '.'), "200.644");
    EXPECT_EQ(written.CellText(17, 3, '.'), "0.2");
    EXPECT_EQ(written.CellText(14, 3, '.'), "0.3*P/2");

    dialogs.saveAnswers.push_back(programDirectory() + QStringLiteral("komma"));
    form->N5->trigger();
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().join(QLatin1Char('|'));
    const QString design = programDirectory() + QStringLiteral("komma.cqb");
    EXPECT_EQ(ReadDesignFile(LocalPath(design), '.').Backlash, "0.3");
    form.reset();

    // Opened again from the command line, the texts are the user's as typed.
    openWindow({design});
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().join(QLatin1Char('|'));
    EXPECT_EQ(form->Edit8->text(), QStringLiteral("0,3"));
    EXPECT_EQ(form->Edit13->text(), QStringLiteral("0,2"));
    EXPECT_EQ(form->Edit1->text(), QStringLiteral("200"));
    EXPECT_EQ(form->resultLabel("Label8")->text(), QString::fromUtf8("168,728-----蜗杆齿根圆弧半径"));
}

}  // namespace
}  // namespace wormgear::testing
