#pragma once
// Whole-file reads and crash-safe whole-file replacement.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// Files above this size are refused by the readers: no presentation or settings file is
// anywhere near it, and a stray huge file must not exhaust memory.
inline constexpr std::size_t kMaxTextFileBytes = 64u * 1024u * 1024u;

enum class ReadStatus { Ok, Missing, NotAFile, TooLarge, Unreadable };

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    std::string data;
    std::string error;  // the system's reason when status is not Ok
};

// Reads a regular file (symbolic links followed) of at most maxBytes. Folders, devices and
// pipes are refused without being read, so a read never blocks.
ReadResult ReadWholeFile(const std::string& path, std::size_t maxBytes = kMaxTextFileBytes);
// The same for a file of secrets: refused (Unreadable) unless only its owner has permissions.
ReadResult ReadSecretFile(const std::string& path, std::size_t maxBytes);
// Whether a regular file, of any size, names word (NamesWord), read a piece at a time; none
// when it cannot be read.
std::optional<bool> FileNamesWord(const std::string& path, std::string_view word);

// Replaces path with data: written to a temporary file beside the target, flushed to disk,
// then renamed over it. On failure the old file is untouched, no temporary file is left and
// error receives the reason. A symbolic link is followed and its target replaced. A new file
// gets newFileMode (less the umask); an existing one keeps its permissions.
bool ReplaceFileAtomically(const std::string& path, std::string_view data, std::string& error,
                           unsigned newFileMode = 0666);
// Removes the temporary files that replacements of path left when their process died.
void RemoveLeftoverReplacements(const std::string& path);

}  // namespace pagelark
