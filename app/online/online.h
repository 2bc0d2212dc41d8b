// The program's online services, each as one blocking step: the notice line
// shown along the top of the main window, the published version compared
// with the installed one, and the launch of the separate updater. The window
// never calls the network steps itself: OnlineClient (online_client.h) runs
// them on a thread of its own.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>
#include <string_view>

#include "app/online/download.h"

namespace wormgear {

// Base address of the vendor's server, one for both published resources, without
// a trailing slash: the environment variable WORMGEAR_SERVER when it is set and not
// empty, else kDefaultServerBaseAddress. http and https addresses both work.
// WORMGEAR_SERVER="https://updates.example.com:8443/" -> "https://updates.example.com:8443"
inline constexpr const char* kDefaultServerBaseAddress = "http://127.0.0.1:8080";
QString ServerBaseAddress();

// Where a file the program downloads for itself ("gg", "v-up.txt") lies:
// beside a writable program, else in the user's data folder (DataFile).
// Throws DataFolderError or FileError when that folder cannot be used.
QString DownloadedFilePath(const QString& programDirectory, std::string_view fileName);

// First line (FirstLineOf) of a file, bytes as they are. Throws FileError when
// the file is missing, not a regular file, unreadable or over 1 MiB.
QByteArray FirstLine(const QString& path);

// The text of a published notice's first line as the window shows it: UTF-8
// when the bytes are valid UTF-8 (a leading byte-order mark dropped), else the
// Chinese national encoding GB18030; control characters, line and paragraph
// separators and the bidirectional controls (U+202E ...) dropped; at most
// kMaxNoticeCharacters kept. Nothing when the line holds markup.
// "\xbb\xb6\xd3\xad" -> "欢迎", "a\u202Eb\tc" -> "abc", "<!DOCTYPE html>" -> nothing.
inline constexpr qsizetype kMaxNoticeCharacters = 256;  // far more than the label shows
std::optional<QString> NoticeText(QByteArrayView firstLine);

// The notice line: downloads serverBaseAddress + "/uploads/guanggao.txt" and,
// when the response is a plain text whose first line holds no markup, replaces
// DownloadedFilePath(programDirectory, "gg") with it and returns NoticeText of
// its first line. Nothing when any of that fails, the write included.
std::optional<QString> FetchNoticeLine(const QString& serverBaseAddress, const QString& programDirectory,
                                       const DownloadLimits& limits, DownloadCancel* cancel = nullptr);

// The published version: downloads serverBaseAddress + "/uploads/v.txt" and,
// when the response is a plain text whose first line IsSaneVersion, replaces
// DownloadedFilePath(programDirectory, "v-up.txt") with it and returns that
// line. Nothing when any of that fails, the write included.
std::optional<QByteArray> FetchPublishedVersion(const QString& serverBaseAddress, const QString& programDirectory,
                                                const DownloadLimits& limits, DownloadCancel* cancel = nullptr);

// The first line of "v.txt" beside the program; throws FileError when it is
// missing or unreadable (the show step then fails).
QByteArray InstalledVersion(const QString& programDirectory);

// Shown (plain box, OK button) when the published version differs from the
// installed one: "程序有新版本需要更新，请点击“维护-软件更新”".
QString NewVersionMessage();

// The updater, a separate program beside this one; the name is the same on
// every platform.
inline constexpr const char* kUpdaterFileName = "Project11.exe";

// Empty when the updater lies beside the program as an executable file, else
// the message that names it and says what is wrong.
QString UpdaterProblem(const QString& programDirectory);

// Starts the updater as a separate process, without a shell and without
// arguments, in the program directory, and does not wait for it. Empty when it
// started, else the message that names it. Never throws.
QString StartUpdater(const QString& programDirectory);

}  // namespace wormgear
