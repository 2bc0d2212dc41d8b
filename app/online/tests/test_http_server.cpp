// Plain POSIX sockets, so the server shares no Qt machinery with the client
// under test.
#include "app/online/tests/test_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace wormgear::testing {

namespace {

constexpr int kPollMs = 20;

sockaddr_in Loopback(quint16 port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// Binds a listening socket on 127.0.0.1 to a free port.
int Listen(quint16& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) throw std::runtime_error("socket");
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address = Loopback(0);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        throw std::runtime_error("bind/listen");
    }
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

// Waits up to kPollMs for fd to become readable.
bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, kPollMs) > 0;
}

bool SendAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

QByteArray ReasonFor(int status) {
    switch (status) {
        case 200: return "OK";
        case 204: return "No Content";
        case 301: return "Moved Permanently";
        case 302: return "Found";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        default: return "Status";
    }
}

}  // namespace

TestHttpServer::Reply TestHttpServer::Ok(const QByteArray& body) {
    return Raw("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body);
}

TestHttpServer::Reply TestHttpServer::Status(int status, const QByteArray& extraHeaders) {
    const QByteArray body = "<html><body>" + ReasonFor(status) + "</body></html>";
    return Raw("HTTP/1.1 " + QByteArray::number(status) + " " + ReasonFor(status) + "\r\n" + extraHeaders +
               "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
}

TestHttpServer::Reply TestHttpServer::Raw(const QByteArray& bytes) {
    Reply reply;
    reply.bytes = bytes;
    return reply;
}

quint16 TestHttpServer::UnusedPort() {
    quint16 port = 0;
    ::close(Listen(port));
    return port;
}

TestHttpServer::TestHttpServer() {
    listener_ = Listen(port_);
    thread_ = std::thread([this] { run(); });
}

TestHttpServer::~TestHttpServer() {
    stopping_ = true;
    thread_.join();
    ::close(listener_);
}

void TestHttpServer::serve(const QByteArray& path, const Reply& reply) {
    std::lock_guard lock(mutex_);
    replies_.insert(path, reply);
}

QString TestHttpServer::baseAddress() const { return QString("http://127.0.0.1:%1").arg(port_); }

QList<QByteArray> TestHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

QList<QByteArray> TestHttpServer::requestedPaths() const {
    QList<QByteArray> paths;
    for (const QByteArray& request : requests()) {
        const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
        paths.append(words.size() == 3 ? words[1] : QByteArray());
    }
    return paths;
}

void TestHttpServer::run() {
    while (!stopping()) {
        if (!Readable(listener_)) continue;
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0) continue;
        answer(connection);
        ::close(connection);
    }
}

void TestHttpServer::answer(int connection) {
    QByteArray head;
    while (!stopping() && !head.contains("\r\n\r\n") && head.size() < 65536) {
        if (!Readable(connection)) continue;
        char buffer[4096];
        const ssize_t received = ::recv(connection, buffer, sizeof buffer, 0);
        if (received <= 0) return;
        head.append(buffer, received);
    }
    Reply reply = Status(404);
    {
        std::lock_guard lock(mutex_);
        requests_.append(head);
        const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
        if (words.size() == 3 && replies_.contains(words[1])) reply = replies_.value(words[1]);
    }
    if (reply.pauseAfterEachByte.count() == 0) {
        if (!SendAll(connection, reply.bytes.constData(), reply.bytes.size())) return;
    } else {
        for (char byte : reply.bytes) {
            if (stopping() || !SendAll(connection, &byte, 1)) return;
            std::this_thread::sleep_for(reply.pauseAfterEachByte);
        }
    }
    while (reply.holdOpen && !stopping()) {
        if (!Readable(connection)) continue;
        char buffer[256];
        if (::recv(connection, buffer, sizeof buffer, 0) <= 0) return;  // the client gave up
    }
}

}  // namespace wormgear::testing
