// The --jsonl batch: lines beyond the bound refused in bounded memory with
// the batch going on, the same output on any number of threads, and the
// store read once for a whole batch.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <initializer_list>
#include <istream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/line_reader.h"
#include "cli/tests/wormcalc_run.h"
#include "files/testing/faults.h"

namespace wormgear {
namespace {

using Result = WormcalcResult;

const std::string kDesign =
    R"({"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2", "base-diameter": "130", "pitch-diameter": "78")";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// A design whose text for the worm's accuracy (which only the sheets read)
// makes the whole line exactly `bytes` long.
std::string DesignLineOf(std::size_t bytes) {
    const std::string head = kDesign + R"(, "worm-accuracy": ")";
    const std::string tail = "\"}";
    return head + std::string(bytes - head.size() - tail.size(), 'x') + tail;
}

// An input stream that makes its text as it is read: `before`, then `count`
// bytes 'x', then `after`; a line of a hundred megabytes costs nothing to give.
class MadeInput : public std::streambuf {
 public:
    MadeInput(std::string before, std::uint64_t count, std::string after)
        : before_(std::move(before)), after_(std::move(after)), count_(count) {}

 protected:
    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        std::size_t made = 0;
        while (made < sizeof buffer_ && (stage_ < 3)) {
            if (stage_ == 0 || stage_ == 2) {
                const std::string& text = stage_ == 0 ? before_ : after_;
                const std::size_t take = std::min(sizeof buffer_ - made, text.size() - at_);
                std::memcpy(buffer_ + made, text.data() + at_, take);
                made += take;
                at_ += take;
                if (at_ == text.size()) ++stage_, at_ = 0;
            } else {
                const std::uint64_t take = std::min<std::uint64_t>(sizeof buffer_ - made, count_ - at_);
                std::memset(buffer_ + made, 'x', take);
                made += take;
                at_ += take;
                if (at_ == count_) ++stage_, at_ = 0;
            }
        }
        if (made == 0) return traits_type::eof();
        setg(buffer_, buffer_, buffer_ + made);
        return traits_type::to_int_type(*gptr());
    }

 private:
    std::string before_, after_;
    std::uint64_t count_;
    int stage_ = 0;
    std::uint64_t at_ = 0;
    char buffer_[1 << 16];
};

Result RunOn(std::streambuf& input, const std::vector<std::string>& args) {
    std::istream in(&input);
    std::ostringstream out, err;
    const int status = RunWormcalc(args, in, out, err, {}, '.');
    return {status, out.str(), err.str()};
}

TEST(LineReader, GivesEachLineWithinTheBoundAndCountsTheOthers) {
    std::istringstream in("ab\n\n" + std::string(10, 'x') + "\n" + std::string(11, 'y') + "\nlast");
    BoundedLineReader reader(in, 10);
    std::string kept;
    const struct {
        LineRead::Kind kind;
        std::uint64_t bytes;
        const char* kept;
    } kExpected[] = {{LineRead::Kind::Line, 2, "ab"},
                     {LineRead::Kind::Line, 0, "ab"},
                     {LineRead::Kind::Line, 10, "abxxxxxxxxxx"},
                     {LineRead::Kind::TooLong, 11, "abxxxxxxxxxx"},
                     {LineRead::Kind::Line, 4, "abxxxxxxxxxxlast"},
                     {LineRead::Kind::End, 0, "abxxxxxxxxxxlast"}};
    for (const auto& expected : kExpected) {
        const LineRead line = reader.Next(kept);
        EXPECT_EQ(line.kind, expected.kind) << expected.kept;
        EXPECT_EQ(line.bytes, expected.bytes) << expected.kept;
        EXPECT_EQ(kept, expected.kept);
    }
}

// A line of the batch longer than kMaxBatchLineBytes is answered like any
// line that is no design: its own error line (an error row in CSV), the
// reason on the error stream, exit status 2, and the next lines calculated.
TEST(Batch, ALineBeyondTheBoundIsRefusedAndTheBatchGoesOn) {
    if (!testing::MemoryBoundsMeasurable()) GTEST_SKIP() << "memory is not measurable under the sanitizer";
    const std::string refusal = "line 2: longer than the limit of 1 MiB (1048576 bytes), not read";
    const struct {
        const char* what;
        std::uint64_t bytes;  // of the second line
        bool refused;
    } kCases[] = {
        {"exactly the bound", kMaxBatchLineBytes, false},
        {"one byte beyond it", kMaxBatchLineBytes + 1, true},
        {"a hundred megabytes", 100u << 20, true},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        for (const bool csv : {false, true}) {
            const std::string head = DesignLineOf(kMaxBatchLineBytes).substr(0, kDesign.size() + 20);
            const std::uint64_t filler = c.bytes - head.size() - 2;
            // Line 1 and line 3 are the worked example; line 2 is of `bytes` bytes.
            const int result = testing::RunWithMemoryBound(64ull << 20, [&] {
                MadeInput input(kDesign + "}\n" + head, filler, "\"}\n" + kDesign + "}\n");
                std::vector<std::string> args = {"--jsonl", "--coefficients", kExampleCoefficients};
                if (csv) args.push_back("--csv");
                const Result r = RunOn(input, args);
                const std::vector<std::string> lines = Lines(r.out);
                const std::size_t results = csv ? 4 : 3;
                if (lines.size() != results) return 10;
                const std::string& second = lines[results - 2];
                if (c.refused) {
                    if (csv ? second != std::string(43, ',') + "error:unreadable-line"
                            : second != "{\"error\":\"" + refusal + "\",\"lines\":[]}")
                        return 11;
                    if (r.err != "wormcalc: " + refusal + "\n" || r.status != 2) return 12;
                } else if (second.find(csv ? "322," : "322-----蜗轮分度圆直径") == std::string::npos || r.status != 0) {
                    return 13;
                }
                return lines.back().find(csv ? "322," : "322-----") == std::string::npos ? 14 : 0;
            });
            EXPECT_EQ(result, 0) << (csv ? "CSV" : "JSON");
        }
    }
}

// Designs of every kind, lines that are no designs, blank lines and lines
// that give coefficients of their own, over more than one chunk of lines:
// line n (from 0) is of kind n % 7.
enum LineKind { kExample, kBacklash, kNoJson, kCentreOnly, kBlank, kFailing, kOwnCoefficients };
int CountOf(int lines, std::initializer_list<int> kinds) {
    int count = 0;
    for (int n = 0; n < lines; ++n) count += std::find(kinds.begin(), kinds.end(), n % 7) != kinds.end();
    return count;
}
std::string MixedBatch(int lines) {
    std::string input;
    for (int n = 0; n < lines; ++n) {
        switch (n % 7) {
            case 0: input += kDesign + "}\n"; break;
            case 1: input += kDesign + R"(, "backlash": ")" + std::to_string(n % 50) + "\"}\n"; break;
            case 2: input += "not json " + std::to_string(n) + "\n"; break;
            case 3: input += R"({"centre-distance": ")" + std::to_string(100 + n % 400) + "\"}\n"; break;
            case 4: input += "\n"; break;
            case 5:  // the main base circle beyond the wheel: the calculation fails
                input += R"({"centre-distance": "200", "speed-ratio": "25", "teeth": "50", "starts": "2", )"
                         R"("base-diameter": "400", "pitch-diameter": "78"})"
                         "\n";
                break;
            default:
                input += kDesign + R"(, "coefficients": "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,)" +
                         std::to_string(n % 3) + "\"}\n";
        }
    }
    return input;
}

TEST(Batch, ThreadsChangeNothingButTheSpeed) {
    const std::string input = MixedBatch(5000);
    for (const bool csv : {false, true}) {
        std::vector<std::string> args = {"--jsonl", "--coefficients", kExampleCoefficients};
        if (csv) args.push_back("--csv");
        args.insert(args.end(), {"--threads", "1"});
        const Result one = Wormcalc(args, input);
        EXPECT_EQ(one.status, 2);
        // One output line for each line that is not blank, in the order of the input.
        const std::vector<std::string> lines = Lines(one.out);
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(5000 - CountOf(5000, {kBlank}) + (csv ? 1 : 0)));
        EXPECT_EQ(Lines(one.err).size(), static_cast<std::size_t>(csv ? CountOf(5000, {kNoJson}) : 0));
        if (!csv) {
            std::size_t at = 0;
            for (int n = 0; n < 5000; ++n) {
                if (n % 7 == kBlank) continue;
                if (n % 7 == kNoJson) {
                    EXPECT_EQ(lines[at].rfind("{\"error\":\"line " + std::to_string(n + 1) + ": ", 0), 0u) << lines[at];
                }
                ++at;
            }
        }
        for (const char* threads : {"2", "5"}) {
            args.back() = threads;
            const Result many = Wormcalc(args, input);
            EXPECT_EQ(many.out, one.out) << threads << " threads";
            EXPECT_EQ(many.err, one.err) << threads << " threads";
            EXPECT_EQ(many.status, one.status) << threads << " threads";
        }
    }
}

TEST(Batch, TheStoreIsReadOnceForAWholeBatchAndOnlyWhenALineNeedsIt) {
    std::atomic<int> reads{0};
    WormcalcServices store;
    store.defaultCoefficients = [&reads] {
        ++reads;
        TCoefficientTable table;
        table.c = {0.875L, 1.2L, 0.7L, 0.45L, 0, 0.55L, 2, 0.5L, 0.2L, 0.2L, 0.45L, 1, 0.5L, 1, 0.9L};
        return table;
    };
    const std::string input = MixedBatch(5000);
    const Result read = Wormcalc({"--jsonl", "--threads", "2"}, input, store);
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(read.out, Wormcalc({"--jsonl", "--threads", "2", "--coefficients", kExampleCoefficients}, input).out);

    reads = 0;
    std::string own;
    for (int n = 0; n < 3000; ++n)
        own += kDesign + R"(, "coefficients": "0.875,1.2,0.7,0.45,0,0.55,2,0.5,0.2,0.2,0.45,1,0.5,1,0.9"})"
                         "\n";
    EXPECT_EQ(Wormcalc({"--jsonl"}, own, store).status, 0);
    EXPECT_EQ(reads, 0) << "every line gives its coefficients";

    // A store that cannot be read fails each line that needs it, with the
    // reason it gave the first time.
    std::atomic<int> attempts{0};
    WormcalcServices broken;
    broken.defaultCoefficients = [&attempts]() -> TCoefficientTable {
        throw std::runtime_error("数据库正被其他程序锁定 " + std::to_string(++attempts));
    };
    const Result failed = Wormcalc({"--jsonl", "--threads", "2"}, input, broken);
    EXPECT_EQ(attempts, 1);
    int failures = 0;
    for (const std::string& line : Lines(failed.out))
        failures += line.find("cannot read the coefficients (db1.mdb): 数据库正被其他程序锁定 1") != std::string::npos;
    EXPECT_EQ(failures, CountOf(5000, {kExample, kBacklash, kCentreOnly, kFailing}));
}

}  // namespace
}  // namespace wormgear
