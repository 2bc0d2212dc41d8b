// The response reader on whole responses and on the same bytes fed one at a
// time, the way a slow connection delivers them.
#include "app/online/http_response_reader.h"

#include <gtest/gtest.h>

namespace wormgear {
namespace {

using Progress = HttpResponseReader::Progress;

constexpr qint64 kLimit = 16;  // small body limit, so the limit cases stay readable

struct Case {
    const char* name;
    QByteArray bytes;  // everything the server sends before it closes
    bool completes;    // a complete response by the end
    int status;
    QByteArray body;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

const Case kCases[] = {
    {"content length", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", true, 200, "hello"},
    {"no reason phrase", "HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok", true, 200, "ok"},
    {"LF line ends", "HTTP/1.0 200 OK\nContent-Length: 2\n\nok", true, 200, "ok"},
    {"header names in any case", "HTTP/1.1 200 OK\r\ncOnTeNt-LeNgTh:  3 \r\n\r\nabc", true, 200, "abc"},
    {"body to the close", "HTTP/1.0 200 OK\r\n\r\nto the end", true, 200, "to the end"},
    {"bytes kept as they are", QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\na\0b\r\n\x1a\xff", 45), true,
     200, QByteArray("a\0b\r\n\x1a\xff", 7)},
    {"empty body", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", true, 200, ""},
    {"no content", "HTTP/1.1 204 No Content\r\n\r\n", true, 204, ""},
    {"chunked with extension and trailer",
     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3;x=y\r\nabc\r\nA\r\n0123456789\r\n0\r\nX-Sum: 1\r\n\r\n",
     true, 200, "abc0123456789"},
    {"chunked wins over length",
     "HTTP/1.1 200 OK\r\nContent-Length: 99\r\nTransfer-Encoding: Chunked\r\n\r\n2\r\nok\r\n0\r\n\r\n", true, 200,
     "ok"},
    {"interim response skipped", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", true,
     200, "ok"},
    {"error status ends at its headers", "HTTP/1.1 404 Not Found\r\nContent-Length: 1000\r\n\r\nnot", true, 404, ""},
    {"redirect", "HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\n\r\n", true, 302, ""},
    {"body exactly at the limit", "HTTP/1.1 200 OK\r\nContent-Length: 16\r\n\r\n0123456789abcdef", true, 200,
     "0123456789abcdef"},
    // failures
    {"nothing sent", "", false, 0, ""},
    {"not HTTP", "hello world\r\n\r\n", false, 0, ""},
    {"bad status", "HTTP/1.1 2x0 OK\r\n\r\n", false, 0, ""},
    {"headers cut off", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n", false, 200, ""},
    {"body cut off", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nhello", false, 200, ""},
    {"chunk cut off", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nab", false, 200, ""},
    {"last chunk missing", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n", false, 200, ""},
    {"chunk without its line end", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabcXY0\r\n\r\n", false,
     200, ""},
    {"bad chunk size", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", false, 200, ""},
    {"compressed coding", "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip\r\n\r\nxx", false, 200, ""},
    {"negative length", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\n", false, 200, ""},
    {"conflicting lengths", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nContent-Length: 3\r\n\r\nabc", false, 200, ""},
    {"header without colon", "HTTP/1.1 200 OK\r\nbroken\r\n\r\n", false, 200, ""},
    {"announced length over the limit", "HTTP/1.1 200 OK\r\nContent-Length: 17\r\n\r\n0123456789abcdefg", false, 200,
     ""},
    {"body to the close over the limit", "HTTP/1.0 200 OK\r\n\r\n0123456789abcdefg", false, 200, ""},
    {"chunks over the limit",
     "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\n0123456789abcdef\r\n1\r\ng\r\n0\r\n\r\n", false, 200,
     ""},
};

class HttpResponseReaderTest : public ::testing::TestWithParam<Case> {};

void ExpectOutcome(HttpResponseReader& reader, Progress last, const Case& c) {
    if (last == Progress::NeedMore) last = reader.finish();
    EXPECT_EQ(last == Progress::Complete, c.completes);
    if (c.completes) {
        EXPECT_EQ(reader.status(), c.status);
        EXPECT_EQ(reader.body(), c.body);
    }
}

TEST_P(HttpResponseReaderTest, WholeResponse) {
    const Case& c = GetParam();
    HttpResponseReader reader(kLimit);
    ExpectOutcome(reader, reader.feed(c.bytes), c);
}

TEST_P(HttpResponseReaderTest, OneByteAtATime) {
    const Case& c = GetParam();
    HttpResponseReader reader(kLimit);
    Progress last = Progress::NeedMore;
    for (qsizetype i = 0; i < c.bytes.size() && last == Progress::NeedMore; ++i) {
        last = reader.feed(QByteArrayView(c.bytes.constData() + i, 1));
    }
    ExpectOutcome(reader, last, c);
}

INSTANTIATE_TEST_SUITE_P(Responses, HttpResponseReaderTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

TEST(HttpResponseReader, KeepsTheLocationOfARedirect) {
    HttpResponseReader reader(kLimit);
    ASSERT_EQ(reader.feed("HTTP/1.1 301 Moved\r\nLocation:  http://host/x \r\n\r\n"), Progress::Complete);
    EXPECT_EQ(reader.location(), "http://host/x");
}

TEST(HttpResponseReader, RefusesAnEndlessHeaderBlock) {
    HttpResponseReader reader(kLimit);
    ASSERT_EQ(reader.feed("HTTP/1.1 200 OK\r\n"), Progress::NeedMore);
    const QByteArray header = "X-Filler: " + QByteArray(100, 'x') + "\r\n";
    Progress last = Progress::NeedMore;
    for (int i = 0; i < 1000 && last == Progress::NeedMore; ++i) last = reader.feed(header);
    EXPECT_EQ(last, Progress::Failed);
}

TEST(HttpResponseReader, RefusesAnEndlessLine) {
    HttpResponseReader reader(kLimit);
    Progress last = Progress::NeedMore;
    for (int i = 0; i < 1000 && last == Progress::NeedMore; ++i) last = reader.feed(QByteArray(1000, 'H'));
    EXPECT_EQ(last, Progress::Failed);
}

TEST(HttpResponseReader, IgnoresBytesAfterTheResponse) {
    HttpResponseReader reader(kLimit);
    EXPECT_EQ(reader.feed("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nokEXTRA"), Progress::Complete);
    EXPECT_EQ(reader.feed("more"), Progress::Complete);
    EXPECT_EQ(reader.body(), "ok");
}

}  // namespace
}  // namespace wormgear
