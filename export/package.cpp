// Zip reading and writing through libzip, all in memory.
#include "export/package.h"

#include <zip.h>

#include "calc/text.h"
#include "files/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

namespace wormgear {
namespace {

using Kind = WorkbookError::Kind;

std::string Quoted(const std::string& path) { return "“" + path + "”"; }

// libzip's own wording of a failure, kept for whoever reports the problem.
std::string Detail(const std::string& text) { return "（" + text + "）"; }

std::string ZipErrorText(zip_error_t* error) {
    std::string text = zip_error_strerror(error);
    zip_error_fini(error);
    return text;
}

std::string PackFailure(const std::string& name, zip_t* archive) {
    return "打包部件 " + ShownPartName(name) + " 失败" + Detail(zip_strerror(archive));
}

struct ArchiveDiscarder {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveDiscarder>;

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

struct SourceFreer {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using Source = std::unique_ptr<zip_source_t, SourceFreer>;

std::string SourceBytes(zip_source_t* source);

// A buffer source over a copy of `zipBytes` that libzip owns outright: it
// frees a buffer it has been told to own, and with an archive opened from a
// source that failure paths may free early, so it is not handed our string.
// No bytes are no zip: libzip would not free a buffer of none.
zip_source_t* CopiedSource(const std::string& zipBytes) {
    if (zipBytes.empty()) throw WorkbookError(Kind::Damaged, "不是完整的 zip 压缩包（没有任何数据）");
    void* copy = std::malloc(zipBytes.size());
    if (!copy) throw WorkbookError(Kind::Internal, "内存不足");
    std::memcpy(copy, zipBytes.data(), zipBytes.size());
    zip_error_t error;
    zip_error_init(&error);
    // With freep = 1 the source owns `copy` and frees it with itself.
    zip_source_t* source = zip_source_buffer_create(copy, zipBytes.size(), 1, &error);
    if (!source) {
        std::free(copy);
        throw WorkbookError(Kind::Internal, "读取压缩包失败" + Detail(ZipErrorText(&error)));
    }
    zip_error_fini(&error);  // NOLINT(clang-analyzer-unix.Malloc): `source` frees `copy`
    return source;
}

std::string ReadEntry(zip_t* archive, zip_uint64_t index, std::uint64_t size, const char* name) {
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive, index, 0));
    if (!file) {
        throw WorkbookError(Kind::Damaged, "部件 " + ShownPartName(name) + " 无法解压" + Detail(zip_strerror(archive)));
    }
    std::string data(static_cast<std::size_t>(size), '\0');
    std::uint64_t done = 0;
    while (done < size) {
        zip_int64_t got = zip_fread(file.get(), data.data() + done, size - done);
        if (got < 0) {
            throw WorkbookError(Kind::Damaged,
                                "部件 " + ShownPartName(name) + " 无法解压" + Detail(zip_file_strerror(file.get())));
        }
        if (got == 0) throw WorkbookError(Kind::Damaged, "部件 " + ShownPartName(name) + " 比压缩包目录记载的短");
        done += static_cast<std::uint64_t>(got);
    }
    // One more read reaches the end of the stream, where libzip compares the
    // CRC; it also catches a part that unpacks to more than its declared size.
    char extra;
    zip_int64_t more = zip_fread(file.get(), &extra, 1);
    if (more != 0) {
        throw WorkbookError(Kind::Damaged, "部件 " + ShownPartName(name) +
                                               (more < 0 ? " 无法解压" + Detail(zip_file_strerror(file.get()))
                                                         : std::string(" 比压缩包目录记载的长")));
    }
    return data;
}

}  // namespace

WorkbookError::WorkbookError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}

WorkbookError WorkbookFileError(const WorkbookError& error, const std::string& path) {
    const std::string file = Quoted(path);
    switch (error.kind()) {
        case Kind::File: return error;
        case Kind::NotWorkbook: return WorkbookError(error.kind(), file + "不是工作簿：" + error.what());
        case Kind::Damaged: return WorkbookError(error.kind(), "工作簿" + file + "已损坏：" + error.what());
        case Kind::TooLarge: return WorkbookError(error.kind(), "工作簿" + file + "过大：" + error.what());
        // Nothing the user did or the file holds: the step itself failed.
        case Kind::Internal: return WorkbookError(error.kind(), "无法打开工作簿" + file + "：" + error.what());
        case Kind::NoSheet:
        case Kind::Cell:
        case Kind::Text: break;
    }
    return WorkbookError(error.kind(), "工作簿" + file + "：" + error.what());
}

WorkbookError WorkbookSaveError(const WorkbookError& error, const std::string& path) {
    // Not "damaged" or "too large": that would blame the target for what the
    // opened workbook holds.
    if (error.kind() == Kind::File) return error;
    return WorkbookError(error.kind(), "无法保存工作簿" + Quoted(path) + "：" + error.what());
}

std::string ShownPartName(const std::string& name) {
    if (IsValidUtf8(name)) return name;
    std::string shown = name;
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    }
    return shown;
}

void XmlCost::Add(const std::string& xml, const std::string& part) {
    using Kind = WorkbookError::Kind;
    bytes += xml.size();
    tags += static_cast<std::uint64_t>(std::count(xml.begin(), xml.end(), '<'));
    attributes += static_cast<std::uint64_t>(std::count(xml.begin(), xml.end(), '='));
    if (bytes > kMaxParsedXmlBytes) {
        throw WorkbookError(Kind::TooLarge, "部件 " + ShownPartName(part) + " 使要解析的 XML 超过 " +
                                                std::to_string(kMaxParsedXmlBytes >> 20) + " MiB");
    }
    if (tags > kMaxXmlTags || attributes > kMaxXmlAttributes) {
        throw WorkbookError(Kind::TooLarge, "部件 " + ShownPartName(part) + " 使要解析的 XML 标记超过 " +
                                                std::to_string(kMaxXmlTags) + " 个");
    }
}

PackageEntries ReadPackage(const std::string& zipBytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = CopiedSource(zipBytes);
    Archive archive(zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) {
        zip_source_free(source);
        throw WorkbookError(Kind::Damaged, "不是完整的 zip 压缩包" + Detail(ZipErrorText(&error)));
    }
    zip_error_fini(&error);

    zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count <= 0) throw WorkbookError(Kind::NotWorkbook, "压缩包中没有任何部件");
    if (static_cast<std::uint64_t>(count) > kMaxPackageEntries) {
        throw WorkbookError(Kind::TooLarge, "部件超过 " + std::to_string(kMaxPackageEntries) + " 个");
    }

    PackageEntries entries;
    entries.reserve(static_cast<std::size_t>(count));
    std::uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_SIZE)) {
            throw WorkbookError(Kind::Damaged, "压缩包目录有误");
        }
        if (stat.size > kMaxUnpackedBytes || total + stat.size > kMaxUnpackedBytes) {
            throw WorkbookError(Kind::TooLarge, "解压后超过 " + std::to_string(kMaxUnpackedBytes >> 20) + " MiB");
        }
        total += stat.size;
        PackageEntry entry;
        entry.name = stat.name;
        entry.mtime = (stat.valid & ZIP_STAT_MTIME) ? stat.mtime : 0;
        entry.data = ReadEntry(archive.get(), static_cast<zip_uint64_t>(i), stat.size, stat.name);
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string WritePackage(const PackageEntries& entries) {
    zip_error_t error;
    zip_error_init(&error);
    Source target(zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!target) throw WorkbookError(Kind::Internal, "创建压缩包失败" + Detail(ZipErrorText(&error)));
    // The archive frees its source on close; keep ours alive to read the result.
    zip_source_keep(target.get());
    Archive archive(zip_open_from_source(target.get(), ZIP_TRUNCATE, &error));
    if (!archive) {
        zip_source_free(target.get());  // drop the extra reference taken above
        throw WorkbookError(Kind::Internal, "创建压缩包失败" + Detail(ZipErrorText(&error)));
    }
    zip_error_fini(&error);

    for (const PackageEntry& entry : entries) {
        zip_int64_t index;
        if (!entry.name.empty() && entry.name.back() == '/') {
            index = zip_dir_add(archive.get(), entry.name.c_str(), ZIP_FL_ENC_UTF_8);
        } else {
            // The entries outlive the archive, so libzip may read them in place.
            zip_source_t* data = zip_source_buffer(archive.get(), entry.data.data(), entry.data.size(), 0);
            if (!data) throw WorkbookError(Kind::Internal, PackFailure(entry.name, archive.get()));
            index = zip_file_add(archive.get(), entry.name.c_str(), data, ZIP_FL_ENC_UTF_8);
            if (index < 0) {
                zip_source_free(data);
            } else if (zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0) !=
                       0) {
                index = -1;
            }
        }
        if (index < 0 || (entry.mtime > 0 &&
                          zip_file_set_mtime(archive.get(), static_cast<zip_uint64_t>(index), entry.mtime, 0) != 0)) {
            throw WorkbookError(Kind::Internal, PackFailure(entry.name, archive.get()));
        }
    }
    if (zip_close(archive.get()) != 0) {
        throw WorkbookError(Kind::Internal, "写出压缩包失败" + Detail(zip_strerror(archive.get())));
    }
    static_cast<void>(archive.release());  // closed and freed by zip_close
    return SourceBytes(target.get());
}

namespace {

// Reads the whole content of a buffer source that libzip has written.
std::string SourceBytes(zip_source_t* source) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(source, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) || zip_source_open(source) != 0) {
        throw WorkbookError(Kind::Internal, "读回打包后的数据失败");
    }
    std::string bytes(static_cast<std::size_t>(stat.size), '\0');
    zip_int64_t got = zip_source_read(source, bytes.data(), stat.size);
    zip_source_close(source);
    if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size) {
        throw WorkbookError(Kind::Internal, "读回打包后的数据失败");
    }
    return bytes;
}

void Deflate(zip_t* archive, zip_int64_t index, const std::string& name) {
    if (index < 0 || zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0) != 0 ||
        zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), std::time(nullptr), 0) != 0) {
        throw WorkbookError(Kind::Internal, PackFailure(name, archive));
    }
}

}  // namespace

std::string RewritePackage(const std::string& zipBytes, const PackageChanges& changes) {
    zip_error_t error;
    zip_error_init(&error);
    Source source(CopiedSource(zipBytes));
    // One reference for the archive, which frees it on close, one to read the
    // rewritten bytes afterwards.
    zip_source_keep(source.get());
    Archive archive(zip_open_from_source(source.get(), 0, &error));
    if (!archive) {
        zip_source_free(source.get());
        throw WorkbookError(Kind::Damaged, "不是完整的 zip 压缩包" + Detail(ZipErrorText(&error)));
    }
    zip_error_fini(&error);

    for (const auto& [name, data] : changes.replaced) {
        zip_int64_t index = zip_name_locate(archive.get(), name.c_str(), 0);
        if (index < 0) throw WorkbookError(Kind::Internal, "压缩包中没有部件 " + ShownPartName(name));
        zip_source_t* part = zip_source_buffer(archive.get(), data.data(), data.size(), 0);
        if (!part) throw WorkbookError(Kind::Internal, PackFailure(name, archive.get()));
        if (zip_file_replace(archive.get(), static_cast<zip_uint64_t>(index), part, 0) != 0) {
            zip_source_free(part);
            throw WorkbookError(Kind::Internal, PackFailure(name, archive.get()));
        }
        Deflate(archive.get(), index, name);
    }
    for (const std::string& name : changes.removed) {
        zip_int64_t index = zip_name_locate(archive.get(), name.c_str(), 0);
        if (index >= 0 && zip_delete(archive.get(), static_cast<zip_uint64_t>(index)) != 0) {
            throw WorkbookError(Kind::Internal,
                                "删除部件 " + ShownPartName(name) + " 失败" + Detail(zip_strerror(archive.get())));
        }
    }
    for (const auto& [name, data] : changes.added) {
        zip_source_t* part = zip_source_buffer(archive.get(), data.data(), data.size(), 0);
        if (!part) throw WorkbookError(Kind::Internal, PackFailure(name, archive.get()));
        zip_int64_t index = zip_file_add(archive.get(), name.c_str(), part, ZIP_FL_ENC_UTF_8);
        if (index < 0) zip_source_free(part);
        Deflate(archive.get(), index, name);
    }
    if (zip_close(archive.get()) != 0) {
        throw WorkbookError(Kind::Internal, "写出压缩包失败" + Detail(zip_strerror(archive.get())));
    }
    static_cast<void>(archive.release());  // closed and freed by zip_close
    return SourceBytes(source.get());
}

std::string ReadWorkbookFile(const std::string& path) {
    try {
        return ReadWholeFile(path, kMaxWorkbookFileBytes);
    } catch (const FileError& error) {
        throw WorkbookError(Kind::File, error.what());
    }
}

std::string ReadWorkbookStream(std::istream& in, const std::string& name) {
    std::string bytes;
    char buffer[65536];
    std::streambuf* source = in.rdbuf();
    for (;;) {
        const std::streamsize got = source ? source->sgetn(buffer, sizeof buffer) : 0;
        if (got <= 0) break;
        // One byte beyond the bound is enough to refuse: the rest is never read.
        if (bytes.size() + static_cast<std::size_t>(got) > kMaxWorkbookFileBytes) {
            throw WorkbookFileError(
                WorkbookError(Kind::TooLarge, std::string("超过 ") + kMaxWorkbookFileShown + "，工作簿文件最多这么大"),
                name);
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

void ReplaceWorkbookFile(const std::string& path, const std::string& bytes) {
    try {
        ReplaceFileAtomically(path, bytes);
    } catch (const FileError& error) {
        throw WorkbookError(Kind::File, error.what());
    }
}

std::string XmlEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                // Control characters cannot stand in XML 1.0; spreadsheet XML
                // writes them as _xHHHH_.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                    static const char hex[] = "0123456789ABCDEF";
                    out += "_x00";
                    out += hex[(c >> 4) & 0xF];
                    out += hex[c & 0xF];
                    out += '_';
                } else {
                    out += c;
                }
        }
    }
    return out;
}

}  // namespace wormgear
