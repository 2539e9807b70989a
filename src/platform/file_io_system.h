#pragma once
// The system's part of the whole-file reads and writes (linux/ or windows/file_io.cpp); the
// rest, the same on every system, is file_io.cpp. For src/platform only.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/file_io.h"
#include "platform/result.h"

namespace pagelark::file_io_system {

// The system's handle or descriptor; -1 for none on either system.
using NativeHandle = std::intptr_t;
inline constexpr NativeHandle kNoHandle = -1;

// A file opened for reading, closed when it goes.
class ReadableFile {
  public:
    // Opens path (links followed) without blocking: status is NotAFile for a folder, device or
    // pipe, and Unreadable with secret for a file others than its owner may use.
    ReadableFile(const std::string& path, bool secret);
    ~ReadableFile();
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    ReadStatus status() const { return status_; }
    const std::string& error() const { return error_; }  // the system's reason
    std::uint64_t size() const { return size_; }         // when it opened
    // Reads up to size bytes: how many, 0 at the end, none on a failure (error() says why).
    std::optional<std::size_t> Read(char* buffer, std::size_t size);

  private:
    NativeHandle handle_ = kNoHandle;
    ReadStatus status_ = ReadStatus::Ok;
    std::string error_;
    std::uint64_t size_ = 0;
};

// The system's words for a file larger than a reader takes.
std::string TooLargeReason();

// Asked just before the rename: a failure stops it and comes back as it is.
using LastCheck = std::function<Result<>()>;

// The folder of a path's last part, held open so that a write goes into it whatever becomes of
// its name meanwhile, with that part's name.
class HeldFolder {
  public:
    static Result<HeldFolder> Open(const std::string& path);
    HeldFolder(HeldFolder&& other) noexcept
        : handle_(std::exchange(other.handle_, kNoHandle)),
          folder_(std::move(other.folder_)),
          name_(std::move(other.name_)) {}
    HeldFolder& operator=(HeldFolder&&) = delete;
    ~HeldFolder();

    // The place of the name in the folder as things stand.
    Result<WritePlace> Describe() const;
    // Writes data to a new file in the folder, flushed to disk, and puts it in the name's place
    // once lastCheck (when given) allows it. On failure nothing is left behind.
    Result<> Replace(std::string_view data, unsigned newFileMode, const LastCheck& lastCheck) const;

  private:
    HeldFolder(NativeHandle handle, std::string folder, std::string name)
        : handle_(handle), folder_(std::move(folder)), name_(std::move(name)) {}
    NativeHandle handle_;
    std::string folder_;  // as named, with its trailing separator
    std::string name_;
};

// What a link at path stands for; path itself when it is none or dangles.
std::string ResolveLink(const std::string& path);
// Where path's last separator stands; npos when it has none.
std::size_t LastSeparator(std::string_view path);
// How the names of the temporary files that replace name begin (file_io.cpp).
std::string ReplacementPrefix(std::string_view name);

}  // namespace pagelark::file_io_system
