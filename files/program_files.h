// The program directory, the files that lie in it, and where the program
// keeps the files it writes itself.
//
// Every file the program reads without asking the user is the directory of
// the running executable followed by a bare file name:
//
//   ProgramFilePath("/opt/wormgear/", "db1.mdb")  -> "/opt/wormgear/db1.mdb"
//   ProgramFilePath("/opt/wormgear", "db1.mdb")   -> "/opt/wormgear/db1.mdb"
//
// The files it writes itself (the working coefficient database "db1.mdb", the
// downloaded "v-up.txt" and "gg") lie there too while the user may write the
// program directory: the build tree, a portable copy unpacked anywhere. An
// installed program directory (/usr/lib/wormgear, owned by root) is not
// writable; those files then lie in the user's data folder, which is made on
// first use and given a copy of each of them the program directory ships, so
// every user starts from the shipped coefficients and changes only their own:
//
//   DataFilePath("/home/li/wormgear/", "db1.mdb") -> "/home/li/wormgear/db1.mdb"
//   DataFilePath("/usr/lib/wormgear/", "db1.mdb") -> "/home/li/.local/share/wormgear/db1.mdb"
//       (a copy of /usr/lib/wormgear/db1.mdb, made the first time)
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace wormgear {

// The directory of the running executable, with its trailing '/'; "./" when
// the system cannot tell it.
std::string ProgramDirectory();

// A file beside the program: the directory, a '/' when it lacks one, the name.
std::string ProgramFilePath(std::string_view programDirectory, std::string_view fileName);

// The user's data folder cannot be named, made or written. what() is a
// sentence in the interface's language naming the folder and the reason:
// "无法使用数据文件夹“/home/li/.local/share/wormgear/”：Not a directory".
class DataFolderError : public std::runtime_error {
 public:
    using std::runtime_error::runtime_error;
};

// Whether the program may create and replace files in `directory`.
bool IsWritableDirectory(std::string_view directory);

// The user's data folder of the program, with its trailing '/':
// $XDG_DATA_HOME/wormgear/ when XDG_DATA_HOME is an absolute path, else
// $HOME/.local/share/wormgear/ (the home folder from the user database when
// HOME is unset or empty). Touches nothing; throws DataFolderError when no
// home folder is known.
std::string UserDataDirectory();

// The path of a file the program writes itself, by the rule above. In the
// user's data folder, the folder is made (mode 0700) when missing and the file
// is copied from the program directory when the folder lacks it and the
// program directory has it; an existing copy is never replaced. Throws
// DataFolderError when the folder cannot be made or written, FileError when
// the copy fails (nothing is left half-written).
std::string DataFilePath(std::string_view programDirectory, std::string_view fileName);

// The same rule with its inputs given: whether the program directory is
// writable, and the user's data folder (used only when it is not).
std::string DataFilePath(std::string_view programDirectory, bool programDirectoryWritable,
                         std::string_view userDataDirectory, std::string_view fileName);

// Where the session names no runtime folder (XDG_RUNTIME_DIR unset or empty,
// as under su, sudo, cron or in a container), names the one Qt falls back
// to: "runtime-" and the user's name in $TMPDIR, else /tmp
// ("/tmp/runtime-li"), made private (mode 0700) when missing, provided it is
// then a folder of this user's that no one else may enter. Qt takes it then
// without the warning it writes on the error stream about the variable; a
// folder that is not fit is left for Qt to judge and warn about. Called
// before the Qt application object is made; returns the folder named, ""
// when none was.
std::string NameRuntimeFolderWhereUnset();

}  // namespace wormgear
