// The program's online services: the notice line shown along the top of the
// main window, the check of the installed version against the published one,
// and the launch of the separate updater. All of them block the calling thread.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace wormgear {

// Base address of the vendor's server, one for both published resources, without
// a trailing slash: the environment variable WORMGEAR_SERVER when it is set and not
// empty, else kDefaultServerBaseAddress.
// WORMGEAR_SERVER="http://updates.example.com:8080/" -> "http://updates.example.com:8080"
inline constexpr const char* kDefaultServerBaseAddress = "http://127.0.0.1:8080";
QString ServerBaseAddress();

// Blocking HTTP GET of url into path: connect time-out 3 s, whole download 10 s,
// a body over 1 MiB refused, an HTTP error status counted as a failure, up to five
// redirects followed (plain http only). The body goes to a temporary file that is
// renamed over path, so path holds either its old content or the whole new body.
// Never throws; true only on complete success. It runs no event loop: the caller's
// other events wait until it returns.
bool Download(const QString& url, const QString& path);

// First line of a file, bytes as they are: it ends before the first LF, the first
// CR LF, the first byte 26 or the end of the file; a CR not followed by LF is
// left out. "7.6\r\n8" -> "7.6", "7.\r6" -> "7.6", "" -> "".
// Throws std::runtime_error when the file cannot be opened or read.
QByteArray FirstLine(const QString& path);

// The notice line of the creation step: downloads "/uploads/guanggao.txt" to
// "gg" in the data folder (DataFile) and returns its first line, decoded as UTF-8 when it is
// valid UTF-8 and as GB18030 otherwise; the text is returned as it is, to be
// shown as plain text. nullopt when the download fails. Throws
// std::runtime_error when "gg" cannot be read after a successful download.
std::optional<QString> FetchNoticeLine(const QString& programDirectory);

// The version check of the show step: reads the first line of programDirectory +
// "v.txt" (throws std::runtime_error when it is missing or unreadable), downloads
// "/uploads/v.txt" to "v-up.txt" in the data folder (DataFile), and returns true when the
// download succeeded and the published first line differs from the installed one
// in any byte or in length. Throws when "v-up.txt" cannot be read after a
// successful download.
bool PublishedVersionDiffers(const QString& programDirectory);

// Shown (plain box, OK button) when PublishedVersionDiffers is true:
// "程序有新版本需要更新，请点击“维护-软件更新”".
QString NewVersionMessage();

// Starts programDirectory + "Project11.exe" as a separate process, without a
// shell and without arguments, in the program directory, and does not wait for
// it. Never throws; returns whether the process started.
bool StartUpdater(const QString& programDirectory);

}  // namespace wormgear
