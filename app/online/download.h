// The limits of the blocking HTTP download, and the download with explicit
// limits. Download(url, path) of online.h uses the current limits.
#pragma once

#include <QString>
#include <chrono>

namespace wormgear {

struct DownloadLimits {
    // Name lookup and TCP connection, for each connection made.
    std::chrono::milliseconds connectTimeout{3000};
    // Everything, redirects included, from the call to the written file.
    std::chrono::milliseconds totalTimeout{10000};
    // The published files are one-line texts; 1 MiB is far beyond any of them.
    qint64 maxBodyBytes = 1024 * 1024;
    int maxRedirects = 5;
};

bool Download(const QString& url, const QString& path, const DownloadLimits& limits);

// The limits Download(url, path) uses: the defaults above unless a
// ScopedDownloadLimits is alive.
DownloadLimits CurrentDownloadLimits();

// Replaces the limits of Download(url, path) for its lifetime, so that a test can
// let a slow server run into the time-out quickly. One thread only.
class ScopedDownloadLimits {
 public:
    explicit ScopedDownloadLimits(const DownloadLimits& limits);
    ~ScopedDownloadLimits();
    ScopedDownloadLimits(const ScopedDownloadLimits&) = delete;
    ScopedDownloadLimits& operator=(const ScopedDownloadLimits&) = delete;

 private:
    DownloadLimits previous_;
};

}  // namespace wormgear
