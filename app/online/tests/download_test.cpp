// The download against servers the test runs on 127.0.0.1: what is taken,
// what is refused, the limits, HTTPS, proxies, cancelling, and the file that
// is written whole or not at all.
#include "app/online/download.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "app/online/tests/test_http_server.h"
#include "app/online/tests/test_support.h"

namespace wormgear {
namespace {

using testing::TestHttpServer;
using namespace std::chrono_literals;

constexpr std::size_t kMiB = 1024 * 1024;

// Limits that let a stalled server fail a test quickly.
DownloadLimits ShortLimits() {
    DownloadLimits limits;
    limits.connectTimeout = 1000ms;
    limits.totalTimeout = 300ms;
    return limits;
}

// Sets an environment variable for the lifetime of a test and puts back what
// was there.
class ScopedVariable {
 public:
    ScopedVariable(const char* name, const QByteArray& value)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), previous_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedVariable() {
        if (wasSet_) qputenv(name_, previous_);
        else qunsetenv(name_);
    }

 private:
    const char* name_;
    bool wasSet_;
    QByteArray previous_;
};

class DownloadTest : public ::testing::Test {
 protected:
    std::string url(const char* path) const { return (server_.baseAddress() + path).toStdString(); }
    QString target() const { return dir_.filePath("v-up.txt"); }
    std::string targetPath() const { return QFile::encodeName(target()).toStdString(); }
    bool download(const char* path, const DownloadLimits& limits = {}) {
        return Download(url(path), targetPath(), limits);
    }
    QByteArray content(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void writeTarget(const QByteArray& bytes) const {
        QFile file(target());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList filesInDir() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    QTemporaryDir dir_;
    TestHttpServer server_;
};

struct ReplyCase {
    const char* name;
    TestHttpServer::Reply reply;
    bool succeeds;
    QByteArray written;
};

void PrintTo(const ReplyCase& c, std::ostream* out) { *out << c.name; }

QByteArray Chunked(const QByteArray& chunks) {
    return "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunks;
}

const ReplyCase kReplies[] = {
    {"text", TestHttpServer::Ok("7.6\r\n"), true, "7.6\r\n"},
    {"empty body", TestHttpServer::Ok(""), true, ""},
    {"body to the close", TestHttpServer::Raw("HTTP/1.0 200 OK\r\n\r\nbody until close"), true, "body until close"},
    {"chunked", TestHttpServer::Raw(Chunked("4\r\n7.6\n\r\n0\r\n\r\n")), true, "7.6\n"},
    {"not found", TestHttpServer::Status(404), false, ""},
    {"server error", TestHttpServer::Status(500), false, ""},
    {"redirect without location", TestHttpServer::Status(302), false, ""},
    {"body cut off", TestHttpServer::Raw("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n7.6"), false, ""},
    {"closed without a response", TestHttpServer::Raw(""), false, ""},
    {"not HTTP", TestHttpServer::Raw("7.6\r\n"), false, ""},
    {"garbage status line", TestHttpServer::Raw("HTTP/1.1 abc\r\n\r\n7.6"), false, ""},
    {"chunk size not a number", TestHttpServer::Raw(Chunked("zz\r\n7.6\r\n0\r\n\r\n")), false, ""},
    {"chunk longer than sent", TestHttpServer::Raw(Chunked("ff\r\n7.6\r\n")), false, ""},
    {"chunk size overflowing", TestHttpServer::Raw(Chunked("ffffffffffffffffff\r\n7.6\r\n0\r\n\r\n")), false, ""},
};

class DownloadReplyTest : public DownloadTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(DownloadReplyTest, WritesOnlyAWholeSuccessfulBody) {
    const ReplyCase& c = GetParam();
    server_.serve("/uploads/v.txt", c.reply);
    EXPECT_EQ(download("/uploads/v.txt"), c.succeeds);
    if (c.succeeds) {
        EXPECT_EQ(content(target()), c.written);
        EXPECT_EQ(filesInDir(), QStringList{"v-up.txt"});  // no temporary file left behind
    } else {
        EXPECT_TRUE(filesInDir().isEmpty());
    }
}

TEST_P(DownloadReplyTest, FailureLeavesAnOldFileAlone) {
    const ReplyCase& c = GetParam();
    writeTarget("old");
    server_.serve("/uploads/v.txt", c.reply);
    EXPECT_EQ(download("/uploads/v.txt"), c.succeeds);
    EXPECT_EQ(content(target()), c.succeeds ? c.written : QByteArray("old"));
    EXPECT_EQ(filesInDir(), QStringList{"v-up.txt"});
}

INSTANTIATE_TEST_SUITE_P(Replies, DownloadReplyTest, ::testing::ValuesIn(kReplies), testing::ParamName<ReplyCase>);

TEST_F(DownloadTest, FetchReportsStatusAndContentType) {
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.6", "text/plain; charset=GBK"));
    server_.serve("/page", TestHttpServer::Ok("<html></html>", "text/html"));
    const FetchResult text = Fetch(url("/uploads/v.txt"), {});
    EXPECT_TRUE(text.succeeded);
    EXPECT_EQ(text.status, 200);
    EXPECT_EQ(text.contentType, "text/plain; charset=GBK");
    EXPECT_EQ(text.body, "7.6");
    const FetchResult page = Fetch(url("/page"), {});
    EXPECT_TRUE(page.succeeded);
    EXPECT_EQ(page.contentType, "text/html");
    const FetchResult missing = Fetch(url("/absent"), {});
    EXPECT_FALSE(missing.succeeded);
    EXPECT_EQ(missing.status, 404);
    EXPECT_TRUE(missing.body.empty());
    EXPECT_FALSE(missing.error.empty());
}

TEST_F(DownloadTest, SendsAPlainGetForThePath) {
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.6"));
    ASSERT_TRUE(download("/uploads/v.txt"));
    const QList<QByteArray> requests = server_.requests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_TRUE(requests[0].startsWith("GET /uploads/v.txt HTTP/1.1\r\n")) << requests[0].constData();
    EXPECT_TRUE(requests[0].contains("\r\nHost: 127.0.0.1:" + QByteArray::number(server_.port()) + "\r\n"));
    EXPECT_FALSE(requests[0].contains("Accept-Encoding")) << "the body must come as it is published";
    EXPECT_TRUE(requests[0].endsWith("\r\n\r\n"));
}

TEST_F(DownloadTest, LooksUpAHostName) {
    // A bare system root (debootstrap) has no /etc/hosts, so not even
    // "localhost" has an address there.
    bool loopbackName = false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (::getaddrinfo("localhost", nullptr, &hints, &found) == 0) {
        for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
            loopbackName = loopbackName || address->sin_addr.s_addr == htonl(INADDR_LOOPBACK);
        }
        ::freeaddrinfo(found);
    }
    if (!loopbackName) GTEST_SKIP() << "\"localhost\" does not name 127.0.0.1 on this machine";
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.6"));
    EXPECT_TRUE(
        Download(QString("http://localhost:%1/uploads/v.txt").arg(server_.port()).toStdString(), targetPath(), {}));
    EXPECT_EQ(content(target()), "7.6");
}

TEST_F(DownloadTest, UnreachableServerFails) {
    const quint16 port = TestHttpServer::UnusedPort();
    EXPECT_FALSE(Download(QString("http://127.0.0.1:%1/uploads/v.txt").arg(port).toStdString(), targetPath(), {}));
    EXPECT_TRUE(filesInDir().isEmpty());
}

TEST_F(DownloadTest, RefusesAddressesItCannotFetch) {
    const std::string port = std::to_string(server_.port());
    const std::string local = QFile::encodeName(dir_.filePath("local.txt")).toStdString();
    QFile file(dir_.filePath("local.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("7.9");
    file.close();
    for (const std::string& address :
         {std::string(), std::string("not an address"), std::string("/uploads/v.txt"), std::string("7.6"),
          "127.0.0.1:" + port + "/uploads/v.txt", "ftp://127.0.0.1:" + port + "/uploads/v.txt", "file://" + local,
          "dict://127.0.0.1:" + port + "/x", "gopher://127.0.0.1:" + port + "/x", "telnet://127.0.0.1:" + port}) {
        EXPECT_FALSE(Download(address, targetPath(), {})) << address;
    }
    EXPECT_TRUE(server_.requests().isEmpty());
    EXPECT_EQ(filesInDir(), QStringList{"local.txt"});
}

TEST_F(DownloadTest, TargetInAMissingDirectoryFails) {
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.6"));
    EXPECT_FALSE(
        Download(url("/uploads/v.txt"), QFile::encodeName(dir_.filePath("absent/v-up.txt")).toStdString(), {}));
}

// --- redirects ---

TEST_F(DownloadTest, FollowsRedirectsAndKeepsOnlyTheLastBody) {
    server_.serve("/uploads/v.txt", TestHttpServer::Status(301, "Location: /moved/v.txt\r\n"));
    server_.serve("/moved/v.txt",
                  TestHttpServer::Status(302, "Location: " + QByteArray::fromStdString(url("/final/v.txt")) + "\r\n"));
    server_.serve("/final/v.txt", TestHttpServer::Ok("7.7"));
    EXPECT_TRUE(download("/uploads/v.txt"));
    EXPECT_EQ(content(target()), "7.7");
    EXPECT_EQ(server_.requestedPaths(), (QList<QByteArray>{"/uploads/v.txt", "/moved/v.txt", "/final/v.txt"}));
}

TEST_F(DownloadTest, FollowsFiveRedirectsAndNoMore) {
    for (int hop = 0; hop < 6; ++hop) {
        server_.serve("/hop" + QByteArray::number(hop),
                      TestHttpServer::Status(302, "Location: /hop" + QByteArray::number(hop + 1) + "\r\n"));
    }
    server_.serve("/hop5", TestHttpServer::Ok("five"));
    server_.serve("/hop6", TestHttpServer::Ok("six"));
    EXPECT_TRUE(download("/hop0"));  // five redirects
    EXPECT_EQ(content(target()), "five");
    EXPECT_FALSE(download("/hop0", [] {
        DownloadLimits limits;
        limits.maxRedirects = 4;
        return limits;
    }()));
    server_.serve("/hop5", TestHttpServer::Status(302, "Location: /hop6\r\n"));
    EXPECT_FALSE(download("/hop0"));  // six
    EXPECT_EQ(content(target()), "five");
}

TEST_F(DownloadTest, GivesUpOnARedirectLoop) {
    server_.serve("/loop", TestHttpServer::Status(302, "Location: /loop\r\n"));
    EXPECT_FALSE(download("/loop"));
    EXPECT_EQ(server_.requests().size(), DownloadLimits{}.maxRedirects + 1);
    EXPECT_TRUE(filesInDir().isEmpty());
}

TEST_F(DownloadTest, FollowsRedirectsToWebAddressesOnly) {
    const QByteArray local = QFile::encodeName(dir_.filePath("local.txt"));
    QFile file(dir_.filePath("local.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("7.9");
    file.close();
    for (const QByteArray& location :
         {"file://" + local, "ftp://127.0.0.1:" + QByteArray::number(server_.port()) + "/v.txt",
          "dict://127.0.0.1:" + QByteArray::number(server_.port()) + "/x"}) {
        server_.serve("/uploads/v.txt", TestHttpServer::Status(302, "Location: " + location + "\r\n"));
        EXPECT_FALSE(download("/uploads/v.txt")) << location.constData();
    }
    EXPECT_EQ(filesInDir(), QStringList{"local.txt"});
}

// --- size limits ---

TEST_F(DownloadTest, DefaultLimits) {
    const DownloadLimits limits;
    EXPECT_EQ(limits.connectTimeout, 3000ms);
    EXPECT_EQ(limits.totalTimeout, 10000ms);
    EXPECT_EQ(limits.maxBodyBytes, kMiB);
    EXPECT_EQ(limits.maxRedirects, 5);
    EXPECT_TRUE(limits.certificateAuthorities.empty());
}

TEST_F(DownloadTest, BodyOfExactlyTheLimitIsTaken) {
    const QByteArray body(kMiB, 'v');
    server_.serve("/uploads/v.txt", TestHttpServer::Ok(body));
    EXPECT_TRUE(download("/uploads/v.txt"));
    EXPECT_EQ(content(target()), body);
}

TEST_F(DownloadTest, BodyOverTheLimitIsRefusedInEveryFraming) {
    const QByteArray body(kMiB + 1, 'v');
    const QByteArray half(kMiB / 2 + 1, 'v');
    const QByteArray halfSize = QByteArray::number(half.size(), 16);
    const TestHttpServer::Reply replies[] = {
        TestHttpServer::Ok(body),
        TestHttpServer::Raw("HTTP/1.0 200 OK\r\n\r\n" + body),
        TestHttpServer::Raw(Chunked(halfSize + "\r\n" + half + "\r\n" + halfSize + "\r\n" + half + "\r\n0\r\n\r\n")),
    };
    for (const TestHttpServer::Reply& reply : replies) {
        server_.serve("/uploads/v.txt", reply);
        EXPECT_FALSE(download("/uploads/v.txt"));
        EXPECT_TRUE(filesInDir().isEmpty());
    }
}

TEST_F(DownloadTest, BytesBeyondTheAnnouncedLengthAreNotTaken) {
    server_.serve("/uploads/v.txt",
                  TestHttpServer::Raw("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n" + QByteArray(kMiB + 1, 'v')));
    EXPECT_TRUE(download("/uploads/v.txt"));
    EXPECT_EQ(content(target()), "vvv");
}

TEST_F(DownloadTest, HugeAnnouncedBodyIsRefusedBeforeItComes) {
    // 100 MB announced: refused on the header, without reading the body.
    server_.serve("/uploads/v.txt",
                  TestHttpServer::Raw("HTTP/1.1 200 OK\r\nContent-Length: 100000000\r\n\r\n" + QByteArray(4096, 'v')));
    EXPECT_FALSE(download("/uploads/v.txt"));
    EXPECT_TRUE(filesInDir().isEmpty());
}

TEST_F(DownloadTest, EndlessHeadersAreCutOff) {
    // About 270 KB of header lines: over the 256 KiB cap, under what libcurl
    // itself would refuse, so the cap is what cuts it off.
    QByteArray head = "HTTP/1.1 200 OK\r\n";
    while (head.size() < 270000)
        head += "X-Filler-" + QByteArray::number(head.size()) + ": " + QByteArray(20, 'f') + "\r\n";
    server_.serve("/uploads/v.txt", TestHttpServer::Raw(head + "Content-Length: 3\r\n\r\n7.6"));
    EXPECT_FALSE(download("/uploads/v.txt"));
    EXPECT_TRUE(filesInDir().isEmpty());
    DownloadLimits generous;
    generous.maxHeaderBytes = 4 * kMiB;
    EXPECT_TRUE(download("/uploads/v.txt", generous));  // the same reply is fine under a larger cap
}

// --- time-outs, shortened so the tests stay quick ---

TEST_F(DownloadTest, ServerThatNeverAnswersRunsIntoTheTimeOut) {
    server_.serve("/uploads/v.txt", TestHttpServer::Silent());
    EXPECT_FALSE(download("/uploads/v.txt", ShortLimits()));
    EXPECT_TRUE(filesInDir().isEmpty());
}

// About 60 bytes, one every 10 ms: too slow for a 300 ms download, fine for a
// 20 s one, which shows that the time-out is what ends the first.
TestHttpServer::Reply Trickle() {
    TestHttpServer::Reply trickle = TestHttpServer::Raw("HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n" +
                                                        QByteArray(20, 'v'));
    trickle.pauseAfterEachByte = 10ms;
    return trickle;
}

TEST_F(DownloadTest, ServerThatTricklesRunsIntoTheTimeOut) {
    server_.serve("/uploads/v.txt", Trickle());
    EXPECT_FALSE(download("/uploads/v.txt", ShortLimits()));
    EXPECT_TRUE(filesInDir().isEmpty());
}

TEST_F(DownloadTest, ServerThatTricklesFinishesWithinALongerTimeOut) {
    server_.serve("/uploads/v.txt", Trickle());
    DownloadLimits lengthened;
    lengthened.totalTimeout = 20000ms;
    EXPECT_TRUE(download("/uploads/v.txt", lengthened));
    EXPECT_EQ(content(target()), QByteArray(20, 'v'));
}

TEST_F(DownloadTest, ServerThatStallsAfterTheHeadersRunsIntoTheTimeOut) {
    TestHttpServer::Reply stall = TestHttpServer::Raw("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n7.6");
    stall.holdOpen = true;
    server_.serve("/uploads/v.txt", stall);
    EXPECT_FALSE(download("/uploads/v.txt", ShortLimits()));
    EXPECT_TRUE(filesInDir().isEmpty());
}

// --- cancelling ---

TEST_F(DownloadTest, CancelEndsARunningTransferAtOnce) {
    TestHttpServer::Reply held = TestHttpServer::Ok("7.6");
    held.waitForRelease = true;
    server_.serve("/uploads/v.txt", held);
    // A transfer that could only end by the cancel: an hour to wait.
    DownloadLimits patient;
    patient.totalTimeout = std::chrono::hours(1);
    DownloadCancel cancel;
    auto running = std::async(std::launch::async,
                              [&] { return Download(url("/uploads/v.txt"), targetPath(), patient, &cancel); });
    while (server_.waiting() == 0) std::this_thread::sleep_for(5ms);  // the request is held
    cancel.cancel();
    EXPECT_FALSE(running.get());
    server_.release();
    EXPECT_TRUE(filesInDir().isEmpty());
    // Once cancelled, it stays so.
    EXPECT_FALSE(Download(url("/uploads/v.txt"), targetPath(), {}, &cancel));
    EXPECT_EQ(server_.requests().size(), 1);
}

// --- the file written ---

TEST_F(DownloadTest, ALinkUnderTheTargetNameIsReplacedNotWrittenThrough) {
    const QString outside = dir_.filePath("elsewhere.txt");
    QFile file(outside);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("precious");
    file.close();
    ASSERT_TRUE(QFile::link(outside, target()));
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7"));
    EXPECT_TRUE(download("/uploads/v.txt"));
    EXPECT_EQ(content(outside), "precious");
    EXPECT_FALSE(QFileInfo(target()).isSymLink());
    EXPECT_EQ(content(target()), "7.7");
}

TEST_F(DownloadTest, ALinkToNowhereIsReplacedToo) {
    ASSERT_TRUE(QFile::link(dir_.filePath("missing/target"), target()));
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7"));
    EXPECT_TRUE(download("/uploads/v.txt"));
    EXPECT_FALSE(QFileInfo(target()).isSymLink());
    EXPECT_EQ(content(target()), "7.7");
}

TEST_F(DownloadTest, AWriteThatFailsIsAFailedDownloadAndKeepsTheOldFile) {
    writeTarget("old");
    server_.serve("/uploads/v.txt", TestHttpServer::Ok(QByteArray(64 * 1024, 'v')));
    {
        const testing::FileSizeLimit full(4096);  // a disk full after 4 KiB
        EXPECT_FALSE(download("/uploads/v.txt"));
    }
    EXPECT_EQ(content(target()), "old");
    EXPECT_EQ(filesInDir(), QStringList{"v-up.txt"});
}

// --- HTTPS and proxies ---

class HttpsDownloadTest : public ::testing::Test {
 protected:
    QTemporaryDir dir_;
    TestHttpServer server_{TestHttpServer::Protocol::Https};
    std::string target() const { return QFile::encodeName(dir_.filePath("v-up.txt")).toStdString(); }
    std::string url(const char* path) const { return (server_.baseAddress() + path).toStdString(); }
};

TEST_F(HttpsDownloadTest, ATrustedServerIsFetched) {
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7"));
    DownloadLimits trusting;
    trusting.certificateAuthorities = QFile::encodeName(server_.certificateFile()).toStdString();
    EXPECT_TRUE(Download(url("/uploads/v.txt"), target(), trusting));
    QFile file(dir_.filePath("v-up.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "7.7");
}

TEST_F(HttpsDownloadTest, AServerTheSystemDoesNotTrustIsRefused) {
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7"));
    EXPECT_FALSE(Download(url("/uploads/v.txt"), target(), {}));
    EXPECT_FALSE(QFile::exists(dir_.filePath("v-up.txt")));
    EXPECT_TRUE(server_.requests().isEmpty());  // nothing is asked of it
}

TEST_F(HttpsDownloadTest, ARedirectFromPlainHttpToHttpsIsFollowed) {
    TestHttpServer plain;
    plain.serve("/uploads/v.txt",
                TestHttpServer::Status(301, "Location: " + QByteArray::fromStdString(url("/secure/v.txt")) + "\r\n"));
    server_.serve("/secure/v.txt", TestHttpServer::Ok("7.8"));
    DownloadLimits trusting;
    trusting.certificateAuthorities = QFile::encodeName(server_.certificateFile()).toStdString();
    EXPECT_TRUE(Download((plain.baseAddress() + "/uploads/v.txt").toStdString(), target(), trusting));
    EXPECT_EQ(server_.requestedPaths(), QList<QByteArray>{"/secure/v.txt"});
}

TEST(ProxyDownloadTest, TheProxyFromTheEnvironmentIsUsed) {
    TestHttpServer proxy;
    // A name that resolves nowhere: only the proxy can answer for it.
    proxy.serve("http://updates.wormgear.invalid/uploads/v.txt", TestHttpServer::Ok("7.9"));
    QTemporaryDir dir;
    const std::string target = QFile::encodeName(dir.filePath("v-up.txt")).toStdString();
    const ScopedVariable variable("http_proxy", proxy.baseAddress().toLatin1());
    const ScopedVariable none("no_proxy", "");
    EXPECT_TRUE(Download("http://updates.wormgear.invalid/uploads/v.txt", target, {}));
    ASSERT_EQ(proxy.requests().size(), 1);
    EXPECT_TRUE(proxy.requests()[0].startsWith("GET http://updates.wormgear.invalid/uploads/v.txt HTTP/1.1\r\n"));
}

TEST(ProxyDownloadTest, AHostListedInNoProxyIsReachedDirectly) {
    TestHttpServer proxy;
    TestHttpServer server;
    server.serve("/uploads/v.txt", TestHttpServer::Ok("7.9"));
    QTemporaryDir dir;
    const std::string target = QFile::encodeName(dir.filePath("v-up.txt")).toStdString();
    const ScopedVariable variable("http_proxy", proxy.baseAddress().toLatin1());
    const ScopedVariable bypass("no_proxy", "127.0.0.1");
    EXPECT_TRUE(Download((server.baseAddress() + "/uploads/v.txt").toStdString(), target, {}));
    EXPECT_TRUE(proxy.requests().isEmpty());
    EXPECT_EQ(server.requests().size(), 1);
}

}  // namespace
}  // namespace wormgear
