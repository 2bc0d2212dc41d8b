// The real file dialogs (QtDialogs): each entry of a filter as the dialog
// lists it, the proposed name, and the folder of a proposed path.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "dialogs/qt_dialogs.h"

namespace wormgear {
namespace {

struct Seen {
    QStringList filters;
    QString directory;
    QStringList selected;
};

// Runs `show` (which opens a file dialog), notes what the dialog shows and
// accepts it (with `pick` chosen in it, when given), or cancels it when
// `accept` is false.
Seen WhileOpen(const std::function<void()>& show, bool accept, const QString& pick = QString()) {
    Seen seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no file dialog came up";
            return;
        }
        seen = {dialog->nameFilters(), dialog->directory().absolutePath(), dialog->selectedFiles()};
        if (!pick.isEmpty()) dialog->selectFile(pick);
        // accept() is a slot: what the dialog's Save button runs.
        if (accept) QMetaObject::invokeMethod(dialog, "accept");
        else dialog->reject();
    });
    show();
    return seen;
}

TEST(QtDialogsTest, FiltersListEveryEntryAndBarePatternsNameThemselves) {
    QtDialogs dialogs;
    const struct {
        const char* filter;
        QStringList shown;
    } kFilters[] = {
        {"*.cqb", {"*.cqb (*.cqb)"}},
        {"*.cqb;;所有文件 (*)", {"*.cqb (*.cqb)", "所有文件 (*)"}},
        {"Excel 工作簿 (*.xlsx *.xls)", {"Excel 工作簿 (*.xlsx *.xls)"}},
    };
    for (const auto& f : kFilters) {
        SCOPED_TRACE(f.filter);
        const Seen seen = WhileOpen([&] { EXPECT_FALSE(dialogs.openFileName(QString::fromUtf8(f.filter))); }, false);
        EXPECT_EQ(seen.filters, f.shown);
    }
}

TEST(QtDialogsTest, TheProposedNameIsChosenAndAProposedPathOpensItsFolder) {
    QtDialogs dialogs;
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    std::optional<QString> chosen;
    Seen seen = WhileOpen(
        [&] {
            chosen = dialogs.saveFileName(QString::fromUtf8("Excel 工作簿 (*.xlsx *.xls)"),
                                          folder.path() + QStringLiteral("/rudar.xlsx"));
        },
        true);
    EXPECT_EQ(seen.directory, folder.path());
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, folder.path() + QStringLiteral("/rudar.xlsx"));
}

TEST(QtDialogsTest, EveryDialogStartsInTheFolderOfTheLastFileChosenAlsoAfterARestart) {
    QTemporaryDir data, drawings;
    ASSERT_TRUE(data.isValid() && drawings.isValid());
    const QString memory = data.filePath(QStringLiteral("last-folder.txt"));
    const QString filter = QStringLiteral("*.cqb");
    {
        QtDialogs dialogs(nullptr, RememberedFolder(memory));
        // Nothing chosen yet: the documents folder (or home), never the
        // working directory the program was started in.
        Seen seen = WhileOpen([&] { EXPECT_FALSE(dialogs.openFileName(filter)); }, false);
        EXPECT_EQ(seen.directory, DefaultDialogFolder());
        ASSERT_NE(QDir::currentPath(), DefaultDialogFolder()) << "the test must tell the two apart";

        std::optional<QString> opened;
        WhileOpen([&] { opened = dialogs.openFileName(filter); }, true, drawings.filePath(QStringLiteral("gear.cqb")));
        ASSERT_TRUE(opened);
        EXPECT_EQ(*opened, drawings.filePath(QStringLiteral("gear.cqb")));

        // A save proposing a bare name: the name in the folder just used.
        std::optional<QString> saved;
        seen = WhileOpen([&] { saved = dialogs.saveFileName(filter, QStringLiteral("rudar.xlsx")); }, true);
        EXPECT_EQ(seen.directory, drawings.path());
        ASSERT_TRUE(saved);
        EXPECT_EQ(*saved, drawings.filePath(QStringLiteral("rudar.xlsx")));

        // A dialog cancelled in another folder leaves the memory as it was.
        seen = WhileOpen([&] { EXPECT_FALSE(dialogs.saveFileName(filter, data.filePath(QStringLiteral("x.cqb")))); },
                         false);
        EXPECT_EQ(seen.directory, data.path());
        EXPECT_EQ(dialogs.rememberedFolder().folder(), drawings.path());
    }
    // The next run: a new memory over the same file.
    QtDialogs restarted(nullptr, RememberedFolder(memory));
    Seen seen = WhileOpen([&] { EXPECT_FALSE(restarted.saveFileName(filter, QString())); }, false);
    EXPECT_EQ(seen.directory, drawings.path());
    seen = WhileOpen([&] { EXPECT_FALSE(restarted.openFileName(filter)); }, false);
    EXPECT_EQ(seen.directory, drawings.path());
}

}  // namespace
}  // namespace wormgear
