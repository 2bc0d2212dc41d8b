// Faults the tests of every library can bring about: a disk that refuses to
// grow a file, a small file system that really fills up, and a child process
// whose memory is bounded. Standard library and POSIX only.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>

namespace wormgear::testing {

// While this lives, a write that would make any file of the process larger
// than `bytes` fails with EFBIG, as a write on a full disk fails with ENOSPC
// (RLIMIT_FSIZE, with the signal that would end the process ignored). Reading
// and rewriting what already exists still work.
class FileSizeLimit {
 public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
    std::uint64_t previous_;
    void (*previousHandler_)(int);
};

// A tmpfs of `bytes` mounted on a new folder, where the process may mount one
// (the superuser); available() tells whether it could. fill() takes every
// free byte, so the next write fails with ENOSPC; makeRoom() gives it back.
class SmallFileSystem {
 public:
    explicit SmallFileSystem(std::uint64_t bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool available() const { return mounted_; }
    // The mount point, with a trailing '/'.
    const std::string& path() const { return path_; }
    void fill();
    void makeRoom();
    // Remounts it read-only or writable again: a read-only file system
    // refuses writes to the superuser too.
    bool setReadOnly(bool readOnly);

 private:
    std::string path_;
    std::string options_;
    bool mounted_ = false;
};

// While this lives, the one file `path` is read-only to every process, the
// superuser too (a read-only bind mount of the file over itself), and its
// folder stays writable; active() tells whether the process could do that
// (the superuser).
class ReadOnlyFile {
 public:
    explicit ReadOnlyFile(const std::string& path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool active() const { return bound_; }
    // Makes the file writable again before this ends.
    void release();

 private:
    std::string path_;
    bool bound_ = false;
};

// Whether a memory bound set on a process says anything: under the address
// sanitizer every allocation comes from space reserved at start.
bool MemoryBoundsMeasurable();

// Runs `work` in a child process that may take at most `bytes` of address
// space beyond what it holds when it starts (RLIMIT_AS), and returns its
// result (0..255); an allocation beyond the bound fails there as it would in a
// program out of memory. A child that ends by a signal gives 256 + signal.
int RunWithMemoryBound(std::uint64_t bytes, const std::function<int()>& work);

// Runs `work` in a child process and returns its result as above; the parent
// meanwhile calls `whileRunning(child)` once, which may kill it.
int RunInChild(const std::function<int()>& work, const std::function<void(pid_t)>& whileRunning = {});

// The result of a child that was still running after the seconds it was
// allowed (RunInChildAtMost): a test fails instead of hanging.
inline constexpr int kChildOverran = 256 + 14;  // SIGALRM

// Runs `work` in a child process that is ended after `seconds` (a generous
// bound on work that must finish: a hang fails the test, it does not hold
// the run); returns its result as above.
int RunInChildAtMost(unsigned seconds, const std::function<int()>& work);

}  // namespace wormgear::testing
