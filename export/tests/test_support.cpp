#include "export/tests/test_support.h"

#include "files/file_io.h"
#include "files/testing/faults.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <stdexcept>

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

namespace {

void PutU16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void PutU32(std::string& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}
void Record(std::string& stream, unsigned type, const std::string& data) {
    PutU16(stream, type);
    PutU16(stream, static_cast<unsigned>(data.size()));
    stream += data;
}
std::string Bof(unsigned kind) {  // BIFF8 (0x0600); 0x0005 the workbook globals, 0x0010 a worksheet
    std::string data;
    for (unsigned value : {0x0600u, kind, 0x0DBBu, 0x07CCu}) PutU16(data, value);
    PutU32(data, 0);
    PutU32(data, 0x06);
    return data;
}

// The stream "Workbook" in a version-3 compound file: 512-byte sectors, the
// FAT first, then the directory, then the stream, which is padded to the
// 4096 bytes below which a stream would go to the mini stream.
std::string CompoundFile(std::string stream) {
    if (stream.size() < 4096) stream.resize(4096, '\0');
    const std::uint32_t size = static_cast<std::uint32_t>(stream.size());
    stream.resize((stream.size() + 511) / 512 * 512, '\0');
    const std::uint32_t streamSectors = static_cast<std::uint32_t>(stream.size() / 512);
    std::uint32_t fatSectors = 1;
    while (fatSectors * 128 < fatSectors + 1 + streamSectors) ++fatSectors;
    if (fatSectors > 109) throw std::runtime_error("the test workbook needs a DIFAT");
    constexpr std::uint32_t kFree = 0xFFFFFFFF, kEnd = 0xFFFFFFFE, kFat = 0xFFFFFFFD;
    const std::uint32_t directory = fatSectors, first = fatSectors + 1;

    std::string file("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    file += std::string(16, '\0');
    for (unsigned value : {0x003Eu, 0x0003u, 0xFFFEu, 9u, 6u}) PutU16(file, value);
    file += std::string(6, '\0');
    for (std::uint32_t value : {0u, fatSectors, directory, 0u, 4096u, kEnd, 0u, kEnd, 0u}) PutU32(file, value);
    for (std::uint32_t n = 0; n < 109; ++n) PutU32(file, n < fatSectors ? n : kFree);

    std::string fat;
    for (std::uint32_t n = 0; n < fatSectors; ++n) PutU32(fat, kFat);
    PutU32(fat, kEnd);
    for (std::uint32_t n = 0; n < streamSectors; ++n) PutU32(fat, n + 1 < streamSectors ? first + n + 1 : kEnd);
    fat.resize(fatSectors * 512, '\xFF');
    file += fat;

    auto entry = [](const char* name, unsigned type, std::uint32_t child, std::uint32_t start, std::uint32_t bytes) {
        std::string data;
        std::size_t length = 0;
        for (const char* p = name; *p; ++p, ++length) PutU16(data, static_cast<unsigned char>(*p));
        data.resize(64, '\0');
        PutU16(data, static_cast<unsigned>((length + 1) * 2));
        data += static_cast<char>(type);
        data += '\1';  // black
        for (std::uint32_t id : {kFree, kFree, child}) PutU32(data, id);
        data += std::string(16 + 4 + 16, '\0');  // class, state bits, times
        PutU32(data, start);
        PutU32(data, bytes);
        PutU32(data, 0);
        return data;
    };
    std::string entries = entry("Root Entry", 5, 1, kEnd, 0) + entry("Workbook", 2, kFree, first, size);
    entries.resize(512, '\0');
    // Unused entries are empty with no siblings.
    for (std::size_t offset = 256; offset < 512; offset += 128) {
        for (std::size_t k = 68; k < 80; ++k) entries[offset + k] = '\xFF';
    }
    file += entries;
    return file + stream;
}

}  // namespace

std::string LegacyWorkbookBytes(const LegacySheetSpec& sheet) {
    std::string sst;
    PutU32(sst, static_cast<std::uint32_t>(sheet.cells.size()));
    PutU32(sst, static_cast<std::uint32_t>(sheet.strings.size()));
    for (const std::string& text : sheet.strings) {
        if (text.size() > 8000) throw std::runtime_error("a test string beyond one record");
        if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            PutU16(sst, static_cast<unsigned>(text.size()));
            sst += '\0';  // eight-bit characters
            sst += text;
            continue;
        }
        // UTF-16: the test texts stay in the basic plane (up to three bytes in UTF-8).
        std::string units;
        for (std::size_t k = 0; k < text.size();) {
            const unsigned char lead = static_cast<unsigned char>(text[k]);
            const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
            unsigned code = length == 1 ? lead : length == 2 ? lead & 0x1F : lead & 0x0F;
            for (int n = 1; n < length; ++n) code = (code << 6) | (static_cast<unsigned char>(text[k + n]) & 0x3F);
            PutU16(units, code);
            k += static_cast<std::size_t>(length);
        }
        PutU16(sst, static_cast<unsigned>(units.size() / 2));
        sst += '\1';  // sixteen-bit characters
        sst += units;
    }
    std::string globals;
    Record(globals, 0x0809, Bof(0x0005));
    std::string codepage;
    PutU16(codepage, 1200);
    Record(globals, 0x0042, codepage);
    const std::size_t sheetOffsetAt = globals.size() + 4;
    std::string boundSheet;
    PutU32(boundSheet, 0);  // the sheet's offset, set below
    boundSheet += std::string("\0\0\6\0Sheet1", 10);
    Record(globals, 0x0085, boundSheet);
    Record(globals, 0x00FC, sst);
    Record(globals, 0x000A, "");
    const std::uint32_t sheetOffset = static_cast<std::uint32_t>(globals.size());
    for (int k = 0; k < 4; ++k) globals[sheetOffsetAt + k] = static_cast<char>((sheetOffset >> (8 * k)) & 0xFF);

    unsigned rows = sheet.dimension.first, columns = sheet.dimension.second;
    if (rows == 0) {
        for (const LegacyCell& cell : sheet.cells) {
            rows = std::max(rows, static_cast<unsigned>(cell.row));
            columns = std::max(columns, static_cast<unsigned>(cell.column));
        }
    }
    std::string worksheet;
    Record(worksheet, 0x0809, Bof(0x0010));
    std::string dimension;
    PutU32(dimension, 0);
    PutU32(dimension, rows);
    PutU16(dimension, 0);
    PutU16(dimension, columns);
    PutU16(dimension, 0);
    Record(worksheet, 0x0200, dimension);
    for (const LegacyCell& cell : sheet.cells) {
        std::string data;
        PutU16(data, static_cast<unsigned>(cell.row - 1));
        PutU16(data, static_cast<unsigned>(cell.column - 1));
        PutU16(data, 0);
        if (cell.string >= 0) {
            PutU32(data, static_cast<std::uint32_t>(cell.string));
            Record(worksheet, 0x00FD, data);  // LABELSST
        } else {
            data.append(reinterpret_cast<const char*>(&cell.number), sizeof cell.number);
            Record(worksheet, 0x0203, data);  // NUMBER
        }
    }
    Record(worksheet, 0x000A, "");
    return CompoundFile(globals + worksheet);
}

std::string OutcomeWithinMemory(const std::function<bool()>& open, const std::string& path,
                                const std::string& sentenceHolds) {
    using Kind = WorkbookError::Kind;
    const char* const kNames[] = {"opened",   "wrong content", "too large", "damaged",       "not a workbook",
                                  "no sheet", "other",         "unclear",   "out of memory", "crashed"};
    const int result = RunWithMemoryBound(kOpeningMemoryBound, [&] {
        try {
            return open() ? 0 : 1;
        } catch (const WorkbookError& error) {
            const std::string what = error.what();
            if (what.find(path) == std::string::npos || what.find(sentenceHolds) == std::string::npos) return 7;
            switch (error.kind()) {
                case Kind::TooLarge: return 2;
                case Kind::Damaged: return 3;
                case Kind::NotWorkbook: return 4;
                case Kind::NoSheet: return 5;
                default: return 6;
            }
        } catch (const std::bad_alloc&) {
            return 8;
        }
    });
    return result >= 0 && result < 9 ? kNames[result] : kNames[9];
}

pugi::xml_document ParseXml(const std::string& text) {
    pugi::xml_document document;
    pugi::xml_parse_result result = document.load_string(text.c_str());
    EXPECT_TRUE(result) << result.description();
    return document;
}

}  // namespace wormgear::testing
