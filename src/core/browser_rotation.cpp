#include "core/browser_rotation.h"

namespace pagelark {

void BrowserRotation::Rotate() {
    const int oldCurrent = current_;
    current_ = next_;
    next_ = spare_;
    spare_ = oldCurrent;
}

bool BrowserRotation::Holds(int browser, const std::string& address, std::int32_t zoom) const {
    const Record& r = records_[browser];
    return address == r.address && zoom == r.zoom && !r.failed && !r.left;
}

void BrowserRotation::Sent(int browser, const std::string& address, std::int32_t zoom) {
    Record& r = records_[browser];
    r.address = address;
    r.zoom = zoom;
    r.failed = false;
    r.landed.reset();
    r.left = false;
    r.bounced = false;
}

bool BrowserRotation::Assign(int browser, const std::string& address, std::chrono::seconds time,
                             std::int32_t zoom) {
    records_[browser].time = time;
    if (!Holds(browser, address, zoom)) return true;
    records_[browser].loaded = true;
    return false;
}

void BrowserRotation::Completed(int browser) {
    Record& r = records_[browser];
    r.failed = false;
    if (!r.landed) r.landed = r.location;
    if (browser == next_) r.loaded = true;
}

void BrowserRotation::Located(int browser, const std::string& location) {
    Record& r = records_[browser];
    r.location = location;
    if (r.landed && *r.landed != location) r.left = true;
}

void BrowserRotation::Failed(int browser) {
    records_[browser].failed = true;
    records_[browser].loaded = false;
}

}  // namespace pagelark
