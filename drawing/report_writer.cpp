// Painting the report's pages into a PDF and attaching the design to it.
#include "drawing/report_writer.h"

#include <QBuffer>
#include <QDateTime>
#include <QPdfWriter>
#include <regex>
#include <stdexcept>

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

// The dictionary of object `number` ("6 0 obj\n<<...>>"), without its outer brackets.
std::string ObjectDictionary(const std::string& pdf, int number) {
    const std::string head = "\n" + std::to_string(number) + " 0 obj";
    const auto start = pdf.find(head);
    if (start == std::string::npos) NotQtLayout("object missing");
    const auto open = pdf.find("<<", start);
    const auto end = pdf.find("endobj", start);
    if (open == std::string::npos || end == std::string::npos || open > end) NotQtLayout("object without dictionary");
    const auto close = pdf.rfind(">>", end);
    if (close == std::string::npos || close < open) NotQtLayout("dictionary not closed");
    return pdf.substr(open + 2, close - open - 2);
}

int Reference(const std::string& trailer, const char* key) {
    std::smatch match;
    const std::regex pattern(std::string("/") + key + "\\s+(\\d+)\\s+0\\s+R");
    if (!std::regex_search(trailer, match, pattern)) NotQtLayout(key);
    return std::stoi(match[1]);
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

    const auto trailerAt = out.rfind("trailer");
    const auto startxrefAt = out.rfind("startxref");
    if (trailerAt == std::string::npos || startxrefAt == std::string::npos || startxrefAt < trailerAt)
        NotQtLayout("no trailer");
    const std::string trailer = out.substr(trailerAt, startxrefAt - trailerAt);
    const long previous = std::stol(out.substr(startxrefAt + 9));
    std::smatch match;
    if (!std::regex_search(trailer, match, std::regex("/Size\\s+(\\d+)"))) NotQtLayout("no size");
    const int size = std::stoi(match[1]);
    std::string id;
    if (std::regex_search(trailer, match, std::regex("/ID\\s*\\[[^\\]]*\\]"))) id = match[0];
    const int root = Reference(trailer, "Root"), info = Reference(trailer, "Info");
    std::string catalog = ObjectDictionary(out, root);
    if (catalog.find("/Names") != std::string::npos || catalog.find("/AF") != std::string::npos)
        NotQtLayout("catalog already names files");

    const int stream = size, spec = size + 1, tree = size + 2, names = size + 3;
    if (out.back() != '\n') out += '\n';
    std::vector<std::pair<int, std::size_t>> offsets;
    const auto object = [&](int number, const std::string& body) {
        offsets.push_back({number, out.size()});
        out += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    };
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

    // The cross-reference section of the update: the catalog alone, then the four new objects.
    const std::size_t xref = out.size();
    out += "xref\n";
    char entry[32];
    const auto section = [&](std::size_t from, std::size_t count) {
        out += std::to_string(offsets[from].first) + " " + std::to_string(count) + "\n";
        for (std::size_t i = from; i < from + count; ++i) {
            std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", offsets[i].second);
            out += entry;
        }
    };
    std::sort(offsets.begin(), offsets.end());
    // Qt numbers the catalog below the new objects; the new ones follow each other.
    section(0, 1);
    section(1, 4);
    out += "trailer\n<< /Size " + std::to_string(names + 1) + " /Root " + std::to_string(root) + " 0 R /Info " +
           std::to_string(info) + " 0 R /Prev " + std::to_string(previous) + " " + id + " >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
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
                                                         ReportJson(content),
                                                         "Design: inputs, coefficients and results", modified));
}

}  // namespace wormgear
