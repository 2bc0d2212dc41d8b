// The coefficient editor TForm5 driven offscreen the way a user drives it:
// rows picked in the grid, values typed into DBEdit1, the two buttons.
#include <QApplication>
#include <QDataWidgetMapper>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <unistd.h>

#include "dialogs/testing/scripted_dialogs.h"
#include "files/testing/faults.h"
#include "settings/coefficient_editor.h"
#include "settings/coefficient_store.h"
#include "settings/settings_files.h"
#include "settings/tests/test_support.h"

namespace wormgear {
namespace {

using testing::Execute;
using testing::NumberedTable;
using testing::ProgramDirectory;
using testing::StoredN;

const QString kSaved = QStringLiteral("数据保存成功......");
const QString kSaveFailed = QStringLiteral("数据保存失败.......");

// The main window's side: each reload loads the coefficients the way its
// show step does and keeps what Label50 would show.
struct MainWindowStandIn {
    QString programDirectory;
    int reloads = 0;
    bool reloadFailed = false;
    CoefficientLoad last;
    void reload() {
        ++reloads;
        try {
            last = LoadCoefficients(programDirectory, '.');
        } catch (const CoefficientStoreError&) {
            reloadFailed = true;
        }
    }
};

class EditorTest : public ::testing::Test {
 public:
    ~EditorTest() override { form.hide(); }

 protected:
    EditorTest() : main{dir.path(), 0, false, {}}, form(dir.path(), '.', dialogs, [this] { main.reload(); }) {}

    void open() {
        form.show();
        QApplication::processEvents();
        ASSERT_TRUE(form.isTableOpen());
    }
    // A click on the row's first cell, as a user picks a line of the grid.
    void selectRow(int row) {
        const QRect cell = form.DBGrid1->visualRect(form.DBGrid1->model()->index(row, 0));
        ASSERT_TRUE(cell.isValid()) << "row " << row << " is not on screen";
        QTest::mouseClick(form.DBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        QApplication::processEvents();
    }
    void type(const QString& text) {
        form.DBEdit1->setFocus();
        form.DBEdit1->selectAll();
        QTest::keyClicks(form.DBEdit1, text);
    }
    QString cell(int row, int column) const { return form.DBGrid1->model()->index(row, column).data().toString(); }
    QStringList messageTexts() const { return dialogs.messageTexts(); }

    ProgramDirectory dir;
    ScriptedDialogs dialogs;
    MainWindowStandIn main;
    TForm5 form;
};

TEST_F(EditorTest, LayoutNamesAndTexts) {
    open();
    EXPECT_EQ(form.windowTitle(), "计算设置");
    EXPECT_EQ(form.size(), QSize(627, 384));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());  // fixed size
    struct Control {
        const char* name;
        QRect geometry;
        QString text;
    };
    const Control controls[] = {
        {"GroupBox1", {8, 8, 513, 369}, "  参数设置  "},
        {"Label1", {32, 27, 33, 13}, "N值："},
        {"DBEdit1", {64, 24, 57, 21}, "0.875"},
        {"DBText1", {128, 29, 369, 13}, testing::ShippedTable().rows[0][1].toString()},
        {"DBGrid1", {40, 48, 465, 313}, {}},
        {"Button1", {536, 312, 75, 25}, "保  存"},
        {"Button2", {536, 344, 75, 25}, "关  闭"},
    };
    for (const Control& c : controls) {
        QWidget* widget = form.findChild<QWidget*>(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
        QString text = widget->property("text").toString();
        if (auto* group = qobject_cast<QGroupBox*>(widget)) text = group->title();
        if (!c.text.isNull()) {
            EXPECT_EQ(text, c.text) << c.name;
        }
    }
    EXPECT_EQ(form.DBEdit1->parentWidget(), form.GroupBox1);
    EXPECT_EQ(form.DBGrid1->parentWidget(), form.GroupBox1);
}

TEST_F(EditorTest, GridShowsTheTableReadOnlyByWholeRows) {
    open();
    QTableView* grid = form.DBGrid1;
    ASSERT_EQ(grid->model()->rowCount(), 15);
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    // What each column holds, not its name in the file.
    EXPECT_EQ(titles, (QStringList{"序号", "计算法则", "N值", "出厂值"}));
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(form.currentRow(), 0);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Vertical).toString(), "▶");
    EXPECT_EQ(grid->model()->headerData(1, Qt::Vertical).toString(), "");
    // Typing into a cell changes nothing.
    grid->setCurrentIndex(grid->model()->index(2, 2));
    QTest::keyClicks(grid, "9");
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(cell(2, 2), "0.7");
}

TEST_F(EditorTest, NumbersAppearAsFormatRealPrintsThem) {
    CoefficientTableSpec table = NumberedTable(15);
    table.rows[0][2] = 0.00001;  // FormatReal: "1E-5"
    table.rows[1][2] = 2.0;      // stored as a real, shown without a point
    table.rows[2][2] = 1.0 / 3;
    table.rows[3][2] = 1e15;
    dir.write("db1.mdb", table);
    open();
    const char* expected[] = {"1E-5", "2", "0.333333333333333", "1E15"};
    for (int row = 0; row < 4; ++row) EXPECT_EQ(cell(row, 2), expected[row]) << "row " << row + 1;
    EXPECT_EQ(form.DBEdit1->text(), "1E-5");
    selectRow(2);
    EXPECT_EQ(form.DBEdit1->text(), "0.333333333333333");
}

TEST_F(EditorTest, DataControlsFollowTheCurrentRow) {
    open();
    const CoefficientTableSpec shipped = testing::ShippedTable();
    selectRow(4);
    EXPECT_EQ(form.currentRow(), 4);
    EXPECT_EQ(form.DBEdit1->text(), "0");
    EXPECT_EQ(form.DBText1->text(), shipped.rows[4][1].toString());
    QTest::keyClick(form.DBGrid1, Qt::Key_Down);
    EXPECT_EQ(form.currentRow(), 5);
    EXPECT_EQ(form.DBEdit1->text(), "0.55");
    EXPECT_EQ(form.DBGrid1->model()->headerData(5, Qt::Vertical).toString(), "▶");
}

TEST_F(EditorTest, EditsOfTwoRowsAreSavedTogetherAndTheMainWindowReloads) {
    open();
    selectRow(2);
    type("0.8");
    selectRow(4);
    type("0.125");
    EXPECT_EQ(cell(2, 2), "0.8");                           // pending, in the grid
    EXPECT_EQ(StoredN(dir.database(), 3).toDouble(), 0.7);  // not yet in the file
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, "提示");
    EXPECT_EQ(dialogs.messages[0].text, kSaved);
    EXPECT_EQ(StoredN(dir.database(), 3).toDouble(), 0.8);
    EXPECT_EQ(StoredN(dir.database(), 5).toDouble(), 0.125);
    EXPECT_EQ(StoredN(dir.database(), 4).toDouble(), 0.45);
    EXPECT_EQ(main.reloads, 1);
    EXPECT_FALSE(main.reloadFailed);
    EXPECT_EQ(main.last.table.c[2], 0.8);
    EXPECT_EQ(main.last.table.c[4], 0.125);
    EXPECT_TRUE(main.last.rulesModified);  // Label50 shown
    EXPECT_TRUE(form.isVisible());         // the dialog stays open
    EXPECT_EQ(form.currentRow(), 4);
    EXPECT_EQ(form.DBEdit1->text(), "0.125");
}

TEST_F(EditorTest, SavingWithoutAChangeStillReportsAndReloads) {
    open();
    const QByteArray before = dir.bytes("db1.mdb");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(messageTexts(), QStringList{kSaved});
    EXPECT_EQ(main.reloads, 1);
    EXPECT_FALSE(main.last.rulesModified);
    EXPECT_EQ(dir.bytes("db1.mdb"), before);
}

TEST_F(EditorTest, SaveTakesTheValueStillInTheBox) {
    open();
    selectRow(2);
    type("0.75");
    ASSERT_TRUE(form.DBEdit1->hasFocus() || !QApplication::focusWidget());
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(messageTexts(), QStringList{kSaved});
    EXPECT_EQ(StoredN(dir.database(), 3).toDouble(), 0.75);
}

TEST_F(EditorTest, ClosingDiscardsPendingEditsAndReopeningShowsTheFile) {
    open();
    selectRow(2);
    type("0.8");
    selectRow(4);
    type("3");  // still in the box
    const QByteArray before = dir.bytes("db1.mdb");
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.isTableOpen());
    EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty());
    EXPECT_EQ(dir.bytes("db1.mdb"), before);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(main.reloads, 0);

    open();
    EXPECT_EQ(cell(2, 2), "0.7");
    EXPECT_EQ(cell(4, 2), "0");
    selectRow(2);
    EXPECT_EQ(form.DBEdit1->text(), "0.7");
}

TEST_F(EditorTest, ReopeningShowsTheValuesLastSaved) {
    open();
    selectRow(1);
    type("1.1");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    selectRow(3);
    type("0.4");  // typed, never saved
    form.close();
    open();
    EXPECT_EQ(cell(1, 2), "1.1");
    EXPECT_EQ(cell(3, 2), "0.45");
}

TEST_F(EditorTest, TheCloseBoxDiscardsLikeTheButton) {
    open();
    type("5");
    form.close();  // the title bar's close box
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(StoredN(dir.database(), 1).toDouble(), 0.875);
}

TEST_F(EditorTest, EnterSavesNothingAndEscapeDoesNotClose) {
    open();
    type("0.9");
    QTest::keyClick(form.DBEdit1, Qt::Key_Return);
    QTest::keyClick(form.DBEdit1, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(StoredN(dir.database(), 1).toDouble(), 0.875);
}

TEST_F(EditorTest, AFailedSaveWritesNothingAndKeepsThePendingChanges) {
    // The file refuses any change of row 5, after row 3 has been written in
    // the same batch: the transaction must take row 3 back as well.
    Execute(dir.database(), {"CREATE TRIGGER refuse_row_5 BEFORE UPDATE ON nzhi WHEN OLD.ID = 5 "
                             "BEGIN SELECT RAISE(ABORT, 'refused'); END"});
    open();
    selectRow(2);
    type("0.8");
    selectRow(4);
    type("0.125");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(dialogs.messages.back().caption, "提示");
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{kSaveFailed});
    EXPECT_TRUE(ScriptedDialogs::Detail(dialogs.messages.back()).startsWith(dir.database()))
        << dialogs.messages.back().text.toStdString();
    EXPECT_EQ(StoredN(dir.database(), 3).toDouble(), 0.7);
    EXPECT_EQ(StoredN(dir.database(), 5).toDouble(), 0.0);
    EXPECT_EQ(main.reloads, 0);    // nothing reached the file: the main window keeps its coefficients
    EXPECT_EQ(cell(2, 2), "0.8");  // still pending
    EXPECT_EQ(cell(4, 2), "0.125");
    EXPECT_EQ(form.DBEdit1->text(), "0.125");

    Execute(dir.database(), {"DROP TRIGGER refuse_row_5"});
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageHeadlines(), (QStringList{kSaveFailed, kSaved}));
    EXPECT_EQ(StoredN(dir.database(), 3).toDouble(), 0.8);
    EXPECT_EQ(StoredN(dir.database(), 5).toDouble(), 0.125);
    EXPECT_EQ(main.reloads, 1);
    EXPECT_TRUE(main.last.rulesModified);
}

TEST_F(EditorTest, ASaveOnAReadOnlyFileFailsAndKeepsThePendingChanges) {
    if (geteuid() == 0) GTEST_SKIP() << "the superuser writes read-only files; see the locked-file case";
    ASSERT_TRUE(QFile::setPermissions(dir.database(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    open();
    type("0.9");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{kSaveFailed});
    EXPECT_EQ(StoredN(dir.database(), 1).toDouble(), 0.875);
    EXPECT_EQ(cell(0, 2), "0.9");
    EXPECT_EQ(main.reloads, 0);
    // The file becomes writable again: the same edits are saved, although the
    // table was opened while it was read-only.
    ASSERT_TRUE(QFile::setPermissions(dir.database(), QFile::ReadOwner | QFile::WriteOwner));
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageHeadlines(), (QStringList{kSaveFailed, kSaved}));
    EXPECT_EQ(StoredN(dir.database(), 1).toDouble(), 0.9);
}

TEST_F(EditorTest, ASaveOnALockedFileFailsAndKeepsThePendingChanges) {
    open();
    selectRow(6);
    type("2.5");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "locker");
        other.setDatabaseName(dir.database());
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        EXPECT_TRUE(lock.exec("ROLLBACK"));
    }
    QSqlDatabase::removeDatabase("locker");
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{kSaveFailed});
    // Beneath the message: the file and that another program holds it.
    EXPECT_EQ(ScriptedDialogs::Detail(dialogs.messages[0]), dir.database() + "：数据库正被其他程序锁定");
    EXPECT_EQ(main.reloads, 0);
    EXPECT_EQ(StoredN(dir.database(), 7).toDouble(), 2.0);
    EXPECT_EQ(cell(6, 2), "2.5");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageHeadlines(), (QStringList{kSaveFailed, kSaved}));
    EXPECT_EQ(StoredN(dir.database(), 7).toDouble(), 2.5);
    EXPECT_EQ(main.reloads, 1);
}

TEST_F(EditorTest, AfterAFullDiskTheSameEditsAreSavedOnceThereIsRoom) {
    wormgear::testing::SmallFileSystem disk(512 << 10);
    if (!disk.available()) GTEST_SKIP() << "mounting a small file system needs the superuser";
    const QString program = QString::fromStdString(disk.path());
    ASSERT_TRUE(QFile::copy(dir.database(), program + "db1.mdb"));
    TForm5 editor(program, '.', dialogs, [this] { ++main.reloads; });
    editor.show();
    QApplication::processEvents();
    ASSERT_TRUE(editor.isTableOpen());
    editor.DBEdit1->setFocus();
    editor.DBEdit1->selectAll();
    QTest::keyClicks(editor.DBEdit1, "0.9");
    disk.fill();  // no room for the journal of the write
    QTest::mouseClick(editor.Button1, Qt::LeftButton);
    ASSERT_EQ(dialogs.messageHeadlines(), QStringList{kSaveFailed});
    EXPECT_TRUE(ScriptedDialogs::Detail(dialogs.messages[0]).startsWith(program + "db1.mdb："));
    EXPECT_EQ(StoredN(program + "db1.mdb", 1).toDouble(), 0.875);
    EXPECT_EQ(main.reloads, 0);
    disk.makeRoom();
    QTest::mouseClick(editor.Button1, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageHeadlines(), (QStringList{kSaveFailed, kSaved}));
    EXPECT_EQ(StoredN(program + "db1.mdb", 1).toDouble(), 0.9);
    EXPECT_EQ(main.reloads, 1);
    editor.close();
}

TEST_F(EditorTest, EditsTypedWhileTheFileWasReadOnlyAreSavedOnceItIsWritable) {
    // Read-only to the superuser too: the editor's connection can only read.
    wormgear::testing::ReadOnlyFile readOnly(QFile::encodeName(dir.database()).toStdString());
    if (!readOnly.active()) GTEST_SKIP() << "a read-only binding needs the superuser";
    open();
    type("0.9");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    ASSERT_EQ(dialogs.messageHeadlines(), QStringList{kSaveFailed});
    EXPECT_EQ(main.reloads, 0);
    readOnly.release();
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(dialogs.messageHeadlines(), (QStringList{kSaveFailed, kSaved}));
    EXPECT_EQ(StoredN(dir.database(), 1).toDouble(), 0.9);
    EXPECT_EQ(main.reloads, 1);
}

TEST_F(EditorTest, ATextThatIsNoNumberIsRefusedWhenItsRowIsCommitted) {
    open();
    selectRow(1);
    type("1.3");
    selectRow(2);
    type("1.2.3");
    selectRow(4);
    QApplication::processEvents();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_TRUE(dialogs.messages[0].text.contains("1.2.3")) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(form.currentRow(), 2);  // the user stays on the row to correct it
    EXPECT_EQ(form.DBGrid1->currentIndex().row(), 2);
    EXPECT_EQ(form.DBEdit1->text(), "1.2.3");
    EXPECT_EQ(cell(1, 2), "1.3");  // the earlier edit is still pending
    EXPECT_EQ(cell(2, 2), "0.7");

    type("0.72");
    selectRow(4);
    EXPECT_EQ(form.currentRow(), 4);
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_EQ(dialogs.messages.back().text, kSaved);
    EXPECT_EQ(StoredN(dir.database(), 2).toDouble(), 1.3);
    EXPECT_EQ(StoredN(dir.database(), 3).toDouble(), 0.72);
}

TEST_F(EditorTest, AnEmptyValueIsRefusedToo) {
    open();
    form.DBEdit1->clear();
    selectRow(3);
    QApplication::processEvents();
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(form.currentRow(), 0);
    EXPECT_EQ(StoredN(dir.database(), 1).toDouble(), 0.875);
}

TEST_F(EditorTest, ASaveWithARefusedValueInTheBoxFailsWithoutReloading) {
    open();
    selectRow(1);
    type("1.4");
    selectRow(2);
    type("-");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    EXPECT_EQ(dialogs.messages[1].caption, "提示");
    EXPECT_EQ(dialogs.messages[1].text, kSaveFailed);  // the value's own message said why
    EXPECT_EQ(StoredN(dir.database(), 2).toDouble(), 1.2);
    EXPECT_EQ(cell(1, 2), "1.4");
    EXPECT_EQ(main.reloads, 0);
}

TEST_F(EditorTest, TheValueBoxTakesOnlyCharactersOfNumbers) {
    open();
    type("4a,5e-1x");
    EXPECT_EQ(form.DBEdit1->text(), "4,5e-1");
}

TEST_F(EditorTest, ValuesTypedInAnotherFormAreStoredAsNumbers) {
    open();
    type(" 0.50 ");
    selectRow(1);
    EXPECT_EQ(cell(0, 2), "0.5");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    const QVariant stored = StoredN(dir.database(), 1);
    EXPECT_EQ(stored.typeId(), QMetaType::Double);
    EXPECT_EQ(stored.toDouble(), 0.5);
}

TEST_F(EditorTest, RowsBeyondTheFifteenthAreListedToo) {
    dir.write("db1.mdb", NumberedTable(20));
    open();
    EXPECT_EQ(form.DBGrid1->model()->rowCount(), 20);
}

TEST_F(EditorTest, NoticeFollowsSavingAndRestoring) {
    open();
    selectRow(3);
    type("0.5");
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    EXPECT_TRUE(main.last.rulesModified);
    form.close();
    ASSERT_TRUE(RestoreDefaultSettings(dialogs, dir.path(), '.'));
    main.reload();
    EXPECT_FALSE(main.last.rulesModified);
    EXPECT_EQ(main.last.table.c[3], 0.45);
}

struct ShowFailure {
    const char* name;
    std::function<void(const ProgramDirectory&)> spoil;
};

TEST(EditorShowFailure, ReportsClosesTheDialogAndLeavesTheProgramRunning) {
    const ShowFailure failures[] = {
        {"missing file", [](const ProgramDirectory& d) { QFile::remove(d.database()); }},
        {"not a database", [](const ProgramDirectory& d) { d.writeBytes("db1.mdb", "plain text"); }},
        {"missing table",
         [](const ProgramDirectory& d) {
             CoefficientTableSpec other = NumberedTable(15);
             other.name = "other";
             d.write("db1.mdb", other);
         }},
    };
    for (const ShowFailure& failure : failures) {
        ProgramDirectory dir;
        failure.spoil(dir);
        ScriptedDialogs dialogs;
        int reloads = 0;
        TForm5 form(dir.path(), '.', dialogs, [&] { ++reloads; });
        EXPECT_EQ(form.exec(), QDialog::Rejected) << failure.name;
        ASSERT_EQ(dialogs.messages.size(), 1u) << failure.name;
        EXPECT_EQ(dialogs.messages[0].caption, "提示");
        EXPECT_EQ(dialogs.messageHeadlines(), QStringList{kDataInitFailedMessage});
        EXPECT_TRUE(ScriptedDialogs::Detail(dialogs.messages[0]).startsWith(dir.database() + "："))
            << dialogs.messages[0].text.toStdString();
        EXPECT_FALSE(form.isVisible());
        EXPECT_FALSE(form.isTableOpen());
        EXPECT_EQ(reloads, 0);
        EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty()) << failure.name;
        if (QString(failure.name) == "missing file") {
            EXPECT_FALSE(QFile::exists(dir.database()));
        }
    }
}

TEST(EditorShowFailure, TheDialogOpensAgainOnceTheFileIsBack) {
    ProgramDirectory dir;
    const QByteArray shipped = dir.bytes("db1.mdb");
    QFile::remove(dir.database());
    ScriptedDialogs dialogs;
    TForm5 form(dir.path(), '.', dialogs, [] {});
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    dir.writeBytes("db1.mdb", shipped);
    form.show();
    QApplication::processEvents();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.isTableOpen());
    EXPECT_EQ(form.DBEdit1->text(), "0.875");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    form.close();
}

TEST(EditorPlace, TheWholeDialogSitsAtTheCentreOfTheScreenAtEveryOpening) {
    ProgramDirectory dir;
    ScriptedDialogs dialogs;
    TForm5 form(dir.path(), '.', dialogs, [] {});
    for (int opening = 1; opening <= 3; ++opening) {
        form.show();
        QApplication::processEvents();
        const QPoint centre = form.screen()->availableGeometry().center();
        const QPoint placed = form.frameGeometry().center();
        // Whole pixels: an odd size cannot be split evenly.
        EXPECT_LE((placed - centre).manhattanLength(), 1)
            << "opening " << opening << ": frame centre at " << placed.x() << "," << placed.y() << ", screen centre at "
            << centre.x() << "," << centre.y();
        form.close();
        QApplication::processEvents();
    }
}

TEST(EditorModal, ExecReturnsWhenTheCloseButtonIsPressed) {
    ProgramDirectory dir;
    ScriptedDialogs dialogs;
    TForm5 form(dir.path(), '.', dialogs, [] {});
    QTimer::singleShot(0, &form, [&] {
        EXPECT_TRUE(form.isTableOpen());
        QTest::mouseClick(form.Button2, Qt::LeftButton);
    });
    form.exec();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace wormgear
