// The tools menu: the drawings and the report of the last successful
// calculation in their preview windows, compared with what the window shows;
// saving, printing, zooming and moving them; and the message before a
// calculation has succeeded.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QWheelEvent>
#include <set>

#include "drawing/drawing_commands.h"
#include "drawing/sheet_builder.h"
#include "ui/tests/window_fixture.h"

namespace wormgear::testing {
namespace {

QAction* Item(TForm1& form, const char* name) { return form.findChild<QAction*>(QString::fromLatin1(name)); }

QList<TDrawingPreview*> Previews(TForm1& form) { return form.findChildren<TDrawingPreview*>(); }

// The number before a result line's hyphens: "156.492-----蜗杆齿顶圆弧半径" -> "156.492".
std::string Number(const QLabel* label) {
    const QString text = label->text();
    return text.left(text.indexOf(QStringLiteral("--"))).toStdString();
}

std::set<std::string> SheetTexts(const drawing::Sheet& sheet) {
    std::set<std::string> texts;
    for (const drawing::TextEntity& t : sheet.graphics.texts) texts.insert(t.text);
    return texts;
}

TEST_F(WindowTest, BeforeASuccessfulCalculationTheToolsSayWhy) {
    openWindow();
    for (const char* item : {"N20", "N21", "N22", "N23"}) {
        SCOPED_TRACE(item);
        dialogs.messages.clear();
        Item(*form, item)->trigger();
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, NotCalculatedMessage());
        EXPECT_EQ(dialogs.messages[0].caption, ApplicationTitle());
    }
    EXPECT_TRUE(Previews(*form).isEmpty());

    // A failed calculation after a successful one leaves nothing to draw.
    typeWorkedExample();
    form->Button1->click();
    Retype(form->Edit13, QString());
    form->Button1->click();
    dialogs.messages.clear();
    Item(*form, "N21")->trigger();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, NotCalculatedMessage());
    EXPECT_TRUE(Previews(*form).isEmpty());
}

TEST_F(WindowTest, TheDrawingsShowTheWindowsTexts) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    ASSERT_TRUE(dialogs.messages.empty());
    struct Drawing {
        const char* item;
        std::vector<QLabel*> tableLabels;  // results whose texts the table carries
    };
    const Drawing kDrawings[] = {
        {"N20",
         {form->Label25, form->Label12, form->Label13, form->Label14, form->Label28, form->Label26, form->Label27,
          form->Label16, form->Label17, form->Label41, form->Label42, form->Label51, form->Label52}},
        {"N21", {form->Label25, form->Label23, form->Label14, form->Label44, form->Label45}},
        {"N22", {form->Label29, form->Label21, form->Label22, form->Label25, form->Label12, form->Label13}},
    };
    // Every number the window shows, in its result lines and its fields.
    std::set<std::string> windowTexts;
    for (const ResultDescription& result : Results()) windowTexts.insert(Number(form->resultLabel(result.label)));
    for (QLineEdit* edit : {form->Edit1, form->Edit2, form->Edit3, form->Edit4, form->Edit7})
        windowTexts.insert(edit->text().toStdString());
    for (const Drawing& drawing : kDrawings) {
        SCOPED_TRACE(drawing.item);
        Item(*form, drawing.item)->trigger();
        ASSERT_EQ(Previews(*form).size(), 1);
        TDrawingPreview* preview = Previews(*form).front();
        EXPECT_TRUE(preview->isVisible());
        EXPECT_FALSE(preview->isReport());
        const drawing::Sheet& sheet = preview->sheet();
        const std::set<std::string> texts = SheetTexts(sheet);
        for (QLabel* label : drawing.tableLabels) EXPECT_TRUE(texts.count(Number(label))) << Number(label);
        EXPECT_TRUE(texts.count(form->Edit9->text().toStdString()) || drawing.item == std::string("N22"));
        EXPECT_FALSE(sheet.dimensions.empty());
        for (const drawing::Dimension& dim : sheet.dimensions) EXPECT_TRUE(windowTexts.count(dim.value)) << dim.value;
        preview->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

// The whole text of a file written by a preview.
QByteArray Saved(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The DXF form of a diameter's dimension text: "%%c103.704" for ⌀103.704.
QByteArray DxfDiameter(const QLabel* label) { return "%%c" + QByteArray::fromStdString(Number(label)); }

TEST_F(WindowTest, APreviewFollowsEveryRecalculation) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    Item(*form, "N20")->trigger();
    ASSERT_EQ(Previews(*form).size(), 1);
    TDrawingPreview* preview = Previews(*form).front();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(preview));
    const QByteArray before = DxfDiameter(form->Label48);  // the worm's largest tip diameter, ⌀103.704
    // The designer zooms in, then tries another pitch diameter.
    QTest::mouseClick(preview->ZoomInButton, Qt::LeftButton);
    const double zoom = preview->Canvas->zoom();
    Retype(form->Edit7, QStringLiteral("80"));
    form->Button1->click();
    ASSERT_TRUE(dialogs.messages.empty());
    const QByteArray after = DxfDiameter(form->Label48);
    ASSERT_NE(after, before);
    EXPECT_EQ(Previews(*form), QList<TDrawingPreview*>{preview});  // the same window, in its place
    EXPECT_FALSE(preview->isOutOfDate());
    EXPECT_DOUBLE_EQ(preview->Canvas->zoom(), zoom);
    // Every dimension is the window's text of the new calculation.
    std::set<std::string> windowTexts;
    for (const ResultDescription& result : Results()) windowTexts.insert(Number(form->resultLabel(result.label)));
    for (QLineEdit* edit : {form->Edit1, form->Edit7}) windowTexts.insert(edit->text().toStdString());
    bool pitchDiameterShown = false;
    for (const drawing::Dimension& dim : preview->sheet().dimensions) {
        EXPECT_TRUE(windowTexts.count(dim.value)) << dim.value;
        pitchDiameterShown = pitchDiameterShown || dim.value == "80";
    }
    EXPECT_TRUE(pitchDiameterShown);
    // And 保存为 writes the drawing on screen.
    const QString path = programDirectory() + QStringLiteral("worm.dxf");
    dialogs.saveAnswers.push_back(path);
    QTest::mouseClick(preview->SaveDxfButton, Qt::LeftButton);
    const QByteArray dxf = Saved(path);
    EXPECT_TRUE(dxf.contains(after)) << after.toStdString();
    EXPECT_FALSE(dxf.contains(before)) << before.toStdString();
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, AFailedRecalculationLeavesThePreviewMarkedOutOfDateUntilTheNextSuccess) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    Item(*form, "N20")->trigger();
    Item(*form, "N23")->trigger();
    ASSERT_EQ(Previews(*form).size(), 2);
    const QString title = Previews(*form).front()->windowTitle();
    Retype(form->Edit5, QStringLiteral("400"));  // beyond the wheel: the calculation fails
    form->Button1->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    dialogs.messages.clear();
    for (TDrawingPreview* preview : Previews(*form)) {
        SCOPED_TRACE(preview->windowTitle().toStdString());
        EXPECT_TRUE(preview->isOutOfDate());
        EXPECT_FALSE(preview->OutOfDateLabel->isHidden());
        EXPECT_TRUE(preview->Canvas->dimmed());
        EXPECT_NE(preview->windowTitle(), title);
        for (QPushButton* button :
             {preview->SaveDxfButton, preview->SaveSvgButton, preview->SavePdfButton, preview->PrintButton})
            EXPECT_FALSE(button->isEnabled());
        // A save that still comes (its key, a script) writes nothing and says why.
        preview->save(FileFormat::Pdf);
        preview->setPrinterChooser([](QPrinter&) {
            ADD_FAILURE() << "a printer chosen for pages out of date";
            return false;
        });
        preview->printPages();
    }
    EXPECT_EQ(dialogs.messages.size(), 4u);
    EXPECT_TRUE(dialogs.saveAnswers.empty() && dialogs.proposedNames.empty());

    // The next successful calculation brings them up to date, with its numbers.
    Retype(form->Edit5, QStringLiteral("128"));
    form->Button1->click();
    ASSERT_EQ(dialogs.messages.size(), 4u);
    for (TDrawingPreview* preview : Previews(*form)) {
        EXPECT_FALSE(preview->isOutOfDate());
        EXPECT_TRUE(preview->OutOfDateLabel->isHidden());
        EXPECT_FALSE(preview->Canvas->dimmed());
        EXPECT_TRUE(preview->SavePdfButton->isEnabled());
    }
    EXPECT_EQ(Previews(*form).front()->windowTitle(), title);
    const QString path = programDirectory() + QStringLiteral("worm.dxf");
    dialogs.saveAnswers.push_back(path);
    TDrawingPreview* worm = Previews(*form).front()->isReport() ? Previews(*form).back() : Previews(*form).front();
    QTest::mouseClick(worm->SaveDxfButton, Qt::LeftButton);
    EXPECT_TRUE(Saved(path).contains("%%c128"));
}

TEST_F(WindowTest, SavingADrawingAddsTheExtensionAndReportsAFailure) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    Item(*form, "N20")->trigger();
    TDrawingPreview* preview = Previews(*form).front();

    const QString chosen = programDirectory() + QStringLiteral("worm");
    for (auto [button, extension, start] : {std::tuple{preview->SaveDxfButton, "dxf", QByteArray("  0\nSECTION")},
                                            std::tuple{preview->SaveSvgButton, "svg", QByteArray("<?xml")},
                                            std::tuple{preview->SavePdfButton, "pdf", QByteArray("%PDF")}}) {
        SCOPED_TRACE(extension);
        dialogs.saveAnswers.push_back(chosen);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(dialogs.filters.back(), QStringLiteral("*.") + QLatin1String(extension));
        EXPECT_EQ(dialogs.proposedNames.back(), QStringLiteral("蜗杆图"));
        QFile file(chosen + QLatin1Char('.') + QLatin1String(extension));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().startsWith(start));
    }
    EXPECT_TRUE(dialogs.messages.empty());

    // A folder that does not exist: the message, and no file anywhere.
    const QString nowhere = programDirectory() + QStringLiteral("missing/worm.dxf");
    dialogs.saveAnswers.push_back(nowhere);
    QTest::mouseClick(preview->SaveDxfButton, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("文件未能保存：")))
        << dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(dialogs.messages[0].text.contains(nowhere));
    EXPECT_FALSE(QDir(programDirectory() + QStringLiteral("missing")).exists());

    // Cancelled: nothing written, nothing said.
    dialogs.saveAnswers.push_back(std::nullopt);
    QTest::mouseClick(preview->SaveDxfButton, Qt::LeftButton);
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(WindowTest, TheReportPreviewSavesAPdfOnly) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    Item(*form, "N23")->trigger();
    ASSERT_EQ(Previews(*form).size(), 1);
    TDrawingPreview* preview = Previews(*form).front();
    EXPECT_TRUE(preview->isReport());
    EXPECT_FALSE(preview->SaveDxfButton->isVisible());
    EXPECT_FALSE(preview->SaveSvgButton->isVisible());
    EXPECT_TRUE(preview->SavePdfButton->isVisible());
    // The pages of tables, then three drawings and the meshing's plots, across.
    ASSERT_GT(preview->pages().size(), 4u);
    for (std::size_t k = preview->pages().size() - 4; k < preview->pages().size(); ++k)
        EXPECT_GT(preview->pages()[k].sheet.width, preview->pages()[k].sheet.height);
    const QString chosen = programDirectory() + QStringLiteral("report.PDF");
    dialogs.saveAnswers.push_back(chosen);
    QTest::mouseClick(preview->SavePdfButton, Qt::LeftButton);
    EXPECT_EQ(dialogs.proposedNames.back(), QStringLiteral("计算书"));
    QFile file(chosen);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));  // the extension was there already
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, PrintingPaintsEveryPage) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    Item(*form, "N23")->trigger();
    TDrawingPreview* preview = Previews(*form).front();
    const QString output = programDirectory() + QStringLiteral("printed.pdf");
    preview->setPrinterChooser([&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(output);
        return true;
    });
    QTest::mouseClick(preview->PrintButton, Qt::LeftButton);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {output});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QStringLiteral("Pages:           %1").arg(preview->pages().size())));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {output, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    for (QLabel* label : {form->Label9, form->Label8, form->Label52, form->Label49})
        EXPECT_TRUE(printed.contains(QString::fromStdString(Number(label)))) << Number(label);

    // A printer chosen and then refused: nothing printed.
    preview->setPrinterChooser([](QPrinter&) { return false; });
    QFile::remove(output);
    QTest::mouseClick(preview->PrintButton, Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(output));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WindowTest, ThePreviewZoomsAndMoves) {
    openWindow();
    typeWorkedExample();
    form->Button1->click();
    Item(*form, "N20")->trigger();
    TDrawingPreview* preview = Previews(*form).front();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(preview));
    PreviewCanvas* canvas = preview->Canvas;
    const double fitted = canvas->zoom();
    EXPECT_GT(fitted, 0);
    // The wheel zooms about the point under the mouse.
    const QPointF at(canvas->width() / 3.0, canvas->height() / 3.0);
    const QPointF paperBefore = (at - canvas->offset()) / canvas->zoom();
    QWheelEvent wheel(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    EXPECT_NEAR(canvas->zoom(), fitted * 1.44, 1e-9);
    const QPointF paperAfter = (at - canvas->offset()) / canvas->zoom();
    EXPECT_NEAR(paperAfter.x(), paperBefore.x(), 1e-9);
    EXPECT_NEAR(paperAfter.y(), paperBefore.y(), 1e-9);
    // Dragging moves the paper with the mouse.
    const QPointF offset = canvas->offset();
    QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(canvas, QPoint(130, 80));
    QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(130, 80));
    EXPECT_EQ(canvas->offset(), offset + QPointF(30, -20));
    QTest::mouseClick(preview->ZoomOutButton, Qt::LeftButton);
    EXPECT_NEAR(canvas->zoom(), fitted * 1.44 * 0.8, 1e-9);
    QTest::mouseClick(preview->FitButton, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(canvas->zoom(), fitted);
}

}  // namespace
}  // namespace wormgear::testing
