// The lines of wormcalc's batch input read in bounded memory: a line within
// the limit is appended whole to the caller's buffer, a longer one is read
// away without being kept, however long it is.
//
//   BoundedLineReader lines(std::cin, kMaxBatchLineBytes);
//   std::string chunk;
//   while (const LineRead line = lines.Next(chunk)) ...  // line.kind, line.bytes
#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace wormgear {

// A line longer than this is refused: a design is a few hundred bytes, and
// 1 MiB holds any line a person or a script means to give.
inline constexpr std::size_t kMaxBatchLineBytes = 1u << 20;
inline constexpr const char* kMaxBatchLineShown = "1 MiB";

struct LineRead {
    enum class Kind { End, Line, TooLong };
    Kind kind = Kind::End;
    std::uint64_t bytes = 0;  // the line's length without its '\n'; of a line too long, the bytes read away
    explicit operator bool() const { return kind != Kind::End; }
};

class BoundedLineReader {
 public:
    BoundedLineReader(std::istream& in, std::size_t limit);
    // Reads the open file `descriptor` (which stays the caller's).
    BoundedLineReader(int descriptor, std::size_t limit);

    // Reads the next line. A line of at most `limit` bytes is appended to
    // `into` without its '\n' (Line); a longer one is read to its end and
    // leaves `into` as it was (TooLong). The last line needs no '\n'; after
    // it, End. A stream that fails ends the input, as std::getline does.
    LineRead Next(std::string& into);

    // The system's error number of a read of the descriptor that failed
    // (the input then ended there), 0 when none did.
    int readError() const { return readError_; }

 private:
    bool Refill();

    std::streambuf* source_ = nullptr;
    int descriptor_ = -1;
    int readError_ = 0;
    std::size_t limit_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0, end_ = 0;
};

}  // namespace wormgear
