// The notice line, the version check and the updater launch, on top of the
// blocking download. The files they read lie in the program directory, the
// downloads where the program keeps the files it writes (DataFile).
#include "app/online/online.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>

#include <stdexcept>

#include "files/qt_path.h"

namespace wormgear {

namespace {

// The one translation context of the online services.
class OnlineText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::Online)
};

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kEndOfFileMark = 26;  // Ctrl-Z, the old DOS end-of-text byte

std::runtime_error ReadError(const QString& sentence, const QString& path) {
    return std::runtime_error(sentence.arg(path).toStdString());
}

// The notice comes from a server the program does not control: UTF-8 when the
// bytes are valid UTF-8 (a leading byte-order mark dropped), else the Chinese
// national encoding GB18030, which decodes any byte sequence.
QString DecodeNotice(const QByteArray& line) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8.decode(line);
    if (!utf8.hasError()) return asUtf8;
    QStringDecoder gb18030("GB18030", QStringDecoder::Flag::Stateless);
    if (!gb18030.isValid()) return asUtf8;  // no GB18030 codec in this Qt build
    return gb18030.decode(line);
}

}  // namespace

QString NewVersionMessage() { return OnlineText::tr("程序有新版本需要更新，请点击“维护-软件更新”"); }

QString ServerBaseAddress() {
    QString address = qEnvironmentVariable("WORMGEAR_SERVER").trimmed();
    if (address.isEmpty()) address = QString::fromLatin1(kDefaultServerBaseAddress);
    while (address.endsWith('/')) address.chop(1);
    return address;
}

QByteArray FirstLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw ReadError(OnlineText::tr("无法打开文件“%1”"), path);
    QByteArray line;
    bool carriageReturnPending = false;  // a CR whose next byte is not read yet
    char buffer[4096];
    for (;;) {
        const qint64 count = file.read(buffer, sizeof buffer);
        if (count < 0) throw ReadError(OnlineText::tr("无法读取文件“%1”"), path);
        if (count == 0) return line;  // a CR at the very end is a lone one: left out
        for (qint64 i = 0; i < count; ++i) {
            const char byte = buffer[i];
            if (carriageReturnPending) {
                carriageReturnPending = false;
                if (byte == kLineFeed) return line;  // CR LF
            }
            if (byte == kLineFeed || byte == kEndOfFileMark) return line;
            if (byte == kCarriageReturn) {
                carriageReturnPending = true;
            } else {
                line.append(byte);
            }
        }
    }
}

std::optional<QString> FetchNoticeLine(const QString& programDirectory) {
    const QString path = DataFile(programDirectory, "gg");
    if (!Download(ServerBaseAddress() + "/uploads/guanggao.txt", path)) return std::nullopt;
    return DecodeNotice(FirstLine(path));
}

bool PublishedVersionDiffers(const QString& programDirectory) {
    const QByteArray installed = FirstLine(ProgramFile(programDirectory, "v.txt"));
    const QString target = DataFile(programDirectory, "v-up.txt");
    if (!Download(ServerBaseAddress() + "/uploads/v.txt", target)) return false;
    return FirstLine(target) != installed;
}

bool StartUpdater(const QString& programDirectory) {
    try {
        return QProcess::startDetached(ProgramFile(programDirectory, "Project11.exe"), {}, programDirectory);
    } catch (...) {
        return false;
    }
}

}  // namespace wormgear
