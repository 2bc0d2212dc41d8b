// The particulars in design files through the window's 保存 and 打开: kept
// below the thirteen texts, which the reader of the thirteen cells still reads
// as before; refused whole when a text does not fit, the file untouched; old
// files opening with every default.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "designfile/design_commands.h"
#include "designfile/design_file.h"
#include "dialogs/testing/scripted_dialogs.h"
#include "export/workbook.h"

namespace wormgear {
namespace {

using Id = ParticularId;

class WindowWithParticulars : public DesignWindow {
 public:
    QStringList fields = {
        "200",     "25",      "50", "2", "130", "0", "78", "0.3", "8j (GB/T16445-1996)", "8j (GB/T16445-1996)",
        "0.3*P/2", "0.2*P/2", "0.2"};
    Particulars kept;
    std::vector<QString> events;

    QString fieldText(int row) const override { return fields[row - 1]; }
    char decimalSeparator() const override { return ','; }
    void setFieldText(int row, const QString& text) override { fields[row - 1] = text; }
    void calculate() override { events.push_back(QStringLiteral("calculate")); }
    void showWindow() override {}
    void closeWindow() override {}
    Particulars particulars() const override { return kept; }
    void setParticulars(const Particulars& particulars) override {
        kept = particulars;
        events.push_back(QStringLiteral("particulars"));
    }
};

Particulars Sample() {
    Particulars p;
    Text(p, Id::Designer) = "李工";
    Text(p, Id::Date) = "2024-05-01";
    Text(p, Id::WormDrawingNumber) = "2024";  // a number's look, kept a text
    Text(p, Id::WormMaterial) = "20CrMnTi";
    Text(p, Id::WormRequirements) = "1. 渗碳淬火 HRC 58～62。\n2. 未注倒角 C1。";
    Text(p, Id::WormLeftShaftDiameter) = "45,5";  // the user's notation
    Text(p, Id::HobKeywayDepth) = "3,3";
    return p;
}

class ParticularsFileTest : public ::testing::Test {
 protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        program = dir.path() + "/program/";
        ASSERT_TRUE(QDir().mkpath(program));
        ASSERT_TRUE(QFile::copy(QStringLiteral(WORMGEAR_BIN_DIR "/111.xls"), program + "111.xls"));
    }
    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    QTemporaryDir dir;
    QString program;
    DesignFileState state;
    ScriptedDialogs dialogs;
};

TEST_F(ParticularsFileTest, SavedBelowTheThirteenTextsAndBroughtBackByAnOpen) {
    WindowWithParticulars window;
    window.kept = Sample();
    dialogs.saveAnswers.push_back(dir.path() + "/pair");
    ASSERT_TRUE(SaveDesign(window, state, dialogs, program));
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().join("|").toStdString();
    const std::string file = (dir.path() + "/pair.cqb").toStdString();
    // The reader of the thirteen cells finds the design as it always did.
    const DesignInputs texts = ReadDesignFile(file, ',');
    for (int row = 1; row <= kDesignFieldCount; ++row)
        EXPECT_EQ(texts.*DesignFields()[row - 1].text, window.fields[row - 1].toStdString());
    // Each particular in its row, its name beside it.
    const Workbook book = Workbook::Open(file);
    EXPECT_EQ(book.CellText(kFirstParticularRow + static_cast<int>(Id::WormMaterial), 1, ','), "20CrMnTi");
    EXPECT_EQ(book.CellText(kFirstParticularRow + static_cast<int>(Id::WormMaterial), 2, ','), "蜗杆材料");
    EXPECT_EQ(book.CellText(kFirstParticularRow + static_cast<int>(Id::WormLeftShaftDiameter), 1, '.'), "45.5");
    EXPECT_EQ(book.CellText(kFirstParticularRow + static_cast<int>(Id::WormDrawingNumber), 1, '.'), "2024");
    EXPECT_EQ(book.CellText(kLastParticularRow, 2, '.'), "滚刀键槽深度");
    EXPECT_EQ(book.CellText(kFirstParticularRow + static_cast<int>(Id::Checker), 1, '.'), "");

    WindowWithParticulars other;
    dialogs.openAnswers.push_back(dir.path() + "/pair.cqb");
    state.CommandLineOpenDone = true;
    OpenDesign(other, state, dialogs, {}, ',', program);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(other.kept, Sample());
    // Handed over before the calculation, which gives them to the drawings.
    EXPECT_EQ(other.events, (std::vector<QString>{"particulars", "calculate"}));
}

TEST_F(ParticularsFileTest, ATooLongTextIsRefusedByNameAndLimitAndTheFileStaysAsItWas) {
    WindowWithParticulars window;
    window.kept = Sample();
    dialogs.saveAnswers.push_back(dir.path() + "/pair");
    ASSERT_TRUE(SaveDesign(window, state, dialogs, program));
    dialogs.openAnswers.push_back(dir.path() + "/pair.cqb");
    state.CommandLineOpenDone = true;
    OpenDesign(window, state, dialogs, {}, ',', program);
    const QByteArray before = Bytes(dir.path() + "/pair.cqb");

    Text(window.kept, Id::WheelHeatTreatment) = std::string(41, 'x');
    window.fields[0] = "210";
    state.DesignSaved = false;
    EXPECT_FALSE(SaveDesign(window, state, dialogs, program));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const QString text = dialogs.messages[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("保存过程中发生错误"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("蜗轮热处理"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("40"))) << text.toStdString();
    EXPECT_EQ(Bytes(dir.path() + "/pair.cqb"), before);  // nothing cut, nothing written
    EXPECT_FALSE(state.DesignSaved);
    EXPECT_EQ(Text(window.kept, Id::WheelHeatTreatment), std::string(41, 'x'));
    EXPECT_EQ(window.fields[0], "210");
}

TEST_F(ParticularsFileTest, AnOldDesignFileOpensWithEveryDefault) {
    const QString file = dir.path() + "/old.cqb";
    ASSERT_TRUE(QFile::copy(QStringLiteral(DESIGNFILE_TEST_DATA_DIR "/old_design.cqb"), file));
    WindowWithParticulars window;
    window.kept = Sample();  // the particulars of the design on screen before
    dialogs.openAnswers.push_back(file);
    state.CommandLineOpenDone = true;
    OpenDesign(window, state, dialogs, {}, ',', program);
    EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messageTexts().join("|").toStdString();
    EXPECT_EQ(window.fields[0], "160");
    EXPECT_EQ(window.kept, Particulars{});
}

TEST_F(ParticularsFileTest, AFileWhoseParticularWouldBeRefusedOpensWithItKeptWholeAndSaysSo) {
    const QString file = dir.path() + "/edited.cqb";
    {
        Workbook book = Workbook::Open((program + "111.xls").toStdString());
        book.SetCellText(1, 1, "200");
        book.SetCellText(kFirstParticularRow + static_cast<int>(Id::Company), 1, std::string(45, 'c'));
        book.SaveTo(file.toStdString());
    }
    WindowWithParticulars window;
    dialogs.openAnswers.push_back(file);
    state.CommandLineOpenDone = true;
    OpenDesign(window, state, dialogs, {}, ',', program);
    EXPECT_EQ(state.CurrentDesignFile, file);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("单位")));
    EXPECT_EQ(Text(window.kept, Id::Company), std::string(45, 'c'));
}

}  // namespace
}  // namespace wormgear
