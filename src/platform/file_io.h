#pragma once
// Whole-file reads and crash-safe whole-file replacement.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/result.h"

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
// the system's reason comes back. A symbolic link is followed and its target replaced; a
// folder, device or pipe is refused. A new file gets newFileMode (less the umask); an
// existing one keeps its permissions.
Result<> ReplaceFileAtomically(const std::string& path, std::string_view data,
                               unsigned newFileMode = 0666);
// Where a guarded write puts its file, as seen from the folder it holds open.
struct WritePlace {
    std::vector<FileId> folders;  // the folder written into, then each one above it to the root
    std::string name;             // the file's name in it
    EntryKind kind = EntryKind::Missing;  // what the name holds now, a link not followed
    FileId id;                            // of what it holds, when it holds anything
};
// Fails, saying why, when nothing may be written at place.
using PlaceCheck = std::function<Result<>(const WritePlace& place)>;

// The place a write to path would use as things stand; the system's reason when its folder
// cannot be opened.
Result<WritePlace> PlaceOf(const std::string& path);
// Writes data as a new file at path, or over what stands there, as ReplaceFileAtomically does,
// but within the folder it opens once (its last part never a link): a link or folder swapped
// in on the way cannot send the data elsewhere, and a link at path is replaced, never
// followed. check judges the place once the folder is open and again just before the rename;
// a refusal stops the write, leaves nothing behind and comes back as check's own failure,
// word for word; any other failure as "cannot write <path>: <the system's reason>".
Result<> WriteGuarded(const std::string& path, std::string_view data, const PlaceCheck& check);
// Removes the temporary files that replacements of path left when their process died.
void RemoveLeftoverReplacements(const std::string& path);

}  // namespace pagelark
