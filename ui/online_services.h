// What the main window needs of the vendor's web server and the updater. The
// program fills these from the online services; left empty, a service does
// nothing (no notice, no version message, no updater), as without a network.
// The network steps only start here: their results come back later, on the
// window's thread, so the window never waits for the server.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace wormgear {

struct OnlineServices {
    // Starts fetching the published notice. `show` is called later, on the
    // window's thread, with the line to show when one arrived; never once
    // `receiver` is gone.
    std::function<void(const QString& programDirectory, QObject* receiver, std::function<void(const QString&)> show)>
        fetchNoticeLine;
    // Reads the installed version now (throws when "v.txt" is missing or
    // unreadable) and starts fetching the published one. `differs` is called
    // later, on the window's thread, when the published version arrived and
    // differs; never once `receiver` is gone.
    std::function<void(const QString& programDirectory, QObject* receiver, std::function<void()> differs)> checkVersion;
    // The text of the box shown when the versions differ.
    QString newVersionMessage;
    // Empty when the updater beside the program can be started, else the
    // message that names it.
    std::function<QString(const QString& programDirectory)> updaterProblem;
    // Starts the updater without waiting for it: empty when it started, else
    // the message that names it.
    std::function<QString(const QString& programDirectory)> startUpdater;
};

}  // namespace wormgear
