// The settings-file commands of the main menu: save the working coefficients
// under a ".ccq" name, restore the shipped db1.ccq, load a chosen ".ccq". A
// settings file is a copy of db1.mdb. Each command takes one consistent copy
// of its source (SQLite's own reading of the database, so a file being
// written or in write-ahead-log mode comes whole), checks that very copy where
// it will replace db1.mdb, and writes exactly it: through an unnamed file in
// the target's folder that takes the target's name only once complete, so the
// target is either the old file, byte for byte, or the whole new one.
#pragma once

#include <QString>

#include "dialogs/dialogs.h"

namespace wormgear {

// Texts stored in N are read with `decimalSeparator`, the user's.
//
// N17Click: asks for a name (filter "*.ccq"), appends ".ccq" unless the name
// ends so already, in any case ("set1" -> "set1.ccq", "set1.ccq" and
// "SET1.CCQ" stay), and copies db1.mdb there, replacing
// a file of that name without a question (a link there keeps leading to the
// file it names, which takes the copy, and a replaced file keeps its
// permissions). Cancelling does nothing; a failed copy is reported in a box
// captioned ApplicationTitle(), with the file and the reason. Nothing is
// reloaded.
void SaveUserSettings(Dialogs& dialogs, const QString& programDirectory);

// N15Click without the reload: copies db1.ccq over db1.mdb after checking that
// the copy is usable. Returns true when the caller must reload: the copy was
// made, or was attempted and failed (db1.mdb is then the old file, and reading
// it again is what the user sees either way). A missing or unusable db1.ccq is
// reported and leaves db1.mdb untouched: false. A link standing at db1.mdb is
// replaced, never written through.
bool RestoreDefaultSettings(Dialogs& dialogs, const QString& programDirectory, char decimalSeparator);

// N16Click without the reload: asks for a file (filter "*.ccq"); cancelled ->
// false. The copy taken of it must be a usable coefficient database before it
// replaces db1.mdb; an unusable one is refused with a message, db1.mdb
// untouched, false. Otherwise as RestoreDefaultSettings. The chosen file is
// only read.
bool LoadUserSettings(Dialogs& dialogs, const QString& programDirectory, char decimalSeparator);

}  // namespace wormgear
