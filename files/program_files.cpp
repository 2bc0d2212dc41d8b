// The program directory from /proc/self/exe; the data-folder rule on POSIX calls.
#include "files/program_files.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "files/file_io.h"

namespace wormgear {
namespace {

constexpr std::string_view kDataFolderName = "wormgear";
// The files seeded from the program directory are small (db1.mdb is 8 KiB);
// anything larger under such a name is not one of them.
constexpr std::uint64_t kSeedLimit = 64 << 20;

std::string WithSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

DataFolderError FolderError(const std::string& folder, int systemError) {
    return DataFolderError("无法使用数据文件夹“" + folder + "”：" + std::strerror(systemError));
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && *found->pw_dir != '\0')
        return found->pw_dir;
    throw DataFolderError("无法确定用户的数据文件夹：没有设置 HOME，用户数据库中也没有当前用户的主文件夹");
}

// Makes the folder when missing (only the last level private to the user, as
// the XDG base directories ask) and checks that the program may write it.
void MakeUsableFolder(const std::string& folder) {
    struct stat info;
    if (::stat(folder.c_str(), &info) != 0) {
        if (errno != ENOENT) throw FolderError(folder, errno);
        // "/home/li/.local/share/wormgear/": the folders up to ".../share" as usual.
        const std::filesystem::path withoutSlash = std::filesystem::path(folder).parent_path();
        std::error_code error;
        std::filesystem::create_directories(withoutSlash.parent_path(), error);
        if (error) throw FolderError(folder, error.value());
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) throw FolderError(folder, errno);
        if (::stat(folder.c_str(), &info) != 0) throw FolderError(folder, errno);
    }
    if (!S_ISDIR(info.st_mode)) throw FolderError(folder, ENOTDIR);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) throw FolderError(folder, errno);
}

bool Exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

std::string ProgramDirectory() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "./";
    return executable.parent_path().string() + "/";
}

std::string ProgramFilePath(std::string_view programDirectory, std::string_view fileName) {
    std::string path = WithSlash(std::string(programDirectory));
    path += fileName;
    return path;
}

bool IsWritableDirectory(std::string_view directory) {
    const std::string path = directory.empty() ? std::string(".") : std::string(directory);
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

std::string UserDataDirectory() {
    // Relative paths in the XDG variables are to be ignored.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const std::string base = dataHome != nullptr && dataHome[0] == '/' ? std::string(dataHome)
                                                                       : WithSlash(HomeFolder()) + ".local/share";
    return WithSlash(base) + std::string(kDataFolderName) + "/";
}

std::string DataFilePath(std::string_view programDirectory, std::string_view fileName) {
    const bool writable = IsWritableDirectory(programDirectory);
    return DataFilePath(programDirectory, writable, writable ? std::string() : UserDataDirectory(), fileName);
}

std::string DataFilePath(std::string_view programDirectory, bool programDirectoryWritable,
                         std::string_view userDataDirectory, std::string_view fileName) {
    if (programDirectoryWritable) return ProgramFilePath(programDirectory, fileName);
    const std::string folder = WithSlash(std::string(userDataDirectory));
    MakeUsableFolder(folder);
    const std::string path = folder + std::string(fileName);
    const std::string shipped = ProgramFilePath(programDirectory, fileName);
    if (!Exists(path) && Exists(shipped)) ReplaceFileAtomically(path, ReadWholeFile(shipped, kSeedLimit));
    return path;
}

std::string NameRuntimeFolderWhereUnset() {
    const char* named = std::getenv("XDG_RUNTIME_DIR");
    if (named != nullptr && *named != '\0') return "";
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_name == nullptr || *found->pw_name == '\0')
        return "";
    // Qt's temporary folder: $TMPDIR without trailing '/', else /tmp.
    const char* temporary = std::getenv("TMPDIR");
    std::string folder = temporary != nullptr && *temporary != '\0' ? temporary : "/tmp";
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    folder += (folder == "/" ? "" : "/") + std::string("runtime-") + found->pw_name;
    ::mkdir(folder.c_str(), 0700);  // an existing one is judged below
    struct stat info;
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & 07777) != 0700)
        return "";
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    return folder;
}

}  // namespace wormgear
