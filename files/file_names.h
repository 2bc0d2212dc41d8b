// File names as a user types them into a save dialog: the extension a kind of
// file needs is added unless the name already ends with it.
//
//   WithExtension("/home/li/set1", ".ccq")          -> "/home/li/set1.ccq"
//   WithExtension("/home/li/set1.ccq", ".ccq")      -> "/home/li/set1.ccq"   (a chosen file kept)
//   WithExtension("/home/li/SET1.CCQ", ".ccq")      -> "/home/li/SET1.CCQ"
//   WithExtension("/home/li/wheel A=200.5", ".cqb") -> "/home/li/wheel A=200.5.cqb"
#pragma once

#include <string>
#include <string_view>

namespace wormgear {

// Whether `path` ends with `extension` (".cqb"), ASCII letters compared
// without regard to case.
bool HasExtension(std::string_view path, std::string_view extension);

// `path` with `extension` appended unless it already ends with it (any case):
// a dot elsewhere in the name is part of the name.
std::string WithExtension(std::string_view path, std::string_view extension);

}  // namespace wormgear
