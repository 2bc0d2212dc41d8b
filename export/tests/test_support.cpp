#include "export/tests/test_support.h"

#include "files/file_io.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace wormgear::testing {

std::string ReadFile(const std::string& path) { return ReadWholeFile(path, 1ull << 30); }

void WriteFile(const std::string& path, const std::string& bytes) { ReplaceFileAtomically(path, bytes); }

bool FileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* entry = ::readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string TemplatePath(const std::string& name) { return std::string(WORMGEAR_BIN_DIR) + "/" + name; }

static const PackageEntry* FindEntry(const PackageEntries& entries, const std::string& name) {
    for (const PackageEntry& entry : entries) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

std::string PartOf(const std::string& workbookPath, const std::string& name) {
    PackageEntries entries = ReadPackage(ReadFile(workbookPath));
    const PackageEntry* entry = FindEntry(entries, name);
    if (!entry) {
        ADD_FAILURE() << workbookPath << " has no part " << name;
        return "";
    }
    return entry->data;
}

bool HasPart(const std::string& workbookPath, const std::string& name) {
    return FindEntry(ReadPackage(ReadFile(workbookPath)), name) != nullptr;
}

std::string PackageBytes(const Parts& parts) {
    PackageEntries entries;
    for (const auto& [name, data] : parts) entries.push_back({name, data, 1704067200});
    return WritePackage(entries);
}

static const char* const kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
static const char* const kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
static const char* const kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

Parts WorkbookParts(const WorkbookSpec& spec) {
    std::string rel = kRelNs;
    std::string ct = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
    std::string overrides = "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" + ct +
                            "sheet.main+xml\"/>"
                            "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"" +
                            ct + "worksheet+xml\"/>";
    std::string relationships = "<Relationship Id=\"rId1\" Type=\"" + rel +
                                "/worksheet\" Target=\"worksheets/sheet1.xml\"/>";
    if (!spec.sharedStringsXml.empty()) {
        overrides += "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"" + ct + "sharedStrings+xml\"/>";
        relationships += "<Relationship Id=\"rId2\" Type=\"" + rel + "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
    }
    Parts parts = {
        {"[Content_Types].xml",
         std::string(kDeclaration) +
             "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
             "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
             "<Default Extension=\"xml\" ContentType=\"application/xml\"/>" +
             overrides + spec.extraOverrides + "</Types>"},
        {"_rels/.rels", std::string(kDeclaration) +
                            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                            "<Relationship Id=\"rId1\" Type=\"" +
                            rel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml", std::string(kDeclaration) + "<workbook xmlns=\"" + kMainNs + "\" xmlns:r=\"" + rel + "\">" +
                                spec.workbookInner + "</workbook>"},
        {"xl/_rels/workbook.xml.rels",
         std::string(kDeclaration) +
             "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + relationships +
             spec.extraRelationships + "</Relationships>"},
        {"xl/worksheets/sheet1.xml", spec.sheetXml},
    };
    if (!spec.sharedStringsXml.empty()) parts.push_back({"xl/sharedStrings.xml", spec.sharedStringsXml});
    for (const auto& part : spec.extraParts) parts.push_back(part);
    return parts;
}

std::string SheetXml(const std::string& sheetData, const std::string& before, const std::string& after) {
    return std::string(kDeclaration) + "<worksheet xmlns=\"" + kMainNs + "\" xmlns:r=\"" + kRelNs + "\">" + before +
           "<sheetData>" + sheetData + "</sheetData>" + after + "</worksheet>";
}

std::string SharedStringsXml(const std::vector<std::string>& items) {
    std::string xml = std::string(kDeclaration) + "<sst xmlns=\"" + kMainNs + "\" count=\"" +
                      std::to_string(items.size()) + "\" uniqueCount=\"" + std::to_string(items.size()) + "\">";
    for (const std::string& item : items) xml += "<si><t>" + item + "</t></si>";
    return xml + "</sst>";
}

Parts OpenDocumentParts(const std::string& tables, const std::string& activeTable, const std::string& mimetype) {
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    Parts parts = {
        {"mimetype", mimetype},
        {"META-INF/manifest.xml",
         declaration +
             "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
             "manifest:version=\"1.3\"><manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"" +
             mimetype +
             "\"/><manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
             "</manifest:manifest>"},
        {"content.xml",
         declaration +
             "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
             "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
             "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
             "xmlns:calcext=\"urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0\" "
             "office:version=\"1.3\"><office:body><office:spreadsheet>" +
             tables + "</office:spreadsheet></office:body></office:document-content>"},
    };
    if (!activeTable.empty()) {
        parts.push_back(
            {"settings.xml",
             declaration +
                 "<office:document-settings xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
                 "xmlns:config=\"urn:oasis:names:tc:opendocument:xmlns:config:1.0\" office:version=\"1.3\">"
                 "<office:settings><config:config-item-set config:name=\"ooo:view-settings\">"
                 "<config:config-item-map-indexed config:name=\"Views\"><config:config-item-map-entry>"
                 "<config:config-item config:name=\"ViewId\" config:type=\"string\">view1</config:config-item>"
                 "<config:config-item config:name=\"ActiveTable\" config:type=\"string\">" +
                 activeTable +
                 "</config:config-item></config:config-item-map-entry></config:config-item-map-indexed>"
                 "</config:config-item-set></office:settings></office:document-settings>"});
    }
    return parts;
}

std::string OpenDocumentTable(const std::string& rows, const std::string& name) {
    return "<table:table table:name=\"" + name + "\"><table:table-column table:number-columns-repeated=\"3\"/>" + rows +
           "</table:table>";
}

pugi::xml_document ParseXml(const std::string& text) {
    pugi::xml_document document;
    pugi::xml_parse_result result = document.load_string(text.c_str());
    EXPECT_TRUE(result) << result.description();
    return document;
}

}  // namespace wormgear::testing
