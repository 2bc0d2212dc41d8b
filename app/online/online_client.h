// The online services of one run of the program, off the window's thread: the
// downloads run one after the other, in the order asked, on a thread of the
// client's own, and each result comes back as a call on the thread that made
// the client (the window's), so the window never waits for the network.
//
//   OnlineClient client(ServerBaseAddress());
//   client.fetchNoticeLine(dir, window, [&](const QString& line) { ... });
//   client.checkVersion(dir, window, [&] { /* show the version message */ });
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "app/online/download.h"

namespace wormgear {

class OnlineClient : public QObject {
 public:
    explicit OnlineClient(QString serverBaseAddress, DownloadLimits limits = {});
    // Ends a running transfer at once, drops the queued ones and waits only
    // for the thread to leave, which takes no network wait.
    ~OnlineClient() override;
    OnlineClient(const OnlineClient&) = delete;
    OnlineClient& operator=(const OnlineClient&) = delete;

    // Queues FetchNoticeLine. `arrived` gets the line to show, only when one
    // arrived, and not once `receiver` is gone.
    void fetchNoticeLine(const QString& programDirectory, QObject* receiver,
                         std::function<void(const QString&)> arrived);

    // Reads the installed version now (throws FileError when "v.txt" is
    // missing or unreadable) and queues FetchPublishedVersion. `differs` is
    // called when the published version arrived and differs from the
    // installed one in any byte or in length, not once `receiver` is gone. A
    // check still waiting in the queue for the same receiver is brought up to
    // date instead of queued a second time.
    void checkVersion(const QString& programDirectory, QObject* receiver, std::function<void()> differs);

    // True while a download asked for has not yet handed back its result.
    bool busy() const { return undelivered_ > 0; }

 private:
    enum class Kind { Notice, Version };
    struct Job {
        Kind kind = Kind::Notice;
        QString programDirectory;
        QByteArray installedVersion;
        QPointer<QObject> receiver;
        std::function<void(const QString&)> noticeArrived;
        std::function<void()> versionDiffers;
    };

    void enqueue(Job job);
    void run();
    // Runs the job's download; returns the call to make on the client's thread.
    std::function<void()> work(const Job& job);

    const QString server_;
    const DownloadLimits limits_;
    DownloadCancel cancel_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> queue_;
    bool stopping_ = false;
    std::thread worker_;
    int undelivered_ = 0;  // touched on the client's thread only
};

}  // namespace wormgear
