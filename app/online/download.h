// One HTTP or HTTPS download into memory, on libcurl, with hard limits, and
// the replacement of a file the program keeps for itself. No Qt: the online
// services run it on a thread of their own, the tests call it directly.
//
//   Fetch("http://127.0.0.1:8080/uploads/v.txt", {})
//     -> {.succeeded = true, .contentType = "text/plain", .body = "7.6\r\n"}
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>

namespace wormgear {

struct DownloadLimits {
    // Name lookup and connection, for each connection made.
    std::chrono::milliseconds connectTimeout{3000};
    // Everything, redirects included, from the call to the last byte.
    std::chrono::milliseconds totalTimeout{10000};
    // The published files are one-line texts; 1 MiB is far beyond any of them.
    std::size_t maxBodyBytes = 1024 * 1024;
    // Response heads, every redirect's included: a server that sends header
    // lines without end is cut off here rather than filling the memory.
    std::size_t maxHeaderBytes = 256 * 1024;
    // Redirects followed, to http and https addresses only.
    int maxRedirects = 5;
    // A PEM file of the certificate authorities an https server must be
    // signed by; empty: the system's certificate store. Tests name their own.
    std::string certificateAuthorities;
};

// Ends a running Fetch at once from another thread: the transfer's wait is
// woken, the connection dropped, and Fetch returns a failure. Once cancelled,
// every later Fetch given it fails at its start.
class DownloadCancel {
 public:
    void cancel();
    bool cancelled() const { return cancelled_.load(); }

 private:
    friend class TransferRegistration;
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    void* running_ = nullptr;  // the running transfer's libcurl multi handle
};

struct FetchResult {
    bool succeeded = false;
    // The final response's status and Content-Type ("" when it sent none).
    long status = 0;
    std::string contentType;
    // The final response's body; empty when the fetch failed.
    std::string body;
    // libcurl's reason for a failure, for diagnostics; never shown.
    std::string error;
};

// GET url, following redirects. Succeeds only when the final response has a
// 2xx status and its whole body, within the limits, has arrived. Proxies come
// from the environment as libcurl reads them (http_proxy, https_proxy,
// all_proxy, no_proxy). Never throws.
FetchResult Fetch(const std::string& url, const DownloadLimits& limits, DownloadCancel* cancel = nullptr);

// Replaces a file the program keeps for itself (a downloaded copy beside the
// program) with `bytes`: written to a temporary file beside it, flushed, and
// renamed over it. A link placed under the name is removed, never written
// through, so its target stays as it is. Throws FileError.
void ReplaceOwnFile(const std::string& path, const std::string& bytes);

// Fetch, then ReplaceOwnFile(path, body) on success: the file holds either its
// old content or the whole new body. True only when both succeeded; a failed
// write counts as a failed download. Never throws.
bool Download(const std::string& url, const std::string& path, const DownloadLimits& limits,
              DownloadCancel* cancel = nullptr);

}  // namespace wormgear
