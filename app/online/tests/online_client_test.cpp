// The client that runs the downloads off the caller's thread: the caller never
// waits, results come back on its thread in the order asked, a receiver that
// is gone gets nothing, and the end drops what is still running.
#include "app/online/online_client.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>

#include "app/online/tests/test_http_server.h"
#include "files/file_io.h"

namespace wormgear {
namespace {

using testing::TestHttpServer;

// Bounds a broken test only; no time is asserted.
constexpr int kWaitMs = 20000;

TestHttpServer::Reply Held(TestHttpServer::Reply reply) {
    reply.waitForRelease = true;
    return reply;
}

class OnlineClientTest : public ::testing::Test {
 protected:
    void SetUp() override {
        QFile version(programDirectory() + "v.txt");
        ASSERT_TRUE(version.open(QIODevice::WriteOnly));
        version.write("7.6\n");
    }
    QString programDirectory() const { return dir_.path() + "/"; }
    // Waits until every result is handed back (or the bound passes).
    bool settle(const OnlineClient& client) {
        return QTest::qWaitFor([&] { return !client.busy(); }, kWaitMs);
    }

    QTemporaryDir dir_;
    TestHttpServer server_;
    QObject receiver_;
    QStringList events_;
    int versionMessages_ = 0;
};

TEST_F(OnlineClientTest, NoticeThenVersionInTheOrderAskedOnTheCallersThread) {
    server_.serve("/uploads/guanggao.txt", TestHttpServer::Ok("新品上市"));
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7"));
    OnlineClient client(server_.baseAddress());
    QThread* const caller = QThread::currentThread();
    client.fetchNoticeLine(programDirectory(), &receiver_, [&](const QString& line) {
        EXPECT_EQ(QThread::currentThread(), caller);
        events_ << "notice " + line;
    });
    client.checkVersion(programDirectory(), &receiver_, [&] {
        EXPECT_EQ(QThread::currentThread(), caller);
        events_ << "version differs";
    });
    ASSERT_TRUE(settle(client));
    EXPECT_EQ(events_, (QStringList{"notice 新品上市", "version differs"}));
    EXPECT_EQ(server_.requestedPaths(), (QList<QByteArray>{"/uploads/guanggao.txt", "/uploads/v.txt"}));
}

TEST_F(OnlineClientTest, TheCallerGoesOnWhileTheServerHoldsTheRequest) {
    server_.serve("/uploads/guanggao.txt", Held(TestHttpServer::Ok("notice")));
    server_.serve("/uploads/v.txt", Held(TestHttpServer::Ok("7.7")));
    OnlineClient client(server_.baseAddress());
    client.fetchNoticeLine(programDirectory(), &receiver_, [&](const QString& line) { events_ << line; });
    client.checkVersion(programDirectory(), &receiver_, [&] { events_ << "version differs"; });
    // Both calls returned with the first request still held by the server.
    ASSERT_TRUE(QTest::qWaitFor([&] { return server_.waiting() == 1; }, kWaitMs));
    QCoreApplication::processEvents();
    EXPECT_TRUE(client.busy());
    EXPECT_TRUE(events_.isEmpty());
    server_.release();
    ASSERT_TRUE(settle(client));
    EXPECT_EQ(events_, (QStringList{"notice", "version differs"}));
}

TEST_F(OnlineClientTest, AnEqualOrMissingVersionSaysNothing) {
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.6\r\n"));
    OnlineClient client(server_.baseAddress());
    client.checkVersion(programDirectory(), &receiver_, [&] { ++versionMessages_; });
    ASSERT_TRUE(settle(client));
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("<html>7.7</html>", "text/html"));
    client.checkVersion(programDirectory(), &receiver_, [&] { ++versionMessages_; });
    ASSERT_TRUE(settle(client));
    server_.serve("/uploads/v.txt", TestHttpServer::Status(404));
    client.checkVersion(programDirectory(), &receiver_, [&] { ++versionMessages_; });
    ASSERT_TRUE(settle(client));
    EXPECT_EQ(versionMessages_, 0);
    EXPECT_EQ(server_.requests().size(), 3);
}

TEST_F(OnlineClientTest, AMissingInstalledVersionFailsAtOnceWithoutAsking) {
    ASSERT_TRUE(QFile::remove(programDirectory() + "v.txt"));
    OnlineClient client(server_.baseAddress());
    EXPECT_THROW(client.checkVersion(programDirectory(), &receiver_, [&] { ++versionMessages_; }), FileError);
    EXPECT_FALSE(client.busy());
    EXPECT_TRUE(server_.requests().isEmpty());
}

TEST_F(OnlineClientTest, AReceiverThatIsGoneGetsNothing) {
    server_.serve("/uploads/guanggao.txt", Held(TestHttpServer::Ok("notice")));
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7"));
    OnlineClient client(server_.baseAddress());
    auto window = std::make_unique<QObject>();
    client.fetchNoticeLine(programDirectory(), window.get(), [&](const QString& line) { events_ << line; });
    client.checkVersion(programDirectory(), window.get(), [&] { events_ << "version differs"; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return server_.waiting() == 1; }, kWaitMs));
    window.reset();
    server_.release();
    ASSERT_TRUE(settle(client));
    EXPECT_TRUE(events_.isEmpty());
    EXPECT_EQ(server_.requests().size(), 2);  // the downloads ran; only their answers were dropped
}

TEST_F(OnlineClientTest, VersionChecksWaitingInTheQueueAreMerged) {
    server_.serve("/uploads/guanggao.txt", Held(TestHttpServer::Ok("notice")));
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7"));
    OnlineClient client(server_.baseAddress());
    client.fetchNoticeLine(programDirectory(), &receiver_, [&](const QString&) {});
    for (int reload = 0; reload < 4; ++reload)
        client.checkVersion(programDirectory(), &receiver_, [&] { ++versionMessages_; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return server_.waiting() == 1; }, kWaitMs));
    server_.release();
    ASSERT_TRUE(settle(client));
    EXPECT_EQ(versionMessages_, 1);
    EXPECT_EQ(server_.requestedPaths(), (QList<QByteArray>{"/uploads/guanggao.txt", "/uploads/v.txt"}));
    // A check asked for after that one ran is a check of its own.
    client.checkVersion(programDirectory(), &receiver_, [&] { ++versionMessages_; });
    ASSERT_TRUE(settle(client));
    EXPECT_EQ(versionMessages_, 2);
}

TEST_F(OnlineClientTest, TheEndDropsARunningTransferAndTheQueue) {
    server_.serve("/uploads/guanggao.txt", Held(TestHttpServer::Ok("notice")));
    server_.serve("/uploads/v.txt", TestHttpServer::Ok("7.7"));
    // The held request could only end by the client's end: an hour to wait,
    // so a client that waited for it would hang this test.
    DownloadLimits patient;
    patient.totalTimeout = std::chrono::hours(1);
    {
        OnlineClient client(server_.baseAddress(), patient);
        client.fetchNoticeLine(programDirectory(), &receiver_, [&](const QString& line) { events_ << line; });
        client.checkVersion(programDirectory(), &receiver_, [&] { events_ << "version differs"; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return server_.waiting() == 1; }, kWaitMs));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return server_.clientsGone() == 1; }, kWaitMs));
    QCoreApplication::processEvents();
    EXPECT_TRUE(events_.isEmpty());
    EXPECT_EQ(server_.requestedPaths(), QList<QByteArray>{"/uploads/guanggao.txt"});
    EXPECT_FALSE(QFile::exists(programDirectory() + "gg"));
}

}  // namespace
}  // namespace wormgear
