// Whole-file reads and atomic replacement on POSIX calls.
#include "files/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace wormgear {
namespace {

const char* ActionText(FileError::Action action) {
    using A = FileError::Action;
    const char* what = "";
    switch (action) {
        case A::Open: what = "无法打开文件"; break;
        case A::Read: what = "无法读取文件"; break;
        case A::NotRegular: what = "不是普通文件"; break;
        case A::TooLarge: what = "文件过大"; break;
        case A::Create: what = "无法在目标文件夹中创建文件"; break;
        case A::Write: what = "无法写入文件"; break;
        case A::Replace: what = "无法替换文件"; break;
        case A::NoFileName: what = "缺少文件名"; break;
    }
    return what;
}

std::string Sentence(FileError::Action action, const std::string& path, int systemError) {
    std::string text = std::string(ActionText(action)) + "“" + path + "”";
    if (systemError != 0) text += "：" + SystemErrorText(systemError);
    return text;
}

// Closes a descriptor on every path out of a function.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// Symbolic links are followed at most this many times, as the kernel does.
constexpr int kMaxLinkDepth = 40;

std::string FolderOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BaseOf(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat info;
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) return current;
        target.resize(static_cast<std::size_t>(length));
        current = !target.empty() && target[0] == '/' ? target : FolderOf(current) + target;
    }
    throw FileError(FileError::Action::Replace, path, ELOOP);
}

namespace {

// The temporary names: "." + at most this many bytes of the target's name, so
// that a name the file system just accepts still has room for the rest.
constexpr std::size_t kTemporaryStemBytes = 24;
const char* const kTemporaryMark = ".wgtmp";

std::string TemporaryStem(const std::string& base) {
    std::size_t length = std::min(base.size(), kTemporaryStemBytes);
    // Not in the middle of a UTF-8 character.
    while (length > 0 && length < base.size() && (static_cast<unsigned char>(base[length]) & 0xC0) == 0x80) --length;
    return "." + base.substr(0, length);
}

std::string TemporaryName(const std::string& folder, const std::string& base) {
    static std::atomic<unsigned> serial{0};
    return folder + TemporaryStem(base) + kTemporaryMark + std::to_string(::getpid()) + "-" + std::to_string(serial++);
}

// Digits at text[from, to); false when there are none or others.
bool AllDigits(const std::string& text, std::size_t from, std::size_t to) {
    if (from >= to) return false;
    for (std::size_t i = from; i < to; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

// Removes the temporary files that replacements of processes no longer
// running left in `folder`: a replacement killed between naming its file and
// renaming it, or one of an earlier version, which wrote under its temporary
// name from the start.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    const int dirFd = ::dirfd(dir);
    while (dirent* entry = ::readdir(dir)) {
        long process = 0;
        if (!IsReplacementTemporaryName(entry->d_name, &process) || process == ::getpid()) continue;
        if (process <= 0 || ::kill(static_cast<pid_t>(process), 0) == 0 || errno != ESRCH) continue;
        struct stat info;
        if (::fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

// Gives an unnamed file opened with O_TMPFILE the name `temporary`.
bool NameUnnamedFile(int fd, const std::string& temporary) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
    // Without /proc: the same by the descriptor, where the process may.
    return ::linkat(fd, "", AT_FDCWD, temporary.c_str(), AT_EMPTY_PATH) == 0;
}

// The new file takes the owner, group and permission bits of the one it
// replaces. The owner only where the process may give it (the superuser);
// the group where the owner belongs to it.
void TakeIdentity(int fd, const struct stat& replaced) {
    struct stat made;
    if (::fstat(fd, &made) != 0) return;
    if (made.st_uid != replaced.st_uid || made.st_gid != replaced.st_gid) {
        if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0) {
            [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid);
        }
    }
    // After the owner: changing it clears the set-user-ID bit.
    ::fchmod(fd, replaced.st_mode & 07777);
}

void SyncFolder(const std::string& folder) {
    Descriptor dir{::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd >= 0) ::fsync(dir.fd);
}

}  // namespace

FileError::FileError(Action action, std::string path, int systemError)
    : std::runtime_error(Sentence(action, path, systemError)),
      action_(action),
      path_(std::move(path)),
      systemError_(systemError) {}

std::string FileError::reason() const {
    return systemError_ != 0 ? SystemErrorText(systemError_) : std::string(ActionText(action_));
}

std::string SystemErrorText(int systemError) {
    // The wording of the system's own Chinese messages.
    switch (systemError) {
        case ENOENT: return "没有那个文件或目录";
        case EACCES: return "权限不够";
        case EPERM: return "不允许的操作";
        case ENOSPC: return "设备上没有空间";
        case EDQUOT: return "超出磁盘配额";
        case EROFS: return "只读文件系统";
        case EIO: return "输入/输出错误";
        case EISDIR: return "是一个目录";
        case ENOTDIR: return "不是目录";
        case ENAMETOOLONG: return "文件名过长";
        case EEXIST: return "文件已存在";
        case EFBIG: return "文件过大";
        case ELOOP: return "符号链接的层数过多";
        case EBUSY: return "设备或资源忙";
        case ETXTBSY: return "文本文件忙";
        case EMFILE: return "打开的文件过多";
        case ENFILE: return "系统中打开的文件过多";
        case EXDEV: return "无效的跨设备链接";
        case ENXIO: return "没有那个设备或地址";
        case ENODEV: return "没有那个设备";
        case EAGAIN: return "资源暂时不可用";
        case EINVAL: return "无效的参数";
        case ENOMEM: return "无法分配内存";
        case ESTALE: return "过旧的文件句柄";
        case EOPNOTSUPP: return "不支持的操作";
        default: return std::strerror(systemError);
    }
}

RegularFile::RegularFile(const std::string& path, std::uint64_t limit) : fd_(-1), size_(0) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) throw FileError(FileError::Action::Open, path, errno);
    struct stat info;
    if (::fstat(file.fd, &info) != 0) throw FileError(FileError::Action::Read, path, errno);
    if (!S_ISREG(info.st_mode)) throw FileError(FileError::Action::NotRegular, path);
    if (static_cast<std::uint64_t>(info.st_size) > limit) throw FileError(FileError::Action::TooLarge, path);
    // Reads of a regular file never wait; the flag would only surprise a
    // caller that hands the descriptor on.
    ::fcntl(file.fd, F_SETFL, ::fcntl(file.fd, F_GETFL) & ~O_NONBLOCK);
    size_ = static_cast<std::uint64_t>(info.st_size);
    fd_ = file.fd;
    file.fd = -1;
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::string ReadWholeFile(const std::string& path, std::uint64_t limit) {
    const RegularFile file(path, limit);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(file.size()));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.descriptor(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw FileError(FileError::Action::Read, path, errno);
        }
        if (got == 0) break;
        // The file may grow while it is read.
        if (bytes.size() + static_cast<std::size_t>(got) > limit) throw FileError(FileError::Action::TooLarge, path);
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

bool IsReplacementTemporaryName(const std::string& name, long* process) {
    if (name.size() < 2 || name[0] != '.') return false;
    std::string::size_type pidStart = std::string::npos, pidEnd = std::string::npos;
    const std::string::size_type mark = name.rfind(kTemporaryMark);
    if (mark != std::string::npos && mark > 0) {
        // ".<stem>.wgtmp<process>-<serial>"
        pidStart = mark + std::strlen(kTemporaryMark);
        pidEnd = name.find('-', pidStart);
        if (pidEnd == std::string::npos || !AllDigits(name, pidEnd + 1, name.size())) return false;
    } else {
        // An earlier version's ".<name>.tmp<process>-<serial>-<random>".
        const std::string::size_type tmp = name.rfind(".tmp");
        if (tmp == std::string::npos || tmp == 0) return false;
        pidStart = tmp + 4;
        pidEnd = name.find('-', pidStart);
        if (pidEnd == std::string::npos) return false;
        const std::string::size_type second = name.find('-', pidEnd + 1);
        if (second == std::string::npos || !AllDigits(name, pidEnd + 1, second) ||
            !AllDigits(name, second + 1, name.size()))
            return false;
    }
    if (!AllDigits(name, pidStart, pidEnd) || pidEnd - pidStart > 9) return false;
    if (process) *process = std::stol(name.substr(pidStart, pidEnd - pidStart));
    return true;
}

namespace {

// Writes the complete file under a temporary name, then gives it `path`'s
// name: replacing whatever has it, or only when nothing has it yet.
void PutCompleteFile(const std::string& path, const std::string& bytes, LinkHandling links, bool replace) {
    if (BaseOf(path).empty()) throw FileError(FileError::Action::NoFileName, path);
    const std::string target = links == LinkHandling::ReplaceLinkTarget ? ResolveLinks(path) : path;
    const std::string folder = FolderOf(target);
    const std::string base = BaseOf(target);
    if (base.empty()) throw FileError(FileError::Action::NoFileName, path);

    struct stat replaced;
    const bool replacing = replace && ::lstat(target.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode);
    // A file that replaces another is private until it has taken that file's
    // permissions; a new one gets the usual ones.
    const mode_t mode = replacing ? 0600 : 0666;

    RemoveStaleTemporaries(folder);

    // An unnamed file has no name to leave behind when the process is killed
    // while writing; it receives one only once it is complete.
    Descriptor file{::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode)};
    const bool unnamed = file.fd >= 0;
    std::string temporary;
    if (!unnamed) {
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            throw FileError(FileError::Action::Create, path, errno);
        for (int attempt = 0; attempt < 100 && file.fd < 0; ++attempt) {
            temporary = TemporaryName(folder, base);
            file.fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
            if (file.fd < 0 && errno != EEXIST) break;
        }
        if (file.fd < 0) throw FileError(FileError::Action::Create, path, errno);
    }

    auto fail = [&](FileError::Action action, int code) {
        ::close(file.fd);
        file.fd = -1;
        if (!temporary.empty()) ::unlink(temporary.c_str());
        throw FileError(action, path, code);
    };
    if (!WriteAll(file.fd, bytes)) fail(FileError::Action::Write, errno);
    if (replacing) TakeIdentity(file.fd, replaced);
    if (::fsync(file.fd) != 0) fail(FileError::Action::Write, errno);
    if (unnamed) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporary = TemporaryName(folder, base);
            if (NameUnnamedFile(file.fd, temporary)) break;
            const int code = errno;
            temporary.clear();
            if (code != EEXIST) fail(FileError::Action::Create, code);
        }
        if (temporary.empty()) fail(FileError::Action::Create, EEXIST);
    }
    const int closed = ::close(file.fd);
    file.fd = -1;
    if (closed != 0) fail(FileError::Action::Write, errno);
    if (replace) {
        if (::rename(temporary.c_str(), target.c_str()) != 0) fail(FileError::Action::Replace, errno);
    } else {
        // link() takes a name only when it is free.
        if (::link(temporary.c_str(), target.c_str()) != 0) fail(FileError::Action::Create, errno);
        ::unlink(temporary.c_str());
    }
    // The new name lasts a crash of the system only once the folder is on disk.
    SyncFolder(folder);
}

}  // namespace

void ReplaceFileAtomically(const std::string& path, const std::string& bytes, LinkHandling links) {
    PutCompleteFile(path, bytes, links, true);
}

void CreateFileAtomically(const std::string& path, const std::string& bytes) {
    PutCompleteFile(path, bytes, LinkHandling::ReplaceLink, false);
}

}  // namespace wormgear
