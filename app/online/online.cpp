// The notice line, the version check and the updater launch, on top of the
// download. The files they read lie beside the program; the files they write
// are the two downloaded copies and nothing else, where the program keeps the
// files it writes (DataFile).
#include "app/online/online.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStringDecoder>

#include "app/online/published_text.h"
#include "files/file_io.h"
#include "files/qt_path.h"

namespace wormgear {

namespace {

// The one translation context of the online services.
class OnlineText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::Online)
};

// "v.txt" is a one-line text; anything over the download's own cap is not it.
constexpr std::uint64_t kMaxVersionFileBytes = 1024 * 1024;

// The notice comes from a server the program does not control: UTF-8 when the
// bytes are valid UTF-8, else GB18030, which decodes any byte sequence.
QString Decode(QByteArrayView line) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString asUtf8 = utf8.decode(line);
    if (!utf8.hasError()) return asUtf8;
    QStringDecoder gb18030("GB18030", QStringDecoder::Flag::Stateless);
    if (!gb18030.isValid()) return asUtf8;  // no GB18030 codec in this Qt build
    return gb18030.decode(line);
}

// Characters that would move, hide or reorder the rest of the line instead of
// being shown: controls (tab included), the line and paragraph separators, and
// the bidirectional marks, embeddings, overrides and isolates.
bool IsHiddenControl(char32_t c) {
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || c == 0x061c || c == 0x200e || c == 0x200f ||
           (c >= 0x2028 && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069);
}

std::string ToUrl(const QString& serverBaseAddress, const char* resource) {
    return (serverBaseAddress + QLatin1String(resource)).toStdString();
}

// The published resource as a plain text, or nothing.
std::optional<std::string> FetchPlainText(const QString& serverBaseAddress, const char* resource,
                                          const DownloadLimits& limits, DownloadCancel* cancel) {
    FetchResult fetched = Fetch(ToUrl(serverBaseAddress, resource), limits, cancel);
    if (!fetched.succeeded || !IsPlainTextType(fetched.contentType)) return std::nullopt;
    return std::move(fetched.body);
}

// A download counts only once its copy is safely on disk; a data folder that
// cannot be made is a failed download too.
bool Keep(const QString& programDirectory, std::string_view fileName, const std::string& bytes) {
    try {
        ReplaceOwnFile(LocalPath(DownloadedFilePath(programDirectory, fileName)), bytes);
        return true;
    } catch (...) {
        return false;
    }
}

QString UpdaterPath(const QString& programDirectory) { return ProgramFile(programDirectory, kUpdaterFileName); }

}  // namespace

QString NewVersionMessage() { return OnlineText::tr("程序有新版本需要更新，请点击“维护-软件更新”"); }

QString ServerBaseAddress() {
    QString address = qEnvironmentVariable("WORMGEAR_SERVER").trimmed();
    if (address.isEmpty()) address = QString::fromLatin1(kDefaultServerBaseAddress);
    while (address.endsWith('/')) address.chop(1);
    return address;
}

QString DownloadedFilePath(const QString& programDirectory, std::string_view fileName) {
    return DataFile(programDirectory, fileName);
}

QByteArray FirstLine(const QString& path) {
    return QByteArray::fromStdString(FirstLineOf(ReadWholeFile(LocalPath(path), kMaxVersionFileBytes)));
}

std::optional<QString> NoticeText(QByteArrayView firstLine) {
    const std::string_view bytes(firstLine.data(), static_cast<std::size_t>(firstLine.size()));
    if (HoldsMarkup(bytes)) return std::nullopt;
    const QString decoded = Decode(firstLine);
    QString shown;
    for (const char32_t c : decoded.toUcs4()) {
        if (IsHiddenControl(c)) continue;
        const QString character = QString::fromUcs4(&c, 1);
        if (shown.size() + character.size() > kMaxNoticeCharacters) break;
        shown += character;
    }
    return shown;
}

std::optional<QString> FetchNoticeLine(const QString& serverBaseAddress, const QString& programDirectory,
                                       const DownloadLimits& limits, DownloadCancel* cancel) {
    const std::optional<std::string> body = FetchPlainText(serverBaseAddress, "/uploads/guanggao.txt", limits, cancel);
    if (!body) return std::nullopt;
    const std::string line = FirstLineOf(*body);
    std::optional<QString> notice = NoticeText(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
    if (!notice || !Keep(programDirectory, "gg", *body)) return std::nullopt;
    return notice;
}

std::optional<QByteArray> FetchPublishedVersion(const QString& serverBaseAddress, const QString& programDirectory,
                                                const DownloadLimits& limits, DownloadCancel* cancel) {
    const std::optional<std::string> body = FetchPlainText(serverBaseAddress, "/uploads/v.txt", limits, cancel);
    if (!body) return std::nullopt;
    const std::string line = FirstLineOf(*body);
    if (!IsSaneVersion(line) || !Keep(programDirectory, "v-up.txt", *body)) return std::nullopt;
    return QByteArray::fromStdString(line);
}

QByteArray InstalledVersion(const QString& programDirectory) {
    return FirstLine(ProgramFile(programDirectory, "v.txt"));
}

QString UpdaterProblem(const QString& programDirectory) {
    const QString path = UpdaterPath(programDirectory);
    const QFileInfo updater(path);
    if (!updater.exists()) return OnlineText::tr("找不到升级程序“%1”。").arg(path);
    if (!updater.isFile() || !updater.isExecutable())
        return OnlineText::tr("升级程序“%1”不是可以运行的程序。").arg(path);
    return {};
}

QString StartUpdater(const QString& programDirectory) {
    const QString path = UpdaterPath(programDirectory);
    try {
        QProcess updater;
        updater.setProgram(path);
        updater.setWorkingDirectory(programDirectory);
        if (updater.startDetached()) return {};
        return OnlineText::tr("无法启动升级程序“%1”：%2").arg(path, updater.errorString());
    } catch (...) {
        return OnlineText::tr("无法启动升级程序“%1”。").arg(path);
    }
}

}  // namespace wormgear
