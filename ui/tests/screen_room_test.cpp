// The windows on a small desktop (the test screen is 1280 x 900, see
// ui/CMakeLists.txt): each opens beside or centred on the main window and
// lies whole within the screen's available area, in Chinese and in English;
// the checks window wraps its long texts instead of growing; a preview stays
// the window the user works in after its save dialog. The pictures of the
// windows are left in build/ui/pictures to be looked at.
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <functional>

#include "dialogs/qt_dialogs.h"
#include "drawing/preview_window.h"
#include "settings/coefficient_editor.h"
#include "translations/interface_language.h"
#include "ui/checks_window.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

const QString kProgramFiles = QStringLiteral(WORMGEAR_BIN_DIR "/");

QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }

std::string Describe(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// What a person sees of a window, for the pictures folder.
void Picture(QWidget& window, const QString& name) {
    QDir().mkpath(QStringLiteral(WORMGEAR_UI_PICTURES_DIR));
    window.grab().save(QStringLiteral(WORMGEAR_UI_PICTURES_DIR "/") + name + QStringLiteral(".png"));
}

// A window opened from the main window lies within the screen, and either
// beside the main window (no overlap) or centred on it (where the screen's
// edge allows).
void ExpectPlacedBy(const QWidget& window, const QWidget& main) {
    const QRect frame = window.frameGeometry(), anchor = main.frameGeometry(), available = Available();
    SCOPED_TRACE(window.objectName().toStdString() + " at " + Describe(frame) + ", main window at " + Describe(anchor) +
                 ", screen " + Describe(available));
    EXPECT_TRUE(available.contains(frame));
    if (!frame.intersects(anchor)) return;
    // Centred: the centres meet, unless the window was pushed back from an
    // edge of the screen, which it then touches.
    const QPoint offset = frame.center() - anchor.center();
    const bool pushedSideways = frame.left() == available.left() || frame.right() == available.right();
    const bool pushedUpOrDown = frame.top() == available.top() || frame.bottom() == available.bottom();
    EXPECT_TRUE(std::abs(offset.x()) <= 1 || pushedSideways) << "dx " << offset.x();
    EXPECT_TRUE(std::abs(offset.y()) <= 1 || pushedUpOrDown) << "dy " << offset.y();
}

// The checks window shows every text whole: no column beyond its width, and
// every cell's text within its cell, wrapped into as many lines as it needs.
void ExpectChecksShownWhole(TChecksWindow& window) {
    QTableWidget* table = window.Table;
    EXPECT_LE(table->horizontalHeader()->length(), table->viewport()->width());
    EXPECT_TRUE(window.Summary->wordWrap());
    bool someCellWraps = false;
    const QFontMetrics metrics(table->font());
    // The room the item's painting leaves between its text and the cell's edges.
    const int margin = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem* item = table->item(row, column);
            const QRect cell = table->visualItemRect(item);
            const QRect text = metrics.boundingRect(QRect(0, 0, cell.width() - 2 * margin, 100000),
                                                    Qt::TextWordWrap | Qt::AlignLeft, item->text());
            EXPECT_LE(text.height(), cell.height()) << item->text().toStdString();
            EXPECT_LE(text.width(), cell.width()) << item->text().toStdString();
            someCellWraps = someCellWraps || text.height() > metrics.height();
        }
    }
    EXPECT_TRUE(someCellWraps) << "the designs below have messages longer than a column";
}

class ScreenTest : public WindowTest, public ::testing::WithParamInterface<Language> {
 protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(InstallTranslations(*QCoreApplication::instance(), GetParam(), kProgramFiles));
    }
    void TearDown() override {
        WindowTest::TearDown();
        InstallTranslations(*QCoreApplication::instance(), Language::Chinese, kProgramFiles);
    }
    QString suffix() const { return GetParam() == Language::English ? QStringLiteral("-en") : QStringLiteral("-zh"); }
};

TEST_P(ScreenTest, TheTestScreenIsASmallDesktop) { EXPECT_EQ(Available().size(), QSize(1280, 900)); }

TEST_P(ScreenTest, EveryWindowOpensByTheMainWindowWithinTheScreen) {
    openWindow();
    EXPECT_TRUE(Available().contains(form->frameGeometry())) << Describe(form->frameGeometry());
    Picture(*form, QStringLiteral("main-window") + suffix());
    typeWorkedExample();
    // A main base circle beyond the wheel and an eccentricity against the
    // hint: an error and warnings with long messages and suggestions.
    Retype(form->Edit5, QStringLiteral("400"));
    Retype(form->Edit6, QStringLiteral("0.5"));
    form->Button1->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    form->N24->trigger();
    TChecksWindow* checks = form->checksWindow();
    ASSERT_TRUE(checks && checks->isVisible());
    ASSERT_GE(checks->Table->rowCount(), 2);
    QApplication::processEvents();
    ExpectPlacedBy(*checks, *form);
    ExpectChecksShownWhole(*checks);
    Picture(*checks, QStringLiteral("checks-window") + suffix());

    // Narrowed by the user: the texts wrap into more lines, still whole.
    checks->resize(700, checks->height());
    QApplication::processEvents();
    ExpectChecksShownWhole(*checks);
    checks->close();

    Retype(form->Edit5, QStringLiteral("130"));
    form->Button1->click();
    for (QAction* item : {form->N20, form->N23}) {
        SCOPED_TRACE(item->objectName().toStdString());
        item->trigger();
        const QList<TDrawingPreview*> previews = form->findChildren<TDrawingPreview*>();
        ASSERT_EQ(previews.size(), 1);
        QApplication::processEvents();
        ExpectPlacedBy(*previews.front(), *form);
        Picture(*previews.front(), QStringLiteral("preview-") + item->objectName() + suffix());
        previews.front()->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A failed calculation under an open preview: what the designer sees.
    form->N20->trigger();
    Retype(form->Edit5, QStringLiteral("400"));
    form->Button1->click();
    for (TDrawingPreview* preview : form->findChildren<TDrawingPreview*>()) {
        EXPECT_TRUE(preview->isOutOfDate());
        Picture(*preview, QStringLiteral("preview-out-of-date") + suffix());
        preview->close();
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    form->N25->trigger();
    TSolutionsWindow* solutions = form->solutionsWindow();
    ASSERT_TRUE(solutions && solutions->isVisible());
    QApplication::processEvents();
    ExpectPlacedBy(*solutions, *form);
    // Nothing of it is squeezed below what its layout needs.
    EXPECT_GE(solutions->width(), solutions->minimumSizeHint().width());
    EXPECT_GE(solutions->height(), solutions->minimumSizeHint().height());
    Retype(form->Edit5, QStringLiteral("130"));
    solutions->takeFromHost();
    solutions->CalculateButton->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !solutions->busy(); }, 60000));
    solutions->View->selectRow(3);
    QApplication::processEvents();
    Picture(*solutions, QStringLiteral("solutions-window") + suffix());
    solutions->close();

    // The coefficient editor with the shipped rules, centred on the screen.
    form.reset();
    ASSERT_TRUE(QFile::remove(programDirectory() + QStringLiteral("db1.mdb")));
    ASSERT_TRUE(QFile::copy(kProgramFiles + QStringLiteral("db1.mdb"), programDirectory() + QStringLiteral("db1.mdb")));
    openWindow();
    form->form5()->show();
    QApplication::processEvents();
    EXPECT_TRUE(Available().contains(form->form5()->frameGeometry()));
    Picture(*form->form5(), QStringLiteral("coefficient-editor") + suffix());
    form->form5()->hide();
}

INSTANTIATE_TEST_SUITE_P(Languages, ScreenTest, ::testing::Values(Language::Chinese, Language::English),
                         [](const ::testing::TestParamInfo<Language>& info) {
                             return info.param == Language::English ? "English" : "Chinese";
                         });

// The real dialogs, as the program makes them: over the main window unless
// another window of the program is the one in use.
class RealDialogsTest : public WindowTest {
 protected:
    void openWithRealDialogs() {
        real = std::make_unique<QtDialogs>(nullptr,
                                           RememberedFolder(programDirectory() + QStringLiteral("folder.txt")));
        form = std::make_unique<TForm1>(*real, programDirectory(), separator, QStringList());
        real->setParent(form.get());
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override {
        form.reset();
        real.reset();
    }
    std::unique_ptr<QtDialogs> real;
};

TEST_F(RealDialogsTest, APreviewStaysTheActiveWindowAfterItsSaveDialog) {
    openWithRealDialogs();
    typeWorkedExample();
    form->Button1->click();
    form->N20->trigger();
    const QList<TDrawingPreview*> previews = form->findChildren<TDrawingPreview*>();
    ASSERT_EQ(previews.size(), 1);
    TDrawingPreview* preview = previews.front();
    QApplication::setActiveWindow(preview);
    ASSERT_TRUE(QTest::qWaitForWindowActive(preview));
    preview->Canvas->setFocus();

    const QString chosen = programDirectory() + QStringLiteral("worm.dxf");
    QWidget* dialogParent = nullptr;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no file dialog came up";
            return;
        }
        dialogParent = dialog->parentWidget();
        dialog->selectFile(chosen);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    preview->SaveDxfButton->click();  // as its key does: the focus stays on the drawing
    EXPECT_EQ(dialogParent, preview);
    EXPECT_TRUE(QFile::exists(chosen));
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), preview);
    EXPECT_EQ(QApplication::focusWidget(), preview->Canvas);
}

}  // namespace
}  // namespace wormgear::testing
