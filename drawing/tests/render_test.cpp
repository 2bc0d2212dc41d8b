// The painted sheets: a golden picture per drawing of the worked example,
// SVG and PDF read back (the PDF by poppler's pdftotext and pdfinfo), and the
// report's archival attachment. Every test design's pictures are left in the
// build folder for review; drawing/tests/accept_pictures.sh takes the worked
// example's as the new golden ones after a reviewed change.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <algorithm>
#include <set>

#include "drawing/drawing_files.h"
#include "drawing/report_writer.h"
#include "drawing/sheet_builder.h"
#include "drawing/sheet_painter.h"
#include "drawing/testing/test_designs.h"

namespace wormgear {
namespace {

using namespace drawing;

const TitleBlock kTitle{"pair.cqb", "2024-05-01", "wormgear 7.6"};
// Golden pictures: 3 pixels per paper millimetre.
constexpr double kPixelsPerMillimetre = 3;

const char* FileStem(DrawingKind kind) {
    return kind == DrawingKind::Worm ? "worm" : kind == DrawingKind::Wheel ? "wheel" : "hob";
}

// Pixels that differ by more than a quarter of the range in any channel.
double DifferingShare(const QImage& a, const QImage& b, QImage& difference) {
    difference = QImage(a.size(), QImage::Format_RGB32);
    difference.fill(Qt::white);
    long differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::max(
                {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
            if (d > 64) {
                ++differing;
                difference.setPixel(x, y, qRgb(255, 0, 0));
            }
        }
    }
    return static_cast<double>(differing) / (static_cast<double>(a.width()) * a.height());
}

TEST(Pictures, WorkedExampleMatchesTheGoldenPictures) {
    const CalculatedDesign d = testing::Calculated(testing::WorkedExampleDesign());
    QDir().mkpath(QStringLiteral(WORMGEAR_PICTURES));
    for (DrawingKind kind : kDrawingKinds) {
        SCOPED_TRACE(FileStem(kind));
        const QImage picture = RenderSheet(BuildDrawing(kind, d, kTitle, testing::NoParticulars(d, kTitle), {}),
                                           kPixelsPerMillimetre);
        const QString name = QString::fromLatin1(FileStem(kind)) + QStringLiteral(".png");
        const QString actual = QStringLiteral(WORMGEAR_PICTURES "/") + name;
        ASSERT_TRUE(picture.save(actual));
        const QImage golden(QStringLiteral(WORMGEAR_GOLDEN_PICTURES "/") + name);
        if (golden.isNull() || golden.size() != picture.size()) {
            ADD_FAILURE() << "no golden picture " << name.toStdString() << " of this size; after review of "
                          << actual.toStdString() << ": drawing/tests/accept_pictures.sh";
            continue;
        }
        QImage difference;
        const double share = DifferingShare(golden.convertToFormat(QImage::Format_RGB32), picture, difference);
        if (share > 0.0003) {
            difference.save(QStringLiteral(WORMGEAR_PICTURES "/difference-") + name);
            ADD_FAILURE() << name.toStdString() << ": " << share * 100 << " % of the pixels differ; see "
                          << actual.toStdString() << " and its difference picture, and after review run "
                          << "drawing/tests/accept_pictures.sh";
        }
    }
}

TEST(Pictures, EveryTestDesignIsPaintedForReview) {
    for (const auto& design : testing::TestDesigns()) {
        const CalculatedDesign d = testing::Calculated(design);
        for (DrawingKind kind : kDrawingKinds) {
            const QImage picture = RenderSheet(BuildDrawing(kind, d, kTitle, testing::NoParticulars(d, kTitle), {}), 2);
            // A painted sheet is mostly paper, but not only.
            long dark = 0;
            for (int y = 0; y < picture.height(); y += 2)
                for (int x = 0; x < picture.width(); x += 2) dark += qGray(picture.pixel(x, y)) < 128;
            EXPECT_GT(dark, 1000) << design.name << " " << FileStem(kind);
            QString file = QString::fromStdString(design.name);
            file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-"));
            picture.save(QStringLiteral(WORMGEAR_PICTURES "/review-") + file + QLatin1Char('-') +
                         QLatin1String(FileStem(kind)) + QStringLiteral(".png"));
        }
    }
}

// Every <text> of an SVG document, concatenated per element.
std::set<std::string> SvgTexts(const QByteArray& svg, QString* width) {
    std::set<std::string> texts;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("svg")) *width = xml.attributes().value(QLatin1String("width")).toString();
        if (xml.name() == QLatin1String("text"))
            texts.insert(xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().toStdString());
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return texts;
}

TEST(Svg, CarriesEveryDimensionTextAndThePaperSize) {
    const CalculatedDesign d = testing::Calculated(testing::WorkedExampleDesign());
    for (DrawingKind kind : kDrawingKinds) {
        const Sheet sheet = BuildDrawing(kind, d, kTitle, testing::NoParticulars(d, kTitle), {});
        QString width;
        const std::set<std::string> texts = SvgTexts(SheetSvg(sheet), &width);
        EXPECT_EQ(width.toStdString(), kind == DrawingKind::Worm ? "420mm" : "297mm");
        // Qt writes a run of another font (the diameter sign's) as a text of its own.
        for (const Dimension& dim : sheet.dimensions) {
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const std::string& t) {
                return t.find(dim.value) != std::string::npos;
            })) << dim.value;
        }
        EXPECT_TRUE(texts.count("\u2300"));
    }
}

// Runs a poppler tool; nothing when it is not installed.
std::optional<QString> Poppler(const QString& tool, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) return std::nullopt;
    QProcess process;
    process.start(tool, arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(Pdf, DrawingsCarryTheirDimensionTextsOnTheirPaper) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const CalculatedDesign d = testing::Calculated(testing::TestDesigns()[2]);  // ratio class 4 with E
    QTemporaryDir dir;
    for (DrawingKind kind : kDrawingKinds) {
        SCOPED_TRACE(FileStem(kind));
        const Sheet sheet = BuildDrawing(kind, d, kTitle, testing::NoParticulars(d, kTitle), {});
        const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
        SaveSheet(sheet, FileFormat::Pdf, path.toStdString());
        // pdftotext breaks turned texts into their characters: the texts are
        // compared without the line breaks and blanks it puts between them.
        QString text = *Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), path, QStringLiteral("-")});
        text.remove(QRegularExpression(QStringLiteral("\\s")));
        for (const Dimension& dim : sheet.dimensions)
            EXPECT_TRUE(text.contains(QString::fromStdString(dim.value))) << dim.value << "\n" << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("参数表")));
        const QString info = *Poppler(QStringLiteral("pdfinfo"), {path});
        EXPECT_TRUE(info.contains(kind == DrawingKind::Worm ? QStringLiteral("(A3)") : QStringLiteral("(A4)")))
            << info.toStdString();
        // Across: wider than high.
        const QRegularExpressionMatch size =
            QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+)")).match(info);
        ASSERT_TRUE(size.hasMatch());
        EXPECT_GT(size.captured(1).toDouble(), size.captured(2).toDouble());
    }
}

TEST(ArchivalPdf, RefusesAPdfNotLaidOutAsQtWritesIt) {
    const std::string notQt =
        "%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\ntrailer\n<< /Size 2 /Root 1 0 R >>\n"
        "startxref\n9\n%%EOF\n";
    EXPECT_THROW(AttachToArchivalPdf(notQt, "a.json", "application#2Fjson", "{}", "x", "D:20240501000000Z"),
                 std::runtime_error);
}

TEST(ArchivalPdf, AddsTheFileByAnUpdateThatPointsBackToTheOriginal) {
    ReportContent content{testing::Calculated(testing::WorkedExampleDesign()), kTitle, {}, {}, {}};
    const std::string pdf = ReportPdf(content).toStdString();
    // The update follows the whole original file, whose cross-reference it names.
    const auto firstEnd = pdf.find("%%EOF");
    ASSERT_NE(firstEnd, std::string::npos);
    const auto previous = pdf.find("startxref\n");
    const std::string previousOffset = pdf.substr(previous + 10, pdf.find('\n', previous + 10) - previous - 10);
    EXPECT_NE(pdf.find("/Prev " + previousOffset), std::string::npos);
    EXPECT_NE(pdf.find("pdfaid:part=\"3\""), std::string::npos);
    EXPECT_EQ(pdf.find("pdfaid:part=\"1\""), std::string::npos);
    EXPECT_NE(pdf.find("/AFRelationship /Source"), std::string::npos);
    EXPECT_NE(pdf.find("\"centre-distance\":\"200\""), std::string::npos);
    EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
}

}  // namespace
}  // namespace wormgear
