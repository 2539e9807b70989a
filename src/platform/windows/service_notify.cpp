#include "platform/service_notify.h"

namespace pagelark {
namespace {

// A Windows program started at logon has no service manager watching it.
class NoServiceNotifier final : public ServiceNotifier {
  public:
    void Ready() override {}
    void Alive(TimePoint) override {}
    void Stopping() override {}
};

}  // namespace

std::unique_ptr<ServiceNotifier> CreateServiceNotifier() {
    return std::make_unique<NoServiceNotifier>();
}

}  // namespace pagelark
