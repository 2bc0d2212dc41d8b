// Lines read through the stream's buffer in blocks, split with memchr.
#include "cli/line_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace wormgear {

namespace {

// Bytes read from the stream at a time: large enough that a batch of
// designs costs a few reads per thousand lines.
constexpr std::size_t kReadBytes = 1u << 16;

}  // namespace

BoundedLineReader::BoundedLineReader(std::istream& in, std::size_t limit)
    : source_(in.rdbuf()), limit_(limit), buffer_(kReadBytes) {}

BoundedLineReader::BoundedLineReader(int descriptor, std::size_t limit)
    : descriptor_(descriptor), limit_(limit), buffer_(kReadBytes) {}

bool BoundedLineReader::Refill() {
    pos_ = end_ = 0;
    if (descriptor_ >= 0) {
        if (readError_ != 0) return false;
        for (;;) {
            const ssize_t got = ::read(descriptor_, buffer_.data(), buffer_.size());
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) readError_ = errno;
            end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
            return end_ > 0;
        }
    }
    if (!source_) return false;
    const std::streamsize got = source_->sgetn(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
    return end_ > 0;
}

LineRead BoundedLineReader::Next(std::string& into) {
    const std::size_t start = into.size();
    LineRead line{LineRead::Kind::Line, 0};
    bool any = false;  // a byte or the '\n' of this line was read
    for (;;) {
        if (pos_ == end_ && !Refill()) {
            if (!any) return {};
            return line;  // the last line, without '\n'
        }
        any = true;
        const char* from = buffer_.data() + pos_;
        const void* newline = std::memchr(from, '\n', end_ - pos_);
        const std::size_t take = newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - from)
                                         : end_ - pos_;
        line.bytes += take;
        if (line.kind == LineRead::Kind::Line) {
            if (line.bytes > limit_) {
                // Refused: what was kept goes, and the rest is only counted.
                line.kind = LineRead::Kind::TooLong;
                into.resize(start);
            } else {
                into.append(from, take);
            }
        }
        pos_ += take;
        if (newline) {
            ++pos_;
            return line;
        }
    }
}

}  // namespace wormgear
