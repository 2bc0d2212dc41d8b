// Painting the report's pages into a PDF and attaching the design to it.
#include "drawing/report_writer.h"

#include <QBuffer>
#include <QDateTime>
#include <QPdfWriter>
#include <stdexcept>

#include "drawing/pdf_update.h"
#include "drawing/sheet_painter.h"

namespace wormgear {

void PaintReportPage(QPainter& painter, const ReportDocument& document, std::size_t index, const QRectF& target) {
    const ReportPage& page = document.pages.at(index);
    PaintSheet(painter, page.sheet, target);
    if (!page.drawing) return;
    // The same fit as PaintSheet's: the page's millimetres onto the target.
    const drawing::Sheet& sheet = page.sheet;
    const double k = std::min(target.width() / sheet.width, target.height() / sheet.height);
    const QPointF origin(target.x() + (target.width() - sheet.width * k) / 2,
                         target.y() + (target.height() - sheet.height * k) / 2);
    const drawing::Rect& area = page.area;
    const QRectF place(origin.x() + area.left * k, origin.y() + (sheet.height - area.top) * k, area.width() * k,
                       area.height() * k);
    PaintSheet(painter, document.drawing(*page.drawing), place);
}

namespace {

[[noreturn]] void NotQtLayout(const char* what) {
    throw std::runtime_error(std::string("the PDF is not laid out as expected: ") + what);
}

std::string PdfString(const std::string& ascii) {
    std::string out = "(";
    for (char c : ascii) {
        if (c == '(' || c == ')' || c == '\\') out += '\\';
        out += c;
    }
    return out + ")";
}

}  // namespace

std::string AttachToArchivalPdf(const std::string& pdf, const std::string& name, const std::string& mimeSubtype,
                                const std::string& data, const std::string& description, const std::string& modified) {
    std::string out = pdf;
    // The metadata Qt writes for PDF/A-1b, turned into PDF/A-3b in place:
    // the same length, so no offset moves.
    const std::string part1 = "pdfaid:part=\"1\"";
    const auto part = out.find(part1);
    if (part == std::string::npos) NotQtLayout("no PDF/A identification");
    out[part + part1.size() - 2] = '3';

    const PdfTrailer trailer = ReadPdfTrailer(out);
    const int size = trailer.size, root = trailer.root;
    std::string catalog = PdfObjectDictionary(out, root);
    if (catalog.find("/Names") != std::string::npos || catalog.find("/AF") != std::string::npos)
        NotQtLayout("catalog already names files");

    const int stream = size, spec = size + 1, tree = size + 2, names = size + 3;
    // The fonts' names with their subset tags, and the attachment.
    std::vector<std::pair<int, std::string>> objects = FontsToTag(out);
    for (auto& [number, dictionary] : objects) dictionary = "<<" + dictionary + ">>";
    const auto object = [&](int number, const std::string& body) { objects.emplace_back(number, body); };
    object(stream, "<< /Type /EmbeddedFile /Subtype /" + mimeSubtype + " /Params << /Size " +
                       std::to_string(data.size()) + " /ModDate " + PdfString(modified) + " >> /Length " +
                       std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream");
    object(spec, "<< /Type /Filespec /F " + PdfString(name) + " /UF " + PdfString(name) + " /Desc " +
                     PdfString(description) + " /AFRelationship /Source /EF << /F " + std::to_string(stream) +
                     " 0 R /UF " + std::to_string(stream) + " 0 R >> >>");
    object(tree, "<< /Names [" + PdfString(name) + " " + std::to_string(spec) + " 0 R] >>");
    object(names, "<< /EmbeddedFiles " + std::to_string(tree) + " 0 R >>");
    object(root,
           "<<" + catalog + "/Names " + std::to_string(names) + " 0 R\n/AF [" + std::to_string(spec) + " 0 R]\n>>");

    AppendPdfUpdate(out, objects, trailer, names + 1);
    return out;
}

QByteArray ReportPdf(const ReportContent& content, const Translate& translate) {
    const ReportDocument document = BuildReport(content, translate);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        pdf.setResolution(1200);
        pdf.setTitle(QString::fromStdString(document.pages.front().sheet.title));
        pdf.setCreator(QString::fromStdString(content.title.program));
        const auto layout = [&](std::size_t i) {
            const drawing::Sheet& sheet = document.pages[i].sheet;
            pdf.setPageLayout(PaperLayout(sheet.width, sheet.height));
        };
        layout(0);
        QPainter painter(&pdf);
        for (std::size_t i = 0; i < document.pages.size(); ++i) {
            if (i > 0) {
                layout(i);
                pdf.newPage();
            }
            PaintReportPage(painter, document, i, QRectF(0, 0, pdf.width(), pdf.height()));
        }
    }
    const std::string modified =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("'D:'yyyyMMddHHmmss'Z'")).toStdString();
    return QByteArray::fromStdString(AttachToArchivalPdf(bytes.toStdString(), "design.json", "application#2Fjson",
                                                         ReportJson(content, translate),
                                                         "Design: inputs, coefficients and results", modified));
}

}  // namespace wormgear
