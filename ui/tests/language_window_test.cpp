// The window in English: every caption, menu, panel, hint and result line in
// English (the result lines keep their numbers and hyphens); and the language
// menu, whose choice is remembered for the next start.
#include <QAction>
#include <QChartView>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTableView>
#include <QTimer>

#include "dialogs/qt_dialogs.h"
#include "drawing/preview_window.h"
#include "settings/coefficient_editor.h"
#include "solutions/solutions_model.h"
#include "translations/interface_language.h"
#include "ui/checks_window.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

const QString kProgramFiles = QStringLiteral(WORMGEAR_BIN_DIR "/");

// Every text a window shows of its own: captions, titles, menus, hints,
// tooltips, the items of its lists, the headings and cells of its tables and
// the titles of its charts.
QStringList ShownTexts(const QWidget& window) {
    QStringList texts{window.windowTitle(), window.toolTip()};
    for (const QWidget* widget : window.findChildren<QWidget*>()) texts << widget->toolTip();
    for (const QLabel* label : window.findChildren<QLabel*>()) texts << label->text();
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) texts << button->text();
    for (const QGroupBox* box : window.findChildren<QGroupBox*>()) texts << box->title();
    for (const QPlainTextEdit* memo : window.findChildren<QPlainTextEdit*>()) texts << memo->toPlainText();
    for (const QMenu* menu : window.findChildren<QMenu*>()) {
        texts << menu->title();
        for (const QAction* action : menu->actions()) texts << action->text();
    }
    for (const QComboBox* box : window.findChildren<QComboBox*>())
        for (int i = 0; i < box->count(); ++i) texts << box->itemText(i);
    for (const QAbstractItemView* view : window.findChildren<QAbstractItemView*>()) {
        const QAbstractItemModel* model = view->model();
        if (!model) continue;
        for (int column = 0; column < model->columnCount(); ++column) {
            texts << model->headerData(column, Qt::Horizontal).toString();
            for (int row = 0; row < model->rowCount(); ++row) {
                texts << model->data(model->index(row, column)).toString();
                texts << model->data(model->index(row, column), Qt::ToolTipRole).toString();
            }
        }
        for (int row = 0; row < model->rowCount(); ++row) texts << model->headerData(row, Qt::Vertical).toString();
    }
    for (const QChartView* view : window.findChildren<QChartView*>()) {
        texts << view->chart()->title();
        for (const QAbstractAxis* axis : view->chart()->axes()) texts << axis->titleText();
    }
    return texts;
}

// CJK ideographs and full-width punctuation; the choice 中文 names itself.
void ExpectNoChinese(const QStringList& texts) {
    const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    for (const QString& text : texts) {
        if (text == QStringLiteral("中文")) continue;
        EXPECT_FALSE(chinese.match(text).hasMatch()) << text.toStdString();
    }
}

// Every visible label's text within its width (wrapping labels aside).
void ExpectLabelsFit(const QWidget& window) {
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty() || label->wordWrap()) continue;
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
            << label->objectName().toStdString() << ": " << label->text().toStdString();
    }
}

class EnglishWindowTest : public WindowTest {
 protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(InstallTranslations(*QCoreApplication::instance(), Language::English, kProgramFiles));
    }
    void TearDown() override {
        WindowTest::TearDown();
        InstallTranslations(*QCoreApplication::instance(), Language::Chinese, kProgramFiles);
    }
};

// The unsaved-data question as the program's real box asks it, in each
// language: the question in the interface's language, while the caption
// "Warning" and the buttons "&Yes" and "&No" are the same in both.
class UnsavedBoxTest : public WindowTest, public ::testing::WithParamInterface<Language> {
 protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(InstallTranslations(*QCoreApplication::instance(), GetParam(), kProgramFiles));
    }
    void TearDown() override {
        form.reset();
        real.reset();
        InstallTranslations(*QCoreApplication::instance(), Language::Chinese, kProgramFiles);
    }
    std::unique_ptr<QtDialogs> real;
};

TEST_P(UnsavedBoxTest, TheQuestionSpeaksTheInterfacesLanguage) {
    real = std::make_unique<QtDialogs>(nullptr, RememberedFolder(programDirectory() + QStringLiteral("folder.txt")));
    form = std::make_unique<TForm1>(*real, programDirectory(), separator, QStringList());
    real->setParent(form.get());
    form->show();
    typeWorkedExample();
    form->Button1->click();
    QString caption, text;
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no question came up";
            return;
        }
        caption = box->windowTitle();
        text = box->text();
        for (QAbstractButton* button : box->buttons()) buttons << button->text();
        box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click() : box->buttons().last()->click();
    });
    form->Button10->click();  // 关闭: the question, then the program ends on No
    EXPECT_EQ(caption, "Warning");
    EXPECT_EQ(buttons, (QStringList{"&Yes", "&No"}));
    if (GetParam() == Language::English) {
        EXPECT_EQ(text, "The data has not been saved. Save it now?");
        ExpectNoChinese({caption, text});
    } else {
        EXPECT_EQ(text, QStringLiteral("数据尚未保存，是否保存？"));
    }
    EXPECT_TRUE(form->hasEnded());
}

INSTANTIATE_TEST_SUITE_P(Languages, UnsavedBoxTest, ::testing::Values(Language::Chinese, Language::English),
                         [](const ::testing::TestParamInfo<Language>& info) {
                             return info.param == Language::English ? "English" : "Chinese";
                         });

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
    ExpectNoChinese(ShownTexts(*form));
}

TEST_F(EnglishWindowTest, TheCoefficientEditorIsEnglishAndItsTextsFit) {
    // The shipped rules, as the program comes.
    ASSERT_TRUE(QFile::remove(programDirectory() + QStringLiteral("db1.mdb")));
    ASSERT_TRUE(QFile::copy(kProgramFiles + QStringLiteral("db1.mdb"), programDirectory() + QStringLiteral("db1.mdb")));
    openWindow();
    TForm5* editor = form->form5();
    editor->show();  // as N13 shows it, without waiting in its own loop
    ASSERT_TRUE(editor->isTableOpen());
    ExpectNoChinese(ShownTexts(*editor));
    // The caption and each rule above the grid, row by row, whole.
    EXPECT_EQ(editor->Label1->text(), "N value:");
    for (int row = 0; row < editor->DBGrid1->model()->rowCount(); ++row) {
        SCOPED_TRACE(row);
        editor->DBGrid1->selectRow(row);
        ASSERT_EQ(editor->currentRow(), row);
        ExpectNoChinese({editor->DBText1->text()});
        ExpectLabelsFit(*editor);
    }
    // Every column within the grid, which has no scroll bars, each heading whole.
    const QHeaderView* header = editor->DBGrid1->horizontalHeader();
    EXPECT_LE(header->length(), editor->DBGrid1->viewport()->width());
    for (int column = 0; column < header->count(); ++column) {
        const QString title = editor->DBGrid1->model()->headerData(column, Qt::Horizontal).toString();
        EXPECT_LE(header->fontMetrics().horizontalAdvance(title), header->sectionSize(column)) << title.toStdString();
    }
    EXPECT_EQ(editor->DBText1->geometry().right(), 128 + 369 - 1);        // still inside the frame
    EXPECT_LE(editor->Label1->geometry().right(), editor->DBEdit1->x());  // side by side, as in Chinese
    editor->hide();
}

TEST_F(EnglishWindowTest, TheTableOfSolutionsAndItsChartAreEnglish) {
    openWindow();
    typeWorkedExample();
    form->N25->trigger();
    TSolutionsWindow* window = form->solutionsWindow();
    ASSERT_NE(window, nullptr);
    // Main base circles up to 2 A: designs with errors, warnings and none.
    Retype(window->ShareFromEdit, QStringLiteral("0.6"));
    Retype(window->ShareToEdit, QStringLiteral("2"));
    Retype(window->ShareStepEdit, QStringLiteral("0.35"));
    window->CalculateButton->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->busy(); }, 60000));
    ASSERT_GT(window->model()->rowCount(), 2);
    for (int row : {0, window->model()->rowCount() - 1}) {
        SCOPED_TRACE(row);
        window->View->selectRow(row);
        EXPECT_FALSE(window->FindingsLabel->text().isEmpty());
        ExpectNoChinese(ShownTexts(*window));
    }
    EXPECT_EQ(window->ChartResultBox->itemText(0), "β generating plane angle");
    EXPECT_FALSE(window->Chart->chart()->axes(Qt::Vertical).isEmpty());
}

TEST_F(EnglishWindowTest, TheChecksWindowIsEnglish) {
    openWindow();
    typeWorkedExample();
    Retype(form->Edit5, QStringLiteral("400"));
    Retype(form->Edit6, QStringLiteral("0.5"));
    form->Button1->click();
    form->N24->trigger();
    ASSERT_NE(form->checksWindow(), nullptr);
    ASSERT_GE(form->checksWindow()->Table->rowCount(), 2);
    ExpectNoChinese(ShownTexts(*form->checksWindow()));
    ExpectNoChinese(dialogs.messageTexts());
}

TEST_F(EnglishWindowTest, AFileThatCannotBeWrittenIsToldInEnglish) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    form->N20->trigger();
    TDrawingPreview* preview = form->findChild<TDrawingPreview*>();
    ASSERT_NE(preview, nullptr);
    const QString nowhere = programDirectory() + QStringLiteral("missing/worm.dxf");
    dialogs.saveAnswers.push_back(nowhere);
    preview->SaveDxfButton->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(nowhere));
    ExpectNoChinese(dialogs.messageTexts());

    // The language itself cannot be remembered: a folder in the file's way.
    ASSERT_TRUE(QDir(programDirectory()).mkdir(QString::fromLatin1(kLanguageFileName)));
    form->N27->trigger();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    ExpectNoChinese({dialogs.messages[1].text});
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
