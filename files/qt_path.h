// The one rule for handing a QString path to the Qt-free libraries: the bytes
// the file system uses for it (QFile::encodeName, UTF-8 on every system the
// program supports), and back; and the program-directory rules for QString
// callers. Include only from code that links Qt Core.
#pragma once

#include <QFile>
#include <QString>
#include <string>

#include "files/file_names.h"
#include "files/program_files.h"

namespace wormgear {

inline std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
inline QString FromLocalPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// WithExtension for the names file dialogs return: ("set1", ".ccq") -> "set1.ccq".
inline QString WithExtension(const QString& path, std::string_view extension) {
    return FromLocalPath(WithExtension(LocalPath(path), extension));
}

// ProgramFilePath for QString callers: ProgramFile(dir, "db1.mdb").
inline QString ProgramFile(const QString& programDirectory, std::string_view fileName) {
    return FromLocalPath(ProgramFilePath(LocalPath(programDirectory), fileName));
}

// DataFilePath for QString callers, for the files the program writes itself:
// DataFile(dir, "db1.mdb"). Throws DataFolderError or FileError.
inline QString DataFile(const QString& programDirectory, std::string_view fileName) {
    return FromLocalPath(DataFilePath(LocalPath(programDirectory), fileName));
}

}  // namespace wormgear
