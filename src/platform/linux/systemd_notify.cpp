#include <systemd/sd-daemon.h>

#include <cstdint>

#include "platform/service_notify.h"

namespace pagelark {
namespace {

class SystemdNotifier final : public ServiceNotifier {
  public:
    SystemdNotifier() {
        std::uint64_t usec = 0;
        if (sd_watchdog_enabled(0, &usec) > 0)
            // A ping every quarter of the time-out leaves room for a slow tick or two.
            interval_ = std::chrono::microseconds(usec / 4);
    }

    void Ready() override {
        if (ready_) return;
        ready_ = true;
        sd_notify(0, "READY=1");
    }

    void Alive(TimePoint now) override {
        if (interval_.count() == 0 || (pinged_ && now - lastPing_ < interval_)) return;
        pinged_ = true;
        lastPing_ = now;
        sd_notify(0, "WATCHDOG=1");
    }

    void Stopping() override { sd_notify(0, "STOPPING=1"); }

  private:
    std::chrono::microseconds interval_{0};
    bool ready_ = false;
    bool pinged_ = false;
    TimePoint lastPing_;
};

}  // namespace

std::unique_ptr<ServiceNotifier> CreateServiceNotifier() {
    return std::make_unique<SystemdNotifier>();
}

}  // namespace pagelark
