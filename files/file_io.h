// Reading and replacing whole files: a read never blocks on something that
// is not a regular file and never takes more than its limit, and a file is
// replaced only by a complete copy, so under its name there is always either
// the old content or the whole new one.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace wormgear {

// A file operation that failed: what was attempted, on which path, and the
// system's error number (0 when the failure is not the system's). what() is a
// sentence in the interface's language naming the file and the reason:
// "无法读取文件“/home/a/x.cqb”：没有那个文件或目录".
class FileError : public std::runtime_error {
 public:
    enum class Action { Open, Read, NotRegular, TooLarge, Create, Write, Replace, NoFileName };
    FileError(Action action, std::string path, int systemError = 0);

    Action action() const { return action_; }
    const std::string& path() const { return path_; }
    int systemError() const { return systemError_; }
    // What went wrong without the file's name, for a caller that names the
    // file itself: "没有那个文件或目录", "不是普通文件".
    std::string reason() const;

 private:
    Action action_;
    std::string path_;
    int systemError_;
};

// The reason of a system error number in the interface's language, as the
// sentences of FileError give it: ENOSPC -> "设备上没有空间". Numbers without a
// text of their own fall back to the system's wording.
std::string SystemErrorText(int systemError);

// A regular file open for reading, and its size when it was opened. Opening
// never waits on what is not a regular file (a FIFO, a device: opened without
// blocking, then checked), and refuses a file larger than `limit` bytes.
// Throws FileError.
class RegularFile {
 public:
    RegularFile(const std::string& path, std::uint64_t limit);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    int descriptor() const { return fd_; }
    std::uint64_t size() const { return size_; }

 private:
    int fd_;
    std::uint64_t size_;
};

// The whole content of a regular file. Throws FileError when it cannot be
// opened or read, is not a regular file (a folder, a FIFO, a device: checked
// without waiting on it), or is larger than `limit` bytes.
std::string ReadWholeFile(const std::string& path, std::uint64_t limit);

// How a replacement treats a symbolic link standing at the target's name.
enum class LinkHandling {
    // The file the link leads to is replaced and the link stays: a file the
    // user named may be a link on purpose.
    ReplaceLinkTarget,
    // The link itself is replaced by the new file: the files the program keeps
    // beside itself are never written through a link placed there.
    ReplaceLink,
};

// The file a chain of symbolic links at `path` ends in, `path` itself when it
// is no link; a link to a missing file ends in that file's name. Throws
// FileError for a loop of links.
std::string ResolveLinks(const std::string& path);

// Writes `bytes` to a new file in the folder of `path` (an unnamed one where
// the file system allows it, else under a short hidden name), flushes it to
// disk and puts it in place of `path`. Under `path` there is thus either the
// old file or the complete new one, never a part. A replaced file keeps its
// permission bits and, as far as the system allows, its owner and group.
// Hidden temporary names that an earlier, killed replacement left in that
// folder are removed. On failure nothing new remains and FileError is thrown.
void ReplaceFileAtomically(const std::string& path, const std::string& bytes,
                           LinkHandling links = LinkHandling::ReplaceLinkTarget);

// Writes `bytes` as the new file `path`, complete or not at all, as
// ReplaceFileAtomically does; when anything (a file, a folder, a link) already
// has that name, it stays as it is and FileError with EEXIST is thrown.
void CreateFileAtomically(const std::string& path, const std::string& bytes);

// Whether `name` is a temporary name of ReplaceFileAtomically (of this
// version or an earlier one), and the process that made it.
bool IsReplacementTemporaryName(const std::string& name, long* process = nullptr);

}  // namespace wormgear
