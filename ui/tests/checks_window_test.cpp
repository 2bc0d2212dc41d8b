// The design checks in the main window: the causes beneath a failed
// calculation's message, the status line after every calculation, and the
// 设计检查 window that follows the last one. The checks never change a
// result text or the calculation's own message.
#include <QStatusBar>

#include "calc/checks.h"
#include "ui/checks_window.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

const QString kInvalidInput = QString::fromUtf8(kInvalidInputMessage);

// Designs typed over the worked example: what the box says beneath the
// calculation's message (empty: no box), and what the status line says.
struct Design {
    const char* what;
    const char* baseDiameter;
    const char* ratio;
    const char* causes;  // the box's text beneath its first line
    const char* status;
};
const Design kDesigns[] = {
    {"the worked example", "130", "25", nullptr, "设计检查：没有发现问题"},
    {"a main base circle at 0.7 A", "140", "25", nullptr,
     "设计检查：1 个警告 — 主基圆直径系数 Db/A = 0.7，不在提示的 0.63～0.67 之间"},
    {"a main base circle beyond the wheel", "400", "25",
     "主基圆直径 Db = 400 超出蜗轮分度圆直径 d2 = 322（d2 = 2A − d1）：压力角 α = asin(Db/d2) 无定义（须 |Db| ≤ "
     "d2）（涉及：中心距 A、主基圆直径 Db、蜗杆分度圆直径 d1）",
     "设计检查：1 个错误，1 个警告 — 主基圆直径 Db = 400 超出蜗轮分度圆直径 d2 = 322（d2 = 2A − d1）：压力角 α = "
     "asin(Db/d2) 无定义（须 |Db| ≤ d2）"},
    {"a ratio the teeth do not give", "130", "26",
     "速比 i = 26 与齿数/头数 z2/z1 = 50/2 = 25 相差 1，超过 0.001（涉及：速比 i、蜗轮齿数 z2、蜗杆头数 z1）",
     "设计检查：1 个错误 — 速比 i = 26 与齿数/头数 z2/z1 = 50/2 = 25 相差 1，超过 0.001"},
};

TEST_F(WindowTest, TheCausesStandBeneathTheMessageAndTheStatusLineSumsUp) {
    openWindow();
    typeWorkedExample();
    for (const Design& design : kDesigns) {
        SCOPED_TRACE(design.what);
        dialogs.messages.clear();
        Retype(form->Edit5, QString::fromUtf8(design.baseDiameter));
        Retype(form->Edit2, QString::fromUtf8(design.ratio));
        form->Button1->click();
        const DesignInputs inputs = form->hostInputs();
        const CalculationOutcome direct = Calculate(inputs, false, form->coefficients(), '.');
        if (design.causes) {
            ASSERT_EQ(dialogs.messages.size(), 1u);
            // The window's headline for the calculation's own message as the first line.
            EXPECT_EQ(dialogs.messageHeadlines(), QStringList{FailureHeadline(direct)});
            EXPECT_EQ(ScriptedDialogs::Detail(dialogs.messages[0]), QString::fromUtf8(design.causes));
        } else {
            // A successful calculation opens no box, findings or not.
            EXPECT_TRUE(dialogs.messages.empty());
            EXPECT_TRUE(direct.succeeded());
        }
        // Every line the calculation wrote shows as it wrote it.
        for (const ResultLine& line : direct.lines)
            EXPECT_EQ(form->resultLabel(line.label())->text(), QString::fromStdString(line.text)) << line.label();
        EXPECT_EQ(form->ChecksLine->toolTip(), QString::fromUtf8(design.status));
        EXPECT_TRUE(QString::fromUtf8(design.status).startsWith(form->ChecksLine->text().remove(QChar(0x2026))));
        EXPECT_EQ(form->ChecksButton->isVisible(), std::string(design.status) != "设计检查：没有发现问题");
        // The window's findings are the checks of that very calculation.
        std::vector<std::string> shown, checked;
        for (const Finding& finding : form->findings()) shown.push_back(finding.id());
        for (const Finding& finding : CheckDesign(inputs, form->coefficients(), direct, '.'))
            checked.push_back(finding.id());
        EXPECT_EQ(shown, checked);
    }
}

// Designs typed over the worked example, and the first line of the box:
// a field that is no number keeps the calculation's own message; numbers
// the calculation cannot work with are said to be that.
struct Headline {
    const char* what;
    QLineEdit* TForm1::*field;
    const char* text;
    const char* headline;
};
const QString kCannotCalculate = QStringLiteral("无法用这些数值完成计算。");
const Headline kHeadlines[] = {
    {"an empty eccentricity", &TForm1::Edit6, "", kInvalidInputMessage},
    {"a backlash that is no number", &TForm1::Edit8, "0.2x", kInvalidInputMessage},
    {"an empty grinding increment (read last)", &TForm1::Edit13, "", kInvalidInputMessage},
    {"a main base circle beyond the wheel: asin(Db/d2) > 1", &TForm1::Edit5, "400", nullptr},
    {"no worm starts: z2/z1 divides by zero", &TForm1::Edit4, "0", nullptr},
    {"a pitch diameter of twice A: no wheel", &TForm1::Edit7, "400", nullptr},
    {"a ratio the teeth do not give", &TForm1::Edit2, "26", kRatioMismatchMessage},
};

TEST_F(WindowTest, TheHeadlineTellsAFieldThatIsNoNumberFromNumbersThatCannotBeCalculated) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    ASSERT_TRUE(dialogs.messages.empty());
    for (const Headline& h : kHeadlines) {
        SCOPED_TRACE(h.what);
        QLineEdit* field = (*form).*h.field;
        const QString typed = field->text();
        Retype(field, QString::fromUtf8(h.text));
        dialogs.messages.clear();
        form->Button1->click();
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messageHeadlines().front(), h.headline ? QString::fromUtf8(h.headline) : kCannotCalculate);
        // The calculation's own message is what it was.
        const CalculationOutcome direct = Calculate(form->hostInputs(), false, form->coefficients(), '.');
        EXPECT_EQ(direct.failure, h.headline == kRatioMismatchMessage ? kRatioMismatchMessage : kInvalidInputMessage);
        // The causes stand beneath it as before.
        if (!h.headline) {
            EXPECT_FALSE(ScriptedDialogs::Detail(dialogs.messages[0]).isEmpty());
        }
        Retype(field, typed);
    }
}

TEST_F(WindowTest, TheStatusLineIsColouredByTheWorstFinding) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    const QColor plain = form->ChecksLine->palette().color(QPalette::WindowText);
    Retype(form->Edit5, QStringLiteral("140"));
    form->Button1->click();
    const QColor warning = form->ChecksLine->palette().color(QPalette::WindowText);
    Retype(form->Edit5, QStringLiteral("400"));
    form->Button1->click();
    EXPECT_EQ(form->ChecksLine->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_NE(warning, plain);
    EXPECT_NE(warning, QColor(Qt::red));
}

TEST_F(WindowTest, TheStatusLineLiesBelowTheUnchangedClientArea) {
    openWindow();
    EXPECT_EQ(form->centralWidget()->size(), QSize(836, 560));
    const QRect client = form->centralWidget()->geometry();
    const QRect line = form->statusBar()->geometry();
    EXPECT_EQ(line.top(), client.bottom() + 1);
    EXPECT_EQ(line.width(), 836);
    EXPECT_EQ(form->height(), client.bottom() + 1 + line.height());
    EXPECT_TRUE(form->ChecksLine->text().isEmpty());  // nothing calculated yet
    EXPECT_EQ(form->ChecksLine->textFormat(), Qt::PlainText);
}

TEST_F(WindowTest, TheChecksWindowListsEveryFindingAndFollowsTheLastCalculation) {
    openWindow();
    form->N24->trigger();
    TChecksWindow* window = form->checksWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("设计检查"));
    EXPECT_EQ(window->Table->rowCount(), 0);
    EXPECT_EQ(window->Summary->text(), QStringLiteral("尚未计算。"));

    typeWorkedExample();
    Retype(form->Edit5, QStringLiteral("140"));
    Retype(form->Edit6, QStringLiteral("0.5"));
    form->Button1->click();
    ASSERT_EQ(window->Table->rowCount(), 2);
    struct Row {
        const char *severity, *code, *fields, *message, *suggestion;
    };
    const Row kRows[] = {
        {"警告", "base-diameter-share-outside-hint", "中心距 A、主基圆直径 Db",
         "主基圆直径系数 Db/A = 0.7，不在提示的 0.63～0.67 之间",
         "主基圆直径可取 130（按中心距的建议值；小传动比时取小值）"},
        {"警告", "eccentricity-above-ratio-ten", "速比 i、E值 E", "速比 i = 25 > 10 时 E 值取 0，现为 0.5", "E 值取 0"},
    };
    for (int row = 0; row < 2; ++row) {
        SCOPED_TRACE(row);
        const Row& expected = kRows[row];
        EXPECT_EQ(window->Table->item(row, 0)->text(), QString::fromUtf8(expected.severity));
        EXPECT_EQ(window->Table->item(row, 1)->text(), QString::fromUtf8(expected.code));
        EXPECT_EQ(window->Table->item(row, 2)->text(), QString::fromUtf8(expected.fields));
        EXPECT_EQ(window->Table->item(row, 3)->text(), QString::fromUtf8(expected.message));
        EXPECT_EQ(window->Table->item(row, 4)->text(), QString::fromUtf8(expected.suggestion));
    }
    EXPECT_TRUE(window->Summary->text().startsWith(QStringLiteral("最近一次计算已完成。 设计检查：2 个警告")));

    // A failing calculation: the window follows, the worst first.
    Retype(form->Edit5, QStringLiteral("400"));
    form->Button1->click();
    ASSERT_GE(window->Table->rowCount(), 1);
    EXPECT_EQ(window->Table->item(0, 0)->text(), QStringLiteral("错误"));
    EXPECT_EQ(window->Table->item(0, 1)->text(), QStringLiteral("pressure-angle-undefined"));
    EXPECT_TRUE(window->Summary->text().startsWith(QStringLiteral("最近一次计算未能完成。")));

    // Closed and opened again from the status line: the same window, the same findings.
    window->close();
    form->ChecksButton->click();
    EXPECT_EQ(form->checksWindow(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Table->item(0, 1)->text(), QStringLiteral("pressure-angle-undefined"));
}

TEST_F(WindowTest, AChecksWindowOpenedAfterACalculationShowsIt) {
    openWindow();
    typeWorkedExample();
    Retype(form->Edit5, QStringLiteral("140"));
    form->Button1->click();
    form->N24->trigger();
    ASSERT_NE(form->checksWindow(), nullptr);
    ASSERT_EQ(form->checksWindow()->Table->rowCount(), 1);
    EXPECT_EQ(form->checksWindow()->Table->item(0, 1)->text(), QStringLiteral("base-diameter-share-outside-hint"));
}

}  // namespace
}  // namespace wormgear::testing
