// The settings-file commands of the main menu: save the working coefficients
// under a ".ccq" name, restore the shipped db1.ccq, load a chosen ".ccq". A
// settings file is a byte copy of db1.mdb. Every copy writes a temporary file
// beside the target and renames it, so the target is either the old file or
// the whole new one; a file that is not a usable coefficient database never
// replaces db1.mdb.
#pragma once

#include <QString>

#include "dialogs/dialogs.h"

namespace wormgear {

// Texts stored in N are read with `decimalSeparator`, the user's.
//
// N17Click: asks for a name (filter "*.ccq"), appends ".ccq" always ("set1" ->
// "set1.ccq", "set1.ccq" -> "set1.ccq.ccq") and copies db1.mdb there, replacing
// a file of that name without a question. Cancelling does nothing; a failed
// copy is reported in a box captioned ApplicationTitle(). Nothing is reloaded.
void SaveUserSettings(Dialogs& dialogs, const QString& programDirectory);

// N15Click without the reload: copies db1.ccq over db1.mdb after checking that
// db1.ccq is usable. Returns true when the caller must reload: the copy was
// made, or was attempted and failed (db1.mdb is then the old file, and reading
// it again is what the user sees either way). A missing or unusable db1.ccq is
// reported and leaves db1.mdb untouched: false.
bool RestoreDefaultSettings(Dialogs& dialogs, const QString& programDirectory, char decimalSeparator);

// N16Click without the reload: asks for a file (filter "*.ccq"); cancelled ->
// false. The file must be a usable coefficient database before it replaces
// db1.mdb; an unusable one is refused with a message, db1.mdb untouched,
// false. Otherwise as RestoreDefaultSettings.
bool LoadUserSettings(Dialogs& dialogs, const QString& programDirectory, char decimalSeparator);

// Byte copy through a temporary file in the target's directory and a rename.
// Returns false and sets *failure to a reason when any step fails; the target
// is then unchanged.
bool CopyFileReplacing(const QString& source, const QString& target, QString* failure);

}  // namespace wormgear
