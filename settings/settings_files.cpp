// Settings-file commands: consistent, checked, all-or-nothing copies of
// coefficient databases.
#include "settings/settings_files.h"

#include <unistd.h>

#include <QSqlQuery>

#include "files/file_io.h"
#include "files/qt_path.h"
#include "settings/coefficient_store.h"
#include "settings/settings_text.h"
#include "translations/error_text.h"

namespace wormgear {
namespace {

const QString kSettingsFilter = QStringLiteral("*.ccq");
constexpr const char* kSettingsExtension = ".ccq";

// Puts `image` in place of the database file `path`. What SQLite left beside
// the old file (the journal of an interrupted write, a write-ahead log) would
// be read into the new one, so an interrupted write is rolled back first and
// whatever is left of it goes before the new file takes the name.
void InstallDatabaseFile(const std::string& path, const std::string& image, LinkHandling links) {
    try {
        CoefficientConnection old(FromLocalPath(path), CoefficientAccess::Read);
        QSqlQuery(QStringLiteral("SELECT count(*) FROM sqlite_master"), old.database());
    } catch (const CoefficientStoreError&) {
        // Not a usable database: nothing of it is worth keeping.
    }
    for (const char* sidecar : {"-journal", "-wal", "-shm"}) ::unlink((path + sidecar).c_str());
    ReplaceFileAtomically(path, image, links);
}

// Takes the copy of the source, checks it, installs it as db1.mdb; true when
// an installation was tried.
bool ReplaceWorkingDatabase(Dialogs& dialogs, const QString& source, CoefficientAccess sourceAccess,
                            const QString& programDirectory, char separator, const QString& refusedText) {
    std::string image;
    try {
        image = CoefficientFileSnapshot(source, sourceAccess);
        CheckCoefficientImage(image, separator);
    } catch (const CoefficientStoreError& error) {
        dialogs.message(ApplicationTitle(),
                        MessageWithDetail(refusedText, FileDetail(source, QString::fromUtf8(error.what()))));
        return false;
    }
    QString reason;
    try {
        // db1.mdb is the program's own: a link placed there is replaced, the
        // file it led to left alone.
        InstallDatabaseFile(LocalPath(WorkingDatabasePath(programDirectory)), image, LinkHandling::ReplaceLink);
    } catch (const CoefficientStoreError& error) {
        reason = QString::fromUtf8(error.what());
    } catch (const FileError& error) {
        reason = FileErrorReason(error);
    }
    if (!reason.isEmpty()) {
        dialogs.message(ApplicationTitle(),
                        MessageWithDetail(SettingsText::tr("计算法则参数文件 %1 未能替换，参数保持不变。")
                                              .arg(QLatin1String(kCoefficientDatabaseName)),
                                          FileDetail(ShownWorkingDatabasePath(programDirectory), reason)));
    }
    return true;
}

}  // namespace

void SaveUserSettings(Dialogs& dialogs, const QString& programDirectory) {
    const std::optional<QString> chosen = dialogs.saveFileName(kSettingsFilter, QString());
    if (!chosen) return;
    // Picking an existing settings file overwrites it: "set1.ccq" stays.
    const QString target = WithExtension(*chosen, kSettingsExtension);
    QString detail;
    try {
        const std::string image = CoefficientFileSnapshot(WorkingDatabasePath(programDirectory),
                                                          CoefficientAccess::Read);
        // The user's name may be a link to the file meant.
        InstallDatabaseFile(ResolveLinks(LocalPath(target)), image, LinkHandling::ReplaceLink);
    } catch (const CoefficientStoreError& error) {
        detail = FileDetail(ShownWorkingDatabasePath(programDirectory), QString::fromUtf8(error.what()));
    } catch (const FileError& error) {
        detail = FileDetail(target, FileErrorReason(error));
    }
    if (!detail.isEmpty())
        dialogs.message(ApplicationTitle(), MessageWithDetail(SettingsText::tr("用户设置未能保存。"), detail));
}

bool RestoreDefaultSettings(Dialogs& dialogs, const QString& programDirectory, char decimalSeparator) {
    return ReplaceWorkingDatabase(
        dialogs, ProgramFile(programDirectory, kDefaultSettingsName), CoefficientAccess::ReadOnly, programDirectory,
        decimalSeparator,
        SettingsText::tr("默认设置文件 %1 不可用，计算法则参数未还原。").arg(QLatin1String(kDefaultSettingsName)));
}

bool LoadUserSettings(Dialogs& dialogs, const QString& programDirectory, char decimalSeparator) {
    const std::optional<QString> chosen = dialogs.openFileName(kSettingsFilter);
    if (!chosen) return false;
    return ReplaceWorkingDatabase(dialogs, *chosen, CoefficientAccess::ReadOnly, programDirectory, decimalSeparator,
                                  SettingsText::tr("所选文件不是可用的计算法则参数文件，未加载。"));
}

}  // namespace wormgear
