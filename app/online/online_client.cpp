// One worker thread, a queue, and queued calls back to the client's thread.
#include "app/online/online_client.h"

#include <QMetaObject>
#include <system_error>

#include "app/online/online.h"

namespace wormgear {

OnlineClient::OnlineClient(QString serverBaseAddress, DownloadLimits limits)
    : server_(std::move(serverBaseAddress)), limits_(std::move(limits)) {}

OnlineClient::~OnlineClient() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    cancel_.cancel();
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void OnlineClient::fetchNoticeLine(const QString& programDirectory, QObject* receiver,
                                   std::function<void(const QString&)> arrived) {
    Job job;
    job.kind = Kind::Notice;
    job.programDirectory = programDirectory;
    job.receiver = receiver;
    job.noticeArrived = std::move(arrived);
    enqueue(std::move(job));
}

void OnlineClient::checkVersion(const QString& programDirectory, QObject* receiver, std::function<void()> differs) {
    QByteArray installed = InstalledVersion(programDirectory);
    {
        std::lock_guard lock(mutex_);
        for (Job& waiting : queue_) {
            if (waiting.kind == Kind::Version && waiting.receiver == receiver) {
                waiting.programDirectory = programDirectory;
                waiting.installedVersion = std::move(installed);
                waiting.versionDiffers = std::move(differs);
                return;
            }
        }
    }
    Job job;
    job.kind = Kind::Version;
    job.programDirectory = programDirectory;
    job.installedVersion = std::move(installed);
    job.receiver = receiver;
    job.versionDiffers = std::move(differs);
    enqueue(std::move(job));
}

void OnlineClient::enqueue(Job job) {
    {
        std::lock_guard lock(mutex_);
        // The thread starts with the first download, not with the program.
        // When the system cannot start one, the download is dropped, as
        // without a network: nothing is shown.
        if (!worker_.joinable()) {
            try {
                worker_ = std::thread([this] { run(); });
            } catch (const std::system_error&) {
                return;
            }
        }
        queue_.push_back(std::move(job));
    }
    ++undelivered_;
    wake_.notify_one();
}

std::function<void()> OnlineClient::work(const Job& job) {
    if (job.kind == Kind::Notice) {
        const std::optional<QString> notice = FetchNoticeLine(server_, job.programDirectory, limits_, &cancel_);
        if (!notice) return {};
        return [arrived = job.noticeArrived, line = *notice] { arrived(line); };
    }
    const std::optional<QByteArray> published = FetchPublishedVersion(server_, job.programDirectory, limits_, &cancel_);
    if (!published || *published == job.installedVersion) return {};
    return job.versionDiffers;
}

void OnlineClient::run() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            job = std::move(queue_.front());
            queue_.pop_front();
        }
        std::function<void()> delivery;
        try {
            delivery = work(job);
        } catch (...) {
            // A download that fails in any way shows nothing, as an unreachable server.
        }
        // The client outlives this thread, and a queued call still waiting when
        // the client goes is dropped with it.
        QMetaObject::invokeMethod(
            this,
            [this, receiver = std::move(job.receiver), delivery = std::move(delivery)] {
                --undelivered_;
                if (receiver && delivery) delivery();
            },
            Qt::QueuedConnection);
    }
}

}  // namespace wormgear
