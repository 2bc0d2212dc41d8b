// The active table of an OpenDocument spreadsheet as a plain OOXML package.
#include "export/opendocument.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "export/legacy_workbook.h"  // PlainCell, PlainWorkbookPackage, SheetRegion, SheetTally

namespace wormgear {
namespace {

using Kind = WorkbookError::Kind;

constexpr const char* kContentPart = "content.xml";
constexpr const char* kSettingsPart = "settings.xml";
constexpr const char* kOpenDocumentType = "application/vnd.oasis.opendocument.";
constexpr const char* kSpreadsheetType = "application/vnd.oasis.opendocument.spreadsheet";

constexpr std::uint64_t kSheetRows = 1048576;
constexpr std::uint64_t kSheetColumns = 16384;
// A cell holds at most 32767 characters; four bytes each in UTF-8.
constexpr std::size_t kMaxCellTextBytes = 32767 * 4;

const PackageEntry* FindEntry(const PackageEntries& entries, const char* name) {
    for (const PackageEntry& entry : entries) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

// The prefixes the document gives the OpenDocument namespaces, declared on
// its root element as every producer does ("table:" unless it says otherwise).
struct Prefixes {
    std::string office = "office:", table = "table:", text = "text:", config = "config:", calcext = "calcext:";

    explicit Prefixes(pugi::xml_node root) {
        const struct {
            const char* uri;
            std::string* prefix;
        } kNamespaces[] = {
            {"urn:oasis:names:tc:opendocument:xmlns:office:1.0", &office},
            {"urn:oasis:names:tc:opendocument:xmlns:table:1.0", &table},
            {"urn:oasis:names:tc:opendocument:xmlns:text:1.0", &text},
            {"urn:oasis:names:tc:opendocument:xmlns:config:1.0", &config},
            {"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0", &calcext},
        };
        for (pugi::xml_attribute attribute : root.attributes()) {
            const char* name = attribute.name();
            for (const auto& ns : kNamespaces) {
                if (std::strcmp(attribute.value(), ns.uri) != 0) continue;
                if (std::strncmp(name, "xmlns:", 6) == 0) *ns.prefix = std::string(name + 6) + ":";
                else if (std::strcmp(name, "xmlns") == 0) ns.prefix->clear();
            }
        }
    }
};

bool Is(pugi::xml_node node, const std::string& prefix, const char* local) {
    return node.type() == pugi::node_element && node.name() == prefix + local;
}

pugi::xml_attribute AttributeOf(pugi::xml_node node, const std::string& prefix, const char* local) {
    return node.attribute((prefix + local).c_str());
}

// A repeat count: 1 when absent or not a positive number; a huge one stays
// huge (the caller never expands what is empty).
std::uint64_t RepeatCount(pugi::xml_attribute attribute) {
    if (!attribute) return 1;
    const char* text = attribute.value();
    std::uint64_t count = 0;
    const auto result = std::from_chars(text, text + std::strlen(text), count);
    return result.ec == std::errc() && count > 0 ? count : 1;
}

void Parse(pugi::xml_document& document, const PackageEntry& entry, XmlCost& cost) {
    cost.Add(entry.data, entry.name);
    // Blank text is kept: a single space between two spans of a paragraph
    // is part of the cell's text.
    const pugi::xml_parse_result result = document.load_buffer(
        entry.data.data(), entry.data.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_auto);
    if (!result) {
        throw WorkbookError(Kind::Damaged, "部件 " + ShownPartName(entry.name) + " 的 XML 有误（" +
                                               result.description() + "，第 " + std::to_string(result.offset) +
                                               " 字节）");
    }
    if (!document.document_element())
        throw WorkbookError(Kind::Damaged, "部件 " + ShownPartName(entry.name) + " 中没有 XML 元素");
}

// The text a cell shows: its paragraphs joined by line breaks. Within a
// paragraph runs of blanks count as one blank (the file spells out further
// ones as <text:s text:c="n"/>), <text:tab/> is a tab, <text:line-break/> a
// line break, and spans, links and other inline elements give their text.
// Walked without recursion: a hostile file may nest elements deeply.
class CellTextReader {
 public:
    explicit CellTextReader(const Prefixes& ns) : ns_(ns) {}

    std::string Read(pugi::xml_node cell) {
        text_.clear();
        bool first = true;
        for (pugi::xml_node paragraph : cell.children()) {
            if (!Is(paragraph, ns_.text, "p") && !Is(paragraph, ns_.text, "h")) continue;
            if (!first) Append("\n", 1);
            first = false;
            ReadParagraph(paragraph);
        }
        return text_;
    }

 private:
    void Append(const char* bytes, std::size_t count) {
        if (text_.size() + count > kMaxCellTextBytes)
            throw WorkbookError(Kind::TooLarge, "单元格文字超过 32767 个字符");
        text_.append(bytes, count);
    }

    void ReadParagraph(pugi::xml_node paragraph) {
        // Blank at the paragraph's start, and a second blank of a run, are
        // dropped; blanks at its end are cut afterwards.
        const std::size_t start = text_.size();
        bool blankBefore = true;
        pugi::xml_node node = paragraph.first_child();
        while (node && node != paragraph) {
            if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
                for (const char* p = node.value(); *p; ++p) {
                    const bool blank = *p == ' ' || *p == '\t' || *p == '\n' || *p == '\r';
                    if (blank && blankBefore) continue;
                    Append(blank ? " " : p, 1);
                    blankBefore = blank;
                }
            } else if (Is(node, ns_.text, "s")) {
                const std::uint64_t count = RepeatCount(AttributeOf(node, ns_.text, "c"));
                if (count > kMaxCellTextBytes) throw WorkbookError(Kind::TooLarge, "单元格文字超过 32767 个字符");
                for (std::uint64_t i = 0; i < count; ++i) Append(" ", 1);
                blankBefore = false;
            } else if (Is(node, ns_.text, "tab")) {
                Append("\t", 1);
                blankBefore = false;
            } else if (Is(node, ns_.text, "line-break")) {
                Append("\n", 1);
                blankBefore = true;
            } else if (node.type() == pugi::node_element && !Is(node, ns_.office, "annotation") &&
                       !Is(node, ns_.text, "note") && node.first_child()) {
                node = node.first_child();
                continue;
            }
            // The next node in document order within the paragraph.
            while (node != paragraph && !node.next_sibling()) node = node.parent();
            if (node != paragraph) node = node.next_sibling();
        }
        if (text_.size() > start && text_.back() == ' ' && blankBefore) text_.pop_back();
    }

    const Prefixes& ns_;
    std::string text_;
};

using CellValue = std::variant<double, std::string>;

// The value of a table cell, nothing when it is empty.
std::optional<CellValue> ValueOf(pugi::xml_node cell, const Prefixes& ns, CellTextReader& reader) {
    const std::string type = AttributeOf(cell, ns.office, "value-type").value();
    // LibreOffice marks a formula's error value here and shows the error's code.
    const bool error = std::strcmp(AttributeOf(cell, ns.calcext, "value-type").value(), "error") == 0;
    if (!error && (type == "float" || type == "percentage" || type == "currency")) {
        const char* text = AttributeOf(cell, ns.office, "value").value();
        double number = 0;
        const char* end = text + std::strlen(text);
        const auto result = std::from_chars(text, end, number);
        if (result.ec == std::errc() && result.ptr == end && std::isfinite(number)) return number;
    } else if (!error && type == "boolean") {
        const std::string value = AttributeOf(cell, ns.office, "boolean-value").value();
        return std::string(value == "true" || value == "1" ? "TRUE" : "FALSE");
    } else if (!error && type == "string") {
        if (pugi::xml_attribute stored = AttributeOf(cell, ns.office, "string-value")) {
            if (std::strlen(stored.value()) > kMaxCellTextBytes)
                throw WorkbookError(Kind::TooLarge, "单元格文字超过 32767 个字符");
            std::string text = stored.value();
            if (text.empty()) return std::nullopt;
            return text;
        }
    } else if (type.empty() && !error) {
        return std::nullopt;
    }
    // Dates, times, errors and numbers without a readable value: the text
    // the cell shows.
    std::string shown = reader.Read(cell);
    if (shown.empty()) return std::nullopt;
    return shown;
}

// The table settings.xml names as the active one, "" when it names none.
std::string ActiveTableName(const PackageEntries& entries, XmlCost& cost) {
    const PackageEntry* settings = FindEntry(entries, kSettingsPart);
    if (!settings) return "";
    pugi::xml_document document;
    try {
        Parse(document, *settings, cost);
    } catch (const WorkbookError& error) {
        // The view settings only choose the table; without them the first
        // table is read. A file beyond the bounds stays refused.
        if (error.kind() == Kind::TooLarge) throw;
        return "";
    }
    const Prefixes ns(document.document_element());
    const std::string item = ns.config + "config-item";
    const std::string name = ns.config + "name";
    // The first config-item named ActiveTable, found without recursion.
    pugi::xml_node node = document.document_element();
    while (node) {
        if (node.name() == item && std::strcmp(node.attribute(name.c_str()).value(), "ActiveTable") == 0)
            return node.text().get();
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling()) node = node.parent();
        if (node) node = node.next_sibling();
    }
    return "";
}

// Collects the values of one table inside `kept`, the whole table counted
// against the bounds first: a repeat is multiplied out by arithmetic, and
// only the values inside `kept` are made.
class TableReader {
 public:
    TableReader(const Prefixes& ns, SheetRegion kept) : ns_(ns), text_(ns), kept_(kept) {}

    std::vector<PlainCell> Read(pugi::xml_node table) {
        // Rows may stand in row groups, header rows and row lists, nested at
        // any depth: walked without recursion. Anything else (columns, a
        // table inside a cell) holds no rows of this table.
        pugi::xml_node node = table.first_child();
        while (node && node != table) {
            if (Is(node, ns_.table, "table-row")) {
                ReadRow(node);
            } else if ((Is(node, ns_.table, "table-row-group") || Is(node, ns_.table, "table-header-rows") ||
                        Is(node, ns_.table, "table-rows")) &&
                       node.first_child()) {
                node = node.first_child();
                continue;
            }
            while (node != table && !node.next_sibling()) node = node.parent();
            if (node != table) node = node.next_sibling();
        }
        return std::move(cells_);
    }

 private:
    // A value and the columns it fills: from `column` (0-based), `repeat` of them.
    struct Run {
        std::uint64_t column, repeat;
        CellValue value;
    };

    // `at` moved on by `count`, held at last + 1 once past `last`: a count
    // near 2^64 must not wrap round into the sheet.
    static std::uint64_t PastTheEnd(std::uint64_t at, std::uint64_t count, std::uint64_t last) {
        return count > last - std::min(at, last) ? last + 1 : at + count;
    }

    void ReadRow(pugi::xml_node row) {
        const std::uint64_t rowRepeat = RepeatCount(AttributeOf(row, ns_.table, "number-rows-repeated"));
        // One instance of the row, its values as runs, counted as they come:
        // one instance alone must fit before the instances are counted.
        std::vector<Run> runs;
        SheetTally instance;
        SheetCost cost = RowCost();  // of each instance
        SheetCost strings;           // once: the repeats of a cell share its string
        std::uint64_t column = 0;
        for (pugi::xml_node cell : row.children()) {
            if (!Is(cell, ns_.table, "table-cell") && !Is(cell, ns_.table, "covered-table-cell")) continue;
            const std::uint64_t repeat = RepeatCount(AttributeOf(cell, ns_.table, "number-columns-repeated"));
            if (std::optional<CellValue> value = ValueOf(cell, ns_, text_)) {
                const std::string* text = std::get_if<std::string>(&*value);
                const SheetCost each = CellCost(text);
                instance.Add(repeat, each);
                cost += each.Times(repeat);  // within the bounds: Add let it through
                if (text) {
                    const SheetCost string = StringCost(*text);
                    instance.Add(1, string);
                    strings += string;
                }
                if (column + repeat > kSheetColumns) throw WorkbookError(Kind::Damaged, "工作表中有超出范围的行或列");
                runs.push_back({column, repeat, std::move(*value)});
            }
            column = PastTheEnd(column, repeat, kSheetColumns);
        }
        if (!runs.empty()) {
            tally_.Add(rowRepeat, cost);
            tally_.Add(1, strings);
            if (row_ + rowRepeat > kSheetRows) throw WorkbookError(Kind::Damaged, "工作表中有超出范围的行或列");
            // Only the rows and columns kept are made; the rest were counted.
            const std::uint64_t lastRow = std::min(row_ + rowRepeat, static_cast<std::uint64_t>(kept_.lastRow));
            for (std::uint64_t r = row_ + 1; r <= lastRow; ++r) {
                for (const Run& run : runs) {
                    const std::uint64_t lastColumn = std::min(run.column + run.repeat,
                                                              static_cast<std::uint64_t>(kept_.lastColumn));
                    for (std::uint64_t c = run.column + 1; c <= lastColumn; ++c)
                        cells_.push_back({static_cast<int>(r), static_cast<int>(c), run.value});
                }
            }
        }
        row_ = PastTheEnd(row_, rowRepeat, kSheetRows);
    }

    const Prefixes& ns_;
    CellTextReader text_;
    SheetRegion kept_;
    SheetTally tally_;
    std::vector<PlainCell> cells_;
    std::uint64_t row_ = 0;
};

}  // namespace

bool IsOpenDocumentPackage(const PackageEntries& entries) {
    bool openDocument = false;
    for (const PackageEntry& entry : entries) {
        std::string lower = entry.name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        if (lower == "[content_types].xml") return false;
        if (entry.name == kContentPart || (entry.name == "mimetype" && entry.data.rfind(kOpenDocumentType, 0) == 0))
            openDocument = true;
    }
    return openDocument;
}

PackageEntries OpenDocumentAsWorkbook(const PackageEntries& entries, SheetRegion kept) {
    if (const PackageEntry* mimetype = FindEntry(entries, "mimetype")) {
        // A spreadsheet or its template; a text document or a drawing is not one.
        if (mimetype->data.rfind(kSpreadsheetType, 0) != 0)
            throw WorkbookError(Kind::NotWorkbook, "文件是 OpenDocument 文档，但不是电子表格");
    }
    const PackageEntry* contentEntry = FindEntry(entries, kContentPart);
    if (!contentEntry) throw WorkbookError(Kind::Damaged, std::string("缺少部件 ") + kContentPart);
    XmlCost cost;
    pugi::xml_document content;
    Parse(content, *contentEntry, cost);
    const Prefixes ns(content.document_element());
    if (!Is(content.document_element(), ns.office, "document-content"))
        throw WorkbookError(Kind::Damaged, std::string("部件 ") + kContentPart + " 不是 OpenDocument 内容");
    const pugi::xml_node spreadsheet =
        content.document_element().child((ns.office + "body").c_str()).child((ns.office + "spreadsheet").c_str());
    if (!spreadsheet) throw WorkbookError(Kind::NotWorkbook, "文件是 OpenDocument 文档，但不是电子表格");

    const std::string activeName = ActiveTableName(entries, cost);
    const std::string tableElement = ns.table + "table";
    const std::string nameAttribute = ns.table + "name";
    pugi::xml_node active;
    for (pugi::xml_node table : spreadsheet.children(tableElement.c_str())) {
        if (!active) active = table;
        if (!activeName.empty() && activeName == table.attribute(nameAttribute.c_str()).value()) {
            active = table;
            break;
        }
    }
    if (!active) throw WorkbookError(Kind::NoSheet, "找不到活动工作表");
    TableReader reader(ns, kept);
    return PlainWorkbookPackage(active.attribute(nameAttribute.c_str()).value(), reader.Read(active));
}

}  // namespace wormgear
