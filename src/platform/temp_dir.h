#pragma once
// The user's private folder for temporary files, and a reserved file in it.

#include <string>

namespace pagelark {

// $TMPDIR when set, else $XDG_RUNTIME_DIR when set, else /tmp/pagelark-<uid> created private
// to the user; always with a trailing separator. "" when the last one exists but is not ours
// or cannot be made.
std::string TempDir();

// Creates an empty file named "TMP" and a unique suffix in tempDir; returns its path or "".
std::string ReserveTempFile(const std::string& tempDir);

}  // namespace pagelark
