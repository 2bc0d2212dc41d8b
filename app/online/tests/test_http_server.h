// A tiny HTTP or HTTPS server on 127.0.0.1 for the download tests: it answers
// each request target with scripted raw bytes, one connection at a time, on
// its own thread. A reply can stall, trickle, or wait at a gate until the test
// releases it, to let a client run into its time-out or to show that nobody
// waits for it. The HTTPS server makes a fresh self-signed certificate that
// only the tests trust.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

namespace wormgear::testing {

class TestHttpServer {
 public:
    enum class Protocol { Http, Https };

    struct Reply {
        QByteArray bytes;  // sent as they are: status line, headers and body
        // Pause after each byte sent; zero sends everything at once.
        std::chrono::milliseconds pauseAfterEachByte{0};
        // After the bytes, keep the connection open until the client closes it.
        bool holdOpen = false;
        // Send nothing until release() (or the server's end); a client that
        // leaves meanwhile is counted in clientsGone().
        bool waitForRelease = false;
    };

    static Reply Ok(const QByteArray& body, const QByteArray& contentType = "text/plain");
    static Reply Status(int status, const QByteArray& extraHeaders = {});
    static Reply Raw(const QByteArray& bytes);
    // A reply that holds the request and sends nothing until the client leaves.
    static Reply Silent();
    // A port on 127.0.0.1 with nothing listening on it.
    static quint16 UnusedPort();

    explicit TestHttpServer(Protocol protocol = Protocol::Http);
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    // Request targets not served get a 404. A proxy's requests carry the whole
    // address ("http://host/uploads/v.txt") as their target.
    void serve(const QByteArray& target, const Reply& reply);
    // Opens the gate of every reply that waits for it, now and later.
    void release();
    // "http://127.0.0.1:PORT" or "https://127.0.0.1:PORT".
    QString baseAddress() const;
    quint16 port() const { return port_; }
    // The PEM file of the HTTPS server's certificate, for the client to trust.
    QString certificateFile() const { return certificateFile_; }
    // The request heads received so far, request line and headers, in order.
    QList<QByteArray> requests() const;
    QList<QByteArray> requestedPaths() const;
    // Requests held at the gate right now.
    int waiting() const { return waiting_.load(); }
    // Connections whose client went away while the server held or trickled.
    int clientsGone() const { return clientsGone_.load(); }

 private:
    struct Tls;
    struct Connection;
    void run();
    void answer(Connection& connection);
    bool stopping() const { return stopping_.load(); }

    int listener_ = -1;
    quint16 port_ = 0;
    std::unique_ptr<Tls> tls_;
    QTemporaryDir certificateDir_;
    QString certificateFile_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> released_{false};
    std::atomic<int> waiting_{0};
    std::atomic<int> clientsGone_{0};
    mutable std::mutex mutex_;
    QMap<QByteArray, Reply> replies_;
    QList<QByteArray> requests_;
    std::thread thread_;
};

}  // namespace wormgear::testing
