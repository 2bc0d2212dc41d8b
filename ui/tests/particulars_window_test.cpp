// 工具 → 图样资料… from the main window: the entries typed there belong to the
// design (the unsaved-data flag, the previews' content) and go into its file
// with 保存, from which 打开 brings them back.
#include <QLineEdit>
#include <QTimer>

#include "designfile/design_file.h"
#include "drawing/drawing_commands.h"
#include "files/qt_path.h"
#include "particulars/particulars_dialog.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

QAction* Item(TForm1& form, const char* name) { return form.findChild<QAction*>(QString::fromLatin1(name)); }

// Answers the dialog when it comes up: the designer's name, then 确定.
void TypeDesignerWhenAsked(const QString& name) {
    QTimer::singleShot(0, [name] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<TParticularsDialog*>(w);
            if (!dialog || !dialog->isVisible()) continue;
            static_cast<QLineEdit*>(dialog->box(ParticularId::Designer))->setText(name);
            dialog->accept();
            return;
        }
        ADD_FAILURE() << "no particulars dialog came up";
    });
}

TEST_F(WindowTest, ParticularsBelongToTheDesignAndItsFile) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    const QString file = programDirectory() + QStringLiteral("pair.cqb");
    dialogs.saveAnswers.push_back(file);
    form->N5Click();
    ASSERT_TRUE(form->designSaved());
    TypeDesignerWhenAsked(QStringLiteral("张工"));
    Item(*form, "N30")->trigger();
    EXPECT_FALSE(form->designSaved());  // the particulars are part of the design file
    // A design not opened from a file asks for the name at each save.
    dialogs.saveAnswers.push_back(file);
    form->N5Click();
    EXPECT_TRUE(form->designSaved());
    const DesignFileContent content = ReadDesign(LocalPath(file), '.');
    EXPECT_EQ(Text(content.particulars, ParticularId::Designer), "张工");
    EXPECT_EQ(content.inputs.CentreDistance, "200");  // the thirteen texts as before

    // 打开 brings them back: the dialog shows them again.
    dialogs.openAnswers.push_back(file);
    form->N11Click();
    QString shown;
    QTimer::singleShot(0, [&shown] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<TParticularsDialog*>(w); dialog && dialog->isVisible()) {
                shown = static_cast<QLineEdit*>(dialog->box(ParticularId::Designer))->text();
                dialog->reject();
            }
        }
    });
    Item(*form, "N30")->trigger();
    EXPECT_EQ(shown, QStringLiteral("张工"));
}

}  // namespace
}  // namespace wormgear::testing
