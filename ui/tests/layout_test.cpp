// The main window as laid out: every control by name, with its caption or
// default text, its place in pixels and its state at start; the menu; the
// keyboard order.
#include <QMenuBar>

#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

struct Control {
    const char* name;
    QRect geometry;    // in the parent's client pixels
    const char* text;  // caption or default text
};

// Inputs: 121 x 21 at x 96, y 24 + 40 r; captions at x 16, y 32 + 40 r.
const Control kInputs[] = {
    {"Edit1", {96, 24, 121, 21}, ""},
    {"Edit2", {96, 64, 121, 21}, ""},
    {"Edit3", {96, 104, 121, 21}, ""},
    {"Edit4", {96, 144, 121, 21}, "1"},
    {"Edit5", {96, 184, 121, 21}, ""},
    {"Edit6", {96, 224, 121, 21}, "0"},
    {"Edit7", {96, 264, 121, 21}, ""},
    {"Edit8", {96, 304, 121, 21}, "0.3"},
    {"Edit9", {96, 344, 121, 21}, "8j (GB/T16445-1996)"},
    {"Edit10", {96, 384, 121, 21}, "8j (GB/T16445-1996)"},
    {"Edit11", {96, 424, 121, 21}, "0.3*P/2"},
    {"Edit12", {96, 464, 121, 21}, "0.2*P/2"},
    {"Edit13", {96, 504, 121, 21}, "0.2"},
};

const Control kCaptions[] = {
    {"Label1", {16, 32, 0, 0}, "中  心  距："},    {"Label2", {16, 72, 0, 0}, "速        比："},
    {"Label3", {16, 112, 0, 0}, "齿        数："}, {"Label4", {16, 152, 0, 0}, "蜗杆头数："},
    {"Label5", {16, 192, 0, 0}, "主  基  圆："},   {"Label6", {16, 232, 0, 0}, "E           值："},
    {"Label7", {16, 272, 0, 0}, "杆分度圆："},     {"Label15", {16, 312, 0, 0}, "侧         隙："},
    {"Label30", {16, 352, 0, 0}, "蜗杆精度："},    {"Label31", {16, 392, 0, 0}, "滚刀精度："},
    {"Label36", {16, 432, 0, 0}, "入口修缘："},    {"Label37", {16, 472, 0, 0}, "出口修缘："},
    {"Label38", {16, 512, 0, 0}, "磨齿增量："},
};

const Control kFixedControls[] = {
    {"Label46", {96, 208, 121, 13}, "0.65"},
    {"Label47", {96, 288, 121, 13}, "0.76"},
    {"Button2", {224, 187, 17, 17}, "→"},
    {"Button3", {224, 226, 17, 17}, "→"},
    {"Button4", {224, 266, 17, 17}, "→"},
    {"Button5", {224, 306, 17, 17}, "→"},
    {"Memo1", {248, 184, 113, 41}, nullptr},
    {"Memo2", {248, 224, 113, 33}, nullptr},
    {"Memo3", {248, 264, 113, 33}, nullptr},
    {"Memo4", {248, 304, 113, 145}, nullptr},
    {"Label50", {16, 8, 177, 13}, "注意：计算法则已被修改..."},
    {"Label32", {395, 0, 441, 17}, ""},
    {"GroupBox1", {384, 24, 217, 497}, "  蜗杆参数  "},
    {"GroupBox2", {608, 24, 217, 193}, "  滚刀参数  "},
    {"GroupBox3", {608, 224, 217, 169}, "  蜗轮参数  "},
    {"GroupBox4", {608, 400, 217, 121}, "蜗杆修形（一般型传动）  "},
    {"CheckBox1", {144, 310, 65, 17}, "取整数"},
    {"Button1", {248, 456, 129, 65}, "计   算"},
    {"Button6", {248, 528, 129, 25}, "导出蜗杆参数表"},
    {"Button13", {392, 528, 129, 25}, "导出蜗轮参数表"},
    {"Button11", {536, 528, 129, 25}, "导出滚刀参数表"},
    {"Button10", {680, 528, 129, 25}, "关    闭"},
};

// Result lines: panel, x of its lines, and the lines from the top (y).
struct PanelLines {
    const char* panel;
    int x;
    std::vector<std::pair<const char*, int>> lines;
};
const PanelLines kPanels[] = {
    {"GroupBox1",
     24,
     {{"Label23", 24},
      {"Label24", 48},
      {"Label8", 72},
      {"Label10", 96},
      {"Label9", 120},
      {"Label11", 144},
      {"Label12", 168},
      {"Label13", 192},
      {"Label14", 216},
      {"Label16", 240},
      {"Label17", 264},
      {"Label25", 288},
      {"Label26", 312},
      {"Label27", 336},
      {"Label28", 360},
      {"Label48", 384},
      {"Label43", 408}}},
    {"GroupBox2",
     32,
     {{"Label18", 24},
      {"Label19", 48},
      {"Label20", 72},
      {"Label21", 96},
      {"Label22", 120},
      {"Label29", 144},
      {"Label49", 168}}},
    {"GroupBox3",
     40,
     {{"Label33", 24}, {"Label35", 48}, {"Label34", 72}, {"Label44", 98}, {"Label45", 120}, {"Label40", 144}}},
    {"GroupBox4", 40, {{"Label41", 24}, {"Label42", 48}, {"Label51", 72}, {"Label52", 96}}},
};

QString TextOf(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* box = qobject_cast<QGroupBox*>(widget)) return box->title();
    return QString();
}

TEST_F(WindowTest, WindowHasItsCaptionAndFixedClientArea) {
    openWindow();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("QELM蜗杆副设计V7.6"));
    EXPECT_EQ(form->centralWidget()->size(), QSize(836, 560));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());  // no resizing
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(WindowTest, FontsAreElevenPixelsHighAndHaveChineseGlyphs) {
    openWindow();
    const QWidget* const kSamples[] = {form->Label1,  form->Edit1,   form->Button1, form->Label23,
                                       form->Label46, form->Label47, form->Memo4,   form->CheckBox1};
    for (const QWidget* widget : kSamples) {
        SCOPED_TRACE(widget->objectName().toStdString());
        EXPECT_EQ(widget->font().pixelSize(), 11);
        const QFontMetrics metrics(widget->font());
        for (QChar c : QStringLiteral("中心距蜗杆参数～："))
            EXPECT_TRUE(metrics.inFontUcs4(c.unicode())) << int(c.unicode());
    }
    // The read-outs take SimSun where it exists, otherwise the nearest font.
    EXPECT_TRUE(form->Label46->font().families().startsWith(QStringLiteral("SimSun")));
}

TEST_F(WindowTest, InputsStandInTheirRowsWithDefaultTexts) {
    openWindow();
    for (const Control& control : kInputs) {
        SCOPED_TRACE(control.name);
        auto* edit = form->findChild<QLineEdit*>(QString::fromLatin1(control.name));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->geometry(), control.geometry);
        EXPECT_EQ(edit->text(), QString::fromUtf8(control.text));
    }
    for (const Control& control : kCaptions) {
        SCOPED_TRACE(control.name);
        auto* label = form->findChild<QLabel*>(QString::fromLatin1(control.name));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->pos(), control.geometry.topLeft());
        EXPECT_EQ(label->text(), QString::fromUtf8(control.text));
    }
}

TEST_F(WindowTest, FixedControlsHaveTheirPlacesAndCaptions) {
    openWindow();
    for (const Control& control : kFixedControls) {
        SCOPED_TRACE(control.name);
        auto* widget = form->findChild<QWidget*>(QString::fromLatin1(control.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), control.geometry);
        if (control.text != nullptr) {
            EXPECT_EQ(TextOf(widget), QString::fromUtf8(control.text));
        }
    }
}

TEST_F(WindowTest, ResultLinesStandInTheirPanelsAndMatchTheCalculationsLabels) {
    openWindow();
    std::vector<std::string> windowOrder;
    for (const PanelLines& panel : kPanels) {
        auto* box = form->findChild<QGroupBox*>(QString::fromLatin1(panel.panel));
        ASSERT_NE(box, nullptr);
        for (const auto& [name, y] : panel.lines) {
            SCOPED_TRACE(name);
            auto* label = box->findChild<QLabel*>(QString::fromLatin1(name));
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->pos(), QPoint(panel.x, y));
            EXPECT_TRUE(label->text().isEmpty());
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            EXPECT_EQ(form->resultLabel(name), label);
            windowOrder.push_back(name);
        }
    }
    std::vector<std::string> tableOrder;
    for (const ResultDescription& result : Results()) tableOrder.push_back(result.label);
    EXPECT_EQ(windowOrder, tableOrder);
}

TEST_F(WindowTest, StateAtStart) {
    openWindow();
    EXPECT_FALSE(form->CheckBox1->isVisibleTo(form.get()));
    for (QWidget* hidden :
         {static_cast<QWidget*>(form->Memo1), static_cast<QWidget*>(form->Memo2), static_cast<QWidget*>(form->Memo3),
          static_cast<QWidget*>(form->Memo4), static_cast<QWidget*>(form->Label50)})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    for (QGroupBox* panel : {form->GroupBox1, form->GroupBox2, form->GroupBox3, form->GroupBox4})
        EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(form->Button1->isEnabled());
    EXPECT_TRUE(form->Button10->isEnabled());
    EXPECT_FALSE(form->Button6->isEnabled());
    EXPECT_FALSE(form->Button11->isEnabled());
    EXPECT_FALSE(form->Button13->isEnabled());
    EXPECT_TRUE(form->Button1->isDefault());
    EXPECT_EQ(QApplication::focusWidget(), form->Button1);
    EXPECT_TRUE(form->designSaved());
    EXPECT_TRUE(dialogs.messages.empty());
    // The red notices are shown literally.
    EXPECT_EQ(form->Label32->textFormat(), Qt::PlainText);
    EXPECT_EQ(form->Label32->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(form->Label50->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_TRUE(form->Label32->alignment() & Qt::AlignRight);
}

TEST_F(WindowTest, MenuHasEveryItemInOrder) {
    openWindow();
    struct Menu {
        const char* name;
        const char* caption;
        std::vector<std::pair<const char*, const char*>> items;
    };
    const Menu kMenus[] = {
        {"N1",
         "执行",
         {{"N11", "打开"},
          {"N12", "-----------"},
          {"N2", "计算"},
          {"N3", "导出蜗杆参数"},
          {"N14", "导出蜗轮参数"},
          {"N4", "导出滚刀参数"},
          {"N5", "保存"},
          {"N17", "另存用户设置"},
          {"N6", "退出"}}},
        {"N7",
         "设置",
         {{"N13", "计算法则参数设置"}, {"N15", "还原默认设置"}, {"N16", "加载用户设置"}, {"N31", "公差表…"}}},
        {"df1", "维护", {{"N18", "软件升级"}, {"N26", "语言"}}},
        {"N19",
         "工具",
         {{"N20", "蜗杆图"},
          {"N21", "蜗轮图"},
          {"N22", "滚刀图"},
          {"N23", "计算书"},
          {"N29", "啮合分析"},
          {"N24", "设计检查"},
          {"N25", "方案表"},
          {"N30", "图样资料…"}}},
    };
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<qsizetype>(std::size(kMenus)));
    for (std::size_t m = 0; m < std::size(kMenus); ++m) {
        const Menu& expected = kMenus[m];
        QMenu* menu = menus[static_cast<qsizetype>(m)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), QString::fromLatin1(expected.name));
        EXPECT_EQ(menu->title(), QString::fromUtf8(expected.caption));
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected.items.size()));
        for (std::size_t i = 0; i < expected.items.size(); ++i) {
            SCOPED_TRACE(expected.items[i].first);
            EXPECT_EQ(items[i]->objectName(), QString::fromLatin1(expected.items[i].first));
            EXPECT_EQ(items[i]->text(), QString::fromUtf8(expected.items[i].second));
            EXPECT_FALSE(items[i]->isSeparator());
            EXPECT_TRUE(items[i]->isEnabled());
        }
    }
}

TEST_F(WindowTest, TabGoesThroughTheControlsInTheirKeyboardOrder) {
    openWindow();
    typeWorkedExample();
    QTest::keyClick(form->Edit3, Qt::Key_Return);  // a calculation shows CheckBox1
    ASSERT_TRUE(form->CheckBox1->isVisible());
    for (QPushButton* arrow : {form->Button2, form->Button3, form->Button4, form->Button5}) arrow->click();
    const QWidget* const kOrder[] = {
        form->Button1, form->Edit1,    form->Edit2,     form->Edit3,    form->Edit4,   form->Edit5,   form->Edit6,
        form->Edit7,   form->Edit8,    form->CheckBox1, form->Edit9,    form->Edit10,  form->Button2, form->Button4,
        form->Button5, form->Memo1,    form->Memo3,     form->Memo4,    form->Button6, form->Edit11,  form->Edit12,
        form->Edit13,  form->Button10, form->Button11,  form->Button13, form->Button3, form->Memo2,   form->Button1};
    form->Button1->setFocus();
    for (std::size_t i = 1; i < std::size(kOrder); ++i) {
        ASSERT_EQ(QApplication::focusWidget(), kOrder[i - 1]) << "step " << i;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), form->Button1);
}

}  // namespace
}  // namespace wormgear::testing
