// A design whose checks find an error (d1 = 5: the generating plane would
// lean by -50.547 degrees) calculates, but nothing is made of it for the shop
// without the designer's Yes; what is made then carries the mark.
#include <QFile>

#include "drawing/drawing_commands.h"
#include "export/sheets.h"
#include "export/workbook.h"
#include "files/qt_path.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

QAction* Item(TForm1& form, const char* name) { return form.findChild<QAction*>(QString::fromLatin1(name)); }

class DesignErrorsTest : public WindowTest {
 protected:
    void calculateFaultyDesign() {
        openWindow();
        typeWorkedExample();
        Retype(form->Edit7, QStringLiteral("5"));
        form->Button1->click();
        ASSERT_TRUE(dialogs.messages.empty());  // it calculates
        ASSERT_TRUE(HasErrors(form->findings()));
    }
};

TEST_F(DesignErrorsTest, NoAnswerNoOutput) {
    calculateFaultyDesign();
    // No: nothing is made, nothing else is asked (a save dialog would fail the test).
    for (const char* item : {"N3", "N4", "N14", "N20", "N21", "N22", "N23"}) {
        SCOPED_TRACE(item);
        dialogs.answers.push_back(false);
        Item(*form, item)->trigger();
        ASSERT_EQ(dialogs.questions.size(), 1u);
        const QString question = dialogs.questions.back();
        // The question names every error, and the mark the output would carry.
        for (const Finding& finding : form->findings())
            EXPECT_EQ(question.contains(QString::fromStdString(FindingMessage(finding, {}, '.'))),
                      finding.severity() == Severity::Error);
        EXPECT_TRUE(question.contains(QStringLiteral("设计检查有错误")));
        dialogs.questions.clear();
    }
    EXPECT_TRUE(form->findChildren<TDrawingPreview*>().isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DesignErrorsTest, YesMakesTheOutputMarked) {
    calculateFaultyDesign();
    dialogs.answers.push_back(true);
    const QString sheet = programDirectory() + QStringLiteral("rudar.xlsx");
    dialogs.saveAnswers.push_back(sheet);
    form->Button6Click();
    const Workbook book = Workbook::Open(LocalPath(sheet));
    EXPECT_EQ(book.CellText(ChecksNoteRow(SheetKind::Worm), 1, '.'), ChecksNoteText(form->findings(), '.'));

    dialogs.answers.push_back(true);
    Item(*form, "N21")->trigger();
    ASSERT_EQ(form->findChildren<TDrawingPreview*>().size(), 1);
    bool marked = false;
    for (const drawing::TextEntity& text : form->findChildren<TDrawingPreview*>().front()->sheet().graphics.texts)
        marked = marked || (text.layer == drawing::Layer::Warning && text.text == "设计检查有错误");
    EXPECT_TRUE(marked);

    // A sound design asks nothing.
    Retype(form->Edit7, QStringLiteral("78"));
    form->Button1->click();
    dialogs.saveAnswers.push_back(programDirectory() + QStringLiteral("sound.xlsx"));
    form->Button6Click();
    EXPECT_EQ(Workbook::Open(LocalPath(programDirectory() + QStringLiteral("sound.xlsx")))
                  .CellText(ChecksNoteRow(SheetKind::Worm), 1, '.'),
              "");
    EXPECT_TRUE(dialogs.answers.empty());
}

// A preview opened on a sound design follows it into one with errors: it
// shows the mark, and asks before it saves.
TEST_F(DesignErrorsTest, APreviewThatFollowsIntoErrorsAsksBeforeSaving) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    Item(*form, "N20")->trigger();
    ASSERT_EQ(form->findChildren<TDrawingPreview*>().size(), 1);
    TDrawingPreview* preview = form->findChildren<TDrawingPreview*>().front();
    Retype(form->Edit7, QStringLiteral("5"));
    form->Button1->click();
    bool marked = false;
    for (const drawing::TextEntity& text : preview->sheet().graphics.texts)
        marked = marked || text.layer == drawing::Layer::Warning;
    EXPECT_TRUE(marked);
    dialogs.answers.push_back(false);
    preview->save(FileFormat::Dxf);  // No: no save dialog (one would fail the test)
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_TRUE(dialogs.questions.back().contains(QStringLiteral("设计检查有错误")));
    dialogs.answers.push_back(true);
    const QString path = programDirectory() + QStringLiteral("worm.dxf");
    dialogs.saveAnswers.push_back(path);
    preview->save(FileFormat::Dxf);
    EXPECT_TRUE(QFile::exists(path));
    // Asked once for this design: the next save goes straight to its dialog.
    dialogs.saveAnswers.push_back(programDirectory() + QStringLiteral("again.dxf"));
    preview->save(FileFormat::Dxf);
    EXPECT_EQ(dialogs.questions.size(), 2u);
}

}  // namespace
}  // namespace wormgear::testing
