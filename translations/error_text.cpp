// The file layer's sentences through the catalogue.
#include "translations/error_text.h"

#include <QCoreApplication>
#include <cerrno>

#include "files/file_io.h"

namespace wormgear {

namespace {

class FilesText {
    Q_DECLARE_TR_FUNCTIONS(wormgear::Files)
};

constexpr const char* kContext = "wormgear::Files";

// Every text the file layer words a sentence with, character for character
// as files/file_io.cpp and files/program_files.cpp write them (the tests
// build each sentence through the file layer and compare): looked up in the
// catalogue by the text itself.
[[maybe_unused]] const char* const kFileTexts[] = {
    // what was attempted
    QT_TRANSLATE_NOOP("wormgear::Files", "无法打开文件"),
    QT_TRANSLATE_NOOP("wormgear::Files", "无法读取文件"),
    QT_TRANSLATE_NOOP("wormgear::Files", "不是普通文件"),
    QT_TRANSLATE_NOOP("wormgear::Files", "文件过大"),
    QT_TRANSLATE_NOOP("wormgear::Files", "无法在目标文件夹中创建文件"),
    QT_TRANSLATE_NOOP("wormgear::Files", "无法写入文件"),
    QT_TRANSLATE_NOOP("wormgear::Files", "无法替换文件"),
    QT_TRANSLATE_NOOP("wormgear::Files", "缺少文件名"),
    QT_TRANSLATE_NOOP("wormgear::Files", "无法使用数据文件夹"),
    QT_TRANSLATE_NOOP("wormgear::Files",
                      "无法确定用户的数据文件夹：没有设置 HOME，用户数据库中也没有当前用户的主文件夹"),
    // the system's reasons
    QT_TRANSLATE_NOOP("wormgear::Files", "没有那个文件或目录"),
    QT_TRANSLATE_NOOP("wormgear::Files", "权限不够"),
    QT_TRANSLATE_NOOP("wormgear::Files", "不允许的操作"),
    QT_TRANSLATE_NOOP("wormgear::Files", "设备上没有空间"),
    QT_TRANSLATE_NOOP("wormgear::Files", "超出磁盘配额"),
    QT_TRANSLATE_NOOP("wormgear::Files", "只读文件系统"),
    QT_TRANSLATE_NOOP("wormgear::Files", "输入/输出错误"),
    QT_TRANSLATE_NOOP("wormgear::Files", "是一个目录"),
    QT_TRANSLATE_NOOP("wormgear::Files", "不是目录"),
    QT_TRANSLATE_NOOP("wormgear::Files", "文件名过长"),
    QT_TRANSLATE_NOOP("wormgear::Files", "文件已存在"),
    QT_TRANSLATE_NOOP("wormgear::Files", "符号链接的层数过多"),
    QT_TRANSLATE_NOOP("wormgear::Files", "设备或资源忙"),
    QT_TRANSLATE_NOOP("wormgear::Files", "文本文件忙"),
    QT_TRANSLATE_NOOP("wormgear::Files", "打开的文件过多"),
    QT_TRANSLATE_NOOP("wormgear::Files", "系统中打开的文件过多"),
    QT_TRANSLATE_NOOP("wormgear::Files", "无效的跨设备链接"),
    QT_TRANSLATE_NOOP("wormgear::Files", "没有那个设备或地址"),
    QT_TRANSLATE_NOOP("wormgear::Files", "没有那个设备"),
    QT_TRANSLATE_NOOP("wormgear::Files", "资源暂时不可用"),
    QT_TRANSLATE_NOOP("wormgear::Files", "无效的参数"),
    QT_TRANSLATE_NOOP("wormgear::Files", "无法分配内存"),
    QT_TRANSLATE_NOOP("wormgear::Files", "过旧的文件句柄"),
    QT_TRANSLATE_NOOP("wormgear::Files", "不支持的操作"),
};

QString Translated(const std::string& text) { return QCoreApplication::translate(kContext, text.c_str()); }

// "ACTION“PATH”" or "ACTION“PATH”：REASON", as the file layer writes it.
QString Sentence(const std::string& action, const std::string& path, const std::string& reason) {
    return reason.empty()
               ? FilesText::tr("%1“%2”").arg(Translated(action), QString::fromStdString(path))
               : FilesText::tr("%1“%2”：%3").arg(Translated(action), QString::fromStdString(path), Translated(reason));
}

// The action texts a sentence may begin with: those of FileError, which its
// reason() gives without a system error, and the data folder's.
std::vector<std::string> SentenceStarts() {
    std::vector<std::string> starts;
    using A = FileError::Action;
    for (A action : {A::Open, A::Read, A::NotRegular, A::TooLarge, A::Create, A::Write, A::Replace, A::NoFileName})
        starts.push_back(FileError(action, std::string()).reason());
    starts.push_back("无法使用数据文件夹");
    return starts;
}

}  // namespace

QString SystemErrorReason(int systemError) { return Translated(SystemErrorText(systemError)); }

QString FileErrorReason(const FileError& error) { return Translated(error.reason()); }

QString FileSentenceText(const std::string& sentence) {
    static const std::string open = "“", close = "”", colon = "：";
    static const std::vector<std::string> starts = SentenceStarts();
    for (const std::string& start : starts) {
        if (sentence.compare(0, start.size() + open.size(), start + open) != 0) continue;
        const std::size_t from = start.size() + open.size();
        // The path may hold the marks of its own. No reason ends with a
        // closing quote: a sentence that does has none, and its path runs to
        // the end; else the reason follows the last closing quote and colon.
        if (sentence.size() >= from + close.size() &&
            sentence.compare(sentence.size() - close.size(), close.size(), close) == 0) {
            return Sentence(start, sentence.substr(from, sentence.size() - close.size() - from), std::string());
        }
        const std::size_t reasonMark = sentence.rfind(close + colon);
        if (reasonMark != std::string::npos && reasonMark >= from) {
            return Sentence(start, sentence.substr(from, reasonMark - from),
                            sentence.substr(reasonMark + close.size() + colon.size()));
        }
    }
    return Translated(sentence);
}

QString ErrorText(const std::exception& error) {
    if (const auto* file = dynamic_cast<const FileError*>(&error)) {
        // Built from its parts, so a path that holds the sentence's marks
        // cannot confuse it.
        const std::string action = FileError(file->action(), std::string()).reason();
        return Sentence(action, file->path(), file->systemError() != 0 ? SystemErrorText(file->systemError()) : "");
    }
    return FileSentenceText(error.what());
}

}  // namespace wormgear
