// Incremental updates of Qt's PDFs: the trailer read, objects appended with
// their cross-reference section, and the fonts' subset tags.
#include "drawing/pdf_update.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <regex>
#include <stdexcept>

namespace wormgear {

namespace {

[[noreturn]] void NotQtLayout(const char* what) {
    throw std::runtime_error(std::string("the PDF is not laid out as expected: ") + what);
}

// The dictionary of object `number` ("6 0 obj\n<<...>>"), without its outer brackets.
std::string Dictionary(const std::string& pdf, int number) {
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

}  // namespace

std::string PdfObjectDictionary(const std::string& pdf, int number) { return Dictionary(pdf, number); }

PdfTrailer ReadPdfTrailer(const std::string& pdf) {
    const auto trailerAt = pdf.rfind("trailer");
    const auto startxrefAt = pdf.rfind("startxref");
    if (trailerAt == std::string::npos || startxrefAt == std::string::npos || startxrefAt < trailerAt)
        NotQtLayout("no trailer");
    const std::string trailer = pdf.substr(trailerAt, startxrefAt - trailerAt);
    PdfTrailer read;
    read.startxref = std::stol(pdf.substr(startxrefAt + 9));
    std::smatch match;
    if (!std::regex_search(trailer, match, std::regex("/Size\\s+(\\d+)"))) NotQtLayout("no size");
    read.size = std::stoi(match[1]);
    if (std::regex_search(trailer, match, std::regex("/ID\\s*\\[[^\\]]*\\]"))) read.id = match[0];
    read.root = Reference(trailer, "Root");
    read.info = Reference(trailer, "Info");
    return read;
}

void AppendPdfUpdate(std::string& pdf, const std::vector<std::pair<int, std::string>>& objects,
                     const PdfTrailer& trailer, int size) {
    if (pdf.back() != '\n') pdf += '\n';
    std::vector<std::pair<int, std::size_t>> offsets;
    for (const auto& [number, body] : objects) {
        offsets.push_back({number, pdf.size()});
        pdf += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    }
    // The cross-reference section: a subsection for each run of consecutive
    // object numbers.
    const std::size_t xref = pdf.size();
    pdf += "xref\n";
    char entry[32];
    std::sort(offsets.begin(), offsets.end());
    for (std::size_t from = 0; from < offsets.size();) {
        std::size_t to = from + 1;
        while (to < offsets.size() && offsets[to].first == offsets[to - 1].first + 1) ++to;
        pdf += std::to_string(offsets[from].first) + " " + std::to_string(to - from) + "\n";
        for (std::size_t i = from; i < to; ++i) {
            std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", offsets[i].second);
            pdf += entry;
        }
        from = to;
    }
    pdf += "trailer\n<< /Size " + std::to_string(size) + " /Root " + std::to_string(trailer.root) + " 0 R /Info " +
           std::to_string(trailer.info) + " 0 R /Prev " + std::to_string(trailer.startxref) + " " + trailer.id +
           " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
}

std::vector<std::pair<int, std::string>> FontsToTag(const std::string& pdf) {
    std::map<std::string, std::string> tagged;  // "WenQuanYiMicroHei" -> "QLBAAA+WenQuanYiMicroHei"
    const std::regex descriptor("/FontName\\s*/([A-Z]{6})\\+([^\\s/<>\\[\\]()]+)");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), descriptor); it != std::sregex_iterator(); ++it)
        tagged[(*it)[2]] = (*it)[1].str() + "+" + (*it)[2].str();
    std::vector<std::pair<int, std::string>> fonts;
    const std::regex font("\n(\\d+) 0 obj\\s*<<\\s*/Type /Font\\b");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), font); it != std::sregex_iterator(); ++it) {
        const int number = std::stoi((*it)[1]);
        std::string dictionary = Dictionary(pdf, number);
        std::smatch base;
        if (!std::regex_search(dictionary, base, std::regex("/BaseFont\\s*/([^\\s/<>\\[\\]()]+)"))) continue;
        const auto name = tagged.find(base[1]);
        if (name == tagged.end()) continue;
        dictionary.replace(static_cast<std::size_t>(base.position(1)), static_cast<std::size_t>(base.length(1)),
                           name->second);
        fonts.emplace_back(number, std::move(dictionary));
    }
    return fonts;
}

std::string WithTaggedFontSubsets(const std::string& pdf) {
    std::vector<std::pair<int, std::string>> fonts = FontsToTag(pdf);
    if (fonts.empty()) return pdf;
    for (auto& [number, dictionary] : fonts) dictionary = "<<" + dictionary + ">>";
    const PdfTrailer trailer = ReadPdfTrailer(pdf);
    std::string out = pdf;
    AppendPdfUpdate(out, fonts, trailer, trailer.size);
    return out;
}

}  // namespace wormgear
