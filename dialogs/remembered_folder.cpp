// The starting folder of the file dialogs and its memory between runs.
#include "dialogs/remembered_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <exception>

#include "files/file_io.h"
#include "files/qt_path.h"

namespace wormgear {

namespace {

// A folder's path is short; anything larger is not a file of ours.
constexpr std::uint64_t kMemoryFileLimit = 64 * 1024;

bool IsFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

}  // namespace

QString DefaultDialogFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return IsFolder(documents) ? documents : QDir::homePath();
}

QString DialogStartPath(const QString& proposed, const QString& rememberedFolder, const QString& defaultFolder) {
    const QFileInfo file(proposed);
    // "sub/x.cqb" or "/srv/a/x.cqb": the caller chose the folder.
    if (proposed.contains(QLatin1Char('/'))) return file.absoluteFilePath();
    const QString folder = IsFolder(rememberedFolder) ? rememberedFolder : defaultFolder;
    return proposed.isEmpty() ? folder : QDir(folder).filePath(proposed);
}

RememberedFolder::RememberedFolder(QString file) : file_(std::move(file)) {
    try {
        const QString kept = FromLocalPath(ReadWholeFile(LocalPath(file_), kMemoryFileLimit)).trimmed();
        if (QDir::isAbsolutePath(kept)) folder_ = kept;
    } catch (const std::exception&) {
        // Nothing remembered yet, or a memory that cannot be read: start afresh.
    }
}

void RememberedFolder::remember(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (folder == folder_) return;
    folder_ = folder;
    if (file_.isEmpty()) return;
    try {
        ReplaceFileAtomically(LocalPath(file_), LocalPath(folder_) + '\n', LinkHandling::ReplaceLink);
    } catch (const std::exception&) {
        // The folder stays remembered for this run; the file chosen is what matters.
    }
}

RememberedFolder ProgramDialogFolder(const QString& programDirectory) {
    try {
        return RememberedFolder(DataFile(programDirectory, kDialogFolderFileName));
    } catch (const std::exception&) {
        return RememberedFolder();
    }
}

}  // namespace wormgear
