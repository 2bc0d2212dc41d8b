// The program directory from /proc/self/exe.
#include "files/program_files.h"

#include <filesystem>

namespace wormgear {

std::string ProgramDirectory() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "./";
    return executable.parent_path().string() + "/";
}

std::string ProgramFilePath(std::string_view programDirectory, std::string_view fileName) {
    std::string path(programDirectory);
    if (!path.empty() && path.back() != '/') path += '/';
    path += fileName;
    return path;
}

}  // namespace wormgear
