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
// "无法读取文件“/home/a/x.cqb”：No such file or directory".
class FileError : public std::runtime_error {
 public:
    enum class Action { Open, Read, NotRegular, TooLarge, Create, Write, Replace, NoFileName };
    FileError(Action action, std::string path, int systemError = 0);

    Action action() const { return action_; }
    const std::string& path() const { return path_; }
    int systemError() const { return systemError_; }

 private:
    Action action_;
    std::string path_;
    int systemError_;
};

// The whole content of a regular file. Throws FileError when it cannot be
// opened or read, is not a regular file (a folder, a FIFO, a device: checked
// without waiting on it), or is larger than `limit` bytes.
std::string ReadWholeFile(const std::string& path, std::uint64_t limit);

// Writes `bytes` to a new temporary file in the folder of `path`, flushes it to
// disk and renames it to `path`. Under `path` there is thus either the old file
// or the complete new one, never a part; on failure the temporary file is
// removed and FileError thrown.
void ReplaceFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace wormgear
