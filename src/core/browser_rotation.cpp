#include "core/browser_rotation.h"

namespace pagelark {

void BrowserRotation::Rotate() {
    const int oldCurrent = current_;
    current_ = next_;
    next_ = spare_;
    spare_ = oldCurrent;
}

bool BrowserRotation::Holds(int browser, const std::string& address) const {
    return address == records_[browser].address && !records_[browser].failed;
}

void BrowserRotation::Sent(int browser, const std::string& address) {
    records_[browser].address = address;
    records_[browser].failed = false;
}

bool BrowserRotation::Assign(int browser, const std::string& address, std::chrono::seconds time) {
    records_[browser].time = time;
    if (!Holds(browser, address)) return true;
    records_[browser].loaded = true;
    return false;
}

void BrowserRotation::Completed(int browser) {
    records_[browser].failed = false;
    if (browser == next_) records_[browser].loaded = true;
}

void BrowserRotation::Failed(int browser) {
    records_[browser].failed = true;
    records_[browser].loaded = false;
}

}  // namespace pagelark
