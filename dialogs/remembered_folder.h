// Where the file dialogs start: in the folder of the last file the user chose
// in any open or save dialog, remembered between runs, else in the user's
// documents folder (the home folder when there is none). The working
// directory plays no part.
//
//   DialogStartPath("rudar.xlsx", "/home/li/图纸", "/home/li/Documents")
//       -> "/home/li/图纸/rudar.xlsx"
//   DialogStartPath("", "/gone", "/home/li/Documents")  -> "/home/li/Documents"
//   DialogStartPath("/srv/a/gear.cqb", "/home/li/图纸", ...)  -> "/srv/a/gear.cqb"
#pragma once

#include <QString>
#include <string_view>

namespace wormgear {

// The documents folder when it exists, else the home folder.
QString DefaultDialogFolder();

// The path a file dialog opens with. A proposal that names a folder keeps it
// (a relative one made absolute against the working directory, where the file
// it came from was found); a bare name, or no name, goes into the remembered
// folder while that still is a folder, else into `defaultFolder`. Without a
// proposed name the result is the folder alone.
QString DialogStartPath(const QString& proposed, const QString& rememberedFolder, const QString& defaultFolder);

// The folder of the last file chosen, kept in a small file of the program's
// own (one line: the folder's path) so that the next run starts there too.
// Remembering is a convenience: a memory file that cannot be read or written
// leaves the dialogs working as without it, and a command never fails
// because of it.
class RememberedFolder {
 public:
    // Remembers for this run only.
    RememberedFolder() = default;
    // Reads the folder kept in `file` and keeps each new one there.
    explicit RememberedFolder(QString file);

    // The folder remembered, empty when none.
    const QString& folder() const { return folder_; }
    // The user chose `path` in a dialog: its folder is the one to start in.
    void remember(const QString& path);

 private:
    QString file_;
    QString folder_;
};

// The file that keeps the window program's folder, one of the files the
// program writes itself (DataFile: beside a writable program, else in the
// user's data folder).
inline constexpr std::string_view kDialogFolderFileName = "last-folder.txt";

// The window program's memory: kDialogFolderFileName by the data-folder rule;
// for this run only when the data folder cannot be used.
RememberedFolder ProgramDialogFolder(const QString& programDirectory);

}  // namespace wormgear
