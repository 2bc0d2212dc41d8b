// The real file dialogs (QtDialogs): each entry of a filter as the dialog
// lists it, the proposed name, and the folder of a proposed path.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
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
// accepts it, or cancels it when `accept` is false.
Seen WhileOpen(const std::function<void()>& show, bool accept) {
    Seen seen;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no file dialog came up";
            return;
        }
        seen = {dialog->nameFilters(), dialog->directory().absolutePath(), dialog->selectedFiles()};
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

}  // namespace
}  // namespace wormgear
