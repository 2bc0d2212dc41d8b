// The extension rule of file names.
#include "files/file_names.h"

namespace wormgear {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool HasExtension(std::string_view path, std::string_view extension) {
    if (path.size() < extension.size()) return false;
    const std::string_view tail = path.substr(path.size() - extension.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (LowerAscii(tail[i]) != LowerAscii(extension[i])) return false;
    }
    return true;
}

std::string WithExtension(std::string_view path, std::string_view extension) {
    std::string named(path);
    if (!HasExtension(path, extension)) named += extension;
    return named;
}

}  // namespace wormgear
