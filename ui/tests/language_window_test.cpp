// The window in English: every caption, menu, panel, hint and result line in
// English (the result lines keep their numbers and hyphens); and the language
// menu, whose choice is remembered for the next start.
#include <QAction>
#include <QGroupBox>
#include <QMenuBar>
#include <QRegularExpression>

#include "translations/interface_language.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

const QString kProgramFiles = QStringLiteral(WORMGEAR_BIN_DIR "/");

// Every text the window shows of its own: captions, titles, menus, hints.
QStringList ShownTexts(const TForm1& form) {
    QStringList texts{form.windowTitle()};
    for (const QLabel* label : form.findChildren<QLabel*>()) texts << label->text();
    for (const QAbstractButton* button : form.findChildren<QAbstractButton*>()) texts << button->text();
    for (const QGroupBox* box : form.findChildren<QGroupBox*>()) texts << box->title();
    for (const QPlainTextEdit* memo : form.findChildren<QPlainTextEdit*>()) texts << memo->toPlainText();
    for (const QMenu* menu : form.findChildren<QMenu*>()) {
        texts << menu->title();
        for (const QAction* action : menu->actions()) texts << action->text();
    }
    return texts;
}

class EnglishWindowTest : public WindowTest {
 protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(InstallTranslations(*QCoreApplication::instance(), Language::English, kProgramFiles));
    }
};

TEST_F(EnglishWindowTest, CaptionsMenusAndPanelsAreEnglish) {
    openWindow();
    EXPECT_EQ(form->language(), Language::English);
    EXPECT_EQ(form->windowTitle(), "QELM Worm Pair Design V7.6");
    EXPECT_EQ(form->Label1->text(), "Centre dist.:");
    EXPECT_EQ(form->Label38->text(), "Grinding incr.:");
    EXPECT_EQ(form->Button1->text(), "Calculate");
    EXPECT_EQ(form->Button6->text(), "Export worm sheet");
    EXPECT_EQ(form->N1->title(), "File");
    EXPECT_EQ(form->df1->title(), "Maintenance");
    EXPECT_EQ(form->N26->title(), "Language");
    EXPECT_EQ(form->GroupBox1->title(), "  Worm parameters  ");
    EXPECT_EQ(form->GroupBox4->title(), "Worm modification (general)  ");
    EXPECT_TRUE(form->N28->isChecked());
    EXPECT_FALSE(form->N27->isChecked());
}

TEST_F(EnglishWindowTest, NoChineseTextIsLeft) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().join('\n').toStdString();
    // CJK ideographs and full-width punctuation; the choice 中文 names itself.
    const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    for (const QString& text : ShownTexts(*form)) {
        if (text == QStringLiteral("中文")) continue;
        EXPECT_FALSE(chinese.match(text).hasMatch()) << text.toStdString();
    }
}

TEST_F(EnglishWindowTest, ResultLinesKeepTheirFormInEnglish) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    EXPECT_EQ(form->Label23->text(), "322-----wheel pitch diameter");
    EXPECT_EQ(form->Label8->text(), "168.728-----worm root arc radius");
    EXPECT_EQ(form->Label44->text(), "10.979------wheel measured thickness");
    EXPECT_EQ(form->Label52->text(), "130.518----modification base diameter");
}

TEST_F(EnglishWindowTest, ChoosingChineseSaysSoInChinese) {
    openWindow();
    form->N27->trigger();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("下次启动时界面将使用中文。")});
    EXPECT_EQ(StoredLanguage(programDirectory()), Language::Chinese);
}

TEST_F(EnglishWindowTest, EveryEnglishTextFitsItsPlace) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    for (const QLabel* label : form->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty() || label->wordWrap()) continue;
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
            << label->objectName().toStdString() << ": " << label->text().toStdString();
    }
}

TEST_F(EnglishWindowTest, MessagesAreEnglish) {
    openWindow();
    typeWorkedExample();
    Retype(form->Edit2, QStringLiteral("24"));  // 50/2 is 25: the ratio message
    form->Button1->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{"Incorrect input......(speed ratio = teeth/starts)"});
    // The cause beneath it, from the design checks, in English too.
    EXPECT_EQ(ScriptedDialogs::Detail(dialogs.messages[0]),
              "The speed ratio i = 24 differs from teeth/starts z2/z1 = 50/2 = 25 by 1, more than 0.001 "
              "(concerns: speed ratio i, wheel teeth z2, worm starts z1)");
}

TEST_F(EnglishWindowTest, NumbersThatCannotBeCalculatedAreSaidSoInEnglish) {
    openWindow();
    typeWorkedExample();
    Retype(form->Edit5, QStringLiteral("400"));
    form->Button1->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{"These numbers cannot be calculated."});
}

TEST_F(WindowTest, LanguageMenuOffersBothAndTheChineseWindowIsChecked) {
    openWindow();
    EXPECT_EQ(form->language(), Language::Chinese);
    EXPECT_EQ(form->N26->title(), QStringLiteral("语言"));
    EXPECT_EQ(form->N27->text(), QStringLiteral("中文"));
    EXPECT_EQ(form->N28->text(), QStringLiteral("English"));
    EXPECT_TRUE(form->N27->isChecked());
}

TEST_F(WindowTest, LanguageChoiceIsRememberedForTheNextStart) {
    openWindow();
    ASSERT_EQ(StoredLanguage(programDirectory()), std::nullopt);
    form->N28->trigger();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"The interface will be in English from the next start."});
    // The window keeps its texts until then.
    EXPECT_EQ(form->Button1->text(), QStringLiteral("计   算"));
    form.reset();
    // The next start: a Chinese system, and the choice holds.
    const auto chineseSystem = [](const char* name) { return std::string(name) == "LANG" ? "zh_CN.UTF-8" : ""; };
    EXPECT_EQ(InterfaceLanguage(programDirectory(), chineseSystem), Language::English);
    // Back to Chinese, in a Chinese window: the language it shows, nothing to say.
    openWindow();
    dialogs.messages.clear();
    form->N27->trigger();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(InterfaceLanguage(programDirectory(), [](const char*) { return std::string("en_US.UTF-8"); }),
              Language::Chinese);
}

TEST_F(WindowTest, LanguageChoiceThatCannotBeStoredSaysSoAndKeepsTheCheck) {
    openWindow();
    // A folder where the file would go: the replacement cannot take its name.
    ASSERT_TRUE(QDir(programDirectory()).mkdir(QString::fromLatin1(kLanguageFileName)));
    form->N28->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{QStringLiteral("语言设置未能保存。")});
    EXPECT_TRUE(form->N27->isChecked());
    EXPECT_FALSE(form->N28->isChecked());
}

}  // namespace
}  // namespace wormgear::testing
