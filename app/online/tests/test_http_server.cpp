// Plain POSIX sockets and OpenSSL, so the server shares nothing with the
// client under test but the protocol.
#include "app/online/tests/test_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
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
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
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

// Waits up to kPollMs for fd to become readable (or closed).
bool Readable(int fd) {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, kPollMs) > 0;
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

// A self-signed certificate for 127.0.0.1 and localhost, valid from a day ago
// to a day ahead, made fresh for each server: nothing to expire in the tree.
struct TestHttpServer::Tls {
    SSL_CTX* context = nullptr;

    explicit Tls(const QString& certificateFile) {
        EVP_PKEY* key = EVP_EC_gen("P-256");
        X509* certificate = X509_new();
        if (key == nullptr || certificate == nullptr) throw std::runtime_error("key");
        X509_set_version(certificate, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
        X509_gmtime_adj(X509_getm_notBefore(certificate), -24 * 3600);
        X509_gmtime_adj(X509_getm_notAfter(certificate), 24 * 3600);
        X509_set_pubkey(certificate, key);
        X509_NAME* name = X509_get_subject_name(certificate);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1,
                                   -1, 0);
        X509_set_issuer_name(certificate, name);
        X509V3_CTX extensions;
        X509V3_set_ctx_nodb(&extensions);
        X509V3_set_ctx(&extensions, certificate, certificate, nullptr, nullptr, 0);
        for (const auto& [nid, value] : {std::pair{NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost"},
                                         std::pair{NID_basic_constraints, "critical,CA:TRUE"}}) {
            X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &extensions, nid, value);
            X509_add_ext(certificate, extension, -1);
            X509_EXTENSION_free(extension);
        }
        X509_sign(certificate, key, EVP_sha256());

        FILE* file = std::fopen(certificateFile.toLocal8Bit().constData(), "w");
        if (file == nullptr) throw std::runtime_error("certificate file");
        PEM_write_X509(file, certificate);
        std::fclose(file);

        context = SSL_CTX_new(TLS_server_method());
        const bool ready = context != nullptr && SSL_CTX_use_certificate(context, certificate) == 1 &&
                           SSL_CTX_use_PrivateKey(context, key) == 1;
        X509_free(certificate);
        EVP_PKEY_free(key);
        if (!ready) throw std::runtime_error("TLS context");
    }
    ~Tls() { SSL_CTX_free(context); }
};

// One accepted connection, plain or TLS.
struct TestHttpServer::Connection {
    int fd = -1;
    SSL* ssl = nullptr;

    ~Connection() {
        if (ssl != nullptr) SSL_free(ssl);
        if (fd >= 0) ::close(fd);
    }

    // Bytes received, 0 when nothing came yet, -1 when the client closed or failed.
    ssize_t receive(char* buffer, std::size_t size) {
        if (ssl == nullptr) {
            if (!Readable(fd)) return 0;
            const ssize_t got = ::recv(fd, buffer, size, 0);
            return got > 0 ? got : -1;
        }
        if (SSL_pending(ssl) == 0 && !Readable(fd)) return 0;
        const int got = SSL_read(ssl, buffer, static_cast<int>(size));
        if (got > 0) return got;
        const int error = SSL_get_error(ssl, got);
        return error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE ? 0 : -1;
    }

    bool sendAll(const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t sent = ssl != nullptr ? SSL_write(ssl, data, static_cast<int>(size))
                                                : ::send(fd, data, size, MSG_NOSIGNAL);
            if (sent <= 0) return false;
            data += sent;
            size -= static_cast<std::size_t>(sent);
        }
        return true;
    }
};

TestHttpServer::Reply TestHttpServer::Ok(const QByteArray& body, const QByteArray& contentType) {
    return Raw("HTTP/1.1 200 OK\r\nContent-Type: " + contentType +
               "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
}

TestHttpServer::Reply TestHttpServer::Status(int status, const QByteArray& extraHeaders) {
    const QByteArray body = "<html><body>" + ReasonFor(status) + "</body></html>";
    return Raw("HTTP/1.1 " + QByteArray::number(status) + " " + ReasonFor(status) + "\r\n" + extraHeaders +
               "Content-Type: text/html\r\nContent-Length: " + QByteArray::number(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body);
}

TestHttpServer::Reply TestHttpServer::Raw(const QByteArray& bytes) {
    Reply reply;
    reply.bytes = bytes;
    return reply;
}

TestHttpServer::Reply TestHttpServer::Silent() {
    Reply reply;
    reply.holdOpen = true;
    return reply;
}

quint16 TestHttpServer::UnusedPort() {
    quint16 port = 0;
    ::close(Listen(port));
    return port;
}

TestHttpServer::TestHttpServer(Protocol protocol) {
    // A client that leaves mid-write must not end the test program.
    std::signal(SIGPIPE, SIG_IGN);
    if (protocol == Protocol::Https) {
        certificateFile_ = certificateDir_.filePath(QStringLiteral("server.pem"));
        tls_ = std::make_unique<Tls>(certificateFile_);
    }
    listener_ = Listen(port_);
    thread_ = std::thread([this] { run(); });
}

TestHttpServer::~TestHttpServer() {
    stopping_ = true;
    thread_.join();
    ::close(listener_);
}

void TestHttpServer::serve(const QByteArray& target, const Reply& reply) {
    std::lock_guard lock(mutex_);
    replies_.insert(target, reply);
}

void TestHttpServer::release() { released_ = true; }

QString TestHttpServer::baseAddress() const {
    return QString("%1://127.0.0.1:%2").arg(tls_ ? "https" : "http").arg(port_);
}

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
        Connection connection;
        connection.fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection.fd < 0) continue;
        if (tls_) {
            // Reads give up after a moment, so a client that never finishes
            // its handshake cannot keep the server from stopping.
            const timeval moment{0, 100 * 1000};
            ::setsockopt(connection.fd, SOL_SOCKET, SO_RCVTIMEO, &moment, sizeof moment);
            connection.ssl = SSL_new(tls_->context);
            SSL_set_fd(connection.ssl, connection.fd);
            int accepted = 0;
            while ((accepted = SSL_accept(connection.ssl)) <= 0 && !stopping()) {
                const int error = SSL_get_error(connection.ssl, accepted);
                if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) break;
            }
            ERR_clear_error();
            if (accepted <= 0) continue;
        }
        answer(connection);
    }
}

void TestHttpServer::answer(Connection& connection) {
    QByteArray head;
    while (!stopping() && !head.contains("\r\n\r\n") && head.size() < 65536) {
        char buffer[4096];
        const ssize_t received = connection.receive(buffer, sizeof buffer);
        if (received < 0) return;
        head.append(buffer, received);
    }
    Reply reply = Status(404);
    {
        std::lock_guard lock(mutex_);
        requests_.append(head);
        const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
        if (words.size() == 3 && replies_.contains(words[1])) reply = replies_.value(words[1]);
    }
    // Waits for the client to leave; false when the server stops first.
    const auto heldUntilClientLeaves = [&](const auto& keepHolding) {
        while (keepHolding() && !stopping()) {
            char buffer[256];
            if (connection.receive(buffer, sizeof buffer) < 0) {
                ++clientsGone_;
                return true;
            }
        }
        return false;
    };
    if (reply.waitForRelease) {
        ++waiting_;
        const bool gone = heldUntilClientLeaves([this] { return !released_.load(); });
        --waiting_;
        if (gone || stopping()) return;
    }
    if (reply.pauseAfterEachByte.count() == 0) {
        if (!connection.sendAll(reply.bytes.constData(), reply.bytes.size())) return;
    } else {
        for (char byte : reply.bytes) {
            if (stopping()) return;
            if (!connection.sendAll(&byte, 1)) {
                ++clientsGone_;
                return;
            }
            std::this_thread::sleep_for(reply.pauseAfterEachByte);
        }
    }
    if (reply.holdOpen) heldUntilClientLeaves([] { return true; });
}

}  // namespace wormgear::testing
