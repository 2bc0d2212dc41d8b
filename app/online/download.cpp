// The download on libcurl's easy options, driven by a private multi handle so
// that another thread can wake and end it at once (curl_multi_wakeup): the
// program's exit never waits for a slow server.
#include "app/online/download.h"

#include <curl/curl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <memory>
#include <string_view>

#include "files/file_io.h"

namespace wormgear {

namespace {

// Longest wait in one poll; a cancel wakes it at once, so this only bounds
// how long a lost wake-up could go unnoticed.
constexpr int kPollMs = 1000;

void InitialiseLibcurlOnce() {
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    (void)initialised;
}

// The scheme is checked here, not guessed: libcurl takes "7.6" for a host.
bool HasWebScheme(std::string_view url) {
    const auto startsWith = [url](std::string_view prefix) {
        if (url.size() < prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(url[i])) != prefix[i]) return false;
        return true;
    };
    return startsWith("http://") || startsWith("https://");
}

struct Transfer {
    std::string body;
    std::size_t maxBodyBytes = 0;
    std::size_t headerBytes = 0;
    std::size_t maxHeaderBytes = 0;
};

std::size_t TakeBody(char* data, std::size_t size, std::size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    const std::size_t bytes = size * count;
    // Returning less than was handed over ends the transfer with a write error.
    if (bytes > transfer.maxBodyBytes - transfer.body.size()) return 0;
    transfer.body.append(data, bytes);
    return bytes;
}

std::size_t TakeHeader(char* data, std::size_t size, std::size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    const std::size_t bytes = size * count;
    if (bytes > transfer.maxHeaderBytes - transfer.headerBytes) return 0;
    transfer.headerBytes += bytes;
    // A status line starts a new response (after a redirect or an interim
    // 1xx); only the last response's body is the download.
    if (std::string_view(data, bytes).starts_with("HTTP/")) transfer.body.clear();
    return bytes;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

}  // namespace

// Makes a running transfer reachable by DownloadCancel::cancel for its lifetime.
class TransferRegistration {
 public:
    TransferRegistration(DownloadCancel* cancel, CURLM* multi) : cancel_(cancel) {
        if (cancel_ == nullptr) return;
        std::lock_guard lock(cancel_->mutex_);
        cancel_->running_ = multi;
    }
    ~TransferRegistration() {
        if (cancel_ == nullptr) return;
        std::lock_guard lock(cancel_->mutex_);
        cancel_->running_ = nullptr;
    }
    TransferRegistration(const TransferRegistration&) = delete;
    TransferRegistration& operator=(const TransferRegistration&) = delete;

 private:
    DownloadCancel* cancel_;
};

void DownloadCancel::cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    if (running_ != nullptr) curl_multi_wakeup(static_cast<CURLM*>(running_));
}

FetchResult Fetch(const std::string& url, const DownloadLimits& limits, DownloadCancel* cancel) {
    FetchResult result;
    if (!HasWebScheme(url)) {
        result.error = "not an http or https address";
        return result;
    }
    if (cancel != nullptr && cancel->cancelled()) {
        result.error = "cancelled";
        return result;
    }
    InitialiseLibcurlOnce();
    const std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    const std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) {
        result.error = "libcurl could not start";
        return result;
    }

    Transfer transfer;
    transfer.maxBodyBytes = limits.maxBodyBytes;
    transfer.maxHeaderBytes = limits.maxHeaderBytes;
    char errorText[CURL_ERROR_SIZE] = {};
    CURL* handle = easy.get();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, static_cast<long>(limits.maxRedirects));
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
    curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);  // 4xx and 5xx are failures
    curl_easy_setopt(handle, CURLOPT_HTTP09_ALLOWED, 0L);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "wormgear");
    // No signals (the program has threads), and no waiting for a name lookup
    // still running when the transfer is ended.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_QUICK_EXIT, 1L);
    if (!limits.certificateAuthorities.empty()) {
        curl_easy_setopt(handle, CURLOPT_CAINFO, limits.certificateAuthorities.c_str());
        curl_easy_setopt(handle, CURLOPT_CAPATH, nullptr);
    }
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, TakeBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, TakeHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);

    if (curl_multi_add_handle(multi.get(), handle) != CURLM_OK) {
        result.error = "libcurl could not start";
        return result;
    }
    CURLcode outcome = CURLE_OK;
    bool finished = false;
    {
        const TransferRegistration registration(cancel, multi.get());
        for (;;) {
            int running = 0;
            if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
            if (running == 0) {
                int left = 0;
                while (const CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
                    if (message->msg == CURLMSG_DONE) {
                        outcome = message->data.result;
                        finished = true;
                    }
                }
                break;
            }
            if (cancel != nullptr && cancel->cancelled()) break;
            if (curl_multi_poll(multi.get(), nullptr, 0, kPollMs, nullptr) != CURLM_OK) break;
        }
    }
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &result.status);
    const char* contentType = nullptr;
    if (curl_easy_getinfo(handle, CURLINFO_CONTENT_TYPE, &contentType) == CURLE_OK && contentType != nullptr)
        result.contentType = contentType;
    curl_multi_remove_handle(multi.get(), handle);

    if (!finished) {
        result.error = cancel != nullptr && cancel->cancelled() ? "cancelled" : "transfer did not finish";
    } else if (outcome != CURLE_OK) {
        result.error = errorText[0] != '\0' ? errorText : curl_easy_strerror(outcome);
    } else if (result.status < 200 || result.status > 299) {
        result.error = "HTTP status " + std::to_string(result.status);
    } else {
        result.succeeded = true;
        result.body = std::move(transfer.body);
    }
    return result;
}

void ReplaceOwnFile(const std::string& path, const std::string& bytes) {
    struct stat info;
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) && ::unlink(path.c_str()) != 0 && errno != ENOENT)
        throw FileError(FileError::Action::Replace, path, errno);
    ReplaceFileAtomically(path, bytes);
}

bool Download(const std::string& url, const std::string& path, const DownloadLimits& limits, DownloadCancel* cancel) {
    const FetchResult fetched = Fetch(url, limits, cancel);
    if (!fetched.succeeded) return false;
    try {
        ReplaceOwnFile(path, fetched.body);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace wormgear
