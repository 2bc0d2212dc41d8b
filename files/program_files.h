// The program directory and the files that lie in it: every file the program
// reads or writes without asking the user is the directory of the running
// executable followed by a bare file name.
//
//   ProgramFilePath("/opt/wormgear/", "db1.mdb")  -> "/opt/wormgear/db1.mdb"
//   ProgramFilePath("/opt/wormgear", "db1.mdb")   -> "/opt/wormgear/db1.mdb"
#pragma once

#include <string>
#include <string_view>

namespace wormgear {

// The directory of the running executable, with its trailing '/'; "./" when
// the system cannot tell it.
std::string ProgramDirectory();

// A file beside the program: the directory, a '/' when it lacks one, the name.
std::string ProgramFilePath(std::string_view programDirectory, std::string_view fileName);

}  // namespace wormgear
