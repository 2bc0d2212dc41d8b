// Design files through a stand-in window: save and reopen round trips, save in
// place, the command-line path, older binary and OpenDocument design files,
// numbers in the user's notation, the name rule, failures, and each path
// through the unsaved-data question.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "designfile/design_commands.h"
#include "designfile/design_file.h"
#include "dialogs/testing/scripted_dialogs.h"
#include "export/tests/test_support.h"
#include "export/workbook.h"
#include "files/testing/faults.h"

using namespace wormgear;

namespace {

const QString kSaveFailed = QStringLiteral("保存过程中发生错误,或者您还没安装EXCEL，保存失败........");
const QString kOpenFailed = QStringLiteral("文件打开错误,或者您还没安装EXCEL.........");
const QString kOpenFilter = QStringLiteral("*.cqb;;所有文件 (*)");

// Records what the commands do to the window.
class FakeWindow : public DesignWindow {
 public:
    QStringList fields = {
        "200",     "25",      "50", "2", "130", "0", "78", "0.3", "8j (GB/T16445-1996)", "8j (GB/T16445-1996)",
        "0.3*P/2", "0.2*P/2", "0.2"};
    std::vector<QString> events;  // "set 1 200", "calculate", "show", "close"
    DesignFileState* state = nullptr;
    char separator = '.';

    QString fieldText(int row) const override { return fields[row - 1]; }
    char decimalSeparator() const override { return separator; }
    void setFieldText(int row, const QString& text) override {
        fields[row - 1] = text;
        events.push_back(QStringLiteral("set %1 %2").arg(row).arg(text));
    }
    void calculate() override {
        events.push_back(QStringLiteral("calculate"));
        if (state) state->DesignSaved = false;  // as a successful calculation does
    }
    void showWindow() override { events.push_back(QStringLiteral("show")); }
    void closeWindow() override { events.push_back(QStringLiteral("close")); }
    bool closed() const { return !events.empty() && events.back() == QStringLiteral("close"); }
};

class DesignFilesTest : public ::testing::Test {
 protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        program = dir.path() + "/program/";
        ASSERT_TRUE(QDir().mkpath(program));
        ASSERT_TRUE(QFile::copy(QStringLiteral(WORMGEAR_BIN_DIR "/111.xls"), program + "111.xls"));
        window.state = &state;
    }

    std::string Cell(const QString& path, int row, int column = 1, char separator = '.') {
        return Workbook::Open(path.toStdString()).CellText(row, column, separator);
    }
    static QByteArray FileBytes(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
        return file.readAll();
    }

    QTemporaryDir dir;
    QString program;
    FakeWindow window;
    DesignFileState state;
    ScriptedDialogs dialogs;
};

TEST_F(DesignFilesTest, SaveAndReopenKeepsEveryTextAsTyped) {
    window.fields = {"200.50", "",         "x1",         "2",       "130",  "-0", "78",
                     "0.3",    "8级 精度", "  spaces  ", "0.3*P/2", "=1+1", "1e3"};
    const QStringList typed = window.fields;
    state.DesignSaved = false;
    dialogs.saveAnswers.push_back(dir.path() + "/abc");
    EXPECT_TRUE(SaveDesign(window, state, dialogs, program));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.filters, std::vector<QString>{"*.cqb"});
    EXPECT_EQ(dialogs.proposedNames, std::vector<QString>{QString()});
    EXPECT_TRUE(state.DesignSaved);
    EXPECT_TRUE(state.CurrentDesignFile.isEmpty());  // a new name is not remembered
    ASSERT_TRUE(QFile::exists(dir.path() + "/abc.cqb"));

    const DesignInputs texts = ReadDesignFile((dir.path() + "/abc.cqb").toStdString(), '.');
    for (int row = 1; row <= 13; ++row)
        EXPECT_EQ(texts.*DesignFields()[row - 1].text, typed[row - 1].toStdString()) << row;

    FakeWindow other;
    other.state = &state;
    dialogs.openAnswers.push_back(dir.path() + "/abc.cqb");
    OpenDesign(other, state, dialogs, {}, '.', program);
    EXPECT_EQ(dialogs.filters.back(), kOpenFilter);
    EXPECT_EQ(other.fields, typed);
    EXPECT_EQ(other.events.back(), "calculate");
    EXPECT_TRUE(state.DesignSaved);
    EXPECT_EQ(state.CurrentDesignFile, dir.path() + "/abc.cqb");
    EXPECT_TRUE(state.CommandLineOpenDone);
}

TEST_F(DesignFilesTest, TheExtensionIsAppendedOnlyToANameWithoutIt) {
    const struct {
        const char* typed;
        const char* written;
    } kNames[] = {
        {"abc", "abc.cqb"},
        {"abc.cqb", "abc.cqb"},  // typed with its extension
        {"ABC.CQB", "ABC.CQB"},  // an existing design picked in the dialog is overwritten
        {"wheel A=200.5", "wheel A=200.5.cqb"},
        {"hob v1.2", "hob v1.2.cqb"},
        {"x.xlsx", "x.xlsx.cqb"},
    };
    QFile existing(dir.path() + "/ABC.CQB");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("an older design");
    existing.close();
    for (const auto& name : kNames) {
        SCOPED_TRACE(name.typed);
        window.fields[0] = QString::fromUtf8(name.typed);
        dialogs.saveAnswers.push_back(dir.path() + "/" + QString::fromUtf8(name.typed));
        EXPECT_TRUE(SaveDesign(window, state, dialogs, program));
        EXPECT_EQ(Cell(dir.path() + "/" + QString::fromUtf8(name.written), 1), name.typed);
    }
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().join("|");
    QStringList written = QDir(dir.path()).entryList(QDir::Files);
    written.sort();
    EXPECT_EQ(written, (QStringList{"ABC.CQB", "abc.cqb", "hob v1.2.cqb", "wheel A=200.5.cqb", "x.xlsx.cqb"}));
}

TEST_F(DesignFilesTest, CancelledSaveWritesNothingButCountsAsSaved) {
    const QByteArray templateBytes = [&] {
        QFile f(program + "111.xls");
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    state.DesignSaved = false;
    dialogs.saveAnswers.push_back(std::nullopt);
    EXPECT_TRUE(SaveDesign(window, state, dialogs, program));
    EXPECT_TRUE(state.DesignSaved);
    EXPECT_TRUE(dialogs.messages.empty());
    QFile f(program + "111.xls");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), templateBytes);  // the template is never changed
    EXPECT_EQ(QDir(program).entryList(QDir::Files), QStringList{"111.xls"});
}

TEST_F(DesignFilesTest, SaveInPlaceKeepsTheOtherCells) {
    dialogs.saveAnswers.push_back(dir.path() + "/d");
    ASSERT_TRUE(SaveDesign(window, state, dialogs, program));
    const QString file = dir.path() + "/d.cqb";
    {
        Workbook book = Workbook::Open(file.toStdString());
        book.SetCellText(2, 2, "note beside");
        book.SetCellText(14, 1, "below the inputs");
        book.Save();
    }
    state.CurrentDesignFile = file;
    state.DesignSaved = false;
    window.fields[0] = "210";
    EXPECT_TRUE(SaveDesign(window, state, dialogs, program));  // no dialog scripted: none may appear
    EXPECT_EQ(Cell(file, 1), "210");
    EXPECT_EQ(Cell(file, 2, 2), "note beside");
    EXPECT_EQ(Cell(file, 14), "below the inputs");
    EXPECT_TRUE(state.DesignSaved);
}

TEST_F(DesignFilesTest, FailedSaveKeepsTheOldFileAndTheFlag) {
    dialogs.saveAnswers.push_back(dir.path() + "/keep");
    ASSERT_TRUE(SaveDesign(window, state, dialogs, program));
    const QString file = dir.path() + "/keep.cqb";
    state.DesignSaved = false;

    // The target folder does not exist: the save fails with its message, and
    // beneath it the file and the reason.
    dialogs.saveAnswers.push_back(dir.path() + "/no/such/folder/x");
    EXPECT_FALSE(SaveDesign(window, state, dialogs, program));
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{kSaveFailed});
    EXPECT_EQ(ScriptedDialogs::Detail(dialogs.messages.back()),
              "无法在目标文件夹中创建文件“" + dir.path() + "/no/such/folder/x.cqb”：没有那个文件或目录");
    EXPECT_EQ(dialogs.messages.back().caption, ApplicationTitle());
    EXPECT_FALSE(state.DesignSaved);

    // A save in place whose target became a folder fails before anything is
    // replaced; the design file beside it is untouched.
    state.CurrentDesignFile = file;
    window.fields[0] = "999";
    ASSERT_TRUE(QFile::rename(file, file + ".moved"));
    ASSERT_TRUE(QDir().mkpath(file));
    EXPECT_FALSE(SaveDesign(window, state, dialogs, program));
    EXPECT_EQ(dialogs.messageHeadlines(), (QStringList{kSaveFailed, kSaveFailed}));
    EXPECT_TRUE(ScriptedDialogs::Detail(dialogs.messages.back()).contains(file)) << dialogs.messages.back().text;
    EXPECT_TRUE(QFileInfo(file).isDir());
    EXPECT_EQ(Cell(file + ".moved", 1), "200");
}

TEST_F(DesignFilesTest, ASaveInPlaceOnAFailingDiskLeavesTheFileByteForByte) {
    dialogs.saveAnswers.push_back(dir.path() + "/d");
    ASSERT_TRUE(SaveDesign(window, state, dialogs, program));
    const QString file = dir.path() + "/d.cqb";
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    state.CurrentDesignFile = file;
    state.DesignSaved = false;
    window.fields[0] = "999";
    {
        wormgear::testing::FileSizeLimit full(512);
        EXPECT_FALSE(SaveDesign(window, state, dialogs, program));
    }
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
    EXPECT_FALSE(state.DesignSaved);
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{kSaveFailed});
    EXPECT_EQ(ScriptedDialogs::Detail(dialogs.messages[0]), "无法写入文件“" + file + "”：文件过大");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"d.cqb"});
}

TEST_F(DesignFilesTest, ASaveAfterTheOpenedFileVanishedOrWasDamagedWritesAFreshOneThere) {
    const struct {
        const char* what;
        std::function<void(const QString&)> spoil;
    } kSpoils[] = {
        {"deleted", [](const QString& file) { QFile::remove(file); }},
        {"damaged",
         [](const QString& file) {
             QFile damaged(file);
             ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
             damaged.write("PK\x03\x04 no longer a workbook");
         }},
    };
    for (const auto& spoil : kSpoils) {
        SCOPED_TRACE(spoil.what);
        const QString file = dir.path() + "/" + spoil.what + ".cqb";
        dialogs.saveAnswers.push_back(dir.path() + "/" + spoil.what);
        ASSERT_TRUE(SaveDesign(window, state, dialogs, program));
        state.CurrentDesignFile = file;
        state.DesignSaved = false;
        spoil.spoil(file);
        window.fields[0] = "321";
        // No dialog is scripted: a save in place asks nothing.
        EXPECT_TRUE(SaveDesign(window, state, dialogs, program));
        EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().join("|");
        EXPECT_TRUE(state.DesignSaved);
        EXPECT_EQ(state.CurrentDesignFile, file);
        const DesignInputs saved = ReadDesignFile(file.toStdString(), '.');
        EXPECT_EQ(saved.CentreDistance, "321");
        EXPECT_EQ(saved.WormAccuracy, "8j (GB/T16445-1996)");
        // Saving again now writes in place as before.
        window.fields[1] = "30";
        EXPECT_TRUE(SaveDesign(window, state, dialogs, program));
        EXPECT_EQ(Cell(file, 2), "30");
    }
}

TEST_F(DesignFilesTest, MissingTemplateShowsTheMessageThenTheClosingStepsFail) {
    QFile::remove(program + "111.xls");
    state.DesignSaved = false;
    EXPECT_THROW(SaveDesign(window, state, dialogs, program), std::runtime_error);
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{kSaveFailed + "\n无法打开文件“" + program + "111.xls”：没有那个文件或目录"});
    EXPECT_FALSE(state.DesignSaved);
}

TEST(CommandLineTest, FirstFourArgumentsJoinedAndTrimmed) {
    const struct {
        QStringList arguments;
        QString path;
    } cases[] = {
        {{"C:\\My", "Designs\\a.cqb"}, "C:\\My Designs\\a.cqb"},
        {{"/home/me/My Designs/a.cqb"}, "/home/me/My Designs/a.cqb"},  // quoted: one argument
        {{"a", "b", "c", "d", "e", "f"}, "a b c d"},                   // a fifth is ignored
        {{" a.cqb\r"}, "a.cqb"},
        {{"", "b.cqb"}, ""},  // first empty: no file
        {{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandLineDesignPath(c.arguments), c.path) << c.arguments.join('|').toStdString();
}

TEST_F(DesignFilesTest, CommandLineOpenShowsTheWindowFirstAndOnlyOnce) {
    dialogs.saveAnswers.push_back(dir.path() + "/My Designs");
    ASSERT_TRUE(SaveDesign(window, state, dialogs, program));
    FakeWindow opened;
    opened.state = &state;
    state.DesignSaved = false;
    const QStringList arguments = (dir.path() + "/My Designs.cqb").split(' ');
    OpenDesign(opened, state, dialogs, arguments, '.', program);
    ASSERT_GE(opened.events.size(), 15u);
    EXPECT_EQ(opened.events.front(), "show");
    EXPECT_EQ(opened.events[1], "set 1 200");
    EXPECT_EQ(opened.events[13], "set 13 0.2");
    EXPECT_EQ(opened.events[14], "calculate");
    EXPECT_TRUE(state.DesignSaved);
    EXPECT_EQ(state.CurrentDesignFile, dir.path() + "/My Designs.cqb");
    EXPECT_TRUE(state.CommandLineOpenDone);

    // The second open asks the dialog; cancelling changes nothing.
    dialogs.openAnswers.push_back(std::nullopt);
    OpenDesign(opened, state, dialogs, arguments, '.', program);
    EXPECT_EQ(opened.events.size(), 15u);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DesignFilesTest, DamagedOrMissingFileGivesTheOpenMessageAndChangesNothingElse) {
    QFile garbage(dir.path() + "/garbage.cqb");
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("PK\x03\x04 this is not a workbook");
    garbage.close();
    for (const QString& path : {dir.path() + "/garbage.cqb", dir.path() + "/missing.cqb"}) {
        state = DesignFileState{false, "previous.cqb", false};
        ScriptedDialogs d;
        FakeWindow w;
        OpenDesign(w, state, d, {path}, '.', program);
        EXPECT_EQ(d.messageHeadlines(), QStringList{kOpenFailed});
        // Beneath the message: the file and what is wrong with it.
        EXPECT_TRUE(ScriptedDialogs::Detail(d.messages[0]).contains(path)) << d.messages[0].text;
        EXPECT_FALSE(state.DesignSaved);
        EXPECT_EQ(state.CurrentDesignFile, "previous.cqb");
        EXPECT_TRUE(state.CommandLineOpenDone);
        EXPECT_EQ(w.events, std::vector<QString>{"show"});
    }
}

TEST_F(DesignFilesTest, OlderBinaryDesignFileOpensAndSavesInOurFormat) {
    const QString file = dir.path() + "/old.cqb";
    ASSERT_TRUE(QFile::copy(QStringLiteral(DESIGNFILE_TEST_DATA_DIR "/old_design.cqb"), file));
    dialogs.openAnswers.push_back(file);
    state.CommandLineOpenDone = true;
    OpenDesign(window, state, dialogs, {}, '.', program);
    ASSERT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(window.fields[0], "160");
    EXPECT_EQ(window.fields[1], "40");
    EXPECT_EQ(window.fields[8], "7 (GB/T16445-1996)");
    EXPECT_EQ(window.fields[12], "0.25");

    window.fields[0] = "161";
    EXPECT_TRUE(SaveDesign(window, state, dialogs, program));  // in place: no dialog
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().join("|");
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.read(2), QByteArray("PK"));  // now an OOXML package
    EXPECT_EQ(Cell(file, 1), "161");
    EXPECT_EQ(Cell(file, 2), "40");
    // The original, kept once before its first rewrite.
    EXPECT_EQ(FileBytes(file + ".bak"), FileBytes(DESIGNFILE_TEST_DATA_DIR "/old_design.cqb"));
    window.fields[0] = "162";
    EXPECT_TRUE(SaveDesign(window, state, dialogs, program));
    EXPECT_EQ(Cell(file, 1), "162");
    EXPECT_EQ(FileBytes(file + ".bak"), FileBytes(DESIGNFILE_TEST_DATA_DIR "/old_design.cqb"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"old.cqb", "old.cqb.bak"}));
}

struct QuestionCase {
    const char* what;
    bool designSaved;
    std::optional<bool> answer;
    std::optional<std::optional<QString>> saveAnswer;
    bool closed;
    bool savedAfter;
    QStringList messages;
};

TEST_F(DesignFilesTest, UnsavedDataQuestion) {
    const QString good = dir.path() + "/q";
    const QString bad = dir.path() + "/missing/q";
    const QuestionCase cases[] = {
        {"saved: no question", true, std::nullopt, std::nullopt, true, true, {}},
        {"No: ends without saving", false, false, std::nullopt, true, false, {}},
        {"Yes, cancel the dialog: still ends", false, true, std::optional<QString>(), true, true, {}},
        {"Yes, save: ends", false, true, std::optional<QString>(good), true, true, {}},
        {"Yes, the save fails: stays open", false, true, std::optional<QString>(bad), false, false, {kSaveFailed}},
    };
    for (const auto& c : cases) {
        ScriptedDialogs d;
        FakeWindow w;
        DesignFileState s;
        s.DesignSaved = c.designSaved;
        if (c.answer) d.answers.push_back(*c.answer);
        if (c.saveAnswer) d.saveAnswers.push_back(*c.saveAnswer);
        CloseWithQuestion(w, s, d, program);
        EXPECT_EQ(w.closed(), c.closed) << c.what;
        EXPECT_EQ(d.messageHeadlines(), c.messages) << c.what;
        EXPECT_EQ(d.questions.size(), c.answer ? 1u : 0u) << c.what;
        if (c.answer) {
            EXPECT_EQ(d.questions[0], "Warning: 数据尚未保存，是否保存？") << c.what;
        }
        EXPECT_EQ(s.DesignSaved, c.savedAfter) << c.what;
    }
    EXPECT_TRUE(QFile::exists(good + ".cqb"));
}

TEST_F(DesignFilesTest, UnsavedQuestionWithoutTemplateKeepsTheProgramRunning) {
    QFile::remove(program + "111.xls");
    state.DesignSaved = false;
    dialogs.answers.push_back(true);
    EXPECT_THROW(CloseWithQuestion(window, state, dialogs, program), std::runtime_error);
    EXPECT_FALSE(window.closed());
    EXPECT_FALSE(state.DesignSaved);
    EXPECT_EQ(dialogs.messageHeadlines(), QStringList{kSaveFailed});
}

// Opening a design file while the one on screen is calculated and unsaved:
// the Close button's question comes between the choice and the reading.
TEST_F(DesignFilesTest, OpenAsksBeforeReplacingAnUnsavedCalculatedDesign) {
    dialogs.saveAnswers.push_back(dir.path() + "/other");
    ASSERT_TRUE(SaveDesign(window, state, dialogs, program));
    const QString other = dir.path() + "/other.cqb";
    const QString good = dir.path() + "/kept";
    const QString bad = dir.path() + "/missing/kept";
    const struct {
        const char* what;
        bool designSaved;
        std::optional<QString> chosen;
        std::optional<bool> answer;
        std::optional<std::optional<QString>> saveAnswer;
        bool opened;
    } kCases[] = {
        {"saved: no question", true, other, std::nullopt, std::nullopt, true},
        {"No: opens without saving", false, other, false, std::nullopt, true},
        {"Yes, saved: opens", false, other, true, std::optional<QString>(good), true},
        {"Yes, the save fails: the design stays", false, other, true, std::optional<QString>(bad), false},
        {"the dialog cancelled: no question", false, std::nullopt, std::nullopt, std::nullopt, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        ScriptedDialogs d;
        FakeWindow w;
        w.fields[0] = "999";
        DesignFileState s{c.designSaved, QString(), true};
        w.state = &s;
        d.openAnswers.push_back(c.chosen);
        if (c.answer) d.answers.push_back(*c.answer);
        if (c.saveAnswer) d.saveAnswers.push_back(*c.saveAnswer);
        OpenDesign(w, s, d, {}, '.', program);
        EXPECT_EQ(d.questions.size(), c.answer ? 1u : 0u);
        EXPECT_EQ(w.fields[0], c.opened ? "200" : "999");
        EXPECT_EQ(s.CurrentDesignFile, c.opened ? other : QString());
        EXPECT_TRUE(d.answers.empty() && d.saveAnswers.empty());
    }
    EXPECT_EQ(Cell(good + ".cqb", 1), "999");  // the Yes answer saved the design on screen first
}

TEST_F(DesignFilesTest, AFifoChosenAsDesignFileIsRefusedWithoutWaiting) {
    const QString fifo = dir.path() + "/pipe.cqb";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int result = wormgear::testing::RunInChildAtMost(60, [&] {
        ScriptedDialogs d;
        FakeWindow w;
        DesignFileState s{true, QString(), true};
        d.openAnswers.push_back(fifo);
        OpenDesign(w, s, d, {}, '.', program);
        return d.messageHeadlines() == QStringList{kOpenFailed} &&
                       ScriptedDialogs::Detail(d.messages[0]) == "不是普通文件“" + fifo + "”"
                   ? 0
                   : 1;
    });
    EXPECT_EQ(result, 0);
}

// --- designs in other formats, numbers, names -------------------------------

// An OpenDocument design as LibreOffice saves one: the thirteen texts in
// column 1 of the active table and a note in column 2.
std::string OpenDocumentDesign() {
    std::string rows;
    const char* const kTexts[13] = {"160", "40",      "80",      "2",  "100", "0", "60", "0.25", "7 (GB/T16445-1996)",
                                    "7",   "0.3*P/2", "0.2*P/2", "0.2"};
    for (int row = 0; row < 13; ++row) {
        const std::string text = kTexts[row];
        const bool number = text.find_first_not_of("0123456789.") == std::string::npos;
        rows += "<table:table-row>";
        rows += number
                    ? "<table:table-cell office:value-type=\"float\" office:value=\"" + text + "\"><text:p>" + text +
                          "</text:p></table:table-cell>"
                    : "<table:table-cell office:value-type=\"string\"><text:p>" + text + "</text:p></table:table-cell>";
        if (row == 0) rows += "<table:table-cell office:value-type=\"string\"><text:p>备注</text:p></table:table-cell>";
        rows += "</table:table-row>";
    }
    return wormgear::testing::PackageBytes(
        wormgear::testing::OpenDocumentParts(wormgear::testing::OpenDocumentTable(rows, "设计"), "设计"));
}

void WriteBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

TEST_F(DesignFilesTest, AnOpenDocumentDesignUnderItsDesignNameOpensAndIsKeptOnceBeforeItsRewrite) {
    const QString file = dir.path() + "/gear.cqb";
    WriteBytes(file, OpenDocumentDesign());
    const QByteArray original = FileBytes(file);
    dialogs.openAnswers.push_back(file);
    state.CommandLineOpenDone = true;
    OpenDesign(window, state, dialogs, {}, '.', program);
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().join("|");
    EXPECT_EQ(window.fields, (QStringList{"160", "40", "80", "2", "100", "0", "60", "0.25", "7 (GB/T16445-1996)", "7",
                                          "0.3*P/2", "0.2*P/2", "0.2"}));
    EXPECT_EQ(state.CurrentDesignFile, file);

    window.fields[0] = "170";
    EXPECT_TRUE(SaveDesign(window, state, dialogs, program));  // in place: no dialog
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().join("|");
    EXPECT_EQ(FileBytes(file).left(2), QByteArray("PK"));
    EXPECT_EQ(Workbook::Open(file.toStdString()).SourceFormat(), WorkbookFormat::Ooxml);
    EXPECT_EQ(Cell(file, 1), "170");
    EXPECT_EQ(Cell(file, 1, 2), "备注") << "the rest of the sheet stays";
    EXPECT_EQ(FileBytes(file + ".bak"), original);

    // A backup already standing there is never replaced: the next free name.
    WriteBytes(file, OpenDocumentDesign());
    EXPECT_TRUE(SaveDesign(window, state, dialogs, program));
    EXPECT_EQ(FileBytes(file + ".bak"), original);
    EXPECT_EQ(FileBytes(dir.path() + "/gear.cqb.2.bak"), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"gear.cqb", "gear.cqb.2.bak", "gear.cqb.bak"}));
}

TEST_F(DesignFilesTest, ADesignUnderAnotherFormatsNameIsSavedBesideItAsADesignFile) {
    const struct {
        const char* name;
        std::function<std::string()> bytes;
    } kFiles[] = {
        {"gear.ods", [] { return OpenDocumentDesign(); }},
        {"gear v1.2.xls",
         [] {
             QFile old(QStringLiteral(DESIGNFILE_TEST_DATA_DIR "/old_design.cqb"));
             EXPECT_TRUE(old.open(QIODevice::ReadOnly));
             return old.readAll().toStdString();
         }},
    };
    for (const auto& f : kFiles) {
        SCOPED_TRACE(f.name);
        const QString file = dir.path() + "/" + QString::fromUtf8(f.name);
        WriteBytes(file, f.bytes());
        const QByteArray original = FileBytes(file);
        ScriptedDialogs d;
        DesignFileState s{true, QString(), true};
        FakeWindow w;
        w.state = &s;
        d.openAnswers.push_back(file);
        OpenDesign(w, s, d, {}, '.', program);
        ASSERT_TRUE(d.messages.empty()) << d.messageTexts().join("|");
        EXPECT_EQ(w.fields[0], "160");

        // Writing OOXML under ".ods" or ".xls" would give the file a name
        // that lies: the dialog proposes the design-file name beside it, and
        // cancelling writes nothing.
        const QString beside = QFileInfo(file).dir().filePath(QFileInfo(file).completeBaseName() + ".cqb");
        w.fields[0] = "170";
        d.saveAnswers.push_back(std::nullopt);
        EXPECT_TRUE(SaveDesign(w, s, d, program));
        EXPECT_EQ(d.proposedNames, std::vector<QString>{beside});
        EXPECT_FALSE(QFile::exists(beside));
        d.saveAnswers.push_back(beside);
        EXPECT_TRUE(SaveDesign(w, s, d, program));
        EXPECT_TRUE(d.messages.empty()) << d.messageTexts().join("|");
        EXPECT_EQ(FileBytes(file), original) << "the file opened stays as it is";
        EXPECT_EQ(Cell(beside, 1), "170");
        EXPECT_EQ(Cell(beside, 2), "40");
        EXPECT_EQ(s.CurrentDesignFile, file);
        EXPECT_FALSE(QFile::exists(file + ".bak"));
    }
}

TEST_F(DesignFilesTest, AVanishedDesignUnderAnotherFormatsNameIsSavedLikeANewOne) {
    state.CurrentDesignFile = dir.path() + "/gone.ods";
    dialogs.saveAnswers.push_back(dir.path() + "/gone");
    EXPECT_TRUE(SaveDesign(window, state, dialogs, program));
    EXPECT_EQ(dialogs.proposedNames, std::vector<QString>{dir.path() + "/gone.cqb"});
    EXPECT_FALSE(QFile::exists(dir.path() + "/gone.ods"));
    EXPECT_EQ(Cell(dir.path() + "/gone.cqb", 1), "200");
}

// Every cell of `rows` by `columns` showing shared string 0.
std::vector<wormgear::testing::LegacyCell> ManyCellsOfString(int rows, int columns) {
    std::vector<wormgear::testing::LegacyCell> cells;
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) cells.push_back({r, c, 0});
    }
    return cells;
}

TEST_F(DesignFilesTest, DamagedOrHostileSpreadsheetFilesGiveTheOpenMessageAndLoseNothing) {
    std::string cutShort = OpenDocumentDesign();
    cutShort.resize(cutShort.size() * 2 / 3);
    wormgear::testing::Parts badXml = wormgear::testing::OpenDocumentParts("<table:table>");
    std::string bomb;
    for (int i = 0; i < (1 << 20); ++i) bomb += "<table:table-cell/>";
    const struct {
        const char* what;
        std::string bytes;
        const char* reason;
    } kFiles[] = {
        {"cut short", cutShort, "已损坏"},
        {"broken XML", wormgear::testing::PackageBytes(badXml), "content.xml 的 XML 有误"},
        {"a zip bomb in content.xml",
         wormgear::testing::PackageBytes(wormgear::testing::OpenDocumentParts(
             wormgear::testing::OpenDocumentTable("<table:table-row>" + bomb + "</table:table-row>"))),
         "过大"},
        // 886 bytes that once grew the program to 8 GB: the longest text a
        // cell holds repeated over 99,990 columns.
        {"a long text repeated over 99,990 columns",
         wormgear::testing::PackageBytes(wormgear::testing::OpenDocumentParts(wormgear::testing::OpenDocumentTable(
             "<table:table-row><table:table-cell table:number-columns-repeated=\"99990\" "
             "office:value-type=\"string\"><text:p>x<text:s text:c=\"131063\"/></text:p></table:table-cell>"
             "</table:table-row>"))),
         "过大：工作表单元格的文字存入工作簿后共超过 4 MiB"},
        {"an old binary workbook showing one long shared string in 99,000 cells",
         wormgear::testing::LegacyWorkbookBytes({{std::string(8000, 'x')}, ManyCellsOfString(396, 250)}),
         "过大：工作表单元格的文字存入工作簿后共超过 4 MiB"},
    };
    for (const auto& f : kFiles) {
        SCOPED_TRACE(f.what);
        const QString file = dir.path() + "/bad.cqb";
        WriteBytes(file, f.bytes);
        const QByteArray original = FileBytes(file);
        ScriptedDialogs d;
        DesignFileState s{true, dir.path() + "/previous.cqb", true};
        FakeWindow w;
        const QStringList before = w.fields;
        d.openAnswers.push_back(file);
        OpenDesign(w, s, d, {}, '.', program);
        ASSERT_EQ(d.messageHeadlines(), QStringList{kOpenFailed});
        const QString detail = ScriptedDialogs::Detail(d.messages[0]);
        EXPECT_TRUE(detail.contains(file)) << detail;
        EXPECT_TRUE(detail.contains(QString::fromUtf8(f.reason))) << detail;
        EXPECT_EQ(w.fields, before);
        EXPECT_EQ(s.CurrentDesignFile, dir.path() + "/previous.cqb");
        EXPECT_EQ(FileBytes(file), original);
    }
}

TEST_F(DesignFilesTest, NumbersInTheUsersNotationAreNumberCellsAndComeBackAsTyped) {
    window.separator = ',';
    window.fields = {"200,5", "25", "50", "2", "130", "0", "78", "0,3", "8j", "200.5", "0,30", "1E-5", "0,2"};
    const QStringList typed = window.fields;
    dialogs.saveAnswers.push_back(dir.path() + "/komma");
    ASSERT_TRUE(SaveDesign(window, state, dialogs, program));
    const std::string file = (dir.path() + "/komma.cqb").toStdString();
    const std::string sheet = wormgear::testing::PartOf(file, "xl/worksheets/sheet1.xml");
    pugi::xml_document xml = wormgear::testing::ParseXml(sheet);
    // Numbers in the user's notation; "200.5" is not one there, "0,30" would
    // come back as "0,3".
    const QStringList kNumbers = {"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A12", "A13"};
    for (int row = 1; row <= 13; ++row) {
        const std::string reference = "A" + std::to_string(row);
        pugi::xml_node cell = xml.select_node(("//c[@r='" + reference + "']").c_str()).node();
        EXPECT_EQ(std::string(cell.attribute("t").value()),
                  kNumbers.contains(QString::fromStdString(reference)) ? "" : "s")
            << reference;
    }
    EXPECT_EQ(std::string(xml.select_node("//c[@r='A1']/v").node().text().get()), "200.5");
    const DesignInputs back = ReadDesignFile(file, ',');
    for (int row = 1; row <= 13; ++row)
        EXPECT_EQ(back.*DesignFields()[row - 1].text, typed[row - 1].toStdString()) << row;
}

TEST_F(DesignFilesTest, ANameThatIsAFolderOrAnUnwritableTargetLosesNothing) {
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/taken.cqb"));
    dialogs.saveAnswers.push_back(dir.path() + "/taken.cqb");
    state.DesignSaved = false;
    EXPECT_FALSE(SaveDesign(window, state, dialogs, program));
    ASSERT_EQ(dialogs.messageHeadlines(), QStringList{kSaveFailed});
    EXPECT_EQ(ScriptedDialogs::Detail(dialogs.messages[0]), "无法替换文件“" + dir.path() + "/taken.cqb”：是一个目录");
    EXPECT_TRUE(QDir(dir.path() + "/taken.cqb").isEmpty());
    EXPECT_FALSE(state.DesignSaved);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});

    wormgear::testing::SmallFileSystem disk(1 << 20);
    if (!disk.available()) GTEST_SKIP() << "a read-only file system needs the superuser";
    ASSERT_TRUE(disk.setReadOnly(true));
    dialogs.saveAnswers.push_back(QString::fromStdString(disk.path()) + "design");
    EXPECT_FALSE(SaveDesign(window, state, dialogs, program));
    ASSERT_EQ(dialogs.messageHeadlines(), (QStringList{kSaveFailed, kSaveFailed}));
    EXPECT_TRUE(ScriptedDialogs::Detail(dialogs.messages[1]).endsWith("只读文件系统")) << dialogs.messages[1].text;
    EXPECT_TRUE(QDir(QString::fromStdString(disk.path())).isEmpty());
}

TEST_F(DesignFilesTest, ABackupThatCannotBeWrittenLeavesTheDesignFileAsItWas) {
    const QString file = dir.path() + "/old.cqb";
    ASSERT_TRUE(QFile::copy(QStringLiteral(DESIGNFILE_TEST_DATA_DIR "/old_design.cqb"), file));
    const QByteArray original = FileBytes(file);
    state.CurrentDesignFile = file;
    state.DesignSaved = false;
    {
        // Files may not grow beyond 1 KiB: the copy of the 6 KiB original fails.
        wormgear::testing::FileSizeLimit full(1024);
        EXPECT_FALSE(SaveDesign(window, state, dialogs, program));
    }
    ASSERT_EQ(dialogs.messageHeadlines(), QStringList{kSaveFailed});
    EXPECT_EQ(ScriptedDialogs::Detail(dialogs.messages[0]), "无法写入文件“" + file + ".bak”：文件过大");
    EXPECT_EQ(FileBytes(file), original);
    EXPECT_FALSE(state.DesignSaved);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.cqb"});
}

}  // namespace
