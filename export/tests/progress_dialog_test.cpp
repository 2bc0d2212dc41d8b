// TForm2, the export progress window.
#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "export/progress_dialog.h"

namespace wormgear {
namespace {

TEST(TForm2, LooksAsTheWindowIsDescribed) {
    TForm2 form;
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("导出文件"));
    EXPECT_EQ(form.size(), QSize(305, 105));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "fixed size";
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(form.isModal());
    EXPECT_EQ(form.Panel1->geometry(), QRect(0, 0, 305, 105));
    EXPECT_NE(form.Panel1->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(form.Panel1Caption->text(), QString::fromUtf8("正在保存，请稍候............."));
    EXPECT_TRUE(form.Panel1Caption->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(form.Button1->text(), QString::fromUtf8("取  消"));
    EXPECT_EQ(form.Button1->geometry(), QRect(192, 64, 75, 25));
    EXPECT_EQ(form.Button1->parentWidget(), form.Panel1);
}

TEST(TForm2, HiddenAtStartShownModelessHiddenByItsButton) {
    TForm2 form;
    EXPECT_FALSE(form.isShowing());
    form.showProgress();
    EXPECT_TRUE(form.isShowing());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "modeless";
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_FALSE(form.isShowing());
    // The same instance serves again.
    form.showProgress();
    EXPECT_TRUE(form.isShowing());
    form.close();
    EXPECT_FALSE(form.isShowing());
}

TEST(TForm2, ClosingAHiddenDialogChangesNothing) {
    TForm2 form;
    form.close();
    EXPECT_FALSE(form.isShowing());
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("导出文件"));
    form.showProgress();
    EXPECT_TRUE(form.isShowing());
}

}  // namespace
}  // namespace wormgear
