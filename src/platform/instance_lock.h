#pragma once
// One running kiosk a user: a lock that one process holds at a time, for the taker's life.
// On Linux an flock on <folder>/pagelark.lock; on Windows a mutex in the session's local
// namespace, named after the user and the folder. Either is let go by the system when its
// holder dies, so a killed kiosk never blocks the next start.

#include <cstdint>
#include <string>

#include "platform/result.h"

namespace pagelark {

class InstanceLock {
  public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    enum class Taken { Yes, HeldByAnother };
    // folder: the user's private folder the lock belongs to; a second start of the same user
    // must name the same one. HeldByAnother when another process (or another InstanceLock)
    // holds it; fails, saying why, when it cannot be taken at all. On Windows the taking thread
    // owns it: take and drop it on a thread that lives as long as it is held.
    Result<Taken> Take(const std::string& folder);
    bool Held() const { return held_ != kNone; }

  private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t held_ = kNone;  // the file's descriptor, or the mutex's handle
    std::string path_;            // the lock file, removed when let go (Linux)
};

}  // namespace pagelark
