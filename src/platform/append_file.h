#pragma once
// A file that lines are added to and that stays open between them: a log.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace pagelark {

class AppendFile {
  public:
    virtual ~AppendFile() = default;
    virtual std::uint64_t Size() const = 0;
    // Up to bytes from the file's end.
    virtual std::string Tail(std::size_t bytes) const = 0;
    // Whether path still names this file: one removed or moved aside does not.
    virtual bool IsAt(const std::string& path) const = 0;
    // Adds data at the end; the bytes written, and the system's reason in why when that is not
    // all of them.
    virtual std::size_t Append(std::string_view data, std::string& why) = 0;
    // What was written reaches the disk.
    virtual void Sync() = 0;
};

// Opens path to add to it, made private to the user when it is new; a link there is refused.
Result<std::unique_ptr<AppendFile>> OpenForAppend(const std::string& path);

}  // namespace pagelark
