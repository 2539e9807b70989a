#include "platform/file_io.h"

#include "platform/file_io_system.h"
#include "platform/leftovers.h"
#include "platform/text.h"

namespace pagelark {

namespace file_io_system {

std::string ReplacementPrefix(std::string_view name) {
    return "." + std::string(name) + ".";
}

}  // namespace file_io_system

namespace {

using file_io_system::HeldFolder;
using file_io_system::ReadableFile;

ReadResult ReadFile(const std::string& path, std::size_t maxBytes, bool secret) {
    ReadResult result;
    ReadableFile file(path, secret);
    const auto failed = [&](ReadStatus status, std::string error) {
        result.status = status;
        result.error = std::move(error);
        return result;
    };
    if (file.status() != ReadStatus::Ok) return failed(file.status(), file.error());
    if (file.size() > maxBytes)
        return failed(ReadStatus::TooLarge, file_io_system::TooLargeReason());
    std::string data;
    data.reserve(static_cast<std::size_t>(file.size()));
    char buffer[65536];
    for (;;) {
        const std::optional<std::size_t> n = file.Read(buffer, sizeof buffer);
        if (!n) return failed(ReadStatus::Unreadable, file.error());
        if (*n == 0) break;
        if (data.size() + *n > maxBytes)  // grew while we read
            return failed(ReadStatus::TooLarge, file_io_system::TooLargeReason());
        data.append(buffer, *n);
    }
    result.status = ReadStatus::Ok;
    result.data = std::move(data);
    return result;
}

}  // namespace

ReadResult ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    return ReadFile(path, maxBytes, false);
}

ReadResult ReadSecretFile(const std::string& path, std::size_t maxBytes) {
    return ReadFile(path, maxBytes, true);
}

std::optional<bool> FileNamesWord(const std::string& path, std::string_view word) {
    ReadableFile file(path, false);
    if (file.status() == ReadStatus::NotAFile) return false;
    if (file.status() != ReadStatus::Ok) return std::nullopt;
    // What stays of one piece for the next: enough for the word in UTF-16 with the character
    // before it, which only gives that context, a word there having been seen whole already.
    const std::size_t kept = 2 * word.size() + 2;
    std::string text;
    std::size_t from = 0;
    char buffer[65536];
    for (;;) {
        const std::optional<std::size_t> n = file.Read(buffer, sizeof buffer);
        if (!n) return std::nullopt;
        text.append(buffer, *n);
        if (NamesWord(text, word, from, *n > 0)) return true;
        if (*n == 0) return false;
        if (text.size() > kept) {
            text.erase(0, text.size() - kept);
            from = 2;
        }
    }
}

Result<> ReplaceFileAtomically(const std::string& path, std::string_view data,
                               unsigned newFileMode) {
    const Result<HeldFolder> folder = HeldFolder::Open(file_io_system::ResolveLink(path));
    if (!folder) return Fail(folder.Error());
    return folder->Replace(data, newFileMode, {});
}

Result<WritePlace> PlaceOf(const std::string& path) {
    const Result<HeldFolder> folder = HeldFolder::Open(path);
    if (!folder) return Fail(folder.Error());
    return folder->Describe();
}

Result<> WriteGuarded(const std::string& path, std::string_view data, const PlaceCheck& check) {
    const auto cannot = [&](const std::string& why) {
        return Fail("cannot write " + path + ": " + why);
    };
    const Result<HeldFolder> folder = HeldFolder::Open(path);
    if (!folder) return cannot(folder.Error());
    // A refusal comes back as check said it; only the system's failures are worded here.
    bool refused = false;
    const file_io_system::LastCheck allowed = [&]() -> Result<> {
        const Result<WritePlace> place = folder->Describe();
        if (!place) return Fail(place.Error());
        Result<> judged = check(place.Value());
        refused = !judged;
        return judged;
    };
    Result<> written = allowed();
    if (written) written = folder->Replace(data, 0666, allowed);
    if (written || refused) return written;
    return cannot(written.Error());
}

void RemoveLeftoverReplacements(const std::string& path) {
    const std::string target = file_io_system::ResolveLink(path);
    const auto slash = file_io_system::LastSeparator(target);
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (!name.empty()) RemoveLeftovers(folder, file_io_system::ReplacementPrefix(name));
}

}  // namespace pagelark
