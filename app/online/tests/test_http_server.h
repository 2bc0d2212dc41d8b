// A tiny HTTP server on 127.0.0.1 for the download tests: it answers each path
// with scripted raw bytes, one connection at a time, on its own thread, and can
// stall or trickle its answer to let a client run into its time-out.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace wormgear::testing {

class TestHttpServer {
 public:
    struct Reply {
        QByteArray bytes;  // sent as they are: status line, headers and body
        // Pause after each byte sent; zero sends everything at once.
        std::chrono::milliseconds pauseAfterEachByte{0};
        // After the bytes, keep the connection open until the client closes it.
        bool holdOpen = false;
    };

    static Reply Ok(const QByteArray& body);
    static Reply Status(int status, const QByteArray& extraHeaders = {});
    static Reply Raw(const QByteArray& bytes);
    // A port on 127.0.0.1 with nothing listening on it.
    static quint16 UnusedPort();

    TestHttpServer();
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    // Paths not served get a 404.
    void serve(const QByteArray& path, const Reply& reply);
    QString baseAddress() const;
    quint16 port() const { return port_; }
    // The request heads received so far, request line and headers, in order.
    QList<QByteArray> requests() const;
    QList<QByteArray> requestedPaths() const;

 private:
    void run();
    void answer(int connection);
    bool stopping() const { return stopping_.load(); }

    int listener_ = -1;
    quint16 port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    QMap<QByteArray, Reply> replies_;
    QList<QByteArray> requests_;
    std::thread thread_;
};

}  // namespace wormgear::testing
