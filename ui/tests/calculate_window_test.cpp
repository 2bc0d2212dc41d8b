// Calculate through the window: the worked example typed by hand, the
// round-to-integer box, failures and what the window shows after them.
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

const QString kInvalidInput = QString::fromUtf8(kInvalidInputMessage);
const QString kRatioMismatch = QString::fromUtf8(kRatioMismatchMessage);

// The worked example of the calculation (A 200, i 25, z2 50, z1 2, Db 130,
// E 0, d1 78, jn 0.3, increment 0.2, the example coefficient set): every
// line, panel by panel, with CheckBox1 clear and checked.
struct Line {
    const char* label;
    const char* clear;
    const char* checked;
};
const Line kWorkedExample[] = {
    {"Label23", "322-----蜗轮分度圆直径", "322-----蜗轮分度圆直径"},
    {"Label24", "0-----E值", "0-----E值"},
    {"Label8", "168.728-----蜗杆齿根圆弧半径", "168.728-----蜗杆齿根圆弧半径"},
    {"Label10", "101-----蜗杆工作长度", "92-----蜗杆工作长度"},
    {"Label9", "156.492-----蜗杆齿顶圆弧半径", "156.492-----蜗杆齿顶圆弧半径"},
    {"Label11", "12-----轴肩", "12-----轴肩"},
    {"Label12", "130-----主基圆直径", "130-----主基圆直径"},
    {"Label13", "11.025-----母平面倾斜角", "11.025-----母平面倾斜角"},
    {"Label14", "23.811-----压力角", "23.811-----压力角"},
    {"Label16", "8.686-----测量齿厚", "8.686-----测量齿厚"},
    {"Label17", "4.448-----测量齿高", "4.448-----测量齿高"},
    {"Label25", "6.44-----端面模数", "6.44-----端面模数"},
    {"Label26", "5.5-----包围齿数", "5-----包围齿数"},
    {"Label27", "18.18-----工作半包角", "16.38-----工作半包角"},
    {"Label28", "9.377-----蜗杆喉部导程角", "9.377-----蜗杆喉部导程角"},
    {"Label48", "103.76-----蜗杆最大齿顶圆直径", "100.843-----蜗杆最大齿顶圆直径"},
    {"Label43", "4.58-----蜗杆齿顶宽", "4.58-----蜗杆齿顶宽"},
    {"Label18", "153.916-----刀体齿顶圆弧半径", "153.916-----刀体齿顶圆弧半径"},
    {"Label19", "168.928-----刀体齿跟圆弧半径", "168.928-----刀体齿跟圆弧半径"},
    {"Label20", "111-----滚刀有效长度", "111-----滚刀有效长度"},
    {"Label21", "8.986-----滚刀测量齿厚", "8.986-----滚刀测量齿厚"},
    {"Label22", "7.024-----滚刀测量齿高", "7.024-----滚刀测量齿高"},
    {"Label29", "6-----滚刀包络齿数", "6-----滚刀包络齿数"},
    {"Label49", "2.43-----滚刀齿顶宽", "2.43-----滚刀齿顶宽"},
    {"Label33", "337-----蜗轮最大外圆", "337-----蜗轮最大外圆"},
    {"Label35", "331.016-----蜗轮喉径", "331.016-----蜗轮喉径"},
    {"Label34", "70-----齿圈工作宽度", "70-----齿圈工作宽度"},
    {"Label44", "10.979------蜗轮测量齿厚", "10.979------蜗轮测量齿厚"},
    {"Label45", "4.604------蜗轮测量齿高", "4.604------蜗轮测量齿高"},
    {"Label40", "39-----蜗轮齿顶圆弧半径", "38-----蜗轮齿顶圆弧半径"},
    {"Label41", "11.038----修形砂轮角", "11.038----修形砂轮角"},
    {"Label42", "25.1----修形传动比", "25.1----修形传动比"},
    {"Label51", "200.644----修形中心距", "200.644----修形中心距"},
    {"Label52", "130.518----修形主基圆直径", "130.518----修形主基圆直径"},
};

void ExpectWorkedExample(const TForm1& form, bool checked) {
    for (const Line& line : kWorkedExample) {
        SCOPED_TRACE(line.label);
        QLabel* label = form.resultLabel(line.label);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QString::fromUtf8(checked ? line.checked : line.clear));
    }
}

void ExpectResultsShown(const TForm1& form, bool shown) {
    for (QGroupBox* panel : {form.GroupBox1, form.GroupBox2, form.GroupBox3, form.GroupBox4})
        EXPECT_EQ(panel->isVisible(), shown) << panel->objectName().toStdString();
    EXPECT_EQ(form.CheckBox1->isVisible(), shown);
    for (QPushButton* button : {form.Button6, form.Button11, form.Button13})
        EXPECT_EQ(button->isEnabled(), shown) << button->objectName().toStdString();
}

TEST_F(WindowTest, WorkedExampleThroughTheWindow) {
    openWindow();
    typeWorkedExample();
    ASSERT_TRUE(dialogs.messages.empty());
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    EXPECT_TRUE(dialogs.messages.empty());
    ExpectWorkedExample(*form, false);
    ExpectResultsShown(*form, true);
    EXPECT_FALSE(form->designSaved());
    EXPECT_EQ(form->design().RatioClassAngle, 6);

    QTest::mouseClick(form->CheckBox1, Qt::LeftButton);  // ticked: calculates again
    ASSERT_TRUE(form->CheckBox1->isChecked());
    ExpectWorkedExample(*form, true);
    ExpectResultsShown(*form, true);

    QTest::mouseClick(form->CheckBox1, Qt::LeftButton);  // cleared again
    ExpectWorkedExample(*form, false);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, MenuCalculateRunsTheSameCalculation) {
    openWindow();
    typeWorkedExample();
    form->N2->trigger();
    ExpectWorkedExample(*form, false);
    ExpectResultsShown(*form, true);
}

TEST_F(WindowTest, EnterInEdit3Calculates) {
    openWindow();
    typeWorkedExample();
    form->Edit3->setFocus();
    QTest::keyClick(form->Edit3, Qt::Key_Return);
    ExpectWorkedExample(*form, false);
    ExpectResultsShown(*form, true);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, EnterInEveryInputBoxAndOnTheCheckBoxCalculates) {
    openWindow();
    typeWorkedExample();
    for (int row = 1; row <= kDesignFieldCount; ++row) {
        SCOPED_TRACE(row);
        form->resultLabel("Label23")->clear();
        auto* edit = form->findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(row));
        QTest::keyClick(edit, row % 2 ? Qt::Key_Return : Qt::Key_Enter);
        EXPECT_EQ(form->resultLabel("Label23")->text(), QStringLiteral("322-----蜗轮分度圆直径"));
    }
    form->resultLabel("Label23")->clear();
    QTest::keyClick(form->CheckBox1, Qt::Key_Return);
    EXPECT_EQ(form->resultLabel("Label23")->text(), QStringLiteral("322-----蜗轮分度圆直径"));
    EXPECT_FALSE(form->CheckBox1->isChecked());  // Enter presses Calculate, it does not tick
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, FailureAfterSuccessHidesResultsAndKeepsTheLinesWrittenBeforeIt) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    ASSERT_TRUE(dialogs.messages.empty());
    // An empty grinding increment fails after every other line was written.
    Retype(form->Edit13, QString());
    Retype(form->Edit5, QStringLiteral("131"));
    form->Button1->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{kInvalidInput});
    // Beneath it, the cause.
    EXPECT_EQ(ScriptedDialogs::Detail(dialogs.messages[0]),
              QStringLiteral("磨齿增量 Δ 未填写：只能输入合法数字，且不能为空（涉及：磨齿增量 Δ）"));
    ExpectResultsShown(*form, false);
    EXPECT_EQ(form->resultLabel("Label12")->text(), QStringLiteral("131-----主基圆直径"));    // rewritten
    EXPECT_EQ(form->resultLabel("Label41")->text(), QStringLiteral("11.038----修形砂轮角"));  // kept
    EXPECT_FALSE(form->designSaved());  // unchanged by the failure
}

TEST_F(WindowTest, RatioMismatchShowsItsMessageAndLeavesTheSavedFlag) {
    openWindow();
    typeWorkedExample();
    Retype(form->Edit2, QStringLiteral("26"));
    form->Button1->click();
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{kRatioMismatch});
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(
        ScriptedDialogs::Detail(dialogs.messages[0]),
        QStringLiteral(
            "速比 i = 26 与齿数/头数 z2/z1 = 50/2 = 25 相差 1，超过 0.001（涉及：速比 i、蜗轮齿数 z2、蜗杆头数 z1）"));
    ExpectResultsShown(*form, false);
    EXPECT_TRUE(form->designSaved());
    EXPECT_TRUE(form->resultLabel("Label23")->text().isEmpty());
}

TEST_F(WindowTest, CalculatingEmptyInputsAtStartFails) {
    openWindow();
    form->Button1->click();
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{kInvalidInput});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(ScriptedDialogs::Detail(dialogs.messages[0]).startsWith(QStringLiteral("中心距 A 未填写")))
        << ScriptedDialogs::Detail(dialogs.messages[0]);
    ExpectResultsShown(*form, false);
    EXPECT_TRUE(form->designSaved());
}

TEST_F(WindowTest, TheDashItemDoesNothing) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    form->N12->trigger();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(form->isVisible());
    ExpectResultsShown(*form, true);
    ExpectWorkedExample(*form, false);
}

TEST_F(WindowTest, ResultTextsAreShownLiterally) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    for (const ResultDescription& result : Results())
        EXPECT_EQ(form->resultLabel(result.label)->textFormat(), Qt::PlainText);
}

}  // namespace
}  // namespace wormgear::testing
