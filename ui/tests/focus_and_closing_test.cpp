// Keys and focus where a user expects them, and the ways of ending the program
// or replacing the design on screen: the title-bar close box asks the Close
// button's question, 打开 asks it before an unsaved design is replaced, 退出
// never asks, and a reload that meets a lock keeps the program running.
#include <QCloseEvent>
#include <QFile>
#include <QKeySequence>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QWindow>

#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

const QString kQuestion = QStringLiteral("Warning: 数据尚未保存，是否保存？");
const QString kSaveFailed = QStringLiteral("保存过程中发生错误,或者您还没安装EXCEL，保存失败........");

// The close the window system sends for the title-bar close box or Alt+F4.
void CloseFromTheTitleBar(TForm1& form) {
    ASSERT_NE(form.windowHandle(), nullptr);
    QCloseEvent close;
    QApplication::sendEvent(form.windowHandle(), &close);
    QApplication::processEvents();
}

TEST_F(WindowTest, EnterOnAFocusedArrowButtonShowsItsHint) {
    openWindow();
    const struct {
        QPushButton* button;
        QPlainTextEdit* memo;
        Qt::Key key;
    } kArrows[] = {
        {form->Button2, form->Memo1, Qt::Key_Return},
        {form->Button3, form->Memo2, Qt::Key_Enter},
        {form->Button4, form->Memo3, Qt::Key_Return},
        {form->Button5, form->Memo4, Qt::Key_Enter},
    };
    for (const auto& arrow : kArrows) {
        SCOPED_TRACE(arrow.button->objectName().toStdString());
        arrow.button->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), arrow.button);
        QTest::keyClick(arrow.button, arrow.key);
        EXPECT_TRUE(arrow.memo->isVisible());
    }
    // Enter on a focused button is that button's: no calculation ran.
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(form->GroupBox1->isVisible() && !form->resultLabel("Label23")->text().isEmpty());
}

TEST_F(WindowTest, TheFocusStaysOnTheRoundToIntegerBox) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    ASSERT_TRUE(form->CheckBox1->isVisible());
    form->CheckBox1->setFocus();
    QTest::keyClick(form->CheckBox1, Qt::Key_Space);  // ticks it: the calculation runs again
    EXPECT_TRUE(form->CheckBox1->isChecked());
    EXPECT_TRUE(form->CheckBox1->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), form->CheckBox1);
    QTest::mouseClick(form->CheckBox1, Qt::LeftButton);
    EXPECT_FALSE(form->CheckBox1->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), form->CheckBox1);
}

TEST_F(WindowTest, CtrlOCtrlSAndF9RunTheirMenuCommandsFromAnInputBox) {
    openWindow();
    // The menu shows each key beside its item.
    EXPECT_EQ(form->N11->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(form->N5->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(form->N2->shortcut(), QKeySequence(QStringLiteral("F9")));
    typeWorkedExample();
    form->Edit3->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), form->Edit3);

    QTest::keyClick(form->Edit3, Qt::Key_F9);
    EXPECT_EQ(form->resultLabel("Label23")->text(), QStringLiteral("322-----蜗轮分度圆直径"));
    EXPECT_TRUE(form->GroupBox1->isVisible());
    EXPECT_FALSE(form->designSaved());

    dialogs.saveAnswers.push_back(std::nullopt);
    QTest::keyClick(form->Edit3, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.saveAnswers.empty()) << "Ctrl+S asks where to save the design";
    ASSERT_EQ(dialogs.filters.size(), 1u);
    EXPECT_EQ(dialogs.filters.back(), QStringLiteral("*.cqb"));

    dialogs.openAnswers.push_back(std::nullopt);
    QTest::keyClick(form->Edit3, Qt::Key_O, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.openAnswers.empty()) << "Ctrl+O asks which design to open";
    ASSERT_EQ(dialogs.filters.size(), 2u);
    EXPECT_EQ(dialogs.filters.back(), QString::fromUtf8("*.cqb;;所有文件 (*)"));

    // The keys reached the commands, not the box: its text and focus stay.
    EXPECT_EQ(form->Edit3->text(), QStringLiteral("50"));
    EXPECT_EQ(QApplication::focusWidget(), form->Edit3);
    EXPECT_TRUE(dialogs.messages.empty());
}

struct CloseCase {
    const char* what;
    bool calculate;
    std::optional<bool> answer;
    std::optional<std::optional<QString>> saveAnswer;  // the save dialog's answer after Yes
    bool ended;
};

TEST_F(WindowTest, TheTitleBarCloseBoxAsksTheCloseButtonsQuestion) {
    const QString saved = programDirectory() + "closing";
    const QString unwritable = programDirectory() + "no such folder/closing";
    const CloseCase kCases[] = {
        {"nothing calculated: no question", false, std::nullopt, std::nullopt, true},
        {"No: ends without saving", true, false, std::nullopt, true},
        {"Yes, the dialog cancelled: ends", true, true, std::optional<QString>(), true},
        {"Yes, saved: ends", true, true, std::optional<QString>(saved), true},
        {"Yes, the save fails: keeps running", true, true, std::optional<QString>(unwritable), false},
    };
    for (const CloseCase& c : kCases) {
        SCOPED_TRACE(c.what);
        dialogs = ScriptedDialogs();
        openWindow();
        QSignalSpy ended(form.get(), &TForm1::programEnded);
        if (c.calculate) {
            typeWorkedExample();
            form->Button1->click();
        }
        if (c.answer) dialogs.answers.push_back(*c.answer);
        if (c.saveAnswer) dialogs.saveAnswers.push_back(*c.saveAnswer);
        CloseFromTheTitleBar(*form);
        EXPECT_EQ(dialogs.questions, c.answer ? std::vector<QString>{kQuestion} : std::vector<QString>{});
        EXPECT_EQ(form->hasEnded(), c.ended);
        EXPECT_EQ(ended.count(), c.ended ? 1 : 0);
        EXPECT_EQ(form->isVisible(), !c.ended);
        if (!c.ended) {
            EXPECT_EQ(dialogs.messageHeadlines(), QStringList{kSaveFailed});
            EXPECT_EQ(form->Edit1->text(), "200");  // the design is still on screen
            EXPECT_FALSE(form->designSaved());
        }
    }
    EXPECT_TRUE(QFile::exists(saved + ".cqb"));
}

TEST_F(WindowTest, ExitNeverAsks) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    ASSERT_FALSE(form->designSaved());
    form->N6->trigger();  // an unexpected question would fail the test
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_TRUE(form->hasEnded());
}

TEST_F(WindowTest, OpenAsksBeforeReplacingAnUnsavedCalculatedDesign) {
    openWindow();
    typeWorkedExample();
    dialogs.saveAnswers.push_back(programDirectory() + "first");
    form->N5->trigger();
    // Another design, calculated and not saved.
    Retype(form->Edit1, QStringLiteral("210"));
    Retype(form->Edit5, QStringLiteral("130"));
    Retype(form->Edit7, QStringLiteral("78"));
    form->Button1->click();
    ASSERT_FALSE(form->designSaved());
    dialogs.openAnswers.push_back(programDirectory() + "first.cqb");
    dialogs.answers.push_back(true);
    dialogs.saveAnswers.push_back(programDirectory() + "second");
    form->N11->trigger();
    EXPECT_EQ(dialogs.questions, std::vector<QString>{kQuestion});
    EXPECT_EQ(form->Edit1->text(), "200");  // the file opened after the save
    EXPECT_EQ(form->designFileState().CurrentDesignFile, programDirectory() + "first.cqb");
    EXPECT_TRUE(QFile::exists(programDirectory() + "second.cqb"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, AReloadThatMeetsALockKeepsTheCoefficientsAndTheProgram) {
    Coefficients modified = kExampleCoefficients;
    modified[0] = 0.9;
    WriteProgramFiles(programDirectory(), modified);
    openWindow();
    ASSERT_EQ(form->coefficients().c[0], 0.9);
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "locker");
        other.setDatabaseName(programDirectory() + "db1.mdb");
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
        EXPECT_TRUE(form->FormShow());
        EXPECT_TRUE(lock.exec("ROLLBACK"));
    }
    QSqlDatabase::removeDatabase("locker");
    EXPECT_FALSE(form->hasEnded());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->coefficients().c[0], 0.9);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{"计算法则参数未能重新读取，仍使用原来的参数。"});
    EXPECT_EQ(ScriptedDialogs::Detail(dialogs.messages[0]), programDirectory() + "db1.mdb：数据库正被其他程序锁定");
    // Once the lock has passed, the next reload reads the file as always.
    EXPECT_TRUE(form->FormShow());
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

}  // namespace
}  // namespace wormgear::testing
