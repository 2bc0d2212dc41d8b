// The tolerance editor driven offscreen: rows added and filled as the grid's
// editor fills them, missing values shown as missing, refused tables leaving
// the file as it was, and an old db1.mdb given the table.
#include <QApplication>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include "dialogs/testing/scripted_dialogs.h"
#include "settings/tests/test_support.h"
#include "settings/tolerance_editor.h"
#include "settings/tolerance_store.h"

namespace wormgear {
namespace {

using testing::NumberedTable;
using testing::ProgramDirectory;

class ToleranceEditorTest : public ::testing::Test {
 protected:
    ToleranceEditorTest() : form(dir.path(), '.', dialogs, [this] { ++reloads; }) {}
    ~ToleranceEditorTest() override { form.hide(); }
    void open() {
        form.show();
        QApplication::processEvents();
        ASSERT_TRUE(form.isTableOpen());
    }
    int column(const char* name) const { return form.model()->fieldIndex(QLatin1String(name)); }
    // What the grid's editor hands the model when a cell is typed into.
    bool type(int row, const char* name, const QString& text) {
        return form.model()->setData(form.model()->index(row, column(name)), text, Qt::EditRole);
    }
    QString shown(int row, const char* name) const {
        return form.model()->data(form.model()->index(row, column(name)), Qt::DisplayRole).toString();
    }
    void click(QPushButton* button) {
        QTest::mouseClick(button, Qt::LeftButton);
        QApplication::processEvents();
    }

    ProgramDirectory dir;
    ScriptedDialogs dialogs;
    int reloads = 0;
    TToleranceEditor form;
};

TEST_F(ToleranceEditorTest, ABandTypedInIsStoredWithItsMissingValuesAsNull) {
    open();
    EXPECT_EQ(form.model()->rowCount(), 0);
    click(form.AddButton);
    ASSERT_EQ(form.model()->rowCount(), 1);
    EXPECT_TRUE(type(0, "DJ", QStringLiteral("8")));
    EXPECT_TRUE(type(0, "A_FROM", QStringLiteral("160")));
    EXPECT_TRUE(type(0, "A_TO", QStringLiteral("250")));
    EXPECT_TRUE(type(0, "FA", QStringLiteral("65")));
    EXPECT_TRUE(type(0, "WORM_ESS", QStringLiteral("0")));
    // Missing is shown as missing, never as 0; a 0 typed is a 0.
    EXPECT_EQ(shown(0, "FX"), MissingValueText());
    EXPECT_EQ(shown(0, "WORM_ESS"), QStringLiteral("0"));
    click(form.SaveButton);
    ASSERT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("数据保存成功......")});
    EXPECT_EQ(reloads, 1);
    // Read back by a connection of the test's own.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tolerance-reader"));
        db.setDatabaseName(dir.database());
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(
            QStringLiteral("SELECT DJ, A_FROM, A_TO, FA, WORM_ESS, FX IS NULL, WHEEL_FR IS NULL FROM gongcha")));
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toInt(), 8);
        EXPECT_EQ(query.value(1).toDouble(), 160);
        EXPECT_EQ(query.value(2).toDouble(), 250);
        EXPECT_EQ(query.value(3).toDouble(), 65);
        EXPECT_FALSE(query.value(4).isNull());
        EXPECT_EQ(query.value(4).toDouble(), 0);
        EXPECT_EQ(query.value(5).toInt(), 1);
        EXPECT_EQ(query.value(6).toInt(), 1);
        EXPECT_FALSE(query.next());
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("tolerance-reader"));
    const ToleranceTable table = LoadTolerances(dir.path(), '.');
    ASSERT_EQ(table.bands.size(), 1u);
    EXPECT_FALSE(table.bands[0].value(ToleranceQuantity::MidPlane));
}

TEST_F(ToleranceEditorTest, ATextThatIsNoNumberIsRefusedAndAnEmptyCellIsMissing) {
    open();
    click(form.AddButton);
    EXPECT_FALSE(type(0, "FA", QStringLiteral("六十五")));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("六十五")));
    EXPECT_EQ(shown(0, "FA"), MissingValueText());
    EXPECT_TRUE(type(0, "FA", QStringLiteral("65")));
    EXPECT_TRUE(type(0, "FA", QString()));
    EXPECT_EQ(shown(0, "FA"), MissingValueText());
}

TEST_F(ToleranceEditorTest, ContradictingBandsAreRefusedAndTheFileStaysAsItWas) {
    open();
    const QByteArray before = dir.bytes(QStringLiteral("db1.mdb"));
    for (int row = 0; row < 2; ++row) {
        click(form.AddButton);
        type(row, "DJ", QStringLiteral("7"));
    }
    type(0, "A_FROM", QStringLiteral("80"));
    type(0, "A_TO", QStringLiteral("160"));
    type(1, "A_FROM", QStringLiteral("120"));
    type(1, "A_TO", QStringLiteral("250"));
    click(form.SaveButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("第 2 行"))) << dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("第 1 行"))) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(reloads, 0);
    EXPECT_EQ(dir.bytes(QStringLiteral("db1.mdb")), before);
    // Mended, the same edits are saved.
    type(1, "A_FROM", QStringLiteral("160"));
    click(form.SaveButton);
    EXPECT_EQ(dialogs.messages.back().text, QStringLiteral("数据保存成功......"));
    EXPECT_EQ(LoadTolerances(dir.path(), '.').bands.size(), 2u);
}

TEST_F(ToleranceEditorTest, ABandWithoutItsGradeIsRefused) {
    open();
    click(form.AddButton);
    type(0, "A_FROM", QStringLiteral("0"));
    type(0, "A_TO", QStringLiteral("100"));
    click(form.SaveButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("精度等级")));
    EXPECT_TRUE(LoadTolerances(dir.path(), '.').empty());
}

TEST_F(ToleranceEditorTest, ARemovedRowIsGoneAfterTheSave) {
    open();
    click(form.AddButton);
    type(0, "DJ", QStringLiteral("6"));
    type(0, "A_FROM", QStringLiteral("0"));
    type(0, "A_TO", QStringLiteral("100"));
    click(form.SaveButton);
    ASSERT_EQ(LoadTolerances(dir.path(), '.').bands.size(), 1u);
    form.Grid->setCurrentIndex(form.model()->index(0, column("DJ")));
    click(form.RemoveButton);
    click(form.SaveButton);
    EXPECT_TRUE(LoadTolerances(dir.path(), '.').empty());
}

TEST(ToleranceEditorOnAnOldStore, TheTableIsCreatedEmptyAndTheCoefficientsStay) {
    ProgramDirectory dir;
    dir.write(QStringLiteral("db1.mdb"), NumberedTable(15));
    ScriptedDialogs dialogs;
    TToleranceEditor form(dir.path(), '.', dialogs, {});
    form.show();
    QApplication::processEvents();
    ASSERT_TRUE(form.isTableOpen());
    EXPECT_EQ(form.model()->rowCount(), 0);
    form.hide();
    {
        CoefficientConnection connection(dir.database(), CoefficientAccess::ReadOnly);
        EXPECT_TRUE(HasToleranceTable(connection.database()));
    }
    EXPECT_EQ(LoadCoefficients(dir.path(), '.').table.c[14], 15.25);
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace wormgear
