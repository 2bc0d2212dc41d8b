// OOXML workbooks through pugixml: the package is held in memory, the active
// worksheet and the shared strings are parsed, and only the parts a write
// touched are serialised again on save; every other part is written back
// byte for byte.
#include "export/workbook.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <map>
#include <optional>
#include <sstream>
#include <unordered_map>

#include "calc/numeric.h"
#include "calc/text.h"
#include "export/legacy_workbook.h"
#include "export/number_cells.h"
#include "export/ooxml.h"
#include "export/opendocument.h"
#include "files/file_io.h"
#include "files/file_names.h"

namespace wormgear {
namespace {

using Kind = WorkbookError::Kind;

constexpr int kMaxRow = 1048576;
constexpr int kMaxColumn = 16384;
// A cell holds at most 32767 characters in every spreadsheet program that
// reads these files; longer texts are cut or refused by them.
constexpr std::size_t kMaxCellTextUnits = 32767;

const char* const kContentTypesPart = "[Content_Types].xml";
const char* const kSharedStringsContentType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml";
const char* const kSharedStringsRelType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings";
const char* const kWorkbookContentType = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
const char* const kMacroWorkbookContentType = "application/vnd.ms-excel.sheet.macroEnabled.main+xml";
const char* const kStylesContentType = "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";
const char* const kStylesRelType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

const char* LocalName(const char* name) {
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

bool IsElement(pugi::xml_node node, const char* local) {
    return node.type() == pugi::node_element && std::strcmp(LocalName(node.name()), local) == 0;
}

pugi::xml_node ChildNamed(pugi::xml_node parent, const char* local) {
    for (pugi::xml_node child : parent.children()) {
        if (IsElement(child, local)) return child;
    }
    return {};
}

// The namespace prefix of an element, "x:" for "x:worksheet", "" for none;
// new elements take the prefix of the element they are added to.
std::string PrefixOf(pugi::xml_node node) {
    const char* name = node.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? std::string(name, colon + 1) : std::string();
}

// The relationship id attribute ("r:id" with whatever prefix the file uses).
const char* RelationshipId(pugi::xml_node node) {
    for (pugi::xml_attribute attribute : node.attributes()) {
        const char* name = attribute.name();
        if (std::strchr(name, ':') && std::strcmp(LocalName(name), "id") == 0) return attribute.value();
    }
    return "";
}

std::string FolderOf(const std::string& part) {
    std::string::size_type slash = part.find_last_of('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string RelationshipsPartOf(const std::string& part) {
    std::string::size_type slash = part.find_last_of('/');
    std::string name = slash == std::string::npos ? part : part.substr(slash + 1);
    return FolderOf(part) + "_rels/" + name + ".rels";
}

// A relationship target resolved against the part that holds it:
// ("xl/workbook.xml", "worksheets/sheet1.xml") -> "xl/worksheets/sheet1.xml".
std::string ResolveTarget(const std::string& sourcePart, const std::string& target) {
    std::string decoded;
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (target[i] == '%' && i + 2 < target.size() && HexDigitValue(target[i + 1]) >= 0 &&
            HexDigitValue(target[i + 2]) >= 0) {
            decoded += static_cast<char>(HexDigitValue(target[i + 1]) * 16 + HexDigitValue(target[i + 2]));
            i += 2;
        } else {
            decoded += target[i];
        }
    }
    std::string joined = !decoded.empty() && decoded[0] == '/' ? decoded.substr(1) : FolderOf(sourcePart) + decoded;
    std::vector<std::string> segments;
    std::stringstream stream(joined);
    std::string segment;
    while (std::getline(stream, segment, '/')) {
        if (segment.empty() || segment == ".") continue;
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
            continue;
        }
        segments.push_back(segment);
    }
    std::string resolved;
    for (const std::string& s : segments) resolved += (resolved.empty() ? "" : "/") + s;
    return resolved;
}

// "C12" -> column 3; 0 when the text starts with no column letters.
int ColumnOfReference(const char* reference) {
    int column = 0;
    const char* p = reference;
    while ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z')) {
        column = column * 26 + ((*p & ~0x20) - 'A' + 1);
        if (column > kMaxColumn) return 0;
        ++p;
    }
    return column;
}

int RowOfReference(const char* reference) {
    const char* p = reference;
    while ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z')) ++p;
    int row = 0;
    auto result = std::from_chars(p, p + std::strlen(p), row);
    return result.ec == std::errc() && row >= 1 && row <= kMaxRow ? row : 0;
}

int ParsePositive(const char* text, int limit) {
    int value = 0;
    auto result = std::from_chars(text, text + std::strlen(text), value);
    return result.ec == std::errc() && *result.ptr == '\0' && value >= 1 && value <= limit ? value : 0;
}

bool InsideSheet(int row, int column) { return row >= 1 && row <= kMaxRow && column >= 1 && column <= kMaxColumn; }

std::string PositionOutsideSheet(int row, int column) {
    return "单元格位置（第 " + std::to_string(row) + " 行，第 " + std::to_string(column) + " 列）超出工作表范围";
}

// Row number of a <row>: its r attribute, or the one after the previous row.
int RowNumberOf(pugi::xml_node row, int previous) {
    pugi::xml_attribute r = row.attribute("r");
    int number = r ? ParsePositive(r.value(), kMaxRow) : 0;
    return number ? number : previous + 1;
}

int ColumnNumberOf(pugi::xml_node cell, int previous) {
    pugi::xml_attribute r = cell.attribute("r");
    int column = r ? ColumnOfReference(r.value()) : 0;
    return column ? column : previous + 1;
}

// Counts UTF-16 units of valid UTF-8 text; -1 when the bytes are not UTF-8.
long Utf16Length(const std::string& text) {
    if (!IsValidUtf8(text)) return -1;
    long units = 0;
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) units += byte >= 0xF0 ? 2 : 1;  // a lead byte; four-byte forms take a pair
    }
    return units;
}

// The text of a string item (<si> or <is>): its <t>, or the <t> of every rich
// text run, leaving out phonetic guides.
std::string StringItemText(pugi::xml_node item) {
    std::string text;
    for (pugi::xml_node child : item.children()) {
        if (IsElement(child, "t")) {
            text += child.text().get();
        } else if (IsElement(child, "r")) {
            text += ChildNamed(child, "t").text().get();
        }
    }
    return UnescapeSpreadsheetText(text);
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

std::string Serialise(const pugi::xml_document& document) {
    StringWriter writer;
    // The parsed declaration is written as it was; none is invented.
    document.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    return writer.out;
}

// Range "A1:D21" as its corners; a single reference is a one-cell range.
struct Range {
    int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0;
};

}  // namespace

std::string CellReference(int row, int column) {
    if (!InsideSheet(row, column)) throw WorkbookError(Kind::Cell, PositionOutsideSheet(row, column));
    std::string letters;
    for (int c = column; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row);
}

std::string SpreadsheetFileName(const std::string& path) {
    if (HasExtension(path, ".xlsm")) return path;
    // The old binary format's name would promise what the file does not hold.
    if (HasExtension(path, ".xls")) return path.substr(0, path.size() - 4) + ".xlsx";
    return WithExtension(path, ".xlsx");
}

struct Workbook::Impl {
    std::string path;
    std::string packageBytes;  // the zip as opened; saving copies its unchanged parts as they are
    PackageEntries entries;
    std::vector<std::string> removedParts;
    std::map<std::string, std::size_t> partIndex;  // lower-case part name -> entry (part names ignore case)

    std::string workbookPart, workbookRelsPart, sheetPart, sharedStringsPart;
    pugi::xml_document contentTypes, packageRels, workbook, workbookRels, sheet, sharedStrings;
    std::string activeSheetName;

    // The core properties (title, creator, dates), read and stamped when the
    // workbook is written; made when the package has none.
    std::string corePart;
    pugi::xml_document core;
    bool coreChanged = false, coreCreated = false, packageRelsChanged = false;
    pugi::xml_node sheetData;
    std::string sheetPrefix, stringsPrefix;

    std::vector<std::string> sharedTexts;
    std::unordered_map<std::string, std::size_t> plainStringIndex;  // items that are one plain <t>

    // What the parsed parts have cost so far, against the bounds of package.h.
    XmlCost parsedCost;

    WorkbookFormat sourceFormat = WorkbookFormat::Ooxml;
    std::string sourceBytes;  // the file as read, when it was not OOXML (packageBytes is then a conversion)

    // The cell formats, parsed at the first number written.
    std::string stylesPart;
    pugi::xml_document styles;
    bool stylesParsed = false, stylesChanged = false, stylesCreated = false;
    std::map<std::pair<unsigned, std::string>, unsigned> numberStyles;  // (base format, code) -> format

    bool sheetNormalised = false;
    bool sheetChanged = false, stringsChanged = false, stringsCreated = false;
    bool workbookChanged = false, relsChanged = false, contentTypesChanged = false;
    bool calculationChainDropped = false;

    // Set by OpenForReading: only these cells were read, and a converted
    // sheet holds no others, so the workbook is never saved.
    std::optional<SheetRegion> readRegion;

    void CheckWritable() const {
        if (readRegion) throw Error(Kind::Internal, "工作簿只为读取部分单元格而打开，不能保存");
    }

    // A failure of this workbook, its file named.
    WorkbookError Error(Kind kind, const std::string& detail) const {
        return WorkbookFileError(WorkbookError(kind, detail), path);
    }

    void CheckPosition(int row, int column) const {
        if (!InsideSheet(row, column)) throw Error(Kind::Cell, PositionOutsideSheet(row, column));
    }

    const PackageEntry* Find(const std::string& part) const {
        auto it = partIndex.find(Lower(part));
        return it == partIndex.end() ? nullptr : &entries[it->second];
    }

    // The parsed tree costs many times its text: a part is measured before it
    // is parsed, so that a few kilobytes packed cannot demand gigabytes.
    void CountMarkup(const std::string& xml, const std::string& part) {
        try {
            parsedCost.Add(xml, part);
        } catch (const WorkbookError& error) {
            throw WorkbookFileError(error, path);
        }
    }

    // `whenMissing`: a package without the parts every workbook has is no
    // workbook; one without a part its workbook refers to is damaged.
    void Parse(pugi::xml_document& document, const std::string& part, Kind whenMissing = Kind::Damaged) {
        auto found = partIndex.find(Lower(part));
        if (found == partIndex.end()) throw Error(whenMissing, "缺少部件 " + ShownPartName(part));
        PackageEntry& entry = entries[found->second];
        CountMarkup(entry.data, part);
        pugi::xml_parse_result result = document.load_buffer(
            entry.data.data(), entry.data.size(),
            pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single, pugi::encoding_auto);
        // The tree holds its own copy; the part's bytes are not needed again
        // (saving copies unchanged parts from the packed file).
        std::string().swap(entry.data);
        if (!result) {
            throw Error(Kind::Damaged, "部件 " + ShownPartName(part) + " 的 XML 有误（" + result.description() +
                                           "，第 " + std::to_string(result.offset) + " 字节）");
        }
        if (!document.document_element())
            throw Error(Kind::Damaged, "部件 " + ShownPartName(part) + " 中没有 XML 元素");
    }

    void Load() {
        for (std::size_t i = 0; i < entries.size(); ++i) partIndex.emplace(Lower(entries[i].name), i);

        Parse(contentTypes, kContentTypesPart, Kind::NotWorkbook);
        Parse(packageRels, "_rels/.rels", Kind::NotWorkbook);
        for (pugi::xml_node rel : packageRels.document_element().children()) {
            if (IsElement(rel, "Relationship") &&
                std::strcmp(rel.attribute("Type").value(), kCorePropertiesRelType) == 0 && corePart.empty()) {
                corePart = ResolveTarget("", rel.attribute("Target").value());
            }
        }
        for (pugi::xml_node rel : packageRels.document_element().children()) {
            if (IsElement(rel, "Relationship") && EndsWith(rel.attribute("Type").value(), "/officeDocument")) {
                workbookPart = ResolveTarget("", rel.attribute("Target").value());
                break;
            }
        }
        if (workbookPart.empty()) throw Error(Kind::NotWorkbook, "压缩包中没有主文档");
        Parse(workbook, workbookPart);
        if (!IsElement(workbook.document_element(), "workbook")) {
            throw Error(Kind::NotWorkbook, "主文档 " + ShownPartName(workbookPart) + " 不是电子表格");
        }
        workbookRelsPart = RelationshipsPartOf(workbookPart);
        Parse(workbookRels, workbookRelsPart);

        // The active sheet: activeTab of the first workbook view, counted over
        // the <sheet> elements in their order.
        pugi::xml_node root = workbook.document_element();
        long activeTab = 0;
        if (pugi::xml_node view = ChildNamed(ChildNamed(root, "bookViews"), "workbookView")) {
            if (pugi::xml_attribute tab = view.attribute("activeTab")) activeTab = tab.as_llong(-1);
        }
        pugi::xml_node activeSheet;
        long index = 0;
        for (pugi::xml_node sheetNode : ChildNamed(root, "sheets").children()) {
            if (!IsElement(sheetNode, "sheet")) continue;
            if (index++ == activeTab) {
                activeSheet = sheetNode;
                break;
            }
        }
        if (!activeSheet) throw Error(Kind::NoSheet, "找不到活动工作表");
        activeSheetName = activeSheet.attribute("name").value();
        pugi::xml_node sheetRel = Relationship(RelationshipId(activeSheet));
        if (!sheetRel || !EndsWith(sheetRel.attribute("Type").value(), "/worksheet")) {
            throw Error(Kind::NoSheet, "活动工作表不是普通工作表");
        }
        sheetPart = ResolveTarget(workbookPart, sheetRel.attribute("Target").value());
        Parse(sheet, sheetPart);
        if (!IsElement(sheet.document_element(), "worksheet")) throw Error(Kind::NoSheet, "活动工作表不是普通工作表");
        sheetPrefix = PrefixOf(sheet.document_element());
        sheetData = ChildNamed(sheet.document_element(), "sheetData");
        if (!sheetData) throw Error(Kind::NoSheet, "活动工作表中没有单元格数据");

        for (pugi::xml_node rel : workbookRels.document_element().children()) {
            if (IsElement(rel, "Relationship") && EndsWith(rel.attribute("Type").value(), "/sharedStrings") &&
                std::strcmp(rel.attribute("TargetMode").value(), "External") != 0) {
                sharedStringsPart = ResolveTarget(workbookPart, rel.attribute("Target").value());
                break;
            }
        }
        if (!sharedStringsPart.empty()) {
            Parse(sharedStrings, sharedStringsPart);
            stringsPrefix = PrefixOf(sharedStrings.document_element());
            for (pugi::xml_node item : sharedStrings.document_element().children()) {
                if (!IsElement(item, "si")) continue;
                pugi::xml_node only = item.first_child();
                if (IsElement(only, "t") && !only.next_sibling()) {
                    plainStringIndex.emplace(StringItemText(item), sharedTexts.size());
                }
                sharedTexts.push_back(StringItemText(item));
            }
        }
        // The cell formats are parsed only when a number is first written:
        // a workbook that is only read never needs them.
        for (pugi::xml_node rel : workbookRels.document_element().children()) {
            if (IsElement(rel, "Relationship") && EndsWith(rel.attribute("Type").value(), "/styles") &&
                std::strcmp(rel.attribute("TargetMode").value(), "External") != 0) {
                stylesPart = ResolveTarget(workbookPart, rel.attribute("Target").value());
                break;
            }
        }
        // Saving copies the parts it did not change from the packed file:
        // their unpacked bytes need not stay.
        for (PackageEntry& entry : entries) {
            // The styles and the core properties are parsed only on writing.
            const std::string name = Lower(entry.name);
            if ((stylesPart.empty() || name != Lower(stylesPart)) && (corePart.empty() || name != Lower(corePart)))
                std::string().swap(entry.data);
        }
    }

    // The workbook part's content type as the name promises it: Excel opens
    // an ".xlsm" only as a macro-enabled workbook and any other name only as
    // a plain one (this program writes no macros either way).
    void DeclareWorkbookTypeFor(const std::string& target) {
        const char* wanted = HasExtension(target, ".xlsm") ? kMacroWorkbookContentType : kWorkbookContentType;
        for (pugi::xml_node type : contentTypes.document_element().children()) {
            if (!IsElement(type, "Override") || Lower(type.attribute("PartName").value()) != Lower("/" + workbookPart))
                continue;
            const std::string current = type.attribute("ContentType").value();
            if (current != wanted && (current == kWorkbookContentType || current == kMacroWorkbookContentType)) {
                type.attribute("ContentType").set_value(wanted);
                contentTypesChanged = true;
            }
        }
    }

    // --- core properties --------------------------------------------------

    // The prefix the core properties give `uri`, declaring `wanted` for it
    // on their root where they give none.
    std::string PrefixFor(pugi::xml_node root, const char* uri, const char* wanted) {
        for (pugi::xml_attribute attribute : root.attributes()) {
            const char* name = attribute.name();
            if (std::strcmp(attribute.value(), uri) == 0 && std::strncmp(name, "xmlns:", 6) == 0)
                return std::string(name + 6) + ":";
        }
        root.append_attribute((std::string("xmlns:") + wanted).c_str()).set_value(uri);
        return std::string(wanted) + ":";
    }

    // Sets the date `local` ("created", "modified") of the core properties.
    void SetPropertyTime(pugi::xml_node root, const char* local, const std::string& when) {
        pugi::xml_node element = ChildNamed(root, local);
        if (!element) {
            const std::string terms = PrefixFor(root, "http://purl.org/dc/terms/", "dcterms");
            const std::string xsi = PrefixFor(root, "http://www.w3.org/2001/XMLSchema-instance", "xsi");
            element = root.append_child((terms + local).c_str());
            element.append_attribute((xsi + "type").c_str()).set_value((terms + "W3CDTF").c_str());
        }
        while (element.first_child()) element.remove_child(element.first_child());
        element.append_child(pugi::node_pcdata).set_value(when.c_str());
    }

    // Before a write: the time of writing as the last modification, and as
    // the creation of a new document (`newDocument`: a file written under a
    // new name, from a template or a copy). A package without readable core
    // properties gets them, titled by its active sheet and made by the
    // program, at that time.
    void StampProperties(bool newDocument) {
        const std::time_t now = std::time(nullptr);
        const PackageEntry* entry = corePart.empty() ? nullptr : Find(corePart);
        if (entry && !coreChanged && !coreCreated) {
            const pugi::xml_parse_result result = core.load_buffer(entry->data.data(), entry->data.size(),
                                                                   pugi::parse_default | pugi::parse_declaration,
                                                                   pugi::encoding_auto);
            if (!result || !IsElement(core.document_element(), "coreProperties")) entry = nullptr;
        }
        if (!entry && !coreCreated) {
            // None, or none that reads (replaced where it lies): new ones.
            if (corePart.empty() || Find(corePart) == nullptr) {
                corePart = kCorePropertiesPart;
                for (int n = 2; Find(corePart); ++n) corePart = "docProps/core" + std::to_string(n) + ".xml";
                pugi::xml_node relsRoot = packageRels.document_element();
                pugi::xml_node rel = relsRoot.append_child((PrefixOf(relsRoot) + "Relationship").c_str());
                std::string id = "rId1";
                for (int n = 1;; ++n) {
                    id = "rId" + std::to_string(n);
                    bool taken = false;
                    for (pugi::xml_node other : relsRoot.children())
                        taken = taken || std::strcmp(other.attribute("Id").value(), id.c_str()) == 0;
                    if (!taken) break;
                }
                rel.append_attribute("Id").set_value(id.c_str());
                rel.append_attribute("Type").set_value(kCorePropertiesRelType);
                rel.append_attribute("Target").set_value(corePart.c_str());
                packageRelsChanged = true;
                pugi::xml_node override = contentTypes.document_element().append_child(
                    (PrefixOf(contentTypes.document_element()) + "Override").c_str());
                override.append_attribute("PartName").set_value(("/" + corePart).c_str());
                override.append_attribute("ContentType").set_value(kCorePropertiesContentType);
                contentTypesChanged = true;
                coreCreated = true;
            }
            core.load_string(CorePropertiesXml(activeSheetName, now).c_str(),
                             pugi::parse_default | pugi::parse_declaration);
            coreChanged = true;
            return;
        }
        const std::string when = PropertyTime(now);
        pugi::xml_node root = core.document_element();
        if (newDocument) SetPropertyTime(root, "created", when);
        SetPropertyTime(root, "modified", when);
        coreChanged = true;
    }

    // --- number formats ---------------------------------------------------

    // The styles part, parsed; created (with one plain cell format) in a
    // workbook that has none.
    pugi::xml_node StyleSheet() {
        if (!stylesParsed) {
            stylesParsed = true;
            if (!stylesPart.empty() && Find(stylesPart)) {
                // Each part is one document here: a styles relationship that
                // leads to a part already parsed as something else is damage.
                for (const std::string& other :
                     {std::string(kContentTypesPart), workbookPart, workbookRelsPart, sheetPart, sharedStringsPart}) {
                    if (Lower(other) == Lower(stylesPart))
                        throw Error(Kind::Damaged, "部件 " + ShownPartName(stylesPart) + " 不是样式表");
                }
                Parse(styles, stylesPart);
                if (!IsElement(styles.document_element(), "styleSheet"))
                    throw Error(Kind::Damaged, "部件 " + ShownPartName(stylesPart) + " 不是样式表");
            } else {
                CreateStyles();
            }
        }
        return styles.document_element();
    }

    void CreateStyles() {
        const bool referenced = !stylesPart.empty();
        if (!referenced) {
            const std::string folder = FolderOf(workbookPart);
            stylesPart = folder + "styles.xml";
            for (int n = 2; Find(stylesPart); ++n) stylesPart = folder + "styles" + std::to_string(n) + ".xml";
        }
        styles.load_string((std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                                        "<styleSheet xmlns=\"") +
                            kSpreadsheetNamespace + "\">" + kPlainStylesContent + "</styleSheet>")
                               .c_str(),
                           pugi::parse_default | pugi::parse_declaration);
        stylesCreated = true;
        if (!referenced) {
            const std::string folder = FolderOf(workbookPart);
            pugi::xml_node rel = workbookRels.document_element().append_child(
                (PrefixOf(workbookRels.document_element()) + "Relationship").c_str());
            rel.append_attribute("Id").set_value(NewRelationshipId().c_str());
            rel.append_attribute("Type").set_value(kStylesRelType);
            rel.append_attribute("Target").set_value(stylesPart.substr(folder.size()).c_str());
            relsChanged = true;
        }
        pugi::xml_node override = contentTypes.document_element().append_child(
            (PrefixOf(contentTypes.document_element()) + "Override").c_str());
        override.append_attribute("PartName").set_value(("/" + stylesPart).c_str());
        override.append_attribute("ContentType").set_value(kStylesContentType);
        contentTypesChanged = true;
    }

    // The id of the number format `code`: one the workbook has, or a new one.
    unsigned NumberFormatId(pugi::xml_node root, const std::string& code) {
        const std::string prefix = PrefixOf(root);
        pugi::xml_node formats = ChildNamed(root, "numFmts");
        // Ids below 164 are the built-in formats.
        unsigned next = 164;
        for (pugi::xml_node format : formats.children()) {
            if (!IsElement(format, "numFmt")) continue;
            const unsigned id = format.attribute("numFmtId").as_uint();
            if (code == format.attribute("formatCode").value()) return id;
            next = std::max(next, id + 1);
        }
        // numFmts comes first in a style sheet.
        if (!formats) formats = root.prepend_child((prefix + "numFmts").c_str());
        pugi::xml_node format = formats.append_child((prefix + "numFmt").c_str());
        format.append_attribute("numFmtId").set_value(next);
        format.append_attribute("formatCode").set_value(code.c_str());
        SetCount(formats, "numFmt");
        stylesChanged = true;
        return next;
    }

    static void SetCount(pugi::xml_node list, const char* item) {
        std::size_t count = 0;
        for (pugi::xml_node child : list.children()) count += IsElement(child, item) ? 1 : 0;
        pugi::xml_attribute attribute = list.attribute("count");
        if (!attribute) attribute = list.append_attribute("count");
        attribute.set_value(count);
    }

    static bool SameElement(pugi::xml_node a, pugi::xml_node b) {
        std::map<std::string, std::string> first, second;
        for (pugi::xml_attribute attribute : a.attributes()) first[attribute.name()] = attribute.value();
        for (pugi::xml_attribute attribute : b.attributes()) second[attribute.name()] = attribute.value();
        if (first != second) return false;
        StringWriter x, y;
        for (pugi::xml_node child : a.children()) child.print(x, "", pugi::format_raw);
        for (pugi::xml_node child : b.children()) child.print(y, "", pugi::format_raw);
        return x.out == y.out;
    }

    // The cell format that is `base` with the number format `code`: the
    // border, font and alignment of the template's cell stay. Formats are
    // shared, so writing the same kinds of numbers again adds nothing.
    unsigned NumberStyle(unsigned base, const std::string& code) {
        const auto key = std::make_pair(base, code);
        if (auto found = numberStyles.find(key); found != numberStyles.end()) return found->second;
        pugi::xml_node root = StyleSheet();
        const unsigned formatId = NumberFormatId(root, code);
        pugi::xml_node cellFormats = ChildNamed(root, "cellXfs");
        if (!cellFormats) throw Error(Kind::Damaged, "部件 " + ShownPartName(stylesPart) + " 中没有单元格格式");
        std::vector<pugi::xml_node> formats;
        for (pugi::xml_node xf : cellFormats.children()) {
            if (IsElement(xf, "xf")) formats.push_back(xf);
        }
        pugi::xml_document scratch;
        pugi::xml_node wanted = base < formats.size() ? scratch.append_copy(formats[base])
                                                      : scratch.append_child((PrefixOf(root) + "xf").c_str());
        for (const char* name : {"numFmtId", "applyNumberFormat", "quotePrefix"}) wanted.remove_attribute(name);
        wanted.append_attribute("numFmtId").set_value(formatId);
        wanted.append_attribute("applyNumberFormat").set_value("1");
        unsigned index = 0;
        while (index < formats.size() && !SameElement(formats[index], wanted)) ++index;
        if (index == formats.size()) {
            cellFormats.append_copy(wanted);
            SetCount(cellFormats, "xf");
            stylesChanged = true;
        }
        numberStyles.emplace(key, index);
        return index;
    }

    pugi::xml_node Relationship(const char* id) const {
        for (pugi::xml_node rel : workbookRels.document_element().children()) {
            if (IsElement(rel, "Relationship") && std::strcmp(rel.attribute("Id").value(), id) == 0) return rel;
        }
        return {};
    }

    std::string NewRelationshipId() const {
        for (int n = 1;; ++n) {
            std::string id = "rId" + std::to_string(n);
            if (!Relationship(id.c_str())) return id;
        }
    }

    pugi::xml_node FindRow(int row) const {
        int previous = 0;
        for (pugi::xml_node node : sheetData.children()) {
            if (!IsElement(node, "row")) continue;
            previous = RowNumberOf(node, previous);
            if (previous == row) return node;
        }
        return {};
    }

    static pugi::xml_node FindCell(pugi::xml_node rowNode, int column) {
        int previous = 0;
        for (pugi::xml_node node : rowNode.children()) {
            if (!IsElement(node, "c")) continue;
            previous = ColumnNumberOf(node, previous);
            if (previous == column) return node;
        }
        return {};
    }

    // Before the first write: every row and cell gets its explicit reference
    // and rows and cells are put in order, so that inserting keeps the sheet
    // sorted (other programs than LibreOffice refuse unsorted sheets).
    void NormaliseSheet() {
        if (sheetNormalised) return;
        sheetNormalised = true;
        std::vector<std::pair<int, pugi::xml_node>> rows;
        int previousRow = 0;
        for (pugi::xml_node node : sheetData.children()) {
            if (!IsElement(node, "row")) continue;
            previousRow = RowNumberOf(node, previousRow);
            rows.emplace_back(previousRow, node);
            std::vector<std::pair<int, pugi::xml_node>> cells;
            int previousColumn = 0;
            for (pugi::xml_node cell : node.children()) {
                if (!IsElement(cell, "c")) continue;
                previousColumn = ColumnNumberOf(cell, previousColumn);
                cells.emplace_back(previousColumn, cell);
            }
            for (auto& [column, cell] : cells) {
                // A row or cell without r after the last one of a sheet.
                if (!InsideSheet(previousRow, column)) throw Error(Kind::Damaged, "工作表中有超出范围的行或列");
                std::string reference = CellReference(previousRow, column);
                if (pugi::xml_attribute r = cell.attribute("r")) {
                    r.set_value(reference.c_str());
                } else {
                    cell.prepend_attribute("r").set_value(reference.c_str());
                }
            }
            std::string number = std::to_string(previousRow);
            if (pugi::xml_attribute r = node.attribute("r")) {
                r.set_value(number.c_str());
            } else {
                node.prepend_attribute("r").set_value(number.c_str());
            }
            auto byColumn = [](const auto& a, const auto& b) { return a.first < b.first; };
            if (!std::is_sorted(cells.begin(), cells.end(), byColumn)) {
                std::stable_sort(cells.begin(), cells.end(), byColumn);
                pugi::xml_node tail = ChildNamed(node, "extLst");
                for (auto& [column, cell] : cells) {
                    if (tail) node.insert_move_before(cell, tail);
                    else node.append_move(cell);
                }
            }
        }
        auto byRow = [](const auto& a, const auto& b) { return a.first < b.first; };
        if (!std::is_sorted(rows.begin(), rows.end(), byRow)) {
            std::stable_sort(rows.begin(), rows.end(), byRow);
            for (auto& [number, node] : rows) sheetData.append_move(node);
        }
    }

    pugi::xml_node RowForWriting(int row) {
        int previous = 0;
        for (pugi::xml_node node : sheetData.children()) {
            if (!IsElement(node, "row")) continue;
            previous = RowNumberOf(node, previous);
            if (previous == row) return node;
            if (previous > row) {
                pugi::xml_node added = sheetData.insert_child_before((sheetPrefix + "row").c_str(), node);
                added.append_attribute("r").set_value(row);
                return added;
            }
        }
        pugi::xml_node added = sheetData.append_child((sheetPrefix + "row").c_str());
        added.append_attribute("r").set_value(row);
        return added;
    }

    // The format a new cell takes: that of its row if the row has one, else
    // that of its column, as spreadsheet programs do when a user types there.
    unsigned StyleForNewCell(pugi::xml_node rowNode, int column) const {
        if (rowNode.attribute("customFormat").as_bool() && rowNode.attribute("s"))
            return rowNode.attribute("s").as_uint();
        for (pugi::xml_node col : ChildNamed(sheet.document_element(), "cols").children()) {
            if (IsElement(col, "col") && col.attribute("min").as_int() <= column &&
                column <= col.attribute("max").as_int()) {
                return col.attribute("style").as_uint();
            }
        }
        return 0;
    }

    pugi::xml_node CellForWriting(pugi::xml_node rowNode, int row, int column) {
        std::string reference = CellReference(row, column);
        int previous = 0;
        pugi::xml_node before;
        for (pugi::xml_node node : rowNode.children()) {
            if (!IsElement(node, "c")) continue;
            previous = ColumnNumberOf(node, previous);
            if (previous == column) return node;
            if (previous > column) {
                before = node;
                break;
            }
        }
        if (!before) before = ChildNamed(rowNode, "extLst");
        pugi::xml_node added = before ? rowNode.insert_child_before((sheetPrefix + "c").c_str(), before)
                                      : rowNode.append_child((sheetPrefix + "c").c_str());
        added.append_attribute("r").set_value(reference.c_str());
        if (unsigned style = StyleForNewCell(rowNode, column)) added.append_attribute("s").set_value(style);
        return added;
    }

    // The cell at (row, column) made ready for a new value: created where
    // missing, its formula, value and type removed, its format kept.
    pugi::xml_node EmptiedCell(int row, int column) {
        NormaliseSheet();
        pugi::xml_node rowNode = RowForWriting(row);
        pugi::xml_node cell = CellForWriting(rowNode, row, column);
        ClearFormula(cell);
        if (std::strcmp(cell.attribute("t").value(), "s") == 0 && ChildNamed(cell, "v")) AdjustStringCount(-1);
        for (pugi::xml_node child = cell.first_child(); child;) {
            pugi::xml_node next = child.next_sibling();
            if (IsElement(child, "f") || IsElement(child, "v") || IsElement(child, "is")) cell.remove_child(child);
            child = next;
        }
        for (const char* attribute : {"t", "cm", "vm", "ph"}) cell.remove_attribute(attribute);
        // The column span of a row is a reading hint; a stale one is worse than none.
        rowNode.remove_attribute("spans");
        ExtendDimension(row, column);
        sheetChanged = true;
        return cell;
    }

    // The cell's <v>, before an <extLst> it may have.
    void AppendValue(pugi::xml_node cell, const std::string& value) {
        pugi::xml_node tail = ChildNamed(cell, "extLst");
        std::string name = sheetPrefix + "v";
        pugi::xml_node v = tail ? cell.insert_child_before(name.c_str(), tail) : cell.append_child(name.c_str());
        v.append_child(pugi::node_pcdata).set_value(value.c_str());
    }

    void AdjustStringCount(int delta) {
        if (pugi::xml_attribute count = sharedStrings.document_element().attribute("count")) {
            long long value = count.as_llong() + delta;
            count.set_value(value < 0 ? 0 : value);
        }
    }

    void CreateSharedStrings() {
        std::string folder = FolderOf(workbookPart);
        std::string part = folder + "sharedStrings.xml";
        for (int n = 2; Find(part); ++n) part = folder + "sharedStrings" + std::to_string(n) + ".xml";
        sharedStringsPart = part;
        sharedStrings.load_string(
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"0\" uniqueCount=\"0\"/>",
            pugi::parse_default | pugi::parse_declaration);
        stringsPrefix.clear();

        pugi::xml_node rel = workbookRels.document_element().append_child(
            (PrefixOf(workbookRels.document_element()) + "Relationship").c_str());
        rel.append_attribute("Id").set_value(NewRelationshipId().c_str());
        rel.append_attribute("Type").set_value(kSharedStringsRelType);
        rel.append_attribute("Target").set_value(part.substr(folder.size()).c_str());
        pugi::xml_node override = contentTypes.document_element().append_child(
            (PrefixOf(contentTypes.document_element()) + "Override").c_str());
        override.append_attribute("PartName").set_value(("/" + part).c_str());
        override.append_attribute("ContentType").set_value(kSharedStringsContentType);
        stringsCreated = relsChanged = contentTypesChanged = true;
    }

    std::size_t SharedStringIndex(const std::string& text) {
        if (sharedStringsPart.empty()) CreateSharedStrings();
        auto found = plainStringIndex.find(text);
        if (found != plainStringIndex.end()) return found->second;
        pugi::xml_node root = sharedStrings.document_element();
        pugi::xml_node item = root.append_child((stringsPrefix + "si").c_str());
        pugi::xml_node t = item.append_child((stringsPrefix + "t").c_str());
        // Blanks at either end, tabs and line breaks survive only when marked.
        if (!text.empty() && (std::isspace(static_cast<unsigned char>(text.front())) ||
                              std::isspace(static_cast<unsigned char>(text.back())) ||
                              text.find_first_of("\t\n\r") != std::string::npos)) {
            t.append_attribute("xml:space").set_value("preserve");
        }
        t.append_child(pugi::node_pcdata).set_value(EscapeSpreadsheetText(text).c_str());
        std::size_t index = sharedTexts.size();
        sharedTexts.push_back(text);
        plainStringIndex.emplace(text, index);
        if (pugi::xml_attribute unique = root.attribute("uniqueCount")) unique.set_value(sharedTexts.size());
        stringsChanged = true;
        return index;
    }

    // The calculation chain lists the formula cells in calculation order; with
    // a formula gone it is stale, so it is dropped and a full recalculation is
    // requested when the workbook is next opened.
    void DropCalculationChain() {
        if (calculationChainDropped) return;
        calculationChainDropped = true;
        pugi::xml_node relsRoot = workbookRels.document_element();
        for (pugi::xml_node rel = relsRoot.first_child(); rel;) {
            pugi::xml_node next = rel.next_sibling();
            if (IsElement(rel, "Relationship") && EndsWith(rel.attribute("Type").value(), "/calcChain")) {
                std::string part = ResolveTarget(workbookPart, rel.attribute("Target").value());
                auto it = partIndex.find(Lower(part));
                if (it != partIndex.end()) {
                    removedParts.push_back(entries[it->second].name);
                    entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(it->second));
                    partIndex.clear();
                    for (std::size_t i = 0; i < entries.size(); ++i) partIndex.emplace(Lower(entries[i].name), i);
                }
                pugi::xml_node typesRoot = contentTypes.document_element();
                for (pugi::xml_node type = typesRoot.first_child(); type;) {
                    pugi::xml_node nextType = type.next_sibling();
                    if (IsElement(type, "Override") && Lower(type.attribute("PartName").value()) == Lower("/" + part)) {
                        typesRoot.remove_child(type);
                    }
                    type = nextType;
                }
                relsRoot.remove_child(rel);
                relsChanged = contentTypesChanged = true;
            }
            rel = next;
        }
        pugi::xml_node root = workbook.document_element();
        pugi::xml_node calcPr = ChildNamed(root, "calcPr");
        if (!calcPr) {
            // calcPr follows these elements in the workbook schema.
            static const char* const kBefore[] = {"fileVersion",        "fileSharing",        "workbookPr",
                                                  "workbookProtection", "bookViews",          "sheets",
                                                  "functionGroups",     "externalReferences", "definedNames"};
            pugi::xml_node after;
            for (pugi::xml_node child : root.children()) {
                for (const char* name : kBefore) {
                    if (IsElement(child, name)) after = child;
                }
            }
            std::string name = PrefixOf(root) + "calcPr";
            calcPr = after ? root.insert_child_after(name.c_str(), after) : root.prepend_child(name.c_str());
        }
        pugi::xml_attribute full = calcPr.attribute("fullCalcOnLoad");
        if (!full) full = calcPr.append_attribute("fullCalcOnLoad");
        full.set_value("1");
        workbookChanged = true;
    }

    void ClearFormula(pugi::xml_node cell) {
        pugi::xml_node formula = ChildNamed(cell, "f");
        if (!formula) return;
        const char* kind = formula.attribute("t").value();
        // The head of a shared formula or an array formula carries the formula
        // of other cells too; replacing it would break them.
        if ((std::strcmp(kind, "shared") == 0 || std::strcmp(kind, "array") == 0) && formula.attribute("ref")) {
            std::string ref = formula.attribute("ref").value();
            if (ref != cell.attribute("r").value()) {
                // r is the reference NormaliseSheet gave the cell, never the file's bytes.
                throw Error(Kind::Cell, "单元格 " + std::string(cell.attribute("r").value()) +
                                            " 的公式同时属于其他单元格，不能覆盖");
            }
        }
        DropCalculationChain();
    }

    void ExtendDimension(int row, int column) {
        pugi::xml_node dimension = ChildNamed(sheet.document_element(), "dimension");
        if (!dimension) return;
        std::string ref = dimension.attribute("ref").value();
        std::string::size_type colon = ref.find(':');
        std::string first = ref.substr(0, colon), last = colon == std::string::npos ? first : ref.substr(colon + 1);
        Range range{RowOfReference(first.c_str()), ColumnOfReference(first.c_str()), RowOfReference(last.c_str()),
                    ColumnOfReference(last.c_str())};
        if (!range.firstRow || !range.firstColumn || !range.lastRow || !range.lastColumn) {
            range = {row, column, row, column};
        }
        range.firstRow = std::min(range.firstRow, row);
        range.firstColumn = std::min(range.firstColumn, column);
        range.lastRow = std::max(range.lastRow, row);
        range.lastColumn = std::max(range.lastColumn, column);
        std::string topLeft = CellReference(range.firstRow, range.firstColumn);
        std::string bottomRight = CellReference(range.lastRow, range.lastColumn);
        std::string updated = topLeft == bottomRight ? topLeft : topLeft + ":" + bottomRight;
        if (!dimension.attribute("ref")) dimension.append_attribute("ref");
        dimension.attribute("ref").set_value(updated.c_str());
    }

    // The package functions do not know the file: their failures are told of
    // the file being saved.
    std::string PackedBytesFor(const std::string& target) const {
        try {
            return PackedBytes();
        } catch (const WorkbookError& error) {
            throw WorkbookSaveError(error, target);
        }
    }

    std::string PackedBytes() const {
        PackageChanges changes;
        changes.removed = removedParts;
        auto replace = [&](bool changed, const std::string& part, const pugi::xml_document& document) {
            // By the name the zip holds (part names ignore case).
            const PackageEntry* entry = changed ? Find(part) : nullptr;
            if (entry) changes.replaced.emplace_back(entry->name, Serialise(document));
        };
        replace(sheetChanged, sheetPart, sheet);
        replace(stringsChanged, sharedStringsPart, sharedStrings);
        replace(workbookChanged, workbookPart, workbook);
        replace(relsChanged, workbookRelsPart, workbookRels);
        replace(contentTypesChanged, kContentTypesPart, contentTypes);
        replace(packageRelsChanged, "_rels/.rels", packageRels);
        replace(coreChanged && !coreCreated, corePart, core);
        if (coreCreated) changes.added.emplace_back(corePart, Serialise(core));
        replace(stylesChanged && !stylesCreated, stylesPart, styles);
        if (stringsCreated) changes.added.emplace_back(sharedStringsPart, Serialise(sharedStrings));
        if (stylesCreated) changes.added.emplace_back(stylesPart, Serialise(styles));
        return RewritePackage(packageBytes, changes);
    }
};

Workbook::Workbook(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

// The reading of the file, the binary reader and Load name the file
// themselves; the package functions do not know it.
Workbook Workbook::Open(const std::string& path) { return Opened(ReadWorkbookFile(path), path, kWholeSheet); }

Workbook Workbook::OpenForReading(const std::string& path, SheetRegion region) {
    Workbook book = Opened(ReadWorkbookFile(path), path, region);
    book.impl_->readRegion = region;
    return book;
}

Workbook Workbook::OpenBytesForReading(std::string bytes, const std::string& name, SheetRegion region) {
    Workbook book = Opened(std::move(bytes), name, region);
    book.impl_->readRegion = region;
    return book;
}

Workbook Workbook::Opened(std::string bytes, const std::string& path, SheetRegion kept) {
    auto impl = std::make_unique<Impl>();
    impl->path = path;
    if (bytes.size() >= 4 && bytes.compare(0, 2, "PK") == 0) {
        try {
            impl->entries = ReadPackage(bytes);
            if (IsOpenDocumentPackage(impl->entries)) {
                impl->entries = OpenDocumentAsWorkbook(impl->entries, kept);
                impl->packageBytes = WritePackage(impl->entries);
                impl->sourceFormat = WorkbookFormat::OpenDocument;
                impl->sourceBytes = std::move(bytes);
            } else {
                impl->packageBytes = std::move(bytes);
            }
        } catch (const WorkbookError& error) {
            throw WorkbookFileError(error, path);
        }
    } else if (LooksLikeOle2(bytes)) {
        impl->entries = ReadLegacyWorkbook(path, bytes, kept);
        try {
            impl->packageBytes = WritePackage(impl->entries);
        } catch (const WorkbookError& error) {
            throw WorkbookFileError(error, path);
        }
        impl->sourceFormat = WorkbookFormat::Binary;
        impl->sourceBytes = std::move(bytes);
    } else {
        throw impl->Error(Kind::NotWorkbook,
                          bytes.empty() ? "文件是空的" : "文件既不是 .xlsx 或 .ods 格式，也不是旧版 .xls 格式");
    }
    impl->Load();
    return Workbook(std::move(impl));
}

std::string Workbook::CellText(int row, int column, char decimalSeparator) const {
    impl_->CheckPosition(row, column);
    if (impl_->readRegion && !impl_->readRegion->Holds(row, column)) {
        throw impl_->Error(Kind::Cell, "单元格 " + CellReference(row, column) + " 不在读取的范围内");
    }
    pugi::xml_node rowNode = impl_->FindRow(row);
    if (!rowNode) return "";
    pugi::xml_node cell = Impl::FindCell(rowNode, column);
    if (!cell) return "";
    std::string type = cell.attribute("t").value();
    if (type == "inlineStr") return StringItemText(ChildNamed(cell, "is"));
    std::string value = ChildNamed(cell, "v").text().get();
    if (type == "s") {
        std::size_t index = 0;
        auto result = std::from_chars(value.data(), value.data() + value.size(), index);
        if (result.ec != std::errc() || result.ptr != value.data() + value.size() ||
            index >= impl_->sharedTexts.size()) {
            throw impl_->Error(Kind::Damaged, "单元格 " + CellReference(row, column) + " 引用的共享字符串不存在");
        }
        return impl_->sharedTexts[index];
    }
    if (type == "b") return value == "1" || value == "true" ? "TRUE" : "FALSE";
    if (type == "str") return UnescapeSpreadsheetText(value);
    if (type == "e" || type == "d") return value;
    // A number: the cached value read as a double and shown as the program
    // shows every number.
    std::string::size_type begin = value.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return "";
    std::string::size_type end = value.find_last_not_of(" \t\r\n") + 1;
    double number = 0;
    auto result = std::from_chars(value.data() + begin, value.data() + end, number);
    if (result.ec != std::errc() || result.ptr != value.data() + end || !std::isfinite(number)) return value;
    return FormatReal(number, decimalSeparator);
}

void Workbook::SetCellText(int row, int column, const std::string& text) {
    impl_->CheckPosition(row, column);
    long units = Utf16Length(text);
    if (units < 0) {
        throw impl_->Error(Kind::Text, "要写入单元格 " + CellReference(row, column) + " 的文字不是有效的 UTF-8 编码");
    }
    if (static_cast<std::size_t>(units) > kMaxCellTextUnits) {
        throw impl_->Error(Kind::Text, "要写入单元格 " + CellReference(row, column) + " 的文字超过 " +
                                           std::to_string(kMaxCellTextUnits) + " 个字符，单元格容纳不下");
    }
    Impl& impl = *impl_;
    pugi::xml_node cell = impl.EmptiedCell(row, column);
    if (!text.empty()) {
        std::size_t index = impl.SharedStringIndex(text);
        cell.append_attribute("t").set_value("s");
        impl.AppendValue(cell, std::to_string(index));
        impl.AdjustStringCount(+1);
        impl.stringsChanged = true;
    }
}

void Workbook::SetCellValue(int row, int column, const std::string& text, char decimalSeparator) {
    const std::optional<NumberCell> number = NumberCellOf(text, decimalSeparator);
    if (!number) {
        SetCellText(row, column, text);
        return;
    }
    impl_->CheckPosition(row, column);
    Impl& impl = *impl_;
    pugi::xml_node cell = impl.EmptiedCell(row, column);
    const unsigned style = impl.NumberStyle(cell.attribute("s").as_uint(), number->formatCode);
    pugi::xml_attribute s = cell.attribute("s");
    if (!s) s = cell.append_attribute("s");
    s.set_value(style);
    impl.AppendValue(cell, StoredNumber(number->value));
}

void Workbook::SaveAs(const std::string& path) {
    // Checked here: SpreadsheetFileName would make "folder/" the hidden file
    // "folder/.xlsx".
    if (path.empty() || path.back() == '/') {
        throw WorkbookError(Kind::File, FileError(FileError::Action::NoFileName, path).what());
    }
    SaveTo(SpreadsheetFileName(path));
}

void Workbook::SaveTo(const std::string& path) {
    impl_->CheckWritable();
    impl_->DeclareWorkbookTypeFor(path);
    impl_->StampProperties(true);
    ReplaceWorkbookFile(path, impl_->PackedBytesFor(path));
    impl_->path = path;
}

void Workbook::Save() {
    impl_->CheckWritable();
    impl_->StampProperties(false);
    ReplaceWorkbookFile(impl_->path, impl_->PackedBytesFor(impl_->path));
}

const std::string& Workbook::Path() const { return impl_->path; }

WorkbookFormat Workbook::SourceFormat() const { return impl_->sourceFormat; }

const std::string& Workbook::SourceBytes() const {
    return impl_->sourceFormat == WorkbookFormat::Ooxml ? impl_->packageBytes : impl_->sourceBytes;
}

}  // namespace wormgear
