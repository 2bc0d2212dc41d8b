// Zip reading and writing through libzip, all in memory.
#include "export/package.h"

#include <zip.h>

#include "files/file_io.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

namespace wormgear {
namespace {

std::string ZipErrorText(zip_error_t* error) {
    std::string text = zip_error_strerror(error);
    zip_error_fini(error);
    return text;
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

std::string ReadEntry(zip_t* archive, zip_uint64_t index, std::uint64_t size, const char* name) {
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive, index, 0));
    if (!file) {
        throw WorkbookError(std::string("cannot unpack ") + name + ": " + zip_strerror(archive));
    }
    std::string data(static_cast<std::size_t>(size), '\0');
    std::uint64_t done = 0;
    while (done < size) {
        zip_int64_t got = zip_fread(file.get(), data.data() + done, size - done);
        if (got < 0) {
            throw WorkbookError(std::string("damaged part ") + name + ": " + zip_file_strerror(file.get()));
        }
        if (got == 0) throw WorkbookError(std::string("part ") + name + " is shorter than its directory says");
        done += static_cast<std::uint64_t>(got);
    }
    // One more read reaches the end of the stream, where libzip compares the
    // CRC; it also catches a part that unpacks to more than its declared size.
    char extra;
    zip_int64_t more = zip_fread(file.get(), &extra, 1);
    if (more != 0) {
        throw WorkbookError(std::string("damaged part ") + name +
                            (more < 0 ? std::string(": ") + zip_file_strerror(file.get())
                                      : std::string(" is longer than its directory says")));
    }
    return data;
}

}  // namespace

PackageEntries ReadPackage(const std::string& zipBytes) {
    zip_error_t error;
    zip_error_init(&error);
    // libzip frees a buffer it has been told to own, and with an archive opened
    // from a source that failure paths may free early: hand it a malloc'ed copy
    // it owns outright rather than our string.
    void* copy = std::malloc(zipBytes.empty() ? 1 : zipBytes.size());
    if (!copy) throw WorkbookError("out of memory");
    std::memcpy(copy, zipBytes.data(), zipBytes.size());
    zip_source_t* source = zip_source_buffer_create(copy, zipBytes.size(), 1, &error);
    if (!source) {
        std::free(copy);
        throw WorkbookError("cannot read package: " + ZipErrorText(&error));
    }
    Archive archive(zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) {
        zip_source_free(source);
        throw WorkbookError("not a workbook package: " + ZipErrorText(&error));
    }
    zip_error_fini(&error);

    zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count <= 0) throw WorkbookError("the package is empty");
    if (static_cast<std::uint64_t>(count) > kMaxPackageEntries) throw WorkbookError("the package has too many parts");

    PackageEntries entries;
    entries.reserve(static_cast<std::size_t>(count));
    std::uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_SIZE)) {
            throw WorkbookError("damaged package directory");
        }
        if (stat.size > kMaxUnpackedBytes || total + stat.size > kMaxUnpackedBytes) {
            throw WorkbookError("the package unpacks to more than the size limit");
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
    if (!target) throw WorkbookError("cannot create package: " + ZipErrorText(&error));
    // The archive frees its source on close; keep ours alive to read the result.
    zip_source_keep(target.get());
    Archive archive(zip_open_from_source(target.get(), ZIP_TRUNCATE, &error));
    if (!archive) {
        zip_source_free(target.get());  // drop the extra reference taken above
        throw WorkbookError("cannot create package: " + ZipErrorText(&error));
    }
    zip_error_fini(&error);

    for (const PackageEntry& entry : entries) {
        zip_int64_t index;
        if (!entry.name.empty() && entry.name.back() == '/') {
            index = zip_dir_add(archive.get(), entry.name.c_str(), ZIP_FL_ENC_UTF_8);
        } else {
            // The entries outlive the archive, so libzip may read them in place.
            zip_source_t* data = zip_source_buffer(archive.get(), entry.data.data(), entry.data.size(), 0);
            if (!data) throw WorkbookError(std::string("cannot pack part: ") + zip_strerror(archive.get()));
            index = zip_file_add(archive.get(), entry.name.c_str(), data, ZIP_FL_ENC_UTF_8);
            if (index < 0) {
                zip_source_free(data);
            } else if (zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0) != 0) {
                index = -1;
            }
        }
        if (index < 0 || (entry.mtime > 0 && zip_file_set_mtime(archive.get(), static_cast<zip_uint64_t>(index), entry.mtime, 0) != 0)) {
            throw WorkbookError("cannot pack part " + entry.name + ": " + zip_strerror(archive.get()));
        }
    }
    if (zip_close(archive.get()) != 0) {
        throw WorkbookError(std::string("cannot write package: ") + zip_strerror(archive.get()));
    }
    archive.release();  // closed and freed by zip_close
    return SourceBytes(target.get());
}

namespace {

// Reads the whole content of a buffer source that libzip has written.
std::string SourceBytes(zip_source_t* source) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(source, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) || zip_source_open(source) != 0) {
        throw WorkbookError("cannot read the packed workbook back");
    }
    std::string bytes(static_cast<std::size_t>(stat.size), '\0');
    zip_int64_t got = zip_source_read(source, bytes.data(), stat.size);
    zip_source_close(source);
    if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size) throw WorkbookError("cannot read the packed workbook back");
    return bytes;
}

void Deflate(zip_t* archive, zip_int64_t index, const std::string& name) {
    if (index < 0 || zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0) != 0 ||
        zip_file_set_mtime(archive, static_cast<zip_uint64_t>(index), std::time(nullptr), 0) != 0) {
        throw WorkbookError("cannot pack part " + name + ": " + zip_strerror(archive));
    }
}

}  // namespace

std::string RewritePackage(const std::string& zipBytes, const PackageChanges& changes) {
    zip_error_t error;
    zip_error_init(&error);
    void* copy = std::malloc(zipBytes.empty() ? 1 : zipBytes.size());
    if (!copy) throw WorkbookError("out of memory");
    std::memcpy(copy, zipBytes.data(), zipBytes.size());
    Source source(zip_source_buffer_create(copy, zipBytes.size(), 1, &error));
    if (!source) {
        std::free(copy);
        throw WorkbookError("cannot read package: " + ZipErrorText(&error));
    }
    // One reference for the archive, which frees it on close, one to read the
    // rewritten bytes afterwards.
    zip_source_keep(source.get());
    Archive archive(zip_open_from_source(source.get(), 0, &error));
    if (!archive) {
        zip_source_free(source.get());
        throw WorkbookError("not a workbook package: " + ZipErrorText(&error));
    }
    zip_error_fini(&error);

    for (const auto& [name, data] : changes.replaced) {
        zip_int64_t index = zip_name_locate(archive.get(), name.c_str(), 0);
        if (index < 0) throw WorkbookError("the package has no part " + name);
        zip_source_t* part = zip_source_buffer(archive.get(), data.data(), data.size(), 0);
        if (!part) throw WorkbookError(std::string("cannot pack part: ") + zip_strerror(archive.get()));
        if (zip_file_replace(archive.get(), static_cast<zip_uint64_t>(index), part, 0) != 0) {
            zip_source_free(part);
            throw WorkbookError("cannot pack part " + name + ": " + zip_strerror(archive.get()));
        }
        Deflate(archive.get(), index, name);
    }
    for (const std::string& name : changes.removed) {
        zip_int64_t index = zip_name_locate(archive.get(), name.c_str(), 0);
        if (index >= 0 && zip_delete(archive.get(), static_cast<zip_uint64_t>(index)) != 0) {
            throw WorkbookError("cannot remove part " + name + ": " + zip_strerror(archive.get()));
        }
    }
    for (const auto& [name, data] : changes.added) {
        zip_source_t* part = zip_source_buffer(archive.get(), data.data(), data.size(), 0);
        if (!part) throw WorkbookError(std::string("cannot pack part: ") + zip_strerror(archive.get()));
        zip_int64_t index = zip_file_add(archive.get(), name.c_str(), part, ZIP_FL_ENC_UTF_8);
        if (index < 0) zip_source_free(part);
        Deflate(archive.get(), index, name);
    }
    if (zip_close(archive.get()) != 0) {
        throw WorkbookError(std::string("cannot write package: ") + zip_strerror(archive.get()));
    }
    archive.release();  // closed and freed by zip_close
    return SourceBytes(source.get());
}

std::string ReadWorkbookFile(const std::string& path) {
    try {
        return ReadWholeFile(path, kMaxUnpackedBytes);
    } catch (const FileError& error) {
        throw WorkbookError(error.what());
    }
}

void ReplaceWorkbookFile(const std::string& path, const std::string& bytes) {
    try {
        ReplaceFileAtomically(path, bytes);
    } catch (const FileError& error) {
        throw WorkbookError(error.what());
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
