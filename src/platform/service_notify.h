#pragma once
// Reports to the service manager that started the program (a systemd service of
// Type=notify): ready once, then alive on every timer tick, so a hung user-interface thread
// gets the program restarted. Started any other way, every call does nothing.

#include <chrono>
#include <memory>

namespace pagelark {

class ServiceNotifier {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~ServiceNotifier() = default;
    // The first page is on show.
    virtual void Ready() = 0;
    // The program still runs its steps; pings the watchdog often enough, not on every call.
    virtual void Alive(TimePoint now) = 0;
    virtual void Stopping() = 0;
};

std::unique_ptr<ServiceNotifier> CreateServiceNotifier();

}  // namespace pagelark
