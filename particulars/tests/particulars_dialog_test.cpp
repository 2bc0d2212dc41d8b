// The particulars' dialog driven offscreen as a user drives it: defaults in
// the empty boxes, a refused entry kept in its box with the message naming it,
// 恢复默认, and what 确定 hands back.
#include "particulars/particulars_dialog.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "calc/testing/worked_example.h"
#include "dialogs/testing/scripted_dialogs.h"

namespace wormgear {
namespace {

using Id = ParticularId;

TWormDesign WorkedExampleRecord() {
    TWormDesign design;
    return Calculate(WorkedExampleInputs(), false, WorkedExampleCoefficients(), '.', design).design;
}

QLineEdit* Line(const TParticularsDialog& dialog, Id id) { return qobject_cast<QLineEdit*>(dialog.box(id)); }
QPlainTextEdit* Lines(const TParticularsDialog& dialog, Id id) { return qobject_cast<QPlainTextEdit*>(dialog.box(id)); }
void PressOk(TParticularsDialog& dialog) {
    QTest::mouseClick(dialog.buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

TEST(ParticularsDialog, EmptyBoxesShowTheDefaultsOfTheCalculatedDesign) {
    ScriptedDialogs dialogs;
    const TWormDesign design = WorkedExampleRecord();
    TParticularsDialog dialog({}, design, QStringLiteral("pair.cqb"), '.', dialogs);
    dialog.show();
    EXPECT_EQ(Line(dialog, Id::WheelDrawingNumber)->placeholderText(), QStringLiteral("pair-02"));
    EXPECT_EQ(Line(dialog, Id::WheelDrawingNumber)->text(), QString());
    EXPECT_EQ(Line(dialog, Id::WormLeftShaftLength)->placeholderText().toStdString(),
              DefaultLengthText(*DefaultLength(Id::WormLeftShaftLength, design), '.'));
    EXPECT_EQ(Line(dialog, Id::WormKeywayWidth)->placeholderText(), QStringLiteral("无"));
    EXPECT_EQ(Line(dialog, Id::WormMaterial)->placeholderText(), QString());  // no invented material
    EXPECT_EQ(Lines(dialog, Id::WheelRequirements)->toPlainText().toStdString(), DefaultRequirementsText(Piece::Wheel));
    // Four tabs: the title block and the three parts.
    EXPECT_EQ(dialog.tabs()->count(), 4);
    // Untouched, 确定 hands back no entry at all: everything stays a default.
    PressOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.particulars(), Particulars{});
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(ParticularsDialog, BeforeACalculationTheSizesSayTheyComeWithIt) {
    ScriptedDialogs dialogs;
    TParticularsDialog dialog({}, std::nullopt, QString(), '.', dialogs);
    EXPECT_EQ(Line(dialog, Id::WheelBoreDiameter)->placeholderText(), QStringLiteral("计算后给出"));
    EXPECT_EQ(Line(dialog, Id::HobDrawingNumber)->placeholderText(), QStringLiteral("WG-03"));
}

TEST(ParticularsDialog, ATooLongEntryIsRefusedByNameAndLimitAndStaysInItsBox) {
    ScriptedDialogs dialogs;
    Particulars given;
    Text(given, Id::Designer) = "李工";
    TParticularsDialog dialog(given, WorkedExampleRecord(), QStringLiteral("pair.cqb"), '.', dialogs);
    dialog.show();
    EXPECT_EQ(Line(dialog, Id::Designer)->text(), QStringLiteral("李工"));
    const QString long41 = QString(41, QChar(u'钢'));
    dialog.tabs()->setCurrentIndex(0);
    Line(dialog, Id::WheelMaterial)->setText(long41);
    Line(dialog, Id::WormLeftShaftDiameter)->setText(QStringLiteral("45"));
    PressOk(dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const QString text = dialogs.messages[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("蜗轮材料"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("40"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("41"))) << text.toStdString();
    // Nothing lost: the text is whole, and the wheel's tab is in front.
    EXPECT_EQ(Line(dialog, Id::WheelMaterial)->text(), long41);
    EXPECT_EQ(Line(dialog, Id::WormLeftShaftDiameter)->text(), QStringLiteral("45"));
    EXPECT_EQ(dialog.tabs()->currentIndex(), 2);

    Line(dialog, Id::WheelMaterial)->setText(QStringLiteral("ZCuSn10Pb1"));
    PressOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const Particulars taken = dialog.particulars();
    EXPECT_EQ(Text(taken, Id::WheelMaterial), "ZCuSn10Pb1");
    EXPECT_EQ(Text(taken, Id::Designer), "李工");
    EXPECT_EQ(Text(taken, Id::WormLeftShaftDiameter), "45");
    EXPECT_EQ(Text(taken, Id::WormRightShaftDiameter), "");
}

TEST(ParticularsDialog, ALengthThatIsNoNumberIsRefused) {
    ScriptedDialogs dialogs;
    TParticularsDialog dialog({}, WorkedExampleRecord(), QString(), ',', dialogs);
    dialog.show();
    Line(dialog, Id::HobBoreDiameter)->setText(QStringLiteral("32.5"));  // the point is no separator here
    PressOk(dialog);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("滚刀内孔直径")));
    Line(dialog, Id::HobBoreDiameter)->setText(QStringLiteral("32,5"));
    PressOk(dialog);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Text(dialog.particulars(), Id::HobBoreDiameter), "32,5");
}

TEST(ParticularsDialog, RequirementsAreTheUsersUntilRestoredToTheDefault) {
    ScriptedDialogs dialogs;
    Particulars given;
    Text(given, Id::WormRequirements) = "1. 调质 HB 240～280。\n2. 未注倒角 C2。";
    TParticularsDialog dialog(given, WorkedExampleRecord(), QString(), '.', dialogs);
    dialog.show();
    QPlainTextEdit* box = Lines(dialog, Id::WormRequirements);
    EXPECT_EQ(box->toPlainText().toStdString(), Text(given, Id::WormRequirements));
    EXPECT_EQ(Text(dialog.particulars(), Id::WormRequirements), Text(given, Id::WormRequirements));
    dialog.tabs()->setCurrentIndex(1);
    QTest::mouseClick(dialog.restoreButton(Piece::Worm), Qt::LeftButton);
    EXPECT_EQ(box->toPlainText().toStdString(), DefaultRequirementsText(Piece::Worm));
    // The default as shown is the default again, not a copy of it.
    EXPECT_EQ(Text(dialog.particulars(), Id::WormRequirements), "");
    // A thirteenth line is refused.
    QString thirteen;
    for (int n = 1; n <= 13; ++n) thirteen += QStringLiteral("%1. 行\n").arg(n);
    box->setPlainText(thirteen);
    PressOk(dialog);
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("12"))) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(box->toPlainText(), thirteen);
}

TEST(ParticularsDialog, CancelHandsBackNothing) {
    ScriptedDialogs dialogs;
    TParticularsDialog dialog({}, std::nullopt, QString(), '.', dialogs);
    dialog.show();
    Line(dialog, Id::Company)->setText(QStringLiteral("某厂"));
    QTest::mouseClick(dialog.buttons()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace wormgear
