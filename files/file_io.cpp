// Whole-file reads and atomic replacement on POSIX calls.
#include "files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>

namespace wormgear {
namespace {

std::string Sentence(FileError::Action action, const std::string& path, int systemError) {
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
    std::string text = std::string(what) + "“" + path + "”";
    if (systemError != 0) text += std::string("：") + std::strerror(systemError);
    return text;
}

// Closes a descriptor on every path out of a function.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

FileError::FileError(Action action, std::string path, int systemError)
    : std::runtime_error(Sentence(action, path, systemError)),
      action_(action),
      path_(std::move(path)),
      systemError_(systemError) {}

std::string ReadWholeFile(const std::string& path, std::uint64_t limit) {
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (file.fd < 0) throw FileError(FileError::Action::Open, path, errno);
    struct stat info;
    if (::fstat(file.fd, &info) != 0) throw FileError(FileError::Action::Read, path, errno);
    if (!S_ISREG(info.st_mode)) throw FileError(FileError::Action::NotRegular, path);
    if (static_cast<std::uint64_t>(info.st_size) > limit) throw FileError(FileError::Action::TooLarge, path);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
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

void ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string::size_type slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty()) throw FileError(FileError::Action::NoFileName, path);

    // A hidden name beside the target, so the rename stays within one file
    // system and no half-written file ever carries the target's name.
    static std::atomic<unsigned> counter{0};
    std::random_device entropy;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "." + base + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
                    std::to_string(entropy() % 100000);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) throw FileError(FileError::Action::Create, path, errno);

    auto fail = [&](FileError::Action action, int code) {
        if (fd >= 0) ::close(fd);
        ::unlink(temporary.c_str());
        throw FileError(action, path, code);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            fail(FileError::Action::Write, errno);
        }
        done += static_cast<std::size_t>(wrote);
    }
    if (::fsync(fd) != 0) fail(FileError::Action::Write, errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) fail(FileError::Action::Write, errno);
    if (::rename(temporary.c_str(), path.c_str()) != 0) fail(FileError::Action::Replace, errno);
}

}  // namespace wormgear
