// A small blocking HTTP/1.1 client on QTcpSocket's waitFor* calls. The program's
// commands run to their end inside the event that started them, so the download
// must not run an event loop of its own (which QNetworkAccessManager would need):
// nothing else of the window may happen while it waits.
#include "app/online/download.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QSaveFile>
#include <QTcpSocket>
#include <QUrl>
#include <netdb.h>
#include <sys/socket.h>

#include <algorithm>
#include <climits>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "app/online/http_response_reader.h"
#include "app/online/online.h"

namespace wormgear {

namespace {

using Clock = std::chrono::steady_clock;

DownloadLimits& ActiveLimits() {
    static DownloadLimits limits;
    return limits;
}

// Milliseconds left until deadline, for the waitFor* calls: 0 when it has passed.
int RemainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<decltype(left)>(left, 0, INT_MAX));
}

struct LookupState {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    QList<QHostAddress> addresses;
};

// The addresses of host, or none when the lookup fails or outlasts deadline.
// getaddrinfo has no time-out of its own, and QTcpSocket's blocking connect looks
// names up without one, so the lookup runs on a helper thread that is left to
// finish on its own when it takes too long; it touches only its shared state.
QList<QHostAddress> LookUpHost(const QString& host, Clock::time_point deadline) {
    QHostAddress literal;
    if (literal.setAddress(host)) return {literal};
    auto state = std::make_shared<LookupState>();
    std::thread([state, name = host.toStdString()] {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        QList<QHostAddress> addresses;
        if (getaddrinfo(name.c_str(), nullptr, &hints, &found) == 0) {
            for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
                const QHostAddress address(entry->ai_addr);
                if (!address.isNull() && !addresses.contains(address)) addresses.append(address);
            }
            freeaddrinfo(found);
        }
        std::lock_guard lock(state->mutex);
        state->addresses = std::move(addresses);
        state->done = true;
        state->finished.notify_all();
    }).detach();
    std::unique_lock lock(state->mutex);
    if (!state->finished.wait_until(lock, deadline, [&] { return state->done; })) return {};
    return state->addresses;
}

bool IsHttpUrl(const QUrl& url) {
    return url.isValid() && url.scheme() == QLatin1String("http") && !url.host().isEmpty();
}

// "GET /uploads/v.txt HTTP/1.1" with the headers a plain one-shot GET needs.
QByteArray RequestFor(const QUrl& url) {
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty()) target = "/";
    if (url.hasQuery()) target += "?" + url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':')) host = "[" + host + "]";
    if (url.port() != -1 && url.port() != 80) host += ":" + QByteArray::number(url.port());
    return "GET " + target +
           " HTTP/1.1\r\n"
           "Host: " +
           host +
           "\r\n"
           "User-Agent: wormgear\r\n"
           "Accept: */*\r\n"
           "Accept-Encoding: identity\r\n"
           "Connection: close\r\n"
           "\r\n";
}

struct Response {
    int status = 0;
    QByteArray location;
    QByteArray body;
};

// One request on one connection; nothing when the connection, the transfer or
// the response fails, or a deadline passes.
std::optional<Response> FetchOnce(const QUrl& url, const DownloadLimits& limits, Clock::time_point totalDeadline) {
    const Clock::time_point connectDeadline = std::min(totalDeadline, Clock::now() + limits.connectTimeout);
    QTcpSocket socket;
    socket.setProxy(QNetworkProxy::NoProxy);
    bool connected = false;
    for (const QHostAddress& address : LookUpHost(url.host(QUrl::FullyEncoded), connectDeadline)) {
        const int waitMs = RemainingMs(connectDeadline);
        if (waitMs == 0) break;
        socket.connectToHost(address, static_cast<quint16>(url.port(80)));
        connected = socket.waitForConnected(waitMs);
        if (connected) break;
        socket.abort();
    }
    if (!connected) return std::nullopt;

    socket.write(RequestFor(url));
    while (socket.bytesToWrite() > 0) {
        const int waitMs = RemainingMs(totalDeadline);
        if (waitMs == 0 || !socket.waitForBytesWritten(waitMs)) return std::nullopt;
    }

    HttpResponseReader reader(limits.maxBodyBytes);
    bool closedByPeer = false;
    for (;;) {
        HttpResponseReader::Progress progress = HttpResponseReader::Progress::NeedMore;
        if (socket.bytesAvailable() > 0) {
            progress = reader.feed(socket.read(64 * 1024));
        } else if (closedByPeer || socket.state() != QAbstractSocket::ConnectedState) {
            progress = reader.finish();
        } else {
            const int waitMs = RemainingMs(totalDeadline);
            if (waitMs == 0) return std::nullopt;
            if (!socket.waitForReadyRead(waitMs)) {
                if (socket.error() != QAbstractSocket::RemoteHostClosedError) return std::nullopt;
                closedByPeer = true;
            }
        }
        if (progress == HttpResponseReader::Progress::Failed) return std::nullopt;
        if (progress == HttpResponseReader::Progress::Complete) break;
    }
    socket.abort();
    return Response{reader.status(), reader.location(), reader.body()};
}

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The body goes to a temporary file beside path that is renamed over it only
// when every byte is written, so a failed write never leaves half a file.
bool WriteReplacing(const QString& path, const QByteArray& body) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(body) != body.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

bool Download(const QString& url, const QString& path, const DownloadLimits& limits) {
    try {
        const Clock::time_point totalDeadline = Clock::now() + limits.totalTimeout;
        QUrl current(url);
        for (int redirects = 0;; ++redirects) {
            if (!IsHttpUrl(current)) return false;
            const std::optional<Response> response = FetchOnce(current, limits, totalDeadline);
            if (!response) return false;
            if (response->status >= 200 && response->status <= 299) return WriteReplacing(path, response->body);
            if (!IsRedirect(response->status) || response->location.isEmpty() || redirects >= limits.maxRedirects) {
                return false;
            }
            current = current.resolved(QUrl::fromEncoded(response->location));
        }
    } catch (...) {
        return false;
    }
}

bool Download(const QString& url, const QString& path) { return Download(url, path, ActiveLimits()); }

DownloadLimits CurrentDownloadLimits() { return ActiveLimits(); }

ScopedDownloadLimits::ScopedDownloadLimits(const DownloadLimits& limits) : previous_(ActiveLimits()) {
    ActiveLimits() = limits;
}

ScopedDownloadLimits::~ScopedDownloadLimits() { ActiveLimits() = previous_; }

}  // namespace wormgear
