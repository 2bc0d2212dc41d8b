// Disk and memory faults for tests.
#include "files/testing/faults.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace wormgear::testing {

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
    rlimit limit;
    ::getrlimit(RLIMIT_FSIZE, &limit);
    previous_ = limit.rlim_cur;
    previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit;
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = previous_;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, previousHandler_);
}

SmallFileSystem::SmallFileSystem(std::uint64_t bytes) {
    char name[] = "/tmp/small-filesystem-XXXXXX";
    if (!::mkdtemp(name)) return;
    path_ = std::string(name) + "/";
    if (::geteuid() != 0) return;
    options_ = "size=" + std::to_string(bytes) + ",mode=0755";
    mounted_ = ::mount("tmpfs", name, "tmpfs", MS_NOSUID | MS_NODEV, options_.c_str()) == 0;
}

SmallFileSystem::~SmallFileSystem() {
    if (path_.empty()) return;
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
    else std::system(("rm -rf '" + path_ + "'").c_str());
    ::rmdir(path_.c_str());
}

void SmallFileSystem::fill() {
    const std::string filler = path_ + "filler";
    const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return;
    static const char block[4096] = {};
    // Whole blocks first, then what is left byte by byte.
    while (::write(fd, block, sizeof block) > 0) {
    }
    while (::write(fd, block, 1) > 0) {
    }
    ::close(fd);
}

void SmallFileSystem::makeRoom() { ::unlink((path_ + "filler").c_str()); }

bool SmallFileSystem::setReadOnly(bool readOnly) {
    if (!mounted_) return false;
    const unsigned long flags = MS_REMOUNT | MS_NOSUID | MS_NODEV | (readOnly ? MS_RDONLY : 0);
    return ::mount("tmpfs", path_.c_str(), "tmpfs", flags, options_.c_str()) == 0;
}

ReadOnlyFile::ReadOnlyFile(const std::string& path) : path_(path) {
    if (::geteuid() != 0) return;
    if (::mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0) return;
    bound_ = true;
    if (::mount(nullptr, path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) release();
}

ReadOnlyFile::~ReadOnlyFile() { release(); }

void ReadOnlyFile::release() {
    if (bound_) ::umount2(path_.c_str(), MNT_DETACH);
    bound_ = false;
}

bool MemoryBoundsMeasurable() {
#if defined(__SANITIZE_ADDRESS__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return false;
#else
    return true;
#endif
#else
    return true;
#endif
}

namespace {

// The address space the process holds now, from /proc/self/statm (pages).
std::uint64_t AddressSpaceBytes() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

int Result(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 256 + WTERMSIG(status);
    return 512;
}

}  // namespace

int RunInChild(const std::function<int()>& work, const std::function<void(pid_t)>& whileRunning) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) return 512;
    if (child == 0) {
        int result = 255;
        try {
            result = work();
        } catch (...) {
            result = 254;
        }
        ::_exit(result);
    }
    if (whileRunning) whileRunning(child);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return Result(status);
}

int RunInChildAtMost(unsigned seconds, const std::function<int()>& work) {
    return RunInChild([&] {
        ::alarm(seconds);
        return work();
    });
}

int RunWithMemoryBound(std::uint64_t bytes, const std::function<int()>& work) {
    return RunInChild([&] {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = AddressSpaceBytes() + bytes;
        if (::setrlimit(RLIMIT_AS, &limit) != 0) return 253;
        return work();
    });
}

}  // namespace wormgear::testing
