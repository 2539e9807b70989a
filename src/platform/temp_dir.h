#pragma once
// The user's private folder for temporary files, and a reserved file in it.

#include <string>

namespace pagelark {

// $TMPDIR, else $XDG_RUNTIME_DIR, each only when it names a folder of the user's that nobody
// else may write to; else /tmp/pagelark-<uid> created private to the user. Always with a
// trailing separator; "" when the last one exists but is not ours or cannot be made.
std::string TempDir();

// Creates an empty file named "TMP", this process's id and a unique suffix in tempDir;
// returns its path or "".
std::string ReserveTempFile(const std::string& tempDir);
// Removes the files ReserveTempFile made for runs that ended without removing them.
void RemoveLeftoverTempFiles(const std::string& tempDir);

}  // namespace pagelark
