// 工具 → 啮合分析: the meshing analysis of the design on screen in its
// window, its slider over the wheel angle, its pictures read back, its
// following of the next calculation, and the refusal of a design whose
// checks find errors.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <set>

#include "drawing/meshing_window.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

QAction* Item(TForm1& form, const char* name) { return form.findChild<QAction*>(QString::fromLatin1(name)); }

std::set<std::string> Texts(const drawing::Sheet& sheet) {
    std::set<std::string> texts;
    for (const drawing::TextEntity& t : sheet.graphics.texts) texts.insert(t.text);
    return texts;
}

TEST_F(WindowTest, TheMeshingAnalysisFollowsTheSliderAndTheDesign) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    Item(*form, "N29")->trigger();
    ASSERT_TRUE(dialogs.messages.empty());
    const auto windows = form->findChildren<TMeshingWindow*>();
    ASSERT_EQ(windows.size(), 1);
    TMeshingWindow* window = windows.front();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->analysis().teethInContact.min, 5);
    // Another wheel angle: other lines, the same analysis.
    const auto lines = window->sheet().graphics.lines.size();
    const std::set<std::string> before = Texts(window->sheet());
    window->AngleSlider->setValue(TMeshingWindow::kSteps / 3);
    EXPECT_NE(window->AngleLabel->text(), QStringLiteral("φ2 = 0.00°"));
    EXPECT_NE(Texts(window->sheet()), before);  // the angle in the heading
    EXPECT_GT(window->sheet().graphics.lines.size(), lines / 2);
    // For the eye: build/ui/pictures.
    QDir().mkpath(QStringLiteral(WORMGEAR_UI_PICTURES_DIR));
    window->grab().save(QStringLiteral(WORMGEAR_UI_PICTURES_DIR "/meshing-window.png"));

    // The pictures, read by their own readers.
    const QString png = programDirectory() + QStringLiteral("mesh.png"),
                  pdf = programDirectory() + QStringLiteral("mesh");
    dialogs.saveAnswers.push_back(png);
    window->save(TMeshingWindow::Picture::Png);
    const QImage picture(png);
    EXPECT_EQ(picture.width(), 2376);
    dialogs.saveAnswers.push_back(pdf);
    window->save(TMeshingWindow::Picture::Pdf);
    ASSERT_TRUE(QFile::exists(pdf + QStringLiteral(".pdf")));
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf + QStringLiteral(".pdf"), QStringLiteral("-")});
        ASSERT_TRUE(text.waitForFinished(30000));
        EXPECT_TRUE(QString::fromUtf8(text.readAllStandardOutput()).contains(QStringLiteral("同时接触齿数")));
    }

    // The next calculation: another design in the same window; a failed one
    // leaves it out of date, and then it saves nothing.
    Retype(form->Edit7, QStringLiteral("80"));
    form->Button1->click();
    EXPECT_EQ(window->analysis().pitch.slidingSpeed, meshing::AnalyseMeshing(form->design(), {}).pitch.slidingSpeed);
    Retype(form->Edit13, QString());
    form->Button1->click();
    dialogs.messages.clear();
    EXPECT_FALSE(window->SavePngButton->isEnabled());
    window->save(TMeshingWindow::Picture::Png);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(WindowTest, ADesignWithErrorsGetsNoMeshingAnalysisButTheReason) {
    openWindow();
    typeWorkedExample();
    Retype(form->Edit7, QStringLiteral("5"));  // the plane would lean by -50.547 degrees
    form->Button1->click();
    Item(*form, "N29")->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("不做啮合分析")));
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("母平面倾斜角")));
    EXPECT_TRUE(form->findChildren<TMeshingWindow*>().isEmpty());
}

}  // namespace
}  // namespace wormgear::testing
