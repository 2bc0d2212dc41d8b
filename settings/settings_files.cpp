// Settings-file commands: checked, all-or-nothing copies of coefficient databases.
#include "settings/settings_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "files/qt_path.h"
#include "settings/coefficient_store.h"
#include "settings/settings_text.h"

namespace wormgear {
namespace {

const QString kSettingsFilter = QStringLiteral("*.ccq");
const QString kSettingsSuffix = QStringLiteral(".ccq");

QString WorkingDatabase(const QString& programDirectory) {
    return DataFile(programDirectory, kCoefficientDatabaseName);
}

// Checks the source, then copies it over db1.mdb; true when a copy was tried.
bool ReplaceWorkingDatabase(Dialogs& dialogs, const QString& source, const QString& programDirectory, char separator,
                            const QString& refusedText) {
    try {
        CheckUsableCoefficientFile(source, separator);
    } catch (const CoefficientStoreError& error) {
        dialogs.message(ApplicationTitle(),
                        refusedText.arg(QDir::toNativeSeparators(source), QString::fromUtf8(error.what())));
        return false;
    }
    QString failure;
    if (!CopyFileReplacing(source, WorkingDatabase(programDirectory), &failure)) {
        dialogs.message(ApplicationTitle(),
                        SettingsText::tr("无法用“%1”替换计算法则参数文件 %2：%3。参数保持不变。")
                            .arg(QDir::toNativeSeparators(source), QLatin1String(kCoefficientDatabaseName), failure));
    }
    return true;
}

}  // namespace

bool CopyFileReplacing(const QString& source, const QString& target, QString* failure) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *failure = SettingsText::tr("无法读取“%1”（%2）").arg(QDir::toNativeSeparators(source), in.errorString());
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        *failure = SettingsText::tr("无法读取“%1”（%2）").arg(QDir::toNativeSeparators(source), in.errorString());
        return false;
    }
    in.close();
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        *failure = SettingsText::tr("无法写入“%1”（%2）").arg(QDir::toNativeSeparators(target), out.errorString());
        out.cancelWriting();
        return false;
    }
    return true;
}

void SaveUserSettings(Dialogs& dialogs, const QString& programDirectory) {
    const std::optional<QString> chosen = dialogs.saveFileName(kSettingsFilter, QString());
    if (!chosen) return;
    const QString target = *chosen + kSettingsSuffix;
    QString failure;
    if (!CopyFileReplacing(WorkingDatabase(programDirectory), target, &failure)) {
        dialogs.message(
            ApplicationTitle(),
            SettingsText::tr("用户设置未能保存到“%1”：%2。").arg(QDir::toNativeSeparators(target), failure));
    }
}

bool RestoreDefaultSettings(Dialogs& dialogs, const QString& programDirectory, char decimalSeparator) {
    return ReplaceWorkingDatabase(dialogs, ProgramFile(programDirectory, kDefaultSettingsName), programDirectory,
                                  decimalSeparator,
                                  SettingsText::tr("默认设置文件“%1”不可用（%2），计算法则参数未还原。"));
}

bool LoadUserSettings(Dialogs& dialogs, const QString& programDirectory, char decimalSeparator) {
    const std::optional<QString> chosen = dialogs.openFileName(kSettingsFilter);
    if (!chosen) return false;
    return ReplaceWorkingDatabase(dialogs, *chosen, programDirectory, decimalSeparator,
                                  SettingsText::tr("“%1”不是可用的计算法则参数文件（%2），未加载。"));
}

}  // namespace wormgear
