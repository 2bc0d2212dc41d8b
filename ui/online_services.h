// What the main window needs of the vendor's web server and the updater. The
// program fills these from the online services; left empty, a service does
// nothing (no notice, no version message, no updater), as without a network.
#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace wormgear {

struct OnlineServices {
    // The first line of the published notice, or nothing when the download
    // failed. Throws when the downloaded file cannot be read.
    std::function<std::optional<QString>(const QString& programDirectory)> fetchNoticeLine;
    // True when the published version differs from "v.txt". Throws when "v.txt"
    // is missing or a downloaded file cannot be read.
    std::function<bool(const QString& programDirectory)> publishedVersionDiffers;
    // The text of the box shown when the versions differ.
    QString newVersionMessage;
    // Starts "Project11.exe" beside the program without waiting for it.
    std::function<void(const QString& programDirectory)> startUpdater;
};

}  // namespace wormgear
