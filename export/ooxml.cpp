// The one-sheet workbook skeleton.
#include "export/ooxml.h"

#include <charconv>
#include <ctime>

#include "calc/text.h"

namespace wormgear {
namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* kContentTypePrefix = "application/vnd.openxmlformats-officedocument.spreadsheetml.";

}  // namespace

const char* const kPlainStylesContent =
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>";

std::string PropertyTime(std::time_t time) {
    std::tm parts{};
    ::gmtime_r(&time, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

std::string CorePropertiesXml(const std::string& title, std::time_t time) {
    const std::string when = PropertyTime(time);
    return std::string(kDeclaration) +
           "<cp:coreProperties "
           "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
           "<dc:title>" +
           XmlEscaped(title) + "</dc:title><dc:creator>" + kDocumentCreator +
           "</dc:creator><dcterms:created xsi:type=\"dcterms:W3CDTF\">" + when +
           "</dcterms:created><dcterms:modified xsi:type=\"dcterms:W3CDTF\">" + when +
           "</dcterms:modified></cp:coreProperties>";
}

std::string StoredNumber(double value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::size_t SharedStrings::indexOf(const std::string& text) {
    const auto [it, added] = index_.emplace(text, items_.size());
    if (added) items_.push_back(text);
    return it->second;
}

PackageEntries OneSheetWorkbookPackage(const OneSheetWorkbook& book) {
    const std::string declaration = kDeclaration;
    const std::string mainNs = kSpreadsheetNamespace;
    const std::string relNs = kRelationshipNamespace;
    const std::string ct = kContentTypePrefix;

    const auto& items = book.strings.items();
    std::string shared = declaration + "<sst xmlns=\"" + mainNs + "\" count=\"" + std::to_string(items.size()) +
                         "\" uniqueCount=\"" + std::to_string(items.size()) + "\">";
    for (const std::string& text : items)
        shared += "<si><t xml:space=\"preserve\">" + XmlEscaped(EscapeSpreadsheetText(text)) + "</t></si>";
    shared += "</sst>";

    std::string workbook = declaration + "<workbook xmlns=\"" + mainNs + "\" xmlns:r=\"" + relNs + "\">" +
                           "<workbookPr/><bookViews><workbookView activeTab=\"0\"/></bookViews>"
                           "<sheets><sheet name=\"" +
                           XmlEscaped(book.sheetName) + "\" sheetId=\"1\" r:id=\"rId1\"/></sheets>";
    if (!book.definedNames.empty()) workbook += "<definedNames>" + book.definedNames + "</definedNames>";
    workbook += "</workbook>";

    const std::time_t date = book.date;
    return {
        {"[Content_Types].xml",
         declaration + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">" +
             "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
             "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
             "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" +
             ct +
             "sheet.main+xml\"/>"
             "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"" +
             ct +
             "worksheet+xml\"/>"
             "<Override PartName=\"/xl/styles.xml\" ContentType=\"" +
             ct +
             "styles+xml\"/>"
             "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"" +
             ct +
             "sharedStrings+xml\"/>"
             "<Override PartName=\"/" +
             kCorePropertiesPart + "\" ContentType=\"" + kCorePropertiesContentType +
             "\"/>"
             "</Types>",
         date},
        {"_rels/.rels",
         declaration + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
             "<Relationship Id=\"rId1\" Type=\"" + relNs +
             "/officeDocument\" Target=\"xl/workbook.xml\"/>"
             "<Relationship Id=\"rId2\" Type=\"" +
             kCorePropertiesRelType + "\" Target=\"" + kCorePropertiesPart +
             "\"/>"
             "</Relationships>",
         date},
        {kCorePropertiesPart, CorePropertiesXml(book.sheetName, date), date},
        {"xl/workbook.xml", workbook, date},
        {"xl/_rels/workbook.xml.rels",
         declaration + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
             "<Relationship Id=\"rId1\" Type=\"" + relNs +
             "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
             "<Relationship Id=\"rId2\" Type=\"" +
             relNs +
             "/styles\" Target=\"styles.xml\"/>"
             "<Relationship Id=\"rId3\" Type=\"" +
             relNs +
             "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
             "</Relationships>",
         date},
        {"xl/styles.xml",
         declaration + "<styleSheet xmlns=\"" + mainNs + "\">" +
             (book.stylesContent.empty() ? std::string(kPlainStylesContent) : book.stylesContent) + "</styleSheet>",
         date},
        {"xl/worksheets/sheet1.xml",
         declaration + "<worksheet xmlns=\"" + mainNs + "\" xmlns:r=\"" + relNs + "\">" + book.worksheetContent +
             "</worksheet>",
         date},
        {"xl/sharedStrings.xml", shared, date},
    };
}

}  // namespace wormgear
