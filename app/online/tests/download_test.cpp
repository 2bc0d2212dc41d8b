// The blocking download against a server the test runs on 127.0.0.1.
#include "app/online/download.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QHostInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/online/online.h"
#include "app/online/tests/test_http_server.h"

namespace wormgear {
namespace {

using testing::TestHttpServer;
using namespace std::chrono_literals;

constexpr qint64 kMiB = 1024 * 1024;

class DownloadTest : public ::testing::Test {
 protected:
    QString url(const char* path) const { return server_.baseAddress() + path; }
    QString target() const { return dir_.filePath("v-up.txt"); }
    QByteArray content(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void writeTarget(const QByteArray& bytes) const {
        QFile file(target());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList filesInDir() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }

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

const ReplyCase kReplies[] = {
    {"text", TestHttpServer::Ok("7.6\r\n"), true, "7.6\r\n"},
    {"empty body", TestHttpServer::Ok(""), true, ""},
    {"body to the close", TestHttpServer::Raw("HTTP/1.0 200 OK\r\n\r\nbody until close"), true, "body until close"},
    {"chunked", TestHttpServer::Raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\n7.6\n\r\n0\r\n\r\n"),
     true, "7.6\n"},
    {"not found", TestHttpServer::Status(404), false, ""},
    {"server error", TestHttpServer::Status(500), false, ""},
    {"redirect without location", TestHttpServer::Status(302), false, ""},
    {"body cut off", TestHttpServer::Raw("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n7.6"), false, ""},
    {"closed without a response", TestHttpServer::Raw(""), false, ""},
    {"not HTTP", TestHttpServer::Raw("7.6\r\n"), false, ""},
};

class DownloadReplyTest : public DownloadTest, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(DownloadReplyTest, WritesOnlyAWholeSuccessfulBody) {
    const ReplyCase& c = GetParam();
    server_.serve("/uploads/v.txt", c.reply);
    EXPECT_EQ(Download(url("/uploads/v.txt"), target()), c.succeeds);
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
    EXPECT_EQ(Download(url("/uploads/v.txt"), target()), c.succeeds);
    EXPECT_EQ(content(target()), c.succeeds ? c.written : QByteArray("old"));
    EXPECT_EQ(filesInDir(), QStringList{"v-up.txt"});
}

INSTANTIATE_TEST_SUITE_P(Replies, DownloadReplyTest, ::testing::ValuesIn(kReplies),
                         [](const ::testing::TestParamInfo<ReplyCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             }
                             return name;
                         });

TEST_F(DownloadTest, SendsAPlainGetForThePath) {
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.6"));
    ASSERT_TRUE(Download(url("/uploads/v.txt"), target()));
    const QList<QByteArray> requests = server_.requests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_TRUE(requests[0].startsWith("GET /uploads/v.txt HTTP/1.1\r\n")) << requests[0].constData();
    EXPECT_TRUE(requests[0].contains("\r\nHost: 127.0.0.1:" + QByteArray::number(server_.port()) + "\r\n"));
    EXPECT_TRUE(requests[0].endsWith("\r\n\r\n"));
}

TEST_F(DownloadTest, LooksUpAHostName) {
    // A bare system root (debootstrap) has no /etc/hosts, so not even
    // "localhost" has an address there.
    bool loopbackName = false;
    for (const QHostAddress& address : QHostInfo::fromName(QStringLiteral("localhost")).addresses())
        loopbackName = loopbackName || address == QHostAddress(QHostAddress::LocalHost);
    if (!loopbackName) GTEST_SKIP() << "\"localhost\" does not name 127.0.0.1 on this machine";
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.6"));
    EXPECT_TRUE(Download(QString("http://localhost:%1/uploads/v.txt").arg(server_.port()), target()));
    EXPECT_EQ(content(target()), "7.6");
}

TEST_F(DownloadTest, UnreachableServerFails) {
    const quint16 port = TestHttpServer::UnusedPort();
    EXPECT_FALSE(Download(QString("http://127.0.0.1:%1/uploads/v.txt").arg(port), target()));
    EXPECT_TRUE(filesInDir().isEmpty());
}

TEST_F(DownloadTest, RefusesAddressesItCannotFetch) {
    for (const QString& address : {QString(), QString("not an address"), QString("/uploads/v.txt"),
                                   "https://127.0.0.1:" + QString::number(server_.port()) + "/uploads/v.txt",
                                   "ftp://127.0.0.1:" + QString::number(server_.port()) + "/uploads/v.txt"}) {
        EXPECT_FALSE(Download(address, target())) << address.toStdString();
    }
    EXPECT_TRUE(server_.requests().isEmpty());
    EXPECT_TRUE(filesInDir().isEmpty());
}

TEST_F(DownloadTest, TargetInAMissingDirectoryFails) {
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.6"));
    EXPECT_FALSE(Download(url("/uploads/v.txt"), dir_.filePath("absent/v-up.txt")));
}

TEST_F(DownloadTest, FollowsRedirects) {
    server_.serve("/uploads/v.txt", TestHttpServer::Status(301, "Location: /moved/v.txt\r\n"));
    server_.serve("/moved/v.txt", TestHttpServer::Status(302, "Location: " + url("/final/v.txt").toLatin1() + "\r\n"));
    server_.serve("/final/v.txt", TestHttpServer::Ok("7.7"));
    EXPECT_TRUE(Download(url("/uploads/v.txt"), target()));
    EXPECT_EQ(content(target()), "7.7");
    EXPECT_EQ(server_.requestedPaths(), (QList<QByteArray>{"/uploads/v.txt", "/moved/v.txt", "/final/v.txt"}));
}

TEST_F(DownloadTest, GivesUpOnARedirectLoop) {
    server_.serve("/loop", TestHttpServer::Status(302, "Location: /loop\r\n"));
    EXPECT_FALSE(Download(url("/loop"), target()));
    EXPECT_EQ(server_.requests().size(), CurrentDownloadLimits().maxRedirects + 1);
    EXPECT_TRUE(filesInDir().isEmpty());
}

TEST_F(DownloadTest, DoesNotFollowARedirectOffPlainHttp) {
    server_.serve("/uploads/v.txt", TestHttpServer::Status(302, "Location: https://127.0.0.1/v.txt\r\n"));
    EXPECT_FALSE(Download(url("/uploads/v.txt"), target()));
}

TEST_F(DownloadTest, DefaultLimits) {
    const DownloadLimits limits = CurrentDownloadLimits();
    EXPECT_EQ(limits.connectTimeout, 3000ms);
    EXPECT_EQ(limits.totalTimeout, 10000ms);
    EXPECT_EQ(limits.maxBodyBytes, kMiB);
}

TEST_F(DownloadTest, ScopedLimitsAreRestored) {
    {
        ScopedDownloadLimits shortened({.connectTimeout = 100ms, .totalTimeout = 200ms});
        EXPECT_EQ(CurrentDownloadLimits().totalTimeout, 200ms);
    }
    EXPECT_EQ(CurrentDownloadLimits().totalTimeout, 10000ms);
}

// --- size limit: 1 MiB of body is the most that is taken ---

TEST_F(DownloadTest, BodyOfExactlyTheLimitIsTaken) {
    const QByteArray body(kMiB, 'v');
    server_.serve("/uploads/v.txt", TestHttpServer::Ok(body));
    EXPECT_TRUE(Download(url("/uploads/v.txt"), target()));
    EXPECT_EQ(content(target()), body);
}

TEST_F(DownloadTest, BodyOverTheLimitIsRefusedInEveryFraming) {
    const QByteArray body(kMiB + 1, 'v');
    const QByteArray half(kMiB / 2 + 1, 'v');
    const QByteArray halfSize = QByteArray::number(half.size(), 16);
    const TestHttpServer::Reply replies[] = {
        TestHttpServer::Ok(body),
        TestHttpServer::Raw("HTTP/1.0 200 OK\r\n\r\n" + body),
        TestHttpServer::Raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + halfSize + "\r\n" + half +
                            "\r\n" + halfSize + "\r\n" + half + "\r\n0\r\n\r\n"),
    };
    for (const TestHttpServer::Reply& reply : replies) {
        server_.serve("/uploads/v.txt", reply);
        EXPECT_FALSE(Download(url("/uploads/v.txt"), target()));
        EXPECT_TRUE(filesInDir().isEmpty());
    }
}

// --- time-outs, shortened so the tests stay quick ---

TEST_F(DownloadTest, ServerThatNeverAnswersRunsIntoTheTimeOut) {
    TestHttpServer::Reply silent;
    silent.holdOpen = true;
    server_.serve("/uploads/v.txt", silent);
    ScopedDownloadLimits shortened({.connectTimeout = 1000ms, .totalTimeout = 300ms});
    EXPECT_FALSE(Download(url("/uploads/v.txt"), target()));
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
    ScopedDownloadLimits shortened({.connectTimeout = 1000ms, .totalTimeout = 300ms});
    EXPECT_FALSE(Download(url("/uploads/v.txt"), target()));
    EXPECT_TRUE(filesInDir().isEmpty());
}

TEST_F(DownloadTest, ServerThatTricklesFinishesWithinALongerTimeOut) {
    server_.serve("/uploads/v.txt", Trickle());
    ScopedDownloadLimits lengthened({.connectTimeout = 1000ms, .totalTimeout = 20000ms});
    EXPECT_TRUE(Download(url("/uploads/v.txt"), target()));
    EXPECT_EQ(content(target()), QByteArray(20, 'v'));
}

TEST_F(DownloadTest, ServerThatStallsAfterTheHeadersRunsIntoTheTimeOut) {
    TestHttpServer::Reply stall = TestHttpServer::Raw("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n7.6");
    stall.holdOpen = true;
    server_.serve("/uploads/v.txt", stall);
    ScopedDownloadLimits shortened({.connectTimeout = 1000ms, .totalTimeout = 300ms});
    EXPECT_FALSE(Download(url("/uploads/v.txt"), target()));
    EXPECT_TRUE(filesInDir().isEmpty());
}

}  // namespace
}  // namespace wormgear
